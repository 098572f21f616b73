// Cut, copy and paste through the system clipboard, and the data side of drops: node chunks out
// of a tree, and into it again, or moved directly when both trees live in this process.
#include "controls/tree/NodeTrees.h"

#include <QApplication>
#include <QClipboard>
#include <QtEndian>

namespace tree {

namespace {

TFormatEtc TreeDataRequest()
{
    TFormatEtc f;
    f.cfFormat = ClipFormatTreeData;
    f.tymed = TYMED_HGLOBAL | TYMED_ISTREAM;
    return f;
}

// Closes an update bracket on every path out.
struct UpdateBracket {
    TBaseNodeTree* Tree;
    explicit UpdateBracket(TBaseNodeTree* tree) : Tree(tree)
    {
        if (Tree)
            Tree->BeginUpdate();
    }
    ~UpdateBracket()
    {
        if (Tree)
            Tree->EndUpdate();
    }
    UpdateBracket(const UpdateBracket&) = delete;
    UpdateBracket& operator=(const UpdateBracket&) = delete;
};

}  // namespace

void TBaseNodeTree::MarkCutCopyNodes()
{
    for (PTreeNode node : GetSortedSelection(false))
        if (!node->Has(vsDisabled))
            node->Include(vsCutOrCopy);
}

void TBaseNodeTree::CopyToClipboard()
{
    if (FSelection.empty())
        return;
    auto dataObject = std::make_shared<TTVDataObject>(this, true);
    // The clipboard takes the MIME data over; the data object lives as long as it does.
    QApplication::clipboard()->setMimeData(new TTreeMimeData(dataObject));
    FClipboardObject = dataObject;
    // Replacing an older object of ours cancelled its cut or copy; this one starts afresh.
    MarkCutCopyNodes();
    DoStateChange(TS(tsCopyPending), TS(tsCutPending));
    Invalidate();
}

void TBaseNodeTree::CutToClipboard()
{
    if (FOptions->MiscOptions() & toReadOnly)
        return;
    CopyToClipboard();
    if (HasState(tsCopyPending))
        DoStateChange(TS(tsCutPending), TS(tsCopyPending));
}

bool TBaseNodeTree::PasteFromClipboard()
{
    if (FOptions->MiscOptions() & toReadOnly)
        return false;
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    // An empty clipboard holds nothing to paste.
    if (!mime)
        return false;
    TDataObjectPtr dataObject = DataObjectFromMime(mime);
    if (!dataObject)
        RaiseTreeError(TreeErrors::Message(TreeErrors::ClipboardFailed), TreeErrors::ClipboardFailed);
    QPointer<TBaseNodeTree> source = GetTreeFromDataObject(dataObject);
    const bool result =
        ProcessOLEData(source.data(), dataObject, FFocusedNode, FDefaultPasteMode, source && source->HasState(tsCutPending));
    if (source) {
        // The nodes moved within this tree: their marks go too, or a later cut would take them
        // along again.
        if (source.data() == this) {
            if (HasState(tsCutPending))
                CancelCutOrCopy();
        } else
            source->FinishCutOrCopy();
    }
    return result;
}

void TBaseNodeTree::CancelCutOrCopy()
{
    if (!(TreeStates() & TS(tsCutPending, tsCopyPending)))
        return;
    for (PTreeNode n = GetFirstNoInit(); n; n = GetNextNoInit(n))
        n->Exclude(vsCutOrCopy);
    DoStateChange(0, TS(tsCutPending, tsCopyPending));
    Invalidate();
}

void TBaseNodeTree::FinishCutOrCopy()
{
    if (!HasState(tsCutPending))
        return;
    const TNodeArray marked = GetSortedCutCopySet(true);
    {
        UpdateBracket bracket(this);
        for (auto it = marked.rbegin(); it != marked.rend(); ++it)
            DeleteNode(*it);
    }
    DoStateChange(0, TS(tsCutPending));
}

void TBaseNodeTree::FlushClipboard()
{
    if (!(TreeStates() & TS(tsCutPending, tsCopyPending)))
        return;
    DoStateChange(TS(tsClipboardFlushing));
    QClipboard* clipboard = QApplication::clipboard();
    // Only data that is still ours is rendered; the reference to this tree is left out.
    if (const auto* ours = qobject_cast<const TTreeMimeData*>(clipboard->mimeData());
        ours && ours->DataObject() == FClipboardObject.lock())
        clipboard->setMimeData(ours->RenderAll());
    FClipboardObject.reset();
    CancelCutOrCopy();
    DoStateChange(0, TS(tsClipboardFlushing));
}

TBaseNodeTree* TBaseNodeTree::GetTreeFromDataObject(const TDataObjectPtr& dataObject) const
{
    if (!dataObject)
        return nullptr;
    TFormatEtc request;
    request.cfFormat = ClipFormatTreeReference;
    request.tymed = TYMED_HGLOBAL | TYMED_ISTREAM;
    TStgMedium medium;
    if (dataObject->GetData(request, medium) != S_OK)
        return nullptr;
    return TreeFromReferenceBytes(medium.data);
}

HResult TBaseNodeTree::RenderOLEData(const TFormatEtc& formatEtcIn, TStgMedium& medium, bool forClipboard)
{
    medium = TStgMedium();
    if (formatEtcIn.cfFormat == ClipFormatTreeData && (formatEtcIn.tymed & (TYMED_HGLOBAL | TYMED_ISTREAM))) {
        const TNodeArray nodes = forClipboard ? GetSortedCutCopySet(true) : GetSortedSelection(true);
        std::vector<uint8_t> bytes;
        for (PTreeNode node : nodes)
            WriteNode(bytes, node);
        if (formatEtcIn.tymed & TYMED_ISTREAM) {
            medium.tymed = TYMED_ISTREAM;
            medium.data = QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
            return S_OK;
        }
        if (bytes.empty())
            return E_FAIL;
        QByteArray block(4, '\0');
        qToLittleEndian<uint32_t>(uint32_t(bytes.size()), block.data());
        block.append(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
        medium.tymed = TYMED_HGLOBAL;
        medium.data = block;
        return S_OK;
    }
    return DoRenderOLEData(formatEtcIn, medium, forClipboard);
}

HResult TBaseNodeTree::DoRenderOLEData(const TFormatEtc& formatEtcIn, TStgMedium& medium, bool forClipboard)
{
    HResult result = E_FAIL;
    if (OnRenderOLEData)
        OnRenderOLEData(this, formatEtcIn, medium, forClipboard, result);
    return result;
}

void TBaseNodeTree::DoGetUserClipboardFormats(std::vector<TFormatEtc>& formats) const
{
    if (OnGetUserClipboardFormats)
        OnGetUserClipboardFormats(const_cast<TBaseNodeTree*>(this), formats);
}

bool TBaseNodeTree::ProcessOLEData(TBaseNodeTree* source, const TDataObjectPtr& dataObject, PTreeNode targetNode,
                                   TTVNodeAttachMode mode, bool optimized)
{
    if (!dataObject || dataObject->QueryGetData(TreeDataRequest()) != S_OK)
        return false;
    // A read-only tree takes nothing and says so, rather than claiming the nodes arrived.
    if (FOptions->MiscOptions() & toReadOnly)
        return false;
    UpdateBracket bracket(this);
    if (!targetNode) {
        targetNode = FRoot;
        if (mode == amInsertBefore)
            mode = amAddChildFirst;
        else if (mode == amInsertAfter)
            mode = amAddChildLast;
    } else
        ResolveTarget(targetNode, mode);

    if (optimized && source) {
        const TNodeArray nodes = source->HasState(tsOLEDragging) ? source->FDragSelection : source->GetSortedCutCopySet(true);
        const bool forward = mode == amInsertBefore || mode == amAddChildLast;
        const auto moveOne = [&](PTreeNode node) {
            if (targetNode != node && !source->HasAsParent(targetNode, node))
                source->MoveTo(node, targetNode, mode, false);
        };
        if (forward)
            for (PTreeNode node : nodes)
                moveOne(node);
        else
            for (auto it = nodes.rbegin(); it != nodes.rend(); ++it)
                moveOne(*it);
        return true;
    }

    TStgMedium medium;
    if (dataObject->GetData(TreeDataRequest(), medium) != S_OK)
        return false;
    std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(medium.data.constData()), size_t(medium.data.size()));
    if (medium.tymed == TYMED_HGLOBAL) {
        // The stated count must fit the block; anything else is not our data.
        if (bytes.size() < 4)
            RaiseTreeError(TreeErrors::Message(TreeErrors::NotEnoughData), TreeErrors::NotEnoughData);
        const uint32_t count = qFromLittleEndian<uint32_t>(bytes.data());
        if (count > bytes.size() - 4)
            RaiseTreeError(TreeErrors::Message(TreeErrors::NotEnoughData), TreeErrors::NotEnoughData);
        bytes = bytes.subspan(4, count);
    } else if (medium.tymed != TYMED_ISTREAM)
        return false;

    // Everything is read and checked before the first node is linked.
    TNodeArray loaded;
    ReadDetachedNodes(bytes, loaded);
    StopCacheValidation();
    for (PTreeNode node : loaded) {
        InternalConnectNode(node, targetNode, mode);
        AfterLoadSelection(node);
        if (DoNodeCopying(node, targetNode == FRoot ? nullptr : targetNode)) {
            DoNodeCopied(node);
            StructureChange(node, source == this ? crNodeCopied : crNodeAdded);
            if (mode == amInsertAfter)
                targetNode = node;
        } else
            DeleteNode(node);
    }
    MarkCacheStale();
    return true;
}

bool TBaseNodeTree::ProcessDrop(const TDataObjectPtr& dataObject, PTreeNode targetNode, int& effect,
                                TTVNodeAttachMode mode)
{
    if (mode == amNoWhere) {
        effect = DROPEFFECT_NONE;
        return false;
    }
    try {
        UpdateBracket bracket(this);
        QPointer<TBaseNodeTree> source = GetTreeFromDataObject(dataObject);
        UpdateBracket sourceBracket(source && source.data() != this ? source.data() : nullptr);
        if ((effect & DROPEFFECT_MOVE) && source) {
            const bool result = ProcessOLEData(source, dataObject, targetNode, mode, !(effect & DROPEFFECT_COPY));
            // Moved or copied here: the drag source must not delete anything.
            effect = DROPEFFECT_NONE;
            return result;
        }
        if (effect & (DROPEFFECT_COPY | DROPEFFECT_MOVE)) {
            const bool result = ProcessOLEData(source, dataObject, targetNode, mode, false);
            if (!result)
                effect = DROPEFFECT_NONE;
            return result;
        }
        return false;
    } catch (...) {
        effect = DROPEFFECT_NONE;
        return false;
    }
}

void TBaseNodeTree::DeleteSelectedNodes()
{
    if (FSelection.empty() || (FOptions->MiscOptions() & toReadOnly))
        return;
    UpdateBracket bracket(this);
    const TNodeArray nodes = GetSortedSelection(true);
    for (size_t i = nodes.size(); i-- > 1;)
        DeleteNode(nodes[i], nodes[i]->ParentId != nodes[i - 1]->ParentId, false);
    if (!nodes.empty())
        DeleteNode(nodes[0], true, false);
}

}  // namespace tree
