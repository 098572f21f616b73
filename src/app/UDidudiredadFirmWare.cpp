#include "app/UDidudiredadFirmWare.h"

#include "app/ULanguageWindows.h"
#include "comm_params/UParGen.h"
#include "controls/buttons_pages/PicGlyphs.h"
#include "mqtt_image/UBoot.h"
#include "mqtt_image/UMQTT_Set_Topic.h"
#include "mqtt_image/USaveBincc.h"
#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "platform/Guard.h"
#include "platform/LabelSize.h"
#include "platform/Process.h"
#include "platform/StartProgram.h"
#include "platform/XmlDoc.h"
#include "protocols/building/UBACnetAccess.h"
#include "protocols/building/UBACnetSlaveSetAccess.h"
#include "protocols/building/UBACnet_EDE_File.h"
#include "protocols/building/UDALI_Access.h"
#include "protocols/building/UKNXAccess.h"
#include "protocols/building/USNMPManagerAccess.h"
#include "protocols/building/USNMP_MIB.h"
#include "protocols/building/USNMP_Trap_Access.h"
#include "protocols/fieldbus/UDMXDefVal.h"
#include "protocols/fieldbus/UDNet.h"
#include "protocols/fieldbus/UDefOffset.h"
#include "protocols/fieldbus/UEds.h"
#include "protocols/fieldbus/UMQTT_Set_Access.h"
#include "protocols/fieldbus/UProfibus_GSD.h"
#include "protocols/fieldbus/UProfinetFileName.h"
#include "protocols/fieldbus/UProfinetXML.h"
#include "protocols/fieldbus/UReceiveCAN.h"
#include "protocols/fieldbus/USet_PDO_Access.h"
#include "protocols/fieldbus/USet_SDO_Client_Access.h"
#include "protocols/fieldbus/USet_SDO_Server_Access.h"
#include "protocols/fieldbus/UTransmitCAN.h"
#include "protocols/mbus/UMeter_Bus.h"
#include "protocols/mbus/UScanDecode.h"
#include "shell/UAbout.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UNew_Project.h"
#include "shell/UOpenConf.h"
#include "shell/USettings.h"
#include "shell/USoftOptions.h"
#include "shell/UWindowList.h"
#include "shell/UWindowLook.h"

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>

TFDidudiredadFirmWare* FDidudiredadFirmWare() { return shell::Window<TFDidudiredadFirmWare>(); }

TFDidudiredadFirmWare::TFDidudiredadFirmWare(QWidget* parent) : platform::TForm(parent)
{
    using namespace shell;
    setModal(false);
    Style_Window(this);
    const QFont font = this->font();

    L_SW_Code = makeLabel(16, 8, false);
    QFont codeFont(QStringLiteral("Verdana"));
    codeFont.setPixelSize(32);
    L_SW_Code->setFont(codeFont);
    L_SW_Desc = makeLabel(16, 42, true);
    L_Begin = makeLabel(16, 84, true);
    Shape2 = new QFrame(this);
    Shape2->setFrameShape(QFrame::Box);
    Shape2->setGeometry(80, 70, 348, 36);
    L_Name_Conf = makeLabel(87, 75, false);
    // A long name ends in an ellipsis inside the frame, the whole name as its hint.
    L_Name_Conf_L2 = new shell::TNameLabel(this);
    L_Name_Conf_L2->setPalette(L_Name_Conf->palette());
    L_Name_Conf_L2->setGeometry(87, 88, Shape2->geometry().right() - 87 - 4, L_Name_Conf_L2->fontMetrics().height());

    Btn_Info = makeButton(516, 8, 50, 50);
    Btn_Opz = makeButton(574, 8, 50, 50);
    Btn_Close = makeButton(632, 8, 50, 50);
    Btn_Info->SetGlyph(controls::Glyph_Info(), 1);
    Btn_Opz->SetGlyph(controls::Glyph_Options(), 1);
    Btn_Close->SetGlyph(controls::Glyph_Close(), 1);

    for (int i = 0; i < 8; ++i) {
        L_Step[i] = makeLabel(16, 128 + 44 * i, true);
        L_Step[i]->hide();
    }
    auto* kelvor = new shell::TClickLabel(this);
    kelvor->setCursor(Qt::PointingHandCursor);
    kelvor->OnClick = [] { platform::OpenLink(shell::Maker_Home_Page); };
    L_Kelvor = kelvor;
    QFont bold = font;
    bold.setBold(true);
    L_Kelvor->setFont(bold);
    L_Kelvor->setPalette(L_Begin->palette());
    L_Kelvor->setText(Maker_Web_Name);
    platform::FitLabelToText(L_Kelvor);

    Btn_New = makeButton(80, 112, 170, 36);
    Btn_Open = makeButton(258, 112, 170, 36);
    Btn_Prm_Gen = makeButton(80, 156, 170, 36);
    Btn_MQTT_Set_Topic = makeButton(80, 200, 170, 36);
    Btn_CreateBin = makeButton(80, 244, 170, 36);

    // The family's other gateways: hidden in this product, nothing shows them again.
#define PROTOCOL_BUTTON(name) std::pair{&name, #name}
    const std::pair<controls::TPicButton**, const char*> protocol[] = {
        PROTOCOL_BUTTON(Btn_MBus), PROTOCOL_BUTTON(Btn_Modbus_Set_Access), PROTOCOL_BUTTON(Btn_MQTT_Set_Access),
        PROTOCOL_BUTTON(Btn_CAN_Rec_Frame), PROTOCOL_BUTTON(Btn_CAN_Send_Frame), PROTOCOL_BUTTON(Btn_PDO_CANopen),
        PROTOCOL_BUTTON(Btn_SDO_Client_CANopen), PROTOCOL_BUTTON(Btn_SDO_Server_CANopen),
        PROTOCOL_BUTTON(Btn_CANopen_EDS), PROTOCOL_BUTTON(Btn_DNet_Net), PROTOCOL_BUTTON(Btn_DNet_Offset),
        PROTOCOL_BUTTON(Btn_PROFINET_XML), PROTOCOL_BUTTON(Btn_PROFIBUS_GSD), PROTOCOL_BUTTON(Btn_DMX_Default),
        PROTOCOL_BUTTON(Btn_KNX_Access), PROTOCOL_BUTTON(Btn_SNMP_Trap), PROTOCOL_BUTTON(Btn_SNMP_MIB),
        PROTOCOL_BUTTON(Btn_SNMP_Manager_Access), PROTOCOL_BUTTON(Btn_BACnet_SetAccess),
        PROTOCOL_BUTTON(Btn_BACnet_EDE_File), PROTOCOL_BUTTON(Btn_BACnet_Access), PROTOCOL_BUTTON(Btn_DALI_Access),
        PROTOCOL_BUTTON(Btn_ScanDecode)};
#undef PROTOCOL_BUTTON
    for (auto [b, name] : protocol) {
        *b = makeButton(80, 288, 170, 36);
        (*b)->setObjectName(QLatin1String(name));
        (*b)->hide();
    }
    for (auto [b, name] : {std::pair{Btn_New, "Btn_New"}, std::pair{Btn_Open, "Btn_Open"},
                           std::pair{Btn_Prm_Gen, "Btn_Prm_Gen"}, std::pair{Btn_MQTT_Set_Topic, "Btn_MQTT_Set_Topic"},
                           std::pair{Btn_CreateBin, "Btn_CreateBin"}, std::pair{Btn_Info, "Btn_Info"},
                           std::pair{Btn_Opz, "Btn_Opz"}, std::pair{Btn_Close, "Btn_Close"}})
        b->setObjectName(QLatin1String(name));
    Btn_MQTT_Set_Access->SetCaption(QStringLiteral("MQTT Set Access"));
    Btn_ScanDecode->SetCaption(QStringLiteral("Scan & Decode"));
    Btn_BACnet_Access->SetCaption(QStringLiteral("BACnet Client Access"));

    LL_Update = new shell::TClickLabel(this);
    LL_Update->setGeometry(208, 19, 300, 16);
    LL_Update->setCursor(Qt::PointingHandCursor);
    static_cast<shell::TClickLabel*>(LL_Update)->OnClick = [] { platform::OpenLink(shell::Version_Page_Link()); };
    LL_Update->hide();
    // The one label whose mark-up is ours: a link around an escaped text.
    LL_Update->setTextFormat(Qt::RichText);

    for (int i = 0; i < 4; ++i)
        L_Step[i]->show();
    L_Kelvor->move(565, L_Step[3]->y());
    Btn_MQTT_Set_Topic->move(80, 200);
    Btn_CreateBin->move(80, 244);
    Shape1 = new QFrame(this);
    Shape1->setFrameShape(QFrame::HLine);
    Shape1->setGeometry(10, Btn_CreateBin->y() + 51, 674, 1);
    SetClientSize(694, Btn_CreateBin->y() + 152);

    // Folders beside the program; a failed creation shows up later where a file is needed.
    App_State.Exe_Folder = Program_Folder();
    App_State.Master_Folder = App_State.Exe_Folder + QStringLiteral("/MASTER");
    if (!platform::DirectoryExists(App_State.Master_Folder))
        platform::CreateDir(App_State.Master_Folder);
    App_State.Projects_Folder = App_State.Exe_Folder + QStringLiteral("/PROJECTS");
    if (!platform::DirectoryExists(App_State.Projects_Folder))
        platform::CreateDir(App_State.Projects_Folder);
    App_State.Language_Folder = App_State.Exe_Folder + QStringLiteral("/LANGUAGE");
    if (!platform::DirectoryExists(App_State.Language_Folder))
        platform::CreateDir(App_State.Language_Folder);

    App_State.Active_Conf_Name.clear();
    App_State.Update_Read_Back = true;
    const QString settingsError = Read_Settings(App_State.Exe_Folder + QLatin1Char('/') + Settings_File_Name);

    Timer_Update = new TVersion_Timer(this);
    Timer_Update->On_Result = [this](bool newer) {
        if (newer)
            Set_Update_Link_Text();
        LL_Update->setVisible(newer);
    };
    Update_Timer_Switch();
    App_State.Main_Title = Maker_Web_Name + QStringLiteral(" - Configurator ") + SW_Code_Value +
                           QStringLiteral(" - Modbus TCP Slave / MQTT ");
    App_State.SW_Code = SW_Code_Value;
    App_State.SW_Desc = SW_Desc_Value;
    SetCaption(App_State.Main_Title);
    L_SW_Code->setText(App_State.SW_Code);
    platform::FitLabelToText(L_SW_Code);
    L_SW_Desc->setText(App_State.SW_Desc);
    platform::FitLabelToText(L_SW_Desc);

    Load_Language();

    // Reopen the last configuration when its folder is still there; a name that is not a plain
    // folder of PROJECTS is never opened, but is kept so that the settings file keeps it.
    App_State.Project_Folder.clear();
    const QString remembered = App_State.Active_Conf_Name;
    if (Is_Plain_Conf_Name(remembered) && platform::DirectoryExists(Configuration_Folder(remembered)))
        App_State.Project_Folder = Configuration_Folder(remembered);

    buildStepTable();
    Set_Lang();
    Set_Files();
    applyButtonLook();
    App_State.Copy_Row_Buffer.clear();
    App_State.MIB_Read_Objects.clear();
    App_State.MIB_Write_Objects.clear();

    if (!settingsError.isEmpty())
        QTimer::singleShot(0, this, [settingsError] {
            platform::MessageDlg(settingsError + QStringLiteral("\nThe program starts with the default settings."),
                                 platform::TMsgDlgType::mtWarning, platform::TMsgDlgButtons::mbOK);
        });
}

void TFDidudiredadFirmWare::applyButtonLook()
{
    shell::Apply_Window_Look(this);
    // The picture-only buttons and "Set Communication" keep the plain style; the step buttons
    // align their captions left, and the configuration steps light up sky blue.
    for (controls::TPicButton* b : {Btn_Info, Btn_Opz, Btn_Close, Btn_Prm_Gen})
        b->SetStyle(controls::bsNormal);
    for (const Step_Button& step : Steps)
        if (step.Button->width() == 170)
            step.Button->SetAlignment(platform::taLeftJustify);
    for (controls::TPicButton* b : {Btn_Prm_Gen, Btn_MQTT_Set_Topic, Btn_CreateBin})
        b->SetHotTrackColor(platform::clSkyBlue);
}

controls::TPicButton* TFDidudiredadFirmWare::makeButton(int left, int top, int width, int height)
{
    auto* b = new controls::TPicButton(this);
    b->SetBounds(left, top, width, height);
    b->OnClick = [this, b] { Btn_Click(b); };
    return b;
}

QLabel* TFDidudiredadFirmWare::makeLabel(int left, int top, bool bold)
{
    auto* l = new QLabel(this);
    l->move(left, top);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, shell::Grey_Text);
    l->setPalette(p);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

void TFDidudiredadFirmWare::buildStepTable()
{
    using namespace shell;
    auto show = [](auto* window) { return [window] { window()->ShowModal(); }; };
    Steps = {
        {Btn_New, 15, 22, true, [this] {
             if (Create_New_Project())
                 Set_Conf_Labels();
         }},
        {Btn_Open, 16, 23, true, [this] {
             if (Open_Project())
                 Set_Conf_Labels();
         }},
        {Btn_Close, -1, 14, true, [this] { close(); }},
        {Btn_Info, -1, 12, true, show(FAbout)},
        {Btn_Opz, -1, 13, true,
         [this] {
             TFSoftOptions* options = FSoftOptions();
             options->On_Language_Changed = [this] { Change_Language(); };
             if (options->ShowModal() == platform::mrOk) {
                 Save_Setting();
                 Update_Timer_Switch();
             }
         }},
        {Btn_Prm_Gen, 20, 24, false, show(FParGen)},
        {Btn_MQTT_Set_Topic, 21, 25, false, show(FMQTT_Set_Topic)},
        {Btn_MBus, 27, 28, false, show(FMeter_Bus)},
        {Btn_Modbus_Set_Access, 29, 30, false, [] {}},
        {Btn_MQTT_Set_Access, -1, -1, false, show(FMQTT_Set_Access)},
        {Btn_CAN_Rec_Frame, 31, 32, false, show(FReceiveCAN)},
        {Btn_CAN_Send_Frame, 33, 34, false, show(FTransmitCAN)},
        {Btn_PDO_CANopen, 39, 40, false, show(FSet_PDO_Access)},
        {Btn_SDO_Client_CANopen, 37, 38, false, show(FSet_SDO_Client_Access)},
        {Btn_SDO_Server_CANopen, 35, 36, false, show(FSet_SDO_Server_Access)},
        {Btn_CANopen_EDS, 41, 42, false, [this] { Build_EDS_File(); }},
        {Btn_DNet_Net, 45, 46, false, show(FDNet)},
        {Btn_DNet_Offset, 47, 48, false, show(FDefOffset)},
        {Btn_CreateBin, 17, 26, false, [this] { Update_Device(); }},
        {Btn_PROFINET_XML, 50, 51, false, [this] { PROFINET_XML(); }},
        {Btn_PROFIBUS_GSD, 52, 53, false, [] { Save_GSD_File(); }},
        {Btn_DMX_Default, 56, 57, false, show(FDMXDefVal)},
        {Btn_KNX_Access, 58, 59, false, show(FKNXAccess)},
        {Btn_SNMP_Trap, 60, 61, false, show(FSNMP_Trap_Access)},
        {Btn_SNMP_MIB, 62, 63, false, [] { Save_MIB_File(); }},
        {Btn_SNMP_Manager_Access, 64, 65, false, show(FSNMPManagerAccess)},
        {Btn_BACnet_SetAccess, 66, 67, false, show(FBACnetSlaveSetAccess)},
        {Btn_BACnet_EDE_File, 68, 69, false, [this] { BACnet_EDE_File(); }},
        {Btn_BACnet_Access, -1, -1, false, show(FBACnetAccess)},
        {Btn_DALI_Access, 71, 72, false, show(FDALI_Access)},
        {Btn_ScanDecode, -1, -1, false, [this] { Scan_And_Decode(); }},
    };
}

void TFDidudiredadFirmWare::Btn_Click(controls::TPicButton* Sender)
{
    for (const Step_Button& step : Steps) {
        if (step.Button != Sender)
            continue;
        if (!step.Always && shell::App_State.Project_Folder.isEmpty()) {
            platform::MessageDlg(shell::Lang(18), platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
            return;
        }
        platform::Guarded(step.Action);
        return;
    }
}

bool TFDidudiredadFirmWare::Press_Step(const QString& name)
{
    for (const Step_Button& step : Steps) {
        if (step.Button->objectName() != name)
            continue;
        Btn_Click(step.Button);
        return true;
    }
    return false;
}

void TFDidudiredadFirmWare::Press_Step_From_Environment()
{
    const QString name = qEnvironmentVariable(Step_Variable);
    if (name.isEmpty() || Press_Step(name))
        return;
    platform::MessageDlg(QStringLiteral("%1 names \"%2\", which is no step button of the main window.")
                             .arg(QLatin1String(Step_Variable), name),
                         platform::TMsgDlgType::mtWarning, platform::TMsgDlgButtons::mbOK);
}

void TFDidudiredadFirmWare::Set_Conf_Labels()
{
    if (!shell::App_State.Project_Folder.isEmpty()) {
        L_Name_Conf->setText(shell::Lang(11));
        L_Name_Conf_L2->SetName(shell::App_State.Active_Conf_Name);
    } else {
        L_Name_Conf->setText(shell::Lang(9));
        L_Name_Conf_L2->SetName(shell::Lang(10));
    }
    platform::FitLabelToText(L_Name_Conf);
}

void TFDidudiredadFirmWare::Set_Lang()
{
    using shell::Lang;
    L_Begin->setText(Lang(0));
    platform::FitLabelToText(L_Begin);
    for (int i = 0; i < 8; ++i) {
        L_Step[i]->setText(Lang(1 + i));
        platform::FitLabelToText(L_Step[i]);
    }
    for (const Step_Button& step : Steps) {
        if (step.Caption >= 0)
            step.Button->SetCaption(Lang(step.Caption));
        if (step.Hint >= 0)
            step.Button->SetHint(Lang(step.Hint));
    }
    if (!LL_Update->isHidden())
        Set_Update_Link_Text();
    Set_Conf_Labels();
}

void TFDidudiredadFirmWare::Set_Update_Link_Text()
{
    // A rich-text label builds a whole text document; the link's text is set only when it shows.
    LL_Update->setText(QStringLiteral("<a href=\"#\">%1</a>").arg(shell::Lang(19).toHtmlEscaped()));
}

void TFDidudiredadFirmWare::reject()
{
    // Escape does not close the main window; its close box and Btn_Close do.
}

void TFDidudiredadFirmWare::Set_Files() { shell::Set_Files(); }

void TFDidudiredadFirmWare::Save_Setting()
{
    shell::Write_Settings(shell::App_State.Exe_Folder + QLatin1Char('/') + shell::Settings_File_Name);
}

void TFDidudiredadFirmWare::FormClose()
{
    // The program closes all the same; the user learns that the settings were not kept.
    try {
        Save_Setting();
    } catch (const platform::Exception& e) {
        platform::MessageDlg(e.message() + QStringLiteral("\nThe settings of this session were not saved."),
                             platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
    }
}

void TFDidudiredadFirmWare::Change_Language()
{
    Set_Lang();
    for (std::type_index type : Language_Windows())
        if (platform::TForm* w = shell::Window_List().Find(type))
            w->Set_Lang();
}

void TFDidudiredadFirmWare::Update_Timer_Switch()
{
    Timer_Update->Set_Enabled(shell::App_State.Opt_Enable_Internet && shell::App_State.Opt_Enable_Update);
}

void TFDidudiredadFirmWare::Start_Program(const QString& NomeSW, const QString& Parameter, unsigned char tipo)
{
    platform::Start_Program(NomeSW, Parameter, tipo);
}

void TFDidudiredadFirmWare::Update_Device()
{
    // The images are rebuilt on every click; a build or write failure stops before the update
    // window, so that images of an earlier build are never sent.
    const shell::TApp_State& state = shell::App_State;
    const mqtt_image::TBin_Banks banks = mqtt_image::Compile_Bin_Banks(state.File_ParGen, state.File_MQTT_Set_Topic);
    mqtt_image::Write_Bin_Banks(shell::App_State.Project_Folder, banks);
    TFBoot* boot = FBoot();
    boot->Form_Type = 1;
    boot->ShowModal();
}

void TFDidudiredadFirmWare::Build_EDS_File() { Save_EDS_File(); }

void TFDidudiredadFirmWare::PROFINET_XML()
{
    TFProfinetFileName* dialog = FProfinetFileName();
    if (dialog->ShowModal() == platform::mrOk)
        Save_PROFINET_XML(dialog->Name_File_XML);
}

void TFDidudiredadFirmWare::BACnet_EDE_File()
{
    platform::FileDialogRequest request;
    request.Save = true;
    request.InitialFolder = shell::App_State.Project_Folder;
    request.Filter = QStringLiteral("CSV (MS-DOS) (*.csv)|*.csv");
    QString file = platform::PromptForFileName(request);
    if (file.isEmpty())
        return;
    if (file.right(4).toUpper() != QLatin1String(".CSV"))
        file += QStringLiteral(".csv");
    if (platform::FileExists(file) &&
        platform::MessageDlg(shell::Lang(70), platform::TMsgDlgType::mtConfirmation,
                             platform::TMsgDlgButtons::mbYesNoCancel) != platform::mrYes)
        return;
    Write_EDE_File(file);
}

void TFDidudiredadFirmWare::Scan_And_Decode()
{
    if (platform::FileExists(shell::App_State.File_M_Bus) &&
        platform::MessageDlg(shell::Lang(49), platform::TMsgDlgType::mtWarning, platform::TMsgDlgButtons::mbYesNo) ==
            platform::mrNo)
        return;
    TFScanDecode* scan = FScanDecode();
    scan->XML_Code_Dev = shell::Get_XML_Code_Dev();
    scan->FileName_MBus = shell::App_State.File_M_Bus;
    scan->Form_Type = shell::Get_Scan_Form_Type();
    scan->ShowModal();
}

int TFDidudiredadFirmWare::Get_Type_BACnet() const
{
    if (!platform::FileExists(shell::App_State.File_ParGen))
        return 0;
    platform::XmlDocument doc;
    try {
        doc.LoadFromFile(shell::App_State.File_ParGen);
    } catch (const platform::Exception&) {
        return 0;
    }
    bool ok = false;
    const int value = doc.DocumentElement().ChildByName(QStringLiteral("BACnet_Type")).Text().trimmed().toInt(&ok);
    return ok ? value : 0;
}
