#pragma once
#include <QComboBox>
#include <QLineEdit>
#include <QString>

#include "grid/core/ExtStringGrid.h"

namespace grid::editing {

class TGridEditController;

// The borderless edit and combo with which the grid edits a header or fixed-column cell. The cell's
// text goes in when the editor opens; the edit ends when the editor loses the focus: the value
// passes the grid's validation and is written to the cell, or, refused, the editor keeps the focus.
// Escape leaves the cell as it was.
class TFixedCellEditing {
public:
    explicit TFixedCellEditing(TGridEditController& controller) : Controller(controller) {}
    virtual ~TFixedCellEditing() = default;
    TGridEditController& Controller;
    int Col = -1;  // real column
    int Row = -1;
    // Ends the edit; false when the validation refused the value (the editor stays open).
    bool StopEdit();
    virtual QWidget& Box() = 0;
    virtual QString Text() const = 0;

protected:
    // Enter is swallowed, Escape cancels; answers whether the key was handled here.
    bool HandleKey(QKeyEvent* event);
    void FocusLost();
    void Changed(const QString& text);

private:
    bool FStopping = false;
};

class TGridTransEdit : public QLineEdit, public TFixedCellEditing {
public:
    TGridTransEdit(TGridEditController& controller, QWidget* parent);
    QWidget& Box() override { return *this; }
    QString Text() const override { return text(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

class TGridTransCombo : public QComboBox, public TFixedCellEditing {
public:
    TGridTransCombo(TGridEditController& controller, QWidget* parent);
    QWidget& Box() override { return *this; }
    QString Text() const override { return currentText(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace grid::editing
