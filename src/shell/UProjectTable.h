#pragma once
#include <QString>
#include <QStringList>
#include <vector>

// The shared layout of the set-up windows' table files: a root element, a "SW_VERSION = x.xxx"
// comment after it, one container per table (or the rows right under the root) and one row element
// per table row with one attribute per column.
namespace shell {

struct Table_Layout {
    QString Container;         // empty: rows stand right under the root
    QStringList Attributes;    // one per column, in column order (the row-number column is not stored)
    QStringList Defaults;      // per column, for attributes a file lacks; missing entries mean ""
    int Key_Column = 0;        // index into Attributes: the first row whose key is blank ends the table
    int Max_Rows = 1024;       // rows the window's table has room for
    QStringList Required;      // attributes without a default: a row lacking one is a problem
    QString Row_Element = QStringLiteral("row");
};

using Table_Rows = std::vector<QStringList>;  // each row holds one text per attribute

struct Project_File_Layout {
    QString Root;
    QString Version;  // empty: no version comment
    std::vector<Table_Layout> Tables;
};

// Writes the tables whole to a temporary file and renames it over the old one; throws Exception on
// failure. Rows after the first blank key are not written.
void Write_Project_Table_File(const QString& path, const Project_File_Layout& layout,
                              const std::vector<Table_Rows>& tables);

// Reads the tables of a file. A missing file gives empty tables. A file that is not well-formed,
// or lacks a container, throws Exception after filling what it could into *tables. With problems
// given, every row is still read, and each row lacking a Required attribute and each table with
// more rows than it has room for is described there, one line each.
void Read_Project_Table_File(const QString& path, const Project_File_Layout& layout,
                             std::vector<Table_Rows>* tables, QStringList* problems = nullptr);

}  // namespace shell
