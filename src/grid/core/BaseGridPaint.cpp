// The frame every cell is painted through: merged areas once per pass, clipping under the fixed
// cells, the colours the grid layers give, hover and active row, the selection button styles, the
// background and the grid lines, then the content painter on the inner rectangle.
#include <QPainter>
#include <climits>

#include "grid/core/BaseGrid.h"
#include "grid/core/GridDraw.h"
#include "grid/core/GridPaint.h"

namespace grid {

platform::TFont CanvasFont(const TFontDesc& font)
{
    QFont f(font.Name.isEmpty() ? QStringLiteral("Tahoma") : font.Name);
    f.setStyleHint(QFont::SansSerif);
    // Sizes are points at the platform's 96 pixels per inch.
    const int points = font.Size > 0 ? font.Size : 8;
    f.setPixelSize(std::max(1, (points * 96 + 36) / 72));
    f.setBold(font.Style & fsBold);
    f.setItalic(font.Style & fsItalic);
    f.setUnderline(font.Style & fsUnderline);
    f.setStrikeOut(font.Style & fsStrikeOut);
    return platform::TFont(f, font.Color == clNone ? clBlack : font.Color);
}

QRect ToQRect(const TRect& r) { return platform::Rect(r.Left, r.Top, r.Right, r.Bottom); }

namespace {

struct TButtonColors {
    TColor From, To, Frame, TopLine, BottomLine, Corner, MirrorFrom, MirrorTo;
};

// The selection button looks: Vista, Windows 7, Office 2007, and the grey one of an unfocused grid.
constexpr TButtonColors SelectionButtons[4] = {
    {0xFDF8F1, 0xFCEFD5, 0xFDDE99, 0xFDFBF6, 0xFDF5E7, 0xFCEDCB, clNone, clNone},
    {0xFCEBDC, 0xFCDBC1, 0xCEA27D, 0xFDF4EB, 0xFDEADB, 0xE0C5AE, clNone, clNone},
    {0xD7FFFD, 0x58D4FC, 0x8DD7D3, 0xF4FEFF, 0xCAF8FF, 0xC3D9DF, 0x58D4FC, 0xB3F1FC},
    {0xF8F8F8, 0xE5E5E5, 0xD9D9D9, 0xFBFAFA, 0xF0F0F0, 0xEFEFEF, clNone, clNone},
};

// Restores the painter's clip and the canvas tools when the cell is done.
class TCellClip {
public:
    TCellClip(platform::TCanvas& canvas, bool clip, const QRect& area) : FCanvas(canvas)
    {
        if (!clip || !canvas.Painting())
            return;
        FSaved = true;
        canvas.Painter()->save();
        canvas.IntersectClipRect(area);
    }
    ~TCellClip()
    {
        if (FSaved)
            FCanvas.Painter()->restore();
        FCanvas.Brush.Style = platform::TBrushStyle::bsSolid;
        FCanvas.Pen.Style = platform::TPenStyle::psSolid;
    }
    TCellClip(const TCellClip&) = delete;
    TCellClip& operator=(const TCellClip&) = delete;

private:
    platform::TCanvas& FCanvas;
    bool FSaved = false;
};

}  // namespace

void TBaseGrid::DrawCell(int c, int r, TRect rect, TGridDrawState state)
{
    DoPaintCell(Canvas(), c, r, rect, state, true, true);
}

void TBaseGrid::Paint()
{
    TObjStringGrid::Paint();
    PaintPassDone();
}

void TBaseGrid::PaintGridCell(platform::TCanvas& canvas, int c, int r, const TRect& rect, TGridDrawState state)
{
    DoPaintCell(canvas, c, r, rect, state, true, true);
}

void TBaseGrid::PaintCell(platform::TCanvas& canvas, int c, int r, const TRect& rect, TGridDrawState state)
{
    DoPaintCell(canvas, c, r, rect, state, true, false);
}

void TBaseGrid::PaintCellExt(platform::TCanvas& canvas, int c, int r, const TRect& rect, TGridDrawState state)
{
    DoPaintCell(canvas, c, r, rect, state, false, false);
}

void TBaseGrid::GetVisualProperties(int, int, TGridDrawState&, bool, bool, bool, TColor&, TColor&, TColor&, TColor&,
                                    TFontDesc&, TAlignment&, TVAlignment&, bool&, TCellGradientDirection&)
{
}

void TBaseGrid::DrawCellContent(platform::TCanvas& canvas, int c, int r, const TRect& rect, TGridDrawState)
{
    QRect q = ToQRect(rect);
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    canvas.DrawText(GetCellEx(c, r), q, platform::DT_SINGLELINE | platform::DT_CENTER | platform::DT_VCENTER |
                                           platform::DT_NOPREFIX);
    canvas.Brush.Style = platform::TBrushStyle::bsSolid;
}

void TBaseGrid::DoPaintCell(platform::TCanvas& canvas, int c, int r, TRect rect, TGridDrawState state, bool full,
                            bool pass)
{
    const TColor gridColor = Color;
    if (HideLastRow && r == RowCount() - 1) {
        canvas.Brush.Color = gridColor;
        canvas.Pen.Color = gridColor;
        canvas.Rectangle(ToQRect(rect));
        return;
    }
    if (full && IsMergedCell(c, r)) {
        // A merged area is painted whole through its base cell, once per pass.
        int bc = c, br = r;
        FindBaseCell(c, r, bc, br);
        TCellProperties* base = CellProps(bc, br);
        if (pass && base) {
            if (base->PaintID == FPaintID)
                return;
            base->PaintID = FPaintID;
        }
        c = bc;
        r = br;
    }

    const bool fixedByIndex = c < FixedCols() || r < FixedRows();
    if (full && (IsFixed(c, r) || fixedByIndex))
        state = TGridDrawState((state & ~gdSelected) | gdFixed);
    if (full)
        rect = CellRect(c, r);
    if (rect.IsEmpty())
        return;
    const bool fixed = state & gdFixed;
    const bool selected = state & gdSelected;

    // Scrolled areas never paint over the fixed cells.
    const int fx = c >= FixedCols() ? int(ColOffset(FixedCols())) : 0;
    const int fy = r >= FixedRows() ? int(RowOffset(FixedRows())) : 0;
    const bool clip = (c >= FixedCols() && FixedCols() > 0 && rect.Left < fx) ||
                      (r >= FixedRows() && FixedRows() > 0 && rect.Top < fy);
    TCellClip clipGuard(canvas, clip, QRect(fx, fy, INT_MAX / 4, INT_MAX / 4));

    canvas.Pen.Width = 1;
    TFontDesc font{FontName, FontSize, 0, FontColor};
    TColor brush = canvas.Brush.Color;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = false;
    TCellGradientDirection gd = GradientVertical;
    GetVisualProperties(c, r, state, false, true, true, brush, colorTo, mirror, mirrorTo, font, ha, va, ww, gd);
    canvas.Font = CanvasFont(font);

    const bool selectedNow = state & gdSelected;
    if (r == HoverRowIdx && HoverRow && !(selectedNow && !(HoverRowCells & hcSelected)) &&
        !(fixed && !(HoverRowCells & hcFixed))) {
        brush = HoverRowColor;
        colorTo = HoverRowColorTo;
        mirror = mirrorTo = clNone;
        gd = GradientVertical;
    }
    if ((ActiveRowShow && r == Row() && c >= FixedCols() && (c != Col() || !ShowSel)) || (!full && selected)) {
        brush = ActiveRowColor;
        colorTo = ActiveRowColorTo;
        mirror = ActiveRowMirrorColor;
        mirrorTo = ActiveRowMirrorColorTo;
    }
    canvas.Pen.Color = brush;

    bool buttonDone = false;
    const TSelectionStyle selectionStyle = CellSelectionStyle();
    if (selectedNow && selectionStyle >= ssVista && selectionStyle <= ssOffice2007 && ShowSel) {
        const TGridRect sel = PaintedSelection();
        const int left = std::min(sel.Left, sel.Right), right = std::max(sel.Left, sel.Right);
        int kind = 0;
        if (c == left && left < right)
            kind = 1;
        else if (c == right && right > left)
            kind = 2;
        else if (left < c && c < right)
            kind = 3;
        TRect b = rect;
        if (!(Options & goHorzLine))
            ++b.Bottom;
        if (!(Options & goVertLine))
            ++b.Right;
        if (RightToLeftPaint()) {
            ++b.Right;
            ++b.Bottom;
        }
        const bool focusedLook = PaintFocused() || (Options & goDrawFocusSelected);
        const TButtonColors& k = SelectionButtons[focusedLook ? selectionStyle - 1 : 3];
        DrawGradientButton(canvas, k.From, k.To, k.MirrorFrom, k.MirrorTo, k.TopLine, k.BottomLine, k.Frame, k.Corner,
                           gridColor, ToQRect(b), kind);
        buttonDone = true;
    }
    if (!buttonDone && (!UsePlatformStyles || (!fixed && !selectedNow))) {
        if (mirrorTo == clNone)
            DrawGridGradient(canvas, brush, colorTo, 64, ToQRect(rect), gd == GradientHorizontal);
        else
            DrawMirrorGradient(canvas, ToQRect(rect), brush, colorTo, mirror, mirrorTo, gd != GradientHorizontal, clNone,
                               false, true);
    }

    int h = 1;
    if (fixed) {
        canvas.Pen.Color = GridFixedLineColor;
        canvas.Pen.Width = 1;
    } else {
        if (GridLineWidth > 0)
            canvas.Pen.Color = GridLineColor;
        canvas.Pen.Width = std::max(1, GridLineWidth);
        h = (GridLineWidth + 1) / 2;
    }
    const bool drawLines = fixed || GridLineWidth > 0;
    if (drawLines) {
        const bool horz = fixed ? (Options & goFixedHorzLine) : (Options & goHorzLine);
        const bool vert = fixed ? (Options & goFixedVertLine) : (Options & goVertLine);
        if (horz && !(HasNodes() && c == 0)) {
            canvas.MoveTo(rect.Left - h + 1, rect.Bottom - h);
            canvas.LineTo(rect.Right - h + 1, rect.Bottom - h);
        }
        if (vert) {
            const int x = rect.Right - h + (RightToLeftPaint() ? 1 : 0);
            canvas.MoveTo(x, rect.Bottom - h);
            canvas.LineTo(x, rect.Top - h);
        }
    }
    canvas.Pen.Width = 1;

    if (full) {
        TRect inner = rect;
        if (fixed) {
            inner.Right -= 1;
            inner.Bottom -= 2;
        } else {
            inner = {rect.Left + GridLineWidth, rect.Top + GridLineWidth, rect.Right - GridLineWidth,
                     rect.Bottom - GridLineWidth};
        }
        canvas.Brush.Color = brush == clNone ? gridColor : brush;
        DrawCellContent(canvas, c, r, inner, state);
    }
}

}  // namespace grid
