// What a shown grid puts on the screen, read from the window's kept pixels after the grid's own
// repaints: the colour of selected cells, where a check box is drawn against where a click hits
// it, and the picture node buttons.
#include <gtest/gtest.h>

#include <QImage>

#include "grid/core/ExtStringGrid.h"
#include "support/ScreenView.h"
#include "test_paint_support.h"

using namespace grid;
using platform::ColorToRGB;
using testsupport::ScreenView;

namespace {

QRgb ScreenRgb(TColor c) { return platform::ToQColor(ColorToRGB(c)).rgb() & 0xFFFFFF; }

QPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

// The bounding box of the pixels inside `area` that differ from `background`.
QRect Drawn(const QImage& image, const TRect& area, QRgb background)
{
    QRect box;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

int Count(const QImage& image, const TRect& area, QRgb colour)
{
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == colour;
    return n;
}

TEST(ScreenCells, WithoutASelectionColourSelectedCellsShowTheSystemHighlight)
{
    TExtStringGrid g;
    painttest::Layout(g, 4, 5, 320, 140);
    g.SelectionColor = clNone;
    ScreenView screen(&g);
    g.SetSelection({1, 1, 3, 3});
    const QImage image = screen.Image();
    // (1, 1) is the current cell; the others of the range are selected without the focus.
    for (const QPoint cell : {QPoint(2, 1), QPoint(3, 2), QPoint(2, 3)}) {
        SCOPED_TRACE(cell.x() * 10 + cell.y());
        EXPECT_EQ(image.pixel(Centre(g.CellRect(cell.x(), cell.y()))) & 0xFFFFFF, ScreenRgb(clHighlight));
    }
    EXPECT_EQ(image.pixel(Centre(g.CellRect(2, 4))) & 0xFFFFFF, ScreenRgb(g.Color)) << "outside the selection";
}

// With precise check box clicks a click hits the box where it is drawn, whatever the alignment
// and whether a text stands beside it.
TEST(ScreenCells, APreciseCheckBoxClickHitsTheBoxWhereItIsDrawn)
{
    const struct {
        TAlignment Align;
        const char* Text;
    } cases[] = {
        {taLeftJustify, ""},      {taCenter, ""},      {taRightJustify, ""},
        {taLeftJustify, "Label"}, {taCenter, "Label"}, {taRightJustify, "A longer label"},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(std::to_string(int(tc.Align)) + " \"" + tc.Text + "\"");
        TExtStringGrid g;
        painttest::Layout(g, 3, 3, 420, 100);
        g.SetColWidths(1, 200);
        g.SelectionColor = clNone;
        g.ShowSelection = false;
        g.MouseActions.PreciseCheckBoxCheck = true;
        g.DefaultAlignment = tc.Align;
        // The text is measured and placed, but drawn in the cell's colour, so only the box shows.
        g.OnGetCellColor = [](TExtStringGrid*, int, int, TGridDrawState, TColor& brush, TFontDesc& font) {
            brush = clWhite;
            font.Color = clWhite;
        };
        g.SetCells(1, 2, QString::fromLatin1(tc.Text));
        g.AddCheckBox(1, 2, false, false);
        g.MoveColRow(2, 1);
        ScreenView screen(&g);
        const TRect cell = g.CellRect(1, 2);
        const TRect inner{cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1};
        const QRect box = Drawn(screen.Image(), inner, 0xFFFFFF);
        ASSERT_FALSE(box.isEmpty());
        EXPECT_LE(box.width(), g.ControlLook.CheckSize);
        const QPoint mid = box.center();
        EXPECT_TRUE(g.IsInCheckBox(1, 2, mid.x(), mid.y()));
        EXPECT_TRUE(g.IsInCheckBox(1, 2, box.left(), box.top()));
        EXPECT_TRUE(g.IsInCheckBox(1, 2, box.right(), box.bottom()));
        // Left of the box and right of it on the same line: no hit.
        EXPECT_FALSE(g.IsInCheckBox(1, 2, box.left() - 3, mid.y()));
        EXPECT_FALSE(g.IsInCheckBox(1, 2, box.right() + 3, mid.y()));
        g.MouseActions.PreciseCheckBoxCheck = false;
        EXPECT_TRUE(g.IsInCheckBox(1, 2, inner.Left + 1, mid.y())) << "without precision the cell counts";
    }
}

// Picture node buttons: the expand picture on an expanded node, the contract picture once the node
// is contracted, through the grid's own repaint; both must be set to replace the drawn box.
TEST(ScreenCells, PictureNodeButtonsShowTheGlyphOfTheNodesState)
{
    auto glyph = [](QRgb colour) {
        QImage image(12, 12, QImage::Format_RGB32);
        image.fill(colour);
        image.setPixel(0, 0, 0xFFFFFFFF);  // the corner gives the see-through colour
        return image;
    };
    const QRgb expandColour = 0x0000C0, contractColour = 0xC00000;
    TExtStringGrid g;
    painttest::Layout(g, 3, 6, 300, 150);
    g.SetColWidths(0, 40);
    g.CellNode.NodeType = cnGlyph;
    g.CellNode.ExpandGlyph = glyph(expandColour);
    g.CellNode.ContractGlyph = glyph(contractColour);
    g.AddNode(1, 3);
    g.MoveColRow(1, 4);
    ScreenView screen(&g);
    const TRect cell = g.CellRect(0, 1);
    EXPECT_EQ(Count(screen.Image(), cell, expandColour), 143);
    EXPECT_EQ(Count(screen.Image(), cell, contractColour), 0);

    g.ContractNode(1);
    EXPECT_EQ(Count(screen.Image(), g.CellRect(0, 1), contractColour), 143);
    EXPECT_EQ(Count(screen.Image(), g.CellRect(0, 1), expandColour), 0);

    // The hit area follows the picture: left margin 2, right margin half its width.
    g.MouseActions.PreciseNodeClick = true;
    EXPECT_FALSE(g.InNodeGlyph(1, 2));
    EXPECT_TRUE(g.InNodeGlyph(1, 3));
    EXPECT_TRUE(g.InNodeGlyph(1, 17));
    EXPECT_FALSE(g.InNodeGlyph(1, 18));

    // Copies carry both pictures.
    TCellNode copy;
    copy.Assign(g.CellNode);
    EXPECT_EQ(copy.ContractGlyph.pixel(5, 5) & 0xFFFFFF, contractColour);
}

}  // namespace
