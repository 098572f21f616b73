#include "protocols/building/UTableEnd.h"

#include "platform/Dialogs.h"
#include "shell/ULanguage.h"

namespace building {

std::optional<Row_After_End> Find_Row_After_End(const shell::Project_File_Description& file,
                                                const std::vector<shell::Table_Rows>& tables)
{
    for (size_t t = 0; t < file.Tables.size() && t < tables.size(); ++t) {
        const shell::Table_Description& table = file.Tables[t];
        const shell::Table_Rows& rows = tables[t];
        const size_t end = table.Content_End(rows);
        for (size_t r = end; r < rows.size(); ++r)
            if (table.Holds_Data(rows[r]))
                return Row_After_End{int(t), int(r + 1), int(end + 1)};
    }
    return std::nullopt;
}

QString Row_After_End_Question(const shell::Project_File_Description& file, const Row_After_End& found,
                               const QString& tableName)
{
    const shell::Table_Description& table = file.Tables[size_t(found.Table)];
    const QString key = shell::Lang(table.Columns[size_t(table.Key_Column)].Header);
    const QString where = tableName.isEmpty() ? QStringLiteral("the table") : tableName;
    return QStringLiteral("Row %1 of %2 holds data, but the %3 of row %4 is empty: %2 ends at row %4, so row %1 and "
                          "every row after it will not be saved.\nSave anyway?")
        .arg(found.Row)
        .arg(where, key)
        .arg(found.End);
}

bool Ask_Save_Rows_After_End(const shell::Project_File_Description& file, const std::vector<shell::Table_Rows>& tables,
                             const QStringList& tableNames)
{
    const std::optional<Row_After_End> found = Find_Row_After_End(file, tables);
    if (!found)
        return true;
    return platform::MessageDlg(Row_After_End_Question(file, *found, tableNames.value(found->Table)),
                                platform::TMsgDlgType::mtConfirmation,
                                platform::TMsgDlgButtons::mbYesNo) == platform::mrYes;
}

}  // namespace building
