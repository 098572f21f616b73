// Pictures of the mark-up renderer: GIF frames and animation, hostile bytes, addresses, lookups.
#include <QBuffer>
#include <gtest/gtest.h>

#include "controls/common/PictureContainer.h"
#include "platform/Exception.h"
#include "support/TempDir.h"

using namespace controls;

namespace {

void Put16(std::vector<uint8_t>& out, int v)
{
    out.push_back(uint8_t(v & 0xFF));
    out.push_back(uint8_t((v >> 8) & 0xFF));
}

// A GIF of a 3 x 1 screen with one 1 x 1 frame per colour index, frame n at x = n - 1, each
// preceded by a graphic-control block with the delay (hundredths of a second) given for it.
std::vector<uint8_t> Gif(const std::vector<int>& delays, bool controlBlocks = true)
{
    std::vector<uint8_t> g = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(g, 3);
    Put16(g, 1);
    g.insert(g.end(), {0x81, 0x03, 0x00});
    // Four colours: red, green, blue, white (the background).
    g.insert(g.end(), {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
    for (size_t i = 0; i < delays.size(); ++i) {
        if (controlBlocks) {
            g.insert(g.end(), {0x21, 0xF9, 0x04, 0x00});
            Put16(g, delays[i]);
            g.insert(g.end(), {0x00, 0x00});
        }
        g.push_back(0x2C);
        Put16(g, int(i));
        Put16(g, 0);
        Put16(g, 1);
        Put16(g, 1);
        g.push_back(0x00);
        // LZW, minimum code size 2: clear, the colour index, end.
        const uint8_t first = i == 0 ? 0x44 : i == 1 ? 0x4C : 0x54;
        g.insert(g.end(), {0x02, 0x02, first, 0x01, 0x00});
    }
    g.push_back(0x3B);
    return g;
}

std::vector<uint8_t> Png(QColor color, int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

TEST(HtmlPictureFrames, SecondOfThreeFramesDecodesAloneAtItsOffsetAndFramesWrap)
{
    THTMLPicture p;
    p.LoadFromBytes(Gif({10, 20, 30}));
    EXPECT_TRUE(p.IsGIF());
    EXPECT_EQ(p.FrameCount(), 3);
    EXPECT_EQ(p.MaxWidth(), 3);
    EXPECT_EQ(p.MaxHeight(), 1);
    EXPECT_EQ(p.GetFrameTime(2), 20);
    EXPECT_EQ(p.GetFrameTime(4), -1);

    int changes = 0;
    p.OnFrameChange = [&] { ++changes; };
    p.SetFrame(2);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(p.FrameXPos(), 1);
    EXPECT_EQ(p.FrameYPos(), 0);
    // Only the second frame is decoded: its green pixel, and nothing of the first frame's red.
    const QImage img = p.Image().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(img.pixelColor(1, 0), QColor(0, 255, 0));
    EXPECT_NE(img.pixelColor(0, 0), QColor(255, 0, 0));

    p.SetFrame(3);
    p.FrameNext();
    EXPECT_EQ(p.Frame(), 1);
    p.FramePrev();
    EXPECT_EQ(p.Frame(), 3);
}

TEST(HtmlPictureFrames, StepMovesOnWhenTheFrameDelayHasPassed)
{
    THTMLPicture p;
    p.LoadFromBytes(Gif({20, 10}));
    // Each step is 100 ms counted from -1: the first frame's 20 hundredths are due at the fourth
    // step, the second frame's 10 at the fifth.
    std::vector<bool> changed;
    for (int i = 0; i < 5; ++i)
        changed.push_back(p.Step());
    EXPECT_EQ(changed, (std::vector<bool>{false, false, false, true, true}));
}

TEST(HtmlPictureFrames, OneFrameOrNoControlBlocksNeverAnimate)
{
    THTMLPicture one;
    one.LoadFromBytes(Gif({10}));
    EXPECT_FALSE(one.Step());
    EXPECT_EQ(one.Frame(), 1);

    THTMLPicture plain;
    plain.LoadFromBytes(Gif({0, 0}, false));
    EXPECT_EQ(plain.FrameCount(), 0);
    EXPECT_FALSE(plain.Empty());
    EXPECT_FALSE(plain.Step());
}

TEST(HtmlPictureBytes, ShortOrTruncatedDataIsRefusedWithoutReadingPastIt)
{
    struct Case {
        const char* Name;
        std::vector<uint8_t> Bytes;
    };
    std::vector<uint8_t> headerOnly = {'G', 'I', 'F', '8', '9', 'a', 3};
    std::vector<uint8_t> patternAtEnd = {'G', 'I', 'F', '8', '9', 'a', 0x21, 0xF9, 0x04, 0, 0, 0, 0, 0, 0x2C, 1};
    for (const Case& c : {Case{"four bytes", {'G', 'I', 'F', '8'}}, Case{"header only", headerOnly},
                          Case{"frame start at the very end", patternAtEnd},
                          Case{"not a picture", {'h', 'e', 'l', 'l', 'o'}}}) {
        THTMLPicture p;
        (void)p.FrameCount();
        EXPECT_THROW(p.LoadFromBytes(c.Bytes), platform::Exception) << c.Name;
        EXPECT_TRUE(p.Empty()) << c.Name;
    }
    // Cut inside the second frame's descriptor: the frame start is seen, its offsets cannot be
    // read and are left at 0, and the intact first frame still shows.
    std::vector<uint8_t> cut = Gif({10, 20});
    cut.resize(cut.size() - 12);
    THTMLPicture p;
    p.LoadFromBytes(cut);
    EXPECT_EQ(p.FrameCount(), 2);
    EXPECT_FALSE(p.Empty());
    try {
        p.SetFrame(2);
    } catch (const platform::Exception&) {
    }
    EXPECT_EQ(p.FrameXPos(), 0);
    EXPECT_EQ(p.FrameWidth(), 0);

    THTMLPicture tiny;
    tiny.LoadFromFile(QStringLiteral("/nonexistent/none.gif"));
    EXPECT_TRUE(tiny.Empty());
    EXPECT_EQ(tiny.FrameCount(), -1);
}

TEST(HtmlPictureBytes, StreamedDataRoundTripsAndAnOverlongLengthIsAnError)
{
    THTMLPicture source;
    source.LoadFromBytes(Png(Qt::red, 4, 3));
    QByteArray stored;
    {
        QBuffer out(&stored);
        out.open(QIODevice::WriteOnly);
        source.WriteData(out);
    }
    THTMLPicture copy;
    int changes = 0;
    copy.OnChange = [&] { ++changes; };
    QBuffer in(&stored);
    in.open(QIODevice::ReadOnly);
    copy.ReadData(in);
    EXPECT_EQ(copy.GetWidth(), 4);
    EXPECT_EQ(copy.GetHeight(), 3);
    EXPECT_EQ(changes, 0);

    // A length that claims more than the stream holds.
    QByteArray hostile = stored;
    hostile[3] = char(0x7F);
    QBuffer bad(&hostile);
    bad.open(QIODevice::ReadOnly);
    EXPECT_THROW(copy.ReadData(bad), platform::Exception);
    EXPECT_EQ(copy.GetWidth(), 4);
}

TEST(HtmlPictureAddresses, OnlyTheProgramsResourcesLoad)
{
    TempDir dir;
    const std::vector<uint8_t> png = Png(Qt::red, 2, 2);
    dir.Write(QStringLiteral("red.png"), QByteArray(reinterpret_cast<const char*>(png.data()), qsizetype(png.size())));

    THTMLPicture resource;
    resource.LoadFromURL(QStringLiteral("res://qt-project.org/styles/commonstyle/images/file-16.png"));
    EXPECT_FALSE(resource.Empty());
    EXPECT_EQ(resource.ID, QStringLiteral("res://qt-project.org/styles/commonstyle/images/file-16.png"));

    THTMLPicture missing;
    missing.LoadFromURL(QStringLiteral("RES://no/such/picture.png"));
    EXPECT_TRUE(missing.Empty());

    THTMLPicture file;
    file.LoadFromURL(QStringLiteral("file://") + dir.File(QStringLiteral("red.png")));
    EXPECT_TRUE(file.Empty());
    EXPECT_EQ(file.ID, QStringLiteral("file://") + dir.File(QStringLiteral("red.png")));

    THTMLPicture web;
    web.LoadFromURL(QStringLiteral("http://127.0.0.1:9/x.png"));
    EXPECT_TRUE(web.Empty());
    EXPECT_TRUE(web.Busy);
    THTMLPicture sync;
    sync.Asynch = false;
    sync.LoadFromURL(QStringLiteral("http://127.0.0.1:9/x.png"));
    EXPECT_FALSE(sync.Busy);
}

TEST(HtmlPictureLookups, ContainerIgnoresCaseCacheDoesNot)
{
    TPictureContainer container;
    TPictureItem* item = container.Items().Add();
    item->Name = QStringLiteral("Logo");
    item->Picture().LoadFromBytes(Png(Qt::blue, 3, 3));
    EXPECT_EQ(container.FindPicture(QStringLiteral("LOGO")), &item->Picture());
    EXPECT_EQ(container.FindPicture(QStringLiteral("other")), nullptr);

    TPictureCollection copy;
    copy.Assign(container.Items());
    container.SetItems(copy);
    ASSERT_EQ(container.Items().Count(), 1);
    EXPECT_EQ(container.Items().Items(0)->Picture().GetWidth(), 3);

    THTMLPictureCache cache;
    THTMLPicture* p = cache.AddPicture();
    p->ID = QStringLiteral("RES://A.png");
    EXPECT_EQ(cache.FindPicture(QStringLiteral("RES://A.png")), p);
    EXPECT_EQ(cache.FindPicture(QStringLiteral("res://a.png")), nullptr);
    cache.ClearPictures();
    EXPECT_EQ(cache.Count(), 0);
}
