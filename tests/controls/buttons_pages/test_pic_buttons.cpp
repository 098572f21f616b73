// Face painting and colour presets of the flat button, drawn onto plain images.
#include "ButtonTestUtil.h"
#include "controls/buttons_pages/PicButtons.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <vector>

using namespace controls;
using namespace platform;
using namespace buttons_test;

namespace {

constexpr TColor Light = clWhite;
constexpr TColor Shadow = clGray;

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
    const auto& colours = Frame_Colours;
    const QImage strip = Four_Frame_Strip();

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

TEST(ColorStyle, EveryPresetOfTheTable)
{
    struct Case {
        TPicColorStyle preset;
        TColor color, light, shadow, down, hot;
        bool flat, modern, quicken;
        TColor font;
    };
    const Case cases[] = {
        {lcsGold, 0x0000C0C0, 0x0000FFFF, 0x00008080, clNone, 0x0000DFDF, false, true, false, clBlack},
        {lcsChrome, 0x00C0C0C0, 0x00FFFFFF, 0x00808080, clNone, clNone, false, true, false, clBlack},
        {lcsBlue, 0x00FF8000, 0x00FFFF00, 0x00FF0000, clNone, clNone, false, true, false, clBlack},
        {lcsRed, 0x000000FF, 0x00C0C0FF, 0x000000C0, clNone, clNone, false, true, false, clBlack},
        {lcsUltraFlat1, clBtnFace, 0x00B59284, 0x00B59284, 0x00B59284, 0x00DED3D6, true, false, false, clBlack},
        {lcsUltraFlat2, clBtnFace, 0x00000000, 0x00000000, 0x0024DABC, 0x008CF6E4, true, false, false, clBlack},
        {lcsUltraFlatXP, 0x00D1D8DB, 0x00B59284, 0x00B59285, 0x00B59285, 0x00D2BDB6, true, false, false, clBlack},
        {lcsAqua, 0x00ECCE94, 0x00FCE6D4, 0x00000000, clNone, clNone, false, true, false, clBlack},
        {lcsDefault, clBtnFace, 0x00FFFFFF, 0x00808080, clNone, clNone, false, false, false, clBlack},
        {lcsQuicken, 0x00603000, 0x00C0C0C0, 0x00C0C0C0, 0x00AD6529, 0x00CEAE9C, false, false, true, clWhite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.preset));
        // Start from the opposite of every expected value.
        TColor color = 1, light = 1, shadow = 1, down = 1, hot = 1, font = 1;
        bool flat = !c.flat, modern = !c.modern, quicken = !c.quicken;
        GetColorStyleColors(c.preset, color, light, shadow, down, hot, font, flat, modern, quicken);
        EXPECT_EQ(color, c.color);
        EXPECT_EQ(light, c.light);
        EXPECT_EQ(shadow, c.shadow);
        EXPECT_EQ(down, c.down);
        EXPECT_EQ(hot, c.hot);
        EXPECT_EQ(flat, c.flat);
        EXPECT_EQ(modern, c.modern);
        EXPECT_EQ(quicken, c.quicken);
        EXPECT_EQ(font, c.font);
    }
}

// Edge and face pixels of the styles other than the plain one, released and pressed.
TEST(DrawButtonFace, EdgesOfTheOtherStyles)
{
    const QRgb bg = qRgb(1, 2, 3), light = Rgb(Light), shadow = Rgb(Shadow), face = Rgb(Face),
               down = Rgb(DownColor), dark = Rgb(ColorToRGB(cl3DDkShadow));
    struct Pixel {
        int x, y;
        QRgb colour;
    };
    struct Case {
        const char* name;
        TPicButtonStyle style;
        bool down;
        std::vector<Pixel> pixels;
    };
    const Case cases[] = {
        // Inner shadow line inside the right and bottom edge; the outer bottom-right edge in the
        // dark shadow runs on to the bottom-left corner.
        {"old", bsOld, false,
         {{5, 0, light}, {0, 5, light}, {109, 5, dark}, {50, 27, dark}, {0, 27, dark}, {108, 5, shadow},
          {50, 26, shadow}, {1, 1, face}, {107, 5, face}}},
        {"old pressed", bsOld, true,
         {{5, 0, dark}, {0, 5, dark}, {109, 5, light}, {50, 27, light}, {0, 27, light}, {1, 5, shadow},
          {50, 1, shadow}, {108, 5, down}, {2, 5, down}}},
        // Rounded outline in the shadow colour, an inner outline in the face colour.
        {"modern", bsModern, false, {{0, 0, bg}, {50, 0, shadow}, {50, 27, shadow}, {50, 1, face}, {1, 14, face}}},
        {"modern pressed", bsModern, true,
         {{0, 0, bg}, {50, 0, shadow}, {50, 1, shadow}, {1, 14, shadow}, {108, 14, shadow},
          // Row H div 4 + 1 starts the lower gradient: its last band there is band 1, the pressed
          // colour plus 1/31 of the way to white, truncated.
          {50, 8, qRgb(255, 128 + 127 / 31, 255 / 31)}}},
        // A filled rounded face from row 1 down, with shadow lines from x 4 to W - 6 above and below.
        {"quicken", bsQuicken, false,
         {{3, 0, bg}, {4, 0, shadow}, {104, 0, shadow}, {105, 0, bg}, {4, 27, shadow}, {104, 27, shadow},
          {105, 27, bg}, {0, 14, face}, {50, 14, face}}},
        {"quicken pressed", bsQuicken, true, {{4, 0, shadow}, {50, 14, down}}},
        {"encarta pressed", bsEncarta, true, {{0, 5, shadow}, {5, 0, shadow}, {109, 5, light}, {50, 27, light}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FaceArgs a;
        a.style = c.style;
        a.down = c.down;
        a.hotTrackColor = clNone;
        const QImage img = Render(a);
        for (const Pixel& p : c.pixels)
            EXPECT_EQ(At(img, p.x, p.y), p.colour) << "at " << p.x << "," << p.y;
    }

    // Shape: no face and no edges at all.
    QImage shape(40, 20, QImage::Format_ARGB32);
    shape.fill(Qt::red);
    {
        TCanvas c(&shape);
        DrawButtonFace(c, 40, 20, 0, 0, QImage(), true, true, true, false, false, false, bsShape, Face, DownColor,
                       clYellow, Light, Shadow, TestFont(), blGlyphLeft, "", taCenter);
    }
    for (const QPoint& p : {QPoint(0, 0), QPoint(39, 19), QPoint(20, 10)})
        EXPECT_EQ(qAlpha(shape.pixel(p)), 0) << p.x() << "," << p.y();
}

// Glyph place for every layout and alignment, from the caption's measured size.
TEST(GlyphLayout, PlaceByLayoutAndAlignment)
{
    constexpr int W = 110, H = 60, G = 16;
    QImage glyph(G, G, QImage::Format_ARGB32);
    glyph.fill(Qt::transparent);
    for (int y = 1; y < G - 1; ++y)
        for (int x = 1; x < G - 1; ++x)
            glyph.setPixel(x, y, qRgb(0, 0, 255));
    const QString caption = "Avanti";

    TCanvas measure;
    measure.Font = TestFont();
    auto size = [&](int limit) {
        QRect r = Rect(0, 0, limit, 0);
        measure.DrawText(caption, r, DT_CALCRECT | DT_WORDBREAK);
        return r.size();
    };
    const QSize side = size(W - 8 - G - 4), above = size(W - 8);
    const int tw = side.width() + 4, total = above.height() + G + 4;
    const int centre = (W - G) / 2;

    struct Case {
        const char* name;
        TPicButtonLayout layout;
        TAlignment alignment;
        bool wordWrap, down;
        QString caption;
        QPoint glyph;  // top-left of the frame
    };
    const Case cases[] = {
        {"left, left", blGlyphLeft, taLeftJustify, false, false, caption, {4, (H - G) / 2}},
        {"left, right", blGlyphLeft, taRightJustify, false, false, caption, {W - 4 - G - tw, (H - G) / 2}},
        {"left, centre", blGlyphLeft, taCenter, false, false, caption, {centre - tw / 2, (H - G) / 2}},
        {"left, centre, pressed", blGlyphLeft, taCenter, false, true, caption, {centre - tw / 2 + 1, (H - G) / 2 + 1}},
        {"left, centre, no caption", blGlyphLeft, taCenter, false, false, "", {centre, (H - G) / 2}},
        {"left, centre, word wrap", blGlyphLeft, taCenter, true, false, caption, {4, (H - G) / 2}},
        {"right, left", blGlyphRight, taLeftJustify, false, false, caption, {4 + tw, (H - G) / 2}},
        {"right, right", blGlyphRight, taRightJustify, false, false, caption, {W - 4 - G, (H - G) / 2}},
        {"right, centre", blGlyphRight, taCenter, false, false, caption, {centre + tw / 2, (H - G) / 2}},
        {"right, right, word wrap", blGlyphRight, taRightJustify, true, false, caption, {4 + tw, (H - G) / 2}},
        {"top, left", blGlyphTop, taLeftJustify, false, false, caption, {4, (H - total) / 2}},
        {"top, right", blGlyphTop, taRightJustify, false, false, caption, {W - G - 4, (H - total) / 2}},
        {"top, centre, word wrap", blGlyphTop, taCenter, true, false, caption, {centre, (H - total) / 2}},
        {"bottom, centre", blGlyphBottom, taCenter, false, false, caption,
         {centre, (H - total) / 2 + above.height()}},
        {"bottom, centre, no caption", blGlyphBottom, taCenter, false, false, "", {centre, (H - (G + 4)) / 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FaceArgs a;
        a.width = W;
        a.height = H;
        a.glyph = glyph;
        a.numGlyphs = 1;
        a.caption = c.caption;
        a.layout = c.layout;
        a.alignment = c.alignment;
        a.wordWrap = c.wordWrap;
        a.down = c.down;
        a.colorWhenDown = clNone;
        a.hotTrackColor = clNone;
        const QImage img = Render(a);
        QRect blue;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (At(img, x, y) == qRgb(0, 0, 255))
                    blue |= QRect(x, y, 1, 1);
        EXPECT_EQ(blue, QRect(c.glyph + QPoint(1, 1), QSize(G - 2, G - 2)));

        // The caption's ink stays inside its rectangle: beside the glyph it is the limit wide and
        // centred on the height; above or below it follows the glyph.
        if (c.caption.isEmpty())
            continue;
        const int off = c.down ? 1 : 0;
        QRect text;
        if (c.layout == blGlyphLeft || c.layout == blGlyphRight) {
            const int left = off + 4 + (c.layout == blGlyphLeft ? G + 4 : 0);
            text = QRect(left, (H - side.height()) / 2 + off, W - 8 - G - 4, side.height());
        } else {
            const int top = (H - total) / 2 + (c.layout == blGlyphTop ? G : 0) + off;
            text = QRect(off + 4, top, W - 8, above.height());
        }
        QRect ink;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const QRgb p = img.pixel(x, y);
                if (qRed(p) < 0xA0 && qGreen(p) < 0xA0 && qBlue(p) < 0xA0 && x > 1 && y > 1 && x < W - 2 && y < H - 2)
                    ink |= QRect(x, y, 1, 1);
            }
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_TRUE(text.contains(ink)) << "ink " << ink.x() << "," << ink.y() << " " << ink.width() << "x"
                                        << ink.height();
    }
}
