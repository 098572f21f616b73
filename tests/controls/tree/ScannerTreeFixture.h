#pragma once
#include "controls/tree/StringTree.h"
#include "platform/TImageList.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <memory>

namespace treetest {

using namespace tree;

// A list like the meter scanner's results: meters on the first level, their values below, check
// boxes, one image per level, tree lines and buttons, several nodes selectable at once.
class ScannerTree {
public:
    explicit ScannerTree(uint32_t meters = 3, uint32_t values = 4, QSize size = QSize(220, 150))
        : Values(values), Images(16, 16)
    {
        Window.resize(size);
        Tree = new TNodeStringTree(&Window);
        // Pictures of the client area alone: no frame around it.
        Tree->SetBorderStyle(bsNone);
        Tree->SetBounds(0, 0, size.width(), size.height());
        Images.Add(LevelImage(QColor(40, 90, 200), false));
        Images.Add(LevelImage(QColor(30, 150, 60), true));
        Tree->SetImages(&Images);
        Tree->TreeOptions().SetMiscOptions(Tree->TreeOptions().MiscOptions() | toCheckSupport);
        Tree->TreeOptions().SetSelectionOptions(Tree->TreeOptions().SelectionOptions() | toMultiSelect);
        Tree->OnInitNode = [this](TBaseNodeTree* t, PTreeNode parent, PTreeNode node, TTreeNodeInitStates& states) {
            t->SetCheckType(node, ctTriStateCheckBox);
            if (!parent)
                states |= ivsHasChildren;
        };
        Tree->OnInitChildren = [this](TBaseNodeTree*, PTreeNode, uint32_t& count) { count = Values; };
        Tree->OnGetText = [](TBaseNodeTree* t, PTreeNode node, TColumnIndex, TVSTTextType type, QString& text) {
            if (type != ttNormal)
                return;
            if (t->GetNodeLevel(node) == 0)
                text = QStringLiteral("Meter %1 (0x%2)").arg(node->Index + 1).arg(node->Index + 0x10, 2, 16, QLatin1Char('0'));
            else
                text = QStringLiteral("Value %1: %2 kWh").arg(node->Index + 1).arg((node->Index + 1) * 125);
        };
        Tree->OnGetImageIndex = [](TBaseNodeTree* t, PTreeNode node, TTVImageKind kind, TColumnIndex, bool&, int& index) {
            if (kind == ikNormal || kind == ikSelected)
                index = int(t->GetNodeLevel(node));
        };
        Tree->SetRootNodeCount(meters);
    }

    // The top-level node of a meter and one of its values.
    PTreeNode Meter(int i)
    {
        PTreeNode n = Tree->GetFirstChild(nullptr);
        while (n && i-- > 0)
            n = Tree->GetNextSibling(n);
        return n;
    }
    PTreeNode Value(int meter, int i)
    {
        PTreeNode n = Tree->GetFirstChild(Meter(meter));
        while (n && i-- > 0)
            n = Tree->GetNextSibling(n);
        return n;
    }

    // Lets queued work (scroll bar updates) run.
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    QImage Grab()
    {
        Settle();
        return Tree->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    QWidget Window;
    TNodeStringTree* Tree;
    uint32_t Values;
    platform::TImageList Images;

private:
    static QImage LevelImage(QColor colour, bool round)
    {
        QImage img(16, 16, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setPen(colour.darker());
        p.setBrush(colour);
        if (round)
            p.drawEllipse(QRect(2, 2, 11, 11));
        else
            p.drawRect(QRect(1, 2, 13, 11));
        return img;
    }
};

}  // namespace treetest
