#include <QLocale>
#include <gtest/gtest.h>

#include "grid/dataops/FilterExpr.h"

using namespace grid::dataops;

namespace {

// US order and separators: "M/d/yy", "/" and ":"; "." decimal and "," thousands.
class FilterLocale : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

struct TFilterCase {
    const char* Expr;
    const char* Cell;
    bool CaseSensitive;
    bool Expected;
};

TEST_F(FilterLocale, ExpressionsCombineLeftToRight)
{
    const TFilterCase cases[] = {
        {"a*", "apple", false, true},
        {"a*", "Apple", false, true},
        {"a*", "Apple", true, false},
        {"!*x*", "abc", false, true},
        {"!*x*", "axc", false, false},
        {">=10&<20", "10", false, true},
        {">=10&<20", "19.5", false, true},
        {">=10&<20", "20", false, false},
        {">10", "5", false, false},
        {">10", "11", false, true},
        {"<10", "9", false, true},
        {"=abc", "abc", false, true},
        {"=abc", "abcd", false, false},
        {"", "", false, true},
        {"", "x", false, false},
        {"a|b", "b", false, true},
        {"a|b&c", "a", false, false},  // (a or b) and c
        {"c|a&c", "c", false, true},
        {"x&(a|b)&c", "x", false, false},
        {"*x*&(*a*|*b*)", "xa", false, true},
        {"*x*&(*a*|*b*)", "xc", false, false},
        {"(*a*|*b*)&*x*", "bx", false, true},
        {"a;b", "b", false, true},
        {"a^b", "a", false, true},
        {"?b?", "abc", false, true},
        {"?b?", "ab", false, false},
        {"\"a b\"", "a b", false, true},
        {" a  * ", "ab", false, true},
        {">1/1/2010", "2/1/2010", false, true},
        {">1/1/2010", "12/31/2009", false, false},
        {">1,000", "1001", false, true},
        {">b", "c", false, true},
        {">b", "a", false, false},
        {"(a", "a", false, true},      // an unclosed group still ends
        {"((((a", "a", false, true},
        {"(a)b", "b", false, false},  // text after a group without an operator is discarded
        {"(a)b", "a", false, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchFilterExpr(QString::fromUtf8(c.Expr), QString::fromUtf8(c.Cell), c.CaseSensitive), c.Expected)
            << c.Expr << " on " << c.Cell;
}

TEST_F(FilterLocale, ManyStarsOnALongTextEndQuickly)
{
    const QString cell(4000, QChar('a'));
    EXPECT_FALSE(MatchFilterExpr(QStringLiteral("*a*a*a*a*a*a*a*a*a*a*b"), cell, true));
    EXPECT_TRUE(MatchFilterExpr(QStringLiteral("*a*a*a*a*a*a*a*a*a*a"), cell, true));
}

TEST_F(FilterLocale, QuoteAwareHelpers)
{
    EXPECT_EQ(RemoveBlanksOutsideQuotes(QStringLiteral("a b \"c d\" e")), QStringLiteral("ab\"c d\"e"));
    int pos = 0;
    EXPECT_EQ(FindOperatorOutsideQuotes({'&', '|'}, QStringLiteral("\"a&b\"|c"), pos), QChar('|'));
    EXPECT_EQ(pos, 6);
    pos = 99;
    EXPECT_TRUE(FindOperatorOutsideQuotes({'&'}, QStringLiteral("\"a&b\""), pos).isNull());
    EXPECT_EQ(pos, 99);
    EXPECT_EQ(ClosingParenPos(QStringLiteral("(a(b))c")), 6);
    EXPECT_EQ(ClosingParenPos(QStringLiteral("(a(b)")), 0);
}


// One parsed expression serves any number of texts: nothing of one match carries over to the next.
TEST_F(FilterLocale, ParsedOnceMatchesManyTexts)
{
    const TFilterExpr expr(QStringLiteral("*x*&(*a*|*b*)|z"), false);
    const std::pair<const char*, bool> cells[] = {
        {"xa", true}, {"XB", true}, {"x", false}, {"a", false}, {"z", true}, {"zx", false}, {"bx", true}, {"", false},
    };
    for (const auto& [cell, expected] : cells)
        EXPECT_EQ(expr.Match(QString::fromUtf8(cell)), expected) << cell;
}

TEST_F(FilterLocale, LettersBeyondAsciiFoldCase)
{
    EXPECT_FALSE(MatchFilterExpr(QString(QChar(0xE4)) + "*", QString(QChar(0xC4)) + "pfel", true));
    EXPECT_TRUE(MatchFilterExpr(QString(QChar(0xE4)) + "*", QString(QChar(0xC4)) + "pfel", false));
}

}  // namespace

// Groups nest to a bounded depth: deeper ones are read as plain text, so a long run of unclosed
// "(" costs time in proportion to its length, not to its square.
TEST(FilterExprDepth, DeepGroupsAreBounded)
{
    EXPECT_TRUE(MatchFilterExpr(QString(30, QChar('(')) + QStringLiteral("a|b"), QStringLiteral("b"), true));
    EXPECT_TRUE(MatchFilterExpr(QString(30, QChar('(')) + QStringLiteral("a") + QString(30, QChar(')')),
                                QStringLiteral("a"), true));
    const QString deep = QString(20000, QChar('(')) + QStringLiteral("a");
    EXPECT_FALSE(MatchFilterExpr(deep, QStringLiteral("a"), true));
    EXPECT_TRUE(MatchFilterExpr(deep, deep.mid(32), true)) << "the text below the bound";
}
