// The editing cycle: editing switched on and off as the current cell moves, the editor the cell's
// type opens, Escape, validation and its refusals, and the value written back.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "grid/core/ExtColumnGrid.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/InplaceEdit.h"

using namespace grid;
using namespace grid::editing;

namespace {

struct EditCycle : ::testing::Test {
    static void SetUpTestSuite() { RegisterGridEditing(); }
    TExtColumnGrid g;
    TGridEditController* ctl = nullptr;
    void SetUp() override
    {
        g.SetRowCount(5);
        g.resize(400, 200);
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&g));
        ctl = EditController(g);
        ASSERT_NE(ctl, nullptr);
    }
};

TEST_F(EditCycle, TheGridGetsItsControllerFromTheRegisteredFactory)
{
    EXPECT_EQ(static_cast<TGridEditLayer*>(ctl), g.EditLayer());
}

}  // namespace
