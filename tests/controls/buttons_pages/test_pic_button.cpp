// The flat button as a control: states on screen, click rules, keys, modal result, presets, fade.
#include "ButtonTestUtil.h"
#include "controls/buttons_pages/PicButton.h"
#include "controls/buttons_pages/PicGlyphs.h"
#include "platform/TForm.h"
#include "support/Deferred.h"

#include <QAction>
#include <QCheckBox>
#include <QEnterEvent>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace controls;
using namespace platform;
using namespace buttons_test;

namespace {

// A window with one button set up as the program's windows set theirs (with a white light edge
// so the two edges can be told apart).
class ButtonFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<QWidget>();
        host->resize(240, 120);
        button = new TPicButton(host.get());
        button->SetBounds(10, 10, 110, 28);
        button->SetColor(Face);
        button->SetLightColor(clWhite);
        button->SetStyle(bsEncarta);
        button->SetColorWhenDown(DownColor);
        button->SetHotTrackColor(clYellow);
        button->OnClick = [this] { ++clicks; };
        host->show();
        QApplication::setActiveWindow(host.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
        // The window gave the button the focus, which counts as hot; start without it.
        button->clearFocus();
    }

    void Enter()
    {
        QEnterEvent e(QPointF(5, 5), QPointF(15, 15), QPointF(15, 15));
        QCoreApplication::sendEvent(button, &e);
    }
    void Leave()
    {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(button, &e);
    }
    QRgb FacePixel() { return At(Shot(*button), 5, 5); }

    std::unique_ptr<QWidget> host;
    TPicButton* button = nullptr;
    int clicks = 0;
};

}  // namespace

TEST_F(ButtonFixture, FaceAndEdgesOnScreenByState)
{
    QImage img = Shot(*button);
    EXPECT_EQ(At(img, 5, 5), Rgb(Face));
    EXPECT_EQ(At(img, 0, 0), Rgb(clWhite));
    EXPECT_EQ(At(img, 109, 27), Rgb(clGray));

    Enter();
    EXPECT_TRUE(button->CursorOnButton());
    EXPECT_EQ(FacePixel(), Rgb(clYellow));

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
    img = Shot(*button);
    EXPECT_EQ(At(img, 5, 5), Rgb(DownColor));
    EXPECT_EQ(At(img, 0, 0), Rgb(clGray)) << "edges swap while pressed";
    EXPECT_EQ(At(img, 109, 27), Rgb(clWhite));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicks, 1);

    Leave();
    EXPECT_EQ(FacePixel(), Rgb(Face));
}

TEST_F(ButtonFixture, DisabledButtonShowsNoHotColourAndTakesNoClick)
{
    button->setEnabled(false);
    Enter();
    EXPECT_FALSE(button->CursorOnButton());
    EXPECT_EQ(FacePixel(), Rgb(Face));
    button->Click();
    EXPECT_EQ(clicks, 0);
}

TEST_F(ButtonFixture, FlatButtonShowsItsEdgesOnlyWhileHot)
{
    button->SetFlat(true);
    button->SetHotTrackColor(clNone);
    EXPECT_EQ(At(Shot(*button), 0, 0), Rgb(Face));
    Enter();
    EXPECT_EQ(At(Shot(*button), 0, 0), Rgb(clWhite));
}

// A release outside the button must not click it: a button that writes a file on OK must not
// fire when the user drags off it before letting go.
TEST_F(ButtonFixture, MouseClickRules)
{
    struct Case {
        const char* name;
        Qt::MouseButton button;
        QPoint press, release;
        int clicks;
    };
    const Case cases[] = {
        {"press and release inside", Qt::LeftButton, {20, 10}, {90, 20}, 1},
        {"released outside", Qt::LeftButton, {20, 10}, {150, 60}, 0},
        {"released just past the right edge", Qt::LeftButton, {20, 10}, {110, 10}, 0},
        {"right button", Qt::RightButton, {20, 10}, {20, 10}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clicks = 0;
        QTest::mousePress(button, c.button, {}, c.press);
        QTest::mouseRelease(button, c.button, {}, c.release);
        EXPECT_EQ(clicks, c.clicks);
        EXPECT_FALSE(button->Down());
    }
}

TEST_F(ButtonFixture, DraggingOffShowsTheButtonRaisedAndBackOnPressed)
{
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(button->hasFocus());
    QTest::mouseMove(button, QPoint(200, 80));
    EXPECT_NE(FacePixel(), Rgb(DownColor));
    QTest::mouseMove(button, QPoint(30, 12));
    EXPECT_EQ(FacePixel(), Rgb(DownColor));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonFixture, SpaceAndEnterOnTheFocusedButton)
{
    button->setFocus();
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
        SCOPED_TRACE(key);
        clicks = 0;
        QTest::keyPress(button, key);
        EXPECT_TRUE(button->Down());
        EXPECT_EQ(clicks, 0) << "the release clicks, not the press";
        QTest::keyRelease(button, key);
        EXPECT_EQ(clicks, 1);
        EXPECT_FALSE(button->Down());
    }
}

// A key released on the button that was pressed somewhere else (the Enter that opened the window)
// does not click it.
TEST_F(ButtonFixture, KeyReleaseWithoutItsPressDoesNotClick)
{
    button->setFocus();
    QTest::keyRelease(button, Qt::Key_Return);
    EXPECT_EQ(clicks, 0);

    auto* other = new QLineEdit(host.get());
    other->show();
    QTest::keyPress(button, Qt::Key_Space);
    other->setFocus();
    button->setFocus();
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(clicks, 0);
}

TEST_F(ButtonFixture, AutoRepeatedKeyClicksOnce)
{
    button->setFocus();
    QTest::keyPress(button, Qt::Key_Space);
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ", true);
    QCoreApplication::sendEvent(button, &repeatRelease);
    QKeyEvent repeatPress(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
    QCoreApplication::sendEvent(button, &repeatPress);
    EXPECT_EQ(clicks, 0);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonFixture, ClickRunsOnlyOnAVisibleEnabledButton)
{
    button->Click();
    EXPECT_EQ(clicks, 1);
    button->setVisible(false);
    button->Click();
    EXPECT_EQ(clicks, 1);
    button->setVisible(true);
    // A button on a window that is not shown yet still clicks, as the windows' handlers rely on.
    QWidget hidden;
    TPicButton onHidden(&hidden);
    int hiddenClicks = 0;
    onHidden.OnClick = [&] { ++hiddenClicks; };
    onHidden.SetModalResult(1);  // no window to hand it to: ignored
    onHidden.Click();
    EXPECT_EQ(hiddenClicks, 1);
}

TEST_F(ButtonFixture, ClickDropsDownThePopupMenuUnderTheButton)
{
    QMenu menu;
    menu.addAction("Uno");
    button->SetPopupMenu(&menu);
    button->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos(), button->mapToGlobal(QPoint(0, button->height())));
    menu.hide();
}

TEST_F(ButtonFixture, GlyphFrameFollowsDisabledPressedAndHot)
{
    const auto& colours = Frame_Colours;
    const QImage strip = Four_Frame_Strip();
    button->SetGlyph(QPixmap::fromImage(strip), 4);
    button->SetHotTrackColor(clNone);
    button->SetColorWhenDown(clNone);
    auto centre = [&] { return At(Shot(*button), 55, 14); };

    EXPECT_EQ(centre(), colours[0]);
    Enter();
    EXPECT_EQ(centre(), colours[3]);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(centre(), colours[2]);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(3, 3));
    Leave();
    button->clearFocus();
    button->setEnabled(false);
    EXPECT_EQ(centre(), colours[1]);
}

TEST_F(ButtonFixture, CaptionReadsBackExactlyAsWritten)
{
    for (const QString& caption : {QString("&Salva && esci"), QString("  Nodo  "), QString("Modifica variabile"),
                                   QString(), QString("Überträgt\tß")}) {
        button->SetCaption(caption);
        EXPECT_EQ(button->Caption(), caption);
    }
}

TEST(PicButtonProperties, CreatedDefaults)
{
    TPicButton b;
    EXPECT_EQ(b.width(), 100);
    EXPECT_EQ(b.height(), 23);
    EXPECT_EQ(b.Color(), clBtnFace);
    EXPECT_EQ(b.Alignment(), taCenter);
    EXPECT_EQ(b.ShadowColor(), clGray);
    EXPECT_EQ(b.LightColor(), clWhite);
    EXPECT_EQ(b.ColorWhenDown(), clNone);
    EXPECT_EQ(b.HotTrackColor(), clNone);
    EXPECT_EQ(b.Kind(), bkCustom);
    EXPECT_EQ(b.Layout(), blGlyphLeft);
    EXPECT_EQ(b.Style(), bsNormal);
    EXPECT_EQ(b.NumGlyphs(), 0);
    EXPECT_TRUE(b.TabStop());
    EXPECT_EQ(b.focusPolicy(), Qt::StrongFocus);
    ASSERT_NE(b.Fader(), nullptr);
    EXPECT_TRUE(b.Fader()->Suspended());
}

TEST(PicButtonProperties, KindPresets)
{
    struct Case {
        TPicButtonKind kind;
        const char* caption;
        int modalResult;
        int glyphHeight;
    };
    const Case cases[] = {
        {bkOK, "OK", 1, 18},          {bkCancel, "Abbrechen", 2, 18}, {bkHelp, "Hilfe", 0, 18},
        {bkYes, "Ja", 6, 18},         {bkNo, "Nein", 7, 18},          {bkClose, "Schließen", 0, 18},
        {bkAbort, "Abbrechen", 3, 18}, {bkRetry, "Wiederholen", 4, 18}, {bkIgnore, "Ignorieren", 5, 18},
        {bkAll, "Alle", 12, 19},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        TPicButton b;
        b.SetKind(c.kind);
        EXPECT_EQ(b.Kind(), c.kind);
        EXPECT_EQ(b.Caption(), QString::fromUtf8(c.caption));
        EXPECT_EQ(b.ModalResult(), c.modalResult);
        EXPECT_EQ(b.NumGlyphs(), 2);
        EXPECT_EQ(b.Glyph().width(), 36);
        EXPECT_EQ(b.Glyph().height(), c.glyphHeight);
    }
    TPicButton b;
    b.SetKind(bkCancel);
    b.SetModalResult(2);
    EXPECT_EQ(b.Kind(), bkCustom) << "writing ModalResult resets the kind";
}

TEST(PicButtonProperties, GlyphSetsTheFrameCount)
{
    TPicButton b;
    b.SetKind(bkOK);
    b.SetGlyph(QImage(36, 18, QImage::Format_ARGB32));
    EXPECT_EQ(b.NumGlyphs(), 2);
    EXPECT_EQ(b.Kind(), bkCustom);
    b.SetGlyph(QImage());
    EXPECT_EQ(b.NumGlyphs(), 0);
    b.SetGlyph(QPixmap(32, 32), 1);
    EXPECT_EQ(b.NumGlyphs(), 1);
    b.SetGlyph(QPixmap(64, 32), 0);
    EXPECT_EQ(b.NumGlyphs(), 2) << "0 frames given: width / height";
}

TEST(PicButtonProperties, ColorStylePresetReadsBackCustom)
{
    TPicButton b;
    b.SetColorStyle(lcsQuicken);
    EXPECT_EQ(b.ColorStyle(), lcsCustom);
    EXPECT_EQ(b.Color(), 0x00603000u);
    EXPECT_EQ(b.FontColor(), clWhite);
    EXPECT_EQ(b.Style(), bsQuicken);
    b.SetColorStyle(lcsCustom);
    EXPECT_EQ(b.Color(), 0x00603000u) << "custom changes nothing";
    b.SetColorStyle(lcsUltraFlat1);
    EXPECT_TRUE(b.Flat());
    EXPECT_EQ(b.Style(), bsNormal);
}

// The fade is driven tick by tick here; the timer runs the same ticks every 30 ms.
TEST_F(ButtonFixture, SlowDeceaseFadesBackInEightSteps)
{
    button->SetSlowDecease(true);
    Enter();
    EXPECT_EQ(button->HotTrackStep(), 8);
    Leave();
    EXPECT_EQ(button->HotTrackStep(), 8) << "the fade starts from the full hot colour";
    ASSERT_NE(button->Fader(), nullptr);
    EXPECT_FALSE(button->Fader()->Suspended());
    EXPECT_EQ(FacePixel(), Rgb(clYellow));

    for (int i = 0; i < 4; ++i)
        button->Fader()->Tick();
    EXPECT_EQ(button->HotTrackStep(), 4);
    EXPECT_EQ(FacePixel(), qRgb(251, 251, 118));

    for (int i = 0; i < 4; ++i)
        button->Fader()->Tick();
    EXPECT_EQ(button->HotTrackStep(), 0);
    EXPECT_TRUE(button->Fader()->Suspended());
    EXPECT_EQ(FacePixel(), Rgb(Face));
}

// Left alone, the fader's own timer runs the eight steps and then stops itself.
TEST_F(ButtonFixture, SlowDeceaseTimerRunsTheFadeToItsEnd)
{
    button->SetSlowDecease(true);
    Enter();
    Leave();
    EXPECT_FALSE(button->Fader()->Suspended());
    ASSERT_TRUE(QTest::qWaitFor([&] { return button->HotTrackStep() == 0; }, 5000));
    EXPECT_TRUE(button->Fader()->Suspended());
    EXPECT_EQ(FacePixel(), Rgb(Face));
}

TEST_F(ButtonFixture, WithoutSlowDeceaseTheHotColourGoesAtOnce)
{
    Enter();
    Leave();
    EXPECT_EQ(button->HotTrackStep(), 0);
    EXPECT_TRUE(button->Fader()->Suspended());
    EXPECT_EQ(FacePixel(), Rgb(Face));
}

TEST_F(ButtonFixture, EnteringDuringAFadeRestartsItAndSwitchingOffStopsIt)
{
    button->SetSlowDecease(true);
    Enter();
    Leave();
    button->Fader()->Tick();
    button->Fader()->Tick();
    EXPECT_EQ(button->HotTrackStep(), 6);
    Enter();
    EXPECT_EQ(button->HotTrackStep(), 8);
    EXPECT_FALSE(button->Fader()->Suspended());

    button->SetSlowDecease(false);
    EXPECT_EQ(button->Fader(), nullptr);
    EXPECT_EQ(button->HotTrackStep(), 0);
    button->SetSlowDecease(true);
    ASSERT_NE(button->Fader(), nullptr);
    EXPECT_TRUE(button->Fader()->Suspended());
}

// ---- Modal result and dialog keys on a real window ----

namespace {

class KeyForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>();
        form->SetClientSize(400, 200);
        edit = new QLineEdit(form.get());
        edit->setGeometry(10, 10, 100, 22);
        radio = new QRadioButton("r", form.get());
        radio->setGeometry(10, 40, 100, 22);
        check = new QCheckBox("c", form.get());
        check->setGeometry(10, 70, 100, 22);
        okButton = new TPicButton(form.get());
        okButton->SetBounds(150, 10, 110, 28);
        okButton->SetDefault(true);
        okButton->OnClick = [this] { ++okClicks; };
        cancelButton = new TPicButton(form.get());
        cancelButton->SetBounds(150, 50, 110, 28);
        cancelButton->SetCancel(true);
        cancelButton->OnClick = [this] { ++cancelClicks; };
        otherButton = new TPicButton(form.get());
        otherButton->SetBounds(150, 90, 110, 28);
        otherButton->OnClick = [this] { ++otherClicks; };
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override { form.reset(); }

    std::unique_ptr<TForm> form;
    QLineEdit* edit = nullptr;
    QRadioButton* radio = nullptr;
    QCheckBox* check = nullptr;
    TPicButton* okButton = nullptr;
    TPicButton* cancelButton = nullptr;
    TPicButton* otherButton = nullptr;
    int okClicks = 0, cancelClicks = 0, otherClicks = 0;
};

}  // namespace

TEST_F(KeyForm, EnterGoesToTheDefaultButtonUnlessAnotherButtonHasTheFocus)
{
    struct Case {
        const char* name;
        QWidget* focus;
        int ok, other;
    };
    const Case cases[] = {
        {"edit focused", edit, 1, 0},
        {"radio button focused", radio, 1, 0},
        {"check box focused", check, 1, 0},
        {"other button focused", otherButton, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        okClicks = otherClicks = 0;
        QWidget* target = c.focus;
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        EXPECT_EQ(okClicks, c.ok);
        EXPECT_EQ(otherClicks, c.other);
    }
}

TEST_F(KeyForm, EscapeGoesToTheCancelButtonWithoutModifiers)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_EQ(cancelClicks, 0);
    QTest::keyClick(edit, Qt::Key_Escape, Qt::ControlModifier);
    EXPECT_EQ(cancelClicks, 0);
    QTest::keyClick(edit, Qt::Key_Escape, Qt::AltModifier);
    EXPECT_EQ(cancelClicks, 0);
    // The window still hears it when the button does not take it.
    form->show();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(cancelClicks, 1);
}

TEST_F(KeyForm, DisabledCancelButtonLeavesEscapeToTheWindow)
{
    form->SetEscapeCloses(true);  // a window with a Cancel button
    cancelButton->setEnabled(false);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(cancelClicks, 0);
    EXPECT_FALSE(form->isVisible()) << "the window closed itself";
}

TEST(PicButtonModalResult, ClickRunsOnClickThenClosesTheWindowWithTheResult)
{
    for (bool byMouse : {false, true}) {
        SCOPED_TRACE(byMouse ? "mouse" : "Click()");
        TForm form;
        form.SetClientSize(300, 100);
        auto* panel = new QWidget(&form);  // buttons may sit inside a panel
        panel->setGeometry(0, 0, 300, 100);
        auto* cancel = new TPicButton(panel);
        cancel->SetBounds(180, 60, 110, 28);
        cancel->SetModalResult(2);
        bool openDuringOnClick = false;
        cancel->OnClick = [&] { openDuringOnClick = form.isVisible(); };
        WhenShown(&form, [&] {
            if (byMouse)
                QTest::mouseClick(cancel, Qt::LeftButton, {}, QPoint(10, 10));
            else
                cancel->Click();
        });
        EXPECT_EQ(form.ShowModal(), 2);
        EXPECT_TRUE(openDuringOnClick);
    }
}

TEST(PicButtonModalResult, ReleaseOutsideKeepsTheWindowOpen)
{
    TForm form;
    form.SetClientSize(300, 100);
    auto* ok = new TPicButton(&form);
    ok->SetBounds(10, 10, 110, 28);
    ok->SetModalResult(1);
    int writes = 0;
    ok->OnClick = [&] { ++writes; };
    auto* cancel = new TPicButton(&form);
    cancel->SetBounds(150, 10, 110, 28);
    cancel->SetModalResult(2);
    bool stillOpen = false;
    WhenShown(&form, [&] {
        QTest::mousePress(ok, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(ok, Qt::LeftButton, {}, QPoint(200, 60));
        stillOpen = form.isVisible();
        cancel->Click();
    });
    EXPECT_EQ(form.ShowModal(), 2);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(writes, 0);
}

TEST(PicButtonModalResult, ZeroResultLeavesTheWindowOpen)
{
    TForm form;
    auto* b = new TPicButton(&form);
    auto* close = new TPicButton(&form);
    close->SetModalResult(1);
    bool stillOpen = false;
    WhenShown(&form, [&] {
        b->Click();
        stillOpen = form.isVisible();
        close->Click();
    });
    EXPECT_EQ(form.ShowModal(), 1);
    EXPECT_TRUE(stillOpen);
}

TEST(PicButtonAccelerator, AltAndTheMarkedLetterClicks)
{
    TForm form;
    form.SetClientSize(300, 100);
    auto* b = new TPicButton(&form);
    b->SetCaption("&Salva");
    int clicks = 0;
    b->OnClick = [&] { ++clicks; };
    auto* edit = new QLineEdit(&form);
    edit->setGeometry(10, 50, 100, 22);
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->Caption(), "&Salva");
}

TEST(PicButtonAction, TheLinkedActionShowsOnTheButtonAndRunsAfterOnClick)
{
    QWidget window;
    auto* b = new TPicButton(&window);
    QAction action(QStringLiteral("Refresh"));
    action.setToolTip(QStringLiteral("Refresh the list"));
    QPixmap picture(16, 16);
    picture.fill(Qt::blue);
    action.setIcon(QIcon(picture));
    std::vector<std::string> order;
    b->OnClick = [&] { order.push_back("OnClick"); };
    QObject::connect(&action, &QAction::triggered, [&] { order.push_back("action"); });

    b->SetAction(&action);
    EXPECT_EQ(b->Caption(), QStringLiteral("Refresh"));
    EXPECT_EQ(b->Hint(), QStringLiteral("Refresh the list"));
    EXPECT_EQ(b->NumGlyphs(), 1);
    const QImage glyph = b->Glyph().toImage();
    ASSERT_EQ(glyph.size(), QSize(16, 16));
    EXPECT_EQ(QColor(glyph.pixel(8, 8)), QColor(Qt::blue));

    window.show();
    b->Click();
    EXPECT_EQ(order, (std::vector<std::string>{"OnClick", "action"}));

    // Changes of the action follow; a glyph of the button's own is kept.
    action.setText(QStringLiteral("Again"));
    action.setEnabled(false);
    EXPECT_EQ(b->Caption(), QStringLiteral("Again"));
    EXPECT_FALSE(b->isEnabled());
    b->Click();
    EXPECT_EQ(order.size(), 2u);

    auto* own = new TPicButton(&window);
    own->SetGlyph(QPixmap::fromImage(KindGlyph(bkOK)), 2);
    own->SetAction(&action);
    EXPECT_EQ(own->NumGlyphs(), 2);

    b->SetAction(nullptr);
    action.setText(QStringLiteral("Unlinked"));
    EXPECT_EQ(b->Caption(), QStringLiteral("Again"));
}

TEST(PicButtonDrag, ADraggedButtonIsNotClickedAPlainClickStillIs)
{
    TForm form;
    form.SetClientSize(300, 100);
    auto* b = new TPicButton(&form);
    b->SetBounds(10, 10, 110, 28);
    b->SetDragMode(platform::TDragMode::dmAutomatic);
    int clicks = 0;
    b->OnClick = [&] { ++clicks; };
    int ends = 0;
    b->OnEndDrag = [&](platform::TCustomControl*, int, int) { ++ends; };
    form.show();
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks, 1);
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(b, QPoint(60, 12));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(60, 12));
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(clicks, 1);
}
