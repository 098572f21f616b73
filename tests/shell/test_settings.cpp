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
    Active_Conf_Name = QStringLiteral("old");
    Opt_Enable_Update = true;
    EXPECT_TRUE(Read_Settings(Path()).isEmpty());
    EXPECT_TRUE(Active_Conf_Name.isEmpty());
    EXPECT_EQ(Device_IP_Address, QStringLiteral("192.168.2.205"));
    EXPECT_EQ(Language_Name, QStringLiteral("English"));
    EXPECT_FALSE(Opt_Enable_Internet || Opt_Enable_Update || Opt_Jump_Field_Tables || Opt_Double_Click_Auto_Size);
}

TEST_F(SettingsFile, WritesTheLayoutAndReadsItBack)
{
    Active_Conf_Name = QStringLiteral("Plant A");
    Device_IP_Address = QStringLiteral("10.0.0.7");
    Language_Name = QStringLiteral("Italiano");
    Opt_Enable_Internet = true;
    Opt_Enable_Update = false;
    Opt_Jump_Field_Tables = true;
    Opt_Double_Click_Auto_Size = false;
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
    EXPECT_EQ(Active_Conf_Name, QStringLiteral("Plant A"));
    EXPECT_EQ(Device_IP_Address, QStringLiteral("10.0.0.7"));
    EXPECT_EQ(Language_Name, QStringLiteral("Italiano"));
    EXPECT_TRUE(Opt_Enable_Internet);
    EXPECT_FALSE(Opt_Enable_Update);
    EXPECT_TRUE(Opt_Jump_Field_Tables);
    EXPECT_FALSE(Opt_Double_Click_Auto_Size);
}

TEST_F(SettingsFile, EachValueIsReadOnItsOwn)
{
    Dir.Write(Settings_File_Name, "<Other><lastipadd><ipaddress></ipaddress></lastipadd>"
                                  "<lastlang/><lastinternet><enable_internet>true</enable_internet>"
                                  "<enable_update>1</enable_update></lastinternet></Other>");
    EXPECT_TRUE(Read_Settings(Path()).isEmpty());
    EXPECT_TRUE(Active_Conf_Name.isEmpty());
    EXPECT_TRUE(Device_IP_Address.isEmpty());  // present but empty is not the default
    EXPECT_EQ(Language_Name, QStringLiteral("English"));
    EXPECT_FALSE(Opt_Enable_Internet);
    EXPECT_TRUE(Opt_Enable_Update);
    EXPECT_FALSE(Opt_Jump_Field_Tables);
}

TEST_F(SettingsFile, MalformedFileGivesDefaultsAndSaysSo)
{
    Dir.Write(Settings_File_Name, "<Conf_Settings><lastproj><projectname>A</projectname>");
    Language_Name = QStringLiteral("Deutsch");
    const QString error = Read_Settings(Path());
    EXPECT_TRUE(error.contains(Settings_File_Name)) << error.toStdString();
    EXPECT_TRUE(Active_Conf_Name.isEmpty());
    EXPECT_EQ(Language_Name, QStringLiteral("English"));
}

TEST_F(SettingsFile, WriteFailureIsReported)
{
    // A folder where the file should be cannot be replaced, whatever the user's rights.
    QDir(Dir.Path()).mkdir(Settings_File_Name);
    EXPECT_THROW(Write_Settings(Path()), platform::Exception);
    EXPECT_TRUE(QFileInfo(Path()).isDir());
}

TEST(ConfigurationName, OnlyPlainSubFoldersAreAccepted)
{
    const struct {
        const char* Name;
        bool Plain;
    } cases[] = {
        {"Plant A", true}, {"line-2.v3", true}, {"", false}, {".", false}, {"..", false}, {"a/b", false},
        {"a\\b", false}, {"../x", false}, {"a..b", false}, {" lead", false}, {"trail ", false}, {".hidden", false},
        {"dot.", false}, {"tab\there", false}, {"new\nline", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Is_Plain_Conf_Name(QString::fromUtf8(c.Name)), c.Plain) << c.Name;
}
