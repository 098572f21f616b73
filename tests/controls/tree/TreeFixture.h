#pragma once
#include "controls/tree/NodeTrees.h"

#include <QApplication>
#include <QHelpEvent>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace treetest {

using namespace tree;

// Asks the tree for the hint at a point of its client area, as the mouse resting there does; a
// point above the client area (negative y) asks the header.
inline void AskHint(TBaseNodeTree& t, QPoint clientPos)
{
    QWidget* target = t.viewport();
    QPoint pos = clientPos;
    if (clientPos.y() < 0) {
        target = &t;
        pos = clientPos + t.viewport()->pos();
    }
    QHelpEvent help(QEvent::ToolTip, pos, target->mapToGlobal(pos));
    QApplication::sendEvent(target, &help);
}

// Every node in display order, without initialising any.
inline std::vector<PTreeNode> AllNodes(const TBaseNodeTree& t)
{
    std::vector<PTreeNode> nodes;
    for (PTreeNode n = t.GetFirstNoInit(); n; n = t.GetNextNoInit(n))
        nodes.push_back(n);
    return nodes;
}

// Appends `count` children under `parent` (nil: top level); answers them.
inline std::vector<PTreeNode> AddChildren(TBaseNodeTree& t, PTreeNode parent, int count)
{
    std::vector<PTreeNode> children;
    for (int i = 0; i < count; ++i)
        children.push_back(t.AddChild(parent));
    return children;
}

// Indices of the children, in chain order.
inline std::vector<uint32_t> ChildIndices(const TBaseNodeTree& t, PTreeNode parent)
{
    std::vector<uint32_t> result;
    for (PTreeNode c = t.GetFirstChildNoInit(parent); c; c = t.GetNextSiblingNoInit(c))
        result.push_back(c->Index);
    return result;
}

// A tree whose user data is one int per node, set to a running number on creation.
class NumberedTree : public TBaseNodeTree {
public:
    NumberedTree()
    {
        SetNodeDataSize(sizeof(int));
        OnInitNode = [this](TBaseNodeTree*, PTreeNode, PTreeNode node, TTreeNodeInitStates&) {
            *GetNodeData<int>(node) = Next++;
        };
    }
    int Number(PTreeNode node) { return *GetNodeData<int>(node); }
    int Next = 0;
};

// A tree whose user data is one 32-bit number, written to and read from the stream.
class DataTree : public TBaseNodeTree {
public:
    DataTree()
    {
        SetNodeDataSize(4);
        OnSaveNode = [this](TBaseNodeTree*, PTreeNode n, std::vector<uint8_t>& s) {
            const uint32_t v = Value(n);
            if (v)
                for (int i = 0; i < 4; ++i)
                    s.push_back(uint8_t(v >> (8 * i)));
        };
        OnLoadNode = [this](TBaseNodeTree*, PTreeNode n, platform::ByteReader& r) {
            const uint32_t v = r.U32LE();
            std::memcpy(GetNodeData(n), &v, 4);
        };
    }
    uint32_t Value(PTreeNode n)
    {
        uint32_t v;
        std::memcpy(&v, GetNodeData(n), 4);
        return v;
    }
    void SetValue(PTreeNode n, uint32_t v) { std::memcpy(GetNodeData(n), &v, 4); }
};

// The values of all nodes in display order, collapsed or not.
inline std::vector<uint32_t> Values(DataTree& t)
{
    std::vector<uint32_t> out;
    for (PTreeNode n : AllNodes(t))
        out.push_back(t.Value(n));
    return out;
}

}  // namespace treetest

#define EXPECT_TREE_VALID(t_) EXPECT_EQ(::tree::TreeInvariants::Check(t_).toStdString(), std::string())
#define ASSERT_TREE_VALID(t_) ASSERT_EQ(::tree::TreeInvariants::Check(t_).toStdString(), std::string())
