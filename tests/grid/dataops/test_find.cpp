#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridTextUtils.h"
#include "grid/dataops/GridFind.h"

using namespace grid;
using namespace grid::dataops;

namespace {

constexpr TPoint None{-1, -1};

// Four normal columns and ten normal rows under one fixed row and column, all cells empty.
struct FindGrid : ::testing::Test {
    TExtStringGrid g;
    TGridFind find{g};
    void SetUp() override
    {
        g.SetColCount(5);
        g.SetRowCount(11);
        for (int c = 1; c < 5; ++c)
            for (int r = 1; r < 11; ++r)
                g.SetCells(c, r, QStringLiteral("-"));
    }
};

struct TMatchCase {
    const char* Cell;
    TFindParams Flags;
    bool Found;
};

TEST_F(FindGrid, MatchFlagsDecideWhichTextsMatch)
{
    const TMatchCase cases[] = {
        {"abcd", FindFlag(fnMatchStart), true},
        {"xabc", FindFlag(fnMatchStart), false},
        {"xabc", 0, true},
        {"abc", FindFlag(fnMatchFull), true},
        {"abcd", FindFlag(fnMatchFull), false},
        {"ABC", 0, true},
        {"ABC", FindFlag(fnMatchCase), false},
        {"aBc", FindFlags(fnMatchCase, fnMatchFull), false},
        {"<b>a</b>bc", 0, false},
        {"<b>a</b>bc", FindFlag(fnIgnoreHTMLTags), true},
    };
    for (const auto& c : cases) {
        g.SetCells(3, 4, QString::fromUtf8(c.Cell));
        const TPoint expected = c.Found ? TPoint{3, 4} : None;
        EXPECT_EQ(find.Find(None, QStringLiteral("abc"), c.Flags), expected) << c.Cell << " flags " << c.Flags;
    }
}

TEST_F(FindGrid, ExpressionSearchAndEmptyCells)
{
    g.SetCells(2, 6, QStringLiteral("zebra"));
    EXPECT_EQ(find.Find(None, QStringLiteral("q*|*bra"), FindFlag(fnMatchRegular)), (TPoint{2, 6}));
    EXPECT_EQ(find.Find(None, QStringLiteral("Z*"), FindFlags(fnMatchRegular, fnMatchCase)), None);
    g.SetCells(4, 2, QString());
    g.SetCells(1, 9, QString());
    // Two double quotes find the first empty cell, column by column.
    EXPECT_EQ(find.Find(None, QStringLiteral("\"\""), 0), (TPoint{1, 9}));
    EXPECT_EQ(find.Find(None, QStringLiteral("\"\""), FindFlag(fnDirectionLeftRight)), (TPoint{4, 2}));
}

TEST_F(FindGrid, WalkOrderDirectionAndContinuation)
{
    g.SetCells(1, 9, QStringLiteral("hit"));
    g.SetCells(2, 1, QStringLiteral("hit"));
    g.SetCells(2, 5, QStringLiteral("hit"));
    g.SetCells(2, 6, QStringLiteral("hit"));
    EXPECT_EQ(find.Find(None, QStringLiteral("hit"), 0), (TPoint{1, 9}));
    EXPECT_EQ(find.Find(None, QStringLiteral("hit"), FindFlag(fnDirectionLeftRight)), (TPoint{2, 1}));
    EXPECT_EQ(find.Find(None, QStringLiteral("hit"), FindFlag(fnBackward)), (TPoint{2, 6}));
    g.SetCells(4, 10, QStringLiteral("hit"));
    EXPECT_EQ(find.Find(None, QStringLiteral("hit"), FindFlag(fnBackward)), (TPoint{4, 10}));

    g.SetCells(4, 10, QStringLiteral("-"));
    EXPECT_EQ(find.FindFirst(QStringLiteral("hit"), FindFlag(fnDirectionLeftRight)), (TPoint{2, 1}));
    EXPECT_EQ(find.FindNext(), (TPoint{2, 5}));
    EXPECT_EQ(find.FindNext(), (TPoint{2, 6}));
    EXPECT_EQ(find.FindNext(), (TPoint{1, 9}));
    // No wrapping round at the end of the walk.
    EXPECT_EQ(find.FindNext(), None);

    find.SearchCell = {2, 5};
    EXPECT_EQ(find.Find(find.SearchCell, QStringLiteral("hit"), 0), (TPoint{2, 6}));
    // A start beyond every bound begins again at the first cell.
    EXPECT_EQ(find.Find({9, 99}, QStringLiteral("hit"), 0), (TPoint{1, 9}));
}

TEST_F(FindGrid, RestrictionsNarrowTheWalk)
{
    g.SetCells(1, 3, QStringLiteral("hit"));
    g.SetCells(3, 3, QStringLiteral("hit"));
    g.SetCells(3, 8, QStringLiteral("hit"));
    g.GotoCell(3, 8);
    EXPECT_EQ(find.Find(None, QStringLiteral("hit"), FindFlag(fnFindInCurrentCol)), (TPoint{3, 3}));
    EXPECT_EQ(find.Find(None, QStringLiteral("hit"), FindFlag(fnFindInCurrentRow)), (TPoint{3, 8}));
    find.FindCol = 1;
    EXPECT_EQ(find.Find(None, QStringLiteral("hit"), FindFlag(fnFindInPresetCol)), (TPoint{1, 3}));
    g.SetSelection({2, 5, 4, 9});
    EXPECT_EQ(find.Find(None, QStringLiteral("hit"), FindFlag(fnSelectedCells)), (TPoint{3, 8}));

    // Ignored columns are skipped row by row only.
    g.IgnoreColumns = {1};
    EXPECT_EQ(find.Find(None, QStringLiteral("hit"), FindFlag(fnDirectionLeftRight)), (TPoint{3, 3}));
    EXPECT_EQ(find.Find(None, QStringLiteral("hit"), 0), (TPoint{1, 3}));
    g.IgnoreColumns.clear();

    // Fixed cells only with fnIncludeFixed.
    g.SetCells(0, 2, QStringLiteral("fixedhit"));
    EXPECT_EQ(find.Find(None, QStringLiteral("fixedhit"), 0), None);
    EXPECT_EQ(find.Find(None, QStringLiteral("fixedhit"), FindFlag(fnIncludeFixed)), (TPoint{0, 2}));
}

TEST_F(FindGrid, HiddenColumnsAndRowsOnlyWhenAsked)
{
    g.SetCells(2, 4, QStringLiteral("hidden col"));
    g.SetCells(4, 7, QStringLiteral("hidden row"));
    g.HideColumn(2);
    g.HideRow(7);
    EXPECT_EQ(find.Find(None, QStringLiteral("hidden"), 0), None);
    EXPECT_EQ(find.Find(None, QStringLiteral("hidden col"), FindFlag(fnIncludeHiddenColumns)), (TPoint{2, 4}));
    EXPECT_EQ(find.Find(None, QStringLiteral("hidden row"), FindFlags(fnIncludeHiddenRows, fnIncludeHiddenColumns)),
              (TPoint{4, 7}));
    // Display columns past the hidden one read their real column.
    g.SetCells(3, 2, QStringLiteral("shown"));
    EXPECT_EQ(find.Find(None, QStringLiteral("shown"), 0), (TPoint{2, 2}));
}

TEST_F(FindGrid, AutoGotoMakesTheFoundCellCurrent)
{
    g.SetCells(3, 7, QStringLiteral("target"));
    g.FocusCell(1, 1);
    EXPECT_EQ(find.Find(None, QStringLiteral("target"), FindFlag(fnAutoGoto)), (TPoint{3, 7}));
    EXPECT_EQ(g.Col(), 3);
    EXPECT_EQ(g.Row(), 7);
    EXPECT_EQ(find.Find(None, QStringLiteral("nowhere"), FindFlag(fnAutoGoto)), None);
    EXPECT_EQ(g.Row(), 7);
}

// FindWide matches the cells' wide texts (decoded from their wide-text coding), letter case as the
// flags say; Find sees only the coded text.
TEST_F(FindGrid, FindWideMatchesTheDecodedWideTexts)
{
    g.SetCells(3, 2, EncodeWideText(QStringLiteral("\u03A9mega \u4E2D")));
    g.SetCells(2, 5, QStringLiteral("omega plain"));
    g.SetCells(4, 9, QString());
    const struct {
        const char* Text;
        TFindParams Flags;
        TPoint Found;
    } cases[] = {
        {"\u03C9MEGA", 0, {3, 2}},                          // any case, in the wide form
        {"\u03C9MEGA", FindFlag(fnMatchCase), None},
        {"\u4E2D", FindFlag(fnMatchStart), None},
        {"OMEGA", 0, {2, 5}},                                // a plain cell reads as itself
        {"\"\"", 0, {4, 9}},                                // the empty cell
        {"omega plain", FindFlags(fnMatchFull, fnMatchCase), {2, 5}},
    };
    for (const auto& tc : cases) {
        const QString text = QString::fromUtf8(tc.Text);
        EXPECT_EQ(find.FindWide(None, text, tc.Flags), tc.Found) << tc.Text;
    }
    EXPECT_EQ(find.Find(None, QString::fromUtf8("\u03A9mega"), 0), None);
    // From a start cell the walk goes on after it.
    g.SetCells(3, 6, EncodeWideText(QStringLiteral("\u03A9")));
    EXPECT_EQ(find.FindWide({3, 2}, QString::fromUtf8("\u03A9"), 0), (TPoint{3, 6}));
}

// A match in a row folded away under a contracted node opens that node and becomes current; the
// other nodes stay as they were.
TEST_F(FindGrid, AFindInAContractedNodeExpandsIt)
{
    for (bool firstContracted : {false, true}) {
        SetUp();
        g.SetCells(2, 6, QStringLiteral("target"));
        g.AddNode(1, 3);  // rows 1 to 3
        g.AddNode(4, 4);  // rows 4 to 7
        g.ContractNode(4);
        if (firstContracted)
            g.ContractNode(1);
        const TFindParams flags = FindFlags(fnIncludeHiddenRows, fnAutoGoto);
        EXPECT_EQ(find.Find(None, QStringLiteral("target"), flags), (TPoint{2, 6})) << firstContracted;
        EXPECT_FALSE(g.GetNodeState(g.RealToDisplRow(4))) << firstContracted;
        EXPECT_EQ(g.GetNodeState(g.RealToDisplRow(1)), firstContracted) << firstContracted;
        EXPECT_EQ(g.Cells(2, g.Row()), QStringLiteral("target")) << firstContracted;
        EXPECT_EQ(g.Col(), 2) << firstContracted;
    }
}

TEST_F(FindGrid, NoNormalCellsFindNothing)
{
    g.SetCells(0, 0, QStringLiteral("x"));
    g.FixedRowAlways = true;
    g.SetRowCount(1);
    EXPECT_EQ(find.Find(None, QStringLiteral("x"), FindFlag(fnIncludeFixed)), None);
}

TEST_F(FindGrid, ReplaceChangesEveryMatchingCellOnce)
{
    g.SetCells(1, 1, QStringLiteral("Aa"));
    g.SetCells(2, 1, QStringLiteral("xyz"));
    g.ShowModified.Enabled = true;
    EXPECT_EQ(find.Replace(QStringLiteral("a"), QStringLiteral("b"), 0), 1);
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("bb"));
    EXPECT_EQ(g.Cells(2, 1), QStringLiteral("xyz"));
    EXPECT_TRUE(g.GetRowModified(1));

    // A replacement that holds the searched text still ends, each cell changed once.
    g.SetCells(3, 2, QStringLiteral("b"));
    EXPECT_EQ(find.Replace(QStringLiteral("b"), QStringLiteral("bb"), 0), 2);
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("bbbb"));
    EXPECT_EQ(g.Cells(3, 2), QStringLiteral("bb"));
    EXPECT_EQ(find.Replace(QStringLiteral("nothing"), QStringLiteral("x"), 0), 0);
}

TEST_F(FindGrid, KeySearchUsesTheSortColumn)
{
    g.SetCells(1, 4, QStringLiteral("<b>ab</b>c"));
    g.SetCells(3, 2, QStringLiteral("abx"));
    EXPECT_EQ(find.Search(QStringLiteral("AB")), 4);
    EXPECT_EQ(find.Search(QStringLiteral("ABD")), -1);
    g.SortSettings.Show = true;
    g.SortSettings.Column = 3;
    EXPECT_EQ(find.Search(QStringLiteral("AB")), 2);
    g.SortSettings.Column = -1;
    EXPECT_EQ(find.Search(QStringLiteral("AB")), -1);
    g.SortSettings.IndexShow = true;
    EXPECT_EQ(find.Search(QStringLiteral("AB")), 4);  // no index yet: the first normal column
    g.SortIndexes.AddIndex(3, true);
    EXPECT_EQ(find.Search(QStringLiteral("AB")), 2);
    g.SetRowCount(1);
    EXPECT_EQ(find.Search(QStringLiteral("")), -1);
}

}  // namespace
