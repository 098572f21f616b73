#include "DropDownTestUtil.h"
#include "controls/dropdowns/DropDownButtons.h"
#include "controls/dropdowns/DropDownEdit.h"
#include "platform/TImageList.h"
#include "support/GoldenImage.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace dropdowns;
using platform::TColor;

namespace {

TEST(DropDownButtons, EditButtonKeepsItsOwnWidthAndItsArrowFillsIt)
{
    TDropDownEditButton button;
    button.SetBounds(0, 0, 30, 20);
    EXPECT_EQ(button.width(), 16);
    EXPECT_EQ(button.Button()->geometry(), QRect(0, 0, 16, 20));
    button.SetBWidth(20);
    EXPECT_EQ(button.Button()->width(), 20);
}

TEST(DropDownButtons, ReleaseAnywhereAfterPressingTheArrowIsAClick)
{
    QWidget host;
    host.resize(100, 40);
    auto* button = new TDropDownEditButton(&host);
    button->SetBounds(0, 0, 16, 20);
    host.show();
    int clicks = 0;
    button->OnClick = [&] { ++clicks; };
    QTest::mousePress(button->Button(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(button->Button(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 30));
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(button->Button(), Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(clicks, 1) << "only the left button clicks";
}

TEST(DropDownButtons, ArrowLooksByColourGlyphAndEditState)
{
    QWidget host;
    host.resize(200, 40);
    auto* edit = new TExtCustomDropDown(&host);
    edit->setGeometry(0, 0, 150, 21);
    host.show();
    TDropDownEditButton* button = edit->Button();
    TExtDropDownSpeedButton* arrow = button->Button();

    arrow->IsWinXP = false;
    QImage image = arrow->grab().toImage();
    EXPECT_EQ(Pixel(image, 8, 8), platform::clBlack) << "classic black arrow";

    edit->setReadOnly(true);
    arrow->grab();
    EXPECT_FALSE(arrow->isEnabled()) << "a read-only edit's arrow takes no clicks";
    edit->setReadOnly(false);

    button->ButtonColor = 0x00FF00;
    button->ButtonTextColor = 0x0000FF;
    button->SetGlyph(QImage(4, 4, QImage::Format_ARGB32));
    image = arrow->grab().toImage();
    EXPECT_EQ(Pixel(image, 8, 8), 0x0000FFu) << "custom look: arrow in the text colour, glyph ignored";
    EXPECT_EQ(Pixel(image, 14, 3), 0x00FF00u);
}

TEST(DropDownButtons, FlatPushButtonDrawsARaisedOrEtchedEdgeThatFlattensWhilePressed)
{
    using namespace platform;
    const TColor face = ColorToRGB(clBtnFace), light = ColorToRGB(cl3DLight), hi = ColorToRGB(clBtnHighlight),
                 shadow = ColorToRGB(clBtnShadow);
    const struct {
        bool etched, pressed;
        TColor outer, inner, innerBottomRight;
    } cases[] = {
        {false, false, light, hi, shadow},
        {true, false, shadow, hi, shadow},
        {false, true, shadow, face, face},
        {true, true, shadow, face, face},
    };
    for (const auto& c : cases) {
        QWidget host;
        host.resize(60, 40);
        auto* button = new TExtDropDownSpeedButton(&host);
        button->setGeometry(0, 0, 40, 22);
        button->IsWinXP = false;
        button->Flat = true;
        button->Etched = c.etched;
        host.show();
        if (c.pressed)
            QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        const QImage image = button->grab().toImage();
        const std::string what = std::string(c.etched ? "etched" : "raised") + (c.pressed ? ", pressed" : "");
        EXPECT_EQ(Pixel(image, 0, 0), c.outer) << what;
        EXPECT_EQ(Pixel(image, 0, 10), c.outer) << what;
        EXPECT_EQ(Pixel(image, 1, 1), c.inner) << what;
        EXPECT_EQ(Pixel(image, 39, 10), c.innerBottomRight) << what << ": the outer ring lies outside";
        EXPECT_EQ(Pixel(image, 20, 21), c.innerBottomRight) << what;
        EXPECT_EQ(Pixel(image, 20, 10), face) << what;
        if (c.pressed)
            QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    }

    // The glyph sits 3 pixels in, one further while pressed, its corner colour turned into the face.
    QWidget host;
    host.resize(60, 40);
    auto* button = new TExtDropDownSpeedButton(&host);
    button->setGeometry(0, 0, 40, 22);
    button->IsWinXP = false;
    button->Flat = true;
    QImage glyph(8, 8, QImage::Format_RGB32);
    glyph.fill(Qt::green);
    glyph.setPixel(4, 4, qRgb(255, 0, 0));
    button->Glyph = glyph;
    host.show();
    QImage image = button->grab().toImage();
    EXPECT_EQ(Pixel(image, 3, 3), face);
    EXPECT_EQ(Pixel(image, 7, 7), 0x0000FFu);
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    image = button->grab().toImage();
    EXPECT_EQ(Pixel(image, 8, 8), 0x0000FFu);
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
}

TEST(DropDownButtons, AppearanceNotifiesOnlyRealChangesAndAssignLeavesTheFont)
{
    TExtButtonAppearance a, b;
    int changes = 0;
    a.OnChange = [&] { ++changes; };
    a.SetColorHot(a.ColorHot());
    EXPECT_EQ(changes, 0);
    a.SetColorHot(0x123456);
    a.SetGradient(gdHorizontal);
    EXPECT_EQ(changes, 2);

    b.SetColor(0x010203);
    b.SetBorderColorChecked(0x040506);
    platform::TFont font;
    font.SetName("Courier");
    b.SetFont(font);
    a.Assign(b);
    EXPECT_EQ(a.Color(), 0x010203u);
    EXPECT_EQ(a.BorderColorChecked(), 0x040506u);
    EXPECT_EQ(a.Gradient(), gdVertical);
    EXPECT_EQ(a.Font().Name(), "Tahoma");
    EXPECT_EQ(a.ColorHot(), b.ColorHot());
}

class ExtButtons : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<QWidget>();
        host->resize(200, 60);
        first = new TExtButton(host.get());
        second = new TExtButton(host.get());
        second->move(40, 0);
        first->SetAppearance(&appearance);
        second->SetAppearance(&appearance);
        host->show();
    }
    void Click(TExtButton* button)
    {
        QTest::mouseClick(button->Client(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    }

    TExtButtonAppearance appearance;
    std::unique_ptr<QWidget> host;
    TExtButton* first = nullptr;
    TExtButton* second = nullptr;
};

TEST_F(ExtButtons, CheckButtonTogglesAndPaintsCheckedWhileDown)
{
    first->Style = tasCheck;
    int clicks = 0;
    first->OnClick = [&] { ++clicks; };
    Click(first);
    EXPECT_TRUE(first->Down());
    EXPECT_EQ(Pixel(first->grab().toImage(), 10, 10), appearance.ColorChecked());
    Click(first);
    EXPECT_FALSE(first->Down());
    EXPECT_EQ(clicks, 2);
}

TEST_F(ExtButtons, GroupedButtonsAreExclusive)
{
    first->GroupIndex = second->GroupIndex = 1;
    Click(first);
    EXPECT_TRUE(first->Down());
    Click(second);
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(first->Down());
    Click(second);
    EXPECT_TRUE(second->Down()) << "without AllowAllUp the down button stays down";

    TExtButton plain(host.get());
    plain.SetDown(true);
    EXPECT_FALSE(plain.Down()) << "an ungrouped push button is never down";
}

TEST_F(ExtButtons, SizeToContentFitsCaptionAndImage)
{
    platform::TImageList images(16, 16);
    first->SetImages(&images);
    first->SetImageIndex(0);
    first->SetCaption("Ab");
    first->SizeToContent();
    platform::TCanvas canvas;
    canvas.Font = appearance.Font();
    const QSize text = GetTextSize(canvas, "Ab");
    EXPECT_EQ(first->width(), std::max(text.width(), 16) + 8);
    EXPECT_EQ(first->height(), std::max(text.height(), 16) + 4);

    TExtButton bare(host.get());
    bare.SetCaption("Ab");
    bare.resize(23, 22);
    bare.SizeToContent();
    EXPECT_EQ(bare.size(), QSize(23, 22)) << "without an appearance nothing is measured";
}

TEST_F(ExtButtons, DefaultLookShowsTheParentAndHoverPaintsFlat)
{
    host->setStyleSheet("background: #0000ff");
    first->resize(30, 22);
    EXPECT_EQ(Pixel(first->grab().toImage(), 15, 10), 0xFF0000u) << "normal face and border are clNone";
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(first, &enter);
    const QImage hot = first->grab().toImage();
    EXPECT_EQ(Pixel(hot, 15, 10), 0xF5F0E1u);
    EXPECT_EQ(Pixel(hot, 0, 10), 0x808080u);
}

TEST_F(ExtButtons, ModalResultsCloseTheLinkedDropDown)
{
    TExtCustomDropDown edit(host.get());
    edit.DropDownHeader().SetVisible(false);
    edit.DropDownFooter().SetVisible(false);
    first->SetExtDropDown(&edit);
    const struct {
        int result;
        bool closes;
        bool cancelled;
    } cases[] = {
        {mrOk, true, false}, {mrCancel, true, true}, {mrAbort, true, true}, {mrRetry, false, false},
        {mrIgnore, true, true}, {mrYes, true, false}, {mrNo, true, true}, {mrClose, false, false},
        {mrHelp, false, false}, {mrAll, true, false}, {mrNoToAll, true, true}, {mrYesToAll, true, false},
    };
    for (const auto& c : cases) {
        std::optional<bool> cancelled;
        edit.OnDropUp = [&](QObject*, bool value) { cancelled = value; };
        edit.ShowDropDown();
        ASSERT_TRUE(edit.DroppedDown());
        first->ModalResult = c.result;
        first->Click();
        EXPECT_EQ(!edit.DroppedDown(), c.closes) << c.result;
        EXPECT_EQ(cancelled.value_or(false), c.cancelled) << c.result;
        edit.HideDropDown(false);
    }
}

TEST_F(ExtButtons, EnterPerformsTheClickWithoutItsEvent)
{
    int clicks = 0;
    first->OnClick = [&] { ++clicks; };
    first->ModalResult = mrOk;
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(host->property("ModalResult").toInt(), mrOk);
}

TEST_F(ExtButtons, CaptionUnderlinesItsAcceleratorAndShowsADoubledAmpersandOnce)
{
    // A hot face gives a plain background, so only the caption's pixels differ.
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(first, &enter);
    first->resize(90, 22);
    auto paint = [&](const QString& caption) {
        first->SetCaption(caption);
        return first->grab().toImage();
    };
    const QImage plain = paint("Done");
    const QImage marked = paint("&Done");
    EXPECT_TRUE(testsupport::MatchesGolden(marked, TEST_DATA_DIR "/golden/extbutton_accelerator.png"));
    // "Done" has no descender: below the baseline only the underline of "D" shows.
    const QFontMetrics metrics(appearance.Font());
    const int baseline = (22 - metrics.height()) / 2 + metrics.ascent();
    const QRgb face = plain.pixel(3, 3);
    auto inkBelowBaseline = [&](const QImage& image, int* left, int* right) {
        *left = image.width(), *right = -1;
        for (int y = baseline + 1; y < image.height() - 1; ++y)
            for (int x = 1; x < image.width() - 1; ++x)
                if (image.pixel(x, y) != face)
                    *left = std::min(*left, x), *right = std::max(*right, x);
        return *right >= 0;
    };
    int left = 0, right = 0;
    EXPECT_FALSE(inkBelowBaseline(plain, &left, &right));
    ASSERT_TRUE(inkBelowBaseline(marked, &left, &right)) << "the accelerator is underlined";
    const int textLeft = (plain.width() - metrics.horizontalAdvance("Done")) / 2;
    EXPECT_LE(right - left + 1, metrics.horizontalAdvance("D") + 2) << "only its letter is underlined";
    EXPECT_NEAR(left, textLeft, 2);

    const QImage doubled = paint("Save && close");
    QImage expected(doubled.size(), QImage::Format_RGB32);
    expected.fill(QColor(0xE1, 0xF0, 0xF5));
    {
        platform::TCanvas on(&expected);
        on.Font = appearance.Font();
        on.Brush.Style = platform::TBrushStyle::bsClear;
        QRect r(QPoint(0, 0), doubled.size());
        on.DrawText("Save & close", r, platform::DT_SINGLELINE | platform::DT_VCENTER | platform::DT_CENTER |
                                           platform::DT_NOPREFIX);
    }
    const QRect inside = QRect(QPoint(0, 0), doubled.size()).adjusted(1, 1, -1, -1);
    EXPECT_EQ(doubled.convertToFormat(QImage::Format_RGB32).copy(inside), expected.copy(inside))
        << "\"&&\" is one literal \"&\" with nothing underlined";

    first->SetCaption("&Keep");
    first->SizeToContent();
    const int markedWidth = first->width();
    first->SetCaption("Keep");
    first->SizeToContent();
    EXPECT_EQ(markedWidth, first->width()) << "the \"&\" takes no room";
}

}  // namespace
