#include "protocols/building/UDALI_Access.h"

#include "controls/buttons_pages/PicButton.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/Guard.h"
#include "shell/UGridRows.h"
#include "shell/ULanguage.h"
#include "shell/UTableGrid.h"
#include "shell/UTextChecks.h"
#include "shell/UWindowList.h"

#include <QMenu>
#include <QTabBar>
#include <QVBoxLayout>

using platform::MessageDlg;
using platform::TMsgDlgButtons;
using platform::TMsgDlgType;

namespace building::dali {

namespace {

constexpr int64_t Max_Time = 100000000;

using shell::Outside;

// A message of the text table whose "%d" marks take the row and then the bound.
QString Row_Text(int index, int row, int bound = 0)
{
    QString text = shell::Lang(index);
    for (const int value : {row, bound}) {
        const qsizetype at = text.indexOf(QLatin1String("%d"));
        if (at < 0)
            break;
        text.replace(at, 2, QString::number(value));
    }
    return text;
}

const QStringList& Push_Button_Events()
{
    static const QStringList events = Value_Event_Items().mid(0, 9);
    return events;
}
const QStringList& NAND_Events()
{
    static const QStringList events = {"No Movement", "Vacant", "Presence Sensor"};
    return events;
}
const QStringList& AND_Events()
{
    static const QStringList events = {"Movement", "Still Vacant", "Occupied", "Still Occupied", "Movement Sensor"};
    return events;
}

const QString When_Equal = QStringLiteral("When Equal to Value");
const QString NAND_Logic = QStringLiteral("NAND Logic with Value");
const QString AND_Logic = QStringLiteral("AND Logic with Value");

shell::Setup_Window_Description Make_Window()
{
    shell::Setup_Window_Description window;
    window.Name = QStringLiteral("FDALI_Access");
    window.Client_Width = 1200;
    window.Client_Height = 496;
    window.File = Rules_File();
    window.Path = &shell::TApp_State::File_DALI2_Access;
    window.Grid_Names = {QStringLiteral("ACG"), QStringLiteral("ESG")};
    window.Tab_Names = {QStringLiteral("TS_Functions"), QStringLiteral("TS_Set_Access")};
    // In the order the pages stand once the device page is in front.
    window.Tab_Captions = {4955, 4956, 4957};
    window.Caption = 4500;
    window.Description = 4501;
    // The row buttons keep their English captions in every language.
    window.Button_Captions = {4502, 4503, -1, -1, -1, -1};
    window.Button_Hints = {4506, 4507};
    window.Delete_Question = 4954;
    window.Insert_Enables = false;
    window.Ask_Rows_After_End = true;
    return window;
}

}  // namespace

const shell::Setup_Window_Description& Window()
{
    static const shell::Setup_Window_Description window = Make_Window();
    return window;
}

QStringList Function_Choices(const shell::Table_Rows& functions)
{
    QStringList choices{QStringLiteral("0 - None")};
    for (size_t n = 0; n < functions.size(); ++n)
        choices.append(QStringLiteral("%1 - %2").arg(n + 1).arg(functions[n].value(fun::Mnemonic)));
    return choices;
}

QString Condition_For_Event(const QString& value)
{
    if (Push_Button_Events().contains(value))
        return When_Equal;
    if (NAND_Events().contains(value))
        return NAND_Logic;
    if (AND_Events().contains(value))
        return AND_Logic;
    return {};
}

int Rule_Bytes(const QStringList& rule)
{
    const bool sensor = shell::Trim_Blanks(rule.value(acc::DeviceSensor)) != QLatin1String("Device");
    return sensor && shell::Trim_Blanks(rule.value(acc::NumBytes)) == QLatin1String("2") ? 2 : 1;
}

std::optional<QString> Check(const std::vector<shell::Table_Rows>& tables, QChar separator)
{
    const shell::Project_File_Description& file = Rules_File();
    const shell::Table_Rows& functions = tables.at(size_t(Functions_Table));
    const shell::Table_Rows& rules = tables.at(size_t(Access_Table));
    const int defined = int(file.Tables[size_t(Functions_Table)].Content_End(functions));

    for (int r = 1; r <= defined; ++r) {
        const QStringList& row = functions[size_t(r - 1)];
        const QString condition = shell::Trim_Blanks(row.value(fun::Condition));
        const QString value = shell::Trim_Blanks(row.value(fun::Value));
        if (condition.isEmpty())
            return Row_Text(4950, r);
        const QString wanted = Condition_For_Event(value);
        if (!wanted.isEmpty()) {
            if (condition != wanted)
                return Row_Text(wanted == When_Equal ? 4964 : wanted == NAND_Logic ? 4965 : 4966, r);
            continue;
        }
        float number = 0;
        if (!shell::Str_To_Float_Sep(value, separator, number))
            return Row_Text(4951, r);
    }
    for (int r = 1; r <= defined; ++r) {
        const QString next = shell::Trim_Blanks(functions[size_t(r - 1)].value(fun::Next_Function));
        if (!next.isEmpty() && Outside(shell::Setup_Number(next), 0, defined))
            return Row_Text(4952, r, defined);
    }

    const shell::Table_Description& access = file.Tables[size_t(Access_Table)];
    const int end = int(access.Content_End(rules));
    for (int r = 1; r <= end; ++r) {
        const QStringList& rule = rules[size_t(r - 1)];
        if (!access.Enabled(rule))
            continue;
        const shell::Checked_Row row(rule, {});
        const QString type = shell::Trim_Blanks(row.Cell(acc::Type));
        if (shell::Trim_Blanks(row.Cell(acc::DeviceSensor)) == QLatin1String("Device")) {
            if (!DevType_Items().contains(type))
                return Row_Text(4929, r);
        } else if (!SenType_Items().contains(type)) {
            return Row_Text(4930, r);
        }
        if (Outside(row.Setup_Number(acc::ChannelNumber), 0, 63))
            return Row_Text(4931, r);
        if (Outside(row.Setup_Number(acc::Instance), 0, 31))
            return Row_Text(4932, r);
        if (Outside(row.Setup_Number(acc::Command), 0, 255))
            return Row_Text(4936, r);
        if (Outside(row.Setup_Number(acc::TimeSend), 0, Max_Time))
            return Row_Text(4933, r);
        if (Outside(row.Setup_Number(acc::TimeOut), 0, Max_Time))
            return Row_Text(4934, r);
        const QString function = shell::Trim_Blanks(row.Cell(acc::Function));
        if (!function.isEmpty() && Outside(shell::Setup_Number(function.section(QLatin1Char(' '), 0, 0)), 0, defined))
            return Row_Text(4953, r, defined);
        const int64_t position = row.Setup_Number(acc::Position);
        if (Outside(position, 0, MQTT_Array_Size - 1))
            return Row_Text(4935, r, MQTT_Array_Size - 1);
        if (position + Rule_Bytes(rule) > MQTT_Array_Size)
            return QStringLiteral("Set Access - Error Row %1!! Position plus Num Bytes must be lower or equal to %2")
                .arg(r)
                .arg(MQTT_Array_Size);
    }
    return std::nullopt;
}

}  // namespace building::dali

using namespace building::dali;

TFDALI_Access* FDALI_Access() { return shell::Window<TFDALI_Access>(); }

TFDALI_Access::TFDALI_Access(const grid::TGridLayers& gridLayers, QWidget* parent)
    : shell::TSetup_Window(Window(), gridLayers, parent),
      PC_DALI(PageControl1),
      TS_Set_Access(Tab_Sheets.at(1)),
      TS_Functions(Tab_Sheets.at(0)),
      ESG(Table(Access_Table)),
      ACG(Table(Functions_Table))
{
    PC_DALI->setObjectName(QStringLiteral("PC_DALI"));

    // The device page stands first, then Set Access, then Functions.
    TS_Select_Device = new QWidget;
    TS_Select_Device->setObjectName(QStringLiteral("TS_Select_Device"));
    auto* box = new QVBoxLayout(TS_Select_Device);
    box->setContentsMargins(0, 0, 0, 0);
    ACG_DALI_Device = new grid::TExtColumnGrid;
    ACG_DALI_Device->setParent(TS_Select_Device);
    ACG_DALI_Device->setObjectName(QStringLiteral("ACG_DALI_Device"));
    ACG_DALI_Device->SetLayers(gridLayers);
    shell::Build_Table_Grid(*ACG_DALI_Device, Device_Table());
    box->addWidget(ACG_DALI_Device);
    PC_DALI->insertTab(0, TS_Select_Device, QString());
    PC_DALI->tabBar()->moveTab(2, 1);
    ACG_DALI_Device->OnKeyPress = [this](QChar& key) { KeyPress(ACG_DALI_Device, key); };
    ACG_DALI_Device->OnDblClickCell = [this](grid::TExtStringGrid* g, int r, int c) {
        platform::Guarded([&] { DblClickCell(g, r, c); });
    };
    ACG_DALI_Device->OnRightClickCell = [this](grid::TExtStringGrid* g, int r, int c) {
        if (r != 0)
            return;
        if (QMenu* menu = Header_Menu(g->RealColIndex(c)))
            menu->popup(QCursor::pos());
    };

    // The Select All and Clear All buttons stand where the row buttons do on the rule pages.
    auto side_button = [this](const char* name, controls::TPicButton* place, void (TFDALI_Access::*click)()) {
        auto* b = new controls::TPicButton(P_Button);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(place->geometry());
        b->OnClick = [this, click] { platform::Guarded([this, click] { (this->*click)(); }); };
        return b;
    };
    Btn_SelectAll = side_button("Btn_SelectAll", Btn_DelRow, &TFDALI_Access::Btn_SelectAllClick);
    Btn_ClearAll = side_button("Btn_ClearAll", Btn_InsRow, &TFDALI_Access::Btn_ClearAllClick);
    auto rebind = [this](controls::TPicButton* b, void (TFDALI_Access::*click)()) {
        b->OnClick = [this, click] { platform::Guarded([this, click] { (this->*click)(); }); };
    };
    rebind(Btn_DelRow, &TFDALI_Access::Btn_DelRowClick);
    rebind(Btn_InsRow, &TFDALI_Access::Btn_InsRowClick);
    rebind(Btn_CopyRow, &TFDALI_Access::Btn_CopyRowClick);
    rebind(Btn_PasteRow, &TFDALI_Access::Btn_PasteRowClick);
    connect(PC_DALI, &QTabWidget::currentChanged, this, [this] { platform::Guarded([this] { PC_DALIChange(); }); });

    // The Type list follows the row's Dev/Sen; the Function list names the functions.
    ESG->OnGetEditorType = [this](grid::TExtStringGrid* g, int c, int r, grid::TEditorType&) {
        const int real = g->DisplToRealCol(c);
        if (real == acc::Type) {
            const QString kind = shell::Trim_Blanks(g->Cells(acc::DeviceSensor, r));
            g->ComboStrings = kind == QLatin1String("Device")   ? DevType_Items()
                              : kind == QLatin1String("Sensor") ? SenType_Items()
                                                                : QStringList();
        } else if (real == acc::Function) {
            g->ComboStrings = SelFunct;
        }
    };
    // An input event picked (or typed whole) in the Value list sets the Condition that it needs.
    auto value_changed = [this](int col, int row, const QString& text) {
        if (col != fun::Value || row < 1)
            return;
        const QString condition = Condition_For_Event(text);
        if (!condition.isEmpty())
            ACG->SetCells(fun::Condition, row, condition);
    };
    ACG->OnComboObjectChange = [value_changed](grid::TExtStringGrid*, int col, int row, int, const QString& text,
                                               const QVariant&) { value_changed(col, row, text); };
    // Stepping through the list with the keys changes the editor's text only.
    ACG->OnEditChange = [value_changed](grid::TExtStringGrid* g, int col, int row, const QString& text) {
        value_changed(g->DisplToRealCol(col), row, text);
    };

    Set_Lang();
    Clear_Table_Grid(*ACG_DALI_Device, Device_Table());
    Fill_Device_Names();
    PC_DALI->setCurrentIndex(0);
    PC_DALIChange();
}

void TFDALI_Access::Set_Lang()
{
    TSetup_Window::Set_Lang();
    QStringList hints;
    shell::Apply_Table_Texts(*ACG_DALI_Device, Device_Table(), hints);
    Btn_SelectAll->SetCaption(shell::Lang(4504));
    Btn_SelectAll->SetHint(shell::Lang(4508));
    Btn_ClearAll->SetCaption(shell::Lang(4505));
    Btn_ClearAll->SetHint(shell::Lang(4509));
    Btn_DelRow->SetCaption(QStringLiteral("Delete Row"));
    Btn_InsRow->SetCaption(QStringLiteral("Insert Row"));
    Btn_CopyRow->SetCaption(QStringLiteral("Copy Row"));
    Btn_PasteRow->SetCaption(QStringLiteral("Paste Row"));
    Fill_Device_Names();
}

void TFDALI_Access::Fill_Device_Names()
{
    for (int n = 0; n < Device_Count; ++n)
        ACG_DALI_Device->SetCells(dev::Name, n + 1, shell::Lang(4510 + n));
}

shell::Table_Rows TFDALI_Access::Device_Rows() const
{
    return shell::Table_Grid_Rows(*ACG_DALI_Device, Device_Table());
}

void TFDALI_Access::FormShow()
{
    const int page = PC_DALI->currentIndex();
    Load_File();
    // The access rules' Enable reads "Y" unless the file says "N".
    for (int r = 1; r < ESG->RowCount(); ++r)
        if (ESG->Cells(acc::Enable, r) != QLatin1String("N"))
            ESG->SetCells(acc::Enable, r, QStringLiteral("Y"));

    Clear_Table_Grid(*ACG_DALI_Device, Device_Table());
    Fill_Device_Names();
    shell::Table_Rows devices;
    for (int r = 1; r <= Device_Count; ++r)
        devices.push_back(Device_Table().Cleared_Row(r));
    FDevices_Not_Read_Whole = false;
    try {
        Read_Device_File(shell::App_State.File_DALI_Access, &devices);
    } catch (const platform::Exception& e) {
        FDevices_Not_Read_Whole = true;
        MessageDlg(QStringLiteral("The file \"%1\" could not be read whole:\n%2\nThe window shows what could be read.")
                       .arg(shell::App_State.File_DALI_Access, e.message()),
                   TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
    }
    shell::Fill_Table_Grid(*ACG_DALI_Device, devices);

    Do_Copy = false;
    PC_DALI->setCurrentIndex(page);
    if (PC_DALI->currentIndex() == 0 && ACG_DALI_Device->isVisible())
        ACG_DALI_Device->setFocus();
    PC_DALIChange();
}

grid::TExtColumnGrid* TFDALI_Access::Rule_Table() const
{
    const QWidget* page = PC_DALI->currentWidget();
    return page == TS_Set_Access ? ESG : page == TS_Functions ? ACG : nullptr;
}

void TFDALI_Access::PC_DALIChange()
{
    const bool devices = Rule_Table() == nullptr;
    Btn_SelectAll->setVisible(devices);
    Btn_ClearAll->setVisible(devices);
    for (controls::TPicButton* b : {Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow})
        b->setVisible(!devices);
    ACG->CellsMoving();
    SelFunct = Function_Choices(Rows(Functions_Table));
}

void TFDALI_Access::Set_All(int realCol, const QString& value)
{
    ACG_DALI_Device->CellsMoving();
    for (int r = 1; r <= Device_Count; ++r)
        ACG_DALI_Device->SetCells(realCol, r, value);
    ACG_DALI_Device->Invalidate();
}

void TFDALI_Access::Btn_SelectAllClick() { Set_All(dev::Enable, QStringLiteral("Y")); }

void TFDALI_Access::Btn_ClearAllClick() { Set_All(dev::Enable, QStringLiteral("N")); }

QMenu* TFDALI_Access::Header_Menu(int realCol)
{
    QStringList values;
    QStringList captions;
    if (realCol == dev::Min_Max) {
        captions = {QStringLiteral("Select All"), QStringLiteral("Clear All")};
        values = {QStringLiteral("Y"), QStringLiteral("N")};
    } else if (realCol == dev::Recall_Level) {
        values = Recall_Level_Items();
        for (const QString& level : values)
            captions.append(QStringLiteral("Select All ") + level);
    } else {
        return nullptr;
    }
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (int i = 0; i < captions.size(); ++i) {
        const QString value = values.at(i);
        menu->addAction(captions.at(i), this, [this, realCol, value] { Set_All(realCol, value); });
    }
    return menu;
}

void TFDALI_Access::Btn_DelRowClick()
{
    grid::TExtColumnGrid* grid = Rule_Table();
    if (!grid)
        return;
    const int row = grid->Row();
    if (MessageDlg(QString(shell::Lang(Window().Delete_Question)).replace(QLatin1String("%d"), QString::number(row)),
                   TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo) != platform::mrYes)
        return;
    shell::Grid_Delete_Row(row, *grid);
    if (grid == ESG)
        ESG->SetCells(acc::Enable, ESG->RowCount() - 1, QStringLiteral("Y"));
}

void TFDALI_Access::Btn_InsRowClick()
{
    if (grid::TExtColumnGrid* grid = Rule_Table())
        shell::Grid_Insert_Row(grid->Row(), *grid, grid == ESG);
}

void TFDALI_Access::Btn_CopyRowClick()
{
    grid::TExtColumnGrid* grid = Rule_Table();
    if (!grid)
        return;
    shell::Grid_Copy_Row(*grid, grid->Row());
    // One row buffer serves both tables: a copy from one is no copy for the other.
    Do_Copy = grid == ESG;
    Do_Copy_Fun = grid == ACG;
}

void TFDALI_Access::Btn_PasteRowClick()
{
    if (grid::TExtColumnGrid* grid = Rule_Table())
        shell::Grid_Paste_Row(*grid, grid->Row(), grid == ESG ? Do_Copy : Do_Copy_Fun);
}

std::optional<QString> TFDALI_Access::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    std::vector<shell::Table_Rows> rows;
    for (const shell::Table_Check_Input& table : tables)
        rows.push_back(table.Rows);
    return Check(rows, shell::Get_Decimal_Separator());
}

void TFDALI_Access::Close_Editors()
{
    ACG_DALI_Device->CellsMoving();
    TSetup_Window::Close_Editors();
}

QStringList TFDALI_Access::Unread_Files() const
{
    QStringList unread = TSetup_Window::Unread_Files();
    if (FDevices_Not_Read_Whole)
        unread.prepend(shell::App_State.File_DALI_Access);
    return unread;
}

void TFDALI_Access::Write_Files(const std::vector<shell::Table_Rows>& tables)
{
    Write_DALI_Files(shell::App_State.File_DALI_Access, File_Path(), Device_Rows(), tables);
}

void TFDALI_Access::Written() { FDevices_Not_Read_Whole = false; }
