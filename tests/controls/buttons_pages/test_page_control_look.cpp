// The look of the tabbed page control: the meter window's left-hand tabs and the other tab
// positions and styles, as golden images, with the rules that the pictures must keep checked
// pixel by pixel.
#include "ButtonTestUtil.h"
#include "controls/buttons_pages/ExtPageControl.h"
#include "platform/TImageList.h"
#include "support/GoldenImage.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTest>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace controls;
using namespace platform;
using namespace buttons_test;

namespace {

constexpr TColor Meter_Face = 0x00EDF7F8;
constexpr TColor Host_Colour = 0x00D8E4E8;

// A host window of a known colour holding a page control.
struct Scene {
    Scene(QSize size)
    {
        host = std::make_unique<QWidget>();
        QPalette pal = host->palette();
        pal.setColor(QPalette::Window, ToQColor(Host_Colour));
        host->setPalette(pal);
        host->setAutoFillBackground(true);
        host->resize(size);
        pc = new TExtPageControl(host.get());
        pc->SetBounds(0, 0, size.width(), size.height());
    }
    TExtTabSheet* AddPage(const QString& name, const QString& caption)
    {
        auto* sheet = new TExtTabSheet(pc);
        sheet->setObjectName(name);
        sheet->SetCaption(caption);
        sheet->SetExtPageControl(pc);
        return sheet;
    }
    QImage Grab()
    {
        host->show();
        return Shot(*pc);
    }
    std::unique_ptr<QWidget> host;
    TExtPageControl* pc;
};

TFont Verdana13()
{
    TFont f;
    f.SetName("Verdana");
    f.SetHeight(-13);
    return f;
}

// The meter window's page control: node and variable editors on two pages, tabs on the left.
void MeterSetup(Scene& s)
{
    TExtPageControl& pc = *s.pc;
    pc.SetTabPosition(tpLeft);
    pc.SetTabStyle(tsDotNet);
    pc.SetMultiLine(true);
    pc.SetFont(Verdana13());
    pc.SetActiveFont(Verdana13());
    pc.SetDefaultTabColor(Meter_Face);
    pc.SetTabBackGroundColor(Meter_Face);
    pc.SetActiveColor(clSkyBlue);
    pc.TabMargin().SetTopMargin(10);
    pc.TabMargin().SetRightMargin(20);
    pc.SetTabOverlap(0);
    for (const auto& [name, caption] : {std::pair{"TS_Nodes", "Nodes     "}, std::pair{"TS_Variables", "Variables     "}}) {
        TExtTabSheet* sheet = s.AddPage(name, caption);
        sheet->SetColor(Meter_Face);
        sheet->SetTabColor(Meter_Face);
        sheet->SetColorTo(clNone);
        sheet->SetTabColorTo(clNone);
    }
    pc.Loaded();
}

QImage SquareStrip()
{
    QImage strip(32, 16, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.fillRect(2, 2, 12, 12, QColor(200, 30, 30));
    p.fillRect(18, 2, 12, 12, QColor(30, 120, 30));
    return strip;
}

// A tab picture: a dark frame with rounded top corners on a magenta ground, which is transparent
// as the picture's bottom-left pixel says.
QImage TabPicture(QColor fill)
{
    QImage pic(20, 22, QImage::Format_RGB32);
    pic.fill(QColor(255, 0, 255));
    QPainter p(&pic);
    p.setPen(QColor(60, 60, 90));
    p.setBrush(fill);
    p.drawRoundedRect(QRect(0, 0, 19, 24), 5, 5);
    p.end();
    pic.setPixel(0, pic.height() - 1, qRgb(255, 0, 255));
    return pic;
}

// Band n of a gradient in `steps` bands: each channel is from + round(n * (to - from) / steps),
// halves to even.
QRgb Band(TColor from, TColor to, int n, int steps)
{
    const QColor a = ToQColor(from), b = ToQColor(to);
    const auto channel = [&](int x, int y) { return x + int(std::nearbyint(double(n) * (y - x) / steps)); };
    return qRgb(channel(a.red(), b.red()), channel(a.green(), b.green()), channel(a.blue(), b.blue()));
}

// The colour a gradient of `steps` bands over `extent` pixels shows `offset` pixels from its start:
// band n starts at round(n * extent / steps) and is round(extent / steps) + 1 long, so each band
// covers the last pixel of the one before.
QRgb GradientAt(TColor from, TColor to, int extent, int offset, int steps = 16)
{
    int band = 0;
    for (int n = 0; n < steps; ++n)
        if (std::nearbyint(double(n) * extent / steps) <= offset)
            band = n;
    return Band(from, to, band, steps);
}

// The bounding box of the dark pixels of a text inside the area: its anti-aliased fringe left out.
QRect TextInk(const QImage& img, const QRect& area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(At(img, x, y)) < 0x70)
                box |= QRect(x, y, 1, 1);
    return box;
}

bool Holds(const QImage& img, const QRect& area, QRgb colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (At(img, x, y) == colour)
                return true;
    return false;
}

// The close box without a glyph, at rest: 12 by 11 pixels, a gray frame, white inside, a black cross
// whose four strokes start at (3, 7), (4, 7), (3, 3) and (4, 3).
void ExpectCloseBox(const QImage& img, QPoint at)
{
    const int x = at.x(), y = at.y();
    EXPECT_EQ(At(img, x, y), Rgb(clGray));
    EXPECT_EQ(At(img, x + 11, y + 5), Rgb(clGray));
    EXPECT_EQ(At(img, x + 5, y + 10), Rgb(clGray));
    EXPECT_EQ(At(img, x + 11, y + 10), Rgb(clGray));
    EXPECT_EQ(At(img, x + 1, y + 1), Rgb(clWhite));
    EXPECT_EQ(At(img, x + 10, y + 9), Rgb(clWhite));
    for (const QPoint& stroke : {QPoint(3, 7), QPoint(4, 7), QPoint(3, 3), QPoint(4, 3)})
        EXPECT_EQ(At(img, x + stroke.x(), y + stroke.y()), Rgb(clBlack)) << stroke.x() << "," << stroke.y();
}

int Advance(const QWidget& w, const QString& text) { return QFontMetrics(w.font()).horizontalAdvance(text); }

// The page border in its colour on the four sides, and the control's colour outside it on the far
// sides (right and bottom).
void ExpectPageBorder(const TExtPageControl& pc, const QImage& img, const QRect& border, TColor colour)
{
    const int midX = border.center().x(), midY = border.center().y();
    EXPECT_EQ(At(img, border.left(), midY), Rgb(colour));
    EXPECT_EQ(At(img, border.right(), midY), Rgb(colour));
    EXPECT_EQ(At(img, midX, border.top()), Rgb(colour));
    EXPECT_EQ(At(img, midX, border.bottom()), Rgb(colour));
    EXPECT_EQ(At(img, border.right() + 1, midY), Rgb(pc.Color()));
    EXPECT_EQ(At(img, midX, border.bottom() + 1), Rgb(pc.Color()));
}

// Left tabs: the text reads upward from 4 pixels above the tab's bottom less the top margin; the active
// tab's text moves by LowerActive away from the strip's edge.
void CheckMeterNodesActive(Scene& s, const QImage& img)
{
    TExtPageControl& pc = *s.pc;
    const QRect nodes = pc.TabRect(0), variables = pc.TabRect(1);
    ASSERT_FALSE(nodes.isEmpty());
    const int pageEdge = pc.PageRect().left();
    EXPECT_EQ(nodes.right() + 1, pageEdge);

    // Active tab: sky blue with gray edges on its three outer sides and none toward the page.
    EXPECT_EQ(At(img, nodes.left() + 3, nodes.bottom() - 2), Rgb(clSkyBlue));
    EXPECT_EQ(At(img, nodes.left(), nodes.center().y()), Rgb(clGray));
    EXPECT_EQ(At(img, nodes.center().x(), nodes.top()), Rgb(clGray));
    EXPECT_EQ(At(img, pageEdge, nodes.center().y()), Rgb(Meter_Face)) << "split line opens the border";
    // Inactive tab: only its side toward the page, in the border colour; the strip's colour elsewhere.
    EXPECT_EQ(At(img, pageEdge, variables.center().y()), Rgb(clGray));
    EXPECT_EQ(At(img, variables.left(), variables.bottom() - 1), Rgb(Meter_Face));
    // Below the tabs the strip keeps its colour down to the bottom and the page border runs on.
    EXPECT_EQ(At(img, 3, pc.height() - 4), Rgb(Meter_Face));
    EXPECT_EQ(At(img, pageEdge, pc.height() - 6), Rgb(clGray));
    // The page border runs from the strip's edge to width - 2 and down to height - 2.
    ExpectPageBorder(pc, img, QRect(QPoint(pageEdge, 0), QPoint(pc.width() - 2, pc.height() - 2)), clGray);

    // The text reads upward: its ink is taller than wide, starts above the bottom by the
    // margin and ends inside the tab.
    const QRect ink = InkBox(img, Rgb(clSkyBlue), nodes.adjusted(2, 2, -2, -2));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.height(), 2 * ink.width());
    EXPECT_LE(ink.bottom(), nodes.bottom() + 1 - 4 - 10);
    EXPECT_GE(ink.bottom(), nodes.bottom() + 1 - 4 - 10 - 3);
    EXPECT_GE(ink.top(), nodes.top());
    EXPECT_GE(ink.left(), nodes.left() + 1 + pc.LowerActive());
    // The tab is long enough for the whole caption though sized for the caption less two blanks.
    EXPECT_GE(nodes.height(), Advance(pc, "Nodes   ") + 30);
}

void CheckMeterVariablesActive(Scene& s, const QImage& img)
{
    TExtPageControl& pc = *s.pc;
    const QRect nodes = pc.TabRect(0), variables = pc.TabRect(1);
    const int pageEdge = pc.PageRect().left();
    // The active tab: sky blue, gray on its three outer sides, open toward the page.
    EXPECT_EQ(At(img, variables.left() + 1, variables.top() + 1), Rgb(clSkyBlue));
    EXPECT_EQ(At(img, variables.left(), variables.center().y()), Rgb(clGray));
    EXPECT_EQ(At(img, variables.center().x(), variables.top()), Rgb(clGray));
    EXPECT_EQ(At(img, variables.center().x(), variables.bottom()), Rgb(clGray));
    EXPECT_EQ(At(img, pageEdge, variables.center().y()), Rgb(Meter_Face));
    // The inactive tab before it: its page side only, and no separator since the active tab follows.
    EXPECT_EQ(At(img, pageEdge, nodes.center().y()), Rgb(clGray));
    EXPECT_EQ(At(img, nodes.left(), nodes.center().y()), Rgb(Meter_Face));
    EXPECT_EQ(At(img, nodes.center().x(), nodes.top()), Rgb(Meter_Face));
    EXPECT_FALSE(Holds(img, nodes, Rgb(clSkyBlue)));

    const QRect nodesInk = TextInk(img, nodes.adjusted(1, 1, -1, -1));
    const QRect variablesInk = TextInk(img, variables.adjusted(1, 1, -1, -1));
    ASSERT_FALSE(nodesInk.isEmpty());
    ASSERT_FALSE(variablesInk.isEmpty());
    EXPECT_LE(nodesInk.bottom(), nodes.bottom() + 1 - 4 - 10);
    EXPECT_LE(variablesInk.bottom(), variables.bottom() + 1 - 4 - 10);
    EXPECT_GE(variablesInk.bottom(), variables.bottom() + 1 - 4 - 10 - 3);
    // Both captions hold letters with ascenders, so their ink starts alike but for LowerActive.
    EXPECT_EQ(variablesInk.left() - variables.left(), nodesInk.left() - nodes.left() + pc.LowerActive());
}

void CheckClassicGradientsClose(Scene& s, const QImage& img)
{
    TExtPageControl& pc = *s.pc;
    const QRect alpha = pc.TabRect(0), beta = pc.TabRect(1), gamma = pc.TabRect(2);
    const int pageTop = pc.PageRect().top();
    const int w = pc.width(), h = pc.height();

    // Active tab: white to sky blue from top to bottom in 16 bands, seen between the close box and
    // the text; navy on its three outer sides, open toward the page in the page's colour.
    const int clear = beta.left() + 15;
    for (int y = 1; y < beta.height(); ++y)
        EXPECT_EQ(At(img, clear, beta.top() + y), GradientAt(clWhite, clSkyBlue, beta.height(), y)) << y;
    EXPECT_EQ(At(img, beta.left(), beta.center().y()), Rgb(clNavy));
    EXPECT_EQ(At(img, beta.right(), beta.center().y()), Rgb(clNavy));
    EXPECT_EQ(At(img, clear, beta.top()), Rgb(clNavy));
    EXPECT_EQ(At(img, clear, pageTop), Rgb(clCream)) << "split line in the active page's colour";
    // The close box 2 pixels in, lowered by LowerActive; the text starts 18 pixels in instead of 4.
    ExpectCloseBox(img, QPoint(beta.left() + 2, beta.top() + 2 + pc.LowerActive()));
    const QRect betaInk = TextInk(img, beta.adjusted(14, 1, -1, -1));
    ASSERT_FALSE(betaInk.isEmpty());
    EXPECT_GE(betaInk.left(), beta.left() + 18);
    EXPECT_LE(betaInk.left(), beta.left() + 18 + 2);

    // Inactive tab: money green to white, a full navy outline, the text 4 pixels in.
    for (int y = 1; y < alpha.height(); ++y)
        EXPECT_EQ(At(img, alpha.left() + 2, alpha.top() + y), GradientAt(clMoneyGreen, clWhite, alpha.height(), y))
            << y;
    EXPECT_EQ(At(img, alpha.left(), alpha.center().y()), Rgb(clNavy));
    EXPECT_EQ(At(img, alpha.right(), alpha.center().y()), Rgb(clNavy));
    EXPECT_EQ(At(img, alpha.center().x(), alpha.top()), Rgb(clNavy));
    EXPECT_EQ(At(img, alpha.center().x(), pageTop), Rgb(clNavy));
    const QRect alphaInk = TextInk(img, alpha.adjusted(1, 1, -1, -1));
    ASSERT_FALSE(alphaInk.isEmpty());
    EXPECT_GE(alphaInk.left(), alpha.left() + 4);
    EXPECT_LE(alphaInk.left(), alpha.left() + 4 + 1);

    // Disabled tab: cream to medium gray from left to right; its text gray, never darker.
    for (int x = 1; x < gamma.width() - 1; ++x)
        EXPECT_EQ(At(img, gamma.left() + x, gamma.bottom() - 1), GradientAt(clCream, clMedGray, gamma.width(), x)) << x;
    const int darkest = DarkestChannel(img, gamma.adjusted(1, 1, -1, -1));
    EXPECT_GE(darkest, 0x80);
    EXPECT_LE(darkest, 0x88);

    // Page border in navy; the page's top band plain cream, its gradient toward sky blue below.
    ExpectPageBorder(pc, img, QRect(QPoint(0, pageTop), QPoint(w - 2, h - 2)), clNavy);
    EXPECT_EQ(At(img, w / 2, pageTop + 2), Rgb(clCream));
    EXPECT_LT(qRed(At(img, w / 2, h - 4)), qRed(Rgb(clCream)) - 60);
    // One row of tabs: from width - 35 the row is the control's colour.
    EXPECT_EQ(At(img, w - 20, alpha.center().y()), Rgb(pc.Color()));
}

// The ink of the first letter of a caption on a top tab.
QRect FirstLetterInk(const TExtPageControl& pc, const QImage& img, const QRect& tab, const QString& letter)
{
    return TextInk(img, QRect(tab.left() + 1, tab.top() + 1, 4 + Advance(pc, letter), tab.height() - 2));
}

void CheckDotNetRoundEdges(Scene& s, const QImage& img)
{
    TExtPageControl& pc = *s.pc;
    const QRect one = pc.TabRect(0), two = pc.TabRect(1), three = pc.TabRect(2), four = pc.TabRect(3);
    const int pageTop = pc.PageRect().top();
    const QRgb yellow = Rgb(clYellow), face = Rgb(clBtnFace);

    // Active tab: yellow, gray on its three outer sides, open toward the page.
    EXPECT_EQ(At(img, three.left() + 1, three.top() + 1), yellow);
    EXPECT_EQ(At(img, three.left(), three.center().y()), Rgb(clGray));
    EXPECT_EQ(At(img, three.right(), three.center().y()), Rgb(clGray));
    EXPECT_EQ(At(img, three.center().x(), three.top()), Rgb(clGray));
    EXPECT_EQ(At(img, three.center().x(), pageTop), Rgb(pc.Color()));
    // Inactive tabs: the default tab colour, gray only on the side toward the page.
    for (const QRect& tab : {one, two, four}) {
        EXPECT_EQ(At(img, tab.left(), tab.center().y()), face);
        EXPECT_EQ(At(img, tab.center().x(), tab.top()), face);
        EXPECT_EQ(At(img, tab.center().x(), pageTop), Rgb(clGray));
    }
    // A separator in the active colour 2 and 3 pixels before the tab's end, 2 short of both sides;
    // none before the active tab, none at the strip's end.
    for (int x : {one.right() - 2, one.right() - 1}) {
        EXPECT_EQ(At(img, x, one.top() + 2), yellow) << x;
        EXPECT_EQ(At(img, x, one.bottom() - 2), yellow) << x;
        EXPECT_NE(At(img, x, one.top() + 1), yellow) << x;
        EXPECT_NE(At(img, x, one.bottom() - 1), yellow) << x;
    }
    EXPECT_NE(At(img, one.right() - 3, one.center().y()), yellow);
    EXPECT_NE(At(img, one.right(), one.center().y()), yellow);
    EXPECT_FALSE(Holds(img, two, yellow));
    EXPECT_FALSE(Holds(img, four, yellow));

    // Text 4 pixels in; the active tab's lowered by LowerActive (both captions start with a "T").
    const QRect twoInk = FirstLetterInk(pc, img, two, "T"), threeInk = FirstLetterInk(pc, img, three, "T");
    ASSERT_FALSE(twoInk.isEmpty());
    ASSERT_FALSE(threeInk.isEmpty());
    EXPECT_EQ(twoInk.left(), two.left() + 4);
    EXPECT_EQ(threeInk.left(), three.left() + 4);
    EXPECT_EQ(threeInk.top() - three.top(), twoInk.top() - two.top() + pc.LowerActive());
}

void CheckBottomClassicImages(Scene& s, const QImage& img)
{
    TExtPageControl& pc = *s.pc;
    const QRect red = pc.TabRect(0), green = pc.TabRect(1), none = pc.TabRect(2);
    const QRgb face = Rgb(clBtnFace);
    const int w = pc.width();

    // Images at (x - 2, y) with x 4 pixels in and y the tab's top, on the active tab 1 + LowerActive
    // lower; each picture's square starts 2 pixels into its 16x16 room.
    const QPoint redSquare(red.left() + 4, red.top() + 1 + pc.LowerActive() + 2);
    const QPoint greenSquare(green.left() + 4, green.top() + 2);
    EXPECT_EQ(At(img, redSquare.x(), redSquare.y()), qRgb(200, 30, 30));
    EXPECT_EQ(At(img, redSquare.x() + 11, redSquare.y() + 11), qRgb(200, 30, 30));
    EXPECT_EQ(At(img, redSquare.x() - 1, redSquare.y()), face);
    EXPECT_EQ(At(img, redSquare.x(), redSquare.y() - 1), face);
    EXPECT_EQ(At(img, greenSquare.x(), greenSquare.y()), qRgb(30, 120, 30));
    EXPECT_EQ(At(img, greenSquare.x() + 11, greenSquare.y() + 11), qRgb(30, 120, 30));
    EXPECT_EQ(At(img, greenSquare.x() - 1, greenSquare.y()), face);
    EXPECT_EQ(At(img, greenSquare.x(), greenSquare.y() - 1), face);

    // The text follows the image's width; bottom tabs write every caption in the active font, so the
    // sheet's blue text colour is not used; the bold active caption fits its tab.
    for (const QRect& tab : {red, green}) {
        const QRect ink = InkBox(img, face, QRect(tab.left() + 18, tab.top() + 1, tab.width() - 19, tab.height() - 2));
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_GE(ink.left(), tab.left() + 4 + 16);
        EXPECT_LE(ink.left(), tab.left() + 4 + 16 + 1);
        EXPECT_LT(ink.right(), tab.right());
    }
    EXPECT_FALSE(Holds(img, green, Rgb(clBlue)));
    EXPECT_LT(DarkestChannel(img, green.adjusted(18, 1, -1, -1)), 0x30);
    const QRect noneInk = InkBox(img, face, none.adjusted(1, 1, -1, -1));
    EXPECT_GE(noneInk.left(), none.left() + 4);
    EXPECT_LE(noneInk.left(), none.left() + 4 + 1);

    // Classic edges in gray: three sides of the active tab, a full outline on the others; with the
    // split line kept the page border runs on above the active tab.
    EXPECT_EQ(At(img, red.left(), red.center().y()), Rgb(clGray));
    EXPECT_EQ(At(img, red.right(), red.center().y()), Rgb(clGray));
    EXPECT_EQ(At(img, red.center().x(), red.bottom()), Rgb(clGray));
    for (const QRect& tab : {green, none}) {
        EXPECT_EQ(At(img, tab.left(), tab.center().y()), Rgb(clGray));
        EXPECT_EQ(At(img, tab.right(), tab.center().y()), Rgb(clGray));
        EXPECT_EQ(At(img, tab.center().x(), tab.top()), Rgb(clGray));
        EXPECT_EQ(At(img, tab.center().x(), tab.bottom()), Rgb(clGray));
    }
    bool borderAboveActive = false;
    for (int y = red.top() - 2; y <= red.top(); ++y)
        borderAboveActive = borderAboveActive || At(img, red.center().x(), y) == Rgb(clGray);
    EXPECT_TRUE(borderAboveActive);
    // One row of tabs: from width - 35 the row is the control's colour.
    EXPECT_EQ(At(img, w - 20, red.center().y()), Rgb(pc.Color()));
}

void CheckRightDotNetCloseMargins(Scene& s, const QImage& img)
{
    TExtPageControl& pc = *s.pc;
    const QRect first = pc.TabRect(0), second = pc.TabRect(1);
    const int lower = pc.LowerActive(), topMargin = 4;

    // Active tab: sky blue, gray on its three outer sides, open toward the page.
    EXPECT_EQ(At(img, first.right() - 1, first.bottom() - 1), Rgb(clSkyBlue));
    EXPECT_EQ(At(img, first.right(), first.center().y()), Rgb(clGray));
    EXPECT_EQ(At(img, first.center().x(), first.top()), Rgb(clGray));
    EXPECT_EQ(At(img, first.center().x(), first.bottom()), Rgb(clGray));
    EXPECT_NE(At(img, first.left() - 1, first.center().y()), Rgb(clGray));
    // Inactive tab: gray on its page side only.
    EXPECT_EQ(At(img, second.left() - 1, second.center().y()), Rgb(clGray));
    EXPECT_NE(At(img, second.right(), second.center().y()), Rgb(clGray));
    EXPECT_NE(At(img, second.center().x(), second.bottom()), Rgb(clGray));

    // The close box: 4 pixels in less LowerActive, 2 below the top margin.
    ExpectCloseBox(img, QPoint(first.left() + 4 - lower, first.top() + topMargin + 2));
    // Text reading downward from x = right - 1 (less LowerActive when active) and y = top + 4 + the
    // margin, 17 instead of 4 with the close box.
    const QRect firstInk = TextInk(img, QRect(first.left() + 1, first.top() + 18, first.width() - 2, first.height() - 19));
    const QRect secondInk = TextInk(img, second.adjusted(1, 1, -1, -1));
    ASSERT_FALSE(firstInk.isEmpty());
    ASSERT_FALSE(secondInk.isEmpty());
    EXPECT_GE(firstInk.top(), first.top() + 17 + topMargin);
    EXPECT_LE(firstInk.top(), first.top() + 17 + topMargin + 2);
    EXPECT_GE(secondInk.top(), second.top() + 4 + topMargin);
    EXPECT_LE(secondInk.top(), second.top() + 4 + topMargin + 2);
    EXPECT_LE(secondInk.right(), second.right() - 1);
    EXPECT_EQ(first.right() - firstInk.right(), second.right() - secondInk.right() + lower);
}

QRgb Frame() { return qRgb(60, 60, 90); }

void CheckPictures(Scene& s, const QImage& img)
{
    TExtPageControl& pc = *s.pc;
    const QRect first = pc.TabRect(0), second = pc.TabRect(1);
    EXPECT_EQ(first.height(), 19);
    EXPECT_EQ(second.height(), 19);
    // The pictures' magenta ground is transparent.
    EXPECT_FALSE(Holds(img, img.rect(), qRgb(255, 0, 255)));
    // Each tab shows its picture from its left edge; the active one is drawn last, over the
    // inactive picture's overlap, and runs TabOverlap pixels past its own end.
    EXPECT_EQ(At(img, first.left(), first.top() + 10), Frame());
    EXPECT_EQ(At(img, first.left() + 3, first.top() + 16), qRgb(220, 220, 240));
    EXPECT_EQ(At(img, second.left(), second.top() + 10), Frame());
    EXPECT_EQ(At(img, second.left() + 2, second.top() + 16), qRgb(250, 240, 180));
    EXPECT_EQ(At(img, second.right() + pc.TabOverlap(), second.top() + 10), Frame());
    EXPECT_NE(At(img, second.right() + pc.TabOverlap() + 1, second.top() + 10), Frame());
}

void CheckSystemLook(Scene& s, const QImage& img)
{
    TExtPageControl& pc = *s.pc;
    const QRect whole = pc.TabRect(0), other = pc.TabRect(1);
    // The system draws the tabs: a highlighted tab in the highlight colour, and each tab sized for
    // its whole caption, blanks included.
    EXPECT_EQ(At(img, other.right() - 2, other.bottom() - 1), Rgb(clHighlight));
    EXPECT_NE(At(img, whole.right() - 2, whole.bottom() - 1), Rgb(clHighlight));
    EXPECT_GE(whole.width(), Advance(pc, "Whole caption  "));
    EXPECT_GE(other.width(), Advance(pc, "Other  "));
}

struct LookCase {
    const char* Name;
    QSize Size;
    std::function<void(Scene&)> Setup;
    std::function<void(Scene&, const QImage&)> Check;
};

const LookCase Look_Cases[] = {
    {"meter_left_dotnet", {320, 230}, MeterSetup, CheckMeterNodesActive},
    {"meter_variables_active", {320, 230},
     [](Scene& s) {
         MeterSetup(s);
         s.pc->SetActivePageIndex(1);
     },
     CheckMeterVariablesActive},
    {"top_classic_gradients_close", {340, 160},
     [](Scene& s) {
         TExtPageControl& pc = *s.pc;
         pc.SetActiveColor(clWhite);
         pc.SetActiveColorTo(clSkyBlue);
         pc.SetTabSheetBorderColor(clNavy);
         pc.SetTabBorderColor(clNavy);
         TExtTabSheet* a = s.AddPage("TS_A", "Alpha  ");
         TExtTabSheet* b = s.AddPage("TS_B", "Beta  ");
         TExtTabSheet* c = s.AddPage("TS_C", "Gamma  ");
         a->SetTabColor(clMoneyGreen);
         a->SetTabColorTo(clWhite);
         c->SetTabColor(clCream);
         c->SetTabColorTo(clMedGray);
         c->SetTabGradientDirection(gdHorizontal);
         c->SetTabEnable(false);
         b->SetShowClose(true);
         b->SetColor(clCream);
         b->SetColorTo(clSkyBlue);
         pc.SetActivePage(b);
     },
     CheckClassicGradientsClose},
    {"top_dotnet_round_edges", {300, 120},
     [](Scene& s) {
         TExtPageControl& pc = *s.pc;
         pc.SetTabStyle(tsDotNet);
         pc.SetRoundEdges(true);
         pc.SetActiveColor(clYellow);
         s.AddPage("TS_1", "One  ");
         s.AddPage("TS_2", "Two  ");
         s.AddPage("TS_3", "Three  ");
         s.AddPage("TS_4", "Four  ");
         pc.SetActivePageIndex(2);
     },
     CheckDotNetRoundEdges},
    {"bottom_classic_images", {300, 140},
     [](Scene& s) {
         static TImageList images(16, 16);
         images.Clear();
         images.Add(SquareStrip());
         TExtPageControl& pc = *s.pc;
         pc.SetTabPosition(tpBottom);
         pc.SetImages(&images);
         pc.SetTabSplitLine(true);
         TExtTabSheet* a = s.AddPage("TS_A", "Red  ");
         TExtTabSheet* b = s.AddPage("TS_B", "Green  ");
         s.AddPage("TS_C", "None  ");
         a->SetImageIndex(0);
         b->SetImageIndex(1);
         b->SetTextColor(clBlue);
         TFont active = pc.ActiveFont();
         active.setBold(true);
         pc.SetActiveFont(active);
     },
     CheckBottomClassicImages},
    {"right_dotnet_close_margins", {260, 200},
     [](Scene& s) {
         TExtPageControl& pc = *s.pc;
         pc.SetTabPosition(tpRight);
         pc.SetTabStyle(tsDotNet);
         pc.SetActiveColor(clSkyBlue);
         pc.TabMargin().SetTopMargin(4);
         TExtTabSheet* a = s.AddPage("TS_A", "First  ");
         s.AddPage("TS_B", "Second  ");
         a->SetShowClose(true);
     },
     CheckRightDotNetCloseMargins},
    {"top_pictures", {300, 120},
     [](Scene& s) {
         TExtPageControl& pc = *s.pc;
         pc.SetTabBackGround(TabPicture(QColor(220, 220, 240)));
         pc.SetTabBackGroundActive(TabPicture(QColor(250, 240, 180)));
         pc.SetTabOverlap(4);
         pc.SetTabHeight(19);
         s.AddPage("TS_A", "First  ");
         s.AddPage("TS_B", "Second  ");
         pc.SetActivePageIndex(1);
     },
     CheckPictures},
    {"system_look", {300, 120},
     [](Scene& s) {
         TExtPageControl& pc = *s.pc;
         pc.SetTabBorder3D(true);
         s.AddPage("TS_A", "Whole caption  ");
         s.AddPage("TS_B", "Other  ")->SetHighlighted(true);
     },
     CheckSystemLook},
};

void PrintTo(const LookCase& c, std::ostream* os) { *os << c.Name; }

class PageControlGolden : public ::testing::TestWithParam<LookCase> {};

}  // namespace

// Each look matches its picture and keeps the drawing rules checked pixel by pixel.
TEST_P(PageControlGolden, MatchesPicture)
{
    Scene s(GetParam().Size);
    GetParam().Setup(s);
    const QImage image = s.Grab();
    GetParam().Check(s, image);
    EXPECT_TRUE(testsupport::MatchesGolden(image, QStringLiteral(TEST_DATA_DIR "/golden/page_") + GetParam().Name +
                                                      QStringLiteral(".png")));
}

INSTANTIATE_TEST_SUITE_P(Looks, PageControlGolden, ::testing::ValuesIn(Look_Cases),
                         [](const ::testing::TestParamInfo<LookCase>& info) { return std::string(info.param.Name); });

TEST(PageControlLook, DisabledTabTextIsGray)
{
    Scene s({300, 120});
    s.AddPage("TS_A", "Alpha  ");
    TExtTabSheet* b = s.AddPage("TS_B", "WWWW  ");
    b->SetTabColor(clWhite);
    b->SetTextColor(clBlue);
    QImage img = s.Grab();
    const QRect tab = s.pc->TabRect(1).adjusted(2, 2, -2, -2);
    EXPECT_TRUE(Holds(img, tab, Rgb(clBlue)));
    b->SetTabEnable(false);
    img = Shot(*s.pc);
    EXPECT_FALSE(Holds(img, tab, Rgb(clBlue)));
    EXPECT_TRUE(Holds(img, tab, Rgb(clGray)));
}
