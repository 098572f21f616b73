#pragma once
#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"
#include "grid/dataops/GridDataOperations.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"

namespace grid::dataops {

// The layers of the program's grids: editing with its keyboard and mouse handling, and the data
// operations.
inline TGridLayers FullLayers()
{
    return {.Editing = editing::EditingLayer(editing::InputHandling()), .DataOps = DataOperations()};
}
// The data operations alone.
inline TGridLayers DataOpsLayers() { return {.DataOps = DataOperations()}; }

// A suite whose grids are given FullLayers(), as the program's grids are.
struct WithDataOps : ::testing::Test {
    template <class Grid>
    static Grid& WithLayers(Grid& g)
    {
        g.SetLayers(FullLayers());
        return g;
    }
};

}  // namespace grid::dataops
