// The DeviceNet network table's checks and the offsets file: slaves, their byte positions joined
// by order, the duplicate check of output bytes and hostile files.
#include "platform/Exception.h"
#include "protocols/fieldbus/UDNet_Files.h"
#include "shell/ULanguage.h"
#include "support/QStringPrinter.h"
#include "support/TempDir.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace fieldbus;

namespace {

class DeviceNet : public ::testing::Test {
protected:
    void SetUp() override { shell::Load_Default_Language(); }
    QString Net() const { return Dir.File(QStringLiteral("DNETM_Net.xml")); }
    QString Off() const { return Dir.File(QStringLiteral("DNETM_DefOff.xml")); }
    TempDir Dir;
};

QString Net_Fault(const shell::Table_Rows& rows)
{
    return Check_DNet_Table({rows, std::vector<bool>(dnet::Count, true)}).value_or(QStringLiteral("accepted"));
}

QStringList Net_Row(int r, const QString& id, const QString& in = "2", const QString& out = "2")
{
    return {QString::number(r), id, in, out, "m"};
}

TEST_F(DeviceNet, NetworkChecksWithTheirMessages)
{
    struct {
        const char* Name;
        QStringList Row;
        const char* Expected;
    } const cases[] = {
        {"ID 63, no input, most output", Net_Row(3, "63", "0", "65535"), "accepted"},
        {"ID 64", Net_Row(3, "64"), "Error in row 3!! ID must be 0 or 63"},
        {"ID of blanks is content", Net_Row(3, "  "), "Error in row 3!! ID must be 0 or 63"},
        {"ID hexadecimal", Net_Row(3, "$3F"), "accepted"},
        {"bytes in 65536", Net_Row(3, "1", "65536"), "Error in row 3!! Number Byte IN must be 0 or 65535"},
        {"bytes in empty", Net_Row(3, "1", ""), "Error in row 3!! Number Byte IN must be 0 or 65535"},
        {"bytes out -1", Net_Row(3, "1", "1", "-1"), "Error in row 3!! Number Byte OUT must be 0 or 65535"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Net_Fault({Net_Row(1, "1"), Net_Row(2, "1"), c.Row}), QLatin1String(c.Expected));
    }
    // Two slaves with the same ID pass; a 64th row with ID 70 fails for row 64.
    shell::Table_Rows full;
    for (int r = 1; r <= 64; ++r)
        full.push_back(Net_Row(r, r == 64 ? "70" : "5"));
    EXPECT_EQ(Net_Fault(full), "Error in row 64!! ID must be 0 or 63");
}

TEST_F(DeviceNet, RowsBelowAnEmptyIdAreRefused)
{
    EXPECT_EQ(Net_Fault({Net_Row(1, "1"), {"2", "", "", "", ""}, Net_Row(3, "2")}),
              "Error in row 3!! ID Slave of row 2 is empty: the table ends there and this row would not be saved");
    EXPECT_EQ(Net_Fault({Net_Row(1, "1"), {"2", "", "", "", ""}}), "accepted");
}

// A slave with its bytes all unmapped.
TSlave_DN Slave(int id, int in, int out)
{
    TSlave_DN s;
    s.ID = uint8_t(id);
    s.ByteIN = uint16_t(in);
    s.ByteOUT = uint16_t(out);
    s.Row = {QString::number(id), QString::number(in), QString::number(out), ""};
    for (int i = 0; i < in; ++i)
        s.SL_ByteIN << "None", s.SL_ByteIN_M << "";
    for (int i = 0; i < out; ++i)
        s.SL_ByteOUT << "None", s.SL_ByteOUT_M << "";
    return s;
}

TEST_F(DeviceNet, OutputPositionUsedTwiceNamesBothBytes)
{
    std::vector<TSlave_DN> slaves = {Slave(5, 3, 3), Slave(7, 3, 3)};
    slaves[0].SL_ByteIN[0] = slaves[1].SL_ByteIN[2] = "100";  // inputs may share
    EXPECT_EQ(Check_Offsets(slaves), std::nullopt);
    slaves[0].SL_ByteOUT[0] = "100";
    slaves[1].SL_ByteOUT[2] = "100";
    EXPECT_EQ(Check_Offsets(slaves).value_or(""),
              "Error in ByteOUT! The same byte of MQTT is used in two bytes DeviceNet.\n\r"
              "( First ID = 5 Byte = 0, Second ID = 7 Byte = 2)");
}

TEST_F(DeviceNet, PositionsOutsideTheAreaAreRefused)
{
    std::vector<TSlave_DN> slaves = {Slave(5, 2, 2)};
    slaves[0].SL_ByteOUT[1] = "1439";
    slaves[0].SL_ByteIN[0] = "abc";  // not a number: unmapped, as "None"
    EXPECT_EQ(Check_Offsets(slaves), std::nullopt);
    slaves[0].SL_ByteOUT[0] = "1440";
    EXPECT_EQ(Check_Offsets(slaves).value_or(""),
              "Error in ByteOUT! The offset 1440 is not a byte of MQTT (0 .. 1439).\n\r( ID = 5 Byte = 0)");
    slaves[0].SL_ByteOUT[0] = "None";
    slaves[0].SL_ByteIN[1] = "$FFFFF";
    EXPECT_EQ(Check_Offsets(slaves).value_or(""),
              "Error in ByteIN! The offset $FFFFF is not a byte of MQTT (0 .. 1439).\n\r( ID = 5 Byte = 1)");
}

TEST_F(DeviceNet, OffsetsAreJoinedToSlavesByOrder)
{
    Dir.Write("DNETM_Net.xml", "<DNET_Net><row ID=\"5\" NB_IN=\"1\" NB_OUT=\"2\" Mnemonic=\"a\"/>"
                               "<row ID=\"9\" NB_IN=\"2\" NB_OUT=\"0\" Mnemonic=\"c\"/></DNET_Net>");
    // Saved when a slave with 1 input and 1 output stood second: the old third slave's entry now
    // belongs to the second slave.
    Dir.Write("DNETM_DefOff.xml",
              "<Define_Offset><Nodo_DNET><ByteIN><row Offset=\"1\" Mnemonic=\"i0\"/></ByteIN>"
              "<ByteOUT><row Offset=\"2\" Mnemonic=\"o0\"/><row Offset=\"3\" Mnemonic=\"o1\"/></ByteOUT></Nodo_DNET>"
              "<Nodo_DNET><ByteIN><row Offset=\"10\" Mnemonic=\"\"/><row Offset=\"None\" Mnemonic=\"\"/></ByteIN>"
              "<ByteOUT/></Nodo_DNET>"
              "<Nodo_DNET><ByteIN><row Offset=\"20\" Mnemonic=\"x\"/></ByteIN><ByteOUT/></Nodo_DNET>"
              "</Define_Offset>");
    QStringList problems;
    std::vector<TSlave_DN> slaves = Load_Slave_DN(Net(), problems);
    ASSERT_EQ(slaves.size(), 2u);
    EXPECT_EQ(slaves[1].ID, 9);
    EXPECT_EQ(slaves[1].Row, QStringList({"9", "2", "0", "c"}));
    Load_Offset_Slave_DN(Off(), slaves, problems);
    EXPECT_EQ(slaves[0].SL_ByteIN, QStringList({"1"}));
    EXPECT_EQ(slaves[0].SL_ByteOUT, QStringList({"2", "3"}));
    EXPECT_EQ(slaves[0].SL_ByteOUT_M, QStringList({"o0", "o1"}));
    EXPECT_EQ(slaves[1].SL_ByteIN, QStringList({"10", "None"}));
    // The extra entry is named, and nothing else was out of step.
    EXPECT_EQ(problems, QStringList({"The offsets file holds 3 slave entries and the network lists 2 slaves: the last 1 "
                                     "entries are left out and will not be saved again."}));

    // Counts that no longer match are read as far as they go and named.
    Dir.Write("DNETM_DefOff.xml", "<Define_Offset><Nodo_DNET><ByteIN><row Offset=\"1\" Mnemonic=\"\"/>"
                                  "<row Offset=\"2\" Mnemonic=\"\"/></ByteIN><ByteOUT/></Nodo_DNET></Define_Offset>");
    problems.clear();
    slaves = Load_Slave_DN(Net(), problems);
    Load_Offset_Slave_DN(Off(), slaves, problems);
    EXPECT_EQ(slaves[0].SL_ByteIN, QStringList({"1"}));
    EXPECT_EQ(slaves[0].SL_ByteOUT, QStringList({"None", "None"}));
    EXPECT_EQ(problems, QStringList({"Slave 1 (ID 5) has 1 input and 2 output bytes, but its offsets were saved for 2 and "
                                     "0: offsets belong to slaves by their order in the list, check them."}));
}

// Both files read and written again give the same bytes: root, rows and attributes in order,
// the version comment after the root, no declaration and no white space.
TEST_F(DeviceNet, GoldenFilesRoundTripByteForByte)
{
    const QByteArray net = ReadTestData("DNETM_Net.xml"), off = ReadTestData("DNETM_DefOff.xml");
    ASSERT_FALSE(net.isEmpty());
    ASSERT_FALSE(off.isEmpty());
    Dir.Write("DNETM_Net.xml", net);
    Dir.Write("DNETM_DefOff.xml", off);
    std::vector<shell::Table_Rows> tables;
    shell::Read_Project_Tables(Net(), DNETM_Net_Description(), &tables);
    shell::Write_Project_Tables(Dir.File("net_again.xml"), DNETM_Net_Description(), tables);
    EXPECT_EQ(QString::fromUtf8(Dir.Read("net_again.xml")), QString::fromUtf8(net));

    QStringList problems;
    std::vector<TSlave_DN> slaves = Load_Slave_DN(Net(), problems);
    Load_Offset_Slave_DN(Off(), slaves, problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    ASSERT_EQ(slaves.size(), 2u);
    EXPECT_EQ(slaves[1].ID, 63);
    EXPECT_EQ(slaves[1].SL_ByteOUT_M, QStringList({"", "a", "b"}));
    Save_Offset_Slave_DN(Dir.File("off_again.xml"), slaves);
    EXPECT_EQ(QString::fromUtf8(Dir.Read("off_again.xml")), QString::fromUtf8(off));
}

TEST_F(DeviceNet, HostileFilesGiveAMessageAndWhatCouldBeRead)
{
    QStringList problems;
    // A slave the network window would refuse ends the list there.
    Dir.Write("DNETM_Net.xml", "<DNET_Net><row ID=\"5\" NB_IN=\"1\" NB_OUT=\"0\" Mnemonic=\"\"/>"
                               "<row ID=\"5\" NB_IN=\"abc\" NB_OUT=\"0\" Mnemonic=\"\"/>"
                               "<row ID=\"6\" NB_IN=\"1\" NB_OUT=\"0\" Mnemonic=\"\"/></DNET_Net>");
    EXPECT_EQ(Load_Slave_DN(Net(), problems).size(), 1u);
    EXPECT_EQ(problems, QStringList({"Error in row 2!! Number Byte IN must be 0 or 65535"}));

    // A slave lacking an attribute: named, and the list ends there.
    problems.clear();
    Dir.Write("DNETM_Net.xml", "<DNET_Net><row ID=\"5\" NB_IN=\"1\" NB_OUT=\"0\" Mnemonic=\"\"/>"
                               "<row ID=\"6\" NB_OUT=\"0\" Mnemonic=\"\"/></DNET_Net>");
    EXPECT_EQ(Load_Slave_DN(Net(), problems).size(), 1u);
    EXPECT_EQ(problems.size(), 2);

    // 100,000 slaves: the table's 64 are read and the rest named.
    QByteArray many = "<DNET_Net>";
    for (int i = 0; i < 100000; ++i)
        many += "<row ID=\"1\" NB_IN=\"1\" NB_OUT=\"1\" Mnemonic=\"\"/>";
    Dir.Write("DNETM_Net.xml", many + "</DNET_Net>");
    problems.clear();
    std::vector<TSlave_DN> slaves = Load_Slave_DN(Net(), problems);
    EXPECT_EQ(slaves.size(), 64u);
    EXPECT_EQ(problems.size(), 1);

    // Offsets: a 10 MB mnemonic is kept whole; 100,000 rows for one byte read the one; a row
    // lacking its Offset ends the reading with a message.
    const QString huge(10 * 1024 * 1024, QLatin1Char('m'));
    QByteArray off = "<Define_Offset><Nodo_DNET><ByteIN><row Offset=\"7\" Mnemonic=\"" + huge.toLatin1() + "\"/>";
    for (int i = 0; i < 100000; ++i)
        off += "<row Offset=\"8\" Mnemonic=\"\"/>";
    off += "</ByteIN><ByteOUT><row Mnemonic=\"\"/></ByteOUT></Nodo_DNET>"
           "<Nodo_DNET><ByteIN><row Offset=\"9\" Mnemonic=\"\"/></ByteIN></Nodo_DNET></Define_Offset>";
    Dir.Write("DNETM_DefOff.xml", off);
    problems.clear();
    Load_Offset_Slave_DN(Off(), slaves, problems);
    EXPECT_EQ(slaves[0].SL_ByteIN, QStringList({"7"}));
    EXPECT_EQ(slaves[0].SL_ByteIN_M.at(0).size(), huge.size());
    EXPECT_EQ(slaves[1].SL_ByteIN, QStringList({"None"}));
    ASSERT_EQ(problems.size(), 2);
    EXPECT_TRUE(problems[1].contains("lacks \"Offset\" or \"Mnemonic\"")) << problems[1].toStdString();

    // Not XML, or cut short: the offsets before the fault are read, and the message says where
    // the file was kept.
    const QByteArray cut = "<Define_Offset><Nodo_DNET><ByteIN><row Offset=\"4\" Mnemonic=\"\"/><row Off";
    for (const QByteArray& bad : {QByteArray("not xml at all"), cut}) {
        Dir.Write("DNETM_DefOff.xml", bad);
        problems.clear();
        slaves = Load_Slave_DN(Net(), problems);
        Load_Offset_Slave_DN(Off(), slaves, problems);
        ASSERT_GE(problems.size(), 2) << problems.join('\n').toStdString();  // damaged offsets, network rows beyond 64
        EXPECT_TRUE(problems[0].contains(".damaged")) << problems[0].toStdString();
        EXPECT_EQ(slaves[0].SL_ByteIN.at(0), bad == cut ? "4" : "None");
    }
}

}  // namespace
