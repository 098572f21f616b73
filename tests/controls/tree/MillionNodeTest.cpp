// A million nodes in a window: scrolled to the end the last rows show, and back at the top the
// first ones, drawn the same as a small tree with the same texts.
#include "controls/tree/StringTree.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

using namespace tree;

namespace {

constexpr uint32_t Groups = 1000;
constexpr uint32_t Items = 999;

// Groups of items, every text from the node's place, so that a small tree can show the same rows.
void Configure(TNodeStringTree& t, uint32_t firstGroup)
{
    t.OnInitNode = [](TBaseNodeTree* tree, PTreeNode parent, PTreeNode, TTreeNodeInitStates& states) {
        if (!parent)
            states |= ivsHasChildren | ivsExpanded;
        Q_UNUSED(tree);
    };
    t.OnInitChildren = [](TBaseNodeTree*, PTreeNode, uint32_t& count) { count = Items; };
    t.OnGetText = [firstGroup](TBaseNodeTree* tree, PTreeNode node, TColumnIndex, TVSTTextType, QString& text) {
        if (tree->GetNodeLevel(node) == 0)
            text = QStringLiteral("Group %1").arg(firstGroup + node->Index);
        else
            text = QStringLiteral("Item %1.%2").arg(firstGroup + tree->GetNodeParent(node)->Index).arg(node->Index);
    };
}

QImage Client(TNodeStringTree& t)
{
    QApplication::processEvents();
    return t.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(MillionNodes, ScrollToTheEndAndBack)
{
    QWidget window;
    window.resize(300, 400);
    auto* big = new TNodeStringTree(&window);
    big->SetBounds(0, 0, 300, 400);
    Configure(*big, 0);
    big->SetRootNodeCount(Groups);
    big->FullExpand();
    ASSERT_EQ(big->VisibleCount(), Groups * (Items + 1));
    window.show();
    big->UpdateScrollBars(true);
    const int rows = int(Groups * (Items + 1));
    ASSERT_EQ(big->RangeY(), uint32_t(rows) * 18u);

    // To the end: the last node fills the last row and the bar stands at its end.
    big->SetOffsetY(-int(big->RangeY()));
    EXPECT_EQ(big->OffsetY(), big->ClientHeight() - int(big->RangeY()));
    EXPECT_EQ(big->BottomNode(), big->GetLastVisible());
    EXPECT_EQ(big->ScrollPos(platform::sbVertical), big->MaxScrollPos(platform::sbVertical));
    const QImage end = Client(*big);

    // The same rows in a small tree of the last two groups, scrolled to its end.
    QWidget smallWindow;
    smallWindow.resize(300, 400);
    auto* small = new TNodeStringTree(&smallWindow);
    small->SetBounds(0, 0, 300, 400);
    Configure(*small, Groups - 2);
    small->SetRootNodeCount(2);
    small->FullExpand();
    smallWindow.show();
    small->UpdateScrollBars(true);
    small->SetOffsetY(-int(small->RangeY()));
    ASSERT_EQ(small->ClientSize(), big->ClientSize());
    EXPECT_TRUE(Client(*small) == end) << "the end of the big tree is drawn as the small one";

    if (const QByteArray shot = qgetenv("CONF_TREE_SCREENSHOT"); !shot.isEmpty()) {
        QImage screen = window.grab().toImage();
        if (QGuiApplication::platformName() == QLatin1String("xcb") && window.screen())
            screen = window.screen()->grabWindow(window.winId()).toImage();
        screen.save(QString::fromLocal8Bit(shot));
    }

    // And back: the first group at the top, drawn as the small tree's first rows would be.
    big->SetOffsetY(0);
    EXPECT_EQ(big->TopNode(), big->GetFirst());
    EXPECT_EQ(big->ScrollPos(platform::sbVertical), 0);
    Configure(*small, 0);
    small->InvalidateChildren(nullptr, true);
    small->SetOffsetY(0);
    small->Invalidate();
    EXPECT_TRUE(Client(*small) == Client(*big)) << "the top of the big tree is drawn as the small one";
}

}  // namespace
