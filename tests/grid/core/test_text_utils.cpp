#include <QLocale>
#include <gtest/gtest.h>

#include "grid/core/GridTextUtils.h"

using namespace grid;

namespace {

struct TDateCase {
    const char* Text;
    bool MonthFirst;
    QDate Expected;  // null: not a date
};

class DateParsing : public ::testing::TestWithParam<TDateCase> {};

TEST_P(DateParsing, YearsAsWrittenAndInvalidDatesRefused)
{
    const TDateCase& c = GetParam();
    const QDate d = c.MonthFirst ? ParseDateMDY(QString::fromLatin1(c.Text)) : ParseDateDMY(QString::fromLatin1(c.Text));
    EXPECT_EQ(d, c.Expected) << c.Text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateParsing,
    ::testing::Values(TDateCase{"12/31/99", true, QDate(1999, 12, 31)}, TDateCase{"1/2/25", true, QDate(2025, 1, 2)},
                      TDateCase{"1/2/26", true, QDate(1926, 1, 2)},
                      TDateCase{"3/4/2010", true, QDate(2010, 3, 4)},   // not 3910
                      TDateCase{"4.3.2010", false, QDate(2010, 3, 4)},  // dots, day first
                      TDateCase{"4-3-0010", false, QDate(10, 3, 4)},    // four digits taken as written
                      TDateCase{"2/31/2010", true, QDate()},            // no such day: refused, no throw
                      TDateCase{"13/1/2010", true, QDate()}, TDateCase{"12/2010", true, QDate()},
                      TDateCase{"a/b/c", true, QDate()}, TDateCase{"", true, QDate()}));

TEST(NumberKind, LocaleIndependentCases)
{
    QLocale::setDefault(QLocale::c());
    struct {
        const char* Text;
        int Kind;
    } cases[] = {{"-12", nkInteger}, {"12-", nkNotNumber}, {"", nkNotNumber}, {"1.2.3", nkNotNumber},
                 {"1e5", nkExponent}, {"e5", nkNotNumber}, {"1e", nkNotNumber}, {"-1.5e-3", nkExponent},
                 {"+5", nkNotNumber}, {"-", nkInteger}, {"1,234.5", nkDecimal}};
    for (const auto& c : cases)
        EXPECT_EQ(DetectNumberKind(QString::fromLatin1(c.Text)), c.Kind) << c.Text;
}

TEST(NumberKind, GermanSeparatorsClean)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(DetectNumberKind(QStringLiteral("1.234,5")), nkDecimal);
    EXPECT_EQ(CleanNumberText(QStringLiteral("(1.234,50)")), QStringLiteral("-1234.50"));
    QLocale::setDefault(QLocale::c());
}

TEST(LineBreaks, OwnStreamCodingRoundTrip)
{
    const QString multi = QStringLiteral("a\r\nb");
    EXPECT_EQ(EncodeLineBreaks(multi), QString("a") + QChar(9) + QChar(8) + "b");
    EXPECT_EQ(DecodeLineBreaks(EncodeLineBreaks(multi), true), multi);
    EXPECT_EQ(DecodeLineBreaks(EncodeLineBreaks(multi), false), QStringLiteral("a"));
    const QString noCr = QString("x") + QChar(0) + QChar(10) + "y";
    EXPECT_EQ(EncodeLineBreaks(noCr), noCr);
    QString cut = QStringLiteral("a\r\nb");
    EXPECT_EQ(CutFirstLine(cut, true), QStringLiteral("a"));
    EXPECT_EQ(cut, QStringLiteral("b"));
}

TEST(TextKind, PrefixesAndWideCoding)
{
    EXPECT_EQ(DetectTextKind(QString(), true), tkPlain);
    EXPECT_EQ(DetectTextKind(QStringLiteral("="), true), tkFormula);
    EXPECT_EQ(DetectTextKind(QStringLiteral("<b>x</b>"), true), tkHTML);
    EXPECT_EQ(DetectTextKind(QStringLiteral("<b>x</b>"), false), tkPlain);
    EXPECT_EQ(DetectTextKind(EncodeWideText(QStringLiteral("=")), true), tkWide);
    EXPECT_EQ(DetectTextKind(EncodeWideText(QStringLiteral("=1")), true), tkFormula);
    const QString wide = QString::fromUtf16(u"\u20AC\u00E4z");
    EXPECT_EQ(DecodeWideText(EncodeWideText(wide)), wide);
}

TEST(IntegerText, StrictConversion)
{
    int v = 0;
    EXPECT_TRUE(StrToIntStrict(QStringLiteral("-42"), v));
    EXPECT_EQ(v, -42);
    EXPECT_TRUE(StrToIntStrict(QStringLiteral("$1F"), v));
    EXPECT_EQ(v, 31);
    EXPECT_TRUE(StrToIntStrict(QStringLiteral("0x10"), v));
    EXPECT_EQ(v, 16);
    for (const char* bad : {"4x", "", "-", "99999999999", "1 2", "$"})
        EXPECT_FALSE(StrToIntStrict(QString::fromLatin1(bad), v)) << bad;
}

}  // namespace
