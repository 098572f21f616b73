#pragma once
#include <cstdint>

// The option sets, colours and scroll-bar settings that every tree owns.
namespace tree {

class TBaseNodeTree;

enum TTVPaintOption : uint32_t {
    toHideFocusRect = 1u << 0, toHideSelection = 1u << 1, toHotTrack = 1u << 2, toPopupMode = 1u << 3,
    toShowBackground = 1u << 4, toShowButtons = 1u << 5, toShowDropmark = 1u << 6,
    toShowHorzGridLines = 1u << 7, toShowRoot = 1u << 8, toShowTreeLines = 1u << 9,
    toShowVertGridLines = 1u << 10, toThemeAware = 1u << 11, toUseBlendedImages = 1u << 12,
    toGhostedIfUnfocused = 1u << 13, toFullVertGridLines = 1u << 14, toAlwaysHideSelection = 1u << 15,
    toUseBlendedSelection = 1u << 16, toStaticBackground = 1u << 17, toChildrenAbove = 1u << 18,
    toFixedIndent = 1u << 19, toUseExplorerTheme = 1u << 20, toHideTreeLinesIfThemed = 1u << 21,
    toShowFilteredNodes = 1u << 22,
};
enum TTVAnimationOption : uint32_t { toAnimatedToggle = 1u << 0, toAdvancedAnimatedToggle = 1u << 1 };
enum TTVAutoOption : uint32_t {
    toAutoDropExpand = 1u << 0, toAutoExpand = 1u << 1, toAutoScroll = 1u << 2, toAutoScrollOnExpand = 1u << 3,
    toAutoSort = 1u << 4, toAutoSpanColumns = 1u << 5, toAutoTristateTracking = 1u << 6,
    toAutoHideButtons = 1u << 7, toAutoDeleteMovedNodes = 1u << 8, toDisableAutoscrollOnFocus = 1u << 9,
    toAutoChangeScale = 1u << 10, toAutoFreeOnCollapse = 1u << 11, toDisableAutoscrollOnEdit = 1u << 12,
    toAutoBidiColumnOrdering = 1u << 13,
};
enum TTVSelectionOption : uint32_t {
    toDisableDrawSelection = 1u << 0, toExtendedFocus = 1u << 1, toFullRowSelect = 1u << 2,
    toLevelSelectConstraint = 1u << 3, toMiddleClickSelect = 1u << 4, toMultiSelect = 1u << 5,
    toRightClickSelect = 1u << 6, toSiblingSelectConstraint = 1u << 7, toCenterScrollIntoView = 1u << 8,
    toSimpleDrawSelection = 1u << 9, toAlwaysSelectNode = 1u << 10, toRestoreSelection = 1u << 11,
};
enum TTVMiscOption : uint32_t {
    toAcceptOLEDrop = 1u << 0, toCheckSupport = 1u << 1, toEditable = 1u << 2, toFullRepaintOnResize = 1u << 3,
    toGridExtensions = 1u << 4, toInitOnSave = 1u << 5, toReportMode = 1u << 6, toToggleOnDblClick = 1u << 7,
    toWheelPanning = 1u << 8, toReadOnly = 1u << 9, toVariableNodeHeight = 1u << 10, toFullRowDrag = 1u << 11,
    toNodeHeightResize = 1u << 12, toNodeHeightDblClickResize = 1u << 13, toEditOnClick = 1u << 14,
    toEditOnDblClick = 1u << 15, toReverseFullExpandHotKey = 1u << 16,
};
enum TTVStringOption : uint32_t { toSaveCaptions = 1u << 0, toShowStaticText = 1u << 1, toAutoAcceptEditChange = 1u << 2 };

using TTVPaintOptions = uint32_t;
using TTVAnimationOptions = uint32_t;
using TTVAutoOptions = uint32_t;
using TTVSelectionOptions = uint32_t;
using TTVMiscOptions = uint32_t;

constexpr TTVPaintOptions DefaultPaintOptions = 0x1B60;
constexpr TTVAutoOptions DefaultAutoOptions = 0x0559;
constexpr TTVMiscOptions DefaultMiscOptions = 0x41A9;
constexpr uint32_t DefaultStringOptions = 0x05;

enum TTVExportMode { emAll, emChecked, emUnchecked, emVisibleDueToExpansion, emSelected };

// The five option sets of one tree. Each setter does nothing for an unchanged value and otherwise
// tells the tree what changed.
class TCustomNodeTreeOptions {
public:
    explicit TCustomNodeTreeOptions(TBaseNodeTree* owner) : FOwner(owner) {}
    virtual ~TCustomNodeTreeOptions() = default;

    TTVPaintOptions PaintOptions() const { return FPaintOptions; }
    TTVAnimationOptions AnimationOptions() const { return FAnimationOptions; }
    TTVAutoOptions AutoOptions() const { return FAutoOptions; }
    TTVSelectionOptions SelectionOptions() const { return FSelectionOptions; }
    TTVMiscOptions MiscOptions() const { return FMiscOptions; }
    TTVExportMode ExportMode() const { return FExportMode; }

    void SetPaintOptions(TTVPaintOptions value);
    void SetAnimationOptions(TTVAnimationOptions value) { FAnimationOptions = value; }
    void SetAutoOptions(TTVAutoOptions value);
    void SetSelectionOptions(TTVSelectionOptions value);
    void SetMiscOptions(TTVMiscOptions value);
    void SetExportMode(TTVExportMode value) { FExportMode = value; }

    // Copies the five sets through the destination's setters; the export mode stays.
    void AssignTo(TCustomNodeTreeOptions& dest) const;

protected:
    TBaseNodeTree* Owner() const { return FOwner; }

private:
    friend class TBaseNodeTree;
    TBaseNodeTree* FOwner;
    TTVPaintOptions FPaintOptions = DefaultPaintOptions;
    TTVAnimationOptions FAnimationOptions = 0;
    TTVAutoOptions FAutoOptions = DefaultAutoOptions;
    TTVSelectionOptions FSelectionOptions = 0;
    TTVMiscOptions FMiscOptions = DefaultMiscOptions;
    TTVExportMode FExportMode = emAll;
};

using TNodeTreeOptions = TCustomNodeTreeOptions;

// The string tree's options add the string option set.
class TStringTreeOptions : public TCustomNodeTreeOptions {
public:
    using TCustomNodeTreeOptions::TCustomNodeTreeOptions;
    uint32_t StringOptions() const { return FStringOptions; }
    // Showing or hiding the static texts repaints the tree.
    void SetStringOptions(uint32_t value);

private:
    uint32_t FStringOptions = DefaultStringOptions;
};

// Colours are 0x00BBGGRR; 0xFF000000 plus an index names a system colour.
using TColor = uint32_t;
constexpr TColor SystemColor(uint32_t index) { return 0xFF000000u | index; }
constexpr TColor clWindowText = SystemColor(8), clWindow = SystemColor(5), clHighlight = SystemColor(13),
                 clHighlightText = SystemColor(14), clBtnFace = SystemColor(15), clBtnShadow = SystemColor(16),
                 clBtnText = SystemColor(18), clBtnHighlight = SystemColor(20);

class TTVColors {
public:
    enum Index {
        DisabledColor, DropMarkColor, DropTargetColor, FocusedSelectionColor, GridLineColor, TreeLineColor,
        UnfocusedSelectionColor, BorderColor, HotColor, FocusedSelectionBorderColor,
        UnfocusedSelectionBorderColor, DropTargetBorderColor, SelectionRectangleBlendColor,
        SelectionRectangleBorderColor, HeaderHotColor, SelectionTextColor, UnfocusedColor, Count
    };
    explicit TTVColors(TBaseNodeTree* owner);

    TColor Get(Index index) const { return FColors[index]; }
    void Set(Index index, TColor value);
    void Assign(const TTVColors& source);
    // Without a custom visual style these are the tree's own colour and font colour; the header
    // draws with the node font until it has a font of its own.
    TColor BackGroundColor() const;
    TColor NodeFontColor() const;
    TColor HeaderFontColor() const { return NodeFontColor(); }

private:
    TBaseNodeTree* FOwner;
    TColor FColors[Count];
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TScrollBarStyle { sbmRegular, sbm3D };

class TScrollBarOptions {
public:
    bool AlwaysVisible = false;
    TScrollStyle ScrollBars = ssBoth;
    TScrollBarStyle ScrollBarStyle = sbmRegular;
    uint16_t HorizontalIncrement = 20;  // 1 to 10000
    uint16_t VerticalIncrement = 20;
    void Assign(const TScrollBarOptions& source) { *this = source; }
};

}  // namespace tree
