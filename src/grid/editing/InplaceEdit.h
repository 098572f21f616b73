#pragma once
#include <utility>
#include <QLineEdit>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <bitset>
#include <functional>

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
    // Type-ahead completion from LookupItems; with LookupHistory a value left in the editor joins
    // the list.
    bool Lookup = false, LookupCaseSensitive = false, LookupHistory = false;
    QStringList LookupItems;
    // The characters edValidChars accepts when the controller's ValidChars is empty (codes 0-255).
    std::bitset<256> ValidCharSet;
    // The editor shows the cell's text with its mark-up instead of without it.
    bool EditWithTags = false;

    // Clipboard events; Sender is the editor.
    std::function<void(QObject*, bool&)> OnClipboardCopy, OnClipboardCut, OnClipboardPaste;
    std::function<void(QObject*, int, int, QString&, bool&)> OnClipboardBeforePasteCell;  // ACol, ARow
    std::function<void(QObject*, int, int, const QString&)> OnClipboardAfterPasteCell;    // ACol, ARow

    // Fills the editor for the current cell and lays it over the cell.
    void UpdateContents();
    // The length limit of the column or the grid, applied keeping the selection; a shorter limit
    // cuts the text.
    void ApplyLengthLimit();
    void PlaceOnCell();
    int ColE() const { return FColE; }
    int RowE() const { return FRowE; }
    // The character filter of the editor type; false drops the character. beep tells whether the
    // drop is a refusal the user hears.
    bool FilterChar(QChar& ch, bool ctrl, bool keypad, bool& beep);
    // The edit was started by a left press at this client point of the grid: the caret goes to
    // the character under it when the editor gets the focus.
    void SetLButPress(const QPoint& clientPos);
    bool LButFlg() const { return FLButFlg; }
    // Hands the press that started the edit to another editor that places its caret there, once.
    bool TakeLButPress(QPoint& clientPos)
    {
        clientPos = FLButPos;
        return std::exchange(FLButFlg, false);
    }
    // Alt+Backspace is held: losing the focus then takes no value back.
    bool AltBack() const { return FAltBack; }
    // The value the cell gets: the cell's own text (mark-up included) while the shown text is
    // untouched, else what the editor holds.
    QString CellValue() const;
    // The clipboard steps, with the events; paste merges a text as the filter and the length
    // limit allow.
    void CopyToClipboard(bool cut);
    void PasteFromClipboard();
    void PasteText(QString value, bool allow);
    // Type-ahead completion after a typed character.
    void DoChange();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

private:
    int EditLimit() const;
    void TextEdited(const QString& text);
    void RefusedValue();
    // Validates the typed value; a refusal keeps the editor open with the old cell text kept.
    bool ValueAccepted(const QString& old);
    // The value the validation settled on, shown without telling the grid of a change.
    void ShowNewCellText();
    bool WalkOut(bool left, bool shift, const QString& old);
    void SizeWhileTyping();
    void SetShownText(const QString& raw);
    TGridEditController& FController;
    TExtStringGrid& FGrid;
    int FColE = -1, FRowE = -1;
    int FSelKeyDown = 0;
    bool FGotFocus = false;
    bool FWorkmode = true;
    bool FHiding = false;
    bool FAltBack = false;
    bool FLButFlg = false;
    QPoint FLButPos;
    QString FRawText, FShownText;  // the cell's text as stored and as the editor first showed it
};

// A cell text without its HTML mark-up (line breaks for <br>, the common entities decoded).
QString StripCellHtml(const QString& text);
bool IsCellHtml(const QString& text);

}  // namespace grid::editing
