#include "platform/Dialogs.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UNew_Project.h"
#include "shell/UOpenConf.h"
#include "shell/UWindowList.h"

#include <QDir>
#include <QDirIterator>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace shell;

namespace {

// A program folder with an empty PROJECTS beside it and no configuration open.
class Configurations : public ::testing::Test {
protected:
    void SetUp() override
    {
        Load_Default_Language();
        App_State = {};
        App_State.Exe_Folder = Dir.Path() + QStringLiteral("/prog");
        QDir().mkpath(App_State.Exe_Folder + QStringLiteral("/PROJECTS"));
        App_State.Projects_Folder = App_State.Exe_Folder + QStringLiteral("/PROJECTS");
        Set_Files();
    }
    void TearDown() override
    {
        shell::Window_List().Clear();
        App_State = {};
    }
    void MakeConfiguration(const QString& name) { QDir().mkpath(Configuration_Folder(name)); }
    // Every folder and file under the temporary folder, to show that nothing appeared anywhere.
    QStringList Everything() const
    {
        QStringList all;
        QDirIterator it(Dir.Path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            all.append(it.next());
        all.sort();
        return all;
    }

    TempDir Dir;
    ScriptedMessages Messages;
};

TEST_F(Configurations, NewConfigurationMakesItsFoldersAndOpensIt)
{
    TFNew_Project window;
    window.E_New_Proj->setText(QStringLiteral("Plant A"));
    window.Btn_OKClick();
    EXPECT_TRUE(Messages.Shown().empty());
    EXPECT_EQ(window.ModalResult(), platform::mrOk);
    const QString folder = App_State.Projects_Folder + QStringLiteral("/Plant A");
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/bin")).isDir());
    EXPECT_EQ(App_State.Active_Conf_Name, QStringLiteral("Plant A"));
    EXPECT_EQ(App_State.Project_Folder, folder);
    EXPECT_EQ(App_State.File_ParGen, folder + QStringLiteral("/ParGen.xml"));
    EXPECT_EQ(App_State.File_BACnet_Master_Access, folder + QStringLiteral("/BACnet_Master_Access.xml"));
    // The new configuration is empty: only its "bin" folder.
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{QStringLiteral("bin")});
}

TEST_F(Configurations, RefusedNamesKeepTheWindowOpenAndCreateNothing)
{
    MakeConfiguration(QStringLiteral("Plant A"));
    App_State.Active_Conf_Name = QStringLiteral("Plant A");
    App_State.Project_Folder = Configuration_Folder(App_State.Active_Conf_Name);
    const QStringList before = Everything();
    struct Case {
        QString Name;
        int Text;
    };
    const Case cases[] = {
        {QString(), 107},
        {QStringLiteral("Plant A"), 106},
        {QStringLiteral("plant a"), 106},  // differs only in letter case
        {QStringLiteral("../evil"), 105},
        {QStringLiteral(".."), 105},
        {QStringLiteral("."), 105},
        {QStringLiteral("a/b"), 105},
        {QStringLiteral("a\\b"), 105},
        {QStringLiteral("tab\tname"), 105},
        {QStringLiteral("line\nbreak"), 105},
        {QString(256, QLatin1Char('x')), 105},
    };
    TFNew_Project window;
    for (const Case& c : cases) {
        Messages.Clear();
        window.E_New_Proj->setText(c.Name);
        window.Btn_OKClick();
        ASSERT_EQ(Messages.Shown().size(), 1u) << c.Name.toStdString();
        EXPECT_EQ(Messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
        EXPECT_EQ(Messages.LastText(), Lang(c.Text)) << c.Name.toStdString();
        EXPECT_EQ(window.ModalResult(), platform::mrNone) << c.Name.toStdString();
    }
    EXPECT_EQ(Everything(), before);
    EXPECT_EQ(App_State.Active_Conf_Name, QStringLiteral("Plant A"));
    EXPECT_EQ(App_State.Project_Folder, Configuration_Folder(QStringLiteral("Plant A")));
}

TEST_F(Configurations, SoundNamesAreCreatedAndListed)
{
    const QStringList names{QStringLiteral("v1..2"), QStringLiteral(" lead"), QStringLiteral("trail."),
                            QStringLiteral(".dot"), QStringLiteral("<b>bold")};
    TFNew_Project window;
    for (const QString& name : names) {
        window.E_New_Proj->setText(name);
        window.Btn_OKClick();
        EXPECT_TRUE(Messages.Shown().empty()) << name.toStdString() << " " << Messages.LastText().toStdString();
        EXPECT_TRUE(QFileInfo(Configuration_Folder(name) + QStringLiteral("/bin")).isDir()) << name.toStdString();
    }
    TFOpenConf open;
    open.FormShow();
    QStringList listed = open.SL;
    QStringList expected = names;
    listed.sort();
    expected.sort();
    EXPECT_EQ(listed, expected);
}

TEST_F(Configurations, NewConfigurationWithoutAProjectsFolderIsRefused)
{
    QDir(App_State.Projects_Folder).removeRecursively();
    TFNew_Project window;
    window.E_New_Proj->setText(QStringLiteral("Plant A"));
    window.Btn_OKClick();
    EXPECT_EQ(Messages.LastText(), Lang(105));
    EXPECT_FALSE(QFileInfo::exists(App_State.Projects_Folder));
    EXPECT_TRUE(App_State.Project_Folder.isEmpty());
}

TEST_F(Configurations, EnterInTheNameActsAsOk)
{
    TFNew_Project window;
    window.E_New_Proj->setText(QStringLiteral("Line 2"));
    QTest::keyClick(window.E_New_Proj, Qt::Key_Return);
    EXPECT_TRUE(QFileInfo(Configuration_Folder(QStringLiteral("Line 2"))).isDir());
    EXPECT_EQ(App_State.Active_Conf_Name, QStringLiteral("Line 2"));
}

TEST_F(Configurations, CreateNewProjectShowsTheWindowAndReportsTheOutcome)
{
    TFNew_Project window;
    shell::Window_List().Put<TFNew_Project>(&window);
    window.E_New_Proj->setText(QStringLiteral("left over"));
    QTimer::singleShot(0, &window, [&] {
        EXPECT_TRUE(window.E_New_Proj->text().isEmpty());  // each showing starts empty
        window.E_New_Proj->setText(QStringLiteral("Boiler"));
        window.Btn_OK->Click();
    });
    EXPECT_TRUE(Create_New_Project());
    EXPECT_EQ(App_State.Active_Conf_Name, QStringLiteral("Boiler"));

    QTimer::singleShot(0, &window, [&] {
        window.E_New_Proj->setText(QStringLiteral("Never"));
        window.Btn_Cancel->Click();
    });
    EXPECT_FALSE(Create_New_Project());
    EXPECT_FALSE(QFileInfo::exists(Configuration_Folder(QStringLiteral("Never"))));
    EXPECT_EQ(App_State.Active_Conf_Name, QStringLiteral("Boiler"));
}

TEST_F(Configurations, OpenWindowListsTheConfigurationsAndPreselectsTheOpenOne)
{
    for (const char* name : {"Gamma", "Alpha", "BETA", ".hidden"})
        MakeConfiguration(QString::fromLatin1(name));
    QFile notes(App_State.Projects_Folder + QStringLiteral("/notes.txt"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();

    App_State.Project_Folder = App_State.Projects_Folder + QStringLiteral("/beta");
    TFOpenConf window;
    window.FormShow();
    const QStringList expected{QStringLiteral(".hidden"), QStringLiteral("Alpha"), QStringLiteral("BETA"),
                               QStringLiteral("Gamma")};
    EXPECT_EQ(window.SL, expected);
    ASSERT_EQ(window.ListBox1->count(), 4);
    EXPECT_EQ(window.ListBox1->currentRow(), 2);
    EXPECT_EQ(window.Name_Conf, QStringLiteral("BETA"));

    window.ListBox1->setCurrentRow(3);  // by click or by key: the chosen name follows
    EXPECT_EQ(window.Name_Conf, QStringLiteral("Gamma"));

    App_State.Project_Folder.clear();
    window.FormShow();
    EXPECT_EQ(window.ListBox1->currentRow(), 0);
    EXPECT_EQ(window.Name_Conf, QStringLiteral(".hidden"));
}

TEST_F(Configurations, OpenProjectOpensTheChosenConfiguration)
{
    MakeConfiguration(QStringLiteral("Alpha"));
    MakeConfiguration(QStringLiteral("Gamma"));
    TFOpenConf window;
    shell::Window_List().Put<TFOpenConf>(&window);
    QTimer::singleShot(0, &window, [&] {
        window.ListBox1->setCurrentRow(1);
        window.Btn_OK->Click();
    });
    EXPECT_TRUE(Open_Project());
    EXPECT_EQ(App_State.Active_Conf_Name, QStringLiteral("Gamma"));
    EXPECT_EQ(App_State.Project_Folder, Configuration_Folder(QStringLiteral("Gamma")));
    EXPECT_EQ(App_State.File_MQTT_Set_Topic, Configuration_Folder(QStringLiteral("Gamma")) + QStringLiteral("/MQTT_Set_Topic.xml"));

    QTimer::singleShot(0, &window, [&] {
        window.ListBox1->setCurrentRow(0);
        window.Btn_Cancel->Click();
    });
    EXPECT_FALSE(Open_Project());
    EXPECT_EQ(App_State.Active_Conf_Name, QStringLiteral("Gamma"));
}

TEST_F(Configurations, OkOnAnEmptyListLeavesNoConfigurationOpen)
{
    MakeConfiguration(QStringLiteral("Alpha"));
    MakeConfiguration(QStringLiteral("Old"));
    App_State.Active_Conf_Name = QStringLiteral("Old");
    App_State.Project_Folder = Configuration_Folder(App_State.Active_Conf_Name);
    Set_Files();
    TFOpenConf window;
    shell::Window_List().Put<TFOpenConf>(&window);

    // A first showing chooses the open "Old"; then every configuration folder goes away.
    window.FormShow();
    ASSERT_EQ(window.Name_Conf, QStringLiteral("Old"));
    QDir(Configuration_Folder(QStringLiteral("Alpha"))).removeRecursively();
    QDir(Configuration_Folder(QStringLiteral("Old"))).removeRecursively();

    QTimer::singleShot(0, &window, [&] {
        EXPECT_EQ(window.ListBox1->count(), 0);
        EXPECT_TRUE(window.Name_Conf.isEmpty());
        window.Btn_OK->Click();
    });
    EXPECT_TRUE(Open_Project());
    EXPECT_TRUE(App_State.Active_Conf_Name.isEmpty());
    EXPECT_TRUE(App_State.Project_Folder.isEmpty());
    EXPECT_EQ(App_State.File_ParGen, QStringLiteral("/ParGen.xml"));
    EXPECT_FALSE(QFileInfo::exists(Configuration_Folder(QStringLiteral("Alpha"))));

    // Cancel on the empty list changes nothing.
    App_State.Active_Conf_Name = QStringLiteral("Kept");
    QTimer::singleShot(0, &window, [&] { window.Btn_Cancel->Click(); });
    EXPECT_FALSE(Open_Project());
    EXPECT_EQ(App_State.Active_Conf_Name, QStringLiteral("Kept"));
}

TEST_F(Configurations, FolderRemovedWhileTheWindowIsOpenIsNotOpened)
{
    MakeConfiguration(QStringLiteral("Alpha"));
    MakeConfiguration(QStringLiteral("Open"));
    App_State.Active_Conf_Name = QStringLiteral("Open");
    App_State.Project_Folder = Configuration_Folder(App_State.Active_Conf_Name);
    TFOpenConf window;
    shell::Window_List().Put<TFOpenConf>(&window);
    QTimer::singleShot(0, &window, [&] {
        window.ListBox1->setCurrentRow(0);
        QDir(Configuration_Folder(QStringLiteral("Alpha"))).removeRecursively();
        window.Btn_OK->Click();
    });
    EXPECT_TRUE(Open_Project());
    EXPECT_TRUE(App_State.Project_Folder.isEmpty());
    EXPECT_TRUE(App_State.Active_Conf_Name.isEmpty());
}

TEST_F(Configurations, WindowsTakeTheirTextsFromTheTable)
{
    TFNew_Project created;
    TFOpenConf opened;
    EXPECT_EQ(created.Caption(), QStringLiteral("Create New Configuration"));
    EXPECT_EQ(created.Label1->text(), QStringLiteral("Name of the new Configuration"));
    EXPECT_EQ(created.Btn_Cancel->Hint(), QStringLiteral("Cancel the New Configuration"));
    EXPECT_EQ(opened.Caption(), QStringLiteral("Open Configuration"));
    EXPECT_EQ(opened.Label1->text(), QStringLiteral("List of Avaliable Configurations"));
    EXPECT_EQ(created.size(), QSize(331, 162));
    EXPECT_EQ(opened.size(), QSize(377, 351));

    List_Lang[100] = QStringLiteral("Neue Konfiguration");
    List_Lang[202] = QStringLiteral("Konfigurationen");
    created.Set_Lang();
    opened.Set_Lang();
    EXPECT_EQ(created.Caption(), QStringLiteral("Neue Konfiguration"));
    EXPECT_EQ(opened.Label1->text(), QStringLiteral("Konfigurationen"));
}

}  // namespace
