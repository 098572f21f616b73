#include "protocols/fieldbus/UReceiveJ1939.h"

#include "protocols/fieldbus/UPGNFrames.h"
#include "shell/ULanguage.h"
#include "shell/UWindowList.h"

using shell::Cell_Editor;

namespace fieldbus::receive_j1939 {

namespace {

shell::Setup_Window_Description Make_Window()
{
    std::vector<shell::Table_Column> columns = {
        {.Header = 2614, .Kind = Cell_Editor::Row_Number, .Width = 40},
        {.Header = 2615, .Hint = 2625, .Kind = Cell_Editor::List, .Items = Data_Page_Items(), .Width = 65,
         .Color = Light_Cyan, .Attribute = "DP"},
        {.Header = 2616, .Hint = 2626, .Width = 85, .Color = Light_Cyan, .Attribute = "PGN"},
        {.Header = 2617, .Hint = 2627, .Width = 95, .Color = Light_Cyan, .Attribute = "SA"},
        {.Header = 2618, .Hint = 2628, .Kind = Cell_Editor::Check, .Width = 113, .Color = Light_Yellow,
         .Attribute = "TP", .Default = "N"},
        {.Header = 2619, .Hint = 2629, .Width = 65, .Color = Pale_Green, .Attribute = "TP_Start"},
        {.Header = 2620, .Hint = 2630, .Width = 55, .Color = Pale_Green, .Attribute = "TP_NByte"},
        {.Header = 2621, .Hint = 2631, .Kind = Cell_Editor::Check, .Width = 75, .Color = Light_Pink,
         .Attribute = "Delete", .Default = "N"},
        {.Header = 2622, .Hint = 2632, .Kind = Cell_Editor::Check, .Width = 75, .Color = Light_Orange,
         .Attribute = "OnRequest", .Default = "N"},
        {.Header = 2623, .Hint = 2633, .Width = 65, .Color = Light_Orange, .Attribute = "OnReq_Time", .Default = "1000"},
        {.Header = 2624, .Hint = 2634, .Width = 110, .Color = Window_Background, .Attribute = "Mnemonic"},
    };
    return PGN_Frame_Window({"FReceiveJ1939", 876, "Receive_J1939", "1.102", &shell::TApp_State::File_J1939_Rec_Frames,
                             512, 2600, 2647, 2635},
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
    return Check_Frame_Table(Window(), tables, maxBytes, 2645,
                             [](const shell::Checked_Row& row, Byte_Total& total) -> std::optional<QString> {
        if (row.Cell(DP).isEmpty())
            return shell::Lang(2636);
        if (auto fault = Check_Range(row, PGN, 0, 0xFFFF, 2637))
            return fault;
        if (auto fault = Check_Range(row, SA, 0, 239, 2638))
            return fault;
        int64_t bytes = 0;
        const auto fault = Checked(row, TP) ? Check_Multi_Packet(row, TP_Start, TP_NByte, 1785, 2639, 2640, &bytes)
                                            : Check_Single_Frame(row, TP_Start, TP_NByte, {2641, 2642, 2643, 2644}, &bytes);
        if (fault)
            return fault;
        if (auto over = total.Add(bytes))
            return over;
        if (Checked(row, OnRequest))
            return Check_Range(row, OnReq_Time, 0, 10000000, 2646);
        return std::nullopt;
    });
}

}  // namespace fieldbus::receive_j1939

TFReceiveJ1939* FReceiveJ1939() { return shell::Window<TFReceiveJ1939>(); }

TFReceiveJ1939::TFReceiveJ1939(const grid::TGridLayers& gridLayers, QWidget* parent)
    : shell::TSetup_Window(fieldbus::receive_j1939::Window(), gridLayers, parent), sga(Table(0))
{
}

void TFReceiveJ1939::Prepare_Show() { NUM_BYTE_IN = fieldbus::MQTT_Array_Size; }

std::optional<QString> TFReceiveJ1939::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    return fieldbus::receive_j1939::Check(tables, NUM_BYTE_IN);
}
