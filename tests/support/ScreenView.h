#pragma once
#include <QImage>
#include <QPoint>
#include <QWidget>
#include <Qt>

// What a user sees of a shown window: the pixels its backing store keeps between paints. Only the
// control's own invalidations repaint them, so an action whose repaint is missing leaves the old
// picture on screen here, as it would on a monitor (a fresh grab() would render anew and hide it).
// Keys go through the window system's routing (focus widget, shortcuts, key overrides), as a real
// key press does, not straight into one widget.
namespace testsupport {

class ScreenView {
public:
    // Shows the top-level window of `w` and lets its first paint happen.
    explicit ScreenView(QWidget* w);

    // Lets pending repaints and queued work run, as the event loop would before the next frame.
    static void Settle();

    // The window's kept pixels under `w` (default: the widget given at construction), after Settle.
    QImage Image(QWidget* w = nullptr) const;
    // One kept pixel at a point of `w`'s client coordinates.
    QRgb Pixel(QPoint p, QWidget* w = nullptr) const;

    // A key press and release delivered to the window, which routes it to its focus widget.
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) const;
    // Text typed through the same routing.
    void Type(const QString& text) const;

private:
    QWidget* Target;
};

}  // namespace testsupport
