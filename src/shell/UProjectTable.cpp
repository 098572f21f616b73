#include "shell/UProjectTable.h"

#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "platform/XmlDoc.h"
#include "shell/ULanguage.h"
#include "shell/UTextChecks.h"

namespace shell {

bool Key_Is_Empty(const QString& key, bool blanksCount)
{
    return blanksCount ? key.isEmpty() : Trim_Blanks(key).isEmpty();
}

QByteArray Project_Table_Bytes(const Project_File_Layout& layout, const std::vector<Table_Rows>& tables)
{
    platform::XmlDocument doc;
    platform::XmlNode root = doc.AddRoot(layout.Root);
    if (!layout.Version.isEmpty())
        doc.AddComment(QStringLiteral("SW_VERSION = ") + layout.Version);
    for (std::size_t t = 0; t < layout.Tables.size(); ++t) {
        const Table_Layout& table = layout.Tables[t];
        platform::XmlNode container = table.Container.isEmpty() ? root : root.AddChild(table.Container);
        if (t >= tables.size())
            continue;
        for (const QStringList& row : tables[t]) {
            if (table.Key_Column >= 0 && Key_Is_Empty(row.value(table.Key_Column), table.Key_Blanks_Count))
                break;
            platform::XmlNode element = container.AddChild(table.Row_Element);
            for (int c = 0; c < table.Attributes.size(); ++c)
                element.SetAttribute(table.Attributes.at(c), row.value(c));
        }
    }
    return doc.SaveToBytes(layout.Indented ? platform::XmlDocument::Layout::Indented
                                           : platform::XmlDocument::Layout::Flat);
}

void Write_Project_Table_File(const QString& path, const Project_File_Layout& layout,
                              const std::vector<Table_Rows>& tables)
{
    platform::WriteFileAtomic(path, Project_Table_Bytes(layout, tables));
}

namespace {

// One row as read: its attribute values (defaults in the place of missing ones) and which were missing.
struct Read_Row {
    QStringList Values;
    std::vector<bool> Missing;
};

// The reading shared by the layout and the description readers.
void Read_Rows(const QString& path, const Project_File_Layout& layout, std::vector<std::vector<Read_Row>>* tables,
               QStringList* problems)
{
    tables->assign(layout.Tables.size(), {});
    if (!platform::FileExists(path))
        return;
    platform::XmlDocument doc;
    QStringList faults;
    const QString broken = doc.LoadPartFromFile(path);
    if (!broken.isEmpty())
        faults.append(broken + QStringLiteral("; the rows before the fault are read."));
    const platform::XmlNode root = doc.DocumentElement();
    for (std::size_t t = 0; root && t < layout.Tables.size(); ++t) {
        const Table_Layout& table = layout.Tables[t];
        const platform::XmlNode container = table.Container.isEmpty() ? root : root.ChildByName(table.Container);
        if (!container) {
            // A file cut short lacks its later containers: its one fault says so.
            if (broken.isEmpty())
                faults.append(QStringLiteral("The file \"%1\" has no element \"%2\"; its table starts empty.")
                                  .arg(path, table.Container));
            continue;
        }
        std::vector<Read_Row>& rows = (*tables)[t];
        const QString& where = table.Container.isEmpty() ? layout.Root : table.Container;
        const std::vector<platform::XmlNode> elements = container.ChildNodes();
        for (const platform::XmlNode& element : elements) {
            if (static_cast<int>(rows.size()) >= table.Max_Rows) {
                if (problems)
                    problems->append(QStringLiteral("\"%1\" holds %2 rows; only the first %3 are read.")
                                         .arg(where)
                                         .arg(elements.size())
                                         .arg(table.Max_Rows));
                break;
            }
            Read_Row row;
            QStringList missing;
            for (int c = 0; c < table.Attributes.size(); ++c) {
                const QString& name = table.Attributes.at(c);
                const bool present = element.HasAttribute(name);
                row.Values.append(present ? element.Attribute(name) : table.Defaults.value(c));
                row.Missing.push_back(!present);
                if (!present && table.Required.contains(name))
                    missing.append(QLatin1Char('"') + name + QLatin1Char('"'));
            }
            rows.push_back(std::move(row));
            if (problems && !missing.isEmpty())
                problems->append(QStringLiteral("Row %1 of \"%2\" lacks %3.")
                                     .arg(rows.size())
                                     .arg(where, missing.join(QStringLiteral(", "))));
        }
    }
    if (!faults.isEmpty())
        throw platform::Exception(faults.join(QLatin1Char('\n')) + QLatin1Char('\n') + platform::KeepDamagedFile(path));
}

}  // namespace

void Read_Project_Table_File(const QString& path, const Project_File_Layout& layout,
                             std::vector<Table_Rows>* tables, QStringList* problems)
{
    std::vector<std::vector<Read_Row>> read;
    auto hand_over = [&] {
        tables->assign(layout.Tables.size(), Table_Rows{});
        for (size_t t = 0; t < read.size() && t < tables->size(); ++t)
            for (Read_Row& row : read[t])
                (*tables)[t].push_back(std::move(row.Values));
    };
    try {
        Read_Rows(path, layout, &read, problems);
    } catch (...) {
        hand_over();
        throw;
    }
    hand_over();
}

// ---- The description ---------------------------------------------------------------------------

std::vector<int> Table_Description::Stored_Columns() const
{
    std::vector<int> stored;
    for (int c = 0; c < int(Columns.size()); ++c)
        if (!Columns[size_t(c)].Attribute.isEmpty())
            stored.push_back(c);
    return stored;
}

Table_Layout Table_Description::Layout() const
{
    Table_Layout table;
    table.Container = Container;
    table.Row_Element = Row_Element;
    table.Max_Rows = Capacity;
    const std::vector<int> stored = Stored_Columns();
    for (size_t a = 0; a < stored.size(); ++a) {
        const Table_Column& column = Columns[size_t(stored[a])];
        table.Attributes.append(column.Attribute);
        table.Defaults.append(column.Default);
        if (column.Required)
            table.Required.append(column.Attribute);
        if (stored[a] == Key_Column)
            table.Key_Column = int(a);
    }
    if (Key_Column < 0)
        table.Key_Column = -1;
    table.Key_Blanks_Count = Key_Blanks_Count;
    return table;
}

size_t Table_Description::Content_End(const Table_Rows& rows) const
{
    if (Key_Column < 0)
        return rows.size();
    size_t end = 0;
    while (end < rows.size() && !Key_Is_Empty(rows[end].value(Key_Column), Key_Blanks_Count))
        ++end;
    return end;
}

bool Table_Description::Enabled(const QStringList& row) const
{
    if (Enable_Column < 0)
        return true;
    const QString enable = Trim_Blanks(row.value(Enable_Column));
    return (Enable_Any_Case ? enable.toUpper() : enable) == QLatin1String("Y");
}

QStringList Table_Description::Cleared_Row(int r) const
{
    QStringList row;
    for (const Table_Column& column : Columns)
        row.append(column.Cleared);
    if (!row.isEmpty())
        row[0] = QString::number(r);
    return row;
}

bool Table_Description::Holds_Data(const QStringList& row) const
{
    for (int c = 1; c < int(Columns.size()) && c < row.size(); ++c)
        if (Columns[size_t(c)].Kind != Cell_Editor::Check && !Trim_Blanks(row.at(c)).isEmpty())
            return true;
    return false;
}

Project_File_Layout Project_File_Description::Layout() const
{
    Project_File_Layout layout{Root, Version, {}, Indented};
    for (const Table_Description& table : Tables)
        layout.Tables.push_back(table.Layout());
    return layout;
}

QByteArray Project_Tables_Bytes(const Project_File_Description& file, const std::vector<Table_Rows>& tables)
{
    std::vector<Table_Rows> values(file.Tables.size());
    for (size_t t = 0; t < file.Tables.size() && t < tables.size(); ++t) {
        const std::vector<int> stored = file.Tables[t].Stored_Columns();
        for (const QStringList& row : tables[t]) {
            QStringList attributes;
            for (int c : stored)
                attributes.append(row.value(c));
            values[t].push_back(attributes);
        }
    }
    return Project_Table_Bytes(file.Layout(), values);
}

void Write_Project_Tables(const QString& path, const Project_File_Description& file,
                          const std::vector<Table_Rows>& tables)
{
    platform::WriteFileAtomic(path, Project_Tables_Bytes(file, tables));
}

void Read_Project_Tables(const QString& path, const Project_File_Description& file,
                         std::vector<Table_Rows>* tables, QStringList* problems)
{
    std::vector<std::vector<Read_Row>> read;
    // A failed read still hands over what it read.
    auto convert = [&] {
        tables->assign(file.Tables.size(), Table_Rows{});
        for (size_t t = 0; t < file.Tables.size() && t < read.size(); ++t) {
            const Table_Description& table = file.Tables[t];
            const std::vector<int> stored = table.Stored_Columns();
            Table_Rows& rows = (*tables)[t];
            rows.reserve(read[t].size());
            for (const Read_Row& values : read[t]) {
                QStringList row;
                for (const Table_Column& column : table.Columns)
                    row.append(column.Attribute.isEmpty() ? column.Default : QString());
                if (!row.isEmpty())
                    row[0] = QString::number(rows.size() + 1);
                for (size_t a = 0; a < stored.size(); ++a) {
                    const Table_Column& column = table.Columns[size_t(stored[a])];
                    row[stored[a]] = values.Missing[a] && column.Missing ? column.Missing(row) : values.Values.value(int(a));
                }
                rows.push_back(row);
            }
        }
    };
    try {
        Read_Rows(path, file.Layout(), &read, problems);
    } catch (...) {
        convert();
        throw;
    }
    convert();
}

int64_t Checked_Row::Number(int column) const { return Parse_Int32(FRow.value(column)).value_or(-1); }

int64_t Checked_Row::Setup_Number(int column) const { return shell::Setup_Number(FRow.value(column)); }

int64_t Setup_Number(const QString& text) { return platform::Parse_Int32_Hex_x(text).value_or(-1); }

QString Key_Ends_Table_Message(const Table_Description& table, int end)
{
    const QString header = table.Key_Column >= 0 ? Lang(table.Columns[size_t(table.Key_Column)].Header) : QString();
    return QStringLiteral("!! %1 of row %2 is empty: the table ends there and this row would not be saved")
        .arg(header)
        .arg(end);
}

std::optional<QString> Check_Project_Tables(const Project_File_Description& file,
                                            const std::vector<Table_Check_Input>& tables, const Table_Checks& checks)
{
    for (size_t t = 0; t < file.Tables.size() && t < tables.size(); ++t) {
        const Table_Description& table = file.Tables[t];
        const Table_Check_Input& input = tables[t];
        const size_t end = table.Content_End(input.Rows);
        for (size_t r = 0; r < end; ++r) {
            const QStringList& row = input.Rows[r];
            if (!table.Enabled(row))
                continue;
            if (auto fault = checks.Check_Row(int(t), Checked_Row(row, input.Shown)))
                return Lang(checks.Row_Prefix) + QString::number(r + 1) + *fault;
        }
        if (!checks.Data_After_End)
            continue;
        for (size_t r = end; r < input.Rows.size(); ++r)
            if (table.Holds_Data(input.Rows[r]))
                return Lang(checks.Row_Prefix) + QString::number(r + 1) + checks.Data_After_End(int(t), int(end + 1));
    }
    return std::nullopt;
}

// ---- Reading in place --------------------------------------------------------------------------

struct Table_Row_View::Table_Info {
    const Table_Description* Description = nullptr;
    std::vector<std::string> Names;  // the attributes as UTF-8, in file order
    std::vector<int> Slot;           // per real column: its attribute's index in Names, or -1
    std::vector<platform::XmlNode> Rows;
};

namespace {

// Attribute names are short: an inline loop beats a library call per attribute.
inline bool Same_Name(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

}  // namespace

Table_File_View::Table_File_View(const platform::XmlNode& root, const Project_File_Description& file,
                                 const QString& path, const QString& purpose)
    : Path(path), Purpose(purpose)
{
    for (const Table_Description& table : file.Tables) {
        Table_Row_View::Table_Info info;
        info.Description = &table;
        info.Slot.assign(table.Columns.size(), -1);
        for (int c : table.Stored_Columns()) {
            info.Slot[size_t(c)] = int(info.Names.size());
            info.Names.push_back(table.Columns[size_t(c)].Attribute.toStdString());
        }
        Q_ASSERT(info.Names.size() <= Table_Row_View::Max_Attributes);
        const platform::XmlNode container = table.Container.isEmpty() ? root : root.ChildByName(table.Container);
        if (!container)
            throw platform::Exception(Fault_Head() +
                                      QStringLiteral("the container \"%1\" is missing.").arg(table.Container));
        info.Rows = container.ChildNodes();
        Tables.push_back(std::move(info));
    }
}

Table_File_View::~Table_File_View() = default;

QString Table_File_View::Fault_Head() const
{
    return QStringLiteral("Cannot build %1 from the file \"%2\": ").arg(Purpose, Path);
}

size_t Table_File_View::Row_Count(int table) const { return Tables[size_t(table)].Rows.size(); }

Table_Row_View Table_File_View::Row(int table, size_t index) const
{
    const Table_Row_View::Table_Info& info = Tables[size_t(table)];
    return Table_Row_View(*this, info, info.Rows[index], index);
}

Table_Row_View::Table_Row_View(const Table_File_View& file, const Table_Info& table, const platform::XmlNode& row,
                               size_t index)
    : File(file), Table(table), Index(index)
{
    const std::vector<std::string>& names = table.Names;
    const size_t n = names.size();
    auto find = [&](std::string_view name) {
        for (size_t k = 0; k < n; ++k)
            if (Same_Name(names[k], name))
                return k;
        return n;
    };
    // Files keep the writer's order, so the next expected name nearly always matches first.
    size_t expected = 0;
    row.ForEachAttributeUtf8([&](std::string_view name, std::string_view value) {
        const size_t k = expected < n && Same_Name(names[expected], name) ? expected : find(name);
        if (k < n && !Values[k])
            Values[k] = value;
        expected = k + 1;
    });
}

std::optional<std::string_view> Table_Row_View::Optional(int column) const
{
    const int slot = Table.Slot[size_t(column)];
    return slot < 0 ? std::nullopt : Values[size_t(slot)];
}

std::string_view Table_Row_View::Required(int column) const
{
    const auto value = Optional(column);
    if (!value)
        Fail(column, QStringLiteral("is missing"));
    return *value;
}

int32_t Table_Row_View::Required_Int(int column) const
{
    const std::string_view text = Required(column);
    const auto value = Parse_Int32(text);
    if (!value)
        Fail(column, QStringLiteral("holds \"%1\", which is not a whole number")
                         .arg(QString::fromUtf8(text.data(), qsizetype(text.size()))));
    return *value;
}

int32_t Table_Row_View::Int(int column, int32_t fallback) const
{
    const auto text = Optional(column);
    return text ? Parse_Int32(*text).value_or(fallback) : fallback;
}

void Table_Row_View::Fail(int column, const QString& problem) const
{
    throw platform::Exception(File.Fault_Head() +
                              QStringLiteral("row %1 of \"%2\": the attribute \"%3\" %4.")
                                  .arg(QString::number(Index + 1), Table.Description->Container,
                                       Table.Description->Columns[size_t(column)].Attribute, problem));
}

}  // namespace shell
