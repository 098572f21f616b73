#pragma once
#include <functional>

#include "grid/core/ExtStringGrid.h"

namespace grid::dataops {

// Grouping: the values of one column become node rows (group headers), each over the rows that
// hold its value, with optional summary rows and per-group calculations. Header and summary rows
// go in, and come out again, in one pass over the rows.
class TGridGrouping {
public:
    explicit TGridGrouping(TExtStringGrid& grid) : Grid(grid) {}
    TExtStringGrid& Grid;

    // ACol, FromRow, ToRow, var Res: the custom group calculation.
    std::function<void(TExtStringGrid*, int, int, int, double&)> OnGroupCalc;

    void Group(int colIndex);
    void UnGroup();
    // Groups again inside the existing groups by a column that stays in place: each run of equal
    // values gets a header row (value in the column to its right) whose node records the column;
    // the run's first value is emptied. SubUnGroup removes those headers and writes the values
    // back down the column. Rows go in, and come out, in one pass.
    void SubGroup(int colIndex);
    void SubUnGroup(int colIndex);
    // Calculations over the data rows of every expanded group, written to its header row, or its
    // summary row with Grouping.Summary. Methods: 1 sum, 2 average, 3 minimum, 4 maximum, 5 count,
    // 6 custom, 7 distinct, 8 standard deviation.
    void GroupCalc(int colIndex, int method);
    void GroupSum(int colIndex);
    void GroupAvg(int colIndex);
    void GroupMin(int colIndex);
    void GroupMax(int colIndex);
    void GroupCount(int colIndex);
    void GroupCustomCalc(int colIndex) { GroupCalc(colIndex, 6); }
    void GroupDistinct(int colIndex) { GroupCalc(colIndex, 7); }
    void GroupStdDev(int colIndex) { GroupCalc(colIndex, 8); }

private:
    void ColourRow(int r, TColor color, TColor colorTo, TColor text);
    void ColourCell(int r, TColor color, TColor colorTo, TColor text, int c = 1);
    void ResetRowColours(int r, TColor color, TColor colorTo);
    void FooterCalc(int colIndex, TColumnCalcType type);
};

}  // namespace grid::dataops
