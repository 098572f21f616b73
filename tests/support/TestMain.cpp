#include <QApplication>
#include <gtest/gtest.h>

#include "platform/Guard.h"
#include "support/ScriptedMessages.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    platform::TApplication app(argc, argv);
    // A box or file dialog that a test did not script fails it and never waits for a user.
    InstallUnscriptedDialogFailures();
    return RUN_ALL_TESTS();
}
