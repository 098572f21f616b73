// The tree as a user sees it: a meter list whose records live in the nodes' data, shown in a
// window whose kept pixels only the tree's own invalidations repaint, driven by keys through the
// window's focus routing and by real clicks. After each action the screen must show what a fresh
// paint of the same state shows.
#include "controls/tree/TreeEdit.h"
#include "support/FakeClock.h"
#include "support/ScreenView.h"

#include <QScrollBar>
#include <QTest>
#include <cstring>
#include <gtest/gtest.h>

namespace {

using namespace tree;
using testsupport::ScreenView;

// What the scanner keeps per node: the reading first, so that anything written over the start
// of the caller's bytes shows as a wrong value.
struct MeterRecord {
    double Value;
    uint32_t Id;
    uint32_t Unit;
};

const char* const Units[] = {"kWh", "m3", "degC"};

constexpr int Meters = 4;
constexpr int ValuesPerMeter = 8;

// Meters on the first level, their readings below; three columns: name, value, unit.
struct MeterView {
    MeterView()
    {
        Window.resize(320, 200);
        Tree = new TNodeStringTree(&Window);
        Tree->SetBorderStyle(bsNone);
        Tree->SetBounds(0, 0, 320, 200);
        Tree->SetNodeDataSize(sizeof(MeterRecord));
        TTVHeader& h = Tree->Header();
        for (const auto& [text, width] : {std::pair{"ID", 130}, {"Value", 100}, {"Unit", 70}}) {
            TNodeTreeColumn* c = h.Columns().Add();
            c->SetText(QString::fromLatin1(text));
            c->SetWidth(width);
        }
        h.SetOptions(h.Options() | hoVisible | hoHeaderClickAutoSort);
        auto& o = Tree->TreeOptions();
        o.SetMiscOptions(o.MiscOptions() | toEditable);
        o.SetSelectionOptions(o.SelectionOptions() | toExtendedFocus);
        Tree->OnInitNode = [](TBaseNodeTree* t, PTreeNode parent, PTreeNode node, TTreeNodeInitStates& states) {
            auto* r = t->GetNodeData<MeterRecord>(node);
            if (!parent) {
                states |= ivsHasChildren;
                // Meters arrive in no particular order of address or reading.
                r->Id = 0x10 + (node->Index * 3) % Meters;
                r->Value = MeterValue(r->Id);
            } else {
                const MeterRecord* p = t->GetNodeData<MeterRecord>(parent);
                r->Id = p->Id * 100 + node->Index;
                r->Value = ExpectedValue(p->Id, node->Index);
                r->Unit = node->Index % 3;
            }
        };
        Tree->OnInitChildren = [](TBaseNodeTree*, PTreeNode, uint32_t& count) { count = ValuesPerMeter; };
        Tree->OnGetText = [](TBaseNodeTree* t, PTreeNode node, TColumnIndex column, TVSTTextType type, QString& text) {
            if (type != ttNormal)
                return;
            const auto* r = t->GetNodeData<MeterRecord>(node);
            const bool meter = t->GetNodeLevel(node) == 0;
            switch (column) {
            case 0: text = meter ? QStringLiteral("Meter 0x%1").arg(r->Id, 2, 16) : QStringLiteral("Record %1").arg(r->Id); break;
            case 1: text = meter ? QString() : QString::number(r->Value, 'f', 2); break;
            default: text = meter ? QString() : QString::fromLatin1(Units[r->Unit]); break;
            }
        };
        Tree->OnCompareNodes = [this](TBaseNodeTree* t, PTreeNode a, PTreeNode b, TColumnIndex column, int& result) {
            Compares.push_back({column, t->Header().SortDirection});
            const auto* ra = t->GetNodeData<MeterRecord>(a);
            const auto* rb = t->GetNodeData<MeterRecord>(b);
            const double x = column == 1 ? ra->Value : ra->Id;
            const double y = column == 1 ? rb->Value : rb->Id;
            result = x < y ? -1 : x > y ? 1 : 0;
        };
        Tree->OnNewText = [](TBaseNodeTree* t, PTreeNode node, TColumnIndex column, const QString& text) {
            if (column == 1)
                t->GetNodeData<MeterRecord>(node)->Value = text.toDouble();
        };
        Tree->SetRootNodeCount(Meters);
    }
    ~MeterView() { delete Tree; }

    static double MeterValue(uint32_t id) { return 1000.0 + (id * 7) % 5; }
    static double ExpectedValue(uint32_t meterId, uint32_t index) { return meterId * 10.0 + index * 1.25 + 0.01; }

    PTreeNode Meter(int i)
    {
        PTreeNode n = Tree->GetFirstChild(nullptr);
        while (n && i-- > 0)
            n = Tree->GetNextSibling(n);
        return n;
    }
    const MeterRecord& Record(PTreeNode n) { return *Tree->GetNodeData<MeterRecord>(n); }
    std::vector<uint32_t> TopLevelIds()
    {
        std::vector<uint32_t> ids;
        for (PTreeNode n = Tree->GetFirstChild(nullptr); n; n = Tree->GetNextSibling(n))
            ids.push_back(Record(n).Id);
        return ids;
    }

    // What the client area shows after a complete repaint of the present state.
    QImage Fresh() const { return Tree->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QScrollBar* VerticalBar() const
    {
        for (QScrollBar* bar : Tree->findChildren<QScrollBar*>())
            if (bar->orientation() == Qt::Vertical)
                return bar;
        return nullptr;
    }
    bool VerticalBarShown() const
    {
        QScrollBar* bar = VerticalBar();
        return bar && bar->isVisible() && bar->maximum() > bar->minimum();
    }
    // The point on a node's expand button, found through the tree's own hit test.
    QPoint ButtonOf(PTreeNode node)
    {
        const QRect row = Tree->GetDisplayRect(node, NoColumn, false);
        for (int x = row.left(); x < row.right(); ++x) {
            THitInfo hit;
            Tree->GetHitTestInfoAt(x, row.center().y(), true, hit);
            if (hit.HitNode == node && (hit.HitPositions & hiOnItemButton))
                return QPoint(x + 2, row.center().y());
        }
        ADD_FAILURE() << "no button found";
        return {};
    }
    void ClickHeader(int x)
    {
        QWidget* strip = Tree->NonClientStrip();
        QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(x, strip->height() / 2));
        ScreenView::Settle();
    }

    FakeClock Clock;
    QWidget Window;
    TNodeStringTree* Tree;
    std::vector<std::pair<TColumnIndex, TSortDirection>> Compares;
};

#define EXPECT_SCREEN_CURRENT(view_, m_) \
    EXPECT_TRUE((view_).Image((m_).Tree->viewport()) == (m_).Fresh()) << "the screen still shows an old picture"

TEST(OnScreen, PaintingLeavesTheCallersNodeDataAlone)
{
    MeterView m;
    ScreenView view(&m.Window);
    m.Tree->FullExpand();
    m.Tree->SetFocusedNode(m.Meter(0));
    ScreenView::Settle();
    for (int i = 0; i < Meters; ++i) {
        PTreeNode meter = m.Meter(i);
        EXPECT_EQ(m.Record(meter).Value, MeterView::MeterValue(m.Record(meter).Id));
        uint32_t index = 0;
        for (PTreeNode v = m.Tree->GetFirstChild(meter); v; v = m.Tree->GetNextSibling(v), ++index) {
            EXPECT_EQ(m.Record(v).Value, MeterView::ExpectedValue(m.Record(meter).Id, index)) << i << "/" << index;
            EXPECT_EQ(m.Record(v).Id, m.Record(meter).Id * 100 + index);
        }
    }

    // Eight bytes of caller data, as the scanner stores them, in a tree that paints them.
    TNodeStringTree plain(&m.Window);
    plain.SetNodeDataSize(8);
    plain.SetBounds(0, 0, 200, 100);
    PTreeNode node = plain.AddChild(nullptr);
    const uint64_t pattern = 0x1122334455667788ull;
    std::memcpy(plain.GetNodeData(node), &pattern, sizeof(pattern));
    plain.show();
    plain.repaint();
    uint64_t after = 0;
    std::memcpy(&after, plain.GetNodeData(node), sizeof(after));
    EXPECT_EQ(after, pattern);
    const int width = plain.DoGetNodeWidth(node, NoColumn);
    EXPECT_GT(width, 0) << "the cached text width lives in its own area";
    EXPECT_LT(width, 200);
}

TEST(OnScreen, ExpandingAndCollapsingRepaintAndSetTheScrollBar)
{
    MeterView m;
    ScreenView view(&m.Window);
    m.Tree->setFocus();
    m.Tree->SetFocusedNode(m.Meter(0));
    ScreenView::Settle();
    ASSERT_FALSE(m.VerticalBarShown()) << "four meters fit";

    view.Key(Qt::Key_Right);
    ASSERT_TRUE(m.Meter(0)->Has(vsExpanded));
    EXPECT_SCREEN_CURRENT(view, m);
    EXPECT_TRUE(m.VerticalBarShown()) << "twelve rows do not fit";

    view.Key(Qt::Key_Left);
    ASSERT_FALSE(m.Meter(0)->Has(vsExpanded));
    EXPECT_SCREEN_CURRENT(view, m);
    EXPECT_FALSE(m.VerticalBarShown());

    // The same with the mouse on the last meter's button: its values are scrolled into view.
    const QPoint button = m.ButtonOf(m.Meter(Meters - 1));
    QTest::mouseClick(m.Tree->viewport(), Qt::LeftButton, {}, button);
    ScreenView::Settle();
    ASSERT_TRUE(m.Meter(Meters - 1)->Has(vsExpanded));
    EXPECT_SCREEN_CURRENT(view, m);
    EXPECT_TRUE(m.VerticalBarShown());
    PTreeNode lastValue = m.Tree->GetLastChild(m.Meter(Meters - 1));
    EXPECT_LE(m.Tree->GetDisplayRect(lastValue, NoColumn, false).bottom(), m.Tree->ClientHeight())
        << "auto scroll on expand shows the new children";

    QTest::mouseClick(m.Tree->viewport(), Qt::LeftButton, {}, m.ButtonOf(m.Meter(Meters - 1)));
    ScreenView::Settle();
    ASSERT_FALSE(m.Meter(Meters - 1)->Has(vsExpanded));
    EXPECT_SCREEN_CURRENT(view, m);
    EXPECT_FALSE(m.VerticalBarShown());
}

TEST(OnScreen, AHeaderClickSortsOnceAndRepaints)
{
    MeterView m;
    ScreenView view(&m.Window);
    const int idColumn = 60, valueColumn = 180;

    m.ClickHeader(idColumn);
    EXPECT_EQ(m.TopLevelIds(), (std::vector<uint32_t>{0x10, 0x11, 0x12, 0x13}));
    EXPECT_SCREEN_CURRENT(view, m);

    m.ClickHeader(idColumn);
    EXPECT_EQ(m.Tree->Header().SortDirection, sdDescending);
    EXPECT_EQ(m.TopLevelIds(), (std::vector<uint32_t>{0x13, 0x12, 0x11, 0x10}));
    EXPECT_SCREEN_CURRENT(view, m);

    // A new column with its own default direction: one sort, in that direction.
    m.Compares.clear();
    m.ClickHeader(valueColumn);
    EXPECT_EQ(m.Tree->Header().SortColumn, 1);
    EXPECT_EQ(m.Tree->Header().SortDirection, sdAscending);
    ASSERT_FALSE(m.Compares.empty());
    for (const auto& [column, direction] : m.Compares) {
        EXPECT_EQ(column, 1);
        EXPECT_EQ(direction, sdAscending) << "the tree was sorted once more than needed";
    }
    EXPECT_EQ(m.TopLevelIds(), (std::vector<uint32_t>{0x12, 0x10, 0x13, 0x11})) << "meters by reading";
    EXPECT_SCREEN_CURRENT(view, m);
}

TEST(OnScreen, F2EditsTheValueInAnEditorOfTheRowsHeight)
{
    MeterView m;
    ScreenView view(&m.Window);
    m.Tree->setFocus();
    m.Tree->ToggleNode(m.Meter(1));
    PTreeNode value = m.Tree->GetFirstChild(m.Meter(1));
    value = m.Tree->GetNextSibling(value);
    ScreenView::Settle();
    QTest::mouseClick(m.Tree->viewport(), Qt::LeftButton, {}, m.Tree->GetDisplayRect(value, 1, false).center());
    ScreenView::Settle();
    ASSERT_EQ(m.Tree->FocusedNode(), value);
    ASSERT_EQ(m.Tree->FocusedColumn(), 1);

    view.Key(Qt::Key_F2);
    m.Clock.Advance(m.Tree->EditDelay());
    ASSERT_TRUE(m.Tree->IsEditing());
    auto* link = dynamic_cast<TStringEditLink*>(m.Tree->EditLink());
    ASSERT_NE(link, nullptr);
    TTVEdit* editor = link->Edit();
    ASSERT_NE(editor, nullptr);
    const QRect row = m.Tree->GetDisplayRect(value, 1, false);
    const QRect box = editor->geometry();
    EXPECT_EQ(editor->text(), QStringLiteral("171.26")) << "the second reading of meter 0x11";
    // The row's height, or the text's with the tree's margins when that is taller.
    const int textHeight = QFontMetrics(editor->font()).height() + 2 * m.Tree->TextMargin();
    EXPECT_LE(box.height(), std::max(row.height(), textHeight)) << "editor " << box.height() << " px on a row of "
                                                                 << row.height();
    EXPECT_GE(box.top(), row.top() - 1);
    EXPECT_LE(box.top(), row.top() + m.Tree->TextMargin());
    EXPECT_GE(box.left(), row.left());
    EXPECT_SCREEN_CURRENT(view, m);

    view.Type(QStringLiteral("7.5"));
    view.Key(Qt::Key_Return);
    EXPECT_FALSE(m.Tree->IsEditing());
    EXPECT_EQ(m.Record(value).Value, 7.5);
    EXPECT_TRUE(m.Tree->hasFocus()) << "the tree takes the focus back";
    EXPECT_SCREEN_CURRENT(view, m);
}

}  // namespace
