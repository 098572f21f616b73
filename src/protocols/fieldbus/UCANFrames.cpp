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

}  // namespace fieldbus
