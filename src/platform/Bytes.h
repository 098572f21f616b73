#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace platform {

// Bounded reader over received bytes: frames, telegrams, streams, images. It can never step
// outside its span. The first read that does not fit sets a sticky error; from then on every
// read answers zero (or an empty span) and the position stays where the error happened.
class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const uint8_t> bytes) : Data(bytes) {}

    size_t Position() const { return Pos; }
    size_t Size() const { return Data.size(); }
    size_t Remaining() const { return Data.size() - Pos; }
    bool AtEnd() const { return Pos == Data.size(); }
    bool Ok() const { return !Failed; }
    // Marks the reader failed, for a value the caller found invalid.
    void Fail() { Failed = true; }

    uint8_t U8();
    uint16_t U16LE() { return uint16_t(UIntLE(2)); }
    uint16_t U16BE() { return uint16_t(UIntBE(2)); }
    uint32_t U24LE() { return uint32_t(UIntLE(3)); }
    uint32_t U32LE() { return uint32_t(UIntLE(4)); }
    uint32_t U32BE() { return uint32_t(UIntBE(4)); }
    uint64_t U64LE() { return UIntLE(8); }
    // An unsigned integer of 0 to 8 bytes; more than 8 is an error.
    uint64_t UIntLE(size_t count);
    uint64_t UIntBE(size_t count);

    // The next `count` bytes, or an empty span and the error when fewer remain.
    std::span<const uint8_t> Bytes(size_t count);
    bool Skip(size_t count) { return Take(count) != nullptr || count == 0; }
    // Moves to an absolute position inside the span (the end included).
    bool Seek(size_t position);
    // A byte ahead of the position without moving; outside the span answers zero and no error,
    // so that a caller can look ahead and then read what it saw.
    uint8_t Peek(size_t offset = 0) const { return offset < Remaining() ? Data[Pos + offset] : 0; }
    // The bytes from the position to the end, without moving: a text reader scans them for its
    // next line end, then moves with Skip.
    std::span<const uint8_t> Ahead() const { return Failed ? std::span<const uint8_t>() : Data.subspan(Pos); }
    // A reader over the next `count` bytes; this reader moves past them.
    ByteReader Sub(size_t count);

private:
    // Inline: every read of a frame or image goes through here.
    const uint8_t* Take(size_t count)
    {
        if (Failed || count > Remaining()) {
            Failed = true;
            return nullptr;
        }
        const uint8_t* at = Data.data() + Pos;
        Pos += count;
        return at;
    }

    std::span<const uint8_t> Data;
    size_t Pos = 0;
    bool Failed = false;
};

// Writer with the same sticky error: over a fixed span it refuses any write that does not fit
// whole (nothing of it is stored); without a span it appends to its own buffer up to a limit.
class ByteWriter {
public:
    // Appends to an internal buffer of at most `limit` bytes.
    explicit ByteWriter(size_t limit = SIZE_MAX) : Limit(limit), Growing(true) {}
    // Writes into a fixed buffer, starting at `position`.
    explicit ByteWriter(std::span<uint8_t> buffer, size_t position = 0);

    size_t Position() const { return Pos; }
    size_t Size() const { return Growing ? Limit : Fixed.size(); }
    bool Ok() const { return !Failed; }
    // Where the first refused write happened and how many bytes it wanted, for the caller's message.
    size_t FailedAt() const { return FailPos; }
    size_t FailedCount() const { return FailCount; }

    bool Seek(size_t position);
    bool U8(uint8_t value) { return UIntLE(value, 1); }
    bool U16LE(uint16_t value) { return UIntLE(value, 2); }
    bool U16BE(uint16_t value) { return UIntBE(value, 2); }
    bool U32LE(uint32_t value) { return UIntLE(value, 4); }
    bool U32BE(uint32_t value) { return UIntBE(value, 4); }
    bool UIntLE(uint64_t value, size_t count);
    bool UIntBE(uint64_t value, size_t count);
    bool Bytes(std::span<const uint8_t> bytes);
    bool Bytes(std::string_view bytes);
    bool Fill(size_t count, uint8_t value = 0);

    // The appended bytes of a growing writer.
    const std::vector<uint8_t>& Buffer() const { return Own; }
    std::vector<uint8_t> Take() { return std::move(Own); }

private:
    // Inline: every write of a bank image goes through here.
    uint8_t* Room(size_t count)
    {
        const size_t room = Growing ? Limit - Pos : Fixed.size() - Pos;
        if (Failed || count > room) {
            if (!Failed) {
                FailPos = Pos;
                FailCount = count;
            }
            Failed = true;
            return nullptr;
        }
        if (!Growing) {
            uint8_t* at = Fixed.data() + Pos;
            Pos += count;
            return at;
        }
        if (Pos + count > Own.size())
            Own.resize(Pos + count);
        uint8_t* at = Own.data() + Pos;
        Pos += count;
        return at;
    }

    std::span<uint8_t> Fixed;
    std::vector<uint8_t> Own;
    size_t Limit = SIZE_MAX;
    bool Growing = false;
    size_t Pos = 0;
    bool Failed = false;
    size_t FailPos = 0;
    size_t FailCount = 0;
};

}  // namespace platform
