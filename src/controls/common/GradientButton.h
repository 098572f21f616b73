#pragma once
#include "platform/TCanvas.h"

#include <QRect>

// Gradient fills and the three-dimensional button face that the grid's selected cells and the
// drop-downs' selected items share.
namespace controls {

using platform::TColor;

// Pen and brush solid, width 1, in one colour.
void SetPenBrush(platform::TCanvas& canvas, TColor color);
// A line from (x1, y1) up to, not including, (x2, y2).
void Line(platform::TCanvas& canvas, int x1, int y1, int x2, int y2);
// A gradient that tolerates clNone: a missing end fills flat with the other colour, a zero-height
// rectangle draws nothing. steps + 1 bands, the last in the end colour.
void DrawGridGradient(platform::TCanvas& canvas, TColor from, TColor to, int steps, QRect r, bool horizontal);
// A 3D button face whose sides can stay open so that neighbouring segments join; kind 0 closed,
// 1 open right, 2 open left, 3 open both, 4 open both with inset border lines. The face is drawn
// within the rectangle less one pixel at the right and two at the bottom, where grid lines go.
void DrawGradientButton(platform::TCanvas& canvas, TColor color, TColor colorTo, TColor mirror, TColor mirrorTo,
                        TColor upperLine, TColor lowerLine, TColor border, TColor corner, TColor background,
                        QRect r, int kind = 0);

}  // namespace controls
