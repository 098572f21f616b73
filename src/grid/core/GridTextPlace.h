#pragma once
#include "grid/core/GridTypes.h"

namespace grid {

// Where text rotated by angle degrees starts. The rotated text fills a box (c + d) wide and
// (a + b) high; the box is aligned inside r, and r's Left and Top become the text's origin, which
// lies at an offset from the box's corner that depends on the angle's quadrant. Right and Bottom
// stay. Screen and paper share the rule: on paper, with y growing upward, a and b come negated.
void PlaceRotatedText(TRect& r, TAlignment hAlign, TVAlignment vAlign, int a, int b, int c, int d, int angle);
// Text of the extent (width, height) rotated by angle degrees: r shrinks by 2 on every side and
// its top-left becomes the text's origin by the rule above.
void PlaceRotatedExtent(TRect& r, int angle, TPoint extent, TAlignment hAlign, TVAlignment vAlign);

}  // namespace grid
