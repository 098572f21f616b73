#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace grid {

// Sizes of a run of rows or columns with their positions: a Fenwick tree over the sizes, so
// that the offset of an index and the index at an offset cost O(log n).
class TSizeIndex {
public:
    int Count() const { return int(Sizes.size()); }
    int Size(int i) const { return Sizes[size_t(i)]; }
    void Set(int i, int size);
    // Sum of the sizes of indexes 0 .. i-1.
    int64_t Offset(int i) const;
    int64_t Total() const { return Offset(Count()); }
    // The index whose span holds the offset (0 <= offset < Total()); Count() when past the end.
    int Find(int64_t offset) const;
    void Resize(int count, int size);
    void Insert(int at, int count, int size);
    void Erase(int at, int count);
    void Move(int from, int to);
    void Fill(int size);

private:
    void Rebuild();
    std::vector<int> Sizes;
    std::vector<int64_t> Tree;  // 1-based Fenwick tree
};

}  // namespace grid
