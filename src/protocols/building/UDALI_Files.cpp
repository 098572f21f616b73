#include "protocols/building/UDALI_Files.h"

#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "platform/XmlDoc.h"
#include "shell/ULanguage.h"

#include <charconv>
#include <string_view>

using shell::Cell_Editor;

namespace building::dali {

namespace {

const QString Version = QStringLiteral("1.305");

// Colours as $00BBGGRR.
constexpr uint32_t Orange = 11589887;   // RGB(255, 216, 176)
constexpr uint32_t Cyan = 16710368;     // RGB(224, 250, 254)
constexpr uint32_t Green = 11075496;    // RGB(168, 255, 168)
constexpr uint32_t Lilac = 16766421;    // RGB(213, 213, 255)
constexpr uint32_t Pink = 16045820;     // RGB(252, 214, 244)
constexpr uint32_t Yellow = 11075583;   // RGB(255, 255, 168)
constexpr uint32_t White = 0xFFFFFF;

shell::Table_Column Column(int header, int hint, Cell_Editor kind, QStringList items, int width, uint32_t colour,
                           const char* attribute)
{
    return {.Header = header, .Hint = hint, .Kind = kind, .Items = std::move(items), .Width = width, .Color = colour,
            .Attribute = attribute};
}

shell::Table_Description Make_Device_Table()
{
    shell::Table_Description table;
    table.Columns = {
        {.Header = 4658, .Kind = Cell_Editor::Row_Number, .Width = 150},
        {.Header = 4659, .Kind = Cell_Editor::Check, .Width = 70, .Cleared = "N", .Centred = true},
        {.Header = 4660, .Width = 80, .Shown = false},
        {.Header = 4661, .Width = 100, .Shown = false, .Cleared = "Normal"},
        {.Header = 4662, .Kind = Cell_Editor::Check, .Width = 110, .Cleared = "N", .Centred = true},
        {.Header = 4663, .Kind = Cell_Editor::List, .Items = Recall_Level_Items(), .Width = 260,
         .Cleared = "None"},
    };
    table.Key_Column = -1;
    table.Capacity = Device_Count;
    return table;
}

shell::Project_File_Description Make_Rules_File()
{
    shell::Table_Description functions;
    functions.Container = QStringLiteral("DALI2_Functions_Rules");
    functions.Columns = {
        {.Header = -1, .Kind = Cell_Editor::Row_Number, .Width = 40},
        Column(4940, 4945, Cell_Editor::List, Function_Items(), 140, Cyan, "Function"),
        Column(4941, 4946, Cell_Editor::List, Condition_Items(), 140, Green, "Condition"),
        Column(4942, 4947, Cell_Editor::Editable_List, Value_Event_Items(), 140, Green, "Value"),
        Column(4960, 4962, Cell_Editor::List, Channel_Items(), 140, Yellow, "Channel"),
        Column(4961, 4963, Cell_Editor::Text, {}, 140, Yellow, "Val"),
        Column(4943, 4948, Cell_Editor::Text, {}, 140, Orange, "Next_Function"),
        Column(4944, 4949, Cell_Editor::Text, {}, 200, platform::clNone, "Mnemonic"),
    };
    functions.Key_Column = fun::Function;
    functions.Capacity = Function_Rows;

    shell::Table_Description access;
    access.Container = QStringLiteral("DALI2_SetAccess_Rules");
    access.Columns = {
        {.Header = -1, .Kind = Cell_Editor::Row_Number, .Width = 40},
        {.Header = 4901, .Hint = 4915, .Kind = Cell_Editor::Check, .Width = 50, .Color = Orange, .Attribute = "Enable",
         .Default = "Y", .Cleared = "Y", .Centred = true},
        Column(4902, 4916, Cell_Editor::List, DevSen_Items(), 80, Cyan, "DeviceSensor"),
        Column(4903, 4917, Cell_Editor::List, {}, 120, Cyan, "Type"),  // the list follows Dev/Sen
        Column(4904, 4918, Cell_Editor::Text, {}, 80, Cyan, "ChannelNumber"),
        Column(4905, 4919, Cell_Editor::Text, {}, 60, Cyan, "Instance"),
        Column(4910, 4924, Cell_Editor::Text, {}, 70, Green, "Command"),
        Column(4907, 4921, Cell_Editor::Text, {}, 70, Green, "TimeSend"),
        Column(4908, 4922, Cell_Editor::Text, {}, 70, Green, "TimeOut"),
        Column(4913, 4927, Cell_Editor::List, {}, 70, Lilac, "Function"),  // the functions, at every page change
        Column(4909, 4923, Cell_Editor::Text, {}, 70, Pink, "Position"),
        Column(4958, 4959, Cell_Editor::List, NumBytes_Items(), 70, Pink, "NumBytes"),
        Column(4914, 4928, Cell_Editor::Text, {}, 130, White, "Mnemonic"),
    };
    access.Key_Column = acc::DeviceSensor;
    access.Enable_Column = acc::Enable;
    access.Capacity = Access_Rows;

    return {QStringLiteral("DALI2_Access"), Version, {functions, access}};
}

QString Device_Element(int n, const char* suffix) { return QStringLiteral("DALI_ID_DEVICE_%1%2").arg(n).arg(QLatin1String(suffix)); }

// "DALI_ID_DEVICE_" + n + suffix with n 0 .. 63 written as the writer writes it; -1 for any other name.
int Device_Of(std::string_view name, std::string_view suffix)
{
    constexpr std::string_view head = "DALI_ID_DEVICE_";
    if (!name.starts_with(head) || !name.ends_with(suffix) || name.size() <= head.size() + suffix.size())
        return -1;
    const std::string_view digits = name.substr(head.size(), name.size() - head.size() - suffix.size());
    if (digits.size() > 2 || (digits.size() == 2 && digits[0] == '0'))
        return -1;
    int n = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    return error == std::errc() && end == digits.data() + digits.size() && n < Device_Count ? n : -1;
}

}  // namespace

QStringList Recall_Level_Items()
{
    return {"None", "Recall Min-Max Level for Switch", "Recall Old Value Level for Switch"};
}
QStringList DevSen_Items() { return {"Device", "Sensor"}; }
QStringList SenType_Items()
{
    return {"Generic Input", "Push Button", "Absolute Input", "Occupancy Sensor", "Light Sensor", "Color Sensor",
            "Relative Input"};
}
QStringList DevType_Items()
{
    return {"Fluorescent Lamp", "Emergency Lamp", "High Voltage Discharge", "Alogen Lamp", "Dimmer",
            "Converter", "Led Lamp", "Actuator On Off", "Color Control", "Sequencer"};
}
QStringList NumBytes_Items() { return {"1", "2"}; }
QStringList Function_Items()
{
    return {"Function Null", "Multiplication", "Division", "Addition", "Subtraction", "Set Out",
            "Dim Up", "Dim Down", "Toggle", "Ramp Start", "Ramp Stop"};
}
QStringList Condition_Items()
{
    return {"No Condition", "When Equal to Value", "When Lower to Value", "When Greater to Value",
            "AND Logic with Value", "OR Logic with Value", "XOR Logic with Value", "NAND Logic with Value",
            "NOR Logic with Value"};
}
QStringList Value_Event_Items()
{
    return {"Button Released", "Button Pressed", "Short Press", "Double Press", "Long Press Start",
            "Long Press Repeat", "Long Press Stop", "Button Free", "Button Stuck", "No Movement",
            "Movement", "Vacant", "Still Vacant", "Occupied", "Still Occupied", "Presence Sensor",
            "Movement Sensor"};
}
QStringList Channel_Items()
{
    QStringList items;
    for (int c = 0; c < 64; ++c)
        items.append(QStringLiteral("DALI Channel %1").arg(c));
    for (int g = 1; g <= 16; ++g)
        items.append(QStringLiteral("DALI Group %1").arg(g));
    items.append(QStringLiteral("DALI Broadcast"));
    return items;
}

const shell::Table_Description& Device_Table()
{
    static const shell::Table_Description table = Make_Device_Table();
    return table;
}

const shell::Project_File_Description& Rules_File()
{
    static const shell::Project_File_Description file = Make_Rules_File();
    return file;
}

QByteArray Device_File_Bytes(const shell::Table_Rows& devices)
{
    platform::XmlDocument doc;
    platform::XmlNode root = doc.AddRoot(QStringLiteral("DALI_Access"));
    doc.AddComment(QStringLiteral("SW_VERSION = ") + Version);
    auto flag = [](const QString& cell) {
        return shell::Trim_Blanks(cell).toUpper() == QLatin1String("Y") ? QStringLiteral("1") : QStringLiteral("0");
    };
    for (int n = 0; n < Device_Count; ++n) {
        const QStringList row = n < int(devices.size()) ? devices[size_t(n)] : QStringList();
        root.AddChild(Device_Element(n, "")).SetText(flag(row.value(dev::Enable)));
        root.AddChild(Device_Element(n, "_MIN_MAN_VALUE")).SetText(flag(row.value(dev::Min_Max)));
        root.AddChild(Device_Element(n, "_RECALL_LEVEL")).SetText(row.value(dev::Recall_Level));
    }
    return doc.SaveToBytes(platform::XmlDocument::Layout::Flat);
}

void Read_Device_File(const QString& path, shell::Table_Rows* devices)
{
    if (!platform::FileExists(path))
        return;
    platform::XmlDocument doc;
    const QString broken = doc.LoadPartFromFile(path);
    // The first element of each name counts, as a look-up by name finds it; one pass over the
    // children, however many a file holds.
    std::vector<bool> seen(size_t(3 * Device_Count), false);
    auto first = [&](int n, int kind) {
        const size_t slot = size_t(3 * n + kind);
        const bool fresh = !seen[slot];
        seen[slot] = true;
        return fresh && n < int(devices->size());
    };
    if (const platform::XmlNode root = doc.DocumentElement()) {
        for (const platform::XmlNode& element : root.ChildNodes()) {
            const std::string_view name = element.NameUtf8();
            const std::string_view text = element.TextUtf8();
            if (const int n = Device_Of(name, ""); n >= 0 && first(n, 0))
                (*devices)[size_t(n)][dev::Enable] = text == "1" ? QStringLiteral("Y") : QStringLiteral("N");
            else if (const int m = Device_Of(name, "_MIN_MAN_VALUE"); m >= 0 && first(m, 1))
                (*devices)[size_t(m)][dev::Min_Max] = text == "1" ? QStringLiteral("Y") : QStringLiteral("N");
            else if (const int k = Device_Of(name, "_RECALL_LEVEL"); k >= 0 && first(k, 2)) {
                const QString level = QString::fromUtf8(text.data(), qsizetype(text.size()));
                (*devices)[size_t(k)][dev::Recall_Level] =
                    Recall_Level_Items().mid(1).contains(level) ? level : QStringLiteral("None");
            }
        }
    }
    if (!broken.isEmpty())
        throw platform::Exception(broken + QStringLiteral("; the devices before the fault are read.\n") +
                                  platform::KeepDamagedFile(path));
}

namespace {

std::vector<shell::Table_Rows> Stored_Enable(std::vector<shell::Table_Rows> tables)
{
    if (tables.size() > size_t(Access_Table))
        for (QStringList& row : tables[size_t(Access_Table)])
            if (row.size() > acc::Enable)
                row[acc::Enable] = Rules_File().Tables[size_t(Access_Table)].Enabled(row) ? QStringLiteral("Y")
                                                                                          : QStringLiteral("N");
    return tables;
}

}  // namespace

QByteArray Rules_File_Bytes(const std::vector<shell::Table_Rows>& tables) { return shell::Project_Tables_Bytes(Rules_File(), Stored_Enable(tables)); }

void Read_Rules_File(const QString& path, std::vector<shell::Table_Rows>* tables, QStringList* problems)
{
    auto normalise = [tables] {
        if (tables->size() > size_t(Access_Table))
            for (QStringList& row : (*tables)[size_t(Access_Table)])
                row[acc::Enable] = row.value(acc::Enable) == QLatin1String("N") ? QStringLiteral("N") : QStringLiteral("Y");
    };
    try {
        shell::Read_Project_Tables(path, Rules_File(), tables, problems);
    } catch (...) {
        normalise();
        throw;
    }
    normalise();
}

void Write_DALI_Files(const QString& devicePath, const QString& rulesPath, const shell::Table_Rows& devices,
                      const std::vector<shell::Table_Rows>& tables)
{
    const QByteArray deviceBytes = Device_File_Bytes(devices);
    const QByteArray rulesBytes = Rules_File_Bytes(tables);
    platform::WriteFilesAtomic({{devicePath, deviceBytes}, {rulesPath, rulesBytes}});
}

}  // namespace building::dali
