// Draws the main window's three picture-only button glyphs and writes their pixels as C++
// arrays, which the flat button's library compiles in: the program shows them without painting
// them at every start.
//   DrawMainGlyphs <output file>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

#include "controls/buttons_pages/GlyphDrawing.h"

namespace {

using namespace controls::glyph_drawing;

constexpr int Size = 32;

void Draw_Glyph_Info(QPainter& p)
{
    QRadialGradient g(QPointF(12, 10), 20);
    g.setColorAt(0, QColor(96, 160, 240));
    g.setColorAt(1, QColor(16, 72, 168));
    p.setPen(QPen(QColor(8, 48, 120), 1.2));
    p.setBrush(g);
    p.drawEllipse(QRectF(2.5, 2.5, 27, 27));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.5), 2.4, 2.4);
    p.drawRoundedRect(QRectF(13.8, 13.5, 4.4, 12), 1.2, 1.2);
    p.drawRect(QRectF(11.5, 13.5, 4, 2));
    p.drawRect(QRectF(11.5, 24, 9, 2));
}

QPainterPath GearPath()
{
    const QPointF c(16, 16);
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        // Each tooth: two points on the outer radius, two on the root radius.
        const double a = (i / double(teeth * 4)) * 2 * M_PI - M_PI / (teeth * 4);
        const double r = (i % 4 == 0 || i % 4 == 1) ? 14.0 : 10.5;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            gear.moveTo(pt);
        else
            gear.lineTo(pt);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, 4.5, 4.5);
    return gear.subtracted(hole);
}

void Draw_Glyph_Options(QPainter& p)
{
    const QPainterPath gear = GearPath();
    QLinearGradient g(0, 2, 0, 30);
    g.setColorAt(0, QColor(150, 150, 160));
    g.setColorAt(1, QColor(70, 70, 84));
    p.setPen(QPen(QColor(40, 40, 48), 1.0));
    p.setBrush(g);
    p.drawPath(gear);
}

void Draw_Glyph_Close(QPainter& p)
{
    QLinearGradient g(0, 3, 0, 29);
    g.setColorAt(0, QColor(236, 84, 72));
    g.setColorAt(1, QColor(168, 16, 16));
    p.setPen(QPen(QColor(120, 8, 8), 1.2));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(3.5, 3.5, 25, 25), 5, 5);
    Cross(p, QRectF(10, 10, 12, 12), 3.4, Qt::white);
}

QByteArray PixelArray(const char* name, void (*draw)(QPainter&))
{
    QImage img = Blank(Size, Size);
    {
        Pen pen(img);
        draw(pen.p);
    }
    QByteArray out = "constexpr uint32_t " + QByteArray(name) + "[MainGlyphSize * MainGlyphSize] = {";
    for (int y = 0; y < Size; ++y) {
        out += "\n   ";
        for (int x = 0; x < Size; ++x)
            out += " 0x" + QByteArray::number(img.pixel(x, y), 16).rightJustified(8, '0') + ",";
    }
    return out + "\n};\n";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: DrawMainGlyphs <output file>\n");
        return 2;
    }
    QByteArray text = "// Written by DrawMainGlyphs: ARGB pixels, row by row.\n"
                      "constexpr int MainGlyphSize = " + QByteArray::number(Size) + ";\n";
    text += PixelArray("Glyph_Info_Pixels", Draw_Glyph_Info);
    text += PixelArray("Glyph_Options_Pixels", Draw_Glyph_Options);
    text += PixelArray("Glyph_Close_Pixels", Draw_Glyph_Close);
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text) != text.size()) {
        std::fprintf(stderr, "DrawMainGlyphs: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
