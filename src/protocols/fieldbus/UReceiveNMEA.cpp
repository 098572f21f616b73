#include "protocols/fieldbus/UReceiveNMEA.h"

#include "protocols/fieldbus/UPGNFrames.h"
#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

using shell::Cell_Editor;

namespace fieldbus::receive_nmea {

namespace {

shell::Setup_Window_Description Make_Window()
{
    std::vector<shell::Table_Column> columns = {
        {.Header = 3514, .Kind = Cell_Editor::Row_Number, .Width = 40},
        {.Header = 3515, .Hint = 3523, .Width = 80, .Color = Light_Cyan, .Attribute = "PGN"},
        {.Header = 3516, .Hint = 3524, .Width = 95, .Color = Light_Cyan, .Attribute = "SA"},
        {.Header = 3517, .Hint = 3525, .Kind = Cell_Editor::Check, .Width = 113, .Color = Light_Yellow,
         .Attribute = "TP", .Default = "N"},
        {.Header = 3518, .Hint = 3526, .Kind = Cell_Editor::Check, .Width = 73, .Color = Light_Yellow,
         .Attribute = "FP", .Default = "N"},
        {.Header = 3519, .Hint = 3527, .Width = 65, .Color = Pale_Green, .Attribute = "TP_Start"},
        {.Header = 3520, .Hint = 3528, .Width = 50, .Color = Pale_Green, .Attribute = "TP_NByte"},
        {.Header = 3521, .Hint = 3529, .Kind = Cell_Editor::Check, .Width = 74, .Color = Light_Pink,
         .Attribute = "Delete", .Default = "N"},
        {.Header = 3522, .Hint = 3530, .Width = 110, .Color = Window_Background, .Attribute = "Mnemonic"},
    };
    return PGN_Frame_Window({"FReceiveNMEA", 810, "Receive_NMEA_2000", "1.000", &shell::TApp_State::File_NMEA_Rec_Frames,
                             62, 3500, 3543, 3531},
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
    return Check_Frame_Table(Window(), tables, maxBytes, 3542,
                             [](const shell::Checked_Row& row, Byte_Total& total) -> std::optional<QString> {
        if (auto fault = Check_Range(row, PGN, 0, 0x1FFFF, 3532))
            return fault;
        if (auto fault = Check_Range(row, SA, 0, 239, 3533))
            return fault;
        int64_t bytes = 8;  // a single frame whole
        std::optional<QString> fault;
        if (Checked(row, TP))
            fault = Check_Multi_Packet(row, TP_Start, TP_NByte, 1785, 3534, 3535, &bytes);
        else if (Checked(row, FP))
            fault = Check_Multi_Packet(row, TP_Start, TP_NByte, 223, 3536, 3537, &bytes);
        else
            fault = Check_Single_Frame(row, TP_Start, TP_NByte, {3538, 3539, 3540, 3541}, &bytes);
        if (fault)
            return fault;
        return total.Add(bytes);
    });
}

}  // namespace fieldbus::receive_nmea

TFReceiveNMEA* FReceiveNMEA() { return shell::Window<TFReceiveNMEA>(); }

TFReceiveNMEA::TFReceiveNMEA(const grid::TGridLayers& gridLayers, QWidget* parent)
    : shell::TSetup_Window(fieldbus::receive_nmea::Window(), gridLayers, parent), sga(Table(0))
{
}

void TFReceiveNMEA::Prepare_Show() { NUM_BYTE_IN = 512; }

std::optional<QString> TFReceiveNMEA::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    return fieldbus::receive_nmea::Check(tables, NUM_BYTE_IN);
}
