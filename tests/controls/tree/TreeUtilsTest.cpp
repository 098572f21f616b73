// The blending routine of the tree's drawing helpers: each mode's arithmetic on known pixels,
// runs that reach past an image, and images it refuses.
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
