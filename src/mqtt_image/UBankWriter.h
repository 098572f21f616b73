#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

namespace mqtt_image {

// Little-endian writer over a fixed buffer. It can never step past the buffer's end: a write that
// does not fit is refused with an Exception before any byte of it is stored.
class TBank_Writer {
public:
    explicit TBank_Writer(std::span<uint8_t> buffer, size_t position = 0) : Buffer(buffer) { Seek(position); }

    size_t Position() const { return Pos; }
    size_t Size() const { return Buffer.size(); }

    void Seek(size_t position)
    {
        if (position > Buffer.size())
            Refuse(position, 0);
        Pos = position;
    }

    void Put_U8(uint8_t value) { *Take(1) = value; }
    void Put_U16(uint16_t value)
    {
        uint8_t* at = Take(2);
        at[0] = uint8_t(value);
        at[1] = uint8_t(value >> 8);
    }
    void Put_U32(uint32_t value)
    {
        uint8_t* at = Take(4);
        at[0] = uint8_t(value);
        at[1] = uint8_t(value >> 8);
        at[2] = uint8_t(value >> 16);
        at[3] = uint8_t(value >> 24);
    }
    void Put_Bytes(std::string_view bytes)
    {
        if (!bytes.empty())
            std::memcpy(Take(bytes.size()), bytes.data(), bytes.size());
    }
    void Put_Zeros(size_t count)
    {
        if (count != 0)
            std::memset(Take(count), 0, count);
    }

private:
    uint8_t* Take(size_t count)
    {
        if (count > Buffer.size() - Pos)
            Refuse(Pos, count);
        uint8_t* at = Buffer.data() + Pos;
        Pos += count;
        return at;
    }
    [[noreturn]] void Refuse(size_t position, size_t count) const;

    std::span<uint8_t> Buffer;
    size_t Pos = 0;
};

}  // namespace mqtt_image
