#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "DataOpsSuite.h"
#include "grid/core/GridPaint.h"
#include "support/GoldenImage.h"

using namespace grid;
using namespace grid::dataops;

namespace {

// A shown grid with its search footer; column 1 holds fruit names, the rest stays empty.
struct SearchFooter : WithDataOps {
    TExtStringGrid g;
    std::vector<TSearchAction> actions;
    void SetUp() override
    {
        WithLayers(g);
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

// The captions' accelerators press the buttons from the search edit only while the buttons take
// clicks: off while the edit is empty.
TEST_F(SearchFooter, AcceleratorsFollowTheButtons)
{
    g.SearchFooter.FindNextCaption = QStringLiteral("Find &next");
    g.SearchFooter.FindPrevCaption = QStringLiteral("Find &previous");
    g.SearchFooter.HighLightCaption = QStringLiteral("&Highlight");
    g.SearchFooter.OnChange();
    g.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&g));
    edit().setFocus();
    auto steps_taken = [&] { return std::count(actions.begin(), actions.end(), saFindNext) +
                                    std::count(actions.begin(), actions.end(), saFindPrevious); };
    QTest::keyClick(&edit(), Qt::Key_N, Qt::AltModifier);  // unclaimed, the edit types it
    EXPECT_EQ(steps_taken(), 0);
    edit().clear();
    QTest::keyClicks(&edit(), QStringLiteral("pe"));
    ASSERT_EQ(g.Row(), 2);  // pear
    const struct {
        Qt::Key Key;
        int Row;
        bool Highlighted;
    } steps[] = {{Qt::Key_N, 6, false}, {Qt::Key_N, 8, false}, {Qt::Key_P, 6, false},
                 {Qt::Key_H, 6, true},  {Qt::Key_H, 6, false}};
    for (const auto& s : steps) {
        QTest::keyClick(&edit(), s.Key, Qt::AltModifier);
        EXPECT_EQ(g.Row(), s.Row) << char(s.Key);
        EXPECT_EQ(panel().HiliteButton->isChecked(), s.Highlighted) << char(s.Key);
        EXPECT_EQ(g.Cells(1, 8) != QStringLiteral("peach"), s.Highlighted) << char(s.Key);
    }
    EXPECT_EQ(edit().text(), QStringLiteral("pe"));
    const auto before = steps_taken();
    edit().clear();
    QTest::keyClick(&edit(), Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(steps_taken(), before);
}

// OnSearchEditChange sees every change first and may take the search over.
TEST_F(SearchFooter, TheEditChangeEventMayTakeTheSearchOver)
{
    QStringList seen;
    bool ownSearch = true;
    ops().Searching.OnSearchEditChange = [&](TExtStringGrid*, const QString& value, bool& defaultSearch) {
        seen << value;
        defaultSearch = !ownSearch;
    };
    QTest::keyClicks(&edit(), QStringLiteral("ki"));
    EXPECT_EQ(seen.join(','), QStringLiteral("k,ki"));
    EXPECT_EQ(g.Row(), 1);  // the grid did not search
    EXPECT_TRUE(actions.empty());
    ownSearch = false;
    QTest::keyClicks(&edit(), QStringLiteral("w"));
    EXPECT_EQ(g.Row(), 3);  // kiwi
    EXPECT_EQ(actions.size(), 1u);
}

// The footer's font and its colour reach the edit and the check box too; a grid that follows the
// theme, or whose style is XP or themed, has flat buttons.
TEST_F(SearchFooter, FontColourAndThemedButtonLook)
{
    g.SearchFooter.Font = TFontDesc{QStringLiteral("Courier"), 12, fsItalic, platform::clBlue};
    const struct {
        TControlStyle Style;
        bool Theme, Flat;
    } looks[] = {{csTheme, false, true}, {csWinXP, true, true}, {csClassic, true, true}, {csClassic, false, false}};
    for (const auto& l : looks) {
        g.ControlLook.ControlStyle = l.Style;
        g.SetAutoThemeAdapt(l.Theme);
        g.SearchFooter.OnChange();
        for (QWidget* w : std::initializer_list<QWidget*>{&edit(), panel().MatchCase}) {
            EXPECT_EQ(w->font().pixelSize(), 16);
            EXPECT_TRUE(w->font().italic());
        }
        EXPECT_EQ(panel().MatchCase->palette().color(QPalette::WindowText), QColor(Qt::blue));
        EXPECT_EQ(panel().ForwardButton->autoRaise(), l.Flat) << int(l.Style) << l.Theme;
    }
}

// The footer as it looks: a gradient strip under the grid line with the close cross, the edit, the
// three buttons in the footer's font and the match-case box, after a search that found nothing.
TEST_F(SearchFooter, LooksAsDrawn)
{
    g.resize(540, 200);
    g.GridLineColor = platform::clGray;
    g.SearchFooter.Color = platform::clWhite;
    g.SearchFooter.ColorTo = 0xE0C080;
    g.SearchFooter.Font = TFontDesc{QStringLiteral("Tahoma"), 8, fsItalic, platform::clNavy};
    g.SearchFooter.FindNextCaption = QStringLiteral("Find &next");
    g.SearchFooter.FindPrevCaption = QStringLiteral("Find &previous");
    g.SearchFooter.HighLightCaption = QStringLiteral("&Highlight");
    g.SearchFooter.MatchCaseCaption = QStringLiteral("Match case");
    g.ControlLook.ControlStyle = csClassic;
    g.SearchFooter.OnChange();
    QTest::keyClicks(&edit(), QStringLiteral("zz"));
    edit().setCursorPosition(0);
    g.setFocus();
    EXPECT_TRUE(testsupport::MatchesGolden(panel().grab().toImage(), TEST_DATA_DIR "/golden/search_footer.png",
                                           {40, 0.02}));
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
