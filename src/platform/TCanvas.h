#pragma once
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QRegion>
#include <QString>
#include <cstdint>
#include <memory>

class QFontMetrics;
class QPainter;
class QPaintDevice;

// Painting in the Windows drawing model over QPainter: 32-bit colour values, a pen, a brush and a
// font with a colour, lines that leave out their end point, rectangles that leave out their right
// and bottom edge, and DrawText with the Windows format flags.
namespace platform {

// $00BBGGRR is an RGB colour, $FF0000nn the system colour with index nn, clNone no colour.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                 clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;

constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clScrollBar = clSystemColor | 0, clBackground = clSystemColor | 1,
                 clActiveCaption = clSystemColor | 2, clInactiveCaption = clSystemColor | 3,
                 clMenu = clSystemColor | 4, clWindow = clSystemColor | 5, clWindowFrame = clSystemColor | 6,
                 clMenuText = clSystemColor | 7, clWindowText = clSystemColor | 8,
                 clCaptionText = clSystemColor | 9, clActiveBorder = clSystemColor | 10,
                 clInactiveBorder = clSystemColor | 11, clAppWorkSpace = clSystemColor | 12,
                 clHighlight = clSystemColor | 13, clHighlightText = clSystemColor | 14,
                 clBtnFace = clSystemColor | 15, clBtnShadow = clSystemColor | 16,
                 clGrayText = clSystemColor | 17, clBtnText = clSystemColor | 18,
                 clInactiveCaptionText = clSystemColor | 19, clBtnHighlight = clSystemColor | 20,
                 cl3DDkShadow = clSystemColor | 21, cl3DLight = clSystemColor | 22,
                 clInfoText = clSystemColor | 23, clInfoBk = clSystemColor | 24,
                 clHotLight = clSystemColor | 26, clGradientActiveCaption = clSystemColor | 27,
                 clGradientInactiveCaption = clSystemColor | 28, clMenuHighlight = clSystemColor | 29,
                 clMenuBar = clSystemColor | 30;

constexpr TColor RGBToColor(int r, int g, int b)
{
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}
constexpr int GetRValue(TColor c) { return int(c & 0xFF); }
constexpr int GetGValue(TColor c) { return int((c >> 8) & 0xFF); }
constexpr int GetBValue(TColor c) { return int((c >> 16) & 0xFF); }

// System colours take their current value from the application palette; other values pass unchanged.
TColor ColorToRGB(TColor color);
// clNone (and clDefault) give a fully transparent colour.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

// A rectangle given by its left, top, right and bottom edge, right and bottom excluded.
inline QRect Rect(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

enum class TPenStyle { psSolid, psDash, psDot, psClear };
enum class TBrushStyle { bsSolid, bsClear };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

// A font with its colour. Height follows the Windows rule: negative is the character height in
// pixels, positive the cell height.
class TFont : public QFont {
public:
    TFont() = default;
    TFont(const QFont& font, TColor color = clWindowText) : QFont(font), Color(color) {}
    TColor Color = clWindowText;

    void SetHeight(int height);
    int Height() const;
    void SetName(const QString& name) { setFamily(name); }
    QString Name() const { return family(); }
};

// DrawText format flags (the Windows values).
enum : unsigned {
    DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800, DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000,
    DT_END_ELLIPSIS = 0x8000, DT_WORD_ELLIPSIS = 0x40000, DT_HIDEPREFIX = 0x100000,
};

// Text-out option (the Windows value): the text's background is filled.
enum : unsigned { ETO_OPAQUE = 0x2 };

class TCanvas {
public:
    // A canvas that only measures until a painter is attached.
    TCanvas();
    // A canvas that paints on the device for its whole life.
    explicit TCanvas(QPaintDevice* device);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    void Attach(QPainter* painter);
    void Detach();
    // The device a canvas without a painter measures text for (the screen when none), so that
    // measuring and painting agree on a printer or image of another resolution.
    void SetMeasureDevice(QPaintDevice* device) { FMeasureDevice = device; }
    // The region being repainted, in the painter's coordinates before any transform the painting
    // sets; ClipRect answers within it. Empty: all of the device.
    void SetPaintRegion(const QRegion& region) { FPaintRegion = region; }
    const QRegion& PaintRegion() const { return FPaintRegion; }
    bool Painting() const { return FPainter != nullptr; }
    QPainter* Painter() const { return FPainter; }

    TPen Pen;
    TBrush Brush;
    TFont Font;
    QPoint PenPos;
    // Text-out options a text painting handler leaves for the code that draws the text.
    unsigned TextFlags = 0;

    void MoveTo(int x, int y) { PenPos = QPoint(x, y); }
    // Draws from the pen position to (x, y), leaving out (x, y) itself.
    void LineTo(int x, int y);
    void Polyline(const QPolygon& points);
    void Polygon(const QPolygon& points);
    // Outline with the pen over left..right-1, top..bottom-1, filled with the brush.
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const QRect& r) { Rectangle(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void Ellipse(int left, int top, int right, int bottom);
    void FillRect(const QRect& r);
    // A one-pixel frame in the brush colour.
    void FrameRect(const QRect& r);
    // A dotted frame that inverts what is under it, so drawing it twice removes it.
    void DrawFocusRect(const QRect& r);
    // Makes the area fully transparent (on devices with an alpha channel).
    void ClearRect(const QRect& r);
    void SetPixel(int x, int y, TColor color);

    void Draw(int x, int y, const QImage& image);
    void Draw(int x, int y, const QPixmap& pixmap);
    void StretchDraw(const QRect& r, const QImage& image);
    // Draws the image with every pixel of the transparent colour left out.
    void DrawTransparent(int x, int y, const QImage& image, TColor transparentColor);
    // The colour of the bottom-left pixel is the transparent one, as for a transparent bitmap.
    void DrawTransparent(int x, int y, const QImage& image);

    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    QSize TextExtent(const QString& text) const { return QSize(TextWidth(text), TextHeight(text)); }
    // The text with its top-left at (x, y); a solid brush fills behind it.
    void TextOut(int x, int y, const QString& text);
    // As TextOut, clipped to the rectangle, which a solid brush fills first.
    void TextRect(const QRect& r, int x, int y, const QString& text);
    // Windows DrawText: draws (or with DT_CALCRECT measures, widening or narrowing r to fit) and
    // returns the text height. A solid brush fills the text's extent first.
    int DrawText(const QString& text, QRect& r, unsigned format);

    void SetClipRect(const QRect& r);
    void IntersectClipRect(const QRect& r);
    void ClearClip();
    bool HasClip() const;
    // What painting can reach: the clip rectangle within the region being repainted.
    QRect ClipRect() const;

private:
    void PrepareFont() const;
    // Metrics of the font on the device painted or measured for.
    QFontMetrics Metrics() const;
    void PixelRun(int x, int y, int length, bool horizontal, TColor color);
    void PlotLine(QPoint from, QPoint to, TColor color);

    std::unique_ptr<QPainter> FOwnPainter;
    QPainter* FPainter = nullptr;
    QPaintDevice* FMeasureDevice = nullptr;
    QRegion FPaintRegion;
};

}  // namespace platform
