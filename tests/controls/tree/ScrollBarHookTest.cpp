#include "controls/tree/StringTree.h"
#include "controls/tree/TreeScrollBars.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace tree;

// A styled tree in a window: 200 rows, and a column wider than the tree when asked.
struct StyledTree {
    explicit StyledTree(bool wide = true)
    {
        Window.resize(260, 200);
        Tree = new TNodeStringTree(&Window);
        Tree->SetBounds(10, 10, 220, 160);
        if (wide) {
            Tree->Header().Columns().Add()->SetWidth(600);
            Tree->Header().SetOptions(Tree->Header().Options() | hoVisible);
        }
        Tree->SetRootNodeCount(200);
        Window.show();
        Settle();
        Hook = std::make_unique<TVclStyleScrollBarsHook>(Tree);
        Settle();
    }
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    QScrollBar* Vert() const { return Tree->verticalScrollBar(); }
    QScrollBar* Horz() const { return Tree->horizontalScrollBar(); }
    // A point of the tree's coordinates on the bar.
    QPoint OnBar(QScrollBar* bar, QPoint treePoint) const { return bar->mapFrom(Tree, treePoint); }
    // The mouse passes over the bar with no button held.
    static void Hover(QScrollBar* bar, QPoint p)
    {
        QMouseEvent move(QEvent::MouseMove, p, bar->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
    }

    QWidget Window;
    TNodeStringTree* Tree;
    std::unique_ptr<TVclStyleScrollBarsHook> Hook;
};

TEST(StyledScrollBars, OverlaysLieExactlyOverTheShownBars)
{
    StyledTree t;
    ASSERT_TRUE(t.Vert()->isVisible());
    ASSERT_TRUE(t.Horz()->isVisible());
    for (auto [bar, overlay] : {std::pair{t.Vert(), t.Hook->VertScrollBarWindow()}, {t.Horz(), t.Hook->HorzScrollBarWindow()}}) {
        EXPECT_TRUE(overlay->isVisible());
        EXPECT_EQ(overlay->geometry(), QRect(bar->mapTo(&t.Window, QPoint(0, 0)), bar->size()));
        EXPECT_TRUE(overlay->testAttribute(Qt::WA_TransparentForMouseEvents));
    }

    StyledTree narrow(false);
    ASSERT_TRUE(narrow.Vert()->isVisible());
    ASSERT_FALSE(narrow.Horz()->isVisible());
    EXPECT_TRUE(narrow.Hook->VertScrollBarWindow()->isVisible());
    EXPECT_FALSE(narrow.Hook->HorzScrollBarWindow()->isVisible());
    EXPECT_EQ(narrow.Hook->GetHorzThumbRect(), QRect());
}

TEST(StyledScrollBars, DraggingTheThumbDrivesTheTreeAndStopsAtTheLastPage)
{
    StyledTree t;
    const QRect thumb = t.Hook->GetVertThumbRect();
    ASSERT_FALSE(thumb.isEmpty());
    const QPoint grip = t.OnBar(t.Vert(), thumb.center());
    QTest::mousePress(t.Vert(), Qt::LeftButton, {}, grip);
    EXPECT_EQ(t.Hook->VertSliderState(), tsThumbBtnVertPressed);

    const platform::TScrollInfo info = t.Tree->GetScrollInfo(platform::sbVertical);
    QTest::mouseMove(t.Vert(), grip + QPoint(0, 10));
    StyledTree::Settle();
    const int afterStep = t.Tree->GetScrollInfo(platform::sbVertical).Pos;
    EXPECT_GT(afterStep, info.Pos);
    EXPECT_EQ(-t.Tree->OffsetY(), afterStep) << "the tree follows the thumb";

    // Far past the end: the last page, never beyond.
    QTest::mouseMove(t.Vert(), grip + QPoint(0, 5000));
    StyledTree::Settle();
    const platform::TScrollInfo end = t.Tree->GetScrollInfo(platform::sbVertical);
    EXPECT_EQ(end.Pos, end.Max - end.Page + 1);
    EXPECT_EQ(t.Tree->OffsetY(), -(end.Max - end.Page + 1));

    QTest::mouseRelease(t.Vert(), Qt::LeftButton, {}, grip + QPoint(0, 5000));
    StyledTree::Settle();
    EXPECT_EQ(t.Hook->VertSliderState(), tsThumbBtnVertNormal);
    EXPECT_FALSE(t.Tree->HasState(tsThumbTracking));
}

TEST(StyledScrollBars, AMoveByHalfTheTrackCoversHalfTheRange)
{
    StyledTree t;
    const QPoint grip = t.OnBar(t.Vert(), t.Hook->GetVertThumbRect().center());
    const int half = t.Hook->VertTrackRect().height() / 2;
    ASSERT_GT(half, 20);
    QTest::mousePress(t.Vert(), Qt::LeftButton, {}, grip);
    QTest::mouseMove(t.Vert(), grip + QPoint(0, half));
    StyledTree::Settle();
    const platform::TScrollInfo info = t.Tree->GetScrollInfo(platform::sbVertical);
    const double expected = double(half) / t.Hook->VertTrackRect().height() * (info.Max - info.Min);
    EXPECT_NEAR(info.Pos, expected, 1.0);
    QTest::mouseRelease(t.Vert(), Qt::LeftButton, {}, grip + QPoint(0, half));
}

TEST(StyledScrollBars, ADragPicksUpAScrollFromElsewhere)
{
    StyledTree t;
    const QPoint grip = t.OnBar(t.Vert(), t.Hook->GetVertThumbRect().center());
    QTest::mousePress(t.Vert(), Qt::LeftButton, {}, grip);
    QTest::mouseMove(t.Vert(), grip + QPoint(0, 5));
    StyledTree::Settle();
    const int dragged = t.Tree->GetScrollInfo(platform::sbVertical).Pos;
    // The bar is moved meanwhile from elsewhere.
    t.Tree->SetScrollPos(platform::sbVertical, dragged + 400);
    const int moved = t.Tree->GetScrollInfo(platform::sbVertical).Pos;
    ASSERT_EQ(moved, dragged + 400);
    QTest::mouseMove(t.Vert(), grip + QPoint(0, 6));
    StyledTree::Settle();
    const int next = t.Tree->GetScrollInfo(platform::sbVertical).Pos;
    EXPECT_GE(next, moved) << "the drag continues from where the tree is";
    EXPECT_LT(next, moved + 100);
    QTest::mouseRelease(t.Vert(), Qt::LeftButton, {}, grip + QPoint(0, 6));
}

TEST(StyledScrollBars, PartsTurnHotAndPressedAndBackToNormal)
{
    StyledTree t;
    QRect down = t.Hook->VertScrollBarRect();
    // The down arrow sits at the bar's bottom end.
    const QPoint arrow = t.OnBar(t.Vert(), QPoint(down.center().x(), down.bottom() - 2));
    StyledTree::Hover(t.Vert(), arrow);
    EXPECT_EQ(t.Hook->VertDownState(), tsArrowBtnDownHot);

    const int before = t.Tree->GetScrollInfo(platform::sbVertical).Pos;
    QTest::mousePress(t.Vert(), Qt::LeftButton, {}, arrow);
    EXPECT_EQ(t.Hook->VertDownState(), tsArrowBtnDownPressed);
    QTest::mouseRelease(t.Vert(), Qt::LeftButton, {}, arrow);
    StyledTree::Settle();
    EXPECT_GT(t.Tree->GetScrollInfo(platform::sbVertical).Pos, before) << "the bar underneath still scrolls";
    EXPECT_EQ(t.Hook->VertDownState(), tsArrowBtnDownHot);

    // Released away from the arrow: back to normal.
    QTest::mousePress(t.Vert(), Qt::LeftButton, {}, arrow);
    QTest::mouseRelease(t.Vert(), Qt::LeftButton, {}, QPoint(-50, -50));
    EXPECT_EQ(t.Hook->VertDownState(), tsArrowBtnDownNormal);

    StyledTree::Hover(t.Vert(), arrow);
    ASSERT_EQ(t.Hook->VertDownState(), tsArrowBtnDownHot);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(t.Vert(), &leave);
    EXPECT_EQ(t.Hook->VertDownState(), tsArrowBtnDownNormal);
}

}  // namespace

TEST(StyledScrollBars, TheHookGoesWithItsTreeOrTheWholeWindow)
{
    for (bool wholeWindow : {false, true}) {
        auto window = std::make_unique<QWidget>();
        window->resize(200, 200);
        auto* tree = new TNodeStringTree(window.get());
        tree->SetBounds(0, 0, 150, 150);
        tree->SetRootNodeCount(100);
        window->show();
        QApplication::processEvents();
        QPointer<TVclStyleScrollBarsHook> hook = new TVclStyleScrollBarsHook(tree);
        QPointer<QWidget> overlay = hook->VertScrollBarWindow();
        ASSERT_TRUE(overlay->isVisible());
        if (wholeWindow) {
            window.reset();
        } else {
            delete tree;
            EXPECT_TRUE(hook.isNull());
            EXPECT_TRUE(overlay.isNull()) << "the overlays leave with the tree";
        }
    }
}

namespace {

// A tree of a class that registered no hook.
class PlainTree : public TBaseNodeTree {};

struct SystemLookAfterwards {
    ~SystemLookAfterwards() { TStyleEngine::Instance().SetStyle(QString()); }
};

}  // namespace

TEST(StyledScrollBars, StringTreesGetTheHookOnlyOnceShownUnderACustomStyle)
{
    SystemLookAfterwards restore;
    TStyleEngine& engine = TStyleEngine::Instance();
    QWidget window;
    window.resize(460, 200);
    auto* tree = new TNodeStringTree(&window);
    tree->SetBounds(0, 0, 200, 150);
    tree->SetRootNodeCount(100);
    auto* other = new PlainTree;
    other->setParent(&window);
    other->SetBounds(220, 0, 200, 150);
    window.show();
    QApplication::processEvents();
    // The module's start-up registered the hook for the string and the draw tree.
    EXPECT_TRUE(engine.IsStyleHookRegistered("tree::TNodeStringTree"));
    EXPECT_TRUE(engine.IsStyleHookRegistered("tree::TNodeDrawTree"));

    // The system look: no hooks at all.
    EXPECT_FALSE(engine.IsCustomStyleActive());
    EXPECT_EQ(engine.HookOf(tree), nullptr);

    // A custom style: the string tree gets its hook with its overlays; the other class none.
    engine.SetStyle(QStringLiteral("Carbon"));
    auto* hook = qobject_cast<TVclStyleScrollBarsHook*>(engine.HookOf(tree));
    ASSERT_NE(hook, nullptr);
    QApplication::processEvents();
    EXPECT_TRUE(hook->VertScrollBarWindow()->isVisible());
    EXPECT_EQ(engine.HookOf(other), nullptr);

    // A tree made while the style is active gets its hook once shown, not before.
    auto* late = new TNodeStringTree;
    EXPECT_EQ(engine.HookOf(late), nullptr);
    late->setParent(&window);
    late->SetBounds(220, 160, 200, 30);
    late->show();
    QPointer<QObject> lateHook = engine.HookOf(late);
    EXPECT_NE(lateHook, nullptr);
    delete late;
    EXPECT_TRUE(lateHook.isNull()) << "the hook goes with its tree";

    // Back to the system look: the hook and its overlays go.
    QPointer<QObject> gone = hook;
    QPointer<QWidget> overlay = hook->VertScrollBarWindow();
    engine.SetStyle(QString());
    EXPECT_TRUE(gone.isNull());
    EXPECT_TRUE(overlay.isNull());
    EXPECT_EQ(engine.HookOf(tree), nullptr);

    // Another start-up of the module registers nothing twice; ending it keeps the first one's.
    InitializeStyleHooks();
    FinalizeStyleHooks();
    EXPECT_TRUE(engine.IsStyleHookRegistered("tree::TNodeStringTree"));

    // Without a registration no hook is made, even under a style.
    engine.UnRegisterStyleHook("tree::TNodeStringTree");
    engine.SetStyle(QStringLiteral("Carbon"));
    EXPECT_EQ(engine.HookOf(tree), nullptr);
    engine.RegisterStyleHook("tree::TNodeStringTree", [](TBaseNodeTree* t) -> QObject* { return new TVclStyleScrollBarsHook(t); });
    EXPECT_NE(engine.HookOf(tree), nullptr) << "a registration reaches trees shown already";
}
