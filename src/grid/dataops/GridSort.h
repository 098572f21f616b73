#pragma once
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "grid/core/ExtStringGrid.h"

namespace grid::dataops {

// Sorting of a grid's normal rows by one column, by the sort-index list or inside each group, and
// the return to the order of the last cross-reference reset. Each cell's sort key (its style
// detected, numbers, dates and times converted) is computed once per sort; the new order is found
// by a stable merge sort and the rows move to it in one pass.
class TGridSorting {
public:
    explicit TGridSorting(TExtStringGrid& grid);
    ~TGridSorting();
    TGridSorting(const TGridSorting&) = delete;
    TGridSorting& operator=(const TGridSorting&) = delete;

    TExtStringGrid& Grid;

    template <typename... A>
    using Event = std::function<void(TExtStringGrid*, A...)>;
    Event<const QString&, const QString&, int&> OnCustomCompare;  // str1, str2, Res
    Event<int, int, int, int&> OnRawCompare;                      // ACol, Row1, Row2, Res
    Event<int, int> OnRowChanged;                                 // old row, new row

    void Sort(int column, TSortDirection direction);
    // Nothing unless the grid has more than one row.
    void SortByColumn(int col);
    void QSort();
    // Raises "No indexes specified for indexed sort" for an empty sort-index list.
    void QSortIndexed();
    void QSortGroup();
    void QSortGroupIndexed();
    void QUnSort();
    // Sort display rows left .. right by column col (SortSettings.Direction), or by the index list.
    void QuickSort(int col, int left, int right);
    void QuickSortIndexed(int left, int right);
    // Exchanges the rows when row 1 sorts after row 2 by col and the following columns.
    bool SortLine(int col, int row1, int row2);
    void SortSwapRows(int row1, int row2);
    void InitSortXRef();
    // -1, 0 or 1 in ascending terms (blank placement follows direction).
    int CompareCells(int col, int row1, int row2, TSortDirection direction);
    // The header click on display column c of the sort row.
    void ClickSort(int c, platform::TShiftState shift);

    // For each current row, the row it was at the last reset.
    const std::vector<int>& SortRowXRef() const { return FSortRowXRef; }
    int SortRow = -1;    // the row that was current when the sort began, where it is now
    int Swaps = 0;       // rows that changed place
    int Compares = 0;    // cell comparisons

private:
    struct TFrame;
    // Sorts display rows from .. to: by column col and (with Full) the next ones, or by the
    // sort-index list.
    void SortRange(int from, int to, int col, bool indexed);
    void ApplyOrder(int from, const std::vector<int>& order);
    void SortGroups(bool indexed);
    void FrameSort(bool indexed, bool group);
    std::vector<int> FSortRowXRef;
};

}  // namespace grid::dataops
