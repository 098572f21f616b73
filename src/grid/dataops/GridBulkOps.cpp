#include "grid/dataops/GridBulkOps.h"

#include <set>
#include <vector>

namespace grid::dataops {

namespace {

void ClearArea(TExtStringGrid& g, int c1, int r1, int c2, int r2)
{
    if (g.RowCount() <= 0 || g.ColCount() <= 0)
        return;
    g.ClearRect(c1, r1, c2, r2);
}

// Holds the grid's update count for a scope, also when an error ends it.
class TUpdateScope {
public:
    explicit TUpdateScope(TExtStringGrid& grid) : FGrid(grid) { FGrid.BeginUpdate(); }
    ~TUpdateScope() { FGrid.EndUpdate(); }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    TExtStringGrid& FGrid;
};

QString TrimBlanks(const QString& s)
{
    qsizetype from = 0, to = s.size();
    while (from < to && s.at(from).unicode() <= 32)
        ++from;
    while (to > from && s.at(to - 1).unicode() <= 32)
        --to;
    return from == 0 && to == s.size() ? s : s.mid(from, to - from);
}

}  // namespace

void ClearNormalRows(TExtStringGrid& g, int rowIndex, int count)
{
    if (count > 0)
        ClearArea(g, g.FixedCols(), rowIndex, g.AllColCount() - g.FixedRightCols - 1, rowIndex + count - 1);
}

void ClearNormalCols(TExtStringGrid& g, int colIndex, int count)
{
    if (count > 0)
        ClearArea(g, colIndex, g.FixedRows(), colIndex + count - 1, g.RowCount() - 1 - g.FixedFooters);
}

void ClearNormalCells(TExtStringGrid& g)
{
    if (g.FixedCols() == 0 && g.HasNodes())
        g.RemoveAllNodes();
    ClearArea(g, g.FixedCols(), g.FixedRows(), g.AllColCount() - g.FixedRightCols - 1,
              g.RowCount() - 1 - g.FixedFooters);
}

void RemoveCheckedRows(TExtStringGrid& g, int checkBoxColumn, bool removeChecked)
{
    TUpdateScope update(g);
    std::vector<int> rows;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r) {
        bool state = false;
        if (g.GetCheckBoxState(checkBoxColumn, g.RealRowIndex(r), state) && state == removeChecked)
            rows.push_back(r);
    }
    g.DeleteRowList(std::move(rows), true);
}

void RemoveDuplicates(TExtStringGrid& g, int displayCol, bool doCase)
{
    // Kept as stored layouts expect: the comparison ignores letter case whatever doCase says.
    (void)doCase;
    const int c = g.DisplToRealCol(displayCol);
    TUpdateScope update(g);
    std::set<QString> seen;
    std::vector<int> rows;
    for (int r = g.FixedRows(); r < g.RowCount() - g.FixedFooters; ++r)
        if (!seen.insert(g.Cells(c, r).toCaseFolded()).second)
            rows.push_back(r);
    g.DeleteRowList(std::move(rows), false);
}

void MergeCols(TExtStringGrid& g, int colIndex1, int colIndex2, const QString& separator)
{
    for (int r = g.FixedRows(); r < g.RowCount(); ++r)
        g.SetCells(colIndex1, r, TrimBlanks(g.Cells(colIndex1, r) + separator + g.Cells(colIndex2, r)));
    g.RemoveCols(colIndex2, 1);
}

void MergeColumnCells(TExtStringGrid& g, int colIndex, bool mainMerge)
{
    int start = g.FixedRows(), length = 1;
    const int last = g.RowCount() - 1 - g.FixedFooters;
    for (int r = g.FixedRows() + 1; r <= last; ++r) {
        if (g.Cells(colIndex, r) == g.Cells(colIndex, r - 1) && (mainMerge || g.RowSpanIdentical(r, r - 1))) {
            ++length;
            continue;
        }
        if (length > 1)
            g.MergeCells(colIndex, start, 1, length);
        start = r;
        length = 1;
    }
    if (length > 1)
        g.MergeCells(colIndex, start, 1, length);
}

void MergeRowCells(TExtStringGrid& g, int rowIndex, bool mainMerge)
{
    int start = g.FixedCols(), length = 1;
    const int last = g.ColCount() - 1 - g.FixedRightCols;
    for (int c = g.FixedCols() + 1; c <= last; ++c) {
        if (g.Cells(c, rowIndex) == g.Cells(c - 1, rowIndex) && (mainMerge || g.ColSpanIdentical(c, c - 1))) {
            ++length;
            continue;
        }
        if (length > 1)
            g.MergeCells(start, rowIndex, length, 1);
        start = c;
        length = 1;
    }
    if (length > 1)
        g.MergeCells(start, rowIndex, length, 1);
}

void SplitColumnCells(TExtStringGrid& g, int colIndex)
{
    int r = 0;
    while (r < g.RowCount() - 1 - g.FixedFooters) {
        if (g.IsYMergedCell(colIndex, r)) {
            const int extra = g.CellSpan(colIndex, r).Y;
            g.SplitCells(colIndex, r);
            r += extra + 1;
        } else {
            ++r;
        }
    }
}

void SplitRowCells(TExtStringGrid& g, int rowIndex)
{
    int c = 0;
    while (c < g.ColCount() - 1 - g.FixedRightCols) {
        if (g.IsMergedCell(c, rowIndex)) {
            const int extra = g.CellSpan(c, rowIndex).X;
            g.SplitCells(c, rowIndex);
            c += extra + 1;
        } else {
            ++c;
        }
    }
}

void SplitAllCells(TExtStringGrid& g)
{
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c)
            if (g.IsMergedCell(c, r))
                g.SplitCells(c, r);
}

void TrimRect(TExtStringGrid& g, int c1, int r1, int c2, int r2)
{
    for (int r = r1; r <= r2; ++r) {
        for (int c = c1; c <= c2; ++c) {
            const int a = g.SaveHiddenCells ? g.DisplToRealCol(c) : c;
            const QString text = g.Cells(a, r);
            const QString trimmed = TrimBlanks(text);
            if (trimmed.size() != text.size())
                g.SetCells(a, r, trimmed);
        }
    }
}

void TrimColumn(TExtStringGrid& g, int col) { TrimRect(g, col, 0, col, g.RowCount() - 1); }
void TrimRow(TExtStringGrid& g, int row) { TrimRect(g, 0, row, g.ColCount() - 1, row); }
void TrimAll(TExtStringGrid& g) { TrimRect(g, 0, 0, g.ColCount() - 1, g.RowCount() - 1); }

void ColorRect(TExtStringGrid& g, int c1, int r1, int c2, int r2, TColor color)
{
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            g.SetColors(c, r, color);
}

bool IsCell(TExtStringGrid& g, const QString& subStr, int& col, int& row)
{
    for (int r = 0; r < g.RowCount(); ++r) {
        for (int c = 0; c < g.ColCount(); ++c) {
            if (g.GetGridCell(c, r) == subStr) {
                col = c;
                row = r;
                return true;
            }
        }
    }
    return false;
}

}  // namespace grid::dataops
