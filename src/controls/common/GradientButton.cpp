#include "controls/common/GradientButton.h"

#include <algorithm>
#include <cmath>

namespace controls {

using platform::TBrushStyle;
using platform::TCanvas;
using platform::TPenStyle;

namespace {

int RoundHalfEven(double v) { return int(std::nearbyint(v)); }
int Right(const QRect& r) { return r.left() + r.width(); }
int Bottom(const QRect& r) { return r.top() + r.height(); }

}  // namespace

void SetPenBrush(TCanvas& canvas, TColor color)
{
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = color;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = color;
}

void Line(TCanvas& canvas, int x1, int y1, int x2, int y2)
{
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

void DrawGridGradient(TCanvas& canvas, TColor from, TColor to, int steps, QRect r, bool horizontal)
{
    if (r.height() == 0 || r.width() == 0)
        return;
    r = r.normalized();
    if (from == clNone || to == clNone) {
        const TColor flat = from == clNone ? to : from;
        if (flat == clNone)
            return;
        SetPenBrush(canvas, flat);
        canvas.Rectangle(r);
        return;
    }
    // Unlike the drop-down gradient, steps + 1 bands that end on the end colour: the grid's
    // headers and buttons must reach their last colour at the far edge.
    const int full = horizontal ? r.width() : r.height();
    const int extent = full - 1;
    steps = std::max(1, std::min(steps, extent));
    const double band = double(extent) / steps;
    const TColor a = platform::ColorToRGB(from), b = platform::ColorToRGB(to);
    const double stepR = double(platform::GetRValue(b) - platform::GetRValue(a)) / steps;
    const double stepG = double(platform::GetGValue(b) - platform::GetGValue(a)) / steps;
    const double stepB = double(platform::GetBValue(b) - platform::GetBValue(a)) / steps;
    for (int i = 0; i <= steps; ++i) {
        SetPenBrush(canvas, platform::RGBToColor(platform::GetRValue(a) + RoundHalfEven(i * stepR),
                                                 platform::GetGValue(a) + RoundHalfEven(i * stepG),
                                                 platform::GetBValue(a) + RoundHalfEven(i * stepB)));
        const int start = int(std::trunc(i * band));
        const int end = std::min(start + int(std::trunc(band + 1)), full);
        if (end <= start)
            continue;
        if (horizontal)
            canvas.Rectangle(r.left() + start, r.top(), r.left() + end, Bottom(r));
        else
            canvas.Rectangle(r.left(), r.top() + start, Right(r), r.top() + end);
    }
}

void DrawGradientButton(TCanvas& canvas, TColor color, TColor colorTo, TColor mirror, TColor mirrorTo,
                        TColor upperLine, TColor lowerLine, TColor border, TColor corner, TColor background,
                        QRect r, int kind)
{
    static constexpr struct {
        bool leftClosed, rightClosed;
        int leftInset, rightInset;
    } kinds[5] = {{true, true, 2, 2}, {true, false, 2, 0}, {false, true, 0, 2}, {false, false, 0, 0}, {false, false, 2, 2}};
    const auto& k = kinds[std::clamp(kind, 0, 4)];
    const int L = r.left(), T = r.top(), R = Right(r) - 1, B = Bottom(r) - 2, M = T + (B - T) / 2;
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    auto pen = [&](TColor c) { canvas.Pen.Color = c; };

    pen(upperLine);
    Line(canvas, L, T + 1, R, T + 1);
    if (k.leftClosed)
        Line(canvas, L + 1, T + 1, L + 1, M);
    if (k.rightClosed)
        Line(canvas, R - 2, T + 1, R - 2, M);

    pen(lowerLine);
    Line(canvas, L, B - 1, R, B - 1);
    if (k.leftClosed)
        Line(canvas, L + 1, M, L + 1, B - 1);
    if (k.rightClosed)
        Line(canvas, R - 2, M, R - 2, B - 1);

    pen(border);
    Line(canvas, L + k.leftInset, T, R - k.rightInset, T);
    Line(canvas, L + k.leftInset, B, R - k.rightInset, B);
    if (k.rightClosed)
        Line(canvas, R - 1, T + 2, R - 1, B - 1);
    if (k.leftClosed)
        Line(canvas, L, T + 2, L, B - 1);

    if (k.leftClosed) {
        for (QPoint p : {QPoint(L + 1, T), QPoint(L + 1, T + 1), QPoint(L, T + 1), QPoint(L + 1, B), QPoint(L + 1, B - 1),
                         QPoint(L, B - 1)})
            canvas.SetPixel(p.x(), p.y(), corner);
        canvas.SetPixel(L, T, background);
        canvas.SetPixel(L, B, background);
    }
    if (k.rightClosed) {
        for (QPoint p : {QPoint(R - 2, T), QPoint(R - 2, T + 1), QPoint(R - 1, T + 1), QPoint(R - 2, B), QPoint(R - 2, B - 1),
                         QPoint(R - 1, B - 1)})
            canvas.SetPixel(p.x(), p.y(), corner);
        canvas.SetPixel(R - 1, T, background);
        canvas.SetPixel(R - 1, B, background);
    }

    const QRect face = platform::Rect(L + k.leftInset, T + 2, R - k.rightInset, B - 1);
    if (face.isEmpty())
        return;
    if (colorTo == clNone) {
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = color;
        canvas.FillRect(face);
    } else if (mirror == clNone) {
        DrawGridGradient(canvas, color, colorTo, 16, face, false);
    } else {
        const int mid = face.top() + face.height() / 2;
        DrawGridGradient(canvas, color, colorTo, 16, platform::Rect(face.left(), face.top(), Right(face), mid), false);
        DrawGridGradient(canvas, mirror, mirrorTo, 16, platform::Rect(face.left(), mid, Right(face), Bottom(face)), false);
    }
}

}  // namespace controls
