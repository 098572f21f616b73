#pragma once
#include "controls/tree/NodeTreeTypes.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

namespace tree {

// One node record. Links are slot numbers in the owning tree's pool (0: none), which keeps the
// record at 40 bytes on every platform; the user data area follows it, 8-byte aligned. The first
// child's previous-sibling slot holds the last child, so a parent needs no last-child link.
struct TTreeNode {
    uint32_t Index;        // position among its siblings
    uint32_t TotalCount;   // nodes in the subtree, this one included
    uint32_t TotalHeight;  // pixels the subtree takes on screen
    uint16_t NodeHeight;
    uint16_t Reserved;
    uint32_t ParentId, PrevId, NextId, FirstChildId, SelfId;
    // States in bits 0-16, check state 17-20, check type 21-23, alignment 24-31. The worker thread
    // reads them while the GUI thread changes selection bits, so both sides access them atomically.
    uint32_t Bits;

    TTreeNodeStates States() const { return LoadBits() & AllNodeStates; }
    bool Has(TTreeNodeStates s) const { return (LoadBits() & s) != 0; }
    void Include(TTreeNodeStates s) { StoreBits(LoadBits() | s); }
    void Exclude(TTreeNodeStates s) { StoreBits(LoadBits() & ~s); }
    void SetStates(TTreeNodeStates s) { StoreBits((LoadBits() & ~AllNodeStates) | (s & AllNodeStates)); }
    TCheckState CheckState() const { return TCheckState((LoadBits() >> 17) & 0xF); }
    void SetCheckStateField(TCheckState s) { StoreBits((LoadBits() & ~(0xFu << 17)) | (uint32_t(s & 0xF) << 17)); }
    TCheckType CheckType() const { return TCheckType((LoadBits() >> 21) & 0x7); }
    void SetCheckTypeField(TCheckType t) { StoreBits((LoadBits() & ~(0x7u << 21)) | (uint32_t(t & 0x7) << 21)); }
    uint8_t Align() const { return uint8_t(LoadBits() >> 24); }
    void SetAlign(uint8_t a) { StoreBits((LoadBits() & 0x00FFFFFFu) | (uint32_t(a) << 24)); }

    // Start of the user data area.
    uint8_t* Data() { return reinterpret_cast<uint8_t*>(this + 1); }

    uint32_t LoadBits() const { return __atomic_load_n(&Bits, __ATOMIC_RELAXED); }
    void StoreBits(uint32_t v) { __atomic_store_n(&Bits, v, __ATOMIC_RELAXED); }
};
static_assert(sizeof(TTreeNode) == 40, "the node record is part of the memory budget");
using PTreeNode = TTreeNode*;

// Node blocks of one tree, in chunks whose addresses never move: a node keeps its address for its
// whole life. Freed blocks are reused; every block is zero-filled when handed out. The hidden root
// has no user data, so it lives in a block of its own under the fixed slot number 1.
class TNodePool {
public:
    static constexpr uint32_t RootId = 1;
    static constexpr unsigned ChunkShift = 10;
    static constexpr uint32_t ChunkNodes = 1u << ChunkShift;

    explicit TNodePool(size_t dataBytes = 0) { Reset(dataBytes); }

    // Drops every block and sets the data bytes per node; only for an empty pool.
    void Reset(size_t dataBytes)
    {
        FChunks.clear();
        FStride = sizeof(TTreeNode) + ((dataBytes + 7) & ~size_t(7));
        FUsed = 2;  // slot 0 stands for "none", slot 1 for the root
        FFreeHead = 0;
        FLive = 0;
    }
    size_t Stride() const { return FStride; }
    size_t DataBytes() const { return FStride - sizeof(TTreeNode); }
    size_t LiveCount() const { return FLive; }
    size_t BytesReserved() const { return FChunks.size() * size_t(ChunkNodes) * FStride; }

    PTreeNode Get(uint32_t id) const
    {
        if (id <= RootId)
            return id ? FRoot : nullptr;
        return reinterpret_cast<PTreeNode>(FChunks[id >> ChunkShift].get() +
                                           size_t(id & (ChunkNodes - 1)) * FStride);
    }
    static uint32_t Id(const TTreeNode* node) { return node ? node->SelfId : 0; }
    // Whether the node is a block of this pool; the node must be a live node of some tree.
    bool Owns(const TTreeNode* node) const
    {
        if (!node)
            return false;
        if (node == FRoot)
            return true;
        const uint32_t id = node->SelfId;
        return id > RootId && id < FUsed && Get(id) == node;
    }

    PTreeNode Allocate()
    {
        uint32_t id;
        if (FFreeHead) {
            id = FFreeHead;
            FFreeHead = Get(id)->NextId;
        } else {
            if (FUsed == UINT32_MAX)
                throw std::bad_alloc();
            id = FUsed++;
            if ((id >> ChunkShift) >= FChunks.size())
                FChunks.emplace_back(new std::byte[size_t(ChunkNodes) * FStride]);
        }
        PTreeNode node = Get(id);
        std::memset(static_cast<void*>(node), 0, FStride);
        node->SelfId = id;
        ++FLive;
        return node;
    }
    void Free(PTreeNode node)
    {
        // Cleared again when handed out; only the free-list link matters meanwhile.
        node->NextId = FFreeHead;
        FFreeHead = node->SelfId;
        --FLive;
    }

private:
    std::vector<std::unique_ptr<std::byte[]>> FChunks;
    size_t FStride = sizeof(TTreeNode);
    uint32_t FUsed = 2;
    uint32_t FFreeHead = 0;
    size_t FLive = 0;

public:
    PTreeNode FRoot = nullptr;
};

}  // namespace tree
