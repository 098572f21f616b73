// The background picture behind the rows and below them: tiled from the client's origin so that
// rows and the empty area join up, or placed once over the control's colour.
#include "TreeFixture.h"

#include <QPainter>

using namespace treetest;

namespace {

constexpr int RowHeight = 18;

// Two text-less rows in a tree with a picture that is red in its upper half and blue below.
class PictureTree : public TBaseNodeTree {
public:
    PictureTree()
    {
        resize(120, 100);
        SetDefaultNodeHeight(RowHeight);
        SetRootNodeCount(2);
        QImage picture(12, 2 * RowHeight, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QPainter(&picture).fillRect(0, 0, 12, RowHeight, Qt::red);
        SetBackground(picture);
        TreeOptions().SetPaintOptions(TreeOptions().PaintOptions() | toShowBackground);
    }
};

}  // namespace

TEST(BackgroundPicture, TilesFollowEachRowsPlaceAndRunOnBelowTheRows)
{
    PictureTree t;
    const QImage image = t.RenderClient();
    EXPECT_EQ(image.pixelColor(60, 4), QColor(Qt::red)) << "first row";
    EXPECT_EQ(image.pixelColor(60, RowHeight + 4), QColor(Qt::blue)) << "second row, lower half of the picture";
    EXPECT_EQ(image.pixelColor(60, 2 * RowHeight + 4), QColor(Qt::red)) << "below the rows the tiles go on";
    EXPECT_EQ(image.pixelColor(60, 3 * RowHeight + 4), QColor(Qt::blue));

    // The offsets move the tiles.
    t.SetBackgroundOffsetY(RowHeight);
    const QImage moved = t.RenderClient();
    EXPECT_EQ(moved.pixelColor(60, 4), QColor(Qt::blue));
    EXPECT_EQ(moved.pixelColor(60, RowHeight + 4), QColor(Qt::red));
}

TEST(BackgroundPicture, AStaticPictureShowsOnceOverTheControlColour)
{
    PictureTree t;
    t.TreeOptions().SetPaintOptions(t.TreeOptions().PaintOptions() | toStaticBackground);
    t.SetColor(platform::clWhite);
    t.SetBackgroundOffsetX(30);
    t.SetBackgroundOffsetY(10);
    const QImage image = t.RenderClient();
    EXPECT_EQ(image.pixelColor(32, 12), QColor(Qt::red)) << "the picture's corner at the offsets";
    EXPECT_EQ(image.pixelColor(32, 10 + RowHeight + 2), QColor(Qt::blue)) << "across the row border";
    EXPECT_EQ(image.pixelColor(32, 10 + 2 * RowHeight + 2), QColor(Qt::white)) << "not repeated below";
    EXPECT_EQ(image.pixelColor(50, 12), QColor(Qt::white)) << "nor to the right";
    EXPECT_EQ(image.pixelColor(10, 12), QColor(Qt::white));
}
