#include "controls/dropdowns/DropDownForm.h"
#include "controls/dropdowns/TrackBarDropDown.h"

#include "support/GoldenImage.h"

#include "support/QStringPrinter.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

// Failures show texts as text.

using namespace dropdowns;

namespace {

struct TrackBarFixture : ::testing::Test {
    std::unique_ptr<QWidget> window;
    TExtTrackBarDropDown* bar = nullptr;

    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(300, 120);
        bar = new TExtTrackBarDropDown(window.get());
        bar->move(10, 10);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        bar->setFocus();
    }
    void TearDown() override { window.reset(); }

    // Mouse events straight to the edit: an open popup would otherwise take them.
    void Mouse(QEvent::Type type, int x)
    {
        const QPoint p(x, 10);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, p, bar->mapToGlobal(p), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(bar, &e);
    }
};

}  // namespace

TEST_F(TrackBarFixture, UpAndDownStepByFrequencyWithinTheRange)
{
    EXPECT_EQ(bar->Text(), "0");
    EXPECT_FALSE(bar->EditorEnabled());
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(bar, Qt::Key_Down);
    EXPECT_EQ(bar->Position(), 3);
    EXPECT_EQ(bar->Text(), "3");
    bar->SetPosition(0);
    QTest::keyClick(bar, Qt::Key_Up);
    EXPECT_EQ(bar->Position(), 0);
    bar->SetPosition(10);
    QTest::keyClick(bar, Qt::Key_Down);
    EXPECT_EQ(bar->Position(), 10);

    // A step that would pass the end is not taken at all.
    bar->SetFrequency(3);
    bar->SetPosition(8);
    QTest::keyClick(bar, Qt::Key_Down);
    EXPECT_EQ(bar->Position(), 8);
    QTest::keyClick(bar, Qt::Key_Up);
    EXPECT_EQ(bar->Position(), 5);
    EXPECT_FALSE(bar->DroppedDown());
}

TEST_F(TrackBarFixture, DraggingOverTheEditMovesOneStepPerPageSizePixels)
{
    struct Case {
        int pageSize;
        std::vector<int> moves;  // x positions after the press at 50
        int expected;
    };
    const Case cases[] = {
        {2, {57}, 3},                                    // 7 pixels: 3 steps, the odd pixel lost
        {2, {51, 52, 53, 54, 55, 56, 57}, 0},            // 1 pixel at a time: nothing
        {2, {36}, -7},                                   // leftwards, stopped at Min 0
        {0, {53}, 3},                                    // a page size of 0 counts as 1
        {-4, {52}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pageSize);
        bar->SetPosition(5);
        bar->SetPageSize(c.pageSize);
        EXPECT_GE(bar->PageSize(), 1);
        Mouse(QEvent::MouseButtonPress, 50);
        ASSERT_TRUE(bar->MouseDraging());
        for (int x : c.moves)
            Mouse(QEvent::MouseMove, x);
        Mouse(QEvent::MouseButtonRelease, c.moves.back());
        EXPECT_FALSE(bar->MouseDraging());
        EXPECT_EQ(bar->Position(), std::max(0, 5 + c.expected));
        EXPECT_EQ(bar->Text(), QString::number(bar->Position()));
        bar->HideDropDown(false);
    }
}

TEST_F(TrackBarFixture, TheTrackBarSettlesRangeAndPosition)
{
    int changes = 0;
    bar->OnTrackChange = [&] { ++changes; };
    bar->SetPosition(50);
    EXPECT_EQ(bar->Position(), 10);
    EXPECT_EQ(bar->Text(), "10");
    EXPECT_EQ(changes, 1);
    bar->SetMax(4);
    EXPECT_EQ(bar->Position(), 4);
    bar->SetMin(8);                    // above Max: the range becomes 8..8
    EXPECT_EQ(bar->Min(), 8);
    EXPECT_EQ(bar->Max(), 8);
    EXPECT_EQ(bar->Position(), 8);
    EXPECT_EQ(bar->Text(), "8");
    bar->SetFrequency(0);
    EXPECT_EQ(bar->Frequency(), 1);
}

TEST_F(TrackBarFixture, AnEditableEditKeepsThePositionOnPartialInput)
{
    bar->SetEditorEnabled(true);
    bar->SetPosition(6);
    for (const char* partial : {"", "-", "7x", " "}) {
        bar->SetTextDirect(QString::fromLatin1(partial));
        EXPECT_EQ(bar->Position(), 6) << partial;
    }
    bar->SetTextDirect("9");
    EXPECT_EQ(bar->Position(), 9);
    bar->selectAll();
    QTest::keyClicks(bar, "2");
    EXPECT_EQ(bar->Position(), 2);
}

TEST_F(TrackBarFixture, OpensLoadedFromTheValueAndCancelReturnsToTheLastWrittenText)
{
    bar->SetText("4");
    QTest::keyClick(bar, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(bar->DroppedDown());
    QSlider* slider = bar->TrackBar();
    EXPECT_EQ(slider->value(), 4);
    EXPECT_EQ(slider->maximum(), 10);
    EXPECT_EQ(slider->width(), bar->DropDownForm()->ChildArea().width());

    slider->setValue(7);
    EXPECT_EQ(bar->Text(), "7");
    QTest::keyClick(bar->DropDownForm(), Qt::Key_Escape);
    EXPECT_FALSE(bar->DroppedDown());
    EXPECT_EQ(bar->Text(), "4");
    EXPECT_EQ(bar->Position(), 4);

    // Closing by a click elsewhere keeps the picked value.
    bar->ShowDropDown();
    slider->setValue(9);
    bar->DropDownForm()->ClosePopup(true);
    EXPECT_FALSE(bar->DroppedDown());
    EXPECT_EQ(bar->Text(), "9");
}

TEST_F(TrackBarFixture, TheFormKeepsTheSizeTheUserGaveIt)
{
    bar->ShowDropDown();
    ASSERT_TRUE(bar->DroppedDown());
    bar->DropDownForm()->resize(300, 90);
    bar->HideDropDown(false);
    bar->ShowDropDown();
    EXPECT_EQ(bar->DropDownForm()->size(), QSize(300, 90));
    bar->HideDropDown(false);
}

TEST_F(TrackBarFixture, OpenTrackBarLooksAsItDid)
{
    bar->SetPosition(3);
    bar->ShowDropDown();
    ASSERT_TRUE(bar->DroppedDown());
    EXPECT_TRUE(testsupport::MatchesGolden(bar->DropDownForm()->grab().toImage(),
                                           TEST_DATA_DIR "/golden/trackbar_open.png"));
}
