#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/Guard.h"
#include "support/ScriptedMessages.h"

namespace {
// QTest's double click on a widget leaves its button held: it sends no release. A later test's
// mouse moves would then arrive as drags, so every test starts with the buttons let go.
class ReleaseTestMouseButtons : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override
    {
        const Qt::MouseButtons held = QTestPrivate::qtestMouseButtons;
        if (held == Qt::NoButton)
            return;
        QWidget target;
        for (const Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
            if (held & b)
                QTest::mouseRelease(&target, b);
    }
};
}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    platform::TApplication app(argc, argv);
    // A box or file dialog that a test did not script fails it and never waits for a user.
    InstallUnscriptedDialogFailures();
    ::testing::UnitTest::GetInstance()->listeners().Append(new ReleaseTestMouseButtons);
    return RUN_ALL_TESTS();
}
