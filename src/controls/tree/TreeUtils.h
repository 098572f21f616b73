#pragma once
#include "platform/TCanvas.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>

class QPainter;

// Drawing helpers shared by the tree's painting, its drag image, its header and its hints.
namespace tree {

enum TBlendMode { bmConstantAlpha, bmPerPixelAlpha, bmMasterAlpha, bmConstantAlphaAndColor };

// Rectangles here keep an exclusive right and bottom edge, as the tree's arithmetic does.
// Left/right and top/bottom swapped where needed so that left <= right and top <= bottom.
QRect NormalizedRect(int left, int top, int right, int bottom);

// Blends the run of R's rows from source (at R) into destination (at target); in
// bmConstantAlphaAndColor mode only destination is used, at R, with the colour given in bias
// (an RGB value). Both images must be 32-bit; anything outside either image is left alone.
// Throws platform::Exception when an image is missing or not 32-bit.
void AlphaBlendRect(const QImage* source, QImage* destination, QRect r, QPoint target, TBlendMode mode,
                    int constantAlpha, int bias);

// Blends a colour over a rectangle of whatever the painter paints on: straight into the pixels
// when that is a 32-bit image under a plain translation, otherwise by the painter's own alpha
// fill. r is in the painter's coordinates and stays within its clip.
void BlendRectWithColor(QPainter& painter, const QRect& r, platform::TColor color, int alpha);

// Limits the canvas's painting to clipRect (the canvas's coordinates), within visibleRegion when
// one is given (device coordinates).
void ClipCanvas(platform::TCanvas& canvas, const QRect& clipRect, const QRegion& visibleRegion = QRegion());
// Makes the canvas point (x, y) the device's origin, whatever origin the canvas had before.
void SetCanvasOrigin(platform::TCanvas& canvas, int x, int y);
// Copies the whole bitmap, stretched, into r.
void StretchDrawBitmap(platform::TCanvas& canvas, const QRect& r, const QImage& bitmap);

// Widens bounds from its top-left corner to the extent of s laid out with format.
void GetStringDrawRect(platform::TCanvas& canvas, const QString& s, QRect& bounds, unsigned format);
// s broken at its spaces into lines no wider than bounds, joined by line feeds; a word wider than
// a line is cut. Right to left, words are placed from the last and lines come from the text's end.
QString WrapString(platform::TCanvas& canvas, const QString& s, const QRect& bounds, bool rtl, unsigned format);

// clNone gives 0xFFFFFFFF, clDefault 0xFF000000, any other colour its RGB value.
uint32_t GetRGBColor(platform::TColor value);

}  // namespace tree
