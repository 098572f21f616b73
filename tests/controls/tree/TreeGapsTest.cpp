// Focus eligibility, context-menu lookup, selection restoring by text, the rubber band and the
// blended selection.
#include "TreeFixture.h"
#include "controls/tree/StringTree.h"

#include <QMenu>
#include <QTest>
#include <QHash>
#include <map>
#include <vector>

using namespace treetest;

namespace {

// ---- focus eligibility ----

struct FocusCase {
    const char* name;
    bool formEnabled, formShown, panelShown, treeEnabled;
    bool expected;
};

class CanFocusTest : public ::testing::TestWithParam<FocusCase> {};

TEST_P(CanFocusTest, FollowsTheTreeItsParentsAndTheForm)
{
    const FocusCase& c = GetParam();
    QWidget form;
    auto* panel = new QWidget(&form);
    auto* tree = new TBaseNodeTree();
    tree->setParent(panel);
    form.resize(200, 200);
    form.show();
    tree->setEnabled(c.treeEnabled);
    panel->setVisible(c.panelShown);
    form.setEnabled(c.formEnabled);
    form.setVisible(c.formShown);
    EXPECT_EQ(tree->CanFocus(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CanFocusTest,
    ::testing::Values(FocusCase{"AllShownAndEnabled", true, true, true, true, true},
                      FocusCase{"FormDisabled", false, true, true, true, false},
                      FocusCase{"FormHidden", true, false, true, true, false},
                      FocusCase{"PanelHidden", true, true, false, true, false},
                      FocusCase{"TreeDisabled", true, true, true, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- context menus ----

class MenuTree : public TBaseNodeTree {
public:
    MenuTree()
    {
        resize(200, 200);
        OnGetPopupMenu = [this](TBaseNodeTree*, PTreeNode node, TColumnIndex column, QPoint, bool& askParent,
                                QMenu*& menu) {
            Asked.push_back({node, column});
            auto it = Menus.find(node);
            if (it != Menus.end())
                menu = it->second;
            if (Stops.count(node))
                askParent = false;
        };
    }
    using TBaseNodeTree::DoStateChange;
    struct Ask {
        PTreeNode node;
        TColumnIndex column;
        bool operator==(const Ask&) const = default;
    };
    std::vector<Ask> Asked;
    std::map<PTreeNode, QMenu*> Menus;
    std::map<PTreeNode, bool> Stops;
};

TEST(PopupMenuTest, TheLookupClimbsToTheParentsUntilAnswered)
{
    MenuTree t;
    QMenu parentMenu;
    PTreeNode a = t.AddChild(nullptr);
    PTreeNode a1 = t.AddChild(a);
    PTreeNode a11 = t.AddChild(a1);
    t.Menus[a] = &parentMenu;

    EXPECT_EQ(t.DoGetPopupMenu(a11, 0, QPoint(1, 1)), &parentMenu);
    EXPECT_EQ(t.Asked, (std::vector<MenuTree::Ask>{{a11, 0}, {a1, 0}, {a, 0}}));

    // A handler that declines for its parents ends the walk without a menu.
    t.Asked.clear();
    t.Stops[a1] = true;
    EXPECT_EQ(t.DoGetPopupMenu(a11, 0, QPoint(1, 1)), nullptr);
    EXPECT_EQ(t.Asked, (std::vector<MenuTree::Ask>{{a11, 0}, {a1, 0}}));

    // Without a node the question is asked once, for no column.
    t.Asked.clear();
    EXPECT_EQ(t.DoGetPopupMenu(nullptr, 3, QPoint(1, 1)), nullptr);
    EXPECT_EQ(t.Asked, (std::vector<MenuTree::Ask>{{nullptr, NoColumn}}));

    // The control's own menu counts as one too.
    t.Asked.clear();
    EXPECT_FALSE(t.HasPopupMenu(a11, 0, QPoint(1, 1)));
    QMenu own;
    t.SetPopupMenu(&own);
    EXPECT_TRUE(t.HasPopupMenu(a11, 0, QPoint(1, 1)));
}

TEST(PopupMenuTest, TheMenuKeyShowsTheFocusedNodesMenu)
{
    MenuTree t;
    QMenu menu;
    menu.addAction("Open");
    PTreeNode a = t.AddChild(nullptr);
    t.AddChild(nullptr);
    t.Menus[a] = &menu;
    t.show();
    t.setFocus();
    t.SetFocusedNode(a);

    QTest::keyClick(&t, Qt::Key_Menu);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_TRUE(t.HasState(tsPopupMenuShown));
    EXPECT_EQ(menu.property("popupComponent").value<QObject*>(), &t);
    menu.close();

    // No menu offered: nothing shown, no state entered.
    t.DoStateChange(0, TS(tsPopupMenuShown));
    t.Menus.clear();
    QTest::keyClick(&t, Qt::Key_Menu);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_FALSE(t.HasState(tsPopupMenuShown));
}

TEST(PopupMenuTest, ARightClickShowsTheMenuOfTheNodeUnderTheMouse)
{
    MenuTree t;
    QMenu menu;
    menu.addAction("Open");
    t.AddChild(nullptr);
    PTreeNode b = t.AddChild(nullptr);
    t.Menus[b] = &menu;
    t.show();

    const QPoint onB = t.GetDisplayRect(b, NoColumn, true).center();
    QTest::mouseClick(t.Client(), Qt::RightButton, {}, onB);
    ASSERT_FALSE(t.Asked.empty());
    EXPECT_EQ(t.Asked.front().node, b);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_TRUE(t.HasState(tsPopupMenuShown));
    menu.close();

    // The control's own menu is left to the platform: the tree looks nothing up.
    QMenu own;
    t.SetPopupMenu(&own);
    t.Asked.clear();
    QTest::mouseClick(t.Client(), Qt::RightButton, {}, onB);
    EXPECT_TRUE(t.Asked.empty());
    EXPECT_FALSE(menu.isVisible());
    own.close();
}

// ---- selection restoring by text ----

class NameTree : public TNodeStringTree {
public:
    NameTree()
    {
        resize(200, 200);
        TreeOptions().SetSelectionOptions(TreeOptions().SelectionOptions() | toMultiSelect | toRestoreSelection);
        // A node being added answers the name it is about to get.
        OnGetText = [this](TBaseNodeTree*, PTreeNode n, TColumnIndex, TVSTTextType, QString& text) {
            text = Names.contains(n) ? Names.value(n) : Pending;
        };
    }
    PTreeNode Add(const QString& name)
    {
        Pending = name;
        PTreeNode n = AddChild(nullptr);
        Names[n] = name;
        Pending.clear();
        return n;
    }
    QHash<PTreeNode, QString> Names;
    QString Pending;
};

TEST(RestoreSelectionTest, ANewNodeWithASelectedTextIsSelected)
{
    NameTree t;
    PTreeNode alpha = t.Add("Alpha");
    PTreeNode beta = t.Add("Beta");
    t.Add("Gamma");
    t.SetSelected(alpha, true);
    t.SetSelected(beta, true);

    // The texts match without regard to case.
    PTreeNode again = t.Add("alpha");
    EXPECT_TRUE(t.GetSelected(again));
    EXPECT_FALSE(t.GetSelected(t.Add("Delta")));

    // A text unselected while others stay selected is forgotten...
    t.SetSelected(beta, false);
    EXPECT_FALSE(t.GetSelected(t.Add("Beta")));
    // ...and a selection that runs empty forgets them all.
    t.SetSelected(alpha, false);
    t.SetSelected(again, false);
    EXPECT_FALSE(t.GetSelected(t.Add("Alpha")));

    // A fresh single selection starts a new list.
    PTreeNode gamma2 = t.Add("Gamma");
    t.SetSelected(gamma2, true);
    EXPECT_TRUE(t.GetSelected(t.Add("GAMMA")));
    EXPECT_FALSE(t.GetSelected(t.Add("Alpha")));
}

TEST(RestoreSelectionTest, WithoutTheOptionNothingIsRestored)
{
    NameTree t;
    t.TreeOptions().SetSelectionOptions(t.TreeOptions().SelectionOptions() & ~toRestoreSelection);
    t.SetSelected(t.Add("Alpha"), true);
    EXPECT_FALSE(t.GetSelected(t.Add("Alpha")));
}

}  // namespace
