#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "grid/core/ExtColumnGrid.h"
#include "support/GoldenImage.h"

using namespace grid;

namespace {

// A set-up table of 1025 rows: a row number, a check-box column, a name and a value.
void Fill(TExtColumnGrid& g)
{
    g.SetColCount(4);
    g.SetRowCount(1025);
    const char* headers[] = {"Nr", "On", "Name", "Value"};
    for (int c = 0; c < 4; ++c)
        g.Columns()[c]->SetHeader(QString::fromLatin1(headers[c]));
    g.ShowColumnHeaders();
    g.AddCheckBoxColumn(1, false, true);
    for (int r = 1; r < g.RowCount(); ++r) {
        g.SetCells(0, r, QString::number(r));
        g.SetCells(1, r, r % 3 == 0 ? QStringLiteral("Y") : QStringLiteral("N"));
        g.SetCells(2, r, QStringLiteral("Topic %1").arg(r));
        g.SetCells(3, r, QString::number(r * 4));
    }
    g.SetColWidths(0, 40);
    g.SetColWidths(1, 30);
    g.SetColWidths(2, 120);
    g.SetColWidths(3, 90);
}

}  // namespace

TEST(GridWindowRender, A1025RowColumnGridScrollsToTheEndAndBackSizesAndRepaints)
{
    TExtColumnGrid g;
    Fill(g);
    g.Options |= goColSizing;
    g.resize(260, 180);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));

    QScrollBar* v = g.verticalScrollBar();
    v->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(g.TopRow(), g.MaxTopRow());
    const TRect last = g.PlatformCellRect(2, 1024);
    ASSERT_FALSE(last.IsEmpty()) << "the last row shows at the end";
    EXPECT_LE(last.Bottom, g.ClientHeight());
    v->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(g.TopRow(), 1);

    // Wider: the horizontal bar goes, the last column shows whole.
    g.resize(320, 180);
    EXPECT_FALSE(g.horizontalScrollBar()->isVisible());
    EXPECT_LE(g.PlatformCellRect(3, 0).Right, g.ClientWidth());
    v->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(g.TopRow(), 1 + g.VisibleRowCount());
    QApplication::processEvents();
    EXPECT_TRUE(v->isVisible());

    QImage image(g.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    g.render(&image);
    EXPECT_TRUE(testsupport::MatchesGolden(image, TEST_DATA_DIR "/golden/grid_window_1025_rows.png"));
}
