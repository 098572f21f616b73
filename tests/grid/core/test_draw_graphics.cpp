// Drawing of cell graphics: check boxes and radio buttons in every control style, progress bars,
// pies, range indicators, level bars, shapes and ratings, and the rules painting keeps on the way.
#include <QImage>
#include <gtest/gtest.h>
#include <vector>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridDraw.h"
#include "grid/core/GridGraphicsDraw.h"
#include "support/GoldenImage.h"

using namespace grid;
using platform::TCanvas;

namespace {

QImage Blank(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

TColor At(const QImage& img, int x, int y) { return platform::FromQColor(img.pixelColor(x, y)); }

// Pixels of img within r that differ from white.
int Inked(const QImage& img, QRect r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += img.pixel(x, y) != qRgb(255, 255, 255);
    return n;
}

struct TDraw : ::testing::Test {
    TExtStringGrid g;
    void SetUp() override
    {
        g.SetColCount(4);
        g.SetRowCount(4);
        g.Options |= goEditing;
    }
    // One cell's graphic drawn into a 40 x 24 cell at the origin.
    QImage DrawCell(int c, int r, TAlignment align = taCenter)
    {
        QImage img = Blank(40, 24);
        TCanvas canvas(&img);
        TGraphicPaintCell cell;
        cell.Col = cell.DCol = c;
        cell.Row = r;
        cell.HAlign = align;
        cell.VAlign = g.VAlignment;
        TCellGraphic* graphic = g.GetCellGraphic(c, r);
        DrawCellGraphic(g, canvas, cell, {0, 0, 40, 24}, graphic);
        return img;
    }
};

}  // namespace

// Every control style, each in checked, unchecked and grayed, enabled and disabled; then radio
// groups of three with the second checked, across and stacked.
TEST_F(TDraw, CheckBoxesAndRadiosInEveryStyle)
{
    g.ControlLook.CheckedGlyph = GridResourceBitmap("metrocheckon");
    g.ControlLook.UnCheckedGlyph = GridResourceBitmap("metrocheckoff");
    g.ControlLook.RadioOnGlyph = GridResourceBitmap("metroradioon");
    g.ControlLook.RadioOffGlyph = GridResourceBitmap("metroradiooff");
    const TControlStyle styles[] = {csClassic, csFlat, csWinXP, csBorland, csVUR, csGlyph, csTheme};
    QImage img = Blank(6 * 24 + 2 * 70, 7 * 52);
    {
        TCanvas canvas(&img);
        const QStringList items{"a", "b", "c"};
        for (int s = 0; s < 7; ++s) {
            const int y = s * 52 + 2;
            for (int k = 0; k < 6; ++k) {
                const bool enabled = k < 3;
                TRect r{k * 24 + 2, y, k * 24 + 22, y + 20};
                DrawCheck(g, canvas, r, k % 3 == 0, enabled, k % 3 == 2, styles[s]);
            }
            DrawRadioGroup(g, canvas, {150, y, 210, y + 20}, 3, 1, true, false, &items, false, 0, 0, styles[s]);
            DrawRadioGroup(g, canvas, {215, y, 280, y + 50}, 3, 1, false, true, &items, false, 0, 0, styles[s]);
        }
    }
    EXPECT_TRUE(testsupport::MatchesGolden(img, TEST_DATA_DIR "/golden/check_styles.png"));
}

TEST_F(TDraw, OtherGraphicKinds)
{
    QImage img = Blank(300, 150);
    {
        TCanvas canvas(&img);
        canvas.Brush.Color = platform::clWhite;
        DrawProgressBar(canvas, QRect(4, 4, 90, 20), 0x0000FF, platform::clWhite, platform::clWhite, platform::clBlack,
                        40, 0, 0, 0, 100, "", platform::clGray, false);
        DrawProgressPie(canvas, QRect(100, 4, 20, 20), 0x00A000, 30, false);
        DrawRangeIndicator(canvas, QRect(130, 4, 60, 20), -3, 10, false, platform::clRed, platform::clGreen);
        DrawRangeIndicator(canvas, QRect(200, 4, 60, 20), 6, 10, false, platform::clRed, platform::clGreen);
        TProgressLevels levels;
        levels.Font = canvas.Font;
        DrawLevelProgress(canvas, QRect(4, 30, 90, 18), 80, levels);
        levels.Stacked = true;
        levels.ShowPercentage = false;
        DrawLevelProgress(canvas, QRect(100, 30, 90, 18), 95, levels);
        levels.Stacked = false;
        levels.CompletionSmooth = false;
        DrawLevelProgress(canvas, QRect(200, 30, 90, 18), 50, levels);
        for (int s = 0; s <= csHalfStar; ++s)
            DrawCellShape(canvas, 4 + (s % 10) * 20, 56 + (s / 10) * 20, 16, 16, TCellShape(s), 0x40C0FF, 0x004080);
        DrawGradientButton(canvas, 0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB,
                           platform::clWhite, QRect(4, 100, 60, 22), 0);
        DrawMirrorGradient(canvas, QRect(70, 100, 60, 22), 0xF0F0F0, 0xC0C0C0, 0xB0B0B0, 0xE0E0E0, true, 0x808080,
                           false, true);
        DrawButtonPart(canvas, nullptr, QRect(140, 100, 40, 22), pstClassic, psNormal, {});
        DrawSpinPart(canvas, nullptr, QRect(190, 100, 40, 22), pstClassic, psNormal, {});
        DrawComboArrowPart(canvas, nullptr, QRect(240, 100, 40, 22), pstClassic, psNormal, {});
    }
    EXPECT_TRUE(testsupport::MatchesGolden(img, TEST_DATA_DIR "/golden/graphic_kinds.png"));
}

TEST(ProgressText, FormatsAreAppliedOnlyWhenTheyMatchTheValue)
{
    const struct {
        const char* format;
        double position;
        const char* expected;
    } cases[] = {
        {"", 150, "150%"},
        {"", -5, "-5%"},
        {"", 12.5, "12%"},  // halves go to the even neighbour
        {"%.1f", 12.34, "12.3"},
        {"%.0f kg", 2.4, "2 kg"},
        {"%d items", 7.6, "8 items"},
        {"Rate %.1f", 3.24, "Rate 3.2"},
        {"Load %.1f", 3.24, "Load %.1f"},  // a d anywhere asks for an integer, which %f is not
        {"%s", 1, "%s"},
        {"%d of %d", 1, "%d of %d"},
        {"%n", 1, "%n"},
        {"%ld", 1, "%ld"},
        {"100%%", 5, "100%%"},
        {"%5u%%", 42, "   42%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgressText(QString::fromLatin1(c.format), c.position), QString::fromLatin1(c.expected)) << c.format;
}

TEST(DrawProgressBar, DoneWidthFollowsTheClampedPercentage)
{
    const struct {
        double position, minimum, maximum;
        const char* format;
        int doneRight;  // last red column, -1 for none
    } cases[] = {
        {150, 0, 100, "", 99},
        {-5, 0, 100, "", -1},
        {50, 0, 100, "", 49},
        {30, 20, 40, "%d", 49},
        {30, 40, 40, "%d", -1},  // an empty range draws an empty bar
        {30, 20, 40, "%s", 49},
    };
    for (const auto& c : cases) {
        QImage img = Blank(104, 24);
        {
            TCanvas canvas(&img);
            canvas.Font.SetHeight(-6);
            DrawProgressBar(canvas, QRect(2, 2, 100, 20), platform::clRed, platform::clRed, platform::clWhite,
                            platform::clWhite, c.position, 0, 0, c.minimum, c.maximum, c.format, clNone, false);
        }
        int last = -1;
        for (int x = 2; x < 102; ++x)
            if (At(img, x, 3) == platform::clRed)
                last = x - 2;
        EXPECT_EQ(last, c.doneRight) << c.position << " " << c.format;
    }
}

TEST(DrawShapes, CircleTakesTheSmallerSideAndUnknownShapesDrawNothing)
{
    QImage img = Blank(30, 20);
    {
        TCanvas canvas(&img);
        DrawCellShape(canvas, 0, 0, 20, 10, csCircle, platform::clRed, platform::clRed);
        DrawCellShape(canvas, 0, 12, 20, 8, TCellShape(19), platform::clRed, platform::clRed);
    }
    EXPECT_EQ(Inked(img, QRect(11, 0, 19, 20)), 0);
    EXPECT_EQ(Inked(img, QRect(0, 11, 30, 9)), 0);
    EXPECT_EQ(At(img, 5, 5), platform::clRed);
}

TEST(DrawRangeIndicator, ValueBeyondTheRangeFillsHalfTheWidth)
{
    for (int value : {25, -25}) {
        QImage img = Blank(44, 10);
        {
            TCanvas canvas(&img);
            DrawRangeIndicator(canvas, QRect(0, 0, 44, 10), value, 10, false, platform::clRed, platform::clGreen);
            // A range of 0 must not divide.
            DrawRangeIndicator(canvas, QRect(0, 0, 44, 10), value, 0, false, platform::clRed, platform::clGreen);
        }
        EXPECT_EQ(Inked(img, QRect(0, 5, 44, 1)), 20) << value;
        EXPECT_EQ(At(img, value > 0 ? 41 : 2, 5), value > 0 ? platform::clGreen : platform::clRed);
    }
}

TEST(DrawGridGradient, MissingColourFillsFlatAndEmptyRectDrawsNothing)
{
    QImage img = Blank(20, 10);
    {
        TCanvas canvas(&img);
        DrawGridGradient(canvas, clNone, platform::clBlue, 16, QRect(0, 0, 10, 10), true);
        DrawGridGradient(canvas, platform::clRed, platform::clBlue, 0, QRect(10, 0, 10, 0), true);
        DrawGridGradient(canvas, platform::clRed, platform::clBlue, 500, QRect(10, 0, 10, 10), true);
    }
    EXPECT_EQ(At(img, 0, 0), platform::clBlue);
    EXPECT_EQ(At(img, 9, 9), platform::clBlue);
    EXPECT_EQ(At(img, 10, 5), platform::clRed);
    EXPECT_NE(At(img, 15, 5), platform::clRed);
}

// The grid's gradient draws steps + 1 bands of truncated sizes, the last one in the end colour at
// the far edge; steps are at least 1 and at most one per pixel.
TEST(DrawGridGradient, BandsEndOnTheEndColourAtTheFarEdge)
{
    const TColor black = platform::clBlack, white = platform::clWhite, grey = platform::RGBToColor(128, 128, 128);
    const TColor red = platform::clRed, blue = platform::clBlue;
    const struct {
        int steps;
        TColor from, to;
        std::vector<TColor> pixels;  // along the gradient, from the near edge
    } cases[] = {
        {0, black, white, {black, black, black, black, black, black, black, black, black, white}},
        {-3, black, white, {black, black, black, black, black, black, black, black, black, white}},
        {2, black, white, {black, black, black, black, grey, grey, grey, grey, grey, white}},
        {500, red, blue,
         {red, platform::RGBToColor(227, 0, 28), platform::RGBToColor(198, 0, 57), platform::RGBToColor(170, 0, 85),
          platform::RGBToColor(142, 0, 113), platform::RGBToColor(113, 0, 142), platform::RGBToColor(85, 0, 170),
          platform::RGBToColor(57, 0, 198), platform::RGBToColor(28, 0, 227), blue}},
    };
    for (const auto& c : cases) {
        for (bool horizontal : {true, false}) {
            SCOPED_TRACE(testing::Message() << "steps " << c.steps << (horizontal ? " horizontal" : " vertical"));
            QImage img = Blank(14, 14);
            {
                TCanvas canvas(&img);
                DrawGridGradient(canvas, c.from, c.to, c.steps,
                                 horizontal ? QRect(2, 2, 10, 6) : QRect(2, 2, 6, 10), horizontal);
            }
            for (int i = 0; i < 10; ++i) {
                const int x = horizontal ? 2 + i : 4, y = horizontal ? 4 : 2 + i;
                EXPECT_EQ(At(img, x, y), c.pixels[size_t(i)]) << "pixel " << i;
            }
            // Nothing beyond the far edge.
            EXPECT_EQ(At(img, horizontal ? 12 : 4, horizontal ? 4 : 12), white);
        }
    }
}

TEST(ColourHelpers, InterpolateHalfBrightAndScale)
{
    EXPECT_EQ(InterpolateColor(platform::clBlack, platform::clWhite, 0, 10, 5), platform::RGBToColor(128, 128, 128));
    EXPECT_EQ(InterpolateColor(platform::clRed, clNone, 0, 10, 5), platform::clRed);
    EXPECT_EQ(InterpolateColor(platform::clRed, platform::clBlue, 3, 3, 1), platform::clRed);  // empty span
    EXPECT_EQ(HalfBrightColor(platform::RGBToColor(200, 101, 7)), platform::RGBToColor(100, 50, 3));
    EXPECT_EQ(ScaleColorBrightness(platform::RGBToColor(100, 200, 0), -20), platform::RGBToColor(80, 160, 0));
    EXPECT_EQ(ScaleColorBrightness(platform::RGBToColor(250, 100, 0), 7), platform::RGBToColor(255, 107, 0));
}

// A data check box shows the exact text "Y" (or the column's check value) as checked; its text is
// never drawn. Enabled follows editability.
TEST_F(TDraw, DataCheckBoxFollowsTheExactCellText)
{
    g.ControlLook.ControlStyle = csClassic;
    g.AddCheckBox(1, 1, false, true);
    g.SetCells(1, 1, "Y");
    const QImage checked = DrawCell(1, 1);
    g.SetCells(1, 1, "N");
    const QImage unchecked = DrawCell(1, 1);
    ASSERT_NE(checked, unchecked);
    for (const char* text : {"y", "", "yes", "Y "}) {
        g.SetCells(1, 1, text);
        EXPECT_EQ(DrawCell(1, 1), unchecked) << text;
    }
    TCellVAlign va;
    TCellHAlign ha;
    bool drawText = true;
    int h = 0, w = 0;
    ASSERT_NE(CellGraphicLayout(g, 1, 1, va, ha, drawText, h, w), nullptr);
    EXPECT_FALSE(drawText);
    EXPECT_EQ(w, 15);
    EXPECT_EQ(h, 15);

    // Centred text alignment centres the box: 15 wide in the 40-pixel cell, from 12 to 26.
    g.SetCells(1, 1, "Y");
    const QImage centred = DrawCell(1, 1, taCenter);
    EXPECT_EQ(Inked(centred, QRect(0, 0, 12, 24)), 0);
    EXPECT_EQ(Inked(centred, QRect(28, 0, 12, 24)), 0);

    g.Options &= ~goEditing;
    EXPECT_NE(DrawCell(1, 1), checked);  // read-only draws the inactive look
    g.ControlLook.CheckAlwaysActive = true;
    EXPECT_EQ(DrawCell(1, 1), checked);
}

TEST_F(TDraw, NumberCellsPaintTextThatIsNoNumberAsZero)
{
    g.AddRating(1, 1, 5, platform::clRed, platform::clSilver);
    g.AddExtProgress(2, 1, 0, 100);
    g.AddRangeIndicator(3, 1, 10, platform::clRed, platform::clGreen, true);
    g.AddProgress(1, 2, platform::clRed, platform::clWhite);
    for (const auto& [c, r] : std::vector<std::pair<int, int>>{{1, 1}, {2, 1}, {3, 1}, {1, 2}}) {
        g.SetCells(c, r, "0");
        const QImage zero = DrawCell(c, r);
        g.SetCells(c, r, "abc");
        QImage text;
        EXPECT_NO_THROW(text = DrawCell(c, r)) << c << "," << r;
        EXPECT_EQ(text, zero) << c << "," << r;
    }
}

// A rating of 3.5 on a scale of 5: three full stars, a half star, one empty star.
TEST_F(TDraw, RatingRoundsToHalfStars)
{
    g.AddRating(1, 1, 5, platform::clRed, platform::clSilver);
    g.SetCells(1, 1, "3.4");
    QImage img = Blank(100, 24);
    {
        TCanvas canvas(&img);
        TGraphicPaintCell cell;
        cell.Col = cell.DCol = 1;
        cell.Row = 1;
        DrawCellGraphic(g, canvas, cell, {0, 0, 100, 24}, g.GetCellGraphic(1, 1));
    }
    const int left = 2;  // inside the cell offset, one pixel in
    auto reds = [&](int star) {
        int n = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = left + star * 18; x < left + star * 18 + 17; ++x)
                n += At(img, x, y) == platform::clRed;
        return n;
    };
    const int full = reds(0);
    EXPECT_GT(full, 50);
    EXPECT_EQ(reds(1), full);
    EXPECT_EQ(reds(2), full);
    EXPECT_GT(reds(3), full / 4);
    EXPECT_LT(reds(3), full * 3 / 4);
    EXPECT_EQ(reds(4), 0);
}
