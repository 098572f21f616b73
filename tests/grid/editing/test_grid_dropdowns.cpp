// The drop-downs that hold a table: the grid drop-down (its inner grid gets the editing layer with
// the keyboard and mouse handling) and the multi-column drop-down, driven by real keys and clicks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <numeric>

#include "controls/dropdowns/DropDownForm.h"
#include "grid/editing/GridInput.h"
#include "grid/editing/editors/ExtCustomGridDropDown.h"
#include "grid/editing/editors/ExtMultiColumnDropDown.h"
#include "grid/editing/editors/GridDropDownEditors.h"

#include "InputSuite.h"
#include "grid/core/GridDataOps.h"
#include "grid/dataops/GridDataOperations.h"
#include "support/GoldenImage.h"

using namespace grid;
using namespace grid::editors;

namespace {

TEST(DropDownTableSizing, ColumnsShareTheFormWidthInProportionCarryingTheRoundings)
{
    struct Case {
        std::vector<int> widths;
        int columns, available;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {{80, 80}, 2, 161, {80, 80}},
        {{100, 50}, 2, 302, {200, 100}},
        {{10, 10, 10}, 3, 62, {20, 20, 20}},
        // Remainders of a third each add up: the third column gets the pixel they make.
        {{10, 10, 10}, 3, 23, {7, 7, 8}},
        // More grid columns than settings, and the other way round: only the shared ones are sized.
        {{80, 80}, 5, 161, {80, 80}},
        {{80, 80, 80}, 1, 241, {80}},
        {{}, 3, 200, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.available);
        const std::vector<int> got = ProportionalColumnWidths(c.widths, c.columns, c.available);
        EXPECT_EQ(got, c.expected);
        if (!c.expected.empty() && c.columns >= int(c.widths.size()))
            EXPECT_LE(std::accumulate(got.begin(), got.end(), 0), c.available);
    }
}

TEST(DropDownTableSizing, FormHeightSnapsToWholeRowsUnderTheHeader)
{
    struct Case {
        int height, strips, header, row, extra, expected;
    };
    const Case cases[] = {
        {200, 0, 25, 22, 4, 185},  // the grid drop-down keeps 4 more pixels
        {200, 0, 25, 22, 0, 181},  // the multi-column drop-down
        {200, 30, 25, 22, 0, 189},  // a shown header strip takes its height first
        {60, 0, 25, 22, 0, 49},
        {200, 0, 25, 0, 0, 200},  // a row height of 0 counts as 1: no division by zero
    };
    for (const Case& c : cases)
        EXPECT_EQ(SnapDropDownHeight(c.height, c.strips, c.header, c.row, c.extra), c.expected) << c.height;
}

const char* const Fruits[][2] = {{"Apple", "red"}, {"Apricot", "orange"}, {"Banana", "yellow"},
                                 {"Mango", "green"}, {"Cherry", "dark red"}};

template <class D>
void FillFruits(D& dd)
{
    for (const char* header : {"Fruit", "Colour"})
        dd.Columns().Add()->Header = QString::fromLatin1(header);
    for (const auto& fruit : Fruits)
        dd.Items().Add()->Text = QStringList{QString::fromLatin1(fruit[0]), QString::fromLatin1(fruit[1])};
    dd.EndUpdate();
}

// A window with a grid drop-down over the fruits and a line edit that can take the focus.
struct GridDropDown : grid::editing::WithGridInput {
    QWidget window;
    TCustomExtGridDropDown* dd = nullptr;
    QLineEdit* other = nullptr;
    int selects = 0;

    // The inner grid edits as the program's grids do and narrows its rows down with the data
    // operations.
    static TGridLayers InnerLayers()
    {
        TGridLayers layers = grid::editing::InputLayers();
        layers.DataOps = dataops::DataOperations();
        return layers;
    }

    void SetUp() override
    {
        window.resize(400, 400);
        dd = new TCustomExtGridDropDown(&window);
        dd->SetGridLayers(InnerLayers());
        dd->setGeometry(10, 10, 150, 22);
        other = new QLineEdit(&window);
        other->setGeometry(10, 300, 100, 22);
        FillFruits(*dd);
        dd->OnSelect = [this](QObject*) { ++selects; };
        window.show();
        QApplication::setActiveWindow(&window);
        dd->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        if (dd)
            dd->HideDropDown(false);
    }

    TExtGridDropDownGrid& g() { return *dd->GetGrid(); }
    bool Open() const { return dd->DropDownForm() && dd->DropDownForm()->isVisible(); }
    void Drop()
    {
        QTest::keyClick(dd, Qt::Key_Down, Qt::AltModifier);
        QApplication::processEvents();
        ASSERT_TRUE(Open());
    }
    // Keys go where the keyboard is: to the grid while the form is open.
    QWidget* Target() { return dd->DroppedDown() ? static_cast<QWidget*>(dd->GetGrid()) : static_cast<QWidget*>(dd); }
    void Type(const char* text) { QTest::keyClicks(Target(), QString::fromLatin1(text)); }
    void Key(Qt::Key key) { QTest::keyClick(Target(), key); }
    QString Lookup(int row) { return g().Cells(0, row); }
};

TEST_F(GridDropDown, OpensOnItsRowsWithTheHeaderAndEachRowTaggedWithItsItem)
{
    dd->SetItemIndex(3);
    EXPECT_EQ(dd->Text(), "Mango");
    Drop();
    ASSERT_EQ(g().RowCount(), 6);
    EXPECT_EQ(g().FixedRows(), 1);
    EXPECT_EQ(g().Cells(1, 0), "Colour");
    EXPECT_EQ(g().Cells(1, 2), "orange");
    EXPECT_EQ(g().Row(), 4);
    EXPECT_TRUE(g().hasFocus());
    for (int r = 1; r < 6; ++r)
        EXPECT_EQ(dd->ItemOfRow(r), r - 1);
    EXPECT_EQ(dd->RowOfItem(2), 3);
}

TEST_F(GridDropDown, ArrowsMoveTheEditAlongEnterKeepsEscapeReturnsToTheOpening)
{
    dd->SetItemIndex(0);
    Drop();
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(dd->Text(), "Banana");  // the edit follows the cursor
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Open());
    EXPECT_EQ(dd->ItemIndex(), 0);
    EXPECT_EQ(dd->Text(), "Apple");

    Drop();
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_FALSE(Open());
    EXPECT_EQ(dd->ItemIndex(), 1);
    EXPECT_EQ(dd->Text(), "Apricot");
    EXPECT_EQ(selects, 1);
}

TEST_F(GridDropDown, EnterOnTheRowItOpenedAtTakesThatRow)
{
    dd->SetItemIndex(3);
    Drop();
    Key(Qt::Key_Return);
    EXPECT_FALSE(Open());
    EXPECT_EQ(dd->ItemIndex(), 3);
    EXPECT_EQ(dd->Text(), "Mango");
}

TEST_F(GridDropDown, ClickOnADataRowPicksItAndClosesAClickOnTheHeaderDoesNot)
{
    Drop();
    const TRect header = g().PlatformCellRect(0, 0);
    QTest::mouseClick(&g(), Qt::LeftButton, {}, QPoint(header.Left + 5, header.Top + 5));
    EXPECT_TRUE(Open());
    const TRect cherry = g().PlatformCellRect(1, 5);
    ASSERT_FALSE(cherry.IsEmpty());
    QTest::mouseClick(&g(), Qt::LeftButton, {}, QPoint(cherry.Left + 5, cherry.Top + 5));
    EXPECT_FALSE(Open());
    EXPECT_EQ(dd->ItemIndex(), 4);
    EXPECT_EQ(dd->Text(), "Cherry");
    EXPECT_EQ(selects, 1);
}

TEST_F(GridDropDown, TypingInTheOpenGridCompletesAndFindsTheRowAlsoAfterTheRowsMoved)
{
    Drop();
    // The rows no longer stand in item order, as after a sort: the tags still lead to the items.
    g().MoveRow(1, 5);
    Type("ap");
    EXPECT_EQ(dd->Text(), "Apple");
    EXPECT_EQ(dd->selectedText(), "ple");
    EXPECT_EQ(dd->ItemIndex(), 0);
    EXPECT_EQ(g().Row(), 5);
    EXPECT_EQ(Lookup(g().Row()), "Apple");
    EXPECT_EQ(dd->LookupEntry(), "ap");

    // Backspace in the grid takes away the completed rest and ends the typed entry.
    Key(Qt::Key_Backspace);
    EXPECT_EQ(dd->Text(), "Ap");
    EXPECT_EQ(dd->cursorPosition(), 2);
    EXPECT_TRUE(dd->LookupEntry().isEmpty());
}

TEST_F(GridDropDown, TypingIntoTheClosedEditCompletesFromTheLookupColumn)
{
    QTest::keyClicks(dd, "ap");
    EXPECT_EQ(dd->Text(), "Apple");
    EXPECT_EQ(dd->selectedText(), "ple");
    EXPECT_EQ(dd->ItemIndex(), 0);
    // Backspace in the edit removes the selection, then the typed entry loses its last character.
    QTest::keyClick(dd, Qt::Key_Backspace);
    EXPECT_EQ(dd->Text(), "a");
    EXPECT_EQ(dd->LookupEntry(), "a");
}

TEST_F(GridDropDown, NarrowingShowsOnlyRowsContainingTheEntryAndEnteringAgainShowsAll)
{
    dd->LookupMethod = lmNarrowDown;
    Drop();
    Type("an");
    // Banana and Mango contain "an"; the edit shows the first row left, the cursor is on it.
    ASSERT_EQ(g().RowCount(), 3);
    EXPECT_EQ(Lookup(1), "Banana");
    EXPECT_EQ(Lookup(2), "Mango");
    EXPECT_EQ(g().Row(), 1);
    EXPECT_EQ(dd->Text(), "Banana");
    Type("g");
    ASSERT_EQ(g().RowCount(), 2);  // one row left: still a header and a data row
    EXPECT_EQ(g().FixedRows(), 1);
    EXPECT_EQ(Lookup(1), "Mango");
    EXPECT_EQ(dd->Text(), "Mango");
    Type("x");  // nothing contains it: the header stays alone
    EXPECT_EQ(g().RowCount(), 1);
    EXPECT_EQ(dd->Text(), "Mango");

    dd->HideDropDown(true);
    other->setFocus();
    dd->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(g().RowCount(), 6);
    EXPECT_TRUE(dd->LookupEntry().isEmpty());
}

TEST_F(GridDropDown, NarrowingLevelsFollowTheEntryCharacterByCharacter)
{
    dd->LookupMethod = lmNarrowDown;
    Drop();
    struct Step {
        const char* condition;
        int rows;
    };
    // "a" keeps all but Cherry; "ap" leaves the two A's; "a" again drops one level; "n" filters afresh.
    const Step steps[] = {{"a", 5}, {"ap", 3}, {"apx", 1}, {"ap", 3}, {"a", 5}, {"n", 3}, {"", 6}};
    for (const Step& s : steps) {
        dd->NarrowDown(QString::fromLatin1(s.condition));
        EXPECT_EQ(g().RowCount(), s.rows) << s.condition;
        if (s.rows > 1)  // rows come back under the header row
            EXPECT_EQ(g().FixedRows(), 1) << s.condition;
    }
}

TEST_F(GridDropDown, PickOnlyListRestartsTheSearchWithTheLastCharacter)
{
    dd->SetStyle(dsDropDownList);
    Drop();
    Type("ba");
    EXPECT_EQ(dd->Text(), "Banana");
    EXPECT_EQ(dd->LookupEntry(), "ba");
    Type("m");  // nothing starts with "bam": the search starts again with "m"
    EXPECT_EQ(dd->Text(), "Mango");
    EXPECT_EQ(dd->LookupEntry(), "m");
    EXPECT_EQ(Lookup(g().Row()), "Mango");
    Type("z");  // no match at all: the entry is cleared and the item stays
    EXPECT_TRUE(dd->LookupEntry().isEmpty());
    EXPECT_EQ(dd->Text(), "Mango");
}

TEST_F(GridDropDown, WithoutItemsTheGridsOwnCellsAreTheRows)
{
    dd->UseItems = false;
    dd->Items().Clear();
    g().SetColCount(2);
    g().SetRowCount(4);
    const char* names[] = {"Oslo", "Bergen", "Tromso"};
    for (int r = 1; r < 4; ++r)
        g().SetCells(0, r, QString::fromLatin1(names[r - 1]));
    EXPECT_EQ(dd->GetItemCount(), 3);
    dd->SetItemIndex(1);
    EXPECT_EQ(dd->Text(), "Bergen");
    dd->SetItemIndex(3);  // RowCount - 1: past the data rows, ignored
    EXPECT_EQ(dd->ItemIndex(), 1);
    dd->SetText("Tro");
    Drop();
    EXPECT_EQ(g().Row(), 3);  // the text's row
    Key(Qt::Key_Up);
    Key(Qt::Key_Return);
    EXPECT_EQ(dd->ItemIndex(), 1);
    EXPECT_EQ(dd->Text(), "Bergen");
}

TEST_F(GridDropDown, ItemStepsStopAtTheEndsAndPagesMoveByTen)
{
    dd->Items().Clear();
    for (int i = 0; i < 25; ++i)
        dd->Items().Add()->Text = QStringList{QStringLiteral("Item %1").arg(i)};
    dd->EndUpdate();
    TLookupDropDown& d = *dd;
    const struct {
        std::function<void()> step;
        int expected;
    } steps[] = {{[&] { d.SelectNext(); }, 0},          {[&] { d.SelectPrevious(); }, 0},
                 {[&] { d.SelectNextPage(); }, 10},     {[&] { d.SelectNextPage(); }, 20},
                 {[&] { d.SelectNextPage(); }, 24},     {[&] { d.SelectNext(); }, 24},
                 {[&] { d.SelectPreviousPage(); }, 14}, {[&] { d.SelectPreviousPage(); }, 4},
                 {[&] { d.SelectPreviousPage(); }, 0},  {[&] { d.SelectLast(); }, 24},
                 {[&] { d.SelectFirst(); }, 0}};
    for (const auto& s : steps) {
        s.step();
        EXPECT_EQ(dd->ItemIndex(), s.expected);
    }
    EXPECT_EQ(dd->Text(), "Item 0");
    dd->Items().Clear();
    dd->SetItemIndex(-1);
    dd->SelectNext();
    EXPECT_EQ(dd->ItemIndex(), -1);
}

TEST_F(GridDropDown, GridEventsArePassedOnAndAButtonClickRunsWithTheFormBlocked)
{
    std::vector<std::string> seen;
    dd->OnGridButtonClick = [&](TExtStringGrid*, int c, int r) {
        seen.push_back("button " + std::to_string(c) + "," + std::to_string(r) +
                       (dd->DropDownForm()->BlockActivate ? " blocked" : ""));
    };
    dd->OnGridGetFloatFormat = [&](TExtStringGrid*, int, int, bool&, QString& format) {
        seen.push_back("format '" + format.toStdString() + "'");
    };
    Drop();
    g().OnButtonClick(&g(), 1, 2);
    EXPECT_FALSE(dd->DropDownForm()->BlockActivate);
    bool isFloat = true;
    QString format = QStringLiteral("%.2f");
    g().OnGetFloatFormat(&g(), 0, 1, isFloat, format);
    EXPECT_EQ(seen, (std::vector<std::string>{"button 1,2 blocked", "format ''"}));
    // The grid's own drawing stays while the drop-down has no drawing event.
    EXPECT_FALSE(g().OnCustomCellDraw);
}

TEST_F(GridDropDown, InnerGridActionsReachTheDropDownsEvents)
{
    std::vector<std::string> seen;
    auto note = [&](const char* name) { return [&seen, name](auto&&...) { seen.push_back(name); }; };
    dd->OnGridRowMoved = note("row moved");
    dd->OnGridColumnMoved = note("column moved");
    dd->OnGridMouseDown = note("mouse down");
    dd->OnGridMouseUp = note("mouse up");
    dd->OnGridMouseMove = note("mouse move");
    dd->OnGridRightClickCell = note("right click");
    dd->OnGridTopLeftChanged = [&](QObject* sender) {
        seen.push_back(sender == dd ? "top left by the drop-down" : "top left");
    };
    for (int i = 0; i < 20; ++i)
        dd->Items().Add()->Text = QStringList{QStringLiteral("More %1").arg(i)};
    Drop();
    const TRect cell = g().CellRect(1, 2);
    const QPoint inCell(cell.Left + 3, cell.Top + 3);
    QTest::mouseMove(g().viewport(), inCell);
    QTest::mouseClick(g().viewport(), Qt::RightButton, {}, inCell);
    g().MoveRow(1, 2);
    g().MoveColumn(0, 1);
    g().SetTopRow(g().TopRow() + 1);
    for (const char* name : {"mouse move", "mouse down", "mouse up", "right click", "row moved", "column moved",
                             "top left by the drop-down"})
        EXPECT_NE(std::find(seen.begin(), seen.end(), std::string(name)), seen.end()) << name;
}

TEST_F(GridDropDown, EditingLayerEventsOfTheInnerGridArePassedOn)
{
    std::vector<std::string> seen;
    dd->OnGridAnchorClick = [&](TExtStringGrid*, int, int, const QString& anchor, bool&) {
        seen.push_back("anchor " + anchor.toStdString() + (dd->DropDownForm()->BlockActivate ? " blocked" : ""));
    };
    dd->OnGridColumnSizing = [&](TExtStringGrid*, int index, int size) {
        seen.push_back("sizing " + std::to_string(index) + " " + std::to_string(size));
    };
    dd->OnGridCanAddRow = [&](TExtStringGrid*, bool& can) {
        can = false;
        seen.push_back("can add");
    };
    dd->OnGridSearchEditChange = [&](TExtStringGrid*, const QString& value, bool&) {
        seen.push_back("search " + value.toStdString());
    };
    dd->OnGridCanEditCell = [](TExtStringGrid*, int, int, bool& can) { can = false; };
    Drop();
    bool editable = true;
    g().OnCanEditCell(&g(), 1, 1, editable);
    EXPECT_FALSE(editable);  // the handler's answer reaches the grid
    editing::TGridEditController* ctl = editing::EditController(g());
    ASSERT_NE(ctl, nullptr);
    auto* input = dynamic_cast<editing::TGridInputHandler*>(ctl->Input());
    ASSERT_NE(input, nullptr);
    bool autoHandle = true;
    input->OnAnchorClick(&g(), 1, 0, QStringLiteral("here"), autoHandle);
    input->OnColumnSizing(&g(), 1, 40);
    bool can = true;
    ctl->OnCanAddRow(&g(), can);
    EXPECT_FALSE(can);
    dataops::TGridDataOperations* ops = dataops::DataOps(g());
    ASSERT_NE(ops, nullptr);
    bool defaultSearch = true;
    ops->Searching.OnSearchEditChange(&g(), QStringLiteral("ba"), defaultSearch);
    EXPECT_FALSE(dd->DropDownForm()->BlockActivate);
    EXPECT_EQ(seen, (std::vector<std::string>{"anchor here blocked", "sizing 1 40", "can add", "search ba"}));

    // A drop-down that goes leaves its grid's editing events unbound.
    delete dd;
    dd = nullptr;
}

// The inner grid has the layers the drop-down's owner gave it and is plain without; a cell
// editor's grid drop-down gives it the layers of the grid it edits for.
TEST_F(GridDropDown, TheInnerGridHasTheLayersItsOwnerGave)
{
    EXPECT_NE(editing::EditController(g()), nullptr);
    EXPECT_NE(dataops::DataOps(g()), nullptr);
    TCustomExtGridDropDown plain(&window);
    EXPECT_EQ(plain.GetGrid()->EditLayer(), nullptr);
    EXPECT_EQ(plain.GetGrid()->DataOps(), nullptr);

    for (bool hostEdits : {true, false}) {
        SCOPED_TRACE(hostEdits);
        TExtStringGrid host;
        if (hostEdits)
            host.SetLayers(InnerLayers());
        std::unique_ptr<QWidget> editor(CreateGridDropDown(ddExtGrid, host, &window));
        auto* cellDropDown = dynamic_cast<TGridExtGridDropDown*>(editor.get());
        ASSERT_NE(cellDropDown, nullptr);
        EXPECT_EQ(editing::EditController(*cellDropDown->GetGrid()) != nullptr, hostEdits);
        EXPECT_EQ(dataops::DataOps(*cellDropDown->GetGrid()) != nullptr, hostEdits);
    }
}

TEST_F(GridDropDown, ItemIndexOutOfRangeIsIgnoredAndAMissingLookupTextReadsEmpty)
{
    dd->SetItemIndex(2);
    dd->SetItemIndex(5);
    EXPECT_EQ(dd->ItemIndex(), 2);
    dd->SetItemIndex(-7);
    EXPECT_EQ(dd->ItemIndex(), -1);
    EXPECT_EQ(dd->Text(), "");
    dd->LookupColumn = 4;  // past every item's texts
    dd->SetItemIndex(1);
    EXPECT_EQ(dd->ItemIndex(), 1);
    EXPECT_EQ(dd->Text(), "");
    EXPECT_EQ(dd->Items().IndexInColumn(4, ""), -1);
    EXPECT_EQ(dd->Items().IndexInColumn(1, "yellow"), 2);
}

// Stands in for the data operations: a sort that turns the data rows round.
struct ReversingSort : TGridDataOps {
    using TGridDataOps::TGridDataOps;
    void QSort() override
    {
        for (int r = Grid.FixedRows(); r < Grid.RowCount() - 1; ++r)
            Grid.MoveRow(Grid.RowCount() - 1, r);
    }
};

TEST_F(GridDropDown, TheSelectedItemKeepsItsRowWhenTheGridSortsOnOpening)
{
    TCustomExtGridDropDown sorted(&window);
    TGridLayers layers = InnerLayers();
    layers.DataOps = [](TExtStringGrid& grid) { return std::make_unique<ReversingSort>(grid); };
    sorted.SetGridLayers(layers);
    FillFruits(sorted);
    sorted.Sorting = gsSingleColumn;
    sorted.GetGrid()->SortSettings.Column = 0;
    sorted.SetItemIndex(1);
    sorted.ShowDropDown();
    QApplication::processEvents();
    TExtGridDropDownGrid& grid = *sorted.GetGrid();
    EXPECT_EQ(grid.Cells(0, 1), "Cherry");
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_EQ(grid.Cells(0, grid.Row()), "Apricot");
    EXPECT_EQ(sorted.ItemIndex(), 1);
    EXPECT_EQ(sorted.Text(), "Apricot");
    sorted.HideDropDown(false);
    EXPECT_EQ(sorted.ItemIndex(), 1);
}

TEST_F(GridDropDown, GoldenImageOfTheOpenGrid)
{
    dd->SetItemIndex(2);
    Drop();
    EXPECT_TRUE(testsupport::MatchesGolden(dd->DropDownForm()->grab().toImage(),
                                           TEST_DATA_DIR "/golden/grid_dropdown_open.png"));
    // The header row is 25 high and the data rows 22; the chosen row (item 2, grid row 3) is
    // selected whole (RowSelect): one Office 2007 button face across both cells, its frame on the
    // row's top line and the selection colour just below it; the other rows keep the white.
    const QImage image = dd->DropDownForm()->grab().toImage();
    const QPoint at = g().mapTo(dd->DropDownForm(), QPoint(0, 0));
    const int top = at.y() + 25 + 2 * 22;
    const QColor frame(0xD3, 0xD7, 0x8D), selection(0xFD, 0xFF, 0xD7);
    for (int x : {at.x() + 70, at.x() + 150}) {  // right of the texts
        EXPECT_EQ(image.pixelColor(x, top), frame) << x;
        EXPECT_EQ(image.pixelColor(x, top + 2), selection) << x;
        EXPECT_EQ(image.pixelColor(x, top - 11), QColor(Qt::white)) << x;  // Apricot's row
        EXPECT_EQ(image.pixelColor(x, top + 22 + 11), QColor(Qt::white)) << x;  // Mango's row
    }
}

// A multi-column drop-down over the fruits.
struct MultiColumn : ::testing::Test {
    QWidget window;
    TExtMultiColumnDropDown* dd = nullptr;
    int selects = 0;

    void SetUp() override
    {
        window.resize(400, 400);
        dd = new TExtMultiColumnDropDown(&window);
        dd->setGeometry(10, 10, 150, 22);
        FillFruits(*dd);
        dd->OnSelect = [this](QObject*) { ++selects; };
        window.show();
        QApplication::setActiveWindow(&window);
        dd->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override { dd->HideDropDown(false); }
    TMultiColumnList& list() { return *dd->List(); }
    bool Open() const { return dd->DropDownForm() && dd->DropDownForm()->isVisible(); }
    void Drop()
    {
        QTest::keyClick(dd, Qt::Key_Down, Qt::AltModifier);
        QApplication::processEvents();
        ASSERT_TRUE(Open());
    }
    QWidget* Target() { return dd->DroppedDown() ? static_cast<QWidget*>(dd->List()) : static_cast<QWidget*>(dd); }
};

TEST_F(MultiColumn, TypingInTheOpenListCompletesAndBackspaceLeavesTheTypedHead)
{
    Drop();
    QTest::keyClicks(Target(), "ap");
    EXPECT_EQ(dd->Text(), "Apple");
    EXPECT_EQ(dd->selectedText(), "ple");
    EXPECT_EQ(list().Row(), 1);
    QTest::keyClick(Target(), Qt::Key_Backspace);
    EXPECT_EQ(dd->Text(), "Ap");
    EXPECT_EQ(dd->cursorPosition(), 2);
    EXPECT_TRUE(dd->LookupEntry().isEmpty());
}

TEST_F(MultiColumn, KeysAndClicksPickEscapeRestores)
{
    dd->SetItemIndex(1);
    Drop();
    EXPECT_EQ(list().Row(), 2);
    QTest::keyClick(Target(), Qt::Key_Down);
    EXPECT_EQ(dd->Text(), "Banana");
    QTest::keyClick(Target(), Qt::Key_Escape);
    EXPECT_FALSE(Open());
    EXPECT_EQ(dd->ItemIndex(), 1);
    EXPECT_EQ(dd->Text(), "Apricot");

    Drop();
    QTest::keyClick(Target(), Qt::Key_Down);
    QTest::keyClick(Target(), Qt::Key_Return);
    EXPECT_FALSE(Open());
    EXPECT_EQ(dd->ItemIndex(), 2);
    EXPECT_EQ(selects, 1);

    // Any mouse button on an item row picks it.
    Drop();
    const TRect mango = list().PlatformCellRect(0, 4);
    QTest::mouseClick(&list(), Qt::RightButton, {}, QPoint(mango.Left + 4, mango.Top + 4));
    EXPECT_FALSE(Open());
    EXPECT_EQ(dd->ItemIndex(), 3);
    EXPECT_EQ(dd->Text(), "Mango");
}

TEST_F(MultiColumn, WheelMovesTheCursorRowAndClosingKeepsTheItemChosenBefore)
{
    dd->SetItemIndex(1);
    Drop();
    ASSERT_EQ(list().Row(), 2);
    auto wheel = [&](int delta) {
        const QPoint at(10, 40);
        QWheelEvent event(at, list().viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list().viewport(), &event);
    };
    const struct {
        int delta, row;
    } steps[] = {{-240, 4}, {120, 3}, {-1200, 5}, {1200, 1}, {-120, 2}};
    for (const auto& step : steps) {
        wheel(step.delta);
        EXPECT_EQ(list().Row(), step.row) << step.delta;
    }
    EXPECT_EQ(dd->ItemIndex(), 1);  // the edit does not follow the wheel
    EXPECT_EQ(dd->Text(), "Apricot");
    wheel(-120);
    dd->HideDropDown(false);
    EXPECT_EQ(dd->ItemIndex(), 1);

    // Enter takes the row the wheel moved to.
    Drop();
    wheel(-240);
    QTest::keyClick(Target(), Qt::Key_Return);
    EXPECT_EQ(dd->ItemIndex(), 3);
    EXPECT_EQ(dd->Text(), "Mango");
}

TEST_F(MultiColumn, GoldenImageOfTheOpenList)
{
    dd->SetItemIndex(2);
    Drop();
    const QImage image = dd->DropDownForm()->grab().toImage();
    EXPECT_TRUE(testsupport::MatchesGolden(image, TEST_DATA_DIR "/golden/multicolumn_dropdown_open.png"));
    // The selected row (y 92 to 112) is one button across both cells: the face ends on the mirror
    // end colour just above the inner bottom line and the frame; the sides between the cells stay
    // open, the far right side is closed by the inner line and the frame.
    const QColor frame(0xD3, 0xD7, 0x8D);
    EXPECT_EQ(image.pixelColor(40, 110), QColor(0xFC, 0xF1, 0xB3));
    EXPECT_EQ(image.pixelColor(40, 111), QColor(0xFF, 0xF8, 0xCA));
    EXPECT_EQ(image.pixelColor(40, 112), frame);
    for (int x : {79, 81})
        EXPECT_EQ(image.pixelColor(x, 100), image.pixelColor(60, 100)) << x;
    EXPECT_EQ(image.pixelColor(158, 100), QColor(0xFF, 0xFE, 0xF4));
    EXPECT_EQ(image.pixelColor(159, 100), frame);
}

// Wrapped columns make their rows high enough (at least 24); AutoSize columns take the widest text.
template <class D, class G>
void CheckSizing(D& dd, G& (*grid)(D&))
{
    TDropDownColumn* fruit = dd.Columns().Items(0);
    TDropDownColumn* colour = dd.Columns().Items(1);
    fruit->AutoSize = true;
    colour->Wordwrap = true;
    colour->Width = 60;
    dd.Items().Items(2)->Text[1] = QStringLiteral("a long yellow that wraps over several lines");
    dd.Items().Items(3)->Text = QStringList{QStringLiteral("Mango")};  // no colour text
    dd.ColumnSizeWithDropDown = false;  // else the form's width shares the columns out again
    dd.ShowDropDown();
    QApplication::processEvents();
    G& g = grid(dd);
    const QFontMetrics metrics(fruit->Font);
    const int apricot = metrics.horizontalAdvance(QStringLiteral("Apricot")) + 6;
    EXPECT_GE(g.ColWidths(0), apricot);
    EXPECT_LT(g.ColWidths(0), apricot + 8);
    EXPECT_GT(g.RowHeights(3), 24);  // the wrapped text's height + 6
    EXPECT_EQ(g.RowHeights(4), 24);  // nothing to wrap
    EXPECT_EQ(g.RowHeights(1), 24);
    dd.HideDropDown(false);
}

TEST_F(MultiColumn, SizingOfRowsAndColumnsFollowsTheItems)
{
    CheckSizing<TExtMultiColumnDropDown, TMultiColumnList>(*dd, [](TExtMultiColumnDropDown& d) -> TMultiColumnList& {
        return *d.List();
    });
}

TEST_F(GridDropDown, SizingOfRowsAndColumnsFollowsTheItems)
{
    CheckSizing<TCustomExtGridDropDown, TExtGridDropDownGrid>(
        *dd, [](TCustomExtGridDropDown& d) -> TExtGridDropDownGrid& { return *d.GetGrid(); });
}

TEST_F(MultiColumn, WithoutItemsTheListIsTheHeaderAloneAndNothingSteps)
{
    dd->Items().Clear();
    EXPECT_EQ(dd->RowCount(), 0);
    dd->SelectNext();
    EXPECT_EQ(dd->ItemIndex(), -1);
    Drop();
    EXPECT_EQ(list().RowCount(), 1);
}

TEST_F(MultiColumn, AssignCopiesItemsColumnsHeaderFontAndTheItemIndex)
{
    dd->HeaderFont.setPointSize(17);
    dd->HeaderFont.Color = 0x123456;
    dd->SetItemIndex(2);
    dd->SetDropDownRowHeight(0);  // held at 1
    EXPECT_EQ(dd->DropDownRowHeight(), 1);
    TExtMultiColumnDropDown copy;
    copy.Assign(dd);
    EXPECT_EQ(copy.HeaderFont.pointSize(), 17);
    EXPECT_EQ(copy.HeaderFont.Color, 0x123456u);
    EXPECT_EQ(copy.Items().Count(), 5);
    EXPECT_EQ(copy.Items().Items(3)->Text, (QStringList{"Mango", "green"}));
    EXPECT_EQ(copy.Columns().Items(1)->Header, "Colour");
    EXPECT_EQ(copy.ItemIndex(), 2);
    EXPECT_EQ(copy.Text(), "");  // the text is not touched
}

}  // namespace

// Opening a grid drop-down leaves nothing behind that changes how a multi-column drop-down looks.
TEST_F(MultiColumn, LooksTheSameAfterAGridDropDownWasOpen)
{
    dd->SetItemIndex(2);
    Drop();
    const QImage before = dd->DropDownForm()->grab().toImage();
    dd->HideDropDown(false);
    {
        QWidget other;
        other.resize(300, 300);
        auto* grid = new TCustomExtGridDropDown(&other);
        grid->setGeometry(10, 10, 150, 22);
        FillFruits(*grid);
        other.show();
        grid->SetItemIndex(2);
        grid->ShowDropDown();
        QApplication::processEvents();
        grid->HideDropDown(false);
    }
    QApplication::setActiveWindow(&window);
    dd->setFocus();
    Drop();
    const QImage after = dd->DropDownForm()->grab().toImage();
    EXPECT_EQ(before, after);
}
