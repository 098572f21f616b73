#include <gtest/gtest.h>

#include "grid/core/ExtColumnGrid.h"
#include "support/TempDir.h"

using namespace grid;

namespace {

TEST(ColumnGrid, OneItemPerRealColumn)
{
    TExtColumnGrid g;
    EXPECT_EQ(g.Columns().Count(), 5);
    EXPECT_EQ(g.GetVersionString(), QStringLiteral("3.1.3.1 Aug, 2012"));
    g.SetColCount(7);
    g.HideColumns(2, 3);
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_EQ(g.Columns().Count(), 7);
    g.SetColCount(6);
    EXPECT_EQ(g.Columns().Count(), 8);
    g.Columns().Add();  // the update reaction widens the grid
    EXPECT_EQ(g.TotalColCount(), 9);
}

TEST(ColumnGrid, AddedItemCopiesVisualsButTakesTheGridsColourAndFont)
{
    TExtColumnGrid g;
    TGridColumnItem* first = g.Columns()[4];
    first->SetAlignment(taRightJustify);
    first->Borders = cbTop;
    first->CheckTrue = QStringLiteral("1");
    first->SetEditor(edComboList);
    first->SetFixed(true);
    first->ReadOnly = true;
    first->SpinMax = 9;
    first->SetWidth(123);
    first->SetColor(0x0000FF);
    first->SetFont({QStringLiteral("Courier"), 12, 0, 0});
    first->ComboItems = QStringList{QStringLiteral("a")};
    TGridColumnItem* added = g.Columns().Add();
    EXPECT_EQ(added->Alignment(), taRightJustify);
    EXPECT_EQ(added->Borders, cbTop);
    EXPECT_EQ(added->CheckTrue, QStringLiteral("1"));
    EXPECT_EQ(added->Editor(), edComboList);
    EXPECT_TRUE(added->Fixed());
    EXPECT_TRUE(added->ReadOnly);
    EXPECT_EQ(added->SpinMax, 9);
    EXPECT_EQ(added->StoredWidth(), 123);
    EXPECT_EQ(added->Color(), g.Color);
    EXPECT_EQ(added->Font().Name, g.FontName);
    EXPECT_TRUE(added->ComboItems.isEmpty());
}

TEST(ColumnGrid, ColumnFilterEntriesAndHeaderList)
{
    TExtColumnGrid g;
    g.Columns()[2]->Filter = QStringList{QStringLiteral("Big=>100"), QStringLiteral("<5")};
    EXPECT_TRUE(g.GetColumnFilter(2));
    EXPECT_EQ(g.FilterList, (QStringList{"Big", "<5"}));
    EXPECT_FALSE(g.GetColumnFilter(3));
    g.SetColumnHeaders({"a", "b", "c", "d", "e"});
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(g.Columns()[i]->Header(), QString(QChar('a' + i)));
}

TEST(ColumnGrid, HeaderWritesRowZeroAndTheHeaderList)
{
    TExtColumnGrid g;
    g.Columns()[3]->SetHeader(QStringLiteral("Three"));
    EXPECT_EQ(g.Cells(3, 0), QStringLiteral("Three"));
    EXPECT_EQ(g.ColumnHeaders, (QStringList{"", "", "", "Three", ""}));
}

TEST(ColumnGrid, DataCheckBoxColumnAnswersForItsNormalCellsOnly)
{
    TExtColumnGrid g;
    g.FixedFooters = 1;
    g.Columns()[2]->SetEditor(edDataCheckBox);
    g.Columns()[2]->CheckTrue = QStringLiteral("1");
    EXPECT_EQ(g.GetCellType(2, 3), ctDataCheckBox);
    ASSERT_NE(g.GetCellGraphic(2, 3), nullptr);
    EXPECT_EQ(g.GetCellGraphic(2, 3)->CellType, ctVirtCheckBox);
    EXPECT_EQ(g.GetCellType(2, 0), ctEmpty);
    EXPECT_EQ(g.GetCellType(2, g.RowCount() - 1), ctEmpty);
    EXPECT_EQ(g.CheckTrueOf(2, 3), QStringLiteral("1"));
    EXPECT_EQ(g.CheckTrueOf(2, 0), QStringLiteral("Y"));
    g.SetCells(2, 3, QStringLiteral("1"));
    EXPECT_TRUE(g.IsChecked(2, 3));
    EXPECT_TRUE(g.ToggleCheckBox(2, 3));
    EXPECT_EQ(g.Cells(2, 3), QStringLiteral("N"));
}

TEST(ColumnGrid, DataCheckBoxOfAHiddenRowReadsAndWritesItsText)
{
    TExtColumnGrid g;
    g.Columns()[2]->SetEditor(edDataCheckBox);
    g.HideRow(3);
    bool state = true;
    ASSERT_TRUE(g.GetCheckBoxState(2, 3, state));
    EXPECT_FALSE(state);
    EXPECT_TRUE(g.SetCheckBoxState(2, 3, true));
    EXPECT_EQ(g.GetCellsEx(2, 3), QStringLiteral("Y"));
    g.UnHideRow(3);
    EXPECT_TRUE(g.IsChecked(2, 3));
}

TEST(ColumnGrid, EditabilityComesFromTheColumn)
{
    TExtColumnGrid g;
    g.Options &= ~goEditing;
    g.Columns()[2]->ReadOnly = true;
    g.Columns()[3]->SetFixed(true);
    const struct {
        int C, R;
        bool Editable;
    } cases[] = {{1, 1, true}, {2, 1, false}, {3, 1, false}, {1, 0, false}, {0, 1, false}, {4, 2, true}};
    for (const auto& c : cases) {
        bool can = false;
        g.IsCellEditable(c.C, c.R, can);
        EXPECT_EQ(can, c.Editable) << c.C << "," << c.R;
    }
    g.SetReadOnly(4, 2, true);
    bool can = true;
    g.IsCellEditable(4, 2, can);
    EXPECT_FALSE(can);
    bool fixed = false;
    g.IsFixedCell(3, 1, fixed);
    EXPECT_TRUE(fixed);
}

TEST(ColumnGrid, MovingAColumnMovesItsItem)
{
    TExtColumnGrid g;
    g.Columns()[1]->Name = QStringLiteral("one");
    g.SetCells(1, 2, QStringLiteral("cell"));
    std::pair<int, int> moved{-1, -1};
    g.OnAfterColumnMoved = [&](TExtStringGrid*, int f, int t) { moved = {f, t}; };
    g.MoveColumn(1, 3);
    EXPECT_EQ(g.Columns()[3]->Name, QStringLiteral("one"));
    EXPECT_EQ(g.GetColumnByName(QStringLiteral("one")), g.Columns()[3]);
    EXPECT_EQ(g.Cells(3, 2), QStringLiteral("cell"));
    EXPECT_EQ(moved, std::make_pair(1, 3));
}

TEST(ColumnGrid, EditLimitFollowsTheCurrentColumn)
{
    TExtColumnGrid g;
    g.Columns()[2]->EditLength = 10;
    g.SetCol(2);
    EXPECT_EQ(g.GetEditLimit(), 10);
    g.SetCol(3);
    EXPECT_EQ(g.GetEditLimit(), 0);
}

TEST(ColumnGrid, ColumnStreamRoundTripAndRefusal)
{
    TExtColumnGrid a;
    a.Columns()[2]->SetHeaderField(QStringLiteral("Head"));
    a.Columns()[2]->SetEditor(edComboEdit);
    a.Columns()[2]->ComboItems = QStringList{"x", "y"};
    a.Columns()[2]->CheckTrue = QStringLiteral("on");
    TMemoryStream s;
    a.SaveColumnsToStream(s);
    s.SetPosition(0);
    TExtColumnGrid b;
    b.LoadColumnsFromStream(s);
    EXPECT_EQ(b.Columns()[2]->Header(), QStringLiteral("Head"));
    EXPECT_EQ(b.Columns()[2]->Editor(), edComboEdit);
    EXPECT_EQ(b.Columns()[2]->ComboItems, (QStringList{"x", "y"}));
    EXPECT_EQ(b.Columns()[2]->CheckTrue, QStringLiteral("on"));

    TMemoryStream bad(std::vector<uint8_t>{'{', '"', 'x'});
    EXPECT_THROW(b.LoadColumnsFromStream(bad), EExtGridError);
    EXPECT_EQ(b.Columns()[2]->Header(), QStringLiteral("Head"));
}

struct TPositions : ::testing::Test {
    TempDir Dir;
    TExtColumnGrid g;
    void SetUp() override
    {
        for (int c = 0; c < 5; ++c) {
            g.Columns()[c]->Name = QString::number(c);
            g.Columns()[c]->DefIdx = c;
        }
    }
    void Write(const QString& body) { Dir.Write(QStringLiteral("pos.ini"), ("[Grid]\n" + body).toUtf8()); }
    QString Order()
    {
        QStringList out;
        for (int c = 0; c < 5; ++c)
            out << g.Columns()[c]->Name;
        return out.join(',');
    }
};

TEST_F(TPositions, AValidOrderIsApplied)
{
    Write(QStringLiteral("CP0=0\nCP1=2\nCP2=1\nCP3=4\nCP4=3\n"));
    g.LoadColumnPositions(Dir.File(QStringLiteral("pos.ini")), QStringLiteral("Grid"));
    EXPECT_EQ(Order(), QStringLiteral("0,2,1,4,3"));
}

TEST_F(TPositions, OnlyAPermutationIsAccepted)
{
    const QString bodies[] = {
        QStringLiteral("CP0=0\nCP1=1\nCP2=2\nCP3=3\n"),         // a key missing
        QStringLiteral("CP0=1\nCP1=1\nCP2=1\nCP3=0\nCP4=0\n"),  // repeats: would never settle
        QStringLiteral("CP0=0\nCP1=1\nCP2=2\nCP3=3\nCP4=9\n"),  // a column that does not exist
        QStringLiteral("CP0=0\nCP1=1\nCP2=x\nCP3=3\nCP4=4\n"),
    };
    for (const QString& body : bodies) {
        Write(body);
        g.LoadColumnPositions(Dir.File(QStringLiteral("pos.ini")), QStringLiteral("Grid"));
        EXPECT_EQ(Order(), QStringLiteral("0,1,2,3,4")) << body.toStdString();
    }
}

TEST_F(TPositions, SavedPositionsLoadBack)
{
    g.Columns()[1]->DefIdx = 3;
    g.Columns()[3]->DefIdx = 1;
    g.SaveColumnPositions(Dir.File(QStringLiteral("pos.ini")), QStringLiteral("Grid"));
    TExtColumnGrid other;
    for (int c = 0; c < 5; ++c)
        other.Columns()[c]->Name = QString::number(c);
    other.LoadColumnPositions(Dir.File(QStringLiteral("pos.ini")), QStringLiteral("Grid"));
    QStringList names;
    for (int c = 0; c < 5; ++c)
        names << other.Columns()[c]->Name;
    EXPECT_EQ(names.join(','), QStringLiteral("0,3,2,1,4"));
}

}  // namespace
