#include "protocols/fieldbus/UTransmitJ1939.h"

#include "protocols/fieldbus/UPGNFrames.h"
#include "shell/ULanguage.h"
#include "shell/UTableGrid.h"
#include "shell/UWindowList.h"

using shell::Cell_Editor;

namespace fieldbus::transmit_j1939 {

namespace {

shell::Setup_Window_Description Make_Window()
{
    std::vector<shell::Table_Column> columns = {
        {.Header = 2714, .Kind = Cell_Editor::Row_Number, .Width = 40},
        {.Header = 2715, .Hint = 2725, .Width = 50, .Color = Light_Cyan, .Attribute = "Priority"},
        {.Header = 2716, .Hint = 2726, .Kind = Cell_Editor::List, .Items = Data_Page_Items(), .Width = 65,
         .Color = Light_Cyan, .Attribute = "DP"},
        {.Header = 2717, .Hint = 2727, .Width = 85, .Color = Light_Cyan, .Attribute = "PGN"},
        {.Header = 2718, .Hint = 2728, .Width = 95, .Color = Light_Cyan, .Attribute = "SA"},
        {.Header = 2719, .Hint = 2729, .Width = 60, .Color = Light_Yellow, .Attribute = "TP_NByte", .Default = "8"},
        {.Header = 2720, .Hint = 2730, .Kind = Cell_Editor::Check, .Width = 55, .Color = Pale_Green,
         .Attribute = "On_Request", .Default = "N"},
        {.Header = 2721, .Hint = 2731, .Kind = Cell_Editor::Check, .Width = 80, .Color = Pale_Green,
         .Attribute = "On_Data_Change", .Default = "N"},
        {.Header = 2722, .Hint = 2732, .Kind = Cell_Editor::Check, .Width = 60, .Color = Pale_Green,
         .Attribute = "On_Timer", .Default = "N"},
        {.Header = 2723, .Hint = 2733, .Width = 70, .Color = Pale_Green, .Attribute = "SendTimer"},
        {.Header = 2724, .Hint = 2734, .Width = 110, .Color = Window_Background, .Attribute = "Mnemonic"},
    };
    return PGN_Frame_Window({"FTransmitJ1939", 800, "Transmit_J1939", "1.102",
                             &shell::TApp_State::File_J1939_Send_Frames, 512, 2700, 2743, 2735},
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
    return Check_Frame_Table(Window(), tables, maxBytes, 2741, [maxBytes](const shell::Checked_Row& row, Byte_Total& total) {
        return Check_Transmit_Row(row, {Priority, DP, PGN, SA, TP_NByte, On_Timer, SendTimer},
                                  {2736, 2737, 2738, 2739, 2740, 2742, 0x1FFFF, 255}, maxBytes, total);
    });
}

void Read_Older_Rows(const QString& path, shell::Table_Rows& rows)
{
    // No file text holds a NUL: it marks a row without the attribute.
    const QString absent(QChar(0));
    const shell::Table_Description& table = Window().File.Tables[0];
    shell::Project_File_Layout layout{Window().File.Root, {}, {}, false};
    layout.Tables.push_back({.Attributes = {QStringLiteral("T_Type")}, .Defaults = {absent}, .Key_Column = -1,
                             .Max_Rows = table.Capacity});
    std::vector<shell::Table_Rows> older;
    shell::Read_Project_Table_File(path, layout, &older);
    const shell::Table_Rows modes = older.empty() ? shell::Table_Rows{} : older[0];
    for (size_t r = 0; r < modes.size() && r < rows.size(); ++r) {
        QStringList& row = rows[r];
        if (row.value(TP_NByte).isEmpty())
            row[TP_NByte] = QStringLiteral("8");
        const QString mode = modes[r].value(0);
        if (mode == absent)
            continue;
        const QString upper = mode.toUpper();
        row[On_Request] = row[On_Data_Change] = row[On_Timer] = QStringLiteral("N");
        if (upper == QLatin1String("ON DATA CHANGE"))
            row[On_Data_Change] = QStringLiteral("Y");
        else if (upper == QLatin1String("ON TIMER"))
            row[On_Timer] = QStringLiteral("Y");
    }
}

}  // namespace fieldbus::transmit_j1939

TFTransmitJ1939* FTransmitJ1939() { return shell::Window<TFTransmitJ1939>(); }

TFTransmitJ1939::TFTransmitJ1939(const grid::TGridLayers& gridLayers, QWidget* parent)
    : shell::TSetup_Window(fieldbus::transmit_j1939::Window(), gridLayers, parent), sga(Table(0))
{
}

void TFTransmitJ1939::FormShow()
{
    Load_File();
    // A file read in part was kept aside and reported; it is not read a second time.
    if (File_Not_Read_Whole())
        return;
    shell::Table_Rows rows = Rows(0);
    fieldbus::transmit_j1939::Read_Older_Rows(File_Path(), rows);
    shell::Fill_Table_Grid(*sga, rows);
}

void TFTransmitJ1939::Prepare_Show() { NUM_BYTE_OUT = fieldbus::MQTT_Array_Size; }

std::optional<QString> TFTransmitJ1939::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    return fieldbus::transmit_j1939::Check(tables, NUM_BYTE_OUT);
}
