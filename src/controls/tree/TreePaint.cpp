// Painting: the paint handler, PaintTree over any window of the content, and every row and cell
// part: background, selection, focus rectangle, tree lines, buttons, check boxes and images.
#include "controls/tree/NodeTrees.h"
#include "controls/tree/TreeColumnsAccess.h"
#include "controls/tree/TreeUtils.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QPixmap>
#include <QToolTip>
#include <cmath>
#include <map>
#include <tuple>

namespace tree {

using platform::TCanvas;
using platform::ToQColor;

namespace {

// The tree's rounding: halves go to the even neighbour.
int RoundEven(double value) { return int(std::nearbyint(value)); }

int MulDiv(int a, int b, int c) { return c == 0 ? -1 : int(std::lround(double(a) * b / c)); }

// Restores the painter's state when a row or cell step ends, however it ends.
struct PainterState {
    QPainter* p;
    explicit PainterState(QPainter* painter) : p(painter)
    {
        if (p)
            p->save();
    }
    ~PainterState()
    {
        if (p)
            p->restore();
    }
};

// Fills a dotted line in one call: a 2 x 2 pattern of the line and the background colour,
// anchored at the painter's origin, so that a pixel is the background where x + y + parity is odd.
// The brushes are kept per colour pair and parity (painting runs on the GUI thread only), so a row
// full of line pieces costs fills, not new patterns.
void FillDotted(QPainter& p, const QRect& r, const QColor& line, const QColor& back, int parity)
{
    static std::map<std::tuple<QRgb, QRgb, int>, QBrush> brushes;
    const auto key = std::make_tuple(line.rgba(), back.rgba(), parity & 1);
    auto it = brushes.find(key);
    if (it == brushes.end()) {
        if (brushes.size() >= 64)
            brushes.clear();
        QImage pattern(2, 2, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                pattern.setPixel(x, y, qPremultiply((((x + y + parity) & 1) ? back : line).rgba()));
        it = brushes.emplace(key, QBrush(pattern)).first;
    }
    const QPoint origin = p.brushOrigin();
    p.setBrushOrigin(0, 0);
    p.fillRect(r, it->second);
    p.setBrushOrigin(origin);
}

}  // namespace

// ---- colours and small queries ----

bool TBaseNodeTree::PaintsFocused() const { return hasFocus() || (FOptions->PaintOptions() & toPopupMode); }

TColor TBaseNodeTree::SelectionColor() const
{
    return FColors.Get(PaintsFocused() ? TTVColors::FocusedSelectionColor : TTVColors::UnfocusedSelectionColor);
}

TColor TBaseNodeTree::SelectionBorderColor() const
{
    return FColors.Get(PaintsFocused() ? TTVColors::FocusedSelectionBorderColor : TTVColors::UnfocusedSelectionBorderColor);
}

void TBaseNodeTree::DoGetImageIndex(PTreeNode node, TTVImageKind kind, TColumnIndex column, bool& ghosted, int& index)
{
    if (OnGetImageIndex)
        OnGetImageIndex(this, node, kind, column, ghosted, index);
}

bool TBaseNodeTree::HasImage(PTreeNode node, TTVImageKind kind, TColumnIndex column)
{
    if (!node->Has(vsInitialized))
        InitNode(node);
    int index = -1;
    bool ghosted = false;
    DoGetImageIndex(node, kind, column, ghosted, index);
    return index >= 0;
}

QSize TBaseNodeTree::GetNodeImageSize(PTreeNode) const
{
    return FImages ? QSize(FImages->Width(), FImages->Height()) : QSize(0, 0);
}

void TBaseNodeTree::GetImageIndex(TTVPaintInfo& info, TTVImageKind kind, TTVImageInfoIndex index,
                                  platform::TImageList* defaultImages)
{
    TTVImageInfo& slot = info.ImageInfo[index];
    slot.Index = -1;
    slot.Ghosted = false;
    DoGetImageIndex(info.Node, kind, info.Column, slot.Ghosted, slot.Index);
    slot.Images = defaultImages;
}

int TBaseNodeTree::GetCheckImage(PTreeNode node, TCheckType imgCheckType, TCheckState imgCheckState, bool imgEnabled) const
{
    bool hot = false;
    if (node) {
        imgCheckType = node->CheckType();
        imgCheckState = node->CheckState();
        imgEnabled = !node->Has(vsDisabled) && isEnabled();
        hot = node == FCurrentHotNode;
    }
    switch (imgCheckState) {
    case csUncheckedDisabled: imgCheckState = csUncheckedNormal, imgEnabled = false; break;
    case csCheckedDisabled: imgCheckState = csCheckedNormal, imgEnabled = false; break;
    case csMixedDisabled: imgCheckState = csMixedNormal, imgEnabled = false; break;
    default: break;
    }
    if (imgCheckType == ctTriStateCheckBox)
        imgCheckType = ctCheckBox;
    if (imgCheckType == ctNone)
        return -1;
    const bool pressed = imgCheckState == csUncheckedPressed || imgCheckState == csCheckedPressed ||
                         imgCheckState == csMixedPressed;
    const bool mixed = imgCheckState == csMixedNormal || imgCheckState == csMixedPressed;
    const bool checked = imgCheckState == csCheckedNormal || imgCheckState == csCheckedPressed;
    // Each look takes four images: normal, hot, pressed, disabled.
    int base;
    if (mixed)
        base = CheckImageIndex::CheckMixed;
    else if (imgCheckType == ctButton)
        base = CheckImageIndex::PushButton;
    else if (imgCheckType == ctRadioButton)
        base = checked ? CheckImageIndex::RadioChecked : CheckImageIndex::RadioUnchecked;
    else
        base = checked ? CheckImageIndex::CheckChecked : CheckImageIndex::CheckUnchecked;
    if (!imgEnabled)
        return base + 3;
    if (pressed)
        return base + 2;
    return hot ? base + 1 : base;
}

// ---- button bitmaps ----

void TBaseNodeTree::PrepareButtonBitmaps()
{
    constexpr int size = 9;
    const QColor line = ToQColor(FColors.Get(TTVColors::TreeLineColor));
    const QColor sign = ToQColor(FColors.NodeFontColor());
    QColor fill = Qt::transparent;
    if (FButtonFillMode == fmTreeColor)
        fill = ToQColor(FColors.BackGroundColor());
    else if (FButtonFillMode == fmWindowColor || FButtonFillMode == fmShaded)
        fill = ToQColor(platform::clWindow);
    auto make = [&](bool plus) {
        QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        if (FButtonStyle == bsTriangle) {
            p.setPen(Qt::black);
            p.setBrush(Qt::black);
            const QPolygon tri = plus ? QPolygon({QPoint(2, 0), QPoint(6, 4), QPoint(2, 8)})
                                      : QPolygon({QPoint(0, 2), QPoint(8, 2), QPoint(4, 6)});
            p.drawPolygon(tri);
        } else {
            p.fillRect(QRect(0, 0, size, size), fill);
            p.fillRect(QRect(0, 0, size, 1), line);
            p.fillRect(QRect(0, size - 1, size, 1), line);
            p.fillRect(QRect(0, 0, 1, size), line);
            p.fillRect(QRect(size - 1, 0, 1, size), line);
            p.fillRect(QRect(2, size / 2, size - 4, 1), sign);
            if (plus)
                p.fillRect(QRect(size / 2, 2, 1, size - 4), sign);
        }
        return img;
    };
    FPlusBM = FHotPlusBM = FSelectedHotPlusBM = make(true);
    FMinusBM = FHotMinusBM = FSelectedHotMinusBM = make(false);
}

// ---- paint handler ----

void TBaseNodeTree::Paint()
{
    // Structure changes move the ranges; the bars follow once the event loop is free again.
    if ((FScrollBarsStale || FLastRootHeight != FRoot->TotalHeight) && !FScrollBarsQueued) {
        FScrollBarsQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                FScrollBarsQueued = false;
                UpdateScrollBars(true);
            },
            Qt::QueuedConnection);
    }
    const TTVInternalPaintOptions options =
        poBackground | poColumnColor | poDrawFocusRect | poDrawSelection | poDrawDropMark | poGridLines;
    const QRect update = UpdateRect();
    if (update.isEmpty())
        return;
    const int rtlOffset = RightToLeft() && ColumnsInUse(*this) ? ComputeRTLOffset(true) : 0;
    const int fixed = ColumnsVisibleFixedWidth(*this);
    QRect window;
    if (fixed > 0) {
        QRect fixedWindow = ClientRect();
        fixedWindow.setRight(fixed - 1);
        const QPoint target = fixedWindow.topLeft();
        fixedWindow.translate(-rtlOffset, -FOffsetY);
        PaintTree(Canvas(), fixedWindow, target, options);
        window = ClientRect();
        if (RRight(window) < fixed)
            return;
        window.setLeft(fixed);
    } else {
        window = update;
    }
    const QPoint target = window.topLeft();
    window.translate(FEffectiveOffsetX - rtlOffset, -FOffsetY);
    PaintTree(Canvas(), window, target, options);
}

int TBaseNodeTree::ComputeRTLOffset(bool excludeScrollBar) const
{
    const TScrollStyle bars = FScrollBarOptions.ScrollBars;
    const bool barVisible = ClientHeight() < int(FRangeY) && (bars == ssVertical || bars == ssBoth);
    const int barWidth = barVisible ? QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    // The header strip stands over the client only; counted with the bar beside it, it is as wide
    // as the window, which is the width the columns are right-aligned against.
    const int headerWidth = HeaderRect().width() + barWidth;
    int result = barWidth;
    if (headerWidth >= result + int(FRangeX))
        result = headerWidth - int(FRangeX);
    if (excludeScrollBar)
        result -= barWidth;
    return result;
}

// ---- PaintTree ----

void TBaseNodeTree::PaintTree(TCanvas& targetCanvas, const QRect& window, const QPoint& target,
                              TTVInternalPaintOptions paintOptions)
{
    if (HasState(tsPainting) || window.isEmpty())
        return;
    DoStateChange(TS(tsPainting));
    struct Leave {
        TBaseNodeTree& t;
        ~Leave() { t.DoStateChange(0, TS(tsPainting)); }
    } leave{*this};
    if (OnBeforePaint)
        OnBeforePaint(this, targetCanvas);
    if (FPlusBM.isNull())
        PrepareButtonBitmaps();

    const TTVPaintOptions paint = FOptions->PaintOptions();
    const TTVSelectionOptions selection = FOptions->SelectionOptions();
    if ((paint & toAlwaysHideSelection) || ((paint & toHideSelection) && !hasFocus()))
        paintOptions &= ~poDrawSelection;
    if (paint & toHideFocusRect)
        paintOptions &= ~poDrawFocusRect;
    Q_UNUSED(selection);
    const bool useBackground = (paint & toShowBackground) && !FBackground.isNull() && (paintOptions & poBackground);
    const bool unbuffered = paintOptions & poUnbuffered;
    const QRect selectionRect = PaintedSelectionRect();
    const int paintWidth = window.width();
    const int maximumRight = std::max(ClientWidth(), int(FRangeX));

    // The row buffer: one image reused for every row, resized only when the height changes.
    QImage rowImage;
    std::unique_ptr<QPainter> rowPainter;
    TCanvas rowCanvas;
    TCanvas* canvas = &targetCanvas;
    QPainter* targetPainter = targetCanvas.Painter();
    PainterState targetState(unbuffered ? targetPainter : nullptr);
    auto openRow = [&](int height) {
        if (rowImage.height() != height) {
            rowCanvas.Detach();
            rowPainter.reset();
            rowImage = QImage(paintWidth, std::max(1, height), QImage::Format_RGB32);
            rowPainter = std::make_unique<QPainter>(&rowImage);
            rowCanvas.Attach(rowPainter.get());
        }
        rowPainter->resetTransform();
        rowPainter->setClipping(false);
        rowPainter->translate(-window.left(), 0);
    };
    if (!unbuffered)
        canvas = &rowCanvas;

    int nodeTop = 0;
    PTreeNode node = GetNodeAt(0, window.top(), false, &nodeTop);
    if (!node)
        nodeTop = window.top();
    QRect targetRect = MakeRect(target.x(), target.y() + nodeTop - window.top(), target.x() + paintWidth,
                                target.y() + nodeTop - window.top());
    const int maxY = target.y() + window.height();
    targetCanvas.Font = Font();
    TColumnIndex firstColumn = InvalidColumn;
    TLineImage lineImage;

    while (node) {
        int selectLevel = DetermineLineImageAndSelectLevel(node, lineImage);
        const int indentSize = int(lineImage.size());
        int buttonX = RoundEven((int(FIndent) - FPlusBM.width()) / 2.0) + 1;
        if (!(paint & toFixedIndent))
            buttonX += (indentSize - 1) * int(FIndent);
        if (!node->Has(vsInitialized))
            InitNode(node);
        if (node->Has(vsSelected) && !(paint & toChildrenAbove))
            ++selectLevel;
        MeasureItemHeight(*canvas, node);
        const int nodeHeight = IsEffectivelyFiltered(node) ? 0 : int(node->NodeHeight);
        const QPoint brushOrigin(window.left() % 2, nodeTop % 2);
        const int rowTop = nodeTop;
        nodeTop += nodeHeight;
        targetRect.setHeight(nodeHeight);

        if (nodeHeight > 0 && (selectLevel > 0 || !(paintOptions & poSelectedOnly))) {
            PainterState rowState(unbuffered ? targetPainter : nullptr);
            if (unbuffered) {
                targetPainter->translate(targetRect.left() - window.left(), targetRect.top());
                targetPainter->setClipRect(QRect(window.left(), 0, paintWidth, std::min(nodeHeight, maxY - targetRect.top())),
                                           Qt::IntersectClip);
            } else {
                openRow(nodeHeight);
            }
            canvas->Font = Font();
            const QRect rowRect = MakeRect(0, 0, maximumRight, nodeHeight);
            // The reference line of buttons and images.
            int vAlign;
            switch (FNodeAlignment) {
            case naFromBottom: vAlign = nodeHeight - node->Align(); break;
            case naFromTop: vAlign = node->Align(); break;
            default:
                if (FImages || FStateImages) {
                    const int imageHeight = FImages ? FImages->Height() : FStateImages->Height();
                    vAlign = MulDiv(nodeHeight - imageHeight, node->Align(), 100) + imageHeight / 2;
                } else if (paint & toShowButtons) {
                    vAlign = MulDiv(nodeHeight - FPlusBM.height(), node->Align(), 100) + FPlusBM.height() / 2;
                } else {
                    vAlign = MulDiv(nodeHeight, node->Align(), 100);
                }
            }
            const int buttonY = vAlign - FPlusBM.height() / 2 - FPlusBM.height() % 2;

            bool customDraw = false;
            if (OnBeforeItemPaint)
                OnBeforeItemPaint(this, *canvas, node, rowRect, customDraw);
            if (!customDraw) {
                TTVPaintInfo info;
                info.Canvas = canvas;
                info.Node = node;
                info.BrushOrigin = brushOrigin;
                info.PaintOptions = paintOptions;
                EraseItem(info, MakeRect(window.left(), 0, RRight(window), nodeHeight), useBackground,
                          QPoint(target.x() - window.left(), targetRect.top()));
                info.CellRect = rowRect;
                info.BrushOrigin = QPoint(0, rowTop);
                PaintRowCells(info, window, paintWidth, indentSize, lineImage, vAlign, buttonY, paintOptions, firstColumn);
                if (OnAfterItemPaint)
                    OnAfterItemPaint(this, *canvas, node, rowRect);
                if (node == FDropTargetNode && (paint & toShowDropmark) && (info.PaintOptions & poDrawDropMark))
                    DoPaintDropMark(*canvas, node, rowRect);
            }
            if (!selectionRect.isEmpty())
                PaintSelectionRectangle(*canvas, window.left(), selectionRect.translated(0, -rowTop),
                                        MakeRect(0, 0, paintWidth, nodeHeight));
            if (!unbuffered && targetPainter)
                targetPainter->drawImage(targetRect.topLeft(), rowImage, QRect(0, 0, paintWidth, nodeHeight));
        }
        targetRect.moveTop(targetRect.top() + nodeHeight);
        if (targetRect.top() >= maxY)
            break;
        node = GetNextVisible(node, true);
    }

    // The area below the last row.
    if (targetRect.top() < maxY) {
        const QPoint areaTarget(target.x(), targetRect.top());
        const QRect area = MakeRect(0, 0, paintWidth, maxY - areaTarget.y());
        bool handled = false;
        const QTransform areaBase = targetPainter ? targetPainter->transform() : QTransform();
        PainterState areaState(targetPainter);
        if (targetPainter) {
            targetPainter->translate(areaTarget);
            targetPainter->setClipRect(area, Qt::IntersectClip);
        }
        if (OnPaintBackground)
            OnPaintBackground(this, targetCanvas, area, handled);
        if (!handled) {
            if (useBackground && targetPainter) {
                PaintBackgroundPicture(*targetPainter, area, areaTarget);
            } else {
                targetPainter->translate(-window.left(), 0);
                PaintBelowLastRow(targetCanvas, area.translated(window.left(), 0), firstColumn);
            }
        }
        if (!selectionRect.isEmpty() && targetPainter) {
            PainterState bandState(targetPainter);
            targetPainter->setTransform(areaBase);
            targetPainter->translate(areaTarget.x() - window.left(), areaTarget.y());
            // The area's top in content coordinates.
            const int areaTop = window.top() + areaTarget.y() - target.y();
            PaintSelectionRectangle(targetCanvas, window.left(), selectionRect.translated(0, -areaTop),
                                    MakeRect(0, 0, paintWidth, area.height()));
        }
    }

    // The empty-list message.
    if (!FirstOf(FRoot) && !FEmptyListMessage.isEmpty() && targetPainter) {
        PainterState messageState(targetPainter);
        targetCanvas.Font = Font();
        targetCanvas.Font.Color = platform::clGrayText;
        targetCanvas.Brush.Style = platform::TBrushStyle::bsClear;
        QRect r = MakeRect(FOffsetX + 2, 2, Width() + FOffsetX, Height() - 2);
        targetCanvas.DrawText(FEmptyListMessage, r, platform::DT_LEFT | platform::DT_WORDBREAK | platform::DT_NOCLIP |
                                                         platform::DT_NOPREFIX);
        targetCanvas.Brush.Style = platform::TBrushStyle::bsSolid;
    }
    rowCanvas.Detach();
    rowPainter.reset();
    if (OnAfterPaint)
        OnAfterPaint(this, targetCanvas);
}

void TBaseNodeTree::PaintBelowLastRow(TCanvas& canvas, const QRect& area, TColumnIndex firstColumn)
{
    const QColor background = ToQColor(FColors.BackGroundColor());
    QPainter* p = canvas.Painter();
    if (!p)
        return;
    if (!ColumnsInUse(*this)) {
        p->fillRect(area, background);
        return;
    }
    const TNodeTreeColumns& columns = FHeader.Columns();
    TColumnIndex column = firstColumn;
    if (column == InvalidColumn || column == NoColumn) {
        column = columns.GetFirstVisibleColumn();
        while (column > NoColumn && ColumnAbsoluteLeft(*this, column) + ColumnWidth(*this, column) <= area.left())
            column = columns.GetNextVisibleColumn(column);
    }
    const bool gridLines = (FOptions->PaintOptions() & (toFullVertGridLines | toShowVertGridLines)) ==
                           (toFullVertGridLines | toShowVertGridLines);
    const bool autoResize = FHeader.Options() & hoAutoResize;
    int left = area.left();
    TColumnIndex last = columns.GetLastVisibleColumn();
    while (column > NoColumn && left < RRight(area)) {
        const TNodeTreeColumn* c = columns[column];
        const int right = ColumnAbsoluteLeft(*this, column) + c->Width();
        int fillRight = right;
        if (gridLines && !(autoResize && column == last)) {
            TTVPaintInfo info;
            info.Canvas = &canvas;
            info.BrushOrigin = QPoint(0, area.top());
            canvas.Font.Color = FColors.Get(TTVColors::GridLineColor);
            DrawDottedVLine(info, area.top(), RBottom(area) - 1, right - 1);
            fillRight = right - 1;
        }
        const TColor color = (c->Options() & coParentColor) ? FColors.BackGroundColor() : c->Color();
        p->fillRect(MakeRect(left, area.top(), fillRight, RBottom(area)), ToQColor(color));
        left = right;
        column = columns.GetNextVisibleColumn(column);
    }
    if (left < RRight(area))
        p->fillRect(MakeRect(left, area.top(), RRight(area), RBottom(area)), background);
}

// ---- one row ----

void TBaseNodeTree::PaintBackgroundPicture(QPainter& p, const QRect& area, QPoint offset)
{
    const int w = FBackground.width(), h = FBackground.height();
    if (w <= 0 || h <= 0 || area.isEmpty())
        return;
    if (FOptions->PaintOptions() & toStaticBackground) {
        p.fillRect(area, ToQColor(Color()));
        // Placed once at the background offsets of the target; transparent pixels keep the colour.
        const QPoint at(FBackgroundOffsetX - offset.x(), FBackgroundOffsetY - offset.y());
        PainterState state(&p);
        p.setClipRect(area, Qt::IntersectClip);
        p.drawImage(at, FBackground);
        return;
    }
    // Tiles anchored at the target's origin, so that rows and the area below them join up.
    const auto phase = [](int value, int size) { return ((value % size) + size) % size; };
    if (FBackgroundTile.isNull())
        FBackgroundTile = QPixmap::fromImage(FBackground);
    p.drawTiledPixmap(area, FBackgroundTile,
                      QPoint(phase(area.left() + offset.x() + FBackgroundOffsetX, w),
                             phase(area.top() + offset.y() + FBackgroundOffsetY, h)));
}

void TBaseNodeTree::EraseItem(TTVPaintInfo& info, const QRect& r, bool useBackground, QPoint backgroundOffset)
{
    TCanvas& canvas = *info.Canvas;
    TColor backColor = FColors.BackGroundColor();
    TItemEraseAction action = eaDefault;
    if (OnBeforeItemErase)
        OnBeforeItemErase(this, canvas, info.Node, r, backColor, action);
    QPainter* p = canvas.Painter();
    if (p && action == eaColor) {
        p->fillRect(r, ToQColor(backColor));
    } else if (p && action == eaDefault) {
        const TTVPaintOptions paint = FOptions->PaintOptions();
        if (useBackground) {
            PaintBackgroundPicture(*p, r, backgroundOffset);
        } else if ((info.PaintOptions & poDrawSelection) && (FOptions->SelectionOptions() & toFullRowSelect) &&
                   info.Node->Has(vsSelected) && !(paint & toUseBlendedSelection) &&
                   !HasState(tsUseExplorerTheme)) {
            QRect sel = r;
            if (paint & toShowHorzGridLines) {
                p->fillRect(MakeRect(r.left(), RBottom(r) - 1, RRight(r), RBottom(r)), ToQColor(backColor));
                sel.setHeight(sel.height() - 1);
            }
            p->fillRect(sel, ToQColor(backColor));
            canvas.Brush.Color = SelectionColor();
            canvas.Pen.Color = SelectionBorderColor();
            canvas.RoundRect(sel.left(), sel.top(), RRight(sel), RBottom(sel), int(FSelectionCurveRadius),
                             int(FSelectionCurveRadius));
        } else {
            p->fillRect(r, ToQColor(backColor));
        }
    }
    if (OnAfterItemErase)
        OnAfterItemErase(this, canvas, info.Node, r);
}

void TBaseNodeTree::PaintRowCells(TTVPaintInfo& info, const QRect& window, int paintWidth, int indentSize,
                                  const TLineImage& lineImage, int vAlign, int buttonY, TTVInternalPaintOptions options,
                                  TColumnIndex& firstColumn)
{
    TCanvas& canvas = *info.Canvas;
    QPainter* p = canvas.Painter();
    PTreeNode node = info.Node;
    const TTVPaintOptions paint = FOptions->PaintOptions();
    const TTVSelectionOptions selection = FOptions->SelectionOptions();
    const bool columns = ColumnsInUse(*this);
    const int nodeHeight = info.CellRect.height();
    const bool rowRtl = layoutDirection() == Qt::RightToLeft;
    QRect cellRect = info.CellRect;
    TColumnIndex column = NoColumn;
    int position = 0;
    const TNodeTreeColumns* cols = columns ? &FHeader.Columns() : nullptr;
    if (columns) {
        column = cols->GetFirstVisibleColumn();
        if (column <= NoColumn)
            return;
        position = int((*cols)[column]->Position());
        const int left = ColumnAbsoluteLeft(*this, column);
        cellRect = MakeRect(left, 0, left + ColumnWidth(*this, column), nodeHeight);
    }
    bool first = true;
    while ((column > InvalidColumn || !columns) && cellRect.left() < RRight(window)) {
        TColumnIndex nextColumn = InvalidColumn;
        if (columns) {
            column = cols->PositionToIndex()[size_t(position)];
            if (first)
                firstColumn = column;
            first = false;
            info.RightToLeft = ColumnRightToLeft(*this, column);
            info.Alignment = ColumnAlignment(*this, column);
        } else {
            column = NoColumn;
            info.RightToLeft = rowRtl;
            info.Alignment = FAlignment;
        }
        info.Column = column;
        info.Position = position;
        info.CellRect = cellRect;
        TTVInternalPaintOptions cellOptions = options;
        const bool editing = HasState(tsEditing) && node == FFocusedNode && (column == FEditColumn || !columns);
        if (editing)
            cellOptions &= ~poDrawSelection;
        if (!columns || (node->Has(vsSelected) && (selection & toFullRowSelect) && (cellOptions & poDrawSelection)) ||
            (columns && ((*cols)[column]->Options() & coParentColor)))
            cellOptions &= ~poColumnColor;
        info.PaintOptions = cellOptions;
        const bool isMain = column == FHeader.GetMainColumn() || !columns;
        if (info.RightToLeft) {
            if (info.Alignment == taLeftJustify)
                info.Alignment = taRightJustify;
            else if (info.Alignment == taRightJustify)
                info.Alignment = taLeftJustify;
        }
        const bool hidden = columns && !((*cols)[column]->Options() & coVisible);
        if (hidden || ((options & poMainOnly) && !isMain)) {
            nextColumn = columns ? cols->GetNextVisibleColumn(column) : InvalidColumn;
        } else {
            AdjustPaintCellRect(info, nextColumn);
            if (window.left() < RRight(info.CellRect)) {
                PainterState cellState(columns ? p : nullptr);
                info.NodeWidth = DoGetNodeWidth(node, column, &canvas);
                info.ContentRect = info.CellRect;
                if (info.RightToLeft)
                    info.ContentRect.setRight(info.ContentRect.right() - FMargin);
                else
                    info.ContentRect.setLeft(info.ContentRect.left() + FMargin);
                QRect& content = info.ContentRect;
                // Check box, state image and normal image take their places in order.
                TTVImageInfo& check = info.ImageInfo[iiCheck];
                check.Index = -1;
                if (FCheckImages && (FOptions->MiscOptions() & toCheckSupport) && isMain) {
                    check.Index = GetCheckImage(node);
                    if (check.Index >= 0) {
                        check.Images = FCheckImages;
                        AdjustImageBorder(FCheckImages, info.RightToLeft, vAlign, content, check);
                        check.Ghosted = false;
                    }
                }
                info.ImageInfo[iiState].Index = -1;
                if (FStateImages) {
                    GetImageIndex(info, ikState, iiState, FStateImages);
                    if (info.ImageInfo[iiState].Index >= 0)
                        AdjustImageBorder(FStateImages, info.RightToLeft, vAlign, content, info.ImageInfo[iiState]);
                }
                info.ImageInfo[iiNormal].Index = -1;
                if (FImages) {
                    GetImageIndex(info, node->Has(vsSelected) ? ikSelected : ikNormal, iiNormal, FImages);
                    if (info.ImageInfo[iiNormal].Index >= 0)
                        AdjustImageBorder(info.ImageInfo[iiNormal].Images, info.RightToLeft, vAlign, content,
                                          info.ImageInfo[iiNormal]);
                }
                if (isMain) {
                    const int offset = ((paint & toFixedIndent) ? 1 : indentSize) * int(FIndent);
                    const int shift = info.RightToLeft ? -offset : offset;
                    if (info.RightToLeft)
                        content.setRight(content.right() - offset);
                    else
                        content.setLeft(content.left() + offset);
                    for (TTVImageInfoIndex i : {iiNormal, iiState, iiCheck})
                        info.ImageInfo[i].XPos += shift;
                }
                if (columns && p)
                    p->setClipRect(info.CellRect, Qt::IntersectClip);
                // Grid lines.
                if ((options & poGridLines) && (paint & toShowHorzGridLines)) {
                    canvas.Font.Color = FColors.Get(TTVColors::GridLineColor);
                    if (isMain && FLineMode == lmBands) {
                        const int indent = ((paint & toFixedIndent) ? 1 : indentSize) * int(FIndent);
                        if (info.RightToLeft)
                            DrawDottedHLine(info, info.CellRect.left(), RRight(info.CellRect) - 1 - indent,
                                            RBottom(info.CellRect) - 1);
                        else
                            DrawDottedHLine(info, info.CellRect.left() + indent, RRight(info.CellRect) - 1,
                                            RBottom(info.CellRect) - 1);
                    } else {
                        DrawDottedHLine(info, info.CellRect.left(), RRight(info.CellRect) - 1, RBottom(info.CellRect) - 1);
                    }
                    info.CellRect.setHeight(info.CellRect.height() - 1);
                    content.setBottom(std::min(content.bottom(), info.CellRect.bottom()));
                }
                if (columns && (options & poGridLines) && (paint & toShowVertGridLines)) {
                    const bool lastAutoResized =
                        (FHeader.Options() & hoAutoResize) && column == cols->GetLastVisibleColumn();
                    if (!lastAutoResized) {
                        const bool fixedColumn = (*cols)[column]->Options() & coFixed;
                        const bool atClientEdge = RRight(info.CellRect) - window.left() == ClientWidth();
                        if ((fixedColumn || !atClientEdge) && (!info.RightToLeft || !ColumnIsEmpty(node, column))) {
                            const bool overSelection = (options & poDrawSelection) && (selection & toFullRowSelect) &&
                                                       node->Has(vsSelected) && !(paint & toUseBlendedSelection) &&
                                                       !HasState(tsUseExplorerTheme);
                            canvas.Font.Color = FColors.Get(TTVColors::GridLineColor);
                            DrawDottedVLine(info, info.CellRect.top(), RBottom(info.CellRect) - 1,
                                            RRight(info.CellRect) - 1, overSelection);
                        }
                        info.CellRect.setWidth(info.CellRect.width() - 1);
                        content.setRight(std::min(content.right(), info.CellRect.right()));
                    }
                }
                PrepareCell(info, window.left(), paintWidth);
                if (isMain) {
                    if ((paint & toShowTreeLines) && (!(paint & toHideTreeLinesIfThemed) || !HasState(tsUseThemes)))
                        PaintTreeLines(info, vAlign, (paint & toFixedIndent) ? 1 : indentSize, lineImage);
                    const bool buttonShown = node->Has(vsHasChildren) &&
                                             (!node->Has(vsAllChildrenHidden) || !(FOptions->AutoOptions() & toAutoHideButtons));
                    if ((paint & toShowButtons) && buttonShown) {
                        const int indent = ((paint & toFixedIndent) ? 0 : (indentSize - 1)) * int(FIndent);
                        const int bx = RoundEven((int(FIndent) - FPlusBM.width()) / 2.0) + 1 + indent;
                        PaintNodeButton(canvas, node, column, info.CellRect, bx, buttonY, info.RightToLeft);
                    }
                    if (check.Index >= 0)
                        PaintCheckImage(canvas, check, node->Has(vsSelected));
                }
                if (info.ImageInfo[iiState].Index >= 0)
                    PaintImage(info, iiState, false);
                if (info.ImageInfo[iiNormal].Index >= 0)
                    PaintImage(info, iiNormal, true);
                if (!editing) {
                    PainterState textState(p);
                    DoPaintNode(info);
                }
                if (OnAfterCellPaint)
                    OnAfterCellPaint(this, canvas, node, column, info.CellRect);
            }
        }
        if (!columns)
            break;
        if (p)
            p->setClipping(false);
        if (cellRect.left() >= RRight(window) || nextColumn == InvalidColumn || nextColumn <= NoColumn)
            break;
        column = nextColumn;
        position = int((*cols)[nextColumn]->Position());
        if ((*cols)[nextColumn]->Options() & coVisible) {
            const int left = ColumnAbsoluteLeft(*this, nextColumn);
            cellRect = MakeRect(left, 0, left + ColumnWidth(*this, nextColumn), nodeHeight);
        }
    }
}

void TBaseNodeTree::AdjustPaintCellRect(TTVPaintInfo& info, TColumnIndex& nextNonEmpty)
{
    nextNonEmpty = ColumnsInUse(*this) ? FHeader.Columns().GetNextVisibleColumn(info.Column) : InvalidColumn;
}

void TBaseNodeTree::AdjustImageBorder(platform::TImageList* images, bool rightToLeft, int vAlign, QRect& r,
                                      TTVImageInfo& imageInfo)
{
    if (!rightToLeft) {
        imageInfo.XPos = r.left() - 1;
        r.setLeft(r.left() + images->Width() + 2);
    } else {
        imageInfo.XPos = RRight(r) - images->Width();
        r.setRight(r.right() - images->Width() - 2);
    }
    imageInfo.YPos = r.top() + vAlign - images->Height() / 2;
}

void TBaseNodeTree::DoBeforeCellPaint(TCanvas& canvas, PTreeNode node, TColumnIndex column, TTVCellPaintMode mode,
                                      const QRect& cellRect, QRect& contentRect)
{
    if (OnBeforeCellPaint) {
        canvas.Font = Font();
        OnBeforeCellPaint(this, canvas, node, column, mode, cellRect, contentRect);
    }
}

bool TBaseNodeTree::ColumnIsEmpty(PTreeNode node, TColumnIndex column)
{
    bool isEmpty = true;
    if (OnGetCellIsEmpty)
        OnGetCellIsEmpty(this, node, column, isEmpty);
    return isEmpty;
}

void TBaseNodeTree::DoGetImageText(PTreeNode node, TTVImageKind kind, TColumnIndex column, QString& imageText)
{
    if (OnGetImageText)
        OnGetImageText(this, node, kind, column, imageText);
}

void TBaseNodeTree::PrepareCell(TTVPaintInfo& info, int windowOrgX, int maxWidth)
{
    TCanvas& canvas = *info.Canvas;
    QPainter* p = canvas.Painter();
    if (!p)
        return;
    PTreeNode node = info.Node;
    const TTVPaintOptions paint = FOptions->PaintOptions();
    const TTVSelectionOptions selection = FOptions->SelectionOptions();
    const bool gridExtensions = FOptions->MiscOptions() & toGridExtensions;
    const bool fullRow = selection & toFullRowSelect;
    if ((info.PaintOptions & poColumnColor) && info.Column > NoColumn)
        p->fillRect(info.CellRect, ToQColor(FHeader.Columns()[info.Column]->Color()));
    DoBeforeCellPaint(canvas, node, info.Column, cpmPaint, info.CellRect, info.ContentRect);

    QRect inner = info.ContentRect;
    if (!gridExtensions) {
        const int width = info.NodeWidth;
        switch (info.Alignment) {
        case taLeftJustify:
            if (inner.left() + width < RRight(inner))
                inner.setWidth(width);
            break;
        case taRightJustify:
            if (width < inner.width())
                inner.setLeft(RRight(inner) - width);
            break;
        case taCenter:
            if (width < inner.width()) {
                const int left = (inner.left() + RRight(inner) - width) / 2;
                inner = MakeRect(left, inner.top(), left + width, RBottom(inner));
            }
            break;
        }
    }
    const bool explorer = HasState(tsUseExplorerTheme);
    // The explorer look spans the whole row.
    QRect fullRowRect;
    if (explorer) {
        int right = int(FRangeX);
        if (!ColumnsInUse(*this) && fullRow)
            right = std::max(right, ClientWidth());
        if (paint & toShowVertGridLines)
            --right;
        fullRowRect = MakeRect(0, info.CellRect.top(), right, RBottom(info.CellRect));
    }
    const QRect themedRect = fullRow && !gridExtensions ? fullRowRect : inner;
    const bool hotHere = node == FCurrentHotNode && (info.Column == FCurrentHotColumn || fullRow);
    const bool focusedColumn = info.Column == FFocusedColumn || fullRow;
    auto highlight = [&](TColor brush, TColor pen, QRect r) {
        if (r.isEmpty())
            return;
        if (paint & toUseBlendedSelection) {
            // Only what lies on the painted window is blended; no border is drawn.
            r.translate(-windowOrgX, 0);
            r = r.intersected(QRect(0, r.top(), maxWidth, r.height()));
            r.translate(windowOrgX, 0);
            BlendRectWithColor(*p, r, brush, FSelectionBlendFactor);
        } else {
            canvas.Brush.Color = brush;
            canvas.Brush.Style = platform::TBrushStyle::bsSolid;
            canvas.Pen.Color = pen;
            canvas.Pen.Style = platform::TPenStyle::psSolid;
            canvas.RoundRect(r.left(), r.top(), RRight(r), RBottom(r), int(FSelectionCurveRadius), int(FSelectionCurveRadius));
        }
    };
    if (focusedColumn && (info.PaintOptions & poDrawSelection)) {
        const QRect area = (gridExtensions || fullRow) ? info.CellRect : inner;
        if (node == FDropTargetNode) {
            if ((FLastDropMode == dmOnNode || node->Has(vsSelected)) && !area.isEmpty()) {
                if (explorer)
                    DrawThemedTreeItem(canvas, fullRow && !gridExtensions ? fullRowRect : area, 3);
                else
                    highlight(FColors.Get(TTVColors::DropTargetColor), FColors.Get(TTVColors::DropTargetBorderColor), area);
            }
        } else if (node->Has(vsSelected) && !area.isEmpty()) {
            if (!explorer)
                highlight(SelectionColor(), SelectionBorderColor(), area);
            else if (!((paint & toHotTrack) && hotHere))
                DrawThemedTreeItem(canvas, fullRow && !gridExtensions ? fullRowRect : area, PaintsFocused() ? 3 : 5);
        }
    }
    if (explorer && (paint & toHotTrack) && hotHere)
        DrawThemedTreeItem(canvas, themedRect,
                           node->Has(vsSelected) && !(paint & toAlwaysHideSelection) ? 6 : 2);
    const bool extendedFocus = selection & toExtendedFocus;
    if (focusedColumn && (info.PaintOptions & poDrawFocusRect) && PaintsFocused() && node == FFocusedNode &&
        (info.Column == FFocusedColumn || (fullRow && explorer))) {
        QRect focus = !extendedFocus && fullRow && explorer ? fullRowRect : gridExtensions ? info.CellRect : inner;
        if (explorer) {
            // The explorer look frames the item in its own colours instead of the dotted line.
            focus.adjust(1, 1, -1, -1);
            if (node->Has(vsSelected))
                DrawThemedTreeItem(canvas, focus, 6);
            else {
                canvas.Brush.Color = FColors.Get(TTVColors::FocusedSelectionBorderColor);
                canvas.FrameRect(focus);
            }
        } else {
            canvas.DrawFocusRect(focus);
        }
    }
}

void TBaseNodeTree::DrawThemedTreeItem(TCanvas& canvas, const QRect& r, int state)
{
    QPainter* p = canvas.Painter();
    if (!p || r.isEmpty())
        return;
    // No platform theme here: the item is a light wash of the selection colour with a border,
    // stronger when selected, weaker when only hot.
    const bool unfocused = state == 5;
    const TColor fill = FColors.Get(unfocused ? TTVColors::UnfocusedSelectionColor : TTVColors::FocusedSelectionColor);
    const TColor border =
        FColors.Get(unfocused ? TTVColors::UnfocusedSelectionBorderColor : TTVColors::FocusedSelectionBorderColor);
    int alpha = FSelectionBlendFactor / 2;
    if (state == 2)
        alpha = FSelectionBlendFactor / 6;
    else if (state == 6)
        alpha = FSelectionBlendFactor * 2 / 3;
    BlendRectWithColor(*p, r, fill, alpha);
    BlendRectWithColor(*p, QRect(r.left(), r.top(), r.width(), 1), border, state == 2 ? 96 : 192);
    BlendRectWithColor(*p, QRect(r.left(), r.bottom(), r.width(), 1), border, state == 2 ? 96 : 192);
    BlendRectWithColor(*p, QRect(r.left(), r.top() + 1, 1, r.height() - 2), border, state == 2 ? 96 : 192);
    BlendRectWithColor(*p, QRect(r.right(), r.top() + 1, 1, r.height() - 2), border, state == 2 ? 96 : 192);
}

QRect TBaseNodeTree::PaintedSelectionRect() const
{
    // Only while a rubber band is being drawn with the left button down.
    if (!HasState(tsDrawSelecting) || !HasState(tsLeftButtonDown))
        return QRect();
    const QRect r = NormalizedRect(FNewSelRect.left(), FNewSelRect.top(), FNewSelRect.right(), FNewSelRect.bottom());
    return r.isEmpty() ? QRect() : r;
}

void TBaseNodeTree::PaintSelectionRectangle(TCanvas& target, int windowOrgX, const QRect& selectionRect,
                                            const QRect& targetRect)
{
    QPainter* p = target.Painter();
    if (!p)
        return;
    if (FDrawSelectionMode == smBlendedRectangle || HasState(tsUseThemes)) {
        const QRect r = selectionRect.intersected(targetRect.translated(windowOrgX, 0));
        if (r.isEmpty())
            return;
        BlendRectWithColor(*p, r, FColors.Get(TTVColors::SelectionRectangleBlendColor), FSelectionBlendFactor);
        target.Brush.Color = FColors.Get(TTVColors::SelectionRectangleBorderColor);
        target.Brush.Style = platform::TBrushStyle::bsSolid;
        target.FrameRect(selectionRect);
    } else {
        target.DrawFocusRect(selectionRect);
    }
}

// ---- lines ----

int TBaseNodeTree::DetermineLineImageAndSelectLevel(PTreeNode node, TLineImage& lineImage)
{
    const TTVPaintOptions paint = FOptions->PaintOptions();
    int levels = int(GetNodeLevel(node));
    if (paint & toShowRoot)
        ++levels;
    lineImage.assign(size_t(std::max(0, levels)), ltNone);
    int selected = 0;
    for (PTreeNode p = ParentOf(node); p && p != FRoot; p = ParentOf(p))
        if (p->Has(vsSelected))
            ++selected;
    if (!(paint & toShowTreeLines) || ((paint & toHideTreeLinesIfThemed) && HasState(tsUseThemes)) || levels == 0)
        return selected;
    auto visibleNext = [this](PTreeNode n) { return GetNextVisibleSiblingNoInit(n) != nullptr; };
    auto visiblePrev = [this](PTreeNode n) { return GetPreviousVisibleSiblingNoInit(n) != nullptr; };
    const bool topLevel = ParentOf(node) == FRoot;
    int x = levels - 1;
    if (paint & toChildrenAbove) {
        if (visiblePrev(node))
            lineImage[size_t(x)] = (!topLevel || visibleNext(node)) ? ltTopDownRight : ltTopRight;
        else
            lineImage[size_t(x)] = (!topLevel || visibleNext(node)) ? ltBottomRight : ltRight;
        PTreeNode n = ParentOf(node);
        while (n != FRoot && --x >= 0) {
            lineImage[size_t(x)] = visiblePrev(n) ? ltTopDown : ltNone;
            n = ParentOf(n);
        }
    } else {
        if (!topLevel) {
            lineImage[size_t(x)] = visibleNext(node) ? ltTopDownRight : ltTopRight;
            PTreeNode n = ParentOf(node);
            while (ParentOf(n) != FRoot && --x >= 0) {
                lineImage[size_t(x)] = visibleNext(n) ? ltTopDown : ltNone;
                n = ParentOf(n);
            }
        }
        if (paint & toShowRoot) {
            if (topLevel) {
                const bool isFirst = GetFirstVisibleChildNoInit(FRoot) == node;
                const bool isLast = GetLastVisibleChildNoInit(FRoot) == node;
                lineImage[0] = isFirst && isLast ? ltRight : isLast ? ltTopRight : isFirst ? ltBottomRight : ltTopDownRight;
            } else {
                PTreeNode top = node;
                while (ParentOf(top) != FRoot)
                    top = ParentOf(top);
                lineImage[0] = visibleNext(top) ? ltTopDown : ltNone;
            }
        }
    }
    if (HasState(tsUseExplorerTheme) && node->Has(vsHasChildren))
        lineImage.back() = ltNone;
    return selected;
}

void TBaseNodeTree::DrawDottedHLine(const TTVPaintInfo& info, int left, int right, int top)
{
    QPainter* p = info.Canvas->Painter();
    if (!p)
        return;
    const QColor line = ToQColor(info.Canvas->Font.Color);
    const QColor back = ToQColor(FColors.BackGroundColor());
    const int a = std::min(left, right), b = std::max(left, right);
    if (FLineStyle == lsSolid) {
        p->fillRect(QRect(a, top, b - a + 1, 1), line);
        return;
    }
    FillDotted(*p, QRect(a, top, b - a + 1, 1), line, back, (info.BrushOrigin.x() + info.BrushOrigin.y()) & 1);
}

void TBaseNodeTree::DrawDottedVLine(const TTVPaintInfo& info, int top, int bottom, int left, bool useSelectedBkColor)
{
    QPainter* p = info.Canvas->Painter();
    if (!p)
        return;
    const QColor line = ToQColor(info.Canvas->Font.Color);
    const QColor back = ToQColor(useSelectedBkColor ? SelectionColor() : FColors.BackGroundColor());
    const int a = std::min(top, bottom), b = std::max(top, bottom);
    if (FLineStyle == lsSolid) {
        p->fillRect(QRect(left, a, 1, b - a + 1), line);
        return;
    }
    FillDotted(*p, QRect(left, a, 1, b - a + 1), line, back, (info.BrushOrigin.x() + info.BrushOrigin.y()) & 1);
}

void TBaseNodeTree::PaintTreeLines(const TTVPaintInfo& info, int vAlignment, int indentSize, const TLineImage& lineImage)
{
    const bool reverse = info.RightToLeft;
    const int indent = int(FIndent);
    const int half = RoundEven(indent / 2.0);
    const int nodeHeight = info.CellRect.height();
    TLineImage image = lineImage;
    image.resize(size_t(std::max(indentSize, 0)), ltNone);
    int height = nodeHeight;
    if (FLineMode == lmBands) {
        if (!(info.PaintOptions & poGridLines))
            return;
        info.Canvas->Font.Color = FColors.Get(TTVColors::GridLineColor);
        // Bands: each level shows a left edge where its subtree continues.
        TLineImage bands(image.size(), ltNone);
        const bool open = info.Node->Has(vsExpanded) && !info.Node->Has(vsAllChildrenHidden);
        for (int i = int(image.size()) - 1; i >= 0; --i) {
            if (open) {
                bands[size_t(i)] = ltLeft;
                continue;
            }
            switch (image[size_t(i)]) {
            case ltNone:
            case ltTopDown:
                if (i + 1 < int(image.size())) {
                    const TTVLineType right = image[size_t(i + 1)];
                    bands[size_t(i)] = (right == ltNone || right == ltTopRight) ? bands[size_t(i + 1)] : ltLeft;
                }
                break;
            case ltBottomRight:
            case ltTopDownRight:
            case ltRight:
            case ltTopRight: bands[size_t(i)] = ltLeftBottom; break;
            default: bands[size_t(i)] = ltNone; break;
            }
        }
        image = bands;
        height = nodeHeight - 1;
    } else {
        info.Canvas->Font.Color = FColors.Get(TTVColors::TreeLineColor);
    }
    QPainter* p = info.Canvas->Painter();
    if (!p)
        return;
    int x = reverse ? RRight(info.CellRect) - indent : info.CellRect.left();
    const int y = info.CellRect.top();
    const int v = vAlignment - 1;
    for (int i = 0; i < int(image.size()); ++i) {
        int posX = x;
        if (OnBeforeDrawTreeLine)
            OnBeforeDrawTreeLine(this, info.Node, (FOptions->PaintOptions() & toShowRoot) ? i : i + 1, posX);
        const int e = reverse ? posX : posX + indent;
        auto vline = [&](int at, int from, int to) { DrawDottedVLine(info, from, to, at); };
        auto hline = [&](int from, int to, int at) { DrawDottedHLine(info, from, to, at); };
        const int mid = posX + half;
        const int edge = reverse ? posX + indent : posX;
        switch (image[size_t(i)]) {
        case ltNone: break;
        case ltBottomRight:
            vline(mid, y + v, y + height);
            hline(mid, e, y + v);
            break;
        case ltTopDown: vline(mid, y, y + height); break;
        case ltTopDownRight:
            vline(mid, y, y + height);
            hline(mid, e, y + v);
            break;
        case ltRight: hline(mid, e, y + v); break;
        case ltTopRight:
            vline(mid, y, y + v);
            hline(mid, e, y + v);
            break;
        case ltLeft: vline(edge, y, y + height); break;
        case ltLeftBottom:
            vline(edge, y, y + height);
            hline(edge, edge + indent, y + height);
            break;
        }
        x += reverse ? -indent : indent;
    }
}

// ---- buttons, check boxes, images, drop mark ----

void TBaseNodeTree::PaintNodeButton(TCanvas& canvas, PTreeNode node, TColumnIndex, const QRect& r, int buttonX,
                                    int buttonY, bool rightToLeft)
{
    const int x = rightToLeft ? RRight(r) - buttonX - FPlusBM.width() : r.left() + buttonX;
    const bool hot = node == FCurrentHotNode && FHotOnButton;
    if (HasState(tsUseExplorerTheme)) {
        // The explorer look's glyph is the style's branch indicator: open or closed, hot or not.
        if (QPainter* p = canvas.Painter()) {
            QStyleOption option;
            option.rect = QRect(x, r.top() + buttonY, FPlusBM.width(), FPlusBM.height());
            option.palette = palette();
            option.state = QStyle::State_Children | QStyle::State_Enabled;
            if (node->Has(vsExpanded))
                option.state |= QStyle::State_Open;
            if (hot)
                option.state |= QStyle::State_MouseOver;
            if (rightToLeft)
                option.direction = Qt::RightToLeft;
            style()->drawPrimitive(QStyle::PE_IndicatorBranch, &option, p, this);
        }
        return;
    }
    const QImage* image;
    if (node->Has(vsExpanded))
        image = hot ? (node->Has(vsSelected) ? &FSelectedHotMinusBM : &FHotMinusBM) : &FMinusBM;
    else
        image = hot ? (node->Has(vsSelected) ? &FSelectedHotPlusBM : &FHotPlusBM) : &FPlusBM;
    canvas.Draw(x, r.top() + buttonY, *image);
}

void TBaseNodeTree::PaintCheckImage(TCanvas& canvas, const TTVImageInfo& imageInfo, bool)
{
    // The list's images are drawn transparently without blending, so a selected row's blend
    // colour would change no pixel of them.
    if (!HasState(tsUseThemes) || FCheckImageKind != ckSystemDefault) {
        if (imageInfo.Images)
            imageInfo.Images->Draw(canvas, imageInfo.XPos, imageInfo.YPos, imageInfo.Index);
        return;
    }
    QPainter* p = canvas.Painter();
    const int index = imageInfo.Index;
    if (!p || index < CheckImageIndex::RadioUnchecked || index >= CheckImageIndex::Count)
        return;
    // Within each kind the four looks are normal, hot, pressed and disabled.
    const int look = (index - 1) % 4;
    QStyleOptionButton option;
    option.initFrom(this);
    option.state &= ~(QStyle::State_Enabled | QStyle::State_MouseOver | QStyle::State_Sunken | QStyle::State_HasFocus);
    if (look != 3)
        option.state |= QStyle::State_Enabled;
    if (look == 1)
        option.state |= QStyle::State_MouseOver;
    if (look == 2)
        option.state |= QStyle::State_Sunken;
    QStyle* s = style();
    const bool radio = index < CheckImageIndex::CheckUnchecked;
    const bool pushButton = index >= CheckImageIndex::PushButton;
    const int w = s->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, nullptr, this);
    const int h = s->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorHeight : QStyle::PM_IndicatorHeight, nullptr, this);
    option.rect = QRect(imageInfo.XPos, imageInfo.YPos, w, h);
    PainterState state(p);
    if (pushButton) {
        option.state |= look == 2 ? QStyle::State_Sunken : QStyle::State_Raised;
        s->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, p, this);
        if (platform::TImageList* utility = UtilityImages())
            utility->Draw(*p, imageInfo.XPos, imageInfo.YPos, UtilityImageIndex::ThemedSortDescending);
        return;
    }
    const int base = radio ? CheckImageIndex::RadioUnchecked : CheckImageIndex::CheckUnchecked;
    const int kind = (index - base) / 4;  // unchecked, checked, mixed
    option.state |= kind == 0 ? QStyle::State_Off : kind == 1 ? QStyle::State_On : QStyle::State_NoChange;
    s->drawPrimitive(radio ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox, &option, p, this);
}

void TBaseNodeTree::PaintImage(TTVPaintInfo& info, TTVImageInfoIndex slot, bool doOverlay)
{
    QPainter* p = info.Canvas->Painter();
    TTVImageInfo& image = info.ImageInfo[slot];
    if (!p || !image.Images)
        return;
    PTreeNode node = info.Node;
    const bool cutNode = node->Has(vsCutOrCopy) && HasState(tsCutPending);
    const bool paintFocused = hasFocus() || (FOptions->PaintOptions() & toGhostedIfUnfocused);
    TTVImageInfo& overlay = info.ImageInfo[iiOverlay];
    overlay.Index = -1;
    if (doOverlay) {
        GetImageIndex(info, ikOverlay, iiOverlay, FImages);
        if (overlay.Index == image.Index && overlay.Images == image.Images)
            overlay.Index = -1;
    }
    const bool enabled = !node->Has(vsDisabled) && isEnabled();
    const bool blend = (FOptions->PaintOptions() & toUseBlendedImages) && paintFocused &&
                       (image.Ghosted ||
                        (node->Has(vsSelected) && !(FOptions->SelectionOptions() & toFullRowSelect) &&
                         !(FOptions->MiscOptions() & toGridExtensions)) ||
                        cutNode);
    PainterState state(p);
    if (blend)
        p->setOpacity(0.5);
    image.Images->Draw(*p, image.XPos, image.YPos, image.Index, enabled);
    if (overlay.Index >= 0 && overlay.Images) {
        p->setOpacity(1.0);
        overlay.Images->Draw(*p, image.XPos, image.YPos, overlay.Index, enabled);
    }
}

void TBaseNodeTree::DoPaintDropMark(TCanvas& canvas, PTreeNode, const QRect& r)
{
    if (FLastDropMode != dmAbove && FLastDropMode != dmBelow)
        return;
    QPainter* p = canvas.Painter();
    if (!p)
        return;
    const int l = r.left(), t = r.top(), rr = RRight(r), b = RBottom(r);
    QPolygon poly;
    if (FLastDropMode == dmAbove)
        poly << QPoint(l + 2, t) << QPoint(rr - 2, t) << QPoint(rr - 2, t + 6) << QPoint(rr - 6, t + 2)
             << QPoint(l + 6, t + 2) << QPoint(l + 2, t + 6);
    else
        poly << QPoint(l + 2, b - 1) << QPoint(rr - 2, b - 1) << QPoint(rr - 2, b - 8) << QPoint(rr - 7, b - 3)
             << QPoint(l + 7, b - 3) << QPoint(l + 2, b - 8);
    PainterState state(p);
    p->setPen(Qt::NoPen);
    p->setBrush(ToQColor(FColors.Get(TTVColors::DropMarkColor)));
    p->drawPolygon(poly);
}

void TBaseNodeTree::DoPaintNode(TTVPaintInfo&) {}

QImage TBaseNodeTree::RenderClient()
{
    QImage image(ClientSize().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(ToQColor(FColors.BackGroundColor()));
    TCanvas canvas(&image);
    canvas.Font = Font();
    const QRect window = ClientRect().translated(FEffectiveOffsetX, -FOffsetY);
    PaintTree(canvas, window, QPoint(0, 0),
              poBackground | poColumnColor | poDrawFocusRect | poDrawSelection | poDrawDropMark | poGridLines);
    return image;
}

}  // namespace tree
