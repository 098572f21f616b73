#include "controls/dropdowns/DropDownEdit.h"
#include "controls/dropdowns/DropDownStrips.h"
#include "support/FakeClock.h"
#include "support/GoldenImage.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace dropdowns;

namespace {

// A drop-down whose inner control is a plain editor: opening copies the value in and every edit in
// it shows in the drop-down's edit at once, as the pickers of the family do with their controls.
class TTextDropDown : public TExtCustomDropDown {
public:
    explicit TTextDropDown(QWidget* parent) : TExtCustomDropDown(parent) { CreateDropDownForm(); }

    void CreateDropDownForm() override
    {
        TExtCustomDropDown::CreateDropDownForm();
        if (Picker)
            return;
        Picker = new QLineEdit(FDropDownForm);
        Picker->resize(120, 100);
        QObject::connect(Picker, &QLineEdit::textChanged, this, [this](const QString& t) { SetTextDirect(t); });
        SetControl(Picker);
        FFocusControl = Picker;
    }
    void DoBeforeDropDown() override
    {
        TExtCustomDropDown::DoBeforeDropDown();
        Picker->setText(Text());
    }
    using TExtCustomDropDown::SetControl;
    QLineEdit* Picker = nullptr;
};

struct TEvents {
    std::vector<std::string> log;
    void Wire(TExtCustomDropDown& edit)
    {
        edit.OnBeforeDropDown = [this] { log.push_back("before"); };
        edit.OnDropDown = [this](QObject*, bool&) { log.push_back("drop"); };
        edit.OnBeforeDropUp = [this] { log.push_back("beforeup"); };
        edit.OnDropUp = [this](QObject*, bool cancelled) { log.push_back(cancelled ? "up cancelled" : "up"); };
    }
};

class DropDownEdit : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(400, 300);
        other = new QLineEdit(window.get());
        other->setGeometry(10, 200, 100, 21);
        edit = new TTextDropDown(window.get());
        edit->setGeometry(20, 20, 150, 21);
        edit->DropDownHeader().SetVisible(false);
        edit->DropDownFooter().SetVisible(false);
        events.Wire(*edit);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        edit->setFocus();
    }
    void TearDown() override { window.reset(); }

    TDropDownForm* Form() const { return edit->DropDownForm(); }
    bool Open() const { return Form()->isVisible(); }
    void ClickArrow()
    {
        // Through the window, as the platform delivers it: an open popup sees the press first.
        QWidget* arrow = edit->Button()->Button();
        const QPoint at = arrow->mapTo(window.get(), QPoint(5, 5));
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    }
    void ClickOutside()
    {
        const QPoint outside = window->mapFromGlobal(Form()->geometry().bottomRight() + QPoint(30, 30));
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, outside);
    }

    FakeClock clock;
    std::unique_ptr<QWidget> window;
    QLineEdit* other = nullptr;
    TTextDropDown* edit = nullptr;
    TEvents events;
};

TEST_F(DropDownEdit, ArrowButtonOpensBelowTheEditAndFiresTheOpeningEvents)
{
    ClickArrow();
    ASSERT_TRUE(Open());
    EXPECT_TRUE(edit->DroppedDown());
    EXPECT_EQ(events.log, (std::vector<std::string>{"before", "drop"}));
    const QPoint editTopLeft = edit->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(Form()->pos(), QPoint(editTopLeft.x(), editTopLeft.y() + edit->height() - 1));
    EXPECT_TRUE(edit->Picker->hasFocus()) << "the focus control takes the focus";
}

TEST_F(DropDownEdit, AltDownOpensAndAltUpInTheInnerControlClosesKeepingTheValue)
{
    edit->SetText("a");
    QTest::keyClick(edit, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Open());
    edit->Picker->setText("b");
    QTest::keyClick(edit->Picker, Qt::Key_Up, Qt::AltModifier);
    EXPECT_FALSE(Open());
    EXPECT_FALSE(edit->DroppedDown());
    EXPECT_EQ(edit->Text(), "b");
    EXPECT_EQ(events.log.back(), "up");
}

TEST_F(DropDownEdit, EscapeInTheInnerControlCancelsAndEnterKeeps)
{
    edit->SetText("a");
    edit->ShowDropDown();
    edit->Picker->setText("b");
    QTest::keyClick(edit->Picker, Qt::Key_Escape);
    EXPECT_FALSE(Open());
    EXPECT_EQ(edit->Text(), "a");
    EXPECT_EQ(events.log, (std::vector<std::string>{"before", "drop", "beforeup", "up cancelled"}));

    edit->ShowDropDown();
    edit->Picker->setText("c");
    QTest::keyClick(edit->Picker, Qt::Key_Return);
    EXPECT_FALSE(Open());
    EXPECT_EQ(edit->Text(), "c");
    EXPECT_EQ(events.log.back(), "up");
}

TEST_F(DropDownEdit, F4TogglesAndKeysOnTheFormReachTheEdit)
{
    QTest::keyClick(edit, Qt::Key_F4);
    ASSERT_TRUE(Open());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
    EXPECT_FALSE(Open());
    EXPECT_EQ(events.log.back(), "up");

    // Without a focus control the form itself has the keys.
    edit->Picker->setFocusPolicy(Qt::NoFocus);
    edit->Picker->clearFocus();
    edit->ShowDropDown();
    edit->Picker->setText("typed");
    QTest::keyClick(Form(), Qt::Key_Return);
    EXPECT_FALSE(Open());
    EXPECT_EQ(edit->Text(), "typed");
}

TEST_F(DropDownEdit, RefusedOpeningShowsNothingAndFiresNoClose)
{
    edit->OnDropDown = [&](QObject*, bool& accept) {
        events.log.push_back("drop");
        accept = false;
    };
    edit->ShowDropDown();
    EXPECT_FALSE(Open());
    EXPECT_FALSE(edit->DroppedDown());
    edit->HideDropDown(true);
    EXPECT_EQ(events.log, (std::vector<std::string>{"before", "drop"}));
}

TEST_F(DropDownEdit, DisabledReadOnlyOrClosedStatesDoNothing)
{
    edit->setReadOnly(true);
    edit->ShowDropDown();
    edit->setReadOnly(false);
    edit->setEnabled(false);
    edit->ShowDropDown();
    edit->setEnabled(true);
    edit->HideDropDown(false);
    EXPECT_FALSE(Open());
    EXPECT_TRUE(events.log.empty());
}

TEST_F(DropDownEdit, ClickOutsideCancelsAndTheClosingClickDoesNotReopen)
{
    edit->SetText("a");
    ClickArrow();
    ASSERT_TRUE(Open());
    edit->Picker->setText("b");
    ClickOutside();
    EXPECT_FALSE(Open());
    EXPECT_EQ(edit->Text(), "a");
    EXPECT_EQ(events.log.back(), "up cancelled");

    ClickArrow();
    EXPECT_FALSE(Open()) << "within 250 ms of losing activation";
    clock.Advance(251);
    ClickArrow();
    EXPECT_TRUE(Open());
}

TEST_F(DropDownEdit, ArrowClickWhileOpenClosesWithoutReopening)
{
    ClickArrow();
    ASSERT_TRUE(Open());
    ClickArrow();
    EXPECT_FALSE(Open());
    EXPECT_FALSE(edit->DroppedDown());
    clock.Advance(300);
    ClickArrow();
    EXPECT_TRUE(Open());
}

TEST_F(DropDownEdit, OutsideClickKeepsTheValueWhenTheFormDoesNotCancelOnDeactivation)
{
    edit->ShowDropDown();
    Form()->CancelOnDeActivate = false;
    edit->Picker->setText("kept");
    ClickOutside();
    EXPECT_FALSE(Open());
    EXPECT_EQ(edit->Text(), "kept");
    EXPECT_EQ(events.log.back(), "up");
}

TEST_F(DropDownEdit, FormSizeComesFromTheSettingsTheStripsAndTheInnerControl)
{
    edit->SetControl(nullptr);
    edit->Picker->hide();
    edit->ShowDropDown();
    EXPECT_EQ(Form()->width(), 150) << "the edit's width";
    edit->HideDropDown(false);

    TTextDropDown second(window.get());
    second.setGeometry(20, 60, 150, 21);
    second.show();
    second.DropDownHeader().SetVisible(true);
    second.DropDownFooter().SetVisible(false);
    second.ShowDropDown();
    EXPECT_EQ(second.DropDownForm()->height(), 2 * 1 + 22 + 100);
    EXPECT_EQ(second.DropDownForm()->width(), 120);
    EXPECT_EQ(second.Picker->geometry(), QRect(1, 23, 118, 100)) << "below the header, inside the border";
}

TEST_F(DropDownEdit, UserSizeIsRememberedUntilTheSettingChanges)
{
    edit->ShowDropDown();
    Form()->resize(300, 200);
    edit->HideDropDown(false);
    edit->ShowDropDown();
    EXPECT_EQ(Form()->size(), QSize(300, 200));
    edit->HideDropDown(false);

    edit->SetDropDownHeight(150);
    edit->ShowDropDown();
    EXPECT_EQ(Form()->size(), QSize(300, 150));
}

TEST_F(DropDownEdit, FormIsPlacedAboveNearTheScreenBottomAndKeptInsideTheWorkArea)
{
    const QRect work = platform::WorkAreaAt(edit->mapToGlobal(QPoint(0, 0)));
    const int w = 120, h = 2 + 100;
    struct Case {
        const char* name;
        TDropPosition position;
        QPoint editAt;  // wanted global position of the edit
        // The form's position from the edit's actual global position.
        std::function<QPoint(QPoint)> expected;
    };
    const Case cases[] = {
        {"auto near the bottom opens above", dpAuto, QPoint(50, work.bottom() - 30),
         [&](QPoint e) { return QPoint(e.x(), e.y() - h); }},
        {"auto with room opens below", dpAuto, QPoint(50, 100), [&](QPoint e) { return QPoint(e.x(), e.y() + 20); }},
        {"up opens above", dpUp, QPoint(50, 200), [&](QPoint e) { return QPoint(e.x(), e.y() - h); }},
        {"down near the bottom is pulled up into the area", dpDown, QPoint(50, work.bottom() - 30),
         [&](QPoint e) { return QPoint(e.x(), work.bottom() + 1 - h); }},
        {"right edge pulled in", dpDown, QPoint(work.right() - 100, 100),
         [&](QPoint e) { return QPoint(work.right() + 1 - w, e.y() + 20); }},
    };
    for (const Case& c : cases) {
        edit->SetDropPosition(c.position);
        window->move(window->pos() + c.editAt - edit->mapToGlobal(QPoint(0, 0)));
        QApplication::processEvents();
        const QPoint at = edit->mapToGlobal(QPoint(0, 0));
        edit->ShowDropDown();
        EXPECT_EQ(Form()->pos(), c.expected(at)) << c.name;
        EXPECT_TRUE(work.contains(Form()->geometry())) << c.name;
        edit->HideDropDown(false);
    }
}

TEST_F(DropDownEdit, PickOnlyEditIgnoresTypingAndOpensOnClick)
{
    edit->SetText("v");
    edit->SetEditorEnabled(false);
    QTest::keyClicks(edit, "xyz");
    EXPECT_EQ(edit->Text(), "v");
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    ASSERT_TRUE(Open());
    edit->Picker->setText("w");
    QTest::keyClick(edit->Picker, Qt::Key_Return);
    EXPECT_EQ(edit->Text(), "w");

    QTest::keyClick(edit, Qt::Key_F4);
    ASSERT_TRUE(Open());
    edit->Picker->setText("z");
    QTest::keyClick(edit->Picker, Qt::Key_Escape);
    EXPECT_FALSE(Open());
    EXPECT_EQ(edit->Text(), "v") << "the value last written through Text";
}

TEST_F(DropDownEdit, EscapeInAClosedEditUndoesSelectionAndModifiedOnly)
{
    edit->SetText("abc");
    QTest::keyClick(edit, 'd');
    ASSERT_TRUE(edit->IsModified());
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(edit->Text(), "abcd");
    EXPECT_FALSE(edit->IsModified());
    EXPECT_EQ(edit->selectedText(), "abcd");
}

TEST_F(DropDownEdit, EnterInAClosedEditFiresKeyPressAndInsertsNothing)
{
    edit->SetText("abc");
    std::vector<QChar> pressed;
    edit->OnKeyPress = [&](QChar& key) { pressed.push_back(key); };
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(edit->Text(), "abc");
    EXPECT_EQ(pressed, std::vector<QChar>{QChar('\r')});
}

TEST_F(DropDownEdit, FooterButtonsCloseByModalResultBeforeTheirClickEvent)
{
    edit->DropDownFooter().SetVisible(true);
    edit->DropDownFooter().Buttons().Add()->SetCaption("Cancel");
    edit->DropDownFooter().Buttons().Items(0)->ModalResult = mrCancel;
    edit->DropDownFooter().Buttons().Add()->SetCaption("Close");
    edit->DropDownFooter().Buttons().Items(1)->ModalResult = mrClose;
    edit->OnDropDownFooterButtonClick = [&](QObject*, int index) {
        events.log.push_back("click " + std::to_string(index) + (Open() ? " open" : " closed"));
    };
    edit->SetText("a");
    edit->ShowDropDown();
    ASSERT_NE(Form()->Footer(), nullptr);
    ASSERT_EQ(Form()->Footer()->ButtonList().Count(), 2);
    edit->Picker->setText("b");
    TExtButton* closeButton = Form()->Footer()->ButtonList().Items(1);
    QTest::mouseClick(closeButton, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_TRUE(Open());
    EXPECT_EQ(events.log.back(), "click 1 open");
    TExtButton* cancelButton = Form()->Footer()->ButtonList().Items(0);
    QTest::mouseClick(cancelButton, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_FALSE(Open());
    EXPECT_EQ(edit->Text(), "a");
    const std::vector<std::string> tail(events.log.end() - 2, events.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"up cancelled", "click 0 closed"}));
}

TEST_F(DropDownEdit, HeaderChangesShowOnAnOpenDropDown)
{
    edit->ShowDropDown();
    EXPECT_EQ(Form()->Header(), nullptr);
    edit->DropDownHeader().SetVisible(true);
    ASSERT_NE(Form()->Header(), nullptr);
    EXPECT_TRUE(Form()->Header()->isVisible());
    edit->DropDownHeader().Buttons().Add()->SetCaption("Now");
    EXPECT_EQ(Form()->Header()->ButtonList().Count(), 1);
    edit->DropDownHeader().SetVisible(false);
    EXPECT_FALSE(Form()->Header()->isVisible()) << "a strip switched off is hidden, not destroyed";
}

TEST_F(DropDownEdit, WheelOverTheEditStepsTheSelection)
{
    struct TWheelDropDown : TTextDropDown {
        using TTextDropDown::TTextDropDown;
        void SelectNextItem() override { steps.push_back(+1); }
        void SelectPreviousItem() override { steps.push_back(-1); }
        std::vector<int> steps;
    } wheel(window.get());
    wheel.show();
    const QPoint at(10, 10);
    QWheelEvent down(at, wheel.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(&wheel, &down);
    QWheelEvent up(at, wheel.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(&wheel, &up);
    EXPECT_EQ(wheel.steps, (std::vector<int>{+1, -1}));
}

TEST_F(DropDownEdit, OpenFormInTheDefaultLook)
{
    edit->DropDownHeader().SetVisible(true);
    edit->DropDownHeader().Caption = "Pick a value";
    edit->DropDownFooter().SetVisible(true);
    edit->DropDownFooter().Buttons().Add()->SetCaption("OK");
    edit->Picker->setFocusPolicy(Qt::NoFocus);  // no blinking caret in the picture
    edit->ShowDropDown();
    ASSERT_TRUE(Open());
    EXPECT_TRUE(testsupport::MatchesGolden(Form()->grab().toImage(), TEST_DATA_DIR "/golden/dropdown_open.png"));
}

}  // namespace
