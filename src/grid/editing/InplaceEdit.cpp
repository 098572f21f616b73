#include "grid/editing/InplaceEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMetaObject>
#include <QPointer>

#include "grid/core/ExtColumnGrid.h"
#include "grid/core/ExtStringGrid.h"
#include "grid/editing/GridEditController.h"

namespace grid::editing {

namespace {
constexpr int VK_TAB = 9, VK_RETURN = 13, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40;

platform::TShiftState ShiftOf(const QKeyEvent* e) { return platform::ShiftStateFromQt(e->modifiers()); }

// The first letter of every word upper-case, the rest as typed.
QString CapitalizeWords(const QString& text)
{
    QString out = text;
    bool start = true;
    for (QChar& ch : out) {
        if (ch.isLetterOrNumber()) {
            if (start)
                ch = ch.toUpper();
            start = false;
        } else {
            start = true;
        }
    }
    return out;
}
}  // namespace

TExtInplaceEdit::TExtInplaceEdit(TGridEditController& controller)
    : QLineEdit(controller.Grid.Client()), FController(controller), FGrid(controller.Grid)
{
    hide();
    setFrame(false);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { TextEdited(text); });
}

void TExtInplaceEdit::UpdateContents()
{
    const bool oldNoChange = FController.FNoEditChange;
    FController.FNoEditChange = true;
    FColE = FGrid.Col();
    FRowE = FGrid.Row();
    const int rc = FGrid.DisplToRealCol(FColE);
    int limit = FGrid.MaxEditLength();
    if (auto* columns = dynamic_cast<TExtColumnGrid*>(&FGrid); columns && columns->GetEditLimit() > 0)
        limit = columns->GetEditLimit();
    LengthLimit = limit;
    setMaxLength(limit > 0 ? limit : 32767);
    setEchoMode(FController.EditControl() == edPassword ? QLineEdit::Password : QLineEdit::Normal);
    setText(FGrid.GetCellEx(rc, FRowE));
    TAlignment hAlign = taLeftJustify;
    TVAlignment vAlign = vtaTop;
    FGrid.GetCellAlignment(rc, FRowE, hAlign, vAlign);
    setAlignment(hAlign == taRightJustify ? Qt::AlignRight | Qt::AlignVCenter
                 : hAlign == taCenter     ? Qt::AlignHCenter | Qt::AlignVCenter
                                          : Qt::AlignLeft | Qt::AlignVCenter);
    if (FController.OnGetEditorProp)
        FController.OnGetEditorProp(&FGrid, FColE, FRowE, nullptr);
    if (FGrid.Navigation.EditSelectAll)
        selectAll();
    else
        end(false);
    FController.FNoEditChange = oldNoChange;
    // A character that started the edit is typed once into the editor.
    if (const QChar start = std::exchange(FController.FStartEditChar, QChar()); !start.isNull()) {
        QChar ch = start;
        bool beep = false;
        selectAll();
        if (FilterChar(ch, false, false, beep))
            insert(QString(ch));
    }
}

void TExtInplaceEdit::PlaceOnCell()
{
    if (FColE < 0 || FRowE < 0)
        return;
    const TRect cell = FGrid.CellRect(FColE, FRowE);
    const TRect m = FGrid.MirrorRect(cell);
    const QRect r(m.Left, m.Top, m.Width(), m.Height());
    setGeometry(r.left(), r.top(), std::max(1, r.width() - 1), std::max(1, r.height() - 1));
}

bool TExtInplaceEdit::FilterChar(QChar& ch, bool ctrl, bool keypad, bool& beep)
{
    beep = false;
    const QLocale locale;
    const QChar decimal = locale.decimalPoint().at(0);
    const QChar thousand = locale.groupSeparator().isEmpty() ? QChar() : locale.groupSeparator().at(0);
    if (keypad && ch == '.' && FController.ExcelStyleDecimalSeparator)
        ch = decimal;
    const int caret = cursorPosition();
    const QString t = text();
    switch (FController.EditControl()) {
    case edNormal:
    case edPassword:
        return true;
    case edNumeric:
        if (ch.isDigit())
            return true;
        if (ch == '-' && !t.contains('-') && caret == 0)
            return true;
        beep = true;
        return false;
    case edPositiveNumeric:
        if (ch.isDigit())
            return true;
        beep = true;
        return false;
    case edFloat:
    case edPositiveFloat: {
        const bool isFloat = FController.EditControl() == edFloat;
        if (ch.isDigit())
            return true;
        if (ch == decimal) {
            const QString selected = selectedText();
            return !(t.contains(decimal) && !selected.contains(decimal));
        }
        if (!thousand.isNull() && ch == thousand)
            return false;
        if (ch == '-' && isFloat) {
            if (selectedText().contains('-'))
                return true;
            if (caret != 0 || t.contains('-')) {
                beep = true;
                return false;
            }
            return true;
        }
        return ctrl;
    }
    case edCapital:
    case edUpperCase:
        ch = locale.toUpper(QString(ch)).at(0);
        return true;
    case edLowerCase:
        ch = locale.toLower(QString(ch)).at(0);
        return true;
    case edMixedCase:
        return true;
    case edValidChars:
        if (FController.ValidChars.contains(ch))
            return true;
        beep = true;
        return false;
    default:
        return false;
    }
}

bool TExtInplaceEdit::event(QEvent* e)
{
    // Tab and Shift+Tab end the edit here instead of moving the focus.
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            keyPressEvent(k);
            return true;
        }
    }
    return QLineEdit::event(e);
}

void TExtInplaceEdit::RefusedValue()
{
    setText(FController.NewCellText());
    if (FGrid.Navigation.EditSelectAll)
        selectAll();
    else
        end(false);
}

void TExtInplaceEdit::keyPressEvent(QKeyEvent* e)
{
    TGridEditController& c = FController;
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const int key = e->key();
    const QString old = c.OldCellText();
    FSelKeyDown = cursorPosition();
    if (key == Qt::Key_Escape) {
        {
            const bool oldNoChange = std::exchange(c.FNoEditChange, true);
            setText(c.CellCache());
            c.FNoEditChange = oldNoChange;
        }
        c.FEditing = false;
        c.HideInplaceEdit();
        return;
    }
    if (ctrl && key == Qt::Key_A) {
        selectAll();
        return;
    }
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        const bool backward = shift || key == Qt::Key_Backtab;
        if (!c.ValidateCell(text())) {
            RefusedValue();
            c.SetOldCellText(old);
            return;
        }
        setText(c.NewCellText());
        if (FGrid.Options & goTabs) {
            c.FEditing = false;
            c.HideInplaceEdit();
            c.TabToNextCell(backward);
        } else {
            c.DoneInplaceEdit(VK_TAB, backward ? platform::ssShift : platform::TShiftState(0));
        }
        return;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !ctrl && !FGrid.Navigation.LineFeedOnEnter) {
        if (!c.ValidateCell(text())) {
            RefusedValue();
            c.SetOldCellText(old);
            return;
        }
        setText(c.NewCellText());
        c.DoneInplaceEdit(VK_RETURN, ShiftOf(e));
        return;
    }
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        if (!c.ValidateCell(text())) {
            RefusedValue();
            c.SetOldCellText(old);
            return;
        }
        setText(c.NewCellText());
        c.DoneInplaceEdit(key == Qt::Key_Up ? VK_UP : VK_DOWN, ShiftOf(e));
        return;
    }
    if ((key == Qt::Key_Left || key == Qt::Key_Right) && FGrid.Navigation.CursorWalkEditor && !hasSelectedText()) {
        const bool left = key == Qt::Key_Left;
        const bool atEdge = left ? cursorPosition() == 0 : cursorPosition() == text().length();
        if (atEdge) {
            if (!c.ValidateCell(text())) {
                RefusedValue();
                c.SetOldCellText(old);
                return;
            }
            setText(c.NewCellText());
            c.FEditing = false;
            c.HideInplaceEdit();
            FGrid.SetFocus();
            if (!shift) {
                const TAdvanceDirection saved = FGrid.Navigation.AdvanceDirection();
                FGrid.Navigation.SetAdvanceDirection(adLeftRight);
                c.AdvanceEdit(FGrid.Col(), FGrid.Row(), true, FGrid.Navigation.CursorWalkAlwaysEdit, !left, false,
                              FGrid.Navigation.CursorWalkAlwaysEdit);
                FGrid.Navigation.SetAdvanceDirection(saved);
            }
            return;
        }
    }
    const QString typed = e->text();
    if (typed.size() == 1 && typed.at(0).isPrint() && !(ctrl && !typed.at(0).isPrint())) {
        QChar ch = typed.at(0);
        bool beep = false;
        const bool keypad = e->modifiers() & Qt::KeypadModifier;
        if (!FilterChar(ch, ctrl, keypad, beep)) {
            if (beep)
                QApplication::beep();
            return;
        }
        insert(QString(ch));
        if (c.EditControl() == edMixedCase) {
            const int pos = cursorPosition();
            setText(CapitalizeWords(text()));
            setCursorPosition(pos);
        }
        // A full text moves on as Enter would.
        const int maxLen = FGrid.MaxEditLength();
        if (FGrid.Navigation.AdvanceAuto() && FGrid.Navigation.AdvanceOnEnter && maxLen > 0 &&
            text().length() == maxLen && !hasSelectedText() && cursorPosition() == text().length()) {
            if (!c.ValidateCell(text())) {
                RefusedValue();
                c.SetOldCellText(old);
                return;
            }
            setText(c.NewCellText());
            c.DoneInplaceEdit(VK_RETURN, 0);
        }
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TExtInplaceEdit::keyReleaseEvent(QKeyEvent* e) { QLineEdit::keyReleaseEvent(e); }

void TExtInplaceEdit::TextEdited(const QString& text)
{
    TGridEditController& c = FController;
    if (!isVisible() || c.FNoEditChange)
        return;
    // The cell follows the editor while the user types.
    if (c.EditMode() && FColE == FGrid.Col() && FRowE == FGrid.Row())
        c.SetEditCell(FGrid.DisplToRealCol(FColE), FRowE, text);
    if (FGrid.OnEditChange)
        FGrid.OnEditChange(&FGrid, FColE, FRowE, text);
}

void TExtInplaceEdit::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    FGotFocus = true;
    FController.FNoEditChange = false;
}

void TExtInplaceEdit::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    TGridEditController& c = FController;
    c.FStartEditChar = QChar();
    if (!isVisible() || c.FBlockKill || c.Validating() || FHiding)
        return;
    // Leaving the editor takes the value back through validation wherever the focus went; a
    // refused value keeps the editor open on its cell.
    if (!c.ValidateCell(text())) {
        RefusedValue();
        QPointer<TExtInplaceEdit> self(this);
        QMetaObject::invokeMethod(
            this, [self] { if (self && self->isVisible()) self->setFocus(); }, Qt::QueuedConnection);
        return;
    }
    {
        const bool oldNoChange = std::exchange(c.FNoEditChange, true);
        if (FRowE < FGrid.RowCount())
            setText(FGrid.GetCellEx(FGrid.DisplToRealCol(FColE), FRowE));
        c.FNoEditChange = oldNoChange;
    }
    FHiding = true;
    c.FEditing = false;
    c.HideInplaceEdit();
    FHiding = false;
    c.FEditModeOn = false;
    if (std::exchange(FGotFocus, false))
        c.NotifyEditingDone(FGrid.DisplToRealCol(FColE), FRowE);
}

void TExtInplaceEdit::mouseDoubleClickEvent(QMouseEvent* e)
{
    QLineEdit::mouseDoubleClickEvent(e);
    if (auto& handler = FController.OnDblClickCell)
        handler(&FGrid, FGrid.Row(), FGrid.Col());
}

}  // namespace grid::editing
