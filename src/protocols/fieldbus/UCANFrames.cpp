#include "protocols/fieldbus/UCANFrames.h"

#include "shell/ULanguage.h"
#include "shell/USetupWindow.h"
#include "shell/UTextChecks.h"

namespace fieldbus {

QStringList CAN_Type_Items() { return {CAN_Type_A, CAN_Type_B}; }

std::optional<QString> Check_CAN_Frame_Head(const shell::Checked_Row& row, const CAN_Frame_Columns& columns,
                                            const CAN_Frame_Texts& texts)
{
    const int64_t cobId = row.Setup_Number(columns.CobID);
    if (shell::Trim_Blanks(row.Cell(columns.Type)) == CAN_Type_A) {
        if (cobId < 0 || cobId > 2047)
            return shell::Lang(texts.CobID_A);
    } else if (cobId < 0 || cobId > 0x1FFFFFFF) {
        return shell::Lang(texts.CobID_B);
    }
    const int64_t dim = row.Setup_Number(columns.Dim);
    if (dim < 1 || dim > 8)
        return shell::Lang(texts.Dimension);
    return std::nullopt;
}

std::optional<QString> Check_CAN_Frame_Bytes(const shell::Checked_Row& row, const CAN_Frame_Columns& columns,
                                             const CAN_Frame_Texts& texts, int maxByte)
{
    const int64_t dim = row.Setup_Number(columns.Dim);
    for (int k = 1; k <= dim && k <= 8; ++k) {
        if (shell::Byte_Position_Valid(row.Cell(columns.Byte1 + k - 1), maxByte))
            continue;
        const int text = k == 1 ? texts.Byte1 : texts.Byte2 + k - 2;
        return shell::Lang(text) + QString::number(maxByte - 1) + shell::Lang(texts.Or_None);
    }
    return std::nullopt;
}

std::vector<shell::Table_Column> CAN_Byte_Columns(int firstHeader, int firstHint)
{
    std::vector<shell::Table_Column> columns;
    const QStringList items = shell::Byte_Position_Items(MQTT_Array_Size);
    for (int k = 1; k <= 8; ++k)
        columns.push_back({.Header = firstHeader + k - 1,
                           .Hint = firstHint + k - 1,
                           .Kind = shell::Cell_Editor::List,
                           .Items = items,
                           .Width = 48,
                           .Color = Light_Pink,
                           .Attribute = QStringLiteral("Byte%1").arg(k)});
    return columns;
}

shell::Setup_Window_Description CAN_Frame_Window(const CAN_Window_Data& data, std::vector<shell::Table_Column> columns,
                                                 int cobIdColumn)
{
    shell::Table_Description table;
    table.Columns = std::move(columns);
    table.Key_Column = cobIdColumn;
    table.Enable_Column = 1;
    table.Enable_Any_Case = true;
    table.Capacity = 512;

    shell::Setup_Window_Description window;
    window.Name = QLatin1String(data.Name);
    window.Client_Width = data.Client_Width;
    window.Client_Height = 337;
    window.File = {QLatin1String(data.Root), QStringLiteral("1.000"), {table}};
    window.Path = data.Path;
    window.Grid_Names = {QLatin1String(data.Grid)};
    window.Caption = data.Block;
    window.Description = data.Block + 1;
    for (int b = 0; b < 6; ++b) {
        window.Button_Captions.push_back(data.Block + 2 + b);
        window.Button_Hints.push_back(data.First_Button_Hint + b);
    }
    window.Delete_Question = data.Delete_Question;
    window.Row_Prefix = data.Row_Prefix;
    window.Insert_Enables = true;
    // Unlike the other set-up tables, a click on a row number selects nothing.
    window.Click_Selects_Row = false;
    return window;
}

}  // namespace fieldbus
