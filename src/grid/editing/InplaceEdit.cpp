#include "grid/editing/InplaceEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QMetaObject>
#include <QPointer>
#include <QRegularExpression>

#include "grid/core/ExtColumnGrid.h"
#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridTextUtils.h"
#include "grid/editing/GridEditController.h"
#include "platform/Guard.h"

namespace grid::editing {

namespace {
using platform::VK_DOWN;
using platform::VK_RETURN;
using platform::VK_TAB;
using platform::VK_UP;

platform::TShiftState ShiftOf(const QKeyEvent* e) { return platform::ShiftStateFromQt(e->modifiers()); }

template <typename T>
struct TScoped {
    T& Ref;
    T Old;
    TScoped(T& ref, T value) : Ref(ref), Old(std::exchange(ref, value)) {}
    ~TScoped() { Ref = Old; }
};
}  // namespace

bool IsCellHtml(const QString& s) { return s.contains(QLatin1Char('<')) && s.contains(QLatin1Char('>')); }

QString StripCellHtml(const QString& s)
{
    if (!IsCellHtml(s))
        return s;
    static const QRegularExpression breaks(QStringLiteral("<br\\s*/?>"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    QString t = s;
    t.replace(breaks, QStringLiteral("\n"));
    t.remove(tags);
    t.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    t.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    t.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    t.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    t.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return t;
}

TExtInplaceEdit::TExtInplaceEdit(TGridEditController& controller)
    : QLineEdit(controller.Grid.Client()), FController(controller), FGrid(controller.Grid)
{
    hide();
    setFrame(false);
    // Dropped text would pass by the character filter and the length limit.
    setDragEnabled(false);
    setAcceptDrops(false);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { TextEdited(text); });
}

void TExtInplaceEdit::SetShownText(const QString& raw)
{
    FRawText = raw;
    FShownText = EditWithTags ? raw : StripCellHtml(raw);
    setText(FShownText);
    // A text longer than the box holds is shown cut; left as it is, the cell keeps it whole.
    if (FShownText.size() > maxLength() && text() == FShownText.left(maxLength()))
        FShownText = text();
}

QString TExtInplaceEdit::CellValue() const { return text() == FShownText ? FRawText : text(); }

int TExtInplaceEdit::EditLimit() const
{
    if (auto* columns = dynamic_cast<const TExtColumnGrid*>(&FGrid); columns && columns->GetEditLimit() > 0)
        return columns->GetEditLimit();
    return FGrid.MaxEditLength();
}

void TExtInplaceEdit::ApplyLengthLimit()
{
    LengthLimit = EditLimit();
    // Setting the maximum length sets the text again, which would drop the selection.
    if (const int want = LengthLimit > 0 ? LengthLimit : 32767; maxLength() != want) {
        const int start = selectionStart(), length = selectedText().size(), caret = cursorPosition();
        setMaxLength(want);
        if (start >= 0)
            setSelection(start, length);
        else
            setCursorPosition(caret);
    }
}

void TExtInplaceEdit::UpdateContents()
{
    const bool oldNoChange = std::exchange(FController.FNoEditChange, true);
    FColE = FGrid.Col();
    FRowE = FGrid.Row();
    const int rc = FGrid.DisplToRealCol(FColE);
    LengthLimit = EditLimit();
    setMaxLength(LengthLimit > 0 ? LengthLimit : 32767);
    setEchoMode(FController.EditControl() == edPassword ? QLineEdit::Password : QLineEdit::Normal);
    // The base cell of a merge holds the text; the editor shows it without its mark-up.
    const TPoint b = FGrid.BaseCell(FColE, FRowE);
    SetShownText(FGrid.GetCellEx(FGrid.DisplToRealCol(b.X), b.Y));
    TAlignment hAlign = taLeftJustify;
    TVAlignment vAlign = vtaTop;
    FGrid.GetCellAlignment(rc, FRowE, hAlign, vAlign);
    setAlignment(hAlign == taRightJustify ? Qt::AlignRight | Qt::AlignVCenter
                 : hAlign == taCenter     ? Qt::AlignHCenter | Qt::AlignVCenter
                                          : Qt::AlignLeft | Qt::AlignVCenter);
    FController.GetEditorProp(rc, FRowE, nullptr);
    if (FGrid.Navigation.EditSelectAll)
        selectAll();
    else
        end(false);
    FWorkmode = true;
    FController.FNoEditChange = oldNoChange;
    // A character that started the edit is typed once into the editor.
    if (const QChar start = std::exchange(FController.FStartEditChar, QChar()); !start.isNull()) {
        QChar ch = start;
        bool beep = false;
        selectAll();
        if (FilterChar(ch, false, false, beep)) {
            insert(QString(ch));
            DoChange();
        }
    }
}

void TExtInplaceEdit::PlaceOnCell()
{
    if (FColE < 0 || FRowE < 0)
        return;
    setGeometry(EditorRect(FGrid, FColE, FRowE));
}

void TExtInplaceEdit::SetLButPress(const QPoint& clientPos)
{
    FLButFlg = true;
    FLButPos = clientPos;
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
    case edValidChars: {
        // An empty character list leaves the choice to the character set.
        const bool ok = FController.ValidChars.isEmpty() ? ch.unicode() < 256 && ValidCharSet.test(ch.unicode())
                                                         : FController.ValidChars.contains(ch);
        if (ok)
            return true;
        beep = true;
        return false;
    }
    default:
        return false;
    }
}

bool TExtInplaceEdit::event(QEvent* e)
{
    // Tab ends the edit here only when the grid wants it; otherwise it moves the focus on and the
    // loss of the focus takes the value back.
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            if (FController.WantsTabInEditor()) {
                keyPressEvent(k);
                return true;
            }
            // The focus goes to the control after (or before) the grid, not to the grid itself.
            const bool back = k->key() == Qt::Key_Backtab || (k->modifiers() & Qt::ShiftModifier);
            QWidget* window = FGrid.window();
            QWidget* w = back ? FGrid.previousInFocusChain() : FGrid.nextInFocusChain();
            while (w && w != &FGrid &&
                   (FGrid.isAncestorOf(w) || !(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(window) ||
                    !w->isEnabled()))
                w = back ? w->previousInFocusChain() : w->nextInFocusChain();
            if (w && w != &FGrid) {
                w->setFocus(back ? Qt::BacktabFocusReason : Qt::TabFocusReason);
                return true;
            }
        }
    }
    return QLineEdit::event(e);
}

void TExtInplaceEdit::RefusedValue()
{
    TScoped noChange(FController.FNoEditChange, true);
    setText(FController.NewCellText());
    if (FGrid.Navigation.EditSelectAll)
        selectAll();
    else
        end(false);
}

bool TExtInplaceEdit::ValueAccepted(const QString& old)
{
    if (FController.ValidateCell(CellValue()))
        return true;
    RefusedValue();
    FController.SetOldCellText(old);
    return false;
}

void TExtInplaceEdit::ShowNewCellText()
{
    TScoped noChange(FController.FNoEditChange, true);
    SetShownText(FController.NewCellText());
}

// Walking out of the editor by the cursor keys: Shift leaves the editor on its cell, a plain key
// goes on to the neighbouring cell; a check box or button next to the cell is moved to directly.
bool TExtInplaceEdit::WalkOut(bool left, bool shift, const QString& old)
{
    TGridEditController& c = FController;
    const int col = FGrid.Col(), row = FGrid.Row();
    auto hide = [&] {
        c.FEditing = false;
        c.HideInplaceEdit();
    };
    if (!shift) {
        const TPoint span = FGrid.CellSpan(FGrid.DisplToRealCol(col), row);
        const int next = left ? col - 1 : col + span.X + 1;
        const int lastData = FGrid.ColCount() - FGrid.FixedRightCols - 1;
        if (next >= c.FirstDataCol() && next <= lastData && FGrid.IsCheckOrButtonCell(FGrid.DisplToRealCol(next), row)) {
            if (!ValueAccepted(old))
                return true;
            hide();
            FGrid.SetFocus();
            FGrid.MoveColRow(next, row);
            return true;
        }
    }
    if (!ValueAccepted(old))
        return true;
    hide();
    FGrid.SetFocus();
    if (!shift) {
        const TAdvanceDirection saved = FGrid.Navigation.AdvanceDirection();
        FGrid.Navigation.SetAdvanceDirection(adLeftRight);
        const bool edit = FGrid.Navigation.CursorWalkAlwaysEdit;
        c.AdvanceEdit(col, row, true, edit, !left, false, edit);
        FGrid.Navigation.SetAdvanceDirection(saved);
    }
    return true;
}

void TExtInplaceEdit::keyPressEvent(QKeyEvent* e)
{
    TGridEditController& c = FController;
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const bool alt = e->modifiers() & Qt::AltModifier;
    const int key = e->key();
    const QString old = c.OldCellText();
    FSelKeyDown = cursorPosition();
    FWorkmode = key != Qt::Key_Backspace && key != Qt::Key_Delete;
    if (key == Qt::Key_Backspace && alt) {
        FAltBack = true;
        return;
    }
    if (key == Qt::Key_Escape) {
        {
            TScoped noChange(c.FNoEditChange, true);
            SetShownText(c.CellCache());
        }
        c.FEditing = false;
        c.HideInplaceEdit();
        return;
    }
    if (ctrl && key == Qt::Key_A) {
        selectAll();
        return;
    }
    // The clipboard goes through the grid's events, the filter and the length limit.
    if (e->matches(QKeySequence::Paste) || (shift && !ctrl && key == Qt::Key_Insert)) {
        PasteFromClipboard();
        return;
    }
    if (e->matches(QKeySequence::Copy) || (ctrl && !shift && key == Qt::Key_Insert)) {
        CopyToClipboard(false);
        return;
    }
    if (e->matches(QKeySequence::Cut) || (shift && !ctrl && key == Qt::Key_Delete)) {
        CopyToClipboard(true);
        return;
    }
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        const bool backward = shift || key == Qt::Key_Backtab;
        if (!ValueAccepted(old))
            return;
        ShowNewCellText();
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
        if (!ValueAccepted(old))
            return;
        ShowNewCellText();
        const QPointer<TExtStringGrid> grid(&FGrid);
        c.DoneInplaceEdit(VK_RETURN, ShiftOf(e));
        // The committed Enter goes on to the grid's key press, where the windows hook their own
        // Enter handling (such as moving to the next cell).
        if (grid && grid->OnKeyPress)
            platform::Guarded([&] {
                QChar enter(VK_RETURN);
                grid->OnKeyPress(enter);
            });
        return;
    }
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        if (!ValueAccepted(old))
            return;
        ShowNewCellText();
        c.DoneInplaceEdit(key == Qt::Key_Up ? VK_UP : VK_DOWN, ShiftOf(e));
        return;
    }
    if ((key == Qt::Key_Left || key == Qt::Key_Right) && FGrid.Navigation.CursorWalkEditor && !hasSelectedText() &&
        !ctrl) {
        const bool left = key == Qt::Key_Left;
        const bool atEdge = left ? cursorPosition() == 0 : cursorPosition() == text().length();
        if (atEdge && WalkOut(left, shift, old))
            return;
    }
    const QString typed = e->text();
    if (typed.size() == 1 && typed.at(0).isPrint() && !alt) {
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
        DoChange();
        SizeWhileTyping();
        // A full text moves on as Enter would.
        const int maxLen = FGrid.MaxEditLength();
        if (FGrid.Navigation.AdvanceAuto() && FGrid.Navigation.AdvanceOnEnter && maxLen > 0 &&
            text().length() == maxLen && !hasSelectedText() && cursorPosition() == text().length()) {
            if (!ValueAccepted(old))
                return;
            setText(c.NewCellText());
            c.DoneInplaceEdit(VK_RETURN, 0);
        }
        return;
    }
    QLineEdit::keyPressEvent(e);
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete)
        SizeWhileTyping();
}

void TExtInplaceEdit::keyReleaseEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Backspace)
        FAltBack = false;
    QLineEdit::keyReleaseEvent(e);
}

void TExtInplaceEdit::DoChange()
{
    if (!Lookup || LookupItems.isEmpty() || !FWorkmode || hasSelectedText())
        return;
    const int caret = cursorPosition();
    const QString typed = text().left(caret);
    if (typed.isEmpty())
        return;
    const Qt::CaseSensitivity cs = LookupCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (const QString& item : LookupItems) {
        if (!item.startsWith(typed, cs))
            continue;
        const QString rest = item.mid(typed.size()).left(255);
        if (rest.isEmpty())
            return;
        setText(typed + rest);
        setSelection(typed.size(), rest.size());
        return;
    }
}

// The column widens, or the row grows, to the text while typing.
void TExtInplaceEdit::SizeWhileTyping()
{
    const int c = FColE, r = FRowE;
    if (c < 0 || r < 0 || c >= FGrid.ColCount() || r >= FGrid.RowCount())
        return;
    bool changed = false;
    if (FGrid.SizeWhileTyping.Width) {
        const int want = fontMetrics().horizontalAdvance(text()) + 8;
        if (want > FGrid.ColWidths(c)) {
            FGrid.SetColWidths(c, want);
            changed = true;
        }
    }
    if (FGrid.SizeWhileTyping.Height && (FGrid.Multilinecells || text().contains(QLatin1Char('\n')))) {
        TScoped synch(FGrid.ColumnSize.SynchWithGrid, false);
        const int before = FGrid.RowHeights(r);
        FGrid.AutoSizeRow(r);
        changed = changed || before != FGrid.RowHeights(r);
        if (FGrid.OnEndRowSize)
            FGrid.OnEndRowSize(&FGrid, r);
    }
    if (changed)
        PlaceOnCell();
}

void TExtInplaceEdit::CopyToClipboard(bool cut)
{
    bool allow = true;
    if (const auto& handler = cut ? OnClipboardCut : OnClipboardCopy)
        handler(this, allow);
    if (!allow)
        return;
    if (cut)
        QLineEdit::cut();
    else
        QLineEdit::copy();
}

void TExtInplaceEdit::PasteFromClipboard()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    PasteText(QGuiApplication::clipboard()->text(), data && data->hasText());
}

void TExtInplaceEdit::PasteText(QString value, bool allow)
{
    if (OnClipboardPaste)
        OnClipboardPaste(this, allow);
    if (!allow)
        return;
    if (OnClipboardBeforePasteCell)
        OnClipboardBeforePasteCell(this, FGrid.Col(), FGrid.Row(), value, allow);
    if (!allow)
        return;
    const bool limited = LengthLimit > 0;
    if (!limited || value.size() <= LengthLimit) {
        // One final line break is the clipboard's, not the value's (CR LF, or LF on this system).
        const int crlf = value.indexOf(QStringLiteral("\r\n"));
        if (crlf >= 0 && crlf == value.size() - 2)
            value.chop(2);
        else if (crlf < 0 && value.indexOf(QLatin1Char('\n')) == value.size() - 1 && !value.isEmpty())
            value.chop(1);
        const bool hadSelection = hasSelectedText();
        const int start = hadSelection ? selectionStart() : cursorPosition();
        const int length = hadSelection ? selectedText().size() : 0;
        QString merged = text();
        merged.replace(start, length, value);
        if (!limited || merged.size() <= LengthLimit) {
            bool take = true;
            const TEditorType type = FController.EditControl();
            switch (type) {
            case edNumeric:
            case edPositiveNumeric:
                take = DetectNumberKind(merged) == nkInteger && !(type == edPositiveNumeric && merged.contains('-'));
                break;
            case edFloat:
            case edPositiveFloat: {
                const int kind = DetectNumberKind(merged);
                take = (kind == nkInteger || kind == nkDecimal) && !(type == edPositiveFloat && merged.contains('-'));
                break;
            }
            case edMixedCase: merged = CapitalizeWords(merged); break;
            case edLowerCase: merged = QLocale().toLower(merged); break;
            case edUpperCase: merged = QLocale().toUpper(merged); break;
            case edValidChars:
                for (const QChar ch : merged)
                    if (FController.ValidChars.isEmpty() ? !(ch.unicode() < 256 && ValidCharSet.test(ch.unicode()))
                                                         : !FController.ValidChars.contains(ch))
                        take = false;
                break;
            default: break;
            }
            if (take) {
                setText(merged);
                if (hadSelection)
                    setSelection(start, std::min<int>(value.size(), merged.size() - start));
                else
                    setCursorPosition(std::min<int>(start + value.size(), merged.size()));
            }
        }
    }
    if (FController.EditMode() && FColE == FGrid.Col() && FRowE == FGrid.Row())
        FController.SetEditCell(FGrid.DisplToRealCol(FColE), FRowE, CellValue());
    if (OnClipboardAfterPasteCell)
        OnClipboardAfterPasteCell(this, FGrid.Col(), FGrid.Row(), text());
}

void TExtInplaceEdit::contextMenuEvent(QContextMenuEvent* e)
{
    // The menu's clipboard entries take the same road as the keys.
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    for (QAction* action : menu->actions()) {
        const QString name = action->objectName();
        if (name != QLatin1String("edit-paste") && name != QLatin1String("edit-copy") &&
            name != QLatin1String("edit-cut"))
            continue;
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, this, [this, name] {
            if (name == QLatin1String("edit-paste"))
                PasteFromClipboard();
            else
                CopyToClipboard(name == QLatin1String("edit-cut"));
        });
    }
    menu->exec(e->globalPos());
}

void TExtInplaceEdit::TextEdited(const QString& text)
{
    TGridEditController& c = FController;
    if (!isVisible() || c.FNoEditChange)
        return;
    // The cell follows the editor while the user types.
    if (c.EditMode() && FColE == FGrid.Col() && FRowE == FGrid.Row())
        c.SetEditCell(FGrid.DisplToRealCol(FColE), FRowE, CellValue());
    if (FGrid.OnEditChange)
        FGrid.OnEditChange(&FGrid, FColE, FRowE, text);
}

void TExtInplaceEdit::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    FGotFocus = true;
    FController.FNoEditChange = false;
    ApplyLengthLimit();
    // An edit started by a press puts the caret under the mouse.
    if (std::exchange(FLButFlg, false) && geometry().contains(FLButPos)) {
        deselect();
        setCursorPosition(cursorPositionAt(FLButPos - pos()));
    }
}

void TExtInplaceEdit::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    TGridEditController& c = FController;
    c.FStartEditChar = QChar();
    if (LookupHistory && !text().isEmpty() && !LookupItems.contains(text()))
        LookupItems.append(text());
    if (!isVisible() || c.FBlockKill || c.Validating() || FHiding)
        return;
    // Leaving the editor takes the value back through validation wherever the focus went (not
    // while Alt+Backspace is held); a refused value keeps the editor open on its cell.
    if (!FAltBack && !c.ValidateCell(CellValue())) {
        RefusedValue();
        QPointer<TExtInplaceEdit> self(this);
        QMetaObject::invokeMethod(
            this, [self] { if (self && self->isVisible()) self->setFocus(); }, Qt::QueuedConnection);
        return;
    }
    FAltBack = false;
    if (FRowE < FGrid.RowCount()) {
        TScoped noChange(c.FNoEditChange, true);
        SetShownText(FGrid.GetCellEx(FGrid.DisplToRealCol(FColE), FRowE));
    }
    FHiding = true;
    c.FEditing = false;
    c.HideInplaceEdit();
    FHiding = false;
    c.FEditModeOn = false;
    if (std::exchange(FGotFocus, false))
        c.NotifyEditingDone(FGrid.DisplToRealCol(FColE), FRowE);
}

void TExtInplaceEdit::hideEvent(QHideEvent* e)
{
    // The grid writes the shown text back as it hides the editor; a text the user left alone
    // keeps its mark-up.
    if (text() == FShownText && FRawText != FShownText && FRowE >= 0 && FRowE < FGrid.RowCount() && FColE >= 0 &&
        FGrid.GetCellEx(FGrid.DisplToRealCol(FColE), FRowE) == FShownText) {
        TScoped noChange(FController.FNoEditChange, true);
        FGrid.SetCellEx(FGrid.DisplToRealCol(FColE), FRowE, FRawText);
    }
    QLineEdit::hideEvent(e);
}

void TExtInplaceEdit::mouseDoubleClickEvent(QMouseEvent* e)
{
    QLineEdit::mouseDoubleClickEvent(e);
    if (auto& handler = FGrid.OnDblClickCell)
        handler(&FGrid, FGrid.Row(), FGrid.Col());
}

}  // namespace grid::editing
