#include "controls/tree/ClipboardFormats.h"

#include <QHash>
#include <algorithm>
#include <mutex>

namespace tree {

const TTreeClass BaseNodeTreeClass{"TBaseNodeTree", nullptr};
const TTreeClass CustomNodeStringTreeClass{"TCustomNodeStringTree", &BaseNodeTreeClass};
const TTreeClass CustomNodeDrawTreeClass{"TCustomNodeDrawTree", &BaseNodeTreeClass};

TClipFormat ClipFormatTreeReference = 0, ClipFormatTreeData = 0, ClipFormatHtml = 0, ClipFormatRtfNoObjects = 0,
            ClipFormatRtf = 0, ClipFormatCsv = 0;

bool TTreeClass::InheritsFrom(const TTreeClass& other) const
{
    for (const TTreeClass* c = this; c; c = c->Parent)
        if (c == &other)
            return true;
    return false;
}

namespace {

const char* const StandardNames[17] = {
    "Plain text", "Windows bitmap", "Windows metafile", "Symbolic link", "Data interchange format", "Tiff image",
    "OEM text", "DIB image", "Palette data", "Pen data", "Riff audio data", "Wav audio data", "Unicode text",
    "Enhanced metafile image", "File name(s)", "Locale descriptor", "DIB image V5",
};

struct NameTable {
    QHash<QString, TClipFormat> Ids;  // by lower-case name
    QHash<TClipFormat, QString> Names;
    TClipFormat Next = 0xC000;
};
NameTable& Names()
{
    static NameTable table;
    return table;
}

std::vector<TClipboardFormatListEntry>& FormatRegistry()
{
    static std::vector<TClipboardFormatListEntry> list;
    return list;
}

}  // namespace

QString StandardFormatName(TClipFormat id)
{
    return id >= 1 && id <= 17 ? QString::fromLatin1(StandardNames[id - 1]) : QString();
}

TClipFormat RegisterClipboardFormat(const QString& name)
{
    NameTable& t = Names();
    const QString key = name.toLower();
    auto it = t.Ids.find(key);
    if (it != t.Ids.end())
        return it.value();
    if (name.isEmpty() || t.Next == 0xFFFF)
        return 0;
    const TClipFormat id = t.Next++;
    t.Ids.insert(key, id);
    t.Names.insert(id, name);
    return id;
}

QString ClipboardFormatName(TClipFormat id)
{
    if (id < 18)
        return StandardFormatName(id);
    return Names().Names.value(id);
}

void TClipboardFormatList::Add(const QString& formatString, const TTreeClass& treeClass, uint32_t priority,
                               const TFormatEtc& formatEtc)
{
    auto& list = FormatRegistry();
    list.push_back({formatString, &treeClass, priority, formatEtc});
    std::stable_sort(list.begin(), list.end(),
                     [](const auto& a, const auto& b) { return a.Priority < b.Priority; });
}

void TClipboardFormatList::Clear() { FormatRegistry().clear(); }

const std::vector<TClipboardFormatListEntry>& TClipboardFormatList::Entries() { return FormatRegistry(); }

std::vector<TFormatEtc> TClipboardFormatList::EnumerateFormats(const TTreeClass& treeClass, const QStringList* allowed)
{
    std::vector<TFormatEtc> result;
    for (const auto& e : FormatRegistry())
        if (treeClass.InheritsFrom(*e.TreeClass) &&
            (!allowed || allowed->contains(e.Description, Qt::CaseInsensitive)))
            result.push_back(e.FormatEtc);
    return result;
}

QStringList TClipboardFormatList::EnumerateFormatNames(const TTreeClass& treeClass)
{
    QStringList result;
    for (const auto& e : FormatRegistry())
        if (treeClass.InheritsFrom(*e.TreeClass))
            result.append(e.Description);
    return result;
}

const TClipboardFormatListEntry* TClipboardFormatList::FindFormat(const QString& formatString)
{
    const auto& list = FormatRegistry();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (it->Description.compare(formatString, Qt::CaseInsensitive) == 0)
            return &*it;
    return nullptr;
}

const TTreeClass* TClipboardFormatList::FindFormat(const QString& formatString, TClipFormat& fmt)
{
    const TClipboardFormatListEntry* e = FindFormat(formatString);
    if (!e)
        return nullptr;
    fmt = e->FormatEtc.cfFormat;
    return e->TreeClass;
}

const TTreeClass* TClipboardFormatList::FindFormat(TClipFormat fmt, QString& description)
{
    const auto& list = FormatRegistry();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (it->FormatEtc.cfFormat == fmt) {
            description = it->Description;
            return it->TreeClass;
        }
    return nullptr;
}

TClipFormat RegisterTreeClipboardFormat(const QString& description, const TTreeClass& treeClass, uint32_t priority)
{
    TFormatEtc etc;
    etc.cfFormat = RegisterClipboardFormat(description);
    TClipboardFormatList::Add(description, treeClass, priority, etc);
    return etc.cfFormat;
}

void RegisterTreeClipboardFormat(TClipFormat formatId, const TTreeClass& treeClass, uint32_t priority)
{
    const QString name = ClipboardFormatName(formatId);
    if (name.isEmpty())
        return;
    TFormatEtc etc;
    etc.cfFormat = formatId;
    TClipboardFormatList::Add(name, treeClass, priority, etc);
}

void RegisterStandardTreeFormats()
{
    static std::once_flag once;
    std::call_once(once, [] {
        ClipFormatTreeReference = RegisterClipboardFormat(QStringLiteral("Node Tree Reference"));
        ClipFormatTreeData = RegisterTreeClipboardFormat(QStringLiteral("Node Tree Data"), BaseNodeTreeClass, 50);
        ClipFormatHtml = RegisterTreeClipboardFormat(QStringLiteral("HTML Format"), CustomNodeStringTreeClass, 80);
        ClipFormatRtfNoObjects = RegisterTreeClipboardFormat(QStringLiteral("Rich Text Format Without Objects"),
                                                             CustomNodeStringTreeClass, 84);
        ClipFormatRtf = RegisterTreeClipboardFormat(QStringLiteral("Rich Text Format"), CustomNodeStringTreeClass, 85);
        ClipFormatCsv = RegisterTreeClipboardFormat(QStringLiteral("CSV"), CustomNodeStringTreeClass, 90);
        RegisterTreeClipboardFormat(TClipFormat(13), CustomNodeStringTreeClass, 95);
        RegisterTreeClipboardFormat(TClipFormat(1), CustomNodeStringTreeClass, 100);
    });
}

bool TClipboardFormats::Allowed(const QString& s) const
{
    const TClipboardFormatListEntry* e = TClipboardFormatList::FindFormat(s);
    return e && FOwnerClass->InheritsFrom(*e->TreeClass);
}

bool TClipboardFormats::Contains(const QString& s) const { return FItems.contains(s, Qt::CaseInsensitive); }

int TClipboardFormats::Add(const QString& s)
{
    if (!Allowed(s))
        return -1;
    auto pos = std::lower_bound(FItems.begin(), FItems.end(), s, [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    const int index = int(pos - FItems.begin());
    if (pos != FItems.end() && pos->compare(s, Qt::CaseInsensitive) == 0)
        return index;  // duplicates are ignored
    FItems.insert(index, s);
    return index;
}

int TClipboardFormats::Insert(int, const QString& s)
{
    // A sorted list places the name by its order, whatever index is asked for.
    return Add(s);
}

void TClipboardFormats::Assign(const QStringList& names)
{
    FItems.clear();
    for (const QString& s : names)
        Add(s);
}

}  // namespace tree
