// The tree's window messages: scroll codes, the wheel, timers, the theme-change pause and the
// standard tree view's item queries.
#include "TreeFixture.h"
#include "support/FakeClock.h"

#include <QTest>
#include <climits>
#include <functional>
#include <string>

using namespace treetest;
using namespace platform;

namespace {

class MessageTree : public TBaseNodeTree {
public:
    MessageTree()
    {
        resize(200, 120);
        SetRootNodeCount(100);
    }
    using TBaseNodeTree::CancelMode;
    using TBaseNodeTree::MouseWheel;
    using TBaseNodeTree::Scroll;
    using TBaseNodeTree::ThemeChanged;
    using TBaseNodeTree::Timer;
    void SetChangingTheme(bool on) { FChangingTheme = on; }
    void GetTextInfo(PTreeNode node, TColumnIndex, TFont&, QRect&, QString& text) override
    {
        text = QStringLiteral("node %1").arg(node->Index);
    }
};

}  // namespace

TEST(WindowMessages, VerticalScrollCodes)
{
    MessageTree t;
    t.show();
    t.UpdateScrollBars(false);
    const int page = t.ClientHeight();
    const int lowest = page - int(t.RangeY());
    ASSERT_LT(lowest, -100);
    struct Case {
        const char* Name;
        int Start;
        int Code;
        int Pos;
        int Expected;
    } cases[] = {
        {"line down", 0, SB_LINEDOWN, 0, -20},
        {"line up", -50, SB_LINEUP, 0, -30},
        {"line up at the top", 0, SB_LINEUP, 0, 0},
        {"page down", 0, SB_PAGEDOWN, 0, -page},
        {"page up", -page - 5, SB_PAGEUP, 0, -5},
        {"to the end", 0, SB_BOTTOM, 0, lowest},
        {"to the start", -300, SB_TOP, 0, 0},
        {"thumb", 0, SB_THUMBTRACK, 300, -300},
        {"unknown code", -40, 9, 0, -40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        t.SetOffsetY(c.Start);
        t.Scroll(sbVertical, c.Code, c.Pos);
        EXPECT_EQ(t.OffsetY(), c.Expected);
    }
    // Dragging the thumb keeps the tracking state until the end-of-scroll code.
    t.Scroll(sbVertical, SB_THUMBTRACK, 100);
    EXPECT_TRUE(t.HasState(tsThumbTracking));
    t.Scroll(sbVertical, SB_THUMBTRACK, 120);
    EXPECT_TRUE(t.HasState(tsThumbTracking));
    t.Scroll(sbVertical, SB_ENDSCROLL, 0);
    EXPECT_FALSE(t.HasState(tsThumbTracking));
    EXPECT_EQ(t.OffsetY(), -120);
    EXPECT_EQ(t.ScrollPos(sbVertical), 120);
}

TEST(WindowMessages, WheelScrollsLinesOrPages)
{
    MessageTree t;
    t.show();
    t.UpdateScrollBars(false);
    const unsigned saved = MessageTree::WheelScrollLines;
    constexpr int Page = INT_MIN;  // one client height
    struct Case {
        unsigned Lines;
        TShiftState Shift;
        int Delta;
        int Expected;
    } cases[] = {
        {3, 0, -120, -54},                              // three lines of 18 pixels
        {3, 0, -240, -108},                             // two notches
        {MessageTree::WheelScrollPage, 0, -120, Page},  // a page a notch
        {3, ssCtrl, -120, Page},                        // Ctrl: a page
        {3, ssShift, -120, 0},                          // Shift: sideways, nothing to scroll there
    };
    for (const auto& c : cases) {
        MessageTree::WheelScrollLines = c.Lines;
        t.SetOffsetY(0);
        EXPECT_TRUE(t.MouseWheel(c.Shift, c.Delta, 10, 10));
        const int expected = c.Expected == Page ? -t.ClientHeight() : c.Expected;
        EXPECT_EQ(t.OffsetY(), expected) << c.Lines << " " << c.Shift << " " << c.Delta;
    }
    MessageTree::WheelScrollLines = saved;
}

TEST(WindowMessages, ATimerOrCancelledModeEndsTheSearchAndThemeChangesWaitUnlessOwn)
{
    FakeClock clock;
    MessageTree t;
    t.SetIncrementalSearch(isAll);
    t.OnIncrementalSearch = [](TBaseNodeTree*, PTreeNode, const QString&, int& result) { result = 0; };
    t.show();
    const std::function<void(MessageTree&)> ends[] = {[&](MessageTree&) { clock.Advance(t.IncrementalSearchTimeout()); },
                                                      [](MessageTree& m) { m.CancelMode(); }};
    for (const auto& end : ends) {
        QTest::keyClick(&t, 'x');
        ASSERT_EQ(t.SearchBuffer(), "x");
        end(t);
        EXPECT_TRUE(t.SearchBuffer().isEmpty());
        EXPECT_FALSE(t.HasState(tsIncrementalSearching));
        EXPECT_EQ(t.LastSearchNode(), nullptr);
    }

    t.SetChangingTheme(true);
    t.ThemeChanged();
    EXPECT_FALSE(t.TimerRunning(TTreeTimer::ThemeChange));
    t.ThemeChanged();
    EXPECT_TRUE(t.TimerRunning(TTreeTimer::ThemeChange));
    clock.Advance(499);
    EXPECT_TRUE(t.TimerRunning(TTreeTimer::ThemeChange));
    clock.Advance(1);
    EXPECT_FALSE(t.TimerRunning(TTreeTimer::ThemeChange));
}

TEST(WindowMessages, TreeViewItemQueries)
{
    MessageTree t;
    t.SetRootNodeCount(3);
    PTreeNode a = t.GetFirst();
    t.SetChildCount(a, 2);
    t.SetExpanded(a, true);
    PTreeNode a1 = t.GetFirstChild(a), a2 = t.GetLastChild(a);
    PTreeNode b = t.GetNextSibling(a), c = t.GetLastChild(nullptr);
    t.SetSelected(a, true);
    t.SetFocusedNode(b);
    struct Case {
        int Flag;
        PTreeNode Item;
        PTreeNode Expected;
    } cases[] = {
        {0, nullptr, a},  {1, a, b},        {2, b, a},   {3, a1, a},  {3, a, nullptr}, {4, a, a1},
        {4, b, nullptr},  {5, nullptr, a},  {6, a, a1},  {7, b, a2},  {9, nullptr, b}, {10, nullptr, c},
        {1, nullptr, nullptr}, {6, nullptr, nullptr}, {11, a, nullptr},
    };
    for (const Case& k : cases)
        EXPECT_EQ(t.GetNextItem(k.Flag, k.Item), k.Expected) << "flag " << k.Flag;

    TBaseNodeTree::TTVItem item;
    item.Mask = 0x01 | 0x08 | 0x40;  // no handle flag: nothing is filled
    item.Item = a;
    EXPECT_FALSE(t.GetItem(item));
    EXPECT_EQ(item.Children, 0);

    // The text is cut to the buffer, always terminated, never written past it.
    char16_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    item = TBaseNodeTree::TTVItem();
    item.Mask = 0x10 | 0x01 | 0x08 | 0x40;
    item.Item = a;
    item.Text = buffer;
    item.TextMax = 5;
    ASSERT_TRUE(t.GetItem(item));
    EXPECT_EQ(std::u16string(buffer), u"node");
    EXPECT_EQ(buffer[5], u'#');
    EXPECT_EQ(item.Children, 2);
    EXPECT_EQ(item.StateMask, 0xFF2Fu);
    EXPECT_EQ(item.State & 0xFF, 0x02u | 0x20u);  // selected, expanded; not focused

    QRect r;
    EXPECT_TRUE(t.GetItemRect(a1, false, r));
    t.SetExpanded(a, false);
    EXPECT_FALSE(t.GetItemRect(a1, false, r));
}

TEST(WindowMessages, TheCursorOverRowsSplittersAndTheHotNode)
{
    struct CursorTree : MessageTree {
        using MessageTree::CursorAt;
    } t;
    t.show();
    t.SetCursor(QCursor(Qt::IBeamCursor));
    EXPECT_EQ(t.CursorAt(10, 8).shape(), Qt::IBeamCursor);

    // The lower edge of a row resizes it when the tree allows that.
    bool resizable = true;
    t.OnCanSplitterResizeNode = [&](TBaseNodeTree*, QPoint, PTreeNode, TColumnIndex, bool& allowed) {
        allowed = resizable;
    };
    EXPECT_EQ(t.CursorAt(10, 17).shape(), Qt::IBeamCursor);
    t.TreeOptions().SetMiscOptions(t.TreeOptions().MiscOptions() | toNodeHeightResize);
    EXPECT_EQ(t.CursorAt(10, 17).shape(), Qt::BitmapCursor);
    // The top edge of the first row has no row above it to resize.
    EXPECT_EQ(t.CursorAt(10, 0).shape(), Qt::IBeamCursor);
    resizable = false;
    EXPECT_EQ(t.CursorAt(10, 17).shape(), Qt::IBeamCursor);

    // Over the hot node the hot cursor shows; the handler has the last word.
    t.TreeOptions().SetPaintOptions(t.TreeOptions().PaintOptions() | toHotTrack);
    t.TreeOptions().SetSelectionOptions(t.TreeOptions().SelectionOptions() | toFullRowSelect);
    t.SetHotCursor(QCursor(Qt::PointingHandCursor));
    QTest::mouseMove(t.viewport(), QPoint(10, 8));
    ASSERT_NE(t.HotNode(), nullptr);
    EXPECT_EQ(t.CursorAt(10, 8).shape(), Qt::PointingHandCursor);
    t.OnGetCursor = [](TBaseNodeTree*, QCursor& cursor) { cursor = QCursor(Qt::WaitCursor); };
    EXPECT_EQ(t.CursorAt(10, 8).shape(), Qt::WaitCursor);
}
