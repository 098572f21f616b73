#include "DropDownTestUtil.h"
#include "controls/dropdowns/DropDownEdit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QTest>
#include <gtest/gtest.h>

using namespace dropdowns;
using namespace controls;
using platform::clNone;
using platform::TColor;

namespace {

class DropDownLook : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(400, 200);
        edit = new TExtCustomDropDown(window.get());
        edit->setGeometry(100, 50, 150, 21);
        other = new QWidget(window.get());
        other->setFocusPolicy(Qt::StrongFocus);
        other->setGeometry(0, 150, 20, 20);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    std::unique_ptr<QWidget> window;
    TExtCustomDropDown* edit = nullptr;
    QWidget* other = nullptr;
};

TEST_F(DropDownLook, ComponentStylesSetFormStripAndButtonColours)
{
    const struct {
        TSuiteStyle style;
        TColor color, colorTo, border, header, footer, hot, hotTo;
    } cases[] = {
        {tsOffice2007Luna, 0xF3E5DA, 0xF0DED0, clNone, 0xFFEFE3, 0xFFEFE3, 0xEBFDFF, 0xACECFF},
        {tsWindowsVista, 0xFFFFFF, 0xFFFFFF, 0x979797, 0xFFFDF9, 0xFFFAF0, 0xFEF9F0, 0xFFFAF0},
        {tsOffice2010Black, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xBFBFBF, 0xBFBFBF, 0x8AE3FD, clNone},
        {tsTerminal, 0xFFFFFF, 0xFFFFFF, 0x808080, platform::clBtnFace, platform::clBtnFace, 0xC0C0C0, 0xC0C0C0},
    };
    for (const auto& c : cases) {
        edit->SetComponentStyle(c.style);
        EXPECT_EQ(edit->GetComponentStyle(), c.style);
        EXPECT_EQ(edit->DropDownColor(), c.color) << c.style;
        EXPECT_EQ(edit->DropDownColorTo(), c.colorTo) << c.style;
        EXPECT_EQ(edit->DropDownBorderColor(), c.border) << c.style;
        EXPECT_EQ(edit->DropDownHeader().Color, c.header) << c.style;
        EXPECT_EQ(edit->DropDownFooter().Color, c.footer) << c.style;
        EXPECT_EQ(edit->ButtonAppearance().ColorHot(), c.hot) << c.style;
        EXPECT_EQ(edit->ButtonAppearance().ColorHotTo(), c.hotTo) << c.style;
    }
    // "=" styles leave the form's border colour as it was.
    edit->SetDropDownBorderColor(0x123456);
    edit->SetComponentStyle(tsOffice2003Blue);
    EXPECT_EQ(edit->DropDownBorderColor(), 0x123456u);
    EXPECT_EQ(edit->DropDownHeader().BorderColor, platform::clBlack);
    EXPECT_EQ(edit->DropDownFooter().BorderColor, 0x962D00u);
}

TEST_F(DropDownLook, CustomStyleChangesNothing)
{
    edit->SetDropDownColor(0x010101);
    edit->ButtonAppearance().SetColor(0x020202);
    edit->SetComponentStyle(tsCustom);
    EXPECT_EQ(edit->DropDownColor(), 0x010101u);
    EXPECT_EQ(edit->ButtonAppearance().Color(), 0x020202u);
    edit->SetComponentStyle(tsOffice2007Luna);
    EXPECT_EQ(edit->DropDownColor(), 0xF3E5DAu);
}

TEST_F(DropDownLook, SelectionPresetsAndCustomSelectionPainting)
{
    const struct {
        TSelectionColorStyle style;
        TColor color, colorTo;
    } cases[] = {
        {scOffice2007, 0xD7FFFD, 0x58D4FC}, {scWindowsVista, 0xFDF8F1, 0xFCEFD5}, {scWindows7, 0xFCEBDC, 0xFCDBC1}};
    for (const auto& c : cases) {
        edit->SetSelectionColorStyle(c.style);
        EXPECT_EQ(edit->SelectionColor(), c.color);
        EXPECT_EQ(edit->SelectionColorTo(), c.colorTo);
    }
    edit->SetSelectionColorStyle(scCustom);
    EXPECT_EQ(edit->SelectionColor(), 0xFCEBDCu) << "custom keeps the colours";
    edit->SetSelectionColor(0x00FFFF);
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        platform::TCanvas canvas(&image);
        edit->DrawSelection(canvas, QRect(0, 0, 10, 10), platform::clWhite, 0);
    }
    EXPECT_EQ(Pixel(image, 5, 5), 0x00FFFFu);
    EXPECT_EQ(Pixel(image, 15, 15), platform::clWhite);
}

TEST_F(DropDownLook, ItemAppearancePresets)
{
    TItemAppearanceColors a;
    a.ColorHot = 0x111111;
    TExtCustomDropDown::SetItemAppearanceStyle(a, tsCustom);
    EXPECT_EQ(a.ColorHot, 0x111111u);
    TExtCustomDropDown::SetItemAppearanceStyle(a, tsWindowsXP);
    EXPECT_EQ(a.ColorSelected, platform::clHighlight);
    EXPECT_EQ(a.ColorSelectedText, platform::clHighlightText);
    EXPECT_EQ(a.BorderColorHot, clNone);
    TExtCustomDropDown::SetItemAppearanceStyle(a, tsOffice2007Silver);
    EXPECT_EQ(a.EdgeColor, 0xC3D9DFu);
    EXPECT_EQ(a.ColorSelectedText, platform::clBlack);
    TExtCustomDropDown::SetItemAppearanceStyle(a, tsOffice2010Blue);
    EXPECT_EQ(a.ColorMirrorSelected, 0x6CD0FFu);
    EXPECT_EQ(a.BorderColor, 0x308AC2u);
}

TEST_F(DropDownLook, ColourTonesColourTheArrowAndTheBorder)
{
    TColorTones tones;
    tones.Background.BrushColor = 0x101010;
    tones.Background.BorderColor = 0x202020;
    tones.Hover.BrushColor = 0x303030;
    tones.Selected.BrushColor = 0x404040;
    edit->SetColorTones(tones);
    EXPECT_EQ(edit->Button()->ButtonColor, 0x101010u);
    EXPECT_EQ(edit->Button()->ButtonColorHot, 0x303030u);
    EXPECT_EQ(edit->Button()->ButtonColorDown, 0x404040u);
    EXPECT_EQ(edit->Button()->ButtonBorderColor, 0x202020u);
    EXPECT_EQ(edit->BorderColor(), 0x202020u);
    EXPECT_EQ(Pixel(edit->grab().toImage(), 50, 0), 0x202020u) << "the border is drawn over the edit";
}

TEST_F(DropDownLook, LabelIsPlacedByPositionAndMargin)
{
    edit->SetLabelMargin(4);
    edit->SetLabelCaption("Name");
    QLabel* label = edit->EditLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    const int w = QFontMetrics(label->font()).horizontalAdvance("Name");
    const int lw = label->width(), lh = label->height();
    const struct {
        TLabelPosition position;
        QPoint at;
    } cases[] = {
        {lpLeftTop, {100 - w - 4, 50}},
        {lpLeftCenter, {100 - w - 4, 50 + (21 - lh) / 2}},
        {lpTopLeft, {100, 50 - lh - 4}},
        {lpBottomCenter, {100 + (150 - lw) / 2, 50 + 21 + 4}},
        {lpRightCenter, {100 + 150 + 4, 50 + (21 - lh) / 2}},
        {lpTopRight, {100 + 150 - lw, 50 - lh - 4}},
    };
    for (const auto& c : cases) {
        edit->SetLabelPosition(c.position);
        EXPECT_EQ(label->pos(), c.at) << c.position;
    }
    edit->move(120, 60);
    EXPECT_EQ(label->pos(), QPoint(120 + 150 - lw, 60 - lh - 4)) << "the label follows the edit";
    EXPECT_TRUE(label->isVisible());
    edit->hide();
    EXPECT_FALSE(label->isVisible());
}

TEST_F(DropDownLook, LabelClicksReachTheEdit)
{
    int clicks = 0, doubles = 0;
    edit->OnLabelClick = [&] { ++clicks; };
    edit->OnLabelDblClick = [&] { ++doubles; };
    edit->SetLabelCaption("Name");
    QTest::mouseClick(edit->EditLabel(), Qt::LeftButton);
    QTest::mouseDClick(edit->EditLabel(), Qt::LeftButton);
    EXPECT_GE(clicks, 1);
    EXPECT_EQ(doubles, 1);
}

TEST_F(DropDownLook, FocusedPickOnlyEditShowsItsValueOnTheHighlight)
{
    edit->SetText("value");
    edit->SetEditorEnabled(false);
    const TColor highlight = platform::ColorToRGB(platform::clHighlight);
    const QPoint inside(edit->width() - edit->DropDownButtonWidth() - 6, 10);
    edit->setFocus();
    EXPECT_EQ(Pixel(edit->grab().toImage(), inside.x(), inside.y()), highlight);
    other->setFocus();
    EXPECT_NE(Pixel(edit->grab().toImage(), inside.x(), inside.y()), highlight);
    edit->SetFocusDraw(false);
    edit->setFocus();
    EXPECT_NE(Pixel(edit->grab().toImage(), inside.x(), inside.y()), highlight);
}

TEST_F(DropDownLook, DisabledEditShowsASilverFrame)
{
    edit->setEnabled(false);
    EXPECT_EQ(Pixel(edit->grab().toImage(), 50, 0), 0xC0C0C0u);
    EXPECT_FALSE(edit->Button()->isEnabled());
    edit->SetDisabledBorder(false);
    EXPECT_NE(Pixel(edit->grab().toImage(), 50, 0), 0xC0C0C0u);
}

TEST_F(DropDownLook, ControlGrowsToItsMinimumHeight)
{
    edit->resize(150, 10);
    EXPECT_EQ(edit->height(), edit->GetMinHeight());
    EXPECT_GT(edit->GetMinHeight(), 10);
    const QRect button = edit->Button()->geometry();
    EXPECT_EQ(button.right(), edit->width() - 3) << "the arrow sits inside the frame";
    EXPECT_EQ(button.width(), 17);
}

TEST_F(DropDownLook, VersionAndAssign)
{
    EXPECT_EQ(edit->GetVersion(), "1.2.1.4");
    edit->SetVersion("9.9.9.9");
    EXPECT_EQ(edit->GetVersion(), "1.2.1.4");

    TExtCustomDropDown source;
    source.SetDropDownColor(0x010203);
    source.SetDropDownButtonWidth(21);
    source.SetDropDownButtonHint("Open");
    source.DropDownHeader().Caption = "Head";
    source.SetSelectionColorStyle(scWindows7);
    source.SetDropPosition(dpUp);
    edit->Assign(&source);
    EXPECT_EQ(edit->DropDownColor(), 0x010203u);
    EXPECT_EQ(edit->DropDownButtonWidth(), 21);
    EXPECT_EQ(edit->Button()->width(), 21);
    EXPECT_EQ(edit->DropDownButtonHint(), "Open");
    EXPECT_EQ(edit->DropDownHeader().Caption, "Head");
    EXPECT_EQ(edit->SelectionColorTo(), 0xFCDBC1u);
    EXPECT_EQ(edit->DropPosition(), dpUp);

    QObject stranger;
    edit->Assign(&stranger);
    EXPECT_EQ(edit->DropDownColor(), 0x010203u);
}

}  // namespace
