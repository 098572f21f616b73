#pragma once
#include "controls/tree/NodeTrees.h"

#include <functional>

// The owner-drawn tree: every cell is painted, measured and given margins by the caller's events;
// the tree draws lines, buttons, check boxes, images and selection around them as usual.
namespace tree {

class TCustomNodeDrawTree : public TBaseNodeTree {
    Q_OBJECT
public:
    explicit TCustomNodeDrawTree(QWidget* parent = nullptr);

    // Paints a cell's content; nothing is painted there without it.
    std::function<void(TBaseNodeTree*, TTVPaintInfo& paintInfo)> OnDrawNode;
    std::function<void(TBaseNodeTree*, platform::TCanvas&, PTreeNode, TColumnIndex, int& nodeWidth)> OnGetNodeWidth;
    std::function<void(TBaseNodeTree*, platform::TCanvas&, PTreeNode, TColumnIndex, TTVCellContentMarginType,
                       QPoint& margin)>
        OnGetCellContentMargin;

    // 2 x TextMargin unless OnGetNodeWidth says otherwise.
    int DoGetNodeWidth(PTreeNode node, TColumnIndex column, platform::TCanvas* canvas = nullptr) override;

protected:
    void DoPaintNode(TTVPaintInfo& paintInfo) override;
    // (0, 0) unless OnGetCellContentMargin says otherwise.
    QPoint DoGetCellContentMargin(PTreeNode node, TColumnIndex column, TTVCellContentMarginType marginType = ccmtAllSides,
                                  platform::TCanvas* canvas = nullptr) override;
    // Hints of a draw tree are drawn by the caller unless OnGetHintKind says otherwise.
    TTVHintKind GetDefaultHintKind() override { return vhkOwnerDraw; }
};

class TNodeDrawTree : public TCustomNodeDrawTree {
    Q_OBJECT
public:
    explicit TNodeDrawTree(QWidget* parent = nullptr) : TCustomNodeDrawTree(parent) {}
};

}  // namespace tree
