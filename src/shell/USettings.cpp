#include "shell/USettings.h"

#include "shell/UComon.h"
#include "platform/XmlDoc.h"

#include "platform/Exception.h"
#include "platform/FileUtil.h"

#include <QFile>

#include <climits>

namespace shell {
namespace {
void setDefaults()
{
    App_State.Active_Conf_Name.clear();
    App_State.Project_Folder.clear();
    App_State.Device_IP_Address = Default_Device_IP;
    App_State.Language_Name = QStringLiteral("English");
    App_State.Opt_Enable_Internet = false;
    App_State.Opt_Enable_Update = false;
    App_State.Opt_Jump_Field_Tables = false;
    App_State.Opt_Double_Click_Auto_Size = false;
}

// Text of root/outer/inner, or the default when either element is missing.
QString leaf(const platform::XmlNode& root, const char* outer, const char* inner, const QString& def)
{
    const platform::XmlNode node = root.ChildByName(QLatin1String(outer)).ChildByName(QLatin1String(inner));
    return node ? node.Text() : def;
}
}  // namespace

QString Read_Settings(const QString& path)
{
    setDefaults();
    if (!platform::FileExists(path))
        return {};
    platform::XmlDocument doc;
    try {
        doc.LoadFromFile(path);
    } catch (const platform::Exception& e) {
        return e.message() + QLatin1Char('\n') + platform::KeepDamagedFile(path);
    }
    const platform::XmlNode root = doc.DocumentElement();
    App_State.Active_Conf_Name = leaf(root, "lastproj", "projectname", QString());
    App_State.Device_IP_Address = leaf(root, "lastipadd", "ipaddress", Default_Device_IP);
    App_State.Language_Name = leaf(root, "lastlang", "language", QStringLiteral("English"));
    const platform::XmlNode flags = root.ChildByName(QStringLiteral("lastinternet"));
    auto flag = [&](const char* name) {
        const platform::XmlNode n = flags.ChildByName(QLatin1String(name));
        return n && n.Text() == QLatin1String("1");
    };
    App_State.Opt_Enable_Internet = flag("enable_internet");
    App_State.Opt_Enable_Update = flag("enable_update");
    App_State.Opt_Jump_Field_Tables = flag("enable_jump_field_tables");
    App_State.Opt_Double_Click_Auto_Size = flag("Double_Click_Auto_Size");
    return {};
}

void Write_Settings(const QString& path)
{
    platform::XmlDocument doc;
    platform::XmlNode root = doc.AddRoot(QStringLiteral("Conf_Settings"));
    root.AddChild(QStringLiteral("lastproj")).AddChild(QStringLiteral("projectname")).SetText(App_State.Active_Conf_Name);
    root.AddChild(QStringLiteral("lastipadd")).AddChild(QStringLiteral("ipaddress")).SetText(App_State.Device_IP_Address);
    root.AddChild(QStringLiteral("lastlang")).AddChild(QStringLiteral("language")).SetText(App_State.Language_Name);
    platform::XmlNode flags = root.AddChild(QStringLiteral("lastinternet"));
    auto flag = [&](const char* name, bool on) {
        flags.AddChild(QLatin1String(name)).SetText(on ? QStringLiteral("1") : QStringLiteral("0"));
    };
    flag("enable_internet", App_State.Opt_Enable_Internet);
    flag("enable_update", App_State.Opt_Enable_Update);
    flag("enable_jump_field_tables", App_State.Opt_Jump_Field_Tables);
    flag("Double_Click_Auto_Size", App_State.Opt_Double_Click_Auto_Size);
    doc.SaveToFile(path);
}

bool Is_Plain_Conf_Name(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name)
        if (c.unicode() < 32 || c.unicode() == 0x7F || c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return false;
    return QFile::encodeName(name).size() <= NAME_MAX;
}

}  // namespace shell
