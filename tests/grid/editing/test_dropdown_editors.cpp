// The drop-down editors of a column grid: a column whose editor is a drop-down kind opens that
// picker over the cell, and its keys and picks come back into the cell, driven by real keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "controls/dropdowns/DropDownForm.h"
#include "controls/dropdowns/DropDownStrips.h"
#include "grid/core/CellGraphic.h"
#include "grid/core/GridDraw.h"
#include "grid/editing/editors/GridDropDownEditors.h"

#include "support/ScriptedMessages.h"

#include "EditorGridSuite.h"

using namespace grid;
using namespace grid::editing;
using namespace grid::editors;

namespace {

enum : int { cNo, cCalc, cTime, cColour, cFruit, cPick, cColumns };

struct DropDownEditors : EditorGridSuite {
    void SetUp() override
    {
        // F2 opens the editor with its text all selected: no press, which would put the caret
        // under the mouse.
        openByClick = false;
        static const EditorColumn columns[] = {{"N", edNormal, 100},
                                               {"Calc", edCalculatorDropDown, 100},
                                               {"Time", edTimePickerDropDown, 100},
                                               {"Colour", edColorPickerDropDown, 100},
                                               {"Fruit", edExtGridDropDown, 100},
                                               {"Pick", edGridDropDown, 100}};
        static_assert(std::size(columns) == cColumns);
        BuildGrid(columns, 5, {640, 220}, false);
        for (int r = 1; r < 5; ++r) {
            g().SetCells(cNo, r, QString::number(r));
            g().SetCells(cCalc, r, QStringLiteral("2"));
            g().SetCells(cTime, r, QStringLiteral("10:15:00"));
            g().SetCells(cFruit, r, QStringLiteral("Banana"));
            g().SetCells(cPick, r, QStringLiteral("Apple"));
        }
        ShowWindow({660, 400});
    }

    template <class T>
    T& editor(TGridDropDownKind kind)
    {
        return *dynamic_cast<T*>(specials().DropDown(kind));
    }

    void FillFruits(TLookupDropDown& dd)
    {
        dd.Columns().Clear();
        dd.Items().Clear();
        dd.Columns().Add()->Header = QStringLiteral("Fruit");
        for (const char* fruit : {"Apple", "Apricot", "Banana", "Mango"})
            dd.Items().Add()->Text = QStringList{QString::fromLatin1(fruit)};
    }
};

TEST(GridDropDownClasses, TheEightRegisteredNamesLeadToTheirKinds)
{
    const struct {
        const char* name;
        bool found;
        TGridDropDownKind kind;
    } cases[] = {{"TGridTrackbarDropDown", true, ddTrackbar},  {"TGridCalculatorDropDown", true, ddCalculator},
                 {"TGridImageDropDown", true, ddImage},        {"TGridGridDropDown", true, ddGrid},
                 {"TGridExtGridDropDown", false, ddTrackbar}, {"tgridmemodropdown", false, ddTrackbar}};
    for (const auto& c : cases) {
        TGridDropDownKind kind = ddTrackbar;
        EXPECT_EQ(FindGridDropDownClass(QString::fromLatin1(c.name), kind), c.found) << c.name;
        if (c.found)
            EXPECT_EQ(kind, c.kind) << c.name;
    }
    EXPECT_EQ(RegisteredGridDropDownClasses().size(), 8u);
}

TEST_F(DropDownEditors, EachDropDownColumnOpensItsOwnPickerOverTheCellWithTheCellsValue)
{
    open(cCalc, 1);
    auto& calc = editor<TGridCalculatorDropDown>(ddCalculator);
    ASSERT_EQ(shown(), &calc);
    EXPECT_TRUE(calc.hasFocus());
    EXPECT_EQ(calc.Text(), "2.00");  // the calculator shows its precision
    const TRect rc = g().CellRect(cCalc, 1);
    EXPECT_EQ(calc.geometry().topLeft(), QPoint(rc.Left, rc.Top));
    key(Qt::Key_Escape);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_FALSE(calc.isVisible());

    open(cTime, 1);
    EXPECT_EQ(shown(), &editor<TGridTimepickerDropDown>(ddTimepicker));
    key(Qt::Key_Escape);
    open(cFruit, 1);
    EXPECT_EQ(shown(), &editor<TGridExtGridDropDown>(ddExtGrid));
    key(Qt::Key_Escape);
    open(cPick, 1);
    EXPECT_EQ(shown(), &editor<TGridGridDropDown>(ddGrid));
    key(Qt::Key_Escape);
    EXPECT_EQ(cell(cFruit, 1), "Banana");
    EXPECT_EQ(cell(cPick, 1), "Apple");
}

TEST_F(DropDownEditors, CalculatorEnterEvaluatesThePendingOperationBeforeWritingIt)
{
    open(cCalc, 2);
    auto& calc = editor<TGridCalculatorDropDown>(ddCalculator);
    key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(calc.DroppedDown());
    type("+3");
    EXPECT_EQ(calc.PendingOperation(), 0);
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cCalc, 2), "5.00");
    EXPECT_EQ(shown(), nullptr);
    EXPECT_TRUE(g().hasFocus());
}

TEST_F(DropDownEditors, DownWritesAndMovesDownPageDownClosesWhereItIsEscapeKeepsTheCell)
{
    open(cCalc, 1);
    key(Qt::Key_Backspace);
    type("7");
    key(Qt::Key_Down);
    EXPECT_EQ(cell(cCalc, 1), "7");
    EXPECT_EQ(current(), QPoint(cCalc, 2));
    EXPECT_EQ(shown(), nullptr);

    open(cCalc, 2);
    key(Qt::Key_PageDown);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(current(), QPoint(cCalc, 2));

    open(cCalc, 3);
    key(Qt::Key_Backspace);
    type("9");
    key(Qt::Key_Escape);
    EXPECT_EQ(cell(cCalc, 3), "2");
    EXPECT_EQ(shown(), nullptr);
}

// The memo drop-down's cell follows every change while the user types, in the edit and in the
// open memo; Esc gives the cell its text back, Enter keeps the lines.
TEST_F(DropDownEditors, MemoCopiesItsTextIntoTheCellWhileTyping)
{
    g().Columns()[cCalc]->SetEditor(edMemoDropDown);
    auto& memo = editor<TGridMemoDropDown>(ddMemo);
    open(cCalc, 1);
    ASSERT_EQ(shown(), &memo);
    key(Qt::Key_End);
    type("a");
    EXPECT_EQ(cell(cCalc, 1), "2a");
    type("b");
    EXPECT_EQ(cell(cCalc, 1), "2ab");
    key(Qt::Key_Escape);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(cell(cCalc, 1), "2");

    open(cCalc, 2);
    key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(memo.DroppedDown());
    ASSERT_NE(memo.Memo(), nullptr);
    memo.Memo()->setFocus();
    memo.Memo()->moveCursor(QTextCursor::End);
    QTest::keyClick(memo.Memo(), Qt::Key_Return);
    QTest::keyClicks(memo.Memo(), "second");
    EXPECT_EQ(cell(cCalc, 2), "2\nsecond");
    memo.HideDropDown(false);
    EXPECT_EQ(cell(cCalc, 2), "2\nsecond");
    QTest::keyClick(&memo, Qt::Key_Return);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(cell(cCalc, 2), "2\nsecond");
}

// The pickers' values pass the grid's events before they go into the cell, which may change them;
// a shape cell's colour is its shape's, other cells' their background.
TEST_F(DropDownEditors, PickedColourPassesOnColorSelected)
{
    specials().OnColorSelected = [](TExtStringGrid*, int c, int r, platform::TColor& color, QString& value) {
        EXPECT_EQ(c, cColour);
        EXPECT_EQ(r, 2);
        color = platform::clBlue;
        value = QStringLiteral("chosen");
    };
    for (const bool shape : {false, true}) {
        SCOPED_TRACE(shape ? "shape" : "plain");
        g().SetColors(cColour, 2, platform::clWhite);
        if (shape)
            g().AddShape(cColour, 2, csCircle, platform::clRed, platform::clBlack, haLeft, vaTop);
        open(cColour, 2);
        auto& colour = editor<TGridColorDropDown>(ddColor);
        EXPECT_EQ(colour.SelectedColor(), shape ? platform::clRed : platform::clWhite);
        key(Qt::Key_Down, Qt::AltModifier);
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        EXPECT_EQ(shown(), nullptr);
        EXPECT_EQ(cell(cColour, 2), "chosen");
        EXPECT_EQ(g().GetColors(cColour, 2), shape ? platform::clWhite : platform::clBlue);
        if (shape)
            EXPECT_EQ(g().GetShapeColor(cColour, 2), platform::clBlue);
    }
}

// An image-list cell opens the picker on its image and takes the picked index back, after
// OnImageSelected had its say.
TEST_F(DropDownEditors, ImageListCellTakesThePickedIndex)
{
    g().Columns()[cCalc]->SetEditor(edImagePickerDropDown);
    auto& picker = editor<TGridImageDropDown>(ddImage);
    for (const char* name : {"zero", "one", "two"}) {
        auto* item = picker.Items().Add();
        item->SetImageIndex(picker.Items().Count() - 1);
        item->SetCaption(QString::fromLatin1(name));
    }
    TObject images;  // image cells need an image list
    g().GridImages = &images;
    g().SetCells(cCalc, 3, QString());
    g().AddImageIdx(cCalc, 3, 2, haLeft, vaTop);
    int asked = -1;
    specials().OnImageSelected = [&](TExtStringGrid*, int, int, int& index) {
        asked = index;
        index = 0;
    };
    open(cCalc, 3);
    ASSERT_EQ(shown(), &picker);
    EXPECT_EQ(picker.ImageIndex(), 2);
    EXPECT_EQ(picker.GetText(), "two");
    key(Qt::Key_Return);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(asked, 2);
    int index = -1;
    ASSERT_TRUE(g().GetImageIdx(cCalc, 3, index));
    EXPECT_EQ(index, 0);
    g().GridImages = nullptr;
}

// A data-image cell's text is the image index: it opens the picker on that image and gets the
// picked index back as text; a text that is no whole number is reported and opens nothing, the
// cell keeping it.
TEST_F(DropDownEditors, DataImageCellReadsItsIndexOrRefusesToOpen)
{
    g().Columns()[cCalc]->SetEditor(edImagePickerDropDown);
    auto& picker = editor<TGridImageDropDown>(ddImage);
    // A picker without items takes one per image of the grid's list.
    TGridImageList images;
    for (const QColor colour : {Qt::red, Qt::green, Qt::blue}) {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(colour);
        images.List.Add(image);
    }
    g().GridImages = &images;
    g().AddDataImage(cCalc, 2, 1, haLeft, vaTop);
    g().SetCells(cCalc, 2, QStringLiteral("1"));
    specials().OnImageSelected = [](TExtStringGrid*, int, int, int& index) { index = 2; };
    open(cCalc, 2);
    ASSERT_EQ(shown(), &picker);
    EXPECT_EQ(picker.Images(), &images.List);
    EXPECT_EQ(picker.Items().Count(), 3);
    EXPECT_EQ(picker.ImageIndex(), 1);
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cCalc, 2), "2");

    g().SetCells(cCalc, 2, QStringLiteral("abc"));
    {
        ScriptedMessages messages;
        open(cCalc, 2);
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.LastText(), "Cell does not contain integer value");
    }
    EXPECT_EQ(shown(), nullptr);
    EXPECT_FALSE(controller().EditMode());
    EXPECT_EQ(cell(cCalc, 2), "abc");
    // The grid goes on as before: another cell edits normally.
    open(cCalc, 1);
    EXPECT_EQ(shown(), &picker);
    key(Qt::Key_Escape);
    g().GridImages = nullptr;
}

// The grid's header and footer strips go to every drop-down editor, and a click on one of their
// buttons is told with the current cell and the button's index.
TEST_F(DropDownEditors, StripButtonsOfTheDropDownAreReportedWithTheCell)
{
    g().ControlLook.DropDownFooter.SetVisible(true);
    g().ControlLook.DropDownFooter.Buttons().Add()->SetCaption(QStringLiteral("One"));
    g().ControlLook.DropDownFooter.Buttons().Add()->SetCaption(QStringLiteral("Two"));
    std::vector<std::string> seen;
    specials().OnDropDownFooterButtonClick = [&](TExtStringGrid*, int c, int r, int index) {
        seen.push_back(std::to_string(c) + "," + std::to_string(r) + " " + std::to_string(index));
    };
    open(cCalc, 3);
    auto& calc = editor<TGridCalculatorDropDown>(ddCalculator);
    key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(calc.DroppedDown());
    ASSERT_NE(calc.DropDownForm()->Footer(), nullptr);
    ASSERT_EQ(calc.DropDownForm()->Footer()->ButtonList().Count(), 2);
    QTest::mouseClick(calc.DropDownForm()->Footer()->ButtonList().Items(1), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(seen, std::vector<std::string>{std::to_string(cCalc) + ",3 1"});
    calc.HideDropDown(true);
    key(Qt::Key_Escape);
}

// The track bar and the detail picker open on the cell's value and write the typed one back on
// Enter; Esc keeps the cell.
TEST_F(DropDownEditors, TrackBarAndDetailPickerWriteTheirTextBack)
{
    const struct {
        const char* Name;
        TEditorType Type;
        const char* Cell;
        const char* Typed;
        Qt::Key Leave;
        const char* After;
    } cases[] = {
        {"track bar", edTrackbarDropDown, "3", "7", Qt::Key_Return, "7"},
        {"track bar, Esc", edTrackbarDropDown, "3", "7", Qt::Key_Escape, "3"},
        {"detail", edDetailDropDown, "Beta", "Gamma", Qt::Key_Return, "Gamma"},
        {"detail, Esc", edDetailDropDown, "Beta", "Gamma", Qt::Key_Escape, "Beta"},
    };
    auto& detail = editor<TGridDetailPickerDropDown>(ddDetailPicker);
    for (const char* caption : {"Alpha", "Beta", "Gamma"})
        detail.Items().Add()->SetCaption(QString::fromLatin1(caption));
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        g().Columns()[cCalc]->SetEditor(k.Type);
        g().SetCells(cCalc, 2, QString::fromLatin1(k.Cell));
        open(cCalc, 2);
        ASSERT_NE(shown(), nullptr);
        auto* edit = dynamic_cast<QLineEdit*>(shown());
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), QString::fromLatin1(k.Cell));
        if (k.Type == edDetailDropDown)
            EXPECT_EQ(detail.ItemIndex(), 1);
        edit->selectAll();
        type(k.Typed);
        key(k.Leave);
        EXPECT_EQ(shown(), nullptr);
        EXPECT_EQ(cell(cCalc, 2), QString::fromLatin1(k.After));
    }
}

TEST_F(DropDownEditors, ColourPickedInThePanelIsWrittenAsTextAndAsTheCellsColour)
{
    g().SetColors(cColour, 1, platform::clRed);
    open(cColour, 1);
    auto& colour = editor<TGridColorDropDown>(ddColor);
    ASSERT_EQ(shown(), &colour);
    EXPECT_EQ(colour.SelectedColor(), platform::clRed);
    key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(colour.DroppedDown());
    key(Qt::Key_Down);  // the panel's own key while it is open
    EXPECT_EQ(shown(), &colour);
    EXPECT_TRUE(colour.DroppedDown());
    // Enter is the editor's while the panel is open too: the hot colour is written and both close.
    key(Qt::Key_Return);
    EXPECT_FALSE(colour.DroppedDown());
    EXPECT_EQ(shown(), nullptr);
    const platform::TColor picked = colour.SelectedColor();
    EXPECT_NE(picked, platform::clRed);
    EXPECT_EQ(g().GetColors(cColour, 1), picked);
    EXPECT_EQ(cell(cColour, 1), colour.SelectedColorText());
    EXPECT_FALSE(cell(cColour, 1).isEmpty());
}

TEST_F(DropDownEditors, TimeTypedOverTheHourIsWrittenBack)
{
    open(cTime, 1);
    auto& time = editor<TGridTimepickerDropDown>(ddTimepicker);
    ASSERT_EQ(shown(), &time);
    EXPECT_EQ(time.Text(), "10:15:00");
    key(Qt::Key_Home);
    type("11");
    EXPECT_EQ(time.Text(), "11:15:00");
    key(Qt::Key_Return);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(cell(cTime, 1), "11:15:00");
}

TEST_F(DropDownEditors, RefusedValueKeepsTheEditorOpenWithTheValidatedText)
{
    controller().OnCellValidate = [](TExtStringGrid*, int, int, QString& value, bool& valid) {
        if (value.startsWith(QLatin1Char('9'))) {
            valid = false;
            value = QStringLiteral("8");
        }
    };
    auto& calc = editor<TGridCalculatorDropDown>(ddCalculator);
    struct Case {
        Qt::Key key;
        const char* selected;  // all of it after Enter or Down, nothing (caret at the end) after Tab
    };
    g().Options |= goTabs;
    for (const Case c : {Case{Qt::Key_Return, "8"}, Case{Qt::Key_Down, "8"}, Case{Qt::Key_Tab, ""}}) {
        open(cCalc, 1);
        key(Qt::Key_Backspace);
        type("9");
        key(c.key);
        EXPECT_EQ(shown(), &calc);
        EXPECT_EQ(calc.Text(), "8");
        EXPECT_EQ(calc.selectedText(), c.selected);
        EXPECT_EQ(current(), QPoint(cCalc, 1));
        key(Qt::Key_Escape);
    }
    // An accepted value with Tab moves on to the next cell.
    open(cCalc, 1);
    key(Qt::Key_Backspace);
    type("4");
    key(Qt::Key_Tab);
    EXPECT_EQ(cell(cCalc, 1), "4");
    EXPECT_EQ(current(), QPoint(cTime, 1));
    EXPECT_NE(shown(), &calc);
}

TEST_F(DropDownEditors, APressOnTheCurrentCellPutsTheCalculatorsCaretUnderTheMouse)
{
    auto& calc = editor<TGridCalculatorDropDown>(ddCalculator);
    const TRect rc = g().CellRect(cCalc, 1);
    select(cCalc, 1);
    QTest::mouseClick(client(), Qt::LeftButton, {}, QPoint(rc.Left + 2, (rc.Top + rc.Bottom) / 2));
    ASSERT_EQ(shown(), &calc);
    EXPECT_FALSE(calc.hasSelectedText());
    EXPECT_EQ(calc.cursorPosition(), 0);
    key(Qt::Key_Escape);
    QTest::mouseClick(client(), Qt::LeftButton, {}, QPoint(rc.Right - 20, (rc.Top + rc.Bottom) / 2));
    ASSERT_EQ(shown(), &calc);
    EXPECT_EQ(calc.cursorPosition(), int(calc.RawText().size()));
}

TEST_F(DropDownEditors, ColourWithItsPanelClosedLeavesOnDownWithoutValidating)
{
    int validations = 0;
    controller().OnCellValidate = [&](TExtStringGrid*, int, int, QString&, bool&) { ++validations; };
    open(cColour, 2);
    key(Qt::Key_Down);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(current(), QPoint(cColour, 3));
    EXPECT_EQ(validations, 0);
}

TEST_F(DropDownEditors, GridDropDownPicksARowIntoTheCell)
{
    auto& fruit = editor<TGridExtGridDropDown>(ddExtGrid);
    FillFruits(fruit);
    open(cFruit, 1);
    ASSERT_EQ(shown(), &fruit);
    EXPECT_EQ(fruit.ItemIndex(), 2);
    key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(fruit.DroppedDown());
    key(Qt::Key_Down);
    key(Qt::Key_Return);  // the grid's row is picked and the form closes
    EXPECT_FALSE(fruit.DroppedDown());
    EXPECT_EQ(fruit.Text(), "Mango");
    EXPECT_EQ(shown(), &fruit);
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cFruit, 1), "Mango");
    EXPECT_EQ(shown(), nullptr);

    // Escape in the open form returns to the opening's row; a second one leaves the cell as it was.
    open(cFruit, 2);
    key(Qt::Key_Down, Qt::AltModifier);
    key(Qt::Key_Up);
    key(Qt::Key_Escape);
    EXPECT_EQ(fruit.Text(), "Banana");
    key(Qt::Key_Escape);
    EXPECT_EQ(cell(cFruit, 2), "Banana");
}

TEST_F(DropDownEditors, MultiColumnListCompletesTypedTextAndWritesTheItem)
{
    auto& pick = editor<TGridGridDropDown>(ddGrid);
    FillFruits(pick);
    open(cPick, 3);
    EXPECT_EQ(pick.ItemIndex(), 0);
    pick.selectAll();
    type("ma");
    EXPECT_EQ(pick.Text(), "Mango");
    key(Qt::Key_Return);
    EXPECT_EQ(cell(cPick, 3), "Mango");
}

// A picker without items of its own shows the grid's images, one item each; a pick in either
// picker is told with the current cell before anything is written.
TEST_F(DropDownEditors, PickersShowTheGridsImagesAndTellEachPick)
{
    TGridImageList images(16, 16);
    for (const QColor colour : {Qt::red, Qt::green, Qt::blue}) {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(colour);
        images.List.Add(image);
    }
    g().GridImages = &images;
    g().Columns()[cCalc]->SetEditor(edImagePickerDropDown);
    g().SetCells(cCalc, 1, QString());
    g().AddImageIdx(cCalc, 1, 1, haLeft, vaTop);
    std::vector<std::string> seen;
    specials().OnImageSelect = [&](TExtStringGrid*, int c, int r, int item) {
        seen.push_back("image " + std::to_string(c) + "," + std::to_string(r) + " " + std::to_string(item));
    };
    specials().OnColorSelect = [&](TExtStringGrid*, int c, int r, platform::TColor, const QString& text) {
        seen.push_back("colour " + std::to_string(c) + "," + std::to_string(r) + (text.isEmpty() ? "" : " named"));
    };

    open(cCalc, 1);
    auto& picker = editor<TGridImageDropDown>(ddImage);
    ASSERT_EQ(shown(), &picker);
    EXPECT_EQ(picker.Images(), &images.List);
    EXPECT_EQ(picker.Items().Count(), 3);
    EXPECT_EQ(picker.ImageIndex(), 1);
    seen.clear();  // taking the cell's image on opening is a pick too
    picker.SetItemIndex(2);
    key(Qt::Key_Return);
    int index = -1;
    ASSERT_TRUE(g().GetImageIdx(cCalc, 1, index));
    EXPECT_EQ(index, 2);

    open(cColour, 2);
    seen.resize(1);  // as above, the colour of the cell taken on opening
    key(Qt::Key_Down, Qt::AltModifier);
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    const std::string calc = std::to_string(cCalc), colour = std::to_string(cColour);
    EXPECT_EQ(seen, (std::vector<std::string>{"image " + calc + ",1 2", "colour " + colour + ",2 named"}));
    g().GridImages = nullptr;
}

}  // namespace
