#pragma once
#include <QString>

#include "grid/core/ExtStringGrid.h"

namespace grid::dataops {

// Bulk work on whole rectangles, rows and columns of a grid: rows real columns, rows display rows
// unless named otherwise. The row and column kernels themselves live with the grid.

// Clear the data cells only: fixed rows, columns and footers keep theirs.
void ClearNormalRows(TExtStringGrid& g, int rowIndex, int count);
void ClearNormalCols(TExtStringGrid& g, int colIndex, int count);
void ClearNormalCells(TExtStringGrid& g);

// Removes every data row whose check box in the column is (or is not) checked.
void RemoveCheckedRows(TExtStringGrid& g, int checkBoxColumn, bool removeChecked);
// Removes each later data row whose text in the display column repeats an earlier one, letter
// case ignored whatever doCase says.
void RemoveDuplicates(TExtStringGrid& g, int displayCol, bool doCase);

// Appends the second column's text to the first's (trimmed, joined by the separator) in every
// data row, then removes the second column.
void MergeCols(TExtStringGrid& g, int colIndex1, int colIndex2, const QString& separator);
// Merges runs of equal texts down a column (along a row); without mainMerge only inside the
// areas already merged in the column before (row above).
void MergeColumnCells(TExtStringGrid& g, int colIndex, bool mainMerge);
void MergeRowCells(TExtStringGrid& g, int rowIndex, bool mainMerge);
void SplitColumnCells(TExtStringGrid& g, int colIndex);
void SplitRowCells(TExtStringGrid& g, int rowIndex);
void SplitAllCells(TExtStringGrid& g);

// Removes leading and trailing characters up to the blank from every text of the area.
void TrimRect(TExtStringGrid& g, int c1, int r1, int c2, int r2);
void TrimColumn(TExtStringGrid& g, int col);
void TrimRow(TExtStringGrid& g, int row);
void TrimAll(TExtStringGrid& g);

void ColorRect(TExtStringGrid& g, int c1, int r1, int c2, int r2, TColor color);
// The first cell, row by row, whose stored text is exactly subStr; col and row are set only
// when one is found.
bool IsCell(TExtStringGrid& g, const QString& subStr, int& col, int& row);

}  // namespace grid::dataops
