#pragma once
#include <QRect>

#include "grid/core/GridTypes.h"
#include "platform/TCanvas.h"

// Small pieces the grid's cell painting shares between its layers.
namespace grid {

// The canvas font of a font description: points at 96 pixels per inch, clNone drawn black.
platform::TFont CanvasFont(const TFontDesc& font);
QRect ToQRect(const TRect& r);

}  // namespace grid
