// The PROFIBUS GSD generator: the file for the sizes of ParGen.xml, checked against the GSD keyword
// grammar; the file name; the sizes refused; the save command.
#include "description_readers.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "protocols/fieldbus/UDescription_Files.h"
#include "protocols/fieldbus/UProfibus_GSD.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "support/QStringPrinter.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace fieldbus::gsd;
using namespace description_readers;

namespace {

QByteArray Bytes(int in, int out) { return fieldbus::descriptions::Text_File_Bytes(GSD_Lines(in, out)); }

// The lines between "Module-Definition-List" and "SlotDefinition" that are module lines.
QStringList Module_Lines(const QStringList& lines)
{
    QStringList modules;
    for (const QString& line : lines)
        if (line.startsWith(QLatin1String("Module=")))
            modules << line;
    return modules;
}

// Gateway output 130 bytes, input 64: three input modules (the last of two bytes) and one output
// module, ports counted across both.
TEST(GsdFile, SizesGiveModulesOfAtMost64Bytes)
{
    const QByteArray gsd = Bytes(64, 130);
    EXPECT_TRUE(MatchesGolden(gsd, "gsd_in64_out130.gsd"));
    EXPECT_TRUE(Gsd_Grammar(gsd));
    const QStringList lines = GSD_Lines(64, 130);
    EXPECT_EQ(Module_Lines(lines), QStringList({"Module= \"DI  (PORT1)    \" 0x42,0x3F,0x00,0x01",
                                                "Module= \"DI  (PORT2)    \" 0x42,0x3F,0x00,0x02",
                                                "Module= \"DI  (PORT3)    \" 0x42,0x01,0x00,0x03",
                                                "Module= \"DO  (PORT4)    \" 0x82,0x3F,0x00,0x04"}));
    for (const char* line : {"Max_Module=4", "Max_Input_Len=130", "Max_Output_Len=64", "Max_Data_Len=194"})
        EXPECT_TRUE(lines.contains(QLatin1String(line))) << line;
    const qsizetype slot = lines.indexOf(QStringLiteral("SlotDefinition"));
    ASSERT_GT(slot, 0);
    EXPECT_EQ(lines.mid(slot + 1, 5), QStringList({"Slot(1) = \"Slot 1\" 1 1", "Slot(2) = \"Slot 2\" 2 2",
                                                    "Slot(3) = \"Slot 3\" 3 3", "Slot(4) = \"Slot 4\" 4 4",
                                                    "EndSlotDefinition"}));
    // The header box: every line but the first 85 characters wide, closed in column 85.
    for (int k = 1; k < 21; ++k)
        EXPECT_EQ(lines[k].size(), 85) << lines[k].toStdString();
    EXPECT_EQ(lines[21], QString());
    EXPECT_TRUE(lines[4].startsWith(QLatin1String(";* Vendor:   ")));
    EXPECT_TRUE(gsd.endsWith("EndSlotDefinition\r\n\r\n\r\n\r\n\r\n"));
}

// The module split at its edges, in both directions; every file keeps the grammar and counts its
// modules.
TEST(GsdFile, ModuleSplitAtItsEdges)
{
    struct Case {
        int In, Out;
        QStringList Lengths;  // the length bytes of the modules, input modules first
    };
    const Case cases[] = {
        {1, 1, {"0x00", "0x00"}},
        {128, 128, {"0x3F", "0x3F", "0x3F", "0x3F"}},
        {65, 63, {"0x3E", "0x3F", "0x00"}},
        {244, 244, {"0x3F", "0x3F", "0x3F", "0x33", "0x3F", "0x3F", "0x3F", "0x33"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.In << " in, " << c.Out << " out");
        const QByteArray gsd = Bytes(c.In, c.Out);
        EXPECT_TRUE(Gsd_Grammar(gsd));
        const QStringList lines = GSD_Lines(c.In, c.Out);
        const QStringList modules = Module_Lines(lines);
        QStringList lengths;
        for (const QString& m : modules)
            lengths << m.section(QLatin1Char(','), 1, 1);
        EXPECT_EQ(lengths, c.Lengths);
        EXPECT_TRUE(lines.contains(QStringLiteral("Max_Module=%1").arg(modules.size())));
        EXPECT_TRUE(lines.contains(QStringLiteral("Slot(%1) = \"Slot %1\" %1 %1").arg(modules.size())));
        EXPECT_FALSE(lines.contains(QStringLiteral("Slot(%1) = \"Slot %1\" %1 %1").arg(modules.size() + 1)));
        EXPECT_TRUE(lines.contains(QStringLiteral("Max_Data_Len=%1").arg(c.In + c.Out)));
    }
}

TEST(GsdFile, FileNameGetsItsExtensionOnlyWhenItDoesNotEndWithIt)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/p/Device.GSD", "/p/Device.GSD"},        {"/p/device", "/p/device.gsd"},
        {"/p/a.gsd.txt", "/p/a.gsd.txt.gsd"},      {"/p/a.gsd.gsd", "/p/a.gsd.gsd"},
        {"/p.gsd/device", "/p.gsd/device.gsd"},    {"/p/x.gs", "/p/x.gs.gsd"},
    };
    for (const auto& [chosen, path] : cases)
        EXPECT_EQ(GSD_File_Path(QLatin1String(chosen)), QLatin1String(path)) << chosen;
}

class GsdSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        shell::Load_Default_Language();
        shell::App_State.Project_Folder = Dir.Path();
        shell::Set_Files();
    }
    void TearDown() override { shell::App_State = {}; }
    void Par_Gen(const QByteArray& elements) const
    {
        Dir.Write(QStringLiteral("ParGen.xml"), "<Par_Gen>" + elements + "</Par_Gen><!--SW_VERSION = 1.006-->");
    }
    TempDir Dir;
};

// Without ParGen.xml, and with sizes DP-V0 cannot carry, an error box and nothing else.
TEST_F(GsdSave, MissingOrUnfitSizesAreRefused)
{
    {
        ScriptedMessages messages;
        Save_GSD_File();
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.LastText(), shell::Lang(1104));
        EXPECT_EQ(messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
    }
    const std::pair<const char*, const char*> cases[] = {
        {"", "0 input bytes (PROFINET_NB_IN) and 0 output bytes"},
        {"<PROFINET_NB_IN>10</PROFINET_NB_IN>", "10 input bytes (PROFINET_NB_IN) and 0 output bytes"},
        {"<PROFINET_NB_IN>245</PROFINET_NB_IN><PROFINET_NB_OUT>1</PROFINET_NB_OUT>", "245 input bytes"},
        {"<PROFINET_NB_IN>1</PROFINET_NB_IN><PROFINET_NB_OUT>$100</PROFINET_NB_OUT>", "256 output bytes"},
        {"<PROFINET_NB_IN>-1</PROFINET_NB_IN><PROFINET_NB_OUT>4</PROFINET_NB_OUT>", "-1 input bytes"},
        {"<PROFINET_NB_IN>ten</PROFINET_NB_IN><PROFINET_NB_OUT>4</PROFINET_NB_OUT>", "0 input bytes"},
    };
    for (const auto& [elements, text] : cases) {
        SCOPED_TRACE(elements);
        Par_Gen(elements);
        ScriptedMessages messages;
        Save_GSD_File();
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_TRUE(messages.LastText().contains(QLatin1String(text))) << messages.LastText().toStdString();
        EXPECT_TRUE(messages.LastText().contains(QLatin1String("1 to 244")));
    }
    EXPECT_EQ(QDir(Dir.Path()).entryList({QStringLiteral("*.gsd")}, QDir::Files), QStringList());
}

// The command: the dialog in the configuration's folder, ".gsd" added, a question before an
// existing file is replaced, a write failure shown in an error box.
TEST_F(GsdSave, WritesWhereChosenAndAsksBeforeReplacing)
{
    Par_Gen("<PROFINET_NB_IN>0x40</PROFINET_NB_IN><PROFINET_NB_OUT>130</PROFINET_NB_OUT>");
    {
        ScriptedFileDialogs dialogs;
        dialogs.QueueAnswer(Dir.File(QStringLiteral("slave")));
        Save_GSD_File();
        ASSERT_EQ(dialogs.Shown().size(), 1u);
        EXPECT_EQ(dialogs.Shown()[0].InitialFolder, Dir.Path());
        EXPECT_EQ(dialogs.Shown()[0].Filter, "Generic Station Description (*.gsd)|*.gsd");
    }
    EXPECT_EQ(Dir.Read(QStringLiteral("slave.gsd")), Bytes(64, 130));

    Par_Gen("<PROFINET_NB_IN>1</PROFINET_NB_IN><PROFINET_NB_OUT>1</PROFINET_NB_OUT>");
    for (const int answer : {int(platform::mrNo), int(platform::mrYes)}) {
        ScriptedFileDialogs dialogs;
        ScriptedMessages messages;
        dialogs.QueueAnswer(Dir.File(QStringLiteral("slave")));
        messages.QueueAnswer(answer);
        Save_GSD_File();
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.LastText(), shell::Lang(1103));
        EXPECT_EQ(Dir.Read(QStringLiteral("slave.gsd")) == Bytes(1, 1), answer == platform::mrYes);
    }
    {
        ScriptedFileDialogs dialogs;
        dialogs.QueueAnswer(QString());
        Save_GSD_File();
    }
    ScriptedFileDialogs dialogs;
    ScriptedMessages messages;
    dialogs.QueueAnswer(Dir.File(QStringLiteral("gone/slave")));
    platform::Guarded([] { Save_GSD_File(); });
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
    EXPECT_TRUE(messages.LastText().contains(QLatin1String("slave.gsd"))) << messages.LastText().toStdString();
}

// A ParGen.xml that is not well-formed is reported, not taken as sizes.
TEST_F(GsdSave, BrokenParGenIsReported)
{
    Dir.Write(QStringLiteral("ParGen.xml"), "<Par_Gen><PROFINET_NB_IN>10</PROFINET");
    ScriptedMessages messages;
    platform::Guarded([] { Save_GSD_File(); });
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_TRUE(messages.LastText().contains(QLatin1String("ParGen.xml"))) << messages.LastText().toStdString();
}

}  // namespace
