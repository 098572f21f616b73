#include <gtest/gtest.h>

#include "grid/core/ExtColumnGrid.h"

using namespace grid;

namespace {

class PopupGrid : public TExtColumnGrid {
public:
    void PopupColumnMenu(TObject* menu, TPoint at) override { Shown.push_back({menu, at}); }
    std::vector<std::pair<TObject*, TPoint>> Shown;
};

struct TPopupCase {
    TMouseButton Button;
    TColumnPopupType Type;
    bool FixedRow;
    bool Fires;
    bool Shows;
};

TEST(ColumnPopup, WhichClickShowsTheMenu)
{
    const TPopupCase cases[] = {
        {mbRight, cpFixedCellsRClick, true, true, true},
        {mbRight, cpFixedCellsRClick, false, true, false},
        {mbRight, cpNormalCellsRClick, false, true, true},
        {mbRight, cpNormalCellsRClick, true, true, false},
        {mbRight, cpAllCellsRClick, true, true, true},
        {mbRight, cpAllCellsRClick, false, true, true},
        {mbLeft, cpFixedCellsLClick, true, true, true},
        {mbLeft, cpNormalCellsLClick, false, true, true},
        {mbLeft, cpNormalCellsLClick, true, true, false},
        {mbLeft, cpAllCellsLClick, false, true, true},
        {mbLeft, cpFixedCellsRClick, true, false, false},  // a right-click menu ignores the left button
        {mbRight, cpAllCellsLClick, false, false, false},
        {mbMiddle, cpAllCellsRClick, false, false, false},
    };
    TObject menu;
    for (const auto& c : cases) {
        PopupGrid g;
        g.Columns()[2]->ColumnPopup = &menu;
        g.Columns()[2]->ColumnPopupType = c.Type;
        std::vector<std::tuple<int, int, TObject*>> events;
        g.OnColumnPopup = [&](TExtStringGrid*, int col, int row, TObject* m) { events.emplace_back(col, row, m); };
        const int row = c.FixedRow ? 0 : 2;
        const TRect cell = g.CellRect(2, row);
        g.MouseDown(c.Button, 0, cell.Left + 3, cell.Top + 3);
        ASSERT_EQ(events.size(), c.Fires ? 1u : 0u) << int(c.Button) << " " << int(c.Type) << " " << c.FixedRow;
        if (c.Fires)
            EXPECT_EQ(events[0], std::make_tuple(2, row, &menu));
        ASSERT_EQ(g.Shown.size(), c.Shows ? 1u : 0u) << int(c.Button) << " " << int(c.Type) << " " << c.FixedRow;
        if (c.Shows)
            EXPECT_EQ(g.Shown[0].second, (TPoint{cell.Left, cell.Bottom}));
    }
}

TEST(ColumnPopup, HiddenColumnsAndCellsWithoutAnItem)
{
    TObject menu2, menu4;
    PopupGrid g;
    g.Columns()[2]->ColumnPopup = &menu2;
    g.Columns()[4]->ColumnPopup = &menu4;
    g.HideColumn(3);  // display column 3 now shows real column 4
    const TRect cell = g.CellRect(3, 1);
    const TColumnPopupRequest req = g.ColumnPopupFor(mbRight, cell.Left + 1, cell.Top + 1);
    EXPECT_EQ(req.Menu, &menu4);
    EXPECT_FALSE(req.Show);  // a fixed-cell menu, pressed in a normal row
    EXPECT_TRUE(req.FireEvent);

    EXPECT_FALSE(g.ColumnPopupFor(mbRight, -5, 3).FireEvent);                         // outside every cell
    EXPECT_FALSE(g.ColumnPopupFor(mbRight, g.CellRect(1, 0).Left + 1, 3).FireEvent);  // no menu
}

}  // namespace
