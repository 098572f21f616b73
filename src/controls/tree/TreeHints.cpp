// Hints of the tree: which text shows where when the mouse rests (the control's hint, a node's
// hint, the tooltip of a cut-off text, a column's hint), and the window that shows them.
#include "controls/tree/TreeHints.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace tree {

using namespace platform;

namespace {
bool GHintWindowGone = true;

// Where a hint goes below the mouse pointer when nothing else places it.
constexpr int PointerHeight = 20;
}  // namespace

bool HintWindowGone() { return GHintWindowGone; }

// ---- tree side ----

QString TBaseNodeTree::DoGetNodeHint(PTreeNode, TColumnIndex, TTVTooltipLineBreakStyle&) { return Hint(); }

QString TBaseNodeTree::DoGetNodeTooltip(PTreeNode, TColumnIndex, TTVTooltipLineBreakStyle&) { return Hint(); }

TTVHintKind TBaseNodeTree::DoGetHintKind(PTreeNode node, TColumnIndex column)
{
    TTVHintKind kind = GetDefaultHintKind();
    if (OnGetHintKind)
        OnGetHintKind(this, node, column, kind);
    return kind;
}

void TBaseNodeTree::DoGetHintSize(PTreeNode node, TColumnIndex column, QRect& r)
{
    if (OnGetHintSize)
        OnGetHintSize(this, node, column, r);
}

void TBaseNodeTree::DoDrawHint(TCanvas& canvas, PTreeNode node, const QRect& r, TColumnIndex column)
{
    if (OnDrawHint)
        OnDrawHint(this, canvas, node, r, column);
}

THintAnimationType TBaseNodeTree::DoGetAnimationType()
{
    if (FAnimationType != hatSystemDefault)
        return FAnimationType;
    if (!QApplication::isEffectEnabled(Qt::UI_AnimateTooltip))
        return hatNone;
    return QApplication::isEffectEnabled(Qt::UI_FadeTooltip) ? hatFade : hatSlide;
}

TNodeTreeHintWindow* TBaseNodeTree::CreateHintWindow() { return new TNodeTreeHintWindow(this); }

void TBaseNodeTree::CancelHint()
{
    QToolTip::hideText();
    if (FHintWindow)
        FHintWindow->ReleaseHint();
    DoStateChange(0, TS(tsHint));
}

bool TBaseNodeTree::viewportEvent(QEvent* event)
{
    if (HandleDragEvent(event))
        return true;
    switch (event->type()) {
    case QEvent::MouseMove: {
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (HasState(tsHint) && !FLastHintRect.contains(pos)) {
            CancelHint();
            FLastHintRect = QRect();
            // Tooltips follow the mouse without the platform's pause.
            if (FHintMode == hmTooltip)
                ShowOwnHint(pos, viewport()->mapToGlobal(pos));
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        if (HasState(tsHint))
            CancelHint();
        break;
    default: break;
    }
    return TCustomControl::viewportEvent(event);
}

bool TBaseNodeTree::DecideHint(const QPoint& clientPos, QRect& cursorRect, QPoint& hintPos)
{
    THitInfo hit;
    GetHitTestInfoAt(clientPos.x(), clientPos.y(), true, hit);
    bool allowed;
    if (HasState(tsEditing))
        allowed = hit.HitNode != FFocusedNode;
    else
        allowed = Focused() || (window() && window()->isActiveWindow()) || QApplication::activeWindow();
    if (MouseCapture() || !ShowHint() || Dragging() || IsMouseSelecting() || HasState(tsScrolling) ||
        FHeader.States() != 0 || !allowed)
        return false;

    FHintData = TTVHintData();
    const bool leftDown = QApplication::mouseButtons() & Qt::LeftButton;
    TNodeTreeColumns& columns = FHeader.Columns();
    if (FHeader.UseColumns() && (FHeader.Options() & hoShowHint) && FHeader.InHeader(clientPos)) {
        int left = 0, right = 0;
        const QRect header = HeaderRect();
        // The columns count from the header's own top.
        const TColumnIndex column =
            columns.ColumnAndBoundsAt(QPoint(clientPos.x(), clientPos.y() - header.top()), left, right);
        cursorRect = QRect(QPoint(left, header.top()), QPoint(right - 1, header.bottom()));
        // A column hint shows below the header, never over it.
        hintPos.setY(std::max(hintPos.y(), viewport()->mapToGlobal(QPoint(0, header.bottom() + 1)).y()));
        if (column <= NoColumn || leftDown)
            return false;
        FHintData.DefaultHint = columns[column]->Hint();
        FHintData.Column = column;
        return !FHintData.DefaultHint.isEmpty();
    }
    if (FHintMode != hmDefault && hit.HitNode && hit.HitColumn >= NoColumn) {
        PTreeNode node = hit.HitNode;
        const TColumnIndex column = hit.HitColumn;
        bool show;
        if (DoGetHintKind(node, column) == vhkOwnerDraw) {
            DoGetHintSize(node, column, FHintData.HintRect);
            show = !FHintData.HintRect.isEmpty();
        } else
            show = true;
        if (!show)
            return false;
        // The column's bounds in the client, over the empty columns it spans into.
        int left = 0, right = ClientWidth();
        if (column > NoColumn) {
            // Already in client coordinates: the bounds take the horizontal scroll into account.
            columns.GetColumnBounds(column, left, right);
            if (FOptions->AutoOptions() & toAutoSpanColumns)
                for (TColumnIndex next = columns.GetNextVisibleColumn(column);
                     next > NoColumn && ColumnIsEmpty(node, next); next = columns.GetNextVisibleColumn(next))
                    right += columns[next]->Width();
        }
        if (FHintMode == hmTooltip) {
            QRect r;
            if (node->Has(vsMultiline)) {
                show = hit.HitPositions & hiOnItemLabel;
                r = GetDisplayRect(node, column, true);
            } else {
                r = GetDisplayRect(node, column, true, true, true);
                const QPoint margin = DoGetCellContentMargin(node, column, ccmtBottomRightOnly);
                // The text is cut when it passes the column, the client area or its top.
                show = r.contains(clientPos) && clientPos.x() >= left && clientPos.x() < right &&
                       (std::min(right - 1, ClientWidth()) < RRight(r) + margin.x() || r.left() < std::max(left, 0) ||
                        ClientHeight() < RBottom(r) + margin.y() || r.top() < 0);
            }
            if (!show)
                return false;
            hintPos = viewport()->mapToGlobal(r.topLeft());
            cursorRect = r;
        } else {
            cursorRect = GetDisplayRect(node, column, false);
            cursorRect.setLeft(left);
            cursorRect.setRight(right - 1);
            hintPos.setY(std::max(hintPos.y(), viewport()->mapToGlobal(QPoint(0, cursorRect.bottom() + 1)).y()) + 2);
        }
        FHintData.Node = node;
        FHintData.Column = column;
        return true;
    }
    if (FHintMode == hmHintAndDefault && !hit.HitNode) {
        FHintData.DefaultHint = Hint();
        cursorRect = ClientRect();
        // Only the empty space holds this hint: a node below the mouse asks again.
        if (PTreeNode last = GetLastVisible(nullptr, true)) {
            const QRect lastRow = GetDisplayRect(last, NoColumn, false);
            if (lastRow.isValid() && lastRow.bottom() + 1 > cursorRect.top() && clientPos.y() > lastRow.bottom())
                cursorRect.setTop(lastRow.bottom() + 1);
        }
        return !FHintData.DefaultHint.isEmpty();
    }
    return false;
}

bool TBaseNodeTree::ShowOwnHint(const QPoint& clientPos, const QPoint& globalPos)
{
    if (FLastHintRect.contains(clientPos) && HasState(tsHint))
        return true;
    QRect cursorRect;
    QPoint hintPos = globalPos + QPoint(0, PointerHeight);
    const bool show = DecideHint(clientPos, cursorRect, hintPos);
    if (!show) {
        FLastHintRect = QRect();
        if (FHintWindow)
            FHintWindow->ReleaseHint();
        DoStateChange(0, TS(tsHint));
        // The ordinary hint is the platform's, as for any control.
        return FHintMode != hmDefault;
    }
    FHintData.Tree = this;
    FLastHintRect = cursorRect;
    if (!FHintWindow)
        FHintWindow = CreateHintWindow();
    FHintWindow->CursorPos = clientPos;
    const int maxWidth = THintWindow::DesktopAt(globalPos).width();
    QRect r = FHintWindow->CalcHintRect(maxWidth, QStringLiteral(" "), FHintData);
    if (r.isEmpty()) {
        FHintWindow->ReleaseHint();
        DoStateChange(0, TS(tsHint));
        return true;
    }
    r.translate(hintPos);
    DoStateChange(TS(tsHint));
    FHintWindow->ActivateHint(r, FHintWindow->HintData().HintText);
    if (!FHintWindow->HintShown())
        DoStateChange(0, TS(tsHint));
    return true;
}

// ---- hint window ----

TNodeTreeHintWindow::TNodeTreeHintWindow(QWidget* owner) : THintWindow(owner) { GHintWindowGone = false; }

TNodeTreeHintWindow::~TNodeTreeHintWindow() { GHintWindowGone = true; }

void TNodeTreeHintWindow::hideEvent(QHideEvent* event)
{
    THintWindow::hideEvent(event);
    FHintData = TTVHintData();
    FPresented = QImage();
    GHintWindowGone = false;
}

QRect TNodeTreeHintWindow::CalcHintRect(int maxWidth, const QString&, const TTVHintData& data)
{
    if (!data.Tree)
        return QRect();
    FHintData = data;
    TBaseNodeTree* tree = data.Tree;
    PTreeNode node = data.Node;
    if (node && !data.HintRect.isEmpty())
        return data.HintRect;
    FHintData.RightToLeft = tree->RightToLeft();
    const bool tooltip = node && tree->FHintMode == hmTooltip;

    TCanvas canvas;
    canvas.Font = tooltip ? tree->Font() : TFont(QToolTip::font(), clInfoText);
    FTextHeight = canvas.TextHeight(QStringLiteral("Tg"));
    FHintData.LineBreakStyle = hlbDefault;
    if (!FHintData.DefaultHint.isEmpty())
        FHintData.HintText = FHintData.DefaultHint;
    else if (tooltip)
        FHintData.HintText = tree->DoGetNodeTooltip(node, FHintData.Column, FHintData.LineBreakStyle);
    else if (node)
        FHintData.HintText = tree->DoGetNodeHint(node, FHintData.Column, FHintData.LineBreakStyle);
    if (FHintData.HintText.isEmpty())
        return QRect();

    if (!tooltip) {
        QRect r(0, 0, std::max(maxWidth, 1), FTextHeight);
        canvas.DrawText(FHintData.HintText, r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        return QRect(0, 0, r.width() + tree->TextMargin() + FTextHeight, r.height() + 6);
    }

    if (FHintData.LineBreakStyle == hlbDefault)
        FHintData.LineBreakStyle = node->Has(vsMultiline) ? hlbForceMultiLine : hlbForceSingleLine;
    QRect r;
    if (FHintData.LineBreakStyle == hlbForceMultiLine) {
        r = tree->GetDisplayRect(node, FHintData.Column, true);
        QRect measured = r;
        canvas.DrawText(FHintData.HintText, measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        r.setRight(measured.right() + tree->TextMargin() + 1);
        r.setBottom(measured.bottom());
        if (tree->Header().UseColumns()) {
            const int columnWidth = tree->Header().Columns().IsValidColumn(FHintData.Column)
                                        ? tree->Header().Columns()[FHintData.Column]->Width()
                                        : tree->ClientWidth();
            // The whole text fits its cell: no tooltip is needed.
            if (int(tree->NodeHeightOf(node)) + 2 >= r.height() && columnWidth + 2 >= r.width() && r.left() >= 0 &&
                r.right() + 1 <= tree->ClientWidth() + 3 && r.top() >= 0 && r.bottom() + 1 <= tree->ClientHeight() + 3)
                return QRect();
        }
    } else {
        r = tree->FLastHintRect;
        if (tree->TreeOptions().PaintOptions() & toShowHorzGridLines)
            r.setBottom(r.bottom() + 1);
    }
    r.adjust(-1, -1, 1, 1);
    r.moveTopLeft(QPoint(-1, -1));
    return r;
}

void TNodeTreeHintWindow::ActivateHint(const QRect& rect, const QString& text)
{
    TBaseNodeTree* tree = FHintData.Tree;
    if (rect.isEmpty() || !tree || !tree->FLastHintRect.contains(CursorPos)) {
        ReleaseHint();
        return;
    }
    // A new hint ends the animation of the one before.
    StopAnimation();
    FPresented = QImage();
    FAnimation = tree->DoGetAnimationType();
    THintWindow::ActivateHint(rect, text);
    const QSize size = geometry().size();
    FDrawBuffer = QImage(size, QImage::Format_ARGB32_Premultiplied);
    FTarget = QImage(size, QImage::Format_ARGB32_Premultiplied);
    FBackground = GrabScreen(geometry());
    if (FBackground.size() != size) {
        // Where the screen cannot be read the hint grows out of the tree's own colour.
        FBackground = QImage(size, QImage::Format_ARGB32_Premultiplied);
        FBackground.fill(ToQColor(tree->Color()));
    }
    PaintHintBuffer(0, 0);
    switch (FAnimation) {
    case hatFade:
    case hatSlide: {
        tree->DoStateChange(TS(tsInAnimation));
        FPresented = FBackground;
        const int duration = int(tree->AnimationDuration());
        const int steps = FAnimation == hatFade ? 255 : size.height();
        Animate(steps, FAnimation == hatFade ? 2 * duration : duration,
                [this](int step, int stepSize) { return HintAnimationStep(step, stepSize); });
        break;
    }
    default: update(); break;
    }
}

bool TNodeTreeHintWindow::HintAnimationStep(int step, int stepSize)
{
    TBaseNodeTree* tree = FHintData.Tree;
    if (step == 0 && stepSize == 0 && tree)
        tree->DoStateChange(0, TS(tsInAnimation, tsCancelHintAnimation));
    if (GHintWindowGone || !isVisible() || !tree || tree->HasState(tsCancelHintAnimation))
        return false;
    PaintHintBuffer(step, stepSize);
    return true;
}

void TNodeTreeHintWindow::PaintHintBuffer(int step, int stepSize)
{
    TBaseNodeTree* tree = FHintData.Tree;
    if (!tree || FDrawBuffer.isNull())
        return;
    if (step == 0) {
        FDrawBuffer.fill(Qt::transparent);
        QPainter painter(&FDrawBuffer);
        TCanvas canvas;
        canvas.Attach(&painter);
        PTreeNode node = FHintData.Node;
        const bool tooltip = node && tree->FHintMode == hmTooltip;
        int textTop = 2;
        if (tooltip) {
            TFont font = tree->Font();
            QRect r;
            QString text;
            tree->GetTextInfo(node, FHintData.Column, font, r, text);
            canvas.Font = font;
            textTop = FHintData.LineBreakStyle == hlbForceMultiLine
                          ? 1
                          : (FDrawBuffer.height() - canvas.TextHeight(FHintData.HintText)) / 2;
        } else
            canvas.Font = TFont(QToolTip::font(), clInfoText);
        const QRect r(QPoint(0, 0), FDrawBuffer.size());
        const TTVHintKind kind = node ? tree->DoGetHintKind(node, FHintData.Column) : vhkText;
        if (kind == vhkOwnerDraw) {
            tree->DoDrawHint(canvas, node, r, FHintData.Column);
        } else {
            canvas.Font.Color = clInfoText;
            canvas.Pen = TPen{clBlack};
            canvas.Brush = TBrush{clInfoBk, TBrushStyle::bsSolid};
            canvas.Rectangle(r);
            QRect textRect = r.adjusted(1, 1, -1, -1);
            textRect.setTop(textTop);
            textRect.setLeft(textRect.left() + 3);
            canvas.Brush.Style = TBrushStyle::bsClear;
            unsigned format = DT_NOPREFIX;
            if (node && FHintData.LineBreakStyle == hlbForceMultiLine)
                format |= DT_WORDBREAK;
            canvas.DrawText(FHintData.HintText, textRect, format);
        }
        canvas.Detach();
    }

    if (stepSize < 1) {
        // A finished fade keeps its last picture.
        if (FAnimation != hatFade || FPresented.isNull())
            FPresented = FDrawBuffer;
    } else if (FAnimation == hatFade) {
        FTarget = FBackground;
        QPainter painter(&FTarget);
        painter.setOpacity(std::clamp(step * 256 / 255, 0, 256) / 256.0);
        painter.drawImage(0, 0, FDrawBuffer);
        painter.end();
        FPresented = FTarget;
    } else {
        // The bottom rows of the picture slide in at the top.
        FTarget = FBackground;
        QPainter painter(&FTarget);
        const int rows = std::clamp(step, 0, FDrawBuffer.height());
        painter.drawImage(QPoint(0, 0), FDrawBuffer, QRect(0, FDrawBuffer.height() - rows, FDrawBuffer.width(), rows));
        painter.end();
        FPresented = FTarget;
    }
    if (!FPainting)
        update();
}

void TNodeTreeHintWindow::Paint(TCanvas& canvas)
{
    FPainting = true;
    if (FPresented.isNull())
        PaintHintBuffer(0, 0);
    FPainting = false;
    if (!FPresented.isNull())
        canvas.Draw(0, 0, FPresented);
}

}  // namespace tree
