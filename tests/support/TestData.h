#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>

// The bytes of a file in the test program's data folder; empty when it cannot be read.
inline QByteArray ReadTestData(const char* name)
{
    QFile f(QStringLiteral(TEST_DATA_DIR "/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
