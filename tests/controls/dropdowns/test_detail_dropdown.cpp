#include "controls/dropdowns/DetailDropDown.h"
#include "controls/dropdowns/DropDownForm.h"
#include "support/FakeClock.h"
#include "support/GoldenImage.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace dropdowns;

namespace {

struct DetailFixture {
    QWidget window;
    TExtDetailDropDown* edit;
    int selects = 0;
    QStringList keyPresses;

    explicit DetailFixture(QStringList captions = {"Alpha", "Beta", "Bravo"})
    {
        window.resize(300, 300);
        edit = new TExtDetailDropDown(&window);
        edit->move(10, 10);
        for (const QString& caption : captions)
            edit->Items().Add()->SetCaption(caption);
        edit->OnSelect = [this] { ++selects; };
        edit->OnKeyPress = [this](QChar& key) { keyPresses << QString(key); };
        window.show();
        QApplication::setActiveWindow(&window);
        edit->setFocus();
        QApplication::processEvents();
    }
    ~DetailFixture() { edit->HideDropDown(false); }

    QString Text() const { return edit->Text(); }
    QString Selected() const { return edit->selectedText(); }
    void Open()
    {
        QTest::keyClick(edit, Qt::Key_Down, Qt::AltModifier);
        QApplication::processEvents();
    }
    // Keys go where the keyboard is: to the list while it is open.
    QWidget* KeyTarget() const
    {
        return edit->DroppedDown() ? static_cast<QWidget*>(edit->Selector()) : static_cast<QWidget*>(edit);
    }
    void Key(Qt::Key key) { QTest::keyClick(KeyTarget(), key); }
    // A negative delta turns the wheel down, to the next item.
    void Wheel(QWidget* target, int delta)
    {
        const QPoint pos = target->rect().center();
        QWheelEvent event(pos, target->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }
};

}  // namespace

TEST(DetailDropDownCompletion, TypedHeadTakesTheFirstMatchingCaptionsTailSelected)
{
    struct Case {
        bool matchCase;
        const char* typed;
        const char* text;
        const char* selected;
        int itemIndex;
    };
    const Case cases[] = {
        {false, "b", "beta", "eta", 1},
        {false, "br", "bravo", "avo", 2},
        {false, "B", "Beta", "eta", 1},
        {false, "alp", "alpha", "ha", 0},
        {true, "B", "Beta", "eta", 1},
        {true, "b", "b", "", -1},          // only the exact case completes
        {false, "x", "x", "", -1},         // no match: the typed part stays
        {false, "az", "az", "", 0},        // the completion of "a" is cut back to what was typed
    };
    for (const Case& c : cases) {
        DetailFixture f;
        f.edit->MatchCase = c.matchCase;
        QTest::keyClicks(f.edit, c.typed);
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(f.Text(), c.text);
        EXPECT_EQ(f.Selected(), c.selected);
        EXPECT_EQ(f.edit->ItemIndex(), c.itemIndex);
        EXPECT_EQ(f.selects, 0);
    }
}

TEST(DetailDropDownCompletion, BackspaceEditsWithoutCompletingUntilTheNextOrdinaryKey)
{
    DetailFixture f;
    QTest::keyClicks(f.edit, "b");
    ASSERT_EQ(f.Text(), "beta");
    QTest::keyClick(f.edit, Qt::Key_Backspace);
    EXPECT_EQ(f.Text(), "b");
    QTest::keyClick(f.edit, Qt::Key_Backspace);
    EXPECT_EQ(f.Text(), "");
    QTest::keyClicks(f.edit, "a");
    EXPECT_EQ(f.Text(), "alpha");
    EXPECT_EQ(f.Selected(), "lpha");
}

TEST(DetailDropDownCompletion, EnterWithACaptionsExactTextSelectsItAndGoesOnAsAKeyPress)
{
    DetailFixture f;
    QTest::keyClicks(f.edit, "Bravo");
    QTest::keyClick(f.edit, Qt::Key_Return);
    EXPECT_EQ(f.edit->ItemIndex(), 2);
    EXPECT_EQ(f.Text(), "Bravo");
    EXPECT_EQ(f.keyPresses.count("\r"), 1);
    EXPECT_EQ(TDetailItems(nullptr).IndexOf("x"), -1);
    EXPECT_EQ(f.edit->Items().IndexOf("bravo"), -1);  // case counts
}

TEST(DetailDropDownList, OpensAsWideAsTheEditWithCellsOfTheItemHeight)
{
    DetailFixture f;
    f.edit->DropDownHeader().SetVisible(false);
    f.edit->DropDownFooter().SetVisible(false);
    f.Open();
    ASSERT_TRUE(f.edit->DroppedDown());
    TDropDownForm* form = f.edit->DropDownForm();
    EXPECT_EQ(form->width(), f.edit->width());
    EXPECT_EQ(form->height(), 100 + 2 * f.edit->DropDownBorderWidth());
    EXPECT_EQ(f.edit->Selector()->height(), 100);
    EXPECT_EQ(f.edit->Selector()->Panel()->GetItemRect(1).height(), 22);
    EXPECT_EQ(f.edit->Selector()->Items().Count(), 3);

    f.edit->SetItemHeight(0);
    EXPECT_EQ(f.edit->ItemHeight(), 1);
}

TEST(DetailDropDownList, ArrowsMoveTheSelectionOpenEscapeRestoresAndAClickPicks)
{
    DetailFixture f;
    f.edit->SetItemIndex(0);
    f.selects = 0;
    f.Open();
    f.Key(Qt::Key_Down);
    f.Key(Qt::Key_Down);
    EXPECT_TRUE(f.edit->DroppedDown());
    EXPECT_EQ(f.edit->ItemIndex(), 2);
    EXPECT_EQ(f.Text(), "Bravo");
    f.Key(Qt::Key_Up);
    EXPECT_EQ(f.edit->ItemIndex(), 1);
    f.Key(Qt::Key_Escape);
    EXPECT_FALSE(f.edit->DroppedDown());
    EXPECT_EQ(f.edit->ItemIndex(), 0);
    EXPECT_EQ(f.Text(), "Alpha");

    // Nothing selected at the opening: nothing selected after the cancel.
    f.edit->SetItemIndex(-1);
    f.Open();
    f.Key(Qt::Key_Down);
    f.Key(Qt::Key_Down);
    f.Key(Qt::Key_Escape);
    EXPECT_EQ(f.edit->ItemIndex(), -1);
    EXPECT_EQ(f.Text(), "");

    f.Open();
    TCustomItemSelector* panel = f.edit->Selector()->Panel();
    QTest::mouseClick(panel->viewport(), Qt::LeftButton, {}, panel->GetItemRect(2).center());
    EXPECT_FALSE(f.edit->DroppedDown());
    EXPECT_EQ(f.edit->ItemIndex(), 2);
    EXPECT_EQ(f.Text(), "Bravo");
}

TEST(DetailDropDownList, WheelStepsThroughTheItemsStoppingAtTheEndsOpenOrClosed)
{
    DetailFixture f;
    f.Wheel(f.edit, -120);
    EXPECT_EQ(f.edit->ItemIndex(), 0) << "from no item the wheel starts at the first";
    EXPECT_EQ(f.Text(), "Alpha");
    f.Wheel(f.edit, -120);
    EXPECT_EQ(f.edit->ItemIndex(), 1);
    EXPECT_EQ(f.selects, 2);
    f.Wheel(f.edit, 120);
    f.Wheel(f.edit, 120);
    EXPECT_EQ(f.edit->ItemIndex(), 0) << "the first item is the end going up";
    EXPECT_FALSE(f.edit->DroppedDown());

    f.Open();
    f.Wheel(f.edit->DropDownForm(), -120);
    f.Wheel(f.edit->DropDownForm(), -120);
    f.Wheel(f.edit->DropDownForm(), -120);
    EXPECT_TRUE(f.edit->DroppedDown()) << "the wheel moves the selection and keeps the list open";
    EXPECT_EQ(f.edit->ItemIndex(), 2) << "the last item is the end going down";
    EXPECT_EQ(f.edit->Selector()->ItemIndex(), 2);
    EXPECT_EQ(f.Text(), "Bravo");
    f.Key(Qt::Key_Escape);
    EXPECT_EQ(f.edit->ItemIndex(), 0);
    EXPECT_EQ(f.Text(), "Alpha");
}

TEST(DetailDropDownList, PageDownMovesByTheVisibleCellsAndStopsAtTheLast)
{
    DetailFixture f({"a1", "a2", "a3", "a4", "a5", "a6", "a7"});
    f.edit->SetItemIndex(0);
    f.Open();
    ASSERT_EQ(f.edit->Selector()->GetVisibleItemCount(), 4);
    f.Key(Qt::Key_PageDown);
    EXPECT_EQ(f.edit->ItemIndex(), 4);
    f.Key(Qt::Key_PageDown);
    EXPECT_EQ(f.edit->ItemIndex(), 6);
    f.Key(Qt::Key_PageUp);
    EXPECT_EQ(f.edit->ItemIndex(), 2);
    EXPECT_TRUE(f.edit->DroppedDown());
}

TEST(DetailDropDownList, TypeAheadCollectsKeysForHalfASecondFromTheFirst)
{
    FakeClock clock;
    DetailFixture f({"Red", "Green", "Grey"});
    f.Open();
    f.Key(Qt::Key_G);
    clock.Advance(300);
    f.Key(Qt::Key_R);
    f.Key(Qt::Key_E);
    f.Key(Qt::Key_Y);
    EXPECT_EQ(f.edit->CurSearch(), "GREY");
    EXPECT_EQ(f.edit->Selector()->ItemIndex(), 2);
    EXPECT_TRUE(f.edit->DroppedDown());
    clock.Advance(200);
    EXPECT_EQ(f.edit->CurSearch(), "");
    f.Key(Qt::Key_R);
    EXPECT_EQ(f.edit->CurSearch(), "R");
    EXPECT_EQ(f.edit->Selector()->ItemIndex(), 0);
}

TEST(DetailDropDownLook, OpensInTheDefaultLook)
{
    DetailFixture f;
    f.edit->Items().Items(0)->Notes = "First letter";
    f.edit->Items().Items(2)->Notes = "Second word";
    f.edit->SetItemHeight(34);
    f.edit->SetItemIndex(1);
    f.Open();
    ASSERT_TRUE(f.edit->DroppedDown());
    EXPECT_TRUE(testsupport::MatchesGolden(f.edit->DropDownForm()->grab().toImage(),
                                           TEST_DATA_DIR "/golden/detail_open.png"));
}

TEST(DetailDropDownList, ReopensAtTheSizeTheFormHadWhenItClosedWithCellsAsWide)
{
    DetailFixture f;
    f.Open();
    f.edit->DropDownForm()->resize(260, 180);
    QApplication::processEvents();
    f.Key(Qt::Key_Return);
    ASSERT_FALSE(f.edit->DroppedDown());
    f.Open();
    QApplication::processEvents();
    EXPECT_EQ(f.edit->DropDownForm()->size(), QSize(260, 180));
    // The cells follow the form's width, less the border and the margins.
    EXPECT_EQ(f.edit->Selector()->Panel()->GetItemRect(0).width(), 260 - 2 - 4);
}
