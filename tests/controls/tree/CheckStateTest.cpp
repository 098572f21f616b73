// Check states: the next state of a click, tri-state tracking up and down the hierarchy, radio
// groups, vetoes and the two-phase Space press.
#include "TreeFixture.h"

#include <QTest>
#include <map>
#include <string>

using namespace treetest;

namespace {

// A node of a small tree: its parent (an index into the list, -1 for the top level), type, state
// and whether it is disabled.
struct NodeSpec {
    int Parent;
    TCheckType Type;
    TCheckState State;
    bool Disabled = false;
};

class CheckTree : public TBaseNodeTree {
public:
    CheckTree()
    {
        TreeOptions().SetMiscOptions(TreeOptions().MiscOptions() | toCheckSupport);
        TreeOptions().SetAutoOptions(TreeOptions().AutoOptions() | toAutoTristateTracking);
        OnChecking = [this](TBaseNodeTree*, PTreeNode n, TCheckState&, bool&) { Checking.push_back(IndexOf(n)); };
        OnChecked = [this](TBaseNodeTree*, PTreeNode n) { Checked.push_back(IndexOf(n)); };
    }
    void Build(const std::vector<NodeSpec>& specs)
    {
        for (const NodeSpec& s : specs) {
            PTreeNode n = AddChild(s.Parent < 0 ? nullptr : Nodes[s.Parent]);
            // Set up directly: building the fixture must not propagate anything.
            n->SetCheckTypeField(s.Type);
            n->SetCheckStateField(s.State);
            if (s.Disabled)
                n->Include(vsDisabled);
            Nodes.push_back(n);
        }
        for (PTreeNode n : Nodes)
            ValidateNode(n, false);
        Checking.clear();
    }
    int IndexOf(PTreeNode n) const { return int(std::find(Nodes.begin(), Nodes.end(), n) - Nodes.begin()); }
    std::vector<TCheckState> States() const
    {
        std::vector<TCheckState> s;
        for (PTreeNode n : Nodes)
            s.push_back(n->CheckState());
        return s;
    }
    using TBaseNodeTree::DetermineNextCheckState;
    std::vector<PTreeNode> Nodes;
    std::vector<int> Checking;
    std::vector<int> Checked;
};

constexpr TCheckType Tri = ctTriStateCheckBox, Box = ctCheckBox, Radio = ctRadioButton;
constexpr TCheckState U = csUncheckedNormal, C = csCheckedNormal, M = csMixedNormal, UD = csUncheckedDisabled,
                      CD = csCheckedDisabled;

}  // namespace

TEST(CheckState, TriStateTrackingOverSmallTrees)
{
    struct Case {
        const char* Name;
        std::vector<NodeSpec> Tree;
        int Node;
        TCheckState Value;
        std::vector<TCheckState> Expected;
        std::vector<int> CheckedEvents;  // nodes told OnChecked, in order
        bool Tracking = true;
    } cases[] = {
        {"checking a parent checks its box children",
         {{-1, Tri, U}, {0, Box, U}, {0, Tri, U}, {2, Box, U}},
         0, C, {C, C, C, C}, {1, 3, 2, 0}},
        {"unchecking a parent unchecks its box children",
         {{-1, Tri, C}, {0, Box, C}, {0, Box, C}},
         0, U, {U, U, U}, {1, 2, 0}},
        {"one child of two checked makes the parent mixed",
         {{-1, Tri, U}, {0, Box, U}, {0, Box, U}},
         1, C, {M, C, U}, {0, 1}},
        {"the last child checked makes the parent checked",
         {{-1, Tri, M}, {0, Box, C}, {0, Box, U}},
         2, C, {C, C, C}, {0, 2}},
        {"a change climbs while the ancestors are tri-state boxes",
         {{-1, Tri, U}, {0, Tri, U}, {1, Box, U}, {1, Box, U}, {0, Box, U}},
         2, C, {M, M, C, U, U}, {0, 1, 2}},
        {"unchecking a parent whose only child is checked and disabled leaves it checked",
         {{-1, Tri, C}, {0, Box, CD}},
         0, U, {C, CD}, {0}},
        {"disabled children do not count when checking",
         {{-1, Tri, U}, {0, Box, C}, {0, Box, UD}},
         0, C, {C, C, UD}, {0}},
        {"a disabled parent stops the climb",
         {{-1, Tri, U, true}, {0, Box, U}, {0, Box, U}},
         1, C, {U, C, U}, {1}},
        {"a child that is no box leaves the parent alone",
         {{-1, Tri, U}, {0, ctButton, U}, {0, Box, U}},
         2, C, {C, U, C}, {0, 2}},
        {"without tracking nothing propagates",
         {{-1, Tri, U}, {0, Box, U}, {0, Box, U}},
         0, C, {C, U, U}, {0}, false},
        {"checking a radio button unchecks its radio siblings without events",
         {{-1, ctNone, U}, {0, Radio, C}, {0, Radio, U}, {0, Box, C}, {0, Radio, U}},
         4, C, {U, U, U, C, C}, {4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        CheckTree t;
        if (!c.Tracking)
            t.TreeOptions().SetAutoOptions(t.TreeOptions().AutoOptions() & ~toAutoTristateTracking);
        t.Build(c.Tree);
        t.SetCheckState(t.Nodes[c.Node], c.Value);
        EXPECT_EQ(t.States(), c.Expected);
        EXPECT_EQ(t.Checked, c.CheckedEvents);
        EXPECT_FALSE(t.HasState(tsCheckPropagation));
        for (PTreeNode n : t.Nodes)
            EXPECT_FALSE(n->Has(vsChecking));
    }
}

TEST(CheckState, NextStateOfAClick)
{
    CheckTree t;
    struct Case {
        TCheckType Type;
        TCheckState State;
        TCheckState Next;
    } cases[] = {
        {Box, U, C},       {Box, C, U},           {Tri, M, C},         {Tri, csMixedPressed, csCheckedPressed},
        {Box, UD, UD},     {Radio, U, C},         {Radio, C, C},       {ctButton, U, U},
        {ctButton, C, U},  {Box, csUncheckedPressed, csCheckedPressed},
    };
    for (const Case& c : cases)
        EXPECT_EQ(t.DetermineNextCheckState(c.Type, c.State), c.Next) << int(c.Type) << "/" << int(c.State);
}

TEST(CheckState, VetoesAndTheHandlersAnswer)
{
    CheckTree t;
    t.Build({{-1, Tri, U}, {0, Box, U}, {0, Box, U}});
    // A parent that refuses keeps its state; the child keeps its new one but is not reported.
    t.OnChecking = [&](TBaseNodeTree*, PTreeNode n, TCheckState&, bool& allowed) { allowed = n != t.Nodes[0]; };
    t.SetCheckState(t.Nodes[1], C);
    EXPECT_EQ(t.States(), (std::vector<TCheckState>{U, C, U}));
    EXPECT_TRUE(t.Checked.empty());

    // The handler may change the state asked for.
    t.OnChecking = [&](TBaseNodeTree*, PTreeNode, TCheckState& state, bool&) { state = U; };
    t.Checked.clear();
    t.SetCheckState(t.Nodes[2], C);
    EXPECT_EQ(t.Nodes[2]->CheckState(), U);

    // A read-only tree refuses every change and ignores new check types.
    t.OnChecking = nullptr;
    t.TreeOptions().SetMiscOptions(t.TreeOptions().MiscOptions() | toReadOnly);
    t.SetCheckState(t.Nodes[2], C);
    t.SetCheckType(t.Nodes[2], Radio);
    EXPECT_EQ(t.Nodes[2]->CheckState(), U);
    EXPECT_EQ(t.Nodes[2]->CheckType(), Box);
}

TEST(CheckState, NewCheckTypesFollowTheParentAndDropMixed)
{
    CheckTree t;
    t.Build({{-1, Tri, C}, {0, ctNone, U}, {-1, Tri, M}});
    t.SetCheckType(t.Nodes[1], Box);
    EXPECT_EQ(t.Nodes[1]->CheckState(), C);
    // Only a tri-state box can be mixed.
    t.SetCheckType(t.Nodes[2], Box);
    EXPECT_EQ(t.Nodes[2]->CheckState(), U);
}

TEST(CheckState, CountingBulkChangesAndClearing)
{
    CheckTree t;
    t.Build({{-1, Box, C}, {-1, Box, csCheckedPressed}, {-1, Box, CD}, {-1, Box, U}, {-1, Box, UD}});
    EXPECT_EQ(t.CheckedCount(), 1u);
    t.SetCheckStateForAll(C, false, true);
    EXPECT_EQ(t.States(), (std::vector<TCheckState>{C, C, CD, C, UD}));
    t.ClearChecked();
    EXPECT_EQ(t.States(), (std::vector<TCheckState>{U, U, U, U, U}));

    t.SetSelected(t.Nodes[3], true);
    t.SetCheckStateForAll(C, true, false);
    EXPECT_EQ(t.States(), (std::vector<TCheckState>{U, U, U, C, U}));
    // A node switched off keeps its state whatever is asked.
    t.Nodes[3]->Include(vsDisabled);
    t.SetCheckStateForAll(U, false, false);
    EXPECT_EQ(t.Nodes[3]->CheckState(), C);
}

TEST(CheckState, AnUninitialisedNodeIsInitialisedFirst)
{
    CheckTree t;
    int inits = 0;
    t.OnInitNode = [&](TBaseNodeTree*, PTreeNode, PTreeNode node, TTreeNodeInitStates&) {
        ++inits;
        node->SetCheckTypeField(ctCheckBox);
    };
    PTreeNode n = t.AddChild(nullptr);
    ASSERT_FALSE(n->Has(vsInitialized));
    t.SetCheckState(n, U);
    EXPECT_TRUE(n->Has(vsInitialized));
    EXPECT_EQ(inits, 1);
}

TEST(CheckState, UninitialisedSiblingsCountWhenAChildIsChecked)
{
    CheckTree t;
    t.OnInitNode = [](TBaseNodeTree* tree, PTreeNode parent, PTreeNode node, TTreeNodeInitStates&) {
        node->SetCheckTypeField(parent ? ctCheckBox : ctTriStateCheckBox);
        (void)tree;
    };
    PTreeNode meter = t.AddChild(nullptr);
    std::vector<PTreeNode> values;
    for (int i = 0; i < 4; ++i)
        values.push_back(t.AddChild(meter));

    t.SetCheckState(values[0], C);
    EXPECT_EQ(meter->CheckState(), M);
    EXPECT_EQ(values[1]->CheckState(), U);
    EXPECT_EQ(values[3]->CheckState(), U);
}

TEST(CheckState, SpaceShowsThePressAndAppliesOnRelease)
{
    CheckTree t;
    t.Build({{-1, Box, U}, {-1, Box, U}});
    t.resize(200, 100);
    t.show();
    t.SetFocusedNode(t.Nodes[0]);

    QTest::keyPress(&t, Qt::Key_Space);
    EXPECT_TRUE(t.HasState(tsKeyCheckPending));
    EXPECT_EQ(t.Nodes[0]->CheckState(), csUncheckedPressed);
    QTest::keyRelease(&t, Qt::Key_Space);
    EXPECT_FALSE(t.HasState(tsKeyCheckPending));
    EXPECT_EQ(t.Nodes[0]->CheckState(), C);
    EXPECT_EQ(t.Checked, std::vector<int>{0});

    // Another key while Space is held cancels the press and restores the look.
    QTest::keyPress(&t, Qt::Key_Space);
    EXPECT_EQ(t.Nodes[0]->CheckState(), csCheckedPressed);
    QTest::keyClick(&t, Qt::Key_Down);
    EXPECT_FALSE(t.HasState(tsKeyCheckPending));
    EXPECT_EQ(t.Nodes[0]->CheckState(), C);
    QTest::keyRelease(&t, Qt::Key_Space);
    EXPECT_EQ(t.Nodes[0]->CheckState(), C);
    EXPECT_EQ(t.Nodes[1]->CheckState(), U);
    EXPECT_EQ(t.FocusedNode(), t.Nodes[1]);

    // A disabled node takes no press.
    t.Nodes[1]->Include(vsDisabled);
    QTest::keyPress(&t, Qt::Key_Space);
    EXPECT_FALSE(t.HasState(tsKeyCheckPending));
    QTest::keyRelease(&t, Qt::Key_Space);
    EXPECT_EQ(t.Nodes[1]->CheckState(), U);
}
