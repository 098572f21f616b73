#include "controls/dropdowns/ColorPickerPanels.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace dropdowns;
using platform::TColor;

TEST(ColorValueText, EachKindWritesTheColourItsOwnWay)
{
    struct Case {
        TColor color;
        TColorValueText kind;
        const char* text;
    };
    const Case cases[] = {
        {platform::clRed, cvtNone, ""},
        {platform::clRed, cvtHex, "0000FF"},
        {platform::clRed, cvtWebName, "clWebRed"},
        {platform::clRed, cvtRGB, "Red:255,Green:0,Blue:0"},
        {platform::clRed, cvtHTML, "#FF0000"},
        {platform::clBtnFace, cvtHex, "FF00000F"},         // system colours keep their 8 digits
        {0xFFFF00, cvtWebName, "clWebCyan"},               // RGB 00FFFF: the first match in table order
        {0x563412, cvtWebName, "#123456"},                 // no web name
        {0x563412, cvtHTML, "#123456"},
        {0x0A0B0C, cvtHex, "0A0B0C"},
        {0x000000, cvtWebName, "clWebBlack"},
        {0x808000, cvtWebName, "clWebTeal"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColorValueToText(c.color, c.kind), QString::fromLatin1(c.text))
            << std::hex << c.color << " kind " << c.kind;
    EXPECT_EQ(WebColors().size(), 138u);
    // System colours are resolved before the channels are read.
    EXPECT_EQ(ColorValueToText(platform::clWindow, cvtHTML),
              ColorValueToText(platform::ColorToRGB(platform::clWindow), cvtHTML));
}

TEST(ColorCube, CellsLieInThirteenRowsOfAHoneycomb)
{
    TExtColorCubePanel cube;
    struct Case {
        int number, x, y;
        TColor color;
    };
    const Case cases[] = {
        {1, 55, 20, 0x663300},  {7, 127, 20, 0x660000},   {8, 49, 30, 0x666600},   {64, 91, 80, 0xFFFFFF},
        {58, 19, 80, 0x003300}, {70, 163, 80, 0x660066},  {71, 25, 90, 0x006633},  {127, 127, 140, 0x2100A5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cube.Cell(c.number).X, c.x) << c.number;
        EXPECT_EQ(cube.Cell(c.number).Y, c.y) << c.number;
        EXPECT_EQ(cube.Cell(c.number).Color, c.color) << c.number;
    }
    EXPECT_EQ(cube.size(), QSize(182, 160));
}

TEST(ColorCube, HitTestTakesTheFirstCellWithinSixPixels)
{
    TExtColorCubePanel cube;
    EXPECT_EQ(cube.CellAtPos(55, 20), 1);
    EXPECT_EQ(cube.CellAtPos(61, 20), 1);  // halfway to cell 2: the lower number wins
    EXPECT_EQ(cube.CellAtPos(55, 26), 1);
    EXPECT_EQ(cube.CellAtPos(42, 20), -1);  // left of the first row, above the second
    EXPECT_EQ(cube.CellAtPos(0, 0), -1);
    EXPECT_EQ(cube.CellAtPos(127, 140), 127);
}

TEST(ColorCube, MouseShowsTheCellsRgbAndAClickSelectsIt)
{
    QWidget window;
    auto* cube = new TExtColorCubePanel(&window);
    window.resize(200, 200);
    window.show();
    QApplication::processEvents();
    int selected = 0;
    cube->OnSelect = [&] { ++selected; };

    QTest::mouseMove(cube->viewport(), QPoint(55, 20));
    EXPECT_EQ(cube->HotIndex(), 1);
    EXPECT_EQ(cube->Hint(), "Red: 0,  Green: 51,  Blue: 102");
    QTest::mouseMove(cube->viewport(), QPoint(2, 2));
    EXPECT_EQ(cube->Hint(), "");
    EXPECT_EQ(cube->HotIndex(), 1);

    QTest::mouseClick(cube->viewport(), Qt::LeftButton, {}, QPoint(91, 80));
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(cube->SelectedIndex(), 64);
    EXPECT_EQ(cube->SelectedColor(), platform::clWhite);
    QTest::mouseClick(cube->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(selected, 1);

    cube->SetSelectedColor(0x663300);
    EXPECT_EQ(cube->SelectedIndex(), 1);
    cube->SetSelectedColor(0x123456);
    EXPECT_EQ(cube->SelectedIndex(), -1);
    EXPECT_EQ(cube->SelectedColor(), TColor(0x123456));
}

TEST(ColorSpectrum, PointerPicksThePixelUnderItAndAPressSelectsIt)
{
    QWidget window;
    auto* spectrum = new TExtColorSpectrumPanel(&window);
    window.resize(200, 200);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(spectrum->size(), QSize(150, 174));
    EXPECT_EQ(spectrum->ImageRect(), QRect(11, 10, 128, 128));
    EXPECT_EQ(spectrum->SelectedRect(), platform::Rect(10, 146, 73, 166));
    EXPECT_EQ(spectrum->HotRect(), platform::Rect(77, 146, 140, 166));
    EXPECT_EQ(spectrum->HotColor(), platform::clNone);

    const QImage picture = TExtColorSpectrumPanel::SpectrumImage();
    int selected = 0;
    spectrum->OnSelect = [&] { ++selected; };
    QTest::mouseMove(spectrum->viewport(), QPoint(11 + 40, 10 + 64));
    const TColor expected = platform::FromQColor(picture.pixelColor(40, 64));
    EXPECT_EQ(spectrum->HotColor(), expected);
    QTest::mousePress(spectrum->viewport(), Qt::LeftButton, {}, QPoint(11 + 40, 10 + 64));
    EXPECT_EQ(spectrum->SelectedColor(), expected);
    EXPECT_EQ(selected, 1);
    QTest::mouseRelease(spectrum->viewport(), Qt::LeftButton, {}, QPoint(11 + 40, 10 + 64));

    // The picture: pale on top, saturated red at the left of the middle row, dark at the bottom.
    EXPECT_GT(qGray(picture.pixel(64, 0)), 230);
    EXPECT_EQ(picture.pixelColor(0, 64).red(), 255);
    EXPECT_LT(picture.pixelColor(0, 64).green(), 20);
    EXPECT_LT(qGray(picture.pixel(64, 127)), 25);
}

namespace {

struct PaletteFixture {
    QWidget window;
    TCustomColorSelector* palette;
    int selects = 0;
    PaletteFixture()
    {
        palette = new TCustomColorSelector(&window);
        palette->AddDefaultBoxes();
        palette->OnItemSelect = [this] { ++selects; };
        window.resize(200, 120);
        window.show();
        QApplication::processEvents();
    }
};

}  // namespace

TEST(ColorPalette, FirstRowStandsApartAndTheOtherFiveTouch)
{
    PaletteFixture f;
    EXPECT_EQ(f.palette->Count(), 60);
    EXPECT_EQ(f.palette->size(), QSize(165, 84));
    EXPECT_EQ(f.palette->Items()[0].Rect, QRect(4, 4, 12, 12));
    EXPECT_EQ(f.palette->Items()[9].Rect, QRect(148, 4, 12, 12));
    EXPECT_EQ(f.palette->Items()[10].Rect, QRect(4, 20, 12, 12));
    EXPECT_EQ(f.palette->Items()[20].Rect, QRect(4, 32, 12, 12));
    EXPECT_EQ(f.palette->Items()[59].Rect, QRect(148, 80 - 12, 12, 12));
    EXPECT_EQ(f.palette->Items()[59].Color, TColor(0x064897));
    EXPECT_EQ(f.palette->Items()[5].ColorBoxPos, ipStandAlone);
    EXPECT_EQ(f.palette->Items()[15].ColorBoxPos, ipTop);
    EXPECT_EQ(f.palette->Items()[45].ColorBoxPos, ipMiddle);
    EXPECT_EQ(f.palette->Items()[55].ColorBoxPos, ipBottom);

    TCustomColorSelector empty;
    EXPECT_EQ(empty.size(), QSize(100, 50));
}

TEST(ColorPalette, KeysMoveByOneClosedAndByARowDroppedDown)
{
    struct Case {
        int start, key;
        bool editorEnabled, droppedDown;
        int expected;
    };
    const Case cases[] = {
        {5, platform::VK_DOWN, false, false, 6},    {5, platform::VK_DOWN, false, true, 15},
        {5, platform::VK_UP, false, false, 4},      {15, platform::VK_UP, false, true, 5},
        {5, platform::VK_UP, false, true, 5},       {55, platform::VK_DOWN, false, true, 55},
        {-1, platform::VK_DOWN, false, true, 0},    {5, platform::VK_RIGHT, false, false, 6},
        {5, platform::VK_RIGHT, true, false, 5},    {5, platform::VK_LEFT, true, true, 4},
        {5, platform::VK_NEXT, false, false, 59},   {5, platform::VK_HOME, false, true, 0},
        {5, platform::VK_PRIOR, false, false, 0},   {5, platform::VK_END, false, true, 59},
        {59, platform::VK_RIGHT, false, true, 59},  {5, platform::VK_RETURN, false, true, 5},
    };
    for (const Case& c : cases) {
        PaletteFixture f;
        f.palette->SetItemIndex(c.start);
        f.palette->HandleKey(c.key, c.editorEnabled, c.droppedDown);
        EXPECT_EQ(f.palette->ItemIndex(), c.expected)
            << "from " << c.start << " key " << c.key << (c.droppedDown ? " open" : " closed");
    }
}

TEST(ColorPalette, SelectedColourFindsItsBoxAndAnUnknownOneSelectsNothingSilently)
{
    PaletteFixture f;
    f.palette->SetSelectedColor(0x4D50C0);
    EXPECT_EQ(f.palette->ItemIndex(), 5);
    EXPECT_EQ(f.selects, 1);
    f.palette->SetSelectedColor(0x123456);
    EXPECT_EQ(f.palette->ItemIndex(), -1);
    EXPECT_EQ(f.palette->SelectedColor(), TColor(0x123456));
    EXPECT_EQ(f.selects, 1);

    f.palette->Items()[7].Enabled = false;
    f.palette->SetItemIndex(7);
    EXPECT_EQ(f.palette->ItemIndex(), -1);
    f.palette->SetItemIndex(60);  // past the last box
    EXPECT_EQ(f.palette->ItemIndex(), -1);
    QTest::mouseMove(f.palette->viewport(), f.palette->Items()[7].Rect.center());
    EXPECT_EQ(f.palette->ItemHot(), -1);
    QTest::mouseClick(f.palette->viewport(), Qt::LeftButton, {}, f.palette->Items()[7].Rect.center());
    EXPECT_EQ(f.palette->ItemIndex(), -1);
    QTest::mouseMove(f.palette->viewport(), f.palette->Items()[8].Rect.center());
    EXPECT_EQ(f.palette->ItemHot(), 8);
    QTest::mouseClick(f.palette->viewport(), Qt::LeftButton, {}, f.palette->Items()[8].Rect.center());
    EXPECT_EQ(f.palette->ItemIndex(), 8);
    EXPECT_EQ(f.palette->SelectedColor(), TColor(0xC6AC4B));
    EXPECT_EQ(f.selects, 2);
    // The gap between the first two rows belongs to no box.
    QTest::mouseClick(f.palette->viewport(), Qt::LeftButton, {}, QPoint(10, 18));
    EXPECT_EQ(f.palette->ItemIndex(), 8);
}
