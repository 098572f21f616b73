#include "UBankWriter.h"

#include "Exception.h"

#include <cstring>

namespace mqtt_image {

namespace {
[[noreturn]] void Refuse(size_t position, size_t count, size_t size)
{
    throw platform::Exception(QStringLiteral("The device image does not fit in its %1 bytes "
                                             "(%2 bytes at offset %3 refused).")
                                  .arg(size)
                                  .arg(count)
                                  .arg(position));
}
}  // namespace

TBank_Writer::TBank_Writer(std::span<uint8_t> buffer, size_t position) : Buffer(buffer)
{
    Seek(position);
}

void TBank_Writer::Seek(size_t position)
{
    if (position > Buffer.size())
        Refuse(position, 0, Buffer.size());
    Pos = position;
}

uint8_t* TBank_Writer::Take(size_t count)
{
    if (count > Buffer.size() - Pos)
        Refuse(Pos, count, Buffer.size());
    uint8_t* at = Buffer.data() + Pos;
    Pos += count;
    return at;
}

void TBank_Writer::Put_U8(uint8_t value) { *Take(1) = value; }

void TBank_Writer::Put_U16(uint16_t value)
{
    uint8_t* at = Take(2);
    at[0] = uint8_t(value);
    at[1] = uint8_t(value >> 8);
}

void TBank_Writer::Put_U32(uint32_t value)
{
    uint8_t* at = Take(4);
    at[0] = uint8_t(value);
    at[1] = uint8_t(value >> 8);
    at[2] = uint8_t(value >> 16);
    at[3] = uint8_t(value >> 24);
}

void TBank_Writer::Put_Bytes(std::string_view bytes)
{
    if (bytes.empty())
        return;
    std::memcpy(Take(bytes.size()), bytes.data(), bytes.size());
}

void TBank_Writer::Put_Zeros(size_t count)
{
    if (count == 0)
        return;
    std::memset(Take(count), 0, count);
}

}  // namespace mqtt_image
