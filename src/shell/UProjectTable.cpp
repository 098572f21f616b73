#include "shell/UProjectTable.h"

#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "shell/ULanguage.h"
#include "platform/XmlDoc.h"

namespace shell {

void Write_Project_Table_File(const QString& path, const Project_File_Layout& layout,
                              const std::vector<Table_Rows>& tables)
{
    platform::XmlDocument doc;
    platform::XmlNode root = doc.AddRoot(layout.Root);
    if (!layout.Version.isEmpty())
        doc.AddComment(QStringLiteral("SW_VERSION = ") + layout.Version);
    for (std::size_t t = 0; t < layout.Tables.size(); ++t) {
        const Table_Layout& table = layout.Tables[t];
        platform::XmlNode container = table.Container.isEmpty() ? root : root.AddChild(table.Container);
        if (t >= tables.size())
            continue;
        for (const QStringList& row : tables[t]) {
            if (Trim_Blanks(row.value(table.Key_Column)).isEmpty())
                break;
            platform::XmlNode element = container.AddChild(table.Row_Element);
            for (int c = 0; c < table.Attributes.size(); ++c)
                element.SetAttribute(table.Attributes.at(c), row.value(c));
        }
    }
    doc.SaveToFile(path);
}

void Read_Project_Table_File(const QString& path, const Project_File_Layout& layout,
                             std::vector<Table_Rows>* tables, QStringList* problems)
{
    tables->assign(layout.Tables.size(), Table_Rows{});
    if (!platform::FileExists(path))
        return;
    platform::XmlDocument doc;
    try {
        doc.LoadFromFile(path);
    } catch (const platform::Exception& e) {
        throw platform::Exception(e.message() + QLatin1Char('\n') + platform::KeepDamagedFile(path));
    }
    const platform::XmlNode root = doc.DocumentElement();
    for (std::size_t t = 0; t < layout.Tables.size(); ++t) {
        const Table_Layout& table = layout.Tables[t];
        const platform::XmlNode container = table.Container.isEmpty() ? root : root.ChildByName(table.Container);
        if (!container)
            throw platform::Exception(QStringLiteral("The file \"%1\" has no element \"%2\"").arg(path, table.Container) +
                                      QLatin1Char('\n') + platform::KeepDamagedFile(path));
        Table_Rows& rows = (*tables)[t];
        const QString& where = table.Container.isEmpty() ? layout.Root : table.Container;
        const std::vector<platform::XmlNode> elements = container.ChildNodes();
        for (const platform::XmlNode& element : elements) {
            if (static_cast<int>(rows.size()) >= table.Max_Rows) {
                if (problems)
                    problems->append(QStringLiteral("\"%1\" holds %2 rows; only the first %3 are read.")
                                         .arg(where)
                                         .arg(elements.size())
                                         .arg(table.Max_Rows));
                break;
            }
            QStringList row;
            QStringList missing;
            for (int c = 0; c < table.Attributes.size(); ++c) {
                const QString& name = table.Attributes.at(c);
                if (element.HasAttribute(name))
                    row.append(element.Attribute(name));
                else {
                    row.append(table.Defaults.value(c));
                    if (table.Required.contains(name))
                        missing.append(QLatin1Char('"') + name + QLatin1Char('"'));
                }
            }
            rows.push_back(row);
            if (problems && !missing.isEmpty())
                problems->append(QStringLiteral("Row %1 of \"%2\" lacks %3.")
                                     .arg(rows.size())
                                     .arg(where, missing.join(QStringLiteral(", "))));
        }
    }
}

}  // namespace shell
