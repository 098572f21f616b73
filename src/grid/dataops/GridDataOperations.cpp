#include "grid/dataops/GridDataOperations.h"

#include "grid/dataops/GridBulkOps.h"
#include "grid/dataops/GridSelectionOps.h"
#include "grid/editing/editors/ExtCustomGridDropDown.h"

namespace grid::dataops {

TGridDataOperations::TGridDataOperations(TExtStringGrid& grid) : TGridDataOps(grid) {}

TGridDataOperations::~TGridDataOperations() = default;

void TGridDataOperations::SplitColumnCells(int colIndex) { dataops::SplitColumnCells(Grid, colIndex); }
void TGridDataOperations::MergeColumnCells(int colIndex, bool mainMerge)
{
    dataops::MergeColumnCells(Grid, colIndex, mainMerge);
}
QString TGridDataOperations::SelectedText(bool entireRows) { return dataops::SelectedText(Grid, entireRows); }
void TGridDataOperations::UnHilightInGrid(bool doFixed) { dataops::UnHilightInGrid(Grid, doFixed); }

void RegisterGridDataOps()
{
    SetGridDataOpsFactory([](TExtStringGrid& grid) { return std::make_unique<TGridDataOperations>(grid); });
    // The grid drop-down passes on its inner grid's search edit changes.
    editors::SetGridDropDownBinder(QStringLiteral("dataops"), [](editors::TCustomExtGridDropDown* dd, TExtStringGrid& grid) {
        TGridDataOperations* ops = DataOps(grid);
        if (!ops)
            return;
        if (!dd) {
            ops->Searching.OnSearchEditChange = nullptr;
            return;
        }
        ops->Searching.OnSearchEditChange = [dd](TExtStringGrid* sender, const QString& value, bool& defaultSearch) {
            if (dd->OnGridSearchEditChange)
                dd->OnGridSearchEditChange(sender, value, defaultSearch);
        };
    });
}

TGridDataOperations* DataOps(TExtStringGrid& grid) { return dynamic_cast<TGridDataOperations*>(grid.DataOps()); }

}  // namespace grid::dataops
