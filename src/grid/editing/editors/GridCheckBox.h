#pragma once
#include <QCheckBox>

#include "grid/editing/editors/GridEditorHost.h"

namespace grid {
class TExtStringGrid;
}

namespace grid::editors {

// The grid's in-place editor of check-box cells: a check box captioned with the cell's text.
// Space and a click toggle it; Enter, the arrows, Page Up, Page Down and End close it (Enter then
// advances, Up and Down move the current cell), and so does Esc, which first undoes the toggles.
class TGridCheckBox : public QCheckBox {
public:
    explicit TGridCheckBox(TExtStringGrid& grid, QWidget* parent = nullptr);

    TExtStringGrid& Grid() const { return FGrid; }
    TGridEditorHost Host;
    // The caption as plain text: an "&" shows as itself.
    void SetCaption(const QString& caption);
    // The state the editor opened with; Esc puts it back before the editor closes.
    bool OpenedChecked = false;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    TExtStringGrid& FGrid;
};

}  // namespace grid::editors
