#pragma once
#include "controls/tree/TreeDataObject.h"
#include "platform/TCanvas.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <algorithm>
#include <memory>

class QWidget;

// The tree's own translucent drag image: it keeps the screen under itself, blends onto it and
// moves with as little screen traffic as it can.
namespace tree {

class TBaseNodeTree;

// Where the drag image reads and draws the screen; tests put a plain picture in its place.
class TDragImageScreen {
public:
    virtual ~TDragImageScreen() = default;
    // The screen's content in r (screen coordinates); a null image when it cannot be read.
    virtual QImage Capture(const QRect& r) = 0;
    // Copies the part `source` of image to the screen at `at` (screen coordinates).
    virtual void Draw(const QImage& image, const QRect& source, QPoint at) = 0;
};

// The screen as seen through a frameless window that shows the image above everything.
std::unique_ptr<TDragImageScreen> CreateWindowScreen();

enum TTVDragMoveRestriction { dmrNone, dmrHorizontalOnly, dmrVerticalOnly };
enum TTVDragImageState : uint8_t { disHidden = 1, disInDrag = 2, disPrepared = 4, disSystemSupport = 8 };

// The strips a small move restores and samples, as (x, y, width, height) inside the image;
// empty rectangles where the move needs none.
struct TDragRectangles {
    QRect Scroll;  // (left, top, right, bottom) exclusive, as a QRect from the corners
    QRect Draw1, Draw2, Samp1, Samp2;
};
TDragRectangles FillDragRectangles(int width, int height, int deltaX, int deltaY);

class TTVDragImage {
public:
    explicit TTVDragImage(TBaseNodeTree* owner);
    ~TTVDragImage();

    // Takes the image for a drag; with a data object the platform's drag shows it (system support).
    void PrepareDrag(const QImage& dragImage, QPoint imagePosition, QPoint hotSpot, const TDataObjectPtr& dataObject);
    void ShowDragImage();
    void HideDragImage();
    bool DragTo(QPoint p, bool forceRepaint);
    void EndDrag();
    QRect GetDragImageRect() const;
    bool WillMove(QPoint p) const;
    bool Visible() const { return FStates == (disInDrag | disPrepared); }
    // Recaptures the part of the back image under the tree's rectangle r (client coordinates).
    void RecaptureBackground(TBaseNodeTree* tree, const QRect& r, const QRegion& visibleRegion, bool captureNCArea,
                             bool reshowDragImage);

    uint8_t States() const { return FStates; }
    // The image with its alpha channel, as the drag shows it.
    const QImage& Image() const { return FDragImage; }
    QPoint ImagePosition() const { return FImagePosition; }
    // The mouse position (screen) the image last followed; the hot spot when prepared.
    QPoint HotSpot() const { return FLastPosition; }
    int Transparency() const { return FTransparency; }
    void SetTransparency(int value) { FTransparency = std::clamp(value, 0, 255); }
    int PreBlendBias() const { return FPreBlendBias; }
    void SetPreBlendBias(int value) { FPreBlendBias = std::clamp(value, -128, 127); }
    int PostBlendBias() const { return FPostBlendBias; }
    void SetPostBlendBias(int value) { FPostBlendBias = std::clamp(value, -128, 127); }
    bool Fade() const { return FFade; }
    void SetFade(bool value) { FFade = value; }
    TTVDragMoveRestriction MoveRestriction() const { return FRestriction; }
    void SetMoveRestriction(TTVDragMoveRestriction value) { FRestriction = value; }
    platform::TColor ColorKey() const { return FColorKey; }
    void SetColorKey(platform::TColor value) { FColorKey = value; }
    void SetScreen(std::unique_ptr<TDragImageScreen> screen) { FScreen = std::move(screen); }

private:
    void MakeAlphaChannel(const QImage& source, QImage& target) const;
    void InternalShowDragImage();
    void CaptureInto(const QRect& part, QPoint screenAt);
    TDragImageScreen& Screen();
    TBaseNodeTree* FOwner;
    QImage FBackImage, FAlphaImage, FDragImage;
    QPoint FImagePosition;
    QPoint FLastPosition;
    int FTransparency = 128;
    int FPreBlendBias = 0;
    int FPostBlendBias = 0;
    bool FFade = false;
    TTVDragMoveRestriction FRestriction = dmrNone;
    platform::TColor FColorKey = platform::TColor(0x1FFFFFFF);
    uint8_t FStates = 0;
    std::unique_ptr<TDragImageScreen> FScreen;
};

}  // namespace tree
