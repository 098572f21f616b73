#pragma once
#include <QStringList>
#include <functional>

#include "grid/core/GridTypes.h"
#include "grid/editing/editors/EsgEditBtn.h"
#include "grid/editing/editors/GridEditorHost.h"

namespace grid {
class TExtStringGrid;
}

namespace grid::editors {

// The grid's in-place editor of the edit-with-button cells (free text, integer, decimal and
// masked text). The button hands the text to the grid's ellipsis step; Enter, Tab and the
// vertical arrows validate and leave, Esc puts the cell's saved text back and leaves; typed text
// completes from the lookup items.
class TGridEditBtn : public TEsgEditBtn {
public:
    explicit TGridEditBtn(TExtStringGrid& grid, QWidget* parent = nullptr);

    TExtStringGrid& Grid() const { return FGrid; }
    TGridEditorHost Host;
    // The cell's editor type, which picks the character filter.
    TEditorType EditType = edEditBtn;
    // Auto-completion may run after the current key (not after Backspace or Delete).
    bool WorkMode = true;
    // The editor closes after its button was pressed.
    bool StopEditAfterClick = false;
    bool Lookup = false, LookupCaseSensitive = false;
    QStringList LookupItems;

    std::function<void(QChar&)> OnKeyPress;              // the grid's key-press event
    // The editor's own key-down, for the keys it takes (Tab, Enter, Esc, Page Up/Down, Up, Down); Sender is the editor.
    std::function<void(QObject*, int key, TShiftState)> OnKeyDown;
    std::function<void(int row, int col)> OnDblClickCell;  // ACol display
    // Clipboard events; Sender is the editor.
    std::function<void(QObject*, bool&)> OnClipboardPaste;
    std::function<void(QObject*, int, int, QString&, bool&)> OnClipboardBeforePasteCell;  // ACol display, ARow

    void ButtonClick() override;
    // Completes the text before the caret from the lookup items.
    void DoChange();
    // Pastes a clipboard text (empty when the clipboard holds none) as the events allow.
    void PasteText(const QString& clip, bool hasText);
    // Types the character that started editing, through the filter, without a second OnKeyPress.
    void TypeStart(QChar ch);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void Paste() override;

private:
    bool KeyDown(QKeyEvent* event);
    void TypeChar(QKeyEvent* event, bool fromGrid);
    int SelStart() const;

    TExtStringGrid& FGrid;
    int FSelKeyDown = 0;
};

// The grid's in-place editor of the unit cells: the value in the edit, the unit beside it,
// picked from a menu when the button is pressed. The cell holds both joined.
class TGridUnitEditBtn : public TEsgUnitEditBtn {
public:
    explicit TGridUnitEditBtn(TExtStringGrid& grid, QWidget* parent = nullptr);

    TExtStringGrid& Grid() const { return FGrid; }
    TGridEditorHost Host;
    TEditorType EditType = edUnitEditBtn;

    void ButtonClick() override;
    void TypeStart(QChar ch);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool KeyDown(QKeyEvent* event);
    bool Filter(QChar ch) const;

    TExtStringGrid& FGrid;
};

}  // namespace grid::editors
