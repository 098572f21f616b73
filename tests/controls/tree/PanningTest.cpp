// Wheel panning with the middle button on the offscreen platform: the panning window, the
// scrolling that follows the mouse's distance from the start, the cursor per direction, and
// the clicks that end it.
#include "TreeFixture.h"
#include "support/FakeClock.h"

#include <QApplication>
#include <QTest>

using namespace treetest;

namespace {

// 100 rows of 18 pixels in a 200 x 150 tree; one column, 600 pixels wide when `wide` is set.
class PanningTree : public TBaseNodeTree {
public:
    explicit PanningTree(bool wide)
    {
        resize(200, 150);
        Header().Columns().Add()->SetWidth(wide ? 600 : 100);
        AddChildren(*this, nullptr, 100);
    }
    using TBaseNodeTree::PanningWindow;
};

// The panning scrolls once per tick of its timer.
constexpr int PanningTickMs = 20;


class PanningTest : public ::testing::Test {
protected:
    void Open(bool wide)
    {
        t = std::make_unique<PanningTree>(wide);
        t->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(t.get()));
        t->UpdateScrollBars(true);
        QApplication::processEvents();
    }
    QWidget* Client() { return t->viewport(); }
    bool Panning() { return t->TreeStates() & TS(tsWheelPanning, tsWheelScrolling); }
    // The cursor's picture, to compare with the module's panning cursors.
    QImage CursorImage() { return Client()->cursor().pixmap().toImage().convertToFormat(QImage::Format_ARGB32); }
    static QImage Expected(const char* name)
    {
        return InternalCursor(QString::fromLatin1(name)).Image.convertToFormat(QImage::Format_ARGB32);
    }
    // Moves the mouse to `to` (client coordinates) with the real cursor following.
    void MoveTo(QPoint to)
    {
        QCursor::setPos(Client()->mapToGlobal(to));
        QTest::mouseMove(Client(), to);
    }
    // Made before the tree, whose timers then run on it.
    FakeClock clock;
    std::unique_ptr<PanningTree> t;
    const QPoint start{100, 70};
};

TEST_F(PanningTest, AMiddleClickWithoutDragPansUntilTheNextClick)
{
    Open(true);
    PTreeNode focused = t->GetFirst();
    t->SetFocusedNode(focused);
    QTest::mouseClick(Client(), Qt::MiddleButton, {}, start);
    ASSERT_TRUE(Panning());
    EXPECT_TRUE(t->TimerRunning(TTreeTimer::Scroll));

    QWidget* window = t->PanningWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->objectName(), QStringLiteral("TVPanningWindow"));
    EXPECT_EQ(window->geometry(), QRect(Client()->mapToGlobal(start) - QPoint(16, 16), QSize(32, 32)));
    // Shaped to the glyph: the centre belongs to the window, the corners do not.
    EXPECT_TRUE(window->mask().contains(QPoint(16, 16)));
    EXPECT_FALSE(window->mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(window->mask().contains(QPoint(31, 31)));
    EXPECT_EQ(CursorImage(), Expected("TV_MOVEALL"));

    // The next press only ends the panning: the row under it is not focused.
    QTest::mouseClick(Client(), Qt::LeftButton, {}, QPoint(20, 9 + 18 * 2));
    EXPECT_FALSE(Panning());
    EXPECT_EQ(t->PanningWindow(), nullptr);
    EXPECT_FALSE(t->TimerRunning(TTreeTimer::Scroll));
    EXPECT_EQ(t->FocusedNode(), focused);
    EXPECT_NE(CursorImage(), Expected("TV_MOVEALL"));
}

TEST_F(PanningTest, NothingToPanInAContentThatFits)
{
    t = std::make_unique<PanningTree>(false);
    t->resize(200, 3000);
    t->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(t.get()));
    QTest::mouseClick(Client(), Qt::MiddleButton, {}, start);
    EXPECT_FALSE(Panning());
    EXPECT_EQ(t->PanningWindow(), nullptr);
}

TEST_F(PanningTest, EachTickScrollsByTheDistanceFromTheStart)
{
    const struct {
        const char* name;
        QPoint moved;
        QPoint scrolled;  // change of (OffsetX, OffsetY) per tick
    } cases[] = {
        {"down", {0, 48}, {0, -40}},
        {"up", {0, -30}, {0, 22}},
        {"right", {20, 0}, {-12, 0}},
        {"down and left", {-30, 30}, {22, -22}},
        {"inside the dead band", {6, -6}, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Open(true);
        t->SetOffsetXY(QPoint(-100, -500));
        const QPoint before(t->OffsetX(), t->OffsetY());
        QTest::mousePress(Client(), Qt::MiddleButton, {}, start);
        ASSERT_TRUE(Panning());
        MoveTo(start + c.moved);
        EXPECT_EQ(QPoint(t->OffsetX(), t->OffsetY()), before) << "nothing before the first tick";
        clock.Advance(PanningTickMs);
        EXPECT_EQ(QPoint(t->OffsetX(), t->OffsetY()) - before, c.scrolled);
        clock.Advance(PanningTickMs);
        EXPECT_EQ(QPoint(t->OffsetX(), t->OffsetY()) - before, c.scrolled * 2);
        // A drag ends with the release; a press that stayed put keeps panning.
        QTest::mouseRelease(Client(), Qt::MiddleButton, {}, start + c.moved);
        const bool dragged = std::max(std::abs(c.moved.x()), std::abs(c.moved.y())) >= QApplication::startDragDistance();
        EXPECT_EQ(Panning(), !dragged);
        EXPECT_EQ(t->PanningWindow() != nullptr, !dragged);
    }
}

TEST_F(PanningTest, AtTheEndOfTheContentATickScrollsNoFurther)
{
    Open(false);
    QTest::mousePress(Client(), Qt::MiddleButton, {}, start);
    MoveTo(start - QPoint(0, 40));
    clock.Advance(PanningTickMs);
    EXPECT_EQ(t->OffsetY(), 0);
    QTest::mouseRelease(Client(), Qt::MiddleButton, {}, start - QPoint(0, 40));
}

TEST_F(PanningTest, TheCursorPointsWhereTheContentMoves)
{
    const struct {
        bool wide;
        QPoint moved;
        const char* cursor;
    } cases[] = {
        {true, {0, 0}, "TV_MOVEALL"},  {true, {5, -7}, "TV_MOVEALL"}, {true, {8, 0}, "TV_MOVEALL"},
        {true, {20, 0}, "TV_MOVEE"},   {true, {-20, -20}, "TV_MOVENW"}, {true, {0, 20}, "TV_MOVES"},
        {true, {20, 30}, "TV_MOVESE"}, {false, {0, 0}, "TV_MOVENS"},  {false, {0, -20}, "TV_MOVEN"},
        {false, {20, 0}, "TV_MOVES"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cursor << " after " << c.moved.x() << "," << c.moved.y());
        Open(c.wide);
        t->SetOffsetY(-500);
        QTest::mouseClick(Client(), Qt::MiddleButton, {}, start);
        ASSERT_TRUE(Panning());
        MoveTo(start + c.moved);
        EXPECT_EQ(CursorImage(), Expected(c.cursor));
    }
}

}  // namespace
