// Values of in-cell controls as the renderer reads them: entities inside a tag belong to its
// attributes, so a quote or an ampersand in a value keeps the tag whole.
#include <gtest/gtest.h>

#include "HtmlTestUtil.h"
#include "controls/common/EsgHTMLE.h"

using namespace controls;
using namespace htmltest;

TEST(HtmlControlValues, EscapedCharactersInAValueKeepTheTagWhole)
{
    const struct {
        const char* Name;
        QString Typed;
    } cases[] = {
        {"quotes", QStringLiteral("say \"hi\"")},
        {"ampersand", QStringLiteral("salt & pepper")},
        {"angle brackets and accents", QString::fromUtf8("<caf\u00e9>")},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        // The text as the grid writes it back after the user typed into the control's box.
        QString html = QStringLiteral("x <CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"\" WIDTH=\"70\"> y");
        ASSERT_EQ(HTMLSetControlValue(html, QStringLiteral("e"), k.Typed), 1);
        platform::TCanvas canvas;
        canvas.Font = TestFont();
        THTMLRenderInput in;
        in.HitOnly = true;
        in.ControlID = QStringLiteral("e");
        THTMLRenderResult out;
        EXPECT_TRUE(RenderHTMLText(canvas, html, QRect(0, 0, 300, 40), in, out));
        EXPECT_EQ(out.ControlValue, k.Typed);
        EXPECT_EQ(out.ControlRect.width(), 70) << "the width after the value is still read";
        const QSize size = MeasureHTMLText(canvas, html, QRect(0, 0, 300, 40), false);
        EXPECT_EQ(size.width(), PlainSize(QStringLiteral("x "), TestFont()).width() + 70 +
                                    PlainSize(QStringLiteral(" y"), TestFont()).width());
    }
}
