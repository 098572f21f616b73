// The mouse on a tree: what a point is over, and presses, releases and drags with QTest on the
// offscreen platform: buttons, check boxes, Shift and Ctrl selection, the rubber band, column
// clicks and node height dragging.
#include "TreeFixture.h"

#include <QApplication>
#include <QTest>

using namespace treetest;
using platform::ssCtrl;

namespace {

constexpr int LabelWidth = 40;

// Nodes whose content is LabelWidth pixels wide in every column; column 1 cells of nodes marked
// empty show nothing.
class MouseTree : public TBaseNodeTree {
public:
    MouseTree()
    {
        resize(300, 200);
        OnChecked = [this](TBaseNodeTree*, PTreeNode n) { Checked.push_back(n); };
        OnColumnClick = [this](TBaseNodeTree*, TColumnIndex c, platform::TShiftState) { ColumnClicks.push_back(c); };
    }
    int DoGetNodeWidth(PTreeNode, TColumnIndex, platform::TCanvas*) override { return LabelWidth; }
    bool ColumnIsEmpty(PTreeNode node, TColumnIndex column) override
    {
        return column == 1 && std::find(EmptyInColumn1.begin(), EmptyInColumn1.end(), node) != EmptyInColumn1.end();
    }
    using TBaseNodeTree::MarkCacheStale;

    THitInfo Hit(int x, int y)
    {
        THitInfo info;
        GetHitTestInfoAt(x, y, true, info);
        return info;
    }
    std::vector<PTreeNode> Selected()
    {
        std::vector<PTreeNode> r;
        for (PTreeNode n = GetFirstSelected(); n; n = GetNextSelected(n))
            r.push_back(n);
        return r;
    }
    std::vector<PTreeNode> Checked;
    std::vector<TColumnIndex> ColumnClicks;
    std::vector<PTreeNode> EmptyInColumn1;
};

// Rows of 18 pixels: A (children a1, a2) at 0, a1 at 18, a2 at 36, B (a check box) at 54.
class MouseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        A = t.AddChild(nullptr);
        a1 = t.AddChild(A);
        a2 = t.AddChild(A);
        B = t.AddChild(nullptr);
        t.SetExpanded(A, true);
        t.TreeOptions().SetMiscOptions(t.TreeOptions().MiscOptions() | toCheckSupport);
        t.SetCheckType(B, ctCheckBox);
        t.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&t));
        checkWidth = t.CheckImages() ? t.CheckImages()->Width() + 2 : 2;
    }
    QWidget* Client() { return t.viewport(); }
    void Click(QPoint p, Qt::KeyboardModifiers mods = {}) { QTest::mouseClick(Client(), Qt::LeftButton, mods, p); }
    // Inside the label of a node at level `level` (0 = top) in row `row`, also past a check box.
    static QPoint Label(int level, int row) { return QPoint(18 * (level + 1) + 4 + 25, 18 * row + 9); }

    MouseTree t;
    PTreeNode A = nullptr, a1 = nullptr, a2 = nullptr, B = nullptr;
    int checkWidth = 0;
};

TEST_F(MouseTest, HitPositionsOfARow)
{
    struct Case {
        QPoint p;
        int node;  // index into {A, a1, a2, B}, -1 for none
        THitPositions positions;
    };
    const int boxX = 22 + 1;
    const Case cases[] = {
        {{5, 9}, 0, hiOnItem | hiOnItemButton},
        {{12, 9}, 0, hiOnItem | hiOnItemButton | hiOnItemButtonExact},
        {{30, 9}, 0, hiOnItem | hiOnItemLabel},
        {{22 + LabelWidth + 5, 9}, 0, hiOnItem | hiOnItemRight},
        // The indentation of a node without children is just the row.
        {{10, 27}, 1, hiOnItem},
        {{boxX, 63}, 3, hiOnItem | hiOnItemCheckbox},
        {{22 + checkWidth + 5, 63}, 3, hiOnItem | hiOnItemLabel},
        {{10, 150}, -1, hiNowhere},
        {{-3, 10}, -1, hiToLeft},
        {{10, 250}, -1, hiBelow},
    };
    const PTreeNode nodes[] = {A, a1, a2, B};
    for (const Case& c : cases) {
        const THitInfo info = t.Hit(c.p.x(), c.p.y());
        EXPECT_EQ(info.HitPositions, c.positions) << c.p.x() << "," << c.p.y();
        EXPECT_EQ(info.HitNode, c.node < 0 ? nullptr : nodes[c.node]) << c.p.x() << "," << c.p.y();
        EXPECT_EQ(info.HitColumn, NoColumn);
    }
    // With node height dragging the row edges are splitters, except over a check box.
    t.TreeOptions().SetMiscOptions(t.TreeOptions().MiscOptions() | toNodeHeightResize);
    EXPECT_EQ(t.Hit(30, 16).HitPositions, hiOnItem | hiLowerSplitter | hiOnItemLabel);
    EXPECT_EQ(t.Hit(30, 19).HitPositions & (hiUpperSplitter | hiLowerSplitter), THitPositions(hiUpperSplitter));
    EXPECT_EQ(t.Hit(boxX, 54).HitPositions, hiOnItem | hiOnItemCheckbox);
}

TEST_F(MouseTest, HitColumnsRightOfTheLastAndAcrossEmptyCells)
{
    auto& columns = t.Header().Columns();
    for (int i = 0; i < 2; ++i)
        columns.Add()->SetWidth(100);
    t.Header().SetMainColumn(0);
    const THitInfo outside = t.Hit(250, 9);
    EXPECT_EQ(outside.HitPositions, THitPositions(hiNowhere));
    EXPECT_EQ(outside.HitNode, A);
    EXPECT_EQ(outside.HitColumn, InvalidColumn);
    EXPECT_EQ(t.Hit(150, 9).HitColumn, 1);

    // An empty cell is reported in the non-empty cell to its left that spans over it.
    t.EmptyInColumn1 = {A};
    t.TreeOptions().SetAutoOptions(t.TreeOptions().AutoOptions() | toAutoSpanColumns);
    const THitInfo spanned = t.Hit(150, 9);
    EXPECT_EQ(spanned.HitColumn, 0);
    EXPECT_EQ(spanned.HitPositions, hiOnItem | hiOnItemRight);
    EXPECT_EQ(t.Hit(150, 27).HitColumn, 1);
}

TEST_F(MouseTest, ButtonsToggleAndCheckBoxesCompleteOnlyOnTheSameNode)
{
    Click(QPoint(12, 9));
    EXPECT_FALSE(t.GetExpanded(A));
    Click(QPoint(12, 9));
    EXPECT_TRUE(t.GetExpanded(A));

    const QPoint box(23, 63);
    // Pressed on the box, released over another row: the box returns, nothing is checked.
    QTest::mousePress(Client(), Qt::LeftButton, {}, box);
    EXPECT_EQ(t.GetCheckState(B), csUncheckedPressed);
    QTest::mouseRelease(Client(), Qt::LeftButton, {}, Label(0, 0));
    EXPECT_EQ(t.GetCheckState(B), csUncheckedNormal);
    EXPECT_TRUE(t.Checked.empty());
    EXPECT_FALSE(t.HasState(tsMouseCheckPending));
    // Released where it was pressed: checked.
    Click(box);
    EXPECT_EQ(t.GetCheckState(B), csCheckedNormal);
    EXPECT_EQ(t.Checked, (std::vector<PTreeNode>{B}));
}

TEST_F(MouseTest, PlainCtrlAndShiftClicksSelect)
{
    t.TreeOptions().SetSelectionOptions(toMultiSelect);
    struct Step {
        QPoint p;
        Qt::KeyboardModifiers mods;
        std::vector<int> selected;  // indices into {A, a1, a2, B}
        int focused;
    };
    const Step steps[] = {
        {Label(1, 1), {}, {1}, 1},
        {Label(0, 3), Qt::ControlModifier, {1, 3}, 3},
        {Label(1, 1), Qt::ControlModifier, {3}, 1},
        // The Ctrl click made a1 the anchor.
        {Label(0, 0), Qt::ShiftModifier, {0, 1}, 0},
        {Label(1, 2), Qt::ShiftModifier | Qt::ControlModifier, {0, 1, 2}, 2},
        {Label(1, 1), {}, {1}, 1},
        // Empty space below the rows clears a multi-selection.
        {QPoint(30, 150), {}, {}, 1},
    };
    const PTreeNode nodes[] = {A, a1, a2, B};
    int i = 0;
    for (const Step& s : steps) {
        Click(s.p, s.mods);
        std::vector<PTreeNode> expected;
        for (int k : s.selected)
            expected.push_back(nodes[k]);
        EXPECT_EQ(t.Selected(), expected) << "step " << i;
        EXPECT_EQ(t.FocusedNode(), nodes[s.focused]) << "step " << i;
        ++i;
    }
    EXPECT_TREE_VALID(t);
}

TEST_F(MouseTest, SingleSelectionReplacesOnClickAndKeepsItOnEmptySpace)
{
    Click(Label(1, 1));
    Click(Label(0, 3), Qt::ControlModifier);
    EXPECT_EQ(t.Selected(), (std::vector<PTreeNode>{B}));
    Click(QPoint(30, 150));
    EXPECT_EQ(t.Selected(), (std::vector<PTreeNode>{B}));
}

// With a drag possible, a press leaves a multi-selection alone: a plain press clears the others
// and a Ctrl press toggles the node only when the button comes up without a drag.
TEST_F(MouseTest, WithADragPossibleThePressChangesTheSelectionOnlyAtRelease)
{
    t.TreeOptions().SetSelectionOptions(toMultiSelect);
    t.SetDragMode(platform::TDragMode::dmAutomatic);
    struct Case {
        Qt::KeyboardModifiers mods;
        std::vector<PTreeNode> afterRelease;
    };
    const Case cases[] = {{{}, {a1}}, {Qt::ControlModifier, {a2}}};
    for (const Case& c : cases) {
        t.ClearSelection();
        t.SetSelected(a1, true);
        t.SetSelected(a2, true);
        QTest::mousePress(Client(), Qt::LeftButton, c.mods, Label(1, 1));
        EXPECT_EQ(t.Selected(), (std::vector<PTreeNode>{a1, a2})) << int(c.mods);
        QTest::mouseRelease(Client(), Qt::LeftButton, c.mods, Label(1, 1));
        EXPECT_EQ(t.Selected(), c.afterRelease) << int(c.mods);
        EXPECT_FALSE(t.HasState(tsClearPending) || t.HasState(tsToggleFocusedSelection));
    }
}

TEST_F(MouseTest, DraggingARubberBandSelectsTheRowsItTouches)
{
    t.TreeOptions().SetSelectionOptions(toMultiSelect);
    t.SetSelected(B, true);
    // From right of the labels, up-left over the labels of the first three rows.
    QTest::mousePress(Client(), Qt::LeftButton, {}, QPoint(200, 4));
    EXPECT_TRUE(t.IsMouseSelecting());
    EXPECT_TRUE(t.Selected().empty());
    QTest::mouseMove(Client(), QPoint(120, 20));
    QTest::mouseMove(Client(), QPoint(45, 40));
    EXPECT_TRUE(t.HasState(tsDrawSelecting));
    EXPECT_EQ(t.Selected(), (std::vector<PTreeNode>{A, a1, a2}));
    // Shrinking the band gives rows back.
    QTest::mouseMove(Client(), QPoint(45, 10));
    EXPECT_EQ(t.Selected(), (std::vector<PTreeNode>{A}));
    QTest::mouseRelease(Client(), Qt::LeftButton, {}, QPoint(45, 10));
    EXPECT_FALSE(t.IsMouseSelecting());
    EXPECT_EQ(t.Selected(), (std::vector<PTreeNode>{A}));
    EXPECT_TREE_VALID(t);
}

TEST_F(MouseTest, ColumnClicksAndNodeHeightDragging)
{
    auto& columns = t.Header().Columns();
    for (int i = 0; i < 2; ++i)
        columns.Add()->SetWidth(100);
    t.Header().SetMainColumn(0);
    columns[0]->SetOptions(columns[0]->Options() | coFixed);
    Click(QPoint(150, 27));
    // Pressed in one column, released in another: no click.
    QTest::mousePress(Client(), Qt::LeftButton, {}, QPoint(150, 27));
    QTest::mouseRelease(Client(), Qt::LeftButton, {}, QPoint(50, 27));
    EXPECT_EQ(t.ColumnClicks, (std::vector<TColumnIndex>{1}));

    t.TreeOptions().SetMiscOptions(t.TreeOptions().MiscOptions() | toNodeHeightResize);
    // a1's lower edge, dragged down and then up past its top.
    QTest::mousePress(Client(), Qt::LeftButton, {}, QPoint(60, 34));
    EXPECT_TRUE(t.HasState(tsNodeHeightTrackPending));
    QTest::mouseMove(Client(), QPoint(60, 48));
    EXPECT_EQ(t.GetNodeHeight(a1), 30u);
    QTest::mouseMove(Client(), QPoint(60, 5));
    EXPECT_EQ(t.GetNodeHeight(a1), 1u);
    QTest::mouseRelease(Client(), Qt::LeftButton, {}, QPoint(60, 5));
    EXPECT_FALSE(t.HasState(tsNodeHeightTracking));
    EXPECT_TREE_VALID(t);
}

// Hit tests and display rectangles must not depend on whether the position cache serves them.
TEST(MouseCacheTest, HitTestsAndRectanglesAgreeWithAndWithoutThePositionCache)
{
    MouseTree t;
    // A sibling list long enough for the walk to give up in favour of the cache.
    t.SetRootNodeCount(3 * TBaseNodeTree::CacheThreshold);
    int i = 0;
    for (PTreeNode n = t.GetFirst(); n; n = t.GetNextSibling(n), ++i)
        t.SetNodeHeight(n, 12 + (i % 7) * 5);
    t.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&t));

    struct Sample {
        THitInfo hit;
        QRect rect;
    };
    auto sample = [&](int offsetY) {
        t.SetOffsetY(offsetY);
        std::vector<Sample> samples;
        for (int y = 0; y < t.ClientHeight(); y += 7) {
            Sample s;
            t.GetHitTestInfoAt(30, y, true, s.hit);
            if (s.hit.HitNode)
                s.rect = t.GetDisplayRect(s.hit.HitNode, NoColumn, false);
            samples.push_back(s);
        }
        return samples;
    };
    t.WaitForCacheValidation();
    QCoreApplication::processEvents();
    ASSERT_TRUE(t.HasState(tsUseCache));
    const int offsets[] = {0, -int(t.RangeY()) / 2 - 3, -int(t.RangeY()) + t.ClientHeight()};
    std::vector<std::vector<Sample>> cached;
    for (int offset : offsets)
        cached.push_back(sample(offset));
    t.MarkCacheStale();
    ASSERT_FALSE(t.HasState(tsUseCache));
    for (size_t k = 0; k < std::size(offsets); ++k) {
        const auto plain = sample(offsets[k]);
        ASSERT_EQ(plain.size(), cached[k].size());
        for (size_t j = 0; j < plain.size(); ++j) {
            EXPECT_EQ(plain[j].hit.HitNode, cached[k][j].hit.HitNode) << k << " " << j;
            EXPECT_EQ(plain[j].hit.HitPositions, cached[k][j].hit.HitPositions) << k << " " << j;
            EXPECT_EQ(plain[j].hit.HitPoint, cached[k][j].hit.HitPoint) << k << " " << j;
            EXPECT_EQ(plain[j].rect, cached[k][j].rect) << k << " " << j;
        }
        EXPECT_NE(plain.front().hit.HitNode, nullptr);
    }
}

}  // namespace
