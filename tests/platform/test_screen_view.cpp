// The screen view keeps what was painted: a change the control does not invalidate stays unseen,
// and keys reach the focus widget through the window.
#include "platform/TCustomControl.h"
#include "support/ScreenView.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace platform;
using testsupport::ScreenView;

namespace {

class Swatch : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    TColor Fill = clRed;

protected:
    void Paint() override
    {
        Canvas().Brush.Color = Fill;
        Canvas().FillRect(ClientRect());
    }
};

TEST(ScreenView, ShowsOnlyWhatTheControlRepaints)
{
    QWidget window;
    window.resize(120, 80);
    auto* swatch = new Swatch(&window);
    swatch->setGeometry(10, 10, 60, 40);
    ScreenView screen(swatch);
    EXPECT_EQ(screen.Pixel(QPoint(30, 20)), 0xFF0000u);

    swatch->Fill = clBlue;  // no invalidation: the screen keeps red
    EXPECT_EQ(screen.Pixel(QPoint(30, 20)), 0xFF0000u);
    EXPECT_EQ(swatch->grab().toImage().pixel(30, 20) & 0xFFFFFF, 0x0000FFu) << "a fresh render hides it";

    swatch->Invalidate();
    EXPECT_EQ(screen.Pixel(QPoint(30, 20)), 0x0000FFu);
}

TEST(ScreenView, KeysGoToTheFocusWidget)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* first = new QLineEdit(&window);
    auto* second = new QLineEdit(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    ScreenView screen(&window);
    second->setFocus();
    screen.Type(QStringLiteral("ab\u00e9"));
    screen.Key(Qt::Key_Backtab, Qt::ShiftModifier);
    screen.Type(QStringLiteral("x"));
    EXPECT_EQ(second->text(), QStringLiteral("ab\u00e9"));
    EXPECT_EQ(first->text(), QStringLiteral("x"));
}

}  // namespace
