// The tree's keyboard, driven by real key events: navigation, Shift selection, expanding and
// collapsing keys, the incremental search and the key-action veto.
#include "TreeFixture.h"
#include "controls/tree/StringTree.h"
#include "support/FakeClock.h"

#include <QTest>
#include <climits>
#include <map>
#include <set>
#include <string>

using namespace treetest;

namespace {

class KeyTree : public TBaseNodeTree {
public:
    KeyTree()
    {
        resize(200, 200);
        OnIncrementalSearch = [this](TBaseNodeTree*, PTreeNode n, const QString& text, int& result) {
            result = Names[n].startsWith(text) ? 0 : 1;
        };
    }
    PTreeNode Add(PTreeNode parent, const QString& name)
    {
        PTreeNode n = AddChild(parent);
        Names[n] = name;
        ByName[name] = n;
        return n;
    }
    PTreeNode operator[](const char* name) { return ByName.at(name); }
    QString FocusName() { return FocusedNode() ? Names[FocusedNode()] : QString(); }
    std::set<QString> SelectedNames()
    {
        std::set<QString> s;
        for (PTreeNode n = GetFirstSelected(); n; n = GetNextSelected(n))
            s.insert(Names[n]);
        return s;
    }
    std::set<QString> ExpandedNames()
    {
        std::set<QString> s;
        for (auto& [n, name] : Names)
            if (GetExpanded(n))
                s.insert(name);
        return s;
    }
    using TBaseNodeTree::DoExit;
    using TBaseNodeTree::Timer;
    std::map<PTreeNode, QString> Names;
    std::map<QString, PTreeNode> ByName;
};

// A, B and C at the top; A holds A1 and A2, B holds B1.
void BuildLetters(KeyTree& t)
{
    PTreeNode a = t.Add(nullptr, "A");
    t.Add(a, "A1");
    t.Add(a, "A2");
    PTreeNode b = t.Add(nullptr, "B");
    t.Add(b, "B1");
    t.Add(nullptr, "C");
}

struct Key {
    int Code;
    Qt::KeyboardModifiers Modifiers = Qt::NoModifier;
};

}  // namespace

TEST(Keyboard, NavigationSelectionAndToggling)
{
    struct Case {
        const char* Name;
        const char* Focus;
        std::set<QString> Expanded;
        bool MultiSelect;
        std::vector<Key> Keys;
        QString ExpectFocus;
        std::set<QString> ExpectSelected;
        std::set<QString> ExpectExpanded;
    } cases[] = {
        {"down", "A", {}, false, {{Qt::Key_Down}}, "B", {"B"}, {}},
        {"up", "B", {}, false, {{Qt::Key_Up}}, "A", {"A"}, {}},
        {"down and up over open nodes", "A", {"A"}, false,
         {{Qt::Key_Down}, {Qt::Key_Down}, {Qt::Key_Down}, {Qt::Key_Up}},
         "A2", {"A2"}, {"A"}},
        {"end", "B", {"B"}, false, {{Qt::Key_End}}, "C", {"C"}, {"B"}},
        {"home", "C", {"A"}, false, {{Qt::Key_Home}}, "A", {"A"}, {"A"}},
        {"right expands a collapsed node", "A", {}, false, {{Qt::Key_Right}}, "A", {"A"}, {"A"}},
        {"right on an open node goes to its first child", "A", {"A"}, false, {{Qt::Key_Right}}, "A1", {"A1"}, {"A"}},
        {"left goes to the parent, a second left collapses it", "A1", {"A"}, false, {{Qt::Key_Left}, {Qt::Key_Left}},
         "A", {"A"}, {}},
        {"left on an open node collapses it", "A", {"A"}, false, {{Qt::Key_Left}}, "A", {"A"}, {}},
        {"backspace goes to the parent", "B1", {"B"}, false, {{Qt::Key_Backspace}}, "B", {"B"}, {"B"}},
        {"shift+down extends from the anchor", "A", {"A", "B"}, true,
         {{Qt::Key_Down, Qt::ShiftModifier}, {Qt::Key_Down, Qt::ShiftModifier}}, "A2", {"A", "A1", "A2"}, {"A", "B"}},
        {"shift+up back over the anchor shrinks it", "A", {"A", "B"}, true,
         {{Qt::Key_Down, Qt::ShiftModifier}, {Qt::Key_Down, Qt::ShiftModifier}, {Qt::Key_Up, Qt::ShiftModifier}},
         "A1", {"A", "A1"}, {"A", "B"}},
        {"shift without multi-select only moves", "A", {"A"}, false, {{Qt::Key_Down, Qt::ShiftModifier}}, "A1", {"A1"},
         {"A"}},
        {"shift+end selects the range to the end", "A1", {"A", "B"}, true, {{Qt::Key_End, Qt::ShiftModifier}}, "C",
         {"A1", "A2", "B", "B1", "C"}, {"A", "B"}},
        {"ctrl+a selects every visible node", "A", {"B"}, true, {{Qt::Key_A, Qt::ControlModifier}}, "A",
         {"A", "B", "B1", "C"}, {"B"}},
        {"plus of the main keyboard expands", "A", {}, false, {{Qt::Key_Plus}}, "A", {"A"}, {"A"}},
        {"minus collapses", "B", {"B"}, false, {{Qt::Key_Minus}}, "B", {"B"}, {}},
        {"keypad star expands the whole subtree", "A", {}, false, {{Qt::Key_Asterisk, Qt::KeypadModifier}}, "A", {"A"},
         {"A"}},
        {"star of the main keyboard too", "B", {}, false, {{Qt::Key_Asterisk}}, "B", {"B"}, {"B"}},
        {"keypad slash collapses the subtree", "A", {"A", "B"}, false, {{Qt::Key_Slash, Qt::KeypadModifier}}, "A",
         {"A"}, {"B"}},
        {"page down walks a page of rows", "A", {"A", "B"}, false, {{Qt::Key_PageDown}}, "B", {"B"}, {"A", "B"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        KeyTree t;
        // Rows of 18 pixels: a page of 60 pixels holds three of them whole.
        t.resize(200, 60);
        BuildLetters(t);
        if (c.MultiSelect)
            t.TreeOptions().SetSelectionOptions(t.TreeOptions().SelectionOptions() | toMultiSelect);
        for (const QString& name : c.Expanded)
            t.SetExpanded(t.ByName.at(name), true);
        t.show();
        t.SetFocusedNode(t[c.Focus]);
        t.SetSelected(t[c.Focus], true);
        for (const Key& k : c.Keys)
            QTest::keyClick(&t, Qt::Key(k.Code), k.Modifiers);
        EXPECT_EQ(t.FocusName(), c.ExpectFocus);
        EXPECT_EQ(t.SelectedNames(), c.ExpectSelected);
        EXPECT_EQ(t.ExpandedNames(), c.ExpectExpanded);
    }
}

TEST(Keyboard, IncrementalSearchStartsAfterTheFocusAndRepeatsASingleLetter)
{
    FakeClock clock;
    KeyTree t;
    for (const char* name : {"alpha", "apple", "avocado", "banana"})
        t.Add(nullptr, name);
    t.SetIncrementalSearch(isAll);
    t.show();
    auto type = [&](const char* letters) {
        for (const char* p = letters; *p; ++p)
            QTest::keyClick(&t, *p);
    };

    t.SetFocusedNode(t["alpha"]);
    type("a");
    EXPECT_EQ(t.FocusName(), "apple");
    EXPECT_EQ(t.SearchBuffer(), "a");
    EXPECT_TRUE(t.TimerRunning(TTreeTimer::Search));
    type("a");
    EXPECT_EQ(t.FocusName(), "avocado");
    EXPECT_EQ(t.SelectedNames(), std::set<QString>{"avocado"});

    // The search ends once its timeout has passed since the last key.
    const QString searching = t.SearchBuffer();
    ASSERT_FALSE(searching.isEmpty());
    clock.Advance(t.IncrementalSearchTimeout() - 1);
    EXPECT_EQ(t.SearchBuffer(), searching);
    clock.Advance(1);
    EXPECT_TRUE(t.SearchBuffer().isEmpty());
    EXPECT_FALSE(t.HasState(tsIncrementalSearching));

    // "al" from alpha: the second step searches from apple on and wraps round to alpha.
    t.SetFocusedNode(t["alpha"]);
    type("al");
    EXPECT_EQ(t.FocusName(), "alpha");
    EXPECT_EQ(t.SearchBuffer(), "al");

    // Nothing found: the text and the focus stay.
    type("z");
    EXPECT_EQ(t.FocusName(), "alpha");
    EXPECT_EQ(t.SearchBuffer(), "al");

    // Backspace shortens the text.
    QTest::keyClick(&t, Qt::Key_Backspace);
    EXPECT_EQ(t.SearchBuffer(), "a");

    // Losing the focus ends the search.
    t.DoExit();
    EXPECT_TRUE(t.SearchBuffer().isEmpty());
    EXPECT_FALSE(t.HasState(tsIncrementalSearching));
    EXPECT_EQ(t.LastSearchNode(), nullptr);
}

TEST(Keyboard, WithoutIncrementalSearchLettersDoNothingAndBackspaceGoesUp)
{
    KeyTree t;
    BuildLetters(t);
    t.SetExpanded(t["B"], true);
    t.show();
    t.SetFocusedNode(t["B1"]);
    QTest::keyClick(&t, 'a');
    QTest::keyClick(&t, 'c');
    EXPECT_EQ(t.FocusName(), "B1");
    EXPECT_FALSE(t.HasState(tsIncrementalSearching));
    QTest::keyClick(&t, Qt::Key_Backspace);
    EXPECT_EQ(t.FocusName(), "B");
}

TEST(Keyboard, AKeyActionHandlerCanVetoOrChangeTheKey)
{
    KeyTree t;
    BuildLetters(t);
    t.show();
    t.SetFocusedNode(t["A"]);
    t.OnKeyAction = [](TBaseNodeTree*, int& key, platform::TShiftState&, bool& doDefault) {
        if (key == platform::VK_DOWN)
            doDefault = false;
        if (key == platform::VK_END)
            key = platform::VK_HOME;
    };
    QTest::keyClick(&t, Qt::Key_Down);
    EXPECT_EQ(t.FocusName(), "A");
    t.SetFocusedNode(t["C"]);
    QTest::keyClick(&t, Qt::Key_End);
    EXPECT_EQ(t.FocusName(), "A");
}

TEST(Keyboard, TheTreeAsksForArrowsAndCharactersAndTabOnlyWhenItWantsIt)
{
    struct Probe : KeyTree {
        using KeyTree::GetDlgCode;
    } t;
    EXPECT_EQ(t.GetDlgCode(), 0x81u);
    t.SetWantTabs(true);
    EXPECT_EQ(t.GetDlgCode(), 0x83u);
}

TEST(Keyboard, GridModeMovesThroughTheColumnsAndTabWrapsToTheNextRow)
{
    KeyTree t;
    BuildLetters(t);
    for (int i = 0; i < 3; ++i)
        t.Header().Columns().Add()->SetWidth(60);
    t.TreeOptions().SetMiscOptions(t.TreeOptions().MiscOptions() | toGridExtensions);
    t.TreeOptions().SetSelectionOptions(t.TreeOptions().SelectionOptions() | toExtendedFocus);
    t.SetWantTabs(true);
    t.show();
    t.SetFocusedNode(t["A"]);
    ASSERT_EQ(t.FocusedColumn(), 0);
    struct Step {
        Key Press;
        const char* Node;
        TColumnIndex Column;
    } steps[] = {
        {{Qt::Key_Right}, "A", 1},
        {{Qt::Key_Right}, "A", 2},
        {{Qt::Key_Right}, "A", 2},  // no column further right
        {{Qt::Key_Left}, "A", 1},
        {{Qt::Key_Home}, "A", 0},  // the first column; in grid mode the node stays
        {{Qt::Key_End}, "A", 2},
        {{Qt::Key_Tab}, "B", 0},  // past the last column: the next row's first
        {{Qt::Key_Tab}, "B", 1},
        {{Qt::Key_Backtab, Qt::ShiftModifier}, "B", 0},
        {{Qt::Key_Backtab, Qt::ShiftModifier}, "A", 2},
        {{Qt::Key_Down}, "B", 2},
    };
    int i = 0;
    for (const Step& s : steps) {
        QTest::keyClick(&t, Qt::Key(s.Press.Code), s.Press.Modifiers);
        EXPECT_EQ(t.FocusName(), s.Node) << "step " << i;
        EXPECT_EQ(t.FocusedColumn(), s.Column) << "step " << i;
        ++i;
    }
    // A column that refuses the focus is stepped over.
    t.Header().Columns()[1]->SetOptions(t.Header().Columns()[1]->Options() & ~coAllowFocus);
    QTest::keyClick(&t, Qt::Key_Home);
    QTest::keyClick(&t, Qt::Key_Right);
    EXPECT_EQ(t.FocusedColumn(), 2);
}

TEST(Keyboard, TheStringTreeSearchesItsTextsCaseSensitively)
{
    TNodeStringTree t;
    const QStringList names{"Mbus meter", "mbus gateway", "Water", "meter 2"};
    t.OnGetText = [&](TBaseNodeTree*, PTreeNode n, TColumnIndex, TVSTTextType, QString& text) {
        text = names[int(n->Index)];
    };
    t.SetRootNodeCount(4);
    t.SetIncrementalSearch(isAll);
    t.resize(200, 100);
    t.show();
    t.SetFocusedNode(t.GetFirst());
    auto focused = [&] { return names[int(t.FocusedNode()->Index)]; };
    QTest::keyClick(&t, 'm');
    EXPECT_EQ(focused(), "mbus gateway");
    QTest::keyClick(&t, 'e');
    EXPECT_EQ(focused(), "meter 2");
    t.ResetIncrementalSearch();
    QTest::keyClick(&t, 'W', Qt::ShiftModifier);
    EXPECT_EQ(focused(), "Water");
}

TEST(Keyboard, CtrlKeysScrollWithoutMovingTheFocus)
{
    struct Case {
        Key Press;
        int StartOffset;
        int ExpectOffset;  // INT_MIN: the lowest offset
    } cases[] = {
        {{Qt::Key_Down, Qt::ControlModifier}, 0, -18},
        {{Qt::Key_Up, Qt::ControlModifier}, -40, -22},
        {{Qt::Key_PageDown, Qt::ControlModifier}, 0, -100},
        {{Qt::Key_Home, Qt::ControlModifier}, -300, 0},
        {{Qt::Key_End, Qt::ControlModifier}, 0, INT_MIN},
    };
    for (const Case& c : cases) {
        KeyTree t;
        t.resize(200, 100);
        t.SetRootNodeCount(50);
        t.show();
        t.UpdateScrollBars(false);
        PTreeNode focus = t.GetFirstChild(nullptr);
        for (int i = 0; i < 10; ++i)
            focus = t.GetNextSibling(focus);
        t.SetFocusedNode(focus);
        t.SetSelected(focus, true);
        t.SetOffsetY(c.StartOffset);
        QTest::keyClick(&t, Qt::Key(c.Press.Code), c.Press.Modifiers);
        const int lowest = t.ClientHeight() - int(t.RangeY());
        int expected = c.ExpectOffset == INT_MIN ? lowest : c.ExpectOffset;
        if (c.Press.Code == Qt::Key_PageDown)
            expected = -t.ClientHeight();
        EXPECT_EQ(t.OffsetY(), expected) << c.Press.Code;
        EXPECT_EQ(t.FocusedNode(), focus) << c.Press.Code;
    }
}
