#pragma once
#include <QString>

#include "grid/core/ExtStringGrid.h"

namespace grid::dataops {

// Selection queries, row statistics, numbering, tagging of texts, the cell checker pass and test
// fills of a grid. Columns are real columns, rows display rows.

void SelectCells(TExtStringGrid& g, int fromCol, int fromRow, int toCol, int toRow);
// The selected cells as text: cells joined by TAB, rows ended by CR LF except the selection's
// bottom row; rich texts become plain, and with ExcelClipboardFormat a multi-line text is quoted
// with its line breaks as #11. With goRowSelect, entireRows (the drag and drop setting) takes
// every column.
QString SelectedText(TExtStringGrid& g, bool entireRows = false);

// Over the base cells of the row's columns fromCol .. toCol; texts that are no number are
// skipped, except the first cell for Min and Max, which raises. Avg divides by every column.
double RowSum(TExtStringGrid& g, int row, int fromCol, int toCol);
double RowAvg(TExtStringGrid& g, int row, int fromCol, int toCol);
double RowMin(TExtStringGrid& g, int row, int fromCol, int toCol);
double RowMax(TExtStringGrid& g, int row, int fromCol, int toCol);

// Numbers the data rows of a column (data columns of a row) after AutoNumberStart of them,
// from AutoNumberStart + AutoNumberOffset + 1, top down or, descending, bottom up.
void AutoNumberCol(TExtStringGrid& g, int col);
void AutoNumberRow(TExtStringGrid& g, int row);

// Search hits ("hi") and marked errors ("e") wrapped round every occurrence of the text in the
// visible text (the mark-up's marker), and taken off again.
QString HilightText(bool doCase, const QString& s, const QString& text);
QString MarkText(bool doCase, const QString& s, const QString& text);
QString UnHilightText(const QString& s);
QString UnMarkText(const QString& s);

void HilightInCell(TExtStringGrid& g, bool doCase, int col, int row, const QString& hiText);
void HilightInCol(TExtStringGrid& g, bool doFixed, bool doCase, int col, const QString& hiText);
void HilightInRow(TExtStringGrid& g, bool doFixed, bool doCase, int row, const QString& hiText);
void HilightInGrid(TExtStringGrid& g, bool doFixed, bool doCase, const QString& hiText);
void MarkInCell(TExtStringGrid& g, bool doCase, int col, int row, const QString& hiText);
void MarkInCol(TExtStringGrid& g, bool doFixed, bool doCase, int col, const QString& hiText);
void MarkInRow(TExtStringGrid& g, bool doFixed, bool doCase, int row, const QString& hiText);
void MarkInGrid(TExtStringGrid& g, bool doFixed, bool doCase, const QString& hiText);
void UnHilightInCell(TExtStringGrid& g, int col, int row);
void UnHilightInCol(TExtStringGrid& g, bool doFixed, int col);
void UnHilightInRow(TExtStringGrid& g, bool doFixed, int row);
void UnHilightInGrid(TExtStringGrid& g, bool doFixed);
void UnMarkInCell(TExtStringGrid& g, int col, int row);
void UnMarkInCol(TExtStringGrid& g, bool doFixed, int col);
void UnMarkInRow(TExtStringGrid& g, bool doFixed, int row);
void UnMarkInGrid(TExtStringGrid& g, bool doFixed);

// Each checked cell's text (without its error marks) goes through the grid's CellChecker and is
// written back; a cell passes when the text came back unchanged. Without a checker all pass.
bool CheckCell(TExtStringGrid& g, int col, int row);
// Checks every cell of the rectangle, also after a failure; true when all passed.
bool CheckCells(TExtStringGrid& g, int fromCol, int fromRow, int toCol, int toRow);
bool CheckCol(TExtStringGrid& g, bool doFixed, int col);
bool CheckRow(TExtStringGrid& g, bool doFixed, int row);
bool CheckGrid(TExtStringGrid& g, bool doFixed);

// Test fills of the data area (the whole grid with doFixed); footers are recalculated after.
void TextFill(TExtStringGrid& g, bool doFixed, const QString& text);
// Each cell takes the format with its column and row as arguments (%d, %s, %x, %%, an optional
// argument index "n:").
void FormatFill(TExtStringGrid& g, bool doFixed, const QString& format);
void RandomFill(TExtStringGrid& g, bool doFixed, int rnd);
void LinearFill(TExtStringGrid& g, bool doFixed);
// The format's text for two integer arguments, as FormatFill writes it.
QString FormatCellNumbers(const QString& format, int col, int row);

}  // namespace grid::dataops
