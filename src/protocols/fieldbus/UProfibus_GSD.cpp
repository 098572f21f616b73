#include "protocols/fieldbus/UProfibus_GSD.h"

#include "platform/Dialogs.h"
#include "platform/FileUtil.h"
#include "protocols/fieldbus/UDescription_Files.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UVersionCheck.h"

namespace fieldbus::gsd {

namespace {

using namespace descriptions;

constexpr int Module_Bytes = 64;

QString Quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }
QString Hex2(int value) { return QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char('0')); }

// A line of the header box: ";*", the text, blanks up to column 84 and "*" in column 85.
QString Framed(const QString& text) { return QStringLiteral(";*") + text.leftJustified(82) + QLatin1Char('*'); }

// ";==== title " filled with "=" to the width.
QString Banner(const char* title, int width)
{
    return (QStringLiteral(";==== ") + QLatin1String(title) + QLatin1Char(' ')).leftJustified(width, QLatin1Char('='));
}

void Section(QStringList& lines, const char* title, int width)
{
    const QString rule = QLatin1Char(';') + QString(width - 1, QLatin1Char('='));
    lines << rule << Banner(title, width) << rule << QString();
}

void Header(QStringList& lines)
{
    const QString rule = Framed(QLatin1Char(' ') + QString(80, QLatin1Char('=')));
    const QString empty = Framed(QString());
    lines << QStringLiteral(";")
          << QStringLiteral(";*********************** PROFIBUS Slave / MQTT - Converter **************************")
          << rule << empty;
    const QString indent(11, QLatin1Char(' '));
    lines << Framed(QStringLiteral(" Vendor:   ") + Maker_Legal_Name);
    for (const QString& address : Maker_Address)
        lines << Framed(indent + address);
    lines << Framed(indent + QStringLiteral("Tel. : ") + Maker_Phone)
          << Framed(indent + QStringLiteral("FAX. : ") + Maker_Fax)
          << Framed(indent + QStringLiteral("eMail: ") + Maker_Email);
    lines << empty << rule << empty << Framed(QStringLiteral(" Function:       PROFIBUS Slave / MQTT - Converter"))
          << empty << empty << Framed(QStringLiteral(" Order Number : ") + GSD_Model_Code) << empty << empty
          << QLatin1Char(';') + QString(84, QLatin1Char('*'));
}

int Modules(int bytes) { return bytes > 0 ? (bytes + Module_Bytes - 1) / Module_Bytes : 0; }

// Modules of one direction for `bytes` bytes; p counts the ports across both directions.
void Module_Definitions(QStringList& lines, int bytes, const char* kind, int kindByte, int& p)
{
    for (int r = bytes; r > 0; r -= Module_Bytes, ++p) {
        const int length = std::min(r, Module_Bytes);
        lines << QStringLiteral("Module= \"%1  (PORT%2)    \" 0x%3,0x%4,0x00,0x%5")
                     .arg(QLatin1String(kind))
                     .arg(p)
                     .arg(Hex2(kindByte), Hex2(length - 1), Hex2(p))
              << QString::number(p) << QStringLiteral("EndModule");
    }
}

}  // namespace

QStringList GSD_Lines(int NByte_IN, int NByte_OUT)
{
    const QString maker = shell::Maker_Web_Name;
    const int slot_count = Modules(NByte_OUT) + Modules(NByte_IN);
    QStringList l;
    Header(l);
    l << QString() << QString() << QStringLiteral("#Profibus_DP") << QString() << QString();

    Section(l, "Prm-Text-Def-List", 85);
    l << QStringLiteral("PrmText=1") << QStringLiteral("Text(0)=\"disable\"") << QStringLiteral("Text(1)=\"enable\"")
      << QStringLiteral("EndPrmText") << QString();
    l << QStringLiteral("PrmText  = 2") << QStringLiteral("Text(0)  = \"clock up\"")
      << QStringLiteral("Text(1)  = \"clock down\"") << QStringLiteral("EndPrmText") << QString();
    l << QStringLiteral("PrmText  = 3");
    for (int k = 1; k <= 5; ++k)
        l << QStringLiteral("Text(%1)  = \"%2\"").arg(k).arg(k * 10);
    l << QStringLiteral("EndPrmText") << QString() << QString();

    Section(l, "Ext-User-Prm-Data-Def-List", 86);
    struct User_Prm {
        const char* Name;
        const char* Type;
        const char* Text_Ref;
    };
    const User_Prm prms[] = {{"[SlotNumber]", "Unsigned8 0 0-32", nullptr},
                             {"Diagnostic Alarm", "Bit(0) 0 0-1", "1"},
                             {"Process Alarm", "Bit(1) 0 0-1", "1"},
                             {"Counter mode", "Unsigned8 0 0-1", "2"},
                             {"Counter timebase (ms)", "Unsigned8 1 1-5", "3"},
                             {"Counter high-limit", "Unsigned16 65535 0-65535", nullptr},
                             {"Counter low-limit", "Unsigned16 0 0-65535", nullptr}};
    int n = 0;
    for (const User_Prm& p : prms) {
        l << QStringLiteral("ExtUserPrmData=%1 \"%2\"").arg(++n).arg(QLatin1String(p.Name)) << QLatin1String(p.Type);
        if (p.Text_Ref)
            l << QStringLiteral("Prm_Text_Ref=") + QLatin1String(p.Text_Ref);
        l << QStringLiteral("EndExtUserPrmData") << QString();
    }
    l << QString();

    Section(l, "General DP Keywords", 86);
    l << QStringLiteral("GSD_Revision = 5") << QStringLiteral("Vendor_Name = ") + Quoted(maker)
      << QStringLiteral("Model_Name = ") + Quoted(GSD_Model_Code) << QStringLiteral("Revision = \"1.00\"")
      << QStringLiteral("Ident_Number = 0x") + QString::number(GSD_Ident_Number, 16).toUpper().rightJustified(4, QLatin1Char('0'))
      << QStringLiteral("Protocol_Ident = 0") << QStringLiteral("Station_Type = 0") << QStringLiteral("FMS_supp = 0")
      << QStringLiteral("Hardware_Release = \"V1.00\"") << QStringLiteral("Software_Release = \"V1.00\"")
      << QStringLiteral("Redundancy = 0") << QStringLiteral("Repeater_Ctrl_Sig = 2") << QStringLiteral("24V_Pins = 0")
      << QString() << QString();

    static const char* const rates[] = {"9.6", "19.2", "45.45", "93.75", "187.5", "500", "1.5M", "3M", "6M", "12M"};
    static const int tsdr[] = {15, 15, 15, 15, 15, 15, 20, 35, 50, 95};
    Section(l, "Supported baudrates", 79);
    for (const char* rate : rates)
        l << QLatin1String(rate) + QStringLiteral("_supp = 1");
    l << QString();
    for (size_t k = 0; k < std::size(rates); ++k)
        l << QStringLiteral("MaxTsdr_") + QLatin1String(rates[k]) + QLatin1Char('=') + QString::number(tsdr[k]);
    l << QString() << QString();

    Section(l, "Slave specific values", 79);
    l << QStringLiteral("OrderNumber=") + Quoted(GSD_Model_Code)
      << QStringLiteral("Slave_Family = 9@") + maker + QLatin1Char('@') + GSD_Model_Code
      << QStringLiteral("Implementation_Type = \"VPC3+\"")
      << QStringLiteral("Info_Text=") + Quoted(maker + QStringLiteral(": PROFIBUS Slave / MQTT - Converter"))
      << QStringLiteral("Bitmap_Device = \"DPV0_1N\"") << QStringLiteral("Bitmap_SF=\"DPV0_1S\"") << QString()
      << QStringLiteral("Freeze_Mode_supp=1") << QStringLiteral("Sync_Mode_supp=1") << QStringLiteral("Fail_Safe=1")
      << QStringLiteral("Auto_Baud_supp=1") << QStringLiteral("Set_Slave_Add_supp=0") << QString()
      << QStringLiteral("Min_Slave_Intervall=6") << QString() << QStringLiteral("Modular_Station=1")
      << QStringLiteral("Max_Module=%1").arg(slot_count) << QStringLiteral("Modul_Offset=1")
      << QStringLiteral("Max_Input_Len=%1").arg(NByte_OUT) << QStringLiteral("Max_Output_Len=%1").arg(NByte_IN)
      << QStringLiteral("Max_Data_Len=%1").arg(NByte_OUT + NByte_IN) << QStringLiteral("Max_Diag_Data_Len=15")
      << QString() << QStringLiteral("WD_Base_1ms_supp = 1") << QStringLiteral("Publisher_supp = 1") << QString();

    Section(l, "User-Prm-Data", 79);
    l << QStringLiteral("Max_User_Prm_Data_Len = 12") << QStringLiteral("Ext_User_Prm_Data_Const(0)= 0x00,0x00,0x00")
      << QString();

    Section(l, "Modulstatus", 79);
    for (int s = 1; s <= 2; ++s) {
        l << QStringLiteral("Unit_Diag_Area = %1 - %2").arg(22 + 2 * s).arg(23 + 2 * s);
        static const char* const values[] = {"Module error", "Wrong module", "No module"};
        for (int v = 0; v < 3; ++v)
            l << QStringLiteral("Value(%1)= \"Slot %2: %3\"").arg(v + 1).arg(s).arg(QLatin1String(values[v]));
        l << QStringLiteral("Unit_Diag_Area_End");
    }
    l << QString() << QString();

    Section(l, "Module-Definition-List", 79);
    int p = 1;
    Module_Definitions(l, NByte_OUT, "DI", 0x42, p);
    Module_Definitions(l, NByte_IN, "DO", 0x82, p);
    l << QString() << QString() << QString();

    l << QStringLiteral("SlotDefinition");
    for (int s = 1; s <= slot_count; ++s)
        l << QStringLiteral("Slot(%1) = \"Slot %1\" %1 %1").arg(s);
    l << QStringLiteral("EndSlotDefinition") << QString() << QString() << QString() << QString();
    return l;
}

QString GSD_File_Path(const QString& chosen)
{
    return chosen.endsWith(QLatin1String(".gsd"), Qt::CaseInsensitive) ? chosen : chosen + QStringLiteral(".gsd");
}

void Write_GSD_File(const QString& path, int NByte_IN, int NByte_OUT)
{
    platform::WriteFileAtomic(path, Text_File_Bytes(GSD_Lines(NByte_IN, NByte_OUT)));
}

void Save_GSD_File()
{
    const QString parGen = shell::App_State.File_ParGen;
    if (!platform::FileExists(parGen)) {
        platform::MessageDlg(shell::Lang(1104), platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
        return;
    }
    const Profinet_Values values = Read_ParGen_Profinet(parGen);
    const int in = values.NB_IN.value_or(0), out = values.NB_OUT.value_or(0);
    auto valid = [](int n) { return n >= 1 && n <= GSD_Max_Bytes; };
    if (!valid(in) || !valid(out)) {
        platform::MessageDlg(QStringLiteral("The GSD file is not made: PROFIBUS DP carries 1 to %1 bytes each way, "
                                            "but the communication parameters give %2 input bytes "
                                            "(PROFINET_NB_IN) and %3 output bytes (PROFINET_NB_OUT).")
                                 .arg(GSD_Max_Bytes)
                                 .arg(in)
                                 .arg(out),
                             platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
        return;
    }
    platform::FileDialogRequest request;
    request.Save = true;
    request.InitialFolder = shell::App_State.Project_Folder;
    request.Filter = QStringLiteral("Generic Station Description (*.gsd)|*.gsd");
    request.OverwritePrompt = false;
    const QString chosen = platform::PromptForFileName(request);
    if (chosen.isEmpty())
        return;
    const QString path = GSD_File_Path(chosen);
    if (!Confirm_Replace(path, 1103))
        return;
    Write_GSD_File(path, in, out);
}

}  // namespace fieldbus::gsd
