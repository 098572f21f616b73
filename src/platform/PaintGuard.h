#pragma once
#include <QRect>
#include <QString>
#include <functional>

class QPainter;
class QWidget;

namespace platform {

// Runs a widget's painting so that an error never opens a box inside the paint: the failed area
// shows an error mark instead and the error is reported in an error box once the paint is over.
// A failure that repeats with the same message on the following paints is not reported again
// (each report would repaint the window and fail anew); a paint that succeeds ends the failure.
class TPaintGuard {
public:
    // area: what the mark covers, in the painter's device coordinates.
    void Run(QWidget* widget, QPainter& painter, const QRect& area, const std::function<void()>& paint);
    bool Failing() const { return FFailing; }

    // Draws the mark shown in place of a failed picture.
    static void DrawErrorMark(QPainter& painter, const QRect& area);

private:
    bool FFailing = false;
    QString FMessage;
};

}  // namespace platform
