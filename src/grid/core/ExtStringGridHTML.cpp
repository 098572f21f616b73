#include "grid/core/CellGraphic.h"
#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridPaint.h"
#include "grid/core/GridTextUtils.h"

namespace grid {

bool TExtStringGrid::IsHTMLText(const QString& text) const
{
    return EnableHTML && DetectTextKind(text, true) == tkHTML;
}

controls::THTMLRenderInput TExtStringGrid::HTMLRenderInput() const
{
    controls::THTMLRenderInput in;
    if (const auto* list = dynamic_cast<const TGridImageList*>(GridImages))
        in.Images = &list->List;
    in.Container = PictureContainer;
    in.Cache = const_cast<controls::THTMLPictureCache*>(&FImageCache);
    in.URLColor = URLColor;
    in.BlinkState = !EnableBlink || FBlinkPhase;
    in.Window = const_cast<TExtStringGrid*>(this);
    return in;
}

TRect TExtStringGrid::CellTextRect(int c, int r)
{
    TRect rect = CellRect(c, r);
    rect = {rect.Left + GridLineWidth, rect.Top + GridLineWidth, rect.Right - GridLineWidth, rect.Bottom - GridLineWidth};
    rect.Left += XYOffset.X;
    rect.Top += XYOffset.Y;
    if (!XYOffsetTopLeftOnly)
        rect.Right -= XYOffset.X;
    return rect;
}

void TExtStringGrid::DrawHTMLCellText(TCellPaintState& s, const QString& text, const TRect& r)
{
    platform::TCanvas& canvas = *s.Canvas;
    const bool selected = (s.State & gdSelected) && !s.Fixed && ShowSelection;
    controls::THTMLRenderInput in = HTMLRenderInput();
    in.WordWrap = s.WordWrap;
    in.Selected = selected;
    in.MouseDown = MouseButtonDown;
    QRect area = ToQRect(r);
    if (s.VAlign != vtaTop) {
        controls::THTMLRenderInput measure = in;
        measure.MeasureOnly = true;
        controls::THTMLRenderResult size;
        controls::RenderHTMLText(canvas, text, area, measure, size);
        const int room = area.height() - size.Height;
        if (room > 0)
            area.setTop(area.top() + (s.VAlign == vtaCenter ? room / 2 : room));
    }
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    controls::THTMLRenderResult out;
    controls::RenderHTMLText(canvas, text, area, in, out);
    canvas.Brush.Style = platform::TBrushStyle::bsSolid;
    if (s.Graphic)
        s.TextWidth = out.Width + 2;
}

bool TExtStringGrid::HTMLAnchorAt(int c, int r, int x, int y, QString& anchor, QString& title)
{
    anchor.clear();
    title.clear();
    if (c < 0 || r < 0 || c >= ColCount() || r >= RowCount())
        return false;
    const QString text = GetFormattedCell(DisplToRealCol(c), r);
    if (!IsHTMLText(text))
        return false;
    TFontDesc font;
    GetFontProperties(c, DisplToRealCol(c), r, font, false);
    font.Size += ZoomFactor;
    platform::TCanvas canvas;
    canvas.Font = CanvasFont(font);
    controls::THTMLRenderInput in = HTMLRenderInput();
    in.HitOnly = true;
    in.HitX = x;
    in.HitY = y;
    in.WordWrap = WordWrap;
    QRect area = ToQRect(CellTextRect(c, r));
    if (VAlignment != vtaTop) {
        controls::THTMLRenderInput measure = in;
        measure.HitOnly = false;
        measure.MeasureOnly = true;
        controls::THTMLRenderResult size;
        controls::RenderHTMLText(canvas, text, area, measure, size);
        const int room = area.height() - size.Height;
        if (room > 0)
            area.setTop(area.top() + (VAlignment == vtaCenter ? room / 2 : room));
    }
    controls::THTMLRenderResult out;
    const bool hit = controls::RenderHTMLText(canvas, text, area, in, out);
    if (!hit || out.Anchor.isEmpty() || out.Anchor == QLatin1String("ctrl"))
        return false;
    anchor = out.Anchor;
    title = out.AnchorTitle;
    return true;
}

}  // namespace grid
