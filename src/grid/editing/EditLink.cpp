#include "grid/editing/EditLink.h"
#include "platform/OwnedObject.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>

#include "grid/core/ExtColumnGrid.h"
#include "grid/core/ExtStringGrid.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/InplaceEdit.h"
#include "grid/editing/SpecialEditors.h"
#include "platform/Guard.h"

namespace grid::editing {

using namespace platform;

namespace {
// Sets a flag for a scope and puts the old value back.
struct TFlagSet {
    bool& Flag;
    bool Old;
    explicit TFlagSet(bool& flag) : Flag(flag), Old(flag) { Flag = true; }
    ~TFlagSet() { Flag = Old; }
};

bool IsArrow(int key) { return key >= VK_LEFT && key <= VK_DOWN; }
}  // namespace

TEditLink::TEditLink(QObject* owner) : QObject(owner) {}

TExtStringGrid* TEditLink::Grid() const { return FGrid; }

TEditLink::~TEditLink()
{
    if (FGrid) {
        if (FGrid->EditLink == this)
            FGrid->EditLink = nullptr;
        if (auto* columns = dynamic_cast<TExtColumnGrid*>(FGrid.data()))
            for (int i = 0; i < columns->Columns().Count(); ++i)
                if (TGridColumnItem* item = columns->Columns()[i]; item->EditLink == this)
                    item->EditLink = nullptr;
        if (TGridEditController* ctl = EditController(*FGrid))
            ctl->Specials().LinkGone(this);
    }
    if (FHooked) {
        FHooked->removeEventFilter(this);
        for (QWidget* child : FHooked->findChildren<QWidget*>())
            child->removeEventFilter(this);
    }
    // The pop-up form is the link's own and goes with it, whatever the application named.
    if (FPopup) {
        FPopup->removeEventFilter(this);
        platform::Destroy_Now(FPopup);
    }
}

QWidget* TEditLink::GetParent() const
{
    if (EditStyle == esPopup && FPopup)
        return FPopup;
    return FGrid ? FGrid->Client() : nullptr;
}

QString TEditLink::GetCellValue() const { return FGrid ? FGrid->Cells(FGrid->RealCol(), FGrid->Row()) : QString(); }

void TEditLink::SetCellValue(const QString& value)
{
    if (!FGrid)
        return;
    if (TGridEditController* ctl = EditController(*FGrid))
        ctl->SetEditCell(FGrid->RealCol(), FGrid->Row(), value);
    else
        FGrid->SetCellEx(FGrid->RealCol(), FGrid->Row(), value);
}

void TEditLink::HideEditor()
{
    if (!FGrid)
        return;
    SetCellValue(GetEditorValue());
    if (TGridEditController* ctl = EditController(*FGrid))
        ctl->HideInplaceEdit();
    RestoreWinProc();
}

void TEditLink::EditExit()
{
    HideEditor();
    if (EditStyle == esPopup && FPopup) {
        if (FHooked) {
            FHooked->removeEventFilter(this);
            for (QWidget* child : FHooked->findChildren<QWidget*>())
                child->removeEventFilter(this);
            FHooked = nullptr;
        }
        DestroyEditor();
        FPopup->hide();
    }
}

void TEditLink::FormExit()
{
    if (!FGrid)
        return;
    TGridEditController* ctl = EditController(*FGrid);
    if (ctl && ctl->NormalEdit() && ctl->NormalEdit()->isVisible())
        ctl->NormalEdit()->setText(GetEditorValue());
    if (FForcedExit) {
        SetCellValue(GetEditorValue());
        return;
    }
    EditExit();
    if (ctl)
        ctl->Specials().InvokedFocusChange = true;
}

void TEditLink::RestoreWinProc()
{
    QWidget* control = GetEditControl();
    if (!control || EditStyle != esInplace)
        return;
    if (FHooked) {
        FHooked->removeEventFilter(this);
        for (QWidget* child : FHooked->findChildren<QWidget*>())
            child->removeEventFilter(this);
        FHooked = nullptr;
    }
    FSubclassed = false;
    control->hide();
}

void TEditLink::SetFocus(bool value)
{
    QWidget* control = GetEditControl();
    if (value && control) {
        control->setVisible(true);
        control->setEnabled(true);
        // The control's keys pass the link first (in both styles); in place this also marks the
        // control as taken over by the grid until RestoreWinProc.
        if (FHooked != control) {
            control->installEventFilter(this);
            for (QWidget* child : control->findChildren<QWidget*>())
                child->installEventFilter(this);
            FHooked = control;
        }
        if (EditStyle == esInplace)
            FSubclassed = true;
    }
    if (value) {
        if (control)
            control->setFocus(Qt::OtherFocusReason);
    } else if (FGrid) {
        FGrid->SetFocus();
    }
}

void TEditLink::SetRect(QRect r)
{
    QWidget* control = GetEditControl();
    if (!control)
        return;
    const int line = FGrid ? FGrid->GridLineWidth : 0;
    control->setGeometry(r.left(), r.top(), std::max(0, r.width() - line), std::max(0, r.height() - line));
}

void TEditLink::SetVisible(bool value)
{
    if (QWidget* control = GetEditControl())
        control->setVisible(value);
}

QWidget* TEditLink::MakePopup(const QPoint& at)
{
    if (!FPopup) {
        // Parentless, so that it floats over everything; the link frees it.
        auto* form = new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        form->setObjectName(QStringLiteral("gridform"));
        form->installEventFilter(this);
        FPopup = form;
    }
    FPopup->move(at);
    return FPopup;
}

void TEditLink::Open(TExtStringGrid& grid, TPoint cell, const QRect& cellRect, TColor color, const TFontDesc& font,
                     const QString& text, QChar startChar)
{
    FGrid = &grid;
    EditCell = cell;
    if (EditStyle == esPopup) {
        if (AutoPopupWidth)
            PopupWidth = cellRect.width();
        const QPoint at = PopupLeft == -1 || PopupTop == -1 ? grid.Client()->mapToGlobal(cellRect.topLeft())
                                                            : QPoint(PopupLeft, PopupTop);
        QWidget* form = MakePopup(at);
        form->resize(1, 1);
        form->show();
        form->setGeometry(at.x(), at.y(), std::max(1, PopupWidth), std::max(1, PopupHeight));
        CreateEditor(form);
        SetRect(QRect(0, 0, PopupWidth, PopupHeight));
    } else {
        CreateEditor(grid.Client());
        SetRect(cellRect);
    }
    SetVisible(true);
    SetCellProps(color, font);
    SetProperties();
    if (TGridEditController* ctl = EditController(grid))
        ctl->GetEditorProp(cell.X, cell.Y, this);
    SetEditorValue(text);
    SetFocus(true);
    if (QWidget* control = GetEditControl(); control && !startChar.isNull()) {
        QWidget* target = control->focusWidget() ? control->focusWidget() : control;
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(startChar));
        QApplication::sendEvent(target, &press);
    }
}

bool TEditLink::LeavesEditor(int key, TShiftState shift) const
{
    switch (key) {
    case VK_TAB: return !WantTabs;
    case VK_RETURN: return !WantKeyReturn;
    case VK_ESCAPE: return !WantKeyEscape;
    case VK_PRIOR:
    case VK_NEXT: return !WantKeyPriorNext;
    case VK_HOME:
    case VK_END: return !WantKeyHomeEnd;
    case VK_LEFT:
    case VK_RIGHT: return !WantKeyLeftRight;
    case VK_UP:
    case VK_DOWN: return !WantKeyUpDown;
    default: return key != 0 && key != VK_MENU && (shift & ssAlt);
    }
}

void TEditLink::EditKeyDown(QObject* /*sender*/, int& key, TShiftState shift)
{
    if (!FGrid || !LeavesEditor(key, shift))
        return;
    QPointer<TExtStringGrid> grid = FGrid;
    TGridEditController* ctl = EditController(*grid);
    if (!ctl)
        return;
    TExtStringGrid& g = *grid;
    // The value is validated before the editor is left; refused, it stays in the editor.
    if (key != VK_ESCAPE) {
        const QString value = GetEditorValue();
        g.SetCurrentCell(value);
        if (!ctl->ValidateCell(value)) {
            if (grid && ctl->EditMode())
                SetEditorValue(ctl->NewCellText());
            key = 0;
            return;
        }
    }
    if (key == VK_TAB) {
        if (g.Navigation.TabToNextAtEnd) {
            {
                TFlagSet forced(FForcedExit);
                g.SetFocus();
                ctl->HideInplaceEdit();
            }
            key = 0;
            // A refused value keeps the editor open on its cell.
            if (ctl->EditMode())
                return;
            if (ctl->TabToNextCell(shift & ssShift) && !g.IsCheckOrButtonCell(g.RealCol(), g.Row()))
                QCoreApplication::postEvent(&g, new QKeyEvent(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier));
            return;
        }
        key = 0;
    }
    if (key == VK_ESCAPE)
        SetEditorValue(ctl->CellCache());
    {
        TFlagSet forced(FForcedExit);
        g.SetFocus();
        // Both write the editor's value back, leave the edit and validate it.
        if (EditStyle == esPopup)
            EditExit();
        else
            ctl->HideInplaceEdit();
    }
    if (!grid)
        return;
    const bool refused = ctl->EditMode();  // the editor opened again on its cell
    if (key == VK_RETURN && !refused) {
        ctl->AdvanceEdit(g.Col(), g.Row(), false, true, !(shift & ssShift), false, true);
        key = 0;
    } else if (!refused) {
        if (key == VK_ESCAPE) {
            key = 0;
        } else if (IsArrow(key)) {
            int k = key;
            if (!ctl->KeyDown(k, shift))
                g.DefaultKeyDown(k, shift);
            key = 0;
        }
        if (QWidget* control = GetEditControl())
            control->setEnabled(false);
        TFlagSet forced(FForcedExit);
        g.SetFocus();
    } else {
        key = 0;
    }
}

bool TEditLink::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FPopup) {
        if (event->type() == QEvent::WindowDeactivate && FPopup->isVisible())
            platform::Guarded([this] { FormExit(); });
        return false;
    }
    if (!FHooked || !watched->isWidgetType())
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // The leaving keys are the link's, before any shortcut of the window.
        auto* e = static_cast<QKeyEvent*>(event);
        const int vk = e->key() == Qt::Key_Backtab ? VK_TAB : VirtualKeyFromQt(e->key(), e->modifiers());
        if (vk == VK_ESCAPE || vk == VK_RETURN || vk == VK_TAB)
            e->accept();
        return false;
    }
    case QEvent::KeyPress: {
        auto* e = static_cast<QKeyEvent*>(event);
        TShiftState shift = ShiftStateFromQt(e->modifiers());
        int key = VirtualKeyFromQt(e->key(), e->modifiers());
        if (e->key() == Qt::Key_Backtab) {
            key = VK_TAB;
            shift |= ssShift;
        }
        if (!LeavesEditor(key, shift)) {
            // A navigation key the link keeps is the control's alone: it never reaches the grid.
            const bool kept = key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE ||
                              (key >= VK_PRIOR && key <= VK_DOWN);
            if (!kept)
                return false;
            static_cast<QObject*>(watched)->event(event);
            e->accept();  // an ignored key would go on to the grid
            return true;
        }
        platform::Guarded([&] { EditKeyDown(watched, key, shift); });
        e->accept();
        return true;
    }
    case QEvent::FocusOut: {
        auto* e = static_cast<QFocusEvent*>(event);
        if (FForcedExit || EditStyle != esInplace || e->reason() == Qt::PopupFocusReason ||
            e->reason() == Qt::ActiveWindowFocusReason)
            return false;
        QWidget* now = QApplication::focusWidget();
        if (now && FHooked && (now == FHooked || FHooked->isAncestorOf(now)))
            return false;
        // Deferred: the focus change finishes before the control goes.
        QPointer<TEditLink> self(this);
        QMetaObject::invokeMethod(
            this,
            [self] {
                if (!self || !self->FGrid || !self->FHooked)
                    return;
                QWidget* focus = QApplication::focusWidget();
                if (focus && (focus == self->FHooked || self->FHooked->isAncestorOf(focus)))
                    return;
                platform::Guarded([&] { self->EditExit(); });
            },
            Qt::QueuedConnection);
        return false;
    }
    default: return false;
    }
}

}  // namespace grid::editing
