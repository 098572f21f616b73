#include "grid/dataops/GridDataOperations.h"

namespace grid::dataops {

TGridDataOperations::TGridDataOperations(TExtStringGrid& grid) : TGridDataOps(grid) {}

TGridDataOperations::~TGridDataOperations() = default;

void RegisterGridDataOps()
{
    SetGridDataOpsFactory([](TExtStringGrid& grid) { return std::make_unique<TGridDataOperations>(grid); });
}

TGridDataOperations* DataOps(TExtStringGrid& grid) { return dynamic_cast<TGridDataOperations*>(grid.DataOps()); }

}  // namespace grid::dataops
