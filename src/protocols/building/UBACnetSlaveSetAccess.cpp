#include "protocols/building/UBACnetSlaveSetAccess.h"

#include "grid/core/ExtColumnGrid.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "protocols/building/UBACnet_Common.h"
#include "protocols/building/UBACnet_Eng_Unit.h"
#include "shell/UGridRows.h"
#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

#include <QHash>
#include <QLabel>
#include <QLineEdit>

using platform::MessageDlg;
using platform::TMsgDlgButtons;
using platform::TMsgDlgType;
using shell::Cell_Editor;
using shell::Lang;

namespace building::bacnet::server {

namespace {

shell::Table_Description Make_Table(int firstHeader, const QString& container, const QStringList& types)
{
    shell::Table_Description table;
    table.Container = container;
    const int h = firstHeader;
    table.Columns = {
        {.Header = h, .Kind = Cell_Editor::Row_Number, .Width = 40},
        {.Header = h + 1, .Kind = Cell_Editor::List, .Items = types, .Width = 170, .Attribute = "Data_Type", .Required = true},
        {.Header = h + 2, .Width = 80, .Attribute = "Eng_Unit", .Required = true},
        {.Header = h + 3, .Kind = Cell_Editor::List, .Items = shell::Byte_Position_Items(MQTT_Array_Size, false), .Width = 70,
         .Attribute = "Position", .Required = true},
        {.Header = h + 4, .Kind = Cell_Editor::List,
         .Items = {"0", "1", "2", "3", "4", "5", "6", "7"}, .Width = 70, .Attribute = "Bit", .Required = true},
        {.Header = h + 5, .Width = 70, .Attribute = "Length", .Required = true},
        {.Header = h + 6, .Kind = Cell_Editor::Check, .Width = 50, .Shown = false, .Attribute = "Swap", .Default = "N",
         .Centred = true},
        {.Header = h + 7, .Width = 230, .Attribute = "Mnemonic", .Required = true},
    };
    table.Key_Column = Data_Type;
    table.Capacity = Object_Limit(false);
    return table;
}

shell::Setup_Window_Description Make_Window()
{
    shell::Setup_Window_Description window;
    window.Name = QStringLiteral("FBACnetSlaveSetAccess");
    window.Client_Width = 764;
    window.Client_Height = 337;
    window.File = File(Object_Limit(false));
    window.Path = &shell::TApp_State::File_BACnet_Slave_SetAccess;
    window.Grid_Names = {QStringLiteral("ACG_BACnet_in_Read"), QStringLiteral("ACG_BACnet_in_Write")};
    window.Tab_Names = {QStringLiteral("TS_BACnet_in_Read"), QStringLiteral("TS_BACnet_in_Write")};
    window.Caption = 4300;
    window.Description = 4301;
    window.Button_Captions = {4302, 4303, 4304, 4305, 4306, 4307};
    window.Button_Hints = {4310, 4311, 4312, 4313, 4314, 4315};
    window.Tab_Captions = {4308, 4309};
    window.Delete_Question = 4360;
    window.Row_Prefix = 4332;
    window.Ask_Rows_After_End = true;
    return window;
}

struct Length_Rule {
    const char* Type;
    int Low, High, Text;
};

// Per table: its texts and the object types whose Length is ruled.
struct Table_Rules {
    const char* Name;  // as the messages name the table
    int Unit, Position, Bit, Last_Byte;
    std::vector<const char*> Binary;
    std::vector<Length_Rule> Lengths;
};

const Table_Rules& Rules(int table)
{
    static const Table_Rules read{"BACnet in Read", 4333, 4334, 4345, 4346,
                                  {"Binary Input", "Binary Value"},
                                  {{"Analog Input", 1, 4, 4335},
                                   {"Analog Value", 1, 4, 4338},
                                   {"Positive Integer Value", 1, 4, 4336},
                                   {"Large Analog Value", 1, 8, 4337},
                                   {"Multi State Input", 1, 4, 4339},
                                   {"Multi State Value", 1, 4, 4340},
                                   {"Life Safety Point", 1, 2, 4341},
                                   {"Life Safety Zone", 1, 2, 4342},
                                   {"Access Door", 1, 1, 4343},
                                   {"Accumulator", 1, 4, 4344}}};
    static const Table_Rules write{"BACnet in Write", 4347, 4348, 4357, 4358,
                                   {"Binary Out", "Binary Value"},
                                   {{"Analog Out", 1, 4, 4349},
                                    {"Analog Value", 1, 4, 4350},
                                    {"Positive Integer Value", 1, 4, 4351},
                                    {"Large Analog Value", 1, 8, 4352},
                                    {"Integer Value", 1, 4, 4353},
                                    {"Multi State Output", 1, 4, 4354},
                                    {"Multi State Value", 1, 4, 4355},
                                    {"Access Door", 1, 1, 4356}}};
    return table == Read_Table ? read : write;
}

using shell::Outside;

// The Mnemonic becomes fields of an EDE line.
std::optional<QString> Check_Mnemonic(const QString& tableName, const QString& mnemonic)
{
    const QString fault = EDE_Field_Fault(mnemonic);
    if (fault.isEmpty())
        return std::nullopt;
    return QStringLiteral("!! [%1] Mnemonic ").arg(tableName) + fault;
}

std::optional<QString> Check_Row(int table, const shell::Checked_Row& row)
{
    const Table_Rules& rules = Rules(table);
    const QString type = row.Cell(Data_Type);
    const QStringList types = table == Read_Table ? Read_Types() : Write_Types();
    if (!types.contains(type))
        return QStringLiteral("!! [%1] Data Type \"%2\" is not one of the list").arg(QLatin1String(rules.Name), type);
    if (Outside(row.Setup_Number(Eng_Unit), 0, 65535))
        return Lang(rules.Unit);
    const int64_t position = row.Setup_Number(Position);
    if (Outside(position, 0, MQTT_Array_Size - 1))
        return Lang(rules.Position) + QString::number(MQTT_Array_Size - 1);
    int64_t last = position;
    if (std::find(rules.Binary.begin(), rules.Binary.end(), type) != rules.Binary.end()) {
        // The message names the range 0 .. 7, so a bit beyond it fails as an empty one does.
        if (Outside(row.Setup_Number(Bit), 0, 7))
            return Lang(rules.Bit);
    } else {
        const int64_t length = row.Setup_Number(Length);
        const auto rule = std::find_if(rules.Lengths.begin(), rules.Lengths.end(),
                                       [&](const Length_Rule& r) { return type == QLatin1String(r.Type); });
        if (rule != rules.Lengths.end()) {
            if (Outside(length, rule->Low, rule->High))
                return Lang(rule->Text);
        } else if (Outside(length, 1, MQTT_Array_Size - position)) {
            return QStringLiteral("!! [%1] Length must be between 1 and %2")
                .arg(QLatin1String(rules.Name))
                .arg(MQTT_Array_Size - position);
        }
        last = position + length - 1;
    }
    if (last >= MQTT_Array_Size)
        return Lang(rules.Last_Byte);
    return Check_Mnemonic(QLatin1String(rules.Name), row.Cell(Mnemonic));
}

}  // namespace

QStringList Read_Types()
{
    return {"Analog Input",      "Analog Value",      "Binary Input",     "Binary Value",
            "Positive Integer Value", "Large Analog Value", "Integer Value", "Multi State Input",
            "Multi State Value", "Life Safety Point", "Life Safety Zone", "Access Door",
            "Accumulator",       "Octet String",      "CharacterString Value"};
}

QStringList Write_Types()
{
    return {"Analog Out",    "Analog Value",       "Binary Out",    "Binary Value",
            "Positive Integer Value", "Large Analog Value", "Integer Value", "Multi State Output",
            "Multi State Value", "Access Door",   "Octet String",  "CharacterString Value"};
}

shell::Project_File_Description File(int capacity)
{
    shell::Project_File_Description file{QStringLiteral("BACnet_to_Modbus"), QStringLiteral("1.006"),
                                         {Make_Table(4316, QStringLiteral("BACnet_in_Read"), Read_Types()),
                                          Make_Table(4324, QStringLiteral("BACnet_in_Write"), Write_Types())}};
    for (shell::Table_Description& table : file.Tables)
        table.Capacity = capacity;
    return file;
}

const shell::Setup_Window_Description& Window()
{
    static const shell::Setup_Window_Description window = Make_Window();
    return window;
}

int Object_Limit(bool descLimit) { return descLimit ? 1000 : 2000; }

QString Write_Type_Length(const QString& type)
{
    const QString t = type.toUpper();
    for (const char* four : {"ANALOG OUT", "ANALOG VALUE", "POSITIVE INTEGER VALUE", "INTEGER VALUE",
                             "MULTI STATE OUTPUT", "MULTI STATE VALUE"})
        if (t == QLatin1String(four))
            return QStringLiteral("4");
    if (t == QLatin1String("LARGE ANALOG VALUE"))
        return QStringLiteral("8");
    for (const char* one : {"BINARY OUT", "BINARY VALUE", "ACCESS DOOR", "OCTET STRING", "CHARACTERSTRING VALUE"})
        if (t == QLatin1String(one))
            return QStringLiteral("1");
    return {};
}

QString EDE_Name(const QString& mnemonic, bool descLimit) { return mnemonic.left(descLimit ? 32 : 16); }

std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, bool descLimit)
{
    const shell::Project_File_Description file = File(Object_Limit(descLimit));
    shell::Table_Checks checks;
    checks.Row_Prefix = Window().Row_Prefix;
    checks.Check_Row = Check_Row;
    // Rows below a table's end are asked about before saving, not refused.
    if (auto fault = shell::Check_Project_Tables(file, tables, checks))
        return fault;
    size_t objects = 0;
    for (size_t t = 0; t < tables.size() && t < file.Tables.size(); ++t)
        objects += file.Tables[t].Content_End(tables[t].Rows);
    const int limit = Object_Limit(descLimit);
    if (objects > size_t(limit))
        return Lang(4359) + QString::number(limit);
    return std::nullopt;
}

std::optional<QString> Duplicate_Names(const std::vector<shell::Table_Rows>& tables, bool descLimit)
{
    const shell::Project_File_Description file = File(Object_Limit(descLimit));
    QHash<QString, QString> seen;  // EDE name -> the row that has it first
    for (size_t t = 0; t < tables.size() && t < file.Tables.size(); ++t) {
        const size_t end = file.Tables[t].Content_End(tables[t]);
        for (size_t r = 0; r < end; ++r) {
            const QString where = QStringLiteral("row %1 of [%2]").arg(r + 1).arg(QLatin1String(Rules(int(t)).Name));
            const QString name = EDE_Name(tables[t][r].value(Mnemonic), descLimit);
            const auto first = seen.constFind(name);
            if (first == seen.constEnd()) {
                seen.insert(name, where);
                continue;
            }
            return QStringLiteral("The objects of %1 and %2 have the same object name \"%3\" in the EDE file (its "
                                  "names keep the first %4 characters of the Mnemonic), so a BACnet workstation "
                                  "cannot tell them apart by name. Save anyway?")
                .arg(*first, where, name)
                .arg(descLimit ? 32 : 16);
        }
    }
    return std::nullopt;
}

}  // namespace building::bacnet::server

namespace server = building::bacnet::server;

TFBACnetSlaveSetAccess* FBACnetSlaveSetAccess() { return shell::Window<TFBACnetSlaveSetAccess>(); }

TFBACnetSlaveSetAccess::TFBACnetSlaveSetAccess(const grid::TGridLayers& gridLayers, QWidget* parent)
    : shell::TSetup_Window(server::Window(), gridLayers, parent),
      ACG_BACnet_in_Read(Table(server::Read_Table)),
      ACG_BACnet_in_Write(Table(server::Write_Table))
{
    ACG_BACnet_in_Write->OnComboObjectChange = [this](grid::TExtStringGrid*, int col, int row, int, const QString& text,
                                                      const QVariant&) {
        ACG_BACnet_in_WriteComboChange(col, row, text);
    };
    for (grid::TExtColumnGrid* table : {ACG_BACnet_in_Read, ACG_BACnet_in_Write})
        table->OnDblClickCell = [this](grid::TExtStringGrid* g, int r, int c) {
            platform::Guarded([&] { DblClickUnit(g, r, c); });
        };
}

void TFBACnetSlaveSetAccess::Prepare_Show()
{
    NByte_IN = building::bacnet::MQTT_Array_Size;
    NByte_OUT = building::bacnet::MQTT_Array_Size;
    Desc_Lenght = building::bacnet::Desc_Chars_Limit(shell::App_State.File_ParGen);
    for (shell::Table_Description& table : Edit_File().Tables)
        table.Capacity = server::Object_Limit(Desc_Lenght);
}

std::optional<QString> TFBACnetSlaveSetAccess::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    return server::Check(tables, Desc_Lenght);
}

bool TFBACnetSlaveSetAccess::Confirm_Write()
{
    const std::optional<QString> question =
        server::Duplicate_Names({Rows(server::Read_Table), Rows(server::Write_Table)}, Desc_Lenght);
    return !question || MessageDlg(*question, TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo) == platform::mrYes;
}

void TFBACnetSlaveSetAccess::ACG_BACnet_in_WriteComboChange(int col, int row, const QString& text)
{
    if (col != server::Data_Type || row < 1)
        return;
    const QString length = server::Write_Type_Length(text);
    if (!length.isEmpty())
        ACG_BACnet_in_Write->SetCells(server::Length, row, length);
}

void TFBACnetSlaveSetAccess::DblClickUnit(grid::TExtStringGrid* Sender, int ARow, int ACol)
{
    if (ARow >= Sender->FixedRows() && Sender->RealColIndex(ACol) == server::Eng_Unit) {
        TFBACnet_Eng_Unit* picker = FBACnet_Eng_Unit();
        const QString cell = Sender->Cells(server::Eng_Unit, ARow);
        picker->E_Selected_EU->setText(cell);
        picker->Label5->setText(QStringLiteral("-> ") + TFBACnet_Eng_Unit::Desc_Unit(shell::Setup_Number(cell)));
        if (picker->ShowModal() == platform::mrOk)
            Sender->SetCells(server::Eng_Unit, ARow, picker->E_Selected_EU->text());
    }
    shell::Grid_DblClick_AutoSize(*Sender, ARow, ACol);
}
