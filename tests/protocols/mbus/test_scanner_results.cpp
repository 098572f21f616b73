// What the scanner shows of the results and how they reach a meter list: the texts of the result
// views, copies taken under the engine's lock, and check marks kept by meter and record position.
#include "protocols/mbus/UMBusScanDecode.h"
#include "protocols/mbus/UScanResults.h"
#include "shell/ULanguage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TVariable_MBus> Result_Record(int data_field, const char* value, bool real = true)
{
    auto v = std::make_unique<TVariable_MBus>();
    v->dimension = uint8_t(data_field);
    v->ValueStr = QString::fromLatin1(value);
    v->Desc_Type_Data = QStringLiteral("Volume m3");
    v->device = 1;
    v->storage_number = 2;
    v->tarif = 3;
    v->VIF = 0x13;
    v->totdati = QStringLiteral("78563412");
    v->Real_Wireless_Var = real;
    return v;
}

std::unique_ptr<TSlave_MBus> Result_Meter(int primary, const char* id, int records)
{
    auto m = std::make_unique<TSlave_MBus>();
    m->Primary_Addresss = uint16_t(primary);
    m->Secondary_Addresss = QString::fromLatin1(id);
    m->descManufacture = QStringLiteral("KAM");
    m->Manufacture = 11565;
    m->Version = 2;
    m->Medium = 4;
    for (int i = 0; i < records; ++i)
        m->List_Var.push_back(Result_Record(4, "12"));
    return m;
}

// Every value of `attribute` in the file, in document order.
std::vector<QString> Attribute_Values(const QString& xml, const QString& attribute)
{
    std::vector<QString> values;
    const QString key = u' ' + attribute + QStringLiteral("=\"");
    for (qsizetype at = xml.indexOf(key); at >= 0; at = xml.indexOf(key, at + 1)) {
        const qsizetype start = at + key.size();
        values.push_back(xml.mid(start, xml.indexOf(u'"', start) - start));
    }
    return values;
}

TEST(ScannerTexts, TreeLinesOfMetersAndRecords)
{
    const auto meter = Result_Meter(5, "12345678", 1);
    EXPECT_EQ(Wired_Meter_Text(*meter), QStringLiteral("Primary Address = 5 - Secondary Address = 12345678 - "
                                                       "Manufacturer = KAM(11565) - Version = 2 - Type = 4"));
    const TVariable_MBus& v = *meter->List_Var[0];
    EXPECT_EQ(Record_Text(v), QStringLiteral("Value = 12 - Type = Volume m3 (U1S2T3)"));
    EXPECT_EQ(Record_Detail_Text(v, 0), QStringLiteral("Storage Number = 2"));
    EXPECT_EQ(Record_Detail_Text(v, 8), QStringLiteral("VIF = $13"));
    EXPECT_EQ(Record_Detail_Text(v, 11), QStringLiteral("DATA = $78563412"));
    EXPECT_EQ(Wireless_Record_Text(*Result_Record(0, "", false)), QStringLiteral("Idle Filler"));

    TSlave_wMBus radio;
    radio.ALA_Manu_str = QStringLiteral("ELS");
    radio.ALA_Address = int32_t(0x8765ABCD);
    radio.ALA_Version = 51;
    radio.ALA_DeviceType = 3;
    radio.Cripted = true;
    EXPECT_EQ(Wireless_Meter_Text(radio),
              QStringLiteral("Manufacturer = ELS - Address = 8765ABCD - Version = 51 - Device Type = 3 - CRIPTED!!"));
}

TEST(ScannerTexts, WirelessRowAndProgressLines)
{
    shell::Load_Default_Language();  // with no language loaded every text is empty
    TSlave_wMBus m;
    m.Message_Type = 0x44;
    m.LLA_Manu_str = QStringLiteral("KAM");
    m.LLA_Manufacturer = 0x2C2D;
    m.LLA_Address = int32_t(0xFEDCBA98);
    m.LLA_Version = 27;
    m.LLA_DeviceType = 7;
    m.ALA_Manu_str = QStringLiteral("KAM");
    m.ALA_Manufacturer = 0x2C2D;
    m.ALA_Address = 0x11223344;
    m.ALA_Version = 1;
    m.ALA_DeviceType = 7;
    m.RSSI = -60;
    const QStringList texts = Wireless_Row_Texts(Wireless_Row(0, m), QLocale::c());
    ASSERT_EQ(texts.size(), 12);
    EXPECT_EQ(texts[0], QStringLiteral("1"));
    EXPECT_EQ(texts[2], QStringLiteral("0x44"));
    EXPECT_EQ(texts[3], QStringLiteral("KAM(2C2D)"));
    EXPECT_EQ(texts[4], QStringLiteral("FEDCBA98"));
    EXPECT_EQ(texts[5], QStringLiteral("27 (1B)"));
    EXPECT_EQ(texts[8], QStringLiteral("11223344"));
    EXPECT_EQ(texts[11], QStringLiteral("-60"));

    struct Case {
        int Event, Id, Found, Kind;
        std::optional<QString> Line;
    } cases[] = {
        {1, 0, 0, 1, std::nullopt},
        {1, 0, 0, 2, shell::Lang(3327)},
        {2, 5, 1, 1, QStringLiteral("ID = 5\t")},
        {2, 5, 0, 1, QStringLiteral("ID = 5\t[NOT FOUND]")},
        {2, 0x1234ABCD, 1, 2, QStringLiteral("ID = 1234ABCD")},
        {3, 0, 0, 2, shell::Lang(3328)},
        {3, 0, 0, 1, std::nullopt},
        {4, 0x12345678, 0, 2, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Progress_Line(c.Event, c.Id, c.Found, c.Kind), c.Line) << c.Event << ' ' << c.Kind;
}

TEST(ScannerMarks, KeptByMeterAndPositionAndAppliedToCopies)
{
    TScanMarks marks;
    EXPECT_TRUE(marks.Checked(0));
    marks.Set(0, 1, false);
    marks.Set(1, TScanMarks::Whole_Meter, false);
    marks.Set(1, 0, true);
    TList_Slave_MBus meters;
    meters.push_back(Result_Meter(1, "1", 3));
    meters.push_back(Result_Meter(2, "2", 1));
    marks.Apply(meters);
    EXPECT_TRUE(meters[0]->Enable);
    EXPECT_TRUE(meters[0]->List_Var[0]->Enable);
    EXPECT_FALSE(meters[0]->List_Var[1]->Enable);
    EXPECT_TRUE(meters[0]->List_Var[2]->Enable);
    EXPECT_FALSE(meters[1]->Enable);
    EXPECT_TRUE(meters[1]->List_Var[0]->Enable);
}

// The one road to a file, for the window and the command-line tool: the engine's lists are copied
// under its lock and written with the marks; the engine's own records are never changed.
TEST(ScannerSave, WritesCopiesWithTheMarksAndLeavesTheEngineAlone)
{
    TMBusScanDecode engine;
    {
        std::lock_guard lock(engine.List_Mutex);
        engine.List_Slave_MBus.push_back(Result_Meter(5, "12345678", 2));
        engine.List_Slave_MBus.push_back(Result_Meter(6, "12345679", 1));
        auto radio = std::make_unique<TSlave_wMBus>();
        radio->ALA_Address = int32_t(0x90000001);
        radio->List_Var.push_back(Result_Record(2, "1"));
        radio->List_Var.push_back(Result_Record(0, "", false));
        radio->List_Var.push_back(Result_Record(2, "3"));
        engine.List_Slave_wMBus.push_back(std::move(radio));
    }
    TempDir dir;
    TSaveConfXML in;
    in.File_Name = dir.File(QStringLiteral("M_Bus.xml"));
    TScanMarks marks;
    marks.Set(0, 1, false);
    marks.Set(1, TScanMarks::Whole_Meter, false);
    ASSERT_TRUE(Save_Scan_Result(engine, TMBusType::mtWired, in, true, marks));
    const QString wired = QString::fromUtf8(dir.Read(QStringLiteral("M_Bus.xml")));
    EXPECT_EQ(Attribute_Values(wired, QStringLiteral("Node_Enable")), (std::vector<QString>{"1", "0"}));
    EXPECT_EQ(Attribute_Values(wired, QStringLiteral("Enable")), (std::vector<QString>{"1", "0", "1"}));
    // An unchecked record still takes its registers when registers run on across meters.
    EXPECT_EQ(Attribute_Values(wired, QStringLiteral("ModReg")), (std::vector<QString>{"1", "3", "5"}));
    {
        std::lock_guard lock(engine.List_Mutex);
        EXPECT_TRUE(engine.List_Slave_MBus[0]->List_Var[1]->Enable);
        EXPECT_TRUE(engine.List_Slave_MBus[1]->Enable);
    }

    TScanMarks radio_marks;
    radio_marks.Set(0, 2, false);
    ASSERT_TRUE(Save_Scan_Result(engine, TMBusType::mtWireless, in, true, radio_marks));
    const QString wireless = QString::fromUtf8(dir.Read(QStringLiteral("M_Bus.xml")));
    EXPECT_EQ(Attribute_Values(wireless, QStringLiteral("Position")), (std::vector<QString>{"1", "3"}));
    EXPECT_EQ(Attribute_Values(wireless, QStringLiteral("Enable")), (std::vector<QString>{"1", "0"}));
    // An identification number of 0x80000000 or more is written unsigned.
    EXPECT_EQ(Attribute_Values(wireless, QStringLiteral("wMBus_Add")), (std::vector<QString>{"2415919105"}));

    TMBusScanDecode empty;
    EXPECT_FALSE(Save_Scan_Result(empty, TMBusType::mtWired, in, true));
}

}  // namespace
