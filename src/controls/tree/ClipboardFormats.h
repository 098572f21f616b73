#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// The process-wide registry of the clipboard and drag formats that trees offer, and each tree's
// own list of wanted format names.
namespace tree {

class TBaseNodeTree;

// A tree class for the registry's "this class or a descendant" rule.
struct TTreeClass {
    const char* Name;
    const TTreeClass* Parent;
    bool InheritsFrom(const TTreeClass& other) const;
};
extern const TTreeClass BaseNodeTreeClass;
extern const TTreeClass CustomNodeStringTreeClass;
extern const TTreeClass CustomNodeDrawTreeClass;

using TClipFormat = uint16_t;

// Format descriptor: id, no target device, content aspect, index -1, global memory.
struct TFormatEtc {
    TClipFormat cfFormat = 0;
    void* ptd = nullptr;
    uint32_t dwAspect = 1;
    int32_t lindex = -1;
    uint32_t tymed = 1;
    bool operator==(const TFormatEtc&) const = default;
};

struct TClipboardFormatListEntry {
    QString Description;
    const TTreeClass* TreeClass;
    uint32_t Priority;
    TFormatEtc FormatEtc;
};

// Names to ids, stable for the program's run; standard ids 1 to 17 have fixed names.
TClipFormat RegisterClipboardFormat(const QString& name);
QString ClipboardFormatName(TClipFormat id);
// The standard name of ids 1 to 17, empty otherwise.
QString StandardFormatName(TClipFormat id);

class TClipboardFormatList {
public:
    static void Add(const QString& formatString, const TTreeClass& treeClass, uint32_t priority, const TFormatEtc& formatEtc);
    static void Clear();
    // Descriptors usable by the class, in priority order; with allowed names only those listed.
    static std::vector<TFormatEtc> EnumerateFormats(const TTreeClass& treeClass, const QStringList* allowed = nullptr);
    // Names usable by the class, in priority order.
    static QStringList EnumerateFormatNames(const TTreeClass& treeClass);
    static const TClipboardFormatListEntry* FindFormat(const QString& formatString);
    static const TTreeClass* FindFormat(const QString& formatString, TClipFormat& fmt);
    static const TTreeClass* FindFormat(TClipFormat fmt, QString& description);
    static const std::vector<TClipboardFormatListEntry>& Entries();
};

// Registers a named format and adds it to the registry; returns its id.
TClipFormat RegisterTreeClipboardFormat(const QString& description, const TTreeClass& treeClass, uint32_t priority);
// Adds a format that already has an id; ids below 18 need a standard name.
void RegisterTreeClipboardFormat(TClipFormat formatId, const TTreeClass& treeClass, uint32_t priority);

// The tree's standard formats, registered once per process.
extern TClipFormat ClipFormatTreeReference, ClipFormatTreeData, ClipFormatHtml, ClipFormatRtfNoObjects,
    ClipFormatRtf, ClipFormatCsv;
void RegisterStandardTreeFormats();

// A tree's list of wanted format names: sorted, without duplicates, only names its class may offer.
class TClipboardFormats {
public:
    explicit TClipboardFormats(const TTreeClass& ownerClass) : FOwnerClass(&ownerClass) {}

    int Add(const QString& s);
    int Insert(int index, const QString& s);
    void Clear() { FItems.clear(); }
    // Clears the list and adds each name of the given one.
    void Assign(const QStringList& names);
    int Count() const { return int(FItems.size()); }
    const QStringList& Items() const { return FItems; }
    bool Contains(const QString& s) const;

private:
    bool Allowed(const QString& s) const;
    const TTreeClass* FOwnerClass;
    QStringList FItems;
};

}  // namespace tree
