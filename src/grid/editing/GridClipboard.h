#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "grid/core/ExtStringGrid.h"

namespace grid::editing {

// Plain-text transfer of cells through the clipboard: columns separated by tabs, rows by line
// breaks; a field holding a tab, a line break or a double quote is quoted with doubled quotes, as
// spreadsheets do. Richer formats belong to the grid's data operations.

// The rows and fields of a text block (CR LF, LF or CR end a line; one final line end adds no row).
std::vector<QStringList> ParseTextBlock(const QString& text);
// The cells of a display rectangle as a text block, each row ended by CR LF.
QString CellsAsText(TExtStringGrid& grid, const TGridRect& rect);

enum class TPasteResult { Pasted, NoText, Refused, TooManyColumns, TooManyRows };

// Checks a value for a cell (real column) as the application's validation does; it may change the
// value; false refuses it.
using TCellValidator = std::function<bool(int realCol, int row, QString& value)>;

// Copies the selection to the clipboard; with cut, the selection's cells that may be edited are
// emptied afterwards, each emptying checked by the validator first (one refusal empties none).
void CopySelectionToClipboard(TExtStringGrid& grid, bool cut, const TCellValidator& validate = {});

// Pastes the clipboard's plain text with its top-left field at the display cell (c, r). A block
// wider or taller than the table from that cell is refused with a message and nothing changes;
// fixed and read-only cells inside the block keep their text. Every value that would change a
// cell passes the validator first; one refusal leaves every cell as it was.
TPasteResult PasteTextAt(TExtStringGrid& grid, int c, int r, const QString& text, const TCellValidator& validate = {});
TPasteResult PasteClipboardAt(TExtStringGrid& grid, int c, int r, const TCellValidator& validate = {});

}  // namespace grid::editing
