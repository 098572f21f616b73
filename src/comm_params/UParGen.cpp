#include "comm_params/UParGen.h"

#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "platform/Guard.h"
#include "platform/PlainText.h"
#include "controls/buttons_pages/PicButton.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UParGenFile.h"
#include "comm_params/UParGenCheck.h"
#include "shell/UWindowLook.h"
#include "shell/UWindowList.h"

#include <QApplication>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QScopeGuard>
#include <QWheelEvent>
#include <algorithm>
#include <limits>
#include <optional>
#include <stdexcept>

TFParGen* FParGen() { return shell::Window<TFParGen>(); }

using namespace comm_params;
using shell::Decode_Check;
using shell::Decode_Check_Number;
using shell::Decode_Index;
using shell::Decode_Item_Text;
using shell::ParGen_Default;
using shell::ParGen_Element_Count;
using shell::ParGen_Elements;
using shell::ParGen_Read_File;
using shell::ParGen_Write_File;
using shell::TParGenElement;
using shell::TParGenEncoding;
using shell::TParGenTexts;
using shell::Lang;

namespace {

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 700;
constexpr int kTitleHeight = 69;
constexpr int kButtonStripHeight = 40;

// Field rows inside a panel body.
constexpr int kRowPitch = 28;
constexpr int kFirstRow = 12;
constexpr int kLabelLeft = 14;
constexpr int kLabelWidth = 175;
constexpr int kLabelHeight = 15;
constexpr int kInputLeft = 191;
constexpr int kInputWidth = 238;
constexpr int kInputHeight = 21;
constexpr int kCheckHeight = 17;
constexpr int kWideCheckWidth = 415;
constexpr int kByteWidth = 55;
constexpr std::array<int, 4> kByteLeft = {191, 252, 313, 374};
constexpr int kBoxAboveLabel = 3;
constexpr int kBoxAboveCheck = 2;
constexpr int kPanelBottomMargin = 12;


constexpr int row(int n) { return kFirstRow + n * kRowPitch; }

QLabel* make_label(QWidget* body, const char* name, int top)
{
    auto* l = new QLabel(body);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(kLabelLeft, top, kLabelWidth, kLabelHeight);
    return l;
}

QLineEdit* make_edit(QWidget* body, const char* name, int top)
{
    auto* e = new QLineEdit(body);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(kInputLeft, top - kBoxAboveLabel, kInputWidth, kInputHeight);
    return e;
}

QPlainTextEdit* make_memo(QWidget* body, const char* name, int top)
{
    auto* m = new QPlainTextEdit(body);
    m->setObjectName(QLatin1String(name));
    m->setGeometry(kInputLeft, top - kBoxAboveLabel, kInputWidth, kInputHeight);
    m->setLineWrapMode(QPlainTextEdit::NoWrap);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setTabChangesFocus(true);
    return m;
}

QComboBox* make_list(QWidget* body, const char* name, int top, const QStringList& items = {})
{
    auto* c = new QComboBox(body);
    c->setObjectName(QLatin1String(name));
    c->setGeometry(kInputLeft, top - kBoxAboveLabel, kInputWidth, kInputHeight);
    c->addItems(items);
    return c;
}

QCheckBox* make_check(QWidget* body, const char* name, int top, int width = kWideCheckWidth)
{
    auto* c = new QCheckBox(body);
    c->setObjectName(QLatin1String(name));
    c->setGeometry(kLabelLeft, top, width, kCheckHeight);
    return c;
}

// Limits what the user types without cutting a longer text that a file brings.
void limit_typing(QLineEdit* edit, const QString& pattern)
{
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
}

// headName names the row's label (or its gateway check box); boxPrefix + "1" .. "4" the byte boxes.
TByteRow make_row(QWidget* body, const char* headName, bool gateway, const QString& boxPrefix, int top)
{
    TByteRow r;
    if (gateway)
        r.Check = make_check(body, headName, top, kLabelWidth);
    else
        r.Label = make_label(body, headName, top);
    for (int i = 0; i < 4; ++i) {
        auto* e = new QLineEdit(body);
        e->setObjectName(boxPrefix + QString::number(i + 1));
        e->resize(kByteWidth, kInputHeight);
        r.Boxes[static_cast<size_t>(i)] = e;
    }
    for (int i = 0; i < 3; ++i) {
        auto* d = new QLabel(QStringLiteral("."), body);
        d->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        d->resize(kByteLeft[static_cast<size_t>(i) + 1] - kByteLeft[static_cast<size_t>(i)] - kByteWidth, kLabelHeight);
        r.Dots[static_cast<size_t>(i)] = d;
    }
    r.Place(top);
    return r;
}

// Visible or enabled by the control's own setting, whatever its panel shows.
bool own_visible(const QWidget* w) { return w->isVisibleTo(w->parentWidget()); }
bool own_enabled(const QWidget* w) { return w->isEnabledTo(w->parentWidget()); }

void place(QWidget* head, QWidget* input, int top)
{
    head->move(kLabelLeft, top);
    head->show();
    if (input) {
        input->move(kInputLeft, top - kBoxAboveLabel);
        input->show();
    }
}

void place_check(QCheckBox* check, int top)
{
    check->move(kLabelLeft, top);
    check->show();
}

void caption(QWidget* w, int text)
{
    if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(Lang(text));
    else if (auto* c = qobject_cast<QCheckBox*>(w))
        c->setText(Lang(text));
}

void hint(QWidget* w, int text) { w->setToolTip(platform::PlainHint(Lang(text))); }

QString text_of(const QWidget* w)
{
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return e->text();
    if (auto* m = qobject_cast<const QPlainTextEdit*>(w))
        return m->toPlainText();
    return {};
}


}  // namespace

void TByteRow::Place(int top) const
{
    Head()->move(kLabelLeft, top);
    const int boxTop = top - (Check ? kBoxAboveCheck : kBoxAboveLabel);
    for (size_t i = 0; i < 4; ++i)
        Boxes[i]->move(kByteLeft[i], boxTop);
    for (size_t i = 0; i < 3; ++i)
        Dots[i]->move(kByteLeft[i] + kByteWidth, boxTop + kInputHeight - kLabelHeight - 2);
}

void TByteRow::SetShown(bool shown) const
{
    Head()->setVisible(shown);
    for (QLineEdit* b : Boxes)
        b->setVisible(shown);
    for (QLabel* d : Dots)
        d->setVisible(shown);
}

void TByteRow::SetInputsEnabled(bool enabled) const
{
    if (Check)
        Check->setEnabled(enabled);
    for (QLineEdit* b : Boxes)
        b->setEnabled(enabled);
}

std::array<QString, 4> TByteRow::Texts() const
{
    return {Boxes[0]->text(), Boxes[1]->text(), Boxes[2]->text(), Boxes[3]->text()};
}

QWidget* TByteRow::Head() const { return Check ? static_cast<QWidget*>(Check) : static_cast<QWidget*>(Label); }

// ---------------------------------------------------------------------------------------------
// The field table: each field of the window once, with its panel, row, kind, the element it holds
// and its texts. Creation, binding, texts and placement all come from it, in its order (which is
// also the focus order within a panel).

namespace {

using Id = shell::TParGen_Id;
using P = TParGenPanel;

enum class TFieldKind { Edit, Memo, List, Check, Bytes, Gateway_Bytes, Heading };

struct TParGenField {
    P Panel;
    int Row;
    TFieldKind Kind;
    // The head (label, check box or heading) and the input; a check box is both, a byte row keeps
    // its head and boxes in Bytes.
    QLabel* TFParGen::*Label = nullptr;
    QCheckBox* TFParGen::*Check = nullptr;
    QLineEdit* TFParGen::*Edit = nullptr;
    QPlainTextEdit* TFParGen::*Memo = nullptr;
    QComboBox* TFParGen::*List = nullptr;
    TByteRow TFParGen::*Bytes = nullptr;
    const char* Head_Name = nullptr;
    const char* Input_Name = nullptr;  // a byte row: the prefix of its four boxes
    std::optional<Id> Element;         // a byte row: the element of its first byte
    std::optional<Id> Switch;          // a gateway row: the element of its check box
    int Caption = 0;                   // the head's caption; the input's hint is the next text
    std::array<int, 4> Byte_Hints{};
    int Head_Hint = -1;
    QStringList Items;            // fixed items of a list
    std::vector<int> Item_Texts;  // items of a list that follow the language
    const char* Typing = nullptr;  // what may be typed, as a pattern
    // Where the panel is laid out, shown rows follow one another from its first row on. A row
    // with Shown_With shows only while that check box shows and is ticked; a row of the family's
    // other gateways never shows here.
    QCheckBox* TFParGen::*Shown_With = nullptr;
    bool Other_Gateways = false;
    // A row with Shown_If shows only while that holds, e.g. in one mode of its panel.
    bool (*Shown_If)(const TFParGen&) = nullptr;
    // A byte row whose inputs are locked while this check box is ticked, or while Locked_If holds.
    QCheckBox* TFParGen::*Locked_By = nullptr;
    bool (*Locked_If)(const TFParGen&) = nullptr;
    // Place in the panel's flow when it differs from the row's design place (which also gives
    // the tab order); -1 keeps the design row.
    int Flow_Row = -1;
    // The next row is measured from this row's input box, which stands above its label.
    bool Next_From_Input = false;
};

TParGenField Input_Field(P panel, int row, TFieldKind kind, QLabel* TFParGen::*label, const char* head,
                         const char* inputName, std::optional<Id> element, int caption)
{
    TParGenField f{panel, row, kind};
    f.Label = label;
    f.Head_Name = head;
    f.Input_Name = inputName;
    f.Element = element;
    f.Caption = caption;
    return f;
}

TParGenField Check_Field(P panel, int row, QCheckBox* TFParGen::*check, const char* name, std::optional<Id> element,
                         int caption)
{
    TParGenField f = Input_Field(panel, row, TFieldKind::Check, nullptr, name, nullptr, element, caption);
    f.Check = check;
    return f;
}

TParGenField Bytes_Field(P panel, int row, TByteRow TFParGen::*bytes, const char* head, const char* prefix,
                         std::optional<Id> first, int caption, std::array<int, 4> hints,
                         std::optional<Id> gatewaySwitch = std::nullopt, int headHint = -1)
{
    TParGenField f = Input_Field(panel, row, TFieldKind::Bytes, nullptr, head, prefix, first, caption);
    f.Bytes = bytes;
    f.Switch = gatewaySwitch;
    f.Byte_Hints = hints;
    f.Head_Hint = headHint;
    return f;
}

// A byte row headed by the check box that switches it on.
TParGenField Gateway_Field(P panel, int row, TByteRow TFParGen::*bytes, const char* head, const char* prefix,
                           std::optional<Id> first, int caption, std::array<int, 4> hints,
                           std::optional<Id> gatewaySwitch, int headHint)
{
    TParGenField f = Bytes_Field(panel, row, bytes, head, prefix, first, caption, hints, gatewaySwitch, headHint);
    f.Kind = TFieldKind::Gateway_Bytes;
    return f;
}

std::array<int, 4> run(int first) { return {first, first + 1, first + 2, first + 3}; }

TParGenField Edit_Field(TParGenField f, QLineEdit* TFParGen::*edit)
{
    f.Edit = edit;
    return f;
}
TParGenField Memo_Field(TParGenField f, QPlainTextEdit* TFParGen::*memo)
{
    f.Memo = memo;
    return f;
}
TParGenField List_Field(TParGenField f, QComboBox* TFParGen::*list)
{
    f.List = list;
    return f;
}

// A labelled input: the member names are the controls' names.
#define PARGEN_EDIT(panel, row, label, edit, element, caption)                                                    \
    Edit_Field(Input_Field(P::panel, row, TFieldKind::Edit, &TFParGen::label, #label, #edit, element, caption), \
               &TFParGen::edit)
#define PARGEN_MEMO(panel, row, label, memo, element, caption)                                                    \
    Memo_Field(Input_Field(P::panel, row, TFieldKind::Memo, &TFParGen::label, #label, #memo, element, caption), \
               &TFParGen::memo)
#define PARGEN_LIST(panel, row, label, list, element, caption)                                                    \
    List_Field(Input_Field(P::panel, row, TFieldKind::List, &TFParGen::label, #label, #list, element, caption), \
               &TFParGen::list)
#define PARGEN_CHECKBOX(panel, row, check, element, caption) \
    Check_Field(P::panel, row, &TFParGen::check, #check, element, caption)

TParGenField With_Items(TParGenField f, QStringList items)
{
    f.Items = std::move(items);
    return f;
}

TParGenField With_Item_Texts(TParGenField f, std::vector<int> texts)
{
    f.Item_Texts = std::move(texts);
    return f;
}

TParGenField With_Typing(TParGenField f, const char* pattern)
{
    f.Typing = pattern;
    return f;
}

TParGenField Shown_With(TParGenField f, QCheckBox* TFParGen::*check)
{
    f.Shown_With = check;
    return f;
}

TParGenField Other_Gateways(TParGenField f)
{
    f.Other_Gateways = true;
    return f;
}

TParGenField Next_From_Input(TParGenField f)
{
    f.Next_From_Input = true;
    return f;
}

TParGenField Locked_By(TParGenField f, QCheckBox* TFParGen::*check)
{
    f.Locked_By = check;
    return f;
}

TParGenField Shown_If(TParGenField f, bool (*test)(const TFParGen&))
{
    f.Shown_If = test;
    return f;
}

TParGenField Locked_If(TParGenField f, bool (*test)(const TFParGen&))
{
    f.Locked_If = test;
    return f;
}

TParGenField Flow_Row(TParGenField f, int row)
{
    f.Flow_Row = row;
    return f;
}

// Modes of the Wi-Fi panel: the access point is the type list's first item, any other is a station.
bool wifi_access_point(const TFParGen& f) { return f.CB_WiFi2_Type->currentIndex() == 0; }
bool wifi_station(const TFParGen& f) { return !wifi_access_point(f); }
// A station carries as many addresses as the product gives it, each under its own heading.
bool wifi_station_two_addresses(const TFParGen& f)
{
    QString first, second;
    return wifi_station(f) && f.Check_Device_IP_Address_WiFi(first, second) == 2;
}
// A station's addresses come from DHCP when the connection asks for it; the access point's never do.
bool wifi_station_dhcp(const TFParGen& f) { return wifi_station(f) && f.CB_EthConn_En_DHCP_WiFi->isChecked(); }
// An unsecured access point asks no password; a station always does.
bool wifi_password_asked(const TFParGen& f)
{
    return wifi_station(f) || f.CB_WiFi2_Secure_Type->currentIndex() != 0;
}

TParGenField Heading(P panel, int row, QLabel* TFParGen::*label, const char* name, int caption)
{
    TParGenField f{panel, row, TFieldKind::Heading};
    f.Label = label;
    f.Head_Name = name;
    f.Caption = caption;
    return f;
}

QStringList Numbers(int from, int to)
{
    QStringList items;
    for (int i = from; i <= to; ++i)
        items << QString::number(i);
    return items;
}

const std::vector<TParGenField>& ParGen_Fields()
{
    static const std::vector<TParGenField> fields = {
        // Select Device
        With_Items(PARGEN_LIST(Select_Device, 0, L_Select_Device_Device, CB_Select_Device_Device, Id::Select_Device,
                               4248),
                   {QStringLiteral("Only Ethernet Cable "), QStringLiteral("Ethernet Cable + Wi-Fi"),
                    QStringLiteral("Ethernet Cable + Mobile Connection")}),
        // Ethernet Connection
        With_Typing(PARGEN_EDIT(Ethernet_Connection, 0, L_EthConn_Device_Name, E_EthConn_Device_Name,
                                Id::Eth_Conn_Device_Name, 4251),
                    ".{0,31}"),
        PARGEN_CHECKBOX(Ethernet_Connection, 1, CB_EthConn_En_DHCP_Cable, Id::Eth_Conn_DHCP_Cable, 4253),
        PARGEN_CHECKBOX(Ethernet_Connection, 2, CB_EthConn_En_DHCP_WiFi, Id::Eth_Conn_DHCP_WiFi, 4255),
        PARGEN_CHECKBOX(Ethernet_Connection, 3, CB_EthConn_Enable_DNS, Id::Eth_Conn_Enable_DNS, 4257),
        Bytes_Field(P::Ethernet_Connection, 4, &TFParGen::EthConn_Primary_DNS, "L_EthConn_Primary_DNS",
                    "E_EthConn_Pri_DNS_IP", Id::Eth_Conn_Primary_DNS1, 4263, run(4259)),
        Bytes_Field(P::Ethernet_Connection, 5, &TFParGen::EthConn_Secondary_DNS, "L_EthConn_Secondary_DNS",
                    "E_EthConn_Sec_DNS_IP", Id::Eth_Conn_Secondary_DNS1, 4264, run(4265)),
        // Modbus TCP Slave
        Locked_By(Bytes_Field(P::Modbus_TCP_Slave, 0, &TFParGen::ModbusTCPSlave_IP, "L_ModbusTCPSlave_IP",
                              "E_ModbusTCPSlave_IP", Id::Modbus_TCP_Slave_IP1, 691, run(692)),
                  &TFParGen::CB_EthConn_En_DHCP_Cable),
        Locked_By(Bytes_Field(P::Modbus_TCP_Slave, 1, &TFParGen::ModbusTCPSlave_SM, "L_ModbusTCPSlave_SM",
                              "E_ModbusTCPSlave_SM", Id::Modbus_TCP_Slave_SM1, 696, {697, 698, 699, 1800}),
                  &TFParGen::CB_EthConn_En_DHCP_Cable),
        Locked_By(Gateway_Field(P::Modbus_TCP_Slave, 2, &TFParGen::ModbusTCPSlave_GAT, "CB_ModbusTCPSlave_En_GAT",
                                "E_ModbusTCPSlave_GAT", Id::Modbus_TCP_Slave_GAT1, 1801, run(1803),
                                Id::Modbus_TCP_Slave_EN_GAT, 1802),
                  &TFParGen::CB_EthConn_En_DHCP_Cable),
        PARGEN_EDIT(Modbus_TCP_Slave, 3, L_ModbusTCPSlave_Port, E_ModbusTCPSlave_Port, Id::Modbus_TCP_Slave_Port, 1807),
        // MQTT
        PARGEN_EDIT(MQTT, 0, L_MQTT_Server, E_MQTT_Server, Id::MQTT_Server_URL, 429),
        PARGEN_EDIT(MQTT, 1, L_MQTT_Server_Port, E_MQTT_Server_Port, Id::MQTT_Server_Port, 431),
        PARGEN_EDIT(MQTT, 2, L_MQTT_Client_ID, E_MQTT_Client_ID, Id::MQTT_Client_ID, 433),
        PARGEN_EDIT(MQTT, 3, L_MQTT_Keep_Alive, E_MQTT_Keep_Alive, Id::MQTT_Keep_Alive, 435),
        PARGEN_CHECKBOX(MQTT, 4, CB_MQTT_Clean_Session, Id::MQTT_Clean_Session, 437),
        PARGEN_CHECKBOX(MQTT, 5, CB_MQTT_WillFlag, Id::MQTT_WillFlag, 439),
        Shown_With(PARGEN_EDIT(MQTT, 6, L_MQTT_Will_TopicName, E_MQTT_Will_TopicName, Id::MQTT_Will_Topic_Name, 441),
                   &TFParGen::CB_MQTT_WillFlag),
        Shown_With(PARGEN_EDIT(MQTT, 7, L_MQTT_Will_Message, E_MQTT_Will_Message, Id::MQTT_Will_Message, 443),
                   &TFParGen::CB_MQTT_WillFlag),
        Shown_With(PARGEN_CHECKBOX(MQTT, 8, CB_MQTT_Will_Retained, Id::MQTT_Will_Retained, 445),
                   &TFParGen::CB_MQTT_WillFlag),
        Shown_With(With_Items(PARGEN_LIST(MQTT, 9, L_MQTT_Will_QoS, CB_MQTT_Will_QoS, Id::MQTT_Will_QoS, 447),
                              Numbers(0, 2)),
                   &TFParGen::CB_MQTT_WillFlag),
        PARGEN_CHECKBOX(MQTT, 10, CB_MQTT_PublishTopicConnection, Id::MQTT_PublishTopicConnection, 4226),
        Shown_With(PARGEN_EDIT(MQTT, 11, L_MQTT_Connection_TopicName, E_MQTT_Connection_TopicName,
                               Id::MQTT_Connection_Topic_Name, 4228),
                   &TFParGen::CB_MQTT_PublishTopicConnection),
        Shown_With(PARGEN_EDIT(MQTT, 12, L_MQTT_Connection_Message, E_MQTT_Connection_Message,
                               Id::MQTT_Connection_Message, 4230),
                   &TFParGen::CB_MQTT_PublishTopicConnection),
        Shown_With(PARGEN_CHECKBOX(MQTT, 13, CB_MQTT_Connection_Retained, Id::MQTT_Connection_Retained, 4232),
                   &TFParGen::CB_MQTT_PublishTopicConnection),
        PARGEN_EDIT(MQTT, 14, L_MQTT_Username, E_MQTT_Username, Id::MQTT_Username, 449),
        PARGEN_MEMO(MQTT, 15, L_MQTT_Password, E_MQTT_Password, Id::MQTT_Password, 451),
        PARGEN_EDIT(MQTT, 16, L_MQTT_ASync_Send_Time, E_MQTT_ASync_Send_Time, Id::MQTT_ASync_Send_Time, 453),
        Other_Gateways(
            PARGEN_EDIT(MQTT, 17, L_MQTT_TopicDALIAns, E_MQTT_TopicDALIAns, Id::MQTT_Topic_DALI_Answer, 4234)),
        Other_Gateways(PARGEN_CHECKBOX(MQTT, 18, CB_MQTT_Enable_ReProgram, Id::MQTT_Enable_Reprogram, 4236)),
        Other_Gateways(
            PARGEN_EDIT(MQTT, 19, L_MQTT_Reprogram_Topic, E_MQTT_Reprogram_Topic, Id::MQTT_Reprogram_Topic, 4238)),
        Other_Gateways(
            PARGEN_EDIT(MQTT, 20, L_MQTT_Reproram_Value, E_MQTT_Reproram_Value, Id::MQTT_Reprogram_Value, 4240)),
        // Ethernet; the rows from the ports on belong to the family's other gateways and stay hidden here.
        Locked_By(Bytes_Field(P::Ethernet, 0, &TFParGen::Ethernet_IP, "L_Ethernet_IP", "E_Ethernet_IP",
                              Id::Ethernet_IP1, 456, run(457)),
                  &TFParGen::CB_EthConn_En_DHCP_Cable),
        Locked_By(Bytes_Field(P::Ethernet, 1, &TFParGen::Ethernet_SM, "L_Ethernet_SM", "E_Ethernet_SM",
                              Id::Ethernet_SM1, 461, run(462)),
                  &TFParGen::CB_EthConn_En_DHCP_Cable),
        Locked_By(Gateway_Field(P::Ethernet, 2, &TFParGen::Ethernet_GAT, "CB_Ethernet_En_GAT", "E_Ethernet_GAT",
                                Id::Ethernet_GAT1, 466, run(468), Id::Ethernet_EN_GAT, 467),
                  &TFParGen::CB_EthConn_En_DHCP_Cable),
        Other_Gateways(PARGEN_EDIT(Ethernet, 3, L_Ethernet_TCP_Port, E_Ethernet_TCP_Port, std::nullopt, 0)),
        Other_Gateways(PARGEN_EDIT(Ethernet, 4, L_Ethernet_UDP_Port, E_Ethernet_UDP_Port, std::nullopt, 0)),
        Other_Gateways(PARGEN_CHECKBOX(Ethernet, 5, CB_Ethernet_Reset_24h, std::nullopt, 4243)),
        Other_Gateways(Gateway_Field(P::Ethernet, 6, &TFParGen::Ethernet_DNS, "CB_Ethernet_En_DNS", "E_Ethernet_DNS",
                                     std::nullopt, 0, {}, std::nullopt, -1)),
        // TLS
        PARGEN_CHECKBOX(TLS, 0, CB_TLS_Enable, Id::TLS_Enable, 555),
        Shown_With(PARGEN_CHECKBOX(TLS, 1, CB_TLS_En_Server_Auth, Id::TLS_En_Server_Auth, 557), &TFParGen::CB_TLS_Enable),
        Next_From_Input(Shown_With(
            PARGEN_MEMO(TLS, 2, L_TLS_Server_Cert, E_TLS_Server_Cert, Id::TLS_Server_Auth_Certificate, 559),
            &TFParGen::CB_TLS_En_Server_Auth)),
        Shown_With(PARGEN_CHECKBOX(TLS, 3, CB_TLS_En_Client_Auth, Id::TLS_En_Client_Auth, 561), &TFParGen::CB_TLS_Enable),
        Shown_With(PARGEN_MEMO(TLS, 4, L_TLS_Client_Cert, E_TLS_Client_Cert, Id::TLS_Client_Auth_Certificate, 563),
                   &TFParGen::CB_TLS_En_Client_Auth),
        Shown_With(PARGEN_MEMO(TLS, 5, L_TLS_Client_Cert_Key, E_TLS_Client_Cert_Key, Id::TLS_Client_Auth_Key, 565),
                   &TFParGen::CB_TLS_En_Client_Auth),
        Shown_With(PARGEN_EDIT(TLS, 6, L_TLS_Client_Cert_Key_Pass, E_TLS_Client_Cert_Key_Pass,
                               Id::TLS_Client_Auth_Key_Password, 567),
                   &TFParGen::CB_TLS_En_Client_Auth),
        // NTP
        PARGEN_EDIT(NTP, 0, L_NTP_Server_URL, E_NTP_Server_URL, Id::NTP_Server_URL, 570),
        PARGEN_EDIT(NTP, 1, L_NTP_Poll_Time, E_NTP_Poll_Time, Id::NTP_Poll_Time, 572),
        // Wi-Fi: a station shows its headed addresses, SSID and password; an access point one address,
        // SSID, security, password, its DHCP server, client limit and channel.
        With_Item_Texts(PARGEN_LIST(WiFi2, 0, L_WiFi2_Type, CB_WiFi2_Type, Id::WiFi_Type, 5101), {5103, 5104}),
        Shown_If(Heading(P::WiFi2, 1, &TFParGen::L_WiFi2_IP1, "L_WiFi2_IP1", 5105), wifi_station_two_addresses),
        Locked_If(Bytes_Field(P::WiFi2, 2, &TFParGen::WiFi2_IP1_IP, "L_WiFi2_IP1_IP", "E_WiFi2_IP1_IP", Id::WiFi_IP1,
                              5106, run(5107)),
                  wifi_station_dhcp),
        Locked_If(Bytes_Field(P::WiFi2, 3, &TFParGen::WiFi2_IP1_SM, "L_WiFi2_IP1_SM", "E_WiFi2_IP1_SM", Id::WiFi_SM1,
                              5111, run(5112)),
                  wifi_station_dhcp),
        Locked_If(Gateway_Field(P::WiFi2, 4, &TFParGen::WiFi2_IP1_GAT, "CB_WiFi2_IP1_En_GAT", "E_WiFi2_IP1_GAT",
                                Id::WiFi_GAT1, 5116, run(5118), Id::WiFi_EN_Gateway, 5117),
                  wifi_station_dhcp),
        Shown_If(Heading(P::WiFi2, 5, &TFParGen::L_WiFi2_IP2, "L_WiFi2_IP2", 5122), wifi_station_two_addresses),
        Shown_If(Locked_If(Bytes_Field(P::WiFi2, 6, &TFParGen::WiFi2_IP2_IP, "L_WiFi2_IP2_IP", "E_WiFi2_IP2_IP",
                                       Id::WiFi_IP2_IP1, 5123, run(5124)),
                           wifi_station_dhcp),
                 wifi_station_two_addresses),
        Shown_If(Locked_If(Bytes_Field(P::WiFi2, 7, &TFParGen::WiFi2_IP2_SM, "L_WiFi2_IP2_SM", "E_WiFi2_IP2_SM",
                                       Id::WiFi_IP2_SM1, 5128, run(5129)),
                           wifi_station_dhcp),
                 wifi_station_two_addresses),
        Shown_If(Locked_If(Gateway_Field(P::WiFi2, 8, &TFParGen::WiFi2_IP2_GAT, "CB_WiFi2_IP2_En_GAT",
                                         "E_WiFi2_IP2_GAT", Id::WiFi_IP2_GAT1, 5133, run(5135),
                                         Id::WiFi_IP2_EN_Gateway, 5134),
                           wifi_station_dhcp),
                 wifi_station_two_addresses),
        PARGEN_EDIT(WiFi2, 9, L_WiFi2_SSID, E_WiFi2_SSID, Id::WiFi_SSID, 5139),
        // The password follows the security type in the flow, so that the access point's choice of
        // security decides it; it comes first in the tab order.
        Flow_Row(Shown_If(PARGEN_EDIT(WiFi2, 10, L_WiFi2_Password, E_WiFi2_Password, Id::WiFi_PWD, 5141),
                          wifi_password_asked),
                 11),
        Flow_Row(Shown_If(With_Item_Texts(PARGEN_LIST(WiFi2, 11, L_WiFi2_Secure_Type, CB_WiFi2_Secure_Type,
                                                      Id::WiFi_Secure_Type, 5143),
                                          {5145, 5146, 5147, 5148}),
                          wifi_access_point),
                 10),
        Shown_If(PARGEN_CHECKBOX(WiFi2, 12, CB_WiFi2_En_DHCP, Id::WiFi_EN_DHCP, 5149), wifi_access_point),
        Shown_With(Bytes_Field(P::WiFi2, 13, &TFParGen::WiFi2_DHCP_First, "L_WiFi2_DHCP_First_IP",
                               "E_WiFi2_DHCP_First_IP", Id::WiFi_DHCP_First_IP1, 5151, run(5152)),
                   &TFParGen::CB_WiFi2_En_DHCP),
        Shown_With(Bytes_Field(P::WiFi2, 14, &TFParGen::WiFi2_DHCP_SM, "L_WiFi2_DHCP_SM", "E_WiFi2_DHCP_SM",
                               Id::WiFi_DHCP_SM1, 5156, run(5157)),
                   &TFParGen::CB_WiFi2_En_DHCP),
        Shown_With(PARGEN_EDIT(WiFi2, 15, L_WiFi2_Lease_Time, E_WiFi2_Lease_Time, Id::WiFi_Lease_Time, 5161),
                   &TFParGen::CB_WiFi2_En_DHCP),
        Shown_If(With_Items(PARGEN_LIST(WiFi2, 16, L_WiFi2_Max_Client, CB_WiFi2_Max_Client, Id::WiFi_Max_Client, 5163),
                            Numbers(1, 10)),
                 wifi_access_point),
        Shown_If(With_Item_Texts(PARGEN_LIST(WiFi2, 17, L_WiFi2_Channel, CB_WiFi2_Channel, Id::WiFi_Channel, 5165),
                                 {5167, 5168, 5169, 5170, 5171, 5172, 5173, 5174, 5175, 5176, 5177, 5178}),
                 wifi_access_point),
        // GSM / GPRS / LTE
        With_Typing(PARGEN_EDIT(GSM_GPRS, 0, L_GSM_GPRS_PIN, E_GSM_GPRS_PIN, Id::GSM_GPRS_PIN, 4151), "[0-9]{0,8}"),
        PARGEN_EDIT(GSM_GPRS, 1, L_GSM_GPRS_APN, E_GSM_GPRS_APN, Id::GSM_GPRS_APN, 4153),
        With_Items(PARGEN_LIST(GSM_GPRS, 2, L_GSM_GPRS_AuthType, CB_GSM_GPRS_AuthType, Id::GSM_GPRS_AUTHTYPE, 4220),
                   {QStringLiteral("None"), QStringLiteral("PAP"), QStringLiteral("CHAP"), QStringLiteral("PAP or CHAP")}),
        With_Typing(PARGEN_EDIT(GSM_GPRS, 3, L_GSM_GPRS_UserName, E_GSM_GPRS_UserName, Id::GSM_GPRS_USERNAME, 4222),
                    ".{0,32}"),
        With_Typing(PARGEN_EDIT(GSM_GPRS, 4, L_GSM_GPRS_Password, E_GSM_GPRS_Password, Id::GSM_GPRS_PASSWORD, 4224),
                    ".{0,32}"),
    };
    return fields;
}

#undef PARGEN_EDIT
#undef PARGEN_MEMO
#undef PARGEN_LIST
#undef PARGEN_CHECKBOX

}  // namespace

void TFParGen::Create_Fields()
{
    for (const TParGenField& f : ParGen_Fields()) {
        QWidget* b = Panel(f.Panel)->Body();
        const int top = row(f.Row);
        switch (f.Kind) {
        case TFieldKind::Bytes:
        case TFieldKind::Gateway_Bytes:
            this->*f.Bytes = make_row(b, f.Head_Name, f.Kind == TFieldKind::Gateway_Bytes,
                                      QLatin1String(f.Input_Name), top);
            break;
        case TFieldKind::Check: this->*f.Check = make_check(b, f.Head_Name, top); break;
        case TFieldKind::Heading:
            this->*f.Label = make_label(b, f.Head_Name, top);
            (this->*f.Label)->resize(kInputLeft + kInputWidth - kLabelLeft, kLabelHeight);
            break;
        case TFieldKind::Edit: {
            this->*f.Label = make_label(b, f.Head_Name, top);
            this->*f.Edit = make_edit(b, f.Input_Name, top);
            if (f.Typing)
                limit_typing(this->*f.Edit, QLatin1String(f.Typing));
            break;
        }
        case TFieldKind::Memo:
            this->*f.Label = make_label(b, f.Head_Name, top);
            this->*f.Memo = make_memo(b, f.Input_Name, top);
            break;
        case TFieldKind::List:
            this->*f.Label = make_label(b, f.Head_Name, top);
            this->*f.List = make_list(b, f.Input_Name, top, f.Items);
            break;
        }
    }
}

namespace {

QWidget* Field_Input(const TFParGen& form, const TParGenField& f)
{
    if (f.Edit)
        return form.*f.Edit;
    if (f.Memo)
        return form.*f.Memo;
    if (f.List)
        return form.*f.List;
    return f.Check ? form.*f.Check : nullptr;
}

QWidget* Field_Head(const TFParGen& form, const TParGenField& f)
{
    if (f.Bytes)
        return (form.*f.Bytes).Head();
    return f.Check ? static_cast<QWidget*>(form.*f.Check) : static_cast<QWidget*>(form.*f.Label);
}

}  // namespace

void TFParGen::Bind_Fields()
{
    FBound.assign(ParGen_Element_Count, nullptr);
    for (const TParGenField& f : ParGen_Fields()) {
        if (f.Bytes) {
            const TByteRow& r = this->*f.Bytes;
            if (f.Element)
                for (int i = 0; i < 4; ++i)
                    FBound[shell::Index_Of(*f.Element + i)] = r.Boxes[size_t(i)];
            if (f.Switch)
                FBound[shell::Index_Of(*f.Switch)] = r.Check;
        } else if (f.Element) {
            FBound[shell::Index_Of(*f.Element)] = Field_Input(*this, f);
        }
    }
}

void TFParGen::Field_Texts()
{
    for (const TParGenField& f : ParGen_Fields()) {
        if (f.Caption <= 0)
            continue;
        caption(Field_Head(*this, f), f.Caption);
        if (f.Bytes) {
            if (f.Head_Hint >= 0)
                hint(Field_Head(*this, f), f.Head_Hint);
            for (size_t i = 0; i < 4; ++i)
                hint((this->*f.Bytes).Boxes[i], f.Byte_Hints[i]);
        } else if (QWidget* input = Field_Input(*this, f)) {
            hint(input, f.Caption + 1);
        }
        if (!f.Item_Texts.empty()) {
            QComboBox* list = this->*f.List;
            list->clear();
            for (int t : f.Item_Texts)
                list->addItem(Lang(t));
            list->setCurrentIndex(0);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Creation

TFParGen::TFParGen(QWidget* parent, TParGenVariant variant) : platform::TForm(parent), FVariant(variant)
{
    setObjectName(QStringLiteral("FParGen"));
    FormCreate();
}

void TFParGen::FormCreate()
{
    Create_Frame();
    Create_Panels();
    Bind_Elements();
    Build_Dot_Chains();
    Connect_Triggers();
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);

    L_SW_Code->setText(shell::App_State.SW_Code);
    setFixedWidth(kClientWidth);
    setMinimumHeight(kTitleHeight + kButtonStripHeight + TCategoryPanelGroup::Header_Height);
    setMaximumHeight(QWIDGETSIZE_MAX);
    resize(kClientWidth, kClientHeight);
    FormResize();

    for (TCategoryPanel* p : FPanels)
        p->SetShown(false);
    Order_TAB_Panels();
    Move_GroupBoxs();
    Set_Lang();
    shell::Apply_Window_Look(this);
    // Escape, pressed to leave a cell or a list, must not throw away what the user typed here:
    // only Cancel does.
    SetEscapeCloses(false);
    shell::Set_OK_Glyph(Btn_OK);
}

void TFParGen::Create_Frame()
{
    shell::Style_Window(this);

    P_Title = new QWidget(this);
    P_Title->setObjectName(QStringLiteral("P_Title"));
    L_SW_Code = new QLabel(P_Title);
    L_SW_Code->setObjectName(QStringLiteral("L_SW_Code"));
    QFont codeFont(QStringLiteral("Verdana"));
    codeFont.setPixelSize(32);
    L_SW_Code->setFont(codeFont);
    L_SW_Code->setStyleSheet(QStringLiteral("color: grey"));
    L_SW_Code->setGeometry(14, 4, 420, 38);
    L_SW_Desc = new QLabel(P_Title);
    L_SW_Desc->setObjectName(QStringLiteral("L_SW_Desc"));
    QFont descFont(this->font());
    descFont.setBold(true);
    L_SW_Desc->setFont(descFont);
    L_SW_Desc->setStyleSheet(QStringLiteral("color: grey"));
    L_SW_Desc->setGeometry(14, 46, 420, 16);

    P_Buttons = new QWidget(this);
    P_Buttons->setObjectName(QStringLiteral("P_Buttons"));
    Btn_OK = new controls::TPicButton(P_Buttons);
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_OK->OnClick = [this] { platform::Guarded([this] { Btn_OKClick(); }); };
    Btn_Cancel = new controls::TPicButton(P_Buttons);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    Btn_Cancel->SetModalResult(platform::mrCancel);

    CPG = new TCategoryPanelGroup(this);
    CPG->setObjectName(QStringLiteral("CPG"));
}

void TFParGen::Create_Panels()
{
    // Created in this product's order, so that the focus moves through them in that order.
    for (TParGenPanel p : ParGen_Variant(ParGen_Product_Variant).Panels)
        FPanels[static_cast<size_t>(p)] = CPG->AddPanel(QLatin1String(ParGen_Panel_Name(p)));
    for (int i = 0; i < ParGen_Panel_Count; ++i)
        if (!FPanels[static_cast<size_t>(i)])
            FPanels[static_cast<size_t>(i)] =
                CPG->AddPanel(QLatin1String(ParGen_Panel_Name(static_cast<TParGenPanel>(i))));

    CP_Select_Device = Panel(TParGenPanel::Select_Device);
    CP_Ethernet_Connection = Panel(TParGenPanel::Ethernet_Connection);
    CP_Modbus_TCP_Slave = Panel(TParGenPanel::Modbus_TCP_Slave);
    CP_MQTT = Panel(TParGenPanel::MQTT);
    CP_Ethernet = Panel(TParGenPanel::Ethernet);
    CP_TLS = Panel(TParGenPanel::TLS);
    CP_NTP = Panel(TParGenPanel::NTP);
    CP_WiFi2 = Panel(TParGenPanel::WiFi2);
    CP_GSM_GPRS = Panel(TParGenPanel::GSM_GPRS);

    Create_Fields();
}

void TFParGen::Bind_Elements()
{
    Bind_Fields();

    // Every element must meet a control of its kind.
    for (size_t i = 0; i < FBound.size(); ++i) {
        const TParGenEncoding enc = ParGen_Elements()[i].Encoding;
        const QWidget* w = FBound[i];
        const bool ok = !w                             ? false
                        : enc == TParGenEncoding::Text ? (qobject_cast<const QLineEdit*>(w) ||
                                                          qobject_cast<const QPlainTextEdit*>(w))
                        : (enc == TParGenEncoding::Check || enc == TParGenEncoding::CheckNumber)
                            ? qobject_cast<const QCheckBox*>(w) != nullptr
                            : qobject_cast<const QComboBox*>(w) != nullptr;
        if (!ok)
            throw std::logic_error(std::string("ParGen element without a control of its kind: ") +
                                   ParGen_Elements()[i].Name);
    }
}

void TFParGen::Build_Dot_Chains()
{
    auto chain = [this](std::initializer_list<const TByteRow*> rows) {
        QLineEdit* prev = nullptr;
        for (const TByteRow* r : rows)
            for (QLineEdit* b : r->Boxes) {
                if (prev)
                    FNextBox[prev] = b;
                prev = b;
            }
    };
    chain({&Ethernet_IP, &Ethernet_SM, &Ethernet_GAT});
    chain({&EthConn_Primary_DNS, &EthConn_Secondary_DNS});
    chain({&WiFi2_IP1_IP, &WiFi2_IP1_SM, &WiFi2_IP1_GAT});
    chain({&WiFi2_IP2_IP, &WiFi2_IP2_SM, &WiFi2_IP2_GAT});
    chain({&WiFi2_DHCP_First, &WiFi2_DHCP_SM});
    chain({&ModbusTCPSlave_IP, &ModbusTCPSlave_SM, &ModbusTCPSlave_GAT});
    for (const TByteRow* r : {&EthConn_Primary_DNS, &EthConn_Secondary_DNS, &ModbusTCPSlave_IP, &ModbusTCPSlave_SM,
                              &ModbusTCPSlave_GAT, &Ethernet_IP, &Ethernet_SM, &Ethernet_GAT, &Ethernet_DNS,
                              &WiFi2_IP1_IP, &WiFi2_IP1_SM, &WiFi2_IP1_GAT, &WiFi2_IP2_IP, &WiFi2_IP2_SM,
                              &WiFi2_IP2_GAT, &WiFi2_DHCP_First, &WiFi2_DHCP_SM})
        for (QLineEdit* b : r->Boxes)
            FByteBoxes.push_back(b);
}

void TFParGen::Connect_Triggers()
{
    for (QComboBox* c : CPG->findChildren<QComboBox*>())
        connect(c, &QComboBox::currentIndexChanged, this, [this, c] { On_Change(c); });
    for (QCheckBox* c : CPG->findChildren<QCheckBox*>())
        connect(c, &QCheckBox::toggled, this, [this, c] { On_Click(c); });
    CP_MQTT->OnExpand = [this] { CP_Expand(); };
}

// ---------------------------------------------------------------------------------------------
// Texts

void TFParGen::Set_Lang()
{
    FUpdating = true;
    auto done = qScopeGuard([this] { FUpdating = false; });

    SetCaption(Lang(400));
    L_SW_Desc->setText(Lang(401));
    Btn_OK->SetCaption(Lang(402));
    Btn_OK->SetHint(Lang(404));
    Btn_Cancel->SetCaption(Lang(403));
    Btn_Cancel->SetHint(Lang(405));

    Field_Texts();

    // The numbered panel captions follow the language too.
    const std::vector<TParGenPanel>& order = ParGen_Variant(FVariant).Panels;
    for (size_t i = 0; i < order.size(); ++i)
        Panel(order[i])->SetCaption(QStringLiteral("%1. %2").arg(i + 1).arg(Lang(ParGen_Panel_Text(order[i]))));

    done.dismiss();
    FUpdating = false;
    // The translated lists start again at their first item: lay the panels out for it.
    Move_GroupBoxs();
}

// ---------------------------------------------------------------------------------------------
// Panel order and layout

void TFParGen::Order_TAB_Panels()
{
    const std::vector<TParGenPanel>& order = ParGen_Variant(FVariant).Panels;
    QWidget* prev = nullptr;
    for (size_t i = 0; i < order.size(); ++i) {
        TCategoryPanel* p = Panel(order[i]);
        p->SetShown(true);
        p->SetOrder(static_cast<int>(i));
        p->SetCaption(QStringLiteral("%1. %2").arg(i + 1).arg(Lang(ParGen_Panel_Text(order[i]))));
        for (QWidget* w : p->Body()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!(w->focusPolicy() & Qt::TabFocus))
                continue;
            if (prev)
                setTabOrder(prev, w);
            prev = w;
        }
    }
    CPG->Restack();
}

void TFParGen::Move_GroupBoxs()
{
    if (FInRelayout)
        return;
    FInRelayout = true;
    auto done = qScopeGuard([this] { FInRelayout = false; });

    const TParGenVariantInfo& v = ParGen_Variant(FVariant);
    if (v.Reset_Device_Type)
        CB_Select_Device_Device->setCurrentIndex(0);
    for (TParGenPanel p : v.Panels)
        Panel_Relayout(p);
    if (v.Device_Selection)
        Apply_Device_Type_Rule();
    CPG->Restack();
}

void TFParGen::Panel_Relayout(TParGenPanel panel)
{
    switch (panel) {
    case TParGenPanel::Select_Device: RePosition_Object_Select_Device(); break;
    case TParGenPanel::Ethernet_Connection: RePosition_Object_Ethernet_Connection(); break;
    case TParGenPanel::Modbus_TCP_Slave: RePosition_Object_Modbus_TCP_Slave(); break;
    case TParGenPanel::MQTT: RePosition_Object_MQTT(); break;
    case TParGenPanel::Ethernet: RePosition_Object_Ethernet(); break;
    case TParGenPanel::TLS: RePosition_Object_TLS(); break;
    case TParGenPanel::NTP: RePosition_Object_NTP(); break;
    case TParGenPanel::WiFi2: RePosition_Object_WiFi2(); break;
    case TParGenPanel::GSM_GPRS: RePosition_Object_GSM_GPRS(); break;
    default: Fit_To_Contents(Panel(panel)); break;
    }
}

void TFParGen::Apply_Device_Type_Rule()
{
    const int type = CB_Select_Device_Device->currentIndex();
    auto close = [](TCategoryPanel* p) {
        p->Collapse();
        p->SetPanelEnabled(false);
    };
    auto open = [](TCategoryPanel* p) {
        p->SetPanelEnabled(true);
        p->Expand();
    };
    if (type == 0) {
        close(CP_WiFi2);
        close(CP_GSM_GPRS);
    } else if (type == 1) {
        open(CP_WiFi2);
        close(CP_GSM_GPRS);
    } else {
        close(CP_WiFi2);
        open(CP_GSM_GPRS);
    }
}

void TFParGen::Fit_Panel(TCategoryPanel* panel, const QWidget* last) const
{
    panel->SetPanelHeight(last->y() + last->height() + panel->HeaderHeight() + kPanelBottomMargin);
}

void TFParGen::Fit_To_Contents(TCategoryPanel* panel) const
{
    // Panels of the family's other gateways: measured from whatever they hold.
    int bottom = 0;
    for (QWidget* w : panel->Body()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (own_visible(w))
            bottom = std::max(bottom, w->y() + w->height());
    panel->SetPanelHeight(bottom + panel->HeaderHeight() + kPanelBottomMargin);
}

void TFParGen::Flow_Panel(TParGenPanel panel)
{
    std::vector<const TParGenField*> flow;
    for (const TParGenField& f : ParGen_Fields())
        if (f.Panel == panel)
            flow.push_back(&f);
    auto flow_row = [](const TParGenField* f) { return f->Flow_Row >= 0 ? f->Flow_Row : f->Row; };
    std::stable_sort(flow.begin(), flow.end(),
                     [&](const TParGenField* a, const TParGenField* b) { return flow_row(a) < flow_row(b); });

    int top = row(0);
    const QWidget* last = nullptr;
    for (const TParGenField* field : flow) {
        const TParGenField& f = *field;
        QCheckBox* with = f.Shown_With ? this->*f.Shown_With : nullptr;
        const bool shown = !f.Other_Gateways && (!with || (own_visible(with) && with->isChecked())) &&
                           (!f.Shown_If || f.Shown_If(*this));
        switch (f.Kind) {
        case TFieldKind::Bytes:
        case TFieldKind::Gateway_Bytes: {
            const TByteRow& r = this->*f.Bytes;
            if (f.Locked_By || f.Locked_If)
                r.SetInputsEnabled(!(f.Locked_By && (this->*f.Locked_By)->isChecked()) &&
                                   !(f.Locked_If && f.Locked_If(*this)));
            r.SetShown(shown);
            if (shown) {
                r.Place(top);
                last = r.Boxes[3];
            }
            break;
        }
        case TFieldKind::Check:
            if (shown) {
                place_check(this->*f.Check, top);
                last = this->*f.Check;
            } else {
                (this->*f.Check)->hide();
            }
            break;
        default: {
            QLabel* head = this->*f.Label;
            QWidget* input = f.Edit ? static_cast<QWidget*>(this->*f.Edit)
                             : f.Memo ? static_cast<QWidget*>(this->*f.Memo)
                             : f.List ? static_cast<QWidget*>(this->*f.List)
                                      : nullptr;
            if (shown) {
                place(head, input, top);
                last = input ? input : head;
            } else {
                head->hide();
                if (input)
                    input->hide();
            }
            break;
        }
        }
        if (shown)
            top += kRowPitch - (f.Next_From_Input ? kBoxAboveLabel : 0);
    }
    if (last)
        Fit_Panel(Panel(panel), last);
}

void TFParGen::RePosition_Object_Select_Device() { Flow_Panel(TParGenPanel::Select_Device); }

void TFParGen::RePosition_Object_Ethernet_Connection()
{
    const int type = CB_Select_Device_Device->currentIndex();
    CB_EthConn_En_DHCP_WiFi->setEnabled(type != 0 && type != 2);
    Flow_Panel(TParGenPanel::Ethernet_Connection);
}

void TFParGen::RePosition_Object_Modbus_TCP_Slave() { Flow_Panel(TParGenPanel::Modbus_TCP_Slave); }

void TFParGen::RePosition_Object_MQTT() { Flow_Panel(TParGenPanel::MQTT); }

void TFParGen::RePosition_Object_Ethernet() { Flow_Panel(TParGenPanel::Ethernet); }

void TFParGen::RePosition_Object_TLS() { Flow_Panel(TParGenPanel::TLS); }

void TFParGen::RePosition_Object_NTP() { Flow_Panel(TParGenPanel::NTP); }

void TFParGen::RePosition_Object_WiFi2()
{
    // A station's address headings name who uses each address; otherwise they keep their texts.
    QString first, second;
    if (wifi_station(*this) && Check_Device_IP_Address_WiFi(first, second) == 2) {
        L_WiFi2_IP1->setText(Lang(5105) + QStringLiteral(" - ") + first);
        L_WiFi2_IP2->setText(Lang(5122) + QStringLiteral(" - ") + second);
    }
    Flow_Panel(TParGenPanel::WiFi2);
}

void TFParGen::RePosition_Object_GSM_GPRS() { Flow_Panel(TParGenPanel::GSM_GPRS); }

int TFParGen::Check_Device_IP_Address_WiFi(QString& first, QString& second) const
{
    first = QStringLiteral("Modbus TCP Slave");
    second = QStringLiteral("MQTT");
    return 2;
}

// ---------------------------------------------------------------------------------------------
// Triggers

void TFParGen::On_Change(QObject* sender)
{
    if (FUpdating)
        return;
    if (sender == CB_Select_Device_Device || sender == CB_WiFi2_Type || sender == CB_WiFi2_Secure_Type)
        Move_GroupBoxs();
}

void TFParGen::On_Click(QObject* sender)
{
    if (FUpdating)
        return;
    if (sender == CB_MQTT_WillFlag || sender == CB_MQTT_PublishTopicConnection || sender == CB_MQTT_Enable_ReProgram ||
        sender == CB_TLS_Enable || sender == CB_TLS_En_Server_Auth || sender == CB_TLS_En_Client_Auth ||
        sender == CB_EthConn_En_DHCP_Cable || sender == CB_EthConn_En_DHCP_WiFi || sender == CB_WiFi2_En_DHCP)
        Move_GroupBoxs();
}

void TFParGen::CP_Expand() { Move_GroupBoxs(); }

void TFParGen::FormResize()
{
    // A window manager may resize past the fixed width; the limits alone do not bring it back.
    if (width() != kClientWidth) {
        setFixedWidth(kClientWidth);
        resize(kClientWidth, height());
    }
    P_Title->setGeometry(0, 0, kClientWidth, kTitleHeight);
    P_Buttons->setGeometry(0, height() - kButtonStripHeight, kClientWidth, kButtonStripHeight);
    Btn_Cancel->SetBounds(kClientWidth - 10 - 110, 6, 110, 28);
    Btn_OK->SetBounds(kClientWidth - 10 - 110 - 8 - 110, 6, 110, 28);
    CPG->setGeometry(0, kTitleHeight, kClientWidth,
                     std::max(0, height() - kTitleHeight - kButtonStripHeight));
}

void TFParGen::resizeEvent(QResizeEvent* event)
{
    platform::TForm::resizeEvent(event);
    FormResize();
}

bool TFParGen::FormMouseWheel(int wheelDelta, const QPoint& globalPos)
{
    QWidget* client = CPG->viewport();
    if (!client->rect().contains(client->mapFromGlobal(globalPos)))
        return false;
    const int lines = QApplication::wheelScrollLines();
    for (int i = 0; i < lines; ++i)
        CPG->ScrollLine(wheelDelta > 0);
    return true;
}

void TFParGen::KeyPress(QWidget* sender, QChar& key)
{
    if (key != QLatin1Char('.'))
        return;
    key = QChar();  // an address byte box never takes a dot
    const auto it = FNextBox.find(qobject_cast<QLineEdit*>(sender));
    if (it == FNextBox.end())
        return;
    QLineEdit* next = it->second;
    if (next->isVisible() && next->isEnabled())
        next->setFocus(Qt::TabFocusReason);
}

bool TFParGen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (box && std::find(FByteBoxes.begin(), FByteBoxes.end(), box) != FByteBoxes.end()) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            if (text.size() == 1) {
                QChar key = text[0];
                KeyPress(box, key);
                if (key.isNull())
                    return true;
            }
        }
    } else if (event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->angleDelta().y() != 0 && FormMouseWheel(wheel->angleDelta().y(), wheel->globalPosition().toPoint()))
            return true;
    }
    return platform::TForm::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// File

void TFParGen::Set_Element(int element, const QString& text)
{
    QWidget* w = FBound[static_cast<size_t>(element)];
    const TParGenElement& e = ParGen_Elements()[static_cast<size_t>(element)];
    switch (e.Encoding) {
    case TParGenEncoding::Text:
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            // An edit cuts what exceeds its length limit; a loaded value is kept whole instead.
            if (text.size() > edit->maxLength())
                edit->setMaxLength(static_cast<int>(std::min<qsizetype>(text.size(), std::numeric_limits<int>::max())));
            edit->setText(text);
        } else {
            auto* memo = static_cast<QPlainTextEdit*>(w);
            memo->setPlainText(text);
            FMemoLoaded[memo] = {text, memo->toPlainText()};
        }
        break;
    case TParGenEncoding::Check: static_cast<QCheckBox*>(w)->setChecked(Decode_Check(text)); break;
    case TParGenEncoding::CheckNumber: static_cast<QCheckBox*>(w)->setChecked(Decode_Check_Number(text)); break;
    case TParGenEncoding::Index: {
        auto* list = static_cast<QComboBox*>(w);
        const int def = Decode_Index(QString::fromLatin1(e.Default), list->count(), -1);
        list->setCurrentIndex(Decode_Index(text, list->count(), def));
        break;
    }
    case TParGenEncoding::ItemText: {
        auto* list = static_cast<QComboBox*>(w);
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        list->setCurrentIndex(items.isEmpty() ? -1 : Decode_Item_Text(text, items));
        break;
    }
    }
}

QString TFParGen::Element_Value(int element) const
{
    const QWidget* w = FBound[static_cast<size_t>(element)];
    switch (ParGen_Elements()[static_cast<size_t>(element)].Encoding) {
    case TParGenEncoding::Text:
        if (auto* memo = qobject_cast<const QPlainTextEdit*>(w)) {
            const auto it = FMemoLoaded.find(memo);
            if (it != FMemoLoaded.end() && memo->toPlainText() == it->second.second)
                return it->second.first;
        }
        return text_of(w);
    case TParGenEncoding::Check:
    case TParGenEncoding::CheckNumber:
        return static_cast<const QCheckBox*>(w)->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    case TParGenEncoding::Index: return QString::number(static_cast<const QComboBox*>(w)->currentIndex());
    case TParGenEncoding::ItemText: return static_cast<const QComboBox*>(w)->currentText();
    }
    return {};
}

void TFParGen::Set_Defaults(bool fileMissing)
{
    for (int i = 0; i < ParGen_Element_Count; ++i)
        Set_Element(i, ParGen_Default(i, fileMissing));
}

void TFParGen::Load_ParGen()
{
    QString error;
    {
        FUpdating = true;
        auto done = qScopeGuard([this] { FUpdating = false; });
        if (!platform::FileExists(shell::App_State.File_ParGen)) {
            Set_Defaults(true);
        } else {
            TParGenTexts texts;
            try {
                texts = ParGen_Read_File(shell::App_State.File_ParGen);
            } catch (const platform::Exception& e) {
                error = e.message() + QLatin1Char('\n') + platform::KeepDamagedFile(shell::App_State.File_ParGen);
            }
            if (!error.isEmpty()) {
                // Nothing of a file that cannot be read, and nothing of the last configuration shown.
                Set_Defaults(true);
            } else {
                for (int i = 0; i < ParGen_Element_Count; ++i) {
                    const std::optional<QString>& t = texts[static_cast<size_t>(i)];
                    Set_Element(i, t ? *t : ParGen_Default(i, false));
                }
            }
            if (CB_GSM_GPRS_AuthType->currentIndex() < 0)
                CB_GSM_GPRS_AuthType->setCurrentIndex(0);
        }
    }
    Move_GroupBoxs();
    if (!error.isEmpty())
        platform::MessageDlg(error, platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
}

std::vector<QString> TFParGen::ParGen_Values() const
{
    std::vector<QString> values;
    values.reserve(ParGen_Element_Count);
    for (int i = 0; i < ParGen_Element_Count; ++i)
        values.push_back(Element_Value(i));
    return values;
}

void TFParGen::Save_ParGen() const { ParGen_Write_File(shell::App_State.File_ParGen, ParGen_Values()); }

void TFParGen::FormShow() { Load_ParGen(); }

void TFParGen::Btn_OKClick()
{
    if (!Controllo_Dati())
        return;
    Save_ParGen();
    SetModalResult(platform::mrOk);
}

// ---------------------------------------------------------------------------------------------
// Validation

int TFParGen::Check_Device_Name(const QString& text) const { return comm_params::Check_Device_Name(text); }

TParGen_Check_Input TFParGen::Check_Input() const
{
    TParGen_Check_Input in;
    in.Values = ParGen_Values();
    in.Reprogram_Value_Shown = own_visible(E_MQTT_Reproram_Value);
    in.Ethernet_DNS_Shown = own_visible(Ethernet_DNS.Check);
    in.Ethernet_DNS_Checked = Ethernet_DNS.Check->isChecked();
    in.Ethernet_DNS = Ethernet_DNS.Texts();
    in.WiFi_IP1_Editable = own_visible(WiFi2_IP1_IP.Boxes[0]) && own_enabled(WiFi2_IP1_IP.Boxes[0]);
    in.WiFi_IP2_Editable = own_visible(WiFi2_IP2_IP.Boxes[0]) && own_enabled(WiFi2_IP2_IP.Boxes[0]);
    using enum shell::TParGen_Id;
    in.List_Captions = {{Select_Device, L_Select_Device_Device->text()},   {MQTT_Will_QoS, L_MQTT_Will_QoS->text()},
                        {WiFi_Type, L_WiFi2_Type->text()},                 {WiFi_Secure_Type, L_WiFi2_Secure_Type->text()},
                        {WiFi_Max_Client, L_WiFi2_Max_Client->text()},     {WiFi_Channel, L_WiFi2_Channel->text()},
                        {GSM_GPRS_AUTHTYPE, L_GSM_GPRS_AuthType->text()}};
    return in;
}

bool TFParGen::Controllo_Dati()
{
    const std::optional<QString> fault = Check_ParGen(Check_Input());
    if (fault)
        platform::MessageDlg(*fault, platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
    return !fault;
}
