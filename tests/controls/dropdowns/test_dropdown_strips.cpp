#include "DropDownTestUtil.h"
#include "controls/dropdowns/DropDownEdit.h"
#include "controls/dropdowns/DropDownStrips.h"
#include "platform/Exception.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace dropdowns;
using platform::TColor;

namespace {

class DropDownStrips : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<QWidget>();
        host->resize(300, 100);
        edit = new TExtCustomDropDown(host.get());
        edit->setGeometry(0, 70, 150, 21);
        header = new TExtHeader(host.get());
        header->setGeometry(0, 0, 200, 22);
        footer = new TExtFooter(host.get());
        footer->setGeometry(0, 30, 200, 22);
        host->show();
    }

    void AddHeaderButtons(std::initializer_list<int> widths)
    {
        for (int w : widths)
            edit->DropDownHeader().Buttons().Add()->SetWidth(w);
    }

    std::unique_ptr<QWidget> host;
    TExtCustomDropDown* edit = nullptr;
    TExtHeader* header = nullptr;
    TExtFooter* footer = nullptr;
};

TEST_F(DropDownStrips, RightAlignedButtonsGatherFromTheRightAndTheCaptionEndsBeforeThem)
{
    AddHeaderButtons({40, 30, 20});
    header->SetExtDropDown(edit);
    header->InitButtons();
    ASSERT_EQ(header->ButtonList().Count(), 3);
    std::vector<int> lefts;
    for (int i = 0; i < 3; ++i)
        lefts.push_back(header->ButtonList().Items(i)->x());
    EXPECT_EQ(lefts, (std::vector<int>{158, 128, 108}));
    const QRect caption = header->GetCaptionRect();
    EXPECT_EQ(caption.left() + caption.width(), 106);
    EXPECT_EQ(header->ButtonList().Items(2)->Tag, 2);

    edit->DropDownHeader().ButtonAlignment = baLeft;
    header->SetExtDropDown(edit);
    header->InitButtons();
    EXPECT_EQ(header->ButtonList().Items(0)->x(), 2);
    EXPECT_EQ(header->ButtonList().Items(1)->x(), 42);
}

TEST_F(DropDownStrips, TallButtonIsCutToTheButtonArea)
{
    edit->DropDownHeader().Buttons().Add()->Height = 30;
    header->SetExtDropDown(edit);
    header->InitButtons();
    EXPECT_EQ(header->GetButtonHeight(), 17);
    EXPECT_EQ(header->ButtonList().Items(0)->height(), 17);
}

TEST_F(DropDownStrips, UnlinkedStripHasNoButtonsOrImagesAndNoCaptionArea)
{
    AddHeaderButtons({40});
    header->InitButtons();
    EXPECT_EQ(header->ButtonList().Count(), 0);
    EXPECT_EQ(header->GetCaptionRect(), platform::Rect(-1, -1, -1, -1));
    EXPECT_EQ(header->Buttons(), nullptr);
}

TEST_F(DropDownStrips, FooterGripNeedsASizeableDropDown)
{
    footer->SetExtDropDown(edit);
    EXPECT_TRUE(footer->HasSizeGrip());
    EXPECT_EQ(footer->GetButtonRect().width(), 200 - 4 - 12);
    EXPECT_TRUE(footer->InGripZone(195, 20));
    edit->SetDropDownSizeable(false);
    EXPECT_FALSE(footer->HasSizeGrip());
    EXPECT_EQ(footer->GetButtonRect().width(), 200 - 4);
    EXPECT_FALSE(footer->InGripZone(195, 20));
}

TEST_F(DropDownStrips, ButtonListChecksEveryIndex)
{
    TDbgList<TExtButton> list;
    TExtButton button;
    list.Add(&button);
    EXPECT_EQ(list.Items(0), &button);
    const struct {
        int index;
        bool write;
        const char* message;
    } cases[] = {
        {1, false, "Index out of bounds in list read access"},
        {-1, false, "Index out of bounds in list read access"},
        {1, true, "Index out of bounds in list write access"},
        {-1, true, "Index out of bounds in list write access"},
    };
    for (const auto& c : cases) {
        try {
            if (c.write)
                list.SetItems(c.index, &button);
            else
                list.Items(c.index);
            ADD_FAILURE() << "no error for " << c.index;
        } catch (const platform::Exception& e) {
            EXPECT_EQ(e.message(), c.message);
        }
    }
}

TEST_F(DropDownStrips, DefaultHeaderPaintsGradientBottomLineAndLightInnerFrame)
{
    header->SetExtDropDown(edit);
    header->Appearance().Color = platform::clSilver;
    header->Appearance().ColorTo = platform::clWhite;
    header->Appearance().BorderColor = platform::clBlack;
    const QImage image = header->grab().toImage();
    EXPECT_EQ(Pixel(image, 100, 21), platform::clBlack) << "bottom line";
    EXPECT_EQ(Pixel(image, 100, 0), 0xCCCCCCu) << "inner frame: 20 % black, 80 % white";
    const int top = platform::GetRValue(Pixel(image, 100, 2));
    const int bottom = platform::GetRValue(Pixel(image, 100, 19));
    EXPECT_LT(top, bottom) << "silver at the top to white at the bottom";
    EXPECT_GE(top, 0xC0);
}

TEST_F(DropDownStrips, FlatOrNoBackgroundAndNoBorder)
{
    header->SetExtDropDown(edit);
    header->Appearance().Color = 0x0000FF;
    header->Appearance().ColorTo = platform::clNone;
    header->Appearance().BorderWidth = 0;
    QImage image = header->grab().toImage();
    EXPECT_EQ(Pixel(image, 100, 21), 0x0000FFu) << "no bottom line without border width";
    EXPECT_EQ(Pixel(image, 0, 0), 0x0000FFu);

    host->setStyleSheet("background: #00ff00");
    header->Appearance().Color = platform::clNone;
    image = header->grab().toImage();
    EXPECT_NE(Pixel(image, 100, 10), 0x0000FFu) << "no background at all";
}

TEST_F(DropDownStrips, DrawingHandlerReplacesEverythingIncludingTheGrip)
{
    footer->SetExtDropDown(edit);
    QImage image = footer->grab().toImage();
    const int x0 = 200 - 1 - 16, y0 = 22;
    EXPECT_EQ(Pixel(image, x0 + 12, y0 - 5), footer->Appearance().BorderColor) << "dark grip dot";
    EXPECT_EQ(Pixel(image, x0 + 14, y0 - 3), platform::clWhite) << "light grip dot, below and right of the dark one";

    int calls = 0;
    footer->OnDrawBackGround = [&](QObject*, platform::TCanvas& canvas, QRect r) {
        ++calls;
        canvas.Brush.Color = 0xFF00FF;
        canvas.FillRect(r);
    };
    image = footer->grab().toImage();
    EXPECT_GE(calls, 1);
    EXPECT_EQ(Pixel(image, x0 + 12, y0 - 5), 0xFF00FFu);
}

TEST_F(DropDownStrips, TextHandlerMayReplaceOrSuppressTheCaption)
{
    header->SetExtDropDown(edit);
    header->Appearance().Caption = "Caption";
    header->Appearance().ColorTo = platform::clNone;
    header->Appearance().Color = platform::clWhite;
    header->Appearance().BorderWidth = 0;
    auto inkedPixels = [&] {
        const QImage image = header->grab().toImage();
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                inked += Pixel(image, x, y) != platform::clWhite;
        return inked;
    };
    EXPECT_GT(inkedPixels(), 0);
    header->OnGetText = [](QObject*, QString& text) { text.clear(); };
    EXPECT_EQ(inkedPixels(), 0);
}

TEST_F(DropDownStrips, SizeGripDragResizesTheOpenForm)
{
    edit->DropDownHeader().SetVisible(false);
    edit->SetDropDownWidth(150);
    edit->SetDropDownHeight(120);
    edit->ShowDropDown();
    TDropDownForm* form = edit->DropDownForm();
    ASSERT_TRUE(form->isVisible());
    TExtFooter* grip = form->Footer();
    ASSERT_NE(grip, nullptr);
    ASSERT_TRUE(grip->HasSizeGrip());
    int sizings = 0;
    form->OnSizing = [&] { ++sizings; };
    QWidget* client = grip->Client();
    const QPoint start(grip->width() - 5, grip->height() - 5);
    QTest::mousePress(client, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(client, start + QPoint(40, 30));
    QTest::mouseRelease(client, Qt::LeftButton, Qt::NoModifier, start + QPoint(40, 30));
    EXPECT_EQ(form->size(), QSize(190, 150));
    EXPECT_GE(sizings, 1);
    EXPECT_EQ(grip->y() + grip->height(), form->height() - 1) << "the footer follows the bottom edge";
    edit->HideDropDown(false);
    EXPECT_EQ(edit->UserDropDownWidth(), 190);
}

TEST_F(DropDownStrips, CaptionAcceleratorOfAnOpenFormsButtonClicksIt)
{
    edit->DropDownHeader().SetVisible(true);
    edit->DropDownHeader().Buttons().Add()->SetCaption(QStringLiteral("&Clear"));
    edit->DropDownHeader().Buttons().Add()->SetCaption(QStringLiteral("&Keep"));
    edit->DropDownFooter().Buttons().Add()->SetCaption(QStringLiteral("&Done"));
    std::vector<std::string> clicks;
    edit->OnDropDownHeaderButtonClick = [&](QObject*, int index) { clicks.push_back("header " + std::to_string(index)); };
    edit->OnDropDownFooterButtonClick = [&](QObject*, int index) { clicks.push_back("footer " + std::to_string(index)); };
    edit->ShowDropDown();
    TDropDownForm* form = edit->DropDownForm();
    ASSERT_TRUE(form->isVisible());
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form;
    QTest::keyClick(target, Qt::Key_K, Qt::AltModifier);
    QTest::keyClick(target, Qt::Key_X, Qt::AltModifier);  // no button has it
    QTest::keyClick(target, Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(clicks, (std::vector<std::string>{"header 1", "footer 0"}));
    edit->HideDropDown(false);
}

}  // namespace
