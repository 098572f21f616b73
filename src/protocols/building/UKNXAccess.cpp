#include "protocols/building/UKNXAccess.h"

#include "grid/core/ExtColumnGrid.h"
#include "shell/ULanguage.h"
#include "shell/UTextChecks.h"
#include "shell/UWindowList.h"

using shell::Cell_Editor;

namespace building::knx {

namespace {

constexpr int64_t Max_Time = 100000000;

using shell::Outside;

shell::Table_Column Text(int header, int hint, int width, const char* attribute, const char* fallback = nullptr)
{
    return {.Header = header, .Hint = hint, .Width = width, .Attribute = attribute,
            .Default = fallback ? fallback : "", .Required = !fallback};
}

shell::Table_Column List(int header, int hint, Cell_Editor kind, QStringList items, int width, const char* attribute,
                         const char* fallback = nullptr)
{
    shell::Table_Column column = Text(header, hint, width, attribute, fallback);
    column.Kind = kind;
    column.Items = std::move(items);
    return column;
}

shell::Table_Column Check_Box(int header, int hint, int width, const char* attribute, const char* fallback = nullptr)
{
    shell::Table_Column column = Text(header, hint, width, attribute, fallback);
    column.Kind = Cell_Editor::Check;
    column.Centred = true;
    return column;
}

shell::Setup_Window_Description Make_Window()
{
    shell::Table_Description table;
    table.Container = QStringLiteral("KNX_in_Write");
    table.Columns = {
        {.Header = 3814, .Kind = Cell_Editor::Row_Number, .Width = 40},
        {.Header = 3815, .Hint = 3831, .Kind = Cell_Editor::Check, .Width = 50, .Attribute = "Enable", .Default = "Y",
         .Cleared = "Y", .Centred = true},
        Text(3816, 3832, 70, "Source_Address"),
        Text(3817, 3833, 80, "Destination_Address"),
        List(3818, 3834, Cell_Editor::Editable_List, {"Read", "Write"}, 60, "APCI"),
        List(3819, 3835, Cell_Editor::List, Priority_Items(), 75, "Priority", "Normal"),
        List(3820, 3836, Cell_Editor::List,
             {"None", "Swap16", "Swap32", "Swap All", "Int to Float", "Float to Int", "Float16 to Float32",
              "Float16 to Int"},
             110, "Format", "None"),
        Text(3861, 3863, 85, "MultiplicationFactor", ""),
        Check_Box(3821, 3837, 68, "Extended"),
        Check_Box(3822, 3838, 50, "ReTest"),
        Check_Box(3823, 3840, 52, "On_Command", "N"),
        Check_Box(3824, 3841, 71, "On_Change"),
        Check_Box(3825, 3842, 62, "On_Timer", "N"),
        Text(3826, 3843, 67, "Poll_Time"),
        List(3827, 3844, Cell_Editor::List, {}, 55, "Position"),  // "0" .. "1439", filled at a show
        List(3828, 3845, Cell_Editor::List, QStringList{"No"} + shell::Byte_Position_Items(8, false), 55, "Bit_Mode"),
        Text(3829, 3846, 55, "Length"),
        Text(3862, 3864, 65, "TimeOut", "0"),
        Text(3830, 3847, 96, "Mnemonic"),
    };
    table.Key_Column = Source_Address;
    table.Enable_Column = Enable;

    shell::Setup_Window_Description window;
    window.Name = QStringLiteral("FKNXAccess");
    window.Client_Width = 1250;
    window.Client_Height = 337;
    window.File = {QStringLiteral("BACnet_to_KNX"), QStringLiteral("1.004"), {table}};
    window.Path = &shell::TApp_State::File_KNX_SetAccess;
    window.Grid_Names = {QStringLiteral("ACG_KNX_in_Write")};
    window.Caption = 3800;
    window.Description = 3801;
    window.Button_Captions = {3802, 3803, 3804, 3805, 3806, 3807};
    window.Button_Hints = {3808, 3809, 3810, 3811, 3812, 3813};
    window.Delete_Question = 3860;
    window.Row_Prefix = 3848;
    window.Insert_Enables = true;
    window.Ask_Rows_After_End = true;
    return window;
}

}  // namespace

const shell::Setup_Window_Description& Window()
{
    static const shell::Setup_Window_Description window = Make_Window();
    return window;
}

QStringList Priority_Items() { return {"System", "Urgent", "Normal", "Low"}; }

QString Normal_Priority(const QString& priority)
{
    return Priority_Items().contains(priority) ? priority : QStringLiteral("Normal");
}

int Check_Address(const QString& address, bool group)
{
    const QString text = shell::Trim_Blanks(address);
    const QStringList parts = text.split(QLatin1Char('.'));
    if (!group && parts.size() == 2) {
        // The shared check takes this form as it stands; here each part is one byte of the address.
        for (const QString& part : parts)
            if (Outside(shell::Setup_Number(shell::Trim_Blanks(part)), 0, 255))
                return 1;
        return 0;
    }
    return shell::Check_KNX_Address(text, group, true);
}

std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int maxNumByte, QChar separator)
{
    const auto check_row = [maxNumByte, separator](int, const shell::Checked_Row& row) -> std::optional<QString> {
        using shell::Lang;
        if (Check_Address(row.Cell(Source_Address), false))
            return Lang(3849);
        const QString destination = shell::Trim_Blanks(row.Cell(Destination_Address));
        const bool group = shell::Is_KNX_Group_Address(destination);
        if (Check_Address(destination, group))
            return Lang(group ? 3851 : 3850);
        const QString apci = row.Cell(APCI).toUpper();
        if (apci != QLatin1String("READ") && apci != QLatin1String("WRITE") && Outside(row.Setup_Number(APCI), 0, 1023))
            return Lang(3852);
        if (!Priority_Items().contains(row.Cell(Priority)))
            return Lang(3853);
        if (shell::Trim_Blanks(row.Cell(Format)).isEmpty())
            return Lang(3854);
        float factor = 0;
        if (!shell::Trim_Blanks(row.Cell(MultiplicationFactor)).isEmpty() &&
            !shell::Str_To_Float_Sep(row.Cell(MultiplicationFactor), separator, factor))
            return Lang(3865);
        if (row.Cell(On_Timer).toUpper() == QLatin1String("Y") && Outside(row.Setup_Number(Poll_Time), 1, Max_Time))
            return Lang(3855);
        const int64_t position = row.Setup_Number(Position);
        if (Outside(position, 0, maxNumByte - 1))
            return Lang(3856) + QString::number(maxNumByte - 1);
        const bool byteMode = row.Cell(Bit_Mode).toUpper() == QLatin1String("NO");
        const int64_t startBit = byteMode ? 0 : row.Setup_Number(Bit_Mode);
        if (Outside(startBit, 0, 7))
            return Lang(3857);
        const bool extended = row.Cell(Extended).toUpper() == QLatin1String("Y");
        const int64_t largest = byteMode ? (extended ? 255 : 14) : (extended ? 2040 : 112);
        const int64_t length = row.Setup_Number(Length);
        if (Outside(length, 1, largest))
            return Lang(3858) + QString::number(largest);
        const int64_t bytes = byteMode ? length : (length + startBit + 7) / 8;
        if (position + bytes > maxNumByte)
            return Lang(3859) + QString::number(maxNumByte);
        if (Outside(row.Setup_Number(TimeOut), 0, Max_Time))
            return Lang(3866);
        return std::nullopt;
    };
    return shell::Check_Setup_Tables(Window(), tables, check_row);
}

}  // namespace building::knx

TFKNXAccess* FKNXAccess() { return shell::Window<TFKNXAccess>(); }

TFKNXAccess::TFKNXAccess(const grid::TGridLayers& gridLayers, QWidget* parent)
    : shell::TSetup_Window(building::knx::Window(), gridLayers, parent), ACG_KNX_in_Write(Table(0))
{
    ACG_KNX_in_Write->SetDefaultRowHeight(22);
}

void TFKNXAccess::Prepare_Show()
{
    Max_Num_Byte = building::knx::MQTT_Array_Size;
    ACG_KNX_in_Write->Columns()[building::knx::Position]->ComboItems =
        shell::Byte_Position_Items(Max_Num_Byte, false);
}

void TFKNXAccess::FormShow()
{
    using namespace building::knx;
    Load_File();
    // A file's Priority outside the list (in another case, say) reads as "Normal".
    for (int r = 1; r < ACG_KNX_in_Write->RowCount(); ++r) {
        const QString priority = ACG_KNX_in_Write->Cells(Priority, r);
        if (priority.isEmpty() && shell::Key_Is_Empty(ACG_KNX_in_Write->Cells(Source_Address, r)))
            continue;
        if (Normal_Priority(priority) != priority)
            ACG_KNX_in_Write->SetCells(Priority, r, Normal_Priority(priority));
    }
}

std::optional<QString> TFKNXAccess::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    return building::knx::Check(tables, Max_Num_Byte, shell::Get_Decimal_Separator());
}
