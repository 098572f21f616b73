// The integer readers: one scanner, one grammar per reader; the same text side by side shows
// where the grammars differ.
#include "platform/IntText.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

constexpr int Fails = -999;  // the reader refused the text

int Program(const char* t) { return Parse_Int32(QString::fromUtf8(t)).value_or(Fails); }
int Hex_x(const char* t) { return Parse_Int32_Hex_x(QString::fromUtf8(t)).value_or(Fails); }
int Prefix(const char* t)
{
    bool ok = false;
    const int v = Read_Int_Prefix(QString::fromUtf8(t), &ok);
    return ok ? v : Fails;
}
int Count(const char* t) { return Parse_Count(QString::fromUtf8(t), 1000).value_or(Fails); }
int Field(const char* t) { return Parse_Decimal(QString::fromUtf8(t), false).value_or(Fails); }
int Padded_Field(const char* t) { return Parse_Decimal(QString::fromUtf8(t), true).value_or(Fails); }

TEST(IntText, EachGrammarSideBySide)
{
    const struct {
        const char* Text;
        int Program, Hex_x, Prefix, Count, Field, Padded_Field;
    } cases[] = {
        {"42", 42, 42, 42, 42, 42, 42},
        {"  -17", -17, -17, -17, Fails, Fails, -17},
        {"\t5", Fails, Fails, 5, Fails, Fails, 5},
        {"12 ", Fails, Fails, 12, Fails, Fails, 12},
        {"+8x", Fails, Fails, 8, Fails, Fails, Fails},
        {"$1F", 31, 31, 31, Fails, Fails, Fails},
        {"0x1f", 31, 31, 31, Fails, Fails, Fails},
        {"x1F", Fails, 31, Fails, Fails, Fails, Fails},
        {"-$10", -16, -16, -16, Fails, Fails, Fails},
        {"$FFFFFFFF", -1, -1, 2147483647, Fails, Fails, Fails},
        {"2147483648", Fails, Fails, 2147483647, Fails, Fails, Fails},
        {"-99999999999", Fails, Fails, -2147483647 - 1, Fails, Fails, Fails},
        {"1001", 1001, 1001, 1001, Fails, 1001, 1001},
        {"", Fails, Fails, Fails, Fails, Fails, Fails},
        {"$", Fails, Fails, Fails, Fails, Fails, Fails},
        {"-", Fails, Fails, Fails, Fails, Fails, Fails},
        {"１２", Fails, Fails, Fails, Fails, Fails, Fails},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Program(c.Text), c.Program) << c.Text;
        EXPECT_EQ(Hex_x(c.Text), c.Hex_x) << c.Text;
        EXPECT_EQ(Prefix(c.Text), c.Prefix) << c.Text;
        EXPECT_EQ(Count(c.Text), c.Count) << c.Text;
        EXPECT_EQ(Field(c.Text), c.Field) << c.Text;
        EXPECT_EQ(Padded_Field(c.Text), c.Padded_Field) << c.Text;
    }
}

TEST(IntText, FileBytesReadAsTypedTextAndWideValues)
{
    for (const char* t : {"0", " 12", "-$7F", "0X10", "4294967295", "9223372036854775807", "x1", "1.5", "٢"}) {
        EXPECT_EQ(Parse_Integer(std::string_view(t)), Parse_Integer(QString::fromUtf8(t))) << t;
        EXPECT_EQ(Parse_Int32(std::string_view(t)), Parse_Int32(QString::fromUtf8(t))) << t;
    }
    EXPECT_EQ(Parse_Integer(QStringLiteral("9223372036854775807")), std::numeric_limits<qint64>::max());
    EXPECT_EQ(Parse_Integer(QStringLiteral("9223372036854775808")), std::nullopt);
    EXPECT_EQ(Parse_Integer(QStringLiteral("-9223372036854775808")), std::nullopt);
    EXPECT_EQ(Parse_Int32(std::string_view("4294967295")), std::nullopt) << "only hexadecimal spells a bit pattern";
}

TEST(IntText, HexadecimalDigitsOfAnEditBox)
{
    EXPECT_EQ(Hex_Digits_Value(u"ff"), 255);
    EXPECT_EQ(Hex_Digits_Value(u"1G"), 16) << "a character that is no digit counts as 0";
    EXPECT_EQ(Hex_Digits_Value(u""), 0);
    EXPECT_EQ(Hex_Digits_Value(u"FFFFFFFFFFFFFFFF"), -1);
}

}  // namespace
