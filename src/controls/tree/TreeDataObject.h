#pragma once
#include "controls/tree/ClipboardFormats.h"
#include "controls/tree/NodeTreeTypes.h"

#include <QByteArray>
#include <QMimeData>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

// The data side of clipboard and drag transfers: a data object that offers formats and renders
// them on request, its format enumerator, the MIME wrapper that carries it through QClipboard and
// QDrag, and the tree's drag manager that receives the drop-target calls.
namespace tree {

class TBaseNodeTree;

using HResult = int32_t;
constexpr HResult S_OK = 0;
constexpr HResult S_FALSE = 1;
constexpr HResult E_FAIL = HResult(0x80004005u);
constexpr HResult E_NOTIMPL = HResult(0x80004001u);
constexpr HResult E_UNEXPECTED = HResult(0x8000FFFFu);
constexpr HResult E_OUTOFMEMORY = HResult(0x8007000Eu);
constexpr HResult DV_E_FORMATETC = HResult(0x80040064u);
constexpr HResult DV_E_LINDEX = HResult(0x80040068u);
constexpr HResult DV_E_TYMED = HResult(0x80040069u);
constexpr HResult DV_E_DVASPECT = HResult(0x8004006Bu);
constexpr HResult DATA_S_SAMEFORMATETC = 0x00040130;
constexpr HResult OLE_S_USEREG = 0x00040003;
constexpr HResult OLE_E_ADVISENOTSUPPORTED = HResult(0x80040003u);
constexpr HResult DRAGDROP_S_DROP = 0x00040100;
constexpr HResult DRAGDROP_S_CANCEL = 0x00040101;
constexpr HResult DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;

// Storage medium kinds.
constexpr uint32_t TYMED_NULL = 0, TYMED_HGLOBAL = 1, TYMED_FILE = 2, TYMED_ISTREAM = 4;
constexpr uint32_t DATADIR_GET = 1, DATADIR_SET = 2;

// Drop effects.
constexpr int DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2, DROPEFFECT_LINK = 4;
constexpr int DROPEFFECT_SCROLL = int(0x80000000u);

// Mouse buttons in a key state.
constexpr int MK_LBUTTON = 1, MK_RBUTTON = 2, MK_SHIFT = 4, MK_CONTROL = 8, MK_MBUTTON = 0x10, MK_ALT = 0x20;

// A storage medium: global memory and stream contents are bytes, a file medium a name.
struct TStgMedium {
    uint32_t tymed = TYMED_NULL;
    QByteArray data;
    QString fileName;
};

class TEnumFormatEtc {
public:
    TEnumFormatEtc(const TBaseNodeTree* tree, std::vector<TFormatEtc> formats)
        : FTree(tree), FFormatEtcArray(std::move(formats))
    {}
    // Copies up to celt descriptors; S_OK only when all celt were copied.
    HResult Next(uint32_t celt, TFormatEtc* elt, uint32_t* fetched);
    HResult Skip(uint32_t celt);
    HResult Reset();
    HResult Clone(std::unique_ptr<TEnumFormatEtc>& out) const;

private:
    const TBaseNodeTree* FTree;
    std::vector<TFormatEtc> FFormatEtcArray;
    size_t FCurrentIndex = 0;
};

// What a tree needs of a data object.
class IDataObject {
public:
    virtual ~IDataObject() = default;
    virtual HResult GetData(const TFormatEtc& formatEtc, TStgMedium& medium) = 0;
    virtual HResult QueryGetData(const TFormatEtc& formatEtc) = 0;
    virtual HResult SetData(const TFormatEtc& formatEtc, TStgMedium& medium, bool release) = 0;
    virtual HResult EnumFormatEtc(uint32_t direction, std::unique_ptr<TEnumFormatEtc>& out) = 0;
};
using TDataObjectPtr = std::shared_ptr<IDataObject>;

// A tree's data object for the clipboard or a drag.
class TTVDataObject : public IDataObject {
public:
    TTVDataObject(TBaseNodeTree* owner, bool forClipboard);
    ~TTVDataObject() override;
    HResult GetData(const TFormatEtc& formatEtc, TStgMedium& medium) override;
    HResult GetDataHere(const TFormatEtc&, TStgMedium&) { return E_NOTIMPL; }
    HResult QueryGetData(const TFormatEtc& formatEtc) override;
    HResult GetCanonicalFormatEtc(const TFormatEtc&, TFormatEtc&) { return DATA_S_SAMEFORMATETC; }
    HResult SetData(const TFormatEtc& formatEtc, TStgMedium& medium, bool release) override;
    HResult EnumFormatEtc(uint32_t direction, std::unique_ptr<TEnumFormatEtc>& out) override;
    // Advise sinks hear of every SetData; answers the connection.
    uint32_t DAdvise(std::function<void()> sink);
    HResult DUnadvise(uint32_t connection);

    TBaseNodeTree* Owner() const { return FOwner.data(); }
    bool ForClipboard() const { return FForClipboard; }
    const std::vector<TFormatEtc>& Formats() const { return FFormatEtcArray; }

private:
    struct TInternalStgMedium {
        TClipFormat Format;
        TStgMedium Medium;
    };
    int FindFormatEtc(const TFormatEtc& formatEtc) const;
    TInternalStgMedium* FindInternalStgMedium(TClipFormat format);
    QPointer<TBaseNodeTree> FOwner;
    bool FForClipboard;
    std::vector<TFormatEtc> FFormatEtcArray;
    std::vector<TInternalStgMedium> FInternalStgMediumArray;
    std::vector<std::pair<uint32_t, std::function<void()>>> FAdviseSinks;
    uint32_t FNextConnection = 1;
};

// The MIME type a format travels under.
QString MimeTypeOfFormat(TClipFormat format);
// The format of one of our MIME types; 0 for any other type.
TClipFormat FormatOfMimeType(const QString& mimeType);

// Carries a data object through QClipboard and QDrag; formats are rendered when asked for.
class TTreeMimeData : public QMimeData {
    Q_OBJECT
public:
    explicit TTreeMimeData(TDataObjectPtr dataObject) : FDataObject(std::move(dataObject)) {}
    const TDataObjectPtr& DataObject() const { return FDataObject; }
    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;
    // The rendered bytes of every format, for a copy that outlives the data object.
    QMimeData* RenderAll() const;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    TDataObjectPtr FDataObject;
};

// The data object behind any MIME data: ours when it carries one, else a read-only view on the
// MIME data (which must outlive the view).
TDataObjectPtr DataObjectFromMime(const QMimeData* mime);

// Process-wide references to live trees for "Node Tree Reference"; a destroyed tree answers nil.
uint32_t TreeReferenceOf(TBaseNodeTree* tree);
TBaseNodeTree* TreeFromReference(uint32_t reference);
uint32_t CurrentProcessId();
// The bytes of "Node Tree Reference": the process id, the tree's reference and a random token of
// this process, so that only data this process wrote names one of its trees.
constexpr int TreeReferenceTokenSize = 16;
QByteArray TreeReferenceBytes(TBaseNodeTree* tree);
// The live tree the bytes name; nil unless this process wrote them and the tree still lives.
TBaseNodeTree* TreeFromReferenceBytes(const QByteArray& bytes);

// A read-only stream over bytes it does not own.
class TOLEMemoryStream {
public:
    explicit TOLEMemoryStream(std::span<const uint8_t> bytes) : FBytes(bytes) {}
    std::span<const uint8_t> Bytes() const { return FBytes; }
    [[noreturn]] void Write(const void*, size_t);

private:
    std::span<const uint8_t> FBytes;
};

enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

// The tree's drop target and drag source.
class TTVDragManager {
public:
    explicit TTVDragManager(TBaseNodeTree* owner) : FOwner(owner) {}
    // The data object of the drag over the tree, else a new one for a drag from the tree.
    TDataObjectPtr DataObject();
    TBaseNodeTree* DragSource() const { return FDragSource.data(); }
    // Qt's drag shows the image itself, so the tree never moves its own one over a drop target.
    bool HasDropTargetHelper() const { return true; }
    bool IsDropTarget() const { return FIsDropTarget; }

    HResult DragEnter(const TDataObjectPtr& dataObject, int keyState, QPoint pt, int& effect);
    HResult DragOver(int keyState, QPoint pt, int& effect);
    HResult DragLeave();
    HResult Drop(const TDataObjectPtr& dataObject, int keyState, QPoint pt, int& effect);
    void ForceDragLeave() {}
    HResult GiveFeedback(int) { return DRAGDROP_S_USEDEFAULTCURSORS; }
    static HResult QueryContinueDrag(bool escapePressed, int keyState);

private:
    TBaseNodeTree* FOwner;
    QPointer<TBaseNodeTree> FDragSource;
    bool FIsDropTarget = false;
    TDataObjectPtr FDataObject;
};

}  // namespace tree
