#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include <optional>
#include <span>

#include "grid/core/ExtColumnGrid.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/SpecialEditors.h"

#include "InputSuite.h"

namespace grid::editing {

// A column of the grid under test; a null header leaves the column's own.
struct EditorColumn {
    const char* Header;
    TEditorType Editor;
    int Width;
};

// A window holding a column grid whose columns use given editors and, when asked, a line edit
// under it that can take the focus; keys go to whatever has the focus, as the user's keys would.
struct EditorGridSuite : WithGridInput {
    QWidget window;
    TExtColumnGrid* grid = nullptr;
    QLineEdit* other = nullptr;
    // The posted steps of some editors (a picker's auto-advance) run after each key when set.
    bool settleAfterKeys = false;
    // open() makes the cell current by a click over it when set, else without a press (which
    // would put the caret under the mouse).
    bool openByClick = true;

    TExtColumnGrid& g() { return *grid; }

    // Builds the grid at the window's top left with one column per entry and `rows` rows.
    void BuildGrid(std::span<const EditorColumn> columns, int rows, QSize size, bool withOther)
    {
        grid = new TExtColumnGrid();
        grid->SetLayers(InputLayers());
        grid->setParent(&window);
        grid->setGeometry(0, 0, size.width(), size.height());
        if (withOther) {
            other = new QLineEdit(&window);
            other->setGeometry(0, size.height() + 10, 100, 20);
        }
        g().SetColCount(int(columns.size()));
        g().SetRowCount(rows);
        for (int c = 0; c < int(columns.size()); ++c) {
            TGridColumnItem* item = g().Columns()[c];
            item->SetEditor(columns[c].Editor);
            item->SetWidth(columns[c].Width);
            if (columns[c].Header)
                item->SetHeader(QString::fromLatin1(columns[c].Header));
        }
    }
    // Shows and activates the window and gives the grid the focus; the last step of a SetUp.
    void ShowWindow(QSize size)
    {
        window.resize(size);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        g().SetFocus();
    }
    // The default locale for this test; put back after it.
    void UseLocale(const QLocale& locale)
    {
        if (!savedLocale)
            savedLocale = QLocale();
        QLocale::setDefault(locale);
    }
    void TearDown() override
    {
        if (savedLocale)
            QLocale::setDefault(*savedLocale);
    }

    TGridEditController& controller() { return *EditController(g()); }
    TSpecialEditors& specials() { return controller().Specials(); }
    QWidget* shown() { return specials().OpenEditor(); }
    QWidget* client() { return g().viewport(); }
    QString cell(int c, int r) { return g().Cells(c, r); }
    QPoint current() { return {g().Col(), g().Row()}; }
    QPoint centre(int c, int r)
    {
        const TRect rc = g().CellRect(c, r);
        return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
    }
    void select(int c, int r) { QTest::mouseClick(client(), Qt::LeftButton, {}, centre(c, r)); }
    QWidget* focused() { return QApplication::focusWidget() ? QApplication::focusWidget() : &g(); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = {})
    {
        QTest::keyClick(focused(), k, m);
        settle();
    }
    void type(const char* text)
    {
        for (const char* p = text; *p; ++p) {
            QTest::keyClick(focused(), *p);
            settle();
        }
    }
    // Opens the editor of a cell with F2.
    void open(int c, int r)
    {
        if (openByClick) {
            select(c, r);
        } else {
            g().SetFocus();
            g().MoveColRow(c, r);
        }
        key(Qt::Key_F2);
    }

private:
    void settle()
    {
        if (settleAfterKeys)
            QApplication::processEvents();
    }
    std::optional<QLocale> savedLocale;
};

}  // namespace grid::editing
