// Qt events arrive at a custom control as the Windows-model handlers.
#include "platform/TCustomControl.h"
#include "support/FakeClock.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace platform;

namespace {

// Records every handler call as a line of text.
class Recorder : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<std::string> log;
    bool swallowKeys = false;
    bool doubleClicks = true;
    int killAfterTicks = 1;  // a timer kills itself on this tick (0: never)
    int ticks = 0;

    void SetDoubles(bool on) { SetDoubleClicks(on); }

protected:
    void Paint() override
    {
        Canvas().Brush.Color = clRed;
        Canvas().FillRect(Rect(0, 0, 5, 5));
        log.push_back("paint");
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        log.push_back("down " + std::to_string(b) + " " + std::to_string(s) + " " + std::to_string(x) + "," +
                      std::to_string(y));
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override
    {
        log.push_back("up " + std::to_string(b) + " " + std::to_string(s) + " " + std::to_string(x) + "," +
                      std::to_string(y));
    }
    void DblClick() override { log.push_back("dblclick"); }
    void KeyDown(int& key, TShiftState s) override
    {
        log.push_back("keydown " + std::to_string(key) + " " + std::to_string(s));
        if (swallowKeys)
            key = 0;
    }
    void KeyUp(int& key, TShiftState) override { log.push_back("keyup " + std::to_string(key)); }
    void KeyPress(QChar& ch) override { log.push_back(std::string("press ") + char(ch.unicode())); }
    void MouseEnter() override { log.push_back("enter"); }
    void MouseLeave() override { log.push_back("leave"); }
    void EnabledChanged() override { log.push_back(isEnabled() ? "enabled" : "disabled"); }
    void Resize() override { log.push_back("resize"); }
    void Timer(int id) override
    {
        log.push_back("timer " + std::to_string(id));
        if (++ticks == killAfterTicks)
            KillTimer(id);
    }
};

// A parent that records the keys that reach it.
class KeySink : public QWidget {
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* e) override { keys.push_back(e->key()); }
};

}  // namespace

TEST(VirtualKeys, FromQtKeys)
{
    struct Case {
        int qt;
        Qt::KeyboardModifiers mods;
        int vk;
    };
    const Case cases[] = {
        {Qt::Key_Return, Qt::NoModifier, VK_RETURN}, {Qt::Key_Enter, Qt::KeypadModifier, VK_RETURN},
        {Qt::Key_Escape, Qt::NoModifier, VK_ESCAPE}, {Qt::Key_Space, Qt::NoModifier, VK_SPACE},
        {Qt::Key_A, Qt::NoModifier, 'A'},           {Qt::Key_7, Qt::NoModifier, '7'},
        {Qt::Key_7, Qt::KeypadModifier, VK_NUMPAD0 + 7}, {Qt::Key_F2, Qt::NoModifier, VK_F2},
        {Qt::Key_Backtab, Qt::ShiftModifier, VK_TAB}, {Qt::Key_Delete, Qt::NoModifier, VK_DELETE},
        {Qt::Key_Down, Qt::NoModifier, VK_DOWN},     {Qt::Key_PageUp, Qt::NoModifier, VK_PRIOR},
        {Qt::Key_Plus, Qt::KeypadModifier, VK_ADD},  {Qt::Key_unknown, Qt::NoModifier, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VirtualKeyFromQt(c.qt, c.mods), c.vk) << c.qt;
    EXPECT_EQ(ShiftStateFromQt(Qt::ShiftModifier | Qt::ControlModifier, Qt::LeftButton), ssShift | ssCtrl | ssLeft);
}

class ControlFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        sink = std::make_unique<KeySink>();
        sink->resize(200, 100);
        control = new Recorder(sink.get());
        control->SetBounds(10, 10, 50, 30);
        control->SetTabStop(true);
        sink->show();
        QApplication::setActiveWindow(sink.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(sink.get()));
        control->setFocus();
        control->log.clear();
    }
    std::unique_ptr<KeySink> sink;
    Recorder* control = nullptr;
};

TEST_F(ControlFixture, MouseButtonsShiftAndPosition)
{
    QTest::mousePress(control, Qt::LeftButton, Qt::ShiftModifier, QPoint(3, 4));
    QTest::mouseRelease(control, Qt::LeftButton, Qt::ShiftModifier, QPoint(70, 5));
    QTest::mousePress(control, Qt::RightButton, {}, QPoint(1, 2));
    QTest::mouseRelease(control, Qt::RightButton, {}, QPoint(1, 2));
    const std::vector<std::string> expected = {
        "down 0 " + std::to_string(ssShift | ssLeft) + " 3,4",
        "up 0 " + std::to_string(ssShift) + " 70,5",
        "down 1 " + std::to_string(ssRight) + " 1,2",
        "up 1 0 1,2",
    };
    EXPECT_EQ(control->log, expected);
}

TEST_F(ControlFixture, DoubleClickWithAndWithoutDoubleClicks)
{
    QTest::mouseDClick(control, Qt::LeftButton, {}, QPoint(5, 5));
    const auto& log = control->log;
    ASSERT_GE(log.size(), 2u);
    EXPECT_NE(std::find(log.begin(), log.end(), "down 0 " + std::to_string(ssLeft | ssDouble) + " 5,5"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "dblclick"), log.end());

    control->log.clear();
    control->SetDoubles(false);
    QTest::mouseDClick(control, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(std::count(log.begin(), log.end(), "dblclick"), 0);
    EXPECT_NE(std::find(log.begin(), log.end(), "down 0 " + std::to_string(ssLeft) + " 5,5"), log.end());
}

TEST_F(ControlFixture, KeysLeftAloneGoOnToTheParent)
{
    QTest::keyClick(control, Qt::Key_Return);
    EXPECT_EQ(sink->keys, std::vector<int>{Qt::Key_Return});
    EXPECT_EQ(control->log.front(), "keydown 13 0");
    EXPECT_EQ(control->log.back(), "keyup 13");

    sink->keys.clear();
    control->swallowKeys = true;
    QTest::keyClick(control, Qt::Key_Return);
    EXPECT_TRUE(sink->keys.empty()) << "a key set to 0 is handled";
}

TEST_F(ControlFixture, CharactersFollowTheirKeyDown)
{
    QTest::keyClick(control, 'A', Qt::ShiftModifier);
    const auto& log = control->log;
    const auto down = std::find(log.begin(), log.end(), "keydown 65 " + std::to_string(ssShift));
    ASSERT_NE(down, log.end());
    ASSERT_NE(down + 1, log.end());
    EXPECT_EQ(*(down + 1), "press A");
}

TEST_F(ControlFixture, PaintEnabledSizeAndTimers)
{
    const QImage shot = control->grab().toImage();
    EXPECT_EQ(shot.pixel(2, 2) | 0xFF000000, 0xFFFF0000u);
    EXPECT_NE(std::find(control->log.begin(), control->log.end(), "paint"), control->log.end());
    control->log.clear();

    control->setEnabled(false);
    control->setEnabled(true);
    control->resize(60, 30);
    EXPECT_EQ(control->log, (std::vector<std::string>{"disabled", "enabled", "resize"}));

}

// Timers run on the platform clock and repeat, as window timers do, until killed.
TEST_F(ControlFixture, TimersRepeatOnTheClockUntilKilled)
{
    FakeClock clock;
    const auto fired = [&](int id) {
        return std::count(control->log.begin(), control->log.end(), "timer " + std::to_string(id));
    };
    control->log.clear();
    control->killAfterTicks = 3;
    control->SetTimer(7, 10);
    EXPECT_TRUE(control->TimerActive(7));
    clock.Advance(9);
    EXPECT_EQ(fired(7), 0);
    clock.Advance(1);
    EXPECT_EQ(fired(7), 1);
    clock.Advance(25);
    EXPECT_EQ(fired(7), 3) << "the third tick kills it";
    EXPECT_FALSE(control->TimerActive(7));
    clock.Advance(100);
    EXPECT_EQ(fired(7), 3);

    // Setting a running id again restarts it; killing an id leaves the others running.
    control->killAfterTicks = 0;
    control->SetTimer(1, 10);
    control->SetTimer(2, 10);
    clock.Advance(6);
    control->SetTimer(1, 10);
    clock.Advance(6);
    EXPECT_EQ(fired(1), 0);
    EXPECT_EQ(fired(2), 1);
    control->KillTimer(2);
    clock.Advance(20);
    EXPECT_EQ(fired(1), 2);
    EXPECT_EQ(fired(2), 1);
    control->KillTimer(1);
    EXPECT_EQ(clock.PendingCount(), 0);
}

TEST_F(ControlFixture, HintAndFocusPolicy)
{
    control->SetHint("<b>Aggiorna</b>");
    EXPECT_TRUE(control->toolTip().contains("&lt;b&gt;Aggiorna&lt;/b&gt;")) << "a hint shows as written";
    control->SetShowHint(false);
    EXPECT_TRUE(control->toolTip().isEmpty());
    EXPECT_EQ(control->Hint(), "<b>Aggiorna</b>");
    EXPECT_EQ(control->focusPolicy(), Qt::StrongFocus);
    control->SetTabStop(false);
    EXPECT_EQ(control->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(control->Visible());
    control->hide();
    EXPECT_FALSE(control->Visible());
}
