#include "platform/EditorHost.h"

#include "platform/Guard.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

namespace platform {

TEditorHost::TEditorHost(TCustomControl* control) : QObject(control), FControl(control) {}

bool TEditorHost::IsEditorPart(QObject* object) const
{
    for (QObject* o = object; o; o = o->parent())
        if (o == FEditor)
            return true;
    return false;
}

void TEditorHost::Open(QWidget* editor, const QRect& rect)
{
    if (!editor)
        return;
    if (Editing() && FEditor != editor && !Commit())
        return;
    if (FEditor && FEditor != editor) {
        FEditor->removeEventFilter(this);
        for (QWidget* child : FEditor->findChildren<QWidget*>())
            child->removeEventFilter(this);
    }
    FEditor = editor;
    if (editor->parentWidget() != FControl->Client())
        editor->setParent(FControl->Client());
    editor->installEventFilter(this);
    for (QWidget* child : editor->findChildren<QWidget*>())
        child->installEventFilter(this);
    editor->setGeometry(rect);
    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
}

void TEditorHost::SetBounds(const QRect& rect)
{
    if (FEditor)
        FEditor->setGeometry(rect);
}

void TEditorHost::Close()
{
    if (!FEditor)
        return;
    FClosing = true;
    const bool hadFocus = IsEditorPart(QApplication::focusWidget());
    FEditor->hide();
    if (hadFocus)
        FControl->setFocus(Qt::OtherFocusReason);
    FClosing = false;
}

bool TEditorHost::Commit()
{
    if (!Editing())
        return true;
    // A refusal that shows a message moves the focus: that is no second commit.
    if (FCommitting)
        return false;
    bool accepted = true;
    if (OnCommit) {
        accepted = false;
        FCommitting = true;
        Guarded([&] { accepted = OnCommit(FEditor); });
        FCommitting = false;
    }
    if (accepted)
        Close();
    return accepted;
}

void TEditorHost::Cancel()
{
    if (!Editing())
        return;
    Close();
    if (OnCancel)
        Guarded([&] { OnCancel(FEditor); });
}

bool TEditorHost::KeyPressed(QKeyEvent* event)
{
    const TShiftState shift = ShiftStateFromQt(event->modifiers());
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    switch (event->key()) {
    case Qt::Key_Escape:
        Cancel();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (Commit())
            FControl->DeliverKeyDown(VK_RETURN, shift);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!plain)
            return false;
        if (Commit() && FControl->DeliverKeyDown(VK_TAB, shift) != 0)
            FControl->focusNextPrevChild(event->key() == Qt::Key_Tab && !(shift & ssShift));
        return true;
    default: break;
    }
    const int key = VirtualKeyFromQt(event->key(), event->modifiers());
    if (key == 0)
        return false;
    bool wanted = !(key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT);
    if (EditorWantsKey)
        wanted = EditorWantsKey(key, shift);
    return !wanted && FControl->DeliverKeyDown(key, shift) == 0;
}

bool TEditorHost::eventFilter(QObject* watched, QEvent* event)
{
    if (!FEditor || !IsEditorPart(watched) || FClosing)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (KeyPressed(static_cast<QKeyEvent*>(event)))
            return true;
        break;
    case QEvent::FocusOut: {
        // A menu or popup of the editor, or the window losing activation, leave the edit open.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
            !IsEditorPart(QApplication::focusWidget()) && Editing())
            Commit();
        break;
    }
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace platform
