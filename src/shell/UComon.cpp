#include "shell/UComon.h"

#include <QCoreApplication>
#include <QDir>

namespace shell {

QString Exe_Folder;
QString Master_Folder;
QString Projects_Folder;
QString Language_Folder;
QString Active_Conf_Name;
QString Project_Folder;
QString Main_Title;
QString SW_Code;
QString SW_Desc;
QString Device_IP_Address = Default_Device_IP;
int Update_Option = 0;
bool Update_Read_Back = true;
QString Language_Name = QStringLiteral("English");
bool Opt_Enable_Internet = false;
bool Opt_Enable_Update = false;
bool Opt_Jump_Field_Tables = false;
bool Opt_Double_Click_Auto_Size = false;
QString EDE_Import_Folder;

QString File_ParGen;
QString File_MQTT_Set_Topic;
QString File_M_Bus;
QString File_ModbusM_SetAccess;
QString File_ModbusTCPM_SetAccess;
QString File_MQTT_Set_Access;
QString File_CAN_Rec_Frames;
QString File_CAN_Send_Frames;
QString File_SDO_Server_CANopen;
QString File_SDO_Client_CANopen;
QString File_PDO_CANopen;
QString File_DNETM_Net;
QString File_DNETM_DefOff;
QString File_J1939_Rec_Frames;
QString File_J1939_Send_Frames;
QString File_NMEA_Rec_Frames;
QString File_NMEA_Send_Frames;
QString File_DMX_Default_Values;
QString File_KNX_SetAccess;
QString File_SNMP_Trap;
QString File_SNMP_Manager;
QString File_BACnet_Slave_SetAccess;
QString File_DALI_Access;
QString File_DALI2_Access;
QString File_BACnet_Master_Access;

QStringList Copy_Row_Buffer;
std::vector<bool> Copy_Row_Is_Check;
QStringList MIB_Read_Objects;
QStringList MIB_Write_Objects;

namespace {
QString g_programFolder;
}

QString Program_Folder()
{
    if (!g_programFolder.isEmpty())
        return g_programFolder;
    return QDir::cleanPath(QCoreApplication::applicationDirPath());
}

void Set_Program_Folder(const QString& folder) { g_programFolder = QDir::cleanPath(folder); }

void Set_Files()
{
    const QString base = Project_Folder + QLatin1Char('/');
    struct Entry {
        QString* Path;
        const char* Name;
    };
    static const Entry entries[] = {
        {&File_ParGen, "ParGen.xml"},
        {&File_MQTT_Set_Topic, "MQTT_Set_Topic.xml"},
        {&File_M_Bus, "M_Bus.xml"},
        {&File_ModbusM_SetAccess, "ModbusM_SetAccess.xml"},
        {&File_ModbusTCPM_SetAccess, "ModbusTCPM_SetAccess.xml"},
        {&File_MQTT_Set_Access, "MQTT_Set_Access.xml"},
        {&File_CAN_Rec_Frames, "CAN_Rec_Frames.xml"},
        {&File_CAN_Send_Frames, "CAN_Send_Frames.xml"},
        {&File_SDO_Server_CANopen, "SDO_Server_CANopen.xml"},
        {&File_SDO_Client_CANopen, "SDO_Client_CANopen.xml"},
        {&File_PDO_CANopen, "PDO_CANopen.xml"},
        {&File_DNETM_Net, "DNETM_Net.xml"},
        {&File_DNETM_DefOff, "DNETM_DefOff.xml"},
        {&File_J1939_Rec_Frames, "J1939_Rec_Frames.xml"},
        {&File_J1939_Send_Frames, "J1939_Send_Frames.xml"},
        {&File_NMEA_Rec_Frames, "NMEA_Rec_Frames.xml"},
        {&File_NMEA_Send_Frames, "NMEA_Send_Frames.xml"},
        {&File_DMX_Default_Values, "DMX_Default_Values.xml"},
        {&File_KNX_SetAccess, "KNX_SetAccess.xml"},
        {&File_SNMP_Trap, "SNMP_Trap.xml"},
        {&File_SNMP_Manager, "SNMP_Manager.xml"},
        {&File_BACnet_Slave_SetAccess, "BACnet_Slave_SetAccess.xml"},
        {&File_DALI_Access, "DALI_Access.xml"},
        {&File_DALI2_Access, "DALI2_Access.xml"},
        {&File_BACnet_Master_Access, "BACnet_Master_Access.xml"},
    };
    for (const Entry& e : entries)
        *e.Path = base + QLatin1String(e.Name);
}

QString Configuration_Folder(const QString& name) { return Projects_Folder + QLatin1Char('/') + name; }

Device_IP_Names Check_Device_IP_Address()
{
    return {{QStringLiteral("MQTT"), QStringLiteral("Modbus TCP Slave")}, 2};
}
int Get_XML_Code_Dev() { return 18; }
int Get_Scan_Form_Type() { return 0; }
int Default_BACnet_Eng_Unit() { return 95; }

}  // namespace shell
