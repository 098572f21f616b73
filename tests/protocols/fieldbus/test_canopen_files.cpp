// PDO_CANopen.xml, SDO_Client_CANopen.xml and SDO_Server_CANopen.xml as their windows read and
// write them: golden round trips and hostile files.
#include "platform/Exception.h"
#include "protocols/fieldbus/UCANopen_Tables.h"
#include "shell/ULanguage.h"
#include "support/QStringPrinter.h"
#include "support/TempDir.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

using namespace fieldbus;

namespace {

class CANopenFile : public ::testing::Test {
protected:
    void SetUp() override { shell::Load_Default_Language(); }
    QString Path() const { return Dir.File(QStringLiteral("file.xml")); }
    void Write(const QByteArray& bytes) const { Dir.Write(QStringLiteral("file.xml"), bytes); }
    std::vector<shell::Table_Rows> Read(const shell::Project_File_Description& file, QStringList* problems,
                                        QString* error = nullptr) const
    {
        std::vector<shell::Table_Rows> tables;
        try {
            shell::Read_Project_Tables(Path(), file, &tables, problems);
        } catch (const platform::Exception& e) {
            if (error)
                *error = e.message();
            else
                ADD_FAILURE() << e.message().toStdString();
        }
        return tables;
    }
    TempDir Dir;
};

struct TGolden {
    const char* Name;
    const shell::Project_File_Description& (*File)();
};

// Each golden file holds rows as a user types them (hexadecimal, blanks, empty positions, a
// quote and an ampersand); reading and writing it again gives the same bytes.
TEST_F(CANopenFile, GoldenFilesRoundTripByteForByte)
{
    const TGolden goldens[] = {
        {"PDO_CANopen.xml", &PDO_CANopen_Description},
        {"SDO_Client_CANopen.xml", &SDO_Client_CANopen_Description},
        {"SDO_Server_CANopen.xml", &SDO_Server_CANopen_Description},
    };
    for (const TGolden& g : goldens) {
        SCOPED_TRACE(g.Name);
        const QByteArray golden = ReadTestData(g.Name);
        ASSERT_FALSE(golden.isEmpty());
        Write(golden);
        QStringList problems;
        const std::vector<shell::Table_Rows> tables = Read(g.File(), &problems);
        EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
        ASSERT_EQ(tables.size(), 2u);
        EXPECT_FALSE(tables[0].empty());
        EXPECT_FALSE(tables[1].empty());
        const QString again = Dir.File(QStringLiteral("again.xml"));
        shell::Write_Project_Tables(again, g.File(), tables);
        EXPECT_EQ(QString::fromUtf8(Dir.Read(QStringLiteral("again.xml"))), QString::fromUtf8(golden));
    }
}

TEST_F(CANopenFile, RowsKeepTheirColumnsAsTyped)
{
    Write(ReadTestData("PDO_CANopen.xml"));
    QStringList problems;
    const std::vector<shell::Table_Rows> tables = Read(PDO_CANopen_Description(), &problems);
    ASSERT_GE(tables[1].size(), 1u);
    const QStringList& tx = tables[1][0];
    ASSERT_EQ(tx.size(), pdo_tx::Count);
    EXPECT_EQ(tx[pdo_tx::N], "1");
    EXPECT_EQ(tx[pdo_tx::COB_ID], "$201");
    EXPECT_EQ(tx[pdo_tx::On_Change], "Y");
    EXPECT_EQ(tx[pdo_tx::Mnemonic], "out \"A\" & B");
}

TEST_F(CANopenFile, HostileFilesGiveAMessageAndTheRowsThatCouldBeRead)
{
    QStringList problems;
    QString error;
    // Not XML and truncated: a message that says where the file was kept.
    for (const QByteArray& bad : {QByteArray("PK\x03\x04 binary"),
                                  ReadTestData("PDO_CANopen.xml").left(200)}) {
        Write(bad);
        error.clear();
        Read(PDO_CANopen_Description(), &problems, &error);
        EXPECT_TRUE(error.contains(".damaged")) << error.toStdString();
    }

    // 100,000 rows: the table's capacity is read and the rest named.
    QByteArray many = "<SDO_Server_CANopen><SDO_Read>";
    for (int i = 0; i < 100000; ++i)
        many += "<row Index=\"0x2000\" SubIndex=\"" + QByteArray::number(i % 256) +
                "\" NByte=\"1\" Address_B1=\"0\" Address_B2=\"\" Address_B3=\"\" Address_B4=\"\" Mnemonic=\"\"/>";
    Write(many + "</SDO_Read><SDO_Write/></SDO_Server_CANopen>");
    problems.clear();
    std::vector<shell::Table_Rows> tables = Read(SDO_Server_CANopen_Description(), &problems);
    EXPECT_EQ(tables[0].size(), 500u);
    EXPECT_EQ(problems.size(), 1);

    // A 10 MB attribute is read whole; a row lacking a required attribute is named.
    const QByteArray huge(10 * 1024 * 1024, 'm');
    Write("<SDO_Client_CANopen><SDO_Read><row Device_ID=\"1\" Index=\"0x1000\" SubIndex=\"0\" NByte=\"1\" Poll_Time=\"1\" "
          "Address_B1=\"0\" Address_B2=\"\" Address_B3=\"\" Address_B4=\"\" Mnemonic=\"" + huge + "\"/>"
          "<row Device_ID=\"2\" Index=\"0x1000\"/></SDO_Read><SDO_Write/></SDO_Client_CANopen>");
    problems.clear();
    tables = Read(SDO_Client_CANopen_Description(), &problems);
    ASSERT_GE(tables[0].size(), 1u);
    EXPECT_EQ(tables[0][0][sdo_rd::Mnemonic].size(), huge.size());
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains("Row 2")) << problems[0].toStdString();

    // A missing container: that table is empty and named, the other one is read.
    Write("<PDO_CANopen><Transmit_PDO><row COB-ID=\"1\" Dimension=\"1\" Address_B1=\"0\" Address_B2=\"\" Address_B3=\"\" "
          "Address_B4=\"\" Address_B5=\"\" Address_B6=\"\" Address_B7=\"\" Address_B8=\"\" Send_Time=\"0\" On_Change=\"N\" "
          "Mnemonic=\"\"/></Transmit_PDO></PDO_CANopen>");
    problems.clear();
    error.clear();
    tables = Read(PDO_CANopen_Description(), &problems, &error);
    EXPECT_TRUE(error.contains("has no element \"Receive_PDO\"; its table starts empty")) << error.toStdString();
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_TRUE(tables[0].empty());
    EXPECT_EQ(tables[1].size(), 1u);
}

}  // namespace
