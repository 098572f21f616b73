#include <QTest>
#include <gtest/gtest.h>

#include "grid/editing/editors/EsgSpin.h"

using namespace grid::editors;

namespace {

TEST(SpinEdit, WholeNumbersStepWithinTheirLimits)
{
    TEsgSpinEdit spin;
    spin.SetValue(99);
    QTest::keyClick(&spin, Qt::Key_Up);
    QTest::keyClick(&spin, Qt::Key_Up);
    EXPECT_EQ(spin.text(), QStringLiteral("100"));
    spin.setText(QStringLiteral("abc"));
    EXPECT_EQ(spin.Value(), 0);  // not a number: the lower limit
    spin.MinValue = spin.MaxValue = 5;  // equal limits: none
    spin.SetValue(500);
    EXPECT_EQ(spin.Value(), 500);
}

TEST(SpinEdit, TimesWrapWithinTheDay)
{
    TEsgSpinEdit spin;
    spin.SetSpinType(sptTime);
    spin.setText(QStringLiteral("0:30:00"));
    spin.setCursorPosition(0);
    QTest::keyClick(&spin, Qt::Key_Down);
    EXPECT_EQ(spin.text(), QStringLiteral("23:30:00"));
}

TEST(SpinEdit, WholeNumbersTakeDigitsAndOneLeadingMinusOnly)
{
    TEsgSpinEdit spin;
    spin.setText(QString());
    QTest::keyClicks(&spin, QStringLiteral("-1a2-:"));
    EXPECT_EQ(spin.text(), QStringLiteral("-12"));
}

// The standard integer conversion of a cell text: it never fails, it stops at the first
// character that is not part of the number, and a value past the integer range saturates.
TEST(SpinEdit, TextToIntReadsThePrefixOfANumber)
{
    const struct {
        const char* Text;
        int Value;
        bool Ok;
    } cases[] = {{"42", 42, true},       {"  -17", -17, true},           {"+8x", 8, true},
                 {"$ff", 255, true},     {"0X1A", 26, true},             {"-$10", -16, true},
                 {"$", 0, false},        {"12 34", 12, true},            {"", 0, false},
                 {"abc", 0, false},      {"99999999999", 2147483647, true}, {"-99999999999", -2147483647 - 1, true}};
    for (const auto& c : cases) {
        bool ok = !c.Ok;
        EXPECT_EQ(TextToInt(QString::fromLatin1(c.Text), &ok), c.Value) << c.Text;
        EXPECT_EQ(ok, c.Ok) << c.Text;
    }
}

}  // namespace
