#include "protocols/mbus/ElAES.h"

#include <algorithm>

namespace {

// The tables are built at compile time from the field arithmetic of FIPS-197, so no typed-in
// constant can be wrong by one digit.
constexpr uint8_t XTime(uint8_t b) { return uint8_t((b << 1) ^ ((b & 0x80) ? 0x1B : 0x00)); }

constexpr uint8_t GMul(uint8_t a, uint8_t b)
{
    uint8_t product = 0;
    for (int i = 0; i < 8; ++i) {
        if (b & 1)
            product ^= a;
        a = XTime(a);
        b >>= 1;
    }
    return product;
}

constexpr uint8_t GInverse(uint8_t a)
{
    if (a == 0)
        return 0;
    // a^254 is the multiplicative inverse in GF(2^8).
    uint8_t result = 1;
    uint8_t base = a;
    for (int e = 254; e > 0; e >>= 1) {
        if (e & 1)
            result = GMul(result, base);
        base = GMul(base, base);
    }
    return result;
}

constexpr uint8_t Rotl8(uint8_t x, int s) { return uint8_t((x << s) | (x >> (8 - s))); }

struct Tables {
    std::array<uint8_t, 256> S{};
    std::array<uint8_t, 256> Si{};
    std::array<std::array<uint32_t, 256>, 4> Te{};
    std::array<std::array<uint32_t, 256>, 4> Td{};
};

constexpr uint32_t Ror(uint32_t w, int s) { return (w >> s) | (w << (32 - s)); }

constexpr Tables MakeTables()
{
    Tables t;
    for (int x = 0; x < 256; ++x) {
        const uint8_t b = GInverse(uint8_t(x));
        const uint8_t s = uint8_t(b ^ Rotl8(b, 1) ^ Rotl8(b, 2) ^ Rotl8(b, 3) ^ Rotl8(b, 4) ^ 0x63);
        t.S[x] = s;
        t.Si[s] = uint8_t(x);
    }
    for (int x = 0; x < 256; ++x) {
        const uint8_t s = t.S[x];
        const uint32_t e = (uint32_t(GMul(s, 2)) << 24) | (uint32_t(s) << 16) | (uint32_t(s) << 8) | GMul(s, 3);
        const uint8_t i = t.Si[x];
        const uint32_t d = (uint32_t(GMul(i, 14)) << 24) | (uint32_t(GMul(i, 9)) << 16) |
                           (uint32_t(GMul(i, 13)) << 8) | GMul(i, 11);
        for (int r = 0; r < 4; ++r) {
            t.Te[r][x] = r == 0 ? e : Ror(e, 8 * r);
            t.Td[r][x] = r == 0 ? d : Ror(d, 8 * r);
        }
    }
    return t;
}

constexpr Tables T = MakeTables();
static_assert(T.S[0x00] == 0x63 && T.S[0x53] == 0xED && T.Si[0x63] == 0x00, "FIPS-197 S-box");

uint32_t LoadBE(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

void StoreBE(uint8_t* p, uint32_t w)
{
    p[0] = uint8_t(w >> 24);
    p[1] = uint8_t(w >> 16);
    p[2] = uint8_t(w >> 8);
    p[3] = uint8_t(w);
}

uint32_t SubWord(uint32_t w)
{
    return (uint32_t(T.S[w >> 24]) << 24) | (uint32_t(T.S[(w >> 16) & 0xFF]) << 16) |
           (uint32_t(T.S[(w >> 8) & 0xFF]) << 8) | T.S[w & 0xFF];
}

uint32_t InvMixColumn(uint32_t w)
{
    // Td maps x to InvMixColumns(InvSubBytes(x)); passing S[x] leaves InvMixColumns alone.
    return T.Td[0][T.S[w >> 24]] ^ T.Td[1][T.S[(w >> 16) & 0xFF]] ^ T.Td[2][T.S[(w >> 8) & 0xFF]] ^
           T.Td[3][T.S[w & 0xFF]];
}

[[noreturn]] void Fail(const char* message) { throw EAESError(QString::fromLatin1(message)); }

}  // namespace

TAESExpandedKeyEnc AES_Expand_Key_Enc(const TAESKey128& key)
{
    TAESExpandedKeyEnc schedule;
    auto& w = schedule.RK;
    for (int i = 0; i < 4; ++i)
        w[i] = LoadBE(key.data() + 4 * i);
    uint32_t rcon = 0x01;
    for (int i = 4; i < 44; ++i) {
        uint32_t temp = w[i - 1];
        if (i % 4 == 0) {
            temp = SubWord((temp << 8) | (temp >> 24)) ^ (rcon << 24);
            rcon = XTime(uint8_t(rcon));
        }
        w[i] = w[i - 4] ^ temp;
    }
    return schedule;
}

TAESExpandedKeyDec AES_Expand_Key_Dec(const TAESKey128& key)
{
    TAESExpandedKeyDec schedule;
    schedule.RK = AES_Expand_Key_Enc(key).RK;
    for (int i = 4; i < 40; ++i)
        schedule.RK[i] = InvMixColumn(schedule.RK[i]);
    return schedule;
}

TAESBlock AES_Encrypt_Block(const TAESBlock& block, const TAESExpandedKeyEnc& key)
{
    const auto& rk = key.RK;
    const auto& te = T.Te;
    uint32_t s0 = LoadBE(&block[0]) ^ rk[0];
    uint32_t s1 = LoadBE(&block[4]) ^ rk[1];
    uint32_t s2 = LoadBE(&block[8]) ^ rk[2];
    uint32_t s3 = LoadBE(&block[12]) ^ rk[3];
    for (int round = 1; round < 10; ++round) {
        const uint32_t* k = &rk[4 * round];
        const uint32_t t0 = te[0][s0 >> 24] ^ te[1][(s1 >> 16) & 0xFF] ^ te[2][(s2 >> 8) & 0xFF] ^ te[3][s3 & 0xFF] ^ k[0];
        const uint32_t t1 = te[0][s1 >> 24] ^ te[1][(s2 >> 16) & 0xFF] ^ te[2][(s3 >> 8) & 0xFF] ^ te[3][s0 & 0xFF] ^ k[1];
        const uint32_t t2 = te[0][s2 >> 24] ^ te[1][(s3 >> 16) & 0xFF] ^ te[2][(s0 >> 8) & 0xFF] ^ te[3][s1 & 0xFF] ^ k[2];
        const uint32_t t3 = te[0][s3 >> 24] ^ te[1][(s0 >> 16) & 0xFF] ^ te[2][(s1 >> 8) & 0xFF] ^ te[3][s2 & 0xFF] ^ k[3];
        s0 = t0;
        s1 = t1;
        s2 = t2;
        s3 = t3;
    }
    const auto& S = T.S;
    auto last = [&](uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t k) {
        return ((uint32_t(S[a >> 24]) << 24) | (uint32_t(S[(b >> 16) & 0xFF]) << 16) |
                (uint32_t(S[(c >> 8) & 0xFF]) << 8) | S[d & 0xFF]) ^ k;
    };
    TAESBlock out;
    StoreBE(&out[0], last(s0, s1, s2, s3, rk[40]));
    StoreBE(&out[4], last(s1, s2, s3, s0, rk[41]));
    StoreBE(&out[8], last(s2, s3, s0, s1, rk[42]));
    StoreBE(&out[12], last(s3, s0, s1, s2, rk[43]));
    return out;
}

TAESBlock AES_Decrypt_Block(const TAESBlock& block, const TAESExpandedKeyDec& key)
{
    const auto& rk = key.RK;
    const auto& td = T.Td;
    uint32_t s0 = LoadBE(&block[0]) ^ rk[40];
    uint32_t s1 = LoadBE(&block[4]) ^ rk[41];
    uint32_t s2 = LoadBE(&block[8]) ^ rk[42];
    uint32_t s3 = LoadBE(&block[12]) ^ rk[43];
    for (int round = 9; round >= 1; --round) {
        const uint32_t* k = &rk[4 * round];
        const uint32_t t0 = td[0][s0 >> 24] ^ td[1][(s3 >> 16) & 0xFF] ^ td[2][(s2 >> 8) & 0xFF] ^ td[3][s1 & 0xFF] ^ k[0];
        const uint32_t t1 = td[0][s1 >> 24] ^ td[1][(s0 >> 16) & 0xFF] ^ td[2][(s3 >> 8) & 0xFF] ^ td[3][s2 & 0xFF] ^ k[1];
        const uint32_t t2 = td[0][s2 >> 24] ^ td[1][(s1 >> 16) & 0xFF] ^ td[2][(s0 >> 8) & 0xFF] ^ td[3][s3 & 0xFF] ^ k[2];
        const uint32_t t3 = td[0][s3 >> 24] ^ td[1][(s2 >> 16) & 0xFF] ^ td[2][(s1 >> 8) & 0xFF] ^ td[3][s0 & 0xFF] ^ k[3];
        s0 = t0;
        s1 = t1;
        s2 = t2;
        s3 = t3;
    }
    const auto& Si = T.Si;
    auto last = [&](uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t k) {
        return ((uint32_t(Si[a >> 24]) << 24) | (uint32_t(Si[(b >> 16) & 0xFF]) << 16) |
                (uint32_t(Si[(c >> 8) & 0xFF]) << 8) | Si[d & 0xFF]) ^ k;
    };
    TAESBlock out;
    StoreBE(&out[0], last(s0, s3, s2, s1, rk[0]));
    StoreBE(&out[4], last(s1, s0, s3, s2, rk[1]));
    StoreBE(&out[8], last(s2, s1, s0, s3, rk[2]));
    StoreBE(&out[12], last(s3, s2, s1, s0, rk[3]));
    return out;
}

void AES_Decrypt_CBC(platform::ByteReader& source, size_t count, const TAESKey128& key,
                     platform::ByteWriter& destination, const TAESBlock& iv)
{
    const TAESExpandedKeyDec schedule = AES_Expand_Key_Dec(key);
    if (count == 0) {
        source.Seek(0);
        count = source.Size();
    } else {
        count = AES_Min(count, source.Remaining());
    }
    if (count == 0)
        return;
    if (count % 16 != 0)
        Fail("Invalid buffer size for decryption");
    TAESBlock vector = iv;
    while (count >= 16) {
        const auto cipher = source.Bytes(16);
        if (cipher.size() != 16)
            Fail("Stream read error");
        TAESBlock block;
        std::copy(cipher.begin(), cipher.end(), block.begin());
        const TAESBlock plain = Block_Xor(AES_Decrypt_Block(block, schedule), vector);
        if (!destination.Bytes(plain))
            Fail("Stream write error");
        vector = block;
        count -= 16;
    }
}

TAESBlock Block_Xor(const TAESBlock& a, const TAESBlock& b)
{
    TAESBlock out;
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = a[i] ^ b[i];
    return out;
}

TAESBlock Block_Shift_Left(const TAESBlock& block)
{
    TAESBlock out;
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = uint8_t((block[i] << 1) | (i + 1 < out.size() ? block[i + 1] >> 7 : 0));
    return out;
}

TAESBlock CMAC_Pad(const uint8_t* partial, size_t count)
{
    TAESBlock out{};
    count = AES_Min(count, 15);
    std::copy(partial, partial + count, out.begin());
    out[count] = 0x80;
    return out;
}

TCMACSubkeys CMAC_Subkeys(const TAESExpandedKeyEnc& key)
{
    auto next = [](const TAESBlock& block) {
        TAESBlock shifted = Block_Shift_Left(block);
        if (block[0] & 0x80)
            shifted[15] ^= 0x87;
        return shifted;
    };
    const TAESBlock l = AES_Encrypt_Block(TAESBlock{}, key);
    TCMACSubkeys keys;
    keys.K1 = next(l);
    keys.K2 = next(keys.K1);
    return keys;
}

TAESBlock CMAC_Stream(platform::ByteReader& stream, size_t length, const TAESExpandedKeyEnc& key)
{
    const TCMACSubkeys subkeys = CMAC_Subkeys(key);
    const size_t blocks = length == 0 ? 1 : (length + 15) / 16;
    const bool complete = length != 0 && length % 16 == 0;
    if (!stream.Seek(0) || stream.Size() < length)
        Fail("Stream read error");
    auto read = [&](size_t count) {
        const auto bytes = stream.Bytes(count);
        if (bytes.size() != count)
            Fail("Stream read error");
        return bytes;
    };
    TAESBlock x{};
    for (size_t i = 0; i + 1 < blocks; ++i) {
        const auto bytes = read(16);
        TAESBlock block;
        std::copy(bytes.begin(), bytes.end(), block.begin());
        x = AES_Encrypt_Block(Block_Xor(x, block), key);
    }
    const size_t rest = length - (blocks - 1) * 16;
    const auto bytes = read(rest);
    TAESBlock last;
    if (complete) {
        std::copy(bytes.begin(), bytes.end(), last.begin());
        last = Block_Xor(last, subkeys.K1);
    } else {
        last = Block_Xor(CMAC_Pad(bytes.data(), rest), subkeys.K2);
    }
    return AES_Encrypt_Block(Block_Xor(x, last), key);
}

TAESBlock AES_CMAC(platform::ByteReader& stream, size_t length, const TAESKey128& key)
{
    return CMAC_Stream(stream, length, AES_Expand_Key_Enc(key));
}
