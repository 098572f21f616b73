#pragma once
#include <QCheckBox>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

#include "grid/core/GridOwned.h"

namespace grid {

// The search edit: Enter and Ctrl+Enter are reported, never inserted.
class TRetEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    TNotifyEvent OnReturn, OnCtrlReturn;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The search panel's window: the edit, find next, find previous, close and highlight buttons and
// the match-case box over a gradient, a line along its top edge in the grid's line colour.
class TSearchPanelWindow : public QWidget {
public:
    TSearchPanelWindow(TExtStringGrid* grid, TSearchPanel& panel);
    TRetEdit* EditControl;
    QToolButton* ForwardButton;
    QToolButton* BackwardButton;
    QToolButton* ExitButton;
    QToolButton* HiliteButton;
    QCheckBox* MatchCase;
    // Places and labels the controls from the panel's fields.
    void Sync();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void EditChanged();
    TExtStringGrid* FGrid;
    TSearchPanel& FPanel;
};

}  // namespace grid
