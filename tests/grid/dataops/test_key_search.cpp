#include <QTest>
#include <gtest/gtest.h>

#include "DataOpsSuite.h"

using namespace grid;
using namespace grid::dataops;

namespace {

struct KeySearch : WithDataOps {
    TExtStringGrid g;
    void SetUp() override
    {
        WithLayers(g);
        g.SetColCount(3);
        g.SetRowCount(7);
        g.Options &= ~goEditing;
        const char* names[] = {"alpha", "beta", "bravo", "charlie", "Brown", "delta"};
        for (int r = 1; r < 7; ++r)
            g.SetCells(1, r, QString::fromLatin1(names[r - 1]));
        g.resize(300, 200);
        g.show();
        g.GotoCell(2, 1);
    }
};

// Typing with editing off goes to the first row whose text in the first normal column starts with
// what was typed; a failed search clears the typed text and stays.
TEST_F(KeySearch, TypingGoesToTheFirstRowThatStartsWithTheText)
{
    g.Navigation.AutoGotoWhenSorted = true;
    g.Navigation.AutoGotoIncremental = true;
    QTest::keyClick(&g, Qt::Key_B);
    EXPECT_EQ(g.Row(), 2);
    QTest::keyClick(&g, Qt::Key_R);
    EXPECT_EQ(g.Row(), 3);
    QTest::keyClick(&g, Qt::Key_O);
    EXPECT_EQ(g.Row(), 5);
    EXPECT_EQ(g.IncrementalSearchText, QStringLiteral("bro"));
    QTest::keyClick(&g, Qt::Key_Z);
    EXPECT_EQ(g.Row(), 5);
    EXPECT_EQ(g.IncrementalSearchText, QString());
}

// With the sort glyph shown the sorted column is searched.
TEST_F(KeySearch, TheShownSortColumnIsSearched)
{
    g.SetCells(2, 4, QStringLiteral("zeta"));
    g.Navigation.AutoGotoWhenSorted = true;
    g.SortSettings.Show = true;
    g.SortSettings.Column = 2;
    QTest::keyClick(&g, Qt::Key_Z);
    EXPECT_EQ(g.Row(), 4);
}

}  // namespace
