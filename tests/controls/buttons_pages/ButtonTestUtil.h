#pragma once
#include "platform/TCanvas.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>

// Pixel helpers for the button tests.
namespace buttons_test {

// The buttons' default face and the colour of a pressed button.
constexpr platform::TColor Face = 0x00EDF7F8;
constexpr platform::TColor DownColor = 0x000080FF;

inline QRgb Rgb(platform::TColor c) { return platform::ToQColor(c).rgb(); }

inline QRgb At(const QImage& img, int x, int y) { return img.pixel(x, y) | 0xFF000000; }

inline QImage Shot(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The bounding box of the pixels that differ from the background inside the area.
inline QRect InkBox(const QImage& img, QRgb background, const QRect& area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((img.pixel(x, y) | 0xFF000000) != (background | 0xFF000000))
                box |= QRect(x, y, 1, 1);
    return box;
}

// The darkest channel value inside the area (255 for an empty area).
inline int DarkestChannel(const QImage& img, const QRect& area)
{
    int darkest = 255;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = img.pixel(x, y);
            darkest = std::min({darkest, qRed(p), qGreen(p), qBlue(p)});
        }
    return darkest;
}

// A strip of four 10x10 glyph frames, each a square of its own colour on a transparent border.
inline const QRgb Frame_Colours[4] = {qRgb(200, 0, 0), qRgb(0, 160, 0), qRgb(0, 0, 200), qRgb(160, 0, 160)};
inline QImage Four_Frame_Strip()
{
    QImage strip(40, 10, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    for (int f = 0; f < 4; ++f)
        for (int y = 2; y < 8; ++y)
            for (int x = 2; x < 8; ++x)
                strip.setPixel(f * 10 + x, y, Frame_Colours[f]);
    return strip;
}

}  // namespace buttons_test
