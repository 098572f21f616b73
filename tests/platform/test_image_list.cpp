// The image list cuts strips into cells, masks a colour and draws by index.
#include "platform/TImageList.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// A strip of `cells` squares of the given size, cell i filled with colour (i + 1) * 40 in red.
QImage Strip(int cells, int size, int width = -1)
{
    QImage img(width < 0 ? cells * size : width, size, QImage::Format_RGB32);
    img.fill(Qt::black);
    for (int i = 0; i < cells; ++i)
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size && i * size + x < img.width(); ++x)
                img.setPixel(i * size + x, y, qRgb((i + 1) * 40, 0, 0));
    return img;
}

}  // namespace

TEST(ImageList, AddCutsAStripIntoSquares)
{
    struct Case {
        const char* name;
        int width;       // of the added image
        int height;
        int wantAdded;
    };
    const Case cases[] = {
        {"four cells", 64, 16, 4},
        {"a partial cell is dropped", 70, 16, 4},
        {"narrower than a cell still adds one", 10, 10, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TImageList list(16, 16);
        list.Add(QImage(1, 1, QImage::Format_RGB32));  // index 0 taken
        const QImage strip = c.height == 16 ? Strip(c.width / 16, 16, c.width) : Strip(1, c.height);
        EXPECT_EQ(list.Add(strip), 1);
        EXPECT_EQ(list.Count(), 1 + c.wantAdded);
        for (int i = 1; i < list.Count(); ++i)
            EXPECT_EQ(list.Image(i).size(), QSize(16, 16));
    }
    TImageList list(16, 16);
    list.Add(Strip(3, 16));
    EXPECT_EQ(qRed(list.Image(2).pixel(8, 8)), 120);
    EXPECT_TRUE(list.Image(3).isNull());
    EXPECT_TRUE(list.Image(-1).isNull());
    EXPECT_EQ(list.Add(QImage()), -1);
    list.SetSize(16, 16);
    EXPECT_EQ(list.Count(), 3) << "an unchanged size keeps the images";
    list.SetSize(8, 8);
    EXPECT_EQ(list.Count(), 0);
}

TEST(ImageList, MaskColourBecomesTransparent)
{
    TImageList list(4, 4);
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(qRgb(255, 0, 255));
    img.setPixel(1, 1, qRgb(0, 0, 255));
    list.AddMasked(img, clFuchsia);
    EXPECT_EQ(qAlpha(list.Image(0).pixel(0, 0)), 0);
    EXPECT_EQ(list.Image(0).pixel(1, 1), qRgb(0, 0, 255));
}

TEST(ImageList, DrawsEnabledOrGreyedAndRefusesBadIndices)
{
    TImageList list(4, 4);
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(qRgb(200, 0, 0));
    list.Add(img);
    QImage target(10, 10, QImage::Format_RGB32);
    const auto drawn = [&](bool enabled, int index) {
        target.fill(Qt::white);
        TCanvas canvas(&target);
        const bool ok = list.Draw(canvas, 3, 3, index, enabled);
        return ok;
    };
    ASSERT_TRUE(drawn(true, 0));
    EXPECT_EQ(target.pixel(3, 3), qRgb(200, 0, 0));
    EXPECT_EQ(target.pixel(2, 2), qRgb(255, 255, 255));
    ASSERT_TRUE(drawn(false, 0));
    const QRgb grey = target.pixel(4, 4);
    EXPECT_EQ(qRed(grey), qGreen(grey)) << "disabled images carry no colour";
    EXPECT_GT(qRed(grey), 60) << "and are faint over the background";
    EXPECT_FALSE(drawn(true, 1));
    EXPECT_FALSE(drawn(true, -1));
    EXPECT_EQ(target.pixel(3, 3), qRgb(255, 255, 255));
    TCanvas measuring;
    EXPECT_FALSE(list.Draw(measuring, 0, 0, 0)) << "a canvas without a painter draws nothing";
}
