// Empty cells: what counts as empty in the base and the string tree, and how auto-spanned columns
// let a text run over the empty cells to its right when painted, measured, hit and hinted; the
// hint's column bounds once the tree is scrolled sideways.
#include "TreeFixture.h"
#include "controls/tree/StringTree.h"
#include "controls/tree/TreeHints.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <map>

using namespace treetest;

namespace {

constexpr int ColumnWidth = 80;

// Three columns of ColumnWidth; each node's texts come from Texts by column (empty when absent).
class SpanTree : public TNodeStringTree {
public:
    SpanTree()
    {
        resize(2 * ColumnWidth + 20, 120);
        for (int i = 0; i < 3; ++i)
            Header().Columns().Add()->SetWidth(ColumnWidth);
        Header().SetMainColumn(0);
        Header().SetOptions(Header().Options() | hoVisible);
        OnGetText = [this](TBaseNodeTree*, PTreeNode, TColumnIndex column, TVSTTextType type, QString& text) {
            text = type == ttNormal && Texts.count(column) ? Texts[column] : QString();
        };
        OnDrawText = [this](TBaseNodeTree*, platform::TCanvas&, PTreeNode, TColumnIndex column, const QString& text,
                            const QRect& r, bool&) { Drawn[column] = {text, r}; };
        SetRootNodeCount(1);
    }
    void SetAutoSpan(bool on)
    {
        const TTVAutoOptions o = TreeOptions().AutoOptions();
        TreeOptions().SetAutoOptions(on ? o | toAutoSpanColumns : o & ~toAutoSpanColumns);
    }
    void PaintAll()
    {
        Drawn.clear();
        RenderClient();
    }
    using TCustomNodeStringTree::ColumnIsEmpty;
    std::map<TColumnIndex, QString> Texts;
    struct DrawnText {
        QString Text;
        QRect Rect;
    };
    std::map<TColumnIndex, DrawnText> Drawn;
};

const QString LongText = QStringLiteral("over two columns");

class BaseTree : public TBaseNodeTree {
public:
    using TBaseNodeTree::ColumnIsEmpty;
};

}  // namespace

// ---- what is empty ----

struct EmptyCase {
    const char* name;
    bool stringTree;
    const char* text;   // the string tree's text of the cell
    int eventAnswer;    // -1: no OnGetCellIsEmpty
    bool empty;
    bool eventAsked;
};

class CellEmptiness : public ::testing::TestWithParam<EmptyCase> {};

TEST_P(CellEmptiness, FollowsTheTextThenTheEvent)
{
    const EmptyCase& c = GetParam();
    BaseTree base;
    base.SetRootNodeCount(1);
    SpanTree strings;
    strings.Texts[1] = QString::fromUtf8(c.text);
    TBaseNodeTree& t = c.stringTree ? static_cast<TBaseNodeTree&>(strings) : base;
    bool asked = false;
    if (c.eventAnswer >= 0)
        t.OnGetCellIsEmpty = [&](TBaseNodeTree*, PTreeNode, TColumnIndex column, bool& isEmpty) {
            asked = true;
            EXPECT_TRUE(isEmpty) << "asked with the default answer";
            EXPECT_EQ(column, 1);
            isEmpty = c.eventAnswer == 1;
        };
    PTreeNode node = t.GetFirst();
    const bool empty = c.stringTree ? strings.ColumnIsEmpty(node, 1) : base.ColumnIsEmpty(node, 1);
    EXPECT_EQ(empty, c.empty);
    EXPECT_EQ(asked, c.eventAsked);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CellEmptiness,
    ::testing::Values(EmptyCase{"BaseWithoutEvent", false, "", -1, true, false},
                      EmptyCase{"BaseEventSaysFull", false, "", 0, false, true},
                      EmptyCase{"BaseEventSaysEmpty", false, "", 1, true, true},
                      EmptyCase{"StringTextEmpty", true, "", -1, true, false},
                      EmptyCase{"StringTextEmptyEventSaysFull", true, "", 0, false, true},
                      EmptyCase{"StringTextNotEmpty", true, "x", 1, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- auto-spanned columns ----

TEST(AutoSpan, ATextRunsOverTheEmptyCellsToItsRightUntilAFullOne)
{
    SpanTree t;
    t.Texts = {{0, LongText}, {2, QStringLiteral("third")}};
    t.PaintAll();
    // Without spanning the text is cut at its own column.
    ASSERT_TRUE(t.Drawn.count(0));
    EXPECT_NE(t.Drawn[0].Text, LongText);
    EXPECT_LT(t.Drawn[0].Rect.right(), ColumnWidth);

    t.SetAutoSpan(true);
    t.PaintAll();
    EXPECT_EQ(t.Drawn[0].Text, LongText) << "room enough over two columns";
    EXPECT_GT(t.Drawn[0].Rect.right(), ColumnWidth);
    EXPECT_LT(t.Drawn[0].Rect.right(), 2 * ColumnWidth) << "the full third column stops it";
    EXPECT_TRUE(t.Drawn.count(2)) << "painting goes on with the first column not spanned";

    // A caller that calls the middle cell full stops the span there.
    t.OnGetCellIsEmpty = [](TBaseNodeTree*, PTreeNode, TColumnIndex column, bool& isEmpty) { isEmpty = column != 1; };
    t.PaintAll();
    EXPECT_NE(t.Drawn[0].Text, LongText);
    EXPECT_LT(t.Drawn[0].Rect.right(), ColumnWidth);
}

TEST(AutoSpan, AClickInASpannedEmptyCellHitsTheTextsColumn)
{
    SpanTree t;
    t.Texts = {{0, LongText}};
    t.SetAutoSpan(true);
    THitInfo hit;
    t.GetHitTestInfoAt(ColumnWidth + 10, 5, true, hit);
    EXPECT_EQ(hit.HitColumn, 0);
    EXPECT_TRUE(hit.HitPositions & hiOnItemLabel);

    t.SetAutoSpan(false);
    t.GetHitTestInfoAt(ColumnWidth + 10, 5, true, hit);
    EXPECT_EQ(hit.HitColumn, 1);
}

TEST(AutoSpan, AMultiLineTextIsMeasuredOverTheSpannedWidth)
{
    SpanTree t;
    t.Texts = {{0, LongText}};
    PTreeNode node = t.GetFirst();
    t.SetMultiline(node, true);
    platform::TCanvas canvas;
    canvas.Font = t.Font();
    const int line = canvas.TextHeight(QStringLiteral("Wg"));
    const int narrow = t.ComputeNodeHeight(canvas, node, 0);
    EXPECT_GT(narrow, line) << "wrapped in its own column";
    t.SetAutoSpan(true);
    t.Texts[2] = QStringLiteral("x");
    const int wide = t.ComputeNodeHeight(canvas, node, 0);
    EXPECT_LT(wide, narrow);
    EXPECT_GE(wide, line);
}

// ---- hints in a tree scrolled sideways ----

namespace {

}  // namespace

TEST(ScrolledHints, TheHintAreaIsTheColumnWhereItNowShows)
{
    SpanTree t;
    t.Texts = {{0, QStringLiteral("a")}, {1, QStringLiteral("b")}, {2, QStringLiteral("c")}};
    t.SetHintMode(hmHint);
    t.SetHintAnimation(hatNone);
    t.SetHint(QStringLiteral("hint"));
    t.resize(ColumnWidth + 40, 120);
    t.show();
    QApplication::setActiveWindow(&t);
    t.UpdateScrollBars(true);
    t.SetOffsetX(-ColumnWidth);
    ASSERT_EQ(t.EffectiveOffsetX(), ColumnWidth);
    const QRect row = t.GetDisplayRect(t.GetFirst(), NoColumn, false);
    // Column 1 now starts at the client's left edge.
    AskHint(t, QPoint(10, row.center().y()));
    ASSERT_TRUE(t.HintWindow() && t.HintWindow()->HintShown());
    EXPECT_EQ(t.HintData().Column, 1);
    EXPECT_EQ(t.LastHintRect().left(), 0);
    EXPECT_EQ(t.LastHintRect().right(), ColumnWidth - 1);
}

TEST(ScrolledHints, ACutTextInAScrolledColumnGetsItsTooltip)
{
    SpanTree t;
    t.Texts = {{0, QStringLiteral("a")}, {1, LongText}, {2, QStringLiteral("c")}};
    t.SetHintMode(hmTooltip);
    t.SetHintAnimation(hatNone);
    t.resize(ColumnWidth + 40, 120);
    t.show();
    QApplication::setActiveWindow(&t);
    t.UpdateScrollBars(true);
    t.SetOffsetX(-ColumnWidth);
    const QRect text = t.GetDisplayRect(t.GetFirst(), 1, true, true, true);
    ASSERT_GE(text.left(), 0);
    AskHint(t, QPoint(text.left() + 5, text.center().y()));
    ASSERT_TRUE(t.HintWindow() && t.HintWindow()->HintShown());
    EXPECT_EQ(t.HintWindow()->HintData().HintText, LongText);
}
