#pragma once
#include <QPushButton>

#include "grid/editing/editors/GridEditorHost.h"

namespace grid {
class TExtStringGrid;
}

namespace grid::editors {

// The grid's in-place editor of button cells: a push button captioned with the cell's text. A
// press hands the caption to the grid's ellipsis-click step and writes the answer into the cell
// and onto the button; the arrows close it and move the current cell; Esc closes it and puts the
// cell's saved text back.
class TGridButton : public QPushButton {
public:
    explicit TGridButton(TExtStringGrid& grid, QWidget* parent = nullptr);

    TExtStringGrid& Grid() const { return FGrid; }
    TGridEditorHost Host;
    // The caption as plain text: an "&" shows as itself.
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Press();

    TExtStringGrid& FGrid;
    QString FCaption;
};

}  // namespace grid::editors
