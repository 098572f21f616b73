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

}  // namespace
