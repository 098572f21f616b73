#include "grid/dataops/GridTextMeasure.h"

#include <algorithm>
#include <cmath>

namespace grid::dataops {

int MaxColumnChars(TExtStringGrid& g, int col)
{
    int longest = 0;
    for (int r = 0; r < g.RowCount(); ++r) {
        QString text;
        g.SaveCell(col, r, text);
        qsizetype start = 0;
        for (;;) {
            qsizetype end = text.indexOf(QChar(13), start);
            const qsizetype stop = end < 0 ? text.size() : end;
            longest = std::max(longest, int(stop - start));
            if (end < 0 || !g.Multilinecells)
                break;
            start = end + 1;
            if (start < text.size() && text.at(start) == QChar(10))
                ++start;
        }
    }
    return longest;
}

int MapFontHeight(const TExtStringGrid& g, int pointSize)
{
    return -int(std::trunc(pointSize * 254.0 / 72.0 * g.Fontscalefactor));
}

int MapFontSize(int height) { return int(std::trunc(height * 72.0 / 254.0)); }

}  // namespace grid::dataops
