#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "DataOpsSuite.h"
#include "grid/core/GridPaint.h"

using namespace grid;
using namespace grid::dataops;

namespace {

// A shown grid with its search footer; column 1 holds fruit names, the rest stays empty.
struct SearchFooter : WithDataOps {
    TExtStringGrid g;
    std::vector<TSearchAction> actions;
    void SetUp() override
    {
        g.SetColCount(3);
        g.SetRowCount(9);
        const char* names[] = {"apple", "pear", "kiwi", "plum", "apricot", "Pearl", "fig", "peach"};
        for (int r = 1; r < 9; ++r)
            g.SetCells(1, r, QString::fromLatin1(names[r - 1]));
        g.resize(400, 300);
        g.show();
        g.SearchFooter.Visible = true;
        g.SearchFooter.OnChange();
        ops().Searching.OnSearchFooterAction = [this](TExtStringGrid*, const QString&, int, int, TSearchAction a) {
            actions.push_back(a);
        };
        g.GotoCell(2, 1);
    }
    TGridDataOperations& ops() { return *DataOps(g); }
    TSearchPanelWindow& panel() { return *ops().Searching.Panel(); }
    QLineEdit& edit() { return *panel().EditControl; }
};

TEST_F(SearchFooter, ThePanelShowsAtTheGridsFootWithItsButtonsOffUntilTyped)
{
    ASSERT_TRUE(panel().isVisible());
    EXPECT_EQ(panel().height(), 32);
    EXPECT_EQ(panel().geometry().bottom(), g.ClientHeight() - 1);
    EXPECT_FALSE(panel().ForwardButton->isEnabled());
    EXPECT_FALSE(panel().BackwardButton->isEnabled());
    EXPECT_FALSE(panel().HiliteButton->isEnabled());
    QTest::keyClick(&edit(), Qt::Key_P);
    EXPECT_TRUE(panel().ForwardButton->isEnabled());
    EXPECT_TRUE(panel().BackwardButton->isEnabled());
    EXPECT_TRUE(panel().HiliteButton->isEnabled());

    QTest::mouseClick(panel().ExitButton, Qt::LeftButton);
    EXPECT_FALSE(g.SearchFooter.Visible);
    EXPECT_FALSE(panel().isVisible());
}

TEST_F(SearchFooter, TypingMovesToTheFirstMatchAndRedMeansNotFound)
{
    edit().setFocus();
    QTest::keyClick(&edit(), Qt::Key_P);
    EXPECT_EQ(g.Row(), 1);  // apple
    QTest::keyClick(&edit(), Qt::Key_E);
    EXPECT_EQ(g.Row(), 2);  // pear
    QTest::keyClick(&edit(), Qt::Key_A);
    EXPECT_EQ(g.Row(), 2);
    QTest::keyClick(&edit(), Qt::Key_C);
    EXPECT_EQ(g.Row(), 8);  // peach
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(panel().EditColor(), 0xFF000005u);
    QTest::keyClick(&edit(), Qt::Key_X);
    EXPECT_EQ(panel().EditColor(), 0x0000FFu);
    EXPECT_EQ(edit().palette().color(QPalette::Base), QColor(Qt::red));
    EXPECT_EQ(g.Row(), 8);
    edit().clear();
    EXPECT_EQ(panel().EditColor(), 0xFF000005u);
    EXPECT_NE(edit().palette().color(QPalette::Base), QColor(Qt::red));
    EXPECT_EQ(actions.front(), saFindFirst);
}

TEST_F(SearchFooter, EnterFindsNextCtrlEnterPrevious)
{
    QTest::keyClicks(&edit(), QStringLiteral("pe"));
    EXPECT_EQ(g.Row(), 2);  // pear
    QTest::keyClick(&edit(), Qt::Key_Return);
    EXPECT_EQ(g.Row(), 6);  // Pearl, any case
    QTest::mouseClick(panel().ForwardButton, Qt::LeftButton);
    EXPECT_EQ(g.Row(), 8);  // peach
    QTest::keyClick(&edit(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(g.Row(), 6);
    EXPECT_EQ(edit().text(), QStringLiteral("pe"));  // neither key types a line break
    EXPECT_EQ(actions.back(), saFindPrevious);

    // Matching case skips Pearl.
    panel().MatchCase->setChecked(true);
    QTest::mouseClick(panel().BackwardButton, Qt::LeftButton);
    EXPECT_EQ(g.Row(), 2);
}

TEST_F(SearchFooter, WithoutAutoSearchAChangedTextStartsAgainAtTheFirstCell)
{
    g.SearchFooter.AutoSearch = false;
    QTest::keyClicks(&edit(), QStringLiteral("ap"));
    EXPECT_EQ(g.Row(), 1);  // typing alone does not move
    g.GotoCell(2, 4);
    QTest::keyClick(&edit(), Qt::Key_Return);
    EXPECT_EQ(g.Row(), 1);  // apple
    QTest::keyClick(&edit(), Qt::Key_Return);
    EXPECT_EQ(g.Row(), 5);  // apricot
    edit().setText(QStringLiteral("pl"));
    QTest::keyClick(&edit(), Qt::Key_Return);
    EXPECT_EQ(g.Row(), 1);  // apple again, from the first cell
}

TEST_F(SearchFooter, HighlightMarksEveryOccurrenceUntilReleased)
{
    QTest::keyClicks(&edit(), QStringLiteral("pe"));
    QTest::mouseClick(panel().HiliteButton, Qt::LeftButton);
    ASSERT_TRUE(panel().HiliteButton->isChecked());
    EXPECT_NE(g.Cells(1, 2), QStringLiteral("pear"));
    EXPECT_NE(g.Cells(1, 8), QStringLiteral("peach"));
    EXPECT_EQ(g.Cells(1, 3), QStringLiteral("kiwi"));
    // Typing on moves the highlight to the new text.
    QTest::keyClicks(&edit(), QStringLiteral("ar"));
    EXPECT_NE(g.Cells(1, 6), QStringLiteral("Pearl"));
    EXPECT_EQ(g.Cells(1, 8), QStringLiteral("peach"));
    EXPECT_EQ(g.Row(), 2);
    QTest::mouseClick(panel().HiliteButton, Qt::LeftButton);
    EXPECT_EQ(g.Cells(1, 2), QStringLiteral("pear"));
    EXPECT_EQ(g.Cells(1, 8), QStringLiteral("peach"));
}

TEST_F(SearchFooter, CtrlFFromTheGridFocusesTheSearchEdit)
{
    QApplication::setActiveWindow(&g);
    g.setFocus();
    QTest::keyClick(&g, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(edit().hasFocus());
    g.setFocus();
    g.SearchFooter.Visible = false;
    g.SearchFooter.OnChange();
    QTest::keyClick(&g, Qt::Key_F, Qt::ControlModifier);
    EXPECT_FALSE(edit().hasFocus());
}

}  // namespace

// Hiding the footer while its highlight is down takes the marks away and leaves no panel height.
TEST_F(SearchFooter, HidingWithTheHighlightDownRemovesTheMarks)
{
    QTest::keyClicks(&edit(), QStringLiteral("pe"));
    QTest::mouseClick(panel().HiliteButton, Qt::LeftButton);
    ASSERT_NE(g.Cells(1, 2), QStringLiteral("pear"));
    g.SearchFooter.Visible = false;
    g.SearchFooter.OnChange();
    EXPECT_EQ(g.Cells(1, 2), QStringLiteral("pear"));
    EXPECT_EQ(g.Cells(1, 8), QStringLiteral("peach"));
    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(g.SearchPanel->Bounds.Bottom - g.SearchPanel->Bounds.Top, 0);
}

// The settings' parts, hints, layout and button look reach the panel at every change.
TEST_F(SearchFooter, SettingsReachThePanel)
{
    TSearchFooter& s = g.SearchFooter;
    s.ShowHighLight = false;
    s.ShowMatchCase = true;
    s.HintFindNext = QStringLiteral("next <b>one</b>");
    s.HintFindPrev.clear();
    s.Font.Size = 13;
    g.ControlLook.ControlStyle = csClassic;
    s.OnChange();
    EXPECT_FALSE(panel().HiliteButton->isVisibleTo(&panel()));
    EXPECT_EQ(panel().HiliteButton->height(), 0);
    EXPECT_EQ(panel().ForwardButton->height(), 23);
    EXPECT_EQ(panel().MatchCase->x(), 330);
    EXPECT_EQ(panel().MatchCase->height(), 18);
    EXPECT_TRUE(panel().BackwardButton->toolTip().isEmpty());
    EXPECT_TRUE(panel().ForwardButton->toolTip().contains(QStringLiteral("&lt;b&gt;")));
    EXPECT_FALSE(panel().ForwardButton->autoRaise());
    EXPECT_EQ(panel().font(), QFont(CanvasFont(s.Font)));

    s.ShowHighLight = true;
    s.ShowMatchCase = false;
    g.ControlLook.ControlStyle = csFlat;
    s.OnChange();
    EXPECT_EQ(panel().MatchCase->x(), 425);
    EXPECT_EQ(panel().MatchCase->height(), 0);
    EXPECT_EQ(panel().HiliteButton->height(), 23);
    EXPECT_TRUE(panel().ForwardButton->autoRaise());
    EXPECT_TRUE(panel().HiliteButton->autoRaise());
}

// Showing the footer scrolls so that the last row ends above the panel.
TEST_F(SearchFooter, ShowingScrollsTheLastRowAboveThePanel)
{
    g.SearchFooter.Visible = false;
    g.SearchFooter.OnChange();
    g.SetRowCount(12);
    g.resize(400, g.DefaultRowHeight() * 12 + 8);
    g.GotoCell(1, 11);
    g.SetTopRow(1);
    g.SearchFooter.Visible = true;
    g.SearchFooter.OnChange();
    const TRect last = g.CellRect(1, 11);
    EXPECT_LE(last.Bottom, g.ClientHeight() - TSearchPanel::ShownHeight + 2);
}
