#pragma once
#include <gtest/gtest.h>

#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"

namespace grid::editing {

// A test suite whose grids get the editing layer with the keyboard and mouse handling; the
// handling is switched off again after the suite so that other suites see the controller alone.
struct WithGridInput : ::testing::Test {
    static void SetUpTestSuite()
    {
        RegisterGridEditing();
        RegisterGridInput();
    }
    static void TearDownTestSuite() { SetGridInputFactory({}); }
};

}  // namespace grid::editing
