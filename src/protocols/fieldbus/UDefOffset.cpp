#include "protocols/fieldbus/UDefOffset.h"

#include "controls/buttons_pages/PicButton.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "shell/UComon.h"
#include "shell/USetupWindow.h"
#include "shell/ULanguage.h"
#include "shell/UWindowList.h"
#include "shell/UWindowLook.h"

#include <QLabel>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

using platform::MessageDlg;
using platform::TMsgDlgButtons;
using platform::TMsgDlgType;
using shell::Lang;

TFDefOffset* FDefOffset() { return shell::Window<TFDefOffset>(); }

namespace {

constexpr int kClientWidth = 482;
constexpr int kClientHeight = 610;

// Problems of a read, ten at most, as lines of one message.
QString Problem_Lines(const QStringList& problems)
{
    constexpr int kShown = 10;
    QStringList lines = problems.mid(0, kShown);
    if (problems.size() > kShown)
        lines.append(QStringLiteral("... and %1 more.").arg(problems.size() - kShown));
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

TFDefOffset::TFDefOffset(const grid::TGridLayers& gridLayers, QWidget* parent) : platform::TForm(parent)
{
    setObjectName(QStringLiteral("FDefOffset"));
    shell::Style_Window(this);
    P_Title = shell::Make_Step_Title(this, kClientWidth, L_SW_Code, L_SW_Desc);

    Panel1 = new QWidget;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    ACG_DN_Slaves = new grid::TExtColumnGrid;
    ACG_DN_Slaves->setObjectName(QStringLiteral("ACG_DN_Slaves"));
    ACG_DN_Slaves->SetLayers(gridLayers);
    auto* box1 = new QVBoxLayout(Panel1);
    box1->setContentsMargins(4, 4, 4, 0);
    box1->addWidget(Label1);
    box1->addWidget(ACG_DN_Slaves, 1);

    Panel3 = new QWidget;
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Label2 = new QLabel(Panel3);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(Panel3);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    PageControl1 = new QTabWidget(Panel3);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet1, QString());
    PageControl1->addTab(TabSheet2, QString());
    ACG_ByteIN = new grid::TExtColumnGrid;
    ACG_ByteIN->setObjectName(QStringLiteral("ACG_ByteIN"));
    ACG_ByteOUT = new grid::TExtColumnGrid;
    ACG_ByteOUT->setObjectName(QStringLiteral("ACG_ByteOUT"));
    for (auto [sheet, table] : {std::pair{TabSheet1, ACG_ByteIN}, std::pair{TabSheet2, ACG_ByteOUT}}) {
        table->SetLayers(gridLayers);
        auto* box = new QVBoxLayout(sheet);
        box->setContentsMargins(0, 0, 0, 0);
        table->setParent(sheet);
        box->addWidget(table);
        Build_Byte_Grid(table);
    }
    auto* box3 = new QVBoxLayout(Panel3);
    box3->setContentsMargins(4, 4, 4, 0);
    box3->addWidget(Label2);
    box3->addWidget(Label3);
    box3->addWidget(PageControl1, 1);

    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(Panel1);
    Splitter1->addWidget(Panel3);
    Splitter1->setSizes({162, kClientHeight - 69 - 40 - 162 - 3});
    Splitter1->setStretchFactor(1, 1);

    // The slave list: read-only, one row per slave, chosen by a click.
    ACG_DN_Slaves->EnableHTML = false;
    ACG_DN_Slaves->SetColCount(4);
    ACG_DN_Slaves->SetRowCount(1);
    ACG_DN_Slaves->SetFixedCols(0);
    ACG_DN_Slaves->SetDefaultRowHeight(21);
    ACG_DN_Slaves->Options &= ~grid::goEditing;
    for (int c = 0; c < 4; ++c) {
        ACG_DN_Slaves->Columns()[c]->ReadOnly = true;
        ACG_DN_Slaves->SetColWidths(c, c == 3 ? 160 : 100);
    }
    ACG_DN_Slaves->OnClickCell = [this](grid::TExtStringGrid*, int, int) {
        platform::Guarded([this] { ACG_DN_SlavesClick(); });
    };

    P_Button = shell::Make_Button_Panel(this);
    Btn_OK = shell::Make_Panel_Button(P_Button, "Btn_OK", 0);
    Btn_OK->OnClick = [this] { platform::Guarded([this] { bitbtn1Click(); }); };
    Btn_Cancel = shell::Make_Panel_Button(P_Button, "Btn_Cancel", 1);
    Btn_Cancel->SetModalResult(platform::mrCancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(P_Title);
    layout->addWidget(Splitter1, 1);
    layout->addWidget(P_Button);

    L_SW_Code->setText(shell::App_State.SW_Code);
    SetClientSize(kClientWidth, kClientHeight);
    PageControl1->setCurrentWidget(TabSheet1);
    Set_Lang();
    shell::Apply_Window_Look(this);
    // Escape leaves a list or a cell; only Cancel throws the edits away.
    SetEscapeCloses(false);
    shell::Set_OK_Glyph(Btn_OK);
}

TFDefOffset::~TFDefOffset() = default;

void TFDefOffset::Build_Byte_Grid(grid::TExtColumnGrid* grid)
{
    grid->EnableHTML = false;
    grid->SetColCount(3);
    grid->SetRowCount(1);
    grid->SetFixedRows(1);
    grid->SetFixedCols(1);
    grid->SetDefaultRowHeight(21);
    grid->Options |= grid::goEditing;
    grid->Columns()[0]->SetFixed(true);
    grid->Columns()[1]->SetEditor(grid::edComboList);
    grid->Columns()[1]->DropDownCount = 8;
    grid->SetColWidths(0, 60);
    grid->SetColWidths(1, 90);
    grid->SetColWidths(2, 300);
}

void TFDefOffset::Set_Lang()
{
    SetCaption(Lang(2900));
    L_SW_Desc->setText(Lang(2901));
    Btn_OK->SetCaption(Lang(2902));
    Btn_Cancel->SetCaption(Lang(2903));
    Btn_OK->SetHint(Lang(2904));
    Btn_Cancel->SetHint(Lang(2905));
    PageControl1->setTabText(0, Lang(2906));
    PageControl1->setTabText(1, Lang(2907));
    Label1->setText(Lang(2908));
    Label2->setText(Lang(2909));
    Label3->setText(Lang(2910));
    int text = 2911;
    for (int c = 0; c < 4; ++c)
        ACG_DN_Slaves->SetCells(c, 0, Lang(text++));
    for (grid::TExtColumnGrid* grid : {ACG_ByteIN, ACG_ByteOUT})
        for (int c = 0; c < 3; ++c) {
            grid->Columns()[c]->SetHeaderField(Lang(text));
            grid->SetCells(c, 0, Lang(text++));
        }
}

void TFDefOffset::FormShow()
{
    List_Slaves_DN.clear();
    FLoad_Problems.clear();
    MAX_BYTE_IN = fieldbus::DNet_Area_Size;
    MAX_BYTE_OUT = fieldbus::DNet_Area_Size;
    for (auto [grid, size] : {std::pair{ACG_ByteIN, MAX_BYTE_IN}, std::pair{ACG_ByteOUT, MAX_BYTE_OUT}}) {
        QStringList items{QStringLiteral("None")};
        for (int i = 0; i < size; ++i)
            items.append(QString::number(i));
        grid->Columns()[1]->ComboItems = items;
    }
    Slave_Before_Select = -1;
    PageControl1->setCurrentWidget(TabSheet1);
    Load_Slave_DN();
    Load_Offset_Slave_DN();
    Select_First();
    if (!FLoad_Problems.isEmpty())
        MessageDlg(QStringLiteral("The DeviceNet files could not be read whole:\n") + Problem_Lines(FLoad_Problems) +
                       QStringLiteral("\nThe window shows what could be read."),
                   TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
}

void TFDefOffset::Load_Slave_DN()
{
    ACG_DN_Slaves->CellsMoving();
    ACG_DN_Slaves->SetRowCount(1);
    List_Slaves_DN = fieldbus::Load_Slave_DN(shell::App_State.File_DNETM_Net, FLoad_Problems);
    ACG_DN_Slaves->SetRowCount(1 + int(List_Slaves_DN.size()));
    if (!List_Slaves_DN.empty())
        ACG_DN_Slaves->SetFixedRows(1);
    for (int i = 0; i < int(List_Slaves_DN.size()); ++i)
        for (int c = 0; c < 4; ++c)
            ACG_DN_Slaves->SetCells(c, i + 1, List_Slaves_DN[size_t(i)].Row.value(c));
}

void TFDefOffset::Load_Offset_Slave_DN()
{
    fieldbus::Load_Offset_Slave_DN(shell::App_State.File_DNETM_DefOff, List_Slaves_DN, FLoad_Problems);
}

void TFDefOffset::Select_First()
{
    if (List_Slaves_DN.empty()) {
        Update_Slave_DN();
        return;
    }
    ACG_DN_Slaves->MoveColRow(0, 1);
    ACG_DN_SlavesClick();
}

void TFDefOffset::ACG_DN_SlavesClick()
{
    if (Slave_Before_Select >= 0)
        Save_Data_ByteIN_ByteOUT();
    const int row = ACG_DN_Slaves->Row();
    if (row < 1 || row > int(List_Slaves_DN.size()))
        return;
    ACG_DN_Slaves->SetSelection({0, row, ACG_DN_Slaves->ColCount() - 1, row});
    Slave_Before_Select = row - 1;
    Update_Slave_DN();
}

void TFDefOffset::Update_Slave_DN()
{
    for (grid::TExtColumnGrid* grid : {ACG_ByteIN, ACG_ByteOUT})
        grid->CellsMoving();
    const int row = ACG_DN_Slaves->Row();
    if (List_Slaves_DN.empty() || row < 1 || row > int(List_Slaves_DN.size())) {
        ACG_ByteIN->SetRowCount(1);
        ACG_ByteOUT->SetRowCount(1);
        return;
    }
    const fieldbus::TSlave_DN& slave = List_Slaves_DN[size_t(row - 1)];
    auto show = [](grid::TExtColumnGrid* grid, const QStringList& offsets, const QStringList& mnemonics) {
        grid->SetRowCount(1 + int(offsets.size()));
        if (!offsets.isEmpty())
            grid->SetFixedRows(1);
        for (int i = 0; i < offsets.size(); ++i) {
            grid->SetCells(0, i + 1, QString::number(i));
            grid->SetCells(1, i + 1, offsets.at(i));
            grid->SetCells(2, i + 1, mnemonics.value(i));
        }
        grid->SetTopRow(grid->FixedRows());
        grid->Invalidate();
    };
    show(ACG_ByteIN, slave.SL_ByteIN, slave.SL_ByteIN_M);
    show(ACG_ByteOUT, slave.SL_ByteOUT, slave.SL_ByteOUT_M);
}

bool TFDefOffset::Save_Data_ByteIN_ByteOUT()
{
    if (Slave_Before_Select < 0 || Slave_Before_Select >= int(List_Slaves_DN.size()))
        return true;
    fieldbus::TSlave_DN& slave = List_Slaves_DN[size_t(Slave_Before_Select)];
    auto store = [](grid::TExtColumnGrid* grid, QStringList& offsets, QStringList& mnemonics) {
        grid->CellsMoving();
        for (int r = 1; r < grid->RowCount() && r - 1 < offsets.size(); ++r) {
            offsets[r - 1] = grid->Cells(1, r);
            mnemonics[r - 1] = grid->Cells(2, r);
        }
    };
    store(ACG_ByteIN, slave.SL_ByteIN, slave.SL_ByteIN_M);
    store(ACG_ByteOUT, slave.SL_ByteOUT, slave.SL_ByteOUT_M);
    return true;
}

bool TFDefOffset::Check_Data()
{
    const std::optional<QString> fault = fieldbus::Check_Offsets(List_Slaves_DN, MAX_BYTE_IN, MAX_BYTE_OUT);
    if (fault)
        MessageDlg(*fault, TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
    return !fault;
}

void TFDefOffset::Save_Offset_Slave_DN()
{
    fieldbus::Save_Offset_Slave_DN(shell::App_State.File_DNETM_DefOff, List_Slaves_DN);
}

void TFDefOffset::bitbtn1Click()
{
    if (!Save_Data_ByteIN_ByteOUT() || !Check_Data())
        return;
    if (!FLoad_Problems.isEmpty() &&
        MessageDlg(QStringLiteral("The DeviceNet files could not be read whole when this window opened. Saving "
                                  "replaces \"%1\" with the offsets as they are now. Save anyway?")
                       .arg(shell::App_State.File_DNETM_DefOff),
                   TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo) != platform::mrYes)
        return;
    Save_Offset_Slave_DN();
    FLoad_Problems.clear();
    SetModalResult(platform::mrOk);
}
