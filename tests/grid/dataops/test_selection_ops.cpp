#include <gtest/gtest.h>

#include <cmath>

#include "grid/dataops/GridDataOperations.h"
#include "grid/dataops/GridSelectionOps.h"

#include "DataOpsSuite.h"

using namespace grid;
using namespace grid::dataops;

namespace {

// Cell (c, r) holds "c:r" in a 5 x 5 grid with one fixed row and column.
struct TLinearGrid : ::testing::Test {
    TExtStringGrid g;
    void SetUp() override { LinearFill(g, true); }
};

TEST_F(TLinearGrid, LinearFillOfTheDataAreaLeavesTheFixedCells)
{
    TExtStringGrid fresh;
    LinearFill(fresh, false);
    EXPECT_EQ(fresh.Cells(1, 1), "1:1");
    EXPECT_EQ(fresh.Cells(0, 1), "");
    EXPECT_EQ(fresh.Cells(1, 0), "");
    EXPECT_EQ(g.Cells(0, 0), "0:0");
}

TEST_F(TLinearGrid, SelectedTextJoinsCellsByTabAndRowsByLineBreaks)
{
    SelectCells(g, 1, 1, 2, 2);
    EXPECT_EQ(SelectedText(g), "1:1\t2:1\r\n1:2\t2:2");
    g.Options |= goRowSelect;
    EXPECT_EQ(SelectedText(g), "1:1\t2:1\r\n1:2\t2:2");
    EXPECT_EQ(SelectedText(g, true), "0:1\t1:1\t2:1\t3:1\t4:1\r\n0:2\t1:2\t2:2\t3:2\t4:2");
}

TEST_F(TLinearGrid, SelectedTextReadsHiddenColumnsByTheirRealIndex)
{
    g.HideColumn(2);
    SelectCells(g, 1, 3, 2, 3);
    EXPECT_EQ(SelectedText(g), "1:3\t3:3");
}

TEST_F(TLinearGrid, SelectedTextOfFlaggedRowsEndsWithALineBreakUnlessTheLastIsTheBottomRow)
{
    g.MouseActions.SetDisjunctRowSelect(true);
    g.SetRowSelect(1, true);
    g.SetRowSelect(3, true);
    SelectCells(g, 1, 3, 1, 3);
    EXPECT_EQ(SelectedText(g), "1:1\r\n1:3");
    SelectCells(g, 1, 2, 1, 2);
    EXPECT_EQ(SelectedText(g), "1:1\r\n1:3\r\n");
}

TEST(SelectionHook, EditingReachesSelectedTextAndUnhighlightThroughTheGridsDataOperations)
{
    TExtStringGrid g;
    g.SetLayers(DataOpsLayers());
    LinearFill(g, true);
    HilightInCell(g, true, 1, 1, "1");
    SelectCells(g, 1, 1, 2, 1);
    ASSERT_NE(g.DataOps(), nullptr);
    g.DataOps()->UnHilightInGrid(false);
    EXPECT_EQ(g.DataOps()->SelectedText(false), "1:1\t2:1");
}

TEST(SelectedTextLines, AMultiLineTextIsQuotedForTheSpreadsheetFormat)
{
    TExtStringGrid g;
    g.SetCells(1, 1, "a\r\nb");
    SelectCells(g, 1, 1, 1, 1);
    EXPECT_EQ(SelectedText(g), "a\r\nb");
    g.Multilinecells = true;
    g.ExcelClipboardFormat = true;
    EXPECT_EQ(SelectedText(g), QString("\"a") + QChar(11) + "b\"");
}

TEST(RowCalc, SumsAndExtremesAlongARow)
{
    TExtStringGrid g;
    g.SetColCount(6);
    const char* values[] = {"3", "1.2.3", "-2", "8", ""};
    for (int c = 1; c <= 5; ++c)
        g.SetCells(c, 1, values[c - 1]);
    EXPECT_DOUBLE_EQ(RowSum(g, 1, 1, 5), 9);
    EXPECT_DOUBLE_EQ(RowAvg(g, 1, 1, 5), 1.8);
    EXPECT_DOUBLE_EQ(RowMin(g, 1, 1, 5), -2);
    EXPECT_DOUBLE_EQ(RowMax(g, 1, 1, 5), 8);
    EXPECT_EQ(RowAvg(g, 1, 3, 2), 0);
    EXPECT_THROW(RowMin(g, 1, 2, 5), EExtGridError);
    ASSERT_TRUE(g.MergeCells(3, 1, 2, 1));
    EXPECT_DOUBLE_EQ(RowSum(g, 1, 1, 5), 1);  // the covered 8 is left out
}

TEST(AutoNumber, SkipsTheFirstRowsAndCountsFromEitherEnd)
{
    struct Case {
        int start, offset;
        TSortDirection direction;
        const char* column;
    };
    const Case cases[] = {
        {0, 0, sdAscending, "1|2|3|4"},
        {1, 0, sdAscending, "|2|3|4"},
        {1, 0, sdDescending, "4|3|2|"},
        {0, 10, sdDescending, "14|13|12|11"},
    };
    for (const Case& c : cases) {
        TExtStringGrid g;
        g.SetRowCount(5);
        g.AutoNumberStart = c.start;
        g.AutoNumberOffset = c.offset;
        g.AutoNumberDirection = c.direction;
        AutoNumberCol(g, 1);
        QStringList column;
        for (int r = 1; r <= 4; ++r)
            column << g.Cells(1, r);
        EXPECT_EQ(column.join('|'), c.column) << c.start << " " << c.offset << " " << int(c.direction);
    }
}

TEST(AutoNumber, ARowIsNumberedOverItsDataColumns)
{
    TExtStringGrid g;
    g.SetColCount(5);
    g.FixedRightCols = 1;
    AutoNumberRow(g, 2);
    EXPECT_EQ(g.Cells(0, 2) + "|" + g.Cells(1, 2) + "|" + g.Cells(3, 2) + "|" + g.Cells(4, 2), "|1|3|");
}

TEST(TagText, MarksEveryVisibleHitAndUnmarksBackToTheText)
{
    struct Case {
        const char* text;
        const char* find;
        bool doCase;
        const char* marked;
    };
    const Case cases[] = {
        {"abcabc", "b", true, "a<hi>b</hi>ca<hi>b</hi>c"},
        {"Abc", "a", true, "Abc"},
        {"Abc", "a", false, "<hi>A</hi>bc"},
        {"<b>bold</b> b", "b", true, "<hi><b>b</hi>old</b> <hi>b</hi>"},  // never inside a tag
        {"text", "", false, "text"},
    };
    for (const Case& c : cases) {
        const QString marked = HilightText(c.doCase, c.text, c.find);
        EXPECT_EQ(marked, c.marked) << c.text;
        EXPECT_EQ(UnHilightText(marked), c.text) << c.text;
    }
    EXPECT_EQ(MarkText(false, "xy", "Y"), "x<e>y</e>");
    EXPECT_EQ(UnMarkText("<E>x</E><hi>y</hi>"), "x<hi>y</hi>");
}

TEST_F(TLinearGrid, HilightInTheGridReachesHiddenColumnsAndMarkDoesNot)
{
    g.HideColumn(4);
    HilightInGrid(g, false, false, ":");
    EXPECT_EQ(g.GetGridCell(4, 1), "4<hi>:</hi>1");
    EXPECT_EQ(g.GetGridCell(0, 1), "0:1");  // fixed column
    UnHilightInGrid(g, false);
    EXPECT_EQ(g.GetGridCell(4, 1), "4:1");

    MarkInGrid(g, false, false, ":");
    EXPECT_EQ(g.GetGridCell(4, 1), "4:1");
    EXPECT_EQ(g.GetGridCell(3, 1), "3<e>:</e>1");
}

TEST_F(TLinearGrid, ColumnAndRowTaggingKeepToTheirAreas)
{
    HilightInCol(g, false, true, 2, "2");
    EXPECT_EQ(g.Cells(2, 0), "2:0");
    EXPECT_EQ(g.Cells(2, 2), "<hi>2</hi>:<hi>2</hi>");
    MarkInRow(g, true, true, 0, "0");
    EXPECT_EQ(g.Cells(0, 0), "<e>0</e>:<e>0</e>");
    UnMarkInRow(g, true, 0);
    UnHilightInCol(g, true, 2);
    EXPECT_EQ(g.Cells(0, 0), "0:0");
    EXPECT_EQ(g.Cells(2, 2), "2:2");
    HilightInCell(g, true, 3, 3, "3:3");
    EXPECT_EQ(g.Cells(3, 3), "<hi>3:3</hi>");
    UnHilightInCell(g, 3, 3);
    EXPECT_EQ(g.Cells(3, 3), "3:3");
}

// Upper-cases cells and marks every "bad" as an error.
class TUpperChecker : public TExtStringGridCheck {
public:
    QString Correct(int, int, const QString& s) override { return s.toUpper(); }
    QString MarkError(int, int, const QString& s) override { return MarkText(true, s, "bad"); }
    int Starts = 0, Stops = 0;
    void StartCheck() override { ++Starts; }
    void StopCheck() override { ++Stops; }
};

TEST(CellChecker, EveryCellIsCheckedAndWrittenEvenAfterAFailure)
{
    TExtStringGrid g;
    g.SetCells(1, 1, "ok");
    g.SetCells(2, 1, "LOUD");
    g.SetCells(1, 2, "quiet");
    auto checker = std::make_unique<TUpperChecker>();
    checker->UseCorrect = true;
    g.CellChecker = checker.get();
    EXPECT_FALSE(CheckCells(g, 1, 1, 2, 2));
    EXPECT_EQ(g.Cells(1, 1), "OK");
    EXPECT_EQ(g.Cells(1, 2), "QUIET");
    EXPECT_EQ(checker->Starts, 1);
    EXPECT_EQ(checker->Stops, 1);
    EXPECT_TRUE(CheckCells(g, 1, 1, 2, 2));
    // A checker that goes leaves the grid without one: every cell passes unchanged.
    checker.reset();
    EXPECT_EQ(g.CellChecker, nullptr);
    g.SetCells(1, 1, "low");
    EXPECT_TRUE(CheckCells(g, 1, 1, 2, 2));
    EXPECT_EQ(g.Cells(1, 1), "low");
}

TEST(CellChecker, MarksAreTakenOffBeforeTheCheckAndTheMarkedTextWins)
{
    TExtStringGrid g;
    g.SetCells(1, 1, "a bad <e>bad</e> word");
    TUpperChecker checker;
    checker.UseCorrect = true;
    checker.UseMarkError = true;
    g.CellChecker = &checker;
    EXPECT_FALSE(CheckCell(g, 1, 1));
    EXPECT_EQ(g.Cells(1, 1), "a <e>bad</e> <e>bad</e> word");
    checker.UseMarkError = false;
    checker.UseCorrect = false;
    EXPECT_TRUE(CheckGrid(g, false));
    EXPECT_EQ(g.Cells(1, 1), "a bad bad word");
}

TEST(CellChecker, GotoCellVisitsEachCellAndReturnsToTheCurrentOne)
{
    TExtStringGrid g;
    g.SetColCount(4);
    g.SetRowCount(4);
    g.GotoCell(1, 1);
    struct TVisits : TExtStringGridCheck {
        TExtStringGrid* Grid = nullptr;
        std::vector<std::pair<int, int>> At;
        QString Correct(int, int, const QString& s) override
        {
            At.push_back({Grid->Col(), Grid->Row()});
            return s;
        }
    } checker;
    checker.Grid = &g;
    checker.GotoCell = true;
    checker.UseCorrect = true;
    g.CellChecker = &checker;
    EXPECT_TRUE(CheckCol(g, false, 2));
    EXPECT_EQ(checker.At, (std::vector<std::pair<int, int>>{{2, 1}, {2, 2}, {2, 3}}));
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(g.Row(), 1);
}

TEST(Fills, TextFormatAndRandomFillsCoverTheirArea)
{
    TExtStringGrid g;
    g.SetColCount(3);
    g.SetRowCount(3);
    TextFill(g, false, "t");
    EXPECT_EQ(g.Cells(0, 0) + g.Cells(1, 1) + g.Cells(2, 2), "tt");
    FormatFill(g, true, "R%1:dC%0:d %%");
    EXPECT_EQ(g.Cells(2, 1), "R1C2 %");
    RandomFill(g, false, 3);
    for (int r = 1; r < 3; ++r)
        for (int c = 1; c < 3; ++c) {
            const int v = g.GetInts(c, r);
            EXPECT_TRUE(v >= 0 && v < 3) << v;
        }
}

TEST(Fills, FormatTextsOfTheCellNumbers)
{
    struct Case {
        const char* format;
        const char* text;
    };
    const Case cases[] = {
        {"%d-%d", "10-3"}, {"%x", "A"}, {"%s/%s/%d", "10/3/0"}, {"100%%", "100%"}, {"%q", "%q"}, {"end %", "end %"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatCellNumbers(c.format, 10, 3), c.text) << c.format;
}

}  // namespace
