#include "controls/tree/TreeDataObject.h"

#include "controls/tree/NodeTrees.h"
#include "platform/Exception.h"

#include <QCoreApplication>
#include <QMutex>
#include <QRandomGenerator>
#include <QtEndian>
#include <map>

namespace tree {

// ---- format enumerator ----

HResult TEnumFormatEtc::Next(uint32_t celt, TFormatEtc* elt, uint32_t* fetched)
{
    const size_t count = std::min<size_t>(celt, FFormatEtcArray.size() - FCurrentIndex);
    for (size_t i = 0; i < count; ++i)
        elt[i] = FFormatEtcArray[FCurrentIndex + i];
    FCurrentIndex += count;
    if (fetched)
        *fetched = uint32_t(count);
    return count == celt ? S_OK : S_FALSE;
}

HResult TEnumFormatEtc::Skip(uint32_t celt)
{
    if (FCurrentIndex + celt > FFormatEtcArray.size())
        return S_FALSE;
    FCurrentIndex += celt;
    return S_OK;
}

HResult TEnumFormatEtc::Reset()
{
    FCurrentIndex = 0;
    return S_OK;
}

HResult TEnumFormatEtc::Clone(std::unique_ptr<TEnumFormatEtc>& out) const
{
    out = std::make_unique<TEnumFormatEtc>(FTree, FFormatEtcArray);
    out->FCurrentIndex = FCurrentIndex;
    return S_OK;
}

// ---- tree references ----

namespace {

struct TreeRegistry {
    QMutex Lock;
    std::map<uint32_t, QPointer<TBaseNodeTree>> Trees;
    uint32_t Next = 1;
};

TreeRegistry& Registry()
{
    static TreeRegistry registry;
    return registry;
}

bool SameDescriptor(const TFormatEtc& a, const TFormatEtc& b)
{
    return a.cfFormat == b.cfFormat && a.ptd == b.ptd && a.dwAspect == b.dwAspect && a.lindex == b.lindex &&
           (a.tymed & b.tymed) != 0;
}

}  // namespace

uint32_t CurrentProcessId() { return uint32_t(QCoreApplication::applicationPid()); }

const QByteArray& ProcessToken()
{
    // Random per run: a reference whose token matches was written by this process, not guessed.
    static const QByteArray token = [] {
        QByteArray t(TreeReferenceTokenSize, '\0');
        QRandomGenerator::system()->generate(reinterpret_cast<quint32*>(t.data()),
                                             reinterpret_cast<quint32*>(t.data() + t.size()));
        return t;
    }();
    return token;
}

QByteArray TreeReferenceBytes(TBaseNodeTree* tree)
{
    QByteArray bytes(8, '\0');
    qToLittleEndian<uint32_t>(CurrentProcessId(), bytes.data());
    qToLittleEndian<uint32_t>(TreeReferenceOf(tree), bytes.data() + 4);
    return bytes + ProcessToken();
}

TBaseNodeTree* TreeFromReferenceBytes(const QByteArray& bytes)
{
    if (bytes.size() != 8 + TreeReferenceTokenSize)
        return nullptr;
    if (qFromLittleEndian<uint32_t>(bytes.constData()) != CurrentProcessId())
        return nullptr;
    // Every byte is compared, however early a difference shows.
    const QByteArray& token = ProcessToken();
    unsigned char difference = 0;
    for (int i = 0; i < TreeReferenceTokenSize; ++i)
        difference |= uchar(bytes[8 + i]) ^ uchar(token[i]);
    if (difference != 0)
        return nullptr;
    // Only a tree that is alive now is taken, never an address out of the data.
    return TreeFromReference(qFromLittleEndian<uint32_t>(bytes.constData() + 4));
}

uint32_t TreeReferenceOf(TBaseNodeTree* tree)
{
    TreeRegistry& r = Registry();
    QMutexLocker lock(&r.Lock);
    for (auto it = r.Trees.begin(); it != r.Trees.end();) {
        if (it->second.isNull())
            it = r.Trees.erase(it);
        else if (it->second.data() == tree)
            return it->first;
        else
            ++it;
    }
    // References are never reused, so a stale one cannot name a newer tree.
    const uint32_t id = r.Next++;
    r.Trees.emplace(id, QPointer<TBaseNodeTree>(tree));
    return id;
}

TBaseNodeTree* TreeFromReference(uint32_t reference)
{
    TreeRegistry& r = Registry();
    QMutexLocker lock(&r.Lock);
    auto it = r.Trees.find(reference);
    return it == r.Trees.end() ? nullptr : it->second.data();
}

void TOLEMemoryStream::Write(const void*, size_t)
{
    throw platform::Exception(QStringLiteral("Can't write to a read-only resource stream"));
}

// ---- data object ----

TTVDataObject::TTVDataObject(TBaseNodeTree* owner, bool forClipboard) : FOwner(owner), FForClipboard(forClipboard)
{
    if (owner)
        FFormatEtcArray = owner->GetNativeClipboardFormats();
}

TTVDataObject::~TTVDataObject()
{
    if (FForClipboard && FOwner && !FOwner->HasState(tsClipboardFlushing))
        FOwner->CancelCutOrCopy();
}

int TTVDataObject::FindFormatEtc(const TFormatEtc& formatEtc) const
{
    for (size_t i = 0; i < FFormatEtcArray.size(); ++i)
        if (SameDescriptor(FFormatEtcArray[i], formatEtc))
            return int(i);
    return -1;
}

TTVDataObject::TInternalStgMedium* TTVDataObject::FindInternalStgMedium(TClipFormat format)
{
    for (TInternalStgMedium& m : FInternalStgMediumArray)
        if (m.Format == format)
            return &m;
    return nullptr;
}

HResult TTVDataObject::QueryGetData(const TFormatEtc& formatEtc)
{
    HResult result = DV_E_FORMATETC;
    for (const TFormatEtc& f : FFormatEtcArray) {
        if (f.cfFormat != formatEtc.cfFormat)
            continue;
        if (!(f.tymed & formatEtc.tymed))
            result = DV_E_TYMED;
        else if (f.dwAspect != formatEtc.dwAspect)
            result = DV_E_DVASPECT;
        else if (f.lindex != formatEtc.lindex)
            result = DV_E_LINDEX;
        else
            return S_OK;
    }
    return result;
}

HResult TTVDataObject::GetData(const TFormatEtc& formatEtc, TStgMedium& medium)
{
    medium = TStgMedium();
    if (formatEtc.cfFormat == ClipFormatTreeReference) {
        if (!FOwner || FOwner->HasState(tsClipboardFlushing))
            return E_FAIL;
        medium.tymed = TYMED_HGLOBAL;
        medium.data = TreeReferenceBytes(FOwner.data());
        return S_OK;
    }
    HResult result = QueryGetData(formatEtc);
    if (result != S_OK)
        return result;
    try {
        if (TInternalStgMedium* stored = FindInternalStgMedium(formatEtc.cfFormat);
            stored && stored->Medium.tymed != TYMED_NULL) {
            medium = stored->Medium;
            return S_OK;
        }
        // The tree is gone: nothing renders its formats any more.
        if (!FOwner)
            return E_FAIL;
        const TFormatEtc& offered = FFormatEtcArray[size_t(FindFormatEtc(formatEtc))];
        TFormatEtc request = offered;
        request.tymed = offered.tymed & formatEtc.tymed;
        result = FOwner->RenderOLEData(request, medium, FForClipboard);
        if (result != S_OK)
            medium = TStgMedium();
        return result;
    } catch (...) {
        medium = TStgMedium();
        return E_FAIL;
    }
}

HResult TTVDataObject::SetData(const TFormatEtc& formatEtc, TStgMedium& medium, bool release)
{
    TInternalStgMedium* stored = nullptr;
    if (FindFormatEtc(formatEtc) < 0) {
        FFormatEtcArray.push_back(formatEtc);
        FInternalStgMediumArray.push_back({formatEtc.cfFormat, TStgMedium()});
        stored = &FInternalStgMediumArray.back();
    } else {
        stored = FindInternalStgMedium(formatEtc.cfFormat);
        if (!stored) {
            FInternalStgMediumArray.push_back({formatEtc.cfFormat, TStgMedium()});
            stored = &FInternalStgMediumArray.back();
        } else
            stored->Medium = TStgMedium();
    }
    switch (medium.tymed) {
    case TYMED_HGLOBAL:
    case TYMED_ISTREAM:
    case TYMED_FILE: stored->Medium = medium; break;
    default: return DV_E_TYMED;
    }
    if (release)
        medium = TStgMedium();
    for (auto& [id, sink] : FAdviseSinks)
        if (sink)
            sink();
    return S_OK;
}

HResult TTVDataObject::EnumFormatEtc(uint32_t direction, std::unique_ptr<TEnumFormatEtc>& out)
{
    out.reset();
    if (direction != DATADIR_GET)
        return OLE_S_USEREG;
    out = std::make_unique<TEnumFormatEtc>(FOwner.data(), FFormatEtcArray);
    return S_OK;
}

uint32_t TTVDataObject::DAdvise(std::function<void()> sink)
{
    FAdviseSinks.emplace_back(FNextConnection, std::move(sink));
    return FNextConnection++;
}

HResult TTVDataObject::DUnadvise(uint32_t connection)
{
    if (FAdviseSinks.empty())
        return E_NOTIMPL;
    std::erase_if(FAdviseSinks, [&](const auto& s) { return s.first == connection; });
    return S_OK;
}

// ---- MIME transport ----

namespace {
const QString MimePrefix = QStringLiteral("application/x-tree-format;name=");
constexpr TClipFormat UnicodeTextFormat = 13;
}

QString MimeTypeOfFormat(TClipFormat format)
{
    const QString name = ClipboardFormatName(format);
    return name.isEmpty() ? QString() : MimePrefix + name;
}

TClipFormat FormatOfMimeType(const QString& mimeType)
{
    if (!mimeType.startsWith(MimePrefix))
        return 0;
    const QString name = mimeType.mid(MimePrefix.size());
    if (name.isEmpty())
        return 0;
    // Standard formats keep their fixed ids.
    for (TClipFormat id = 1; id < 18; ++id)
        if (StandardFormatName(id) == name)
            return id;
    return RegisterClipboardFormat(name);
}

QStringList TTreeMimeData::formats() const
{
    QStringList result;
    std::unique_ptr<TEnumFormatEtc> e;
    if (FDataObject->EnumFormatEtc(DATADIR_GET, e) != S_OK || !e)
        return result;
    TFormatEtc f;
    while (e->Next(1, &f, nullptr) == S_OK)
        if (const QString mime = MimeTypeOfFormat(f.cfFormat); !mime.isEmpty() && !result.contains(mime))
            result << mime;
    // The reference is answered on request only; it is listed so that other parties may ask.
    if (ClipFormatTreeReference)
        result << MimeTypeOfFormat(ClipFormatTreeReference);
    // Other programs read text as text/plain.
    if (result.contains(MimeTypeOfFormat(UnicodeTextFormat)))
        result << QStringLiteral("text/plain");
    return result;
}

bool TTreeMimeData::hasFormat(const QString& mimeType) const { return formats().contains(mimeType); }

QVariant TTreeMimeData::retrieveData(const QString& mimeType, QMetaType type) const
{
    if (mimeType == QLatin1String("text/plain")) {
        const QVariant v = retrieveData(MimeTypeOfFormat(UnicodeTextFormat), type);
        if (!v.isValid())
            return {};
        // UTF-16 with its terminator.
        const QByteArray b = v.toByteArray();
        QString text(reinterpret_cast<const QChar*>(b.constData()), b.size() / 2);
        if (text.endsWith(QChar(0)))
            text.chop(1);
        return text;
    }
    const TClipFormat format = FormatOfMimeType(mimeType);
    if (!format)
        return {};
    TFormatEtc request;
    request.cfFormat = format;
    request.tymed = TYMED_HGLOBAL;
    TStgMedium medium;
    if (FDataObject->GetData(request, medium) != S_OK)
        return {};
    return medium.data;
}

QMimeData* TTreeMimeData::RenderAll() const
{
    auto* copy = new QMimeData;
    for (const QString& mime : formats())
        if (const QVariant v = retrieveData(mime, QMetaType::fromType<QByteArray>()); v.isValid())
            copy->setData(mime, v.toByteArray());
    return copy;
}

namespace {

// Data from anywhere else: each of our MIME types is a global memory block of its format.
class TMimeView : public IDataObject {
public:
    explicit TMimeView(const QMimeData* mime) : FMime(mime) {}
    HResult GetData(const TFormatEtc& formatEtc, TStgMedium& medium) override
    {
        medium = TStgMedium();
        const HResult r = QueryGetData(formatEtc);
        if (r != S_OK)
            return r;
        medium.tymed = TYMED_HGLOBAL;
        medium.data = FMime->data(MimeTypeOfFormat(formatEtc.cfFormat));
        return S_OK;
    }
    HResult QueryGetData(const TFormatEtc& formatEtc) override
    {
        if (!FMime || !FMime->hasFormat(MimeTypeOfFormat(formatEtc.cfFormat)))
            return DV_E_FORMATETC;
        return (formatEtc.tymed & TYMED_HGLOBAL) ? S_OK : DV_E_TYMED;
    }
    HResult SetData(const TFormatEtc&, TStgMedium&, bool) override { return E_NOTIMPL; }
    HResult EnumFormatEtc(uint32_t direction, std::unique_ptr<TEnumFormatEtc>& out) override
    {
        out.reset();
        if (direction != DATADIR_GET)
            return OLE_S_USEREG;
        std::vector<TFormatEtc> list;
        for (const QString& mime : FMime ? FMime->formats() : QStringList())
            if (const TClipFormat f = FormatOfMimeType(mime)) {
                TFormatEtc e;
                e.cfFormat = f;
                list.push_back(e);
            }
        out = std::make_unique<TEnumFormatEtc>(nullptr, std::move(list));
        return S_OK;
    }

private:
    const QMimeData* FMime;
};

}  // namespace

TDataObjectPtr DataObjectFromMime(const QMimeData* mime)
{
    if (!mime)
        return nullptr;
    if (const auto* ours = qobject_cast<const TTreeMimeData*>(mime))
        return ours->DataObject();
    return std::make_shared<TMimeView>(mime);
}

}  // namespace tree
