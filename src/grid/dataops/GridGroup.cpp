#include "grid/dataops/GridGroup.h"

#include <algorithm>
#include <vector>

namespace grid::dataops {

namespace {

// Ends the update block and the grouping flag on every path out.
struct TGroupingScope {
    explicit TGroupingScope(TExtStringGrid& grid) : G(grid)
    {
        G.BeginUpdate();
        G.Grouped.IsGrouping = true;
    }
    ~TGroupingScope()
    {
        G.Grouped.IsGrouping = false;
        G.EndUpdate();
    }
    TExtStringGrid& G;
};

}  // namespace

void TGridGrouping::ColourRow(int r, TColor color, TColor colorTo, TColor text)
{
    if (color != clNone)
        Grid.SetRowColor(r, color);
    if (colorTo != clNone)
        Grid.SetRowColorTo(r, colorTo);
    if (text != clNone)
        Grid.SetRowFontColor(r, text);
}

void TGridGrouping::ResetRowColours(int r, TColor color, TColor colorTo)
{
    if (color != clNone)
        Grid.SetRowColor(r, clNone);
    if (colorTo != clNone)
        Grid.SetRowColorTo(r, clNone);
}

void TGridGrouping::Group(int colIndex)
{
    TExtStringGrid& g = Grid;
    if (colIndex < g.FixedCols())
        return;
    if (g.GroupColumn() != -1)
        g.UnGroup();
    if (g.RowCount() - g.GetFixedRows() < 1)
        return;
    const TGrouping& look = g.Grouping;
    {
        TGroupingScope scope(g);
        g.Grouped.Column = colIndex;
        g.Grouped.Width = g.ColWidths(g.RealToDisplCol(colIndex));
        g.Grouped.Caption = g.GetFixedRows() > 0 ? g.GetGridCell(colIndex, 0) : QString();
        g.Grouped.Footer = g.FixedFooters > 0 ? g.GetGridCell(colIndex, g.RowCount() - 1) : QString();
        if (g.SortSettings.AutoSortForGrouping) {
            g.SortSettings.Column = colIndex;
            g.QSort();
        }
        const int textCol = colIndex == 1 ? 2 : 1;
        const int first = g.GetFixedRows(), last = g.RowCount() - 1 - g.FixedFooters;

        // The runs of equal stored values, by their first row.
        std::vector<int> starts;
        std::vector<QString> values;
        for (int r = first; r <= last; ++r) {
            const QString& v = g.GetGridCell(colIndex, r);
            if (starts.empty() || v != values.back()) {
                starts.push_back(r);
                values.push_back(v);
            }
        }
        const bool summary = look.Summary;
        // A header before each run; with Summary a summary row after each run (before the next
        // header, or after the last run).
        std::vector<int> before;
        for (size_t i = 0; i < starts.size(); ++i) {
            if (summary && i > 0)
                before.push_back(starts[i]);
            before.push_back(starts[i]);
        }
        if (summary && !starts.empty())
            before.push_back(last + 1);
        g.InsertRowsBefore(before);

        // Place the headers, nodes, summaries and colours in the new rows.
        int r = first;
        int firstNode = -1;
        for (size_t i = 0; i < starts.size(); ++i) {
            const int size = (i + 1 < starts.size() ? starts[i + 1] : last + 1) - starts[i];
            const int header = r;
            g.SetCells(textCol, header, values[i]);
            if (!look.MergeHeader)
                ColourRow(header, look.HeaderColor, look.HeaderColorTo, look.HeaderTextColor);
            g.AddNode(g.DisplToRealRow(header), size + 1);
            if (firstNode < 0)
                firstNode = g.DisplToRealRow(header);
            r = header + size + 1;
            if (summary) {
                g.MarkSummaryRow(g.DisplToRealRow(r));
                if (!look.MergeSummary)
                    ColourRow(r, look.SummaryColor, look.SummaryColorTo, look.SummaryTextColor);
                ++r;
            }
        }
        g.ParkHiddenRowsColumn(colIndex);
        g.RemoveCols(colIndex, 1);

        if (look.MergeHeader || (look.MergeSummary && summary)) {
            const int span = g.ColCount() - 1;
            for (int row = g.GetFixedRows(); row < g.RowCount(); ++row) {
                if (look.MergeHeader && g.IsNode(row)) {
                    g.MergeCells(1, row, span, 1);
                    ColourCell(row, look.HeaderColor, look.HeaderColorTo, look.HeaderTextColor);
                }
                if (look.MergeSummary && summary && g.IsSummary(row)) {
                    g.MergeCells(1, row, span, 1);
                    ColourCell(row, look.SummaryColor, look.SummaryColorTo, look.SummaryTextColor);
                }
            }
        }
        if (g.CellNode.ExpandOne && firstNode >= 0)
            g.ExpandNode(firstNode);
        if (g.Col() >= g.ColCount() || g.Row() >= g.RowCount())
            g.MoveColRow(g.FixedCols(), g.GetFixedRows());
        if (g.GetFixedRows() < g.RowCount())
            g.SetRow(g.GetFixedRows());
    }
}

void TGridGrouping::ColourCell(int r, TColor color, TColor colorTo, TColor text, int c)
{
    if (color != clNone)
        Grid.SetColors(c, r, color);
    if (colorTo != clNone)
        Grid.SetColorsTo(c, r, colorTo);
    if (text != clNone)
        Grid.SetFontColors(c, r, text);
}

namespace {

struct TGroupUpdateScope {
    explicit TGroupUpdateScope(TExtStringGrid& grid) : G(grid) { G.BeginUpdate(); }
    ~TGroupUpdateScope() { G.EndUpdate(); }
    TExtStringGrid& G;
};

// The node graphic of a sub-group header records the column it was made for.
void RecordSubGroupColumn(TExtStringGrid& g, int r, int colIndex)
{
    if (TCellProperties* p = g.CellProps(0, r); p && p->Graphic && p->Graphic->CellType == ctNode) {
        p->Graphic->CellValue = colIndex;
        p->Graphic->CellVar = colIndex;
    }
}

bool IsSubGroupNodeOf(TExtStringGrid& g, int r, int colIndex)
{
    const TCellProperties* p = g.CellProps(0, r);
    return p && p->Graphic && p->Graphic->CellType == ctNode && p->Graphic->CellVar.isValid() &&
           p->Graphic->CellVar.toInt() == colIndex && int(p->Graphic->CellValue) == colIndex;
}

}  // namespace

void TGridGrouping::SubGroup(int colIndex)
{
    TExtStringGrid& g = Grid;
    if (colIndex < g.FixedCols())
        return;
    const TGrouping& look = g.Grouping;
    g.ExpandAll();
    TGroupUpdateScope scope(g);
    g.Grouped.Column = colIndex;
    g.Grouped.Width = g.ColWidths(g.RealToDisplCol(colIndex));
    g.Grouped.Caption = g.GetFixedRows() > 0 ? g.Cells(colIndex, 0) : QString();
    g.Grouped.Footer = g.FixedFooters > 0 ? g.Cells(colIndex, g.RowCount() - 1) : QString();
    const int textCol = colIndex + 1;
    const int first = g.GetFixedRows(), end = g.RowCount() - g.FixedFooters;

    // The runs of equal values between node and summary rows, in the rows as they stand.
    struct TRun {
        int Start, End;  // data rows Start .. End - 1
        QString Value;
    };
    std::vector<TRun> runs;
    enum { kNone, kRun, kNode, kSummary } last = kNone;
    QString prev;
    bool restart = true;
    for (int r = first + 1; r < end; ++r) {
        const bool node = g.IsNode(r), summary = !node && g.IsSummary(r);
        const QString v = g.Cells(colIndex, r);
        if (!node && !summary && !restart && v == prev)
            continue;
        if (last == kRun)
            runs.back().End = r;
        if (node || summary) {
            restart = true;
            last = node ? kNode : kSummary;
            continue;
        }
        runs.push_back({r, end, v});
        prev = v;
        restart = false;
        last = kRun;
    }
    if (last == kNone && first < end && !g.IsNode(first) && !g.IsSummary(first)) {
        runs.push_back({first, first + 1, g.Cells(colIndex, first)});
        last = kRun;
    }
    const bool addSummary = look.Summary && last != kSummary;

    // Node rows and the node levels of the runs before the rows move.
    std::vector<std::pair<int, int>> nodes;  // row, span
    std::vector<int> cover(size_t(std::max(end, 0)) + 1, 0);
    for (int r = first; r < end; ++r)
        if (g.IsNode(r)) {
            const int span = std::max(g.GetNodeSpan(r), 1);
            nodes.emplace_back(r, span);
            ++cover[size_t(r)];
            --cover[size_t(std::min(r + span, end))];
        }
    std::vector<int> levelAt(cover.size(), 0);
    for (size_t i = 0, sum = 0; i < cover.size(); ++i)
        levelAt[i] = int(sum += size_t(cover[i]));

    std::vector<int> before;
    for (const TRun& run : runs)
        before.push_back(run.Start);
    const int summaryAt = end + int(runs.size());
    if (addSummary)
        before.push_back(end);
    g.InsertRowsBefore(before);

    // Enclosing nodes take in the headers inserted inside them.
    auto insertedUpTo = [&](int row) {  // headers inserted before rows up to row (old index)
        return int(std::upper_bound(before.begin(), before.begin() + long(runs.size()), row) - before.begin());
    };
    for (const auto& [r, span] : nodes) {
        const int added = insertedUpTo(r + span - 1) - insertedUpTo(r);
        const int at = r + insertedUpTo(r);
        if (added > 0) {
            g.SetNodeSpan(at, span + added);
            g.UpdateSubNodeCount(at, added);
        }
    }
    const int merged = g.ColCount() - textCol;
    for (size_t k = 0; k < runs.size(); ++k) {
        const TRun& run = runs[k];
        const int header = run.Start + int(k);
        const int level = levelAt[size_t(run.Start)];
        g.AddNode(g.DisplToRealRow(header), run.End - run.Start + 1);
        if (TCellProperties* p = g.CellProps(0, header))
            p->NodeLevel = level + 1;
        RecordSubGroupColumn(g, header, colIndex);
        g.SetCells(textCol, header, run.Value);
        g.SetCells(colIndex, header + 1, QString());
        if (look.MergeHeader && merged > 1) {
            g.MergeCells(textCol, header, merged, 1);
            ColourCell(header, look.HeaderColor, look.HeaderColorTo, look.HeaderTextColor, textCol);
        } else {
            ColourRow(header, look.HeaderColor, look.HeaderColorTo, look.HeaderTextColor);
        }
    }
    if (addSummary) {
        g.MarkSummaryRow(g.DisplToRealRow(summaryAt));
        if (look.MergeSummary && merged > 1) {
            g.MergeCells(textCol, summaryAt, merged, 1);
            ColourCell(summaryAt, look.SummaryColor, look.SummaryColorTo, look.SummaryTextColor, textCol);
        } else {
            ColourRow(summaryAt, look.SummaryColor, look.SummaryColorTo, look.SummaryTextColor);
        }
    }
    if (g.GetFixedRows() < g.RowCount())
        g.SetRow(g.GetFixedRows());
}

void TGridGrouping::SubUnGroup(int colIndex)
{
    TExtStringGrid& g = Grid;
    const TGrouping& look = g.Grouping;
    g.ExpandAll();
    TGroupUpdateScope scope(g);
    const int first = g.GetFixedRows(), end = g.RowCount() - g.FixedFooters;
    std::vector<int> gone;
    QString value;
    int until = -1;  // last data row of the sub-group whose value is written back
    for (int r = first; r < end; ++r) {
        if (IsSubGroupNodeOf(g, r, colIndex)) {
            value = g.Cells(colIndex + 1, r);
            until = r + g.GetNodeSpan(r) - 1;
            g.RemoveNode(g.DisplToRealRow(r));
            if (look.MergeHeader && g.IsMergedCell(colIndex + 1, r))
                g.SplitCells(colIndex + 1, r);
            else
                ResetRowColours(r, look.HeaderColor, look.HeaderColorTo);
            gone.push_back(r);
        } else if (r <= until && !g.IsNode(r) && !g.IsSummary(r)) {
            g.SetCells(colIndex, r, value);
        }
    }
    if (gone.empty())
        return;
    // Enclosing nodes give up the headers that leave them.
    for (int r = first; r < end; ++r) {
        if (!g.IsNode(r))
            continue;
        const int span = g.GetNodeSpan(r);
        const auto lo = std::upper_bound(gone.begin(), gone.end(), r);
        const auto hi = std::upper_bound(gone.begin(), gone.end(), r + span - 1);
        if (const int n = int(hi - lo); n > 0) {
            g.SetNodeSpan(r, std::max(span - n, 1));
            g.UpdateSubNodeCount(r, -n);
        }
    }
    for (int r : gone)
        for (int c = 0; c < g.AllColCount(); ++c) {
            g.SetGridCell(c, r, QString());
            g.FreeCellProps(c, r);
        }
    g.DeleteRowList(gone);
}

void TGridGrouping::UnGroup()
{
    TExtStringGrid& g = Grid;
    const int col = g.Grouped.Column;
    if (col <= 0)
        return;
    const TGrouping& look = g.Grouping;
    const bool expandOne = g.CellNode.ExpandOne;
    g.CellNode.ExpandOne = false;
    g.ExpandAll();
    {
        TGroupingScope scope(g);
        g.InsertCols(col, 1);
        g.UnparkHiddenRowsColumn(col);
        g.SetColWidths(g.RealToDisplCol(col), g.Grouped.Width);
        if (g.GetFixedRows() > 0)
            g.SetCells(col, 0, g.Grouped.Caption);
        if (g.FixedFooters > 0)
            g.SetCells(col, g.RowCount() - 1, g.Grouped.Footer);
        const int textCol = col == 1 ? 2 : 1;
        const int last = g.RowCount() - 1 - g.FixedFooters;
        std::vector<int> gone;
        QString value;
        for (int r = g.GetFixedRows(); r <= last;) {
            if (!g.IsNode(r)) {
                if (!g.IsSummary(r))
                    g.SetCells(col, r, value);
                ++r;
                continue;
            }
            const int span = g.GetNodeSpan(r);
            value = g.Cells(textCol, r);
            g.RemoveNode(g.DisplToRealRow(r));
            g.FreeCellProps(0, r);
            if (look.MergeHeader)
                g.SplitCells(1, r);
            else
                ResetRowColours(r, look.HeaderColor, look.HeaderColorTo);
            gone.push_back(r);
            ++r;
            if (look.Summary) {
                const int s = r + span - 1;
                if (s <= last && g.IsSummary(s)) {
                    if (look.MergeSummary)
                        g.SplitCells(1, s);
                    else
                        ResetRowColours(s, look.SummaryColor, look.SummaryColorTo);
                    gone.push_back(s);
                }
            }
        }
        std::sort(gone.begin(), gone.end());
        gone.erase(std::unique(gone.begin(), gone.end()), gone.end());
        for (int r : gone)
            for (int c = 0; c < g.AllColCount(); ++c) {
                g.SetGridCell(c, r, QString());
                g.FreeCellProps(c, r);
            }
        g.DeleteRowList(gone);
        g.Grouped.Column = -1;
    }
    g.CellNode.ExpandOne = expandOne;
    g.Invalidate();
}

void TGridGrouping::GroupCalc(int colIndex, int method)
{
    TExtStringGrid& g = Grid;
    for (int r = g.GetFixedRows(); r < g.RowCount();) {
        if (!g.IsNode(r) || g.GetNodeState(r)) {
            ++r;
            continue;
        }
        const int span = g.GetNodeSpan(r);
        const int from = r + 1, to = r + span - 1;
        const int target = g.Grouping.Summary ? r + span : r;
        if (target < g.RowCount()) {
            switch (method) {
            case 1: g.SetFloats(colIndex, target, g.ColumnSum(colIndex, from, to, TExtStringGrid::crDisplay)); break;
            case 2: g.SetFloats(colIndex, target, g.ColumnAvg(colIndex, from, to, TExtStringGrid::crDisplay)); break;
            case 3: g.SetFloats(colIndex, target, g.ColumnMin(colIndex, from, to, TExtStringGrid::crDisplay)); break;
            case 4: g.SetFloats(colIndex, target, g.ColumnMax(colIndex, from, to, TExtStringGrid::crDisplay)); break;
            case 5: g.SetInts(colIndex, target, span - 1); break;
            case 6: {
                double res = 0;
                if (OnGroupCalc)
                    OnGroupCalc(&g, colIndex, from, to, res);
                g.SetFloats(colIndex, target, res);
                break;
            }
            case 7: g.SetFloats(colIndex, target, g.ColumnDistinct(colIndex, from, to, TExtStringGrid::crDisplay)); break;
            case 8: g.SetFloats(colIndex, target, g.ColumnStdDev(colIndex, from, to, TExtStringGrid::crDisplay)); break;
            default: break;
            }
        }
        r += std::max(span, 1);
    }
}

void TGridGrouping::FooterCalc(int colIndex, TColumnCalcType type)
{
    if (Grid.FloatingFooter.Visible())
        Grid.FloatingFooter.SetColumnCalc(colIndex, type);
}

void TGridGrouping::GroupSum(int colIndex)
{
    GroupCalc(colIndex, 1);
    FooterCalc(colIndex, acSUM);
}

void TGridGrouping::GroupAvg(int colIndex)
{
    GroupCalc(colIndex, 2);
    FooterCalc(colIndex, acAVG);
}

void TGridGrouping::GroupMin(int colIndex)
{
    GroupCalc(colIndex, 3);
    FooterCalc(colIndex, acMIN);
}

void TGridGrouping::GroupMax(int colIndex)
{
    GroupCalc(colIndex, 4);
    FooterCalc(colIndex, acMAX);
}

void TGridGrouping::GroupCount(int colIndex)
{
    GroupCalc(colIndex, 5);
    FooterCalc(colIndex, acCOUNT);
}

}  // namespace grid::dataops
