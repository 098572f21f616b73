#pragma once
#include "platform/Exception.h"

#include <QString>
#include <cstdint>

// Shared types of the tree control: node and tree states, change reasons, attach modes, check
// states and the tree's error class.
namespace tree {

// The tree's timers; the numbers are the window timer ids the tree and its header share.
enum class TTreeTimer : int {
    DragExpand = 1,   // opens the node under a drag after the auto-expand delay
    Edit = 2,         // starts an edit after the edit delay
    Header = 3,       // follows the mouse over the header
    Scroll = 4,       // auto scroll near the edges
    Search = 7,       // ends an incremental search after its timeout
    ThemeChange = 8,  // redraws after a theme change from outside
};

// Node states, bit n of a node's state set.
enum TTreeNodeState : uint32_t {
    vsInitialized = 1u << 0,
    vsChecking = 1u << 1,
    vsCutOrCopy = 1u << 2,
    vsDisabled = 1u << 3,
    vsDeleting = 1u << 4,
    vsExpanded = 1u << 5,
    vsHasChildren = 1u << 6,
    vsVisible = 1u << 7,
    vsSelected = 1u << 8,
    vsOnFreeNodeCallRequired = 1u << 9,
    vsAllChildrenHidden = 1u << 10,
    vsReleaseCallOnUserDataRequired = 1u << 11,
    vsMultiline = 1u << 12,
    vsHeightMeasured = 1u << 13,
    vsToggling = 1u << 14,
    vsFiltered = 1u << 15,
    vsInitializing = 1u << 16,
};
using TTreeNodeStates = uint32_t;
constexpr TTreeNodeStates AllNodeStates = (1u << 17) - 1;

enum TTreeNodeInitState : uint32_t {
    ivsDisabled = 1u << 0,
    ivsExpanded = 1u << 1,
    ivsHasChildren = 1u << 2,
    ivsMultiline = 1u << 3,
    ivsSelected = 1u << 4,
    ivsFiltered = 1u << 5,
    ivsReInit = 1u << 6,
};
using TTreeNodeInitStates = uint32_t;

enum TCheckState : uint8_t {
    csUncheckedNormal, csUncheckedPressed, csCheckedNormal, csCheckedPressed, csMixedNormal,
    csMixedPressed, csUncheckedDisabled, csCheckedDisabled, csMixedDisabled,
};
constexpr int CheckStateCount = 9;
enum TCheckType : uint8_t { ctNone, ctTriStateCheckBox, ctCheckBox, ctRadioButton, ctButton };
constexpr int CheckTypeCount = 5;

enum TChangeReason { crIgnore, crAccumulated, crChildAdded, crChildDeleted, crNodeAdded, crNodeCopied, crNodeMoved };

enum TTVNodeAttachMode { amNoWhere, amInsertBefore, amInsertAfter, amAddChildFirst, amAddChildLast };

enum TTVUpdateState { usBegin, usBeginSynch, usSynch, usUpdate, usEnd, usEndSynch };

enum TTVOperationKind { okAutoFitColumns, okGetMaxColumnWidth, okSortNode, okSortTree, okExport, okExpand };

enum TSortDirection { sdAscending, sdDescending };

// Display settings the painting reads.
enum TTVNodeAlignment { naFromBottom, naFromTop, naProportional };
enum TTVLineMode { lmNormal, lmBands };
enum TTVLineStyle { lsCustomStyle, lsDotted, lsSolid };
enum TTVButtonStyle { bsRectangle, bsTriangle };
enum TTVButtonFillMode { fmTreeColor, fmWindowColor, fmShaded, fmTransparent };
enum TTVDrawSelectionMode { smDottedRectangle, smBlendedRectangle };
enum TTVDragImageKind { diComplete, diMainColumnOnly, diNoImage };
enum TTVDragType { dtOLE, dtVCL };
enum TDragOperation : uint8_t { doCopy = 1, doMove = 2, doLink = 4 };
using TDragOperations = uint8_t;
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

using TColumnIndex = int32_t;
constexpr TColumnIndex NoColumn = -1;
constexpr TColumnIndex InvalidColumn = -2;

// Tree states, bit n of the tree's 64-bit state set, in their declared order.
enum TNodeTreeState : int {
    tsCancelHintAnimation, tsChangePending, tsCheckPropagation, tsCollapsing, tsToggleFocusedSelection,
    tsClearPending, tsClipboardFlushing, tsCopyPending, tsCutPending, tsDrawSelPending, tsDrawSelecting,
    tsEditing, tsEditPending, tsExpanding, tsNodeHeightTracking, tsNodeHeightTrackPending, tsHint,
    tsInAnimation, tsIncrementalSearching, tsIncrementalSearchPending, tsIterating, tsKeyCheckPending,
    tsLeftButtonDown, tsLeftDblClick, tsMouseCheckPending, tsMiddleButtonDown, tsMiddleDblClick,
    tsNeedRootCountUpdate, tsOLEDragging, tsOLEDragPending, tsPainting, tsRightButtonDown,
    tsRightDblClick, tsPopupMenuShown, tsScrolling, tsScrollPending, tsSizing, tsStopValidation,
    tsStructureChangePending, tsSynchMode, tsThumbTracking, tsToggling, tsUpdateHiddenChildrenNeeded,
    tsUpdating, tsUseCache, tsUserDragObject, tsUseThemes, tsValidating, tsPreviouslySelectedLocked,
    tsValidationNeeded, tsVCLDragging, tsVCLDragPending, tsVCLDragFinished, tsWheelPanning,
    tsWheelScrolling, tsWindowCreating, tsUseExplorerTheme,
};
using TNodeTreeStates = uint64_t;
constexpr TNodeTreeStates TS(TNodeTreeState s) { return TNodeTreeStates(1) << s; }
template <typename... S>
constexpr TNodeTreeStates TS(TNodeTreeState first, S... rest) { return TS(first) | TS(rest...); }

// Errors in data from outside the tree (streams, clipboard, a move into the own subtree).
class ENodeTreeError : public platform::Exception {
public:
    ENodeTreeError(const QString& message, int helpContext) : Exception(message), HelpContext(helpContext) {}
    int HelpContext;
};

// Misuse of the tree by its caller: the text says which rule was broken.
class EAssertionFailed : public platform::Exception {
public:
    using Exception::Exception;
};

[[noreturn]] void RaiseTreeError(const QString& message, int helpContext);
[[noreturn]] void RaiseAssertion(const QString& message);
inline void TreeAssert(bool condition, const char* message)
{
    if (!condition)
        RaiseAssertion(QString::fromUtf8(message));
}

// Messages of the tree's errors, by code.
namespace TreeErrors {
constexpr int MoveIntoOwnSubtree = 2001;
constexpr int WrongFormat = 2002;
constexpr int UnknownVersion = 2003;
constexpr int NotEnoughData = 2004;
constexpr int AnchorMissing = 2005;
constexpr int UnexpectedData = 2006;
constexpr int ClipboardFailed = 2007;
QString Message(int code);
}  // namespace TreeErrors

}  // namespace tree
