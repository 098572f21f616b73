#pragma once
#include "controls/tree/NodeTrees.h"

#include <QByteArray>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>

class QPainter;
class QScrollBar;

// Styled scroll bars for a tree: two overlays lie over the tree's own bars and paint them in the
// application's style with hot and pressed parts, while arrow and track clicks still reach the
// bars underneath. The thumb is dragged by the hook itself, which drives the tree's position.
namespace tree {

enum TThemedScrollBar {
    tsArrowBtnUpNormal, tsArrowBtnUpHot, tsArrowBtnUpPressed, tsArrowBtnUpDisabled,
    tsArrowBtnDownNormal, tsArrowBtnDownHot, tsArrowBtnDownPressed, tsArrowBtnDownDisabled,
    tsArrowBtnLeftNormal, tsArrowBtnLeftHot, tsArrowBtnLeftPressed, tsArrowBtnLeftDisabled,
    tsArrowBtnRightNormal, tsArrowBtnRightHot, tsArrowBtnRightPressed, tsArrowBtnRightDisabled,
    tsThumbBtnHorzNormal, tsThumbBtnHorzHot, tsThumbBtnHorzPressed,
    tsThumbBtnVertNormal, tsThumbBtnVertHot, tsThumbBtnVertPressed,
    tsUpperTrackHorzNormal, tsUpperTrackVertNormal,
};

class TVclStyleScrollBarsHook;

// An overlay over one of the tree's bars: input passes through it to the bar beneath.
class TVclStyleScrollBarWindow : public QWidget {
    Q_OBJECT
public:
    TVclStyleScrollBarWindow(QWidget* parent, TVclStyleScrollBarsHook* owner, bool vertical);
    void Unlink() { FScrollBarWindowOwner = nullptr; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    TVclStyleScrollBarsHook* FScrollBarWindowOwner;
    bool FScrollBarVertical;
};

class TVclStyleScrollBarsHook : public QObject {
    Q_OBJECT
public:
    explicit TVclStyleScrollBarsHook(TBaseNodeTree* tree);
    ~TVclStyleScrollBarsHook() override;

    void ComputeScrollBarRects();
    void PlaceScrollBarWindows();
    void RepaintScrollBarWindows();
    // Paint in tree client coordinates.
    void PaintVertScrollBar(QPainter& painter);
    void PaintHorzScrollBar(QPainter& painter);
    QRect GetVertThumbRect() const;
    QRect GetHorzThumbRect() const;
    bool IsInTreeHeader(QPoint p) const;

    // Read access for the application and for checks.
    TVclStyleScrollBarWindow* VertScrollBarWindow() const { return FVert.Window; }
    TVclStyleScrollBarWindow* HorzScrollBarWindow() const { return FHorz.Window; }
    QRect VertScrollBarRect() const { return FVert.Rect; }
    QRect HorzScrollBarRect() const { return FHorz.Rect; }
    QRect VertTrackRect() const { return FVert.SliderTrackRect; }
    TThemedScrollBar VertSliderState() const { return FVert.SliderState; }
    TThemedScrollBar HorzSliderState() const { return FHorz.SliderState; }
    TThemedScrollBar VertUpState() const { return FVert.UpButtonState; }
    TThemedScrollBar VertDownState() const { return FVert.DownButtonState; }
    TThemedScrollBar HorzLeftState() const { return FHorz.UpButtonState; }
    TThemedScrollBar HorzRightState() const { return FHorz.DownButtonState; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool BarEvent(bool vertical, QEvent* event);
    void MouseLeave();
    void PaintScrollBar(QPainter& painter, bool vertical);
    QScrollBar* ScrollBar(bool vertical) const;

    // The tree while it is still one: during its destruction this answers nil.
    TBaseNodeTree* Tree() const { return qobject_cast<TBaseNodeTree*>(FTreeObject.data()); }
    bool Alive() const { return Tree() && FVert.Window && FHorz.Window; }
    QPointer<QObject> FTreeObject;
    // One bar's parts; the horizontal bar's up and down buttons are its left and right ones.
    struct TBarParts {
        QRect Rect, SliderTrackRect, UpButtonRect, DownButtonRect;
        TThemedScrollBar SliderState, UpButtonState, DownButtonState;
        QPointer<TVclStyleScrollBarWindow> Window;
    };
    TBarParts& Parts(bool vertical) { return vertical ? FVert : FHorz; }
    const TBarParts& Parts(bool vertical) const { return vertical ? FVert : FHorz; }
    QRect ThumbRect(bool vertical) const;
    TBarParts FHorz{{}, {}, {}, {}, tsThumbBtnHorzNormal, tsArrowBtnLeftNormal, tsArrowBtnRightNormal, {}};
    TBarParts FVert{{}, {}, {}, {}, tsThumbBtnVertNormal, tsArrowBtnUpNormal, tsArrowBtnDownNormal, {}};
    bool FLeftMouseButtonDown = false;
    int FPrevScrollPos = 0;
    float FScrollPos = 0;
};

// What the tree needs of the platform's style engine: the application's custom style (a skin
// chosen by name; none means the system look), the hook classes registered per control class,
// and one hook per tree of a registered class (or of a class derived from one) while a custom
// style is active and the tree has been shown. A hook goes when the style goes, when its class is
// unregistered, or with its tree.
class TStyleEngine : public QObject {
    Q_OBJECT
public:
    // Makes the hook of a tree; the hook is a child of the tree.
    using THookFactory = std::function<QObject*(TBaseNodeTree*)>;

    static TStyleEngine& Instance();

    // Class names as Qt's meta-objects give them ("tree::TNodeStringTree").
    void RegisterStyleHook(const QByteArray& className, THookFactory factory);
    void UnRegisterStyleHook(const QByteArray& className);
    bool IsStyleHookRegistered(const QByteArray& className) const { return FFactories.count(className) != 0; }

    // Names the active custom style; an empty name returns to the system look.
    void SetStyle(const QString& name);
    const QString& StyleName() const { return FStyle; }
    bool IsCustomStyleActive() const { return !FStyle.isEmpty(); }

    // A new tree: it gets its hook once shown, when it should have one then.
    void ControlCreated(TBaseNodeTree* tree);
    // The tree's hook; nil when it has none.
    QObject* HookOf(const TBaseNodeTree* tree) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TStyleEngine() = default;
    const THookFactory* FactoryFor(const TBaseNodeTree* tree) const;
    // Gives the tree the hook it should have now, or takes it away.
    void Update(TBaseNodeTree* tree);
    void UpdateAll();
    std::map<QByteArray, THookFactory> FFactories;
    std::map<const TBaseNodeTree*, QPointer<QObject>> FHooks;
    std::vector<QPointer<TBaseNodeTree>> FTrees;
    QString FStyle;
};

// The module's start-up and end for the styled scroll bars: the hook class is registered for the
// string tree and the draw tree once, however often the start-up runs, and unregistered when the
// last start-up is ended.
void InitializeStyleHooks();
void FinalizeStyleHooks();
// What a tree's construction does: the module start-up, and the engine learns of the tree.
void StyleHooksControlCreated(TBaseNodeTree* tree);

}  // namespace tree
