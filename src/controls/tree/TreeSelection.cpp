#include "controls/tree/NodeTrees.h"

#include <QThread>
#include <QCoreApplication>
#include <algorithm>
#include <bit>

// The selection is kept twice: as the vsSelected state of each node and as FSelection, sorted by
// node address so that membership is a binary search and a batch merges in one pass. Removal
// inside loops marks an entry (address + 1; node blocks are 8-byte aligned) and a single packing
// pass per operation squeezes the marks out.
namespace tree {

namespace {

uintptr_t Address(PTreeNode node) { return std::bit_cast<uintptr_t>(node); }
bool IsMarked(PTreeNode entry) { return (Address(entry) & 1) != 0; }
PTreeNode Marked(PTreeNode node) { return std::bit_cast<PTreeNode>(Address(node) | 1); }
bool Below(PTreeNode a, PTreeNode b) { return Address(a) < Address(b); }

}  // namespace

int TBaseNodeTree::CompactNodeArray(TNodeArray& nodes, int count)
{
    if (count <= 0)
        return -1;
    count = std::min<int>(count, int(nodes.size()));
    int kept = 0;
    for (int i = 0; i < count; ++i)
        if (!IsMarked(nodes[i]))
            nodes[kept++] = nodes[i];
    return kept;
}

void TBaseNodeTree::PackSelection()
{
    const int kept = CompactNodeArray(FSelection, int(FSelection.size()));
    if (kept >= 0)
        FSelection.resize(size_t(kept));
}

bool TBaseNodeTree::FindNodeInSelection(PTreeNode node, int& index, int lowBound, int highBound) const
{
    int high = highBound < 0 ? int(FSelection.size()) - 1 : highBound;
    int low = lowBound < 0 ? 0 : lowBound;
    bool found = false;
    while (high >= low) {
        const int middle = (low + high) / 2;
        if (Below(FSelection[size_t(middle)], node))
            low = middle + 1;
        else {
            high = middle - 1;
            if (FSelection[size_t(middle)] == node) {
                low = middle;
                found = true;
            }
        }
    }
    index = low;
    return found;
}

int TBaseNodeTree::CompareNodeOrder(PTreeNode node1, PTreeNode node2, bool considerChildrenAbove) const
{
    TreeAssert(node1 && node2, "Nodes must never be nil.");
    if (node1 == node2)
        return 0;
    const bool above = considerChildrenAbove && (FOptions->PaintOptions() & toChildrenAbove);
    if (HasAsParent(node1, node2))
        return above ? -1 : 1;
    if (HasAsParent(node2, node1))
        return above ? 1 : -1;
    uint32_t level1 = GetNodeLevel(node1);
    uint32_t level2 = GetNodeLevel(node2);
    while (level1 > level2) {
        node1 = ParentOf(node1);
        --level1;
    }
    while (level2 > level1) {
        node2 = ParentOf(node2);
        --level2;
    }
    while (ParentOf(node1) != ParentOf(node2)) {
        node1 = ParentOf(node1);
        node2 = ParentOf(node2);
    }
    return int(int64_t(node1->Index) - int64_t(node2->Index));
}

// ---- adding ----

bool TBaseNodeTree::InternalAddToSelection(TNodeArray& nodes, int count, bool forceInsert)
{
    count = std::min<int>(count, int(nodes.size()));
    if (count <= 0)
        return false;
    const TTVSelectionOptions options = FOptions->SelectionOptions();
    if (!forceInsert) {
        if ((options & toLevelSelectConstraint) && FLastSelectionLevel < 0)
            FLastSelectionLevel = int(GetNodeLevel(nodes[0]));
        if ((options & toSiblingSelectConstraint) && !FRangeAnchor)
            FRangeAnchor = nodes[0];
    }
    for (int i = 0; i < count; ++i) {
        PTreeNode node = nodes[size_t(i)];
        // A node already selected would stand twice in the array, also with a forced insert.
        bool refused = node == FRoot || node->Has(vsSelected);
        if (!forceInsert && !refused)
            refused = node->Has(vsDisabled) ||
                      ((options & toLevelSelectConstraint) && int(GetNodeLevel(node)) != FLastSelectionLevel) ||
                      ((options & toSiblingSelectConstraint) && ParentOf(node) != ParentOf(FRangeAnchor));
        if (refused) {
            nodes[size_t(i)] = Marked(node);
            continue;
        }
        node->Include(vsSelected);
        if (OnAddToSelection)
            OnAddToSelection(this, node);
    }
    const int added = CompactNodeArray(nodes, count);
    if (added <= 0)
        return false;
    std::sort(nodes.begin(), nodes.begin() + added, Below);

    // Merge from the back: old entries move up as blocks found by binary search.
    const int oldCount = int(FSelection.size());
    FSelection.resize(size_t(oldCount + added));
    int i = added - 1;
    int j = oldCount - 1;
    while (i >= 0) {
        if (j < 0) {
            std::copy(nodes.begin(), nodes.begin() + i + 1, FSelection.begin());
            break;
        }
        while (i >= 0 && Below(FSelection[size_t(j)], nodes[size_t(i)])) {
            FSelection[size_t(j + i + 1)] = nodes[size_t(i)];
            --i;
        }
        if (i < 0)
            break;
        int d = 0;
        FindNodeInSelection(nodes[size_t(i)], d, 0, j);
        std::move_backward(FSelection.begin() + d, FSelection.begin() + j + 1, FSelection.begin() + j + i + 2);
        j = d - 1;
    }
    return true;
}

bool TBaseNodeTree::InternalAddToSelection(PTreeNode node, bool forceInsert)
{
    TreeAssert(node, "Node must not be nil!");
    TNodeArray singleton{node};
    return InternalAddToSelection(singleton, 1, forceInsert);
}

void TBaseNodeTree::AddToSelection(PTreeNode node)
{
    if (FSelectionLocked)
        return;
    TreeAssert(node, "Node must not be nil!");
    TNodeArray singleton{node};
    if (!InternalAddToSelection(singleton, 1, false))
        return;
    if (FSelection.size() == 1)
        SetFocusedNode(node);
    InvalidateNode(node);
    Change(node);
}

void TBaseNodeTree::AddToSelection(TNodeArray& nodes, int newLength, bool forceInsert)
{
    PTreeNode first = newLength == 1 && !nodes.empty() ? nodes[0] : nullptr;
    if (!InternalAddToSelection(nodes, newLength, forceInsert))
        return;
    if (first) {
        InvalidateNode(first);
        Change(first);
    } else {
        Invalidate();
        Change(nullptr);
    }
}

// ---- removing ----

void TBaseNodeTree::RemoveFromSelection(PTreeNode node)
{
    if (FSelectionLocked)
        return;
    TreeAssert(node, "Node must not be nil!");
    if (QCoreApplication::instance() && QThread::currentThread() != QCoreApplication::instance()->thread())
        RaiseAssertion(QString::fromLatin1(metaObject()->className()) +
                       QStringLiteral(".RemoveFromSelection() must only be called from UI thread."));
    if (!node->Has(vsSelected))
        return;
    node->Exclude(vsSelected);
    int index = 0;
    if (FindNodeInSelection(node, index, -1, -1))
        FSelection.erase(FSelection.begin() + index);
    if (FSelection.empty())
        ResetRangeAnchor();
    if (FSelection.size() <= 1)
        UpdateNextNodeToSelect(node);
    DoRemoveFromSelection(node);
    Change(node);
}

void TBaseNodeTree::InternalRemoveFromSelection(PTreeNode node)
{
    int index = 0;
    if (!FindNodeInSelection(node, index, -1, -1))
        return;
    node->Exclude(vsSelected);
    FSelection[size_t(index)] = Marked(node);
    DoRemoveFromSelection(node);
    AdviseChangeEvent(false, node, crIgnore);
}

void TBaseNodeTree::InternalClearSelection()
{
    if (FUpdateCount > 0)
        PackSelection();
    while (!FSelection.empty()) {
        PTreeNode node = FSelection.back();
        FSelection.pop_back();
        if (IsMarked(node))
            continue;
        node->Exclude(vsSelected);
        DoRemoveFromSelection(node);
    }
    ResetRangeAnchor();
    TNodeArray().swap(FSelection);
    DoStateChange(0, TS(tsClearPending));
}

void TBaseNodeTree::ClearSelection(bool fireChange)
{
    if (FSelectionLocked || FSelection.empty() || FDestroying)
        return;
    if (FUpdateCount == 0 && FVisibleCount > 0) {
        // Repaint only the selected rows in view, and stop once every selected node was met.
        int remaining = int(FSelection.size());
        int top = 0;
        PTreeNode node = GetNodeAt(0, 0, true, &top);
        int y = top + OffsetY();
        while (node && remaining > 0 && y < ClientHeight()) {
            if (node->Has(vsSelected)) {
                InvalidateNode(node);
                --remaining;
            }
            y += int(node->NodeHeight);
            node = GetNextVisibleNoInit(node, true);
        }
    }
    InternalClearSelection();
    if (fireChange)
        Change(nullptr);
}

// ---- whole tree and ranges ----

// A range starts at a shown node: a hidden start moves to the row above it, or to the fallback
// when there is none.
PTreeNode TBaseNodeTree::RangeStart(PTreeNode startNode, PTreeNode fallback)
{
    if (!startNode)
        return fallback;
    if (GetFullyVisible(startNode))
        return startNode;
    PTreeNode previous = GetPreviousVisible(startNode, true);
    return previous ? previous : fallback;
}

void TBaseNodeTree::SelectAll(bool visibleOnly)
{
    if (FSelectionLocked || !(FOptions->SelectionOptions() & toMultiSelect))
        return;
    ClearTempCache();
    PTreeNode node = visibleOnly ? GetFirstVisible(nullptr, true, false) : GetFirst(false);
    while (node) {
        if (!node->Has(vsSelected))
            InternalCacheNode(node);
        node = visibleOnly ? GetNextVisible(node, false) : GetNext(node, false);
    }
    if (!FTempNodeCache.empty()) {
        TNodeArray cache;
        cache.swap(FTempNodeCache);
        AddToSelection(cache, int(cache.size()), false);
    }
    ClearTempCache();
    Invalidate();
}

void TBaseNodeTree::InvertSelection(bool visibleOnly)
{
    if (FSelectionLocked || !(FOptions->SelectionOptions() & toMultiSelect))
        return;
    ClearTempCache();
    bool reportChange = false;
    for (PTreeNode node = GetFirstChildNoInit(FRoot); node;
         node = visibleOnly ? GetNextVisibleNoInit(node, false) : GetNextNoInit(node, false)) {
        if (node->Has(vsSelected))
            InternalRemoveFromSelection(node);
        else
            InternalCacheNode(node);
    }
    const int kept = CompactNodeArray(FSelection, int(FSelection.size()));
    if (kept >= 0) {
        FSelection.resize(size_t(kept));
        reportChange = true;
    }
    if (!FTempNodeCache.empty()) {
        TNodeArray cache;
        cache.swap(FTempNodeCache);
        AddToSelection(cache, int(cache.size()), false);
        ClearTempCache();
        reportChange = false;
    }
    Invalidate();
    if (reportChange)
        Change(nullptr);
    if (FSelection.empty())
        FNextNodeToSelect = nullptr;
}

void TBaseNodeTree::SelectNodes(PTreeNode startNode, PTreeNode endNode, bool addOnly)
{
    TreeAssert(endNode, "EndNode must not be nil!");
    if (FSelectionLocked)
        return;
    ClearTempCache();
    startNode = RangeStart(startNode, GetFirstVisibleNoInit(nullptr, true, false));
    if (!startNode)
        return;
    PTreeNode first = startNode;
    PTreeNode last = endNode;
    if (CompareNodeOrder(startNode, endNode, true) >= 0)
        std::swap(first, last);
    PTreeNode anchor = FRangeAnchor;
    if (!addOnly)
        InternalClearSelection();
    for (PTreeNode node = first; node; node = GetNextVisible(node, true)) {
        InternalCacheNode(node);
        if (node == last)
            break;
    }
    TNodeArray cache;
    cache.swap(FTempNodeCache);
    AddToSelection(cache, int(cache.size()), false);
    ClearTempCache();
    int index = 0;
    if (anchor && FindNodeInSelection(anchor, index, -1, -1))
        FRangeAnchor = anchor;
}

void TBaseNodeTree::ToggleSelection(PTreeNode startNode, PTreeNode endNode)
{
    if (FSelectionLocked)
        return;
    TreeAssert(endNode, "EndNode must not be nil!");
    if (!startNode)
        startNode = GetFirstChildNoInit(FRoot);
    else if (!GetFullyVisible(startNode))
        startNode = GetPreviousVisible(startNode, true);
    if (!startNode)
        return;
    const int order = CompareNodeOrder(startNode, endNode, false);
    if (order == 0)
        return;
    ClearTempCache();
    PTreeNode first = order < 0 ? startNode : endNode;
    PTreeNode last = order < 0 ? endNode : startNode;
    auto toggle = [this](PTreeNode node) {
        if (node->Has(vsSelected))
            InternalRemoveFromSelection(node);
        else
            InternalCacheNode(node);
    };
    if (CompareNodeOrder(first, FRangeAnchor, false) < 0)
        toggle(first);
    for (PTreeNode node = GetNextVisible(first, true); node && node != last; node = GetNextVisible(node, true))
        toggle(node);
    if (CompareNodeOrder(last, FRangeAnchor, false) > 0)
        toggle(last);
    PackSelection();
    if (!FRangeAnchor->Has(vsSelected))
        InternalCacheNode(FRangeAnchor);
    if (!FTempNodeCache.empty()) {
        TNodeArray cache;
        cache.swap(FTempNodeCache);
        AddToSelection(cache, int(cache.size()), false);
    }
    ClearTempCache();
}

void TBaseNodeTree::UnselectNodes(PTreeNode startNode, PTreeNode endNode)
{
    if (FSelectionLocked)
        return;
    TreeAssert(endNode, "EndNode must not be nil!");
    startNode = RangeStart(startNode, GetFirstChildNoInit(FRoot));
    if (!startNode)
        return;
    PTreeNode first = startNode;
    PTreeNode last = endNode;
    if (CompareNodeOrder(startNode, endNode, false) > 0)
        std::swap(first, last);
    for (PTreeNode node = first; node; node = GetNextVisible(node, true)) {
        InternalRemoveFromSelection(node);
        if (node == last)
            break;
    }
    PackSelection();
}

// ---- the Selected property ----

void TBaseNodeTree::SetSelected(PTreeNode node, bool value)
{
    if (FSelectionLocked || !node || node == FRoot || node->Has(vsSelected) == value)
        return;
    const bool multi = FOptions->SelectionOptions() & toMultiSelect;
    if (value) {
        if (FSelection.empty())
            FRangeAnchor = node;
        else if (!multi)
            ClearSelection(true);
        AddToSelection(node);
        if (!multi)
            SetFocusedNode(node);
        const TColumnIndex main = FHeader.GetMainColumn();
        if (main >= 0 && (!FHeader.Columns().IsValidColumn(FFocusedColumn) ||
                          !FHeader.Columns()[FFocusedColumn]->Visible())) {
            const TNodeTreeColumn* column = FHeader.Columns()[main];
            if ((column->Options() & coVisible) && (column->Options() & coAllowFocus))
                FFocusedColumn = main;
            else
                FFocusedColumn = FHeader.Columns().GetFirstVisibleColumn(true);
        }
        if (!FRangeAnchor)
            FRangeAnchor = node;
    } else {
        RemoveFromSelection(node);
        if (FSelection.empty())
            ResetRangeAnchor();
    }
    if (GetFullyVisible(node) && !IsEffectivelyFiltered(node))
        InvalidateNode(node);
}

bool TBaseNodeTree::ColumnAllowsFocus(TColumnIndex column) const { return FHeader.AllowFocus(column); }

// ---- anchor, successor and the always-selected rule ----

void TBaseNodeTree::ResetRangeAnchor()
{
    FRangeAnchor = FFocusedNode;
    FLastSelectionLevel = -1;
}

void TBaseNodeTree::UpdateNextNodeToSelect(PTreeNode node)
{
    if (!(FOptions->SelectionOptions() & toAlwaysSelectNode))
        return;
    PTreeNode next = NextOf(node);
    if (!next)
        next = PrevOf(node);
    if (!next)
        next = GetNodeLevel(node) > 0 ? ParentOf(node) : FirstOf(node);
    FNextNodeToSelect = next;
}

void TBaseNodeTree::EnsureNodeSelected()
{
    if (FDestroying || !(FOptions->SelectionOptions() & toAlwaysSelectNode) || !FirstOf(FRoot))
        return;
    if (!GetFirstSelected() && !FSelectionLocked) {
        if (FNextNodeToSelect)
            SetSelected(FNextNodeToSelect, true);
        else if (Focused())
            SetSelected(GetFirstVisible(nullptr, true), true);
    }
    EnsureNodeFocused();
    if (PTreeNode selected = GetFirstSelected())
        ScrollIntoView(selected, false, false);
}

void TBaseNodeTree::EnsureNodeFocused()
{
    if (FFocusedNode)
        return;
    PTreeNode node = GetFirstSelected();
    if (!node)
        node = GetFirstVisible(nullptr, true);
    if (node)
        SetFocusedNode(node);
}

void TBaseNodeTree::CollapseSelectionRepair()
{
    if (!(FOptions->SelectionOptions() & toAlwaysSelectNode))
        return;
    PTreeNode selected = GetFirstSelected();
    if (selected && !GetFullyVisible(selected)) {
        SetSelected(selected, false);
        SetSelected(GetVisibleParent(selected, false), true);
    }
    if (!GetFirstSelected())
        EnsureNodeSelected();
}

// ---- focus ----

void TBaseNodeTree::DoFocusNode(PTreeNode node, bool ask)
{
    if (HasState(tsEditing) && !EndEditNode())
        return;
    if (node == FRoot)
        node = nullptr;
    if (node != FFocusedNode && (!ask || DoFocusChanging(FFocusedNode, node, FFocusedColumn, FFocusedColumn))) {
        PTreeNode old = FFocusedNode;
        if (old) {
            if ((FOptions->AutoOptions() & toAutoExpand) && node && ParentOf(node) == ParentOf(old) &&
                old->Has(vsExpanded))
                ToggleNode(old);
            else
                InvalidateNode(old);
        }
        FFocusedNode = node;
    }
    if (FFocusedNode) {
        if (FHeader.UseColumns() && !FHeader.Columns().IsValidColumn(FFocusedColumn))
            FFocusedColumn = FHeader.GetMainColumn();
        if ((FOptions->AutoOptions() & toAutoExpand) && !FFocusedNode->Has(vsExpanded))
            ToggleNode(FFocusedNode);
        InvalidateNode(FFocusedNode);
        const TTVSelectionOptions options = FOptions->SelectionOptions();
        if (FUpdateCount == 0 && !(FOptions->AutoOptions() & toDisableAutoscrollOnFocus))
            ScrollIntoView(FFocusedNode,
                           (options & toCenterScrollIntoView) &&
                               !(TreeStates() & TS(tsLeftButtonDown, tsMiddleButtonDown, tsRightButtonDown)),
                           !(options & toFullRowSelect));
    }
    if (FSelection.empty())
        ResetRangeAnchor();
}

void TBaseNodeTree::SetFocusedNode(PTreeNode node)
{
    PTreeNode old = FFocusedNode;
    DoFocusNode(node, true);
    if (node != old && node == FFocusedNode)
        DoFocusChange(FFocusedNode, FFocusedColumn);
}

void TBaseNodeTree::SetFocusedNodeAndColumn(PTreeNode node, TColumnIndex column)
{
    if (!ColumnAllowsFocus(column))
        column = FFocusedColumn;
    const bool changed = node != FFocusedNode || column != FFocusedColumn;
    const TColumnIndex oldColumn = FFocusedColumn;
    FFocusedColumn = column;
    DoFocusNode(node, true);
    if (node == FFocusedNode) {
        if (HasState(tsEditing))
            DoCancelEdit();
        if (changed)
            DoFocusChange(FFocusedNode, FFocusedColumn);
    } else
        FFocusedColumn = oldColumn;
}

bool TBaseNodeTree::CanFocus() const
{
    // The platform's answer: every control up to the form must be visible and enabled.
    const QWidget* form = window();
    if (isHidden() || !isEnabled())
        return false;
    for (const QWidget* run = parentWidget(); run && run != form; run = run->parentWidget())
        if (run->isHidden() || !run->isEnabled())
            return false;
    if (focusPolicy() == Qt::NoFocus)
        return false;
    // A disabled or hidden form would swallow the focus.
    if (form && form != this && (!form->isEnabled() || !form->isVisible()))
        return false;
    return true;
}

}  // namespace tree
