#include "shell/UWindowList.h"

#include "grid/core/ExtStringGrid.h"

#include <QCoreApplication>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

using shell::TWindow_List;

namespace {
// Windows that note their construction and destruction in one shared log.
QStringList Log;

template <char Name>
class LoggedWindow : public platform::TForm {
public:
    LoggedWindow() { Log << QStringLiteral("+") + QChar(Name); }
    ~LoggedWindow() override { Log << QStringLiteral("-") + QChar(Name); }
};
using WindowA = LoggedWindow<'A'>;
using WindowB = LoggedWindow<'B'>;
using WindowC = LoggedWindow<'C'>;

class WindowList : public ::testing::Test {
protected:
    void SetUp() override { Log.clear(); }
    TWindow_List List;
};
}  // namespace

TEST_F(WindowList, CreatesAWindowOnlyWhenFirstAskedFor)
{
    EXPECT_EQ(List.Find<WindowA>(), nullptr);
    EXPECT_TRUE(Log.isEmpty());
    WindowA* a = List.Get<WindowA>();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(List.Get<WindowA>(), a);
    EXPECT_EQ(List.Find<WindowA>(), a);
    EXPECT_EQ(List.Find<WindowB>(), nullptr);
    EXPECT_EQ(Log, QStringList({"+A"}));
}

TEST_F(WindowList, DestroysInReverseOrderOfCreationAndCanStartAgain)
{
    List.Get<WindowB>();
    List.Get<WindowA>();
    List.Get<WindowC>();
    ASSERT_EQ(List.Windows().size(), 3u);
    List.Clear();
    EXPECT_EQ(Log, QStringList({"+B", "+A", "+C", "-C", "-A", "-B"}));
    EXPECT_TRUE(List.Windows().empty());

    // A cleared list creates afresh.
    Log.clear();
    List.Get<WindowA>();
    EXPECT_EQ(Log, QStringList({"+A"}));
}

TEST_F(WindowList, AWindowPutInPlaceIsUsedButNeverDestroyedByTheList)
{
    WindowA own;
    List.Put<WindowA>(&own);
    EXPECT_EQ(List.Get<WindowA>(), &own);
    List.Clear();
    EXPECT_EQ(Log, QStringList({"+A"}));
    EXPECT_EQ(List.Find<WindowA>(), nullptr);
}

TEST_F(WindowList, PuttingAWindowReplacesTheOneCreated)
{
    List.Get<WindowA>();
    WindowA own;
    List.Put<WindowA>(&own);
    EXPECT_EQ(List.Find<WindowA>(), &own);
    EXPECT_EQ(Log, QStringList({"+A", "+A", "-A"}));
    List.Put<WindowA>(nullptr);
    EXPECT_EQ(List.Find<WindowA>(), nullptr);
}

TEST_F(WindowList, ForgetsAWindowThatWentAwayByOtherMeans)
{
    {
        WindowA own;
        List.Put<WindowA>(&own);
    }
    EXPECT_EQ(List.Find<WindowA>(), nullptr);

    // A window of the list deleted by someone else is not deleted a second time.
    List.Get<WindowB>()->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(List.Find<WindowB>(), nullptr);
    EXPECT_TRUE(List.Windows().empty());
    List.Clear();
    EXPECT_EQ(Log, QStringList({"+A", "-A", "+B", "-B"}));
}

TEST_F(WindowList, ADerivedWindowTakesThePlaceOfItsBase)
{
    struct TestWindowA : WindowA {};
    TestWindowA own;
    List.Put<WindowA>(&own);
    EXPECT_EQ(List.Get<WindowA>(), &own);
    EXPECT_EQ(List.Find<TestWindowA>(), nullptr);
}

// A window whose grids take layers gets the list's grid layers when the list makes it; the others
// are made as they are.
TEST_F(WindowList, AWindowWithGridsGetsTheListsGridLayers)
{
    struct TGridWindow : platform::TForm {
        explicit TGridWindow(const grid::TGridLayers& layers) : Layers(layers) {}
        grid::TGridLayers Layers;
    };
    int made = 0;
    List.Grid_Layers.DataOps = [&made](grid::TExtStringGrid&) {
        ++made;
        return std::unique_ptr<grid::TGridDataOps>();
    };
    TGridWindow* w = List.Get<TGridWindow>();
    ASSERT_TRUE(w->Layers.DataOps);
    EXPECT_FALSE(w->Layers.Editing);
    grid::TExtStringGrid g;
    g.SetLayers(w->Layers);
    EXPECT_EQ(g.DataOps(), nullptr);  // the maker above only counts
    EXPECT_EQ(made, 1);
    EXPECT_NE(List.Get<WindowA>(), nullptr);
}
