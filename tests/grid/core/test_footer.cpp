#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>

#include "grid/core/ExtColumnGrid.h"
#include "grid/core/ExtStringGrid.h"
#include "platform/TCanvas.h"
#include "support/GoldenImage.h"
#include "test_paint_support.h"

using namespace grid;

namespace {

// Three data rows over a fixed row, with the footer row last.
class Footer : public ::testing::Test {
protected:
    void SetUp() override
    {
        g.SetColCount(3);
        g.SetRowCount(5);
        const char* values[] = {"4", "1.5", "x"};
        for (int r = 1; r <= 3; ++r)
            g.SetCells(1, r, values[r - 1]);
        g.SetCells(2, 1, "a");
        g.SetCells(2, 2, "a");
        g.SetCells(2, 3, "b");
        g.FloatingFooter.SetVisible(true);
    }
    QString FooterText(int c) { return g.Cells(c, g.RowCount() - 1); }
    TExtStringGrid g;
};

TEST_F(Footer, VisibleInTheLastRowStyleMakesTheLastRowTheFooterRow)
{
    EXPECT_EQ(g.FixedFooters, 1);
    EXPECT_TRUE(g.HideLastRow);
    EXPECT_TRUE(g.FooterPanel->Visible);
    EXPECT_EQ(g.FooterPanel->Height, g.DefaultRowHeight() - 1);
    g.FloatingFooter.SetVisible(false);
    EXPECT_EQ(g.FixedFooters, 0);
    EXPECT_FALSE(g.HideLastRow);
    EXPECT_EQ(g.FooterPanel->Height, 0);
    g.FloatingFooter.SetFooterStyle(fsColumnPreview);
    g.FloatingFooter.SetVisible(true);
    EXPECT_EQ(g.FixedFooters, 0);
    EXPECT_FALSE(g.HideLastRow);
}

TEST_F(Footer, ANewDefaultRowHeightResizesOnlyAShownPanel)
{
    g.SetDefaultRowHeight(30);
    EXPECT_EQ(g.FloatingFooter.Height(), 30);
    EXPECT_EQ(g.FooterPanel->Height, 30);
    g.FloatingFooter.SetVisible(false);
    g.SetDefaultRowHeight(25);
    EXPECT_EQ(g.FooterPanel->Height, 0);
    g.FloatingFooter.SetHeight(0);
    g.FloatingFooter.SetVisible(true);
    EXPECT_GE(g.FooterPanel->Height, 0);
}

TEST_F(Footer, EachCalculationWritesItsValueAndATextThatIsNoNumberCountsAsZero)
{
    struct Case {
        TColumnCalcType calc;
        int col;
        const char* expected;
    };
    const Case cases[] = {
        {acSUM, 1, "5.50"},      {acAVG, 1, "1.83"},   {acCOUNT, 1, "3"},    {acMIN, 1, "0.00"},
        {acMAX, 1, "4.00"},      {acDISTINCT, 2, "2.00"}, {acSTDDEV, 1, "1.65"}, {acSPREAD, 1, "kept"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.calc));
        g.SetCells(c.col, 4, "kept");
        g.FloatingFooter.SetColumnCalc(c.col, c.calc);
        EXPECT_EQ(g.FloatingFooter.GetColumnCalc(c.col), c.calc);
        EXPECT_EQ(FooterText(c.col), c.expected);
    }
}

TEST_F(Footer, CellChangesRecalculateAndNothingRunsWhileDisabledOrHidden)
{
    g.FloatingFooter.SetColumnCalc(1, acSUM);
    g.SetCells(1, 3, "10");
    g.CellsChanged({1, 3, 1, 3});
    EXPECT_EQ(FooterText(1), "15.50");

    g.FloatingFooter.EnableCalculation = false;
    g.SetCells(1, 3, "0");
    g.CalcFooter(-1);
    EXPECT_EQ(FooterText(1), "15.50");

    g.FloatingFooter.EnableCalculation = true;
    g.FloatingFooter.SetVisible(false);
    g.CalcFooter(1);
    EXPECT_EQ(FooterText(1), "15.50");
    g.FloatingFooter.SetVisible(true);
    g.CalcFooter(1);
    EXPECT_EQ(FooterText(1), "5.50");
}

TEST_F(Footer, HiddenRowsCountOnlyWithCalculateHiddenRows)
{
    g.FloatingFooter.SetColumnCalc(1, acSUM);
    g.FloatingFooter.SetColumnCalc(2, acCOUNT);
    g.HideRow(1);
    g.CalcFooter(-1);
    EXPECT_EQ(FooterText(1), "5.50");
    EXPECT_EQ(FooterText(2), "3");
    g.FloatingFooter.CalculateHiddenRows = false;
    g.CalcFooter(-1);
    EXPECT_EQ(FooterText(1), "1.50");
    EXPECT_EQ(FooterText(2), "2");
}

TEST_F(Footer, ACustomValueComesFromTheGridsEventBeforeTheFootersOwn)
{
    std::vector<std::pair<int, int>> asked;
    g.FloatingFooter.OnCalcFooter = [&](TExtStringGrid*, int, int, QString& v) { v = "footer"; };
    g.SetCells(1, 4, "old");
    g.FloatingFooter.SetColumnCalc(1, acCUSTOM);
    EXPECT_EQ(FooterText(1), "footer");

    g.OnFooterCalc = [&](TExtStringGrid*, int c, int r, QString& v) {
        asked.push_back({c, r});
        v = "grid";
    };
    g.CalcFooter(1);
    EXPECT_EQ(FooterText(1), "grid");
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{1, 4}}));

    g.OnFooterCalc = nullptr;
    g.FloatingFooter.OnCalcFooter = nullptr;
    g.CalcFooter(1);
    EXPECT_EQ(FooterText(1), "");
}

TEST(FooterTemplate, TagsTakeTheRowsCellsAndBadTagsAreDropped)
{
    const auto cell = [](int c) { return c == 2 ? QStringLiteral("17") : QStringLiteral("c%1").arg(c); };
    struct Case {
        const char* tmpl;
        const char* expected;
    };
    const Case cases[] = {
        {"<#2> pcs", "17 pcs"},
        {"no tags", "no tags"},
        {"a<#x>b", "ab"},
        {"<#1>/<#3>", "c1/c3"},
        {"open <#2", "open <#2"},
        {"<#2> and <#", "17 and <#"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExpandFooterTemplate(c.tmpl, cell), c.expected) << c.tmpl;
}

TEST_F(Footer, ClicksAndHintsNameTheColumnUnderTheMouse)
{
    g.SetColCount(8);
    g.resize(200, 200);
    g.SetLeftCol(3);
    std::vector<std::pair<int, int>> clicked;
    int clicks = 0;
    g.OnClick = [&](TExtStringGrid*) { ++clicks; };
    g.OnClickCell = [&](TExtStringGrid*, int r, int c) { clicked.push_back({r, c}); };
    const int fixed = g.ColWidths(0);
    const int third = fixed + g.ColWidths(3) + g.ColWidths(4) + 2;
    g.FooterPanel->MouseUp(third);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(clicked, (std::vector<std::pair<int, int>>{{g.RowCount() - 1, 5}}));
    EXPECT_EQ(g.FooterPanel->ColumnAt(1), 0);
    EXPECT_EQ(g.FooterPanel->ColumnAt(100000), -1);

    g.OnGridHint = [](TExtStringGrid*, int, int c, QString& h) { h = QStringLiteral("col %1").arg(c); };
    QString hint;
    EXPECT_FALSE(g.FooterPanel->HintAt(third, hint));
    EXPECT_EQ(g.FooterPanel->FLastHintX, -1);
    g.FloatingFooter.SetShowHint(true);
    hint.clear();
    EXPECT_TRUE(g.FooterPanel->HintAt(third, hint));
    EXPECT_EQ(hint, "col 5");
    g.FooterPanel->MouseMove(third);
    EXPECT_FALSE(g.FooterPanel->HintCancelled);
    g.FooterPanel->MouseMove(1);
    EXPECT_TRUE(g.FooterPanel->HintCancelled);
    EXPECT_EQ(g.FooterPanel->FLastHintX, 0);
    g.FooterPanel->MouseLeave();
    EXPECT_EQ(g.FooterPanel->FLastHintX, -1);
}

// The shown panel repaints in the new colour as soon as the colour changes.
TEST_F(Footer, ANewColourRepaintsTheShownPanel)
{
    g.resize(240, 140);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    QWidget* panel = g.FooterPanel->Window();
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(panel->isVisible());
    struct Counter : QObject {
        int Count = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            Count += e->type() == QEvent::Paint;
            return false;
        }
    } paints;
    panel->installEventFilter(&paints);
    QApplication::processEvents();
    paints.Count = 0;
    g.FloatingFooter.SetColor(0x0000FF);
    QApplication::processEvents();
    EXPECT_GT(paints.Count, 0);
    const QImage shown = panel->grab().toImage();
    bool red = false;
    for (int y = 0; y < shown.height() && !red; ++y)
        for (int x = 0; x < shown.width() && !red; ++x)
            red = shown.pixelColor(x, y) == QColor(255, 0, 0);
    EXPECT_TRUE(red) << "the panel shows the new colour";
}

// A new grid colour repaints the grid and the shown footer panel, which paints in it past the
// columns; assigning the colour the grid has already repaints nothing.
TEST_F(Footer, ANewGridColourRepaintsTheShownPanel)
{
    g.resize(400, 140);  // wider than the three columns
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    QWidget* panel = g.FooterPanel->Window();
    ASSERT_NE(panel, nullptr);
    struct Counter : QObject {
        int Count = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            Count += e->type() == QEvent::Paint;
            return false;
        }
    } panelPaints, gridPaints;
    panel->installEventFilter(&panelPaints);
    g.viewport()->installEventFilter(&gridPaints);
    QApplication::processEvents();

    panelPaints.Count = gridPaints.Count = 0;
    g.Color = TColor(0x00FFFF);
    QApplication::processEvents();
    EXPECT_GT(panelPaints.Count, 0);
    EXPECT_GT(gridPaints.Count, 0);
    const QImage shown = panel->grab().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() - 5, shown.height() / 2), QColor(255, 255, 0));

    panelPaints.Count = gridPaints.Count = 0;
    g.Color = TColor(0x00FFFF);
    QApplication::processEvents();
    EXPECT_EQ(panelPaints.Count, 0);
    EXPECT_EQ(gridPaints.Count, 0);
}

TEST_F(Footer, AssignCopiesTheSettingsButNotHeightBorderOrCalculation)
{
    TExtStringGrid other;
    other.FloatingFooter.SetColor(0x123456);
    other.FloatingFooter.SetCustomTemplate("<#1>");
    other.FloatingFooter.SetColumn(2);
    other.FloatingFooter.SetBorderColor(0x010101);
    other.FloatingFooter.EnableCalculation = false;
    other.FloatingFooter.SetVisible(false);
    g.FloatingFooter.Assign(other.FloatingFooter);
    EXPECT_EQ(g.FloatingFooter.Color(), 0x123456u);
    EXPECT_EQ(g.FloatingFooter.CustomTemplate(), "<#1>");
    EXPECT_EQ(g.FloatingFooter.Column(), 2);
    EXPECT_EQ(g.FloatingFooter.BorderColor(), clNone);
    EXPECT_TRUE(g.FloatingFooter.EnableCalculation);
    EXPECT_FALSE(g.FloatingFooter.Visible());
    EXPECT_EQ(g.FixedFooters, 0);
}

TEST_F(Footer, CustomPaintAndPreviewStylesPaintThroughTheEvent)
{
    QImage image(200, 22, QImage::Format_RGB32);
    image.fill(Qt::black);
    std::vector<std::pair<int, TRect>> painted;
    g.OnFooterPaint = [&](TExtStringGrid*, int column, platform::TCanvas&, TRect r) {
        painted.push_back({column, r});
    };
    g.FloatingFooter.SetColumn(2);
    g.FloatingFooter.SetFooterStyle(fsCustomPaint);
    {
        platform::TCanvas canvas(&image);
        g.FooterPanel->Paint(canvas, 200, 22);
        g.FloatingFooter.SetFooterStyle(fsColumnPreview);
        g.FooterPanel->Paint(canvas, 200, 22);
    }
    ASSERT_EQ(painted.size(), 2u);
    EXPECT_EQ(painted[0].first, 2);
    EXPECT_EQ(painted[0].second, (TRect{0, 0, 200, 22}));
    EXPECT_EQ(painted[1].second.Right, g.ColWidths(0) + g.ColWidths(1) + g.ColWidths(2));
}

}  // namespace

namespace {

// A small price list whose footer sums the quantity and amount columns.
void FillPriceList(TExtColumnGrid& g)
{
    painttest::Layout(g, 4, 6, 250, 6 * 22 + 4);
    g.SetColWidths(0, 20);
    g.SetColWidths(1, 90);
    const QStringList headers{"", "Item", "Qty", "Amount"};
    for (int c = 1; c < 4; ++c)
        g.SetCells(c, 0, headers[c]);
    const char* rows[][3] = {{"Cable", "4", "12.50"}, {"Relay", "2", "7.25"}, {"Fuse", "10", "3"},
                             {"Label", "x", "1.75"}};
    for (int r = 1; r <= 4; ++r)
        for (int c = 1; c < 4; ++c)
            g.SetCells(c, r, rows[r - 1][c - 1]);
    g.SetAlignments(2, 5, taRightJustify);
    g.SetAlignments(3, 5, taRightJustify);
    g.SetCells(1, 5, "Total");
    g.FloatingFooter.SetVisible(true);
    g.FloatingFooter.SetColumnCalc(2, acSUM);
    g.FloatingFooter.SetColumnCalc(3, acSUM);
}

}  // namespace

TEST(FooterGolden, AColumnGridWithColumnSums)
{
    TExtColumnGrid g;
    FillPriceList(g);
    EXPECT_EQ(g.Cells(2, 5), "16.00");
    EXPECT_EQ(g.Cells(3, 5), "24.50");
    ASSERT_NE(g.FooterPanel->Window(), nullptr);
    EXPECT_EQ(g.FooterPanel->Window()->geometry().bottom(), g.ClientHeight() - 1);
    EXPECT_TRUE(testsupport::MatchesGolden(painttest::Render(g), TEST_DATA_DIR "/golden/footer_column_sums.png"));
}
