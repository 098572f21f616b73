#include "controls/dropdowns/DropDownEdit.h"
#include "platform/OwnedObject.h"

#include "controls/common/ExtXPVS.h"
#include "controls/dropdowns/DropDownStrips.h"
#include "platform/Clock.h"
#include "platform/Guard.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QToolTip>
#include <algorithm>

namespace dropdowns {

using namespace platform;

namespace {

// How long after the form lost activation a click may not reopen it.
constexpr qint64 ReopenGuardMs = 250;

bool IsNavigationKey(int key)
{
    switch (key) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_HOME: case VK_END: case VK_DELETE:
    case VK_PRIOR: case VK_NEXT: case VK_INSERT:
        return true;
    default:
        return false;
    }
}

Qt::Key QtKeyOf(int key)
{
    switch (key) {
    case VK_LEFT: return Qt::Key_Left;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_UP: return Qt::Key_Up;
    case VK_DOWN: return Qt::Key_Down;
    case VK_HOME: return Qt::Key_Home;
    case VK_END: return Qt::Key_End;
    case VK_DELETE: return Qt::Key_Delete;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_INSERT: return Qt::Key_Insert;
    default: return Qt::Key_unknown;
    }
}

Qt::KeyboardModifiers QtModifiersOf(TShiftState shift)
{
    Qt::KeyboardModifiers m;
    if (shift & ssShift)
        m |= Qt::ShiftModifier;
    if (shift & ssCtrl)
        m |= Qt::ControlModifier;
    if (shift & ssAlt)
        m |= Qt::AltModifier;
    return m;
}

}  // namespace

TExtCustomDropDown::TExtCustomDropDown(QWidget* parent) : QLineEdit(parent)
{
    resize(200, 21);
    setFrame(true);
    FDropDownHeader = std::make_unique<THeaderAppearance>(this);
    FDropDownFooter = std::make_unique<TFooterAppearance>(this);
    FButtonAppearance = std::make_unique<TExtButtonAppearance>();
    CreateDropDownForm();
    CreateDropDownButton();
    setReadOnly(false);
    SetText(QString());
    FOldText.clear();
    FDropDownHeader->OnChange = [this] { HeaderChanged(); };
    FDropDownHeader->OnButtonsChanged = [this] { HeaderChanged(); };
    FDropDownFooter->OnChange = [this] { FooterChanged(); };
    FDropDownFooter->OnButtonsChanged = [this] { FooterChanged(); };
    FIsThemed = controls::ComCtl32MajorVersion() > 5;
    SetSelectionColorStyle(scOffice2007);
    SetComponentStyle(controls::tsOffice2007Luna);
    connect(this, &QLineEdit::textChanged, this, [this] { TextChangedByEdit(); });
    setAttribute(Qt::WA_Hover);
    ResizeControl();
}

TExtCustomDropDown::~TExtCustomDropDown()
{
    FDestroying = true;
    if (FDropDownForm) {
        FDropDownForm->OnClose = nullptr;
        FDropDownForm->OnHide = nullptr;
        platform::Destroy_Now(FDropDownForm);
    }
}

// ---- The form's road

void TExtCustomDropDown::CreateDropDownForm()
{
    if (FDropDownForm)
        return;
    FDropDownForm = new TDropDownForm(this);
    FDropDownForm->SetExtDropDown(this);
    FDropDownForm->resize(std::max(FDropDownWidth, 0), std::max(FDropDownHeight, 0));
    FDropDownForm->OnClose = [this](bool) {
        if (FHiding)
            DropDownHidden();
        else
            FormClosedOutside();
    };
    FDropDownForm->OnKeyPress = [this](QChar& key) { FormKeyPress(key); };
    FDropDownForm->OnKeyDown = [this](int& key, unsigned shift) { FormKeyDown(key, shift); };
    FDropDownForm->OnKeyUp = [this](int& key, unsigned shift) { FormKeyUp(key, shift); };
    FDropDownForm->OnMouseWheelDown = [this](bool& handled) { FormMouseWheelDown(handled); };
    FDropDownForm->OnMouseWheelUp = [this](bool& handled) { FormMouseWheelUp(handled); };
    FDropDownForm->OnDestroy = [this] { DropDownFormDestroyed(); };
    FDropDownForm->OnSizing = [this] { FormSizing(); };
}

void TExtCustomDropDown::DoBeforeDropDown()
{
    if (OnBeforeDropDown)
        OnBeforeDropDown();
}

void TExtCustomDropDown::FocusDropDownControl()
{
    QWidget* control = FFocusControl;
    if (control && control->focusPolicy() != Qt::NoFocus && control->isEnabled() && !control->hasFocus())
        control->setFocus(Qt::PopupFocusReason);
}

void TExtCustomDropDown::PlaceDropDownControl()
{
    if (!FDropDownForm || !FControl)
        return;
    if (FControl->parentWidget() != FDropDownForm)
        FControl->setParent(FDropDownForm);
    const int top = FDropDownHeader->Visible() ? FDropDownHeader->Height + 2 : FDropDownBorderWidth;
    FControl->move(FControl->x(), top);
    FDropDownForm->LayoutChildren();
}

void TExtCustomDropDown::UpdateDropDownSize()
{
    if (!FDropDownForm)
        return;
    const bool control = FControl && FControl->isVisibleTo(FDropDownForm);
    int w = width();
    if (FDropDownWidth > 0)
        w = FDropDownWidth;
    else if (control)
        w = FControl->width();
    int h = 0;
    if (FDropDownHeight > 0) {
        h = FDropDownHeight;
    } else {
        h = 2 * FDropDownBorderWidth;
        if (FDropDownForm->Header() && FDropDownForm->Header()->isVisibleTo(FDropDownForm))
            h += FDropDownForm->Header()->height();
        if (FDropDownForm->Footer() && FDropDownForm->Footer()->isVisibleTo(FDropDownForm))
            h += FDropDownForm->Footer()->height();
        if (control)
            h += FControl->height();
    }
    FDropDownForm->resize(w, h);
}

void TExtCustomDropDown::DoShowDropDown()
{
    if (!FDropDownForm)
        CreateDropDownForm();
    if (!FDropDownForm || FDropDownForm->isVisible() || !isEnabled() || isReadOnly())
        return;
    DoBeforeDropDown();
    FDropDownForm->Shadow = FDropDownShadow;
    FDropDownForm->InitializeAndUpdate();
    UpdateDropDownSize();
    PlaceDropDownControl();
    FDropDownForm->setMinimumSize(80, 50);
    UpdateDropDownSize();
    if (FControl)
        FControl->installEventFilter(this);

    const QPoint p = mapToGlobal(QPoint(0, 0));
    QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
    const int screenHeight = scr ? scr->geometry().height() : 0;
    bool below = true;
    if (FDropPosition == dpUp)
        below = false;
    else if (FDropPosition == dpAuto)
        below = FDropDownForm->height() + p.y() < screenHeight;
    int x = p.x();
    int y = below ? p.y() + height() - 1 : p.y() - FDropDownForm->height();

    bool accept = true;
    if (OnDropDown)
        OnDropDown(this, accept);
    if (!accept)
        return;

    int w = FDropDownForm->width(), h = FDropDownForm->height();
    if (FUserDropDownWidth != -1)
        w = FUserDropDownWidth;
    if (FUserDropDownHeight != -1)
        h = FUserDropDownHeight;
    AdaptDropDownHeight(h);
    FDropDownForm->resize(std::max(w, 80), std::max(h, 50));
    FDroppedDown = true;
    // Placed at (x, y) and kept inside the work area on both axes.
    FDropDownForm->Popup(QRect(QPoint(x, y), QSize(0, 0)), ppBelow);
    FDropDownForm->LayoutChildren();
    FocusDropDownControl();
}

void TExtCustomDropDown::DoHideDropDown(bool cancelChanges)
{
    if (!FDropDownForm || !FDropDownForm->isVisible())
        return;
    if (OnBeforeDropUp)
        OnBeforeDropUp();
    FUserDropDownWidth = FDropDownForm->width();
    FUserDropDownHeight = FDropDownForm->height();
    FHiding = true;
    FDropDownForm->ClosePopup(cancelChanges);
    FHiding = false;
    QToolTip::hideText();
    if (cancelChanges)
        SetText(FOldText);
    if (OnDropUp)
        OnDropUp(this, cancelChanges);
}

void TExtCustomDropDown::FormClosedOutside()
{
    // The form already hid itself (a click outside it): the rest of the close happens now.
    FDropDownForm->SetDeActivateTime(NowMs());
    const bool cancel = FDropDownForm->CancelOnDeActivate;
    if (OnBeforeDropUp)
        OnBeforeDropUp();
    FUserDropDownWidth = FDropDownForm->width();
    FUserDropDownHeight = FDropDownForm->height();
    DropDownHidden();
    QToolTip::hideText();
    if (cancel)
        SetText(FOldText);
    if (OnDropUp)
        OnDropUp(this, cancel);
}

void TExtCustomDropDown::DropDownHidden()
{
    FDroppedDown = false;
    if (!FDestroying && focusPolicy() != Qt::NoFocus && isEnabled() && isVisible() && !hasFocus())
        setFocus(Qt::PopupFocusReason);
}

void TExtCustomDropDown::ClickDropDown()
{
    if (!FDropDownForm) {
        DoShowDropDown();
        return;
    }
    if (FDropDownForm->isVisible())
        return;
    const quint32 elapsed = quint32(NowMs() - FDropDownForm->DeActivateTime());
    if (FDropDownForm->DeActivateTime() == 0 || elapsed > ReopenGuardMs)
        DoShowDropDown();
}

void TExtCustomDropDown::HeaderChanged()
{
    if (FDropDownForm && FDroppedDown)
        FDropDownForm->InitializeAndUpdate();
}

void TExtCustomDropDown::FooterChanged()
{
    if (FDropDownForm && FDroppedDown)
        FDropDownForm->InitializeAndUpdate();
}

void TExtCustomDropDown::SetControl(QWidget* control)
{
    if (FControl == control)
        return;
    FControl = control;
    PlaceDropDownControl();
}

void TExtCustomDropDown::FormMouseWheelDown(bool& handled)
{
    Q_UNUSED(handled);
    SelectNextItem();
}

void TExtCustomDropDown::FormMouseWheelUp(bool& handled)
{
    Q_UNUSED(handled);
    SelectPreviousItem();
}

void TExtCustomDropDown::FormKeyPress(QChar& key)
{
    WMChar(key);
}

void TExtCustomDropDown::FormKeyDown(int& key, TShiftState shift)
{
    WMKeyDown(key, shift);
}

void TExtCustomDropDown::FormKeyUp(int& key, TShiftState shift)
{
    KeyUp(key, shift);
}

void TExtCustomDropDown::ControlKeyDown(int& key, TShiftState shift)
{
    WMKeyDown(key, shift);
}

void TExtCustomDropDown::ControlKeyUp(int& key, TShiftState shift)
{
    KeyUp(key, shift);
}

void TExtCustomDropDown::ControlKeyPress(QChar& key)
{
    WMChar(key);
}

bool TExtCustomDropDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FControl && FControl && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        auto* ke = static_cast<QKeyEvent*>(event);
        int key = VirtualKeyFromQt(ke->key(), ke->modifiers());
        const TShiftState shift = ShiftStateFromQt(ke->modifiers());
        bool consumed = false;
        Guarded([&] {
            if (event->type() == QEvent::KeyRelease) {
                if (key)
                    ControlKeyUp(key, shift);
                consumed = key == 0;
                return;
            }
            if (key) {
                ControlKeyDown(key, shift);
                consumed = key == 0;
            }
            const QString text = ke->text();
            if (!consumed && !text.isEmpty() && !(ke->modifiers() & Qt::AltModifier) && text.at(0).isPrint()) {
                QChar c = text.at(0);
                ControlKeyPress(c);
                consumed = c.isNull();
            }
        });
        if (consumed)
            return true;
    }
    return QLineEdit::eventFilter(watched, event);
}

bool TExtCustomDropDown::KeyCameFromControl() const
{
    QWidget* focus = FDropDownForm ? FDropDownForm->focusWidget() : nullptr;
    QWidget* control = FControl;
    return focus && control && focus != FDropDownForm && (focus == control || control->isAncestorOf(focus));
}

// ---- Keys

void TExtCustomDropDown::KeyDown(int& key, TShiftState shift)
{
    if (OnKeyDown)
        OnKeyDown(key, shift);
    if ((shift & ssAlt) && (key == VK_UP || key == VK_DOWN) && !FCurrentKeyToggled) {
        if (FDroppedDown)
            DoHideDropDown(false);
        else
            DoShowDropDown();
    }
}

void TExtCustomDropDown::KeyPress(QChar& key)
{
    if (OnKeyPress)
        OnKeyPress(key);
    if (key == QChar('\r'))
        key = QChar();
}

void TExtCustomDropDown::KeyUp(int& key, TShiftState shift)
{
    if (OnKeyUp)
        OnKeyUp(key, shift);
}

void TExtCustomDropDown::WMKeyDown(int key, TShiftState shift)
{
    HandleKeyDown(key, shift, nullptr);
}

void TExtCustomDropDown::BaseKeyDown(int key, TShiftState shift, QKeyEvent* event)
{
    KeyDown(key, shift);
    if (key == 0 || !IsNavigationKey(key))
        return;
    if (event && VirtualKeyFromQt(event->key(), event->modifiers()) == key) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent synthetic(QEvent::KeyPress, QtKeyOf(key), QtModifiersOf(shift));
    QLineEdit::keyPressEvent(&synthetic);
}

void TExtCustomDropDown::HandleKeyDown(int key, TShiftState shift, QKeyEvent* event)
{
    const bool toggleKey = (shift & ssAlt) && (key == VK_UP || key == VK_DOWN);
    FCurrentKeyToggled = false;
    if (toggleKey && !event) {
        // A key forwarded from the form or the inner control; the edit's own arrives at KeyDown.
        if (FDroppedDown)
            DoHideDropDown(false);
        else
            DoShowDropDown();
        FCurrentKeyToggled = true;
    }
    const bool f4 = key == VK_F4 && !(shift & (ssAlt | ssCtrl));
    auto toggleByForm = [this] {
        if (FDropDownForm && FDropDownForm->isVisible())
            DoHideDropDown(false);
        else
            DoShowDropDown();
    };
    if (!FEditorEnabled) {
        if (isEnabled()) {
            if (!isReadOnly()) {
                if (key == VK_RETURN)
                    DoHideDropDown(false);
                else if (key == VK_ESCAPE)
                    DoHideDropDown(true);
                else if (f4)
                    toggleByForm();
            }
            if (key == VK_RETURN || key == VK_ESCAPE)
                KeyDown(key, shift);
            else if (toggleKey && event)
                KeyDown(key, shift);
        }
        FCurrentKeyToggled = false;
        return;
    }
    if ((shift & ssCtrl) && (key == VK_TAB || key == VK_RETURN)) {
        KeyDown(key, shift);
        FCurrentKeyToggled = false;
        return;
    }
    if (key == VK_RETURN && FReturnIsTab) {
        key = VK_TAB;
        if (isVisible())
            focusNextChild();
    }
    const QString value = GetText();
    const int selEnd = selectionStart() >= 0 ? selectionEnd() : cursorPosition();
    const int prefixLen = int(FPrefix.size());
    if (!FSuffix.isEmpty()) {
        if (key == VK_RIGHT && selEnd >= prefixLen + value.size())
            key = 0;
        if (key == VK_DELETE && selEnd >= prefixLen + value.size()) {
            if (!hasSelectedText())
                key = 0;
            else
                SetModified(true);
        }
    }
    if (!FPrefix.isEmpty() && key == VK_LEFT && selEnd <= prefixLen)
        key = 0;
    if (key == VK_END && !FSuffix.isEmpty()) {
        const int end = prefixLen + int(value.size());
        if (shift & ssShift)
            setSelection(cursorPosition(), end - cursorPosition());
        else
            setCursorPosition(end);
        key = 0;
    }
    if (key == VK_HOME && !FPrefix.isEmpty()) {
        if (shift & ssShift)
            setSelection(prefixLen + int(value.size()), -int(value.size()));
        else
            setCursorPosition(prefixLen);
        key = 0;
    }
    if (key == VK_BACK && !FPrefix.isEmpty()) {
        if (cursorPosition() <= prefixLen + 1)
            key = 0;
        else
            SetModified(true);
    }
    if (key == VK_DELETE && cursorPosition() >= prefixLen) {
        if (FLengthLimit > 0) {
            QString after = value;
            const int caret = cursorPosition() - prefixLen;
            if (hasSelectedText())
                after.remove(selectionStart() - prefixLen, selectedText().size());
            else
                after.remove(caret, 1);
            if (GetIntegerLength(after) - 1 > FLengthLimit)
                key = 0;
            else
                SetModified(true);
        } else {
            SetModified(true);
        }
    }
    if (key != 0)
        BaseKeyDown(key, shift, event);
    if (key == VK_DELETE && FEditType == etMoney && !isReadOnly())
        ApplyThousandSeparator();
    if (cursorPosition() < prefixLen)
        setCursorPosition(prefixLen);
    if (key == VK_RETURN)
        DoHideDropDown(false);
    else if (key == VK_ESCAPE)
        DoHideDropDown(true);
    else if (f4)
        toggleByForm();
    FCurrentKeyToggled = false;
}

void TExtCustomDropDown::keyPressEvent(QKeyEvent* event)
{
    Guarded([&] {
        const int key = VirtualKeyFromQt(event->key(), event->modifiers());
        const TShiftState shift = ShiftStateFromQt(event->modifiers());
        const bool ctrl = event->modifiers() & Qt::ControlModifier;
        event->accept();
        // Enter and Esc of a closed edit go on to the window (its default and cancel buttons)
        // with DefaultHandling; Esc first undoes the selection and the modified flag.
        if (!FDroppedDown && (key == VK_ESCAPE || key == VK_RETURN) && !ctrl) {
            if (key == VK_ESCAPE && FCanUndo) {
                SelectAll();
                SetModified(false);
            } else if (key == VK_RETURN) {
                WMChar(QChar('\r'), shift);
            }
            if (FDefaultHandling)
                event->ignore();
            return;
        }
        if (event->matches(QKeySequence::Copy)) {
            CopyToClipboard();
            return;
        }
        if (event->matches(QKeySequence::Paste)) {
            PasteFromClipboard();
            return;
        }
        if (event->matches(QKeySequence::Cut)) {
            CutToClipboard();
            return;
        }
        if (key == VK_TAB) {
            event->ignore();
            return;
        }
        if (key)
            HandleKeyDown(key, shift, event);
        QChar ch;
        if (event->key() == Qt::Key_Backspace)
            ch = QChar('\b');
        else if (key == VK_RETURN)
            ch = QChar('\r');
        else if (key == VK_ESCAPE)
            ch = QChar(0x1b);
        else if (ctrl && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z)
            ch = QChar(event->key() - Qt::Key_A + 1);
        else if (!event->text().isEmpty() && event->text().at(0).isPrint() && !(event->modifiers() & Qt::AltModifier))
            ch = event->text().at(0);
        if (!ch.isNull()) {
            FCurrentKey = event;
            WMChar(ch, shift);
            FCurrentKey = nullptr;
        }
    });
}

void TExtCustomDropDown::keyReleaseEvent(QKeyEvent* event)
{
    Guarded([&] {
        int key = VirtualKeyFromQt(event->key(), event->modifiers());
        if (key)
            KeyUp(key, ShiftStateFromQt(event->modifiers()));
    });
    QLineEdit::keyReleaseEvent(event);
}

// ---- Focus and mouse

void TExtCustomDropDown::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    Guarded([&] {
        if (FEditorEnabled) {
            if (event->reason() != Qt::MouseFocusReason && event->reason() != Qt::PopupFocusReason)
                SelectAll();
            else if (FEditType == etFloat || FEditType == etMoney)
                SelectBeforeDecimal();
        }
        SetEditRect();
        RedrawBorder();
        update();
    });
}

void TExtCustomDropDown::focusOutEvent(QFocusEvent* event)
{
    Guarded([&] {
        const bool isNull = GetText().isEmpty();
        const bool modified = FIsModified;
        if (FPrecision > 0 && (FEditType == etFloat || FEditType == etMoney) && !(isNull && FAllowNumericNullValue)) {
            SetFloatValue(GetFloatValue());
            SetModified(modified);
        }
        if (FEditType == etNumeric && isNull && !FAllowNumericNullValue)
            SetText("0");
        if ((FEditType == etFloat || FEditType == etMoney) && GetText().isEmpty() && !FAllowNumericNullValue)
            SetFloatValue(0);
    });
    QLineEdit::focusOutEvent(event);
    RedrawBorder();
    update();
}

int TExtCustomDropDown::CharFromPos(const QPoint& pos) const
{
    return const_cast<TExtCustomDropDown*>(this)->cursorPositionAt(pos);
}

void TExtCustomDropDown::mousePressEvent(QMouseEvent* event)
{
    Guarded([&] {
        if (!FEditorEnabled) {
            QLineEdit::mousePressEvent(event);
            if (event->button() == Qt::LeftButton) {
                setFocus(Qt::MouseFocusReason);
                ClickDropDown();
            }
            return;
        }
        if (event->button() == Qt::LeftButton && hasFocus() && hasSelectedText()) {
            const int c = CharFromPos(event->position().toPoint());
            if (c >= selectionStart() && c <= selectionEnd()) {
                FButtonDown = true;
                return;
            }
        }
        QLineEdit::mousePressEvent(event);
    });
}

void TExtCustomDropDown::mouseReleaseEvent(QMouseEvent* event)
{
    Guarded([&] {
        if (FButtonDown) {
            FButtonDown = false;
            setCursorPosition(CharFromPos(event->position().toPoint()));
        }
        QLineEdit::mouseReleaseEvent(event);
        if (!FEditorEnabled || isReadOnly())
            update();
        const int prefixLen = int(FPrefix.size());
        const int valueEnd = prefixLen + int(GetText().size());
        if (!FPrefix.isEmpty() && cursorPosition() < prefixLen)
            setSelection(prefixLen, valueEnd - prefixLen);
        if (!FSuffix.isEmpty()) {
            if (!hasSelectedText() && cursorPosition() > valueEnd)
                setCursorPosition(valueEnd);
            else if (hasSelectedText() && selectionEnd() > valueEnd)
                setSelection(selectionStart(), valueEnd - selectionStart());
        }
    });
}

void TExtCustomDropDown::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (FEditorEnabled)
        QLineEdit::mouseDoubleClickEvent(event);
}

void TExtCustomDropDown::wheelEvent(QWheelEvent* event)
{
    QLineEdit::wheelEvent(event);
    Guarded([&] {
        if (event->angleDelta().y() < 0)
            SelectNextItem();
        else if (event->angleDelta().y() > 0)
            SelectPreviousItem();
    });
}

void TExtCustomDropDown::TextChangedByEdit()
{
    if (FBlockChange) {
        FBlockChange = false;
        return;
    }
    if (OnChange)
        Guarded([&] { OnChange(); });
}

void TExtCustomDropDown::SetModified(bool value)
{
    if (!FEditorEnabled || isReadOnly())
        return;
    setModified(value);
    FIsModified = value;
}

bool TExtCustomDropDown::GetIsModified() const
{
    return FIsModified;
}

// ---- Properties

void TExtCustomDropDown::SetDropDownWidth(int value)
{
    if (FDropDownWidth != value)
        FUserDropDownWidth = -1;
    FDropDownWidth = value;
}

void TExtCustomDropDown::SetDropDownHeight(int value)
{
    if (FDropDownHeight != value)
        FUserDropDownHeight = -1;
    FDropDownHeight = value;
}

void TExtCustomDropDown::SetEditorEnabled(bool value)
{
    FEditorEnabled = value;
    update();
}

void TExtCustomDropDown::SetDropDownButtonWidth(int value)
{
    if (!FButton || value == FButtonWidth)
        return;
    FButtonWidth = value;
    FButton->SetBWidth(value);
    ResizeControl();
}

void TExtCustomDropDown::SetDropDownButtonHint(const QString& value)
{
    if (value == FButtonHint)
        return;
    FButtonHint = value;
    if (FButton) {
        FButton->setToolTip(value);
        FButton->Button()->setToolTip(value);
    }
}

QImage TExtCustomDropDown::DropDownButtonGlyph() const
{
    return FButton ? FButton->Glyph() : QImage();
}

void TExtCustomDropDown::SetDropDownButtonGlyph(const QImage& value)
{
    if (FButton)
        FButton->SetGlyph(value);
}

void TExtCustomDropDown::Assign(const QObject* source)
{
    auto* s = qobject_cast<const TExtCustomDropDown*>(source);
    if (!s)
        return;
    FFocusDraw = s->FFocusDraw;
    FForceShadow = s->FForceShadow;
    FDropDownEnabled = s->FDropDownEnabled;
    FDropDownColor = s->FDropDownColor;
    FDropDownColorTo = s->FDropDownColorTo;
    FDropDownGradient = s->FDropDownGradient;
    FDropDownBorderColor = s->FDropDownBorderColor;
    FDropDownBorderWidth = s->FDropDownBorderWidth;
    FDropDownShadow = s->FDropDownShadow;
    SetDropDownWidth(s->FDropDownWidth);
    SetDropDownHeight(s->FDropDownHeight);
    FDropDownSizeable = s->FDropDownSizeable;
    FEditType = s->FEditType;
    FReturnIsTab = s->FReturnIsTab;
    FLengthLimit = s->FLengthLimit;
    FPrecision = s->FPrecision;
    FPrefix = s->FPrefix;
    FSuffix = s->FSuffix;
    FDefaultHandling = s->FDefaultHandling;
    FCanUndo = s->FCanUndo;
    FExcelStyleDecimalSeparator = s->FExcelStyleDecimalSeparator;
    FValidChars = s->FValidChars;
    FSigned = s->FSigned;
    FAutoThousandSeparator = s->FAutoThousandSeparator;
    FButtonAppearance->Assign(*s->FButtonAppearance);
    FDropDownHeader->Assign(*s->FDropDownHeader);
    FDropDownFooter->Assign(*s->FDropDownFooter);
    FDropPosition = s->FDropPosition;
    FFlat = s->FFlat;
    SetDropDownButtonWidth(s->FButtonWidth);
    SetDropDownButtonHint(s->FButtonHint);
    FEditorEnabled = s->FEditorEnabled;
    if (FButton && s->FButton) {
        FButton->SetGlyph(s->FButton->Glyph());
        FButton->SetButtonCaption(s->FButton->ButtonCaption());
    }
    FImages = s->FImages;
    FSelectionColorStyle = s->FSelectionColorStyle;
    FSelectionColor = s->FSelectionColor;
    FSelectionColorTo = s->FSelectionColorTo;
}

int SteppedItemIndex(int count, int index, int delta)
{
    if (count <= 0)
        return -1;
    if (index < 0)
        return 0;
    const int to = index + delta;
    return to >= 0 && to < count ? to : -1;
}

}  // namespace dropdowns
