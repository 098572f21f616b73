// Offsets, ranges, scrolling into view and display rectangles.
#include "ScannerTreeFixture.h"

#include <map>
#include <set>

#include <gtest/gtest.h>

using namespace treetest;

namespace {

// 3 meters x 4 values, all expanded: 15 rows of 18 pixels in a client area of 150 pixels or less.
struct Expanded : ScannerTree {
    explicit Expanded(uint32_t values = 4) : ScannerTree(3, values)
    {
        Tree->TreeOptions().SetMiscOptions(Tree->TreeOptions().MiscOptions() & ~toCheckSupport);
        Tree->FullExpand();
        Tree->UpdateScrollBars(true);
        Tree->OnScroll = [this](TBaseNodeTree*, int dx, int dy) { Scrolls.push_back({dx, dy}); };
    }
    int MaxDown() const { return Tree->ClientHeight() - int(Tree->RangeY()); }
    std::vector<std::pair<int, int>> Scrolls;
};

TEST(TreeGeometry, VerticalOffsetIsClampedAndUnchangedOffsetsDoNothing)
{
    Expanded s;
    ASSERT_EQ(s.Tree->RangeY(), 15u * 18u);
    const int bottom = s.MaxDown();
    ASSERT_LT(bottom, 0);
    struct Case {
        int Set;
        int Expected;
        bool Fires;
    };
    const Case cases[] = {
        {-20, -20, true}, {-20, -20, false}, {40, 0, true}, {5, 0, false}, {-100000, bottom, true}, {bottom - 1, bottom, false},
    };
    for (const Case& c : cases) {
        s.Scrolls.clear();
        const int before = s.Tree->OffsetY();
        s.Tree->SetOffsetY(c.Set);
        EXPECT_EQ(s.Tree->OffsetY(), c.Expected) << c.Set;
        ASSERT_EQ(s.Scrolls.size(), c.Fires ? 1u : 0u) << c.Set;
        if (c.Fires)
            EXPECT_EQ(s.Scrolls[0], std::make_pair(0, c.Expected - before));
    }
    // The scroll bar follows the offset.
    EXPECT_EQ(s.Tree->ScrollPos(platform::sbVertical), -s.Tree->OffsetY());
}

TEST(TreeGeometry, BottomSpaceExtendsTheRange)
{
    Expanded s;
    s.Tree->SetBottomSpace(50);
    s.Tree->UpdateVerticalRange();
    EXPECT_EQ(s.Tree->RangeY(), 15u * 18u + 50u);
    s.Tree->SetOffsetY(-100000);
    EXPECT_EQ(s.Tree->OffsetY(), s.Tree->ClientHeight() - int(15 * 18 + 50));
}

TEST(TreeGeometry, DisplayRectOfRowsCellsAndHiddenNodes)
{
    Expanded s;
    PTreeNode value = s.Value(1, 2);  // row 1 + 4 + 1 + 2 = 8
    QRect row = s.Tree->GetDisplayRect(value, NoColumn, false);
    EXPECT_EQ(row, QRect(0, 8 * 18, std::max<int>(s.Tree->ClientWidth(), int(s.Tree->RangeX())), 18));
    s.Tree->SetOffsetY(-30);
    EXPECT_EQ(s.Tree->GetDisplayRect(value, NoColumn, false).top(), 8 * 18 - 30);
    // The text starts after the margin, the root and level indents and the image.
    const QRect text = s.Tree->GetDisplayRect(value, NoColumn, true);
    EXPECT_EQ(text.left(), s.Tree->Margin() + 2 * int(s.Tree->Indent()) + 16 + 2);
    EXPECT_EQ(text.width(), s.Tree->DoGetNodeWidth(value, NoColumn));
    // Under a collapsed parent there is no rectangle.
    s.Tree->SetExpanded(s.Meter(1), false);
    EXPECT_EQ(s.Tree->GetDisplayRect(value, NoColumn, false), QRect(0, 0, 0, 0));
    EXPECT_THROW(s.Tree->GetDisplayRect(nullptr, NoColumn, false), EAssertionFailed);
    EXPECT_THROW(s.Tree->GetDisplayRect(s.Tree->RootNode(), NoColumn, false), EAssertionFailed);
}

TEST(TreeGeometry, ScrollIntoViewExpandsParentsAndCentres)
{
    Expanded s(20);
    s.Tree->FullCollapse();
    s.Tree->UpdateScrollBars(true);
    PTreeNode last = s.Value(2, 19);
    EXPECT_TRUE(s.Tree->ScrollIntoView(last, false));
    EXPECT_TRUE(s.Tree->GetExpanded(s.Meter(2)));
    EXPECT_FALSE(s.Tree->GetExpanded(s.Meter(1)));
    QRect r = s.Tree->GetDisplayRect(last, NoColumn, false);
    EXPECT_EQ(r.bottom() + 1, s.Tree->ClientHeight()) << "scrolled just far enough";
    // A node in view still moves to the middle when asked to centre.
    s.Tree->SetOffsetY(-100);
    PTreeNode middle = s.Value(2, 5);
    ASSERT_GE(s.Tree->GetDisplayRect(middle, NoColumn, false).top(), 0);
    EXPECT_TRUE(s.Tree->ScrollIntoView(middle, true));
    r = s.Tree->GetDisplayRect(middle, NoColumn, false);
    EXPECT_EQ(r.bottom() + 1, s.Tree->ClientHeight() / 2);
    // A node above the view comes to the top.
    PTreeNode first = s.Meter(0);
    EXPECT_TRUE(s.Tree->ScrollIntoView(first, false));
    EXPECT_EQ(s.Tree->GetDisplayRect(first, NoColumn, false).top(), 0);
    EXPECT_FALSE(s.Tree->ScrollIntoView(nullptr, false));
    EXPECT_FALSE(s.Tree->ScrollIntoView(s.Tree->RootNode(), false));
}

TEST(TreeGeometry, TopAndBottomNodeScroll)
{
    Expanded s;
    s.Tree->SetTopNode(s.Value(1, 0));
    EXPECT_EQ(s.Tree->TopNode(), s.Value(1, 0));
    EXPECT_EQ(s.Tree->OffsetY(), -6 * 18);
    s.Tree->SetBottomNode(s.Value(2, 1));
    EXPECT_EQ(s.Tree->BottomNode(), s.Value(2, 1));
    EXPECT_EQ(s.Tree->GetDisplayRect(s.Value(2, 1), NoColumn, false).bottom() + 1, s.Tree->ClientHeight());
    // The first rows cannot end at the bottom: the offset stops at the top.
    s.Tree->SetBottomNode(s.Value(0, 0));
    EXPECT_EQ(s.Tree->OffsetY(), 0);
}

TEST(TreeGeometry, VariableHeightsAreMeasuredOnceUntilInvalidated)
{
    Expanded s;
    std::map<PTreeNode, int> asked;
    s.Tree->TreeOptions().SetMiscOptions(s.Tree->TreeOptions().MiscOptions() | toVariableNodeHeight);
    s.Tree->OnMeasureItem = [&](TBaseNodeTree* t, platform::TCanvas&, PTreeNode node, int& height) {
        ++asked[node];
        height = t->GetNodeLevel(node) == 0 ? 30 : 18;
    };
    PTreeNode meter = s.Meter(0);
    EXPECT_EQ(s.Tree->NodeHeightOf(meter), 30u);
    EXPECT_EQ(s.Tree->NodeHeightOf(meter), 30u);
    s.Grab();
    EXPECT_EQ(asked[meter], 1);
    EXPECT_EQ(s.Tree->GetDisplayRect(s.Value(0, 0), NoColumn, false).top(), 30);
    s.Tree->InvalidateNode(meter);
    s.Tree->NodeHeightOf(meter);
    EXPECT_EQ(asked[meter], 2) << "an invalidated text is measured again";
}

TEST(TreeGeometry, SmartMaxColumnWidthMeasuresOnlyTheRowsInView)
{
    ScannerTree s(3, 40);
    s.Tree->FullExpand();
    s.Tree->UpdateScrollBars(true);
    std::set<PTreeNode> measured;
    s.Tree->OnGetText = [&](TBaseNodeTree*, PTreeNode node, TColumnIndex, TVSTTextType, QString& text) {
        measured.insert(node);
        text = node == s.Value(2, 39) ? QStringLiteral("a much longer text than every other one") : QStringLiteral("v");
    };
    s.Tree->InvalidateChildren(nullptr, true);
    measured.clear();
    const int smart = s.Tree->GetMaxColumnWidth(NoColumn, true);
    EXPECT_LE(measured.size(), size_t(s.Tree->ClientHeight() / 18 + 2));
    const int all = s.Tree->GetMaxColumnWidth(NoColumn, false);
    EXPECT_GT(all, smart) << "the long text is far below the view";
}

}  // namespace
