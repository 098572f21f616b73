// Cut, copy and paste through the real clipboard, within one tree and between two, the data object
// that carries the nodes, and what a tree does with data it did not make itself.
#include "ScannerTreeFixture.h"
#include "TreeFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QtEndian>

using namespace treetest;

namespace {

// a(1) [a1(2), a2(3)], b(4), c(5) in one tree; x(10) in another.
struct Trees {
    DataTree Src, Dst;
    PTreeNode A, A1, A2, B, C, X;
    Trees()
    {
        QApplication::clipboard()->clear();
        A = Src.AddChild(nullptr);
        A1 = Src.AddChild(A);
        A2 = Src.AddChild(A);
        B = Src.AddChild(nullptr);
        C = Src.AddChild(nullptr);
        X = Dst.AddChild(nullptr);
        Src.ValidateNode(nullptr, true);
        Dst.ValidateNode(nullptr, true);
        uint32_t v = 1;
        for (PTreeNode n : {A, A1, A2, B, C})
            Src.SetValue(n, v++);
        Dst.SetValue(X, 10);
        Src.SetExpanded(A, true);
        Src.TreeOptions().SetSelectionOptions(Src.TreeOptions().SelectionOptions() | toMultiSelect);
        Dst.TreeOptions().SetSelectionOptions(Dst.TreeOptions().SelectionOptions() | toMultiSelect);
    }
    ~Trees() { QApplication::clipboard()->clear(); }
    void Select(DataTree& t, std::initializer_list<PTreeNode> nodes)
    {
        t.ClearSelection();
        for (PTreeNode n : nodes)
            t.SetSelected(n, true);
    }
};

// Node chunks of the source's selection, as another program would hand them over.
QByteArray TreeDataBlock(DataTree& source)
{
    auto object = std::make_shared<TTVDataObject>(&source, false);
    TFormatEtc request;
    request.cfFormat = ClipFormatTreeData;
    TStgMedium medium;
    EXPECT_EQ(object->GetData(request, medium), S_OK);
    return medium.data;
}

}  // namespace

TEST(Clipboard, CopyAndPasteWithinAndBetweenTrees)
{
    struct Case {
        const char* name;
        bool cut;
        bool otherTree;
        std::vector<uint32_t> src, dst;
    };
    const Case cases[] = {
        // Copies go under the focused node x, last child; the source keeps its nodes.
        {"copy to another tree", false, true, {1, 2, 3, 4, 5}, {10, 1, 2, 3, 5}},
        // A cut pasted elsewhere moves the nodes out of the source.
        {"cut to another tree", true, true, {4}, {10, 1, 2, 3, 5}},
        // Within one tree under b: copies for a copy, the nodes themselves for a cut.
        {"copy within the tree", false, false, {1, 2, 3, 4, 1, 2, 3, 5, 5}, {10}},
        {"cut within the tree", true, false, {4, 1, 2, 3, 5}, {10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Trees t;
        t.Select(t.Src, {t.A, t.C});
        c.cut ? t.Src.CutToClipboard() : t.Src.CopyToClipboard();
        EXPECT_EQ(t.Src.CutCopyCount(), 2u);
        EXPECT_TRUE(t.Src.HasState(c.cut ? tsCutPending : tsCopyPending));
        DataTree& target = c.otherTree ? t.Dst : t.Src;
        target.SetFocusedNode(c.otherTree ? t.X : t.B);
        int copying = 0;
        target.OnNodeCopying = [&](TBaseNodeTree*, PTreeNode, PTreeNode, bool&) { ++copying; };
        ASSERT_TRUE(target.PasteFromClipboard());
        EXPECT_EQ(Values(t.Src), c.src);
        EXPECT_EQ(Values(t.Dst), c.dst);
        // Moved nodes are never asked about as copies.
        EXPECT_EQ(copying, c.cut ? 0 : 2);
        EXPECT_FALSE(t.Src.HasState(tsCutPending));
        // Copies leave the marks until the copy is cancelled; moved nodes keep none.
        EXPECT_EQ(t.Src.CutCopyCount(), c.cut ? 0u : 2u);
        EXPECT_EQ(TreeInvariants::Check(t.Src), QString());
        EXPECT_EQ(TreeInvariants::Check(t.Dst), QString());
    }
}

TEST(Clipboard, PasteIntoOwnSubtreeKeepsTheNodeWhereItIs)
{
    // Cutting a and pasting it under its own child moves nothing, as a move into the own
    // subtree cannot happen; the cut is completed without deleting a.
    Trees t;
    t.Select(t.Src, {t.A});
    t.Src.CutToClipboard();
    t.Src.SetFocusedNode(t.A1);
    EXPECT_TRUE(t.Src.PasteFromClipboard());
    EXPECT_EQ(Values(t.Src), (std::vector<uint32_t>{1, 2, 3, 4, 5}));
    // Directly, the same move is refused with its error.
    try {
        t.Src.MoveTo(t.A, t.A2, amAddChildLast, false);
        FAIL() << "no error";
    } catch (const ENodeTreeError& e) {
        EXPECT_EQ(e.HelpContext, 2001);
        EXPECT_EQ(e.message(), "Target node cannot be a child node of the node to be moved.");
    }
}

TEST(Clipboard, ASecondCutTakesOnlyItsOwnNodes)
{
    // a is cut and pasted within the tree, then c is cut and pasted into the other tree: only c
    // leaves, a stays where it was moved to.
    Trees t;
    t.Select(t.Src, {t.A});
    t.Src.CutToClipboard();
    t.Src.SetFocusedNode(t.B);
    ASSERT_TRUE(t.Src.PasteFromClipboard());
    t.Select(t.Src, {t.C});
    t.Src.CutToClipboard();
    t.Dst.SetFocusedNode(t.X);
    ASSERT_TRUE(t.Dst.PasteFromClipboard());
    EXPECT_EQ(Values(t.Src), (std::vector<uint32_t>{4, 1, 2, 3}));
    EXPECT_EQ(Values(t.Dst), (std::vector<uint32_t>{10, 5}));
}

TEST(Clipboard, PasteAfterKeepsClipboardOrder)
{
    Trees t;
    t.Select(t.Src, {t.B, t.C});
    t.Src.CopyToClipboard();
    t.Dst.SetDefaultPasteMode(amInsertAfter);
    t.Dst.SetFocusedNode(t.X);
    ASSERT_TRUE(t.Dst.PasteFromClipboard());
    EXPECT_EQ(Values(t.Dst), (std::vector<uint32_t>{10, 4, 5}));
}

TEST(Clipboard, CancelFlushAndReplace)
{
    {
        SCOPED_TRACE("another clipboard owner cancels the pending copy");
        Trees t;
        t.Select(t.Src, {t.B});
        t.Src.CopyToClipboard();
        QApplication::clipboard()->setText("other");
        EXPECT_EQ(t.Src.CutCopyCount(), 0u);
        EXPECT_FALSE(t.Src.HasState(tsCopyPending));
    }
    {
        SCOPED_TRACE("flushed data survives the tree and no longer names it");
        Trees t;
        auto gone = std::make_unique<DataTree>();
        PTreeNode n = gone->AddChild(nullptr);
        gone->ValidateNode(nullptr, true);
        gone->SetValue(n, 77);
        gone->SetSelected(n, true);
        gone->CopyToClipboard();
        gone->FlushClipboard();
        EXPECT_EQ(gone->CutCopyCount(), 0u);
        gone.reset();
        EXPECT_EQ(t.Dst.GetTreeFromDataObject(DataObjectFromMime(QApplication::clipboard()->mimeData())), nullptr);
        t.Dst.SetFocusedNode(nullptr);
        ASSERT_TRUE(t.Dst.PasteFromClipboard());
        EXPECT_EQ(Values(t.Dst), (std::vector<uint32_t>{10, 77}));
    }
    {
        SCOPED_TRACE("an empty clipboard pastes nothing");
        Trees t;
        EXPECT_FALSE(t.Dst.PasteFromClipboard());
        EXPECT_EQ(Values(t.Dst), (std::vector<uint32_t>{10}));
    }
}

TEST(Clipboard, ReadOnlyTreesRefuse)
{
    Trees t;
    t.Dst.TreeOptions().SetMiscOptions(t.Dst.TreeOptions().MiscOptions() | toReadOnly);
    t.Select(t.Src, {t.B});
    t.Src.CopyToClipboard();
    EXPECT_FALSE(t.Dst.PasteFromClipboard());
    auto object = std::make_shared<TTVDataObject>(&t.Src, false);
    int effect = DROPEFFECT_COPY;
    EXPECT_FALSE(t.Dst.ProcessDrop(object, nullptr, effect, amAddChildLast));
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    effect = DROPEFFECT_MOVE;
    EXPECT_FALSE(t.Dst.ProcessDrop(object, nullptr, effect, amAddChildLast));
    EXPECT_EQ(Values(t.Dst), (std::vector<uint32_t>{10}));
    // Nor does a read-only tree give nodes away by a cut.
    t.Src.TreeOptions().SetMiscOptions(t.Src.TreeOptions().MiscOptions() | toReadOnly);
    t.Src.CancelCutOrCopy();
    t.Src.CutToClipboard();
    EXPECT_FALSE(t.Src.HasState(tsCutPending));
}

TEST(Clipboard, ForeignDataIsCheckedBeforeAnythingIsLinked)
{
    Trees t;
    t.Select(t.Src, {t.A, t.B});
    const QByteArray good = TreeDataBlock(t.Src);
    ASSERT_GT(good.size(), 4);
    struct Case {
        const char* name;
        QByteArray data;
        bool pasted;
    };
    QByteArray overstated = good;
    qToLittleEndian<uint32_t>(uint32_t(good.size()), overstated.data());
    QByteArray huge = good;
    qToLittleEndian<uint32_t>(0xFFFFFFFFu, huge.data());
    QByteArray cutShort = good;
    qToLittleEndian<uint32_t>(uint32_t(good.size() - 4 - 3), cutShort.data());
    // The first node's check state and check type (after the count, the node and base chunk
    // headers, child count, height, states and alignment).
    const int checkStateAt = 4 + 8 + 8 + 4 + 4 + 4 + 1;
    QByteArray badCheckState = good;
    badCheckState[checkStateAt] = char(0xEE);
    QByteArray badCheckType = good;
    badCheckType[checkStateAt + 1] = char(0x7F);
    QByteArray badChild = good;
    // The first node chunk's child count (after the node and base chunk headers) claims far more children.
    qToLittleEndian<uint32_t>(0x7FFFFFFFu, badChild.data() + 4 + 16);
    const Case cases[] = {
        {"the block as made", good, true},
        {"a count past the block", overstated, false},
        {"a count of 4 GB", huge, false},
        {"a chunk cut short", cutShort, false},
        {"a child count the chunk cannot hold", badChild, false},
        {"a check state out of range", badCheckState, false},
        {"a check type out of range", badCheckType, false},
        {"three bytes", QByteArray(3, '\1'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DataTree target;
        auto* mime = new QMimeData;
        mime->setData(MimeTypeOfFormat(ClipFormatTreeData), c.data);
        // A reference to a tree, as another process would write it: never honoured.
        QByteArray reference(8, '\0');
        qToLittleEndian<uint32_t>(CurrentProcessId() + 1, reference.data());
        qToLittleEndian<uint32_t>(1, reference.data() + 4);
        mime->setData(MimeTypeOfFormat(ClipFormatTreeReference), reference);
        QApplication::clipboard()->setMimeData(mime);
        EXPECT_EQ(target.GetTreeFromDataObject(DataObjectFromMime(QApplication::clipboard()->mimeData())), nullptr);
        bool pasted = false;
        try {
            pasted = target.PasteFromClipboard();
        } catch (const ENodeTreeError&) {
        }
        EXPECT_EQ(pasted, c.pasted);
        EXPECT_EQ(target.RootNode()->TotalCount, c.pasted ? 5u : 1u);
        EXPECT_EQ(TreeInvariants::Check(target), QString());
    }

    // States that only mean something inside the writing process (being deleted, marked for a
    // cut, being checked) are dropped from foreign data; the node itself arrives.
    QByteArray everyState = good;
    qToLittleEndian<uint32_t>(0xFFFFFFFFu, everyState.data() + checkStateAt - 5);
    DataTree target;
    auto* mime = new QMimeData;
    mime->setData(MimeTypeOfFormat(ClipFormatTreeData), everyState);
    QApplication::clipboard()->setMimeData(mime);
    ASSERT_TRUE(target.PasteFromClipboard());
    ASSERT_EQ(target.RootNode()->TotalCount, 5u);
    for (PTreeNode n = target.GetFirstNoInit(); n; n = target.GetNextNoInit(n))
        EXPECT_FALSE(n->Has(vsDeleting) || n->Has(vsCutOrCopy) || n->Has(vsChecking) || n->Has(vsToggling))
            << "node " << target.Value(n);
    EXPECT_EQ(TreeInvariants::Check(target), QString());
}

TEST(DeleteSelectedNodes, ParentAndChildGoOnce)
{
    Trees t;
    t.Select(t.Src, {t.A, t.A2, t.C});
    std::vector<uint32_t> freed;
    t.Src.OnFreeNode = [&](TBaseNodeTree*, PTreeNode n) { freed.push_back(t.Src.Value(n)); };
    t.Src.DeleteSelectedNodes();
    t.Src.OnFreeNode = nullptr;
    EXPECT_EQ(Values(t.Src), (std::vector<uint32_t>{4}));
    std::sort(freed.begin(), freed.end());
    EXPECT_EQ(freed, (std::vector<uint32_t>{1, 2, 3, 5}));
    EXPECT_EQ(t.Src.GetFirst()->Index, 0u);
    EXPECT_EQ(TreeInvariants::Check(t.Src), QString());
}

TEST(DataObject, AnswersOffersAndStoredData)
{
    Trees t;
    t.Select(t.Src, {t.B});
    TTVDataObject object(&t.Src, false);
    TFormatEtc f;
    f.cfFormat = ClipFormatTreeData;
    EXPECT_EQ(object.QueryGetData(f), S_OK);
    struct Case {
        const char* name;
        TFormatEtc request;
        HResult expected;
    };
    TFormatEtc wrongMedium = f, wrongAspect = f, wrongIndex = f, unknown = f;
    wrongMedium.tymed = TYMED_FILE;
    wrongAspect.dwAspect = 4;
    wrongIndex.lindex = 0;
    unknown.cfFormat = RegisterClipboardFormat("Nothing We Offer");
    for (const Case& c : {Case{"medium", wrongMedium, DV_E_TYMED}, Case{"aspect", wrongAspect, DV_E_DVASPECT},
                          Case{"index", wrongIndex, DV_E_LINDEX}, Case{"format", unknown, DV_E_FORMATETC}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(object.QueryGetData(c.request), c.expected);
    }
    // Data set for an offered format replaces the tree's rendering; the sink hears of it.
    int advised = 0;
    object.DAdvise([&] { ++advised; });
    TStgMedium stored;
    stored.tymed = TYMED_HGLOBAL;
    stored.data = "stored";
    EXPECT_EQ(object.SetData(f, stored, false), S_OK);
    TStgMedium out;
    EXPECT_EQ(object.GetData(f, out), S_OK);
    EXPECT_EQ(out.data, QByteArray("stored"));
    EXPECT_EQ(advised, 1);
    // A new format is offered from then on.
    TStgMedium extra{TYMED_HGLOBAL, "x", {}};
    EXPECT_EQ(object.SetData(unknown, extra, true), S_OK);
    EXPECT_EQ(object.QueryGetData(unknown), S_OK);
    EXPECT_EQ(object.GetDataHere(f, out), E_NOTIMPL);
    std::unique_ptr<TEnumFormatEtc> e;
    EXPECT_EQ(object.EnumFormatEtc(DATADIR_SET, e), OLE_S_USEREG);
    EXPECT_EQ(e, nullptr);
}

TEST(DataObject, TreeDataAsBlockOrStream)
{
    Trees t;
    t.Select(t.Src, {t.A, t.A1, t.C});
    TTVDataObject object(&t.Src, false);
    TFormatEtc block;
    block.cfFormat = ClipFormatTreeData;
    TStgMedium m;
    ASSERT_EQ(object.GetData(block, m), S_OK);
    EXPECT_EQ(m.tymed, TYMED_HGLOBAL);
    const uint32_t count = qFromLittleEndian<uint32_t>(m.data.constData());
    EXPECT_EQ(count, uint32_t(m.data.size() - 4));
    // Asked for a stream where both are allowed, the tree renders the chunks without the count.
    TStgMedium s;
    TFormatEtc stream = block;
    stream.tymed = TYMED_HGLOBAL | TYMED_ISTREAM;
    ASSERT_EQ(t.Src.RenderOLEData(stream, s, false), S_OK);
    EXPECT_EQ(s.tymed, TYMED_ISTREAM);
    EXPECT_EQ(s.data, m.data.mid(4));
    // Data that comes as a stream is read as one: a with both children, and c, arrive.
    for (const QByteArray& bytes : {s.data, s.data.left(s.data.size() - 2)}) {
        auto streamed = std::make_shared<TTVDataObject>(nullptr, false);
        TStgMedium given{TYMED_ISTREAM, bytes, {}};
        TFormatEtc offered = block;
        offered.tymed = TYMED_ISTREAM;
        ASSERT_EQ(streamed->SetData(offered, given, false), S_OK);
        DataTree target;
        const bool whole = bytes.size() == s.data.size();
        bool pasted = false;
        try {
            pasted = target.ProcessOLEData(nullptr, streamed, nullptr, amAddChildLast, false);
        } catch (const ENodeTreeError&) {
        }
        EXPECT_EQ(pasted, whole);
        EXPECT_EQ(Values(target), whole ? (std::vector<uint32_t>{1, 2, 3, 5}) : std::vector<uint32_t>{});
        EXPECT_EQ(TreeInvariants::Check(target), QString());
    }
    // Nothing selected: no block.
    t.Src.ClearSelection();
    EXPECT_EQ(object.GetData(block, m), E_FAIL);
    EXPECT_TRUE(m.data.isEmpty());
    // The reference names this process and a live tree, which it finds again.
    TFormatEtc ref;
    ref.cfFormat = ClipFormatTreeReference;
    ASSERT_EQ(object.GetData(ref, m), S_OK);
    ASSERT_EQ(m.data.size(), 8 + TreeReferenceTokenSize);
    EXPECT_EQ(qFromLittleEndian<uint32_t>(m.data.constData()), CurrentProcessId());
    EXPECT_EQ(TreeFromReference(qFromLittleEndian<uint32_t>(m.data.constData() + 4)), &t.Src);
    EXPECT_EQ(TreeFromReferenceBytes(m.data), &t.Src);
}

TEST(DataObject, OnlyReferencesThisProcessWroteNameATree)
{
    Trees t;
    const QByteArray genuine = TreeReferenceBytes(&t.Src);
    ASSERT_EQ(TreeFromReferenceBytes(genuine), &t.Src);
    // Our process id and the live tree's reference, as anyone could guess them, with a wrong token.
    QByteArray forged = genuine;
    forged[8] = char(forged[8] ^ 0x01);
    QByteArray lastByte = genuine;
    lastByte[lastByte.size() - 1] = char(lastByte[lastByte.size() - 1] ^ 0x80);
    QByteArray otherProcess = genuine;
    qToLittleEndian<uint32_t>(CurrentProcessId() + 1, otherProcess.data());
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"the old 8-byte form", genuine.left(8)},
        {"a wrong first token byte", forged},
        {"a wrong last token byte", lastByte},
        {"another process", otherProcess},
        {"a byte too many", genuine + '\0'},
        {"nothing", QByteArray()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TreeFromReferenceBytes(c.bytes), nullptr);
        // Pasted from the clipboard, the forged reference moves nothing out of the source tree.
        auto* mime = new QMimeData;
        t.Select(t.Src, {t.B});
        mime->setData(MimeTypeOfFormat(ClipFormatTreeData), TreeDataBlock(t.Src));
        mime->setData(MimeTypeOfFormat(ClipFormatTreeReference), c.bytes);
        QApplication::clipboard()->setMimeData(mime);
        EXPECT_EQ(t.Dst.GetTreeFromDataObject(DataObjectFromMime(QApplication::clipboard()->mimeData())), nullptr);
    }
    // A copy pasted through the genuine reference of a tree that is cut: the nodes move over.
    t.Select(t.Src, {t.B});
    t.Src.CutToClipboard();
    EXPECT_EQ(t.Dst.GetTreeFromDataObject(DataObjectFromMime(QApplication::clipboard()->mimeData())), &t.Src);
}

TEST(DataObject, ReferenceOfADestroyedTreeIsNil)
{
    uint32_t reference;
    {
        DataTree gone;
        reference = TreeReferenceOf(&gone);
        EXPECT_EQ(TreeFromReference(reference), &gone);
    }
    EXPECT_EQ(TreeFromReference(reference), nullptr);
    DataTree next;
    EXPECT_NE(TreeReferenceOf(&next), reference);
}

TEST(FormatEnumerator, NextSkipResetClone)
{
    TFormatEtc a, b, c;
    a.cfFormat = 1;
    b.cfFormat = 2;
    c.cfFormat = 3;
    TEnumFormatEtc e(nullptr, {a, b, c});
    TFormatEtc out[3];
    uint32_t fetched = 9;
    EXPECT_EQ(e.Next(1, out, &fetched), S_OK);
    EXPECT_EQ(fetched, 1u);
    std::unique_ptr<TEnumFormatEtc> clone;
    EXPECT_EQ(e.Clone(clone), S_OK);
    // Three asked, two left: two copied, S_FALSE; then none.
    EXPECT_EQ(e.Next(3, out, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 2u);
    EXPECT_EQ(out[0].cfFormat, 2);
    EXPECT_EQ(out[1].cfFormat, 3);
    EXPECT_EQ(e.Next(1, out, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    // The clone kept its own place.
    EXPECT_EQ(clone->Next(1, out, nullptr), S_OK);
    EXPECT_EQ(out[0].cfFormat, 2);
    // Skip to exactly the end is fine; one more is not and moves nothing.
    EXPECT_EQ(e.Reset(), S_OK);
    EXPECT_EQ(e.Skip(3), S_OK);
    EXPECT_EQ(e.Reset(), S_OK);
    EXPECT_EQ(e.Skip(4), S_FALSE);
    EXPECT_EQ(e.Next(1, out, nullptr), S_OK);
    EXPECT_EQ(out[0].cfFormat, 1);
}

TEST(DataObject, ReadOnlyStreamRefusesWrites)
{
    const uint8_t bytes[] = {1, 2};
    TOLEMemoryStream s(bytes);
    EXPECT_EQ(s.Bytes().size(), 2u);
    try {
        s.Write(bytes, 1);
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.message(), "Can't write to a read-only resource stream");
    }
}

TEST(DragManager, QueryContinueDrag)
{
    struct Case {
        bool escape;
        int keys;
        HResult expected;
    };
    for (const Case& c : {Case{true, MK_LBUTTON, DRAGDROP_S_CANCEL}, Case{false, MK_LBUTTON | MK_RBUTTON, DRAGDROP_S_CANCEL},
                          Case{false, MK_LBUTTON, S_OK}, Case{false, MK_RBUTTON, S_OK}, Case{false, 0, DRAGDROP_S_DROP}}) {
        SCOPED_TRACE(c.keys);
        EXPECT_EQ(TTVDragManager::QueryContinueDrag(c.escape, c.keys), c.expected);
    }
}

TEST(Clipboard, StringTreesOfferTheirTextToOtherPrograms)
{
    QApplication::clipboard()->clear();
    ScannerTree s;
    s.Tree->SetSelected(s.Meter(1), true);
    s.Tree->CopyToClipboard();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(mime->hasFormat(MimeTypeOfFormat(ClipFormatHtml)));
    const QString text = QApplication::clipboard()->text();
    EXPECT_TRUE(text.contains("Meter 2 (0x11)")) << text.toStdString();
    EXPECT_FALSE(text.contains("Meter 1")) << text.toStdString();
    EXPECT_FALSE(text.contains(QChar(0)));
    // The tree's own data still travels beside the text.
    EXPECT_TRUE(mime->hasFormat(MimeTypeOfFormat(ClipFormatTreeData)));
    QApplication::clipboard()->clear();
}
