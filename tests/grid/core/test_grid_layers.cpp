// A grid's layers come from its owner: each grid has its own, made on first need; a grid given
// none is plain.
#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridDataOps.h"
#include "grid/core/GridEditLayer.h"

using namespace grid;

namespace {

// Counts what the grid asks of its layers: how many were made and how many went.
struct TLayerLog {
    int EditMade = 0, EditGone = 0, OpsMade = 0, Sorts = 0;
};

struct TCountedLayer : TGridEditLayer {
    TCountedLayer(TExtStringGrid& g, TLayerLog& log) : TGridEditLayer(g), Log(log) { ++Log.EditMade; }
    ~TCountedLayer() override { ++Log.EditGone; }
    bool EditMode() const override { return true; }
    TLayerLog& Log;
};

struct TCountedOps : TGridDataOps {
    TCountedOps(TExtStringGrid& g, TLayerLog& log) : TGridDataOps(g), Log(log) { ++Log.OpsMade; }
    void QSort() override { ++Log.Sorts; }
    TLayerLog& Log;
};

TGridLayers Counted(TLayerLog& log)
{
    return {.Editing = [&log](TExtStringGrid& g) { return std::make_unique<TCountedLayer>(g, log); },
            .DataOps = [&log](TExtStringGrid& g) { return std::make_unique<TCountedOps>(g, log); }};
}

}  // namespace

// Two grids side by side: the one given layers uses them, the one given none stays plain.
TEST(GridLayers, EachGridHasTheLayersItsOwnerGaveIt)
{
    TLayerLog log;
    TExtStringGrid given, plain;
    given.SetLayers(Counted(log));
    EXPECT_EQ(log.EditMade, 0);  // made on first need, not when given
    EXPECT_EQ(log.OpsMade, 0);

    EXPECT_TRUE(given.EditMode());
    given.QSort();
    given.QSort();
    EXPECT_EQ(log.EditMade, 1);
    EXPECT_EQ(log.OpsMade, 1);
    EXPECT_EQ(log.Sorts, 2);

    EXPECT_FALSE(plain.EditMode());
    plain.QSort();
    EXPECT_EQ(plain.EditLayer(), nullptr);
    EXPECT_EQ(plain.DataOps(), nullptr);
    EXPECT_EQ(log.Sorts, 2);
    EXPECT_EQ(log.EditMade, 1);
}

// New layers replace the ones made: those go at once, the new ones come on the next need; empty
// layers leave a plain grid.
TEST(GridLayers, NewLayersReplaceTheOnesMade)
{
    TLayerLog first, second;
    TExtStringGrid g;
    g.SetLayers(Counted(first));
    ASSERT_NE(g.EditLayer(), nullptr);
    g.SetLayers(Counted(second));
    EXPECT_EQ(first.EditGone, 1);
    EXPECT_EQ(second.EditMade, 0);
    EXPECT_NE(dynamic_cast<TCountedLayer*>(g.EditLayer()), nullptr);
    EXPECT_EQ(second.EditMade, 1);

    g.SetLayers({});
    EXPECT_EQ(second.EditGone, 1);
    EXPECT_EQ(g.EditLayer(), nullptr);
    EXPECT_FALSE(g.EditMode());
}

// A grid that never needed its layers does not make them on its way out.
TEST(GridLayers, AGridGoingMakesNoLayer)
{
    TLayerLog log;
    {
        TExtStringGrid g;
        g.SetLayers(Counted(log));
    }
    EXPECT_EQ(log.EditMade, 0);
    EXPECT_EQ(log.OpsMade, 0);
}
