// A column grid shaped like the MQTT publish table: 19 columns, 1025 rows, columns 7 to 9 and
// 15 to 17 hidden, with list, editable-list and data-check-box columns.
#include <gtest/gtest.h>

#include "grid/core/ExtColumnGrid.h"

using namespace grid;

namespace {

struct TPublishTable : ::testing::Test {
    TExtColumnGrid g;

    void SetUp() override
    {
        const struct {
            const char* Header;
            TEditorType Editor;
            QStringList Items;
            int Width;
        } columns[] = {
            {"N", edNormal, {}, 40},          {"Topic", edNormal, {}, 300},
            {"Retained", edDataCheckBox, {}, 60}, {"QoS", edComboList, {"0", "1", "2"}, 80},
            {"Data Type", edComboList, {"Int", "SInt", "Float", "String", "Base64"}, 80},
            {"Dimension", edNormal, {}, 80},  {"Position", edNormal, {}, 80},
            {"IP Address", edNormal, {}, 100}, {"Hex", edDataCheckBox, {}, 40},
            {"Input Template", edNormal, {}, 120}, {"Template", edComboEdit, {"$VALUE$"}, 130},
            {"OnChange", edDataCheckBox, {}, 75}, {"OnCMD", edDataCheckBox, {}, 55},
            {"OnTimer", edDataCheckBox, {}, 64}, {"Time(ms)", edNormal, {}, 70},
            {"Channel", edComboList, {"0", "All"}, 90}, {"Swap", edDataCheckBox, {}, 40},
            {"Swap Word", edDataCheckBox, {}, 80}, {"Mnemonic", edNormal, {}, 170},
        };
        g.SetColCount(19);
        g.SetRowCount(1025);
        g.Options &= ~goEditing;
        for (int c = 0; c < 19; ++c) {
            TGridColumnItem* item = g.Columns()[c];
            item->SetEditor(columns[c].Editor);
            item->ComboItems = columns[c].Items;
            item->SetWidth(columns[c].Width);
            item->SetHeader(QString::fromLatin1(columns[c].Header));
        }
        for (int c : {7, 8, 9, 15, 16, 17})
            g.HideColumn(c);
        for (int r = 1; r <= 1024; ++r) {
            g.SetCells(0, r, QString::number(r));
            for (int c = 1; c < 19; ++c)
                g.SetCells(c, r, QString());
        }
    }
};

TEST_F(TPublishTable, ShapeAndIndexes)
{
    EXPECT_EQ(g.ColCount(), 13);
    EXPECT_EQ(g.TotalColCount(), 19);
    EXPECT_EQ(g.Columns().Count(), 19);
    EXPECT_EQ(g.RowCount(), 1025);
    EXPECT_EQ(g.RealColIndex(7), 10);   // the Template column on screen
    EXPECT_EQ(g.RealColIndex(12), 18);  // Mnemonic
    EXPECT_EQ(g.DisplColIndex(18), 12);
    EXPECT_EQ(g.Cells(8, 0), QStringLiteral("Hex"));  // hidden headers stay in row 0
    EXPECT_EQ(g.ColWidths(1), 300);
    EXPECT_EQ(g.GetAllColWidths(9), 120);
    EXPECT_EQ(g.Columns()[18]->Header(), QStringLiteral("Mnemonic"));
    EXPECT_EQ(g.ColumnHeaders.size(), 19);
    EXPECT_EQ(g.Cells(0, 1024), QStringLiteral("1024"));
}

TEST_F(TPublishTable, HiddenColumnsKeepTheirCellsByRealIndex)
{
    g.SetCells(7, 5, QStringLiteral("192.168.1.10"));
    g.SetCells(8, 5, QStringLiteral("N"));
    g.SetCells(16, 5, QStringLiteral("N"));
    EXPECT_EQ(g.Cells(7, 5), QStringLiteral("192.168.1.10"));
    EXPECT_EQ(g.GetCellType(8, 5), ctDataCheckBox);
    EXPECT_TRUE(g.SetCheckBoxState(8, 5, true));
    EXPECT_EQ(g.Cells(8, 5), QStringLiteral("Y"));
    EXPECT_FALSE(g.IsChecked(16, 5));
}

TEST_F(TPublishTable, CheckColumnsHoldYAndN)
{
    for (int c : {2, 11, 12, 13}) {
        EXPECT_EQ(g.GetCellType(c, 3), ctDataCheckBox) << c;
        EXPECT_FALSE(g.IsChecked(c, 3));  // cleared rows read unchecked
        ASSERT_TRUE(g.DoToggleCheck(c, 3, true)) << c;  // editable by the column, goEditing off
        EXPECT_EQ(g.Cells(c, 3), QStringLiteral("Y"));
        EXPECT_TRUE(g.DoToggleCheck(c, 3, true));
        EXPECT_EQ(g.Cells(c, 3), QStringLiteral("N"));
    }
    EXPECT_EQ(g.GetCellType(2, 0), ctEmpty);
    EXPECT_EQ(g.CheckTrueOf(2, 0), QStringLiteral("Y"));
}

TEST_F(TPublishTable, ListColumnsOfferTheirItemsAsText)
{
    TEditorType e = edNormal;
    g.GetEditorType(3, 1, e);
    EXPECT_EQ(e, edComboList);
    EXPECT_EQ(g.EditComboItems, (QStringList{"0", "1", "2"}));
    e = edNormal;
    g.GetEditorType(10, 1, e);
    EXPECT_EQ(e, edComboEdit);
    EXPECT_EQ(g.EditComboItems, QStringList{"$VALUE$"});
    EXPECT_TRUE(g.HasComboBox(4, 1));
    EXPECT_FALSE(g.HasComboBox(1, 1));
    EXPECT_FALSE(g.HasComboBox(3, 0));
    bool can = false;
    g.IsCellEditable(1, 1, can);
    EXPECT_TRUE(can);
    can = true;
    g.IsCellEditable(1, 0, can);
    EXPECT_FALSE(can);
}

TEST_F(TPublishTable, RowsMoveWithTheirHiddenCells)
{
    g.SetCells(1, 10, QStringLiteral("topic/a"));
    g.SetCells(9, 10, QStringLiteral("in $VALUE$"));
    g.SetCells(2, 10, QStringLiteral("Y"));
    g.MoveRows(10, 2, 1);
    EXPECT_EQ(g.Cells(1, 2), QStringLiteral("topic/a"));
    EXPECT_EQ(g.Cells(9, 2), QStringLiteral("in $VALUE$"));
    EXPECT_TRUE(g.IsChecked(2, 2));
    g.RemoveRows(2, 1);
    g.InsertRows(1024, 1);
    EXPECT_EQ(g.RowCount(), 1025);
    EXPECT_TRUE(g.Cells(9, 2).isEmpty());
}

TEST_F(TPublishTable, CellsCopyIntoAnotherTable)
{
    g.SetCells(1, 1, QStringLiteral("topic/b"));
    g.SetCells(12, 1, QStringLiteral("Y"));
    TExtColumnGrid copy;
    copy.AssignCells(g);
    EXPECT_EQ(copy.RowCount(), 1025);
    EXPECT_EQ(copy.Columns().Count(), 13);
    EXPECT_EQ(copy.Cells(1, 1), QStringLiteral("topic/b"));
    // The stream carries as many real columns as the table shows, by real index.
    EXPECT_EQ(copy.Cells(12, 1), QStringLiteral("Y"));
}

}  // namespace
