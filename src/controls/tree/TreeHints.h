#pragma once
#include "controls/tree/NodeTrees.h"
#include "platform/HintWindow.h"

#include <QImage>

// The window the tree shows its hints and tooltips in: it sizes itself for the hint data, keeps
// inside the desktop, fades or slides in on clock timers and can be drawn by the application.
namespace tree {

// False while a tree hint window exists and has not been hidden since; a running hint animation
// stops when it turns true.
bool HintWindowGone();

class TNodeTreeHintWindow : public platform::THintWindow {
    Q_OBJECT
public:
    explicit TNodeTreeHintWindow(QWidget* owner = nullptr);
    ~TNodeTreeHintWindow() override;

    // The window's rectangle for the hint data (top-left at (-1, -1)); empty when no hint is needed.
    QRect CalcHintRect(int maxWidth, const QString& text, const TTVHintData& data);
    QRect CalcHintRect(int maxWidth, const QString& text) override { return CalcHintRect(maxWidth, text, FHintData); }
    // Shows the hint at the rectangle (screen coordinates) when the cursor still lies in the area
    // the tree's hint holds for; fades or slides it in as the tree asks.
    void ActivateHint(const QRect& rect, const QString& text) override;
    const TTVHintData& HintData() const { return FHintData; }
    // The picture the window shows now.
    const QImage& Presented() const { return FPresented; }
    // The finished picture of the hint.
    const QImage& DrawBuffer() const { return FDrawBuffer; }
    int TextHeight() const { return FTextHeight; }
    // Where the mouse was when the tree asked for the hint (tree client coordinates).
    QPoint CursorPos;

protected:
    void Paint(platform::TCanvas& canvas) override;
    void hideEvent(QHideEvent* event) override;
    // Builds the picture at step 0 and shows the step of the running animation.
    void PaintHintBuffer(int step, int stepSize);
    bool HintAnimationStep(int step, int stepSize);

private:
    TTVHintData FHintData;
    QImage FBackground;
    QImage FDrawBuffer;
    QImage FTarget;
    QImage FPresented;
    int FTextHeight = 0;
    THintAnimationType FAnimation = hatNone;
    bool FPainting = false;
};

}  // namespace tree
