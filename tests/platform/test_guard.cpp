#include "Exception.h"
#include "Guard.h"
#include "ScriptedMessages.h"

#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {
class ThrowingWidget : public QWidget {
protected:
    void mousePressEvent(QMouseEvent*) override { throw platform::Exception(QStringLiteral("handler failed")); }
    void keyPressEvent(QKeyEvent*) override { throw std::runtime_error("plain failure"); }
};
}  // namespace

TEST(Guard, ErrorsEscapingEventHandlersAreShownAndTheProgramGoesOn)
{
    ScriptedMessages messages;
    ThrowingWidget w;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&w, &press);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&w, &key);

    ASSERT_EQ(messages.Shown().size(), 2u);
    EXPECT_EQ(messages.Shown()[0].Text, QStringLiteral("handler failed"));
    EXPECT_EQ(messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
    EXPECT_EQ(messages.Shown()[1].Text, QStringLiteral("plain failure"));
}
