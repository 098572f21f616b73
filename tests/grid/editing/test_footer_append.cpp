// A row added at the table's end by the keyboard (Tab, Enter, Down) goes above a floating footer
// row: the footer stays the last row and keeps its calculations, and its sums count the new row.
#include <gtest/gtest.h>

#include <QTest>

#include "grid/core/ExtColumnGrid.h"
#include "grid/editing/GridEditController.h"
#include "support/ScreenView.h"

#include "InputSuite.h"

using namespace grid;
using namespace grid::editing;
using testsupport::ScreenView;

namespace {

// Columns: 0 fixed number, 1 amount, 2 note; rows 1 to 3 hold data, row 4 is the footer.
struct FooterAppend : WithGridInput {
    std::unique_ptr<TExtColumnGrid> grid = std::make_unique<TExtColumnGrid>();
    TExtColumnGrid& g = *grid;
    std::vector<int> added;

    void SetUp() override
    {
        WithInput(g);
        g.SetColCount(3);
        g.SetRowCount(5);
        g.Options |= goEditing | goTabs;
        for (int c = 0; c < 3; ++c)
            g.Columns()[c]->SetWidth(70);
        for (int r = 1; r < 4; ++r) {
            g.SetCells(1, r, QString::number(r * 10));
            g.SetCells(2, r, QStringLiteral("n%1").arg(r));
        }
        g.FloatingFooter.SetVisible(true);
        g.FloatingFooter.SetColumnCalc(1, acSUM);
        g.FloatingFooter.SetColumnCalc(2, acCOUNT);
        g.Navigation.SetAdvanceInsert(true);
        g.Navigation.AdvanceOnEnter = true;
        g.resize(300, 200);
        EditController(g)->OnAutoAddRow = [this](TExtStringGrid*, int r) { added.push_back(r); };
    }

    void ExpectFooterKeptWithRowAdded()
    {
        ASSERT_EQ(g.RowCount(), 6);
        EXPECT_EQ(added, std::vector<int>{4});
        EXPECT_EQ(g.Cells(1, 4), "") << "the new row is empty";
        EXPECT_EQ(g.Cells(2, 4), "");
        EXPECT_EQ(g.Cells(2, 3), "n3") << "the last data row keeps its place";
        EXPECT_EQ(g.FloatingFooter.GetColumnCalc(1), acSUM) << "the footer row is still the last row";
        EXPECT_EQ(g.FloatingFooter.GetColumnCalc(2), acCOUNT);
        EXPECT_EQ(g.Cells(1, 5), "60.00");
        EXPECT_EQ(g.Cells(2, 5), "4") << "the count takes in the new row";
        EXPECT_EQ(g.Row(), 4);
    }
};

TEST_F(FooterAppend, TabAtTheEndAddsARowAboveTheFooter)
{
    ScreenView screen(&g);
    g.SetFocus();
    g.MoveColRow(2, 3);
    screen.Key(Qt::Key_Tab);
    ExpectFooterKeptWithRowAdded();
    EXPECT_EQ(g.Col(), 1);
}

TEST_F(FooterAppend, EnterAtTheEndAddsARowAboveTheFooter)
{
    ScreenView screen(&g);
    g.SetFocus();
    g.MoveColRow(2, 3);
    screen.Key(Qt::Key_Return);  // opens the editor
    ASSERT_EQ(g.RowCount(), 5);
    screen.Key(Qt::Key_Return);  // the editor's Enter advances
    ExpectFooterKeptWithRowAdded();
}

TEST_F(FooterAppend, DownOnTheLastDataRowAddsARowAboveTheFooter)
{
    g.Options &= ~goEditing;
    g.Navigation.AppendOnArrowDown = true;
    ScreenView screen(&g);
    g.SetFocus();
    g.MoveColRow(1, 3);
    screen.Key(Qt::Key_Down);
    ExpectFooterKeptWithRowAdded();
}

// A footer that previews the current row is no row of its own: the new row goes after the last.
TEST_F(FooterAppend, APreviewFooterLeavesTheLastRowInPlace)
{
    g.FloatingFooter.SetVisible(false);
    g.FloatingFooter.SetFooterStyle(fsColumnPreview);
    g.FloatingFooter.SetVisible(true);
    g.SetCells(2, 4, "n4");
    ScreenView screen(&g);
    g.SetFocus();
    g.MoveColRow(2, 4);
    screen.Key(Qt::Key_Tab);
    ASSERT_EQ(g.RowCount(), 6);
    EXPECT_EQ(g.Cells(2, 4), "n4");
    EXPECT_EQ(g.Cells(2, 5), "");
    EXPECT_EQ(g.Row(), 5);
}

}  // namespace
