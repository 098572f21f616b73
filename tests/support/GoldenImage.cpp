#include "support/GoldenImage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>
#include <iostream>

namespace testsupport {

namespace {

QString TempFolder(const QString& name)
{
    const QString dir = QDir::tempPath() + QLatin1Char('/') + name;
    QDir().mkpath(dir);
    return dir;
}

// Where two images of one size differ by more than a channel tolerance: red on white.
struct Difference {
    QImage Map;
    long long Differing = 0;
    int Worst = 0;
};

Difference Compare(const QImage& actual, const QImage& golden, int channelTolerance)
{
    Difference d;
    d.Map = QImage(actual.size(), QImage::Format_RGB32);
    d.Map.fill(Qt::white);
    for (int y = 0; y < actual.height(); ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        const QRgb* g = reinterpret_cast<const QRgb*>(golden.constScanLine(y));
        for (int x = 0; x < actual.width(); ++x) {
            const int c = std::max({std::abs(qRed(a[x]) - qRed(g[x])), std::abs(qGreen(a[x]) - qGreen(g[x])),
                                    std::abs(qBlue(a[x]) - qBlue(g[x]))});
            d.Worst = std::max(d.Worst, c);
            if (c > channelTolerance) {
                ++d.Differing;
                d.Map.setPixel(x, y, qRgb(255, 0, 0));
            }
        }
    }
    return d;
}

QImage LoadRgb(const QString& path)
{
    QImage image;
    if (!image.load(path, "PNG"))
        return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

// For the one who reviews an update: the old and the new picture and every changed pixel side by
// side on one page in the temporary folder. Answers the page's path, empty when nothing changed.
QString WriteReviewPage(const QImage& old, const QImage& now, const QString& goldenPath)
{
    const bool sameSize = old.size() == now.size();
    if (sameSize && Compare(now, old, 0).Differing == 0)
        return {};
    const QString name = QFileInfo(goldenPath).completeBaseName();
    const QString base = TempFolder(QStringLiteral("golden-updates")) + QLatin1Char('/') + name;
    old.save(base + QStringLiteral(".old.png"), "PNG");
    now.save(base + QStringLiteral(".new.png"), "PNG");
    QString diffCell = QStringLiteral("<td>sizes differ: %1x%2 before, %3x%4 now</td>")
                           .arg(old.width()).arg(old.height()).arg(now.width()).arg(now.height());
    if (sameSize) {
        const Difference d = Compare(now, old, 0);
        d.Map.save(base + QStringLiteral(".diff.png"), "PNG");
        diffCell = QStringLiteral("<td><img src=\"%1.diff.png\"><br>%2 pixels differ</td>").arg(name).arg(d.Differing);
    }
    const QString html =
        QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title>\n"
                       "<style>img{image-rendering:pixelated;border:1px solid #888}td{vertical-align:top;"
                       "padding:8px}</style></head>\n<body><h1>%1</h1><p>%2</p>\n<table><tr><th>old</th>"
                       "<th>new</th><th>difference</th></tr>\n<tr><td><img src=\"%3.old.png\"></td>"
                       "<td><img src=\"%3.new.png\"></td>%4</tr></table></body></html>\n")
            .arg(name.toHtmlEscaped(), goldenPath.toHtmlEscaped(), name, diffCell);
    QFile page(base + QStringLiteral(".html"));
    if (!page.open(QIODevice::WriteOnly | QIODevice::Truncate) || page.write(html.toUtf8()) < 0)
        return {};
    return page.fileName();
}

}  // namespace

::testing::AssertionResult MatchesGolden(const QImage& actualIn, const QString& goldenPath,
                                         GoldenTolerance tolerance)
{
    const QImage actual = actualIn.convertToFormat(QImage::Format_RGB32);
    if (qEnvironmentVariable("CONF_UPDATE_GOLDEN") == QLatin1String("1")) {
        const QImage old = LoadRgb(goldenPath);
        QDir().mkpath(QFileInfo(goldenPath).absolutePath());
        if (!actual.save(goldenPath, "PNG"))
            return ::testing::AssertionFailure() << "cannot write golden image " << goldenPath.toStdString();
        if (!old.isNull()) {
            const QString page = WriteReviewPage(old, actual, goldenPath);
            if (!page.isEmpty())
                std::cout << "golden image " << goldenPath.toStdString() << " changed; old, new and difference: "
                          << page.toStdString() << std::endl;
        }
        return ::testing::AssertionSuccess();
    }
    const QImage golden = LoadRgb(goldenPath);
    if (golden.isNull())
        return ::testing::AssertionFailure()
               << "no golden image " << goldenPath.toStdString() << " (run with CONF_UPDATE_GOLDEN=1 to write it)";

    const QString base = TempFolder(QStringLiteral("golden-failures")) + QLatin1Char('/') +
                         QFileInfo(goldenPath).completeBaseName();
    if (golden.size() != actual.size()) {
        actual.save(base + QStringLiteral(".actual.png"), "PNG");
        return ::testing::AssertionFailure()
               << "size " << actual.width() << "x" << actual.height() << " differs from golden "
               << golden.width() << "x" << golden.height() << "; actual written to "
               << (base + QStringLiteral(".actual.png")).toStdString();
    }
    const Difference d = Compare(actual, golden, tolerance.channelTolerance);
    const long long total = static_cast<long long>(actual.width()) * actual.height();
    if (d.Differing <= static_cast<long long>(tolerance.maxDifferingFraction * static_cast<double>(total)))
        return ::testing::AssertionSuccess();
    actual.save(base + QStringLiteral(".actual.png"), "PNG");
    d.Map.save(base + QStringLiteral(".diff.png"), "PNG");
    return ::testing::AssertionFailure()
           << d.Differing << " of " << total << " pixels differ from " << goldenPath.toStdString()
           << " (largest channel difference " << d.Worst << "); actual and difference map written to "
           << base.toStdString() << ".actual.png / .diff.png";
}

}  // namespace testsupport
