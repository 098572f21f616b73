#include <QTest>
#include <gtest/gtest.h>

#include "DataOpsSuite.h"

using namespace grid;
using namespace grid::dataops;

namespace {

// A shown grid offering filter buttons on its header row; column 1 holds colours.
struct FilterLists : WithDataOps {
    TExtStringGrid g;
    void SetUp() override
    {
        WithLayers(g);
        g.SetColCount(3);
        g.SetRowCount(7);
        const char* values[] = {"red", "green", "red", "blue", "dark red", "green"};
        for (int r = 1; r < 7; ++r)
            g.SetCells(1, r, QString::fromLatin1(values[r - 1]));
        g.FilterDropDownAuto = true;
        g.resize(400, 300);
        g.show();
    }
    TGridDataOperations& ops() { return *DataOps(g); }
    QString Shown()
    {
        QStringList out;
        for (int r = g.FixedRows(); r < g.RowCount(); ++r)
            out << g.Cells(1, r);
        return out.join(',');
    }
    // A click on the filter button at the right edge of the header cell of display column c.
    void ClickButton(int c)
    {
        const TRect cell = g.CellRect(c, 0);
        QTest::mouseClick(g.Client(), Qt::LeftButton, {}, QPoint(cell.Right - 8, cell.Top + 5));
    }
    void ClickItem(QListWidget& list, const QString& text)
    {
        const auto items = list.findItems(text, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << qPrintable(text);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(items.front()).center());
    }
};

TEST_F(FilterLists, AReleaseOnTheButtonOpensTheValuesAndAPickFilters)
{
    ClickButton(1);
    TDropList* list = ops().FilterLists.List();
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(ops().Filtering.FilterCol, 1);
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    EXPECT_EQ(items.join(','), QStringLiteral("(All),blue,dark red,green,red"));
    EXPECT_EQ(list->currentRow(), 0);
    const TRect cell = g.CellRect(1, 0);
    // Under the button; the window system may add its frame.
    const QPoint at = g.Client()->mapFromGlobal(list->pos());
    EXPECT_NEAR(at.x(), cell.Right - 16, 2);
    EXPECT_NEAR(at.y(), cell.Top + 16, 2);

    ClickItem(*list, QStringLiteral("dark red"));
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(Shown(), QStringLiteral("dark red"));
    EXPECT_EQ(ops().Filtering.FilterCol, -1);

    ClickButton(1);
    ClickItem(*list, QStringLiteral("(All)"));
    EXPECT_EQ(Shown(), QStringLiteral("red,green,red,blue,dark red,green"));
}

TEST_F(FilterLists, AClickBesideTheButtonOpensNothing)
{
    const TRect cell = g.CellRect(1, 0);
    QTest::mouseClick(g.Client(), Qt::LeftButton, {}, QPoint(cell.Left + 5, cell.Top + 5));
    EXPECT_TRUE(ops().FilterLists.List() == nullptr || !ops().FilterLists.List()->isVisible());
    g.FilterDropDownAuto = false;
    ClickButton(1);
    EXPECT_TRUE(ops().FilterLists.List() == nullptr || !ops().FilterLists.List()->isVisible());
}

TEST_F(FilterLists, TheCheckListShowsTheConditionsAndFiltersOnEveryCheck)
{
    g.FilterDropDownCheck = true;
    ClickButton(1);
    TDropCheckList* list = ops().FilterLists.CheckList();
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(list->isVisible());
    list->findItems(QStringLiteral("blue"), Qt::MatchExactly).front()->setCheckState(Qt::Checked);
    EXPECT_EQ(Shown(), QStringLiteral("blue"));
    list->findItems(QStringLiteral("dark red"), Qt::MatchExactly).front()->setCheckState(Qt::Checked);
    EXPECT_EQ(Shown(), QStringLiteral("blue,dark red"));
    EXPECT_TRUE(list->isVisible());

    // Opened again, the list checks the values in force, a quoted one too.
    list->hide();
    ClickButton(1);
    EXPECT_EQ(list->CheckedIndexes(), (std::vector<int>{1, 2}));
}

// The lists take the font and colours of FilterDropDown, and with ColumnWidth the column's width
// under the cell's left edge.
TEST_F(FilterLists, TheListsTakeTheDropDownFontAndTheColumnWidth)
{
    g.FilterDropDown.Font = TFontDesc{QStringLiteral("Courier"), 14, fsBold, platform::clRed};
    g.FilterDropDown.Color = platform::clYellow;
    g.FilterDropDown.ColumnWidth = true;
    g.SetColWidths(1, 123);
    for (bool check : {false, true}) {
        g.FilterDropDownCheck = check;
        ClickButton(1);
        QListWidget* list = check ? static_cast<QListWidget*>(ops().FilterLists.CheckList())
                                  : static_cast<QListWidget*>(ops().FilterLists.List());
        ASSERT_NE(list, nullptr) << check;
        ASSERT_TRUE(list->isVisible()) << check;
        EXPECT_EQ(list->font().pixelSize(), 19) << check;  // 14 points at 96 pixels per inch
        EXPECT_TRUE(list->font().bold()) << check;
        EXPECT_EQ(list->palette().color(QPalette::Text), QColor(Qt::red)) << check;
        EXPECT_EQ(list->palette().color(QPalette::Base), QColor(Qt::yellow)) << check;
        const TRect cell = g.CellRect(1, 0);
        EXPECT_NEAR(list->width(), 123, 1) << check;
        EXPECT_NEAR(list->x(), g.Client()->mapToGlobal(QPoint(cell.Left, 0)).x(), 2) << check;
        list->hide();
    }
}

// A row inserted with the Insert key goes in among all rows, before the real row of the current
// one; the filter is applied again afterwards (the new empty row fails it).
TEST_F(FilterLists, InsertKeySwitchesTheFilterOffAroundTheNewRow)
{
    g.Navigation.AllowInsertRow = true;
    TFilterData& d = *g.Filter.Add();
    d.Column = 1;
    d.Condition = QStringLiteral("*red");
    ops().Filtering.SetFilterActive(true);
    ASSERT_EQ(Shown(), QStringLiteral("red,red,dark red"));
    int inserted = -1;
    g.OnAutoInsertRow = [&](TExtStringGrid*, int r) { inserted = r; };
    g.setFocus();
    g.MoveColRow(1, 3);  // the dark red row, real row 5
    QTest::keyClick(&g, Qt::Key_Insert);
    EXPECT_EQ(inserted, 5);
    EXPECT_TRUE(ops().Filtering.FilterActive());
    EXPECT_EQ(Shown(), QStringLiteral("red,red,dark red"));
    EXPECT_GE(g.Row(), g.FixedRows());
    EXPECT_LT(g.Row(), g.RowCount());
    ops().Filtering.SetFilterActive(false);
    EXPECT_EQ(Shown(), QStringLiteral("red,green,red,blue,,dark red,green"));
}

}  // namespace
