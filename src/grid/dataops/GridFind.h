#pragma once
#include <QString>
#include <cstdint>

#include "grid/core/GridTypes.h"
#include "grid/dataops/FilterExpr.h"

namespace grid {
class TExtStringGrid;
}

namespace grid::dataops {

// Find flags; a set is stored as 16 bits, bit n for the flag of ordinal n.
enum TFindParameters : uint8_t {
    fnMatchCase,             // otherwise both texts are upper-cased by the locale's rules
    fnMatchFull,             // the whole cell text equals the search text
    fnMatchRegular,          // the search text is a filter expression
    fnDirectionLeftRight,    // row by row; otherwise column by column
    fnMatchStart,            // the search text starts the cell text
    fnFindInCurrentRow,
    fnFindInCurrentCol,
    fnIncludeFixed,          // fixed rows and columns, right fixed columns and footers too
    fnAutoGoto,              // a found cell becomes the current cell
    fnIgnoreHTMLTags,
    fnBackward,
    fnIncludeHiddenColumns,  // columns are then real indexes
    fnFindInPresetCol,
    fnFindInPresetRow,
    fnSelectedCells,
    fnIncludeHiddenRows,     // rows are then real indexes
};
using TFindParams = uint16_t;
constexpr TFindParams FindFlag(TFindParameters p) { return TFindParams(1u << p); }
template <typename... P>
constexpr TFindParams FindFlags(P... p) { return TFindParams((0u | ... | (1u << p))); }

enum TSearchAction : uint8_t { saFindFirst, saFindPrevious, saFindNext };

// The locale's upper case of a text, the same for search texts and cell texts.
QString FindUpper(const QString& text);

// The find engine of a grid: walks the cells in a chosen order from a start cell and answers the
// first whose text matches. Cells are (column, row), display indexes unless the flags say real.
class TGridFind {
public:
    explicit TGridFind(TExtStringGrid& grid) : Grid(grid) {}
    TExtStringGrid& Grid;

    static constexpr TPoint NoCell{-1, -1};

    // The next match after start, (-1, -1) when none; start (-1, -1) begins at the walk's first
    // cell. The walk never wraps round within a call.
    TPoint Find(TPoint start, const QString& s, TFindParams params);
    TPoint FindWide(TPoint start, const QString& s, TFindParams params);
    TPoint FindFirst(const QString& s, TFindParams params);
    TPoint FindNext();
    // Every occurrence of orig (any case) in each matching cell becomes repl; answers the number
    // of cells changed. One pass over the cells: a replacement that still matches is not
    // visited again.
    int Replace(const QString& orig, const QString& repl, TFindParams params);
    // Key search: the first row from FixedRows whose text in the search column, tags removed and
    // cut to the length of upperText, upper-cased, equals it; -1 when none.
    int Search(const QString& upperText);

    bool MatchFindCell(int c, int r, bool wide);
    TPoint DoFind(TPoint start, const QString& s, TFindParams params, bool wide);

    TFindParams FindParams = 0;
    QString SearchCache;  // upper-cased unless fnMatchCase
    TPoint SearchCell = NoCell;
    int FindCol = -1, FindRow = -1;  // the preset column and row

private:
    bool Has(TFindParameters p) const { return FindParams & FindFlag(p); }
    void GotoFound(TPoint cell);
    TFilterExpr FRegular;  // the search text as an expression, parsed once per find
};

}  // namespace grid::dataops
