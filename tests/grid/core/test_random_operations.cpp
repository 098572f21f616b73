// Seeded sequences of row, column, hiding and node operations: the grid never loses or invents a
// row, its two row mappings stay inverse to each other, and nothing reads outside its store.
#include <gtest/gtest.h>

#include "grid/core/ExtColumnGrid.h"

using namespace grid;

namespace {

QStringList AllRows(TExtStringGrid& g)
{
    QStringList out;
    for (int real = 0; real < g.TotalRowCount(); ++real)
        out << g.GetCellsEx(1, real);
    return out;
}

TEST(RandomOperations, RowsAreNeitherLostNorInvented)
{
    for (uint32_t seed : {1u, 17u, 4242u, 99991u}) {
        TExtColumnGrid g;
        g.SetRowCount(40);
        g.SetColCount(6);
        for (int r = 0; r < 40; ++r)
            g.SetCells(1, r, QString::number(r));
        auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
        for (int step = 0; step < 300; ++step) {
            const int total = g.TotalRowCount();
            const int a = int(next() % uint32_t(total + 2)) - 1;
            const int b = a + int(next() % 5);
            QStringList before = AllRows(g);
            switch (next() % 9) {
            case 0:
                g.HideRows(a, b);
                break;
            case 1:
                g.UnHideRows(a, b);
                break;
            case 2:
                g.MoveRow(a, b);
                break;
            case 3:
                g.MoveRows(a, b, int(next() % 3));
                break;
            case 4:
                if (g.NumNodes() < 4 && a >= 1 && !g.IsHiddenRow(a))
                    g.AddNode(a, 1 + int(next() % 4));
                break;
            case 5:
                g.ContractNode(std::max(a, 0));
                break;
            case 6:
                g.ExpandNode(std::max(a, 0));
                break;
            case 7:
                g.HideColumn(int(next() % 6));
                break;
            default:
                g.UnHideColumnsAll();
                break;
            }
            QStringList after = AllRows(g);
            ASSERT_EQ(after.size(), before.size()) << "seed " << seed << " step " << step;
            before.sort();
            after.sort();
            ASSERT_EQ(after, before) << "seed " << seed << " step " << step;
            for (int d = 0; d < g.RowCount(); ++d)
                ASSERT_EQ(g.RealToDisplRow(g.DisplToRealRow(d)), d);
            ASSERT_EQ(g.Columns().Count(), g.TotalColCount());
        }
        g.ExpandAll();
        g.UnHideRowsAll();
        EXPECT_EQ(g.NumHiddenRows(), 0);
        EXPECT_EQ(g.RowCount(), 40);
    }
}

}  // namespace
