#pragma once
#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"

namespace grid::editing {

// The layers of a grid that edits with the keyboard and mouse handling, without data operations.
inline TGridLayers InputLayers() { return {.Editing = EditingLayer(InputHandling())}; }

// A test suite whose grids edit with the keyboard and mouse handling: each grid it makes is given
// InputLayers().
struct WithGridInput : ::testing::Test {
    template <class Grid>
    static Grid& WithInput(Grid& g)
    {
        g.SetLayers(InputLayers());
        return g;
    }
};

}  // namespace grid::editing
