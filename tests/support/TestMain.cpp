#include <QApplication>
#include <gtest/gtest.h>

#include "platform/Guard.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    platform::TApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
