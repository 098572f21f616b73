#include "controls/buttons_pages/PicGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <cstdint>

#include "controls/buttons_pages/GlyphDrawing.h"

namespace controls {

namespace {

using namespace glyph_drawing;

void Check(QPainter& p, QPointF origin, double scale, const QColor& color)
{
    QPainterPath path;
    path.moveTo(origin + QPointF(3, 9) * scale);
    path.lineTo(origin + QPointF(7, 13) * scale);
    path.lineTo(origin + QPointF(15, 4) * scale);
    p.setPen(QPen(color, 2.6 * scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

QImage Frame(TPicButtonKind kind, int h)
{
    QImage img = Blank(18, h);
    Pen pen(img);
    QPainter& p = pen.p;
    switch (kind) {
    case bkOK:
    case bkYes:
        Check(p, QPointF(0, 0), 1.0, QColor(0, 128, 0));
        break;
    case bkCancel:
    case bkAbort:
        Cross(p, QRectF(4, 4, 10, 10), 2.6, QColor(192, 0, 0));
        break;
    case bkHelp: {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 64, 160));
        p.drawEllipse(QRectF(1.5, 1.5, 15, 15));
        QPainterPath q;
        q.moveTo(6.5, 7);
        q.cubicTo(6.5, 3.5, 11.5, 3.5, 11.5, 6.5);
        q.cubicTo(11.5, 8.5, 9, 8.5, 9, 11);
        p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(q);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(9, 13.6), 1.1, 1.1);
        break;
    }
    case bkNo:
        p.setPen(QPen(QColor(192, 0, 0), 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(3, 3, 12, 12));
        p.drawLine(QPointF(5, 13), QPointF(13, 5));
        break;
    case bkClose:
        p.setPen(QPen(QColor(96, 64, 32), 1.2));
        p.setBrush(QColor(176, 120, 64));
        p.drawRect(QRectF(4.5, 2.5, 9, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 224, 96));
        p.drawEllipse(QPointF(11.5, 9.5), 1.1, 1.1);
        break;
    case bkRetry: {
        p.setPen(QPen(QColor(0, 112, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3.5, 3.5, 11, 11), 60 * 16, 280 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 112, 0));
        p.drawPolygon(QPolygonF({QPointF(10, 1.5), QPointF(15.5, 4.5), QPointF(10.5, 8)}));
        break;
    }
    case bkIgnore:
        p.setPen(QPen(QColor(0, 64, 160), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3, 9), QPointF(12, 9));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 64, 160));
        p.drawPolygon(QPolygonF({QPointF(11, 5), QPointF(15.5, 9), QPointF(11, 13)}));
        p.setPen(QPen(QColor(0, 64, 160), 1.6));
        p.drawLine(QPointF(16, 4), QPointF(16, 14));
        break;
    case bkAll:
        Check(p, QPointF(-2, 1), 0.85, QColor(0, 128, 0));
        Check(p, QPointF(3, 3), 0.85, QColor(0, 128, 0));
        break;
    case bkCustom:
        break;
    }
    return img;
}

}  // namespace

QImage WithDisabledFrame(const QImage& picture)
{
    const QImage src = picture.convertToFormat(QImage::Format_ARGB32);
    const int w = src.width(), h = src.height();
    QImage strip = Blank(w * 2, h);
    QPainter p(&strip);
    p.drawImage(0, 0, src);
    // Disabled: a grey silhouette over a white one shifted by a pixel, the classic engraved look.
    QImage grey = Blank(w, h), white = Blank(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int a = qAlpha(src.pixel(x, y));
            if (a == 0)
                continue;
            grey.setPixel(x, y, qRgba(128, 128, 128, a));
            white.setPixel(x, y, qRgba(255, 255, 255, a));
        }
    // The white copy must not reach the bottom-left pixel, which marks the transparent colour.
    QImage whiteFrame = Blank(w, h);
    {
        QPainter q(&whiteFrame);
        q.drawImage(1, 1, white);
        q.drawImage(0, 0, grey);
    }
    whiteFrame.setPixel(0, h - 1, qRgba(0, 0, 0, 0));
    p.drawImage(w, 0, whiteFrame);
    return strip;
}

QImage KindGlyph(TPicButtonKind kind)
{
    if (kind == bkCustom)
        return QImage();
    return WithDisabledFrame(Frame(kind, kind == bkAll ? 19 : 18));
}

QImage PicButtonArrow()
{
    QImage img = Blank(5, 3);
    for (int row = 0; row < 3; ++row)
        for (int x = row; x < 5 - row; ++x)
            img.setPixel(x, row, qRgb(0, 0, 0));
    // The bottom-left pixel is transparent: the mark's own colour must not be taken for it.
    return img;
}

namespace {

// The pictures come drawn from the build (glyph_pixels/DrawMainGlyphs.cpp): painting them with
// antialiasing at every start cost more than the rest of the main window's own code.
#include "MainGlyphPixels.inc"

QPixmap FromPixels(const uint32_t (&pixels)[MainGlyphSize * MainGlyphSize])
{
    return QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(pixels), MainGlyphSize, MainGlyphSize,
                                     MainGlyphSize * 4, QImage::Format_ARGB32));
}

}  // namespace

QPixmap Glyph_Info() { return FromPixels(Glyph_Info_Pixels); }
QPixmap Glyph_Options() { return FromPixels(Glyph_Options_Pixels); }
QPixmap Glyph_Close() { return FromPixels(Glyph_Close_Pixels); }

}  // namespace controls
