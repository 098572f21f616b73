#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"
#include "grid/dataops/GridFilter.h"

using namespace grid;
using namespace grid::dataops;

namespace {

// A grid that counts its footer recalculations.
class TCountingGrid : public TExtStringGrid {
public:
    int FooterCalcs = 0;
    void CalcFooter(int c) override
    {
        ++FooterCalcs;
        TExtStringGrid::CalcFooter(c);
    }
};

// Column 1 names the row ("r1" ..), column 2 and 3 hold the texts a test sets.
struct FilterGrid : ::testing::Test {
    TCountingGrid g;
    TGridFilter f{g};
    void SetUp() override
    {
        g.SetColCount(4);
        g.SetRowCount(9);
        g.SetCells(1, 0, QStringLiteral("name"));
        for (int r = 1; r < 9; ++r)
            g.SetCells(1, r, QStringLiteral("r%1").arg(r));
    }
    // Names of the shown normal rows.
    QString Shown()
    {
        QStringList out;
        for (int r = g.FixedRows(); r < g.RowCount(); ++r)
            out << g.Cells(1, r);
        return out.join(',');
    }
    TFilterData& AddCondition(int col, const QString& condition, TFilterOperation op)
    {
        TFilterData& d = *f.Filter.Add();
        d.Column = int16_t(col);
        d.Condition = condition;
        d.Operation = op;
        return d;
    }
};

struct TJoinCase {
    TFilterOperation OpA, OpB;
    bool A, B;  // whether the row's cells match each condition
    bool Passes;
};

TEST_F(FilterGrid, ConditionsJoinByTheirOperation)
{
    const TJoinCase cases[] = {
        {foNONE, foAND, true, true, true},    {foNONE, foAND, true, false, false},
        {foNONE, foAND, false, true, false},  {foNONE, foOR, false, true, true},
        {foNONE, foOR, false, false, false},  {foNONE, foXOR, true, true, false},
        {foNONE, foXOR, true, false, true},   {foSHORT, foOR, false, true, false},  // a short miss skips B
        {foSHORT, foOR, true, false, true},   {foNONE, foNONE, true, false, false},  // foNONE replaces
    };
    for (const auto& c : cases) {
        f.Filter.Clear();
        AddCondition(2, QStringLiteral("a"), c.OpA);
        AddCondition(3, QStringLiteral("b"), c.OpB);
        g.SetCells(2, 1, c.A ? QStringLiteral("a") : QStringLiteral("x"));
        g.SetCells(3, 1, c.B ? QStringLiteral("b") : QStringLiteral("x"));
        EXPECT_EQ(f.MatchFilterRow(1), c.Passes) << int(c.OpA) << ' ' << int(c.OpB) << ' ' << c.A << c.B;
    }
}

struct TTextCase {
    const char* Cell;
    const char* Condition;
    TFilterMethod Method;
    bool CaseSensitive;
    const char* Prefix;
    const char* Suffix;
    bool Passes;
};

TEST_F(FilterGrid, TextsAreTrimmedCutAndCompared)
{
    const TTextCase cases[] = {
        {"ABC", "abc", fmLiteral, false, "", "", false},  // literal is always case-sensitive
        {"abc", "abc", fmLiteral, false, "", "", true},
        {"abc", "a*", fmLiteral, false, "", "", false},
        {"ABC", "a*", fmExpression, false, "", "", true},
        {"ABC", "a*", fmExpression, true, "", "", false},
        {"  abc  ", "abc", fmLiteral, true, "", "", true},
        {"$12", "12", fmLiteral, true, "$", "", true},
        {"12", "12", fmLiteral, true, "$", "", true},         // a prefix the text lacks is ignored
        {"12 kg", ">5", fmExpression, true, "", " kg", true},  // the suffix goes: a number is left
        {"1kg2kg", "1kg2", fmLiteral, true, "", "kg", false},  // its first occurrence does not end the text
        {"x kg", "", fmLiteral, true, "", "", true},           // an empty condition passes
    };
    for (const auto& c : cases) {
        f.Filter.Clear();
        TFilterData& d = AddCondition(2, QString::fromUtf8(c.Condition), foNONE);
        d.Method = c.Method;
        d.CaseSensitive = c.CaseSensitive;
        d.Prefix = QString::fromUtf8(c.Prefix);
        d.Suffix = QString::fromUtf8(c.Suffix);
        g.SetCells(2, 1, QString::fromUtf8(c.Cell));
        EXPECT_EQ(f.MatchFilterRow(1), c.Passes) << c.Cell << " / " << c.Condition;
    }
}

TEST_F(FilterGrid, RowConditionsAndCustomFilterDecideLast)
{
    g.SetCells(3, 2, QStringLiteral("Needle here"));
    TFilterData& d = AddCondition(-1, QStringLiteral("needle"), foNONE);
    d.Data = fcRow;
    EXPECT_TRUE(f.MatchFilterRow(2));
    EXPECT_FALSE(f.MatchFilterRow(3));
    f.OnCustomFilter = [](TExtStringGrid*, int row, bool& accept) { accept = row == 3; };
    EXPECT_FALSE(f.MatchFilterRow(2));
    EXPECT_TRUE(f.MatchFilterRow(3));
}

TEST_F(FilterGrid, ApplyFilterHidesFailingRowsAsOneLevel)
{
    for (int r : {2, 5, 6})
        g.SetCells(2, r, QStringLiteral("keep"));
    AddCondition(2, QStringLiteral("keep"), foNONE);
    std::vector<int> progress;
    f.OnFilterProgress = [&](TExtStringGrid*, int p) { progress.push_back(p); };
    f.ApplyFilter();
    EXPECT_EQ(Shown(), QStringLiteral("r2,r5,r6"));
    EXPECT_EQ(g.FilterLevel(), 1);
    EXPECT_EQ(progress.size(), 9u);  // once per row and once after hiding
    EXPECT_EQ(progress.back(), 100);

    // A second level on top; removing it brings back only its rows.
    f.Filter.Clear();
    AddCondition(1, QStringLiteral("r5"), foNONE);
    f.ApplyFilter();
    EXPECT_EQ(Shown(), QStringLiteral("r5"));
    EXPECT_TRUE(f.RemoveLastFilter());  // a level is left
    EXPECT_EQ(Shown(), QStringLiteral("r2,r5,r6"));
    EXPECT_FALSE(f.RemoveLastFilter());
    EXPECT_EQ(Shown(), QStringLiteral("r1,r2,r3,r4,r5,r6,r7,r8"));
    EXPECT_FALSE(f.RemoveLastFilter());
}

TEST_F(FilterGrid, EmptyConditionsStillAddALevel)
{
    f.ApplyFilter();
    EXPECT_EQ(g.FilterLevel(), 1);
    EXPECT_EQ(g.RowCount(), 9);
    EXPECT_FALSE(f.RemoveLastFilter());
    EXPECT_EQ(g.FilterLevel(), 0);
}

TEST_F(FilterGrid, NodeAndSummaryRowsStayUnlessAllCellsAreFiltered)
{
    g.AddNode(2, 3);
    g.MarkSummaryRow(6);
    AddCondition(2, QStringLiteral("nothing"), foNONE);
    f.ApplyFilter();
    EXPECT_EQ(Shown(), QStringLiteral("r2,r6"));
    f.RemoveLastFilter();
    g.FilterNormalCellsOnly = false;
    f.ApplyFilter();
    EXPECT_EQ(g.RowCount(), 1);
    // The grid gave up its fixed row with the last normal row; removing the level restores both.
    f.RemoveLastFilter();
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(Shown(), QStringLiteral("r1,r2,r3,r4,r5,r6,r7,r8"));
}

TEST_F(FilterGrid, FilterActiveCycleKeepsTheLevelRaised)
{
    g.SetCells(2, 4, QStringLiteral("keep"));
    AddCondition(2, QStringLiteral("keep"), foNONE);
    f.SetFilterActive(true);
    const int calcs = g.FooterCalcs;
    EXPECT_GE(calcs, 1);
    f.SetFilterActive(true);  // applied once, footers recalculated both times
    EXPECT_EQ(Shown(), QStringLiteral("r4"));
    EXPECT_EQ(g.FilterLevel(), 1);
    EXPECT_EQ(g.FooterCalcs, calcs + 1);
    EXPECT_EQ(g.TopRow(), g.FixedRows());

    f.SetFilterActive(false);
    EXPECT_EQ(Shown(), QStringLiteral("r1,r2,r3,r4,r5,r6,r7,r8"));
    EXPECT_EQ(g.FilterLevel(), 1);
    // The raised level is stepped down first; only then are the conditions cleared.
    f.RemoveAllFilters();
    EXPECT_EQ(g.FilterLevel(), 0);
    EXPECT_EQ(f.Filter.Count(), 1);
    f.RemoveAllFilters();
    EXPECT_EQ(f.Filter.Count(), 0);
}

TEST_F(FilterGrid, FilterActiveOnAGridWithTheCurrentCellOutsideStartsAtTheFirstCell)
{
    g.GotoCell(3, 8);
    g.SetCells(2, 2, QStringLiteral("keep"));
    AddCondition(2, QStringLiteral("keep"), foNONE);
    f.SetFilterActive(true);
    EXPECT_EQ(Shown(), QStringLiteral("r2"));
    EXPECT_LT(g.Row(), g.RowCount());
}

TEST_F(FilterGrid, NarrowDownAddsAndRemovesOneLevelPerCharacter)
{
    const char* texts[] = {"apple", "apricot", "banana", "abc", "grape", "ab c", "xyz", "pear"};
    for (int r = 1; r < 9; ++r)
        g.SetCells(2, r, QString::fromUtf8(texts[r - 1]));
    f.NarrowDown(QStringLiteral("a"), 2);
    EXPECT_EQ(g.FilterLevel(), 1);
    EXPECT_EQ(Shown(), QStringLiteral("r1,r2,r3,r4,r5,r6,r8"));
    f.NarrowDown(QStringLiteral("ap"), 2);
    EXPECT_EQ(g.FilterLevel(), 2);
    EXPECT_EQ(Shown(), QStringLiteral("r1,r2,r5"));
    f.NarrowDown(QStringLiteral("apr"), 2);
    EXPECT_EQ(g.FilterLevel(), 3);
    EXPECT_EQ(Shown(), QStringLiteral("r2"));
    f.NarrowDown(QStringLiteral("ap"), 2);
    EXPECT_EQ(g.FilterLevel(), 2);
    EXPECT_EQ(Shown(), QStringLiteral("r1,r2,r5"));
    f.NarrowDown(QStringLiteral("XY"), 2);  // a jump: all levels go, one fresh condition, any case
    EXPECT_EQ(g.FilterLevel(), 1);
    EXPECT_EQ(Shown(), QStringLiteral("r7"));
    // A blank in a column search is kept inside quotes.
    f.NarrowDown(QStringLiteral("b c"), 2);
    EXPECT_EQ(f.Filter.Items(0)->Condition, QStringLiteral("\"*b c*\""));
    EXPECT_EQ(Shown(), QStringLiteral("r6"));
    EXPECT_TRUE(g.FixedRowAlways);
    f.NarrowDown(QString(), 2);
    EXPECT_EQ(g.FilterLevel(), 0);
    EXPECT_EQ(g.NumHiddenRows(), 0);
    EXPECT_EQ(Shown(), QStringLiteral("r1,r2,r3,r4,r5,r6,r7,r8"));
    // Once every level is gone the next condition filters afresh, even one a character shorter.
    f.NarrowDown(QStringLiteral("ap"), 2);
    f.RemoveAllFilters();
    f.NarrowDown(QStringLiteral("a"), 2);
    EXPECT_EQ(g.FilterLevel(), 1);
    EXPECT_EQ(Shown(), QStringLiteral("r1,r2,r3,r4,r5,r6,r8"));
}

TEST_F(FilterGrid, NarrowDownOnTheWholeRow)
{
    g.SetCells(3, 5, QStringLiteral("Special"));
    f.NarrowDown(QStringLiteral("cial"), -1);
    EXPECT_EQ(f.Filter.Items(0)->Data, fcRow);
    EXPECT_EQ(Shown(), QStringLiteral("r5"));
}

// Rows the program hid one by one are not the narrow-down's: clearing the text leaves them
// where they can be shown again instead of dropping them with their data.
TEST_F(FilterGrid, ClearingTheNarrowDownKeepsRowsHiddenOneByOne)
{
    g.HideRow(3);
    f.NarrowDown(QStringLiteral("r"), 1);
    f.NarrowDown(QString(), 1);
    EXPECT_EQ(g.NumHiddenRows(), 1);
    g.UnHideRow(3);
    EXPECT_EQ(Shown(), QStringLiteral("r1,r2,r3,r4,r5,r6,r7,r8"));
}

struct ValueListGrid : FilterGrid {
    void SetUp() override
    {
        FilterGrid::SetUp();
        const char* values[] = {"red", "green", "red", "blue", "dark red", "green", "blue", "red"};
        for (int r = 1; r < 9; ++r)
            g.SetCells(2, r, QString::fromUtf8(values[r - 1]));
        g.FilterDropDownAuto = true;
    }
    int IndexOf(int col, const QString& friendly)
    {
        g.GetColumnFilter(col);
        for (int i = 0; i < g.FilterList.size(); ++i) {
            QString name, condition;
            SplitFilterEntry(g.FilterList.at(i), name, condition);
            if (name == friendly)
                return i;
        }
        return -1;
    }
};

TEST_F(ValueListGrid, ChoosingAValueFiltersAndAllRemovesIt)
{
    bool done = false;
    g.OnFilterDone = [&](TExtStringGrid*) { done = true; };
    AddCondition(3, QStringLiteral("*"), foNONE);
    f.FilterCol = 2;
    f.FilterSelect(IndexOf(2, QStringLiteral("dark red")));
    EXPECT_EQ(Shown(), QStringLiteral("r5"));
    EXPECT_TRUE(done);
    EXPECT_EQ(f.FilterCol, -1);
    EXPECT_TRUE(f.Filter.HasFilter(2));

    f.FilterCol = 2;
    f.FilterSelect(IndexOf(2, QStringLiteral("(All)")));
    EXPECT_FALSE(f.Filter.HasFilter(2));
    EXPECT_TRUE(f.Filter.HasFilter(3));
    EXPECT_EQ(Shown(), QStringLiteral("r1,r2,r3,r4,r5,r6,r7,r8"));
}

TEST_F(ValueListGrid, ChoicesOutOfRangeOnlyCloseTheList)
{
    f.FilterCol = 2;
    f.FilterSelect(99);
    EXPECT_EQ(f.FilterCol, -1);
    f.FilterCol = 40;
    f.FilterSelect(1);
    EXPECT_EQ(f.FilterCol, -1);
    EXPECT_EQ(f.Filter.Count(), 0);
    EXPECT_FALSE(f.FilterActive());
}

TEST_F(ValueListGrid, TheEventMayChangeTheChosenCondition)
{
    f.OnFilterSelect = [](TExtStringGrid*, int col, int, const QString& name, QString& condition) {
        EXPECT_EQ(col, 2);
        EXPECT_EQ(name, QStringLiteral("blue"));
        condition = QStringLiteral("g*");
    };
    f.FilterCol = 2;
    f.FilterSelect(IndexOf(2, QStringLiteral("blue")));
    EXPECT_EQ(Shown(), QStringLiteral("r2,r6"));
}

TEST_F(ValueListGrid, CheckedValuesJoinByOrAndReplaceOtherColumns)
{
    AddCondition(3, QStringLiteral("x"), foNONE);
    f.FilterCol = 2;
    f.FilterCheck({IndexOf(2, QStringLiteral("blue")), IndexOf(2, QStringLiteral("green"))});
    EXPECT_EQ(Shown(), QStringLiteral("r2,r4,r6,r7"));
    ASSERT_EQ(f.Filter.Count(), 2);
    EXPECT_EQ(f.Filter.Items(0)->Operation, foNONE);
    EXPECT_EQ(f.Filter.Items(1)->Operation, foOR);
    EXPECT_FALSE(f.Filter.HasFilter(3));
    EXPECT_EQ(f.FilterCol, 2);  // the check list stays open

    // A value with a blank comes quoted, so that the expression keeps the blank.
    f.FilterCheck({IndexOf(2, QStringLiteral("dark red"))});
    EXPECT_EQ(Shown(), QStringLiteral("r5"));
}

// A searched text with an operator character is a text, not an expression: narrowing down by it
// and picking it from the column's value list keep exactly the rows that hold it.
TEST_F(FilterGrid, OperatorCharactersInSearchedTextsAreText)
{
    const char* texts[] = {"R&D", "f(x)", "a<b", "x|y", "Q; A", "no!", "(open", "plain"};
    for (int r = 1; r < 9; ++r)
        g.SetCells(2, r, QString::fromUtf8(texts[r - 1]));
    g.FilterDropDownAuto = true;
    for (int r = 1; r < 9; ++r) {
        const QString text = QString::fromUtf8(texts[r - 1]);
        SCOPED_TRACE(text.toStdString());
        const QString row = QStringLiteral("r%1").arg(r);
        f.NarrowDown(text, 2);
        EXPECT_EQ(Shown(), row) << "narrow-down";
        f.SetFilterActive(false);
        f.Filter.Clear();

        ASSERT_TRUE(g.GetColumnFilter(2));
        QString friendly, condition;
        for (const QString& entry : g.FilterList) {
            SplitFilterEntry(entry, friendly, condition);
            if (friendly == text)
                break;
        }
        ASSERT_EQ(friendly, text);
        AddCondition(2, condition, foNONE);
        f.SetFilterActive(true);
        EXPECT_EQ(Shown(), row) << "value list";
        f.SetFilterActive(false);
        f.Filter.Clear();
    }
}

}  // namespace
