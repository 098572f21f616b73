// The mouse on the grid's edges: selecting rows, columns or the table from the headers, the
// selection's resize handle, editing header and fixed-column cells, the header drop-down menu and
// the cursors they show. Real mouse and key events on a shown grid.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "grid/core/ExtStringGrid.h"
#include "grid/editing/FixedCellEditors.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"

#include "InputSuite.h"

using namespace grid;
using namespace grid::editing;

namespace {

// Five columns (column 0 fixed) and seven rows (row 0 fixed); cell (c, r) holds "c:r".
struct MouseAreas : WithGridInput {
    std::unique_ptr<TExtStringGrid> grid;
    TExtStringGrid& g() { return *grid; }
    std::vector<TGridRect> changes;

    void SetUp() override
    {
        grid = std::make_unique<TExtStringGrid>();
        grid->SetLayers(InputLayers());
        g().SetColCount(5);
        g().SetRowCount(7);
        g().Options |= goRangeSelect | goEditing;
        for (int c = 0; c < 5; ++c) {
            g().SetColWidths(c, 60);
            for (int r = 0; r < 7; ++r)
                g().SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
        }
        g().OnSelectionChanged = [this](TExtStringGrid*, int l, int t, int r, int b) {
            changes.push_back({l, t, r, b});
        };
        g().resize(360, 220);
        g().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g()));
        g().SetFocus();
    }

    TGridInputHandler& input() { return dynamic_cast<TGridInputHandler&>(*EditController(g())->Input()); }
    QWidget* client() { return g().viewport(); }
    QPoint centre(int c, int r)
    {
        const TRect rc = g().CellRect(c, r);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
    void click(int c, int r, Qt::KeyboardModifiers m = {}) { QTest::mouseClick(client(), Qt::LeftButton, m, centre(c, r)); }
    QRect selection()
    {
        const TGridRect s = g().Selection();
        return {QPoint(s.Left, s.Top), QPoint(s.Right, s.Bottom)};
    }
    Qt::CursorShape cursorOver(QPoint at)
    {
        QTest::mouseMove(client(), at);
        return client()->cursor().shape();
    }
};

TEST_F(MouseAreas, HeadersSelectRowsColumnsAndTheTable)
{
    const struct {
        const char* Name;
        bool All, Row, Col;
        QPoint Press;
        Qt::KeyboardModifiers Mods;
        QRect Expected;
    } cases[] = {
        {"corner selects every data cell", true, false, false, {0, 0}, {}, QRect(QPoint(1, 1), QPoint(4, 6))},
        {"fixed column selects its row", false, true, false, {0, 3}, {}, QRect(QPoint(1, 3), QPoint(4, 3))},
        {"header selects its column", false, false, true, {2, 0}, {}, QRect(QPoint(2, 1), QPoint(2, 6))},
        {"shift extends rows", false, true, false, {0, 5}, Qt::ShiftModifier, QRect(QPoint(1, 2), QPoint(4, 5))},
        {"shift extends columns", false, false, true, {4, 0}, Qt::ShiftModifier, QRect(QPoint(3, 1), QPoint(4, 6))},
        {"corner without AllSelect", false, true, true, {0, 0}, {}, QRect(QPoint(3, 2), QPoint(3, 2))},
        {"row header without RowSelect", true, false, true, {0, 3}, {}, QRect(QPoint(3, 2), QPoint(3, 2))},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.Name);
        g().MouseActions.AllSelect = tc.All;
        g().MouseActions.RowSelect = tc.Row;
        g().MouseActions.ColSelect = tc.Col;
        click(3, 2);
        ASSERT_EQ(selection(), QRect(QPoint(3, 2), QPoint(3, 2)));
        changes.clear();
        click(tc.Press.x(), tc.Press.y(), tc.Mods);
        EXPECT_EQ(selection(), tc.Expected);
        EXPECT_EQ(changes.empty(), tc.Expected == QRect(QPoint(3, 2), QPoint(3, 2)));
        EXPECT_FALSE(EditController(g())->EditMode());
    }
}

TEST_F(MouseAreas, DraggingOverTheRowHeadersExtendsTheRows)
{
    g().MouseActions.RowSelect = true;
    QTest::mouseMove(client(), centre(0, 2));
    QTest::mousePress(client(), Qt::LeftButton, {}, centre(0, 2));
    QTest::mouseMove(client(), centre(0, 3));
    QTest::mouseMove(client(), centre(0, 5));
    QTest::mouseRelease(client(), Qt::LeftButton, {}, centre(0, 5));
    EXPECT_EQ(selection(), QRect(QPoint(1, 2), QPoint(4, 5)));
    // The drag ended with the release: moving on changes nothing.
    QTest::mouseMove(client(), centre(0, 6));
    EXPECT_EQ(selection(), QRect(QPoint(1, 2), QPoint(4, 5)));
}

TEST_F(MouseAreas, SelectionCursorsFollowTheMouse)
{
    g().MouseActions.AllSelect = g().MouseActions.RowSelect = g().MouseActions.ColSelect = true;
    EXPECT_EQ(cursorOver(centre(0, 3)), Qt::BitmapCursor);
    EXPECT_EQ(cursorOver(centre(2, 0)), Qt::BitmapCursor);
    EXPECT_EQ(cursorOver(centre(0, 0)), Qt::BitmapCursor);
    EXPECT_EQ(cursorOver(centre(2, 3)), Qt::ArrowCursor);
    // The application chooses the cursor of ordinary cells.
    g().OnGetCellCursor = [](TExtStringGrid*, int c, int r, QCursor& cursor) {
        if (c == 2 && r == 3)
            cursor = Qt::PointingHandCursor;
    };
    EXPECT_EQ(cursorOver(centre(3, 3)), Qt::ArrowCursor);
    EXPECT_EQ(cursorOver(centre(2, 3)), Qt::PointingHandCursor);
    // A column's sizing edge in the header keeps the split cursor.
    g().Options |= goColSizing;
    const TRect header = g().CellRect(2, 0);
    EXPECT_EQ(cursorOver(QPoint(header.Right - 1, (header.Top + header.Bottom) / 2)), Qt::SplitHCursor);
}

TEST_F(MouseAreas, ResizeHandleStretchesTheSelection)
{
    g().SelectionRectangle = true;
    g().SelectionResizer = true;
    std::vector<std::pair<TGridRect, TGridRect>> resized;
    input().OnSelectionResize = [&](TExtStringGrid*, const TGridRect& from, const TGridRect& to) {
        resized.emplace_back(from, to);
    };
    bool done = false;
    input().OnSelectionResized = [&](TExtStringGrid*, const TGridRect&, const TGridRect&) { done = true; };
    click(2, 2);
    const TRect cell = g().CellRect(2, 2);
    const QPoint handle(cell.Right - 2, cell.Bottom - 2);
    EXPECT_EQ(cursorOver(handle), Qt::BitmapCursor);
    QTest::mousePress(client(), Qt::LeftButton, {}, handle);
    QTest::mouseMove(client(), centre(3, 3));
    QTest::mouseMove(client(), centre(3, 4));
    QTest::mouseRelease(client(), Qt::LeftButton, {}, centre(3, 4));
    EXPECT_EQ(selection(), QRect(QPoint(2, 2), QPoint(3, 4)));
    ASSERT_EQ(resized.size(), 1u);
    EXPECT_EQ(resized[0].first, (TGridRect{2, 2, 2, 2}));
    EXPECT_EQ(resized[0].second, (TGridRect{2, 2, 3, 4}));
    EXPECT_TRUE(done);
    // The copied cell went back to the selection's top-left; its neighbours kept their texts.
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("2:2\r\n"));
    EXPECT_EQ(g().Cells(2, 2), QStringLiteral("2:2"));
    EXPECT_EQ(g().Cells(3, 4), QStringLiteral("3:4"));
    EXPECT_FALSE(EditController(g())->EditMode());
}

struct FixedCellEditing : MouseAreas {
    std::vector<QString> edits;
    void SetUp() override
    {
        MouseAreas::SetUp();
        g().OnEditChange = [this](TExtStringGrid*, int c, int r, const QString& text) {
            edits.push_back(QStringLiteral("%1,%2 %3").arg(c).arg(r).arg(text));
        };
    }
    QWidget* editorBox()
    {
        TFixedCellEditing* e = input().FixedCellEditor();
        return e ? &e->Box() : nullptr;
    }
};

TEST_F(FixedCellEditing, HeaderEditWritesBackWhenTheFocusLeaves)
{
    g().MouseActions.FixedRowsEdit = fceLeftClick;
    click(2, 0);
    auto* edit = qobject_cast<QLineEdit*>(editorBox());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("2:0"));
    EXPECT_TRUE(edit->hasFocus());
    edit->selectAll();
    QTest::keyClicks(edit, "Speed");
    // Enter is swallowed: the edit goes on.
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(edit->isVisible());
    click(3, 3);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_EQ(g().Cells(2, 0), QStringLiteral("Speed"));
    ASSERT_FALSE(edits.empty());
    EXPECT_EQ(edits.back(), QStringLiteral("2,0 Speed"));
}

TEST_F(FixedCellEditing, RefusedValueKeepsTheEditorAndEscapeKeepsTheCell)
{
    g().MouseActions.FixedColsEdit = fceDblClick;
    int refusals = 0;
    EditController(g())->OnCellValidate = [&](TExtStringGrid*, int, int, QString& value, bool& valid) {
        valid = !value.isEmpty();
        refusals += valid ? 0 : 1;
    };
    QTest::mouseDClick(client(), Qt::LeftButton, {}, centre(0, 4));
    auto* edit = qobject_cast<QLineEdit*>(editorBox());
    ASSERT_NE(edit, nullptr);
    edit->clear();
    click(2, 2);
    EXPECT_EQ(refusals, 1);
    QApplication::processEvents();
    EXPECT_TRUE(edit->isVisible());
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(g().Cells(0, 4), QStringLiteral("0:4"));
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_EQ(g().Cells(0, 4), QStringLiteral("0:4"));
}

TEST_F(FixedCellEditing, ComboKindsAndTheApplicationsChoice)
{
    g().MouseActions.FixedRowsEdit = fceRightClick;
    g().MouseActions.FixedRowsEditor = fceComboList;
    g().MouseActions.FixedComboValues = {QStringLiteral("A"), QStringLiteral("B")};
    g().SetCells(3, 0, QStringLiteral("B"));
    QTest::mouseClick(client(), Qt::RightButton, {}, centre(3, 0));
    auto* combo = qobject_cast<QComboBox*>(editorBox());
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(combo->currentText(), QStringLiteral("B"));
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(edits.back(), QStringLiteral("3,0 A"));
    click(2, 2);
    EXPECT_EQ(g().Cells(3, 0), QStringLiteral("A"));

    // The application may refuse the cell, or choose another editor with its own values.
    g().OnCanEditCell = [](TExtStringGrid*, int, int c, bool& canEdit) { canEdit = c != 1; };
    g().OnFixedEdit = [](TExtStringGrid*, int, int, TGridFixedCellEditor& kind, QStringList& values) {
        kind = fceComboEdit;
        values = {QStringLiteral("x"), QStringLiteral("y")};
    };
    QTest::mouseClick(client(), Qt::RightButton, {}, centre(1, 0));
    EXPECT_EQ(editorBox(), nullptr);
    QTest::mouseClick(client(), Qt::RightButton, {}, centre(4, 0));
    combo = qobject_cast<QComboBox*>(editorBox());
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->isEditable());
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentText(), QStringLiteral("4:0"));
    // Opening another fixed cell ends this edit first.
    combo->setEditText(QStringLiteral("free text"));
    QTest::mouseClick(client(), Qt::RightButton, {}, centre(2, 0));
    EXPECT_EQ(g().Cells(4, 0), QStringLiteral("free text"));
    ASSERT_NE(editorBox(), nullptr);
    EXPECT_EQ(qobject_cast<QComboBox*>(editorBox())->currentText(), QStringLiteral("2:0"));
}

TEST_F(MouseAreas, HeaderDropDownButtonPopsUpTheMenu)
{
    g().HoverFixedCells = hfFixedRows;
    g().ControlLook.FixedDropDownButton = true;
    QMenu menu;
    menu.addAction(QStringLiteral("Hide column"));
    g().FixedDropDownMenu = &menu;
    std::vector<int> asked;
    g().OnFixedDropDownClick = [&](TExtStringGrid*, int c, int, QMenu*&, bool& keepLit) {
        asked.push_back(c);
        keepLit = true;
    };
    const TRect header = g().CellRect(3, 0);
    // The middle of the header is not the button.
    click(3, 0);
    EXPECT_TRUE(asked.empty());
    const QPoint button(header.Right - 8, (header.Top + header.Bottom) / 2);
    QTest::mouseMove(client(), button);
    QTest::mouseClick(client(), Qt::LeftButton, {}, button);
    ASSERT_EQ(asked, std::vector<int>{3});
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.property("Tag").toInt(), 3);
    EXPECT_TRUE(g().HoldHoverFixedCell);
    menu.hide();
    EXPECT_FALSE(g().HoldHoverFixedCell);
}

}  // namespace
