#include "MBusFrames.h"

#include <gtest/gtest.h>

using namespace mbus_test;
using platform::ByteReader;
using platform::ByteWriter;

namespace {

template <size_t N>
std::array<uint8_t, N> Array(const char* hex)
{
    const Bytes bytes = Hex(hex);
    std::array<uint8_t, N> out{};
    EXPECT_EQ(bytes.size(), N) << hex;
    std::copy_n(bytes.begin(), std::min(N, bytes.size()), out.begin());
    return out;
}

const TAESKey128 Nist_Key = Array<16>("2b7e151628aed2a6abf7158809cf4f3c");

const char* const Nist_Message = "6bc1bee22e409f96e93d7e117393172a ae2d8a571e03ac9c9eb76fac45af8e51"
                                 "30c81c46a35ce411e5fbc1191a0a52ef f69f2445df4f9b17ad2b417be66c3710";

}  // namespace

// FIPS-197 appendix C.1: both schedules, both directions.
TEST(AES128, FipsAppendixC1EncryptsAndDecrypts)
{
    const TAESKey128 key = Array<16>("000102030405060708090a0b0c0d0e0f");
    const TAESBlock plain = Array<16>("00112233445566778899aabbccddeeff");
    const TAESBlock cipher = Array<16>("69c4e0d86a7b0430d8cdb78070b4c55a");
    EXPECT_EQ(AES_Encrypt_Block(plain, AES_Expand_Key_Enc(key)), cipher);
    EXPECT_EQ(AES_Decrypt_Block(cipher, AES_Expand_Key_Dec(key)), plain);
    // The key expansion's last round key (FIPS-197 appendix A.1 for the NIST key).
    EXPECT_EQ(AES_Expand_Key_Enc(Nist_Key).RK[43], 0xb6630ca6u);
}

// SP 800-38B, AES-128 examples: the subkeys and the tags for 0, 16, 40 and 64 bytes.
TEST(AES128, CmacMatchesThePublishedExamples)
{
    const TCMACSubkeys subkeys = CMAC_Subkeys(AES_Expand_Key_Enc(Nist_Key));
    EXPECT_EQ(subkeys.K1, Array<16>("fbeed618357133667c85e08f7236a8de"));
    EXPECT_EQ(subkeys.K2, Array<16>("f7ddac306ae266ccf90bc11ee46d513b"));

    const Bytes message = Hex(Nist_Message);
    struct Case {
        size_t Length;
        const char* Tag;
    };
    for (const Case& c : {Case{0, "bb1d6929e95937287fa37d129b756746"}, Case{16, "070a16b46b4d4144f79bdd9dd04a287c"},
                          Case{40, "dfa66747de9ae63030ca32611497c827"}, Case{64, "51f0bebf7e3b9d92fc49741779363cfe"}}) {
        ByteReader stream(std::span<const uint8_t>(message).first(c.Length));
        EXPECT_EQ(AES_CMAC(stream, c.Length, Nist_Key), Array<16>(c.Tag)) << "length " << c.Length;
    }
}

TEST(AES128, CmacRefusesAStreamShorterThanTheMessage)
{
    const Bytes message = Hex(Nist_Message);
    ByteReader stream(std::span<const uint8_t>(message).first(20));
    EXPECT_THROW(AES_CMAC(stream, 40, Nist_Key), EAESError);
}

// SP 800-38A F.2.2, CBC-AES128 decryption.
TEST(AES128, CbcDecryptsThePublishedExample)
{
    const Bytes cipher = Hex("7649abac8119b246cee98e9b12e9197d 5086cb9b507219ee95db113a917678b2"
                             "73bed6b8e3c1743b7116e69e22229516 3ff1caa1681fac09120eca307586e1a7");
    const TAESBlock iv = Array<16>("000102030405060708090a0b0c0d0e0f");
    ByteReader source(cipher);
    ByteWriter destination;
    AES_Decrypt_CBC(source, cipher.size(), Nist_Key, destination, iv);
    EXPECT_EQ(destination.Buffer(), Hex(Nist_Message));
    EXPECT_EQ(Encrypt_CBC(Hex(Nist_Message), Nist_Key, iv), cipher);
}

// The byte count: 0 means the whole source from its start, a count beyond the source means what
// remains, and a count that is not whole blocks is refused before anything is written.
TEST(AES128, CbcCountRules)
{
    const Bytes cipher = Hex("7649abac8119b246cee98e9b12e9197d 5086cb9b507219ee95db113a917678b2");
    const Bytes plain = Hex(Nist_Message);
    const TAESBlock iv = Array<16>("000102030405060708090a0b0c0d0e0f");
    struct Case {
        const char* Name;
        size_t Start;
        size_t Count;
        size_t Written;
    };
    for (const Case& c : {Case{"zero count from the middle", 16, 0, 32}, Case{"count beyond the end", 0, 100, 32},
                          Case{"one block", 0, 16, 16}}) {
        ByteReader source(cipher);
        source.Seek(c.Start);
        ByteWriter destination;
        AES_Decrypt_CBC(source, c.Count, Nist_Key, destination, iv);
        ASSERT_EQ(destination.Buffer().size(), c.Written) << c.Name;
        EXPECT_TRUE(std::equal(destination.Buffer().begin(), destination.Buffer().end(), plain.begin())) << c.Name;
    }

    ByteReader source(cipher);
    ByteWriter destination;
    try {
        AES_Decrypt_CBC(source, 15, Nist_Key, destination, iv);
        ADD_FAILURE() << "a partial block was accepted";
    } catch (const EAESError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Invalid buffer size for decryption"));
    }
    EXPECT_TRUE(destination.Buffer().empty());
}

// A destination with room for one block keeps that block and reports the write error.
TEST(AES128, CbcReportsARefusedWrite)
{
    const Bytes cipher = Hex("7649abac8119b246cee98e9b12e9197d 5086cb9b507219ee95db113a917678b2");
    std::array<uint8_t, 16> room{};
    ByteReader source(cipher);
    ByteWriter destination{std::span<uint8_t>(room)};
    try {
        AES_Decrypt_CBC(source, 0, Nist_Key, destination, Array<16>("000102030405060708090a0b0c0d0e0f"));
        ADD_FAILURE() << "the second block was not refused";
    } catch (const EAESError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Stream write error"));
    }
    EXPECT_EQ(room, Array<16>("6bc1bee22e409f96e93d7e117393172a"));
}
