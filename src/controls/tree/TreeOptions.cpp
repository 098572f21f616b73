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
    if (changed & toChildrenAbove) {
        FOwner->MarkCacheStale();
        if (FOwner->UpdateCount() == 0)
            FOwner->StartCacheValidation();
    }
}

void TCustomNodeTreeOptions::SetAutoOptions(TTVAutoOptions value) { FAutoOptions = value; }

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
    if (!(value & toExtendedFocus))
        FOwner->FFocusedColumn = FOwner->FHeader.MainColumn;
}

void TCustomNodeTreeOptions::SetMiscOptions(TTVMiscOptions value)
{
    if (value == FMiscOptions)
        return;
    const TTVMiscOptions added = value & ~FMiscOptions;
    FMiscOptions = value;
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
    FColors[index] = value;
}

void TTVColors::Assign(const TTVColors& source) { std::copy(std::begin(source.FColors), std::end(source.FColors), FColors); }

}  // namespace tree
