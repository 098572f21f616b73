#include "shell/ULanguage.h"

#include "shell/UComon.h"
#include "shell/ULanguageTexts.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringDecoder>
#include <map>

namespace shell {

QStringList List_Lang;
int Lang_Max_Index = 5100;

namespace {
constexpr qint64 kMaxLanguageFileBytes = 16 * 1024 * 1024;
const QChar kPilcrow(0x00B6);

// Decodes by byte-order mark; without one, UTF-8 when the bytes are valid UTF-8, else Windows-1252.
bool decodeLanguageBytes(const QByteArray& bytes, QString* text)
{
    auto decodeWith = [&](QStringConverter::Encoding enc, qsizetype skip) {
        QStringDecoder decoder(enc, QStringConverter::Flag::Stateless);
        *text = decoder.decode(QByteArrayView(bytes).sliced(skip));
        return !decoder.hasError();
    };
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return decodeWith(QStringConverter::Utf8, 3);
    if (bytes.startsWith("\xFF\xFE"))
        return bytes.size() % 2 == 0 && decodeWith(QStringConverter::Utf16LE, 2);
    if (bytes.startsWith("\xFE\xFF"))
        return bytes.size() % 2 == 0 && decodeWith(QStringConverter::Utf16BE, 2);
    if (decodeWith(QStringConverter::Utf8, 0))
        return true;
    QStringDecoder ansi("windows-1252");
    if (ansi.isValid()) {
        *text = ansi.decode(bytes);
        return true;
    }
    *text = QString::fromLatin1(bytes);
    return true;
}

// One "STRn = text" line; false when the line is not an entry.
bool parseEntry(const QString& rawLine, int* index, QString* value)
{
    const QString line = Trim_Blanks(rawLine);
    if (!line.startsWith(QLatin1String("STR")))
        return false;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    bool ok = false;
    const int n = Trim_Blanks(line.mid(3, eq - 3)).toInt(&ok, 10);
    if (!ok || n < 0 || n >= Lang_Max_Index)
        return false;
    QString text = Trim_Blanks(line.mid(eq + 1));
    if (text.isEmpty())
        return false;
    const qsizetype remark = text.indexOf(QLatin1String("/#/"));
    if (remark >= 0) {
        text = Trim_Blanks(text.left(remark));
        if (text.isEmpty())
            return false;
    }
    if (text.startsWith(kPilcrow))
        text.remove(0, 1);
    const qsizetype pil = text.indexOf(kPilcrow);
    if (pil >= 0)
        text.truncate(pil);
    *index = n;
    *value = text;
    return true;
}
}  // namespace

QString Trim_Blanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

QString Lang(int index)
{
    if (index < 0 || index >= List_Lang.size())
        return {};
    return List_Lang.at(index);
}

void Load_Default_Language()
{
    // The built-in texts are used in place, without a copy or a conversion each.
    static const QString blank = QStringLiteral(" ");
    QStringList table(Lang_Table_Size, blank);
    for (std::size_t i = 0; i < Builtin_Text_Count; ++i) {
        const BuiltinText& t = Builtin_Text_Entries[i];
        if (t.Index >= 0 && t.Index < Lang_Table_Size)
            table[t.Index] = QString::fromRawData(reinterpret_cast<const QChar*>(t.Text.data()), t.Text.size());
    }
    List_Lang = std::move(table);
    Lang_Max_Index = 5100;
}

bool Load_Language_File(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxLanguageFileBytes)
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    QString text;
    if (!decodeLanguageBytes(bytes, &text))
        return false;

    std::map<int, QString> entries;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        int index = 0;
        QString value;
        if (parseEntry(line, &index, &value))
            entries[index] = value;
    }
    if (List_Lang.size() < Lang_Table_Size)
        Load_Default_Language();
    for (const auto& [index, value] : entries)
        List_Lang[index] = value;
    return true;
}

QString Language_File(const QString& name)
{
    const bool plainName = !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
                           name != QLatin1String("..");
    if (!plainName)
        return {};
    const QString exact = App_State.Language_Folder + QLatin1Char('/') + name + QLatin1String(".lng");
    if (QFile::exists(exact))
        return exact;
    // Another letter case of the extension; names are compared as written, never as patterns.
    const QLatin1String extension(".lng");
    QString found;
    QDirIterator it(App_State.Language_Folder, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        const QString file = it.nextFileInfo().fileName();
        if (file.size() == name.size() + extension.size() && file.startsWith(name) &&
            file.endsWith(extension, Qt::CaseInsensitive) && (found.isEmpty() || file < found))
            found = file;
    }
    return found.isEmpty() ? QString() : App_State.Language_Folder + QLatin1Char('/') + found;
}

void Load_Language()
{
    Load_Default_Language();
    const QString chosen = Language_File(App_State.Language_Name);
    if (!chosen.isEmpty()) {
        Load_Language_File(chosen);
        return;
    }
    if (App_State.Language_Name == QLatin1String("English"))
        return;
    App_State.Language_Name = QStringLiteral("English");
    const QString english = Language_File(App_State.Language_Name);
    if (!english.isEmpty())
        Load_Language_File(english);
}

}  // namespace shell
