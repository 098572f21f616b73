#include "platform/PaintGuard.h"

#include "platform/Dialogs.h"
#include "platform/Guard.h"

#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace platform {

void TPaintGuard::DrawErrorMark(QPainter& painter, const QRect& area)
{
    painter.save();
    painter.resetTransform();
    painter.setClipping(false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(area, Qt::white);
    painter.setPen(QPen(Qt::red, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    painter.drawLine(area.topLeft(), area.bottomRight());
    painter.drawLine(area.bottomLeft(), area.topRight());
    painter.restore();
}

void TPaintGuard::Run(QWidget* widget, QPainter& painter, const QRect& area, const std::function<void()>& paint)
{
    QString message;
    try {
        paint();
        FFailing = false;
        return;
    } catch (...) {
        message = CurrentErrorMessage();
    }
    DrawErrorMark(painter, area);
    if (FFailing && message == FMessage)
        return;
    FFailing = true;
    FMessage = message;
    // A modal box inside a paint would repaint the window it covers from within this paint.
    QTimer::singleShot(0, widget, [message] {
        MessageDlg(message, TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
    });
}

}  // namespace platform
