// The date editors of a column grid: the date, up-down date, time and date-and-time columns open
// their picker over the cell with the cell's value and write the value back, driven by real keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include "grid/editing/editors/GridDatePickers.h"

#include "EditorGridSuite.h"

using namespace grid;
using namespace grid::editing;
using namespace grid::editors;

namespace {

enum : int { cNo, cDate, cUpDown, cTime, cStamp, cColumns };

struct DateEditors : EditorGridSuite {
    void SetUp() override
    {
        // Day-first dates and a 24-hour clock whatever the machine's locale.
        UseLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
        // The posted auto-advance step runs after each digit.
        settleAfterKeys = true;
        openByClick = false;
        static const EditorColumn columns[] = {{"N", edNormal, 130},
                                               {"Date", edDateEdit, 130},
                                               {"UpDown", edDateEditUpDown, 130},
                                               {"Time", edTimeEdit, 130},
                                               {"Stamp", edDateTimeEdit, 220}};
        static_assert(std::size(columns) == cColumns);
        BuildGrid(columns, 5, {760, 220}, false);
        for (int r = 1; r < 5; ++r) {
            g().SetCells(cNo, r, QString::number(r));
            g().SetCells(cDate, r, QStringLiteral("15/03/2024"));
            g().SetCells(cUpDown, r, QStringLiteral("29/02/2024"));
            g().SetCells(cTime, r, QStringLiteral("10:15:00"));
            g().SetCells(cStamp, r, QStringLiteral("15/03/2024 10:15"));
        }
        ShowWindow({780, 400});
    }
    void TearDown() override
    {
        delete grid;
        EditorGridSuite::TearDown();
    }

    editors::TGridDatePicker& date() { return *specials().DatePicker(); }
    editors::TGridDateTimePicker& stamp() { return *specials().DateAndTimePicker(); }
};

// Each of the four types opens its picker with the cell's value, steps a field with Up and writes
// the value back on Enter. A year step from 29 February lands on 28 February.
TEST_F(DateEditors, EachTypeOpensWithTheCellsValueAndWritesBackOnEnter)
{
    const struct {
        int column;
        const char* opened;
        int rights;  // fields moved on before the step
        const char* written;
    } cases[] = {
        {cDate, "15/03/2024", 0, "16/03/2024"},
        {cUpDown, "29/02/2024", 2, "28/02/2025"},
        {cTime, "10:15:00", 1, "10:16:00"},
        {cStamp, "15/03/2024", 1, "15/04/2024 10:15"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        open(c.column, 1);
        ASSERT_NE(shown(), nullptr);
        auto* picker = static_cast<dropdowns::TDateTimePickerBase*>(shown());
        EXPECT_EQ(picker->text(), QString::fromLatin1(c.opened));
        EXPECT_EQ(picker->geometry().topLeft(), EditorRect(g(), c.column, 1).topLeft());
        EXPECT_EQ(picker->currentSectionIndex(), 0) << "the caret starts in the first field";
        for (int i = 0; i < c.rights; ++i)
            key(Qt::Key_Right);
        key(Qt::Key_Up);
        key(Qt::Key_Return);
        EXPECT_EQ(shown(), nullptr);
        EXPECT_FALSE(picker->isVisible());
        EXPECT_EQ(cell(c.column, 1), QString::fromLatin1(c.written));
    }
    EXPECT_EQ(stamp().GetDateTime(), QDateTime(QDate(2024, 4, 15), QTime(10, 15)));
}

// The character that started the edit is typed into the date editors' first field; the time
// editor and the date-and-time editor open without it.
TEST_F(DateEditors, TheStartCharacterReachesOnlyTheDateEditors)
{
    const struct {
        int column;
        QWidget* picker;
        const char* text;
    } cases[] = {{cDate, &date(), "05/03/2024"},
                 {cUpDown, &date(), "05/02/2024"},
                 {cTime, &date(), "10:15:00"},
                 {cStamp, &stamp(), "15/03/2024"}};
    for (const auto& c : cases) {
        g().SetFocus();
        g().MoveColRow(c.column, 2);
        key(Qt::Key_5);
        ASSERT_EQ(shown(), c.picker) << c.column;
        EXPECT_EQ(static_cast<QDateTimeEdit*>(c.picker)->text(), QString::fromLatin1(c.text)) << c.column;
        key(Qt::Key_Escape);
    }
}

TEST_F(DateEditors, TheKindsAndModesFollowTheColumnsType)
{
    const struct {
        int column;
        QWidget* picker;
        dropdowns::TDateTimeKind kind;
        dropdowns::TDTDateMode mode;
    } cases[] = {{cDate, &date(), dropdowns::dtkDate, dropdowns::dmComboBox},
                 {cUpDown, &date(), dropdowns::dtkDate, dropdowns::dmUpDown},
                 {cTime, &date(), dropdowns::dtkTime, dropdowns::dmComboBox}};
    for (const auto& c : cases) {
        open(c.column, 2);
        ASSERT_EQ(shown(), c.picker);
        EXPECT_EQ(date().Kind(), c.kind);
        if (c.kind == dropdowns::dtkDate) {
            EXPECT_EQ(date().DateMode(), c.mode);
        }
        key(Qt::Key_Escape);
    }
    open(cStamp, 2);
    ASSERT_EQ(shown(), &stamp());
    EXPECT_EQ(stamp().ExtKind(), dropdowns::dkDateTime);
    EXPECT_TRUE(stamp().AutoTab());
    ASSERT_NE(stamp().TimePart(), nullptr);
    EXPECT_EQ(stamp().TimePart()->text(), "10:15:00");
}

TEST_F(DateEditors, EscapeRestoresTheCellsValue)
{
    open(cDate, 1);
    key(Qt::Key_Up);
    key(Qt::Key_Escape);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(cell(cDate, 1), "15/03/2024");
    // The date-and-time editor goes back to the value it was opened with, date and time.
    open(cStamp, 1);
    key(Qt::Key_Up);
    dropdowns::TCustomDateTimePicker* part = stamp().TimePart();
    part->setFocus();
    part->setCurrentSectionIndex(0);
    key(Qt::Key_Up);
    EXPECT_EQ(stamp().GetDateTime(), QDateTime(QDate(2024, 3, 16), QTime(11, 15)));
    key(Qt::Key_Escape);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(cell(cStamp, 1), "15/03/2024 10:15");
}

TEST_F(DateEditors, TextThatIsNoDateOpensOnToday)
{
    for (int column : {cDate, cStamp})
        g().SetCells(column, 3, QStringLiteral("soon"));
    open(cDate, 3);
    EXPECT_EQ(date().Date(), QDate::currentDate());
    key(Qt::Key_Escape);
    open(cStamp, 3);
    EXPECT_EQ(stamp().GetDateTime().date(), QDate::currentDate());
    key(Qt::Key_Escape);
}

// With a check box the user can empty the cell: a cleared box writes no date, and an empty cell
// opens with the box cleared.
TEST_F(DateEditors, AClearedCheckBoxEmptiesTheCell)
{
    controller().OnGetEditorProp = [this](TExtStringGrid*, int c, int, QObject*) {
        if (c == cDate)
            date().SetShowCheckbox(true);
        if (c == cStamp)
            stamp().SetShowCheckbox(true);
    };
    for (int column : {cDate, cStamp}) {
        SCOPED_TRACE(column);
        auto* picker = static_cast<dropdowns::TDateTimePickerBase*>(column == cDate ? static_cast<QWidget*>(&date()) : &stamp());
        open(column, 1);
        ASSERT_EQ(shown(), picker);
        EXPECT_TRUE(picker->Checked());
        key(Qt::Key_Space);
        EXPECT_FALSE(picker->Checked());
        key(Qt::Key_Return);
        EXPECT_EQ(shown(), nullptr);
        EXPECT_EQ(cell(column, 1), "");
        open(column, 1);
        EXPECT_FALSE(picker->Checked()) << "an empty cell opens without a value";
        QTest::mouseClick(picker, Qt::LeftButton, {}, picker->CheckboxRect().center());
        EXPECT_TRUE(picker->Checked());
        key(Qt::Key_Escape);
    }
    EXPECT_FALSE(stamp().TimePart()->isEnabled()) << "the time part follows the box";
}

TEST_F(DateEditors, ADateOutsideTheLimitsOpensADayInsideThem)
{
    const struct {
        QDate min, max;
        const char* text;
        QDate opened;
    } cases[] = {{{}, QDate(2024, 3, 10), "15/03/2024", QDate(2024, 3, 9)},
                 {QDate(2024, 3, 15), {}, "15/03/2024", QDate(2024, 3, 16)},
                 {QDate(2024, 3, 1), QDate(2024, 3, 31), "15/03/2024", QDate(2024, 3, 15)}};
    for (const auto& c : cases) {
        date().SetMinDate(c.min);
        date().SetMaxDate(c.max);
        g().SetCells(cDate, 2, QString::fromLatin1(c.text));
        open(cDate, 2);
        EXPECT_EQ(date().Date(), c.opened) << c.text;
        key(Qt::Key_Escape);
    }
}

TEST_F(DateEditors, ACustomConversionReadsTheCellText)
{
    controller().OnCustomStrToDate = [](TExtStringGrid*, const QString& text, QDateTime& value) {
        if (text == QLatin1String("easter"))
            value = QDateTime(QDate(2024, 3, 31), QTime(0, 0));
    };
    g().SetCells(cDate, 2, QStringLiteral("easter"));
    open(cDate, 2);
    EXPECT_EQ(date().Date(), QDate(2024, 3, 31));
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cDate, 2), "31/03/2024");
}

// Tab validates the value as Enter does, in both pickers: a refused value keeps the editor open
// with the value the validation left; an accepted one moves on.
TEST_F(DateEditors, TabValidatesAsEnterDoes)
{
    g().Options |= goTabs;
    int validations = 0;
    controller().OnCellValidate = [&](TExtStringGrid*, int, int, QString& value, bool& valid) {
        ++validations;
        if (value.startsWith(QLatin1String("16/03/2024"))) {
            valid = false;
            value = value.size() > 10 ? QStringLiteral("01/01/2020 08:00") : QStringLiteral("01/01/2020");
        }
    };
    for (int column : {cDate, cStamp}) {
        SCOPED_TRACE(column);
        QWidget* picker = column == cDate ? static_cast<QWidget*>(&date()) : &stamp();
        int row = 1;
        for (Qt::Key leave : {Qt::Key_Return, Qt::Key_Tab}) {
            validations = 0;
            open(column, row);
            static_cast<QDateTimeEdit*>(picker)->setCurrentSectionIndex(0);
            key(Qt::Key_Up);  // 16/03/2024: refused
            key(leave);
            EXPECT_GE(validations, 1);
            EXPECT_EQ(shown(), picker);
            EXPECT_EQ(current(), QPoint(column, row));
            ++row;
            if (column == cDate)
                EXPECT_EQ(date().Date(), QDate(2020, 1, 1));
            else
                EXPECT_EQ(stamp().GetDateTime(), QDateTime(QDate(2020, 1, 1), QTime(8, 0)));
            key(Qt::Key_Escape);
        }
    }
    // An accepted value goes into the cell and Tab moves on.
    open(cStamp, 4);
    stamp().setCurrentSectionIndex(1);
    key(Qt::Key_Up);
    key(Qt::Key_Tab);
    EXPECT_NE(shown(), &stamp());
    EXPECT_EQ(cell(cStamp, 4), "15/04/2024 10:15");
    EXPECT_NE(current(), QPoint(cStamp, 4));
}

// Without goTabs a Tab the editor claims (a validation handler is set) validates and writes the
// value; the date editor then hands the Tab on to the grid, so the focus goes on to the window's
// next control, while the date-and-time editor moves on to the next cell.
TEST_F(DateEditors, TabWithoutGoTabsWritesTheValueAndMovesOn)
{
    g().Options &= ~goTabs;
    controller().OnCellValidate = [](TExtStringGrid*, int, int, QString&, bool&) {};
    auto* next = new QLineEdit(&window);
    next->setGeometry(0, 240, 100, 24);
    next->show();
    QWidget::setTabOrder(grid, next);

    open(cDate, 1);
    date().setCurrentSectionIndex(0);
    key(Qt::Key_Up);
    key(Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(cell(cDate, 1), "16/03/2024");
    EXPECT_EQ(QApplication::focusWidget(), next);

    g().SetFocus();
    open(cStamp, 2);
    stamp().setCurrentSectionIndex(0);
    key(Qt::Key_Up);
    key(Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_NE(shown(), &stamp());
    EXPECT_EQ(cell(cStamp, 2), "16/03/2024 10:15");
    EXPECT_NE(current(), QPoint(cStamp, 2));
    EXPECT_NE(QApplication::focusWidget(), next);
}

TEST_F(DateEditors, EnterWithoutAdvanceOnEnterKeepsTheCurrentCell)
{
    g().Navigation.AdvanceOnEnter = false;
    open(cStamp, 2);
    key(Qt::Key_Return);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(current(), QPoint(cStamp, 2));
    g().Navigation.AdvanceOnEnter = true;
    open(cDate, 2);
    key(Qt::Key_Return);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_NE(current(), QPoint(cDate, 2));
}

// Typed digits that change a field move on to the next one, but never past the last field of
// the display format; without a display format a changed year stays.
TEST_F(DateEditors, TypedDigitsMoveOnToTheNextField)
{
    date().SetFormat(QStringLiteral("dd/MM/yyyy"));
    open(cDate, 1);
    date().setCurrentSectionIndex(0);
    date().setSelectedSection(date().sectionAt(0));
    type("25");
    EXPECT_EQ(date().currentSectionIndex(), 1);
    type("9");
    EXPECT_EQ(date().currentSectionIndex(), 2);
    type("2027");
    EXPECT_EQ(date().Date(), QDate(2027, 9, 25));
    EXPECT_EQ(date().currentSectionIndex(), 2);
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cDate, 1), "25/09/2027");

    date().SetFormat(QStringLiteral("yyyy-MM-dd"));
    open(cDate, 2);
    date().setCurrentSectionIndex(0);
    date().setSelectedSection(date().sectionAt(0));
    type("2026");
    EXPECT_EQ(date().currentSectionIndex(), 1) << "the year is not the last field here";
    key(Qt::Key_Escape);

    date().SetFormat(QString());
    open(cDate, 3);
    date().setCurrentSectionIndex(2);
    date().setSelectedSection(date().sectionAt(2));
    type("2026");
    EXPECT_EQ(date().Date().year(), 2026);
    EXPECT_EQ(date().currentSectionIndex(), 2);
    key(Qt::Key_Escape);

    // The time editor: changed minutes move on to the seconds.
    open(cTime, 1);
    date().setCurrentSectionIndex(1);
    date().setSelectedSection(date().sectionAt(1));
    type("45");
    EXPECT_EQ(date().Time(), QTime(10, 45, 0));
    EXPECT_EQ(date().currentSectionIndex(), 2);
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cTime, 1), "10:45:00");
}

TEST_F(DateEditors, TheCalendarDropsAtOnceAndAPickClosesTheEditor)
{
    g().MouseActions.DirectDateDrop = true;
    g().MouseActions.DirectDateClose = true;
    QStringList heard;
    g().OnDatePickerDropDown = [&](TExtStringGrid*, int r, int c) { heard << QStringLiteral("drop %1,%2").arg(c).arg(r); };
    g().OnDatePickerCloseUp = [&](TExtStringGrid*, int r, int c) { heard << QStringLiteral("close %1,%2").arg(c).arg(r); };
    g().OnEditChange = [&](TExtStringGrid*, int, int, const QString& text) { heard << text; };
    open(cDate, 1);
    ASSERT_TRUE(date().DroppedDown());
    QWidget* calendar = date().Calendar()->focusWidget() ? date().Calendar()->focusWidget() : date().Calendar();
    QTest::keyClick(calendar, Qt::Key_Right);
    QTest::keyClick(calendar, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_FALSE(date().DroppedDown());
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(cell(cDate, 1), "16/03/2024");
    EXPECT_EQ(heard, (QStringList{"drop 1,1", "16/03/2024", "close 1,1"}));
}

TEST_F(DateEditors, EscapeInTheCalendarKeepsTheEditorsValue)
{
    open(cDate, 1);
    key(Qt::Key_F4);
    ASSERT_TRUE(date().DroppedDown());
    QWidget* calendar = date().Calendar()->focusWidget() ? date().Calendar()->focusWidget() : date().Calendar();
    QTest::keyClick(calendar, Qt::Key_Left);
    QTest::keyClick(calendar, Qt::Key_Escape);
    EXPECT_FALSE(date().DroppedDown());
    EXPECT_EQ(shown(), &date()) << "the editor stays open";
    EXPECT_EQ(date().Date(), QDate(2024, 3, 15));
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cDate, 1), "15/03/2024");
}

TEST_F(DateEditors, TheTimeEditorsChangesReachTheGrid)
{
    QList<QDateTime> changes;
    g().OnDateTimeChange = [&](TExtStringGrid*, int c, int r, const QDateTime& value) {
        EXPECT_EQ(QPoint(c, r), QPoint(cStamp, 1));
        changes << value;
    };
    open(cStamp, 1);
    dropdowns::TCustomDateTimePicker* part = stamp().TimePart();
    part->setFocus();
    part->setCurrentSectionIndex(1);
    key(Qt::Key_Up);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0], QDateTime(QDate(2024, 3, 15), QTime(10, 16)));
    // Enter in the time part is the editor's Enter.
    key(Qt::Key_Return);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(cell(cStamp, 1), "15/03/2024 10:16");
}

TEST_F(DateEditors, LeavingThePickerEndsTheEditButMovingToItsTimePartDoesNot)
{
    open(cStamp, 1);
    stamp().TimePart()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(shown(), &stamp());
    g().SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(shown(), nullptr);
    EXPECT_FALSE(stamp().isVisible());
}

}  // namespace
