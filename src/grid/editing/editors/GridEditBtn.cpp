#include "grid/editing/editors/GridEditBtn.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridTextUtils.h"
#include "grid/editing/editors/GridCombo.h"

namespace grid::editors {

namespace {
bool IsTab(int key) { return key == Qt::Key_Tab || key == Qt::Key_Backtab; }
bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// The keys the editors take for themselves: they validate, leave or close.
bool IsTakenKey(int key)
{
    return IsTab(key) || IsEnter(key) || key == Qt::Key_Escape || key == Qt::Key_PageUp || key == Qt::Key_PageDown
           || key == Qt::Key_Up || key == Qt::Key_Down;
}

bool BackwardKey(const QKeyEvent* event)
{
    return (event->modifiers() & Qt::ShiftModifier) || event->key() == Qt::Key_Backtab;
}

// The filter of the integer and decimal editors; true lets the character through.
bool NumberFilter(TEditorType type, QChar ch, const QLineEdit& edit, int selStart)
{
    TCharVerdict verdict = TCharVerdict::Pass;
    if (type == edNumericEditBtn || type == edNumericUnitEditBtn)
        verdict = NumericCharVerdict(ch, edit.text(), selStart);
    else if (type == edFloatEditBtn || type == edFloatUnitEditBtn)
        verdict = FloatCharVerdict(ch, edit.text(), selStart, int(edit.selectedText().size()), LocaleDecimalSeparator(),
                                   LocaleThousandSeparator());
    if (verdict == TCharVerdict::Beep)
        QApplication::beep();
    return verdict == TCharVerdict::Pass;
}

// Tab reaches the key handling only when the editor claims it; Esc and Enter are always claimed,
// before the window uses them.
bool ClaimKey(QEvent* event, bool claimTab, const std::function<void(QKeyEvent*)>& handle)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape || IsEnter(key->key())) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && claimTab && IsTab(static_cast<QKeyEvent*>(event)->key())) {
        handle(static_cast<QKeyEvent*>(event));
        return true;
    }
    return false;
}

void LeaveOnFocusOut(QFocusEvent* event, const TGridEditorHost& host)
{
    // The unit menu or another window taking the activation is no exit.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason && host.HideEditor)
        host.HideEditor();
}
}  // namespace

TGridEditBtn::TGridEditBtn(TExtStringGrid& grid, QWidget* parent) : TEsgEditBtn(parent), FGrid(grid)
{
    setFrame(false);
    SetButtonCaption(QStringLiteral("..."));
    SetIsWinXP(true);
}

int TGridEditBtn::SelStart() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }

void TGridEditBtn::ButtonClick()
{
    const QString answer = Host.EllipsClick ? Host.EllipsClick(text()) : text();
    setText(answer);
    selectAll();
    update();
    TEsgEditBtn::ButtonClick();
    if (StopEditAfterClick && Host.HideEditor) {
        Host.HideEditor();
        FGrid.SetFocus();
    }
}

bool TGridEditBtn::event(QEvent* event)
{
    const bool claimTab = Host.WantsTab && Host.WantsTab();
    if (ClaimKey(event, claimTab, [this](QKeyEvent* key) { keyPressEvent(key); }))
        return true;
    return TEsgEditBtn::event(event);
}

// Answers true when the key is finished with.
bool TGridEditBtn::KeyDown(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (OnKeyDown)
        OnKeyDown(this, platform::VirtualKeyFromQt(key, mods), platform::ShiftStateFromQt(mods));
    if (key == Qt::Key_Escape) {
        setText(Host.CellCache ? Host.CellCache() : text());
    } else if (IsEnter(key) || IsTab(key) || key == Qt::Key_Up || key == Qt::Key_Down) {
        if (Host.Validate && !Host.Validate(text())) {
            setText(Host.ValidatedText ? Host.ValidatedText() : text());
            if (IsTab(key))
                end(false);
            else
                selectAll();
            update();
            return true;
        }
        if (Host.ValidatedText)
            setText(Host.ValidatedText());
        if (IsTab(key) && Host.GoTabs && Host.GoTabs() && Host.TabStep) {
            Host.TabStep(BackwardKey(event));
            return true;
        }
    }
    if (Host.DoneEdit)
        Host.DoneEdit(key, mods);
    if (IsEnter(key) && Host.AdvanceShow)
        Host.AdvanceShow();
    return true;
}

void TGridEditBtn::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    WorkMode = key != Qt::Key_Backspace && key != Qt::Key_Delete;
    FSelKeyDown = cursorPosition();
    if (event->modifiers() & Qt::ControlModifier) {
        TEsgEditBtn::keyPressEvent(event);
        return;
    }
    if (IsTakenKey(key)) {
        KeyDown(event);
        return;
    }
    if (FGrid.OnKeyDown) {
        int vk = platform::VirtualKeyFromQt(key, event->modifiers());
        FGrid.OnKeyDown(vk, platform::ShiftStateFromQt(event->modifiers()));
        if (vk == 0)
            return;
    }
    TypeChar(event, true);
}

void TGridEditBtn::TypeChar(QKeyEvent* event, bool fromGrid)
{
    const QString typed = event->text();
    if (typed.size() != 1 || !typed.at(0).isPrint()) {
        TEsgEditBtn::keyPressEvent(event);
        return;
    }
    QChar ch = typed.at(0);
    if (!NumberFilter(EditType, ch, *this, SelStart()))
        return;
    if (fromGrid && OnKeyPress) {
        OnKeyPress(ch);
        if (ch.isNull())
            return;  // vetoed
    }
    QKeyEvent changed(QEvent::KeyPress, event->key(), event->modifiers(), QString(ch), event->isAutoRepeat());
    TEsgEditBtn::keyPressEvent(&changed);
}

void TGridEditBtn::TypeStart(QChar ch)
{
    if (ch.isNull())
        return;
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
    TypeChar(&press, false);
}

void TGridEditBtn::keyReleaseEvent(QKeyEvent* event)
{
    int key = event->key();
    if (FGrid.OnKeyUp) {
        int vk = platform::VirtualKeyFromQt(key, event->modifiers());
        FGrid.OnKeyUp(vk, platform::ShiftStateFromQt(event->modifiers()));
        if (vk == 0)
            return;
    }
    const bool plain = !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    if ((key == Qt::Key_Left || key == Qt::Key_Right) && plain && !hasSelectedText()
        && FGrid.Navigation.CursorWalkEditor && Host.CursorWalk) {
        // Left walks only when the caret already stood at the start before the key.
        const bool walk = key == Qt::Key_Right ? cursorPosition() == int(text().size()) : FSelKeyDown == 0;
        if (walk) {
            Host.CursorWalk(key == Qt::Key_Right);
            return;
        }
    }
    if (!IsEnter(key))
        TEsgEditBtn::keyReleaseEvent(event);
    DoChange();
}

void TGridEditBtn::DoChange()
{
    if (!WorkMode || hasSelectedText() || !Lookup || LookupItems.isEmpty())
        return;
    const TCompletion c = CompleteText(text(), cursorPosition(), LookupItems, LookupCaseSensitive);
    if (!c.Found || c.Text == text())
        return;
    setText(c.Text);
    setSelection(c.SelStart, c.SelLength);
}

void TGridEditBtn::Paste()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    const bool hasText = data && data->hasText();
    PasteText(hasText ? data->text() : QString(), hasText);
}

void TGridEditBtn::PasteText(const QString& clip, bool hasText)
{
    bool allow = hasText;
    QString value = clip;
    if (OnClipboardPaste)
        OnClipboardPaste(this, allow);
    if (OnClipboardBeforePasteCell)
        OnClipboardBeforePasteCell(this, FGrid.Col(), FGrid.Row(), value, allow);
    if (!allow)
        return;
    // Only a line break that ends the text goes: a text of several lines keeps them.
    const int crlf = int(value.indexOf(QLatin1String("\r\n")));
    if (crlf >= 0 && crlf == value.size() - 2)
        value.chop(2);
    const bool replaced = hasSelectedText();
    const int start = SelStart();
    const int length = replaced ? int(selectedText().size()) : 0;
    setText(text().left(start) + value + text().mid(start + length));
    if (Host.SetCurrentCell)
        Host.SetCurrentCell(text());
    if (replaced)
        setSelection(start, int(value.size()));
    else
        setCursorPosition(start + int(value.size()));
}

void TGridEditBtn::mouseDoubleClickEvent(QMouseEvent* event)
{
    TEsgEditBtn::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && OnDblClickCell)
        OnDblClickCell(FGrid.Row(), FGrid.Col());
}

void TGridEditBtn::focusOutEvent(QFocusEvent* event)
{
    LeaveOnFocusOut(event, Host);
    TEsgEditBtn::focusOutEvent(event);
}

TGridUnitEditBtn::TGridUnitEditBtn(TExtStringGrid& grid, QWidget* parent) : TEsgUnitEditBtn(parent), FGrid(grid)
{
    setFrame(false);
    SetButtonCaption(QStringLiteral("..."));
}

void TGridUnitEditBtn::ButtonClick()
{
    const QString answer = Host.EllipsClick ? Host.EllipsClick(text()) : text();
    setText(answer);
    selectAll();
    update();
    TEsgUnitEditBtn::ButtonClick();
}

bool TGridUnitEditBtn::event(QEvent* event)
{
    const bool claimTab = Host.GoTabs && Host.GoTabs();
    if (ClaimKey(event, claimTab, [this](QKeyEvent* key) { keyPressEvent(key); }))
        return true;
    return TEsgUnitEditBtn::event(event);
}

bool TGridUnitEditBtn::Filter(QChar ch) const
{
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    if (EditType == edNumericUnitEditBtn || EditType == edFloatUnitEditBtn)
        return NumberFilter(EditType, ch, *this, selStart);
    return true;
}

bool TGridUnitEditBtn::KeyDown(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (IsEnter(key) || IsTab(key) || key == Qt::Key_Up || key == Qt::Key_Down) {
        const bool valid = !Host.Validate || Host.Validate(TextAndUnit());
        // Either way the editor shows the cell's value as the validation left it.
        if (Host.CurrentCellText)
            SetTextAndUnit(Host.CurrentCellText());
        if (!valid)
            return true;
        if (IsEnter(key) && FGrid.Navigation.AdvanceOnEnter) {
            if (Host.DoneEdit)
                Host.DoneEdit(key, mods);
            if (Host.AdvanceShow)
                Host.AdvanceShow();
            return true;
        }
        if (IsTab(key) && Host.GoTabs && Host.GoTabs() && Host.TabStep) {
            Host.TabStep(BackwardKey(event));
            return true;
        }
    }
    if (key == Qt::Key_Escape) {
        // The cell's whole text goes back unchanged, its unit included.
        SetUnitID(QString());
        setText(Host.CurrentCellText ? Host.CurrentCellText() : TextAndUnit());
    }
    if (Host.DoneEdit)
        Host.DoneEdit(key, mods);
    return true;
}

void TGridUnitEditBtn::keyPressEvent(QKeyEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier) && IsTakenKey(event->key())) {
        KeyDown(event);
        return;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && typed.at(0).isPrint() && !(event->modifiers() & Qt::ControlModifier)
        && !Filter(typed.at(0)))
        return;
    TEsgUnitEditBtn::keyPressEvent(event);
}

void TGridUnitEditBtn::TypeStart(QChar ch)
{
    if (ch.isNull() || !Filter(ch))
        return;
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
    TEsgUnitEditBtn::keyPressEvent(&press);
}

void TGridUnitEditBtn::focusOutEvent(QFocusEvent* event)
{
    LeaveOnFocusOut(event, Host);
    TEsgUnitEditBtn::focusOutEvent(event);
}

}  // namespace grid::editors
