// The tree's drawing helpers: each blending mode's arithmetic on known pixels, runs that reach
// past an image, and images it refuses; text wrapping and measuring; clipping, origin and
// stretched bitmaps on a canvas.
#include "controls/tree/TreeUtils.h"
#include "platform/Exception.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace tree;

namespace {

QImage Filled(QSize size, QRgb pixel, QImage::Format format = QImage::Format_ARGB32)
{
    QImage image(size, format);
    image.fill(pixel);
    return image;
}

}  // namespace

TEST(AlphaBlendRect, EachModeBlendsItsWay)
{
    struct Case {
        const char* Name;
        TBlendMode Mode;
        QRgb Source;
        int Alpha;
        int Bias;
        QRgb Expected;
    };
    // Destination pixel: alpha 0x80, red 0x40, green 0x80, blue 0xC0.
    const QRgb destination = qRgba(0x40, 0x80, 0xC0, 0x80);
    const Case cases[] = {
        // D + A*(S-D)/256 per byte.
        {"constant half", bmConstantAlpha, qRgba(0xC0, 0x00, 0x40, 0x00), 128, 0, qRgba(0x80, 0x40, 0x80, 0x40)},
        {"constant with bias saturates", bmConstantAlpha, qRgba(0xFF, 0xFF, 0xFF, 0xFF), 256, 16,
         qRgba(0xFF, 0xFF, 0xFF, 0xFF)},
        {"negative bias floors at 0", bmConstantAlpha, qRgba(0x00, 0x00, 0x00, 0x00), 256, -8, qRgba(0, 0, 0, 0)},
        // The source's own alpha byte weighs it.
        {"per pixel", bmPerPixelAlpha, qRgba(0xC0, 0x00, 0x40, 0x80), 0, 0, qRgba(0x80, 0x40, 0x80, 0x80)},
        // Master alpha scales the source alpha: 128 * 255 >> 8 = 127.
        {"master", bmMasterAlpha, qRgba(0xC0, 0x00, 0x40, 0xFF), 128, 0, qRgba(0x7F, 0x40, 0x80, 0xBF)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QImage source = Filled(QSize(4, 4), c.Source);
        QImage target = Filled(QSize(4, 4), destination);
        AlphaBlendRect(&source, &target, QRect(0, 0, 2, 2), QPoint(1, 1), c.Mode, c.Alpha, c.Bias);
        EXPECT_EQ(target.pixel(1, 1), c.Expected);
        EXPECT_EQ(target.pixel(2, 2), c.Expected);
        // Outside the run nothing changes.
        EXPECT_EQ(target.pixel(0, 0), destination);
        EXPECT_EQ(target.pixel(3, 3), destination);
    }
}

TEST(AlphaBlendRect, ColourModeWashesTheDestinationAtRIgnoringTarget)
{
    QImage target = Filled(QSize(6, 6), qRgb(255, 255, 255), QImage::Format_RGB32);
    // The colour is an RGB value with red in the low byte: pure blue here.
    AlphaBlendRect(nullptr, &target, QRect(2, 2, 2, 2), QPoint(0, 0), bmConstantAlphaAndColor, 128, 0xFF0000);
    // (128 * C + 128 * 255) >> 8: blue stays 255, red and green halve. The alpha byte stays opaque.
    EXPECT_EQ(target.pixel(2, 2), qRgb(127, 127, 255));
    EXPECT_EQ(target.pixel(3, 3), qRgb(127, 127, 255));
    EXPECT_EQ(target.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(target.pixel(4, 4), qRgb(255, 255, 255));
}

TEST(AlphaBlendRect, RunsReachingPastAnImageStopAtItsEdge)
{
    const QImage source = Filled(QSize(4, 4), qRgba(0, 0, 0, 0));
    QImage target = Filled(QSize(4, 4), qRgba(200, 200, 200, 200));
    // Half of R lies left of the source, and the rest would land past the target's right edge.
    AlphaBlendRect(&source, &target, QRect(-2, 0, 8, 2), QPoint(1, 0), bmConstantAlpha, 256, 0);
    // Source column 0 lands at target column 3 (1 + 2); nothing else is written.
    EXPECT_EQ(target.pixel(3, 0), qRgba(0, 0, 0, 0));
    EXPECT_EQ(target.pixel(2, 0), qRgba(200, 200, 200, 200));
    EXPECT_EQ(target.pixel(3, 2), qRgba(200, 200, 200, 200));
    // A colour wash larger than the image covers the image and no more.
    AlphaBlendRect(nullptr, &target, QRect(-10, -10, 100, 100), QPoint(), bmConstantAlphaAndColor, 256, 0);
    EXPECT_EQ(target.pixel(0, 0), qRgba(0, 0, 0, 0));
    EXPECT_EQ(target.pixel(3, 3), qRgba(0, 0, 0, 0));
}

TEST(AlphaBlendRect, RefusesMissingAndNarrowBitmaps)
{
    const QImage good = Filled(QSize(2, 2), qRgb(1, 2, 3));
    QImage narrow(2, 2, QImage::Format_RGB16);
    QImage target = good;
    const QRect r(0, 0, 1, 1);
    EXPECT_THROW(AlphaBlendRect(&good, &narrow, r, QPoint(), bmConstantAlpha, 128, 0), platform::Exception);
    EXPECT_THROW(AlphaBlendRect(&narrow, &target, r, QPoint(), bmConstantAlpha, 128, 0), platform::Exception);
    EXPECT_THROW(AlphaBlendRect(nullptr, &target, r, QPoint(), bmConstantAlpha, 128, 0), platform::Exception);
    EXPECT_THROW(AlphaBlendRect(&good, nullptr, r, QPoint(), bmConstantAlphaAndColor, 128, 0), platform::Exception);
    // An empty rectangle asks nothing of the images.
    EXPECT_NO_THROW(AlphaBlendRect(nullptr, nullptr, QRect(), QPoint(), bmConstantAlpha, 128, 0));
}

TEST(BlendRectWithColor, BlendsIntoAnImageThroughThePaintersTranslationAndClip)
{
    QImage image = Filled(QSize(10, 10), qRgb(255, 255, 255), QImage::Format_RGB32);
    {
        QPainter p(&image);
        p.translate(-5, 2);
        p.setClipRect(QRect(5, -2, 4, 4));
        // Device rectangle (1..8, 3..4), cut by the clip to columns 0..3 and rows 0..3.
        BlendRectWithColor(p, QRect(6, 1, 8, 2), platform::TColor(0x0000FF), 256);
    }
    EXPECT_EQ(image.pixel(1, 3), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(4, 3), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(1, 4), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(0, 3), qRgb(255, 255, 255));
}

TEST(TreeUtils, NormalizedRectAndRgbColours)
{
    EXPECT_EQ(NormalizedRect(10, 20, 2, 4), platform::Rect(2, 4, 10, 20));
    EXPECT_EQ(NormalizedRect(2, 4, 10, 20), platform::Rect(2, 4, 10, 20));
    EXPECT_EQ(GetRGBColor(platform::clNone), 0xFFFFFFFFu);
    EXPECT_EQ(GetRGBColor(platform::clDefault), 0xFF000000u);
    EXPECT_EQ(GetRGBColor(0x123456), 0x123456u);
}

namespace {
// The width a text takes when laid out as the wrapping measures it.
int Extent(platform::TCanvas& canvas, const QString& s)
{
    QRect r(0, 0, 1, 1);
    GetStringDrawRect(canvas, s, r, platform::DT_NOPREFIX);
    return r.width();
}
}  // namespace

TEST(TextRoutines, TheDrawRectGrowsFromItsCorner)
{
    platform::TCanvas canvas;
    QRect r(10, 20, 500, 300);
    GetStringDrawRect(canvas, QStringLiteral("Meter 17"), r, platform::DT_NOPREFIX);
    EXPECT_EQ(r.topLeft(), QPoint(10, 20));
    EXPECT_EQ(r.width(), canvas.TextWidth(QStringLiteral("Meter 17")));
    EXPECT_EQ(r.height(), canvas.TextHeight(QStringLiteral("Meter 17")));
}

TEST(TextRoutines, WrapStringBreaksAtSpacesAndCutsWordsWiderThanALine)
{
    platform::TCanvas canvas;
    auto width = [&](const char* s) { return Extent(canvas, QString::fromLatin1(s)); };
    const struct {
        const char* Name;
        const char* Text;
        int Width;
        bool Rtl;
        const char* Expected;
    } cases[] = {
        {"all on one line", "alpha beta", width("alpha beta"), false, "alpha beta"},
        {"one pixel short", "alpha beta", width("alpha beta") - 1, false, "alpha\nbeta"},
        {"two words a line", "alpha beta gamma delta", width("gamma delta"), false, "alpha beta\ngamma delta"},
        {"trimmed first", "  alpha  ", 500, false, "alpha"},
        {"blank", "   ", 500, false, ""},
        {"a long word is cut", "12345678", width("123"), false, "123\n456\n78"},
        {"nothing fits: a character a line", "ab c", 0, false, "a\nb\nc"},
        {"right to left: lines from the end", "alpha beta gamma", width("beta gamma"), true, "beta gamma\nalpha"},
        {"right to left: a long word keeps its end", "12345678", width("678"), true, "678\n345\n12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QRect bounds(0, 0, c.Width, 20);
        EXPECT_EQ(WrapString(canvas, QString::fromLatin1(c.Text), bounds, c.Rtl, platform::DT_NOPREFIX),
                  QString::fromLatin1(c.Expected));
    }
}

TEST(CanvasRoutines, ClipOriginAndStretchedBitmap)
{
    QImage target = Filled(QSize(40, 40), qRgb(255, 255, 255), QImage::Format_RGB32);
    QPainter painter(&target);
    platform::TCanvas canvas;
    canvas.Attach(&painter);

    // The bitmap's two columns stretched over a 20 x 10 rectangle, copied as they are.
    QImage bitmap(2, 1, QImage::Format_ARGB32);
    bitmap.setPixel(0, 0, qRgb(255, 0, 0));
    bitmap.setPixel(1, 0, qRgba(0, 0, 255, 255));
    StretchDrawBitmap(canvas, QRect(0, 0, 20, 10), bitmap);
    EXPECT_EQ(target.pixel(2, 5), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(17, 5), qRgb(0, 0, 255));

    // Canvas point (10, 10) becomes the device's origin, whatever the origin was.
    painter.translate(7, 3);
    SetCanvasOrigin(canvas, 10, 10);
    painter.fillRect(QRect(10, 10, 2, 2), Qt::black);
    EXPECT_EQ(target.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(target.pixel(3, 3), qRgb(255, 0, 0)) << "the bitmap beside the 2 x 2 square";

    // Painting keeps within the clip rectangle and the visible region together.
    SetCanvasOrigin(canvas, 0, 0);
    ClipCanvas(canvas, QRect(20, 20, 10, 10), QRegion(25, 0, 15, 40));
    painter.fillRect(QRect(0, 0, 40, 40), Qt::green);
    painter.end();
    EXPECT_EQ(target.pixel(27, 27), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(22, 27), qRgb(255, 255, 255)) << "outside the visible region";
    EXPECT_EQ(target.pixel(35, 27), qRgb(255, 255, 255)) << "outside the clip rectangle";
}
