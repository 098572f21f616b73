#pragma once
#include "platform/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace mqtt_image {

// Little-endian writer over a fixed buffer. It can never step past the buffer's end: a write that
// does not fit is refused with an Exception before any byte of it is stored, and the writer stays
// refused from then on.
class TBank_Writer {
public:
    explicit TBank_Writer(std::span<uint8_t> buffer, size_t position = 0) : W(buffer) { Seek(position); }

    size_t Position() const { return W.Position(); }
    size_t Size() const { return W.Size(); }

    void Seek(size_t position) { Check(W.Seek(position)); }
    void Put_U8(uint8_t value) { Check(W.U8(value)); }
    void Put_U16(uint16_t value) { Check(W.U16LE(value)); }
    void Put_U32(uint32_t value) { Check(W.U32LE(value)); }
    void Put_Bytes(std::string_view bytes) { Check(W.Bytes(bytes)); }
    void Put_Zeros(size_t count) { Check(W.Fill(count)); }

private:
    void Check(bool written) const
    {
        if (!written)
            Refuse();
    }
    [[noreturn]] void Refuse() const;

    platform::ByteWriter W;
};

}  // namespace mqtt_image
