#include "grid/core/GridDraw.h"

#include <QPainter>
#include <QRegularExpression>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "controls/common/ExtXPVS.h"
#include "controls/dropdowns/DropDownDraw.h"
#include "grid/core/GridTextUtils.h"
#include "platform/FrameControl.h"

namespace grid {

using PBrush = platform::TBrushStyle;
using platform::TCanvas;
using platform::TPenStyle;
using controls::Line;
using controls::SetPenBrush;

namespace {

int RoundEven(double v) { return int(std::nearbyint(v)); }
int Right(const QRect& r) { return r.left() + r.width(); }
int Bottom(const QRect& r) { return r.top() + r.height(); }
TColor Rgb(TColor c) { return platform::ColorToRGB(c); }

}  // namespace

void DrawMirrorGradient(TCanvas& canvas, QRect r, TColor color, TColor colorTo, TColor mirror, TColor mirrorTo,
                        bool vertical, TColor border, bool sideLines, bool fill)
{
    if (fill && color != clNone) {
        if (mirror == clNone) {
            if (colorTo == clNone) {
                canvas.Brush.Style = PBrush::bsSolid;
                canvas.Brush.Color = color;
                canvas.FillRect(r.adjusted(0, 0, 0, 1));
            } else {
                DrawGridGradient(canvas, color, colorTo, 128, r, !vertical);
            }
        } else {
            QRect first = r, second = r;
            if (vertical) {
                first.setBottom(r.top() + r.height() / 2 - 1);
                second.setTop(r.top() + r.height() / 2);
            } else {
                first.setRight(r.left() + r.width() / 2 - 1);
                second.setLeft(r.left() + r.width() / 2);
            }
            DrawGridGradient(canvas, color, colorTo, 128, first, !vertical);
            DrawGridGradient(canvas, mirror, mirrorTo, 128, second, !vertical);
        }
    }
    if (border == clNone)
        return;
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = border;
    if (sideLines) {
        Line(canvas, r.left(), r.top(), r.left(), Bottom(r));
        Line(canvas, Right(r) - 1, r.top(), Right(r) - 1, Bottom(r));
    } else {
        canvas.Brush.Style = PBrush::bsSolid;
        canvas.Brush.Color = border;
        canvas.FrameRect(r);
    }
}

TColor InterpolateColor(TColor color, TColor second, int spanStart, int spanEnd, int position)
{
    if (second == clNone)
        return color;
    const TColor a = Rgb(color), b = Rgb(second);
    const int span = spanEnd - spanStart;
    if (span == 0)
        return a;
    auto ch = [&](int c1, int c2) { return std::clamp(c1 + RoundEven(double(c2 - c1) / span * position), 0, 255); };
    return platform::RGBToColor(ch(platform::GetRValue(a), platform::GetRValue(b)),
                                ch(platform::GetGValue(a), platform::GetGValue(b)),
                                ch(platform::GetBValue(a), platform::GetBValue(b)));
}

TColor HalfBrightColor(TColor color)
{
    const TColor c = Rgb(color);
    return platform::RGBToColor(platform::GetRValue(c) >> 1, platform::GetGValue(c) >> 1, platform::GetBValue(c) >> 1);
}

TColor ScaleColorBrightness(TColor color, int percent)
{
    const TColor c = Rgb(color);
    auto ch = [percent](int v) { return std::clamp(RoundEven(v + v * percent / 100.0), 0, 255); };
    return platform::RGBToColor(ch(platform::GetRValue(c)), ch(platform::GetGValue(c)), ch(platform::GetBValue(c)));
}

// ---- Parts: combo arrow, push button, spin buttons ----

namespace {

const controls::TColorTone& ToneOf(const controls::TColorTones& tones, TPartState state)
{
    switch (state) {
    case psHot: return tones.Hover;
    case psDown: return tones.Selected;
    case psDisabled: return tones.Disabled;
    default: return tones.Background;
    }
}

bool Themed(TCanvas& canvas, QWidget* window, const char* cls, int part, int state, const QRect& r)
{
    controls::HTHEME theme = controls::OpenThemeData(window, QString::fromLatin1(cls));
    const bool done = controls::DrawThemeBackground(theme, canvas, part, state, r);
    controls::CloseThemeData(theme);
    return done;
}

void ToneFrame(TCanvas& canvas, const QRect& r, TColor fill, TColor frame)
{
    canvas.Brush.Style = PBrush::bsSolid;
    canvas.Brush.Color = fill;
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = frame;
    canvas.Rectangle(r);
}

void Triangle(TCanvas& canvas, QPoint a, QPoint b, QPoint c, TColor color)
{
    SetPenBrush(canvas, color);
    canvas.Polygon(QPolygon({a, b, c}));
}

}  // namespace

void DrawComboArrowPart(TCanvas& canvas, QWidget* window, QRect r, TPartStyle style, TPartState state,
                        const controls::TColorTones& tones)
{
    QRect a = platform::Rect(Right(r) - 17, r.top() + 1, Right(r), Bottom(r) - 1).translated(-2, 0);
    switch (style) {
    case pstThemed:
        Themed(canvas, window, "combobox", controls::CP_DROPDOWNBUTTON,
               state == psDisabled ? controls::CBXS_DISABLED : controls::CBXS_NORMAL, a);
        break;
    case pstClassic:
    case pstFlat: {
        unsigned s = platform::DFCS_SCROLLCOMBOBOX | (state == psDisabled ? platform::DFCS_INACTIVE : 0u);
        if (style == pstFlat)
            s |= platform::DFCS_FLAT;
        platform::DrawFrameControl(canvas, a, platform::DFC_SCROLL, s);
        break;
    }
    case pstTones: {
        a.setLeft(a.left() + 3);
        const TColor c = ToneOf(tones, state).BrushColor;
        ToneFrame(canvas, a, c, c);
        canvas.Pen.Color = tones.Background.BorderColor;
        Line(canvas, a.left() + 1, a.top(), a.left() + 1, Bottom(a));
        Triangle(canvas, {a.left() + 5, a.top() + 8}, {a.left() + 11, a.top() + 8}, {a.left() + 8, a.top() + 11},
                 tones.Background.TextColor);
        break;
    }
    }
}

void DrawButtonPart(TCanvas& canvas, QWidget* window, QRect r, TPartStyle style, TPartState state,
                    const controls::TColorTones& tones)
{
    switch (style) {
    case pstThemed:
        Themed(canvas, window, "button", controls::BP_PUSHBUTTON, int(state) + 1, r);
        break;
    case pstClassic:
    case pstFlat: {
        unsigned s = platform::DFCS_BUTTONPUSH;
        if (state == psHot)
            s |= platform::DFCS_HOT;
        else if (state == psDown)
            s |= platform::DFCS_PUSHED;
        else if (state == psDisabled)
            s |= platform::DFCS_INACTIVE;
        if (style == pstFlat)
            s |= platform::DFCS_FLAT;
        platform::DrawFrameControl(canvas, r, platform::DFC_BUTTON, s);
        break;
    }
    case pstTones: {
        const controls::TColorTone& t = ToneOf(tones, state);
        ToneFrame(canvas, r, t.BrushColor, t.BorderColor);
        break;
    }
    }
}

void DrawSpinPart(TCanvas& canvas, QWidget* window, QRect r, TPartStyle style, TPartState state,
                  const controls::TColorTones& tones)
{
    const QRect a = platform::Rect(Right(r) - 15, r.top(), Right(r), Bottom(r)).translated(-1, -1);
    const int mid = a.top() + a.height() / 2;
    QRect up = platform::Rect(a.left(), a.top(), Right(a), mid);
    QRect down = platform::Rect(a.left(), style == pstThemed ? mid : mid + 1, Right(a), Bottom(a));
    switch (style) {
    case pstThemed: {
        const int s = state == psDisabled ? controls::UPS_DISABLED : controls::UPS_NORMAL;
        Themed(canvas, window, "spin", controls::SPNP_UP, s, up);
        Themed(canvas, window, "spin", controls::SPNP_DOWN, s, down);
        break;
    }
    case pstClassic:
    case pstFlat: {
        unsigned extra = (state == psDisabled ? platform::DFCS_INACTIVE : 0u) | (style == pstFlat ? platform::DFCS_FLAT : 0u);
        platform::DrawFrameControl(canvas, up, platform::DFC_SCROLL, platform::DFCS_SCROLLUP | extra);
        platform::DrawFrameControl(canvas, down, platform::DFC_SCROLL, platform::DFCS_SCROLLDOWN | extra);
        break;
    }
    case pstTones: {
        const TColor c = ToneOf(tones, state).BrushColor;
        ToneFrame(canvas, up, c, c);
        ToneFrame(canvas, down, c, c);
        Triangle(canvas, {up.left() + 5, up.top() + 5}, {up.left() + 9, up.top() + 5}, {up.left() + 7, up.top() + 3},
                 platform::clBlack);
        Triangle(canvas, {down.left() + 5, down.top() + 1}, {down.left() + 9, down.top() + 1},
                 {down.left() + 7, down.top() + 3}, platform::clBlack);
        break;
    }
    }
}

// ---- Progress bars, pies, level bars, range indicators ----

QString ProgressText(const QString& format, double position)
{
    if (format.isEmpty())
        return QString::number(RoundEven(position)) + QLatin1Char('%');
    static const QRegularExpression intConv(QStringLiteral("%[-+ 0#]*[0-9]*(\\.[0-9]+)?[diu]"));
    static const QRegularExpression floatConv(QStringLiteral("%[-+ 0#]*[0-9]*(\\.[0-9]+)?[fFeEgG]"));
    const bool integral = format.contains(QLatin1Char('d')) || format.contains(QLatin1Char('u'));
    const QByteArray f = format.toUtf8();
    if (integral) {
        if (CountFormatConversions(format, intConv) != 1)
            return format;
        const double clamped = std::clamp(position, -2147483648.0, 2147483647.0);
        return QString::asprintf(f.constData(), RoundEven(clamped));
    }
    if (CountFormatConversions(format, floatConv) != 1)
        return format;
    return QString::asprintf(f.constData(), position);
}

void DrawProgressBar(TCanvas& canvas, QRect r, TColor color, TColor fontColor, TColor color2, TColor fontColor2,
                     double position, int marginX, int marginY, double minimum, double maximum, const QString& format,
                     TColor border, bool upwardY)
{
    const TColor background = canvas.Brush.Color;
    SetPenBrush(canvas, color);
    canvas.Font.Color = fontColor;
    if (!std::isfinite(position))
        position = 0;
    double percent = RoundEven(std::clamp(position, -1e9, 1e9));
    const QString text = ProgressText(format, position);
    if (!format.isEmpty())
        percent = maximum == minimum ? 0 : RoundEven(std::clamp((position - minimum) * 100 / (maximum - minimum), -1e9, 1e9));
    percent = std::clamp(percent, 0.0, 100.0);

    r.adjust(marginX, marginY, -marginX, -marginY);
    const int width = r.width(), height = r.height();
    const QRect done = platform::Rect(r.left(), r.top(), r.left() + RoundEven(width * percent / 100), Bottom(r));
    const QRect rest = platform::Rect(Right(done), r.top(), Right(r), Bottom(r));
    const int tw = canvas.TextWidth(text), th = canvas.TextHeight(text);
    const int x = r.left() + (width - tw) / 2;
    const int y = r.top() + (height - th * (upwardY ? -1 : 1)) / 2;

    canvas.Brush.Color = color;
    canvas.Font.Color = fontColor;
    if (!done.isEmpty())
        canvas.TextRect(done, x, y, text);
    canvas.Brush.Color = color2;
    canvas.Font.Color = fontColor2;
    if (!rest.isEmpty())
        canvas.TextRect(rest, x, y, text);

    r.adjust(-1, -1, 1, 1);
    canvas.Brush.Style = PBrush::bsSolid;
    if (border != clNone) {
        canvas.Brush.Color = border;
        canvas.FrameRect(r);
    }
    r.adjust(-1, -1, 1, 1);
    canvas.Brush.Color = background;
    canvas.FrameRect(r);
}

void DrawProgressPie(TCanvas& canvas, QRect r, TColor color, double percent, bool upwardY)
{
    Q_UNUSED(upwardY);
    if (!std::isfinite(percent))
        percent = 0;
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Color = platform::clGray;
    canvas.Pen.Width = 1;
    canvas.Ellipse(r.left(), r.top(), Right(r), Bottom(r));
    const int w = r.width(), h = r.height();
    const int cx = r.left() + w / 2, cy = r.top() + h / 2;
    const double a = std::clamp(percent, 0.0, 100.0) / 100 * 2 * M_PI;
    auto at = [&](double angle) {
        return QPoint(cx + RoundEven((w + 1) * 0.5 * std::sin(angle)), cy - RoundEven((h + 1) * 0.5 * std::cos(angle)));
    };
    if (percent != 0) {
        // The sector from twelve o'clock clockwise to the angle, bounded by the outline.
        QPolygon sector;
        sector << QPoint(cx, cy) << QPoint(cx, r.top());
        const int n = std::max(2, int(a * 16));
        for (int i = 1; i <= n; ++i) {
            const double t = a * i / n;
            sector << QPoint(cx + RoundEven(w * 0.5 * std::sin(t)), cy - RoundEven(h * 0.5 * std::cos(t)));
        }
        canvas.Brush.Style = PBrush::bsSolid;
        canvas.Brush.Color = color;
        canvas.Pen.Color = color;
        canvas.Polygon(sector);
        canvas.Pen.Color = platform::clGray;
        canvas.Brush.Style = PBrush::bsClear;
        canvas.Ellipse(r.left(), r.top(), Right(r), Bottom(r));
    }
    canvas.Pen.Color = platform::clGray;
    Line(canvas, cx, r.top(), cx, cy);
    const QPoint end = at(a);
    canvas.LineTo(end.x(), end.y());
    canvas.Brush.Style = PBrush::bsSolid;
    canvas.Brush.Color = color;
}

namespace {

// One level-bar segment: across the bar in two gradient halves, or flat.
void LevelSegment(TCanvas& canvas, const QRect& seg, TColor color, TColor colorTo, const TProgressLevels& lv)
{
    if (seg.isEmpty())
        return;
    if (!lv.ShowGradient || colorTo == clNone) {
        canvas.Brush.Style = PBrush::bsSolid;
        canvas.Brush.Color = color;
        canvas.FillRect(seg);
        return;
    }
    QRect a = seg, b = seg;
    if (lv.Vertical) {
        a.setWidth(seg.width() / 2);
        b.setLeft(a.left() + a.width());
    } else {
        a.setHeight(seg.height() / 2);
        b.setTop(a.top() + a.height());
    }
    // The gradient runs across the bar.
    DrawGridGradient(canvas, colorTo, color, lv.Steps, a, lv.Vertical);
    DrawGridGradient(canvas, color, colorTo, lv.Steps, b, lv.Vertical);
}

}  // namespace

void DrawLevelProgress(TCanvas& canvas, QRect r, int percent, const TProgressLevels& lv)
{
    canvas.Brush.Style = PBrush::bsSolid;
    canvas.Brush.Color = lv.UnCompleteColor;
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = lv.ShowBorder ? lv.BorderColor : lv.UnCompleteColor;
    canvas.Rectangle(r);
    const int extent = (lv.Vertical ? r.height() : r.width()) - 2;
    const QRect inner = r.adjusted(1, 1, -1, -1);
    // A segment from `from` to `from + len` along the bar, measured from the left (or bottom).
    auto segment = [&](int from, int len, int inset = 0) {
        if (lv.Vertical)
            return platform::Rect(inner.left() + inset, Bottom(inner) - from - len, Right(inner) - inset, Bottom(inner) - from);
        return platform::Rect(inner.left() + from, inner.top() + inset, inner.left() + from + len, Bottom(inner) - inset);
    };
    if (percent > 0 && extent > 0) {
        const int p = std::min(percent, 100);
        if (lv.Stacked) {
            const int first = RoundEven(std::min(p, lv.Level1Perc) / 100.0 * extent);
            LevelSegment(canvas, segment(0, first), lv.Level0Color, lv.Level0ColorTo, lv);
            int used = first;
            if (p >= lv.Level1Perc) {
                const int second = RoundEven(extent * (std::min(p, lv.Level2Perc) - lv.Level1Perc) / 100.0);
                LevelSegment(canvas, segment(used, second), lv.Level1Color, lv.Level1ColorTo, lv);
                used += second;
            }
            if (p >= lv.Level2Perc) {
                const int third = p == 100 ? extent - used : RoundEven(extent * (p - lv.Level2Perc) / 100.0);
                LevelSegment(canvas, segment(used, third), lv.Level3Color, lv.Level3ColorTo, lv);
            }
        } else {
            TColor c = lv.Level2Color, cTo = lv.Level2ColorTo;
            if (p < lv.Level1Perc)
                c = lv.Level0Color, cTo = lv.Level0ColorTo;
            else if (p < lv.Level2Perc)
                c = lv.Level1Color, cTo = lv.Level1ColorTo;
            else if (p > 99)
                c = lv.Level3Color, cTo = lv.Level3ColorTo;
            if (lv.CompletionSmooth) {
                LevelSegment(canvas, segment(0, RoundEven(p / 100.0 * extent)), c, cTo, lv);
            } else {
                const int t = RoundEven(p * extent / 100.0);
                int pos = 2;
                if (t > 9) {
                    for (int i = 0; i < t / 9; ++i, pos += 9)
                        LevelSegment(canvas, segment(pos - 1, 7, 1), c, cTo, lv);
                    if (t % 9 > 2)
                        LevelSegment(canvas, segment(pos - 1, t % 9 - 1, 1), c, cTo, lv);
                } else if (t >= 2) {
                    LevelSegment(canvas, segment(pos - 1, t - 1, 1), c, cTo, lv);
                }
            }
        }
    }
    if (lv.ShowPercentage) {
        const QString text = QString::number(percent) + QLatin1Char('%');
        canvas.Font = platform::TFont(lv.Font, lv.CompleteFontColor);
        canvas.Brush.Style = PBrush::bsClear;
        const int tw = canvas.TextWidth(text), th = canvas.TextHeight(text);
        if (lv.Vertical && canvas.Painter()) {
            QPainter* p = canvas.Painter();
            p->save();
            p->translate(r.left() + r.width() / 2 - th / 2, r.top() + r.height() / 2 + tw / 2);
            p->rotate(-90);
            canvas.TextOut(0, 0, text);
            p->restore();
        } else {
            canvas.TextOut(r.left() + (r.width() - tw) / 2, r.top() + (r.height() - th) / 2, text);
        }
    }
    canvas.Brush.Style = PBrush::bsClear;
    canvas.Pen.Color = lv.ShowBorder ? lv.BorderColor : lv.UnCompleteColor;
    canvas.Rectangle(r);
}

void DrawRangeIndicator(TCanvas& canvas, QRect r, int value, int range, bool showValue, TColor negColor, TColor posColor)
{
    r.adjust(2, 2, -2, -2);
    const int c = r.width() / 2;
    if (range > 0) {
        const int v = std::clamp(value, -range, range);
        const int x = RoundEven(double(c) * v / range);
        canvas.Pen.Style = TPenStyle::psSolid;
        canvas.Pen.Width = 1;
        canvas.Brush.Style = PBrush::bsSolid;
        if (v < 0) {
            canvas.Brush.Color = negColor;
            canvas.FillRect(platform::Rect(r.left() + c + x, r.top(), r.left() + c, Bottom(r)));
        } else {
            canvas.Brush.Color = posColor;
            canvas.FillRect(platform::Rect(r.left() + c, r.top(), r.left() + c + x, Bottom(r)));
        }
    }
    if (showValue) {
        canvas.Brush.Style = PBrush::bsClear;
        QRect t = r;
        canvas.DrawText(QString::number(value), t, platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE);
    }
}

// ---- Shapes ----

void DrawCellShape(TCanvas& canvas, int x, int y, int w, int h, TCellShape shape, TColor brushColor, TColor penColor)
{
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = penColor;
    canvas.Brush.Style = PBrush::bsSolid;
    canvas.Brush.Color = brushColor;
    if (shape == csCircle || shape == csSquare || shape == csRoundSquare)
        w = h = std::min(w, h);
    auto star = [&](std::initializer_list<std::pair<int, bool>> points) {
        const double cx = x + w / 2, cy = y + h / 2, rx = w / 2, ry = h / 2;
        QPolygon p;
        for (auto [degrees, outer] : points) {
            const double t = degrees * M_PI / 180;
            const double px = outer ? rx : rx / 3, py = outer ? ry : ry / 3;
            p << QPoint(int(cx) + RoundEven(std::sin(t) * px), int(cy) - RoundEven(std::cos(t) * py));
        }
        canvas.Polygon(p);
    };
    const int we = w & ~1, he = h & ~1, w4 = we / 4, h4 = he / 4;
    switch (shape) {
    case csRectangle:
    case csSquare: canvas.Rectangle(x + 1, y + 1, x + w - 1, y + h - 1); break;
    case csCircle:
    case csEllips: canvas.Ellipse(x, y, x + w, y + h); break;
    case csTriangleLeft: canvas.Polygon(QPolygon({{x + w, y}, {x + w, y + h}, {x, y + h / 2}})); break;
    case csTriangleRight: canvas.Polygon(QPolygon({{x, y}, {x, y + h}, {x + w, y + h / 2}})); break;
    case csTriangleUp: canvas.Polygon(QPolygon({{x, y + h}, {x + w, y + h}, {x + w / 2, y}})); break;
    case csTriangleDown: canvas.Polygon(QPolygon({{x, y}, {x + w, y}, {x + w / 2, y + h}})); break;
    case csDiamond:
        canvas.Polygon(QPolygon({{x, y + h / 2}, {x + w / 2, y}, {x + 2 * (w / 2), y + h / 2}, {x + w / 2, y + 2 * (h / 2)}}));
        break;
    case csLineVert: canvas.Rectangle(x + w / 2, y, x + w / 2 + 1, y + h); break;
    case csLineHorz: canvas.Rectangle(x, y + h / 2, x + w, y + h / 2 + 1); break;
    case csRoundRect:
    case csRoundSquare: canvas.RoundRect(x, y, x + w, y + h, 10, 10); break;
    case csStar:
        star({{0, true}, {36, false}, {72, true}, {108, false}, {144, true}, {180, false}, {216, true}, {252, false},
              {288, true}, {324, false}});
        break;
    case csHalfStar: star({{0, true}, {180, false}, {216, true}, {252, false}, {288, true}, {324, false}}); break;
    case csArrowUp:
        canvas.Polygon(QPolygon({{x, y + h / 2}, {x + we / 2, y}, {x + we, y + h / 2}, {x + 3 * w4, y + h / 2},
                                 {x + 3 * w4, y + h}, {x + w4, y + h}, {x + w4, y + h / 2}}));
        break;
    case csArrowDown:
        canvas.Polygon(QPolygon({{x, y + h / 2}, {x + we / 2, y + h}, {x + we, y + h / 2}, {x + 3 * w4, y + h / 2},
                                 {x + 3 * w4, y}, {x + w4, y}, {x + w4, y + h / 2}}));
        break;
    case csArrowLeft:
        canvas.Polygon(QPolygon({{x, y + he / 2}, {x + w / 2, y}, {x + w / 2, y + h4}, {x + w, y + h4},
                                 {x + w, y + 3 * h4}, {x + w / 2, y + 3 * h4}, {x + w / 2, y + he}}));
        break;
    case csArrowRight:
        canvas.Polygon(QPolygon({{x + w, y + he / 2}, {x + w / 2, y}, {x + w / 2, y + h4}, {x, y + h4},
                                 {x, y + 3 * h4}, {x + w / 2, y + 3 * h4}, {x + w / 2, y + he}}));
        break;
    }
}

void DrawErrorUnderline(QWidget* owner, TCanvas& canvas, const QString& text, QRect r, int offset, int errStart,
                        int errLen)
{
    Q_UNUSED(owner);
    // Character positions as a single-line edit lays them out: one pixel of margin, no vertical
    // offset within the line.
    auto posOf = [&](int index) { return 1 + canvas.TextWidth(text.left(index)); };
    const int n = int(text.size());
    const int startX = errStart >= 0 && errStart < n ? posOf(errStart) : posOf(n) + 4;
    const int last = errStart + errLen - 1;
    const int endX = errStart + errLen <= n && last >= 0 ? posOf(last) : (n > 0 ? posOf(n - 1) : posOf(0)) + 4;
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Color = platform::clRed;
    canvas.Pen.Width = 2;
    canvas.MoveTo(r.left() + startX, r.top() + offset + 3);
    int x = startX, yOff = 0;
    while (x <= endX) {
        canvas.LineTo(r.left() + x + 3, r.top() + offset + yOff);
        yOff = yOff == 0 ? 3 : 0;
        x += 3;
    }
    canvas.LineTo(r.left() + x + 3, r.top() + offset + yOff);
}

// ---- Bitmaps ----

namespace {

QImage Blank(int w, int h, QRgb transparent)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(transparent);
    return img;
}

// Check boxes and radio buttons of the built-in looks, drawn on a magenta background that is the
// transparent colour.
QImage MakeCheck(int size, QColor fill, QColor frame, QColor mark, bool checked, bool enabled)
{
    QImage img = Blank(size, size, qRgb(255, 0, 255));
    QPainter p(&img);
    const int inset = size == 20 ? 3 : 1;
    const QRect box(inset, inset, size - 2 * inset - 1, size - 2 * inset - 1);
    p.setPen(enabled ? frame : QColor(0xA0, 0xA0, 0xA0));
    p.setBrush(enabled ? fill : QColor(0xE8, 0xE8, 0xE8));
    p.drawRect(box);
    if (checked) {
        QPen pen(enabled ? mark : QColor(0x90, 0x90, 0x90), 2);
        p.setPen(pen);
        const int l = box.left() + 3, t = box.top() + 2, w = box.width() - 6, h = box.height() - 4;
        p.drawPolyline(QPolygon({{l, t + h / 2}, {l + w / 3, t + h - 1}, {l + w, t}}));
    }
    return img;
}

QImage MakeRadio(QColor fill, QColor frame, QColor mark, bool on, bool enabled)
{
    QImage img = Blank(16, 16, qRgb(255, 0, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(enabled ? frame : QColor(0xA0, 0xA0, 0xA0));
    p.setBrush(enabled ? fill : QColor(0xE8, 0xE8, 0xE8));
    p.drawEllipse(QRect(2, 2, 11, 11));
    if (on) {
        p.setPen(Qt::NoPen);
        p.setBrush(enabled ? mark : QColor(0x90, 0x90, 0x90));
        p.drawEllipse(QRect(5, 5, 6, 6));
    }
    return img;
}

QImage MakeNode(int size, bool open, bool leaf)
{
    QImage img = Blank(size, size, qRgb(255, 0, 255));
    QPainter p(&img);
    const QRect box = leaf ? QRect(3, 3, 9, 9) : QRect(0, 0, size - 1, size - 1);
    p.setPen(QColor(leaf ? 0x80 : 0x7A, leaf ? 0x80 : 0x98, leaf ? 0x80 : 0xAF));
    p.setBrush(QColor(0xF8, 0xF8, 0xF8));
    p.drawRect(box);
    p.setPen(Qt::black);
    const int cx = box.left() + box.width() / 2, cy = box.top() + box.height() / 2;
    p.drawLine(box.left() + 2, cy, box.right() - 2, cy);
    if (!open)
        p.drawLine(cx, box.top() + 2, cx, box.bottom() - 2);
    return img;
}

}  // namespace

QImage GridResourceBitmap(const QString& name)
{
    const QString n = name.toUpper();
    const QColor vurFill(0xC0, 0xC0, 0xC0), xpFill(0xF4, 0xF4, 0xF0), xpFrame(0x1C, 0x51, 0x80), xpMark(0x21, 0xA1, 0x21);
    const QColor metroFill(0xF0, 0xF0, 0xF0), metroFrame(0xA0, 0xA0, 0xA0), metroMark(0x60, 0x60, 0x60);
    if (n.startsWith(QLatin1String("ESGCHK")) && n.size() == 8) {
        const int i = n.mid(6).toInt();
        if (i < 1 || i > 8)
            return {};
        const bool checked = i % 2 == 1, enabled = (i - 1) % 4 < 2;
        if (i <= 4)
            return MakeCheck(20, vurFill, Qt::black, Qt::black, checked, enabled);
        return MakeCheck(16, xpFill, xpFrame, xpMark, checked, enabled);
    }
    if (n.startsWith(QLatin1String("ESGRAD")) && n.size() == 8) {
        const int i = n.mid(6).toInt();
        if (i < 1 || i > 8)
            return {};
        const bool on = i % 2 == 1, enabled = (i - 1) % 4 < 2;
        if (i <= 4)
            return MakeRadio(vurFill, Qt::black, Qt::black, on, enabled);
        return MakeRadio(xpFill, xpFrame, xpMark, on, enabled);
    }
    if (n == QLatin1String("METROCHECKON") || n == QLatin1String("METROCHECKOFF"))
        return MakeCheck(16, metroFill, metroFrame, metroMark, n.endsWith(QLatin1String("ON")), true);
    if (n == QLatin1String("METRORADIOON") || n == QLatin1String("METRORADIOOFF"))
        return MakeRadio(metroFill, metroFrame, metroMark, n.endsWith(QLatin1String("ON")), true);
    if (n == QLatin1String("ESGLEAFCLOSE") || n == QLatin1String("ESGLEAFOPEN"))
        return MakeNode(16, n.endsWith(QLatin1String("OPEN")), true);
    if (n == QLatin1String("XPNODEC") || n == QLatin1String("XPNODEO"))
        return MakeNode(9, n.endsWith(QLatin1Char('O')), false);
    return {};
}

void DrawResourceBitmap(TCanvas& canvas, TColor background, QRect r, const QString& name)
{
    const QImage bmp = GridResourceBitmap(name);
    if (!bmp.isNull())
        DrawBitmapOnColor(canvas, bmp, background, r);
}

void DrawBitmapOnColor(TCanvas& canvas, const QImage& bitmap, TColor background, QRect r)
{
    if (bitmap.isNull())
        return;
    // The drop-down routine does the same colour swap for an area of r's size.
    dropdowns::DrawTransparentBitmap(canvas, bitmap, background, QRect(r.topLeft(), bitmap.size()));
}

void DrawPenLine(TCanvas& canvas, TColor color, int x1, int y1, int x2, int y2)
{
    canvas.Pen.Color = color;
    canvas.Pen.Width = 1;
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

void FillRectColor(TCanvas& canvas, QRect r, TColor color)
{
    canvas.Brush.Style = PBrush::bsSolid;
    canvas.Brush.Color = color;
    canvas.FillRect(r);
}

void DrawDropArrow(TCanvas& canvas, int x, int y, TColor color)
{
    SetPenBrush(canvas, color);
    canvas.Polygon(QPolygon({{x - 3, y}, {x + 3, y}, {x, y + 3}}));
}

// ---- Translucent windows ----

bool DynUpdateLayeredWindow(QWidget* window, QPoint position, const QImage& image, uint8_t alpha)
{
    if (!window)
        return true;
    window->setAttribute(Qt::WA_TranslucentBackground);
    window->setGeometry(QRect(position, image.size()));
    window->setWindowOpacity(alpha / 255.0);
    window->setProperty("layeredImage", image);
    window->update();
    return true;
}

bool DynSetLayeredWindowAttributes(QWidget* window, TColor key, uint8_t alpha, uint32_t flags)
{
    Q_UNUSED(key);
    constexpr uint32_t LWA_ALPHA = 2;
    if (window && (flags & LWA_ALPHA))
        window->setWindowOpacity(alpha / 255.0);
    return true;
}

}  // namespace grid
