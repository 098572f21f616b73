// The mark-up renderer: sizes of the tag set, plain text for what is not a tag, anchors, images,
// in-cell controls and a golden image of the whole tag set.
#include <QBuffer>
#include <gtest/gtest.h>

#include "HtmlTestUtil.h"
#include "controls/common/EsgHTMLE.h"
#include "controls/common/PictureContainer.h"
#include "platform/TImageList.h"
#include "support/GoldenImage.h"
#include "support/TempDir.h"

using namespace controls;
using namespace htmltest;
using platform::TCanvas;
using platform::TFont;

namespace {

const QString FileIcon = QStringLiteral("RES://qt-project.org/styles/commonstyle/images/file-16.png");

TFont Bold()
{
    TFont f = TestFont();
    f.setBold(true);
    return f;
}

TFont Points(int points)
{
    TFont f = TestFont();
    f.setPointSize(points);
    return f;
}

int W(const QString& text, const TFont& font = TestFont()) { return PlainSize(text, font).width(); }
int H(const TFont& font) { return GhHeight(font); }

QSize Measure(const QString& text, int width = 400, bool wrap = false, const platform::TImageList* images = nullptr)
{
    TCanvas canvas;
    canvas.Font = TestFont();
    return MeasureHTMLText(canvas, text, QRect(0, 0, width, 400), wrap, images);
}

// Draws the text on white and answers the image.
QImage Draw(const QString& text, QSize size, THTMLRenderInput in = {}, THTMLRenderResult* result = nullptr)
{
    QImage img = WhiteImage(size.width(), size.height());
    {
        TCanvas canvas(&img);
        canvas.Font = TestFont();
        canvas.Brush.Style = platform::TBrushStyle::bsClear;
        THTMLRenderResult out;
        RenderHTMLText(canvas, text, QRect(QPoint(0, 0), size), in, result ? *result : out);
    }
    return img;
}

bool IsRed(QColor c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; }
bool IsBlue(QColor c) { return c.blue() > 200 && c.red() < 80 && c.green() < 80; }

}  // namespace

struct MeasureCase {
    const char* Name;
    QString Text;
    std::function<QSize()> Expected;
};

class HtmlMeasure : public ::testing::TestWithParam<MeasureCase> {};

TEST_P(HtmlMeasure, MeasuresAsTheTextShows)
{
    EXPECT_EQ(Measure(GetParam().Text), GetParam().Expected()) << GetParam().Name;
}

INSTANTIATE_TEST_SUITE_P(
    TagSet, HtmlMeasure,
    ::testing::Values(
        MeasureCase{"EmptyIsOneGhLineOfNoWidth", QString(), [] { return QSize(0, H(TestFont())); }},
        MeasureCase{"LineBreakGivesTwoLines", QStringLiteral("abc<BR>de"),
                    [] { return QSize(W(QStringLiteral("abc")), 2 * H(TestFont())); }},
        MeasureCase{"CarriageReturnBreaksLineFeedGoes", QStringLiteral("abc\r\nde"),
                    [] { return QSize(W(QStringLiteral("abc")), 2 * H(TestFont())); }},
        MeasureCase{"BoldMeasuresInTheBoldFont", QStringLiteral("<B>Bold</B> x"),
                    [] { return QSize(W(QStringLiteral("Bold"), Bold()) + W(QStringLiteral(" x")), H(TestFont())); }},
        MeasureCase{"EscapedTagIsTextAndNotBold", QStringLiteral("&lt;B&gt;x"),
                    [] { return QSize(W(QStringLiteral("<B>x")), H(TestFont())); }},
        MeasureCase{"AmpersandEntityShowsOneAmpersand", QStringLiteral("a&amp;b"),
                    [] { return QSize(W(QStringLiteral("a&b")), H(TestFont())); }},
        MeasureCase{"BareAmpersandMarksAnAccessKey", QStringLiteral("&xy"),
                    [] { return QSize(W(QStringLiteral("xy")), H(TestFont())); }},
        MeasureCase{"LessThanThatOpensNoTagIsText", QStringLiteral("a < b"),
                    [] { return QSize(W(QStringLiteral("a < b")), H(TestFont())); }},
        MeasureCase{"UnknownTagIsText", QStringLiteral("<XY>z"),
                    [] { return QSize(W(QStringLiteral("<XY>z")), H(TestFont())); }},
        MeasureCase{"UnclosedTagAtTheEndIsText", QStringLiteral("x<B"),
                    [] { return QSize(W(QStringLiteral("x")) + W(QStringLiteral("<B")), H(TestFont())); }},
        MeasureCase{"TrailingSpaceIsLeftOut", QStringLiteral("ab "),
                    [] { return QSize(W(QStringLiteral("ab ")) - W(QStringLiteral(" ")), H(TestFont())); }},
        MeasureCase{"FontSizeTwoIsTenPoints", QStringLiteral("<FONT SIZE=\"2\">Ag</FONT>"),
                    [] { return QSize(W(QStringLiteral("Ag"), Points(10)), std::max(H(TestFont()), H(Points(10)))); }},
        MeasureCase{"FontSizeTwentyIsTwentyPointsWithoutQuotes", QStringLiteral("<FONT SIZE=20>Ag</FONT>"),
                    [] { return QSize(W(QStringLiteral("Ag"), Points(20)), H(Points(20))); }},
        MeasureCase{"HiddenTextTakesNoWidth", QStringLiteral("<Z>hidden</Z>v"),
                    [] { return QSize(W(QStringLiteral("v")), H(TestFont())); }},
        MeasureCase{"ListTagEndsTheLineAndSecondItemStartsANewOne", QStringLiteral("<UL><LI>a<LI>b</UL>"),
                    [] { return QSize(12 + W(QStringLiteral("a")), 3 * H(TestFont())); }}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(HtmlLayout, WordWrapBreaksAtSpacesAndKeepsAWideWordWhole)
{
    const int gh = GhHeight();
    // Without word wrap a long text is one line.
    EXPECT_EQ(Measure(QStringLiteral("one two three four five six"), 60, false).height(), gh);
    // With it the lines break at spaces and none is wider than the rectangle.
    const QSize wrapped = Measure(QStringLiteral("one two three four five six"), 60, true);
    EXPECT_GT(wrapped.height(), gh);
    EXPECT_EQ(wrapped.height() % gh, 0);
    EXPECT_LE(wrapped.width(), 60);
    // A word wider than the line stays whole on its own line.
    const QString word = QStringLiteral("Supercalifragilistic");
    EXPECT_EQ(Measure(QStringLiteral("x ") + word, 30, true), QSize(W(word), 2 * gh));
}

TEST(HtmlLayout, TextWithoutWrapIsCutWithAnEllipsisAtTheRightEdge)
{
    const QString text = QStringLiteral("abcdefghijklmnopqrstuvwxyz abcdefghijklmnopqrstuvwxyz");
    const QImage img = Draw(text, QSize(80, 20));
    const auto [left, right] = InkColumns(img);
    EXPECT_GE(left, 0);
    EXPECT_LT(right, 80);
    // The ellipsis is the last thing drawn: its dots sit on the baseline, the area above is empty.
    const QImage full = Draw(text, QSize(400, 20));
    EXPECT_NE(img.copy(0, 0, 80, 20), full.copy(0, 0, 80, 20));
}

TEST(HtmlLayout, CentredParagraphCentresThisAndFollowingLines)
{
    const QImage img = Draw(QStringLiteral("<P ALIGN=\"CENTER\">abc</P>de"), QSize(200, 40));
    const int gh = GhHeight();
    const auto [l1, r1] = InkColumns(img, 0, gh);
    const auto [l2, r2] = InkColumns(img, gh, 2 * gh);
    EXPECT_NEAR((l1 + r1) / 2, 100, 3);
    EXPECT_NEAR((l2 + r2) / 2, 100, 3);
}

TEST(HtmlLayout, FontColourQuotedHexOrNameInAnyCaseGivesRedUnquotedNothing)
{
    for (const char* tag : {"<FONT COLOR=\"#FF0000\">", "<FONT COLOR=\"clRed\">", "<FONT COLOR=\"CLRED\">"})
        EXPECT_GT(CountPixels(Draw(QLatin1String(tag) + QStringLiteral("MMM</FONT>"), QSize(80, 20)), IsRed), 10)
            << tag;
    EXPECT_EQ(CountPixels(Draw(QStringLiteral("<FONT COLOR=clRed>MMM</FONT>"), QSize(80, 20)), IsRed), 0);
}

TEST(HtmlLayout, HighlightPaintsTheCallersColoursAndSelectionKeepsColourTagsOff)
{
    const auto isLime = [](QColor c) { return c == QColor(0, 255, 0); };
    THTMLRenderInput lime;
    lime.HighlightColor = platform::clLime;
    lime.HighlightTextColor = platform::clRed;
    const QImage img = Draw(QStringLiteral("<HI>MMM</HI>"), QSize(80, 20), lime);
    EXPECT_GT(CountPixels(img, isLime), 50);
    EXPECT_GT(CountPixels(img, IsRed), 5);
    // One caller's colours are its own: a call without them paints the system's.
    const QImage plain = Draw(QStringLiteral("<HI>MMM</HI>"), QSize(80, 20));
    EXPECT_EQ(CountPixels(plain, isLime), 0);
    EXPECT_GT(CountPixels(plain, [](QColor c) { return c == platform::ToQColor(platform::ColorToRGB(platform::clHighlight)); }),
              50);

    THTMLRenderInput selected;
    selected.Selected = true;
    EXPECT_EQ(CountPixels(Draw(QStringLiteral("<FONT COLOR=\"clRed\">MMM</FONT>"), QSize(80, 20), selected), IsRed), 0);
    EXPECT_EQ(CountPixels(Draw(QStringLiteral("<A HREF=\"x\">MMM</A>"), QSize(80, 20), selected), IsBlue), 0);
    EXPECT_GT(CountPixels(Draw(QStringLiteral("<A HREF=\"x\">MMM</A>"), QSize(80, 20)), IsBlue), 10);
}

TEST(HtmlLayout, CanvasComesBackAsItWas)
{
    QImage img = WhiteImage(100, 30);
    TCanvas canvas(&img);
    canvas.Font = TestFont();
    canvas.Pen = platform::TPen{platform::clGreen, 3};
    canvas.Brush = platform::TBrush{platform::clYellow, platform::TBrushStyle::bsSolid};
    THTMLRenderResult out;
    RenderHTMLText(canvas, QStringLiteral("<B><I><FONT COLOR=\"clRed\" FACE=\"DejaVu Serif\">x"), QRect(0, 0, 100, 30),
                   {}, out);
    EXPECT_EQ(canvas.Pen.Color, platform::clGreen);
    EXPECT_EQ(canvas.Pen.Width, 3);
    EXPECT_EQ(canvas.Brush.Color, platform::clYellow);
    EXPECT_EQ(canvas.Brush.Style, platform::TBrushStyle::bsSolid);
    EXPECT_EQ(QFont(canvas.Font), QFont(TestFont()));
    EXPECT_EQ(canvas.Font.Color, platform::clBlack);
}

// ---- Anchors ----

class HtmlAnchors : public ::testing::Test {
protected:
    const QString Text = QStringLiteral("go <A HREF=\"http://example.com/a\" TITLE=\"Example\">link</A> end");
    int LinkLeft() const { return 1 + W(QStringLiteral("go ")); }

    bool HitAt(int x, int y, THTMLRenderResult& out)
    {
        QImage img = WhiteImage(300, 40);
        TCanvas canvas(&img);
        canvas.Font = TestFont();
        THTMLRenderInput in;
        in.HitOnly = true;
        in.HitX = x;
        in.HitY = y;
        return RenderHTMLText(canvas, Text, QRect(0, 0, 300, 40), in, out);
    }
};

TEST_F(HtmlAnchors, PointOnTheAnchorTextAnswersItsTargetTitleAndRectangle)
{
    THTMLRenderResult out;
    EXPECT_TRUE(HitAt(LinkLeft() + 3, GhHeight() / 2, out));
    EXPECT_EQ(out.Anchor, QStringLiteral("http://example.com/a"));
    EXPECT_EQ(out.AnchorTitle, QStringLiteral("Example"));
    EXPECT_EQ(out.LinkUnderPoint, 1);
    EXPECT_EQ(out.LinkCount, 1);
    EXPECT_EQ(out.HoverRect.left(), LinkLeft());
    EXPECT_EQ(out.HoverRect.width(), W(QStringLiteral("link")));
    EXPECT_EQ(out.HoverRect.height(), GhHeight());
}

TEST_F(HtmlAnchors, PointBesideOrBelowTheAnchorFindsNone)
{
    for (const QPoint p : {QPoint(3, 5), QPoint(LinkLeft() + 3, GhHeight() + 10)}) {
        THTMLRenderResult out;
        EXPECT_FALSE(HitAt(p.x(), p.y(), out)) << p.x() << "," << p.y();
        EXPECT_TRUE(out.Anchor.isEmpty());
        EXPECT_EQ(out.LinkUnderPoint, -1);
        EXPECT_EQ(out.LinkCount, 1);
    }
}

TEST_F(HtmlAnchors, MeasuringFindsTheAnchorButNeverAnswersTrue)
{
    TCanvas canvas;
    canvas.Font = TestFont();
    THTMLRenderInput in;
    in.MeasureOnly = true;
    in.HitX = LinkLeft() + 3;
    in.HitY = 5;
    THTMLRenderResult out;
    EXPECT_FALSE(RenderHTMLText(canvas, Text, QRect(0, 0, 300, 40), in, out));
    EXPECT_EQ(out.Anchor, QStringLiteral("http://example.com/a"));
}

TEST_F(HtmlAnchors, FocusedAnchorIsReportedWhileDrawing)
{
    THTMLRenderInput in;
    in.FocusLink = 0;
    THTMLRenderResult out;
    Draw(Text, QSize(300, 40), in, &out);
    EXPECT_EQ(out.FocusAnchor, QStringLiteral("http://example.com/a"));
}

// ---- Images ----

class HtmlImages : public ::testing::Test {
protected:
    static QImage Solid(QColor c, int w, int h)
    {
        QImage img(w, h, QImage::Format_ARGB32);
        img.fill(c);
        return img;
    }
    static std::vector<uint8_t> Png(const QImage& img)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        img.save(&buffer, "PNG");
        return std::vector<uint8_t>(bytes.begin(), bytes.end());
    }
};

TEST_F(HtmlImages, ImageListIndexTakesRoomAndDraws)
{
    platform::TImageList list(16, 16);
    list.Add(Solid(Qt::red, 16, 16));
    EXPECT_EQ(Measure(QStringLiteral("<IMG SRC=\"IDX:0\">ab"), 400, false, &list),
              QSize(16 + W(QStringLiteral("ab")), std::max(16, GhHeight())));
    // An index past the list takes no room.
    EXPECT_EQ(Measure(QStringLiteral("<IMG SRC=\"IDX:1\">ab"), 400, false, &list).width(), W(QStringLiteral("ab")));
    THTMLRenderInput in;
    in.Images = &list;
    EXPECT_EQ(CountPixels(Draw(QStringLiteral("<IMG SRC=\"IDX:0\">"), QSize(40, 20), in), IsRed), 256);
}

TEST_F(HtmlImages, ContainerNamesCompareWithoutCaseAndGivenSizesStretch)
{
    TPictureContainer container;
    TPictureItem* item = container.Items().Add();
    item->Name = QStringLiteral("Logo");
    item->Picture().LoadFromBytes(Png(Solid(Qt::red, 10, 5)));
    THTMLRenderInput in;
    in.Container = &container;
    THTMLRenderResult out;
    Draw(QStringLiteral("<IMG SRC=\"logo\">"), QSize(60, 40), in, &out);
    EXPECT_EQ(out.Width, 10);
    EXPECT_EQ(CountPixels(Draw(QStringLiteral("<IMG SRC=\"LOGO\" WIDTH=\"20\">"), QSize(60, 40), in), IsRed), 200);
}

TEST_F(HtmlImages, ProgramResourcesLoadOnceAndFilesOrTheNetworkNever)
{
    // A real picture file: the renderer must still not read it.
    TempDir dir;
    const std::vector<uint8_t> png = Png(Solid(Qt::red, 10, 10));
    dir.Write(QStringLiteral("red.png"), QByteArray(reinterpret_cast<const char*>(png.data()), qsizetype(png.size())));
    const QString file = dir.File(QStringLiteral("red.png"));
    THTMLPictureCache cache;
    THTMLRenderInput in;
    in.Cache = &cache;
    THTMLRenderResult out;
    Draw(QStringLiteral("<IMG SRC=\"") + FileIcon + QStringLiteral("\">"), QSize(60, 40), in, &out);
    EXPECT_EQ(out.Width, 16);
    Draw(QStringLiteral("<IMG SRC=\"") + FileIcon + QStringLiteral("\">"), QSize(60, 40), in, &out);
    EXPECT_EQ(cache.Count(), 1);

    for (const QString& address : {QStringLiteral("file://") + file, QStringLiteral("http://127.0.0.1:9/x.png")}) {
        Draw(QStringLiteral("<IMG SRC=\"") + address + QStringLiteral("\">x"), QSize(60, 40), in, &out);
        EXPECT_EQ(out.Width, W(QStringLiteral("x"))) << address.toStdString();
        THTMLPicture* picture = cache.FindPicture(address);
        ASSERT_NE(picture, nullptr);
        EXPECT_TRUE(picture->Empty());
    }
}

TEST_F(HtmlImages, ImageInsideAnAnchorIsDrawnFromItsAltSourceUnderThePoint)
{
    TPictureContainer container;
    for (auto [name, color] : {std::pair{"plain", QColor(Qt::red)}, std::pair{"hot", QColor(Qt::blue)}}) {
        TPictureItem* item = container.Items().Add();
        item->Name = QLatin1String(name);
        item->Picture().LoadFromBytes(Png(Solid(color, 10, 10)));
    }
    const QString text = QStringLiteral("<A HREF=\"go\"><IMG SRC=\"plain\" ALT=\"hot\"></A>");
    THTMLRenderInput in;
    in.Container = &container;
    EXPECT_EQ(CountPixels(Draw(text, QSize(40, 20), in), IsRed), 100);
    in.HitX = 5;
    in.HitY = 5;
    THTMLRenderResult out;
    const QImage hot = Draw(text, QSize(40, 20), in, &out);
    EXPECT_EQ(CountPixels(hot, IsBlue), 100);
    EXPECT_EQ(out.Anchor, QStringLiteral("go"));
}

// ---- In-cell controls ----

TEST(HtmlControls, ControlIsFoundByItsIdInHitOnlyCalls)
{
    QImage img = WhiteImage(300, 40);
    TCanvas canvas(&img);
    canvas.Font = TestFont();
    THTMLRenderInput in;
    in.HitOnly = true;
    in.ControlID = QStringLiteral("e2");
    THTMLRenderResult out;
    const QString text = QStringLiteral("a <CONTROL TYPE=\"edit\" ID=\"e1\" VALUE=\"x\" WIDTH=\"40\">"
                                        "<CONTROL TYPE=\"COMBO\" ID=\"e2\" VALUE=\"caf&eacute;\" WIDTH=\"60\">");
    EXPECT_TRUE(RenderHTMLText(canvas, text, QRect(0, 0, 300, 40), in, out));
    EXPECT_EQ(out.ControlID, QStringLiteral("e2"));
    EXPECT_EQ(out.ControlType, QStringLiteral("COMBO"));
    EXPECT_EQ(out.ControlValue, QString::fromUtf8("caf\u00e9"));
    EXPECT_EQ(out.Anchor, QStringLiteral("ctrl"));
    EXPECT_EQ(out.ControlRect.left(), W(QStringLiteral("a ")) + 40);
    EXPECT_EQ(out.ControlRect.size(), QSize(60, 25));
}

TEST(HtmlControls, ControlThatNoLongerFitsGoesToTheNextLine)
{
    const QString control = QStringLiteral("<CONTROL TYPE=\"EDIT\" ID=\"e\" WIDTH=\"50\">");
    const QSize fits = Measure(QStringLiteral("ab") + control, 200);
    const QSize moved = Measure(QStringLiteral("ab") + control, W(QStringLiteral("ab")) + 30);
    EXPECT_EQ(fits.height(), 23);
    EXPECT_EQ(moved.height(), GhHeight() + 23);
}

// ---- The tag set as a picture ----

TEST(HtmlGolden, TagSet)
{
    platform::TImageList list(16, 16);
    QImage square(16, 16, QImage::Format_ARGB32);
    square.fill(QColor(0, 128, 0));
    list.Add(square);
    THTMLPictureCache cache;
    THTMLRenderInput in;
    in.HighlightColor = platform::clYellow;
    in.HighlightTextColor = platform::clBlack;
    in.Images = &list;
    in.Cache = &cache;
    const QString text =
        QStringLiteral("<B>Bold</B> <I>italic</I> <U>under</U> <S>strike</S> <FONT COLOR=\"clRed\" SIZE=\"4\">red</FONT>"
                       " <FONT COLOR=\"#0000FF\" FACE=\"DejaVu Serif\">serif</FONT><BR>"
                       "x<SUP>2</SUP> H<SUB>2</SUB>O <SH>shadow</SH> <E>eror</E> <HI>highlight</HI>"
                       "<UL><LI>first<LI>second</UL>"
                       "<IMG SRC=\"IDX:0\"> <A HREF=\"http://example.com\">anchor</A> <IMG SRC=\"") +
        FileIcon + QStringLiteral("\"> &lt;not a tag&gt; a < b<HR>end");
    const QImage img = Draw(text, QSize(360, 150), in);
    EXPECT_TRUE(testsupport::MatchesGolden(img, QStringLiteral(TEST_DATA_DIR "/golden/html_tag_set.png")));

    // The lines: the first as high as its 14-point text; the second one "gh" line and a quarter of
    // its text height each for superscript and subscript; the list line one "gh" line; the fourth as
    // high as its 16-pixel images.
    const int gh = GhHeight(), extra = gh / 4;
    const int line2 = H(Points(14)), line3 = line2 + gh + 2 * extra, line4 = line3 + gh, hr = line4 + 16;
    const int textBottom2 = line3 - extra;  // the second line's text sits above its subscript room
    const auto boxOf = [&](const QRect& area, const std::function<bool(QColor)>& match) {
        QRect box;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (match(img.pixelColor(x, y)))
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const auto dark = [](QColor c) { return qGray(c.rgb()) < 0x80; };

    // Colour tags: clRed and #0000FF give pure red and pure blue text on the first line.
    EXPECT_GT(CountPixels(img.copy(0, 0, 360, line2), [](QColor c) { return c == QColor(255, 0, 0); }), 10);
    EXPECT_GT(CountPixels(img.copy(0, 0, 360, line2), IsBlue), 10);

    // Superscript 2 sits a quarter text height above the x, subscript 2 as far below the H.
    const auto inkBottom = [&](int left, int width) { return boxOf(QRect(left, line2, width, line3 - line2), dark).bottom(); };
    const int sup = W(QStringLiteral("x")), h = sup + W(QStringLiteral("2")) + W(QStringLiteral(" "));
    const int sub = sup + W(QStringLiteral("2")) + W(QStringLiteral(" H"));
    const int baseline = inkBottom(0, sup);
    EXPECT_EQ(inkBottom(sup, W(QStringLiteral("2"))), baseline - extra);
    EXPECT_EQ(inkBottom(h, W(QStringLiteral("H"))), baseline);
    EXPECT_EQ(inkBottom(sub, W(QStringLiteral("2"))), baseline + extra);

    // Error mark: a red zigzag along the text bottom, one pixel above it where X modulo 4 is 0, one
    // below where it is 2, starting at an even X, under the whole word.
    QRect zigzag;
    bool phased = true;
    for (int y = line2; y < line3; ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == QColor(255, 0, 0)) {
                zigzag |= QRect(x, y, 1, 1);
                const int expected = x % 4 == 0 ? textBottom2 - 1 : x % 4 == 2 ? textBottom2 + 1 : textBottom2;
                phased = phased && y == expected;
            }
    EXPECT_TRUE(phased);
    EXPECT_EQ(zigzag.top(), textBottom2 - 1);
    EXPECT_EQ(zigzag.bottom(), textBottom2 + 1);
    EXPECT_EQ(zigzag.left() % 2, 0);
    EXPECT_GE(zigzag.width(), W(QStringLiteral("eror")) - 1);

    // Highlight: the process-wide colours, yellow behind black text, down to the text bottom.
    const QRect highlight = boxOf(img.rect(), [](QColor c) { return c == QColor(255, 255, 0); });
    bool blackOnYellow = true;
    for (int y = highlight.top(); y <= highlight.bottom(); ++y)
        for (int x = highlight.left(); x <= highlight.right(); ++x) {
            const QColor c = img.pixelColor(x, y);
            blackOnYellow = blackOnYellow && c.red() == c.green() && c.blue() == 0;
        }
    EXPECT_TRUE(blackOnYellow);
    EXPECT_EQ(highlight.bottom(), textBottom2 - 1);
    EXPECT_GE(highlight.height(), gh);
    EXPECT_GE(highlight.width(), W(QStringLiteral("highlight")));
    EXPECT_LE(highlight.width(), W(QStringLiteral("highlight")) + 1);

    // List item: the text 12 pixels in, the bullet in the 12 pixels before it.
    const QRect bullet = boxOf(QRect(0, line3, 12, line4 - line3), dark);
    const QRect item = boxOf(QRect(12, line3, img.width() - 12, line4 - line3), dark);
    EXPECT_FALSE(bullet.isEmpty());
    EXPECT_LE(bullet.right(), 12 - 4);
    EXPECT_GE(item.left(), 12);
    EXPECT_LE(item.left(), 12 + 1);

    // Image 0 of the list: its 16x16 square at the pen after the second item, down to the line bottom.
    const QRect picture = boxOf(img.rect(), [](QColor c) { return c == QColor(0, 128, 0); });
    EXPECT_EQ(picture, QRect(12 + W(QStringLiteral("second")), hr - 16, 16, 16));

    // The anchor in the URL colour (blue), underlined along a whole row.
    int longestBlueRun = 0;
    for (int y = line4; y < hr; ++y) {
        int run = 0;
        for (int x = picture.right() + 1; x < img.width(); ++x) {
            run = img.pixelColor(x, y) == QColor(0, 0, 255) ? run + 1 : 0;
            longestBlueRun = std::max(longestBlueRun, run);
        }
    }
    EXPECT_GE(longestBlueRun, W(QStringLiteral("anchor")) - 1);

    // The rule: one black row across the whole width, one pixel below the text bottom; "end" below it.
    const auto blackRow = [&](int y) {
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) != QColor(Qt::black))
                return false;
        return true;
    };
    EXPECT_TRUE(blackRow(hr));
    EXPECT_FALSE(blackRow(hr - 1));
    EXPECT_FALSE(blackRow(hr + 1));
    EXPECT_EQ(InkColumns(img, hr + 1, hr + 1 + gh).first, InkColumns(img, hr + 1, img.height()).first);
    EXPECT_GE(InkColumns(img, hr + 1, img.height()).first, 0) << "the text after the rule";
}
