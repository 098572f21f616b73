#include "grid/editing/FixedCellEditors.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QTimer>

#include "grid/editing/GridEditController.h"

namespace grid::editing {

bool TFixedCellEditing::StopEdit()
{
    if (!Box().isVisible() || FStopping)
        return true;
    TExtStringGrid& grid = Controller.Grid;
    QString text = Text();
    bool valid = true;
    FStopping = true;
    if (Controller.OnCellValidate)
        Controller.OnCellValidate(&grid, Col, Row, text, valid);
    FStopping = false;
    if (!valid) {
        grid.MoveColRow(grid.RealToDisplCol(Col), Row);
        // The focus may already be on its way elsewhere: take it back once that has happened.
        QTimer::singleShot(0, &Box(), [box = &Box()] {
            if (box->isVisible())
                box->setFocus();
        });
        return false;
    }
    if (Controller.OnEditingDone)
        Controller.OnEditingDone(&grid);
    grid.SetCells(Col, Row, text);
    Box().hide();
    return true;
}

bool TFixedCellEditing::HandleKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: event->accept(); return true;
    case Qt::Key_Escape:
        event->accept();
        Box().hide();
        Controller.Grid.SetFocus();
        return true;
    default: return false;
    }
}

void TFixedCellEditing::FocusLost()
{
    if (Box().isVisible())
        StopEdit();
}

void TFixedCellEditing::Changed(const QString& text)
{
    TExtStringGrid& grid = Controller.Grid;
    if (Box().isVisible() && grid.OnEditChange)
        grid.OnEditChange(&grid, grid.RealToDisplCol(Col), Row, text);
}

TGridTransEdit::TGridTransEdit(TGridEditController& controller, QWidget* parent)
    : QLineEdit(parent), TFixedCellEditing(controller)
{
    setFrame(false);
    hide();
    connect(this, &QLineEdit::textEdited, this, [this](const QString& t) { Changed(t); });
}

void TGridTransEdit::keyPressEvent(QKeyEvent* event)
{
    if (!HandleKey(event))
        QLineEdit::keyPressEvent(event);
}

void TGridTransEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    FocusLost();
}

TGridTransCombo::TGridTransCombo(TGridEditController& controller, QWidget* parent)
    : QComboBox(parent), TFixedCellEditing(controller)
{
    setFrame(false);
    hide();
    connect(this, &QComboBox::currentTextChanged, this, [this](const QString& t) { Changed(t); });
}

void TGridTransCombo::keyPressEvent(QKeyEvent* event)
{
    if (!HandleKey(event))
        QComboBox::keyPressEvent(event);
}

void TGridTransCombo::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // The list popping up takes the focus from the box without ending the edit.
    if (view() && view()->isVisible())
        return;
    FocusLost();
}

}  // namespace grid::editing
