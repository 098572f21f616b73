// The tree as the source and the target of drags: the drag loop through QDrag, the drop-target
// calls from Qt's drag events, the drop mode, the suggested effect and the auto-expansion.
#include "controls/tree/NodeTrees.h"
#include "controls/tree/TreeDragImage.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QPainter>

namespace tree {

namespace {


bool Has(THitPositions positions, THitPositions any) { return (positions & any) != 0; }

Qt::DropActions ActionsOfEffect(int effect)
{
    Qt::DropActions a;
    if (effect & DROPEFFECT_COPY)
        a |= Qt::CopyAction;
    if (effect & DROPEFFECT_MOVE)
        a |= Qt::MoveAction;
    if (effect & DROPEFFECT_LINK)
        a |= Qt::LinkAction;
    return a;
}

int EffectOfActions(Qt::DropActions a)
{
    int effect = DROPEFFECT_NONE;
    if (a & Qt::CopyAction)
        effect |= DROPEFFECT_COPY;
    if (a & Qt::MoveAction)
        effect |= DROPEFFECT_MOVE;
    if (a & Qt::LinkAction)
        effect |= DROPEFFECT_LINK;
    return effect;
}

// One effect for Qt, the strongest the target settled on.
Qt::DropAction ActionOfEffect(int effect)
{
    if (effect & DROPEFFECT_MOVE)
        return Qt::MoveAction;
    if (effect & DROPEFFECT_COPY)
        return Qt::CopyAction;
    if (effect & DROPEFFECT_LINK)
        return Qt::LinkAction;
    return Qt::IgnoreAction;
}

int KeyStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    int k = 0;
    if (modifiers & Qt::ShiftModifier)
        k |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        k |= MK_CONTROL;
    if (modifiers & Qt::AltModifier)
        k |= MK_ALT;
    if (buttons & Qt::LeftButton)
        k |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        k |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        k |= MK_MBUTTON;
    return k;
}

platform::TShiftState KeysToShift(int keyState)
{
    platform::TShiftState s = 0;
    if (keyState & MK_SHIFT)
        s |= platform::ssShift;
    if (keyState & MK_CONTROL)
        s |= platform::ssCtrl;
    if (keyState & MK_ALT)
        s |= platform::ssAlt;
    return s;
}

// The drag loop of platforms whose window system has none (offscreen, minimal): mouse moves go
// to the widget under the pointer as Qt's drag events; the release drops, Escape cancels.
class TInProcessDrag : public QObject {
public:
    TInProcessDrag(QMimeData* mime, Qt::DropActions allowed) : FMime(mime), FAllowed(allowed) {}

    Qt::DropAction Exec()
    {
        qApp->installEventFilter(this);
        Move(QCursor::pos(), QGuiApplication::keyboardModifiers(), Qt::LeftButton);
        FLoop.exec();
        qApp->removeEventFilter(this);
        return FResult;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseMove: {
            auto* e = static_cast<QMouseEvent*>(event);
            Move(e->globalPosition().toPoint(), e->modifiers(), e->buttons());
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* e = static_cast<QMouseEvent*>(event);
            Move(e->globalPosition().toPoint(), e->modifiers(), e->buttons() | e->button());
            Drop(e->globalPosition().toPoint(), e->modifiers());
            return true;
        }
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                Leave();
                FLoop.quit();
            }
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyRelease:
        case QEvent::Wheel: return true;
        default: return false;
        }
    }

private:
    static QWidget* TargetAt(QPoint global)
    {
        for (QWidget* w = QApplication::widgetAt(global); w; w = w->parentWidget())
            if (w->acceptDrops())
                return w;
        return nullptr;
    }
    void Leave()
    {
        if (FTarget) {
            QDragLeaveEvent leave;
            QApplication::sendEvent(FTarget, &leave);
        }
        FTarget = nullptr;
        FAction = Qt::IgnoreAction;
    }
    void Move(QPoint global, Qt::KeyboardModifiers keys, Qt::MouseButtons buttons)
    {
        QWidget* target = TargetAt(global);
        if (target != FTarget) {
            Leave();
            FTarget = target;
            if (!target)
                return;
            QDragEnterEvent enter(target->mapFromGlobal(global), FAllowed, FMime, buttons, keys);
            QApplication::sendEvent(target, &enter);
            if (!enter.isAccepted()) {
                FTarget = nullptr;
                return;
            }
            FAction = enter.dropAction();
        }
        if (!FTarget)
            return;
        QDragMoveEvent move(FTarget->mapFromGlobal(global), FAllowed, FMime, buttons, keys);
        QApplication::sendEvent(FTarget, &move);
        FAction = move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
    }
    void Drop(QPoint global, Qt::KeyboardModifiers keys)
    {
        if (FTarget && FAction != Qt::IgnoreAction) {
            QDropEvent drop(QPointF(FTarget->mapFromGlobal(global)), FAllowed, FMime, Qt::LeftButton, keys);
            drop.setDropAction(FAction);
            QApplication::sendEvent(FTarget, &drop);
            FResult = drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
        } else
            Leave();
        FTarget = nullptr;
        FLoop.quit();
    }
    QMimeData* FMime;
    Qt::DropActions FAllowed;
    QPointer<QWidget> FTarget;
    Qt::DropAction FAction = Qt::IgnoreAction;
    Qt::DropAction FResult = Qt::IgnoreAction;
    QEventLoop FLoop;
};

bool WindowSystemDrags()
{
    const QString name = QGuiApplication::platformName();
    return name != QLatin1String("offscreen") && name != QLatin1String("minimal");
}

}  // namespace

// ---- drag manager ----

TDataObjectPtr TTVDragManager::DataObject()
{
    if (FDataObject)
        return FDataObject;
    if (TDataObjectPtr own = FOwner->DoCreateDataObject())
        return own;
    return std::make_shared<TTVDataObject>(FOwner, false);
}

HResult TTVDragManager::DragEnter(const TDataObjectPtr& dataObject, int keyState, QPoint pt, int& effect)
{
    FDataObject = dataObject;
    FIsDropTarget = true;
    FDragSource = FOwner->GetTreeFromDataObject(dataObject);
    return FOwner->DragEnter(keyState, pt, effect);
}

HResult TTVDragManager::DragOver(int keyState, QPoint pt, int& effect)
{
    return FOwner->DragOver(FDragSource.data(), keyState, dsDragMove, pt, effect);
}

HResult TTVDragManager::DragLeave()
{
    FOwner->DragLeave();
    FIsDropTarget = false;
    FDragSource.clear();
    FDataObject.reset();
    return S_OK;
}

HResult TTVDragManager::Drop(const TDataObjectPtr& dataObject, int keyState, QPoint pt, int& effect)
{
    const HResult result = FOwner->DragDrop(dataObject, keyState, pt, effect);
    FIsDropTarget = false;
    FDataObject.reset();
    FDragSource.clear();
    return result;
}

HResult TTVDragManager::QueryContinueDrag(bool escapePressed, int keyState)
{
    const bool left = keyState & MK_LBUTTON, right = keyState & MK_RBUTTON;
    if (escapePressed || (left && right))
        return DRAGDROP_S_CANCEL;
    if (left || right)
        return S_OK;
    return DRAGDROP_S_DROP;
}

// ---- tree: objects made on first use ----

TTVDragManager& TBaseNodeTree::DragManager()
{
    if (!FDragManager) {
        FDragManager = DoCreateDragManager();
        if (!FDragManager)
            FDragManager = std::make_shared<TTVDragManager>(this);
    }
    return *FDragManager;
}

TTVDragImage& TBaseNodeTree::DragImage()
{
    if (!FDragImage) {
        FDragImage = std::make_shared<TTVDragImage>(this);
        // Dragged nodes fade toward the image's edges.
        FDragImage->SetFade(true);
        FDragImage->SetTransparency(200);
    }
    return *FDragImage;
}

TDataObjectPtr TBaseNodeTree::DoCreateDataObject()
{
    TDataObjectPtr result;
    if (OnCreateDataObject)
        OnCreateDataObject(this, result);
    return result;
}

std::shared_ptr<TTVDragManager> TBaseNodeTree::DoCreateDragManager()
{
    std::shared_ptr<TTVDragManager> result;
    if (OnCreateDragManager)
        OnCreateDragManager(this, result);
    return result;
}

bool TBaseNodeTree::DoDragOver(QObject* source, platform::TShiftState shift, tree::TDragState state, QPoint pt,
                               TTVDropMode mode, int& effect)
{
    bool accept = false;
    if (OnDragOver)
        OnDragOver(this, source, shift, state, pt, mode, effect, accept);
    return accept;
}

void TBaseNodeTree::DoDragDrop(QObject* source, const TDataObjectPtr& dataObject,
                               const std::vector<TClipFormat>& formats, platform::TShiftState shift, QPoint pt,
                               int& effect, TTVDropMode mode)
{
    if (OnDragDrop)
        OnDragDrop(this, source, dataObject, formats, shift, pt, effect, mode);
}

// ---- source ----

void TBaseNodeTree::BeginDrag(bool immediate, int threshold)
{
    if (FDragType == dtVCL) {
        DoStateChange(TS(tsVCLDragPending));
        TCustomControl::BeginDrag(immediate);
        return;
    }
    if (TreeStates() & TS(tsOLEDragPending, tsOLEDragging))
        return;
    FDragThreshold = threshold < 0 ? QApplication::startDragDistance() : threshold;
    if (immediate)
        DoDragging(FLastClickPos);
    else
        DoStateChange(TS(tsOLEDragPending));
}

bool TBaseNodeTree::Dragging() const
{
    return (TreeStates() & TS(tsOLEDragPending, tsOLEDragging)) || TCustomControl::Dragging();
}

bool TBaseNodeTree::CheckPendingDrag(int x, int y)
{
    if (!HasState(tsOLEDragPending))
        return false;
    if (std::abs(x - FLastClickPos.x()) < FDragThreshold && std::abs(y - FLastClickPos.y()) < FDragThreshold)
        return false;
    DoDragging(FLastClickPos);
    return true;
}

void TBaseNodeTree::DoDragging(QPoint p)
{
    if (HasState(tsEditing))
        DoCancelEdit();
    if (FCurrentHotNode) {
        InvalidateNode(FCurrentHotNode);
        FCurrentHotNode = nullptr;
    }
    if (FFocusedNode && !FFocusedNode->Has(vsSelected)) {
        AddToSelection(FFocusedNode);
        InvalidateNode(FFocusedNode);
    }
    FDragSelection = GetSortedSelection(true);
    DoStateChange(TS(tsOLEDragging), TS(tsClearPending, tsOLEDragPending));
    struct Finish {
        TBaseNodeTree* Tree;
        ~Finish()
        {
            if (Tree->FDragImage)
                Tree->FDragImage->EndDrag();
            if (Tree->FLastDragEffect == DROPEFFECT_MOVE && (Tree->FOptions->AutoOptions() & toAutoDeleteMovedNodes))
                Tree->DeleteSelectedNodes();
            Tree->FDragSelection.clear();
            // The drag loop took the release of the button that started it.
            Tree->SetMouseCapture(false);
            Tree->DoStateChange(0, TS(tsOLEDragging, tsLeftButtonDown, tsMiddleButtonDown, tsRightButtonDown));
        }
    } finish{this};
    TDataObjectPtr dataObject = DragManager().DataObject();
    PrepareDragImage(p, dataObject);
    FLastDropMode = dmOnNode;
    FLastDragEffect = DROPEFFECT_NONE;
    int allowed = 0;
    if (FDragOperations & doCopy)
        allowed |= DROPEFFECT_COPY;
    if (FDragOperations & doMove)
        allowed |= DROPEFFECT_MOVE;
    if (FDragOperations & doLink)
        allowed |= DROPEFFECT_LINK;
    if (!allowed)
        allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    DragAndDrop(allowed, dataObject, FLastDragEffect);
    DragManager().ForceDragLeave();
}

void TBaseNodeTree::DragAndDrop(int allowedEffects, const TDataObjectPtr& dataObject, int& dragEffect)
{
    const QPointer<TBaseNodeTree> self(this);
    if (!WindowSystemDrags()) {
        TTreeMimeData mime(dataObject);
        TInProcessDrag drag(&mime, ActionsOfEffect(allowedEffects));
        const Qt::DropAction action = drag.Exec();
        if (self)
            dragEffect = EffectOfActions(action);
        return;
    }
    // QDrag deletes itself once exec returns; the drag owns the MIME data.
    auto* drag = new QDrag(this);
    drag->setMimeData(new TTreeMimeData(dataObject));
    if (FDragImage && (FDragImage->States() & disSystemSupport) && !FDragImage->Image().isNull()) {
        drag->setPixmap(QPixmap::fromImage(FDragImage->Image()));
        // The image is centred on the hot spot unless it was cut at the content's top or left.
        drag->setHotSpot(FDragImage->HotSpot() - FDragImage->ImagePosition());
    }
    const Qt::DropAction action = drag->exec(ActionsOfEffect(allowedEffects), ActionOfEffect(allowedEffects));
    if (self)
        dragEffect = EffectOfActions(action);
}

void TBaseNodeTree::PrepareDragImage(QPoint hotSpot, const TDataObjectPtr& dataObject)
{
    if (FDragImageKind == diNoImage)
        return;
    // Content coordinates of the hot spot; the image is centred on it, cut at the content origin.
    const QPoint abs(hotSpot.x() - EffectiveOffsetX(), hotSpot.y() - FOffsetY);
    QRect r(abs.x() - FDragWidth / 2, abs.y() - FDragHeight / 2, FDragWidth, FDragHeight);
    if (r.left() < 0)
        r.setLeft(0);
    if (r.top() < 0)
        r.setTop(0);
    if (r.isEmpty())
        return;
    QImage image(r.size(), QImage::Format_RGB32);
    const platform::TColor back = FColors.BackGroundColor();
    image.fill(platform::ToQColor(back));
    {
        platform::TCanvas canvas;
        QPainter painter(&image);
        canvas.Attach(&painter);
        TTVInternalPaintOptions options = poDrawSelection | poSelectedOnly;
        if (FDragImageKind == diMainColumnOnly)
            options |= poMainOnly;
        PaintTree(canvas, r, QPoint(0, 0), options);
        canvas.Detach();
    }
    const QPoint topLeft = viewport()->mapToGlobal(QPoint(r.left() + EffectiveOffsetX(), r.top() + FOffsetY));
    DragImage().SetColorKey(back);
    DragImage().PrepareDrag(image, topLeft, viewport()->mapToGlobal(hotSpot), dataObject);
}

// ---- target ----

bool TBaseNodeTree::HandleDragEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto* e = static_cast<QDragEnterEvent*>(event);
        if (!(FOptions->MiscOptions() & toAcceptOLEDrop)) {
            e->ignore();
            return true;
        }
        int effect = EffectOfActions(e->possibleActions());
        DragManager().DragEnter(DataObjectFromMime(e->mimeData()), KeyStateOf(e->modifiers(), e->buttons()),
                                e->position().toPoint(), effect);
        // Qt asks again on every move; the enter must be taken for the moves to come.
        e->setDropAction(ActionOfEffect(effect & ~DROPEFFECT_SCROLL));
        e->accept();
        return true;
    }
    case QEvent::DragMove: {
        auto* e = static_cast<QDragMoveEvent*>(event);
        if (!DragManager().IsDropTarget()) {
            e->ignore();
            return true;
        }
        int effect = EffectOfActions(e->possibleActions());
        DragManager().DragOver(KeyStateOf(e->modifiers(), e->buttons()), e->position().toPoint(), effect);
        const Qt::DropAction action = ActionOfEffect(effect & ~DROPEFFECT_SCROLL);
        e->setDropAction(action);
        if (action == Qt::IgnoreAction)
            e->ignore();
        else
            e->accept();
        return true;
    }
    case QEvent::DragLeave:
        if (DragManager().IsDropTarget())
            DragManager().DragLeave();
        event->accept();
        return true;
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        if (!DragManager().IsDropTarget()) {
            e->ignore();
            return true;
        }
        int effect = EffectOfActions(e->possibleActions());
        // The MIME data lives through this call only; the view on it is dropped with it.
        const HResult r = DragManager().Drop(DataObjectFromMime(e->mimeData()), KeyStateOf(e->modifiers(), e->buttons()),
                                             e->position().toPoint(), effect);
        if (r == S_OK) {
            e->setDropAction(ActionOfEffect(effect & ~DROPEFFECT_SCROLL));
            e->accept();
        } else {
            e->setDropAction(Qt::IgnoreAction);
            e->ignore();
        }
        return true;
    }
    default: return false;
    }
}

HResult TBaseNodeTree::DragEnter(int keyState, QPoint pt, int& effect)
{
    try {
        FDragScrollStart = 0;
        const platform::TShiftState shift = KeysToShift(keyState);
        QObject* source = DragManager().DragSource();
        effect = SuggestDropEffect(source, shift, pt, effect);
        if (DoDragOver(source, shift, dsDragEnter, pt, FLastDropMode, effect)) {
            THitInfo hitInfo;
            GetHitTestInfoAt(pt.x(), pt.y(), true, hitInfo);
            if (hitInfo.HitNode) {
                FDropTargetNode = hitInfo.HitNode;
                const QRect r = GetDisplayRect(hitInfo.HitNode, FHeader.GetMainColumn(), false);
                const TTVMiscOptions misc = FOptions->MiscOptions();
                if (Has(hitInfo.HitPositions, hiOnItemLabel) ||
                    (Has(hitInfo.HitPositions, hiOnItem) &&
                     ((misc & toFullRowDrag) || (FOptions->SelectionOptions() & toFullRowSelect))))
                    FLastDropMode = dmOnNode;
                else
                    FLastDropMode = pt.y() < (r.top() + r.bottom() + 1) / 2 ? dmAbove : dmBelow;
            } else
                FLastDropMode = dmNowhere;
        } else
            effect = DROPEFFECT_NONE;
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HResult TBaseNodeTree::DragOver(QObject* source, int keyState, tree::TDragState dragState, QPoint pt, int& effect)
{
    try {
        // Auto-scroll near the edges.
        bool windowScrolled = false;
        FScrollDirections = DetermineScrollDirections(pt.x(), pt.y());
        if (FScrollDirections) {
            int dx = 0, dy = 0;
            const int stepY = std::min<int>(FScrollBarOptions.VerticalIncrement, ClientHeight());
            const int stepX = FScrollBarOptions.HorizontalIncrement;
            // A direction that cannot scroll any further is dropped.
            if ((FScrollDirections & sdUp) && FOffsetY < 0)
                dy = stepY;
            if ((FScrollDirections & sdDown) && int64_t(ClientHeight()) - FOffsetY < int64_t(RangeY()))
                dy = -stepY;
            if ((FScrollDirections & sdLeft) && EffectiveOffsetX() != 0)
                dx = stepX;
            if ((FScrollDirections & sdRight) && int64_t(ClientWidth()) + EffectiveOffsetX() < int64_t(RangeX()))
                dx = -stepX;
            if (layoutDirection() == Qt::RightToLeft)
                dx = -dx;
            if (dx || dy)
                windowScrolled = DoSetOffsetXY(QPoint(FOffsetX + dx, FOffsetY + dy), DefaultScrollUpdateFlags);
        }
        const platform::TShiftState shift = KeysToShift(keyState);
        THitInfo hitInfo;
        GetHitTestInfoAt(pt.x(), pt.y(), true, hitInfo);
        QRect nodeRect = hitInfo.HitNode ? GetDisplayRect(hitInfo.HitNode, NoColumn, false) : QRect();
        const TTVDropMode newMode = DetermineDropMode(pt, hitInfo, nodeRect);
        if (hitInfo.HitNode != FDropTargetNode || newMode != FLastDropMode) {
            FLastDropMode = newMode;
            if (hitInfo.HitNode != FDropTargetNode) {
                StopTimer(TTreeTimer::DragExpand);
                PTreeNode oldTarget = FDropTargetNode;
                FDropTargetNode = hitInfo.HitNode;
                if (FFocusedColumn <= NoColumn)
                    FFocusedColumn = FHeader.GetMainColumn();
                if (oldTarget)
                    InvalidateNode(oldTarget);
                if (FDropTargetNode && (FOptions->AutoOptions() & toAutoDropExpand) &&
                    FDropTargetNode->Has(vsHasChildren))
                    StartTimer(TTreeTimer::DragExpand, int(FAutoExpandDelay));
            }
            if (FDropTargetNode)
                InvalidateNode(FDropTargetNode);
        }
        effect = SuggestDropEffect(source, shift, pt, effect);
        if (!DoDragOver(source, shift, dragState, pt, FLastDropMode, effect))
            effect = DROPEFFECT_NONE;
        if (windowScrolled)
            effect |= DROPEFFECT_SCROLL;
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

TTVDropMode TBaseNodeTree::DetermineDropMode(QPoint p, THitInfo& hitInfo, QRect& nodeRect)
{
    const bool onItem = Has(hitInfo.HitPositions, hiOnItem) &&
                        ((FOptions->MiscOptions() & toFullRowDrag) || (FOptions->SelectionOptions() & toFullRowSelect));
    const bool notOnContent = !Has(hitInfo.HitPositions, hiOnItemLabel | hiOnNormalIcon | hiOnStateIcon);
    if ((FOptions->MiscOptions() & toReportMode) && !onItem &&
        (notOnContent || hitInfo.HitColumn != FHeader.GetMainColumn()))
        hitInfo.HitNode = nullptr;
    if (!hitInfo.HitNode)
        return dmNowhere;
    if (notOnContent && (FOptions->PaintOptions() & toShowDropmark))
        return p.y() < (nodeRect.top() + nodeRect.bottom() + 1) / 2 ? dmAbove : dmBelow;
    return dmOnNode;
}

void TBaseNodeTree::DragLeave()
{
    StopTimer(TTreeTimer::DragExpand);
    if (FDropTargetNode) {
        InvalidateNode(FDropTargetNode);
        FDropTargetNode = nullptr;
    }
    int effect = 0;
    DoDragOver(nullptr, 0, dsDragLeave, QPoint(0, 0), FLastDropMode, effect);
}

HResult TBaseNodeTree::DragDrop(const TDataObjectPtr& dataObject, int keyState, QPoint pt, int& effect)
{
    StopTimer(TTreeTimer::DragExpand);
    StopTimer(TTreeTimer::Scroll);
    DoStateChange(0, TS(tsScrolling, tsScrollPending));
    struct ClearTarget {
        TBaseNodeTree* Tree;
        ~ClearTarget()
        {
            if (Tree->FDropTargetNode)
                Tree->InvalidateNode(Tree->FDropTargetNode);
            Tree->FDropTargetNode = nullptr;
        }
    } clear{this};
    QObject* source = DragManager().DragSource();
    HResult result = DragOver(source, keyState, dsDragMove, pt, effect);
    if (result != S_OK || (effect & ~DROPEFFECT_SCROLL) == DROPEFFECT_NONE)
        return E_FAIL;
    try {
        platform::TShiftState shift = KeysToShift(keyState);
        if (keyState & MK_RBUTTON)
            shift |= platform::ssRight;
        else if (keyState & MK_MBUTTON)
            shift |= platform::ssMiddle;
        else
            shift |= platform::ssLeft;
        std::vector<TClipFormat> formats;
        std::unique_ptr<TEnumFormatEtc> e;
        if (!dataObject || dataObject->EnumFormatEtc(DATADIR_GET, e) != S_OK || !e)
            return E_UNEXPECTED;
        e->Reset();
        TFormatEtc f;
        while (e->Next(1, &f, nullptr) == S_OK)
            formats.push_back(f.cfFormat);
        effect &= ~DROPEFFECT_SCROLL;
        DoDragDrop(source, dataObject, formats, shift, pt, effect, FLastDropMode);
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

int TBaseNodeTree::SuggestDropEffect(QObject* source, platform::TShiftState shift, QPoint, int allowedEffects)
{
    int result = allowedEffects;
    if (source == this) {
        if (allowedEffects & DROPEFFECT_MOVE)
            result = DROPEFFECT_MOVE;
    } else if (allowedEffects & DROPEFFECT_COPY)
        result = DROPEFFECT_COPY;
    const bool ctrl = shift & platform::ssCtrl, shiftKey = shift & platform::ssShift, alt = shift & platform::ssAlt;
    const auto pick = [&](int wanted) { return (allowedEffects & wanted) ? wanted : result; };
    if (ctrl && shiftKey)
        return pick(DROPEFFECT_LINK);
    if (ctrl)
        return pick(DROPEFFECT_COPY);
    if (shiftKey)
        return pick(DROPEFFECT_MOVE);
    if (alt)
        return pick(DROPEFFECT_LINK);
    return result;
}

// ---- plain drags ----

void TBaseNodeTree::DragMessage(TDragMessageRec& m)
{
    if (DragKind() == platform::TDragKind::dkDock) {
        TCustomControl::DragMessage(m);
        return;
    }
    QObject* source = m.Source;
    switch (m.Message) {
    case platform::TDragMessage::dmFindTarget: {
        // A control of ours inside the tree takes the drag where it lies; else the tree does.
        m.Target = this;
        for (QWidget* w = childAt(viewport()->mapTo(this, m.Pos)); w && w != this; w = w->parentWidget())
            if (auto* control = qobject_cast<platform::TCustomControl*>(w)) {
                m.Target = control;
                break;
            }
        // The drag of this tree has begun.
        if (HasState(tsVCLDragPending))
            DoStateChange(TS(tsVCLDragging), TS(tsClearPending, tsEditPending, tsVCLDragPending));
        return;
    }
    case platform::TDragMessage::dmDragDrop: {
        if (FDropTargetNode)
            InvalidateNode(FDropTargetNode);
        FDropTargetNode = FLastVCLDragTarget;
        struct ClearTarget {
            TBaseNodeTree* Tree;
            ~ClearTarget()
            {
                if (Tree->FDropTargetNode)
                    Tree->InvalidateNode(Tree->FDropTargetNode);
                Tree->FDropTargetNode = nullptr;
            }
        } clear{this};
        const int keyState = KeyStateOf(QGuiApplication::queryKeyboardModifiers(), QGuiApplication::mouseButtons());
        platform::TShiftState shift = KeysToShift(keyState);
        shift |= (keyState & MK_RBUTTON) ? platform::ssRight : (keyState & MK_MBUTTON) ? platform::ssMiddle : platform::ssLeft;
        int effect = FVCLDragEffect;
        DoDragDrop(source, nullptr, {}, shift, m.Pos, effect, FLastDropMode);
        return;
    }
    case platform::TDragMessage::dmDragEnter: DoStateChange(TS(tsVCLDragging)); break;
    case platform::TDragMessage::dmDragLeave: DoStateChange(TS(tsVCLDragFinished), TS(tsVCLDragging)); break;
    case platform::TDragMessage::dmDragMove: DoAutoScroll(m.Pos.x(), m.Pos.y()); break;
    }
    const tree::TDragState state = m.Message == platform::TDragMessage::dmDragEnter   ? dsDragEnter
                                   : m.Message == platform::TDragMessage::dmDragLeave ? dsDragLeave
                                                                                      : dsDragMove;
    int effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    DragOver(source, KeyStateOf(QGuiApplication::queryKeyboardModifiers(), QGuiApplication::mouseButtons()), state,
             m.Pos, effect);
    FLastVCLDragTarget = FDropTargetNode;
    FVCLDragEffect = effect & ~DROPEFFECT_SCROLL;
    if (m.Message == platform::TDragMessage::dmDragLeave) {
        StopTimer(TTreeTimer::DragExpand);
        if (FDropTargetNode)
            InvalidateNode(FDropTargetNode);
        FDropTargetNode = nullptr;
    }
    // Scrolling alone is no reason to take the drop.
    m.Accept = FVCLDragEffect != DROPEFFECT_NONE;
}

void TBaseNodeTree::DoEndDrag(platform::TCustomControl* target, int x, int y, bool started)
{
    TCustomControl::DoEndDrag(target, x, y, started);
    DragFinished();
}

void TBaseNodeTree::DragFinished()
{
    if (!(TreeStates() & TS(tsOLEDragging, tsUserDragObject, tsVCLDragging, tsVCLDragPending, tsVCLDragFinished)))
        return;
    // The platform hands the release of the button to MouseUp right after this (after a cancel by
    // key, when the button is let go), so the press completes there; no release is made up here.
    DoStateChange(0, TS(tsUserDragObject, tsVCLDragging, tsVCLDragPending, tsVCLDragFinished));
}

void TBaseNodeTree::DoDragExpand()
{
    StopTimer(TTreeTimer::DragExpand);
    if (FDropTargetNode && FDropTargetNode->Has(vsHasChildren) && !FDropTargetNode->Has(vsExpanded)) {
        ToggleNode(FDropTargetNode);
        viewport()->update();
    }
}

}  // namespace tree
