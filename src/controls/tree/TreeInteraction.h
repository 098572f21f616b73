#pragma once
#include "controls/tree/NodeTreeTypes.h"

#include <QRect>
#include <QString>

// Types of the tree's keyboard, check-box and hint handling, and the derived forms of a check
// state that the mouse, the keyboard and the painting share.
namespace tree {

class TBaseNodeTree;
struct TTreeNode;
using PTreeNode = TTreeNode*;

// ---- check states ----
constexpr bool IsCheckStateDisabled(TCheckState s) { return s > csMixedPressed; }
constexpr bool IsCheckStateChecked(TCheckState s)
{
    return s == csCheckedNormal || s == csCheckedPressed || s == csCheckedDisabled;
}
constexpr bool IsBoxCheckType(TCheckType t) { return t == ctTriStateCheckBox || t == ctCheckBox; }
// The look while the control is held down; disabled states stay.
constexpr TCheckState PressedCheckState(TCheckState s)
{
    constexpr TCheckState forms[CheckStateCount] = {
        csUncheckedPressed, csUncheckedPressed, csCheckedPressed,   csCheckedPressed, csMixedPressed,
        csMixedPressed,     csUncheckedDisabled, csCheckedDisabled, csMixedDisabled};
    return forms[s];
}
constexpr TCheckState UnpressedCheckState(TCheckState s)
{
    constexpr TCheckState forms[CheckStateCount] = {
        csUncheckedNormal, csUncheckedNormal,   csCheckedNormal,   csCheckedNormal, csMixedNormal,
        csMixedNormal,     csUncheckedDisabled, csCheckedDisabled, csMixedDisabled};
    return forms[s];
}
constexpr TCheckState EnabledCheckState(TCheckState s)
{
    constexpr TCheckState forms[CheckStateCount] = {
        csUncheckedNormal, csUncheckedPressed, csCheckedNormal, csCheckedPressed, csMixedNormal,
        csMixedPressed,    csUncheckedNormal,  csCheckedNormal, csMixedNormal};
    return forms[s];
}
// The state a click gives a box: mixed becomes checked.
constexpr TCheckState ToggledCheckState(TCheckState s)
{
    constexpr TCheckState forms[CheckStateCount] = {
        csCheckedNormal, csCheckedPressed,    csUncheckedNormal, csUncheckedPressed, csCheckedNormal,
        csCheckedPressed, csUncheckedDisabled, csCheckedDisabled, csMixedDisabled};
    return forms[s];
}

// ---- incremental search ----
enum TTVIncrementalSearch { isAll, isNone, isInitializedOnly, isVisibleOnly };
enum TTVSearchDirection { sdForward, sdBackward };
enum TTVSearchStart { ssAlwaysStartOver, ssLastHit, ssFocusedNode };

// ---- hints ----
enum TTVHintMode { hmDefault, hmHint, hmHintAndDefault, hmTooltip };
enum THintAnimationType { hatNone, hatFade, hatSlide, hatSystemDefault };
enum TTVHintKind { vhkText, vhkOwnerDraw };
enum TTVTooltipLineBreakStyle { hlbDefault, hlbForceSingleLine, hlbForceMultiLine };

// What the tree hands its hint window for one hint.
struct TTVHintData {
    TBaseNodeTree* Tree = nullptr;
    PTreeNode Node = nullptr;
    TColumnIndex Column = NoColumn;
    QRect HintRect;  // the size of an owner-drawn hint
    QString DefaultHint;
    QString HintText;
    bool RightToLeft = false;
    TAlignment Alignment = taLeftJustify;
    TTVTooltipLineBreakStyle LineBreakStyle = hlbDefault;
};

}  // namespace tree
