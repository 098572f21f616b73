// The search footer's panel in a window: its find buttons wait for a search text, Enter and
// Ctrl+Enter find forward and backward without breaking the line, and its buttons report clicks.
#include <QTest>
#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridSearchPanel.h"

using namespace grid;

namespace {

struct SearchPanel : ::testing::Test {
    TExtStringGrid g;
    std::vector<std::string> log;
    TSearchPanelWindow* w = nullptr;

    void SetUp() override
    {
        g.SearchFooter.FindNextCaption = QStringLiteral("Find &next");
        g.SearchFooter.ShowHighLight = true;
        g.SearchFooter.Visible = true;
        g.resize(500, 200);
        g.UpdateSearchPanel();
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
        w = g.SearchPanel->Window();
        ASSERT_NE(w, nullptr);
        TSearchPanel& p = *g.SearchPanel;
        p.OnForwardClick = [this] { log.push_back("forward"); };
        p.OnBackwardClick = [this] { log.push_back("backward"); };
        p.OnExitClick = [this] { log.push_back("exit"); };
        p.OnHighlightClick = [this] { log.push_back("highlight"); };
        p.OnEditChange = [this] { log.push_back("change"); };
    }
    bool FindButtonsEnabled()
    {
        return w->ForwardButton->isEnabled() && w->BackwardButton->isEnabled() && w->HiliteButton->isEnabled() &&
               g.SearchPanel->ForwardButton.Enabled;
    }
};

TEST_F(SearchPanel, DocksAtTheFootWithItsControlsInPlace)
{
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->geometry(), QRect(0, g.ClientHeight() - 32, g.ClientWidth(), 32));
    EXPECT_EQ(w->ForwardButton->geometry(), QRect(140, 5, 90, 23));
    EXPECT_EQ(w->MatchCase->x(), 425);
    EXPECT_EQ(w->ForwardButton->text(), QStringLiteral("Find next"));  // the grid takes Alt+N itself
    g.SearchFooter.ShowHighLight = false;
    g.UpdateSearchPanel();
    EXPECT_EQ(w->MatchCase->x(), 330);
    g.SearchFooter.Visible = false;
    g.UpdateSearchPanel();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(SearchPanel, FindButtonsWaitForASearchText)
{
    EXPECT_FALSE(w->ForwardButton->isEnabled());
    EXPECT_FALSE(w->BackwardButton->isEnabled());
    EXPECT_FALSE(w->HiliteButton->isEnabled());
    QTest::keyClick(w->EditControl, Qt::Key_A);
    EXPECT_TRUE(FindButtonsEnabled());
    EXPECT_EQ(log, std::vector<std::string>{"change"});
    QTest::keyClick(w->EditControl, Qt::Key_Backspace);
    EXPECT_FALSE(w->ForwardButton->isEnabled());
}

TEST_F(SearchPanel, EnterFindsForwardAndCtrlEnterBackward)
{
    QTest::keyClicks(w->EditControl, QStringLiteral("ab"));
    log.clear();
    QTest::keyClick(w->EditControl, Qt::Key_Return);
    QTest::keyClick(w->EditControl, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(w->EditControl, Qt::Key_Enter);
    EXPECT_EQ(log, (std::vector<std::string>{"forward", "backward", "forward"}));
    EXPECT_EQ(w->EditControl->text(), QStringLiteral("ab"));
}

TEST_F(SearchPanel, ButtonClicksAndTheHighlightToggle)
{
    QTest::keyClicks(w->EditControl, QStringLiteral("x"));
    log.clear();
    QTest::mouseClick(w->ExitButton, Qt::LeftButton);
    QTest::mouseClick(w->HiliteButton, Qt::LeftButton);
    EXPECT_TRUE(g.SearchPanel->HighlightDown());
    QTest::mouseClick(w->BackwardButton, Qt::LeftButton);
    EXPECT_EQ(log, (std::vector<std::string>{"exit", "highlight", "backward"}));
    w->MatchCase->setChecked(true);
    EXPECT_TRUE(g.SearchPanel->MatchCase());
    EXPECT_EQ(g.SearchPanel->Text(), QStringLiteral("x"));
}

}  // namespace
