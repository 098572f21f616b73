#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "grid/core/ExtColumnGrid.h"
#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridEditLayer.h"
#include "platform/TCanvas.h"
#include "test_paint_support.h"
#include "support/GoldenImage.h"

using namespace grid;
using painttest::Layout;
using painttest::Render;

namespace {

struct TVisual {
    TGridDrawState State = 0;
    TColor Brush = clNone, ColorTo = clNone, Mirror = clNone, MirrorTo = clNone;
    TFontDesc Font;
    TAlignment HA = taLeftJustify;
    TVAlignment VA = vtaTop;
    bool WW = false;
    TCellGradientDirection GD = GradientVertical;
};

TVisual Visual(TExtStringGrid& g, int c, int r, TGridDrawState state = 0)
{
    TVisual v;
    v.State = state;
    g.GetVisualProperties(c, r, v.State, false, true, true, v.Brush, v.ColorTo, v.Mirror, v.MirrorTo, v.Font, v.HA,
                          v.VA, v.WW, v.GD);
    return v;
}

}  // namespace

// The colour of a cell in the order of precedence: cell record, grid colour and bands, fixed
// cells, the cell-colour event, then the selection.
TEST(CellColours, PrecedenceOfTheColourSources)
{
    const auto bandsOfTwoAndOne = [](TExtStringGrid& g) {
        g.Bands.SetActive(true);
        g.Bands.SetPrimaryLength(2);
        g.Bands.SetPrimaryColor(0x111111);
        g.Bands.SetSecondaryColor(0x222222);
    };
    const struct Case {
        const char* Name;
        std::function<void(TExtStringGrid&)> Setup;
        int Col, Row;
        TGridDrawState State;
        TColor Brush;
        bool Fixed;
    } cases[] = {
        {"plain cell takes the grid colour", [](TExtStringGrid&) {}, 2, 2, 0, clWindow, false},
        {"cell record colour", [](TExtStringGrid& g) { g.SetColors(2, 2, 0x0000FF); }, 2, 2, 0, 0x0000FF, false},
        {"fixed cell keeps its own colour without a graphic",
         [](TExtStringGrid& g) { g.SetColors(0, 2, 0x00FF00); }, 0, 2, 0, 0x00FF00, false},
        {"fixed cell with a check box takes the fixed colour",
         [](TExtStringGrid& g) {
             g.SetLook(glClassic);
             g.SetColors(0, 2, 0x00FF00);
             g.AddCheckBox(0, 2, true, false);
         },
         0, 2, 0, clBtnFace, true},
        {"fixed cell of a gradient look starts its gradient", [](TExtStringGrid& g) { g.SetLook(glXP); }, 2, 0, 0,
         clWhite, true},
        {"band primary", [](TExtStringGrid& g) { g.Bands.SetActive(true); }, 2, 1, 0, clInfoBk, false},
        {"band secondary", [](TExtStringGrid& g) { g.Bands.SetActive(true); }, 2, 2, 0, clWindow, false},
        {"bands of 2 and 1: third row secondary",
         bandsOfTwoAndOne,
         2, 3, 0, 0x222222, false},
        {"bands of 2 and 1: fourth row primary again",
         bandsOfTwoAndOne,
         2, 4, 0, 0x111111, false},
        {"bands without length fall back to the grid colour",
         [](TExtStringGrid& g) {
             g.Bands.SetActive(true);
             g.Bands.SetPrimaryLength(0);
             g.Bands.SetSecondaryLength(0);
         },
         2, 3, 0, clWindow, false},
        {"the cell colour event has the last word before the selection",
         [](TExtStringGrid& g) {
             g.SetColors(2, 2, 0x0000FF);
             g.OnGetCellColor = [](TExtStringGrid*, int, int, TGridDrawState, TColor& b, TFontDesc&) { b = 0x123456; };
         },
         2, 2, 0, 0x123456, false},
        {"selected cell in the grid colour shows the selection colour",
         [](TExtStringGrid& g) { g.SelectionColorMixer = true; }, 1, 1, gdSelected, 0xEACAB6, false},
        {"selected coloured cell without the mixer shows the selection colour",
         [](TExtStringGrid& g) { g.SetColors(1, 1, 0x000000); }, 1, 1, gdSelected, 0xEACAB6, false},
        {"selected coloured cell with the mixer at 50 shows the even mix",
         [](TExtStringGrid& g) {
             g.SetColors(1, 1, 0x000000);
             g.SelectionColorMixer = true;
         },
         1, 1, gdSelected, 0x75655B, false},
    };
    for (const Case& k : cases) {
        TExtStringGrid g;
        Layout(g, 5, 6, 300, 160);
        k.Setup(g);
        const TVisual v = Visual(g, k.Col, k.Row, k.State);
        EXPECT_EQ(v.Brush, k.Brush) << k.Name;
        EXPECT_EQ(bool(v.State & gdFixed), k.Fixed) << k.Name;
    }
}

namespace {
// The editing layer's list of cells picked one by one.
class TPickedCells : public TGridEditLayer {
public:
    using TGridEditLayer::TGridEditLayer;
    bool IsDisjunctCellSelected(int c, int r) const override { return (c == 2 && r == 2) || (c == 3 && r == 1); }
};
}  // namespace

// Disjunct cell selection: the picked cells show selected, the current cell only when picked.
TEST(CellColours, PickedCellsShowSelectedAndTheCurrentCellOnlyWhenPicked)
{
    TExtStringGrid g;
    g.SetLayers({.Editing = [](TExtStringGrid& g) { return std::make_unique<TPickedCells>(g); }});
    ASSERT_TRUE(g.EditLayer());
    Layout(g, 5, 5, 300, 200);
    g.MouseActions.SetDisjunctCellSelect(true);
    g.SelectionColor = 0x00AA00;
    g.SetColors(1, 1, 0x0000FF);
    g.MoveColRow(1, 1);
    const struct {
        int c, r;
        TColor brush;
        bool selected;
    } cases[] = {{2, 2, 0x00AA00, true}, {3, 1, 0x00AA00, true}, {1, 1, 0x0000FF, false}, {3, 3, clWindow, false}};
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << k.c << "," << k.r);
        const TVisual v = Visual(g, k.c, k.r, k.c == 1 && k.r == 1 ? TGridDrawState(gdSelected | gdFocused) : 0);
        EXPECT_EQ(v.Brush, k.brush);
        EXPECT_EQ((v.State & gdSelected) != 0, k.selected);
    }
}

TEST(CellColours, FontsOfFixedAndNormalCellsAndTheDisabledFont)
{
    TExtStringGrid g;
    Layout(g, 5, 5, 300, 160);
    g.SetFontColors(2, 2, 0x0000FF);
    EXPECT_EQ(Visual(g, 2, 2).Font.Color, 0x0000FFu);
    EXPECT_EQ(Visual(g, 2, 0).Font.Style, g.FixedFont.Style);

    g.setEnabled(false);
    EXPECT_EQ(Visual(g, 2, 2).Font.Color, g.DisabledFontColor);
    EXPECT_EQ(Visual(g, 1, 1, gdSelected).Font.Color, g.DisabledFontColor);
}

TEST(CellColours, BlendColours)
{
    const struct {
        TColor C1, C2;
        int Percent;
        TColor Out;
    } cases[] = {{0xFFFFFF, 0x000000, 50, 0x808080}, {0x0000FF, 0xFF0000, 100, 0x0000FF},
                 {0x0000FF, 0xFF0000, 0, 0xFF0000},  {clNone, 0xFF0000, 50, 0xFF0000},
                 {0x0000FF, clNone, 50, 0x0000FF},   {0x0000FF, 0xFF0000, 25, 0xBF0040}};
    for (const auto& c : cases)
        EXPECT_EQ(TExtStringGrid::BlendColors(c.C1, c.C2, c.Percent), c.Out) << c.Percent;
}

// A merged area is painted once per pass through its base cell, whatever part is asked for.
TEST(CellPainting, MergedAreaPaintedOncePerPass)
{
    TExtStringGrid g;
    Layout(g, 6, 6, 400, 160);
    g.MergeCells(1, 1, 3, 2);
    g.SetCells(1, 1, QStringLiteral("merged"));
    std::vector<std::pair<int, int>> painted;
    g.OnCustomCellDraw = [&](TExtStringGrid*, platform::TCanvas&, int c, int r, TGridDrawState, TRect, bool) {
        if (g.IsMergedCell(c, r))
            painted.emplace_back(c, r);
    };
    Render(g);
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0], std::make_pair(1, 1));

    // Asked for through a non-base cell of the area, the pass still paints the area once.
    painted.clear();
    QImage image(400, 160, QImage::Format_RGB32);
    platform::TCanvas canvas(&image);
    g.PaintGridCell(canvas, 3, 2, g.CellRect(3, 2), 0);
    g.PaintGridCell(canvas, 1, 1, g.CellRect(1, 1), 0);
    g.PaintGridCell(canvas, 2, 1, g.CellRect(2, 1), 0);
    EXPECT_EQ(painted.size(), 1u);
    g.PaintPassDone();
    g.PaintGridCell(canvas, 2, 2, g.CellRect(2, 2), 0);
    EXPECT_EQ(painted.size(), 2u);
}

TEST(CellPainting, ContentRectangleInsideTheGridLines)
{
    const struct {
        int LineWidth;
        int Col, Row;
        int Shrink[4];  // left, top, right, bottom
    } cases[] = {{1, 2, 2, {1, 1, 1, 1}}, {3, 2, 2, {3, 3, 3, 3}}, {1, 2, 0, {0, 0, 1, 2}}, {3, 0, 2, {0, 0, 1, 2}}};
    for (const auto& k : cases) {
        TExtStringGrid g;
        Layout(g, 5, 5, 400, 160);
        g.GridLineWidth = k.LineWidth;
        TRect got;
        g.OnCustomCellDraw = [&](TExtStringGrid*, platform::TCanvas&, int c, int r, TGridDrawState, TRect rect, bool) {
            if (c == k.Col && r == k.Row)
                got = rect;
        };
        Render(g);
        const TRect cell = g.CellRect(k.Col, k.Row);
        EXPECT_EQ(got, (TRect{cell.Left + k.Shrink[0], cell.Top + k.Shrink[1], cell.Right - k.Shrink[2],
                              cell.Bottom - k.Shrink[3]}))
            << k.LineWidth << " " << k.Col << "," << k.Row;
    }
}

TEST(CellPainting, GoldenMergedArea)
{
    TExtStringGrid g;
    Layout(g, 5, 5, 280, 112);
    g.SetColWidths(0, 20);
    for (int c = 1; c < 5; ++c)
        g.SetCells(c, 0, QStringLiteral("Col %1").arg(c));
    for (int r = 1; r < 5; ++r)
        for (int c = 1; c < 5; ++c)
            g.SetCells(c, r, QStringLiteral("%1.%2").arg(c).arg(r));
    g.MergeCells(1, 1, 3, 2);
    g.SetCells(1, 1, QStringLiteral("three by two"));
    g.SetColors(1, 1, 0xE0F0FF);
    g.SetAlignments(1, 1, taCenter);
    g.MoveColRow(4, 4);
    EXPECT_TRUE(testsupport::MatchesGolden(Render(g), TEST_DATA_DIR "/golden/paint_merged_area.png"));
}

TEST(CellPainting, GoldenColourPrecedence)
{
    TExtStringGrid g;
    Layout(g, 5, 6, 260, 136);
    g.SetColWidths(0, 24);
    g.Bands.SetActive(true);
    g.Bands.SetPrimaryColor(0xF0FFF0);
    g.Bands.SetSecondaryColor(0xFFF8F0);
    for (int r = 1; r < 6; ++r)
        for (int c = 1; c < 5; ++c)
            g.SetCells(c, r, QStringLiteral("%1%2").arg(QChar('A' + c - 1)).arg(r));
    g.SetColors(1, 2, 0x0000FF);                // own colour over the bands
    g.SetColors(0, 3, 0x00FFFF);                // a fixed cell keeps its own colour
    g.SetColorsTo(2, 4, 0xFF8000);              // a gradient to another colour
    g.SetColors(2, 4, 0xFFFFFF);
    g.SetFontColors(3, 2, 0x008000);            // text colour of the record
    g.OnGetCellColor = [](TExtStringGrid*, int r, int c, TGridDrawState, TColor& b, TFontDesc& f) {
        if (c == 4 && r == 5) {
            b = 0x404040;
            f.Color = clWhite;
        }
    };
    g.SelectionColorMixer = true;
    g.SetColors(3, 3, 0x0000FF);
    g.SetSelection({2, 3, 3, 3});               // a mixed and a plain selected cell
    EXPECT_TRUE(testsupport::MatchesGolden(Render(g), TEST_DATA_DIR "/golden/paint_colour_precedence.png"));
}

// A cell's own borders are drawn inside its grid lines, each side with its own pen when asked.
TEST(CellPainting, CellBordersInsideTheGridLines)
{
    TExtStringGrid g;
    Layout(g, 4, 4, 260, 100);
    g.OnGetCellBorder = [](TExtStringGrid*, int r, int c, TPenDesc& pen, TCellBorders& borders) {
        if (c == 2 && r == 2) {
            borders = cbRight | cbBottom;
            pen = {1, 0x0000FF};
        }
    };
    g.OnGetCellBorderProp = [](TExtStringGrid*, int, int, TPenDesc&, TPenDesc&, TPenDesc& right, TPenDesc&) {
        right.Color = 0xFF0000;
    };
    const QImage image = Render(g);
    const TRect cell = g.CellRect(2, 2);
    const int midX = (cell.Left + cell.Right) / 2, midY = (cell.Top + cell.Bottom) / 2;
    EXPECT_EQ(image.pixel(cell.Right - 2, midY) & 0xFFFFFF, 0x0000FFu);  // blue right side
    EXPECT_EQ(image.pixel(midX, cell.Bottom - 2) & 0xFFFFFF, 0xFF0000u);  // red bottom side
    EXPECT_NE(image.pixel(cell.Left + 1, midY) & 0xFFFFFF, 0xFF0000u);
    EXPECT_NE(image.pixel(cell.Left + 1, midY) & 0xFFFFFF, 0x0000FFu);
}
