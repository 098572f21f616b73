// Hints of the tree: node hints, the control's hint in empty space, tooltips of cut-off texts,
// column hints, owner-drawn hints and the fade, all asked the way the platform asks.
#include "TreeFixture.h"
#include "controls/tree/StringTree.h"
#include "controls/tree/TreeHints.h"
#include "support/FakeClock.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>

using namespace treetest;

namespace {

// Sends the platform's hint request for a point of the client area (or of the window above it).
void Leave(TBaseNodeTree& t)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&t, &leave);
}

class HintTree : public TNodeStringTree {
public:
    HintTree()
    {
        resize(200, 120);
        SetHint("tree hint");
        SetHintAnimation(hatNone);
        OnGetText = [](TBaseNodeTree*, PTreeNode n, TColumnIndex, TVSTTextType, QString& text) {
            text = n->Index == 1 ? QStringLiteral("a text much too long for the narrow window it is shown in")
                                 : QStringLiteral("short %1").arg(n->Index);
        };
        SetRootNodeCount(3);
    }
    // Hints show for the active window only.
    void Show()
    {
        show();
        QApplication::setActiveWindow(this);
        // The test library remembers pressed buttons across tests, and a held button hides hints.
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
            if (QGuiApplication::mouseButtons() & b)
                QTest::mouseRelease(windowHandle(), b, Qt::NoModifier, QPoint(width() - 2, height() - 2));
    }
    QString DoGetNodeHint(PTreeNode node, TColumnIndex, TTVTooltipLineBreakStyle&) override
    {
        ++HintAsked;
        return QStringLiteral("hint %1").arg(node->Index);
    }
    TNodeTreeHintWindow* Window() { return HintWindow(); }
    bool HintShown() { return HintWindow() && HintWindow()->HintShown(); }
    // The row of a node in the client area.
    QRect RowRect(int index)
    {
        PTreeNode n = GetFirst();
        for (int i = 0; i < index; ++i)
            n = GetNext(n);
        return GetDisplayRect(n, NoColumn, false) & ClientRect();
    }
    int HintAsked = 0;
};

}  // namespace

TEST(Hints, NodeHintsAreAskedOncePerCellUntilTheMouseLeaves)
{
    HintTree t;
    t.SetHintMode(hmHint);
    t.Show();
    const QRect row = t.RowRect(2);
    AskHint(t, row.center());
    ASSERT_TRUE(t.HintShown());
    EXPECT_EQ(t.Window()->HintData().HintText, "hint 2");
    EXPECT_TRUE(t.HasState(tsHint));
    EXPECT_EQ(t.HintAsked, 1);
    // Below the cell, never over it.
    EXPECT_GE(t.Window()->geometry().top(), t.viewport()->mapToGlobal(row.bottomLeft()).y() + 2);

    AskHint(t, row.center() + QPoint(20, 0));
    EXPECT_EQ(t.HintAsked, 1);

    Leave(t);
    EXPECT_FALSE(t.HintShown());
    EXPECT_TRUE(t.LastHintRect().isEmpty());
    AskHint(t, row.center());
    EXPECT_EQ(t.HintAsked, 2);
    EXPECT_TRUE(t.HintShown());

    // Another row asks again.
    AskHint(t, t.RowRect(0).center());
    EXPECT_EQ(t.Window()->HintData().HintText, "hint 0");
}

TEST(Hints, EmptySpaceShowsTheControlsHintOnlyWithHintAndDefault)
{
    for (TTVHintMode mode : {hmHint, hmHintAndDefault}) {
        HintTree t;
        t.SetHintMode(mode);
        t.Show();
        AskHint(t, QPoint(20, t.ClientHeight() - 5));
        EXPECT_EQ(t.HintShown(), mode == hmHintAndDefault) << mode;
        if (t.HintShown())
            EXPECT_EQ(t.Window()->HintData().HintText, "tree hint");
    }
}

TEST(Hints, TooltipsShowOnlyCutTextsRightOverTheText)
{
    HintTree t;
    t.SetHintMode(hmTooltip);
    t.Show();
    // A text that fits shows nothing.
    AskHint(t, t.RowRect(0).center() - QPoint(t.RowRect(0).width() / 4, 0));
    EXPECT_FALSE(t.HintShown());

    PTreeNode cut = t.GetNext(t.GetFirst());
    const QRect text = t.GetDisplayRect(cut, NoColumn, true, true, true);
    ASSERT_GT(text.right(), t.ClientWidth());
    AskHint(t, QPoint(text.left() + 5, text.center().y()));
    ASSERT_TRUE(t.HintShown());
    EXPECT_EQ(t.Window()->HintData().HintText, t.Text(cut, NoColumn));
    EXPECT_EQ(t.Window()->geometry().topLeft(), t.viewport()->mapToGlobal(text.topLeft()) - QPoint(1, 1));
    EXPECT_EQ(t.Window()->geometry().height(), text.height() + 2);
}

TEST(Hints, OwnerDrawnHintsTakeTheirSizeAndPicture)
{
    HintTree t;
    t.SetHintMode(hmHint);
    t.OnGetHintKind = [](TBaseNodeTree*, PTreeNode, TColumnIndex, TTVHintKind& kind) { kind = vhkOwnerDraw; };
    t.OnGetHintSize = [](TBaseNodeTree*, PTreeNode, TColumnIndex, QRect& r) { r = QRect(0, 0, 40, 20); };
    t.OnDrawHint = [](TBaseNodeTree*, platform::TCanvas& canvas, PTreeNode, const QRect& r, TColumnIndex) {
        canvas.Brush = platform::TBrush{platform::clRed};
        canvas.FillRect(r);
    };
    t.Show();
    AskHint(t, t.RowRect(0).center());
    ASSERT_TRUE(t.HintShown());
    EXPECT_EQ(t.Window()->geometry().size(), QSize(40, 20));
    EXPECT_EQ(t.Window()->DrawBuffer().pixelColor(20, 10), QColor(Qt::red));
}

TEST(Hints, TheFadeRunsOnTheClockAndEndsWithTheWholePicture)
{
    FakeClock clock;
    HintTree t;
    t.SetHintMode(hmHint);
    t.SetHintAnimation(hatFade);
    t.SetAnimationDuration(100);
    t.Show();
    AskHint(t, t.RowRect(0).center());
    ASSERT_TRUE(t.HintShown());
    // The request returned at once; the picture fades in as the time passes.
    EXPECT_TRUE(t.HasState(tsInAnimation));
    EXPECT_NE(t.Window()->Presented(), t.Window()->DrawBuffer());
    clock.Advance(100);
    EXPECT_TRUE(t.HasState(tsInAnimation));
    clock.Advance(200);
    EXPECT_FALSE(t.HasState(tsInAnimation));
    EXPECT_EQ(t.Window()->Presented(), t.Window()->DrawBuffer());

    // A new hint stops a running animation.
    Leave(t);
    AskHint(t, t.RowRect(1).center());
    ASSERT_TRUE(t.HasState(tsInAnimation));
    Leave(t);
    AskHint(t, t.RowRect(2).center());
    clock.Advance(300);
    EXPECT_FALSE(t.HasState(tsInAnimation));
    EXPECT_EQ(t.Window()->HintData().HintText, "hint 2");
}

TEST(Hints, NoHintWhileTheMouseIsCapturedOrHintsAreOff)
{
    HintTree t;
    t.SetHintMode(hmHint);
    t.Show();
    t.SetShowHint(false);
    AskHint(t, t.RowRect(0).center());
    EXPECT_FALSE(t.HintShown());
    t.SetShowHint(true);
    t.SetMouseCapture(true);
    AskHint(t, t.RowRect(0).center());
    EXPECT_FALSE(t.HintShown());
    t.SetMouseCapture(false);
}

TEST(Hints, AColumnHintShowsBelowTheHeader)
{
    HintTree t;
    t.SetHintMode(hmHint);
    TNodeTreeColumn* column = t.Header().Columns().Add();
    column->SetWidth(120);
    column->SetHint("first column");
    t.Header().SetOptions(t.Header().Options() | hoVisible | hoShowHint);
    t.Show();
    const QRect header = t.HeaderRect();
    ASSERT_GT(header.height(), 0);
    AskHint(t, QPoint(30, header.center().y()));
    ASSERT_TRUE(t.HintShown());
    EXPECT_EQ(t.Window()->HintData().HintText, "first column");
    EXPECT_GE(t.Window()->geometry().top(), t.viewport()->mapToGlobal(QPoint(0, 0)).y());
    // Where no column is, nothing shows.
    Leave(t);
    AskHint(t, QPoint(t.ClientWidth() - 10, header.center().y()));
    EXPECT_FALSE(t.HintShown());
}
