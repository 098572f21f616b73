// Right-to-left display: the grid's layout is mirrored as a whole on screen and for the mouse,
// while text, check boxes and pictures keep reading the right way round at their mirrored place.
#include <QHash>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"
#include "support/GoldenImage.h"
#include "test_paint_support.h"

using namespace grid;

namespace {

constexpr int Width = 260, Height = 84;

// Three columns of 60, 110 and 80 pixels under a header row: a check box, a left-aligned name
// and a right-aligned number.
void Build(TExtStringGrid& g, Qt::LayoutDirection direction)
{
    painttest::Layout(g, 3, 4, Width, Height);
    g.SetFixedCols(0);
    g.SetLeftCol(0);
    g.setLayoutDirection(direction);
    g.SetColWidths(0, 60);
    g.SetColWidths(1, 110);
    g.SetColWidths(2, 80);
    g.SetCells(0, 0, QStringLiteral("On"));
    g.SetCells(1, 0, QStringLiteral("Name"));
    g.SetCells(2, 0, QStringLiteral("Value"));
    const char* names[] = {"Alpha", "Beta", "Gamma"};
    for (int r = 1; r < 4; ++r) {
        g.AddCheckBox(0, r, false, true);
        g.SetCells(0, r, r == 2 ? QStringLiteral("N") : QStringLiteral("Y"));
        g.SetCells(1, r, QString::fromLatin1(names[r - 1]));
        g.SetCells(2, r, QString::number(r * 125));
        g.SetAlignments(2, r, taRightJustify);
    }
    // Flat boxes: their frame is ink all round, so their ink box is the box itself.
    g.ControlLook.ControlStyle = csFlat;
}

// The bounding box of the pixels in `area` that differ from its most common colour, the background.
QRect InkBox(const QImage& image, const QRect& area)
{
    QHash<QRgb, int> count;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++count[image.pixel(x, y)];
    QRgb background = 0;
    int most = 0;
    for (auto it = count.cbegin(); it != count.cend(); ++it)
        if (it.value() > most)
            most = it.value(), background = it.key();
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

// Mean grey-level difference of two images of about the same size, at the best of three
// horizontal shifts (text lands on fractions of a pixel).
double Distance(const QImage& a, const QImage& b)
{
    double best = 1e9;
    for (int dx = -1; dx <= 1; ++dx) {
        long sum = 0, n = 0;
        for (int y = 0; y < std::min(a.height(), b.height()); ++y)
            for (int x = std::max(0, -dx); x < std::min(a.width(), b.width() - dx); ++x, ++n)
                sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x + dx, y)));
        if (n > 0)
            best = std::min(best, double(sum) / n);
    }
    return best;
}

QRect Physical(const QRect& r, int clientWidth)
{
    return QRect(clientWidth - r.left() - r.width(), r.top(), r.width(), r.height());
}

struct RightToLeftGrid : ::testing::Test {
    TExtStringGrid ltr, rtl;
    void SetUp() override
    {
        Build(ltr, Qt::LeftToRight);
        Build(rtl, Qt::RightToLeft);
    }
    QRect CellArea(int c, int r)
    {
        const TRect t = ltr.CellRect(c, r);
        return QRect(t.Left + 2, t.Top + 1, t.Width() - 4, t.Height() - 3);
    }
};

TEST_F(RightToLeftGrid, PaintsTheMirroredLayoutWithReadableContent)
{
    const QImage image = painttest::Render(rtl);
    EXPECT_TRUE(testsupport::MatchesGolden(image, TEST_DATA_DIR "/golden/right_to_left_grid.png"));
}

TEST_F(RightToLeftGrid, TextAndCheckBoxesMoveToTheMirroredPlaceButDoNotTurnRound)
{
    const QImage a = painttest::Render(ltr), b = painttest::Render(rtl);
    const int w = rtl.ClientWidth();
    // Text is placed at fractions of a pixel and keeps its glyphs' own side bearings: its ink may
    // sit a pixel or two off the exact mirror and be shaded a little differently.
    const struct {
        int c, r;
        const char* what;
        bool text;
    } cells[] = {{1, 3, "left-aligned name", true}, {1, 2, "left-aligned name", true}, {2, 2, "right-aligned number", true},
                 {0, 1, "checked box", false}, {0, 2, "unchecked box", false}};
    for (const auto& k : cells) {
        SCOPED_TRACE(k.what);
        // Text keeps clear of the lines under the last row.
        const QRect cell = CellArea(k.c, k.r).adjusted(0, 0, 0, k.text ? -4 : 0);
        const QRect inkL = InkBox(a, cell), inkR = InkBox(b, Physical(cell, w));
        ASSERT_FALSE(inkL.isEmpty());
        // The content sits at the mirrored distance from the cell's edges ...
        const QRect mirrored = Physical(inkL, w);
        EXPECT_LE(std::abs(inkR.left() - mirrored.left()), k.text ? 2 : 0);
        EXPECT_LE(std::abs(inkR.right() - mirrored.right()), k.text ? 2 : 0);
        EXPECT_EQ(inkR.top(), inkL.top());
        EXPECT_EQ(inkR.height(), inkL.height());
        // ... and reads the same way round, not mirrored.
        const QImage shown = b.copy(inkR), original = a.copy(inkL);
        if (k.text)
            EXPECT_LT(Distance(shown, original) * 1.5, Distance(shown, original.mirrored(true, false)));
        else
            EXPECT_TRUE(shown == original);
    }
}

// The value written inside a progress bar reads the right way round too (a full bar, so that the
// fill, mirrored or not, looks the same).
TEST_F(RightToLeftGrid, AProgressBarsValueReadsTheRightWayRound)
{
    for (TExtStringGrid* g : {&ltr, &rtl}) {
        g->SetCells(1, 1, QStringLiteral("100"));
        g->AddProgress(1, 1, platform::clNavy, platform::clWhite);
    }
    const QImage a = painttest::Render(ltr), b = painttest::Render(rtl);
    const QRect cell = CellArea(1, 1);
    const QImage original = a.copy(cell), shown = b.copy(Physical(cell, rtl.ClientWidth()));
    EXPECT_LT(Distance(shown, original) * 1.5, Distance(shown, original.mirrored(true, false)));
}

TEST_F(RightToLeftGrid, TheMouseHitsTheCellShownUnderIt)
{
    rtl.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&rtl));
    const int w = rtl.ClientWidth();
    const struct {
        int x;  // from the client's right edge
        int col;
    } clicks[] = {{5, 0}, {59, 0}, {61, 1}, {169, 1}, {171, 2}, {249, 2}};
    for (const auto& k : clicks) {
        SCOPED_TRACE(k.x);
        QTest::mouseClick(rtl.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(w - 1 - k.x, 30));
        EXPECT_EQ(rtl.Col(), k.col);
        EXPECT_EQ(rtl.Row(), 1);
    }
}

TEST_F(RightToLeftGrid, DraggingAColumnsLeftEdgeOutwardsWidensIt)
{
    rtl.Options |= goColSizing;
    rtl.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&rtl));
    QWidget* client = rtl.viewport();
    // Column 1's far edge shows 170 pixels from the right.
    const QPoint edge(rtl.ClientWidth() - 170, 10);
    QTest::mousePress(client, Qt::LeftButton, Qt::NoModifier, edge);
    QTest::mouseMove(client, edge - QPoint(20, 0));
    QTest::mouseRelease(client, Qt::LeftButton, Qt::NoModifier, edge - QPoint(20, 0));
    EXPECT_EQ(rtl.ColWidths(1), 130);
    EXPECT_EQ(rtl.ColWidths(0), 60);
}

}  // namespace

// The floating footer follows the mirrored grid: its coloured area, each column's cell and the
// column under the mouse lie under the grid's columns at the right edge; the text still reads
// the right way round.
TEST_F(RightToLeftGrid, TheFloatingFooterLiesUnderTheMirroredColumns)
{
    constexpr TColor footerColour = 0x00FFFF;
    QImage images[2];
    TExtStringGrid* grids[2] = {&ltr, &rtl};
    for (int i = 0; i < 2; ++i) {
        TExtStringGrid& g = *grids[i];
        g.SetCells(2, 3, QStringLiteral("375"));
        g.FloatingFooter.SetVisible(true);
        g.FloatingFooter.SetColor(footerColour);
        g.Color = clWhite;
        images[i] = QImage(Width, 20, QImage::Format_RGB32);
        images[i].fill(Qt::magenta);
        platform::TCanvas canvas(&images[i]);
        g.FooterPanel->Paint(canvas, Width, 20);
    }
    const QRgb footer = platform::ToQColor(footerColour).rgb(), white = qRgb(255, 255, 255);
    // The columns span 250 of 260 pixels: the spare 10 are on the right, or on the left mirrored;
    // the footer colour shows in column 1 (x 60 to 170 in the layout).
    EXPECT_EQ(images[0].pixel(Width - 4, 10), white);
    EXPECT_EQ(images[1].pixel(4, 10), white);
    EXPECT_EQ(images[0].pixel(65, 18), footer);
    EXPECT_NE(images[0].pixel(Width - 1 - 65, 18), footer);
    EXPECT_EQ(images[1].pixel(Width - 1 - 65, 18), footer);
    EXPECT_NE(images[1].pixel(65, 18), footer);

    // The value of column 2 (x 170 to 250 in the layout) shows at x 10 to 90 mirrored, unturned.
    const QRect ltrCell(172, 3, 76, 14), rtlCell = Physical(ltrCell, Width);
    const QRect ltrInk = InkBox(images[0], ltrCell), rtlInk = InkBox(images[1], rtlCell);
    ASSERT_FALSE(ltrInk.isEmpty());
    ASSERT_FALSE(rtlInk.isEmpty());
    EXPECT_LT(Distance(images[0].copy(ltrInk), images[1].copy(rtlInk)), 8.0);

    // Clicks: the rightmost pixels are column 0, the spare pixels on the left no column.
    EXPECT_EQ(rtl.FooterPanel->ColumnAt(Width - 2), 0);
    EXPECT_EQ(rtl.FooterPanel->ColumnAt(20), 2);
    EXPECT_EQ(rtl.FooterPanel->ColumnAt(4), -1);
    EXPECT_EQ(ltr.FooterPanel->ColumnAt(4), 0);
}
