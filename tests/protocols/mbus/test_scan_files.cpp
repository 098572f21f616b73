// The scan-dialect meter-list writers: attribute order, register allocation per record, per-meter
// start registers, and the reports' texts.
#include "protocols/mbus/UMBusScanFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<TVariable_MBus> Record(int data_field, int nbyte = 0, bool enable = true)
{
    auto v = std::make_unique<TVariable_MBus>();
    v->dimension = data_field;
    v->nbyte = nbyte;
    v->Enable = enable;
    v->Real_Wireless_Var = true;
    v->Desc_Type_Data = QStringLiteral("Volume m3");
    return v;
}

std::unique_ptr<TSlave_MBus> Wired(int primary, const char* id, std::initializer_list<int> fields)
{
    auto m = std::make_unique<TSlave_MBus>();
    m->Primary_Addresss = primary;
    m->Secondary_Addresss = QString::fromLatin1(id);
    m->descManufacture = QStringLiteral("PAD");
    for (int f : fields)
        m->List_Var.push_back(Record(f));
    return m;
}

QString Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Every value of `attribute` in document order.
std::vector<QString> Values(const QString& xml, const QString& attribute)
{
    std::vector<QString> out;
    const QString key = u' ' + attribute + QStringLiteral("=\"");
    for (qsizetype at = xml.indexOf(key); at >= 0; at = xml.indexOf(key, at + 1)) {
        const qsizetype start = at + key.size();
        out.push_back(xml.mid(start, xml.indexOf(u'"', start) - start));
    }
    return out;
}

class ScanFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("M_Bus.xml"));
};

TEST_F(ScanFiles, WiredMeterByPrimaryAddressGoldenAndRegisters)
{
    TList_Slave_MBus meters;
    meters.push_back(Wired(5, "12345678", {4, 2, 11, 13}));
    meters[0]->List_Var[3]->nbyte = 6;
    TSaveConfXML in;
    in.File_Name = path;
    ASSERT_TRUE(Save_XML_Conf_Wired(meters, in, true));
    const QString xml = Read(path);
    EXPECT_TRUE(xml.startsWith(QStringLiteral("<M-Bus_Network>"))) << "no declaration, no version comment";
    EXPECT_TRUE(xml.contains(QStringLiteral(
        "<Nodo Node_Enable=\"1\" ID_Primary=\"5\" ID_Secondary=\"12345678\" Node_ID_Type=\"0\" Descrizione=\"PAD\" "
        "Send_SND_NKE=\"0\" Reset_App=\"0\" Cut_After=\"0\">")))
        << xml.toStdString();
    EXPECT_TRUE(xml.contains(QStringLiteral(
        "<Variabile Enable=\"1\" Position=\"1\" Desc=\"Volume m3 (U0S0T0)\" Type=\"0\" VIF_ASCII=\"\" Fun_Field=\"0\" "
        "Length=\"0\" ModReg=\"1\" Dim=\"2\" Unit=\"0\" StoNumber=\"0\" Tariff=\"0\" VIFE=\"0\" ModScale=\"0\" "
        "BCDtoINT=\"0\" SWAP=\"0\" />")))
        << xml.toStdString();
    // 32-bit: 2 registers; 16-bit: 1; 6-digit BCD: 2; variable length of 6 bytes: 4, "Length" in place.
    EXPECT_EQ(Values(xml, "ModReg"), (std::vector<QString>{"1", "3", "4", "6"}));
    EXPECT_EQ(Values(xml, "Dim"), (std::vector<QString>{"2", "1", "4", "7"}));
    EXPECT_EQ(Values(xml, "Length"), (std::vector<QString>{"0", "0", "0", "6"}));
}

TEST_F(ScanFiles, RegisterSpansFollowTheDataField)
{
    const struct {
        int Field, Nbyte, Dim, Registers;
    } cases[] = {{1, 0, 0, 1},  {2, 0, 1, 1},  {3, 0, 4, 2},  {4, 0, 2, 2},  {5, 0, 6, 2},  {6, 0, 5, 3},
                 {7, 0, 3, 4},  {9, 0, 0, 1},  {10, 0, 1, 1}, {11, 0, 4, 2}, {12, 0, 2, 2}, {14, 0, 5, 3},
                 {13, 1, 7, 1}, {13, 2, 7, 2}, {13, 4, 7, 2}, {13, 5, 7, 3}, {13, 6, 7, 4}, {13, 8, 7, 4},
                 {0, 0, 255, 0}, {8, 0, 255, 0}, {15, 0, 255, 0}};
    for (const auto& c : cases) {
        const TRegisterSpan span = Register_Span(c.Field, c.Nbyte);
        EXPECT_EQ(span.Dim, c.Dim) << c.Field << "/" << c.Nbyte;
        EXPECT_EQ(span.Registers, c.Registers) << c.Field << "/" << c.Nbyte;
    }
}

TEST_F(ScanFiles, PerMeterStartRegistersWithNodeStateAndIdentNumber)
{
    TList_Slave_MBus wired;
    wired.push_back(Wired(1, "1", {4, 4}));
    wired.push_back(Wired(2, "2", {2}));
    TSaveConfXML in;
    in.File_Name = path;
    in.XML_Code_Dev = 0;
    in.StartModnode = 1;
    in.SMN_Array = {100, 200};
    in.En_NodeState = true;
    in.En_IdeNum = true;
    ASSERT_TRUE(Save_XML_Conf_Wired(wired, in, false));
    QString xml = Read(path);
    EXPECT_EQ(Values(xml, "Node_State"), (std::vector<QString>{"100", "200"}));
    EXPECT_EQ(Values(xml, "Ident_Num"), (std::vector<QString>{"101", "201"}));
    EXPECT_EQ(Values(xml, "ModReg"), (std::vector<QString>{"103", "105", "203"}));

    TList_Slave_wMBus radio;
    radio.push_back(std::make_unique<TSlave_wMBus>());
    radio[0]->List_Var.push_back(Record(4));
    radio[0]->List_Var.push_back(Record(4));
    radio[0]->List_Var[1]->Real_Wireless_Var = false;  // an idle filler: left out, its position skipped
    radio[0]->List_Var.push_back(Record(2, 0, false));
    in.SMN_Array = {100};
    ASSERT_TRUE(Save_XML_Conf_Wireless(radio, in, false));
    xml = Read(path);
    EXPECT_EQ(Values(xml, "Node_State"), std::vector<QString>{"100"});
    EXPECT_EQ(Values(xml, "Ident_Num"), std::vector<QString>{"102"});
    EXPECT_EQ(Values(xml, "Position"), (std::vector<QString>{"1", "3"}));
    EXPECT_EQ(Values(xml, "ModReg"), (std::vector<QString>{"103", "105"}));
    EXPECT_EQ(Values(xml, "Dim"), (std::vector<QString>{"2", "255"})) << "a record not selected takes no register";
}

TEST_F(ScanFiles, EmptyListWritesNothingAndReportsCarryTheirTexts)
{
    TSaveConfXML in;
    in.File_Name = path;
    EXPECT_FALSE(Save_XML_Conf_Wired({}, in, true));
    EXPECT_FALSE(QFile::exists(path));

    TList_Slave_wMBus radio;
    radio.push_back(std::make_unique<TSlave_wMBus>());
    radio[0]->ALA_Address = 0x12345678;
    radio[0]->ALA_Manu_str = QStringLiteral("ELS");
    radio[0]->List_Var.push_back(Record(4));
    radio[0]->List_Var[0]->VIF = 0x13;
    Save_Wireless_XML_File_DLL(radio, path);
    const QString xml = Read(path);
    EXPECT_TRUE(xml.contains(QStringLiteral("<Node Manufacturer=\"ELS\" Address=\"12345678\" Version=\"0\" "
                                            "Device_Type=\"0\" Cripted=\"False\">")))
        << xml.toStdString();
    EXPECT_TRUE(xml.contains(QStringLiteral("<VIF>$13</VIF>")));
}

}  // namespace
