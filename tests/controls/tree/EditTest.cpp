#include "controls/tree/TreeEdit.h"
#include "support/FakeClock.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace tree;

// A flat list of named meters whose captions can be edited in place.
struct EditTree {
    explicit EditTree(QStringList names = {QStringLiteral("Meter 1"), QStringLiteral("Meter 2"), QStringLiteral("Meter 3")})
        : Names(std::move(names))
    {
        Window.resize(240, 160);
        Tree = new TNodeStringTree(&Window);
        Tree->SetBounds(0, 0, 240, 160);
        Tree->TreeOptions().SetMiscOptions(Tree->TreeOptions().MiscOptions() | toEditable);
        Tree->OnGetText = [this](TBaseNodeTree*, PTreeNode node, TColumnIndex, TVSTTextType type, QString& text) {
            if (type == ttNormal)
                text = Names[int(node->Index)];
        };
        Tree->OnNewText = [this](TBaseNodeTree*, PTreeNode node, TColumnIndex, const QString& text) {
            Names[int(node->Index)] = text;
            NewTexts << text;
        };
        Tree->OnEdited = [this](TBaseNodeTree*, PTreeNode node, TColumnIndex) { Edited.push_back(node); };
        Tree->OnEditCancelled = [this](TBaseNodeTree*, TColumnIndex) { ++Cancelled; };
        Tree->SetRootNodeCount(uint32_t(Names.size()));
        Window.show();
        Window.activateWindow();
        Tree->setFocus();
        QApplication::processEvents();
    }

    // The tree goes first, while the records its events write to still exist.
    ~EditTree() { delete Tree; }

    PTreeNode Node(int i)
    {
        PTreeNode n = Tree->GetFirst();
        while (n && i-- > 0)
            n = Tree->GetNextSibling(n);
        return n;
    }
    TTVEdit* Editor() const
    {
        auto* link = dynamic_cast<TStringEditLink*>(Tree->EditLink());
        return link ? link->Edit() : nullptr;
    }
    void Type(const QString& text, Qt::Key finish)
    {
        TTVEdit* edit = Editor();
        ASSERT_NE(edit, nullptr);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, finish);
        QApplication::processEvents();
    }

    QWidget Window;
    TNodeStringTree* Tree;
    QStringList Names;
    QStringList NewTexts;
    std::vector<PTreeNode> Edited;
    int Cancelled = 0;
};

TEST(NodeEditing, F2EditsTheFocusedCaptionAndEnterStoresIt)
{
    EditTree t;
    t.Tree->SetFocusedNode(t.Node(1));
    QTest::keyClick(t.Tree, Qt::Key_F2);
    ASSERT_TRUE(t.Tree->IsEditing());
    TTVEdit* edit = t.Editor();
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->text(), QStringLiteral("Meter 2"));
    EXPECT_EQ(edit->selectedText(), QStringLiteral("Meter 2"));
    // The editor covers the node's text.
    const QRect text = t.Tree->GetDisplayRect(t.Node(1), NoColumn, true);
    EXPECT_TRUE(edit->geometry().contains(text.center()));

    t.Type(QStringLiteral("Boiler"), Qt::Key_Return);
    EXPECT_FALSE(t.Tree->IsEditing());
    EXPECT_EQ(t.Names[1], QStringLiteral("Boiler"));
    EXPECT_EQ(t.Edited, std::vector<PTreeNode>{t.Node(1)});
    EXPECT_TRUE(t.Tree->hasFocus());
}

TEST(NodeEditing, EscapeDiscardsTheTextAndReportsTheCancel)
{
    EditTree t;
    ASSERT_TRUE(t.Tree->EditNode(t.Node(0), NoColumn));
    t.Type(QStringLiteral("gone"), Qt::Key_Escape);
    EXPECT_FALSE(t.Tree->IsEditing());
    EXPECT_EQ(t.Names[0], QStringLiteral("Meter 1"));
    EXPECT_TRUE(t.NewTexts.isEmpty());
    EXPECT_EQ(t.Cancelled, 1);
    EXPECT_TRUE(t.Edited.empty());
    EXPECT_EQ(t.Tree->EditLink(), nullptr);
}

TEST(NodeEditing, EndingWithoutAChangeStoresNothing)
{
    EditTree t;
    ASSERT_TRUE(t.Tree->EditNode(t.Node(2), NoColumn));
    t.Type(QString(), Qt::Key_Enter);
    EXPECT_EQ(t.Edited.size(), 1u);
    EXPECT_TRUE(t.NewTexts.isEmpty());
}

TEST(NodeEditing, ASlowSecondClickStartsTheEdit)
{
    EditTree t;
    t.Tree->TreeOptions().SetMiscOptions(t.Tree->TreeOptions().MiscOptions() | toEditOnClick);
    t.Tree->SetEditDelay(20);
    FakeClock clock;
    const QPoint p = t.Tree->GetDisplayRect(t.Node(1), NoColumn, true).center();
    QTest::mouseClick(t.Tree->viewport(), Qt::LeftButton, {}, p);
    clock.Advance(50);
    EXPECT_FALSE(t.Tree->IsEditing()) << "the first click only focuses";
    EXPECT_EQ(t.Tree->FocusedNode(), t.Node(1));
    clock.Advance(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(t.Tree->viewport(), Qt::LeftButton, {}, p);
    clock.Advance(19);
    EXPECT_FALSE(t.Tree->IsEditing()) << "the edit waits for the edit delay";
    clock.Advance(1);
    EXPECT_TRUE(t.Tree->IsEditing());
    ASSERT_NE(t.Editor(), nullptr);
    EXPECT_EQ(t.Editor()->text(), QStringLiteral("Meter 2"));
}

TEST(NodeEditing, NothingStartsWhereEditingIsNotAllowed)
{
    struct Case {
        const char* Name;
        std::function<void(EditTree&)> Setup;
    };
    const std::vector<Case> cases = {
        {"read-only", [](EditTree& t) {
             t.Tree->TreeOptions().SetMiscOptions(t.Tree->TreeOptions().MiscOptions() | toReadOnly);
         }},
        {"not editable", [](EditTree& t) {
             t.Tree->TreeOptions().SetMiscOptions(t.Tree->TreeOptions().MiscOptions() & ~toEditable);
         }},
        {"refused by the application",
         [](EditTree& t) { t.Tree->OnEditing = [](TBaseNodeTree*, PTreeNode, TColumnIndex, bool& a) { a = false; }; }},
        {"disabled control", [](EditTree& t) { t.Tree->setEnabled(false); }},
    };
    for (const Case& c : cases) {
        EditTree t;
        c.Setup(t);
        EXPECT_FALSE(t.Tree->EditNode(t.Node(0), NoColumn)) << c.Name;
        EXPECT_FALSE(t.Tree->IsEditing()) << c.Name;
        EXPECT_EQ(t.Tree->EditLink(), nullptr) << c.Name;
        t.Tree->SetFocusedNode(t.Node(0));
        QTest::keyClick(t.Tree, Qt::Key_F2);
        EXPECT_FALSE(t.Tree->IsEditing()) << c.Name;
    }
}

TEST(NodeEditing, TabMovesTheEditDownAndStopsAfterTheLastNode)
{
    EditTree t;
    ASSERT_TRUE(t.Tree->EditNode(t.Node(1), NoColumn));
    t.Type(QStringLiteral("B"), Qt::Key_Tab);
    EXPECT_EQ(t.Names[1], QStringLiteral("B"));
    ASSERT_TRUE(t.Tree->IsEditing());
    EXPECT_EQ(t.Tree->FocusedNode(), t.Node(2));
    EXPECT_EQ(t.Editor()->text(), QStringLiteral("Meter 3"));
    t.Type(QStringLiteral("C"), Qt::Key_Tab);
    EXPECT_EQ(t.Names[2], QStringLiteral("C"));
    EXPECT_FALSE(t.Tree->IsEditing());
    EXPECT_EQ(t.Edited.size(), 2u);
}

TEST(NodeEditing, LosingTheFocusAcceptsOrDiscardsByOption)
{
    for (bool accept : {true, false}) {
        EditTree t;
        QLineEdit other(&t.Window);
        other.move(0, 140);
        other.show();
        uint32_t options = t.Tree->TreeOptions().StringOptions();
        t.Tree->TreeOptions().SetStringOptions(accept ? options | toAutoAcceptEditChange : options & ~toAutoAcceptEditChange);
        ASSERT_TRUE(t.Tree->EditNode(t.Node(0), NoColumn));
        QTest::keyClicks(t.Editor(), QStringLiteral("Pump"));
        other.setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        EXPECT_FALSE(t.Tree->IsEditing()) << accept;
        EXPECT_EQ(t.Names[0], accept ? QStringLiteral("Pump") : QStringLiteral("Meter 1"));
        EXPECT_EQ(t.Cancelled, accept ? 0 : 1);
    }
}

TEST(NodeEditing, EditorStaysAtLeastThirtyWideAndInsideTheClient)
{
    EditTree t({QStringLiteral("x"), QString(200, QChar('W'))});
    ASSERT_TRUE(t.Tree->EditNode(t.Node(0), NoColumn));
    TTVEdit* edit = t.Editor();
    EXPECT_GE(edit->width(), 30);
    t.Tree->EditLink()->SetBounds(QRect(-20, 0, 5, 18));
    EXPECT_EQ(edit->geometry(), QRect(0, 0, 30, 18));
    t.Tree->EditLink()->SetBounds(QRect(100, 0, 1000, 18));
    EXPECT_EQ(edit->geometry().right(), t.Tree->ClientWidth() - 1);
    t.Type(QString(), Qt::Key_Escape);

    ASSERT_TRUE(t.Tree->EditNode(t.Node(1), NoColumn));
    EXPECT_LE(t.Editor()->geometry().right(), t.Tree->ClientWidth() - 1);
}

TEST(NodeEditing, DeletingTheEditedNodeEndsTheEdit)
{
    EditTree t;
    ASSERT_TRUE(t.Tree->EditNode(t.Node(1), NoColumn));
    QTest::keyClicks(t.Editor(), QStringLiteral("zz"));
    t.Tree->DeleteNode(t.Node(1));
    QApplication::processEvents();
    EXPECT_FALSE(t.Tree->IsEditing());
    EXPECT_EQ(t.Tree->EditLink(), nullptr);
    EXPECT_TRUE(t.NewTexts.isEmpty());
}

TEST(NodeEditing, TheEditorStaysOnItsCellWhileTheTreeScrolls)
{
    QStringList names;
    for (int i = 0; i < 40; ++i)
        names << QStringLiteral("Meter %1").arg(i + 1);
    EditTree t(names);
    ASSERT_TRUE(t.Tree->EditNode(t.Node(5), NoColumn));
    const QRect before = t.Editor()->geometry();
    t.Tree->SetOffsetY(t.Tree->OffsetY() - 36);
    QApplication::processEvents();
    EXPECT_EQ(t.Editor()->geometry(), before.translated(0, -36));
    EXPECT_TRUE(t.Tree->IsEditing());
}

}  // namespace

namespace {

using namespace tree;

TEST(NodeEditing, AMultiLineNodeTakesLineBreaksAndCtrlEnterEnds)
{
    EditTree t;
    PTreeNode node = t.Node(1);
    t.Tree->SetMultiline(node, true);
    t.Tree->SetNodeHeight(node, 60);
    ASSERT_TRUE(t.Tree->EditNode(node, NoColumn));
    TTVEdit* edit = t.Editor();
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->Multiline());
    EXPECT_EQ(edit->lineWrapMode(), QPlainTextEdit::WidgetWidth) << "a long line wraps at the editor's width";
    EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    // The editor covers the cell's height, not only one line.
    EXPECT_GE(edit->height(), 50);
    QTest::keyClicks(edit, QStringLiteral("Boiler"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(t.Tree->IsEditing()) << "plain Enter breaks the line";
    QTest::keyClicks(edit, QStringLiteral("room"));
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, QStringLiteral(" 2"));
    EXPECT_EQ(edit->text(), QStringLiteral("Boiler 2\nroom")) << "Up moves a line up in a multi-line node";
    QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_FALSE(t.Tree->IsEditing());
    EXPECT_EQ(t.Names[1], QStringLiteral("Boiler 2\nroom"));
}

TEST(NodeEditing, ASingleLineNodeStaysOnOneLine)
{
    EditTree t;
    ASSERT_TRUE(t.Tree->EditNode(t.Node(0), NoColumn));
    TTVEdit* edit = t.Editor();
    EXPECT_FALSE(edit->Multiline());
    EXPECT_EQ(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    // Pasted line breaks become spaces; Up and Down move along the line.
    QApplication::clipboard()->setText(QStringLiteral("Heat\r\nmeter\nA"));
    edit->paste();
    QApplication::clipboard()->clear();
    EXPECT_EQ(edit->text(), QStringLiteral("Heat meter A"));
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClicks(edit, QStringLiteral("-"));
    EXPECT_EQ(edit->text(), QStringLiteral("Heat meter -A"));
    QTest::keyClick(edit, Qt::Key_Down);
    QTest::keyClick(edit, Qt::Key_Down);
    QTest::keyClicks(edit, QStringLiteral("!"));
    EXPECT_EQ(edit->text(), QStringLiteral("Heat meter -A!"));
}

// The text keeps to the edit's client area narrowed by the text margin less an offset: 2 for a
// single line, 0 for several, 1 more on a themed tree; a single line sits where the tree draws it.
TEST(NodeEditing, TheFormattingRectangleFollowsTheNodeKindAndTheTheme)
{
    struct Case {
        const char* name;
        bool multiline;
        bool themed;
        int offset;
    };
    for (const Case& c : {Case{"single line", false, false, 2}, Case{"single line, themed", false, true, 3},
                          Case{"multi-line", true, false, 0}, Case{"multi-line, themed", true, true, 1}}) {
        SCOPED_TRACE(c.name);
        EditTree t;
        auto& o = t.Tree->TreeOptions();
        o.SetPaintOptions(c.themed ? o.PaintOptions() | toThemeAware : o.PaintOptions() & ~toThemeAware);
        ASSERT_EQ(t.Tree->HasState(tsUseThemes), c.themed);
        PTreeNode node = t.Node(1);
        t.Tree->SetMultiline(node, c.multiline);
        t.Tree->SetNodeHeight(node, c.multiline ? 60 : 26);
        t.Tree->SetTextMargin(6);
        ASSERT_TRUE(t.Tree->EditNode(node, NoColumn));
        TTVEdit* edit = t.Editor();
        const QRect format = edit->FormattingRect();
        const QSize client = edit->contentsRect().size();
        EXPECT_EQ(format.left(), 6 - c.offset);
        EXPECT_EQ(client.width() - 1 - format.right(), 6 - c.offset);
        if (c.multiline) {
            EXPECT_EQ(format.top(), -c.offset) << "widened by the offset";
            EXPECT_EQ(format.bottom(), client.height() - 1 + c.offset);
        } else {
            // Moved down to the text's top inside the row.
            QRect textBounds;
            QString text;
            platform::TFont font = t.Tree->Font();
            t.Tree->GetTextInfo(node, NoColumn, font, textBounds, text);
            EXPECT_EQ(format.top(), std::max(-1, textBounds.top() - edit->geometry().top() - c.offset));
        }
        // What the edit shows: the part of the rectangle inside its client area.
        const QRect shown = edit->viewport()->geometry().translated(-edit->contentsRect().topLeft());
        EXPECT_EQ(shown.left(), std::max(0, format.left()));
        EXPECT_EQ(shown.top(), std::max(0, format.top()));
        EXPECT_EQ(shown.right(), std::min(client.width() - 1, format.right()));
    }
}

}  // namespace
