#include "platform/Exception.h"
#include "platform/Guard.h"
#include "support/ScriptedMessages.h"
#include "platform/TCustomControl.h"

#include <QMouseEvent>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {
// A plain object: only the application-wide guard stands between its handler and Qt.
class ThrowingObject : public QObject {
protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("plain failure");
        return QObject::event(e);
    }
};

// Our own controls catch inside the handler, so the error never unwinds through Qt.
class ThrowingControl : public platform::TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int Clicks = 0;

protected:
    void MouseDown(platform::TMouseButton, platform::TShiftState, int, int) override
    {
        throw platform::Exception(QStringLiteral("handler failed"));
    }
    void MouseUp(platform::TMouseButton, platform::TShiftState, int, int) override { ++Clicks; }
};

QMouseEvent mouse(QEvent::Type type)
{
    return QMouseEvent(type, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                       type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
}
}  // namespace

TEST(Guard, ErrorsEscapingEventHandlersAreShownAndTheProgramGoesOn)
{
    ScriptedMessages messages;
    ThrowingObject o;
    QEvent user(QEvent::User);
    QApplication::sendEvent(&o, &user);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].Text, QStringLiteral("plain failure"));
    EXPECT_EQ(messages.Shown()[0].Type, platform::TMsgDlgType::mtError);
}

TEST(Guard, ControlHandlersAreGuardedOneByOne)
{
    ScriptedMessages messages;
    ThrowingControl c;
    QMouseEvent press = mouse(QEvent::MouseButtonPress);
    QMouseEvent release = mouse(QEvent::MouseButtonRelease);
    QApplication::sendEvent(&c, &press);
    QApplication::sendEvent(&c, &release);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].Text, QStringLiteral("handler failed"));
    EXPECT_EQ(c.Clicks, 1);  // the control goes on working after the failure
}
