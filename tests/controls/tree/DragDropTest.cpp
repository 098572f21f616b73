// Dragging nodes: the drop mode under the mouse, the effect a drag suggests, the drop-target calls
// and real drags between two trees driven with the mouse.
#include "ScannerTreeFixture.h"
#include "TreeFixture.h"
#include "support/FakeClock.h"

#include <QTest>
#include <QTimer>

using namespace treetest;

namespace {

void AddMisc(TBaseNodeTree& t, TTVMiscOptions o) { t.TreeOptions().SetMiscOptions(t.TreeOptions().MiscOptions() | o); }
void RemovePaint(TBaseNodeTree& t, TTVPaintOptions o)
{
    t.TreeOptions().SetPaintOptions(t.TreeOptions().PaintOptions() & ~o);
}

TTVDropMode ModeAt(TBaseNodeTree& t, QPoint p)
{
    THitInfo hit;
    t.GetHitTestInfoAt(p.x(), p.y(), true, hit);
    QRect r = hit.HitNode ? t.GetDisplayRect(hit.HitNode, NoColumn, false) : QRect();
    return t.DetermineDropMode(p, hit, r);
}

// Two numbered trees side by side in one window; rows are dragged by their whole width.
struct DragWindow {
    QWidget Window;
    DataTree* Src;
    DataTree* Dst;
    std::vector<PTreeNode> SrcRows, DstRows;
    DragWindow()
    {
        Window.resize(420, 200);
        Src = new DataTree;
        Dst = new DataTree;
        Src->setParent(&Window);
        Dst->setParent(&Window);
        Src->SetBounds(0, 0, 200, 200);
        Dst->SetBounds(220, 0, 200, 200);
        for (DataTree* t : {Src, Dst}) {
            AddMisc(*t, toFullRowDrag | toAcceptOLEDrop);
            t->TreeOptions().SetSelectionOptions(t->TreeOptions().SelectionOptions() | toFullRowSelect);
            t->OnDragAllowed = [](TBaseNodeTree*, PTreeNode, TColumnIndex, bool& allowed) { allowed = true; };
            t->SetDragImageKind(diNoImage);
        }
        uint32_t v = 1;
        for (int i = 0; i < 3; ++i) {
            SrcRows.push_back(Src->AddChild(nullptr));
            Src->ValidateNode(SrcRows.back(), false);
            Src->SetValue(SrcRows.back(), v++);
        }
        DstRows.push_back(Dst->AddChild(nullptr));
        Dst->ValidateNode(DstRows.back(), false);
        Dst->SetValue(DstRows.back(), 10);
        Window.show();
        QTest::qWaitForWindowExposed(&Window);
    }
    QPoint RowCentre(DataTree* t, PTreeNode n) { return t->GetDisplayRect(n, NoColumn, false).center(); }
    // Presses on the source row, moves past the threshold and lets the queued steps finish the
    // drag from inside Qt's drag loop.
    void Drag(PTreeNode row, QPoint dropAt, Qt::KeyboardModifiers keys = {})
    {
        QWidget* from = Src->viewport();
        QWidget* to = Dst->viewport();
        const QPoint start = RowCentre(Src, row);
        QTest::mousePress(from, Qt::LeftButton, keys, start);
        QTimer::singleShot(0, to, [=] {
            QTest::mouseMove(to, dropAt - QPoint(0, 2));
            QTest::mouseMove(to, dropAt);
            QTest::mouseRelease(to, Qt::LeftButton, keys, dropAt);
        });
        QTest::mouseMove(from, start + QPoint(30, 0));
        QApplication::processEvents();
    }
};

}  // namespace

TEST(DropMode, LabelRowAndReportMode)
{
    struct Case {
        const char* name;
        bool dropmark;
        bool reportMode;
        const char* where;
        TTVDropMode expected;
    };
    const Case cases[] = {
        {"on the label", true, false, "label", dmOnNode},
        {"free part, upper half, with drop mark", true, false, "upper", dmAbove},
        {"free part, lower half, with drop mark", true, false, "lower", dmBelow},
        {"free part without drop mark", false, false, "upper", dmOnNode},
        {"report mode: label still counts", true, true, "label", dmOnNode},
        {"report mode: outside the content", true, true, "upper", dmNowhere},
        {"below the last row", true, false, "empty", dmNowhere},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScannerTree s;
        s.Window.show();
        ScannerTree::Settle();
        if (!c.dropmark)
            RemovePaint(*s.Tree, toShowDropmark);
        else
            s.Tree->TreeOptions().SetPaintOptions(s.Tree->TreeOptions().PaintOptions() | toShowDropmark);
        if (c.reportMode)
            AddMisc(*s.Tree, toReportMode);
        const PTreeNode meter = s.Meter(0);
        const QRect text = s.Tree->GetDisplayRect(meter, NoColumn, true);
        const QRect row = s.Tree->GetDisplayRect(meter, NoColumn, false);
        const std::string where = c.where;
        const QPoint p = where == "label"   ? text.center()
                         : where == "upper" ? QPoint(text.right() + 15, row.top() + 1)
                         : where == "lower" ? QPoint(text.right() + 15, row.bottom() - 1)
                                            : QPoint(10, s.Tree->ClientHeight() - 2);
        EXPECT_EQ(ModeAt(*s.Tree, p), c.expected);
    }
}

TEST(DropEffect, SuggestedByTheSourceAndTheKeys)
{
    DataTree tree, other;
    const int all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    struct Case {
        const char* name;
        QObject* source;
        platform::TShiftState shift;
        int allowed;
        int expected;
    };
    const Case cases[] = {
        {"inside the tree: move", &tree, 0, all, DROPEFFECT_MOVE},
        {"from another tree: copy", &other, 0, all, DROPEFFECT_COPY},
        {"from nowhere: copy", nullptr, 0, all, DROPEFFECT_COPY},
        {"ctrl+shift: link", &tree, platform::ssCtrl | platform::ssShift, all, DROPEFFECT_LINK},
        {"ctrl: copy", &tree, platform::ssCtrl, all, DROPEFFECT_COPY},
        {"shift: move", &other, platform::ssShift, all, DROPEFFECT_MOVE},
        {"alt: link", &other, platform::ssAlt, all, DROPEFFECT_LINK},
        {"ctrl without copy allowed: the default", &tree, platform::ssCtrl, DROPEFFECT_MOVE, DROPEFFECT_MOVE},
        {"inside without move allowed: all that is allowed", &tree, 0, DROPEFFECT_COPY | DROPEFFECT_LINK,
         DROPEFFECT_COPY | DROPEFFECT_LINK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tree.SuggestDropEffect(c.source, c.shift, QPoint(), c.allowed), c.expected);
    }
}

TEST(DropTarget, RefusedDropFailsAndFiresNoDrop)
{
    for (bool accept : {false, true}) {
        SCOPED_TRACE(accept ? "accepted" : "refused");
        ScannerTree s;
        s.Window.show();
        ScannerTree::Settle();
        int drops = 0;
        std::vector<TDragState> states;
        s.Tree->OnDragOver = [&](TBaseNodeTree*, QObject*, platform::TShiftState, TDragState state, QPoint, TTVDropMode,
                                 int&, bool& allowed) {
            states.push_back(state);
            allowed = accept;
        };
        s.Tree->OnDragDrop = [&](TBaseNodeTree*, QObject*, const TDataObjectPtr&, const std::vector<TClipFormat>&,
                                 platform::TShiftState, QPoint, int&, TTVDropMode) { ++drops; };
        DataTree source;
        auto object = std::make_shared<TTVDataObject>(&source, false);
        const QPoint p = s.Tree->GetDisplayRect(s.Meter(1), NoColumn, true).center();
        int effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(s.Tree->DragManager().DragEnter(object, MK_LBUTTON, p, effect), S_OK);
        EXPECT_EQ(s.Tree->DragManager().DragSource(), &source);
        EXPECT_EQ(effect, accept ? DROPEFFECT_COPY : DROPEFFECT_NONE);
        EXPECT_EQ(s.Tree->DropTargetNode(), accept ? s.Meter(1) : nullptr);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(s.Tree->DragManager().Drop(object, MK_LBUTTON, p, effect), accept ? S_OK : E_FAIL);
        EXPECT_EQ(drops, accept ? 1 : 0);
        EXPECT_EQ(s.Tree->DropTargetNode(), nullptr);
        EXPECT_FALSE(s.Tree->DragManager().IsDropTarget());
        EXPECT_EQ(states, (std::vector<TDragState>{dsDragEnter, dsDragMove}));
    }
}

TEST(DropTarget, HoveringOverACollapsedParentExpandsIt)
{
    for (bool autoExpand : {true, false}) {
        SCOPED_TRACE(autoExpand ? "auto expand" : "no auto expand");
        ScannerTree s;
        s.Window.show();
        ScannerTree::Settle();
        auto& o = s.Tree->TreeOptions();
        o.SetAutoOptions(autoExpand ? o.AutoOptions() | toAutoDropExpand : o.AutoOptions() & ~toAutoDropExpand);
        s.Tree->SetAutoExpandDelay(20);
        FakeClock clock;
        s.Tree->OnDragOver = [](TBaseNodeTree*, QObject*, platform::TShiftState, TDragState, QPoint, TTVDropMode,
                                int&, bool& allowed) { allowed = true; };
        DataTree source;
        auto object = std::make_shared<TTVDataObject>(&source, false);
        const PTreeNode meter = s.Meter(1);
        ASSERT_FALSE(meter->Has(vsExpanded));
        const QPoint p = s.Tree->GetDisplayRect(meter, NoColumn, true).center();
        int effect = DROPEFFECT_COPY;
        s.Tree->DragManager().DragEnter(object, MK_LBUTTON, QPoint(5, s.Tree->ClientHeight() - 2), effect);
        effect = DROPEFFECT_COPY;
        s.Tree->DragManager().DragOver(MK_LBUTTON, p, effect);
        EXPECT_EQ(s.Tree->DropTargetNode(), meter);
        clock.Advance(19);
        EXPECT_FALSE(meter->Has(vsExpanded)) << "the node opens only after the delay";
        clock.Advance(1);
        EXPECT_EQ(meter->Has(vsExpanded), autoExpand);
        s.Tree->DragManager().DragLeave();
        EXPECT_EQ(s.Tree->DropTargetNode(), nullptr);
    }
}

TEST(DragAndDrop, MouseDragBetweenTwoTrees)
{
    struct Case {
        const char* name;
        Qt::KeyboardModifiers keys;
        bool autoDelete;
        bool readOnlyTarget;
        std::vector<uint32_t> src, dst;
    };
    const Case cases[] = {
        // From another tree a drag suggests a copy: the source keeps its row.
        {"copy", Qt::NoModifier, false, false, {1, 2, 3}, {10, 2}},
        // Shift asks for a move: the target moves the row over, the source deletes nothing more.
        {"move", Qt::ShiftModifier, true, false, {1, 3}, {10, 2}},
        // A read-only target refuses: nothing arrives, nothing leaves.
        {"read-only target", Qt::ShiftModifier, true, true, {1, 2, 3}, {10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DragWindow w;
        if (c.autoDelete)
            w.Src->TreeOptions().SetAutoOptions(w.Src->TreeOptions().AutoOptions() | toAutoDeleteMovedNodes);
        if (c.readOnlyTarget)
            AddMisc(*w.Dst, toReadOnly);
        bool dropped = false;
        w.Dst->OnDragOver = [](TBaseNodeTree*, QObject*, platform::TShiftState, TDragState, QPoint, TTVDropMode,
                               int&, bool& allowed) { allowed = true; };
        w.Dst->OnDragDrop = [&](TBaseNodeTree* t, QObject*, const TDataObjectPtr& data, const std::vector<TClipFormat>& formats,
                                platform::TShiftState, QPoint, int& effect, TTVDropMode) {
            EXPECT_NE(std::find(formats.begin(), formats.end(), ClipFormatTreeData), formats.end());
            dropped = t->ProcessDrop(data, t->DropTargetNode(), effect, amInsertAfter);
        };
        w.Drag(w.SrcRows[1], w.RowCentre(w.Dst, w.DstRows[0]), c.keys);
        EXPECT_EQ(dropped, !c.readOnlyTarget);
        EXPECT_EQ(Values(*w.Src), c.src);
        EXPECT_EQ(Values(*w.Dst), c.dst);
        EXPECT_FALSE(w.Src->Dragging());
        EXPECT_EQ(TreeInvariants::Check(*w.Src), QString());
        EXPECT_EQ(TreeInvariants::Check(*w.Dst), QString());
    }
}

TEST(DragAndDrop, ACopyThatReportsAMoveDeletesTheSourceRowsOnRequest)
{
    for (bool autoDelete : {true, false}) {
        SCOPED_TRACE(autoDelete ? "auto delete" : "kept");
        DragWindow w;
        auto& o = w.Src->TreeOptions();
        o.SetAutoOptions(autoDelete ? o.AutoOptions() | toAutoDeleteMovedNodes : o.AutoOptions() & ~toAutoDeleteMovedNodes);
        w.Dst->OnDragOver = [](TBaseNodeTree*, QObject*, platform::TShiftState, TDragState, QPoint, TTVDropMode,
                               int& effect, bool& allowed) {
            effect = DROPEFFECT_MOVE;
            allowed = true;
        };
        // The application copies the nodes itself and answers a move: the source then deletes them.
        w.Dst->OnDragDrop = [](TBaseNodeTree* t, QObject*, const TDataObjectPtr& data, const std::vector<TClipFormat>&,
                               platform::TShiftState, QPoint, int& effect, TTVDropMode) {
            t->ProcessOLEData(nullptr, data, nullptr, amAddChildLast, false);
            effect = DROPEFFECT_MOVE;
        };
        w.Drag(w.SrcRows[0], w.RowCentre(w.Dst, w.DstRows[0]));
        EXPECT_EQ(w.Src->LastDragEffect(), DROPEFFECT_MOVE);
        EXPECT_EQ(Values(*w.Dst), (std::vector<uint32_t>{10, 1}));
        EXPECT_EQ(Values(*w.Src), (autoDelete ? std::vector<uint32_t>{2, 3} : std::vector<uint32_t>{1, 2, 3}));
    }
}

TEST(DragAndDrop, PressAndReleaseWithoutMovingStartsNoDrag)
{
    DragWindow w;
    const QPoint p = w.RowCentre(w.Src, w.SrcRows[0]);
    QTest::mousePress(w.Src->viewport(), Qt::LeftButton, {}, p);
    EXPECT_TRUE(w.Src->HasState(tsOLEDragPending));
    EXPECT_TRUE(w.Src->Dragging());
    QTest::mouseRelease(w.Src->viewport(), Qt::LeftButton, {}, p);
    EXPECT_FALSE(w.Src->Dragging());
    EXPECT_EQ(w.Src->LastDragEffect(), DROPEFFECT_NONE);
}

// Plain drags (dtVCL): the platform's drag between controls, not Qt's drag and drop.
TEST(PlainDrag, RowsGoFromOneTreeToAnotherByTheControlsOwnDrag)
{
    enum Ending { Drop, Refused, Escape, Click };
    struct Case {
        const char* name;
        Ending ending;
        std::vector<TDragState> states;
        std::vector<uint32_t> src, dst;
    };
    const Case cases[] = {
        // The target hears of the enter, the moves and the leave, then of the drop.
        {"dropped", Drop, {dsDragEnter, dsDragMove, dsDragLeave}, {1, 3}, {10, 2}},
        {"refused by the target", Refused, {dsDragEnter, dsDragMove, dsDragLeave}, {1, 2, 3}, {10}},
        {"given up with Escape", Escape, {dsDragEnter, dsDragMove, dsDragLeave}, {1, 2, 3}, {10}},
        // Pressed and let go without moving: no drag, just a click.
        {"a click", Click, {}, {1, 2, 3}, {10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DragWindow w;
        w.Src->SetDragType(dtVCL);
        std::vector<TDragState> states;
        int drops = 0;
        w.Dst->OnDragOver = [&](TBaseNodeTree*, QObject* source, platform::TShiftState, TDragState state, QPoint,
                                TTVDropMode, int&, bool& allowed) {
            EXPECT_EQ(source, w.Src);
            states.push_back(state);
            allowed = c.ending != Refused;
        };
        w.Dst->OnDragDrop = [&](TBaseNodeTree* t, QObject* source, const TDataObjectPtr& data,
                                const std::vector<TClipFormat>& formats, platform::TShiftState shift, QPoint,
                                int& effect, TTVDropMode mode) {
            ++drops;
            // No data object travels: the application moves the source's rows itself.
            EXPECT_EQ(source, w.Src);
            EXPECT_EQ(data, nullptr);
            EXPECT_TRUE(formats.empty());
            EXPECT_EQ(effect, DROPEFFECT_COPY) << "from another control a copy is suggested";
            EXPECT_TRUE(shift & platform::ssLeft);
            EXPECT_EQ(mode, ModeAt(*w.Dst, w.RowCentre(w.Dst, w.DstRows[0])));
            ASSERT_EQ(t->DropTargetNode(), w.DstRows[0]);
            for (PTreeNode n : w.Src->GetSortedSelection(true))
                w.Src->MoveTo(n, t->DropTargetNode(), amInsertAfter, false);
        };
        QWindow* win = w.Window.windowHandle();
        const QPoint start = w.Src->viewport()->mapTo(&w.Window, w.RowCentre(w.Src, w.SrcRows[1]));
        const QPoint over = w.Dst->viewport()->mapTo(&w.Window, w.RowCentre(w.Dst, w.DstRows[0]));
        QTest::mousePress(win, Qt::LeftButton, {}, start);
        EXPECT_TRUE(w.Src->HasState(tsVCLDragPending));
        if (c.ending == Click) {
            QTest::mouseRelease(win, Qt::LeftButton, {}, start);
        } else {
            QTest::mouseMove(win, start + QPoint(30, 0));
            // Still over the source: the drag has begun there.
            EXPECT_TRUE(w.Src->HasState(tsVCLDragging));
            EXPECT_FALSE(w.Src->HasState(tsVCLDragPending));
            EXPECT_TRUE(w.Src->Dragging());
            QTest::mouseMove(win, over - QPoint(0, 2));
            QTest::mouseMove(win, over);
            EXPECT_TRUE(w.Dst->HasState(tsVCLDragging));
            EXPECT_EQ(w.Dst->DropTargetNode(), w.DstRows[0]);
            EXPECT_TRUE(w.Src->HasState(tsVCLDragFinished)) << "the drag left the source";
            if (c.ending == Escape)
                QTest::keyClick(w.Src, Qt::Key_Escape);
            QTest::mouseRelease(win, Qt::LeftButton, {}, over);
        }
        EXPECT_EQ(states, c.states);
        EXPECT_EQ(drops, c.ending == Drop ? 1 : 0);
        EXPECT_EQ(Values(*w.Src), c.src);
        EXPECT_EQ(Values(*w.Dst), c.dst);
        // Both trees are idle again: no drag state, no target, no button held.
        for (DataTree* t : {w.Src, w.Dst}) {
            EXPECT_FALSE(t->Dragging());
            EXPECT_EQ(t->DropTargetNode(), nullptr);
            for (TNodeTreeState s : {tsVCLDragPending, tsVCLDragging, tsLeftButtonDown, tsClearPending})
                EXPECT_FALSE(t->HasState(s)) << (t == w.Src ? "source " : "target ") << int(s);
        }
        EXPECT_FALSE(w.Src->HasState(tsVCLDragFinished));
        if (c.ending == Click)
            EXPECT_EQ(w.Src->GetSortedSelection(false), TNodeArray{w.SrcRows[1]});
        EXPECT_EQ(TreeInvariants::Check(*w.Src), QString());
        EXPECT_EQ(TreeInvariants::Check(*w.Dst), QString());
    }
}

TEST(PlainDrag, WithinOneTreeAMoveIsSuggested)
{
    DragWindow w;
    w.Src->SetDragType(dtVCL);
    w.Src->OnDragOver = [](TBaseNodeTree*, QObject*, platform::TShiftState, TDragState, QPoint, TTVDropMode, int&,
                           bool& allowed) { allowed = true; };
    int effectSeen = DROPEFFECT_NONE;
    w.Src->OnDragDrop = [&](TBaseNodeTree* t, QObject* source, const TDataObjectPtr&, const std::vector<TClipFormat>&,
                            platform::TShiftState, QPoint, int& effect, TTVDropMode) {
        EXPECT_EQ(source, t);
        effectSeen = effect;
        PTreeNode target = t->DropTargetNode();
        ASSERT_NE(target, nullptr);
        for (PTreeNode n : t->GetSortedSelection(true))
            t->MoveTo(n, target, amInsertAfter, false);
    };
    QWindow* win = w.Window.windowHandle();
    const QPoint start = w.Src->viewport()->mapTo(&w.Window, w.RowCentre(w.Src, w.SrcRows[0]));
    const QPoint over = w.Src->viewport()->mapTo(&w.Window, w.RowCentre(w.Src, w.SrcRows[2]));
    QTest::mousePress(win, Qt::LeftButton, {}, start);
    QTest::mouseMove(win, start + QPoint(0, 12));
    QTest::mouseMove(win, over);
    EXPECT_EQ(w.Src->DropTargetNode(), w.SrcRows[2]);
    QTest::mouseRelease(win, Qt::LeftButton, {}, over);
    EXPECT_EQ(effectSeen, DROPEFFECT_MOVE);
    EXPECT_EQ(Values(*w.Src), (std::vector<uint32_t>{2, 3, 1}));
    EXPECT_FALSE(w.Src->Dragging());
    for (TNodeTreeState s : {tsVCLDragPending, tsVCLDragging, tsVCLDragFinished, tsLeftButtonDown})
        EXPECT_FALSE(w.Src->HasState(s)) << int(s);
    EXPECT_EQ(TreeInvariants::Check(*w.Src), QString());
}
