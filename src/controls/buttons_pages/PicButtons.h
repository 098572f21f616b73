#pragma once
#include "platform/TCanvas.h"
#include "platform/TCustomControl.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

// Vocabulary, face painting and fade driver of the flat picture button.
namespace controls {

using platform::TAlignment;
using platform::TColor;

// Value order is the stored order.
enum TPicButtonStyle { bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken };
enum TPicColorStyle {
    lcsCustom, lcsGold, lcsChrome, lcsBlue, lcsRed, lcsUltraFlat1, lcsUltraFlat2, lcsUltraFlatXP, lcsAqua,
    lcsDefault, lcsQuicken
};
enum TPicButtonKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum TPicButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Steps of a hot-colour fade: the face goes from the hot colour back to its colour in this many ticks.
constexpr int HotTrackSteps = 8;

// Drives the slow fade of a button's hot colour: one tick every FadeInterval ms on the GUI thread
// while resumed. Created suspended; a suspended driver runs no ticks.
class TPicButtonFader : public QObject {
    Q_OBJECT
public:
    static constexpr int FadeInterval = 30;

    TPicButtonFader(std::function<void()> notify, QObject* parent = nullptr);

    void Resume();
    void Suspend();
    bool Suspended() const { return !FTimer.isActive(); }
    // Runs one tick at once, as the timer does.
    void Tick();

private:
    QTimer FTimer;
    std::function<void()> FNotify;
};

// The blend of colour and hot colour with weight step / 8, each channel truncated.
TColor HotBlend(TColor color, TColor hotColor, int step);

// Fills top..bottom (left..right) with 32 horizontal bands from one colour to the other.
void GradientBands(platform::TCanvas& canvas, int left, int top, int right, int bottom, TColor from, TColor to);

// The room the caption may take: W - 8, less the glyph and its gap beside a left or right glyph.
int CaptionLimit(int width, int glyphFrameWidth, TPicButtonLayout layout);
// Drops characters from the end while the caption is wider than the limit in the canvas font.
QString FitCaption(const platform::TCanvas& canvas, const QString& caption, int limit);

// Paints one face from explicit values onto any canvas, at the canvas origin.
void DrawButtonFace(platform::TCanvas& Canvas, int Width, int Height, int HotTrackStep, int NumGlyphs,
                    const QImage& Glyph, bool Down, bool Hot, bool Enabled, bool Flat, bool WordWrap,
                    bool HasPopup, TPicButtonStyle Style, TColor Color, TColor ColorWhenDown, TColor HotTrackColor,
                    TColor LightColor, TColor ShadowColor, const platform::TFont& Font, TPicButtonLayout Layout,
                    const QString& Caption, TAlignment Alignment);

// The colours of a colour preset; all but the preset are results. Flat, IsModern and IsQuicken
// start false and the font colour black; lcsCustom changes nothing else.
void GetColorStyleColors(TPicColorStyle Preset, TColor& Color, TColor& LightColor, TColor& ShadowColor,
                         TColor& ColorWhenDown, TColor& HotTrackColor, TColor& FontColor, bool& Flat,
                         bool& IsModern, bool& IsQuicken);

}  // namespace controls
