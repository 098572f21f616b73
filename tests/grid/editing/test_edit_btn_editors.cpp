// The edit-with-button and unit editors of a column grid, driven by real key and mouse events on
// a shown grid.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QMenu>
#include <QTest>

#include "grid/editing/InplaceEdit.h"
#include "grid/editing/editors/GridEditBtn.h"
#include "platform/TCanvas.h"

#include "EditorGridSuite.h"

using namespace grid;
using namespace grid::editing;
// The grid core names placeholders alike; these are the editor controls.
using EditBtnEditor = grid::editors::TGridEditBtn;
using UnitEditor = grid::editors::TGridUnitEditBtn;

namespace {

enum : int { cNo, cText, cInt, cFloat, cMask, cUnit, cIntUnit, cFloatUnit, cNote, cColumns };

struct EditBtnEditors : EditorGridSuite {
    std::vector<std::string> events;

    void SetUp() override
    {
        // The decimal editors read the locale's separators: "." and ",".
        UseLocale(QLocale::c());
        static const EditorColumn columns[] = {
            {nullptr, edNormal, 75},      {nullptr, edEditBtn, 75},          {nullptr, edNumericEditBtn, 75},
            {nullptr, edFloatEditBtn, 75}, {nullptr, edMaskEditBtn, 75},     {nullptr, edUnitEditBtn, 75},
            {nullptr, edNumericUnitEditBtn, 75}, {nullptr, edFloatUnitEditBtn, 75}, {nullptr, edNormal, 75}};
        static_assert(std::size(columns) == cColumns);
        BuildGrid(columns, 5, {700, 200}, true);
        g().Columns()[cMask]->EditMask = QStringLiteral("000;1;_");
        const char* values[] = {"1", "abc", "12", "1.5", "123", "5mm", "7kg", "2.5m", ""};
        for (int r = 1; r < 5; ++r)
            for (int c = 0; c < cColumns; ++c)
                g().SetCells(c, r, QString::fromLatin1(values[c]));
        unit().Units = {"m", "mm", "kg"};
        g().OnEllipsClick = [this](TExtStringGrid*, int c, int r, QString& s) {
            events.push_back("ellips " + std::to_string(c) + "," + std::to_string(r) + " " + s.toStdString());
            s += QStringLiteral("!");
        };
        g().OnUnitChanged = [this](TExtStringGrid*, int c, int r, const QString& unit) {
            events.push_back("unit " + std::to_string(c) + "," + std::to_string(r) + " " + unit.toStdString());
        };
        ShowWindow({720, 240});
    }

    EditBtnEditor& edit() { return *specials().EditBtn(); }
    UnitEditor& unit() { return *specials().UnitEditBtn(); }
    void clickButton(QLineEdit& editor)
    {
        QWidget* button = static_cast<editors::TEsgEditBtn&>(editor).Button()->SpeedButton();
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }
};

// Every kind opens over its cell with the cell's value (the unit kinds split into value and
// unit), takes what its filter lets through and writes the value back on Enter.
TEST_F(EditBtnEditors, EveryKindOpensOverItsCellAndWritesBackOnEnter)
{
    const struct {
        int Col;
        bool Unit;
        const char* Shown;
        const char* ShownUnit;
        Qt::Key Place;
        const char* Typed;
        const char* Written;
    } cases[] = {
        {cText, false, "abc", "", Qt::Key_End, "d-", "abcd-"},
        {cInt, false, "12", "", Qt::Key_End, "x3.", "123"},
        {cFloat, false, "1.5", "", Qt::Key_End, ".2,a", "1.52"},
        {cMask, false, "123", "", Qt::Key_Home, "9a", "923"},
        {cUnit, true, "5", "mm", Qt::Key_End, "0", "50mm"},
        {cIntUnit, true, "7", "kg", Qt::Key_End, "a1-", "71kg"},
        {cFloatUnit, true, "2.5", "m", Qt::Key_End, ".1", "2.51m"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Col);
        open(k.Col, 2);
        QLineEdit* editor = k.Unit ? static_cast<QLineEdit*>(&unit()) : &edit();
        ASSERT_EQ(shown(), editor);
        EXPECT_TRUE(editor->hasFocus());
        EXPECT_TRUE(controller().EditMode());
        const TRect rc = g().CellRect(k.Col, 2);
        EXPECT_EQ(editor->geometry().topLeft(), QPoint(rc.Left, rc.Top));
        EXPECT_EQ(editor->width(), rc.Right - rc.Left - 1);
        EXPECT_EQ(editor->text(), QString::fromLatin1(k.Shown));
        if (k.Unit)
            EXPECT_EQ(unit().UnitID(), QString::fromLatin1(k.ShownUnit));
        key(k.Place);
        type(k.Typed);
        key(Qt::Key_Return);
        EXPECT_EQ(cell(k.Col, 2), QString::fromLatin1(k.Written));
        EXPECT_EQ(shown(), nullptr);
        EXPECT_FALSE(editor->isVisible());
        EXPECT_FALSE(controller().EditMode());
        EXPECT_TRUE(g().hasFocus());
    }
}

// A value whose end is no known unit opens whole in the edit with no unit, whatever unit the
// editor showed before, and goes back into the cell unchanged by Enter, Escape or leaving.
TEST_F(EditBtnEditors, UnitValueWithoutAKnownUnitIsKeptWhole)
{
    open(cUnit, 1);
    EXPECT_EQ(unit().UnitID(), QStringLiteral("mm"));
    key(Qt::Key_Return);
    for (const char* value : {"12 g", "12", ""}) {
        SCOPED_TRACE(value);
        g().SetCells(cUnit, 2, QString::fromLatin1(value));
        open(cUnit, 2);
        ASSERT_EQ(shown(), &unit());
        EXPECT_EQ(unit().text(), QString::fromLatin1(value));
        EXPECT_EQ(unit().UnitID(), QString());
        key(Qt::Key_Return);
        EXPECT_EQ(cell(cUnit, 2), QString::fromLatin1(value));
        open(cUnit, 2);
        other->setFocus();
        EXPECT_EQ(shown(), nullptr);
        EXPECT_EQ(cell(cUnit, 2), QString::fromLatin1(value));
    }
}

// The units may be set for each cell when the grid asks for the editor's properties; the value
// is split with them.
TEST_F(EditBtnEditors, UnitsSetForTheCellSplitItsValue)
{
    controller().OnGetEditorProp = [this](TExtStringGrid*, int c, int r, QObject*) {
        events.push_back("prop " + std::to_string(c) + "," + std::to_string(r));
        unit().Units = {"V", "mV"};
    };
    g().SetCells(cUnit, 3, QStringLiteral("230V"));
    open(cUnit, 3);
    EXPECT_EQ(events, std::vector<std::string>{"prop 5,3"});
    EXPECT_EQ(unit().text(), QStringLiteral("230"));
    EXPECT_EQ(unit().UnitID(), QStringLiteral("V"));
    key(Qt::Key_Escape);
    // The edit-with-button kinds are not asked.
    events.clear();
    open(cText, 3);
    EXPECT_TRUE(events.empty());
    key(Qt::Key_Escape);
}

// Escape puts the cell's text back and closes; in the unit editor the unit comes back too.
TEST_F(EditBtnEditors, EscapeWritesTheCellBackUnchanged)
{
    open(cText, 2);
    type("zz");
    key(Qt::Key_Escape);
    EXPECT_EQ(cell(cText, 2), QStringLiteral("abc"));
    EXPECT_EQ(shown(), nullptr);
    EXPECT_TRUE(g().hasFocus());

    open(cUnit, 2);
    key(Qt::Key_End);
    type("9");
    unit().PickUnit(2);
    EXPECT_EQ(unit().TextAndUnit(), QStringLiteral("59kg"));
    key(Qt::Key_Escape);
    EXPECT_EQ(cell(cUnit, 2), QStringLiteral("5mm"));
    EXPECT_FALSE(unit().isVisible());
}

// The keys the editor takes reach its own OnKeyDown, with the editor as sender, before it acts on
// them; other keys go to the grid's OnKeyDown instead.
TEST_F(EditBtnEditors, TakenKeysReachTheEditorsOwnKeyDown)
{
    std::vector<int> own, grid;
    QObject* sender = nullptr;
    edit().OnKeyDown = [&](QObject* s, int k, TShiftState) {
        sender = s;
        own.push_back(k);
        EXPECT_TRUE(edit().isVisible()) << "fires before the key closes the editor";
    };
    g().OnKeyDown = [&](int& k, platform::TShiftState) { grid.push_back(k); };
    open(cText, 2);
    own.clear();
    grid.clear();
    type("x");
    key(Qt::Key_Return);
    EXPECT_EQ(sender, &edit());
    EXPECT_EQ(own, (std::vector<int>{platform::VK_RETURN}));
    EXPECT_EQ(grid, (std::vector<int>{'X'}));
    EXPECT_EQ(cell(cText, 2), QStringLiteral("x")) << "the opened text was selected";

    open(cText, 3);
    own.clear();
    key(Qt::Key_Escape);
    EXPECT_EQ(own, (std::vector<int>{platform::VK_ESCAPE}));
}

// The button hands the text to OnEllipsClick with the real column and the row; the answer
// replaces the text, selected, and Enter writes it. F4 presses the button too.
TEST_F(EditBtnEditors, ButtonGoesThroughOnEllipsClick)
{
    g().HideColumn(cText);  // display column cText shows real column cInt
    open(cText, 2);
    ASSERT_EQ(shown(), &edit());
    clickButton(edit());
    EXPECT_EQ(events, std::vector<std::string>{"ellips 2,2 12"});
    EXPECT_EQ(edit().text(), QStringLiteral("12!"));
    EXPECT_EQ(edit().selectedText(), QStringLiteral("12!"));
    EXPECT_TRUE(edit().hasFocus());
    EXPECT_EQ(shown(), &edit());
    key(Qt::Key_F4);
    EXPECT_EQ(edit().text(), QStringLiteral("12!!"));
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cInt, 2), QStringLiteral("12!!"));
    EXPECT_EQ(cell(cText, 2), QStringLiteral("abc"));
    g().UnHideColumn(cText);

    // With StopEditAfterClick the press closes the editor with the answer in the cell.
    edit().StopEditAfterClick = true;
    open(cInt, 3);
    clickButton(edit());
    EXPECT_EQ(shown(), nullptr);
    EXPECT_FALSE(edit().isVisible());
    EXPECT_TRUE(g().hasFocus());
    EXPECT_EQ(cell(cInt, 3), QStringLiteral("12!"));
}

// The unit button hands the value without its unit to OnEllipsClick, then offers the units;
// a new unit is told to OnUnitChanged with the current cell, the unit already shown is not.
TEST_F(EditBtnEditors, UnitButtonOffersTheUnits)
{
    open(cUnit, 2);
    clickButton(unit());
    EXPECT_EQ(events, std::vector<std::string>{"ellips 5,2 5"});
    EXPECT_EQ(unit().text(), QStringLiteral("5!"));
    QMenu* menu = unit().UnitMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 3);
    menu->actions()[1]->trigger();  // "mm", already shown
    menu->close();
    EXPECT_EQ(events.size(), 1u);
    EXPECT_EQ(shown(), &unit());

    events.clear();
    key(Qt::Key_F4);
    menu = unit().UnitMenu();
    ASSERT_NE(menu, nullptr);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    EXPECT_EQ(events, (std::vector<std::string>{"ellips 5,2 5!", "unit 5,2 m"}));
    EXPECT_EQ(unit().UnitID(), QStringLiteral("m"));
    EXPECT_EQ(shown(), &unit());
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cUnit, 2), QStringLiteral("5!!m"));
}

// Enter, Tab and the vertical arrows validate: a refusal keeps the editor open with the value
// the validation left; an accepted value is written and the key moves on.
TEST_F(EditBtnEditors, LeavingKeysValidate)
{
    int validations = 0;
    controller().OnCellValidate = [&](TExtStringGrid*, int c, int, QString& value, bool& valid) {
        ++validations;
        if (value.startsWith(QStringLiteral("bad"))) {
            value = c == cUnit ? QStringLiteral("3kg") : QStringLiteral("good");
            valid = false;
        }
    };
    open(cText, 2);
    type("bad");
    key(Qt::Key_Return);
    EXPECT_EQ(validations, 1);
    ASSERT_EQ(shown(), &edit());
    EXPECT_EQ(edit().text(), QStringLiteral("good"));
    EXPECT_EQ(edit().selectedText(), QStringLiteral("good"));
    key(Qt::Key_Down);
    EXPECT_EQ(cell(cText, 2), QStringLiteral("good"));
    EXPECT_EQ(current(), QPoint(cText, 3));
    EXPECT_EQ(shown(), nullptr);

    // A validation event makes the editor claim Tab; with goTabs Tab moves to the next cell.
    g().Options |= goTabs;
    open(cText, 3);
    key(Qt::Key_End);
    type("x");
    key(Qt::Key_Tab);
    EXPECT_EQ(cell(cText, 3), QStringLiteral("abcx"));
    EXPECT_EQ(current(), QPoint(cInt, 3));

    // The unit editor shows the value the validation left in the cell, split.
    open(cUnit, 3);
    unit().setText(QStringLiteral("bad"));
    key(Qt::Key_Return);
    ASSERT_EQ(shown(), &unit());
    EXPECT_EQ(unit().text(), QStringLiteral("3"));
    EXPECT_EQ(unit().UnitID(), QStringLiteral("kg"));
    key(Qt::Key_Up);
    EXPECT_EQ(current(), QPoint(cUnit, 2));
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(cell(cUnit, 3), QStringLiteral("3kg"));
    key(Qt::Key_F2);
    ASSERT_EQ(shown(), &unit());
    key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(current(), QPoint(cMask, 2));
}

// A typed character opens the editor and goes in through the editor's filter, once through the
// grid's OnKeyPress.
TEST_F(EditBtnEditors, TypedCharacterStartsTheEdit)
{
    int presses = 0;
    g().OnKeyPress = [&](QChar&) { ++presses; };
    select(cInt, 2);
    type("7");
    ASSERT_EQ(shown(), &edit());
    EXPECT_EQ(edit().text(), QStringLiteral("7"));
    EXPECT_EQ(presses, 1);
    type("a8");
    EXPECT_EQ(edit().text(), QStringLiteral("78"));
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cInt, 2), QStringLiteral("78"));

    select(cUnit, 2);
    type("9");
    ASSERT_EQ(shown(), &unit());
    EXPECT_EQ(unit().TextAndUnit(), QStringLiteral("9mm"));
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cUnit, 2), QStringLiteral("9mm"));
}

// The grid's lookup items complete the typed text; the typed part keeps its case and the tail is
// selected. A key released over a selection completes nothing.
TEST_F(EditBtnEditors, LookupCompletesTypedText)
{
    TExtInplaceEdit* normal = controller().NormalEdit();
    normal->Lookup = true;
    normal->LookupItems = {"Alpha", "Beta"};
    g().SetCells(cText, 2, QString());
    open(cText, 2);
    type("b");
    EXPECT_EQ(edit().text(), QStringLiteral("beta"));
    EXPECT_EQ(edit().selectedText(), QStringLiteral("eta"));
    key(Qt::Key_Backspace);  // removes the completed tail, and completes nothing after it
    EXPECT_EQ(edit().text(), QStringLiteral("b"));
    key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(edit().text(), QStringLiteral("b"));
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cText, 2), QStringLiteral("b"));
}

// Paste drops only a line break that ends the text, writes the new text into the cell at once
// and leaves the pasted part selected when it replaced a selection; the events may refuse it.
TEST_F(EditBtnEditors, PasteReplacesTheSelectionAndWritesTheCell)
{
    open(cText, 2);
    edit().setSelection(1, 1);
    QApplication::clipboard()->setText(QStringLiteral("XY\r\n"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit().text(), QStringLiteral("aXYc"));
    EXPECT_EQ(edit().selectedText(), QStringLiteral("XY"));
    EXPECT_EQ(cell(cText, 2), QStringLiteral("aXYc"));

    edit().setCursorPosition(0);
    QApplication::clipboard()->setText(QStringLiteral("1\r\n2"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit().text(), QStringLiteral("1\r\n2aXYc"));
    EXPECT_EQ(edit().cursorPosition(), 4);

    std::vector<std::string> asked;
    edit().OnClipboardPaste = [&](QObject* sender, bool& allow) {
        EXPECT_EQ(sender, &edit());
        asked.push_back(allow ? "paste allowed" : "paste refused");
    };
    edit().OnClipboardBeforePasteCell = [&](QObject*, int c, int r, QString& value, bool& allow) {
        asked.push_back("cell " + std::to_string(c) + "," + std::to_string(r) + " " + value.toStdString());
        allow = value != QStringLiteral("no");
    };
    QApplication::clipboard()->setText(QStringLiteral("no"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit().text(), QStringLiteral("1\r\n2aXYc"));
    EXPECT_EQ(asked, (std::vector<std::string>{"paste allowed", "cell 1,2 no"}));
    key(Qt::Key_Escape);
    EXPECT_EQ(cell(cText, 2), QStringLiteral("abc"));
}

// With CursorWalkEditor, Left walks out only when the caret already stood at the start, Right
// at the end; the text is written back on the way.
TEST_F(EditBtnEditors, CursorWalksOutOfTheText)
{
    g().Navigation.CursorWalkEditor = true;
    open(cInt, 2);
    edit().setCursorPosition(1);
    key(Qt::Key_Left);
    EXPECT_EQ(edit().cursorPosition(), 0);
    EXPECT_EQ(shown(), &edit());
    type("-");
    EXPECT_EQ(edit().text(), QStringLiteral("-12"));
    edit().setCursorPosition(0);
    key(Qt::Key_Left);
    EXPECT_EQ(cell(cInt, 2), QStringLiteral("-12"));
    EXPECT_EQ(current(), QPoint(cText, 2));

    // Walking opens the neighbour's editor.
    open(cText, 3);
    key(Qt::Key_End);
    type("x");
    key(Qt::Key_Right);
    EXPECT_EQ(cell(cText, 3), QStringLiteral("abcx"));
    EXPECT_EQ(current(), QPoint(cInt, 3));
    ASSERT_EQ(shown(), &edit());
    EXPECT_EQ(edit().text(), QStringLiteral("12"));
}

// The editor follows the user's typing: OnEditChange with the display column, and a double
// click in it fires OnDblClickCell; losing the focus writes the value back.
TEST_F(EditBtnEditors, EditEventsAndFocusLoss)
{
    std::vector<std::string> changes;
    g().OnEditChange = [&](TExtStringGrid*, int c, int r, const QString& text) {
        changes.push_back(std::to_string(c) + "," + std::to_string(r) + " " + text.toStdString());
    };
    g().OnDblClickCell = [&](TExtStringGrid*, int r, int c) {
        changes.push_back("dbl " + std::to_string(r) + "," + std::to_string(c));
    };
    open(cFloat, 2);
    EXPECT_TRUE(changes.empty());
    key(Qt::Key_End);
    type("7");
    QTest::mouseDClick(&edit(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(changes, (std::vector<std::string>{"3,2 1.57", "dbl 2,3"}));
    other->setFocus();
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(cell(cFloat, 2), QStringLiteral("1.57"));
}

// The grid's edit limit bounds the typing; with AdvanceOnEnter, Enter in the unit editor writes
// back and moves on into the next cell's editor.
TEST_F(EditBtnEditors, EditLimitAndAdvanceOnEnter)
{
    g().SetMaxEditLength(4);
    open(cText, 2);
    key(Qt::Key_End);
    type("defg");
    EXPECT_EQ(edit().text(), QStringLiteral("abcd"));
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cText, 2), QStringLiteral("abcd"));
    g().SetMaxEditLength(0);

    g().Navigation.AdvanceOnEnter = true;
    open(cUnit, 2);
    key(Qt::Key_End);
    type("1");
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cUnit, 2), QStringLiteral("51mm"));
    EXPECT_EQ(current(), QPoint(cIntUnit, 2));
    ASSERT_EQ(shown(), &unit());
    EXPECT_EQ(unit().text(), QStringLiteral("7"));
    EXPECT_EQ(unit().UnitID(), QStringLiteral("kg"));
}

// The grid's colour tones paint the buttons of both editors: the fill and border colours, the
// down colour while pressed; before any tones the style draws them.
TEST_F(EditBtnEditors, ColourTonesPaintTheButtons)
{
    controls::TColorTones tones;
    tones.Background = {0x2050A0, 0x0000E0, 0x000000};  // 0x00BBGGRR
    tones.Hover.BrushColor = 0x10C010;
    tones.Selected = {0xC03080, platform::clNone, 0xFFFFFF};
    tones.Foreground.BrushColor = 0xE0E0E0;
    const QRgb fill = platform::ToQColor(tones.Background.BrushColor).rgb();
    const QRgb border = platform::ToQColor(tones.Background.BorderColor).rgb();
    const QRgb down = platform::ToQColor(tones.Selected.BrushColor).rgb();
    auto pixel = [](QWidget* w, QPoint p) { return w->grab().toImage().pixel(p); };

    open(cText, 2);
    QWidget* button = edit().Button()->SpeedButton();
    EXPECT_NE(pixel(button, {2, 2}), fill);
    g().SetColorTones(tones);  // while the editor is open
    EXPECT_EQ(pixel(button, {2, 2}), fill);
    EXPECT_EQ(pixel(button, {0, 0}), border);
    QTest::mousePress(button, Qt::LeftButton, {}, {3, 3});
    EXPECT_EQ(pixel(button, {2, 2}), down);
    QTest::mouseRelease(button, Qt::LeftButton, {}, {3, 3});
    EXPECT_EQ(pixel(button, {2, 2}), fill);
    key(Qt::Key_Escape);

    open(cUnit, 2);
    EXPECT_EQ(pixel(unit().Button()->SpeedButton(), {2, 2}), fill);
    key(Qt::Key_Escape);
}

}  // namespace
