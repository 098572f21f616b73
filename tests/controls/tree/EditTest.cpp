#include "controls/tree/TreeEdit.h"

#include <QApplication>
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
    const QPoint p = t.Tree->GetDisplayRect(t.Node(1), NoColumn, true).center();
    QTest::mouseClick(t.Tree->viewport(), Qt::LeftButton, {}, p);
    QTest::qWait(50);
    EXPECT_FALSE(t.Tree->IsEditing()) << "the first click only focuses";
    EXPECT_EQ(t.Tree->FocusedNode(), t.Node(1));
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(t.Tree->viewport(), Qt::LeftButton, {}, p);
    QTRY_VERIFY_WITH_TIMEOUT(t.Tree->IsEditing(), 2000);
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
