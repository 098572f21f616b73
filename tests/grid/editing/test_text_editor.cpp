// The text in-place editor in a column grid: real keys and presses on a shown grid.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include "grid/core/ExtColumnGrid.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "grid/editing/InplaceEdit.h"

#include "InputSuite.h"

using namespace grid;
using namespace grid::editing;

namespace {

// Columns: 0 fixed row number, 1 text, 2 number, 3 data check box, 4 text; rows 1 to 4 hold data.
struct TextEditor : WithGridInput {
    QWidget box;  // the grid and one other control that can take the focus
    TExtColumnGrid* grid = nullptr;
    QLineEdit* other = nullptr;
    TExtColumnGrid& g() { return *grid; }

    void SetUp() override
    {
        grid = new TExtColumnGrid;
        grid->SetLayers(InputLayers());
        grid->setParent(&box);
        other = new QLineEdit(&box);
        other->move(0, 240);
        g().SetColCount(5);
        g().SetRowCount(5);
        g().Options &= ~goEditing;
        const TEditorType editors[] = {edNormal, edNormal, edNumeric, edDataCheckBox, edNormal};
        for (int c = 0; c < 5; ++c) {
            g().Columns()[c]->SetEditor(editors[c]);
            g().Columns()[c]->SetWidth(80);
        }
        for (int r = 1; r < 5; ++r) {
            g().SetCells(1, r, QStringLiteral("t%1").arg(r));
            g().SetCells(2, r, QString::number(r * 10));
            g().SetCells(3, r, QStringLiteral("N"));
        }
        g().resize(420, 220);
        box.resize(420, 280);
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
        g().SetFocus();
        QGuiApplication::clipboard()->clear();
    }

    TGridEditController& controller() { return *EditController(g()); }
    TExtInplaceEdit& editor() { return *controller().NormalEdit(); }
    QPoint centre(int c, int r)
    {
        const TRect rc = g().CellRect(c, r);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
    void select(int c, int r) { QTest::mouseClick(g().viewport(), Qt::LeftButton, {}, centre(c, r)); }
    // Opens the editor on a cell by F2, as the user does.
    void open(int c, int r)
    {
        select(c, r);
        QTest::keyClick(&g(), Qt::Key_F2);
        ASSERT_TRUE(controller().EditMode());
        ASSERT_TRUE(editor().hasFocus());
    }
    void keys(const char* text) { QTest::keyClicks(&editor(), QString::fromLatin1(text)); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(QApplication::focusWidget(), k, m); }
};

// Escape gives the cell back the text it had when the edit began, even after typing.
TEST_F(TextEditor, EscapeRestoresTheCell)
{
    open(1, 2);
    keys("changed");
    EXPECT_EQ(g().Cells(1, 2), QStringLiteral("changed"));  // the cell follows the typing
    key(Qt::Key_Escape);
    EXPECT_FALSE(controller().EditMode());
    EXPECT_EQ(g().Cells(1, 2), QStringLiteral("t2"));
    EXPECT_TRUE(g().hasFocus());
}

// The editor shows the text without its mark-up; a text left alone keeps the mark-up, an edited
// one is what the user typed.
TEST_F(TextEditor, ShowsTheTextWithoutMarkup)
{
    g().SetCells(4, 1, QStringLiteral("<b>bold</b> text"));
    open(4, 1);
    EXPECT_EQ(editor().text(), QStringLiteral("bold text"));
    key(Qt::Key_Return);
    EXPECT_FALSE(controller().EditMode());
    EXPECT_EQ(g().Cells(4, 1), QStringLiteral("<b>bold</b> text"));

    QTest::keyClick(&g(), Qt::Key_F2);
    ASSERT_TRUE(controller().EditMode());
    key(Qt::Key_End);
    keys("!");
    key(Qt::Key_Return);
    EXPECT_EQ(g().Cells(4, 1), QStringLiteral("bold text!"));

    editor().EditWithTags = true;
    g().SetCells(4, 2, QStringLiteral("<i>x</i>"));
    open(4, 2);
    EXPECT_EQ(editor().text(), QStringLiteral("<i>x</i>"));
}

// Pasting by Ctrl+V goes through the type filter, the length limit and the final line break rule.
TEST_F(TextEditor, PasteFollowsTheEditorType)
{
    const struct {
        int Col;
        int Limit;
        QString Clip;
        QString After;
    } cases[] = {
        {2, 0, QStringLiteral("123\r\n"), QStringLiteral("123")},  // one final CR LF is dropped
        {2, 0, QStringLiteral("123\n"), QStringLiteral("123")},
        {2, 0, QStringLiteral("12a"), QStringLiteral("")},          // no integer: the text stays
        {2, 0, QStringLiteral("1\r\n2"), QStringLiteral("")},
        {1, 0, QStringLiteral("a\r\nb\r\n"), QStringLiteral("a\r\nb\r\n")},  // a CR LF inside is kept
        {1, 4, QStringLiteral("abcde"), QStringLiteral("")},        // longer than the limit
        {1, 4, QStringLiteral("abcd"), QStringLiteral("abcd")},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Clip.toStdString());
        g().Columns()[tc.Col]->EditLength = tc.Limit;
        g().SetCells(tc.Col, 3, QString());
        open(tc.Col, 3);
        QGuiApplication::clipboard()->setText(tc.Clip);
        key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(editor().text(), tc.After);
        EXPECT_EQ(g().Cells(tc.Col, 3), tc.After);
        key(Qt::Key_Escape);
    }
}

// The paste events see the editor and may refuse or change the value; the value replaces the
// selection, and the after-paste event gets the new text.
TEST_F(TextEditor, PasteEvents)
{
    std::vector<QString> seen;
    editor().OnClipboardPaste = [&](QObject* sender, bool& allow) {
        EXPECT_EQ(sender, &editor());
        allow = seen.empty() ? false : true;
        seen.push_back(QStringLiteral("paste"));
    };
    editor().OnClipboardBeforePasteCell = [&](QObject*, int c, int r, QString& value, bool&) {
        seen.push_back(QStringLiteral("before %1,%2 %3").arg(c).arg(r).arg(value));
        value = value.toUpper();
    };
    editor().OnClipboardAfterPasteCell = [&](QObject*, int, int, const QString& value) {
        seen.push_back(QStringLiteral("after ") + value);
    };
    open(1, 3);  // everything selected
    QGuiApplication::clipboard()->setText(QStringLiteral("new"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor().text(), QStringLiteral("t3"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor().text(), QStringLiteral("NEW"));
    EXPECT_EQ(editor().selectedText(), QStringLiteral("NEW"));
    EXPECT_EQ(seen, (std::vector<QString>{"paste", "paste", "before 1,3 new", "after NEW"}));
}

// Type-ahead completion from the lookup list, in list order; Backspace turns it off for that key;
// with LookupHistory a value left in the editor joins the list.
TEST_F(TextEditor, LookupCompletionAndHistory)
{
    editor().Lookup = true;
    editor().LookupHistory = true;
    editor().LookupItems = QStringList{QStringLiteral("Temperature"), QStringLiteral("Tank level")};
    g().SetCells(4, 1, QString());
    open(4, 1);
    keys("ta");
    EXPECT_EQ(editor().text(), QStringLiteral("tank level"));
    EXPECT_EQ(editor().selectedText(), QStringLiteral("nk level"));
    key(Qt::Key_Backspace);
    EXPECT_EQ(editor().text(), QStringLiteral("ta"));
    keys("x");
    EXPECT_EQ(editor().text(), QStringLiteral("tax"));
    key(Qt::Key_Return);
    EXPECT_EQ(g().Cells(4, 1), QStringLiteral("tax"));
    EXPECT_TRUE(editor().LookupItems.contains(QStringLiteral("tax")));

    editor().LookupCaseSensitive = true;
    g().SetCells(4, 2, QString());
    open(4, 2);
    keys("te");
    EXPECT_EQ(editor().text(), QStringLiteral("te"));
}

// edValidChars takes the character list, and the character set when the list is empty.
TEST_F(TextEditor, ValidCharsFallBackToTheCharacterSet)
{
    g().Columns()[4]->SetEditor(edValidChars);
    controller().ValidChars = QStringLiteral("ab");
    g().SetCells(4, 1, QString());
    open(4, 1);
    keys("abcx");
    EXPECT_EQ(editor().text(), QStringLiteral("ab"));
    key(Qt::Key_Escape);

    controller().ValidChars.clear();
    editor().ValidCharSet.set('x');
    editor().ValidCharSet.set('1');
    open(4, 1);
    keys("ax1b");
    EXPECT_EQ(editor().text(), QStringLiteral("x1"));
}

// Without the grid wanting Tab, Tab leaves the grid for the next control, and losing the focus
// takes the value back; with OnCellValidate the editor takes Tab and validates.
TEST_F(TextEditor, TabOnlyTakenWhenTheGridWantsIt)
{
    open(1, 3);
    keys("moved");
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), other);
    EXPECT_FALSE(controller().EditMode());
    EXPECT_EQ(g().Cells(1, 3), QStringLiteral("moved"));

    std::vector<QString> validated;
    controller().OnCellValidate = [&](TExtStringGrid*, int, int, QString& value, bool&) { validated.push_back(value); };
    g().SetFocus();
    open(1, 2);
    keys("v");
    key(Qt::Key_Tab);
    EXPECT_EQ(validated, std::vector<QString>{QStringLiteral("v")});
    EXPECT_NE(QApplication::focusWidget(), other);
}

// With CursorWalkEditor, Right at the end of the text walks on; a check box next to the cell is
// moved to without opening anything; Shift+Left at the start leaves the editor on its cell.
TEST_F(TextEditor, CursorWalkOutOfTheEditor)
{
    g().Navigation.CursorWalkEditor = true;
    open(2, 2);
    key(Qt::Key_End);
    key(Qt::Key_Right);
    EXPECT_EQ(QPoint(g().Col(), g().Row()), QPoint(3, 2));
    EXPECT_FALSE(controller().EditMode());
    EXPECT_EQ(g().Cells(3, 2), QStringLiteral("N"));

    open(4, 2);
    key(Qt::Key_Home);
    key(Qt::Key_Left);
    EXPECT_EQ(QPoint(g().Col(), g().Row()), QPoint(3, 2));  // the check box on the left

    open(1, 3);
    key(Qt::Key_Home);
    key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(QPoint(g().Col(), g().Row()), QPoint(1, 3));
    EXPECT_FALSE(controller().EditMode());
    EXPECT_TRUE(g().hasFocus());
}

// A press on the current cell opens the editor with the caret under the mouse, not selecting all.
TEST_F(TextEditor, PressPutsTheCaretUnderTheMouse)
{
    g().SetCells(4, 1, QStringLiteral("abcdefghij"));
    select(4, 1);
    const TRect rc = g().CellRect(4, 1);
    QTest::mouseClick(g().viewport(), Qt::LeftButton, {}, QPoint(rc.Left + 4, (rc.Top + rc.Bottom) / 2));
    ASSERT_TRUE(controller().EditMode());
    EXPECT_FALSE(editor().hasSelectedText());
    EXPECT_LE(editor().cursorPosition(), 1);
    QTest::keyClick(&editor(), Qt::Key_Escape);
    QTest::mouseClick(g().viewport(), Qt::LeftButton, {}, QPoint(rc.Right - 3, (rc.Top + rc.Bottom) / 2));
    ASSERT_TRUE(controller().EditMode());
    EXPECT_GT(editor().cursorPosition(), 5);
}

// While Alt+Backspace is held, losing the focus takes no value back through validation.
TEST_F(TextEditor, AltBackspaceSkipsValidationOnFocusLoss)
{
    int validations = 0;
    controller().OnCellValidate = [&](TExtStringGrid*, int, int, QString&, bool&) { ++validations; };
    open(1, 1);
    keys("z");
    QTest::keyPress(&editor(), Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_TRUE(editor().AltBack());
    other->setFocus();
    EXPECT_EQ(validations, 0);
    EXPECT_FALSE(controller().EditMode());
    QTest::keyRelease(other, Qt::Key_Backspace, Qt::AltModifier);
}

// With SizeWhileTyping.Width the column grows to the text, never shrinks.
TEST_F(TextEditor, ColumnGrowsWhileTyping)
{
    g().SizeWhileTyping.Width = true;
    open(4, 1);
    const int before = g().ColWidths(4);
    keys("a rather long text for this column");
    EXPECT_GT(g().ColWidths(4), before);
    EXPECT_GE(editor().width(), g().ColWidths(4) - 2);
    const int grown = g().ColWidths(4);
    QTest::keyClick(&editor(), Qt::Key_Backspace);
    EXPECT_EQ(g().ColWidths(4), grown);
}


// Copy and cut from the editor ask the application first; a refused cut leaves the text.
TEST_F(TextEditor, CopyAndCutEvents)
{
    bool allowCut = false;
    editor().OnClipboardCut = [&](QObject* sender, bool& allow) {
        EXPECT_EQ(sender, &editor());
        allow = allowCut;
    };
    open(1, 2);  // "t2", all selected
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(editor().text(), QStringLiteral("t2"));
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("t2"));
    allowCut = true;
    editor().selectAll();
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(editor().text(), QString());
}

}  // namespace
