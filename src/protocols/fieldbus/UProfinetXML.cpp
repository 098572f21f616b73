#include "protocols/fieldbus/UProfinetXML.h"

#include "platform/Dialogs.h"
#include "platform/FileUtil.h"
#include "protocols/fieldbus/UDescription_Files.h"
#include "shell/UComon.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <initializer_list>
#include <utility>

namespace fieldbus::gsdml {

namespace {

using Attributes = std::initializer_list<std::pair<const char*, QString>>;

// An attribute value or text as the declared encoding holds it: the characters XML reserves and
// every character beyond ISO-8859-1 as references, control characters as blanks.
QString Escaped(const QString& text)
{
    QString out;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        switch (c) {
        case u'&': out += QStringLiteral("&amp;"); break;
        case u'<': out += QStringLiteral("&lt;"); break;
        case u'>': out += QStringLiteral("&gt;"); break;
        case u'"': out += QStringLiteral("&quot;"); break;
        case u'\'': out += QStringLiteral("&apos;"); break;
        default:
            if (c > 0xFF)
                out += QStringLiteral("&#x%1;").arg(uint(c), 0, 16);
            else if (c < 0x20)  // XML 1.0 has no control characters but white space
                out += QLatin1Char(' ');
            else
                out += ch;
        }
    }
    return out;
}

// The document, one element or comment per line, indented by nesting.
class GSDML_Text {
public:
    QStringList Lines;

    void Open(const char* name, Attributes attributes = {})
    {
        Lines << Indent() + QLatin1Char('<') + Tag(name, attributes) + QLatin1Char('>');
        Open_Names.push_back(name);
    }
    void Leaf(const char* name, Attributes attributes = {})
    {
        Lines << Indent() + QLatin1Char('<') + Tag(name, attributes) + QStringLiteral("/>");
    }
    void Close()
    {
        const char* name = Open_Names.back();
        Open_Names.pop_back();
        Lines << Indent() + QStringLiteral("</") + QLatin1String(name) + QLatin1Char('>');
    }
    // An element holding only text.
    void Text(const char* name, const QString& text)
    {
        Lines << Indent() + QLatin1Char('<') + QLatin1String(name) + QLatin1Char('>') + Escaped(text) +
                     QStringLiteral("</") + QLatin1String(name) + QLatin1Char('>');
    }
    void Comment(const QString& text) { Lines << Indent() + QStringLiteral("<!--") + text + QStringLiteral("-->"); }

private:
    QString Indent() const { return QString(qsizetype(Open_Names.size()), QLatin1Char('\t')); }
    static QString Tag(const char* name, Attributes attributes)
    {
        QString tag = QLatin1String(name);
        for (const auto& [key, value] : attributes)
            tag += QLatin1Char(' ') + QLatin1String(key) + QStringLiteral("=\"") + Escaped(value) + QLatin1Char('"');
        return tag;
    }
    std::vector<const char*> Open_Names;
};

QString S(const char* text) { return QLatin1String(text); }
QString Hex4(int v) { return QStringLiteral("0x") + QString::number(v, 16).toUpper().rightJustified(4, QLatin1Char('0')); }

struct External_Text {
    const char* Id;
    const char* Value;
};

constexpr External_Text External_Texts[] = {
    {"IDT_INFO_Device", "Kelvor Gateways"},
    {"IDT_NAME_DAP1", "ZIDDevice"},
    {"IDT_INFO_DAP1", "Profinet ZID Adapter"},
    {"IDT_SUBSLOT_1", "Subslot 1"},
    {"IDT_SUBSLOT_Interface", "Interface"},
    {"IDT_SUBSLOT_Port1", "Port 1"},
    {"IDT_SUBSLOT_Port2", "Port 2"},
    {"IDT_RECORD_NAME_Head", "Parameters of head module"},
    {"IDT_REF_Power", "Percent power"},
    {"IDT_NAME_VS1", "Submodule V1"},
    {"IDT_INFO_VS1", "Description of submodule V1"},
    {"IDT_NAME_IS", "I"},
    {"IDT_NAME_PS1", "P1"},
    {"IDT_NAME_PS2", "P2"},
    {"IDT_NAME_M1", "Module"},
    {"IDT_INFO_M1", "device ZID"},
    {"IDT_NAME_FAP", "FAP for ZID"},
    {"IDT_INFO_FAP", "Description of FAP for ZID"},
    {"IDT_RECORD_NAME_SlotCluster", "Parameters of the FAP"},
    {"IDT_REF_SlotClusterBegin", "Beginning of slot cluster"},
    {"IDT_NAME_M_PB1", "ZID Device "},
    {"IDT_INFO_M_PB1", "Description of ZID"},
    {"IDT_NAME_S_PB1", "Module of a ZID"},
    {"IDT_INFO_S_PB1", "Description of module of a ZID"},
    {"IDT_PB_Input", "Digital input ZID"},
    {"IDT_PB_InputBit0", "Digital input bit ZID"},
    {"IDT_NAME_S1", "Submodule 1"},
    {"IDT_INFO_S1", "Description of submodule 1"},
    {"IDT_Input_1", "Input byte"},
    {"IDT_Output_1", "Output word"},
    {"IDT_CATEGORY_DI", "Digital Input"},
    {"IDT_INFO_DI", "Description of digital input"},
    {"IDT_CATEGORY_DO", "Digital output"},
    {"IDT_INFO_DO", "Description of digital output"},
    {"IDT_NAME_M1_IDT_REF_channel", "Canale x"},
    {"IDT_REF_reaction_to_cpu_stop", "Reaction to CPU STOP"},
    {"IDT_NAME_M1_Base_Parameters", "Base Parameters"},
    {"IDT_ASSIGN_do_set_substitude_values", "Output substitute value"},
    {"IDT_ASSIGN_do_values_will_hold", "Keep last value"},
    {"IDT_ASSIGN_do_continue_counting", "Continue operation"},
};
// The last texts of the table are written with their value first.
constexpr size_t Value_First_From = std::size(External_Texts) - 3;

void Device_Access_Point(GSDML_Text& x, const GSDML_Values& v)
{
    x.Open("DeviceAccessPointList");
    x.Open("DeviceAccessPointItem",
           {{"PNIO_Version", S("V2.3")}, {"RequiredSchemaVersion", S("V2.25")}, {"ID", S("IDD_1")},
            {"PhysicalSlots", S("0..4")}, {"ModuleIdentNumber", S("0x00000001")}, {"MinDeviceInterval", S("64")},
            {"ImplementationType", v.Name_Station}, {"DNS_CompatibleName", v.Name_Station}, {"FixedInSlots", S("0")},
            {"ObjectUUID_LocalIndex", S("1")}, {"MultipleWriteSupported", S("true")},
            {"MaxSupportedRecordSize", S("8192")}, {"ParameterizationSpeedupSupported", S("true")},
            {"PowerOnToCommReady", S("350")}, {"DeviceAccessSupported", S("true")},
            {"SharedDeviceSupported", S("true")}, {"CheckDeviceID_Allowed", S("false")},
            {"NameOfStationNotTransferable", S("true")}});
    x.Open("ModuleInfo");
    x.Leaf("Name", {{"TextId", S("IDT_NAME_DAP1")}});
    x.Leaf("InfoText", {{"TextId", S("IDT_INFO_DAP1")}});
    x.Leaf("VendorName", {{"Value", descriptions::Maker_Name}});
    x.Leaf("OrderNumber", {{"Value", GSDML_Model_Code}});
    x.Close();
    x.Open("SubslotList");
    for (const auto& [number, text] : {std::pair{"0", "IDT_SUBSLOT_1"}, std::pair{"32768", "IDT_SUBSLOT_Interface"},
                                       std::pair{"32769", "IDT_SUBSLOT_Port1"}, std::pair{"32770", "IDT_SUBSLOT_Port2"}})
        x.Leaf("SubslotItem", {{"SubslotNumber", S(number)}, {"TextId", S(text)}});
    x.Close();
    x.Leaf("IOConfigData", {{"MaxInputLength", S("1440")}, {"MaxOutputLength", S("1440")}, {"MaxDataLength", S("2880")}});
    x.Open("UseableModules");
    x.Leaf("ModuleItemRef", {{"ModuleItemTarget", S("IDM_1")}, {"FixedInSlots", S("1")}});
    x.Close();
    x.Open("VirtualSubmoduleList");
    x.Open("VirtualSubmoduleItem", {{"ID", S("IDS_V1")}, {"SubmoduleIdentNumber", S("0x00000000")}});
    x.Leaf("IOData", {{"IOPS_Length", S("1")}, {"IOCS_Length", S("1")}});
    x.Open("ModuleInfo");
    x.Leaf("Name", {{"TextId", S("IDT_NAME_VS1")}});
    x.Leaf("InfoText", {{"TextId", S("IDT_INFO_VS1")}});
    x.Close();
    x.Close();
    x.Close();
    x.Open("SystemDefinedSubmoduleList");
    x.Open("InterfaceSubmoduleItem",
           {{"ID", S("IDS_I")}, {"SubmoduleIdentNumber", S("0x00000001")}, {"SubslotNumber", S("32768")},
            {"TextId", S("IDT_NAME_IS")}, {"SupportedRT_Classes", S("RT_CLASS_1")},
            {"SupportedProtocols", S("SNMP;LLDP")}, {"SupportedMibs", S("MIB2")}});
    x.Open("ApplicationRelations");
    x.Leaf("TimingProperties", {{"SendClock", S("32")}, {"ReductionRatio", S("1 2 4 8 16 32 64 128 256 512")}});
    x.Close();
    x.Close();
    for (int port = 1; port <= 2; ++port)
        x.Leaf("PortSubmoduleItem",
               {{"ID", QStringLiteral("IDS_P%1").arg(port)},
                {"SubmoduleIdentNumber", S("0x00000002")},
                {"SubslotNumber", QString::number(32768 + port)},
                {"TextId", QStringLiteral("IDT_NAME_PS%1").arg(port)},
                {"MaxPortRxDelay", S("350")},
                {"MaxPortTxDelay", S("160")}});
    x.Close();
    x.Comment(S(" This element tells the engineering tool that the DAP supports fieldbus integration (slot clusters). "));
    x.Comment(S(" <FieldbusIntegrationSlots MaxSupported=\"127\" Range=\"100..9999\"/> "));
    x.Close();
    x.Close();
}

void Module(GSDML_Text& x, const GSDML_Values& v)
{
    x.Open("ModuleList");
    x.Comment(S(" The \"normal\" module carrying the FAP. "));
    // The module's identifiers differ from the access point's, and its submodule's from its own.
    x.Open("ModuleItem", {{"ID", S("IDM_1")}, {"ModuleIdentNumber", S("0x00000002")}});
    x.Open("ModuleInfo");
    x.Leaf("Name", {{"TextId", S("IDT_NAME_M1")}});
    x.Leaf("InfoText", {{"TextId", S("IDT_INFO_M1")}});
    x.Leaf("OrderNumber", {{"Value", S("12345-0040-M")}});
    x.Close();
    x.Open("VirtualSubmoduleList");
    x.Open("VirtualSubmoduleItem", {{"ID", S("IDSM_1")}, {"SubmoduleIdentNumber", S("0x00000001")}});
    x.Open("IOData", {{"IOPS_Length", S("1")}, {"IOCS_Length", S("1")}});
    // The device's output side is what the controller reads.
    x.Open("Input");
    x.Leaf("DataItem", {{"DataType", S("OctetString")}, {"Length", QString::number(v.NByte_OUT)}, {"TextId", S("IDT_Input_1")}});
    x.Close();
    x.Open("Output");
    x.Leaf("DataItem", {{"DataType", S("OctetString")}, {"Length", QString::number(v.NByte_IN)}, {"TextId", S("IDT_Output_1")}});
    x.Close();
    x.Close();
    x.Open("RecordDataList");
    x.Open("ParameterRecordDataItem", {{"Index", S("128")}, {"Length", S("2")}});
    x.Leaf("Name", {{"TextId", S("IDT_NAME_M1_IDT_REF_channel")}});
    x.Leaf("Const", {{"ByteOffset", S("0")}, {"Data", S("0x00,0x00")}});
    x.Leaf("Ref", {{"TextId", S("IDT_REF_reaction_to_cpu_stop")}, {"Visible", S("true")}, {"DataType", S("BitArea")},
                   {"ByteOffset", S("0")}, {"BitOffset", S("0")}, {"BitLength", S("2")}, {"DefaultValue", S("2")},
                   {"AllowedValues", S("0..2")}, {"ValueItemTarget", S("IDV_reaction_to_cpu_stop")},
                   {"ID", S("IDT_REF_reaction_to_cpu_stop")}});
    x.Open("MenuList");
    x.Open("MenuItem", {{"ID", S("IDT_NAME_M1_IDT_REF_channel")}});
    x.Leaf("Name", {{"TextId", S("IDT_NAME_M1_IDT_REF_channel")}});
    x.Leaf("MenuRef", {{"MenuTarget", S("IDT_NAME_M1_Base_Parameters")}});
    x.Close();
    x.Open("MenuItem", {{"ID", S("IDT_NAME_M1_Base_Parameters")}});
    x.Leaf("Name", {{"TextId", S("IDT_NAME_M1_Base_Parameters")}});
    x.Leaf("ParameterRef", {{"ParameterTarget", S("IDT_REF_reaction_to_cpu_stop")}});
    x.Close();
    x.Close();
    x.Close();
    x.Close();
    x.Open("ModuleInfo");
    x.Leaf("Name", {{"TextId", S("IDT_NAME_M1")}});
    x.Leaf("InfoText", {{"TextId", S("IDT_INFO_M1")}});
    x.Close();
    x.Close();
    x.Close();
    x.Close();
    x.Close();
}

void Lists(GSDML_Text& x)
{
    x.Open("ValueList");
    x.Open("ValueItem", {{"ID", S("IDV_reaction_to_cpu_stop")}});
    x.Open("Assignments");
    for (const auto& [text, content] : {std::pair{"IDT_ASSIGN_do_set_substitude_values", "0"},
                                        std::pair{"IDT_ASSIGN_do_values_will_hold", "1"},
                                        std::pair{"IDT_ASSIGN_do_continue_counting", "2"}})
        x.Leaf("Assign", {{"TextId", S(text)}, {"Content", S(content)}});
    x.Close();
    x.Close();
    x.Close();
    x.Open("CategoryList");
    for (const char* kind : {"DI", "DO"}) {
        x.Open("CategoryItem", {{"ID", QStringLiteral("IDC_") + S(kind)}, {"TextId", QStringLiteral("IDT_CATEGORY_") + S(kind)}});
        x.Leaf("InfoText", {{"TextId", QStringLiteral("IDT_INFO_") + S(kind)}});
        x.Close();
    }
    x.Close();
    x.Open("ExternalTextList");
    x.Open("PrimaryLanguage");
    for (size_t k = 0; k < std::size(External_Texts); ++k) {
        const External_Text& t = External_Texts[k];
        if (k < Value_First_From)
            x.Leaf("Text", {{"TextId", S(t.Id)}, {"Value", S(t.Value)}});
        else
            x.Leaf("Text", {{"Value", S(t.Value)}, {"TextId", S(t.Id)}});
    }
    x.Close();
    x.Close();
}

}  // namespace

bool Is_DNS_Name(const QString& name)
{
    static const QRegularExpression label(QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?$"));
    if (name.isEmpty() || name.size() > 240)
        return false;
    for (const QString& part : name.split(QLatin1Char('.')))
        if (!label.match(part).hasMatch())
            return false;
    return true;
}

GSDML_Values Read_Profinet_Parameters(const QString& parGenPath)
{
    const descriptions::Profinet_Values read = descriptions::Read_ParGen_Profinet(parGenPath);
    GSDML_Values v;
    v.NByte_IN = std::clamp(read.NB_IN.value_or(GSDML_Max_Length), 1, GSDML_Max_Length);
    v.NByte_OUT = std::clamp(read.NB_OUT.value_or(GSDML_Max_Length), 1, GSDML_Max_Length);
    const QString name = read.Name_Station.value_or(QString()).trimmed();
    if (Is_DNS_Name(name))
        v.Name_Station = name;
    return v;
}

QByteArray GSDML_Bytes(const GSDML_Values& v)
{
    GSDML_Text x;
    x.Lines << QStringLiteral("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>");
    x.Comment(S(" A fieldbus integration example. "));
    const QString ns = S("http://www.profibus.com/GSDML/2003/11/DeviceProfile");
    x.Open("ISO15745Profile", {{"xmlns", ns},
                               {"xmlns:xsi", S("http://www.w3.org/2001/XMLSchema-instance")},
                               {"xsi:schemaLocation", ns + S(" ..\\xsd\\GSDML-DeviceProfile-v2.31.xsd")}});
    x.Open("ProfileHeader");
    for (const auto& [name, text] : {std::pair{"ProfileIdentification", "PROFINET Device Profile"},
                                     std::pair{"ProfileRevision", "1.00"},
                                     std::pair{"ProfileName", "Device Profile for PROFINET Devices"},
                                     std::pair{"ProfileSource", "PROFIBUS Nutzerorganisation e. V. (PNO)"},
                                     std::pair{"ProfileClassID", "Device"}})
        x.Text(name, S(text));
    x.Open("ISO15745Reference");
    for (const auto& [name, text] : {std::pair{"ISO15745Part", "4"}, std::pair{"ISO15745Edition", "1"},
                                     std::pair{"ProfileTechnology", "GSDML"}})
        x.Text(name, S(text));
    x.Close();
    x.Close();
    x.Open("ProfileBody");
    x.Open("DeviceIdentity", {{"VendorID", Hex4(GSDML_Vendor_ID)}, {"DeviceID", Hex4(GSDML_Device_ID)}});
    x.Leaf("InfoText", {{"TextId", S("IDT_INFO_Device")}});
    x.Leaf("VendorName", {{"Value", descriptions::Maker_Name}});
    x.Close();
    x.Open("DeviceFunction");
    x.Leaf("Family", {{"MainFamily", S("Gateway")}, {"ProductFamily", GSDML_Model_Code}});
    x.Close();
    x.Open("ApplicationProcess");
    Device_Access_Point(x, v);
    Module(x, v);
    Lists(x);
    x.Close();
    x.Close();
    x.Close();
    // Every character is ISO-8859-1 now: references stand for the others.
    return x.Lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
}

void Write_GSDML_File(const QString& path)
{
    platform::WriteFileAtomic(path, GSDML_Bytes(Read_Profinet_Parameters(shell::App_State.File_ParGen)));
}

void Save_PROFINET_XML(const QString& Name_File_XML)
{
    platform::FileDialogRequest request;
    request.Save = true;
    request.InitialFolder = shell::App_State.Project_Folder;
    request.Filter = QStringLiteral("PROFINET XML (*.xml)|") + Name_File_XML;
    request.FileName = Name_File_XML;
    request.OverwritePrompt = false;
    const QString chosen = platform::PromptForFileName(request);
    if (chosen.isEmpty())
        return;
    // Only the folder is taken: the file keeps its standard name.
    const QString path = platform::JoinPath(QFileInfo(chosen).absolutePath(), Name_File_XML);
    if (!descriptions::Confirm_Replace(path, 3411))
        return;
    Write_GSDML_File(path);
}

}  // namespace fieldbus::gsdml
