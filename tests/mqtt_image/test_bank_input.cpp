// The text helpers and the bounded writer under both bank builders.
#include "platform/Exception.h"
#include "mqtt_image/UBankInput.h"
#include "mqtt_image/UBankWriter.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

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
    using Write = std::function<void(mqtt_image::TBank_Writer&)>;
    const std::vector<std::pair<const char*, Write>> refused = {
        {"u32", [](auto& w) { w.Put_U32(0x55555555); }}, {"u16", [](auto& w) { w.Put_U16(0x5555); }},
        {"bytes", [](auto& w) { w.Put_Bytes("UU"); }},  {"zeros", [](auto& w) { w.Put_Zeros(2); }},
        {"seek", [](auto& w) { w.Seek(7); }},
    };
    for (const auto& [name, write] : refused) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> storage(8, 0xAA);
        // The writer sees only the first 6 bytes; the last two stand for the neighbouring data.
        mqtt_image::TBank_Writer w(std::span<uint8_t>(storage.data(), 6));
        w.Put_U32(0x04030201);
        w.Put_U8(5);
        try {
            write(w);
            ADD_FAILURE() << "not refused";
        } catch (const platform::Exception& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("The device image does not fit in its 6 bytes")))
                << e.what();
        }
        EXPECT_EQ(w.Position(), 5u);
        // Once refused, the writer stays refused: nothing after a lost write lands in the image,
        // not even a byte that would fit.
        EXPECT_THROW(w.Put_U8(6), platform::Exception);
        EXPECT_EQ(storage, (std::vector<uint8_t>{1, 2, 3, 4, 5, 0xAA, 0xAA, 0xAA}));
    }

    std::vector<uint8_t> storage(4, 0xAA);
    mqtt_image::TBank_Writer w(storage);
    w.Put_U16(0x0201);
    w.Put_Zeros(2);
    w.Put_Bytes("");  // nothing to write is fine at the end
    w.Put_Zeros(0);
    EXPECT_EQ(storage, (std::vector<uint8_t>{1, 2, 0, 0}));
    try {
        w.Put_U16(1);
        ADD_FAILURE() << "not refused";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("The device image does not fit in its 4 bytes (2 bytes at offset 4 refused)."));
    }
}
