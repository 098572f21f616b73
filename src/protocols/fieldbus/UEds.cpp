#include "protocols/fieldbus/UEds.h"

#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "platform/XmlDoc.h"
#include "protocols/fieldbus/UCANopen_Tables.h"
#include "protocols/fieldbus/UDescription_Files.h"
#include "shell/UComon.h"
#include "shell/UProjectTable.h"

#include <algorithm>
#include <map>
#include <utility>

namespace fieldbus::eds {

namespace {

using descriptions::Maker_Name;

const QString Purpose = QStringLiteral("the CANopen EDS file");

QString Hex(uint32_t value, int digits)
{
    return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}
QString Dec(qint64 value) { return QString::number(value); }

// Byte names of the PDO data objects, per PDO position.
const char* const RPDO_Var_Names[Max_PDO] = {"b",  "c",  "d",  "e",  "f",  "g",  "h",  "j",  "k",  "i",
                                             "aa", "ab", "ac", "ad", "ae", "af", "ag", "ah", "ai", "al",
                                             "am", "an", "ao", "ap", "aq", "ar", "as", "at", "au", "av"};
const char* const TPDO_Var_Names[Max_PDO] = {"l",  "m",  "n",  "o",  "p",  "q",  "r",  "s",  "t",  "u",
                                             "ca", "cb", "cc", "cd", "ce", "cf", "cg", "ch", "ci", "cl",
                                             "cm", "cn", "co", "cp", "cq", "cr", "cs", "ct", "cu", "cv"};

// A loaded project file read through its table description; nothing when the file is missing.
struct Project_File {
    platform::XmlDocument Doc;
    std::optional<shell::Table_File_View> View;

    Project_File(const QString& path, const shell::Project_File_Description& description)
    {
        if (!platform::FileExists(path))
            return;
        Doc.LoadFromFile(path);
        View.emplace(Doc.DocumentElement(), description, path, Purpose);
    }
};

[[noreturn]] void Row_Fault(const QString& path, const shell::Project_File_Description& file, int table, size_t row,
                            const QString& problem)
{
    throw platform::Exception(QStringLiteral("Cannot build %1 from the file \"%2\": row %3 of \"%4\": %5")
                                  .arg(Purpose, path, QString::number(row + 1),
                                       file.Tables[size_t(table)].Container, problem));
}

// One line list with the helpers the sections are written with.
class EDS_Text {
public:
    QStringList Lines;

    void Line(const QString& line) { Lines.append(line); }
    void Empty() { Lines.append(QString()); }
    void Key(const char* key, const QString& value) { Lines.append(QLatin1String(key) + QLatin1Char('=') + value); }
    void Header(const QString& name) { Lines.append(QLatin1Char('[') + name + QLatin1Char(']')); }
    // Sub-index sections are named in hexadecimal, as every EDS reader reads them.
    static QString Sub_Name(uint32_t object, uint32_t sub)
    {
        return Hex(object, 4) + QStringLiteral("sub") + QString::number(sub, 16).toUpper();
    }

    // A variable entry: ParameterName, ObjectType, DataType, AccessType, DefaultValue, PDOMapping.
    void Variable(const QString& name, const QString& parameter, const char* type, const char* access,
                  const QString& value, const char* mapping = "0", const char* objectType = "0x07")
    {
        Header(name);
        Key("ParameterName", parameter);
        Key("ObjectType", QLatin1String(objectType));
        Key("DataType", QLatin1String(type));
        Key("AccessType", QLatin1String(access));
        Key("DefaultValue", value);
        Key("PDOMapping", QLatin1String(mapping));
        Empty();
    }
    void Record(const QString& name, int subNumber, const QString& parameter, const char* objectType)
    {
        Header(name);
        Key("SubNumber", Dec(subNumber));
        Key("ParameterName", parameter);
        Key("ObjectType", QLatin1String(objectType));
        Empty();
    }
};

// The fixed objects; a null member is a line the section does not hold.
struct Fixed_Object {
    const char* Section;
    const char* SubNumber;
    const char* ParameterName;
    const char* ObjectType;
    const char* DataType;
    const char* AccessType;
    const char* DefaultValue;
    const char* PDOMapping;
};

constexpr Fixed_Object Fixed_Objects[] = {
    {"1000", nullptr, "Device Type", "0x07", "0x0007", "const", "0x000101A4", "0"},
    {"1001", nullptr, "Error Register", "0x07", "0x0005", "ro", "0x00", "0"},
    {"1005", nullptr, "COB-ID SYNC", "0x07", "0x0007", "rw", "0x80000080", "0"},
    {"1006", nullptr, "Communication Cycle Period", "0x07", "0x0007", "rw", "0x00000000", "0"},
    {"1008", nullptr, "Manufacturer Device Name", "0x07", "0x0009", "const", "s1", "0"},
    {"1014", nullptr, "COB-ID EMCY", "0x07", "0x0007", "ro", "$NODEID+0x80", "0"},
    {"1016", "3", "Heartbeat Consumer Entries", "0x08", nullptr, nullptr, nullptr, nullptr},
    {"1016sub0", nullptr, "Number of Entries", "0x07", "0x0005", "ro", "0x02", "0"},
    {"1016sub1", nullptr, "Consumer Heartbeat Time 1", "0x07", "0x0007", "rw", "0x00000000", "0"},
    {"1016sub2", nullptr, "Consumer Heartbeat Time 2", "0x07", "0x0007", "rw", "0x00000000", "0"},
    {"1017", nullptr, "Producer Heartbeat Time", "0x07", "0x0006", "rw", "0x000003E8", "0"},
    {"1018", "5", "Identity Object", "0x09", nullptr, nullptr, nullptr, nullptr},
    {"1018sub0", nullptr, "number of entries", "0x07", "0x0005", "ro", "0x4", "0"},
    {"1018sub1", nullptr, "Vendor Id", "0x07", "0x0007", "ro", nullptr, "0"},
    {"1018sub2", nullptr, "Product Code", "0x07", "0x0007", "ro", nullptr, "0"},
    {"1018sub3", nullptr, "Revision number", "0x07", "0x0007", "ro", nullptr, "0"},
    {"1018sub4", nullptr, "Serial number", "0x07", "0x0007", "ro", nullptr, "0"},
    {"1029", "2", "Error Behaviour", "0x08", nullptr, nullptr, nullptr, nullptr},
    {"1029sub0", nullptr, "Number of Entries", "0x07", "0x0005", "ro", "1", "0"},
    {"1029sub1", nullptr, "Communication Error", "0x07", "0x0005", "rw", "0x0", "0"},
    {"1280", "4", "Client SDO Parameter 1", "0x09", nullptr, nullptr, nullptr, nullptr},
    {"1280sub0", nullptr, "Number of Entries", "0x07", "0x0005", "ro", "0x03", "0"},
    {"1280sub1", nullptr, "COB-ID Client -> Server", "0x07", "0x0007", "rw", nullptr, "0"},
    {"1280sub2", nullptr, "COB-ID Server -> Client", "0x07", "0x0007", "rw", nullptr, "0"},
    {"1280sub3", nullptr, "Node ID of the SDO Server", "0x07", "0x0005", "rw", nullptr, "0"},
};

constexpr uint32_t Optional_Fixed[] = {0x1005, 0x1006, 0x1008, 0x1014, 0x1016, 0x1017, 0x1029, 0x1280};

void Write_Fixed_Objects(EDS_Text& t)
{
    for (const Fixed_Object& o : Fixed_Objects) {
        t.Header(QLatin1String(o.Section));
        const std::pair<const char*, const char*> keys[] = {
            {"SubNumber", o.SubNumber},   {"ParameterName", o.ParameterName}, {"ObjectType", o.ObjectType},
            {"DataType", o.DataType},     {"AccessType", o.AccessType},       {"DefaultValue", o.DefaultValue},
            {"PDOMapping", o.PDOMapping}};
        for (const auto& [key, value] : keys)
            if (value)
                t.Key(key, QLatin1String(value));
        // The last fixed section is followed directly by the PDO sections or the final line.
        if (&o != &std::end(Fixed_Objects)[-1])
            t.Empty();
    }
}

// Steps of one direction: communication and mapping objects, data objects and names.
struct Direction {
    const std::vector<PDO_Entry>& PDOs;
    uint32_t Communication, Mapping, Data;
    const char* Communication_Name;
    const char* Mapping_Name;
    bool Mapping_Numbered;
    const char* Data_Name;
    const char* const* Var_Names;
    const char* Sub0_Access;
    const char* Byte_Access;
};

void Write_Communication(EDS_Text& t, const Direction& d)
{
    for (size_t i = 0; i < d.PDOs.size(); ++i) {
        const uint32_t x = d.Communication + uint32_t(i);
        t.Record(Hex(x, 4), 4, QLatin1String(d.Communication_Name) + Dec(qint64(i) + 1), "0x09");
        t.Variable(EDS_Text::Sub_Name(x, 0), QStringLiteral("Number of Entries"), "0x0005", "ro", QStringLiteral("0x03"));
        t.Variable(EDS_Text::Sub_Name(x, 1), QStringLiteral("COB-ID"), "0x0007", "rw",
                   QStringLiteral("0x") + Hex(uint32_t(d.PDOs[i].COB_ID), 8));
        t.Variable(EDS_Text::Sub_Name(x, 2), QStringLiteral("Transmission Type"), "0x0005", "rw", QStringLiteral("0xFE"));
        t.Variable(EDS_Text::Sub_Name(x, 3), QStringLiteral("Inhibit Time"), "0x0006", "rw", QStringLiteral("0x0"));
    }
}

void Write_Mapping(EDS_Text& t, const Direction& d)
{
    for (size_t i = 0; i < d.PDOs.size(); ++i) {
        const uint32_t x = d.Mapping + uint32_t(i);
        const int dim = d.PDOs[i].Dimension;
        QString name = QLatin1String(d.Mapping_Name);
        if (d.Mapping_Numbered)
            name += QLatin1Char(' ') + Dec(qint64(i) + 1);
        t.Record(Hex(x, 4), dim + 1, name, "0x09");
        t.Variable(EDS_Text::Sub_Name(x, 0), QStringLiteral("Number of Entries"), "0x0005", "ro",
                   QStringLiteral("0x") + Hex(uint32_t(dim), 2));
        for (int k = 1; k <= dim; ++k)
            t.Variable(EDS_Text::Sub_Name(x, uint32_t(k)), QStringLiteral("Mapping Entry ") + Dec(k), "0x0007", "ro",
                       QStringLiteral("0x") + Hex(d.Data + uint32_t(i), 4) + Hex(uint32_t(k), 2) + QStringLiteral("08"));
    }
}

void Write_Data(EDS_Text& t, const Direction& d)
{
    for (size_t i = 0; i < d.PDOs.size(); ++i) {
        const uint32_t x = d.Data + uint32_t(i);
        const int dim = d.PDOs[i].Dimension;
        t.Record(Hex(x, 4), dim + 1, QLatin1String(d.Data_Name) + Dec(qint64(i) + 1), "0x08");
        t.Variable(EDS_Text::Sub_Name(x, 0), QStringLiteral("Number of Entries"), "0x0005", d.Sub0_Access,
                   QStringLiteral("0x") + Hex(uint32_t(dim), 2));
        for (int k = 1; k <= dim; ++k)
            t.Variable(EDS_Text::Sub_Name(x, uint32_t(k)), QLatin1String(d.Var_Names[i]) + Dec(k), "0x0005",
                       d.Byte_Access, QStringLiteral("0x00"), "1");
    }
}

struct Data_Type {
    const char* Type;
    const char* Low;
    const char* High;
    const char* Default;
};

Data_Type Type_Of(uint8_t quantity)
{
    switch (quantity) {
    case 1: return {"0x0005", "0x00", "0xFF", "0x00"};
    case 2: return {"0x0006", "0x0000", "0xFFFF", "0x0000"};
    default: return {"0x0007", "0x00000000", "0xFFFFFFFF", "0x00000000"};
    }
}

// The keys of an application variable after its ObjectType line.
void Application_Keys(EDS_Text& t, const SDO_Sub_Type& e)
{
    const Data_Type type = Type_Of(e.Quantity);
    t.Key("DataType", QLatin1String(type.Type));
    t.Key("LowLimit", QLatin1String(type.Low));
    t.Key("HighLimit", QLatin1String(type.High));
    t.Key("DefaultValue", QLatin1String(type.Default));
    t.Key("AccessType", QLatin1String(e.Readonly ? "ro" : "rw"));
    t.Key("PDOMapping", QStringLiteral("0"));
    t.Empty();
}

void Write_Application_Objects(EDS_Text& t, const std::vector<SDO_Index>& list)
{
    for (const SDO_Index& o : list) {
        const QString x = Hex(o.Index, 4);
        const std::vector<SDO_Sub_Type>& subs = o.Sub_Indexs;
        // A lone sub-index 0 is a plain variable: the object has no entries to count.
        if (subs.size() == 1 && subs.front().Sub == 0) {
            t.Header(x);
            t.Key("ParameterName", QStringLiteral("Application Variable"));
            t.Key("ObjectType", QStringLiteral("0x7"));
            Application_Keys(t, subs.front());
            continue;
        }
        t.Record(x, int(subs.size()) + 1, QStringLiteral("App Vars"), "0x9");
        t.Variable(EDS_Text::Sub_Name(o.Index, 0), QStringLiteral("Largest Sub-Index supported"), "0x0005", "ro",
                   QStringLiteral("0x") + Hex(subs.back().Sub, 2), "0", "0x7");
        for (const SDO_Sub_Type& e : subs) {
            t.Header(EDS_Text::Sub_Name(o.Index, e.Sub));
            t.Key("ParameterName", QStringLiteral("Application Variable"));
            t.Key("ObjectType", QStringLiteral("0x7"));
            Application_Keys(t, e);
        }
    }
}

}  // namespace

void Load_PDO_List(const QString& path, EDS_Data& data)
{
    const shell::Project_File_Description& description = PDO_CANopen_Description();
    const Project_File file(path, description);
    if (!file.View)
        return;
    std::vector<PDO_Entry>* lists[2] = {&data.RX, &data.TX};
    for (int table = 0; table < 2; ++table) {
        const size_t count = file.View->Row_Count(table);
        if (count > size_t(Max_PDO))
            Row_Fault(path, description, table, size_t(Max_PDO),
                      QStringLiteral("the table holds %1 PDOs, more than the %2 a device description can hold.")
                          .arg(count)
                          .arg(Max_PDO));
        for (size_t r = 0; r < count; ++r) {
            const shell::Table_Row_View row = file.View->Row(table, r);
            PDO_Entry e{row.Int(pdo_rx::COB_ID, 0), row.Int(pdo_rx::Dimension, 8)};
            if (e.Dimension < 1 || e.Dimension > 8)
                Row_Fault(path, description, table, r,
                          QStringLiteral("the Dimension %1 is not 1 to 8 bytes.").arg(e.Dimension));
            lists[table]->push_back(e);
        }
    }
}

void Load_SDO_Server_List(const QString& path, EDS_Data& data)
{
    const shell::Project_File_Description& description = SDO_Server_CANopen_Description();
    const Project_File file(path, description);
    if (!file.View)
        return;
    // Each offered object and where: (table, row).
    std::map<std::pair<int, int>, std::pair<int, size_t>> offered;
    for (int table = 0; table < 2; ++table) {
        for (size_t r = 0; r < file.View->Row_Count(table); ++r) {
            const shell::Table_Row_View row = file.View->Row(table, r);
            const int32_t index = row.Required_Int(sdo_srv::Index);
            const int32_t sub = row.Required_Int(sdo_srv::SubIndex);
            const int32_t nbyte = row.Required_Int(sdo_srv::NByte);
            auto fault = [&](const QString& problem) { Row_Fault(path, description, table, r, problem); };
            if (index < 0x2000 || index > 0x5FFF)
                fault(QStringLiteral("the Index 0x%1 is not an application object (0x2000 to 0x5FFF).")
                          .arg(Hex(uint32_t(index), 4)));
            if (sub < 0 || sub > 0xFF)
                fault(QStringLiteral("the SubIndex %1 is not 0 to 255.").arg(sub));
            if (nbyte != 1 && nbyte != 2 && nbyte != 4)
                fault(QStringLiteral("the NByte %1 is not 1, 2 or 4.").arg(nbyte));
            const auto [at, added] = offered.emplace(std::pair{index, sub}, std::pair{table, r});
            if (!added)
                fault(QStringLiteral("Index 0x%1 SubIndex %2 is offered already in row %3 of \"%4\".")
                          .arg(Hex(uint32_t(index), 4))
                          .arg(sub)
                          .arg(at->second.second + 1)
                          .arg(description.Tables[size_t(at->second.first)].Container));
            const SDO_Sub_Type entry{uint8_t(sub), uint8_t(nbyte), table == 0, {}};
            const int k = Find_SDO_Index(data.SDO_List, uint16_t(index));
            if (k >= 0)
                data.SDO_List[size_t(k)].Sub_Indexs.push_back(entry);
            else
                data.SDO_List.push_back({uint16_t(index), {entry}});
        }
    }
    // Sub-index 0 of an object with entries counts them; a user's data cannot stand there.
    for (const auto& [object, where] : offered)
        if (object.second == 0 && data.SDO_List[size_t(Find_SDO_Index(data.SDO_List, uint16_t(object.first)))]
                                           .Sub_Indexs.size() > 1)
            Row_Fault(path, description, where.first, where.second,
                      QStringLiteral("SubIndex 0 of Index 0x%1 holds the number of the object's entries, so it "
                                     "cannot be an application variable beside other sub-indexes.")
                          .arg(Hex(uint32_t(object.first), 4)));
}

int Find_SDO_Index(const std::vector<SDO_Index>& list, uint16_t index)
{
    for (size_t k = 0; k < list.size(); ++k)
        if (list[k].Index == index)
            return int(k);
    return -1;
}

void Sort_SDO_Sub_Indexs(std::vector<SDO_Index>& list)
{
    for (SDO_Index& o : list)
        std::stable_sort(o.Sub_Indexs.begin(), o.Sub_Indexs.end(),
                         [](const SDO_Sub_Type& a, const SDO_Sub_Type& b) { return a.Sub < b.Sub; });
}

QString EDS_Date_Text(const QDate& date)
{
    return QStringLiteral("%1-%2-%3")
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.year());
}

QString EDS_Time_Text(const QTime& time)
{
    const int h = time.hour();
    const int shown = h % 12 == 0 ? 12 : h % 12;
    return QStringLiteral("%1:%2%3")
        .arg(shown, 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(h < 12 ? "AM" : "PM"));
}

QStringList EDS_Lines(const EDS_Data& data, const QDateTime& now)
{
    const QString time = EDS_Time_Text(now.time());
    const QString date = EDS_Date_Text(now.date());
    const qint64 rx = qint64(data.RX.size()), tx = qint64(data.TX.size());
    EDS_Text t;

    t.Header(QStringLiteral("FileInfo"));
    t.Key("FileName", EDS_File_Name);
    t.Key("FileVersion", QStringLiteral("1"));
    t.Key("FileRevision", QStringLiteral("0"));
    t.Key("EDSVersion", QStringLiteral("4.0"));
    t.Key("Description", EDS_Product_Name);
    t.Key("CreationTime", time);
    t.Key("CreationDate", date);
    t.Key("CreatedBy", Maker_Name);
    t.Key("ModificationTime", time);
    t.Key("ModificationDate", date);
    t.Key("ModifiedBy", Maker_Name);
    t.Empty();

    t.Header(QStringLiteral("DeviceInfo"));
    t.Key("VendorName", Maker_Name);
    t.Key("VendorNumber", QStringLiteral("0x00"));
    t.Key("ProductName", EDS_Product_Name);
    t.Key("ProductNumber", EDS_Product_Number);
    t.Key("RevisionNumber", QStringLiteral("0x0"));
    t.Key("OrderCode", EDS_Order_Code);
    for (const char* line : {"BaudRate_10=1", "BaudRate_20=1", "BaudRate_50=1", "BaudRate_125=1", "BaudRate_250=1",
                             "BaudRate_500=1", "BaudRate_800=0", "BaudRate_1000=1", "DynamicChannelsSupported=0",
                             "GroupMessaging=0", "LSS_Supported=0", "Granularity=0", "SimpleBootUpSlave=1",
                             "SimpleBootUpMaster=0"})
        t.Line(QLatin1String(line));
    t.Key("NrOfRXPDO", Dec(rx));
    t.Key("NrOfTXPDO", Dec(tx));
    t.Empty();

    t.Header(QStringLiteral("Comments"));
    t.Key("Lines", QStringLiteral("0"));
    t.Empty();
    t.Header(QStringLiteral("DummyUsage"));
    for (int k = 1; k <= 7; ++k)
        t.Line(QStringLiteral("Dummy000%1=0").arg(k));
    t.Empty();

    auto list = [&](const char* header, const std::vector<uint32_t>& objects) {
        t.Header(QLatin1String(header));
        t.Key("SupportedObjects", Dec(qint64(objects.size())));
        for (size_t k = 0; k < objects.size(); ++k)
            t.Line(Dec(qint64(k) + 1) + QStringLiteral("=0x") + Hex(objects[k], 4));
        t.Empty();
    };
    list("MandatoryObjects", {0x1000, 0x1001, 0x1018});
    std::vector<uint32_t> optional(std::begin(Optional_Fixed), std::end(Optional_Fixed));
    const std::pair<uint32_t, qint64> ranges[] = {{0x1400, rx}, {0x1600, rx}, {0x1800, tx},
                                                  {0x1A00, tx}, {0x7000, rx}, {0x7050, tx}};
    for (const auto& [base, count] : ranges)
        for (qint64 i = 0; i < count; ++i)
            optional.push_back(base + uint32_t(i));
    list("OptionalObjects", optional);
    std::vector<uint32_t> manufacturer;
    for (const SDO_Index& o : data.SDO_List)
        manufacturer.push_back(o.Index);
    list("ManufacturerObjects", manufacturer);

    Write_Fixed_Objects(t);

    const Direction receive{data.RX, 0x1400, 0x1600, 0x7000, "Receive PDO Communication Parameter ",
                            "Receive PDO Mapping Parameter", false, "RPDO", RPDO_Var_Names, "ro", "rww"};
    const Direction transmit{data.TX, 0x1800, 0x1A00, 0x7050, "Transmit PDO Communication Parameter ",
                             "Transmit PDO Mapping Parameter", true, "TPDO", TPDO_Var_Names, "rw", "rwr"};
    Write_Communication(t, receive);
    Write_Mapping(t, receive);
    Write_Communication(t, transmit);
    Write_Mapping(t, transmit);
    Write_Data(t, receive);
    Write_Data(t, transmit);
    Write_Application_Objects(t, data.SDO_List);
    t.Empty();
    return t.Lines;
}

void Write_EDS_File(const QString& path)
{
    EDS_Data data;
    Load_PDO_List(shell::App_State.File_PDO_CANopen, data);
    Load_SDO_Server_List(shell::App_State.File_SDO_Server_CANopen, data);
    Sort_SDO_Sub_Indexs(data.SDO_List);
    platform::WriteFileAtomic(path, descriptions::Text_File_Bytes(EDS_Lines(data, QDateTime::currentDateTime())));
}

void Save_EDS_File()
{
    platform::FileDialogRequest request;
    request.Save = true;
    request.InitialFolder = shell::App_State.Project_Folder;
    request.Filter = QStringLiteral("Electronic Data Sheet (*.eds)|*.eds");
    request.DefaultExt = QStringLiteral("*.eds");
    request.OverwritePrompt = false;
    const QString path = platform::PromptForFileName(request);
    if (path.isEmpty() || !descriptions::Confirm_Replace(path, 1103))
        return;
    Write_EDS_File(path);
}

}  // namespace fieldbus::eds
