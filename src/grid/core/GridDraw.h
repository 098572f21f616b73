#pragma once
#include <QImage>
#include <QRect>
#include <QString>

#include "controls/common/ExtStyleIF.h"
#include "controls/common/GradientButton.h"
#include "grid/core/GridTypes.h"
#include "platform/TCanvas.h"

class QWidget;

// Drawing routines of the grid's cell painter, fixed cells, in-cell graphics and helper controls.
// Each draws only what it is asked, with the colours given, and leaves pen, brush and font as its
// last step set them: callers set what they need before every call.
namespace grid {

enum TCellShape : uint8_t {
    csRectangle, csCircle, csTriangleLeft, csTriangleRight, csTriangleUp, csTriangleDown, csDiamond,
    csLineVert, csLineHorz, csRoundRect, csEllips, csSquare, csRoundSquare, csStar, csArrowUp,
    csArrowDown, csArrowLeft, csArrowRight, csHalfStar
};

// Part states and styles of DrawComboArrowPart, DrawButtonPart and DrawSpinPart.
enum TPartState : uint8_t { psNormal, psHot, psDown, psDisabled };
enum TPartStyle : uint8_t { pstThemed, pstClassic, pstFlat, pstTones };

// The level progress bar's look, filled from the grid's progress appearance.
struct TProgressLevels {
    TColor Level0Color = 0x00FF00, Level0ColorTo = 0xE1FFE1;
    TColor Level1Color = 0x00FFFF, Level1ColorTo = 0xCAFFFF;
    TColor Level2Color = 0x53A9FF, Level2ColorTo = 0xA8D3FF;
    TColor Level3Color = 0x0000FF, Level3ColorTo = 0xCACAFF;
    int Level1Perc = 70, Level2Perc = 90;
    TColor BorderColor = clBlack;
    bool ShowBorder = false, Stacked = false, ShowPercentage = true;
    platform::TFont Font;
    TColor CompleteFontColor = 0xFF0000;
    bool CompletionSmooth = true, ShowGradient = true;
    int Steps = 11;
    TColor UnCompleteColor = clWhite;
    bool Vertical = false;
};

// A cell or header background: flat, a gradient, or two halves with the mirror colours; then a
// frame (or, with sideLines, only the left and right edges) unless border is clNone.
void DrawMirrorGradient(platform::TCanvas& canvas, QRect r, TColor color, TColor colorTo, TColor mirror,
                        TColor mirrorTo, bool vertical, TColor border, bool sideLines, bool fill);
using controls::DrawGradientButton;
using controls::DrawGridGradient;

// The colour at `position` of a span from color (at spanStart) to second; second clNone: color.
TColor InterpolateColor(TColor color, TColor second, int spanStart, int spanEnd, int position);
TColor HalfBrightColor(TColor color);
// Each channel grows (or with a negative percent shrinks) by percent, kept within 0..255.
TColor ScaleColorBrightness(TColor color, int percent);

void DrawComboArrowPart(platform::TCanvas& canvas, QWidget* window, QRect r, TPartStyle style, TPartState state,
                        const controls::TColorTones& tones);
void DrawButtonPart(platform::TCanvas& canvas, QWidget* window, QRect r, TPartStyle style, TPartState state,
                    const controls::TColorTones& tones);
void DrawSpinPart(platform::TCanvas& canvas, QWidget* window, QRect r, TPartStyle style, TPartState state,
                  const controls::TColorTones& tones);

// The progress text: the percentage with "%", or the format applied to the position (as an
// integer when the format holds d or u). A format that is not one numeric conversion is shown as
// it stands.
QString ProgressText(const QString& format, double position);
// A two-tone bar whose centred text changes colour where the bar ends. Equal minimum and maximum
// read as an empty bar.
void DrawProgressBar(platform::TCanvas& canvas, QRect r, TColor color, TColor fontColor, TColor color2,
                     TColor fontColor2, double position, int marginX, int marginY, double minimum, double maximum,
                     const QString& format, TColor border, bool upwardY);
void DrawProgressPie(platform::TCanvas& canvas, QRect r, TColor color, double percent, bool upwardY);
void DrawLevelProgress(platform::TCanvas& canvas, QRect r, int percent, const TProgressLevels& levels);
// A bar from the middle to the left (negative) or right; range 0 or less draws no bar.
void DrawRangeIndicator(platform::TCanvas& canvas, QRect r, int value, int range, bool showValue, TColor negColor,
                        TColor posColor);
// Shapes beyond csHalfStar draw nothing.
void DrawCellShape(platform::TCanvas& canvas, int x, int y, int w, int h, TCellShape shape, TColor brushColor,
                   TColor penColor);
// A red zigzag under errLen characters of text from errStart, as laid out by a single-line edit at r.
void DrawErrorUnderline(QWidget* owner, platform::TCanvas& canvas, const QString& text, QRect r, int offset,
                        int errStart, int errLen);

// The grid's built-in bitmaps (check boxes, radio buttons, node glyphs) by name; null when unknown.
// Their bottom-left pixel is the transparent colour.
QImage GridResourceBitmap(const QString& name);
void DrawResourceBitmap(platform::TCanvas& canvas, TColor background, QRect r, const QString& name);
// The bitmap at r's top-left corner with its top-left pixel colour replaced by the background.
void DrawBitmapOnColor(platform::TCanvas& canvas, const QImage& bitmap, TColor background, QRect r);
void FillRectColor(platform::TCanvas& canvas, QRect r, TColor color);
// A one-pixel line from (x1, y1) to (x2, y2), its last point not drawn.
void DrawPenLine(platform::TCanvas& canvas, TColor color, int x1, int y1, int x2, int y2);
void DrawDropArrow(platform::TCanvas& canvas, int x, int y, TColor color);

// Translucent windows: the image (premultiplied ARGB) becomes the window's content at the position,
// its alpha scaled by `alpha`. Always true, as the platform always has them.
bool DynUpdateLayeredWindow(QWidget* window, QPoint position, const QImage& image, uint8_t alpha);
bool DynSetLayeredWindowAttributes(QWidget* window, TColor key, uint8_t alpha, uint32_t flags);

}  // namespace grid
