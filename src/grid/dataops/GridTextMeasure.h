#pragma once
#include "grid/core/ExtStringGrid.h"

namespace grid::dataops {

// The longest line, in characters, of a real column's save texts over all rows; only first
// lines count without Multilinecells.
int MaxColumnChars(TExtStringGrid& g, int col);
// The printed height (negative, 0.1 mm) of a point size under the grid's Fontscalefactor, and the
// point size of a printed height.
int MapFontHeight(const TExtStringGrid& g, int pointSize);
int MapFontSize(int height);

}  // namespace grid::dataops
