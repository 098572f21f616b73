#pragma once
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh folder for one test, removed afterwards.
class TempDir {
public:
    QString Path() const { return Dir.path(); }
    QString File(const QString& name) const { return Dir.filePath(name); }
    void Write(const QString& name, const QByteArray& contents) const;
    QByteArray Read(const QString& name) const;

private:
    QTemporaryDir Dir;
};
