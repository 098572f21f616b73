#pragma once
#include "platform/TCanvas.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <cmath>

class QWidget;

namespace platform {
class TImageList;
}

// Painting and measuring routines shared by the drop-down forms, their header and footer strips,
// buttons and pickers; the grid paints its gradients with DrawGradient too.
namespace dropdowns {

using platform::TCanvas;
using platform::TColor;

// Round half to even, as the bands, channels and watch hands are placed.
inline int RoundEven(double v) { return int(std::nearbyint(v)); }

enum TGradientDirection { gdHorizontal, gdVertical };

// Fills r with `steps` bands from fromColor to toColor; horizontal true changes the colour from
// left to right, false from top to bottom. Each band overlaps the next by one pixel.
void DrawGradient(TCanvas& canvas, TColor fromColor, TColor toColor, int steps, QRect r, bool horizontal);
// percent of color1 and the rest of color2; 100 and 0 answer the colour itself, unconverted.
TColor BlendColor(TColor color1, TColor color2, int percent);
// A negative delta darkens its channel by that many percent; a zero channel becomes max(0, delta).
TColor DarkerColor(TColor color, int deltaR, int deltaG, int deltaB);
// A gradient (or a plain fill when colorTo is clNone) with an optional border.
void DrawGradientRect(TCanvas* canvas, QRect r, TColor color, TColor colorTo, TColor borderColor,
                      int borderWidth, TGradientDirection direction);
// An optional image at the left and a single line of text, cut with an ellipsis; the text is
// centred when there is no image. The letter after "&" is underlined and "&&" shows one "&".
void DrawImageText(TCanvas* canvas, QRect r, const QString& text, const platform::TImageList* images,
                   int imageIndex);
// Copies bitmap's top-left area of r's size to r, its top-left pixel's colour replaced by color.
void DrawTransparentBitmap(TCanvas& canvas, const QImage& bitmap, TColor color, QRect r);
// The single-line extent of the text in the canvas font; (0, 0) for the empty text.
QSize GetTextSize(const TCanvas& canvas, const QString& text);
// The longest head of the text (ending in "..." with ellipsis) narrower than maxWidth; the text
// itself when it fits or when nothing shorter does.
QString FitText(const TCanvas& canvas, const QString& text, int maxWidth, bool ellipsis);
// Draws (draw true) or only measures the mark-up text in r, word wrapped, and answers its extent
// in size; (0, 0) for the empty text.
void DrawHTMLText(TCanvas& canvas, const QString& text, QRect r, const platform::TImageList* images,
                  bool draw, const QString& source, QSize& size);
// The text upper-cased for comparison unless caseSensitive.
QString MatchCaseText(const QString& text, bool caseSensitive);

// Paints parent's child widgets from `first` on (all when null) into the canvas at their places.
class TWinCtrl {
public:
    static void PaintCtrls(TCanvas& canvas, QWidget* parent, QWidget* first);
};

}  // namespace dropdowns
