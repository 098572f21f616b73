// Column statistics and the selection test of a cell.
#include <cmath>
#include <set>

#include "grid/core/ExtStringGrid.h"

namespace grid {

namespace {

// Export hook states the calculations report.
constexpr int esExportStart = 0, esExportDone = 2, esExportNextRow = 5;

// A calculation's rows after the -1 rule, and whether they count real rows (hidden ones included).
struct TCalcRange {
    int From = 0, To = -1;
    bool Real = false;
};

TCalcRange CalcRange(TExtStringGrid& g, int fromRow, int toRow, TExtStringGrid::TCalcRows rows)
{
    TCalcRange range{fromRow, toRow, false};
    if (fromRow == -1 || toRow == -1) {
        range.From = g.FixedRows();
        range.To = g.RowCount() - 1 - g.FixedFooters;
    }
    switch (rows) {
    case TExtStringGrid::crDisplay: range.Real = false; break;
    case TExtStringGrid::crReal: range.Real = true; break;
    case TExtStringGrid::crAuto:
        range.Real = g.FloatingFooter.Visible() ? range.To > g.RowCount() - 1 : range.To > g.RowCount();
        break;
    }
    return range;
}

// The rows of the range that lie in the grid.
int LastRow(TExtStringGrid& g, const TCalcRange& range)
{
    return std::min(range.To, (range.Real ? g.TotalRowCount() : g.RowCount()) - 1);
}

double ReadFloat(TExtStringGrid& g, int c, int r, bool real) { return real ? g.GetAllFloats(c, r) : g.GetFloats(c, r); }

// Whether a row takes part in a sum, minimum or maximum: group header and summary rows do not
// while the grid is grouped, and a cell covered by another's merged area does not.
bool TakesPart(TExtStringGrid& g, int c, int r, bool real)
{
    const int d = real ? g.DisplRowIndex(r) : r;
    const bool hidden = real && g.IsHiddenRow(r);
    if (!hidden && g.GroupColumn() != -1 && (g.IsNode(d) || g.IsSummary(d)))
        return false;
    return hidden || g.IsBaseCell(c, d);
}

enum TFold { fSum, fMin, fMax };

double Fold(TExtStringGrid& g, int c, int fromRow, int toRow, TExtStringGrid::TCalcRows rows, TFold fold)
{
    const TCalcRange range = CalcRange(g, fromRow, toRow, rows);
    g.ExportNotification(esExportStart, range.From);
    double result = fold == fSum ? 0.0 : ReadFloat(g, c, range.From, range.Real);
    const int last = LastRow(g, range);
    for (int r = std::max(range.From, 0); r <= last; ++r) {
        if (!TakesPart(g, c, r, range.Real))
            continue;
        g.ExportNotification(esExportNextRow, r);
        double v = 0;
        try {
            v = ReadFloat(g, c, r, range.Real);
        } catch (const EExtGridError&) {
            continue;
        }
        if (fold == fSum)
            result += v;
        else if (fold == fMin ? v < result : v > result)
            result = v;
    }
    g.ExportNotification(esExportDone, -1);
    return result;
}

}  // namespace

double TExtStringGrid::ColumnSum(int c, int fromRow, int toRow, TCalcRows rows)
{
    return Fold(*this, c, fromRow, toRow, rows, fSum);
}

double TExtStringGrid::ColumnMin(int c, int fromRow, int toRow, TCalcRows rows)
{
    return Fold(*this, c, fromRow, toRow, rows, fMin);
}

double TExtStringGrid::ColumnMax(int c, int fromRow, int toRow, TCalcRows rows)
{
    return Fold(*this, c, fromRow, toRow, rows, fMax);
}

double TExtStringGrid::ColumnAvg(int c, int fromRow, int toRow, TCalcRows rows)
{
    const TCalcRange range = CalcRange(*this, fromRow, toRow, rows);
    const int count = range.To - range.From + 1;
    if (count <= 0)
        return 0;
    // Every row of the range counts in the divisor, skipped ones included.
    return ColumnSum(c, range.From, range.To, range.Real ? crReal : crDisplay) / count;
}

double TExtStringGrid::ColumnStdDev(int c, int fromRow, int toRow, TCalcRows rows)
{
    const TCalcRange range = CalcRange(*this, fromRow, toRow, rows);
    const TCalcRows kind = range.Real ? crReal : crDisplay;
    const int count = range.To - range.From + 1;
    ExportNotification(esExportStart, range.From);
    double result = 0;
    if (count > 0) {
        const double average = ColumnAvg(c, range.From, range.To, kind);
        double squares = 0;
        for (int r = range.From; r <= range.To; ++r) {
            const double d = ReadFloat(*this, c, r, range.Real) - average;
            squares += d * d;
        }
        result = std::sqrt(squares / count);
    }
    ExportNotification(esExportDone, -1);
    return result;
}

double TExtStringGrid::ColumnDistinct(int c, int fromRow, int toRow, TCalcRows rows)
{
    const TCalcRange range = CalcRange(*this, fromRow, toRow, rows);
    ExportNotification(esExportStart, range.From);
    std::set<QString> seen;
    const int last = LastRow(*this, range);
    for (int r = std::max(range.From, 0); r <= last; ++r) {
        ExportNotification(esExportNextRow, r);
        seen.insert((range.Real ? GetCellsEx(c, r) : Cells(c, r)).toCaseFolded());
    }
    ExportNotification(esExportDone, -1);
    return double(seen.size());
}

double TExtStringGrid::ColumnCustomCalc(int c, int fromRow, int toRow)
{
    double result = 0;
    if (OnColumnCalc)
        OnColumnCalc(this, c, fromRow, toRow, result);
    return result;
}

double TExtStringGrid::GroupCustomCalc(int c, int fromRow, int toRow)
{
    double result = 0;
    if (OnGroupCalc)
        OnGroupCalc(this, c, fromRow, toRow, result);
    return result;
}

bool TExtStringGrid::IsSelected(int c, int r)
{
    if (r < FixedRows() || c < FixedCols())
        return false;
    if (MouseActions.DisjunctCellSelect())
        return IsDisjunctCellSelected(c, r);
    if (MouseActions.DisjunctRowSelect()) {
        const int k = MouseActions.RowSelectPersistent ? DisplToRealRow(r) : r;
        return k >= 0 && size_t(k) < FRowSelect.size() && FRowSelect[size_t(k)];
    }
    if (MouseActions.DisjunctColSelect())
        return size_t(c) < FColSelect.size() && FColSelect[size_t(c)];
    const TGridRect& s = Selection();
    return s.Left <= c && c <= s.Right && s.Top <= r && r <= s.Bottom;
}

}  // namespace grid
