// A row scrolled into view while the search panel is shown comes above the panel, where the user
// sees it, not behind it.
#include <gtest/gtest.h>

#include "DataOpsSuite.h"
#include "grid/core/ExtStringGrid.h"
#include "support/ScreenView.h"

using namespace grid;
using namespace grid::dataops;
using testsupport::ScreenView;

namespace {

struct SearchScrollView : WithDataOps {};

TEST_F(SearchScrollView, ARowScrolledIntoViewIsNotHiddenByTheSearchPanel)
{
    const TColor marked = 0x3060C0;
    for (const int target : {9, 10, 25, 39}) {
        SCOPED_TRACE(target);
        TExtStringGrid g;
        g.SetColCount(3);
        g.SetRowCount(40);
        g.SetDefaultRowHeight(20);
        g.resize(300, 230);
        g.OnGetCellColor = [&](TExtStringGrid*, int r, int, TGridDrawState, TColor& brush, TFontDesc&) {
            if (r == target)
                brush = marked;
        };
        ScreenView screen(&g);
        g.SearchFooter.Visible = true;
        g.SearchFooter.OnChange();
        g.ScrollInView(1, target);
        const TRect cell = g.PlatformCellRect(1, target);
        ASSERT_FALSE(cell.IsEmpty());
        const int panelTop = g.ClientHeight() - TSearchPanel::ShownHeight;
        EXPECT_LE(cell.Bottom, panelTop + 2);
        // The row's own colour shows on the screen, a few pixels into a cell beside the current one.
        const TRect beside = g.PlatformCellRect(2, target);
        const QPoint inside((beside.Left + beside.Right) / 2, beside.Top + 4);
        EXPECT_EQ(screen.Pixel(inside), platform::ToQColor(marked).rgb() & 0xFFFFFF);
    }
}

}  // namespace
