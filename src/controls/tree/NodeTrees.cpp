#include "controls/tree/NodeTrees.h"
#include "controls/tree/TreeScrollBars.h"

#include "controls/tree/WorkerThread.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <cstring>
#include <mutex>

namespace tree {

void RaiseTreeError(const QString& message, int helpContext) { throw ENodeTreeError(message, helpContext); }
void RaiseAssertion(const QString& message) { throw EAssertionFailed(message); }

QString TreeErrors::Message(int code)
{
    switch (code) {
    case MoveIntoOwnSubtree: return QStringLiteral("Target node cannot be a child node of the node to be moved.");
    case WrongFormat: return QStringLiteral("Unable to load tree structure, the format is wrong.");
    case UnknownVersion: return QStringLiteral("Unable to load tree structure, the version is unknown.");
    case NotEnoughData: return QStringLiteral("Unable to load tree structure, not enough data available.");
    case AnchorMissing: return QStringLiteral("Stream data corrupt. A node's anchor chunk is missing.");
    case UnexpectedData: return QStringLiteral("Stream data corrupt. Unexpected data after node's end position.");
    case ClipboardFailed: return QStringLiteral("Clipboard operation failed.");
    }
    return QString();
}

namespace {
constexpr uint8_t DefaultAlign = 50;
constexpr TTreeNodeStates RootStates = vsInitialized | vsExpanded | vsHasChildren | vsVisible;
// Every tree alive in the process; trees live on the GUI thread, the lock covers stray readers.
std::mutex LiveTreesLock;
std::vector<TBaseNodeTree*>& LiveTrees()
{
    static std::vector<TBaseNodeTree*> trees;
    return trees;
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// Construction and destruction

TBaseNodeTree::TBaseNodeTree(QWidget* parent, const TTreeClass& treeClass)
    : TCustomControl(parent), FTreeClass(&treeClass), FColors(this), FClipboardFormats(treeClass)
{
    StartTreeModule();
    // Under a custom style the string and draw trees get styled scroll bars once shown.
    StyleHooksControlCreated(this);
    FCheckImages = GetCheckImageListFor(FCheckImageKind);
    FOptions = std::make_unique<TCustomNodeTreeOptions>(this);
    // The control is alive from here on, as a created window would be: it paints themed.
    if (FOptions->PaintOptions() & toThemeAware)
        EnterStates(TS(tsUseThemes));
    FClipboardFormats.Assign(TClipboardFormatList::EnumerateFormatNames(treeClass));
    resize(200, 100);
    // The tree paints every pixel of its client area, so scrolling can move what is drawn.
    SetColor(clWindow);
    SetOpaque(true);
    SetTabStop(true);
    // Drops are offered always; toAcceptOLEDrop decides at each drag whether one is taken.
    viewport()->setAcceptDrops(true);
    platform::TCustomControl::SetScrollBars(platform::ssBoth);
    AcquireWorker();
    FHoldsWorker = true;
    AllocateRootNode();
    SetFrameWidths(FrameMargins());
    std::lock_guard lock(LiveTreesLock);
    LiveTrees().push_back(this);
}

TBaseNodeTree::~TBaseNodeTree()
{
    {
        std::lock_guard lock(LiveTreesLock);
        std::erase(LiveTrees(), this);
    }
    FDestroying = true;
    StopCacheValidation();
    FOptions->FMiscOptions &= ~toReadOnly;
    if (FHoldsWorker)
        ReleaseWorker(this);
    FHoldsWorker = false;
    FChangeTimer.Stop();
    FStructureChangeTimer.Stop();
    // The panning window goes while the tree is still whole.
    FPanningWindow.reset();
    if (HasState(tsEditing))
        DoCancelEdit();
    Clear();
}

void TBaseNodeTree::AllocateRootNode()
{
    const size_t bytes = sizeof(TTreeNode) + FTotalInternalDataSize;
    auto block = std::make_unique<std::byte[]>(bytes);
    std::memset(block.get(), 0, bytes);
    auto* root = reinterpret_cast<PTreeNode>(block.get());
    if (FRoot)
        std::memcpy(static_cast<void*>(root), FRoot, sizeof(TTreeNode));
    else {
        root->TotalCount = 1;
        root->NodeHeight = uint16_t(FDefaultNodeHeight);
        root->TotalHeight = FDefaultNodeHeight;
        root->Bits = RootStates | (uint32_t(DefaultAlign) << 24);
    }
    root->SelfId = TNodePool::RootId;
    root->ParentId = root->PrevId = root->NextId = 0;
    FRootBlock = std::move(block);
    FRoot = root;
    FPool.FRoot = root;
}

bool TBaseNodeTree::EnsureNodeDataSize()
{
    if (FNodeDataSize == -1) {
        int size = int(sizeof(void*));
        ValidateNodeDataSize(size);
        FNodeDataSize = std::max(size, -1);
    }
    const size_t want = UserDataSpan() + FTotalInternalDataSize;
    if (FPool.DataBytes() != ((want + 7) & ~size_t(7))) {
        TreeAssert(FPool.LiveCount() == 0, "The node data size cannot change while nodes exist.");
        FPool.Reset(want);
        return true;
    }
    return false;
}

uint32_t TBaseNodeTree::AllocateInternalDataArea(uint32_t size)
{
    TreeAssert(!FirstOf(FRoot) && FPool.LiveCount() == 0, "Internal data allocation must be done before any node is created.");
    const uint32_t offset = uint32_t(sizeof(TTreeNode)) + FTotalInternalDataSize;
    FTotalInternalDataSize += (size + 3) & ~3u;
    AllocateRootNode();
    if (FNodeDataSize != -1)
        EnsureNodeDataSize();
    return offset;
}

uint8_t* TBaseNodeTree::InternalData(PTreeNode node, uint32_t offset) const
{
    // The root carries no user data; on other nodes the internal areas follow the caller's bytes.
    const size_t userData = node == FRoot ? 0 : UserDataSpan();
    return reinterpret_cast<uint8_t*>(node) + userData + offset;
}

PTreeNode TBaseNodeTree::MakeNewNode()
{
    EnsureNodeDataSize();
    PTreeNode node = FPool.Allocate();
    node->TotalCount = 1;
    node->NodeHeight = uint16_t(std::min<uint32_t>(FDefaultNodeHeight, 0xFFFF));
    node->TotalHeight = node->NodeHeight;
    node->Bits = vsVisible | (uint32_t(DefaultAlign) << 24);
    return node;
}

void TBaseNodeTree::CheckMainThread() const
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread())
        RaiseAssertion(QStringLiteral("UI controls like %1 should only be manipulated through the main thread.")
                           .arg(QString::fromLatin1(FTreeClass->Name)));
}

// ---------------------------------------------------------------------------------------------
// Subtree totals

void TBaseNodeTree::ChangeTotalCount(PTreeNode node, int64_t value, bool relative)
{
    if (!relative)
        value -= node->TotalCount;
    if (value == 0)
        return;
    for (PTreeNode n = node; n; n = ParentOf(n))
        n->TotalCount = uint32_t(int64_t(n->TotalCount) + value);
}

void TBaseNodeTree::ChangeTotalHeight(PTreeNode node, int64_t value, bool relative)
{
    if (!relative)
        value -= node->TotalHeight;
    if (value == 0)
        return;
    for (PTreeNode n = node;;) {
        n->TotalHeight = uint32_t(int64_t(n->TotalHeight) + value);
        PTreeNode parent = ParentOf(n);
        if (!n->Has(vsVisible) || n == FRoot || !parent || !parent->Has(vsExpanded))
            break;
        n = parent;
    }
}

void TBaseNodeTree::RebuildTotalCount(PTreeNode node)
{
    node->TotalCount = 1;
    for (PTreeNode c = FirstOf(node); c; c = NextOf(c)) {
        RebuildTotalCount(c);
        node->TotalCount += c->TotalCount;
    }
}

void TBaseNodeTree::RebuildTotalHeight(PTreeNode node)
{
    node->TotalHeight = node == FRoot ? FRoot->NodeHeight : (IsEffectivelyFiltered(node) ? 0 : node->NodeHeight);
    for (PTreeNode c = FirstOf(node); c; c = NextOf(c)) {
        RebuildTotalHeight(c);
        if (node->Has(vsExpanded) && c->Has(vsVisible))
            node->TotalHeight += c->TotalHeight;
    }
}

uint32_t TBaseNodeTree::CountVisibleChildren(PTreeNode node) const
{
    if (!node->Has(vsExpanded))
        return 0;
    uint32_t count = 0;
    for (PTreeNode c = FirstOf(node); c; c = NextOf(c))
        if (c->Has(vsVisible))
            count += CountVisibleChildren(c) + (IsEffectivelyFiltered(c) ? 0 : 1);
    return count;
}

bool TBaseNodeTree::ChildrenShown(PTreeNode parent) const
{
    return parent == FRoot || (parent->Has(vsExpanded) && GetFullyVisible(parent));
}

void TBaseNodeTree::SetChildrenHiddenFlag(PTreeNode node, bool hidden)
{
    if (hidden)
        node->Include(vsAllChildrenHidden);
    else
        node->Exclude(vsAllChildrenHidden);
}

void TBaseNodeTree::DetermineHiddenChildrenFlag(PTreeNode node)
{
    if (PTreeNode c = FirstOf(node)) {
        bool hidden = true;
        for (; c && hidden; c = NextOf(c))
            hidden = !IsEffectivelyVisible(c);
        SetChildrenHiddenFlag(node, hidden);
    } else
        SetChildrenHiddenFlag(node, !node->Has(vsHasChildren));
}

void TBaseNodeTree::DetermineHiddenChildrenFlagAllNodes()
{
    for (PTreeNode n = GetFirstNoInit(); n; n = GetNextNoInit(n))
        DetermineHiddenChildrenFlag(n);
}

// ---------------------------------------------------------------------------------------------
// Linking and unlinking

void TBaseNodeTree::InternalConnectNode(PTreeNode node, PTreeNode destination, TTVNodeAttachMode mode)
{
    PTreeNode parent = nullptr;
    switch (mode) {
    case amInsertBefore: {
        parent = ParentOf(destination);
        PTreeNode prev = PrevOf(destination);
        node->ParentId = parent->SelfId;
        node->Index = destination->Index;
        node->NextId = destination->SelfId;
        node->PrevId = destination->PrevId;
        if (prev)
            prev->NextId = node->SelfId;
        else
            parent->FirstChildId = node->SelfId;
        destination->PrevId = node->SelfId;
        for (PTreeNode s = destination; s; s = NextOf(s))
            ++s->Index;
        break;
    }
    case amInsertAfter: {
        parent = ParentOf(destination);
        PTreeNode next = NextOf(destination);
        node->ParentId = parent->SelfId;
        node->Index = destination->Index + 1;
        node->PrevId = destination->SelfId;
        node->NextId = next ? next->SelfId : 0;
        destination->NextId = node->SelfId;
        if (next) {
            next->PrevId = node->SelfId;
            for (PTreeNode s = next; s; s = NextOf(s))
                ++s->Index;
        } else
            FirstOf(parent)->PrevId = node->SelfId;
        break;
    }
    case amAddChildFirst: {
        parent = destination;
        PTreeNode first = FirstOf(parent);
        node->ParentId = parent->SelfId;
        node->Index = 0;
        if (first) {
            node->PrevId = first->PrevId;
            node->NextId = first->SelfId;
            first->PrevId = node->SelfId;
            for (PTreeNode s = first; s; s = NextOf(s))
                ++s->Index;
        } else {
            node->PrevId = node->SelfId;
            node->NextId = 0;
        }
        parent->FirstChildId = node->SelfId;
        break;
    }
    case amAddChildLast: {
        parent = destination;
        PTreeNode first = FirstOf(parent);
        node->ParentId = parent->SelfId;
        node->NextId = 0;
        if (first) {
            PTreeNode last = FPool.Get(first->PrevId);
            node->Index = last->Index + 1;
            node->PrevId = last->SelfId;
            last->NextId = node->SelfId;
            first->PrevId = node->SelfId;
        } else {
            node->Index = 0;
            node->PrevId = node->SelfId;
            parent->FirstChildId = node->SelfId;
        }
        break;
    }
    case amNoWhere:
        break;
    }
    node->Exclude(vsChecking | vsCutOrCopy | vsDeleting);
    if (mode == amNoWhere)
        return;

    parent->Include(vsHasChildren);
    ChangeTotalCount(parent, node->TotalCount, true);
    if (parent->Has(vsExpanded) && node->Has(vsVisible)) {
        ChangeTotalHeight(parent, node->TotalHeight, true);
        if (ChildrenShown(parent))
            FVisibleCount += CountVisibleChildren(node) + (IsEffectivelyVisible(node) ? 1 : 0);
    }
    if (parent != FRoot) {
        if (IsEffectivelyVisible(node))
            parent->Exclude(vsAllChildrenHidden);
        else if (ChildCount(parent) == 1)
            parent->Include(vsAllChildrenHidden);
    }
}

PTreeNode TBaseNodeTree::InternalDisconnectNode(PTreeNode node, bool keepFocus, bool reindex, bool parentClearing)
{
    TreeAssert(node && node != FRoot, "Node must neither be nil nor the root node.");
    if (node == FFocusedNode && !keepFocus) {
        FFocusedNode = nullptr;
        DoFocusChange(FFocusedNode, FFocusedColumn);
    }
    if (node == FRangeAnchor)
        FRangeAnchor = nullptr;

    PTreeNode parent = ParentOf(node);
    if (node->Has(vsDeleting))
        return parent;

    node->Exclude(vsChecking);
    const bool wasShown = node->Has(vsVisible) && ChildrenShown(parent);
    ChangeTotalCount(parent, -int64_t(node->TotalCount), true);
    if (parent->Has(vsExpanded) && node->Has(vsVisible))
        ChangeTotalHeight(parent, -int64_t(node->TotalHeight), true);
    if (wasShown)
        FVisibleCount -= CountVisibleChildren(node) + (IsEffectivelyFiltered(node) ? 0 : 1);

    PTreeNode prev = PrevOf(node);
    PTreeNode next = NextOf(node);
    if (prev)
        prev->NextId = node->NextId;
    else
        parent->FirstChildId = node->NextId;
    if (next) {
        next->PrevId = node->PrevId;
        if (reindex)
            for (uint32_t i = node->Index; next; next = NextOf(next))
                next->Index = i++;
        next = FPool.Get(prev ? prev->NextId : parent->FirstChildId);
    } else if (PTreeNode first = FirstOf(parent))
        first->PrevId = prev->SelfId;
    node->PrevId = node->NextId = 0;

    if (!FirstOf(parent)) {
        parent->Exclude(vsAllChildrenHidden | vsHasChildren);
        if (parent != FRoot && parent->Has(vsExpanded)) {
            parent->Exclude(vsExpanded);
            ChangeTotalHeight(parent, IsEffectivelyFiltered(parent) ? 0 : parent->NodeHeight, false);
        }
    }
    // Decided once the node is out of the chain, so that it no longer counts itself.
    if (parent != FRoot && !parentClearing) {
        if (FUpdateCount > 0)
            EnterStates(TS(tsUpdateHiddenChildrenNeeded));
        else
            DetermineHiddenChildrenFlag(parent);
    }
    return next ? next : parent;
}

// ---------------------------------------------------------------------------------------------
// Creating and deleting nodes

uint32_t TBaseNodeTree::ChildCount(PTreeNode node) const
{
    PTreeNode last = LastOf(node ? node : FRoot);
    return last ? last->Index + 1 : 0;
}

bool TBaseNodeTree::ChildrenInitialized(PTreeNode node) const
{
    node = node ? node : FRoot;
    return !(node->Has(vsHasChildren) && !FirstOf(node));
}

bool TBaseNodeTree::ShouldAutoSort() const
{
    return (FOptions->AutoOptions() & toAutoSort) && FHeader.SortColumn > InvalidColumn && CanCompare();
}

void TBaseNodeTree::SetChildCount(PTreeNode node, uint32_t newChildCount)
{
    if (FOptions->MiscOptions() & toReadOnly)
        return;
    EnsureNodeDataSize();
    node = node ? node : FRoot;
    if (newChildCount == 0) {
        DeleteChildren(node, false);
        return;
    }
    const uint32_t count = ChildCount(node);
    if (newChildCount == count)
        return;
    StopCacheValidation();
    const bool growing = newChildCount > count;
    if (growing) {
        const uint32_t added = newChildCount - count;
        PTreeNode first = FirstOf(node);
        PTreeNode last = first ? FPool.Get(first->PrevId) : nullptr;
        uint32_t index = last ? last->Index + 1 : 0;
        if (!first)
            node->Include(vsHasChildren);
        node->Exclude(vsAllChildrenHidden | vsHeightMeasured);
        if (node->Has(vsExpanded) && GetFullyVisible(node))
            FVisibleCount += added;
        const uint32_t oldHeight = node->TotalHeight;
        uint64_t newHeights = 0;
        for (uint32_t i = 0; i < added; ++i) {
            PTreeNode child = MakeNewNode();
            child->ParentId = node->SelfId;
            child->Index = index++;
            if (last) {
                last->NextId = child->SelfId;
                child->PrevId = last->SelfId;
            } else {
                first = child;
                node->FirstChildId = child->SelfId;
            }
            first->PrevId = child->SelfId;
            last = child;
            newHeights += child->TotalHeight;
        }
        if (node->Has(vsExpanded))
            ChangeTotalHeight(node, int64_t(oldHeight) + int64_t(newHeights), false);
        ChangeTotalCount(node, added, true);
        if (FUpdateCount == 0 && ShouldAutoSort())
            Sort(node, FHeader.SortColumn, FHeader.SortDirection, true);
        MarkCacheStale();
    } else {
        while (ChildCount(node) > newChildCount)
            DeleteNode(LastOf(node));
    }
    if (FUpdateCount == 0)
        StartCacheValidation();
    StructureChange(node == FRoot ? nullptr : node, growing ? crChildAdded : crChildDeleted);
}

void TBaseNodeTree::SetRootNodeCount(uint32_t value)
{
    if (value == RootNodeCount())
        return;
    BeginUpdate();
    try {
        StopCacheValidation();
        SetChildCount(FRoot, value);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

namespace {
// User data is a whole pointer: the data area must hold one.
void CheckUserDataSpace(const TBaseNodeTree& tree)
{
    if (tree.NodeDataSize() < int(sizeof(void*)))
        RaiseAssertion(QStringLiteral("%1: Cannot set initial user data because there is not enough user data space allocated.")
                           .arg(QString::fromLatin1(tree.TreeClass().Name)));
}

void StoreUserPointer(TBaseNodeTree& tree, PTreeNode node, const void* value)
{
    CheckUserDataSpace(tree);
    std::memcpy(node->Data(), &value, sizeof(value));
    node->Include(vsOnFreeNodeCallRequired);
}
}  // namespace

PTreeNode TBaseNodeTree::AddChild(PTreeNode parent, void* userData)
{
    if (FOptions->MiscOptions() & toReadOnly)
        return nullptr;
    if (HasState(tsEditing))
        DoCancelEdit();
    EnsureNodeDataSize();
    parent = parent ? parent : FRoot;
    if (!parent->Has(vsInitialized))
        InitNode(parent);
    ++FUpdateCount;
    try {
        SetChildCount(parent, ChildCount(parent) + 1);
    } catch (...) {
        --FUpdateCount;
        throw;
    }
    --FUpdateCount;
    parent->Exclude(vsAllChildrenHidden);
    PTreeNode result = LastOf(parent);
    if (userData)
        StoreUserPointer(*this, result, userData);
    MarkCacheStale();
    if (FUpdateCount == 0) {
        StartCacheValidation();
        if (HasState(tsStructureChangePending))
            DoStructureChange(parent == FRoot ? nullptr : parent, crChildAdded);
        if (ShouldAutoSort())
            Sort(parent, FHeader.SortColumn, FHeader.SortDirection, true);
    }
    return result;
}

PTreeNode TBaseNodeTree::AddChild(PTreeNode parent, IInterface* userData)
{
    if (userData && NodeDataSize() != -1)
        CheckUserDataSpace(*this);
    PTreeNode node = AddChild(parent, static_cast<void*>(nullptr));
    if (node && userData)
        SetNodeData(node, userData);
    return node;
}

PTreeNode TBaseNodeTree::InsertNode(PTreeNode node, TTVNodeAttachMode mode, void* userData)
{
    if (mode == amNoWhere || (FOptions->MiscOptions() & toReadOnly))
        return nullptr;
    if (HasState(tsEditing))
        DoCancelEdit();
    EnsureNodeDataSize();
    node = node ? node : FRoot;
    if (node == FRoot) {
        if (mode == amInsertBefore)
            mode = amAddChildFirst;
        else if (mode == amInsertAfter)
            mode = amAddChildLast;
    }
    if ((mode == amAddChildFirst || mode == amAddChildLast) && !node->Has(vsInitialized))
        InitNode(node);
    StopCacheValidation();
    PTreeNode result = MakeNewNode();
    InternalConnectNode(result, node, mode);
    if (userData)
        StoreUserPointer(*this, result, userData);
    MarkCacheStale();
    if (FUpdateCount == 0) {
        if (ShouldAutoSort())
            Sort(mode == amInsertBefore || mode == amInsertAfter ? ParentOf(node) : node, FHeader.SortColumn,
                 FHeader.SortDirection, true);
        StartCacheValidation();
    }
    StructureChange(result, crNodeAdded);
    return result;
}

void TBaseNodeTree::DeleteNode(PTreeNode node, bool reindex, bool parentClearing)
{
    if (!node || node == FRoot || (FOptions->MiscOptions() & toReadOnly))
        return;
    TreeAssert(!HasState(tsIterating), "Deleting nodes during tree iteration leads to invalid pointers.");
    PTreeNode parent = ParentOf(node);
    if (!parentClearing)
        StructureChange(parent == FRoot ? nullptr : parent, crChildDeleted);
    if (node->Has(vsSelected)) {
        if (FUpdateCount > 0)
            InternalRemoveFromSelection(node);
        else {
            const bool wasSynch = HasState(tsSynchMode);
            EnterStates(TS(tsSynchMode));
            InternalRemoveFromSelection(node);
            PackSelection();
            Change(node);
            if (!wasSynch)
                LeaveStates(TS(tsSynchMode));
        }
    }
    if (HasState(tsHint))
        LeaveStates(TS(tsHint));
    if (!parentClearing)
        StopCacheValidation();
    DeleteChildren(node, false);
    InternalDisconnectNode(node, false, reindex, parentClearing);
    DoFreeNode(node);
    if (!parentClearing) {
        if (FUpdateCount > 0)
            EnterStates(TS(tsUpdateHiddenChildrenNeeded));
        else
            DetermineHiddenChildrenFlag(parent);
        MarkCacheStale();
        if (FUpdateCount == 0)
            StartCacheValidation();
    }
}

void TBaseNodeTree::DeleteChildren(PTreeNode node, bool resetHasChildren)
{
    if (!node)
        return;
    if (!FirstOf(node) || (FOptions->MiscOptions() & toReadOnly)) {
        if (resetHasChildren)
            node->Exclude(vsHasChildren);
        return;
    }
    TreeAssert(!HasState(tsIterating), "Deleting nodes during tree iteration leads to invalid pointers.");
    ++FUpdateCount;
    try {
        StopCacheValidation();
        const bool shown = node == FRoot || (GetFullyVisible(node) && node->Has(vsExpanded));
        for (PTreeNode child = LastOf(node); child;) {
            PTreeNode prev = PrevOf(child);
            if (shown && IsEffectivelyVisible(child))
                --FVisibleCount;
            child->Include(vsDeleting);
            if (prev)
                prev->NextId = 0;
            DeleteNode(child, false, true);
            child = prev;
        }
        if (resetHasChildren)
            node->Exclude(vsHasChildren);
        if (node != FRoot)
            node->Exclude(vsExpanded);
        node->FirstChildId = 0;
        const uint32_t ownHeight = node == FRoot ? FDefaultNodeHeight : (IsEffectivelyFiltered(node) ? 0 : node->NodeHeight);
        if (node == FRoot || node->Has(vsDeleting)) {
            node->TotalHeight = ownHeight;
            node->TotalCount = 1;
        } else {
            ChangeTotalHeight(node, ownHeight, false);
            ChangeTotalCount(node, 1, false);
        }
        DetermineHiddenChildrenFlag(node);
    } catch (...) {
        --FUpdateCount;
        throw;
    }
    --FUpdateCount;
    MarkCacheStale();
    if (FUpdateCount == 0) {
        PackSelection();
        StartCacheValidation();
        if (HasState(tsChangePending)) {
            DoChange(FLastChangedNode);
            EnsureNodeSelected();
        }
    }
    StructureChange(node == FRoot ? nullptr : node, crChildDeleted);
}

void TBaseNodeTree::Clear()
{
    if (!((FirstOf(FRoot) && !(FOptions->MiscOptions() & toReadOnly)) || FDestroying))
        return;
    BeginUpdate();
    try {
        StopCacheValidation();
        if (HasState(tsEditing))
            DoCancelEdit();
        if (HasState(tsCopyPending) || HasState(tsCutPending))
            DoStateChange(0, TS(tsCopyPending, tsCutPending));
        PackSelection();
        for (PTreeNode n : FSelection)
            n->Exclude(vsSelected);
        FSelection.clear();
        FFocusedNode = FLastChangedNode = FCurrentHotNode = FDropTargetNode = FRangeAnchor = FCheckNode = nullptr;
        FLastVCLDragTarget = FLastSearchNode = nullptr;
        DeleteChildren(FRoot, true);
        FOffsetX = FOffsetY = 0;
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TBaseNodeTree::ForgetNodeReferences(PTreeNode node)
{
    if (FLastChangedNode == node)
        FLastChangedNode = nullptr;
    if (FCurrentHotNode == node)
        FCurrentHotNode = nullptr;
    if (FDropTargetNode == node)
        FDropTargetNode = nullptr;
    if (FLastStructureChangeNode == node)
        FLastStructureChangeNode = nullptr;
    if (FNextNodeToSelect == node)
        FNextNodeToSelect = ParentOf(node) == FRoot ? nullptr : ParentOf(node);
    // Every other reference too, so that nothing is left pointing at a freed block.
    if (FFocusedNode == node)
        FFocusedNode = nullptr;
    if (FRangeAnchor == node)
        FRangeAnchor = nullptr;
    if (FLastSearchNode == node)
        FLastSearchNode = nullptr;
    if (FLastVCLDragTarget == node)
        FLastVCLDragTarget = nullptr;
    if (FCheckNode == node) {
        FCheckNode = nullptr;
        DoStateChange(0, TS(tsMouseCheckPending, tsKeyCheckPending));
    }
    if (FHeightTrackNode == node) {
        FHeightTrackNode = nullptr;
        DoStateChange(0, TS(tsNodeHeightTracking, tsNodeHeightTrackPending));
    }
    if (FEditNode == node)
        DoCancelEdit();
    std::erase(FDragSelection, node);
    std::erase(FTempNodeCache, node);
    if (node->Has(vsSelected)) {
        auto it = std::lower_bound(FSelection.begin(), FSelection.end(), node);
        if (it != FSelection.end() && *it == node)
            FSelection.erase(it);
    }
}

void TBaseNodeTree::DoFreeNode(PTreeNode node)
{
    ForgetNodeReferences(node);
    if (OnFreeNode && node->Has(vsInitialized | vsOnFreeNodeCallRequired))
        OnFreeNode(this, node);
    FreeNodeBlock(node);
    if (FUpdateCount == 0)
        EnsureNodeSelected();
}

void TBaseNodeTree::FreeNodeBlock(PTreeNode node)
{
    if (node->Has(vsReleaseCallOnUserDataRequired)) {
        IInterface* intf = nullptr;
        std::memcpy(&intf, node->Data(), sizeof(intf));
        node->Exclude(vsReleaseCallOnUserDataRequired);
        if (intf)
            intf->_Release();
    }
    FPool.Free(node);
}

void TBaseNodeTree::FreeSubtree(PTreeNode node)
{
    for (PTreeNode c = FirstOf(node); c;) {
        PTreeNode next = NextOf(c);
        FreeSubtree(c);
        c = next;
    }
    DoFreeNode(node);
}

// ---------------------------------------------------------------------------------------------
// Initialisation, validation, user data

void TBaseNodeTree::InitNode(PTreeNode node)
{
    node->Include(vsInitializing);
    try {
        TTreeNodeInitStates initStates = node->Has(vsInitialized) ? TTreeNodeInitStates(ivsReInit) : 0u;
        node->Include(vsInitialized);
        PTreeNode parent = ParentOf(node);
        DoInitNode(parent == FRoot ? nullptr : parent, node, initStates);
        if (initStates & ivsDisabled)
            node->Include(vsDisabled);
        if (initStates & ivsHasChildren) {
            node->Include(vsHasChildren);
            if (!FirstOf(node))
                node->Exclude(vsAllChildrenHidden);
        }
        if (initStates & ivsSelected)
            InternalAddToSelection(node, false);
        if (initStates & ivsMultiline)
            node->Include(vsMultiline);
        if (initStates & ivsFiltered) {
            const bool wasFiltered = node->Has(vsFiltered);
            if (!wasFiltered) {
                const bool wasCounted = GetFullyVisible(node) && !IsEffectivelyFiltered(node);
                node->Include(vsFiltered);
                if (!(FOptions->PaintOptions() & toShowFilteredNodes)) {
                    StopCacheValidation();
                    ChangeTotalHeight(node, -int64_t(node->NodeHeight), true);
                    if (wasCounted)
                        --FVisibleCount;
                    if (parent != FRoot) {
                        if (FUpdateCount > 0)
                            EnterStates(TS(tsUpdateHiddenChildrenNeeded));
                        else
                            DetermineHiddenChildrenFlag(parent);
                    }
                    MarkCacheStale();
                }
            }
        }
        if (bool(initStates & ivsExpanded) != node->Has(vsExpanded)) {
            if (initStates & ivsExpanded)
                ToggleNode(node);
            else if (node->Has(vsHasChildren))
                InitChildren(node);
        }
    } catch (...) {
        node->Exclude(vsInitializing);
        throw;
    }
    node->Exclude(vsInitializing);
}

void TBaseNodeTree::InitChildren(PTreeNode node)
{
    if (!node || node == FRoot || !node->Has(vsHasChildren))
        return;
    uint32_t count = ChildCount(node);
    if (DoInitChildren(node, count)) {
        SetChildCount(node, count);
        if (count == 0) {
            node->Exclude(vsHasChildren);
            DetermineHiddenChildrenFlag(node);
        }
    }
}

void TBaseNodeTree::ValidateNode(PTreeNode node, bool recursive)
{
    node = node ? node : FRoot;
    if (node != FRoot && !node->Has(vsInitialized))
        InitNode(node);
    if (recursive) {
        if (node->Has(vsHasChildren) && !FirstOf(node))
            InitChildren(node);
        for (PTreeNode c = FirstOf(node); c; c = NextOf(c))
            ValidateNode(c, true);
    }
}

void TBaseNodeTree::ValidateChildren(PTreeNode node, bool recursive)
{
    node = node ? node : FRoot;
    if (node->Has(vsHasChildren) && !FirstOf(node))
        InitChildren(node);
    for (PTreeNode c = FirstOf(node); c; c = NextOf(c))
        ValidateNode(c, recursive);
}

void TBaseNodeTree::ReinitNode(PTreeNode node, bool recursive)
{
    if (node && node != FRoot) {
        node->Exclude(vsChecking | vsCutOrCopy | vsDeleting | vsHeightMeasured);
        if (node->Has(vsInitialized))
            InitNode(node);
    }
    if (recursive)
        ReinitChildren(node, true);
}

void TBaseNodeTree::ReinitChildren(PTreeNode node, bool recursive)
{
    node = node ? node : FRoot;
    InitChildren(node);
    for (PTreeNode c = FirstOf(node); c; c = NextOf(c))
        ReinitNode(c, recursive);
}

void TBaseNodeTree::ResetNode(PTreeNode node)
{
    if (HasState(tsEditing))
        DoCancelEdit();
    if (!node || node == FRoot) {
        Clear();
        return;
    }
    DoReset(node);
    DeleteChildren(node, false);
    if (node->Has(vsExpanded)) {
        node->Exclude(vsExpanded);
        ChangeTotalHeight(node, IsEffectivelyFiltered(node) ? 0 : node->NodeHeight, false);
    }
    node->Exclude(vsInitialized | vsChecking | vsCutOrCopy | vsDeleting | vsHasChildren | vsHeightMeasured);
    DetermineHiddenChildrenFlag(node);
}

void TBaseNodeTree::InitRecursive(PTreeNode node, uint32_t levels, bool visibleOnly)
{
    node = node ? node : FRoot;
    if (node != FRoot && !node->Has(vsInitialized))
        InitNode(node);
    if (levels == 0 || (visibleOnly && !node->Has(vsExpanded)))
        return;
    for (PTreeNode c = FirstOf(node); c; c = NextOf(c))
        InitRecursive(c, levels - 1, visibleOnly);
}

uint32_t TBaseNodeTree::TotalCount()
{
    BeginUpdate();
    try {
        ValidateNode(FRoot, true);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    return FRoot->TotalCount - 1;
}

void TBaseNodeTree::SetNodeDataSize(int value)
{
    value = std::max(value, -1);
    if (value == FNodeDataSize)
        return;
    const uint32_t count = RootNodeCount();
    const TTVMiscOptions misc = FOptions->MiscOptions();
    FOptions->FMiscOptions &= ~toReadOnly;
    Clear();
    FNodeDataSize = value;
    if (value != -1)
        EnsureNodeDataSize();
    if (count)
        SetRootNodeCount(count);
    FOptions->FMiscOptions = misc;
}

void* TBaseNodeTree::GetNodeData(PTreeNode node)
{
    TreeAssert(FNodeDataSize > 0, "NodeDataSize not initialized.");
    if (!node || node == FRoot)
        return nullptr;
    node->Include(vsOnFreeNodeCallRequired);
    return node->Data();
}

void TBaseNodeTree::SetNodeData(PTreeNode node, void* value)
{
    if (!node || node == FRoot)
        return;
    StoreUserPointer(*this, node, value);
}

void TBaseNodeTree::SetNodeData(PTreeNode node, IInterface* value)
{
    if (!node || node == FRoot)
        return;
    if (value)
        value->_AddRef();
    if (node->Has(vsReleaseCallOnUserDataRequired)) {
        IInterface* old = nullptr;
        std::memcpy(&old, node->Data(), sizeof(old));
        node->Exclude(vsReleaseCallOnUserDataRequired);
        if (old)
            old->_Release();
    }
    try {
        StoreUserPointer(*this, node, value);
    } catch (...) {
        if (value)
            value->_Release();
        throw;
    }
    node->Include(vsReleaseCallOnUserDataRequired);
}

uint32_t TBaseNodeTree::GetNodeLevel(PTreeNode node) const
{
    uint32_t level = 0;
    if (!node || node == FRoot)
        return 0;
    for (PTreeNode p = ParentOf(node); p && p != FRoot; p = ParentOf(p))
        ++level;
    return level;
}

uint32_t TBaseNodeTree::AbsoluteIndex(PTreeNode node)
{
    uint32_t sum = 0;
    while (node && node != FRoot) {
        if (!node->Has(vsInitialized))
            InitNode(node);
        if (PTreeNode prev = PrevOf(node)) {
            node = prev;
            sum += prev->TotalCount;
        } else {
            node = ParentOf(node);
            if (node != FRoot)
                ++sum;
        }
    }
    return sum;
}

bool TBaseNodeTree::HasAsParent(PTreeNode node, PTreeNode potentialParent) const
{
    if (!node || !potentialParent || node == potentialParent)
        return false;
    for (PTreeNode n = node; n; n = ParentOf(n)) {
        if (n == potentialParent)
            return true;
        if (n == FRoot)
            return false;
    }
    return false;
}

void TBaseNodeTree::SetHasChildren(PTreeNode node, bool value)
{
    node = node ? node : FRoot;
    if (value) {
        node->Include(vsHasChildren);
        if (!FirstOf(node))
            node->Exclude(vsAllChildrenHidden);
        return;
    }
    if (FOptions->MiscOptions() & toReadOnly)
        return;
    DeleteChildren(node, true);
    node->Exclude(vsHasChildren);
    DetermineHiddenChildrenFlag(node);
}

PTreeNode TBaseNodeTree::GetNodeParent(PTreeNode node) const
{
    if (!node)
        return nullptr;
    PTreeNode parent = ParentOf(node);
    return parent == FRoot ? nullptr : parent;
}

void TBaseNodeTree::SetNodeParent(PTreeNode node, PTreeNode parent)
{
    if (node && parent && ParentOf(node) != parent)
        MoveTo(node, parent, amAddChildLast, false);
}

TBaseNodeTree* TBaseNodeTree::TreeFromNode(PTreeNode node)
{
    TreeAssert(node, "Node must not be nil.");
    std::lock_guard lock(LiveTreesLock);
    for (TBaseNodeTree* tree : LiveTrees())
        if (tree->FPool.Owns(node))
            return tree;
    return nullptr;
}

TBaseNodeTree& TBaseNodeTree::ResolveTarget(PTreeNode& target, TTVNodeAttachMode& mode)
{
    if (!target) {
        target = FRoot;
        mode = amAddChildFirst;
    }
    TBaseNodeTree* tree = FPool.Owns(target) ? this : TreeFromNode(target);
    TreeAssert(tree, "The target tree must contain the target node.");
    if (target == tree->FRoot) {
        if (mode == amInsertBefore)
            mode = amAddChildFirst;
        else if (mode == amInsertAfter)
            mode = amAddChildLast;
    }
    return *tree;
}

void TBaseNodeTree::MoveTo(PTreeNode source, PTreeNode target, TTVNodeAttachMode mode, bool childrenOnly)
{
    if (source)
        TreeAssert(FPool.Owns(source), "The source tree must contain the source node.");
    TBaseNodeTree& targetTree = ResolveTarget(target, mode);
    const bool otherTree = &targetTree != this;
    if (mode == amNoWhere || !source || source == FRoot || (FOptions->MiscOptions() & toReadOnly))
        return;
    // A read-only tree takes no nodes, whoever sends them.
    if (otherTree && (targetTree.FOptions->MiscOptions() & toReadOnly))
        return;
    if (target == source && !(childrenOnly && (mode == amInsertBefore || mode == amInsertAfter)))
        return;
    if (target != targetTree.FRoot) {
        if (!target->Has(vsInitialized))
            targetTree.InitNode(target);
        else if (target->Has(vsHasChildren) && !targetTree.FirstOf(target))
            targetTree.InitChildren(target);
    }
    if (!DoNodeMoving(source, target == targetTree.FRoot ? nullptr : target))
        return;
    if (!otherTree && HasAsParent(target, source))
        RaiseTreeError(TreeErrors::Message(TreeErrors::MoveIntoOwnSubtree), TreeErrors::MoveIntoOwnSubtree);
    StopCacheValidation();
    if (otherTree) {
        std::vector<uint8_t> bytes;
        WriteSource(bytes, source, childrenOnly);
        TNodeArray copies;
        targetTree.ReadDetachedNodes(bytes, copies);
        targetTree.BeginUpdate();
        targetTree.StopCacheValidation();
        for (PTreeNode node : copies) {
            targetTree.InternalConnectNode(node, target, mode);
            targetTree.AfterLoadSelection(node);
            DoNodeMoved(node);
        }
        targetTree.MarkCacheStale();
        targetTree.EndUpdate();
        BeginUpdate();
        childrenOnly ? DeleteChildren(source, false) : DeleteNode(source);
        EndUpdate();
        targetTree.StructureChange(nullptr, crNodeMoved);
    } else if (!childrenOnly) {
        InternalDisconnectNode(source, true);
        InternalConnectNode(source, target, mode);
        DoNodeMoved(source);
    } else {
        const bool backwards = mode == amAddChildFirst;
        for (PTreeNode c = backwards ? LastOf(source) : FirstOf(source); c;) {
            PTreeNode following = backwards ? PrevOf(c) : NextOf(c);
            InternalDisconnectNode(c, true);
            InternalConnectNode(c, target, mode);
            DoNodeMoved(c);
            c = following;
        }
    }
    MarkCacheStale();
    if (FUpdateCount == 0)
        StartCacheValidation();
    // The source is gone after a move to another tree; no notification may carry it.
    StructureChange(childrenOnly || otherTree ? nullptr : source, crNodeMoved);
}

// ---------------------------------------------------------------------------------------------
// Per-node properties

void TBaseNodeTree::SetDisabled(PTreeNode node, bool value)
{
    if (!node || node->Has(vsDisabled) == value)
        return;
    value ? node->Include(vsDisabled) : node->Exclude(vsDisabled);
}

void TBaseNodeTree::SetMultiline(PTreeNode node, bool value)
{
    if (!node || node == FRoot || node->Has(vsMultiline) == value)
        return;
    value ? node->Include(vsMultiline) : node->Exclude(vsMultiline);
}

void TBaseNodeTree::SetVerticalAlignment(PTreeNode node, uint8_t value)
{
    node->SetAlign(std::min<uint8_t>(value, 100));
}

void TBaseNodeTree::SetNodeHeight(PTreeNode node, uint32_t value)
{
    if (!node || node == FRoot)
        return;
    value = std::min<uint32_t>(value, 0xFFFF);
    if (value == node->NodeHeight)
        return;
    StopCacheValidation();
    const int64_t delta = int64_t(value) - node->NodeHeight;
    node->NodeHeight = uint16_t(value);
    if (!IsEffectivelyFiltered(node))
        ChangeTotalHeight(node, delta, true);
    MarkCacheStale();
    if (FUpdateCount == 0)
        StartCacheValidation();
}

void TBaseNodeTree::SetDefaultNodeHeight(uint32_t value)
{
    if (value == 0)
        value = 18;
    value = std::min<uint32_t>(value, 0xFFFF);
    if (value == FDefaultNodeHeight)
        return;
    StopCacheValidation();
    const int64_t delta = int64_t(value) - FDefaultNodeHeight;
    FRoot->NodeHeight = uint16_t(FRoot->NodeHeight + delta);
    FRoot->TotalHeight = uint32_t(FRoot->TotalHeight + delta);
    FDefaultNodeHeight = value;
    MarkCacheStale();
    if (FUpdateCount == 0)
        StartCacheValidation();
}

void TBaseNodeTree::SetAnimationDuration(uint32_t value)
{
    FAnimationDuration = value;
    const TTVAnimationOptions options = FOptions->AnimationOptions();
    FOptions->SetAnimationOptions(value ? options | toAnimatedToggle : options & ~toAnimatedToggle);
}

std::vector<TFormatEtc> TBaseNodeTree::GetNativeClipboardFormats() const
{
    std::vector<TFormatEtc> formats = TClipboardFormatList::EnumerateFormats(*FTreeClass, &FClipboardFormats.Items());
    DoGetUserClipboardFormats(formats);
    return formats;
}

// ---------------------------------------------------------------------------------------------
// Update batching and notifications

void TBaseNodeTree::BeginUpdate()
{
    CheckMainThread();
    if (!FDestroying) {
        DoUpdating(FUpdateCount > 0 ? usUpdate : usBegin);
        SetUpdateState(true);
    }
    ++FUpdateCount;
    DoStateChange(TS(tsUpdating));
}

void TBaseNodeTree::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
    if (FDestroying)
        return;
    if (FUpdateCount == 0 && HasState(tsUpdating)) {
        if (HasState(tsUpdateHiddenChildrenNeeded)) {
            DetermineHiddenChildrenFlagAllNodes();
            LeaveStates(TS(tsUpdateHiddenChildrenNeeded));
        }
        DoStateChange(0, TS(tsUpdating));
        PackSelection();
        MarkCacheStale();
        StartCacheValidation();
        if (HasState(tsStructureChangePending))
            DoStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
        try {
            if (HasState(tsChangePending))
                DoChange(FLastChangedNode);
        } catch (...) {
            EndUpdateFinish();
            throw;
        }
        EndUpdateFinish();
    }
    if (FUpdateCount > 0)
        DoUpdating(usUpdate);
    else {
        DoUpdating(usEnd);
        EnsureNodeSelected();
    }
}

void TBaseNodeTree::EndUpdateFinish()
{
    try {
        if (ShouldAutoSort())
            SortTree(FHeader.SortColumn, FHeader.SortDirection, true);
    } catch (...) {
        SetUpdateState(false);
        throw;
    }
    SetUpdateState(false);
    UpdateScrollBars(true);
    Invalidate();
}

void TBaseNodeTree::SetUpdateState(bool updating)
{
    // Only the outermost bracket switches painting.
    if (isVisible() && FUpdateCount == 0)
        setUpdatesEnabled(!updating);
}

void TBaseNodeTree::BeginSynch()
{
    if (!FDestroying) {
        if (HasState(tsSynchMode))
            DoUpdating(usSynch);
        else {
            DoUpdating(usBeginSynch);
            FChangeTimer.Stop();
            FStructureChangeTimer.Stop();
            FLastSearchNode = nullptr;
            DoStateChange(0, TS(tsEditPending, tsIncrementalSearching, tsScrolling, tsScrollPending));
            if (HasState(tsStructureChangePending))
                DoStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
            if (HasState(tsChangePending))
                DoChange(FLastChangedNode);
        }
    }
    ++FSynchUpdateCount;
    DoStateChange(TS(tsSynchMode));
}

void TBaseNodeTree::EndSynch()
{
    if (FSynchUpdateCount > 0)
        --FSynchUpdateCount;
    if (FDestroying)
        return;
    if (FSynchUpdateCount > 0)
        DoUpdating(usSynch);
    else {
        DoStateChange(0, TS(tsSynchMode));
        DoUpdating(usEndSynch);
    }
}

void TBaseNodeTree::AdviseChangeEvent(bool structureChange, PTreeNode node, TChangeReason reason)
{
    if (structureChange) {
        if (HasState(tsStructureChangePending))
            FStructureChangeTimer.Stop();
        else
            DoStateChange(TS(tsStructureChangePending));
        FLastStructureChangeNode = node;
        if (FLastStructureChangeReason == crIgnore)
            FLastStructureChangeReason = reason;
        else if (reason != crIgnore)
            FLastStructureChangeReason = crAccumulated;
    } else {
        if (HasState(tsChangePending))
            FChangeTimer.Stop();
        else
            DoStateChange(TS(tsChangePending));
        FLastChangedNode = node;
    }
}

void TBaseNodeTree::StructureChange(PTreeNode node, TChangeReason reason)
{
    AdviseChangeEvent(true, node, reason);
    if (FUpdateCount != 0)
        return;
    if (FChangeDelay > 0 && !HasState(tsSynchMode))
        FStructureChangeTimer.Start(int(FChangeDelay), this, [this] {
            if (HasState(tsStructureChangePending))
                DoStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
        });
    else
        DoStructureChange(node, reason);
}

void TBaseNodeTree::Change(PTreeNode node)
{
    AdviseChangeEvent(false, node, crIgnore);
    if (FUpdateCount != 0)
        return;
    if (FChangeDelay > 0 && !HasState(tsSynchMode))
        FChangeTimer.Start(int(FChangeDelay), this, [this] {
            if (HasState(tsChangePending))
                DoChange(FLastChangedNode);
        });
    else
        DoChange(node);
}

void TBaseNodeTree::DoStructureChange(PTreeNode node, TChangeReason reason)
{
    FStructureChangeTimer.Stop();
    // A tree being destroyed frees its nodes but tells nobody of the changes that brings.
    if (OnStructureChange && !FDestroying)
        OnStructureChange(this, node, reason);
    DoStateChange(0, TS(tsStructureChangePending));
    FLastStructureChangeNode = nullptr;
    FLastStructureChangeReason = crIgnore;
}

void TBaseNodeTree::DoChange(PTreeNode node)
{
    FChangeTimer.Stop();
    if (OnChange && !FDestroying)
        OnChange(this, node);
    DoStateChange(0, TS(tsChangePending));
    FLastChangedNode = nullptr;
}

void TBaseNodeTree::DoStateChange(TNodeTreeStates enter, TNodeTreeStates leave)
{
    const TNodeTreeStates current = TreeStates();
    if (OnStateChange && !FDestroying && ((enter & ~current) | (current & leave)))
        OnStateChange(this, enter, leave);
    FStates.store((TreeStates() | enter) & ~leave, std::memory_order_release);
}

void TBaseNodeTree::StartOperation(TTVOperationKind kind)
{
    ++FOperationCount;
    DoStartOperation(kind);
    if (FOperationCount == 1)
        FOperationCanceled = false;
}

void TBaseNodeTree::EndOperation(TTVOperationKind kind)
{
    TreeAssert(FOperationCount > 0, "EndOperation must not be called when no operation in progress.");
    --FOperationCount;
    DoEndOperation(kind);
}

void TBaseNodeTree::CancelOperation()
{
    if (FOperationCount > 0)
        FOperationCanceled = true;
}

QRect TBaseNodeTree::InvalidateNode(PTreeNode node)
{
    QRect none;
    none.setCoords(-1, -1, -1, -1);
    if (!node || node == FRoot || FUpdateCount > 0)
        return none;
    const QRect r = GetDisplayRect(node, NoColumn, false);
    if (!r.isEmpty())
        InvalidateRect(r);
    return r;
}

void TBaseNodeTree::InvalidateColumn(TColumnIndex column)
{
    const TNodeTreeColumns& columns = FHeader.Columns();
    if (FUpdateCount > 0 || !columns.IsValidColumn(column))
        return;
    int left = 0, right = 0;
    columns.GetColumnBounds(column, left, right);
    QRect r = ClientRect();
    r.setLeft(std::max(left, r.left()));
    r.setRight(std::min(right - 1, r.right()));
    if (!r.isEmpty())
        InvalidateRect(r);
}

void TBaseNodeTree::InvalidateToBottom(PTreeNode node)
{
    if (FUpdateCount > 0)
        return;
    if (!node || node == FRoot) {
        Invalidate();
        return;
    }
    // A node that was never initialised has not been painted yet; one in a collapsed branch
    // has no row on screen.
    if (!node->Has(vsInitialized) || !IsEffectivelyVisible(node) || !GetVisiblePath(node))
        return;
    int top = GetDisplayRect(node, NoColumn, false).top();
    if (top >= ClientHeight())
        return;
    // The children of an expanded node are drawn above it.
    if ((FOptions->PaintOptions() & toChildrenAbove) && node->Has(vsExpanded))
        top -= int(NodeHeightOf(node)) + int(node->TotalHeight);
    top = std::max(top, 0);
    InvalidateRect(QRect(0, top, ClientWidth(), ClientHeight() - top));
}

void TBaseNodeTree::RepaintNode(PTreeNode node)
{
    if (!node || node == FRoot)
        return;
    const QRect r = GetDisplayRect(node, NoColumn, false) & ClientRect();
    if (!r.isEmpty())
        viewport()->repaint(r);
}

void TBaseNodeTree::InvalidateChildren(PTreeNode node, bool recursive)
{
    if (node) {
        if (!node->Has(vsInitialized))
            InitNode(node);
        InvalidateNode(node);
        if (node->Has(vsHasChildren) && !FirstOf(node))
            InitChildren(node);
    }
    for (PTreeNode c = FirstOf(node ? node : FRoot); c; c = NextOf(c)) {
        InvalidateNode(c);
        if (recursive)
            InvalidateChildren(c, true);
    }
}

// ---------------------------------------------------------------------------------------------
// Dispatchers

void TBaseNodeTree::DoInitNode(PTreeNode parent, PTreeNode node, TTreeNodeInitStates& initStates)
{
    if (OnInitNode)
        OnInitNode(this, parent, node, initStates);
}

bool TBaseNodeTree::DoInitChildren(PTreeNode node, uint32_t& childCount)
{
    if (!OnInitChildren)
        return false;
    OnInitChildren(this, node, childCount);
    return true;
}

void TBaseNodeTree::DoReset(PTreeNode node)
{
    if (OnResetNode)
        OnResetNode(this, node);
}

void TBaseNodeTree::ValidateNodeDataSize(int& size)
{
    if (OnGetNodeDataSize)
        OnGetNodeDataSize(this, size);
}

void TBaseNodeTree::DoUpdating(TTVUpdateState state)
{
    if (OnUpdating)
        OnUpdating(this, state);
}

void TBaseNodeTree::DoStartOperation(TTVOperationKind kind)
{
    if (OnStartOperation)
        OnStartOperation(this, kind);
}

void TBaseNodeTree::DoEndOperation(TTVOperationKind kind)
{
    if (OnEndOperation)
        OnEndOperation(this, kind);
}

bool TBaseNodeTree::DoNodeCopying(PTreeNode node, PTreeNode target)
{
    bool allowed = true;
    if (OnNodeCopying)
        OnNodeCopying(this, node, target, allowed);
    return allowed;
}

void TBaseNodeTree::DoNodeCopied(PTreeNode node)
{
    if (OnNodeCopied)
        OnNodeCopied(this, node);
}

bool TBaseNodeTree::DoNodeMoving(PTreeNode node, PTreeNode target)
{
    bool allowed = true;
    if (OnNodeMoving)
        OnNodeMoving(this, node, target, allowed);
    return allowed;
}

void TBaseNodeTree::DoNodeMoved(PTreeNode node)
{
    if (OnNodeMoved)
        OnNodeMoved(this, node);
}

bool TBaseNodeTree::DoExpanding(PTreeNode node)
{
    bool allowed = true;
    if (OnExpanding)
        OnExpanding(this, node, allowed);
    return allowed;
}

bool TBaseNodeTree::DoCollapsing(PTreeNode node)
{
    bool allowed = true;
    if (OnCollapsing)
        OnCollapsing(this, node, allowed);
    return allowed;
}

void TBaseNodeTree::DoExpanded(PTreeNode node)
{
    if (OnExpanded)
        OnExpanded(this, node);
}

void TBaseNodeTree::DoCollapsed(PTreeNode node)
{
    if (OnCollapsed)
        OnCollapsed(this, node);
    CollapseSelectionRepair();
}

bool TBaseNodeTree::DoChecking(PTreeNode node, TCheckState& newState)
{
    if (FOptions->MiscOptions() & toReadOnly)
        return false;
    bool allowed = true;
    if (OnChecking)
        OnChecking(this, node, newState, allowed);
    return allowed;
}

void TBaseNodeTree::DoChecked(PTreeNode node)
{
    if (OnChecked)
        OnChecked(this, node);
}

int TBaseNodeTree::DoCompare(PTreeNode node1, PTreeNode node2, TColumnIndex column)
{
    int result = 0;
    if (OnCompareNodes)
        OnCompareNodes(this, node1, node2, column, result);
    return result;
}

bool TBaseNodeTree::DoFocusChanging(PTreeNode oldNode, PTreeNode newNode, TColumnIndex oldColumn, TColumnIndex newColumn)
{
    bool allowed = oldColumn == newColumn || FHeader.AllowFocus(newColumn);
    if (OnFocusChanging)
        OnFocusChanging(this, oldNode, newNode, oldColumn, newColumn, allowed);
    return allowed;
}

void TBaseNodeTree::DoFocusChange(PTreeNode node, TColumnIndex column)
{
    if (OnFocusChanged)
        OnFocusChanged(this, node, column);
}

void TBaseNodeTree::DoRemoveFromSelection(PTreeNode node)
{
    if (OnRemoveFromSelection && !FDestroying)
        OnRemoveFromSelection(this, node);
}

void TBaseNodeTree::DoSaveUserData(PTreeNode node, std::vector<uint8_t>& stream)
{
    if (OnSaveNode)
        OnSaveNode(this, node == FRoot ? nullptr : node, stream);
}

bool TBaseNodeTree::DoLoadUserData(PTreeNode node, platform::ByteReader& stream)
{
    if (!OnLoadNode)
        return false;
    OnLoadNode(this, node == FRoot ? nullptr : node, stream);
    return stream.Position() > 0;
}

// ---------------------------------------------------------------------------------------------
// Invariants

QString TreeInvariants::Check(const TBaseNodeTree& t)
{
    uint32_t visible = 0;
    // Returns the subtree's node count, or 0 after recording a broken rule.
    QString error;
    std::function<uint32_t(PTreeNode, bool)> walk = [&](PTreeNode node, bool childrenShown) -> uint32_t {
        uint32_t count = 1;
        uint64_t height = node == t.FRoot ? t.FRoot->NodeHeight : (t.IsEffectivelyFiltered(node) ? 0 : node->NodeHeight);
        uint32_t index = 0;
        bool anyVisible = false;
        PTreeNode prev = nullptr;
        const bool shown = node == t.FRoot || (childrenShown && node->Has(vsVisible));
        for (PTreeNode c = t.FirstOf(node); c; c = t.NextOf(c)) {
            if (t.ParentOf(c) != node)
                return error = QStringLiteral("child %1 names another parent").arg(index), 0u;
            if (c->Index != index)
                return error = QStringLiteral("child index %1 where %2 belongs").arg(c->Index).arg(index), 0u;
            if (t.PrevOf(c) != prev)
                return error = QStringLiteral("broken back link at child %1").arg(index), 0u;
            const bool childShown = shown && node->Has(vsExpanded);
            if (childShown && c->Has(vsVisible) && !t.IsEffectivelyFiltered(c))
                ++visible;
            const uint32_t sub = walk(c, childShown);
            if (!error.isEmpty())
                return 0u;
            count += sub;
            if (node->Has(vsExpanded) && c->Has(vsVisible))
                height += c->TotalHeight;
            anyVisible = anyVisible || t.IsEffectivelyVisible(c);
            prev = c;
            ++index;
        }
        if (t.LastOf(node) != prev)
            return error = QStringLiteral("last child link is wrong"), 0u;
        if (prev && !node->Has(vsHasChildren))
            return error = QStringLiteral("node with children lacks the has-children state"), 0u;
        if (node->TotalCount != count)
            return error = QStringLiteral("total count %1 where %2 belongs").arg(node->TotalCount).arg(count), 0u;
        if (node->TotalHeight != height)
            return error = QStringLiteral("total height %1 where %2 belongs").arg(node->TotalHeight).arg(height), 0u;
        // The flag matters only for nodes that have or may get children.
        if (node != t.FRoot && !t.HasState(tsUpdating) && (prev || node->Has(vsHasChildren))) {
            const bool hidden = prev ? !anyVisible : false;
            if (node->Has(vsAllChildrenHidden) != hidden)
                return error = QStringLiteral("all-children-hidden is %1 where %2 belongs")
                                   .arg(node->Has(vsAllChildrenHidden))
                                   .arg(hidden),
                       0u;
        }
        if (node != t.FRoot && node->Has(vsSelected) &&
            !std::binary_search(t.FSelection.begin(), t.FSelection.end(), node))
            return error = QStringLiteral("selected node missing from the selection"), 0u;
        return count;
    };
    walk(t.FRoot, true);
    if (!error.isEmpty())
        return error;
    if (visible != t.FVisibleCount)
        return QStringLiteral("visible count %1 where %2 belongs").arg(t.FVisibleCount).arg(visible);
    if (t.FPool.LiveCount() != t.FRoot->TotalCount - 1)
        return QStringLiteral("%1 node blocks live for %2 nodes").arg(t.FPool.LiveCount()).arg(t.FRoot->TotalCount - 1);
    const bool packed = t.FUpdateCount == 0;
    for (size_t i = 0; i < t.FSelection.size(); ++i) {
        const uintptr_t entry = reinterpret_cast<uintptr_t>(t.FSelection[i]);
        const uintptr_t previous = i > 0 ? reinterpret_cast<uintptr_t>(t.FSelection[i - 1]) : 0;
        if (i > 0 && (entry < previous || (entry == previous && !(entry & 1))))
            return QStringLiteral("selection array not strictly ascending at %1").arg(i);
        if (entry & 1) {
            if (packed)
                return QStringLiteral("selection holds a removed entry outside an update");
        } else if (!t.FSelection[i]->Has(vsSelected))
            return QStringLiteral("selection holds an unselected node");
    }
    return QString();
}

}  // namespace tree
