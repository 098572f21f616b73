#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <span>

namespace grid {

// The texts of one row's cells in one block: the end offset of each cell, then the characters, one
// byte each while every character of the row is below U+0100, two bytes each once one is not. A row
// of twenty short texts costs one allocation and little more than its characters, where a string
// per cell costs a header and an allocation each: a large table fits in a few times its file size.
class TCellTexts {
public:
    TCellTexts() = default;
    // A block that fits these texts exactly.
    explicit TCellTexts(std::span<const QString> texts);
    TCellTexts(TCellTexts&& other) noexcept;
    TCellTexts& operator=(TCellTexts&& other) noexcept;
    TCellTexts(const TCellTexts&) = delete;
    TCellTexts& operator=(const TCellTexts&) = delete;
    ~TCellTexts() = default;

    // Cells held; a cell beyond them reads empty.
    int Size() const { return int(FCount); }
    bool Empty() const { return FCount == 0; }
    QString At(int c) const;
    bool IsEmptyAt(int c) const;
    // Every cell held is empty.
    bool AllEmpty() const { return CharCount() == 0; }

    void Set(int c, QStringView value);
    // Empty cells appended, or the cells from `count` on dropped.
    void Resize(int count);
    void Insert(int at, int count);
    void Erase(int at, int count);
    void Move(int from, int to);
    // Spare room given back.
    void ShrinkToFit();
    // Bytes the block takes.
    size_t Bytes() const { return size_t(FCount) * sizeof(uint32_t) + FCapacity; }

private:
    uint32_t EndOf(int c) const;
    void SetEnd(int c, uint32_t value);
    uint32_t StartOf(int c) const { return c == 0 ? 0 : EndOf(c - 1); }
    uint32_t CharCount() const { return FCount == 0 ? 0 : EndOf(int(FCount) - 1); }
    size_t Unit() const { return FWide ? 2 : 1; }
    uint8_t* CharData() const { return FBlock.get() + size_t(FCount) * sizeof(uint32_t); }
    // A new block of `count` cells, cell k taking the text of old cell source(k) (none when that
    // is outside the old cells), with room for `spare` more characters.
    template <class Source>
    void Remap(int count, Source source, size_t spare = 0);
    void Widen();

    std::unique_ptr<uint8_t[]> FBlock;
    uint32_t FCount = 0;
    uint32_t FCapacity = 0;  // bytes for characters
    bool FWide = false;
};

}  // namespace grid
