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
// The derived forms of each state, in the order of TCheckState.
namespace CheckStateForms {
enum Form { Pressed, Unpressed, Enabled, Toggled };
constexpr TCheckState Table[4][CheckStateCount] = {
    // Pressed: the look while the control is held down; disabled states stay.
    {csUncheckedPressed, csUncheckedPressed, csCheckedPressed, csCheckedPressed, csMixedPressed, csMixedPressed,
     csUncheckedDisabled, csCheckedDisabled, csMixedDisabled},
    // Unpressed.
    {csUncheckedNormal, csUncheckedNormal, csCheckedNormal, csCheckedNormal, csMixedNormal, csMixedNormal,
     csUncheckedDisabled, csCheckedDisabled, csMixedDisabled},
    // Enabled.
    {csUncheckedNormal, csUncheckedPressed, csCheckedNormal, csCheckedPressed, csMixedNormal, csMixedPressed,
     csUncheckedNormal, csCheckedNormal, csMixedNormal},
    // Toggled: the state a click gives a box; mixed becomes checked.
    {csCheckedNormal, csCheckedPressed, csUncheckedNormal, csUncheckedPressed, csCheckedNormal, csCheckedPressed,
     csUncheckedDisabled, csCheckedDisabled, csMixedDisabled},
};
}  // namespace CheckStateForms
constexpr TCheckState PressedCheckState(TCheckState s) { return CheckStateForms::Table[CheckStateForms::Pressed][s]; }
constexpr TCheckState UnpressedCheckState(TCheckState s)
{
    return CheckStateForms::Table[CheckStateForms::Unpressed][s];
}
constexpr TCheckState EnabledCheckState(TCheckState s) { return CheckStateForms::Table[CheckStateForms::Enabled][s]; }
constexpr TCheckState ToggledCheckState(TCheckState s) { return CheckStateForms::Table[CheckStateForms::Toggled][s]; }

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
