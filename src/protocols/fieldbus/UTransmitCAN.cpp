#include "protocols/fieldbus/UTransmitCAN.h"

#include "grid/core/ExtColumnGrid.h"
#include "protocols/fieldbus/UCANFrames.h"
#include "shell/ULanguage.h"
#include "shell/UTextChecks.h"
#include "shell/UWindowList.h"

using shell::Cell_Editor;

namespace fieldbus::transmit_can {

namespace {

const CAN_Frame_Columns Frame_Columns = {COBID, CAN_Type, Dim, Byte1};
const CAN_Frame_Texts Frame_Texts = {2248, 2249, 2250, 2252, 2254, 2253};

shell::Setup_Window_Description Make_Window()
{
    shell::Table_Description table;
    table.Columns = {
        {.Header = 2208, .Kind = Cell_Editor::Row_Number, .Width = 40},
        {.Header = 2209, .Hint = 2231, .Kind = Cell_Editor::Check, .Width = 50, .Color = Light_Orange,
         .Attribute = "Enable", .Default = "Y", .Cleared = "Y"},
        {.Header = 2210, .Hint = 2232, .Width = 90, .Color = Light_Cyan, .Attribute = "COBID"},
        {.Header = 2211, .Hint = 2233, .Kind = Cell_Editor::List, .Items = CAN_Type_Items(), .Width = 90,
         .Color = Light_Cyan, .Attribute = "CAN_Type", .Default = Default_CAN_Type ? CAN_Type_B : CAN_Type_A},
        {.Header = 2212, .Hint = 2234, .Width = 70, .Color = Light_Cyan, .Attribute = "Dim"},
        {.Header = 2213, .Hint = 2235, .Kind = Cell_Editor::Check, .Width = 65, .Color = Light_Green,
         .Attribute = "OnChange", .Default = Default_Send_Type ? "N" : "Y"},
        {.Header = 2262, .Hint = 2263, .Kind = Cell_Editor::Check, .Width = 50, .Color = Light_Green,
         .Attribute = "OnCMD", .Default = "N"},
        {.Header = 2214, .Hint = 2236, .Kind = Cell_Editor::Check, .Width = 55, .Color = Light_Green,
         .Attribute = "OnTimer", .Default = Default_Send_Type == 1 ? "Y" : "N"},
        // An older file without a period: the window-wide period for a frame sent on timer.
        {.Header = 2215, .Hint = 2237, .Width = 70, .Color = Light_Green, .Attribute = "Time",
         .Missing = [](const QStringList& row) {
             return row.value(OnTimer) == QLatin1String("Y") ? QString::number(Default_Send_Time) : QString();
         }},
    };
    for (shell::Table_Column& column : CAN_Byte_Columns(2216, 2238))
        table.Columns.push_back(std::move(column));
    table.Columns.push_back({.Header = 2224, .Hint = 2246, .Width = 110, .Color = White, .Attribute = "Mnemonic"});
    table.Key_Column = COBID;
    table.Enable_Column = Enable;
    table.Enable_Any_Case = true;
    table.Capacity = 512;

    shell::Setup_Window_Description window;
    window.Name = QStringLiteral("FTransmitCAN");
    window.Client_Width = 1100;
    window.Client_Height = 337;
    window.File = {QStringLiteral("Transmit_Frames"), QStringLiteral("1.000"), {table}};
    window.Path = &shell::TApp_State::File_CAN_Send_Frames;
    window.Grid_Names = {QStringLiteral("ACG_CAN_Transmit")};
    window.Caption = 2200;
    window.Description = 2201;
    window.Button_Captions = {2202, 2203, 2204, 2205, 2206, 2207};
    window.Button_Hints = {2225, 2226, 2227, 2228, 2229, 2230};
    window.Delete_Question = 2261;
    window.Row_Prefix = 2247;
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

std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int maxByte, int hardType)
{
    return shell::Check_Setup_Tables(
        Window(), tables, [maxByte, hardType](int, const shell::Checked_Row& row) -> std::optional<QString> {
            if (auto fault = Check_CAN_Frame_Head(row, Frame_Columns, Frame_Texts))
                return fault;
            if (hardType == 1 && shell::Trim_Blanks(row.Cell(OnTimer)).toUpper() == QLatin1String("Y")) {
                const int64_t time = row.Setup_Number(Time);
                if (time < 0 || time > 100000000)
                    return shell::Lang(2251);
            }
            return Check_CAN_Frame_Bytes(row, Frame_Columns, Frame_Texts, maxByte);
        });
}

}  // namespace fieldbus::transmit_can

TFTransmitCAN* FTransmitCAN() { return shell::Window<TFTransmitCAN>(); }

TFTransmitCAN::TFTransmitCAN(const grid::TGridLayers& gridLayers, QWidget* parent)
    : shell::TSetup_Window(fieldbus::transmit_can::Window(), gridLayers, parent), ACG_CAN_Transmit(Table(0))
{
}

void TFTransmitCAN::Prepare_Show()
{
    using namespace fieldbus::transmit_can;
    Hard_Type = 1;
    MAX_Byte = fieldbus::MQTT_Array_Size;
    const QStringList items = shell::Byte_Position_Items(MAX_Byte);
    for (int c = Byte1; c <= Byte8; ++c)
        ACG_CAN_Transmit->Columns()[c]->ComboItems = items;
}

std::optional<QString> TFTransmitCAN::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    return fieldbus::transmit_can::Check(tables, MAX_Byte, Hard_Type);
}
