#include <QApplication>
#include <QDragMoveEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridHelperControls.h"
#include "test_paint_support.h"
#include "support/FakeClock.h"
#include "support/GoldenImage.h"
#include "support/ScreenView.h"

using namespace grid;

namespace {

// Drives a scroll bar's thumb as a hand does: press, move, release.
void DragThumb(QScrollBar* bar, int to, bool release = true)
{
    bar->setSliderDown(true);
    bar->setSliderPosition(to);
    if (release)
        bar->setSliderDown(false);
}

// A grid in its own window whose first rows are tall, so that row and pixel shares differ.
class ScrollGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        g.SetColCount(12);
        g.SetRowCount(60);
        for (int r = 1; r <= 10; ++r)
            g.SetRowHeights(r, 60);
        g.resize(300, 200);
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    }
    TExtStringGrid g;
};

}  // namespace

// Scroll bar looks

TEST_F(ScrollGrid, FlatBarsTakeTheScrollWidthAndThePlainLookGivesItBack)
{
    QScrollBar* v = g.verticalScrollBar();
    const int plain = g.width() - g.ClientWidth();
    ASSERT_GT(plain, 0) << "the vertical bar shows";

    g.SetScrollWidth(9);
    EXPECT_EQ(g.width() - g.ClientWidth(), plain) << "the width counts only for flat bars";
    for (TScrollType type : {ssFlat, ssEncarta}) {
        g.SetScrollType(type);
        EXPECT_TRUE(g.FlatScrollBars());
        EXPECT_EQ(g.width() - g.ClientWidth(), 9) << int(type);
        EXPECT_EQ(v->sizeHint().width(), 9);
    }
    g.SetScrollType(ssNormal);
    EXPECT_FALSE(g.FlatScrollBars());
    EXPECT_EQ(g.width() - g.ClientWidth(), plain);
}

TEST_F(ScrollGrid, TheMetroTypeSwapsTheWindowBarsForTheGridsOwnAndBack)
{
    g.SetScrollType(ssMetro);
    EXPECT_NE(g.ScrollControl(sdVertical), nullptr);
    EXPECT_EQ(g.GridScrollBars(), platform::ssNone);
    EXPECT_EQ(g.ClientWidth(), g.width()) << "no window bar takes room";

    g.SetScrollType(ssFlat);
    EXPECT_EQ(g.ScrollControl(sdVertical), nullptr);
    EXPECT_EQ(g.GridScrollBars(), platform::ssBoth);
    EXPECT_LT(g.ClientWidth(), g.width());
}

// With the search footer shown, going to the last row, or scrolling down to the end, brings the
// last row above the search panel; scrolling further down then stops.
TEST(SearchFooterScroll, TheLastRowComesAboveTheSearchPanel)
{
    for (bool byScrolling : {false, true}) {
        SCOPED_TRACE(byScrolling ? "scrolled down" : "last row made current");
        TExtStringGrid g;
        g.SetColCount(4);
        g.SetRowCount(40);
        g.SetDefaultRowHeight(20);
        g.resize(300, 230);
        g.SearchFooter.Visible = true;
        g.UpdateSearchPanel();
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
        const int last = g.RowCount() - 1;
        EXPECT_FALSE(g.LastRowAboveSearchFooter());
        if (byScrolling) {
            g.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
            g.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        } else {
            g.SetRow(last);
        }
        EXPECT_TRUE(g.LastRowAboveSearchFooter());
        const TRect r = g.PlatformCellRect(1, last);
        ASSERT_FALSE(r.IsEmpty());
        EXPECT_LE(r.Bottom, g.ClientHeight() - 32 + 2);
        const int top = g.TopRow();
        g.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(g.TopRow(), top);
    }
}

// While the search panel keeps the last row above it, the rows stand past their usual end; a line
// up from there skips the position that shows every row but hides the last behind the panel.
// From a position with rows below the client area a line up is one row.
TEST(SearchFooterScroll, ALineUpFromPastTheEndSkipsThePositionBehindThePanel)
{
    TExtStringGrid g;
    g.SetColCount(4);
    g.SetRowCount(40);
    g.SetDefaultRowHeight(10);
    g.resize(300, 230);
    g.SearchFooter.Visible = true;
    g.UpdateSearchPanel();
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    QScrollBar* v = g.verticalScrollBar();
    v->triggerAction(QAbstractSlider::SliderToMaximum);
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    const int bottom = g.TopRow();
    ASSERT_GE(bottom, g.MaxTopRow() + 2) << "the panel pushed the rows up by more than one";
    v->triggerAction(QAbstractSlider::SliderSingleStepSub);
    // The platform's line up stops at the last full page, which shows every row; one row more.
    EXPECT_EQ(g.TopRow(), std::min(bottom - 1, g.MaxTopRow()) - 1);

    g.SetTopRow(g.MaxTopRow() - 3);
    const int middle = g.TopRow();
    v->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(g.TopRow(), middle - 1);
}

// With disjunct row selection, the row made current joins the selected rows.
TEST(RowSetter, DisjunctRowSelectionTakesTheSelectionIntoTheRowFlags)
{
    TExtStringGrid g;
    g.SetColCount(3);
    g.SetRowCount(10);
    g.MouseActions.SetDisjunctRowSelect(true);
    g.SetRowSelect(2, true);
    g.SetRow(5);
    EXPECT_TRUE(g.GetRowSelect(5));
    EXPECT_TRUE(g.GetRowSelect(2)) << "the other rows keep their flags";
    EXPECT_FALSE(g.GetRowSelect(4));
}

TEST(GridScrollLook, FlatBarsInTheScrollColour)
{
    TExtStringGrid g;
    g.SetColCount(8);
    g.SetRowCount(30);
    g.SetScrollColor(0x80FFFF);  // light yellow
    g.SetScrollWidth(14);
    g.SetScrollType(ssFlat);
    g.resize(260, 160);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    const QImage shot = g.grab().toImage();
    // The track shows the colour between thumb and bottom button.
    const QPoint track(g.width() - 7, g.height() - 14 - 20);
    EXPECT_EQ(shot.pixelColor(track), QColor(0xFF, 0xFF, 0x80));
    EXPECT_TRUE(testsupport::MatchesGolden(g.verticalScrollBar()->grab().toImage(),
                                           TEST_DATA_DIR "/golden/flat_scroll_bars.png"));
}

TEST_F(ScrollGrid, EncartaBarsRaiseTheThumbUnderTheMouseFlatOnesInvertIt)
{
    for (TScrollType type : {ssEncarta, ssFlat}) {
        g.SetScrollType(type);
        QScrollBar* v = g.verticalScrollBar();
        QStyleOptionSlider opt;
        opt.initFrom(v);
        opt.orientation = Qt::Vertical;
        opt.minimum = v->minimum();
        opt.maximum = v->maximum();
        opt.pageStep = v->pageStep();
        opt.sliderPosition = v->sliderPosition();
        const QRect thumb = v->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, v);
        ASSERT_FALSE(thumb.isEmpty());
        auto hover = [&](QPoint at) {
            QHoverEvent e(QEvent::HoverMove, at, v->mapToGlobal(at), QPointF(-1, -1));
            QCoreApplication::sendEvent(v, &e);
            return v->grab().toImage();
        };
        const QImage away = hover({v->width() / 2, v->height() / 2 + 20});
        const QImage over = hover(thumb.center());
        EXPECT_NE(away.copy(thumb), over.copy(thumb)) << "the hovered thumb looks different";
        if (type == ssFlat) {
            // Inverted: the face takes the ink colour.
            EXPECT_EQ(over.pixelColor(thumb.center()), v->palette().color(QPalette::ButtonText));
        } else {
            EXPECT_EQ(over.pixelColor(thumb.center()), v->palette().color(QPalette::Button));
            const QImage part = over.copy(thumb);
            bool raised = false;
            for (int x = 0; x < part.width(); ++x)
                raised = raised || part.pixelColor(x, 0) == v->palette().color(QPalette::Light);
            EXPECT_TRUE(raised) << "a light edge along the top";
        }
        hover({v->width() / 2, v->height() / 2 + 20});
    }
}

// Proportional scroll bars

TEST_F(ScrollGrid, AProportionalThumbShowsTheVisibleShareOfThePixels)
{
    QScrollBar* v = g.verticalScrollBar();
    g.SetScrollProportional(true);
    ASSERT_TRUE(g.ProportionalBar(platform::sbVertical));
    const double visible = double(g.ClientHeight() - g.RowOffset(1)) / double(g.RowOffset(60) - g.RowOffset(1));
    const double thumb = double(v->pageStep()) / double(v->maximum() - v->minimum() + v->pageStep());
    EXPECT_NEAR(thumb, visible, 0.02) << "the share of pixels, not of rows";
    const double rowShare = double(g.VisibleRowCount()) / 59.0;
    EXPECT_GT(std::abs(thumb - rowShare), 0.02) << "the fixture makes row and pixel shares differ";
    EXPECT_EQ(v->maximum(), 127) << "positions run over 128 steps";

    // The thumb in the middle of its way shows the row at the middle of the scrolling rows.
    DragThumb(v, 64);
    const int maxTop = g.MaxTopRow();
    EXPECT_EQ(g.TopRow(), 1 + int(std::lround(64.0 * (maxTop - 1) / 127)));
    DragThumb(v, 127);
    EXPECT_EQ(g.TopRow(), maxTop);
    EXPECT_EQ(v->value(), 127) << "the bar keeps counting steps after the grid scrolled";

    v->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(g.TopRow(), 1);
    EXPECT_EQ(v->value(), 0);
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(g.TopRow(), 2) << "a line step still moves one row";
    EXPECT_GT(v->value(), 0);
}

TEST_F(ScrollGrid, ProportionalBarsLeaveTheRowCountWhenEverythingFitsOrWhenSwitchedOff)
{
    QScrollBar* v = g.verticalScrollBar();
    g.SetScrollProportional(true);
    ASSERT_TRUE(g.ProportionalBar(platform::sbVertical));
    g.SetScrollProportional(false);
    EXPECT_FALSE(g.ProportionalBar(platform::sbVertical));
    EXPECT_EQ(v->maximum(), g.MaxTopRow()) << "back to rows";

    g.SetScrollProportional(true);
    g.SetRowCount(3);
    EXPECT_FALSE(g.ProportionalBar(platform::sbVertical)) << "all rows fit";
    g.SetRowCount(60);
    EXPECT_TRUE(g.ProportionalBar(platform::sbVertical)) << "layout changes refresh the bar";
    // Columns: 12 of 64 pixels do not fit in 300.
    EXPECT_TRUE(g.ProportionalBar(platform::sbHorizontal));
    DragThumb(g.horizontalScrollBar(), 127);
    EXPECT_EQ(g.LeftCol(), g.MaxLeftCol());
}

// Scroll hints

TEST_F(ScrollGrid, ADraggedThumbNamesItsRowInAHintThatGoesWithTheRelease)
{
    g.ScrollHints = shVertical;
    g.HintColor = 0x00FF00;
    QScrollBar* v = g.verticalScrollBar();
    DragThumb(v, 10, false);
    platform::THintWindow* hint = g.ScrollHintWindow();
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->HintShown());
    EXPECT_EQ(hint->Caption(), QStringLiteral("Row : 10"));
    EXPECT_LE(hint->width(), 100 + 9);
    EXPECT_EQ(hint->grab().toImage().pixelColor(3, 3), QColor(0, 0xFF, 0)) << "in HintColor";
    EXPECT_EQ(g.TopRow(), 1) << "without ScrollSynch the grid waits for the release";
    v->setSliderDown(false);
    EXPECT_FALSE(hint->HintShown());
    EXPECT_EQ(g.TopRow(), 10);

    // Another text from the handler; a horizontal-only setting shows none for this bar.
    g.OnScrollHint = [](TExtStringGrid*, int n, QString& text) { text = QStringLiteral("Item %1").arg(n); };
    DragThumb(v, 12, false);
    EXPECT_EQ(hint->Caption(), QStringLiteral("Item 12"));
    v->setSliderDown(false);
    g.ScrollHints = shHorizontal;
    DragThumb(v, 14, false);
    EXPECT_FALSE(hint->HintShown());
    v->setSliderDown(false);
}

TEST_F(ScrollGrid, ScrollSynchFollowsTheThumbWhileItIsDragged)
{
    g.ScrollSynch = true;
    g.ScrollHints = shBoth;
    DragThumb(g.verticalScrollBar(), 20, false);
    EXPECT_EQ(g.TopRow(), 20);
    DragThumb(g.horizontalScrollBar(), 3, false);
    EXPECT_EQ(g.LeftCol(), 3);
    EXPECT_EQ(g.ScrollHintWindow()->Caption(), QStringLiteral("Col : 3"));
    g.horizontalScrollBar()->setSliderDown(false);
    g.verticalScrollBar()->setSliderDown(false);
}

// Drag scrolling

namespace {
class DragScroll : public ScrollGrid {
protected:
    void SetUp() override
    {
        ScrollGrid::SetUp();
        g.DragScrollOptions.Active = true;
        // Drags reach only a window that takes drops.
        g.Client()->setAcceptDrops(true);
        mime.setText(QStringLiteral("x"));
    }
    // A real drag entering the client area; moves and leaving go to DragOver as the drag-over
    // handling reports them.
    void Enter(QPoint at)
    {
        QDragEnterEvent e(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(g.Client(), &e);
    }
    void Drag(TDragOverState state, QPoint at = {})
    {
        bool accept = true;
        g.DragOver(nullptr, at.x(), at.y(), state, accept);
    }
    FakeClock clock;
    QMimeData mime;
};
}  // namespace

TEST_F(DragScroll, ADragInTheTopMarginScrollsUpAfterTheDelayThenEveryRepeatUntilTheFirstRow)
{
    g.SetTopRow(5);
    Enter({100, 10});
    EXPECT_EQ(g.DragScrollDirection(), dsdUp);
    clock.Advance(999);
    EXPECT_EQ(g.TopRow(), 5);
    clock.Advance(1);
    EXPECT_EQ(g.TopRow(), 4);
    clock.Advance(250);
    EXPECT_EQ(g.TopRow(), 3);
    clock.Advance(250 * 5);
    EXPECT_EQ(g.TopRow(), g.FixedRows());

    Drag(dsDragLeave);
    EXPECT_FALSE(g.DragScrollActive());
}

TEST_F(DragScroll, DirectionsFollowTheMarginsAndStopAtTheEnds)
{
    struct Case {
        const char* Name;
        QPoint At;
        TDragScrollDirection Dir;
        int Top, Left;  // after two steps from row 5, column 3
    } cases[] = {
        {"bottom right", {270, 170}, dsdDown | dsdRight, 7, 5},
        {"left", {10, 100}, dsdLeft, 5, 1},
        {"middle", {150, 100}, 0, 5, 3},
    };
    for (const Case& c : cases) {
        g.SetTopRow(5);
        g.SetLeftCol(3);
        Drag(dsDragEnter, c.At);
        EXPECT_EQ(g.DragScrollDirection(), c.Dir) << c.Name;
        EXPECT_EQ(g.DragScrollActive(), c.Dir != 0) << c.Name;
        clock.Advance(1000 + 250);
        EXPECT_EQ(g.TopRow(), c.Top) << c.Name;
        EXPECT_EQ(g.LeftCol(), c.Left) << c.Name;
        Drag(dsDragLeave);
    }
    // At the last row the down margin scrolls no further.
    g.SetTopRow(g.MaxTopRow());
    Drag(dsDragEnter, {150, 170});
    clock.Advance(2000);
    EXPECT_EQ(g.TopRow(), g.MaxTopRow());
}

TEST_F(DragScroll, TheHandlerMayForbidAStepAndAMoveAfterScrollingWaitsTheDelayAgain)
{
    g.SetTopRow(20);
    bool allow = false;
    g.OnDragScroll = [&](TExtStringGrid*, int, int, TDragScrollDirection&, bool& can) { can = allow; };
    Drag(dsDragEnter, {100, 10});
    clock.Advance(1000);
    EXPECT_EQ(g.TopRow(), 20);
    allow = true;
    clock.Advance(250);
    EXPECT_EQ(g.TopRow(), 19);
    Drag(dsDragMove, {110, 12});
    clock.Advance(250);
    EXPECT_EQ(g.TopRow(), 19) << "the move restarted the initial delay";
    clock.Advance(750);
    EXPECT_EQ(g.TopRow(), 18);

    g.DragScrollOptions.Active = false;
    clock.Advance(250);
    EXPECT_FALSE(g.DragScrollActive()) << "switched off, the timer stops";
    EXPECT_EQ(g.TopRow(), 18);
}

// Theme adaptation

TEST(GridTheme, AutoThemeAdaptRegistersTheGridAndFollowsTheNotifierUntilTheGridIsGone)
{
    controls::TThemeNotifier* notifier = controls::GetThemeNotifier();
    auto g = std::make_unique<TExtStringGrid>();
    ASSERT_EQ(g->ComponentStyle(), controls::tsCustom);
    g->SetAutoThemeAdapt(true);
    EXPECT_TRUE(notifier->Windows().HasValue(g.get()));
    EXPECT_TRUE(g->SearchFooter.AutoThemeAdapt);
    EXPECT_NE(g->ComponentStyle(), controls::tsCustom) << "adapted at once";

    g->SetAutoThemeAdapt(false);
    EXPECT_FALSE(notifier->Windows().HasValue(g.get()));
    g->SetAutoThemeAdapt(true);
    QWidget* was = g.get();
    g.reset();
    EXPECT_FALSE(notifier->Windows().HasValue(was)) << "a destroyed grid leaves the list";
    notifier->NotifyChange();
}

// The wheel-pan mark

TEST(GridPanGlyph, EachPanDirectionHasItsMarkAndNoneShowsNothing)
{
    struct Case {
        TIntelliPan Pan;
        bool Vertical, Horizontal;
    } cases[] = {{ipVertical, true, false}, {ipHorizontal, false, true}, {ipBoth, true, true}};
    for (const Case& c : cases) {
        const QImage img = TExtStringGrid::IntelliPanGlyph(c.Pan);
        ASSERT_EQ(img.size(), QSize(32, 32));
        const QRgb key = img.pixel(0, 0);
        // The arrow tips lie 2 pixels inside the circle: above and left of the centre.
        EXPECT_EQ(img.pixel(15, 8) != key && img.pixel(15, 8) != qRgb(255, 255, 255), c.Vertical) << int(c.Pan);
        EXPECT_EQ(img.pixel(8, 15) != key && img.pixel(8, 15) != qRgb(255, 255, 255), c.Horizontal) << int(c.Pan);
    }
    EXPECT_TRUE(TExtStringGrid::IntelliPanGlyph(ipNone).isNull());

    TExtStringGrid g;
    g.IntelliPan = ipNone;
    g.DrawIntelliPanGlyph();
    EXPECT_FALSE(g.IntelliPanGlyphShown());
}

TEST(GridPanGlyph, TheMarkShowsAtThePanOriginOverTheCellsAndGoesAgain)
{
    TExtStringGrid g;
    g.SetColCount(5);
    g.SetRowCount(8);
    for (int r = 0; r < 8; ++r)
        g.SetCells(1, r, QStringLiteral("cell %1").arg(r));  // the mark lies over column 2
    g.resize(240, 150);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    g.IntelliPan = ipBoth;
    g.WheelPanPos = QPoint(140, 60);
    g.DrawIntelliPanGlyph();
    EXPECT_TRUE(g.IntelliPanGlyphShown());
    const QImage shot = g.grab().toImage();
    EXPECT_EQ(shot.pixelColor(g.Client()->mapTo(&g, QPoint(140 + 15, 60 + 15))), QColor(Qt::black)) << "centre dot";
    const QPoint at = g.Client()->mapTo(&g, g.WheelPanPos);
    EXPECT_TRUE(testsupport::MatchesGolden(shot.copy(QRect(at, QSize(32, 32))),
                                           TEST_DATA_DIR "/golden/intelli_pan_glyph.png"));

    g.InvalidateIntelliPanGlyph();
    EXPECT_FALSE(g.IntelliPanGlyphShown());
}

// The drag snapshot

TEST(GridSelectionForm, TheFormShowsTheRangesCellsTranslucentWithoutActivation)
{
    TExtStringGrid g;
    g.SetColCount(6);
    g.SetRowCount(10);
    g.resize(400, 260);
    for (int c = 1; c < 6; ++c)
        for (int r = 1; r < 10; ++r)
            g.SetColors(c, r, (c == 2 && r == 3) ? 0x0000FF : 0xFFFFFF);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));

    const std::unique_ptr<TSelectionForm> form = g.SelectionToForm({3, 4, 2, 3});  // corners given reversed
    const TRect a = g.AbsCellRect(2, 3), b = g.AbsCellRect(3, 4);
    EXPECT_EQ(form->Image().size(), QSize(b.Right - a.Left + 1, b.Bottom - a.Top + 1));
    EXPECT_EQ(form->size(), form->Image().size());
    EXPECT_EQ(form->Image().pixelColor(a.Width() / 2, a.Height() / 2), QColor(Qt::red)) << "the red cell first";
    EXPECT_EQ(form->Image().pixelColor(a.Width() + 10, a.Height() / 2), QColor(Qt::white));
    EXPECT_NEAR(form->windowOpacity(), 192 / 255.0, 0.01);
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowDoesNotAcceptFocus);

    // Starting at column 0 of a grid with fixed columns, the left edge gets the fixed line.
    g.GridFixedLineColor = 0x00FF00;
    const std::unique_ptr<TSelectionForm> fixed = g.SelectionToForm({0, 2, 1, 2});
    EXPECT_EQ(fixed->Image().pixelColor(0, 5), QColor(0, 0xFF, 0));
    // A range outside the grid is pulled inside it.
    EXPECT_FALSE(g.SelectionToForm({-5, -5, 99, 99})->Image().isNull());
}

// The search panel

TEST(GridSearchPanel, AShownPanelDocksAtTheFootOnEverySizeChange)
{
    TExtStringGrid g;
    g.SearchPanel->Visible = true;
    g.resize(300, 200);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    g.resize(320, 240);
    QCoreApplication::processEvents();
    const TRect r = g.SearchPanel->Bounds;
    EXPECT_EQ(r.Height(), 32);
    EXPECT_EQ(r.Bottom, g.ClientHeight());
    EXPECT_EQ(r.Width(), g.ClientWidth());
}

// Scroll bars kept shown

namespace {
bool Kept(TScrollBarAlways value, platform::TScrollBarKind bar)
{
    return value == saBoth || value == (bar == platform::sbVertical ? saVert : saHorz);
}
}  // namespace

TEST(GridScrollBarAlways, KeptBarsShowDisabledWhileEverythingFitsAndWorkOnceSomethingScrolls)
{
    for (TScrollBarAlways value : {saNone, saVert, saHorz, saBoth}) {
        SCOPED_TRACE(int(value));
        TExtStringGrid g;
        ASSERT_TRUE(painttest::Shown(g, 3, 3, 400, 300));
        const int bare = g.ClientWidth();
        g.SetScrollBarAlways(value);
        for (auto bar : {platform::sbVertical, platform::sbHorizontal}) {
            EXPECT_EQ(g.ScrollBarShown(bar), Kept(value, bar)) << "all fits, bar " << bar;
            if (g.ScrollBarShown(bar)) {
                QScrollBar* sb = bar == platform::sbVertical ? g.verticalScrollBar() : g.horizontalScrollBar();
                EXPECT_FALSE(sb->isEnabled()) << "nothing to scroll: the arrows do nothing";
                EXPECT_TRUE(sb->isVisible());
            }
        }
        EXPECT_EQ(g.ClientWidth(), bare - (Kept(value, platform::sbVertical) ? g.verticalScrollBar()->width() : 0))
            << "a kept bar takes its room";

        g.SetRowCount(60);
        g.SetColCount(30);
        for (auto bar : {platform::sbVertical, platform::sbHorizontal}) {
            EXPECT_TRUE(g.ScrollBarShown(bar)) << "rows and columns out of view, bar " << bar;
            QScrollBar* sb = bar == platform::sbVertical ? g.verticalScrollBar() : g.horizontalScrollBar();
            EXPECT_TRUE(sb->isEnabled());
        }
        QTest::mouseClick(g.verticalScrollBar(), Qt::LeftButton, {},
                          QPoint(g.verticalScrollBar()->width() / 2, g.verticalScrollBar()->height() - 4));
        EXPECT_GT(g.TopRow(), g.FixedRows()) << "the down arrow scrolls again";

        g.SetRowCount(3);
        g.SetColCount(3);
        for (auto bar : {platform::sbVertical, platform::sbHorizontal})
            EXPECT_EQ(g.ScrollBarShown(bar), Kept(value, bar)) << "fits again, bar " << bar;

        g.SetScrollBarAlways(saNone);
        EXPECT_FALSE(g.ScrollBarShown(platform::sbVertical)) << "let go, a bar with nothing to scroll hides";
        EXPECT_FALSE(g.ScrollBarShown(platform::sbHorizontal));
    }
}

TEST(GridScrollBarAlways, AKeptHorizontalBarStopsStretchingOnResize)
{
    const struct {
        TScrollBarAlways value;
        bool stretches;
    } cases[] = {{saNone, true}, {saVert, true}, {saHorz, false}, {saBoth, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.value));
        TExtStringGrid g;
        ASSERT_TRUE(painttest::Shown(g, 4, 3, 500, 200));
        g.SetScrollBarAlways(c.value);
        g.ColumnSize.Stretch = true;
        g.ColumnSize.StretchColumn = -1;
        g.resize(600, 200);
        QCoreApplication::processEvents();
        if (c.stretches)
            EXPECT_EQ(g.ColWidths(3), g.ClientWidth() - 3 * 64 - 1);
        else
            EXPECT_EQ(g.ColWidths(3), 64);
    }
}

TEST(GridScrollBarAlways, AssignCopiesTheKeptBarsWithTheOtherScrollSettings)
{
    TExtStringGrid source;
    source.SetColCount(3);
    source.SetRowCount(3);
    source.SetScrollBarAlways(saBoth);
    source.ScrollHints = shVertical;
    source.ScrollSynch = true;
    source.SetScrollType(ssFlat);
    source.SetScrollWidth(11);

    TExtStringGrid g;
    g.resize(400, 300);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    g.Assign(source);
    EXPECT_EQ(g.ScrollBarAlways(), saBoth);
    EXPECT_TRUE(g.ScrollBarShown(platform::sbVertical)) << "applied at once, not at the next resize";
    EXPECT_TRUE(g.ScrollBarShown(platform::sbHorizontal));
    EXPECT_EQ(g.ScrollHints, shVertical);
    EXPECT_TRUE(g.ScrollSynch);
    EXPECT_TRUE(g.FlatScrollBars());
    EXPECT_EQ(g.ScrollWidth(), 11);
}

// Search panel accelerators

namespace {
class SearchGrid : public TExtStringGrid {
public:
    void SearchPanelForwardClick() override { Actions.push_back("forward"); }
    void SearchPanelBackwardClick() override { Actions.push_back("backward"); }
    void SearchPanelHighlightClick() override { Actions.push_back("highlight"); }
    std::vector<std::string> Actions;
};

// A window with a grid whose search footer shows, an edit holding the focus and a push button
// of the window's own.
struct SearchWindow {
    QWidget Window;
    SearchGrid* Grid = new SearchGrid;
    QLineEdit* Edit = new QLineEdit(&Window);
    QPushButton* Next = new QPushButton(QStringLiteral("Next page"), &Window);
    int NextClicks = 0;  // presses: a shortcut clicks a button only after its press animation
    SearchWindow()
    {
        Grid->setParent(&Window);
        Grid->setGeometry(0, 0, 300, 200);
        Edit->setGeometry(0, 210, 100, 22);
        Next->setGeometry(110, 210, 100, 22);
        QObject::connect(Next, &QPushButton::pressed, [this] { ++NextClicks; });
        Grid->SearchFooter.FindNextCaption = QStringLiteral("Find &next");
        Grid->SearchFooter.FindPrevCaption = QStringLiteral("Find &previous");
        Grid->SearchFooter.HighLightCaption = QStringLiteral("&Highlight");
        Grid->SearchFooter.Visible = true;
        Grid->Loaded();
    }
    bool Show()
    {
        Window.resize(320, 240);
        Window.show();
        QApplication::setActiveWindow(&Window);
        if (!QTest::qWaitForWindowActive(&Window))
            return false;
        Edit->setFocus();
        return true;
    }
    std::vector<std::string> Press(Qt::Key key)
    {
        Grid->Actions.clear();
        QTest::keyClick(Edit, key, Qt::AltModifier);
        return Grid->Actions;
    }
};
using Actions = std::vector<std::string>;
}  // namespace

TEST(GridSearchAccelerators, AltAndAButtonsAcceleratorRunsItsActionFromAnywhereInTheWindow)
{
    SearchWindow w;
    ASSERT_TRUE(w.Show());
    EXPECT_EQ(w.Grid->SearchPanel->Bounds.Height(), 32);
    EXPECT_EQ(w.Press(Qt::Key_N), Actions{"forward"});
    EXPECT_EQ(w.Press(Qt::Key_P), Actions{"backward"});
    EXPECT_EQ(w.Press(Qt::Key_H), Actions{"highlight"});
    EXPECT_EQ(w.Press(Qt::Key_F), Actions{}) << "F is no accelerator";
    EXPECT_TRUE(w.Edit->hasFocus());
}

TEST(GridSearchAccelerators, AHiddenFooterOrAHiddenOrDisabledButtonLeavesTheKeyToTheWindow)
{
    const struct {
        const char* name;
        std::function<void(SearchGrid&)> change;
    } cases[] = {
        {"footer hidden", [](SearchGrid& g) { g.SearchFooter.Visible = false; }},
        {"find-next button not shown", [](SearchGrid& g) { g.SearchFooter.ShowFindNext = false; }},
        {"find-next button disabled", [](SearchGrid& g) { g.SearchPanel->ForwardButton.Enabled = false; }},
        {"caption without accelerator", [](SearchGrid& g) { g.SearchFooter.FindNextCaption = "Find next"; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SearchWindow w;
        w.Next->setText(QStringLiteral("&Next page"));
        ASSERT_TRUE(w.Show());
        c.change(*w.Grid);
        w.Grid->SearchFooter.OnChange();
        EXPECT_EQ(w.Press(Qt::Key_N), Actions{});
        EXPECT_EQ(w.NextClicks, 1) << "the window's own button got Alt+N";
        EXPECT_FALSE(w.Grid->HandleDialogChar('n'));
    }
}

TEST(GridSearchAccelerators, ButtonsSharingAnAcceleratorGoInOrderForwardBackwardHighlight)
{
    SearchWindow w;
    w.Grid->SearchFooter.FindPrevCaption = QStringLiteral("&Back");
    w.Grid->SearchFooter.HighLightCaption = QStringLiteral("Mark &both");
    w.Grid->SearchFooter.OnChange();
    ASSERT_TRUE(w.Show());
    EXPECT_EQ(w.Press(Qt::Key_B), Actions{"backward"});
    EXPECT_EQ(w.Press(Qt::Key_B), Actions{"backward"}) << "again the first, never the other";
    w.Grid->SearchFooter.ShowFindPrev = false;
    w.Grid->SearchFooter.OnChange();
    EXPECT_EQ(w.Press(Qt::Key_B), Actions{"highlight"}) << "with the first hidden the next takes it";
    EXPECT_TRUE(w.Grid->HandleDialogChar('b')) << "either case";
    EXPECT_TRUE(w.Grid->HandleDialogChar('B'));
}

namespace {
// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    int Count = 0;
    QRegion Painted;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) {
            ++Count;
            Painted += static_cast<QPaintEvent*>(e)->region();
        }
        return false;
    }
};
}  // namespace

// A cell written by the program repaints at once, with or without cell properties and when columns
// before it are hidden; nothing else has to repaint the grid for the new text to show.
TEST(CellWrites, RepaintTheWrittenCell)
{
    TExtStringGrid g;
    g.SetColCount(5);
    g.SetRowCount(5);
    g.resize(400, 200);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    QApplication::processEvents();
    PaintCounter paints(g.viewport());
    const auto centre = [&](int c, int r) {
        const TRect rect = g.CellRect(c, r);
        return QPoint((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2);
    };

    g.SetCells(2, 2, QStringLiteral("plain"));
    QApplication::processEvents();
    EXPECT_TRUE(g.viewport()->rect().contains(centre(2, 2)));
    EXPECT_TRUE(paints.Painted.contains(centre(2, 2)));
    EXPECT_FALSE(paints.Painted.contains(centre(4, 4))) << "only the written cell";

    paints.Painted = {};
    g.SetCells(3, 1, QString());
    g.SetColors(3, 1, 0x00FF00);
    ASSERT_NE(g.CellProps(3, 1), nullptr);
    QApplication::processEvents();
    paints.Painted = {};
    g.SetCells(3, 1, QStringLiteral("with properties"));
    QApplication::processEvents();
    EXPECT_TRUE(paints.Painted.contains(centre(3, 1)));

    // With column 1 hidden, real column 3 shows in display column 2.
    g.HideColumn(1);
    QApplication::processEvents();
    paints.Painted = {};
    g.SetCells(3, 3, QStringLiteral("shifted"));
    QApplication::processEvents();
    EXPECT_TRUE(paints.Painted.contains(centre(2, 3)));
}

// Each grid paints the mark-up highlight in its own colours: a change shows in that grid at once
// (through its own repaint) and in no other; setting the value it has already repaints nothing.
TEST(HighlightColors, EachGridPaintsItsOwnAndAChangeRepaintsOnlyIt)
{
    QWidget window;
    window.resize(420, 120);
    TExtStringGrid a, b;
    a.setParent(&window);
    b.setParent(&window);
    EXPECT_EQ(a.HighlightColor(), clHighlight);
    EXPECT_EQ(a.HighlightTextColor(), clHighlightText);
    for (TExtStringGrid* g : {&a, &b}) {
        g->SetColCount(2);
        g->SetRowCount(3);
        g->SetColWidths(1, 120);
        g->SetCells(1, 2, QStringLiteral("<HI>MMMMMMMM</HI>"));
    }
    a.setGeometry(0, 0, 200, 120);
    b.setGeometry(210, 0, 200, 120);
    testsupport::ScreenView screen(&window);
    const auto count = [&](TExtStringGrid& g, TColor color) {
        const QImage img = screen.Image(g.viewport());
        const QRgb rgb = platform::ToQColor(platform::ColorToRGB(color)).rgb() & 0xFFFFFF;
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += (img.pixel(x, y) & 0xFFFFFF) == rgb;
        return n;
    };
    const int system = count(a, clHighlight);
    ASSERT_GT(system, 30);
    EXPECT_EQ(count(a, 0x00FF00), 0);

    PaintCounter paints(b.viewport());
    a.SetHighlightColor(0x00FF00);
    a.SetHighlightTextColor(0x0000FF);
    EXPECT_EQ(a.HighlightColor(), 0x00FF00u);
    EXPECT_GT(count(a, 0x00FF00), 30);
    EXPECT_GT(count(a, 0x0000FF), 3);
    EXPECT_EQ(count(b, 0x00FF00), 0);
    EXPECT_EQ(count(b, clHighlight), system);
    EXPECT_EQ(paints.Count, 0);

    PaintCounter own(a.viewport());
    a.SetHighlightColor(0x00FF00);
    a.SetHighlightTextColor(0x0000FF);
    testsupport::ScreenView::Settle();
    EXPECT_EQ(own.Count, 0);
}

TEST(ArrowColor, ReadFromTheUpArrowAndSetOnAllFour)
{
    TExtStringGrid g;
    EXPECT_EQ(g.ArrowColor(), 0x00FF00u) << "lime";
    g.ArrowWindows[0]->SetColor(0x0000FF);
    EXPECT_EQ(g.ArrowColor(), 0x0000FFu) << "the up arrow answers";
    g.SetArrowColor(0x123456);
    for (const auto& arrow : g.ArrowWindows)
        EXPECT_EQ(arrow->Color(), 0x123456u) << arrow->Dir;
    EXPECT_EQ(g.ArrowColor(), 0x123456u);
}

// A grid that is no tab stop refreshes its proportional bar on the first paint it gets as such,
// also while painting is locked, and never again; a tab stop leaves the bar alone.
TEST(FirstPaint, AGridThatIsNoTabStopRefreshesItsProportionalBarOnce)
{
    const struct {
        const char* name;
        bool tabStop, locked, refreshed;
    } cases[] = {
        {"no tab stop", false, false, true},
        {"no tab stop, locked", false, true, true},
        {"tab stop", true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TExtStringGrid g;
        g.SetTabStop(true);  // its first paints do not count
        g.SetColCount(3);
        g.SetRowCount(60);
        g.resize(200, 150);
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
        g.SetScrollProportional(true);
        g.SetTabStop(c.tabStop);
        // A bar left stale: set up while loading, where the set-up does nothing.
        auto stale = [&g] {
            g.Loading = true;
            g.UpdateVScrollBar();
            g.Loading = false;
            ASSERT_FALSE(g.ProportionalBar(platform::sbVertical));
        };
        stale();
        if (c.locked)
            g.StartUpdate();
        g.viewport()->repaint();
        EXPECT_EQ(g.ProportionalBar(platform::sbVertical), c.refreshed);
        if (c.locked)
            g.EndUpdate();
        stale();
        g.viewport()->repaint();
        EXPECT_FALSE(g.ProportionalBar(platform::sbVertical)) << "only once";
    }
}

namespace {

// Fewer fixed columns or rows: a grid that showed its first scrollable column and row goes on
// showing the first ones, so the columns and rows freed from the fixed area come into view; a grid
// scrolled further stays where it was.
TEST(FixedCountScroll, FreedColumnsAndRowsComeIntoView)
{
    const struct {
        int FixedBefore, LeftBefore, FixedAfter, LeftAfter;
    } cases[] = {{2, 2, 1, 1}, {2, 2, 0, 0}, {2, 4, 1, 4}, {1, 1, 2, 2}};
    for (const auto& tc : cases) {
        SCOPED_TRACE(testing::Message() << tc.FixedBefore << " -> " << tc.FixedAfter << " from " << tc.LeftBefore);
        TExtStringGrid g;
        g.SetColCount(20);
        g.SetRowCount(20);
        g.resize(300, 200);
        g.SetFixedCols(tc.FixedBefore);
        g.SetFixedRows(tc.FixedBefore);
        g.SetLeftCol(tc.LeftBefore);
        g.SetTopRow(tc.LeftBefore);
        ASSERT_EQ(g.LeftCol(), tc.LeftBefore);
        g.SetFixedCols(tc.FixedAfter);
        g.SetFixedRows(tc.FixedAfter);
        EXPECT_EQ(g.LeftCol(), tc.LeftAfter);
        EXPECT_EQ(g.TopRow(), tc.LeftAfter);
    }
}

}  // namespace
