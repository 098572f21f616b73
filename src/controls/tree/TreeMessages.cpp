// The tree's window messages: scroll codes, the wheel, timers by id, sizing, focus, mouse enter
// and leave, the cursor, and the standard tree view's item queries for tools that read trees.
#include "controls/tree/NodeTrees.h"
#include "controls/tree/TreeHints.h"
#include "platform/Guard.h"

#include <QCursor>
#include <QMouseEvent>
#include <QGuiApplication>
#include <QPixmap>

namespace tree {

using namespace platform;

namespace {

bool HeaderTakes(TTVHeader& header, THeaderMessageKind kind, int timerId = 0, QPoint pos = QPoint())
{
    TTVHeaderMessage message;
    message.Kind = kind;
    message.TimerId = timerId;
    message.Pos = pos;
    return header.ProcessHeaderMessage(message);
}

}  // namespace

void TBaseNodeTree::Timer(int id)
{
    if (HeaderTakes(FHeader, THeaderMessageKind::Timer, id))
        return;
    switch (TTreeTimer(id)) {
    case TTreeTimer::DragExpand: DoDragExpand(); break;
    case TTreeTimer::Scroll:
        // The first tick after the delay switches to the scroll interval.
        if (HasState(tsScrollPending)) {
            CancelHint();
            StartTimer(TTreeTimer::Scroll, int(AutoScrollInterval()));
            DoStateChange(TS(tsScrolling), TS(tsScrollPending));
        }
        DoTimerScroll();
        break;
    case TTreeTimer::Edit: DoEdit(); break;
    case TTreeTimer::Search: ResetIncrementalSearch(); break;
    case TTreeTimer::ThemeChange:
        // Re-creating the window after a theme change: the window stays, the picture is redrawn.
        StopTimer(TTreeTimer::ThemeChange);
        Invalidate();
        break;
    case TTreeTimer::Header: break;
    }
}

void TBaseNodeTree::Scroll(TScrollBarKind bar, int code, int pos)
{
    if (bar == sbHorizontal) {
        const int f = RightToLeft() ? -1 : 1;
        const int fixed = FHeader.UseColumns() ? FHeader.Columns().GetVisibleFixedWidth() : 0;
        switch (code) {
        case SB_LINELEFT: SetOffsetX(OffsetX() + f * FScrollBarOptions.HorizontalIncrement); break;
        case SB_LINERIGHT: SetOffsetX(OffsetX() - f * FScrollBarOptions.HorizontalIncrement); break;
        case SB_PAGELEFT: SetOffsetX(OffsetX() + f * (ClientWidth() - fixed)); break;
        case SB_PAGERIGHT: SetOffsetX(OffsetX() - f * (ClientWidth() - fixed)); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            DoStateChange(TS(tsThumbTracking));
            SetOffsetX(RightToLeft() ? ClientWidth() + pos - int(RangeX()) : -pos);
            break;
        case SB_LEFT: SetOffsetX(0); break;
        case SB_RIGHT: SetOffsetX(-int(RangeX())); break;
        case SB_ENDSCROLL:
            DoStateChange(0, TS(tsThumbTracking));
            UpdateHorizontalScrollBar(false);
            break;
        default: break;
        }
        return;
    }
    switch (code) {
    case SB_LINEUP: SetOffsetY(OffsetY() + FScrollBarOptions.VerticalIncrement); break;
    case SB_LINEDOWN: SetOffsetY(OffsetY() - FScrollBarOptions.VerticalIncrement); break;
    case SB_PAGEUP: SetOffsetY(OffsetY() + ClientHeight()); break;
    case SB_PAGEDOWN: SetOffsetY(OffsetY() - ClientHeight()); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        DoStateChange(TS(tsThumbTracking));
        SetOffsetY(-pos);
        break;
    case SB_TOP: SetOffsetY(0); break;
    case SB_BOTTOM: SetOffsetY(-int(std::min<uint32_t>(RootNode()->TotalHeight, INT32_MAX))); break;
    case SB_ENDSCROLL:
        DoStateChange(0, TS(tsThumbTracking));
        UpdateScrollBars(true);
        break;
    default: break;
    }
}

void TBaseNodeTree::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || DragMode() != platform::TDragMode::dmAutomatic ||
        DragKind() != platform::TDragKind::dkDrag) {
        TCustomControl::mousePressEvent(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    const TShiftState shift = platform::ShiftStateFromQt(event->modifiers(), event->buttons());
    platform::Guarded([&] { MouseDown(platform::mbLeft, shift, p.x(), p.y()); });
}

bool TBaseNodeTree::MouseWheel(TShiftState shift, int wheelDelta, int x, int y)
{
    StopWheelPanning();
    if (TCustomControl::MouseWheel(shift, wheelDelta, x, y))
        return true;
    const double factor = wheelDelta / 120.0;
    const bool page = WheelScrollLines == WheelScrollPage;
    if (int64_t(RangeY()) > ClientHeight() && !(shift & ssShift)) {
        double amount;
        if ((shift & ssCtrl) || page)
            amount = ClientHeight() * factor;
        else
            amount = double(WheelScrollLines) * factor * FDefaultNodeHeight;
        SetOffsetY(OffsetY() + int(amount));
    } else {
        const int fixed = FHeader.UseColumns() ? FHeader.Columns().GetVisibleFixedWidth() : 0;
        double amount;
        if (shift & ssCtrl)
            amount = (ClientWidth() - fixed) * factor;
        else {
            const int scrollWidth = FHeader.UseColumns() ? FHeader.Columns().GetScrollWidth() : 16;
            amount = double(scrollWidth) * double(WheelScrollLines) * factor;
        }
        SetOffsetX(OffsetX() + (RightToLeft() ? -1 : 1) * int(amount));
    }
    return true;
}

void TBaseNodeTree::Resize()
{
    TCustomControl::Resize();
    if ((TreeStates() & TS(tsSizing, tsWindowCreating)) || ClientHeight() < 1)
        return;
    DoStateChange(TS(tsSizing));
    struct Leave {
        TBaseNodeTree* Tree;
        ~Leave() { Tree->DoStateChange(0, TS(tsSizing)); }
    } leave{this};
    HeaderTakes(FHeader, THeaderMessageKind::Size);
    UpdateScrollBars(true);
    if (HasState(tsEditing) && !FHeader.UseColumns())
        UpdateEditBounds();
}

void TBaseNodeTree::DoEnter()
{
    TCustomControl::DoEnter();
    if (!(FSelection.empty() && (FOptions->PaintOptions() & toGhostedIfUnfocused)))
        Invalidate();
    EnsureNodeSelected();
}

void TBaseNodeTree::DoExit()
{
    TCustomControl::DoExit();
    HeaderTakes(FHeader, THeaderMessageKind::KillFocus);
    if (HasState(tsHint))
        CancelHint();
    StopWheelPanning();
    for (TTreeTimer id : {TTreeTimer::DragExpand, TTreeTimer::Edit, TTreeTimer::Header, TTreeTimer::Scroll,
                          TTreeTimer::Search})
        StopTimer(id);
    FSearchBuffer.clear();
    FLastSearchNode = nullptr;
    DoStateChange(0, TS(tsEditPending, tsNodeHeightTracking, tsNodeHeightTrackPending, tsIncrementalSearching,
                        tsLeftButtonDown, tsMiddleButtonDown, tsOLEDragPending, tsRightButtonDown, tsScrolling,
                        tsScrollPending, tsVCLDragPending));
    if (FSelection.empty() && (FOptions->PaintOptions() & toGhostedIfUnfocused))
        InvalidateNode(FFocusedNode);
    else
        Invalidate();
}

void TBaseNodeTree::CancelMode()
{
    for (TTreeTimer id : {TTreeTimer::DragExpand, TTreeTimer::Edit, TTreeTimer::Header, TTreeTimer::Scroll,
                          TTreeTimer::Search, TTreeTimer::ThemeChange})
        StopTimer(id);
    FSearchBuffer.clear();
    FLastSearchNode = nullptr;
    DoStateChange(0, TS(tsClearPending, tsDrawSelPending, tsDrawSelecting, tsEditPending, tsIncrementalSearching,
                        tsOLEDragPending, tsVCLDragPending));
}

void TBaseNodeTree::ThemeChanged()
{
    if (!FChangingTheme)
        StartTimer(TTreeTimer::ThemeChange, 500);
    FChangingTheme = false;
}

void TBaseNodeTree::changeEvent(QEvent* event)
{
    TCustomControl::changeEvent(event);
    switch (event->type()) {
    case QEvent::PaletteChange:
    case QEvent::FontChange:
        // The button pictures follow colours and font; the next paint draws them again.
        FPlusBM = QImage();
        if (event->type() == QEvent::FontChange)
            FHeader.ParentFontChanged();
        Invalidate();
        break;
    case QEvent::LayoutDirectionChange:
        if (FOptions->AutoOptions() & toAutoBidiColumnOrdering)
            FHeader.Columns().ResetColumnOrder(RightToLeft());
        UpdateHorizontalScrollBar(false);
        FHeader.Invalidate(nullptr);
        Invalidate();
        break;
    case QEvent::StyleChange: ThemeChanged(); break;
    default: break;
    }
}

void TBaseNodeTree::MouseEnter()
{
    DoMouseEnter();
    TCustomControl::MouseEnter();
}

void TBaseNodeTree::MouseLeave()
{
    // Coming back asks for a hint again.
    FLastHintRect = QRect();
    TNodeTreeStates leave = TS(tsHint);
    if (!(TreeStates() & TS(tsWheelPanning, tsWheelScrolling))) {
        leave |= TS(tsScrollPending, tsScrolling);
        StopTimer(TTreeTimer::Scroll);
    }
    DoStateChange(0, leave);
    if (FHintWindow)
        FHintWindow->ReleaseHint();
    if (PTreeNode hot = FCurrentHotNode) {
        DoHotChange(hot, nullptr);
        if ((FOptions->PaintOptions() & toHotTrack) || (FOptions->MiscOptions() & toCheckSupport))
            InvalidateNode(hot);
        FCurrentHotNode = nullptr;
    }
    HeaderTakes(FHeader, THeaderMessageKind::NCMouseLeave);
    DoMouseLeave();
    TCustomControl::MouseLeave();
}

QCursor TBaseNodeTree::CursorAt(int x, int y)
{
    if (TreeStates() & TS(tsWheelPanning, tsWheelScrolling))
        return FPanningCursorName.isEmpty() ? TCustomControl::CursorAt(x, y) : FPanningCursor;
    QCursor cursor(Qt::ArrowCursor);
    if (FOptions->MiscOptions() & toNodeHeightResize) {
        THitInfo hit;
        GetHitTestInfoAt(x, y, true, hit);
        if (hit.HitNode && (hit.HitPositions & hiOnItem) && (hit.HitPositions & (hiUpperSplitter | hiLowerSplitter))) {
            // The upper splitter belongs to the row above.
            PTreeNode node = (hit.HitPositions & hiUpperSplitter) ? GetPreviousVisible(hit.HitNode, true) : hit.HitNode;
            if (node && CanSplitterResizeNode(QPoint(x, y), node, hit.HitColumn))
                if (const TCursorData* split = ScreenCursor(CursorVertSplit))
                    cursor = QCursor(QPixmap::fromImage(split->Image), split->HotSpot.x(), split->HotSpot.y());
        }
    }
    if (cursor.shape() == Qt::ArrowCursor) {
        if ((FOptions->PaintOptions() & toHotTrack) && FCurrentHotNode && FHotCursor.shape() != Qt::ArrowCursor)
            cursor = FHotCursor;
        else
            cursor = Cursor();
    }
    DoGetCursor(cursor);
    return cursor;
}

void TBaseNodeTree::DoGetCursor(QCursor& cursor)
{
    if (OnGetCursor)
        OnGetCursor(this, cursor);
}

void TBaseNodeTree::DoHotChange(PTreeNode oldNode, PTreeNode newNode)
{
    if (OnHotChange)
        OnHotChange(this, oldNode, newNode);
}

void TBaseNodeTree::DoMouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TBaseNodeTree::DoMouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

// ---- the standard tree view's queries ----

PTreeNode TBaseNodeTree::GetNextItem(int flag, PTreeNode item)
{
    enum {
        Root, Next, Previous, Parent, Child, FirstVisible, NextVisible, PreviousVisible, DropHilite, Caret,
        LastVisible
    };
    switch (flag) {
    case Root: return GetFirst();
    case Next: return item ? GetNextSibling(item) : nullptr;
    case Previous: return item ? GetPreviousSibling(item) : nullptr;
    case Parent: return item ? GetNodeParent(item) : nullptr;
    case Child: return item ? GetFirstChild(item) : nullptr;
    case FirstVisible: return GetFirstVisible(nullptr, true);
    case NextVisible: return item ? GetNextVisible(item, true) : nullptr;
    case PreviousVisible: return item ? GetPreviousVisible(item, true) : nullptr;
    case DropHilite: return FDropTargetNode;
    case Caret: return FFocusedNode;
    case LastVisible: return GetLastVisible(nullptr, true);
    default: return nullptr;
    }
}

bool TBaseNodeTree::GetItemRect(PTreeNode item, bool textOnly, QRect& r)
{
    if (!item || item == FRoot)
        return false;
    EnsureInitialized(item);
    if (!IsVisible(item) || !GetFullyVisible(item))
        return false;
    r = GetDisplayRect(item, NoColumn, textOnly);
    return true;
}

bool TBaseNodeTree::GetItem(TTVItem& item)
{
    enum : unsigned { TVIF_TEXT = 0x01, TVIF_IMAGE = 0x02, TVIF_STATE = 0x08, TVIF_HANDLE = 0x10,
                      TVIF_SELECTEDIMAGE = 0x20, TVIF_CHILDREN = 0x40 };
    if (!(item.Mask & TVIF_HANDLE) || !item.Item || item.Item == FRoot)
        return false;
    PTreeNode node = item.Item;
    auto image = [&](TTVImageKind kind) {
        bool ghosted = false;
        int index = -1;
        DoGetImageIndex(node, kind, NoColumn, ghosted, index);
        return index;
    };
    if (item.Mask & TVIF_CHILDREN)
        item.Children = int(ChildCount(node));
    if (item.Mask & TVIF_IMAGE)
        item.Image = image(ikNormal);
    if (item.Mask & TVIF_SELECTEDIMAGE)
        item.SelectedImage = image(ikSelected);
    if (item.Mask & TVIF_STATE) {
        item.StateMask = 0xFF2F;
        unsigned state = 0;
        if (node == FFocusedNode)
            state |= 0x01;
        if (node->Has(vsSelected))
            state |= 0x02;
        if (node->Has(vsCutOrCopy))
            state |= 0x04;
        if (node == FDropTargetNode)
            state |= 0x08;
        if (node->Has(vsExpanded))
            state |= 0x20;
        state |= unsigned((image(ikState) + 1) & 0xF) << 12;
        state |= unsigned((image(ikOverlay) + 1) & 0xF) << 8;
        item.State = state;
    }
    if ((item.Mask & TVIF_TEXT) && item.Text && item.TextMax > 0) {
        QString text;
        QRect r;
        TFont font = Font();
        GetTextInfo(node, NoColumn, font, r, text);
        // Never past the caller's buffer: at most capacity - 1 characters and the terminator.
        const int n = std::min<int>(int(text.size()), item.TextMax - 1);
        for (int i = 0; i < n; ++i)
            item.Text[i] = text.at(i).unicode();
        item.Text[n] = 0;
    }
    return true;
}

void TBaseNodeTree::GetTextInfo(PTreeNode, TColumnIndex, TFont&, QRect& r, QString& text)
{
    r = QRect();
    text.clear();
}

}  // namespace tree
