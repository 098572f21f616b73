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

const std::vector<TTopic_Column>& Publish_Columns()
{
    static const std::vector<TTopic_Column> columns = {
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
    };
    return columns;
}

const std::vector<TTopic_Column>& Subscribe_Columns()
{
    static const std::vector<TTopic_Column> columns = {
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
    };
    return columns;
}

// The stored columns of a side, in the order of their attributes in the file.
std::vector<int> Stored_Columns(TTopic_Side side)
{
    std::vector<int> stored;
    const std::vector<TTopic_Column>& columns = Topic_Columns(side);
    for (int c = 0; c < int(columns.size()); ++c)
        if (!columns[size_t(c)].Attribute.isEmpty())
            stored.push_back(c);
    return stored;
}

shell::Table_Layout Table_Layout_Of(TTopic_Side side)
{
    shell::Table_Layout table;
    table.Container = Topic_Container(side);
    for (int c : Stored_Columns(side)) {
        const TTopic_Column& column = Topic_Columns(side)[size_t(c)];
        table.Attributes.append(column.Attribute);
        table.Defaults.append(column.Default);
        if (column.Required)
            table.Required.append(column.Attribute);
    }
    table.Key_Column = 0;  // Topic, the first attribute
    table.Max_Rows = Topic_Table_Rows;
    return table;
}

}  // namespace

const std::vector<TTopic_Column>& Topic_Columns(TTopic_Side side)
{
    return side == Topic_Publish ? Publish_Columns() : Subscribe_Columns();
}

int Template_Column(TTopic_Side side) { return side == Topic_Publish ? int(pub::Template) : int(sub::Template); }

QString Topic_Container(TTopic_Side side)
{
    return side == Topic_Publish ? QStringLiteral("MQTT_Publish") : QStringLiteral("MQTT_Subscribe");
}

bool Topic_Row_Holds_Data(TTopic_Side side, const QStringList& row)
{
    const std::vector<TTopic_Column>& columns = Topic_Columns(side);
    for (int c = 1; c < int(columns.size()) && c < row.size(); ++c)
        if (columns[size_t(c)].Kind != TTopic_Cell::Check && !shell::Trim_Blanks(row.at(c)).isEmpty())
            return true;
    return false;
}

const shell::Project_File_Layout& MQTT_Set_Topic_Layout()
{
    static const shell::Project_File_Layout layout = {
        QStringLiteral("MQTT_Set_Topic"),
        QStringLiteral("1.006"),
        {Table_Layout_Of(Topic_Publish), Table_Layout_Of(Topic_Subscribe)},
    };
    return layout;
}

void Read_Topic_File(const QString& path, TTopic_Tables* tables, QStringList* problems)
{
    std::vector<shell::Table_Rows> read;
    auto convert = [&] {
        for (int s = 0; s < 2; ++s) {
            const auto side = TTopic_Side(s);
            const std::vector<TTopic_Column>& columns = Topic_Columns(side);
            const std::vector<int> stored = Stored_Columns(side);
            TTopic_Rows& rows = (*tables)[size_t(s)];
            rows.clear();
            if (size_t(s) >= read.size())
                continue;
            for (const QStringList& values : read[size_t(s)]) {
                QStringList row;
                for (const TTopic_Column& column : columns)
                    row.append(column.Attribute.isEmpty() ? column.Default : QString());
                row[0] = QString::number(rows.size() + 1);
                for (size_t a = 0; a < stored.size(); ++a)
                    row[stored[a]] = values.value(int(a));
                rows.push_back(row);
            }
        }
    };
    try {
        shell::Read_Project_Table_File(path, MQTT_Set_Topic_Layout(), &read, problems);
    } catch (...) {
        convert();
        throw;
    }
    convert();
}

void Write_Topic_File(const QString& path, const TTopic_Tables& tables)
{
    std::vector<shell::Table_Rows> rows(2);
    for (int s = 0; s < 2; ++s) {
        const std::vector<int> stored = Stored_Columns(TTopic_Side(s));
        for (const QStringList& row : tables[size_t(s)]) {
            QStringList values;
            for (int c : stored)
                values.append(row.value(c));
            rows[size_t(s)].push_back(values);
        }
    }
    shell::Write_Project_Table_File(path, MQTT_Set_Topic_Layout(), rows);
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

// A number as the tables read it: "$" and "0x" hexadecimal accepted, anything else -1.
qint64 Number(const QString& text) { return shell::Parse_Int32(text).value_or(-1); }

std::optional<QString> Check_Row(TTopic_Side side, const QStringList& row, const std::vector<bool>& shown, int limit)
{
    const TSide_Checks& k = Side_Checks[side];
    auto isShown = [&](int c) { return c >= 0 && size_t(c) < shown.size() && shown[size_t(c)]; };
    auto cell = [&](int c) { return row.value(c); };
    using shell::Lang;
    using shell::Trim_Blanks;

    // QoS is required by the device image; a row whose list was never chosen cannot be built.
    if (isShown(pub::QoS)) {
        const QString q = cell(pub::QoS);
        if (q != QLatin1String("0") && q != QLatin1String("1") && q != QLatin1String("2"))
            return k.Tag + QStringLiteral("QoS must be selected (0, 1 or 2)");
    }
    if (isShown(pub::DataType)) {
        const QString type = Trim_Blanks(cell(pub::DataType)).toUpper();
        const qint64 d = Number(cell(pub::Dimension));
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
    if (isShown(pub::Position)) {
        const qint64 p = Number(cell(pub::Position));
        if (p < 0 || p >= limit)
            return Lang(k.Position) + QString::number(limit - 1);
        // The value occupies Dimension bytes from Position: all of them lie in the exchange area.
        if (isShown(pub::Dimension)) {
            const qint64 d = Number(cell(pub::Dimension));
            if (d > 0 && p + d > limit)
                return k.Tag + QStringLiteral("Position + Dimension must not exceed %1").arg(limit);
        }
    }
    if (isShown(pub::IPAddress)) {
        QString a, b, c, d;
        if (!shell::Split_IP_Address(Trim_Blanks(cell(pub::IPAddress)), a, b, c, d))
            return Lang(k.IP);
    }
    if (isShown(k.Port_Column)) {
        const qint64 port = Number(cell(k.Port_Column));
        if (port < 0 || port > 65535)
            return Lang(k.Port);
    }
    if (isShown(k.Input_Template_Column) && Error_In_Topic_Template(Trim_Blanks(cell(k.Input_Template_Column))))
        return Lang(k.Input_Template);
    if (isShown(k.Template_Column) && Error_In_Topic_Template(Trim_Blanks(cell(k.Template_Column))))
        return Lang(k.Template);
    if (side == Topic_Publish && isShown(pub::OnTimer) &&
        Trim_Blanks(cell(pub::OnTimer)).toUpper() == QLatin1String("Y")) {
        const qint64 t = Number(Trim_Blanks(cell(pub::Time)));
        if (t < 1 || t >= 1000000000)
            return Lang(k.Time);
    }
    return std::nullopt;
}

}  // namespace

std::optional<QString> Check_Topic_Tables(const TTopic_Check_Input& input)
{
    for (int s = 0; s < 2; ++s) {
        const auto side = TTopic_Side(s);
        const TTopic_Rows& rows = input.Tables[size_t(s)];
        const int limit = side == Topic_Publish ? input.Byte_IN : input.Byte_OUT;
        size_t end = 0;
        for (; end < rows.size(); ++end) {
            const QStringList& row = rows[end];
            if (shell::Trim_Blanks(row.value(pub::Topic)).isEmpty())
                break;
            if (auto fault = Check_Row(side, row, input.Shown[size_t(s)], limit))
                return shell::Lang(751) + QString::number(end + 1) + *fault;
        }
        // The table ends at its first row without a topic: data below it would silently be lost.
        for (size_t r = end; r < rows.size(); ++r)
            if (Topic_Row_Holds_Data(side, rows[r]))
                return shell::Lang(751) + QString::number(r + 1) + Side_Checks[s].Tag +
                       QStringLiteral("Topic of row %1 is empty: the table ends there and this row would not be saved")
                           .arg(end + 1);
    }
    return std::nullopt;
}

}  // namespace mqtt_image
