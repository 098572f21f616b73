#include <QLocale>
#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"

using namespace grid;

namespace {

TEST(StringGrid, NewGridDefaults)
{
    TExtStringGrid g;
    EXPECT_EQ(g.RowCount(), 10);
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(g.FixedCols(), 1);
    EXPECT_EQ(g.RowHeights(3), 22);
    EXPECT_EQ(g.CheckTrue, QStringLiteral("Y"));
    EXPECT_EQ(g.CheckFalse, QStringLiteral("N"));
    EXPECT_EQ(g.FloatFormat, QStringLiteral("%.2f"));
    EXPECT_EQ(g.Version(), QStringLiteral("6.2.1.3"));
    EXPECT_EQ(g.GetVersionString(), QStringLiteral("6.2.1.3 Sep, 2012"));
}

struct TIntCase {
    const char* Text;
    bool Valid;
    int Value;
};

TEST(TypedAccess, IntegersAndTheirError)
{
    TExtStringGrid g;
    const TIntCase cases[] = {{" 42 ", true, 42}, {"", true, 0}, {"-", true, 0}, {"$ff", true, 255},
                              {"<b>7</b>", true, 7}, {"4x", false, 0}, {"1.5", false, 0}};
    for (const TIntCase& c : cases) {
        g.SetCells(1, 1, QString::fromLatin1(c.Text));
        if (c.Valid) {
            EXPECT_EQ(g.GetInts(1, 1), c.Value) << c.Text;
        } else {
            try {
                g.GetInts(1, 1);
                ADD_FAILURE() << c.Text;
            } catch (const EExtGridError& e) {
                EXPECT_EQ(e.message(), QStringLiteral("Cell does not contain integer value"));
            }
        }
    }
    g.SetInts(2, 2, -17);
    EXPECT_EQ(g.Cells(2, 2), QStringLiteral("-17"));
}

TEST(TypedAccess, FloatsWithLocaleSeparatorsAndTheirError)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TExtStringGrid g;
    g.SetCells(1, 1, QStringLiteral("1.234,50"));
    EXPECT_DOUBLE_EQ(g.GetFloats(1, 1), 1234.5);
    g.SetCells(1, 1, QStringLiteral("1,2,3"));
    EXPECT_THROW(g.GetFloats(1, 1), EExtGridError);
    QLocale::setDefault(QLocale::c());
    g.SetFloats(1, 2, 3.14159);
    EXPECT_EQ(g.Cells(1, 2), QStringLiteral("3.14"));
}

TEST(TypedAccess, HostileFloatFormatIsNotHandedToPrintf)
{
    TExtStringGrid g;
    for (const char* format : {"%s", "%n%f", "%f %f", "%d", "abc"}) {
        g.FloatFormat = QString::fromLatin1(format);
        g.SetFloats(1, 1, 2.5);
        EXPECT_EQ(g.Cells(1, 1), QStringLiteral("2.5")) << format;
    }
    g.FloatFormat = QStringLiteral("%8.3f V");
    g.SetFloats(1, 1, 2.5);
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("   2.500 V"));
}

TEST(RowColour, NoneResetsOnlyTheColour)
{
    TExtStringGrid g;
    TObject user;
    g.SetReadOnly(2, 3, true);
    g.SetColors(2, 3, 0x0000FF);
    g.SetObjectEx(2, 3, &user);
    g.AddCheckBox(3, 3, true, false);
    g.SetColors(3, 3, 0x00FF00);
    ASSERT_TRUE(g.MergeCells(1, 3, 1, 1) || true);

    g.SetRowColor(3, clNone);
    EXPECT_EQ(g.GetColors(2, 3), clNone);
    EXPECT_TRUE(g.GetReadOnly(2, 3));
    EXPECT_EQ(g.GetObjectEx(2, 3), &user);
    EXPECT_EQ(g.GetColors(3, 3), clNone);
    EXPECT_TRUE(g.HasCheckBox(3, 3));
    EXPECT_FALSE(g.HasCellProperties(4, 3));  // a cell without a record gets none

    g.SetRowColor(3, 0x123456);
    EXPECT_EQ(g.GetColors(4, 3), 0x123456u);
    g.SetRowColorTo(3, clNone);
    EXPECT_TRUE(g.GetReadOnly(2, 3));
    g.SetRowFontColor(3, clNone);
    EXPECT_EQ(g.GetColors(4, 3), 0x123456u);
}

TEST(Selection, RowAndColumnFlagErrors)
{
    TExtStringGrid g;
    try {
        g.GetRowSelect(-1);
        ADD_FAILURE();
    } catch (const EExtGridError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Invalid row -1 accessed"));
    }
    try {
        g.SetRowSelect(10, true);
        ADD_FAILURE();
    } catch (const EExtGridError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Invalid row accessed"));
    }
    for (int c : {-1, 5}) {
        try {
            g.GetColSelect(c);
            ADD_FAILURE();
        } catch (const EExtGridError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Invalid column accessed"));
        }
    }
    g.MouseActions.RowSelectPersistent = true;
    g.MouseActions.SetDisjunctRowSelect(true);
    EXPECT_FALSE(g.GetRowSelect(50));
}

TEST(Selection, SelectRowsCutsTheCountAndDisjunctFlagsTrackSelectedRows)
{
    TExtStringGrid g;
    g.SetRowCount(6);
    g.SelectRows(5, 3);
    EXPECT_EQ(g.Selection(), (TGridRect{1, 5, 4, 5}));
    EXPECT_EQ(g.RowSelectCount(), 1);

    g.MouseActions.SetDisjunctRowSelect(true);
    std::vector<int> selected;
    g.OnRowDisjunctSelected = [&](TExtStringGrid*, int r) { selected.push_back(r); };
    g.SelectRows(2, 2);
    EXPECT_EQ(g.RowSelectCount(), 2);
    EXPECT_EQ(g.SelectedRows(), (std::vector<int>{2, 3}));
    g.OnRowDisjunctSelect = [](TExtStringGrid*, int r, bool, bool& allow) { allow = r != 5; };
    g.SetRowSelect(5, true);
    EXPECT_FALSE(g.GetRowSelect(5));
    EXPECT_EQ(selected, (std::vector<int>{2, 3}));
    g.ClearRowSelect();
    EXPECT_EQ(g.RowSelectCount(), 0);
    EXPECT_TRUE(g.SelectedRows().empty());
}

TEST(RowState, EnablingModifiedFlagsAndPrintColumns)
{
    TExtStringGrid g;
    g.SetRow(3);
    g.SetRowEnabled(3, false);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_FALSE(g.GetRowEnabled(3));
    for (int r = 1; r < g.RowCount(); ++r)
        g.SetRowEnabled(r, false);
    EXPECT_EQ(g.Row(), g.RowCount() - 1);  // the last one left: with none enabled it stays
    g.SetRowModified(2, true);
    g.SetRowModified(5, true);
    EXPECT_EQ(g.ModifiedRowCount(), 2);
    EXPECT_FALSE(g.GetRowModified(40));
    for (int c : {-1, 512}) {
        try {
            g.GetPrintColWidth(c);
            ADD_FAILURE() << c;
        } catch (const EExtGridError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Columns is not in valid range"));
        }
    }
    EXPECT_EQ(g.GetPrintColOffset(511), 0);
}

TEST(Dimensions, FixedRowAlwaysKeepsTheHeader)
{
    TExtStringGrid g;
    g.FixedRowAlways = true;
    g.SetRowCount(1);
    EXPECT_EQ(g.RowCount(), 1);
    EXPECT_EQ(g.GetFixedRows(), 1);
    g.SetRowCount(6);
    EXPECT_EQ(g.FixedRows(), 1);
}

TEST(Editability, PlainGridFollowsStartValueAndCellRecord)
{
    TExtStringGrid g;
    g.Options &= ~goEditing;
    bool can = true;
    g.IsCellEditable(2, 2, can);
    EXPECT_TRUE(can);
    g.SetColors(2, 2, 0xFF);
    can = true;
    g.IsCellEditable(2, 2, can);
    EXPECT_FALSE(can);
    can = false;
    g.OnCanEditCell = [](TExtStringGrid*, int, int, bool& e) { e = true; };
    g.IsCellEditable(2, 2, can);
    EXPECT_TRUE(can);
}

TEST(ColumnFilter, DistinctSortedValuesWithTheClearEntry)
{
    TExtStringGrid g;
    g.SetRowCount(4);
    g.FilterDropDownAuto = true;
    g.SetCells(2, 1, QStringLiteral("Rome"));
    g.SetCells(2, 2, QStringLiteral(" New York "));
    g.SetCells(2, 3, QStringLiteral("rome"));
    EXPECT_TRUE(g.GetColumnFilter(2));
    EXPECT_EQ(g.FilterList, (QStringList{"(All)", "New York=\"New York\"", "Rome"}));
    EXPECT_FALSE(g.GetColumnFilter(0));
    g.FilterDropDownAuto = false;
    EXPECT_FALSE(g.GetColumnFilter(2));
}

TEST(Headers, ColumnHeadersFillRowZero)
{
    TExtStringGrid g;
    g.SetCells(4, 0, QStringLiteral("old"));
    g.SetColumnHeaders({QStringLiteral("#"), QStringLiteral("Two\\nLines")});
    EXPECT_EQ(g.Cells(1, 0), QStringLiteral("Two\rLines"));
    EXPECT_TRUE(g.Cells(4, 0).isEmpty());
}

TEST(Rows, MovingARowMovesTheWholeRow)
{
    TExtStringGrid g;
    g.SetCells(1, 2, QStringLiteral("two"));
    g.SetReadOnly(1, 2, true);
    g.AddCheckBox(2, 2, true, false);
    g.SetRowHeights(2, 40);
    g.MoveRow(2, 5);
    EXPECT_EQ(g.Cells(1, 5), QStringLiteral("two"));
    EXPECT_TRUE(g.GetReadOnly(1, 5));
    EXPECT_TRUE(g.IsChecked(2, 5));
    EXPECT_EQ(g.RowHeights(5), 40);
    EXPECT_FALSE(g.HasCheckBox(2, 2));
    EXPECT_EQ(g.RowHeights(2), 22);

    g.MoveRows(5, 1, 1);
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("two"));
    EXPECT_TRUE(g.IsChecked(2, 1));
    EXPECT_EQ(g.RowHeights(1), 40);
}

TEST(Rows, InsertAndRemoveKeepRecordsWithTheirRows)
{
    TExtStringGrid g;
    g.SetCells(1, 3, QStringLiteral("three"));
    g.SetColors(1, 3, 0xFF);
    g.InsertRows(2, 2);
    EXPECT_EQ(g.RowCount(), 12);
    EXPECT_EQ(g.Cells(1, 5), QStringLiteral("three"));
    EXPECT_EQ(g.GetColors(1, 5), 0xFFu);
    EXPECT_EQ(g.GetCellProperties(1, 5)->OwnerRow, 5);
    g.RemoveRows(2, 3);
    EXPECT_EQ(g.RowCount(), 9);
    EXPECT_EQ(g.Cells(1, 2), QStringLiteral("three"));
    EXPECT_EQ(g.GetCellProperties(1, 2)->OwnerRow, 2);
    EXPECT_FALSE(g.HasCellProperties(1, 3));
    g.RemoveRows(1, 100);
    EXPECT_GE(g.RowCount(), 1);
}

TEST(Columns, InsertAndRemoveShiftCellsAcrossHiddenColumns)
{
    TExtStringGrid g;
    for (int c = 0; c < 5; ++c)
        g.SetCells(c, 1, QString::number(c));
    g.HideColumn(3);
    g.InsertCols(1, 1);
    EXPECT_EQ(g.TotalColCount(), 6);
    EXPECT_TRUE(g.IsHiddenColumn(4));
    EXPECT_EQ(g.Cells(4, 1), QStringLiteral("3"));
    EXPECT_TRUE(g.Cells(1, 1).isEmpty());
    g.RemoveCols(3, 2);  // a shown and the hidden column
    EXPECT_EQ(g.NumHiddenColumns(), 0);
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.Cells(3, 1), QStringLiteral("4"));
}

}  // namespace
