#include "controls/buttons_pages/PicButtons.h"

#include "controls/buttons_pages/PicGlyphs.h"

#include <QPainter>
#include <algorithm>

namespace controls {

using namespace platform;

TPicButtonFader::TPicButtonFader(std::function<void()> notify, QObject* parent)
    : QObject(parent), FNotify(std::move(notify))
{
    FTimer.setInterval(FadeInterval);
    connect(&FTimer, &QTimer::timeout, this, &TPicButtonFader::Tick);
}

void TPicButtonFader::Resume()
{
    if (!FTimer.isActive())
        FTimer.start();
}

void TPicButtonFader::Suspend() { FTimer.stop(); }

void TPicButtonFader::Tick()
{
    if (FNotify)
        FNotify();
}

TColor HotBlend(TColor color, TColor hotColor, int step)
{
    step = std::clamp(step, 0, HotTrackSteps);
    const TColor c = ColorToRGB(color), h = ColorToRGB(hotColor);
    auto mix = [step](int a, int b) { return (a * (HotTrackSteps - step) + b * step) / HotTrackSteps; };
    return RGBToColor(mix(GetRValue(c), GetRValue(h)), mix(GetGValue(c), GetGValue(h)),
                      mix(GetBValue(c), GetBValue(h)));
}

void GradientBands(TCanvas& canvas, int left, int top, int right, int bottom, TColor from, TColor to)
{
    const TColor a = ColorToRGB(from), b = ColorToRGB(to);
    const int extent = bottom - top;
    if (extent <= 0 || right <= left)
        return;
    const TBrush saved = canvas.Brush;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    for (int i = 0; i < 32; ++i) {
        const int y = top + (i * extent) / 31;
        const int yEnd = std::min(bottom, y + extent / 31 + 1);
        if (yEnd <= y)
            continue;
        auto channel = [i](int s, int e) { return s + ((e - s) * i) / 31; };
        canvas.Brush.Color = RGBToColor(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
                                        channel(GetBValue(a), GetBValue(b)));
        canvas.FillRect(Rect(left, y, right, yEnd));
    }
    canvas.Brush = saved;
}

int CaptionLimit(int width, int glyphFrameWidth, TPicButtonLayout layout)
{
    int limit = width - 8;
    if (glyphFrameWidth > 0 && (layout == blGlyphLeft || layout == blGlyphRight))
        limit -= glyphFrameWidth + 4;
    return std::max(0, limit);
}

QString FitCaption(const TCanvas& canvas, const QString& caption, int limit)
{
    QString s = caption;
    while (!s.isEmpty() && canvas.TextWidth(s) > limit) {
        // Never leave half of a surrogate pair behind.
        const int n = (s.size() >= 2 && s.back().isLowSurrogate() && s.at(s.size() - 2).isHighSurrogate()) ? 2 : 1;
        s.chop(n);
    }
    return s;
}

namespace {

unsigned AlignmentFormat(TAlignment alignment)
{
    switch (alignment) {
    case platform::taLeftJustify: return DT_LEFT;
    case platform::taRightJustify: return DT_RIGHT;
    default: return DT_CENTER;
    }
}

// Frame index of the strip: disabled 1; pressed 2 and hot 3 when the strip has them.
int GlyphFrameIndex(int numGlyphs, bool down, bool hot, bool enabled)
{
    if (!enabled)
        return 1;
    int index = 0;
    if (hot && numGlyphs > 3)
        index = 3;
    if (down && numGlyphs > 2)
        index = 2;
    return index;
}

// A frame starts as the strip's first frame; the strip shifted left by the index is copied over
// it, so an index past the strip leaves the first frame.
QImage GlyphFrame(const QImage& glyph, int gw, int gh, int index)
{
    QImage frame = glyph.copy(0, 0, gw, gh).convertToFormat(QImage::Format_ARGB32);
    QPainter p(&frame);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(-index * gw, 0, glyph);
    return frame;
}

}  // namespace

void DrawButtonFace(TCanvas& Canvas, int Width, int Height, int HotTrackStep, int NumGlyphs, const QImage& Glyph,
                    bool Down, bool Hot, bool Enabled, bool Flat, bool WordWrap, bool HasPopup,
                    TPicButtonStyle Style, TColor Color, TColor ColorWhenDown, TColor HotTrackColor,
                    TColor LightColor, TColor ShadowColor, const TFont& Font, TPicButtonLayout Layout,
                    const QString& Caption, TAlignment Alignment)
{
    const int W = Width, H = Height;
    if (!Enabled)
        Down = false;
    const int Off = (Down && Style != bsEncarta) ? 1 : 0;

    TColor face = ColorToRGB(Color);
    if (Enabled && HotTrackColor != clNone)
        face = HotBlend(Color, HotTrackColor, HotTrackStep);
    if (Down && ColorWhenDown != clNone)
        face = ColorToRGB(ColorWhenDown);
    const TColor light = ColorToRGB(LightColor), shadow = ColorToRGB(ShadowColor);

    Canvas.Pen = TPen();
    Canvas.Brush = TBrush{face, TBrushStyle::bsSolid};

    // Background.
    switch (Style) {
    case bsShape:
        Canvas.ClearRect(Rect(0, 0, W, H));
        break;
    case bsNormal:
    case bsEncarta:
    case bsOld:
        Canvas.FillRect(Rect(0, 0, W, H));
        break;
    case bsModern:
        GradientBands(Canvas, 2, 2, W - 2, H / 4 + Off, light, face);
        GradientBands(Canvas, 2, H / 4 + Off, W - 2, H - 1, face, light);
        break;
    case bsQuicken:
        break;
    }

    // Edges.
    Canvas.Brush.Style = TBrushStyle::bsClear;
    switch (Style) {
    case bsNormal:
    case bsEncarta:
    case bsOld: {
        const bool edges = (Enabled && (!Flat || Hot || Down)) || (!Enabled && !Flat);
        if (!edges)
            break;
        if (Style == bsOld) {
            Canvas.Pen.Color = shadow;
            if (Down) {
                Canvas.MoveTo(1, H - 3);
                Canvas.LineTo(1, 1);
                Canvas.LineTo(W - 2, 1);
            } else {
                Canvas.MoveTo(W - 2, 0);
                Canvas.LineTo(W - 2, H - 2);
                Canvas.LineTo(0, H - 2);
            }
            Canvas.Pen.Color = Down ? ColorToRGB(cl3DDkShadow) : light;
            Canvas.MoveTo(0, H - 1);
            Canvas.LineTo(0, 0);
            Canvas.LineTo(W - 1, 0);
            Canvas.Pen.Color = Down ? light : ColorToRGB(cl3DDkShadow);
            Canvas.LineTo(W - 1, H - 1);
            Canvas.LineTo(-1, H - 1);
        } else {
            Canvas.Pen.Color = Down ? shadow : light;
            Canvas.MoveTo(0, H - 1);
            Canvas.LineTo(0, 0);
            Canvas.LineTo(W - 1, 0);
            Canvas.Pen.Color = Down ? light : shadow;
            Canvas.LineTo(W - 1, H - 1);
            Canvas.LineTo(0, H - 1);
        }
        break;
    }
    case bsModern:
        Canvas.Pen.Color = Down ? shadow : face;
        Canvas.Rectangle(1, 1, W - 1, H - 1);
        Canvas.Pen.Color = shadow;
        Canvas.RoundRect(0, 0, W, H, 6, 6);
        break;
    case bsQuicken:
        Canvas.Pen.Style = TPenStyle::psClear;
        Canvas.Brush = TBrush{face, TBrushStyle::bsSolid};
        Canvas.RoundRect(0, 1, W, H, 4, 4);
        Canvas.Brush.Style = TBrushStyle::bsClear;
        Canvas.Pen = TPen{shadow, 1, TPenStyle::psSolid};
        Canvas.MoveTo(4, 0);
        Canvas.LineTo(W - 5, 0);
        Canvas.MoveTo(4, H - 1);
        Canvas.LineTo(W - 5, H - 1);
        break;
    case bsShape:
        break;
    }

    // Font, glyph frame and caption.
    TFont font = Font;
    if (Style == bsEncarta && Down)
        font.setBold(true);
    if (!Enabled)
        font.Color = clGray;
    Canvas.Font = font;

    const int gw = NumGlyphs > 0 ? Glyph.width() / NumGlyphs : 0;
    const int gh = Glyph.height();
    QImage frame;
    if (gw > 0 && gh > 0)
        frame = GlyphFrame(Glyph, gw, gh, GlyphFrameIndex(NumGlyphs, Down, Hot, Enabled));

    const unsigned format = DT_WORDBREAK | AlignmentFormat(Alignment);
    const int limit = Style == bsShape ? std::max(0, W - 8) : CaptionLimit(W, gw, Layout);
    const QString caption = WordWrap ? Caption : FitCaption(Canvas, Caption, limit);
    QRect measure = Rect(0, 0, limit, 0);
    Canvas.DrawText(caption, measure, format | DT_CALCRECT);
    const int TH = measure.height(), TW = measure.width();

    if (Style == bsShape) {
        if (!frame.isNull())
            Canvas.DrawTransparent((W - gw) / 2, (H - gh) / 2, frame);
        QRect r = Rect(Off, (H - TH) / 2 + Off, W, H);
        Canvas.DrawText(caption, r, DT_WORDBREAK | DT_CENTER);
    } else {
        int textLeft = Off + 4, textTop = 0, glyphLeft = 0, glyphTop = 0;
        if (Layout == blGlyphLeft || Layout == blGlyphRight) {
            textTop = (H - TH) / 2 + Off;
            glyphTop = (H - gh) / 2 + Off;
            const int tw = caption.isEmpty() ? 0 : TW + 4;
            if (Layout == blGlyphLeft) {
                if (gw > 0)
                    textLeft += gw + 4;
                glyphLeft = Off + 4;
                if (!WordWrap) {
                    switch (Alignment) {
                    case platform::taLeftJustify: glyphLeft = Off + 4; break;
                    case platform::taRightJustify: glyphLeft = W - 4 - gw - tw + Off; break;
                    case platform::taCenter: glyphLeft = (W - gw) / 2 + Off - tw / 2; break;
                    }
                }
            } else {
                glyphLeft = textLeft + tw;
                if (!WordWrap) {
                    switch (Alignment) {
                    case platform::taLeftJustify: glyphLeft = textLeft + tw; break;
                    case platform::taRightJustify: glyphLeft = W - 4 + Off - gw; break;
                    case platform::taCenter: glyphLeft = (W - gw) / 2 + Off + tw / 2; break;
                    }
                }
            }
        } else {
            const int total = TH + (gh > 0 ? gh + 4 : 0);
            if (Layout == blGlyphTop) {
                glyphTop = (H - total) / 2 + Off;
                textTop = (H - total) / 2 + gh + Off;
            } else {
                textTop = (H - total) / 2 + Off;
                glyphTop = (H - total) / 2 + TH + Off;
            }
            switch (Alignment) {
            case platform::taLeftJustify: glyphLeft = Off + 4; break;
            case platform::taRightJustify: glyphLeft = W - gw - 4 + Off; break;
            case platform::taCenter: glyphLeft = (W - gw) / 2 + Off; break;
            }
        }
        QRect r = Rect(textLeft, textTop, textLeft + limit, textTop + TH);
        Canvas.DrawText(caption, r, format);
        if (!frame.isNull())
            Canvas.DrawTransparent(glyphLeft, glyphTop, frame);
    }

    if (HasPopup)
        Canvas.DrawTransparent(W - 11, H / 2 - 1, PicButtonArrow());
}

void GetColorStyleColors(TPicColorStyle Preset, TColor& Color, TColor& LightColor, TColor& ShadowColor,
                         TColor& ColorWhenDown, TColor& HotTrackColor, TColor& FontColor, bool& Flat,
                         bool& IsModern, bool& IsQuicken)
{
    Flat = false;
    IsModern = false;
    IsQuicken = false;
    FontColor = clBlack;

    struct Row {
        TPicColorStyle preset;
        TColor color, light, shadow, down, hot;
        bool flat;
        TPicButtonStyle style;
        TColor font;
    };
    static constexpr Row Table[] = {
        {lcsGold, 0x0000C0C0, 0x0000FFFF, 0x00008080, clNone, 0x0000DFDF, false, bsModern, clBlack},
        {lcsChrome, 0x00C0C0C0, 0x00FFFFFF, 0x00808080, clNone, clNone, false, bsModern, clBlack},
        {lcsBlue, 0x00FF8000, 0x00FFFF00, 0x00FF0000, clNone, clNone, false, bsModern, clBlack},
        {lcsRed, 0x000000FF, 0x00C0C0FF, 0x000000C0, clNone, clNone, false, bsModern, clBlack},
        {lcsUltraFlat1, clBtnFace, 0x00B59284, 0x00B59284, 0x00B59284, 0x00DED3D6, true, bsNormal, clBlack},
        {lcsUltraFlat2, clBtnFace, 0x00000000, 0x00000000, 0x0024DABC, 0x008CF6E4, true, bsNormal, clBlack},
        {lcsUltraFlatXP, 0x00D1D8DB, 0x00B59284, 0x00B59285, 0x00B59285, 0x00D2BDB6, true, bsNormal, clBlack},
        {lcsAqua, 0x00ECCE94, 0x00FCE6D4, 0x00000000, clNone, clNone, false, bsModern, clBlack},
        {lcsDefault, clBtnFace, 0x00FFFFFF, 0x00808080, clNone, clNone, false, bsNormal, clBlack},
        {lcsQuicken, 0x00603000, 0x00C0C0C0, 0x00C0C0C0, 0x00AD6529, 0x00CEAE9C, false, bsQuicken, 0x00FFFFFF},
    };
    for (const Row& row : Table)
        if (row.preset == Preset) {
            Color = row.color;
            LightColor = row.light;
            ShadowColor = row.shadow;
            ColorWhenDown = row.down;
            HotTrackColor = row.hot;
            Flat = row.flat;
            IsModern = row.style == bsModern;
            IsQuicken = row.style == bsQuicken;
            FontColor = row.font;
            return;
        }
}

}  // namespace controls
