#pragma once
#include "shell/UProjectTable.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// A table ends at its first row whose key is empty: the writer drops every row below it. Rows
// that hold data down there would be lost without a word, so OK names the first of them and asks.
namespace building {

struct Row_After_End {
    int Table;  // index into the file's tables
    int Row;    // the first row below the end that holds data (from 1)
    int End;    // the row whose key is empty (from 1)
};

// The first table, in file order, with data below its end; nothing when there is none.
std::optional<Row_After_End> Find_Row_After_End(const shell::Project_File_Description& file,
                                                const std::vector<shell::Table_Rows>& tables);

// The question: names the row, the empty key of the row where the table ends and, where given,
// the table ("the Functions table").
QString Row_After_End_Question(const shell::Project_File_Description& file, const Row_After_End& found,
                               const QString& tableName = QString());

// Asks (Yes, No) when a table holds data below its end; true when there is nothing to ask or the
// user answered Yes. tableNames: per table, its name in the question (may be empty).
bool Ask_Save_Rows_After_End(const shell::Project_File_Description& file, const std::vector<shell::Table_Rows>& tables,
                             const QStringList& tableNames = {});

}  // namespace building
