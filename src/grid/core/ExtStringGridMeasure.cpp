// Placement and measures of cell text.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridTextPlace.h"

namespace grid {

void PlaceRotatedText(TRect& r, TAlignment hAlign, TVAlignment vAlign, int a, int b, int c, int d, int angle)
{
    int ox = 0, oy = b;
    if (angle > 270) {
        ox = c;
        oy = 0;
    } else if (angle > 180) {
        ox = c + d;
        oy = a;
    } else if (angle > 90) {
        ox = d;
        oy = a + b;
    }
    const int boxWidth = c + d, boxHeight = a + b;
    int x = r.Left;
    if (hAlign == taRightJustify)
        x = r.Right - boxWidth;
    else if (hAlign == taCenter)
        x = r.Left + (r.Width() - boxWidth) / 2;
    int y = r.Top;
    if (vAlign == vtaBottom)
        y = r.Bottom - boxHeight;
    else if (vAlign == vtaCenter)
        y = r.Top - (boxHeight - r.Height()) / 2;
    r.Left = x + ox;
    r.Top = y + oy;
}

void PlaceRotatedExtent(TRect& r, int angle, TPoint extent, TAlignment hAlign, TVAlignment vAlign)
{
    r.Left += 2;
    r.Top += 2;
    r.Right -= 2;
    r.Bottom -= 2;
    const double a = angle * std::numbers::pi / 180;
    const int cw = std::abs(int(std::trunc(std::cos(a) * extent.X)));
    const int sh = std::abs(int(std::trunc(std::sin(a) * extent.Y)));
    const int sw = std::abs(int(std::trunc(std::sin(a) * extent.X)));
    const int ch = std::abs(int(std::trunc(std::cos(a) * extent.Y)));
    PlaceRotatedText(r, hAlign, vAlign, ch, sw, sh, cw, angle);
}

void TExtStringGrid::RotatedTextRect(TRect& rect, int angle, const QString& text, TAlignment hAlign,
                                     TVAlignment vAlign)
{
    PlaceRotatedExtent(rect, angle, MeasureText(text), hAlign, vAlign);
}

int TExtStringGrid::MaxLinesInRow(int r)
{
    if (ColCount() <= 0 || !Multilinecells)
        return 1;
    int most = 1;
    for (int c = 0; c < ColCount(); ++c)
        most = std::max(most, int(Cells(DisplToRealCol(c), r).count(QChar(13))) + 1);
    return most;
}

void TExtStringGrid::InvalidateGridRect(const TGridRect& r)
{
    const TRect from = RangeRect(FullCell(r.Left, r.Top));
    const TRect to = RangeRect(FullCell(r.Right, r.Bottom));
    InvalidateRect(TRect{std::min(from.Left, to.Left), std::min(from.Top, to.Top), std::max(from.Right, to.Right),
                         std::max(from.Bottom, to.Bottom)});
}

}  // namespace grid
