// The rotation tag of the mark-up renderer: text between the tags turns by the angle about the top
// left of its place, the layout keeps the text's unturned width, and the closing tag turns back.
#include <gtest/gtest.h>

#include "HtmlTestUtil.h"
#include "controls/common/EsgHTMLE.h"

using namespace controls;
using namespace htmltest;

namespace {

// Draws the text in a one-line box whose top-left is at (40, 60) on a white 140 x 140 image.
QImage DrawAt(const QString& text)
{
    QImage img = WhiteImage(140, 140);
    platform::TCanvas canvas(&img);
    canvas.Font = TestFont();
    canvas.Brush.Style = platform::TBrushStyle::bsClear;
    THTMLRenderInput in;
    THTMLRenderResult out;
    RenderHTMLText(canvas, text, QRect(40, 60, 100, GhHeight()), in, out);
    return img;
}

bool Ink(QColor c) { return c != QColor(Qt::white); }

int InkIn(const QImage& img, const QRect& area)
{
    int n = 0;
    for (int y = std::max(0, area.top()); y <= std::min(img.height() - 1, area.bottom()); ++y)
        for (int x = std::max(0, area.left()); x <= std::min(img.width() - 1, area.right()); ++x)
            n += Ink(img.pixelColor(x, y));
    return n;
}

}  // namespace

TEST(HtmlRotation, TextTurnsByTheAngleAboutItsTopLeft)
{
    const int line = 60, gh = GhHeight();
    const QRect above(0, 0, 140, line - 2), below(0, line + gh + 2, 140, 140), left(0, 0, 38, 140);
    const struct {
        const char* Name;
        QString Text;
        bool Above, Below, Left;
    } cases[] = {
        {"no rotation", QStringLiteral("Upward"), false, false, false},
        {"zero degrees", QStringLiteral("<R a=\"0\">Upward</R>"), false, false, false},
        {"a quarter turn up", QStringLiteral("<R a=\"90\">Upward</R>"), true, false, false},
        {"any tag name from R", QStringLiteral("<ROT A=\"90\">Upward</ROT>"), true, false, false},
        {"a quarter turn down", QStringLiteral("<R a=\"-90\">Upward</R>"), false, true, true},
        {"angle without quotes", QStringLiteral("<R a=90>Upward</R>"), false, false, false},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        const QImage img = DrawAt(k.Text);
        EXPECT_EQ(InkIn(img, above) > 10, k.Above);
        EXPECT_EQ(InkIn(img, below) > 10, k.Below);
        EXPECT_EQ(InkIn(img, left) > 10, k.Left);
    }
}

TEST(HtmlRotation, LayoutKeepsTheWidthAndTheClosingTagTurnsBack)
{
    platform::TCanvas canvas;
    canvas.Font = TestFont();
    const QRect room(0, 0, 400, 100);
    EXPECT_EQ(MeasureHTMLText(canvas, QStringLiteral("<R a=\"90\">Upward</R> flat"), room, false),
              MeasureHTMLText(canvas, QStringLiteral("Upward flat"), room, false));

    // After the closing tag the text lies on the line again, right of where the turned word stood.
    const QImage img = DrawAt(QStringLiteral("<R a=\"90\">Up</R>flat"));
    const int upWidth = PlainSize(QStringLiteral("Up"), TestFont()).width();
    const int gh = GhHeight();
    EXPECT_GT(InkIn(img, QRect(41 + upWidth, 60, 100, gh)), 20);
    EXPECT_EQ(InkIn(img, QRect(41 + upWidth, 0, 100, 58)), 0);

    // Nested turns: the closing tag returns to the outer angle, not to none.
    const QImage nested = DrawAt(QStringLiteral("<R a=\"90\"><R a=\"-90\">in</R>outer</R>"));
    EXPECT_GT(InkIn(nested, QRect(0, 0, 140, 58)), 10) << "the outer word still turns up";
}
