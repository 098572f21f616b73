#include <gtest/gtest.h>

#include <functional>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridEditLayer.h"

using namespace grid;

namespace {

class Balloon : public ::testing::Test {
protected:
    void SetUp() override
    {
        g.resize(400, 250);
        g.Balloon.Enable = true;
    }
    // The balloon of cell (c, r), asked at its middle.
    TBalloonText At(int c, int r)
    {
        const TRect rect = g.CellRect(c, r);
        TBalloonText b;
        EXPECT_TRUE(g.BalloonTextAt((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2, b));
        return b;
    }
    TExtStringGrid g;
};

TEST_F(Balloon, TheBodyIsTheCellsTextCutAtItsLimit)
{
    struct Case {
        QString text;
        QString expected;
    };
    const QString full(2048, 'a');
    const Case cases[] = {
        {QString(3000, 'b'), QString(2045, 'b') + "..."},
        {full, full},
        {"\r\n\tone\ttwo", " one two"},
        {"\n\nline\r\nnext", "line\r\nnext"},
        {"<b>bold</b><BR>next", "bold\r\nnext"},
    };
    for (const Case& c : cases) {
        g.SetCells(1, 1, c.text);
        const TBalloonText b = At(1, 1);
        EXPECT_EQ(b.Text, c.expected);
        EXPECT_EQ(b.Title, " ");
        EXPECT_EQ(b.Icon, biInfo);
    }
    EXPECT_EQ(g.LastBalloonCell(), (TGridCoord{1, 1}));
}

TEST_F(Balloon, TheEventMayChangeTitleTextAndIconAndLongTitlesAreCut)
{
    g.OnCellBalloon = [](TExtStringGrid*, int c, int r, QString& title, QString& text, TBalloonIcon& icon) {
        title = QString(101, 't');
        text = QStringLiteral("%1,%2").arg(c).arg(r);
        icon = biWarning;
    };
    const TBalloonText b = At(2, 3);
    EXPECT_EQ(b.Title, QString(97, 't') + "...");
    EXPECT_EQ(b.Text, "2,3");
    EXPECT_EQ(b.Icon, biWarning);
}

TEST_F(Balloon, ACellsOwnBalloonReplacesTitleTextAndIcon)
{
    g.SetCells(1, 2, "cell text");
    g.AddBalloon(1, 2, "Title", "Body", biError);
    TBalloonText b = At(1, 2);
    EXPECT_EQ(b.Title, "Title");
    EXPECT_EQ(b.Text, "Body");
    EXPECT_EQ(b.Icon, biError);
    // Attached to a check box, the balloon replaces the cell's text as well.
    g.AddCheckBox(2, 2, true, false);
    g.AddBalloon(2, 2, "", "Tick", biWarning);
    b = At(2, 2);
    EXPECT_EQ(b.Title, " ");
    EXPECT_EQ(b.Text, "Tick");
    EXPECT_EQ(b.Icon, biWarning);
}

TEST_F(Balloon, NoBalloonWithoutEnableAndAnEmptyOneOutsideTheCells)
{
    TBalloonText b;
    EXPECT_TRUE(g.BalloonTextAt(-10, -10, b));
    EXPECT_EQ(b.Text, "");
    EXPECT_EQ(b.Title, " ");
    g.Balloon.Enable = false;
    EXPECT_FALSE(g.BalloonTextAt(100, 40, b));
}

TEST(GridRowHooks, AutoDeleteClearsTheLastDataRowAndRemovesOthers)
{
    TExtStringGrid g;
    g.SetRowCount(2);
    g.SetCells(1, 1, "only");
    std::vector<int> deleted;
    g.OnAutoDeleteRow = [&](TExtStringGrid*, int r) { deleted.push_back(r); };
    g.DeleteRowAuto(1);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.Cells(1, 1), "");

    g.FixedRowAlways = true;
    g.DeleteRowAuto(1);
    EXPECT_EQ(g.RowCount(), 1);

    g.FixedRowAlways = false;
    g.SetRowCount(4);
    g.SetCells(1, 2, "second");
    g.InsertRowAuto(1);
    EXPECT_EQ(g.RowCount(), 5);
    EXPECT_EQ(g.Cells(1, 3), "second");
    EXPECT_EQ(deleted, (std::vector<int>{1, 1}));
}

// Reads RTF as the editing layer does, crudely: the text after the last control word's blank.
class TRtfLayer : public TGridEditLayer {
public:
    using TGridEditLayer::TGridEditLayer;
    bool RichToPlain(const QString& rtf, QString& plain) override
    {
        plain = rtf.section(QLatin1Char(' '), -1).remove(QLatin1Char('}'));
        return true;
    }
};

// The layers of a grid whose editing layer reads rich text.
TGridLayers RtfLayers()
{
    return {.Editing = [](TExtStringGrid& g) { return std::make_unique<TRtfLayer>(g); }};
}

const QString Rtf = QStringLiteral("{\\rtf1\\ansi\r\n\\b Bold}");

TEST_F(Balloon, RichTextShowsAsThePlainTextTheEditingLayerReads)
{
    TExtStringGrid grid;
    grid.SetLayers(RtfLayers());
    grid.resize(400, 250);
    grid.Balloon.Enable = true;
    grid.SetCells(1, 1, Rtf);
    const TRect rect = grid.CellRect(1, 1);
    TBalloonText b;
    ASSERT_TRUE(grid.BalloonTextAt((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2, b));
    EXPECT_EQ(b.Text, "Bold");
}

// What a cell saves: formatted or stored text, a check box's own check texts for an empty cell,
// mark-up kept or turned plain.
TEST(GridRowHooks, SaveCellTakesTheFormattedTextCheckTextsAndPlainMarkUp)
{
    const struct {
        const char* name;
        std::function<void(TExtStringGrid&)> setUp;
        QString expected;
    } cases[] = {
        {"formatted", [](TExtStringGrid&) {}, "3.14"},
        {"stored", [](TExtStringGrid& g) { g.SaveVirtCells = false; }, "3.14159"},
        {"check box", [](TExtStringGrid& g) { g.SetCells(1, 1, ""); g.AddCheckBox(1, 1, true, false); }, "yes 1"},
        {"unchecked", [](TExtStringGrid& g) { g.SetCells(1, 1, ""); g.AddCheckBox(1, 1, false, false); }, "no 1"},
        {"tri-state checked", [](TExtStringGrid& g) { g.SetCells(1, 1, ""); g.AddCheckBox(1, 1, cbChecked); },
         "yes 1"},
        {"tri-state grey", [](TExtStringGrid& g) { g.SetCells(1, 1, ""); g.AddCheckBox(1, 1, cbGrayed); }, "no 1"},
        {"html kept", [](TExtStringGrid& g) { g.SetCells(1, 1, "<b>x</b>"); }, "<b>x</b>"},
        {"html plain",
         [](TExtStringGrid& g) {
             g.SetCells(1, 1, "<b>x</b>");
             g.SaveWithHTML = false;
         },
         "x"},
        {"rtf kept", [](TExtStringGrid& g) { g.SetCells(1, 1, Rtf); }, "{\\rtf1\\ansi\\b Bold}"},
        {"rtf plain",
         [](TExtStringGrid& g) {
             g.SetCells(1, 1, Rtf);
             g.SaveWithRTF = false;
         },
         "Bold"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TExtStringGrid g;
        g.SetLayers(RtfLayers());
        g.SetCells(1, 1, "3.14159");
        g.OnGetFloatFormat = [](TExtStringGrid*, int, int, bool&, QString& format) { format = "%.2f"; };
        g.OnGetCheckTrue = [](TExtStringGrid*, int, int r, QString& v) { v = QStringLiteral("yes %1").arg(r); };
        g.OnGetCheckFalse = [](TExtStringGrid*, int, int r, QString& v) { v = QStringLiteral("no %1").arg(r); };
        c.setUp(g);
        QString saved;
        g.SaveCell(1, 1, saved);
        EXPECT_EQ(saved, c.expected);
    }
}

TEST(GridRowHooks, SelectionFilterAndFixedEditHooksFireTheirEvents)
{
    TExtStringGrid g;
    std::vector<int> selection;
    int filters = 0;
    g.OnSelectionChanged = [&](TExtStringGrid*, int l, int t, int r, int b) { selection = {l, t, r, b}; };
    g.OnFilterDone = [&](TExtStringGrid*) { ++filters; };
    g.OnFixedEdit = [](TExtStringGrid*, int, int, TGridFixedCellEditor& e, QStringList& values) {
        e = fceComboList;
        values << "a";
    };
    g.SelectionChanged(1, 2, 3, 4);
    EXPECT_EQ(selection, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(g.SelectionChangedNoted());
    g.FilterDone();
    EXPECT_EQ(filters, 1);
    TGridFixedCellEditor editor = fceEdit;
    QStringList values;
    g.FixedEdit(1, 0, editor, values);
    EXPECT_EQ(editor, fceComboList);
    EXPECT_EQ(values, QStringList{"a"});
}

}  // namespace
