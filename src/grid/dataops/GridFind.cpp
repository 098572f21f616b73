#include "grid/dataops/GridFind.h"

#include <QLocale>
#include <algorithm>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridTextUtils.h"
#include "grid/editing/InplaceEdit.h"

namespace grid::dataops {

QString FindUpper(const QString& text)
{
    const QLocale locale;
    for (QChar c : text)
        if (c.unicode() >= 128)
            return locale.toUpper(text);
    // ASCII letters: only the Turkic locales upper-case "i" differently.
    const QLocale::Language l = locale.language();
    return l == QLocale::Turkish || l == QLocale::Azerbaijani ? locale.toUpper(text) : text.toUpper();
}

namespace {

enum TExportState { esStart = 0, esDone = 2, esRow = 5 };

// The bounds of a walk, both ends inclusive.
struct TWalkBounds {
    int MinC = 0, MaxC = -1, MinR = 0, MaxR = -1;
};

}  // namespace

bool TGridFind::MatchFindCell(int c, int r, bool wide)
{
    if (!Has(fnIncludeHiddenColumns))
        c = Grid.DisplToRealCol(c);
    QString text = Has(fnIncludeHiddenRows) ? Grid.GetCellsEx(c, r) : Grid.Cells(c, r);
    if (wide)
        text = DecodeWideText(text);
    else if (Has(fnIgnoreHTMLTags))
        text = editing::StripCellHtml(text);
    if (!Has(fnMatchCase))
        text = FindUpper(text);
    if (SearchCache == QStringLiteral("\"\""))
        return text.isEmpty();
    if (Has(fnMatchRegular)) {
        // Expressions test the cell's plain text, also in a wide search.
        if (wide) {
            text = Has(fnIncludeHiddenRows) ? Grid.GetCellsEx(c, r) : Grid.Cells(c, r);
            if (Has(fnIgnoreHTMLTags))
                text = editing::StripCellHtml(text);
            if (!Has(fnMatchCase))
                text = FindUpper(text);
        }
        return FRegular.Match(text);
    }
    const qsizetype p = text.indexOf(SearchCache);
    const bool startOk = Has(fnMatchStart) ? p == 0 : p >= 0;
    const bool fullOk = !Has(fnMatchFull) || text == SearchCache;
    return startOk && fullOk;
}

TPoint TGridFind::DoFind(TPoint start, const QString& s, TFindParams params, bool wide)
{
    FindParams = params;
    SearchCache = Has(fnMatchCase) ? s : FindUpper(s);
    if (Has(fnMatchRegular))
        FRegular = TFilterExpr(SearchCache, Has(fnMatchCase));

    TExtStringGrid& g = Grid;
    if (g.ColCount() == g.GetFixedCols() || g.ColCount() == 0 || g.RowCount() + g.NumHiddenRows() == g.GetFixedRows() ||
        g.RowCount() == 0)
        return NoCell;

    TWalkBounds b;
    if (Has(fnIncludeFixed)) {
        b = {0, g.ColCount() - 1, 0, g.RowCount() - 1};
    } else {
        b = {g.GetFixedCols(), g.ColCount() - g.FixedRightCols - 1, g.GetFixedRows(), g.RowCount() - g.FixedFooters - 1};
    }
    if (Has(fnSelectedCells)) {
        const TGridRect sel = g.Selection();
        b = {std::min(sel.Left, sel.Right), std::max(sel.Left, sel.Right), std::min(sel.Top, sel.Bottom),
             std::max(sel.Top, sel.Bottom)};
    }
    if (Has(fnIncludeHiddenColumns))
        b.MaxC += g.NumHiddenColumns();
    if (Has(fnIncludeHiddenRows))
        b.MaxR += g.NumHiddenRows();

    const bool backward = Has(fnBackward);
    const bool byRow = Has(fnDirectionLeftRight);
    int c = 0, r = 0;
    if (start == NoCell) {
        c = backward ? b.MaxC : b.MinC;
        r = backward ? b.MaxR : b.MinR;
    } else if (byRow) {
        // The cell after start; past the bounds the walk ends at once, unless start lay beyond
        // them altogether: then it begins again at the first cell.
        if (!backward) {
            if (start.X <= b.MaxC)
                c = start.X + 1, r = start.Y;
            else if (start.Y <= b.MaxR)
                c = b.MinC, r = start.Y + 1;
            else
                c = b.MinC, r = b.MinR;
        } else {
            if (start.X >= b.MinC)
                c = start.X - 1, r = start.Y;
            else if (start.Y >= b.MinR)
                c = b.MaxC, r = start.Y - 1;
            else
                c = b.MaxC, r = b.MaxR;
        }
    } else {
        if (!backward) {
            if (start.Y <= b.MaxR)
                r = start.Y + 1, c = start.X;
            else if (start.X <= b.MaxC)
                r = b.MinR, c = start.X + 1;
            else
                c = b.MinC, r = b.MinR;
        } else {
            if (start.Y >= b.MinR)
                r = start.Y - 1, c = start.X;
            else if (start.X >= b.MinC)
                r = b.MaxR, c = start.X - 1;
            else
                c = b.MaxC, r = b.MaxR;
        }
    }
    if (Has(fnFindInCurrentRow))
        r = b.MinR = b.MaxR = g.Row();
    if (Has(fnFindInPresetRow))
        r = b.MinR = b.MaxR = FindRow;
    if (Has(fnFindInCurrentCol))
        c = b.MinC = b.MaxC = g.Col();
    if (Has(fnFindInPresetCol))
        c = b.MinC = b.MaxC = FindCol;

    const int step = backward ? -1 : 1;
    auto test = [&](int tc, int tr) {
        g.ExportNotification(esRow, tr);
        return MatchFindCell(tc, tr, wide);
    };
    TPoint found = NoCell;
    if (byRow) {
        const int restart = Has(fnFindInCurrentCol) ? g.Col() : backward ? b.MaxC : b.MinC;
        for (; found == NoCell && r >= b.MinR && r <= b.MaxR; r += step, c = restart)
            for (; c >= b.MinC && c <= b.MaxC; c += step)
                if (!g.IsIgnoredColumn(c) && test(c, r)) {
                    found = {c, r};
                    break;
                }
    } else {
        const int restart = Has(fnFindInCurrentRow) ? g.Row() : backward ? b.MaxR : b.MinR;
        for (; found == NoCell && c >= b.MinC && c <= b.MaxC; c += step, r = restart)
            for (; r >= b.MinR && r <= b.MaxR; r += step)
                if (test(c, r)) {
                    found = {c, r};
                    break;
                }
    }
    if (found == NoCell)
        return NoCell;
    SearchCell = found;
    if (Has(fnAutoGoto))
        GotoFound(found);
    return found;
}

void TGridFind::GotoFound(TPoint cell)
{
    TExtStringGrid& g = Grid;
    int row = cell.Y;
    if (Has(fnIncludeHiddenRows)) {
        // A hidden row under a contracted node: open the node that covers it (the shown row just
        // above it), and the one inside that, until the row shows.
        if (g.HasNodes())
            for (int depth = 0; depth < 64 && g.NumHiddenRows() > 0 && g.IsHiddenRow(row); ++depth) {
                const int d = g.RealToDisplRow(row) - 1;
                if (d < g.GetFixedRows() || !g.IsNode(d) || !g.GetNodeState(d))
                    break;
                const int header = g.DisplToRealRow(d);
                if (header + std::max(g.GetNodeSpan(d), 1) - 1 < row)
                    break;
                g.ExpandNode(header);
            }
        row = g.RealToDisplRow(row);
    }
    const int col = Has(fnIncludeHiddenColumns) ? g.RealToDisplCol(cell.X) : cell.X;
    if (row < 0 || row >= g.RowCount())
        return;
    if (g.MouseActions.DisjunctRowSelect()) {
        g.ClearRowSelect();
        g.SetRowSelect(row, true);
        g.SetRow(row);
    } else {
        g.SetRow(row);
        if (col >= 0 && col < g.ColCount())
            g.SetCol(col);
    }
}

TPoint TGridFind::Find(TPoint start, const QString& s, TFindParams params)
{
    Grid.ExportNotification(esStart, 0);
    const TPoint found = DoFind(start, s, params, false);
    Grid.ExportNotification(esDone, 0);
    if (params & FindFlag(fnAutoGoto)) {
        TExtStringGrid& g = Grid;
        const int f = g.FloatingFooter.Visible() ? 2 : 0;
        if (g.TopRow() + g.VisibleRowCount() - 2 - f < g.Row() && g.VisibleRowCount() + g.GetFixedRows() + f < g.RowCount())
            g.SetTopRow(g.TopRow() + f + 1);
    }
    return found;
}

TPoint TGridFind::FindWide(TPoint start, const QString& s, TFindParams params)
{
    Grid.ExportNotification(esStart, 0);
    const TPoint found = DoFind(start, s, params, true);
    Grid.ExportNotification(esDone, 0);
    return found;
}

TPoint TGridFind::FindFirst(const QString& s, TFindParams params)
{
    SearchCell = Find(NoCell, s, params);
    return SearchCell;
}

TPoint TGridFind::FindNext()
{
    // The search text as the last find took it: matching case keeps it as typed.
    SearchCell = Find(SearchCell, SearchCache, FindParams);
    return SearchCell;
}

int TGridFind::Replace(const QString& orig, const QString& repl, TFindParams params)
{
    TExtStringGrid& g = Grid;
    int count = 0;
    SearchCell = NoCell;
    for (;;) {
        const TPoint cell = Find(SearchCell, orig, params);
        SearchCell = cell;
        if (cell == NoCell)
            break;
        const int c = params & FindFlag(fnIncludeHiddenColumns) ? cell.X : g.DisplToRealCol(cell.X);
        if (params & FindFlag(fnIncludeHiddenRows)) {
            QString text = g.GetCellsEx(c, cell.Y);
            g.SetCellsEx(c, cell.Y, text.replace(orig, repl, Qt::CaseInsensitive));
        } else {
            QString text = g.Cells(c, cell.Y);
            g.SetCells(c, cell.Y, text.replace(orig, repl, Qt::CaseInsensitive));
            if (g.ShowModified.Enabled)
                g.SetRowModified(cell.Y, true);
        }
        ++count;
    }
    return count;
}

int TGridFind::Search(const QString& upperText)
{
    TExtStringGrid& g = Grid;
    if (g.RowCount() < 2)
        return -1;
    int col = g.GetFixedCols();
    if (g.SortSettings.Show) {
        if (!g.SortSettings.IndexShow)
            col = g.SortSettings.Column;
        else if (g.SortIndexes.Count() > 0)
            col = g.SortIndexes.GetSortColumns(0);
    }
    if (col < 0)
        return -1;
    for (int r = g.GetFixedRows(); r < g.RowCount(); ++r)
        if (FindUpper(editing::StripCellHtml(g.Cells(col, r)).left(upperText.size())) == upperText)
            return r;
    return -1;
}

}  // namespace grid::dataops
