#include "TreeFixture.h"

#include "support/TempDir.h"

#include <cstring>
#include <random>

using namespace treetest;

namespace {

using Bytes = std::vector<uint8_t>;

// Three levels with every field set to something other than its default.
void Fill(DataTree& t)
{
    PTreeNode a = t.AddChild(nullptr);
    PTreeNode b = t.AddChild(nullptr);
    PTreeNode a1 = t.AddChild(a);
    PTreeNode a2 = t.AddChild(a);
    PTreeNode a21 = t.AddChild(a2);
    for (PTreeNode n : AllNodes(t))
        t.ValidateNode(n, false);
    t.SetValue(a, 11);
    t.SetValue(a21, 0xDEADBEEF);
    t.SetExpanded(a, true);
    t.SetNodeHeight(a1, 33);
    t.SetVerticalAlignment(a1, 70);
    t.SetCheckType(a2, ctTriStateCheckBox);
    t.SetCheckState(a2, csMixedNormal);
    t.SetDisabled(b, true);
    t.SetMultiline(a21, true);
    t.SetFiltered(a1, true);
    t.SetVisible(b, false);
}

uint32_t GetU32(const Bytes& s, size_t at) { return uint32_t(s[at]) | s[at + 1] << 8 | s[at + 2] << 16 | uint32_t(s[at + 3]) << 24; }
void PutU32(Bytes& s, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s[at + i] = uint8_t(v >> (8 * i));
}

// Header, count, then the first node chunk at 16 and its base chunk at 24, the record at 32.
constexpr size_t FirstNode = 16, FirstBase = 24, FirstRecord = 32;

}  // namespace

TEST(NodeStream, RoundTripKeepsEveryField)
{
    DataTree source;
    Fill(source);
    const Bytes bytes = source.SaveToBytes();
    DataTree target;
    target.LoadFromStream(bytes);
    ASSERT_TREE_VALID(target);
    std::vector<PTreeNode> a = AllNodes(source), b = AllNodes(target);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(a[i]->Index, b[i]->Index);
        EXPECT_EQ(a[i]->NodeHeight, b[i]->NodeHeight);
        EXPECT_EQ(a[i]->TotalHeight, b[i]->TotalHeight);
        EXPECT_EQ(a[i]->TotalCount, b[i]->TotalCount);
        EXPECT_EQ(a[i]->Align(), b[i]->Align());
        EXPECT_EQ(a[i]->CheckState(), b[i]->CheckState());
        EXPECT_EQ(a[i]->CheckType(), b[i]->CheckType());
        const TTreeNodeStates kept = vsInitialized | vsDisabled | vsExpanded | vsHasChildren | vsVisible | vsMultiline | vsFiltered;
        EXPECT_EQ(a[i]->States() & kept, b[i]->States() & kept);
        EXPECT_EQ(source.Value(a[i]), target.Value(b[i]));
        EXPECT_EQ(source.GetNodeLevel(a[i]), target.GetNodeLevel(b[i]));
    }
    EXPECT_EQ(target.VisibleCount(), source.VisibleCount());
    EXPECT_EQ(target.SaveToBytes(), bytes);
}

TEST(NodeStream, EmptyTreeAndFiles)
{
    TBaseNodeTree t;
    const Bytes bytes = t.SaveToBytes();
    EXPECT_EQ(bytes.size(), 16u);
    t.AddChild(nullptr);
    t.LoadFromStream(bytes);
    EXPECT_EQ(t.RootNodeCount(), 0u);

    TempDir dir;
    DataTree source;
    Fill(source);
    const QString file = dir.File("tree.bin");
    source.SaveToFile(file);
    DataTree loaded;
    loaded.LoadFromFile(file);
    EXPECT_EQ(loaded.SaveToBytes(), source.SaveToBytes());
}

TEST(NodeStream, UninitialisedNodesGoOutWithoutChildren)
{
    TBaseNodeTree t;
    t.TreeOptions().SetMiscOptions(t.TreeOptions().MiscOptions() & ~toInitOnSave);
    PTreeNode parent = t.AddChild(nullptr);
    t.SetChildCount(parent, 3);  // the parent itself was never initialised
    const Bytes bytes = t.SaveToBytes();
    EXPECT_FALSE(parent->Has(vsInitialized));
    EXPECT_EQ(GetU32(bytes, FirstRecord), 0u);
    TBaseNodeTree u;
    u.LoadFromStream(bytes);
    EXPECT_EQ(u.RootNodeCount(), 1u);
    EXPECT_TRUE(u.GetFirstNoInit()->Has(vsHasChildren));
    EXPECT_TREE_VALID(u);
}

TEST(NodeStream, OnlyStreamableStatesAreTakenAndDerivedOnesRecomputed)
{
    TBaseNodeTree t;
    PTreeNode n = t.AddChild(nullptr);
    t.AddChild(n);
    Bytes bytes = t.SaveToBytes();
    // Claim every state bit for the parent, including the ones that belong to running operations.
    PutU32(bytes, FirstRecord + 8, AllNodeStates);
    TBaseNodeTree u;
    u.LoadFromStream(bytes);
    PTreeNode loaded = u.GetFirstNoInit();
    EXPECT_FALSE(loaded->Has(vsDeleting | vsToggling | vsInitializing | vsChecking | vsCutOrCopy));
    EXPECT_FALSE(loaded->Has(vsReleaseCallOnUserDataRequired | vsOnFreeNodeCallRequired | vsHeightMeasured));
    EXPECT_FALSE(loaded->Has(vsSelected));  // no multi-selection
    EXPECT_TREE_VALID(u);
    u.ToggleNode(loaded);  // a node that claimed "toggling" can still be toggled
    EXPECT_TREE_VALID(u);
    u.Clear();
}

TEST(NodeStream, SelectionFollowsTheMultiSelectOption)
{
    TBaseNodeTree t;
    t.TreeOptions().SetSelectionOptions(toMultiSelect);
    PTreeNode a = t.AddChild(nullptr);
    t.AddChild(nullptr);
    t.SetSelected(a, true);
    const Bytes bytes = t.SaveToBytes();
    TBaseNodeTree single, multi;
    multi.TreeOptions().SetSelectionOptions(toMultiSelect);
    single.LoadFromStream(bytes);
    multi.LoadFromStream(bytes);
    EXPECT_EQ(single.SelectedCount(), 0u);
    EXPECT_EQ(multi.SelectedCount(), 1u);
    EXPECT_TREE_VALID(single);
    EXPECT_TREE_VALID(multi);
}

TEST(NodeStream, AddFromStreamAppendsBelowTheTarget)
{
    DataTree source;
    Fill(source);
    const Bytes bytes = source.SaveToBytes();
    DataTree t;
    PTreeNode target = t.AddChild(nullptr);
    PTreeNode copiedTo = nullptr;
    t.OnNodeCopied = [&](TBaseNodeTree*, PTreeNode n) { copiedTo = n; };
    t.AddFromStream(bytes, target);
    EXPECT_EQ(copiedTo, target);
    EXPECT_EQ(t.ChildCount(target), 2u);
    EXPECT_EQ(target->TotalCount, 6u);
    EXPECT_TREE_VALID(t);
    // Unknown chunk types inside a node are skipped.
    Bytes extra = bytes;
    const uint32_t nodeSize = GetU32(extra, FirstNode + 4);
    const Bytes unknown = {9, 0, 0, 0, 2, 0, 0, 0, 0xAA, 0xBB};
    extra.insert(extra.begin() + FirstNode + 8 + nodeSize, unknown.begin(), unknown.end());
    PutU32(extra, FirstNode + 4, nodeSize + uint32_t(unknown.size()));
    DataTree u;
    u.LoadFromStream(extra);
    EXPECT_EQ(u.RootNodeCount(), 2u);
    EXPECT_TREE_VALID(u);
}

TEST(NodeStream, MalformedStreamsAreRefusedAndChangeNothing)
{
    DataTree source;
    Fill(source);
    const Bytes valid = source.SaveToBytes();
    struct Case {
        const char* name;
        std::function<void(Bytes&)> damage;
        int code;
    };
    const Case cases[] = {
        {"short header", [](Bytes& s) { s.resize(11); }, 2004},
        {"wrong mark", [](Bytes& s) { s[0] = 'X'; }, 2002},
        {"wrong end mark", [](Bytes& s) { s[10] = 0; }, 2002},
        {"version 3", [](Bytes& s) { s[6] = 3; }, 2003},
        {"count cut", [](Bytes& s) { s.resize(14); }, 2004},
        {"base chunk first", [](Bytes& s) { PutU32(s, FirstNode, 2); }, 2005},
        {"node size past the end", [](Bytes& s) { PutU32(s, FirstNode + 4, 0x7FFFFFF0); }, 2004},
        {"negative node size", [](Bytes& s) { PutU32(s, FirstNode + 4, 0xFFFFFFF8); }, 2004},
        {"cut inside a node", [](Bytes& s) { s.resize(s.size() - 10); }, 2004},
        {"base past its node", [](Bytes& s) { PutU32(s, FirstBase + 4, GetU32(s, FirstBase + 4) + 64); }, 2006},
        {"base shorter than its record", [](Bytes& s) { PutU32(s, FirstBase + 4, 7); }, 2006},
        {"child count beyond the bytes", [](Bytes& s) { PutU32(s, FirstRecord, 0x40000000); }, 2006},
        {"child count one too many", [](Bytes& s) { PutU32(s, FirstRecord, GetU32(s, FirstRecord) + 1); }, 2006},
        {"check state out of range", [](Bytes& s) { s[FirstRecord + 13] = 9; }, 2006},
        {"check type out of range", [](Bytes& s) { s[FirstRecord + 14] = 5; }, 2006},
        {"height beyond 16 bits", [](Bytes& s) { PutU32(s, FirstRecord + 4, 70000); }, 2006},
        {"stray bytes in a node",
         [](Bytes& s) {
             const uint32_t size = GetU32(s, FirstNode + 4);
             s.insert(s.begin() + FirstNode + 8 + size, {1, 2, 3});
             PutU32(s, FirstNode + 4, size + 3);
         },
         2006},
        {"second base chunk",
         [](Bytes& s) {
             const uint32_t size = GetU32(s, FirstNode + 4);
             const Bytes base = {2, 0, 0, 0, 19, 0, 0, 0, 0, 0, 0, 0, 18, 0, 0, 0, 0x80, 0, 0, 0, 50, 0, 0, 0, 0, 0, 0};
             s.insert(s.begin() + FirstNode + 8 + size, base.begin(), base.end());
             PutU32(s, FirstNode + 4, size + uint32_t(base.size()));
         },
         2006},
        {"too deep",
         [](Bytes& s) {
             // 1100 nested nodes, each the only child of the one before.
             Bytes body;
             for (int level = 1100; level-- > 0;) {
                 Bytes node = {1, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0};
                 const uint32_t children = body.empty() ? 0 : 1;
                 Bytes record = {0, 0, 0, 0, 18, 0, 0, 0, 0x81, 0, 0, 0, 50, 0, 0, 0, 0, 0, 0};
                 PutU32(record, 0, children);
                 node.insert(node.end(), record.begin(), record.end());
                 node.insert(node.end(), body.begin(), body.end());
                 PutU32(node, 12, uint32_t(record.size() + body.size()));
                 PutU32(node, 4, uint32_t(node.size() - 8));
                 body = std::move(node);
             }
             s.resize(12);
             PutU32(s, 0, GetU32(s, 0));
             s.insert(s.end(), {1, 0, 0, 0});
             s.insert(s.end(), body.begin(), body.end());
         },
         2006},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = valid;
        c.damage(bytes);
        DataTree t;
        PTreeNode keep = t.AddChild(nullptr);
        t.AddChild(keep);
        t.SetValue(keep, 5);
        const std::vector<PTreeNode> existing = AllNodes(t);
        bool freedOwn = false;
        t.OnFreeNode = [&](TBaseNodeTree*, PTreeNode n) {
            freedOwn = freedOwn || std::find(existing.begin(), existing.end(), n) != existing.end();
        };
        const Bytes before = t.SaveToBytes();
        for (bool add : {false, true}) {
            try {
                add ? t.AddFromStream(bytes, keep) : t.LoadFromStream(bytes);
                ADD_FAILURE() << "accepted";
            } catch (const ENodeTreeError& e) {
                EXPECT_EQ(e.HelpContext, c.code);
                EXPECT_EQ(e.message(), TreeErrors::Message(c.code));
            }
            EXPECT_EQ(t.SaveToBytes(), before);
            EXPECT_FALSE(freedOwn);
            EXPECT_TREE_VALID(t);
            EXPECT_EQ(t.UpdateCount(), 0u);
        }
        t.OnFreeNode = nullptr;
    }
}

// Deterministic damage of valid streams: every result is a clean load or a clean refusal.
TEST(NodeStream, MutatedStreamsLoadOrAreRefused)
{
    std::vector<Bytes> streams;
    {
        DataTree a;
        Fill(a);
        streams.push_back(a.SaveToBytes());
        DataTree b;
        for (int i = 0; i < 20; ++i) {
            PTreeNode p = b.AddChild(i % 3 ? b.GetLastNoInit() : nullptr);
            b.ValidateNode(p, false);
            b.SetValue(p, uint32_t(i * 7919));
            b.SetExpanded(b.GetNodeParent(p), true);
        }
        streams.push_back(b.SaveToBytes());
    }
    std::mt19937 rng(2024);
    int loaded = 0, refused = 0;
    DataTree t;
    t.AddChild(nullptr);
    for (const Bytes& valid : streams)
        for (int round = 0; round < 1000; ++round) {
            Bytes s = valid;
            switch (rng() % 4) {
            case 0:  // bit flips
                for (int k = 1 + rng() % 3; k-- > 0;)
                    s[rng() % s.size()] ^= uint8_t(1u << (rng() % 8));
                break;
            case 1:  // cut end
                s.resize(rng() % s.size());
                break;
            case 2: {  // a lying size or count at a word position
                const size_t at = 12 + 4 * (rng() % ((s.size() - 12) / 4));
                const uint32_t lies[] = {0, 1, 7, 8, 19, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, GetU32(s, at) + 1,
                                         GetU32(s, at) - 1, uint32_t(rng())};
                PutU32(s, at, lies[rng() % std::size(lies)]);
                break;
            }
            case 3: {  // a lying node count
                const uint32_t counts[] = {0, 1, 3, 1000000, 0xFFFFFFFF, 0x80000000};
                PutU32(s, 12, counts[rng() % std::size(counts)]);
                break;
            }
            }
            const Bytes before = t.SaveToBytes();
            try {
                t.LoadFromStream(s);
                ++loaded;
            } catch (const ENodeTreeError& e) {
                ++refused;
                EXPECT_GE(e.HelpContext, 2002);
                EXPECT_LE(e.HelpContext, 2006);
                ASSERT_EQ(t.SaveToBytes(), before);
            }
            ASSERT_TREE_VALID(t);
        }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}

TEST(NodeStream, CopyToDuplicatesASubtree)
{
    DataTree t;
    PTreeNode a = t.AddChild(nullptr);
    PTreeNode a1 = t.AddChild(a);
    t.ValidateNode(a, true);
    t.SetValue(a1, 42);
    PTreeNode copy = t.CopyTo(a, a, amAddChildLast, false);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(t.GetNodeParent(copy), a);
    EXPECT_EQ(t.ChildCount(copy), 1u);
    EXPECT_EQ(t.Value(t.GetFirstChildNoInit(copy)), 42u);
    EXPECT_TREE_VALID(t);
    t.OnNodeCopying = [](TBaseNodeTree*, PTreeNode, PTreeNode, bool& allowed) { allowed = false; };
    EXPECT_EQ(t.CopyTo(a1, nullptr, amAddChildLast, false), nullptr);
    EXPECT_EQ(t.RootNodeCount(), 1u);
    EXPECT_TREE_VALID(t);
}
