#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridSettings.h"

using namespace grid;

namespace {

TEST(SortIndexList, TextFormAndToggles)
{
    TSortIndexList list;
    list.AddIndex(3, true);
    list.AddIndex(5, false);
    EXPECT_EQ(list.SaveToString(), QStringLiteral("u3;d5"));
    list.ToggleIndex(9);
    EXPECT_EQ(list.SaveToString(), QStringLiteral("u3;d5"));
    EXPECT_EQ(list.FindIndex(5), 1);
    list.ToggleIndex(5);
    EXPECT_TRUE(list.GetSortDirections(1));
    TSortIndexList loaded;
    loaded.LoadFromString(QStringLiteral("u3;d5;x;u"));
    EXPECT_EQ(loaded.SaveToString(), QStringLiteral("u3;d5"));
    EXPECT_THROW(loaded.GetInteger(2), platform::Exception);
}

TEST(IntList, NotifiesChangesAndParsesText)
{
    TIntList list(2, 7);
    std::vector<std::pair<int, int>> calls;
    list.OnChange = [&](TIntList*, int c, int r) { calls.emplace_back(c, r); };
    list.Add(1);
    list.Insert(0, 5);  // no notification
    list.SetInteger(1, 4);
    EXPECT_EQ(list.StrValue(), QStringLiteral("5,4"));
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], std::make_pair(2, 7));
    list.SetStrValue(QStringLiteral("1, 2 \"3\""));
    EXPECT_EQ(list.StrValue(), QStringLiteral("1,2,3"));
    EXPECT_THROW(list.SetStrValue(QStringLiteral("1,x,3")), platform::Exception);
    EXPECT_EQ(list.StrValue(), QStringLiteral("1"));
}

TEST(SettingsObjects, SetterSideEffects)
{
    TBands bands;
    int changes = 0;
    bands.OnChange = [&] { ++changes; };
    bands.SetPrimaryLength(2);
    bands.SetSecondaryLength(3);
    EXPECT_EQ(changes, 0);  // inactive bands do not report lengths
    EXPECT_EQ(bands.TotalLength(), 5);
    TBands copy;
    copy.Assign(bands);
    EXPECT_EQ(copy.TotalLength(), 5);

    TMouseActions mouse;
    mouse.SetHotmailRowSelect(true);
    EXPECT_TRUE(mouse.DisjunctRowSelect());
    EXPECT_TRUE(mouse.CheckAllCheck);
    mouse.SetHotmailRowSelect(false);
    EXPECT_TRUE(mouse.DisjunctRowSelect());
    EXPECT_TRUE(mouse.CheckAllCheck);

    TNavigation nav;
    nav.SetAdvanceAuto(false);
    EXPECT_FALSE(nav.AdvanceOnEnter);
    nav.SetAdvanceAuto(true);
    EXPECT_TRUE(nav.AdvanceOnEnter);
    nav.TabAdvanceDirection = adTopBottom;
    nav.KeepScrollOnSort = true;
    TNavigation navCopy;
    navCopy.Assign(nav);
    EXPECT_EQ(navCopy.TabAdvanceDirection, adTopBottom);
    EXPECT_EQ(navCopy.AdvanceDirection(), adLeftRight);
    EXPECT_FALSE(navCopy.KeepScrollOnSort);

    TExtStringGrid g, other;
    g.SyncGrid.SetGrid(&other);
    g.SyncGrid.SetGrid(&g);
    EXPECT_EQ(g.SyncGrid.Grid(), &other);

    TSearchFooter designed(true), runtime(false);
    EXPECT_EQ(designed.FindNextCaption, QStringLiteral("Find &next"));
    EXPECT_TRUE(runtime.FindNextCaption.isEmpty());
    EXPECT_EQ(runtime.SearchColumn, -1);
}

}  // namespace
