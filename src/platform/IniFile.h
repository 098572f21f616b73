#pragma once
#include <QString>
#include <QStringList>
#include <vector>

namespace platform {

// An INI file kept in memory and written back whole by UpdateFile: "[Section]" lines and
// "Key=Value" lines, section and key names matched without regard to letter case, values kept as
// they stand (no quoting, no escapes). Reading is bounded: a file larger than MaxFileBytes, a line
// longer than MaxLineChars or more than MaxEntries values is refused with an Exception naming the
// file, before anything was read from it. A missing file reads as empty.
class TIniFile {
public:
    static constexpr qint64 MaxFileBytes = 1024 * 1024;
    static constexpr int MaxLineChars = 65536;
    static constexpr int MaxEntries = 20000;

    explicit TIniFile(QString fileName);
    const QString& FileName() const { return FFileName; }

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // A value that is not a decimal integer (optional sign, no blanks) reads as def.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // Line breaks in a value would end its line early: each CR or LF is written as a blank.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    QStringList ReadSection(const QString& section) const;
    void EraseSection(const QString& section);
    // Writes the file whole beside its target and renames it over it; throws on failure.
    void UpdateFile() const;

private:
    struct TEntry {
        QString Key, Value;
    };
    struct TSection {
        QString Name;
        std::vector<TEntry> Entries;
    };
    const TSection* Find(const QString& section) const;
    const TEntry* Find(const QString& section, const QString& key) const;
    QString FFileName;
    std::vector<TSection> FSections;
    int FEntryCount = 0;
};

// Where the INI-style registry access keeps a key path: a file in the user's configuration folder
// named after the key (characters other than letters, digits, '.', '-' and '_' become '_'), so
// that a key never names a place outside that folder.
QString RegistryIniPath(const QString& key);

}  // namespace platform
