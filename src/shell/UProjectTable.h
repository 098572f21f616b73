#pragma once
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class XmlNode;
}

// The shared layout of the set-up windows' table files: a root element, a "SW_VERSION = x.xxx"
// comment after it, one container per table (or the rows right under the root) and one row element
// per table row with one attribute per column.
namespace shell {

struct Table_Layout {
    QString Container;         // empty: rows stand right under the root
    QStringList Attributes;    // one per column, in column order (the row-number column is not stored)
    QStringList Defaults;      // per column, for attributes a file lacks; missing entries mean ""
    int Key_Column = 0;        // index into Attributes: the first row whose key is empty ends the table; -1: no key
    bool Key_Blanks_Count = false;  // a key of blanks is content, not empty
    int Max_Rows = 1024;       // rows the window's table has room for
    QStringList Required;      // attributes without a default: a row lacking one is a problem
    QString Row_Element = QStringLiteral("row");
};

// The end rule of every table: a key cell is empty when it holds nothing, or only blanks where
// blanks do not count.
bool Key_Is_Empty(const QString& key, bool blanksCount = false);

using Table_Rows = std::vector<QStringList>;  // each row holds one text per attribute

struct Project_File_Layout {
    QString Root;
    QString Version;  // empty: no version comment
    std::vector<Table_Layout> Tables;
    bool Indented = false;  // the set-up windows' files hold no white space between elements
};

// Writes the tables whole to a temporary file and renames it over the old one; throws Exception on
// failure. Rows from the first empty key on are not written.
void Write_Project_Table_File(const QString& path, const Project_File_Layout& layout,
                              const std::vector<Table_Rows>& tables);
// The same document as bytes.
QByteArray Project_Table_Bytes(const Project_File_Layout& layout, const std::vector<Table_Rows>& tables);

// Reads the tables of a file. A missing file gives empty tables. A file that is not well-formed
// (kept aside as "<name>.damaged" first; the rows before the fault are read), or lacks a container
// (that table stays empty, the others are read), throws Exception after filling what it could into
// *tables. With problems given, each row lacking a Required attribute and each table with more rows
// than it has room for is described there, one line each.
void Read_Project_Table_File(const QString& path, const Project_File_Layout& layout,
                             std::vector<Table_Rows>* tables, QStringList* problems = nullptr);

// ---- The description of a project file as its window shows it -------------------------------
// A set-up window is its tables' descriptions: from one description come the file's layout, its
// reading and writing, the grid's columns and texts, the checks' input and the row view that
// compilers and generators read the file through.

enum class Cell_Editor { Row_Number, Text, Check, List, Editable_List };

// One real column of a table (hidden columns included); column 0 holds the row number.
struct Table_Column {
    int Header = 0;  // text-table index of the header
    int Hint = 0;    // text-table index of the header hint; 0: none
    Cell_Editor Kind = Cell_Editor::Text;
    QStringList Items;  // drop-down items
    int Width = 0;
    bool Shown = true;           // false: hidden at every show
    uint32_t Color = 0x1FFFFFFF;  // the cells' colour; clNone: the grid's own
    QString Attribute;  // empty: the column is not stored
    QString Default;    // a stored column's value when the file lacks it; else its value on every load
    bool Required = false;  // a row lacking the attribute is a problem, not a default
    QString Cleared;        // the cell's text when a show clears the table ("Y" in Enable columns)
    // When set, the text of a row lacking the attribute, from the row's cells read before it
    // (real columns); it takes the place of Default.
    std::function<QString(const QStringList& row)> Missing;
    bool Centred = false;  // the cells' text or check box stands in the middle
};

struct Table_Description {
    QString Container;  // empty: rows stand right under the root
    QString Row_Element = QStringLiteral("row");
    std::vector<Table_Column> Columns;  // real columns in order; stored attributes keep this order
    int Key_Column = 1;    // real column: the first row whose key is empty ends the table; -1: no key
    bool Key_Blanks_Count = false;  // a key of blanks is content
    int Enable_Column = -1;  // real column of a "Y"/"N" Enable cell; rows not "Y" are not checked
    bool Enable_Any_Case = false;  // "y" enables too
    int Capacity = 1024;   // data rows

    // The real columns that are stored, in attribute order.
    std::vector<int> Stored_Columns() const;
    Table_Layout Layout() const;
    // The number of content rows: the rows before the first one whose key is empty (all of them
    // without a key). The checks and the writer both stop there.
    size_t Content_End(const Table_Rows& rows) const;
    // Whether a row's Enable cell enables it (always, without an Enable column).
    bool Enabled(const QStringList& row) const;
    // Row r (from 1) as a show leaves it: the number, then each column's Cleared text.
    QStringList Cleared_Row(int r) const;
    // True when a cell other than the row number and the check boxes holds more than blanks.
    bool Holds_Data(const QStringList& row) const;
};

struct Project_File_Description {
    QString Root;
    QString Version;  // empty: no version comment
    std::vector<Table_Description> Tables;
    bool Indented = false;

    Project_File_Layout Layout() const;
};

// Full rows: one text per real column, column 0 the row number.
// Writes each table up to its first row whose key is blank; throws Exception on failure.
void Write_Project_Tables(const QString& path, const Project_File_Description& file,
                          const std::vector<Table_Rows>& tables);
// The same document as bytes.
QByteArray Project_Tables_Bytes(const Project_File_Description& file, const std::vector<Table_Rows>& tables);
// Reads at most each table's capacity as full rows: the row number, the attributes into their
// columns, unstored columns their Default. Problems and failures as Read_Project_Table_File.
void Read_Project_Tables(const QString& path, const Project_File_Description& file,
                         std::vector<Table_Rows>* tables, QStringList* problems = nullptr);

// What the checks see of one table: its full rows as the grid holds them (rows 1 .. n) and, per
// real column, whether it is shown; a hidden column is not checked.
struct Table_Check_Input {
    Table_Rows Rows;
    std::vector<bool> Shown;
};

// One row under check, its cells by real column.
class Checked_Row {
public:
    Checked_Row(const QStringList& row, const std::vector<bool>& shown) : FRow(row), FShown(shown) {}
    // A column beyond the shown list counts as shown: a table without hidden columns needs none.
    bool Shown(int column) const { return column >= 0 && (size_t(column) >= FShown.size() || FShown[size_t(column)]); }
    QString Cell(int column) const { return FRow.value(column); }
    // The cell read by the tables' number rule (Parse_Int32); -1 when it is not a number.
    int64_t Number(int column) const;
    // The cell read by the set-up tables' number rule (Setup_Number).
    int64_t Setup_Number(int column) const;

private:
    const QStringList& FRow;
    const std::vector<bool>& FShown;
};

// The number rule of the set-up tables: leading blanks, a sign, decimal digits or hexadecimal ones
// after "$", "x", "X", "0x" or "0X", nothing after; eight hexadecimal digits are a 32-bit two's
// complement value. Anything else, and a decimal value beyond 32 bits, is -1.
int64_t Setup_Number(const QString& text);
// A number outside low .. high (both included); a cell that is no number (-1) is outside any range from 0.
inline bool Outside(int64_t value, int64_t low, int64_t high) { return value < low || value > high; }

struct Table_Checks {
    int Row_Prefix = 0;  // text-table index of the prefix ("Error row ") before the row number
    // The first fault of a content row of a table (index into the description), or nothing.
    std::function<std::optional<QString>(int table, const Checked_Row& row)> Check_Row;
    // The message after prefix and row number for a row holding data below the end of a table's
    // content (end: the first row without a key); empty: such rows are ignored, as the writer drops them.
    std::function<QString(int table, int end)> Data_After_End;
};

// The Data_After_End message of the set-up windows, naming the key column by its header text:
// "!! <header> of row <end> is empty: the table ends there and this row would not be saved".
QString Key_Ends_Table_Message(const Table_Description& table, int end);

// Checks the tables in order, each from row 1 up to its first row without a key, skipping rows
// whose Enable is not "Y"; the first fault, as prefix + row number + message, or nothing.
std::optional<QString> Check_Project_Tables(const Project_File_Description& file,
                                            const std::vector<Table_Check_Input>& tables, const Table_Checks& checks);

// ---- Reading a project file in place, for compilers and generators ----------------------------

class Table_File_View;

// One row of a table, its attributes as UTF-8 views into the document, by real column. Faults
// name the file, the table's container, the row and the attribute.
class Table_Row_View {
public:
    static constexpr size_t Max_Attributes = 48;

    std::optional<std::string_view> Optional(int column) const;
    // Throws Exception when the row lacks the attribute.
    std::string_view Required(int column) const;
    // Throws Exception when the row lacks the attribute or it is not a 32-bit number.
    int32_t Required_Int(int column) const;
    // The parsed number; fallback when the attribute is missing or not a number.
    int32_t Int(int column, int32_t fallback) const;

private:
    friend class Table_File_View;
    struct Table_Info;
    Table_Row_View(const Table_File_View& file, const Table_Info& table, const platform::XmlNode& row, size_t index);
    [[noreturn]] void Fail(int column, const QString& problem) const;

    const Table_File_View& File;
    const Table_Info& Table;
    size_t Index;
    std::array<std::optional<std::string_view>, Max_Attributes> Values{};
};

// A loaded document read as a project file: its containers found by the description. The document
// must outlive the view and the row views taken from it.
class Table_File_View {
public:
    // purpose names what is built ("the device image") in the messages. Throws Exception when a
    // container is missing.
    Table_File_View(const platform::XmlNode& root, const Project_File_Description& file, const QString& path,
                    const QString& purpose);
    ~Table_File_View();
    Table_File_View(const Table_File_View&) = delete;
    Table_File_View& operator=(const Table_File_View&) = delete;

    // Every row element of a table, however many the file holds.
    size_t Row_Count(int table) const;
    Table_Row_View Row(int table, size_t index) const;

private:
    friend class Table_Row_View;
    QString Fault_Head() const;

    QString Path;
    QString Purpose;
    std::vector<Table_Row_View::Table_Info> Tables;
};

}  // namespace shell
