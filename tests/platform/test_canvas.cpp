// The canvas keeps the Windows drawing rules the controls are written against.
#include "platform/TCanvas.h"

#include <QApplication>
#include <QBuffer>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QPdfWriter>
#include <gtest/gtest.h>
#include <functional>
#include <set>
#include <utility>

using namespace platform;

namespace {

constexpr QRgb Paper = 0xFF010203;

QImage Paper40()
{
    QImage img(40, 40, QImage::Format_RGB32);
    img.fill(Paper);
    return img;
}

std::set<std::pair<int, int>> Inked(const QImage& img)
{
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != Paper)
                out.insert({x, y});
    return out;
}

}  // namespace

TEST(Colors, ValuesAndSystemColours)
{
    EXPECT_EQ(RGBToColor(0x12, 0x34, 0x56), 0x00563412u);
    EXPECT_EQ(GetRValue(0x00563412), 0x12);
    EXPECT_EQ(GetBValue(0x00563412), 0x56);
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(clNone).alpha(), 0);
    EXPECT_EQ(ColorToRGB(0x00EDF7F8), 0x00EDF7F8u);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(ToQColor(clBtnFace), QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(ToQColor(clHighlight), QApplication::palette().color(QPalette::Highlight));
    EXPECT_EQ(FromQColor(QColor(1, 2, 3)), RGBToColor(1, 2, 3));
    EXPECT_EQ(Rect(2, 3, 10, 7), QRect(2, 3, 8, 4));
}

// Lines leave out their end point; a polyline's corners are drawn once, by the segment leaving them.
TEST(Canvas, LinesLeaveOutTheirEndPoint)
{
    struct Case {
        const char* name;
        QPoint from, to;
        std::set<std::pair<int, int>> pixels;
    };
    const Case cases[] = {
        {"right", {2, 5}, {6, 5}, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}},
        {"left", {6, 5}, {2, 5}, {{6, 5}, {5, 5}, {4, 5}, {3, 5}}},
        {"down", {3, 1}, {3, 4}, {{3, 1}, {3, 2}, {3, 3}}},
        {"up", {3, 4}, {3, 1}, {{3, 4}, {3, 3}, {3, 2}}},
        {"diagonal", {1, 1}, {4, 4}, {{1, 1}, {2, 2}, {3, 3}}},
        {"same point draws nothing", {5, 5}, {5, 5}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage img = Paper40();
        {
            TCanvas canvas(&img);
            canvas.Pen.Color = clWhite;
            canvas.MoveTo(c.from.x(), c.from.y());
            canvas.LineTo(c.to.x(), c.to.y());
            EXPECT_EQ(canvas.PenPos, c.to);
        }
        EXPECT_EQ(Inked(img), c.pixels);
    }
}

TEST(Canvas, DottedAndClearPens)
{
    QImage img = Paper40();
    {
        TCanvas canvas(&img);
        canvas.Pen = TPen{clWhite, 1, TPenStyle::psDot};
        canvas.MoveTo(0, 0);
        canvas.LineTo(6, 0);
        canvas.Pen.Style = TPenStyle::psClear;
        canvas.MoveTo(0, 5);
        canvas.LineTo(6, 5);
    }
    EXPECT_EQ(Inked(img), (std::set<std::pair<int, int>>{{0, 0}, {2, 0}, {4, 0}}));
}

TEST(Canvas, RectangleLeavesOutRightAndBottomEdges)
{
    QImage img = Paper40();
    {
        TCanvas canvas(&img);
        canvas.Pen.Color = clWhite;
        canvas.Brush.Color = clRed;
        canvas.Rectangle(2, 2, 7, 6);
    }
    EXPECT_EQ(img.pixel(2, 2), 0xFFFFFFFFu);
    EXPECT_EQ(img.pixel(6, 5), 0xFFFFFFFFu);
    EXPECT_EQ(img.pixel(7, 5), Paper);
    EXPECT_EQ(img.pixel(6, 6), Paper);
    EXPECT_EQ(img.pixel(4, 3), 0xFFFF0000u) << "brush inside";

    QImage hollow = Paper40();
    {
        TCanvas canvas(&hollow);
        canvas.Pen.Color = clWhite;
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Rectangle(2, 2, 7, 6);
        canvas.Brush = TBrush{clLime, TBrushStyle::bsSolid};
        canvas.FrameRect(Rect(10, 10, 14, 13));
    }
    EXPECT_EQ(hollow.pixel(4, 3), Paper);
    EXPECT_EQ(Inked(hollow).size(), 14u + 10u);
    EXPECT_EQ(hollow.pixel(13, 12), 0xFF00FF00u);
    EXPECT_EQ(hollow.pixel(14, 12), Paper);
}

TEST(Canvas, FocusRectangleInvertsAndDrawingItTwiceRemovesIt)
{
    QImage img = Paper40();
    {
        TCanvas canvas(&img);
        canvas.DrawFocusRect(Rect(4, 4, 20, 12));
        EXPECT_EQ(img.pixel(4, 4), Paper ^ 0x00FFFFFF);
        EXPECT_EQ(img.pixel(5, 4), Paper) << "every other pixel";
        canvas.DrawFocusRect(Rect(4, 4, 20, 12));
    }
    EXPECT_TRUE(Inked(img).empty());
}

TEST(Canvas, TransparentDrawTakesTheBottomLeftColour)
{
    QImage bitmap(3, 2, QImage::Format_RGB32);
    bitmap.fill(QColor(255, 0, 255));
    bitmap.setPixel(1, 0, qRgb(0, 0, 255));
    QImage img = Paper40();
    {
        TCanvas canvas(&img);
        canvas.DrawTransparent(10, 10, bitmap);
    }
    EXPECT_EQ(Inked(img), (std::set<std::pair<int, int>>{{11, 10}}));
    EXPECT_EQ(img.pixel(11, 10), 0xFF0000FFu);
}

TEST(Canvas, DrawTextMeasuresLikeWindows)
{
    TCanvas canvas;  // measuring only
    canvas.Font.setPixelSize(12);
    const QFontMetrics fm(canvas.Font);

    QRect r(0, 0, 0, 0);
    EXPECT_EQ(canvas.DrawText("Modbus", r, DT_CALCRECT | DT_SINGLELINE), fm.height());
    EXPECT_EQ(r.width(), canvas.TextWidth("Modbus"));

    // The "&" of an accelerator takes no room; "&&" shows one "&".
    r = QRect(0, 0, 0, 0);
    canvas.DrawText("&File", r, DT_CALCRECT);
    EXPECT_EQ(r.width(), canvas.TextWidth("File"));
    r = QRect(0, 0, 0, 0);
    canvas.DrawText("&File", r, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(r.width(), canvas.TextWidth("&File"));

    // Word break inside a narrow rectangle: more lines, no wider than the rectangle.
    const QString words = "uno due tre quattro cinque";
    r = QRect(0, 0, canvas.TextWidth("quattro") + 2, 0);
    const int h = canvas.DrawText(words, r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GE(h, 3 * fm.height());
    EXPECT_LE(r.width(), canvas.TextWidth("quattro") + 2);

    r = QRect(0, 0, 0, 0);
    EXPECT_EQ(canvas.DrawText("", r, DT_CALCRECT), 0);
}

TEST(Canvas, DrawTextClipsToItsRectangleAndAlignsSingleLines)
{
    QImage img(100, 30, QImage::Format_RGB32);
    img.fill(Paper);
    {
        TCanvas canvas(&img);
        canvas.Font.setPixelSize(14);
        canvas.Font.Color = clWhite;
        canvas.Brush.Style = TBrushStyle::bsClear;
        QRect r = Rect(10, 0, 30, 30);
        canvas.DrawText("WWWWWWWWWW", r, DT_SINGLELINE | DT_VCENTER);
        QRect right = Rect(60, 0, 100, 30);
        canvas.DrawText("i", right, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    }
    const auto inked = Inked(img);
    ASSERT_FALSE(inked.empty());
    int minX = 1000, maxX = -1, maxY = -1;
    for (const auto& [x, y] : inked) {
        if (x < 60) {
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
        } else {
            maxY = std::max(maxY, y);
        }
    }
    EXPECT_GE(minX, 10);
    EXPECT_LE(maxX, 29) << "clipped at the right edge";
    EXPECT_GT(maxY, 20) << "bottom-aligned";
}

// A text of megabytes looks like a short text that holds its visible part (and draws about as
// fast): left, right or centred on one line, and wrapped from the top.
TEST(Canvas, AHugeTextLooksLikeItsVisiblePart)
{
    QString huge;
    for (int i = 0; i < 200000; ++i)
        huge += QStringLiteral("word%1 ").arg(i % 97);
    const struct {
        unsigned Format;
        QString Visible;
    } cases[] = {
        {DT_SINGLELINE | DT_VCENTER, huge.left(600)},
        {DT_SINGLELINE | DT_RIGHT, huge.right(600)},
        {DT_SINGLELINE | DT_CENTER, huge.mid(huge.size() / 2 - 300, 600)},
        {DT_WORDBREAK | DT_EDITCONTROL, huge.left(3000)},
    };
    for (const auto& c : cases) {
        auto draw = [&](const QString& text) {
            QImage img(120, 60, QImage::Format_RGB32);
            img.fill(Paper);
            TCanvas canvas(&img);
            canvas.Font.setPixelSize(12);
            canvas.Font.Color = clWhite;
            canvas.Brush.Style = TBrushStyle::bsClear;
            QRect r = Rect(4, 4, 104, 56);
            canvas.DrawText(text, r, c.Format | DT_NOPREFIX);
            return img;
        };
        const QImage whole = draw(huge);
        EXPECT_FALSE(Inked(whole).empty());
        EXPECT_EQ(whole, draw(c.Visible)) << c.Format;
    }
}

TEST(Canvas, TextOutFillsBehindWithASolidBrush)
{
    QImage img = Paper40();
    {
        TCanvas canvas(&img);
        canvas.Font.setPixelSize(10);
        canvas.Brush.Color = clBlue;
        canvas.TextOut(2, 2, "ab");
        EXPECT_EQ(canvas.PenPos, QPoint(2 + canvas.TextWidth("ab"), 2));
    }
    EXPECT_EQ(img.pixel(2, 2), 0xFF0000FFu);
}

TEST(Canvas, ClipRectangleLimitsFills)
{
    QImage img = Paper40();
    {
        TCanvas canvas(&img);
        canvas.SetClipRect(Rect(0, 0, 10, 10));
        EXPECT_TRUE(canvas.HasClip());
        EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 10, 10));
        canvas.Brush.Color = clWhite;
        canvas.FillRect(Rect(0, 0, 40, 40));
        canvas.ClearClip();
        EXPECT_FALSE(canvas.HasClip());
    }
    EXPECT_EQ(Inked(img).size(), 100u);
}

TEST(Font, HeightFollowsTheWindowsRule)
{
    TFont f;
    f.SetHeight(-11);
    EXPECT_EQ(f.pixelSize(), 11);
    EXPECT_EQ(f.Height(), -11);
    f.SetHeight(16);  // a cell height includes the leading: the characters are smaller
    EXPECT_LT(f.pixelSize(), 16);
    EXPECT_GT(f.pixelSize(), 10);
}

// Point-sized text takes as many pixels as the device's resolution asks: a printer page and an
// image of the same resolution measure alike, and neither measures like the screen.
TEST(Canvas, MeasuresTextForTheDeviceItPaintsOn)
{
    constexpr int Dpi = 300;
    TFont font;
    font.setPointSize(10);
    const QString text = "Gateway Modbus 502";

    QImage image(50, 50, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(Dpi / 0.0254));
    image.setDotsPerMeterY(qRound(Dpi / 0.0254));
    QBuffer pdfBytes;
    pdfBytes.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&pdfBytes);
    pdf.setResolution(Dpi);

    int onImage = 0, onPdf = 0, calcOnPdf = 0;
    {
        TCanvas canvas(&image);
        canvas.Font = font;
        onImage = canvas.TextWidth(text);
    }
    {
        TCanvas canvas(&pdf);
        canvas.Font = font;
        onPdf = canvas.TextWidth(text);
        QRect r;
        canvas.DrawText(text, r, DT_CALCRECT | DT_SINGLELINE);
        calcOnPdf = r.width();
        EXPECT_EQ(canvas.TextHeight(text), QFontMetrics(font, &image).height());
    }
    EXPECT_EQ(onImage, onPdf);
    EXPECT_EQ(calcOnPdf, onPdf);

    TCanvas screen;
    screen.Font = font;
    EXPECT_GT(onPdf, screen.TextWidth(text) * 2) << "measured for the screen, the text would not fit the page";

    // A measuring canvas can be told the device it measures for.
    TCanvas forImage;
    forImage.Font = font;
    forImage.SetMeasureDevice(&image);
    EXPECT_EQ(forImage.TextWidth(text), onImage);
}

TEST(Canvas, ClipRectAnswersWithinTheRegionBeingRepainted)
{
    QImage img = Paper40();
    TCanvas canvas(&img);
    EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 40, 40));
    canvas.SetPaintRegion(QRegion(5, 5, 10, 10) + QRegion(20, 20, 5, 5));
    EXPECT_EQ(canvas.ClipRect(), Rect(5, 5, 25, 25));
    canvas.SetClipRect(Rect(0, 0, 12, 40));
    EXPECT_EQ(canvas.ClipRect(), Rect(5, 5, 12, 25));
    canvas.ClearClip();
    canvas.Painter()->translate(5, 5);
    EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 20, 20)) << "in the coordinates the painting uses";
}

// Through a mirroring transform (a right-to-left layout) text reads the right way round, over the
// place its rectangle takes in the mirrored picture, as on a mirrored device context; fills and
// lines stay mirrored.
TEST(Canvas, TextUnderAMirroringTransformReadsTheRightWayRound)
{
    const int width = 120;
    auto draw = [&](bool mirrored, const std::function<void(TCanvas&)>& paint) {
        QImage img(width, 24, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        if (mirrored)
            p.setWorldTransform(QTransform(-1, 0, 0, 1, width, 0));
        TCanvas canvas;
        canvas.Attach(&p);
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Font.Color = clBlack;
        paint(canvas);
        canvas.Detach();
        return img;
    };
    const QString text = QStringLiteral("Ab1");
    const int w = TCanvas().TextWidth(text);
    struct Case {
        const char* Name;
        std::function<void(TCanvas&, int left)> Paint;
    } cases[] = {
        {"TextOut", [&](TCanvas& c, int left) { c.TextOut(left, 2, text); }},
        {"TextRect", [&](TCanvas& c, int left) { c.TextRect(QRect(left, 0, w + 4, 24), left, 2, text); }},
        {"DrawText",
         [&](TCanvas& c, int left) {
             QRect r(left, 0, w, 24);
             c.DrawText(text, r, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QImage mirrored = draw(true, [&](TCanvas& canvas) { c.Paint(canvas, 10); });
        const QImage straight = draw(false, [&](TCanvas& canvas) { c.Paint(canvas, width - 10 - w); });
        EXPECT_EQ(mirrored, straight);
        EXPECT_NE(mirrored, straight.mirrored(true, false)) << "not back to front";
    }
}

TEST(Canvas, DrawTextAnswersTheHeightItMeasuresAndFillsTheTextExtentWithASolidBrush)
{
    struct Case {
        const char* Text;
        unsigned Format;
        int Width;
    };
    const Case cases[] = {
        {"Modbus", DT_SINGLELINE | DT_VCENTER, 80},
        {"Modbus", DT_SINGLELINE | DT_RIGHT | DT_BOTTOM, 80},
        {"uno due tre quattro cinque", DT_WORDBREAK, 40},
        {"one\ntwo\nthree", DT_LEFT, 80},
    };
    for (const Case& c : cases) {
        for (const bool solid : {false, true}) {
            QImage img(100, 80, QImage::Format_RGB32);
            img.fill(Paper);
            QRect r(10, 5, c.Width, 70);
            int height = 0;
            {
                TCanvas canvas(&img);
                canvas.Font.setPixelSize(12);
                canvas.Font.Color = clWhite;
                canvas.Brush.Color = clBlue;
                canvas.Brush.Style = solid ? TBrushStyle::bsSolid : TBrushStyle::bsClear;
                QRect measured = r;
                height = canvas.DrawText(c.Text, measured, c.Format | DT_CALCRECT);
                QRect drawn = r;
                EXPECT_EQ(canvas.DrawText(c.Text, drawn, c.Format), height) << c.Text << solid;
            }
            int blue = 0;
            QRect blueBox;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    if (img.pixel(x, y) == 0xFF0000FFu) {
                        ++blue;
                        blueBox |= QRect(x, y, 1, 1);
                    }
            if (!solid) {
                EXPECT_EQ(blue, 0) << c.Text;
                continue;
            }
            // The background behind the text, as high as the text and inside the rectangle.
            EXPECT_GT(blue, 0) << c.Text;
            EXPECT_LE(blueBox.height(), height) << c.Text;
            EXPECT_GE(blueBox.height(), height - 1) << c.Text;
            EXPECT_TRUE(r.contains(blueBox)) << c.Text;
        }
    }
}
