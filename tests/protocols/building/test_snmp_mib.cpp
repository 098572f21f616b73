// The SNMP MIB writer: golden modules checked byte for byte and by smilint, the objects taken from
// the agent table's file, and files it must refuse.
#include "platform/Exception.h"
#include "protocols/building/USNMP_MIB.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "support/QStringPrinter.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"
#include "support/TestData.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace test_snmp_mib_suite {

namespace {

class SnmpMib : public ::testing::Test {
protected:
    void SetUp() override
    {
        shell::Load_Default_Language();
        shell::App_State.Project_Folder = Dir.Path();
        shell::Set_Files();
    }
    void TearDown() override { shell::App_State = {}; }

    void Trap_File(const QByteArray& read, const QByteArray& write)
    {
        Dir.Write("SNMP_Trap.xml", "<SNMP_Trap><SNMP_Trap_Read>" + read + "</SNMP_Trap_Read><SNMP_Trap_Write>" + write +
                                       "</SNMP_Trap_Write></SNMP_Trap><!--SW_VERSION = 1.001-->");
    }
    QStringList Lines()
    {
        Load_MIB_Objects();
        const QString text = QString::fromLatin1(MIB_Text());
        EXPECT_TRUE(text.endsWith("END\r\n"));
        QStringList lines = text.split("\r\n");
        lines.removeLast();
        return lines;
    }

    TempDir Dir;
};

// A read row of the agent table, valid for its checks.
QByteArray Read_Row(const char* enable, const char* type, const char* description, int position)
{
    return QByteArray("<row Enable=\"") + enable + "\" Community_Name=\"public\" Type=\"" + type +
           "\" On_Change=\"N\" On_Command=\"N\" On_Timer=\"N\" Time=\"\" Position=\"" + QByteArray::number(position) +
           "\" Bit=\"0\" NumBits=\"8\" Description=\"" + description +
           "\" IP_Address=\"192.168.1.20\" Conversion=\"None\" Mnemonic=\"\"/>";
}

QByteArray Write_Row(const char* enable, const char* type, const char* description, int position)
{
    return QByteArray("<row Enable=\"") + enable + "\" Community_Name=\"private\" Type=\"" + type +
           "\" Position=\"" + QByteArray::number(position) + "\" Bit=\"0\" NumBits=\"8\" Description=\"" + description +
           "\" Conversion=\"None\" Mnemonic=\"\"/>";
}

// smilint's messages on a module at level 3, with our own base modules on its path; Reason says
// why it could not run.
struct Lint {
    bool Ran = false;
    QString Reason;
    QString Messages;
};

Lint Smilint(const QString& file)
{
    Lint lint;
    const QString program = QStandardPaths::findExecutable(QStringLiteral("smilint"));
    if (program.isEmpty()) {
        lint.Reason = QStringLiteral("smilint is not installed (Debian package smitools)");
        return lint;
    }
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SMIPATH"), QStringLiteral(TEST_DATA_DIR "/mibs"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, {QStringLiteral("-c"), QStringLiteral("/dev/null"), QStringLiteral("-l"), QStringLiteral("3"), file});
    if (!process.waitForFinished(30000)) {
        lint.Reason = QStringLiteral("smilint did not finish");
        return lint;
    }
    lint.Ran = true;
    lint.Messages = QString::fromLocal8Bit(process.readAll());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        lint.Messages += QStringLiteral("[exit %1, status %2]").arg(process.exitCode()).arg(int(process.exitStatus()));
    return lint;
}

struct Golden_Case {
    const char* Name;
    bool File;  // SNMP_Trap.xml is written
    QByteArray Read, Write;
    const char* Golden;
};

}  // namespace

TEST_F(SnmpMib, GoldenModulesAreValidSmiv2)
{
    const std::vector<Golden_Case> cases = {
        {"no agent file", false, {}, {}, "snmp_fixed.mib"},
        {"only disabled rows", true, Read_Row("N", "Int", "temp", 0), Write_Row("n", "Int", "set", 0), "snmp_fixed.mib"},
        {"one integer read", true, Read_Row("Y", "Int", "temp", 0), {}, "snmp_temp.mib"},
        {"mixed", true,
         Read_Row("Y", "Int", "temp", 0) + Read_Row("N", "Int", "off", 1) + Read_Row("y", "String", "", 2) +
             Read_Row("Y", "iNT", "level", 3) + Read_Row("Y", "string", "tEmp", 4),
         Write_Row("Y", "String", "label", 0) + Write_Row("Y", "Int", "setpoint", 1) + Write_Row("N", "Int", "unused", 2),
         "snmp_mixed.mib"},
        {"write object without a description", true, {}, Write_Row("Y", "Int", "", 0), "snmp_write_unnamed.mib"},
    };
    QString skipped;
    for (const Golden_Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QFile::remove(shell::App_State.File_SNMP_Trap);
        if (c.File)
            Trap_File(c.Read, c.Write);
        Load_MIB_Objects();
        const QString out = Dir.File("GATEWAY.mib");
        Write_MIB_File(out);
        const QByteArray written = Dir.Read("GATEWAY.mib");
        EXPECT_EQ(written, ReadTestData(c.Golden));
        const Lint lint = Smilint(out);
        if (lint.Ran)
            EXPECT_EQ(lint.Messages, "");
        else
            skipped = lint.Reason;
    }
    // The bytes are checked whatever happens; only smilint's part is skipped.
    if (!skipped.isEmpty())
        GTEST_SKIP() << skipped.toStdString();
}

TEST_F(SnmpMib, ObjectsFollowTheEnabledRowsInFileOrder)
{
    Trap_File(Read_Row("Y", "Int", "temp", 0) + Read_Row("N", "Int", "off", 1) + Read_Row("Y", "String", "", 2),
              Write_Row("Y", "Int", "setpoint", 0) + Write_Row("Y", "anything", "label", 1));
    const QStringList lines = Lines();
    EXPECT_EQ(shell::App_State.MIB_Read_Objects, QStringList({"temp", ""}));
    EXPECT_EQ(shell::App_State.MIB_Write_Objects, QStringList({"setpoint", "label"}));
    EXPECT_TRUE(MIB_Object_Is_Int[0][0]);
    EXPECT_FALSE(MIB_Object_Is_Int[0][1]);
    EXPECT_TRUE(MIB_Object_Is_Int[1][0]);
    EXPECT_FALSE(MIB_Object_Is_Int[1][1]);
    // The SMIv2 imports take six lines and an empty one: the first read object stands at line 42.
    ASSERT_EQ(lines.size(), 60);
    EXPECT_EQ(lines[2], "       MODULE-IDENTITY, OBJECT-TYPE, NOTIFICATION-TYPE, Integer32, enterprises");
    EXPECT_EQ(lines[40], " bufferinval OBJECT IDENTIFIER::= { bufferin 9 }");
    EXPECT_EQ(lines[41], "temp OBJECT-TYPE SYNTAX Integer32 MAX-ACCESS read-only STATUS current DESCRIPTION \"temp\" ::= "
                         "{ bufferinval 1 }");
    // The disabled row takes no index; an empty description names the object by its index.
    EXPECT_EQ(lines[42], "bufferinval2 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only STATUS current DESCRIPTION "
                         "\"\" ::= { bufferinval 2 }");
    EXPECT_EQ(lines[43], "bufferout OBJECT IDENTIFIER::= { data 5 }");
    EXPECT_EQ(lines[52], " bufferoutval OBJECT IDENTIFIER::= { bufferout 9 }");
    EXPECT_EQ(lines[53], "setpoint OBJECT-TYPE SYNTAX Integer32 MAX-ACCESS read-write STATUS current DESCRIPTION "
                         "\"setpoint\" ::= { bufferoutval 1 }");
    EXPECT_EQ(lines[54], "label OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-write STATUS current DESCRIPTION "
                         "\"label\" ::= { bufferoutval 2 }");
    EXPECT_EQ(lines[55], "traps OBJECT IDENTIFIER::= { application 2 }");
    EXPECT_EQ(lines[57], "trapval1 NOTIFICATION-TYPE OBJECTS { temp } STATUS current DESCRIPTION \"temp\" ::= { trapsval 1 }");
    EXPECT_EQ(lines[58], "trapval2 NOTIFICATION-TYPE OBJECTS { bufferinval2 } STATUS current DESCRIPTION \"\" ::= "
                         "{ trapsval 2 }");
    EXPECT_EQ(lines.last(), "END");
    EXPECT_EQ(lines.size(), 60);
}

TEST_F(SnmpMib, WithoutObjectsTheSubtreeHeadersFollowEachOther)
{
    const QStringList lines = Lines();
    EXPECT_EQ(lines.size(), 54);
    EXPECT_EQ(lines[0], "GATEWAY DEFINITIONS ::= BEGIN");
    EXPECT_EQ(lines[5], "         FROM SNMPv2-TC;");
    EXPECT_EQ(lines[24], "kelvor          OBJECT IDENTIFIER ::= { enterprises 32473 }");
    EXPECT_EQ(lines[32], "bufferinblk1 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only STATUS current DESCRIPTION "
                         "\"data block n.1\" ::= { bufferin 1 }");
    EXPECT_EQ(lines.mid(40, 2), QStringList({" bufferinval OBJECT IDENTIFIER::= { bufferin 9 }",
                                             "bufferout OBJECT IDENTIFIER::= { data 5 }"}));
    EXPECT_EQ(lines.mid(50, 3), QStringList({" bufferoutval OBJECT IDENTIFIER::= { bufferout 9 }",
                                             "traps OBJECT IDENTIFIER::= { application 2 }",
                                             " trapsval OBJECT IDENTIFIER::= { traps 1 }"}));
}

// Files the window would not save as they stand: the MIB is refused with a message naming the
// cause, and a MIB written before stays as it was.
TEST_F(SnmpMib, RefusesFilesTheAgentWindowWouldNotSave)
{
    QByteArray many;
    for (int r = 0; r < 300; ++r)
        many += Read_Row("Y", "Int", QByteArray("v" + QByteArray::number(r)).constData(), r);
    const QByteArray huge = "<SNMP_Trap><SNMP_Trap_Read><row Enable=\"Y\" Community_Name=\"public\" Mnemonic=\"" +
                            QByteArray(10 * 1024 * 1024, 'x') + "\"/></SNMP_Trap_Read><SNMP_Trap_Write/></SNMP_Trap>";
    QByteArray cut = "<SNMP_Trap><SNMP_Trap_Read>" + Read_Row("Y", "Int", "temp", 0);
    cut.chop(20);
    struct Case {
        const char* Name;
        QByteArray File;
        const char* Says;
    } cases[] = {
        {"not XML", "this is not XML at all", "could not be read whole"},
        {"cut short", cut, "could not be read whole"},
        {"300 enabled rows in one section", "<SNMP_Trap><SNMP_Trap_Read>" + many + "</SNMP_Trap_Read><SNMP_Trap_Write/></SNMP_Trap>",
         "256"},
        {"a 10 MB attribute and rows the window refuses", huge, "Type must be selected"},
        {"a description the MIB uses itself", "<SNMP_Trap><SNMP_Trap_Read>" + Read_Row("Y", "Int", "countin", 0) +
                                                  "</SNMP_Trap_Read><SNMP_Trap_Write/></SNMP_Trap>",
         "Description \"countin\" is a name the MIB gives to one of its own objects"},
        {"a wider integer", "<SNMP_Trap><SNMP_Trap_Read>" + Read_Row("Y", "Int", "wide", 0).replace("NumBits=\"8\"", "NumBits=\"40\"") +
                                "</SNMP_Trap_Read><SNMP_Trap_Write/></SNMP_Trap>",
         "between 1 and 32 bits"},
    };
    Dir.Write("GATEWAY.mib", "before");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QFile::remove(Dir.File("SNMP_Trap.xml"));
        QFile::remove(Dir.File("SNMP_Trap.xml.damaged"));
        Dir.Write("SNMP_Trap.xml", c.File);
        ScriptedFileDialogs dialogs;
        dialogs.QueueAnswer(Dir.File("GATEWAY.mib"));
        ScriptedMessages messages;
        messages.QueueAnswer(platform::mrYes);  // replace the MIB written before
        try {
            Save_MIB_File();
            ADD_FAILURE() << "no refusal";
        } catch (const platform::Exception& e) {
            EXPECT_TRUE(e.message().contains("The MIB file was not written")) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.Says))) << e.message().toStdString();
        }
        EXPECT_EQ(Dir.Read("GATEWAY.mib"), "before");
        EXPECT_TRUE(shell::App_State.MIB_Read_Objects.isEmpty());
        // The agent's file is the user's: still there, whatever it holds.
        EXPECT_EQ(Dir.Read("SNMP_Trap.xml").size(), c.File.size());
    }
}

TEST_F(SnmpMib, SaveAsksBeforeReplacingAFile)
{
    Trap_File(Read_Row("Y", "Int", "temp", 0), {});
    const QString target = Dir.File("GATEWAY.mib");
    {
        // Cancelled dialog: nothing.
        ScriptedFileDialogs dialogs;
        dialogs.QueueAnswer(QString());
        Save_MIB_File();
        ASSERT_EQ(dialogs.Shown().size(), 1u);
        EXPECT_TRUE(dialogs.Shown()[0].Save);
        EXPECT_EQ(dialogs.Shown()[0].InitialFolder, Dir.Path());
        EXPECT_EQ(dialogs.Shown()[0].Filter, "Management Information Base (*.mib)|*.mib");
        EXPECT_FALSE(QFile::exists(target));
    }
    {
        ScriptedFileDialogs dialogs;
        dialogs.QueueAnswer(target);
        Save_MIB_File();
        EXPECT_TRUE(Dir.Read("GATEWAY.mib").contains("temp OBJECT-TYPE SYNTAX Integer32"));
    }
    Dir.Write("GATEWAY.mib", "mine");
    for (int answer : {platform::mrNo, platform::mrYes}) {
        ScriptedFileDialogs dialogs;
        dialogs.QueueAnswer(target);
        ScriptedMessages messages;
        messages.QueueAnswer(answer);
        Save_MIB_File();
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.LastText(), "File already exists. Do you want to overwrite?");
        EXPECT_EQ(messages.Shown()[0].Buttons, platform::TMsgDlgButtons::mbYesNo);
        if (answer == platform::mrNo)
            EXPECT_EQ(Dir.Read("GATEWAY.mib"), "mine");
        else
            EXPECT_TRUE(Dir.Read("GATEWAY.mib").startsWith("GATEWAY DEFINITIONS ::= BEGIN\r\n"));
    }
}

}  // namespace test_snmp_mib_suite
