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

TGridDataOpsFactory DataOperations()
{
    return [](TExtStringGrid& grid) { return std::make_unique<TGridDataOperations>(grid); };
}

void TGridDataOperations::PassEventsTo(QObject* holder)
{
    auto* dd = qobject_cast<editors::TCustomExtGridDropDown*>(holder);
    if (!dd) {
        Searching.OnSearchEditChange = nullptr;
        return;
    }
    Searching.OnSearchEditChange = [dd](TExtStringGrid* sender, const QString& value, bool& defaultSearch) {
        if (dd->OnGridSearchEditChange)
            dd->OnGridSearchEditChange(sender, value, defaultSearch);
    };
}

TGridDataOperations* DataOps(TExtStringGrid& grid) { return dynamic_cast<TGridDataOperations*>(grid.DataOps()); }

}  // namespace grid::dataops
