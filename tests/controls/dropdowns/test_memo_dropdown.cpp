#include "controls/dropdowns/DropDownForm.h"
#include "controls/dropdowns/MemoDropDown.h"

#include "support/GoldenImage.h"

#include "support/QStringPrinter.h"

#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

// Failures show texts as text.

using namespace dropdowns;

namespace {

struct MemoFixture : ::testing::Test {
    std::unique_ptr<QWidget> window;
    QLineEdit* before = nullptr;
    TExtMemoDropDown* memo = nullptr;

    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(320, 120);
        before = new QLineEdit(window.get());
        before->setGeometry(10, 10, 100, 21);
        memo = new TExtMemoDropDown(window.get());
        memo->setGeometry(10, 40, 200, 21);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override { window.reset(); }

    void Open()
    {
        memo->ShowDropDown();
        ASSERT_TRUE(memo->DroppedDown());
        memo->Memo()->setFocus();
    }
};

}  // namespace

TEST_F(MemoFixture, TheEditSummarisesTheLines)
{
    struct Case {
        QStringList lines;
        bool editable;
        QString shown;
    };
    const Case cases[] = {
        {{"alpha", "beta"}, false, "alpha..."},
        {{"alpha"}, false, "alpha"},
        {{"alpha", "beta"}, true, "alpha\nbeta"},
        {{}, false, ""},
        {{}, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.join('|').toStdString());
        memo->SetEditorEnabled(c.editable);
        memo->SetMemoText(c.lines);
        EXPECT_EQ(memo->RawText(), c.shown);
        EXPECT_EQ(memo->MemoText(), c.lines);   // the summary never feeds back into the value
    }

    // A first line wider than the edit is cut with an ellipsis.
    memo->SetEditorEnabled(false);
    memo->SetMemoText({QString(60, 'w'), "second"});
    EXPECT_TRUE(memo->RawText().endsWith("..."));
    EXPECT_LT(memo->RawText().size(), 60);
}

TEST_F(MemoFixture, TypingInAnEditableEditReplacesTheLines)
{
    memo->SetMemoText({"one", "two"});
    memo->setFocus();
    memo->selectAll();
    QTest::keyClicks(memo, "three");
    EXPECT_EQ(memo->MemoText(), QStringList{"three"});
}

TEST_F(MemoFixture, EnterMakesANewLineAndAClickElsewhereKeepsTheTypedText)
{
    memo->SetText("first");
    Open();
    QPlainTextEdit* m = memo->Memo();
    EXPECT_EQ(m->toPlainText(), "first");
    m->moveCursor(QTextCursor::End);
    QTest::keyClick(m, Qt::Key_Return);
    QTest::keyClicks(m, "second");
    EXPECT_TRUE(memo->DroppedDown());

    memo->DropDownForm()->ClosePopup(true);   // what a click outside the popup does
    EXPECT_FALSE(memo->DroppedDown());
    EXPECT_EQ(memo->MemoText(), (QStringList{"first", "second"}));
    EXPECT_EQ(memo->RawText(), "first\nsecond");
}

TEST_F(MemoFixture, EscapeInTheMemoCancelsBackToTheLastWrittenText)
{
    memo->SetEditorEnabled(false);
    memo->SetText("kept");
    memo->SetMemoText({"alpha", "beta"});
    Open();
    QTest::keyClicks(memo->Memo(), "typed");
    QTest::keyClick(memo->Memo(), Qt::Key_Escape);
    EXPECT_FALSE(memo->DroppedDown());
    // The memo's lines went back to MemoText, then the value last written through Text came back.
    EXPECT_EQ(memo->Memo()->toPlainText(), "alpha\nbeta");
    EXPECT_EQ(memo->MemoText(), QStringList{"kept"});
    EXPECT_EQ(memo->RawText(), "kept");
}

TEST_F(MemoFixture, OnlyAltEscAndF4LeaveTheMemo)
{
    int editKeys = 0;
    memo->OnKeyDown = [&](int&, platform::TShiftState) { ++editKeys; };
    Open();
    QTest::keyClick(memo->Memo(), Qt::Key_Down);
    QTest::keyClick(memo->Memo(), Qt::Key_Return);
    EXPECT_EQ(editKeys, 0);
    EXPECT_TRUE(memo->DroppedDown());
    QTest::keyClicks(memo->Memo(), "abc");
    QTest::keyClick(memo->Memo(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(memo->Memo()->textCursor().selectedText(), QString("\u2029abc"));
    QTest::keyClick(memo->Memo(), Qt::Key_F4);
    EXPECT_FALSE(memo->DroppedDown());
    EXPECT_EQ(memo->MemoText(), (QStringList{"", "abc"}));
}

TEST_F(MemoFixture, AutoDropOpensOnTabbingInButNotWhenTheFocusComesBack)
{
    memo->SetAutoDrop(true);
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    ASSERT_TRUE(memo->hasFocus());
    EXPECT_TRUE(memo->DroppedDown());
    memo->HideDropDown(false);
    EXPECT_FALSE(memo->DroppedDown());
    EXPECT_TRUE(memo->hasFocus());
    EXPECT_TRUE(memo->AutoDrop());
}

TEST_F(MemoFixture, ReadOnlyAndScrollBarsReachTheMemoWhenItOpens)
{
    memo->SetMemoReadOnly(true);
    memo->SetMemoScrollBars(platform::ssVertical);
    memo->setMaxLength(5);
    memo->SetMemoText({"abcdefgh"});
    Open();
    QPlainTextEdit* m = memo->Memo();
    EXPECT_TRUE(m->isReadOnly());
    EXPECT_EQ(m->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(m->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(m->toPlainText(), "abcde");
    memo->SetMemoReadOnly(false);   // applied at once while open
    EXPECT_FALSE(m->isReadOnly());
}

TEST_F(MemoFixture, OpenMemoLooksAsItDid)
{
    memo->SetMemoText({"alpha", "beta"});
    memo->ShowDropDown();   // unfocused: no blinking caret in the picture
    ASSERT_TRUE(memo->DroppedDown());
    EXPECT_TRUE(testsupport::MatchesGolden(memo->DropDownForm()->grab().toImage(),
                                           TEST_DATA_DIR "/golden/memo_open.png"));
}
