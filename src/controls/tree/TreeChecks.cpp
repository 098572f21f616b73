// Check boxes, radio buttons and push buttons of nodes: the next state of a click, the two-phase
// press and tri-state propagation up and down the hierarchy.
#include "controls/tree/NodeTrees.h"

#include <QApplication>
#include <QGuiApplication>

namespace tree {

void TBaseNodeTree::SetCheckState(PTreeNode node, TCheckState value)
{
    if (!node || node == FRoot)
        return;
    // The state of an uninitialised node is not known before its initialisation.
    EnsureInitialized(node);
    if (node->CheckState() == value || node->Has(vsDisabled))
        return;
    if (DoChecking(node, value))
        DoCheckClick(node, value);
}

void TBaseNodeTree::SetCheckType(PTreeNode node, TCheckType value)
{
    if (!node || node == FRoot || node->CheckType() == value || (FOptions->MiscOptions() & toReadOnly))
        return;
    node->SetCheckTypeField(value);
    if (value != ctTriStateCheckBox && (node->CheckState() == csMixedNormal || node->CheckState() == csMixedPressed))
        node->SetCheckStateField(csUncheckedNormal);
    PTreeNode parent = ParentOf(node);
    if ((FOptions->AutoOptions() & toAutoTristateTracking) && IsBoxCheckType(value) && parent && parent != FRoot) {
        EnsureInitialized(parent);
        if (parent->CheckType() == ctTriStateCheckBox) {
            const TCheckState ps = parent->CheckState();
            if (ps == csUncheckedNormal || ps == csUncheckedDisabled)
                SetCheckState(node, csUncheckedNormal);
            else if (ps == csCheckedNormal || ps == csCheckedDisabled)
                SetCheckState(node, csCheckedNormal);
        }
    }
    InvalidateNode(node);
}

void TBaseNodeTree::SetCheckStateForAll(TCheckState checkState, bool selectedOnly, bool excludeDisabled)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    BeginUpdate();
    struct Restore {
        TBaseNodeTree* Tree;
        ~Restore()
        {
            QGuiApplication::restoreOverrideCursor();
            Tree->EndUpdate();
        }
    } restore{this};
    auto first = [&] { return selectedOnly ? GetFirstSelected() : GetFirst(); };
    auto next = [&](PTreeNode n) { return selectedOnly ? GetNextSelected(n) : GetNext(n); };
    for (PTreeNode node = first(); node; node = next(node)) {
        if (excludeDisabled && IsCheckStateDisabled(node->CheckState()))
            continue;
        SetCheckState(node, checkState);
    }
}

void TBaseNodeTree::ClearChecked()
{
    for (PTreeNode node = GetFirstNoInit(); node; node = GetNextNoInit(node))
        if (node->CheckState() != csUncheckedNormal)
            SetCheckState(node, csUncheckedNormal);
}

void TBaseNodeTree::DoCheckClick(PTreeNode node, TCheckState newState)
{
    if (ApplyCheckState(node, newState))
        DoChecked(node);
}

TCheckState TBaseNodeTree::DetermineNextCheckState(TCheckType checkType, TCheckState checkState)
{
    switch (checkType) {
    case ctTriStateCheckBox:
    case ctCheckBox: return ToggledCheckState(checkState);
    case ctRadioButton: return csCheckedNormal;
    case ctButton: return csUncheckedNormal;
    default: return checkState;
    }
}

bool TBaseNodeTree::CheckParentCheckState(PTreeNode node, TCheckState newState)
{
    PTreeNode parent = ParentOf(node);
    int boxes = 0, checked = 0;
    bool mixed = false;
    for (PTreeNode child = FirstOf(parent); child; child = NextOf(child)) {
        // A sibling's check type is known only once it is initialised: counted uninitialised, one
        // checked child of four would make the parent checked, which then checks all four.
        EnsureInitialized(child);
        if (!IsBoxCheckType(child->CheckType()))
            continue;
        ++boxes;
        const TCheckState state = child == node ? newState : child->CheckState();
        if (IsCheckStateChecked(state))
            ++checked;
        if (state == csMixedNormal)
            mixed = true;
    }
    TCheckState state = csCheckedNormal;
    if (checked == 0 && !mixed)
        state = csUncheckedNormal;
    else if (checked < boxes)
        state = csMixedNormal;
    const bool allowed = DoChecking(parent, state);
    if (allowed)
        DoCheckClick(parent, state);
    return allowed;
}

bool TBaseNodeTree::ApplyCheckState(PTreeNode node, TCheckState value)
{
    if (node->Has(vsChecking))
        return false;
    node->Include(vsChecking);
    struct Leave {
        PTreeNode Node;
        ~Leave() { Node->Exclude(vsChecking); }
    } leave{node};
    if (!node->Has(vsInitialized))
        InitNode(node);
    else if (node->CheckState() == value)
        return false;

    if (FCheckPropagationCount++ == 0)
        DoStateChange(TS(tsCheckPropagation));
    struct Count {
        TBaseNodeTree* Tree;
        ~Count()
        {
            if (--Tree->FCheckPropagationCount == 0)
                Tree->DoStateChange(0, TS(tsCheckPropagation));
        }
    } count{this};

    const bool tracking = FOptions->AutoOptions() & toAutoTristateTracking;
    if (node->CheckType() == ctTriStateCheckBox && tracking && node->Has(vsHasChildren) &&
        (value == csUncheckedNormal || value == csCheckedNormal)) {
        const bool checking = value == csCheckedNormal;
        for (PTreeNode child = GetFirstChild(node); child; child = GetNextSibling(child))
            if (IsBoxCheckType(child->CheckType()) && !IsCheckStateDisabled(child->CheckState()))
                SetCheckState(child, value);
        // Unchecking counts the disabled children with the others; checking leaves them out.
        bool anyUnchecked = false, anyChecked = false, anyMixed = false;
        for (PTreeNode child = FirstOf(node); child; child = NextOf(child)) {
            if (!IsBoxCheckType(child->CheckType()))
                continue;
            const TCheckState s = child->CheckState();
            if (s == csUncheckedNormal || (!checking && s == csUncheckedDisabled))
                anyUnchecked = true;
            else if (s == csCheckedNormal || (!checking && s == csCheckedDisabled))
                anyChecked = true;
            else if (s == csMixedNormal)
                anyMixed = true;
        }
        if (anyMixed)
            value = csMixedNormal;
        else if (anyChecked)
            value = anyUnchecked ? csMixedNormal : csCheckedNormal;
    } else if (node->CheckType() == ctRadioButton && value == csCheckedNormal) {
        for (PTreeNode sibling = FirstOf(ParentOf(node)); sibling; sibling = NextOf(sibling))
            if (sibling->CheckType() == ctRadioButton)
                sibling->SetCheckStateField(csUncheckedNormal);
        Invalidate();
    }
    node->SetCheckStateField(value);

    PTreeNode parent = ParentOf(node);
    if (parent != FRoot && !parent->Has(vsInitialized))
        InitNode(parent);
    bool result = true;
    if (tracking && parent != FRoot && !parent->Has(vsChecking) && !parent->Has(vsDisabled) &&
        IsBoxCheckType(node->CheckType()) && parent->CheckType() == ctTriStateCheckBox)
        result = CheckParentCheckState(node, value);
    InvalidateNode(node);
    return result;
}

void TBaseNodeTree::StartKeyCheckPress()
{
    PTreeNode node = FFocusedNode;
    if (!node || node->CheckType() == ctNone || (TreeStates() & TS(tsKeyCheckPending, tsMouseCheckPending)) ||
        node->Has(vsDisabled))
        return;
    TCheckState newState = DetermineNextCheckState(node->CheckType(), node->CheckState());
    if (!DoChecking(node, newState))
        return;
    DoStateChange(TS(tsKeyCheckPending));
    FCheckNode = node;
    FPendingCheckState = newState;
    node->SetCheckStateField(PressedCheckState(node->CheckState()));
    InvalidateNode(node);
}

void TBaseNodeTree::CancelCheckPress()
{
    DoStateChange(0, TS(tsKeyCheckPending));
    if (PTreeNode node = FCheckNode) {
        node->SetCheckStateField(UnpressedCheckState(node->CheckState()));
        InvalidateNode(node);
    }
    FCheckNode = nullptr;
}

void TBaseNodeTree::FinishKeyCheckPress()
{
    DoStateChange(0, TS(tsKeyCheckPending));
    PTreeNode node = FCheckNode;
    FCheckNode = nullptr;
    if (!node)
        return;
    // The press look goes first, so that the change starts from the state the node had.
    node->SetCheckStateField(UnpressedCheckState(node->CheckState()));
    if (node == FFocusedNode)
        DoCheckClick(node, FPendingCheckState);
    InvalidateNode(node);
}

}  // namespace tree
