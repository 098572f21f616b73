// How presses, keys and focus changes end a running edit, the caller's veto on edits that a click
// or a double click would start, drags that the tree starts itself in automatic drag mode,
// scrolling while something is dragged over the tree, hot tracking after a scroll and the wheel
// during wheel panning.
#include "TreeFixture.h"
#include "controls/tree/StringTree.h"
#include "controls/tree/TreeDataObject.h"
#include "support/FakeClock.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

using namespace treetest;

namespace {

constexpr int RowHeight = 18;

// Rows of plain texts ("Row 0", "Row 1" ...) in a window that shows about eight of them.
struct InputTree {
    explicit InputTree(int rows = 3)
    {
        Window.resize(200, 150);
        Tree = new TNodeStringTree(&Window);
        Tree->SetBounds(0, 0, 200, 150);
        Tree->SetDefaultNodeHeight(RowHeight);
        auto& o = Tree->TreeOptions();
        o.SetMiscOptions(o.MiscOptions() | toEditable);
        Tree->OnGetText = [](TBaseNodeTree*, PTreeNode node, TColumnIndex, TVSTTextType type, QString& text) {
            text = type == ttNormal ? QStringLiteral("Row %1").arg(node->Index) : QString();
        };
        Tree->OnEdited = [this](TBaseNodeTree*, PTreeNode, TColumnIndex) { ++Edited; };
        Tree->OnEditCancelled = [this](TBaseNodeTree*, TColumnIndex) { ++Cancelled; };
        Tree->SetRootNodeCount(uint32_t(rows));
        Window.show();
        Window.activateWindow();
        Tree->setFocus();
        QApplication::processEvents();
        Tree->UpdateScrollBars(true);
    }
    ~InputTree() { delete Tree; }

    PTreeNode Node(int i)
    {
        PTreeNode n = Tree->GetFirst();
        while (n && i-- > 0)
            n = Tree->GetNext(n);
        return n;
    }
    QWidget* Client() { return Tree->viewport(); }
    QPoint Label(int row) { return Tree->GetDisplayRect(Node(row), NoColumn, true).center(); }

    QWidget Window;
    TNodeStringTree* Tree;
    int Edited = 0;
    int Cancelled = 0;
};

}  // namespace

// ---- ending an edit ----

struct EndCase {
    const char* name;
    std::function<void(InputTree&)> act;
};

class EditEnding : public ::testing::TestWithParam<EndCase> {};

TEST_P(EditEnding, AcceptsTheEditInsteadOfCancellingIt)
{
    InputTree t;
    t.Tree->SetFocusedNode(t.Node(1));
    ASSERT_TRUE(t.Tree->EditNode(t.Node(1), NoColumn));
    ASSERT_TRUE(t.Tree->HasState(tsEditing));
    GetParam().act(t);
    EXPECT_FALSE(t.Tree->HasState(tsEditing));
    EXPECT_EQ(t.Edited, 1);
    EXPECT_EQ(t.Cancelled, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Triggers, EditEnding,
    ::testing::Values(
        EndCase{"PressOnAnotherNode", [](InputTree& t) { QTest::mouseClick(t.Client(), Qt::LeftButton, {}, t.Label(2)); }},
        EndCase{"DoubleClickOnAnotherNode",
                [](InputTree& t) { QTest::mouseDClick(t.Client(), Qt::LeftButton, {}, t.Label(0)); }},
        EndCase{"ArrowUp", [](InputTree& t) { QTest::keyClick(t.Tree, Qt::Key_Up); }},
        EndCase{"FocusMovedByCode", [](InputTree& t) { t.Tree->SetFocusedNode(t.Node(0)); }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the caller's veto on edits started by the mouse ----

struct VetoCase {
    const char* name;
    bool doubleClick;
    bool allowed;
};

class MouseEditVeto : public ::testing::TestWithParam<VetoCase> {};

TEST_P(MouseEditVeto, OnEditingDecidesWhetherTheEditIsArmed)
{
    const VetoCase& c = GetParam();
    InputTree t;
    auto& o = t.Tree->TreeOptions();
    // One way to start an edit, and no toggling on double clicks.
    o.SetMiscOptions((o.MiscOptions() & ~(toEditOnClick | toEditOnDblClick | toToggleOnDblClick)) |
                     (c.doubleClick ? toEditOnDblClick : toEditOnClick));
    t.Tree->SetEditDelay(5000);
    int asked = 0;
    t.Tree->OnEditing = [&](TBaseNodeTree*, PTreeNode node, TColumnIndex, bool& allowed) {
        ++asked;
        EXPECT_EQ(node, t.Node(1));
        allowed = c.allowed;
    };
    // An edit starts on a node that is already focused and selected.
    t.Tree->SetFocusedNode(t.Node(1));
    t.Tree->SetSelected(t.Node(1), true);
    if (c.doubleClick)
        QTest::mouseDClick(t.Client(), Qt::LeftButton, {}, t.Label(1));
    else
        QTest::mouseClick(t.Client(), Qt::LeftButton, {}, t.Label(1));
    EXPECT_GE(asked, 1);
    EXPECT_EQ(t.Tree->TimerRunning(TTreeTimer::Edit), c.allowed);
    EXPECT_EQ(t.Tree->HasState(tsEditPending), c.allowed);
}

INSTANTIATE_TEST_SUITE_P(Cases, MouseEditVeto,
                         ::testing::Values(VetoCase{"ClickAllowed", false, true}, VetoCase{"ClickRefused", false, false},
                                           VetoCase{"DoubleClickAllowed", true, true},
                                           VetoCase{"DoubleClickRefused", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- automatic drag mode ----

TEST(AutomaticDragMode, TheTreeStartsItsOwnDragsAndKeepsTheRubberBand)
{
    InputTree t(3);
    auto& o = t.Tree->TreeOptions();
    o.SetSelectionOptions(o.SelectionOptions() | toMultiSelect);
    t.Tree->SetDragMode(platform::TDragMode::dmAutomatic);

    // A press on a label gets the tree's own drag ready.
    QTest::mousePress(t.Client(), Qt::LeftButton, {}, t.Label(0));
    EXPECT_TRUE(t.Tree->HasState(tsOLEDragPending));
    QTest::mouseRelease(t.Client(), Qt::LeftButton, {}, t.Label(0));
    EXPECT_FALSE(t.Tree->HasState(tsOLEDragPending));

    // A press in the empty space below the rows draws a selection rectangle when dragged.
    const QPoint empty(150, 4 * RowHeight + 10);
    QTest::mousePress(t.Client(), Qt::LeftButton, {}, empty);
    QTest::mouseMove(t.Client(), empty - QPoint(100, 3 * RowHeight));
    QTest::mouseMove(t.Client(), QPoint(10, 5));
    EXPECT_TRUE(t.Tree->HasState(tsDrawSelecting));
    EXPECT_FALSE(t.Tree->TCustomControl::Dragging());
    QTest::mouseRelease(t.Client(), Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_FALSE(t.Tree->IsMouseSelecting());
}

// ---- dragging over the tree ----

TEST(DragOverScrolling, TheBottomEdgeScrollsOnceTheDelayHasPassed)
{
    FakeClock clock;
    InputTree t(40);
    auto& o = t.Tree->TreeOptions();
    o.SetAutoOptions(o.AutoOptions() | toAutoScroll);
    t.Tree->OnDragOver = [](TBaseNodeTree*, QObject*, platform::TShiftState, TDragState, QPoint, TTVDropMode, int&,
                            bool& allowed) { allowed = true; };
    TNodeStringTree source;
    auto object = std::make_shared<TTVDataObject>(&source, false);
    const QPoint middle(50, 60);
    const QPoint nearBottom(50, t.Tree->ClientHeight() - 3);
    int effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(t.Tree->DragManager().DragEnter(object, MK_LBUTTON, middle, effect), S_OK);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t.Tree->DragManager().DragOver(MK_LBUTTON, nearBottom, effect);
    EXPECT_EQ(t.Tree->OffsetY(), 0) << "not before the delay";
    clock.Advance(int(t.Tree->AutoScrollDelay()));
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t.Tree->DragManager().DragOver(MK_LBUTTON, nearBottom, effect);
    EXPECT_LT(t.Tree->OffsetY(), 0);
    EXPECT_TRUE(effect & DROPEFFECT_SCROLL);
    t.Tree->DragManager().DragLeave();
}

// ---- hot tracking after a scroll ----

TEST(HotTracking, TheHotNodeFollowsTheContentMovingUnderTheMouse)
{
    InputTree t(40);
    auto& o = t.Tree->TreeOptions();
    o.SetPaintOptions(o.PaintOptions() | toHotTrack);
    const QPoint at = t.Label(2);
    QCursor::setPos(t.Client()->mapToGlobal(at));
    QTest::mouseMove(t.Client(), at);
    ASSERT_EQ(t.Tree->HotNode(), t.Node(2));
    t.Tree->SetOffsetY(-3 * RowHeight);
    EXPECT_EQ(t.Tree->HotNode(), t.Node(5));
}

// ---- the wheel during wheel panning ----

TEST(WheelPanning, TheWheelEndsIt)
{
    InputTree t(40);
    auto& o = t.Tree->TreeOptions();
    o.SetMiscOptions(o.MiscOptions() | toWheelPanning);
    QTest::mouseClick(t.Client(), Qt::MiddleButton, {}, QPoint(100, 70));
    // Released without a drag: the panning goes on.
    ASSERT_TRUE(t.Tree->TreeStates() & TS(tsWheelPanning, tsWheelScrolling));
    const QPoint at(100, 70);
    QWheelEvent wheel(at, t.Client()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(t.Client(), &wheel);
    EXPECT_FALSE(t.Tree->TreeStates() & TS(tsWheelPanning, tsWheelScrolling));
    EXPECT_LT(t.Tree->OffsetY(), 0) << "and scrolls as usual";
}
