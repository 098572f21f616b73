#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

#include "grid/core/BaseGrid.h"
#include "grid/core/GridMirror.h"

namespace grid {

using platform::TScrollBarKind;

void TObjStringGrid::InvalidateRect(const TRect& r)
{
    if (r.IsEmpty())
        return;
    const TRect shown = MirrorRect(r);
    platform::TCustomControl::InvalidateRect(platform::Rect(shown.Left, shown.Top, shown.Right, shown.Bottom));
}

TRect TObjStringGrid::MirrorRect(const TRect& r) const
{
    if (!UseRightToLeftAlignment())
        return r;
    const int w = ClientWidth();
    return {w - r.Right, r.Top, w - r.Left, r.Bottom};
}

// Right-to-left display

TObjStringGrid::TMirrorPaint::TMirrorPaint(TObjStringGrid& grid) : FGrid(grid)
{
    QPainter* p = grid.Canvas().Painter();
    if (!p || !grid.UseRightToLeftAlignment() || grid.FMirroredPainter)
        return;
    FStarted = true;
    FSaved = p->worldTransform();
    p->setWorldTransform(MirrorTransform(grid.ClientWidth()) * FSaved);
    grid.FMirroredPainter = p;
}

TObjStringGrid::TMirrorPaint::~TMirrorPaint()
{
    if (!FStarted)
        return;
    if (QPainter* p = FGrid.Canvas().Painter())
        p->setWorldTransform(FSaved);
    FGrid.FMirroredPainter = nullptr;
}

namespace {
// The same mouse event at the mirrored client position; what the handler decides goes back.
template <typename Handler>
void DeliverMirrored(TObjStringGrid& grid, QMouseEvent* event, Handler handler)
{
    if (!grid.UseRightToLeftAlignment()) {
        handler(event);
        return;
    }
    const QPointF at(grid.ClientWidth() - 1 - event->position().x(), event->position().y());
    QMouseEvent mirrored(event->type(), at, event->scenePosition(), event->globalPosition(), event->button(),
                         event->buttons(), event->modifiers(), event->pointingDevice());
    mirrored.setTimestamp(event->timestamp());
    mirrored.setAccepted(event->isAccepted());
    handler(&mirrored);
    event->setAccepted(mirrored.isAccepted());
}
}  // namespace

void TObjStringGrid::mousePressEvent(QMouseEvent* event)
{
    DeliverMirrored(*this, event, [this](QMouseEvent* e) { platform::TCustomControl::mousePressEvent(e); });
}

void TObjStringGrid::mouseMoveEvent(QMouseEvent* event)
{
    DeliverMirrored(*this, event, [this](QMouseEvent* e) { platform::TCustomControl::mouseMoveEvent(e); });
}

void TObjStringGrid::mouseReleaseEvent(QMouseEvent* event)
{
    // Selecting ends with the left button, whichever layer takes the release.
    if (event->button() == Qt::LeftButton)
        EndRangeSelect();
    DeliverMirrored(*this, event, [this](QMouseEvent* e) { platform::TCustomControl::mouseReleaseEvent(e); });
}

void TObjStringGrid::focusOutEvent(QFocusEvent* event)
{
    EndRangeSelect();
    platform::TCustomControl::focusOutEvent(event);
}

void TObjStringGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    DeliverMirrored(*this, event, [this](QMouseEvent* e) { platform::TCustomControl::mouseDoubleClickEvent(e); });
}

int TObjStringGrid::CellLeft(int c) const
{
    int64_t x = ColSizes.Offset(c);
    if (c >= FFixedCols)
        x -= ColSizes.Offset(FLeftCol) - ColSizes.Offset(FFixedCols);
    return int(std::clamp<int64_t>(x, -(int64_t(1) << 30), int64_t(1) << 30));
}

int TObjStringGrid::CellTop(int r) const
{
    int64_t y = RowSizes.Offset(r);
    if (r >= FFixedRows)
        y -= RowSizes.Offset(FTopRow) - RowSizes.Offset(FFixedRows);
    return int(std::clamp<int64_t>(y, -(int64_t(1) << 30), int64_t(1) << 30));
}

TRect TObjStringGrid::RangeRect(const TGridRect& cells) const
{
    const int l = std::clamp(cells.Left, 0, FColCount - 1), rt = std::clamp(cells.Right, 0, FColCount - 1);
    const int t = std::clamp(cells.Top, 0, FRowCount - 1), b = std::clamp(cells.Bottom, 0, FRowCount - 1);
    return {CellLeft(l), CellTop(t), CellLeft(rt) + ColSizes.Size(rt), CellTop(b) + RowSizes.Size(b)};
}

namespace {
// The first index whose run up to the end fits into room after the fixed part: what the last
// page starts with.
int LastPageStart(const TSizeIndex& sizes, int fixed, int count, int64_t room)
{
    const int64_t need = sizes.Total() - std::max<int64_t>(room, 0);
    if (need <= sizes.Offset(fixed))
        return std::min(fixed, count - 1);
    int t = sizes.Find(need);
    if (t < count && sizes.Offset(t) < need)
        ++t;
    return std::clamp(t, std::min(fixed, count - 1), count - 1);
}
}  // namespace

int TObjStringGrid::MaxTopRow() const
{
    return LastPageStart(RowSizes, FFixedRows, FRowCount, ClientHeight() - RowSizes.Offset(FFixedRows));
}

int TObjStringGrid::MaxLeftCol() const
{
    return LastPageStart(ColSizes, FFixedCols, FColCount, ClientWidth() - ColSizes.Offset(FFixedCols));
}

void TObjStringGrid::SetGridScrollBars(platform::TScrollStyle style)
{
    FGridScrollBars = style;
    SetScrollBars(style);
    UpdateScrollRange();
}

void TObjStringGrid::UpdateScrollRange()
{
    if (FInLayout)
        return;
    FInLayout = true;
    // A bar that comes or goes changes the room of the other one: settle in a few rounds.
    for (int round = 0; round < 3; ++round) {
        const QSize before = ClientSize();
        const int maxTop = MaxTopRow();
        SetScrollInfo(platform::sbVertical, std::min(FFixedRows, FRowCount - 1), FRowCount - 1, FRowCount - maxTop,
                      FTopRow);
        const int maxLeft = MaxLeftCol();
        SetScrollInfo(platform::sbHorizontal, std::min(FFixedCols, FColCount - 1), FColCount - 1, FColCount - maxLeft,
                      FLeftCol);
        if (ClientSize() == before)
            break;
    }
    FInLayout = false;
    ScrollRangeUpdated();
}

void TObjStringGrid::LayoutChanged()
{
    UpdateScrollRange();
    Invalidate();
}

void TObjStringGrid::Resize()
{
    UpdateScrollRange();
    Invalidate();
    platform::TCustomControl::Resize();
}

void TObjStringGrid::Scroll(TScrollBarKind bar, int code, int pos)
{
    const bool vertical = bar == platform::sbVertical;
    const int current = vertical ? FTopRow : FLeftCol;
    const int first = vertical ? std::min(FFixedRows, FRowCount - 1) : std::min(FFixedCols, FColCount - 1);
    const int last = vertical ? MaxTopRow() : MaxLeftCol();
    const int page = std::max(1, vertical ? VisibleRowCount() : VisibleColCount());
    int target = current;
    switch (code) {
    case platform::SB_LINEUP: target = current - 1; break;
    case platform::SB_LINEDOWN: target = current + 1; break;
    case platform::SB_PAGEUP: target = current - page; break;
    case platform::SB_PAGEDOWN: target = current + page; break;
    case platform::SB_THUMBTRACK:
        if (!(Options & goThumbTracking))
            return;
        target = pos;
        break;
    case platform::SB_THUMBPOSITION: target = pos; break;
    case platform::SB_TOP: target = first; break;
    case platform::SB_BOTTOM: target = last; break;
    default: return;
    }
    target = std::clamp(target, first, std::max(first, last));
    if (vertical)
        SetTopRow(target);
    else
        SetLeftCol(target);
    SetScrollPos(bar, vertical ? FTopRow : FLeftCol);
}

bool TObjStringGrid::MouseWheel(platform::TShiftState, int wheelDelta, int, int)
{
    const int notches = wheelDelta / 120;
    if (notches == 0)
        return false;
    const int first = std::min(FFixedRows, FRowCount - 1);
    SetTopRow(std::clamp(FTopRow - 3 * notches, first, std::max(first, MaxTopRow())));
    return true;
}

// Painting

void TObjStringGrid::Paint()
{
    const TMirrorPaint mirror(*this);
    const int w = ClientWidth(), h = ClientHeight();
    const int fw = int(std::min<int64_t>(ColSizes.Offset(FFixedCols), w));
    const int fh = int(std::min<int64_t>(RowSizes.Offset(FFixedRows), h));
    // The last column and row that show in the scrolling part.
    const int lastCol = w > fw ? std::min(FColCount - 1, ColSizes.Find(ColSizes.Offset(FLeftCol) + (w - fw) - 1))
                               : FLeftCol - 1;
    const int lastRow = h > fh ? std::min(FRowCount - 1, RowSizes.Find(RowSizes.Offset(FTopRow) + (h - fh) - 1))
                               : FTopRow - 1;
    PaintPart(QRect(0, 0, fw, fh), 0, FFixedCols - 1, 0, FFixedRows - 1);
    PaintPart(QRect(fw, 0, w - fw, fh), FLeftCol, lastCol, 0, FFixedRows - 1);
    PaintPart(QRect(0, fh, fw, h - fh), 0, FFixedCols - 1, FTopRow, lastRow);
    PaintPart(QRect(fw, fh, w - fw, h - fh), FLeftCol, lastCol, FTopRow, lastRow);

    // The area past the last column and below the last row.
    platform::TCanvas& cv = Canvas();
    cv.ClearClip();
    const int gridRight = lastCol >= FLeftCol ? CellLeft(lastCol) + ColSizes.Size(lastCol) : fw;
    const int gridBottom = lastRow >= FTopRow ? CellTop(lastRow) + RowSizes.Size(lastRow) : fh;
    cv.Brush = platform::TBrush{BackgroundColor(), platform::TBrushStyle::bsSolid};
    if (gridRight < w)
        cv.FillRect(platform::Rect(gridRight, 0, w, h));
    if (gridBottom < h)
        cv.FillRect(platform::Rect(0, gridBottom, std::min(gridRight, w), h));
}

void TObjStringGrid::PaintPart(const QRect& part, int colFrom, int colTo, int rowFrom, int rowTo)
{
    if (part.isEmpty() || colFrom > colTo || rowFrom > rowTo)
        return;
    QRect update = UpdateRect().isEmpty() ? ClientRect() : UpdateRect();
    if (FMirroredPainter)
        update.moveLeft(ClientWidth() - update.left() - update.width());
    if (!part.intersects(update))
        return;
    platform::TCanvas& cv = Canvas();
    cv.SetClipRect(part);
    const int lw = std::max(0, LineWidth());
    const bool focused = Focused();
    std::set<std::pair<int, int>> areasDone;
    for (int r = rowFrom; r <= rowTo; ++r) {
        const int top = CellTop(r);
        if (top >= part.bottom() + 1 || top + RowSizes.Size(r) <= part.top())
            continue;
        const TGridRect selection = PaintedSelection();
        for (int c = colFrom; c <= colTo; ++c) {
            const TGridRect area = PaintArea(c, r);
            const bool single = area.Left == area.Right && area.Top == area.Bottom;
            if (!single && !areasDone.insert({area.Left, area.Top}).second)
                continue;
            const TRect rect = single ? TRect{CellLeft(c), top, CellLeft(c) + ColSizes.Size(c), top + RowSizes.Size(r)}
                                      : RangeRect(area);
            if (rect.IsEmpty() || !update.intersects(platform::Rect(rect.Left, rect.Top, rect.Right, rect.Bottom)))
                continue;
            const int bc = area.Left, br = area.Top;
            const bool fixed = bc < FFixedCols || br < FFixedRows;
            TGridDrawState state = 0;
            if (fixed) {
                state |= gdFixed;
            } else {
                const bool current = FCol >= area.Left && FCol <= area.Right && FRow >= area.Top && FRow <= area.Bottom;
                const bool inSelection = area.Right >= selection.Left && area.Left <= selection.Right &&
                                         area.Bottom >= selection.Top && area.Top <= selection.Bottom;
                if (current && focused)
                    state |= gdFocused;
                if (inSelection && (!(current && focused) || (Options & (goDrawFocusSelected | goRowSelect))))
                    state |= gdSelected;
            }
            const bool vLine = (Options & (fixed ? goFixedVertLine : goVertLine)) != 0 && lw > 0;
            const bool hLine = (Options & (fixed ? goFixedHorzLine : goHorzLine)) != 0 && lw > 0;
            TRect inner = rect;
            if (vLine)
                inner.Right = std::max(inner.Left, inner.Right - lw);
            if (hLine)
                inner.Bottom = std::max(inner.Top, inner.Bottom - lw);
            DrawCell(bc, br, inner, state);
            cv.Brush = platform::TBrush{LineColor(fixed), platform::TBrushStyle::bsSolid};
            if (vLine)
                cv.FillRect(platform::Rect(inner.Right, rect.Top, rect.Right, rect.Bottom));
            if (hLine)
                cv.FillRect(platform::Rect(rect.Left, inner.Bottom, rect.Right, rect.Bottom));
        }
    }
    cv.ClearClip();
}

// Sizing by mouse

int TObjStringGrid::SizingEdgeAt(bool columns, int along, int across) const
{
    const TSizeIndex& sizes = columns ? ColSizes : RowSizes;
    const TSizeIndex& other = columns ? RowSizes : ColSizes;
    const int fixed = columns ? FFixedCols : FFixedRows, otherFixed = columns ? FFixedRows : FFixedCols;
    const int first = columns ? FLeftCol : FTopRow, count = columns ? FColCount : FRowCount;
    const int room = columns ? ClientWidth() : ClientHeight(), otherRoom = columns ? ClientHeight() : ClientWidth();
    if (across < 0 || across >= std::min<int64_t>(other.Offset(otherFixed), otherRoom))
        return -1;
    const int fixedEnd = int(std::min<int64_t>(sizes.Offset(fixed), room));
    auto indexAt = [&](int pos) {
        const TGridCoord cell = columns ? MouseToCell(pos, across) : MouseToCell(across, pos);
        return columns ? cell.X : cell.Y;
    };
    auto end = [&](int i) { return (columns ? CellLeft(i) : CellTop(i)) + sizes.Size(i); };
    auto shown = [&](int i) { return i >= 0 && (i < fixed || i >= first); };
    auto onEdge = [&](int i) { return std::abs(along - (end(i) - 1)) <= SizingDistance; };
    for (int i : {indexAt(along), indexAt(along - SizingDistance - 1)}) {
        // A scrolled cell hidden under the fixed ones has no edge to take.
        if (!shown(i) || (i >= fixed && end(i) <= fixedEnd))
            continue;
        if (onEdge(i))
            return i;
    }
    // Past the last column (row) the edge of the last one still counts.
    return shown(count - 1) && onEdge(count - 1) ? count - 1 : -1;
}

QCursor TObjStringGrid::CursorAt(int x, int y)
{
    if (FSizingCol >= 0)
        return Qt::SplitHCursor;
    if (FSizingRow >= 0)
        return Qt::SplitVCursor;
    if (const int c = ColumnSizingEdgeAt(x, y); c >= 0 && CanSizeColumn(c))
        return Qt::SplitHCursor;
    if (const int r = RowSizingEdgeAt(x, y); r >= 0 && CanSizeRow(r))
        return Qt::SplitVCursor;
    return platform::TCustomControl::CursorAt(x, y);
}

void TObjStringGrid::MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y)
{
    FLastMouseDown = QPoint(x, y);
    if (button == platform::mbLeft && !(shift & platform::ssDouble)) {
        if (const int c = ColumnSizingEdgeAt(x, y); c >= 0 && CanSizeColumn(c)) {
            FSizingCol = c;
            FSizingStart = CellLeft(c);
            FSizingOld = ColSizes.Size(c);
            SetMouseCapture(true);
            return;
        }
        if (const int r = RowSizingEdgeAt(x, y); r >= 0 && CanSizeRow(r)) {
            FSizingRow = r;
            FSizingStart = CellTop(r);
            FSizingOld = RowSizes.Size(r);
            SetMouseCapture(true);
            return;
        }
        if (hasFocus() || focusPolicy() != Qt::NoFocus)
            SetFocus();
        const TGridCoord cell = MouseToCell(x, y);
        EndRangeSelect();
        if (cell.X >= FFixedCols && cell.Y >= FFixedRows) {
            // A plain press anchors the selection at the pressed cell; Shift extends it from its
            // anchor to the pressed cell. Either way a drag with the button held goes on from there.
            MoveCurrent(cell.X, cell.Y, (shift & platform::ssShift) != 0);
            if (FCol == cell.X && FRow == cell.Y)
                BeginRangeSelect();
        }
    }
    platform::TCustomControl::MouseDown(button, shift, x, y);
}

void TObjStringGrid::BeginRangeSelect()
{
    FRangeSelecting = (Options & goRangeSelect) != 0;
}

void TObjStringGrid::EndRangeSelect()
{
    FRangeSelecting = false;
    FRangeScroll.Stop();
}

bool TObjStringGrid::RangeSelectStep()
{
    bool outside = false;
    // The column (row) the moving end goes to along one axis: the one under the mouse, or one past
    // the scrolled part when the mouse is over the fixed cells or beyond the client edge.
    auto target = [&outside](int pos, const TSizeIndex& sizes, int fixed, int first, int count, int room,
                             int visible, int maxFirst) {
        const int64_t fixedSize = sizes.Offset(fixed);
        if (pos < fixedSize && first > fixed) {
            outside = true;
            return first - 1;
        }
        if (pos >= room && first < maxFirst) {
            outside = true;
            return std::min(count - 1, first + visible);
        }
        if (pos < fixedSize)
            return fixed;
        return std::clamp(sizes.Find(pos - fixedSize + sizes.Offset(first)), fixed, count - 1);
    };
    const int c = target(FSelectMouse.x(), ColSizes, FFixedCols, FLeftCol, FColCount, ClientWidth(),
                         VisibleColCount(), MaxLeftCol());
    const int r = target(FSelectMouse.y(), RowSizes, FFixedRows, FTopRow, FRowCount, ClientHeight(),
                         VisibleRowCount(), MaxTopRow());
    if (c != FCol || r != FRow)
        ExtendSelection(c, r);
    return outside;
}

void TObjStringGrid::ScheduleRangeScroll()
{
    if (FRangeScroll.IsActive())
        return;
    FRangeScroll.Start(RangeScrollInterval, static_cast<QWidget*>(this), [this] {
        if (FRangeSelecting && RangeSelectStep())
            ScheduleRangeScroll();
    });
}

void TObjStringGrid::MouseMove(platform::TShiftState shift, int x, int y)
{
    if (FSizingCol >= 0) {
        SetColWidths(FSizingCol, std::max(MinSizingWidth, x - FSizingStart + 1));
        return;
    }
    if (FSizingRow >= 0) {
        SetRowHeights(FSizingRow, std::max(MinSizingWidth, y - FSizingStart + 1));
        return;
    }
    if (FRangeSelecting && !(shift & platform::ssLeft))
        EndRangeSelect();
    if (FRangeSelecting) {
        FSelectMouse = QPoint(x, y);
        if (RangeSelectStep())
            ScheduleRangeScroll();
        else
            FRangeScroll.Stop();
    }
    platform::TCustomControl::MouseMove(shift, x, y);
}

void TObjStringGrid::MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y)
{
    if (button == platform::mbLeft)
        EndRangeSelect();
    if (FSizingCol >= 0 || FSizingRow >= 0) {
        const int c = std::exchange(FSizingCol, -1);
        const int r = std::exchange(FSizingRow, -1);
        SetMouseCapture(false);
        if (c >= 0 && c < FColCount && ColSizes.Size(c) != FSizingOld)
            ColumnSized(c, FSizingOld);
        if (r >= 0 && r < FRowCount && RowSizes.Size(r) != FSizingOld)
            RowSized(r, FSizingOld);
        return;
    }
    platform::TCustomControl::MouseUp(button, shift, x, y);
}

}  // namespace grid
