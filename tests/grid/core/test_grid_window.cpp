#include <QScrollBar>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

#include "grid/core/ExtColumnGrid.h"
#include "grid/core/GridEditLayer.h"
#include "test_paint_support.h"
#include "support/FakeClock.h"

using namespace grid;

namespace {

// Records what the paint loop asks to draw.
class TRecordingGrid : public TBaseGrid {
public:
    struct TDrawn {
        int Col, Row;
        TRect Rect;
        TGridDrawState State;
    };
    std::vector<TDrawn> Drawn;

protected:
    void DrawCell(int c, int r, TRect rect, TGridDrawState state) override { Drawn.push_back({c, r, rect, state}); }
};

// A grid shown as its own window, for real mouse input.
class GridWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        g.SetColCount(6);
        g.SetRowCount(30);
        g.Options |= goColSizing;
        g.resize(360, 200);
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    }
    QPoint At(int x, int y) const { return g.Client()->mapTo(&g, QPoint(x, y)); }
    TExtStringGrid g;
};

}  // namespace

TEST(GridPaint, OnlyVisibleCellsAreDrawnAndAMergedAreaOnceInsideTheLines)
{
    TRecordingGrid g;
    g.SetPlatformColCount(20);
    g.SetPlatformRowCount(1000000);
    g.resize(400, 250);
    g.SetTopRow(500000);
    ASSERT_TRUE(g.MergeCells(2, 500001, 3, 2));
    (void)g.grab();

    const int rows = g.VisibleRowCount() + 2, cols = g.VisibleColCount() + 2;
    EXPECT_LE(int(g.Drawn.size()), (rows + 1) * (cols + 1));
    int merged = 0;
    for (const auto& d : g.Drawn) {
        const bool rowShown = d.Row < g.FixedRows() || (d.Row >= g.TopRow() && d.Row <= g.TopRow() + rows);
        const bool colShown = d.Col < g.FixedCols() || (d.Col >= g.LeftCol() && d.Col <= g.LeftCol() + cols);
        EXPECT_TRUE(rowShown && colShown) << d.Col << "," << d.Row;
        EXPECT_EQ((d.State & gdFixed) != 0, d.Col < g.FixedCols() || d.Row < g.FixedRows());
        if (d.Col == 2 && d.Row == 500001) {
            ++merged;
            const TRect area = g.RangeRect({2, 500001, 4, 500002});
            EXPECT_EQ(d.Rect, (TRect{area.Left, area.Top, area.Right - g.LineWidth(), area.Bottom - g.LineWidth()}));
        }
        EXPECT_FALSE(g.IsMergedNonBaseCell(d.Col, d.Row)) << "a merged area is drawn from its base cell";
    }
    EXPECT_EQ(merged, 1);
}

TEST(GridScroll, ScrollBarsMoveByWholeRowsAndColumnsToTheEndAndBack)
{
    TExtStringGrid g;
    g.SetColCount(30);
    g.SetRowCount(1025);
    g.resize(300, 200);
    QScrollBar* v = g.verticalScrollBar();
    QScrollBar* h = g.horizontalScrollBar();
    ASSERT_EQ(g.TopRow(), 1);

    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(g.TopRow(), 2);
    const int page = g.VisibleRowCount();
    v->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(g.TopRow(), 2 + page);
    v->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(g.TopRow(), g.MaxTopRow());
    EXPECT_EQ(v->value(), g.TopRow());
    // The last row ends inside the client area and the row above the top one would not fit.
    const TRect last = g.PlatformCellRect(0, 1024);
    ASSERT_FALSE(last.IsEmpty());
    EXPECT_LE(last.Bottom, g.ClientHeight());
    EXPECT_GT(g.RowOffset(1025) - g.RowOffset(g.TopRow() - 1), g.ClientHeight() - g.RowOffset(g.FixedRows()));
    v->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(g.TopRow(), g.FixedRows());

    h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(g.LeftCol(), 2);
    h->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(g.LeftCol(), g.MaxLeftCol());
    EXPECT_LE(g.PlatformCellRect(29, 0).Right, g.ClientWidth());
}

TEST(GridScroll, ZeroSizesAndSingleCellsNeverDivideByZero)
{
    struct Case {
        const char* Name;
        int Cols, Rows, ColWidth, RowHeight;
    } cases[] = {
        {"all rows zero high", 5, 50, 64, 0},
        {"all columns zero wide", 5, 50, 0, 24},
        {"one cell", 1, 1, 64, 24},
        {"nothing fits", 5, 50, 5000, 5000},
    };
    for (const Case& c : cases) {
        TExtStringGrid g;
        g.SetColCount(c.Cols);
        g.SetRowCount(c.Rows);
        g.SetDefaultColWidth(c.ColWidth);
        g.SetDefaultRowHeight(c.RowHeight);
        g.resize(200, 120);
        g.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
        g.ColumnSize.Stretch = true;
        g.ColumnSize.StretchColumn = -1;
        g.resize(220, 130);
        g.AutoFitColumns(false);
        g.AutoFitColumns(true);
        g.Zoom(2);
        (void)g.grab();
        EXPECT_GE(g.TopRow(), 0) << c.Name;
    }
}

TEST_F(GridWindow, DraggingAHeaderEdgeSizesTheColumn)
{
    int ended = -1;
    g.OnEndColumnSize = [&](TExtStringGrid*, int c) { ended = c; };
    const int edge = g.ColWidths(0) + g.ColWidths(1) - 1;
    QWindow* win = g.windowHandle();
    QTest::mouseMove(win, At(edge, 5));
    QTest::mousePress(win, Qt::LeftButton, Qt::NoModifier, At(edge, 5));
    QTest::mouseMove(win, At(edge + 30, 5));
    QTest::mouseRelease(win, Qt::LeftButton, Qt::NoModifier, At(edge + 30, 5));
    EXPECT_EQ(g.ColWidths(1), 64 + 30);
    EXPECT_EQ(ended, 1);

    // Without the option the same drag only moves the mouse.
    g.Options &= ~goColSizing;
    const int edge2 = g.ColWidths(0) + g.ColWidths(1) - 1;
    QTest::mousePress(win, Qt::LeftButton, Qt::NoModifier, At(edge2, 5));
    QTest::mouseMove(win, At(edge2 + 20, 5));
    QTest::mouseRelease(win, Qt::LeftButton, Qt::NoModifier, At(edge2 + 20, 5));
    EXPECT_EQ(g.ColWidths(1), 64 + 30);
}

TEST_F(GridWindow, DoubleClickOnAHeaderEdgeFitsTheColumnToItsText)
{
    g.SetCells(2, 4, QStringLiteral("a rather long text that needs room"));
    const int edge = g.ColWidths(0) + g.ColWidths(1) + g.ColWidths(2) - 1;
    QTest::mouseDClick(g.windowHandle(), Qt::LeftButton, Qt::NoModifier, At(edge, 5));
    const int text = g.MeasureText(QStringLiteral("a rather long text that needs room")).X;
    EXPECT_GE(g.ColWidths(2), text + 2 * g.XYOffset.X);
    EXPECT_LE(g.ColWidths(2), text + 2 * g.XYOffset.X + 2 * g.GridLineWidth + 2 + 16);
}

TEST(GridStretch, TheStretchColumnTakesTheRoomLeftAndOnlyTheSetterRaises)
{
    TExtStringGrid g;
    ASSERT_TRUE(painttest::Shown(g, 4, 3, 500, 200));
    g.ColumnSize.Stretch = true;
    g.ColumnSize.StretchColumn = -1;
    g.StretchRightColumn();
    EXPECT_EQ(g.ColWidths(3), g.ClientWidth() - 3 * 64 - 1);
    g.resize(600, 200);
    EXPECT_EQ(g.ColWidths(3), g.ClientWidth() - 3 * 64 - 1) << "resizing stretches again";
    g.SetColWidths(0, 100);
    EXPECT_EQ(g.ColWidths(3), g.ClientWidth() - 100 - 2 * 64 - 1) << "a width change stretches again";

    EXPECT_THROW(g.StretchColumn(4), EExtGridError);
    // An index that went stale with removed columns never raises while resizing or painting.
    g.ColumnSize.StretchColumn = 3;
    g.SetColCount(2);
    EXPECT_NO_THROW(g.resize(450, 200));
    EXPECT_NO_THROW((void)g.grab());
}

TEST(GridUpdateLock, CountsWhileHiddenAndPaintsAgainAtZero)
{
    TExtStringGrid g;
    ASSERT_FALSE(g.isVisible());
    g.BeginUpdate();
    g.BeginUpdate();
    g.EndUpdate();
    EXPECT_TRUE(g.LockUpdate()) << "hidden, still counted";
    EXPECT_GT(g.UpdateCount(), 0);
    g.EndUpdate();
    EXPECT_FALSE(g.LockUpdate());
    EXPECT_EQ(g.platform::TCustomControl::UpdateCount(), 0) << "painting resumes";
    g.EndUpdate();
    EXPECT_EQ(g.UpdateCount(), 0) << "an extra EndUpdate leaves the count at 0";

    // ResetUpdate drops the count, but painting waits for the next EndUpdate.
    g.SetLockUpdate(true);
    g.ResetUpdate();
    EXPECT_FALSE(g.LockUpdate());
    EXPECT_GT(g.platform::TCustomControl::UpdateCount(), 0);
    g.EndUpdate();
    EXPECT_EQ(g.platform::TCustomControl::UpdateCount(), 0);

    // A wheel step: StartUpdate gathers the paints and ResetUpdate lets them go again.
    g.StartUpdate();
    EXPECT_TRUE(g.LockUpdate());
    EXPECT_GT(g.platform::TCustomControl::UpdateCount(), 0);
    g.ResetUpdate();
    EXPECT_FALSE(g.LockUpdate());
    EXPECT_EQ(g.platform::TCustomControl::UpdateCount(), 0) << "no paint lock left behind";
    // A BeginUpdate inside the step keeps redrawing off until its EndUpdate.
    g.StartUpdate();
    g.BeginUpdate();
    g.ResetUpdate();
    EXPECT_GT(g.platform::TCustomControl::UpdateCount(), 0);
    g.EndUpdate();
    EXPECT_EQ(g.platform::TCustomControl::UpdateCount(), 0);
}

TEST(GridTimer, TicksOnTheClockAgeTheSearchAndBlink)
{
    FakeClock clock;
    TExtStringGrid g;
    g.Navigation.AutoGotoIncremental = true;
    g.IncrementalSearchText = QStringLiteral("ab");
    g.EnableBlink = true;
    clock.Advance(TExtStringGrid::GridTimerInterval);
    EXPECT_EQ(g.TimerTicks(), 1);
    EXPECT_TRUE(g.BlinkPhase());
    clock.Advance(2 * TExtStringGrid::GridTimerInterval);
    EXPECT_EQ(g.TimerTicks(), 3);
    EXPECT_EQ(g.IncrementalSearchText, QStringLiteral("ab"));
    clock.Advance(TExtStringGrid::GridTimerInterval);
    EXPECT_TRUE(g.IncrementalSearchText.isEmpty()) << "the fourth tick without a key forgets the search";
    EXPECT_EQ(g.IncrementalSearchAge, 0);
    EXPECT_FALSE(g.BlinkPhase());
}

TEST(GridSizing, AutoFitColumnsFillsTheWidthAndGivesTheRestToTheWidest)
{
    TExtStringGrid g;
    g.SetColCount(4);
    g.SetRowCount(3);
    g.resize(400, 200);
    g.SingleBorder = false;
    g.SetColWidths(0, 30);
    g.SetColWidths(1, 50);
    g.SetColWidths(2, 100);
    g.SetColWidths(3, 50);
    g.Options &= ~(goVertLine | goFixedVertLine);
    g.AutoFitColumns(false);
    EXPECT_EQ(g.ColWidths(0), 30) << "the fixed column is left alone";
    EXPECT_EQ(g.ColWidths(1) + g.ColWidths(2) + g.ColWidths(3), 400 - 30);
    EXPECT_GT(g.ColWidths(2), g.ColWidths(1));
}

// The columns fill exactly the room the cells have: what the vertical bar (shown, or kept shown
// by ScrollBarAlways) and the border take is already outside it, whatever the border's look.
TEST(GridSizing, AutoFitColumnsFillsTheRoomBesideTheScrollBarAndBorder)
{
    const struct {
        const char* name;
        int rows;
        TScrollBarAlways always;
        bool border, flat;
    } cases[] = {
        {"no bar", 3, saNone, false, false},
        {"bar for the rows", 60, saNone, true, false},
        {"bar kept shown", 3, saVert, true, false},
        {"flat border", 60, saNone, true, true},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        TExtStringGrid g;
        g.SetColCount(4);
        g.SetRowCount(k.rows);
        g.SingleBorder = k.border;
        g.Flat = k.flat;
        g.SetScrollBarAlways(k.always);
        g.resize(400, 200);
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
        g.Options &= ~(goVertLine | goFixedVertLine);
        g.AutoFitColumns(false);
        EXPECT_EQ(g.ColOffset(4), g.ClientWidth());
        EXPECT_EQ(g.verticalScrollBar()->isVisible(), k.rows > 3 || k.always == saVert);
    }
}

// Sizing all rows reports its start, each row and its end to the data operations' hook.
TEST(GridSizing, AutoSizeRowsReportsItsProgress)
{
    struct TReporting : TExtStringGrid {
        std::vector<std::pair<int, int>> Reports;
        void ExportNotification(int state, int row) override { Reports.push_back({state, row}); }
    } g;
    g.SetColCount(2);
    g.SetRowCount(4);
    g.AutoSizeRows(false, 2);
    EXPECT_EQ(g.Reports, (std::vector<std::pair<int, int>>{{0, 1}, {5, 1}, {5, 2}, {5, 3}, {2, -1}}));
}

TEST(GridColumnOrder, ResetPutsAMovedColumnBackAndHeadersAreFoundExactly)
{
    TExtStringGrid g;
    g.SetColCount(5);
    for (int c = 0; c < 5; ++c)
        g.SetCells(c, 0, QStringLiteral("H%1").arg(c));
    g.SetColumnOrder();
    g.MoveColumn(3, 1);
    EXPECT_EQ(g.ColumnAtPosition(1), 3);
    EXPECT_EQ(g.ColumnPosition(3), 1);
    g.ResetColumnOrder();
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(g.Cells(c, 0), QStringLiteral("H%1").arg(c));
    EXPECT_EQ(g.ColumnByHeader(QStringLiteral("H2")), 2);
    EXPECT_EQ(g.ColumnByHeader(QStringLiteral("h2")), -1);
}

TEST(GridRows, TopRowOutsideTheScrollingRowsIsIgnoredAndRowChangesAreTold)
{
    TExtStringGrid g;
    g.SetRowCount(40);
    g.SetTopRow(5);
    for (int bad : {40, 0, -1}) {
        g.SetTopRow(bad);
        EXPECT_EQ(g.TopRow(), 5) << bad;
    }
    std::vector<std::pair<int, int>> told;
    g.OnRowUpdate = [&](TExtStringGrid*, int from, int to) { told.emplace_back(from, to); };
    g.SetRow(7);
    g.SetRow(7);
    g.SetRow(9);
    const std::vector<std::pair<int, int>> expected = {{-1, 7}, {7, 9}};
    EXPECT_EQ(told, expected);
}

TEST_F(GridWindow, ARefusedColumnSizeKeepsTheWidthAndTheCursor)
{
    g.OnColumnSize = [](TExtStringGrid*, int c, bool& allow) { allow = c != 1; };
    const int edge = g.ColWidths(0) + g.ColWidths(1) - 1;
    QWindow* win = g.windowHandle();
    QTest::mouseMove(win, At(edge, 5));
    EXPECT_NE(g.Client()->cursor().shape(), Qt::SplitHCursor);
    QTest::mousePress(win, Qt::LeftButton, Qt::NoModifier, At(edge, 5));
    QTest::mouseMove(win, At(edge + 25, 5));
    QTest::mouseRelease(win, Qt::LeftButton, Qt::NoModifier, At(edge + 25, 5));
    EXPECT_EQ(g.ColWidths(1), 64);

    const int edge0 = g.ColWidths(0) - 1;
    QTest::mouseMove(win, At(edge0, 5));
    EXPECT_EQ(g.Client()->cursor().shape(), Qt::SplitHCursor);
    EXPECT_TRUE(g.IsAtSizingBorder(edge0 - 3, 5));
    EXPECT_FALSE(g.IsAtSizingBorder(edge0 - 4, 5));
}

// One selection listener at a time: a new one replaces the last, and unregistering drops it
// whatever is passed.
TEST(GridListeners, TheOneSelectionListenerHearsCurrentCellChanges)
{
    struct TListener : TExtStringGrid::TSelListener {
        std::vector<std::pair<int, int>> Heard;
        void CurrentCellChanged(int c, int r) override { Heard.push_back({c, r}); }
    } first, second;
    TExtStringGrid g;
    g.RegisterSelListener(&first);
    g.NotifySelListener(1, 2);
    g.RegisterSelListener(&second);
    g.NotifySelListener(3, 4);
    g.UnRegisterSelListener(&first);
    g.NotifySelListener(5, 6);
    EXPECT_EQ(first.Heard, (std::vector<std::pair<int, int>>{{1, 2}}));
    EXPECT_EQ(second.Heard, (std::vector<std::pair<int, int>>{{3, 4}}));
}

// A row that grows while typing and pushes rows out of view reopens the editor over its cell.
TEST(GridSizing, ARowGrownWhileTypingReopensTheEditorOnceRowsLeaveTheView)
{
    struct TTypingLayer : TGridEditLayer {
        using TGridEditLayer::TGridEditLayer;
        bool EditMode() const override { return true; }
        void ShowInplaceEdit() override { ++Shown; }
        int Shown = 0;
    };
    const struct {
        const char* name;
        bool sizeWhileTyping;
        int lines;
        int shown;
    } cases[] = {{"rows pushed out", true, 8, 1}, {"all rows still show", true, 1, 0}, {"size not followed", false, 8, 0}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        TExtStringGrid g;
        g.SetLayers({.Editing = [](TExtStringGrid& g) { return std::make_unique<TTypingLayer>(g); }});
        auto* layer = static_cast<TTypingLayer*>(g.EditLayer());
        ASSERT_TRUE(layer);
        g.SetColCount(2);
        g.SetRowCount(4);
        g.resize(200, 160);
        g.SizeWhileTyping.Height = k.sizeWhileTyping;
        QStringList lines;
        for (int i = 0; i < k.lines; ++i)
            lines << QStringLiteral("line");
        g.SetCells(1, 1, lines.join(QLatin1Char('\n')));
        g.Multilinecells = true;
        ASSERT_GE(g.VisibleRowCount() + g.FixedRows(), g.RowCount());
        g.AutoSizeRow(1);
        EXPECT_EQ(layer->Shown, k.shown);
    }
}
