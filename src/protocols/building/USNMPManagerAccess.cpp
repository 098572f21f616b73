#include "protocols/building/USNMPManagerAccess.h"

#include "grid/core/ExtColumnGrid.h"
#include "protocols/building/USNMP_Tables.h"
#include "shell/ULanguage.h"
#include "shell/UTextChecks.h"
#include "shell/UWindowList.h"

namespace building::snmp_manager {

using shell::Cell_Editor;
using snmp::Check_Column;
using snmp::List_Column;
using shell::Outside;
using snmp::Text_Column;

namespace {

shell::Setup_Window_Description Make_Window()
{
    shell::Table_Description table;
    table.Columns = {
        {.Header = 4008, .Kind = Cell_Editor::Row_Number, .Width = 40},
        Check_Column(4009, 4023, 50, "Enable", "Y", "Y"),
        Text_Column(4010, 4024, 90, "IP_Address"),
        List_Column(4011, 4025, {"1", "2", "3"}, 60, "Version"),
        List_Column(4012, 4026, snmp::Community_Items(), 106, "Community_String", "", Cell_Editor::Editable_List),
        Text_Column(4013, 4027, 100, "OID"),
        List_Column(4014, 4028, {"String", "Int"}, 65, "Type"),
        List_Column(4015, 4029, {"Get", "Set", "Trap"}, 65, "Mode"),
        Check_Column(4016, 4030, 75, "On_Change", "N"),
        Check_Column(4017, 4031, 50, "On_Command", "N"),
        Check_Column(4018, 4032, 65, "On_Timer", "N"),
        Text_Column(4019, 4033, 65, "Time"),
        List_Column(4020, 4034, {}, 75, "Position"),  // filled at every show
        Text_Column(4021, 4035, 75, "Number_Bytes"),
        List_Column(4054, 4055, {"None", "Float", "Float * 10", "Float * 100"}, 95, "ConvertFrom", "None"),
        Check_Column(4060, 4061, 50, "Cancel", "N"),
        Text_Column(4062, 4068, 70, "User"),
        Text_Column(4063, 4069, 70, "Auth_Pass"),
        Text_Column(4064, 4070, 70, "Priv_Pass"),
        List_Column(4065, 4071, {"NoAuth NoPriv", "Auth NoPriv", "Auth Priv"}, 100, "Security_Level"),
        List_Column(4066, 4072, {"MD5", "SHA"}, 75, "Auth_Mode"),
        List_Column(4067, 4073, {"DES", "AES"}, 75, "Priv_Mode"),
        Text_Column(4022, 4036, 80, "Mnemonic"),
    };
    table.Key_Column = IP_Address;
    table.Enable_Column = Enable;
    table.Capacity = Table_Rows_Count;

    shell::Setup_Window_Description window;
    window.Name = QStringLiteral("FSNMPManagerAccess");
    window.Client_Width = 1230;
    window.Client_Height = 337;
    window.File = {QStringLiteral("SNMP_Manager_Access"), QStringLiteral("1.003"), {table}};
    window.Path = &shell::TApp_State::File_SNMP_Manager;
    window.Grid_Names = {QStringLiteral("ACG_SNMP")};
    window.Caption = 4000;
    window.Description = 4001;
    for (int b = 0; b < 6; ++b) {
        window.Button_Captions.push_back(4002 + b);
        window.Button_Hints.push_back(4048 + b);
    }
    window.Delete_Question = 4047;
    window.Row_Prefix = 4037;
    window.Insert_Enables = true;
    window.Click_Selects_Row = false;
    window.Ask_Rows_After_End = true;
    return window;
}

// Check_SNMP_Password's results 1 .. 3 as the first of three texts.
std::optional<QString> Password_Fault(const QString& text, bool allowShort, int firstText)
{
    const int result = shell::Check_SNMP_Password(text, allowShort);
    return result == 0 ? std::nullopt : std::optional<QString>(shell::Lang(firstText + result - 1));
}

std::optional<QString> Check_Request(const shell::Checked_Row& row, int areaSize)
{
    using shell::Lang;
    using shell::Trim_Blanks;
    QString p1, p2, p3, p4;
    if (!shell::Split_IP_Address(row.Cell(IP_Address), p1, p2, p3, p4))
        return Lang(4038);
    const QString oid = row.Cell(OID);
    if (oid.isEmpty())
        return QStringLiteral("!! OID string can not be empty");
    if (const int result = shell::Check_SNMP_OID(oid))
        return Lang(4039 + result - 1);
    if (Trim_Blanks(row.Cell(On_Timer)) == QLatin1String("Y") && Outside(row.Setup_Number(Time), 1, 100000000))
        return Lang(4045);
    const int64_t bytes = row.Setup_Number(Number_Bytes);
    if (Outside(bytes, 0, 1024))
        return Lang(4046);
    if (auto fault = shell::Area_Fit_Fault(QString(), shell::Area_Position(row.Cell(Position), areaSize), bytes, areaSize))
        return fault;
    if (Trim_Blanks(row.Cell(ConvertFrom)).isEmpty())
        return Lang(4056);
    if (row.Setup_Number(Version) != 3)
        return std::nullopt;
    // 4074 too long, 4075 empty, 4076 another character; the passwords the same from 4077 and 4080.
    if (auto fault = Password_Fault(row.Cell(User), true, 4074))
        return fault;
    if (auto fault = Password_Fault(row.Cell(Auth_Pass), false, 4077))
        return fault;
    if (auto fault = Password_Fault(row.Cell(Priv_Pass), false, 4080))
        return fault;
    const int level = shell::Get_SNMP_Security_Level(row.Cell(Security_Level));
    if (level < 0)
        return Lang(4083);
    if ((level == 1 || level == 3) && Trim_Blanks(row.Cell(Auth_Mode)).isEmpty())
        return Lang(4084);
    if (level == 3 && Trim_Blanks(row.Cell(Priv_Mode)).isEmpty())
        return Lang(4085);
    return std::nullopt;
}

}  // namespace

const shell::Setup_Window_Description& Window()
{
    static const shell::Setup_Window_Description window = Make_Window();
    return window;
}

std::optional<QString> Check(const std::vector<shell::Table_Check_Input>& tables, int areaSize)
{
    if (auto fault = shell::Check_Setup_Tables(Window(), tables,
                                         [areaSize](int, const shell::Checked_Row& row) { return Check_Request(row, areaSize); }))
        return fault;
    if (tables.empty())
        return std::nullopt;
    const shell::Table_Description& table = Window().File.Tables[0];
    const shell::Table_Rows& rows = tables[0].Rows;
    const size_t end = table.Content_End(rows);
    using shell::Trim_Blanks;
    for (size_t b = 0; b < end; ++b) {
        if (!table.Enabled(rows[b]))
            continue;
        for (size_t e = b + 1; e < end; ++e) {
            if (!table.Enabled(rows[e]))
                continue;
            bool same = true;
            for (int c : {IP_Address, Version, OID})
                same = same && Trim_Blanks(rows[b].value(c)) == Trim_Blanks(rows[e].value(c));
            if (same)
                return shell::Lang(4086) + QString::number(b + 1) + shell::Lang(4087) + QString::number(e + 1) +
                       shell::Lang(4088);
        }
    }
    return std::nullopt;
}

}  // namespace building::snmp_manager

namespace manager = building::snmp_manager;

TFSNMPManagerAccess* FSNMPManagerAccess() { return shell::Window<TFSNMPManagerAccess>(); }

TFSNMPManagerAccess::TFSNMPManagerAccess(const grid::TGridLayers& gridLayers, QWidget* parent)
    : shell::TSetup_Window(manager::Window(), gridLayers, parent), ACG_SNMP(Table(0))
{
}

void TFSNMPManagerAccess::Prepare_Show()
{
    ACG_SNMP->Columns()[manager::Position]->ComboItems = shell::Byte_Position_Items(building::snmp::MQTT_Array_Size, false);
}

std::optional<QString> TFSNMPManagerAccess::Check_Tables(const std::vector<shell::Table_Check_Input>& tables) const
{
    return manager::Check(tables, building::snmp::MQTT_Array_Size);
}
