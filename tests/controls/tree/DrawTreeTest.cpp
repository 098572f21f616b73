// The owner-drawn tree (cells painted, measured and given margins by events only, hints drawn by
// the caller) and the string tree's image texts.
#include "TreeFixture.h"
#include "controls/tree/DrawTree.h"
#include "controls/tree/StringTree.h"

#include <QPainter>

using namespace treetest;

namespace {

class DrawTree : public TNodeDrawTree {
public:
    DrawTree()
    {
        resize(200, 100);
        SetRootNodeCount(2);
    }
    using TCustomNodeDrawTree::DoGetCellContentMargin;
    using TBaseNodeTree::DoGetHintKind;
};

}  // namespace

TEST(DrawTree, CellsShowOnlyWhatOnDrawNodePaints)
{
    DrawTree t;
    std::vector<std::pair<PTreeNode, QRect>> cells;
    t.OnDrawNode = [&](TBaseNodeTree*, TTVPaintInfo& info) {
        cells.push_back({info.Node, info.ContentRect});
        info.Canvas->Painter()->fillRect(info.ContentRect, Qt::red);
    };
    const QImage image = t.RenderClient();
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].first, t.GetFirst());
    EXPECT_EQ(cells[1].first, t.GetNext(t.GetFirst()));
    const QPoint inside = cells[0].second.topLeft() + QPoint(1, 1);
    EXPECT_EQ(image.pixelColor(inside), QColor(Qt::red));
    t.OnDrawNode = nullptr;
    EXPECT_NE(t.RenderClient().pixelColor(inside), QColor(Qt::red)) << "nothing painted without the event";
}

TEST(DrawTree, WidthsAndMarginsComeFromTheEvents)
{
    DrawTree t;
    t.SetTextMargin(5);
    PTreeNode node = t.GetFirst();
    EXPECT_EQ(t.DoGetNodeWidth(node, NoColumn), 10) << "two text margins";
    EXPECT_EQ(t.DoGetCellContentMargin(node, NoColumn), QPoint(0, 0));
    const int plain = t.GetMaxColumnWidth(NoColumn);

    t.OnGetNodeWidth = [](TBaseNodeTree*, platform::TCanvas&, PTreeNode, TColumnIndex, int& width) { width = 70; };
    t.OnGetCellContentMargin = [](TBaseNodeTree*, platform::TCanvas&, PTreeNode, TColumnIndex,
                                  TTVCellContentMarginType type, QPoint& margin) {
        margin = type == ccmtAllSides ? QPoint(6, 4) : QPoint(3, 2);
    };
    EXPECT_EQ(t.DoGetNodeWidth(node, NoColumn), 70);
    EXPECT_EQ(t.DoGetCellContentMargin(node, NoColumn, ccmtTopLeftOnly), QPoint(3, 2));
    // The widest content counts the node width and the horizontal content margin.
    EXPECT_EQ(t.GetMaxColumnWidth(NoColumn), plain - 10 + 70 + 6);
}

TEST(DrawTree, HintsAreOwnerDrawnUnlessTheCallerSaysOtherwise)
{
    DrawTree t;
    EXPECT_EQ(t.DoGetHintKind(t.GetFirst(), NoColumn), vhkOwnerDraw);
    t.OnGetHintKind = [](TBaseNodeTree*, PTreeNode, TColumnIndex, TTVHintKind& kind) {
        EXPECT_EQ(kind, vhkOwnerDraw);
        kind = vhkText;
    };
    EXPECT_EQ(t.DoGetHintKind(t.GetFirst(), NoColumn), vhkText);
}

TEST(ImageText, AskedAfterTheNodeIsInitialised)
{
    TNodeStringTree t;
    t.SetRootNodeCount(2);
    PTreeNode first = t.GetFirstNoInit();
    PTreeNode second = t.GetNextNoInit(first);
    ASSERT_FALSE(first->Has(vsInitialized));
    EXPECT_EQ(t.ImageText(first, ikNormal, 0), QString()) << "empty without the event";
    EXPECT_TRUE(first->Has(vsInitialized));

    std::vector<bool> initialised;
    t.OnGetImageText = [&](TBaseNodeTree*, PTreeNode n, TTVImageKind kind, TColumnIndex column, QString& text) {
        initialised.push_back(n->Has(vsInitialized));
        EXPECT_TRUE(text.isEmpty());
        text = QStringLiteral("%1/%2").arg(int(kind)).arg(column);
    };
    EXPECT_EQ(t.ImageText(second, ikState, 2), "2/2");
    EXPECT_EQ(initialised, std::vector<bool>{true});
    EXPECT_THROW(t.ImageText(nullptr, ikNormal, 0), EAssertionFailed);
}
