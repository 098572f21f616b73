// The mark-up hint window: its size from the laid-out text, its place inside the monitor and what
// it draws.
#include <QBuffer>
#include <QToolTip>
#include <gtest/gtest.h>

#include "HtmlTestUtil.h"
#include "controls/common/HTMLHintWindow.h"
#include "controls/common/PictureContainer.h"

using namespace controls;

namespace {

platform::TFont HintFontForTest()
{
    // The hint window draws in the platform's tool-tip font.
    return platform::TFont(QToolTip::font(), platform::clInfoText);
}

QImage Grab(THTMLHintWindow& w) { return w.grab().toImage(); }

}  // namespace

TEST(HtmlHintPlace, MovedTwoPixelsInsideTheMonitorsRightAndBottomEdges)
{
    const QRect monitor(0, 0, 800, 600);
    const struct {
        const char* Name;
        QRect Given, Expected;
    } cases[] = {
        {"inside", QRect(100, 100, 50, 20), QRect(100, 100, 50, 20)},
        {"past the right", QRect(780, 100, 50, 20), QRect(748, 100, 50, 20)},
        {"past the bottom", QRect(100, 590, 50, 20), QRect(100, 578, 50, 20)},
        {"past both", QRect(790, 595, 50, 20), QRect(748, 578, 50, 20)},
        {"ending on the edge", QRect(750, 100, 50, 20), QRect(750, 100, 50, 20)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(THTMLHintWindow::KeepInside(c.Given, monitor), c.Expected) << c.Name;
}

TEST(HtmlHintWindow, TwoLineHintIsSizedToItsTextAndDrawnOnTwoLines)
{
    THTMLHintWindow w;
    w.Color = platform::clWhite;
    w.ActivateHint(QRect(10, 10, 1, 1), QStringLiteral("first<BR><B>second</B>"));
    const int gh = htmltest::GhHeight(HintFontForTest());
    platform::TFont bold = HintFontForTest();
    bold.setBold(true);
    EXPECT_EQ(w.TextHeight(), 2 * gh);
    EXPECT_EQ(w.TextWidth(), std::max(htmltest::PlainSize(QStringLiteral("first"), HintFontForTest()).width(),
                                      htmltest::PlainSize(QStringLiteral("second"), bold).width()));
    EXPECT_EQ(w.size(), QSize(w.TextWidth() + 16, w.TextHeight() + 4));
    EXPECT_TRUE(w.isVisible());

    const QImage img = Grab(w);
    const int top = (img.height() - w.TextHeight()) / 2;
    const auto first = htmltest::InkColumns(img.copy(1, top + 1, img.width() - 2, gh - 2));
    const auto second = htmltest::InkColumns(img.copy(1, top + gh + 1, img.width() - 2, gh - 2));
    EXPECT_GE(first.first, 0);
    EXPECT_GE(second.first, 0);
    w.ReleaseHint();
}

TEST(HtmlHintWindow, WideHintIsTextAsItStandsOnOneLine)
{
    THTMLHintWindow w;
    const QString text = QStringLiteral("<B>not bold</B> a<BR>b");
    w.ActivateWideHint(QRect(10, 10, 1, 1), text);
    EXPECT_TRUE(w.Wide());
    EXPECT_EQ(w.TextWidth(), htmltest::PlainSize(text, HintFontForTest()).width());
    EXPECT_EQ(w.TextHeight(), htmltest::GhHeight(HintFontForTest()));
    EXPECT_EQ(w.Caption(), text);
    w.ReleaseHint();
}

TEST(HtmlHintWindow, ImagesComeOnlyFromTheSourcesItWasGiven)
{
    TPictureContainer container;
    TPictureItem* item = container.Items().Add();
    item->Name = QStringLiteral("pic");
    QImage red(12, 12, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    red.save(&buffer, "PNG");
    item->Picture().LoadFromBytes(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())));

    THTMLHintWindow w;
    w.ActivateHint(QRect(10, 10, 1, 1), QStringLiteral("<IMG SRC=\"pic\">x"));
    EXPECT_EQ(w.TextWidth(), htmltest::PlainSize(QStringLiteral("x"), HintFontForTest()).width());

    THTMLRenderInput sources;
    sources.Container = &container;
    w.SetSources(sources);
    w.ActivateHint(QRect(10, 10, 1, 1), QStringLiteral("<IMG SRC=\"pic\">x"));
    EXPECT_EQ(w.TextWidth(), 12 + htmltest::PlainSize(QStringLiteral("x"), HintFontForTest()).width());
    EXPECT_EQ(htmltest::CountPixels(Grab(w), [](QColor c) { return c == QColor(Qt::red); }), 144);
    w.ReleaseHint();
}
