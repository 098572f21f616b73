#pragma once
#include <QImage>
#include <QString>

#include "controls/common/EsgHTMLE.h"
#include "platform/TCanvas.h"

namespace htmltest {

// The font every rendering test lays text out in.
inline platform::TFont TestFont()
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(13);
    return platform::TFont(f, platform::clBlack);
}

inline QImage WhiteImage(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

// The plain extent of a text in a font (single line, no prefix processing).
inline QSize PlainSize(const QString& text, const platform::TFont& font)
{
    platform::TCanvas canvas;
    canvas.Font = font;
    return QSize(canvas.TextWidth(text), canvas.TextHeight(text));
}

inline int GhHeight(const platform::TFont& font = TestFont()) { return PlainSize(QStringLiteral("gh"), font).height(); }

// Leftmost and rightmost columns holding a pixel that is not white; (-1, -1) for none.
inline std::pair<int, int> InkColumns(const QImage& img, int top = 0, int bottom = -1)
{
    if (bottom < 0)
        bottom = img.height();
    int left = -1, right = -1;
    for (int x = 0; x < img.width(); ++x)
        for (int y = top; y < bottom; ++y)
            if (img.pixelColor(x, y) != QColor(Qt::white)) {
                if (left < 0)
                    left = x;
                right = x;
                break;
            }
    return {left, right};
}

inline int CountPixels(const QImage& img, const std::function<bool(QColor)>& match)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (match(img.pixelColor(x, y)))
                ++n;
    return n;
}

}  // namespace htmltest
