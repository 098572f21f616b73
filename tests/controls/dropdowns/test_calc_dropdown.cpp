#include "controls/dropdowns/CalcDropDown.h"
#include "controls/dropdowns/DropDownForm.h"

#include "support/GoldenImage.h"

#include "support/QStringPrinter.h"

#include <QLocale>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <cfloat>
#include <memory>

// Failures show texts as text.

using namespace dropdowns;

namespace {

// A calculator on a shown window, with '.' as the decimal and ',' as the thousand separator.
struct CalcFixture : ::testing::Test {
    QLocale savedLocale;
    std::unique_ptr<QWidget> window;
    TExtCalculatorDropdown* calc = nullptr;

    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        window = std::make_unique<QWidget>();
        window->resize(300, 120);
        calc = new TExtCalculatorDropdown(window.get());
        calc->move(10, 10);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        calc->setFocus();
    }
    void TearDown() override
    {
        window.reset();
        QLocale::setDefault(savedLocale);
    }

    int KeyIndex(const QString& caption) const
    {
        const TButtonItems& keys = calc->ButtonPanel()->Buttons();
        for (int i = 0; i < keys.Count(); ++i)
            if (keys.GetItem(i)->Caption == caption)
                return i;
        ADD_FAILURE() << "no key " << caption.toStdString();
        return -1;
    }
    // Clicks the keys named by the space-separated captions.
    void Keys(const QString& captions)
    {
        for (const QString& caption : captions.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            calc->CalcButtonClick(nullptr, KeyIndex(caption));
    }
    void ClickKey(const QString& caption)
    {
        QRect r;
        calc->ButtonPanel()->GetButtonRect(KeyIndex(caption), r);
        QTest::mouseClick(calc->ButtonPanel()->viewport(), Qt::LeftButton, {}, r.center());
    }
};

struct KeyCase {
    const char* keys;
    const char* display;
};

}  // namespace

TEST_F(CalcFixture, KeySequencesShowTheirResults)
{
    const KeyCase cases[] = {
        {"2 + 3 * 4 =", "20.00"},         // strictly left to right
        {"2 + 3 * 4 = =", "20.00"},       // a second "=" repeats nothing
        {"5 + -", "10.00"},               // the pending addition applies to the shown 5
        {"2 0 0 + 1 0 %", "20.00"},
        {"2 0 0 + 1 0 % =", "220.00"},
        {"7 / 0 =", "Error"},
        {"7 / 0 = 3", "3.00"},
        {"7 / 0 = + 2 =", "2.00"},        // an operator reads "Error" as 0
        {". 1", "0.10"},
        {". 1 2", "0.12"},
        {". 1 2 7", "0.13"},              // the third decimal is rounded away by the display
        {"5 +/-", "-5.00"},
        {"5 +/- 3", "-53.00"},            // digits extend a negative number's magnitude
        {"1 2 3 Back", "12.00"},
        {"1 2 3 + Back", "123.00"},       // Back waits while an operation is pending
        {"7 Back", "0.00"},
        {"4 2 MS C MR", "42.00"},
        {"4 2 MS C 8 M+ MR", "50.00"},
        {"4 2 MS MC MR", "0.00"},
        {"9 sqrt", "3.00"},
        {"9 +/- sqrt", "Error"},
        {"4 1/x", "0.25"},
        {"0 1/x", "Error"},
        {"0 1/x +/-", "Error"},           // the sign key leaves "Error" alone
        {"8 + 2 C", "0.00"},
        {"8 + 2 CE 1 =", "1.00"},         // CE drops the pending operation too
        {"6 5", "65.00"},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.keys);
        calc->ShowDropDown();
        Keys("C");
        Keys(QString::fromLatin1(c.keys));
        EXPECT_EQ(calc->Text(), QString::fromLatin1(c.display));
        calc->HideDropDown(false);
    }
}

TEST_F(CalcFixture, ErrorsLeaveTheAccumulatorAsTheRulesSay)
{
    calc->ShowDropDown();
    Keys("5 0 + 9 sqrt");
    EXPECT_EQ(calc->Text(), "3.00");
    Keys("+/- sqrt");
    EXPECT_EQ(calc->Text(), "Error");
    EXPECT_EQ(double(calc->Accumulator()), 50.0);   // sqrt of a negative leaves it alone
    Keys("=");
    EXPECT_EQ(double(calc->Accumulator()), 50.0);   // "=" on "Error" keeps it
    Keys("C 7 / 0 =");
    EXPECT_EQ(double(calc->Accumulator()), 0.0);    // division by zero resets it
    EXPECT_EQ(calc->PendingOperation(), -1);
}

TEST_F(CalcFixture, OverflowShowsErrorInsteadOfAValue)
{
    calc->ShowDropDown();
    calc->SetValue(DBL_MAX / 2);
    Keys("* 4 =");
    EXPECT_EQ(calc->Text(), "Error");
    EXPECT_EQ(double(calc->Accumulator()), 0.0);
    Keys("2 =");
    EXPECT_EQ(calc->Text(), "2.00");

    // A digit that pushes the display beyond the largest number.
    Keys("1");
    calc->SetValue(DBL_MAX);
    Keys("9");
    EXPECT_EQ(calc->Text(), "Error");
}

TEST_F(CalcFixture, MaxLengthStopsDigitKeysWithoutMarkingModified)
{
    calc->ShowDropDown();
    calc->setMaxLength(4);
    calc->SetText("1");
    ASSERT_EQ(calc->Text(), "1.00");
    ASSERT_FALSE(calc->IsModified());
    Keys("5 . +/-");
    EXPECT_EQ(calc->Text(), "1.00");
    EXPECT_FALSE(calc->IsModified());
    Keys("+");
    EXPECT_TRUE(calc->IsModified());
}

TEST_F(CalcFixture, ValueReadsTheDisplayAndAnEmptyDisplayBecomesZero)
{
    calc->SetTextDirect(QString());
    EXPECT_EQ(calc->Value(), 0.0);
    EXPECT_EQ(calc->Text(), "0");
    calc->SetTextDirect("12.5x");
    EXPECT_EQ(calc->Value(), 0.0);
    calc->SetValue(1234.5);
    EXPECT_EQ(calc->Text(), "1234.50");
    calc->SetShowThousandSeparator(true);
    EXPECT_EQ(calc->Text(), "1,234.50");
    EXPECT_EQ(calc->Value(), 1234.5);
    calc->SetShowThousandSeparator(false);
    EXPECT_EQ(calc->Text(), "1234.50");
}

TEST_F(CalcFixture, TypingIntoTheClosedEditOnlyEditsTheNumber)
{
    calc->SetTextDirect("0");
    QTest::keyClick(calc, Qt::Key_Plus);
    EXPECT_EQ(calc->Text(), "0");
    QTest::keyClick(calc, Qt::Key_5);
    EXPECT_EQ(calc->Text(), "5.00");
    EXPECT_EQ(calc->cursorPosition(), 1);
    EXPECT_FALSE(calc->DroppedDown());

    calc->SetTextDirect("7");
    calc->setCursorPosition(1);
    QTest::keyClick(calc, Qt::Key_Backspace);
    EXPECT_EQ(calc->Text(), "0.00");
}

TEST_F(CalcFixture, OpensByAltDownAndTheKeyboardDrivesTheOpenCalculator)
{
    calc->SetText("3");
    QTest::keyClick(calc, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(calc->DroppedDown());
    // While the panel is open, Qt hands the keys to the popup; one that reaches the edit all the
    // same takes the same road.
    QWidget* form = calc->DropDownForm();
    QTest::keyClicks(calc, "2");
    QTest::keyClicks(form, "+3*4");
    EXPECT_EQ(calc->Text(), "4.00");
    QTest::keyClick(form, Qt::Key_Backspace);
    EXPECT_EQ(calc->Text(), "4.0");
    QTest::keyClicks(form, "7/0=");
    ASSERT_EQ(calc->Text(), "Error");
    QTest::keyClicks(form, "6");        // a digit replaces "Error"
    EXPECT_EQ(calc->Text(), "6.00");
    QTest::keyClicks(form, "/0=");
    QTest::keyClick(form, Qt::Key_Backspace);
    EXPECT_EQ(calc->Text(), "0.00");
    QTest::keyClicks(form, "2+3*4");
    QTest::keyClick(form, Qt::Key_Return);
    EXPECT_FALSE(calc->DroppedDown());
    EXPECT_EQ(calc->Text(), "20.00");

    // Esc cancels: the value written last through Text comes back.
    calc->SetText("3");
    QTest::keyClick(calc, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(calc->DroppedDown());
    QTest::keyClicks(form, "9*9=");
    EXPECT_EQ(calc->Text(), "81.00");
    QTest::keyClick(form, Qt::Key_Escape);
    EXPECT_FALSE(calc->DroppedDown());
    EXPECT_EQ(calc->Text(), "3.00");
}

TEST_F(CalcFixture, ClickingKeysWithTheMouseComputesAndTabKeepsTheResult)
{
    QWidget* arrow = calc->Button()->Button();
    QTest::mouseClick(arrow, Qt::LeftButton, {}, arrow->rect().center());
    ASSERT_TRUE(calc->DroppedDown());
    for (const char* key : {"1", "2", "+", "8", "="})
        ClickKey(QString::fromLatin1(key));
    EXPECT_EQ(calc->Text(), "20.00");
    EXPECT_TRUE(calc->IsModified());
    QTest::keyClick(calc->DropDownForm(), Qt::Key_Tab);
    EXPECT_FALSE(calc->DroppedDown());
    EXPECT_EQ(calc->Text(), "20.00");
}

TEST_F(CalcFixture, EveryOpeningStartsANewNumberButKeepsMemoryAndPendingOperation)
{
    calc->ShowDropDown();
    Keys("6 MS C 4 +");
    calc->HideDropDown(false);
    calc->ShowDropDown();
    Keys("1");   // a new number, not 41
    EXPECT_EQ(calc->Text(), "1.00");
    Keys("= MR");
    EXPECT_EQ(calc->Text(), "6.00");
    EXPECT_EQ(double(calc->Accumulator()), 5.0);
}

TEST_F(CalcFixture, StylesDeriveTheKeyGlowColours)
{
    calc->SetComponentStyle(controls::tsOffice2010Blue);
    const TButtonAppearance& a = calc->CalcButtonAppearance();
    EXPECT_EQ(a.GlowColorHot, calc->ButtonAppearance().ColorHot());
    EXPECT_EQ(a.GlowColorDown, calc->ButtonAppearance().ColorHot());
    EXPECT_EQ(a.ColorChecked(), calc->ButtonAppearance().ColorDisabledTo());
    calc->SetComponentStyle(controls::tsWindows7);
    EXPECT_EQ(a.GlowColorDown, 0xD5C244u);
    EXPECT_EQ(a.GlowColorHot, calc->ButtonAppearance().ColorDownTo());
}

TEST_F(CalcFixture, OpenCalculatorLooksAsItDid)
{
    calc->ShowDropDown();
    TDropDownForm* form = calc->DropDownForm();
    ASSERT_TRUE(form->isVisible());
    EXPECT_EQ(form->size(), QSize(230, 152));
    EXPECT_TRUE(testsupport::MatchesGolden(form->grab().toImage(), TEST_DATA_DIR "/golden/calc_open.png"));
}
