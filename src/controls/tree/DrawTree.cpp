#include "controls/tree/DrawTree.h"

namespace tree {

TCustomNodeDrawTree::TCustomNodeDrawTree(QWidget* parent) : TBaseNodeTree(parent) {}

void TCustomNodeDrawTree::DoPaintNode(TTVPaintInfo& paintInfo)
{
    if (OnDrawNode)
        OnDrawNode(this, paintInfo);
}

int TCustomNodeDrawTree::DoGetNodeWidth(PTreeNode node, TColumnIndex column, platform::TCanvas* canvas)
{
    int width = 2 * TextMargin();
    if (OnGetNodeWidth)
        OnGetNodeWidth(this, canvas ? *canvas : Canvas(), node, column, width);
    return width;
}

QPoint TCustomNodeDrawTree::DoGetCellContentMargin(PTreeNode node, TColumnIndex column,
                                                   TTVCellContentMarginType marginType, platform::TCanvas* canvas)
{
    QPoint margin(0, 0);
    if (OnGetCellContentMargin)
        OnGetCellContentMargin(this, canvas ? *canvas : Canvas(), node, column, marginType, margin);
    return margin;
}

}  // namespace tree
