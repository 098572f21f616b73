#include <QApplication>
#include <QFontDatabase>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

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
// The faces every render test draws with; without them the golden images cannot match.
bool FontsAreInstalled()
{
    const QString family = QStringLiteral("DejaVu Sans");
    const QStringList styles = QFontDatabase::styles(family);
    bool ok = QFontDatabase::hasFamily(family);
    for (const char* style : {"Book", "Bold", "Oblique", "Bold Oblique"})
        ok = ok && styles.contains(QLatin1String(style));
    if (!ok)
        fprintf(stderr, "The tests draw with the DejaVu Sans faces Book, Bold, Oblique and Bold Oblique; "
                        "this machine has %s. Install fonts-dejavu-core and fonts-dejavu-extra "
                        "(scripts/setup.sh does).\n",
                qPrintable(styles.isEmpty() ? QStringLiteral("none of them") : styles.join(QStringLiteral(", "))));
    return ok;
}


// Ends the program when one test runs longer than its limit (CONF_TEST_TIMEOUT seconds, 60 by
// default), naming the test: a hung test fails its run instead of holding up the whole pass.
class TestWatchdog : public ::testing::EmptyTestEventListener {
public:
    explicit TestWatchdog(std::chrono::seconds limit) : Limit(limit), Thread([this] { Watch(); }) {}
    ~TestWatchdog() override
    {
        {
            std::lock_guard lock(Mutex);
            Stopping = true;
        }
        Changed.notify_all();
        Thread.join();
    }

private:
    void OnTestStart(const ::testing::TestInfo& test) override
    {
        std::lock_guard lock(Mutex);
        Running = std::string(test.test_suite_name()) + "." + test.name();
        Deadline = std::chrono::steady_clock::now() + Limit;
        Changed.notify_all();
    }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        std::lock_guard lock(Mutex);
        Running.clear();
        Changed.notify_all();
    }
    void Watch()
    {
        std::unique_lock lock(Mutex);
        while (!Stopping) {
            if (Running.empty()) {
                Changed.wait(lock);
            } else if (Changed.wait_until(lock, Deadline) == std::cv_status::timeout &&
                       !Running.empty() && std::chrono::steady_clock::now() >= Deadline) {
                std::fprintf(stderr, "\n[  TIMEOUT ] %s ran longer than %lld s\n", Running.c_str(),
                             static_cast<long long>(Limit.count()));
                std::fflush(stderr);
                std::_Exit(1);
            }
        }
    }

    const std::chrono::seconds Limit;
    std::mutex Mutex;
    std::condition_variable Changed;
    std::string Running;
    std::chrono::steady_clock::time_point Deadline;
    bool Stopping = false;
    std::thread Thread;
};

std::chrono::seconds TestTimeLimit()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("CONF_TEST_TIMEOUT", &ok);
    return std::chrono::seconds(ok && seconds > 0 ? seconds : 60);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Only the faces the setup installs, whatever else the machine holds.
    if (qEnvironmentVariableIsEmpty("FONTCONFIG_FILE"))
        qputenv("FONTCONFIG_FILE", TEST_FONTS_CONF);
    ::testing::InitGoogleTest(&argc, argv);
    platform::TApplication app(argc, argv);
    if (!FontsAreInstalled())
        return 1;
    // A box or file dialog that a test did not script fails it and never waits for a user.
    InstallUnscriptedDialogFailures();
    ::testing::UnitTest::GetInstance()->listeners().Append(new ReleaseTestMouseButtons);
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestWatchdog(TestTimeLimit()));
    return RUN_ALL_TESTS();
}
