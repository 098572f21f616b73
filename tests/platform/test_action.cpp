// Actions and their links: changes reach the links before the action stores them, either side may
// go first, and executing honours Enabled.
#include <gtest/gtest.h>
#include <memory>

#include "platform/TAction.h"

using platform::TAction;
using platform::TActionLink;

namespace {

// Records what the action pushed and the action's value at that moment.
struct TRecordingLink : TActionLink {
    using TActionLink::TActionLink;
    QStringList seen;
    void SetCaption(const QString& v) override { seen << "caption " + v + " was " + Action()->Caption(); }
    void SetChecked(bool v) override { seen << QStringLiteral("checked %1").arg(v); }
    void SetEnabled(bool v) override { seen << QStringLiteral("enabled %1").arg(v); }
    void SetHint(const QString& v) override { seen << "hint " + v; }
    void SetVisible(bool v) override { seen << QStringLiteral("visible %1").arg(v); }
    void SetGroupIndex(int v) override { seen << QStringLiteral("group %1").arg(v); }
};

}  // namespace

TEST(TAction, ChangesReachEveryLinkOnceBeforeTheyAreStored)
{
    TAction action;
    QObject client;
    TRecordingLink a(&client), b(&client);
    a.SetAction(&action);
    b.SetAction(&action);
    action.SetCaption("Find");
    action.SetCaption("Find");  // unchanged: nothing pushed
    action.SetChecked(true);
    action.SetEnabled(false);
    action.SetHint("Next match");
    action.SetVisible(false);
    action.SetGroupIndex(3);
    const QStringList expected{"caption Find was ", "checked 1", "enabled 0", "hint Next match", "visible 0",
                               "group 3"};
    EXPECT_EQ(a.seen, expected);
    EXPECT_EQ(b.seen, expected);
    EXPECT_EQ(action.Caption(), "Find");
    EXPECT_EQ(action.GroupIndex(), 3);
}

TEST(TAction, LinksAndActionOutliveEachOther)
{
    QObject client;
    auto link = std::make_unique<TRecordingLink>(&client);
    {
        TAction action;
        link->SetAction(&action);
        auto other = std::make_unique<TRecordingLink>(&client);
        other->SetAction(&action);
        EXPECT_EQ(action.LinkCount(), 2);
        other.reset();
        EXPECT_EQ(action.LinkCount(), 1);
        action.SetCaption("A");  // the destroyed link is not called
    }
    EXPECT_EQ(link->Action(), nullptr);
    EXPECT_FALSE(link->Execute());

    TAction first, second;
    link->SetAction(&first);
    link->SetAction(&second);
    EXPECT_EQ(first.LinkCount(), 0);
    first.SetCaption("gone");
    EXPECT_EQ(link->seen, QStringList{"caption A was "});
}

TEST(TAction, ExecuteRunsOnlyWhenEnabledAndTellsTheSender)
{
    TAction action;
    QObject client;
    TRecordingLink link(&client);
    link.SetAction(&action);
    EXPECT_FALSE(link.Execute());  // no handler
    QObject* sender = nullptr;
    action.OnExecute = [&](QObject* s) { sender = s; };
    EXPECT_TRUE(link.Execute());
    EXPECT_EQ(sender, &client);
    sender = nullptr;
    action.SetEnabled(false);
    EXPECT_FALSE(link.Execute());
    EXPECT_EQ(sender, nullptr);
}
