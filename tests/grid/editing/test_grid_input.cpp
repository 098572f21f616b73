// Keyboard, mouse, wheel and hints of a column grid shaped like the set-up tables: real key and
// mouse events on a shown grid.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QToolTip>
#include <QHelpEvent>
#include <QWheelEvent>

#include "grid/core/ExtColumnGrid.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"

using namespace grid;
using namespace grid::editing;

namespace {

// Columns: 0 row number (fixed), 1 text, 2 read-only text, 3 data check box, 4 read-only check box,
// 5 text; rows 1 to 6 hold data.
struct GridInput : ::testing::Test {
    std::unique_ptr<TExtColumnGrid> grid;
    TExtColumnGrid& g() { return *grid; }
    std::vector<QString> keyPresses;
    std::vector<int> keyDowns;
    std::vector<std::string> clicks;

    static void SetUpTestSuite()
    {
        RegisterGridEditing();
        RegisterGridInput();
    }
    static void TearDownTestSuite() { SetGridInputFactory({}); }

    void SetUp() override
    {
        grid = std::make_unique<TExtColumnGrid>();
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
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Pan);
        g().IntelliPan = tc.Pan;
        select(1, 2);
        QTest::mousePress(client(), Qt::MiddleButton, {}, centre(1, 2));
        EXPECT_TRUE(g().IntelliPanGlyphShown());
        QTest::mouseMove(client(), centre(1, 2) + QPoint(20, 20));
        QTest::qWait(200);
        EXPECT_EQ(current(), tc.End);
        EXPECT_EQ(g().Cursor().shape(), tc.Cursor);
        QTest::mouseRelease(client(), Qt::MiddleButton, {}, centre(1, 2) + QPoint(20, 20));
        QTest::mouseClick(client(), Qt::MiddleButton, {}, centre(1, 2));
        EXPECT_FALSE(input().Panning());
        EXPECT_FALSE(g().IntelliPanGlyphShown());
        EXPECT_NE(g().Cursor().shape(), tc.Cursor);
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

}  // namespace
