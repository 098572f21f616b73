#include "platform/Exception.h"
#include "platform/Guard.h"
#include "platform/Process.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"
#include "shell/UComon.h"
#include "app/UDidudiredadFirmWare.h"
#include "app/UForms.h"
#include "shell/ULanguage.h"
#include "shell/USettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTimer>
#include <gtest/gtest.h>

using namespace shell;

namespace {
// A program folder of its own for every test, with all windows created in it.
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override { Set_Program_Folder(Dir.Path()); }
    void Start() { Forms = Create_Application_Forms(); }
    TFDidudiredadFirmWare& Main() { return *FDidudiredadFirmWare; }
    void WriteSettings(const QString& conf)
    {
        Dir.Write(Settings_File_Name, "<Conf_Settings><lastproj><projectname>" + conf.toUtf8() +
                                          "</projectname></lastproj></Conf_Settings>");
    }

    TempDir Dir;
    ScriptedMessages Messages;
    Application_Forms Forms;
};
}  // namespace

TEST_F(MainWindow, FirstStartInAnEmptyFolder)
{
    Start();
    for (const char* folder : {"MASTER", "PROJECTS", "LANGUAGE"})
        EXPECT_TRUE(QFileInfo(Dir.File(folder)).isDir()) << folder;
    EXPECT_EQ(Main().size(), QSize(694, 396));
    EXPECT_EQ(Main().L_Name_Conf->text(), QStringLiteral("None Configuration Opened "));
    EXPECT_EQ(Main().L_Name_Conf_L2->text(), QStringLiteral("Use Step1 to open or create new configuration"));
    EXPECT_EQ(Language_Name, QStringLiteral("English"));
    EXPECT_FALSE(Main().Timer_Update->Enabled());
    EXPECT_TRUE(Project_Folder.isEmpty());
    EXPECT_EQ(File_ParGen, QStringLiteral("/ParGen.xml"));
    EXPECT_TRUE(Messages.Shown().empty());
}

TEST_F(MainWindow, CreatesTheFortyWindowsInOrder)
{
    Start();
    const char* expected[] = {
        "TFDidudiredadFirmWare", "TFParGen", "TFNew_Project", "TFOpenConf", "TFAbout", "TFSoftOptions",
        "TFMQTT_Set_Topic", "TFMeter_Bus", "TFNewIDNode", "TFBoot", "TFSetAccess", "TFMQTT_Set_Access",
        "TFMQTT_SetAccess_Eth", "TFTopicTemplate", "TFModbus_TCP_Master_Set_Access", "TFReceiveCAN",
        "TFTransmitCAN", "TFSet_PDO_Access", "TFSet_SDO_Client_Access", "TFSet_SDO_Server_Access",
        "TFReceiveJ1939", "TFTransmitJ1939", "TFDNet", "TFDefOffset", "TFScanDecode", "TFInsertKeyWireless",
        "TFScanModbusStart", "TFModbusStartAdd_SD", "TFProfinetFileName", "TFReceiveNMEA", "TFTransmitNMEA",
        "TFDMXDefVal", "TFKNXAccess", "TFSNMP_Trap_Access", "TFSNMPManagerAccess", "TFBACnetSlaveSetAccess",
        "TFBACnet_Eng_Unit", "TFDALI_Access", "TFBACnetAccess", "TFImportEDEFile"};
    ASSERT_EQ(Forms.Windows.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_STREQ(Forms.Windows[i]->metaObject()->className(), expected[i]) << i;
}

TEST_F(MainWindow, ShowsTheFiveStepsAndThreePictureButtons)
{
    Start();
    TFDidudiredadFirmWare& m = Main();
    const struct {
        controls::TPicButton* Button;
        QRect Place;
        const char* Caption;
        const char* Hint;
    } shown[] = {
        {m.Btn_New, {80, 112, 170, 36}, "New Configuration", "Create a new configuration for the device"},
        {m.Btn_Open, {258, 112, 170, 36}, "Open Configuration", "Open an exists configuration"},
        {m.Btn_Prm_Gen, {80, 156, 170, 36}, "Set Communication", "Set the main parameters of Protocols"},
        {m.Btn_MQTT_Set_Topic, {80, 200, 170, 36}, "MQTT Set Topic", "Set the Topics for MQTT"},
        {m.Btn_CreateBin, {80, 244, 170, 36}, "Update Device UDP",
         "Update the actual Firmware and/or Configuration in the device"},
        {m.Btn_Info, {516, 8, 50, 50}, "", "Information"},
        {m.Btn_Opz, {574, 8, 50, 50}, "", "Options"},
        {m.Btn_Close, {632, 8, 50, 50}, "", "Close Configurator"},
    };
    for (const auto& b : shown) {
        EXPECT_TRUE(b.Button->isVisibleTo(&m)) << b.Caption;
        EXPECT_EQ(b.Button->geometry(), b.Place) << b.Caption;
        EXPECT_EQ(b.Button->Caption(), QString::fromUtf8(b.Caption));
        EXPECT_EQ(b.Button->Hint(), QString::fromUtf8(b.Hint));
    }
    int hiddenButtons = 0;
    for (auto* b : m.findChildren<controls::TPicButton*>())
        hiddenButtons += b->isVisibleTo(&m) ? 0 : 1;
    EXPECT_EQ(hiddenButtons, 22);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(m.L_Step[i]->isVisibleTo(&m), i < 4) << i;
    EXPECT_EQ(m.L_Step[3]->text(), QStringLiteral("Step 4"));
    EXPECT_EQ(m.L_Kelvor->y(), 260);
    EXPECT_EQ(m.Shape1->geometry(), QRect(10, 295, 674, 1));
    EXPECT_FALSE(m.LL_Update->isVisibleTo(&m));
    EXPECT_TRUE(m.Caption().endsWith(QStringLiteral(" - Modbus TCP Slave / MQTT ")));
    EXPECT_EQ(m.L_SW_Desc->text(), QStringLiteral("Rodudi RAZ Adezo / VEZE - Revazorov"));
}

TEST_F(MainWindow, StepsNeedAnOpenConfiguration)
{
    Start();
    for (controls::TPicButton* b : {Main().Btn_Prm_Gen, Main().Btn_MQTT_Set_Topic, Main().Btn_CreateBin}) {
        Messages.Clear();
        b->Click();
        ASSERT_EQ(Messages.Shown().size(), 1u);
        EXPECT_EQ(Messages.LastText(), QStringLiteral("Error! Project not Valid"));
        EXPECT_EQ(Messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
    }
    EXPECT_FALSE(QFileInfo::exists(Dir.File(QStringLiteral("PROJECTS/bin"))));
}

TEST_F(MainWindow, ReopensTheRememberedConfiguration)
{
    QDir(Dir.Path()).mkpath(QStringLiteral("PROJECTS/Plant A"));
    WriteSettings(QStringLiteral("Plant A"));
    Start();
    EXPECT_EQ(Project_Folder, Dir.File(QStringLiteral("PROJECTS/Plant A")));
    EXPECT_EQ(Main().L_Name_Conf->text(), QStringLiteral("Opened Configuration of the Converter : "));
    EXPECT_EQ(Main().L_Name_Conf_L2->text(), QStringLiteral("Plant A"));
    EXPECT_EQ(File_MQTT_Set_Topic, Dir.File(QStringLiteral("PROJECTS/Plant A/MQTT_Set_Topic.xml")));
}

TEST_F(MainWindow, RemembersAConfigurationWhoseFolderIsGoneOrUnsafe)
{
    QDir(Dir.Path()).mkpath(QStringLiteral("outside"));
    for (const QString& name : {QStringLiteral("Deleted"), QStringLiteral("../outside"), QStringLiteral("..")}) {
        WriteSettings(name);
        Start();
        EXPECT_TRUE(Project_Folder.isEmpty()) << name.toStdString();
        EXPECT_EQ(Main().L_Name_Conf->text(), QStringLiteral("None Configuration Opened "));
        Main().close();
        Set_Program_Folder(Dir.Path());
        Read_Settings(Dir.File(Settings_File_Name));
        EXPECT_EQ(Active_Conf_Name, name);
        Forms = Application_Forms();
    }
}

TEST_F(MainWindow, ClosingWritesTheSettingsAndSurvivesAWriteFailure)
{
    Start();
    Device_IP_Address = QStringLiteral("10.1.2.3");
    Main().close();
    EXPECT_TRUE(Dir.Read(Settings_File_Name).contains("<ipaddress>10.1.2.3</ipaddress>"));
    EXPECT_TRUE(Messages.Shown().empty());

    Forms = Application_Forms();
    QFile::remove(Dir.File(Settings_File_Name));
    QDir(Dir.Path()).mkdir(Settings_File_Name);
    Start();
    Main().close();
    ASSERT_EQ(Messages.Shown().size(), 1u);
    EXPECT_TRUE(Messages.LastText().contains(Settings_File_Name));
    EXPECT_FALSE(Main().isVisible());
}

TEST_F(MainWindow, MalformedSettingsAreReportedAndDefaultsUsed)
{
    Dir.Write(Settings_File_Name, "<Conf_Settings><lastlang>");
    Start();
    EXPECT_EQ(Language_Name, QStringLiteral("English"));
    QCoreApplication::processEvents();
    ASSERT_EQ(Messages.Shown().size(), 1u);
    EXPECT_EQ(Messages.Shown()[0].Type, platform::TMsgDlgType::mtWarning);
}

TEST_F(MainWindow, LanguageChangeReappliesTexts)
{
    Start();
    Dir.Write(QStringLiteral("LANGUAGE/Italiano.lng"), "STR15 = Nuova Configurazione\nSTR9 = Nessuna\n");
    Language_Name = QStringLiteral("Italiano");
    Load_Language();
    Main().Change_Language();
    EXPECT_EQ(Main().Btn_New->Caption(), QStringLiteral("Nuova Configurazione"));
    EXPECT_EQ(Main().L_Name_Conf->text(), QStringLiteral("Nessuna"));
}

TEST_F(MainWindow, ErrorsInHandlersAreShownAndTheProgramGoesOn)
{
    Start();
    platform::Guarded([] { throw platform::Exception(QStringLiteral("boom")); });
    ASSERT_EQ(Messages.Shown().size(), 1u);
    EXPECT_EQ(Messages.LastText(), QStringLiteral("boom"));
}

TEST_F(MainWindow, StartProgramRunsAndReportsWhatCannotStart)
{
    Start();
    Dir.Write(QStringLiteral("quick.sh"), "#!/bin/sh\necho \"$1\" > \"$(dirname \"$0\")/ran\"\n");
    QFile::setPermissions(Dir.File(QStringLiteral("quick.sh")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    Main().Start_Program(Dir.File(QStringLiteral("quick.sh")), QStringLiteral("hello"), 0);
    EXPECT_EQ(Dir.Read(QStringLiteral("ran")), QByteArray("hello\n"));

    try {
        Main().Start_Program(Dir.File(QStringLiteral("none.exe")), QString(), 0);
        FAIL() << "a program that cannot start must be reported";
    } catch (const platform::Exception& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("none.exe")));
    }
}

TEST_F(MainWindow, RendersTheLightBackgroundAndTheButtons)
{
    Start();
    Main().show();
    const QImage image = Main().grab().toImage();
    EXPECT_EQ(image.size(), QSize(694, 396));
    EXPECT_EQ(QColor(image.pixel(690, 390)), QColor(248, 247, 237));
    // The step button face differs from the window background.
    EXPECT_NE(QColor(image.pixel(81, 113)), QColor(248, 247, 237));
    if (const QByteArray out = qgetenv("CONF_SCREENSHOT_DIR"); !out.isEmpty())
        image.save(QString::fromLocal8Bit(out) + QStringLiteral("/main_window.png"));
}

TEST_F(MainWindow, ReachableWindowsRenderAtTheirSizes)
{
    QDir(Dir.Path()).mkpath(QStringLiteral("PROJECTS/Plant A/bin"));
    WriteSettings(QStringLiteral("Plant A"));
    Start();
    const struct {
        platform::TForm* Window;
        const char* Name;
        QSize Size;  // empty: sized by its contents
    } windows[] = {
        {FNew_Project, "new_project", {331, 162}}, {FOpenConf, "open_conf", {377, 351}},
        {FAbout, "about", {425, 148}},             {FSoftOptions, "soft_options", {509, 373}},
        {FParGen, "par_gen", {}},                  {FBoot, "boot", {449, 230}},
    };
    const QByteArray out = qgetenv("CONF_SCREENSHOT_DIR");
    for (const auto& w : windows) {
        // Shown the way the program shows it, so that its show handler lays it out.
        QImage image;
        QTimer::singleShot(0, w.Window, [&] {
            image = w.Window->grab().toImage();
            w.Window->SetModalResult(platform::mrCancel);
        });
        w.Window->ShowModal();
        if (!w.Size.isEmpty())
            EXPECT_EQ(image.size(), w.Size) << w.Name;
        if (!out.isEmpty())
            image.save(QString::fromLocal8Bit(out) + QLatin1Char('/') + QLatin1String(w.Name) + QStringLiteral(".png"));
    }
}

namespace {
// Runs action once the next modal window is up, then lets the test go on.
void whenShown(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }
}  // namespace

TEST_F(MainWindow, OptionsOkSavesAtOnceAndSwitchesTheVersionTimer)
{
    Start();
    whenShown([] {
        FSoftOptions->CB_En_Con->setChecked(true);
        FSoftOptions->CB_Update->setChecked(true);
        FSoftOptions->Btn_Cancel->Click();
    });
    Main().Btn_Opz->Click();
    EXPECT_FALSE(Opt_Enable_Internet);
    EXPECT_FALSE(Main().Timer_Update->Enabled());
    EXPECT_FALSE(QFile::exists(Dir.File(Settings_File_Name)));

    whenShown([] {
        FSoftOptions->CB_En_Con->setChecked(true);
        FSoftOptions->CB_Update->setChecked(true);
        FSoftOptions->Btn_OK->Click();
    });
    Main().Btn_Opz->Click();
    EXPECT_TRUE(Opt_Enable_Internet && Opt_Enable_Update);
    EXPECT_TRUE(Main().Timer_Update->Enabled());
    EXPECT_TRUE(Dir.Read(Settings_File_Name).contains("<enable_update>1</enable_update>"));
}

TEST_F(MainWindow, NewConfigurationOpensItAndMovesThePaths)
{
    Start();
    whenShown([] {
        FNew_Project->E_New_Proj->setText(QStringLiteral("Line 1"));
        FNew_Project->Btn_OK->Click();
    });
    Main().Btn_New->Click();
    const QString folder = Dir.File(QStringLiteral("PROJECTS/Line 1"));
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/bin")).isDir());
    EXPECT_EQ(Project_Folder, folder);
    EXPECT_EQ(File_ParGen, folder + QStringLiteral("/ParGen.xml"));
    EXPECT_EQ(Main().L_Name_Conf->text(), QStringLiteral("Opened Configuration of the Converter : "));
    EXPECT_EQ(Main().L_Name_Conf_L2->text(), QStringLiteral("Line 1"));
}

TEST_F(MainWindow, UpdateDeviceWritesBothImagesBeforeTheUpdateWindow)
{
    const QString folder = Dir.File(QStringLiteral("PROJECTS/Plant A"));
    QDir(Dir.Path()).mkpath(QStringLiteral("PROJECTS/Plant A/bin"));
    Dir.Write(QStringLiteral("PROJECTS/Plant A/MQTT_Set_Topic.xml"),
              "<MQTT_Set_Topic><MQTT_Publish/><MQTT_Subscribe/></MQTT_Set_Topic>");
    WriteSettings(QStringLiteral("Plant A"));
    Start();
    bool updateWindowShown = false;
    whenShown([&] {
        updateWindowShown = FBoot->isVisible();
        FBoot->Btn_Cancel->Click();
    });
    Main().Btn_CreateBin->Click();
    EXPECT_TRUE(Messages.Shown().empty()) << Messages.LastText().toStdString();
    EXPECT_TRUE(updateWindowShown);
    EXPECT_EQ(QFileInfo(folder + QStringLiteral("/bin/bank1.bin")).size(), 2048);
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/bin/bank2.bin")));
}

TEST_F(MainWindow, UpdateDeviceStopsAtABuildErrorAndWritesNothing)
{
    const QString folder = Dir.File(QStringLiteral("PROJECTS/Plant A"));
    QDir(Dir.Path()).mkpath(QStringLiteral("PROJECTS/Plant A/bin"));
    Dir.Write(QStringLiteral("PROJECTS/Plant A/MQTT_Set_Topic.xml"), "<MQTT_Set_Topic><MQTT_Publish>");
    WriteSettings(QStringLiteral("Plant A"));
    Start();
    bool updateWindowShown = false;
    whenShown([&] {
        updateWindowShown = FBoot->isVisible();
        if (updateWindowShown)
            FBoot->Btn_Cancel->Click();
    });
    Main().Btn_CreateBin->Click();
    ASSERT_EQ(Messages.Shown().size(), 1u);
    EXPECT_TRUE(Messages.LastText().contains(QStringLiteral("MQTT_Set_Topic.xml")));
    EXPECT_FALSE(updateWindowShown);
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/bin/bank1.bin")));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/bin/bank2.bin")));
}
