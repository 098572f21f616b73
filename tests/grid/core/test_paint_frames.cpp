#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <functional>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridEditLayer.h"
#include "grid/core/GridUnit.h"
#include "platform/EditorHost.h"
#include "support/GoldenImage.h"
#include "test_paint_support.h"

using namespace grid;
using painttest::Layout;
using painttest::Render;

namespace {

QRgb Rgb(TColor c) { return platform::ToQColor(c).rgb(); }

QPoint Middle(TExtStringGrid& g, int c, int r)
{
    const TRect rect = g.CellRect(c, r);
    return QPoint((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2);
}

void Leave(TExtStringGrid& g)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&g, &leave);
}

constexpr TColor HoverColour = 0x00FFFF;
constexpr TColor DownColour = 0xFF0000;

// A shown grid of the XP look with two header rows' worth of fixed cells and flat, distinct
// hover and pressed colours, the pointer parked outside the cells.
class HoverGrid : public ::testing::Test {
public:
    void SetUp() override
    {
        Layout(g, 5, 5, 330, 130);
        g.SetLook(glXP);
        g.VURGradientHoverFrom = g.VURGradientHoverTo = HoverColour;
        g.VURGradientHoverBorder = 0x008000;
        g.VURGradientDownFrom = g.VURGradientDownTo = DownColour;
        g.VURGradientDownBorder = 0x000080;
        g.show();
        QTest::mouseMove(g.viewport(), QPoint(g.ClientWidth() - 1, g.ClientHeight() - 1));
    }
    QRgb At(QPoint p) { return Render(g).pixel(p); }
    TExtStringGrid g;
};

}  // namespace

TEST_F(HoverGrid, TheHoveredFixedCellFollowsTheMouseAsHoverFixedCellsAllows)
{
    const struct Case {
        const char* Name;
        THoverFixedCells Setting;
        int Col, Row;
        TGridCoord Expected;
    } cases[] = {
        {"header cell, fixed rows", hfFixedRows, 2, 0, {2, 0}},
        {"fixed column of a data row, fixed rows", hfFixedRows, 0, 2, {}},
        {"fixed column of a data row, fixed columns", hfFixedColumns, 0, 2, {0, 2}},
        {"header cell, fixed columns", hfFixedColumns, 2, 0, {}},
        {"corner, all", hfAll, 0, 0, {0, 0}},
        {"header cell, all", hfAll, 3, 0, {3, 0}},
        {"normal cell, all", hfAll, 2, 2, {}},
        {"header cell, none", hfNone, 2, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        g.HoverFixedCells = c.Setting;
        QTest::mouseMove(g.viewport(), QPoint(g.ClientWidth() - 1, g.ClientHeight() - 1));
        QTest::mouseMove(g.viewport(), Middle(g, c.Col, c.Row));
        EXPECT_EQ(g.HoverFixedCell(), c.Expected);
        Leave(g);
        EXPECT_EQ(g.HoverFixedCell(), TGridCoord{});
    }
}

TEST_F(HoverGrid, HoverAndPressedLooksOfAHeaderCell)
{
    g.HoverFixedCells = hfFixedRows;
    const QPoint header = Middle(g, 2, 0), other = Middle(g, 1, 0);
    const QRgb normal = At(header);
    ASSERT_NE(normal, Rgb(HoverColour));

    QTest::mouseMove(g.viewport(), Middle(g, 1, 0));
    QTest::mouseMove(g.viewport(), header);
    EXPECT_EQ(At(header), Rgb(HoverColour));
    EXPECT_EQ(At(other), normal) << "the cell the mouse left is plain again";

    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, header);
    EXPECT_EQ(At(header), Rgb(DownColour));
    QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, header);
    EXPECT_EQ(At(header), Rgb(HoverColour));

    Leave(g);
    EXPECT_EQ(At(header), normal);
}

TEST_F(HoverGrid, TheDropDownButtonOfAHoveredHeaderIsPressedApart)
{
    g.HoverFixedCells = hfFixedRows;
    g.ControlLook.FixedDropDownButton = true;
    const TRect cell = g.CellRect(2, 0);
    const QPoint onButton(cell.Right - 8, cell.Top + 12), onText(cell.Left + 10, cell.Top + 12);

    QTest::mouseMove(g.viewport(), onButton);
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, onButton);
    EXPECT_EQ(At(onButton + QPoint(-4, 0)), Rgb(DownColour));
    EXPECT_EQ(At(onText), Rgb(HoverColour));
    QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, onButton);

    QTest::mouseMove(g.viewport(), onText);
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, onText);
    EXPECT_EQ(At(onText), Rgb(DownColour));
    EXPECT_EQ(At(onButton + QPoint(-4, 0)), Rgb(HoverColour));
    EXPECT_TRUE(testsupport::MatchesGolden(Render(g), TEST_DATA_DIR "/golden/hover_header_drop_down.png"));
    QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, onText);

    // A column that may not show the button is pressed as one.
    g.OnCanShowFixedDropDown = [](TExtStringGrid*, int c, bool& canShow) { canShow = c != 2; };
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, onText);
    EXPECT_EQ(At(onButton + QPoint(-4, 0)), Rgb(DownColour));
    QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, onText);
}

TEST_F(HoverGrid, TheHoveredRowFollowsTheMouseAndGoesOnLeaving)
{
    g.HoverRow = true;
    g.HoverRowColor = 0x80FF80;
    QTest::mouseMove(g.viewport(), Middle(g, 2, 3));
    EXPECT_EQ(g.HoverRowIdx, 3);
    EXPECT_EQ(At(Middle(g, 3, 3)), Rgb(0x80FF80));
    EXPECT_NE(At(Middle(g, 3, 2)), Rgb(0x80FF80));
    Leave(g);
    EXPECT_EQ(g.HoverRowIdx, -1);
    EXPECT_NE(At(Middle(g, 3, 3)), Rgb(0x80FF80));
}

namespace {

constexpr TColor TreeColour = 0x0000FF;

// Row 1 heads rows 2 and 3, row 4 heads row 5; row 6 belongs to no node. Indent 20 so that the
// full and the short stub differ by more than a pixel.
void TreeFixture(TExtStringGrid& g)
{
    Layout(g, 3, 7, 200, 7 * 24 + 4);
    g.SetLook(glClassic);
    g.SetFlat(true);  // no raised edges over the lines where rows meet
    g.CellNode.TreeColor = TreeColour;
    g.CellNode.NodeIndent = 20;
    g.AddNode(1, 3);
    g.AddNode(4, 2);
}

}  // namespace

TEST(TreeLines, ChildRowsShowTheirLevelsLineAndStub)
{
    TExtStringGrid g;
    TreeFixture(g);
    // Column 0 is fixed: its content starts at the cell's left edge.
    auto lineX = [&](int r) { return g.CellRect(0, r).Left + 20 / 2 + 1; };
    auto rowSpan = [&](int r) { return std::pair{g.CellRect(0, r).Top, g.CellRect(0, r).Bottom}; };
    const QImage full = Render(g);
    EXPECT_TRUE(testsupport::MatchesGolden(full, TEST_DATA_DIR "/golden/tree_lines.png"));

    // A row followed by another of its group runs its line through; the last one stops half-way.
    const auto [top2, bottom2] = rowSpan(2);
    EXPECT_EQ(full.pixel(lineX(2), top2), Rgb(TreeColour));
    EXPECT_EQ(full.pixel(lineX(2), bottom2 - 1), Rgb(TreeColour));
    const auto [top5, bottom5] = rowSpan(5);
    EXPECT_EQ(full.pixel(lineX(5), top5 + 1), Rgb(TreeColour));
    EXPECT_NE(full.pixel(lineX(5), bottom5 - 2), Rgb(TreeColour));
    const int mid5 = (top5 + bottom5) / 2;
    EXPECT_EQ(full.pixel(lineX(5) + 8, mid5), Rgb(TreeColour)) << "the full stub reaches the indent's edge";

    for (int r : {0, 6}) {
        const auto [top, bottom] = rowSpan(r);
        EXPECT_NE(full.pixel(lineX(r), (top + bottom) / 2), Rgb(TreeColour)) << "row " << r << " has no line";
    }

    g.CellNode.ShowTreeFull = false;
    const QImage stub = Render(g);
    EXPECT_EQ(stub.pixel(lineX(5) + 3, mid5), Rgb(TreeColour));
    EXPECT_NE(stub.pixel(lineX(5) + 8, mid5), Rgb(TreeColour)) << "the short stub is 4 pixels";

    g.CellNode.ShowTree = false;
    EXPECT_NE(Render(g).pixel(lineX(2), top2), Rgb(TreeColour));
}

TEST(TreeLines, DeeperRowsDrawOneLinePerLevel)
{
    TExtStringGrid g;
    Layout(g, 3, 7, 200, 7 * 24 + 4);
    g.SetLook(glClassic);
    g.SetFlat(true);  // no raised edges over the lines where rows meet
    g.CellNode.TreeColor = TreeColour;
    g.AddNode(1, 5);
    g.AddNode(2, 3);
    ASSERT_EQ(g.GetCellProperties(0, 3)->NodeLevel, 2);
    const QImage image = Render(g);
    const int left = g.CellRect(0, 3).Left;
    const int top = g.CellRect(0, 3).Top;
    EXPECT_EQ(image.pixel(left + 7, top + 2), Rgb(TreeColour)) << "the first level's line";
    EXPECT_EQ(image.pixel(left + 12 + 7, top + 2), Rgb(TreeColour)) << "the row's own level";
}

TEST(ControlBorder, DrawnForTheGradientLooksWithASingleBorder)
{
    constexpr TColor border = 0x0000FF, parentColour = 0x00FF00;
    const struct Case {
        const char* Name;
        std::function<void(TExtStringGrid&)> Setup;
        bool WithParent;
        TColor Outer, Inner;  // clNone: not the border colour
    } cases[] = {
        {"XP look, cells fitted, no parent", [](TExtStringGrid&) {}, false, clNone, border},
        {"XP look, cells fitted, in a window", [](TExtStringGrid&) {}, true, parentColour, border},
        {"XP look, cells not fitted", [](TExtStringGrid& g) { g.FitCellsInGrid = false; }, false, border, clNone},
        {"soft look", [](TExtStringGrid& g) { g.SetLook(glSoft); }, false, clNone, border},
        {"classic look", [](TExtStringGrid& g) { g.SetLook(glClassic); }, false, clNone, clNone},
        {"flat", [](TExtStringGrid& g) { g.SetFlat(true); }, false, clNone, clNone},
        {"no border colour", [](TExtStringGrid& g) { g.BorderColor = clNone; }, false, clNone, clNone},
        {"no single border", [](TExtStringGrid& g) { g.SingleBorder = false; }, false, clNone, clNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QWidget window;
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, platform::ToQColor(parentColour));
        window.setPalette(palette);
        TExtStringGrid g;
        if (c.WithParent)
            g.setParent(&window);
        Layout(g, 3, 6, 200, 100);
        g.SetLook(glXP);
        c.Setup(g);
        if (g.BorderColor != clNone)
            g.BorderColor = border;
        const QImage image = Render(g);
        const int y = 60;
        auto check = [&](int x, TColor expected) {
            if (expected == clNone)
                EXPECT_NE(image.pixel(x, y), Rgb(border)) << "x " << x;
            else
                EXPECT_EQ(image.pixel(x, y), Rgb(expected)) << "x " << x;
        };
        check(0, c.Outer);
        check(1, c.Inner);
        check(image.width() - 1, c.Outer);
        check(image.width() - 2, c.Inner);
    }
}

TEST(ControlBorder, WaitsWhileUpdatesAreLocked)
{
    TExtStringGrid g;
    Layout(g, 3, 6, 200, 100);
    g.SetLook(glXP);
    g.BorderColor = 0x0000FF;
    g.BeginUpdate();
    QImage image(g.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    g.Canvas().Attach(&painter);
    g.DrawBorder(g.Canvas());
    g.Canvas().Detach();
    painter.end();
    EXPECT_NE(image.pixel(1, 50), Rgb(0x0000FF));
    g.EndUpdate();
    EXPECT_EQ(Render(g).pixel(1, 50), Rgb(0x0000FF));
}

TEST(EditorFrame, TheCurrentCellIsFramedWhileItsEditorIsOpen)
{
    const struct Case {
        const char* Name;
        TGridOptions Lines;
        int LineWidth;
        TColor Expected;
    } cases[] = {
        {"grid lines on: the line colour", goHorzLine | goVertLine, 1, 0x00C000},
        {"no grid lines: the grid colour", 0, 1, 0xF0F0A0},
        {"line width 0: the grid colour", goHorzLine | goVertLine, 0, 0xF0F0A0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TExtStringGrid g;
        Layout(g, 4, 4, 260, 100);
        g.Color = 0xF0F0A0;
        g.GridLineColor = 0x00C000;
        g.GridLineWidth = c.LineWidth;
        g.Options = (g.Options & ~(goHorzLine | goVertLine)) | c.Lines;
        g.MoveColRow(2, 2);
        g.show();
        const TRect cell = g.CellRect(2, 2);
        const QPoint edge(cell.Left, (cell.Top + cell.Bottom) / 2);
        EXPECT_EQ(Render(g).pixel(edge), Rgb(g.SelectionColor)) << "no frame without an editor";
        g.EditorHost().Open(new QLineEdit, QRect(cell.Left + 3, cell.Top + 3, cell.Width() - 6, cell.Height() - 6));
        ASSERT_TRUE(g.InplaceEditorShown());
        EXPECT_EQ(Render(g).pixel(edge), Rgb(c.Expected));
        g.EditorHost().Cancel();
    }
}

namespace {

// A shown grid whose frame window tests can look at.
class FocusFrame : public ::testing::Test {
public:
    void SetUp() override
    {
        Layout(a, 5, 5, 330, 150);
        a.move(40, 30);
        a.show();
    }
    void TearDown() override { GridUnit().FocusGrid = nullptr; }
    TExtStringGrid a;
};

}  // namespace

TEST_F(FocusFrame, ARingOverTheCellOwnedByTheLastGridShowingIt)
{
    const TRect cell = a.CellRect(2, 2);
    a.ShowFocusWindow(cell);
    QWidget* w = a.FocusFrameWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(GridUnit().FocusGrid, &a);
    const QPoint cellOnScreen = a.viewport()->mapToGlobal(QPoint(cell.Left, cell.Top));
    EXPECT_EQ(w->geometry(), QRect(cellOnScreen - QPoint(4, 4), QSize(cell.Width() + 9, cell.Height() + 9)));
    const QRegion ring = w->mask();
    EXPECT_TRUE(ring.contains(QPoint(1, 1)));
    EXPECT_TRUE(ring.contains(QPoint(cell.Width() + 6, cell.Height() + 6)));
    EXPECT_FALSE(ring.contains(QPoint(5, 5))) << "the cell itself stays the grid's";
    EXPECT_FALSE(ring.contains(QPoint(cell.Width() + 3, cell.Height() + 3)));

    // The frame follows the current cell.
    a.MoveColRow(3, 1);
    a.MoveFocusWindow();
    const TRect moved = a.CellRect(3, 1);
    EXPECT_EQ(w->pos(), a.viewport()->mapToGlobal(QPoint(moved.Left - 4, moved.Top - 4)));

    // Another grid takes it over; this one's hiding then leaves the other's frame alone.
    TExtStringGrid b;
    Layout(b, 3, 3, 200, 100);
    b.show();
    b.ShowFocusWindow(b.CellRect(1, 1));
    EXPECT_EQ(GridUnit().FocusGrid, &b);
    a.HideFocusWindow();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(GridUnit().FocusGrid, &b);
    b.HideFocusWindow();
    EXPECT_EQ(GridUnit().FocusGrid, nullptr);
    EXPECT_FALSE(b.FocusWindow->Visible);
}

TEST(FocusFrameImage, ATranslucentBlurredRingInTheFrameColour)
{
    const QImage image = TExtStringGrid::FocusFrameImage(60, 20);
    ASSERT_EQ(image.size(), QSize(69, 29));
    EXPECT_EQ(qAlpha(image.pixel(34, 14)), 0) << "nothing over the cell's middle";
    EXPECT_LT(qAlpha(image.pixel(0, 0)), qAlpha(image.pixel(34, 4))) << "the ring fades outwards";
    const QColor ring = QColor::fromRgba(image.pixel(34, 4));
    EXPECT_GT(ring.alpha(), 100);
    // Premultiplied: each channel is the frame colour's scaled by the alpha.
    EXPECT_NEAR(ring.red(), 0x97 * ring.alpha() / 255, 2);
    EXPECT_NEAR(ring.green(), 0xD3 * ring.alpha() / 255, 2);
    EXPECT_NEAR(ring.blue(), 0xFD * ring.alpha() / 255, 2);
    EXPECT_TRUE(TExtStringGrid::FocusFrameImage(0, 20).isNull());

    QImage onWhite(image.size(), QImage::Format_RGB32);
    onWhite.fill(Qt::white);
    QPainter(&onWhite).drawImage(0, 0, image);
    EXPECT_TRUE(testsupport::MatchesGolden(onWhite, TEST_DATA_DIR "/golden/focus_frame.png"));
}

TEST_F(HoverGrid, ListViewHeadersShowTheHotAndPressedHeaderItem)
{
    g.SetLook(glListView);
    g.HoverFixedCells = hfFixedRows;
    const TRect cell = g.CellRect(2, 0);
    const QRect area(cell.Left, cell.Top, cell.Width() - 1, cell.Height() - 2);
    const QImage plain = Render(g).copy(area);
    QTest::mouseMove(g.viewport(), Middle(g, 2, 0));
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, Middle(g, 2, 0));
    const QImage pressed = Render(g).copy(area);
    EXPECT_NE(pressed, plain);
    EXPECT_EQ(pressed.pixel(area.width() / 2, 0), Rgb(clWhite)) << "a white line along the top";
    QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, Middle(g, 2, 0));
    Leave(g);
    EXPECT_EQ(Render(g).copy(area), plain);
}

// The background gradient below the last row stops above the search footer's 32 pixels and the
// floating footer's panel, which cover the foot of the client area.
TEST(EmptyArea, TheBackgroundStopsAboveTheFooters)
{
    const struct {
        bool search, floating;
    } cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "search " << c.search << ", floating " << c.floating);
        TExtStringGrid g;
        painttest::Layout(g, 2, 3, 200, 200);
        g.BackGround.SetDisplay(bdGradientVert);
        g.BackGround.SetColor(clWhite);
        g.BackGround.SetColorTo(platform::clBlue);
        g.SearchFooter.Visible = c.search;
        g.FloatingFooter.SetVisible(c.floating);
        const int cover = (c.search ? 32 : 0) + (c.floating ? g.FooterPanel->Height : 0);
        ASSERT_TRUE(!c.floating || g.FooterPanel->Height > 0);
        // The client area alone, without the footers' own windows on top.
        QImage image(g.Client()->size(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        g.Client()->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        const int h = g.ClientHeight();
        auto painted = [&](int y) {
            const QColor p = image.pixelColor(100, y);
            return p.blue() > p.red() + 20;  // the gradient's bluish foot, not the plain background
        };
        EXPECT_TRUE(painted(h - cover - 1));
        if (cover > 0) {
            EXPECT_FALSE(painted(h - cover));
            EXPECT_FALSE(painted(h - 1));
        }
    }
}

// The header of the column the user drags to a new place shows in the pressed look, whatever
// cell the mouse is over; the other headers stay plain.
TEST(HoverHeader, TheMovingColumnsHeaderShowsPressed)
{
    struct TMovingLayer : TGridEditLayer {
        using TGridEditLayer::TGridEditLayer;
        int MovingColumn() const override { return Moving; }
        int Moving = -1;
    };
    TExtStringGrid g;
    g.SetLayers({.Editing = [](TExtStringGrid& g) { return std::make_unique<TMovingLayer>(g); }});
    auto* layer = static_cast<TMovingLayer*>(g.EditLayer());
    ASSERT_TRUE(layer);
    Layout(g, 5, 5, 330, 130);
    g.SetLook(glXP);
    g.VURGradientDownFrom = g.VURGradientDownTo = DownColour;
    const QPoint header = Middle(g, 2, 0), other = Middle(g, 3, 0);
    const QRgb plain = Render(g).pixel(header);
    ASSERT_NE(plain, Rgb(DownColour));
    layer->Moving = 2;
    const QImage moving = Render(g);
    EXPECT_EQ(moving.pixel(header), Rgb(DownColour));
    EXPECT_EQ(moving.pixel(other), plain);
    EXPECT_NE(moving.pixel(Middle(g, 2, 2)), Rgb(DownColour)) << "only the header, not the column's cells";
}
