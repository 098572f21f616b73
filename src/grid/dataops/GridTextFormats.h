#pragma once
#include <QString>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridSettings.h"

namespace grid::dataops {

// The states a writer tells TExtStringGrid::ExportNotification, in this order.
enum TGridExportState { esExportStart, esExportNewRow, esExportDone, esExportSelRow, esExportFail, esExportNextRow };

// The columns past SaveEndCol that the writers add: the hidden ones with SaveHiddenCells.
inline int SaveHiddenExtra(const TExtStringGrid& g) { return g.SaveHiddenCells ? g.NumHiddenColumns() : 0; }
// The real column a writer reads for column index c: c itself with SaveHiddenCells, else the real
// column of display column c.
inline int SaveColumn(const TExtStringGrid& g, int c) { return g.SaveHiddenCells ? c : g.DisplToRealCol(c); }
// The cell's save text (TExtStringGrid::SaveCell).
QString SaveText(TExtStringGrid& g, int realCol, int row);

// Sets the override cursor to the hourglass for its lifetime.
class TBusyCursor {
public:
    TBusyCursor();
    ~TBusyCursor();
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    bool FSet = false;
};

// Fires OnFileProgress with the rounded percentage of done over total (100 when total is not
// positive), only when it differs from the last one told.
class TFileProgress {
public:
    explicit TFileProgress(TExtStringGrid& g) : G(g) {}
    void Report(qint64 done, qint64 total);

private:
    TExtStringGrid& G;
    int Last = -1;
};

// The grid's own text file: a counts line, a width line per column and one line per non-empty
// cell at its absolute position. Written as UTF-16LE with a byte-order mark with `unicode`, else
// in Windows-1252.
void SaveToFile(TExtStringGrid& g, const QString& fileName, bool unicode);
// Sizes the grid from the counts line and stores the cells that lie inside it; other lines are
// skipped. Raises EExtGridError "File contains no data or corrupt file <name>" when the grid would
// have no row or column, or the counts are beyond what a grid holds (the grid then unchanged).
// Progress goes to OnFileProgress; no events are processed on the way.
void LoadFromFile(TExtStringGrid& g, const QString& fileName);

// A fixed-width file in Windows-1252: each cell's first line cut or padded to its column's width.
// Columns without a width in `positions` get their longest line + 1, added to the list.
void SaveToFixed(TExtStringGrid& g, const QString& fileName, TIntList& positions);
// `positions` holds column boundaries (1-based character positions; sorted in place); at least
// two. The field between two boundaries goes to one column, trimmed with doTrim. Reads at most
// maxRows lines unless maxRows is -1.
void LoadFromFixed(TExtStringGrid& g, const QString& fileName, TIntList& positions, bool doTrim, int maxRows = -1);

// The aligned plain-text listing: every column padded to its longest line, cells aligned as
// shown, further lines of multi-line cells on lines of their own. UTF-16LE with a byte-order mark
// with `unicode`, else Windows-1252. The append form keeps the lines of an existing file.
void SaveToASCII(TExtStringGrid& g, const QString& fileName, bool unicode);
void AppendToASCII(TExtStringGrid& g, const QString& fileName, bool unicode);
// The listing's lines.
QStringList AsciiLines(TExtStringGrid& g);

// The cell's text as a number (0 for an empty cell); EExtGridError names the position of the
// first character that is not part of the number.
double CellToReal(TExtStringGrid& g, int col, int row);

}  // namespace grid::dataops
