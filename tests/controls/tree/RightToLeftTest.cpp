// Right-to-left display: the columns keep to the client's right edge, and hit tests, display
// rectangles, the header and the painted cells all agree on where they are.
#include "controls/tree/StringTree.h"
#include "support/GoldenImage.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace tree;

class RtlTree : public ::testing::Test {
protected:
    // Two columns, 80 and 60 pixels wide (wider with `wide`), four top-level nodes.
    void Build(bool wide = false)
    {
        t.SetBorderStyle(bsNone);
        t.resize(240, 130);
        TTVHeader& h = t.Header();
        const int widths[] = {wide ? 200 : 80, wide ? 150 : 60};
        for (int w : widths) {
            TNodeTreeColumn* c = h.Columns().Add();
            c->SetText(QStringLiteral("Column %1").arg(h.Columns().Count()));
            c->SetWidth(w);
        }
        h.SetOptions(h.Options() | hoVisible);
        t.TreeOptions().SetSelectionOptions(t.TreeOptions().SelectionOptions() | toExtendedFocus);
        t.TreeOptions().SetPaintOptions(t.TreeOptions().PaintOptions() | toShowHorzGridLines | toShowVertGridLines);
        t.OnGetText = [](TBaseNodeTree*, PTreeNode node, TColumnIndex column, TVSTTextType, QString& text) {
            text = column == 1 ? QString::number((node->Index + 1) * 10) : QStringLiteral("Row %1").arg(node->Index + 1);
        };
        t.SetRootNodeCount(4);
        t.setLayoutDirection(Qt::RightToLeft);
        t.show();
        Settle();
    }
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    PTreeNode Row(int i)
    {
        PTreeNode n = t.GetFirst();
        while (n && i-- > 0)
            n = t.GetNextSibling(n);
        return n;
    }
    TNodeStringTree t;
};

TEST_F(RtlTree, NarrowColumnsEndAtTheRightEdge)
{
    Build();
    const int cw = t.ClientWidth();
    ASSERT_GT(cw, 140);
    const int start = cw - 140;
    EXPECT_EQ(t.ComputeRTLOffset(true), start);
    EXPECT_EQ(t.EffectiveOffsetX(), 0) << "nothing to scroll: the bar's position stays at its start";

    const struct {
        TColumnIndex column;
        int left, right;
    } bounds[] = {{0, start, start + 80}, {1, start + 80, cw}};
    const PTreeNode node = Row(1);
    for (const auto& b : bounds) {
        SCOPED_TRACE(b.column);
        int left = 0, right = 0;
        t.Header().Columns().GetColumnBounds(b.column, left, right);
        EXPECT_EQ(left, b.left);
        EXPECT_EQ(right, b.right);
        const QRect cell = t.GetDisplayRect(node, b.column, false);
        EXPECT_EQ(cell.left(), b.left);
        EXPECT_EQ(cell.right(), b.right - 2) << "the last pixel column is the grid line";
        // Text keeps to the cell's right end, the reading start.
        const QRect text = t.GetDisplayRect(node, b.column, true);
        EXPECT_GE(text.left(), b.left);
        EXPECT_LT(text.right(), b.right - 1);
    }

    const int y = t.GetDisplayRect(node, 0, false).center().y();
    const struct {
        int x;
        TColumnIndex column;
    } hits[] = {{start - 1, InvalidColumn}, {start, 0}, {start + 79, 0}, {start + 80, 1}, {cw - 1, 1}, {cw, InvalidColumn}};
    for (const auto& h : hits) {
        SCOPED_TRACE(h.x);
        EXPECT_EQ(t.Header().Columns().ColumnFromPosition(QPoint(h.x, y)), h.column);
    }
}

TEST_F(RtlTree, AClickLandsInTheColumnDrawnThere)
{
    Build();
    const struct {
        int row;
        TColumnIndex column;
    } clicks[] = {{2, 1}, {0, 0}, {3, 1}, {1, 0}};
    for (const auto& c : clicks) {
        SCOPED_TRACE(c.row);
        // The middle of the text as the display rectangle places it.
        const QPoint p = t.GetDisplayRect(Row(c.row), c.column, true).center();
        QTest::mouseClick(t.viewport(), Qt::LeftButton, {}, p);
        Settle();
        EXPECT_EQ(t.FocusedNode(), Row(c.row));
        EXPECT_EQ(t.FocusedColumn(), c.column);
    }
}

TEST_F(RtlTree, WideColumnsStartScrolledToTheirRightEnd)
{
    Build(true);
    const int cw = t.ClientWidth();
    ASSERT_LT(cw, 350);
    EXPECT_EQ(t.ComputeRTLOffset(true), 0);
    EXPECT_EQ(t.EffectiveOffsetX(), 350 - cw);
    const struct {
        int offsetX;
        int column1Right;
    } cases[] = {{0, cw}, {cw - 350, 350}, {-10, cw + 10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offsetX);
        t.SetOffsetX(c.offsetX);
        EXPECT_EQ(t.EffectiveOffsetX(), 350 - cw + c.offsetX);
        int left = 0, right = 0;
        t.Header().Columns().GetColumnBounds(1, left, right);
        EXPECT_EQ(right, c.column1Right);
        EXPECT_EQ(left, right - 150);
        const int y = t.GetDisplayRect(Row(0), 1, false).center().y();
        EXPECT_EQ(t.Header().Columns().ColumnFromPosition(QPoint(right - 1, y)), 1);
        EXPECT_EQ(t.Header().Columns().ColumnFromPosition(QPoint(left - 1, y)), 0);
    }
}

TEST_F(RtlTree, TreeAndHeaderLookRight)
{
    Build();
    // Mirrored cells: content, lines and buttons start at the right.
    for (int i = 0; i < t.Header().Columns().Count(); ++i)
        t.Header().Columns()[i]->SetBiDiMode(bdRightToLeft);
    t.SetSelected(Row(1), true);
    Settle();
    const QImage image = t.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(testsupport::MatchesGolden(image, TEST_DATA_DIR "/golden/tree_right_to_left.png"));
}

}  // namespace
