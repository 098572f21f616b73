#include <QLocale>
#include <gtest/gtest.h>

#include "grid/core/GridTextUtils.h"

using namespace grid;

namespace {

// US order and separators: "M/d/yy", "/" and ":"; "." decimal and "," thousands.
class DateLocale : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

struct TDateTimeCase {
    const char* Text;
    bool Ok;
    QDateTime Expected;
};

TEST_F(DateLocale, LocaleDateTimeParsing)
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

TEST_F(DateLocale, DateSeriesAndShape)
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
