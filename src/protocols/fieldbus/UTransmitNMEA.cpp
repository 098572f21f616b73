#include "protocols/fieldbus/UTransmitNMEA.h"

#include "protocols/fieldbus/UPGNFrames.h"
#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

using shell::Cell_Editor;

namespace fieldbus::transmit_nmea {

namespace {

shell::Setup_Window_Description Make_Window()
{
    std::vector<shell::Table_Column> columns = {
        {.Header = 3614, .Kind = Cell_Editor::Row_Number, .Width = 40},
        {.Header = 3615, .Hint = 3625, .Width = 50, .Color = Light_Cyan, .Attribute = "Priority"},
        {.Header = 3616, .Hint = 3626, .Width = 75, .Color = Light_Cyan, .Attribute = "PGN"},
        {.Header = 3617, .Hint = 3627, .Width = 95, .Color = Light_Cyan, .Attribute = "SA"},
        {.Header = 3618, .Hint = 3628, .Kind = Cell_Editor::Check, .Width = 75, .Color = Light_Pink,
         .Attribute = "FP", .Default = "N"},
        {.Header = 3619, .Hint = 3629, .Width = 60, .Color = Light_Yellow, .Attribute = "TP_NByte"},
        {.Header = 3620, .Hint = 3630, .Kind = Cell_Editor::Check, .Width = 55, .Color = Pale_Green,
         .Attribute = "On_Request", .Default = "N"},
        {.Header = 3621, .Hint = 3631, .Kind = Cell_Editor::Check, .Width = 80, .Color = Pale_Green,
         .Attribute = "On_Data_Change", .Default = "N"},
        {.Header = 3622, .Hint = 3632, .Kind = Cell_Editor::Check, .Width = 64, .Color = Pale_Green,
         .Attribute = "On_Timer", .Default = "N"},
        {.Header = 3623, .Hint = 3633, .Width = 75, .Color = Pale_Green, .Attribute = "SendTimer"},
        {.Header = 3624, .Hint = 3634, .Width = 110, .Color = Window_Background, .Attribute = "Mnemonic"},
    };
    return PGN_Frame_Window({"FTransmitNMEA", 810, "Receive_NMEA_2000", "1.000",
                             &shell::TApp_State::File_NMEA_Send_Frames, 62, 3600, 3642, 3635},
                            std::move(columns), PGN);
}

}  // namespace

const shell::Setup_Window_Description& Window()
{
    static const shell::Setup_Window_Description window = Make_Window();
    return window;
}

std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int maxBytes)
{
    return Check_Frame_Table(Window(), tables, maxBytes, 3640, [maxBytes](const shell::Checked_Row& row, Byte_Total& total) {
        return Check_Transmit_Row(row, {Priority, -1, PGN, SA, TP_NByte, On_Timer, SendTimer},
                                  {3636, 0, 3637, 3638, 3639, 3641, 0x1FFFF, 239}, maxBytes, total);
    });
}

}  // namespace fieldbus::transmit_nmea

TFTransmitNMEA* FTransmitNMEA() { return shell::Window<TFTransmitNMEA>(); }

TFTransmitNMEA::TFTransmitNMEA(const grid::TGridLayers& gridLayers, QWidget* parent)
    : shell::TSetup_Window(fieldbus::transmit_nmea::Window(), gridLayers, parent), sga(Table(0))
{
}

void TFTransmitNMEA::Prepare_Show() { NUM_BYTE_OUT = 512; }

std::optional<QString> TFTransmitNMEA::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    return fieldbus::transmit_nmea::Check(tables, NUM_BYTE_OUT);
}
