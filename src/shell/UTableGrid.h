#pragma once
#include "shell/UProjectTable.h"

#include <QStringList>
#include <vector>

namespace grid {
class TExtColumnGrid;
}

// A set-up table's grid made from its description: columns, texts, clearing, and the rows and
// shown columns handed to the file and the checks.
namespace shell {

// Column and row counts (1 + capacity, row 0 the headers), the fixed row-number column, and per
// column its editor, items, width and colour. Cells are plain text, never mark-up.
void Build_Table_Grid(grid::TExtColumnGrid& grid, const Table_Description& table);
// The header texts (column items and row 0) and the hint list: entry i is data column i+1's hint.
void Apply_Table_Texts(grid::TExtColumnGrid& grid, const Table_Description& table, QStringList& hints);
// Closes an open editor, hides the hidden columns, clears every data row to its cleared texts and
// shows the first cell: every show starts at row 1, column 1.
void Clear_Table_Grid(grid::TExtColumnGrid& grid, const Table_Description& table);
// Rows 1 .. as full rows.
Table_Rows Table_Grid_Rows(grid::TExtColumnGrid& grid, const Table_Description& table);
// Puts full rows into rows 1 .., data columns only; rows beyond the grid are left out.
void Fill_Table_Grid(grid::TExtColumnGrid& grid, const Table_Rows& rows);
// Per real column, whether the grid shows it.
std::vector<bool> Shown_Table_Columns(grid::TExtColumnGrid& grid, const Table_Description& table);

}  // namespace shell
