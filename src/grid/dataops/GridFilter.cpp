#include "grid/dataops/GridFilter.h"

#include <QLocale>
#include <cmath>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridTextUtils.h"
#include "grid/dataops/GridFind.h"
#include "grid/editing/InplaceEdit.h"

namespace grid::dataops {

TGridFilter::TGridFilter(TExtStringGrid& grid) : Grid(grid), Filter(grid.Filter) {}

void SplitFilterEntry(const QString& entry, QString& friendlyName, QString& condition)
{
    const qsizetype p = entry.indexOf('=');
    friendlyName = p >= 0 ? entry.left(p) : entry;
    condition = p >= 0 ? entry.mid(p + 1) : entry;
}

// Conditions

TFilterMatcher::TFilterMatcher(TExtStringGrid& grid, const TFilter& filter) : FGrid(grid)
{
    FConditions.reserve(size_t(filter.Count()));
    for (int i = 0; i < filter.Count(); ++i) {
        const TFilterData& d = *filter.Items(i);
        TCondition c;
        c.Data.Assign(&d);
        c.Data.Method = d.Method;
        if (d.Data == fcRow)
            c.UpperCondition = FindUpper(d.Condition);
        else if (d.Method == fmExpression && !d.Condition.isEmpty())
            c.Expr = TFilterExpr(d.Condition, d.CaseSensitive);
        FConditions.push_back(std::move(c));
    }
}

QString TFilterMatcher::CellText(const TCondition& c, int r) const
{
    const int col = c.Data.Column;
    switch (c.Data.Data) {
    case fcVirtual:
        return FGrid.Cells(col, r);
    case fcNormal:
        return FGrid.GetGridCell(col, r);
    case fcStripHTML:
        return editing::StripCellHtml(FGrid.Cells(col, r));
    case fcCalculated: {
        QString value;
        FGrid.GetFilterCellText(col, r, value);
        return value;
    }
    case fcRow: {
        QString row;
        for (int k = 0; k < FGrid.AllColCount(); ++k)
            row += FGrid.Cells(k, r) + QStringLiteral("\r\n");
        return row;
    }
    }
    return {};
}

bool TFilterMatcher::Match(int r) const
{
    bool result = true;
    for (const TCondition& c : FConditions) {
        bool match = false;
        const TFilterData& d = c.Data;
        if (d.Data == fcRow) {
            match = FindUpper(CellText(c, r)).contains(c.UpperCondition);
        } else {
            QString text = CellText(c, r).trimmed();
            if (text.contains(QStringLiteral("|\\")))
                text = DecodeWideText(text);
            if (!d.Prefix.isEmpty() && text.startsWith(d.Prefix))
                text.remove(0, d.Prefix.size());
            if (!d.Suffix.isEmpty()) {
                const qsizetype p = text.indexOf(d.Suffix);
                if (p >= 0 && p + d.Suffix.size() == text.size())
                    text.chop(d.Suffix.size());
            }
            if (d.Condition.isEmpty())
                match = true;
            else if (d.Method == fmExpression)
                match = c.Expr.Match(text);
            else
                match = d.Condition == text;
        }
        switch (d.Operation) {
        case foSHORT:
            result = match;
            if (!match)
                return result;
            break;
        case foNONE:
            result = match;
            break;
        case foAND:
            result = result && match;
            break;
        case foXOR:
            result = result != match;
            break;
        case foOR:
            result = result || match;
            break;
        }
    }
    return result;
}

// Filter levels

bool TGridFilter::Accept(const TFilterMatcher& matcher, int r)
{
    bool accept = matcher.Match(r);
    if (OnCustomFilter)
        OnCustomFilter(&Grid, r, accept);
    return accept;
}

bool TGridFilter::MatchFilterRow(int r) { return Accept(TFilterMatcher(Grid, Filter), r); }

void TGridFilter::FilterRow(int r)
{
    if (!MatchFilterRow(r))
        Grid.HideRow(Grid.DisplToRealRow(r));
}

void TGridFilter::ApplyFilter()
{
    TExtStringGrid& g = Grid;
    FFilterFixedRows = g.GetFixedRows();
    const int first = g.GetFixedRows(), last = g.RowCount() - g.FixedFooters - 1;
    const int total = last - first + 1;
    const TFilterMatcher matcher(g, Filter);
    std::vector<int> hide;
    int progress = 0;
    for (int r = first, n = 1; r <= last; ++r, ++n) {
        if (!g.FilterNormalCellsOnly || (!g.IsNode(r) && !g.IsSummary(r)))
            if (!Accept(matcher, r))
                hide.push_back(r);
        if (OnFilterProgress && total > 0) {
            progress = int(std::lround(double(n) / total * 100));
            OnFilterProgress(&g, progress);
        }
    }
    // An empty level is a level too: removing it later must find it.
    if (hide.empty())
        g.SetFilterLevel(g.FilterLevel() + 1);
    else
        g.HideRowList(hide);
    if (OnFilterProgress)
        OnFilterProgress(&g, progress);
}

void TGridFilter::SetFilterActive(bool value)
{
    TExtStringGrid& g = Grid;
    if (value != FFilterActive) {
        FFilterActive = value;
        if (value) {
            if (g.Row() >= g.RowCount() || g.Col() >= g.ColCount())
                g.MoveColRow(g.GetFixedCols(), g.GetFixedRows());
            g.BeginUpdate();
            struct TEnd {
                TExtStringGrid& G;
                ~TEnd() { G.EndUpdate(); }
            } end{g};
            ApplyFilter();
            g.SetSelectionHidden(false);
        } else {
            g.UnHideRowList();
            if (FFilterFixedRows >= 0)
                g.SetFixedRows(FFilterFixedRows);
            if (g.SelectionHidden())
                g.UnHideSelection();
        }
        if (g.GetFixedRows() < g.RowCount())
            g.SetTopRow(g.GetFixedRows());
    }
    g.CalcFooter(-1);
}

bool TGridFilter::RemoveLastFilter()
{
    TExtStringGrid& g = Grid;
    const int level = g.FilterLevel();
    if (level <= 0)
        return false;
    g.UnHideRowList();
    if (FFilterFixedRows >= 0)
        g.SetFixedRows(FFilterFixedRows);
    if (g.SelectionHidden())
        g.UnHideSelection();
    g.CalcFooter(-1);
    g.SetFilterLevel(level - 1);
    return level > 1;
}

void TGridFilter::RemoveAllFilters()
{
    // The narrowing steps one level from the last condition; with the levels gone it starts afresh.
    FLastFilter.clear();
    if (Grid.FilterLevel() > 0) {
        while (Grid.FilterLevel() > 0)
            RemoveLastFilter();
    } else {
        Filter.Clear();
    }
}

void TGridFilter::AddNarrowCondition(const QString& condition, int column)
{
    Filter.Clear();
    TFilterData& d = *Filter.Add();
    if (column == -1) {
        d.Data = fcRow;
        d.Condition = condition;
    } else {
        d.Data = fcNormal;
        // Quotes keep blanks and operator characters part of the searched text.
        d.Condition = FilterTextCondition(QStringLiteral("*") + condition + QStringLiteral("*"));
    }
    d.CaseSensitive = false;
    d.Column = int16_t(column);
}

void TGridFilter::NarrowDown(const QString& condition, int column)
{
    Grid.FixedRowAlways = true;
    const QString& last = FLastFilter;
    if (!last.isEmpty() && condition.size() == last.size() + 1 && condition.startsWith(last)) {
        AddNarrowCondition(condition, column);
        ApplyFilter();
    } else if (last.size() == condition.size() + 1 && !condition.isEmpty() && last.startsWith(condition)) {
        RemoveLastFilter();
    } else {
        RemoveAllFilters();
        if (!condition.isEmpty()) {
            AddNarrowCondition(condition, column);
            ApplyFilter();
        }
    }
    // The levels are gone with an empty text; rows hidden one by one stay hidden and can still be
    // shown again.
    FLastFilter = condition;
}

// Value lists

void TGridFilter::FilterSelect(int itemIndex)
{
    TExtStringGrid& g = Grid;
    g.SetFocus();
    const int col = FilterCol;
    if (col < 0 || col >= g.AllColCount() || itemIndex < 0 || itemIndex >= g.FilterList.size()) {
        FilterCol = -1;
        return;
    }
    g.GetColumnFilter(col);
    if (itemIndex >= g.FilterList.size()) {
        FilterCol = -1;
        return;
    }
    QString friendly, condition;
    SplitFilterEntry(g.FilterList.at(itemIndex), friendly, condition);
    if (g.AutoFilterUpdate)
        SetFilterActive(false);
    if (condition == g.FilterDropDownClear)
        condition.clear();
    if (OnFilterSelect)
        OnFilterSelect(&g, col, itemIndex, friendly, condition);
    if (!condition.isEmpty())
        Filter.GetColFilter(col)->Condition = condition;
    else
        Filter.RemoveColumnFilter(col);
    if (g.AutoFilterUpdate) {
        g.FixedRowAlways = true;
        SetFilterActive(true);
        if (g.RowCount() != g.GetFixedRows() && g.RowCount() != 1)
            g.SetRow(g.GetFixedRows());
        g.FilterDone();
    }
    FilterCol = -1;
}

void TGridFilter::FilterCheck(const std::vector<int>& checked)
{
    TExtStringGrid& g = Grid;
    const int col = FilterCol;
    if (col < 0 || col >= g.AllColCount())
        return;
    g.GetColumnFilter(col);
    if (g.AutoFilterUpdate)
        SetFilterActive(false);
    Filter.Clear();
    for (int index : checked) {
        if (index < 0 || index >= g.FilterList.size())
            continue;
        QString friendly, condition;
        SplitFilterEntry(g.FilterList.at(index), friendly, condition);
        if (condition == g.FilterDropDownClear)
            condition.clear();
        if (OnFilterCheck)
            OnFilterCheck(&g, col, index, friendly, condition, checked);
        TFilterData& d = *Filter.Add();
        d.Column = int16_t(col);
        d.Condition = condition;
        d.Operation = Filter.Count() == 1 ? foNONE : foOR;
    }
    // Whatever AutoFilterUpdate says: a check list shows its effect at once.
    SetFilterActive(true);
    FilterCol = col;
}

}  // namespace grid::dataops
