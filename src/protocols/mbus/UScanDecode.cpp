#include "protocols/mbus/UScanDecode.h"

#include "controls/buttons_pages/PicButton.h"
#include "controls/tree/StringTree.h"
#include "grid/core/CellGraphic.h"
#include "grid/core/ExtStringGrid.h"
#include "platform/Dialogs.h"
#include "platform/FileUtil.h"
#include "platform/Guard.h"
#include "platform/IntText.h"
#include "platform/XmlDoc.h"
#include "protocols/mbus/UMBusScanDecode.h"
#include "protocols/mbus/UModbusStartAdd_SD.h"
#include "protocols/mbus/UScanModbusStart.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UTextChecks.h"
#include "shell/UWindowList.h"
#include "shell/UWindowLook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>

namespace {

constexpr int Client_Width = 1000;
constexpr int Title_Height = 69;
constexpr int Button_Height = 44;
constexpr int Heading_X = 16, Label_X = 32, Box_X = 176, Box_Width = 185;
constexpr int Button_Width = 130, Button_Left = 8;

int Typed_Int(const QString& text, int fallback) { return platform::Parse_Int32_Hex_x(text).value_or(fallback); }

QString No_Escape(QString text) { return text.replace(QLatin1String("&&"), QLatin1String("&")); }

bool In(int code, std::initializer_list<int> codes) { return std::find(codes.begin(), codes.end(), code) != codes.end(); }

// Swallows "." in an IP edit and moves the focus to the next edit, as typing an address expects.
class TDotFilter : public QObject {
public:
    TDotFilter(QObject* parent, QLineEdit* next) : QObject(parent), Next(next) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->text() != QLatin1String("."))
            return false;
        if (Next && Next->isEnabled() && Next->isVisible())
            Next->setFocus();
        return true;
    }
    QLineEdit* Next;
};

}  // namespace

TFScanDecode* FScanDecode() { return shell::Window<TFScanDecode>(); }

TFScanDecode::TFScanDecode(const grid::TGridLayers& gridLayers, QWidget* parent)
    : platform::TForm(parent), FEngine(std::make_unique<TMBusScanDecode>())
{
    // The engine's thread runs from now on and parks until the window shows.
    FEngine->Set_Run(false);
    shell::Style_Window(this);
    SetClientSize(Client_Width, 523);
    Create_Controls();
    Create_Views(gridLayers);
    Form_Type = 0;
    Set_Lang();
    shell::Apply_Window_Look(this);
    Form_Style(1);
}

TFScanDecode::~TFScanDecode()
{
    ++FGeneration;
    FOpen = false;
    // The pictures go before the controls that show them.
    VST->SetImages(nullptr);
    VST_Wireless->SetImages(nullptr);
    ESG_Wireless->GridImages = nullptr;
}

void TFScanDecode::Create_Controls()
{
    P_Title = shell::Make_Step_Title(this, Client_Width, L_SW_Code, L_SW_Desc);
    P_Title->setGeometry(0, 0, Client_Width, Title_Height);
    P_Main = new QWidget(this);
    P_Main->setObjectName(QStringLiteral("P_Main"));
    const auto label = [this](const char* name) {
        auto* l = new QLabel(P_Main);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    const auto combo = [this](const char* name) {
        auto* c = new QComboBox(P_Main);
        c->setObjectName(QLatin1String(name));
        connect(c, &QComboBox::activated, this, [this] { platform::Guarded([this] { Move_Object_Type_Form(); }); });
        return c;
    };
    const auto edit = [this](const char* name, const char* text) {
        auto* e = new QLineEdit(QLatin1String(text), P_Main);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    const auto check = [this](const char* name) {
        auto* c = new QCheckBox(P_Main);
        c->setObjectName(QLatin1String(name));
        return c;
    };
    L_ScanMethod = label("L_ScanMethod");
    CB_ScanMethod = combo("CB_ScanMethod");
    L_ScanBy = label("L_ScanBy");
    CB_ScanBy = combo("CB_ScanBy");
    L_HardwareType = label("L_HardwareType");
    CB_HardwareType = combo("CB_HardwareType");
    L_ComPort = label("L_ComPort");
    CB_ComPort = new QComboBox(P_Main);
    CB_ComPort->setObjectName(QStringLiteral("CB_ComPort"));
    Btn_COM_List = new controls::TPicButton(P_Main);
    Btn_COM_List->setObjectName(QStringLiteral("Btn_COM_List"));
    L_IP = label("L_IP");
    E_IP1 = edit("E_IP1", "192");
    E_IP2 = edit("E_IP2", "168");
    E_IP3 = edit("E_IP3", "2");
    E_IP4 = edit("E_IP4", "205");
    L_IP_Dot1 = label("L_IP_Dot1");
    L_IP_Dot2 = label("L_IP_Dot2");
    L_IP_Dot3 = label("L_IP_Dot3");
    const QLineEdit* ips[] = {E_IP1, E_IP2, E_IP3, E_IP4};
    QLineEdit* next[] = {E_IP2, E_IP3, E_IP4, nullptr};
    for (int i = 0; i < 4; ++i)
        const_cast<QLineEdit*>(ips[i])->installEventFilter(new TDotFilter(const_cast<QLineEdit*>(ips[i]), next[i]));
    for (QLabel* dot : {L_IP_Dot1, L_IP_Dot2, L_IP_Dot3})
        dot->setText(QStringLiteral("."));
    L_Port = label("L_Port");
    E_Port = edit("E_Port", "502");
    L_MBus_ParGen = label("L_MBus_ParGen");
    L_MBus_Baud = label("L_MBus_Baud");
    CB_MBus_Baud = combo("CB_MBus_Baud");
    CB_MBus_Baud->addItems({"300", "600", "1200", "2400", "4800", "9600", "19200", "38400"});
    CB_MBus_Baud->setCurrentIndex(3);
    L_MBus_Parity = label("L_MBus_Parity");
    CB_MBus_Parity = combo("CB_MBus_Parity");
    CB_MBus_Parity->addItems({"NONE", "EVEN", "ODD"});
    CB_MBus_Parity->setCurrentIndex(1);
    L_wMBus_Mode = label("L_wMBus_Mode");
    CB_wMBus_Mode = new QComboBox(P_Main);
    CB_wMBus_Mode->setObjectName(QStringLiteral("CB_wMBus_Mode"));
    CB_wMBus_Mode->addItems({"S", "T", "N1", "N2", "C"});
    L_wMBus_Radio_Channel = label("L_wMBus_Radio_Channel");
    CB_wMBus_Radio_Channel = new QComboBox(P_Main);
    CB_wMBus_Radio_Channel->setObjectName(QStringLiteral("CB_wMBus_Radio_Channel"));
    CB_wMBus_Radio_Channel->addItems({"1a @ 4800 bps", "1b @ 4800 bps", "2a @ 2400 bps", "2b @ 2400 bps",
                                      "3a @ 4800 bps", "3b @ 4800 bps", "0 @ 19200 bps", "2a @ 4800 bps",
                                      "2b @ 4800 bps"});
    CB_wMBus_Radio_Channel->setMaxVisibleItems(9);
    L_Option_Scan = label("L_Option_Scan");
    CB_Opt_App_Reset = check("CB_Opt_App_Reset");
    CB_Opt_SND_NKE = check("CB_Opt_SND_NKE");
    L_Opt_Cut_After = label("L_Opt_Cut_After");
    E_Opt_Cut_After = edit("E_Opt_Cut_After", "3");
    CB_Opt_Use_Fix_C_Field = check("CB_Opt_Use_Fix_C_Field");
    CB_Opt_Use_Fix_C_Field_Value = new QComboBox(P_Main);
    CB_Opt_Use_Fix_C_Field_Value->setObjectName(QStringLiteral("CB_Opt_Use_Fix_C_Field_Value"));
    CB_Opt_Use_Fix_C_Field_Value->addItems({"0x5X", "0x7X"});
    CB_Opt_Check_BCD_to_Int = check("CB_Opt_Check_BCD_to_Int");
    CB_Opt_Enable_Remote_Scan = check("CB_Opt_Enable_Remote_Scan");
    for (QLabel* heading : {L_MBus_ParGen, L_Option_Scan}) {
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
    }

    P_Button = new QWidget(this);
    P_Button->setObjectName(QStringLiteral("P_Button"));
    const auto button = [this](const char* name) {
        auto* b = new controls::TPicButton(P_Button);
        b->setObjectName(QLatin1String(name));
        b->SetBounds(Button_Left, 7, Button_Width, 30);
        return b;
    };
    Btn_StartScan = button("Btn_StartScan");
    Btn_StopScan = button("Btn_StopScan");
    Btn_AbortScan = button("Btn_AbortScan");
    Btn_NewScan = button("Btn_NewScan");
    Btn_SaveConf = button("Btn_SaveConf");
    Btn_SaveConfManual = button("Btn_SaveConfManual");
    Btn_StartScan->OnClick = [this] { platform::Guarded([this] { Select_Scan(); }); };
    Btn_StopScan->OnClick = [this] { platform::Guarded([this] { Stop(); }); };
    Btn_AbortScan->OnClick = [this] { platform::Guarded([this] { Abort(); }); };
    Btn_NewScan->OnClick = [this] { platform::Guarded([this] { New_Scan(); }); };
    Btn_SaveConf->OnClick = [this] { platform::Guarded([this] { Select_SaveXML(0); }); };
    Btn_SaveConfManual->OnClick = [this] { platform::Guarded([this] { Select_SaveXML(1); }); };
}

void TFScanDecode::Set_Lang()
{
    using shell::Lang;
    SetCaption(Lang(3300));
    L_SW_Code->setText(No_Escape(Lang(3301)));
    L_SW_Desc->setText(No_Escape(Lang(3302)));
    L_ScanBy->setText(Lang(3303));
    const auto refill = [](QComboBox* box, QStringList items) {
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(0);
    };
    refill(CB_ScanBy, {Lang(3304), Lang(3305)});
    L_HardwareType->setText(Lang(3306));
    refill(CB_HardwareType, {Lang(3307), Lang(3308)});
    L_IP->setText(Lang(3309));
    L_ComPort->setText(Lang(3310));
    L_MBus_ParGen->setText(Lang(3311));
    L_MBus_Baud->setText(Lang(3312));
    L_MBus_Parity->setText(Lang(3313));
    L_Option_Scan->setText(Lang(3314));
    CB_Opt_App_Reset->setText(Lang(3315));
    CB_Opt_SND_NKE->setText(Lang(3316));
    L_Opt_Cut_After->setText(Lang(3317));
    L_AvailableDevice->setText(Lang(3320));
    Btn_StartScan->SetCaption(Lang(3321));
    Btn_StopScan->SetCaption(Lang(3322));
    Btn_AbortScan->SetCaption(Lang(3323));
    Btn_NewScan->SetCaption(Lang(3324));
    Btn_SaveConf->SetCaption(Lang(3325));
    Btn_SaveConfManual->SetCaption(Lang(3339));
    L_ScanMethod->setText(Lang(3331));
    refill(CB_ScanMethod, {Lang(3332), Lang(3333)});
    L_wMBus_Mode->setText(Lang(3334));
    L_wMBus_Radio_Channel->setText(Lang(3335));
    L_Port->setText(Lang(3336));
    CB_Opt_Use_Fix_C_Field->setText(Lang(3340));
    CB_Opt_Check_BCD_to_Int->setText(Lang(3341));
    CB_Opt_Enable_Remote_Scan->setText(Lang(3342));
    L_ScanProgress->setText(Lang(FStyle == 3 ? 3319 : 3318));
    if (isVisible())
        Move_Object_Type_Form();
}

bool TFScanDecode::Wireless_Chosen() const { return Form_Type == 1 && CB_ScanMethod->currentIndex() == 1; }

void TFScanDecode::Move_Object_Type_Form()
{
    const bool choose = Form_Type == 1;
    const bool wireless = Wireless_Chosen();
    SetClientSize(Client_Width, choose ? 571 : 523);
    P_Main->setGeometry(0, Title_Height, Client_Width, height() - Title_Height - Button_Height);
    P_Button->setGeometry(0, height() - Button_Height, Client_Width, Button_Height);
    const auto row = [](QLabel* l, QWidget* box, int top, bool shown) {
        l->setGeometry(Label_X, top, Box_X - Label_X - 4, 16);
        l->setVisible(shown);
        if (box) {
            box->setGeometry(Box_X, top - 3, Box_Width, 22);
            box->setVisible(shown);
        }
    };
    const auto heading = [](QLabel* l, int top, bool shown) {
        l->setGeometry(Heading_X, top, 400, 16);
        l->setVisible(shown);
    };
    const auto check = [](QCheckBox* c, int top, bool shown) {
        c->setGeometry(Label_X, top, 400, 18);
        c->setVisible(shown);
    };
    row(L_ScanMethod, CB_ScanMethod, 11, choose);
    row(L_ScanBy, CB_ScanBy, choose ? 43 : 11, !wireless);
    const int hardware = choose && !wireless ? 75 : 43;
    row(L_HardwareType, CB_HardwareType, hardware, true);
    row(L_ComPort, CB_ComPort, hardware + 24, false);
    Btn_COM_List->setVisible(false);
    const int ip = choose && !wireless ? 99 : 67;
    row(L_IP, nullptr, ip, true);
    QLineEdit* edits[] = {E_IP1, E_IP2, E_IP3, E_IP4};
    QLabel* dots[] = {L_IP_Dot1, L_IP_Dot2, L_IP_Dot3};
    for (int i = 0; i < 4; ++i)
        edits[i]->setGeometry(Box_X + 66 * i, ip - 3, 56, 22);
    for (int i = 0; i < 3; ++i)
        dots[i]->setGeometry(Box_X + 61 + 66 * i, ip, 4, 16);
    row(L_Port, E_Port, 91, wireless);
    if (wireless) {
        if (In(XML_Code_Dev, {12, 15, 18}))
            E_Port->setText(QStringLiteral("10001"));
        E_Port->setReadOnly(In(XML_Code_Dev, {12, 15}));
    }
    const int T = choose ? (wireless ? 123 : 131) : 99;
    heading(L_MBus_ParGen, T, true);
    // The wired block.
    row(L_MBus_Baud, CB_MBus_Baud, T + 24, !wireless);
    row(L_MBus_Parity, CB_MBus_Parity, T + 48, !wireless);
    heading(L_Option_Scan, wireless ? T + 88 : T + 80, true);
    check(CB_Opt_App_Reset, T + 104, !wireless);
    check(CB_Opt_SND_NKE, T + 128, !wireless);
    row(L_Opt_Cut_After, E_Opt_Cut_After, T + 152, !wireless);
    check(CB_Opt_Use_Fix_C_Field, T + 176, !wireless);
    CB_Opt_Use_Fix_C_Field->setGeometry(Label_X, T + 176, Box_X - Label_X - 4, 18);
    CB_Opt_Use_Fix_C_Field_Value->setGeometry(Box_X, T + 173, 80, 22);
    CB_Opt_Use_Fix_C_Field_Value->setVisible(!wireless);
    // The wireless block, from the port row's top.
    const int P = 91;
    row(L_wMBus_Mode, CB_wMBus_Mode, P + 64, wireless);
    row(L_wMBus_Radio_Channel, CB_wMBus_Radio_Channel, P + 88, wireless);
    check(CB_Opt_Check_BCD_to_Int, wireless ? P + 144 : T + 200, true);
    check(CB_Opt_Enable_Remote_Scan, wireless ? P + 168 : T + 224, true);
    Form_Style(FStyle);
}

void TFScanDecode::Form_Style(int n)
{
    FStyle = n;
    CB_HardwareType->setEnabled(false);
    CB_HardwareType->setCurrentIndex(0);
    const QRect area(0, Title_Height, Client_Width, height() - Title_Height - Button_Height);
    P_Main->setGeometry(area);
    P_TreeView->setGeometry(area);
    P_View_Wireless->setGeometry(area);
    P_Main->setVisible(true);
    P_TreeView->setVisible(n == 2 || n == 3);
    P_View_Wireless->setVisible(n == 4 || n == 5);
    if (n == 2 || n == 3) {
        const bool running = n == 2;
        L_ScanProgress->setText(shell::Lang(running ? 3318 : 3319));
        L_Num_Slave->setVisible(!running);
        L_AvailableDevice->setVisible(running);
        LB_AvailableDevice->setVisible(running);
        VST->setVisible(!running);
        P_TreeView->raise();
    }
    if (n == 4 || n == 5)
        P_View_Wireless->raise();
    const bool running = n == 2 || n == 4;
    const bool finished = n == 3 || n == 5;
    Btn_StartScan->setVisible(n == 1);
    Btn_StopScan->setVisible(running);
    Btn_AbortScan->setVisible(running);
    Btn_AbortScan->SetBounds(Button_Left + Button_Width + 8, 7, Button_Width, 30);
    Btn_NewScan->setVisible(finished);
    Btn_SaveConf->setVisible(finished);
    Btn_SaveConf->SetBounds(Button_Left + Button_Width + 8, 7, Button_Width, 30);
    Btn_SaveConfManual->SetBounds(Button_Left + 2 * (Button_Width + 8), 7, Button_Width + 30, 30);
    Btn_SaveConfManual->setVisible((n == 3 && !In(XML_Code_Dev, {6, 11, 15, 20})) || (n == 5 && XML_Code_Dev != 15));
}

void TFScanDecode::FormShow()
{
    FOpen = true;
    // A developer's aid: the scanner of the family members that also listen for wireless meters.
    if (qEnvironmentVariableIsSet("CONFIGURATOR_SCAN_FORM_TYPE"))
        Form_Type = qEnvironmentVariableIntValue("CONFIGURATOR_SCAN_FORM_TYPE");
    // A developer's aid: where the scanner binds its own end of the link ("address:port"), so that
    // it can reach a gateway on the same machine.
    if (qEnvironmentVariableIsSet("CONFIGURATOR_SCAN_LOCAL")) {
        const QString local = qEnvironmentVariable("CONFIGURATOR_SCAN_LOCAL");
        FEngine->Local_Address = local.section(u':', 0, 0);
        FEngine->Local_Port = local.section(u':', 1).toInt();
    }
    // A developer's aid: every pause and time limit of the scan multiplied, as mbus-scan's --time-scale.
    bool scaled = false;
    const double scale = qEnvironmentVariable("CONFIGURATOR_SCAN_TIME_SCALE").toDouble(&scaled);
    if (scaled && scale > 0)
        FEngine->Time_Scale = scale;
    if (qEnvironmentVariableIsSet("CONFIGURATOR_SCAN_GATEWAY_PORT"))
        FEngine->Gateway_Port = quint16(qEnvironmentVariableIntValue("CONFIGURATOR_SCAN_GATEWAY_PORT"));
    Move_Object_Type_Form();
    CB_ComPort->clear();
    for (const QString& n : shell::List_COM_Ports())
        CB_ComPort->addItem(QStringLiteral("COM") + n);
    if (CB_ComPort->count() > 0)
        CB_ComPort->setCurrentIndex(0);
    FEngine->Set_Run(true);
    Read_IP_From_ParGen();
    Form_Style(1);
}

void TFScanDecode::Read_IP_From_ParGen()
{
    const QString file = shell::App_State.File_ParGen;
    if (file.isEmpty() || !platform::FileExists(file))
        return;
    platform::XmlDocument doc;
    try {
        doc.LoadFromFile(file);
    } catch (const platform::Exception&) {
        return;
    }
    QString stem = QStringLiteral("IP_");
    if (XML_Code_Dev == 15)
        stem = QStringLiteral("Modbus_TCP_Slave_IP");
    else if (In(XML_Code_Dev, {11, 17, 20}))
        stem = QStringLiteral("PROFINET_IP");
    else if (XML_Code_Dev == 6)
        stem = QStringLiteral("BACnet_IP");
    else if (In(XML_Code_Dev, {10, 16, 19}))
        stem = QStringLiteral("Eth_IP");
    else if (XML_Code_Dev == 18)
        stem = QStringLiteral("Ethernet_IP");
    QLineEdit* edits[] = {E_IP1, E_IP2, E_IP3, E_IP4};
    const platform::XmlNode root = doc.DocumentElement();
    for (int i = 0; i < 4; ++i)
        if (const platform::XmlNode n = root.ChildByName(stem + QString::number(i + 1)))
            edits[i]->setText(n.Text());
}

void TFScanDecode::FormClose()
{
    FOpen = false;
    ++FGeneration;
    FPoll.Stop();
    FRefresh.Stop();
    FPending.clear();
    // The engine ends a running scan through its closing states, so that the gateway leaves its
    // scan mode and the listener stops decoding; the wait is bounded.
    FEngine->Finish_Scan(Close_Wait_Ms);
    FEngine->Set_Run(false);
}

void TFScanDecode::Select_Scan()
{
    if (Wireless_Chosen())
        StarScanWireless();
    else
        StartScan();
}

void TFScanDecode::Cancel_Device_List()
{
    {
        std::lock_guard lock(FEngine->List_Mutex);
        while (!FEngine->List_Slave_MBus.empty()) {
            FEngine->List_Slave_MBus.back()->List_Var.clear();
            FEngine->List_Slave_MBus.pop_back();
        }
    }
    FWired.clear();
    FWiredMarks.Clear();
    VST->Clear();
}

void TFScanDecode::Cancel_Device_List_Wireless()
{
    {
        std::lock_guard lock(FEngine->List_Mutex);
        while (!FEngine->List_Slave_wMBus.empty()) {
            FEngine->List_Slave_wMBus.back()->Cancel_Var();
            FEngine->List_Slave_wMBus.pop_back();
        }
    }
    FRows.clear();
    FPending.clear();
    FWirelessMarks.Clear();
    Cancel_Grid_Wireless();
    FWirelessMeter.reset();
    FShownWireless = -1;
    VST_Wireless->Clear();
}

void TFScanDecode::Cancel_Grid_Wireless()
{
    ESG_Wireless->SetRowCount(2);
    for (int c = 0; c < Wireless_Columns; ++c) {
        ESG_Wireless->SetCells(c, 1, QString());
        if (c > 0)
            ESG_Wireless->SetColors(c, 1, platform::RGBToColor(255, 255, 255));
    }
    ESG_Wireless->RemoveCellGraphic(Wireless_Columns - 1, 1);
}

void TFScanDecode::StartScan()
{
    if (FEngine->FInScan()) {
        platform::MessageDlg(shell::Lang(3326), platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
        return;
    }
    Cancel_Device_List();
    const TScanType scanT = CB_ScanBy->currentIndex() == 0 ? TScanType::saPrimaryAddress : TScanType::saSecondaryAddress;
    const QString ip = QStringList{E_IP1->text(), E_IP2->text(), E_IP3->text(), E_IP4->text()}.join(u'.');
    const int baud = Typed_Int(CB_MBus_Baud->currentText(), 2400);
    const int cut = Typed_Int(E_Opt_Cut_After->text(), 3);
    LB_AvailableDevice->clear();
    LB_AvailableDevice->setVisible(true);
    FEngine->SaveXMLFile.clear();
    const int generation = ++FGeneration;
    const bool started = FEngine->Start_Scan(
        scanT, TSelectHard::shEthernet, ip, baud, CB_MBus_Parity->currentIndex(), CB_Opt_App_Reset->isChecked(),
        CB_Opt_SND_NKE->isChecked(), cut, CB_Opt_Use_Fix_C_Field->isChecked(),
        uint8_t(CB_Opt_Use_Fix_C_Field_Value->currentIndex()), CB_Opt_Enable_Remote_Scan->isChecked(),
        [this, generation](int e, int v, int f, int k) {
            if (generation == FGeneration && FOpen)
                Update_List_of_Device(e, v, f, k);
        });
    if (!started) {
        platform::MessageDlg(shell::Lang(3344), platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
        return;
    }
    Form_Style(2);
    FPoll.Start(1000, this, [this] { platform::Guarded([this] { T_InScanTimer(); }); });
}

void TFScanDecode::StarScanWireless()
{
    if (FEngine->FInScan()) {
        platform::MessageDlg(shell::Lang(3326), platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
        return;
    }
    const int port = Typed_Int(E_Port->text(), -1);
    if (port < 0 || port > 65535) {
        platform::MessageDlg(shell::Lang(3338), platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
        return;
    }
    Cancel_Device_List_Wireless();
    static constexpr int Mode_Codes[] = {1, 5, 15, 17, 11};
    const int mode = Mode_Codes[std::clamp(CB_wMBus_Mode->currentIndex(), 0, 4)];
    const QString ip = QStringList{E_IP1->text(), E_IP2->text(), E_IP3->text(), E_IP4->text()}.join(u'.');
    Cancel_Grid_Wireless();
    const int generation = ++FGeneration;
    const bool started = FEngine->Start_Scan_Wireless(
        TSelectHard::shEthernet, ip, quint16(port), mode, CB_wMBus_Radio_Channel->currentIndex(),
        CB_Opt_Enable_Remote_Scan->isChecked(),
        [this, generation](int index, const TSlave_wMBus* meter) {
            if (generation == FGeneration && FOpen)
                Update_Grid_Wireless(index, meter);
        },
        false);
    if (!started) {
        platform::MessageDlg(shell::Lang(3344), platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
        return;
    }
    Form_Style(4);
    FPoll.Start(1000, this, [this] { platform::Guarded([this] { T_InScanTimer(); }); });
}

void TFScanDecode::Stop()
{
    if (FEngine->FInScan())
        FEngine->Stop_Scan();
}

void TFScanDecode::Abort()
{
    if (FEngine->FInScan())
        FEngine->Abort_Scan();
}

void TFScanDecode::New_Scan()
{
    Cancel_Device_List();
    Form_Style(1);
}

void TFScanDecode::T_InScanTimer()
{
    if (FEngine->FInScan()) {
        const int step = FEngine->Step_Scan();
        if (step == 134 || step == 320)
            FKeyPending = false;
        FPoll.Start(1000, this, [this] { platform::Guarded([this] { T_InScanTimer(); }); });
        return;
    }
    if (FEngine->FResult() == 2) {
        // A scan that failed while the radio module was taking a key failed on that key.
        platform::MessageDlg(shell::Lang(FKeyPending ? 3345 : 3329), platform::TMsgDlgType::mtError,
                             platform::TMsgDlgButtons::mbOK);
        FKeyPending = false;
        Form_Style(1);
        return;
    }
    FKeyPending = false;
    if (Wireless_Chosen()) {
        Flush_Wireless();
        Form_Style(5);
    } else {
        Form_Style(3);
        Show_Slave_in_Tree();
    }
}

void TFScanDecode::Select_SaveXML(int type)
{
    int startModAdd = 1;
    bool append = false;
    const bool start_dialogs = In(XML_Code_Dev, {0, 1, 9, 13, 14});
    const auto per_meter_dialog = [&] {
        if (!start_dialogs)
            return true;
        Carica_Dati_Modbus_Start_Add();
        return FModbusStartAdd_SD()->ShowModal() == platform::mrOk;
    };
    if (platform::FileExists(FileName_MBus)) {
        const int answer = platform::MessageDlg(shell::Lang(3337), platform::TMsgDlgType::mtConfirmation,
                                                platform::TMsgDlgButtons::mbYesNoCancel);
        if (answer != platform::mrYes && answer != platform::mrNo)
            return;
        append = answer == platform::mrYes;
        if (type == 1) {
            if (!per_meter_dialog())
                return;
        } else if (append && start_dialogs) {
            TFScanModbusStart* dialog = FScanModbusStart();
            if (dialog->ShowModal() != platform::mrOk)
                return;
            startModAdd = dialog->StartModAdd;
        }
    } else if (type == 1 && !per_meter_dialog()) {
        return;
    }
    SaveXML(append, startModAdd, type);
}

void TFScanDecode::Carica_Dati_Modbus_Start_Add()
{
    TFModbusStartAdd_SD* dialog = FModbusStartAdd_SD();
    if (Wireless_Chosen()) {
        const TList_Slave_wMBus meters = Snapshot_Wireless(*FEngine);
        dialog->sga->SetRowCount(int(meters.size()) + 1);
        for (size_t i = 0; i < meters.size(); ++i) {
            dialog->sga->SetCells(0, int(i) + 1, QString::number(uint32_t(meters[i]->ALA_Address)));
            dialog->sga->SetCells(1, int(i) + 1, QStringLiteral("1"));
        }
    } else {
        const TList_Slave_MBus meters = Snapshot_Wired(*FEngine);
        dialog->sga->SetRowCount(int(meters.size()) + 1);
        for (size_t i = 0; i < meters.size(); ++i) {
            dialog->sga->SetCells(0, int(i) + 1,
                                  QString::number(meters[i]->Primary_Addresss) + QStringLiteral(" - ") +
                                      meters[i]->Secondary_Addresss);
            dialog->sga->SetCells(1, int(i) + 1, QStringLiteral("1"));
        }
    }
}

void TFScanDecode::SaveXML(bool append, int startModAdd, int type)
{
    const bool wireless = Wireless_Chosen();
    TFModbusStartAdd_SD* start = FModbusStartAdd_SD();
    TSaveConfXML data;
    data.Append = append ? 1 : 0;
    data.XML_Code_Dev = XML_Code_Dev;
    data.Mod_Start = startModAdd;
    data.Index_Baud = wireless ? 0 : CB_MBus_Baud->currentIndex();
    data.Index_Par = wireless ? 0 : CB_MBus_Parity->currentIndex();
    data.Node_ID_Type = CB_ScanBy->currentIndex();
    data.SND_NKE = !wireless && CB_Opt_SND_NKE->isChecked() ? 1 : 0;
    data.Reset_App = !wireless && CB_Opt_App_Reset->isChecked() ? 1 : 0;
    data.Cut_After = wireless ? 3 : Typed_Int(E_Opt_Cut_After->text(), 3);
    data.StartModnode = type;
    data.SMN_Array = start->Start_Addresses();
    data.En_NodeState = start->CB_En_NodeState->isChecked();
    data.En_IdeNum = start->CB_En_IndNum->isChecked();
    data.File_Name = FileName_MBus;
    const bool saved = Save_Scan_Result(*FEngine, wireless ? TMBusType::mtWireless : TMBusType::mtWired, data,
                                        CB_Opt_Check_BCD_to_Int->isChecked(),
                                        wireless ? FWirelessMarks : FWiredMarks);
    if (saved)
        platform::MessageDlg(shell::Lang(3330), platform::TMsgDlgType::mtInformation, platform::TMsgDlgButtons::mbOK);
}
