#include "grid/core/CellGraphic.h"
#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridPaint.h"
#include "grid/core/GridTextUtils.h"

#include <utility>

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
    in.HighlightColor = FHighlightColor;
    in.HighlightTextColor = FHighlightTextColor;
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
    in.HoverStyle = URLUnderlineOnHover;
    in.HoverColor = URLHoverColor;
    in.HoverFontColor = URLHoverTextColor;
    if (FHoverAnchorCell == TGridCoord{s.DCol, s.Row})
        in.HoverLink = FHoverAnchorLink;
    if (FCellControlDown == TGridCoord{s.DCol, s.Row}) {
        // The pressed look of the in-cell button under the held mouse.
        in.HitX = FCellControlPoint.x();
        in.HitY = FCellControlPoint.y();
        in.MouseDown = true;
    }
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
    if (!FAnimTimer.IsActive() &&
        (text.contains(QLatin1String("<IMG"), Qt::CaseInsensitive) ||
         text.contains(QLatin1String("<BODY"), Qt::CaseInsensitive)) &&
        HasAnimatedPictures())
        StartAnimation();
}

bool TExtStringGrid::HTMLHitAt(int c, int r, int x, int y, const QString& controlID, controls::THTMLRenderResult& out)
{
    out = controls::THTMLRenderResult{};
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
    in.ControlID = controlID;
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
    return controls::RenderHTMLText(canvas, text, area, in, out);
}

bool TExtStringGrid::HTMLAnchorAt(int c, int r, int x, int y, QString& anchor, QString& title)
{
    anchor.clear();
    title.clear();
    controls::THTMLRenderResult out;
    const bool hit = HTMLHitAt(c, r, x, y, QString(), out);
    if (!hit || out.Anchor.isEmpty() || out.Anchor == QLatin1String("ctrl"))
        return false;
    anchor = out.Anchor;
    title = out.AnchorTitle;
    return true;
}

// Hovered anchors

void TExtStringGrid::SetHoverAnchor(TGridCoord cell, int link)
{
    if (cell == FHoverAnchorCell && link == FHoverAnchorLink)
        return;
    const TGridCoord old = std::exchange(FHoverAnchorCell, cell);
    FHoverAnchorLink = link;
    if (old.X >= 0 && old.Y >= 0 && old.X < ColCount() && old.Y < RowCount())
        RepaintCell(old.X, old.Y);
    if (cell.X >= 0 && cell.Y >= 0 && !(cell == old))
        RepaintCell(cell.X, cell.Y);
}

void TExtStringGrid::TrackHoverAnchor(int x, int y)
{
    // Only a look that shows the hovered anchor differently needs to know it.
    if (!URLUnderlineOnHover && URLHoverColor == clNone && URLHoverTextColor == clNone) {
        SetHoverAnchor({-1, -1}, 0);
        return;
    }
    const TGridCoord cell = MouseToCell(x, y);
    controls::THTMLRenderResult out;
    if (HTMLHitAt(cell.X, cell.Y, x, y, QString(), out) && !out.Anchor.isEmpty() &&
        out.Anchor != QLatin1String("ctrl") && out.LinkUnderPoint > 0)
        SetHoverAnchor(cell, out.LinkUnderPoint);
    else
        SetHoverAnchor({-1, -1}, 0);
}

// In-cell buttons held down

void TExtStringGrid::SetCellControlDown(TGridCoord cell, QPoint at)
{
    const TGridCoord old = std::exchange(FCellControlDown, cell);
    FCellControlPoint = at;
    if (old.X >= 0 && old.Y >= 0 && old.X < ColCount() && old.Y < RowCount())
        RepaintCell(old.X, old.Y);
    if (cell.X >= 0 && cell.Y >= 0)
        RepaintCell(cell.X, cell.Y);
}

// Animated pictures

bool TExtStringGrid::HasAnimatedPictures()
{
    for (int i = 0; i < FImageCache.Count(); ++i)
        if (controls::THTMLPicture* p = FImageCache.GetPicture(i); p && !p->Empty() && p->FrameCount() > 1)
            return true;
    if (PictureContainer)
        for (int i = 0; i < PictureContainer->Items().Count(); ++i) {
            controls::THTMLPicture& p = PictureContainer->Items().Items(i)->Picture();
            if (!p.Empty() && p.FrameCount() > 1)
                return true;
        }
    return false;
}

void TExtStringGrid::StartAnimation()
{
    if (FAnimTimer.IsActive())
        return;
    FAnimTimer.Start(AnimationInterval, this, [this] { AnimatePictures(); });
}

void TExtStringGrid::AnimatePictures()
{
    FAnimTimer.Stop();
    bool changed = FImageCache.Animate();
    if (PictureContainer)
        changed = PictureContainer->Items().Animate() || changed;
    if (changed && isVisible()) {
        // Only the cells in view that show pictures repaint.
        auto pictured = [this](int c, int r) {
            const QString text = Cells(DisplToRealCol(c), r);
            return (text.contains(QLatin1String("<IMG"), Qt::CaseInsensitive) ||
                    text.contains(QLatin1String("<BODY"), Qt::CaseInsensitive)) &&
                   IsHTMLText(text);
        };
        auto repaintRange = [&](int r0, int r1, int c0, int c1) {
            for (int r = std::max(r0, 0); r < std::min(r1, RowCount()); ++r)
                for (int c = std::max(c0, 0); c < std::min(c1, ColCount()); ++c)
                    if (pictured(c, r))
                        RepaintCell(c, r);
        };
        const int rows = VisibleRowCount() + 1, cols = VisibleColCount() + 1;
        repaintRange(TopRow(), TopRow() + rows, LeftCol(), LeftCol() + cols);
        repaintRange(0, FixedRows(), 0, ColCount());
        repaintRange(TopRow(), TopRow() + rows, 0, FixedCols());
    }
    // The steps go on only while the grid shows and a picture has frames to show; the next paint
    // of a picture starts them again.
    if (isVisible() && HasAnimatedPictures())
        StartAnimation();
}

}  // namespace grid
