#pragma once
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "grid/core/BaseGrid.h"

namespace grid::editing {

// The cells picked one by one (DisjunctCellSelect): kept in the order picked, each at most once,
// with a constant-time membership test. A cell is the row in the high 16 bits and the column in
// the low 16 bits, as the grid keeps it.
class TDisjunctCells {
public:
    static uint32_t Key(int c, int r) { return (uint32_t(uint16_t(r)) << 16) | uint16_t(c); }
    bool Contains(int c, int r) const { return FSet.count(Key(c, r)) != 0; }
    // Answers whether the list changed.
    bool Add(int c, int r);
    bool Remove(int c, int r);
    void Clear();
    int Count() const { return int(FList.size()); }
    TGridCoord At(int index) const;

private:
    std::vector<uint32_t> FList;
    std::unordered_set<uint32_t> FSet;
};

}  // namespace grid::editing
