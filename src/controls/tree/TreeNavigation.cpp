#include "controls/tree/NodeTrees.h"

// First / next / previous / last families. The plain forms initialise what they return and create
// children on demand; the NoInit forms follow only the links that exist.
namespace tree {

bool TBaseNodeTree::ChildrenAboveOrder(bool consider) const
{
    return consider && (FOptions->PaintOptions() & toChildrenAbove);
}

void TBaseNodeTree::EnsureInitialized(PTreeNode node)
{
    if (node && node != FRoot && !node->Has(vsInitialized))
        InitNode(node);
}

void TBaseNodeTree::EnsureChildren(PTreeNode node)
{
    if (node != FRoot && node->Has(vsHasChildren) && !FirstOf(node))
        InitChildren(node);
}

PTreeNode TBaseNodeTree::TopmostHidden(PTreeNode node) const
{
    PTreeNode result = nullptr;
    for (PTreeNode x = node; x && x != FRoot; x = ParentOf(x)) {
        PTreeNode parent = ParentOf(x);
        if (!x->Has(vsVisible))
            result = x;
        if (parent != FRoot && !parent->Has(vsExpanded))
            result = parent;
    }
    return result;
}

// ---- all nodes ----

PTreeNode TBaseNodeTree::GetFirstNoInit(bool considerChildrenAbove) const
{
    PTreeNode node = FirstOf(FRoot);
    if (ChildrenAboveOrder(considerChildrenAbove))
        while (node && FirstOf(node))
            node = FirstOf(node);
    return node;
}

PTreeNode TBaseNodeTree::GetFirst(bool considerChildrenAbove)
{
    if (!ChildrenAboveOrder(considerChildrenAbove)) {
        PTreeNode node = FirstOf(FRoot);
        EnsureInitialized(node);
        return node;
    }
    PTreeNode node = FRoot;
    for (;;) {
        EnsureChildren(node);
        PTreeNode child = FirstOf(node);
        if (!child)
            break;
        EnsureInitialized(child);
        node = child;
    }
    return node == FRoot ? nullptr : node;
}

PTreeNode TBaseNodeTree::GetNextNoInit(PTreeNode node, bool considerChildrenAbove) const
{
    if (!node)
        return nullptr;
    TreeAssert(node != FRoot, "Node must not be the hidden root node.");
    if (ChildrenAboveOrder(considerChildrenAbove)) {
        if (PTreeNode next = NextOf(node)) {
            while (FirstOf(next))
                next = FirstOf(next);
            return next;
        }
        PTreeNode parent = ParentOf(node);
        return parent == FRoot ? nullptr : parent;
    }
    if (PTreeNode child = FirstOf(node))
        return child;
    for (PTreeNode n = node; n != FRoot; n = ParentOf(n))
        if (PTreeNode next = NextOf(n))
            return next;
    return nullptr;
}

PTreeNode TBaseNodeTree::GetNext(PTreeNode node, bool considerChildrenAbove)
{
    if (!node)
        return nullptr;
    TreeAssert(node != FRoot, "Node must not be the hidden root node.");
    PTreeNode result = nullptr;
    if (ChildrenAboveOrder(considerChildrenAbove)) {
        if (PTreeNode next = NextOf(node)) {
            for (;;) {
                EnsureInitialized(next);
                EnsureChildren(next);
                if (!FirstOf(next))
                    break;
                next = FirstOf(next);
            }
            result = next;
        } else {
            PTreeNode parent = ParentOf(node);
            result = parent == FRoot ? nullptr : parent;
        }
    } else {
        EnsureChildren(node);
        if (PTreeNode child = FirstOf(node))
            result = child;
        else
            for (PTreeNode n = node; n != FRoot && !result; n = ParentOf(n))
                result = NextOf(n);
    }
    EnsureInitialized(result);
    return result;
}

PTreeNode TBaseNodeTree::GetPreviousNoInit(PTreeNode node, bool considerChildrenAbove) const
{
    if (!node)
        return nullptr;
    TreeAssert(node != FRoot, "Node must not be the hidden root node.");
    if (ChildrenAboveOrder(considerChildrenAbove)) {
        if (PTreeNode last = LastOf(node))
            return last;
        for (PTreeNode n = node; n != FRoot; n = ParentOf(n))
            if (PTreeNode prev = PrevOf(n))
                return prev;
        return nullptr;
    }
    if (PTreeNode prev = PrevOf(node)) {
        while (LastOf(prev))
            prev = LastOf(prev);
        return prev;
    }
    PTreeNode parent = ParentOf(node);
    return parent == FRoot ? nullptr : parent;
}

PTreeNode TBaseNodeTree::GetPrevious(PTreeNode node, bool considerChildrenAbove)
{
    if (!node)
        return nullptr;
    TreeAssert(node != FRoot, "Node must not be the hidden root node.");
    PTreeNode result = nullptr;
    if (ChildrenAboveOrder(considerChildrenAbove)) {
        EnsureChildren(node);
        if (PTreeNode last = LastOf(node))
            result = last;
        else
            for (PTreeNode n = node; n != FRoot && !result; n = ParentOf(n))
                result = PrevOf(n);
    } else if (PTreeNode prev = PrevOf(node)) {
        PTreeNode last = GetLast(prev);
        result = last ? last : prev;
    } else {
        PTreeNode parent = ParentOf(node);
        result = parent == FRoot ? nullptr : parent;
    }
    EnsureInitialized(result);
    return result;
}

PTreeNode TBaseNodeTree::GetLastNoInit(PTreeNode node, bool considerChildrenAbove) const
{
    PTreeNode child = GetLastChildNoInit(node);
    if (ChildrenAboveOrder(considerChildrenAbove) || !child)
        return child;
    while (PTreeNode next = LastOf(child))
        child = next;
    return child;
}

PTreeNode TBaseNodeTree::GetLast(PTreeNode node, bool considerChildrenAbove)
{
    PTreeNode child = GetLastChild(node);
    if (ChildrenAboveOrder(considerChildrenAbove) || !child)
        return child;
    while (PTreeNode next = GetLastChild(child))
        child = next;
    return child;
}

// ---- children and siblings ----

PTreeNode TBaseNodeTree::GetFirstChildNoInit(PTreeNode node) const { return FirstOf(node ? node : FRoot); }
PTreeNode TBaseNodeTree::GetLastChildNoInit(PTreeNode node) const { return LastOf(node ? node : FRoot); }

PTreeNode TBaseNodeTree::GetFirstChild(PTreeNode node)
{
    node = node ? node : FRoot;
    EnsureInitialized(node);
    EnsureChildren(node);
    PTreeNode child = FirstOf(node);
    EnsureInitialized(child);
    return child;
}

PTreeNode TBaseNodeTree::GetLastChild(PTreeNode node)
{
    node = node ? node : FRoot;
    EnsureInitialized(node);
    EnsureChildren(node);
    PTreeNode child = LastOf(node);
    EnsureInitialized(child);
    return child;
}

PTreeNode TBaseNodeTree::GetNextSiblingNoInit(PTreeNode node) const
{
    if (!node)
        return nullptr;
    TreeAssert(node != FRoot, "Node must not be the hidden root node.");
    return NextOf(node);
}

PTreeNode TBaseNodeTree::GetPreviousSiblingNoInit(PTreeNode node) const
{
    if (!node)
        return nullptr;
    TreeAssert(node != FRoot, "Node must not be the hidden root node.");
    return PrevOf(node);
}

PTreeNode TBaseNodeTree::GetNextSibling(PTreeNode node)
{
    PTreeNode result = GetNextSiblingNoInit(node);
    EnsureInitialized(result);
    return result;
}

PTreeNode TBaseNodeTree::GetPreviousSibling(PTreeNode node)
{
    PTreeNode result = GetPreviousSiblingNoInit(node);
    EnsureInitialized(result);
    return result;
}

// ---- visibility ----

bool TBaseNodeTree::IsEffectivelyFiltered(PTreeNode node) const
{
    return node && node->Has(vsFiltered) && !(FOptions->PaintOptions() & toShowFilteredNodes);
}

bool TBaseNodeTree::IsEffectivelyVisible(PTreeNode node) const
{
    return node && node->Has(vsVisible) && !IsEffectivelyFiltered(node);
}

bool TBaseNodeTree::GetVisiblePath(PTreeNode node) const
{
    TreeAssert(node && node != FRoot, "Invalid parameters.");
    for (PTreeNode p = ParentOf(node); p != FRoot; p = ParentOf(p))
        if (!p->Has(vsExpanded) || !p->Has(vsVisible))
            return false;
    return true;
}

bool TBaseNodeTree::GetFullyVisible(PTreeNode node) const
{
    TreeAssert(node, "Invalid parameter.");
    return node->Has(vsVisible) && (node == FRoot || GetVisiblePath(node));
}

PTreeNode TBaseNodeTree::GetVisibleParent(PTreeNode node, bool includeFiltered) const
{
    TreeAssert(node, "Node must not be nil.");
    TreeAssert(node != FRoot, "Node must not be the hidden root node.");
    PTreeNode p = ParentOf(node);
    while (p != FRoot && (!GetFullyVisible(p) || (!includeFiltered && IsEffectivelyFiltered(p))))
        p = ParentOf(p);
    return p;
}

// ---- visible family ----

// The visible-family steps share one walker; `init` selects the initialising form.
PTreeNode TBaseNodeTree::VisibleSiblingStep(PTreeNode node, bool forward, bool includeFiltered, bool init)
{
    for (PTreeNode n = forward ? NextOf(node) : PrevOf(node); n; n = forward ? NextOf(n) : PrevOf(n)) {
        if (init)
            EnsureInitialized(n);
        if (n->Has(vsVisible) && (includeFiltered || !IsEffectivelyFiltered(n)))
            return n;
    }
    return nullptr;
}

PTreeNode TBaseNodeTree::NextVisibleWalk(PTreeNode node, bool considerChildrenAbove, bool init)
{
    const bool above = ChildrenAboveOrder(considerChildrenAbove);
    PTreeNode n = node;
    // A node that is not shown continues after its topmost hidden ancestor's subtree.
    PTreeNode hidden = TopmostHidden(n);
    bool skipChildren = hidden != nullptr;
    if (hidden)
        n = hidden;
    // In children-above order a collapsed, visible unit comes right after its hidden children.
    if (hidden && above && hidden != node && hidden->Has(vsVisible) && !IsEffectivelyFiltered(hidden))
        return hidden;
    for (;;) {
        PTreeNode candidate = nullptr;
        if (!above) {
            if (!skipChildren && n->Has(vsExpanded)) {
                if (init)
                    EnsureChildren(n);
                if (PTreeNode first = FirstOf(n)) {
                    if (init)
                        EnsureInitialized(first);
                    candidate = first->Has(vsVisible) ? first : VisibleSiblingStep(first, true, true, init);
                }
            }
            for (PTreeNode x = n; !candidate && x != FRoot; x = ParentOf(x))
                candidate = VisibleSiblingStep(x, true, true, init);
        } else {
            if (PTreeNode s = VisibleSiblingStep(n, true, true, init)) {
                for (;;) {
                    if (!s->Has(vsExpanded))
                        break;
                    if (init)
                        EnsureChildren(s);
                    PTreeNode first = FirstOf(s);
                    if (first && init)
                        EnsureInitialized(first);
                    PTreeNode c = first && first->Has(vsVisible) ? first : (first ? VisibleSiblingStep(first, true, true, init) : nullptr);
                    if (!c)
                        break;
                    s = c;
                }
                candidate = s;
            } else {
                PTreeNode parent = ParentOf(n);
                candidate = parent == FRoot ? nullptr : parent;
            }
        }
        if (!candidate || !IsEffectivelyFiltered(candidate))
            return candidate;
        n = candidate;
        skipChildren = false;
    }
}

PTreeNode TBaseNodeTree::GetNextVisibleNoInit(PTreeNode node, bool considerChildrenAbove) const
{
    if (!node)
        return nullptr;
    TreeAssert(node != FRoot, "Node must not be the hidden root node.");
    return const_cast<TBaseNodeTree*>(this)->NextVisibleWalk(node, considerChildrenAbove, false);
}

PTreeNode TBaseNodeTree::GetNextVisible(PTreeNode node, bool considerChildrenAbove)
{
    if (!node)
        return nullptr;
    TreeAssert(node != FRoot, "Node must not be the hidden root node.");
    return NextVisibleWalk(node, considerChildrenAbove, true);
}

PTreeNode TBaseNodeTree::PreviousVisibleWalk(PTreeNode node, bool considerChildrenAbove, bool init)
{
    const bool above = ChildrenAboveOrder(considerChildrenAbove);
    PTreeNode n = node;
    PTreeNode hidden = TopmostHidden(n);
    bool skipChildren = hidden != nullptr;
    if (hidden)
        n = hidden;
    // In display order a collapsed, visible unit comes right before its hidden children.
    if (hidden && !above && hidden != node && hidden->Has(vsVisible) && !IsEffectivelyFiltered(hidden))
        return hidden;
    for (;;) {
        PTreeNode candidate = nullptr;
        if (!above) {
            if (PTreeNode prev = VisibleSiblingStep(n, false, true, init)) {
                PTreeNode last = init ? GetLastVisible(prev, considerChildrenAbove, true)
                                      : GetLastVisibleNoInit(prev, considerChildrenAbove, true);
                candidate = last ? last : prev;
            } else {
                PTreeNode parent = ParentOf(n);
                candidate = parent == FRoot ? nullptr : parent;
            }
        } else {
            if (!skipChildren && n->Has(vsExpanded)) {
                if (init)
                    EnsureChildren(n);
                if (PTreeNode last = LastOf(n)) {
                    if (init)
                        EnsureInitialized(last);
                    candidate = last->Has(vsVisible) ? last : VisibleSiblingStep(last, false, true, init);
                }
            }
            for (PTreeNode x = n; !candidate && x != FRoot; x = ParentOf(x))
                candidate = VisibleSiblingStep(x, false, true, init);
        }
        if (!candidate || !IsEffectivelyFiltered(candidate))
            return candidate;
        n = candidate;
        skipChildren = false;
    }
}

PTreeNode TBaseNodeTree::GetPreviousVisibleNoInit(PTreeNode node, bool considerChildrenAbove) const
{
    if (!node)
        return nullptr;
    TreeAssert(node != FRoot, "Node must not be the hidden root node.");
    return const_cast<TBaseNodeTree*>(this)->PreviousVisibleWalk(node, considerChildrenAbove, false);
}

PTreeNode TBaseNodeTree::GetPreviousVisible(PTreeNode node, bool considerChildrenAbove)
{
    if (!node)
        return nullptr;
    TreeAssert(node != FRoot, "Node must not be the hidden root node.");
    return PreviousVisibleWalk(node, considerChildrenAbove, true);
}

PTreeNode TBaseNodeTree::FirstVisibleWalk(PTreeNode node, bool considerChildrenAbove, bool includeFiltered, bool init)
{
    PTreeNode start = node ? node : FRoot;
    if (!start->Has(vsHasChildren) && !FirstOf(start))
        return nullptr;
    if (init)
        EnsureChildren(start);
    PTreeNode first = FirstOf(start);
    if (!first)
        return nullptr;
    if (init)
        EnsureInitialized(first);
    PTreeNode result = nullptr;
    if (!ChildrenAboveOrder(considerChildrenAbove)) {
        result = first->Has(vsVisible) ? first : nullptr;
        for (PTreeNode x = first; !result && x != FRoot; x = ParentOf(x))
            result = VisibleSiblingStep(x, true, true, init);
    } else {
        PTreeNode n = first;
        for (;;) {
            if (!n->Has(vsVisible)) {
                PTreeNode s = VisibleSiblingStep(n, true, true, init);
                if (!s) {
                    PTreeNode parent = ParentOf(n);
                    result = parent == FRoot ? nullptr : parent;
                    break;
                }
                n = s;
            }
            if (n->Has(vsExpanded)) {
                if (init)
                    EnsureChildren(n);
                if (PTreeNode c = FirstOf(n)) {
                    if (init)
                        EnsureInitialized(c);
                    n = c;
                    continue;
                }
            }
            result = n;
            break;
        }
    }
    if (result && !includeFiltered && IsEffectivelyFiltered(result))
        result = NextVisibleWalk(result, considerChildrenAbove, init);
    return result;
}

PTreeNode TBaseNodeTree::GetFirstVisibleNoInit(PTreeNode node, bool considerChildrenAbove, bool includeFiltered) const
{
    return const_cast<TBaseNodeTree*>(this)->FirstVisibleWalk(node, considerChildrenAbove, includeFiltered, false);
}

PTreeNode TBaseNodeTree::GetFirstVisible(PTreeNode node, bool considerChildrenAbove, bool includeFiltered)
{
    return FirstVisibleWalk(node, considerChildrenAbove, includeFiltered, true);
}

PTreeNode TBaseNodeTree::GetLastVisibleNoInit(PTreeNode node, bool considerChildrenAbove, bool includeFiltered) const
{
    PTreeNode start = node ? node : FRoot;
    PTreeNode result = GetLastNoInit(start, considerChildrenAbove);
    while (result && (!GetFullyVisible(result) || (!includeFiltered && IsEffectivelyFiltered(result)))) {
        result = GetPreviousNoInit(result, considerChildrenAbove);
        if (result == start)
            return nullptr;
    }
    return result;
}

PTreeNode TBaseNodeTree::GetLastVisible(PTreeNode node, bool considerChildrenAbove, bool includeFiltered)
{
    PTreeNode result = GetLastVisibleNoInit(node, considerChildrenAbove, includeFiltered);
    PTreeNode stop = node ? node : FRoot;
    for (PTreeNode n = result; n && n != stop && n != FRoot; n = ParentOf(n))
        EnsureInitialized(n);
    return result;
}

PTreeNode TBaseNodeTree::GetFirstVisibleChildNoInit(PTreeNode node, bool includeFiltered) const
{
    PTreeNode c = FirstOf(node ? node : FRoot);
    if (c && (!c->Has(vsVisible) || (!includeFiltered && IsEffectivelyFiltered(c))))
        c = GetNextVisibleSiblingNoInit(c, includeFiltered);
    return c;
}

PTreeNode TBaseNodeTree::GetFirstVisibleChild(PTreeNode node, bool includeFiltered)
{
    PTreeNode c = GetFirstChild(node);
    if (c && (!c->Has(vsVisible) || (!includeFiltered && IsEffectivelyFiltered(c))))
        c = GetNextVisibleSibling(c, includeFiltered);
    return c;
}

PTreeNode TBaseNodeTree::GetLastVisibleChildNoInit(PTreeNode node, bool includeFiltered) const
{
    if (node && node != FRoot && !(GetFullyVisible(node) && node->Has(vsExpanded)))
        return nullptr;
    PTreeNode c = LastOf(node ? node : FRoot);
    if (c && (!c->Has(vsVisible) || (!includeFiltered && IsEffectivelyFiltered(c))))
        c = GetPreviousVisibleSiblingNoInit(c, includeFiltered);
    return c;
}

PTreeNode TBaseNodeTree::GetLastVisibleChild(PTreeNode node, bool includeFiltered)
{
    if (node && node != FRoot && !(GetFullyVisible(node) && node->Has(vsExpanded)))
        return nullptr;
    PTreeNode c = GetLastChild(node);
    if (c && (!c->Has(vsVisible) || (!includeFiltered && IsEffectivelyFiltered(c))))
        c = GetPreviousVisibleSibling(c, includeFiltered);
    return c;
}

PTreeNode TBaseNodeTree::GetNextVisibleSiblingNoInit(PTreeNode node, bool includeFiltered) const
{
    TreeAssert(node && node != FRoot, "Invalid parameter.");
    return const_cast<TBaseNodeTree*>(this)->VisibleSiblingStep(node, true, includeFiltered, false);
}

PTreeNode TBaseNodeTree::GetPreviousVisibleSiblingNoInit(PTreeNode node, bool includeFiltered) const
{
    TreeAssert(node && node != FRoot, "Invalid parameter.");
    return const_cast<TBaseNodeTree*>(this)->VisibleSiblingStep(node, false, includeFiltered, false);
}

PTreeNode TBaseNodeTree::GetNextVisibleSibling(PTreeNode node, bool includeFiltered)
{
    TreeAssert(node && node != FRoot, "Invalid parameter.");
    return VisibleSiblingStep(node, true, includeFiltered, true);
}

PTreeNode TBaseNodeTree::GetPreviousVisibleSibling(PTreeNode node, bool includeFiltered)
{
    TreeAssert(node && node != FRoot, "Invalid parameter.");
    return VisibleSiblingStep(node, false, includeFiltered, true);
}

// ---- families found by the NoInit walk ----

PTreeNode TBaseNodeTree::GetFirstInitialized(bool considerChildrenAbove) const
{
    PTreeNode n = GetFirstNoInit(considerChildrenAbove);
    return n && !n->Has(vsInitialized) ? GetNextInitialized(n, considerChildrenAbove) : n;
}

PTreeNode TBaseNodeTree::GetNextInitialized(PTreeNode node, bool considerChildrenAbove) const
{
    do
        node = GetNextNoInit(node, considerChildrenAbove);
    while (node && !node->Has(vsInitialized));
    return node;
}

PTreeNode TBaseNodeTree::GetPreviousInitialized(PTreeNode node, bool considerChildrenAbove) const
{
    do
        node = GetPreviousNoInit(node, considerChildrenAbove);
    while (node && !node->Has(vsInitialized));
    return node;
}

PTreeNode TBaseNodeTree::GetLastInitialized(PTreeNode node, bool considerChildrenAbove) const
{
    PTreeNode n = GetLastNoInit(node, considerChildrenAbove);
    return n && !n->Has(vsInitialized) ? GetPreviousInitialized(n, considerChildrenAbove) : n;
}

PTreeNode TBaseNodeTree::FindNoInit(PTreeNode from, bool forward, bool considerChildrenAbove,
                                    const std::function<bool(PTreeNode)>& match)
{
    PTreeNode n;
    if (!from || from == FRoot)
        n = forward ? GetFirstNoInit(considerChildrenAbove) : GetLastNoInit(nullptr, considerChildrenAbove);
    else
        n = forward ? GetNextNoInit(from, considerChildrenAbove) : GetPreviousNoInit(from, considerChildrenAbove);
    while (n && !match(n))
        n = forward ? GetNextNoInit(n, considerChildrenAbove) : GetPreviousNoInit(n, considerChildrenAbove);
    EnsureInitialized(n);
    return n;
}

PTreeNode TBaseNodeTree::GetFirstChecked(TCheckState state, bool considerChildrenAbove)
{
    return GetNextChecked(nullptr, state, considerChildrenAbove);
}

PTreeNode TBaseNodeTree::GetNextChecked(PTreeNode node, TCheckState state, bool considerChildrenAbove)
{
    return FindNoInit(node, true, considerChildrenAbove, [state](PTreeNode n) { return n->CheckState() == state; });
}

PTreeNode TBaseNodeTree::GetPreviousChecked(PTreeNode node, TCheckState state, bool considerChildrenAbove)
{
    return FindNoInit(node, false, considerChildrenAbove, [state](PTreeNode n) { return n->CheckState() == state; });
}

uint32_t TBaseNodeTree::CheckedCount()
{
    uint32_t count = 0;
    for (PTreeNode n = GetFirstChecked(); n; n = GetNextChecked(n))
        ++count;
    return count;
}

uint32_t TBaseNodeTree::CutCopyCount()
{
    uint32_t count = 0;
    for (PTreeNode n = GetFirstCutCopy(); n; n = GetNextCutCopy(n))
        ++count;
    return count;
}

PTreeNode TBaseNodeTree::GetFirstCutCopy(bool considerChildrenAbove) { return GetNextCutCopy(nullptr, considerChildrenAbove); }

PTreeNode TBaseNodeTree::GetNextCutCopy(PTreeNode node, bool considerChildrenAbove)
{
    if (!HasState(tsCopyPending) && !HasState(tsCutPending))
        return nullptr;
    return FindNoInit(node, true, considerChildrenAbove, [](PTreeNode n) { return n->Has(vsCutOrCopy); });
}

PTreeNode TBaseNodeTree::GetPreviousCutCopy(PTreeNode node, bool considerChildrenAbove)
{
    if (!HasState(tsCopyPending) && !HasState(tsCutPending))
        return nullptr;
    return FindNoInit(node, false, considerChildrenAbove, [](PTreeNode n) { return n->Has(vsCutOrCopy); });
}

PTreeNode TBaseNodeTree::GetFirstSelected(bool considerChildrenAbove) { return GetNextSelected(nullptr, considerChildrenAbove); }

PTreeNode TBaseNodeTree::GetNextSelected(PTreeNode node, bool considerChildrenAbove)
{
    if (FSelection.empty())
        return nullptr;
    return FindNoInit(node, true, considerChildrenAbove, [](PTreeNode n) { return n->Has(vsSelected); });
}

PTreeNode TBaseNodeTree::GetPreviousSelected(PTreeNode node, bool considerChildrenAbove)
{
    if (FSelection.empty())
        return nullptr;
    return FindNoInit(node, false, considerChildrenAbove, [](PTreeNode n) { return n->Has(vsSelected); });
}

// ---- leaves and levels ----

PTreeNode TBaseNodeTree::GetFirstLeaf() { return GetNextLeaf(nullptr); }

PTreeNode TBaseNodeTree::GetNextLeaf(PTreeNode node)
{
    PTreeNode n = !node || node == FRoot ? GetFirst() : GetNext(node);
    while (n && n->Has(vsHasChildren))
        n = GetNext(n);
    return n;
}

PTreeNode TBaseNodeTree::GetPreviousLeaf(PTreeNode node)
{
    PTreeNode n = !node || node == FRoot ? GetLast() : GetPrevious(node);
    while (n && n->Has(vsHasChildren))
        n = GetPrevious(n);
    return n;
}

PTreeNode TBaseNodeTree::GetFirstLevel(uint32_t level)
{
    PTreeNode n = GetFirstNoInit();
    while (n && GetNodeLevel(n) != level)
        n = GetNextNoInit(n);
    EnsureInitialized(n);
    return n;
}

PTreeNode TBaseNodeTree::AncestorAtLevel(PTreeNode node, uint32_t level) const
{
    for (uint32_t l = GetNodeLevel(node); l > level; --l)
        node = ParentOf(node);
    return node;
}

PTreeNode TBaseNodeTree::GetNextLevel(PTreeNode node, uint32_t level)
{
    PTreeNode n = node;
    while (n) {
        const uint32_t l = GetNodeLevel(n);
        if (l >= level) {
            // After a node on the level (or inside one) comes the next sibling on the level, or a
            // node above the level from which the search goes on.
            n = AncestorAtLevel(n, level);
            if (PTreeNode s = GetNextSibling(n))
                return s;
            PTreeNode a = ParentOf(n);
            while (a != FRoot && !NextOf(a))
                a = ParentOf(a);
            if (a == FRoot)
                return nullptr;
            n = GetNextSibling(a);
        } else {
            n = GetNext(n);
            if (n && GetNodeLevel(n) == level)
                return n;
        }
    }
    return nullptr;
}

PTreeNode TBaseNodeTree::GetPreviousLevel(PTreeNode node, uint32_t level)
{
    for (PTreeNode n = GetPrevious(node); n; n = GetPrevious(n)) {
        const uint32_t l = GetNodeLevel(n);
        if (l == level)
            return n;
        if (l > level) {
            PTreeNode a = AncestorAtLevel(n, level);
            EnsureInitialized(a);
            return a;
        }
    }
    return nullptr;
}

// ---- positions ----

PTreeNode TBaseNodeTree::DescendTo(int64_t target, uint32_t& top, bool& gaveUp) const
{
    // The subtree heights place every node: descend level by level, scanning each sibling list
    // from the end nearer to the row. In children-above order a node's row follows its children.
    const bool above = ChildrenAboveOrder(true);
    gaveUp = false;
    PTreeNode parent = FRoot;
    int64_t base = 0;
    int64_t block = int64_t(FRoot->TotalHeight) - FRoot->NodeHeight;
    uint32_t steps = 0;
    while (target >= base && target < base + block) {
        PTreeNode found = nullptr;
        int64_t t = 0;
        if (target - base < base + block - target) {
            t = base;
            for (PTreeNode c = FirstOf(parent); c; c = NextOf(c)) {
                if (!c->Has(vsVisible))
                    continue;
                if (target < t + c->TotalHeight) {
                    found = c;
                    break;
                }
                t += c->TotalHeight;
                if (++steps > 2 * CacheThreshold && HasState(tsUseCache))
                    return gaveUp = true, nullptr;
            }
        } else {
            t = base + block;
            for (PTreeNode c = LastOf(parent); c; c = PrevOf(c)) {
                if (!c->Has(vsVisible))
                    continue;
                t -= c->TotalHeight;
                if (target >= t) {
                    found = c;
                    break;
                }
                if (++steps > 2 * CacheThreshold && HasState(tsUseCache))
                    return gaveUp = true, nullptr;
            }
        }
        if (!found)
            return nullptr;
        const int64_t own = IsEffectivelyFiltered(found) ? 0 : found->NodeHeight;
        const int64_t ownTop = above ? t + found->TotalHeight - own : t;
        if (target >= ownTop && target < ownTop + own) {
            top = uint32_t(ownTop);
            return found;
        }
        parent = found;
        base = above ? t : t + own;
        block = int64_t(found->TotalHeight) - own;
    }
    return nullptr;
}

PTreeNode TBaseNodeTree::GetNodeAt(int, int y, bool relative, int* nodeTop)
{
    if (y < 0)
        y = 0;
    int64_t target = y;
    if (relative)
        target -= FOffsetY;
    uint32_t top = 0;
    bool gaveUp = false;
    PTreeNode node = DescendTo(target, top, gaveUp);
    if (gaveUp) {
        // A very long sibling list: the position cache bounds the walk instead.
        node = NearestCacheEntryForPosition(uint32_t(std::min<int64_t>(target, UINT32_MAX)), top);
        if (!node) {
            node = GetFirstVisibleNoInit(nullptr, true);
            top = 0;
        }
        while (node) {
            const uint32_t height = IsEffectivelyFiltered(node) ? 0 : node->NodeHeight;
            if (target < int64_t(top) + height)
                break;
            top += height;
            node = GetNextVisibleNoInit(node, true);
        }
    }
    if (node && nodeTop)
        *nodeTop = int(top) + (relative ? FOffsetY : 0);
    return node;
}

PTreeNode TBaseNodeTree::BottomNode() { return GetNodeAt(0, std::max(0, ClientHeight() - 1)); }

// ---- snapshots and iteration ----

TNodeArray TBaseNodeTree::GetSortedSelection(bool resolve) const
{
    TNodeArray result;
    if (FSelection.empty())
        return result;
    result.reserve(FSelection.size());
    PTreeNode n = FirstOf(FRoot);
    while (n) {
        if (n->Has(vsSelected)) {
            result.push_back(n);
            if (resolve) {
                PTreeNode next = nullptr;
                for (PTreeNode x = n; x != FRoot && !next; x = ParentOf(x))
                    next = NextOf(x);
                n = next;
                continue;
            }
        }
        n = GetNextNoInit(n);
    }
    return result;
}

TNodeArray TBaseNodeTree::GetSortedCutCopySet(bool resolve) const
{
    TNodeArray result;
    PTreeNode n = FirstOf(FRoot);
    while (n) {
        if (n->Has(vsCutOrCopy)) {
            if (result.size() == result.capacity())
                result.reserve(result.empty() ? 100 : result.size() + result.size() / 10);
            result.push_back(n);
            if (resolve) {
                PTreeNode next = nullptr;
                for (PTreeNode x = n; x != FRoot && !next; x = ParentOf(x))
                    next = NextOf(x);
                n = next;
                continue;
            }
        }
        n = GetNextNoInit(n);
    }
    result.shrink_to_fit();
    return result;
}

PTreeNode TBaseNodeTree::IterateSubtree(PTreeNode node, const TTVGetNodeProc& callback, void* data,
                                        TTreeNodeStates filter, bool doInit, bool childNodesOnly)
{
    TreeAssert(node != FRoot, "Node must not be the hidden root node.");
    const bool wasIterating = HasState(tsIterating);
    DoStateChange(TS(tsIterating));
    PTreeNode result = nullptr;
    try {
        PTreeNode stop = nullptr;
        PTreeNode walk = node;
        if (node) {
            if (doInit)
                EnsureInitialized(node);
            for (PTreeNode x = node; x != FRoot && !stop; x = ParentOf(x))
                stop = NextOf(x);
        } else
            walk = GetFirstNoInit();
        if (walk && doInit)
            EnsureInitialized(walk);
        bool run = walk != nullptr;
        if (run && childNodesOnly) {
            if (doInit)
                EnsureChildren(walk);
            if (!FirstOf(walk))
                run = false;
            else
                walk = doInit ? GetNext(walk) : GetNextNoInit(walk);
        }
        while (run && walk && walk != stop) {
            bool abort = false;
            if (!filter || (walk->States() & filter) == filter)
                callback(this, walk, data, abort);
            if (abort) {
                result = walk;
                break;
            }
            walk = doInit ? GetNext(walk) : GetNextNoInit(walk);
        }
    } catch (...) {
        if (!wasIterating)
            DoStateChange(0, TS(tsIterating));
        throw;
    }
    if (!wasIterating)
        DoStateChange(0, TS(tsIterating));
    return result;
}

// ---- enumerations ----

namespace {
TTVTreeNodeEnumeration MakeEnumeration(TBaseNodeTree* tree, TVZTreeNodeEnumerationMode mode)
{
    TTVTreeNodeEnumeration e;
    e.FTree = tree;
    e.FMode = mode;
    return e;
}
}  // namespace

TTVTreeNodeEnumeration TBaseNodeTree::Nodes(bool considerChildrenAbove)
{
    auto e = MakeEnumeration(this, vneAll);
    e.FConsiderChildrenAbove = considerChildrenAbove;
    return e;
}

TTVTreeNodeEnumeration TBaseNodeTree::CheckedNodes(TCheckState state, bool considerChildrenAbove)
{
    auto e = MakeEnumeration(this, vneChecked);
    e.FState = state;
    e.FConsiderChildrenAbove = considerChildrenAbove;
    return e;
}

TTVTreeNodeEnumeration TBaseNodeTree::ChildNodes(PTreeNode node)
{
    auto e = MakeEnumeration(this, vneChild);
    e.FNode = node;
    return e;
}

TTVTreeNodeEnumeration TBaseNodeTree::CutCopyNodes(bool considerChildrenAbove)
{
    auto e = MakeEnumeration(this, vneCutCopy);
    e.FConsiderChildrenAbove = considerChildrenAbove;
    return e;
}

TTVTreeNodeEnumeration TBaseNodeTree::InitializedNodes(bool considerChildrenAbove)
{
    auto e = MakeEnumeration(this, vneInitialized);
    e.FConsiderChildrenAbove = considerChildrenAbove;
    return e;
}

TTVTreeNodeEnumeration TBaseNodeTree::LeafNodes() { return MakeEnumeration(this, vneLeaf); }

TTVTreeNodeEnumeration TBaseNodeTree::LevelNodes(uint32_t level)
{
    auto e = MakeEnumeration(this, vneLevel);
    e.FNodeLevel = level;
    return e;
}

TTVTreeNodeEnumeration TBaseNodeTree::NoInitNodes(bool considerChildrenAbove)
{
    auto e = MakeEnumeration(this, vneNoInit);
    e.FConsiderChildrenAbove = considerChildrenAbove;
    return e;
}

TTVTreeNodeEnumeration TBaseNodeTree::SelectedNodes(bool considerChildrenAbove)
{
    auto e = MakeEnumeration(this, vneSelected);
    e.FConsiderChildrenAbove = considerChildrenAbove;
    return e;
}

TTVTreeNodeEnumeration TBaseNodeTree::VisibleNodes(PTreeNode node, bool considerChildrenAbove, bool includeFiltered)
{
    auto e = MakeEnumeration(this, vneVisible);
    e.FNode = node;
    e.FConsiderChildrenAbove = considerChildrenAbove;
    e.FIncludeFiltered = includeFiltered;
    return e;
}

TTVTreeNodeEnumeration TBaseNodeTree::VisibleChildNodes(PTreeNode node, bool includeFiltered)
{
    auto e = MakeEnumeration(this, vneVisibleChild);
    e.FNode = node;
    e.FIncludeFiltered = includeFiltered;
    return e;
}

TTVTreeNodeEnumeration TBaseNodeTree::VisibleChildNoInitNodes(PTreeNode node, bool includeFiltered)
{
    auto e = MakeEnumeration(this, vneVisibleNoInitChild);
    e.FNode = node;
    e.FIncludeFiltered = includeFiltered;
    return e;
}

TTVTreeNodeEnumeration TBaseNodeTree::VisibleNoInitNodes(PTreeNode node, bool considerChildrenAbove, bool includeFiltered)
{
    auto e = MakeEnumeration(this, vneVisibleNoInit);
    e.FNode = node;
    e.FConsiderChildrenAbove = considerChildrenAbove;
    e.FIncludeFiltered = includeFiltered;
    return e;
}

PTreeNode TTVTreeNodeEnumeration::Step(PTreeNode current) const
{
    TBaseNodeTree& t = *FTree;
    const bool above = FConsiderChildrenAbove;
    switch (FMode) {
    case vneAll: return current ? t.GetNext(current, above) : t.GetFirst(above);
    case vneChecked: return current ? t.GetNextChecked(current, FState, above) : t.GetFirstChecked(FState, above);
    case vneChild: return current ? t.GetNextSibling(current) : t.GetFirstChild(FNode);
    case vneCutCopy: return current ? t.GetNextCutCopy(current, above) : t.GetFirstCutCopy(above);
    case vneInitialized: return current ? t.GetNextInitialized(current, above) : t.GetFirstInitialized(above);
    case vneLeaf: return current ? t.GetNextLeaf(current) : t.GetFirstLeaf();
    case vneLevel: return current ? t.GetNextLevel(current, FNodeLevel) : t.GetFirstLevel(FNodeLevel);
    case vneNoInit: return current ? t.GetNextNoInit(current, above) : t.GetFirstNoInit(above);
    case vneSelected: return current ? t.GetNextSelected(current, above) : t.GetFirstSelected(above);
    case vneVisible:
    case vneVisibleNoInit: {
        const bool init = FMode == vneVisible;
        PTreeNode n = current;
        if (!n) {
            n = init ? t.GetFirstVisible(FNode, above, FIncludeFiltered) : t.GetFirstVisibleNoInit(FNode, above, FIncludeFiltered);
            if (!n || FIncludeFiltered || !t.IsEffectivelyFiltered(n))
                return n;
        }
        do
            n = init ? t.GetNextVisible(n, init ? true : above) : t.GetNextVisibleNoInit(n, above);
        while (n && !FIncludeFiltered && t.IsEffectivelyFiltered(n));
        return n;
    }
    case vneVisibleChild:
        return current ? t.GetNextVisibleSibling(current, FIncludeFiltered) : t.GetFirstVisibleChild(FNode, FIncludeFiltered);
    case vneVisibleNoInitChild:
        return current ? t.GetNextVisibleSiblingNoInit(current, FIncludeFiltered)
                       : t.GetFirstVisibleChildNoInit(FNode, FIncludeFiltered);
    }
    return nullptr;
}

TTVTreeNodeEnumeration::Iterator TTVTreeNodeEnumeration::begin() const { return Iterator(this, Step(nullptr)); }

TTVTreeNodeEnumeration::Iterator& TTVTreeNodeEnumeration::Iterator::operator++()
{
    FNode = FEnum->Step(FNode);
    return *this;
}

}  // namespace tree
