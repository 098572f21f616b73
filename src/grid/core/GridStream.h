#pragma once
#include <cstdint>
#include <span>
#include <vector>

namespace grid {

// An in-memory byte stream with a position, the carrier of the grid's own cell stream.
class TMemoryStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : Data(std::move(bytes)) {}

    size_t Size() const { return Data.size(); }
    size_t Position() const { return Pos; }
    void SetPosition(size_t value) { Pos = value < Data.size() ? value : Data.size(); }
    void Write(std::span<const uint8_t> bytes);
    std::span<const uint8_t> Remaining() const { return std::span(Data).subspan(Pos); }
    const std::vector<uint8_t>& Bytes() const { return Data; }
    std::vector<uint8_t>& Bytes() { return Data; }

private:
    std::vector<uint8_t> Data;
    size_t Pos = 0;
};

inline void TMemoryStream::Write(std::span<const uint8_t> bytes)
{
    if (Pos + bytes.size() > Data.size())
        Data.resize(Pos + bytes.size());
    std::copy(bytes.begin(), bytes.end(), Data.begin() + long(Pos));
    Pos += bytes.size();
}

}  // namespace grid
