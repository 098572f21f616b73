#include "grid/editing/GridSelection.h"

#include <algorithm>

#include "grid/core/GridTypes.h"

namespace grid::editing {

bool TDisjunctCells::Add(int c, int r)
{
    const uint32_t key = Key(c, r);
    if (!FSet.insert(key).second)
        return false;
    FList.push_back(key);
    return true;
}

bool TDisjunctCells::Remove(int c, int r)
{
    const uint32_t key = Key(c, r);
    if (FSet.erase(key) == 0)
        return false;
    FList.erase(std::find(FList.begin(), FList.end(), key));
    return true;
}

void TDisjunctCells::Clear()
{
    FList.clear();
    FSet.clear();
}

TGridCoord TDisjunctCells::At(int index) const
{
    if (index < 0 || index >= Count())
        throw EExtGridError(QStringLiteral("Invalid cell"));
    const uint32_t key = FList[size_t(index)];
    return {int(key & 0xFFFF), int(key >> 16)};
}

}  // namespace grid::editing
