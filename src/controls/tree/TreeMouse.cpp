// The mouse: hit testing, presses, releases and double clicks, hot tracking, the rubber-band
// selection, automatic scrolling near the edges and wheel panning.
#include "controls/tree/NodeTrees.h"
#include "controls/tree/TreeDataObject.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QRegion>
#include <algorithm>

namespace tree {

using platform::TShiftState;
using platform::ssAlt;
using platform::ssCtrl;
using platform::ssShift;

namespace {

// Timer ids of the mouse handling.

bool Has(THitPositions positions, THitPositions any) { return (positions & any) != 0; }

int DragThresholdPixels() { return QApplication::startDragDistance(); }

// The pixels of the image that are not the mask colour, gathered row by row from runs.
QRegion OpaqueRegion(const QImage& image, QRgb mask)
{
    QRegion region;
    for (int y = 0; y < image.height(); ++y) {
        int x = 0;
        while (x < image.width()) {
            while (x < image.width() && image.pixel(x, y) == mask)
                ++x;
            const int start = x;
            while (x < image.width() && image.pixel(x, y) != mask)
                ++x;
            if (x > start)
                region += QRect(start, y, x - start, 1);
        }
    }
    return region;
}

// The small window shown where wheel panning started: the panning picture, shaped to it, never
// taking the focus from the tree.
class TPanningWindow : public QWidget {
public:
    TPanningWindow(QWidget* owner, const QImage& image)
        : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), FImage(image)
    {
        setObjectName(QStringLiteral("TVPanningWindow"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
        setFixedSize(32, 32);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(0, 0, FImage);
    }

private:
    QImage FImage;
};

constexpr QRgb PanningMaskColour = 0xFFFF00FF;

// Walks the rows between the tops and the lower bottom of the two rectangles (content
// coordinates); the row callback gets each node with its top, height and indentation in pixels
// and answers whether its selection changed.
template <typename LevelDifference, typename Row>
bool WalkSelectionRows(TBaseNodeTree& tree, const QRect& newRect, const QRect& oldRect, LevelDifference levelDifference,
                       Row row)
{
    const int maxY = std::max(newRect.bottom(), oldRect.bottom());
    int top = 0;
    PTreeNode node = tree.GetNodeAt(0, std::min(oldRect.top(), newRect.top()), false, &top);
    if (!node)
        return false;
    const bool showRoot = tree.TreeOptions().PaintOptions() & toShowRoot;
    int indent = tree.Margin() + int(tree.Indent()) * int(tree.GetNodeLevel(node) + (showRoot ? 1 : 0));
    bool changed = false;
    while (node && top <= maxY) {
        const int height = int(node->NodeHeight);
        changed |= row(node, top, height, indent);
        top += height;
        PTreeNode next = tree.GetNextVisible(node, true);
        if (next)
            indent += levelDifference(node, next) * int(tree.Indent());
        node = next;
    }
    return changed;
}

// Whether a rectangle of the rubber band reaches a row vertically; the empty start rectangle
// reaches none.
bool ReachesRow(const QRect& r, int top, int height)
{
    if (r.width() == 0 && r.height() == 0 && r.topLeft() == QPoint())
        return false;
    return r.top() < top + height && r.bottom() >= top;
}

}  // namespace

// ---- hit testing ----

void TBaseNodeTree::GetHitTestInfoAt(int x, int y, bool relative, THitInfo& hitInfo)
{
    hitInfo = THitInfo{};
    if (x < 0)
        hitInfo.HitPositions = hiToLeft;
    else if (int64_t(x) > std::max<int64_t>(ClientWidth(), RangeX()))
        hitInfo.HitPositions |= hiToRight;
    if (y < 0)
        hitInfo.HitPositions |= hiAbove;
    else if (int64_t(y) > std::max<int64_t>(ClientHeight(), RangeY()))
        hitInfo.HitPositions |= hiBelow;
    if (relative) {
        const int fixedWidth = FHeader.UseColumns() ? FHeader.Columns().GetVisibleFixedWidth() : 0;
        if (x >= fixedWidth)
            x += EffectiveOffsetX();
        y -= FOffsetY;
    }
    hitInfo.HitPoint = QPoint(x, y);
    if (hitInfo.HitPositions)
        return;

    int nodeTop = 0;
    PTreeNode node = GetNodeAt(x, y, false, &nodeTop);
    if (!node) {
        hitInfo.HitPositions |= hiNowhere;
        return;
    }
    if (!node->Has(vsInitialized))
        InitNode(node);
    hitInfo.HitNode = node;

    int offset = x;
    int right = 0;
    if (FHeader.UseColumns()) {
        const TNodeTreeColumns& columns = FHeader.Columns();
        int left = 0;
        int spanRight = 0;
        TColumnIndex column = columns.ColumnAndBoundsAt(QPoint(x, 0), left, spanRight, false);
        if (column >= 0 && (FOptions->AutoOptions() & toAutoSpanColumns)) {
            const TColumnIndex first = column;
            // An empty cell shows the content of the nearest non-empty cell to its left.
            while (ColumnIsEmpty(node, column)) {
                const TColumnIndex previous = columns.GetPreviousVisibleColumn(column);
                if (previous <= NoColumn)
                    break;
                column = previous;
                left -= columns[column]->Width();
            }
            for (TColumnIndex next = columns.GetNextVisibleColumn(first); next > NoColumn && ColumnIsEmpty(node, next);
                 next = columns.GetNextVisibleColumn(next))
                spanRight += columns[next]->Width();
        }
        hitInfo.HitColumn = column;
        offset = x - left;
        right = spanRight - left;
    } else
        right = std::max<int>(ClientWidth(), int(RangeX()));
    if (hitInfo.HitColumn == InvalidColumn) {
        hitInfo.HitPositions |= hiNowhere;
        return;
    }

    hitInfo.HitPositions = hiOnItem;
    if (FOptions->MiscOptions() & toNodeHeightResize) {
        const int bottom = nodeTop + int(node->NodeHeight);
        if (y <= nodeTop + 1)
            hitInfo.HitPositions |= hiUpperSplitter;
        else if (y >= bottom - 3)
            hitInfo.HitPositions |= hiLowerSplitter;
    }
    TAlignment alignment = FAlignment;
    bool rightToLeft = false;
    if (FHeader.Columns().IsValidColumn(hitInfo.HitColumn)) {
        const TNodeTreeColumn* column = FHeader.Columns()[hitInfo.HitColumn];
        alignment = column->Alignment();
        rightToLeft = column->UseRightToLeftReading();
    }
    if (rightToLeft)
        DetermineHitPositionRTL(hitInfo, offset, right, alignment);
    else
        DetermineHitPositionLTR(hitInfo, offset, right, alignment);
}

int TBaseNodeTree::HitIndentWidth(PTreeNode node, bool mainColumn) const
{
    if (!mainColumn)
        return 0;
    const TTVPaintOptions paint = FOptions->PaintOptions();
    if (paint & toFixedIndent)
        return int(FIndent);
    return int(FIndent) * int(GetNodeLevel(node) + ((paint & toShowRoot) ? 1 : 0));
}

int TBaseNodeTree::HitCheckWidth(PTreeNode node, bool mainColumn) const
{
    if (mainColumn && (FOptions->MiscOptions() & toCheckSupport) && FCheckImages && node->CheckType() != ctNone)
        return FCheckImages->Width() + 2;
    return 0;
}

void TBaseNodeTree::DetermineHitPositionLTR(THitInfo& hitInfo, int offset, int right, TAlignment alignment)
{
    PTreeNode node = hitInfo.HitNode;
    const bool isMainColumn = hitInfo.HitColumn == FHeader.GetMainColumn();
    const int indentWidth = HitIndentWidth(node, isMainColumn);
    const int plusWidth = FPlusBM.isNull() ? 9 : FPlusBM.width();
    if (isMainColumn && offset < indentWidth + FMargin) {
        if ((FOptions->PaintOptions() & toShowButtons) && node->Has(vsHasChildren)) {
            if (offset >= indentWidth - int(FIndent))
                hitInfo.HitPositions |= hiOnItemButton;
            if (offset >= indentWidth - plusWidth)
                hitInfo.HitPositions |= hiOnItemButtonExact;
        }
        return;
    }
    if (!isMainColumn && (FOptions->MiscOptions() & toReportMode))
        return;
    int x = indentWidth + FMargin + HitCheckWidth(node, isMainColumn);
    if (isMainColumn && offset < x) {
        hitInfo.HitPositions = hiOnItem;
        if (node->CheckType() != ctNone)
            hitInfo.HitPositions |= hiOnItemCheckbox;
        return;
    }
    if (FStateImages && HasImage(node, ikState, hitInfo.HitColumn)) {
        x += FStateImages->Width() + 2;
        if (offset < x) {
            hitInfo.HitPositions |= hiOnStateIcon;
            return;
        }
    }
    if (FImages && HasImage(node, ikNormal, hitInfo.HitColumn)) {
        x += GetNodeImageSize(node).width() + 2;
        if (offset < x) {
            hitInfo.HitPositions |= hiOnNormalIcon;
            return;
        }
    }
    const int textWidth = DoGetNodeWidth(node, hitInfo.HitColumn, nullptr);
    if (textWidth > right - x) {
        hitInfo.HitPositions |= hiOnItemLabel;
        return;
    }
    switch (alignment) {
    case taLeftJustify:
        hitInfo.HitPositions |= offset < x + textWidth ? hiOnItemLabel : hiOnItemRight;
        break;
    case taRightJustify:
        hitInfo.HitPositions |= offset < right - textWidth ? hiOnItemLeft : hiOnItemLabel;
        break;
    case taCenter: {
        const int start = (x + right - textWidth) / 2;
        hitInfo.HitPositions |= offset < start ? hiOnItemLeft : offset < start + textWidth ? hiOnItemLabel : hiOnItemRight;
        break;
    }
    }
}

void TBaseNodeTree::DetermineHitPositionRTL(THitInfo& hitInfo, int offset, int right, TAlignment alignment)
{
    PTreeNode node = hitInfo.HitNode;
    const bool isMainColumn = hitInfo.HitColumn == FHeader.GetMainColumn();
    const int plusWidth = FPlusBM.isNull() ? 9 : FPlusBM.width();
    right -= HitIndentWidth(node, isMainColumn);
    if (offset >= right) {
        if ((FOptions->PaintOptions() & toShowButtons) && node->Has(vsHasChildren)) {
            if (offset <= right + int(FIndent))
                hitInfo.HitPositions |= hiOnItemButton;
            if (offset <= right + plusWidth)
                hitInfo.HitPositions |= hiOnItemButtonExact;
        }
        return;
    }
    if (!isMainColumn && (FOptions->MiscOptions() & toReportMode))
        return;
    int x = right - FMargin - HitCheckWidth(node, isMainColumn);
    if (isMainColumn && offset > x) {
        hitInfo.HitPositions = hiOnItem;
        if (node->CheckType() != ctNone)
            hitInfo.HitPositions |= hiOnItemCheckbox;
        return;
    }
    if (FStateImages && HasImage(node, ikState, hitInfo.HitColumn)) {
        x -= FStateImages->Width() + 2;
        if (offset > x) {
            hitInfo.HitPositions |= hiOnStateIcon;
            return;
        }
    }
    if (FImages && HasImage(node, ikNormal, hitInfo.HitColumn)) {
        x -= GetNodeImageSize(node).width() + 2;
        if (offset > x) {
            hitInfo.HitPositions |= hiOnNormalIcon;
            return;
        }
    }
    const int textWidth = DoGetNodeWidth(node, hitInfo.HitColumn, nullptr);
    if (textWidth > x) {
        hitInfo.HitPositions |= hiOnItemLabel;
        return;
    }
    // Mirrored: left and right swap.
    switch (alignment) {
    case taLeftJustify:
        hitInfo.HitPositions |= offset < x - textWidth ? hiOnItemLeft : hiOnItemLabel;
        break;
    case taCenter: {
        const int h = (x - textWidth) / 2;
        hitInfo.HitPositions |= offset < h ? hiOnItemLeft : offset < h + textWidth ? hiOnItemLabel : hiOnItemRight;
        break;
    }
    case taRightJustify:
        hitInfo.HitPositions |= offset > textWidth ? hiOnItemRight : hiOnItemLabel;
        break;
    }
}

// ---- dispatchers ----

void TBaseNodeTree::DoNodeClick(const THitInfo& hitInfo)
{
    if (OnNodeClick)
        OnNodeClick(this, hitInfo);
}

void TBaseNodeTree::DoNodeDblClick(const THitInfo& hitInfo)
{
    if (OnNodeDblClick)
        OnNodeDblClick(this, hitInfo);
}

void TBaseNodeTree::DoColumnClick(TColumnIndex column, TShiftState shift)
{
    if (OnColumnClick)
        OnColumnClick(this, column, shift);
}

void TBaseNodeTree::DoColumnDblClick(TColumnIndex column, TShiftState shift)
{
    if (OnColumnDblClick)
        OnColumnDblClick(this, column, shift);
}

bool TBaseNodeTree::DoBeforeDrag(PTreeNode node, TColumnIndex column)
{
    bool allowed = false;
    if (OnDragAllowed)
        OnDragAllowed(this, node, column, allowed);
    return allowed;
}

bool TBaseNodeTree::DoNodeHeightTracking(PTreeNode node, TColumnIndex column, TShiftState shift, QPoint& trackPoint,
                                         QPoint p)
{
    bool allowed = true;
    if (OnNodeHeightTracking)
        OnNodeHeightTracking(this, node, column, shift, trackPoint, p, allowed);
    return allowed;
}

bool TBaseNodeTree::DoNodeHeightDblClickResize(PTreeNode node, TColumnIndex column, TShiftState shift, QPoint p)
{
    bool allowed = true;
    if (OnNodeHeightDblClickResize)
        OnNodeHeightDblClickResize(this, node, column, shift, p, allowed);
    return allowed;
}

bool TBaseNodeTree::CanSplitterResizeNode(QPoint p, PTreeNode node, TColumnIndex column)
{
    bool allowed = (FOptions->MiscOptions() & toNodeHeightResize) && node && node != FRoot && column >= 0 &&
                   FHeader.Columns().IsValidColumn(column) && (FHeader.Columns()[column]->Options() & coFixed);
    if (OnCanSplitterResizeNode)
        OnCanSplitterResizeNode(this, p, node, column, allowed);
    return allowed;
}

// ---- button messages ----

bool TBaseNodeTree::HeaderBusy() const { return (FHeader.States() & HeaderMouseStates) != 0; }

void TBaseNodeTree::MouseDown(platform::TMouseButton button, TShiftState shift, int x, int y)
{
    const TWMMouse message{button, shift & ~TShiftState(platform::ssDouble), QPoint(x, y)};
    const TTVSelectionOptions selection = FOptions->SelectionOptions();
    // The middle and right buttons act on nodes only when the options say so.
    const bool selects = button == platform::mbLeft ||
                         (button == platform::mbMiddle ? (selection & toMiddleClickSelect) != 0
                                                       : (selection & toRightClickSelect) != 0);
    THitInfo hitInfo;
    if (shift & platform::ssDouble) {
        const TNodeTreeState state = button == platform::mbLeft     ? tsLeftDblClick
                                     : button == platform::mbMiddle ? tsMiddleDblClick
                                                                    : tsRightDblClick;
        DoStateChange(TS(state));
        TCustomControl::MouseDown(button, message.Keys, x, y);
        if (selects) {
            GetHitTestInfoAt(x, y, true, hitInfo);
            HandleMouseDblClick(message, hitInfo);
        }
        DoStateChange(0, TS(state));
        return;
    }
    DoStateChange(TS(button == platform::mbLeft     ? tsLeftButtonDown
                     : button == platform::mbMiddle ? tsMiddleButtonDown
                                                    : tsRightButtonDown));
    if (button != platform::mbLeft && HeaderBusy())
        return;
    TCustomControl::MouseDown(button, shift, x, y);
    if (button == platform::mbMiddle) {
        if ((FOptions->MiscOptions() & toWheelPanning) && !(TreeStates() & TS(tsWheelPanning, tsWheelScrolling)) &&
            (int64_t(RangeX()) > ClientWidth() || int64_t(RangeY()) > ClientHeight())) {
            FLastClickPos = message.Pos;
            StartWheelPanning(viewport()->mapToGlobal(message.Pos));
            return;
        }
        StopWheelPanning();
    }
    if (selects) {
        GetHitTestInfoAt(x, y, true, hitInfo);
        TWMMouse press = message;
        HandleMouseDown(press, hitInfo);
    }
}

void TBaseNodeTree::MouseUp(platform::TMouseButton button, TShiftState shift, int x, int y)
{
    TWMMouse message{button, shift, QPoint(x, y)};
    THitInfo hitInfo;
    switch (button) {
    case platform::mbLeft:
        DoStateChange(0, TS(tsNodeHeightTracking, tsNodeHeightTrackPending, tsLeftButtonDown));
        GetHitTestInfoAt(x, y, true, hitInfo);
        HandleMouseUp(message, hitInfo);
        TCustomControl::MouseUp(button, shift, x, y);
        return;
    case platform::mbMiddle:
        DoStateChange(0, TS(tsMiddleButtonDown));
        if (TreeStates() & TS(tsWheelPanning, tsWheelScrolling)) {
            // Without a drag the panning goes on until the next click.
            if (HasState(tsWheelScrolling))
                DoStateChange(0, TS(tsWheelPanning));
            else
                StopWheelPanning();
            return;
        }
        if (HeaderBusy())
            return;
        TCustomControl::MouseUp(button, shift, x, y);
        if (FOptions->SelectionOptions() & toMiddleClickSelect) {
            GetHitTestInfoAt(x, y, true, hitInfo);
            HandleMouseUp(message, hitInfo);
        }
        return;
    case platform::mbRight:
        DoStateChange(0, TS(tsRightButtonDown, tsPopupMenuShown));
        if (HeaderBusy())
            return;
        if (IsMouseSelecting() && PopupMenu()) {
            DoStateChange(0, TS(tsDrawSelPending, tsDrawSelecting));
            Invalidate();
        }
        TCustomControl::MouseUp(button, shift, x, y);
        GetHitTestInfoAt(x, y, true, hitInfo);
        if (FOptions->SelectionOptions() & toRightClickSelect)
            HandleMouseUp(message, hitInfo);
        if (!PopupMenu())
            DoPopupMenu(hitInfo.HitNode, hitInfo.HitColumn, QPoint(x, y));
        return;
    }
}

// ---- press ----

void TBaseNodeTree::HandleMouseDown(TWMMouse& message, THitInfo& hitInfo)
{
    if (TreeStates() & TS(tsWheelPanning, tsWheelScrolling)) {
        StopWheelPanning();
        return;
    }
    if (HasState(tsEditPending)) {
        StopTimer(TTreeTimer::Edit);
        DoStateChange(0, TS(tsEditPending));
    }
    if (HasState(tsEditing) && !DoEndEdit())
        return;
    if (!Focused() && focusPolicy() != Qt::NoFocus && isEnabled() && isVisible()) {
        SetFocus();
        GetHitTestInfoAt(message.Pos.x(), message.Pos.y(), true, hitInfo);
    }
    TNodeTreeColumns& columns = FHeader.Columns();
    columns.SetClickIndex(hitInfo.HitColumn);

    const TTVSelectionOptions selection = FOptions->SelectionOptions();
    const TTVMiscOptions misc = FOptions->MiscOptions();
    const THitPositions positions = hitInfo.HitPositions;
    TColumnIndex newColumn = FFocusedColumn;
    bool columnChanged = false;
    if (Has(positions, hiOnItemLabel) || (selection & toFullRowSelect) || (misc & toGridExtensions)) {
        newColumn = hitInfo.HitColumn;
        columnChanged = newColumn != FFocusedColumn;
        if (!(selection & toExtendedFocus))
            newColumn = FHeader.GetMainColumn();
    }
    if (columnChanged && !FHeader.AllowFocus(newColumn)) {
        newColumn = FFocusedColumn;
        columnChanged = false;
    }
    const bool newNode = hitInfo.HitNode != FFocusedNode;
    TShiftState shiftState = message.Keys & (ssShift | ssCtrl | ssAlt);
    bool altPressed = false;
    if (shiftState & ssAlt) {
        altPressed = true;
        shiftState &= ssShift | ssCtrl;
    }
    const bool isLabelHit = Has(positions, hiOnItemLabel | hiOnNormalIcon) && !altPressed &&
                            !(selection & toSimpleDrawSelection);
    const bool isCellHit = !altPressed && !isLabelHit && hitInfo.HitNode &&
                           !Has(positions, hiNowhere | hiOnItemButton | hiOnItemCheckbox) &&
                           ((selection & toFullRowSelect) || ((misc & toGridExtensions) && hitInfo.HitColumn > NoColumn));
    const bool isAnyHit = isLabelHit || isCellHit;
    const bool nodeSelected = isAnyHit && hitInfo.HitNode->Has(vsSelected);
    const bool multiSelect = selection & toMultiSelect;
    bool fullRowDrag;
    if (!multiSelect || (selection & toDisableDrawSelection))
        fullRowDrag = misc & toFullRowDrag;
    else
        fullRowDrag = isCellHit && (misc & toFullRowDrag) && !Has(positions, hiNowhere) &&
                      (nodeSelected || Has(positions, hiOnItemLabel | hiOnNormalIcon));
    const bool isHeightTracking = message.Button == platform::mbLeft && Has(positions, hiOnItem) &&
                                  Has(positions, hiUpperSplitter | hiLowerSplitter);
    bool autoDrag = (DragMode() == platform::TDragMode::dmAutomatic || Dragging()) && !(isCellHit && !fullRowDrag);
    if (hitInfo.HitNode && !autoDrag && DragMode() == platform::TDragMode::dmManual)
        autoDrag = DoBeforeDrag(hitInfo.HitNode, newColumn) && (isLabelHit || fullRowDrag);

    if (isHeightTracking) {
        PTreeNode node =
            Has(positions, hiUpperSplitter) ? GetPreviousVisible(hitInfo.HitNode, true) : hitInfo.HitNode;
        if (CanSplitterResizeNode(message.Pos, node, hitInfo.HitColumn)) {
            FHeightTrackNode = node;
            FHeightTrackColumn = hitInfo.HitColumn;
            FHeightTrackPoint = GetDisplayRect(node, FHeightTrackColumn, false).topLeft();
            DoStateChange(TS(tsNodeHeightTrackPending));
            return;
        }
    }
    if (Has(positions, hiOnItemButton) && hitInfo.HitNode->Has(vsHasChildren)) {
        ToggleNode(hitInfo.HitNode);
        return;
    }
    if (Has(positions, hiOnItemCheckbox)) {
        StartMouseCheckPress(hitInfo.HitNode, message.Button);
        return;
    }
    if ((shiftState == 0 && FirstOf(FRoot)) || FSelection.empty()) {
        PTreeNode levelNode = hitInfo.HitNode ? hitInfo.HitNode : GetLastVisible(nullptr, true);
        if (levelNode)
            FLastSelectionLevel = int(GetNodeLevel(levelNode));
    }
    if (multiSelect && shiftState == 0 && isAnyHit && autoDrag && nodeSelected && !FSelectionLocked)
        DoStateChange(TS(tsClearPending));
    bool mayClear = true;
    if (autoDrag)
        mayClear = false;
    else if (message.Button == platform::mbRight)
        mayClear = !HasPopupMenu(hitInfo.HitNode, hitInfo.HitColumn, message.Pos);
    if (!(selection & toDisableDrawSelection) && !isLabelHit && !fullRowDrag && multiSelect) {
        SetMouseCapture(true);
        DoStateChange(TS(tsDrawSelPending));
        FDrawSelShiftState = shiftState;
        FNewSelRect = QRect(message.Pos.x() + EffectiveOffsetX(), message.Pos.y() - FOffsetY, 0, 0);
        FLastSelRect = QRect();
    }
    if (!FSelectionLocked &&
        ((multiSelect && !isCellHit && !isLabelHit && !fullRowDrag && shiftState == 0) ||
         (isAnyHit && (!nodeSelected || mayClear) && (shiftState == 0 || !multiSelect)))) {
        TreeAssert(!HasState(tsClearPending), "Pending and direct clearance are mutual exclusive!");
        const bool mainColumnHit = hitInfo.HitColumn == FHeader.GetMainColumn() || !FHeader.UseColumns();
        if (nodeSelected || (altPressed && hitInfo.HitNode && mainColumnHit && !Has(positions, hiNowhere))) {
            // Everything else goes; the clicked node stays selected without constraint checks.
            const bool many = FSelection.size() > 1;
            InternalClearSelection();
            InternalAddToSelection(hitInfo.HitNode, true);
            if (many) {
                Invalidate();
                Change(nullptr);
            }
        } else if (!(Has(positions, hiNowhere) && (selection & toAlwaysSelectNode)))
            ClearSelection(false);
    }
    if (Focused() && (Has(positions, hiOnItemLabel) || ((misc & toGridExtensions) && Has(positions, hiOnItem))) &&
        nodeSelected && !columnChanged && shiftState == 0)
        DoStateChange(TS(tsEditPending));
    if (!(selection & toDisableDrawSelection) && !isLabelHit && !fullRowDrag &&
        (multiSelect || Has(positions, hiNowhere)) && !isCellHit)
        return;

    FLastClickPos = message.Pos;
    if (isAnyHit && DoFocusChanging(FFocusedNode, hitInfo.HitNode, FFocusedColumn, newColumn)) {
        if (columnChanged) {
            InvalidateColumn(FFocusedColumn);
            InvalidateColumn(newColumn);
            FFocusedColumn = newColumn;
        }
        if (DragKind() == platform::TDragKind::dkDock) {
            StopTimer(TTreeTimer::Scroll);
            DoStateChange(0, TS(tsScrollPending, tsScrolling));
        }
        PTreeNode lastFocused = FFocusedNode;
        if (newNode)
            DoFocusNode(hitInfo.HitNode, false);
        if (multiSelect && shiftState != 0)
            HandleClickSelection(lastFocused, hitInfo.HitNode, shiftState, autoDrag);
        else {
            if (shiftState == 0)
                FRangeAnchor = hitInfo.HitNode;
            if (!hitInfo.HitNode->Has(vsSelected))
                AddToSelection(hitInfo.HitNode);
        }
        if (newNode || columnChanged) {
            const TTVSelectionOptions s = FOptions->SelectionOptions();
            ScrollIntoView(FFocusedNode, s & toCenterScrollIntoView,
                           !(FOptions->AutoOptions() & toDisableAutoscrollOnFocus) && !(s & toFullRowSelect));
            DoFocusChange(FFocusedNode, FFocusedColumn);
        }
    }
    if (FSelection.empty())
        Change(nullptr);
    if (autoDrag && isAnyHit && (TreeStates() & TS(tsLeftButtonDown, tsMiddleButtonDown, tsRightButtonDown)))
        BeginDrag(false);
}

void TBaseNodeTree::StartMouseCheckPress(PTreeNode node, platform::TMouseButton button)
{
    if ((TreeStates() & TS(tsKeyCheckPending, tsMouseCheckPending)) || node->Has(vsDisabled))
        return;
    TCheckState newState = DetermineNextCheckState(node->CheckType(), node->CheckState());
    if (button != platform::mbLeft || !DoChecking(node, newState))
        return;
    DoStateChange(TS(tsMouseCheckPending));
    FCheckNode = node;
    FPendingCheckState = newState;
    node->SetCheckStateField(PressedCheckState(node->CheckState()));
    InvalidateNode(node);
}

void TBaseNodeTree::HandleClickSelection(PTreeNode lastFocused, PTreeNode newNode, TShiftState shift, bool dragPending)
{
    Q_UNUSED(lastFocused);
    const TTVSelectionOptions selection = FOptions->SelectionOptions();
    if ((shift & ssCtrl) && (shift & ssShift)) {
        SelectNodes(FRangeAnchor, newNode, true);
        Invalidate();
    } else if (shift & ssCtrl) {
        if (!(selection & toSiblingSelectConstraint))
            FRangeAnchor = newNode;
        if (dragPending)
            DoStateChange(TS(tsToggleFocusedSelection));
        else {
            if (newNode->Has(vsSelected))
                RemoveFromSelection(newNode);
            else
                AddToSelection(newNode);
        }
        Invalidate();
    } else if (shift & ssShift) {
        if (!FRangeAnchor)
            FRangeAnchor = GetFirstChild(nullptr);
        SelectNodes(FRangeAnchor, newNode, false);
        Invalidate();
    } else {
        if (!newNode->Has(vsSelected)) {
            AddToSelection(newNode);
            InvalidateNode(newNode);
        }
        FRangeAnchor = newNode;
    }
}

// ---- release ----

void TBaseNodeTree::HandleMouseUp(const TWMMouse& message, const THitInfo& hitInfo)
{
    SetMouseCapture(false);
    if (HasState(tsVCLDragPending))
        return;
    if (IsMouseSelecting()) {
        DoStateChange(0, TS(tsToggleFocusedSelection, tsDrawSelPending, tsDrawSelecting));
        Invalidate();
    }
    if (HasState(tsClearPending)) {
        const bool wasSelected = FFocusedNode && FFocusedNode->Has(vsSelected);
        ClearSelection(true);
        if (wasSelected && FFocusedNode)
            AddToSelection(FFocusedNode);
    }
    if (HasState(tsToggleFocusedSelection) && hitInfo.HitNode == FFocusedNode && FFocusedNode) {
        if (!FFocusedNode->Has(vsSelected))
            AddToSelection(FFocusedNode);
        else if (!((FOptions->SelectionOptions() & toAlwaysSelectNode) && FSelection.size() == 1))
            RemoveFromSelection(FFocusedNode);
        InvalidateNode(FFocusedNode);
    }
    DoStateChange(0, TS(tsToggleFocusedSelection, tsClearPending, tsDrawSelPending, tsOLEDragging, tsOLEDragPending,
                        tsScrolling, tsScrollPending));
    StopTimer(TTreeTimer::Scroll);
    if (HasState(tsMouseCheckPending)) {
        DoStateChange(0, TS(tsMouseCheckPending));
        PTreeNode node = FCheckNode;
        FCheckNode = nullptr;
        if (node) {
            if (hitInfo.HitNode == node && Has(hitInfo.HitPositions, hiOnItem)) {
                node->SetCheckStateField(UnpressedCheckState(node->CheckState()));
                DoCheckClick(node, FPendingCheckState);
            } else
                node->SetCheckStateField(UnpressedCheckState(node->CheckState()));
            InvalidateNode(node);
        }
    }
    const TColumnIndex clickIndex = FHeader.Columns().ClickIndex();
    if (clickIndex >= 0 && clickIndex == hitInfo.HitColumn)
        DoColumnClick(hitInfo.HitColumn, message.Keys);
    if (hitInfo.HitNode)
        DoNodeClick(hitInfo);
    if (HasState(tsEditPending)) {
        if (hitInfo.HitNode == FFocusedNode && Has(hitInfo.HitPositions, hiOnItem) &&
            (FOptions->MiscOptions() & toEditOnClick) && hitInfo.HitColumn == FFocusedColumn &&
            CanEdit(FFocusedNode, hitInfo.HitColumn)) {
            FEditColumn = FFocusedColumn;
            StartTimer(TTreeTimer::Edit, int(FEditDelay));
        } else
            DoStateChange(0, TS(tsEditPending));
    }
}

// ---- double click ----

void TBaseNodeTree::HandleMouseDblClick(const TWMMouse& message, const THitInfo& hitInfo)
{
    const TTVMiscOptions misc = FOptions->MiscOptions();
    bool mayEdit = !HasState(tsEditing) && (misc & toEditOnDblClick);
    if (HasState(tsEditPending)) {
        StopTimer(TTreeTimer::Edit);
        DoStateChange(0, TS(tsEditPending));
    }
    if (HasState(tsEditing) && !DoEndEdit())
        return;
    if (FHeader.Columns().ClickIndex() == hitInfo.HitColumn)
        DoColumnDblClick(hitInfo.HitColumn, message.Keys);
    if (hitInfo.HitNode)
        DoNodeDblClick(hitInfo);
    const THitPositions positions = hitInfo.HitPositions;
    PTreeNode heightNode = nullptr;
    if (Has(positions, hiOnItem) && hitInfo.HitColumn > NoColumn && FHeader.Columns().IsValidColumn(hitInfo.HitColumn) &&
        (FHeader.Columns()[hitInfo.HitColumn]->Options() & coFixed)) {
        if (Has(positions, hiUpperSplitter))
            heightNode = GetPreviousVisible(hitInfo.HitNode, true);
        else if (Has(positions, hiLowerSplitter))
            heightNode = hitInfo.HitNode;
    }
    if (heightNode && heightNode != FRoot && (misc & toNodeHeightDblClickResize) &&
        DoNodeHeightDblClickResize(heightNode, hitInfo.HitColumn, message.Keys, message.Pos)) {
        SetNodeHeight(heightNode, FDefaultNodeHeight);
        update();
        mayEdit = false;
    } else if (Has(positions, hiOnItemCheckbox)) {
        StartMouseCheckPress(hitInfo.HitNode, message.Button);
        mayEdit = false;
    } else if (hitInfo.HitNode &&
               (Has(positions, hiOnItemButton) ||
                ((misc & toToggleOnDblClick) &&
                 Has(positions, hiOnItemButton | hiOnItemLabel | hiOnNormalIcon | hiOnStateIcon)) ||
                (FOptions->SelectionOptions() & toFullRowSelect))) {
        ToggleNode(hitInfo.HitNode);
        mayEdit = false;
    }
    if (mayEdit && hitInfo.HitNode && hitInfo.HitNode == FFocusedNode && hitInfo.HitColumn == FFocusedColumn &&
        CanEdit(FFocusedNode, hitInfo.HitColumn)) {
        DoStateChange(TS(tsEditPending));
        FEditColumn = FFocusedColumn;
        StartTimer(TTreeTimer::Edit, 0);
    }
}

// ---- moving ----

void TBaseNodeTree::MouseMove(TShiftState shift, int x, int y)
{
    if (CheckPendingDrag(x, y))
        return;
    if (HasState(tsNodeHeightTrackPending)) {
        StopWheelPanning();
        for (TTreeTimer id : {TTreeTimer::DragExpand, TTreeTimer::Edit, TTreeTimer::Header, TTreeTimer::Scroll,
                              TTreeTimer::Search})
            StopTimer(id);
        DoStateChange(TS(tsNodeHeightTracking), TS(tsEditPending, tsNodeHeightTrackPending, tsIncrementalSearching,
                                                    tsOLEDragPending, tsScrolling, tsScrollPending, tsVCLDragPending));
    }
    if (!HasState(tsDrawSelPending)) {
        if (HasState(tsNodeHeightTracking)) {
            if (FHeightTrackNode &&
                DoNodeHeightTracking(FHeightTrackNode, FHeightTrackColumn, shift, FHeightTrackPoint, QPoint(x, y)))
                SetNodeHeight(FHeightTrackNode, y > FHeightTrackPoint.y() ? uint32_t(y - FHeightTrackPoint.y()) : 1u);
            return;
        }
        const int threshold = DragThresholdPixels();
        if (HasState(tsWheelPanning) && HasState(tsWheelScrolling) &&
            (std::abs(x - FLastClickPos.x()) >= threshold || std::abs(y - FLastClickPos.y()) >= threshold))
            DoStateChange(0, TS(tsWheelScrolling));
        if (CanAutoScroll())
            DoAutoScroll(x, y);
        if (TreeStates() & TS(tsWheelPanning, tsWheelScrolling))
            AdjustPanningCursor(x, y);
        if (!IsMouseSelecting()) {
            HandleHotTrack(x, y);
            TCustomControl::MouseMove(shift, x, y);
            return;
        }
        if (!HasState(tsScrolling) && CalculateSelectionRect(x, y)) {
            if (HandleDrawSelection(x, y))
                Invalidate();
            else {
                const QRect united =
                    FLastSelRect.normalized().united(FNewSelRect.normalized()).translated(-EffectiveOffsetX(), FOffsetY);
                InvalidateRect(united.adjusted(-1, -1, 1, 1));
            }
        }
        return;
    }
    if (CanAutoScroll())
        DoAutoScroll(x, y);
    if (!CalculateSelectionRect(x, y))
        return;
    InvalidateRect(FNewSelRect.normalized().translated(-EffectiveOffsetX(), FOffsetY).adjusted(-1, -1, 1, 1));
    const int threshold = DragThresholdPixels();
    const QRect r = FNewSelRect.normalized();
    if (r.width() <= threshold && r.height() <= threshold)
        return;
    if (HasState(tsClearPending)) {
        DoStateChange(0, TS(tsClearPending));
        ClearSelection(true);
    }
    DoStateChange(TS(tsDrawSelecting), TS(tsDrawSelPending));
    FFocusedColumn = FHeader.GetMainColumn();
    if (HandleDrawSelection(x, y))
        Invalidate();
}

void TBaseNodeTree::HandleHotTrack(int x, int y)
{
    THitInfo hitInfo;
    GetHitTestInfoAt(x, y, true, hitInfo);
    const bool explorer = HasState(tsUseExplorerTheme);
    PTreeNode node = hitInfo.HitNode;
    const bool counts =
        Has(hitInfo.HitPositions, hiOnItemLabel | hiOnItemCheckbox) ||
        (explorer && Has(hitInfo.HitPositions, hiOnItemButtonExact)) ||
        ((FOptions->SelectionOptions() & toFullRowSelect) && !Has(hitInfo.HitPositions, hiNowhere));
    if (!counts)
        node = nullptr;
    PTreeNode oldHot = FCurrentHotNode;
    bool doInvalidate = false;
    if (node != FCurrentHotNode || hitInfo.HitColumn != FCurrentHotColumn) {
        doInvalidate = (FOptions->PaintOptions() & toHotTrack) || (FOptions->MiscOptions() & toCheckSupport);
        DoHotChange(FCurrentHotNode, node);
        if (doInvalidate && FCurrentHotNode)
            InvalidateNode(FCurrentHotNode);
        FCurrentHotNode = node;
        FCurrentHotColumn = hitInfo.HitColumn;
    }
    const bool buttonHit = Has(hitInfo.HitPositions, hiOnItemButtonExact);
    if (FCurrentHotNode) {
        if (buttonHit != FHotNodeButtonHit || doInvalidate) {
            FHotNodeButtonHit = buttonHit;
            InvalidateNode(FCurrentHotNode);
        }
    } else
        FHotNodeButtonHit = false;
    if (oldHot && oldHot != FCurrentHotNode)
        InvalidateNode(oldHot);
}

// ---- rubber-band selection ----

bool TBaseNodeTree::CalculateSelectionRect(int x, int y)
{
    if (HasState(tsDrawSelecting))
        FLastSelRect = FNewSelRect;
    const int maxX = std::max<int>(ClientWidth(), int(RangeX()));
    const int maxY = std::max<int>(ClientHeight(), int(RangeY()));
    FNewSelRect.setRight(std::clamp(x + EffectiveOffsetX(), 0, maxX));
    FNewSelRect.setBottom(std::clamp(y - FOffsetY, 0, maxY));
    return FNewSelRect != FLastSelRect;
}

bool TBaseNodeTree::HandleDrawSelection(int, int)
{
    if (!FirstOf(FRoot) || !HasState(tsDrawSelecting))
        return false;
    const QRect oldRect = FLastSelRect.normalized();
    const QRect newRect = FNewSelRect.normalized();
    ClearTempCache();
    const TColumnIndex mainColumn = FHeader.GetMainColumn();
    int left = 0;
    int right = ClientWidth();
    TAlignment alignment = FAlignment;
    bool rightToLeft = false;
    if (FHeader.Columns().IsValidColumn(mainColumn)) {
        const TNodeTreeColumn* column = FHeader.Columns()[mainColumn];
        left = column->GetRect().left();
        right = left + column->Width();
        alignment = column->Alignment();
        rightToLeft = column->UseRightToLeftReading();
    }
    const bool changed = rightToLeft
                             ? CollectSelectedNodesRTL(mainColumn, left, newRect, oldRect, alignment, right)
                             : CollectSelectedNodesLTR(mainColumn, left, newRect, oldRect, alignment, right);
    if (changed) {
        PackSelection();
        if (!FTempNodeCache.empty()) {
            TNodeArray cache;
            cache.swap(FTempNodeCache);
            InternalAddToSelection(cache, int(cache.size()), false);
        }
        ClearTempCache();
        Change(nullptr);
    }
    return changed;
}

int TBaseNodeTree::CountLevelDifference(PTreeNode node1, PTreeNode node2) const
{
    TreeAssert(node1 && node2, "Both nodes must be Assigned.");
    return int(GetNodeLevel(node2)) - int(GetNodeLevel(node1));
}

// The left edge of a row's content: indentation, check box and images.
int TBaseNodeTree::DrawSelectionTextLeft(PTreeNode node, int nodeLeft, TColumnIndex mainColumn)
{
    int textLeft = nodeLeft;
    if ((FOptions->MiscOptions() & toCheckSupport) && FCheckImages && node->CheckType() != ctNone)
        textLeft += FCheckImages->Width() + 2;
    if (FImages && HasImage(node, ikNormal, mainColumn))
        textLeft += GetNodeImageSize(node).width() + 2;
    if (FStateImages && HasImage(node, ikState, mainColumn))
        textLeft += FStateImages->Width() + 2;
    return textLeft;
}

// Whether being inside the rectangle changed for a row; the node goes to the cache or leaves.
bool TBaseNodeTree::ApplyDrawSelectionChange(PTreeNode node, bool inOld, bool inNew)
{
    if (inOld == inNew)
        return false;
    if (FDrawSelShiftState & ssCtrl) {
        if (node->Has(vsSelected))
            InternalRemoveFromSelection(node);
        else
            InternalCacheNode(node);
    } else if (inNew) {
        if (!node->Has(vsSelected))
            InternalCacheNode(node);
    } else if (node->Has(vsSelected))
        InternalRemoveFromSelection(node);
    return true;
}

bool TBaseNodeTree::CollectSelectedNodesLTR(TColumnIndex mainColumn, int nodeLeft, const QRect& newRect,
                                            const QRect& oldRect, TAlignment alignment, int nodeRight)
{
    const bool simple = FOptions->SelectionOptions() & (toSimpleDrawSelection | toFullRowSelect);
    const bool withColumns = FHeader.UseColumns();
    const int totalWidth = withColumns ? FHeader.Columns().TotalWidth() : 0;
    auto levelDifference = [this](PTreeNode a, PTreeNode b) { return CountLevelDifference(a, b); };
    return WalkSelectionRows(*this, newRect, oldRect, levelDifference, [&](PTreeNode node, int top, int height, int indent) {
        const int rowLeft = nodeLeft + indent;
        int textLeft = DrawSelectionTextLeft(node, rowLeft, mainColumn);
        int textRight = nodeRight;
        if (!simple) {
            const int width = DoGetNodeWidth(node, mainColumn, nullptr);
            const bool startsRight = textLeft > oldRect.left() && textLeft > newRect.left();
            if (!((alignment == taLeftJustify && startsRight) || width >= nodeRight - textLeft)) {
                switch (alignment) {
                case taLeftJustify: textRight = textLeft + width; break;
                case taCenter:
                    textLeft = (textLeft + nodeRight - width) / 2;
                    textRight = textLeft + width;
                    break;
                case taRightJustify: textLeft = nodeRight - width; break;
                }
            }
        }
        auto touches = [&](const QRect& r) {
            if (!ReachesRow(r, top, height))
                return false;
            if (simple)
                return r.right() > rowLeft && (!withColumns || r.left() < totalWidth);
            return r.right() >= textLeft && r.left() <= textRight;
        };
        return ApplyDrawSelectionChange(node, touches(oldRect), touches(newRect));
    });
}

bool TBaseNodeTree::CollectSelectedNodesRTL(TColumnIndex mainColumn, int nodeLeft, const QRect& newRect,
                                            const QRect& oldRect, TAlignment alignment, int nodeRight)
{
    const bool simple = FOptions->SelectionOptions() & toSimpleDrawSelection;
    auto levelDifference = [this](PTreeNode a, PTreeNode b) { return CountLevelDifference(a, b); };
    return WalkSelectionRows(*this, newRect, oldRect, levelDifference, [&](PTreeNode node, int top, int height, int indent) {
        // Mirrored: the content ends at the span's right end less the indentation and images.
        const int textRight = nodeRight - DrawSelectionTextLeft(node, indent, mainColumn);
        int textLeft = nodeLeft;
        int right = textRight;
        if (!simple) {
            const int width = DoGetNodeWidth(node, mainColumn, nullptr);
            if (!(alignment == taRightJustify || width >= textRight - nodeLeft)) {
                switch (alignment) {
                case taLeftJustify:
                case taRightJustify: textLeft = textRight - width; break;
                case taCenter:
                    textLeft = (nodeLeft + textRight - width) / 2;
                    right = textLeft + width;
                    break;
                }
            }
        }
        auto touches = [&](const QRect& r) {
            return ReachesRow(r, top, height) && (simple || (r.right() >= textLeft && r.left() <= right));
        };
        return ApplyDrawSelectionChange(node, touches(oldRect), touches(newRect));
    });
}

// ---- automatic scrolling ----

bool TBaseNodeTree::CanAutoScroll() const
{
    const bool panning = (TreeStates() & TS(tsWheelPanning, tsWheelScrolling)) != 0;
    const bool dropTarget = FDragManager && FDragManager->IsDropTarget();
    return ((FOptions->AutoOptions() & toAutoScroll) || panning) && !HeaderBusy() &&
           (IsMouseSelecting() || dropTarget || HasState(tsVCLDragging) || panning);
}

TScrollDirections TBaseNodeTree::DetermineScrollDirections(int x, int y)
{
    TScrollDirections result = 0;
    if (!CanAutoScroll())
        return 0;
    if (TreeStates() & TS(tsWheelPanning, tsWheelScrolling)) {
        const int dx = x - FLastClickPos.x();
        const int dy = y - FLastClickPos.y();
        if (dx > 8)
            result |= sdRight;
        else if (dx < -8)
            result |= sdLeft;
        if (dy < -8)
            result |= sdUp;
        else if (dy > 8)
            result |= sdDown;
        return result;
    }
    const int zone = int(FDefaultNodeHeight);
    if (x < zone && FEffectiveOffsetX != 0)
        result |= sdLeft;
    if (x > ClientWidth() - zone && int64_t(ClientWidth()) + EffectiveOffsetX() < int64_t(RangeX()))
        result |= sdRight;
    if (y < zone && FOffsetY != 0)
        result |= sdUp;
    if (y > ClientHeight() - zone && int64_t(ClientHeight()) - FOffsetY < int64_t(RangeY()))
        result |= sdDown;
    if (result) {
        // The zone must be held for the delay first.
        const int64_t now = platform::NowMs();
        if (FDragScrollStart == 0)
            FDragScrollStart = now;
        if (now - FDragScrollStart < int64_t(FAutoScrollDelay))
            result = 0;
    } else
        FDragScrollStart = 0;
    return result;
}

void TBaseNodeTree::DoAutoScroll(int x, int y)
{
    FScrollDirections = DetermineScrollDirections(x, y);
    if (TreeStates() & TS(tsWheelPanning, tsWheelScrolling))
        return;
    if (FScrollDirections) {
        if (!(TreeStates() & TS(tsScrollPending, tsScrolling))) {
            DoStateChange(TS(tsScrollPending));
            StartTimer(TTreeTimer::Scroll, int(FAutoScrollDelay));
        }
    } else if (TreeStates() & TS(tsScrollPending, tsScrolling)) {
        StopTimer(TTreeTimer::Scroll);
        DoStateChange(0, TS(tsScrollPending, tsScrolling));
    }
}

void TBaseNodeTree::DoTimerScroll()
{
    const QPoint cursor = viewport()->mapFromGlobal(QCursor::pos());
    const QRect client = ClientRect();
    const bool panning = (TreeStates() & TS(tsWheelPanning, tsWheelScrolling)) != 0;
    if (!(IsMouseSelecting() || panning || client.contains(cursor)))
        return;
    if (panning)
        FScrollDirections = DetermineScrollDirections(cursor.x(), cursor.y());
    int dx = 0;
    int dy = 0;
    const int stepY = std::min<int>(FScrollBarOptions.VerticalIncrement, ClientHeight());
    const int stepX = FScrollBarOptions.HorizontalIncrement;
    const bool inside = client.contains(cursor);
    if (FScrollDirections & sdUp) {
        if (FOffsetY == 0)
            FScrollDirections &= ~sdUp;
        else
            dy = panning ? FLastClickPos.y() - cursor.y() - 8 : inside ? stepY : stepY * std::max(1, -cursor.y());
    }
    if (FScrollDirections & sdDown) {
        if (int64_t(ClientHeight()) - FOffsetY >= int64_t(RangeY()))
            FScrollDirections &= ~sdDown;
        else
            dy = panning ? FLastClickPos.y() - cursor.y() + 8
                         : -(inside ? stepY : stepY * std::max(1, cursor.y() - ClientHeight()));
    }
    if (FScrollDirections & sdLeft) {
        if (FEffectiveOffsetX == 0)
            FScrollDirections &= ~sdLeft;
        else
            dx = panning ? FLastClickPos.x() - cursor.x() - 8 : inside ? stepX : stepX * std::max(1, -cursor.x());
    }
    if (FScrollDirections & sdRight) {
        if (int64_t(ClientWidth()) + EffectiveOffsetX() >= int64_t(RangeX()))
            FScrollDirections &= ~sdRight;
        else
            dx = panning ? FLastClickPos.x() - cursor.x() + 8
                         : -(inside ? stepX : stepX * std::max(1, cursor.x() - ClientWidth()));
    }
    if (layoutDirection() == Qt::RightToLeft)
        dx = -dx;
    if (IsMouseSelecting()) {
        if (dx || dy) {
            // Scrolling moves what is drawn and repaints the uncovered strip.
            DoSetOffsetXY(QPoint(FOffsetX + dx, FOffsetY + dy), DefaultScrollUpdateFlags, &client);
            if (CalculateSelectionRect(cursor.x(), cursor.y()) && HandleDrawSelection(cursor.x(), cursor.y()))
                Invalidate();
            else
                InvalidateRect(FLastSelRect.normalized()
                                   .united(FNewSelRect.normalized())
                                   .translated(-EffectiveOffsetX(), FOffsetY)
                                   .adjusted(-1, -1, 1, 1));
        }
    } else if ((dx || dy) && !(FDragManager && FDragManager->IsDropTarget())) {
        // A drag over the tree scrolls from its own drag-over handling.
        DoSetOffsetXY(QPoint(FOffsetX + dx, FOffsetY + dy), DefaultScrollUpdateFlags);
    }
    if (!FScrollDirections && !panning) {
        StopTimer(TTreeTimer::Scroll);
        DoStateChange(0, TS(tsScrolling, tsScrollPending));
    }
}

// ---- wheel panning ----

void TBaseNodeTree::StartWheelPanning(QPoint position)
{
    StopTimer(TTreeTimer::Scroll);
    DoStateChange(TS(tsWheelPanning, tsWheelScrolling));
    const bool horizontal = int64_t(RangeX()) > ClientWidth();
    const bool vertical = int64_t(RangeY()) > ClientHeight();
    const QString name = horizontal && vertical ? QStringLiteral("TV_MOVEALL")
                         : horizontal           ? QStringLiteral("TV_MOVEEW")
                                                : QStringLiteral("TV_MOVENS");
    FPanningImage = InternalBitmap(name);
    const QRegion shape = OpaqueRegion(FPanningImage, PanningMaskColour);
    if (shape.isEmpty())
        RaiseAssertion(QStringLiteral("Invalid wheel panning image."));
    FPanningWindow = std::make_unique<TPanningWindow>(this, FPanningImage);
    FPanningWindow->setMask(shape);
    FPanningWindow->move(position - QPoint(16, 16));
    FPanningWindow->show();
    AdjustPanningCursor(FLastClickPos.x(), FLastClickPos.y());
    SetFocus();
    SetMouseCapture(true);
    StartTimer(TTreeTimer::Scroll, 20);
}

void TBaseNodeTree::StopWheelPanning()
{
    if (!(TreeStates() & TS(tsWheelPanning, tsWheelScrolling)))
        return;
    StopTimer(TTreeTimer::Scroll);
    SetMouseCapture(false);
    DoStateChange(0, TS(tsWheelPanning, tsWheelScrolling));
    FPanningWindow.reset();
    FPanningImage = QImage();
    FPanningCursor = QCursor();
    FPanningCursorName.clear();
    viewport()->setCursor(Cursor());
}

void TBaseNodeTree::AdjustPanningCursor(int x, int y)
{
    const bool horizontal = int64_t(RangeX()) > ClientWidth();
    const bool vertical = int64_t(RangeY()) > ClientHeight();
    const int dx = x - FLastClickPos.x();
    const int dy = y - FLastClickPos.y();
    QString name;
    if (std::abs(dx) > 7 || std::abs(dy) > 7) {
        // North is up; within -8 .. 8 an axis counts as still.
        const QString ns = dy < -8 ? QStringLiteral("N") : dy > 8 ? QStringLiteral("S") : QString();
        const QString ew = dx < -8 ? QStringLiteral("W") : dx > 8 ? QStringLiteral("E") : QString();
        if (horizontal && vertical)
            name = ns + ew;
        else if (horizontal)
            name = dx < 0 ? QStringLiteral("W") : QStringLiteral("E");
        else
            name = dy < 0 ? QStringLiteral("N") : QStringLiteral("S");
        // On the rim of the dead band no direction wins yet.
        if (name.isEmpty())
            name = horizontal && vertical ? QStringLiteral("ALL") : horizontal ? QStringLiteral("EW") : QStringLiteral("NS");
    } else {
        name = !horizontal ? QStringLiteral("NS") : vertical ? QStringLiteral("ALL") : QStringLiteral("EW");
    }
    name.prepend(QStringLiteral("TV_MOVE"));
    if (name == FPanningCursorName)
        return;
    const TCursorData data = InternalCursor(name);
    FPanningCursorName = name;
    FPanningCursor = QCursor(QPixmap::fromImage(data.Image), data.HotSpot.x(), data.HotSpot.y());
    viewport()->setCursor(FPanningCursor);
}

}  // namespace tree
