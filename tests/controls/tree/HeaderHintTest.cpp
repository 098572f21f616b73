// Column hints on the header strip, with the mouse moved by QTest and the platform's hint request
// sent to the strip, as it is after the mouse has rested there.
#include "TreeFixture.h"
#include "controls/tree/TreeHints.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>

using namespace treetest;

namespace {

// Three columns of 100 pixels; the last has no hint.
class ColumnHintTree : public TBaseNodeTree {
public:
    ColumnHintTree()
    {
        resize(300, 150);
        SetHintAnimation(hatNone);
        const char* hints[] = {"first column", "second column", ""};
        for (const char* hint : hints) {
            TNodeTreeColumn* c = Header().Columns().Add();
            c->SetWidth(100);
            c->SetHint(QString::fromUtf8(hint));
        }
        Header().SetOptions(Header().Options() | hoVisible | hoShowHint);
    }
    bool HintShown() { return HintWindow() && HintWindow()->HintShown(); }
    QString HintText() { return HintShown() ? HintWindow()->HintData().HintText : QString(); }
};

class HeaderHintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.show();
        QApplication::setActiveWindow(&t);
        // A button the test library still holds from another test hides hints.
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
            if (QGuiApplication::mouseButtons() & b)
                QTest::mouseRelease(t.windowHandle(), b, Qt::NoModifier, QPoint(t.width() - 2, t.height() - 2));
        strip = t.NonClientStrip();
        ASSERT_NE(strip, nullptr);
    }
    // Moves the mouse to x in the middle of the strip and lets it rest there.
    void RestAt(int x)
    {
        MoveTo(x);
        const QPoint p(x, strip->height() / 2);
        QHelpEvent help(QEvent::ToolTip, p, strip->mapToGlobal(p));
        QApplication::sendEvent(strip, &help);
    }
    void MoveTo(int x) { QTest::mouseMove(strip, QPoint(x, strip->height() / 2)); }
    ColumnHintTree t;
    QWidget* strip = nullptr;
};

}  // namespace

TEST_F(HeaderHintTest, EachColumnShowsItsOwnHintBelowTheHeader)
{
    const struct {
        int x;
        const char* text;  // empty: no hint
    } cases[] = {{50, "first column"}, {150, "second column"}, {250, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        RestAt(c.x);
        EXPECT_EQ(t.HintText(), QString::fromUtf8(c.text));
        if (t.HintShown())
            EXPECT_GE(t.HintWindow()->geometry().top(), t.viewport()->mapToGlobal(QPoint(0, 0)).y())
                << "a column hint never covers the header";
        MoveTo(c.x + 60);  // into the next column
        EXPECT_FALSE(t.HintShown()) << "moving off the cell takes the hint away";
    }
}

TEST_F(HeaderHintTest, TheHintStaysOverItsCellAndGoesWithAPress)
{
    RestAt(20);
    ASSERT_EQ(t.HintText(), "first column");
    MoveTo(80);
    EXPECT_EQ(t.HintText(), "first column") << "still over the same cell";
    QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(80, strip->height() / 2));
    EXPECT_FALSE(t.HintShown());
    QTest::mouseRelease(strip, Qt::LeftButton, {}, QPoint(80, strip->height() / 2));

    t.Header().SetOptions(t.Header().Options() & ~hoShowHint);
    RestAt(150);
    EXPECT_FALSE(t.HintShown()) << "without the option the header shows no column hints";
}
