#include "protocols/building/UBACnet_EDE_File.h"

#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "platform/IntText.h"
#include "platform/XmlDoc.h"
#include "protocols/building/UBACnetSlaveSetAccess.h"
#include "protocols/building/UBACnet_Common.h"
#include "shell/UComon.h"
#include "shell/UProjectTable.h"
#include "shell/UVersionCheck.h"

#include <QHash>
#include <QSet>
#include <array>
#include <utility>

namespace building::bacnet {

namespace {

constexpr std::array<std::pair<const char*, int>, 19> Object_Types = {{
    {"ANALOG INPUT", 0},        {"ANALOG OUT", 1},         {"ANALOG VALUE", 2},          {"BINARY INPUT", 3},
    {"BINARY OUT", 4},          {"BINARY VALUE", 5},       {"MULTI STATE INPUT", 13},    {"MULTI STATE OUTPUT", 14},
    {"MULTI STATE VALUE", 19},  {"LIFE SAFETY POINT", 21}, {"LIFE SAFETY ZONE", 22},     {"ACCUMULATOR", 23},
    {"ACCESS DOOR", 30},        {"CHARACTERSTRING VALUE", 40}, {"DATETIME VALUE", 44}, {"INTEGER VALUE", 45},
    {"LARGE ANALOG VALUE", 46}, {"POSITIVE INTEGER VALUE", 48},
    // The server table offers octet strings: the standard's octetstring-value object.
    {"OCTET STRING", 47},
}};

QString Two(int n) { return QString::number(n).rightJustified(2, QLatin1Char('0')); }

}  // namespace

int Get_EDE_Object_Type(const QString& dataType)
{
    const QString text = dataType.trimmed().toUpper();
    for (const auto& [name, type] : Object_Types)
        if (text == QLatin1String(name))
            return type;
    return 0;
}

EDE_Device EDE_Device_Of(const QString& parGenPath)
{
    EDE_Device device;
    const int type = platform::Parse_Int32(ParGen_Text(parGenPath, QStringLiteral("BACnet_Type")).value_or(QString())).value_or(0);
    device.Instance = ParGen_Text(parGenPath, type == 1 ? QStringLiteral("BACnet_Ser_DEV_IDE")
                                                        : QStringLiteral("BACnet_DEV_IDE"))
                          .value_or(QString());
    device.Desc_Limit = Desc_Chars_Limit(parGenPath);
    return device;
}

std::vector<TBACnet_EDE_Obj> EDE_Objects(const QString& slaveFile, const EDE_Device& device)
{
    std::vector<TBACnet_EDE_Obj> objects;
    if (!platform::FileExists(slaveFile))
        return objects;
    platform::XmlDocument doc;
    doc.LoadFromFile(slaveFile);
    const shell::Project_File_Description file = server::File(server::Object_Limit(device.Desc_Limit));
    const platform::XmlNode root = doc.DocumentElement();
    if (!root)
        throw platform::Exception(QStringLiteral("The file \"%1\" holds no document.").arg(slaveFile));
    const shell::Table_File_View view(root, file, slaveFile, QStringLiteral("the EDE file"));
    QHash<int, int> counters;
    QSet<QString> keynames;
    for (int t = 0; t < int(file.Tables.size()); ++t) {
        for (size_t r = 0; r < view.Row_Count(t); ++r) {
            const shell::Table_Row_View row = view.Row(t, r);
            auto text = [&](int column) {
                const std::string_view value = row.Required(column);
                return QString::fromUtf8(value.data(), qsizetype(value.size()));
            };
            const QString dataType = text(server::Data_Type);
            const QString unit = text(server::Eng_Unit);
            const QString mnemonic = text(server::Mnemonic);
            for (const auto& [name, value] : {std::pair{"Eng_Unit", &unit}, std::pair{"Mnemonic", &mnemonic}}) {
                const QString fault = EDE_Field_Fault(*value);
                if (!fault.isEmpty())
                    throw platform::Exception(QStringLiteral("Cannot build the EDE file from the file \"%1\": row %2 "
                                                             "of \"%3\": the attribute \"%4\" %5.")
                                                  .arg(slaveFile, QString::number(r + 1), file.Tables[size_t(t)].Container,
                                                       QLatin1String(name), fault));
            }
            const int type = Get_EDE_Object_Type(dataType);
            const int instance = counters.value(type, 0);
            counters[type] = instance + 1;
            TBACnet_EDE_Obj object;
            const QString base = device.Instance + QLatin1Char('_') + mnemonic + QLatin1Char('_') + QString::number(instance);
            // Objects of two types with one Mnemonic and one instance would share a key: the later
            // one takes its type too, and a number where even that repeats.
            QString key = base;
            if (keynames.contains(key))
                key = base + QLatin1Char('_') + QString::number(type);
            for (int n = 2; keynames.contains(key); ++n)
                key = base + QLatin1Char('_') + QString::number(type) + QLatin1Char('_') + QString::number(n);
            keynames.insert(key);
            object.Keyname = key;
            object.DevObjInstance = device.Instance;
            object.ObjectName = server::EDE_Name(mnemonic, device.Desc_Limit);
            object.ObjectType = QString::number(type);
            object.ObjectInstance = QString::number(instance);
            object.Description = object.ObjectName;
            object.UnitCode = unit;
            objects.push_back(std::move(object));
        }
    }
    return objects;
}

QString EDE_File_Text(const QString& organisation, const QString& confName, const QDateTime& time,
                      const std::vector<TBACnet_EDE_Obj>& objects)
{
    const QString end = QStringLiteral("\r\n");
    const QDate d = time.date();
    const QTime t = time.time();
    const QString stamp = Two(t.hour()) + QLatin1Char(':') + Two(t.minute()) + QLatin1Char(':') + Two(t.second()) +
                          QLatin1Char(' ') + Two(d.day()) + QLatin1Char('/') + Two(d.month()) + QLatin1Char('/') +
                          QString::number(d.year());
    QString text;
    text += QStringLiteral("PROJECT_NAME; ") + organisation + QStringLiteral("--") + confName + QStringLiteral(";;;;;;") + end;
    text += QStringLiteral("VERSION_OF_REFERENCEFILE;1.0;;;;;;") + end;
    text += QStringLiteral("TIMESTAMP_OF_LAST_CHANGE;") + stamp + QStringLiteral(";;;;;;") + end;
    text += QStringLiteral("AUTHOR_OF_LAST_CHANGE;") + organisation + QStringLiteral(";;;;;;") + end;
    text += QStringLiteral("VERSION_OF_LAYOUT;2;;;;;;") + end;
    text += QStringLiteral("# mandatory;mandatory;mandatory;mandatory;mandatory;optional;optional;") + end;
    text += QStringLiteral("# keyname;device obj.-instance;object-name;object-type;object-instance;description;unit-code;") + end;
    for (const TBACnet_EDE_Obj& o : objects) {
        for (const QString* field : {&o.Keyname, &o.DevObjInstance, &o.ObjectName, &o.ObjectType, &o.ObjectInstance,
                                     &o.Description, &o.UnitCode})
            text += *field + QLatin1Char(';');
        text += end;
    }
    return text;
}

QString EDE_Organisation() { return shell::Maker_Web_Name; }

QByteArray Make_EDE_File(const QString& slaveFile, const QString& parGenPath, const QString& confName,
                         const QDateTime& time)
{
    const EDE_Device device = EDE_Device_Of(parGenPath);
    if (device.Instance.trimmed().isEmpty())
        throw platform::Exception(
            QStringLiteral("The BACnet device instance is empty: set it in the \"Set Communication\" section (ParGen.xml "
                           "\"%1\") before writing the EDE file.")
                .arg(platform::Parse_Int32(ParGen_Text(parGenPath, QStringLiteral("BACnet_Type")).value_or(QString())).value_or(0) == 1
                         ? QStringLiteral("BACnet_Ser_DEV_IDE")
                         : QStringLiteral("BACnet_DEV_IDE")));
    if (const QString fault = EDE_Field_Fault(device.Instance); !fault.isEmpty())
        throw platform::Exception(QStringLiteral("The BACnet device instance \"%1\" %2.").arg(device.Instance, fault));
    if (const QString fault = EDE_Field_Fault(confName); !fault.isEmpty())
        throw platform::Exception(QStringLiteral("The configuration name \"%1\" %2.").arg(confName, fault));
    const std::vector<TBACnet_EDE_Obj> objects = EDE_Objects(slaveFile, device);
    return To_Windows_1252(EDE_File_Text(EDE_Organisation(), confName, time, objects));
}

}  // namespace building::bacnet

void Write_EDE_File(const QString& FileName)
{
    using namespace building::bacnet;
    const QByteArray bytes = Make_EDE_File(shell::App_State.File_BACnet_Slave_SetAccess, shell::App_State.File_ParGen,
                                           shell::App_State.Active_Conf_Name, QDateTime::currentDateTime());
    try {
        platform::WriteFileAtomic(FileName, bytes);
    } catch (const platform::Exception& e) {
        throw platform::Exception(QStringLiteral("The EDE file \"%1\" was not written: %2").arg(FileName, e.message()));
    }
    const int objects = int(bytes.count('\n')) - 7;
    platform::MessageDlg(QStringLiteral("The EDE file \"%1\" was written with %2 BACnet objects.").arg(FileName).arg(objects),
                         platform::TMsgDlgType::mtInformation, platform::TMsgDlgButtons::mbOK);
}
