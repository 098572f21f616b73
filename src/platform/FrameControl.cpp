#include "platform/FrameControl.h"

#include <QPolygon>
#include <algorithm>

namespace platform {

namespace {

void Line(TCanvas& canvas, TColor color, int x1, int y1, int x2, int y2)
{
    canvas.Pen.Color = color;
    canvas.Pen.Width = 1;
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

// One ring: top-left edges in `light`, bottom-right in `dark`.
void Ring(TCanvas& canvas, const QRect& r, TColor light, TColor dark, unsigned flags)
{
    const int l = r.left(), t = r.top(), rt = r.left() + r.width() - 1, b = r.top() + r.height() - 1;
    if (flags & BF_TOP)
        Line(canvas, light, l, t, rt, t);
    if (flags & BF_LEFT)
        Line(canvas, light, l, t, l, b);
    if (flags & BF_BOTTOM)
        Line(canvas, dark, l, b, rt + 1, b);
    if (flags & BF_RIGHT)
        Line(canvas, dark, rt, t, rt, b);
}

void Fill(TCanvas& canvas, const QRect& r, TColor color)
{
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = color;
    canvas.FillRect(r);
}

void CheckMark(TCanvas& canvas, const QRect& box, TColor color)
{
    // Seven columns of a three-pixel-high tick, centred in the box.
    const int x0 = box.left() + (box.width() - 7) / 2, y0 = box.top() + (box.height() - 7) / 2;
    static const int tops[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i)
        Line(canvas, color, x0 + i, y0 + tops[i], x0 + i, y0 + tops[i] + 3);
}

void Arrow(TCanvas& canvas, const QRect& r, unsigned dir, TColor color)
{
    const int cx = r.left() + r.width() / 2, cy = r.top() + r.height() / 2;
    const int s = std::max(2, std::min(r.width(), r.height()) / 4);
    QPolygon p;
    switch (dir) {
    case DFCS_SCROLLUP: p << QPoint(cx - s, cy + s / 2) << QPoint(cx + s, cy + s / 2) << QPoint(cx, cy - s / 2 - 1); break;
    case DFCS_SCROLLLEFT: p << QPoint(cx + s / 2, cy - s) << QPoint(cx + s / 2, cy + s) << QPoint(cx - s / 2 - 1, cy); break;
    case DFCS_SCROLLRIGHT: p << QPoint(cx - s / 2, cy - s) << QPoint(cx - s / 2, cy + s) << QPoint(cx + s / 2 + 1, cy); break;
    default: p << QPoint(cx - s, cy - s / 2) << QPoint(cx + s, cy - s / 2) << QPoint(cx, cy + s / 2 + 1); break;
    }
    canvas.Pen.Color = color;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = color;
    canvas.Polygon(p);
}

}  // namespace

bool DrawEdge(TCanvas& canvas, QRect& r, unsigned edge, unsigned flags)
{
    const TColor hi = ColorToRGB(clBtnHighlight), light = ColorToRGB(cl3DLight),
                 shadow = ColorToRGB(clBtnShadow), dark = ColorToRGB(cl3DDkShadow);
    QRect inner = r;
    // One ring a step inwards: raised or sunken, each with its top-left and bottom-right colours.
    auto ring = [&](unsigned raised, unsigned sunken, TColor raisedTopLeft, TColor raisedBottomRight,
                    TColor sunkenTopLeft, TColor sunkenBottomRight) {
        if (!(edge & (raised | sunken)))
            return;
        if (edge & raised)
            Ring(canvas, inner, raisedTopLeft, raisedBottomRight, flags);
        else
            Ring(canvas, inner, sunkenTopLeft, sunkenBottomRight, flags);
        inner.adjust(flags & BF_LEFT ? 1 : 0, flags & BF_TOP ? 1 : 0, flags & BF_RIGHT ? -1 : 0,
                     flags & BF_BOTTOM ? -1 : 0);
    };
    if (flags & (BF_FLAT | BF_MONO)) {
        const TColor outer = ColorToRGB(flags & BF_MONO ? clWindowFrame : clBtnShadow),
                     innerColor = ColorToRGB(flags & BF_MONO ? clWindow : clBtnFace);
        ring(BDR_RAISEDOUTER, BDR_SUNKENOUTER, outer, outer, outer, outer);
        ring(BDR_RAISEDINNER, BDR_SUNKENINNER, innerColor, innerColor, innerColor, innerColor);
    } else if (flags & BF_SOFT) {
        ring(BDR_RAISEDOUTER, BDR_SUNKENOUTER, hi, dark, shadow, hi);
        ring(BDR_RAISEDINNER, BDR_SUNKENINNER, light, shadow, dark, light);
    } else {
        ring(BDR_RAISEDOUTER, BDR_SUNKENOUTER, light, dark, shadow, hi);
        ring(BDR_RAISEDINNER, BDR_SUNKENINNER, hi, shadow, dark, light);
    }
    if (flags & BF_ADJUST)
        r = inner;
    return true;
}

bool DrawFrameControl(TCanvas& canvas, QRect& r, unsigned type, unsigned state)
{
    if (r.isEmpty())
        return false;
    const bool inactive = state & DFCS_INACTIVE, flat = state & DFCS_FLAT;
    const TColor face = ColorToRGB(clBtnFace), shadow = ColorToRGB(clBtnShadow),
                 text = ColorToRGB(inactive ? clGrayText : clBtnText);
    if (type == DFC_BUTTON && (state & 0xFF) == DFCS_BUTTONPUSH) {
        const bool pushed = state & (DFCS_PUSHED | DFCS_CHECKED);
        Fill(canvas, r, face);
        QRect inner = r;
        if (flat)
            Ring(canvas, inner, shadow, shadow, BF_RECT), inner.adjust(1, 1, -1, -1);
        else
            DrawEdge(canvas, inner, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
        if (state & DFCS_ADJUSTRECT)
            r = inner;
        return true;
    }
    if (type == DFC_BUTTON && (state & 0xFF) == DFCS_BUTTONRADIO) {
        const int d = std::min(r.width(), r.height());
        const QRect c(r.left(), r.top(), d, d);
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = ColorToRGB(inactive ? clBtnFace : clWindow);
        canvas.Pen.Width = 1;
        canvas.Pen.Color = shadow;
        canvas.Ellipse(c.left(), c.top(), c.left() + d, c.top() + d);
        if (state & DFCS_CHECKED) {
            const int m = std::max(2, d / 3);
            const int x = c.left() + (d - m) / 2, y = c.top() + (d - m) / 2;
            canvas.Pen.Color = text;
            canvas.Brush.Color = text;
            canvas.Ellipse(x, y, x + m, y + m);
        }
        return true;
    }
    if (type == DFC_BUTTON) {
        // Check box: a sunken (or flat) frame around a white box.
        QRect inner = r;
        if (flat) {
            Ring(canvas, inner, shadow, shadow, BF_RECT);
            inner.adjust(1, 1, -1, -1);
        } else {
            DrawEdge(canvas, inner, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        }
        const bool grayed = state & DFCS_BUTTON3STATE;
        Fill(canvas, inner, ColorToRGB(inactive || grayed ? clBtnFace : clWindow));
        if (state & DFCS_CHECKED)
            CheckMark(canvas, inner, grayed ? shadow : text);
        return true;
    }
    if (type == DFC_SCROLL) {
        const bool pushed = state & DFCS_PUSHED;
        Fill(canvas, r, face);
        QRect inner = r;
        if (flat)
            Ring(canvas, inner, shadow, shadow, BF_RECT);
        else
            DrawEdge(canvas, inner, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
        unsigned dir = state & 0xFF;
        if (dir == DFCS_SCROLLCOMBOBOX)
            dir = DFCS_SCROLLDOWN;
        QRect a = r;
        if (pushed)
            a.translate(1, 1);
        Arrow(canvas, a, dir, text);
        return true;
    }
    return false;
}

}  // namespace platform
