// What the grid, the tree and the drop-downs stand on: partial repaint, scrolling, the tracked
// mouse, keys on request, hints by position, the editor host, the popup window and the paint guard.
#include "platform/EditorHost.h"
#include "platform/Exception.h"
#include "platform/PopupWindow.h"
#include "platform/TCustomControl.h"
#include "support/ScriptedMessages.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextDocumentFragment>
#include <QWheelEvent>
#include <QToolTip>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace platform;

namespace {

constexpr int LineHeight = 10;

// The colour of line n of the sheet's picture.
QRgb LineColour(int n) { return qRgb((n * 37) % 256, (n * 91) % 256, 255 - (n * 53) % 256); }

// A sheet of 100 coloured lines of 10 pixels, scrolled by whole lines; it logs every handler.
class Sheet : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<std::string> log;
    std::vector<QRegion> painted;
    std::vector<QRect> clips;
    QString failure;  // thrown by Paint when set
    bool swallowKeys = false;
    bool noChars = false;

    int FirstLine() const { return ScrollPos(sbVertical); }

protected:
    void Paint() override
    {
        painted.push_back(UpdateRegion());
        clips.push_back(Canvas().ClipRect());
        if (!failure.isEmpty())
            throw Exception(failure);
        const QRect r = Canvas().ClipRect();
        for (int y = r.top() / LineHeight * LineHeight; y <= r.bottom(); y += LineHeight) {
            Canvas().Brush.Color = FromQColor(QColor(LineColour(FirstLine() + y / LineHeight)));
            Canvas().FillRect(QRect(0, y, ClientWidth(), LineHeight));
        }
    }
    void MouseMove(TShiftState s, int x, int y) override
    {
        log.push_back("move " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseEnter() override { log.push_back("enter"); }
    void MouseLeave() override { log.push_back("leave"); }
    void KeyDown(int& key, TShiftState) override
    {
        log.push_back("keydown " + std::to_string(key));
        if (swallowKeys)
            key = 0;
    }
    void KeyPress(QChar& ch) override { log.push_back(std::string("press ") + char(ch.unicode())); }
    unsigned GetDlgCode() override { return TCustomControl::GetDlgCode() & ~(noChars ? DLGC_WANTCHARS : 0u); }
    void Scroll(TScrollBarKind bar, int code, int pos) override
    {
        log.push_back("scroll " + std::to_string(bar) + " " + std::to_string(code) + " " + std::to_string(pos));
        TCustomControl::Scroll(bar, code, pos);
    }
    THintInfo HintAt(const QPoint& pos) override
    {
        // One hint per 20-pixel cell of the first row; none below it.
        if (pos.y() >= 20)
            return {};
        const int cell = pos.x() / 20;
        return {QString("<b>Cell %1</b>").arg(cell), QRect(cell * 20, 0, 20, 20)};
    }
    QCursor CursorAt(int x, int) override { return x < 5 ? QCursor(Qt::SizeHorCursor) : Cursor(); }
    bool MouseWheel(TShiftState, int delta, int x, int y) override
    {
        log.push_back("wheel " + std::to_string(delta) + " " + std::to_string(x) + "," + std::to_string(y));
        return false;
    }
};

// A window with the sheet and an edit to take the focus from it.
class ControlBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(300, 200);
        sheet = new Sheet(window.get());
        sheet->SetBounds(10, 10, 120, 100);
        sheet->SetTabStop(true);
        sheet->SetOpaque(true);
        other = new QLineEdit(window.get());
        other->setGeometry(150, 10, 100, 20);
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        sheet->setFocus();
        // The test library remembers pressed buttons across tests; start with none held.
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
            if (QGuiApplication::mouseButtons() & b)
                QTest::mouseRelease(window->windowHandle(), b, Qt::NoModifier, QPoint(295, 195));
        Settle();
    }
    void TearDown() override { QToolTip::hideText(); }

    // Lets every pending paint happen and forgets what was logged.
    void Settle()
    {
        QApplication::processEvents();
        sheet->log.clear();
        sheet->painted.clear();
        sheet->clips.clear();
    }
    // What the screen shows of the sheet's client area.
    QImage Screen() const
    {
        const QPoint at = sheet->Client()->mapTo(window.get(), QPoint(0, 0));
        return QGuiApplication::primaryScreen()
            ->grabWindow(window->winId(), at.x(), at.y(), sheet->ClientWidth(), sheet->ClientHeight())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    // Whether the screen shows the picture from line first on.
    void ExpectLinesFrom(int first)
    {
        const QImage shot = Screen();
        for (int line = 0; line < sheet->ClientHeight() / LineHeight; ++line)
            ASSERT_EQ(shot.pixel(3, line * LineHeight + 5), LineColour(first + line)) << "line " << line;
    }

    std::unique_ptr<QWidget> window;
    Sheet* sheet = nullptr;
    QLineEdit* other = nullptr;
};

}  // namespace

TEST_F(ControlBase, PartialInvalidateRepaintsOnlyItsRectangle)
{
    sheet->InvalidateRect(QRect(20, 30, 40, 10));
    QApplication::processEvents();
    ASSERT_EQ(sheet->painted.size(), 1u);
    EXPECT_EQ(sheet->painted[0], QRegion(20, 30, 40, 10));
    EXPECT_EQ(sheet->clips[0], QRect(20, 30, 40, 10)) << "the canvas clips to what is repainted";
}

TEST_F(ControlBase, LockedUpdatesAreGatheredAndPaintedOnceAtTheLastEnd)
{
    sheet->BeginUpdate();
    sheet->BeginUpdate();
    sheet->InvalidateRect(QRect(0, 0, 10, 10));
    sheet->InvalidateRect(QRect(50, 50, 10, 10));
    sheet->Repaint();
    sheet->EndUpdate();
    QApplication::processEvents();
    EXPECT_TRUE(sheet->painted.empty()) << "one EndUpdate of two keeps painting locked";

    sheet->EndUpdate();
    QApplication::processEvents();
    ASSERT_EQ(sheet->painted.size(), 1u);
    EXPECT_EQ(sheet->painted[0], QRegion(sheet->ClientRect())) << "the repaint asked for the whole control";

    sheet->EndUpdate();  // unbalanced: ignored
    EXPECT_EQ(sheet->UpdateCount(), 0);
    sheet->BeginUpdate();
    sheet->InvalidateRect(QRect(0, 0, 10, 10));
    sheet->InvalidateRect(QRect(50, 50, 10, 10));
    sheet->EndUpdate();
    QApplication::processEvents();
    ASSERT_EQ(sheet->painted.size(), 2u);
    EXPECT_EQ(sheet->painted[1], QRegion(0, 0, 10, 10) + QRegion(50, 50, 10, 10));
}

TEST_F(ControlBase, ScrollBarShowsOnlyWhenTheRangeExceedsThePage)
{
    sheet->SetScrollBars(ssVertical);
    sheet->SetScrollInfo(sbVertical, 0, 5, 10, 0);
    EXPECT_FALSE(sheet->verticalScrollBar()->isVisible());
    EXPECT_EQ(sheet->ClientWidth(), 120);

    sheet->SetScrollInfo(sbVertical, 0, 99, 10, 200);
    EXPECT_TRUE(sheet->verticalScrollBar()->isVisible());
    EXPECT_LT(sheet->ClientWidth(), 120);
    EXPECT_EQ(sheet->ScrollPos(sbVertical), 90) << "clamped to Max - Page + 1";
    EXPECT_EQ(sheet->SetScrollPos(sbVertical, -3), 0);

    sheet->SetScrollBars(ssHorizontal);
    EXPECT_FALSE(sheet->verticalScrollBar()->isVisible()) << "the style does not allow it";
    sheet->SetScrollBars(ssBoth);
    sheet->SetScrollInfo(sbVertical, 0, 5, 10, 0);
    sheet->SetScrollAlwaysVisible(sbVertical, true);
    EXPECT_TRUE(sheet->verticalScrollBar()->isVisible());
    EXPECT_FALSE(sheet->verticalScrollBar()->isEnabled()) << "shown, disabled, when nothing scrolls";
}

TEST(ControlClientArea, KnownBeforeTheControlIsShown)
{
    QWidget window;
    auto* control = new TCustomControl(&window);
    control->SetBounds(0, 0, 200, 100);
    EXPECT_EQ(control->ClientRect(), QRect(0, 0, 200, 100));
    control->SetScrollBars(ssBoth);
    control->SetScrollInfo(sbVertical, 0, 99, 10, 0);
    control->SetScrollInfo(sbHorizontal, 0, 999, 100, 0);
    const QSize hidden = control->ClientSize();
    EXPECT_LT(hidden.width(), 200);
    EXPECT_LT(hidden.height(), 100);
    window.show();
    EXPECT_EQ(control->Client()->size(), hidden) << "what the shown control lays out";
}

// A control that never scrolls is its own client area, with no child widget of its own. The first
// call for scroll bars gives it one, onto which what stood on the control moves in the same client
// coordinates, with the control's opacity and cursor; painting and the mouse then go through it.
TEST(ControlClientArea, ALightControlGetsItsClientAreaWhenItFirstAsksForScrollBars)
{
    QWidget window;
    window.resize(300, 200);
    auto* control = new Sheet(&window);
    control->SetBounds(10, 10, 120, 100);
    control->SetOpaque(true);
    control->SetCursor(QCursor(Qt::CrossCursor));
    auto* child = new QLineEdit(control);
    child->setGeometry(5, 6, 50, 20);
    window.show();
    EXPECT_FALSE(control->HasClientArea());
    EXPECT_EQ(control->Client(), control);
    EXPECT_EQ(control->findChildren<QWidget*>(), QList<QWidget*>{child}) << "no client area, no bars";

    control->SetScrollBars(ssVertical);
    ASSERT_TRUE(control->HasClientArea());
    QWidget* client = control->Client();
    EXPECT_EQ(client->parentWidget(), control);
    EXPECT_TRUE(client->isVisible());
    EXPECT_EQ(child->parentWidget(), client);
    EXPECT_EQ(child->geometry(), QRect(5, 6, 50, 20));
    EXPECT_TRUE(child->isVisible());
    EXPECT_TRUE(control->Opaque());
    EXPECT_EQ(client->cursor().shape(), Qt::CrossCursor);

    QApplication::processEvents();
    control->painted.clear();
    control->InvalidateRect(QRect(60, 30, 20, 10));
    QApplication::processEvents();
    ASSERT_EQ(control->painted.size(), 1u);
    EXPECT_EQ(control->painted[0], QRegion(60, 30, 20, 10));
    control->log.clear();
    QTest::mouseMove(client, QPoint(70, 40));
    ASSERT_FALSE(control->log.empty());
    EXPECT_EQ(control->log.back(), "move 0 70,40");
    // The mouse leaves, so that the next test's window finds it outside.
    QTest::mouseMove(&window, QPoint(290, 190));
}

// A framed control lays out its client area, its strip and its bars inside the frame, in either
// reading direction, and the frame's room comes back when it goes.
TEST(ControlClientArea, EverythingSitsInsideTheFrame)
{
    for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
        SCOPED_TRACE(direction == Qt::LeftToRight ? "left to right" : "right to left");
        QWidget window;
        auto* control = new TCustomControl(&window);
        control->setLayoutDirection(direction);
        control->SetBounds(0, 0, 200, 100);
        control->SetFrameWidths(QMargins(3, 4, 5, 6));
        control->SetNonClientTop(10);
        control->SetScrollBars(ssBoth);
        control->SetScrollInfo(sbVertical, 0, 99, 10, 0);
        control->SetScrollInfo(sbHorizontal, 0, 999, 100, 0);
        window.show();
        const QRect inner(3, 4, 192, 90);
        const QRect v = control->verticalScrollBar()->geometry();
        const QRect h = control->horizontalScrollBar()->geometry();
        EXPECT_TRUE(inner.contains(v) && inner.contains(h));
        EXPECT_EQ(v.top(), inner.top()) << "the vertical bar runs beside the strip";
        EXPECT_EQ(v.bottom(), h.top() - 1);
        EXPECT_EQ(direction == Qt::LeftToRight ? v.right() : v.left(),
                  direction == Qt::LeftToRight ? inner.right() : inner.left());
        EXPECT_EQ(control->ClientSize(), QSize(192 - v.width(), 90 - 10 - h.height()));
        EXPECT_EQ(control->Client()->geometry(),
                  QRect(direction == Qt::LeftToRight ? 3 : 3 + v.width(), 14, control->ClientWidth(),
                        control->ClientHeight()));
        EXPECT_EQ(control->NonClientStrip()->geometry(), QRect(control->Client()->x(), 4, control->ClientWidth(), 10));

        control->SetScrollBars(ssNone);
        control->SetFrameWidths(QMargins());
        EXPECT_EQ(control->ClientSize(), QSize(200, 90));
    }
}

TEST_F(ControlBase, ScrollingByALineMovesThePictureAndRepaintsOnlyTheNewLine)
{
    sheet->SetScrollBars(ssVertical);
    sheet->SetScrollUnit(sbVertical, LineHeight);
    sheet->SetScrollInfo(sbVertical, 0, 99, 10, 0);
    Settle();
    ExpectLinesFrom(0);

    sheet->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QApplication::processEvents();
    EXPECT_EQ(sheet->log, (std::vector<std::string>{"scroll 1 1 0", "scroll 1 8 1"}));
    EXPECT_EQ(sheet->FirstLine(), 1);
    EXPECT_EQ(sheet->verticalScrollBar()->value(), 1);
    ASSERT_EQ(sheet->painted.size(), 1u);
    EXPECT_EQ(sheet->painted[0], QRegion(0, 90, sheet->ClientWidth(), 10)) << "only the uncovered line";
    ExpectLinesFrom(1);

    sheet->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QApplication::processEvents();
    EXPECT_EQ(sheet->painted.back(), QRegion(0, 0, sheet->ClientWidth(), 10));
    ExpectLinesFrom(0);
}

TEST_F(ControlBase, PagesThumbAndEndsMoveByTheirAmount)
{
    sheet->SetScrollBars(ssVertical);
    sheet->SetScrollUnit(sbVertical, LineHeight);
    sheet->SetScrollInfo(sbVertical, 0, 99, 10, 0);
    Settle();
    QScrollBar* bar = sheet->verticalScrollBar();

    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QApplication::processEvents();
    EXPECT_EQ(sheet->FirstLine(), 10);
    ExpectLinesFrom(10);

    // A short step: lines 13 to 19 were on screen and move up, only three new lines are painted.
    sheet->ScrollTo(sbVertical, 13);
    Settle();
    ExpectLinesFrom(13);

    bar->setSliderPosition(40);  // dragging the thumb
    QApplication::processEvents();
    EXPECT_EQ(sheet->log.back(), "scroll 1 5 40");
    EXPECT_EQ(sheet->GetScrollInfo(sbVertical).TrackPos, 40);
    ExpectLinesFrom(40);

    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    QApplication::processEvents();
    EXPECT_EQ(sheet->FirstLine(), 90);
    ExpectLinesFrom(90);
    EXPECT_FALSE(sheet->ScrollTo(sbVertical, 95)) << "past the end nothing moves";
}

TEST_F(ControlBase, AControlThatScrollsItsOwnWayKeepsTheBarWhereItLeftIt)
{
    // Lines step by whole pages, and the thumb moves the picture only once it is let go, as a
    // grid without synchronised scrolling does.
    class Pager : public Sheet {
    protected:
        void Scroll(TScrollBarKind bar, int code, int pos) override
        {
            if (code == SB_LINEDOWN)
                ScrollTo(bar, ScrollPos(bar) + 10);
            else if (code != SB_THUMBTRACK)
                Sheet::Scroll(bar, code, pos);
            else
                log.push_back("track " + std::to_string(pos));
        }
    };
    auto* pager = new Pager;
    pager->setParent(window.get());
    pager->SetBounds(10, 120, 100, 60);
    pager->SetScrollBars(ssVertical);
    pager->SetScrollInfo(sbVertical, 0, 99, 6, 0);
    pager->show();
    QScrollBar* bar = pager->verticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(pager->ScrollPos(sbVertical), 10);
    EXPECT_EQ(bar->value(), 10);

    pager->log.clear();
    bar->setSliderDown(true);
    bar->setSliderPosition(30);
    bar->setSliderPosition(50);
    EXPECT_EQ(pager->ScrollPos(sbVertical), 10) << "nothing moves while the thumb is dragged";
    EXPECT_EQ(bar->sliderPosition(), 50) << "the thumb stays under the hand";
    bar->setSliderDown(false);
    EXPECT_EQ(pager->ScrollPos(sbVertical), 50);
    EXPECT_EQ(bar->value(), 50);
    const std::vector<std::string> expected = {"track 30", "track 50", "scroll 1 4 50", "scroll 1 8 50"};
    EXPECT_EQ(pager->log, expected);
}

TEST_F(ControlBase, TrackedMouseBringsHoverLeaveAndCursorsByPosition)
{
    QWindow* win = window->windowHandle();
    const QPoint origin = sheet->Client()->mapTo(window.get(), QPoint(0, 0));
    QTest::mouseMove(win, origin + QPoint(40, 20));
    QTest::mouseMove(win, origin + QPoint(2, 30));
    EXPECT_EQ(sheet->Client()->cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(win, origin + QPoint(50, 30));
    EXPECT_EQ(sheet->Client()->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(win, QPoint(290, 190));
    const std::vector<std::string> expected = {"enter", "move 0 40,20", "move 0 2,30", "move 0 50,30", "leave"};
    EXPECT_EQ(sheet->log, expected);
    EXPECT_FALSE(sheet->MouseInClient());
}

TEST_F(ControlBase, CaptureKeepsTheMouseOutsideTheControl)
{
    QWindow* win = window->windowHandle();
    const QPoint origin = sheet->Client()->mapTo(window.get(), QPoint(0, 0));
    sheet->SetMouseCapture(true);
    EXPECT_TRUE(sheet->MouseCapture());
    QTest::mouseMove(win, origin + QPoint(200, 150));
    ASSERT_FALSE(sheet->log.empty());
    EXPECT_EQ(sheet->log.back(), "move 0 200,150");
    sheet->SetMouseCapture(false);
    EXPECT_FALSE(sheet->MouseCapture());
    sheet->log.clear();
    QTest::mouseMove(win, origin + QPoint(210, 160));
    EXPECT_EQ(std::count_if(sheet->log.begin(), sheet->log.end(), [](const std::string& s) { return s.rfind("move", 0) == 0; }), 0);
}

// A wheel turn the control does not use goes on to the parent, and reaches the control once.
TEST_F(ControlBase, UnusedWheelTurnReachesTheControlOnce)
{
    const QPoint at(30, 40);
    QWheelEvent wheel(at, sheet->Client()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(sheet->Client(), &wheel);
    EXPECT_EQ(sheet->log, std::vector<std::string>{"wheel 120 30,40"});
    EXPECT_FALSE(wheel.isAccepted());

    // Sent to the control itself, it reaches the client area at the same place.
    sheet->log.clear();
    QWheelEvent direct(at, sheet->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
    QApplication::sendEvent(sheet, &direct);
    EXPECT_EQ(sheet->log, std::vector<std::string>{"wheel -120 30,40"});
}

TEST_F(ControlBase, TabArrowsAndCharactersReachTheControlWhenAskedFor)
{
    struct Case {
        const char* name;
        bool wantTabs, wantArrows, noChars, swallow;
        Qt::Key key;
        std::vector<std::string> log;
        bool focusMoved;
    };
    const Case cases[] = {
        {"Tab moves the focus by default", false, true, false, false, Qt::Key_Tab, {}, true},
        {"Tab wanted and taken", true, true, false, true, Qt::Key_Tab, {"keydown 9"}, false},
        {"Tab wanted but left alone still moves the focus", true, true, false, false, Qt::Key_Tab,
         {"keydown 9", "press \t"}, true},
        {"Shift+Tab wanted", true, true, false, true, Qt::Key_Backtab, {"keydown 16", "keydown 9"}, false},
        {"arrows by default", false, true, false, true, Qt::Key_Down, {"keydown 40"}, false},
        {"arrows not wanted", false, false, false, true, Qt::Key_Down, {}, false},
        {"characters by default", false, true, false, false, Qt::Key_A, {"keydown 65", "press a"}, false},
        {"characters not wanted", false, true, true, false, Qt::Key_A, {"keydown 65"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sheet->SetWantTabs(c.wantTabs);
        sheet->SetWantArrows(c.wantArrows);
        sheet->noChars = c.noChars;
        sheet->swallowKeys = c.swallow;
        sheet->setFocus();
        ASSERT_TRUE(sheet->hasFocus());
        sheet->log.clear();
        QTest::keyPress(sheet, c.key, c.key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(sheet->log, c.log);
        EXPECT_EQ(!sheet->hasFocus(), c.focusMoved);
    }
}

TEST_F(ControlBase, HintForAPositionShowsItsTextAsPlainText)
{
    const QPoint at(45, 5);
    QHelpEvent help(QEvent::ToolTip, at, sheet->Client()->mapToGlobal(at));
    QApplication::sendEvent(sheet->Client(), &help);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QTextDocumentFragment::fromHtml(QToolTip::text()).toPlainText(), "<b>Cell 2</b>");

    // Through the control itself, as a tool tip event reaches it from a child.
    const QPoint second(5, 5);
    QHelpEvent viaControl(QEvent::ToolTip, second, sheet->mapToGlobal(second));
    QApplication::sendEvent(sheet, &viaControl);
    EXPECT_EQ(QTextDocumentFragment::fromHtml(QToolTip::text()).toPlainText(), "<b>Cell 0</b>");

    const QPoint empty(45, 50);
    QHelpEvent none(QEvent::ToolTip, empty, sheet->Client()->mapToGlobal(empty));
    QApplication::sendEvent(sheet->Client(), &none);
    EXPECT_FALSE(none.isAccepted()) << "no hint there";
}

namespace {

// The sheet with an edit laid over its second line.
class EditorHostTest : public ControlBase {
protected:
    void SetUp() override
    {
        ControlBase::SetUp();
        editor = new QLineEdit;
        host = &sheet->EditorHost();
        host->OnCommit = [this](QWidget* e) {
            committed.push_back(static_cast<QLineEdit*>(e)->text());
            return acceptCommit;
        };
        host->OnCancel = [this](QWidget*) { ++cancels; };
        host->Open(editor, QRect(20, 10, 60, 10));
        sheet->swallowKeys = true;
    }

    QLineEdit* editor = nullptr;
    TEditorHost* host = nullptr;
    std::vector<QString> committed;
    int cancels = 0;
    bool acceptCommit = true;
};

}  // namespace

TEST_F(EditorHostTest, EditorLiesOverItsRectangleWithTheFocus)
{
    EXPECT_EQ(editor->parentWidget(), sheet->Client());
    EXPECT_EQ(editor->geometry(), QRect(20, 10, 60, 10));
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_TRUE(host->Editing());
    sheet->ScrollBy(0, -10);
    EXPECT_EQ(editor->geometry(), QRect(20, 0, 60, 10)) << "the editor moves with the picture";
}

TEST_F(EditorHostTest, EnterTabAndFocusLossCommitEscapeCancels)
{
    struct Case {
        const char* name;
        std::function<void(QLineEdit*, QLineEdit*)> act;
        bool commits;
        std::vector<std::string> keys;  // what reached the control's KeyDown
    };
    const Case cases[] = {
        {"Enter", [](QLineEdit* e, QLineEdit*) { QTest::keyClick(e, Qt::Key_Return); }, true, {"keydown 13"}},
        {"Tab", [](QLineEdit* e, QLineEdit*) { QTest::keyClick(e, Qt::Key_Tab); }, true, {"keydown 9"}},
        {"focus loss", [](QLineEdit*, QLineEdit* o) { o->setFocus(); }, true, {}},
        {"Escape", [](QLineEdit* e, QLineEdit*) { QTest::keyClick(e, Qt::Key_Escape); }, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        committed.clear();
        cancels = 0;
        host->Open(editor, QRect(20, 10, 60, 10));
        editor->clear();
        QTest::keyClicks(editor, "42");
        sheet->log.clear();
        c.act(editor, other);
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(committed, c.commits ? std::vector<QString>{"42"} : std::vector<QString>{});
        EXPECT_EQ(cancels, c.commits ? 0 : 1);
        EXPECT_EQ(sheet->log, c.keys);
        if (std::string(c.name) != "focus loss") {
            EXPECT_TRUE(sheet->hasFocus()) << "the focus returns to the control";
        }
    }
}

TEST_F(EditorHostTest, RefusedCommitKeepsEditing)
{
    acceptCommit = false;
    QTest::keyClicks(editor, "x");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(committed, std::vector<QString>{"x"});
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_TRUE(sheet->log.empty()) << "Enter moves nowhere while the value is refused";

    // A refusal that takes the focus away (as a message box does) is asked once.
    committed.clear();
    host->OnCommit = [this](QWidget* e) {
        committed.push_back(static_cast<QLineEdit*>(e)->text());
        other->setFocus();
        return false;
    };
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(committed, std::vector<QString>{"x"});
    EXPECT_TRUE(host->Editing());
}

TEST_F(EditorHostTest, KeysTheEditorDoesNotWantGoToTheControlFirst)
{
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(sheet->log, std::vector<std::string>{"keydown 40"});
    EXPECT_TRUE(host->Editing());

    sheet->log.clear();
    QTest::keyClick(editor, Qt::Key_Left);
    EXPECT_TRUE(sheet->log.empty()) << "the editor keeps its own keys";

    // A key the control leaves alone reaches the editor.
    sheet->swallowKeys = false;
    host->EditorWantsKey = [](int key, TShiftState) { return key != 'A'; };
    QTest::keyClick(editor, Qt::Key_A);
    EXPECT_EQ(sheet->log, std::vector<std::string>{"keydown 65"});
    EXPECT_EQ(editor->text(), "a");
}

TEST(PopupPlacement, StaysInsideTheWorkAreaOnBothAxes)
{
    const QRect work(0, 0, 800, 600);
    struct Case {
        const char* name;
        QRect anchor;
        QSize size;
        TPopupPlacement placement;
        QPoint topLeft;
    };
    const Case cases[] = {
        {"below when it fits", QRect(100, 100, 80, 20), QSize(150, 200), ppAuto, {100, 120}},
        {"above near the bottom", QRect(100, 500, 80, 20), QSize(150, 200), ppAuto, {100, 300}},
        {"below asked for, pushed up into the area", QRect(100, 500, 80, 20), QSize(150, 200), ppBelow, {100, 400}},
        {"above asked for near the top, pushed down", QRect(100, 50, 80, 20), QSize(150, 200), ppAbove, {100, 0}},
        {"right edge pulled in", QRect(700, 100, 80, 20), QSize(300, 100), ppAuto, {500, 120}},
        {"left of the area pushed in", QRect(-40, 100, 80, 20), QSize(100, 100), ppAuto, {0, 120}},
        {"no room either way: the larger side", QRect(100, 250, 80, 20), QSize(100, 400), ppAuto, {100, 200}},
        {"larger than the area keeps its corner inside", QRect(100, 100, 80, 20), QSize(900, 700), ppAuto, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlacePopup(c.anchor, c.size, work, c.placement), QRect(c.topLeft, c.size)) << c.name;
    EXPECT_EQ(PlacePopup(QRect(100, 100, 80, 20), QSize(50, 50), QRect(1000, 0, 800, 600), ppAuto).topLeft(),
              QPoint(1000, 120))
        << "a second screen's work area";
}

TEST_F(ControlBase, PopupLeavesTheOwnerActiveAndClosesOnAnOutsideClickOrEscape)
{
    std::vector<bool> closes;
    TPopupWindow popup(sheet);
    popup.resize(80, 40);
    popup.OnClose = [&](bool cancelled) { closes.push_back(cancelled); };
    const QRect anchor(sheet->mapToGlobal(QPoint(0, 0)), QSize(120, 20));

    popup.Popup(anchor, ppBelow);
    ASSERT_TRUE(popup.Open());
    EXPECT_EQ(popup.geometry(), PlacePopup(anchor, QSize(80, 40), WorkAreaAt(anchor.center()), ppBelow));
    EXPECT_EQ(QApplication::activeWindow(), window.get()) << "the owner's window stays active";

    const QPoint outside = window->mapFromGlobal(popup.geometry().bottomRight() + QPoint(20, 20));
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, outside);
    EXPECT_FALSE(popup.Open());
    EXPECT_EQ(closes, std::vector<bool>{true});

    popup.Popup(anchor);
    QTest::keyClick(&popup, Qt::Key_Escape);
    EXPECT_FALSE(popup.Open());
    popup.Popup(anchor);
    popup.ClosePopup(false);
    popup.ClosePopup(false);  // closed already: nothing fires
    EXPECT_EQ(closes, (std::vector<bool>{true, true, false}));
}

TEST_F(ControlBase, ErrorWhilePaintingIsReportedOnceAfterThePaint)
{
    ScriptedMessages messages;
    sheet->failure = "Cell 3 has no colour";
    const QImage shot = sheet->grab().toImage();
    EXPECT_TRUE(messages.Shown().empty()) << "no box inside the paint";
    EXPECT_EQ(shot.pixel(0, 0) | 0xFF000000, 0xFFFF0000u) << "the error mark";
    EXPECT_EQ(shot.pixel(sheet->ClientWidth() / 2, 5) | 0xFF000000, 0xFFFFFFFFu);

    QApplication::processEvents();
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].Text, "Cell 3 has no colour");
    EXPECT_EQ(messages.Shown()[0].Type, TMsgDlgType::mtError);

    sheet->grab();
    QApplication::processEvents();
    EXPECT_EQ(messages.Shown().size(), 1u) << "the same failure again is not reported again";

    sheet->failure.clear();
    sheet->grab();
    sheet->failure = "Cell 3 has no colour";
    sheet->grab();
    QApplication::processEvents();
    EXPECT_EQ(messages.Shown().size(), 2u) << "after a good paint a failure is new";
}

// Two controls side by side: the left one is dragged onto the right one.
class ControlDrag : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(300, 120);
        source = new Sheet(window.get());
        source->SetBounds(10, 10, 100, 100);
        target = new Sheet(window.get());
        target->SetBounds(150, 10, 100, 100);
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        source->OnEndDrag = [this](platform::TCustomControl* t, int x, int y) {
            ended.push_back({t, QPoint(x, y)});
        };
    }
    // Presses the left button in the source, moves to a point of the window and lets go there.
    void DragTo(const QPoint& inWindow)
    {
        QWindow* win = window->windowHandle();
        const QPoint start = source->Client()->mapTo(window.get(), QPoint(20, 20));
        QTest::mousePress(win, Qt::LeftButton, Qt::NoModifier, start);
        QTest::mouseMove(win, start + QPoint(30, 0));
        QTest::mouseMove(win, inWindow);
        QTest::mouseRelease(win, Qt::LeftButton, Qt::NoModifier, inWindow);
    }

    std::unique_ptr<QWidget> window;
    Sheet* source = nullptr;
    Sheet* target = nullptr;
    std::vector<std::pair<platform::TCustomControl*, QPoint>> ended;
};

TEST_F(ControlDrag, AutomaticDragDropsOntoAControlThatTakesIt)
{
    source->SetDragMode(platform::TDragMode::dmAutomatic);
    int starts = 0;
    source->OnStartDrag = [&] { ++starts; };
    std::vector<QPoint> dropped;
    target->OnDragOver = [&](platform::TCustomControl* from, int, int, bool& accept) { accept = from == source; };
    target->OnDragDrop = [&](platform::TCustomControl* from, int x, int y) {
        EXPECT_EQ(from, source);
        dropped.push_back(QPoint(x, y));
    };
    const QPoint over = target->Client()->mapTo(window.get(), QPoint(40, 30));
    DragTo(over);
    EXPECT_EQ(starts, 1);
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0], QPoint(40, 30));
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(ended[0].first, target);
    EXPECT_FALSE(source->Dragging());
}

TEST_F(ControlDrag, RefusedManualAndCancelledDragsDropNothing)
{
    int drops = 0;
    target->OnDragDrop = [&](platform::TCustomControl*, int, int) { ++drops; };
    const QPoint over = target->Client()->mapTo(window.get(), QPoint(40, 30));

    // Manual mode: pressing and moving starts nothing.
    DragTo(over);
    EXPECT_TRUE(ended.empty());

    // A target without OnDragOver takes nothing; the source hears of the end with no target.
    source->SetDragMode(platform::TDragMode::dmAutomatic);
    DragTo(over);
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(ended[0].first, nullptr);

    // A target that refuses.
    target->OnDragOver = [](platform::TCustomControl*, int, int, bool& accept) { accept = false; };
    DragTo(over);
    EXPECT_EQ(ended.size(), 2u);
    EXPECT_EQ(drops, 0);

    // Escape during a drag ends it without a drop.
    target->OnDragOver = [](platform::TCustomControl*, int, int, bool&) {};
    source->BeginDrag(true);
    EXPECT_TRUE(source->Dragging());
    source->setFocus();
    QTest::keyClick(source, Qt::Key_Escape);
    EXPECT_FALSE(source->Dragging());
    ASSERT_EQ(ended.size(), 3u);
    EXPECT_EQ(ended[2].first, nullptr);
    EXPECT_EQ(drops, 0);
}
