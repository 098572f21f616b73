#include "TreeFixture.h"

using namespace treetest;

namespace {
class ClipboardDrawTree : public TBaseNodeTree {
public:
    ClipboardDrawTree() : TBaseNodeTree(nullptr, CustomNodeDrawTreeClass) {}
};
class StringTree : public TBaseNodeTree {
public:
    StringTree() : TBaseNodeTree(nullptr, CustomNodeStringTreeClass) {}
};

// The tree's own format names, without those an application test registered in this process.
QStringList Names(const std::vector<TFormatEtc>& formats)
{
    QStringList names;
    for (const TFormatEtc& f : formats)
        names << ClipboardFormatName(f.cfFormat);
    names.removeAll("Application Nodes");
    return names;
}
}  // namespace

TEST(ClipboardFormats, DefaultsAreTheRegisteredFormatsOfTheClass)
{
    ClipboardDrawTree draw;
    QStringList own = draw.ClipboardFormats().Items();
    own.removeAll("Application Nodes");
    EXPECT_EQ(own, QStringList{"Node Tree Data"});
    EXPECT_EQ(Names(draw.GetNativeClipboardFormats()), QStringList{"Node Tree Data"});
    StringTree strings;
    EXPECT_EQ(Names(strings.GetNativeClipboardFormats()),
              (QStringList{"Node Tree Data", "HTML Format", "Rich Text Format Without Objects", "Rich Text Format", "CSV",
                           "Unicode text", "Plain text"}));
}

TEST(ClipboardFormats, ClassRulePriorityOrderAndSpelling)
{
    ClipboardDrawTree draw;
    draw.SetClipboardFormats({"Node Tree Data", "CSV", "Plain text"});
    EXPECT_EQ(draw.ClipboardFormats().Items(), QStringList{"Node Tree Data"});
    EXPECT_EQ(draw.ClipboardFormats().Add("CSV"), -1);

    StringTree strings;
    strings.SetClipboardFormats({"Plain text", "Node Tree Data", "CSV"});
    EXPECT_EQ(Names(strings.GetNativeClipboardFormats()), (QStringList{"Node Tree Data", "CSV", "Plain text"}));
    strings.SetClipboardFormats({"PLAIN TEXT"});
    EXPECT_EQ(strings.ClipboardFormats().Items(), QStringList{"PLAIN TEXT"});
    EXPECT_EQ(Names(strings.GetNativeClipboardFormats()), QStringList{"Plain text"});
    strings.SetClipboardFormats({});
    EXPECT_TRUE(strings.GetNativeClipboardFormats().empty());
}

TEST(ClipboardFormats, RegistryByIdAndApplicationFormats)
{
    TBaseNodeTree t;  // makes sure the standard formats are registered
    EXPECT_EQ(StandardFormatName(13), "Unicode text");
    const size_t before = TClipboardFormatList::Entries().size();
    RegisterTreeClipboardFormat(TClipFormat(0), BaseNodeTreeClass, 70);
    EXPECT_EQ(TClipboardFormatList::Entries().size(), before);
    QString description;
    EXPECT_EQ(TClipboardFormatList::FindFormat(TClipFormat(1), description), &CustomNodeStringTreeClass);
    EXPECT_EQ(description, "Plain text");

    // Registered once per process, whichever test order runs.
    if (!TClipboardFormatList::FindFormat("Application Nodes"))
        RegisterTreeClipboardFormat("Application Nodes", BaseNodeTreeClass, 60);
    const TClipFormat own = TClipboardFormatList::FindFormat("Application Nodes")->FormatEtc.cfFormat;
    EXPECT_NE(own, 0);
    StringTree strings;
    strings.SetClipboardFormats({"CSV", "Application Nodes", "Node Tree Data"});
    QStringList offered;
    for (const TFormatEtc& f : strings.GetNativeClipboardFormats())
        offered << ClipboardFormatName(f.cfFormat);
    EXPECT_EQ(offered, (QStringList{"Node Tree Data", "Application Nodes", "CSV"}));
    TClipFormat found = 0;
    EXPECT_EQ(TClipboardFormatList::FindFormat("application nodes", found), &BaseNodeTreeClass);
    EXPECT_EQ(found, own);
}

TEST(Options, DefaultsAndSetterRules)
{
    TBaseNodeTree t;
    TCustomNodeTreeOptions& o = t.TreeOptions();
    EXPECT_EQ(o.PaintOptions(), 0x1B60u);
    EXPECT_EQ(o.AutoOptions(), 0x0559u);
    EXPECT_EQ(o.MiscOptions(), 0x41A9u);
    EXPECT_EQ(o.SelectionOptions(), 0u);
    EXPECT_EQ(o.AnimationOptions(), 0u);

    o.SetPaintOptions((o.PaintOptions() & ~toShowRoot) | toFixedIndent);
    EXPECT_TRUE(o.PaintOptions() & toShowRoot);

    // Switching variable heights on re-initialises every node once; off does nothing more.
    std::map<PTreeNode, int> inits;
    t.OnInitNode = [&](TBaseNodeTree*, PTreeNode, PTreeNode n, TTreeNodeInitStates&) { ++inits[n]; };
    t.SetRootNodeCount(4);
    t.ValidateNode(nullptr, true);
    inits.clear();
    o.SetMiscOptions(o.MiscOptions() | toVariableNodeHeight);
    EXPECT_EQ(inits.size(), 4u);
    for (auto& [node, count] : inits)
        EXPECT_EQ(count, 1);
    inits.clear();
    o.SetMiscOptions(o.MiscOptions() & ~toVariableNodeHeight);
    EXPECT_TRUE(inits.empty());

    // Multi-selection switched off clears the selection.
    o.SetSelectionOptions(toMultiSelect);
    t.SetSelected(t.GetFirst(), true);
    t.SetSelected(t.GetLast(), true);
    EXPECT_EQ(t.SelectedCount(), 2u);
    o.SetSelectionOptions(0);
    EXPECT_EQ(t.SelectedCount(), 0u);
    EXPECT_TREE_VALID(t);
}

TEST(Options, AssignCopiesTheSetsButNotTheExportMode)
{
    TBaseNodeTree a, b;
    a.TreeOptions().SetAutoOptions(toAutoExpand);
    a.TreeOptions().SetMiscOptions(toReadOnly);
    a.TreeOptions().SetExportMode(emSelected);
    a.TreeOptions().AssignTo(b.TreeOptions());
    EXPECT_EQ(b.TreeOptions().AutoOptions(), TTVAutoOptions(toAutoExpand));
    EXPECT_EQ(b.TreeOptions().MiscOptions(), TTVMiscOptions(toReadOnly));
    EXPECT_EQ(b.TreeOptions().ExportMode(), emAll);
}

TEST(Options, Colours)
{
    TBaseNodeTree t;
    EXPECT_EQ(t.Colors().Get(TTVColors::DisabledColor), clBtnShadow);
    EXPECT_EQ(t.Colors().Get(TTVColors::HotColor), clWindowText);
    EXPECT_EQ(t.Colors().Get(TTVColors::SelectionTextColor), clHighlightText);
    EXPECT_EQ(t.Colors().Get(TTVColors::UnfocusedColor), clBtnFace);
    TBaseNodeTree u;
    t.Colors().Set(TTVColors::TreeLineColor, 0x00112233);
    u.Colors().Assign(t.Colors());
    EXPECT_EQ(u.Colors().Get(TTVColors::TreeLineColor), 0x00112233u);
    u.SetColor(0x00445566);
    u.SetFontColor(0x00778899);
    EXPECT_EQ(u.Colors().BackGroundColor(), 0x00445566u);
    EXPECT_EQ(u.Colors().NodeFontColor(), 0x00778899u);
    EXPECT_EQ(u.Colors().HeaderFontColor(), 0x00778899u);
}

TEST(Options, LegacyOptionNamesMapToTheNewSets)
{
    TBaseNodeTree t;
    t.ReadLegacyOptions({"voAutoSort", "voShowButtons", "voCheckSupport", "voNoSuchOption"});
    EXPECT_EQ(t.TreeOptions().PaintOptions(), TTVPaintOptions(toShowButtons));
    EXPECT_EQ(t.TreeOptions().AutoOptions(), TTVAutoOptions(toAutoSort));
    EXPECT_EQ(t.TreeOptions().MiscOptions(), TTVMiscOptions(toCheckSupport));
    EXPECT_EQ(t.TreeOptions().SelectionOptions(), 0u);
    EXPECT_EQ(t.TreeOptions().AnimationOptions(), 0u);
}

TEST(Options, AssignCopiesTheRootCountButNoNodeData)
{
    TBaseNodeTree source;
    source.SetNodeDataSize(16);
    source.SetDefaultNodeHeight(25);
    source.SetRootNodeCount(4);
    *static_cast<int*>(source.GetNodeData(source.GetFirstNoInit())) = 7;
    source.TreeOptions().SetMiscOptions(source.TreeOptions().MiscOptions() | toReadOnly);
    TBaseNodeTree t;
    t.Assign(source);
    EXPECT_EQ(t.RootNodeCount(), 4u);
    EXPECT_EQ(t.NodeDataSize(), 16);
    EXPECT_EQ(t.DefaultNodeHeight(), 25u);
    EXPECT_TRUE(t.TreeOptions().MiscOptions() & toReadOnly);
    EXPECT_EQ(*static_cast<int*>(t.GetNodeData(t.GetFirstNoInit())), 0);
    EXPECT_TREE_VALID(t);
    TBaseNodeTree other;
    other.Assign(t);  // copying from a read-only tree is fine; into one, nothing happens
    t.Assign(TBaseNodeTree());
    EXPECT_EQ(t.RootNodeCount(), 4u);
}

TEST(Options, DisplayPropertiesDefaultsAndAssign)
{
    TBaseNodeTree source;
    EXPECT_EQ(source.NodeAlignment(), naProportional);
    EXPECT_EQ(source.LineStyle(), lsDotted);
    EXPECT_EQ(source.ButtonStyle(), bsRectangle);
    EXPECT_EQ(source.ButtonFillMode(), fmTreeColor);
    EXPECT_EQ(source.DragOperations(), TDragOperations(doCopy | doMove));
    EXPECT_EQ(source.DefaultPasteMode(), amAddChildLast);
    EXPECT_EQ(source.AutoScrollInterval(), 1u);
    for (auto [given, kept] : {std::pair<uint32_t, uint32_t>{0, 1}, {500, 500}, {5000, 1000}}) {
        source.SetAutoScrollInterval(given);
        EXPECT_EQ(source.AutoScrollInterval(), kept) << given;
    }
    source.SetNodeAlignment(naFromTop);
    source.SetDefaultPasteMode(amInsertBefore);
    source.SetDragImageKind(diNoImage);
    source.SetSelectionCurveRadius(3);
    source.SetEmptyListMessage(QStringLiteral("nothing here"));
    source.SetLineStyle(lsSolid);  // not among the copied settings
    TBaseNodeTree t;
    t.Assign(source);
    EXPECT_EQ(t.NodeAlignment(), naFromTop);
    EXPECT_EQ(t.DefaultPasteMode(), amInsertBefore);
    EXPECT_EQ(t.DragImageKind(), diNoImage);
    EXPECT_EQ(t.SelectionCurveRadius(), 3u);
    EXPECT_EQ(t.EmptyListMessage(), QStringLiteral("nothing here"));
    EXPECT_EQ(t.AutoScrollInterval(), 1000u);
    EXPECT_EQ(t.LineStyle(), lsDotted);
}

TEST(Options, CheckedCountFollowsTheCheckedWalk)
{
    TBaseNodeTree t;
    std::vector<PTreeNode> nodes = AddChildren(t, nullptr, 3);
    AddChildren(t, nodes[1], 2);
    EXPECT_EQ(t.CheckedCount(), 0u);
    t.SetCheckType(nodes[0], ctCheckBox);
    t.SetCheckState(nodes[0], csCheckedNormal);
    t.SetCheckType(nodes[2], ctCheckBox);
    t.SetCheckState(nodes[2], csMixedNormal);  // not fully checked
    PTreeNode hidden = t.GetFirstChildNoInit(nodes[1]);
    t.SetCheckType(hidden, ctCheckBox);
    t.SetCheckState(hidden, csCheckedNormal);  // collapsed parents do not hide it
    EXPECT_EQ(t.CheckedCount(), 2u);
    EXPECT_EQ(t.CutCopyCount(), 0u);
}

TEST(Options, ThemeStatesFollowThePaintOptions)
{
    TBaseNodeTree t;
    EXPECT_TRUE(t.HasState(tsUseThemes));
    TCustomNodeTreeOptions& o = t.TreeOptions();
    o.SetPaintOptions(o.PaintOptions() | toUseExplorerTheme);
    EXPECT_TRUE(t.HasState(tsUseExplorerTheme));
    o.SetPaintOptions(o.PaintOptions() & ~(toUseExplorerTheme | toThemeAware));
    EXPECT_FALSE(t.HasState(tsUseExplorerTheme));
    EXPECT_FALSE(t.HasState(tsUseThemes));
    o.SetPaintOptions(o.PaintOptions() | toUseExplorerTheme);
    EXPECT_FALSE(t.HasState(tsUseExplorerTheme)) << "no explorer theme without themes";
    o.SetPaintOptions(o.PaintOptions() | toThemeAware);
    EXPECT_TRUE(t.HasState(tsUseThemes));
}
