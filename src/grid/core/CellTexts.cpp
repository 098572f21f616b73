#include "grid/core/CellTexts.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace grid {

namespace {

bool NeedsWide(QStringView v)
{
    return std::any_of(v.begin(), v.end(), [](QChar ch) { return ch.unicode() > 0xFF; });
}

uint32_t CheckedChars(uint64_t chars)
{
    // Two bytes a character must still fit the block's 32-bit sizes.
    if (chars > uint64_t(INT32_MAX))
        throw std::length_error("the texts of a row exceed 2^31 characters");
    return uint32_t(chars);
}

void CopyChars(uint8_t* to, QStringView value, bool wide)
{
    if (value.isEmpty())
        return;
    if (wide) {
        std::memcpy(to, value.utf16(), size_t(value.size()) * 2);
        return;
    }
    const char16_t* from = value.utf16();
    for (qsizetype i = 0; i < value.size(); ++i)
        to[i] = uint8_t(from[i]);
}

}  // namespace

TCellTexts::TCellTexts(std::span<const QString> texts)
{
    uint64_t total = 0;
    for (const QString& t : texts) {
        total += uint64_t(t.size());
        FWide = FWide || NeedsWide(t);
    }
    FCount = uint32_t(texts.size());
    FCapacity = uint32_t(CheckedChars(total) * Unit());
    if (FCount == 0)
        return;
    FBlock.reset(new uint8_t[Bytes()]);
    uint32_t end = 0;
    for (size_t k = 0; k < texts.size(); ++k) {
        CopyChars(CharData() + size_t(end) * Unit(), texts[k], FWide);
        end += uint32_t(texts[k].size());
        SetEnd(int(k), end);
    }
}

TCellTexts::TCellTexts(TCellTexts&& other) noexcept
    : FBlock(std::move(other.FBlock)), FCount(other.FCount), FCapacity(other.FCapacity), FWide(other.FWide)
{
    other.FCount = other.FCapacity = 0;
    other.FWide = false;
}

TCellTexts& TCellTexts::operator=(TCellTexts&& other) noexcept
{
    if (this != &other) {
        FBlock = std::move(other.FBlock);
        FCount = other.FCount;
        FCapacity = other.FCapacity;
        FWide = other.FWide;
        other.FCount = other.FCapacity = 0;
        other.FWide = false;
    }
    return *this;
}

uint32_t TCellTexts::EndOf(int c) const
{
    uint32_t value;
    std::memcpy(&value, FBlock.get() + size_t(c) * sizeof(uint32_t), sizeof value);
    return value;
}

void TCellTexts::SetEnd(int c, uint32_t value)
{
    std::memcpy(FBlock.get() + size_t(c) * sizeof(uint32_t), &value, sizeof value);
}

QString TCellTexts::At(int c) const
{
    if (c < 0 || uint32_t(c) >= FCount)
        return {};
    const uint32_t s = StartOf(c), e = EndOf(c);
    if (s == e)
        return {};
    if (FWide) {
        QString text(qsizetype(e - s), Qt::Uninitialized);
        std::memcpy(text.data(), CharData() + size_t(s) * 2, size_t(e - s) * 2);
        return text;
    }
    return QString::fromLatin1(reinterpret_cast<const char*>(CharData() + s), qsizetype(e - s));
}

bool TCellTexts::IsEmptyAt(int c) const
{
    return c < 0 || uint32_t(c) >= FCount || StartOf(c) == EndOf(c);
}

template <class Source>
void TCellTexts::Remap(int count, Source source, size_t spare)
{
    uint64_t total = 0;
    for (int k = 0; k < count; ++k) {
        const int o = source(k);
        if (o >= 0 && uint32_t(o) < FCount)
            total += EndOf(o) - StartOf(o);
    }
    TCellTexts result;
    result.FWide = FWide && count > 0;
    result.FCount = uint32_t(count);
    result.FCapacity = uint32_t(CheckedChars(total + spare) * result.Unit());
    if (result.Bytes() > 0)
        result.FBlock.reset(new uint8_t[result.Bytes()]);
    uint32_t end = 0;
    for (int k = 0; k < count; ++k) {
        const int o = source(k);
        if (o >= 0 && uint32_t(o) < FCount) {
            const uint32_t s = StartOf(o), n = EndOf(o) - s;
            if (n > 0)
                std::memcpy(result.CharData() + size_t(end) * Unit(), CharData() + size_t(s) * Unit(),
                            size_t(n) * Unit());
            end += n;
        }
        result.SetEnd(k, end);
    }
    *this = std::move(result);
}

void TCellTexts::Widen()
{
    const uint32_t chars = CharCount();
    const uint32_t capacity = uint32_t(CheckedChars(uint64_t(chars) + chars / 4 + 8) * 2);
    std::unique_ptr<uint8_t[]> block(new uint8_t[size_t(FCount) * sizeof(uint32_t) + capacity]);
    std::memcpy(block.get(), FBlock.get(), size_t(FCount) * sizeof(uint32_t));
    uint8_t* to = block.get() + size_t(FCount) * sizeof(uint32_t);
    const uint8_t* from = CharData();
    for (uint32_t i = 0; i < chars; ++i) {
        const char16_t ch = from[i];
        std::memcpy(to + size_t(i) * 2, &ch, 2);
    }
    FBlock = std::move(block);
    FCapacity = capacity;
    FWide = true;
}

void TCellTexts::Set(int c, QStringView value)
{
    if (c < 0)
        return;
    if (uint32_t(c) >= FCount) {
        if (value.isEmpty())
            return;
        Resize(c + 1);
    }
    if (!FWide && NeedsWide(value))
        Widen();
    const uint32_t s = StartOf(c), e = EndOf(c), total = CharCount();
    const uint32_t n = CheckedChars(uint64_t(value.size()));
    const uint32_t newTotal = CheckedChars(uint64_t(total) - (e - s) + n);
    const size_t unit = Unit();
    if (size_t(newTotal) * unit > FCapacity) {
        // Room for a quarter more, so that a row filled cell by cell is not copied per cell.
        const uint64_t room = uint64_t(newTotal) + newTotal / 4 + 8;
        Remap(int(FCount), [](int k) { return k; }, size_t(room - total));
    }
    uint8_t* d = CharData();
    if (total > e)
        std::memmove(d + size_t(s + n) * unit, d + size_t(e) * unit, size_t(total - e) * unit);
    CopyChars(d + size_t(s) * unit, value, FWide);
    for (int k = c; uint32_t(k) < FCount; ++k)
        SetEnd(k, EndOf(k) - (e - s) + n);
}

void TCellTexts::Resize(int count)
{
    count = std::max(count, 0);
    if (uint32_t(count) == FCount)
        return;
    Remap(count, [](int k) { return k; });
}

void TCellTexts::Insert(int at, int count)
{
    if (at < 0 || uint32_t(at) > FCount || count <= 0)
        return;
    Remap(int(FCount) + count, [&](int k) { return k < at ? k : k >= at + count ? k - count : -1; });
}

void TCellTexts::Erase(int at, int count)
{
    if (at < 0 || uint32_t(at) >= FCount || count <= 0)
        return;
    count = std::min(count, int(FCount) - at);
    Remap(int(FCount) - count, [&](int k) { return k < at ? k : k + count; });
}

void TCellTexts::Move(int from, int to)
{
    if (from < 0 || to < 0 || from == to)
        return;
    // Cells beyond the old ones read empty in Remap, so the row grows in the same pass.
    Remap(std::max({int(FCount), from + 1, to + 1}), [&](int k) {
        if (k == to)
            return from;
        if (from < to && k >= from && k < to)
            return k + 1;
        if (to < from && k > to && k <= from)
            return k - 1;
        return k;
    });
}

void TCellTexts::ShrinkToFit()
{
    if (size_t(CharCount()) * Unit() < FCapacity)
        Remap(int(FCount), [](int k) { return k; });
}

}  // namespace grid
