#pragma once
#include <QStringList>
#include <vector>

#include "grid/core/ExtStringGrid.h"

namespace grid::dataops {

// A grid of exactly these rows and columns, the texts stored raw.
inline void FillRows(TExtStringGrid& g, const std::vector<QStringList>& rows)
{
    g.SetRowCount(int(rows.size()));
    g.SetColCount(int(rows.front().size()));
    for (int r = 0; r < int(rows.size()); ++r)
        for (int c = 0; c < rows[size_t(r)].size(); ++c)
            g.SetGridCell(c, r, rows[size_t(r)][c]);
}

// The size, the Delimiter and every stored text (hidden columns too): what a refused read keeps.
inline QString GridState(TExtStringGrid& g)
{
    QString s = QStringLiteral("%1x%2 [%3]").arg(g.ColCount()).arg(g.RowCount()).arg(g.Delimiter);
    for (int c = 0; c < g.ColCount(); ++c)
        s += QStringLiteral(" w%1").arg(g.ColWidths(c));
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount() + g.NumHiddenColumns(); ++c)
            s += QLatin1Char('|') + g.GetGridCell(c, r);
    return s;
}

}  // namespace grid::dataops
