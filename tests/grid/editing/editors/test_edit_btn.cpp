// The edit box with a button and its unit variant, outside a grid.
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include "grid/editing/editors/EsgEditBtn.h"

using namespace grid::editors;

namespace {

// The first unit whose first occurrence ends the value splits it; nothing else does.
TEST(UnitSplit, TheFirstUnitWhoseFirstOccurrenceEndsTheValueSplitsIt)
{
    const QStringList metric{"m", "mm", "kg"};
    const struct {
        const char* Value;
        QStringList Units;
        bool Split;
        const char* Text;
        const char* Unit;
    } cases[] = {
        {"5mm", metric, true, "5", "mm"},           // "m" first occurs before the end
        {"5m", metric, true, "5", "m"},
        {"12.5kg", metric, true, "12.5", "kg"},
        {"kg", metric, true, "", "kg"},
        {"5g", metric, false, "", ""},
        {"", metric, false, "", ""},
        {"m5", metric, false, "", ""},              // a unit in front ends nothing
        {"5MM", metric, false, "", ""},             // units compare with case
        {"5mm", {"", "mm"}, true, "5", "mm"},       // an empty unit is no unit
        {"7 V", {"V", " V"}, true, "7 ", "V"},      // list order decides
    };
    for (const auto& c : cases) {
        QString text, unit;
        EXPECT_EQ(SplitUnit(QString::fromLatin1(c.Value), c.Units, text, unit), c.Split) << c.Value;
        if (c.Split) {
            EXPECT_EQ(text, QString::fromLatin1(c.Text)) << c.Value;
            EXPECT_EQ(unit, QString::fromLatin1(c.Unit)) << c.Value;
        }
    }
}

// A value that no unit ends is kept whole as the text with no unit: joined again it is the
// value itself, whatever unit the editor showed before.
TEST(UnitSplit, AValueWithoutAKnownUnitStaysWholeWithAnEmptyUnit)
{
    TEsgUnitEditBtn edit;
    edit.Units = {"m", "mm"};
    edit.SetTextAndUnit(QStringLiteral("5mm"));
    EXPECT_EQ(edit.text(), QStringLiteral("5"));
    EXPECT_EQ(edit.UnitID(), QStringLiteral("mm"));
    for (const char* value : {"5kg", "", "abc", "3 mm m"}) {
        edit.SetTextAndUnit(QStringLiteral("2mm"));
        edit.SetTextAndUnit(QString::fromLatin1(value));
        EXPECT_EQ(edit.UnitID(), QString()) << value;
        EXPECT_EQ(edit.TextAndUnit(), QString::fromLatin1(value)) << value;
    }
}

TEST(CharFilters, IntegersTakeDigitsAndOneLeadingMinus)
{
    const struct {
        char Ch;
        const char* Text;
        int SelStart;
        TCharVerdict Verdict;
    } cases[] = {
        {'7', "12", 1, TCharVerdict::Pass}, {'-', "12", 0, TCharVerdict::Pass},
        {'-', "12", 1, TCharVerdict::Beep}, {'-', "-12", 0, TCharVerdict::Beep},
        {'a', "12", 2, TCharVerdict::Beep}, {'.', "12", 2, TCharVerdict::Beep},
        {'+', "", 0, TCharVerdict::Beep},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NumericCharVerdict(QLatin1Char(c.Ch), QString::fromLatin1(c.Text), c.SelStart), c.Verdict)
            << c.Ch << " in " << c.Text;
}

TEST(CharFilters, DecimalsTakeOneSeparatorAndDropTheThousandSeparator)
{
    const struct {
        char Ch;
        const char* Text;
        int SelStart, SelLength;
        char Decimal, Thousand;
        TCharVerdict Verdict;
    } cases[] = {
        {'.', "15", 1, 0, '.', ',', TCharVerdict::Pass},
        {'.', "1.5", 3, 0, '.', ',', TCharVerdict::Drop},  // a second one, silently
        {'.', "1.5", 1, 1, '.', ',', TCharVerdict::Pass},  // the selection holds the first
        {',', "1.5", 3, 0, '.', ',', TCharVerdict::Drop},  // the thousand separator
        {',', "15", 1, 0, ',', '.', TCharVerdict::Pass},   // the other locale
        {'.', "15", 1, 0, ',', '.', TCharVerdict::Drop},
        {'-', "15", 0, 0, '.', ',', TCharVerdict::Pass},
        {'-', "15", 1, 0, '.', ',', TCharVerdict::Beep},
        {'-', "-15", 0, 0, '.', ',', TCharVerdict::Beep},
        {'-', "-15", 0, 1, '.', ',', TCharVerdict::Pass},  // replaces the selected minus
        {'x', "15", 2, 0, '.', ',', TCharVerdict::Drop},
        {'9', "15", 2, 0, '.', ',', TCharVerdict::Pass},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatCharVerdict(QLatin1Char(c.Ch), QString::fromLatin1(c.Text), c.SelStart, c.SelLength,
                                   QLatin1Char(c.Decimal), QLatin1Char(c.Thousand)),
                  c.Verdict)
            << c.Ch << " in " << c.Text << " at " << c.SelStart;
}

TEST(EditMasks, BecomeInputMasksWithTheirBlank)
{
    const struct {
        const char* Mask;
        const char* Input;
    } cases[] = {
        {"", ""},
        {"000;1;_", "999;_"},
        {"!99/99/0000;1;*", "00/00/9999;*"},
        {"LLL-aa", "AAA-nn;_"},
        {">CCc", ">XXx;_"},
        {"<>l", "!a;_"},
        {"\\A00", "\\A99;_"},       // an escaped mask character stays a literal
        {"__0", "  9;_"},           // "_" stands for a blank literal
        {"(999) 000-0000;0;_", "(000) 999-9999;_"},
        {">LL<>cc\\9", ">AA!xx\\9;_"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InputMaskFromEditMask(QString::fromLatin1(c.Mask)), QString::fromLatin1(c.Input)) << c.Mask;
}

struct EditBtn : ::testing::Test {
    QWidget window;
    TEsgEditBtn* edit = nullptr;
    int clicks = 0;
    void SetUp() override
    {
        edit = new TEsgEditBtn(&window);
        edit->setGeometry(10, 10, 120, 22);
        edit->OnClickBtn = [this] { ++clicks; };
        window.resize(200, 60);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

// The button and F4 run the button-click step; Alt+F4 and Ctrl+F4 do not. A press on the button
// leaves the focus in the edit.
TEST_F(EditBtn, TheButtonAndF4PressIt)
{
    EXPECT_EQ(edit->text(), QStringLiteral("0"));
    QWidget* button = edit->Button()->SpeedButton();
    // The button ends one pixel inside the frame, or inside the edge without one.
    EXPECT_EQ(edit->Button()->geometry().right(), edit->width() - 4);
    edit->setFrame(false);
    edit->resize(edit->size() + QSize(1, 0));
    EXPECT_EQ(edit->Button()->geometry().right(), edit->width() - 2);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_F4);
    EXPECT_EQ(clicks, 2);
    QTest::keyClick(edit, Qt::Key_F4, Qt::AltModifier);
    QTest::keyClick(edit, Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(clicks, 2);
}

// Without EditorEnabled typing, paste and cut leave the text alone; moving the caret still works.
TEST_F(EditBtn, AnEditorNotEnabledTakesNoTextFromTheKeyboard)
{
    edit->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    edit->EditorEnabled = false;
    edit->setText(QStringLiteral("abc"));
    edit->setCursorPosition(3);
    QTest::keyClicks(edit, QStringLiteral("xy"));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), QStringLiteral("abc"));
    edit->EditorEnabled = true;
    edit->setCursorPosition(3);
    QTest::keyClicks(edit, QStringLiteral("d"));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), QStringLiteral("abcdpasted"));
}

// A height below what the font needs is raised to it.
TEST_F(EditBtn, TooLowAHeightIsRaisedToTheFont)
{
    edit->resize(120, 4);
    EXPECT_EQ(edit->height(), edit->MinimumHeight());
    EXPECT_GT(edit->MinimumHeight(), QFontMetrics(edit->font()).height());
}

// Picking the shown unit again is no change; another unit is told once.
TEST(UnitEditBtn, TheMenuOffersTheUnitsAndTellsAChangeOnce)
{
    QWidget window;
    auto* edit = new TEsgUnitEditBtn(&window);
    edit->setGeometry(10, 10, 120, 22);
    window.resize(200, 60);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    edit->Units = {"m", "mm", "km"};
    edit->SetTextAndUnit(QStringLiteral("5mm"));
    std::vector<QString> changes;
    edit->OnUnitChanged = [&](const QString& unit) { changes.push_back(unit); };
    int clicks = 0;
    edit->OnClickBtn = [&] { ++clicks; };

    auto pick = [&](int index) {
        edit->ButtonClick();
        QMenu* menu = edit->UnitMenu();
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 3);
        EXPECT_EQ(menu->actions()[2]->text(), QStringLiteral("km"));
        menu->actions()[index]->trigger();
        menu->close();
    };
    pick(1);
    EXPECT_TRUE(changes.empty());
    pick(2);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], QStringLiteral("km"));
    EXPECT_EQ(edit->TextAndUnit(), QStringLiteral("5km"));
    EXPECT_EQ(clicks, 2);
}

}  // namespace
