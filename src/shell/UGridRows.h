#pragma once
#include <QChar>

namespace grid {
class TExtStringGrid;
class TExtColumnGrid;
}  // namespace grid

// Row buttons and table options shared by every table window: delete, insert, copy and paste a
// row, Enter to the next cell, double click on a header to fit the column. The copied row lives in
// App_State.Copy_Row_Buffer. Rows are data rows 1 .. RowCount - 1; column 0 (row numbers) is never
// touched; every data column counts, hidden ones included.
namespace shell {

// The delete button's question: text 1388 followed by the row number; true on Yes.
bool Ask_Delete_Row(int row);

// Column-grid family. A row outside the data rows changes nothing. An open in-place editor is
// closed (its value written back) before rows move, so it never stays over another row's cell.
void Grid_Delete_Row(int row, grid::TExtColumnGrid& grid);
// Returns false when nothing was inserted: the last row holds data and the user kept it.
bool Grid_Insert_Row(int row, grid::TExtColumnGrid& grid, bool enable);
void Grid_Copy_Row(grid::TExtColumnGrid& grid, int row);
void Grid_Paste_Row(grid::TExtColumnGrid& grid, int row, bool copied);

// Twins for string grids whose cells hold check boxes and per-cell read-only states.
void Grid_Delete_Row_Checks(int row, grid::TExtStringGrid& grid, bool enable);
bool Grid_Insert_Row_Checks(int row, grid::TExtStringGrid& grid, bool enable);
void Grid_Copy_Row_Checks(grid::TExtStringGrid& grid, int row);
void Grid_Paste_Row_Checks(grid::TExtStringGrid& grid, int row, bool copied);

// Both families: the table's double-click-on-cell and key-press handlers.
void Grid_DblClick_AutoSize(grid::TExtStringGrid& grid, int row, int column);
void Grid_Enter_Next_Cell(grid::TExtStringGrid& grid, QChar& key);

}  // namespace shell
