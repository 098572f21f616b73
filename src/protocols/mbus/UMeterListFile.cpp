#include "protocols/mbus/UMeterListFile.h"

#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "platform/IntText.h"
#include "platform/XmlDoc.h"

#include <charconv>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace {

using platform::XmlNode;

// 26 texts
const char16_t* const Type_Of_Data_Texts[] = {
    u"Energy (Wh)",
    u"Energy (J)",
    u"Volume (m³)",
    u"Mass (Kg)",
    u"On Time",
    u"Operating Time",
    u"Power (W)",
    u"Power (J/h)",
    u"Volume Flow (m³/h)",
    u"Volume Flow Ext. (m³/min)",
    u"Volume Flow Ext. (m³/s)",
    u"Mass Flow (Kg/h)",
    u"Flow Temperature (°C)",
    u"Return Temperature (°C)",
    u"Temperature Difference (K)",
    u"External Temperature (°C)",
    u"Pressure (bar)",
    u"Averaging Duration ",
    u"Actuality Duration",
    u"Type of  Data in VIFE",
    u"Time Point",
    u"VIF is in ASCII",
    u"Unit for H.C.A.",
    u"Fabrication No",
    u"(Enhanced) Identification",
    u"Bus Address",
};

// 4 texts
const char16_t* const Function_Field_Texts[] = {
    u"Instantaneous Value",
    u"Minimun Value",
    u"Maximum Value",
    u"Value During Error State",
};

// 8 texts
const char16_t* const Dimension_Texts[] = {
    u"8",
    u"16",
    u"32",
    u"64",
    u"24",
    u"48",
    u"32 Real",
    u"Variable Length",
};

// 13 texts
const char16_t* const Post_Operation_Texts[] = {
    u"None",
    u" : 10",
    u" : 100",
    u" : 1000",
    u" : 10000",
    u" : 100000",
    u" : 1000000",
    u" * 10",
    u" * 100",
    u" * 1000",
    u" * 10000",
    u" * 100000",
    u" * 1000000",
};

// 152 texts
const char16_t* const VIFE_Texts[] = {
    u"Not Selected",
    u"Credit of the nominal local legal currency units",
    u"Debit of the nominal local legal currency units",
    u"Access Number (transmission count)",
    u"Medium (as in fixed header)",
    u"Manufacturer (as in fixed header)",
    u"Parameter set identification",
    u"Model/Version",
    u"Hardware Version #",
    u"Firmware Version #",
    u"Software Version #",
    u"Customer Location",
    u"Customer",
    u"Access Code User",
    u"Access Code Operator",
    u"Access Code System Operator",
    u"Access Code Developer",
    u"Password",
    u"Error flags (binary)",
    u"Error mask",
    u"Digital Output (binary)",
    u"Digital Input (binary)",
    u"Baudrate [Baud]",
    u"response delay time [bittimes]",
    u"Retry",
    u"First storage # for cyclic storage",
    u"Last storage # for cyclic storage",
    u"Size of storage block",
    u"Storage interval [sec(s)..day(s)]",
    u"Storage interval month(s)",
    u"Storage interval year(s)",
    u"Duration since last readout[sec(s)..day(s)]",
    u"Start (date/time) of tariff",
    u"Duration of tariff (nn=01..11:min to day)",
    u"Period of tariff [sec(s) to day(s)]",
    u"Period of tariff months(s)",
    u"Period of tariff year(s)",
    u"dimensionless/ no VIF",
    u"Volts ",
    u"Ampere",
    u"Reset counter",
    u"Comulation counter",
    u"Control signal",
    u"Day of week",
    u"Week number",
    u"Time point of day change",
    u"State of parameter activation",
    u"Special supplier information",
    u"Duration since last comulation [hour(s)..year(s)]",
    u"Operation time battery [hour(s)..year(s)]",
    u"Date and time of battery change",
    u"Energy MWh",
    u"Energy GJ",
    u"Volume ",
    u"Mass",
    u"Volume 0,1 feet^3",
    u"Volume 0,1 american gallon",
    u"Volume 1 american gallon",
    u"Volume flow 0,001 american gallon/min",
    u"Volume flow 1 american gallon/min",
    u"Volume flow 1 american gallon/h",
    u"Power MW",
    u"Power GJ/h",
    u"Flow Temperature",
    u"Return Temperature",
    u"Temperature Difference",
    u"External Temperature",
    u"Cold/Warm Temperature Limit °F",
    u"Cold/Worm Temperature Limit °C",
    u"Cumul. count max power",
    u"per second",
    u"per minute",
    u"per hour",
    u"per day",
    u"per week",
    u"per month",
    u"per year",
    u"per revolution/measurement",
    u"increment per input pulse on input channel",
    u"increment per output pulse on output channel",
    u"per liter",
    u"per m^3",
    u"per kg",
    u"per K (Kelvin)",
    u"per kWh",
    u"per GJ",
    u"per kW",
    u"per (K*l)(Kelvin*liter) ",
    u"per V (Volt)",
    u"per A (Ampere)",
    u"multiplied by sek",
    u"multiplied by sek/V",
    u"multiplied by sek/A",
    u"start date(/time) of",
    u"VIF contains uncorrected unit instead of corrected unit",
    u"Accumulation only if positive contributions",
    u"Accumulation of abs value only if negative contributions",
    u"upper/lower limit value",
    u"# of exceeds of lower/upper limit",
    u"Date(/time) of begin/end of first/last lower/upper limit exceed",
    u"Duration of limit exceed",
    u"Duration of first/last",
    u"Date(/time) of first/last begin/end",
    u"Multiplicative currection factor",
    u"Additive correction constant * unit of VIF (offset)",
    u"Moltiplicative correction factor: 10^3",
    u"future value",
    u"next VIFE's and data of this block are manufacturer specific",
    u"None",
    u"Too many DIFE's",
    u"Storage number not implemented",
    u"Unit number not implemented",
    u"Tariff number not implemented",
    u"Function not implemented",
    u"Data class not implemented",
    u"Data size not implemented",
    u"Too many VIFE's",
    u"Illegal VIF-Group",
    u"Illegal VIF-Exponent",
    u"VIF/DIF mismatch",
    u"Unimplemented action",
    u"No data available (undefined value)",
    u"Data overflow",
    u"Data underflow",
    u"Data error",
    u"Premature end of record ",
    u"Security Key",
    u"Remote control (devicespecific e.g. gas valve)",
    u"Operator specific data",
    u"Time point second (0 to 59)",
    u"Data container for wireless M-Bus protocol",
    u"Period of nominal data transmissions [sec(s) to day(s)]",
    u"RF level units: dBm",
    u"Daylight savings (beginning, ending, deviation) data type K",
    u"Listening window management data type L",
    u"Remaining battery life time (days)",
    u"Number times the meter was stopped",
    u"Reactive energy",
    u"Apparent energy",
    u"Energy",
    u"Reactive power",
    u"Relative humidity",
    u"Volume",
    u"Phase U-U (volt. to volt.)",
    u"Phase U-I (volt. to current)",
    u"Frequency",
    u"Apparent power",
    u"Reserved for alternate non-metric unit system",
    u"Value at base conditions",
    u"Value during lower (u= 0), upper (u = 1) limit exceed",
    u"Leakage values",
    u"Overflow values",
};

template <size_t N>
QStringList Make_List(const char16_t* const (&texts)[N])
{
    QStringList list;
    list.reserve(qsizetype(N));
    for (const char16_t* t : texts)
        list.append(QString::fromUtf16(t));
    return list;
}

// The attributes the reader knows, each with its slot; what the table does not name is ignored.
enum Slot : int {
    sEnable_Node, sNode_Enable, sDescrizione, sNode_ID_Type, sID, sID_Primary, sID_Secondary, sSend_SND_NKE,
    sReset_App, sNode_State, sIdent_Num, sBCDtoINT_IN, sSwap_IN, sVar_List_Type, sCut_After, sNS_Topic, sIN_Topic,
    sAccess_Number, sAN_Topic, sMBus_Type, sManID, sAdd, sVer, sDevType, sEn_Key, sKey1, sRSSI = sKey1 + 16,
    sRSSI_Topic, sNodeSlots
};
enum VarSlot : int {
    vEnable, vDesc, vType, vFun_Field, vDim, vUnit, vStoNumber, vTariff, vVIFE, vBCDtoINT, vVIF_ASCII, vLength,
    vPosition, vTopic, vPost_Operation, vVarSlots
};

const char* const Node_Names[sNodeSlots] = {
    "Enable_Node", "Node_Enable", "Descrizione", "Node_ID_Type", "ID", "ID_Primary", "ID_Secondary",
    "Send_SND_NKE", "Reset_App", "Node_State", "Ident_Num", "BCDtoINT_IN", "Swap_IN", "Var_List_Type",
    "Cut_After", "NS_Topic", "IN_Topic", "Access_Number", "AN_Topic", "MBus_Type", "wMBus_ManID", "wMBus_Add",
    "wMBus_Ver", "wMBus_DevType", "wMBus_En_Key", "wMBus_Key_1", "wMBus_Key_2", "wMBus_Key_3", "wMBus_Key_4",
    "wMBus_Key_5", "wMBus_Key_6", "wMBus_Key_7", "wMBus_Key_8", "wMBus_Key_9", "wMBus_Key_10", "wMBus_Key_11",
    "wMBus_Key_12", "wMBus_Key_13", "wMBus_Key_14", "wMBus_Key_15", "wMBus_Key_16", "wMBus_RSSI",
    "wMBus_RSSI_Topic"};
const char* const Var_Names[vVarSlots] = {"Enable", "Desc", "Type", "Fun_Field", "Dim", "Unit", "StoNumber",
                                          "Tariff", "VIFE", "BCDtoINT", "VIF_ASCII", "Length", "Position",
                                          "Topic", "Post_Operation"};

template <size_t N>
const std::unordered_map<std::string_view, int>& Slot_Map(const char* const (&names)[N])
{
    static const std::unordered_map<std::string_view, int> map = [&] {
        std::unordered_map<std::string_view, int> m;
        for (size_t i = 0; i < N; ++i)
            m.emplace(names[i], int(i));
        return m;
    }();
    return map;
}

// The values of one element's known attributes; the first of a repeated name counts.
template <size_t N>
struct Values {
    std::array<std::optional<std::string_view>, N> Slots;
    void Collect(const XmlNode& element, const std::unordered_map<std::string_view, int>& map)
    {
        element.ForEachAttributeUtf8([&](std::string_view name, std::string_view value) {
            const auto it = map.find(name);
            if (it != map.end() && !Slots[size_t(it->second)])
                Slots[size_t(it->second)] = value;
        });
    }
};

QString Text(std::string_view v) { return QString::fromUtf8(v.data(), qsizetype(v.size())); }

// Reads one element's values, naming the element in its messages.
class Element_Reader {
public:
    Element_Reader(QString where, QStringList& warnings) : Where(std::move(where)), Warnings(warnings) {}

    // An integer within [low, high]; a missing attribute gives the default quietly, a value that is
    // not a number or lies outside the range gives it with a warning.
    qint64 Integer(const std::optional<std::string_view>& v, const char* name, qint64 low, qint64 high,
                   qint64 fallback)
    {
        if (!v)
            return fallback;
        const std::optional<qint64> n = platform::Parse_Integer(*v);
        if (n && *n >= low && *n <= high)
            return *n;
        Warnings.append(QStringLiteral("%1: \"%2\" = \"%3\" is not a number from %4 to %5; %6 is used instead.")
                            .arg(Where, QLatin1String(name), Text(*v).left(40))
                            .arg(low)
                            .arg(high)
                            .arg(fallback));
        return fallback;
    }
    int Int(const std::optional<std::string_view>& v, const char* name, int fallback)
    {
        return int(Integer(v, name, INT32_MIN, INT32_MAX, fallback));
    }
    uint8_t Byte(const std::optional<std::string_view>& v, const char* name, int fallback)
    {
        return uint8_t(Integer(v, name, 0, 255, fallback));
    }
    // A value the reading cannot go on without.
    QString Required_Text(const std::optional<std::string_view>& v, const char* name)
    {
        if (!v)
            throw platform::Exception(QStringLiteral("%1: the attribute \"%2\" is missing.").arg(Where, QLatin1String(name)));
        return Text(*v);
    }
    int Required_Int(const std::optional<std::string_view>& v, const char* name)
    {
        Required_Text(v, name);
        const std::optional<int32_t> n = platform::Parse_Int32(*v);
        if (!n)
            throw platform::Exception(QStringLiteral("%1: \"%2\" = \"%3\" is not a number.")
                                          .arg(Where, QLatin1String(name), Text(*v).left(40)));
        return *n;
    }

private:
    QString Where;
    QStringList& Warnings;
};

// A wireless address as an unsigned decimal number: the scanner once wrote addresses from
// 0x80000000 up as negative numbers, which stand for the same 32 bits.
QString Unsigned_Address(std::string_view v)
{
    const std::optional<qint64> n = platform::Parse_Integer(v);
    if (n && *n < 0 && *n >= INT32_MIN)
        return QString::number(quint32(int32_t(*n)));
    return Text(v);
}

TVariabile Read_Variable(const XmlNode& element, const QString& where, QStringList& warnings)
{
    Values<vVarSlots> a;
    a.Collect(element, Slot_Map(Var_Names));
    Element_Reader r(where, warnings);
    TVariabile v;
    v.Enable = a.Slots[vEnable] == std::string_view("1");
    v.Description = r.Required_Text(a.Slots[vDesc], "Desc");
    v.Type_Of_Data = r.Required_Int(a.Slots[vType], "Type");
    v.Function_Field = r.Required_Int(a.Slots[vFun_Field], "Fun_Field");
    v.Dimension = r.Required_Int(a.Slots[vDim], "Dim");
    v.Unita = r.Int(a.Slots[vUnit], "Unit", 0);
    v.Storage_Number = uint32_t(r.Integer(a.Slots[vStoNumber], "StoNumber", 0, UINT32_MAX, 0));
    v.Tariff = r.Int(a.Slots[vTariff], "Tariff", 0);
    v.VIFE = r.Byte(a.Slots[vVIFE], "VIFE", 0);
    v.BCDtoINT = a.Slots[vBCDtoINT] == std::string_view("1");
    if (a.Slots[vVIF_ASCII])
        v.VIF_ASCII = Text(*a.Slots[vVIF_ASCII]);
    v.Length = r.Int(a.Slots[vLength], "Length", 0);
    v.Position = r.Byte(a.Slots[vPosition], "Position", 1);
    v.Topic = r.Int(a.Slots[vTopic], "Topic", 0);
    v.Post_Operation = r.Byte(a.Slots[vPost_Operation], "Post_Operation", 0);
    return v;
}

// One node with its variables. The scanner's dialect, told by its "Node_Enable", counts "Cut_After"
// in frames and gives both IDs on their own.
TNodo Read_Node(const XmlNode& element, int number, QStringList& warnings)
{
    Values<sNodeSlots> a;
    a.Collect(element, Slot_Map(Node_Names));
    const QString where = QStringLiteral("Node %1").arg(number);
    Element_Reader r(where, warnings);
    const bool scan = a.Slots[sNode_Enable] && !a.Slots[sEnable_Node];
    TNodo n;
    n.Enable = scan ? a.Slots[sNode_Enable] != std::string_view("0") : a.Slots[sEnable_Node] != std::string_view("0");
    n.Description = r.Required_Text(a.Slots[sDescrizione], "Descrizione");
    n.Node_ID_Type = r.Byte(a.Slots[sNode_ID_Type], "Node_ID_Type", 0);
    const std::optional<qint64> id = scan || !a.Slots[sID] ? std::nullopt : platform::Parse_Integer(*a.Slots[sID]);
    if (id && *id >= INT32_MIN && *id <= INT32_MAX) {
        (n.Node_ID_Type == 0 ? n.Node_ID_Primary : n.Node_ID_Secondary) = int(*id);
    } else {
        n.Node_ID_Primary = r.Int(a.Slots[sID_Primary], "ID_Primary", 1);
        n.Node_ID_Secondary = r.Int(a.Slots[sID_Secondary], "ID_Secondary", 1);
    }
    n.Send_SNK = r.Byte(a.Slots[sSend_SND_NKE], "Send_SND_NKE", 0);
    n.Reset_App = r.Byte(a.Slots[sReset_App], "Reset_App", 0);
    n.Node_State = r.Byte(a.Slots[sNode_State], "Node_State", 0);
    n.Ident_Num = r.Byte(a.Slots[sIdent_Num], "Ident_Num", 0);
    n.BCDtoINT_IN = r.Byte(a.Slots[sBCDtoINT_IN], "BCDtoINT_IN", 0);
    n.Swap_Ident = r.Int(a.Slots[sSwap_IN], "Swap_IN", 0);
    n.Var_List_Type = r.Byte(a.Slots[sVar_List_Type], "Var_List_Type", 0);
    // The "Cut after" list offers 1 to 250 frames.
    if (scan)
        n.Cut_After = uint8_t(r.Integer(a.Slots[sCut_After], "Cut_After", 1, 250, 1) - 1);
    else
        n.Cut_After = uint8_t(r.Integer(a.Slots[sCut_After], "Cut_After", 0, 249, 0));
    n.NS_Topic = r.Int(a.Slots[sNS_Topic], "NS_Topic", 0);
    n.IN_Topic = r.Int(a.Slots[sIN_Topic], "IN_Topic", 0);
    n.Access_Number = r.Byte(a.Slots[sAccess_Number], "Access_Number", 0);
    n.AN_Topic = r.Int(a.Slots[sAN_Topic], "AN_Topic", 0);
    n.MBus_Type = r.Byte(a.Slots[sMBus_Type], "MBus_Type", 1);
    if (a.Slots[sManID])
        n.wMBus_ManID = Text(*a.Slots[sManID]);
    if (a.Slots[sAdd])
        n.wMBus_Add = Unsigned_Address(*a.Slots[sAdd]);
    if (a.Slots[sVer])
        n.wMBus_Ver = Text(*a.Slots[sVer]);
    if (a.Slots[sDevType])
        n.wMBus_DevType = Text(*a.Slots[sDevType]);
    n.wMBus_En_Key = r.Byte(a.Slots[sEn_Key], "wMBus_En_Key", 0);
    for (int k = 0; k < 16; ++k)
        if (a.Slots[size_t(sKey1 + k)])
            n.wMBus_Key[size_t(k)] = Text(*a.Slots[size_t(sKey1 + k)]);
    n.wMBus_RSSI = r.Byte(a.Slots[sRSSI], "wMBus_RSSI", 0);
    n.wMBus_RSSI_Topic = r.Int(a.Slots[sRSSI_Topic], "wMBus_RSSI_Topic", 0);
    return n;
}


}  // namespace

const QStringList& Type_Of_Data_List()
{
    static const QStringList list = Make_List(Type_Of_Data_Texts);
    return list;
}
const QStringList& Function_Field_List()
{
    static const QStringList list = Make_List(Function_Field_Texts);
    return list;
}
const QStringList& Dimension_List()
{
    static const QStringList list = Make_List(Dimension_Texts);
    return list;
}
const QStringList& Post_Operation_List()
{
    static const QStringList list = Make_List(Post_Operation_Texts);
    return list;
}
const QStringList& VIFE_List()
{
    static const QStringList list = Make_List(VIFE_Texts);
    return list;
}

TMeterListRead Read_Meter_List(const QString& path)
{
    TMeterListRead result;
    platform::XmlDocument doc;
    // A list of every meter a gateway can address, with its values, is far larger than a project
    // table; what the editor writes it must be able to read again.
    constexpr qint64 kLargestList = 1024LL * 1024 * 1024;
    const QString fault = doc.LoadPartFromFile(path, kLargestList);
    // A cut file keeps the nodes before the cut; the reading then says so.
    const XmlNode root = doc.DocumentElement();
    int number = 0;
    try {
        if (root) {
            for (const XmlNode& child : root.ChildNodes()) {
                // A "Group" holds the meters of one bus of a device with several.
                const bool group = child.NameUtf8() == "Group";
                const std::vector<XmlNode> elements = group ? child.ChildNodes() : std::vector<XmlNode>{child};
                for (const XmlNode& element : elements) {
                    ++number;
                    TNodo node = Read_Node(element, number, result.Warnings);
                    result.Nodes.push_back(std::move(node));
                    int var_number = 0;
                    for (const XmlNode& var : element.ChildNodes()) {
                        ++var_number;
                        result.Nodes.back().Var_List.push_back(Read_Variable(
                            var, QStringLiteral("Node %1, variable %2").arg(number).arg(var_number), result.Warnings));
                    }
                }
            }
        }
    } catch (const platform::Exception& e) {
        result.Error = e.message();
    }
    if (!fault.isEmpty())
        result.Error = result.Error.isEmpty() ? fault : fault + QLatin1Char('\n') + result.Error;
    return result;
}

QByteArray Meter_List_Bytes(const TNodi_List& nodes)
{
    platform::XmlDocument doc;
    XmlNode root = doc.AddRoot(QStringLiteral("M-Bus_Network"));
    doc.AddComment(QStringLiteral("SW_VERSION = 1.018"));
    // Values go in as UTF-8 without a text object per number: a list may hold every meter a
    // gateway can address.
    char digits[24];
    const auto number = [&digits](qint64 n) {
        const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
        return std::string_view(digits, size_t(end - digits));
    };
    std::string text;
    const auto utf8 = [&text](const QString& s) -> std::string_view {
        text = s.toStdString();
        return text;
    };
    for (const TNodo& n : nodes) {
        XmlNode e = root.AddChild(QStringLiteral("Nodo"));
        e.AppendAttribute("Enable_Node", number(n.Enable));
        e.AppendAttribute("ID_Primary", number(n.Node_ID_Primary));
        e.AppendAttribute("ID_Secondary", number(n.Node_ID_Secondary));
        e.AppendAttribute("Descrizione", utf8(n.Description));
        const std::pair<const char*, qint64> bytes[] = {
            {"Send_SND_NKE", n.Send_SNK},       {"Reset_App", n.Reset_App},         {"Node_State", n.Node_State},
            {"Ident_Num", n.Ident_Num},         {"BCDtoINT_IN", n.BCDtoINT_IN},     {"Swap_IN", n.Swap_Ident},
            {"Node_ID_Type", n.Node_ID_Type},   {"Var_List_Type", n.Var_List_Type}, {"Cut_After", n.Cut_After},
            {"NS_Topic", n.NS_Topic},           {"IN_Topic", n.IN_Topic},           {"Access_Number", n.Access_Number},
            {"AN_Topic", n.AN_Topic},           {"IN_VarType", 0},                  {"MBus_Type", n.MBus_Type},
        };
        for (const auto& [name, value] : bytes)
            e.AppendAttribute(name, number(value));
        const std::pair<const char*, const QString*> identity[] = {
            {"wMBus_ManID", &n.wMBus_ManID}, {"wMBus_Add", &n.wMBus_Add},
            {"wMBus_Ver", &n.wMBus_Ver},     {"wMBus_DevType", &n.wMBus_DevType},
        };
        for (const auto& [name, value] : identity)
            e.AppendAttribute(name, utf8(*value));
        e.AppendAttribute("wMBus_En_Key", number(n.wMBus_En_Key));
        static const char* const key_names[16] = {
            "wMBus_Key_1", "wMBus_Key_2",  "wMBus_Key_3",  "wMBus_Key_4",  "wMBus_Key_5",  "wMBus_Key_6",
            "wMBus_Key_7", "wMBus_Key_8",  "wMBus_Key_9",  "wMBus_Key_10", "wMBus_Key_11", "wMBus_Key_12",
            "wMBus_Key_13", "wMBus_Key_14", "wMBus_Key_15", "wMBus_Key_16"};
        for (size_t k = 0; k < 16; ++k)
            e.AppendAttribute(key_names[k], utf8(n.wMBus_Key[k]));
        e.AppendAttribute("wMBus_RSSI", number(n.wMBus_RSSI));
        e.AppendAttribute("wMBus_RSSI_Topic", number(n.wMBus_RSSI_Topic));
        for (const TVariabile& v : n.Var_List) {
            XmlNode ve = e.AddChild(QStringLiteral("Variabile"));
            ve.AppendAttribute("Enable", number(v.Enable));
            ve.AppendAttribute("Desc", utf8(v.Description));
            const std::pair<const char*, qint64> codes[] = {
                {"Type", v.Type_Of_Data}, {"Fun_Field", v.Function_Field}, {"Dim", v.Dimension}, {"Unit", v.Unita},
                {"StoNumber", v.Storage_Number}, {"Tariff", v.Tariff}, {"VIFE", v.VIFE}, {"BCDtoINT", v.BCDtoINT},
            };
            for (const auto& [name, value] : codes)
                ve.AppendAttribute(name, number(value));
            ve.AppendAttribute("VIF_ASCII", utf8(v.VIF_ASCII));
            ve.AppendAttribute("Length", number(v.Length));
            ve.AppendAttribute("Position", number(v.Position));
            ve.AppendAttribute("Topic", number(v.Topic));
            ve.AppendAttribute("Post_Operation", number(v.Post_Operation));
        }
    }
    return doc.SaveToBytes();
}

void Write_Meter_List(const QString& path, const TNodi_List& nodes)
{
    platform::WriteFileAtomic(path, Meter_List_Bytes(nodes));
}

qint64 Typed_Number(const QString& text)
{
    return platform::Parse_Integer(QStringView(text)).value_or(-1);
}

bool Node_ID_In_Range(bool secondary, qint64 id) { return id >= 0 && id <= (secondary ? 99999999 : 255); }

bool Wireless_Address_In_Range(qint64 address) { return address >= 0 && address <= 0xFFFFFFFFLL; }

QString Read_Problem_Text(const TMeterListRead& read)
{
    constexpr int kShown = 10;
    QStringList lines;
    if (!read.Error.isEmpty())
        lines.append(read.Error);
    lines.append(read.Warnings.mid(0, kShown));
    if (read.Warnings.size() > kShown)
        lines.append(QStringLiteral("... and %1 more.").arg(read.Warnings.size() - kShown));
    return lines.join(QLatin1Char('\n'));
}
