#pragma once
#include "controls/tree/ClipboardFormats.h"
#include "controls/tree/NodePool.h"
#include "controls/tree/NodeTreeTypes.h"
#include "platform/TImageList.h"
#include "controls/tree/TreeDataObject.h"
#include "controls/tree/TreeFrame.h"
#include "controls/tree/TreeHeader.h"
#include "controls/tree/TreeHitInfo.h"
#include "controls/tree/TreeImages.h"
#include "controls/tree/TreeInteraction.h"
#include "controls/tree/TreeOptions.h"
#include "controls/tree/TreePaintTypes.h"
#include "platform/Bytes.h"
#include "platform/Clock.h"
#include "platform/TCustomControl.h"

#include <QMargins>
#include <QPixmap>
#include <QRect>
#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class QPrinter;

// The virtual tree control: nodes created and initialised on demand, each with a caller-sized data
// area, kept with their subtree totals so that positions, counts and scroll ranges need no walk.
namespace tree {

class TBaseNodeTree;
class TWorkerThread;
class TTVDragImage;

using TNodeArray = std::vector<PTreeNode>;

// A reference-counted object a node may hold in its data area; the tree keeps one reference.
class IInterface {
public:
    virtual void _AddRef() = 0;
    virtual void _Release() = 0;

protected:
    ~IInterface() = default;
};

struct TCacheEntry {
    PTreeNode Node = nullptr;
    uint32_t AbsoluteTop = 0;
};

enum TVZTreeNodeEnumerationMode {
    vneAll, vneChecked, vneChild, vneCutCopy, vneInitialized, vneLeaf, vneLevel, vneNoInit, vneSelected,
    vneVisible, vneVisibleChild, vneVisibleNoInitChild, vneVisibleNoInit,
};

// A range over the nodes of one navigation family: `for (PTreeNode n : tree.VisibleNodes())`.
class TTVTreeNodeEnumeration {
public:
    class Iterator {
    public:
        PTreeNode operator*() const { return FNode; }
        Iterator& operator++();
        bool operator!=(const Iterator& other) const { return FNode != other.FNode; }

    private:
        friend class TTVTreeNodeEnumeration;
        Iterator(const TTVTreeNodeEnumeration* e, PTreeNode n) : FEnum(e), FNode(n) {}
        const TTVTreeNodeEnumeration* FEnum;
        PTreeNode FNode;
    };
    Iterator begin() const;
    Iterator end() const { return Iterator(this, nullptr); }

    TVZTreeNodeEnumerationMode FMode = vneAll;
    TBaseNodeTree* FTree = nullptr;
    bool FConsiderChildrenAbove = false;
    PTreeNode FNode = nullptr;
    uint32_t FNodeLevel = 0;
    TCheckState FState = csCheckedNormal;
    bool FIncludeFiltered = false;

private:
    PTreeNode Step(PTreeNode current) const;
};

// What the tree drives an in-place editor through.
class ITVEditLink {
public:
    virtual ~ITVEditLink() = default;
    virtual bool BeginEdit() = 0;
    virtual bool CancelEdit() = 0;
    virtual bool EndEdit() = 0;
    virtual bool PrepareEdit(TBaseNodeTree* tree, PTreeNode node, TColumnIndex column) = 0;
    virtual QRect GetBounds() = 0;
    virtual void ProcessMessage(QEvent* event) = 0;
    virtual void SetBounds(QRect r) = 0;
};

class TBaseNodeTree : public platform::TCustomControl {
    Q_OBJECT
public:
    explicit TBaseNodeTree(QWidget* parent = nullptr) : TBaseNodeTree(parent, BaseNodeTreeClass) {}
    ~TBaseNodeTree() override;

    // ---- events (sender first; by-reference arguments are answers) ----
    std::function<void(TBaseNodeTree*, PTreeNode parent, PTreeNode node, TTreeNodeInitStates&)> OnInitNode;
    std::function<void(TBaseNodeTree*, PTreeNode node, uint32_t& childCount)> OnInitChildren;
    std::function<void(TBaseNodeTree*, PTreeNode node)> OnFreeNode;
    std::function<void(TBaseNodeTree*, PTreeNode node)> OnResetNode;
    std::function<void(TBaseNodeTree*, int& nodeDataSize)> OnGetNodeDataSize;
    std::function<void(TBaseNodeTree*, PTreeNode node)> OnChange;
    std::function<void(TBaseNodeTree*, PTreeNode node, TChangeReason)> OnStructureChange;
    std::function<void(TBaseNodeTree*, TNodeTreeStates enter, TNodeTreeStates leave)> OnStateChange;
    std::function<void(TBaseNodeTree*, TTVUpdateState)> OnUpdating;
    std::function<void(TBaseNodeTree*, TTVOperationKind)> OnStartOperation;
    std::function<void(TBaseNodeTree*, TTVOperationKind)> OnEndOperation;
    std::function<void(TBaseNodeTree*, PTreeNode node, PTreeNode target, bool& allowed)> OnNodeCopying;
    std::function<void(TBaseNodeTree*, PTreeNode node)> OnNodeCopied;
    std::function<void(TBaseNodeTree*, PTreeNode node, PTreeNode target, bool& allowed)> OnNodeMoving;
    std::function<void(TBaseNodeTree*, PTreeNode node)> OnNodeMoved;
    std::function<void(TBaseNodeTree*, PTreeNode node, bool& allowed)> OnExpanding;
    std::function<void(TBaseNodeTree*, PTreeNode node, bool& allowed)> OnCollapsing;
    std::function<void(TBaseNodeTree*, PTreeNode node)> OnExpanded;
    std::function<void(TBaseNodeTree*, PTreeNode node)> OnCollapsed;
    std::function<void(TBaseNodeTree*, PTreeNode node, TCheckState& newState, bool& allowed)> OnChecking;
    std::function<void(TBaseNodeTree*, PTreeNode node)> OnChecked;
    std::function<void(TBaseNodeTree*, PTreeNode node1, PTreeNode node2, TColumnIndex, int& result)> OnCompareNodes;
    std::function<void(TBaseNodeTree*, PTreeNode oldNode, PTreeNode newNode, TColumnIndex oldColumn,
                       TColumnIndex newColumn, bool& allowed)> OnFocusChanging;
    std::function<void(TBaseNodeTree*, PTreeNode node, TColumnIndex)> OnFocusChanged;
    std::function<void(TBaseNodeTree*, PTreeNode node)> OnAddToSelection;
    std::function<void(TBaseNodeTree*, PTreeNode node)> OnRemoveFromSelection;
    // Node user data in a stream: the save handler appends bytes; the load handler reads from a
    // reader bounded to the node's user data chunk. The root is passed as nil.
    std::function<void(TBaseNodeTree*, PTreeNode node, std::vector<uint8_t>& stream)> OnSaveNode;
    std::function<void(TBaseNodeTree*, PTreeNode node, platform::ByteReader& stream)> OnLoadNode;
    std::function<void(TBaseNodeTree*, std::vector<uint8_t>& stream)> OnSaveTree;
    std::function<void(TBaseNodeTree*, std::span<const uint8_t> stream)> OnLoadTree;

    // ---- header and column events (sender: the header) ----
    std::function<void(TTVHeader*, const TTVHeaderHitInfo&)> OnHeaderClick;
    std::function<void(TTVHeader*, const TTVHeaderHitInfo&)> OnHeaderDblClick;
    std::function<void(TTVHeader*, platform::TMouseButton, platform::TShiftState, int x, int y)> OnHeaderMouseDown;
    std::function<void(TTVHeader*, platform::TMouseButton, platform::TShiftState, int x, int y)> OnHeaderMouseUp;
    std::function<void(TTVHeader*, platform::TShiftState, int x, int y)> OnHeaderMouseMove;
    std::function<void(TTVHeader*, TColumnIndex, bool& allowed)> OnHeaderDragging;
    std::function<void(TTVHeader*, TColumnIndex, int oldPosition)> OnHeaderDragged;
    std::function<void(TTVHeader*, TColumnIndex, QPoint dropPosition)> OnHeaderDraggedOut;
    std::function<void(TTVHeader*, platform::TCanvas&, TNodeTreeColumn*, const QRect&, bool hover, bool pressed,
                       TTVDropMarkMode)> OnHeaderDraw;
    std::function<void(TTVHeader*, THeaderPaintInfo&, THeaderPaintElements&)> OnHeaderDrawQueryElements;
    std::function<void(TTVHeader*, THeaderPaintInfo&, THeaderPaintElements)> OnAdvancedHeaderDraw;
    std::function<void(TTVHeader*, TColumnIndex)> OnColumnResize;
    std::function<void(TBaseNodeTree*, TColumnIndex, bool visible)> OnColumnVisibilityChanged;
    std::function<void(TTVHeader*, TColumnIndex, platform::TShiftState)> OnBeforeColumnWidthTracking;
    std::function<void(TTVHeader*, TColumnIndex, platform::TShiftState, QPoint& trackPoint, QPoint p, bool& allowed)>
        OnColumnWidthTracking;
    std::function<void(TTVHeader*, TColumnIndex)> OnAfterColumnWidthTracking;
    std::function<void(TTVHeader*, TColumnIndex, platform::TShiftState, QPoint p, bool& allowed)> OnColumnWidthDblClickResize;
    std::function<void(TTVHeader*, platform::TShiftState)> OnBeforeHeaderHeightTracking;
    std::function<void(TTVHeader*, QPoint& p, platform::TShiftState, bool& allowed)> OnHeaderHeightTracking;
    std::function<void(TTVHeader*)> OnAfterHeaderHeightTracking;
    std::function<void(TTVHeader*, QPoint& p, platform::TShiftState, bool& allowed)> OnHeaderHeightDblClickResize;
    std::function<void(TTVHeader*, TColumnIndex, TSmartAutoFitType&, bool& allowed)> OnBeforeAutoFitColumn;
    std::function<void(TTVHeader*, TColumnIndex)> OnAfterAutoFitColumn;
    std::function<void(TTVHeader*, TSmartAutoFitType&)> OnBeforeAutoFitColumns;
    std::function<void(TTVHeader*)> OnAfterAutoFitColumns;
    std::function<void(TTVHeader*, QPoint p, TColumnIndex, bool& allowed)> OnCanSplitterResizeColumn;
    std::function<void(TTVHeader*, QPoint p, bool& allowed)> OnCanSplitterResizeHeader;
    std::function<void(TTVHeader*, QCursor& cursor)> OnGetHeaderCursor;
    // A context menu for a node (none for the header or the empty area); askParent left true
    // passes the question on to the node's parent.
    std::function<void(TBaseNodeTree*, PTreeNode node, TColumnIndex column, QPoint position, bool& askParent,
                       QMenu*& menu)>
        OnGetPopupMenu;

    // The header strip in client coordinates: above the client area, so its Y runs from minus
    // the header height to 0; empty without hoVisible.
    QRect HeaderRect() const;
    // Takes the header strip's height into the window's layout.
    virtual void UpdateHeaderRect();
    // After a column's width changed: repaints and fires OnColumnResize.
    virtual void DoColumnResize(TColumnIndex column);
    // After the main column changed: any edit ends and the focus follows.
    virtual void MainColumnChanged();

protected:
    // The header strip above the client area: painted and handed the mouse there.
    void PaintNonClient(QPainter& painter, const QRect& r) override;
    void NCMouseDown(platform::TMouseButton button, platform::TShiftState shift, const QPoint& pos,
                     const QPoint& global) override;
    void NCMouseMove(platform::TShiftState shift, const QPoint& pos, const QPoint& global) override;
    void NCMouseUp(platform::TMouseButton button, platform::TShiftState shift, const QPoint& pos,
                   const QPoint& global) override;
    void NCDblClick(platform::TMouseButton button, platform::TShiftState shift, const QPoint& pos,
                    const QPoint& global) override;
    void NCMouseLeave() override;
    QCursor NCCursorAt(const QPoint& pos) override;

public:

    // ---- node store ----
    PTreeNode RootNode() const { return FRoot; }
    PTreeNode AddChild(PTreeNode parent, void* userData = nullptr);
    PTreeNode AddChild(PTreeNode parent, IInterface* userData);
    PTreeNode InsertNode(PTreeNode node, TTVNodeAttachMode mode, void* userData = nullptr);
    void DeleteNode(PTreeNode node) { DeleteNode(node, true, false); }
    void DeleteChildren(PTreeNode node, bool resetHasChildren = false);
    void Clear();
    uint32_t ChildCount(PTreeNode node) const;
    virtual void SetChildCount(PTreeNode node, uint32_t newChildCount);
    uint32_t RootNodeCount() const { return ChildCount(FRoot); }
    void SetRootNodeCount(uint32_t value);
    int NodeDataSize() const { return FNodeDataSize; }
    void SetNodeDataSize(int value);
    void* GetNodeData(PTreeNode node);
    template <typename T>
    T* GetNodeData(PTreeNode node) { return static_cast<T*>(GetNodeData(node)); }
    void SetNodeData(PTreeNode node, void* value);
    void SetNodeData(PTreeNode node, IInterface* value);
    uint32_t GetNodeLevel(PTreeNode node) const;
    uint32_t AbsoluteIndex(PTreeNode node);
    bool HasAsParent(PTreeNode node, PTreeNode potentialParent) const;
    bool HasChildren(PTreeNode node) const { return (node ? node : FRoot)->Has(vsHasChildren); }
    void SetHasChildren(PTreeNode node, bool value);
    bool ChildrenInitialized(PTreeNode node) const;
    PTreeNode GetNodeParent(PTreeNode node) const;
    void SetNodeParent(PTreeNode node, PTreeNode parent);
    uint32_t TotalCount();
    void ValidateNode(PTreeNode node, bool recursive);
    void ValidateChildren(PTreeNode node, bool recursive);
    virtual void ReinitNode(PTreeNode node, bool recursive);
    virtual void ReinitChildren(PTreeNode node, bool recursive);
    virtual void ResetNode(PTreeNode node);
    void InitRecursive(PTreeNode node, uint32_t levels = UINT32_MAX, bool visibleOnly = true);
    // The target may be a node of another tree: that tree receives the nodes through a node stream
    // (user data travels through the save and load handlers) and this tree loses the moved ones.
    void MoveTo(PTreeNode source, PTreeNode target, TTVNodeAttachMode mode, bool childrenOnly);
    PTreeNode CopyTo(PTreeNode source, PTreeNode target, TTVNodeAttachMode mode, bool childrenOnly);
    // The forms with a target tree attach to its root.
    void MoveTo(PTreeNode source, TBaseNodeTree& targetTree, TTVNodeAttachMode mode, bool childrenOnly)
    {
        MoveTo(source, targetTree.RootNode(), mode, childrenOnly);
    }
    PTreeNode CopyTo(PTreeNode source, TBaseNodeTree& targetTree, TTVNodeAttachMode mode, bool childrenOnly)
    {
        return CopyTo(source, targetTree.RootNode(), mode, childrenOnly);
    }
    // The live tree that holds the node, nil when none does; a nil node is a caller's error.
    static TBaseNodeTree* TreeFromNode(PTreeNode node);
    bool OwnsNode(PTreeNode node) const { return FPool.Owns(node); }

    // Per-node accessors.
    bool GetDisabled(PTreeNode node) const { return node && node->Has(vsDisabled); }
    void SetDisabled(PTreeNode node, bool value);
    bool GetMultiline(PTreeNode node) const { return node && node != FRoot && node->Has(vsMultiline); }
    void SetMultiline(PTreeNode node, bool value);
    uint8_t GetVerticalAlignment(PTreeNode node) const { return node->Align(); }
    void SetVerticalAlignment(PTreeNode node, uint8_t value);
    TCheckState GetCheckState(PTreeNode node) const { return node ? node->CheckState() : csUncheckedNormal; }
    void SetCheckState(PTreeNode node, TCheckState value);
    TCheckType GetCheckType(PTreeNode node) const { return node ? node->CheckType() : ctNone; }
    void SetCheckType(PTreeNode node, TCheckType value);
    uint32_t GetNodeHeight(PTreeNode node) const { return node ? node->NodeHeight : 0; }
    void SetNodeHeight(PTreeNode node, uint32_t value);

    // ---- navigation ----
    PTreeNode GetFirst(bool considerChildrenAbove = false);
    PTreeNode GetFirstNoInit(bool considerChildrenAbove = false) const;
    PTreeNode GetNext(PTreeNode node, bool considerChildrenAbove = false);
    PTreeNode GetNextNoInit(PTreeNode node, bool considerChildrenAbove = false) const;
    PTreeNode GetPrevious(PTreeNode node, bool considerChildrenAbove = false);
    PTreeNode GetPreviousNoInit(PTreeNode node, bool considerChildrenAbove = false) const;
    PTreeNode GetLast(PTreeNode node = nullptr, bool considerChildrenAbove = false);
    PTreeNode GetLastNoInit(PTreeNode node = nullptr, bool considerChildrenAbove = false) const;
    PTreeNode GetFirstChild(PTreeNode node);
    PTreeNode GetFirstChildNoInit(PTreeNode node) const;
    PTreeNode GetLastChild(PTreeNode node);
    PTreeNode GetLastChildNoInit(PTreeNode node) const;
    PTreeNode GetNextSibling(PTreeNode node);
    PTreeNode GetNextSiblingNoInit(PTreeNode node) const;
    PTreeNode GetPreviousSibling(PTreeNode node);
    PTreeNode GetPreviousSiblingNoInit(PTreeNode node) const;
    PTreeNode GetFirstVisible(PTreeNode node = nullptr, bool considerChildrenAbove = true, bool includeFiltered = false);
    PTreeNode GetFirstVisibleNoInit(PTreeNode node = nullptr, bool considerChildrenAbove = true, bool includeFiltered = false) const;
    PTreeNode GetNextVisible(PTreeNode node, bool considerChildrenAbove = true);
    PTreeNode GetNextVisibleNoInit(PTreeNode node, bool considerChildrenAbove = true) const;
    PTreeNode GetPreviousVisible(PTreeNode node, bool considerChildrenAbove = true);
    PTreeNode GetPreviousVisibleNoInit(PTreeNode node, bool considerChildrenAbove = true) const;
    PTreeNode GetLastVisible(PTreeNode node = nullptr, bool considerChildrenAbove = true, bool includeFiltered = false);
    PTreeNode GetLastVisibleNoInit(PTreeNode node = nullptr, bool considerChildrenAbove = true, bool includeFiltered = false) const;
    PTreeNode GetFirstVisibleChild(PTreeNode node, bool includeFiltered = false);
    PTreeNode GetFirstVisibleChildNoInit(PTreeNode node, bool includeFiltered = false) const;
    PTreeNode GetLastVisibleChild(PTreeNode node, bool includeFiltered = false);
    PTreeNode GetLastVisibleChildNoInit(PTreeNode node, bool includeFiltered = false) const;
    PTreeNode GetNextVisibleSibling(PTreeNode node, bool includeFiltered = false);
    PTreeNode GetNextVisibleSiblingNoInit(PTreeNode node, bool includeFiltered = false) const;
    PTreeNode GetPreviousVisibleSibling(PTreeNode node, bool includeFiltered = false);
    PTreeNode GetPreviousVisibleSiblingNoInit(PTreeNode node, bool includeFiltered = false) const;
    PTreeNode GetFirstInitialized(bool considerChildrenAbove = false) const;
    PTreeNode GetNextInitialized(PTreeNode node, bool considerChildrenAbove = false) const;
    PTreeNode GetPreviousInitialized(PTreeNode node, bool considerChildrenAbove = false) const;
    PTreeNode GetLastInitialized(PTreeNode node = nullptr, bool considerChildrenAbove = false) const;
    PTreeNode GetFirstChecked(TCheckState state = csCheckedNormal, bool considerChildrenAbove = false);
    PTreeNode GetNextChecked(PTreeNode node, TCheckState state = csCheckedNormal, bool considerChildrenAbove = false);
    PTreeNode GetPreviousChecked(PTreeNode node, TCheckState state = csCheckedNormal, bool considerChildrenAbove = false);
    PTreeNode GetFirstCutCopy(bool considerChildrenAbove = false);
    PTreeNode GetNextCutCopy(PTreeNode node, bool considerChildrenAbove = false);
    PTreeNode GetPreviousCutCopy(PTreeNode node, bool considerChildrenAbove = false);
    PTreeNode GetFirstSelected(bool considerChildrenAbove = false);
    PTreeNode GetNextSelected(PTreeNode node, bool considerChildrenAbove = false);
    PTreeNode GetPreviousSelected(PTreeNode node, bool considerChildrenAbove = false);
    PTreeNode GetFirstLeaf();
    PTreeNode GetNextLeaf(PTreeNode node);
    PTreeNode GetPreviousLeaf(PTreeNode node);
    PTreeNode GetFirstLevel(uint32_t level);
    PTreeNode GetNextLevel(PTreeNode node, uint32_t level);
    PTreeNode GetPreviousLevel(PTreeNode node, uint32_t level);
    PTreeNode GetVisibleParent(PTreeNode node, bool includeFiltered = false) const;
    // The node at a pixel row; relative: the row is in client coordinates of the scrolled view.
    PTreeNode GetNodeAt(int x, int y) { return GetNodeAt(x, y, true, nullptr); }
    PTreeNode GetNodeAt(int x, int y, bool relative, int* nodeTop);
    // The node at the last client pixel row.
    PTreeNode BottomNode();
    PTreeNode TopNode() { return GetNodeAt(0, 0); }
    TNodeArray GetSortedSelection(bool resolve) const;
    TNodeArray GetSortedCutCopySet(bool resolve) const;
    using TTVGetNodeProc = std::function<void(TBaseNodeTree*, PTreeNode, void* data, bool& abort)>;
    PTreeNode IterateSubtree(PTreeNode node, const TTVGetNodeProc& callback, void* data, TTreeNodeStates filter = 0,
                             bool doInit = false, bool childNodesOnly = false);

    TTVTreeNodeEnumeration Nodes(bool considerChildrenAbove = false);
    TTVTreeNodeEnumeration CheckedNodes(TCheckState state = csCheckedNormal, bool considerChildrenAbove = false);
    TTVTreeNodeEnumeration ChildNodes(PTreeNode node);
    TTVTreeNodeEnumeration CutCopyNodes(bool considerChildrenAbove = false);
    TTVTreeNodeEnumeration InitializedNodes(bool considerChildrenAbove = false);
    TTVTreeNodeEnumeration LeafNodes();
    TTVTreeNodeEnumeration LevelNodes(uint32_t level);
    TTVTreeNodeEnumeration NoInitNodes(bool considerChildrenAbove = false);
    TTVTreeNodeEnumeration SelectedNodes(bool considerChildrenAbove = false);
    TTVTreeNodeEnumeration VisibleNodes(PTreeNode node = nullptr, bool considerChildrenAbove = true, bool includeFiltered = false);
    TTVTreeNodeEnumeration VisibleChildNodes(PTreeNode node, bool includeFiltered = false);
    TTVTreeNodeEnumeration VisibleChildNoInitNodes(PTreeNode node, bool includeFiltered = false);
    TTVTreeNodeEnumeration VisibleNoInitNodes(PTreeNode node = nullptr, bool considerChildrenAbove = true, bool includeFiltered = false);

    // ---- expand, collapse, visibility, filtering ----
    void ToggleNode(PTreeNode node);
    bool GetExpanded(PTreeNode node) const { return node && node->Has(vsExpanded); }
    void SetExpanded(PTreeNode node, bool value);
    void FullExpand(PTreeNode node = nullptr);
    void FullCollapse(PTreeNode node = nullptr);
    bool IsVisible(PTreeNode node);
    void SetVisible(PTreeNode node, bool value);
    bool GetFullyVisible(PTreeNode node) const;
    void SetFullyVisible(PTreeNode node, bool value);
    bool GetVisiblePath(PTreeNode node) const;
    void SetVisiblePath(PTreeNode node, bool value);
    bool IsFiltered(PTreeNode node) const { return node && node->Has(vsFiltered); }
    void SetFiltered(PTreeNode node, bool value);
    bool IsEffectivelyVisible(PTreeNode node) const;
    bool IsEffectivelyFiltered(PTreeNode node) const;
    uint32_t VisibleCount() const { return FVisibleCount; }

    // ---- batching and notifications ----
    virtual void BeginUpdate();
    virtual void EndUpdate();
    void BeginSynch();
    void EndSynch();
    uint32_t UpdateCount() const { return FUpdateCount; }
    void CancelOperation();
    bool OperationCanceled() const { return FOperationCanceled && FOperationCount > 0; }
    uint32_t OperationCount() const { return FOperationCount; }
    uint32_t ChangeDelay() const { return FChangeDelay; }
    void SetChangeDelay(uint32_t value) { FChangeDelay = value; }
    virtual QRect InvalidateNode(PTreeNode node);
    void InvalidateChildren(PTreeNode node, bool recursive);
    void InvalidateColumn(TColumnIndex column);
    void InvalidateToBottom(PTreeNode node);
    void RepaintNode(PTreeNode node);
    TNodeTreeStates TreeStates() const { return FStates.load(std::memory_order_acquire); }
    bool HasState(TNodeTreeState s) const { return (TreeStates() & TS(s)) != 0; }

    // ---- sorting ----
    virtual void Sort(PTreeNode node, TColumnIndex column, TSortDirection direction, bool doInit = true);
    virtual void SortTree(TColumnIndex column, TSortDirection direction, bool doInit = true);

    // ---- streams ----
    // Writes the header and either the given node or every top-level node.
    void SaveToStream(std::vector<uint8_t>& stream, PTreeNode node = nullptr);
    std::vector<uint8_t> SaveToBytes(PTreeNode node = nullptr);
    void SaveToFile(const QString& fileName);
    // Replaces the tree with the stream's nodes. A stream that cannot be read whole raises
    // ENodeTreeError and leaves the tree as it was.
    void LoadFromStream(std::span<const uint8_t> stream);
    void LoadFromFile(const QString& fileName);
    // Adds the stream's nodes as last children of the target (the root for nil), all or nothing.
    void AddFromStream(std::span<const uint8_t> stream, PTreeNode target);

    // ---- selection and focus ----
    bool GetSelected(PTreeNode node) const { return node && node->Has(vsSelected); }
    void SetSelected(PTreeNode node, bool value);
    // Entries of the selection array, those marked for removal included until it is packed.
    uint32_t SelectedCount() const { return uint32_t(FSelection.size()); }
    // While locked, user and caller requests leave the selection alone; loading still adds.
    bool SelectionLocked() const { return FSelectionLocked; }
    void SetSelectionLocked(bool value) { FSelectionLocked = value; }
    void ClearSelection() { ClearSelection(true); }
    void SelectAll(bool visibleOnly);
    void InvertSelection(bool visibleOnly);
    // Under toAlwaysSelectNode: selects the remembered successor or the first visible node.
    virtual void EnsureNodeSelected();
    PTreeNode FocusedNode() const { return FFocusedNode; }
    void SetFocusedNode(PTreeNode node);
    TColumnIndex FocusedColumn() const { return FFocusedColumn; }
    PTreeNode NextNodeToSelect() const { return FNextNodeToSelect; }
    int LastSelectionLevel() const { return FLastSelectionLevel; }
    // The sign tells the display order of two nodes: negative when node1 comes first.
    int CompareNodeOrder(PTreeNode node1, PTreeNode node2, bool considerChildrenAbove) const;
    // Drops the entries marked for removal; answers the kept count, -1 for an empty array.
    static int CompactNodeArray(TNodeArray& nodes, int count);
    bool IsMouseSelecting() const { return (TreeStates() & TS(tsDrawSelPending, tsDrawSelecting)) != 0; }

    // Copies the settings and the top-level node count of another tree, never its node data;
    // a read-only tree takes nothing.
    void Assign(const TBaseNodeTree& source);
    // Old form data: a set of "vo..." option names. Clears the five option sets and sets, for
    // each known name, the option of the same name with the prefix "to"; unknown names are skipped.
    void ReadLegacyOptions(const QStringList& names);

    // ---- properties ----
    uint32_t DefaultNodeHeight() const { return FDefaultNodeHeight; }
    void SetDefaultNodeHeight(uint32_t value);
    uint32_t Indent() const { return FIndent; }
    void SetIndent(uint32_t value) { FIndent = value; }
    int Margin() const { return FMargin; }
    void SetMargin(int value) { FMargin = value; }
    int TextMargin() const { return FTextMargin; }
    void SetTextMargin(int value) { FTextMargin = value; }
    uint32_t AnimationDuration() const { return FAnimationDuration; }
    void SetAnimationDuration(uint32_t value);
    uint32_t EditDelay() const { return FEditDelay; }
    uint32_t AutoScrollDelay() const { return FAutoScrollDelay; }
    uint32_t AutoExpandDelay() const { return FAutoExpandDelay; }
    uint32_t IncrementalSearchTimeout() const { return FSearchTimeout; }
    uint8_t SelectionBlendFactor() const { return FSelectionBlendFactor; }
    int DragWidth() const { return FDragWidth; }
    int DragHeight() const { return FDragHeight; }
    int OffsetY() const { return FOffsetY; }
    void SetOffsetY(int value);
    TTVHeader& Header() { return FHeader; }
    const TTVHeader& Header() const { return FHeader; }
    TCustomNodeTreeOptions& TreeOptions() { return *FOptions; }
    const TCustomNodeTreeOptions& TreeOptions() const { return *FOptions; }
    TTVColors& Colors() { return FColors; }
    TScrollBarOptions& ScrollBarOptions() { return FScrollBarOptions; }
    TClipboardFormats& ClipboardFormats() { return FClipboardFormats; }
    void SetClipboardFormats(const QStringList& names) { FClipboardFormats.Assign(names); }
    // Descriptors of the formats this tree offers, in priority order.
    virtual std::vector<TFormatEtc> GetNativeClipboardFormats() const;
    const TTreeClass& TreeClass() const { return *FTreeClass; }
    TTVNodeAlignment NodeAlignment() const { return FNodeAlignment; }
    void SetNodeAlignment(TTVNodeAlignment value) { SetAndRepaint(FNodeAlignment, value); }
    TTVLineMode LineMode() const { return FLineMode; }
    void SetLineMode(TTVLineMode value) { SetAndRepaint(FLineMode, value); }
    TTVLineStyle LineStyle() const { return FLineStyle; }
    void SetLineStyle(TTVLineStyle value) { SetAndRepaint(FLineStyle, value); }
    TTVButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TTVButtonStyle value) { SetAndRepaint(FButtonStyle, value); }
    TTVButtonFillMode ButtonFillMode() const { return FButtonFillMode; }
    void SetButtonFillMode(TTVButtonFillMode value) { SetAndRepaint(FButtonFillMode, value); }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value) { SetAndRepaint(FAlignment, value); }
    int BackgroundOffsetX() const { return FBackgroundOffsetX; }
    void SetBackgroundOffsetX(int value) { SetAndRepaint(FBackgroundOffsetX, value); }
    int BackgroundOffsetY() const { return FBackgroundOffsetY; }
    void SetBackgroundOffsetY(int value) { SetAndRepaint(FBackgroundOffsetY, value); }
    uint32_t SelectionCurveRadius() const { return FSelectionCurveRadius; }
    void SetSelectionCurveRadius(uint32_t value) { SetAndRepaint(FSelectionCurveRadius, value); }
    const QString& EmptyListMessage() const { return FEmptyListMessage; }
    void SetEmptyListMessage(const QString& value) { SetAndRepaint(FEmptyListMessage, value); }
    // Extra space below the last node; the scroll range takes it in.
    uint32_t BottomSpace() const { return FBottomSpace; }
    void SetBottomSpace(uint32_t value) { FBottomSpace = value; }
    TTVDrawSelectionMode DrawSelectionMode() const { return FDrawSelectionMode; }
    void SetDrawSelectionMode(TTVDrawSelectionMode value) { FDrawSelectionMode = value; }
    TTVDragImageKind DragImageKind() const { return FDragImageKind; }
    void SetDragImageKind(TTVDragImageKind value) { FDragImageKind = value; }
    TDragOperations DragOperations() const { return FDragOperations; }
    void SetDragOperations(TDragOperations value) { FDragOperations = value; }
    TTVDragType DragType() const { return FDragType; }
    void SetDragType(TTVDragType value) { FDragType = value; }
    TTVNodeAttachMode DefaultPasteMode() const { return FDefaultPasteMode; }
    void SetDefaultPasteMode(TTVNodeAttachMode value) { FDefaultPasteMode = value; }
    uint32_t AutoScrollInterval() const { return FAutoScrollInterval; }
    void SetAutoScrollInterval(uint32_t value) { FAutoScrollInterval = std::clamp<uint32_t>(value, 1, 1000); }
    // Nodes fully checked, as GetFirstChecked and GetNextChecked find them.
    uint32_t CheckedCount();
    // Nodes marked for a cut or copy.
    uint32_t CutCopyCount();
    TCheckImageKind CheckImageKind() const { return FCheckImageKind; }
    void SetCheckImageKind(TCheckImageKind value);
    // The caller's check images; the tree shares the list, so it cannot vanish while in use.
    const std::shared_ptr<platform::TImageList>& CustomCheckImages() const { return FCustomCheckImages; }
    void SetCustomCheckImages(std::shared_ptr<platform::TImageList> list);
    // The check images in use: the shared list of the kind, else the custom list (may be nil).
    platform::TImageList* CheckImages() const { return FCheckImages; }
    // Reserves an internal per-node area after the user data; only before any node exists.
    virtual uint32_t AllocateInternalDataArea(uint32_t size);
    // An internal data area reserved at `offset`; it follows the node's user data.
    uint8_t* InternalData(PTreeNode node, uint32_t offset) const;

    // ---- position cache (built by the shared worker) ----
    uint32_t CacheEntriesNeeded() const;
    PTreeNode NearestCacheEntryForNode(PTreeNode node, uint32_t& top) const;
    PTreeNode NearestCacheEntryForPosition(uint32_t y, uint32_t& top) const;
    const std::vector<TCacheEntry>& PositionCache() const { return FPositionCache; }
    // Whether the tree waits for or undergoes a cache build.
    bool CacheBuildPending() const { return FInWorker.load(); }
    // Returns once a queued or running cache build of this tree has ended.
    void WaitForCacheValidation();
    // Entries per cache step and the least visible count that is worth a cache.
    static constexpr uint32_t CacheThreshold = 2000;

    // Tracked node references that a deleted node must not leave behind.
    PTreeNode LastSearchNode() const { return FLastSearchNode; }
    PTreeNode CheckNode() const { return FCheckNode; }
    PTreeNode HeightTrackNode() const { return FHeightTrackNode; }
    PTreeNode HotNode() const { return FCurrentHotNode; }
    PTreeNode DropTargetNode() const { return FDropTargetNode; }
    PTreeNode RangeAnchor() const { return FRangeAnchor; }
    const TNodeArray& DragSelection() const { return FDragSelection; }
    PTreeNode EditNode() const { return FEditNode; }

    bool TimerRunning(TTreeTimer id) const { return TCustomControl::TimerActive(int(id)); }

    // The bytes this tree's nodes occupy.
    size_t NodeMemoryBytes() const { return FPool.BytesReserved(); }

    // Invoked on the GUI thread, queued by the worker after each cache build.
    virtual void UpdateEditBounds();

    // ---- in-place editing ----
    std::function<void(TBaseNodeTree*, PTreeNode, TColumnIndex, bool& allowed)> OnEditing;
    std::function<void(TBaseNodeTree*, PTreeNode, TColumnIndex, std::shared_ptr<ITVEditLink>& link)> OnCreateEditor;
    std::function<void(TBaseNodeTree*, PTreeNode, TColumnIndex)> OnEdited;
    std::function<void(TBaseNodeTree*, TColumnIndex)> OnEditCancelled;
    // Starts editing a cell; true when an edit runs afterwards.
    bool EditNode(PTreeNode node, TColumnIndex column);
    bool EndEditNode();
    bool CancelEditNode();
    virtual bool CanEdit(PTreeNode node, TColumnIndex column);
    bool IsEditing() const { return HasState(tsEditing); }
    ITVEditLink* EditLink() const { return FEditLink.get(); }
    TColumnIndex EditColumn() const { return FEditColumn; }
    void SetEditDelay(uint32_t value) { FEditDelay = value; }
    // Prints the whole tree (with its header when asked and visible) over as many pages as it
    // needs; nothing for a nil printer.
    void Print(QPrinter* printer, bool printHeader);
    // Starts the edit of the focused node in the edit column (also the edit timer's work).
    virtual void DoEdit();
    virtual bool DoEndEdit();

protected:
    virtual void DoCanEdit(PTreeNode node, TColumnIndex column, bool& allowed);
    virtual std::shared_ptr<ITVEditLink> DoCreateEditor(PTreeNode node, TColumnIndex column);
    std::shared_ptr<ITVEditLink> FEditLink;

public:

protected:
    TBaseNodeTree(QWidget* parent, const TTreeClass& treeClass);

    // Node references that later parts of the control keep; a deleted node clears each of them.
    PTreeNode FFocusedNode = nullptr;
    PTreeNode FHeightTrackNode = nullptr;
    PTreeNode FCurrentHotNode = nullptr;
    PTreeNode FRangeAnchor = nullptr;
    PTreeNode FCheckNode = nullptr;
    PTreeNode FEditNode = nullptr;
    PTreeNode FDropTargetNode = nullptr;
    TNodeArray FDragSelection;
    PTreeNode FLastVCLDragTarget = nullptr;
    PTreeNode FLastSearchNode = nullptr;


    std::unique_ptr<TCustomNodeTreeOptions> FOptions;

    // Dispatchers, one per event.
    virtual void DoInitNode(PTreeNode parent, PTreeNode node, TTreeNodeInitStates& initStates);
    virtual bool DoInitChildren(PTreeNode node, uint32_t& childCount);
    virtual void DoFreeNode(PTreeNode node);
    virtual void DoReset(PTreeNode node);
    virtual void ValidateNodeDataSize(int& size);
    virtual void DoChange(PTreeNode node);
    virtual void DoStructureChange(PTreeNode node, TChangeReason reason);
    virtual void DoStateChange(TNodeTreeStates enter, TNodeTreeStates leave = 0);
    virtual void DoUpdating(TTVUpdateState state);
    virtual void DoStartOperation(TTVOperationKind kind);
    virtual void DoEndOperation(TTVOperationKind kind);
    virtual bool DoNodeCopying(PTreeNode node, PTreeNode target);
    virtual void DoNodeCopied(PTreeNode node);
    virtual bool DoNodeMoving(PTreeNode node, PTreeNode target);
    virtual void DoNodeMoved(PTreeNode node);
    virtual bool DoExpanding(PTreeNode node);
    virtual bool DoCollapsing(PTreeNode node);
    virtual void DoExpanded(PTreeNode node);
    virtual void DoCollapsed(PTreeNode node);
    virtual bool DoChecking(PTreeNode node, TCheckState& newState);
    virtual void DoChecked(PTreeNode node);
    virtual int DoCompare(PTreeNode node1, PTreeNode node2, TColumnIndex column);
    // Whether a comparison can tell nodes apart; without one sorting leaves every order as it is.
    virtual bool CanCompare() const { return bool(OnCompareNodes); }
    virtual bool DoFocusChanging(PTreeNode oldNode, PTreeNode newNode, TColumnIndex oldColumn, TColumnIndex newColumn);
    virtual void DoFocusChange(PTreeNode node, TColumnIndex column);
    virtual void DoRemoveFromSelection(PTreeNode node);
    virtual void DoSaveUserData(PTreeNode node, std::vector<uint8_t>& stream);
    virtual bool DoLoadUserData(PTreeNode node, platform::ByteReader& stream);
    virtual bool DoCancelEdit();
    virtual platform::TImageList* GetCheckImageListFor(TCheckImageKind kind) const { return InternalCheckImages(kind); }

    virtual void InitNode(PTreeNode node);
    virtual void InitChildren(PTreeNode node);
    void StructureChange(PTreeNode node, TChangeReason reason);
    virtual void Change(PTreeNode node);
    void AdviseChangeEvent(bool structureChange, PTreeNode node, TChangeReason reason);
    void StartOperation(TTVOperationKind kind);
    void EndOperation(TTVOperationKind kind);
    void MarkCacheStale();
    virtual void StartCacheValidation();
    void StopCacheValidation();
    // Runs on the worker thread; true when a complete cache was built.
    virtual bool BuildPositionCache();

    // Stream chunks; descendants add their own after the base ones.
    virtual void WriteNode(std::vector<uint8_t>& stream, PTreeNode node);
    virtual void WriteChunks(std::vector<uint8_t>& stream, PTreeNode node);
    // Reads one chunk of a node; false when the type is not this class's.
    virtual bool ReadChunk(platform::ByteReader& stream, int version, PTreeNode node, int chunkType, int depth);

    void InternalConnectNode(PTreeNode node, PTreeNode destination, TTVNodeAttachMode mode);
    PTreeNode InternalDisconnectNode(PTreeNode node, bool keepFocus, bool reindex = true, bool parentClearing = false);
    void DeleteNode(PTreeNode node, bool reindex, bool parentClearing);
    PTreeNode MakeNewNode();
    void ChangeTotalCount(PTreeNode node, int64_t value, bool relative);
    void ChangeTotalHeight(PTreeNode node, int64_t value, bool relative);
    void RebuildTotalCount(PTreeNode node);
    void RebuildTotalHeight(PTreeNode node);
    uint32_t CountVisibleChildren(PTreeNode node) const;
    void DetermineHiddenChildrenFlag(PTreeNode node);
    void DetermineHiddenChildrenFlagAllNodes();
    // ---- selection and focus ----
    virtual void ClearSelection(bool fireChange);
    virtual void AddToSelection(PTreeNode node);
    virtual void AddToSelection(TNodeArray& nodes, int newLength, bool forceInsert);
    // The batch insert: refuses disabled, already selected and constraint-breaking nodes, then
    // merges the rest into the sorted array. Reorders and marks the given array.
    bool InternalAddToSelection(TNodeArray& nodes, int count, bool forceInsert);
    bool InternalAddToSelection(PTreeNode node, bool forceInsert);
    virtual void RemoveFromSelection(PTreeNode node);
    // Unselects and marks the node's entry; the array is packed later.
    virtual void InternalRemoveFromSelection(PTreeNode node);
    virtual void InternalClearSelection();
    virtual bool FindNodeInSelection(PTreeNode node, int& index, int lowBound, int highBound) const;
    virtual void SelectNodes(PTreeNode startNode, PTreeNode endNode, bool addOnly);
    virtual void ToggleSelection(PTreeNode startNode, PTreeNode endNode);
    virtual void UnselectNodes(PTreeNode startNode, PTreeNode endNode);
    virtual void InternalCacheNode(PTreeNode node) { FTempNodeCache.push_back(node); }
    virtual void ClearTempCache() { TNodeArray().swap(FTempNodeCache); }
    virtual void ResetRangeAnchor();
    virtual void UpdateNextNodeToSelect(PTreeNode node);
    virtual void EnsureNodeFocused();
    virtual void DoFocusNode(PTreeNode node, bool ask);
    virtual void SetFocusedNodeAndColumn(PTreeNode node, TColumnIndex column);
    // Packs the selection array when entries are marked.
    void PackSelection();
    PTreeNode RangeStart(PTreeNode startNode, PTreeNode fallback);
    // Moves the selection off a collapsed subtree under toAlwaysSelectNode.
    void CollapseSelectionRepair();
    // Whether the header lets the column hold the focus; any column without header columns.
    bool ColumnAllowsFocus(TColumnIndex column) const;
    bool FSelectionLocked = false;
    int FLastSelectionLevel = -1;

    // ==== scrolling, geometry and painting ====
public:
    std::function<void(TBaseNodeTree*, platform::TCanvas&, PTreeNode, int& nodeHeight)> OnMeasureItem;
    std::function<void(TBaseNodeTree*, int deltaX, int deltaY)> OnScroll;
    std::function<void(TBaseNodeTree*, int bar, bool show)> OnShowScrollBar;
    std::function<void(TBaseNodeTree*, platform::TCanvas&)> OnBeforePaint;
    std::function<void(TBaseNodeTree*, platform::TCanvas&)> OnAfterPaint;
    std::function<void(TBaseNodeTree*, platform::TCanvas&, PTreeNode, const QRect& itemRect, bool& customDraw)> OnBeforeItemPaint;
    std::function<void(TBaseNodeTree*, platform::TCanvas&, PTreeNode, const QRect& itemRect)> OnAfterItemPaint;
    std::function<void(TBaseNodeTree*, platform::TCanvas&, PTreeNode, const QRect& itemRect, TColor& itemColor,
                       TItemEraseAction& eraseAction)> OnBeforeItemErase;
    std::function<void(TBaseNodeTree*, platform::TCanvas&, PTreeNode, const QRect& itemRect)> OnAfterItemErase;
    std::function<void(TBaseNodeTree*, platform::TCanvas&, PTreeNode, TColumnIndex, TTVCellPaintMode,
                       const QRect& cellRect, QRect& contentRect)> OnBeforeCellPaint;
    std::function<void(TBaseNodeTree*, platform::TCanvas&, PTreeNode, TColumnIndex, const QRect& cellRect)> OnAfterCellPaint;
    std::function<void(TBaseNodeTree*, platform::TCanvas&, const QRect& r, bool& handled)> OnPaintBackground;
    std::function<void(TBaseNodeTree*, PTreeNode, int level, int& posX)> OnBeforeDrawTreeLine;
    std::function<void(TBaseNodeTree*, PTreeNode, TTVImageKind, TColumnIndex, bool& ghosted, int& imageIndex)> OnGetImageIndex;
    std::function<void(TBaseNodeTree*, PTreeNode, TTVImageKind, TColumnIndex, QString& imageText)> OnGetImageText;
    // Answers whether a cell shows nothing; asked with isEmpty true.
    std::function<void(TBaseNodeTree*, PTreeNode, TColumnIndex, bool& isEmpty)> OnGetCellIsEmpty;
    std::function<void(TTVHeader*, TColumnIndex, bool& useSmartColumnWidth)> OnBeforeGetMaxColumnWidth;
    std::function<void(TTVHeader*, TColumnIndex, int& maxWidth)> OnAfterGetMaxColumnWidth;

    // Offsets of the virtual canvas against the client area: 0 or negative, clamped to the ranges.
    int OffsetX() const { return FOffsetX; }
    void SetOffsetX(int value);
    QPoint OffsetXY() const { return QPoint(FOffsetX, FOffsetY); }
    void SetOffsetXY(const QPoint& value);
    // The horizontal position as the scroll bar shows it.
    int EffectiveOffsetX() const { return FEffectiveOffsetX; }
    // Right-to-left display: how far the columns move right so that their right end meets the
    // client's right edge when they are narrower than the window (0 otherwise).
    int ComputeRTLOffset(bool excludeScrollBar = false) const;
    uint32_t RangeX() const { return FRangeX; }
    uint32_t RangeY() const { return FRangeY; }
    void UpdateScrollBars(bool repaint);
    void UpdateHorizontalScrollBar(bool repaint);
    void UpdateVerticalScrollBar(bool repaint);
    void UpdateRanges();
    void UpdateHorizontalRange();
    void UpdateVerticalRange();
    bool ScrollIntoView(PTreeNode node, bool center, bool horizontally = false);
    bool ScrollIntoView(TColumnIndex column, bool center);
    // A node's row, cell or text in client coordinates; empty for a node not shown.
    QRect GetDisplayRect(PTreeNode node, TColumnIndex column, bool textOnly, bool unclipped = false,
                         bool applyCellContentMargin = false);
    QRect GetTreeRect() const;
    int GetMaxColumnWidth(TColumnIndex column, bool useSmartColumnWidth = false);
    void MeasureItemHeight(platform::TCanvas& canvas, PTreeNode node);
    // The node's height, measured first with variable node heights.
    uint32_t NodeHeightOf(PTreeNode node);
    void SetTopNode(PTreeNode node);
    void SetBottomNode(PTreeNode node);
    // Paints the part `window` of the content (content coordinates, offsets not applied) onto the
    // canvas with the window's top-left at `target`.
    void PaintTree(platform::TCanvas& targetCanvas, const QRect& window, const QPoint& target,
                   TTVInternalPaintOptions paintOptions);
    // The content as it shows in the client area, as an image of the client size.
    QImage RenderClient();
    platform::TImageList* Images() const { return FImages; }
    void SetImages(platform::TImageList* list) { SetAndRepaint(FImages, list); }
    platform::TImageList* StateImages() const { return FStateImages; }
    void SetStateImages(platform::TImageList* list) { SetAndRepaint(FStateImages, list); }
    bool HasImage(PTreeNode node, TTVImageKind kind, TColumnIndex column);
    QSize GetNodeImageSize(PTreeNode node) const;
    // The index into the check image list for the node's check type and state.
    int GetCheckImage(PTreeNode node, TCheckType imgCheckType = ctNone, TCheckState imgCheckState = csUncheckedNormal,
                      bool imgEnabled = true) const;
    // Content width of a node in a column, and what follows it (the string tree's static text).
    virtual int DoGetNodeWidth(PTreeNode node, TColumnIndex column, platform::TCanvas* canvas = nullptr);
    virtual int DoGetNodeExtraWidth(PTreeNode node, TColumnIndex column, platform::TCanvas* canvas = nullptr);
    // The node's top in the virtual canvas (through the position cache when it is in use).
    int64_t AbsoluteNodeTop(PTreeNode node);
    // The background picture (toShowBackground).
    const QImage& Background() const { return FBackground; }
    void SetBackground(const QImage& image)
    {
        FBackground = image;
        FBackgroundTile = QPixmap();
        Invalidate();
    }
    // The drop mode last reported for the drop target.
    TTVDropMode LastDropMode() const { return FLastDropMode; }

    // The window frame: the border, then the bevel and BorderWidth pixels in BorderColor inside it.
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value) { SetFrameValue(FBorderStyle, value); }
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value) { SetFrameValue(FCtl3D, value); }
    TBevelKind BevelKind() const { return FBevelKind; }
    void SetBevelKind(TBevelKind value) { SetFrameValue(FBevelKind, value); }
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value) { SetFrameValue(FBevelInner, value); }
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value) { SetFrameValue(FBevelOuter, value); }
    TBevelEdges BevelEdges() const { return FBevelEdges; }
    void SetBevelEdges(TBevelEdges value) { SetFrameValue(FBevelEdges, TBevelEdges(value & AllBevelEdges)); }
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value) { SetFrameValue(FBevelWidth, std::max(1, value)); }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value) { SetFrameValue(FBorderWidth, std::max(0, value)); }
    // The window's own border: zero or negative sizes, as the frame is taken off the window.
    virtual QSize GetBorderDimensions() const;
    // The frame's width on each side: border, bevel and BorderWidth.
    QMargins FrameMargins() const;
    // Paints the whole frame onto a canvas the size of the window, in window coordinates.
    void PaintFrame(platform::TCanvas& canvas, QSize windowSize);

protected:
    virtual bool DoSetOffsetXY(QPoint value, TScrollUpdateOptions options, const QRect* clipRect = nullptr);
    virtual void DoScroll(int deltaX, int deltaY);
    virtual void DoShowScrollBar(int bar, bool show);
    virtual int DoMeasureItem(platform::TCanvas& canvas, PTreeNode node, int nodeHeight);
    void Paint() override;
    virtual void DoPaintNode(TTVPaintInfo& paintInfo);
    virtual void AdjustPaintCellRect(TTVPaintInfo& paintInfo, TColumnIndex& nextNonEmpty);
    virtual int DetermineLineImageAndSelectLevel(PTreeNode node, TLineImage& lineImage);
    virtual void PrepareCell(TTVPaintInfo& paintInfo, int windowOrgX, int maxWidth);
    virtual void PaintTreeLines(const TTVPaintInfo& paintInfo, int vAlignment, int indentSize, const TLineImage& lineImage);
    virtual void PaintNodeButton(platform::TCanvas& canvas, PTreeNode node, TColumnIndex column, const QRect& r,
                                 int buttonX, int buttonY, bool rightToLeft);
    virtual void PaintCheckImage(platform::TCanvas& canvas, const TTVImageInfo& imageInfo, bool selected);
    virtual void PaintImage(TTVPaintInfo& paintInfo, TTVImageInfoIndex slot, bool doOverlay);
    virtual void DoPaintDropMark(platform::TCanvas& canvas, PTreeNode node, const QRect& r);
    // The rubber band: blended with its border colour, or a dotted focus rectangle.
    virtual void PaintSelectionRectangle(platform::TCanvas& target, int windowOrgX, const QRect& selectionRect,
                                         const QRect& targetRect);
    // The bevel and BorderWidth inside the window's border (r is the whole window).
    virtual void PaintNonClientBorder(platform::TCanvas& canvas, const QRect& window);
    void PaintWindowFrame(QPainter& painter) override;
    virtual void DoGetImageIndex(PTreeNode node, TTVImageKind kind, TColumnIndex column, bool& ghosted, int& index);
    virtual void DoBeforeCellPaint(platform::TCanvas& canvas, PTreeNode node, TColumnIndex column,
                                   TTVCellPaintMode mode, const QRect& cellRect, QRect& contentRect);
    // Whether a cell shows nothing: empty unless OnGetCellIsEmpty says otherwise (the string tree
    // asks its text first).
    virtual bool ColumnIsEmpty(PTreeNode node, TColumnIndex column);
    virtual void DoGetImageText(PTreeNode node, TTVImageKind kind, TColumnIndex column, QString& imageText);
    // The gaps between a cell and its content, as OnBeforeCellPaint leaves them.
    virtual QPoint DoGetCellContentMargin(PTreeNode node, TColumnIndex column,
                                          TTVCellContentMarginType marginType = ccmtAllSides,
                                          platform::TCanvas* canvas = nullptr);
    void GetImageIndex(TTVPaintInfo& info, TTVImageKind kind, TTVImageInfoIndex index, platform::TImageList* defaultImages);
    void AdjustImageBorder(platform::TImageList* images, bool rightToLeft, int vAlign, QRect& r, TTVImageInfo& imageInfo);
    void DrawDottedHLine(const TTVPaintInfo& paintInfo, int left, int right, int top);
    void DrawDottedVLine(const TTVPaintInfo& paintInfo, int top, int bottom, int left, bool useSelectedBkColor = false);
    // The horizontal range without columns: the widest content among the nodes in view.
    int GetMaxRightExtend();
    // The selection colour and its border: the focused pair with focus or in popup mode.
    TColor SelectionColor() const;
    TColor SelectionBorderColor() const;
    bool PaintsFocused() const;
    // The row the mouse selects with (content coordinates); empty when none is drawn.
    QRect FNewSelRect;
    TTVDropMode FLastDropMode = dmNowhere;
    // The hot node's hot spot is its button: the button paints in its hot look.
    bool FHotOnButton = false;

private:
    void PrepareButtonBitmaps();
    // Expands every collapsed ancestor, so that the node shows.
    void ExpandAncestors(PTreeNode node);
    // backgroundOffset takes r's coordinates to the target's, where the background picture is anchored.
    void EraseItem(TTVPaintInfo& paintInfo, const QRect& r, bool useBackground, QPoint backgroundOffset);
    // The background picture over the area: tiled, or placed once over the control's colour with
    // toStaticBackground; offset takes the area's coordinates to the target's.
    void PaintBackgroundPicture(QPainter& painter, const QRect& area, QPoint offset);
    void PaintRowCells(TTVPaintInfo& paintInfo, const QRect& window, int paintWidth, int indentSize,
                       const TLineImage& lineImage, int vAlign, int buttonY, TTVInternalPaintOptions options,
                       TColumnIndex& firstColumn);
    void PaintBelowLastRow(platform::TCanvas& canvas, const QRect& area, TColumnIndex firstColumn);
    // A tree item of the explorer look (hot 2, selected 3, selected without focus 5, hot and
    // selected 6), drawn in the tree's own colours.
    void DrawThemedTreeItem(platform::TCanvas& canvas, const QRect& r, int state);
    // The draw-selection rectangle in content coordinates, normalised; empty when none shows.
    QRect PaintedSelectionRect() const;
    TBorderStyle FBorderStyle = bsSingle;
    bool FCtl3D = true;
    TBevelKind FBevelKind = bkNone;
    TBevelCut FBevelInner = bvRaised;
    TBevelCut FBevelOuter = bvLowered;
    TBevelEdges FBevelEdges = AllBevelEdges;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    int FEffectiveOffsetX = 0;
    uint32_t FRangeX = 0;
    uint32_t FRangeY = 0;
    uint32_t FLastRootHeight = UINT32_MAX;
    bool FScrollBarsStale = true;
    bool FScrollBarsQueued = false;
    platform::TImageList* FImages = nullptr;
    platform::TImageList* FStateImages = nullptr;
    QImage FBackground;
    QPixmap FBackgroundTile;  // FBackground converted once for tiling, on first paint
    QImage FPlusBM, FMinusBM, FHotPlusBM, FHotMinusBM, FSelectedHotPlusBM, FSelectedHotMinusBM;
    // ==== end of scrolling, geometry and painting ====

    // ==== mouse handling and hit testing ====
public:
    std::function<void(TBaseNodeTree*, const THitInfo&)> OnNodeClick;
    std::function<void(TBaseNodeTree*, const THitInfo&)> OnNodeDblClick;
    std::function<void(TBaseNodeTree*, TColumnIndex, platform::TShiftState)> OnColumnClick;
    std::function<void(TBaseNodeTree*, TColumnIndex, platform::TShiftState)> OnColumnDblClick;
    std::function<void(TBaseNodeTree*, PTreeNode node, TColumnIndex, bool& allowed)> OnDragAllowed;
    std::function<void(TBaseNodeTree*, QPoint p, PTreeNode node, TColumnIndex, bool& allowed)> OnCanSplitterResizeNode;
    std::function<void(TBaseNodeTree*, PTreeNode node, TColumnIndex, platform::TShiftState, QPoint& trackPoint,
                       QPoint p, bool& allowed)> OnNodeHeightTracking;
    std::function<void(TBaseNodeTree*, PTreeNode node, TColumnIndex, platform::TShiftState, QPoint p, bool& allowed)>
        OnNodeHeightDblClickResize;

    // What the point is over; relative: client coordinates, else content coordinates.
    void GetHitTestInfoAt(int x, int y, bool relative, THitInfo& hitInfo);
    TColumnIndex HotColumn() const { return FCurrentHotColumn; }
    // The rubber band in content coordinates, the press point first.
    QRect SelectionRect() const { return FNewSelRect; }

protected:
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    virtual void HandleMouseDown(TWMMouse& message, THitInfo& hitInfo);
    virtual void HandleMouseUp(const TWMMouse& message, const THitInfo& hitInfo);
    virtual void HandleMouseDblClick(const TWMMouse& message, const THitInfo& hitInfo);
    virtual void HandleClickSelection(PTreeNode lastFocused, PTreeNode newNode, platform::TShiftState shift,
                                      bool dragPending);
    virtual void HandleHotTrack(int x, int y);
    virtual bool CalculateSelectionRect(int x, int y);
    virtual bool HandleDrawSelection(int x, int y);
    virtual bool CollectSelectedNodesLTR(TColumnIndex mainColumn, int nodeLeft, const QRect& newRect,
                                         const QRect& oldRect, TAlignment alignment, int nodeRight);
    virtual bool CollectSelectedNodesRTL(TColumnIndex mainColumn, int nodeLeft, const QRect& newRect,
                                         const QRect& oldRect, TAlignment alignment, int nodeRight);
    virtual void DetermineHitPositionLTR(THitInfo& hitInfo, int offset, int right, TAlignment alignment);
    virtual void DetermineHitPositionRTL(THitInfo& hitInfo, int offset, int right, TAlignment alignment);
    virtual bool CanAutoScroll() const;
    virtual TScrollDirections DetermineScrollDirections(int x, int y);
    virtual void DoAutoScroll(int x, int y);
    // One tick of the scroll timer (4) once it runs at the scroll interval.
    virtual void DoTimerScroll();
    virtual void StartWheelPanning(QPoint position);
    void AdjustPanningCursor(int x, int y);
    // The small window that marks where panning started; nil while not panning.
    QWidget* PanningWindow() const { return FPanningWindow.get(); }
    virtual void StopWheelPanning();
    virtual bool CanSplitterResizeNode(QPoint p, PTreeNode node, TColumnIndex column);
    virtual void DoNodeClick(const THitInfo& hitInfo);
    virtual void DoNodeDblClick(const THitInfo& hitInfo);
    virtual void DoColumnClick(TColumnIndex column, platform::TShiftState shift);
    virtual void DoColumnDblClick(TColumnIndex column, platform::TShiftState shift);
    virtual bool DoBeforeDrag(PTreeNode node, TColumnIndex column);
    virtual bool DoNodeHeightTracking(PTreeNode node, TColumnIndex column, platform::TShiftState shift,
                                      QPoint& trackPoint, QPoint p);
    virtual bool DoNodeHeightDblClickResize(PTreeNode node, TColumnIndex column, platform::TShiftState shift, QPoint p);
    int CountLevelDifference(PTreeNode node1, PTreeNode node2) const;
    // The header has mouse work of its own under way (dragging, sizing).
    bool HeaderBusy() const;
    QPoint FLastClickPos;
    TScrollDirections FScrollDirections = 0;
    int64_t FDragScrollStart = 0;
    QRect FLastSelRect;
    platform::TShiftState FDrawSelShiftState = 0;
    TColumnIndex FCurrentHotColumn = NoColumn;
    bool FHotNodeButtonHit = false;
    TColumnIndex FHeightTrackColumn = NoColumn;
    QPoint FHeightTrackPoint;

private:
    int HitIndentWidth(PTreeNode node, bool mainColumn) const;
    int HitCheckWidth(PTreeNode node, bool mainColumn) const;
    int DrawSelectionTextLeft(PTreeNode node, int nodeLeft, TColumnIndex mainColumn);
    bool ApplyDrawSelectionChange(PTreeNode node, bool inOld, bool inNew);
    // A press on a check box: the pressed look now, the change when the button comes up.
    void StartMouseCheckPress(PTreeNode node, platform::TMouseButton button);
    std::unique_ptr<QWidget> FPanningWindow;
    QImage FPanningImage;
    QCursor FPanningCursor;
    QString FPanningCursorName;
    // ==== end of mouse handling and hit testing ====

    // ==== check states, keyboard, window messages and hints ====
public:
    std::function<void(TBaseNodeTree*, int& key, platform::TShiftState& shift, bool& doDefault)> OnKeyAction;
    std::function<void(TBaseNodeTree*, PTreeNode node, const QString& searchText, int& result)> OnIncrementalSearch;
    std::function<void(TBaseNodeTree*, PTreeNode node, TColumnIndex column, int& helpContext)> OnGetHelpContext;
    std::function<void(TBaseNodeTree*, PTreeNode node, TColumnIndex column, TTVHintKind& kind)> OnGetHintKind;
    std::function<void(TBaseNodeTree*, PTreeNode node, TColumnIndex column, QRect& r)> OnGetHintSize;
    std::function<void(TBaseNodeTree*, platform::TCanvas&, PTreeNode node, const QRect& r, TColumnIndex column)> OnDrawHint;
    std::function<void(TBaseNodeTree*, PTreeNode oldNode, PTreeNode newNode)> OnHotChange;
    std::function<void(TBaseNodeTree*)> OnMouseEnter;
    std::function<void(TBaseNodeTree*)> OnMouseLeave;
    std::function<void(TBaseNodeTree*, QCursor& cursor)> OnGetCursor;
    // Asked for the help context of F1 when the help system shows it.
    static inline std::function<void(int helpContext)> ShowHelpContext;
    // The platform's wheel setting: lines per notch, or WheelScrollPage for whole pages.
    static inline unsigned WheelScrollLines = 3;
    static constexpr unsigned WheelScrollPage = 0xFFFFFFFFu;

    // Every node (the selected ones only) gets the state, disabled ones left out on request.
    void SetCheckStateForAll(TCheckState checkState, bool selectedOnly, bool excludeDisabled);
    // Every node not unchecked becomes unchecked; nodes are not initialised for it.
    void ClearChecked();

    TTVIncrementalSearch IncrementalSearch() const { return FIncrementalSearch; }
    void SetIncrementalSearch(TTVIncrementalSearch value);
    void SetIncrementalSearchTimeout(uint32_t value) { FSearchTimeout = value; }
    TTVSearchDirection IncrementalSearchDirection() const { return FSearchDirection; }
    void SetIncrementalSearchDirection(TTVSearchDirection value) { FSearchDirection = value; }
    TTVSearchStart IncrementalSearchStart() const { return FSearchStart; }
    void SetIncrementalSearchStart(TTVSearchStart value) { FSearchStart = value; }
    const QString& SearchBuffer() const { return FSearchBuffer; }
    // Ends a running incremental search: the text is emptied and the last hit forgotten.
    void ResetIncrementalSearch();

    TTVHintMode HintMode() const { return FHintMode; }
    void SetHintMode(TTVHintMode value) { FHintMode = value; }
    THintAnimationType HintAnimation() const { return FAnimationType; }
    void SetHintAnimation(THintAnimationType value) { FAnimationType = value; }
    // The area of the client where the hint now shown holds; empty when none.
    const QRect& LastHintRect() const { return FLastHintRect; }
    const TTVHintData& HintData() const { return FHintData; }
    // The tree's hint window while one exists.
    class TNodeTreeHintWindow* HintWindow() const { return FHintWindow; }
    // Hides a hint the tree shows.
    void CancelHint();
    bool RightToLeft() const { return layoutDirection() == Qt::RightToLeft; }
    // The cursor over the hot node while hot tracking; the arrow means the control's own.
    const QCursor& HotCursor() const { return FHotCursor; }
    void SetHotCursor(const QCursor& cursor) { FHotCursor = cursor; }

    // Emulation of the standard tree view's item queries for tools that read trees: a TVGN_...
    // code and an item give an item (nil for none).
    PTreeNode GetNextItem(int flag, PTreeNode item);
    // The item's rectangle when it is shown (text only on request), else false.
    bool GetItemRect(PTreeNode item, bool textOnly, QRect& r);
    // Fills the fields the mask asks for (TVIF_...); false without TVIF_HANDLE or an item. The
    // text goes into the buffer, cut to its capacity and always terminated.
    struct TTVItem {
        unsigned Mask = 0;
        PTreeNode Item = nullptr;
        unsigned State = 0;
        unsigned StateMask = 0;
        char16_t* Text = nullptr;
        int TextMax = 0;
        int Image = 0;
        int SelectedImage = 0;
        int Children = 0;
    };
    bool GetItem(TTVItem& item);
    // The node's text in a column with the rectangle it takes; the font may be changed for it.
    // The base tree has no texts.
    virtual void GetTextInfo(PTreeNode node, TColumnIndex column, platform::TFont& font, QRect& r, QString& text);

protected:
    // The check press and propagation; the state a press applies on release.
    TCheckState FPendingCheckState = csUncheckedNormal;
    virtual void DoCheckClick(PTreeNode node, TCheckState newState);
    virtual TCheckState DetermineNextCheckState(TCheckType checkType, TCheckState checkState);
    virtual bool CheckParentCheckState(PTreeNode node, TCheckState newState);
    bool ApplyCheckState(PTreeNode node, TCheckState value);
    // The two-phase press of Space: a pressed look now, the change on release.
    void StartKeyCheckPress();
    void CancelCheckPress();
    void FinishKeyCheckPress();

    // Keys.
    void KeyDown(int& key, platform::TShiftState shift) override;
    void KeyUp(int& key, platform::TShiftState shift) override;
    void KeyPress(QChar& key) override;
    unsigned GetDlgCode() override;
    virtual bool DoKeyAction(int& key, platform::TShiftState& shift);
    virtual void IncrementalSearch(int charCode);
    // 0 when the node matches the search text.
    virtual int DoIncrementalSearch(PTreeNode node, const QString& text);
    virtual void DoPopupMenu(PTreeNode node, TColumnIndex column, QPoint position);

    // ==== focus query and context menus ====
public:
    // False also while the parent form is disabled or hidden.
    bool CanFocus() const;
    virtual QMenu* DoGetPopupMenu(PTreeNode node, TColumnIndex column, QPoint position);
    virtual bool HasPopupMenu(PTreeNode node, TColumnIndex column, QPoint position);
    // ==== end of focus query and context menus ====
protected:

    // Window messages.
    void Timer(int id) override;
    void Scroll(platform::TScrollBarKind bar, int code, int pos) override;
    bool MouseWheel(platform::TShiftState shift, int wheelDelta, int x, int y) override;
    void Resize() override;
    void DoEnter() override;
    void DoExit() override;
    void MouseEnter() override;
    void MouseLeave() override;
    QCursor CursorAt(int x, int y) override;
    virtual void DoGetCursor(QCursor& cursor);
    // Colour, font, reading order and style changes of the window.
    void changeEvent(QEvent* event) override;
    // Ends the modes a lost mouse or a closed menu leaves behind (WM_CANCELMODE).
    void CancelMode();
    // The tree's timers by name; bare ids are not taken, so no two uses share one by accident.
    void StartTimer(TTreeTimer id, int intervalMs) { TCustomControl::SetTimer(int(id), intervalMs); }
    void StopTimer(TTreeTimer id) { TCustomControl::KillTimer(int(id)); }
    void SetTimer(int, int) = delete;
    void KillTimer(int) = delete;
    virtual void DoHotChange(PTreeNode oldNode, PTreeNode newNode);
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    // A theme change from outside re-creates the window after a pause; the tree's own does not.
    void ThemeChanged();
    bool FChangingTheme = false;

    // Hints.
    bool viewportEvent(QEvent* event) override;
    // In automatic drag mode a left press reaches the tree without the platform's own drag start:
    // the tree starts drags itself from what the press hit.
    void mousePressEvent(QMouseEvent* event) override;
    bool ShowOwnHint(const QPoint& clientPos, const QPoint& globalPos) override;
    virtual QString DoGetNodeHint(PTreeNode node, TColumnIndex column, TTVTooltipLineBreakStyle& lineBreakStyle);
    virtual QString DoGetNodeTooltip(PTreeNode node, TColumnIndex column, TTVTooltipLineBreakStyle& lineBreakStyle);
    virtual TTVHintKind GetDefaultHintKind() { return vhkText; }
    TTVHintKind DoGetHintKind(PTreeNode node, TColumnIndex column);
    void DoGetHintSize(PTreeNode node, TColumnIndex column, QRect& r);
    void DoDrawHint(platform::TCanvas& canvas, PTreeNode node, const QRect& r, TColumnIndex column);
    virtual THintAnimationType DoGetAnimationType();
    // The window class hints are shown in; a descendant may give its own.
    virtual class TNodeTreeHintWindow* CreateHintWindow();

private:
    friend class TNodeTreeHintWindow;
    // The hint decision for a client point: fills the hint data and the area it holds for;
    // false when no tree hint shows there.
    bool DecideHint(const QPoint& clientPos, QRect& cursorRect, QPoint& hintPos);
    void HandleKeyDown(int& key, platform::TShiftState shift);
    void KeyNavigate(int key, platform::TShiftState shift);
    void KeyCommand(int& key, platform::TShiftState shift);
    PTreeNode SearchStep(PTreeNode node, bool forward, bool wrap);

    bool FKeyDownSeen = false;
    uint32_t FCheckPropagationCount = 0;
    TTVIncrementalSearch FIncrementalSearch = isNone;
    TTVSearchDirection FSearchDirection = sdForward;
    TTVSearchStart FSearchStart = ssFocusedNode;
    QString FSearchBuffer;
    TTVHintMode FHintMode = hmDefault;
    THintAnimationType FAnimationType = hatSystemDefault;
    TTVHintData FHintData;
    QRect FLastHintRect;
    class TNodeTreeHintWindow* FHintWindow = nullptr;  // a child object, made on first use
    QCursor FHotCursor;
    // ==== end of check states, keyboard, window messages and hints ====

    // ==== clipboard, data transfer and drag and drop ====
public:
    std::function<void(TBaseNodeTree*, QObject* source, platform::TShiftState, tree::TDragState, QPoint pt, TTVDropMode,
                       int& effect, bool& accept)> OnDragOver;
    std::function<void(TBaseNodeTree*, QObject* source, const TDataObjectPtr&, const std::vector<TClipFormat>& formats,
                       platform::TShiftState, QPoint pt, int& effect, TTVDropMode)> OnDragDrop;
    std::function<void(TBaseNodeTree*, TDataObjectPtr& dataObject)> OnCreateDataObject;
    std::function<void(TBaseNodeTree*, std::shared_ptr<TTVDragManager>& manager)> OnCreateDragManager;
    std::function<void(TBaseNodeTree*, std::vector<TFormatEtc>& formats)> OnGetUserClipboardFormats;
    std::function<void(TBaseNodeTree*, const TFormatEtc&, TStgMedium&, bool forClipboard, HResult& result)>
        OnRenderOLEData;

    void CopyToClipboard();
    void CutToClipboard();
    bool PasteFromClipboard();
    void CancelCutOrCopy();
    void FinishCutOrCopy();
    void FlushClipboard();
    bool ProcessDrop(const TDataObjectPtr& dataObject, PTreeNode targetNode, int& effect, TTVNodeAttachMode mode);
    bool ProcessOLEData(TBaseNodeTree* source, const TDataObjectPtr& dataObject, PTreeNode targetNode,
                        TTVNodeAttachMode mode, bool optimized);
    void DeleteSelectedNodes();
    // The tree in this process that offers the data object's nodes; nil for any other.
    TBaseNodeTree* GetTreeFromDataObject(const TDataObjectPtr& dataObject) const;
    // Renders a format for a data object of this tree.
    virtual HResult RenderOLEData(const TFormatEtc& formatEtcIn, TStgMedium& medium, bool forClipboard);

    // Starts a drag of the selection; a negative threshold takes the system's drag distance.
    void BeginDrag(bool immediate, int threshold = -1);
    bool Dragging() const;
    void PrepareDragImage(QPoint hotSpot, const TDataObjectPtr& dataObject);
    TTVDragManager& DragManager();
    TTVDragImage& DragImage();
    int DragThreshold() const { return FDragThreshold; }
    void SetDragWidth(int value) { FDragWidth = value; }
    void SetDragHeight(int value) { FDragHeight = value; }
    void SetAutoExpandDelay(uint32_t value) { FAutoExpandDelay = value; }
    // The effect the last drag from this tree ended with.
    int LastDragEffect() const { return FLastDragEffect; }

    // Drop-target calls, in client coordinates for the drag manager; the screen point of the
    // platform is converted by the caller.
    virtual HResult DragEnter(int keyState, QPoint pt, int& effect);
    virtual HResult DragOver(QObject* source, int keyState, tree::TDragState dragState, QPoint pt, int& effect);
    virtual void DragLeave();
    virtual HResult DragDrop(const TDataObjectPtr& dataObject, int keyState, QPoint pt, int& effect);
    virtual TTVDropMode DetermineDropMode(QPoint p, THitInfo& hitInfo, QRect& nodeRect);
    virtual int SuggestDropEffect(QObject* source, platform::TShiftState shift, QPoint pt, int allowedEffects);
    virtual void DoDragExpand();

protected:
    virtual void MarkCutCopyNodes();
    virtual void DoDragging(QPoint p);
    // Runs the platform's drag loop; answers the effect it ended with.
    virtual void DragAndDrop(int allowedEffects, const TDataObjectPtr& dataObject, int& dragEffect);
    virtual bool DoDragOver(QObject* source, platform::TShiftState shift, tree::TDragState state, QPoint pt,
                            TTVDropMode mode, int& effect);
    virtual void DoDragDrop(QObject* source, const TDataObjectPtr& dataObject, const std::vector<TClipFormat>& formats,
                            platform::TShiftState shift, QPoint pt, int& effect, TTVDropMode mode);
    virtual TDataObjectPtr DoCreateDataObject();
    virtual std::shared_ptr<TTVDragManager> DoCreateDragManager();
    virtual void DoGetUserClipboardFormats(std::vector<TFormatEtc>& formats) const;
    virtual HResult DoRenderOLEData(const TFormatEtc& formatEtcIn, TStgMedium& medium, bool forClipboard);
    // Qt's drag events on the client area, handed to the drag manager.
    bool HandleDragEvent(QEvent* event);
    // Plain drags between controls of the program (dtVCL, and other controls dragged over the
    // tree): the tree tracks the drop target and asks OnDragOver and OnDragDrop as for others.
    void DragMessage(TDragMessageRec& message) override;
    void DoEndDrag(platform::TCustomControl* target, int x, int y, bool started) override;
    // The end of a drag from the tree: its drag states go.
    virtual void DragFinished();
    // Starts a pending drag once the mouse has left the threshold around the press point.
    bool CheckPendingDrag(int x, int y);

private:
    friend class TTVDragManager;
    std::shared_ptr<TTVDragManager> FDragManager;
    std::shared_ptr<TTVDragImage> FDragImage;
    int FDragThreshold = 5;
    int FLastDragEffect = DROPEFFECT_NONE;
    // The effect of the last plain drag over the tree.
    int FVCLDragEffect = DROPEFFECT_NONE;
    // The platform clipboard holds a data object of this tree.
    std::weak_ptr<IDataObject> FClipboardObject;
    // ==== end of clipboard, data transfer and drag and drop ====

private:
    friend class TWorkerThread;
    friend class TVclStyleScrollBarsHook;
    friend void ReleaseWorker(TBaseNodeTree*);
    friend class TTVTreeNodeEnumeration;
    friend class TCustomNodeTreeOptions;
    friend class TTVColors;
    friend class TTVHeader;
    friend class TNodeTreeColumns;
    friend class TNodeTreeColumn;
    friend struct TreeInvariants;

    void AllocateRootNode();
    template <typename T>
    void SetAndRepaint(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Invalidate();
    }
    // A frame property: the client area shrinks or grows with the frame.
    template <typename T>
    void SetFrameValue(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        SetFrameWidths(FrameMargins());
        update();
        Invalidate();
    }
    void EnterStates(TNodeTreeStates s) { FStates.fetch_or(s, std::memory_order_acq_rel); }
    void LeaveStates(TNodeTreeStates s) { FStates.fetch_and(~s, std::memory_order_acq_rel); }
    void ForgetNodeReferences(PTreeNode node);
    void FreeNodeBlock(PTreeNode node);
    void FreeSubtree(PTreeNode node);
    // The parent's children count as shown: the parent is the root, or expanded and fully visible.
    bool ChildrenShown(PTreeNode parent) const;
    void EndUpdateFinish();
    // Switches the window's painting off for the outermost update bracket and on after it.
    void SetUpdateState(bool updating);
    bool ShouldAutoSort() const;
    void SetChildrenHiddenFlag(PTreeNode node, bool hidden);
    void SortChildren(PTreeNode node, TColumnIndex column, TSortDirection direction);
    // After a toggle outside an update: scroll bars, the view's position and the repaint.
    void ShowToggle(PTreeNode node, bool moved, bool expanded, int64_t heightChange);
    void ApplyWorkerStateRequests();
    void CheckMainThread() const;
    void ReadNode(platform::ByteReader& stream, int version, PTreeNode node, int depth);
    // Reads header and nodes into detached subtrees; nothing is linked.
    void ReadBody(std::span<const uint8_t> stream, TNodeArray& loaded);
    void LinkLoaded(const TNodeArray& loaded, PTreeNode target);
    // Reads the node chunks another tree's WriteNode produced into detached subtrees of this tree.
    void ReadDetachedNodes(std::span<const uint8_t> bytes, TNodeArray& loaded);
    // The tree a move or copy target belongs to, with the target and mode normalised for it.
    TBaseNodeTree& ResolveTarget(PTreeNode& target, TTVNodeAttachMode& mode);
    void WriteSource(std::vector<uint8_t>& bytes, PTreeNode source, bool childrenOnly);
    void AfterLoadSelection(PTreeNode node);
    void FixLoadedSubtree(PTreeNode node);
    bool ChildrenAboveOrder(bool consider) const;
    void EnsureInitialized(PTreeNode node);
    void EnsureChildren(PTreeNode node);
    // The topmost ancestor (or the node) that is hidden or under a collapsed parent; nil when shown.
    PTreeNode TopmostHidden(PTreeNode node) const;
    PTreeNode VisibleSiblingStep(PTreeNode node, bool forward, bool includeFiltered, bool init);
    PTreeNode NextVisibleWalk(PTreeNode node, bool considerChildrenAbove, bool init);
    PTreeNode PreviousVisibleWalk(PTreeNode node, bool considerChildrenAbove, bool init);
    PTreeNode FirstVisibleWalk(PTreeNode node, bool considerChildrenAbove, bool includeFiltered, bool init);
    PTreeNode FindNoInit(PTreeNode from, bool forward, bool considerChildrenAbove, const std::function<bool(PTreeNode)>& match);
    PTreeNode AncestorAtLevel(PTreeNode node, uint32_t level) const;
    // The node whose row holds the tree coordinate, or nil; gives up on very long sibling lists
    // while a position cache can serve instead.
    PTreeNode DescendTo(int64_t target, uint32_t& top, bool& gaveUp) const;
    void ApplyShowFilteredChange(bool show);
    void SortLevel(PTreeNode node, TColumnIndex column, TSortDirection direction, bool doInit);
    PTreeNode ParentOf(PTreeNode n) const { return FPool.Get(n->ParentId); }
    PTreeNode NextOf(PTreeNode n) const { return FPool.Get(n->NextId); }
    PTreeNode FirstOf(PTreeNode n) const { return FPool.Get(n->FirstChildId); }
    PTreeNode LastOf(PTreeNode n) const
    {
        PTreeNode first = FirstOf(n);
        return first ? FPool.Get(first->PrevId) : nullptr;
    }
    PTreeNode PrevOf(PTreeNode n) const
    {
        PTreeNode parent = ParentOf(n);
        return !parent || parent->FirstChildId == n->SelfId ? nullptr : FPool.Get(n->PrevId);
    }
    // Settles the data size (asking once) and sizes the node blocks; true when they changed.
    bool EnsureNodeDataSize();

    std::unique_ptr<std::byte[]> FRootBlock;

    TNodePool FPool;
    const TTreeClass* FTreeClass;
    PTreeNode FRoot = nullptr;
    int FNodeDataSize = -1;
    // The user data's bytes in a node block, rounded up so that the internal areas stay aligned.
    size_t UserDataSpan() const { return (size_t(std::max(FNodeDataSize, 0)) + 3) & ~size_t(3); }
    uint32_t FTotalInternalDataSize = 0;
    uint32_t FDefaultNodeHeight = 18;
    uint32_t FIndent = 18;
    uint32_t FUpdateCount = 0;
    uint32_t FSynchUpdateCount = 0;
    std::atomic<TNodeTreeStates> FStates{0};
    TColumnIndex FEditColumn = 0;
    TColumnIndex FFocusedColumn = NoColumn;
    TChangeReason FLastStructureChangeReason = crIgnore;
    PTreeNode FLastStructureChangeNode = nullptr;
    PTreeNode FLastChangedNode = nullptr;
    uint32_t FChangeDelay = 0;
    uint32_t FEditDelay = 1000;
    std::vector<TCacheEntry> FPositionCache;
    uint32_t FVisibleCount = 0;
    uint32_t FStartIndex = 0;
    TNodeArray FSelection;  // sorted by address
    TNodeArray FTempNodeCache;
    int FMargin = 4;
    int FTextMargin = 4;
    uint32_t FAnimationDuration = 200;
    uint8_t FSelectionBlendFactor = 128;
    int FDragWidth = 200;
    int FDragHeight = 350;
    uint32_t FAutoScrollDelay = 1000;
    uint32_t FAutoExpandDelay = 1000;
    int FOffsetX = 0;
    int FOffsetY = 0;
    uint32_t FSearchTimeout = 1000;
    uint32_t FOperationCount = 0;
    bool FOperationCanceled = false;
    PTreeNode FNextNodeToSelect = nullptr;
    bool FDestroying = false;
    TTVHeader FHeader{this};
    TTVColors FColors;
    TScrollBarOptions FScrollBarOptions;
    TClipboardFormats FClipboardFormats;
    TCheckImageKind FCheckImageKind = ckSystemDefault;
    TTVNodeAlignment FNodeAlignment = naProportional;
    TTVLineMode FLineMode = lmNormal;
    TTVLineStyle FLineStyle = lsDotted;
    TTVButtonStyle FButtonStyle = bsRectangle;
    TTVButtonFillMode FButtonFillMode = fmTreeColor;
    TAlignment FAlignment = taLeftJustify;
    int FBackgroundOffsetX = 0;
    int FBackgroundOffsetY = 0;
    uint32_t FSelectionCurveRadius = 0;
    QString FEmptyListMessage;
    uint32_t FBottomSpace = 0;
    TTVDrawSelectionMode FDrawSelectionMode = smDottedRectangle;
    TTVDragImageKind FDragImageKind = diComplete;
    TDragOperations FDragOperations = doCopy | doMove;
    TTVDragType FDragType = dtOLE;
    TTVNodeAttachMode FDefaultPasteMode = amAddChildLast;
    uint32_t FAutoScrollInterval = 1;
    std::shared_ptr<platform::TImageList> FCustomCheckImages;
    platform::TImageList* FCheckImages = nullptr;
    platform::ClockTimer FChangeTimer;           // timer 5
    platform::ClockTimer FStructureChangeTimer;  // timer 6
    bool FHoldsWorker = false;
    std::atomic<bool> FInWorker{false};
    size_t FLoadRemainder = 0;  // where the tree's own data follows the nodes in the last stream read  // queued at or held by the worker; changed under its lock
};

// Checks every structural invariant of a tree; answers the first one broken, empty when all hold.
struct TreeInvariants {
    static QString Check(const TBaseNodeTree& tree);
};

}  // namespace tree
