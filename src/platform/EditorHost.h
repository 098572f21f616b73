#pragma once
#include "platform/TCustomControl.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>

namespace platform {

// Lays a real editor widget over a rectangle of a control's client area and ends the edit the
// way an in-place editor does: Enter, Tab and the loss of the focus commit, Escape cancels.
// After a commit by Enter or Tab the key goes on to the control's KeyDown (to move on), and a Tab
// the control leaves alone moves the focus. Keys the editor does not want go to the control's
// KeyDown first; a key the control leaves alone then reaches the editor. The control owns the
// editor widget: closing hides it, so that it can serve again.
class TEditorHost : public QObject {
    Q_OBJECT
public:
    explicit TEditorHost(TCustomControl* control);

    // Makes the editor a child of the client area, lays it over the rectangle (client
    // coordinates), shows it and gives it the focus. An edit still open is committed first.
    void Open(QWidget* editor, const QRect& rect);
    void SetBounds(const QRect& rect);
    QWidget* Editor() const { return FEditor; }
    bool Editing() const { return FEditor && FEditor->isVisible(); }

    // Ends the edit when OnCommit accepts it (it may refuse: the editor stays open); true when closed.
    bool Commit();
    void Cancel();

    // Takes the editor's value; false keeps the editor open.
    std::function<bool(QWidget* editor)> OnCommit;
    std::function<void(QWidget* editor)> OnCancel;
    // Whether the editor keeps a key (virtual key code); by default all but Up, Down, PageUp and
    // PageDown, which move in the control.
    std::function<bool(int key, TShiftState shift)> EditorWantsKey;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsEditorPart(QObject* object) const;
    bool KeyPressed(QKeyEvent* event);
    void Close();

    TCustomControl* FControl;
    QPointer<QWidget> FEditor;
    bool FClosing = false;
    bool FCommitting = false;
};

}  // namespace platform
