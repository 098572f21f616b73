// Sorting of a grid's rows: the comparison of every cell style, blank placement, ties broken by the
// next columns or the index list, stability, what travels with the rows (hidden columns, heights)
// and what stays (hidden rows, node headers, column 0), the return to the unsorted order and the
// header click that starts it all.
#include <QLocale>
#include <QTest>
#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"
#include "grid/dataops/GridDataOperations.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridInput.h"

#include "DataOpsSuite.h"

using namespace grid;
using namespace grid::dataops;

namespace {

QStringList Split(const char* texts) { return QString::fromUtf8(texts).split('|'); }

// One fixed row; column 0 holds the original row number, so every row can be followed.
struct Sorting : ::testing::Test {
    TExtStringGrid g;
    TGridSorting* sorting = nullptr;

    void SetUp() override
    {
        g.SetLayers(DataOpsLayers());
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        g.SetColCount(5);
        ASSERT_NE(DataOps(g), nullptr);
        sorting = &DataOps(g)->Sorting;
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    // Data rows from the columns' texts; column 0 numbers them 1, 2, ...
    void Fill(std::initializer_list<std::pair<int, const char*>> columns)
    {
        int rows = 0;
        for (const auto& [c, texts] : columns)
            rows = std::max(rows, int(Split(texts).size()));
        g.SetRowCount(rows + 1);
        for (int r = 1; r <= rows; ++r)
            g.SetCells(0, r, QString::number(r));
        for (const auto& [c, texts] : columns) {
            const QStringList list = Split(texts);
            for (int r = 1; r <= int(list.size()); ++r)
                g.SetCells(c, r, list[r - 1]);
        }
    }
    QString Column(int c)
    {
        QStringList out;
        for (int r = g.FixedRows(); r < g.RowCount(); ++r)
            out << g.Cells(c, r);
        return out.join('|');
    }
};

TEST_F(Sorting, EveryStyleComparesAsItShould)
{
    const struct {
        const char* Name;
        const char* Values;
        TSortStyle Style;  // given by OnGetFormat unless ssAutomatic
        bool AutoFormat, IgnoreCase;
        const char* Suffix;
        const char* Expected;
    } cases[] = {
        {"numbers detected", "10|9|100", ssAutomatic, true, false, "", "9|10|100"},
        {"numbers as text", "10|9|100", ssAutomatic, false, false, "", "10|100|9"},
        {"code-unit order", "b|a|A", ssAutomatic, true, false, "", "A|a|b"},
        {"ignoring case, stable", "b|a|A", ssAutomatic, true, true, "", "a|A|b"},
        {"dates detected", "02/01/2021|15/06/2020|01/12/2020", ssAutomatic, true, false, "",
         "15/06/2020|01/12/2020|02/01/2021"},
        {"date and time detected", "02/01/2021 10:00|02/01/2021 09:00|01/01/2021 23:00", ssAutomatic, true, false, "",
         "01/01/2021 23:00|02/01/2021 09:00|02/01/2021 10:00"},
        {"times detected", "9:30|10:15|8:05", ssAutomatic, true, false, "", "8:05|9:30|10:15"},
        {"a date needs the separator in the other cell too", "1/2|1x|0z", ssAutomatic, true, false, "", "0z|1/2|1x"},
        {"number with a unit", "10 kg|9 kg|100 kg", ssNumeric, true, false, " kg", "9 kg|10 kg|100 kg"},
        {"letters in a numeric column tie", "b|3|a", ssNumeric, true, false, "", "b|a|3"},
        {"an empty cell counts as 0", "5||-3", ssNumeric, true, false, "", "-3||5"},
        {"financial drops thousands", "1,000|200|30", ssFinancial, true, false, "", "30|200|1,000"},
        {"short date US", "12/01/2020|01/12/2020|06/06/2019", ssShortDateUS, true, false, "",
         "06/06/2019|01/12/2020|12/01/2020"},
        {"short date EU", "12/01/2020|01/12/2020|06/06/2019", ssShortDateEU, true, false, "",
         "06/06/2019|12/01/2020|01/12/2020"},
        {"alphanumeric", "10|9|x", ssAlphaNumeric, true, false, "", "9|10|x"},
        {"HTML without tags", "<b>b</b>|a|<i>c</i>", ssHTML, true, false, "", "a|<b>b</b>|<i>c</i>"},
        {"locale order ignoring case", "b|B|a", ssAnsiAlphaNoCase, true, false, "", "a|b|B"},
    };
    for (const auto& k : cases) {
        Fill({{1, k.Values}});
        g.SortSettings.AutoFormat = k.AutoFormat;
        g.SortSettings.IgnoreCase = k.IgnoreCase;
        g.OnGetFormat = nullptr;
        if (k.Style != ssAutomatic)
            g.OnGetFormat = [&](TExtStringGrid*, int, TSortStyle& style, QString&, QString& suffix) {
                style = k.Style;
                suffix = QString::fromUtf8(k.Suffix);
            };
        sorting->Sort(1, sdAscending);
        EXPECT_EQ(Column(1), QString::fromUtf8(k.Expected)) << k.Name;
    }
}

TEST_F(Sorting, CustomRawCheckBoxAndImageStyles)
{
    Fill({{1, "ccc|a|bb"}});
    g.OnGetFormat = [](TExtStringGrid*, int, TSortStyle& style, QString&, QString&) { style = ssCustom; };
    sorting->OnCustomCompare = [](TExtStringGrid*, const QString& a, const QString& b, int& res) {
        res = int(a.size()) - int(b.size());
    };
    sorting->Sort(1, sdAscending);
    EXPECT_EQ(Column(1), QStringLiteral("a|bb|ccc"));

    g.OnGetFormat = [](TExtStringGrid*, int, TSortStyle& style, QString&, QString&) { style = ssRaw; };
    sorting->OnRawCompare = [&](TExtStringGrid* grid, int col, int r1, int r2, int& res) {
        res = grid->Cells(col, r2).compare(grid->Cells(col, r1));  // reversed text order
    };
    sorting->Sort(1, sdAscending);
    EXPECT_EQ(Column(1), QStringLiteral("ccc|bb|a"));

    // Check boxes are detected by the cell type: checked after unchecked.
    g.OnGetFormat = nullptr;
    Fill({{2, "x|y|z"}});
    for (int r = 1; r <= 3; ++r)
        g.AddCheckBox(2, r, r != 2, false);
    sorting->Sort(2, sdAscending);
    EXPECT_EQ(Column(0), QStringLiteral("2|1|3"));
}

TEST_F(Sorting, BlanksGoWhereBlankPosSaysInEitherDirection)
{
    const struct {
        TSortBlankPosition Pos;
        TSortDirection Direction;
        const char* Expected;
    } cases[] = {
        {blFirst, sdAscending, "|1|2"},
        {blFirst, sdDescending, "|2|1"},
        {blLast, sdAscending, "1|2|"},
        {blLast, sdDescending, "2|1|"},
    };
    for (const auto& k : cases) {
        Fill({{1, "2||1"}});
        g.SortSettings.IgnoreBlanks = true;
        g.SortSettings.BlankPos = k.Pos;
        sorting->Sort(1, k.Direction);
        EXPECT_EQ(Column(1), QString::fromLatin1(k.Expected)) << int(k.Pos) << int(k.Direction);
    }
}

TEST_F(Sorting, TiesAreBrokenByTheColumnsToTheRightOnly)
{
    // Column 1 decides first; column 2 breaks its ties with Full; column 0 (left) never does.
    Fill({{1, "a|b|a|a"}, {2, "2|1|1|3"}});
    sorting->Sort(1, sdAscending);
    EXPECT_EQ(Column(0), QStringLiteral("3|1|4|2"));

    Fill({{1, "a|b|a|a"}, {2, "2|1|1|3"}});
    g.SortSettings.Full = false;  // stable: equal keys keep their order
    sorting->Sort(1, sdDescending);
    EXPECT_EQ(Column(0), QStringLiteral("2|1|3|4"));

    // An ignored column does not break ties either.
    Fill({{1, "a|a"}, {2, "2|1"}, {3, "1|2"}});
    g.SortSettings.Full = true;
    g.IgnoreColumns = {2};
    sorting->Sort(1, sdAscending);
    EXPECT_EQ(Column(0), QStringLiteral("1|2"));
}

TEST_F(Sorting, IndexedSortByColumnsAndDirections)
{
    Fill({{1, "b|a|b|a"}, {2, "1|1|2|2"}});
    g.SortIndexes.AddIndex(1, true);
    g.SortIndexes.AddIndex(2, false);
    g.QSortIndexed();
    EXPECT_EQ(Column(0), QStringLiteral("4|2|3|1"));

    g.SortIndexes.Clear();
    Fill({{1, "b|a"}});
    try {
        g.QSortIndexed();
        FAIL() << "sorted without indexes";
    } catch (const EExtGridError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("No indexes specified for indexed sort"));
    }
    EXPECT_EQ(Column(1), QStringLiteral("b|a"));
}

TEST_F(Sorting, EqualKeysKeepTheirOrderOverManyRows)
{
    const int n = 500;
    g.SetRowCount(n + 1);
    for (int r = 1; r <= n; ++r) {
        g.SetCells(0, r, QString::number(r));
        g.SetCells(1, r, QString::number(r % 7));
    }
    g.SortSettings.Full = false;
    sorting->Sort(1, sdAscending);
    for (int r = 2; r <= n; ++r) {
        const int a = g.Cells(1, r - 1).toInt(), b = g.Cells(1, r).toInt();
        ASSERT_LE(a, b) << r;
        if (a == b)
            ASSERT_LT(g.Cells(0, r - 1).toInt(), g.Cells(0, r).toInt()) << r;
    }
}

// Each cell is read once per sort, not once per comparison.
TEST_F(Sorting, EachCellIsReadOncePerSort)
{
    const int n = 200;
    g.SetRowCount(n + 1);
    for (int r = 1; r <= n; ++r)
        g.SetCells(1, r, QString::number((r * 37) % n));
    int reads = 0;
    g.OnGetDisplText = [&](TBaseGrid*, int c, int, QString&) { reads += c == 1; };
    g.SortSettings.Full = false;
    sorting->Sort(1, sdAscending);
    g.OnGetDisplText = nullptr;
    EXPECT_EQ(reads, n);
    EXPECT_GT(sorting->Compares, n);
}

TEST_F(Sorting, WhatTravelsWithTheRowsAndWhatStays)
{
    Fill({{1, "c|a|b"}, {3, "C|A|B"}});
    g.SetRowHeights(1, 40);
    g.HideColumn(3);
    sorting->Sort(1, sdAscending);
    g.UnHideColumn(3);
    EXPECT_EQ(Column(3), QStringLiteral("A|B|C"));  // hidden column moved along
    EXPECT_EQ(g.RowHeights(3), 40);                 // and the row's height

    // Column 0 stays with NormalCellsOnly.
    Fill({{1, "c|a|b"}});
    g.SortSettings.NormalCellsOnly = true;
    sorting->Sort(1, sdAscending);
    EXPECT_EQ(Column(0), QStringLiteral("1|2|3"));
    EXPECT_EQ(Column(1), QStringLiteral("a|b|c"));
    g.SortSettings.NormalCellsOnly = false;

    // Only the sort column with SingleColumn.
    Fill({{1, "c|a|b"}, {2, "x|y|z"}});
    g.SortSettings.SingleColumn = true;
    sorting->Sort(1, sdAscending);
    EXPECT_EQ(Column(1), QStringLiteral("a|b|c"));
    EXPECT_EQ(Column(2), QStringLiteral("x|y|z"));
}

TEST_F(Sorting, HiddenRowsStayOutOfTheSort)
{
    Fill({{1, "d|c|b|a"}});
    g.HideRow(2);  // "c"
    sorting->Sort(1, sdAscending);
    EXPECT_EQ(Column(1), QStringLiteral("a|b|d"));
    EXPECT_EQ(g.NumHiddenRows(), 1);
    EXPECT_EQ(g.GetCellsEx(1, 2), QStringLiteral("c"));
}

TEST_F(Sorting, GroupSortKeepsHeadersAndSortsEachExpandedGroup)
{
    // Rows 1 and 5 are headers of two groups of three data rows; the second is contracted.
    Fill({{1, "H1|c|a|b|H2|z|x|y"}});
    g.AddNode(1, 4);
    g.AddNode(5, 4);
    g.SortSettings.Column = 1;
    g.QSortGroup();
    EXPECT_EQ(Column(1), QStringLiteral("H1|a|b|c|H2|x|y|z"));

    g.ContractNode(5);
    g.SortSettings.Direction = sdDescending;
    g.QSortGroup();
    EXPECT_EQ(Column(1).left(8), QStringLiteral("H1|c|b|a"));
    EXPECT_TRUE(g.IsNode(1));
}

TEST_F(Sorting, UnSortReturnsToTheOrderOfTheLastReset)
{
    Fill({{1, "b|c|a"}, {2, "2|1|3"}});
    sorting->InitSortXRef();
    sorting->Sort(1, sdAscending);
    sorting->Sort(2, sdDescending);
    g.QUnSort();
    EXPECT_EQ(Column(0), QStringLiteral("1|2|3"));
    const std::vector<int> identity{0, 1, 2, 3};
    EXPECT_EQ(sorting->SortRowXRef(), identity);
}

TEST_F(Sorting, TooFewRowsOrNoColumnChangeNothing)
{
    Fill({{2, "b"}});
    sorting->Sort(2, sdDescending);
    EXPECT_EQ(Column(2), QStringLiteral("b"));
    g.SetRowCount(1);
    g.SortSettings.Column = -1;
    sorting->SortByColumn(2);
    EXPECT_EQ(g.SortSettings.Column, -1);
    g.QSort();  // no sort column: nothing
}

TEST_F(Sorting, CurrentRowFollowsItsRowWithMoveRowOnSort)
{
    Fill({{1, "c|a|b"}});
    g.MoveColRow(1, 1);  // "c"
    g.Navigation.MoveRowOnSort = true;
    sorting->Sort(1, sdAscending);
    EXPECT_EQ(g.Row(), 3);

    g.Navigation.MoveRowOnSort = false;
    std::vector<std::pair<int, int>> changes;
    sorting->OnRowChanged = [&](TExtStringGrid*, int o, int n) { changes.emplace_back(o, n); };
    sorting->Sort(1, sdDescending);
    EXPECT_EQ(g.Row(), 3);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], std::make_pair(3, 3));
}

// The header click: a new column sorts in InitSortDirection, the same column flips, UndoSort
// returns to the unsorted order, and with IndexShow the click edits the index list.
TEST_F(Sorting, HeaderClicks)
{
    Fill({{1, "b|c|a"}, {2, "1|1|2"}});
    TGridDataOperations& ops = *DataOps(g);
    const struct {
        int Col;
        platform::TShiftState Shift;
        const char* Order;  // column 0 after the click
        int SortColumn;
    } plain[] = {
        {1, 0, "3|1|2", 1},
        {1, 0, "2|1|3", 1},
        {2, 0, "2|1|3", 2},  // stable ties
    };
    for (const auto& k : plain) {
        ops.ClickSort(k.Col, k.Shift);
        EXPECT_EQ(Column(0), QString::fromLatin1(k.Order)) << k.Col;
        EXPECT_EQ(g.SortSettings.Column, k.SortColumn);
    }

    Fill({{1, "b|c|a"}});
    sorting->InitSortXRef();  // the row count did not change: the order to return to is set here
    g.SortSettings.Column = -1;
    g.SortSettings.UndoSort = true;
    ops.ClickSort(1, 0);
    ops.ClickSort(1, 0);  // descending
    EXPECT_EQ(Column(1), QStringLiteral("c|b|a"));
    ops.ClickSort(1, 0);  // back to the unsorted order
    EXPECT_EQ(Column(1), QStringLiteral("b|c|a"));
    EXPECT_EQ(g.SortSettings.Column, -1);

    Fill({{1, "b|a|b|a"}, {2, "1|1|2|2"}});
    g.SortSettings.IndexShow = true;
    ops.ClickSort(1, 0);
    ops.ClickSort(2, platform::ssShift);  // adds column 2
    ops.ClickSort(2, platform::ssShift);  // toggles it to descending
    EXPECT_EQ(g.SortIndexes.SaveToString(), QStringLiteral("u1;d2"));
    EXPECT_EQ(Column(0), QStringLiteral("4|2|3|1"));
    ops.ClickSort(2, 0);  // a plain click starts a new list
    EXPECT_EQ(g.SortIndexes.SaveToString(), QStringLiteral("u2"));
    EXPECT_EQ(g.SortSettings.Column, 2);
}

// With AutoColumnMerge a header click sorts the rows free of merged areas and merges the grid's
// merged columns again over the new order.
TEST_F(Sorting, HeaderClickSplitsAndRemergesMergedColumns)
{
    Fill({{1, "b|a|a|b"}, {2, "1|1|2|2"}});
    g.MergedColumns.Add(2);
    auto spans = [&] {
        QStringList out;
        for (int r = 1; r < g.RowCount(); ++r)
            out << QString::number(g.IsBaseCell(2, r) ? g.CellSpan(2, r).Y : -1);
        return out.join('|');
    };
    ASSERT_EQ(spans(), QStringLiteral("1|-1|1|-1"));
    g.SortSettings.AutoColumnMerge = true;
    TGridDataOperations& ops = *DataOps(g);
    ops.ClickSort(1, 0);
    EXPECT_EQ(Column(0), QStringLiteral("2|3|1|4"));
    EXPECT_EQ(Column(2), QStringLiteral("1|2|1|2"));  // each row's own text, no area left over it
    EXPECT_EQ(spans(), QStringLiteral("0|0|0|0"));
    ops.ClickSort(2, 0);
    EXPECT_EQ(Column(0), QStringLiteral("2|1|3|4"));
    EXPECT_EQ(spans(), QStringLiteral("1|-1|1|-1"));
}

// Through the window: a click released on the header of the sort row sorts, and the application's
// OnCanSort may refuse.
TEST_F(Sorting, HeaderClickInTheWindow)
{
    TExtStringGrid w;
    w.SetLayers(FullLayers());
    w.SetColCount(3);
    w.SetRowCount(4);
    const char* texts[] = {"b", "c", "a"};
    for (int r = 1; r <= 3; ++r)
        w.SetCells(1, r, QString::fromLatin1(texts[r - 1]));
    w.SortSettings.SetShow(true);
    w.resize(300, 200);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* input = dynamic_cast<editing::TGridInputHandler*>(editing::EditController(w)->Input());
    ASSERT_NE(input, nullptr);
    bool allow = false;
    input->OnCanSort = [&](TExtStringGrid*, int, bool& doSort) { doSort = allow; };
    int clicked = -1;
    input->OnClickSort = [&](TExtStringGrid*, int c) { clicked = c; };
    const TRect cell = w.CellRect(1, 0);
    const QPoint header((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    QTest::mouseClick(&w, Qt::LeftButton, {}, header);
    EXPECT_EQ(w.Cells(1, 1), QStringLiteral("b"));
    allow = true;
    QTest::mouseClick(&w, Qt::LeftButton, {}, header);
    EXPECT_EQ(w.Cells(1, 1), QStringLiteral("a"));
    EXPECT_EQ(clicked, 1);
}

}  // namespace
