#include "controls/tree/NodeTrees.h"
#include "controls/tree/TreeColumns.h"
#include "controls/tree/TreeHeader.h"
#include "controls/tree/TreeUtils.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>
#include <algorithm>

namespace tree {

using platform::TCanvas;

namespace {

// Edge kinds and sides of the button look of a header cell.
enum : unsigned { BDR_RAISEDOUTER = 1, BDR_SUNKENOUTER = 2, BDR_RAISEDINNER = 4, BDR_SUNKENINNER = 8 };
enum : unsigned {
    BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8, BF_RECT = 0xF, BF_MIDDLE = 0x800, BF_SOFT = 0x1000,
    BF_ADJUST = 0x2000, BF_FLAT = 0x4000,
};

struct TEdgeStyle {
    unsigned Edge;
    unsigned Flags;
};
struct TButtonStyles {
    TEdgeStyle Normal, Pressed, Raised;
};

TButtonStyles ButtonStyles(TTVHeaderStyle style)
{
    switch (style) {
    case hsThickButtons: return {{5, 0x380B}, {5, 0x780F}, {0, 0}};
    case hsFlatButtons: return {{4, 0x280B}, {2, 0x280F}, {0, 0}};
    case hsPlates: return {{4, 0x380F}, {2, 0x280F}, {4, 0x280B}};
    }
    return {{5, 0x380B}, {5, 0x780F}, {0, 0}};
}

void Line(TCanvas& canvas, QPoint from, QPoint to, platform::TColor color)
{
    QPainter* painter = canvas.Painter();
    painter->setPen(QPen(platform::ToQColor(color), 0));
    painter->drawLine(from, to);
}

// One ring of an edge: the top-left colour on the left and top sides, the other on the right
// and bottom; the rectangle shrinks by the sides drawn.
void EdgeRing(TCanvas& canvas, QRect& r, unsigned flags, platform::TColor topLeft, platform::TColor bottomRight)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    if (flags & BF_LEFT)
        Line(canvas, r.topLeft(), r.bottomLeft(), topLeft);
    if (flags & BF_TOP)
        Line(canvas, r.topLeft(), r.topRight(), topLeft);
    if (flags & BF_RIGHT)
        Line(canvas, r.topRight(), r.bottomRight(), bottomRight);
    if (flags & BF_BOTTOM)
        Line(canvas, r.bottomLeft(), r.bottomRight(), bottomRight);
    r.adjust(flags & BF_LEFT ? 1 : 0, flags & BF_TOP ? 1 : 0, flags & BF_RIGHT ? -1 : 0, flags & BF_BOTTOM ? -1 : 0);
}

// The platform's edge drawing with the system colours: outer ring, inner ring, middle.
void DrawEdge(TCanvas& canvas, QRect r, unsigned edge, unsigned flags, platform::TColor face)
{
    using namespace platform;
    if (flags & BF_FLAT) {
        if (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER))
            EdgeRing(canvas, r, flags, clBtnShadow, clBtnShadow);
    } else {
        const bool soft = flags & BF_SOFT;
        if (edge & BDR_RAISEDOUTER)
            EdgeRing(canvas, r, flags, soft ? clBtnHighlight : cl3DLight, cl3DDkShadow);
        else if (edge & BDR_SUNKENOUTER)
            EdgeRing(canvas, r, flags, soft ? cl3DDkShadow : clBtnShadow, clBtnHighlight);
        if (edge & BDR_RAISEDINNER)
            EdgeRing(canvas, r, flags, soft ? cl3DLight : clBtnHighlight, clBtnShadow);
        else if (edge & BDR_SUNKENINNER)
            EdgeRing(canvas, r, flags, soft ? clBtnShadow : cl3DDkShadow, cl3DLight);
    }
    if ((flags & BF_MIDDLE) && r.width() > 0 && r.height() > 0) {
        canvas.Brush.Color = face;
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.FillRect(r);
    }
}

// The caption shortened with a trailing "..." to fit the width, keeping as many leading
// characters as fit.
QString ShortenCaption(const TCanvas& canvas, const QString& text, int width)
{
    if (canvas.TextWidth(text) <= width)
        return text;
    const QString ellipsis = QStringLiteral("...");
    int low = 0, high = int(text.size());
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (canvas.TextWidth(text.left(mid) + ellipsis) <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return low == 0 && canvas.TextWidth(ellipsis) > width ? QString() : text.left(low) + ellipsis;
}

// The theme's header item: the style's header section, pressed, hot or normal.
enum class THeaderItemState { Normal, Hot, Pressed };

void DrawThemedHeaderItem(TCanvas& canvas, const QWidget* widget, const QRect& r, THeaderItemState state)
{
    QPainter* p = canvas.Painter();
    if (!p || r.isEmpty())
        return;
    QStyleOptionHeader option;
    option.initFrom(widget);
    option.rect = r;
    option.state = QStyle::State_Horizontal | QStyle::State_Enabled;
    option.state |= state == THeaderItemState::Pressed ? QStyle::State_Sunken : QStyle::State_Raised;
    if (state == THeaderItemState::Hot)
        option.state |= QStyle::State_MouseOver;
    option.position = QStyleOptionHeader::Middle;
    widget->style()->drawControl(QStyle::CE_HeaderSection, &option, p, widget);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Strip painting

void TBaseNodeTree::PaintNonClient(QPainter& painter, const QRect& r)
{
    if (!(FHeader.Options() & hoVisible))
        return;
    FHeader.Columns().PaintHeader(painter, r.intersected(HeaderRect()), EffectiveOffsetX());
}

void TNodeTreeColumns::PaintHeader(QPainter& painter, const QRect& r, int hOffset)
{
    const QRect header = Tree()->HeaderRect();
    if (r.isEmpty() || header.isEmpty())
        return;
    const int height = header.height();
    const int width = std::max(r.right() + 1, header.right() + 1);
    if (FHeaderBitmap.size() != QSize(width, height))
        FHeaderBitmap = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter bitmapPainter(&FHeaderBitmap);
        TCanvas canvas;
        canvas.Attach(&bitmapPainter);
        const int fixedWidth = GetVisibleFixedWidth();
        // Header coordinates: the strip's top is 0 in the bitmap.
        const bool rtl = Tree()->RightToLeft();
        const int rtlOffset = RightToLeftOffset();
        const auto paintFixed = [&] {
            if (fixedWidth > 0)
                PaintHeader(canvas, QRect(0, 0, std::min(width, fixedWidth), height), QPoint(0, 0), rtlOffset);
        };
        // The fixed area is painted last in right-to-left display, where the scrolled part can
        // reach over it.
        if (!rtl)
            paintFixed();
        canvas.SetClipRect(QRect(fixedWidth, 0, width - fixedWidth, height));
        PaintHeader(canvas, QRect(fixedWidth + hOffset, 0, width - fixedWidth, height), QPoint(fixedWidth, 0),
                    rtlOffset);
        canvas.ClearClip();
        if (rtl)
            paintFixed();
        canvas.Detach();
    }
    const QRect source = r.translated(0, -header.top());
    painter.drawImage(r.topLeft(), FHeaderBitmap, source);
}

void TNodeTreeColumns::PaintHeader(TCanvas& canvas, QRect r, QPoint target, int rtlOffset)
{
    if (r.isEmpty())
        return;
    TBaseNodeTree* tree = Tree();
    const TTVHeaderOptions options = FHeader->Options();
    const bool advanced = (options & hoOwnerDraw) && tree->OnAdvancedHeaderDraw && tree->OnHeaderDrawQueryElements;
    const bool plain = (options & hoOwnerDraw) && tree->OnHeaderDraw && !advanced;
    const int headerHeight = FHeader->Height();
    canvas.Font = FHeader->Font();

    THeaderPaintInfo info;
    info.TargetCanvas = &canvas;
    info.PaintRectangle = QRect(target, QSize(r.width(), headerHeight));
    THeaderPaintElements elements = 0;
    if (advanced)
        tree->OnHeaderDrawQueryElements(FHeader, info, elements);
    if (elements & hpeBackground) {
        tree->OnAdvancedHeaderDraw(FHeader, info, hpeBackground);
    } else if (tree->HasState(tsUseThemes)) {
        DrawThemedHeaderItem(canvas, tree, info.PaintRectangle, THeaderItemState::Normal);
    } else {
        canvas.Brush.Color = FHeader->Background();
        canvas.Brush.Style = platform::TBrushStyle::bsSolid;
        canvas.FillRect(info.PaintRectangle);
    }

    // R is in column space; rtlOffset moves the painted cells right of the target.
    const int limit = target.x() + r.width();
    r = QRect(QPoint(std::max(r.left(), 0), std::max(r.top(), 0)),
              QPoint(std::min(r.right(), TotalWidth() - 1), std::min(r.bottom(), headerHeight - 1)));
    if (r.isEmpty())
        return;
    // The lookup adds the tree's own right-to-left shift to its running left.
    TColumnIndex column = ColumnFromPosition(QPoint(r.left() + RightToLeftOffset(), 0), false);
    if (!IsValidColumn(column))
        return;
    // Flat cells that reach the bevel leave their right border to it.
    const bool showRightBorder = !(FHeader->Style() != hsThickButtons && (FHeader->Options() & hoAutoResize) &&
                                   tree->BevelKind() != bkNone);
    int left = FItems[size_t(column)]->FLeft + target.x() + rtlOffset - r.left();
    while (IsValidColumn(column) && left < limit) {
        TNodeTreeColumn& c = *FItems[size_t(column)];
        const int right = left + c.FWidth;
        const QRect cell(QPoint(left, target.y()), QPoint(right - 1, target.y() + r.height() - 1));
        const bool hadClip = canvas.HasClip();
        const QRect oldClip = canvas.ClipRect();
        canvas.IntersectClipRect(QRect(QPoint(std::max(target.x(), left), target.y() + r.top()),
                                       QPoint(std::min(limit, right) - 1, target.y() + r.bottom())));
        PaintHeaderCell(canvas, c, cell, advanced, plain, showRightBorder);
        if (hadClip)
            canvas.SetClipRect(oldClip);
        else
            canvas.ClearClip();
        left = right;
        column = GetNextVisibleColumn(column);
    }
}

void TNodeTreeColumns::PaintHeaderCell(TCanvas& canvas, TNodeTreeColumn& c, const QRect& r, bool advanced,
                                       bool plainOwnerDraw, bool showRightBorder)
{
    TBaseNodeTree* tree = Tree();
    const TTVHeaderOptions options = FHeader->Options();
    const TColumnIndex index = c.Index();
    platform::TImageList* images = FHeader->Images();

    THeaderPaintInfo info;
    info.TargetCanvas = &canvas;
    info.Column = &c;
    info.PaintRectangle = r;
    info.IsHoverIndex = index == FHoverIndex && (options & hoHotTrack) && (c.FOptions & coEnabled);
    info.IsDownIndex = index == FDownIndex && !FCheckBoxHit;
    if ((c.FOptions & coShowDropMark) && index == FDropTarget && index != FDragIndex)
        info.DropMark = FDropBefore ? dmmLeft : dmmRight;
    info.IsEnabled = (c.FOptions & coEnabled) && tree->isEnabled();
    info.ShowHeaderGlyph = (options & hoShowImages) && ((images && c.FImageIndex >= 0) || c.FCheckBox);
    info.ShowSortGlyph = index == FHeader->SortColumn && (options & hoShowSortGlyphs);
    info.ShowRightBorder = showRightBorder;
    const bool wrap = c.FOptions & coWrapCaption;

    if (c.FStyle == vsOwnerDraw && plainOwnerDraw) {
        tree->OnHeaderDraw(FHeader, canvas, &c, r, info.IsHoverIndex, info.IsDownIndex, info.DropMark);
        return;
    }
    THeaderPaintElements elements = 0;
    if (advanced)
        tree->OnHeaderDrawQueryElements(FHeader, info, elements);

    const bool themed = tree->HasState(tsUseThemes);
    if (elements & hpeBackground) {
        tree->OnAdvancedHeaderDraw(FHeader, info, hpeBackground);
    } else if (themed) {
        DrawThemedHeaderItem(canvas, tree, r,
                             info.IsDownIndex    ? THeaderItemState::Pressed
                             : info.IsHoverIndex ? THeaderItemState::Hot
                                                 : THeaderItemState::Normal);
    } else {
        const TButtonStyles styles = ButtonStyles(FHeader->Style());
        TEdgeStyle edge = styles.Normal;
        bool addRight = true;
        if (info.IsDownIndex) {
            edge = styles.Pressed;
            addRight = false;
        } else if (FHeader->Style() == hsPlates && info.IsHoverIndex && (c.FOptions & coAllowClick) &&
                   (c.FOptions & coEnabled)) {
            edge = styles.Raised;
        }
        if (addRight && (info.ShowRightBorder || index < Count() - 1))
            edge.Flags |= BF_RIGHT;
        DrawEdge(canvas, r, edge.Edge, edge.Flags, FHeader->Background());
    }

    info.PaintRectangle = r.adjusted(2, 2, -2, -2);
    unsigned format = platform::DT_NOPREFIX;
    const TAlignment alignment = c.CaptionAlignment();
    format |= alignment == taRightJustify ? platform::DT_RIGHT : alignment == taCenter ? platform::DT_CENTER : platform::DT_LEFT;
    QPoint glyphPos, sortGlyphPos;
    QSize sortGlyphSize;
    QRect textRect;
    c.LayoutHeaderCell(canvas, info.PaintRectangle, info.ShowHeaderGlyph, info.ShowSortGlyph, glyphPos, sortGlyphPos,
                       sortGlyphSize, textRect, format);
    if (info.IsDownIndex) {
        glyphPos += QPoint(1, 1);
        sortGlyphPos += QPoint(1, 1);
        textRect.translate(1, 1);
    }
    info.GlyphPos = glyphPos;
    info.SortGlyphPos = sortGlyphPos;
    info.TextRectangle = textRect;

    if (!(elements & hpeHeaderGlyph)) {
        const int imageWidth = images ? images->Width() : 0;
        if (info.ShowHeaderGlyph &&
            (!info.ShowSortGlyph || c.UseRightToLeftReading() || sortGlyphPos.x() >= glyphPos.x() + imageWidth)) {
            if (c.FCheckBox) {
                platform::TImageList* checkImages = tree->CheckImages();
                if (checkImages) {
                    TTVImageInfo imageInfo;
                    imageInfo.Index = tree->GetCheckImage(nullptr, c.FCheckType, c.FCheckState, info.IsEnabled);
                    imageInfo.Images = checkImages;
                    imageInfo.XPos = glyphPos.x();
                    imageInfo.YPos = glyphPos.y();
                    tree->PaintCheckImage(canvas, imageInfo, false);
                    c.FImageRect = QRect(glyphPos, QSize(checkImages->Width(), checkImages->Height()));
                    c.FHasImage = true;
                } else {
                    c.FHasImage = false;
                }
            } else {
                images->Draw(canvas, glyphPos.x(), glyphPos.y(), c.FImageIndex, info.IsEnabled);
                c.FImageRect = QRect(glyphPos, QSize(images->Width(), images->Height()));
                c.FHasImage = true;
            }
        } else {
            c.FHasImage = false;
        }
    }
    if (!(elements & hpeText) && !c.FText.isEmpty()) {
        // A themed cell shows hot by its background alone.
        const bool hot = info.IsHoverIndex && (options & hoHotTrack) && !themed;
        DrawHeaderCaption(canvas, wrap ? c.FCaptionText : c.FText, textRect, info.IsEnabled, hot, format, wrap);
    }
    if (!(elements & hpeSortGlyph) && info.ShowSortGlyph) {
        const bool ascending = FHeader->SortDirection == sdAscending;
        if (tree->HasState(tsUseExplorerTheme)) {
            QStyleOptionHeader option;
            option.initFrom(tree);
            option.rect = QRect(sortGlyphPos, sortGlyphSize);
            option.sortIndicator = ascending ? QStyleOptionHeader::SortUp : QStyleOptionHeader::SortDown;
            tree->style()->drawPrimitive(QStyle::PE_IndicatorHeaderArrow, &option, canvas.Painter(), tree);
        } else if (platform::TImageList* utility = UtilityImages()) {
            const int glyph = themed ? (ascending ? UtilityImageIndex::ThemedSortAscending
                                                  : UtilityImageIndex::ThemedSortDescending)
                                     : (ascending ? UtilityImageIndex::SortAscending : UtilityImageIndex::SortDescending);
            utility->Draw(canvas, sortGlyphPos.x(), sortGlyphPos.y(), glyph);
        }
    }
    if (!(elements & hpeDropMark) && info.DropMark != dmmNone) {
        if (platform::TImageList* utility = UtilityImages()) {
            const QRect& p = info.PaintRectangle;
            const int y = (p.top() + p.bottom() + 1 - utility->Height()) / 2;
            if (info.DropMark == dmmLeft)
                utility->Draw(canvas, p.left(), y, UtilityImageIndex::DropMarkLeft);
            else
                utility->Draw(canvas, p.right() + 1 - 16, y, UtilityImageIndex::DropMarkRight);
        }
    }
    const THeaderPaintElements others = elements & THeaderPaintElements(~hpeBackground);
    if (others) {
        canvas.Painter()->save();
        tree->OnAdvancedHeaderDraw(FHeader, info, others);
        canvas.Painter()->restore();
    }
}

void TNodeTreeColumns::DrawHeaderCaption(TCanvas& canvas, const QString& caption, QRect bounds, bool enabled, bool hot,
                                         unsigned drawFormat, bool wrapCaption)
{
    QString text = caption;
    if (!wrapCaption)
        text = ShortenCaption(canvas, caption, bounds.width());
    drawFormat |= wrapCaption ? platform::DT_WORDBREAK : platform::DT_SINGLELINE;
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    if (enabled) {
        canvas.Font.Color = hot ? Tree()->Colors().Get(TTVColors::HeaderHotColor) : FHeader->Font().Color;
        canvas.DrawText(text, bounds, drawFormat);
    } else {
        QRect shifted = bounds.translated(1, 1);
        canvas.Font.Color = platform::clBtnHighlight;
        canvas.DrawText(text, shifted, drawFormat);
        canvas.Font.Color = platform::clBtnShadow;
        canvas.DrawText(text, bounds, drawFormat);
    }
    canvas.Brush.Style = platform::TBrushStyle::bsSolid;
}

// ---------------------------------------------------------------------------------------------
// Cell layout

void TNodeTreeColumn::ComputeHeaderLayoutSizes(TCanvas& canvas, const QRect& client, bool useHeaderGlyph,
                                               bool useSortGlyph, QSize& glyphSize, QSize& sortSize, QSize& textSize)
{
    TBaseNodeTree* tree = Tree();
    glyphSize = QSize();
    if (useHeaderGlyph) {
        if (FCheckBox) {
            if (platform::TImageList* list = tree->CheckImages())
                glyphSize = QSize(list->Width(), list->Height());
        } else if (platform::TImageList* images = FOwner->FHeader->Images()) {
            glyphSize = QSize(images->Width(), images->Height());
        }
    }
    sortSize = QSize();
    if (useSortGlyph)
        if (platform::TImageList* utility = UtilityImages())
            sortSize = QSize(utility->Width(), utility->Height());
    textSize = QSize();
    if (!FText.isEmpty()) {
        if (FOptions & coWrapCaption) {
            // Wrapped once per caption change, then measured as the lines it gave.
            if (FCaptionText.isEmpty())
                FCaptionText = WrapString(canvas, FText, QRect(0, 0, client.width(), 1), UseRightToLeftReading(),
                                          platform::DT_NOPREFIX);
            QRect r(0, 0, client.width(), 0);
            canvas.DrawText(FCaptionText, r, platform::DT_CALCRECT | platform::DT_NOPREFIX);
            textSize = r.size();
        } else {
            FCaptionText = FText;
            textSize = QSize(canvas.TextWidth(FText) + 2, canvas.TextHeight(FText));
        }
    }
}

void TNodeTreeColumn::LayoutHeaderCell(TCanvas& canvas, const QRect& client, bool useHeaderGlyph, bool useSortGlyph,
                                       QPoint& glyphPos, QPoint& sortGlyphPos, QSize& sortGlyphSize, QRect& textBounds,
                                       unsigned /*drawFormat*/)
{
    if (FText.isEmpty() && !useHeaderGlyph && !useSortGlyph) {
        textBounds = QRect(client.topLeft(), QSize(0, 0));
        return;
    }
    TAlignment alignment = CaptionAlignment();
    const bool rtl = UseRightToLeftReading();
    if (rtl && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    const int w = client.width(), h = client.height();
    QSize glyph, sort, text;
    ComputeHeaderLayoutSizes(canvas, client, useHeaderGlyph, useSortGlyph, glyph, sort, text);
    sortGlyphSize = sort;
    const int s = FText.isEmpty() ? 0 : FSpacing;
    glyphPos = QPoint();
    sortGlyphPos = QPoint(0, (h - sort.height()) / 2);
    int textLeft = 0, textTop = 0;
    const bool sideLayout = FLayout == blGlyphLeft || FLayout == blGlyphRight || glyph.isEmpty();

    if (FText.isEmpty() && glyph.isEmpty() && !sort.isEmpty()) {
        sortGlyphPos = QPoint((w - sort.width()) / 2, (h - sort.height()) / 2);
        sortGlyphPos += client.topLeft();
        textBounds = QRect(client.topLeft(), QSize(0, 0));
        return;
    }
    // Vertical.
    if (sideLayout) {
        glyphPos.setY((h - glyph.height()) / 2);
        textTop = std::max(-5, (h - text.height()) / 2);
    } else if (FLayout == blGlyphTop) {
        glyphPos.setY((h - (glyph.height() + text.height() + s)) / 2);
        textTop = glyphPos.y() + glyph.height() + s;
    } else {
        textTop = (h - (glyph.height() + text.height() + s)) / 2;
        glyphPos.setY(textTop + text.height() + s);
    }
    // Horizontal.
    if (alignment == taLeftJustify) {
        int minLeft = FMargin;
        if (rtl && !sort.isEmpty()) {
            sortGlyphPos.setX(FMargin);
            minLeft = FMargin + sort.width() + FSpacing;
        }
        if (sideLayout) {
            if (FLayout == blGlyphLeft && !glyph.isEmpty()) {
                glyphPos.setX(minLeft);
                minLeft += glyph.width() + FSpacing;
            }
            textLeft = minLeft;
            minLeft += text.width() + s;
            if (FLayout == blGlyphRight && !glyph.isEmpty()) {
                glyphPos.setX(minLeft);
                minLeft += glyph.width() + FSpacing;
            }
        } else {
            textLeft = minLeft;
            glyphPos.setX(std::max(minLeft, (w - glyph.width()) / 2));
            minLeft = std::max(glyphPos.x() + glyph.width() + FSpacing, textLeft + text.width() + s);
        }
        if (!rtl && !sort.isEmpty())
            sortGlyphPos.setX(minLeft);
    } else if (alignment == taRightJustify) {
        int maxRight = w - FMargin;
        if (!rtl && !sort.isEmpty()) {
            sortGlyphPos.setX(maxRight - sort.width());
            maxRight = sortGlyphPos.x() - FSpacing;
        }
        if (sideLayout) {
            if (FLayout == blGlyphRight && !glyph.isEmpty()) {
                glyphPos.setX(maxRight - glyph.width());
                maxRight = glyphPos.x() - FSpacing;
            }
            textLeft = maxRight - text.width();
            maxRight = textLeft - s;
            if (FLayout == blGlyphLeft && !glyph.isEmpty()) {
                glyphPos.setX(maxRight - glyph.width());
                maxRight = glyphPos.x() - FSpacing;
            }
        } else {
            textLeft = maxRight - text.width();
            int gx = (w - glyph.width()) / 2;
            if (gx + glyph.width() > maxRight - FSpacing)
                gx = maxRight - glyph.width() - FSpacing;
            glyphPos.setX(gx);
            maxRight = std::min(textLeft - s, gx - FSpacing);
        }
        if (rtl && !sort.isEmpty())
            sortGlyphPos.setX(maxRight - sort.width());
    } else {
        if (sideLayout) {
            const int start = (w - (glyph.width() + s + text.width())) / 2;
            if (FLayout == blGlyphRight) {
                textLeft = start;
                glyphPos.setX(start + s + text.width());
            } else {
                glyphPos.setX(start);
                textLeft = start + (glyph.isEmpty() ? 0 : glyph.width() + s);
            }
        } else {
            glyphPos.setX((w - glyph.width()) / 2);
            textLeft = (w - text.width()) / 2;
            if (!sort.isEmpty())
                textLeft -= sort.width() / 2;
        }
        if (!sort.isEmpty()) {
            const int rightMost = std::max(glyph.isEmpty() ? 0 : glyphPos.x() + glyph.width(), textLeft + text.width());
            const int leftMost = std::min(glyph.isEmpty() ? textLeft : glyphPos.x(), textLeft);
            sortGlyphPos.setX(rtl ? leftMost - FSpacing - sort.width() : rightMost + FSpacing);
        }
    }
    // Final limits.
    int minLeft = FMargin, maxRight = w - FMargin;
    if (!sort.isEmpty()) {
        if (!rtl) {
            if (sortGlyphPos.x() + sort.width() > maxRight)
                sortGlyphPos.setX(maxRight - sort.width());
            sortGlyphPos.setX(std::max(sortGlyphPos.x(), FMargin));
            maxRight = sortGlyphPos.x() - FSpacing;
        } else {
            minLeft = sortGlyphPos.x() + sort.width() + FSpacing;
        }
    }
    if (!glyph.isEmpty()) {
        if (glyphPos.x() + glyph.width() > maxRight)
            glyphPos.setX(maxRight - glyph.width());
        if (FLayout == blGlyphRight)
            maxRight = glyphPos.x() - FSpacing;
        glyphPos.setX(std::max(glyphPos.x(), minLeft));
        if (FLayout == blGlyphLeft)
            minLeft = glyphPos.x() + glyph.width() + FSpacing;
        const TTVHeader* header = FOwner->FHeader;
        if (!(Index() == header->GetMainColumn() && !FCheckBox))
            glyphPos.rx() -= 2;
    }
    textLeft = std::max(textLeft, minLeft);
    const int textRight = std::min(textLeft + text.width(), maxRight);
    textBounds = QRect(QPoint(textLeft, textTop), QSize(std::max(textRight - textLeft, 0), text.height()));
    if ((FOptions & coWrapCaption) && textBounds.width() > 0)
        FCaptionText = WrapString(canvas, FText, textBounds, UseRightToLeftReading(), platform::DT_NOPREFIX);
    glyphPos += client.topLeft();
    sortGlyphPos += client.topLeft();
    textBounds.translate(client.topLeft());
}

}  // namespace tree
