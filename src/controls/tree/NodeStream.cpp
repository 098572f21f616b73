#include "controls/tree/NodeTrees.h"

#include "platform/FileUtil.h"

#include <cstring>

// The chunked node stream. Reading trusts nothing in it: every size is checked against the bytes
// of its parent chunk, counts against the bytes left, depth is limited, and nothing reaches the
// tree before the whole stream has been read.
namespace tree {

namespace {

constexpr uint16_t HeaderUnits[6] = {0x2045, u'V', u'T', 2, u' ', 0x2046};
constexpr int ChunkNode = 1, ChunkBase = 2, ChunkUserData = 4;
constexpr size_t ChunkHeaderSize = 8;
constexpr size_t BaseRecordSize = 19, OldBaseRecordSize = 12;
// Deeper streams are refused: reading recurses once per level.
constexpr int MaxStreamDepth = 1000;

// States that a stream may carry; the others are derived or belong to a running operation.
constexpr TTreeNodeStates StreamStates =
    vsInitialized | vsDisabled | vsExpanded | vsHasChildren | vsVisible | vsSelected | vsMultiline | vsFiltered;
// States never written: they only mean something inside this process while an operation runs, or
// are derived again by the reader.
constexpr TTreeNodeStates TransientStates = vsChecking | vsCutOrCopy | vsDeleting | vsOnFreeNodeCallRequired |
                                            vsHeightMeasured | vsInitializing | vsToggling |
                                            vsReleaseCallOnUserDataRequired | vsAllChildrenHidden;

void PutU32(std::vector<uint8_t>& s, uint32_t v)
{
    for (int i = 0; i < 4; ++i, v >>= 8)
        s.push_back(uint8_t(v));
}

void PatchU32(std::vector<uint8_t>& s, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i, v >>= 8)
        s[at + i] = uint8_t(v);
}

// Writes end - start - 8 into the size field of the chunk header at start.
void FinishChunkHeader(std::vector<uint8_t>& s, size_t start) { PatchU32(s, start + 4, uint32_t(s.size() - start - ChunkHeaderSize)); }

[[noreturn]] void Fail(int code) { RaiseTreeError(TreeErrors::Message(code), code); }

}  // namespace

void TBaseNodeTree::WriteNode(std::vector<uint8_t>& stream, PTreeNode node)
{
    if (FOptions->MiscOptions() & toInitOnSave) {
        EnsureInitialized(node);
        EnsureChildren(node);
    }
    const size_t start = stream.size();
    PutU32(stream, ChunkNode);
    PutU32(stream, 0);
    WriteChunks(stream, node);
    FinishChunkHeader(stream, start);
}

void TBaseNodeTree::WriteChunks(std::vector<uint8_t>& stream, PTreeNode node)
{
    const size_t base = stream.size();
    PutU32(stream, ChunkBase);
    PutU32(stream, 0);
    // An uninitialised node's children are not written, so it goes out without any: a reader
    // creates them on demand as it would have here.
    const bool withChildren = node->Has(vsInitialized);
    PutU32(stream, withChildren ? ChildCount(node) : 0);
    PutU32(stream, node->NodeHeight);
    PutU32(stream, node->States() & ~TransientStates);
    stream.push_back(node->Align());
    stream.push_back(node->CheckState());
    stream.push_back(node->CheckType());
    PutU32(stream, 0);
    if (withChildren)
        for (PTreeNode c = FirstOf(node); c; c = NextOf(c))
            WriteNode(stream, c);
    FinishChunkHeader(stream, base);

    const size_t user = stream.size();
    PutU32(stream, ChunkUserData);
    PutU32(stream, 0);
    DoSaveUserData(node, stream);
    if (stream.size() == user + ChunkHeaderSize)
        stream.resize(user);
    else
        FinishChunkHeader(stream, user);
}

void TBaseNodeTree::SaveToStream(std::vector<uint8_t>& stream, PTreeNode node)
{
    for (uint16_t unit : HeaderUnits) {
        stream.push_back(uint8_t(unit));
        stream.push_back(uint8_t(unit >> 8));
    }
    if (node && node != FRoot) {
        PutU32(stream, 1);
        WriteNode(stream, node);
    } else {
        PutU32(stream, RootNodeCount());
        for (PTreeNode c = FirstOf(FRoot); c; c = NextOf(c))
            WriteNode(stream, c);
    }
    if (OnSaveTree)
        OnSaveTree(this, stream);
}

std::vector<uint8_t> TBaseNodeTree::SaveToBytes(PTreeNode node)
{
    std::vector<uint8_t> stream;
    SaveToStream(stream, node);
    return stream;
}

void TBaseNodeTree::SaveToFile(const QString& fileName)
{
    const std::vector<uint8_t> bytes = SaveToBytes();
    platform::WriteFileAtomic(fileName, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
}

void TBaseNodeTree::LoadFromFile(const QString& fileName)
{
    const QByteArray bytes = platform::ReadWholeFile(fileName);
    LoadFromStream(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())));
}

void TBaseNodeTree::ReadNode(platform::ByteReader& stream, int version, PTreeNode node, int depth)
{
    if (depth > MaxStreamDepth)
        Fail(TreeErrors::UnexpectedData);
    if (stream.Remaining() < ChunkHeaderSize)
        Fail(depth == 0 ? TreeErrors::NotEnoughData : TreeErrors::UnexpectedData);
    const int32_t type = int32_t(stream.U32LE());
    const int32_t size = int32_t(stream.U32LE());
    if (type != ChunkNode)
        Fail(TreeErrors::AnchorMissing);
    if (size < 0 || size_t(size) > stream.Remaining())
        Fail(depth == 0 ? TreeErrors::NotEnoughData : TreeErrors::UnexpectedData);
    platform::ByteReader body = stream.Sub(size_t(size));
    bool sawBase = false;
    while (!body.AtEnd()) {
        if (body.Remaining() < ChunkHeaderSize)
            Fail(TreeErrors::UnexpectedData);
        const int32_t chunkType = int32_t(body.U32LE());
        const int32_t chunkSize = int32_t(body.U32LE());
        if (chunkSize < 0 || size_t(chunkSize) > body.Remaining())
            Fail(TreeErrors::UnexpectedData);
        platform::ByteReader chunk = body.Sub(size_t(chunkSize));
        if (chunkType == ChunkBase) {
            // One base record per node; a second would link a second set of children.
            if (sawBase)
                Fail(TreeErrors::UnexpectedData);
            sawBase = true;
        }
        ReadChunk(chunk, version, node, chunkType, depth);
        if (chunkType == ChunkBase && !chunk.AtEnd())
            Fail(TreeErrors::UnexpectedData);
    }
}

bool TBaseNodeTree::ReadChunk(platform::ByteReader& chunk, int version, PTreeNode node, int chunkType, int depth)
{
    switch (chunkType) {
    case ChunkBase: {
        const size_t recordSize = version < 2 ? OldBaseRecordSize : BaseRecordSize;
        if (chunk.Remaining() < recordSize)
            Fail(TreeErrors::UnexpectedData);
        const uint32_t childCount = chunk.U32LE();
        const uint32_t height = chunk.U32LE();
        TTreeNodeStates states;
        if (version < 2) {
            const uint8_t old = chunk.U8();
            states = (old & 0x7F) | ((old & 0x80) ? TTreeNodeStates(vsSelected) : 0u) | vsVisible;
        } else
            states = chunk.U32LE();
        const uint8_t align = chunk.U8();
        const uint8_t checkState = chunk.U8();
        const uint8_t checkType = chunk.U8();
        if (version >= 2)
            chunk.U32LE();
        if (height > 0xFFFF || checkState >= CheckStateCount || checkType >= CheckTypeCount)
            Fail(TreeErrors::UnexpectedData);
        // Each child needs at least its node and base chunk headers and a record.
        const size_t leastChild = 2 * ChunkHeaderSize + recordSize;
        if (childCount > chunk.Remaining() / leastChild)
            Fail(TreeErrors::UnexpectedData);
        node->SetStates(states & StreamStates);
        node->NodeHeight = uint16_t(height);
        node->TotalHeight = height;
        node->SetAlign(align);
        node->SetCheckStateField(TCheckState(checkState));
        node->SetCheckTypeField(TCheckType(checkType));
        PTreeNode last = nullptr;
        for (uint32_t i = 0; i < childCount; ++i) {
            PTreeNode child = MakeNewNode();
            child->ParentId = node->SelfId;
            child->Index = i;
            if (last) {
                last->NextId = child->SelfId;
                child->PrevId = last->SelfId;
            } else
                node->FirstChildId = child->SelfId;
            FirstOf(node)->PrevId = child->SelfId;
            last = child;
            ReadNode(chunk, version, child, depth + 1);
        }
        return true;
    }
    case ChunkUserData:
        if (chunk.Size() > 0)
            return DoLoadUserData(node, chunk);
        return true;
    default:
        return false;
    }
}

void TBaseNodeTree::FixLoadedSubtree(PTreeNode node)
{
    node->TotalCount = 1;
    bool anyVisible = false;
    for (PTreeNode c = FirstOf(node); c; c = NextOf(c)) {
        FixLoadedSubtree(c);
        node->TotalCount += c->TotalCount;
        anyVisible = anyVisible || IsEffectivelyVisible(c);
    }
    if (FirstOf(node))
        node->Include(vsHasChildren);
    else if (!node->Has(vsHasChildren))
        node->Exclude(vsExpanded);
    SetChildrenHiddenFlag(node, FirstOf(node) ? !anyVisible : !node->Has(vsHasChildren));
    node->TotalHeight = IsEffectivelyFiltered(node) ? 0 : node->NodeHeight;
    if (node->Has(vsExpanded))
        for (PTreeNode c = FirstOf(node); c; c = NextOf(c))
            if (c->Has(vsVisible))
                node->TotalHeight += c->TotalHeight;
}

void TBaseNodeTree::ReadBody(std::span<const uint8_t> bytes, TNodeArray& loaded)
{
    platform::ByteReader stream(bytes);
    if (bytes.size() < sizeof(HeaderUnits))
        Fail(TreeErrors::NotEnoughData);
    uint16_t units[6];
    for (uint16_t& u : units)
        u = stream.U16LE();
    if (units[0] != HeaderUnits[0] || units[1] != HeaderUnits[1] || units[2] != HeaderUnits[2] || units[5] != HeaderUnits[5])
        Fail(TreeErrors::WrongFormat);
    const int version = units[3];
    if (version > 2)
        Fail(TreeErrors::UnknownVersion);
    int64_t count = INT64_MAX;
    if (version >= 2) {
        if (stream.Remaining() < 4)
            Fail(TreeErrors::NotEnoughData);
        count = int32_t(stream.U32LE());
    }
    EnsureNodeDataSize();
    while (!stream.AtEnd() && count > 0) {
        PTreeNode node = MakeNewNode();
        loaded.push_back(node);
        ReadNode(stream, version, node, 0);
        FixLoadedSubtree(node);
        --count;
    }
    FLoadRemainder = stream.Position();
}

void TBaseNodeTree::LinkLoaded(const TNodeArray& loaded, PTreeNode target)
{
    StopCacheValidation();
    for (PTreeNode node : loaded) {
        InternalConnectNode(node, target, amAddChildLast);
        AfterLoadSelection(node);
    }
    MarkCacheStale();
}

void TBaseNodeTree::AfterLoadSelection(PTreeNode node)
{
    FTempNodeCache.clear();
    PTreeNode stop = nullptr;
    for (PTreeNode x = node; x != FRoot && !stop; x = ParentOf(x))
        stop = NextOf(x);
    const bool multi = FOptions->SelectionOptions() & toMultiSelect;
    for (PTreeNode n = node; n && n != stop; n = GetNextNoInit(n)) {
        if (!n->Has(vsSelected))
            continue;
        if (multi)
            FTempNodeCache.push_back(n);
        else
            n->Exclude(vsSelected);
    }
    for (PTreeNode n : FTempNodeCache) {
        n->Exclude(vsSelected);
        InternalAddToSelection(n, false);
    }
    FTempNodeCache.clear();
}

namespace {
// Frees what a failed read left behind, releasing user data its handlers stored.
struct LoadedGuard {
    TNodeArray Nodes;
    std::function<void(PTreeNode)> Free;
    bool Linked = false;
    ~LoadedGuard()
    {
        if (!Linked)
            for (PTreeNode n : Nodes)
                Free(n);
    }
};
}  // namespace

void TBaseNodeTree::LoadFromStream(std::span<const uint8_t> stream)
{
    if (FOptions->MiscOptions() & toReadOnly)
        return;
    LoadedGuard guard{{}, [this](PTreeNode n) { FreeSubtree(n); }};
    ReadBody(stream, guard.Nodes);
    Clear();
    BeginUpdate();
    try {
        guard.Linked = true;
        LinkLoaded(guard.Nodes, FRoot);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    DoNodeCopied(nullptr);
    if (OnLoadTree)
        OnLoadTree(this, stream.subspan(std::min(FLoadRemainder, stream.size())));
}

void TBaseNodeTree::AddFromStream(std::span<const uint8_t> stream, PTreeNode target)
{
    if (FOptions->MiscOptions() & toReadOnly)
        return;
    target = target ? target : FRoot;
    LoadedGuard guard{{}, [this](PTreeNode n) { FreeSubtree(n); }};
    ReadBody(stream, guard.Nodes);
    BeginUpdate();
    try {
        guard.Linked = true;
        LinkLoaded(guard.Nodes, target);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    DoNodeCopied(target == FRoot ? nullptr : target);
}

void TBaseNodeTree::WriteSource(std::vector<uint8_t>& bytes, PTreeNode source, bool childrenOnly)
{
    if (!childrenOnly) {
        WriteNode(bytes, source);
        return;
    }
    if (FOptions->MiscOptions() & toInitOnSave)
        EnsureChildren(source);
    for (PTreeNode c = FirstOf(source); c; c = NextOf(c))
        WriteNode(bytes, c);
}

void TBaseNodeTree::ReadDetachedNodes(std::span<const uint8_t> bytes, TNodeArray& loaded)
{
    LoadedGuard guard{{}, [this](PTreeNode n) { FreeSubtree(n); }};
    EnsureNodeDataSize();
    platform::ByteReader reader(bytes);
    while (!reader.AtEnd()) {
        PTreeNode node = MakeNewNode();
        guard.Nodes.push_back(node);
        ReadNode(reader, 2, node, 0);
        FixLoadedSubtree(node);
    }
    guard.Linked = true;
    loaded = std::move(guard.Nodes);
}

PTreeNode TBaseNodeTree::CopyTo(PTreeNode source, PTreeNode target, TTVNodeAttachMode mode, bool childrenOnly)
{
    if (source)
        TreeAssert(FPool.Owns(source), "The source tree must contain the source node.");
    TBaseNodeTree& targetTree = ResolveTarget(target, mode);
    if (mode == amNoWhere || !source || source == FRoot || (targetTree.FOptions->MiscOptions() & toReadOnly))
        return nullptr;
    // The copy is taken whole before anything is linked, so a node may be copied into itself.
    std::vector<uint8_t> bytes;
    WriteSource(bytes, source, childrenOnly);
    TNodeArray copies;
    targetTree.ReadDetachedNodes(bytes, copies);
    PTreeNode result = nullptr;
    targetTree.BeginUpdate();
    targetTree.StopCacheValidation();
    for (PTreeNode node : copies) {
        targetTree.InternalConnectNode(node, target, mode);
        targetTree.AfterLoadSelection(node);
        if (!DoNodeCopying(node, target == targetTree.FRoot ? nullptr : target)) {
            targetTree.DeleteNode(node);
            result = nullptr;
        } else {
            DoNodeCopied(node);
            result = node;
        }
    }
    targetTree.MarkCacheStale();
    targetTree.EndUpdate();
    // A node of another tree means nothing to the target's handlers.
    targetTree.StructureChange(&targetTree == this ? source : nullptr, crNodeCopied);
    return childrenOnly ? target : result;
}

}  // namespace tree
