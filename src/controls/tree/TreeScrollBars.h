#pragma once
#include "controls/tree/NodeTrees.h"

#include <QPointer>
#include <QWidget>

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
    TVclStyleScrollBarWindow* VertScrollBarWindow() const { return FVertScrollBarWindow; }
    TVclStyleScrollBarWindow* HorzScrollBarWindow() const { return FHorzScrollBarWindow; }
    QRect VertScrollBarRect() const { return FVertScrollBarRect; }
    QRect HorzScrollBarRect() const { return FHorzScrollBarRect; }
    QRect VertTrackRect() const { return FVertScrollBarSliderTrackRect; }
    TThemedScrollBar VertSliderState() const { return FVertScrollBarSliderState; }
    TThemedScrollBar HorzSliderState() const { return FHorzScrollBarSliderState; }
    TThemedScrollBar VertUpState() const { return FVertScrollBarUpButtonState; }
    TThemedScrollBar VertDownState() const { return FVertScrollBarDownButtonState; }
    TThemedScrollBar HorzLeftState() const { return FHorzScrollBarUpButtonState; }
    TThemedScrollBar HorzRightState() const { return FHorzScrollBarDownButtonState; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Bar;
    bool BarEvent(bool vertical, QEvent* event);
    void MouseLeave();
    void PaintScrollBar(QPainter& painter, bool vertical);
    QScrollBar* ScrollBar(bool vertical) const;

    // The tree while it is still one: during its destruction this answers nil.
    TBaseNodeTree* Tree() const { return qobject_cast<TBaseNodeTree*>(FTreeObject.data()); }
    bool Alive() const { return Tree() && FVertScrollBarWindow && FHorzScrollBarWindow; }
    QPointer<QObject> FTreeObject;
    QRect FHorzScrollBarDownButtonRect;
    TThemedScrollBar FHorzScrollBarDownButtonState = tsArrowBtnRightNormal;
    QRect FHorzScrollBarRect;
    TThemedScrollBar FHorzScrollBarSliderState = tsThumbBtnHorzNormal;
    QRect FHorzScrollBarSliderTrackRect;
    QRect FHorzScrollBarUpButtonRect;
    TThemedScrollBar FHorzScrollBarUpButtonState = tsArrowBtnLeftNormal;
    QPointer<TVclStyleScrollBarWindow> FHorzScrollBarWindow;
    bool FLeftMouseButtonDown = false;
    int FPrevScrollPos = 0;
    float FScrollPos = 0;
    QRect FVertScrollBarDownButtonRect;
    TThemedScrollBar FVertScrollBarDownButtonState = tsArrowBtnDownNormal;
    QRect FVertScrollBarRect;
    TThemedScrollBar FVertScrollBarSliderState = tsThumbBtnVertNormal;
    QRect FVertScrollBarSliderTrackRect;
    QRect FVertScrollBarUpButtonRect;
    TThemedScrollBar FVertScrollBarUpButtonState = tsArrowBtnUpNormal;
    QPointer<TVclStyleScrollBarWindow> FVertScrollBarWindow;
};

}  // namespace tree
