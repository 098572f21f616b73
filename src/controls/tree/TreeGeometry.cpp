// Scrolling and geometry: the ranges of the virtual canvas, the offsets that place it in the client
// area, the scroll bars, scrolling nodes into view, display rectangles and node heights.
#include "controls/tree/NodeTrees.h"
#include "controls/tree/TreeColumnsAccess.h"

#include <QApplication>
#include <QCursor>
#include <QStyle>
#include <QThread>
#include <QToolTip>

namespace tree {

using platform::TCanvas;

namespace {

int ScrollBarExtent() { return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

}  // namespace

// ---- ranges ----

void TBaseNodeTree::UpdateVerticalRange()
{
    FRangeY = FRoot->TotalHeight + FBottomSpace - FRoot->NodeHeight;
    FLastRootHeight = FRoot->TotalHeight;
}

void TBaseNodeTree::UpdateHorizontalRange()
{
    if (ColumnsInUse(*this))
        FRangeX = uint32_t(std::max(0, ColumnsTotalWidth(*this)));
    else
        FRangeX = uint32_t(std::max(0, GetMaxRightExtend()));
}

void TBaseNodeTree::UpdateRanges()
{
    UpdateVerticalRange();
    UpdateHorizontalRange();
}

int TBaseNodeTree::GetMaxRightExtend()
{
    const TTVPaintOptions paint = FOptions->PaintOptions();
    int nodeTop = 0;
    PTreeNode node = GetNodeAt(0, 0, true, &nodeTop);
    if (!node)
        return int(FMargin);
    int level = int(GetNodeLevel(node));
    int indent = level * int(FIndent);
    if (paint & toShowRoot)
        indent += int(FIndent);
    const int imageOffset = (FStateImages ? FStateImages->Width() + 2 : 0) + (FImages ? FImages->Width() + 2 : 0);
    const bool checks = (FOptions->MiscOptions() & toCheckSupport) && FCheckImages;
    int result = 0;
    int top = nodeTop;
    const int height = ClientHeight();
    while (node && top < height) {
        // Only nodes already initialised count: a range update must not run the caller's
        // initialisation for rows that were never shown.
        if (node->Has(vsInitialized)) {
            int width = indent + imageOffset;
            if (checks && node->CheckType() != ctNone)
                width += FCheckImages->Width() + 2;
            width += DoGetNodeWidth(node, NoColumn) + DoGetNodeExtraWidth(node, NoColumn);
            result = std::max(result, width);
        }
        top += IsEffectivelyFiltered(node) ? 0 : int(node->NodeHeight);
        PTreeNode next = GetNextVisibleNoInit(node, true);
        if (next) {
            const int nextLevel = int(GetNodeLevel(next));
            indent += (nextLevel - level) * int(FIndent);
            level = nextLevel;
        }
        node = next;
    }
    return result + FMargin;
}

// ---- offsets ----

void TBaseNodeTree::SetOffsetX(int value) { DoSetOffsetXY(QPoint(value, FOffsetY), DefaultScrollUpdateFlags); }
void TBaseNodeTree::SetOffsetY(int value) { DoSetOffsetXY(QPoint(FOffsetX, value), DefaultScrollUpdateFlags); }
void TBaseNodeTree::SetOffsetXY(const QPoint& value) { DoSetOffsetXY(value, DefaultScrollUpdateFlags); }

bool TBaseNodeTree::DoSetOffsetXY(QPoint value, TScrollUpdateOptions options, const QRect* clipRect)
{
    // The vertical range follows the node heights at no cost; keeping it fresh here means an
    // offset is never clamped against a range from before the last structure change.
    if (FLastRootHeight != FRoot->TotalHeight)
        UpdateVerticalRange();
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    value.setX(std::min(0, std::max(ClientWidth() - int(FRangeX), value.x())));
    value.setY(std::min(0, std::max(ClientHeight() - int(FRangeY), value.y())));
    int deltaX = value.x() - FOffsetX;
    if (rtl)
        deltaX = -deltaX;
    const int deltaY = value.y() - FOffsetY;
    if (deltaX == 0 && deltaY == 0)
        return false;
    FOffsetX = value.x();
    FOffsetY = value.y();
    FEffectiveOffsetX = rtl ? std::max(0, int(FRangeX) + FOffsetX - ClientWidth()) : -FOffsetX;
    if (HasState(tsHint))
        QToolTip::hideText();
    if (FUpdateCount == 0) {
        if ((options & suoScrollClientArea) && !HasState(tsToggling)) {
            const bool bitmapBackground = (FOptions->PaintOptions() & toShowBackground) && !FBackground.isNull();
            if (bitmapBackground) {
                Invalidate();
            } else {
                const int fixedWidth = ColumnsVisibleFixedWidth(*this);
                const QRect client = ClientRect();
                if (deltaX != 0 && fixedWidth > 0) {
                    ScrollBy(deltaX, 0, MakeRect(fixedWidth, 0, client.width(), client.height()));
                    ScrollBy(0, deltaY, clipRect ? *clipRect : client);
                } else if (clipRect) {
                    ScrollBy(deltaX, deltaY, *clipRect);
                } else {
                    ScrollBy(deltaX, deltaY);
                }
            }
        }
        if (options & suoUpdateNCArea) {
            if (deltaX != 0) {
                if ((options & suoRepaintHeader) && (FHeader.Options() & hoVisible))
                    FHeader.Invalidate(nullptr);
                if (!HasState(tsSizing) && (FScrollBarOptions.ScrollBars == ssHorizontal || FScrollBarOptions.ScrollBars == ssBoth))
                    UpdateHorizontalScrollBar(options & suoRepaintScrollBars);
            }
            if (deltaY != 0 && !HasState(tsSizing) && !HasState(tsThumbTracking)) {
                UpdateVerticalScrollBar(options & suoRepaintScrollBars);
                if (!ColumnsInUse(*this) && !HasState(tsDrawSelecting))
                    UpdateHorizontalScrollBar(options & suoRepaintScrollBars);
            }
        }
    }
    // What lies under the mouse has moved.
    if (isVisible()) {
        const QPoint cursor = viewport()->mapFromGlobal(QCursor::pos());
        if (ClientRect().contains(cursor))
            HandleHotTrack(cursor.x(), cursor.y());
    }
    DoScroll(deltaX, deltaY);
    return true;
}

void TBaseNodeTree::DoScroll(int deltaX, int deltaY)
{
    if (OnScroll)
        OnScroll(this, deltaX, deltaY);
}

void TBaseNodeTree::DoShowScrollBar(int bar, bool show)
{
    if (OnShowScrollBar)
        OnShowScrollBar(this, bar, show);
}

// ---- scroll bars ----

void TBaseNodeTree::UpdateScrollBars(bool repaint)
{
    FScrollBarsStale = false;
    UpdateVerticalScrollBar(repaint);
    UpdateHorizontalScrollBar(repaint);
}

void TBaseNodeTree::UpdateVerticalScrollBar(bool)
{
    UpdateVerticalRange();
    if (HasState(tsUpdating))
        return;
    const TScrollStyle bars = FScrollBarOptions.ScrollBars;
    if (bars != ssVertical && bars != ssBoth) {
        const bool wasShown = ScrollBarShown(platform::sbVertical);
        SetScrollInfo(platform::sbVertical, 0, 0, 0, 0);
        if (wasShown)
            DoShowScrollBar(platform::sbVertical, false);
        DoSetOffsetXY(QPoint(FOffsetX, FOffsetY), DefaultScrollUpdateFlags & ~suoUpdateNCArea);
        return;
    }
    const int clientHeight = ClientHeight();
    if (clientHeight < int(FRangeY) || FScrollBarOptions.AlwaysVisible) {
        SetScrollAlwaysVisible(platform::sbVertical, FScrollBarOptions.AlwaysVisible);
        SetScrollInfo(platform::sbVertical, 0, int(FRangeY), std::max(0, clientHeight + 1), -FOffsetY);
    } else {
        SetScrollAlwaysVisible(platform::sbVertical, false);
        SetScrollInfo(platform::sbVertical, 0, 0, 0, 0);
    }
    DoSetOffsetXY(QPoint(FOffsetX, -ScrollPos(platform::sbVertical)), DefaultScrollUpdateFlags & ~suoUpdateNCArea);
}

void TBaseNodeTree::UpdateHorizontalScrollBar(bool)
{
    UpdateHorizontalRange();
    if (HasState(tsUpdating))
        return;
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    const int clientWidth = ClientWidth();
    FEffectiveOffsetX = rtl ? std::max(0, int(FRangeX) + FOffsetX - clientWidth) : -FOffsetX;
    const TScrollStyle bars = FScrollBarOptions.ScrollBars;
    if (bars == ssHorizontal || bars == ssBoth) {
        if (clientWidth < int(FRangeX) || FScrollBarOptions.AlwaysVisible) {
            SetScrollAlwaysVisible(platform::sbHorizontal, FScrollBarOptions.AlwaysVisible);
            SetScrollInfo(platform::sbHorizontal, 0, int(FRangeX), std::max(0, clientWidth + 1), FEffectiveOffsetX);
        } else {
            SetScrollAlwaysVisible(platform::sbHorizontal, false);
            SetScrollInfo(platform::sbHorizontal, 0, 0, 0, 0);
        }
        FEffectiveOffsetX = ScrollPos(platform::sbHorizontal);
        const int x = rtl ? ClientWidth() + FEffectiveOffsetX - int(FRangeX) : -FEffectiveOffsetX;
        DoSetOffsetXY(QPoint(x, FOffsetY), DefaultScrollUpdateFlags & ~suoUpdateNCArea);
    } else {
        SetScrollInfo(platform::sbHorizontal, 0, 0, 0, 0);
        DoSetOffsetXY(QPoint(FOffsetX, FOffsetY), DefaultScrollUpdateFlags & ~suoUpdateNCArea);
    }
}

// ---- scrolling into view ----

bool TBaseNodeTree::ScrollIntoView(PTreeNode node, bool center, bool horizontally)
{
    if (!node || node == FRoot)
        return false;
    ExpandAncestors(node);
    const bool useColumns = ColumnsInUse(*this) && ColumnIsValid(*this, FFocusedColumn);
    const QRect r = GetDisplayRect(node, useColumns ? FFocusedColumn : NoColumn,
                                   !(FOptions->MiscOptions() & toGridExtensions));
    const int clientHeight = ClientHeight();
    bool result = false;
    if (r.top() < 0) {
        SetOffsetY(center ? FOffsetY - r.top() + clientHeight / 2 : FOffsetY - r.top());
        result = true;
    } else if (RBottom(r) > clientHeight || center) {
        int y = center ? FOffsetY + clientHeight / 2 - RBottom(r) : FOffsetY + clientHeight - RBottom(r);
        const bool horizontalShown = ScrollBarShown(platform::sbHorizontal);
        if (!ColumnsInUse(*this) && !horizontalShown && int(FRangeX) > ClientWidth())
            y -= ScrollBarExtent();
        SetOffsetY(y);
        result = true;
    }
    if (horizontally)
        result = ScrollIntoView(FFocusedColumn, center) || result;
    return result;
}

bool TBaseNodeTree::ScrollIntoView(TColumnIndex column, bool center)
{
    if (!ColumnsInUse(*this) || !ColumnIsValid(*this, column))
        return false;
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    const int left = ColumnLeft(*this, column);
    const int width = ColumnWidth(*this, column);
    const int fixed = ColumnsVisibleFixedWidth(*this);
    const int clientWidth = ClientWidth();
    int offset = FEffectiveOffsetX;
    if (center) {
        offset = left + FEffectiveOffsetX + width / 2 - fixed / 2 - clientWidth / 2;
    } else {
        if (ColumnIsFixed(*this, column))
            return true;
        if (left + width > clientWidth)
            offset = left + width + FEffectiveOffsetX - clientWidth;
        else if (left < fixed)
            offset = FEffectiveOffsetX + left - fixed;
    }
    if (offset != FEffectiveOffsetX)
        SetOffsetX(rtl ? clientWidth + offset - int(FRangeX) : -offset);
    return true;
}

// ---- display rectangles ----

namespace {

// The node's top in the virtual canvas from the subtree heights: each level adds the rows of
// the visible siblings before it, scanning from the nearer end of the sibling list.
int64_t TopFromHeights(const TBaseNodeTree& t, PTreeNode node, PTreeNode root, bool above,
                       const std::function<PTreeNode(PTreeNode)>& parentOf,
                       const std::function<int64_t(PTreeNode)>& own)
{
    int64_t top = above ? int64_t(node->TotalHeight) - own(node) : 0;
    for (PTreeNode n = node; n != root;) {
        PTreeNode parent = parentOf(n);
        const uint32_t count = t.ChildCount(parent);
        int64_t before = 0;
        if (n->Index <= count / 2) {
            for (PTreeNode s = t.GetPreviousSiblingNoInit(n); s; s = t.GetPreviousSiblingNoInit(s))
                if (s->Has(vsVisible))
                    before += s->TotalHeight;
        } else {
            int64_t after = 0;
            for (PTreeNode s = n; s; s = t.GetNextSiblingNoInit(s))
                if (s->Has(vsVisible))
                    after += s->TotalHeight;
            const int64_t block = parent == root ? int64_t(root->TotalHeight) - root->NodeHeight
                                                 : int64_t(parent->TotalHeight) - own(parent);
            before = block - after;
        }
        top += before;
        if (parent != root && !above)
            top += own(parent);
        n = parent;
    }
    return top;
}

}  // namespace

int64_t TBaseNodeTree::AbsoluteNodeTop(PTreeNode node)
{
    if (HasState(tsUseCache) && !FPositionCache.empty()) {
        uint32_t top = 0;
        PTreeNode n = NearestCacheEntryForNode(node, top);
        if (n) {
            int64_t y = top;
            while (n && n != node) {
                y += IsEffectivelyFiltered(n) ? 0 : n->NodeHeight;
                n = GetNextVisibleNoInit(n, true);
            }
            if (n == node)
                return y;
        }
    }
    return TopFromHeights(
        *this, node, FRoot, ChildrenAboveOrder(true), [this](PTreeNode n) { return ParentOf(n); },
        [this](PTreeNode n) -> int64_t { return IsEffectivelyFiltered(n) ? 0 : n->NodeHeight; });
}

QRect TBaseNodeTree::GetDisplayRect(PTreeNode node, TColumnIndex column, bool textOnly, bool unclipped,
                                    bool applyCellContentMargin)
{
    TreeAssert(node != nullptr, "Node must not be nil.");
    TreeAssert(node != FRoot, "Node must not be the hidden root node.");
    const bool mainColumn = column == NoColumn || column == FHeader.MainColumn;
    if (!node->Has(vsInitialized))
        InitNode(node);
    const QRect empty(0, 0, 0, 0);
    if (!IsEffectivelyVisible(node))
        return empty;
    const TTVPaintOptions paint = FOptions->PaintOptions();
    int indent = 0;
    for (PTreeNode n = node; n != FRoot; n = ParentOf(n)) {
        PTreeNode parent = ParentOf(n);
        // A node of a subtree not linked into the tree (yet) has no place on screen.
        if (!parent)
            return empty;
        if (paint & toFixedIndent)
            continue;
        if (!n->Has(vsVisible) || (parent != FRoot && !parent->Has(vsExpanded)))
            return empty;
        if (mainColumn && parent != FRoot)
            indent += int(FIndent);
    }
    const int top = int(AbsoluteNodeTop(node));
    const int height = int(NodeHeightOf(node));
    QRect r = MakeRect(0, top, std::max(ClientWidth(), int(FRangeX)), top + height);
    const bool useColumn = column > NoColumn && ColumnsInUse(*this) && ColumnIsValid(*this, column);
    if (!useColumn) {
        r.translate(-FEffectiveOffsetX, 0);
    } else {
        int left = 0, right = 0;
        FHeader.Columns().GetColumnBounds(column, left, right);
        r = MakeRect(left, r.top(), right - 1, RBottom(r));
    }
    r.translate(0, FOffsetY);
    if (!textOnly)
        return r;

    int start = FMargin + indent;
    bool rtl = layoutDirection() == Qt::RightToLeft;
    TAlignment alignment = FAlignment;
    if (useColumn) {
        rtl = ColumnRightToLeft(*this, column);
        alignment = ColumnAlignment(*this, column);
    }
    if (mainColumn) {
        if (paint & toShowRoot)
            start += int(FIndent);
        if ((FOptions->MiscOptions() & toCheckSupport) && FCheckImages && node->CheckType() != ctNone)
            start += FCheckImages->Width() + 2;
    }
    if (FStateImages && HasImage(node, ikState, column))
        start += FStateImages->Width() + 2;
    if (FImages && HasImage(node, ikNormal, column))
        start += FImages->Width() + 2;
    if (rtl) {
        r.setRight(r.right() - start);
        if (alignment == taLeftJustify)
            alignment = taRightJustify;
        else if (alignment == taRightJustify)
            alignment = taLeftJustify;
    } else {
        r.setLeft(r.left() + start);
    }
    const int textWidth = DoGetNodeWidth(node, column);
    if (applyCellContentMargin) {
        QRect content = r;
        DoBeforeCellPaint(Canvas(), node, column, cpmGetContentMargin, r, content);
        r = content;
    }
    int left = r.left(), right = RRight(r);
    if (unclipped) {
        if (right - left < textWidth - 1)
            alignment = rtl ? taRightJustify : taLeftJustify;
        const int textHeight = std::min(Canvas().TextHeight(QStringLiteral("Wg")), height);
        if (textHeight > r.height()) {
            const int grow = (textHeight - r.height() + 1) / 2;
            r.setTop(r.top() - grow);
            r.setBottom(r.bottom() + grow);
        }
        switch (alignment) {
        case taRightJustify: left = right - textWidth; break;
        case taLeftJustify: right = left + textWidth - 1; break;
        case taCenter:
            left = (left + right - textWidth) / 2;
            right = left + textWidth;
            break;
        }
    } else if (textWidth < right - left) {
        switch (alignment) {
        case taRightJustify: left = right - textWidth; break;
        case taLeftJustify: right = left + textWidth; break;
        case taCenter:
            left = (left + right - textWidth) / 2;
            right = left + textWidth;
            break;
        }
    }
    return MakeRect(left, r.top(), right, RBottom(r));
}

QRect TBaseNodeTree::GetTreeRect() const
{
    return QRect(0, 0, std::max(ClientWidth(), int(FRangeX)), std::max(ClientHeight(), int(FRangeY)));
}

// ---- node heights ----

uint32_t TBaseNodeTree::NodeHeightOf(PTreeNode node)
{
    if (!node || node == FRoot)
        return 0;
    if (!(FOptions->MiscOptions() & toVariableNodeHeight) || node->Has(vsDeleting))
        return node->NodeHeight;
    if (!node->Has(vsInitialized))
        InitNode(node);
    MeasureItemHeight(Canvas(), node);
    return node->NodeHeight;
}

int TBaseNodeTree::DoMeasureItem(TCanvas& canvas, PTreeNode node, int nodeHeight)
{
    if (OnMeasureItem)
        OnMeasureItem(this, canvas, node, nodeHeight);
    return nodeHeight;
}

void TBaseNodeTree::MeasureItemHeight(TCanvas& canvas, PTreeNode node)
{
    if (!node || node == FRoot || node->Has(vsHeightMeasured))
        return;
    node->Include(vsHeightMeasured);
    if (!(FOptions->MiscOptions() & toVariableNodeHeight))
        return;
    auto measure = [&] {
        if (!node->Has(vsInitialized))
            InitNode(node);
        const int height = DoMeasureItem(canvas, node, node->NodeHeight);
        SetNodeHeight(node, uint32_t(std::max(0, height)));
    };
    if (QThread::currentThread() == thread())
        measure();
    else
        QMetaObject::invokeMethod(this, measure, Qt::BlockingQueuedConnection);
}

// ---- first and last node in view ----

void TBaseNodeTree::ExpandAncestors(PTreeNode node)
{
    for (PTreeNode p = ParentOf(node); p && p != FRoot; p = ParentOf(p))
        if (!p->Has(vsExpanded))
            ToggleNode(p);
}

void TBaseNodeTree::SetTopNode(PTreeNode node)
{
    if (!node || node == FRoot)
        return;
    ExpandAncestors(node);
    const QRect r = GetDisplayRect(node, FHeader.MainColumn, true);
    SetOffsetY(FOffsetY - r.top());
}

void TBaseNodeTree::SetBottomNode(PTreeNode node)
{
    if (!node || node == FRoot)
        return;
    ExpandAncestors(node);
    const QRect r = GetDisplayRect(node, FHeader.MainColumn, false);
    const int top = r.top() - FOffsetY;
    DoSetOffsetXY(QPoint(FOffsetX, ClientHeight() - top - int(NodeHeightOf(node))),
                  suoRepaintScrollBars | suoUpdateNCArea);
}

// ---- widths ----

int TBaseNodeTree::DoGetNodeWidth(PTreeNode, TColumnIndex, TCanvas*) { return 0; }
int TBaseNodeTree::DoGetNodeExtraWidth(PTreeNode, TColumnIndex, TCanvas*) { return 0; }

QPoint TBaseNodeTree::DoGetCellContentMargin(PTreeNode node, TColumnIndex column, TTVCellContentMarginType marginType,
                                             TCanvas* canvas)
{
    if (!OnBeforeCellPaint)
        return QPoint(0, 0);
    if (!canvas)
        canvas = &Canvas();
    const QRect cell = GetDisplayRect(node, column, false);
    QRect content = cell;
    DoBeforeCellPaint(*canvas, node, column, cpmGetContentMargin, cell, content);
    const int leftGap = content.left() - cell.left(), topGap = content.top() - cell.top();
    const int rightGap = RRight(cell) - RRight(content), bottomGap = RBottom(cell) - RBottom(content);
    switch (marginType) {
    case ccmtTopLeftOnly: return QPoint(leftGap, topGap);
    case ccmtBottomRightOnly: return QPoint(rightGap, bottomGap);
    default: return QPoint(leftGap + rightGap, topGap + bottomGap);
    }
}

int TBaseNodeTree::GetMaxColumnWidth(TColumnIndex column, bool useSmartColumnWidth)
{
    if (OperationCanceled())
        return ColumnIsValid(*this, column) ? ColumnWidth(*this, column) : 0;
    StartOperation(okGetMaxColumnWidth);
    struct End {
        TBaseNodeTree& t;
        ~End() { t.EndOperation(okGetMaxColumnWidth); }
    } end{*this};
    if (OnBeforeGetMaxColumnWidth)
        OnBeforeGetMaxColumnWidth(&FHeader, column, useSmartColumnWidth);
    const TTVPaintOptions paint = FOptions->PaintOptions();
    const int stateOffset = FStateImages ? FStateImages->Width() + 2 : 0;
    const int checkOffset = FCheckImages ? FCheckImages->Width() + 2 : 0;
    PTreeNode node = useSmartColumnWidth ? TopNode() : GetFirstVisible(nullptr, true);
    const bool mainColumn = column == NoColumn || column == FHeader.MainColumn;
    int indent = 0;
    int level = node ? int(GetNodeLevel(node)) : 0;
    if (mainColumn && node) {
        if (paint & toFixedIndent)
            indent = int(FIndent);
        else if (paint & toShowRoot)
            indent = (level + 1) * int(FIndent);
        else
            indent = level * int(FIndent);
    }
    const bool checks = mainColumn && (FOptions->MiscOptions() & toCheckSupport) && FCheckImages;
    PTreeNode last = nullptr;
    if (useSmartColumnWidth) {
        PTreeNode bottom = BottomNode();
        last = bottom ? GetNextVisible(bottom, true) : nullptr;
    }
    bool withImages = false;
    int result = 0;
    while (node && node != last && !OperationCanceled()) {
        if (!node->Has(vsInitialized))
            InitNode(node);
        int offset = indent + FMargin;
        if (checks && node->CheckType() != ctNone)
            offset += checkOffset;
        if (FImages && (withImages || HasImage(node, ikNormal, column))) {
            withImages = true;
            offset += FImages->Width() + 2;
        }
        if (stateOffset && HasImage(node, ikState, column))
            offset += stateOffset;
        offset += DoGetNodeWidth(node, column) + DoGetNodeExtraWidth(node, column) +
                  DoGetCellContentMargin(node, column).x();
        result = std::max(result, offset);
        PTreeNode next = GetNextVisible(node, true);
        if (next && mainColumn && !(paint & toFixedIndent)) {
            const int nextLevel = int(GetNodeLevel(next));
            indent += (nextLevel - level) * int(FIndent);
            level = nextLevel;
        }
        node = next;
    }
    if (paint & toShowVertGridLines)
        ++result;
    if (OnAfterGetMaxColumnWidth)
        OnAfterGetMaxColumnWidth(&FHeader, column, result);
    return result;
}

}  // namespace tree
