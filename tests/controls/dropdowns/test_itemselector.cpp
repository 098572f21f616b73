#include "controls/dropdowns/DropDownDraw.h"
#include "controls/dropdowns/ItemSelector.h"
#include "platform/Exception.h"
#include "platform/TImageList.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace dropdowns;
using platform::TColor;

namespace {

QImage Square(QColor c, int size = 16)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(c);
    return image;
}

// A selector with n items of the list's 16 x 16 images, shown so that it takes mouse events.
struct SelectorFixture {
    QWidget window;
    TExtCustomItemSelector* selector;
    platform::TImageList images{16, 16};

    explicit SelectorFixture(int n, int columns = 1, QSize size = QSize(200, 300))
    {
        window.resize(size.width() + 20, size.height() + 20);
        selector = new TExtCustomItemSelector(&window);
        selector->setGeometry(0, 0, size.width(), size.height());
        for (int i = 0; i < 10; ++i)
            images.Add(Square(QColor::fromHsv(i * 30, 255, 255)));
        selector->SetImages(&images);
        selector->SetColumns(columns);
        for (int i = 0; i < n; ++i)
            selector->Items().Add()->SetImageIndex(i % 10);
        window.show();
        QApplication::processEvents();
    }
    TCustomItemSelector& Panel() { return *selector->Panel(); }
    QPoint CellCentre(int i) { return Panel().GetItemRect(i).center(); }
};

QSize CaptionExtent(const TExtCustomItemSelector& selector, const QString& caption)
{
    platform::TCanvas canvas;
    canvas.Font = const_cast<TExtCustomItemSelector&>(selector).ItemAppearance().Font;
    QSize size;
    DrawHTMLText(canvas, caption, QRect(0, 0, 1000, 500), nullptr, false, QString(), size);
    return size;
}

}  // namespace

TEST(ItemSelectorLayout, ImageCellsFillRowsOfColumnsAndThePanelAddsItsMargins)
{
    struct Case {
        int items, columns;
        QSize panel;
    };
    const Case cases[] = {
        {8, 3, QSize(76, 76)},   // rows of 3, 3, 2 of 24 x 24 cells
        {1, 1, QSize(28, 28)},
        {4, 4, QSize(100, 28)},
        {5, 1, QSize(28, 124)},
        {0, 3, QSize(100, 50)},  // an empty panel
    };
    for (const Case& c : cases) {
        SelectorFixture f(c.items, c.columns);
        SCOPED_TRACE(testing::Message() << c.items << " items, " << c.columns << " columns");
        EXPECT_EQ(f.selector->GetSelectorPanelSize(), c.panel);
        if (c.items > 0) {
            EXPECT_EQ(f.Panel().GetItemRect(0), QRect(2, 2, 24, 24));
            const int last = c.items - 1;
            EXPECT_EQ(f.Panel().GetItemRect(last).topLeft(),
                      QPoint(2 + last % c.columns * 24, 2 + last / c.columns * 24));
        }
    }
}

TEST(ItemSelectorLayout, ColourBoxCellsMakeRoomForTheCaptionByLayout)
{
    SelectorFixture f(0);
    f.selector->SetSelectorType(stColor);
    TSelectorItem* a = f.selector->Items().Add();
    a->SetCaption("Red");
    a->SetColor(platform::clRed);
    f.selector->Items().Add()->SetCaption("Aquamarine");
    const QSize a1 = CaptionExtent(*f.selector, "Red"), a2 = CaptionExtent(*f.selector, "Aquamarine");
    const int cw = std::max(a1.width(), a2.width()) + 4, ch = std::max(a1.height(), a2.height());

    struct Case {
        TItemLayout layout;
        QSize cell;
    };
    const Case cases[] = {
        {ilCaptionRight, QSize(8 + 14 + 4 + cw, std::max(14, ch) + 8)},
        {ilCaptionLeft, QSize(8 + 14 + 4 + cw, std::max(14, ch) + 8)},
        {ilCaptionTop, QSize(std::max(cw, 14) + 8, 8 + 14 + 4 + ch)},
        {ilCaptionBottom, QSize(std::max(cw, 14) + 8, 8 + 14 + 4 + ch)},
    };
    for (const Case& c : cases) {
        f.selector->SetItemLayout(c.layout);
        f.selector->UpdateSelectorPanel();
        EXPECT_EQ(f.Panel().GetItemRect(1).size(), c.cell) << "layout " << c.layout;
    }
}

TEST(ItemSelectorLayout, ItemSizeHandlerDecidesAloneAndColumnsBelowOneAreRefused)
{
    SelectorFixture f(3);
    f.selector->OnItemSize = [](QObject*, QSize& size) { size = QSize(50, 10); };
    f.selector->UpdateSelectorPanel();
    EXPECT_EQ(f.Panel().GetItemRect(2), QRect(2, 22, 50, 10));
    for (int refused : {0, -2}) {
        f.selector->SetColumns(refused);
        EXPECT_EQ(f.selector->Columns(), 1);
    }
}

TEST(ItemSelectorPanel, RefusesAnOwnerThatIsNotASelector)
{
    QWidget owner;
    try {
        TCustomItemSelector panel(&owner);
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.message(), "Invalid parent");
    }
}

TEST(ItemSelectorSelection, StepsStopAtTheEndsAndStartAtTheFirstItem)
{
    struct Case {
        int start;
        void (TExtCustomItemSelector::*step)();
        int expected;
    };
    const Case cases[] = {
        {-1, &TExtCustomItemSelector::SelectNext, 0},     {-1, &TExtCustomItemSelector::SelectPrevious, 0},
        {3, &TExtCustomItemSelector::SelectNext, 3},      {0, &TExtCustomItemSelector::SelectPrevious, 0},
        {1, &TExtCustomItemSelector::SelectNext, 2},      {2, &TExtCustomItemSelector::SelectPrevious, 1},
        {-1, &TExtCustomItemSelector::SelectLast, 3},     {2, &TExtCustomItemSelector::SelectFirst, 0},
    };
    for (const Case& c : cases) {
        SelectorFixture f(4);
        f.selector->SetItemIndex(c.start);
        (f.selector->*c.step)();
        EXPECT_EQ(f.selector->ItemIndex(), c.expected) << "from " << c.start;
    }
}

TEST(ItemSelectorSelection, SelectingAgainFiresAgainAndADisabledItemIsRefusedEverywhere)
{
    SelectorFixture f(4);
    int fired = 0;
    f.selector->OnItemSelect = [&] { ++fired; };
    f.selector->SetItemIndex(1);
    f.selector->SetItemIndex(1);
    EXPECT_EQ(fired, 2);
    f.selector->SetItemIndex(4);  // past the last item
    EXPECT_EQ(f.selector->ItemIndex(), 1);
    EXPECT_EQ(fired, 2);

    f.selector->Items().Items(2)->Enabled = false;
    f.selector->Items().Items(2)->Hint = "off";
    f.selector->SelectNext();
    EXPECT_EQ(f.selector->ItemIndex(), 1);
    f.selector->SetItemIndex(2);
    EXPECT_EQ(f.selector->ItemIndex(), 1);
    QTest::mouseClick(f.Panel().viewport(), Qt::LeftButton, {}, f.CellCentre(2));
    EXPECT_EQ(f.selector->ItemIndex(), 1);
    EXPECT_EQ(fired, 2);

    QTest::mouseMove(f.Panel().viewport(), f.CellCentre(3));
    EXPECT_EQ(f.selector->ItemHot(), 3);
    QTest::mouseMove(f.Panel().viewport(), f.CellCentre(2));
    EXPECT_EQ(f.selector->ItemHot(), -1);
    EXPECT_EQ(f.Panel().Hint(), "off");  // hovering still switches the hint

    QTest::mouseClick(f.Panel().viewport(), Qt::LeftButton, {}, f.CellCentre(3));
    EXPECT_EQ(f.selector->ItemIndex(), 3);
    EXPECT_EQ(fired, 3);
}

TEST(ItemSelectorSelection, LookupMatchesThePlainCaptionInAnyCase)
{
    SelectorFixture f(0);
    for (const char* caption : {"<b>Blue</b>", "  <font color=\"red\">Red</font>", "<i>re</i>do"})
        f.selector->Items().Add()->SetCaption(caption);
    EXPECT_TRUE(f.selector->LookupItem("RE"));
    EXPECT_EQ(f.selector->ItemIndex(), 1);
    EXPECT_TRUE(f.selector->LookupItem("RED"));
    EXPECT_EQ(f.selector->ItemIndex(), 1);
    EXPECT_TRUE(f.selector->LookupItem("REDO"));
    EXPECT_EQ(f.selector->ItemIndex(), 2);
    EXPECT_FALSE(f.selector->LookupItem("FONT"));
    EXPECT_EQ(f.selector->ItemIndex(), 2);
    EXPECT_EQ(HTMLToPlainText("a<BR>b<hr>c<br/>d"), "a\nb\nc\nd");
}

TEST(ItemSelectorScrolling, KeepsTheSelectedCellInViewAndCountsTheVisibleCells)
{
    // 24-pixel cells in a container 100 high: four whole cells show.
    SelectorFixture f(20, 1, QSize(80, 100));
    ASSERT_TRUE(f.selector->VertScrollBarVisible());
    EXPECT_EQ(f.selector->GetVisibleItemCount(), 4);
    f.selector->SetItemIndex(10);
    const QRect cell = f.Panel().GetItemRect(10).translated(f.Panel().pos());
    EXPECT_EQ(cell.bottom() + 1, f.selector->ClientHeight());
    f.selector->SetItemIndex(1);
    EXPECT_EQ(f.Panel().GetItemRect(1).translated(f.Panel().pos()).top(), 0);
    f.selector->SelectLast();
    EXPECT_EQ(f.Panel().GetItemRect(19).translated(f.Panel().pos()).bottom() + 1, f.selector->ClientHeight());
}

TEST(ItemSelectorAppearance, StylesLoadTheirPresetAndAssignReloadsOnlyAnotherStyle)
{
    TItemAppearance office;
    EXPECT_EQ(office.ColorStyle(), scOffice2007);
    EXPECT_EQ(office.ColorHot, TColor(0xD7FFFD));
    EXPECT_EQ(office.ColorMirrorSelectedTo, TColor(0x68E3F9));
    EXPECT_EQ(office.Font.Name(), "Tahoma");

    TItemAppearance vista;
    vista.SetColorStyle(scWindowsVista);
    EXPECT_EQ(vista.ColorMirrorHot, platform::clNone);
    EXPECT_EQ(vista.BorderColor, TColor(0xFDDE99));
    vista.SetColorStyle(scCustom);
    vista.ColorHot = 0x123456;
    vista.BorderColorHot = 0x00FF00;

    // Same style: the copied colours stay.
    TItemAppearance custom;
    custom.SetColorStyle(scCustom);
    custom.Assign(vista);
    EXPECT_EQ(custom.ColorHot, TColor(0x123456));
    EXPECT_EQ(custom.BorderColorHot, TColor(0x00FF00));

    // Another style: its preset replaces the copied colours, the four trailing fields still copy.
    office.Assign(vista);
    EXPECT_EQ(office.ColorStyle(), scCustom);
    EXPECT_EQ(office.ColorHot, TColor(0x123456));
    vista.SetColorStyle(scWindows7);
    vista.ColorHot = 0x111111;
    office.Assign(vista);
    EXPECT_EQ(office.ColorHot, TColor(0xFCEBDC));
    EXPECT_EQ(office.BorderColorHot, TColor(0x00FF00));
}

TEST(ItemSelectorPainting, HotBorderColourTurnsTheButtonFaceIntoAFramedGradient)
{
    SelectorFixture f(3);
    f.selector->SetColor(platform::clWhite);
    f.selector->UpdateSelectorPanel();
    TItemAppearance& look = f.selector->ItemAppearance();
    const QRect cell = f.Panel().GetItemRect(1);
    auto pixel = [&](QPoint p) { return platform::FromQColor(f.Panel().viewport()->grab().toImage().pixelColor(p)); };

    f.Panel().SetItemHot(1);
    // The button face: rounded corner in the selector's colour, frame, then the edge pixel.
    EXPECT_EQ(pixel(cell.topLeft()), platform::clWhite);
    EXPECT_EQ(pixel(cell.topLeft() + QPoint(0, cell.height() / 2)), look.BorderColor);
    EXPECT_EQ(pixel(cell.topLeft() + QPoint(1, 0)), look.EdgeColor);

    look.BorderColorHot = 0x0000FF;
    f.Panel().Invalidate();
    EXPECT_EQ(pixel(cell.topLeft()), TColor(0x0000FF));
    EXPECT_EQ(pixel(cell.topLeft() + QPoint(0, cell.height() / 2)), TColor(0x0000FF));
    // From ColorHot (blue 0xD7) at the top to ColorHotTo (blue 0x58) at the bottom.
    EXPECT_GT(platform::GetBValue(pixel(cell.topLeft() + QPoint(cell.width() / 2, 1))), 0xC8);
    EXPECT_LT(platform::GetBValue(pixel(cell.topLeft() + QPoint(cell.width() / 2, cell.height() - 2))), 0x68);
    EXPECT_EQ(pixel(f.Panel().GetItemRect(0).topLeft() + QPoint(1, 1)), platform::clWhite);
}
