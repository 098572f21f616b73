// Face painting and colour presets of the flat button, drawn onto plain images.
#include "ButtonTestUtil.h"
#include "PicButtons.h"

#include <QApplication>
#include <gtest/gtest.h>

using namespace controls;
using namespace platform;
using namespace buttons_test;

namespace {

constexpr TColor Face = 0x00EDF7F8;
constexpr TColor Light = clWhite;
constexpr TColor Shadow = clGray;
constexpr TColor DownColor = 0x000080FF;

struct FaceArgs {
    int width = 110, height = 28;
    int step = 0;
    int numGlyphs = 0;
    QImage glyph;
    bool down = false, hot = false, enabled = true, flat = false, wordWrap = false, popup = false;
    TPicButtonStyle style = bsNormal;
    TColor color = Face, colorWhenDown = DownColor, hotTrackColor = clYellow;
    TPicButtonLayout layout = blGlyphLeft;
    QString caption;
    TAlignment alignment = taCenter;
};

TFont TestFont()
{
    TFont f(QApplication::font(), clBlack);
    f.setPixelSize(11);
    return f;
}

QImage Render(const FaceArgs& a)
{
    QImage img(a.width, a.height, QImage::Format_ARGB32);
    img.fill(QColor(1, 2, 3));
    {
        TCanvas c(&img);
        DrawButtonFace(c, a.width, a.height, a.step, a.numGlyphs, a.glyph, a.down, a.hot, a.enabled, a.flat,
                       a.wordWrap, a.popup, a.style, a.color, a.colorWhenDown, a.hotTrackColor, Light, Shadow,
                       TestFont(), a.layout, a.caption, a.alignment);
    }
    return img.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

// Corner pixels follow the line rule: the light pen owns the top-left corners, the shadow pen the
// top-right and bottom-right ones; a press swaps the pens.
TEST(DrawButtonFace, EdgesAndFaceColourByState)
{
    struct Case {
        const char* name;
        bool down, hot, enabled, flat;
        QRgb face, topLeft, topRight, bottomLeft, bottomRight;
    };
    const Case cases[] = {
        {"normal", false, false, true, false, Rgb(Face), Rgb(Light), Rgb(Shadow), Rgb(Light), Rgb(Shadow)},
        {"pressed", true, true, true, false, Rgb(DownColor), Rgb(Shadow), Rgb(Light), Rgb(Shadow), Rgb(Light)},
        {"disabled never pressed", true, false, false, false, Rgb(Face), Rgb(Light), Rgb(Shadow), Rgb(Light),
         Rgb(Shadow)},
        {"flat, not hot: no edges", false, false, true, true, Rgb(Face), Rgb(Face), Rgb(Face), Rgb(Face), Rgb(Face)},
        {"flat and hot: edges", false, true, true, true, Rgb(Face), Rgb(Light), Rgb(Shadow), Rgb(Light), Rgb(Shadow)},
        {"flat and disabled: no edges", false, false, false, true, Rgb(Face), Rgb(Face), Rgb(Face), Rgb(Face),
         Rgb(Face)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FaceArgs a;
        a.down = c.down;
        a.hot = c.hot;
        a.enabled = c.enabled;
        a.flat = c.flat;
        const QImage img = Render(a);
        EXPECT_EQ(At(img, 5, 5), c.face);
        EXPECT_EQ(At(img, 0, 0), c.topLeft);
        EXPECT_EQ(At(img, 109, 0), c.topRight);
        EXPECT_EQ(At(img, 0, 27), c.bottomLeft);
        EXPECT_EQ(At(img, 109, 27), c.bottomRight);
        EXPECT_EQ(At(img, 50, 27), c.bottomRight);
    }
}

TEST(DrawButtonFace, HotColourBlendsByStepAndNeedsAnEnabledButton)
{
    struct Case {
        int step;
        bool enabled;
        QRgb face;
    };
    const Case cases[] = {
        {8, true, qRgb(255, 255, 0)},
        {0, true, Rgb(Face)},
        // Each channel truncated from half of each colour.
        {4, true, qRgb(251, 251, 118)},
        {8, false, Rgb(Face)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        FaceArgs a;
        a.step = c.step;
        a.enabled = c.enabled;
        EXPECT_EQ(At(Render(a), 5, 5), c.face);
    }
    EXPECT_EQ(HotBlend(Face, clYellow, 4), RGBToColor(251, 251, 118));
}

TEST(DrawButtonFace, ThePressWinsOverTheHotColour)
{
    FaceArgs a;
    a.step = 8;
    a.down = true;
    EXPECT_EQ(At(Render(a), 5, 5), Rgb(DownColor));
    a.colorWhenDown = clNone;
    EXPECT_EQ(At(Render(a), 5, 5), qRgb(255, 255, 0));
}

TEST(DrawButtonFace, PressShiftsTheCaptionExceptOnEncartaWhichTurnsItBold)
{
    FaceArgs a;
    a.caption = "Salva";
    a.colorWhenDown = clNone;
    a.hotTrackColor = clNone;
    const QRect inside(2, 2, 106, 24);

    const QRect up = InkBox(Render(a), Rgb(Face), inside);
    a.down = true;
    const QRect pressed = InkBox(Render(a), Rgb(Face), inside);
    ASSERT_FALSE(up.isEmpty());
    EXPECT_EQ(pressed.topLeft(), up.topLeft() + QPoint(1, 1));

    a.style = bsEncarta;
    a.down = false;
    const QRect encartaUp = InkBox(Render(a), Rgb(Face), inside);
    a.down = true;
    const QRect encartaDown = InkBox(Render(a), Rgb(Face), inside);
    EXPECT_EQ(encartaDown.top(), encartaUp.top());
    EXPECT_GT(encartaDown.width(), encartaUp.width()) << "bold caption is wider";
}

TEST(DrawButtonFace, DisabledCaptionIsGray)
{
    FaceArgs a;
    a.caption = "Annulla";
    const QRect textArea(8, 4, 94, 20);
    EXPECT_LT(DarkestChannel(Render(a), textArea), 0x40);
    a.enabled = false;
    const int darkest = DarkestChannel(Render(a), textArea);
    EXPECT_GE(darkest, 0x70);
    EXPECT_LE(darkest, 0x90);
}

TEST(CaptionFitting, LimitLeavesRoomForASideGlyph)
{
    EXPECT_EQ(CaptionLimit(110, 0, blGlyphLeft), 102);
    EXPECT_EQ(CaptionLimit(110, 16, blGlyphLeft), 82);
    EXPECT_EQ(CaptionLimit(110, 16, blGlyphRight), 82);
    EXPECT_EQ(CaptionLimit(110, 16, blGlyphTop), 102);
    EXPECT_EQ(CaptionLimit(10, 16, blGlyphLeft), 0);
}

TEST(CaptionFitting, DropsCharactersFromTheEndUntilTheCaptionFits)
{
    TCanvas c;
    c.Font = TestFont();
    const QString caption = "Configurazione dei parametri di comunicazione";
    const int limit = 60;
    const QString fitted = FitCaption(c, caption, limit);
    ASSERT_FALSE(fitted.isEmpty());
    EXPECT_TRUE(caption.startsWith(fitted));
    EXPECT_LE(c.TextWidth(fitted), limit);
    EXPECT_GT(c.TextWidth(caption.left(fitted.size() + 1)), limit);

    EXPECT_EQ(FitCaption(c, "", limit), "");
    EXPECT_EQ(FitCaption(c, "OK", limit), "OK");
    EXPECT_EQ(FitCaption(c, "OK", 0), "");
}

TEST(CaptionFitting, WordWrapWrapsWhereTheSingleLineIsCut)
{
    FaceArgs a;
    a.width = 70;
    a.height = 60;
    a.caption = "Alpha Beta Gamma Delta";
    const QRect inside(2, 2, 66, 56);
    const int lineHeight = QFontMetrics(TestFont()).height();

    const QRect single = InkBox(Render(a), Rgb(Face), inside);
    EXPECT_LE(single.height(), lineHeight);

    a.wordWrap = true;
    const QRect wrapped = InkBox(Render(a), Rgb(Face), inside);
    EXPECT_GT(wrapped.height(), lineHeight + lineHeight / 2);
}

TEST(GlyphFrames, FrameByStateAndTransparentCorner)
{
    // Four 10x10 frames, each a coloured square on a transparent border.
    const QRgb colours[4] = {qRgb(200, 0, 0), qRgb(0, 160, 0), qRgb(0, 0, 200), qRgb(160, 0, 160)};
    QImage strip(40, 10, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    for (int f = 0; f < 4; ++f)
        for (int y = 2; y < 8; ++y)
            for (int x = 2; x < 8; ++x)
                strip.setPixel(f * 10 + x, y, colours[f]);

    struct Case {
        const char* name;
        int numGlyphs;
        bool down, hot, enabled;
        int frame;
    };
    const Case cases[] = {
        {"normal", 4, false, false, true, 0},   {"disabled", 4, false, false, false, 1},
        {"pressed", 4, true, false, true, 2},   {"hot", 4, false, true, true, 3},
        {"hot and pressed", 4, true, true, true, 2},
        {"hot without a hot frame", 3, false, true, true, 0},
        {"pressed without a pressed frame", 2, true, false, true, 0},
        {"one frame, disabled", 1, false, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FaceArgs a;
        a.style = bsEncarta;  // no press offset
        a.glyph = c.numGlyphs == 4 ? strip : strip.copy(0, 0, c.numGlyphs * 10, 10);
        a.numGlyphs = c.numGlyphs;
        a.down = c.down;
        a.hot = c.hot;
        a.enabled = c.enabled;
        a.hotTrackColor = clNone;
        a.colorWhenDown = clNone;
        const QImage img = Render(a);
        // Centred: left (110 - 10) / 2, top (28 - 10) / 2.
        EXPECT_EQ(At(img, 55, 14), colours[c.frame]);
        EXPECT_EQ(At(img, 50, 9), Rgb(Face)) << "the frame's border is transparent";
    }
}

TEST(GlyphLayout, GlyphBesideOrAboveTheCaption)
{
    QImage glyph(16, 16, QImage::Format_ARGB32);
    glyph.fill(Qt::transparent);
    for (int y = 1; y < 15; ++y)
        for (int x = 1; x < 15; ++x)
            glyph.setPixel(x, y, qRgb(0, 0, 255));
    FaceArgs a;
    a.glyph = glyph;
    a.numGlyphs = 1;
    a.caption = "Avanti";
    a.alignment = taLeftJustify;
    a.width = 110;
    a.height = 60;

    auto blueBox = [](const QImage& img) {
        QRect box;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (At(img, x, y) == qRgb(0, 0, 255))
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    // Left: glyph at x 4; the caption starts after it.
    a.layout = blGlyphLeft;
    QImage img = Render(a);
    EXPECT_EQ(blueBox(img).topLeft(), QPoint(5, 23));
    // Right, left-aligned: the glyph follows the caption.
    a.layout = blGlyphRight;
    img = Render(a);
    const QRect text = InkBox(img, Rgb(Face), QRect(2, 2, 70, 56));
    EXPECT_GT(blueBox(img).left(), text.left() + 10);
    // Top: glyph above the caption.
    a.layout = blGlyphTop;
    a.alignment = taCenter;
    img = Render(a);
    const QRect g = blueBox(img);
    EXPECT_EQ(g.left(), (110 - 16) / 2 + 1);
    const QRect below = InkBox(img, Rgb(Face), QRect(2, g.bottom() + 2, 106, 60 - g.bottom() - 4));
    EXPECT_FALSE(below.isEmpty()) << "caption under the glyph";
}

TEST(DrawButtonFace, PopupMarkAndTransparentStyles)
{
    FaceArgs a;
    a.popup = true;
    QImage img = Render(a);
    // The mark's top row starts at (W - 11, H / 2 - 1).
    EXPECT_EQ(At(img, 99, 13), qRgb(0, 0, 0));
    EXPECT_EQ(At(img, 101, 15), qRgb(0, 0, 0));
    EXPECT_EQ(At(img, 99, 15), Rgb(Face));

    // Shape faces are transparent; modern faces leave their rounded corners alone.
    QImage shape(40, 20, QImage::Format_ARGB32);
    shape.fill(Qt::red);
    {
        TCanvas c(&shape);
        DrawButtonFace(c, 40, 20, 0, 0, QImage(), false, false, true, false, false, false, bsShape, Face, clNone,
                       clNone, Light, Shadow, TestFont(), blGlyphLeft, "", taCenter);
    }
    EXPECT_EQ(qAlpha(shape.pixel(10, 10)), 0);

    a.style = bsModern;
    a.popup = false;
    img = Render(a);
    EXPECT_EQ(At(img, 0, 0), qRgb(1, 2, 3)) << "corner outside the rounded edge untouched";
    EXPECT_EQ(At(img, 50, 0), Rgb(Shadow));
    // Light to face over y 2..7: 32 bands over 5 rows overlap, so row 2 ends with band 6, which is
    // white plus 6/31 of the way to the face, each channel truncated.
    EXPECT_EQ(At(img, 50, 2), qRgb(254, 254, 252));
    EXPECT_EQ(At(img, 50, 7), Rgb(Face));
}

TEST(ColorStyle, PresetTable)
{
    TColor color = 1, light = 1, shadow = 1, down = 1, hot = 1, font = 1;
    bool flat = true, modern = true, quicken = true;
    GetColorStyleColors(lcsQuicken, color, light, shadow, down, hot, font, flat, modern, quicken);
    EXPECT_EQ(color, 0x00603000u);
    EXPECT_EQ(light, 0x00C0C0C0u);
    EXPECT_EQ(down, 0x00AD6529u);
    EXPECT_EQ(hot, 0x00CEAE9Cu);
    EXPECT_EQ(font, clWhite);
    EXPECT_FALSE(flat);
    EXPECT_FALSE(modern);
    EXPECT_TRUE(quicken);

    GetColorStyleColors(lcsUltraFlat2, color, light, shadow, down, hot, font, flat, modern, quicken);
    EXPECT_EQ(color, clBtnFace);
    EXPECT_EQ(down, 0x0024DABCu);
    EXPECT_TRUE(flat);
    EXPECT_FALSE(quicken);
    EXPECT_EQ(font, clBlack);

    GetColorStyleColors(lcsGold, color, light, shadow, down, hot, font, flat, modern, quicken);
    EXPECT_TRUE(modern);
    EXPECT_EQ(hot, 0x0000DFDFu);

    // Custom: only the flags and the font colour are reset.
    color = 7;
    GetColorStyleColors(lcsCustom, color, light, shadow, down, hot, font, flat, modern, quicken);
    EXPECT_EQ(color, 7u);
    EXPECT_FALSE(modern);
    EXPECT_EQ(font, clBlack);
}

TEST(Fader, SuspendedUntilResumedAndTicksOnDemand)
{
    int ticks = 0;
    TPicButtonFader fader([&] { ++ticks; });
    EXPECT_TRUE(fader.Suspended());
    fader.Resume();
    EXPECT_FALSE(fader.Suspended());
    fader.Tick();
    fader.Tick();
    EXPECT_EQ(ticks, 2);
    fader.Suspend();
    EXPECT_TRUE(fader.Suspended());
}
