// The meter list file M_Bus.xml: the editor's dialect byte for byte, the scanner's dialect as the
// editor reads it (frames, enable flags, unsigned addresses, groups), round trips, and hostile
// files that give a message and lose no node read before the fault.
#include "MeterListFixture.h"
#include "platform/Exception.h"
#include "protocols/mbus/UMBusScanFiles.h"
#include "support/TempDir.h"
#include "support/TestData.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace meterlist_test;

namespace meterlist_file_test {

const std::vector<QString> Editor_Node_Order = {
    "Enable_Node", "ID_Primary", "ID_Secondary", "Descrizione", "Send_SND_NKE", "Reset_App", "Node_State",
    "Ident_Num", "BCDtoINT_IN", "Swap_IN", "Node_ID_Type", "Var_List_Type", "Cut_After", "NS_Topic", "IN_Topic",
    "Access_Number", "AN_Topic", "IN_VarType", "MBus_Type", "wMBus_ManID", "wMBus_Add", "wMBus_Ver",
    "wMBus_DevType", "wMBus_En_Key", "wMBus_Key_1", "wMBus_Key_2", "wMBus_Key_3", "wMBus_Key_4", "wMBus_Key_5",
    "wMBus_Key_6", "wMBus_Key_7", "wMBus_Key_8", "wMBus_Key_9", "wMBus_Key_10", "wMBus_Key_11", "wMBus_Key_12",
    "wMBus_Key_13", "wMBus_Key_14", "wMBus_Key_15", "wMBus_Key_16", "wMBus_RSSI", "wMBus_RSSI_Topic"};
const std::vector<QString> Editor_Var_Order = {"Enable", "Desc",     "Type",      "Fun_Field", "Dim",
                                               "Unit",   "StoNumber", "Tariff",   "VIFE",      "BCDtoINT",
                                               "VIF_ASCII", "Length", "Position", "Topic",     "Post_Operation"};

class MeterListFile : public ::testing::Test {
protected:
    TempDir Dir;
    QString Path = Dir.File(QStringLiteral("M_Bus.xml"));

    TMeterListRead Read_Text(const QByteArray& xml)
    {
        Dir.Write(QStringLiteral("M_Bus.xml"), xml);
        return Read_Meter_List(Path);
    }
};

// ---- the editor's dialect ----

TEST_F(MeterListFile, EditorDialectMatchesItsGoldenFile)
{
    const QByteArray xml = Meter_List_Bytes(Sample_List());
    EXPECT_EQ(xml, ReadTestData("meter_list_editor.xml")) << xml.toStdString();
    // No declaration; the root, then the version comment after it at document level.
    EXPECT_TRUE(xml.startsWith("<M-Bus_Network>"));
    EXPECT_TRUE(xml.trimmed().endsWith("</M-Bus_Network>\n<!--SW_VERSION = 1.018-->"));
    const auto nodes = Attribute_Orders(xml, QStringLiteral("Nodo"));
    ASSERT_EQ(nodes.size(), 3u);
    for (const auto& order : nodes)
        EXPECT_EQ(order, Editor_Node_Order);
    const auto vars = Attribute_Orders(xml, QStringLiteral("Variabile"));
    ASSERT_EQ(vars.size(), 4u);
    for (const auto& order : vars)
        EXPECT_EQ(order, Editor_Var_Order);
    // Values the old reader lost: the whole unsigned storage number and a wireless address past
    // 0x7FFFFFFF, written as they are.
    EXPECT_EQ(Attribute_Values(xml, "StoNumber"), (std::vector<QString>{"0", "4294967295", "0", "0"}));
    EXPECT_EQ(Attribute_Values(xml, "wMBus_Add"), (std::vector<QString>{"", "", "4294967295"}));
    EXPECT_EQ(Attribute_Values(xml, "Cut_After"), (std::vector<QString>{"2", "249", "0"}));
}

TEST_F(MeterListFile, EmptyListWritesTheRootAndTheComment)
{
    EXPECT_EQ(Meter_List_Bytes({}), QByteArray("<M-Bus_Network />\n<!--SW_VERSION = 1.018-->\n"));
    Write_Meter_List(Path, {});
    const TMeterListRead read = Read_Meter_List(Path);
    EXPECT_TRUE(read.Complete());
    EXPECT_TRUE(read.Nodes.empty());
}

TEST_F(MeterListFile, EditorDialectRoundTripKeepsEveryField)
{
    const TNodi_List list = Sample_List();
    Write_Meter_List(Path, list);
    const TMeterListRead read = Read_Meter_List(Path);
    EXPECT_TRUE(read.Complete()) << read.Error.toStdString();
    EXPECT_TRUE(read.Warnings.isEmpty()) << read.Warnings.join('\n').toStdString();
    ASSERT_EQ(read.Nodes.size(), list.size());
    for (size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ(read.Nodes[i], list[i]) << "node " << i;
    // Written again, byte for byte the same.
    EXPECT_EQ(Meter_List_Bytes(read.Nodes), Meter_List_Bytes(list));
}

// ---- the reader's rules, one attribute at a time ----

struct AttributeCase {
    const char* Node;
    const char* Var;
    const char* Field;
    QString Expected;
    bool Warns;
};

QString Field_Of(const TNodo& n, const char* field)
{
    const QString f = QLatin1String(field);
    const TVariabile& v = n.Var_List.front();
    if (f == "Enable") return QString::number(n.Enable);
    if (f == "IDs") return QStringLiteral("%1/%2").arg(n.Node_ID_Primary).arg(n.Node_ID_Secondary);
    if (f == "MBus_Type") return QString::number(n.MBus_Type);
    if (f == "En_Key") return QString::number(n.wMBus_En_Key);
    if (f == "Cut_After") return QString::number(n.Cut_After);
    if (f == "Add") return n.wMBus_Add;
    if (f == "Node_State") return QString::number(n.Node_State);
    if (f == "Var_Enable") return QString::number(v.Enable);
    if (f == "Position") return QString::number(v.Position);
    if (f == "StoNumber") return QString::number(v.Storage_Number);
    if (f == "VIFE") return QString::number(v.VIFE);
    if (f == "Topic") return QString::number(v.Topic);
    return {};
}

TEST_F(MeterListFile, AttributesTakeTheirValueOrTheirDefault)
{
    const AttributeCase cases[] = {
        {"Enable_Node=\"0\"", "", "Enable", "0", false},
        {"Enable_Node=\"false\"", "", "Enable", "1", false},
        {"", "", "Enable", "1", false},
        // The scanner's dialect keeps a meter that was not ticked disabled.
        {"Node_Enable=\"0\"", "", "Enable", "0", false},
        {"Node_ID_Type=\"1\" ID=\"1234\"", "", "IDs", "1/1234", false},
        {"Node_ID_Type=\"1\" ID_Primary=\"7\" ID_Secondary=\"1234\"", "", "IDs", "7/1234", false},
        {"ID_Primary=\"99999999999\"", "", "IDs", "1/1", true},
        {"MBus_Type=\"x\"", "", "MBus_Type", "1", true},
        {"", "", "MBus_Type", "1", false},
        {"wMBus_En_Key=\"x\"", "", "En_Key", "0", true},
        // Editor dialect: an item index. Scanner dialect: frames.
        {"Cut_After=\"3\"", "", "Cut_After", "3", false},
        {"Node_Enable=\"1\" Cut_After=\"3\"", "", "Cut_After", "2", false},
        {"Node_Enable=\"1\" Cut_After=\"0\"", "", "Cut_After", "0", true},
        {"Cut_After=\"300\"", "", "Cut_After", "0", true},
        {"Cut_After=\"250\"", "", "Cut_After", "0", true},
        {"Node_Enable=\"1\" Cut_After=\"250\"", "", "Cut_After", "249", false},
        // A register number past a byte (the scanner's node state) is not cut to its low bits.
        {"Node_State=\"300\"", "", "Node_State", "0", true},
        // Addresses the scanner once wrote signed read as the same 32 bits.
        {"wMBus_Add=\"-2147483647\"", "", "Add", "2147483649", false},
        {"wMBus_Add=\"-1\"", "", "Add", "4294967295", false},
        {"wMBus_Add=\"0x80000001\"", "", "Add", "0x80000001", false},
        {"", "Enable=\"1\"", "Var_Enable", "1", false},
        {"", "Enable=\"true\"", "Var_Enable", "0", false},
        {"", "", "Position", "1", false},
        {"", "Position=\"300\"", "Position", "1", true},
        {"", "Position=\"$FF\"", "Position", "255", false},
        {"", "StoNumber=\"4294967295\"", "StoNumber", "4294967295", false},
        {"", "StoNumber=\"2147483648\"", "StoNumber", "2147483648", false},
        {"", "StoNumber=\"4294967296\"", "StoNumber", "0", true},
        {"", "StoNumber=\"-5\"", "StoNumber", "0", true},
        {"", "VIFE=\"256\"", "VIFE", "0", true},
        {"", "Topic=\"  12\"", "Topic", "12", false},
        {"", "Topic=\"12 \"", "Topic", "0", true},
    };
    for (const AttributeCase& c : cases) {
        const QByteArray xml = QByteArray("<M-Bus_Network><Nodo Descrizione=\"n\" ") + c.Node +
                               "><Variabile Desc=\"v\" Type=\"0\" Fun_Field=\"0\" Dim=\"0\" " + c.Var +
                               "/></Nodo></M-Bus_Network>";
        const TMeterListRead read = Read_Text(xml);
        SCOPED_TRACE(xml.toStdString());
        ASSERT_TRUE(read.Complete()) << read.Error.toStdString();
        ASSERT_EQ(read.Nodes.size(), 1u);
        EXPECT_EQ(Field_Of(read.Nodes[0], c.Field), c.Expected);
        EXPECT_EQ(!read.Warnings.isEmpty(), c.Warns) << read.Warnings.join('\n').toStdString();
    }
}

TEST_F(MeterListFile, FirstElementIsTheRootWhateverComesBefore)
{
    const TMeterListRead read = Read_Text(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- made by hand -->\n<Any_Name>"
        "<Nodo Descrizione=\"a\"/><Nodo Descrizione=\"b\"/></Any_Name>");
    EXPECT_TRUE(read.Complete()) << read.Error.toStdString();
    ASSERT_EQ(read.Nodes.size(), 2u);
    EXPECT_EQ(read.Nodes[1].Description, "b");
}

// ---- the scanner's dialect ----

std::unique_ptr<TVariable_MBus> Scan_Record(int data_field, int nbyte = 0)
{
    auto v = std::make_unique<TVariable_MBus>();
    v->dimension = uint8_t(data_field);
    v->nbyte = nbyte;
    v->Real_Wireless_Var = true;
    v->type_data = 2;
    v->Desc_Type_Data = QStringLiteral("Volume (m³)");
    return v;
}

TEST_F(MeterListFile, WiredScanFileGoldenAndWhatTheEditorMakesOfIt)
{
    TList_Slave_MBus meters;
    for (auto [primary, id] : {std::pair{5, "12345678"}, std::pair{7, "00001234"}}) {
        auto m = std::make_unique<TSlave_MBus>();
        m->Primary_Addresss = uint16_t(primary);
        m->Secondary_Addresss = QString::fromLatin1(id);
        m->descManufacture = QStringLiteral("PAD");
        meters.push_back(std::move(m));
    }
    // 32-bit, 16-bit, 6-digit BCD, 6 bytes of variable length; the second meter's record is not ticked.
    for (auto [field, nbyte] : {std::pair{4, 0}, std::pair{2, 0}, std::pair{11, 0}, std::pair{13, 6}})
        meters[0]->List_Var.push_back(Scan_Record(field, nbyte));
    meters[1]->List_Var.push_back(Scan_Record(7));
    meters[1]->List_Var[0]->Enable = false;
    meters[1]->Enable = false;
    TSaveConfXML in;
    in.File_Name = Path;
    in.Cut_After = 3;
    ASSERT_TRUE(Save_XML_Conf_Wired(meters, in, false));
    const QByteArray xml = Dir.Read(QStringLiteral("M_Bus.xml"));
    EXPECT_EQ(xml, ReadTestData("meter_list_scan_wired.xml")) << xml.toStdString();
    const std::vector<QString> node_order = {"Node_Enable", "ID_Primary", "ID_Secondary", "Node_ID_Type",
                                             "Descrizione", "Send_SND_NKE", "Reset_App", "Cut_After"};
    for (const auto& order : Attribute_Orders(xml, QStringLiteral("Nodo")))
        EXPECT_EQ(order, node_order);
    const std::vector<QString> var_order = {"Enable", "Position", "Desc",    "Type",     "VIF_ASCII", "Fun_Field",
                                            "Length", "ModReg",   "Dim",     "Unit",     "StoNumber", "Tariff",
                                            "VIFE",   "ModScale", "BCDtoINT", "SWAP"};
    for (const auto& order : Attribute_Orders(xml, QStringLiteral("Variabile")))
        EXPECT_EQ(order, var_order);
    // Registers per record: 2, 1, 2, 4, then the second meter runs on from 10.
    EXPECT_EQ(Attribute_Values(xml, "ModReg"), (std::vector<QString>{"1", "3", "4", "6", "10"}));

    const TMeterListRead read = Read_Meter_List(Path);
    ASSERT_TRUE(read.Complete()) << read.Error.toStdString();
    EXPECT_TRUE(read.Warnings.isEmpty()) << read.Warnings.join('\n').toStdString();
    ASSERT_EQ(read.Nodes.size(), 2u);
    const TNodo& first = read.Nodes[0];
    EXPECT_TRUE(first.Enable);
    EXPECT_FALSE(read.Nodes[1].Enable) << "the unticked meter stays disabled";
    EXPECT_EQ(first.Node_ID_Primary, 5);
    EXPECT_EQ(first.Node_ID_Secondary, 12345678);
    EXPECT_EQ(first.MBus_Type, 1);
    EXPECT_EQ(first.Cut_After, 2) << "3 frames are the list's item \"3\"";
    ASSERT_EQ(first.Var_List.size(), 4u);
    EXPECT_EQ(first.Var_List[3].Dimension, 7);
    EXPECT_EQ(first.Var_List[3].Length, 6);
    EXPECT_EQ(first.Var_List[2].Position, 3);
    EXPECT_FALSE(read.Nodes[1].Var_List[0].Enable);

    // The editor writes it back in its own dialect: still 3 frames, now as the item index.
    const QByteArray again = Meter_List_Bytes(read.Nodes);
    EXPECT_EQ(Attribute_Values(again, "Cut_After"), (std::vector<QString>{"2", "2"}));
    EXPECT_EQ(Attribute_Values(again, "Enable_Node"), (std::vector<QString>{"1", "0"}));
}

TEST_F(MeterListFile, WirelessScanFileGoldenAndUnsignedAddress)
{
    TList_Slave_wMBus meters;
    auto m = std::make_unique<TSlave_wMBus>();
    m->ALA_Manufacturer = 0x2C2D;
    m->ALA_Manu_str = QStringLiteral("KAM");
    m->ALA_Address = int32_t(0x80000001u);
    m->ALA_Version = 27;
    m->ALA_DeviceType = 3;
    m->Enable_Key = true;
    for (int k = 0; k < 16; ++k)
        m->Key[size_t(k)] = uint8_t(k * 16 + 15);
    m->List_Var.push_back(Scan_Record(4));
    m->List_Var.push_back(Scan_Record(2));
    m->List_Var[1]->Real_Wireless_Var = false;  // an idle filler: left out, its position skipped
    m->List_Var.push_back(Scan_Record(13, 5));
    meters.push_back(std::move(m));
    TSaveConfXML in;
    in.File_Name = Path;
    ASSERT_TRUE(Save_XML_Conf_Wireless(meters, in, false));
    const QByteArray xml = Dir.Read(QStringLiteral("M_Bus.xml"));
    EXPECT_EQ(xml, ReadTestData("meter_list_scan_wireless.xml")) << xml.toStdString();
    std::vector<QString> node_order = {"Node_Enable",   "ID_Primary",  "ID_Secondary", "Node_ID_Type",
                                       "Descrizione",   "Send_SND_NKE", "Reset_App",   "Cut_After",
                                       "MBus_Type",     "wMBus_ManID", "wMBus_Add",    "wMBus_Ver",
                                       "wMBus_DevType", "wMBus_En_Key"};
    for (int k = 1; k <= 16; ++k)
        node_order.push_back(QStringLiteral("wMBus_Key_%1").arg(k));
    EXPECT_EQ(Attribute_Orders(xml, QStringLiteral("Nodo")), (std::vector<std::vector<QString>>{node_order}));
    EXPECT_EQ(Attribute_Values(xml, "wMBus_Add"), (std::vector<QString>{"2147483649"}));
    EXPECT_EQ(Attribute_Values(xml, "Position"), (std::vector<QString>{"1", "3"}));
    // 32-bit: 2 registers; 5 bytes of variable length: 3.
    EXPECT_EQ(Attribute_Values(xml, "ModReg"), (std::vector<QString>{"1", "3"}));

    const TMeterListRead read = Read_Meter_List(Path);
    ASSERT_TRUE(read.Complete()) << read.Error.toStdString();
    ASSERT_EQ(read.Nodes.size(), 1u);
    const TNodo& n = read.Nodes[0];
    EXPECT_EQ(n.MBus_Type, 0);
    EXPECT_EQ(n.wMBus_Add, "2147483649");
    EXPECT_EQ(n.wMBus_ManID, "11309");
    EXPECT_EQ(n.wMBus_En_Key, 1);
    EXPECT_EQ(n.wMBus_Key[0], "15");
    EXPECT_EQ(n.wMBus_Key[15], "255");
    EXPECT_EQ(n.Cut_After, 2);
    ASSERT_EQ(n.Var_List.size(), 2u);
    EXPECT_EQ(n.Var_List[1].Position, 3);
    EXPECT_EQ(n.Var_List[1].Length, 5);
}

TEST_F(MeterListFile, ScanAppendedToAnEditorFileReadsBothDialects)
{
    Write_Meter_List(Path, Sample_List());
    TList_Slave_MBus meters;
    auto m = std::make_unique<TSlave_MBus>();
    m->Primary_Addresss = 9;
    m->Secondary_Addresss = QStringLiteral("55");
    m->descManufacture = QStringLiteral("ELS");
    m->List_Var.push_back(Scan_Record(2));
    meters.push_back(std::move(m));
    TSaveConfXML in;
    in.File_Name = Path;
    in.Append = 1;
    in.Cut_After = 1;
    ASSERT_TRUE(Save_XML_Conf_Wired(meters, in, false));
    const TMeterListRead read = Read_Meter_List(Path);
    ASSERT_TRUE(read.Complete()) << read.Error.toStdString();
    ASSERT_EQ(read.Nodes.size(), 4u);
    const TNodi_List sample = Sample_List();
    for (size_t i = 0; i < sample.size(); ++i)
        EXPECT_EQ(read.Nodes[i], sample[i]);
    EXPECT_EQ(read.Nodes[3].Node_ID_Primary, 9);
    EXPECT_EQ(read.Nodes[3].Cut_After, 0);
}

TEST_F(MeterListFile, GroupsOfDevicesWithSeveralBusesAreReadAsTheirMeters)
{
    TList_Slave_MBus meters;
    for (int a : {3, 4}) {
        auto m = std::make_unique<TSlave_MBus>();
        m->Primary_Addresss = uint16_t(a);
        m->Secondary_Addresss = QStringLiteral("1");
        m->descManufacture = QStringLiteral("ABB");
        meters.push_back(std::move(m));
    }
    TSaveConfXML in;
    in.File_Name = Path;
    in.XML_Code_Dev = 4;
    in.Cut_After = 2;
    ASSERT_TRUE(Save_XML_Conf_Wired(meters, in, false));
    const TMeterListRead read = Read_Meter_List(Path);
    ASSERT_TRUE(read.Complete()) << read.Error.toStdString();
    ASSERT_EQ(read.Nodes.size(), 2u);
    // With this device the scanner writes "ID" too; the two IDs of their own win.
    EXPECT_EQ(read.Nodes[1].Node_ID_Primary, 4);
    EXPECT_EQ(read.Nodes[1].Cut_After, 1);
}

// ---- hostile files ----

TEST_F(MeterListFile, FaultsStopTheReadingWithAMessageAndKeepWhatCameBefore)
{
    const QByteArray whole = Meter_List_Bytes(Sample_List());
    struct Case {
        const char* Name;
        QByteArray Xml;
        size_t Nodes;
        const char* Message;
    };
    const Case cases[] = {
        {"cut inside the third node", whole.left(whole.indexOf("Radio gas") + 3), 2, "not valid XML"},
        {"cut inside a variable", whole.left(whole.indexOf("Volume") + 2), 1, "not valid XML"},
        {"not XML", "M-Bus meters, one per line", 0, "not valid XML"},
        {"empty", "", 0, "not valid XML"},
        {"node without description",
         "<M-Bus_Network><Nodo Descrizione=\"a\"/><Nodo ID_Primary=\"2\"/><Nodo Descrizione=\"c\"/></M-Bus_Network>",
         1, "Node 2: the attribute \"Descrizione\" is missing"},
        {"type not a number",
         "<M-Bus_Network><Nodo Descrizione=\"a\"><Variabile Desc=\"v\" Type=\"0\" Fun_Field=\"0\" Dim=\"0\"/>"
         "<Variabile Desc=\"w\" Type=\"kWh\" Fun_Field=\"0\" Dim=\"0\"/></Nodo><Nodo Descrizione=\"b\"/></M-Bus_Network>",
         1, "Node 1, variable 2: \"Type\" = \"kWh\" is not a number"},
        {"type past 32 bits",
         "<M-Bus_Network><Nodo Descrizione=\"a\"><Variabile Desc=\"v\" Type=\"99999999999\" Fun_Field=\"0\" "
         "Dim=\"0\"/></Nodo></M-Bus_Network>",
         1, "\"Type\" = \"99999999999\" is not a number"},
        {"dimension missing",
         "<M-Bus_Network><Nodo Descrizione=\"a\"><Variabile Desc=\"v\" Type=\"0\" Fun_Field=\"0\"/></Nodo></M-Bus_Network>",
         1, "\"Dim\" is missing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const TMeterListRead read = Read_Text(c.Xml);
        EXPECT_FALSE(read.Complete());
        EXPECT_TRUE(read.Error.contains(QLatin1String(c.Message))) << read.Error.toStdString();
        EXPECT_EQ(read.Nodes.size(), c.Nodes);
    }
    // The nodes read before a cut are whole, with every variable read before it.
    const TMeterListRead cut = Read_Text(whole.left(whole.indexOf("Radio gas") + 3));
    ASSERT_EQ(cut.Nodes.size(), 2u);
    EXPECT_EQ(cut.Nodes[0], Sample_List()[0]);
    EXPECT_EQ(cut.Nodes[1], Sample_List()[1]);
}

TEST_F(MeterListFile, HugeValuesWarnOnceEachAndTheMessageStaysShort)
{
    QByteArray xml = "<M-Bus_Network>";
    for (int i = 0; i < 25; ++i)
        xml += "<Nodo Descrizione=\"n\" Send_SND_NKE=\"" + QByteArray(300, '9') + "\"/>";
    xml += "</M-Bus_Network>";
    const TMeterListRead read = Read_Text(xml);
    EXPECT_TRUE(read.Complete());
    EXPECT_EQ(read.Nodes.size(), 25u);
    EXPECT_EQ(read.Warnings.size(), 25);
    const QString text = Read_Problem_Text(read);
    EXPECT_EQ(text.count('\n'), 10) << "ten warnings and a line that counts the rest";
    EXPECT_TRUE(text.endsWith("... and 15 more."));
    EXPECT_LT(text.size(), 2000) << "a long value is cut in the message";
}

TEST_F(MeterListFile, HundredThousandScannedNodesAreReadWhole)
{
    QByteArray xml = "<M-Bus_Network>";
    for (int i = 0; i < 100000; ++i)
        xml += "<Nodo Node_Enable=\"1\" ID_Primary=\"" + QByteArray::number(i % 256) + "\" ID_Secondary=\"" +
               QByteArray::number(i) + "\" Node_ID_Type=\"1\" Descrizione=\"M" + QByteArray::number(i) +
               "\" Cut_After=\"3\"><Variabile Enable=\"1\" Position=\"1\" Desc=\"E\" Type=\"0\" Fun_Field=\"0\" "
               "Dim=\"2\" StoNumber=\"4294967295\"/></Nodo>";
    xml += "</M-Bus_Network>";
    const TMeterListRead read = Read_Text(xml);
    ASSERT_TRUE(read.Complete()) << read.Error.toStdString();
    EXPECT_TRUE(read.Warnings.isEmpty());
    ASSERT_EQ(read.Nodes.size(), 100000u);
    EXPECT_EQ(read.Nodes.back().Own_ID(), 99999);
    EXPECT_EQ(read.Nodes.back().Description, "M99999");
    EXPECT_EQ(read.Nodes[70000].Var_List.front().Storage_Number, 4294967295u);
}

// The editor's dialect of that many nodes is larger than the reader of project tables takes; what
// the editor writes it reads again.
TEST_F(MeterListFile, HundredThousandNodesWrittenAreReadBack)
{
    TNodi_List list;
    list.reserve(100000);
    TNodo n;
    n.Var_List = {meterlist_test::Variable("E", 0, 2)};
    for (int i = 0; i < 100000; ++i) {
        n.Description = QString::number(i);
        n.Node_ID_Secondary = i;
        list.push_back(n);
    }
    Write_Meter_List(Path, list);
    EXPECT_GT(QFileInfo(Path).size(), 64 * 1024 * 1024);
    const TMeterListRead read = Read_Meter_List(Path);
    ASSERT_TRUE(read.Complete()) << read.Error.toStdString();
    ASSERT_EQ(read.Nodes.size(), list.size());
    EXPECT_EQ(read.Nodes.back(), list.back());
    EXPECT_EQ(read.Nodes[51234].Node_ID_Secondary, 51234);
}

TEST_F(MeterListFile, AFileThatCannotBeOpenedThrows)
{
    EXPECT_THROW(Read_Meter_List(Dir.File(QStringLiteral("missing.xml"))), platform::Exception);
}

}  // namespace meterlist_file_test
