#include "platform/PanGlyph.h"

#include <QPainter>
#include <QPolygonF>
#include <cmath>

namespace platform {

QImage PanningGlyph(std::initializer_list<QPoint> arrows, QColor background)
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(background);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawEllipse(QRect(3, 3, 25, 25));
    p.setBrush(Qt::black);
    p.drawRect(QRect(15, 15, 2, 2));
    const QPointF centre(16, 16);
    for (const QPoint& a : arrows) {
        QPointF u(a.x(), a.y());
        u /= std::hypot(u.x(), u.y());
        const QPointF v(-u.y(), u.x());
        const QPointF tip = centre + u * 10, base = centre + u * 5;
        p.drawPolygon(QPolygonF({tip, base + v * 4, base - v * 4}));
    }
    return img;
}

}  // namespace platform
