// The tree's own drag image: its alpha shape, how it moves over the screen and what it leaves
// behind. The screen is a picture here, so every read and write of it can be checked.
#include "ScannerTreeFixture.h"
#include "TreeFixture.h"
#include "controls/tree/TreeDragImage.h"

#include <QPainter>
#include <cmath>

using namespace treetest;

namespace {

// A screen with a distinct colour in every pixel; records what is read and written.
class PictureScreen : public TDragImageScreen {
public:
    explicit PictureScreen(QImage* screen) : Screen(screen) {}
    QImage Capture(const QRect& r) override
    {
        Captured.push_back(r);
        return Screen->copy(r);
    }
    void Draw(const QImage& image, const QRect& source, QPoint at) override
    {
        Drawn.push_back(QRect(at, source.size()));
        QPainter p(Screen);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(at, image, source);
    }
    QImage* Screen;
    std::vector<QRect> Captured, Drawn;
};

QImage Pattern(QSize size)
{
    QImage img(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x * 7 + y * 3) & 0xFF));
    return img;
}

struct ImageFixture {
    DataTree Tree;
    QImage Screen = Pattern(QSize(200, 200));
    const QImage Original = Screen;
    PictureScreen* Recorder = new PictureScreen(&Screen);
    TTVDragImage Image{&Tree};
    ImageFixture(QSize size = QSize(20, 10))
    {
        Image.SetScreen(std::unique_ptr<TDragImageScreen>(Recorder));
        QImage source(size, QImage::Format_RGB32);
        source.fill(Qt::white);
        Image.PrepareDrag(source, QPoint(50, 60), QPoint(60, 65), nullptr);
        Image.ShowDragImage();
        Recorder->Captured.clear();
        Recorder->Drawn.clear();
    }
    // Hiding puts back what lay under the image: the screen is the original again.
    bool ScreenRestored()
    {
        Image.HideDragImage();
        return Screen == Original;
    }
};

}  // namespace

TEST(DragImage, AlphaFadesFromTheCentreAndTheKeyIsClear)
{
    DataTree tree;
    TTVDragImage image(&tree);
    QImage source(9, 5, QImage::Format_RGB32);
    source.fill(QColor(10, 20, 30));
    source.setPixel(8, 0, qRgb(255, 0, 255));
    image.SetColorKey(platform::TColor(0xFF00FF));
    image.PrepareDrag(source, QPoint(), QPoint(), nullptr);
    const QImage& a = image.Image();
    EXPECT_EQ(qAlpha(a.pixel(4, 2)), 255);
    EXPECT_EQ(qAlpha(a.pixel(8, 0)), 0);
    // Bell-shaped: round(255 * e^(-8 d)), d the distance from the centre over the larger side.
    const double d = std::sqrt((4.0 / 9) * (4.0 / 9) + (2.0 / 9) * (2.0 / 9));
    EXPECT_EQ(qAlpha(a.pixel(0, 0)), int(std::lround(255 * std::exp(-8 * d))));
    EXPECT_EQ(qAlpha(a.pixel(0, 2)), int(std::lround(255 * std::exp(-8 * 4.0 / 9))));
    // The same pixel without a key gets the bell value too.
    TTVDragImage plain(&tree);
    plain.PrepareDrag(source, QPoint(), QPoint(), nullptr);
    EXPECT_EQ(qAlpha(plain.Image().pixel(8, 0)), int(std::lround(255 * std::exp(-8 * std::sqrt(16.0 / 81 + 4.0 / 81)))));
}

TEST(DragImage, StripRectanglesOfSmallMoves)
{
    const int w = 20, h = 10;
    struct Case {
        int dx, dy;
        QRect draw1, draw2, samp1, samp2;
    };
    const Case cases[] = {
        {-2, 0, {0, 0, 2, h}, {}, {w - 2, 0, 2, h}, {}},
        {3, 0, {w - 3, 0, 3, h}, {}, {0, 0, 3, h}, {}},
        {0, 2, {}, {0, h - 2, w, 2}, {}, {0, 0, w, 2}},
        {0, -2, {}, {0, 0, w, 2}, {}, {0, h - 2, w, 2}},
        {-2, -1, {0, 0, 2, h}, {2, 0, w - 2, 1}, {0, h - 1, w - 2, 1}, {w - 2, 0, 2, h}},
        {-2, 1, {0, 0, 2, h}, {2, h - 1, w - 2, 1}, {0, 0, w - 2, 1}, {w - 2, 0, 2, h}},
        {2, 1, {0, h - 1, w - 2, 1}, {w - 2, 0, 2, h}, {0, 0, 2, h}, {2, 0, w - 2, 1}},
        {2, -1, {0, 0, w - 2, 1}, {w - 2, 0, 2, h}, {0, 0, 2, h}, {2, h - 1, w - 2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy);
        const TDragRectangles r = FillDragRectangles(w, h, c.dx, c.dy);
        EXPECT_EQ(r.Draw1, c.draw1);
        EXPECT_EQ(r.Draw2, c.draw2);
        EXPECT_EQ(r.Samp1, c.samp1);
        EXPECT_EQ(r.Samp2, c.samp2);
    }
}

TEST(DragImage, SmallMovesTouchOnlyStripsLargeOnesTheWholeArea)
{
    struct Case {
        const char* name;
        QPoint to;
        std::vector<QRect> captured;
    };
    // The hot spot starts at (60, 65); the image covers (50, 60) 20 x 10.
    const Case cases[] = {
        {"one pixel right", QPoint(61, 65), {QRect(70, 60, 1, 10)}},
        {"one pixel up", QPoint(60, 64), {QRect(50, 59, 20, 1)}},
        {"further than the width", QPoint(90, 65), {QRect(80, 60, 20, 10)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImageFixture f;
        EXPECT_TRUE(f.Image.DragTo(c.to, false));
        EXPECT_EQ(f.Recorder->Captured, c.captured);
        EXPECT_EQ(f.Image.GetDragImageRect(), QRect(QPoint(50, 60) + c.to - QPoint(60, 65), QSize(20, 10)));
        EXPECT_TRUE(f.ScreenRestored());
    }
}

TEST(DragImage, SeveralMovesLeaveNoTrace)
{
    ImageFixture f;
    for (QPoint p : {QPoint(61, 66), QPoint(58, 66), QPoint(58, 61), QPoint(63, 70), QPoint(100, 100), QPoint(99, 99)})
        f.Image.DragTo(p, false);
    EXPECT_TRUE(f.ScreenRestored());
}

TEST(DragImage, RestrictionAndVisibility)
{
    {
        SCOPED_TRACE("horizontal only: a vertical move does nothing");
        ImageFixture f;
        f.Image.SetMoveRestriction(dmrHorizontalOnly);
        EXPECT_FALSE(f.Image.WillMove(QPoint(60, 90)));
        EXPECT_FALSE(f.Image.DragTo(QPoint(60, 90), false));
        EXPECT_TRUE(f.Recorder->Drawn.empty());
        EXPECT_EQ(f.Image.GetDragImageRect().topLeft(), QPoint(50, 60));
        EXPECT_TRUE(f.Image.WillMove(QPoint(61, 90)));
    }
    {
        SCOPED_TRACE("hidden or not prepared: no move");
        ImageFixture f;
        f.Image.HideDragImage();
        EXPECT_FALSE(f.Image.Visible());
        EXPECT_FALSE(f.Image.WillMove(QPoint(70, 70)));
        EXPECT_EQ(f.Image.GetDragImageRect(), QRect());
        DataTree tree;
        TTVDragImage unprepared(&tree);
        EXPECT_FALSE(unprepared.WillMove(QPoint(1, 1)));
        EXPECT_FALSE(unprepared.Visible());
    }
    {
        SCOPED_TRACE("with a data object the drag shows the image; nothing is drawn here");
        DataTree tree;
        TTVDragImage image(&tree);
        QImage screen = Pattern(QSize(50, 50));
        auto* recorder = new PictureScreen(&screen);
        image.SetScreen(std::unique_ptr<TDragImageScreen>(recorder));
        QImage source(10, 10, QImage::Format_RGB32);
        source.fill(Qt::black);
        image.PrepareDrag(source, QPoint(), QPoint(), std::make_shared<TTVDataObject>(&tree, false));
        EXPECT_EQ(image.States(), disSystemSupport);
        image.ShowDragImage();
        EXPECT_FALSE(image.Visible());
        EXPECT_TRUE(recorder->Drawn.empty());
    }
}

TEST(DragImage, TheImageIsBlendedOverTheBackground)
{
    ImageFixture f;
    // The centre pixel: white blended at half strength over the pattern.
    const QRgb under = f.Original.pixel(60, 65);
    const QRgb shown = f.Screen.pixel(60, 65);
    EXPECT_NE(shown, under);
    EXPECT_NEAR(qRed(shown), (qRed(under) + 255) / 2, 3);
    // The corner of a faded image is nearly the background.
    f.Image.SetFade(true);
    f.Image.DragTo(QPoint(61, 65), true);
    const QRgb corner = f.Screen.pixel(51, 60);
    EXPECT_NEAR(qGreen(corner), qGreen(f.Original.pixel(51, 60)), 12);
}

TEST(DragImage, TheTreePaintsItsSelectedRowsAroundTheHotSpot)
{
    for (TTVDragImageKind kind : {diComplete, diNoImage}) {
        SCOPED_TRACE(kind == diNoImage ? "no image" : "complete");
        ScannerTree s;
        s.Window.show();
        ScannerTree::Settle();
        s.Tree->SetDragImageKind(kind);
        s.Tree->SetDragWidth(120);
        s.Tree->SetDragHeight(60);
        // The third meter: far enough down that the image is not cut at the top.
        s.Tree->SetSelected(s.Meter(2), true);
        const QRect row = s.Tree->GetDisplayRect(s.Meter(2), NoColumn, false);
        ASSERT_GE(row.center().y(), 30);
        s.Tree->PrepareDragImage(row.center(), std::make_shared<TTVDataObject>(s.Tree, false));
        if (kind == diNoImage) {
            EXPECT_TRUE(s.Tree->DragImage().Image().isNull());
            continue;
        }
        const QImage& img = s.Tree->DragImage().Image();
        ASSERT_EQ(img.size(), QSize(120, 60));
        if (qEnvironmentVariableIsSet("CONF_SHOW_DRAG_IMAGE"))
            img.save(qEnvironmentVariable("CONF_SHOW_DRAG_IMAGE"));
        // The selected row lies across the middle; the unselected rows above and below do not show.
        const QRgb back = platform::ToQColor(s.Tree->Colors().BackGroundColor()).rgb() & 0xFFFFFF;
        int rowPixels = 0, otherPixels = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                if ((img.pixel(x, y) & 0xFFFFFF) == back || qAlpha(img.pixel(x, y)) == 0)
                    continue;
                (std::abs(y - 30) <= row.height() / 2 ? rowPixels : otherPixels)++;
            }
        EXPECT_GT(rowPixels, 100);
        EXPECT_EQ(otherPixels, 0);
    }
}

TEST(DragImage, AnImageCutAtTheTopLeftKeepsItsHotSpotOverThePoint)
{
    ScannerTree s;
    s.Window.show();
    ScannerTree::Settle();
    s.Tree->SetDragWidth(120);
    s.Tree->SetDragHeight(60);
    s.Tree->SetSelected(s.Meter(0), true);
    // Near the content's corner the image loses what lies above and left of the origin.
    const QPoint p(10, s.Tree->GetDisplayRect(s.Meter(0), NoColumn, false).center().y());
    ASSERT_LT(p.y(), 30);
    s.Tree->PrepareDragImage(p, std::make_shared<TTVDataObject>(s.Tree, false));
    const TTVDragImage& image = s.Tree->DragImage();
    ASSERT_EQ(image.Image().size(), QSize(70, 30 + p.y()));
    // The drag holds the image by the pressed point, not by its middle.
    EXPECT_EQ(image.HotSpot() - image.ImagePosition(), p);
    EXPECT_EQ(image.ImagePosition(), s.Tree->viewport()->mapToGlobal(QPoint(0, 0)));
}

TEST(DragImage, RecapturingTakesTheHeaderStripOnlyWhenAskedFor)
{
    for (bool nonClient : {false, true}) {
        SCOPED_TRACE(nonClient ? "with the non-client part" : "client area only");
        ScannerTree s;
        s.Tree->Header().Columns().Add()->SetWidth(150);
        s.Tree->Header().SetOptions(s.Tree->Header().Options() | hoVisible);
        s.Window.show();
        ScannerTree::Settle();
        ASSERT_GT(s.Tree->NonClientTop(), 0);
        const QPoint stripTop = s.Tree->viewport()->mapToGlobal(QPoint(0, -s.Tree->NonClientTop()));
        QImage screen = Pattern(QSize(stripTop.x() + 300, stripTop.y() + 300));
        const QImage original = screen;
        TTVDragImage image(s.Tree);
        image.SetScreen(std::make_unique<PictureScreen>(&screen));
        QImage source(60, 40, QImage::Format_RGB32);
        source.fill(Qt::white);
        // The image lies over the header strip and reaches into the client area.
        const QPoint at = stripTop + QPoint(5, 0);
        image.PrepareDrag(source, at, at + QPoint(30, 20), nullptr);
        image.ShowDragImage();
        image.RecaptureBackground(s.Tree, s.Tree->ClientRect(), QRegion(), nonClient, false);
        image.HideDragImage();
        const QImage look = s.Tree->grab().toImage();
        const QPoint onStrip = at + QPoint(10, 3);
        const QPoint inClient = s.Tree->viewport()->mapToGlobal(QPoint(15, 5));
        ASSERT_LT(inClient.y(), at.y() + 40);
        // The client part is the tree's own picture either way.
        EXPECT_EQ(screen.pixel(inClient) & 0xFFFFFF, look.pixel(s.Tree->mapFromGlobal(inClient)) & 0xFFFFFF);
        if (nonClient)
            EXPECT_EQ(screen.pixel(onStrip) & 0xFFFFFF, look.pixel(s.Tree->mapFromGlobal(onStrip)) & 0xFFFFFF);
        else
            EXPECT_EQ(screen.pixel(onStrip), original.pixel(onStrip)) << "the strip keeps what was captured";
    }
}
