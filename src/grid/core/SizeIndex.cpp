#include "grid/core/SizeIndex.h"

#include <algorithm>

namespace grid {

void TSizeIndex::Rebuild()
{
    const size_t n = Sizes.size();
    Tree.assign(n + 1, 0);
    for (size_t i = 1; i <= n; ++i) {
        Tree[i] += Sizes[i - 1];
        const size_t parent = i + (i & (~i + 1));
        if (parent <= n)
            Tree[parent] += Tree[i];
    }
}

void TSizeIndex::Set(int i, int size)
{
    const int64_t delta = int64_t(size) - Sizes[size_t(i)];
    Sizes[size_t(i)] = size;
    for (size_t k = size_t(i) + 1; k < Tree.size(); k += k & (~k + 1))
        Tree[k] += delta;
}

int64_t TSizeIndex::Offset(int i) const
{
    int64_t sum = 0;
    for (size_t k = size_t(std::clamp(i, 0, Count())); k > 0; k -= k & (~k + 1))
        sum += Tree[k];
    return sum;
}

int TSizeIndex::Find(int64_t offset) const
{
    if (offset < 0)
        return -1;
    size_t pos = 0;
    size_t step = 1;
    while (step * 2 < Tree.size())
        step *= 2;
    for (; step > 0; step /= 2) {
        if (pos + step < Tree.size() && Tree[pos + step] <= offset) {
            pos += step;
            offset -= Tree[pos];
        }
    }
    return int(pos);  // sizes of 0 are skipped: the answer is the first index that reaches past
}

void TSizeIndex::Resize(int count, int size)
{
    Sizes.resize(size_t(std::max(count, 0)), size);
    Rebuild();
}

void TSizeIndex::Insert(int at, int count, int size)
{
    Sizes.insert(Sizes.begin() + at, size_t(count), size);
    Rebuild();
}

void TSizeIndex::Erase(int at, int count)
{
    Sizes.erase(Sizes.begin() + at, Sizes.begin() + at + count);
    Rebuild();
}

void TSizeIndex::Move(int from, int to)
{
    const int v = Sizes[size_t(from)];
    Sizes.erase(Sizes.begin() + from);
    Sizes.insert(Sizes.begin() + to, v);
    Rebuild();
}

void TSizeIndex::Fill(int size)
{
    std::fill(Sizes.begin(), Sizes.end(), size);
    Rebuild();
}

}  // namespace grid
