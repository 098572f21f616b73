#include "support/TempDir.h"

#include <QFile>

void TempDir::Write(const QString& name, const QByteArray& contents) const
{
    QFile f(File(name));
    if (f.open(QIODevice::WriteOnly))
        f.write(contents);
}

QByteArray TempDir::Read(const QString& name) const
{
    QFile f(File(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
