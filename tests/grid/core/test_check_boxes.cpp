#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridGraphicsDraw.h"

using namespace grid;

namespace {

struct TChecks : ::testing::Test {
    TExtStringGrid g;
    std::vector<std::tuple<char, int, bool>> events;  // 'c' change, 'k' click
    void SetUp() override
    {
        g.OnCheckBoxChange = [this](TExtStringGrid*, int, int r, bool s) { events.emplace_back('c', r, s); };
        g.OnCheckBoxClick = [this](TExtStringGrid*, int, int r, bool s) { events.emplace_back('k', r, s); };
    }
    // The user path of a click: toggle, then report the new state.
    void Click(int c, int r)
    {
        if (g.DoToggleCheck(c, r, true)) {
            bool s = false;
            g.GetCheckBoxState(c, g.DisplToRealRow(r), s);
            g.CheckBoxClick(c, r, s);
        }
    }
};

TEST_F(TChecks, DataCheckBoxStateIsTheExactCellText)
{
    const struct {
        const char* Text;
        bool Checked;
        const char* AfterToggle;
    } cases[] = {{"Y", true, "N"}, {"N", false, "Y"}, {"", false, "Y"}, {"y", false, "Y"},
                 {"Y ", false, "Y"}, {" Y", false, "Y"}, {"other", false, "Y"}};
    for (const auto& c : cases) {
        g.AddCheckBox(2, 1, false, true);
        g.SetCells(2, 1, QString::fromLatin1(c.Text));
        EXPECT_EQ(g.IsChecked(2, 1), c.Checked) << c.Text;
        g.ToggleCheckBox(2, 1);
        EXPECT_EQ(g.Cells(2, 1), QString::fromLatin1(c.AfterToggle)) << c.Text;
    }
}

TEST_F(TChecks, AddingNormalisesWithTheCellsOwnCheckTexts)
{
    // The cell's check texts come from the per-cell query, here "1" and "0".
    g.OnGetCheckTrue = [](TExtStringGrid*, int, int, QString& v) { v = QStringLiteral("1"); };
    g.OnGetCheckFalse = [](TExtStringGrid*, int, int, QString& v) { v = QStringLiteral("0"); };
    const struct {
        const char* Before;
        bool State;
        const char* After;
    } cases[] = {{"1", false, "1"}, {"0", true, "0"}, {"Y", false, "0"}, {"", true, "1"}, {"x", false, "0"}};
    int row = 1;
    for (const auto& c : cases) {
        g.SetCells(1, row, QString::fromLatin1(c.Before));
        g.AddCheckBox(1, row, c.State, true);
        EXPECT_EQ(g.Cells(1, row), QString::fromLatin1(c.After)) << c.Before;
        ++row;
    }
}

TEST_F(TChecks, OutsideTheGridIsAnInvalidCell)
{
    for (auto [c, r] : {std::pair{5, 1}, {1, 10}}) {
        try {
            g.AddCheckBox(c, r, true, false);
            ADD_FAILURE();
        } catch (const platform::Exception& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Invalid cell"));
        }
        EXPECT_THROW(g.AddCheckBox(c, r, cbGrayed), platform::Exception);
        EXPECT_THROW(g.AddRadioButton(c, r, true), platform::Exception);
    }
}

TEST_F(TChecks, ColumnOfDataCheckBoxesKeepsKnownTexts)
{
    g.SetCells(2, 1, QStringLiteral("N"));
    g.SetCells(2, 3, QStringLiteral("Y"));
    g.SetCells(2, 0, QStringLiteral("Head"));
    g.AddCheckBoxColumn(2, true, true);
    EXPECT_EQ(g.Cells(2, 1), QStringLiteral("N"));
    EXPECT_EQ(g.Cells(2, 2), QStringLiteral("Y"));
    EXPECT_EQ(g.Cells(2, 3), QStringLiteral("Y"));
    EXPECT_EQ(g.Cells(2, 0), QStringLiteral("Head"));
    EXPECT_FALSE(g.HasCheckBox(2, 0));
}

TEST_F(TChecks, ProgrammaticSetFiresNothingUserToggleFiresChangeThenClick)
{
    g.AddCheckBoxColumn(1, false, true);
    EXPECT_TRUE(g.SetCheckBoxState(1, 2, true));
    EXPECT_EQ(g.Cells(1, 2), QStringLiteral("Y"));
    EXPECT_TRUE(events.empty());
    g.Options |= goEditing;
    Click(1, 3);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], std::make_tuple('c', 3, true));
    EXPECT_EQ(events[1], std::make_tuple('k', 3, true));
    events.clear();
    g.CheckAll(1);
    EXPECT_EQ(events.size(), size_t(g.RowCount() - 1 - 2));  // rows 2 and 3 were checked
}

TEST_F(TChecks, ReadOnlyCellRefusesTheUserButNotTheProgram)
{
    g.Options |= goEditing;
    g.AddCheckBox(1, 2, false, true);
    g.SetReadOnly(1, 2, true);
    Click(1, 2);
    EXPECT_EQ(g.Cells(1, 2), QStringLiteral("N"));
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(g.ToggleCheckBox(1, 2));
    EXPECT_EQ(g.Cells(1, 2), QStringLiteral("Y"));
    g.ControlLook.CheckAlwaysActive = true;
    Click(1, 2);
    EXPECT_EQ(g.Cells(1, 2), QStringLiteral("N"));
}

TEST_F(TChecks, NoCheckBoxAnswersFalseAndLeavesTheState)
{
    bool state = true;
    EXPECT_FALSE(g.GetCheckBoxState(1, 1, state));
    EXPECT_TRUE(state);
    EXPECT_FALSE(g.IsChecked(1, 1));
    g.AddCheckBox(1, 1, true, false);
    g.SetCells(1, 1, QStringLiteral("text"));
    g.AddImageIdx(1, 1, 0, haLeft, vaTop);  // no image list: nothing happens
    EXPECT_TRUE(g.HasCheckBox(1, 1));
    g.AddRadioButton(1, 1, false);  // another graphic replaces the check box
    EXPECT_FALSE(g.HasCheckBox(1, 1));
    g.RemoveCheckBox(1, 1);
    EXPECT_TRUE(g.HasRadioButton(1, 1));
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("text"));
}

TEST_F(TChecks, GraphicOperationsActOnlyOnTheirOwnKind)
{
    g.AddCheckBox(1, 1, true, false);
    g.SetCells(1, 1, QStringLiteral("keep"));
    int idx = 99;
    EXPECT_FALSE(g.GetRadioIdx(1, 1, idx));
    EXPECT_EQ(idx, 99);
    EXPECT_FALSE(g.SetRadioIdx(1, 1, -1));
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("keep"));
    g.RemoveDataImage(1, 1);
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("keep"));
    EXPECT_TRUE(g.IsChecked(1, 1));
    EXPECT_FALSE(g.SetRadioButtonState(1, 1, true));
    EXPECT_FALSE(g.CheckRadioButton(1, 1, false));
    EXPECT_TRUE(g.IsChecked(1, 1));

    QStringList* items = g.CreateRadio(2, 2, 0, -1);
    *items << QStringLiteral("a") << QStringLiteral("b");
    EXPECT_TRUE(g.SetRadioIdx(2, 2, 1));
    EXPECT_TRUE(g.GetRadioIdx(2, 2, idx));
    EXPECT_EQ(idx, 1);
    g.SelectNextRadio(2, 2, false);
    EXPECT_EQ(g.Cells(2, 2), QStringLiteral("a"));
}

TEST_F(TChecks, RadioButtonColumnKeepsOneChecked)
{
    g.AddRadioButtonColumn(3);
    g.ControlLook.CheckAlwaysActive = true;
    EXPECT_TRUE(g.CheckRadioButton(3, 2, true));
    EXPECT_TRUE(g.CheckRadioButton(3, 5, true));
    EXPECT_EQ(g.GetRadioButtonColumnIndex(3), 5);
    int checked = 0;
    for (int r = 1; r < g.RowCount(); ++r)
        checked += g.IsRadioButtonChecked(3, r);
    EXPECT_EQ(checked, 1);
}

TEST_F(TChecks, RowCheckBoxesFollowTheRowSelection)
{
    g.MouseActions.SetHotmailRowSelect(true);
    EXPECT_EQ(g.GetCellType(0, 4), ctRowCheckBox);
    for (int r = 1; r <= 4; ++r)
        g.SetRowSelect(r, true);
    TCellGraphic* head = g.GetCellGraphic(0, 0);
    EXPECT_EQ(head->CellAngle, 1);
    EXPECT_FALSE(head->CellBoolean);
    g.SelectRows(1, 9);
    head = g.GetCellGraphic(0, 0);
    EXPECT_EQ(head->CellAngle, 0);
    EXPECT_TRUE(head->CellBoolean);
    EXPECT_TRUE(g.IsChecked(0, 3));
}

TEST_F(TChecks, PreciseHitTestOfTheBox)
{
    g.resize(1000, 1000);
    g.AddCheckBox(1, 1, false, false);
    EXPECT_TRUE(g.IsInCheckBox(1, 1, 0, 0));  // without precise checks the whole cell counts
    g.MouseActions.PreciseCheckBoxCheck = true;
    // The box where the painting puts it (the screen tests compare it with the drawn pixels).
    const TRect box = CheckBoxPlace(g, 1, 1);
    const TRect rc = g.CellRect(1, 1);
    EXPECT_EQ(box.Width(), g.ControlLook.CheckSize);
    EXPECT_EQ(box.Height(), g.ControlLook.CheckSize);
    EXPECT_TRUE(box.Left > rc.Left && box.Top > rc.Top && box.Bottom < rc.Bottom);
    EXPECT_TRUE(g.IsInCheckBox(1, 1, box.Left, box.Top));
    EXPECT_TRUE(g.IsInCheckBox(1, 1, box.Right - 1, box.Bottom - 1));
    EXPECT_FALSE(g.IsInCheckBox(1, 1, box.Right, box.Top));
    EXPECT_FALSE(g.IsInCheckBox(1, 1, box.Left - 1, box.Top));
    EXPECT_FALSE(g.IsInCheckBox(1, 1, box.Left, box.Bottom));
}

}  // namespace
