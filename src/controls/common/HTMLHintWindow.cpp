#include "controls/common/HTMLHintWindow.h"

namespace controls {

namespace {
constexpr int MaxHintWidth = 1008;
}

THTMLHintWindow::THTMLHintWindow(QWidget* owner) : THintWindow(owner) {}

void THTMLHintWindow::SetSources(const THTMLRenderInput& sources)
{
    FSources = THTMLRenderInput{};
    FSources.Images = sources.Images;
    FSources.Container = sources.Container;
    FSources.Cache = sources.Cache;
    FSources.HighlightColor = sources.HighlightColor;
    FSources.HighlightTextColor = sources.HighlightTextColor;
}

platform::TFont THTMLHintWindow::Font() const
{
    platform::TFont f = HintFont();
    if (FWide && !WideFontName.isEmpty())
        f.setFamily(WideFontName);
    return f;
}

THTMLRenderInput THTMLHintWindow::Input(bool measure, bool wrap) const
{
    THTMLRenderInput in = FSources;
    in.MeasureOnly = measure;
    in.WordWrap = wrap;
    in.URLColor = platform::clBlue;
    in.HoverColor = platform::clNone;
    in.HoverFontColor = platform::clNone;
    in.ShadowColor = platform::clGray;
    in.ShadowOffset = 1;
    in.FocusLink = -1;
    in.HoverLink = 0;
    in.HitX = 0;
    in.HitY = 0;
    in.Window = const_cast<THTMLHintWindow*>(this);
    return in;
}

QSize THTMLHintWindow::Measure(const QString& hint, int maxWidth) const
{
    platform::TCanvas canvas;
    canvas.Font = Font();
    if (FWide) {
        QRect r(0, 0, MaxHintWidth, 0);
        if (!hint.isEmpty())
            canvas.DrawText(hint, r, platform::DT_CALCRECT | platform::DT_SINGLELINE | platform::DT_NOPREFIX);
        return QSize(r.width(), std::max(r.height(), canvas.TextHeight(QStringLiteral("gh"))));
    }
    THTMLRenderResult out;
    RenderHTMLText(canvas, hint, QRect(0, 0, std::max(maxWidth, 1), 0x7FFF), Input(true, true), out);
    return QSize(out.Width, out.Height);
}

QRect THTMLHintWindow::CalcHintRect(int maxWidth, const QString& hint)
{
    FWide = false;
    const QSize size = Measure(hint, maxWidth);
    return QRect(0, 0, size.width(), size.height());
}

QRect THTMLHintWindow::KeepInside(const QRect& rect, const QRect& monitor)
{
    QRect r = rect;
    const int right = monitor.left() + monitor.width();
    const int bottom = monitor.top() + monitor.height();
    if (r.left() + r.width() > right)
        r.moveLeft(right - 2 - r.width());
    if (r.top() + r.height() > bottom)
        r.moveTop(bottom - 2 - r.height());
    return r;
}

void THTMLHintWindow::ActivateHint(const QRect& rect, const QString& hint)
{
    FWide = false;
    const QSize size = Measure(hint, MaxHintWidth);
    FTextWidth = size.width();
    FTextHeight = size.height();
    QRect r(rect.topLeft(), QSize(FTextWidth + 16, FTextHeight + 4));
    r = KeepInside(r, DesktopAt(r.topLeft()));
    THintWindow::ActivateHint(r, hint);
}

void THTMLHintWindow::ActivateWideHint(const QRect& rect, const QString& text)
{
    FWide = true;
    const QSize size = Measure(text, MaxHintWidth);
    FTextWidth = size.width();
    FTextHeight = size.height();
    QRect r(rect.topLeft(), QSize(FTextWidth + 8, FTextHeight + 4));
    r = KeepInside(r, DesktopAt(r.topLeft()));
    THintWindow::ActivateHint(r, text);
    FWide = true;
}

void THTMLHintWindow::Paint(platform::TCanvas& canvas)
{
    const QRect c = rect();
    const int left = c.left(), top = c.top(), right = c.left() + c.width(), bottom = c.top() + c.height();
    canvas.Brush = platform::TBrush{Color, platform::TBrushStyle::bsSolid};
    canvas.FillRect(c);
    canvas.Pen = platform::TPen{platform::cl3DLight};
    canvas.MoveTo(left, bottom - 2);
    canvas.LineTo(left, top);
    canvas.LineTo(right - 1, top);
    canvas.Pen = platform::TPen{platform::cl3DDkShadow};
    canvas.MoveTo(left, bottom - 1);
    canvas.LineTo(right - 1, bottom - 1);
    canvas.LineTo(right - 1, top - 1);

    const int textTop = top + (c.height() - FTextHeight) / 2;
    QRect text = platform::Rect(left + 4, textTop, right - 4, textTop + FTextHeight + 8);
    canvas.Font = Font();
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    if (FWide) {
        canvas.DrawText(Caption(), text, platform::DT_SINGLELINE | platform::DT_NOPREFIX);
        return;
    }
    THTMLRenderResult out;
    RenderHTMLText(canvas, Caption(), text, Input(false, false), out);
}

}  // namespace controls
