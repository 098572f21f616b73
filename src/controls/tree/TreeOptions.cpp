#include "controls/tree/TreeOptions.h"

#include "controls/tree/NodeTrees.h"

namespace tree {

void TCustomNodeTreeOptions::SetPaintOptions(TTVPaintOptions value)
{
    if (value == FPaintOptions)
        return;
    TTVPaintOptions toBeSet = value & ~FPaintOptions;
    if (toBeSet & toFixedIndent) {
        value |= toShowRoot;
        toBeSet |= toShowRoot & ~FPaintOptions;
    }
    const TTVPaintOptions changed = value ^ FPaintOptions;
    // Both change what the worker walks: it must not run meanwhile.
    if (FOwner && (changed & (toShowFilteredNodes | toChildrenAbove)))
        FOwner->StopCacheValidation();
    FPaintOptions = value;
    if (!FOwner)
        return;
    if (changed & toShowFilteredNodes) {
        FOwner->BeginUpdate();
        try {
            FOwner->ApplyShowFilteredChange(value & toShowFilteredNodes);
        } catch (...) {
            FOwner->EndUpdate();
            throw;
        }
        FOwner->EndUpdate();
    }
    // Visual styles are always available here, so theme awareness alone decides.
    const TTVPaintOptions toBeCleared = changed & ~value;
    if ((changed & toUseExplorerTheme) && (FOwner->HasState(tsUseThemes) || (toBeSet & toThemeAware)))
        value & toUseExplorerTheme ? FOwner->DoStateChange(TS(tsUseExplorerTheme))
                                   : FOwner->DoStateChange(0, TS(tsUseExplorerTheme));
    if (toBeSet & toThemeAware)
        FOwner->DoStateChange(TS(tsUseThemes));
    else if (toBeCleared & toThemeAware)
        FOwner->DoStateChange(0, TS(tsUseThemes));
    if (changed & toChildrenAbove) {
        FOwner->MarkCacheStale();
        if (FOwner->UpdateCount() == 0)
            FOwner->StartCacheValidation();
    }
    FOwner->Invalidate();
}

void TStringTreeOptions::SetStringOptions(uint32_t value)
{
    if (value == FStringOptions)
        return;
    const uint32_t changed = value ^ FStringOptions;
    FStringOptions = value;
    if ((changed & toShowStaticText) && Owner())
        Owner()->Invalidate();
}

void TCustomNodeTreeOptions::SetAutoOptions(TTVAutoOptions value)
{
    const TTVAutoOptions changed = value ^ FAutoOptions;
    FAutoOptions = value;
    if (FOwner && (changed & toAutoSpanColumns))
        FOwner->Invalidate();
}

void TCustomNodeTreeOptions::SetSelectionOptions(TTVSelectionOptions value)
{
    if (value == FSelectionOptions)
        return;
    const TTVSelectionOptions old = FSelectionOptions;
    FSelectionOptions = value;
    if (!FOwner)
        return;
    const TTVSelectionOptions added = value & ~old;
    if (((value ^ old) & toMultiSelect) || (added & (toLevelSelectConstraint | toSiblingSelectConstraint)))
        FOwner->ClearSelection();
    if ((old & toExtendedFocus) && !(value & toExtendedFocus) && FOwner->FFocusedColumn > 0)
        FOwner->Invalidate();
    if (!(value & toExtendedFocus))
        FOwner->FFocusedColumn = FOwner->FHeader.MainColumn;
}

void TCustomNodeTreeOptions::SetMiscOptions(TTVMiscOptions value)
{
    if (value == FMiscOptions)
        return;
    const TTVMiscOptions added = value & ~FMiscOptions;
    const TTVMiscOptions changed = value ^ FMiscOptions;
    FMiscOptions = value;
    if (FOwner && (changed & toCheckSupport))
        FOwner->Invalidate();
    if (FOwner && (added & toVariableNodeHeight)) {
        FOwner->BeginUpdate();
        try {
            FOwner->ReinitNode(nullptr, true);
        } catch (...) {
            FOwner->EndUpdate();
            throw;
        }
        FOwner->EndUpdate();
    }
}

void TCustomNodeTreeOptions::AssignTo(TCustomNodeTreeOptions& dest) const
{
    dest.SetPaintOptions(FPaintOptions);
    dest.SetAnimationOptions(FAnimationOptions);
    dest.SetAutoOptions(FAutoOptions);
    dest.SetSelectionOptions(FSelectionOptions);
    dest.SetMiscOptions(FMiscOptions);
}

namespace {
struct LegacyOption {
    const char* Name;
    int Set;  // 0 paint, 1 animation, 2 auto, 3 selection, 4 misc
    uint32_t Bit;
};
const LegacyOption LegacyOptions[] = {
    {"voAcceptOLEDrop", 4, toAcceptOLEDrop}, {"voAnimatedToggle", 1, toAnimatedToggle},
    {"voAutoDropExpand", 2, toAutoDropExpand}, {"voAutoExpand", 2, toAutoExpand}, {"voAutoScroll", 2, toAutoScroll},
    {"voAutoSort", 2, toAutoSort}, {"voAutoSpanColumns", 2, toAutoSpanColumns},
    {"voAutoTristateTracking", 2, toAutoTristateTracking}, {"voCheckSupport", 4, toCheckSupport},
    {"voDisableDrawSelection", 3, toDisableDrawSelection}, {"voEditable", 4, toEditable},
    {"voExtendedFocus", 3, toExtendedFocus}, {"voFullRowSelect", 3, toFullRowSelect},
    {"voGridExtensions", 4, toGridExtensions}, {"voHideFocusRect", 0, toHideFocusRect},
    {"voHideSelection", 0, toHideSelection}, {"voHotTrack", 0, toHotTrack}, {"voInitOnSave", 4, toInitOnSave},
    {"voLevelSelectConstraint", 3, toLevelSelectConstraint}, {"voMiddleClickSelect", 3, toMiddleClickSelect},
    {"voMultiSelect", 3, toMultiSelect}, {"voRightClickSelect", 3, toRightClickSelect}, {"voPopupMode", 0, toPopupMode},
    {"voShowBackground", 0, toShowBackground}, {"voShowButtons", 0, toShowButtons}, {"voShowDropmark", 0, toShowDropmark},
    {"voShowHorzGridLines", 0, toShowHorzGridLines}, {"voShowRoot", 0, toShowRoot},
    {"voShowTreeLines", 0, toShowTreeLines}, {"voShowVertGridLines", 0, toShowVertGridLines},
    {"voSiblingSelectConstraint", 3, toSiblingSelectConstraint}, {"voToggleOnDblClick", 4, toToggleOnDblClick},
};
}  // namespace

void TBaseNodeTree::ReadLegacyOptions(const QStringList& names)
{
    uint32_t sets[5] = {};
    for (const QString& name : names)
        for (const LegacyOption& o : LegacyOptions)
            if (name == QLatin1String(o.Name))
                sets[o.Set] |= o.Bit;
    TCustomNodeTreeOptions& options = *FOptions;
    options.SetPaintOptions(sets[0]);
    options.SetAnimationOptions(sets[1]);
    options.SetAutoOptions(sets[2]);
    options.SetSelectionOptions(sets[3]);
    options.SetMiscOptions(sets[4]);
}

void TBaseNodeTree::Assign(const TBaseNodeTree& source)
{
    if (&source == this || (FOptions->MiscOptions() & toReadOnly))
        return;
    FAutoScrollDelay = source.FAutoScrollDelay;
    FAutoScrollInterval = source.FAutoScrollInterval;
    SetBevelEdges(source.FBevelEdges);
    SetBevelInner(source.FBevelInner);
    SetBevelKind(source.FBevelKind);
    SetBevelOuter(source.FBevelOuter);
    SetBevelWidth(source.FBevelWidth);
    SetBorderStyle(source.FBorderStyle);
    SetBorderWidth(source.FBorderWidth);
    FChangeDelay = source.FChangeDelay;
    SetCheckImageKind(source.FCheckImageKind);
    FDefaultPasteMode = source.FDefaultPasteMode;
    FDragImageKind = source.FDragImageKind;
    FColors.Assign(source.FColors);
    SetCtl3D(source.FCtl3D);
    SetDefaultNodeHeight(source.FDefaultNodeHeight);
    FHeader = source.FHeader;
    FIndent = source.FIndent;
    FMargin = source.FMargin;
    SetNodeAlignment(source.FNodeAlignment);
    SetNodeDataSize(source.FNodeDataSize);
    source.FOptions->AssignTo(*FOptions);
    // The options may have made this tree read-only: the count still follows the source.
    const TTVMiscOptions misc = FOptions->MiscOptions();
    FOptions->FMiscOptions &= ~toReadOnly;
    try {
        SetRootNodeCount(source.RootNodeCount());
    } catch (...) {
        FOptions->FMiscOptions = misc;
        throw;
    }
    FOptions->FMiscOptions = misc;
    FScrollBarOptions.Assign(source.FScrollBarOptions);
    FSelectionBlendFactor = source.FSelectionBlendFactor;
    SetSelectionCurveRadius(source.FSelectionCurveRadius);
    SetEmptyListMessage(source.FEmptyListMessage);
}

void TBaseNodeTree::SetCheckImageKind(TCheckImageKind value)
{
    if (value == FCheckImageKind)
        return;
    FCheckImageKind = value;
    FCheckImages = GetCheckImageListFor(value);
    if (!FCheckImages)
        FCheckImages = FCustomCheckImages.get();
    if (FUpdateCount == 0)
        Invalidate();
}

void TBaseNodeTree::SetCustomCheckImages(std::shared_ptr<platform::TImageList> list)
{
    if (FCheckImages && FCheckImages == FCustomCheckImages.get())
        FCheckImages = nullptr;
    FCustomCheckImages = std::move(list);
    if (FCheckImageKind == ckCustom)
        FCheckImages = FCustomCheckImages.get();
    Invalidate();
}

TTVColors::TTVColors(TBaseNodeTree* owner) : FOwner(owner)
{
    const TColor defaults[Count] = {
        clBtnShadow, clHighlight, clHighlight, clHighlight, clBtnFace, clBtnShadow, clBtnFace, clBtnFace, clWindowText,
        clHighlight, clBtnFace, clHighlight, clHighlight, clHighlight, clBtnShadow, clHighlightText, clBtnFace,
    };
    std::copy(std::begin(defaults), std::end(defaults), FColors);
}

void TTVColors::Set(Index index, TColor value)
{
    if (index < 0 || index >= Count)
        return;
    if (FColors[index] == value)
        return;
    FColors[index] = value;
    if (FOwner)
        FOwner->Invalidate();
}

void TTVColors::Assign(const TTVColors& source)
{
    std::copy(std::begin(source.FColors), std::end(source.FColors), FColors);
    if (FOwner && FOwner->UpdateCount() == 0)
        FOwner->Invalidate();
}

TColor TTVColors::BackGroundColor() const { return FOwner ? FOwner->Color() : clWindow; }

TColor TTVColors::NodeFontColor() const { return FOwner ? FOwner->FontColor() : clWindowText; }

}  // namespace tree
