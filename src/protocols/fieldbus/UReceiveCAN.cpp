#include "protocols/fieldbus/UReceiveCAN.h"

#include "grid/core/ExtColumnGrid.h"
#include "protocols/fieldbus/UCANFrames.h"
#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

using shell::Cell_Editor;

namespace fieldbus::receive_can {

namespace {

const CAN_Frame_Columns Frame_Columns = {COBID, CAN_Type, Dim, Byte1};
const CAN_Frame_Texts Frame_Texts = {2145, 2146, 2147, 2149, 2151, 2150};

shell::Setup_Window_Description Make_Window()
{
    shell::Table_Description table;
    table.Columns = {
        {.Header = 2108, .Kind = Cell_Editor::Row_Number, .Width = 40},
        {.Header = 2109, .Hint = 2129, .Kind = Cell_Editor::Check, .Width = 50, .Color = Light_Orange,
         .Attribute = "Enable", .Default = "Y", .Cleared = "Y"},
        {.Header = 2110, .Hint = 2130, .Width = 90, .Color = Light_Cyan, .Attribute = "COBID"},
        {.Header = 2111, .Hint = 2131, .Kind = Cell_Editor::List, .Items = CAN_Type_Items(), .Width = 90,
         .Color = Light_Cyan, .Attribute = "CAN_Type"},
        {.Header = 2112, .Hint = 2132, .Width = 70, .Color = Light_Cyan, .Attribute = "Dim"},
        {.Header = 2113, .Hint = 2134, .Width = 75, .Color = Light_Green, .Attribute = "TimeOut", .Default = "0"},
    };
    for (shell::Table_Column& column : CAN_Byte_Columns(2114, 2135))
        table.Columns.push_back(std::move(column));
    table.Columns.push_back({.Header = 2122, .Hint = 2143, .Width = 185, .Color = White, .Attribute = "Mnemonic"});
    table.Key_Column = COBID;
    table.Enable_Column = Enable;
    table.Enable_Any_Case = true;
    table.Capacity = 512;

    shell::Setup_Window_Description window;
    window.Name = QStringLiteral("FReceiveCAN");
    window.Client_Width = 1010;
    window.Client_Height = 337;
    window.File = {QStringLiteral("Receive_Frames"), QStringLiteral("1.000"), {table}};
    window.Path = &shell::TApp_State::File_CAN_Rec_Frames;
    window.Grid_Names = {QStringLiteral("ACG_CAN_Receive")};
    window.Caption = 2100;
    window.Description = 2101;
    window.Button_Captions = {2102, 2103, 2104, 2105, 2106, 2107};
    window.Button_Hints = {2123, 2124, 2125, 2126, 2127, 2128};
    window.Delete_Question = 2158;
    window.Row_Prefix = 2144;
    window.Insert_Enables = true;
    window.Click_Selects_Row = false;
    return window;
}

}  // namespace

const shell::Setup_Window_Description& Window()
{
    static const shell::Setup_Window_Description window = Make_Window();
    return window;
}

std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int maxByte)
{
    return shell::Check_Setup_Tables(Window(), tables, [maxByte](int, const shell::Checked_Row& row) -> std::optional<QString> {
        if (auto fault = Check_CAN_Frame_Head(row, Frame_Columns, Frame_Texts))
            return fault;
        const int64_t timeOut = row.Setup_Number(TimeOut);
        if (timeOut < 0 || timeOut > 100000000)
            return shell::Lang(2148);
        return Check_CAN_Frame_Bytes(row, Frame_Columns, Frame_Texts, maxByte);
    });
}

}  // namespace fieldbus::receive_can

TFReceiveCAN* FReceiveCAN() { return shell::Window<TFReceiveCAN>(); }

TFReceiveCAN::TFReceiveCAN(const grid::TGridLayers& gridLayers, QWidget* parent)
    : shell::TSetup_Window(fieldbus::receive_can::Window(), gridLayers, parent), ACG_CAN_Receive(Table(0))
{
}

void TFReceiveCAN::Prepare_Show()
{
    using namespace fieldbus::receive_can;
    MAX_Byte = fieldbus::MQTT_Array_Size;
    const QStringList items = shell::Byte_Position_Items(MAX_Byte);
    for (int c = Byte1; c <= Byte8; ++c)
        ACG_CAN_Receive->Columns()[c]->ComboItems = items;
}

std::optional<QString> TFReceiveCAN::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    return fieldbus::receive_can::Check(tables, MAX_Byte);
}
