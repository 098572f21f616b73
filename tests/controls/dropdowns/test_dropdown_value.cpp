#include "controls/dropdowns/DropDownEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace dropdowns;

namespace {

// The edit types are only reachable through a descendant, as in the program.
class TValueEdit : public TExtCustomDropDown {
public:
    using TExtCustomDropDown::TExtCustomDropDown;
    using TExtCustomDropDown::SetEditType;
    void SetAffixes(const QString& prefix, const QString& suffix)
    {
        FPrefix = prefix;
        FSuffix = suffix;
    }
    void SetSigned(bool value) { FSigned = value; }
    void SetLengthLimit(int value) { FLengthLimit = qint16(value); }
};

// Separators '.' and ',' whatever the machine's locale is.
class DropDownValue : public ::testing::Test {
protected:
    void SetUp() override
    {
        FSaved = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { QLocale::setDefault(FSaved); }

    // A shown, focused edit with the type, the value written through Text and the caret at `caret`
    // (-1: at the end).
    TValueEdit& Edit(TDropDownEditType type, int precision, const QString& value, int caret = -1)
    {
        FEdit = std::make_unique<TValueEdit>();
        FEdit->SetEditType(type);
        FEdit->SetPrecision(precision);
        FEdit->SetText(value);
        FEdit->show();
        FEdit->activateWindow();
        FEdit->setFocus();
        FEdit->setCursorPosition(caret < 0 ? int(FEdit->RawText().size()) : caret);
        return *FEdit;
    }

    QLocale FSaved;
    std::unique_ptr<TValueEdit> FEdit;
};

TEST_F(DropDownValue, ClassifyTextTellsIntegersFloatsHexAndText)
{
    const struct {
        const char* text;
        TTextKind kind;
    } cases[] = {
        {"", ktText}, {"12--3", ktText}, {"-12", ktInteger}, {"1.5", ktFloat}, {"ABC", ktHex}, {"1F", ktHex},
        {"1,,234", ktText}, {"1,234", ktFloat}, {"1.2.3", ktText}, {"12a", ktHex}, {"x", ktText},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClassifyText(c.text), c.kind) << c.text;
}

TEST_F(DropDownValue, NumberRoutinesConvertAndNeverFail)
{
    EXPECT_EQ(HexToInt("1G"), 16);
    EXPECT_EQ(HexToInt("ff"), 255);
    EXPECT_EQ(HexToInt(""), 0);
    EXPECT_DOUBLE_EQ(EditStrToFloat("1,234.5"), 1234.5);
    EXPECT_DOUBLE_EQ(EditStrToFloat("abc"), 0.0);
    EXPECT_DOUBLE_EQ(EditStrToFloat("1e999"), 0.0);
    EXPECT_EQ(StripThousandSeparators("1,234,567"), "1234567");
    const std::pair<const char*, const char*> words[] = {
        {"joHN mcdonald ii", "John McDonald II"},
        {"henry iii", "Henry III"},  // every closing numeral letter
        {"o'neil-smith", "O'Neil-Smith"},  // an apostrophe parts words
        {"3rd street", "3rd Street"},  // a digit does not
    };
    for (const auto& [in, expected] : words)
        EXPECT_EQ(CapitalizeWords(in), expected) << in;
}

TEST_F(DropDownValue, WritingTheValueFormatsItByEditType)
{
    const struct {
        TDropDownEditType type;
        int precision;
        const char* written;
        const char* shown;
    } cases[] = {
        {etString, 0, "", ""},
        {etNumeric, 0, "", "0"},
        {etFloat, 0, "", "0"},
        {etMoney, 0, "", "0"},
        {etHex, 0, "", "0"},
        {etHex, 0, "ab", "AB"},
        {etFloat, 2, "3.14159", "3.14"},
        {etFloat, 2, "Error", "Error"},
        {etMoney, 2, "1234.5", "1,234.50"},
        {etFloat, 2, "abc", "0.00"},
    };
    for (const auto& c : cases) {
        TValueEdit& edit = Edit(c.type, c.precision, "");
        edit.SetText(c.written);
        EXPECT_EQ(edit.Text(), c.shown) << c.written;
    }
}

TEST_F(DropDownValue, PrefixIsRemovedWhenPresentAndSuffixOnlyWhenTheTextEndsWithIt)
{
    TValueEdit& edit = Edit(etString, 0, "");
    edit.SetAffixes("$ ", " kg");
    edit.SetText("12");
    EXPECT_EQ(edit.RawText(), "$ 12 kg");
    EXPECT_EQ(edit.Text(), "12");
    edit.SetTextDirect("$ 12 k");
    EXPECT_EQ(edit.Text(), "12 k");
    edit.SetTextDirect("12 kg");
    EXPECT_EQ(edit.Text(), "12");
}

TEST_F(DropDownValue, FloatValueReadsAndWritesPerEditType)
{
    const struct {
        TDropDownEditType type;
        int precision;
        double value;
        const char* shown;
    } writes[] = {
        {etNumeric, 0, 1234, "1,234"},
        {etFloat, 2, 1234, "1234.00"},
        {etMoney, 2, 1234567.5, "1,234,567.50"},
        {etHex, 0, 255.9, "FF"},
    };
    for (const auto& c : writes) {
        TValueEdit& edit = Edit(c.type, c.precision, "");
        edit.SetFloatValue(c.value);
        EXPECT_EQ(edit.Text(), c.shown);
        EXPECT_TRUE(edit.IsModified());
    }
    const struct {
        TDropDownEditType type;
        const char* text;
        double value;
    } reads[] = {
        {etString, "2.5", 2.5}, {etNumeric, "-", 0}, {etFloat, "Error", 0}, {etMoney, "1,234.", 1234},
        {etHex, "1F", 31},      {etFloat, "x1", 0},
    };
    for (const auto& c : reads) {
        TValueEdit& edit = Edit(c.type, 0, "");
        edit.SetTextDirect(c.text);
        EXPECT_DOUBLE_EQ(edit.GetFloatValue(), c.value) << c.text;
    }
}

TEST_F(DropDownValue, ChangingTheEditTypeResetsAValueOfTheWrongKind)
{
    TValueEdit edit;
    edit.SetText("abc");
    edit.SetEditType(etNumeric);
    EXPECT_EQ(edit.Text(), "0");
    edit.SetEditType(etString);
    edit.SetText("1F");
    edit.SetEditType(etHex);
    EXPECT_EQ(edit.Text(), "1F");
    edit.SetEditType(etFloat);
    EXPECT_EQ(edit.Text(), "0");
}

TEST_F(DropDownValue, PrecisionIsKeptOnlyForStringFloatAndMoney)
{
    TValueEdit edit;
    edit.SetEditType(etNumeric);
    edit.SetPrecision(3);
    EXPECT_EQ(edit.Precision(), 0);
    edit.SetEditType(etFloat);
    edit.SetText("2.5");
    edit.SetPrecision(3);
    EXPECT_EQ(edit.Precision(), 3);
    EXPECT_EQ(edit.Text(), "2.500");
}

// Typing: keys go through the real key events of the edit.
TEST_F(DropDownValue, NumericEditTakesDigitsOnly)
{
    TValueEdit& edit = Edit(etNumeric, 0, "12");
    QTest::keyClicks(&edit, "3a-.4");
    EXPECT_EQ(edit.Text(), "1234");
}

TEST_F(DropDownValue, ReadOnlyEditTakesNoCharacters)
{
    const TDropDownEditType types[] = {etString, etNumeric, etMixedCase, etMoney};
    for (TDropDownEditType type : types) {
        TValueEdit& edit = Edit(type, 0, "12");
        edit.setReadOnly(true);
        QTest::keyClicks(&edit, "3a");
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QTest::keyClick(&edit, Qt::Key_Home);
        QTest::keyClick(&edit, Qt::Key_Delete);
        EXPECT_EQ(edit.Text(), "12") << type;
    }
}

TEST_F(DropDownValue, SignedNumericMinusTogglesTheSign)
{
    TValueEdit& edit = Edit(etNumeric, 0, "12");
    edit.SetSigned(true);
    QTest::keyClick(&edit, '-');
    EXPECT_EQ(edit.Text(), "-12");
    QTest::keyClick(&edit, '-');
    EXPECT_EQ(edit.Text(), "12");
}

TEST_F(DropDownValue, MoneyGroupsThousandsWhileTyping)
{
    TValueEdit& edit = Edit(etMoney, 0, "");
    edit.SetTextDirect("");
    QTest::keyClicks(&edit, "1234");
    EXPECT_EQ(edit.Text(), "1,234");
    EXPECT_EQ(edit.cursorPosition(), 5);
}

TEST_F(DropDownValue, FloatWithFullDecimalsOverwritesOrRefusesDigits)
{
    TValueEdit& edit = Edit(etFloat, 2, "1.25", 3);
    QTest::keyClick(&edit, '7');
    EXPECT_EQ(edit.Text(), "1.27");
    edit.setCursorPosition(4);
    QTest::keyClick(&edit, '9');
    EXPECT_EQ(edit.Text(), "1.27");
    // A second decimal separator jumps behind the first instead of being typed.
    edit.setCursorPosition(0);
    QTest::keyClick(&edit, '.');
    EXPECT_EQ(edit.Text(), "1.27");
    EXPECT_EQ(edit.cursorPosition(), 2);
}

TEST_F(DropDownValue, FloatRefusesMinusUnlessSignedAndStartsAnEmptyValueWithZero)
{
    TValueEdit& edit = Edit(etFloat, 2, "");
    edit.SetTextDirect("");
    QTest::keyClick(&edit, '-');
    EXPECT_EQ(edit.RawText(), "");
    QTest::keyClick(&edit, '.');
    EXPECT_EQ(edit.RawText(), "0.");
    EXPECT_EQ(edit.cursorPosition(), 2);
}

TEST_F(DropDownValue, CaseAndCharacterSetTypes)
{
    const struct {
        TDropDownEditType type;
        const char* typed;
        const char* shown;
    } cases[] = {
        {etUppercase, "abC1", "ABC1"},   {etLowerCase, "AbC", "abc"},   {etMixedCase, "hello wORLD", "Hello World"},
        {etAlphaNumeric, "a1-b_", "a1b"}, {etHex, "1fz-", "1f-"},       {etRange, "1,,2-;3", "1,2-3"},
    };
    for (const auto& c : cases) {
        TValueEdit& edit = Edit(c.type, 0, "");
        edit.SetTextDirect("");
        QTest::keyClicks(&edit, c.typed);
        EXPECT_EQ(edit.Text(), c.shown) << c.typed;
    }
}

TEST_F(DropDownValue, BackspaceOnAWholeSelectionEmptiesWithOneChange)
{
    TValueEdit& edit = Edit(etString, 0, "abc");
    int changes = 0;
    edit.OnChange = [&] { ++changes; };
    edit.SelectAll();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.Text(), "");
    EXPECT_EQ(changes, 1);
    // Typing over a whole selection reports its change too.
    edit.SetText("abc");
    changes = 0;
    edit.SelectAll();
    QTest::keyClick(&edit, 'x');
    EXPECT_EQ(edit.Text(), "x");
    EXPECT_EQ(changes, 1);
}

TEST_F(DropDownValue, PasteIsCheckedByEditTypeAndMayBeVetoed)
{
    const struct {
        TDropDownEditType type;
        const char* clip;
        const char* shown;
    } cases[] = {
        {etNumeric, "12a", "5"}, {etNumeric, "-3", "5"}, {etNumeric, "34", "534"},
        {etUppercase, "ab", "5AB"}, {etHex, "A", "5"},    {etString, "x y", "5x y"},
    };
    for (const auto& c : cases) {
        TValueEdit& edit = Edit(c.type, 0, "5");
        QGuiApplication::clipboard()->setText(c.clip);
        edit.PasteFromClipboard();
        EXPECT_EQ(edit.Text(), c.shown) << c.clip;
    }
    TValueEdit& edit = Edit(etString, 0, "5");
    QString offered;
    edit.OnClipboardPaste = [&](QObject*, const QString& value, bool& allow) {
        offered = value;
        allow = false;
    };
    QGuiApplication::clipboard()->setText("zz");
    edit.PasteFromClipboard();
    EXPECT_EQ(offered, "5zz");
    EXPECT_EQ(edit.Text(), "5");
}

TEST_F(DropDownValue, CutAsksItsHookWithoutAlsoAskingTheCopyHook)
{
    TValueEdit& edit = Edit(etString, 0, "hello");
    int copies = 0;
    QString cut;
    edit.OnClipboardCopy = [&](QObject*, const QString&, bool&) { ++copies; };
    edit.OnClipboardCut = [&](QObject*, const QString& value, bool&) { cut = value; };
    edit.setSelection(0, 2);
    edit.CutToClipboard();
    EXPECT_EQ(cut, "he");
    EXPECT_EQ(copies, 0);
    EXPECT_EQ(edit.Text(), "llo");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "he");
}

TEST_F(DropDownValue, LosingFocusTidiesNumbers)
{
    const struct {
        TDropDownEditType type;
        int precision;
        const char* raw;
        const char* shown;
    } cases[] = {
        {etNumeric, 0, "", "0"}, {etFloat, 2, "", "0.00"}, {etFloat, 2, "1.5", "1.50"}, {etString, 0, "", ""},
    };
    for (const auto& c : cases) {
        TValueEdit& edit = Edit(c.type, c.precision, "");
        edit.SetTextDirect(c.raw);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(&edit, &out);
        EXPECT_EQ(edit.Text(), c.shown) << c.raw;
    }
}

TEST_F(DropDownValue, CaretKeysStayBetweenPrefixAndSuffix)
{
    TValueEdit& edit = Edit(etString, 0, "");
    edit.SetAffixes("$", "kg");
    edit.SetText("12");
    ASSERT_EQ(edit.RawText(), "$12kg");
    const struct {
        int caret;
        Qt::Key key;
        int expected;
    } moves[] = {
        {3, Qt::Key_Right, 3}, {1, Qt::Key_End, 3}, {3, Qt::Key_Home, 1}, {1, Qt::Key_Left, 1}, {2, Qt::Key_Left, 1},
    };
    for (const auto& m : moves) {
        edit.setCursorPosition(m.caret);
        QTest::keyClick(&edit, m.key);
        EXPECT_EQ(edit.cursorPosition(), m.expected) << m.caret << " " << m.key;
    }
    edit.setCursorPosition(1);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    edit.setCursorPosition(3);
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.RawText(), "$12kg") << "neither the prefix nor the suffix can be deleted";
    QTest::keyClick(&edit, 'x');
    EXPECT_EQ(edit.RawText(), "$12xkg");
    EXPECT_EQ(edit.Text(), "12x");
}

TEST_F(DropDownValue, LengthLimitCapsTheIntegerDigits)
{
    TValueEdit& edit = Edit(etNumeric, 0, "");
    edit.SetLengthLimit(3);
    edit.SetTextDirect("");
    QTest::keyClicks(&edit, "12345");
    EXPECT_EQ(edit.Text(), "123");
}

}  // namespace
