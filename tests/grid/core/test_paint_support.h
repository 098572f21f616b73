#pragma once
#include <QImage>
#include <QTest>

#include "grid/core/ExtStringGrid.h"

namespace painttest {

// The grid as it paints, on magenta so that unpainted pixels show.
inline QImage Render(grid::TExtStringGrid& g)
{
    QImage image(g.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    g.render(&image);
    return image;
}

// A small grid without scroll bars.
inline void Layout(grid::TExtStringGrid& g, int cols, int rows, int width, int height)
{
    g.SetGridScrollBars(platform::ssNone);
    g.SetColCount(cols);
    g.SetRowCount(rows);
    g.SetBounds(0, 0, width, height);
}

// A grid of cols x rows shown at width x height; answers whether its window got exposed.
inline bool Shown(grid::TExtStringGrid& g, int cols, int rows, int width, int height)
{
    g.SetColCount(cols);
    g.SetRowCount(rows);
    g.resize(width, height);
    g.show();
    return QTest::qWaitForWindowExposed(&g);
}

}  // namespace painttest
