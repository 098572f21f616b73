#include "platform/Bytes.h"

#include <cstring>

namespace platform {

uint8_t ByteReader::U8()
{
    const uint8_t* at = Take(1);
    return at ? *at : 0;
}

uint64_t ByteReader::UIntLE(size_t count)
{
    if (count > 8) {
        Failed = true;
        return 0;
    }
    const uint8_t* at = Take(count);
    if (!at)
        return 0;
    uint64_t value = 0;
    for (size_t i = count; i-- > 0;)
        value = (value << 8) | at[i];
    return value;
}

uint64_t ByteReader::UIntBE(size_t count)
{
    if (count > 8) {
        Failed = true;
        return 0;
    }
    const uint8_t* at = Take(count);
    if (!at)
        return 0;
    uint64_t value = 0;
    for (size_t i = 0; i < count; ++i)
        value = (value << 8) | at[i];
    return value;
}

std::span<const uint8_t> ByteReader::Bytes(size_t count)
{
    const uint8_t* at = Take(count);
    return at ? std::span<const uint8_t>(at, count) : std::span<const uint8_t>();
}

bool ByteReader::Seek(size_t position)
{
    if (Failed || position > Data.size()) {
        Failed = true;
        return false;
    }
    Pos = position;
    return true;
}

ByteReader ByteReader::Sub(size_t count)
{
    const uint8_t* at = Take(count);
    ByteReader sub(at ? std::span<const uint8_t>(at, count) : std::span<const uint8_t>());
    if (!at)
        sub.Failed = true;
    return sub;
}

ByteWriter::ByteWriter(std::span<uint8_t> buffer, size_t position) : Fixed(buffer)
{
    Seek(position);
}

bool ByteWriter::Seek(size_t position)
{
    const size_t end = Growing ? Own.size() : Fixed.size();
    if (Failed || position > end) {
        if (!Failed) {
            FailPos = position;
            FailCount = 0;
        }
        Failed = true;
        return false;
    }
    Pos = position;
    return true;
}

bool ByteWriter::UIntLE(uint64_t value, size_t count)
{
    uint8_t* at = count <= 8 ? Room(count) : (Failed = true, nullptr);
    if (!at)
        return false;
    for (size_t i = 0; i < count; ++i, value >>= 8)
        at[i] = uint8_t(value);
    return true;
}

bool ByteWriter::UIntBE(uint64_t value, size_t count)
{
    uint8_t* at = count <= 8 ? Room(count) : (Failed = true, nullptr);
    if (!at)
        return false;
    for (size_t i = count; i-- > 0; value >>= 8)
        at[i] = uint8_t(value);
    return true;
}

bool ByteWriter::Bytes(std::span<const uint8_t> bytes)
{
    uint8_t* at = Room(bytes.size());
    if (!at)
        return false;
    if (!bytes.empty())
        std::memcpy(at, bytes.data(), bytes.size());
    return true;
}

bool ByteWriter::Bytes(std::string_view bytes)
{
    return Bytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

bool ByteWriter::Fill(size_t count, uint8_t value)
{
    uint8_t* at = Room(count);
    if (!at)
        return false;
    if (count != 0)
        std::memset(at, value, count);
    return true;
}

}  // namespace platform
