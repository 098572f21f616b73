// The scanner window's result views: the progress list, the wireless table and the two result
// trees, and the key entry of an encrypted wireless meter.
#include "protocols/mbus/UScanDecode.h"

#include "controls/tree/StringTree.h"
#include "grid/core/CellGraphic.h"
#include "grid/core/ExtStringGrid.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/TCanvas.h"
#include "protocols/mbus/UInsertKeyWireless.h"
#include "protocols/mbus/UMBusScanDecode.h"
#include "shell/ULanguage.h"

#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

using namespace tree;

// What a node of a result tree shows: a meter, one of its records, or a detail line of a record.
struct TResultNode {
    int Meter = -1;
    int Record = -1;
    int Detail = -1;
    int Level() const { return Detail >= 0 ? 2 : Record >= 0 ? 1 : 0; }
};

// Draws a progress line: found addresses in blue, missing ones in red in two columns.
class TProgressDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QString line = index.data().toString();
        const QRect r = option.rect;
        p->save();
        p->fillRect(r, option.state & QStyle::State_Selected ? option.palette.highlight() : option.palette.base());
        const int not_found = line.indexOf(Not_Found_Mark);
        if (not_found < 0) {
            p->setPen(QColor(0, 0, 255));
            p->drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
        } else {
            p->setPen(QColor(255, 0, 0));
            const int bracket = line.indexOf(u'[');
            p->drawText(QRect(r.left(), r.top(), 70, r.height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                        line.left(bracket).trimmed());
            p->drawText(QRect(r.left() + 70, r.top(), r.width() - 71, r.height()),
                        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line.mid(std::max(0, bracket - 1)).trimmed());
        }
        p->restore();
    }
};

QImage Dot(QColor colour)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(colour.darker());
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    return image;
}

// The pictures of the trees' levels: a meter, a record, a detail line.
std::unique_ptr<platform::TImageList> Level_Images()
{
    auto list = std::make_unique<platform::TImageList>(16, 16);
    const QColor colours[] = {QColor(60, 110, 190), QColor(70, 160, 90), QColor(150, 150, 150)};
    for (int level = 0; level < 3; ++level) {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setPen(colours[level].darker());
        p.setBrush(colours[level]);
        const int inset = 2 + level * 2;
        p.drawRect(QRect(inset, inset, 15 - 2 * inset, 15 - 2 * inset));
        list->Add(image);
    }
    return list;
}

void Set_Up_Tree(TNodeStringTree* t, platform::TImageList* images)
{
    t->SetNodeDataSize(sizeof(TResultNode));
    auto& o = t->TreeOptions();
    o.SetMiscOptions(o.MiscOptions() | toCheckSupport);
    o.SetSelectionOptions(o.SelectionOptions() | toMultiSelect);
    t->SetImages(images);
    t->OnGetImageIndex = [](TBaseNodeTree* tree, PTreeNode node, TTVImageKind kind, TColumnIndex, bool&, int& index) {
        if (kind == ikNormal || kind == ikSelected)
            index = int(tree->GetNodeLevel(node));
    };
}

}  // namespace

void TFScanDecode::Create_Views(const grid::TGridLayers& gridLayers)
{
    P_TreeView = new QWidget(this);
    P_TreeView->setObjectName(QStringLiteral("P_TreeView"));
    P_TreeView->setAutoFillBackground(true);
    L_ScanProgress = new QLabel(P_TreeView);
    L_ScanProgress->setObjectName(QStringLiteral("L_ScanProgress"));
    L_ScanProgress->setGeometry(16, 8, 160, 16);
    L_Num_Slave = new QLabel(P_TreeView);
    L_Num_Slave->setObjectName(QStringLiteral("L_Num_Slave"));
    L_Num_Slave->setGeometry(180, 8, 100, 16);
    L_AvailableDevice = new QLabel(P_TreeView);
    L_AvailableDevice->setObjectName(QStringLiteral("L_AvailableDevice"));
    L_AvailableDevice->setGeometry(16, 32, 300, 16);
    LB_AvailableDevice = new QListWidget(P_TreeView);
    LB_AvailableDevice->setObjectName(QStringLiteral("LB_AvailableDevice"));
    LB_AvailableDevice->setItemDelegate(new TProgressDelegate(LB_AvailableDevice));
    LB_AvailableDevice->setUniformItemSizes(true);
    LB_AvailableDevice->setGeometry(16, 52, 420, 340);
    VST = new TNodeStringTree(P_TreeView);
    VST->setObjectName(QStringLiteral("VST"));
    VST->SetBounds(16, 32, 968, 370);
    FLevelImages = Level_Images();
    Set_Up_Tree(VST, FLevelImages.get());
    VST->OnInitNode = [this](TBaseNodeTree* t, PTreeNode parent, PTreeNode node, TTreeNodeInitStates& states) {
        auto* d = t->GetNodeData<TResultNode>(node);
        *d = parent ? *t->GetNodeData<TResultNode>(parent) : TResultNode{int(node->Index)};
        if (parent && d->Record < 0)
            d->Record = int(node->Index);
        else if (parent)
            d->Detail = int(node->Index);
        const bool records = d->Record < 0 && size_t(d->Meter) < FWired.size() && !FWired[size_t(d->Meter)]->List_Var.empty();
        if (records || d->Level() == 1)
            states |= ivsHasChildren;
        node->SetCheckTypeField(ctCheckBox);
        const bool checked = d->Level() == 2 || FWiredMarks.Checked(d->Meter, d->Level() == 0 ? TScanMarks::Whole_Meter : d->Record);
        node->SetCheckStateField(checked ? csCheckedNormal : csUncheckedNormal);
    };
    VST->OnInitChildren = [this](TBaseNodeTree* t, PTreeNode node, uint32_t& count) {
        const auto* d = t->GetNodeData<TResultNode>(node);
        count = 0;
        if (d->Level() == 0 && size_t(d->Meter) < FWired.size())
            count = uint32_t(FWired[size_t(d->Meter)]->List_Var.size());
        else if (d->Level() == 1)
            count = Record_Detail_Count;
    };
    VST->OnGetText = [this](TBaseNodeTree* t, PTreeNode node, TColumnIndex, TVSTTextType, QString& text) {
        const auto* d = t->GetNodeData<TResultNode>(node);
        if (size_t(d->Meter) >= FWired.size())
            return;
        const TSlave_MBus& m = *FWired[size_t(d->Meter)];
        if (d->Level() == 0)
            text = Wired_Meter_Text(m);
        else if (size_t(d->Record) < m.List_Var.size())
            text = d->Level() == 1 ? Record_Text(*m.List_Var[size_t(d->Record)])
                                   : Record_Detail_Text(*m.List_Var[size_t(d->Record)], d->Detail);
    };
    VST->OnChecked = [this](TBaseNodeTree* t, PTreeNode node) {
        const auto* d = t->GetNodeData<TResultNode>(node);
        const TCheckState state = node->CheckState();
        if (d->Level() < 2 && (state == csCheckedNormal || state == csUncheckedNormal))
            FWiredMarks.Set(d->Meter, d->Level() == 0 ? TScanMarks::Whole_Meter : d->Record, state == csCheckedNormal);
    };

    P_View_Wireless = new QWidget(this);
    P_View_Wireless->setObjectName(QStringLiteral("P_View_Wireless"));
    P_View_Wireless->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(P_View_Wireless);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    P_W_Title = new QWidget(P_View_Wireless);
    P_W_Title->setObjectName(QStringLiteral("P_W_Title"));
    P_W_Title->setFixedHeight(8);
    layout->addWidget(P_W_Title);
    P_W_Split = new QSplitter(Qt::Vertical, P_View_Wireless);
    layout->addWidget(P_W_Split, 1);
    ESG_Wireless = new grid::TExtStringGrid;
    ESG_Wireless->setObjectName(QStringLiteral("ESG_Wireless"));
    ESG_Wireless->SetLayers(gridLayers);
    ESG_Wireless->WordWrap = false;
    P_W_Split->addWidget(ESG_Wireless);
    ESG_Wireless->SetColCount(Wireless_Columns);
    ESG_Wireless->SetRowCount(2);
    ESG_Wireless->SetFixedRows(1);
    ESG_Wireless->SetFixedCols(0);
    ESG_Wireless->Options |= grid::goRowSelect;
    static constexpr int Widths[Wireless_Columns] = {40, 65, 90, 120, 90, 85, 110, 120, 90, 85, 110, 50, 70};
    static constexpr const char* Headers[Wireless_Columns] = {
        "N", "Date Time", "Message Type", "Manufacturer (LLA)", "Address (LLA)", "Version (LLA)", "Device Type (LLA)",
        "Manufacturer (ALA)", "Address (ALA)", "Version (ALA)", "Device Type (ALA)", "RSSI", "Cripted"};
    for (int c = 0; c < Wireless_Columns; ++c) {
        ESG_Wireless->SetColWidths(c, Widths[c]);
        ESG_Wireless->SetCells(c, 0, QLatin1String(Headers[c]));
    }
    FWirelessImages = std::make_unique<grid::TGridImageList>(16, 16);
    FWirelessImages->List.Add(Dot(QColor(220, 40, 40)));
    FWirelessImages->List.Add(Dot(QColor(40, 170, 40)));
    ESG_Wireless->GridImages = FWirelessImages.get();
    ESG_Wireless->OnClickCell = [this](grid::TExtStringGrid*, int r, int c) {
        platform::Guarded([&] { ESG_WirelessClickCell(r, c); });
    };
    ESG_Wireless->OnDblClickCell = [this](grid::TExtStringGrid*, int r, int c) {
        platform::Guarded([&] { ESG_WirelessDblClickCell(r, c, QCursor::pos()); });
    };
    VST_Wireless = new TNodeStringTree;
    VST_Wireless->setObjectName(QStringLiteral("VST_Wireless"));
    P_W_Split->addWidget(VST_Wireless);
    P_W_Split->setSizes({200, 300});
    Set_Up_Tree(VST_Wireless, FLevelImages.get());
    VST_Wireless->OnInitNode = [this](TBaseNodeTree* t, PTreeNode parent, PTreeNode node, TTreeNodeInitStates& states) {
        auto* d = t->GetNodeData<TResultNode>(node);
        *d = parent ? *t->GetNodeData<TResultNode>(parent) : TResultNode{FShownWireless};
        if (parent && d->Record < 0)
            d->Record = int(node->Index);
        else if (parent)
            d->Detail = int(node->Index);
        if (!FWirelessMeter)
            return;
        if ((d->Level() == 0 && !FWirelessMeter->List_Var.empty()) || d->Level() == 1)
            states |= ivsHasChildren;
        if (d->Level() == 2)
            return;
        node->SetCheckTypeField(ctCheckBox);
        const bool enabled = d->Level() == 0 ? FWirelessMeter->Enable
                                             : size_t(d->Record) < FWirelessMeter->List_Var.size() &&
                                                   FWirelessMeter->List_Var[size_t(d->Record)]->Enable;
        const bool checked =
            enabled && FWirelessMarks.Checked(d->Meter, d->Level() == 0 ? TScanMarks::Whole_Meter : d->Record);
        node->SetCheckStateField(checked ? csCheckedNormal : csUncheckedNormal);
    };
    VST_Wireless->OnInitChildren = [this](TBaseNodeTree* t, PTreeNode node, uint32_t& count) {
        const auto* d = t->GetNodeData<TResultNode>(node);
        count = 0;
        if (d->Level() == 0 && FWirelessMeter)
            count = uint32_t(FWirelessMeter->List_Var.size());
        else if (d->Level() == 1)
            count = Record_Detail_Count;
    };
    VST_Wireless->OnGetText = [this](TBaseNodeTree* t, PTreeNode node, TColumnIndex, TVSTTextType, QString& text) {
        const auto* d = t->GetNodeData<TResultNode>(node);
        if (!FWirelessMeter)
            return;
        if (d->Level() == 0)
            text = Wireless_Meter_Text(*FWirelessMeter);
        else if (size_t(d->Record) < FWirelessMeter->List_Var.size()) {
            const TVariable_MBus& v = *FWirelessMeter->List_Var[size_t(d->Record)];
            text = d->Level() == 1 ? Wireless_Record_Text(v) : Record_Detail_Text(v, d->Detail);
        }
    };
    VST_Wireless->OnChecked = [this](TBaseNodeTree* t, PTreeNode node) {
        const auto* d = t->GetNodeData<TResultNode>(node);
        const TCheckState state = node->CheckState();
        if (d->Meter < 0 || d->Level() == 2 || (state != csCheckedNormal && state != csUncheckedNormal))
            return;
        FWirelessMarks.Set(d->Meter, d->Level() == 0 ? TScanMarks::Whole_Meter : d->Record, state == csCheckedNormal);
    };
}

void TFScanDecode::Update_List_of_Device(int Event, int Id, int Found, int Kind)
{
    if (const auto line = Progress_Line(Event, Id, Found, Kind))
        LB_AvailableDevice->addItem(*line);
    if (LB_AvailableDevice->count() > 0)
        LB_AvailableDevice->scrollToItem(LB_AvailableDevice->item(LB_AvailableDevice->count() - 1),
                                         QAbstractItemView::PositionAtTop);
}

void TFScanDecode::Update_Grid_Wireless(int Index, const TSlave_wMBus* Meter)
{
    if (Index < 0)
        return;
    std::unique_ptr<TSlave_wMBus> fresh;
    if (!Meter) {
        fresh = Snapshot_Wireless_Meter(*FEngine, Index);
        Meter = fresh.get();
    }
    if (!Meter)
        return;
    FPending[Index] = Wireless_Row(Index, *Meter);
    if (!FRefresh.IsActive())
        FRefresh.Start(Wireless_Refresh_Ms, this, [this] { platform::Guarded([this] { Flush_Wireless(); }); });
}

void TFScanDecode::Flush_Wireless()
{
    FRefresh.Stop();
    if (FPending.empty())
        return;
    ++FRefreshes;
    std::map<int, TWirelessRow> rows;
    rows.swap(FPending);
    ESG_Wireless->BeginUpdate();
    for (const auto& [index, row] : rows) {
        Show_Wireless_Row(row);
        FRows[index] = row;
    }
    ESG_Wireless->EndUpdate();
    if (rows.count(FShownWireless))
        Refresh_Shown_Wireless();
}

void TFScanDecode::Show_Wireless_Row(const TWirelessRow& row)
{
    const int r = row.Index + 1;
    if (ESG_Wireless->RowCount() < r + 1)
        ESG_Wireless->SetRowCount(r + 1);
    const QStringList texts = Wireless_Row_Texts(row);
    const platform::TColor colour =
        row.Cripted ? platform::RGBToColor(255, 187, 185) : platform::RGBToColor(168, 255, 168);
    for (int c = 0; c < Wireless_Columns; ++c) {
        ESG_Wireless->SetCells(c, r, c < texts.size() ? texts[c] : QString());
        ESG_Wireless->SetColors(c, r, colour);
    }
    ESG_Wireless->AddImageIdx(Wireless_Columns - 1, r, row.Cripted ? 0 : 1, grid::haCenter, grid::vaCenter);
}

void TFScanDecode::ESG_WirelessClickCell(int ARow, int)
{
    if (ARow >= 1 && FRows.count(ARow - 1))
        Show_Slave_in_Tree_Wireless(ARow - 1);
}

void TFScanDecode::Show_Slave_in_Tree_Wireless(int meter)
{
    VST_Wireless->Clear();
    FWirelessMeter = Snapshot_Wireless_Meter(*FEngine, meter);
    FShownWireless = FWirelessMeter ? meter : -1;
    if (FWirelessMeter)
        VST_Wireless->SetRootNodeCount(1);
}

void TFScanDecode::Refresh_Shown_Wireless()
{
    // The meter's records were replaced by a newer telegram: the tree shows the new copy; the
    // check marks stay with their positions.
    const PTreeNode root = VST_Wireless->GetFirstChildNoInit(nullptr);
    const bool expanded = root && VST_Wireless->GetExpanded(root);
    VST_Wireless->BeginUpdate();
    Show_Slave_in_Tree_Wireless(FShownWireless);
    if (expanded)
        if (const PTreeNode fresh = VST_Wireless->GetFirstChild(nullptr))
            VST_Wireless->SetExpanded(fresh, true);
    VST_Wireless->EndUpdate();
}

void TFScanDecode::Show_Slave_in_Tree()
{
    FWired = Snapshot_Wired(*FEngine);
    L_Num_Slave->setText(QString::number(FWired.size()));
    VST->Clear();
    VST->SetRootNodeCount(uint32_t(FWired.size()));
}

void TFScanDecode::ESG_WirelessDblClickCell(int ARow, int, QPoint mouse)
{
    if (ARow < 1)
        return;
    const std::unique_ptr<TSlave_wMBus> meter = Snapshot_Wireless_Meter(*FEngine, ARow - 1);
    if (!meter || !meter->Cripted)
        return;
    TFInsertKeyWireless* dialog = FInsertKeyWireless();
    // At the mouse, moved back inside the window's client area where it would overhang.
    const QRect client(mapToGlobal(QPoint(0, 0)), size());
    QPoint at = mouse;
    at.setX(std::max(client.left(), std::min(at.x(), client.right() + 1 - dialog->width())));
    at.setY(std::max(client.top(), std::min(at.y(), client.bottom() + 1 - dialog->height())));
    dialog->Place_At = at;
    if (dialog->ShowModal() == platform::mrOk)
        Insert_Key(ARow - 1, dialog->E_Key->text());
}

void TFScanDecode::Insert_Key(int meter, const QString& key)
{
    if (FEngine->Insert_Wireless_Key(meter, Key_Bytes(key)))
        FKeyPending = true;
    else
        platform::MessageDlg(shell::Lang(3343), platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
}
