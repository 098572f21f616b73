#include <gtest/gtest.h>

#include "grid/core/GridTextUtils.h"

using namespace grid;

namespace {

QString S(const char* text) { return QString::fromUtf8(text); }

TEST(CsvCodings, EncodersAndTheirInverses)
{
    QString t = S("a\r\nb");
    CSVQuoteLines(t);
    EXPECT_EQ(t, QString("\"a") + QChar(11) + "b\"");
    QString back = QString("a") + QChar(11) + "b";
    TVToCRLF(back);
    EXPECT_EQ(back, S("a\r\nb"));

    QString tilde = S("a\r\nb\rc");
    CRLFToTilde(tilde);
    EXPECT_EQ(tilde, S("a~b~c"));
    QString fromTilde = S("a~b");
    TildeToCRLF(fromTilde);
    EXPECT_EQ(fromTilde, S("a\r\nb"));
    QString caret = S("^");
    TildeToCRLF(caret);
    EXPECT_TRUE(caret.isEmpty());

    QString quoted = S("a\r\nb\rc");
    CRLFToLF(quoted);
    EXPECT_EQ(quoted, S("a\nb\rc"));
    EXPECT_EQ(StripCR(S("a\r\nb")), S("a\nb"));
    EXPECT_EQ(CRToLF(S("a\rb")), S("a\nb"));
    EXPECT_EQ(CRToHTMLBreak(S("a\r\nb")), S("a<br>\nb"));
}

TEST(CsvCodings, QuotesAndTokens)
{
    EXPECT_EQ(DoubleQuoteChars(S("a\"b")), S("a\"\"b"));
    EXPECT_EQ(UndoubleChar('"', S("a\"\"b\"c")), S("a\"b\"c"));
    EXPECT_EQ(UndoubleChar('"', S("abc")), S("abc"));

    struct {
        const char* Text;
        int Pos;
        int Count;
    } cases[] = {
        {"abc", 0, 0},
        {"ab\"", 3, 1},          // last character always an answer
        {"a\"\"b\",c", 5, 1},    // the pair is skipped, the single closes
        {"\"\"\"x", 3, 1},       // a run of three ends on an odd count
        {"a\"b\"c\"", 2, 3},
    };
    for (const auto& c : cases) {
        int pos = -1;
        EXPECT_EQ(FindUnpairedChar('"', S(c.Text), pos), c.Pos) << c.Text;
        EXPECT_EQ(pos, c.Pos) << c.Text;
        EXPECT_EQ(CountUnpairedChar('"', S(c.Text)), c.Count) << c.Text;
    }

    QString line = S("1,2,3");
    EXPECT_EQ(CutToken(line, ','), S("1"));
    EXPECT_EQ(line, S("2,3"));
    QString last = S("3");
    EXPECT_TRUE(CutToken(last, ',').isEmpty());
    EXPECT_EQ(last, S("3"));
    EXPECT_EQ(JoinStrings({S("a"), S("b"), S("c")}), S("abc"));
}

TEST(Positions, OneBasedAndSetOnlyWhenFound)
{
    int pos = 7;
    EXPECT_EQ(CharPosAndSet('x', S("abc"), pos), 0);
    EXPECT_EQ(pos, 7);
    EXPECT_EQ(CharPosAndSet('c', S("abc"), pos), 3);
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(PosAndSet(S("bc"), S("abc"), pos), 2);
    EXPECT_EQ(CharPos('a', S("abc")), 1);
    EXPECT_EQ(UpperCasePos(S("<BLI"), S("x<blink>")), 2);
    EXPECT_EQ(UpperCasePos(S("Ä"), S("ä")), 0);  // ASCII upper-casing only
    EXPECT_EQ(WidePos(S("€"), S("a€")), 2);
}

TEST(Html, ClipboardEnvelopeOffsets)
{
    QString empty;
    MakeClipboardHTML(empty);
    EXPECT_TRUE(empty.startsWith(S("Version:1.0\r\nStartHTML:00000097\r\nEndHTML:00000306\r\n"
                                   "StartFragment:00000274\r\nEndFragment:00000274\r\n")));
    EXPECT_EQ(empty.indexOf(S("<!DOCTYPE")), 97);
    EXPECT_EQ(empty.size(), 306);

    QString fragment = S("<table><tr><td>x</td></tr></table>");
    const qsizetype n = fragment.size();
    const QString original = fragment;
    MakeClipboardHTML(fragment);
    const int startFragment = fragment.mid(fragment.indexOf(S("StartFragment:")) + 14, 8).toInt();
    const int endFragment = fragment.mid(fragment.indexOf(S("EndFragment:")) + 12, 8).toInt();
    const int endHtml = fragment.mid(fragment.indexOf(S("EndHTML:")) + 8, 8).toInt();
    EXPECT_EQ(fragment.mid(startFragment, endFragment - startFragment), original);
    EXPECT_EQ(endFragment - startFragment, n);
    EXPECT_EQ(endHtml, fragment.size());
    EXPECT_EQ(fragment.indexOf(S("<!--EndFragment-->")), endFragment);
}

TEST(Html, LinksAndColours)
{
    QString out = S("unchanged");
    EXPECT_FALSE(LinkURLPrefix(S("no link"), S("WWW."), out));
    EXPECT_EQ(out, S("unchanged"));
    ASSERT_TRUE(LinkURLPrefix(S("see www.x.org?q=1 <b>"), S("WWW."), out));
    EXPECT_EQ(out, S("see <a href=\"www.x.org\">www.x.org</a>?q=1 &lt;b&gt;"));
    ASSERT_TRUE(LinkURLPrefix(S("Http://A.b/\"onmouseover"), S("HTTP://"), out));
    EXPECT_EQ(out, S("<a href=\"Http://A.b/\">Http://A.b/</a>\"onmouseover"));

    EXPECT_TRUE(IsURL(S("http://x")));
    EXPECT_TRUE(IsURL(S("mailto:a@b")));
    EXPECT_FALSE(IsURL(S("MAILTO:a@b")));
    QString url = S("ftp://host/file");
    StripURLProtocol(url);
    EXPECT_EQ(url, S("host/file"));
    QString mail = S("mailto:a@b");
    StripURLProtocol(mail);
    EXPECT_EQ(mail, S("a@b"));

    EXPECT_EQ(ColorToHTMLHex(0x00336699), S("996633"));
    EXPECT_EQ(ColorToHTMLHex(clHighlight), S("0D0000"));  // a system colour is not resolved
}

TEST(Words, CapitalizeNamesAndNumerals)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"MC", "Mc"},
        {"john mcdonald iii", "John McDonald III"},
        {"o'neil-smith", "O'Neil-Smith"},
        {"HELLO WORLD", "Hello World"},
        {"louis ii", "Louis II"},
        {"a.b,c", "A.B,C"},
    };
    for (const auto& [in, expected] : cases)
        EXPECT_EQ(CapitalizeWords(S(in)), S(expected)) << in;
}

TEST(Words, RowColumnReferences)
{
    struct {
        const char* Text;
        bool Ok;
        int Col, Row;
    } cases[] = {{"R2C3", true, 3, 2}, {"r10c1", true, 1, 10}, {"R2C", false, 0, 0},
                 {"RxC1", false, 0, 0}, {"C2R3", false, 0, 0}, {"R1", false, 0, 0},
                 {"R 2C3", false, 0, 0}};
    for (const auto& c : cases) {
        int col = -1, row = -1;
        EXPECT_EQ(ParseRCCellRef(S(c.Text), col, row), c.Ok) << c.Text;
        if (c.Ok) {
            EXPECT_EQ(col, c.Col);
            EXPECT_EQ(row, c.Row);
        } else {
            EXPECT_EQ(col, -1) << c.Text;
        }
    }
}

TEST(Words, OemRoundTripAndMasks)
{
    const QString latin = S("Größe: 5 µm, Ä é ñ");
    QString t = latin;
    StrToOem(t);
    EXPECT_EQ(t.size(), latin.size());
    EXPECT_EQ(t.at(2).unicode(), 0x94);  // ö in code page 850
    OemToStr(t);
    EXPECT_EQ(t, latin);

    QString pw = S("secret");
    FillWithChar(pw, '*');
    EXPECT_EQ(pw, S("******"));
}

}  // namespace
