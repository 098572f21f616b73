#pragma once
// Drives a set-up table window as a user does: shown modally, clicks and keys through the grid's
// own input, the buttons pressed with the mouse.
#include "controls/buttons_pages/PicButton.h"
#include "grid/core/ExtColumnGrid.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/USetupWindow.h"
#include "shell/UWindowList.h"
#include "support/Deferred.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

template <typename Window>
class SetupWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shell::Load_Default_Language();
        shell::App_State.Project_Folder = Dir.Path();
        shell::Set_Files();
        // The tables edit with the keyboard and mouse, as the program's do.
        Form = std::make_unique<Window>(
            grid::TGridLayers{.Editing = grid::editing::EditingLayer(grid::editing::InputHandling())});
    }
    void TearDown() override
    {
        Form.reset();
        shell::Window_List().Clear();
        shell::App_State = {};
    }

    // Shows the window as the main window does and runs the user's actions inside its loop; the
    // actions end by closing it.
    int Run(std::function<void()> actions)
    {
        return Run_Modal(Form.get(), std::move(actions), [this] { return Messages.LastText(); });
    }

    // The table of the shown tab by default, as the user sees it.
    grid::TExtColumnGrid& Grid(int t = -1) { return *Form->Table(t < 0 ? Form->Active_Index() : t); }
    QPoint Centre(grid::TExtColumnGrid& g, int realCol, int row)
    {
        g.ScrollInView(g.RealToDisplCol(realCol), row);
        const grid::TRect rc = g.CellRect(g.RealToDisplCol(realCol), row);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
    void Click(int realCol, int row) { QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, Centre(Grid(), realCol, row)); }
    static QWidget* Focus() { return QApplication::focusWidget(); }
    static void Key(Qt::Key k) { QTest::keyClick(Focus(), k); }
    static void Type(const QString& text)
    {
        for (const QChar ch : text)
            QTest::keyClick(Focus(), ch.toLatin1());
    }
    // Selects a cell and types its text; Enter writes it back.
    void Enter(int realCol, int row, const QString& text)
    {
        Click(realCol, row);
        Type(text);
        Key(Qt::Key_Return);
    }
    // Replaces a text cell's text: the editor opened with F2, the old text erased from its end, the
    // new typed.
    void Replace(int realCol, int row, const QString& text)
    {
        const int old = int(Cell(realCol, row).size());
        Click(realCol, row);
        Key(Qt::Key_F2);
        Key(Qt::Key_End);  // the caret stands where the cell was clicked
        for (int i = 0; i < old; ++i)
            Key(Qt::Key_Backspace);
        Type(text);
        Key(Qt::Key_Return);
    }
    // Opens a list cell with F2 and steps down to an item: from an empty cell the first Down picks
    // the first item.
    void Pick(int realCol, int row, int downs)
    {
        Click(realCol, row);
        Key(Qt::Key_F2);
        for (int i = 0; i < downs; ++i)
            Key(Qt::Key_Down);
        Key(Qt::Key_Return);
    }
    static void Press(controls::TPicButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }
    QString Cell(int realCol, int row) { return Grid().Cells(realCol, row); }
    // The first rows of the table, one line a row, cells joined by "|" from column 1 on.
    std::string Rows(int count)
    {
        QStringList out;
        const shell::Table_Rows rows = Form->Rows(0);
        for (int r = 0; r < count && r < int(rows.size()); ++r)
            out.append(rows[size_t(r)].mid(1).join(QLatin1Char('|')));
        return out.join(QLatin1Char('\n')).toStdString();
    }
    QString Path() const { return Form->File_Path(); }

    TempDir Dir;
    ScriptedMessages Messages;
    std::unique_ptr<Window> Form;
};
