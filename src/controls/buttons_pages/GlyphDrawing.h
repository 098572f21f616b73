#pragma once
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>

// What the pictures drawn in code share: the program's own (PicGlyphs.cpp) and those drawn by the
// build (glyph_pixels/DrawMainGlyphs.cpp).
namespace controls::glyph_drawing {

inline QImage Blank(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

// Pictures are drawn with antialiasing; the bottom-left pixel stays transparent, which is what
// the button reads as its transparent colour.
struct Pen {
    QPainter p;
    explicit Pen(QImage& img) : p(&img) { p.setRenderHint(QPainter::Antialiasing, true); }
};

inline void Cross(QPainter& p, const QRectF& r, double width, const QColor& color)
{
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
}

}  // namespace controls::glyph_drawing
