#pragma once
#include "controls/dropdowns/WatchAppearance.h"
#include "platform/TCanvas.h"

#include <QColor>
#include <QImage>

namespace dropdowns_test {

// The colour of one pixel of a rendered picture.
inline platform::TColor Pixel(const QImage& image, int x, int y)
{
    return platform::FromQColor(QColor(image.pixel(x, y)));
}

// A time of day.
inline dropdowns::TDateTime T(int h, int m, int s = 0) { return dropdowns::EncodeTime(h, m, s, 0); }

}  // namespace dropdowns_test
using dropdowns_test::Pixel;
using dropdowns_test::T;
