// The combo, spin, check-box and button editors of a column grid, driven by real key and mouse
// events on a shown grid.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QWheelEvent>

#include "grid/editing/GridInput.h"
#include "grid/editing/editors/GridButton.h"
#include "grid/editing/editors/GridCheckBox.h"
#include "grid/editing/editors/GridCombo.h"
#include "grid/editing/editors/GridSpin.h"
#include "platform/TCanvas.h"
#include "support/FakeClock.h"

#include "EditorGridSuite.h"

using namespace grid;
using namespace grid::editing;
// The grid core names placeholders alike; these are the editor controls.
using ComboEditor = grid::editors::TGridCombo;
using SpinEditor = grid::editors::TGridSpin;
using CheckEditor = grid::editors::TGridCheckBox;
using ButtonEditor = grid::editors::TGridButton;

namespace {

enum : int { cNo, cQoS, cName, cFlag, cCount, cTime, cAct, cRatio, cNote, cColumns };

// Every special editor has a column of its own.
struct SpecialEditors : EditorGridSuite {
    std::vector<std::string> events;

    void SetUp() override
    {
        static const EditorColumn columns[] = {
            {"N", edNormal, 70},       {"QoS", edComboList, 70},  {"Name", edComboEdit, 70},
            {"Flag", edCheckBox, 70},  {"Count", edSpinEdit, 70}, {"Time", edTimeSpinEdit, 70},
            {"Act", edButton, 70},     {"Ratio", edFloatSpinEdit, 70}, {"Note", edNormal, 70}};
        static_assert(std::size(columns) == cColumns);
        BuildGrid(columns, 6, {700, 220}, true);
        g().Columns()[cQoS]->ComboItems = QStringList{"0", "1", "2"};
        g().Columns()[cName]->ComboItems = QStringList{"Alpha", "Beta", "Gamma"};
        g().Columns()[cCount]->SpinMax = 100;
        for (int r = 1; r < 6; ++r) {
            g().SetCells(cNo, r, QString::number(r));
            g().SetCells(cQoS, r, QStringLiteral("1"));
            g().SetCells(cName, r, QStringLiteral("Alpha"));
            g().SetCells(cFlag, r, QStringLiteral("on & off"));
            g().SetCells(cCount, r, QStringLiteral("5"));
            g().SetCells(cTime, r, QStringLiteral("0:30:00"));
            g().SetCells(cAct, r, QStringLiteral("Go"));
            g().SetCells(cRatio, r, QStringLiteral("1.5"));
        }
        controller().OnComboChange = [this](TExtStringGrid*, int c, int r, int i, const QString& s) {
            events.push_back("combo " + std::to_string(c) + "," + std::to_string(r) + " " + std::to_string(i) + " " +
                             s.toStdString());
        };
        g().OnSpinClick = [this](TExtStringGrid*, int c, int r, int v, bool up) {
            events.push_back("spin " + std::to_string(c) + "," + std::to_string(r) + " " + std::to_string(v) +
                             (up ? " up" : " down"));
        };
        ShowWindow({720, 260});
    }

    ComboEditor& combo() { return *specials().Combo(); }
    SpinEditor& spin() { return *specials().Spin(); }
};

// The pick-only list opens by F2, by a typed character and by a double click over its cell with
// the cell's value picked; the keys step through it and Enter writes the pick back and closes.
TEST_F(SpecialEditors, PickListOpensOverItsCellAndEnterWritesThePick)
{
    open(cQoS, 2);
    ASSERT_EQ(shown(), &combo());
    EXPECT_TRUE(combo().PickOnly());
    EXPECT_TRUE(combo().hasFocus());
    const TRect rc = g().CellRect(cQoS, 2);
    EXPECT_EQ(combo().geometry().topLeft(), QPoint(rc.Left, rc.Top));
    EXPECT_EQ(combo().currentText(), QStringLiteral("1"));
    EXPECT_EQ(combo().count(), 3);

    key(Qt::Key_Down);
    EXPECT_EQ(combo().currentText(), QStringLiteral("2"));
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cQoS, 2), QStringLiteral("2"));
    EXPECT_EQ(shown(), nullptr);
    EXPECT_FALSE(combo().isVisible());
    EXPECT_FALSE(controller().EditMode());
    EXPECT_TRUE(g().hasFocus());

    // A typed character opens the list and picks the item it starts.
    select(cQoS, 3);
    type("0");
    ASSERT_EQ(shown(), &combo());
    EXPECT_EQ(combo().currentText(), QStringLiteral("0"));
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cQoS, 3), QStringLiteral("0"));

    // The second press of a double click opens it too, and so does a click on the current cell.
    select(cQoS, 4);
    QTest::mouseDClick(client(), Qt::LeftButton, {}, centre(cQoS, 4));
    EXPECT_EQ(shown(), &combo());
    key(Qt::Key_Escape);
    select(cQoS, 5);
    EXPECT_EQ(shown(), nullptr);
    select(cQoS, 5);
    EXPECT_EQ(shown(), &combo());
}

// With AdvanceOnEnter, Enter in a list or a spin writes back, moves on and opens the next cell's
// editor (AdvanceAutoEdit).
TEST_F(SpecialEditors, EnterAdvancesIntoTheNextEditor)
{
    g().Navigation.AdvanceOnEnter = true;
    open(cQoS, 2);
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cQoS, 2), QStringLiteral("2"));
    EXPECT_EQ(current(), QPoint(cName, 2));
    ASSERT_EQ(shown(), &combo());
    EXPECT_FALSE(combo().PickOnly());
    EXPECT_EQ(combo().currentText(), QStringLiteral("Alpha"));

    select(cCount, 3);
    key(Qt::Key_F2);
    key(Qt::Key_Up);
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cCount, 3), QStringLiteral("6"));
    EXPECT_EQ(current(), QPoint(cTime, 3));
    EXPECT_EQ(shown(), &spin());
    EXPECT_EQ(spin().text(), QStringLiteral("0:30:00"));
}

// In a closed editable list Up validates and moves up, Page Down only closes the editor.
TEST_F(SpecialEditors, EditableListLeavingKeys)
{
    open(cName, 3);
    key(Qt::Key_End);
    type("1");
    key(Qt::Key_Up);
    EXPECT_EQ(cell(cName, 3), QStringLiteral("Alpha1"));
    EXPECT_EQ(current(), QPoint(cName, 2));
    EXPECT_FALSE(combo().isVisible());

    open(cName, 3);
    key(Qt::Key_End);
    type("2");
    key(Qt::Key_PageDown);
    EXPECT_EQ(cell(cName, 3), QStringLiteral("Alpha12"));
    EXPECT_EQ(current(), QPoint(cName, 3));
    EXPECT_EQ(shown(), nullptr);
}

// Escape puts the cell's text back whatever was picked, and the list closes.
TEST_F(SpecialEditors, EscapeRestoresTheCellAndCloses)
{
    open(cQoS, 2);
    key(Qt::Key_Down);
    EXPECT_EQ(combo().currentText(), QStringLiteral("2"));
    key(Qt::Key_Escape);
    EXPECT_EQ(cell(cQoS, 2), QStringLiteral("1"));
    EXPECT_EQ(shown(), nullptr);
    EXPECT_TRUE(g().hasFocus());

    open(cName, 2);
    type("Zeta");
    key(Qt::Key_Escape);
    EXPECT_EQ(cell(cName, 2), QStringLiteral("Alpha"));
    EXPECT_FALSE(combo().isVisible());
}

// A stored value that is not in the list stays as it is: nothing is picked or reported, and only
// a value the user picks is reported and written back.
TEST_F(SpecialEditors, ValueNotInTheListIsKeptUntilTheUserPicks)
{
    g().SetCells(cQoS, 2, QStringLiteral("7"));
    open(cQoS, 2);
    ASSERT_EQ(shown(), &combo());
    EXPECT_EQ(combo().currentIndex(), -1);
    EXPECT_TRUE(events.empty());

    // Leaving by Enter, by Escape and by the focus going elsewhere all keep the value.
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cQoS, 2), QStringLiteral("7"));
    open(cQoS, 2);
    key(Qt::Key_Escape);
    EXPECT_EQ(cell(cQoS, 2), QStringLiteral("7"));
    open(cQoS, 2);
    other->setFocus();
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(cell(cQoS, 2), QStringLiteral("7"));

    // The application's preselection shows, yet is not written unless the user takes it.
    g().SetComboSelection(2);
    g().SetFocus();
    open(cQoS, 2);
    EXPECT_EQ(combo().currentText(), QStringLiteral("2"));
    select(cNote, 2);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(cell(cQoS, 2), QStringLiteral("7"));
    g().SetComboSelection(-1);

    // A pick is written.
    open(cQoS, 2);
    key(Qt::Key_Down);
    EXPECT_EQ(combo().currentText(), QStringLiteral("0"));
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cQoS, 2), QStringLiteral("0"));
    // An empty list picks nothing and writes nothing.
    g().Columns()[cQoS]->ComboItems.clear();
    g().SetCells(cQoS, 3, QStringLiteral("7"));
    open(cQoS, 3);
    EXPECT_EQ(combo().count(), 0);
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cQoS, 3), QStringLiteral("7"));
    // Only the user's pick was reported.
    EXPECT_EQ(events, std::vector<std::string>{"combo 1,2 0 0"});
}

// An item picked with the mouse in the opened list goes into the cell and is reported; the wheel
// steps through the list and reports each step with the real column.
TEST_F(SpecialEditors, MouseAndWheelPick)
{
    open(cQoS, 2);
    static_cast<QComboBox&>(combo()).showPopup();
    QAbstractItemView* view = combo().view();
    ASSERT_TRUE(view->isVisible());
    const QRect item = view->visualRect(view->model()->index(0, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    EXPECT_EQ(combo().currentText(), QStringLiteral("0"));
    EXPECT_TRUE(combo().hasFocus());
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cQoS, 2), QStringLiteral("0"));

    open(cQoS, 3);
    const QPointF at(5, 5);
    QWheelEvent wheel(at, combo().mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&combo(), &wheel);
    EXPECT_EQ(combo().currentText(), QStringLiteral("2"));
    // The mouse pick and the wheel step are both reported.
    EXPECT_EQ(events, (std::vector<std::string>{"combo 1,2 0 0", "combo 1,3 2 2"}));
    other->setFocus();
    EXPECT_EQ(cell(cQoS, 3), QStringLiteral("2"));
}

// The grid hears the list open and close; with DirectComboClose a pick in the list also closes
// the editor and writes the pick back.
TEST_F(SpecialEditors, ClosingTheListWithDirectComboClose)
{
    g().OnComboDropDown = [this](TExtStringGrid*, int r, int c) {
        events.push_back("drop " + std::to_string(c) + "," + std::to_string(r));
    };
    g().OnComboCloseUp = [this](TExtStringGrid*, int r, int c) {
        events.push_back("up " + std::to_string(c) + "," + std::to_string(r));
    };
    g().MouseActions.DirectComboClose = true;
    open(cQoS, 2);
    static_cast<QComboBox&>(combo()).showPopup();
    QAbstractItemView* view = combo().view();
    const QRect item = view->visualRect(view->model()->index(2, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QCoreApplication::processEvents();
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(cell(cQoS, 2), QStringLiteral("2"));
    EXPECT_EQ(events, (std::vector<std::string>{"drop 1,2", "up 1,2", "combo 1,2 2 2"}));

    // Without it the editor stays open after the pick.
    g().MouseActions.DirectComboClose = false;
    open(cQoS, 3);
    static_cast<QComboBox&>(combo()).showPopup();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(0, 0)).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(shown(), &combo());
    EXPECT_EQ(combo().currentText(), QStringLiteral("0"));
}

// The editable list takes the typed start character over its selected text; a refused value
// keeps it open with the value the validation left, and Tab with goTabs moves on.
TEST_F(SpecialEditors, EditableListValidatesOnLeaving)
{
    select(cName, 2);
    type("Be");
    ASSERT_EQ(shown(), &combo());
    EXPECT_FALSE(combo().PickOnly());
    EXPECT_EQ(combo().currentText(), QStringLiteral("Be"));

    int validations = 0;
    controller().OnCellValidate = [&](TExtStringGrid*, int c, int r, QString& value, bool& valid) {
        ++validations;
        EXPECT_EQ(c, cName);
        EXPECT_EQ(r, 2);
        if (value == QStringLiteral("Be")) {
            value = QStringLiteral("Beta");
            valid = false;
        }
    };
    key(Qt::Key_Return);
    EXPECT_EQ(validations, 1);
    ASSERT_EQ(shown(), &combo());
    EXPECT_TRUE(combo().hasFocus());
    EXPECT_EQ(combo().currentText(), QStringLiteral("Beta"));
    EXPECT_EQ(combo().lineEdit()->selectedText(), QStringLiteral("Beta"));
    EXPECT_EQ(current(), QPoint(cName, 2));

    g().Options |= goTabs;
    key(Qt::Key_Tab);
    EXPECT_EQ(cell(cName, 2), QStringLiteral("Beta"));
    EXPECT_FALSE(combo().isVisible());
    EXPECT_EQ(current(), QPoint(cFlag, 2));

    // The length limit of the editable list.
    g().MaxComboLength = 3;
    open(cName, 3);
    key(Qt::Key_End);
    type("xyz");
    EXPECT_EQ(combo().currentText().size(), 3);
}

// With CursorWalkEditor, Left at the start and Right at the end of an editable list's text take
// the text and move to the neighbouring cell, whose editor opens.
TEST_F(SpecialEditors, CursorWalkLeavesAtTheEndsOfTheText)
{
    g().Navigation.CursorWalkEditor = true;
    open(cName, 2);
    key(Qt::Key_End);
    type("x");
    key(Qt::Key_Left);  // the caret leaves the end: nothing walks
    EXPECT_EQ(current(), QPoint(cName, 2));
    key(Qt::Key_End);
    key(Qt::Key_Right);
    EXPECT_EQ(cell(cName, 2), QStringLiteral("Alphax"));
    EXPECT_EQ(current(), QPoint(cFlag, 2));
    EXPECT_EQ(shown(), specials().CheckBox());

    open(cName, 3);
    key(Qt::Key_Home);
    key(Qt::Key_Left);
    EXPECT_EQ(current(), QPoint(cQoS, 3));
    EXPECT_EQ(shown(), &combo());
    EXPECT_TRUE(combo().PickOnly());
}

// The look of the grid gives the combo its flat look; the list is as wide as its widest item
// with AutoComboDropSize, else as wide as DropWidth.
TEST_F(SpecialEditors, ComboLookAndListWidth)
{
    g().SetLook(glOffice2007);
    open(cName, 2);
    EXPECT_TRUE(combo().Flat());
    EXPECT_TRUE(combo().Etched());
    key(Qt::Key_Escape);
    g().SetLook(glClassic);
    g().Columns()[cName]->ComboItems = QStringList{"A name far wider than the column is"};
    g().Navigation.AutoComboDropSize = true;
    open(cName, 3);
    EXPECT_FALSE(combo().Flat());
    EXPECT_GT(combo().DroppedWidth(), combo().width());
    key(Qt::Key_Escape);
    g().Navigation.AutoComboDropSize = false;
    combo().SetDropWidth(200);
    combo().SetDroppedWidth(0);
    open(cName, 4);
    EXPECT_EQ(combo().DroppedWidth(), 200);
}

// A window that answers the editor type itself fills the list for the cell through the grid's
// combo-list operations.
TEST_F(SpecialEditors, ListFilledPerCellThroughTheGrid)
{
    g().OnGetEditorType = [](TExtStringGrid* grid, int c, int r, TEditorType& e) {
        if (c != cNote)
            return;
        e = edComboList;
        grid->ClearComboString();
        grid->AddComboString(QStringLiteral("row %1").arg(r));
        grid->AddComboStringObject(QStringLiteral("other"), QVariant(42));
    };
    QVariant object;
    g().OnComboObjectChange = [&](TExtStringGrid*, int, int, int, const QString&, const QVariant& o) { object = o; };
    open(cNote, 4);
    ASSERT_EQ(shown(), &combo());
    EXPECT_EQ(combo().itemText(0), QStringLiteral("row 4"));
    type("o");
    EXPECT_EQ(combo().currentText(), QStringLiteral("other"));
    EXPECT_EQ(object, QVariant(42));
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cNote, 4), QStringLiteral("other"));
}

// The whole-number spin opens on the cell's value, steps with the keys, sets its limits with
// Home and End and writes back on Enter; Escape puts the cell's saved text back.
TEST_F(SpecialEditors, SpinStepsAndWritesBack)
{
    open(cCount, 2);
    ASSERT_EQ(shown(), &spin());
    EXPECT_EQ(spin().text(), QStringLiteral("5"));
    key(Qt::Key_Up);
    key(Qt::Key_Up);
    EXPECT_EQ(spin().text(), QStringLiteral("7"));
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cCount, 2), QStringLiteral("7"));
    EXPECT_FALSE(spin().isVisible());
    EXPECT_TRUE(events.empty());  // steps by the keys report nothing

    open(cCount, 3);
    key(Qt::Key_Home);
    EXPECT_EQ(spin().text(), QStringLiteral("100"));
    key(Qt::Key_End);
    EXPECT_EQ(spin().text(), QStringLiteral("0"));
    EXPECT_EQ(events, (std::vector<std::string>{"spin 4,3 100 down", "spin 4,3 0 down"}));
    key(Qt::Key_Escape);
    EXPECT_EQ(cell(cCount, 3), QStringLiteral("5"));
    EXPECT_FALSE(spin().isVisible());

    // A typed value starts the edit; one beyond the limits goes into the cell limited.
    select(cCount, 4);
    type("150");
    ASSERT_EQ(shown(), &spin());
    EXPECT_EQ(spin().text(), QStringLiteral("150"));
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cCount, 4), QStringLiteral("100"));

    // Leaving by a click on another cell writes back too.
    open(cCount, 5);
    key(Qt::Key_Down);
    select(cNote, 5);
    EXPECT_EQ(cell(cCount, 5), QStringLiteral("4"));
    EXPECT_FALSE(spin().isVisible());
}

// The decimal spin writes back through the float format, the date spin opens an empty cell on
// today; the focus going elsewhere takes the value back; a click on the spin indicator that
// started the edit opens the editor one step on.
TEST_F(SpecialEditors, SpinKindsAndLeavingByFocus)
{
    open(cRatio, 2);
    EXPECT_EQ(spin().SpinType(), grid::editors::sptFloat);
    EXPECT_EQ(spin().text(), QLocale().toString(1.5));
    key(Qt::Key_Up);
    other->setFocus();
    EXPECT_FALSE(spin().isVisible());
    EXPECT_EQ(cell(cRatio, 2), QStringLiteral("1.60"));

    g().Columns()[cNote]->SetEditor(edDateSpinEdit);
    open(cNote, 3);
    EXPECT_EQ(spin().SpinType(), grid::editors::sptDate);
    EXPECT_EQ(spin().text(), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
    key(Qt::Key_Escape);
    EXPECT_EQ(cell(cNote, 3), QString());

}

// A click on the spin indicator drawn at the right edge of the current spin cell opens the editor
// one step up (upper half) or down (lower half), firing no spin event; elsewhere in the cell, or
// without the drawn indicators, it opens on the cell's value. The click counts for its own
// opening only.
TEST_F(SpecialEditors, ClickOnTheSpinIndicatorOpensTheEditorOneStepOn)
{
    const struct {
        bool Indicators;
        int FromRight, FromTop;  // press position inside the cell
        const char* Shown;
    } cases[] = {{true, 5, 3, "6"},   {true, 5, -3, "4"},  {true, 40, 3, "5"},
                 {false, 5, 3, "5"},  {false, 5, -3, "5"}};
    // The grid draws the indicator where the application says a cell has one.
    g().OnHasSpinEdit = [](TExtStringGrid*, int c, int, bool& has) { has = c == cCount; };
    for (const auto& k : cases) {
        g().ControlLook.SpinButtonsAlwaysVisible = k.Indicators;
        select(cCount, 4);
        const TRect rc = g().CellRect(cCount, 4);
        const QPoint at(rc.Right - k.FromRight, k.FromTop > 0 ? rc.Top + k.FromTop : rc.Bottom + k.FromTop);
        QTest::mouseClick(client(), Qt::LeftButton, {}, at);
        ASSERT_EQ(shown(), &spin()) << k.FromRight << "," << k.FromTop;
        EXPECT_EQ(spin().text(), QString::fromLatin1(k.Shown)) << k.Indicators << " " << k.FromRight << "," << k.FromTop;
        key(Qt::Key_Escape);
        EXPECT_EQ(cell(cCount, 4), QStringLiteral("5"));
    }
    EXPECT_TRUE(events.empty());

    // An indicator click that only makes the cell current leaves no step for F2.
    g().ControlLook.SpinButtonsAlwaysVisible = true;
    select(cNo, 2);
    const TRect rc = g().CellRect(cCount, 3);
    QTest::mouseClick(client(), Qt::LeftButton, {}, QPoint(rc.Right - 5, rc.Top + 3));
    EXPECT_EQ(current(), QPoint(cCount, 3));
    EXPECT_EQ(shown(), nullptr);
    key(Qt::Key_F2);
    ASSERT_EQ(shown(), &spin());
    EXPECT_EQ(spin().text(), QStringLiteral("5"));
    key(Qt::Key_Escape);
}

// The cell's text read as a whole number: blanks, a sign, "$" and "0x" prefixes, and the first
// character that is no digit ends it.
TEST_F(SpecialEditors, SpinReadsTheCellAsAWholeNumber)
{
    g().Columns()[cCount]->SpinMax = 0;  // equal limits: none
    const struct {
        const char* Cell;
        const char* Shown;
    } cases[] = {{"$1F", "31"}, {"0x10", "16"}, {"  -7abc", "-7"}, {"+12", "12"}, {"abc", "0"}, {"", "0"}};
    for (const auto& c : cases) {
        g().SetCells(cCount, 2, QString::fromLatin1(c.Cell));
        open(cCount, 2);
        EXPECT_EQ(spin().text(), QString::fromLatin1(c.Shown)) << c.Cell;
        key(Qt::Key_Escape);
        EXPECT_EQ(cell(cCount, 2), QString::fromLatin1(c.Cell)) << "Escape keeps " << c.Cell;
    }
}

// The arrow buttons step once at the release of a click, and while held after 400 ms and then
// every 100 ms; each of their steps is reported.
TEST_F(SpecialEditors, SpinButtonsRepeatOnTheClock)
{
    FakeClock clock;
    open(cCount, 2);
    QWidget* up = spin().UpButton();
    QTest::mouseClick(up, Qt::LeftButton, {}, up->rect().center());
    EXPECT_EQ(spin().text(), QStringLiteral("6"));
    EXPECT_EQ(events, std::vector<std::string>{"spin 4,2 6 up"});

    events.clear();
    QTest::mousePress(up, Qt::LeftButton, {}, up->rect().center());
    clock.Advance(399);
    EXPECT_EQ(spin().text(), QStringLiteral("6"));
    clock.Advance(1);
    EXPECT_EQ(spin().text(), QStringLiteral("7"));
    clock.Advance(200);
    EXPECT_EQ(spin().text(), QStringLiteral("9"));
    QTest::mouseRelease(up, Qt::LeftButton, {}, up->rect().center());
    EXPECT_EQ(spin().text(), QStringLiteral("10"));
    clock.Advance(1000);
    EXPECT_EQ(spin().text(), QStringLiteral("10"));
    EXPECT_EQ(events.size(), 4u);
    QWidget* down = spin().DownButton();
    QTest::mouseClick(down, Qt::LeftButton, {}, down->rect().center());
    EXPECT_EQ(events.back(), "spin 4,2 9 down");
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cCount, 2), QStringLiteral("9"));
}

// The time spin steps the part under the caret and wraps within the day; the cell follows the
// text while the user types once a text editor has been open, and OnEditChange reports it.
TEST_F(SpecialEditors, TimeSpinAndLiveText)
{
    open(cTime, 2);
    ASSERT_EQ(shown(), &spin());
    EXPECT_EQ(spin().text(), QStringLiteral("0:30:00"));
    spin().setCursorPosition(0);
    key(Qt::Key_Down);
    EXPECT_EQ(spin().text(), QStringLiteral("23:30:00"));
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cTime, 2), QStringLiteral("23:30:00"));

    // A text editor opens once, which switches the live copy on.
    open(cNote, 2);
    key(Qt::Key_Escape);
    std::vector<QString> changes;
    g().OnEditChange = [&](TExtStringGrid*, int c, int r, const QString& text) {
        EXPECT_EQ(c, cCount);
        EXPECT_EQ(r, 3);
        changes.push_back(text);
    };
    select(cCount, 3);
    type("4");
    EXPECT_EQ(cell(cCount, 3), QStringLiteral("4"));
    type("2");
    EXPECT_EQ(cell(cCount, 3), QStringLiteral("42"));
    EXPECT_EQ(changes, (std::vector<QString>{"4", "42"}));
    key(Qt::Key_Escape);
    EXPECT_EQ(cell(cCount, 3), QStringLiteral("5"));
}

// With AllowEmptyValue a cleared spin leaves an empty cell; without it the value 0.
TEST_F(SpecialEditors, SpinEmptyValue)
{
    for (const bool allow : {true, false}) {
        spin().AllowEmptyValue = allow;
        open(cCount, 2);
        spin().selectAll();
        key(Qt::Key_Backspace);
        key(Qt::Key_Return);
        EXPECT_EQ(cell(cCount, 2), allow ? QString() : QStringLiteral("0")) << allow;
        g().SetCells(cCount, 2, QStringLiteral("5"));
    }
}

// A refused spin value keeps the editor open with the cell's text and the caret at its end.
TEST_F(SpecialEditors, RefusedSpinValueReopens)
{
    controller().OnCellValidate = [](TExtStringGrid*, int, int, QString& value, bool& valid) {
        valid = value.toInt() % 2 == 0;
    };
    open(cCount, 2);
    spin().selectAll();
    type("7");
    key(Qt::Key_Return);
    ASSERT_EQ(shown(), &spin());
    EXPECT_EQ(spin().text(), QStringLiteral("5"));
    EXPECT_EQ(spin().cursorPosition(), 1);
    EXPECT_EQ(current(), QPoint(cCount, 2));
    spin().selectAll();
    type("8");
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cCount, 2), QStringLiteral("8"));
    EXPECT_FALSE(spin().isVisible());

    // Tab with goTabs validates and moves to the next cell.
    g().Options |= goTabs;
    open(cCount, 3);
    spin().selectAll();
    type("6");
    key(Qt::Key_Tab);
    EXPECT_EQ(cell(cCount, 3), QStringLiteral("6"));
    EXPECT_EQ(current(), QPoint(cTime, 3));
}

// The check box opens unchecked on a text that is not the check-true text, with that text as its
// plain caption; Space and a click toggle it, and toggled back it leaves the cell as it was; Enter
// closes it and Down moves the current cell down.
TEST_F(SpecialEditors, CheckBoxEditor)
{
    select(cFlag, 2);
    type("x");  // opens the editor; the character types nothing into a check box
    CheckEditor* check = specials().CheckBox();
    ASSERT_EQ(shown(), check);
    EXPECT_EQ(check->text(), QStringLiteral("on && off"));
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(controller().EditCtrl(), nullptr);
    QTest::keyClick(check, Qt::Key_Space);
    EXPECT_TRUE(check->isChecked());
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
    EXPECT_FALSE(check->isChecked());
    key(Qt::Key_Return);
    EXPECT_FALSE(check->isVisible());
    EXPECT_EQ(cell(cFlag, 2), QStringLiteral("on & off"));
    EXPECT_EQ(current(), QPoint(cFlag, 2));

    open(cFlag, 2);
    key(Qt::Key_Down);
    EXPECT_FALSE(check->isVisible());
    EXPECT_EQ(current(), QPoint(cFlag, 3));
    EXPECT_TRUE(g().hasFocus());

    // With AdvanceOnEnter, Enter moves on to the next cell.
    g().Navigation.AdvanceOnEnter = true;
    open(cFlag, 3);
    key(Qt::Key_Return);
    EXPECT_FALSE(check->isVisible());
    EXPECT_EQ(current(), QPoint(cCount, 3));
}

// The check box opens on the cell's state (its text is the check-true text or not) and writes a
// changed state back as the check-true or check-false text, also when the focus leaves; Esc undoes
// the toggles. The column's own check texts count.
TEST_F(SpecialEditors, CheckBoxWritesItsStateBack)
{
    const struct {
        const char* Name;
        const char* Text;
        Qt::Key Leave;  // Qt::Key_unknown: the focus goes elsewhere
        bool OpensChecked;
        const char* After;
    } cases[] = {
        {"N toggled, Enter", "N", Qt::Key_Return, false, "Y"},
        {"Y toggled, Enter", "Y", Qt::Key_Return, true, "N"},
        {"Y toggled, Esc", "Y", Qt::Key_Escape, true, "Y"},
        {"N toggled, Down", "N", Qt::Key_Down, false, "Y"},
        {"N toggled, focus leaves", "N", Qt::Key_unknown, false, "Y"},
        {"caption toggled on", "label", Qt::Key_Return, false, "Y"},
    };
    CheckEditor* check = specials().CheckBox();
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        g().SetCells(cFlag, 2, QString::fromLatin1(k.Text));
        open(cFlag, 2);
        ASSERT_EQ(shown(), check);
        EXPECT_EQ(check->isChecked(), k.OpensChecked);
        QTest::keyClick(check, Qt::Key_Space);
        if (k.Leave == Qt::Key_unknown)
            other->setFocus();
        else
            key(k.Leave);
        EXPECT_FALSE(check->isVisible());
        EXPECT_EQ(cell(cFlag, 2), QString::fromLatin1(k.After));
        g().SetFocus();
    }
    g().Columns()[cFlag]->CheckTrue = QStringLiteral("on");
    g().Columns()[cFlag]->CheckFalse = QStringLiteral("off");
    g().SetCells(cFlag, 3, QStringLiteral("on"));
    open(cFlag, 3);
    EXPECT_TRUE(check->isChecked());
    QTest::keyClick(check, Qt::Key_Space);
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cFlag, 3), QStringLiteral("off"));
}

// A decimal spin cell whose text is no number opens showing that text and keeps it: the editor
// never turns it into a limit. A number outside the limits is limited as before.
TEST_F(SpecialEditors, DecimalSpinKeepsATextThatIsNoNumber)
{
    spin().MinFloatValue = 5;
    spin().MaxFloatValue = 10;
    const struct {
        const char* Cell;
        Qt::Key Leave;
        const char* Shown;
        const char* After;
    } cases[] = {
        {"abc", Qt::Key_Return, "abc", "abc"},
        {"n/a", Qt::Key_Tab, "n/a", "n/a"},
        {"", Qt::Key_Return, "", ""},
        {"abc", Qt::Key_Escape, "abc", "abc"},
        {"7", Qt::Key_Return, "7", "7.00"},
        {"2", Qt::Key_Return, "5", "5.00"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Cell);
        g().SetCells(cRatio, 2, QString::fromLatin1(k.Cell));
        open(cRatio, 2);
        ASSERT_EQ(shown(), &spin());
        EXPECT_EQ(spin().text(), QString::fromLatin1(k.Shown));
        key(k.Leave);
        EXPECT_FALSE(spin().isVisible());
        EXPECT_EQ(cell(cRatio, 2), QString::fromLatin1(k.After));
    }
    // A text made no number while editing goes in as it stands, also when the focus leaves.
    g().SetCells(cRatio, 3, QStringLiteral("6"));
    open(cRatio, 3);
    spin().setText(QStringLiteral("6..5"));
    other->setFocus();
    EXPECT_EQ(cell(cRatio, 3), QStringLiteral("6..5"));
}

// The button lies one pixel outside its cell; a press hands its caption to OnEllipsClick and
// writes the answer; Escape restores the cell's text and an arrow moves the current cell.
TEST_F(SpecialEditors, ButtonEditor)
{
    g().OnEllipsClick = [](TExtStringGrid*, int c, int r, QString& s) {
        EXPECT_EQ(c, cAct);
        EXPECT_EQ(r, 2);
        s = QStringLiteral("done ") + s;
    };
    open(cAct, 2);
    ButtonEditor* button = specials().Button();
    ASSERT_EQ(shown(), button);
    const TRect rc = g().CellRect(cAct, 2);
    EXPECT_EQ(button->geometry().topLeft(), QPoint(rc.Left - 1, rc.Top - 1));
    EXPECT_EQ(button->Caption(), QStringLiteral("Go"));
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_EQ(button->Caption(), QStringLiteral("done Go"));
    EXPECT_EQ(cell(cAct, 2), QStringLiteral("done Go"));

    key(Qt::Key_Escape);
    EXPECT_FALSE(button->isVisible());
    EXPECT_FALSE(controller().EditMode());
    EXPECT_EQ(cell(cAct, 2), QStringLiteral("Go"));
    EXPECT_TRUE(g().hasFocus());

    open(cAct, 3);
    key(Qt::Key_Right);
    EXPECT_FALSE(button->isVisible());
    EXPECT_EQ(current(), QPoint(cRatio, 3));
    EXPECT_EQ(cell(cAct, 3), QStringLiteral("Go"));
}

// The grid's operations on the combo editor's list.
TEST_F(SpecialEditors, ComboListOperations)
{
    g().ClearComboString();
    EXPECT_EQ(g().GetComboCount(), 0);
    g().AddComboString(QStringLiteral("Low"));
    g().AddComboStringObject(QStringLiteral("High"), QVariant(7));
    g().AddComboString(QStringLiteral("high"));
    EXPECT_EQ(g().GetComboCount(), 3);
    EXPECT_TRUE(g().SetComboSelectionString(QStringLiteral("HIGH")));
    EXPECT_EQ(g().FComboIdx, 1);
    EXPECT_FALSE(g().SetComboSelectionString(QStringLiteral("none")));
    EXPECT_EQ(g().FComboIdx, 1);
    EXPECT_TRUE(g().RemoveComboString(QStringLiteral("high")));
    EXPECT_EQ(g().ComboStrings, (QStringList{"Low", "high"}));
    EXPECT_EQ(g().ComboObjects, (QVariantList{QVariant(), QVariant()}));  // the object went with its item

    // Index reads and writes go by the item texts, without case, after the application had its
    // chance to fill the list for the cell.
    int asked = 0;
    controller().OnGetEditorProp = [&](TExtStringGrid*, int c, int r, QObject*) {
        ++asked;
        EXPECT_EQ(c, cNote);
        EXPECT_EQ(r, 2);
    };
    g().SetCells(cNote, 2, QStringLiteral("HIGH"));
    EXPECT_EQ(g().GetComboIndex(cNote, 2), 1);
    g().SetComboIndex(cNote, 2, 0);
    EXPECT_EQ(cell(cNote, 2), QStringLiteral("Low"));
    g().SetComboIndex(cNote, 2, 5);
    EXPECT_EQ(cell(cNote, 2), QString());
    EXPECT_EQ(g().GetComboIndex(cNote, 2), -1);
    EXPECT_EQ(asked, 4);
    controller().OnGetEditorProp = [](TExtStringGrid* grid, int, int, QObject*) {
        grid->ClearComboString();
        grid->AddComboString(QStringLiteral("x"));
    };
    g().SetCells(cNote, 2, QStringLiteral("X"));
    EXPECT_EQ(g().GetComboIndex(cNote, 2), 0);
    controller().OnGetEditorProp = nullptr;
    g().ComboStrings = QStringList{"Low", "high"};
    g().ComboObjects = QVariantList{QVariant(), QVariant()};
    EXPECT_TRUE(g().RemoveComboString(QStringLiteral("HIGH")));
    EXPECT_FALSE(g().RemoveComboString(QStringLiteral("high")));
    EXPECT_EQ(g().ComboStrings, QStringList{"Low"});

    EXPECT_FALSE(g().CellIsPassword(cNote, 2));
    g().Columns()[cNote]->SetPassword(true);
    EXPECT_TRUE(g().CellIsPassword(cNote, 2));
}

// The grid's colour tones reach the combo and spin editors: the combo's button takes the button
// colour (the down colour while its list is open) with the border colour around it, the combo
// turns flat; the spin's arrow buttons take the same colours, also when the tones come while the
// spin is open. Before any tones both keep the style's look.
TEST_F(SpecialEditors, ColourTonesPaintTheComboAndSpinButtons)
{
    controls::TColorTones tones;
    tones.Background = {0x2050A0, 0x0000E0, 0x000000};  // 0x00BBGGRR
    tones.Hover.BrushColor = 0x10C010;
    tones.Selected = {0xC03080, platform::clNone, 0xFFFFFF};
    tones.Foreground.BrushColor = 0xE0E0E0;
    const QRgb fill = platform::ToQColor(tones.Background.BrushColor).rgb();
    const QRgb border = platform::ToQColor(tones.Background.BorderColor).rgb();
    const QRgb down = platform::ToQColor(tones.Selected.BrushColor).rgb();
    auto comboButton = [this] {
        QStyleOptionComboBox option;
        option.initFrom(&combo());
        option.editable = combo().isEditable();
        option.frame = combo().hasFrame();
        return combo().style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, &combo());
    };
    auto pixel = [](QWidget* w, QPoint p) { return w->grab().toImage().pixel(p); };

    open(cCount, 2);
    ASSERT_EQ(shown(), &spin());
    QWidget* up = spin().UpButton();
    EXPECT_NE(pixel(up, {2, 2}), fill);
    g().SetColorTones(tones);  // while the spin is open
    EXPECT_EQ(pixel(up, {2, 2}), fill);
    EXPECT_EQ(pixel(up, {0, 0}), border);
    EXPECT_EQ(pixel(spin().DownButton(), {2, 2}), fill);
    QTest::mousePress(up, Qt::LeftButton, {}, {3, 3});
    EXPECT_EQ(pixel(up, {2, 2}), down);
    QTest::mouseRelease(up, Qt::LeftButton, {}, {3, 3});
    EXPECT_EQ(pixel(up, {2, 2}), fill);
    key(Qt::Key_Escape);

    open(cQoS, 2);
    ASSERT_EQ(shown(), &combo());
    EXPECT_TRUE(combo().Flat());
    const QRect button = comboButton();
    // Clear of the control's border, which the button rectangle may reach over.
    const QPoint inside(button.left() + 3, std::max(button.top(), 0) + 3);
    EXPECT_EQ(pixel(&combo(), inside), fill);
    EXPECT_EQ(pixel(&combo(), {button.left(), button.center().y()}), border);
    // The combo's own border is the grid's colour.
    EXPECT_EQ(pixel(&combo(), {0, combo().height() / 2}), platform::ToQColor(g().Color).rgb());
    key(Qt::Key_F4);
    ASSERT_TRUE(combo().view()->isVisible());
    EXPECT_EQ(pixel(&combo(), inside), down);
    key(Qt::Key_Escape);
    EXPECT_EQ(pixel(&combo(), inside), fill);
}

// Without tones the combo and spin buttons keep the style's look.
TEST_F(SpecialEditors, WithoutTonesTheEditorsKeepTheStylesLook)
{
    open(cQoS, 2);
    EXPECT_EQ(combo().ButtonColor, ComboEditor::ColorNone);
    EXPECT_EQ(combo().BorderColor, ComboEditor::ColorNone);
    key(Qt::Key_Escape);
    open(cCount, 2);
    EXPECT_EQ(spin().ButtonColor, SpinEditor::ColorNone);
    key(Qt::Key_Escape);
}

// Each opening asks the application for the editor's properties once, during the opening (the
// editor not yet shown): OnGetEditorProp, then OnGetEditorPropInt, both with the real column.
// The check box and the button take no properties.
TEST_F(SpecialEditors, EditorPropertiesAreAskedOnceWhileTheEditorOpens)
{
    std::vector<std::string> asked;
    bool shownDuringInt = false;
    controller().OnGetEditorProp = [&](TExtStringGrid*, int c, int r, QObject*) {
        asked.push_back("prop " + std::to_string(c) + "," + std::to_string(r));
    };
    controller().OnGetEditorPropInt = [&](TExtStringGrid*, int c, int r) {
        asked.push_back("int " + std::to_string(c) + "," + std::to_string(r));
        QWidget* focus = QApplication::focusWidget();
        shownDuringInt = shownDuringInt || (shown() && shown()->isVisible()) || (focus && focus != &g());
    };
    const struct {
        int Col;
        bool Asks;
    } cases[] = {{cNote, true}, {cQoS, true}, {cName, true}, {cCount, true}, {cRatio, true}, {cFlag, false}, {cAct, false}};
    for (const auto& k : cases) {
        asked.clear();
        shownDuringInt = false;
        open(k.Col, 3);
        EXPECT_TRUE(controller().EditMode()) << k.Col;
        const std::vector<std::string> expected =
            k.Asks ? std::vector<std::string>{"prop " + std::to_string(k.Col) + ",3", "int " + std::to_string(k.Col) + ",3"}
                   : std::vector<std::string>{};
        EXPECT_EQ(asked, expected) << k.Col;
        EXPECT_FALSE(shownDuringInt) << k.Col;
        key(Qt::Key_Escape);
        g().SetFocus();
    }

    // A hidden column: the events name the real column the display column shows.
    g().HideColumn(cFlag);
    asked.clear();
    open(cFlag, 2);  // shows real column cCount
    EXPECT_EQ(asked, (std::vector<std::string>{"prop " + std::to_string(cCount) + ",2", "int " + std::to_string(cCount) + ",2"}));
    key(Qt::Key_Escape);
}

}  // namespace
