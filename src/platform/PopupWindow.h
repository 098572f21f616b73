#pragma once
#include <QRect>
#include <QSize>
#include <QWidget>
#include <functional>

namespace platform {

enum TPopupPlacement { ppAuto, ppBelow, ppAbove };

// Where a popup of the size goes for an anchor rectangle (screen coordinates): below it or above
// it, left edges aligned; ppAuto takes below when it fits, else above when that fits, else the
// side with more room. The result lies inside the work area on both axes as far as its size
// allows (a popup larger than the work area keeps its top-left corner inside).
QRect PlacePopup(const QRect& anchor, const QSize& size, const QRect& workArea, TPopupPlacement placement);
// The work area of the screen at a point (the primary screen when none is there).
QRect WorkAreaAt(const QPoint& globalPos);

// A borderless window for drop-downs: it leaves the owner's window active, closes on a click
// outside it or on Escape (both cancel), and is placed on screen by its anchor. The owner owns it.
class TPopupWindow : public QWidget {
    Q_OBJECT
public:
    explicit TPopupWindow(QWidget* owner);

    // Shows the popup at its current size next to the anchor (screen coordinates).
    void Popup(const QRect& anchor, TPopupPlacement placement = ppAuto);
    void ClosePopup(bool cancelled);
    bool Open() const { return isVisible(); }

    // Fired once per close, with whether it was cancelled.
    std::function<void(bool cancelled)> OnClose;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool FCancelled = true;
    bool FShown = false;
};

}  // namespace platform
