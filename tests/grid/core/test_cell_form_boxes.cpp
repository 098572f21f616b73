// The edit and combo boxes that operate a cell form's controls: Enter returns to the grid, Tab
// goes on to the next cell or the next form control, and the exit handling runs once.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"

using namespace grid;

namespace {

// A grid that records where Tab sent the focus.
class FormGrid : public TExtStringGrid {
public:
    struct Step {
        char kind;  // 'a' advance, 'n' next control
        int c, r;
        QString id;
    };
    std::vector<Step> steps;
    void AdvanceEdit(int c, int r) override
    {
        steps.push_back({'a', c, r, {}});
        TExtStringGrid::AdvanceEdit(c, r);
    }
    void FocusNextCellControl(int c, int r, const QString& id) override
    {
        steps.push_back({'n', c, r, id});
        TExtStringGrid::FocusNextCellControl(c, r, id);
    }
};

struct CellFormBoxes : ::testing::Test {
    FormGrid g;
    int exits = 0;
    void SetUp() override
    {
        g.SetColCount(4);
        g.SetRowCount(4);
        g.resize(300, 150);
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&g));
        g.MoveColRow(1, 2);
        for (QWidget* box : {static_cast<QWidget*>(g.ControlEdit.get()), static_cast<QWidget*>(g.ControlCombo.get())})
            box->setParent(g.viewport());
        g.ControlEdit->OnExit = [this] { ++exits; };
        g.ControlCombo->OnExit = [this] { ++exits; };
        g.ControlEdit->ControlID = QStringLiteral("e1");
        g.ControlCombo->ControlID = QStringLiteral("c1");
    }
    void Open(QWidget* box)
    {
        box->setGeometry(10, 30, 80, 20);
        box->show();
        box->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([box] { return box->hasFocus(); }));
    }
};

TEST_F(CellFormBoxes, EnterLeavesEitherBoxForTheGrid)
{
    for (QWidget* box : {static_cast<QWidget*>(g.ControlEdit.get()), static_cast<QWidget*>(g.ControlCombo.get())}) {
        SCOPED_TRACE(box == g.ControlEdit.get() ? "edit" : "combo");
        exits = 0;
        Open(box);
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_TRUE(g.hasFocus());
        EXPECT_EQ(exits, 1) << "the exit handling runs once, not again as the focus goes";
        EXPECT_TRUE(g.steps.empty());
    }
}

TEST_F(CellFormBoxes, TabGoesToTheNextControlOfTheCellOrAdvancesWithAutomaticAdvance)
{
    const struct {
        bool advanceAuto;
        char kind;
    } cases[] = {{false, 'n'}, {true, 'a'}};
    for (const auto& k : cases) {
        for (QWidget* box : {static_cast<QWidget*>(g.ControlEdit.get()), static_cast<QWidget*>(g.ControlCombo.get())}) {
            const bool edit = box == g.ControlEdit.get();
            SCOPED_TRACE(std::string(edit ? "edit" : "combo") + (k.advanceAuto ? ", advance" : ""));
            g.Navigation.SetAdvanceAuto(k.advanceAuto);
            g.MoveColRow(1, 2);
            g.steps.clear();
            exits = 0;
            Open(box);
            QTest::keyClick(box, Qt::Key_Tab);
            ASSERT_EQ(g.steps.size(), 1u);
            EXPECT_EQ(g.steps[0].kind, k.kind);
            EXPECT_EQ(g.steps[0].c, 1);
            EXPECT_EQ(g.steps[0].r, 2);
            if (k.kind == 'n')
                EXPECT_EQ(g.steps[0].id, edit ? QStringLiteral("e1") : QStringLiteral("c1"));
            else
                EXPECT_EQ(g.Col(), 2) << "automatic advance moves on to the next cell";
            EXPECT_TRUE(g.hasFocus());
            EXPECT_EQ(exits, 1);
        }
    }
}

TEST_F(CellFormBoxes, OutsideAGridTheEditLeavesEnterToTheDialogAndKeepsTab)
{
    QWidget dialog;
    QPushButton ok(QStringLiteral("OK"), &dialog);
    TControlEdit& edit = *g.ControlEdit;
    edit.setParent(&dialog);
    bool returned = false;
    QObject::connect(&edit, &QLineEdit::returnPressed, [&] { returned = true; });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    edit.show();
    edit.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return edit.hasFocus(); }));
    QTest::keyClick(&edit, Qt::Key_Tab);
    EXPECT_TRUE(edit.hasFocus()) << "Tab stays with the edit";
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_TRUE(returned) << "Enter takes the edit's own way";
    EXPECT_TRUE(g.steps.empty());
    EXPECT_EQ(exits, 0);
    edit.setParent(nullptr);
}

}  // namespace
