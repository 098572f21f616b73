// How the string grid paints a cell: the colour, font and alignment decision in its order of
// precedence, and the content of the cell (fixed-cell looks, text, borders, graphic, focus frame).
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <algorithm>
#include <cmath>

#include "controls/dropdowns/DropDownDraw.h"
#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridDraw.h"
#include "grid/core/GridGraphicsDraw.h"
#include "grid/core/GridMirror.h"
#include "grid/core/GridPaint.h"
#include "grid/core/GridTextUtils.h"

namespace grid {

namespace {

// The built-in 16 x 16 funnel of the filter button; its bottom-left pixel is the transparent colour.
QImage FilterGlyphBitmap()
{
    static const QImage glyph = [] {
        QImage img(16, 16, QImage::Format_RGB32);
        img.fill(qRgb(255, 0, 255));
        const QRgb dark = qRgb(0, 0, 0);
        for (int y = 3; y <= 8; ++y)
            for (int x = 3 + (y - 3); x <= 12 - (y - 3); ++x)
                img.setPixel(x, y, dark);
        for (int y = 9; y <= 13; ++y)
            for (int x = 7; x <= 8; ++x)
                img.setPixel(x, y, dark);
        return img;
    }();
    return glyph;
}

bool ColouredByGraphic(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctRadio || t == ctButton || t == ctRadioButton;
}

int Channel(TColor c, int shift) { return int((c >> shift) & 0xFF); }

// The font settings a cell record sets.
void ApplyCellFont(const TCellProperties& p, TFontDesc& font)
{
    if (p.FontColor != clNone)
        font.Color = p.FontColor;
    if (p.FontStyle != 0)
        font.Style = p.FontStyle;
    if (p.FontSize != 0)
        font.Size = p.FontSize;
    if (!p.FontName.isEmpty())
        font.Name = p.FontName;
}

}  // namespace

TColor TExtStringGrid::BlendColors(TColor c1, TColor c2, int percent)
{
    if (percent >= 100 || c2 == clNone)
        return c1;
    if (percent < 1 || c1 == clNone)
        return c2;
    const TColor a = platform::ColorToRGB(c1), b = platform::ColorToRGB(c2);
    TColor out = 0;
    for (int shift : {0, 8, 16}) {
        const int v = int(std::lround((Channel(a, shift) * percent + Channel(b, shift) * (100 - percent)) / 100.0));
        out |= TColor(std::min(255, v)) << shift;
    }
    return out;
}

TColor TExtStringGrid::MixSelectionColor(TColor sel, TColor cell, bool mix, int factor)
{
    return mix ? BlendColors(sel, cell, factor) : sel;
}

void TExtStringGrid::GetVisualProperties(int c, int r, TGridDrawState& state, bool print, bool select, bool remap,
                                         TColor& brush, TColor& colorTo, TColor& mirrorColor, TColor& mirrorColorTo,
                                         TFontDesc& font, TAlignment& hAlign, TVAlignment& vAlign, bool& wordWrap,
                                         TCellGradientDirection& gradient)
{
    const int rc = remap ? DisplToRealCol(c) : c;
    const bool fixedByIndex = c < FixedCols() || r < FixedRows();
    font = fixedByIndex ? FixedFont : GridFont();
    brush = colorTo = mirrorColor = mirrorColorTo = clNone;

    bool ownColour = false;
    if (const TCellProperties* p = CellProps(rc, r)) {
        brush = p->BrushColor();
        ApplyCellFont(*p, font);
        wordWrap = p->WordWrap();
        colorTo = p->BrushColorTo();
        gradient = p->GradientDirection;
        const TCellType type = GetCellType(rc, r);
        if (type == ctNone || type == ctRotated || type == ctEmpty)
            ownColour = brush != clNone;
    }
    if (state & gdSelected)
        gradient = GradientVertical;

    const bool footerOrRight = (FixedRightCols > 0 && c >= ColCount() - FixedRightCols) ||
                               (FixedFooters > 0 && r >= RowCount() - FixedFooters);
    if (brush == clNone) {
        brush = Color;
        const bool normal = !fixedByIndex && !footerOrRight;
        if (normal && Bands.Active() && (!print || Bands.Print)) {
            const int total = Bands.TotalLength();
            if (total <= 0)
                brush = Color;
            else
                brush = ((r - FixedRows()) % total) < Bands.PrimaryLength() ? Bands.PrimaryColor()
                                                                             : Bands.SecondaryColor();
        }
        if (fixedByIndex || footerOrRight)
            brush = FixedColor;
    }

    if ((IsFixed(c, r) || fixedByIndex) && !ownColour && !print) {
        brush = FixedColor;
        font = FixedFont;
        state |= gdFixed;
        if (Look() > glClassic) {
            brush = VURGradientFrom;
            colorTo = VURGradientTo;
            mirrorColor = VURGradientMirrorFrom;
            mirrorColorTo = VURGradientMirrorTo;
        }
    }

    if (print)
        GetCellPrintColor(rc, r, state, brush, font);
    else
        GetCellColor(rc, r, state, brush, font);
    if (OnGetCellGradient)
        OnGetCellGradient(this, r, rc, brush, colorTo, mirrorColor, mirrorColorTo, gradient);
    const TColor ownBrush = brush;
    const TColor ownFontColor = font.Color;

    const bool fixedNow = state & gdFixed;
    // No selection colour of its own: selected cells show the system's highlight.
    const TColor selectionColor = SelectionColor == clNone ? clHighlight : SelectionColor;
    auto showSelected = [&] {
        state |= gdSelected;
        brush = selectionColor;
        colorTo = SelectionColorTo;
        mirrorColor = SelectionMirrorColor;
        mirrorColorTo = SelectionMirrorColorTo;
        if (SelectionTextColor != clNone)
            font.Color = SelectionTextColor;
    };
    const bool selectable = select && !print && ShowSelection && !fixedNow;
    const bool disjunctRows = MouseActions.DisjunctRowSelect();
    const bool disjunctCols = MouseActions.DisjunctColSelect();
    if (disjunctRows && selectable) {
        const bool realRows = MouseActions.RowSelectPersistent;
        const int dataRow = realRows ? DisplToRealRow(r) : r;
        const bool flagged = GetRowSelect(dataRow);
        bool shown = flagged;
        if (MouseButtonDown && r == Row())
            shown = flagged ? false : (state & gdSelected) != 0;
        else if (MouseButtonDown && !flagged)
            shown = (state & gdSelected) != 0;
        if (shown) {
            state = gdSelected;
            showSelected();
        } else {
            state &= ~gdSelected;
        }
    } else if (disjunctCols && selectable && r >= FixedRows()) {
        const bool flagged = GetColSelect(c);
        const bool shown = flagged || (MouseButtonDown && (state & gdSelected));
        if (shown)
            showSelected();
    } else if ((selectable && CellInGridRect(PaintedSelection(), c, r)) ||
               ((state & gdSelected) && MouseButtonDown && ShowSelection)) {
        const TColor cellBrush = brush;
        showSelected();
        if (cellBrush != Color)
            brush = MixSelectionColor(selectionColor, cellBrush, SelectionColorMixer, SelectionColorMixerFactor);
    }
    if (MouseActions.DisjunctCellSelect() && ShowSelection && !print && !fixedNow) {
        if (IsDisjunctCellSelected(c, r)) {
            showSelected();
        } else if (c == Col() && r == Row()) {
            brush = ownBrush;
            font.Color = ownFontColor;
            state &= ~gdSelected;
        }
    }

    if (UseDisabledFont && (!GetRowEnabled(r) || !isEnabled()))
        font.Color = DisabledFontColor;
    if (disjunctRows && (state & gdSelected) && r != Row() && SelectionColorTo == clNone)
        brush = ScaleColorBrightness(brush, 7);

    GetCellWordWrap(rc, r, wordWrap);
    GetCellAlignment(rc, r, hAlign, vAlign);
}

void TExtStringGrid::Paint()
{
    const TMirrorPaint mirror(*this);
    platform::TCanvas& canvas = Canvas();
    canvas.Pen.Style = platform::TPenStyle::psSolid;
    canvas.Brush.Style = platform::TBrushStyle::bsSolid;
    TBaseGrid::Paint();
    if (InplaceEditorShown()) {
        const TPoint base = BaseCell(Col(), Row());
        const TRect cell = CellRect(base.X, base.Y);
        if (!cell.IsEmpty()) {
            const bool lines = GridLineWidth >= 1 && (Options & (goHorzLine | goVertLine));
            canvas.Pen.Color = lines ? GridLineColor : Color;
            canvas.Pen.Width = 1;
            canvas.Brush.Style = platform::TBrushStyle::bsClear;
            canvas.Rectangle(ToQRect(cell));
            canvas.Brush.Style = platform::TBrushStyle::bsSolid;
        }
    }
    canvas.Pen.Color = clBlack;
    if (!BackGround.Bitmap().isNull() || BackGround.ColorTo() != clNone)
        PaintEmptyArea(canvas);
    DrawBorder(canvas);
    if (OnPainted)
        OnPainted(this);
}

void TExtStringGrid::PaintEmptyArea(platform::TCanvas& canvas)
{
    const bool gradient = BackGround.Display() == bdGradientHorz || BackGround.Display() == bdGradientVert;
    if (gradient && BackGround.ColorTo() == clNone)
        return;
    if (!gradient && BackGround.Bitmap().isNull())
        return;
    // The search footer and the floating footer's panel cover the foot of the area;
    // the gradient still spans the whole client area.
    const int w = ClientWidth(), clientHeight = ClientHeight();
    const int h = clientHeight - (SearchFooter.Visible ? TSearchPanel::ShownHeight : 0) -
                  (FloatingFooter.Visible() ? std::max(0, FooterPanel->Height) : 0);
    if (h <= 0)
        return;
    const TRect lastCol = CellRect(ColCount() - 1, std::min(RowCount() - 1, std::max(FixedRows(), TopRow())));
    const TRect lastRow = CellRect(std::min(ColCount() - 1, std::max(FixedCols(), LeftCol())), RowCount() - 1);
    QRegion area;
    if (!lastCol.IsEmpty() && lastCol.Right + GridLineWidth < w)
        area += QRect(lastCol.Right + GridLineWidth, 0, w - lastCol.Right - GridLineWidth, h);
    if (!lastRow.IsEmpty() && lastRow.Bottom + GridLineWidth < h)
        area += QRect(0, lastRow.Bottom + GridLineWidth, w, h - lastRow.Bottom - GridLineWidth);
    if (area.isEmpty() || !canvas.Painting())
        return;
    QPainter* p = canvas.Painter();
    p->save();
    p->setClipRegion(area, Qt::IntersectClip);
    if (gradient) {
        dropdowns::DrawGradient(canvas, BackGround.Color(), BackGround.ColorTo(), 128, QRect(0, 0, w, clientHeight),
                                BackGround.Display() == bdGradientHorz);
    } else if (BackGround.Display() != bdTile) {
        canvas.Draw(BackGround.Left(), BackGround.Top(), BackGround.Bitmap());
    } else if (BackGround.Cells() != bcFixed) {
        const QImage& tile = BackGround.Bitmap();
        int x0 = XYOffset.X, y0 = XYOffset.Y;
        if (BackGround.Cells() == bcNormal) {
            x0 += int(ColOffset(FixedCols()));
            y0 += int(RowOffset(FixedRows()));
        }
        for (int y = y0; y < h; y += tile.height())
            for (int x = x0; x < w; x += tile.width())
                canvas.Draw(x, y, tile);
    }
    p->restore();
}

void TExtStringGrid::PaintCellBackgroundPicture(platform::TCanvas& canvas, const TRect& rect, int r, int c)
{
    const QImage& picture = BackGround.Bitmap();
    if (picture.isNull() || rect.IsEmpty() || !canvas.Painting())
        return;
    QPainter* p = canvas.Painter();
    p->save();
    p->setClipRect(ToQRect(rect), Qt::IntersectClip);
    if (BackGround.Display() != bdTile) {
        canvas.Draw(BackGround.Left(), BackGround.Top(), picture);
    } else {
        // The tiles continue across cells: the cell's offset from the first tiled cell decides
        // where in the picture it starts.
        const int firstCol = BackGround.Cells() == bcNormal ? FixedCols() : 0;
        const int firstRow = BackGround.Cells() == bcNormal ? FixedRows() : 0;
        const int64_t dx = std::max<int64_t>(0, ColOffset(c) - ColOffset(firstCol)) % picture.width();
        const int64_t dy = std::max<int64_t>(0, RowOffset(r) - RowOffset(firstRow)) % picture.height();
        for (int y = rect.Top - int(dy); y < rect.Bottom; y += picture.height())
            for (int x = rect.Left - int(dx); x < rect.Right; x += picture.width())
                canvas.Draw(x, y, picture);
    }
    p->restore();
}

void TExtStringGrid::GetFontProperties(int c, int rc, int r, TFontDesc& font, bool remap)
{
    if (remap)
        rc = DisplToRealCol(c);
    const bool fixed = IsFixed(c, r) || c < FixedCols() || r < FixedRows();
    font = fixed ? FixedFont : GridFont();
    if (const TCellProperties* p = CellProps(rc, r))
        ApplyCellFont(*p, font);
    TColor brush = clNone;
    GetCellColor(rc, r, fixed ? gdFixed : 0, brush, font);
}


void TExtStringGrid::DrawCellContent(platform::TCanvas& canvas, int c, int r, const TRect& rect, TGridDrawState state)
{
    TCellPaintState s;
    s.Canvas = &canvas;
    s.DCol = c;
    s.RCol = DisplToRealCol(c);
    s.Row = r;
    s.DataRow = MouseActions.DisjunctRowSelect() && MouseActions.RowSelectPersistent ? DisplToRealRow(r) : r;
    s.Rect = rect;
    s.ColumnFiltered =
        r == FilterDropDownRow && (FilterDropDownAuto || OnGetColumnFilter) && GetColumnFilter(s.RCol);

    TColor brush = clNone, colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TFontDesc font = GridFont();
    TAlignment ha = DefaultAlignment;
    TVAlignment va = VAlignment;
    bool ww = WordWrap;
    TCellGradientDirection gd = GradientVertical;
    GetVisualProperties(c, r, state, false, false, true, brush, colorTo, mirror, mirrorTo, font, ha, va, ww, gd);
    s.State = state;
    s.HAlign = ha;
    s.VAlign = va;
    s.WordWrap = ww;
    s.Graphic = CellGraphicLayout(*this, s.RCol, r, s.GraphicVAlign, s.GraphicHAlign, s.DrawText, s.GraphicHeight,
                                  s.GraphicWidth);
    if (s.Graphic && s.Graphic->CellType == ctNode && c == 0)
        s.GraphicWidth = GetNodeLevel(r) * 12 + 4;

    if ((state & gdSelected) && !(state & gdFocused) && SelectionColor == clNone)
        brush = clHighlight;
    font.Size += ZoomFactor;
    canvas.Font = CanvasFont(font);
    canvas.Brush.Color = brush;
    s.Brush = brush;
    s.FontColor = font.Color;

    bool fixed = IsFixed(c, r) || c < FixedCols() || r < FixedRows();
    if (fixed && r == HoverRowIdx && (HoverRowCells & hcFixed))
        fixed = false;
    s.Fixed = fixed;
    TRect area = rect;

    // An in-cell scroll bar stands at the cell's right edge while the page is below the range.
    if (HasScrollBar(s.RCol, r)) {
        const TScrollProp prop = GetScrollProp(s.RCol, r);
        s.InCellScroll = true;
        s.ScrollOffset = std::max(0, GetScrollPosition(s.RCol, r));
        if (prop.PageSize < prop.Range && area.Width() > ScrollBarHeight) {
            const QRect bar(area.Right - ScrollBarHeight, area.Top, ScrollBarHeight, area.Height());
            DrawInCellScrollBar(canvas, bar, s.ScrollOffset, prop.PageSize, prop.Range);
            area.Right -= ScrollBarHeight;
            canvas.Brush.Color = brush;
        }
    }

    const TGridLook look = Look();
    const bool gradientLook = look == glVUR || look == glXP || look == glVista || look == glWin7 || look == glOffice2007;
    if (fixed && gradientLook) {
        const bool activeHeader = ActiveCellShow && ((FixedCols() > 0 && c == FixedCols() - 1 && r == Row()) ||
                                                     (FixedRows() > 0 && r == FixedRows() - 1 && c == Col()));
        const TSortSettings& ss = SortSettings;
        const bool sortHeader = ss.HeaderColor() != clNone && s.RCol == ss.Column && r == FixedRows() - 1 &&
                                (c >= FixedCols() || ss.FixedCols);
        if (DrawHoverFixedCell(canvas, c, s.RCol, r, area))
            canvas.Brush.Color = brush;
        else if (activeHeader)
            DrawGridGradient(canvas, ActiveCellColor, ActiveCellColorTo, 128, ToQRect(area), false);
        else if (sortHeader)
            DrawMirrorGradient(canvas, ToQRect(area), ss.HeaderColor(), ss.HeaderColorTo(), ss.HeaderMirrorColor(),
                               ss.HeaderMirrorColorTo(), true, clNone, true, true);
        else if (!Flat) {
            DrawMirrorGradient(canvas, ToQRect(area), brush, colorTo, mirror, mirrorTo, true,
                               look == glVista ? clWhite : clNone, true, true);
        }
    }
    if (fixed && look == glListView && !Flat) {
        DrawListViewFixedCell(canvas, c, r, area);
        canvas.Brush.Color = brush;
    }
    if (c == 0 && ShowModified.Enabled && GetRowModified(DisplToRealRow(r))) {
        canvas.Brush.Color = ShowModified.Color();
        canvas.FillRect(platform::Rect(area.Right - 4, area.Top, area.Right, area.Bottom));
        canvas.Brush.Color = brush;
    }
    if (OnCustomCellBkgDraw)
        OnCustomCellBkgDraw(this, canvas, c, r, state, area, false);

    if (!fixed && (ControlLook.DropDownAlwaysVisible || ControlLook.SpinButtonsAlwaysVisible)) {
        TPartStyle style = ControlLook.FlatButton ? pstFlat : pstThemed;
        if (Flat && ColorTones().Background.BrushColor != clNone)
            style = pstTones;
        bool editable = true;
        IsCellEditable(s.RCol, r, editable);
        const TPartState part = editable ? psNormal : psDisabled;
        if (ControlLook.DropDownAlwaysVisible && HasComboBox(s.RCol, r)) {
            DrawComboArrowPart(canvas, this, ToQRect(area), style, part, ColorTones());
            area.Right -= 16;
        }
        if (ControlLook.SpinButtonsAlwaysVisible && HasSpinEdit(s.RCol, r)) {
            DrawSpinPart(canvas, this, ToQRect(area), style, part, ColorTones());
            area.Right -= 16;
        }
        canvas.Brush.Color = brush;
    }

    if (c == 0 && r == Row() && FixedCols() > 0 && !RowIndicator.isNull() &&
        !(FixedRowAlways && RowCount() <= FixedRows())) {
        const int h = RowIndicator.height();
        int y = area.Top;
        if (VAlignment == vtaCenter)
            y = (area.Top + area.Bottom - h) / 2;
        else if (VAlignment == vtaBottom)
            y = area.Bottom - h;
        canvas.DrawTransparent(area.Left + 2, y, RowIndicator);
        area.Left += RowIndicator.width() + 2;
    }

    s.Rect = area;
    const bool customDraws = (OnDrawCell || OnCustomCellDraw) && NoDefaultDraw;
    if (!customDraws && !(s.Graphic && NoImageAndText))
        DrawCellText(s);

    canvas.Brush.Color = brush;
    canvas.Font.Color = font.Color;
    TRect outer{area.Left - 1, area.Top - 1, area.Right + 1, area.Bottom + 1};
    DrawCellBorders(canvas, s.RCol, r, outer);

    if (fixed && !Flat) {
        const bool fixedHorz = Options & goFixedHorzLine;
        const bool fixedVert = Options & goFixedVertLine;
        if (look == glClassic) {
            DrawPenLine(canvas, clWhite, outer.Left, outer.Bottom - 2, outer.Left, outer.Top);
            DrawPenLine(canvas, clWhite, outer.Left, outer.Top, outer.Right - 1, outer.Top);
            DrawPenLine(canvas, clGray, outer.Right - 2, outer.Top, outer.Right - 2, outer.Bottom - 1);
            DrawPenLine(canvas, clGray, outer.Left, outer.Bottom - 2, outer.Right - 1, outer.Bottom - 2);
            DrawPenLine(canvas, clBlack, outer.Right - 1, outer.Top, outer.Right - 1, outer.Bottom);
            DrawPenLine(canvas, clBlack, outer.Left, outer.Bottom - 1, outer.Right, outer.Bottom - 1);
        } else if ((look == glVUR || look == glXP) && fixedHorz) {
            DrawPenLine(canvas, HalfBrightColor(FixedColor), outer.Left, outer.Bottom - 2, outer.Right, outer.Bottom - 2);
            DrawPenLine(canvas, clWhite, outer.Left, outer.Top + 1, outer.Right, outer.Top + 1);
            DrawPenLine(canvas, clWhite, outer.Left + 1, outer.Top + 1, outer.Left + 1, outer.Bottom - 1);
        } else if (look == glSoft) {
            if (!Flat) {
                if (fixedHorz) {
                    DrawPenLine(canvas, HalfBrightColor(FixedColor), outer.Left, outer.Bottom - 2, outer.Right, outer.Bottom - 2);
                    DrawPenLine(canvas, clWhite, outer.Left, outer.Top + 1, outer.Right, outer.Top + 1);
                }
                if (fixedVert) {
                    DrawPenLine(canvas, HalfBrightColor(FixedColor), outer.Right - 2, outer.Top, outer.Right - 2, outer.Bottom);
                    DrawPenLine(canvas, clWhite, outer.Left + 1, outer.Top, outer.Left + 1, outer.Bottom);
                }
            }
        }
    }
    if (FixedRightCols > 0 && c >= ColCount() - FixedRightCols && look != glClassic && Flat) {
        const TColor edge = Flat ? clGray : clBlack;
        if (Options & goFixedVertLine)
            DrawPenLine(canvas, edge, outer.Left, outer.Top, outer.Left, outer.Bottom);
        if (Options & goFixedHorzLine)
            DrawPenLine(canvas, edge, outer.Left, outer.Bottom - 1, outer.Right, outer.Bottom - 1);
    }

    if (c == 0) {
        // The lines run through the whole row, its grid line included, so that the rows join up.
        const bool fixedFrame = state & gdFixed;
        DrawTreeLines(canvas, r,
                      TRect{area.Left, rect.Top - (fixedFrame ? 0 : GridLineWidth), area.Right,
                            rect.Bottom + (fixedFrame ? 2 : GridLineWidth)});
    }

    if (s.Graphic) {
        TGraphicPaintCell cell;
        cell.Col = s.RCol;
        cell.DCol = c;
        cell.Row = r;
        cell.State = state;
        cell.HAlign = s.HAlign;
        cell.VAlign = s.VAlign;
        cell.TextWidth = s.TextWidth;
        cell.Window = this;
        cell.Brush = brush;
        TRect graphicRect = area;
        if (fixed)
            ++graphicRect.Top;
        DrawCellGraphic(*this, canvas, cell, graphicRect, s.Graphic);
        s.GraphicRect = cell.GraphicRect;
    }

    if (OnDrawCell)
        OnDrawCell(this, c, r, TRect{rect.Left + 1, rect.Top + 1, rect.Right - GridLineWidth, rect.Bottom - GridLineWidth},
                   state);
    if (OnCustomCellDraw)
        OnCustomCellDraw(this, canvas, c, r, state, rect, false);

    if (!HideFocusRect && PaintFocused() && !(Options & goRowSelect) && !fixed) {
        const TPoint base = BaseCell(c, r);
        if (base.X == Col() && base.Y == Row()) {
            const int g = GridLineWidth - 1;
            canvas.DrawFocusRect(platform::Rect(rect.Left - g, rect.Top - g, rect.Right + g - 1, rect.Bottom + g - 1));
        }
    }
    canvas.Brush.Color = brush;
    canvas.Font.Color = font.Color;
}

void TExtStringGrid::DrawInCellScrollBar(platform::TCanvas& canvas, const QRect& bar, int position, int page,
                                         int range)
{
    QPainter* p = canvas.Painter();
    if (!p || range <= 0)
        return;
    QStyleOptionSlider opt;
    opt.initFrom(this);
    opt.rect = bar;
    opt.orientation = Qt::Vertical;
    opt.minimum = 0;
    opt.maximum = std::max(0, range - std::max(0, page));
    opt.pageStep = std::max(1, page);
    opt.singleStep = 10;
    opt.sliderPosition = opt.sliderValue = std::clamp(position, 0, opt.maximum);
    opt.subControls = QStyle::SC_All;
    style()->drawComplexControl(QStyle::CC_ScrollBar, &opt, p, this);
}

void TExtStringGrid::DrawCellText(TCellPaintState& s)
{
    platform::TCanvas& canvas = *s.Canvas;
    const bool selected = s.State & gdSelected;
    if ((selected || ((Options & goRowSelect) && CellInGridRect(Selection(), Col(), s.Row))) && !s.Fixed) {
        if (ShowSelection) {
            if (SelectionColor != clNone)
                canvas.Brush.Color = SelectionColor;
            if (SelectionTextColor != clNone && isEnabled())
                canvas.Font.Color = SelectionTextColor;
        } else if (!PaintFocused()) {
            canvas.Brush.Color = s.Brush;
            canvas.Font.Color = s.FontColor;
        }
    }

    QString text = GetFormattedCell(s.RCol, s.Row);
    bool password = false;
    IsPasswordCell(s.RCol, s.Row, password);
    if (password)
        FillWithChar(text, PasswordChar);

    TRect r = s.Rect;
    if (s.Fixed) {
        r.Left += GridLineWidth;
        r.Top += GridLineWidth;
    }
    // Text under an in-cell scroll bar: clipped to the cell and moved up by the position.
    struct TClip {
        QPainter* p = nullptr;
        ~TClip()
        {
            if (p)
                p->restore();
        }
    } clip;
    if (s.InCellScroll) {
        if (QPainter* p = canvas.Painter()) {
            p->save();
            p->setClipRect(ToQRect(r), Qt::IntersectClip);
            clip.p = p;
        }
        r.Top -= s.ScrollOffset;
    }

    if (s.ColumnFiltered) {
        const bool active = Filter.HasFilter(s.RCol);
        const TGlyph& glyph = active && !FilterDropDown.GlyphActive.isNull() ? FilterDropDown.GlyphActive
                                                                             : FilterDropDown.Glyph;
        if (!glyph.isNull())
            canvas.DrawTransparent(r.Right - 16, r.Top, glyph);
        else
            DrawBitmapOnColor(canvas, FilterGlyphBitmap(), FixedColor, QRect(r.Right - 16, r.Top, 16, 16));
    }

    // A row (column) left out of the disjunct selection shows in its normal colours, also when
    // the platform's selection or row selection covers it.
    const bool disjunctOff = !s.Fixed && !MouseButtonDown &&
                             ((MouseActions.DisjunctRowSelect() && !GetRowSelect(s.DataRow)) ||
                              (MouseActions.DisjunctColSelect() && !GetColSelect(s.DCol)));
    if (disjunctOff) {
        TColor brush = Color;
        TFontDesc font = GridFont();
        GetCellColor(s.RCol, s.Row, s.State, brush, font);
        font.Size += ZoomFactor;
        canvas.Brush.Color = brush;
        canvas.Font = CanvasFont(font);
    }

    const TBackGroundCells cells = BackGround.Cells();
    const bool backgroundHere = s.Fixed ? cells != bcNormal : cells != bcFixed;
    const TColor own = GetColors(s.RCol, s.Row);
    const bool gradientBackground = BackGround.Display() == bdGradientHorz || BackGround.Display() == bdGradientVert;
    if (!BackGround.Bitmap().isNull() && !gradientBackground && own == clNone && backgroundHere &&
        !(selected && ShowSelection)) {
        const int g = GridLineWidth - 1;
        PaintCellBackgroundPicture(canvas, {s.Rect.Left - g, s.Rect.Top - g, s.Rect.Right, s.Rect.Bottom}, s.Row,
                                   s.DCol);
    }
    if (gradientBackground && (own == clNone || (s.Graphic && ColouredByGraphic(s.Graphic->CellType))) &&
        backgroundHere && !(selected && ShowSelection && (!PaintFocused() || (Options & goDrawFocusSelected)))) {
        const TRect g{s.Rect.Left - 1, s.Rect.Top - GridLineWidth, s.Rect.Right, s.Rect.Bottom + GridLineWidth - 1};
        const bool vertical = BackGround.Display() == bdGradientVert;
        const int span = vertical ? Height() : Width();
        const TColor from = InterpolateColor(BackGround.Color(), BackGround.ColorTo(), 0, span, vertical ? g.Top : g.Left);
        const TColor to =
            InterpolateColor(BackGround.Color(), BackGround.ColorTo(), 0, span, vertical ? g.Bottom : g.Right);
        canvas.Brush.Color = to;
        canvas.Pen.Color = to;
        dropdowns::DrawGradient(canvas, from, to, 128, ToQRect(g), !vertical);
    }

    if (SelectionRectangle && !s.Fixed && CellInGridRect(Selection(), s.DCol, s.Row)) {
        const TGridRect sel = Selection();
        const TPoint topLeft = BaseCell(sel.Left, sel.Top);
        canvas.Pen.Color = SelectionRectangleColor;
        canvas.Pen.Width = 2;
        const TRect& c = s.Rect;
        if (s.DCol == topLeft.X || s.DCol == sel.Left) {
            canvas.MoveTo(c.Left - GridLineWidth + 1, c.Top - GridLineWidth);
            canvas.LineTo(c.Left - GridLineWidth + 1, c.Bottom + 1);
        }
        if (s.DCol == sel.Right) {
            canvas.MoveTo(c.Right - 1, c.Top - GridLineWidth);
            canvas.LineTo(c.Right - 1, c.Bottom + 1);
        }
        if (s.Row == topLeft.Y || s.Row == sel.Top) {
            canvas.MoveTo(c.Left - GridLineWidth, c.Top - GridLineWidth + 1);
            canvas.LineTo(c.Right, c.Top - GridLineWidth + 1);
        }
        if (s.Row == sel.Bottom) {
            canvas.MoveTo(c.Left - GridLineWidth, c.Bottom);
            canvas.LineTo(c.Right, c.Bottom);
        }
        if (SelectionResizer && s.DCol == sel.Right && s.Row == sel.Bottom) {
            const TColor keep = canvas.Brush.Color;
            canvas.Brush.Color = SelectionRectangleColor;
            canvas.FillRect(platform::Rect(c.Right - 4, c.Bottom - 3, c.Right, c.Bottom + 1));
            canvas.Brush.Color = keep;
        }
        canvas.Pen.Width = 1;
    }
    if (!s.DrawText)
        return;

    r.Left += XYOffset.X;
    r.Top += XYOffset.Y;
    if (!XYOffsetTopLeftOnly)
        r.Right -= XYOffset.X;
    if (s.Graphic) {
        switch (s.GraphicHAlign) {
        case haBeforeText: r.Left += s.GraphicWidth; break;
        case haAfterText: r.Right -= s.GraphicWidth; break;
        default: break;
        }
        if (s.GraphicVAlign == vaAboveText)
            r.Top += s.GraphicHeight;
        else if (s.GraphicVAlign == vaUnderText)
            r.Bottom -= s.GraphicHeight;
    }
    if (s.DCol == 0 && HasNodes() && !IsNode(s.Row))
        r.Left += GetNodeIndent(s.Row);

    if (IsHTMLText(text)) {
        DrawHTMLCellText(s, text, r);
        return;
    }
    bool link = false;
    if (URLShow && IsURL(text)) {
        link = true;
        if (!URLFull)
            StripURLProtocol(text);
        canvas.Font.setUnderline(true);
        canvas.Font.Color =
            selected && !disjunctOff && ShowSelection && SelectionTextColor != clNone ? SelectionTextColor : URLColor;
    }

    unsigned flags = platform::DT_EXPANDTABS | platform::DT_NOPREFIX;
    if (LineCount(text, Multilinecells) <= 1 && !s.WordWrap) {
        flags |= platform::DT_SINGLELINE;
        if (EnhTextSize)
            flags |= platform::DT_END_ELLIPSIS;
        QString rest = text;
        text = CutFirstLine(rest, false);
    } else {
        flags |= platform::DT_EDITCONTROL;
        if (s.WordWrap && !Multilinecells && EnhTextSize)
            flags |= platform::DT_END_ELLIPSIS;
    }
    switch (s.HAlign) {
    case taRightJustify: flags |= platform::DT_RIGHT; break;
    case taCenter: flags |= platform::DT_CENTER; break;
    default: break;
    }
    switch (s.VAlign) {
    case vtaCenter: flags |= platform::DT_VCENTER; break;
    case vtaBottom: flags |= platform::DT_BOTTOM; break;
    default: break;
    }
    if (!(flags & platform::DT_SINGLELINE) && (s.WordWrap || Multilinecells))
        flags |= platform::DT_WORDBREAK;
    // Carriage returns alone do not break lines in the text drawing: line feeds do.
    if (!(flags & platform::DT_SINGLELINE))
        text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QChar('\r'), QChar('\n'));

    const bool sortHeader = IsSortHeaderCell(s.DCol, s.Row);
    if (sortHeader && s.HAlign == taCenter && s.RCol == SortSettings.Column)
        r.Left += 10;
    if (s.ColumnFiltered)
        r.Right -= 16;

    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    QRect drawn = ToQRect(r);
    {
        // Right to left the text reads the right way round, aligned from the mirrored side.
        const TReadingOrientation reading(*this, canvas);
        const unsigned shown = reading.Active() ? MirrorTextFlags(flags) : flags;
        QRect q = reading.Map(drawn);
        if (s.Graphic) {
            QRect m = q;
            canvas.DrawText(text, m, shown | platform::DT_CALCRECT);
            s.TextWidth = m.width() + 2;
        }
        const QRect place = q;
        canvas.DrawText(text, q, shown);

        int errPos = 0, errLen = 0;
        GetMarker(s.RCol, s.Row, errPos, errLen);
        const TCellType kind = s.Graphic ? s.Graphic->CellType : ctEmpty;
        if (errLen > 0 && (kind == ctEmpty || kind == ctValue)) {
            const platform::TPen pen = canvas.Pen;
            DrawErrorUnderline(this, canvas, text, place, canvas.TextHeight(QStringLiteral("hg")), errPos, errLen);
            canvas.Pen = pen;
        }
    }
    canvas.Brush.Style = platform::TBrushStyle::bsSolid;

    if (sortHeader && (s.RCol == SortSettings.Column || SortSettings.IndexShow)) {
        int y = r.Top + 8;
        if (s.VAlign == vtaCenter)
            y = (r.Top + r.Bottom) / 2;
        else if (s.VAlign == vtaBottom)
            y = r.Bottom - 8;
        QRect m = drawn;
        canvas.DrawText(text, m, flags | platform::DT_CALCRECT);
        const int q = std::max(0, std::min(m.width(), r.Right - r.Left - 16));
        int x = r.Left + 8;
        if (s.HAlign == taLeftJustify) {
            const bool graphicLeft =
                s.Graphic && (s.GraphicHAlign == haLeft || s.GraphicHAlign == haBeforeText);
            x = r.Left + q + (graphicLeft ? s.GraphicWidth : 0) + 10;
        } else if (s.HAlign == taRightJustify) {
            x = r.Right - q - 10;
        }
        DrawSortIndicator(canvas, s.DCol, y, x);
    }
    if (link)
        canvas.Font.setUnderline(false);
}

}  // namespace grid
