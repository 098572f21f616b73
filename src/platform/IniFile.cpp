#include "platform/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/Exception.h"
#include "platform/FileUtil.h"

namespace platform {

namespace {

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString OneLine(QString text)
{
    text.replace(QChar(13), QChar(' '));
    text.replace(QChar(10), QChar(' '));
    return text;
}

}  // namespace

TIniFile::TIniFile(QString fileName) : FFileName(std::move(fileName))
{
    if (!QFileInfo::exists(FFileName))
        return;
    const QByteArray bytes = ReadWholeFile(FFileName, MaxFileBytes);
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const auto refuse = [this](const QString& why) {
        throw Exception(QStringLiteral("The settings file %1 is damaged: %2").arg(FFileName, why));
    };
    TSection* current = nullptr;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QChar(10), start);
        if (end < 0)
            end = text.size();
        if (end - start > MaxLineChars)
            refuse(QStringLiteral("a line is too long"));
        QString line = text.mid(start, end - start);
        start = end + 1;
        if (line.endsWith(QChar(13)))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QChar(';')))
            continue;
        if (trimmed.startsWith(QChar('[')) && trimmed.endsWith(QChar(']'))) {
            const QString name = trimmed.mid(1, trimmed.size() - 2).trimmed();
            current = const_cast<TSection*>(Find(name));
            if (!current) {
                FSections.push_back({name, {}});
                current = &FSections.back();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(QChar('='));
        if (eq <= 0 || !current)
            continue;  // a line of no section or without a name is no value
        const QString key = line.left(eq).trimmed();
        if (key.isEmpty())
            continue;
        if (++FEntryCount > MaxEntries)
            refuse(QStringLiteral("too many values"));
        bool replaced = false;
        for (TEntry& e : current->Entries)
            if (SameName(e.Key, key)) {
                e.Value = line.mid(eq + 1);
                replaced = true;
            }
        if (!replaced)
            current->Entries.push_back({key, line.mid(eq + 1)});
    }
}

const TIniFile::TSection* TIniFile::Find(const QString& section) const
{
    for (const TSection& s : FSections)
        if (SameName(s.Name, section))
            return &s;
    return nullptr;
}

const TIniFile::TEntry* TIniFile::Find(const QString& section, const QString& key) const
{
    if (const TSection* s = Find(section))
        for (const TEntry& e : s->Entries)
            if (SameName(e.Key, key))
                return &e;
    return nullptr;
}

bool TIniFile::SectionExists(const QString& section) const { return Find(section) != nullptr; }

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    return Find(section, key) != nullptr;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const TEntry* e = Find(section, key);
    return e ? e->Value : def;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    const TEntry* e = Find(section, key);
    if (!e)
        return def;
    bool ok = false;
    const int v = e->Value.toInt(&ok, 10);
    return ok && !e->Value.isEmpty() && !e->Value.front().isSpace() && !e->Value.back().isSpace() ? v : def;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    auto* s = const_cast<TSection*>(Find(section));
    if (!s) {
        FSections.push_back({OneLine(section), {}});
        s = &FSections.back();
    }
    for (TEntry& e : s->Entries)
        if (SameName(e.Key, key)) {
            e.Value = OneLine(value);
            return;
        }
    s->Entries.push_back({OneLine(key), OneLine(value)});
    ++FEntryCount;
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

QStringList TIniFile::ReadSection(const QString& section) const
{
    QStringList keys;
    if (const TSection* s = Find(section))
        for (const TEntry& e : s->Entries)
            keys << e.Key;
    return keys;
}

void TIniFile::EraseSection(const QString& section)
{
    std::erase_if(FSections, [&](const TSection& s) { return SameName(s.Name, section); });
}

void TIniFile::UpdateFile() const
{
    QString text;
    for (const TSection& s : FSections) {
        text += QChar('[') + s.Name + QStringLiteral("]\r\n");
        for (const TEntry& e : s.Entries)
            text += e.Key + QChar('=') + e.Value + QStringLiteral("\r\n");
        text += QStringLiteral("\r\n");
    }
    const QFileInfo info(FFileName);
    if (!info.absoluteDir().exists() && !QDir().mkpath(info.absolutePath()))
        throw Exception(QStringLiteral("Cannot create the folder of %1").arg(FFileName));
    WriteFileAtomic(FFileName, text.toUtf8());
}

QString RegistryIniPath(const QString& key)
{
    QString name;
    for (const QChar ch : key)
        name += (ch.isLetterOrNumber() && ch.unicode() < 128) || ch == '.' || ch == '-' || ch == '_' ? ch : QChar('_');
    if (name.isEmpty() || name.startsWith(QChar('.')))
        name.prepend(QChar('_'));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return JoinPath(JoinPath(folder, QStringLiteral("registry")), name + QStringLiteral(".ini"));
}

}  // namespace platform
