// The time picker drop-down: its text, parsing of typed times, stepping with the arrow keys, and
// picking on the watch in the open drop-down with the mouse and keys.
#include "DropDownTestUtil.h"
#include "controls/dropdowns/TimePickerDropDown.h"

#include "support/FakeClock.h"
#include "support/GoldenImage.h"

#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace dropdowns;
using namespace platform;

namespace {


std::string Hms(TDateTime t)
{
    const TTimeParts p = DecodeTime(t);
    return QStringLiteral("%1:%2:%3")
        .arg(p.Hour, 2, 10, QChar('0'))
        .arg(p.Minute, 2, 10, QChar('0'))
        .arg(p.Second, 2, 10, QChar('0'))
        .toStdString();
}

std::string Text(const TExtTimePickerDropDown* picker) { return picker->Text().toStdString(); }

class TimePickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.resize(300, 200);
        auto* layout = new QVBoxLayout(&host);
        picker = new TExtTimePickerDropDown(&host);
        layout->addWidget(picker);
        layout->addStretch();
        picker->OnTimeChange = [this] { ++timeChanges; };
        picker->SetAnimation(false);
        host.show();
        host.activateWindow();
        picker->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    void Open()
    {
        QTest::mouseClick(picker->Button(), Qt::LeftButton);
        ASSERT_TRUE(picker->DroppedDown());
    }
    QWidget* Form() { return picker->DropDownForm(); }
    void FormKey(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(Form(), key, mods); }

    FakeClock clock;
    QWidget host;
    TExtTimePickerDropDown* picker = nullptr;
    int timeChanges = 0;
};

}  // namespace

TEST_F(TimePickerTest, StartsPickOnlyAtMidnightWithSeconds)
{
    EXPECT_EQ(Text(picker), "00:00:00");
    EXPECT_FALSE(picker->EditorEnabled());
    EXPECT_TRUE(picker->DropDownEnabled());
    EXPECT_TRUE(picker->ShowSeconds());
    EXPECT_EQ(picker->Time(), 0.0);
    // Typing does nothing in a pick-only edit.
    QTest::keyClicks(picker, "12");
    EXPECT_EQ(Text(picker), "00:00:00");
}

TEST_F(TimePickerTest, ShowSecondsRewritesTheTextAndKeepsTheSeconds)
{
    picker->SetTime(T(10, 20, 30));
    EXPECT_EQ(Text(picker), "10:20:30");
    picker->SetShowSeconds(false);
    EXPECT_EQ(Text(picker), "10:20");
    picker->SetShowSeconds(true);
    EXPECT_EQ(Text(picker), "10:20:30");
    EXPECT_EQ(Hms(picker->Time()), "10:20:30");
    EXPECT_EQ(timeChanges, 0);
}

TEST_F(TimePickerTest, TypedTextIsParsedOnlyWhenItHasTheShape)
{
    picker->SetEditorEnabled(true);
    struct Case {
        bool seconds;
        const char* text;
        const char* expected;  // the time afterwards; it starts at 07:07:00
    };
    const Case cases[] = {
        {false, "09:05", "09:05:00"},
        {false, "23:59", "23:59:00"},
        {false, "25:00", "07:07:00"},  // out of range: kept, nothing raised
        {false, "12:61", "07:07:00"},
        {false, "9:05", "07:07:00"},  // four characters
        {false, "", "07:07:00"},
        {false, "-", "07:07:00"},
        {true, "09:05:30", "09:05:30"},
        {true, "09:05", "07:07:00"},
        {true, "24:00:00", "07:07:00"},
        {true, "09:5x:00", "07:07:00"},
    };
    for (const Case& c : cases) {
        picker->SetShowSeconds(c.seconds);
        picker->SetTime(T(7, 7, 0));
        picker->setInputMask(QString());  // the text as typed, whatever its shape
        picker->selectAll();
        QTest::keyClick(picker, Qt::Key_Delete);
        QTest::keyClicks(picker, c.text);
        EXPECT_EQ(Hms(picker->Time()), c.expected) << c.text;
    }
    EXPECT_EQ(timeChanges, 0);
}

TEST_F(TimePickerTest, TypingIntoTheMaskSetsTheTime)
{
    picker->SetEditorEnabled(true);
    picker->SetShowSeconds(false);
    picker->setCursorPosition(0);
    QTest::keyClicks(picker, "0905");
    EXPECT_EQ(Text(picker), "09:05");
    EXPECT_EQ(Hms(picker->Time()), "09:05:00");
    EXPECT_EQ(timeChanges, 0);
    // A blank hour digit leaves four characters: not taken.
    picker->setCursorPosition(0);
    QTest::keyClick(picker, Qt::Key_Space);
    QTest::keyClicks(picker, "7");
    EXPECT_EQ(picker->displayText(), " 7:05");
    EXPECT_EQ(Hms(picker->Time()), "09:05:00");
}

TEST_F(TimePickerTest, ArrowKeysStepThePartUnderTheCaretWithWrapAround)
{
    picker->SetEditorEnabled(true);
    struct Case {
        TDateTime start;
        int caret;
        Qt::Key key;
        const char* expected;
    };
    const Case cases[] = {
        {T(23, 59, 58), 7, Qt::Key_Down, "23:59:59"},
        {T(23, 59, 59), 7, Qt::Key_Down, "23:59:00"},  // only the stepped part wraps
        {T(0, 10, 0), 0, Qt::Key_Up, "23:10:00"},
        {T(12, 0, 0), 3, Qt::Key_Up, "12:59:00"},
        {T(12, 30, 0), 4, Qt::Key_Down, "12:31:00"},
    };
    for (const Case& c : cases) {
        picker->SetTime(c.start);
        picker->setCursorPosition(c.caret);
        timeChanges = 0;
        QTest::keyClick(picker, c.key);
        EXPECT_EQ(Hms(picker->Time()), c.expected) << Hms(c.start) << " caret " << c.caret;
        EXPECT_EQ(Text(picker), c.expected);
        EXPECT_EQ(picker->cursorPosition(), c.caret);
        EXPECT_EQ(timeChanges, 1);
    }
    // Without seconds the part after the second separator is the minute's.
    picker->SetShowSeconds(false);
    picker->SetTime(T(8, 0));
    picker->setCursorPosition(4);
    QTest::keyClick(picker, Qt::Key_Up);
    EXPECT_EQ(Text(picker), "08:59");
    // Alt+Down opens instead of stepping.
    QTest::keyClick(picker, Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(picker->DroppedDown());
    EXPECT_EQ(Text(picker), "08:59");
}

TEST_F(TimePickerTest, OpeningLoadsTheWatchAndClosingTakesItsTime)
{
    picker->SetTime(T(9, 15));
    picker->WatchAppearance().SetBackgroundColor(clYellow);
    picker->SetShowWatchNumbers(false);
    QTest::keyClick(picker, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(picker->DroppedDown());
    TExtWatch* watch = picker->Watch();
    ASSERT_NE(watch, nullptr);
    EXPECT_EQ(Hms(watch->Time()), "09:15:00");
    EXPECT_EQ(watch->Appearance().BackgroundColor(), clYellow);
    EXPECT_FALSE(watch->ShowNumbers());
    EXPECT_EQ(watch->size(), QSize(170, 170));

    // Keys on the form: Right and Page Up go to the watch; Enter closes and keeps.
    FormKey(Qt::Key_Right);
    FormKey(Qt::Key_PageUp);
    EXPECT_EQ(Hms(watch->Time()), "10:16:00");
    EXPECT_EQ(Hms(picker->Time()), "10:16:00");  // the watch's change reaches Time at once
    FormKey(Qt::Key_Return);
    EXPECT_FALSE(picker->DroppedDown());
    EXPECT_EQ(Text(picker), "10:16:00");
    EXPECT_EQ(Hms(picker->Time()), "10:16:00");
}

TEST_F(TimePickerTest, ClickOnTheWatchPicksAndEscapeRestoresTextAndTime)
{
    picker->SetTime(T(14, 40));
    Open();
    TExtWatch* watch = picker->Watch();
    // 3 o'clock outside the circle sets the minute; inside, the hour (PM half kept).
    const QPoint c = watch->GetCenter();
    QTest::mouseClick(watch->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(watch->width() - 2, c.y()));
    QTest::mouseClick(watch->viewport(), Qt::LeftButton, Qt::NoModifier, c + QPoint(0, 40));
    EXPECT_EQ(Hms(picker->Time()), "18:15:00");
    EXPECT_EQ(Text(picker), "18:15:00");
    FormKey(Qt::Key_Escape);
    EXPECT_FALSE(picker->DroppedDown());
    EXPECT_EQ(Text(picker), "14:40:00");
    EXPECT_EQ(Hms(picker->Time()), "14:40:00");
    // The next opening shows the restored time.
    Open();
    EXPECT_EQ(Hms(picker->Watch()->Time()), "14:40:00");
    FormKey(Qt::Key_Escape);
}

TEST_F(TimePickerTest, WatchAnimationRunsOnTheClockWhileOpen)
{
    picker->SetAnimation(true);
    picker->SetAnimationFactor(0);  // a divisor: taken as 1
    EXPECT_EQ(picker->AnimationFactor(), 1);
    picker->SetTime(T(6, 0));
    Open();
    FormKey(Qt::Key_End);
    FormKey(Qt::Key_PageDown);
    EXPECT_EQ(Hms(picker->Time()), "06:00:00");
    clock.Advance(5);
    EXPECT_EQ(Hms(picker->Time()), "05:00:00");
    FormKey(Qt::Key_Return);
}

TEST_F(TimePickerTest, TimePickerBelowTheWatchFollowsIt)
{
    picker->SetShowTimePicker(true);
    picker->SetShowSeconds(false);
    picker->SetTime(T(11, 5));
    Open();
    QTimeEdit* edit = picker->TimePicker();
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->displayFormat(), "HH:mm");
    EXPECT_EQ(edit->time(), QTime(11, 5));
    EXPECT_EQ(picker->Panel()->height(), edit->sizeHint().height() + 170);

    // The watch moves the picker and tells OnTimeChange; the picker moves the watch.
    FormKey(Qt::Key_Right);
    EXPECT_EQ(edit->time(), QTime(11, 6));
    EXPECT_EQ(timeChanges, 1);
    edit->setTime(QTime(20, 30));
    EXPECT_EQ(Hms(picker->Watch()->Time()), "20:30:00");
    FormKey(Qt::Key_Return);
    EXPECT_EQ(Text(picker), "20:30");

    // Without ShowTimePicker the picker made before stays hidden.
    picker->SetShowTimePicker(false);
    Open();
    EXPECT_FALSE(edit->isVisible());
    FormKey(Qt::Key_Escape);
}

TEST_F(TimePickerTest, TheFormKeepsTheSizeItWasLeftAt)
{
    Open();
    Form()->resize(230, 240);
    FormKey(Qt::Key_Return);
    Open();
    EXPECT_EQ(Form()->size(), QSize(230, 240));
    FormKey(Qt::Key_Escape);
}

TEST_F(TimePickerTest, ComponentStyleColoursTheWatch)
{
    // The default style is applied to the watch look too.
    EXPECT_EQ(picker->WatchAppearance().BackgroundColor(), 0xFFEFE3u);
    picker->SetComponentStyle(controls::tsWindows7);
    EXPECT_EQ(picker->WatchAppearance().BackgroundColorTo(), 0xFDF3EBu);
    Open();
    EXPECT_EQ(picker->Watch()->Appearance().BorderColor(), 0xFBD6B8u);
    FormKey(Qt::Key_Escape);
}

TEST_F(TimePickerTest, OpenInTheDefaultLook)
{
    picker->SetTime(T(10, 10));
    Open();
    const QImage img = Form()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(testsupport::MatchesGolden(img, TEST_DATA_DIR "/timepicker_open.png"));
    FormKey(Qt::Key_Escape);
}
