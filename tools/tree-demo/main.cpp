// Shows a string tree laid out like the scanner's result view: meters on the first level, a few
// readings below each, three columns (ID, value, unit) under a header. Each node's record lives in
// the node's own data; texts, sorting and editing go through the tree's events on that data.
//
//   tree-demo [meters] [values-per-meter]      (defaults: 100000 meters, 4 readings each)
//
// A header click sorts by its column (again for the other direction); F2 edits a reading.
#include "controls/tree/StringTree.h"
#include "platform/Guard.h"

#include <QWidget>
#include <cstdint>

namespace {

using namespace tree;

// The reading first, so that anything written over the start of the node's data shows at once.
struct MeterRecord {
    double Value;
    uint32_t Id;
    uint32_t Unit;
};

const char* const Units[] = {"kWh", "m3", "degC", "W"};

uint32_t Values_Per_Meter = 4;

// Addresses and readings in no particular order, the same on every run.
uint32_t Scramble(uint32_t x)
{
    x ^= x >> 16;
    x *= 0x45d9f3bu;
    x ^= x >> 16;
    return x;
}

QString Value_Text(const MeterRecord& r) { return QString::number(r.Value, 'f', 2); }

void Set_Up(TNodeStringTree* tree, uint32_t meters)
{
    tree->SetNodeDataSize(sizeof(MeterRecord));
    TTVHeader& h = tree->Header();
    for (const auto& [text, width] : {std::pair{"ID", 200}, {"Value", 140}, {"Unit", 80}}) {
        TNodeTreeColumn* c = h.Columns().Add();
        c->SetText(QString::fromLatin1(text));
        c->SetWidth(width);
    }
    h.SetOptions(h.Options() | hoVisible | hoHeaderClickAutoSort);
    auto& o = tree->TreeOptions();
    o.SetMiscOptions(o.MiscOptions() | toEditable);
    o.SetSelectionOptions(o.SelectionOptions() | toExtendedFocus);

    tree->OnInitNode = [](TBaseNodeTree* t, PTreeNode parent, PTreeNode node, TTreeNodeInitStates& states) {
        auto* r = t->GetNodeData<MeterRecord>(node);
        if (!parent) {
            states |= ivsHasChildren;
            r->Id = node->Index + 1;
            r->Value = double(Scramble(node->Index) % 100000) / 100.0;
            r->Unit = 0;
        } else {
            const MeterRecord* p = t->GetNodeData<MeterRecord>(parent);
            r->Id = p->Id * 100 + node->Index + 1;
            r->Value = p->Value + (node->Index + 1) * 1.25;
            r->Unit = node->Index % 4;
        }
    };
    tree->OnInitChildren = [](TBaseNodeTree*, PTreeNode, uint32_t& count) { count = Values_Per_Meter; };
    tree->OnGetText = [](TBaseNodeTree* t, PTreeNode node, TColumnIndex column, TVSTTextType type, QString& text) {
        if (type != ttNormal)
            return;
        const auto* r = t->GetNodeData<MeterRecord>(node);
        const bool meter = t->GetNodeLevel(node) == 0;
        switch (column) {
        case 0: text = meter ? QStringLiteral("Meter %1").arg(r->Id) : QStringLiteral("Record %1").arg(r->Id); break;
        case 1: text = Value_Text(*r); break;
        default: text = meter ? QString() : QString::fromLatin1(Units[r->Unit]); break;
        }
    };
    tree->OnCompareNodes = [](TBaseNodeTree* t, PTreeNode a, PTreeNode b, TColumnIndex column, int& result) {
        const auto* ra = t->GetNodeData<MeterRecord>(a);
        const auto* rb = t->GetNodeData<MeterRecord>(b);
        if (column == 1)
            result = ra->Value < rb->Value ? -1 : ra->Value > rb->Value ? 1 : 0;
        else if (column == 2)
            result = int(ra->Unit) - int(rb->Unit);
        else
            result = ra->Id < rb->Id ? -1 : ra->Id > rb->Id ? 1 : 0;
    };
    tree->OnEditing = [](TBaseNodeTree*, PTreeNode, TColumnIndex column, bool& allowed) { allowed = column == 1; };
    tree->OnNewText = [](TBaseNodeTree* t, PTreeNode node, TColumnIndex column, const QString& text) {
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (column == 1 && ok)
            t->GetNodeData<MeterRecord>(node)->Value = value;
    };
    tree->SetRootNodeCount(meters);
}

}  // namespace

int main(int argc, char** argv)
{
    platform::TApplication app(argc, argv);
    const uint32_t meters = argc > 1 ? uint32_t(std::max(1, atoi(argv[1]))) : 100000;
    if (argc > 2)
        Values_Per_Meter = uint32_t(std::max(0, atoi(argv[2])));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Tree demo"));
    window.resize(460, 400);
    auto* tree = new TNodeStringTree(&window);
    tree->SetBounds(0, 0, 460, 400);
    Set_Up(tree, meters);
    window.show();
    tree->setFocus();
    tree->SetFocusedNode(tree->GetFirstChild(nullptr));
    return app.exec();
}
