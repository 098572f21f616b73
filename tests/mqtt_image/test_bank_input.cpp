// The integer parser and the bounded writer under both bank builders.
#include "platform/Exception.h"
#include "mqtt_image/UBankInput.h"
#include "mqtt_image/UBankWriter.h"

#include <gtest/gtest.h>
#include <vector>

using mqtt_image::Str_To_Int;

TEST(BankInput, IntegerParser)
{
    struct Case {
        const char* text;
        std::optional<int32_t> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"502", 502},
        {"  42", 42},
        {"+7", 7},
        {"-1", -1},
        {"$FF", 255},
        {"$ff", 255},
        {"0x1F6", 502},
        {"0X10", 16},
        {"x10", 16},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"$FFFFFFFF", -1},
        {"2147483648", std::nullopt},
        {"$100000000", std::nullopt},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"12 ", std::nullopt},
        {"1.5", std::nullopt},
        {"12abc", std::nullopt},
        {"abc", std::nullopt},
        {"$G", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str_To_Int(c.text), c.value) << '"' << c.text << '"';
}

TEST(BankInput, TextCleanUps)
{
    EXPECT_EQ(mqtt_image::Trim_Bank_Text(" \t\r\nFloat \n"), "Float");
    EXPECT_EQ(mqtt_image::Trim_Bank_Text("\xc3\xa9 "), "\xc3\xa9");  // UTF-8 bytes are not blanks
    EXPECT_EQ(mqtt_image::Remove_CR_LF("a\r\nb\nc\rd"), "abcd");
    EXPECT_TRUE(mqtt_image::Same_Text_No_Case("pap OR chap", "PAP OR CHAP"));
    EXPECT_FALSE(mqtt_image::Same_Text_No_Case("PAP", "PAP "));
}

TEST(BankWriter, RefusesAnyWritePastTheEndWithoutTouchingTheBuffer)
{
    std::vector<uint8_t> storage(8, 0xAA);
    // The writer sees only the first 6 bytes; the last two stand for the neighbouring data.
    mqtt_image::TBank_Writer w(std::span<uint8_t>(storage.data(), 6));
    w.Put_U32(0x04030201);
    EXPECT_THROW(w.Put_U32(0x55555555), platform::Exception);
    EXPECT_EQ(w.Position(), 4u);
    w.Put_U16(0x0605);
    EXPECT_THROW(w.Put_U8(0), platform::Exception);
    EXPECT_THROW(w.Put_Bytes("x"), platform::Exception);
    EXPECT_THROW(w.Put_Zeros(1), platform::Exception);
    EXPECT_THROW(w.Seek(7), platform::Exception);
    w.Put_Bytes("");  // nothing to write is fine at the end
    EXPECT_EQ(storage, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 0xAA, 0xAA}));
}
