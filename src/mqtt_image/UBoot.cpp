#include "mqtt_image/UBoot.h"

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "platform/Guard.h"
#include "platform/PlainText.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UTextChecks.h"
#include "mqtt_image/UUpdateJob.h"
#include "shell/UWindowList.h"
#include "shell/UWindowLook.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <functional>

TFBoot* FBoot() { return shell::Window<TFBoot>(); }

namespace {
constexpr int kClientWidth = 449;
constexpr int kTitleHeight = 69;
constexpr int kIPHeight = 49;
constexpr int kSerialHeight = 51;
constexpr int kOptionsHeight = 72;
constexpr int kButtonsHeight = 40;
constexpr int kEchoPacketSize = 1024;

// One byte of an address as typed: one to three decimal digits, 0..255. Read as decimal only (no
// sign, no hexadecimal, no octal for a leading zero) and never handed to a name resolver.
std::optional<int> Address_Byte(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 3)
        return std::nullopt;
    int value = 0;
    for (QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    if (value > 255)
        return std::nullopt;
    return value;
}

// Splits a dotted address into its four bytes; false unless it is exactly four valid bytes.
bool Split_Address(const QString& text, int (&bytes)[4])
{
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        const std::optional<int> b = Address_Byte(parts[i]);
        if (!b)
            return false;
        bytes[i] = *b;
    }
    return true;
}

QString Dotted(quint32 address)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg((address >> 16) & 0xFF)
        .arg((address >> 8) & 0xFF)
        .arg(address & 0xFF);
}

QFrame* Make_Panel(QWidget* parent, int height)
{
    auto* panel = new QFrame(parent);
    panel->setGeometry(0, 0, kClientWidth, height);
    return panel;
}

QLabel* Make_Label(QWidget* parent, int left, int top, int width, int height, const QString& text = {})
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(left, top, width, height);
    return label;
}

// Keeps the window's controls disabled and the window closed to re-entry while a run lasts.
class Busy_Scope {
public:
    Busy_Scope(bool& busy, std::function<void(bool)> enable) : Busy(busy), Enable(std::move(enable))
    {
        Busy = true;
        Enable(false);
    }
    ~Busy_Scope()
    {
        Enable(true);
        Busy = false;
    }
    Busy_Scope(const Busy_Scope&) = delete;
    Busy_Scope& operator=(const Busy_Scope&) = delete;

private:
    bool& Busy;
    std::function<void(bool)> Enable;
};
}  // namespace

TFBoot::TFBoot(QWidget* parent) : platform::TForm(parent)
{
    shell::Style_Window(this);
    P_Title = Make_Panel(this, kTitleHeight);
    // The white title strip of the program's windows.
    P_Title->setAutoFillBackground(true);
    QPalette titlePalette = P_Title->palette();
    titlePalette.setColor(QPalette::Window, Qt::white);
    P_Title->setPalette(titlePalette);
    L_SW_Code = Make_Label(P_Title, 16, 4, 300, 36);
    QFont codeFont = L_SW_Code->font();
    codeFont.setPixelSize(30);
    L_SW_Code->setFont(codeFont);
    L_SW_Code->setStyleSheet(QStringLiteral("color: grey;"));
    L_SW_Desc = Make_Label(P_Title, 16, 44, 420, 18);
    QFont descFont = L_SW_Desc->font();
    descFont.setBold(true);
    L_SW_Desc->setFont(descFont);
    L_SW_Desc->setStyleSheet(QStringLiteral("color: grey;"));

    P_IP_Address = Make_Panel(this, kIPHeight);
    L_IP_Address = Make_Label(P_IP_Address, 16, 16, 210, 17);
    QLineEdit** boxes[] = {&E_IP1, &E_IP2, &E_IP3, &E_IP4};
    for (int i = 0; i < 4; ++i) {
        auto* box = new QLineEdit(QStringLiteral("0"), P_IP_Address);
        box->setGeometry(230 + i * 46, 13, 36, 22);
        box->setAlignment(Qt::AlignCenter);
        box->installEventFilter(this);
        *boxes[i] = box;
        if (i < 3)
            Make_Label(P_IP_Address, 268 + i * 46, 15, 6, 17, QStringLiteral("."));
    }

    P_Search = Make_Panel(this, 0);
    P_Search->setVisible(false);

    P_Serial = Make_Panel(this, kSerialHeight);
    L_COM_Port = Make_Label(P_Serial, 16, 17, 210, 17, QStringLiteral("Select the COM port for the Update"));
    CB_COM_Port = new QComboBox(P_Serial);
    CB_COM_Port->setGeometry(230, 14, 120, 22);
    Btn_COM_List = new controls::TPicButton(P_Serial);
    Btn_COM_List->SetBounds(360, 10, 30, 30);
    Btn_COM_List->SetHint(QStringLiteral("Update COM Ports List"));
    Btn_COM_List->OnClick = [this] { Btn_COM_ListClick(); };

    P_Options = Make_Panel(this, kOptionsHeight);
    L_Update_Option = Make_Label(P_Options, 16, 14, 210, 17);
    CB_Update_Options = new QComboBox(P_Options);
    CB_Update_Options->setGeometry(230, 11, 200, 22);
    CB_Update_Option_Read_Back = new QCheckBox(P_Options);
    CB_Update_Option_Read_Back->setGeometry(230, 42, 200, 20);

    P_Buttons = Make_Panel(this, kButtonsHeight);
    Btn_Cancel = new controls::TPicButton(P_Buttons);
    Btn_Cancel->SetBounds(16, 4, 120, 32);
    Btn_Cancel->SetModalResult(platform::mrCancel);
    Btn_Update = new controls::TPicButton(P_Buttons);
    Btn_Update->SetBounds(kClientWidth - 16 - 200, 4, 200, 32);
    Btn_Update->OnClick = [this] { Btn_UpdateClick(); };

    for (QFrame* panel : {P_IP_Address, P_Serial, P_Options})
        panel->setVisible(false);
    SetClientSize(kClientWidth, kTitleHeight + kIPHeight + kOptionsHeight + kButtonsHeight);
    shell::Apply_Window_Look(this);
    Btn_COM_List->SetLayout(controls::blGlyphRight);
}

TFBoot::~TFBoot() = default;

void TFBoot::Set_Ping(std::unique_ptr<platform::EchoClient> client) { Ping = std::move(client); }

QLineEdit* TFBoot::Box(int i) const
{
    QLineEdit* const boxes[] = {E_IP1, E_IP2, E_IP3, E_IP4};
    return boxes[i];
}

QString TFBoot::Updater_Path()
{
    return platform::JoinPath(shell::App_State.Exe_Folder, QStringLiteral("Ethernet_Update.exe"));
}

QString TFBoot::Job_Path() { return platform::JoinPath(shell::App_State.Exe_Folder, mqtt_image::Update_Job_File_Name); }

void TFBoot::Set_Lang()
{
    using shell::Lang;
    int caption = 1002;
    if (Form_Type == 0)
        caption = 1000;
    else if (Form_Type == 2)
        caption = 1004;
    SetCaption(Lang(caption));
    L_SW_Desc->setText(Lang(caption + 1));
    L_IP_Address->setText(Lang(1006));
    L_Update_Option->setText(Lang(1014));
    CB_Update_Options->clear();
    CB_Update_Options->addItems({Lang(1015), Lang(1016), Lang(1017)});
    CB_Update_Options->setCurrentIndex(0);
    CB_Update_Option_Read_Back->setText(Lang(1018));
    Btn_Cancel->SetCaption(Lang(1019));
    Btn_Update->SetCaption(Lang(1020));
    for (int i = 0; i < 4; ++i)
        Box(i)->setToolTip(platform::PlainHint(Lang(1021 + i)));
    CB_Update_Options->setToolTip(platform::PlainHint(Lang(1032)));
    CB_Update_Option_Read_Back->setToolTip(platform::PlainHint(Lang(1033)));
    Btn_Cancel->SetHint(Lang(1034));
    Btn_Update->SetHint(Lang(1035));
}

void TFBoot::FormShow()
{
    Set_Lang();
    L_SW_Code->setText(shell::App_State.SW_Code);

    for (QFrame* panel : {P_IP_Address, P_Search, P_Options, P_Serial})
        panel->setVisible(false);

    // The shown panels are stacked below the title, the buttons at the bottom.
    int top = kTitleHeight;
    auto stack = [&](QFrame* panel, int height) {
        panel->setGeometry(0, top, kClientWidth, height);
        panel->setVisible(true);
        top += height;
    };
    auto remembered_options = [this] {
        const int option = shell::App_State.Update_Option;
        CB_Update_Options->setCurrentIndex(option >= 0 && option < CB_Update_Options->count() ? option : 0);
        CB_Update_Option_Read_Back->setChecked(shell::App_State.Update_Read_Back);
    };

    if (Form_Type == 1) {
        stack(P_IP_Address, kIPHeight);
        stack(P_Options, kOptionsHeight);
        setTabOrder(E_IP1, E_IP2);
        setTabOrder(E_IP2, E_IP3);
        setTabOrder(E_IP3, E_IP4);
        setTabOrder(E_IP4, CB_Update_Options);
        setTabOrder(CB_Update_Options, CB_Update_Option_Read_Back);
        setTabOrder(CB_Update_Option_Read_Back, CB_COM_Port);
        int bytes[4];
        if (!shell::App_State.Device_IP_Address.isEmpty() && Split_Address(shell::App_State.Device_IP_Address, bytes))
            for (int i = 0; i < 4; ++i)
                Box(i)->setText(QString::number(bytes[i]));
        remembered_options();
        E_IP1->setFocus();
    } else if (Form_Type == 0) {
        stack(P_Serial, kSerialHeight);
        stack(P_Options, kOptionsHeight);
        setTabOrder(CB_COM_Port, CB_Update_Options);
        setTabOrder(CB_Update_Options, CB_Update_Option_Read_Back);
        setTabOrder(CB_Update_Option_Read_Back, E_IP1);
        remembered_options();
        update_ComPort();
        CB_COM_Port->setFocus();
    }
    P_Buttons->setGeometry(0, top, kClientWidth, kButtonsHeight);
    SetClientSize(kClientWidth, top + kButtonsHeight);
}

bool TFBoot::FormCloseQuery()
{
    // The window stays while a ping run or the updater is under way.
    return !FBusy;
}

bool TFBoot::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        for (int i = 0; i < 4; ++i)
            if (watched == Box(i)) {
                const QString text = static_cast<QKeyEvent*>(event)->text();
                if (text.size() == 1 && !KeyPress(Box(i), text[0]))
                    return true;
                break;
            }
    }
    return platform::TForm::eventFilter(watched, event);
}

bool TFBoot::KeyPress(QLineEdit* Sender, QChar Key)
{
    if (Key != QLatin1Char('.'))
        return true;
    for (int i = 0; i < 3; ++i)
        if (Sender == Box(i)) {
            QLineEdit* next = Box(i + 1);
            // The next box is selected, so that typing replaces the byte it shows.
            if (next->isEnabled() && next->isVisibleTo(this)) {
                next->setFocus(Qt::TabFocusReason);
                next->selectAll();
            }
        }
    return false;
}

std::optional<quint32> TFBoot::IP_Boxes_Address() const
{
    quint32 address = 0;
    for (int i = 0; i < 4; ++i) {
        const std::optional<int> b = Address_Byte(Box(i)->text());
        if (!b)
            return std::nullopt;
        address = (address << 8) | quint32(*b);
    }
    return address;
}

void TFBoot::PingReply(int BytesReceived) { ping_res = BytesReceived > 0 ? 1 : 2; }

bool TFBoot::Send_Ping()
{
    ping_res = 0;
    const std::optional<quint32> address = IP_Boxes_Address();
    if (!address)
        return false;
    if (!Ping)
        Ping = std::make_unique<platform::IcmpEcho>(kEchoPacketSize);

    const platform::Clock& clock = platform::CurrentClock();
    const qint64 start = clock.NowMs();
    int answers = 0;
    try {
        for (;;) {
            const qint64 sent = clock.NowMs();
            Ping->Send_Echo(*address);
            // The reply is awaited in short slices, with the window's messages handled in between.
            int bytes = -1;
            while (bytes < 0 && clock.NowMs() - sent <= Ping_Try_Ms) {
                bytes = Ping->Wait_Reply(10);
                QCoreApplication::processEvents(QEventLoop::AllEvents);
            }
            PingReply(bytes);
            if (ping_res == 1)
                ++answers;
            if (answers >= 2 || clock.NowMs() - start > Ping_Total_Ms)
                break;
        }
    } catch (const platform::EchoUnavailable&) {
        // Not a fault of the address: the user must learn why no ping can be sent at all.
        throw;
    } catch (const platform::Exception&) {
        return false;
    }
    return ping_res == 1;
}

void TFBoot::Compile_XML_Parameter_New_Boot()
{
    const std::optional<quint32> address = IP_Boxes_Address();
    if (!address)
        throw platform::Exception(shell::Lang(1037));
    mqtt_image::Update_Job job;
    job.IP_Address = Dotted(*address);
    job.Option = CB_Update_Options->currentIndex();
    job.Read_Back = CB_Update_Option_Read_Back->isChecked();
    job.Master_Folder = shell::App_State.Master_Folder;
    job.Project_Folder = shell::App_State.Project_Folder;
    mqtt_image::Write_Update_Job(Job_Path(), job);
}

void TFBoot::Set_Controls_Enabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{E_IP1, E_IP2, E_IP3, E_IP4, CB_COM_Port, Btn_COM_List,
                                                      CB_Update_Options, CB_Update_Option_Read_Back, Btn_Cancel,
                                                      Btn_Update})
        w->setEnabled(enabled);
}

void TFBoot::Btn_UpdateClick()
{
    // A second click while a run is under way is ignored: the runs must not interleave.
    if (FBusy)
        return;
    platform::Guarded([this] { Run_Update(); });
}

void TFBoot::Run_Update()
{
    using platform::MessageDlg;
    using platform::TMsgDlgButtons;
    using platform::TMsgDlgType;

    if (Form_Type == 0) {
        shell::App_State.Update_Option = CB_Update_Options->currentIndex();
        shell::App_State.Update_Read_Back = CB_Update_Option_Read_Back->isChecked();
        return;
    }
    if (Form_Type != 1)
        return;

    const std::optional<quint32> address = IP_Boxes_Address();
    if (!address) {
        MessageDlg(shell::Lang(1037), TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
        return;
    }
    // The updater of an earlier update may still be reading its job: leave it alone.
    if (platform::LastProgramStillRunning()) {
        MessageDlg(QStringLiteral("The updater of the previous update is still running. "
                                  "Wait until it has finished, then start the update again."),
                   TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
        return;
    }
    // Everything the update needs is checked before the gateway is disturbed.
    const QString updater = Updater_Path();
    platform::Check_Program_Startable(updater);
    mqtt_image::Update_Job planned;
    planned.Option = CB_Update_Options->currentIndex();
    planned.Master_Folder = shell::App_State.Master_Folder;
    planned.Project_Folder = shell::App_State.Project_Folder;
    QStringList missing;
    for (const QString& file : mqtt_image::Update_Job_Files(planned))
        if (!platform::FileExists(file))
            missing << file;
    if (!missing.isEmpty())
        throw platform::Exception(QStringLiteral("The update cannot start: these files do not exist:\n%1")
                                      .arg(missing.join(QLatin1Char('\n'))));

    bool answered = false;
    {
        Busy_Scope busy(FBusy, [this](bool enabled) { Set_Controls_Enabled(enabled); });
        answered = Send_Ping();
        if (answered) {
            shell::App_State.Device_IP_Address = Dotted(*address);
            shell::App_State.Update_Option = CB_Update_Options->currentIndex();
            shell::App_State.Update_Read_Back = CB_Update_Option_Read_Back->isChecked();
            Compile_XML_Parameter_New_Boot();
            platform::Start_Program(updater, QString(), 0, Updater_Wait_Ms);
        }
    }
    if (answered)
        return;
    if (ping_res == 2)
        MessageDlg(shell::Lang(1036), TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    else
        MessageDlg(shell::Lang(1037), TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
}

void TFBoot::update_ComPort()
{
    CB_COM_Port->clear();
    for (const QString& n : shell::List_COM_Ports())
        CB_COM_Port->addItem(QStringLiteral("COM") + n);
    if (CB_COM_Port->count() > 0)
        CB_COM_Port->setCurrentIndex(0);
}
