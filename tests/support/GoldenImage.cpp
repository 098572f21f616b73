#include "support/GoldenImage.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>

namespace testsupport {

namespace {

QString FailureFolder()
{
    const QString dir = QDir::tempPath() + QStringLiteral("/golden-failures");
    QDir().mkpath(dir);
    return dir;
}

}  // namespace

::testing::AssertionResult MatchesGolden(const QImage& actualIn, const QString& goldenPath,
                                         GoldenTolerance tolerance)
{
    const QImage actual = actualIn.convertToFormat(QImage::Format_RGB32);
    if (qEnvironmentVariable("CONF_UPDATE_GOLDEN") == QLatin1String("1")) {
        QDir().mkpath(QFileInfo(goldenPath).absolutePath());
        if (!actual.save(goldenPath, "PNG"))
            return ::testing::AssertionFailure() << "cannot write golden image " << goldenPath.toStdString();
        return ::testing::AssertionSuccess();
    }
    QImage golden;
    if (!golden.load(goldenPath, "PNG"))
        return ::testing::AssertionFailure()
               << "no golden image " << goldenPath.toStdString() << " (run with CONF_UPDATE_GOLDEN=1 to write it)";
    golden = golden.convertToFormat(QImage::Format_RGB32);

    const QString base = FailureFolder() + QLatin1Char('/') + QFileInfo(goldenPath).completeBaseName();
    if (golden.size() != actual.size()) {
        actual.save(base + QStringLiteral(".actual.png"), "PNG");
        return ::testing::AssertionFailure()
               << "size " << actual.width() << "x" << actual.height() << " differs from golden "
               << golden.width() << "x" << golden.height() << "; actual written to "
               << (base + QStringLiteral(".actual.png")).toStdString();
    }
    QImage diff(actual.size(), QImage::Format_RGB32);
    diff.fill(Qt::white);
    long long differing = 0;
    int worst = 0;
    for (int y = 0; y < actual.height(); ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        const QRgb* g = reinterpret_cast<const QRgb*>(golden.constScanLine(y));
        for (int x = 0; x < actual.width(); ++x) {
            const int d = std::max({std::abs(qRed(a[x]) - qRed(g[x])), std::abs(qGreen(a[x]) - qGreen(g[x])),
                                    std::abs(qBlue(a[x]) - qBlue(g[x]))});
            worst = std::max(worst, d);
            if (d > tolerance.channelTolerance) {
                ++differing;
                diff.setPixel(x, y, qRgb(255, 0, 0));
            }
        }
    }
    const long long total = static_cast<long long>(actual.width()) * actual.height();
    if (differing <= static_cast<long long>(tolerance.maxDifferingFraction * static_cast<double>(total)))
        return ::testing::AssertionSuccess();
    actual.save(base + QStringLiteral(".actual.png"), "PNG");
    diff.save(base + QStringLiteral(".diff.png"), "PNG");
    return ::testing::AssertionFailure()
           << differing << " of " << total << " pixels differ from " << goldenPath.toStdString()
           << " (largest channel difference " << worst << "); actual and difference map written to "
           << base.toStdString() << ".actual.png / .diff.png";
}

}  // namespace testsupport
