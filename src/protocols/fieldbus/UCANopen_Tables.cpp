#include "protocols/fieldbus/UCANopen_Tables.h"

#include "protocols/fieldbus/UCANFrames.h"
#include "protocols/fieldbus/UTable_Column.h"
#include "shell/ULanguage.h"

#include <map>
#include <utility>

namespace fieldbus {

namespace {

using shell::Cell_Editor;
using shell::Lang;

// Column colours: identifiers light cyan, byte positions light pink, timing and flags light green.
constexpr uint32_t Cyan = Light_Cyan, Pink = Light_Pink, Green = Light_Green;

shell::Table_Column Number_Column(int header) { return Table_Col(header, 0, Cell_Editor::Row_Number, 40, White, nullptr); }
shell::Table_Column Text(int header, int hint, int width, uint32_t color, const char* attribute)
{
    return Table_Col(header, hint, Cell_Editor::Text, width, color, attribute);
}

// count byte-position columns "Address_B1" .. from the given texts.
void Add_Byte_Columns(std::vector<shell::Table_Column>& columns, int count, int header, int hint, int width)
{
    static const char* const names[] = {"Address_B1", "Address_B2", "Address_B3", "Address_B4",
                                        "Address_B5", "Address_B6", "Address_B7", "Address_B8"};
    for (int k = 0; k < count; ++k)
        columns.push_back(Text(header + k, hint + k, width, Pink, names[k]));
}

shell::Table_Description Table(const char* container, int capacity, std::vector<shell::Table_Column> columns)
{
    shell::Table_Description table;
    table.Container = QLatin1String(container);
    table.Key_Column = 1;
    table.Capacity = capacity;
    table.Columns = std::move(columns);
    return table;
}

shell::Table_Description PDO_Receive()
{
    std::vector<shell::Table_Column> c = {Number_Column(2316), Text(2317, 2343, 65, Cyan, "COB-ID"),
                                          Text(2318, 2344, 65, Cyan, "Dimension")};
    Add_Byte_Columns(c, 8, 2319, 2345, 45);
    c.push_back(Text(2327, 2353, 65, Green, "TimeOut"));
    c.push_back(Text(2328, 2354, 173, White, "Mnemonic"));
    return Table("Receive_PDO", 30, std::move(c));
}

shell::Table_Description PDO_Transmit()
{
    std::vector<shell::Table_Column> c = {Number_Column(2329), Text(2330, 2355, 65, Cyan, "COB-ID"),
                                          Text(2331, 2356, 65, Cyan, "Dimension")};
    Add_Byte_Columns(c, 8, 2332, 2357, 45);
    c.push_back(Text(2340, 2365, 65, Green, "Send_Time"));
    c.push_back(Table_Col(2341, 2366, Cell_Editor::Check, 68, Green, "On_Change"));
    c.push_back(Text(2342, 2367, 105, White, "Mnemonic"));
    return Table("Transmit_PDO", 30, std::move(c));
}

// The SDO client tables: header and hint are the first indices of the table's block.
shell::Table_Description SDO_Client(bool write, int header, int hint)
{
    std::vector<shell::Table_Column> c = {Number_Column(header), Text(header + 1, hint, 60, Cyan, "Device_ID"),
                                          Text(header + 2, hint + 1, 55, Cyan, "Index"),
                                          Text(header + 3, hint + 2, 60, Cyan, "SubIndex"),
                                          Text(header + 4, hint + 3, 45, Cyan, "NByte"),
                                          Text(header + 5, hint + 4, 60, Green, "Poll_Time")};
    int next = 6;
    if (write) {
        c.push_back(Table_Col(header + 6, hint + 5, Cell_Editor::Check, 68, Green, "On_Change"));
        ++next;
    }
    Add_Byte_Columns(c, 4, header + next, hint + next - 1, 70);
    c.push_back(Text(header + next + 4, hint + next + 3, write ? 95 : 163, White, "Mnemonic"));
    return Table(write ? "SDO_Write" : "SDO_Read", 256, std::move(c));
}

shell::Table_Description SDO_Server(bool write, int header, int hint)
{
    std::vector<shell::Table_Column> c = {Number_Column(header), Text(header + 1, hint, 65, Cyan, "Index"),
                                          Text(header + 2, hint + 1, 61, Cyan, "SubIndex"),
                                          Text(header + 3, hint + 2, 55, Cyan, "NByte")};
    Add_Byte_Columns(c, 4, header + 4, hint + 3, 80);
    c.push_back(Text(header + 8, hint + 7, 170, White, "Mnemonic"));
    return Table(write ? "SDO_Write" : "SDO_Read", 500, std::move(c));
}

// ---- Checks -----------------------------------------------------------------------------------

bool In(const shell::Checked_Row& row, int column, qint64 low, qint64 high)
{
    const qint64 v = row.Setup_Number(column);
    return v >= low && v <= high;
}

// Byte positions 1 .. count from first: each within 0 .. limit-1, else the byte's text and the bound.
std::optional<QString> Check_Positions(const shell::Checked_Row& row, int first, qint64 count, int limit, int text)
{
    for (int k = 0; k < count; ++k)
        if (!In(row, first + k, 0, limit - 1))
            return Lang(text + k) + QString::number(limit - 1);
    return std::nullopt;
}

// The window's checks; check_row gets the limit of the table's byte positions.
std::optional<QString> Check(const shell::Setup_Window_Description& window, const CANopen_Check_Input& input,
                             const std::function<std::optional<QString>(int, const shell::Checked_Row&, int)>& check_row)
{
    return shell::Check_Setup_Tables(window, input.Tables, [&](int table, const shell::Checked_Row& row) {
        return check_row(table, row, table == 0 ? input.NByte_IN : input.NByte_OUT);
    });
}

// The window texts shared by the three: captions OK .. Paste Row follow the description, the
// hints the captions; first is the window's block, prefix the row prefix of its faults and
// question its delete question.
struct Window_Texts {
    int First, Prefix, Question;
};

shell::Setup_Window_Description Window(const char* name, int width, Window_Texts texts,
                                       shell::Project_File_Description file, QString shell::TApp_State::*path,
                                       const char* tab_read, const char* tab_write)
{
    const int first = texts.First;
    shell::Setup_Window_Description w;
    w.Name = QLatin1String(name);
    w.Client_Width = width;
    w.Client_Height = 337;
    w.File = std::move(file);
    w.Path = path;
    w.Grid_Names = {QStringLiteral("sga"), QStringLiteral("sgb")};
    w.Tab_Names = {QLatin1String(tab_read), QLatin1String(tab_write)};
    w.Caption = first;
    w.Description = first + 1;
    for (int b = 0; b < 6; ++b) {
        w.Button_Captions.push_back(first + 2 + b);
        w.Button_Hints.push_back(first + 8 + b);
    }
    w.Tab_Captions = {first + 14, first + 15};
    w.Row_Prefix = texts.Prefix;
    w.Delete_Question = texts.Question;
    return w;
}

}  // namespace

const shell::Setup_Window_Description& PDO_Window_Description()
{
    static const shell::Setup_Window_Description window =
        Window("FSet_PDO_Access", 798, {2300, 2368, 2391},
               {QStringLiteral("PDO_CANopen"), QStringLiteral("1.000"), {PDO_Receive(), PDO_Transmit()}},
               &shell::TApp_State::File_PDO_CANopen, "TS_Receive_PDO", "TS_Transmit_PDO");
    return window;
}

const shell::Setup_Window_Description& SDO_Client_Window_Description()
{
    static const shell::Setup_Window_Description window =
        Window("FSet_SDO_Client_Access", 798, {2400, 2460, 2479},
               {QStringLiteral("SDO_Client_CANopen"), QStringLiteral("1.000"),
                {SDO_Client(false, 2416, 2439), SDO_Client(true, 2427, 2449)}},
               &shell::TApp_State::File_SDO_Client_CANopen, "TS_SDO_Read", "TS_SDO_Write");
    return window;
}

const shell::Setup_Window_Description& SDO_Server_Window_Description()
{
    static const shell::Setup_Window_Description window =
        Window("FSet_SDO_Server_Access", 749, {2500, 2550, 2565},
               {QStringLiteral("SDO_Server_CANopen"), QStringLiteral("1.000"),
                {SDO_Server(false, 2516, 2534), SDO_Server(true, 2525, 2542)}},
               &shell::TApp_State::File_SDO_Server_CANopen, "TS_SDO_Read", "TS_SDO_Write");
    return window;
}

std::optional<QString> Check_PDO_Tables(const CANopen_Check_Input& input)
{
    // Per table: the COB-ID text; the other texts follow it in the same order.
    static const int first_text[2] = {2369, 2380};
    return Check(PDO_Window_Description(), input, [](int table, const shell::Checked_Row& row, int limit) -> std::optional<QString> {
                     const int text = first_text[table];
                     if (!In(row, pdo_rx::COB_ID, 0, 0x7FF))
                         return Lang(text);
                     if (!In(row, pdo_rx::Dimension, 1, 8))
                         return Lang(text + 1);
                     if (auto fault = Check_Positions(row, pdo_rx::Add_B1, row.Setup_Number(pdo_rx::Dimension), limit, text + 2))
                         return fault;
                     if (table == 0 && !In(row, pdo_rx::TimeOut, 0, 65535))
                         return Lang(2379);
                     if (table == 1 && !In(row, pdo_tx::Send_Time, 0, 100000000))
                         return Lang(2390);
                     return std::nullopt;
                 });
}

namespace {

QString Hex(qint64 value, int digits)
{
    return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

bool Valid_NByte(const shell::Checked_Row& row, int column)
{
    const qint64 n = row.Setup_Number(column);
    return n == 1 || n == 2 || n == 4;
}

}  // namespace

std::optional<QString> Check_SDO_Client_Tables(const CANopen_Check_Input& input)
{
    static const int first_text[2] = {2461, 2470};
    return Check(SDO_Client_Window_Description(), input, [](int table, const shell::Checked_Row& row, int limit) -> std::optional<QString> {
                     const int text = first_text[table];
                     if (!In(row, sdo_rd::Device_ID, 1, 127))
                         return Lang(text);
                     if (!In(row, sdo_rd::Index, 0x1000, 0xFFFF))
                         return Lang(text + 1);
                     if (!In(row, sdo_rd::SubIndex, 0, 0xFF))
                         return Lang(text + 2);
                     if (!Valid_NByte(row, sdo_rd::NByte))
                         return Lang(text + 3);
                     // A read is polled at least every millisecond; a write may be sent on change only.
                     if (!In(row, sdo_rd::Poll_Time, table == 0 ? 1 : 0, 100000000))
                         return Lang(text + 4);
                     const int first = table == 0 ? int(sdo_rd::Add_B1) : int(sdo_wr::Add_B1);
                     return Check_Positions(row, first, row.Setup_Number(sdo_rd::NByte), limit, text + 5);
                 });
}

std::optional<QString> Check_SDO_Server_Tables(const CANopen_Check_Input& input)
{
    static const QString tags[2] = {QStringLiteral("SDO in Read"), QStringLiteral("SDO in Write")};
    static const int first_text[2] = {2551, 2558};
    // The objects offered so far: (Index, SubIndex) -> (table, row).
    std::map<std::pair<qint64, qint64>, std::pair<int, QString>> offered;
    return Check(SDO_Server_Window_Description(), input, [&](int table, const shell::Checked_Row& row, int limit) -> std::optional<QString> {
                     const int text = first_text[table];
                     if (!In(row, sdo_srv::Index, 0x2000, 0x5FFF))
                         return Lang(text);
                     if (!In(row, sdo_srv::SubIndex, 0, 0xFF))
                         return Lang(text + 1);
                     if (!Valid_NByte(row, sdo_srv::NByte))
                         return Lang(text + 2);
                     if (auto fault = Check_Positions(row, sdo_srv::Add_B1, row.Setup_Number(sdo_srv::NByte), limit, text + 3))
                         return fault;
                     // The device description holds one entry per object: a second row for it is refused.
                     const std::pair<qint64, qint64> object{row.Setup_Number(sdo_srv::Index), row.Setup_Number(sdo_srv::SubIndex)};
                     const auto [at, added] = offered.emplace(object, std::make_pair(table, row.Cell(sdo_srv::N)));
                     if (!added)
                         return QStringLiteral("!! [%1] Index 0x%2 SubIndex 0x%3 is already used in row %4 of [%5]")
                             .arg(tags[table], Hex(object.first, 4), Hex(object.second, 2), at->second.second,
                                  tags[at->second.first]);
                     return std::nullopt;
                 });
}

}  // namespace fieldbus
