#include "platform/Exception.h"
#include "support/TempDir.h"
#include "shell/UComon.h"
#include "shell/USettings.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace shell;

namespace {
class SettingsFile : public ::testing::Test {
protected:
    QString Path() const { return Dir.File(Settings_File_Name); }
    TempDir Dir;
};
}  // namespace

TEST_F(SettingsFile, MissingFileGivesDefaults)
{
    App_State.Active_Conf_Name = QStringLiteral("old");
    App_State.Opt_Enable_Update = true;
    EXPECT_TRUE(Read_Settings(Path()).isEmpty());
    EXPECT_TRUE(App_State.Active_Conf_Name.isEmpty());
    EXPECT_EQ(App_State.Device_IP_Address, QStringLiteral("192.168.2.205"));
    EXPECT_EQ(App_State.Language_Name, QStringLiteral("English"));
    EXPECT_FALSE(App_State.Opt_Enable_Internet || App_State.Opt_Enable_Update || App_State.Opt_Jump_Field_Tables || App_State.Opt_Double_Click_Auto_Size);
}

TEST_F(SettingsFile, WritesTheLayoutAndReadsItBack)
{
    App_State.Active_Conf_Name = QStringLiteral("Plant A");
    App_State.Device_IP_Address = QStringLiteral("10.0.0.7");
    App_State.Language_Name = QStringLiteral("Italiano");
    App_State.Opt_Enable_Internet = true;
    App_State.Opt_Enable_Update = false;
    App_State.Opt_Jump_Field_Tables = true;
    App_State.Opt_Double_Click_Auto_Size = false;
    Write_Settings(Path());

    EXPECT_EQ(Dir.Read(Settings_File_Name),
              QByteArray("<Conf_Settings>\n"
                         "  <lastproj>\n    <projectname>Plant A</projectname>\n  </lastproj>\n"
                         "  <lastipadd>\n    <ipaddress>10.0.0.7</ipaddress>\n  </lastipadd>\n"
                         "  <lastlang>\n    <language>Italiano</language>\n  </lastlang>\n"
                         "  <lastinternet>\n    <enable_internet>1</enable_internet>\n"
                         "    <enable_update>0</enable_update>\n"
                         "    <enable_jump_field_tables>1</enable_jump_field_tables>\n"
                         "    <Double_Click_Auto_Size>0</Double_Click_Auto_Size>\n  </lastinternet>\n"
                         "</Conf_Settings>\n"));

    Read_Settings(QStringLiteral("/nonexistent/none.xml"));
    EXPECT_TRUE(Read_Settings(Path()).isEmpty());
    EXPECT_EQ(App_State.Active_Conf_Name, QStringLiteral("Plant A"));
    EXPECT_EQ(App_State.Device_IP_Address, QStringLiteral("10.0.0.7"));
    EXPECT_EQ(App_State.Language_Name, QStringLiteral("Italiano"));
    EXPECT_TRUE(App_State.Opt_Enable_Internet);
    EXPECT_FALSE(App_State.Opt_Enable_Update);
    EXPECT_TRUE(App_State.Opt_Jump_Field_Tables);
    EXPECT_FALSE(App_State.Opt_Double_Click_Auto_Size);
}

TEST_F(SettingsFile, EachValueIsReadOnItsOwn)
{
    Dir.Write(Settings_File_Name, "<Other><lastipadd><ipaddress></ipaddress></lastipadd>"
                                  "<lastlang/><lastinternet><enable_internet>true</enable_internet>"
                                  "<enable_update>1</enable_update></lastinternet></Other>");
    EXPECT_TRUE(Read_Settings(Path()).isEmpty());
    EXPECT_TRUE(App_State.Active_Conf_Name.isEmpty());
    EXPECT_TRUE(App_State.Device_IP_Address.isEmpty());  // present but empty is not the default
    EXPECT_EQ(App_State.Language_Name, QStringLiteral("English"));
    EXPECT_FALSE(App_State.Opt_Enable_Internet);
    EXPECT_TRUE(App_State.Opt_Enable_Update);
    EXPECT_FALSE(App_State.Opt_Jump_Field_Tables);
}

TEST_F(SettingsFile, MalformedFileGivesDefaultsAndSaysSo)
{
    Dir.Write(Settings_File_Name, "<Conf_Settings><lastproj><projectname>A</projectname>");
    App_State.Language_Name = QStringLiteral("Deutsch");
    const QString error = Read_Settings(Path());
    EXPECT_TRUE(error.contains(Settings_File_Name)) << error.toStdString();
    EXPECT_TRUE(App_State.Active_Conf_Name.isEmpty());
    EXPECT_EQ(App_State.Language_Name, QStringLiteral("English"));

    // The damaged file is kept before the next save replaces it, and the message says where.
    EXPECT_TRUE(error.contains(QStringLiteral("\"Bricolator.xml.damaged\""))) << error.toStdString();
    Write_Settings(Path());
    EXPECT_EQ(Dir.Read(Settings_File_Name + QStringLiteral(".damaged")),
              QByteArray("<Conf_Settings><lastproj><projectname>A</projectname>"));
}

TEST_F(SettingsFile, WriteFailureIsReported)
{
    // A folder where the file should be cannot be replaced, whatever the user's rights.
    QDir(Dir.Path()).mkdir(Settings_File_Name);
    EXPECT_THROW(Write_Settings(Path()), platform::Exception);
    EXPECT_TRUE(QFileInfo(Path()).isDir());
}

TEST(ConfigurationName, OnlyUnsafeOrImpossibleNamesAreRefused)
{
    const struct {
        QString Name;
        bool Plain;
    } cases[] = {
        {QStringLiteral("Plant A"), true}, {QStringLiteral("line-2.v3"), true}, {QStringLiteral("v1..2"), true},
        {QStringLiteral(" lead"), true}, {QStringLiteral("trail."), true}, {QStringLiteral("trail "), true},
        {QStringLiteral(".hidden"), true}, {QStringLiteral("..."), true}, {QStringLiteral("<b>x"), true},
        {QString(255, QLatin1Char('n')), true}, {QString(127, QChar(0x00E9)), true},
        {QString(), false}, {QStringLiteral("."), false}, {QStringLiteral(".."), false},
        {QStringLiteral("a/b"), false}, {QStringLiteral("a\\b"), false}, {QStringLiteral("../x"), false},
        {QStringLiteral("tab\there"), false}, {QStringLiteral("new\nline"), false}, {QStringLiteral("del\x7F"), false},
        {QString(256, QLatin1Char('n')), false},
        {QString(128, QChar(0x00E9)), false},  // 256 bytes as a file name
    };
    for (const auto& c : cases)
        EXPECT_EQ(Is_Plain_Conf_Name(c.Name), c.Plain) << c.Name.toStdString();
}
