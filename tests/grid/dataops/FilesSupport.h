#pragma once
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"

namespace grid::dataops {

// Compares bytes with a golden file of the test data; with CONF_UPDATE_GOLDEN=1 in the environment
// the file is written instead.
inline ::testing::AssertionResult MatchesGoldenFile(const QByteArray& actual, const char* name)
{
    const QString path = QStringLiteral(TEST_DATA_DIR "/golden/") + QLatin1String(name);
    if (qEnvironmentVariableIntValue("CONF_UPDATE_GOLDEN") == 1) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(actual) != actual.size())
            return ::testing::AssertionFailure() << "cannot write " << path.toStdString();
        return ::testing::AssertionSuccess();
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return ::testing::AssertionFailure() << "no golden file " << path.toStdString();
    const QByteArray golden = f.readAll();
    if (golden == actual)
        return ::testing::AssertionSuccess();
    qsizetype at = 0;
    while (at < golden.size() && at < actual.size() && golden[at] == actual[at])
        ++at;
    return ::testing::AssertionFailure() << name << " differs from byte " << at << ": golden "
                                         << golden.mid(at, 40).toStdString() << " | actual "
                                         << actual.mid(at, 40).toStdString();
}

// Runs a python3 script over the input; its standard output, or a failure with its errors.
inline ::testing::AssertionResult RunPython(const char* script, const QByteArray& input, QByteArray& out)
{
    QProcess p;
    p.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromUtf8(script)});
    if (!p.waitForStarted(10000))
        return ::testing::AssertionFailure() << "python3 did not start";
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(30000))
        return ::testing::AssertionFailure() << "python3 did not finish";
    out = p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return ::testing::AssertionFailure() << "python3 failed: " << p.readAllStandardError().toStdString();
    return ::testing::AssertionSuccess();
}

// What a reader may change in a grid: sizes, texts, cell properties and graphics.
inline QString GridSnapshot(TExtStringGrid& g)
{
    QString s = QStringLiteral("%1x%2|").arg(g.ColCount()).arg(g.RowCount());
    for (int c = 0; c < g.ColCount(); ++c)
        s += QString::number(g.ColWidths(c)) + QLatin1Char(',');
    for (int r = 0; r < g.RowCount(); ++r) {
        s += QString::number(g.RowHeights(r)) + QLatin1Char(':');
        for (int c = 0; c < g.ColCount(); ++c) {
            s += g.Cells(c, r) + QChar(0x1f);
            if (const TCellProperties* p = g.CellProps(c, r)) {
                s += QStringLiteral("P%1/%2/%3").arg(p->BrushColor()).arg(p->FontStyle).arg(p->FontName);
                if (p->Graphic)
                    s += QStringLiteral("G%1/%2").arg(int(p->Graphic->CellType)).arg(p->Graphic->CellText);
            }
        }
        s += QLatin1Char('\n');
    }
    return s;
}

}  // namespace grid::dataops
