#include "protocols/fieldbus/UPGNFrames.h"

#include "shell/ULanguage.h"
#include "shell/UTextChecks.h"

namespace fieldbus {

QStringList Data_Page_Items() { return {QStringLiteral("0"), QStringLiteral("1")}; }

shell::Setup_Window_Description PGN_Frame_Window(const PGN_Window_Data& data, std::vector<shell::Table_Column> columns,
                                                 int pgnColumn)
{
    shell::Table_Description table;
    table.Columns = std::move(columns);
    table.Key_Column = pgnColumn;
    table.Key_Blanks_Count = true;
    table.Capacity = data.Capacity;

    shell::Setup_Window_Description window;
    window.Name = QLatin1String(data.Name);
    window.Client_Width = data.Client_Width;
    window.Client_Height = 337;
    window.File = {QLatin1String(data.Root), QLatin1String(data.Version), {table}};
    window.Path = data.Path;
    window.Grid_Names = {QStringLiteral("sga")};
    window.Caption = data.Block;
    window.Description = data.Block + 1;
    for (int b = 0; b < 6; ++b) {
        window.Button_Captions.push_back(data.Block + 2 + b);
        window.Button_Hints.push_back(data.Block + 8 + b);
    }
    window.Delete_Question = data.Delete_Question;
    window.Row_Prefix = data.Row_Prefix;
    return window;
}

std::optional<QString> Byte_Total::Add(int64_t bytes)
{
    FSum += bytes;
    if (FSum > FLimit)
        FFault = shell::Lang(FText) + QString::number(FLimit);
    return FFault;
}

std::optional<QString> Check_Frame_Table(
    const shell::Setup_Window_Description& window, const std::vector<shell::Table_Check_Input>& tables,
    int64_t limit, int totalText,
    const std::function<std::optional<QString>(const shell::Checked_Row&, Byte_Total&)>& check_row)
{
    Byte_Total total(limit, totalText);
    const std::optional<QString> fault = shell::Check_Setup_Tables(
        window, tables, [&](int, const shell::Checked_Row& row) { return check_row(row, total); });
    return total.Fault() ? total.Fault() : fault;
}

std::optional<QString> Check_Range(const shell::Checked_Row& row, int column, int64_t lo, int64_t hi, int text)
{
    const int64_t value = row.Setup_Number(column);
    if (value < lo || value > hi)
        return shell::Lang(text);
    return std::nullopt;
}

std::optional<QString> Check_Range_Named(const shell::Checked_Row& row, int column, int64_t lo, int64_t hi, int text)
{
    if (Check_Range(row, column, lo, hi, text))
        return shell::Lang(text) + QString::number(hi);
    return std::nullopt;
}

bool Checked(const shell::Checked_Row& row, int column) { return row.Cell(column) == QLatin1String("Y"); }

std::optional<QString> Check_Single_Frame(const shell::Checked_Row& row, int startColumn, int numberColumn,
                                          const Single_Frame_Texts& texts, int64_t* bytes)
{
    const bool noStart = shell::Trim_Blanks(row.Cell(startColumn)).isEmpty();
    const bool noNumber = shell::Trim_Blanks(row.Cell(numberColumn)).isEmpty();
    if (noStart && noNumber)
        return std::nullopt;
    if (noStart || noNumber)
        return shell::Lang(texts.Both);
    const int64_t start = row.Setup_Number(startColumn);
    const int64_t number = row.Setup_Number(numberColumn);
    // A negative start or count would pass the sum rule and address bytes before the frame.
    if (start < 0)
        return shell::Lang(texts.Start);
    if (number < 1 || number > 8)
        return shell::Lang(texts.Number);
    if (start + number > 8)
        return shell::Lang(texts.Sum);
    *bytes = number;
    return std::nullopt;
}

std::optional<QString> Check_Multi_Packet(const shell::Checked_Row& row, int startColumn, int numberColumn,
                                          int64_t last, int startText, int sumText, int64_t* bytes)
{
    if (auto fault = Check_Range(row, startColumn, 0, last, startText))
        return fault;
    const int64_t number = row.Setup_Number(numberColumn);
    if (number < 0 || row.Setup_Number(startColumn) + number > last)
        return shell::Lang(sumText);
    *bytes = number;
    return std::nullopt;
}

}  // namespace fieldbus

namespace fieldbus {

std::optional<QString> Check_Transmit_Row(const shell::Checked_Row& row, const Transmit_Columns& columns,
                                          const Transmit_Texts& texts, int64_t maxBytes, Byte_Total& total)
{
    if (auto fault = Check_Range(row, columns.Priority, 0, 7, texts.Priority))
        return fault;
    if (columns.DP >= 0 && row.Cell(columns.DP).isEmpty())
        return shell::Lang(texts.DP);
    if (auto fault = Check_Range(row, columns.PGN, 0, texts.Max_PGN, texts.PGN))
        return fault;
    if (auto fault = Check_Range(row, columns.SA, 0, texts.Max_SA, texts.SA))
        return fault;
    if (auto fault = Check_Range_Named(row, columns.NByte, 0, maxBytes, texts.NByte))
        return fault;
    if (auto over = total.Add(row.Setup_Number(columns.NByte)))
        return over;
    if (Checked(row, columns.On_Timer))
        return Check_Range(row, columns.SendTimer, 1, 65535, texts.Timer);
    return std::nullopt;
}

}  // namespace fieldbus
