#include "controls/tree/NodeTrees.h"
#include "controls/tree/TreePaintTypes.h"

// Expanding and collapsing, visibility and filtering, and sorting: each keeps the subtree heights
// and the visible count exact by walking only up the changed node's ancestor chain.
namespace tree {

void TBaseNodeTree::ToggleNode(PTreeNode node)
{
    TreeAssert(node, "Node must not be nil.");
    if (node->Has(vsDeleting | vsToggling))
        return;
    const bool wasToggling = HasState(tsToggling);
    DoStateChange(TS(tsToggling));
    node->Include(vsToggling);
    auto finish = [&] {
        node->Exclude(vsToggling);
        if (!wasToggling)
            DoStateChange(0, TS(tsToggling));
    };
    try {
        bool changed = false;
        bool expanded = false;
        bool collapsed = false;
        int64_t heightChange = 0;
        if (node->Has(vsExpanded)) {
            if (DoCollapsing(node)) {
                changed = collapsed = true;
                heightChange = int64_t(NodeHeightOf(node)) - int64_t(node->TotalHeight);
                StopCacheValidation();
                if (GetFullyVisible(node))
                    FVisibleCount -= CountVisibleChildren(node);
                ChangeTotalHeight(node, IsEffectivelyFiltered(node) ? 0 : node->NodeHeight, false);
                node->Exclude(vsExpanded);
                DoCollapsed(node);
                if ((FOptions->AutoOptions() & toAutoFreeOnCollapse) && FirstOf(node)) {
                    DeleteChildren(node, false);
                    node->Include(vsHasChildren);
                    node->Exclude(vsAllChildrenHidden);
                }
            }
        } else if (DoExpanding(node)) {
            // A node that turns out to have no children stays collapsed but is still repainted.
            changed = true;
            EnsureInitialized(node);
            EnsureChildren(node);
            if (FirstOf(node)) {
                expanded = true;
                StopCacheValidation();
                if (FUpdateCount == 0 && ShouldAutoSort())
                    Sort(node, FHeader.SortColumn, FHeader.SortDirection, false);
                for (PTreeNode c = FirstOf(node); c; c = NextOf(c))
                    if (c->Has(vsVisible))
                        heightChange += c->TotalHeight;
                node->Include(vsExpanded);
                ChangeTotalHeight(node, heightChange, true);
                if (GetFullyVisible(node))
                    FVisibleCount += CountVisibleChildren(node);
                DoExpanded(node);
            }
        }
        if (changed) {
            MarkCacheStale();
            if (FUpdateCount > 0)
                UpdateRanges();
            else {
                StartCacheValidation();
                ShowToggle(node, expanded || collapsed, expanded, heightChange);
            }
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TBaseNodeTree::ShowToggle(PTreeNode node, bool moved, bool expanded, int64_t heightChange)
{
    if (!moved) {
        // Nothing moved on screen: only the node's button changed.
        InvalidateNode(node);
        return;
    }
    UpdateScrollBars(true);
    bool fullRepaint = true;
    if (!(TreeStates() & TS(tsExpanding, tsPainting))) {
        const bool childrenAbove = FOptions->PaintOptions() & toChildrenAbove;
        const bool autoScroll = FOptions->AutoOptions() & toAutoScrollOnExpand;
        const int clientHeight = ClientHeight();
        const int ownHeight = int(NodeHeightOf(node));
        const bool fits = ownHeight + heightChange <= clientHeight;
        if (expanded && childrenAbove) {
            const QRect row = GetDisplayRect(node, NoColumn, false);
            const bool inView = row.top() - heightChange >= 0 && RBottom(row) <= clientHeight;
            if ((fits && inView) || !autoScroll)
                SetOffsetY(FOffsetY - int(heightChange));
            else if (fits && row.top() >= 0 && row.top() < clientHeight)
                SetTopNode(GetFirstVisibleChild(node));
            else
                SetBottomNode(node);
        } else if (expanded && autoScroll) {
            if (fits)
                fullRepaint = ScrollIntoView(GetLastVisibleNoInit(node, true), false, false);
            else
                SetTopNode(node);
        } else if (childrenAbove) {
            SetOffsetY(FOffsetY - int(heightChange));
        }
    }
    if (fullRepaint)
        Invalidate();
    else
        InvalidateToBottom(node);
}

void TBaseNodeTree::SetExpanded(PTreeNode node, bool value)
{
    if (node && node != FRoot && node->Has(vsExpanded) != value)
        ToggleNode(node);
}

void TBaseNodeTree::FullExpand(PTreeNode node)
{
    if (FRoot->TotalCount < 2)
        return;
    DoStateChange(TS(tsExpanding));
    StartOperation(okExpand);
    BeginUpdate();
    auto finish = [&] {
        EndOperation(okExpand);
        EndUpdate();
        DoStateChange(0, TS(tsExpanding));
    };
    try {
        PTreeNode stop = nullptr;
        PTreeNode n = node;
        if (node)
            for (PTreeNode x = node; x != FRoot && !stop; x = ParentOf(x))
                stop = NextOf(x);
        else
            n = FirstOf(FRoot);
        EnsureInitialized(n);
        while (n && n != stop && !OperationCanceled()) {
            if (!n->Has(vsExpanded))
                ToggleNode(n);
            n = GetNext(n);
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TBaseNodeTree::FullCollapse(PTreeNode node)
{
    if (FRoot->TotalCount < 2)
        return;
    if (node == FRoot)
        node = nullptr;
    DoStateChange(TS(tsCollapsing));
    BeginUpdate();
    auto finish = [&] {
        EndUpdate();
        DoStateChange(0, TS(tsCollapsing));
    };
    try {
        for (PTreeNode n = GetLastVisibleNoInit(node, true); n && n != node; n = GetPreviousNoInit(n, true))
            if (n->Has(vsExpanded) && n->Has(vsHasChildren))
                ToggleNode(n);
        if (node && node->Has(vsExpanded) && node->Has(vsHasChildren))
            ToggleNode(node);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

bool TBaseNodeTree::IsVisible(PTreeNode node)
{
    node = node ? node : FRoot;
    EnsureInitialized(node);
    return node->Has(vsVisible);
}

void TBaseNodeTree::SetVisible(PTreeNode node, bool value)
{
    TreeAssert(node && node != FRoot, "Invalid parameter.");
    if (node->Has(vsVisible) == value)
        return;
    StopCacheValidation();
    PTreeNode parent = ParentOf(node);
    const uint32_t oldCount = FVisibleCount;
    if (value) {
        node->Include(vsVisible);
        if (parent->Has(vsExpanded))
            ChangeTotalHeight(parent, node->TotalHeight, true);
        if (ChildrenShown(parent))
            FVisibleCount += CountVisibleChildren(node) + (IsEffectivelyFiltered(node) ? 0 : 1);
        if (!IsEffectivelyFiltered(node))
            parent->Exclude(vsAllChildrenHidden);
    } else {
        if (parent->Has(vsExpanded))
            ChangeTotalHeight(parent, -int64_t(node->TotalHeight), true);
        if (ChildrenShown(parent))
            FVisibleCount -= CountVisibleChildren(node) + (IsEffectivelyFiltered(node) ? 0 : 1);
        node->Exclude(vsVisible);
        if (FUpdateCount > 0)
            EnterStates(TS(tsUpdateHiddenChildrenNeeded));
        else
            DetermineHiddenChildrenFlag(parent);
    }
    MarkCacheStale();
    if (FUpdateCount == 0 && FVisibleCount != oldCount)
        StartCacheValidation();
}

void TBaseNodeTree::SetFiltered(PTreeNode node, bool value)
{
    TreeAssert(node && node != FRoot, "Invalid parameter.");
    EnsureInitialized(node);
    if (node->Has(vsFiltered) == value)
        return;
    StopCacheValidation();
    const bool showFiltered = FOptions->PaintOptions() & toShowFilteredNodes;
    const uint32_t oldCount = FVisibleCount;
    PTreeNode parent = ParentOf(node);
    if (value) {
        node->Include(vsFiltered);
        if (!showFiltered) {
            ChangeTotalHeight(node, -int64_t(node->NodeHeight), true);
            if (GetFullyVisible(node))
                --FVisibleCount;
            if (FUpdateCount > 0)
                EnterStates(TS(tsUpdateHiddenChildrenNeeded));
            else
                DetermineHiddenChildrenFlag(parent);
        }
    } else {
        node->Exclude(vsFiltered);
        if (!showFiltered) {
            ChangeTotalHeight(node, node->NodeHeight, true);
            if (GetFullyVisible(node))
                ++FVisibleCount;
            if (node->Has(vsVisible))
                parent->Exclude(vsAllChildrenHidden);
        }
    }
    MarkCacheStale();
    if (FUpdateCount == 0 && FVisibleCount != oldCount)
        StartCacheValidation();
}

void TBaseNodeTree::SetFullyVisible(PTreeNode node, bool value)
{
    TreeAssert(node && node != FRoot, "Invalid parameter");
    SetVisible(node, value);
    if (!value)
        return;
    for (PTreeNode a = ParentOf(node); a != FRoot; a = ParentOf(a)) {
        if (!a->Has(vsExpanded))
            ToggleNode(a);
        if (!a->Has(vsVisible))
            SetVisible(a, true);
    }
}

void TBaseNodeTree::SetVisiblePath(PTreeNode node, bool value)
{
    TreeAssert(node && node != FRoot, "Invalid parameters.");
    if (!value)
        return;
    for (PTreeNode a = ParentOf(node); a != FRoot; a = ParentOf(a))
        if (!a->Has(vsExpanded))
            ToggleNode(a);
}

void TBaseNodeTree::ApplyShowFilteredChange(bool show)
{
    // The option is already stored: filtered nodes now count (show) or no longer count.
    for (PTreeNode n = GetFirstNoInit(); n; n = GetNextNoInit(n)) {
        if (!n->Has(vsFiltered))
            continue;
        if (GetFullyVisible(n))
            show ? ++FVisibleCount : --FVisibleCount;
        ChangeTotalHeight(n, show ? int64_t(n->NodeHeight) : -int64_t(n->NodeHeight), true);
    }
    DetermineHiddenChildrenFlagAllNodes();
}

// ---------------------------------------------------------------------------------------------
// Sorting

void TBaseNodeTree::SortChildren(PTreeNode node, TColumnIndex column, TSortDirection direction)
{
    // Sorted into an array first, so that a failing comparison leaves the chain as it was.
    std::vector<PTreeNode> items, buffer;
    items.reserve(ChildCount(node));
    for (PTreeNode c = FirstOf(node); c; c = NextOf(c))
        items.push_back(c);
    buffer.resize(items.size());
    // Stable bottom-up merge; after a cancel every comparison is 0, which keeps the order.
    for (size_t width = 1; width < items.size(); width *= 2) {
        for (size_t lo = 0; lo < items.size(); lo += 2 * width) {
            const size_t mid = std::min(lo + width, items.size());
            const size_t hi = std::min(lo + 2 * width, items.size());
            size_t a = lo, b = mid, out = lo;
            while (a < mid && b < hi) {
                const int cmp = OperationCanceled() ? 0 : DoCompare(items[a], items[b], column);
                const bool takeB = direction == sdAscending ? cmp > 0 : cmp < 0;
                buffer[out++] = takeB ? items[b++] : items[a++];
            }
            while (a < mid)
                buffer[out++] = items[a++];
            while (b < hi)
                buffer[out++] = items[b++];
        }
        items.swap(buffer);
    }
    for (size_t i = 0; i < items.size(); ++i) {
        PTreeNode c = items[i];
        c->Index = uint32_t(i);
        c->NextId = i + 1 < items.size() ? items[i + 1]->SelfId : 0;
        c->PrevId = i > 0 ? items[i - 1]->SelfId : items.back()->SelfId;
    }
    if (!items.empty())
        node->FirstChildId = items.front()->SelfId;
}

void TBaseNodeTree::Sort(PTreeNode node, TColumnIndex column, TSortDirection direction, bool doInit)
{
    StopCacheValidation();
    if (HasState(tsEditPending)) {
        StopTimer(TTreeTimer::Edit);
        DoStateChange(0, TS(tsEditPending));
    }
    // The running edit keeps what was typed; an edit that cannot end blocks the sort.
    if (HasState(tsEditing) && !DoEndEdit())
        return;
    node = node ? node : FRoot;
    if (!node->Has(vsHasChildren))
        return;
    if (doInit) {
        EnsureChildren(node);
        ValidateChildren(node, false);
    }
    // Without a comparison every pair is equal and the order stays: no pass is made.
    if (ChildCount(node) > 1 && CanCompare()) {
        StartOperation(okSortNode);
        try {
            SortChildren(node, column, direction);
        } catch (...) {
            EndOperation(okSortNode);
            throw;
        }
        EndOperation(okSortNode);
        MarkCacheStale();
    }
    if (FUpdateCount == 0) {
        StartCacheValidation();
        Invalidate();
    }
}

void TBaseNodeTree::SortLevel(PTreeNode node, TColumnIndex column, TSortDirection direction, bool doInit)
{
    Sort(node, column, direction, doInit);
    for (PTreeNode c = FirstOf(node); c && !OperationCanceled(); c = NextOf(c)) {
        if (doInit)
            EnsureInitialized(c);
        if (c->Has(vsInitialized) && !((FOptions->AutoOptions() & toAutoSort) && !c->Has(vsExpanded)))
            SortLevel(c, column, direction, doInit);
    }
}

void TBaseNodeTree::SortTree(TColumnIndex column, TSortDirection direction, bool doInit)
{
    if (FRoot->TotalCount <= 2)
        return;
    ++FUpdateCount;
    try {
        if (column > InvalidColumn) {
            StartOperation(okSortTree);
            try {
                SortLevel(FRoot, column, direction, doInit);
            } catch (...) {
                EndOperation(okSortTree);
                throw;
            }
            EndOperation(okSortTree);
        }
        MarkCacheStale();
    } catch (...) {
        --FUpdateCount;
        throw;
    }
    --FUpdateCount;
    if (FUpdateCount == 0) {
        StartCacheValidation();
        Invalidate();
    }
}

}  // namespace tree
