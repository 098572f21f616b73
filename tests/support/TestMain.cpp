#include <QApplication>
#include <QFontDatabase>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <cstdio>

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
    return RUN_ALL_TESTS();
}
