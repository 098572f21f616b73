#pragma once
#include <QRect>
#include <QTransform>

#include "grid/core/GridTypes.h"

class QPainter;

namespace platform {
class TCanvas;
}

namespace grid {

class TObjStringGrid;

// A right-to-left grid paints its left-to-right layout through a mirroring transform. Text,
// check boxes and pictures would come out back to front that way: around their drawing the
// orientation is switched back and their rectangle mirrored against the client width, so they
// read the right way round at their mirrored place. Outside a mirrored paint it does nothing.
class TReadingOrientation {
public:
    TReadingOrientation(const TObjStringGrid& grid, platform::TCanvas& canvas);
    ~TReadingOrientation();
    TReadingOrientation(const TReadingOrientation&) = delete;
    TReadingOrientation& operator=(const TReadingOrientation&) = delete;

    bool Active() const { return FPainter != nullptr; }
    // A rectangle or a point of the layout in the switched-back drawing; unchanged when inactive.
    TRect Map(const TRect& r) const;
    QRect Map(const QRect& r) const;
    int MapX(int x) const { return Active() ? FWidth - x : x; }

private:
    QPainter* FPainter = nullptr;
    QTransform FSaved;
    int FWidth = 0;
};

// The mirroring of a client area w pixels wide: x to w - x, the same both ways.
QTransform MirrorTransform(int width);

// Right-to-left text flags: left and right alignment change places, centred text stays.
unsigned MirrorTextFlags(unsigned flags);

}  // namespace grid
