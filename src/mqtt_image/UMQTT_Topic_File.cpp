#include "mqtt_image/UMQTT_Topic_File.h"

#include "shell/ULanguage.h"
#include "shell/UTextChecks.h"

namespace mqtt_image {

namespace {

using K = TTopic_Cell;

const QStringList QoS_Items = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")};
const QStringList Data_Type_Items = {QStringLiteral("Int"), QStringLiteral("SInt"), QStringLiteral("Float"),
                                     QStringLiteral("String"), QStringLiteral("Base64")};
const QStringList Template_Items = {QStringLiteral("$VALUE$")};

QStringList Channel_Items()
{
    QStringList items;
    for (int i = 0; i <= 63; ++i)
        items.append(QString::number(i));
    items.append(QStringLiteral("All"));
    for (int i = 1; i <= 256; ++i)
        items.append(QStringLiteral("TAB%1").arg(i, 3, 10, QLatin1Char('0')));
    return items;
}

TTopic_Column Col(int header, int hint, K kind, int width, bool shown, const char* attribute = nullptr,
                  const char* def = "", bool required = false, QStringList items = {})
{
    TTopic_Column c;
    c.Header = header;
    c.Hint = hint;
    c.Kind = kind;
    c.Items = std::move(items);
    c.Width = width;
    c.Shown = shown;
    c.Attribute = attribute ? QLatin1String(attribute) : QString();
    c.Default = QLatin1String(def);
    c.Required = required;
    return c;
}

// A topic table: its rows under the container, keyed by the topic in column 1.
shell::Table_Description Topic_Table(const char* container, std::vector<TTopic_Column> columns)
{
    shell::Table_Description table;
    table.Container = QLatin1String(container);
    table.Key_Column = 1;
    table.Capacity = Topic_Table_Rows;
    table.Columns = std::move(columns);
    return table;
}

shell::Table_Description Publish_Table()
{
    static_assert(int(pub::Topic) == 1 && int(sub::Topic) == 1);
    return Topic_Table("MQTT_Publish", {
        Col(714, 0, K::Row_Number, 40, true),
        Col(715, 719, K::Text, 300, true, "Topic", "", true),
        Col(716, 720, K::Check, 60, true, "Retained", "", true),
        Col(717, 721, K::List, 80, true, "QoS", "", true, QoS_Items),
        Col(737, 740, K::List, 80, true, "DataType", "", false, Data_Type_Items),
        Col(738, 741, K::Text, 80, true, "Dimension"),
        Col(739, 742, K::Text, 80, true, "Position"),
        Col(762, 764, K::Text, 100, false, "IPAddress"),
        Col(5000, 5002, K::Check, 40, false, "FormatHex", "N"),
        Col(763, 765, K::Text, 120, false, "InputTemplate"),
        Col(735, 736, K::Editable_List, 130, true, "Template", "", false, Template_Items),
        Col(781, 782, K::Check, 75, true, "OnChange", "N"),
        Col(783, 786, K::Check, 55, true, "OnCMD", "N"),
        Col(784, 787, K::Check, 64, true, "OnTimer", "N"),
        Col(785, 788, K::Text, 70, true, "Time"),
        Col(790, 791, K::List, 90, false, nullptr, "", false, Channel_Items()),
        Col(793, 795, K::Check, 40, false, nullptr, "N"),
        Col(794, 796, K::Check, 80, false, nullptr, "N"),
        Col(718, 722, K::Text, 170, true, "Mnemonic", "", true),
    });
}

shell::Table_Description Subscribe_Table()
{
    return Topic_Table("MQTT_Subscribe", {
        Col(724, 0, K::Row_Number, 40, true),
        Col(725, 729, K::Text, 300, true, "Topic", "", true),
        Col(726, 730, K::Check, 60, false, "Retained", "", true),
        Col(727, 731, K::List, 80, true, "QoS", "", true, QoS_Items),
        Col(743, 747, K::List, 80, true, "DataType", "", false, Data_Type_Items),
        Col(744, 748, K::Text, 80, true, "Dimension"),
        Col(745, 749, K::Text, 80, true, "Position"),
        Col(766, 770, K::Text, 100, false, "IPAddress"),
        Col(767, 771, K::Text, 50, false, "Port"),
        Col(768, 772, K::List, 64, false, "EthType", "", false, {QStringLiteral("TCP"), QStringLiteral("UDP")}),
        Col(769, 773, K::Text, 130, false, "InputTemplate"),
        Col(5001, 5003, K::Check, 40, false, "FormatHex", "N"),
        Col(746, 750, K::Editable_List, 130, true, "Template", "", false, Template_Items),
        Col(793, 797, K::Check, 40, false, nullptr, "N"),
        Col(794, 798, K::Check, 80, false, nullptr, "N"),
        Col(728, 732, K::Text, 220, true, "Mnemonic", "", true),
    });
}

}  // namespace

const shell::Setup_Window_Description& MQTT_Set_Topic_Window_Description()
{
    static const shell::Setup_Window_Description window = [] {
        shell::Setup_Window_Description w;
        w.Name = QStringLiteral("FMQTT_Set_Topic");
        w.Client_Width = 1100;
        w.Client_Height = 337;
        w.File = {
            QStringLiteral("MQTT_Set_Topic"),
            QStringLiteral("1.006"),
            {Publish_Table(), Subscribe_Table()},
            true,  // indented, as this file has always been written
        };
        w.Path = &shell::TApp_State::File_MQTT_Set_Topic;
        w.Grid_Names = {QStringLiteral("ACG_Pub"), QStringLiteral("ACG_Sub")};
        w.Tab_Names = {QStringLiteral("TS_MQTT_Publish"), QStringLiteral("TS_MQTT_Subscribe")};
        w.Caption = 700;
        w.Description = 701;
        w.Button_Captions = {702, 703, 704, 705, 706, 707};
        w.Button_Hints = {708, 709, 710, 711, 712, 713};
        w.Tab_Captions = {733, 734};
        w.Delete_Question = 723;
        w.Row_Prefix = 751;
        w.Insert_Enables = false;
        w.Click_Selects_Row = false;
        return w;
    }();
    return window;
}

const std::vector<TTopic_Column>& Topic_Columns(TTopic_Side side)
{
    return MQTT_Set_Topic_Description().Tables[size_t(side)].Columns;
}

int Template_Column(TTopic_Side side) { return side == Topic_Publish ? int(pub::Template) : int(sub::Template); }

QString Topic_Container(TTopic_Side side) { return MQTT_Set_Topic_Description().Tables[size_t(side)].Container; }

bool Topic_Row_Holds_Data(TTopic_Side side, const QStringList& row)
{
    return MQTT_Set_Topic_Description().Tables[size_t(side)].Holds_Data(row);
}

const shell::Project_File_Layout& MQTT_Set_Topic_Layout()
{
    static const shell::Project_File_Layout layout = MQTT_Set_Topic_Description().Layout();
    return layout;
}

void Read_Topic_File(const QString& path, TTopic_Tables* tables, QStringList* problems)
{
    std::vector<shell::Table_Rows> read;
    auto hand_over = [&] {
        for (size_t s = 0; s < tables->size(); ++s)
            (*tables)[s] = s < read.size() ? std::move(read[s]) : TTopic_Rows{};
    };
    try {
        shell::Read_Project_Tables(path, MQTT_Set_Topic_Description(), &read, problems);
    } catch (...) {
        hand_over();
        throw;
    }
    hand_over();
}

void Write_Topic_File(const QString& path, const TTopic_Tables& tables)
{
    shell::Write_Project_Tables(path, MQTT_Set_Topic_Description(), {tables[0], tables[1]});
}
bool Error_In_Topic_Template(const QString& text) { return text.count(QLatin1Char('$')) % 2 != 0; }

namespace {

// The text indexes and column numbers that differ between the two tables.
struct TSide_Checks {
    QString Tag;
    int Data_Type_Empty, Dim_Int, Dim_Float, Dim_Other, Position, IP, Port, Input_Template, Template, Time;
    int Input_Template_Column, Port_Column, Template_Column;
};

const TSide_Checks Side_Checks[2] = {
    {QStringLiteral("!! [MQTT Publish] "), 752, 753, 754, 755, 756, 774, 0, 777, 778, 789, pub::InputTemplate, -1,
     pub::Template},
    {QStringLiteral("!! [MQTT Subscribe] "), 757, 758, 759, 760, 761, 775, 776, 779, 780, 0, sub::InputTemplate,
     sub::Port, sub::Template},
};

// Columns 1 to 7 are the same in both tables, so the row checks name them by the publish index.
static_assert(int(pub::QoS) == int(sub::QoS) && int(pub::DataType) == int(sub::DataType) &&
              int(pub::Dimension) == int(sub::Dimension) && int(pub::Position) == int(sub::Position) &&
              int(pub::IPAddress) == int(sub::IPAddress));

std::optional<QString> Check_Row(TTopic_Side side, const shell::Checked_Row& row, int limit)
{
    const TSide_Checks& k = Side_Checks[side];
    using shell::Lang;
    using shell::Trim_Blanks;

    // QoS is required by the device image; a row whose list was never chosen cannot be built.
    if (row.Shown(pub::QoS)) {
        const QString q = row.Cell(pub::QoS);
        if (q != QLatin1String("0") && q != QLatin1String("1") && q != QLatin1String("2"))
            return k.Tag + QStringLiteral("QoS must be selected (0, 1 or 2)");
    }
    if (row.Shown(pub::DataType)) {
        const QString type = Trim_Blanks(row.Cell(pub::DataType)).toUpper();
        const qint64 d = row.Number(pub::Dimension);
        if (type.isEmpty())
            return Lang(k.Data_Type_Empty);
        if (type == QLatin1String("INT")) {
            if (d != 1 && d != 2 && d != 4 && d != 8)
                return Lang(k.Dim_Int);
        } else if (type == QLatin1String("FLOAT")) {
            if (d != 4 && d != 8)
                return Lang(k.Dim_Float);
        } else if (d < 1) {
            return Lang(k.Dim_Other);
        }
    }
    if (row.Shown(pub::Position)) {
        const qint64 p = row.Number(pub::Position);
        if (p < 0 || p >= limit)
            return Lang(k.Position) + QString::number(limit - 1);
        // The value occupies Dimension bytes from Position: all of them lie in the exchange area.
        if (row.Shown(pub::Dimension)) {
            const qint64 d = row.Number(pub::Dimension);
            if (d > 0 && p + d > limit)
                return k.Tag + QStringLiteral("Position + Dimension must not exceed %1").arg(limit);
        }
    }
    if (row.Shown(pub::IPAddress)) {
        QString a, b, c, d;
        if (!shell::Split_IP_Address(Trim_Blanks(row.Cell(pub::IPAddress)), a, b, c, d))
            return Lang(k.IP);
    }
    if (row.Shown(k.Port_Column)) {
        const qint64 port = row.Number(k.Port_Column);
        if (port < 0 || port > 65535)
            return Lang(k.Port);
    }
    if (row.Shown(k.Input_Template_Column) && Error_In_Topic_Template(Trim_Blanks(row.Cell(k.Input_Template_Column))))
        return Lang(k.Input_Template);
    if (row.Shown(k.Template_Column) && Error_In_Topic_Template(Trim_Blanks(row.Cell(k.Template_Column))))
        return Lang(k.Template);
    if (side == Topic_Publish && row.Shown(pub::OnTimer) &&
        Trim_Blanks(row.Cell(pub::OnTimer)).toUpper() == QLatin1String("Y")) {
        const qint64 t = shell::Parse_Int32(Trim_Blanks(row.Cell(pub::Time))).value_or(-1);
        if (t < 1 || t >= 1000000000)
            return Lang(k.Time);
    }
    return std::nullopt;
}

}  // namespace

std::optional<QString> Check_Topic_Tables(const TTopic_Check_Input& input)
{
    shell::Table_Checks checks;
    checks.Row_Prefix = MQTT_Set_Topic_Window_Description().Row_Prefix;
    checks.Check_Row = [&](int side, const shell::Checked_Row& row) {
        return Check_Row(TTopic_Side(side), row, side == Topic_Publish ? input.Byte_IN : input.Byte_OUT);
    };
    // The table ends at its first row without a topic: data below it would silently be lost.
    checks.Data_After_End = [](int side, int end) {
        return Side_Checks[side].Tag +
               QStringLiteral("Topic of row %1 is empty: the table ends there and this row would not be saved").arg(end);
    };
    return shell::Check_Project_Tables(MQTT_Set_Topic_Description(),
                                       {{input.Tables[0], input.Shown[0]}, {input.Tables[1], input.Shown[1]}}, checks);
}

}  // namespace mqtt_image
