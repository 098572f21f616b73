// Attaching, querying and removing the other cell graphic kinds.
#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridDraw.h"
#include "grid/core/GridGraphicsDraw.h"

using namespace grid;

namespace {

struct TKinds : ::testing::Test {
    TExtStringGrid g;
    void SetUp() override
    {
        g.SetColCount(4);
        g.SetRowCount(4);
    }
};

}  // namespace

TEST_F(TKinds, RotatedAnglesFoldIntoOneTurn)
{
    const struct {
        int given, stored;
    } cases[] = {{-30, 330}, {360, 360}, {725, 5}, {0, 0}};
    for (const auto& c : cases) {
        g.AddRotated(1, 1, c.given, "text");
        int angle = -1;
        ASSERT_TRUE(g.IsRotated(1, 1, angle));
        EXPECT_EQ(angle, c.stored) << c.given;
    }
    EXPECT_EQ(g.Cells(1, 1), QString("text"));
}

TEST_F(TKinds, ButtonRectangleIsWherePaintingPutTheButton)
{
    g.AddButton(1, 1, 20, 16, "Go", haRight, vaCenter);
    EXPECT_EQ(g.GetCellGraphic(1, 1)->CellIndex, 16 * 65536 + 20);
    EXPECT_TRUE(g.HasButton(1, 1));
    EXPECT_EQ(g.GetButtonText(1, 1), QString("Go"));

    platform::TCanvas canvas;  // measuring only: placement is what is tested
    TGraphicPaintCell cell;
    cell.Col = cell.DCol = 1;
    cell.Row = 1;
    const TRect r = g.CellRect(1, 1);
    DrawCellGraphic(g, canvas, cell, r, g.GetCellGraphic(1, 1));
    const TRect b = g.GetCellButtonRect(1, 1);
    EXPECT_EQ(b.Width(), 20);
    EXPECT_EQ(b.Height(), 16);
    EXPECT_EQ(b.Left, cell.GraphicRect.Left);
    EXPECT_EQ(b.Top, cell.GraphicRect.Top);
    EXPECT_EQ(b.Right, r.Right - 2);  // right aligned, inside the cell offset

    g.RemoveBitButton(1, 1);
    EXPECT_TRUE(g.HasButton(1, 1)) << "RemoveBitButton leaves a text button";
    g.RemoveButton(1, 1);
    EXPECT_FALSE(g.HasButton(1, 1));
    g.AddBitButton(1, 1, 20, 16, "", nullptr, haLeft, vaTop);
    g.RemoveButton(1, 1);
    EXPECT_FALSE(g.HasButton(1, 1));
    EXPECT_EQ(g.GetCellButtonRect(1, 1), TRect{});
}

TEST_F(TKinds, BalloonsAttachToCheckBoxesAndLeaveOtherGraphicsAlone)
{
    QString title, text;
    TBalloonIcon icon = biNone;
    g.AddCheckBox(1, 1, true, false);
    g.AddBalloon(1, 1, "T", "X", biWarning);
    EXPECT_TRUE(g.HasCheckBox(1, 1));
    ASSERT_TRUE(g.IsBalloon(1, 1, title, text, icon));
    EXPECT_EQ(title, QString("T"));
    EXPECT_EQ(text, QString("X"));
    EXPECT_EQ(icon, biWarning);
    g.RemoveBalloon(1, 1);
    EXPECT_TRUE(g.HasCheckBox(1, 1));
    EXPECT_FALSE(g.IsBalloon(1, 1, title, text, icon));

    g.AddButton(2, 1, 10, 10, "b", haLeft, vaTop);
    g.AddBalloon(2, 1, "T", "X", biInfo);
    EXPECT_EQ(g.GetCellType(2, 1), ctButton);

    g.AddBalloon(3, 1, "T", "X", biError);
    EXPECT_TRUE(g.HasBalloon(3, 1));
    g.RemoveBalloon(3, 1);
    EXPECT_FALSE(g.HasBalloon(3, 1));
}

TEST_F(TKinds, CommentsShapesAndScrollBarsAnswerNeutrallyOnOtherCells)
{
    g.ControlLook.CommentColor = 0x00FF00;
    g.SetComment(1, 1, "note");
    EXPECT_EQ(g.GetComment(1, 1), QString("note"));
    EXPECT_EQ(g.GetCellGraphic(1, 1)->CellIndex, 0x00FF00);
    g.AddShape(2, 1, csStar, 0x0000FF, 0, haLeft, vaTop);
    g.SetComment(2, 1, "ignored");
    EXPECT_EQ(g.GetComment(2, 1), QString());
    EXPECT_EQ(g.GetShapeColor(2, 1), 0x0000FFu);
    EXPECT_EQ(g.GetShapeColor(1, 1), clNone);
    g.RemoveAllComments();
    EXPECT_EQ(g.GetCellGraphic(1, 1), nullptr);
    EXPECT_EQ(g.GetCellType(2, 1), ctShape);

    EXPECT_EQ(g.GetScrollPosition(3, 3), -1);
    EXPECT_EQ(g.GetScrollProp(3, 3).Range, -1);
    g.AddScrollBar(3, 3, false);
    EXPECT_EQ(g.GetScrollPosition(3, 3), 0);
    EXPECT_EQ(g.GetScrollProp(3, 3).Range, 100);
}

// The range of a progress bar shares its fields with the text marker: a marker must not move it.
TEST_F(TKinds, MarkersKeepTheirHandsOffRanges)
{
    g.AddProgressFormatted(1, 1, 0xFF, 0, 0xFFFFFF, 0, "%d", 10, 50);
    g.AddMarker(1, 1, 2, 3);
    EXPECT_EQ(g.GetCellGraphic(1, 1)->CellErrFrom, 10);
    EXPECT_EQ(g.GetCellGraphic(1, 1)->CellErrLen, 50);
    int pos = -1, len = -1;
    g.GetMarker(1, 1, pos, len);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(len, 0);

    g.AddMarker(2, 2, 4, 2);
    EXPECT_EQ(g.GetCellType(2, 2), ctEmpty);
    g.GetMarker(2, 2, pos, len);
    EXPECT_EQ(pos, 4);
    EXPECT_EQ(len, 2);
    g.RemoveAllMarkers();
    EXPECT_EQ(g.GetCellGraphic(2, 2), nullptr);
    EXPECT_TRUE(g.HasProgress(1, 1));
}
