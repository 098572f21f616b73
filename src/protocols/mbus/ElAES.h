#pragma once
#include "platform/Bytes.h"
#include "platform/Exception.h"

#include <array>
#include <cstddef>
#include <cstdint>

// AES-128 (FIPS-197) with the two uses the wireless decoder has for it: CBC decryption of a
// payload (SP 800-38A) and the CMAC (SP 800-38B) that derives the key of security mode 7.
// Streams are the bounded reader and writer: a decryption can never read or write outside them.

using TAESKey128 = std::array<uint8_t, 16>;
using TAESBlock = std::array<uint8_t, 16>;

// Eleven round keys of four words each; the two schedules are distinct types so that one can
// never be handed where the other is expected.
struct TAESExpandedKeyEnc {
    std::array<uint32_t, 44> RK{};
};
struct TAESExpandedKeyDec {
    std::array<uint32_t, 44> RK{};
};

class EAESError : public platform::Exception {
public:
    using platform::Exception::Exception;
};

TAESExpandedKeyEnc AES_Expand_Key_Enc(const TAESKey128& key);
// The schedule of the equivalent inverse cipher: round keys 1 to 9 through InvMixColumns.
TAESExpandedKeyDec AES_Expand_Key_Dec(const TAESKey128& key);
TAESBlock AES_Encrypt_Block(const TAESBlock& block, const TAESExpandedKeyEnc& key);
TAESBlock AES_Decrypt_Block(const TAESBlock& block, const TAESExpandedKeyDec& key);

// Decrypts `count` bytes from the source's position (0: the whole source from its start; more
// than remains: what remains) and writes the plaintext to the destination. A count that is not
// a whole number of blocks raises "Invalid buffer size for decryption"; a refused write raises
// "Stream write error", with the blocks before it already written.
void AES_Decrypt_CBC(platform::ByteReader& source, size_t count, const TAESKey128& key,
                     platform::ByteWriter& destination, const TAESBlock& iv);

struct TCMACSubkeys {
    TAESBlock K1{};
    TAESBlock K2{};
};
TCMACSubkeys CMAC_Subkeys(const TAESExpandedKeyEnc& key);
// The tag of the first `length` bytes of the stream, from its start. A stream shorter than the
// message raises "Stream read error" rather than authenticating bytes that were never there.
TAESBlock CMAC_Stream(platform::ByteReader& stream, size_t length, const TAESExpandedKeyEnc& key);
TAESBlock AES_CMAC(platform::ByteReader& stream, size_t length, const TAESKey128& key);

TAESBlock CMAC_Pad(const uint8_t* partial, size_t count);
TAESBlock Block_Xor(const TAESBlock& a, const TAESBlock& b);
TAESBlock Block_Shift_Left(const TAESBlock& block);
inline size_t AES_Min(size_t a, size_t b) { return a < b ? a : b; }
