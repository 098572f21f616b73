#pragma once
#include <QColor>
#include <QImage>
#include <QPoint>
#include <initializer_list>

namespace platform {

// The 32 x 32 mark of wheel panning: a white disc with a centre dot and an arrow head for each
// direction (dx, dy) the content can move in, over the background colour. Drawn without
// antialiasing, so that the background colour marks exactly the pixels outside the mark.
QImage PanningGlyph(std::initializer_list<QPoint> arrows, QColor background);

}  // namespace platform
