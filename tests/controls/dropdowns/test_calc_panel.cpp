#include "controls/dropdowns/CalcButtonPanel.h"
#include "controls/dropdowns/DropDownDraw.h"

#include "support/GoldenImage.h"

#include "support/QStringPrinter.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// Failures show texts as text.

using namespace dropdowns;

namespace {

// A standalone calculator panel, shown at a fixed size with its keys laid out.
struct PanelFixture : ::testing::Test {
    std::unique_ptr<TCustomButtonPanel> panel = std::make_unique<TCustomButtonPanel>();
    std::vector<int> clicks;

    void SetUp() override
    {
        panel->resize(228, 150);
        panel->Loaded();
        panel->OnButtonClick = [this](QObject*, int index) { clicks.push_back(index); };
        panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
    }

    QRect KeyRect(int index) const
    {
        QRect r;
        panel->GetButtonRect(index, r);
        return r;
    }
    int IndexOf(const QString& name) const
    {
        for (int i = 0; i < panel->Buttons().Count(); ++i)
            if (panel->Buttons().GetItem(i)->Name == name)
                return i;
        return -1;
    }
    QWidget* Client() const { return panel->viewport(); }
};

QImage RenderKey(TCustomButtonPanel& panel, int index)
{
    QImage image(panel.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    platform::TCanvas canvas;
    canvas.Attach(&painter);
    canvas.Brush = platform::TBrush{platform::clWhite, platform::TBrushStyle::bsSolid};
    panel.DrawPanelButton(index, &canvas);
    canvas.Detach();
    painter.end();
    QRect r;
    panel.GetButtonRect(index, r);
    return image.copy(r);
}

}  // namespace

TEST_F(PanelFixture, KeysFormBlocksFourPixelsApartWhoseNeighboursShareOneBorderLine)
{
    ASSERT_EQ(panel->Buttons().Count(), 28);
    // Client 228 x 150 less 8 each side: 212 x 134; W = (212 - 8) / 6 = 34, H = (134 - 4) / 5 = 26.
    const int w = 34, h = 26;
    for (int i = 0; i < 28; ++i) {
        if (i >= 1 && i <= 3)
            continue;
        EXPECT_EQ(KeyRect(i).size(), QSize(w, h)) << "key " << i;
    }
    const QRect mc = KeyRect(IndexOf("BTN_MC")), mr = KeyRect(IndexOf("BTN_MR"));
    const QRect k7 = KeyRect(IndexOf("BTN_7")), k8 = KeyRect(IndexOf("BTN_8")), k9 = KeyRect(IndexOf("BTN_9"));
    const QRect div = KeyRect(IndexOf("BTN_/")), sqrtKey = KeyRect(IndexOf("BTN_sqrt"));
    const QRect on = KeyRect(IndexOf("BTN_ON"));
    EXPECT_EQ(on.topLeft(), QPoint(8, 8));
    EXPECT_EQ(mc.top(), on.top() + h + 4);             // the top row stands 4 pixels apart
    EXPECT_EQ(mr.top(), mc.top() + h - 1);             // rows of a block share a line
    EXPECT_EQ(k7.left(), mc.left() + w + 4);           // blocks stand 4 pixels apart
    EXPECT_EQ(k8.left(), k7.left() + w - 1);           // columns of a block share a line
    EXPECT_EQ(k9.left(), k8.left() + w - 1);
    EXPECT_EQ(div.left(), k9.left() + w + 4);
    EXPECT_EQ(sqrtKey.left(), div.left() + w - 1);

    const QRect back = KeyRect(IndexOf("BTN_BACK")), ce = KeyRect(IndexOf("BTN_CE")), c = KeyRect(IndexOf("BTN_C"));
    const int gridRight = sqrtKey.left() + w;
    EXPECT_EQ(back.left(), k7.left());
    EXPECT_EQ(ce.left(), back.left() + back.width() + 4);
    EXPECT_EQ(c.left(), ce.left() + ce.width() + 4);
    EXPECT_EQ(c.left() + c.width(), gridRight);        // "C" ends exactly at the last column's edge
    EXPECT_EQ(back.height(), h);
}

TEST_F(PanelFixture, EveryKeyIsHitAtItsCentreAndASharedLineGoesToTheLowerIndex)
{
    for (int i = 0; i < panel->Buttons().Count(); ++i)
        EXPECT_EQ(panel->ButtonAtPos(KeyRect(i).center().x(), KeyRect(i).center().y()), i)
            << panel->Buttons().GetItem(i)->Name.toStdString();

    const QRect k7 = KeyRect(IndexOf("BTN_7")), k4 = KeyRect(IndexOf("BTN_4"));
    const QRect k8 = KeyRect(IndexOf("BTN_8"));
    // "7" (11) over "4" (10) share the row line: index 10 wins; "7" and "8" (12) share a column line.
    EXPECT_EQ(panel->ButtonAtPos(k7.center().x(), k4.top()), IndexOf("BTN_4"));
    EXPECT_EQ(panel->ButtonAtPos(k8.left(), k7.center().y()), IndexOf("BTN_7"));
    EXPECT_EQ(panel->ButtonAtPos(2, 2), -1);           // margin
    EXPECT_EQ(panel->ButtonAtPos(KeyRect(IndexOf("BTN_ON")).right() + 2, 40), -1);  // block gap

    QRect r;
    panel->GetButtonRect(28, r);
    EXPECT_EQ(r, platform::Rect(-1, -1, -1, -1));
    panel->GetButtonRect(-1, r);
    EXPECT_EQ(r, platform::Rect(-1, -1, -1, -1));
}

TEST_F(PanelFixture, AClickNeedsPressAndReleaseOnTheSameEnabledKey)
{
    const int seven = IndexOf("BTN_7"), eight = IndexOf("BTN_8");
    QTest::mousePress(Client(), Qt::LeftButton, {}, KeyRect(seven).center());
    EXPECT_EQ(panel->ButtonDown(), seven);
    QTest::mouseRelease(Client(), Qt::LeftButton, {}, KeyRect(seven).center());
    EXPECT_EQ(panel->ButtonDown(), -1);
    EXPECT_EQ(clicks, std::vector<int>{seven});

    // Dragged off the key before the release: no click.
    QTest::mousePress(Client(), Qt::LeftButton, {}, KeyRect(seven).center());
    QTest::mouseRelease(Client(), Qt::LeftButton, {}, KeyRect(eight).center());
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_EQ(panel->ButtonDown(), -1);

    // A disabled key is never pressed nor clicked; the right button presses enabled keys too.
    panel->Buttons().GetItem(eight)->Enabled = false;
    QTest::mousePress(Client(), Qt::LeftButton, {}, KeyRect(eight).center());
    EXPECT_EQ(panel->ButtonDown(), -1);
    QTest::mouseRelease(Client(), Qt::LeftButton, {}, KeyRect(eight).center());
    QTest::mouseClick(Client(), Qt::RightButton, {}, KeyRect(seven).center());
    EXPECT_EQ(clicks, (std::vector<int>{seven, seven}));
}

TEST_F(PanelFixture, HotKeyFollowsTheMouseSkipsDisabledKeysAndClearsOnLeave)
{
    const int five = IndexOf("BTN_5"), six = IndexOf("BTN_6");
    auto move = [&](QPoint p) { QTest::mouseMove(Client(), p); };
    move(KeyRect(five).center());
    EXPECT_EQ(panel->ButtonHot(), five);
    panel->Buttons().GetItem(six)->Enabled = false;
    move(KeyRect(six).center());
    EXPECT_EQ(panel->ButtonHot(), -1);
    move(KeyRect(five).center());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(panel.get(), &leave);
    EXPECT_EQ(panel->ButtonHot(), -1);

    panel->SetButtonHot(six);   // refused: disabled
    EXPECT_EQ(panel->ButtonHot(), -1);
    panel->SetButtonHot(99);    // refused: no such key
    EXPECT_EQ(panel->ButtonHot(), -1);
}

TEST_F(PanelFixture, TheFourKeyStatesPaintDifferently)
{
    const int five = IndexOf("BTN_5");
    const QImage normal = RenderKey(*panel, five);
    panel->SetButtonHot(five);
    const QImage hot = RenderKey(*panel, five);
    panel->SetButtonHot(-1);
    panel->SetButtonDown(five);
    const QImage pressed = RenderKey(*panel, five);
    panel->SetButtonDown(-1);
    panel->setEnabled(false);
    const QImage disabled = RenderKey(*panel, five);
    const std::vector<QImage> states{normal, hot, pressed, disabled};
    for (size_t a = 0; a < states.size(); ++a)
        for (size_t b = a + 1; b < states.size(); ++b)
            EXPECT_NE(states[a], states[b]) << "states " << a << " and " << b;
}

TEST_F(PanelFixture, StandalonePanelLooksAsItDid)
{
    EXPECT_TRUE(testsupport::MatchesGolden(panel->grab().toImage(), TEST_DATA_DIR "/golden/calc_panel.png"));
}

TEST(CalcButtonPanel, ACustomPanelNeitherCreatesNorArrangesKeys)
{
    TCustomButtonPanel panel;
    panel.SetButtonPanelType(plCustom);
    panel.resize(200, 120);
    panel.CreateButtons();
    EXPECT_EQ(panel.Buttons().Count(), 0);
    TButtonItem* item = panel.Buttons().Add();
    item->Left = 5;
    item->Width = 10;
    item->Height = 10;
    panel.ArrangeButtons();
    EXPECT_EQ(item->GetRect(), QRect(5, 0, 10, 10));

    // A calculator panel with keys keeps them when created again, and lays them out anew.
    TCustomButtonPanel calc;
    calc.resize(228, 150);
    calc.CreateButtons();
    calc.CreateButtons();
    EXPECT_EQ(calc.Buttons().Count(), 28);
    calc.ResetButtons();
    EXPECT_EQ(calc.Buttons().Count(), 28);
}

TEST(CalcButtonAppearance, DefaultsNotifyOnRealChangesOnlyAndAssignCopies)
{
    TButtonAppearance a;
    EXPECT_EQ(a.ColorCheckedTo(), 0xF9BDA0u);
    EXPECT_EQ(a.ColorDisabled(), 0xF2F2F2u);
    EXPECT_EQ(a.ColorChecked(), 0xF5D8CAu);
    EXPECT_EQ(a.SpecialTextColor(), platform::clMaroon);
    EXPECT_TRUE(a.Font().bold());

    int changes = 0;
    a.OnChange = [&] { ++changes; };
    a.SetColor(a.Color());
    a.SetShineColor(0x123456);
    EXPECT_EQ(changes, 0);
    a.SetColorHot(0x010203);
    a.SetColorDisabledTo(0x040506);
    EXPECT_EQ(changes, 2);

    TButtonAppearance b;
    b.GlowColorHot = 0x111111;
    b.SetSpecialTextColor(0x222222);
    b.SetBorderColorChecked(0x333333);
    a.Assign(b);
    EXPECT_EQ(a.GlowColorHot, 0x111111u);
    EXPECT_EQ(a.SpecialTextColor(), 0x222222u);
    EXPECT_EQ(a.BorderColorChecked(), 0x333333u);
    EXPECT_EQ(a.ColorHot(), b.ColorHot());
}

TEST(CalcButtonItem, AssignLeavesSpecialAndTheRectangleAlone)
{
    TButtonItem source;
    source.Caption = "x";
    source.Tag = 7;
    source.Special = true;
    source.Enabled = false;
    source.Left = 3;
    TButtonItem target;
    target.Assign(source);
    EXPECT_EQ(target.Caption, "x");
    EXPECT_EQ(target.Tag, 7);
    EXPECT_FALSE(target.Enabled);
    EXPECT_FALSE(target.Special);
    EXPECT_EQ(target.Left, 0);
}

TEST(CalcButtonPanel, AKeyImageSitsBesideOrAboveItsCaptionAsTheLayoutSays)
{
    // One 60 x 40 custom key with a red 10 x 10 picture; the content area starts 4 pixels in.
    QImage red(10, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    struct Case {
        TItemLayout layout;
        QString caption;
        QPoint redAt;       // a pixel inside the picture, in panel coordinates
    };
    const Case cases[] = {
        {ilCaptionRight, "Ab", QPoint(14 + 5, 10 + 20)},   // at the content's left, centred
        {ilCaptionRight, "", QPoint(14 + 5, 10 + 20)},
        {ilCaptionBottom, "Ab", QPoint(14 + 5, 14 + 5)},   // at the content's top-left
        {ilCaptionTop, "", QPoint(14 + 5, 10 + 20)},      // no caption: centred vertically
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.layout));
        TCustomButtonPanel panel;
        panel.SetButtonPanelType(plCustom);
        panel.resize(100, 80);
        panel.SetButtonLayout(c.layout);
        TButtonItem* key = panel.Buttons().Add();
        key->Left = 10;
        key->Top = 10;
        key->Width = 60;
        key->Height = 40;
        key->Caption = c.caption;
        key->SetImage(red);
        QImage image(panel.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        platform::TCanvas canvas;
        canvas.Attach(&painter);
        panel.DrawPanelButton(0, &canvas);
        canvas.Detach();
        painter.end();
        EXPECT_EQ(image.pixelColor(c.redAt), QColor(Qt::red));
    }

    // Caption left: the picture follows the caption.
    TCustomButtonPanel panel;
    panel.SetButtonPanelType(plCustom);
    panel.resize(100, 80);
    panel.SetButtonLayout(ilCaptionLeft);
    TButtonItem* key = panel.Buttons().Add();
    key->Left = 10;
    key->Top = 10;
    key->Width = 60;
    key->Height = 40;
    key->Caption = "Ab";
    key->SetImage(red);
    QImage image(panel.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    platform::TCanvas canvas;
    canvas.Attach(&painter);
    canvas.Font = panel.ButtonAppearance().Font();
    const int captionWidth = GetTextSize(canvas, "Ab").width();
    panel.DrawPanelButton(0, &canvas);
    canvas.Detach();
    painter.end();
    EXPECT_NE(image.pixelColor(14 + 2, 30), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(14 + captionWidth + 5, 30), QColor(Qt::red));
}
