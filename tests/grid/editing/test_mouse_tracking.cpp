// Mouse tracking: columns and rows moved by their headers with the drop markers and cursors, and
// links of mark-up texts entered and left, with real mouse events on a shown grid.
#include <gtest/gtest.h>

#include "controls/common/HTMLHintWindow.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QTest>

#include "grid/core/GridHelperControls.h"
#include "grid/core/GridTextUtils.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "support/GoldenImage.h"

#include "InputSuite.h"

using namespace grid;
using namespace grid::editing;

namespace {

// Five columns (column 0 fixed) and six rows (row 0 fixed); header "h<c>", cells "<c>:<r>".
struct MouseTracking : WithGridInput {
    std::unique_ptr<TExtStringGrid> grid;
    TExtStringGrid& g() { return *grid; }

    void SetUp() override
    {
        grid = std::make_unique<TExtStringGrid>();
        grid->SetLayers(InputLayers());
        g().SetColCount(5);
        g().SetRowCount(6);
        for (int c = 0; c < 5; ++c) {
            g().SetColWidths(c, 60);
            g().SetCells(c, 0, QStringLiteral("h%1").arg(c));
            for (int r = 1; r < 6; ++r)
                g().SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
        }
        g().resize(360, 200);
        g().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g()));
    }
    // The mouse is left off every window, so no later test finds it hovering over its widgets.
    void TearDown() override { QTest::mouseMove(client(), QPoint(-2000, -2000)); }
    TGridInputHandler& input() { return dynamic_cast<TGridInputHandler&>(*EditController(g())->Input()); }
    QWidget* client() { return g().viewport(); }
    QPoint centre(int c, int r)
    {
        const TRect rc = g().CellRect(c, r);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
    // Press on one cell, move over the cells on the way, release on the last.
    void drag(std::vector<QPoint> cells)
    {
        QTest::mousePress(client(), Qt::LeftButton, {}, centre(cells[0].x(), cells[0].y()));
        for (size_t i = 1; i < cells.size(); ++i)
            QTest::mouseMove(client(), centre(cells[i].x(), cells[i].y()));
        QTest::mouseRelease(client(), Qt::LeftButton, {}, centre(cells.back().x(), cells.back().y()));
    }
    QString row(int r)
    {
        QStringList cells;
        for (int c = 0; c < 5; ++c)
            cells << g().Cells(c, r);
        return cells.join(QLatin1Char(' '));
    }
};

TEST_F(MouseTracking, ColumnsMoveByTheirHeader)
{
    const struct {
        const char* Name;
        int To;
        bool RefuseStart, RefuseTarget;
        const char* Header;
    } cases[] = {
        {"onto a later column", 3, false, false, "h0 h2 h3 h1 h4"},
        {"onto its own place", 1, false, false, "h0 h1 h2 h3 h4"},
        {"start refused", 3, true, false, "h0 h1 h2 h3 h4"},
        {"target refused", 3, false, true, "h0 h1 h2 h3 h4"},
        {"onto the fixed column", 0, false, false, "h0 h1 h2 h3 h4"},
    };
    g().Options |= goColMoving;
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        SetUp();
        g().Options |= goColMoving;
        input().OnColumnMove = [&](TExtStringGrid*, int, bool& allow) { allow = !k.RefuseStart; };
        input().OnColumnMoving = [&](TExtStringGrid*, int, bool& allow) { allow = !k.RefuseTarget; };
        drag({{1, 0}, {2, 0}, {k.To, 0}});
        EXPECT_EQ(row(0), k.Header);
        EXPECT_EQ(input().MovingColumn(), -1);
        EXPECT_FALSE(g().HeaderDragButton->Visible());
        // The cells went with their header.
        EXPECT_EQ(g().Cells(3, 2), k.Header == std::string("h0 h2 h3 h1 h4") ? "1:2" : "3:2");
    }
}

TEST_F(MouseTracking, AColumnMoveShowsWhereItLands)
{
    g().Options |= goColMoving;
    input().DragDrop().Settings.ShowCells = false;  // the moving button stands for the column
    std::vector<int> asked;
    input().OnColumnMoving = [&](TExtStringGrid*, int col, bool& allow) {
        asked.push_back(col);
        allow = col != 2;
    };
    QTest::mousePress(client(), Qt::LeftButton, {}, centre(1, 0));
    QTest::mouseMove(client(), centre(3, 0));
    EXPECT_EQ(input().MovingColumn(), 1);
    EXPECT_EQ(input().MoveTarget(), 3);
    EXPECT_TRUE(g().HeaderDragButton->Visible());
    EXPECT_EQ(g().HeaderDragButton->Caption(), "h1");
    // The markers stand at the right edge of a later column, above and below its header.
    const TArrowWindow& up = *g().ArrowWindows[0];
    const TArrowWindow& down = *g().ArrowWindows[1];
    ASSERT_TRUE(up.Visible() && down.Visible());
    const QPoint edge = client()->mapToGlobal(QPoint(g().CellRect(3, 0).Right, 0));
    EXPECT_NEAR(up.Bounds().Left + 4, edge.x(), 1);
    EXPECT_LT(down.Bounds().Top, up.Bounds().Top);
    EXPECT_EQ(g().Cursor().shape(), Qt::DragMoveCursor);

    QTest::mouseMove(client(), centre(2, 0));
    EXPECT_EQ(g().Cursor().shape(), Qt::ForbiddenCursor);
    QTest::mouseRelease(client(), Qt::LeftButton, {}, centre(2, 0));
    EXPECT_EQ(asked, (std::vector<int>{3, 2}));
    EXPECT_EQ(row(0), "h0 h1 h2 h3 h4");
    EXPECT_FALSE(up.Visible() || down.Visible());
    EXPECT_NE(g().Cursor().shape(), Qt::ForbiddenCursor);
}

// The markers and the moving button are windows of their own above the grid: shown at their
// screen places, never taking the focus or the mouse, and hidden again by the release.
TEST_F(MouseTracking, TheMoveMarkersAreWindowsOnTheScreen)
{
    g().Options |= goColMoving;
    g().SetArrowColor(platform::clRed);
    input().DragDrop().Settings.ShowCells = false;
    const QPoint press = centre(1, 0) + QPoint(6, 2);
    QTest::mousePress(client(), Qt::LeftButton, {}, press);
    QTest::mouseMove(client(), centre(2, 0));
    const QPoint mouse(centre(2, 0).x() + 20, centre(2, 2).y());  // over row 2, on column 2
    QTest::mouseMove(client(), mouse);
    ASSERT_EQ(input().MoveTarget(), 2);
    const TRect target = g().CellRect(2, 0);
    const struct {
        const char* Name;
        int Index;
        QPoint TopLeft;  // client coordinates
    } arrows[] = {
        {"down, above the header", 1, {target.Right - 4, target.Top - 9}},
        {"up, below the header", 0, {target.Right - 4, target.Bottom}},
    };
    for (const auto& a : arrows) {
        SCOPED_TRACE(a.Name);
        const TArrowWindow& arrow = *g().ArrowWindows[size_t(a.Index)];
        EXPECT_TRUE(arrow.isVisible());
        EXPECT_TRUE(arrow.isWindow());
        EXPECT_TRUE(arrow.windowFlags().testFlag(Qt::WindowTransparentForInput));
        EXPECT_TRUE(arrow.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
        EXPECT_EQ(arrow.Color(), platform::clRed);
        EXPECT_EQ(arrow.frameGeometry().topLeft(), client()->mapToGlobal(a.TopLeft));
        EXPECT_EQ(arrow.Bounds().Left, arrow.frameGeometry().left());
    }
    EXPECT_FALSE(g().ArrowWindows[2]->isVisible() || g().ArrowWindows[3]->isVisible()) << "no row markers";
    // The button: the column's width, the height of the row under the mouse, the press point kept
    // under the mouse.
    g().SetRowHeights(2, 31);
    QTest::mouseMove(client(), mouse + QPoint(1, 0));
    const THeaderDragButton& button = *g().HeaderDragButton;
    EXPECT_TRUE(button.isVisible() && button.isWindow());
    EXPECT_TRUE(button.windowFlags().testFlag(Qt::WindowTransparentForInput));
    const TRect pressed = g().CellRect(1, 0);
    EXPECT_EQ(button.size(), QSize(pressed.Right - pressed.Left, 31));
    EXPECT_EQ(button.frameGeometry().topLeft(),
              client()->mapToGlobal(mouse + QPoint(1, 0) - (press - QPoint(pressed.Left, pressed.Top))));
    for (QWidget* w : {QApplication::focusWidget(), QApplication::activeWindow()})
        EXPECT_TRUE(w == nullptr || w->window() == g().window()) << "a marker took the focus";

    QTest::mouseRelease(client(), Qt::LeftButton, {}, mouse);
    for (const auto& arrow : g().ArrowWindows)
        EXPECT_FALSE(arrow->isVisible());
    EXPECT_FALSE(button.isVisible());
}

// The button shows a mark-up header as it stands.
TEST_F(MouseTracking, TheMovingButtonShowsPlainText)
{
    THeaderDragButton button;
    button.SetCaption(QStringLiteral("<b>h</b>"));
    button.resize(80, 20);
    const QImage shown = button.grab().toImage();
    QImage expected(shown.size(), shown.format());
    expected.fill(button.palette().button().color());
    const int wide = QFontMetrics(button.font()).horizontalAdvance(QStringLiteral("<b>h</b>"));
    int left = shown.width(), right = -1;
    for (int y = 2; y < shown.height() - 2; ++y)
        for (int x = 2; x < shown.width() - 2; ++x)
            if (shown.pixelColor(x, y) != expected.pixelColor(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(right, left);
    EXPECT_GT(right - left + 1, wide * 3 / 4) << "the tags are drawn as text";
}

TEST_F(MouseTracking, AMovedColumnKeepsItsSortMarkAndTheCurrentCell)
{
    g().Options |= goColMoving;
    g().SortSettings.Column = 1;
    g().MoveColRow(1, 2);
    drag({{1, 0}, {4, 0}});
    EXPECT_EQ(row(0), "h0 h2 h3 h4 h1");
    EXPECT_EQ(g().SortSettings.Column, 4);
    EXPECT_EQ(g().Col(), 4);
    EXPECT_EQ(g().Cells(g().Col(), g().Row()), "1:2");
}

TEST_F(MouseTracking, RowsMoveByTheirFixedCell)
{
    g().Options |= goRowMoving;
    std::vector<int> started;
    input().OnRowMove = [&](TExtStringGrid*, int r, bool&) { started.push_back(r); };
    drag({{0, 2}, {0, 3}, {0, 4}});
    EXPECT_EQ(started, std::vector<int>{2});
    EXPECT_EQ(row(4), "0:2 1:2 2:2 3:2 4:2");
    EXPECT_EQ(row(2), "0:3 1:3 2:3 3:3 4:3");
    // Without the option a press on the fixed column moves nothing.
    g().Options &= ~goRowMoving;
    drag({{0, 1}, {0, 5}});
    EXPECT_EQ(row(1), "0:1 1:1 2:1 3:1 4:1");
}

// With ShowCells a copy of the moved column's visible cells floats with the mouse, keeping the
// press point under it, in place of the moving button; the release frees it.
TEST_F(MouseTracking, AMovedColumnFloatsWithTheMouse)
{
    g().Options |= goColMoving;
    g().SetColWidths(1, 50);
    const QPoint press = centre(1, 0) + QPoint(5, 3);
    QTest::mousePress(client(), Qt::LeftButton, {}, press);
    EXPECT_EQ(input().FloatingCopy(), nullptr);
    const QPoint at = centre(3, 0) + QPoint(0, 40);
    QTest::mouseMove(client(), centre(2, 0));
    QTest::mouseMove(client(), at);
    TFloatingCells* copy = input().FloatingCopy();
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->isVisible());
    EXPECT_FALSE(g().HeaderDragButton->Visible());
    EXPECT_EQ(input().MoveTarget(), 3);
    // The whole visible column, header to last row, as the grid drew it before the move.
    const TRect col = g().CellRect(1, 0);
    EXPECT_EQ(copy->size(), QSize(50, g().CellRect(1, 5).Bottom - col.Top));
    EXPECT_EQ(copy->Origin(), QPoint(col.Left, col.Top));
    EXPECT_EQ(copy->pos(), client()->mapToGlobal(at) - (press - copy->Origin()));

    // The screen mid-drag: the grid with the copy above it.
    QImage screen = g().grab().toImage();
    {
        QPainter painter(&screen);
        painter.drawPixmap(g().mapFromGlobal(copy->pos()), copy->grab());
    }
    EXPECT_TRUE(testsupport::MatchesGolden(screen, TEST_DATA_DIR "/golden/column_move_floating_copy.png"));

    QTest::mouseRelease(client(), Qt::LeftButton, {}, at);
    EXPECT_EQ(input().FloatingCopy(), nullptr);
    EXPECT_EQ(row(0), "h0 h2 h3 h1 h4");
}

// Read right to left the copy is the mirrored column, still keeping the press point under the
// mouse, so that it hangs by its right edge as the column does.
TEST_F(MouseTracking, AMovedColumnFloatsMirroredRightToLeft)
{
    g().setLayoutDirection(Qt::RightToLeft);
    g().Options |= goColMoving;
    auto physical = [&](QPoint p) { return QPoint(g().MirrorX(p.x()), p.y()); };
    const QPoint press = physical(centre(1, 0) + QPoint(-10, 0));
    QTest::mousePress(client(), Qt::LeftButton, {}, press);
    const QPoint at = physical(centre(3, 0));
    QTest::mouseMove(client(), at);
    TFloatingCells* copy = input().FloatingCopy();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(input().MoveTarget(), 3);
    const TRect col = g().MirrorRect(g().CellRect(1, 0));
    EXPECT_EQ(copy->Origin().x(), std::min(col.Left, col.Right));
    EXPECT_EQ(copy->pos(), client()->mapToGlobal(at) - (press - copy->Origin()));
    QTest::mouseRelease(client(), Qt::LeftButton, {}, at);
    EXPECT_EQ(row(0), "h0 h2 h3 h1 h4");
}

// A moved row floats the same way; a column scrolled out of sight is left out of the copy.
TEST_F(MouseTracking, AMovedRowFloatsWithTheMouse)
{
    g().Options |= goRowMoving;
    g().SetColWidths(4, 400);  // partly beyond the client area
    const QPoint press = centre(0, 2);
    QTest::mousePress(client(), Qt::LeftButton, {}, press);
    const QPoint at = centre(0, 4) + QPoint(30, 0);
    QTest::mouseMove(client(), at);
    TFloatingCells* copy = input().FloatingCopy();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->width(), client()->width());
    EXPECT_EQ(copy->height(), g().RowHeights(2));
    EXPECT_EQ(copy->pos(), client()->mapToGlobal(at) - (press - copy->Origin()));
    QTest::mouseRelease(client(), Qt::LeftButton, {}, at);
    EXPECT_EQ(input().FloatingCopy(), nullptr);
    EXPECT_EQ(row(4), "0:2 1:2 2:2 3:2 4:2");
}

// With SizeFixedCol (SizeFixedRow) the border of a fixed column (row) sizes it in any row: the
// mouse on the border shows the split cursor, the line and the sizing events follow the mouse,
// and the release sets the size, tells it and lets OnUpdateColumnSize change it.
TEST_F(MouseTracking, FixedColumnsAndRowsSizeByTheirBorder)
{
    g().MouseActions.SizeFixedCol = g().MouseActions.SizeFixedRow = true;
    std::vector<std::string> seen;
    auto note = [&](const char* what, int i, int size) {
        seen.push_back(std::string(what) + " " + std::to_string(i) + " " + std::to_string(size));
    };
    input().OnColumnSizing = [&](TExtStringGrid*, int c, int w) { note("sizing col", c, w); };
    input().OnRowSizing = [&](TExtStringGrid*, int r, int h) { note("sizing row", r, h); };
    g().OnEndColumnSize = [&](TExtStringGrid*, int c) { note("end col", c, g().ColWidths(c)); };
    g().OnEndRowSize = [&](TExtStringGrid*, int r) { note("end row", r, g().RowHeights(r)); };
    int update = -1;
    g().OnUpdateColumnSize = [&](TExtStringGrid*, int, int& w) {
        if (update >= 0)
            w = update;
    };

    const QPoint border(g().CellRect(0, 3).Right, centre(0, 3).y());
    QTest::mouseMove(client(), border + QPoint(-1, 0));
    EXPECT_EQ(client()->cursor().shape(), Qt::SplitHCursor);
    QTest::mousePress(client(), Qt::LeftButton, {}, border);
    EXPECT_EQ(input().SizingFixedCol(), 0);
    ASSERT_NE(input().SizingLine(), nullptr);
    EXPECT_TRUE(input().SizingLine()->isVisible());
    input().HintShowSizing = true;
    QTest::mouseMove(client(), border + QPoint(20, 0));
    EXPECT_EQ(input().SizingLine()->x(), border.x() + 20);
    ASSERT_NE(input().SizingHint(), nullptr);
    EXPECT_TRUE(input().SizingHint()->HintShown());
    EXPECT_EQ(input().SizingHint()->Caption(), QStringLiteral("cw=<b>%1</b>").arg(border.x() + 20));
    QTest::mouseRelease(client(), Qt::LeftButton, {}, border + QPoint(30, 0));
    EXPECT_EQ(g().ColWidths(0), border.x() + 30);
    EXPECT_FALSE(input().SizingLine()->isVisible());
    EXPECT_FALSE(input().SizingHint()->HintShown());
    input().HintShowSizing = false;
    EXPECT_EQ(input().SizingFixedCol(), -1);
    // The press moved no selection.
    EXPECT_EQ(g().Row(), 1);
    const int w = border.x();
    EXPECT_EQ(seen, (std::vector<std::string>{"sizing col 0 " + std::to_string(w), "sizing col 0 " + std::to_string(w + 20),
                                              "end col 0 " + std::to_string(w + 30)}));

    // OnUpdateColumnSize has the last word.
    update = 45;
    const QPoint border2(g().CellRect(0, 3).Right, centre(0, 3).y());
    QTest::mouseMove(client(), border2);
    QTest::mousePress(client(), Qt::LeftButton, {}, border2);
    QTest::mouseRelease(client(), Qt::LeftButton, {}, border2 + QPoint(-20, 0));
    EXPECT_EQ(g().ColWidths(0), 45);

    // The header row's bottom border sizes the header row, in any column.
    seen.clear();
    const QPoint bottom(centre(3, 0).x(), g().CellRect(3, 0).Bottom);
    QTest::mouseMove(client(), bottom);
    EXPECT_EQ(client()->cursor().shape(), Qt::SplitVCursor);
    QTest::mousePress(client(), Qt::LeftButton, {}, bottom);
    EXPECT_EQ(input().SizingFixedRow(), 0);
    QTest::mouseMove(client(), bottom + QPoint(0, 10));
    QTest::mouseRelease(client(), Qt::LeftButton, {}, bottom + QPoint(0, 10));
    EXPECT_EQ(g().RowHeights(0), bottom.y() + 10);
    EXPECT_EQ(seen, (std::vector<std::string>{"sizing row 0 " + std::to_string(bottom.y()),
                                              "sizing row 0 " + std::to_string(bottom.y() + 10),
                                              "end row 0 " + std::to_string(bottom.y() + 10)}));
}

// Without the settings a fixed border is no sizing place: the press selects as ever.
TEST_F(MouseTracking, FixedBordersSizeNothingWithoutTheSettings)
{
    const int width = g().ColWidths(0);
    const QPoint border(g().CellRect(0, 3).Right, centre(0, 3).y());
    QTest::mouseMove(client(), border);
    EXPECT_NE(client()->cursor().shape(), Qt::SplitHCursor);
    QTest::mousePress(client(), Qt::LeftButton, {}, border);
    EXPECT_EQ(input().SizingFixedCol(), -1);
    QTest::mouseMove(client(), border + QPoint(20, 0));
    QTest::mouseRelease(client(), Qt::LeftButton, {}, border + QPoint(20, 0));
    EXPECT_EQ(g().ColWidths(0), width);
}

// A synchronised grid makes the same move once, whichever of the two the user moved in; a moved
// row keeps its height and is told.
TEST_F(MouseTracking, MovesRepeatInTheSynchronisedGrid)
{
    TExtStringGrid other;
    other.SetColCount(5);
    other.SetRowCount(6);
    for (int c = 0; c < 5; ++c)
        other.SetCells(c, 0, QStringLiteral("o%1").arg(c));
    g().SyncGrid.SetGrid(&other);
    other.SyncGrid.SetGrid(&g());
    for (auto* s : {&g().SyncGrid, &other.SyncGrid})
        s->MoveColumn = s->MoveRow = true;
    g().Options |= goColMoving | goRowMoving;
    drag({{1, 0}, {3, 0}});
    EXPECT_EQ(row(0), "h0 h2 h3 h1 h4");
    EXPECT_EQ(QStringList({other.Cells(1, 0), other.Cells(2, 0), other.Cells(3, 0)}).join(' '), "o2 o3 o1");

    std::vector<std::pair<int, int>> moved;
    g().OnRowMoved = [&](TExtStringGrid*, int from, int to) { moved.emplace_back(from, to); };
    g().SetRowHeights(1, 40);
    other.SetCells(1, 1, QStringLiteral("first"));
    drag({{0, 1}, {0, 3}});
    EXPECT_EQ(moved, (std::vector<std::pair<int, int>>{{1, 3}}));
    EXPECT_EQ(g().RowHeights(3), 40);
    EXPECT_EQ(other.Cells(1, 3), "first");
    g().SyncGrid.SetGrid(nullptr);
    other.SyncGrid.SetGrid(nullptr);
}

// While a column or row is sized by mouse, the events and the hint tell the size it has now.
TEST_F(MouseTracking, SizingTellsTheSizeAsItChanges)
{
    g().Options |= goColSizing | goRowSizing;
    input().HintShowSizing = true;
    std::vector<std::pair<int, int>> cols, rows;
    input().OnColumnSizing = [&](TExtStringGrid*, int c, int w) { cols.emplace_back(c, w); };
    input().OnRowSizing = [&](TExtStringGrid*, int r, int h) { rows.emplace_back(r, h); };
    const TRect header = g().CellRect(1, 0);
    const QPoint edge(header.Right - 1, (header.Top + header.Bottom) / 2);
    QTest::mousePress(client(), Qt::LeftButton, {}, edge);
    QTest::mouseMove(client(), edge + QPoint(10, 0));
    QTest::mouseMove(client(), edge + QPoint(25, 0));
    const int width = g().ColWidths(1);
    EXPECT_GT(width, 60);
    ASSERT_EQ(cols.size(), 2u);
    EXPECT_EQ(cols.back(), std::make_pair(1, width));
    EXPECT_LT(cols.front().second, width);
    ASSERT_NE(input().SizingHint(), nullptr);
    EXPECT_TRUE(input().SizingHint()->HintShown());
    // The size stands in bold mark-up, and the hint is as wide as the bold figures make it.
    EXPECT_EQ(input().SizingHint()->Caption(), QStringLiteral("cw=<b>%1</b>").arg(width));
    auto* markup = dynamic_cast<controls::THTMLHintWindow*>(input().SizingHint());
    ASSERT_NE(markup, nullptr);
    controls::THTMLHintWindow plain;
    EXPECT_GT(markup->TextWidth(), plain.CalcHintRect(200, QStringLiteral("cw=%1").arg(width)).width())
        << "the figures are drawn bold";
    QTest::mouseRelease(client(), Qt::LeftButton, {}, edge + QPoint(25, 0));
    EXPECT_FALSE(input().SizingHint()->HintShown());

    const TRect fixed = g().CellRect(0, 2);
    const QPoint bottom((fixed.Left + fixed.Right) / 2, fixed.Bottom - 1);
    QTest::mousePress(client(), Qt::LeftButton, {}, bottom);
    QTest::mouseMove(client(), bottom + QPoint(0, 12));
    QTest::mouseRelease(client(), Qt::LeftButton, {}, bottom + QPoint(0, 12));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows.back(), std::make_pair(2, g().RowHeights(2)));
    EXPECT_EQ(cols.size(), 2u);
}

// Moving over a mark-up cell: entering a link is told once, leaving for plain text tells the link
// left, going straight from one link onto the next tells only the new one; a cell without mark-up
// tells nothing.
TEST_F(MouseTracking, LinksOfMarkupTextsAreEnteredAndLeft)
{
    g().SetColWidths(1, 300);
    g().SetCells(1, 1, QStringLiteral("<a href=\"x\">one</a> plain text <a href=\"y\">two</a>"));
    g().SetCells(1, 2, QStringLiteral("<a href=\"p\">aaaa</a><a href=\"q\">bbbb</a>"));
    std::vector<std::string> seen;
    input().OnAnchorEnter = [&](TExtStringGrid*, int, int, const QString& a) { seen.push_back("enter " + a.toStdString()); };
    input().OnAnchorExit = [&](TExtStringGrid*, int, int, const QString& a) { seen.push_back("exit " + a.toStdString()); };
    const QFontMetrics fm(g().font());
    auto at = [&](int r, const QString& before) {
        const TRect rc = g().CellRect(1, r);
        return QPoint(rc.Left + 2 + fm.horizontalAdvance(before) + 3, (rc.Top + rc.Bottom) / 2);
    };
    QTest::mouseMove(client(), at(1, QString()));
    QTest::mouseMove(client(), at(1, QStringLiteral("one")));
    QTest::mouseMove(client(), at(1, QStringLiteral("one plain text ")));
    QTest::mouseMove(client(), centre(2, 1));  // no mark-up: nothing changes
    QTest::mouseMove(client(), at(2, QString()));
    QTest::mouseMove(client(), at(2, QStringLiteral("aaaa")));
    EXPECT_EQ(seen, (std::vector<std::string>{"enter x", "exit x", "enter y", "enter p", "enter q"}));
    EXPECT_EQ(input().HoveredAnchor(), "q");
    EXPECT_EQ(client()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(client(), at(1, QStringLiteral("one")));
    EXPECT_NE(client()->cursor().shape(), Qt::PointingHandCursor);
}

}  // namespace
