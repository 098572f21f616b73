#include "app/UDidudiredadFirmWare.h"
#include "app/UForms.h"
#include "mqtt_image/UBoot.h"
#include "platform/Exception.h"
#include "platform/Guard.h"
#include "platform/Process.h"
#include "shell/UAbout.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UNew_Project.h"
#include "shell/UOpenConf.h"
#include "shell/USettings.h"
#include "shell/USoftOptions.h"
#include "shell/UWindowList.h"
#include "comm_params/UParGen.h"
#include "support/Deferred.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace shell;

namespace {
// A program folder of its own for every test and a fresh application state; the windows go when
// the test ends.
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        App_State = {};
        Set_Program_Folder(Dir.Path());
    }
    void TearDown() override
    {
        // Actions whose window never opened are dropped here, never run in a later test.
        Deferred.reset();
    }
    void Start() { FDidudiredadFirmWare(); }
    TFDidudiredadFirmWare& Main() { return *FDidudiredadFirmWare(); }
    void WriteSettings(const QString& conf)
    {
        Dir.Write(Settings_File_Name, "<Conf_Settings><lastproj><projectname>" + conf.toUtf8() +
                                          "</projectname></lastproj></Conf_Settings>");
    }
    // Runs action from inside the next event loop, the one of a modal window about to open.
    void InNextLoop(std::function<void()> action) { Later(Deferred.get(), std::move(action)); }
    // Scripts the OK answers of the message boxes a test expects.
    void ExpectBoxes(int count)
    {
        for (int i = 0; i < count; ++i)
            Messages.QueueAnswer(platform::mrOk);
    }

    TempDir Dir;
    ScriptedMessages Messages;
    std::unique_ptr<QObject> Deferred = std::make_unique<QObject>();
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
    EXPECT_EQ(App_State.Language_Name, QStringLiteral("English"));
    EXPECT_FALSE(Main().Timer_Update->Enabled());
    EXPECT_TRUE(App_State.Project_Folder.isEmpty());
    EXPECT_EQ(App_State.File_ParGen, QStringLiteral("/ParGen.xml"));
    EXPECT_TRUE(Messages.Shown().empty());
}

TEST_F(MainWindow, OnlyTheMainWindowExistsAtStartTheOthersComeWhenFirstShown)
{
    Start();
    ASSERT_EQ(Window_List().Windows().size(), 1u);
    EXPECT_EQ(Window_List().Windows()[0], &Main());

    TFAbout* shown = nullptr;
    for (int i = 0; i < 2; ++i) {
        InNextLoop([&] {
            shown = Window_List().Find<TFAbout>();
            ASSERT_NE(shown, nullptr);
            EXPECT_EQ(QApplication::activeModalWidget(), shown);
            shown->SetModalResult(platform::mrCancel);
        });
        Main().Btn_Info->Click();
    }
    // Shown twice, created once, after the main window.
    const std::vector<platform::TForm*> windows = Window_List().Windows();
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[1], shown);
    EXPECT_EQ(Window_List().Find<TFParGen>(), nullptr);
}

TEST_F(MainWindow, WindowsGoInReverseOrderOfCreation)
{
    QStringList gone;
    {
        Application_Forms forms;
        Start();
        FNew_Project();
        FOpenConf();
        for (platform::TForm* w : Window_List().Windows())
            QObject::connect(w, &QObject::destroyed,
                             [&gone, name = QString::fromLatin1(w->metaObject()->className())] { gone << name; });
    }
    EXPECT_EQ(gone, QStringList({"TFOpenConf", "TFNew_Project", "TFDidudiredadFirmWare"}));
    EXPECT_TRUE(Window_List().Windows().empty());
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
    // The family's 22 step buttons and the one that opens the BACnet client tables.
    EXPECT_EQ(hiddenButtons, 23);
    EXPECT_EQ(m.Btn_BACnet_Access->objectName(), "Btn_BACnet_Access");
    // The flat buttons never scroll: each stands alone, with no client area or scroll bars.
    for (auto* b : m.findChildren<controls::TPicButton*>()) {
        EXPECT_FALSE(b->HasClientArea());
        EXPECT_TRUE(b->findChildren<QWidget*>().isEmpty());
    }
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
        ExpectBoxes(1);
        b->Click();
        ASSERT_EQ(Messages.Shown().size(), 1u);
        EXPECT_EQ(Messages.LastText(), QStringLiteral("Error! Project not Valid"));
        EXPECT_EQ(Messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
    }
    EXPECT_FALSE(QFileInfo::exists(Dir.File(QStringLiteral("PROJECTS/bin"))));
    EXPECT_EQ(Window_List().Windows().size(), 1u);
}

// CONFIGURATOR_STEP presses a hidden step button once the main window shows, by the same road
// as a click: without a configuration it is refused like any step.
TEST_F(MainWindow, TheStepNamedInTheEnvironmentIsPressedOnceTheWindowShows)
{
    struct Restore {
        ~Restore() { qunsetenv(TFDidudiredadFirmWare::Step_Variable); }
    } restore;
    qputenv(TFDidudiredadFirmWare::Step_Variable, "Btn_CAN_Rec_Frame");
    ExpectBoxes(1);
    Show_Main_Form();
    EXPECT_TRUE(Main().Btn_CAN_Rec_Frame->isHidden());
    EXPECT_TRUE(Messages.Shown().empty()) << "pressed from the event loop, not before the window shows";
    QCoreApplication::processEvents();
    ASSERT_EQ(Messages.Shown().size(), 1u);
    EXPECT_EQ(Messages.LastText(), QStringLiteral("Error! Project not Valid"));

    // With a configuration open, the window of the step opens.
    QDir(Dir.Path()).mkpath(QStringLiteral("PROJECTS/Plant A"));
    App_State.Project_Folder = Dir.File(QStringLiteral("PROJECTS/Plant A"));
    Set_Files();
    QString caption;
    InNextLoop([&] {
        auto* shown = qobject_cast<platform::TForm*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        caption = shown->Caption();
        shown->SetModalResult(platform::mrCancel);
    });
    EXPECT_TRUE(Main().Press_Step(QStringLiteral("Btn_DMX_Default")));
    EXPECT_EQ(caption, QStringLiteral("DMX Default Value"));

    // A name of no step button is reported.
    Messages.Clear();
    ExpectBoxes(1);
    qputenv(TFDidudiredadFirmWare::Step_Variable, "Btn_Nothing");
    Main().Press_Step_From_Environment();
    EXPECT_EQ(Messages.LastText(),
              QStringLiteral("CONFIGURATOR_STEP names \"Btn_Nothing\", which is no step button of the main window."));
}

TEST_F(MainWindow, ReopensTheRememberedConfiguration)
{
    QDir(Dir.Path()).mkpath(QStringLiteral("PROJECTS/Plant A"));
    WriteSettings(QStringLiteral("Plant A"));
    Start();
    EXPECT_EQ(App_State.Project_Folder, Dir.File(QStringLiteral("PROJECTS/Plant A")));
    EXPECT_EQ(Main().L_Name_Conf->text(), QStringLiteral("Opened Configuration of the Converter : "));
    EXPECT_EQ(Main().L_Name_Conf_L2->text(), QStringLiteral("Plant A"));
    EXPECT_EQ(App_State.File_MQTT_Set_Topic, Dir.File(QStringLiteral("PROJECTS/Plant A/MQTT_Set_Topic.xml")));
}

TEST_F(MainWindow, NamesShowAsWrittenAndLongOnesStayInTheirFrame)
{
    const QString markup = QStringLiteral("<font size=6 color=red>Big");
    const QString longName = QString(250, QLatin1Char('W'));
    for (const QString& name : {markup, longName})
        QDir(Dir.Path()).mkpath(QStringLiteral("PROJECTS/") + name);
    WriteSettings(markup.toHtmlEscaped());
    Start();
    TFDidudiredadFirmWare& m = Main();
    m.show();
    EXPECT_EQ(m.L_Name_Conf_L2->text(), markup);
    EXPECT_GE(m.L_Name_Conf_L2->sizeHint().width(), m.L_Name_Conf_L2->fontMetrics().horizontalAdvance(markup));
    for (QLabel* l : m.findChildren<QLabel*>())
        if (l != m.LL_Update)
            EXPECT_NE(l->textFormat(), Qt::AutoText) << l->text().toStdString();

    App_State.Active_Conf_Name = longName;
    App_State.Project_Folder = Configuration_Folder(longName);
    m.Set_Conf_Labels();
    EXPECT_TRUE(m.Shape2->geometry().contains(m.L_Name_Conf_L2->geometry()));
    EXPECT_TRUE(m.L_Name_Conf_L2->text().endsWith(QChar(0x2026)));
    EXPECT_LE(m.L_Name_Conf_L2->fontMetrics().horizontalAdvance(m.L_Name_Conf_L2->text()),
              m.L_Name_Conf_L2->width());
    EXPECT_TRUE(m.L_Name_Conf_L2->toolTip().contains(longName));
    m.hide();
}

TEST_F(MainWindow, OpeningFromAnEmptyListClosesTheStaleConfiguration)
{
    QDir(Dir.Path()).mkpath(QStringLiteral("PROJECTS/Plant A"));
    WriteSettings(QStringLiteral("Plant A"));
    Start();
    ASSERT_EQ(Main().L_Name_Conf_L2->text(), QStringLiteral("Plant A"));
    QDir(Dir.File(QStringLiteral("PROJECTS/Plant A"))).removeRecursively();
    InNextLoop([] { FOpenConf()->Btn_OK->Click(); });
    Main().Btn_Open->Click();
    EXPECT_TRUE(App_State.Project_Folder.isEmpty());
    EXPECT_EQ(Main().L_Name_Conf->text(), Lang(9));
    EXPECT_EQ(Main().L_Name_Conf_L2->text(), Lang(10));
    // The steps now answer that no configuration is open.
    ExpectBoxes(1);
    Main().Btn_Prm_Gen->Click();
    EXPECT_EQ(Messages.LastText(), Lang(18));
}

TEST_F(MainWindow, EscapeDoesNotCloseTheMainWindow)
{
    Start();
    Main().show();
    QTest::keyClick(&Main(), Qt::Key_Escape);
    EXPECT_TRUE(Main().isVisible());
    Main().hide();
}

// A remembered name that is no plain folder of PROJECTS opens nothing and is written back on close.
class RememberedConfiguration : public MainWindow, public ::testing::WithParamInterface<const char*> {};

TEST_P(RememberedConfiguration, IsKeptButNotOpenedWhenItsFolderIsGoneOrUnsafe)
{
    const QString name = QString::fromUtf8(GetParam());
    QDir(Dir.Path()).mkpath(QStringLiteral("outside"));
    WriteSettings(name);
    Start();
    EXPECT_TRUE(App_State.Project_Folder.isEmpty());
    EXPECT_EQ(Main().L_Name_Conf->text(), QStringLiteral("None Configuration Opened "));
    Main().close();
    App_State = {};
    Read_Settings(Dir.File(Settings_File_Name));
    EXPECT_EQ(App_State.Active_Conf_Name, name);
}

INSTANTIATE_TEST_SUITE_P(Names, RememberedConfiguration, ::testing::Values("Deleted", "../outside", ".."));

TEST_F(MainWindow, ClosingWritesTheSettings)
{
    Start();
    App_State.Device_IP_Address = QStringLiteral("10.1.2.3");
    Main().close();
    EXPECT_TRUE(Dir.Read(Settings_File_Name).contains("<ipaddress>10.1.2.3</ipaddress>"));
    EXPECT_TRUE(Messages.Shown().empty());
}

TEST_F(MainWindow, ClosingSurvivesASettingsWriteFailure)
{
    QDir(Dir.Path()).mkdir(Settings_File_Name);
    Start();
    ExpectBoxes(1);
    Main().close();
    ASSERT_EQ(Messages.Shown().size(), 1u);
    EXPECT_TRUE(Messages.LastText().contains(Settings_File_Name));
    EXPECT_FALSE(Main().isVisible());
}

TEST_F(MainWindow, MalformedSettingsAreReportedAndDefaultsUsed)
{
    Dir.Write(Settings_File_Name, "<Conf_Settings><lastlang>");
    ExpectBoxes(1);
    Start();
    EXPECT_EQ(App_State.Language_Name, QStringLiteral("English"));
    QCoreApplication::processEvents();
    ASSERT_EQ(Messages.Shown().size(), 1u);
    EXPECT_EQ(Messages.Shown()[0].Type, platform::TMsgDlgType::mtWarning);
}

TEST_F(MainWindow, LanguageChangeReachesTheWindowsThatExist)
{
    Start();
    FNew_Project();
    Dir.Write(QStringLiteral("LANGUAGE/Italiano.lng"),
              "STR15 = Nuova Configurazione\nSTR9 = Nessuna\nSTR100 = Nuova\nSTR200 = Apri\n");
    App_State.Language_Name = QStringLiteral("Italiano");
    Load_Language();
    Main().Change_Language();
    EXPECT_EQ(Main().Btn_New->Caption(), QStringLiteral("Nuova Configurazione"));
    EXPECT_EQ(Main().L_Name_Conf->text(), QStringLiteral("Nessuna"));
    EXPECT_EQ(FNew_Project()->Caption(), QStringLiteral("Nuova"));
    // A window created later takes the texts of its creation.
    EXPECT_EQ(Window_List().Find<TFOpenConf>(), nullptr);
    EXPECT_EQ(FOpenConf()->Caption(), QStringLiteral("Apri"));
}

TEST_F(MainWindow, TheUpdateLinkShowsTheTextOfTheCurrentLanguage)
{
    Start();
    TFDidudiredadFirmWare& m = Main();
    Dir.Write(QStringLiteral("LANGUAGE/Italiano.lng"), "STR19 = Nuova <versione>\n");
    App_State.Language_Name = QStringLiteral("Italiano");
    Load_Language();
    m.Change_Language();  // while the link is hidden
    m.Timer_Update->On_Result(true);
    EXPECT_FALSE(m.LL_Update->isHidden());
    EXPECT_TRUE(m.LL_Update->text().contains(QStringLiteral("Nuova &lt;versione&gt;")));

    App_State.Language_Name = QStringLiteral("English");
    Load_Language();
    m.Change_Language();  // while it shows
    EXPECT_TRUE(m.LL_Update->text().contains(Lang(19)));
    m.Timer_Update->On_Result(false);
    EXPECT_TRUE(m.LL_Update->isHidden());
}

TEST_F(MainWindow, ErrorsInHandlersAreShownAndTheProgramGoesOn)
{
    Start();
    ExpectBoxes(1);
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
    TFDidudiredadFirmWare& m = Main();
    m.show();
    for (controls::TPicButton* b : m.findChildren<controls::TPicButton*>())
        b->clearFocus();
    QImage image = m.grab().toImage();
    EXPECT_EQ(image.size(), QSize(694, 396));
    EXPECT_EQ(QColor(image.pixel(690, 390)), QColor(248, 247, 237));
    // Step buttons: gray edges round the button face, the caption on the left.
    const QColor face(0xF8, 0xF7, 0xED);
    EXPECT_EQ(QColor(image.pixel(80, 112)), QColor(128, 128, 128));
    EXPECT_EQ(QColor(image.pixel(82, 114)), face);
    QRect ink;
    for (int y = 114; y < 146; ++y)
        for (int x = 82; x < 248; ++x)
            if (QColor(image.pixel(x, y)) != face)
                ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LT(ink.left(), 80 + 20) << "caption aligned left";
    // The picture buttons carry their glyphs; OK and Cancel of the dialogs theirs.
    for (controls::TPicButton* b : {m.Btn_Info, m.Btn_Opz, m.Btn_Close})
        EXPECT_EQ(b->Style(), controls::bsNormal);
    EXPECT_EQ(m.Btn_New->Style(), controls::bsEncarta);
    EXPECT_EQ(m.Btn_Prm_Gen->Style(), controls::bsNormal);

    // Hovering a configuration step lights it sky blue, New and Open yellow.
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(m.Btn_Prm_Gen, &enter);
    QCoreApplication::sendEvent(m.Btn_New, &enter);
    image = m.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(82, 158)), QColor(0xA6, 0xCA, 0xF0));
    EXPECT_EQ(QColor(image.pixel(82, 114)), QColor(Qt::yellow));
    if (const QByteArray out = qgetenv("CONF_SCREENSHOT_DIR"); !out.isEmpty())
        image.save(QString::fromLocal8Bit(out) + QStringLiteral("/main_window.png"));
}

// A window the main window leads to, shown the way the program shows it so that its show handler
// lays it out.
struct Reachable {
    platform::TForm* (*Window)();
    const char* Name;
    QSize Size;  // empty: sized by its contents
};
void PrintTo(const Reachable& r, std::ostream* os) { *os << r.Name; }

class ReachableWindow : public MainWindow, public ::testing::WithParamInterface<Reachable> {};

TEST_P(ReachableWindow, RendersAtItsSize)
{
    QDir(Dir.Path()).mkpath(QStringLiteral("PROJECTS/Plant A/bin"));
    WriteSettings(QStringLiteral("Plant A"));
    Start();
    platform::TForm* window = GetParam().Window();
    QImage image;
    WhenShown(window, [&] {
        image = window->grab().toImage();
        window->SetModalResult(platform::mrCancel);
    });
    window->ShowModal();
    ASSERT_FALSE(image.isNull());
    if (!GetParam().Size.isEmpty())
        EXPECT_EQ(image.size(), GetParam().Size);
    // The program's window look: the light background in the corner, and every shown flat button
    // with its gray edge round the light face.
    const QColor light(0xF8, 0xF7, 0xED);
    EXPECT_EQ(QColor(image.pixel(image.width() - 2, image.height() - 2)), light);
    int buttons = 0;
    for (controls::TPicButton* b : window->findChildren<controls::TPicButton*>()) {
        if (!b->isVisibleTo(window))
            continue;
        ++buttons;
        if (b->hasFocus())
            continue;  // the focused button carries its focus frame
        const QPoint at = b->mapTo(window, QPoint(0, 0));
        EXPECT_EQ(QColor(image.pixel(at)), QColor(128, 128, 128)) << b->objectName().toStdString();
        EXPECT_EQ(QColor(image.pixel(at + QPoint(b->width() - 1, b->height() - 1))), QColor(128, 128, 128));
        EXPECT_EQ(QColor(image.pixel(at + QPoint(2, 2))), light) << b->objectName().toStdString();
    }
    EXPECT_GT(buttons, 0);
    if (const QByteArray out = qgetenv("CONF_SCREENSHOT_DIR"); !out.isEmpty())
        image.save(QString::fromLocal8Bit(out) + QLatin1Char('/') + QLatin1String(GetParam().Name) +
                   QStringLiteral(".png"));
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ReachableWindow,
    ::testing::Values(Reachable{[]() -> platform::TForm* { return FNew_Project(); }, "new_project", {331, 162}},
                      Reachable{[]() -> platform::TForm* { return FOpenConf(); }, "open_conf", {377, 351}},
                      Reachable{[]() -> platform::TForm* { return FAbout(); }, "about", {425, 148}},
                      Reachable{[]() -> platform::TForm* { return FSoftOptions(); }, "soft_options", {509, 373}},
                      Reachable{[]() -> platform::TForm* { return FParGen(); }, "par_gen", {}},
                      Reachable{[]() -> platform::TForm* { return FBoot(); }, "boot", {449, 230}}),
    [](const ::testing::TestParamInfo<Reachable>& info) { return std::string(info.param.Name); });

TEST_F(MainWindow, OptionsOkSavesAtOnceAndSwitchesTheVersionTimer)
{
    Start();
    TFSoftOptions* options = FSoftOptions();
    WhenShown(options, [options] {
        options->CB_En_Con->setChecked(true);
        options->CB_Update->setChecked(true);
        options->Btn_Cancel->Click();
    });
    Main().Btn_Opz->Click();
    EXPECT_FALSE(App_State.Opt_Enable_Internet);
    EXPECT_FALSE(Main().Timer_Update->Enabled());
    EXPECT_FALSE(QFile::exists(Dir.File(Settings_File_Name)));

    WhenShown(options, [options] {
        options->CB_En_Con->setChecked(true);
        options->CB_Update->setChecked(true);
        options->Btn_OK->Click();
    });
    Main().Btn_Opz->Click();
    EXPECT_TRUE(App_State.Opt_Enable_Internet && App_State.Opt_Enable_Update);
    EXPECT_TRUE(Main().Timer_Update->Enabled());
    EXPECT_TRUE(Dir.Read(Settings_File_Name).contains("<enable_update>1</enable_update>"));
}

TEST_F(MainWindow, NewConfigurationOpensItAndMovesThePaths)
{
    Start();
    TFNew_Project* dialog = FNew_Project();
    WhenShown(dialog, [dialog] {
        dialog->E_New_Proj->setText(QStringLiteral("Line 1"));
        dialog->Btn_OK->Click();
    });
    Main().Btn_New->Click();
    const QString folder = Dir.File(QStringLiteral("PROJECTS/Line 1"));
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/bin")).isDir());
    EXPECT_EQ(App_State.Project_Folder, folder);
    EXPECT_EQ(App_State.File_ParGen, folder + QStringLiteral("/ParGen.xml"));
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
    TFBoot* boot = FBoot();
    WhenShown(boot, [&] {
        updateWindowShown = true;
        boot->Btn_Cancel->Click();
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
    InNextLoop([&] {
        updateWindowShown = true;
        if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });
    ExpectBoxes(1);
    Main().Btn_CreateBin->Click();
    ASSERT_EQ(Messages.Shown().size(), 1u);
    EXPECT_TRUE(Messages.LastText().contains(QStringLiteral("MQTT_Set_Topic.xml")));
    EXPECT_FALSE(updateWindowShown);
    EXPECT_EQ(Window_List().Find<TFBoot>(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/bin/bank1.bin")));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/bin/bank2.bin")));
}
