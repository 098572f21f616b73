#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace mqtt_image {

// Little-endian writer over a fixed buffer. It can never step past the buffer's end: a write that
// does not fit is refused with an Exception before any byte of it is stored.
class TBank_Writer {
public:
    explicit TBank_Writer(std::span<uint8_t> buffer, size_t position = 0);

    size_t Position() const { return Pos; }
    size_t Size() const { return Buffer.size(); }
    void Seek(size_t position);

    void Put_U8(uint8_t value);
    void Put_U16(uint16_t value);
    void Put_U32(uint32_t value);
    void Put_Bytes(std::string_view bytes);
    void Put_Zeros(size_t count);

private:
    uint8_t* Take(size_t count);

    std::span<uint8_t> Buffer;
    size_t Pos = 0;
};

}  // namespace mqtt_image
