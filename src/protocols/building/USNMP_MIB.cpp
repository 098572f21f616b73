#include "protocols/building/USNMP_MIB.h"

#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "protocols/building/USNMP_Trap_Access.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UVersionCheck.h"

#include <QRegularExpression>

std::array<std::array<bool, MIB_Max_Objects>, 2> MIB_Object_Is_Int{};

namespace {

// The maker's own data in the module's identity. 32473 is the enterprise number set aside for
// examples and documentation.
const QString Maker_Street = QStringLiteral("Example Street 1");
const QString Maker_Town = QStringLiteral("00000 Example Town");
const QString Maker_Country = QStringLiteral("Example Country");
const QString Maker_Mail_Domain = QStringLiteral("kelvor.example");
constexpr int Maker_Enterprise_Number = 32473;

constexpr int Data_Blocks = 8;

QString Syntax(bool isInt) { return isInt ? QStringLiteral("Integer32") : QStringLiteral("OCTET STRING"); }

// The object's name: its description, or the section's value node followed by its index.
QString Object_Name(const QString& description, const char* valueNode, int index)
{
    return description.isEmpty() ? QLatin1String(valueNode) + QString::number(index) : description;
}

QString Object_Line(const QString& description, bool isInt, const char* access, const char* valueNode, int index)
{
    return QStringLiteral("%1 OBJECT-TYPE SYNTAX %2 MAX-ACCESS %3 STATUS current DESCRIPTION \"%4\" ::= { %5 %6 }")
        .arg(Object_Name(description, valueNode, index), Syntax(isInt), QLatin1String(access), description,
             QLatin1String(valueNode))
        .arg(index);
}

QString Block_Line(const char* node, const char* access, int k)
{
    return QStringLiteral("%1blk%2 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS %3 STATUS current DESCRIPTION "
                          "\"data block n.%2\" ::= { %1 %2 }")
        .arg(QLatin1String(node))
        .arg(k)
        .arg(QLatin1String(access));
}

}  // namespace

bool MIB_Reserved_Name(const QString& name)
{
    static const QStringList fixed = {
        QStringLiteral("identity"),    QStringLiteral("kelvor"),      QStringLiteral("gateway"),
        QStringLiteral("application"), QStringLiteral("data"),        QStringLiteral("hellostring"),
        QStringLiteral("countin"),     QStringLiteral("countout"),    QStringLiteral("bufferin"),
        QStringLiteral("bufferinval"), QStringLiteral("bufferout"),   QStringLiteral("bufferoutval"),
        QStringLiteral("traps"),       QStringLiteral("trapsval"),    QStringLiteral("enterprises"),
        QStringLiteral("iso"),
    };
    static const QRegularExpression made(QStringLiteral("^(bufferinblk|bufferoutblk|bufferinval|bufferoutval|trapval)[0-9]+$"));
    return fixed.contains(name) || made.match(name).hasMatch();
}

void Load_MIB_Objects()
{
    using namespace building::snmp_agent;
    shell::TApp_State& state = shell::App_State;
    state.MIB_Read_Objects.clear();
    state.MIB_Write_Objects.clear();
    MIB_Object_Is_Int = {};
    const QString path = state.File_SNMP_Trap;
    if (!platform::FileExists(path))
        return;

    const shell::Setup_Window_Description& window = building::snmp_agent::Window();
    std::vector<shell::Table_Rows> tables;
    QStringList problems;
    const auto refuse = [&path](const QString& why) {
        throw platform::Exception(QStringLiteral("The MIB file was not written: \"%1\" %2\nOpen the SNMP agent "
                                                 "window, mend the tables and save them first.")
                                      .arg(path, why));
    };
    try {
        shell::Read_Project_Tables(path, window.File, &tables, &problems);
    } catch (const platform::Exception& e) {
        problems.prepend(e.message());
    }
    if (!problems.isEmpty())
        refuse(QStringLiteral("could not be read whole:\n") + problems.mid(0, 10).join(QLatin1Char('\n')));

    // The objects are what the window would save: its checks hold for the file.
    std::vector<shell::Table_Check_Input> input;
    for (const shell::Table_Rows& rows : tables)
        input.push_back({rows, {}});
    if (const auto fault = Check(input, building::snmp::MQTT_Array_Size, building::snmp::MQTT_Array_Size))
        refuse(QStringLiteral("holds a row the SNMP agent window refuses:\n") + *fault);

    const int descriptionColumn[2] = {rd::Description, wr::Description};
    const int typeColumn[2] = {rd::Type, wr::Type};
    QStringList* lists[2] = {&state.MIB_Read_Objects, &state.MIB_Write_Objects};
    for (int t = 0; t < 2; ++t) {
        const shell::Table_Description& table = window.File.Tables[size_t(t)];
        const shell::Table_Rows& rows = tables[size_t(t)];
        for (size_t r = 0; r < table.Content_End(rows); ++r) {
            if (!table.Enabled(rows[r]))
                continue;
            const qsizetype k = lists[t]->size();
            if (k >= MIB_Max_Objects) {
                state.MIB_Read_Objects.clear();
                state.MIB_Write_Objects.clear();
                refuse(QStringLiteral("holds more than %1 enabled rows in %2.").arg(MIB_Max_Objects).arg(table.Container));
            }
            lists[t]->append(rows[r].value(descriptionColumn[t]));
            MIB_Object_Is_Int[size_t(t)][size_t(k)] = Is_Int_Type(rows[r].value(typeColumn[t]));
        }
    }
}

QByteArray MIB_Text()
{
    const shell::TApp_State& state = shell::App_State;
    QStringList lines = {
        QStringLiteral("GATEWAY DEFINITIONS ::= BEGIN"),
        QStringLiteral("IMPORTS"),
        QStringLiteral("       MODULE-IDENTITY, OBJECT-TYPE, NOTIFICATION-TYPE, Integer32, enterprises"),
        QStringLiteral("         FROM SNMPv2-SMI"),
        QStringLiteral("         DisplayString, TimeStamp"),
        QStringLiteral("         FROM SNMPv2-TC;"),
        QString(),
        QStringLiteral("identity MODULE-IDENTITY"),
        QStringLiteral("    LAST-UPDATED \"201701310000Z\""),
        QStringLiteral("    ORGANIZATION \"%1\"").arg(shell::Maker_Web_Name),
        QStringLiteral("    CONTACT-INFO"),
        QStringLiteral("\t \"") + Maker_Street,
        QStringLiteral("    ") + Maker_Town,
        QStringLiteral("    ") + Maker_Country,
        QStringLiteral("    email:    %1\"").arg(Maker_Mail_Domain),
        QStringLiteral("    DESCRIPTION"),
        QStringLiteral("\t\"MIB objects for agent module \""),
        QStringLiteral("    REVISION     \"201701310000Z\""),
        QStringLiteral("    DESCRIPTION"),
        QStringLiteral("\t\"Corrected notification \""),
        QStringLiteral("    REVISION     \"200202060000Z\""),
        QStringLiteral("    DESCRIPTION"),
        QStringLiteral("\t\"First draft\""),
        QStringLiteral("    ::= { kelvor 2 }"),
        QStringLiteral("kelvor          OBJECT IDENTIFIER ::= { enterprises %1 }").arg(Maker_Enterprise_Number),
        QStringLiteral("gateway OBJECT IDENTIFIER::= { kelvor 1 }"),
        QStringLiteral("application OBJECT IDENTIFIER::= { gateway 1 }"),
        QStringLiteral("data OBJECT IDENTIFIER::= { application 1 }"),
        QStringLiteral("hellostring OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only  STATUS current  "
                       "DESCRIPTION \"\" ::= { data 1}"),
        QStringLiteral("countin  OBJECT-TYPE SYNTAX Integer32       MAX-ACCESS read-only  STATUS current  "
                       "DESCRIPTION \"\" ::= { data 2}"),
        QStringLiteral("countout  OBJECT-TYPE SYNTAX Integer32       MAX-ACCESS read-write STATUS current  "
                       "DESCRIPTION \"\" ::= { data 3}"),
        QStringLiteral("bufferin OBJECT IDENTIFIER::= { data 4 }"),
    };
    for (int k = 1; k <= Data_Blocks; ++k)
        lines.append(Block_Line("bufferin", "read-only", k));
    lines.append(QStringLiteral(" bufferinval OBJECT IDENTIFIER::= { bufferin 9 }"));
    const QStringList& read = state.MIB_Read_Objects;
    const QStringList& write = state.MIB_Write_Objects;
    const auto isInt = [](int section, qsizetype k) { return k < MIB_Max_Objects && MIB_Object_Is_Int[size_t(section)][size_t(k)]; };
    for (qsizetype i = 0; i < read.size(); ++i)
        lines.append(Object_Line(read.at(i), isInt(0, i), "read-only", "bufferinval", int(i + 1)));
    lines.append(QStringLiteral("bufferout OBJECT IDENTIFIER::= { data 5 }"));
    for (int k = 1; k <= Data_Blocks; ++k)
        lines.append(Block_Line("bufferout", "read-write", k));
    lines.append(QStringLiteral(" bufferoutval OBJECT IDENTIFIER::= { bufferout 9 }"));
    for (qsizetype j = 0; j < write.size(); ++j)
        lines.append(Object_Line(write.at(j), isInt(1, j), "read-write", "bufferoutval", int(j + 1)));
    lines.append(QStringLiteral("traps OBJECT IDENTIFIER::= { application 2 }"));
    lines.append(QStringLiteral(" trapsval OBJECT IDENTIFIER::= { traps 1 }"));
    for (qsizetype i = 0; i < read.size(); ++i)
        lines.append(QStringLiteral("trapval%1 NOTIFICATION-TYPE OBJECTS { %2 } STATUS current DESCRIPTION \"%3\" "
                                    "::= { trapsval %1 }")
                         .arg(i + 1)
                         .arg(Object_Name(read.at(i), "bufferinval", int(i + 1)), read.at(i)));
    lines.append(QStringLiteral("END"));
    // Names and descriptions are letters and digits: the text is ASCII in every code page.
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1();
}

void Write_MIB_File(const QString& FileName) { platform::WriteFileAtomic(FileName, MIB_Text()); }

void Save_MIB_File()
{
    platform::FileDialogRequest request;
    request.Save = true;
    request.InitialFolder = shell::App_State.Project_Folder;
    request.Filter = QStringLiteral("Management Information Base (*.mib)|*.mib");
    request.DefaultExt = QStringLiteral("*.mib");
    const QString file = platform::PromptForFileName(request);
    if (file.isEmpty())
        return;
    if (platform::FileExists(file) &&
        platform::MessageDlg(shell::Lang(1105), platform::TMsgDlgType::mtConfirmation,
                             platform::TMsgDlgButtons::mbYesNo) != platform::mrYes)
        return;
    Load_MIB_Objects();
    Write_MIB_File(file);
}
