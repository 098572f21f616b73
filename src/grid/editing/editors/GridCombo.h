#pragma once
#include <QStringList>
#include <functional>
#include <vector>

#include "grid/editing/editors/EsgCombo.h"
#include "grid/editing/editors/GridEditorHost.h"

namespace grid {
class TExtStringGrid;
}

namespace grid::editors {

// Width of a combo's opened list: it grows to the widest item and never drops below `width`.
// A list with more items than `dropDownCount` shows a scroll bar and needs more room.
int ComboDropWidth(int width, const std::vector<int>& itemWidths, int dropDownCount);

// Completion of the text before the caret by the first item that starts with it.
struct TCompletion {
    bool Found = false;
    QString Text;      // the typed part as typed, then the item's tail (at most 255 characters)
    int SelStart = 0;  // the completed tail is selected, so the next key replaces it
    int SelLength = 0;
    int Index = -1;    // the item that matched
};
TCompletion CompleteText(const QString& text, int caret, const QStringList& items, bool caseSensitive);

using TGridComboHost = TGridEditorHost;

// The grid's in-place editor of drop-down cells: a typed text with proposals, or a pick from the
// list only. It completes typed text, steps through the list with the wheel, and hands leaving
// keys to the grid.
class TGridCombo : public TEsgCustomCombo {
public:
    explicit TGridCombo(TExtStringGrid& grid, QWidget* parent = nullptr);

    TExtStringGrid& Grid() const { return FGrid; }
    TGridComboHost Host;

    // Lookup settings of the grid.
    bool Lookup = false;
    bool LookupCaseSensitive = false;
    bool LookupHistory = false;
    QStringList LookupItems;

    // Whether completion may run after the current key (not after Backspace or Delete).
    bool WorkMode = true;

    // Events: ACol is the real column, ARow the current row.
    std::function<void(int, int, int, const QString&)> OnComboChange;
    std::function<void(int, int, int, const QString&, QVariant)> OnComboObjectChange;
    std::function<void(int, int, const QString&)> OnEditChange;  // ACol display, ARow, text
    std::function<void(QChar&)> OnKeyPress;                      // the grid's key-press event
    std::function<void()> OnReturnKey;
    std::function<void(int row, int col)> OnDblClickCell;  // ACol display

    // Sets the opened list's width from the widest item.
    void SizeDropDownWidth();
    // Completes the text before the caret from the items, then from LookupItems.
    void DoChange();
    // The list style of the cell's editor type: a pick from the list only, or free text.
    void SetPickOnly(bool pickOnly);
    bool PickOnly() const { return !isEditable(); }
    // The value the editor stands for: the picked item's text, the typed text, or in a pick-only
    // list with nothing picked the cell's own text, which stays as it is.
    QString EditValue() const;
    // Types the character that started editing, as the user would, without a second OnKeyPress.
    void TypeStart(QChar ch);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FireChange(int index);
    void DropOwnCompleter();
    bool KeyDown(QKeyEvent* event);
    void SetSelection(int start, int length);
    int Caret() const;

    TExtStringGrid& FGrid;
    bool FTypingStart = false;
    bool FInKeyPress = false;  // a key's own change is reported once, by the key handler
};

}  // namespace grid::editors
