#include "controls/dropdowns/DropDownDraw.h"

#include "controls/common/EsgHTMLE.h"

#include "platform/TImageList.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace dropdowns {

using namespace platform;

void DrawGradient(TCanvas& canvas, TColor fromColor, TColor toColor, int steps, QRect r, bool horizontal)
{
    if (steps <= 0)
        steps = 1;
    const int left = r.left(), top = r.top();
    int right = left + r.width(), bottom = top + r.height();
    if (horizontal)
        --right;
    else
        --bottom;
    const TColor a = ColorToRGB(fromColor), b = ColorToRGB(toColor);
    const double stepR = double(GetRValue(b) - GetRValue(a)) / steps;
    const double stepG = double(GetGValue(b) - GetGValue(a)) / steps;
    const double stepB = double(GetBValue(b) - GetBValue(a)) / steps;
    const double d = double(horizontal ? right - left : bottom - top) / steps;
    const TPen savedPen = canvas.Pen;
    const TBrush savedBrush = canvas.Brush;
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    // The full rectangle's far edge, not the shortened one, bounds the bands.
    const int fullRight = left + r.width(), fullBottom = top + r.height();
    for (int n = 0; n < steps; ++n) {
        const TColor c = RGBToColor(GetRValue(a) + RoundEven(n * stepR), GetGValue(a) + RoundEven(n * stepG),
                                    GetBValue(a) + RoundEven(n * stepB));
        canvas.Pen.Color = c;
        canvas.Brush.Color = c;
        const int p = RoundEven(n * d);
        if (horizontal)
            canvas.Rectangle(left + p, top, left + p + RoundEven(d) + 1, fullBottom);
        else
            canvas.Rectangle(left, top + p, fullRight, top + p + RoundEven(d) + 1);
    }
    canvas.Pen = savedPen;
    canvas.Brush = savedBrush;
}

TColor BlendColor(TColor color1, TColor color2, int percent)
{
    if (percent >= 100)
        return color1;
    if (percent <= 0)
        return color2;
    const TColor c1 = ColorToRGB(color1), c2 = ColorToRGB(color2);
    const double f = percent / 100.0;
    auto mix = [f](int x, int y) { return RoundEven(f * x + (1 - f) * y); };
    return RGBToColor(mix(GetRValue(c1), GetRValue(c2)), mix(GetGValue(c1), GetGValue(c2)),
                      mix(GetBValue(c1), GetBValue(c2)));
}

TColor DarkerColor(TColor color, int deltaR, int deltaG, int deltaB)
{
    const TColor c = ColorToRGB(color);
    auto channel = [](int v, int delta) {
        if (v == 0)
            return std::max(0, delta);
        return RoundEven(std::min(100, 100 + delta) / 100.0 * v);
    };
    return RGBToColor(channel(GetRValue(c), deltaR), channel(GetGValue(c), deltaG),
                      channel(GetBValue(c), deltaB));
}

void DrawGradientRect(TCanvas* canvas, QRect r, TColor color, TColor colorTo, TColor borderColor,
                      int borderWidth, TGradientDirection direction)
{
    if (!canvas)
        return;
    if (colorTo != clNone) {
        DrawGradient(*canvas, color, colorTo, 80, r, direction == gdHorizontal);
    } else if (color != clNone) {
        canvas->Brush.Style = TBrushStyle::bsSolid;
        canvas->Brush.Color = color;
        canvas->FillRect(r);
    }
    if (borderColor != clNone && borderWidth > 0) {
        canvas->Brush.Style = TBrushStyle::bsClear;
        canvas->Pen.Style = TPenStyle::psSolid;
        canvas->Pen.Width = borderWidth;
        canvas->Pen.Color = borderColor;
        canvas->Rectangle(r);
    }
}

void DrawImageText(TCanvas* canvas, QRect r, const QString& text, const TImageList* images, int imageIndex)
{
    if (!canvas)
        return;
    bool centre = true;
    if (imageIndex >= 0 && images) {
        images->Draw(*canvas, r.left() + 4, r.top() + (r.height() - images->Height()) / 2, imageIndex, true);
        r.setLeft(r.left() + images->Width() + 8);
        centre = false;
    }
    if (!text.isEmpty()) {
        canvas->Brush.Style = TBrushStyle::bsClear;
        // "&" marks the accelerator, which is underlined; "&&" shows one "&".
        unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
        if (centre)
            flags |= DT_CENTER;
        canvas->DrawText(text, r, flags);
    }
}

void DrawTransparentBitmap(TCanvas& canvas, const QImage& bitmap, TColor color, QRect r)
{
    if (bitmap.isNull())
        return;
    QImage temp = bitmap.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = temp.pixel(0, 0);
    const QRgb fill = ToQColor(ColorToRGB(color)).rgba();
    const int w = std::min(r.width(), temp.width()), h = std::min(r.height(), temp.height());
    QImage area(std::max(w, 0), std::max(h, 0), QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb p = temp.pixel(x, y);
            area.setPixel(x, y, p == key ? fill : p);
        }
    if (w > 0 && h > 0)
        canvas.Draw(r.left(), r.top(), area);
}

QSize GetTextSize(const TCanvas& canvas, const QString& text)
{
    if (text.isEmpty())
        return QSize(0, 0);
    QRect r(0, 0, 1000, 500);
    const_cast<TCanvas&>(canvas).DrawText(text, r, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    return QSize(r.left() + r.width(), r.top() + r.height());
}

QString FitText(const TCanvas& canvas, const QString& text, int maxWidth, bool ellipsis)
{
    if (GetTextSize(canvas, text).width() <= maxWidth)
        return text;
    for (int i = 0; i < text.length(); ++i) {
        QString s = text.left(text.length() - i - 1);
        if (ellipsis)
            s += QStringLiteral("...");
        if (GetTextSize(canvas, s).width() < maxWidth)
            return s;
    }
    return text;
}

void DrawHTMLText(TCanvas& canvas, const QString& text, QRect r, const TImageList* images, bool draw,
                  const QString& source, QSize& size)
{
    Q_UNUSED(source);
    size = QSize(0, 0);
    if (text.isEmpty())
        return;
    controls::THTMLRenderInput in;
    in.Images = images;
    in.MeasureOnly = !draw;
    in.WordWrap = true;
    in.URLColor = platform::clGray;
    in.HoverColor = platform::clNone;
    in.HoverFontColor = platform::clNone;
    in.ShadowColor = platform::clBlue;
    controls::THTMLRenderResult out;
    controls::RenderHTMLText(canvas, text, r, in, out);
    size = QSize(out.Width, out.Height);
}

QString MatchCaseText(const QString& text, bool caseSensitive)
{
    return caseSensitive ? text : text.toUpper();
}

void TWinCtrl::PaintCtrls(TCanvas& canvas, QWidget* parent, QWidget* first)
{
    QPainter* painter = canvas.Painter();
    if (!parent || !painter)
        return;
    bool started = first == nullptr;
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w)
            continue;
        if (w == first)
            started = true;
        if (!started || !w->isVisible())
            continue;
        w->render(painter, w->pos(), QRegion(), QWidget::DrawChildren);
    }
}

}  // namespace dropdowns
