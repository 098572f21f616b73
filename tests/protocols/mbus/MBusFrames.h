#pragma once
// Frames and telegrams shared by the M-Bus tests, and a decoder with a fixed clock and a full
// stop as decimal separator.
#include "protocols/mbus/ElAES.h"
#include "protocols/mbus/UMBusDecode.h"

#include <QString>

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <vector>

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace mbus_test {

using Bytes = std::vector<uint8_t>;

inline Bytes Hex(const char* text)
{
    Bytes bytes;
    if (!Hex_To_Bytes(QString::fromLatin1(text), bytes))
        bytes.clear();
    return bytes;
}

inline Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// An RSP_UD long frame around the given header and records, with its length and checksum.
inline Bytes Long_Frame(uint8_t c, uint8_t a, uint8_t ci, const Bytes& header, const Bytes& records)
{
    Bytes body = Join({{c, a, ci}, header, records});
    uint8_t sum = 0;
    for (uint8_t b : body)
        sum = uint8_t(sum + b);
    const uint8_t length = uint8_t(body.size());
    return Join({{0x68, length, length, 0x68}, body, {sum, 0x16}});
}

// The fixed header of the water meter of the M-Bus documentation: identification number
// 12345678, manufacturer "PAD", version 1, medium water, access number 0x55, status 0.
inline Bytes Water_Meter_Header() { return Hex("78563412 2440 01 07 55 00 0000"); }

// Its three records: 12.565 m3; maximum volume flow 0.113 m3/h at storage 5; 218370 Wh at
// tariff 2, subunit 1.
inline Bytes Water_Meter_Records() { return Hex("03 13 153100  DA 02 3B 1301  8B 60 04 371802"); }

inline Bytes Water_Meter_Frame() { return Long_Frame(0x08, 0x02, 0x72, Water_Meter_Header(), Water_Meter_Records()); }

inline Bytes Encrypt_CBC(const Bytes& plain, const TAESKey128& key, TAESBlock iv)
{
    const TAESExpandedKeyEnc schedule = AES_Expand_Key_Enc(key);
    Bytes out;
    for (size_t at = 0; at + 16 <= plain.size(); at += 16) {
        TAESBlock block;
        for (size_t i = 0; i < 16; ++i)
            block[i] = plain[at + i] ^ iv[i];
        iv = AES_Encrypt_Block(block, schedule);
        out.insert(out.end(), iv.begin(), iv.end());
    }
    return out;
}

// The annex example of security mode 5: the meter's key and its telegram with the short
// transport header (CI 0x7A), whose two encrypted blocks hold fillers, a BCD volume, a type F
// date and the error flags. The ciphertext is made here from the example's plaintext, key and
// IV (manufacturer, address, then the access number eight times) by the block cipher that the
// FIPS-197 and SP 800-38A vectors check.
inline TAESKey128 Annex_Key()
{
    return {0x0F, 0x0E, 0x0D, 0x0C, 0x0B, 0x0A, 0x09, 0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, 0x00};
}
inline Bytes Annex_Link() { return Hex("44 9315 78563412 33 03"); }
inline Bytes Annex_Transport() { return Hex("7A 2A 00 2025"); }
inline Bytes Annex_Plain()
{
    return Hex("2F2F 0C14 27048502 046D 32371F15 02FD17 0000 2F2F2F2F2F2F2F2F2F2F2F2F2F");
}
inline TAESBlock Annex_IV()
{
    return {0x93, 0x15, 0x78, 0x56, 0x34, 0x12, 0x33, 0x03, 0x2A, 0x2A, 0x2A, 0x2A, 0x2A, 0x2A, 0x2A, 0x2A};
}
inline Bytes Annex_Cipher() { return Encrypt_CBC(Annex_Plain(), Annex_Key(), Annex_IV()); }

// A radio module's datagram: the L field, the telegram and the module's trailer (Telit: two
// bytes, the signal level last).
inline Bytes Telit_Datagram(const Bytes& telegram, uint8_t signal = 0x50)
{
    return Join({{uint8_t(telegram.size())}, telegram, {0x00, signal}});
}
inline Bytes RadioCrafts_Datagram(const Bytes& telegram, uint8_t signal = 0xB4)
{
    return Join({{uint8_t(telegram.size())}, telegram, {signal}});
}

inline Bytes Annex_Telegram() { return Join({Annex_Link(), Annex_Transport(), Annex_Cipher()}); }
// The same with the short extended link layer (CI 0x8C, communication control, access number)
// in front of the transport header.
inline Bytes Annex_Telegram_ELL() { return Join({Annex_Link(), Hex("8C 20 2A"), Annex_Transport(), Annex_Cipher()}); }

// Security mode 7 behind the extended link layer and an AFL with the message control
// (authentication type 7), a message counter and a 16-byte MAC: 23 bytes, so the transport header
// starts 23 bytes after position 15. Its key is the CMAC of the derivation block (message
// counter, link-layer address) under the meter's key.
inline Bytes Mode7_Afl() { return Hex("90 17 002C 07 01000000 AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"); }
inline Bytes Mode7_Telegram(const TAESKey128& key, const Bytes& afl = Mode7_Afl(),
                            const char* transport = "7A 2A 00 2007 10")
{
    uint8_t derivation[16] = {0x00, 0x01, 0x00, 0x00, 0x00, 0x78, 0x56, 0x34, 0x12};
    std::fill(derivation + 9, derivation + 16, 0x07);
    platform::ByteReader block{std::span<const uint8_t>(derivation)};
    const TAESKey128 message_key = AES_CMAC(block, 16, key);
    Bytes plain = Hex("2F2F 04 13 2A000000");
    plain.resize(32, 0x2F);
    return Join({Annex_Link(), Hex("8C 20 2A"), afl, Hex(transport), Encrypt_CBC(plain, message_key, {})});
}

// Mode 5 with fifteen blocks, the most a configuration word can announce.
inline Bytes Longest_Mode5_Telegram()
{
    Bytes plain = Hex("2F2F 04 13 2A000000");
    plain.resize(240, 0x2F);
    return Join({Annex_Link(), Hex("7A 2A 00 F005"), Encrypt_CBC(plain, Annex_Key(), Annex_IV())});
}

// Records of many kinds in one walk, ending with a filler and the mark that more follow.
inline Bytes Rich_Records()
{
    return Hex("04 13 2A000000  0C 13 785634F2  0D 22 C4 78563412  06 6D 051E2DC12B00  02 FD 17 0000"
               "01 FB 78 05  02 FD C8 FC 02 E803  94 8F 51 13 00000000  04 7C 03 682F6D 2A000000"
               "0D 22 03 414243  05 22 0000C0BF  0E 07 999999999999  01 A2 A0 3B 05  02 A2 6A C12B  2F 1F");
}

// A decoder that prints numbers with a full stop and takes a fixed time.
class Decoder : public TMBusDecoder {
public:
    Decoder()
    {
        Decimal_Separator = u'.';
        Locale = QLocale::c();
        Clock = [] { return QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30)); };
    }
};

}  // namespace mbus_test
