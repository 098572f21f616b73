// The date and time pickers: fields stepped and typed with real keys, limits, the drop-down
// calendar, the date-and-time picker's time part, auto-tab and the caption label.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QLocale>
#include <QPainter>
#include <QTest>

#include "controls/dropdowns/EsgDateTimePicker.h"
#include "controls/dropdowns/ExtDateTimePicker.h"
#include "support/GoldenImage.h"

using namespace dropdowns;

namespace {

QDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return QDateTime(QDate(y, mo, d), QTime(h, mi, s)); }

// The picker with its open calendar under it, as the user sees them.
QImage OpenPicker(QWidget& picker, QWidget& calendar)
{
    const QImage top = picker.grab().toImage(), bottom = calendar.grab().toImage();
    QImage both(std::max(top.width(), bottom.width()), top.height() + bottom.height(), QImage::Format_RGB32);
    both.fill(Qt::white);
    QPainter painter(&both);
    painter.drawImage(0, 0, top);
    painter.drawImage(0, top.height(), bottom);
    return both;
}

struct Pickers : ::testing::Test {
    QLocale savedLocale;
    QWidget window;

    void SetUp() override
    {
        // Day-first dates and a 24-hour clock whatever the machine's locale.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        window.resize(420, 260);
    }
    void TearDown() override { QLocale::setDefault(savedLocale); }

    void Show(QWidget& picker)
    {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        picker.setFocus();
        QApplication::processEvents();
    }
    static void Keys(QWidget* target, Qt::Key key, int times)
    {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(target, key);
    }
    static void Type(QWidget* target, const char* digits)
    {
        for (const char* p = digits; *p; ++p) {
            QTest::keyClick(target, *p);
            QApplication::processEvents();  // the posted auto-tab step runs after each digit
        }
    }
};

// Every field of the picker stepped with Up and Down from the field the caret is in. A day the
// new month or year lacks becomes its last day; the fields wrap within their range.
TEST_F(Pickers, UpAndDownStepTheFieldUnderTheCaret)
{
    const struct {
        const char* name;
        QDateTime start;
        int field;  // of dd/MM/yyyy HH:mm:ss
        int steps;  // up when positive
        QDateTime expected;
    } cases[] = {
        {"day up", At(2024, 3, 15, 10), 0, 1, At(2024, 3, 16, 10)},
        {"day wraps in its month", At(2024, 3, 31, 10), 0, 1, At(2024, 3, 1, 10)},
        {"month up from 31 January", At(2024, 1, 31), 1, 1, At(2024, 2, 29)},
        {"month up into a common February", At(2023, 1, 31), 1, 1, At(2023, 2, 28)},
        {"year up from 29 February", At(2024, 2, 29), 2, 1, At(2025, 2, 28)},
        {"year down from 29 February", At(2024, 2, 29), 2, -1, At(2023, 2, 28)},
        {"four years up from 29 February", At(2024, 2, 29), 2, 4, At(2028, 2, 29)},
        {"hour wraps on the same day", At(2024, 3, 15, 23, 5), 3, 1, At(2024, 3, 15, 0, 5)},
        {"minute down", At(2024, 3, 15, 10, 30), 4, -2, At(2024, 3, 15, 10, 28)},
        {"second wraps", At(2024, 3, 15, 10, 30, 0), 5, -1, At(2024, 3, 15, 10, 30, 59)},
    };
    auto* picker = new TEsgDateTimePicker(&window);
    picker->setGeometry(10, 10, 220, 24);
    picker->SetFormat(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    Show(*picker);
    for (const auto& c : cases) {
        picker->SetDateTime(c.start);
        picker->setCurrentSectionIndex(c.field);
        Keys(picker, c.steps > 0 ? Qt::Key_Up : Qt::Key_Down, std::abs(c.steps));
        EXPECT_EQ(picker->DateTime(), c.expected) << c.name;
    }
}

TEST_F(Pickers, DigitsStayInTheirFieldAndLeftRightMoveBetweenFields)
{
    auto* picker = new TEsgDateTimePicker(&window);
    picker->setGeometry(10, 10, 160, 24);
    picker->SetDate(QDate(2024, 3, 15));
    Show(*picker);
    EXPECT_EQ(picker->text(), QStringLiteral("15/03/2024"));  // the locale's short date
    picker->setCurrentSectionIndex(0);
    picker->setSelectedSection(picker->sectionAt(0));
    Type(picker, "25");
    EXPECT_EQ(picker->Date(), QDate(2024, 3, 25));
    EXPECT_EQ(picker->currentSectionIndex(), 0) << "a plain picker does not move on by itself";
    QTest::keyClick(picker, Qt::Key_Right);
    Type(picker, "12");
    EXPECT_EQ(picker->Date(), QDate(2024, 12, 25));
    QTest::keyClick(picker, Qt::Key_Right);
    QTest::keyClick(picker, Qt::Key_Right);
    EXPECT_EQ(picker->currentSectionIndex(), 2) << "Right stops at the last field";
    QTest::keyClick(picker, Qt::Key_Left);
    EXPECT_EQ(picker->currentSectionIndex(), 1);
}

TEST_F(Pickers, ValuesStayWithinMinAndMaxDate)
{
    auto* picker = new TEsgDateTimePicker(&window);
    picker->setGeometry(10, 10, 160, 24);
    Show(*picker);
    picker->SetMinDate(QDate(2024, 3, 1));
    picker->SetMaxDate(QDate(2024, 3, 31));
    const struct {
        QDate set, expected;
    } cases[] = {{QDate(2024, 1, 9), QDate(2024, 3, 1)},
                 {QDate(2025, 6, 1), QDate(2024, 3, 31)},
                 {QDate(2024, 3, 17), QDate(2024, 3, 17)}};
    for (const auto& c : cases) {
        picker->SetDate(c.set);
        EXPECT_EQ(picker->Date(), c.expected) << c.set.toString(Qt::ISODate).toStdString();
    }
    picker->setCurrentSectionIndex(2);
    QTest::keyClick(picker, Qt::Key_Up);
    EXPECT_LE(picker->Date(), QDate(2024, 3, 31)) << "a step never leaves the range";
    picker->SetMinDate({});
    picker->SetDate(QDate(2001, 5, 5));
    EXPECT_EQ(picker->Date(), QDate(2001, 5, 5)) << "a cleared limit no longer holds";
}

struct CalendarCase : Pickers {
    TEsgDateTimePicker* picker = nullptr;
    int closeUps = 0, dropDowns = 0;
    void SetUp() override
    {
        Pickers::SetUp();
        picker = new TEsgDateTimePicker(&window);
        picker->setGeometry(10, 10, 160, 24);
        picker->SetDate(QDate(2024, 3, 15));
        picker->OnCloseUp = [this] { ++closeUps; };
        picker->OnDropDown = [this] { ++dropDowns; };
        Show(*picker);
    }
    QWidget* calendarFocus() { return picker->Calendar()->focusWidget() ? picker->Calendar()->focusWidget() : picker->Calendar(); }
};

TEST_F(CalendarCase, F4DropsTheCalendarOnTheValueAndEnterPicksTheDay)
{
    QTest::keyClick(picker, Qt::Key_F4);
    ASSERT_TRUE(picker->DroppedDown());
    EXPECT_EQ(dropDowns, 1);
    EXPECT_EQ(picker->Calendar()->selectedDate(), QDate(2024, 3, 15));
    QTest::keyClick(calendarFocus(), Qt::Key_Down);  // one week on
    QTest::keyClick(calendarFocus(), Qt::Key_Right);
    EXPECT_EQ(picker->Date(), QDate(2024, 3, 15)) << "moving in the calendar is no pick yet";
    QTest::keyClick(calendarFocus(), Qt::Key_Return);
    EXPECT_FALSE(picker->DroppedDown());
    EXPECT_EQ(picker->Date(), QDate(2024, 3, 23));
    EXPECT_EQ(closeUps, 1);
    EXPECT_TRUE(picker->hasFocus()) << "the focus comes back to the picker";
}

TEST_F(CalendarCase, EscapeClosesTheCalendarAndKeepsTheOldValue)
{
    QTest::keyClick(picker, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(picker->DroppedDown());
    QTest::keyClick(calendarFocus(), Qt::Key_Right);
    QTest::keyClick(calendarFocus(), Qt::Key_Escape);
    EXPECT_FALSE(picker->DroppedDown());
    EXPECT_EQ(picker->Date(), QDate(2024, 3, 15));
    EXPECT_EQ(closeUps, 1);
}

TEST_F(CalendarCase, AClickOnTheButtonDropsTheCalendarAndAClickOnADayPicksIt)
{
    QTest::mouseClick(picker, Qt::LeftButton, {}, picker->ButtonRect().center());
    ASSERT_TRUE(picker->DroppedDown());
    picker->Calendar()->setSelectedDate(QDate(2024, 3, 2));
    emit picker->Calendar()->clicked(QDate(2024, 3, 2));
    EXPECT_FALSE(picker->DroppedDown());
    EXPECT_EQ(picker->Date(), QDate(2024, 3, 2));
}

TEST_F(CalendarCase, TimeAndUpDownPickersHaveNoCalendar)
{
    picker->SetDateMode(dmUpDown);
    QTest::keyClick(picker, Qt::Key_F4);
    EXPECT_FALSE(picker->DroppedDown());
    picker->SetDateMode(dmComboBox);
    picker->SetKind(dtkTime);
    QTest::keyClick(picker, Qt::Key_F4);
    EXPECT_FALSE(picker->DroppedDown());
    EXPECT_EQ(dropDowns, 0);
}

TEST_F(CalendarCase, GoldenImageOfTheOpenCalendar)
{
    picker->SetDate(QDate(2024, 2, 29));
    picker->SetMetroStyle(true);
    picker->SetBorderColor(0x00B99D7F);
    picker->ButtonColor = 0x00F0E0D0;
    picker->ButtonBorderColor = 0x00B99D7F;
    picker->ButtonTextColor = 0x00404040;
    QTest::keyClick(picker, Qt::Key_F4);
    ASSERT_TRUE(picker->DroppedDown());
    EXPECT_TRUE(testsupport::MatchesGolden(OpenPicker(*picker, *picker->CalendarWindow()),
                                           TEST_DATA_DIR "/golden/datepicker_open.png"));
}

TEST_F(Pickers, DateAndTimeValuesDropMillisecondsAndTakeTheTimePartsTime)
{
    auto* picker = new TExtDateTimePicker(&window);
    picker->setGeometry(10, 10, 240, 24);
    Show(*picker);
    ASSERT_EQ(picker->ExtKind(), dkDateTime);
    picker->SetDateTime(QDateTime(QDate(2024, 3, 15), QTime(10, 15, 30, 999)));
    ASSERT_NE(picker->TimePart(), nullptr);
    EXPECT_EQ(picker->GetDateTime(), At(2024, 3, 15, 10, 15, 30));
    EXPECT_EQ(picker->TimePart()->time(), QTime(10, 15, 30));
    // The time is typed in the time part; the date part keeps its own.
    TCustomDateTimePicker* part = picker->TimePart();
    part->setFocus();
    part->setCurrentSectionIndex(0);
    QTest::keyClick(part, Qt::Key_Up);
    EXPECT_EQ(picker->GetDateTime(), At(2024, 3, 15, 11, 15, 30));
    picker->SetDate(QDate(2025, 1, 2));
    EXPECT_EQ(picker->GetDateTime(), At(2025, 1, 2, 11, 15, 30)) << "a new date keeps the time";
}

TEST_F(Pickers, OnlyTheDateAndTimeKindHasATimePart)
{
    auto* picker = new TExtDateTimePicker(&window);
    picker->setGeometry(10, 10, 240, 24);
    Show(*picker);
    picker->SetExtKind(dkDate);
    EXPECT_EQ(picker->TimePart(), nullptr);
    picker->SetExtKind(dkDateTime);
    ASSERT_NE(picker->TimePart(), nullptr);
    EXPECT_TRUE(picker->TimePart()->isVisible());
    EXPECT_TRUE(picker->rect().contains(picker->TimePart()->geometry())) << "the time part sits inside the picker";
    EXPECT_GT(picker->TimePart()->x(), picker->width() / 3);
    picker->SetExtKind(dkTime);
    EXPECT_EQ(picker->TimePart(), nullptr);
    EXPECT_EQ(picker->Kind(), dtkTime);
}

TEST_F(Pickers, TheTimePartsKeysAndChangesAreThePickers)
{
    auto* picker = new TExtDateTimePicker(&window);
    picker->setGeometry(10, 10, 240, 24);
    Show(*picker);
    picker->SetDateTime(At(2024, 3, 15, 10, 15, 30));
    QStringList heard;
    picker->OnChange = [&] { heard << QStringLiteral("change"); };
    picker->OnTimeChange = [&] { heard << QStringLiteral("time"); };
    TCustomDateTimePicker* part = picker->TimePart();
    part->setFocus();
    part->setCurrentSectionIndex(1);
    QTest::keyClick(part, Qt::Key_Down);
    EXPECT_EQ(heard, (QStringList{QStringLiteral("change"), QStringLiteral("time")}));
}

// Auto-tab: a digit that changed a field moves on to the next field; a change of the format's
// last field moves on to the time part.
TEST_F(Pickers, AutoTabMovesOnAfterAChangedFieldAndFromTheYearToTheTimePart)
{
    auto* picker = new TExtDateTimePicker(&window);
    picker->setGeometry(10, 10, 260, 24);
    picker->SetFormat(QStringLiteral("dd/MM/yyyy"));
    picker->SetAutoTab(true);
    Show(*picker);
    picker->SetDateTime(At(2024, 3, 15, 10, 15, 30));
    picker->setCurrentSectionIndex(0);
    picker->setSelectedSection(picker->sectionAt(0));
    Type(picker, "2");
    EXPECT_EQ(picker->currentSectionIndex(), 0) << "a first digit that may go on changes nothing yet";
    Type(picker, "5");
    EXPECT_EQ(picker->Date(), QDate(2024, 3, 25));
    EXPECT_EQ(picker->currentSectionIndex(), 1);
    Type(picker, "9");
    EXPECT_EQ(picker->Date(), QDate(2024, 9, 25));
    EXPECT_EQ(picker->currentSectionIndex(), 2);
    Type(picker, "2027");
    EXPECT_EQ(picker->Date(), QDate(2027, 9, 25));
    EXPECT_TRUE(picker->TimePart()->hasFocus());
    // The time part moves on by itself too: a changed hour goes on to the minutes.
    Type(picker->TimePart(), "08");
    EXPECT_EQ(picker->TimePart()->time().hour(), 8);
    EXPECT_EQ(picker->TimePart()->currentSectionIndex(), 1);
}

TEST_F(Pickers, WithoutAutoTabTheFieldStays)
{
    auto* picker = new TExtDateTimePicker(&window);
    picker->setGeometry(10, 10, 260, 24);
    Show(*picker);
    picker->SetDateTime(At(2024, 3, 15, 10, 15, 30));
    picker->setCurrentSectionIndex(0);
    picker->setSelectedSection(picker->sectionAt(0));
    Type(picker, "25");
    EXPECT_EQ(picker->Date(), QDate(2024, 3, 25));
    EXPECT_EQ(picker->currentSectionIndex(), 0);
}

TEST(DigitSteps, AChangedFieldMovesOnUnlessItIsTheFormatsLast)
{
    const QDate d(2024, 3, 15);
    const struct {
        const char* format;
        QDate now;
        TDigitStep expected;
    } cases[] = {
        {"dd/MM/yyyy", QDate(2024, 3, 25), dsNextField}, {"dd/MM/yyyy", QDate(2024, 9, 15), dsNextField},
        {"dd/MM/yyyy", QDate(2027, 3, 15), dsLastField}, {"yyyy-MM-dd", QDate(2024, 3, 25), dsLastField},
        {"yyyy-MM-dd", QDate(2027, 3, 15), dsNextField}, {"MM/dd/yy", QDate(2024, 3, 16), dsNextField},
        {"MM/dd/yy", QDate(2025, 3, 15), dsLastField},   {"dd/MM/yyyy", d, dsStay},
        {"", QDate(2024, 3, 16), dsNextField},           {"", QDate(2024, 4, 15), dsNextField},
        {"", QDate(2025, 3, 15), dsLastField},           {"", d, dsStay},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DateDigitStep(QString::fromLatin1(c.format), d, c.now), c.expected)
            << c.format << " " << c.now.toString(Qt::ISODate).toStdString();
    EXPECT_TRUE(TimeDigitMoves(QTime(10, 15, 0), QTime(10, 45, 0)));
    EXPECT_FALSE(TimeDigitMoves(QTime(10, 15, 0, 10), QTime(10, 15, 0, 20)));
}

TEST_F(Pickers, TheCheckBoxSaysWhetherAValueIsSet)
{
    auto* picker = new TExtDateTimePicker(&window);
    picker->setGeometry(10, 10, 260, 24);
    Show(*picker);
    picker->SetDateTime(At(2024, 3, 15, 10, 15, 30));
    EXPECT_TRUE(picker->Checked()) << "without a check box there is always a value";
    picker->SetShowCheckbox(true);
    int changes = 0;
    picker->OnCheckChange = [&] { ++changes; };
    QTest::keyClick(picker, Qt::Key_Space);
    EXPECT_FALSE(picker->Checked());
    EXPECT_FALSE(picker->TimePart()->isEnabled());
    QTest::mouseClick(picker, Qt::LeftButton, {}, picker->CheckboxRect().center());
    EXPECT_TRUE(picker->Checked());
    EXPECT_TRUE(picker->TimePart()->isEnabled());
    EXPECT_EQ(changes, 2);
    picker->SetChecked(false);
    picker->SetDate(QDate(2024, 5, 1));
    EXPECT_TRUE(picker->Checked()) << "a value set ticks the box";
    EXPECT_EQ(changes, 2) << "only the user's changes are told";
}

TEST_F(Pickers, TheLabelIsPlacedByItsPositionAndShowsPlainText)
{
    auto* picker = new TExtDateTimePicker(&window);
    picker->setGeometry(150, 100, 200, 24);
    picker->SetLabelCaption(QStringLiteral("<b>Due</b>"));
    Show(*picker);
    QLabel* label = picker->Label();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->parentWidget(), &window);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    const int lw = label->width(), lh = label->height();
    const struct {
        TLabelPosition position;
        QPoint at;
    } cases[] = {
        {lpLeftTop, {150 - lw - 4, 100}},
        {lpLeftCenter, {150 - lw - 4, lh < 24 ? 100 + (24 - lh) / 2 : 100 - (lh - 24) / 2}},
        {lpLeftBottom, {150 - lw - 4, 124 - lh}},
        {lpTopLeft, {150, 100 - lh - 4}},
        {lpBottomLeft, {150, 128}},
        {lpLeftTopLeft, {146, 100}},
    };
    for (const auto& c : cases) {
        picker->SetLabelPosition(c.position);
        EXPECT_EQ(label->pos(), c.at) << int(c.position);
    }
    picker->SetLabelPosition(lpTopLeft);
    picker->move(160, 120);
    EXPECT_EQ(label->pos(), QPoint(160, 120 - lh - 4)) << "the label follows the picker";
    picker->hide();
    EXPECT_FALSE(label->isVisible());
    picker->show();
    picker->setEnabled(false);
    EXPECT_FALSE(label->isEnabled());
    picker->SetLabelAlwaysEnabled(true);
    EXPECT_TRUE(label->isEnabled());
}

// A disabled metro picker on a themed system shows the gray frame unless DisabledBorder is set.
TEST_F(Pickers, ADisabledMetroPickerShowsTheGrayFrame)
{
    auto* picker = new TEsgDateTimePicker(&window);
    picker->setGeometry(10, 10, 160, 24);
    picker->SetMetroStyle(true);
    Show(*picker);
    picker->setEnabled(false);
    const QColor gray(0x7F, 0x9D, 0xB9);
    EXPECT_EQ(picker->grab().toImage().pixelColor(0, 12), gray);
    picker->DisabledBorder = true;
    EXPECT_NE(picker->grab().toImage().pixelColor(0, 12), gray);
    picker->SetBorderColor(0x000000FF);  // red
    EXPECT_EQ(picker->grab().toImage().pixelColor(0, 12), QColor(Qt::red));
}

// A metro picker with neither border colour drawn disabled (with DisabledBorder, so no gray frame):
// an outer frame in the parent's colour, an inner one in the field colour and a ring of the
// outer colour around the text area; with the focus border effect while the pointer is in it, a
// raised edge outside a button-face frame and the inner frame.
TEST_F(Pickers, TheMetroFrameWithoutColoursFollowsTheFocusBorderEffect)
{
    struct Case {
        bool focusBorder;
        QColor left0, left1, left2, right0;
    };
    const QColor parent(0x30, 0xA0, 0x50), field = QColor(Qt::white);
    const QColor face = platform::ToQColor(platform::clBtnFace);
    const QColor light = platform::ToQColor(platform::clBtnHighlight), shadow = platform::ToQColor(platform::clBtnShadow);
    const Case cases[] = {
        {false, parent, field, parent, parent},
        {true, light, face, field, shadow},
    };
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, parent);
    window.setPalette(palette);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.focusBorder ? "focus border" : "plain");
        auto* picker = new TEsgDateTimePicker(&window);
        picker->setGeometry(10, 10, 160, 24);
        QPalette own = picker->palette();
        own.setColor(QPalette::Base, field);
        picker->setPalette(own);
        picker->SetMetroStyle(true);
        picker->DisabledBorder = true;
        picker->FocusBorder = c.focusBorder;
        Show(*picker);
        QEnterEvent enter(QPointF(20, 12), QPointF(20, 12), picker->mapToGlobal(QPointF(20, 12)));
        QApplication::sendEvent(picker, &enter);
        picker->setEnabled(false);
        const QImage image = picker->grab().toImage();
        EXPECT_EQ(image.pixelColor(0, 12), c.left0);
        EXPECT_EQ(image.pixelColor(1, 12), c.left1);
        EXPECT_EQ(image.pixelColor(2, 12), c.left2);
        EXPECT_EQ(image.pixelColor(159, 12), c.right0);
        delete picker;
    }
}

// With the metro style the system's edge left of the drop-down button is filled with the field
// colour, from the window's top to its bottom; without it the edge stays.
TEST_F(Pickers, TheMetroStyleFillsTheEdgeLeftOfTheButton)
{
    for (const bool metro : {false, true}) {
        SCOPED_TRACE(metro ? "metro" : "plain");
        auto* picker = new TEsgDateTimePicker(&window);
        picker->setGeometry(10, 10, 160, 24);
        QPalette own = picker->palette();
        own.setColor(QPalette::Base, QColor(0xF0, 0xE0, 0x20));
        picker->setPalette(own);
        picker->SetMetroStyle(metro);
        Show(*picker);
        const QImage image = picker->grab().toImage();
        const int x = 160 - picker->ButtonWidth() - 10;
        for (const int y : {0, 23})
            EXPECT_EQ(image.pixelColor(x, y) == QColor(0xF0, 0xE0, 0x20), metro) << "row " << y;
        delete picker;
    }
}

// The time part draws its flat edge and the inner line in the date-and-time picker's field
// colour, so no border shows between the date and the time.
TEST_F(Pickers, TheTimePartsEdgesTakeThePickersFieldColour)
{
    auto* picker = new TExtDateTimePicker(&window);
    picker->setGeometry(10, 10, 240, 24);
    QPalette own = picker->palette();
    own.setColor(QPalette::Base, QColor(0xF0, 0xE0, 0x20));
    picker->setPalette(own);
    Show(*picker);
    TCustomDateTimePicker* part = picker->TimePart();
    ASSERT_NE(part, nullptr);
    ASSERT_TRUE(part->isVisible());
    const QImage image = part->grab().toImage();
    const int w = image.width(), h = image.height();
    for (const QPoint at : {QPoint(0, h / 2), QPoint(1, h / 2), QPoint(w / 2, 0), QPoint(w / 2, 1), QPoint(w - 1, h / 2)})
        EXPECT_EQ(image.pixelColor(at), QColor(0xF0, 0xE0, 0x20)) << at.x() << "," << at.y();
}

// The date-and-time picker draws the metro frame in its border colour; the plain twin, as used
// for the time part, ignores its metro style.
TEST_F(Pickers, OnlyThePlainTwinIgnoresTheMetroStyle)
{
    for (const bool plain : {false, true}) {
        SCOPED_TRACE(plain ? "plain twin" : "date and time");
        TDateTimePickerBase* picker = plain ? new TCustomDateTimePicker(&window) : new TExtDateTimePicker(&window);
        picker->setGeometry(10, 10, 240, 24);
        picker->SetMetroStyle(true);
        picker->SetBorderColor(0x000000FF);  // red
        Show(*picker);
        const QImage image = picker->grab().toImage();
        EXPECT_EQ(image.pixelColor(0, 12) == QColor(Qt::red), !plain);
        delete picker;
    }
}

TEST_F(Pickers, GoldenImageOfTheDateAndTimePickerWithItsCalendarOpen)
{
    auto* picker = new TExtDateTimePicker(&window);
    picker->setGeometry(10, 10, 240, 24);
    Show(*picker);
    picker->SetDateTime(At(2024, 2, 29, 10, 15, 30));
    EXPECT_TRUE(testsupport::MatchesGolden(picker->grab().toImage(), TEST_DATA_DIR "/golden/datetimepicker.png"));
    QTest::keyClick(picker, Qt::Key_F4);
    ASSERT_TRUE(picker->DroppedDown());
    EXPECT_TRUE(testsupport::MatchesGolden(OpenPicker(*picker, *picker->CalendarWindow()),
                                           TEST_DATA_DIR "/golden/datetimepicker_open.png"));
}

}  // namespace
