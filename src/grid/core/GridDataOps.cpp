#include "grid/core/GridDataOps.h"

#include "grid/core/ExtStringGrid.h"

#include <algorithm>

namespace grid {

TGridDataOps* TExtStringGrid::DataOps()
{
    // Asked once, on first need; a grid being torn down never makes them.
    if (!FDataOpsAsked && !Destroying && FLayers.DataOps) {
        FDataOpsAsked = true;
        FDataOps = FLayers.DataOps(*this);
    }
    return FDataOps.get();
}

void TExtStringGrid::QSort()
{
    if (TGridDataOps* ops = DataOps())
        ops->QSort();
}

void TExtStringGrid::QSortIndexed()
{
    if (TGridDataOps* ops = DataOps())
        ops->QSortIndexed();
}

void TExtStringGrid::QSortGroup()
{
    if (TGridDataOps* ops = DataOps())
        ops->QSortGroup();
}

void TExtStringGrid::QSortGroupIndexed()
{
    if (TGridDataOps* ops = DataOps())
        ops->QSortGroupIndexed();
}

void TExtStringGrid::QUnSort()
{
    if (TGridDataOps* ops = DataOps())
        ops->QUnSort();
}

void TExtStringGrid::Group(int colIndex)
{
    if (TGridDataOps* ops = DataOps())
        ops->Group(colIndex);
}

void TExtStringGrid::UnGroup()
{
    if (TGridDataOps* ops = DataOps())
        ops->UnGroup();
}

void TExtStringGrid::SetGroupColumn(int value)
{
    if (value == -1)
        UnGroup();
    else if (value > 0)
        Group(value);
}

void TExtStringGrid::SetFilterDropDownRow(int value)
{
    if (value >= FixedRows())
        return;
    FilterDropDownRow = value;
    Invalidate();
}

void TExtStringGrid::PermuteRows(int from, const std::vector<int>& order, bool rowFlags)
{
    PlatformPermuteRows(from, order);
    if (!rowFlags)
        return;
    auto permute = [&](auto& flags) {
        using Flag = typename std::decay_t<decltype(flags)>::value_type;
        const size_t need = size_t(from) + order.size();
        if (flags.size() <= size_t(from))
            return;
        if (flags.size() < need)
            flags.resize(need, Flag{});
        std::vector<Flag> moved(order.size());
        for (size_t k = 0; k < order.size(); ++k)
            moved[k] = flags[size_t(order[k])];
        std::copy(moved.begin(), moved.end(), flags.begin() + from);
    };
    permute(FRowSelect);
    permute(FModifiedRows);
}

namespace {
// A per-row list with an entry (value) before each listed row, or without the listed rows.
template <typename List, typename Value>
void InsertEntries(List& list, const std::vector<int>& before, Value value)
{
    if (list.empty() || before.empty() || size_t(before.front()) > list.size())
        return;
    List out;
    size_t k = 0;
    for (size_t r = 0; r <= list.size(); ++r) {
        for (; k < before.size() && size_t(before[k]) <= r; ++k)
            out.push_back(value);
        if (r < list.size())
            out.push_back(list[r]);
    }
    list = std::move(out);
}
}  // namespace

void TExtStringGrid::InsertRowsBefore(const std::vector<int>& rows)
{
    if (rows.empty())
        return;
    CellsMoving();
    const int first = rows.front();
    if (!FGridItems.empty()) {
        // Each hidden row moves down by the rows inserted before the shown rows that follow it,
        // so that it comes back between the same neighbours.
        std::vector<int> reals;
        reals.reserve(rows.size());
        for (int r : rows)
            reals.push_back(r < RowCount() ? DisplToRealRow(r) : TotalRowCount());
        for (TGridItem& item : FGridItems)
            item.Idx += int(std::upper_bound(reals.begin(), reals.end(), item.Idx) - reals.begin());
        HiddenChanged();
    }
    PlatformInsertRowsBefore(rows);
    FMaxRowCount = std::max(FMaxRowCount, RowCount());
    InsertEntries(FModifiedRows, rows, int8_t(0));
    if (FRowEnablingUsed)
        InsertEntries(FDisabledRows, rows, int8_t(0));
    if (MouseActions.DisjunctRowSelect())
        InsertEntries(FRowSelect, rows, false);
    if (!Destroying)
        CellsChanged({0, first, ColCount() - 1, RowCount() - 1});
}

void TExtStringGrid::DeleteRowList(const std::vector<int>& rows)
{
    if (rows.empty() || rows.back() >= RowCount() || int(rows.size()) >= RowCount())
        return;
    DeleteRowList(std::vector<int>(rows), true);
}

}  // namespace grid
