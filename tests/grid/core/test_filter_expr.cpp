#include <QLocale>
#include <gtest/gtest.h>

#include "grid/core/GridTextUtils.h"

using namespace grid;

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

struct TDateTimeCase {
    const char* Text;
    bool Ok;
    QDateTime Expected;
};

TEST_F(FilterLocale, LocaleDateTimeParsing)
{
    const TDateTimeCase cases[] = {
        {"3/4/2010", true, QDateTime(QDate(2010, 3, 4), QTime(0, 0))},
        {"3/4/10", true, QDateTime(QDate(10, 3, 4), QTime(0, 0))},  // the year as written
        {"3/4/2010 13:05", true, QDateTime(QDate(2010, 3, 4), QTime(13, 5))},
        {"3/4/2010 13:05:09", true, QDateTime(QDate(2010, 3, 4), QTime(13, 5, 9))},
        {"3/4/2010 24:00", false, {}},
        {"3/4/2010 1305", false, {}},
        {"2/30/2010", false, {}},
        {"13/1/2010", false, {}},
        {"3/2010", false, {}},
        {"a/b/c", false, {}},
        {"", false, {}},
    };
    for (const auto& c : cases) {
        QDateTime v;
        EXPECT_EQ(ParseLocaleDateTime(QString::fromLatin1(c.Text), v), c.Ok) << c.Text;
        if (c.Ok)
            EXPECT_EQ(v, c.Expected) << c.Text;
    }
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));  // d.M.yy
    QDateTime v;
    ASSERT_TRUE(ParseLocaleDateTime(QStringLiteral("3.4.2010"), v));
    EXPECT_EQ(v.date(), QDate(2010, 4, 3));
}

TEST_F(FilterLocale, DateSeriesAndShape)
{
    const QDate d(2010, 1, 31);
    EXPECT_EQ(IncDate(0, 0, 3, d, 0), QDate(2010, 2, 3));
    EXPECT_EQ(IncDate(0, 1, 0, d, 0), QDate(2010, 2, 28));  // clamped to the month's last day
    EXPECT_EQ(IncDate(0, -1, 0, d, 0), QDate(2009, 12, 31));
    EXPECT_EQ(IncDate(0, 12, 0, QDate(2010, 12, 5), 0), QDate(2011, 12, 5));
    EXPECT_EQ(IncDate(0, -25, 0, QDate(2010, 1, 5), 0), QDate(2007, 12, 5));
    EXPECT_EQ(IncDate(1, 0, 0, QDate(2012, 2, 29), 0), QDate(2013, 2, 28));
    EXPECT_EQ(IncDate(1, 1, 0, d, 7), QDate(2010, 2, 7));  // mixed steps use the plain step
    EXPECT_TRUE(LooksLikeDate(QStringLiteral("1/2/3")));
    EXPECT_FALSE(LooksLikeDate(QStringLiteral("/2/3")));
    EXPECT_FALSE(LooksLikeDate(QStringLiteral("1//3")));
    EXPECT_FALSE(LooksLikeDate(QStringLiteral("12/3")));
}

}  // namespace
