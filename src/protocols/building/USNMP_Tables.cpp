#include "protocols/building/USNMP_Tables.h"

#include "grid/core/ExtColumnGrid.h"
#include "platform/Dialogs.h"
#include "shell/ULanguage.h"
#include "shell/UTextChecks.h"

namespace building::snmp {

shell::Table_Column Check_Column(int header, int hint, int width, const char* attribute, const char* fallback,
                                 const char* cleared)
{
    return {.Header = header, .Hint = hint, .Kind = shell::Cell_Editor::Check, .Width = width, .Attribute = attribute,
            .Default = fallback, .Cleared = cleared, .Centred = true};
}

shell::Table_Column Text_Column(int header, int hint, int width, const char* attribute)
{
    return {.Header = header, .Hint = hint, .Width = width, .Attribute = attribute};
}

shell::Table_Column List_Column(int header, int hint, QStringList items, int width, const char* attribute,
                                const char* fallback, shell::Cell_Editor kind)
{
    return {.Header = header, .Hint = hint, .Kind = kind, .Items = std::move(items), .Width = width,
            .Attribute = attribute, .Default = fallback};
}

QStringList Community_Items() { return {QStringLiteral("Pebble"), QStringLiteral("Harbour")}; }

int64_t Area_Position(const QString& cell, int areaSize)
{
    const int64_t position = shell::Setup_Number(shell::Trim_Blanks(cell));
    return position >= 0 && position < areaSize ? position : -1;
}

std::optional<QString> Area_Fit_Fault(const QString& tag, int64_t position, int64_t bytes, int areaSize)
{
    if (position < 0)
        return QStringLiteral("!! %1Position must be between 0 and %2").arg(tag).arg(areaSize - 1);
    if (position + bytes <= areaSize)
        return std::nullopt;
    return QStringLiteral("!! %1Position %2 with %3 bytes ends beyond the %4-byte exchange area (last position %5)")
        .arg(tag)
        .arg(position)
        .arg(bytes)
        .arg(areaSize)
        .arg(areaSize - 1);
}

std::optional<QString> Check_Content(const shell::Setup_Window_Description& window,
                                     const std::vector<shell::Table_Check_Input>& tables,
                                     const std::function<std::optional<QString>(int, const shell::Checked_Row&)>& check_row)
{
    shell::Table_Checks checks;
    checks.Row_Prefix = window.Row_Prefix;
    checks.Check_Row = check_row;
    return shell::Check_Project_Tables(window.File, tables, checks);
}

std::optional<QString> Rows_After_End_Question(const shell::Project_File_Description& file,
                                               const std::vector<shell::Table_Rows>& tables,
                                               const QStringList& tableNames)
{
    for (size_t t = 0; t < file.Tables.size() && t < tables.size(); ++t) {
        const shell::Table_Description& table = file.Tables[t];
        const size_t end = table.Content_End(tables[t]);
        for (size_t r = end; r < tables[t].size(); ++r) {
            if (!table.Holds_Data(tables[t][r]))
                continue;
            const QString name = tableNames.value(int(t));
            const QString key = shell::Lang(table.Columns[size_t(table.Key_Column)].Header);
            return QStringLiteral("%1Row %2 holds data, but the %3 of row %4 is empty: the table ends at row %4, so "
                                  "row %2 and every row below it would not be saved. Save anyway?")
                .arg(name.isEmpty() ? QString() : QStringLiteral("[%1] ").arg(name))
                .arg(r + 1)
                .arg(key)
                .arg(end + 1);
        }
    }
    return std::nullopt;
}

void Confirmed_OK(shell::TSetup_Window& window, const QStringList& tableNames)
{
    std::vector<shell::Table_Rows> tables;
    for (int t = 0; t < window.Table_Count(); ++t) {
        window.Table(t)->CellsMoving();
        tables.push_back(window.Rows(t));
    }
    if (!window.Controllo_dati())
        return;
    if (const auto question = Rows_After_End_Question(window.File(), tables, tableNames);
        question && platform::MessageDlg(*question, platform::TMsgDlgType::mtConfirmation,
                                         platform::TMsgDlgButtons::mbYesNo) != platform::mrYes)
        return;
    window.Btn_OKClick();
}

}  // namespace building::snmp
