// The grid's data-operation settings: the sort state's text form, the guarded setters, the filter
// condition collection and what a grid's Assign copies of them.
#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"
#include "grid/dataops/GridDataOperations.h"

#include "DataOpsSuite.h"

using namespace grid;

namespace {

struct DataSettings : ::testing::Test {
    TExtStringGrid g;
    void SetUp() override
    {
        g.SetLayers(dataops::DataOpsLayers());
        g.SetColCount(7);
        g.SetRowCount(4);
    }
};

TEST_F(DataSettings, SortStateTextRoundTrip)
{
    const struct {
        const char* Text;
        bool IndexShow;
        TSortDirection Direction;
        int Column;
        const char* Saved;  // SaveToString after loading
    } cases[] = {
        {"u3", false, sdAscending, 3, "u3"},
        {"d0", false, sdDescending, 0, "d0"},
        {"x5", false, sdDescending, 5, "d5"},
        {"uA", false, sdAscending, -1, "u-1"},  // an invalid number leaves the column
        {"i;u1;d2", true, sdAscending, -1, "i;u1;d2"},
    };
    for (const auto& k : cases) {
        TExtStringGrid grid;
        grid.SetColCount(7);
        grid.SortSettings.LoadFromString(QString::fromLatin1(k.Text));
        EXPECT_TRUE(grid.SortSettings.Show) << k.Text;
        EXPECT_EQ(grid.SortSettings.IndexShow, k.IndexShow) << k.Text;
        EXPECT_EQ(grid.SortSettings.Direction, k.Direction) << k.Text;
        EXPECT_EQ(grid.SortSettings.Column, k.Column) << k.Text;
        EXPECT_EQ(grid.SortSettings.SaveToString(), QString::fromLatin1(k.Saved)) << k.Text;
    }
}

TEST_F(DataSettings, SortStateTextErrors)
{
    g.SortSettings.LoadFromString(QString());
    EXPECT_FALSE(g.SortSettings.Show);  // an empty text does nothing
    try {
        g.SortSettings.LoadFromString(QStringLiteral("u"));
        FAIL() << "a single letter was taken";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Invalid sort settings specifier"));
    }
    EXPECT_TRUE(g.SortSettings.Show);  // set before the check
}

TEST_F(DataSettings, LoadingSortStateSorts)
{
    for (int r = 1; r < 4; ++r)
        g.SetCells(1, r, QString::number(4 - r));
    g.SortSettings.LoadFromString(QStringLiteral("u1"));
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("1"));
    g.SortSettings.LoadFromString(QStringLiteral("i;d1"));
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("3"));
}

TEST_F(DataSettings, SortRowMustBeAFixedRow)
{
    g.SetFixedRows(2);
    g.SortSettings.SetRow(1);
    g.SortSettings.SetRow(-1);  // accepted
    EXPECT_EQ(g.SortSettings.Row, -1);
    try {
        g.SortSettings.SetRow(2);
        FAIL() << "a data row was taken";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Sort row should be smaller than number of fixed rows"));
    }
    EXPECT_EQ(g.SortSettings.Row, -1);

    g.SetFilterDropDownRow(1);
    g.SetFilterDropDownRow(2);
    EXPECT_EQ(g.FilterDropDownRow, 1);
}

TEST_F(DataSettings, FilterCollection)
{
    TFilterData* first = g.Filter.Add();
    EXPECT_EQ(first->Operation, foNONE);
    EXPECT_EQ(g.Filter.Add()->Operation, foAND);
    EXPECT_EQ(g.Filter.Insert(0)->Operation, foSHORT);
    EXPECT_EQ(g.Filter.Items(2)->Operation, foSHORT);  // appended, not inserted

    g.Filter.Clear();
    TFilterData* two = g.Filter.GetColFilter(2);
    EXPECT_EQ(two->Column, 2);
    EXPECT_EQ(g.Filter.GetColFilter(2), two);
    g.Filter.Add()->Column = 3;
    g.Filter.Add()->Column = 2;
    EXPECT_TRUE(g.Filter.HasFilter(2));
    g.Filter.RemoveColumnFilter(2);
    EXPECT_FALSE(g.Filter.HasFilter(2));
    ASSERT_EQ(g.Filter.Count(), 1);
    EXPECT_EQ(g.Filter[0]->Column, 3);
    EXPECT_THROW(g.Filter.Items(1), platform::Exception);
}

TEST_F(DataSettings, AssignCopiesWhatItShould)
{
    TExtStringGrid source;
    source.SortSettings.Column = 4;
    source.SortSettings.IgnoreCase = true;
    source.SortSettings.SortOnVirtualCells = false;
    TFilterData* f = source.Filter.Add();
    f->Column = 2;
    f->Condition = QStringLiteral(">5");
    f->Method = fmLiteral;
    source.HTMLSettings.Width = 50;
    source.HTMLSettings.ExportImages = false;
    source.PrintSettings.TitleText = QStringLiteral("T");
    source.PrintSettings.FixedCellsAlways = true;
    source.Grouping.MergeHeader = true;
    source.Grouping.Summary = true;
    source.FilterDropDown.Height = 80;
    source.FilterDropDown.AutoSize = true;
    source.AutoFilterUpdate = false;

    g.Assign(source);
    EXPECT_EQ(g.SortSettings.Column, 4);
    EXPECT_FALSE(g.SortSettings.IgnoreCase);
    EXPECT_TRUE(g.SortSettings.SortOnVirtualCells);
    ASSERT_EQ(g.Filter.Count(), 1);
    EXPECT_EQ(g.Filter[0]->Condition, QStringLiteral(">5"));
    EXPECT_EQ(g.Filter[0]->Method, fmExpression);
    EXPECT_EQ(g.HTMLSettings.Width, 50);
    EXPECT_TRUE(g.HTMLSettings.ExportImages);
    EXPECT_EQ(g.PrintSettings.TitleText, QStringLiteral("T"));
    EXPECT_FALSE(g.PrintSettings.FixedCellsAlways);
    EXPECT_EQ(g.PrintSettings.Grid(), &g);
    EXPECT_TRUE(g.Grouping.MergeHeader);
    EXPECT_FALSE(g.Grouping.Summary);
    EXPECT_EQ(g.FilterDropDown.Height, 80);
    EXPECT_FALSE(g.FilterDropDown.AutoSize);
    EXPECT_FALSE(g.AutoFilterUpdate);
}

}  // namespace
