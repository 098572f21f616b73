#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "grid/core/GridDataSettings.h"
#include "grid/dataops/FilterExpr.h"

namespace grid {
class TExtStringGrid;
}

namespace grid::dataops {

// The conditions of a TFilter taken apart once, ready to test any number of rows.
class TFilterMatcher {
public:
    TFilterMatcher(TExtStringGrid& grid, const TFilter& filter);
    // Whether display row r passes every condition.
    bool Match(int r) const;

private:
    struct TCondition {
        TFilterData Data;
        TFilterExpr Expr;
        QString UpperCondition;  // for fcRow
    };
    QString CellText(const TCondition& c, int r) const;
    TExtStringGrid& FGrid;
    std::vector<TCondition> FConditions;
};

// Filtering of one grid: applying the conditions as filter levels, removing levels, the
// incremental narrow-down and the choices of the filter value lists.
class TGridFilter {
public:
    explicit TGridFilter(TExtStringGrid& grid);
    TExtStringGrid& Grid;
    TFilter& Filter;  // the grid's conditions

    // Whether display row r passes (the conditions, then OnCustomFilter).
    bool MatchFilterRow(int r);
    // Hides display row r when it does not pass.
    void FilterRow(int r);
    // One new filter level hiding every normal row that does not pass.
    void ApplyFilter();
    bool FilterActive() const { return FFilterActive; }
    void SetFilterActive(bool value);
    // Puts back the rows of the last level; true when levels are left after it.
    bool RemoveLastFilter();
    // Every level goes; with none applied the conditions are cleared instead.
    void RemoveAllFilters();
    // Incremental narrowing on a column (-1: the whole row): one level more or less per
    // character typed or taken away, a fresh start otherwise.
    void NarrowDown(const QString& condition, int column);
    // A choice in the single-choice value list, a change in the check list (checked: the
    // indexes checked, in list order).
    void FilterSelect(int itemIndex);
    void FilterCheck(const std::vector<int>& checked);

    int FilterCol = -1;  // real column whose value list is open
    int FilterFixedRows() const { return FFilterFixedRows; }
    const QString& LastFilter() const { return FLastFilter; }

    std::function<void(TExtStringGrid*, int row, bool& accept)> OnCustomFilter;
    std::function<void(TExtStringGrid*, int progress)> OnFilterProgress;
    std::function<void(TExtStringGrid*, int col, int itemIndex, const QString& friendlyName, QString& condition)>
        OnFilterSelect;
    std::function<void(TExtStringGrid*, int col, int itemIndex, const QString& friendlyName, QString& condition,
                       const std::vector<int>& checked)>
        OnFilterCheck;

private:
    bool Accept(const TFilterMatcher& matcher, int r);
    void AddNarrowCondition(const QString& condition, int column);
    bool FFilterActive = false;
    int FFilterFixedRows = -1;  // -1: no filter applied yet
    QString FLastFilter;
};

// A value-list entry: the friendly name before the first "=", the condition after it (each the
// whole entry when it holds no "=").
void SplitFilterEntry(const QString& entry, QString& friendlyName, QString& condition);

}  // namespace grid::dataops
