#include "shell/UParGenFile.h"

#include "platform/FileUtil.h"
#include "platform/XmlDoc.h"
#include "shell/UTextChecks.h"

#include <algorithm>
#include <iterator>

namespace shell {

namespace {

// The format version of the file; it is written, never read back.
const QString kVersionComment = QStringLiteral("SW_VERSION = 1.006");
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

constexpr TParGenElement kRows[] = {
#define SHELL_PARGEN_ROW(name, encoding, def) {#name, TParGenEncoding::encoding, def},
    SHELL_PARGEN_ELEMENTS(SHELL_PARGEN_ROW)
#undef SHELL_PARGEN_ROW
};
static_assert(std::size(kRows) == ParGen_Element_Count);

const std::array<TParGenElement, ParGen_Element_Count> kElements = std::to_array(kRows);

}  // namespace

const std::array<TParGenElement, ParGen_Element_Count>& ParGen_Elements() { return kElements; }

int ParGen_Element_Index(QStringView name)
{
    for (int i = 0; i < ParGen_Element_Count; ++i)
        if (name == QLatin1String(kElements[size_t(i)].Name))
            return i;
    return -1;
}

int ParGen_Element_Index(std::string_view name)
{
    for (int i = 0; i < ParGen_Element_Count; ++i)
        if (name == kElements[size_t(i)].Name)
            return i;
    return -1;
}

QString ParGen_Default(int element, bool fileMissing)
{
    if (element < 0 || element >= ParGen_Element_Count)
        return {};
    if (fileMissing && TParGen_Id(element) == TParGen_Id::MQTT_ASync_Send_Time)
        return QStringLiteral("10");
    return QString::fromLatin1(kElements[size_t(element)].Default);
}

bool Decode_Check(const QString& text) { return text == QLatin1String("1"); }

bool Decode_Check_Number(const QString& text) { return Parse_Int32(text).value_or(0) == 1; }

int Decode_Index(const QString& text, int itemCount, int def)
{
    const int v = Parse_Int32(text).value_or(-1);
    return v >= 0 && v < itemCount ? v : def;
}

int Decode_Item_Text(const QString& text, const QStringList& items)
{
    for (int i = 0; i < items.size(); ++i)
        if (items[i].compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return 0;
}

QByteArray ParGen_Build(const std::vector<QString>& values)
{
    platform::XmlDocument doc;
    platform::XmlNode root = doc.AddRoot(ParGen_Root);
    doc.AddComment(kVersionComment);
    for (size_t i = 0; i < kElements.size(); ++i)
        root.AddChild(QLatin1String(kElements[i].Name)).SetText(i < values.size() ? values[i] : QString());
    // A reader turns a bare carriage return into a line feed: write it as a reference so that
    // every text reads back as it was typed. The layout itself holds no carriage return.
    QByteArray bytes = doc.SaveToBytes();
    bytes.replace('\r', "&#13;");
    return bytes;
}

TParGenViews ParGen_Find(const platform::XmlNode& root)
{
    TParGenViews texts;
    // Files keep the writer's order, so the element after the last one found nearly always matches.
    int expected = 0;
    for (const platform::XmlNode& child : root.ChildNodes()) {
        const std::string_view name = child.NameUtf8();
        int k = expected < ParGen_Element_Count && name == kElements[size_t(expected)].Name
                    ? expected
                    : ParGen_Element_Index(name);
        if (k < 0)
            continue;
        if (!texts[size_t(k)])
            texts[size_t(k)] = child.TextUtf8();
        expected = k + 1;
    }
    return texts;
}

TParGenTexts ParGen_Parse(const QByteArray& bytes, const QString& nameForMessages)
{
    platform::XmlDocument doc;
    doc.LoadFromBytes(bytes, nameForMessages);
    const TParGenViews views = ParGen_Find(doc.DocumentElement());
    TParGenTexts texts(ParGen_Element_Count);
    for (size_t i = 0; i < views.size(); ++i)
        if (views[i])
            texts[i] = QString::fromUtf8(views[i]->data(), qsizetype(views[i]->size()));
    return texts;
}

TParGenTexts ParGen_Read_File(const QString& path)
{
    return ParGen_Parse(platform::ReadWholeFile(path, kMaxFileBytes), path);
}

void ParGen_Write_File(const QString& path, const std::vector<QString>& values)
{
    platform::WriteFileAtomic(path, ParGen_Build(values));
}

QString GSM_Auth_Type_Code(const QString& authType)
{
    if (authType.compare(QLatin1String("PAP"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("1");
    if (authType.compare(QLatin1String("CHAP"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("2");
    if (authType.compare(QLatin1String("PAP OR CHAP"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("3");
    return QStringLiteral("0");
}

QString Modem_Text(const QString& pin, const QString& apn, const QString& authType, const QString& userName,
                   const QString& password)
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("PIN=") + pin + crlf + QStringLiteral("APN=") + apn + crlf + QStringLiteral("AUTHTYPE=") +
           GSM_Auth_Type_Code(authType) + crlf + QStringLiteral("USERNAME=") + userName + crlf +
           QStringLiteral("PASSWORD=") + password + crlf;
}

}  // namespace shell
