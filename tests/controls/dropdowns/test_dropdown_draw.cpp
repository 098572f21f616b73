// The drop-downs' shared drawing routines: gradient bands, colour blending and text fitting.
#include "controls/dropdowns/DropDownDraw.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace dropdowns;
using namespace platform;

namespace {

QImage Blank(int w, int h, QColor c = Qt::magenta)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

TColor At(const QImage& img, int x, int y) { return FromQColor(img.pixelColor(x, y)); }

// How many pixels are exactly the colour, and how many are clearly bluish (blue well above red).
struct Ink {
    int exact = 0, bluish = 0;
};
Ink InkOf(const QImage& img, TColor exact)
{
    Ink ink;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            ink.exact += FromQColor(c) == exact;
            ink.bluish += c.blue() > c.red() + 60;
        }
    return ink;
}

// Mark-up drawn black on white through the drop-downs' routine, in a large bold face so that
// stems carry the pure colour.
QImage DrawnMarkup(const QString& text)
{
    QImage img = Blank(200, 40, Qt::white);
    TCanvas canvas(&img);
    canvas.Font.SetName(QStringLiteral("DejaVu Sans"));
    canvas.Font.setPixelSize(24);
    canvas.Font.setBold(true);
    canvas.Font.Color = clBlack;
    QSize size;
    DrawHTMLText(canvas, text, Rect(2, 2, 198, 38), nullptr, true, QString(), size);
    EXPECT_GT(size.width(), 0);
    return img;
}

}  // namespace

// Black to white in two steps over 10 pixels: bands of Round(4.5) = 4 plus one overlap pixel,
// the second band grey 128 (halves go to the even neighbour), the last column left untouched.
TEST(DrawGradient, TwoBandsOverlapByOnePixelAndRoundHalvesToEven)
{
    QImage img = Blank(12, 12);
    {
        TCanvas canvas(&img);
        DrawGradient(canvas, clBlack, clWhite, 2, Rect(0, 0, 10, 10), true);
    }
    EXPECT_EQ(At(img, 0, 0), clBlack);
    EXPECT_EQ(At(img, 3, 9), clBlack);
    for (int x : {4, 5, 8})
        EXPECT_EQ(At(img, x, 5), RGBToColor(128, 128, 128)) << x;
    EXPECT_EQ(At(img, 9, 5), FromQColor(Qt::magenta));
    EXPECT_EQ(At(img, 5, 10), FromQColor(Qt::magenta));
}

TEST(DrawGradient, ZeroStepsIsOneBandAndVerticalRunsDownwards)
{
    QImage img = Blank(10, 10);
    {
        TCanvas canvas(&img);
        DrawGradient(canvas, clRed, clBlue, 0, Rect(0, 0, 10, 10), true);
    }
    EXPECT_EQ(At(img, 0, 0), clRed);
    EXPECT_EQ(At(img, 8, 8), clRed);

    QImage v = Blank(10, 10);
    {
        TCanvas canvas(&v);
        DrawGradient(canvas, clBlack, clWhite, 2, Rect(0, 0, 10, 10), false);
    }
    EXPECT_EQ(At(v, 9, 0), clBlack);
    EXPECT_EQ(At(v, 0, 6), RGBToColor(128, 128, 128));
    EXPECT_EQ(At(v, 0, 9), FromQColor(Qt::magenta));
}

TEST(DrawGradientRect, PlainFillWithoutSecondColourAndBorderOnTop)
{
    QImage img = Blank(10, 10);
    {
        TCanvas canvas(&img);
        DrawGradientRect(&canvas, Rect(0, 0, 10, 10), clGreen, clNone, clRed, 1, gdVertical);
        DrawGradientRect(nullptr, Rect(0, 0, 10, 10), clGreen, clNone, clRed, 1, gdVertical);
    }
    EXPECT_EQ(At(img, 0, 0), clRed);
    EXPECT_EQ(At(img, 9, 9), clRed);
    EXPECT_EQ(At(img, 5, 5), clGreen);
}

TEST(ColourArithmetic, BlendAndDarken)
{
    struct Case {
        const char* name;
        TColor got, expected;
    };
    const Case cases[] = {
        {"blend 100 is the first colour", BlendColor(clRed, clBlue, 100), clRed},
        {"blend 0 is the second colour", BlendColor(clRed, clBlue, 0), clBlue},
        {"a system colour at 100 stays unconverted", BlendColor(clBtnFace, clBlue, 100), clBtnFace},
        {"blend halves", BlendColor(clWhite, clBlack, 50), RGBToColor(128, 128, 128)},
        {"darker by ten percent", DarkerColor(0xFFFFFF, -10, -10, 0), 0xFFE6E6},
        {"a positive delta does not brighten", DarkerColor(RGBToColor(100, 0, 0), 20, 0, 0), RGBToColor(100, 0, 0)},
        {"a zero channel takes a positive delta", DarkerColor(clBlack, 7, -5, 0), RGBToColor(7, 0, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.name;
}

TEST(TextMeasure, EmptyTextAndFitting)
{
    TCanvas canvas;
    EXPECT_EQ(GetTextSize(canvas, ""), QSize(0, 0));
    const QString text = "A rather long caption";
    const QSize full = GetTextSize(canvas, text);
    EXPECT_GT(full.width(), 0);
    EXPECT_GT(full.height(), 0);
    EXPECT_EQ(FitText(canvas, text, full.width(), true), text);

    const QString cut = FitText(canvas, text, full.width() / 2, true);
    EXPECT_TRUE(cut.endsWith("...")) << cut.toStdString();
    EXPECT_LT(GetTextSize(canvas, cut).width(), full.width() / 2);
    EXPECT_TRUE(text.startsWith(cut.chopped(3)));
    // Nothing fits in no width: the text stays whole.
    EXPECT_EQ(FitText(canvas, text, 0, false), text);

    EXPECT_EQ(MatchCaseText("straße", false), QString("STRASSE"));
    EXPECT_EQ(MatchCaseText("abc", true), QString("abc"));
}

TEST(DrawTransparentBitmap, TopLeftColourIsReplaced)
{
    QImage bmp = Blank(4, 4, Qt::white);
    bmp.setPixelColor(2, 2, Qt::black);
    QImage img = Blank(8, 8);
    {
        TCanvas canvas(&img);
        DrawTransparentBitmap(canvas, bmp, clYellow, Rect(2, 2, 6, 6));
    }
    EXPECT_EQ(At(img, 2, 2), clYellow);
    EXPECT_EQ(At(img, 4, 4), clBlack);
    EXPECT_EQ(At(img, 1, 1), FromQColor(Qt::magenta));
}

// Links take the first of the four renderer colours, grey $808080; shadows the last, $FF0000,
// which is blue: a link is never drawn blue, a shadow is.
TEST(DrawHTMLText, LinksAreGreyAndShadowsBlue)
{
    const Ink link = InkOf(DrawnMarkup(QStringLiteral("<A href=\"x\">HHHH</A>")), clGray);
    EXPECT_GT(link.exact, 20);
    EXPECT_EQ(link.bluish, 0);

    const Ink shadow = InkOf(DrawnMarkup(QStringLiteral("<SHAD>HHHH</SHAD>")), clBlue);
    EXPECT_GT(shadow.exact, 20);

    QImage img = Blank(50, 50);
    TCanvas canvas(&img);
    QSize size(7, 7);
    DrawHTMLText(canvas, QString(), Rect(0, 0, 50, 50), nullptr, true, QString(), size);
    EXPECT_EQ(size, QSize(0, 0));
    EXPECT_EQ(At(img, 10, 10), FromQColor(Qt::magenta));
}
