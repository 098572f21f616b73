#include "controls/dropdowns/ColorPickerDropDown.h"
#include "controls/dropdowns/DropDownForm.h"
#include "support/FakeClock.h"
#include "support/GoldenImage.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace dropdowns;
using platform::TColor;

namespace {

struct ColorFixture {
    QWidget window;
    TExtColorPickerDropDown* picker;
    QStringList events;

    explicit ColorFixture(TColorSelectionStyle style = csList)
    {
        window.resize(300, 300);
        picker = new TExtColorPickerDropDown(&window);
        picker->move(10, 10);
        picker->AddDefaultColors();
        picker->SetColorSelectionStyle(style);
        picker->OnSelect = [this] { events << QString("select %1").arg(picker->ItemIndex()); };
        window.show();
        QApplication::setActiveWindow(&window);
        picker->setFocus();
        QApplication::processEvents();
    }
    ~ColorFixture() { picker->HideDropDown(false); }

    void Open()
    {
        QTest::keyClick(picker, Qt::Key_Down, Qt::AltModifier);
        QApplication::processEvents();
    }
    // Keys reach the open drop-down's inner control, else the edit.
    QWidget* KeyTarget() const
    {
        QWidget* control = picker->Control();
        return picker->DroppedDown() && control ? control : static_cast<QWidget*>(picker);
    }
    void Key(Qt::Key key) { QTest::keyClick(KeyTarget(), key); }
};

}  // namespace

TEST(ColorPickerValue, TextIsTheListCaptionElseTheColourInTheChosenForm)
{
    ColorFixture f;
    ASSERT_EQ(f.picker->Colors().Count(), 16);
    EXPECT_EQ(f.picker->Colors().Items(9)->Caption(), "Red");
    EXPECT_EQ(f.picker->SelectedColor(), platform::clNone);

    f.picker->SetSelectedColor(platform::clRed);
    EXPECT_EQ(f.picker->ItemIndex(), 9);
    EXPECT_EQ(f.picker->SelectedColorText(), "Red");

    struct Case {
        TColorValueText kind;
        const char* text;
    };
    const Case cases[] = {{cvtNone, ""}, {cvtHex, "0000FF"}, {cvtWebName, "clWebRed"},
                          {cvtRGB, "Red:255,Green:0,Blue:0"}, {cvtHTML, "#FF0000"}};
    f.picker->SetItemIndex(-1);
    for (const Case& c : cases) {
        f.picker->SetColorValueText(c.kind);
        EXPECT_EQ(f.picker->SelectedColorText(), c.text);
    }
}

TEST(ColorPickerValue, IndexesOutsideTheColoursAreIgnoredAndEverySetFiresSelect)
{
    ColorFixture f;
    f.picker->SetItemIndex(3);
    f.picker->SetItemIndex(16);
    f.picker->SetItemIndex(-7);
    EXPECT_EQ(f.events, QStringList({"select 3", "select -1"}));
    EXPECT_EQ(f.picker->SelectedColor(), TColor(0x008080));  // a cleared index keeps the colour

    // A colour without an entry keeps the index as it was.
    f.picker->SetItemIndex(2);
    f.picker->SetSelectedColor(0x123456);
    EXPECT_EQ(f.picker->ItemIndex(), 2);
    EXPECT_EQ(f.picker->SelectedColor(), TColor(0x123456));
}

TEST(ColorPickerPanelsOpen, EachStyleSizesTheFormToItsPanel)
{
    struct Case {
        TColorSelectionStyle style;
        QSize form;
    };
    const Case cases[] = {
        {csDiscrete, QSize(165 + 2, 84 + 2)},
        {csColorCube, QSize(182 + 2, 160 + 2)},
        {csSpectrum, QSize(150 + 2, 174 + 2)},
    };
    for (const Case& c : cases) {
        ColorFixture f(c.style);
        f.Open();
        ASSERT_TRUE(f.picker->DroppedDown());
        EXPECT_EQ(f.picker->DropDownForm()->size(), c.form) << "style " << c.style;
        EXPECT_EQ(f.picker->Control()->isVisible(), true);
    }
    ColorFixture list;
    list.Open();
    EXPECT_EQ(list.picker->DropDownForm()->height(), 200);
    EXPECT_FALSE(list.picker->DropDownForm()->Header() && list.picker->DropDownForm()->Header()->isVisible());
}

TEST(ColorPickerPanelsOpen, ACubeChoiceClosesAndLeavesTheListIndexEmpty)
{
    ColorFixture f(csColorCube);
    f.picker->SetColorValueText(cvtHTML);
    f.Open();
    TExtColorCubePanel* cube = f.picker->CubePanel();
    ASSERT_TRUE(cube);
    // Cell 118 of the honeycomb is pure red, which the colour list also names.
    const TExtColorCubePanel::TCubeCell& cell = cube->Cell(118);
    ASSERT_EQ(cell.Color, platform::clRed);
    QTest::mouseClick(cube->viewport(), Qt::LeftButton, {}, QPoint(cell.X, cell.Y));
    EXPECT_FALSE(f.picker->DroppedDown());
    EXPECT_EQ(f.picker->SelectedColor(), platform::clRed);
    EXPECT_EQ(f.picker->ItemIndex(), -1);
    EXPECT_EQ(f.picker->SelectedColorText(), "#FF0000");
}

TEST(ColorPickerPalette, DownStepsOneBoxClosedAndOneRowOpen)
{
    ColorFixture f(csDiscrete);
    f.picker->SetSelectedColor(0x000000);  // the second box of the first row
    ASSERT_EQ(f.picker->PalettePanel()->ItemIndex(), -1);  // the palette learns it at the opening
    f.Open();
    ASSERT_EQ(f.picker->PalettePanel()->ItemIndex(), 1);
    f.Key(Qt::Key_Down);
    EXPECT_TRUE(f.picker->DroppedDown());
    EXPECT_EQ(f.picker->PalettePanel()->ItemIndex(), 11);
    EXPECT_EQ(f.picker->SelectedColor(), TColor(0x7F7F7F));
    f.Key(Qt::Key_Return);
    EXPECT_FALSE(f.picker->DroppedDown());
    EXPECT_EQ(f.picker->SelectedColor(), TColor(0x7F7F7F));

    f.Key(Qt::Key_Down);
    EXPECT_EQ(f.picker->PalettePanel()->ItemIndex(), 12);
    EXPECT_EQ(f.picker->SelectedColor(), TColor(0xC3D9DD));
}

TEST(ColorPickerPalette, EscapeRestoresTheColourOfTheOpeningEvenWithoutABox)
{
    struct Case {
        TColorSelectionStyle style;
        TColor start;
    };
    const Case cases[] = {{csDiscrete, 0x4D50C0}, {csDiscrete, 0x123456}, {csList, platform::clNone},
                          {csList, platform::clLime}};
    for (const Case& c : cases) {
        ColorFixture f(c.style);
        f.picker->SetSelectedColor(c.start);
        const int index = f.picker->ItemIndex();
        f.Open();
        f.Key(Qt::Key_Right);
        f.Key(Qt::Key_Down);
        EXPECT_NE(f.picker->SelectedColor(), c.start);
        f.Key(Qt::Key_Escape);
        EXPECT_FALSE(f.picker->DroppedDown());
        EXPECT_EQ(f.picker->SelectedColor(), c.start) << "style " << c.style << " colour " << std::hex << c.start;
        EXPECT_EQ(f.picker->ItemIndex(), index);
    }
}

TEST(ColorPickerList, ArrowsMoveOpenAClickPicksAndTypeAheadFindsByCaption)
{
    FakeClock clock;
    ColorFixture f;
    f.picker->SetSelectedColor(platform::clGreen);
    f.Open();
    f.Key(Qt::Key_Down);
    EXPECT_EQ(f.picker->ItemIndex(), 3);
    EXPECT_TRUE(f.picker->DroppedDown());
    TExtCustomItemSelector* list = f.picker->ListPanel();
    QTest::mouseClick(list->Panel()->viewport(), Qt::LeftButton, {}, list->Panel()->GetItemRect(12).center());
    EXPECT_FALSE(f.picker->DroppedDown());
    EXPECT_EQ(f.picker->SelectedColor(), platform::clBlue);
    EXPECT_EQ(f.picker->SelectedColorText(), "Blue");

    // Closed: type-ahead on the list's captions.
    f.Key(Qt::Key_S);
    EXPECT_EQ(f.picker->SelectedColorText(), "Silver");
    clock.Advance(600);
    f.Key(Qt::Key_T);
    EXPECT_EQ(f.picker->SelectedColorText(), "Teal");
    f.Key(Qt::Key_Down);
    EXPECT_EQ(f.picker->SelectedColorText(), "Gray");
}

TEST(ColorPickerList, EnterPicksTheHotEntryAndTheWheelMovesOnlyTheHotEntryWhileOpen)
{
    ColorFixture f;
    f.picker->SetItemIndex(0);
    f.Open();
    f.events.clear();
    bool handled = false;
    f.picker->FormMouseWheelDown(handled);
    f.picker->FormMouseWheelDown(handled);
    EXPECT_EQ(f.picker->ListPanel()->ItemHot(), 1);
    EXPECT_EQ(f.picker->ItemIndex(), 0);
    f.Key(Qt::Key_Return);
    EXPECT_FALSE(f.picker->DroppedDown());
    EXPECT_EQ(f.picker->ItemIndex(), 1);
    EXPECT_EQ(f.events, QStringList({"select 1"}));
}

TEST(ColorPickerLook, EachStyleOpensInTheDefaultLook)
{
    struct Case {
        TColorSelectionStyle style;
        const char* golden;
    };
    const Case cases[] = {{csList, "colorpicker_list.png"},
                          {csDiscrete, "colorpicker_palette.png"},
                          {csColorCube, "colorpicker_cube.png"},
                          {csSpectrum, "colorpicker_spectrum.png"}};
    for (const Case& c : cases) {
        ColorFixture f(c.style);
        f.picker->SetSelectedColor(c.style == csList ? platform::clTeal : TColor(0x4D50C0));
        f.Open();
        ASSERT_TRUE(f.picker->DroppedDown());
        EXPECT_TRUE(testsupport::MatchesGolden(f.picker->DropDownForm()->grab().toImage(),
                                               QString(TEST_DATA_DIR "/golden/") + c.golden));
    }
}

TEST(ColorPickerLook, TheEditShowsTheColourBoxAndItsText)
{
    ColorFixture f;
    f.picker->SetSelectedColor(platform::clRed);
    f.picker->clearFocus();
    QApplication::processEvents();
    const QImage image = f.picker->grab().toImage();
    // The box: black frame at x 5, red inside, its top at (21 - 14) div 2 + 1.
    EXPECT_EQ(platform::FromQColor(image.pixelColor(5, 4)), platform::clBlack);
    EXPECT_EQ(platform::FromQColor(image.pixelColor(10, 10)), platform::clRed);
    EXPECT_TRUE(testsupport::MatchesGolden(image, TEST_DATA_DIR "/golden/colorpicker_edit.png"));
}

TEST(ColorPickerPanelsOpen, ASpectrumPickClosesWithThePixelsColourAndNoListEntry)
{
    ColorFixture f(csSpectrum);
    f.picker->SetColorValueText(cvtRGB);
    f.Open();
    TExtColorSpectrumPanel* spectrum = f.picker->SpectrumPanel();
    ASSERT_TRUE(spectrum);
    const QPoint at = spectrum->ImageRect().topLeft() + QPoint(0, 64);
    QTest::mouseMove(spectrum->viewport(), at);
    QTest::mouseClick(spectrum->viewport(), Qt::LeftButton, {}, at);
    EXPECT_FALSE(f.picker->DroppedDown());
    const TColor picked = platform::FromQColor(TExtColorSpectrumPanel::SpectrumImage().pixelColor(0, 64));
    EXPECT_EQ(f.picker->SelectedColor(), picked);
    EXPECT_EQ(f.picker->ItemIndex(), -1);
    EXPECT_EQ(f.picker->SelectedColorText(), QString("Red:%1,Green:%2,Blue:%3")
                                                 .arg(platform::GetRValue(picked))
                                                 .arg(platform::GetGValue(picked))
                                                 .arg(platform::GetBValue(picked)));
    EXPECT_EQ(f.events.last(), "select -1");
}

TEST(ColorPickerLook, OwnerDrawingReplacesTheBoxAndShowTextOffLeavesOnlyTheBox)
{
    ColorFixture f;
    f.picker->SetSelectedColor(platform::clRed);
    f.picker->clearFocus();
    QApplication::processEvents();
    auto textPixels = [&] {
        const QImage image = f.picker->grab().toImage();
        int dark = 0;
        for (int x = 24; x < 120; ++x)
            for (int y = 3; y < 18; ++y)
                dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    };
    EXPECT_GT(textPixels(), 10);
    f.picker->SetShowText(false);
    EXPECT_EQ(textPixels(), 0);

    QRect drawn;
    f.picker->OnDrawSelectedColor = [&](QObject* sender, platform::TCanvas&, QRect r) {
        EXPECT_EQ(sender, f.picker);
        drawn = r;
    };
    const QImage image = f.picker->grab().toImage();
    EXPECT_EQ(drawn, platform::Rect(1, 1, f.picker->width() - f.picker->DropDownButtonWidth() - 2,
                                    f.picker->height() - 2));
    EXPECT_NE(platform::FromQColor(image.pixelColor(10, 10)), platform::clRed);
}

TEST(ColorPickerList, AClickOutsideTheOpenListCancelsTheMoves)
{
    ColorFixture f;
    f.picker->SetSelectedColor(platform::clNavy);
    f.Open();
    f.Key(Qt::Key_Down);
    ASSERT_EQ(f.picker->SelectedColor(), platform::clPurple);
    const QPoint outside = f.window.mapFromGlobal(f.picker->DropDownForm()->geometry().bottomRight() + QPoint(30, 30));
    QTest::mouseClick(f.window.windowHandle(), Qt::LeftButton, Qt::NoModifier, outside);
    EXPECT_FALSE(f.picker->DroppedDown());
    EXPECT_EQ(f.picker->SelectedColor(), platform::clNavy);
    EXPECT_EQ(f.picker->ItemIndex(), 4);
}
