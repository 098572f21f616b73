#include "controls/tree/TreeScrollBars.h"
#include "platform/OwnedObject.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <cmath>

namespace tree {

using platform::sbHorizontal;
using platform::sbVertical;

namespace {

// Each part's states follow one another: normal, hot, pressed.
TThemedScrollBar Normal(TThemedScrollBar s)
{
    switch (s) {
    case tsArrowBtnUpHot: case tsArrowBtnUpPressed: return tsArrowBtnUpNormal;
    case tsArrowBtnDownHot: case tsArrowBtnDownPressed: return tsArrowBtnDownNormal;
    case tsArrowBtnLeftHot: case tsArrowBtnLeftPressed: return tsArrowBtnLeftNormal;
    case tsArrowBtnRightHot: case tsArrowBtnRightPressed: return tsArrowBtnRightNormal;
    case tsThumbBtnHorzHot: case tsThumbBtnHorzPressed: return tsThumbBtnHorzNormal;
    case tsThumbBtnVertHot: case tsThumbBtnVertPressed: return tsThumbBtnVertNormal;
    default: return s;
    }
}
TThemedScrollBar Hot(TThemedScrollBar s) { return TThemedScrollBar(Normal(s) + 1); }
TThemedScrollBar Pressed(TThemedScrollBar s) { return TThemedScrollBar(Normal(s) + 2); }
bool IsHot(TThemedScrollBar s) { return s == Hot(s); }
bool IsPressed(TThemedScrollBar s) { return s == Pressed(s); }

QStyleOptionSlider SliderOption(const QScrollBar* bar)
{
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_All;
    opt.activeSubControls = QStyle::SC_None;
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    opt.upsideDown = bar->invertedAppearance();
    if (bar->orientation() == Qt::Horizontal)
        opt.state |= QStyle::State_Horizontal;
    return opt;
}

// A part of a bar in the tree's coordinates.
QRect PartRect(const QScrollBar* bar, QStyle::SubControl part, QPoint origin)
{
    const QStyleOptionSlider opt = SliderOption(bar);
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar).translated(origin);
}

// Switches a part between normal and hot as the mouse enters or leaves it; true when it changed.
bool Track(TThemedScrollBar& state, const QRect& r, QPoint p)
{
    const TThemedScrollBar next = r.contains(p) ? (IsPressed(state) ? state : Hot(state))
                                                : (IsHot(state) ? Normal(state) : state);
    const bool changed = next != state;
    state = next;
    return changed;
}

}  // namespace

// ---- overlay ----

TVclStyleScrollBarWindow::TVclStyleScrollBarWindow(QWidget* parent, TVclStyleScrollBarsHook* owner, bool vertical)
    : QWidget(parent), FScrollBarWindowOwner(owner), FScrollBarVertical(vertical)
{
    // Input goes through to the bar underneath.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void TVclStyleScrollBarWindow::paintEvent(QPaintEvent*)
{
    if (!FScrollBarWindowOwner)
        return;
    QPainter painter(this);
    const QRect bar = FScrollBarVertical ? FScrollBarWindowOwner->VertScrollBarRect()
                                         : FScrollBarWindowOwner->HorzScrollBarRect();
    painter.translate(-bar.topLeft());
    if (FScrollBarVertical)
        FScrollBarWindowOwner->PaintVertScrollBar(painter);
    else
        FScrollBarWindowOwner->PaintHorzScrollBar(painter);
}

// ---- hook ----

TVclStyleScrollBarsHook::TVclStyleScrollBarsHook(TBaseNodeTree* tree) : QObject(tree), FTreeObject(tree)
{
    QWidget* parent = tree->parentWidget() ? tree->parentWidget() : tree;
    FVert.Window = new TVclStyleScrollBarWindow(parent, this, true);
    FHorz.Window = new TVclStyleScrollBarWindow(parent, this, false);
    tree->installEventFilter(this);
    for (bool vertical : {true, false}) {
        QScrollBar* bar = ScrollBar(vertical);
        bar->installEventFilter(this);
        bar->setMouseTracking(true);
        // The tree changed its offsets or its bars: the picture follows.
        auto refresh = [this] {
            ComputeScrollBarRects();
            RepaintScrollBarWindows();
        };
        connect(bar, &QAbstractSlider::valueChanged, this, refresh);
        connect(bar, &QAbstractSlider::rangeChanged, this, refresh);
    }
    ComputeScrollBarRects();
    PlaceScrollBarWindows();
}

TVclStyleScrollBarsHook::~TVclStyleScrollBarsHook()
{
    // The windows belong to the tree's parent, which may be going already.
    for (QPointer<TVclStyleScrollBarWindow>* w : {&FVert.Window, &FHorz.Window}) {
        if (*w) {
            (*w)->Unlink();
            platform::Destroy_Now(*w);
        }
    }
}

QScrollBar* TVclStyleScrollBarsHook::ScrollBar(bool vertical) const
{
    return vertical ? Tree()->verticalScrollBar() : Tree()->horizontalScrollBar();
}

void TVclStyleScrollBarsHook::ComputeScrollBarRects()
{
    if (!Alive())
        return;
    for (bool vertical : {true, false}) {
        QScrollBar* bar = ScrollBar(vertical);
        TVclStyleScrollBarWindow* window = Parts(vertical).Window;
        window->setEnabled(bar->isEnabled() && bar->maximum() > bar->minimum());
        if (!bar->isVisibleTo(Tree())) {
            window->setProperty("barShown", false);
            continue;
        }
        window->setProperty("barShown", true);
        const QPoint origin = bar->mapTo(Tree(), QPoint(0, 0));
        const QRect whole(origin, bar->size());
        const QRect sub = PartRect(bar, QStyle::SC_ScrollBarSubLine, origin);
        const QRect add = PartRect(bar, QStyle::SC_ScrollBarAddLine, origin);
        const QRect track = PartRect(bar, QStyle::SC_ScrollBarGroove, origin);
        TBarParts& parts = Parts(vertical);
        parts.Rect = whole;
        parts.UpButtonRect = sub;
        parts.DownButtonRect = add;
        parts.SliderTrackRect = track;
    }
}

QRect TVclStyleScrollBarsHook::ThumbRect(bool vertical) const
{
    const TVclStyleScrollBarWindow* window = Parts(vertical).Window;
    if (!Alive() || !window->property("barShown").toBool() || !window->isEnabled())
        return QRect();
    QScrollBar* bar = ScrollBar(vertical);
    return PartRect(bar, QStyle::SC_ScrollBarSlider, bar->mapTo(Tree(), QPoint(0, 0)));
}

QRect TVclStyleScrollBarsHook::GetVertThumbRect() const { return ThumbRect(true); }

QRect TVclStyleScrollBarsHook::GetHorzThumbRect() const { return ThumbRect(false); }

bool TVclStyleScrollBarsHook::IsInTreeHeader(QPoint p) const { return Tree() && Tree()->Header().InHeader(p); }

void TVclStyleScrollBarsHook::PlaceScrollBarWindows()
{
    if (!Alive())
        return;
    QWidget* parent = FVert.Window->parentWidget();
    for (bool vertical : {true, false}) {
        TVclStyleScrollBarWindow* window = Parts(vertical).Window;
        if (!window->property("barShown").toBool() || !Tree()->isVisibleTo(parent == Tree() ? Tree() : parent)) {
            window->hide();
            continue;
        }
        const QRect r = Parts(vertical).Rect;
        window->setGeometry(QRect(Tree()->mapTo(parent, r.topLeft()), r.size()));
        window->show();
        window->raise();
    }
}

void TVclStyleScrollBarsHook::RepaintScrollBarWindows()
{
    if (FVert.Window && FHorz.Window) {
        FVert.Window->update();
        FHorz.Window->update();
    }
}

void TVclStyleScrollBarsHook::PaintVertScrollBar(QPainter& painter) { PaintScrollBar(painter, true); }

void TVclStyleScrollBarsHook::PaintHorzScrollBar(QPainter& painter) { PaintScrollBar(painter, false); }

void TVclStyleScrollBarsHook::PaintScrollBar(QPainter& painter, bool vertical)
{
    TVclStyleScrollBarWindow* window = Parts(vertical).Window;
    if (!Alive() || !window->property("barShown").toBool())
        return;
    QScrollBar* bar = ScrollBar(vertical);
    const QRect barRect = Parts(vertical).Rect;
    QStyleOptionSlider opt = SliderOption(bar);
    // The style draws a bar at its own origin.
    opt.rect = QRect(QPoint(0, 0), barRect.size());
    if (!window->isEnabled())
        opt.state &= ~QStyle::State_Enabled;
    const TThemedScrollBar thumb = Parts(vertical).SliderState;
    const TThemedScrollBar sub = Parts(vertical).UpButtonState;
    const TThemedScrollBar add = Parts(vertical).DownButtonState;
    for (auto [state, part] : {std::pair{thumb, QStyle::SC_ScrollBarSlider}, {sub, QStyle::SC_ScrollBarSubLine},
                               {add, QStyle::SC_ScrollBarAddLine}}) {
        if (IsHot(state) || IsPressed(state)) {
            opt.activeSubControls = part;
            opt.state |= IsPressed(state) ? QStyle::State_Sunken : QStyle::State_MouseOver;
        }
    }
    painter.save();
    painter.translate(barRect.topLeft());
    bar->style()->drawComplexControl(QStyle::CC_ScrollBar, &opt, &painter, bar);
    painter.restore();
}

void TVclStyleScrollBarsHook::MouseLeave()
{
    for (TThemedScrollBar* s : {&FVert.SliderState, &FVert.UpButtonState, &FVert.DownButtonState,
                                &FHorz.SliderState, &FHorz.UpButtonState, &FHorz.DownButtonState})
        if (IsHot(*s))
            *s = Normal(*s);
    RepaintScrollBarWindows();
}

bool TVclStyleScrollBarsHook::eventFilter(QObject* watched, QEvent* event)
{
    if (!Alive())
        return false;
    if (watched == FTreeObject) {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::Move:
        case QEvent::Show:
        case QEvent::LayoutRequest:
            ComputeScrollBarRects();
            PlaceScrollBarWindows();
            RepaintScrollBarWindows();
            break;
        case QEvent::Hide:
            FVert.Window->hide();
            FHorz.Window->hide();
            break;
        default: break;
        }
        return false;
    }
    if (watched == ScrollBar(true))
        return BarEvent(true, event);
    if (watched == ScrollBar(false))
        return BarEvent(false, event);
    return false;
}

bool TVclStyleScrollBarsHook::BarEvent(bool vertical, QEvent* event)
{
    QScrollBar* bar = ScrollBar(vertical);
    TThemedScrollBar& thumb = Parts(vertical).SliderState;
    TThemedScrollBar& sub = Parts(vertical).UpButtonState;
    TThemedScrollBar& add = Parts(vertical).DownButtonState;
    const QRect& subRect = Parts(vertical).UpButtonRect;
    const QRect& addRect = Parts(vertical).DownButtonRect;
    TVclStyleScrollBarWindow* window = Parts(vertical).Window;
    const platform::TScrollBarKind kind = vertical ? sbVertical : sbHorizontal;

    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::EnabledChange:
        ComputeScrollBarRects();
        PlaceScrollBarWindows();
        RepaintScrollBarWindows();
        return false;
    case QEvent::Leave:
        MouseLeave();
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        const QPoint p = bar->mapTo(Tree(), mouse->position().toPoint());
        if (IsInTreeHeader(p))
            return false;
        const QRect thumbRect = ThumbRect(vertical);
        if (thumbRect.contains(p)) {
            FLeftMouseButtonDown = true;
            FScrollPos = float(Tree()->GetScrollInfo(kind).Pos);
            const QPoint global = mouse->globalPosition().toPoint();
            FPrevScrollPos = vertical ? global.y() : global.x();
            thumb = Pressed(thumb);
            RepaintScrollBarWindows();
            return true;
        }
        if (window->isEnabled()) {
            if (addRect.contains(p))
                add = Pressed(add);
            if (subRect.contains(p))
                sub = Pressed(sub);
        }
        FLeftMouseButtonDown = true;
        RepaintScrollBarWindows();
        return false;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint global = mouse->globalPosition().toPoint();
        if (IsPressed(thumb)) {
            const platform::TScrollInfo info = Tree()->GetScrollInfo(kind);
            if (std::lround(FScrollPos) != info.Pos)
                FScrollPos = float(info.Pos);  // the tree moved meanwhile
            const int now = vertical ? global.y() : global.x();
            const QRect& track = Parts(vertical).SliderTrackRect;
            const int length = std::max(1, vertical ? track.height() : track.width());
            FScrollPos += float(now - FPrevScrollPos) / float(length) * float(info.Max - info.Min);
            FScrollPos = std::clamp(FScrollPos, float(info.Min), float(info.Max));
            if (info.Page != 0 && std::lround(FScrollPos) > info.Max - info.Page + 1)
                FScrollPos = float(info.Max - info.Page + 1);
            FPrevScrollPos = now;
            const int position = Tree()->SetScrollPos(kind, int(std::lround(FScrollPos)));
            QPointer<QObject> tree = FTreeObject;
            QMetaObject::invokeMethod(
                this, [tree, kind, position] {
                    if (auto* t = qobject_cast<TBaseNodeTree*>(tree.data()))
                        t->Scroll(kind, platform::SB_THUMBPOSITION, position);
                },
                Qt::QueuedConnection);
            RepaintScrollBarWindows();
            return true;
        }
        if (mouse->buttons() != Qt::NoButton)
            return false;
        const QPoint p = bar->mapTo(Tree(), mouse->position().toPoint());
        bool changed = false;
        if (window->isEnabled()) {
            changed |= Track(thumb, ThumbRect(vertical), p);
            changed |= Track(add, addRect, p);
            changed |= Track(sub, subRect, p);
        }
        if (changed)
            RepaintScrollBarWindows();
        return false;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        FLeftMouseButtonDown = false;
        if (IsPressed(thumb)) {
            thumb = Normal(thumb);
            QPointer<QObject> tree = FTreeObject;
            QMetaObject::invokeMethod(
                this, [tree, kind] {
                    if (auto* t = qobject_cast<TBaseNodeTree*>(tree.data()))
                        t->Scroll(kind, platform::SB_ENDSCROLL, 0);
                },
                Qt::QueuedConnection);
            RepaintScrollBarWindows();
            return true;
        }
        const QPoint p = bar->mapTo(Tree(), mouse->position().toPoint());
        add = addRect.contains(p) ? Hot(add) : Normal(add);
        sub = subRect.contains(p) ? Hot(sub) : Normal(sub);
        RepaintScrollBarWindows();
        return false;
    }
    case QEvent::UngrabMouse:
        // The press ended elsewhere: pressed arrows let go, a pressed thumb stays until released.
        if (IsPressed(add))
            add = Normal(add);
        if (IsPressed(sub))
            sub = Normal(sub);
        RepaintScrollBarWindows();
        return false;
    default: return false;
    }
}

// ---- style engine ----

TStyleEngine& TStyleEngine::Instance()
{
    // Owned by the application's object tree when there is one, so it goes before Qt does.
    static QPointer<TStyleEngine> engine;
    if (!engine) {
        engine = new TStyleEngine;
        if (qApp)
            engine->setParent(qApp);
    }
    return *engine;
}

void TStyleEngine::RegisterStyleHook(const QByteArray& className, THookFactory factory)
{
    FFactories[className] = std::move(factory);
    UpdateAll();
}

void TStyleEngine::UnRegisterStyleHook(const QByteArray& className)
{
    if (FFactories.erase(className))
        UpdateAll();
}

void TStyleEngine::SetStyle(const QString& name)
{
    if (name == FStyle)
        return;
    // A change of skin makes new hooks: the old ones painted the old style.
    const bool restart = !FStyle.isEmpty() && !name.isEmpty();
    FStyle = name;
    if (restart)
        for (auto& [tree, hook] : FHooks)
            platform::Destroy_Now(hook);
    UpdateAll();
}

void TStyleEngine::ControlCreated(TBaseNodeTree* tree)
{
    std::erase_if(FTrees, [](const QPointer<TBaseNodeTree>& t) { return t.isNull(); });
    FTrees.emplace_back(tree);
    // The tree's class is known, and its window placed, once it is shown.
    tree->installEventFilter(this);
    connect(tree, &QObject::destroyed, this, [this, tree] { FHooks.erase(tree); });
}

QObject* TStyleEngine::HookOf(const TBaseNodeTree* tree) const
{
    const auto it = FHooks.find(tree);
    return it == FHooks.end() ? nullptr : it->second.data();
}

bool TStyleEngine::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Polish || event->type() == QEvent::Show)
        if (auto* tree = qobject_cast<TBaseNodeTree*>(watched))
            Update(tree);
    return false;
}

const TStyleEngine::THookFactory* TStyleEngine::FactoryFor(const TBaseNodeTree* tree) const
{
    for (const QMetaObject* m = tree->metaObject(); m; m = m->superClass())
        if (const auto it = FFactories.find(QByteArray(m->className())); it != FFactories.end())
            return &it->second;
    return nullptr;
}

void TStyleEngine::Update(TBaseNodeTree* tree)
{
    const THookFactory* factory = IsCustomStyleActive() ? FactoryFor(tree) : nullptr;
    // Before it is first shown a tree has no place among its siblings for the overlays yet.
    const bool wanted = factory && tree->testAttribute(Qt::WA_WState_Polished);
    QPointer<QObject>& hook = FHooks[tree];
    if (wanted && !hook)
        hook = (*factory)(tree);
    else if (!wanted && hook)
        platform::Destroy_Now(hook);
    if (!hook)
        FHooks.erase(tree);
}

void TStyleEngine::UpdateAll()
{
    std::erase_if(FTrees, [](const QPointer<TBaseNodeTree>& t) { return t.isNull(); });
    const std::vector<QPointer<TBaseNodeTree>> trees = FTrees;
    for (const QPointer<TBaseNodeTree>& tree : trees)
        if (tree)
            Update(tree);
}

namespace {
int StyleHooksNesting = 0;
const QByteArray StyledTreeClasses[] = {"tree::TNodeStringTree", "tree::TNodeDrawTree"};
}  // namespace

void InitializeStyleHooks()
{
    if (StyleHooksNesting++ > 0)
        return;
    for (const QByteArray& name : StyledTreeClasses)
        TStyleEngine::Instance().RegisterStyleHook(
            name, [](TBaseNodeTree* tree) -> QObject* { return new TVclStyleScrollBarsHook(tree); });
}

void FinalizeStyleHooks()
{
    if (StyleHooksNesting == 0 || --StyleHooksNesting > 0)
        return;
    for (const QByteArray& name : StyledTreeClasses)
        TStyleEngine::Instance().UnRegisterStyleHook(name);
}

void StyleHooksControlCreated(TBaseNodeTree* tree)
{
    // The module starts once, with the first tree.
    if (StyleHooksNesting == 0)
        InitializeStyleHooks();
    TStyleEngine::Instance().ControlCreated(tree);
}

}  // namespace tree
