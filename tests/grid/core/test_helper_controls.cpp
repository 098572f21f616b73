// The grid's helper controls: grouped speed buttons, the owner-drawn check box, the drop-position
// arrows and the soft focus-frame mask.
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

#include "grid/core/GridHelperControls.h"
#include "support/GoldenImage.h"
#include "platform/Exception.h"

using namespace grid;
using namespace grid::helpers;

namespace {

void ClickOn(platform::TCustomControl& control) { QTest::mouseClick(control.Client(), Qt::LeftButton, {}, QPoint(5, 5)); }

struct TButtonGroup : ::testing::Test {
    QWidget parent;
    TExtGridButton* a = new TExtGridButton(&parent);
    TExtGridButton* b = new TExtGridButton(&parent);
    int clicks = 0;
    void SetUp() override
    {
        b->SetBounds(30, 0, 22, 23);
        a->SetGroupIndex(1);
        b->SetGroupIndex(1);
        a->OnClick = [this] { ++clicks; };
        parent.resize(80, 30);
        parent.show();
    }
};

}  // namespace

TEST_F(TButtonGroup, PressingOneReleasesTheOtherAndAllowAllUpDecidesTheSecondClick)
{
    ClickOn(*a);
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(clicks, 1);
    ClickOn(*b);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());

    ClickOn(*b);
    EXPECT_TRUE(b->Down()) << "without AllowAllUp a pressed member stays down";
    b->SetAllowAllUp(true);
    EXPECT_TRUE(a->AllowAllUp()) << "the group takes the sender's AllowAllUp";
    ClickOn(*b);
    EXPECT_FALSE(b->Down());

    // Outside a group Down cannot be set; a check button toggles on each click.
    TExtGridButton single(&parent);
    single.SetDown(true);
    EXPECT_FALSE(single.Down());
    single.Style = tasCheck;
    ClickOn(single);
    EXPECT_TRUE(single.Down());
    ClickOn(single);
    EXPECT_FALSE(single.Down());
}

TEST_F(TButtonGroup, LinkedActionDrivesTheButtonAndTheButtonExecutesIt)
{
    platform::TAction action;
    action.SetCaption("Go");
    action.SetHint("Jump");
    action.SetGroupIndex(2);
    QObject* sender = nullptr;
    int runs = 0;
    action.OnExecute = [&](QObject* s) { sender = s, ++runs; };
    b->SetAction(&action);
    EXPECT_EQ(b->Caption, "Go");
    EXPECT_EQ(b->Hint(), "Jump");
    EXPECT_EQ(b->GroupIndex(), 2);
    EXPECT_EQ(b->ActionLink()->Button(), b);

    action.SetCaption("Run");
    action.SetEnabled(false);
    EXPECT_EQ(b->Caption, "Run");
    EXPECT_FALSE(b->isEnabled());
    action.SetEnabled(true);
    b->Caption = "Own";
    action.SetCaption("Other");
    EXPECT_EQ(b->Caption, "Own") << "a caption the button was given is not overwritten";

    // Checked reaches Down only for a grouped button that allows all up.
    action.SetChecked(true);
    EXPECT_FALSE(b->Down());
    action.SetChecked(false);
    b->SetAllowAllUp(true);
    action.SetChecked(true);
    EXPECT_TRUE(b->Down());

    ClickOn(*b);  // without OnClick the click executes the action
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(sender, b);
    b->OnClick = [] {};
    ClickOn(*b);
    EXPECT_EQ(runs, 1) << "OnClick takes the click";
}

TEST_F(TButtonGroup, ReleasedGroupMemberClearsItsActionAndSurvivesItsDeletion)
{
    auto action = std::make_unique<platform::TAction>();
    action->SetGroupIndex(1);
    action->SetChecked(true);
    b->SetAllowAllUp(true);
    b->SetAction(action.get());
    ASSERT_TRUE(b->Down());
    ClickOn(*a);
    EXPECT_TRUE(a->Down());
    EXPECT_FALSE(b->Down());
    EXPECT_FALSE(action->Checked()) << "the released button unchecks its action";

    action.reset();
    EXPECT_EQ(b->Action(), nullptr);
    ClickOn(*b);  // no action left to execute
    EXPECT_TRUE(b->Down());
}

TEST(TExtGridButtonLook, LooksMarginAndLayout)
{
    TExtGridButton button;
    button.BorderColor = 0x123456;
    button.SetLook(2);
    EXPECT_EQ(button.Color(), 0xFDEADAu);
    EXPECT_EQ(button.ColorTo, 0xE4AE88u);
    EXPECT_EQ(button.BorderColor, clNone);
    EXPECT_TRUE(button.Flat());
    button.SetLook(7);
    EXPECT_EQ(button.Color(), 0xFDEADAu) << "an unknown look changes nothing";
    EXPECT_EQ(button.Look(), 2);

    // The platform's styles carry no colour-scheme name: the adapted look is the plain one.
    button.SetAutoThemeAdapt(true);
    EXPECT_EQ(button.Look(), CurrentXPColorScheme() == 0 ? 1 : CurrentXPColorScheme() + 1);
    EXPECT_EQ(button.ColorHot, 0xEED2C1u);

    button.SetMargin(3);
    button.SetMargin(-2);
    EXPECT_EQ(button.Margin(), 3);

    const struct {
        TButtonLayout layout;
        int margin, spacing;
        QSize caption;
        QPoint glyph, text;
    } cases[] = {
        {blGlyphLeft, -1, 4, {20, 10}, {10, 7}, {30, 7}},  // 60 x 24 client, 16 x 10 glyph
        {blGlyphLeft, -1, -1, {20, 10}, {8, 7}, {32, 7}},
        {blGlyphRight, 2, 4, {20, 10}, {42, 7}, {18, 7}},
        {blGlyphTop, 1, 2, {20, 10}, {22, 1}, {20, 13}},
        {blGlyphLeft, 5, 4, {0, 0}, {0, 0}, {21, 12}},      // no caption: the glyph at the corner
    };
    for (const auto& c : cases) {
        const TButtonLayoutResult r = LayoutGlyphAndCaption({60, 24}, {16, 10}, c.caption, c.layout, c.margin, c.spacing);
        EXPECT_EQ(r.Glyph, c.glyph) << c.layout << " " << c.margin << " " << c.spacing;
        EXPECT_EQ(r.Caption, c.text) << c.layout << " " << c.margin << " " << c.spacing;
    }
}

TEST(TExtCheckBox, ReadOnlyKeepsItsStateButStillClicks)
{
    QWidget parent;
    auto* box = new TExtCheckBox(&parent);
    auto* next = new TExtCheckBox(&parent);
    next->SetBounds(0, 30, 98, 20);
    parent.show();
    int clicks = 0;
    box->OnClick = [&] { ++clicks; };

    ClickOn(*box);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 1);
    QTest::keyClick(box->Client(), Qt::Key_Space);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks, 2);

    box->ReadOnly = true;
    ClickOn(*box);
    QTest::keyClick(box->Client(), Qt::Key_Space);
    box->Accelerator();
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks, 4) << "mouse and Space click, the accelerator does not";

    box->ReadOnly = false;
    box->Accelerator();
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 4);
}

TEST(TExtCheckBox, AltWithTheCaptionsAcceleratorTogglesFromAnywhereInTheWindow)
{
    QWidget window;
    auto* box = new TExtCheckBox(&window);
    auto* other = new TExtCheckBox(&window);
    other->SetBounds(0, 30, 98, 20);
    box->SetCaption("&Match case");
    window.show();
    QApplication::setActiveWindow(&window);
    other->SetFocus();
    int clicks = 0;
    box->OnClick = [&] { ++clicks; };

    QTest::keyClick(other->Client(), Qt::Key_M, Qt::AltModifier);
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(box->Focused()) << "a box with TabStop takes the focus";
    EXPECT_EQ(clicks, 0);
    box->ReadOnly = true;
    QTest::keyClick(box->Client(), Qt::Key_M, Qt::AltModifier);
    EXPECT_TRUE(box->Checked());
    box->ReadOnly = false;
    box->setEnabled(false);
    QTest::keyClick(other->Client(), Qt::Key_M, Qt::AltModifier);
    EXPECT_TRUE(box->Checked()) << "a disabled box ignores its accelerator";
}

TEST(TExtCheckBox, TransparentBoxKeepsTheCachedBackgroundUntilItMoves)
{
    QWidget parent;
    parent.resize(200, 60);
    parent.setAutoFillBackground(true);
    auto paintParent = [&](Qt::GlobalColor c) {
        QPalette p = parent.palette();
        p.setColor(QPalette::Window, c);
        parent.setPalette(p);
    };
    paintParent(Qt::red);
    auto* box = new TExtCheckBox(&parent);
    box->SetCaption("");
    box->TransparentChaching = true;
    box->SetTransparent(true);
    parent.show();
    const QPoint blank(90, 10);  // right of the box, no caption
    EXPECT_EQ(box->grab().toImage().pixelColor(blank), QColor(Qt::red));
    EXPECT_TRUE(box->BackgroundCached());

    paintParent(Qt::blue);
    EXPECT_EQ(box->grab().toImage().pixelColor(blank), QColor(Qt::red)) << "drawn from the cache";
    box->SetBounds(5, 5, 98, 20);
    EXPECT_FALSE(box->BackgroundCached());
    EXPECT_EQ(box->grab().toImage().pixelColor(blank), QColor(Qt::blue));

    box->TransparentChaching = false;
    paintParent(Qt::green);
    EXPECT_EQ(box->grab().toImage().pixelColor(blank), QColor(Qt::green)) << "without caching each paint asks";
}

TEST(TExtGridButton, DropDownMenuClearsWhenTheMenuIsDestroyed)
{
    QWidget parent;
    auto* button = new TExtGridButton(&parent);
    button->DropDownButton = true;
    int drops = 0;
    button->OnDropDown = [&] { ++drops; };
    parent.show();
    auto* menu = new QMenu;
    button->DropDownMenu = menu;
    delete menu;
    EXPECT_EQ(button->DropDownMenu, nullptr);
    QTest::mouseClick(button->Client(), Qt::LeftButton, {}, QPoint(button->width() - 4, 5));
    EXPECT_EQ(drops, 1);
}

TEST(TArrowWindow, OutlinesPointTheirWay)
{
    // The tip of each outline: the point farthest in the way it points.
    const struct {
        TArrowDirection dir;
        QPoint tip;
    } cases[] = {{arrUp, {5, 0}}, {arrDown, {5, 8}}, {arrLeft, {8, 5}}, {arrRight, {0, 5}}};
    for (const auto& c : cases) {
        const QPolygon p = TArrowWindow::Outline(c.dir);
        ASSERT_EQ(p.size(), 7);
        EXPECT_TRUE(p.contains(c.tip)) << c.dir;
    }
    QWidget owner;
    TArrowWindow arrow;
    arrow.Init(&owner, arrLeft);
    EXPECT_FALSE(arrow.isVisible());
    EXPECT_TRUE(arrow.mask().contains(QPoint(7, 5)));
    EXPECT_FALSE(arrow.mask().contains(QPoint(1, 1)));
}

// One arrow as the screen shows it: its colour inside the outline, nothing outside.
TEST(TArrowWindow, LooksLikeAnArrow)
{
    TArrowWindow arrow(nullptr, arrDown);
    arrow.SetColor(0x0080FF);  // orange
    QImage shown(arrow.size(), QImage::Format_ARGB32);
    shown.fill(Qt::transparent);
    QPainter p(&shown);
    p.setClipRegion(arrow.mask());
    p.drawImage(0, 0, arrow.grab().toImage());
    p.end();
    EXPECT_TRUE(testsupport::MatchesGolden(shown.scaled(shown.size() * 4), TEST_DATA_DIR "/golden/arrow_down.png"));
}

TEST(TArrowWindow, PaintsLimeUntilGivenAColour)
{
    QWidget owner;
    TArrowWindow arrow;
    arrow.Init(&owner, arrUp);
    const QPoint inside(5, 3);
    ASSERT_TRUE(arrow.mask().contains(inside));
    EXPECT_EQ(arrow.grab().toImage().pixelColor(inside), QColor(0, 255, 0));
    arrow.SetColor(platform::clRed);
    EXPECT_EQ(arrow.Color(), platform::clRed);
    EXPECT_EQ(arrow.grab().toImage().pixelColor(inside), QColor(255, 0, 0));
}

TEST(BlurBitmap24, OnlyTwentyFourBitAndChannelsStayInRange)
{
    QImage wrong(30, 30, QImage::Format_RGB32);
    try {
        BlurBitmap24(wrong, 2);
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.message(), QString("Blur only works for 24-bit bitmaps"));
    }
    // A uniform picture stays as it is: a weighted sum of exactly 255 gives 255.
    for (QColor c : {QColor(255, 255, 255), QColor(0, 0, 0), QColor(10, 200, 90)}) {
        QImage img(60, 50, QImage::Format_RGB888);
        img.fill(c);
        BlurBitmap24(img, 3);
        for (QPoint p : {QPoint(0, 0), QPoint(59, 49), QPoint(30, 25), QPoint(15, 40)})
            EXPECT_EQ(img.pixel(p), c.rgb()) << p.x() << "," << p.y();
    }
    // A white frame's blur spreads inward and leaves the middle black.
    QImage mask;
    DrawBlurredRoundRectMask(mask, 60, 60, 2, 8, 2);
    ASSERT_EQ(mask.format(), QImage::Format_RGB888);
    EXPECT_EQ(qRed(mask.pixel(30, 30)), 0);
    EXPECT_GT(qRed(mask.pixel(3, 30)), 0);
    EXPECT_GT(qRed(mask.pixel(6, 30)), 0);
}

TEST(TGridAlphaMask, MergeMaskPremultipliesAndIgnoresOtherFormats)
{
    QImage bitmap(2, 1, QImage::Format_RGB888);
    bitmap.setPixelColor(0, 0, QColor(200, 100, 50));
    bitmap.setPixelColor(1, 0, QColor(200, 100, 50));
    QImage mask(2, 1, QImage::Format_RGB888);
    mask.setPixelColor(0, 0, QColor(255, 0, 0));
    mask.setPixelColor(1, 0, QColor(51, 0, 0));
    TGridAlphaMask m;
    m.MergeMask(mask, bitmap, 0x123456);
    ASSERT_EQ(m.Bitmap.size(), QSize(2, 1));
    EXPECT_EQ(m.Bitmap.pixel(0, 0), qRgba(200, 100, 50, 255));
    EXPECT_EQ(m.Bitmap.pixel(1, 0), qRgba(40, 20, 10, 51));

    TGridAlphaMask other;
    other.MergeMask(mask, bitmap.convertToFormat(QImage::Format_RGB32), 0);
    EXPECT_TRUE(other.Bitmap.isNull() || other.Bitmap.size() == QSize(0, 0));

    TGridAlphaMask copy;
    copy.Bitmap = QImage(2, 1, QImage::Format_ARGB32_Premultiplied);
    copy.Bitmap.fill(Qt::transparent);
    m.Opacity = 90;
    copy.Assign(m);
    EXPECT_EQ(copy.Opacity, 90);
    EXPECT_EQ(copy.Bitmap.pixel(1, 0), qRgba(40, 20, 10, 51));
}
