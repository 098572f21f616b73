// What the mouse leaves for painting: the hovered and pressed fixed cell with its looks, the
// hovered row, and the tree lines of node rows.
#include <algorithm>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridDraw.h"
#include "grid/core/GridPaint.h"
#include "controls/common/ExtXPVS.h"

namespace grid {

bool TExtStringGrid::IsHoverFixedCell(int c, int r) const
{
    switch (HoverFixedCells) {
    case hfAll: return (c >= 0 && c < FixedCols()) || (r >= 0 && r < FixedRows());
    case hfFixedRows: return r >= 0 && r < FixedRows();
    case hfFixedColumns: return c >= 0 && c < FixedCols();
    default: return false;
    }
}

bool TExtStringGrid::CanShowFixedDropDown(int c)
{
    bool canShow = true;
    if (OnCanShowFixedDropDown)
        OnCanShowFixedDropDown(this, c, canShow);
    return canShow;
}

void TExtStringGrid::RepaintHoverFixedCell()
{
    if (FHoverFixedCell.X >= 0 && FHoverFixedCell.Y >= 0)
        RepaintCell(FHoverFixedCell.X, FHoverFixedCell.Y);
}

void TExtStringGrid::ResetFixedCellHighlight()
{
    if (HoverFixedCells == hfNone || FHoverFixedCell == TGridCoord{})
        return;
    RepaintHoverFixedCell();
    FHoverFixedCell = {};
    FHoverFixedX = -1;
}

void TExtStringGrid::TrackHover(int x, int y)
{
    const TGridCoord cell = MouseToCell(x, y);
    const bool onCell = cell.X >= 0 && cell.Y >= 0;
    TrackHoverAnchor(x, y);
    if (HoverRow) {
        const int row = onCell ? cell.Y : -1;
        if (row != HoverRowIdx) {
            auto repaintRow = [this](int r) {
                if (r < 0 || r >= RowCount())
                    return;
                const TRect cr = CellRect(std::clamp(LeftCol(), 0, ColCount() - 1), r);
                if (!cr.IsEmpty())
                    InvalidateRect(platform::Rect(0, cr.Top, ClientWidth(), cr.Bottom));
            };
            repaintRow(HoverRowIdx);
            HoverRowIdx = row;
            repaintRow(row);
        }
    }
    if (HoverFixedCells != hfNone && !HoldHoverFixedCell) {
        const TGridCoord hover = onCell && IsHoverFixedCell(cell.X, cell.Y) ? cell : TGridCoord{};
        const int oldX = FHoverFixedX;
        FHoverFixedX = hover.X >= 0 ? x : -1;
        if (!(hover == FHoverFixedCell)) {
            RepaintHoverFixedCell();
            FHoverFixedCell = hover;
            RepaintHoverFixedCell();
        } else if (ControlLook.FixedDropDownButton && oldX != FHoverFixedX) {
            // Which part of the drop-down button cell looks pressed follows the mouse.
            RepaintHoverFixedCell();
        }
    }
}

void TExtStringGrid::DefaultMouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y)
{
    if (button == platform::mbLeft) {
        MouseButtonDown = true;
        TrackHover(x, y);
        RepaintHoverFixedCell();
    }
    TBaseGrid::MouseDown(button, shift, x, y);
}

void TExtStringGrid::DefaultMouseMove(platform::TShiftState shift, int x, int y)
{
    TrackHover(x, y);
    TBaseGrid::MouseMove(shift, x, y);
}

void TExtStringGrid::DefaultMouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y)
{
    if (button == platform::mbLeft && MouseButtonDown) {
        MouseButtonDown = false;
        RepaintHoverFixedCell();
    }
    TBaseGrid::MouseUp(button, shift, x, y);
}

void TExtStringGrid::MouseLeave()
{
    if (TGridEditLayer* layer = EditLayer())
        layer->MouseLeave();
    if (!HoldHoverFixedCell)
        ResetFixedCellHighlight();
    SetHoverAnchor({-1, -1}, 0);
    if (HoverRowIdx >= 0) {
        HoverRowIdx = -1;
        Invalidate();
    }
    TBaseGrid::MouseLeave();
}

bool TExtStringGrid::DrawHoverFixedCell(platform::TCanvas& canvas, int c, int rc, int r, TRect& area)
{
    // The header of a column being moved shows pressed wherever the mouse is.
    const TGridEditLayer* layer = EditLayer();
    const int moving = layer ? layer->MovingColumn() : -1;
    const bool movingHeader = moving >= 0 && c == moving && r < FixedRows();
    if (!movingHeader && (!(FHoverFixedCell == TGridCoord{c, r}) || !IsHoverFixedCell(c, r)))
        return false;
    const bool pressed = MouseButtonDown || moving >= 0;
    auto paintSet = [&](const QRect& q, bool down) {
        if (down)
            DrawMirrorGradient(canvas, q, VURGradientDownFrom, VURGradientDownTo, VURGradientDownMirrorFrom,
                               VURGradientDownMirrorTo, true, VURGradientDownBorder, false, true);
        else
            DrawMirrorGradient(canvas, q, VURGradientHoverFrom, VURGradientHoverTo, VURGradientHoverMirrorFrom,
                               VURGradientHoverMirrorTo, true, VURGradientHoverBorder, false, true);
    };
    const QRect whole = ToQRect(area);
    if (!(ControlLook.FixedDropDownButton && CanShowFixedDropDown(rc)) || whole.width() <= 16) {
        paintSet(whole, pressed);
        return true;
    }
    const int split = area.Right - 16;
    const bool onButton = FHoverFixedX >= split;
    paintSet(QRect(whole.left(), whole.top(), split - whole.left(), whole.height()), pressed && !onButton);
    paintSet(QRect(split, whole.top(), 16, whole.height()), pressed && onButton);
    canvas.Pen.Color = pressed ? VURGradientDownBorder : VURGradientHoverBorder;
    canvas.Pen.Width = 1;
    canvas.MoveTo(split, area.Top);
    canvas.LineTo(split, area.Bottom);
    DrawDropArrow(canvas, area.Right - 8, area.Top + 8, FixedFont.Color);
    area.Right -= 16;
    return true;
}

void TExtStringGrid::DrawListViewFixedCell(platform::TCanvas& canvas, int c, int r, const TRect& area)
{
    const QRect q = ToQRect(area);
    controls::HTHEME theme = controls::IsThemeActive() ? controls::OpenThemeData(this, QStringLiteral("header"))
                                                       : controls::HTHEME{};
    bool drawn = false;
    if (theme) {
        const bool hot = FHoverFixedCell == TGridCoord{c, r} && IsHoverFixedCell(c, r);
        if (hot)
            drawn = controls::DrawThemeBackground(theme, canvas, controls::HP_HEADERITEM,
                                                  MouseButtonDown ? controls::HIS_PRESSED : controls::HIS_HOT, q);
        else
            drawn = controls::DrawThemeBackground(theme, canvas, controls::HP_HEADERITEMRIGHT, controls::HIS_NORMAL, q);
        controls::CloseThemeData(theme);
    }
    if (!drawn) {
        canvas.Brush.Color = clBtnFace;
        canvas.Pen.Color = clWhite;
        canvas.Rectangle(q);
    }
    canvas.Pen.Color = clWhite;
    canvas.Pen.Width = 1;
    canvas.MoveTo(area.Left, area.Top);
    canvas.LineTo(area.Right, area.Top);
}

void TExtStringGrid::DrawTreeLines(platform::TCanvas& canvas, int r, const TRect& rect)
{
    if (!CellNode.ShowTree || !HasNodes() || r < FixedRows() || r >= RowCount() - FixedFooters || IsNode(r))
        return;
    const TCellProperties* p = CellProps(0, r);
    const int level = p ? p->NodeLevel : 0;
    const int indent = CellNode.NodeIndent;
    if (level <= 0 || indent <= 0)
        return;
    // Each level's line runs down the middle of its indent, under the node glyph of that level.
    auto middle = [&](int k) { return rect.Left + (k - 1) * indent + indent / 2 + 1; };
    const int cy = (rect.Top + rect.Bottom) / 2;
    canvas.Pen.Style = platform::TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = CellNode.TreeColor;
    for (int k = 1; k < level; ++k) {
        canvas.MoveTo(middle(k), rect.Top);
        canvas.LineTo(middle(k), rect.Bottom);
    }
    const int x = middle(level);
    // The last row of a group stops half-way; the others run on into the next row.
    const int spanType = GetNodeSpanType(r);
    canvas.MoveTo(x, rect.Top);
    canvas.LineTo(x, spanType == 2 ? rect.Bottom : cy + 1);
    const int stubEnd = CellNode.ShowTreeFull ? rect.Left + level * indent : x + 4;
    canvas.MoveTo(x, cy);
    canvas.LineTo(std::min(stubEnd, int(rect.Right)), cy);
}

}  // namespace grid
