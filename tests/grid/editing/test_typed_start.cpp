// A printable key typed on a cell that is not being edited opens the text editor holding that
// character alone, in a column grid set up as the program's tables are (editing switched on by
// selecting an editable column).
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "grid/core/ExtColumnGrid.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "grid/editing/InplaceEdit.h"

#include "InputSuite.h"

using namespace grid;
using namespace grid::editing;

namespace {

// Columns: 0 row numbers, 1 text, 2 number, 3 upper case, 4 read-only text; rows 1 to 4.
struct TypedStart : WithGridInput {
    QWidget box;
    TExtColumnGrid* grid = nullptr;
    TExtColumnGrid& g() { return *grid; }

    void SetUp() override
    {
        grid = new TExtColumnGrid;
        grid->SetLayers(InputLayers());
        grid->setParent(&box);
        g().SetColCount(5);
        g().SetRowCount(5);
        g().Options &= ~goEditing;
        const TEditorType editors[] = {edNormal, edNormal, edNumeric, edUpperCase, edNormal};
        for (int c = 0; c < 5; ++c) {
            g().Columns()[c]->SetEditor(editors[c]);
            g().Columns()[c]->SetWidth(70);
        }
        g().Columns()[4]->ReadOnly = true;
        for (int r = 1; r < 5; ++r)
            for (int c = 1; c < 5; ++c)
                g().SetCells(c, r, QStringLiteral("%1%2").arg(c).arg(r));
        g().resize(380, 150);
        box.resize(380, 150);
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
        g().SetFocus();
    }

    TGridEditController& controller() { return *EditController(g()); }
    TExtInplaceEdit& editor() { return *controller().NormalEdit(); }
    // A click on a cell that is not current selects it without opening an editor.
    void select(int c, int r)
    {
        ASSERT_FALSE(g().Col() == c && g().Row() == r);
        const TRect rc = g().CellRect(c, r);
        QTest::mouseClick(g().viewport(), Qt::LeftButton, {}, QPoint(rc.Left + 5, rc.Top + 5));
        ASSERT_EQ(g().Col(), c);
        ASSERT_EQ(g().Row(), r);
        ASSERT_TRUE(g().hasFocus());
        ASSERT_FALSE(controller().EditMode());
    }
};

TEST_F(TypedStart, TheCharacterReplacesTheCellText)
{
    const struct {
        int Col, Row;
        char Typed;
        QString Text;  // what the editor holds after the key
        QString Cell;  // the cell after Enter
    } cases[] = {
        {1, 2, 'x', QStringLiteral("x"), QStringLiteral("x")},
        {1, 3, ' ', QStringLiteral(" "), QStringLiteral(" ")},
        {2, 4, '7', QStringLiteral("7"), QStringLiteral("7")},
        {3, 2, 'q', QStringLiteral("Q"), QStringLiteral("Q")},  // the editor type's rule applies
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Col);
        SCOPED_TRACE(tc.Typed);
        select(tc.Col, tc.Row);
        if (HasFatalFailure())
            return;
        QTest::keyClick(&g(), tc.Typed);
        ASSERT_TRUE(controller().EditMode());
        ASSERT_TRUE(editor().isVisible());
        EXPECT_TRUE(editor().hasFocus());
        EXPECT_EQ(editor().text(), tc.Text);
        EXPECT_FALSE(editor().hasSelectedText());
        EXPECT_EQ(editor().cursorPosition(), tc.Text.size());
        QTest::keyClick(&editor(), Qt::Key_Return);
        EXPECT_FALSE(controller().EditMode());
        EXPECT_EQ(g().Cells(tc.Col, tc.Row), tc.Cell);
    }
}

// Keys typed after the first one follow it; Escape gives the cell its old text back.
TEST_F(TypedStart, FollowingKeysAppendAndEscapeRestores)
{
    select(1, 2);
    for (const char ch : {'a', 'b', 'c'})
        QTest::keyClick(QApplication::focusWidget(), ch);
    ASSERT_TRUE(controller().EditMode());
    EXPECT_EQ(editor().text(), QStringLiteral("abc"));
    EXPECT_EQ(editor().cursorPosition(), 3);
    QTest::keyClick(&editor(), Qt::Key_Escape);
    EXPECT_FALSE(controller().EditMode());
    EXPECT_EQ(g().Cells(1, 2), QStringLiteral("12"));

    // A character the editor type refuses opens the editor without changing the text.
    select(2, 2);
    QTest::keyClick(&g(), 'z');
    ASSERT_TRUE(controller().EditMode());
    EXPECT_EQ(editor().text(), QStringLiteral("22"));
}

// A new length limit reaches the open editor: a shorter one cuts the text, a longer one lets more in.
TEST_F(TypedStart, ALengthLimitSetWhileEditingReachesTheEditor)
{
    select(1, 2);
    for (const char ch : {'a', 'b', 'c', 'd', 'e'})
        QTest::keyClick(QApplication::focusWidget(), ch);
    ASSERT_EQ(editor().text(), QStringLiteral("abcde"));
    g().SetMaxEditLength(3);
    EXPECT_EQ(editor().text(), QStringLiteral("abc"));
    QTest::keyClick(&editor(), 'f');
    EXPECT_EQ(editor().text(), QStringLiteral("abc"));
    g().SetMaxEditLength(0);
    QTest::keyClick(&editor(), 'f');
    EXPECT_EQ(editor().text(), QStringLiteral("abcf"));
}

// A read-only column opens nothing; the key reaches the grid's OnKeyPress instead.
TEST_F(TypedStart, ReadOnlyColumnOpensNothing)
{
    QString pressed;
    g().OnKeyPress = [&](QChar& k) { pressed += k; };
    select(4, 2);
    QTest::keyClick(&g(), 'x');
    EXPECT_FALSE(controller().EditMode());
    EXPECT_EQ(g().Cells(4, 2), QStringLiteral("42"));
    EXPECT_EQ(pressed, QStringLiteral("x"));
}

}  // namespace
