#include "grid/core/GridDataOps.h"

#include "grid/core/ExtStringGrid.h"

#include <algorithm>

namespace grid {

namespace {
TGridDataOpsFactory& Factory()
{
    static TGridDataOpsFactory factory;
    return factory;
}
}  // namespace

void SetGridDataOpsFactory(TGridDataOpsFactory factory) { Factory() = std::move(factory); }

TGridDataOps* TExtStringGrid::DataOps()
{
    // Asked once: a grid made before the factory was registered gets its operations on first use,
    // and a grid being torn down never makes them.
    if (!FDataOpsAsked && !Destroying && Factory()) {
        FDataOpsAsked = true;
        FDataOps = Factory()(*this);
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

}  // namespace grid
