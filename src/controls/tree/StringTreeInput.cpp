// The string tree's texts where the keyboard and the hints ask for them: the incremental search
// compares node texts, hints and tooltips show them.
#include "controls/tree/StringTree.h"

namespace tree {

using namespace platform;

void TCustomNodeStringTree::GetTextInfo(PTreeNode node, TColumnIndex column, TFont& font, QRect& r, QString& text)
{
    TBaseNodeTree::GetTextInfo(node, column, font, r, text);
    TCanvas canvas;
    canvas.Font = font;
    DoPaintText(node, canvas, column, ttNormal);
    // The paint-text handler may set another font for this text.
    const bool changed = canvas.Font != font || canvas.Font.Color != font.Color;
    if (changed)
        font = canvas.Font;
    const int textHeight = canvas.TextHeight(QStringLiteral("Tg"));
    text = GetText(node, column);
    r = GetDisplayRect(node, column, true, !GetMultiline(node));
    if (TreeOptions().PaintOptions() & toShowHorzGridLines)
        r.setBottom(r.bottom() - 1);
    const int spare = (r.height() - textHeight) / 2;
    if (spare > 0)
        r.adjust(0, spare, 0, -spare);
}

QString TCustomNodeStringTree::DoGetNodeHint(PTreeNode node, TColumnIndex column,
                                             TTVTooltipLineBreakStyle& lineBreakStyle)
{
    QString hint = TBaseNodeTree::DoGetNodeHint(node, column, lineBreakStyle);
    if (OnGetHint)
        OnGetHint(this, node, column, lineBreakStyle, hint);
    return hint;
}

QString TCustomNodeStringTree::DoGetNodeTooltip(PTreeNode node, TColumnIndex column,
                                                TTVTooltipLineBreakStyle& lineBreakStyle)
{
    QString tooltip = TBaseNodeTree::DoGetNodeTooltip(node, column, lineBreakStyle);
    if (OnGetHint)
        OnGetHint(this, node, column, lineBreakStyle, tooltip);
    else
        tooltip = GetText(node, column);
    return tooltip;
}

int TCustomNodeStringTree::DoIncrementalSearch(PTreeNode node, const QString& text)
{
    if (OnIncrementalSearch)
        return TBaseNodeTree::DoIncrementalSearch(node, text);
    // A case-sensitive prefix of the text in the focused column.
    return GetText(node, FocusedColumn()).startsWith(text, Qt::CaseSensitive) ? 0 : 1;
}

}  // namespace tree
