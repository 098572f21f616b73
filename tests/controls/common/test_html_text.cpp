// The mark-up text routines: plain text, entities, marking and the in-cell control tags.
#include <gtest/gtest.h>

#include "controls/common/EsgHTMLE.h"

using namespace controls;

struct TextCase {
    const char* Name;
    std::function<QString()> Actual;
    QString Expected;
};

class HtmlTextRoutines : public ::testing::TestWithParam<TextCase> {};

TEST_P(HtmlTextRoutines, Converts) { EXPECT_EQ(GetParam().Actual(), GetParam().Expected) << GetParam().Name; }

INSTANTIATE_TEST_SUITE_P(
    Cases, HtmlTextRoutines,
    ::testing::Values(
        TextCase{"PlainBreaksAndDropsTags", [] { return HTMLToPlainText(QStringLiteral("a<br>b<HR><B>c</B>")); },
                 QStringLiteral("a\r\nb\r\nc")},
        TextCase{"PlainKeepsAnUnclosedTagOnce", [] { return HTMLToPlainText(QStringLiteral("x<b>y<z")); },
                 QStringLiteral("xy<z")},
        TextCase{"EncodeNamed",
                 [] { return HTMLEncodeEntities(QString::fromUtf8("<\u00e9>&\""), true); },
                 QStringLiteral("&lt;&eacute;&gt;&amp;&quot;")},
        TextCase{"EncodeUnnamedKeepsAccents", [] { return HTMLEncodeEntities(QString::fromUtf8("\u00e9"), false); },
                 QString::fromUtf8("\u00e9")},
        TextCase{"DecodeNamed", [] { return HTMLDecodeEntities(QStringLiteral("&lt;&eacute;&gt;"), true); },
                 QString::fromUtf8("<\u00e9>")},
        TextCase{"DecodeKeepsUpperAndLowerAccentsApart",
                 [] { return HTMLDecodeEntities(QStringLiteral("&Eacute;&eacute;"), true); },
                 QString::fromUtf8("\u00c9\u00e9")},
        TextCase{"DecodeRoundTripsTheEncoding",
                 [] { return HTMLDecodeEntities(HTMLEncodeEntities(QString::fromUtf8("a&lt;\u20ac\"<>"), true), true); },
                 QString::fromUtf8("a&lt;\u20ac\"<>")},
        TextCase{"Spaces", [] { return HTMLEncodeSpaces(QStringLiteral("a b ")); }, QStringLiteral("a&nbsp;b&nbsp;")},
        TextCase{"MarkAcrossAnItalicTag",
                 [] { return HTMLMarkText(QStringLiteral("ab<i>cd</i>"), QStringLiteral("bc"), QStringLiteral("hi"), true); },
                 QStringLiteral("a<hi>b<i>c</hi>d</i>")},
        TextCase{"MarkEveryMatchIgnoringCase",
                 [] { return HTMLMarkText(QStringLiteral("Abab"), QStringLiteral("AB"), QStringLiteral("hi"), false); },
                 QStringLiteral("<hi>Ab</hi><hi>ab</hi>")},
        TextCase{"MarkWithCaseFindsNothing",
                 [] { return HTMLMarkText(QStringLiteral("Abab"), QStringLiteral("AB"), QStringLiteral("hi"), true); },
                 QStringLiteral("Abab")},
        TextCase{"UnmarkRemovesTheTagAndUnescapes",
                 [] { return HTMLUnmarkText(QStringLiteral("<HI>a</hi>&lt;b&gt;"), QStringLiteral("hi")); },
                 QStringLiteral("a<b>")}),
    [](const auto& info) { return std::string(info.param.Name); });

class HtmlControlTags : public ::testing::Test {
protected:
    QString Html = QStringLiteral(
        "Name <CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Go\"> <CONTROL TYPE=\"EDIT\" ID=\"name\" VALUE=\"J&amp;J "
        "caf&eacute;\" WIDTH=\"80\" MAXLEN=\"12\"> <CONTROL TYPE=\"RADIO\" ID=\"r1\" VALUE=\"TRUE\"> "
        "<CONTROL TYPE=\"radio\" ID=\"r2\" VALUE=\"TRUE\"> <CONTROL TYPE=\"MASK\" ID=\"zip\" PROP=\"99999\" VALUE=\"\"> end");
};

TEST_F(HtmlControlTags, NextControlSkipsButtonsChecksAndRadios)
{
    EXPECT_TRUE(HTMLHasControls(QStringLiteral("x<control ")));
    EXPECT_EQ(HTMLNextControlID(Html, QString()), QStringLiteral("name"));
    EXPECT_EQ(HTMLNextControlID(Html, QStringLiteral("name")), QStringLiteral("zip"));
    EXPECT_EQ(HTMLNextControlID(Html, QStringLiteral("zip")), QString());
    EXPECT_EQ(HTMLNextControlID(Html, QStringLiteral("none")), QString());
}

TEST_F(HtmlControlTags, ValuesPropsAndLengthsAreReadDecoded)
{
    QString value;
    EXPECT_EQ(HTMLGetControlValue(Html, QStringLiteral("name"), value), 1);
    EXPECT_EQ(value, QString::fromUtf8("J&J caf\u00e9"));
    EXPECT_EQ(HTMLGetControlValue(Html, QStringLiteral("NAME"), value), 0);
    EXPECT_EQ(HTMLGetControlProp(Html, QStringLiteral("zip")), QStringLiteral("99999"));
    EXPECT_EQ(HTMLGetControlMaxLen(Html, QStringLiteral("name")), 12);
    EXPECT_EQ(HTMLGetControlMaxLen(Html, QStringLiteral("zip")), 0);
}

TEST_F(HtmlControlTags, SettingAValueRewritesOnlyThatTag)
{
    QString html = Html;
    EXPECT_EQ(HTMLSetControlValue(html, QStringLiteral("missing"), QStringLiteral("x")), 0);
    EXPECT_EQ(html, Html);

    EXPECT_EQ(HTMLSetControlValue(html, QStringLiteral("name"), QStringLiteral("a\"<b> ID=\"zip\"")), 1);
    EXPECT_TRUE(html.startsWith(QStringLiteral("Name <CONTROL TYPE=\"BUTTON\"")));
    EXPECT_TRUE(html.contains(QStringLiteral("<CONTROL ID=\"name\" VALUE=\"a&quot;&lt;b&gt; ID=&quot;zip&quot;\" "
                                             "WIDTH=\"80\" TYPE=\"EDIT\" MAXLEN=\"12\">")))
        << html.toStdString();
    QString value;
    HTMLGetControlValue(html, QStringLiteral("name"), value);
    EXPECT_EQ(value, QStringLiteral("a\"<b> ID=\"zip\""));
    // A value that names another control's ID does not hide that control.
    EXPECT_EQ(HTMLGetControlProp(html, QStringLiteral("zip")), QStringLiteral("99999"));
    EXPECT_TRUE(html.endsWith(QStringLiteral(" end")));
}

TEST_F(HtmlControlTags, ClearRadiosUnsetsEveryRadioOnly)
{
    const QString cleared = HTMLClearRadios(Html);
    QString value;
    for (const char* id : {"r1", "r2"}) {
        HTMLGetControlValue(cleared, QLatin1String(id), value);
        EXPECT_EQ(value, QStringLiteral("FALSE")) << id;
    }
    HTMLGetControlValue(cleared, QStringLiteral("b"), value);
    EXPECT_EQ(value, QStringLiteral("Go"));
}

TEST(HtmlColours, NamesAndHexValues)
{
    EXPECT_EQ(HTMLColor(QStringLiteral("clRed")), platform::clRed);
    EXPECT_EQ(HTMLColor(QStringLiteral("CLINFOBK")), platform::clInfoBk);
    EXPECT_EQ(HTMLColor(QStringLiteral("#FF8000")), platform::RGBToColor(255, 128, 0));
    EXPECT_EQ(HTMLColor(QStringLiteral("#0a0B0c")), platform::RGBToColor(10, 11, 12));
    EXPECT_EQ(HTMLColor(QStringLiteral("clNoSuchColour")), platform::clBlack);
}
