#include "grid/editing/editors/GridCombo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QWheelEvent>

#include "grid/core/ExtStringGrid.h"

namespace grid::editors {

namespace {
constexpr int MaxCompletedTail = 255;
}

int ComboDropWidth(int width, const std::vector<int>& itemWidths, int dropDownCount)
{
    const bool scrollBar = int(itemWidths.size()) > dropDownCount;
    int w = width;
    for (const int t : itemWidths) {
        if (scrollBar && t > w - 25)
            w = t + 25;
        else if (!scrollBar && t > w - 5)
            w = t + 8;
    }
    return std::max(w, width);
}

TCompletion CompleteText(const QString& text, int caret, const QStringList& items, bool caseSensitive)
{
    TCompletion result;
    const QString typed = text.left(std::max(0, caret));
    if (typed.isEmpty())
        return result;
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (int i = 0; i < items.size(); ++i) {
        if (!items[i].startsWith(typed, cs))
            continue;
        result.Found = true;
        result.Index = i;
        result.Text = typed + items[i].mid(typed.size(), MaxCompletedTail);
        result.SelStart = int(typed.size());
        result.SelLength = int(result.Text.size() - typed.size());
        return result;
    }
    return result;
}

TGridCombo::TGridCombo(TExtStringGrid& grid, QWidget* parent) : TEsgCustomCombo(parent), FGrid(grid)
{
    SetButtonWidth(16);
    // A typed text goes into the cell only, never into the list as a new item.
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (OnEditChange)
            OnEditChange(FGrid.Col(), FGrid.Row(), text);
    });
    // An item picked in the open list, by mouse or keys, is a change the user made.
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (!FInKeyPress)
            FireChange(index);
    });
}

void TGridCombo::SetPickOnly(bool pickOnly)
{
    setEditable(!pickOnly);
    DropOwnCompleter();
    // A double click lands in the text box of an editable list, which the box would keep.
    if (lineEdit())
        lineEdit()->installEventFilter(this);
}

bool TGridCombo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && OnDblClickCell) {
        OnDblClickCell(FGrid.Row(), FGrid.Col());
        return true;
    }
    return TEsgCustomCombo::eventFilter(watched, event);
}

// The combo box's own inline completer would complete against the list even with Lookup off.
void TGridCombo::DropOwnCompleter()
{
    if (lineEdit() && completer())
        setCompleter(nullptr);
}

void TGridCombo::SizeDropDownWidth()
{
    std::vector<int> widths;
    const QFontMetrics metrics(font());
    for (int i = 0; i < count(); ++i)
        widths.push_back(metrics.horizontalAdvance(itemText(i)));
    SetDroppedWidth(ComboDropWidth(width(), widths, maxVisibleItems()));
}

QString TGridCombo::EditValue() const
{
    if (!isEditable() && currentIndex() < 0)
        return FGrid.Cells(FGrid.RealCol(), FGrid.Row());
    return currentText();
}

void TGridCombo::TypeStart(QChar ch)
{
    if (ch.isNull())
        return;
    FTypingStart = true;
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
    keyPressEvent(&press);
    FTypingStart = false;
}

bool TGridCombo::event(QEvent* event)
{
    // Tab reaches the key handling only when the editor claims it; else it moves the focus on.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && Host.WantsTab && Host.WantsTab()) {
            keyPressEvent(key);
            return true;
        }
    }
    return TEsgCustomCombo::event(event);
}

int TGridCombo::Caret() const { return lineEdit() ? lineEdit()->cursorPosition() : 0; }

void TGridCombo::SetSelection(int start, int length)
{
    if (lineEdit())
        lineEdit()->setSelection(start, length);
}

void TGridCombo::DoChange()
{
    if (!WorkMode || !Lookup || !lineEdit())
        return;
    const QString text = currentText();
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items << itemText(i);
    TCompletion c = CompleteText(text, Caret(), items, LookupCaseSensitive);
    const bool fromList = c.Found;
    if (!c.Found)
        c = CompleteText(text, Caret(), LookupItems, LookupCaseSensitive);
    if (!c.Found)
        return;
    const QSignalBlocker block(this);
    if (fromList)
        setCurrentIndex(c.Index);
    setEditText(c.Text);
    SetSelection(c.SelStart, c.SelLength);
    if (OnEditChange)
        OnEditChange(FGrid.Col(), FGrid.Row(), c.Text);
}

void TGridCombo::FireChange(int index)
{
    const QString text = index >= 0 ? itemText(index) : QString();
    if (OnComboChange)
        OnComboChange(FGrid.RealCol(), FGrid.Row(), index, text);
    if (OnComboObjectChange)
        OnComboObjectChange(FGrid.RealCol(), FGrid.Row(), index, text, index >= 0 ? itemData(index) : QVariant());
}

// Answers true when the key is finished with.
bool TGridCombo::KeyDown(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool dropped = view() && view()->isVisible();
    const bool open = !isEditable() || dropped;
    WorkMode = key != Qt::Key_Backspace && key != Qt::Key_Delete;

    bool handled = key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return || key == Qt::Key_Enter
                   || key == Qt::Key_Escape;
    if (open)
        handled = handled || key == Qt::Key_Left || key == Qt::Key_Right;
    else
        handled = handled || key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_End
                  || key == Qt::Key_Up || key == Qt::Key_Down;
    if ((key == Qt::Key_Up || key == Qt::Key_Down) && !FGrid.Navigation.ComboGetUpDown && !dropped) {
        if (Host.DoneEdit)
            Host.DoneEdit(key, mods);
        return true;
    }
    if ((mods & Qt::AltModifier) && key == Qt::Key_Down)
        handled = false;
    if (!handled)
        return false;

    const QString cellText = FGrid.Cells(FGrid.RealCol(), FGrid.Row());
    if (key == Qt::Key_Escape) {
        const QSignalBlocker block(this);
        const int i = findText(cellText, Qt::MatchFixedString);
        // A stored text that is not in the list leaves nothing picked, so nothing is written.
        if (i >= 0 || !isEditable())
            setCurrentIndex(i);
        if (isEditable())
            setEditText(cellText);
        if (Host.HideEditor)
            Host.HideEditor();
        return true;
    }
    const bool tab = key == Qt::Key_Tab || key == Qt::Key_Backtab;
    const bool validates = key == Qt::Key_Return || key == Qt::Key_Enter || tab
                           || (!open && (key == Qt::Key_Up || key == Qt::Key_Down));
    if (validates && Host.Validate) {
        if (!Host.Validate(EditValue())) {
            const QString value = Host.ValidatedText ? Host.ValidatedText() : currentText();
            if (isEditable()) {
                setEditText(value);
                if (tab)
                    lineEdit()->setCursorPosition(int(value.size()));
                else
                    lineEdit()->selectAll();
            } else {
                SelectItem(value);
            }
            update();
            return true;
        }
        const QString accepted = FGrid.Cells(FGrid.RealCol(), FGrid.Row());
        if (isEditable())
            setEditText(accepted);
        else
            SelectItem(accepted);
        if (tab && Host.GoTabs && Host.GoTabs() && Host.TabStep) {
            Host.TabStep((mods & Qt::ShiftModifier) || key == Qt::Key_Backtab);
            return true;
        }
    }
    if (!tab && !open && key == Qt::Key_End)
        return false;  // the caret goes to the end of the text
    int leaveKey = key;
    if (open && key != Qt::Key_Left && key != Qt::Key_Right && !validates)
        leaveKey = 0;  // Page Up and Page Down only close the editor
    if (Host.DoneEdit)
        Host.DoneEdit(leaveKey, mods);
    if (Host.AdvanceShow)
        Host.AdvanceShow();
    return true;
}

void TGridCombo::keyPressEvent(QKeyEvent* event)
{
    DropOwnCompleter();  // an editable style set from outside brings it back
    if (KeyDown(event))
        return;
    const QString typed = event->text();
    if (typed.size() != 1 || event->key() == Qt::Key_Escape || event->key() == Qt::Key_Backspace) {
        TEsgCustomCombo::keyPressEvent(event);
        return;
    }
    const int before = currentIndex();
    QChar ch = typed.at(0);
    if (OnKeyPress && !FTypingStart)
        OnKeyPress(ch);
    if (ch.isNull())
        return;  // vetoed
    if (ch == QChar(13) && OnReturnKey)
        OnReturnKey();
    if (ch == QChar(13) || ch == QChar(9) || ch == QChar(27))
        return;
    QKeyEvent changed(QEvent::KeyPress, event->key(), event->modifiers(), QString(ch), event->isAutoRepeat());
    {
        const QScopedValueRollback inKey(FInKeyPress, true);
        TEsgCustomCombo::keyPressEvent(&changed);
    }
    if (currentIndex() != before)
        FireChange(currentIndex());
}

void TGridCombo::keyReleaseEvent(QKeyEvent* event)
{
    // Cursor walk: Left with the caret at the start or Right at the end of the text leaves for
    // the neighbouring cell.
    const int key = event->key();
    const bool plain = !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    if ((key == Qt::Key_Left || key == Qt::Key_Right) && plain && isEditable() && lineEdit()
        && FGrid.Navigation.CursorWalkEditor && !lineEdit()->hasSelectedText() && Host.CursorWalk) {
        const bool right = key == Qt::Key_Right;
        if (Caret() == (right ? int(currentText().size()) : 0)) {
            Host.CursorWalk(right);
            return;
        }
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        TEsgCustomCombo::keyReleaseEvent(event);
    DoChange();
}

void TGridCombo::wheelEvent(QWheelEvent* event)
{
    event->accept();
    const int delta = event->angleDelta().y();
    int index = currentIndex();
    if (delta < 0 && index < count() - 1)
        ++index;
    else if (delta > 0 && index > 0)
        --index;
    if (index != currentIndex())
        setCurrentIndex(index);
    const QString text = index >= 0 ? itemText(index) : QString();
    if (OnEditChange)
        OnEditChange(FGrid.RealCol(), FGrid.Row(), text);
    FireChange(index);
}

void TGridCombo::focusOutEvent(QFocusEvent* event)
{
    // The list popup takes the focus while it is open, and another window may take the
    // activation: neither is an exit.
    QWidget* now = QApplication::focusWidget();
    const bool toList = QApplication::activePopupWidget() || (now && view() && now->window() == view()->window());
    if (!toList && event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason) {
        const QString text = currentText();
        if (LookupHistory && !text.isEmpty() && findText(text, Qt::MatchFixedString) < 0)
            addItem(text);
        if (Host.HideEditor)
            Host.HideEditor();
    }
    TEsgCustomCombo::focusOutEvent(event);
}

}  // namespace grid::editors
