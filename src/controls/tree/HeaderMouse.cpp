#include "controls/tree/NodeTrees.h"
#include "controls/tree/TreeHeader.h"
#include "controls/tree/TreeDragImage.h"

#include <QApplication>
#include <QPainter>
#include <cmath>

namespace tree {

using platform::TShiftState;
using K = THeaderMessageKind;


// ---------------------------------------------------------------------------------------------
// The tree's strip handlers

void TBaseNodeTree::NCMouseDown(platform::TMouseButton button, TShiftState, const QPoint& pos, const QPoint& global)
{
    TTVHeaderMessage m;
    m.Kind = button == platform::mbLeft ? K::NCLButtonDown : button == platform::mbRight ? K::NCRButtonDown : K::NCMButtonDown;
    m.Pos = pos;
    m.ScreenPos = global;
    FHeader.ProcessHeaderMessage(m);
}

void TBaseNodeTree::NCMouseMove(TShiftState, const QPoint& pos, const QPoint& global)
{
    // While the header holds the mouse the moves are the window's own, as under a capture.
    TTVHeaderMessage m;
    m.Kind = (FHeader.States() & HeaderMouseStates) ? K::MouseMove : K::NCMouseMove;
    m.Pos = pos;
    m.ScreenPos = global;
    FHeader.ProcessHeaderMessage(m);
}

void TBaseNodeTree::NCMouseUp(platform::TMouseButton button, TShiftState, const QPoint& pos, const QPoint& global)
{
    TTVHeaderMessage m;
    if (button == platform::mbLeft)
        m.Kind = (FHeader.States() & HeaderMouseStates) ? K::LButtonUp : K::NCLButtonUp;
    else
        m.Kind = button == platform::mbRight ? K::NCRButtonUp : K::NCMButtonUp;
    m.Pos = pos;
    m.ScreenPos = global;
    FHeader.ProcessHeaderMessage(m);
}

void TBaseNodeTree::NCDblClick(platform::TMouseButton button, TShiftState, const QPoint& pos, const QPoint& global)
{
    TTVHeaderMessage m;
    m.Kind = button == platform::mbLeft    ? K::NCLButtonDblClk
             : button == platform::mbRight ? K::NCRButtonDblClk
                                           : K::NCMButtonDblClk;
    m.Pos = pos;
    m.ScreenPos = global;
    FHeader.ProcessHeaderMessage(m);
}

void TBaseNodeTree::NCMouseLeave()
{
    TTVHeaderMessage m;
    m.Kind = K::NCMouseLeave;
    m.Pos = viewport()->mapFromGlobal(QCursor::pos());
    FHeader.ProcessHeaderMessage(m);
}

QCursor TBaseNodeTree::NCCursorAt(const QPoint& pos)
{
    TTVHeaderMessage m;
    m.Kind = K::SetCursor;
    m.Pos = pos;
    FHeader.ProcessHeaderMessage(m);
    return m.CursorChosen ? m.Cursor : Cursor();
}

// ---------------------------------------------------------------------------------------------
// Splitters

bool TTVHeader::FindSplitterColumn(QPoint p)
{
    TNodeTreeColumns& columns = *FColumns;
    if (columns.Count() == 0)
        return false;
    columns.FTrackIndex = NoColumn;
    const int t = FSplitterHitTolerance;
    const int c = int(std::nearbyint(0.6 * t));
    const bool rtl = FOwner->RightToLeft();
    // A column's splitter is its right border, in right-to-left display its left border.
    const int toLeft = rtl ? c : t - c, toRight = rtl ? t - c : c;
    const int offset = FOwner->EffectiveOffsetX();
    const int fixedWidth = columns.GetVisibleFixedWidth();
    const int range = columns.TotalWidth();
    int e = rtl ? -offset + columns.RightToLeftOffset() : range - offset;
    const int count = int(columns.FPositionToIndex.size());
    for (int i = 0; i < count; ++i) {
        const TColumnIndex index = columns.FPositionToIndex[size_t(rtl ? i : count - 1 - i)];
        if (!columns.IsValidColumn(index))
            continue;
        TNodeTreeColumn* column = columns.Items(index);
        if (!column->Visible())
            continue;
        const bool fixed = column->Options() & coFixed;
        bool near;
        if (fixed)
            near = e + offset - toLeft < p.x() && p.x() < e + offset + toRight;
        else
            near = p.x() > fixedWidth && e - toLeft < p.x() && p.x() < e + toRight;
        if (near && columns.ColumnSplitterAllowed(p, index)) {
            columns.FTrackIndex = index;
            // The border that stays put while the splitter moves.
            const int anchor = rtl ? e + column->Width() : e - column->Width();
            FTrackPoint = QPoint(anchor + (fixed ? offset : 0), p.y());
            return true;
        }
        e += rtl ? column->Width() : -column->Width();
    }
    return false;
}

bool TTVHeader::IsColumnSplitterHit(QPoint p)
{
    if (!(FOptions & hoColumnResize) || !FindSplitterColumn(p))
        return false;
    if (InHeader(p))
        return true;
    // Below the header only the border of the fixed area can be dragged, and only over nodes.
    const TColumnIndex track = FColumns->FTrackIndex;
    const TNodeTreeColumn* column = FColumns->Items(track);
    if (!(column->Options() & coFixed))
        return false;
    const TColumnIndex next = FColumns->GetNextVisibleColumn(track);
    if (FColumns->IsValidColumn(next) && (FColumns->Items(next)->Options() & coFixed))
        return false;
    return p.y() >= 0 && p.y() < int(FOwner->RangeY());
}

bool TTVHeader::IsHeightSplitterHit(QPoint p)
{
    return InHeaderSplitterArea(p) && DoCanSplitterResizeHeader(p, (FOptions & hoHeightResize) != 0);
}

// ---------------------------------------------------------------------------------------------
// Column drag

void TTVHeader::PrepareColumnDrag(QPoint p, bool /*start*/)
{
    TNodeTreeColumns& columns = *FColumns;
    columns.FDropTarget = NoColumn;
    const QPoint start = FOwner->viewport()->mapFromGlobal(FDragStart);
    columns.FDragIndex = columns.ColumnFromPosition(QPoint(start.x(), start.y() + FHeight));
    if (!columns.IsValidColumn(columns.FDragIndex))
        return;
    TNodeTreeColumn* column = columns.Items(columns.FDragIndex);
    QImage image(std::max(column->Width(), 1), std::max(FHeight, 1), QImage::Format_ARGB32_Premultiplied);
    image.fill(platform::ToQColor(platform::clBtnFace));
    {
        QPainter painter(&image);
        platform::TCanvas canvas;
        canvas.Attach(&painter);
        const int rtlOffset = columns.RightToLeftOffset();
        columns.PaintHeader(canvas, QRect(column->FLeft, 0, column->Width(), FHeight), QPoint(-rtlOffset, 0),
                            rtlOffset);
        canvas.Detach();
    }
    const QPoint imagePos =
        FOwner->viewport()->mapToGlobal(QPoint(column->Left() + columns.RightToLeftOffset(), -FHeight));
    FDragImage->SetMoveRestriction((FOptions & hoRestrictDrag) ? dmrHorizontalOnly : dmrNone);
    FDragImage->PrepareDrag(image, imagePos, p, nullptr);
    FDragImage->ShowDragImage();
}

void TTVHeader::DragColumnTo(QPoint screenP)
{
    TNodeTreeColumns& columns = *FColumns;
    const QPoint client = FOwner->viewport()->mapFromGlobal(screenP);
    int left = 0, right = 0;
    const TColumnIndex column = columns.ColumnAndBoundsAt(QPoint(client.x(), client.y() + FHeight), left, right);
    bool repaint = columns.IsValidColumn(column) && column != columns.FDropTarget;
    if (columns.IsValidColumn(column)) {
        const bool before = client.x() < (left + right) / 2;
        if (before != columns.FDropBefore) {
            columns.FDropBefore = before;
            repaint = true;
        }
    }
    if (repaint) {
        if (columns.IsValidColumn(columns.FDropTarget)) {
            const TColumnIndex old = columns.FDropTarget;
            columns.FDropTarget = NoColumn;
            Invalidate(columns.Items(old));
        }
        if (columns.IsValidColumn(column)) {
            columns.FDropTarget = column;
            Invalidate(columns.Items(column));
        }
    }
    FDragImage->DragTo(screenP, repaint);
}

void TTVHeader::EndColumnDrag() { FDragImage->EndDrag(); }

// ---------------------------------------------------------------------------------------------
// Messages

void TTVHeader::ProcessHeaderMouseMove(TTVHeaderMessage& m, TShiftState shift)
{
    if (FOwner->OnHeaderMouseMove)
        FOwner->OnHeaderMouseMove(this, shift, m.Pos.x(), m.Pos.y() + FHeight);
    if (!InHeader(m.Pos))
        return;
    // A column hint holds over its own cell only; the next rest of the mouse asks again.
    if ((FOptions & hoShowHint) && FOwner->HasState(tsHint) && !FOwner->FLastHintRect.contains(m.Pos)) {
        FOwner->CancelHint();
        FOwner->FLastHintRect = QRect();
    }
    const TColumnIndex oldDown = FColumns->FDownIndex;
    const bool hoverChanged = FColumns->SetHoverColumnAt(QPoint(m.Pos.x(), m.Pos.y() + FHeight));
    if (hoverChanged || (oldDown != NoColumn && oldDown != FColumns->FHoverIndex))
        FOwner->StartTimer(TTreeTimer::Header, HeaderTimerInterval);
}

bool TTVHeader::ProcessHeaderMessage(TTVHeaderMessage& m)
{
    TNodeTreeColumns& columns = *FColumns;
    const TShiftState shift = KeyboardShift();
    const QPoint p = m.Pos;
    const QPoint hp(p.x(), p.y() + FHeight);  // the point as column look-ups take it

    switch (m.Kind) {
    case K::Size:
        if (FOptions & hoAutoResize) {
            columns.FitAutoSizeColumn(false);
            Invalidate(nullptr);
        } else if (!(FStates & hsScaling)) {
            ApplyHeaderConstraints();
            Invalidate(nullptr);
        }
        DistributeSpringWidth();
        return false;

    case K::KillFocus:
    case K::KeyDown: {
        if (m.Kind == K::KeyDown && m.Key != platform::VK_ESCAPE)
            return false;
        if (FStates & hsDragging) {
            EndColumnDrag();
            FStates &= ~hsDragging;
            columns.FDropTarget = NoColumn;
            Invalidate(nullptr);
            return true;
        }
        bool handled = false;
        if (FStates & (hsColumnWidthTracking | hsColumnWidthTrackPending)) {
            DoAfterColumnWidthTracking(columns.FTrackIndex);
            handled = true;
        } else if (FStates & (hsHeightTracking | hsHeightTrackPending)) {
            DoAfterHeaderHeightTracking();
            handled = true;
        }
        FStates &= ~(hsColumnWidthTracking | hsColumnWidthTrackPending | hsHeightTracking | hsHeightTrackPending);
        return handled;
    }

    case K::SetCursor: {
        if (FStates & HeaderMouseStates)
            return true;
        const bool height = IsHeightSplitterHit(p);
        if (!height && !IsColumnSplitterHit(p))
            return false;
        QCursor cursor = FOwner->Cursor();
        const TCursorData* data = nullptr;
        if (height && (FOptions & hoHeightResize))
            data = ScreenCursor(CursorVertSplit);
        else if (!height)
            data = ScreenCursor(CursorHeaderSplit);
        if (data)
            cursor = QCursor(QPixmap::fromImage(data->Image), data->HotSpot.x(), data->HotSpot.y());
        else
            cursor = QCursor(height ? Qt::SplitVCursor : Qt::SplitHCursor);
        if (FOwner->OnGetHeaderCursor)
            FOwner->OnGetHeaderCursor(this, cursor);
        m.Cursor = cursor;
        m.CursorChosen = true;
        return true;
    }

    case K::NCMouseMove:
        ProcessHeaderMouseMove(m, shift);
        return false;

    case K::NCMouseLeave:
    case K::Timer: {
        if (m.Kind == K::Timer && m.TimerId != int(TTreeTimer::Header))
            return false;
        // The timer asks where the mouse is now.
        const QPoint p = m.Kind == K::Timer ? FOwner->viewport()->mapFromGlobal(QCursor::pos()) : m.Pos;
        if (!InHeader(p) || (columns.FDownIndex != NoColumn && columns.FDownIndex != columns.FHoverIndex) ||
            m.Kind == K::NCMouseLeave) {
            if (m.Kind == K::NCMouseLeave && InHeader(p) && columns.FDownIndex == NoColumn)
                return false;
            FOwner->StopTimer(TTreeTimer::Header);
            if (FStates & HeaderMouseStates)
                return true;
            columns.FHoverIndex = columns.FClickIndex = columns.FDownIndex = NoColumn;
            columns.FCheckBoxHit = false;
            Invalidate(nullptr);
        }
        return true;
    }

    case K::NCLButtonDown:
    case K::LButtonDown: {
        if (m.Kind == K::LButtonDown && !IsColumnSplitterHit(p))
            return false;
        FOwner->CancelHint();
        FOwner->StopTimer(TTreeTimer::Scroll);
        FOwner->StopTimer(TTreeTimer::Edit);
        if (m.Kind == K::NCLButtonDown)
            FDragStart = m.ScreenPos;
        if (IsHeightSplitterHit(p)) {
            FTrackStart = p;
            columns.FHoverIndex = NoColumn;
            DoBeforeHeaderHeightTracking(shift);
            FStates |= hsHeightTrackPending;
            return true;
        }
        if (IsColumnSplitterHit(p)) {
            FTrackStart = p;
            columns.FHoverIndex = NoColumn;
            DoBeforeColumnWidthTracking(columns.FTrackIndex, shift);
            FStates |= hsColumnWidthTrackPending;
            return true;
        }
        bool handled = false;
        if (InHeader(p)) {
            const TColumnIndex hit = columns.SetDownColumnAt(hp);
            if ((FOptions & hoDrag) && columns.IsValidColumn(hit) && (columns.Items(hit)->Options() & coDraggable)) {
                FStates |= hsDragPending;
                handled = true;
            }
            if (FOwner->OnHeaderMouseDown)
                FOwner->OnHeaderMouseDown(this, platform::mbLeft, shift, p.x(), p.y() + FHeight);
        }
        return handled;
    }

    case K::MouseMove: {
        if (FStates & (hsColumnWidthTrackPending | hsHeightTrackPending)) {
            FOwner->StopTimer(TTreeTimer::Header);
            if (FStates & hsColumnWidthTrackPending)
                FStates = (FStates & ~hsColumnWidthTrackPending) | hsColumnWidthTracking;
            else
                FStates = (FStates & ~hsHeightTrackPending) | hsHeightTracking;
        }
        if (FStates & hsColumnWidthTracking) {
            const TColumnIndex track = columns.FTrackIndex;
            if (columns.IsValidColumn(track) && DoColumnWidthTracking(track, shift, FTrackPoint, p)) {
                TNodeTreeColumn* column = columns.Items(track);
                const bool rtl = FOwner->RightToLeft();
                const int newWidth = rtl ? FTrackPoint.x() - p.x() : p.x() - FTrackPoint.x();
                const TColumnIndex next =
                    rtl ? columns.GetPreviousVisibleColumn(track) : columns.GetNextVisibleColumn(track);
                if ((FOptions & hoAutoResize) && track == FAutoSizeIndex && columns.IsValidColumn(next) &&
                    (columns.Items(next)->Options() & coResizable) && column->MinWidth() < newWidth &&
                    newWidth < column->MaxWidth()) {
                    TNodeTreeColumn* neighbour = columns.Items(next);
                    neighbour->SetWidth(neighbour->Width() + column->Width() - newWidth);
                } else {
                    column->SetWidth(newWidth);
                }
            }
            return true;
        }
        if (FStates & hsHeightTracking) {
            QPoint q = p;
            if (DoHeaderHeightTracking(q, shift))
                SetHeight(FHeight + q.y());
            return true;
        }
        if (FStates & hsDragPending) {
            bool allowed = (FOptions & hoDrag) != 0;
            if (allowed && FOwner->OnHeaderDragging) {
                const QPoint start = FOwner->viewport()->mapFromGlobal(FDragStart);
                FOwner->OnHeaderDragging(this, columns.ColumnFromPosition(QPoint(start.x(), start.y() + FHeight)), allowed);
            }
            if (!allowed)
                return false;
            const int threshold = QApplication::startDragDistance();
            if (std::abs(m.ScreenPos.x() - FDragStart.x()) > threshold || std::abs(m.ScreenPos.y() - FDragStart.y()) > threshold) {
                FOwner->StopTimer(TTreeTimer::Header);
                if (columns.IsValidColumn(columns.FDownIndex))
                    Invalidate(columns.Items(columns.FDownIndex));
                columns.FDownIndex = columns.FHoverIndex = NoColumn;
                PrepareColumnDrag(m.ScreenPos, true);
                FStates = (FStates & ~hsDragPending) | hsDragging;
            }
            return true;
        }
        if (FStates & hsDragging) {
            DragColumnTo(m.ScreenPos);
            return true;
        }
        return false;
    }

    case K::NCLButtonUp:
    case K::LButtonUp: {
        FOwner->CancelHint();
        const THeaderStates states = FStates;
        bool handled = false;
        if (states & HeaderMouseStates) {
            if (states & hsDragging) {
                EndColumnDrag();
                const TColumnIndex dragged = columns.FDragIndex;
                const TColumnIndex target = columns.FDropTarget;
                const QPoint inWindow = FOwner->mapFromGlobal(m.ScreenPos);
                if (columns.IsValidColumn(target) && target != dragged && columns.IsValidColumn(dragged) &&
                    FOwner->rect().contains(inWindow)) {
                    TNodeTreeColumn* column = columns.Items(dragged);
                    const int oldPosition = int(column->Position());
                    const int targetPosition = int(columns.Items(target)->Position());
                    const bool leftOfTarget = oldPosition < targetPosition;
                    int newPosition;
                    if (columns.FDropBefore)
                        newPosition = leftOfTarget ? targetPosition - 1 : targetPosition;
                    else
                        newPosition = leftOfTarget ? targetPosition : targetPosition + 1;
                    column->SetPosition(TColumnPosition(newPosition));
                    if (FOwner->OnHeaderDragged)
                        FOwner->OnHeaderDragged(this, dragged, oldPosition);
                } else if (FOwner->OnHeaderDraggedOut && columns.IsValidColumn(dragged)) {
                    FOwner->OnHeaderDraggedOut(this, dragged, m.ScreenPos);
                }
                columns.FDropTarget = NoColumn;
                columns.FDragIndex = NoColumn;
                Invalidate(nullptr);
            }
            handled = true;
        }
        if (m.Kind == K::NCLButtonUp) {
            columns.HandleHeaderClick(hp, platform::mbLeft, false, false);
            if (FOwner->OnHeaderMouseUp)
                FOwner->OnHeaderMouseUp(this, platform::mbLeft, shift, p.x(), p.y() + FHeight);
        } else {
            if (columns.FDownIndex != NoColumn && !(states & hsDragging))
                columns.HandleHeaderClick(hp, platform::mbLeft, false, false);
            if ((states & HeaderMouseStates) && FOwner->OnHeaderMouseUp)
                FOwner->OnHeaderMouseUp(this, platform::mbLeft, shift, p.x(), p.y());
        }
        if (columns.FTrackIndex != NoColumn) {
            if (states & hsColumnWidthTracking)
                DoAfterColumnWidthTracking(columns.FTrackIndex);
            if (columns.IsValidColumn(columns.FTrackIndex))
                Invalidate(columns.Items(columns.FTrackIndex));
            columns.FTrackIndex = NoColumn;
        }
        if (columns.FDownIndex != NoColumn) {
            if (columns.IsValidColumn(columns.FDownIndex))
                Invalidate(columns.Items(columns.FDownIndex));
            columns.FDownIndex = NoColumn;
        }
        if (states & hsHeightTracking)
            DoAfterHeaderHeightTracking();
        FStates &= ~HeaderMouseStates;
        return handled;
    }

    case K::NCRButtonDown:
    case K::NCMButtonDown:
        if (InHeader(p) && FOwner->OnHeaderMouseDown)
            FOwner->OnHeaderMouseDown(this, m.Kind == K::NCRButtonDown ? platform::mbRight : platform::mbMiddle, shift,
                                      p.x(), p.y() + FHeight);
        return false;

    case K::NCRButtonUp: {
        FOwner->CancelHint();
        if (!InHeader(p))
            return false;
        columns.HandleHeaderClick(hp, platform::mbRight, true, false);
        if (FOwner->OnHeaderMouseUp)
            FOwner->OnHeaderMouseUp(this, platform::mbRight, shift, p.x(), p.y() + FHeight);
        columns.FDownIndex = columns.FTrackIndex = NoColumn;
        columns.FCheckBoxHit = false;
        QMenu* menu = FPopupMenu ? FPopupMenu.data() : DoGetPopupMenu(columns.ColumnFromPosition(hp), hp);
        if (menu) {
            FOwner->StopTimer(TTreeTimer::Scroll);
            FOwner->StopTimer(TTreeTimer::Header);
            columns.FHoverIndex = NoColumn;
            menu->popup(m.ScreenPos);
            return true;
        }
        return false;
    }

    case K::NCMButtonUp:
        if (InHeader(p)) {
            columns.HandleHeaderClick(hp, platform::mbMiddle, true, false);
            if (FOwner->OnHeaderMouseUp)
                FOwner->OnHeaderMouseUp(this, platform::mbMiddle, shift, p.x(), p.y() + FHeight);
            columns.FDownIndex = NoColumn;
            columns.FCheckBoxHit = false;
        }
        return false;

    case K::NCLButtonDblClk:
    case K::NCRButtonDblClk:
    case K::NCMButtonDblClk:
    case K::LButtonDblClk: {
        if ((FOptions & hoHeightDblClickResize) && InHeaderSplitterArea(p) && FDefaultHeight > 0) {
            QPoint q = p;
            if (DoHeaderHeightDblClickResize(q, shift))
                SetHeight(FMinHeight);
            return true;
        }
        if ((m.Kind == K::NCLButtonDblClk || m.Kind == K::LButtonDblClk) && (FOptions & hoDblClickResize) &&
            IsColumnSplitterHit(p) && columns.FTrackIndex != NoColumn) {
            const TColumnIndex track = columns.FTrackIndex;
            if (DoColumnWidthDblClickResize(track, p, shift)) {
                const int position = int(columns.Items(track)->Position());
                AutoFitColumns(true, smaUseColumnOption, position, position);
            }
            return true;
        }
        if (InHeader(p) && m.Kind != K::LButtonDblClk) {
            const platform::TMouseButton button = m.Kind == K::NCRButtonDblClk   ? platform::mbRight
                                                  : m.Kind == K::NCMButtonDblClk ? platform::mbMiddle
                                                                                 : platform::mbLeft;
            if (button == platform::mbLeft)
                columns.SetDownColumnAt(hp);
            columns.HandleHeaderClick(hp, button, true, true);
        }
        return false;
    }
    }
    return false;
}

}  // namespace tree
