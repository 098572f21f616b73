// Keyboard, mouse, wheel and hints of a column grid shaped like the set-up tables: real key and
// mouse events on a shown grid.
#include <gtest/gtest.h>

#include <set>

#include <QApplication>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>
#include <QHelpEvent>
#include <QWheelEvent>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>

#include "grid/editing/GridClipboard.h"
#include "grid/editing/InplaceEdit.h"
#include "platform/TCanvas.h"
#include "support/FakeClock.h"
#include "support/ScreenView.h"
#include "support/ScriptedMessages.h"

#include "grid/core/ExtColumnGrid.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "grid/editing/GridRichText.h"

#include "InputSuite.h"

using namespace grid;
using namespace grid::editing;

namespace {

// Columns: 0 row number (fixed), 1 text, 2 read-only text, 3 data check box, 4 read-only check box,
// 5 text; rows 1 to 6 hold data.
struct GridInput : WithGridInput {
    std::unique_ptr<TExtColumnGrid> grid;
    TExtColumnGrid& g() { return *grid; }
    std::vector<QString> keyPresses;
    std::vector<int> keyDowns;
    std::vector<std::string> clicks;

    void SetUp() override
    {
        grid = std::make_unique<TExtColumnGrid>();
        grid->SetLayers(InputLayers());
        g().SetColCount(6);
        g().SetRowCount(7);
        g().Options &= ~goEditing;
        const struct {
            const char* Header;
            TEditorType Editor;
            bool ReadOnly;
        } columns[] = {{"N", edNormal, false},         {"Topic", edNormal, false},     {"Fixed", edNormal, true},
                       {"Hex", edDataCheckBox, false}, {"Lock", edDataCheckBox, true}, {"Note", edNormal, false}};
        for (int c = 0; c < 6; ++c) {
            TGridColumnItem* item = g().Columns()[c];
            item->SetEditor(columns[c].Editor);
            item->ReadOnly = columns[c].ReadOnly;
            item->SetWidth(70);
            item->SetHeader(QString::fromLatin1(columns[c].Header));
        }
        for (int r = 1; r < 7; ++r) {
            g().SetCells(0, r, QString::number(r));
            g().SetCells(1, r, QStringLiteral("t%1").arg(r));
            g().SetCells(2, r, QStringLiteral("ro%1").arg(r));
            g().SetCells(3, r, QStringLiteral("N"));
            g().SetCells(4, r, QStringLiteral("N"));
        }
        g().resize(480, 220);
        g().OnKeyPress = [this](QChar& k) { keyPresses.push_back(QString(k)); };
        g().OnKeyDown = [this](int& k, platform::TShiftState) { keyDowns.push_back(k); };
        g().OnClickCell = [this](TExtStringGrid*, int r, int c) {
            clicks.push_back("click " + std::to_string(c) + "," + std::to_string(r));
        };
        g().OnDblClickCell = [this](TExtStringGrid*, int r, int c) {
            clicks.push_back("dbl " + std::to_string(c) + "," + std::to_string(r));
        };
        g().OnCheckBoxClick = [this](TExtStringGrid*, int c, int r, bool s) {
            clicks.push_back("check " + std::to_string(c) + "," + std::to_string(r) + (s ? " on" : " off"));
        };
        g().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g()));
        g().SetFocus();
    }

    TGridEditController& controller() { return *EditController(g()); }
    TGridInputHandler& input() { return dynamic_cast<TGridInputHandler&>(*controller().Input()); }
    QWidget* client() { return g().viewport(); }
    QPoint centre(int c, int r)
    {
        const TRect rc = g().CellRect(c, r);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
    void select(int c, int r) { QTest::mouseClick(client(), Qt::LeftButton, {}, centre(c, r)); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(&g(), k, m); }
    void type(char ch) { QTest::keyClick(&g(), ch); }
    void wheel(int delta)
    {
        const QPoint at = centre(1, 2);
        QWheelEvent e(at, client()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(client(), &e);
    }
    QPoint current() { return {g().Col(), g().Row()}; }
};

// Selecting a cell of an editable column switches editing on; a typed letter then opens the editor,
// while on a read-only column the letter only reaches OnKeyPress.
TEST_F(GridInput, TypingStartsEditingOnlyOnEditableCells)
{
    select(2, 2);
    keyPresses.clear();
    type('x');
    EXPECT_FALSE(controller().EditMode());
    EXPECT_EQ(keyPresses, std::vector<QString>{QStringLiteral("x")});
    EXPECT_EQ(g().Cells(2, 2), QStringLiteral("ro2"));

    select(1, 2);
    keyPresses.clear();
    type('q');
    EXPECT_TRUE(controller().EditMode());
    EXPECT_EQ(keyPresses, std::vector<QString>{QStringLiteral("q")});
}

// A key the application vetoes in OnKeyPress opens no editor and types nothing; with range
// selection and editing a typed key opens the editor even while editing is off.
TEST_F(GridInput, VetoedKeyOpensNoEditor)
{
    for (bool rangeEdit : {false, true}) {
        SCOPED_TRACE(rangeEdit);
        g().MouseActions.RangeSelectAndEdit = rangeEdit;
        g().OnKeyPress = [](QChar& k) { k = QChar(); };
        g().MoveColRow(1, 3);
        controller().Select();
        if (rangeEdit)
            g().Options &= ~goEditing;
        type('z');
        EXPECT_FALSE(controller().EditMode());
        EXPECT_EQ(g().Cells(1, 3), QStringLiteral("t3"));
    }
    g().OnKeyPress = nullptr;
    type('z');
    EXPECT_TRUE(controller().EditMode());
    EXPECT_TRUE(g().Options & goEditing);
}

// Enter on a read-only cell reaches OnKeyDown and OnKeyPress with 13 and does nothing else; on an
// editable cell it opens the editor; F2 opens it too.
TEST_F(GridInput, EnterAndF2)
{
    select(2, 1);
    key(Qt::Key_Return);
    EXPECT_FALSE(controller().EditMode());
    EXPECT_EQ(keyDowns, std::vector<int>{13});
    EXPECT_EQ(keyPresses, std::vector<QString>{QString(QChar(13))});

    select(1, 1);
    key(Qt::Key_Return);
    EXPECT_TRUE(controller().EditMode());
    controller().HideInplaceEdit();

    select(5, 4);
    key(Qt::Key_F2);
    EXPECT_TRUE(controller().EditMode());
}

// Space toggles a data check box of an editable column between "N" and "Y" and reports the real
// column; on a read-only column only CheckAlwaysActive lets it toggle.
TEST_F(GridInput, SpaceTogglesDataCheckBoxes)
{
    const struct {
        int Col;
        bool AlwaysActive;
        QString After;
        std::vector<std::string> Events;
    } cases[] = {
        {3, false, "Y", {"check 3,2 on"}},
        {4, false, "N", {}},
        {4, true, "Y", {"check 4,2 on"}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Col);
        g().ControlLook.CheckAlwaysActive = tc.AlwaysActive;
        g().SetCells(tc.Col, 2, QStringLiteral("N"));
        g().MoveColRow(tc.Col, 2);
        controller().Select();  // editing on or off for the cell, as a move by the user does
        clicks.clear();
        key(Qt::Key_Space);
        EXPECT_EQ(g().Cells(tc.Col, 2), tc.After);
        EXPECT_EQ(clicks, tc.Events);
        EXPECT_FALSE(controller().EditMode());
    }
}

// With columns hidden, keys act on the cell shown: a text cell shown at the index of a check
// box's real column opens its editor, and a check box shown at a text column's index toggles.
TEST_F(GridInput, KeysFollowTheShownCellWhenColumnsAreHidden)
{
    g().HideColumns(1, 2);  // shown: 1 Hex (real 3), 2 Lock (real 4), 3 Note (real 5)
    select(3, 2);
    type('w');
    EXPECT_TRUE(controller().EditMode());
    key(Qt::Key_Return);
    EXPECT_EQ(g().Cells(5, 2), QStringLiteral("w"));

    g().MoveColRow(1, 2);
    controller().Select();
    key(Qt::Key_Space);
    EXPECT_EQ(g().Cells(3, 2), QStringLiteral("Y"));
    EXPECT_FALSE(controller().EditMode());
}

// A press on an editable data check box toggles it and reports it, without OnClickCell; a press on
// a read-only one does nothing at all.
TEST_F(GridInput, ClickOnDataCheckBoxes)
{
    select(3, 3);
    EXPECT_EQ(g().Cells(3, 3), QStringLiteral("Y"));
    EXPECT_EQ(clicks, std::vector<std::string>{"check 3,3 on"});
    EXPECT_EQ(current(), QPoint(3, 3));

    clicks.clear();
    select(4, 3);
    EXPECT_EQ(g().Cells(4, 3), QStringLiteral("N"));
    EXPECT_EQ(clicks, std::vector<std::string>{"click 4,3"});
}

// A press on column 0 reports the row without moving the selection into the fixed column; a press
// on a data cell selects it and reports it; OnCanClickCell can refuse a press entirely.
TEST_F(GridInput, CellClicks)
{
    select(1, 2);
    EXPECT_EQ(clicks, std::vector<std::string>{"click 1,2"});
    clicks.clear();
    select(0, 5);
    EXPECT_EQ(clicks, std::vector<std::string>{"click 0,5"});
    EXPECT_EQ(current(), QPoint(1, 2));

    g().OnCanClickCell = [](TExtStringGrid*, int, int, bool& allow) { allow = false; };
    clicks.clear();
    select(5, 6);
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(current(), QPoint(1, 2));
}

// A press with Shift selects the block from the selection's anchor, which stays, to the pressed
// cell, which becomes current, in either direction; the clipboard keys then copy that block.
// Without range selection, or without Shift, a press only moves the current cell.
TEST_F(GridInput, ShiftClickSelectsABlock)
{
    g().Navigation.AllowClipboardShortCuts = true;
    auto shiftClick = [&](int c, int r) { QTest::mouseClick(client(), Qt::LeftButton, Qt::ShiftModifier, centre(c, r)); };
    select(2, 3);
    shiftClick(5, 5);
    EXPECT_EQ(g().Selection(), (TGridRect{2, 3, 5, 5}));
    EXPECT_EQ(current(), QPoint(5, 5));
    shiftClick(1, 1);
    EXPECT_EQ(g().Selection(), (TGridRect{1, 1, 2, 3}));
    EXPECT_EQ(current(), QPoint(1, 1));
    QTest::keyClick(&g(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("t1\tro1\r\nt2\tro2\r\nt3\tro3\r\n"));

    select(5, 2);
    EXPECT_EQ(g().Selection(), (TGridRect{5, 2, 5, 2}));
    g().Options &= ~goRangeSelect;
    shiftClick(1, 4);
    EXPECT_EQ(g().Selection(), (TGridRect{1, 4, 1, 4}));
    EXPECT_EQ(current(), QPoint(1, 4));
}

// Range selection by mouse: the press anchors, moves with the left button held extend the selection
// to the cell under the mouse (which becomes current), the release ends it.
struct RangeSelect : GridInput {
    void press(QPoint at, Qt::KeyboardModifiers m = {}) { QTest::mousePress(client(), Qt::LeftButton, m, at); }
    void moveHeld(QPoint at)
    {
        QMouseEvent e(QEvent::MouseMove, at, client()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(client(), &e);
    }
    void release(QPoint at) { QTest::mouseRelease(client(), Qt::LeftButton, {}, at); }
    void drag(QPoint from, QPoint to)
    {
        press(from);
        moveHeld((from + to) / 2);
        moveHeld(to);
        release(to);
    }
    TGridRect selection() { return g().Selection(); }
};

TEST_F(RangeSelect, ADragSelectsTheBlockFromThePressedCellInEitherDirection)
{
    const struct {
        QPoint From, To;
        TGridRect Block;
    } cases[] = {
        {{1, 2}, {5, 4}, {1, 2, 5, 4}},
        {{5, 5}, {1, 2}, {1, 2, 5, 5}},
        {{2, 6}, {5, 1}, {2, 1, 5, 6}},
        {{2, 3}, {2, 3}, {2, 3, 2, 3}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.From.x() * 10 + tc.From.y());
        drag(centre(tc.From.x(), tc.From.y()), centre(tc.To.x(), tc.To.y()));
        EXPECT_EQ(selection(), tc.Block);
        EXPECT_EQ(current(), tc.To);
        EXPECT_FALSE(g().RangeSelecting());
        // Moves after the release select nothing more.
        QTest::mouseMove(client(), centre(1, 1));
        EXPECT_EQ(selection(), tc.Block);
    }
    // Over the fixed column and header the block stops at the first data cell.
    drag(centre(5, 3), centre(0, 0));
    EXPECT_EQ(selection(), (TGridRect{1, 1, 5, 3}));
    // The clipboard keys copy the dragged block.
    g().Navigation.AllowClipboardShortCuts = true;
    drag(centre(1, 2), centre(2, 3));
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("t2\tro2\r\nt3\tro3\r\n"));
}

// Past the bottom edge the grid scrolls one row per move and per timer tick, extending the block;
// back over the cells it stops; over the header it scrolls back up.
TEST_F(RangeSelect, ADragPastTheEdgeScrollsAndExtends)
{
    FakeClock clock;
    g().SetRowCount(40);
    select(1, 1);
    ASSERT_EQ(g().TopRow(), 1);
    const int shown = g().VisibleRowCount();
    press(centre(2, 2));
    const QPoint below(centre(3, 2).x(), client()->height() + 15);
    moveHeld(below);
    EXPECT_EQ(g().TopRow(), 2);
    EXPECT_EQ(current(), QPoint(3, 1 + shown));
    EXPECT_EQ(selection(), (TGridRect{2, 2, 3, 1 + shown}));
    clock.Advance(TObjStringGrid::RangeScrollInterval);
    EXPECT_EQ(g().TopRow(), 3);
    clock.Advance(3 * TObjStringGrid::RangeScrollInterval);
    EXPECT_EQ(g().TopRow(), 6);
    EXPECT_EQ(selection(), (TGridRect{2, 2, 3, 5 + shown}));
    // Back over the cells: no more scrolling.
    moveHeld(centre(3, 8));
    clock.Advance(5 * TObjStringGrid::RangeScrollInterval);
    EXPECT_EQ(g().TopRow(), 6);
    EXPECT_EQ(selection(), (TGridRect{2, 2, 3, 8}));
    // Over the header: up one row per tick.
    moveHeld(QPoint(centre(3, 0).x(), 2));
    EXPECT_EQ(g().TopRow(), 5);
    clock.Advance(2 * TObjStringGrid::RangeScrollInterval);
    EXPECT_EQ(g().TopRow(), 3);
    EXPECT_EQ(selection(), (TGridRect{2, 2, 3, 3}));
    release(QPoint(centre(3, 0).x(), 2));
    clock.Advance(5 * TObjStringGrid::RangeScrollInterval);
    EXPECT_EQ(g().TopRow(), 3) << "the release stops the scrolling";
    EXPECT_EQ(selection(), (TGridRect{2, 2, 3, 3}));
    // A release that never comes because another window took the focus: the scrolling stops too.
    press(centre(2, 4));
    moveHeld(below);
    const int top = g().TopRow();
    QLineEdit other;
    other.show();
    other.activateWindow();
    other.setFocus();
    QApplication::processEvents();
    ASSERT_FALSE(g().hasFocus());
    clock.Advance(5 * TObjStringGrid::RangeScrollInterval);
    EXPECT_EQ(g().TopRow(), top);
    EXPECT_FALSE(g().RangeSelecting());
}

// Shift with the movement keys extends the selection from its anchor to the moving current cell;
// a key without Shift collapses it to the current cell.
TEST_F(RangeSelect, ShiftKeysExtendFromTheAnchor)
{
    using K = std::pair<Qt::Key, Qt::KeyboardModifiers>;
    const Qt::KeyboardModifiers sh = Qt::ShiftModifier, ctrlSh = Qt::ShiftModifier | Qt::ControlModifier;
    const struct {
        const char* Name;
        QPoint Start;
        std::vector<K> Keys;
        TGridRect Block;
        QPoint Current;
    } cases[] = {
        {"down twice", {2, 2}, {{Qt::Key_Down, sh}, {Qt::Key_Down, sh}}, {2, 2, 2, 4}, {2, 4}},
        {"right, right, down", {2, 2}, {{Qt::Key_Right, sh}, {Qt::Key_Right, sh}, {Qt::Key_Down, sh}}, {2, 2, 4, 3}, {4, 3}},
        {"up and left", {4, 4}, {{Qt::Key_Up, sh}, {Qt::Key_Left, sh}}, {3, 3, 4, 4}, {3, 3}},
        {"back over the anchor", {2, 3}, {{Qt::Key_Down, sh}, {Qt::Key_Up, sh}, {Qt::Key_Up, sh}}, {2, 2, 2, 3}, {2, 2}},
        {"stops at the edge", {5, 5}, {{Qt::Key_Right, sh}, {Qt::Key_Down, sh}, {Qt::Key_Down, sh}}, {5, 5, 5, 6}, {5, 6}},
        {"page down", {1, 2}, {{Qt::Key_PageDown, sh}}, {1, 2, 1, 6}, {1, 6}},
        {"page up", {3, 5}, {{Qt::Key_PageUp, sh}}, {3, 1, 3, 5}, {3, 1}},
        {"ctrl+end", {2, 2}, {{Qt::Key_End, ctrlSh}}, {2, 2, 5, 6}, {5, 6}},
        {"ctrl+home", {3, 4}, {{Qt::Key_Home, ctrlSh}}, {1, 1, 3, 4}, {1, 1}},
        {"home: from the current cell to the first column", {3, 4}, {{Qt::Key_Home, sh}}, {1, 4, 3, 4}, {3, 4}},
        {"end: from the current cell to the last column", {3, 4}, {{Qt::Key_End, sh}}, {3, 4, 5, 4}, {3, 4}},
        {"a plain key collapses", {2, 2}, {{Qt::Key_Down, sh}, {Qt::Key_Right, sh}, {Qt::Key_Down, {}}}, {3, 4, 3, 4}, {3, 4}},
        {"a new anchor after the collapse", {2, 2}, {{Qt::Key_Down, sh}, {Qt::Key_Left, {}}, {Qt::Key_Down, sh}}, {1, 3, 1, 4}, {1, 4}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        select(tc.Start.x(), tc.Start.y());
        for (const auto& [k, m] : tc.Keys)
            key(k, m);
        EXPECT_EQ(selection(), tc.Block);
        EXPECT_EQ(current(), tc.Current);
    }
    // A press with Shift goes on from the same anchor, and so do the keys after it.
    select(2, 2);
    key(Qt::Key_Down, sh);
    press(centre(4, 5), Qt::ShiftModifier);
    release(centre(4, 5));
    EXPECT_EQ(selection(), (TGridRect{2, 2, 4, 5}));
    key(Qt::Key_Right, sh);
    EXPECT_EQ(selection(), (TGridRect{2, 2, 5, 5}));
    EXPECT_EQ(current(), QPoint(5, 5));
}

// A row-select grid extends whole rows, by keys and by mouse; Home and End go to the first and last
// row.
TEST_F(RangeSelect, ARowSelectGridExtendsWholeRows)
{
    g().Options |= goRowSelect;
    select(2, 2);
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(selection(), (TGridRect{1, 2, 5, 4}));
    key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(selection(), (TGridRect{1, 2, 5, 6}));
    key(Qt::Key_Home);
    EXPECT_EQ(g().Row(), 1);
    EXPECT_EQ(selection().Top, 1);
    EXPECT_EQ(selection().Bottom, 1);
    drag(centre(2, 5), centre(1, 3));
    EXPECT_EQ(selection(), (TGridRect{1, 3, 5, 5}));
}

// Without goRangeSelect nothing makes a range: Shift keys and drags only move the current cell.
TEST_F(RangeSelect, WithoutRangeSelectOneCellStaysSelected)
{
    g().Options &= ~goRangeSelect;
    select(2, 2);
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(selection(), (TGridRect{3, 3, 3, 3}));
    drag(centre(1, 2), centre(5, 5));
    EXPECT_EQ(selection(), (TGridRect{1, 2, 1, 2}));
    EXPECT_EQ(current(), QPoint(1, 2));
}

// A press that the grid's own layer takes (a check box toggled, an editor opened on the current
// cell, a column border sized) selects no range when the mouse moves on with the button held.
TEST_F(RangeSelect, PressesTheUpperLayerTakesSelectNoRange)
{
    // Data check box of an editable column: toggled, no range.
    select(1, 2);
    drag(centre(3, 3), centre(5, 5));
    EXPECT_EQ(g().Cells(3, 3), QStringLiteral("Y"));
    EXPECT_EQ(selection(), (TGridRect{3, 3, 3, 3}));
    // A second press on the current editable cell opens its editor; dragging on selects nothing.
    select(1, 2);
    ASSERT_TRUE(g().Options & goEditing);
    press(centre(1, 2));
    ASSERT_TRUE(controller().EditMode());
    moveHeld(centre(1, 4));
    release(centre(1, 4));
    EXPECT_EQ(selection(), (TGridRect{1, 2, 1, 2}));
    EXPECT_TRUE(controller().EditMode());
    key(Qt::Key_Escape);
    // Sizing a column from the header border.
    g().Options |= goColSizing;
    select(2, 2);
    const TRect header = g().CellRect(1, 0);
    const QPoint border(header.Right - 1, (header.Top + header.Bottom) / 2);
    const int width = g().ColWidths(1);
    drag(border, border + QPoint(30, 60));
    EXPECT_EQ(g().ColWidths(1), width + 30);
    EXPECT_EQ(selection(), (TGridRect{2, 2, 2, 2}));
}

// What the user sees after a drag and after Shift+arrows: the block in the selection colour,
// repainted through the grid's own invalidations, the cells around it not.
TEST_F(RangeSelect, TheSelectedBlockIsRepainted)
{
    g().SelectionColor = platform::clLime;
    testsupport::ScreenView screen(&g());
    auto shows = [&](int c, int r) {
        const TRect rc = g().CellRect(c, r);
        return (screen.Pixel(QPoint(rc.Right - 6, rc.Bottom - 6), client()) & 0xFFFFFF) == 0x00FF00;
    };
    auto check = [&](const TGridRect& block) {
        for (int r = 1; r < g().RowCount(); ++r)
            for (int c = 1; c < g().ColCount(); ++c) {
                SCOPED_TRACE(c * 10 + r);
                const bool in = c >= block.Left && c <= block.Right && r >= block.Top && r <= block.Bottom;
                if (c != g().Col() || r != g().Row())
                    EXPECT_EQ(shows(c, r), in);
            }
    };
    select(2, 2);
    screen.Settle();
    press(centre(2, 2));
    moveHeld(centre(5, 4));
    screen.Settle();
    check({2, 2, 5, 4});
    moveHeld(centre(1, 3));
    release(centre(1, 3));
    check({1, 2, 2, 3});
    select(5, 5);
    screen.Key(Qt::Key_Up, Qt::ShiftModifier);
    screen.Key(Qt::Key_Left, Qt::ShiftModifier);
    check({4, 4, 5, 5});
    screen.Key(Qt::Key_Down);
    check({4, 5, 4, 5});
}

// A second press on the current cell opens its editor; a double click reports the cell and opens
// the editor on an editable one.
TEST_F(GridInput, SecondPressAndDoubleClickEdit)
{
    select(1, 4);
    EXPECT_FALSE(controller().EditMode());
    select(1, 4);
    EXPECT_TRUE(controller().EditMode());
    controller().HideInplaceEdit();

    // A double click on a read-only cell is only reported.
    QTest::mouseDClick(client(), Qt::LeftButton, {}, centre(2, 5));
    EXPECT_FALSE(controller().EditMode());
    clicks.clear();
    QTest::mouseDClick(client(), Qt::LeftButton, {}, centre(5, 2));
    EXPECT_NE(std::find(clicks.begin(), clicks.end(), "dbl 5,2"), clicks.end());
    EXPECT_TRUE(controller().EditMode());
}

// On the header, a double click on a column border auto-sizes the column left of it and reports
// nothing; in the middle of a header cell it is reported with row 0.
TEST_F(GridInput, HeaderDoubleClicks)
{
    g().Options |= goColSizing;
    g().SetCells(2, 3, QStringLiteral("a much longer text than the column shows"));
    const TRect header2 = g().CellRect(2, 0);
    QTest::mouseDClick(client(), Qt::LeftButton, {}, QPoint(header2.Right - 1, (header2.Top + header2.Bottom) / 2));
    EXPECT_GT(g().ColWidths(2), 70);
    EXPECT_EQ(std::find(clicks.begin(), clicks.end(), "dbl 2,0"), clicks.end());

    clicks.clear();
    QTest::mouseDClick(client(), Qt::LeftButton, {}, centre(1, 0));
    EXPECT_NE(std::find(clicks.begin(), clicks.end(), "dbl 1,0"), clicks.end());
    EXPECT_EQ(g().ColWidths(1), 70);
}

// Home and End with first/last-cell action; OnKeyDown sees the key.
TEST_F(GridInput, HomeEndFirstLastCell)
{
    g().Navigation.HomeEndKey = heFirstLastCell;
    select(2, 3);
    keyDowns.clear();
    key(Qt::Key_End);
    EXPECT_EQ(current(), QPoint(5, 6));
    key(Qt::Key_Home);
    EXPECT_EQ(current(), QPoint(1, 1));
    EXPECT_EQ(keyDowns, (std::vector<int>{35, 36}));
}

// Arrow keys move the current cell, stop at the edges by default and wrap with the snake and loop
// settings.
TEST_F(GridInput, ArrowKeysAndWrapping)
{
    const struct {
        TCursorAdvance Advance;
        QPoint From;
        Qt::Key Key;
        QPoint To;
    } cases[] = {
        {caDefault, {1, 1}, Qt::Key_Down, {1, 2}}, {caDefault, {5, 2}, Qt::Key_Right, {5, 2}},
        {caDefault, {1, 1}, Qt::Key_Up, {1, 1}},   {caSnake, {5, 2}, Qt::Key_Right, {1, 3}},
        {caSnake, {5, 6}, Qt::Key_Right, {1, 6}},  {caLoop, {1, 4}, Qt::Key_Left, {5, 4}},
        {caLoop, {2, 6}, Qt::Key_Down, {2, 1}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(testing::Message() << tc.From.x() << "," << tc.From.y() << " key " << tc.Key);
        g().Navigation.CursorAdvance = tc.Advance;
        g().MoveColRow(tc.From.x(), tc.From.y());
        key(tc.Key);
        EXPECT_EQ(current(), tc.To);
    }
}

// With the search footer shown, keys stop at the last row and keep it above the footer, even where
// the cursor would otherwise wrap round the table.
TEST_F(GridInput, KeysStopAboveTheSearchFooter)
{
    g().SetRowCount(40);
    g().SearchFooter.Visible = true;
    g().Navigation.CursorAdvance = caLoop;
    const struct {
        QPoint From;
        Qt::Key Key;
        QPoint To;
    } cases[] = {{{2, 39}, Qt::Key_Down, {2, 39}}, {{5, 39}, Qt::Key_Right, {5, 39}}, {{1, 39}, Qt::Key_Left, {1, 39}},
                 {{2, 38}, Qt::Key_Down, {2, 39}}, {{3, 39}, Qt::Key_Left, {2, 39}}};
    for (const auto& tc : cases) {
        SCOPED_TRACE(testing::Message() << tc.From.x() << "," << tc.From.y() << " key " << tc.Key);
        g().MoveColRow(tc.From.x(), tc.From.y());
        keyDowns.clear();
        key(tc.Key);
        EXPECT_EQ(current(), tc.To);
        EXPECT_EQ(keyDowns.size(), 1u);
        EXPECT_TRUE(g().LastRowAboveSearchFooter());
    }
}

// With row moving, Ctrl+Down and Ctrl+Up carry the current row, never past the table's ends.
TEST_F(GridInput, CtrlArrowsMoveRows)
{
    g().Navigation.CursorMoveRows = true;
    select(1, 2);
    QTest::keyClick(&g(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(g().Cells(1, 3), QStringLiteral("t2"));
    EXPECT_EQ(g().Cells(1, 2), QStringLiteral("t3"));
    EXPECT_EQ(current(), QPoint(1, 3));
    QTest::keyClick(&g(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(g().Cells(1, 2), QStringLiteral("t2"));

    const struct {
        int Row;
        Qt::Key Key;
    } ends[] = {{1, Qt::Key_Up}, {6, Qt::Key_Down}};
    for (const auto& tc : ends) {
        SCOPED_TRACE(tc.Row);
        g().MoveColRow(1, tc.Row);
        QTest::keyClick(&g(), tc.Key, Qt::ControlModifier);
        for (int r = 1; r < 7; ++r)
            EXPECT_EQ(g().Cells(1, r), QStringLiteral("t%1").arg(r));
        EXPECT_EQ(current(), QPoint(1, tc.Row));
    }
}

// Arrows jump over columns that count as fixed; without that setting the move is refused, as a
// fixed cell never becomes current.
TEST_F(GridInput, ArrowsSkipFixedColumns)
{
    g().Columns()[2]->SetFixed(true);
    g().Columns()[3]->SetFixed(true);
    g().MoveColRow(1, 2);
    key(Qt::Key_Right);
    EXPECT_EQ(current(), QPoint(4, 2));
    key(Qt::Key_Left);
    EXPECT_EQ(current(), QPoint(1, 2));
    g().Navigation.SkipFixedCells = false;
    key(Qt::Key_Right);
    EXPECT_EQ(current(), QPoint(1, 2));
}

// With AlwaysEdit an arrow key opens the editor on the cell it arrives at, not on a read-only one.
TEST_F(GridInput, AlwaysEditOpensTheEditorAfterArrows)
{
    g().Navigation.AlwaysEdit = true;
    g().MoveColRow(1, 2);
    key(Qt::Key_Down);
    EXPECT_EQ(current(), QPoint(1, 3));
    EXPECT_TRUE(controller().EditMode());
    controller().HideInplaceEdit();
    key(Qt::Key_Right);
    EXPECT_EQ(current(), QPoint(2, 3));
    EXPECT_FALSE(controller().EditMode());
}

// With goTabs, Tab moves inside the grid and keeps the focus there; without it, it leaves.
TEST_F(GridInput, TabStaysInTheGridWithTabs)
{
    QWidget box;
    auto* other = new QWidget(&box);
    other->setFocusPolicy(Qt::StrongFocus);
    g().setParent(&box);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    g().Options |= goTabs;
    g().MoveColRow(1, 2);
    g().SetFocus();
    ASSERT_TRUE(g().hasFocus());
    key(Qt::Key_Tab);
    EXPECT_GT(g().Col(), 1);
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == &g() || g().isAncestorOf(focus));

    controller().HideInplaceEdit();
    g().Options &= ~goTabs;
    g().SetFocus();
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), other);
    g().setParent(nullptr);
}

// Without clipboard shortcuts Ctrl+C, Ctrl+V and Ctrl+X neither type into the cell nor edit it.
TEST_F(GridInput, ClipboardKeysTypeNothing)
{
    select(1, 2);
    for (char ch : {'c', 'v', 'x'})
        QTest::keyClick(&g(), ch, Qt::ControlModifier);
    EXPECT_FALSE(controller().EditMode());
    EXPECT_EQ(g().Cells(1, 2), QStringLiteral("t2"));
}

// Delete removes the current row only when allowed and the application agrees.
TEST_F(GridInput, DeleteRowByKey)
{
    select(1, 3);
    key(Qt::Key_Delete);
    EXPECT_EQ(g().Cells(1, 3), QStringLiteral("t3"));  // not allowed

    g().Navigation.AllowDeleteRow = true;
    g().OnCanDeleteRow = [](TExtStringGrid*, int, bool& allow) { allow = false; };
    key(Qt::Key_Delete);
    EXPECT_EQ(g().RowCount(), 7);
    EXPECT_EQ(g().Cells(1, 3), QStringLiteral("t3"));

    std::vector<int> asked;
    g().OnCanDeleteRow = [&](TExtStringGrid*, int r, bool&) { asked.push_back(r); };
    key(Qt::Key_Delete);
    EXPECT_EQ(asked, std::vector<int>{3});
    EXPECT_EQ(g().RowCount(), 6);
    EXPECT_EQ(g().Cells(1, 3), QStringLiteral("t4"));
}

// Insert adds an empty row before or after the current one when allowed, and the application
// can refuse it.
TEST_F(GridInput, InsertRowByKey)
{
    select(1, 3);
    key(Qt::Key_Insert);
    EXPECT_EQ(g().RowCount(), 7);  // not allowed

    g().Navigation.AllowInsertRow = true;
    g().OnCanInsertRow = [](TExtStringGrid*, int, bool& allow) { allow = false; };
    key(Qt::Key_Insert);
    EXPECT_EQ(g().RowCount(), 7);

    std::vector<int> inserted;
    g().OnCanInsertRow = nullptr;
    g().OnAutoInsertRow = [&](TExtStringGrid*, int r) { inserted.push_back(r); };
    key(Qt::Key_Insert);
    EXPECT_EQ(g().RowCount(), 8);
    EXPECT_EQ(g().Cells(1, 3), QString());
    EXPECT_EQ(g().Cells(1, 4), QStringLiteral("t3"));

    g().Navigation.InsertPosition = pInsertAfter;
    g().MoveColRow(1, 4);
    key(Qt::Key_Insert);
    EXPECT_EQ(g().Cells(1, 4), QStringLiteral("t3"));
    EXPECT_EQ(g().Cells(1, 5), QString());
    EXPECT_EQ(inserted, (std::vector<int>{3, 5}));
    EXPECT_EQ(current(), QPoint(1, 5));
}

// A wheel notch towards the user moves the current row down by the lines per notch, never past the
// last data row nor above the first; with the wheel off nothing moves.
TEST_F(GridInput, WheelMovesTheSelection)
{
    select(1, 1);
    wheel(-120);
    EXPECT_EQ(current(), QPoint(1, 4));
    wheel(-240);
    EXPECT_EQ(current(), QPoint(1, 6));
    wheel(360);
    EXPECT_EQ(current(), QPoint(1, 1));

    g().EnableWheel = false;
    wheel(-120);
    EXPECT_EQ(current(), QPoint(1, 1));

    // Scrolling instead moves the top row and leaves the current cell.
    g().EnableWheel = true;
    g().MouseActions.SetWheelAction(waScroll);
    g().resize(480, 100);
    ASSERT_GT(g().MaxTopRow(), 1);
    wheel(-120);
    EXPECT_EQ(g().TopRow(), std::min(4, g().MaxTopRow()));
    EXPECT_EQ(current(), QPoint(1, 1));
    wheel(120);
    EXPECT_EQ(g().TopRow(), 1);
}

// A middle press starts panning towards the mouse in the allowed directions, with the cursor
// showing the direction; the next press ends it.
TEST_F(GridInput, MiddleButtonPanning)
{
    const struct {
        TIntelliPan Pan;
        QPoint End;
        Qt::CursorShape Cursor;
    } cases[] = {
        {ipVertical, {1, 6}, Qt::SizeVerCursor},
        {ipHorizontal, {5, 2}, Qt::SizeHorCursor},
        {ipBoth, {5, 6}, Qt::SizeFDiagCursor},
    };
    FakeClock clock;
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Pan);
        g().IntelliPan = tc.Pan;
        select(1, 2);
        QTest::mousePress(client(), Qt::MiddleButton, {}, centre(1, 2));
        EXPECT_TRUE(g().IntelliPanGlyphShown());
        QTest::mouseMove(client(), centre(1, 2) + QPoint(20, 20));
        clock.Advance(30);
        EXPECT_NE(current(), QPoint(1, 2)) << "a step every 10 ms";
        clock.Advance(200);
        EXPECT_EQ(current(), tc.End);
        EXPECT_EQ(g().Cursor().shape(), tc.Cursor);
        QTest::mouseRelease(client(), Qt::MiddleButton, {}, centre(1, 2) + QPoint(20, 20));
        QTest::mouseClick(client(), Qt::MiddleButton, {}, centre(1, 2));
        EXPECT_FALSE(input().Panning());
        EXPECT_FALSE(g().IntelliPanGlyphShown());
        EXPECT_NE(g().Cursor().shape(), tc.Cursor);
        EXPECT_EQ(clock.PendingCount(), 0) << "the steps stop with the panning";
    }

    g().IntelliPan = ipNone;
    QTest::mouseClick(client(), Qt::MiddleButton, {}, centre(1, 2));
    EXPECT_FALSE(input().Panning());
}

// A right press reports the cell; it selects it only with SelectOnRightClick.
TEST_F(GridInput, RightPress)
{
    std::vector<std::string> right;
    g().OnRightClickCell = [&](TExtStringGrid*, int r, int c) {
        right.push_back(std::to_string(c) + "," + std::to_string(r));
    };
    select(1, 1);
    QTest::mouseClick(client(), Qt::RightButton, {}, centre(5, 3));
    EXPECT_EQ(current(), QPoint(1, 1));
    g().MouseActions.SelectOnRightClick = true;
    QTest::mouseClick(client(), Qt::RightButton, {}, centre(5, 3));
    EXPECT_EQ(current(), QPoint(5, 3));
    EXPECT_EQ(right, (std::vector<std::string>{"5,3", "5,3"}));
}

// Cell hints: the text without its HTML, raw with HTMLHint, and OnGridHint with the display column.
TEST_F(GridInput, CellHints)
{
    g().HintShowCells = true;
    g().SetCells(5, 2, QStringLiteral("<b>12</b>"));
    platform::THintInfo info;
    ASSERT_TRUE(input().CellHint(centre(5, 2), info));
    EXPECT_EQ(info.Text, QStringLiteral("12"));
    // It lasts while the mouse stays over the cell.
    const TRect rc = g().CellRect(5, 2);
    EXPECT_EQ(info.Rect, QRect(rc.Left, rc.Top, rc.Width(), rc.Height()));
    // The platform's hint request shows it, as plain text.
    QHelpEvent help(QEvent::ToolTip, centre(5, 2), client()->mapToGlobal(centre(5, 2)));
    QApplication::sendEvent(client(), &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), Qt::convertFromPlainText(QStringLiteral("12"), Qt::WhiteSpaceNoWrap));
    QToolTip::hideText();
    g().HTMLHint = true;
    ASSERT_TRUE(input().CellHint(centre(5, 2), info));
    EXPECT_EQ(info.Text, QStringLiteral("<b>12</b>"));

    // A header cell shows only what the handler supplies; the handler sees display columns.
    g().HideColumn(2);
    std::vector<int> cols;
    g().OnGridHint = [&](TExtStringGrid*, int, int c, QString& hint) {
        cols.push_back(c);
        hint = QStringLiteral("column %1").arg(c);
    };
    ASSERT_TRUE(input().CellHint(centre(3, 0), info));
    EXPECT_EQ(info.Text, QStringLiteral("column 3"));
    EXPECT_EQ(cols, std::vector<int>{3});
    g().OnGridHint = nullptr;
    platform::THintInfo none;
    EXPECT_FALSE(input().CellHint(centre(3, 0), none));
}

TEST_F(GridInput, SelectionQueries)
{
    g().SetSelection({1, 2, 3, 3});
    EXPECT_EQ(input().SelectedCellsCount(), 6);
    EXPECT_EQ(input().GetSelectedCell(0).X, 1);
    EXPECT_EQ(input().GetSelectedCell(0).Y, 2);
    EXPECT_EQ(input().SelectedRowCount(), 2);
    EXPECT_EQ(input().SelectedColCount(), 3);
    EXPECT_EQ(input().GetSelectedRow(1), 3);
    EXPECT_EQ(input().GetSelectedRow(2), -1);
    EXPECT_TRUE(input().SelectedCells(3, 3));
    EXPECT_FALSE(input().SelectedCells(4, 3));
    EXPECT_THROW(input().GetSelectedCell(6), EExtGridError);
}


// A press in column 0 reports the row, and the windows' handler selects the row with it.
TEST_F(GridInput, ColumnZeroClickSelectsTheRow)
{
    g().OnClickCell = [this](TExtStringGrid*, int r, int c) {
        if (c == 0 && r > 0)
            g().SetSelection({1, r, g().ColCount() - 1, r});
    };
    select(1, 1);
    select(0, 4);
    const TGridRect s = g().Selection();
    EXPECT_EQ(QRect(s.Left, s.Top, s.Right - s.Left + 1, s.Bottom - s.Top + 1), QRect(1, 4, 5, 1));
}

// Plain text through the clipboard keys: Ctrl+C copies the selection as tab and line separated
// text, Ctrl+X copies and empties the cells that may be edited, Ctrl+V pastes from the current
// cell and leaves fixed and read-only cells alone.
TEST_F(GridInput, ClipboardKeysCopyCutAndPastePlainText)
{
    g().Navigation.AllowClipboardShortCuts = true;
    select(1, 2);
    g().SetSelection({1, 2, 2, 3});
    QTest::keyClick(&g(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("t2\tro2\r\nt3\tro3\r\n"));

    QTest::keyClick(&g(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(g().Cells(1, 2), QString());
    EXPECT_EQ(g().Cells(2, 2), QStringLiteral("ro2"));  // read-only: kept
    EXPECT_EQ(g().Cells(1, 3), QString());

    g().MoveColRow(1, 5);
    QGuiApplication::clipboard()->setText(QStringLiteral("a\tb\r\nc\td\r\n"));
    QTest::keyClick(&g(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(g().Cells(1, 5), QStringLiteral("a"));
    EXPECT_EQ(g().Cells(2, 5), QStringLiteral("ro5"));
    EXPECT_EQ(g().Cells(1, 6), QStringLiteral("c"));
    EXPECT_FALSE(controller().EditMode());

    // Pasted values pass the application's validation, which may change them; one refusal
    // leaves every cell as it was.
    std::vector<QString> checked;
    controller().OnCellValidate = [&](TExtStringGrid*, int, int, QString& value, bool& valid) {
        checked.push_back(value);
        valid = value != QStringLiteral("bad");
        value = value.toUpper();
    };
    g().MoveColRow(1, 1);
    QGuiApplication::clipboard()->setText(QStringLiteral("ok\r\nbad\r\n"));
    QTest::keyClick(&g(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(checked, (std::vector<QString>{QStringLiteral("ok"), QStringLiteral("bad")}));
    EXPECT_EQ(g().Cells(1, 1), QStringLiteral("t1"));
    QGuiApplication::clipboard()->setText(QStringLiteral("ok\r\nfine\r\n"));
    QTest::keyClick(&g(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(g().Cells(1, 1), QStringLiteral("OK"));
    EXPECT_EQ(g().Cells(1, 2), QStringLiteral("FINE"));
    // A cut whose emptying the validation refuses copies and empties nothing.
    controller().OnCellValidate = [](TExtStringGrid*, int, int, QString& value, bool& valid) { valid = !value.isEmpty(); };
    g().SetSelection({1, 1, 1, 2});
    QTest::keyClick(&g(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("OK\r\nFINE\r\n"));
    EXPECT_EQ(g().Cells(1, 1), QStringLiteral("OK"));
    EXPECT_EQ(g().Cells(1, 2), QStringLiteral("FINE"));
    controller().OnCellValidate = nullptr;
    g().MoveColRow(1, 5);

    // The application may refuse.
    g().OnClipboardPaste = [](TExtStringGrid*, bool& allow) { allow = false; };
    QGuiApplication::clipboard()->setText(QStringLiteral("zz"));
    QTest::keyClick(&g(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(g().Cells(1, 5), QStringLiteral("a"));
}

// Pasting refuses, with a message and without touching a cell, a block wider or taller than the
// table from the current cell; a clipboard without text pastes nothing and says nothing.
TEST_F(GridInput, PasteRefusals)
{
    g().Navigation.AllowClipboardShortCuts = true;
    const struct {
        QPoint At;
        QString Clip;
        bool Message;
    } cases[] = {
        {{4, 2}, QStringLiteral("a\tb\tc"), true},          // three columns, two left
        {{5, 5}, QStringLiteral("a\r\nb\r\nc\r\n"), true},  // three rows, two left
        {{5, 6}, QStringLiteral("a\r\nb"), true},
        {{4, 5}, QStringLiteral("a\tb\r\nc\td\r\n"), false},  // fits exactly
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Clip.toStdString());
        SetUp();
        g().Navigation.AllowClipboardShortCuts = true;
        g().MoveColRow(tc.At.x(), tc.At.y());
        QGuiApplication::clipboard()->setText(tc.Clip);
        ScriptedMessages messages;
        QTest::keyClick(&g(), Qt::Key_V, Qt::ControlModifier);
        ASSERT_EQ(messages.Shown().size(), tc.Message ? 1u : 0u);
        if (tc.Message) {
            EXPECT_EQ(messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
            EXPECT_TRUE(messages.LastText().contains(QStringLiteral("Nothing was pasted")));
            for (int r = 1; r < 7; ++r)
                EXPECT_EQ(g().Cells(5, r), QString());
            EXPECT_EQ(g().Cells(4, 2), QStringLiteral("N"));
            EXPECT_EQ(g().RowCount(), 7);
        } else {
            EXPECT_EQ(g().Cells(5, 6), QStringLiteral("d"));
        }
    }
    // A picture on the clipboard: nothing.
    auto* data = new QMimeData;
    data->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(data);
    ScriptedMessages messages;
    g().MoveColRow(5, 1);
    QTest::keyClick(&g(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_EQ(g().Cells(5, 1), QString());
}

// The text block reader: tabs and line ends of any kind, one final line end adds no row, quoted
// fields keep tabs, line breaks and doubled quotes.
TEST(GridTextBlock, Parse)
{
    const struct {
        QString Text;
        std::vector<QStringList> Rows;
    } cases[] = {
        {QStringLiteral("a\tb\r\nc\td\r\n"), {{"a", "b"}, {"c", "d"}}},
        {QStringLiteral("a\nb\rc"), {{"a"}, {"b"}, {"c"}}},
        {QStringLiteral("\"x\ty\"\t\"1\r\n2\"\t\"q\"\"q\""), {{"x\ty", "1\r\n2", "q\"q"}}},
        {QStringLiteral("a\t\r\n\r\n"), {{"a", ""}, {""}}},
        {QString(), {}},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Text.toStdString());
        EXPECT_EQ(ParseTextBlock(tc.Text), tc.Rows);
    }
}

// Space on a radio group of an editable cell picks the next item (wrapping); a press picks the
// item under the mouse; both report it.
TEST_F(GridInput, RadioGroups)
{
    QStringList* items = g().CreateRadio(5, 2, 1, 0);  // horizontal
    *items << QStringLiteral("aa") << QStringLiteral("bb") << QStringLiteral("cc");
    std::vector<int> picked;
    input().OnRadioClick = [&](TExtStringGrid*, int c, int r, int idx) {
        EXPECT_EQ(QPoint(c, r), QPoint(5, 2));
        picked.push_back(idx);
    };
    g().MoveColRow(5, 2);
    controller().Select();
    key(Qt::Key_Space);
    key(Qt::Key_Space);
    key(Qt::Key_Space);
    EXPECT_EQ(picked, (std::vector<int>{1, 2, 0}));

    picked.clear();
    const TRect rc = g().CellRect(5, 2);
    const QFontMetrics fm(g().font());
    const int glyph = g().ControlLook.ControlStyle >= 2 ? 16 : g().ControlLook.RadioSize;
    const int second = rc.Left + 2 + fm.horizontalAdvance(QStringLiteral("aa")) + glyph + 3;
    QTest::mouseClick(client(), Qt::LeftButton, {}, QPoint(second, (rc.Top + rc.Bottom) / 2));
    EXPECT_EQ(picked, std::vector<int>{1});
    int idx = -1;
    g().GetRadioIdx(5, 2, idx);
    EXPECT_EQ(idx, 1);
}

// A press on a node's glyph closes and opens the node, asking first; Left and Right do the same
// on a node row.
TEST_F(GridInput, NodesOpenAndClose)
{
    g().AddNode(2, 3);
    std::vector<std::string> events;
    input().OnBeforeContractNode = [&](TExtStringGrid*, int r, int, bool& allow) {
        events.push_back("before contract " + std::to_string(r));
        allow = events.size() > 1;
    };
    input().OnContractNode = [&](TExtStringGrid*, int r, int) { events.push_back("contract " + std::to_string(r)); };
    input().OnExpandNode = [&](TExtStringGrid*, int r, int) { events.push_back("expand " + std::to_string(r)); };
    const TRect rc = g().CellRect(0, 2);
    int glyphX = -1;
    for (int x = rc.Left; x < rc.Right && glyphX < 0; ++x)
        if (g().InNodeGlyph(2, x))
            glyphX = x;
    ASSERT_GE(glyphX, 0);
    const QPoint at(glyphX, (rc.Top + rc.Bottom) / 2);
    QTest::mouseClick(client(), Qt::LeftButton, {}, at);  // refused
    EXPECT_FALSE(g().GetNodeState(2));
    QTest::mouseClick(client(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(g().GetNodeState(2));
    QTest::mouseClick(client(), Qt::LeftButton, {}, at);
    EXPECT_FALSE(g().GetNodeState(2));
    EXPECT_EQ(events, (std::vector<std::string>{"before contract 2", "before contract 2", "contract 2", "expand 2"}));
}

// In a row-select grid Ctrl+Left and Ctrl+Right scroll the columns; without LeftRightRowSelect the
// plain keys do, and OnKeyDown sees them.
TEST_F(GridInput, LeftRightInRowSelectGrids)
{
    g().Options |= goRowSelect;
    g().resize(200, 220);
    ASSERT_GT(g().MaxLeftCol(), g().FixedCols());
    g().MoveColRow(1, 2);
    const int left = g().LeftCol();
    QTest::keyClick(&g(), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(g().LeftCol(), left + 1);
    QTest::keyClick(&g(), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(g().LeftCol(), left);

    g().Navigation.LeftRightRowSelect = false;
    keyDowns.clear();
    key(Qt::Key_Right);
    EXPECT_EQ(g().LeftCol(), left + 1);
    EXPECT_EQ(keyDowns, std::vector<int>{39});
    EXPECT_EQ(g().Row(), 2);
}

// The keypad's decimal key types the locale's separator with ExcelStyleDecimalSeparator; the main
// keyboard's "." stays.
TEST_F(GridInput, KeypadDecimalKey)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    controller().ExcelStyleDecimalSeparator = true;
    select(1, 2);
    QTest::keyClick(&g(), Qt::Key_Period, Qt::KeypadModifier);
    ASSERT_TRUE(controller().EditMode());
    EXPECT_EQ(controller().NormalEdit()->text(), QStringLiteral(","));
    QTest::keyClick(controller().NormalEdit(), Qt::Key_Escape);
    select(1, 3);
    QTest::keyClick(&g(), Qt::Key_Period);
    EXPECT_EQ(controller().NormalEdit()->text(), QStringLiteral("."));
    QLocale::setDefault(saved);
}

// A synchronised grid follows the current row (and column when asked).
TEST_F(GridInput, SyncGridFollows)
{
    TExtStringGrid other;
    other.SetColCount(6);
    other.SetRowCount(7);
    g().SyncGrid.SetGrid(&other);
    g().SyncGrid.SelectionRow = true;
    select(1, 2);
    key(Qt::Key_Down);
    EXPECT_EQ(other.Row(), 3);
    EXPECT_EQ(other.Col(), 1);
    g().SyncGrid.SelectionColumn = true;
    key(Qt::Key_Right);
    EXPECT_EQ(other.Col(), 2);
    g().SyncGrid.SetGrid(nullptr);
}

// A header click asks OnCanSort and reports the column at the release; refused, or with sorting
// off, or after a border double click, nothing is reported.
TEST_F(GridInput, ClickToSortOnRelease)
{
    std::vector<int> sorted;
    bool allow = true;
    input().OnCanSort = [&](TExtStringGrid*, int, bool& doSort) { doSort = allow; };
    input().OnClickSort = [&](TExtStringGrid*, int c) { sorted.push_back(c); };
    select(1, 0);
    EXPECT_TRUE(sorted.empty());  // SortSettings.Show off
    g().SortSettings.Show = true;
    QTest::mousePress(client(), Qt::LeftButton, {}, centre(5, 0));
    EXPECT_TRUE(sorted.empty());
    QTest::mouseRelease(client(), Qt::LeftButton, {}, centre(5, 0));
    EXPECT_EQ(sorted, std::vector<int>{5});
    allow = false;
    select(1, 0);
    EXPECT_EQ(sorted, std::vector<int>{5});
    allow = true;
    select(1, 3);  // not the sort row
    EXPECT_EQ(sorted, std::vector<int>{5});
}

// The release on a check box reports its state with the real column.
TEST_F(GridInput, CheckBoxMouseUp)
{
    std::vector<std::string> ups;
    input().OnCheckBoxMouseUp = [&](TExtStringGrid*, int c, int r, bool s) {
        ups.push_back(std::to_string(c) + "," + std::to_string(r) + (s ? " on" : " off"));
    };
    select(3, 4);
    EXPECT_EQ(ups, std::vector<std::string>{"3,4 on"});
}

// Links: CELL:// jumps to the cell; web and mail links open only after the user agreed; other
// schemes never open; OnAnchorClick can take the click itself.
TEST_F(GridInput, AnchorClicks)
{
    std::vector<QString> opened;
    input().OpenLink = [&](const QString& url) {
        opened.push_back(url);
        return true;
    };
    auto clickLink = [&](const QString& anchor) {
        g().SetCells(5, 3, QStringLiteral("<a href=\"%1\">link</a>").arg(anchor));
        const TRect rc = g().CellRect(5, 3);
        QTest::mouseClick(client(), Qt::LeftButton, {}, QPoint(rc.Left + 6, (rc.Top + rc.Bottom) / 2));
    };
    select(1, 1);
    clickLink(QStringLiteral("cell://r5c2"));
    EXPECT_EQ(current(), QPoint(2, 5));
    clickLink(QStringLiteral("CELL://nonsense"));
    EXPECT_EQ(current(), QPoint(2, 5));
    {
        ScriptedMessages messages;
        messages.QueueAnswer(platform::mrNo);
        messages.QueueAnswer(platform::mrYes);
        clickLink(QStringLiteral("https://example.org/a"));
        EXPECT_TRUE(opened.empty());
        clickLink(QStringLiteral("mailto:someone@example.org"));
        EXPECT_EQ(opened, std::vector<QString>{QStringLiteral("mailto:someone@example.org")});
        ASSERT_EQ(messages.Shown().size(), 2u);
        EXPECT_EQ(messages.Shown()[0].Buttons, platform::TMsgDlgButtons::mbYesNo);
        EXPECT_TRUE(messages.Shown()[0].Text.contains(QStringLiteral("https://example.org/a")));
    }
    ScriptedMessages none;
    clickLink(QStringLiteral("file:///etc/passwd"));
    clickLink(QStringLiteral("javascript:alert(1)"));
    EXPECT_TRUE(none.Shown().empty());
    EXPECT_EQ(opened.size(), 1u);

    std::vector<QString> anchors;
    input().OnAnchorClick = [&](TExtStringGrid*, int, int, const QString& a, bool& autoHandle) {
        anchors.push_back(a);
        autoHandle = false;
    };
    clickLink(QStringLiteral("cell://r1c1"));
    EXPECT_EQ(anchors, std::vector<QString>{QStringLiteral("cell://r1c1")});
    EXPECT_EQ(current(), QPoint(2, 5));
}

// Hints shown by hovering: a header hint from OnGridHint under the cell at the cursor, in the
// grid's hint colour; cell texts over their cell; long hints broken to HintMaxWidth.
TEST_F(GridInput, HintsByHovering)
{
    g().OnGridHint = [](TExtStringGrid*, int r, int c, QString& hint) {
        if (r == 0)
            hint = QStringLiteral("header %1").arg(c);
    };
    g().HintColor = 0x00FFCC;
    const QPoint at = centre(2, 0);
    QTest::mouseMove(client(), at);
    QHelpEvent help(QEvent::ToolTip, at, client()->mapToGlobal(at));
    QApplication::sendEvent(client(), &help);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), Qt::convertFromPlainText(QStringLiteral("header 2"), Qt::WhiteSpaceNoWrap));
    EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase), platform::ToQColor(0x00FFCC));
    QToolTip::hideText();

    const TRect header = g().CellRect(2, 0);
    TCellHint hint = input().PrepareCellHint(at);
    EXPECT_EQ(hint.Pos, QPoint(at.x(), header.Bottom + 6));
    g().HintShowCells = true;
    const TRect cell = g().CellRect(1, 3);
    hint = input().PrepareCellHint(centre(1, 3));
    EXPECT_EQ(hint.Text, QStringLiteral("t3"));
    EXPECT_EQ(hint.Pos.y(), cell.Top);
    g().AddComment(1, 4, QStringLiteral("note"));
    g().HintShowCells = false;
    hint = input().PrepareCellHint(centre(1, 4));
    EXPECT_EQ(hint.Text, QStringLiteral("note"));
    EXPECT_EQ(hint.Pos, QPoint(g().CellRect(1, 4).Right, g().CellRect(1, 4).Top));

    // An anchor hint: the anchor's title (or the anchor), through OnAnchorHint, beside the cursor.
    g().AnchorHint = true;
    g().SetCells(5, 2, QStringLiteral("<a href=\"https://example.org\" title=\"Docs\">doc</a> and <a href=\"x\">y</a>"));
    input().OnAnchorHint = [](TExtStringGrid*, int, int c, QString& anchor) { anchor += QStringLiteral(" (%1)").arg(c); };
    const TRect linkCell = g().CellRect(5, 2);
    const QPoint onLink(linkCell.Left + 5, (linkCell.Top + linkCell.Bottom) / 2);
    hint = input().PrepareCellHint(onLink);
    EXPECT_EQ(hint.Text, QStringLiteral("Docs (5)"));
    EXPECT_EQ(hint.Pos, onLink + QPoint(8, -16));
    EXPECT_EQ(input().LastAnchorHint(), QStringLiteral("Docs (5)"));

    g().ControlLook.HintMaxWidth = 60;
    g().OnGridHint = [](TExtStringGrid*, int, int, QString& hint) {
        hint = QStringLiteral("one two three four five six seven");
    };
    hint = input().PrepareCellHint(centre(5, 5));
    EXPECT_GT(hint.Text.count(QLatin1Char('\n')), 1);
    const QFontMetrics fm(g().font());
    for (const QString& line : hint.Text.split(QLatin1Char('\n'))) {
        if (line.contains(QLatin1Char(' '))) {
            EXPECT_LE(fm.horizontalAdvance(line), 60);
        }
    }
}

// Cells picked one by one with Ctrl: counted, listed in order, tested; Ctrl on a picked cell drops
// it; a plain press starts again.
TEST_F(GridInput, DisjunctCellSelection)
{
    g().MouseActions.SetDisjunctCellSelect(true);
    select(1, 1);
    QTest::mouseClick(client(), Qt::LeftButton, Qt::ControlModifier, centre(5, 3));
    QTest::mouseClick(client(), Qt::LeftButton, Qt::ControlModifier, centre(2, 6));
    EXPECT_EQ(input().SelectedCellsCount(), 3);
    EXPECT_EQ(input().GetSelectedCell(1).X, 5);
    EXPECT_EQ(input().GetSelectedCell(1).Y, 3);
    EXPECT_TRUE(input().SelectedCells(2, 6));
    EXPECT_FALSE(input().SelectedCells(2, 5));
    // The grid's painting asks its editing layer the same.
    ASSERT_NE(g().EditLayer(), nullptr);
    EXPECT_TRUE(g().EditLayer()->IsDisjunctCellSelected(2, 6));
    EXPECT_FALSE(g().EditLayer()->IsDisjunctCellSelected(2, 5));
    QTest::mouseClick(client(), Qt::LeftButton, Qt::ControlModifier, centre(5, 3));
    EXPECT_EQ(input().SelectedCellsCount(), 2);
    EXPECT_FALSE(input().SelectedCells(5, 3));
    select(5, 5);
    EXPECT_EQ(input().SelectedCellsCount(), 1);
    EXPECT_TRUE(input().SelectedCells(5, 5));
    input().SetSelectedCells(1, 6, true);
    input().SetSelectedCells(1, 6, true);
    EXPECT_EQ(input().SelectedCellsCount(), 2);
    input().ClearSelectedCells();
    EXPECT_EQ(input().SelectedCellsCount(), 0);
    EXPECT_THROW(input().GetSelectedCell(0), EExtGridError);
}

// Cells picked from the keyboard with editing off: Space picks the current cell alone, Ctrl+Space
// toggles it; Shift with a move swaps the old range's cells for the new range's (the current cell
// left out); Shift alone changes nothing; Space on a range picks the current cell and the range;
// OnSelectCell may refuse a pick.
TEST_F(GridInput, DisjunctCellsFromTheKeyboard)
{
    g().MouseActions.SetDisjunctCellSelect(true);
    g().Options |= goRangeSelect;
    // Read-only cells keep editing off as the current cell moves over them.
    g().Columns()[1]->ReadOnly = true;
    auto picked = [this] {
        std::set<std::pair<int, int>> cells;
        for (int i = 0; i < input().SelectedCellsCount(); ++i)
            cells.insert({input().GetSelectedCell(i).X, input().GetSelectedCell(i).Y});
        return cells;
    };
    using Cells = std::set<std::pair<int, int>>;
    select(1, 2);
    key(Qt::Key_Down);
    key(Qt::Key_Space);
    EXPECT_EQ(picked(), (Cells{{1, 3}}));
    key(Qt::Key_Down);
    key(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(picked(), (Cells{{1, 3}, {1, 4}}));
    key(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(picked(), (Cells{{1, 3}}));
    // Shift with a move: the old range's cells go, the new range's come (the range grows from its
    // anchor to the current cell, which is not picked itself until Space).
    key(Qt::Key_Up);
    key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(g().Row(), 4);
    EXPECT_EQ(g().Selection(), (TGridRect{1, 3, 1, 4}));
    EXPECT_EQ(picked(), (Cells{{1, 3}}));
    key(Qt::Key_Space);
    EXPECT_EQ(picked(), (Cells{{1, 3}, {1, 4}}));
    // Shift alone moves nothing and drops nothing.
    QTest::keyClick(&g(), Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(picked(), (Cells{{1, 3}, {1, 4}}));

    // A range: Space picks the current cell and the rest of the range.
    g().SetSelection(TGridRect{1, 3, 2, 4});
    const Cells range{{1, 3}, {2, 3}, {1, 4}, {2, 4}};
    key(Qt::Key_Space);
    EXPECT_EQ(picked(), range);
    EXPECT_TRUE(g().EditLayer()->IsDisjunctCellSelected(g().Col(), g().Row()));

    key(Qt::Key_Down);
    const int row = g().Row();
    controller().OnSelectCell = [row](TExtStringGrid*, int, int r, bool& can) { can = r != row; };
    key(Qt::Key_Space);
    EXPECT_EQ(picked(), range);
    controller().OnSelectCell = nullptr;

    // In an editable cell editing is on, and Space belongs to the editor.
    g().Columns()[1]->ReadOnly = false;
    select(1, 6);
    ASSERT_TRUE(g().Options & goEditing);
    const Cells before = picked();
    key(Qt::Key_Space);
    EXPECT_EQ(picked(), before);
}

// Releasing a moving key or Insert or Delete empties the incremental search buffer.
TEST_F(GridInput, MovingKeysEmptyTheSearchBuffer)
{
    const struct {
        Qt::Key Key;
        bool Empties;
    } cases[] = {{Qt::Key_Down, true}, {Qt::Key_PageUp, true}, {Qt::Key_End, true}, {Qt::Key_Insert, true},
                 {Qt::Key_Delete, true}, {Qt::Key_F5, false}};
    for (const auto& k : cases) {
        select(1, 2);
        g().IncrementalSearchText = QStringLiteral("ab");
        key(k.Key);
        EXPECT_EQ(g().IncrementalSearchText.isEmpty(), k.Empties) << k.Key;
    }
}

// The grid reads rich text as plain text (balloons, saving) through its editing layer.
TEST_F(GridInput, RichTextReadsAsPlainTextThroughTheLayer)
{
    QTextDocument document;
    document.setHtml(QStringLiteral("<b>Temp</b> 21\u00b0C &lt;ok&gt;"));
    QString plain;
    ASSERT_NE(g().EditLayer(), nullptr);
    ASSERT_TRUE(g().EditLayer()->RichToPlain(DocumentToRtf(document), plain));
    EXPECT_EQ(plain, QStringLiteral("Temp 21\u00b0C <ok>"));
}

// A merged cell at the selection's corner counts with its span; ClearModifiedRows empties the
// modified marks.
TEST_F(GridInput, SelectionCountsWithMergesAndModifiedRows)
{
    ASSERT_TRUE(g().MergeCells(1, 2, 2, 2));
    g().SetSelection({1, 2, 1, 2});
    EXPECT_EQ(input().SelectedColCount(), 2);
    EXPECT_EQ(input().SelectedRowCount(), 2);
    g().SetSelection({5, 4, 5, 5});
    EXPECT_EQ(input().SelectedRowCount(), 2);

    g().SetRowModified(2, true);
    g().SetRowModified(5, true);
    ASSERT_EQ(g().ModifiedRowCount(), 2);
    input().ClearModifiedRows();
    EXPECT_EQ(g().ModifiedRowCount(), 0);
}


// On a node row whose cells are merged, Left closes the node and Right opens it.
TEST_F(GridInput, NodeKeys)
{
    g().AddNode(2, 3);
    ASSERT_TRUE(g().MergeCells(1, 2, 5, 1));
    g().MoveColRow(1, 2);
    key(Qt::Key_Left);
    EXPECT_TRUE(g().GetNodeState(2));
    g().MoveColRow(1, 2);
    key(Qt::Key_Right);
    EXPECT_FALSE(g().GetNodeState(2));
    // A row that is no node: the keys only move.
    g().MoveColRow(1, 5);
    key(Qt::Key_Right);
    EXPECT_EQ(current(), QPoint(2, 5));
}

// An expand button toggles when the press and the release both lie on it.
TEST_F(GridInput, ExpandButtonClick)
{
    g().AddExpand(5, 3, 60);
    std::vector<std::string> events;
    g().OnExpandClick = [&](TExtStringGrid*, int c, int r, bool expanded) {
        events.push_back(std::to_string(c) + "," + std::to_string(r) + (expanded ? " open" : " closed"));
    };
    const TRect er = g().GetExpandRect(5, 3);
    const QPoint on((er.Left + er.Right) / 2, (er.Top + er.Bottom) / 2);
    QTest::mouseClick(client(), Qt::LeftButton, {}, on);
    EXPECT_EQ(events, std::vector<std::string>{"5,3 open"});
    EXPECT_TRUE(g().GetExpandState(5, 3));
    // Released elsewhere: nothing.
    const TRect er2 = g().GetExpandRect(5, 3);
    QTest::mousePress(client(), Qt::LeftButton, {}, QPoint((er2.Left + er2.Right) / 2, (er2.Top + er2.Bottom) / 2));
    QTest::mouseRelease(client(), Qt::LeftButton, {}, centre(1, 1));
    EXPECT_EQ(events.size(), 1u);
    EXPECT_TRUE(g().GetExpandState(5, 3));
}

}  // namespace
