#pragma once
#include <QLineEdit>
#include <QString>

#include "grid/core/GridTypes.h"
#include "platform/TCustomControl.h"

namespace grid {
class TExtStringGrid;
}

namespace grid::editing {

class TGridEditController;

// The grid's editor for the text-like editor types: a line edit over the current cell that
// filters characters by editor type, validates the value when the user leaves it by Enter, Tab,
// the cursor keys or the focus, restores the cell on Escape and tells the grid when it is done.
class TExtInplaceEdit : public QLineEdit {
public:
    explicit TExtInplaceEdit(TGridEditController& controller);

    int LengthLimit = 0;  // 0 or less: none
    // Fills the editor for the current cell and lays it over the cell.
    void UpdateContents();
    void PlaceOnCell();
    int ColE() const { return FColE; }
    int RowE() const { return FRowE; }
    // The character filter of the editor type; false drops the character. beep tells whether the
    // drop is a refusal the user hears.
    bool FilterChar(QChar& ch, bool ctrl, bool keypad, bool& beep);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void TextEdited(const QString& text);
    void RefusedValue();
    TGridEditController& FController;
    TExtStringGrid& FGrid;
    int FColE = -1, FRowE = -1;
    int FSelKeyDown = 0;
    bool FGotFocus = false;
    bool FWorkmode = true;
    bool FHiding = false;
};

}  // namespace grid::editing
