#pragma once
#include <gtest/gtest.h>

#include "grid/dataops/GridDataOperations.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"

namespace grid::dataops {

// A suite whose grids get the editing layer with its keyboard and mouse handling and the data
// operations, as the program's grids do; all three are switched off again after the suite.
struct WithDataOps : ::testing::Test {
    static void SetUpTestSuite()
    {
        editing::RegisterGridEditing();
        editing::RegisterGridInput();
        RegisterGridDataOps();
    }
    static void TearDownTestSuite()
    {
        SetGridDataOpsFactory({});
        editing::SetGridInputFactory({});
        SetGridEditLayerFactory({});
    }
};

}  // namespace grid::dataops
