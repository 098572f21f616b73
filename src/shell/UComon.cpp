#include "shell/UComon.h"

#include <QCoreApplication>
#include <QDir>

namespace shell {

TApp_State App_State;

QString Program_Folder()
{
    if (!App_State.Program_Folder_Override.isEmpty())
        return App_State.Program_Folder_Override;
    return QDir::cleanPath(QCoreApplication::applicationDirPath());
}

void Set_Program_Folder(const QString& folder) { App_State.Program_Folder_Override = QDir::cleanPath(folder); }

void Set_Files()
{
    const QString base = App_State.Project_Folder + QLatin1Char('/');
    struct Entry {
        QString TApp_State::*Path;
        const char* Name;
    };
    static const Entry entries[] = {
        {&TApp_State::File_ParGen, "ParGen.xml"},
        {&TApp_State::File_MQTT_Set_Topic, "MQTT_Set_Topic.xml"},
        {&TApp_State::File_M_Bus, "M_Bus.xml"},
        {&TApp_State::File_ModbusM_SetAccess, "ModbusM_SetAccess.xml"},
        {&TApp_State::File_ModbusTCPM_SetAccess, "ModbusTCPM_SetAccess.xml"},
        {&TApp_State::File_MQTT_Set_Access, "MQTT_Set_Access.xml"},
        {&TApp_State::File_CAN_Rec_Frames, "CAN_Rec_Frames.xml"},
        {&TApp_State::File_CAN_Send_Frames, "CAN_Send_Frames.xml"},
        {&TApp_State::File_SDO_Server_CANopen, "SDO_Server_CANopen.xml"},
        {&TApp_State::File_SDO_Client_CANopen, "SDO_Client_CANopen.xml"},
        {&TApp_State::File_PDO_CANopen, "PDO_CANopen.xml"},
        {&TApp_State::File_DNETM_Net, "DNETM_Net.xml"},
        {&TApp_State::File_DNETM_DefOff, "DNETM_DefOff.xml"},
        {&TApp_State::File_J1939_Rec_Frames, "J1939_Rec_Frames.xml"},
        {&TApp_State::File_J1939_Send_Frames, "J1939_Send_Frames.xml"},
        {&TApp_State::File_NMEA_Rec_Frames, "NMEA_Rec_Frames.xml"},
        {&TApp_State::File_NMEA_Send_Frames, "NMEA_Send_Frames.xml"},
        {&TApp_State::File_DMX_Default_Values, "DMX_Default_Values.xml"},
        {&TApp_State::File_KNX_SetAccess, "KNX_SetAccess.xml"},
        {&TApp_State::File_SNMP_Trap, "SNMP_Trap.xml"},
        {&TApp_State::File_SNMP_Manager, "SNMP_Manager.xml"},
        {&TApp_State::File_BACnet_Slave_SetAccess, "BACnet_Slave_SetAccess.xml"},
        {&TApp_State::File_DALI_Access, "DALI_Access.xml"},
        {&TApp_State::File_DALI2_Access, "DALI2_Access.xml"},
        {&TApp_State::File_BACnet_Master_Access, "BACnet_Master_Access.xml"},
    };
    for (const Entry& e : entries)
        App_State.*e.Path = base + QLatin1String(e.Name);
}

QString Configuration_Folder(const QString& name) { return App_State.Projects_Folder + QLatin1Char('/') + name; }

Device_IP_Names Check_Device_IP_Address()
{
    return {{QStringLiteral("MQTT"), QStringLiteral("Modbus TCP Slave")}, 2};
}
int Get_XML_Code_Dev() { return 18; }
int Get_Scan_Form_Type() { return 0; }
int Default_BACnet_Eng_Unit() { return 95; }

}  // namespace shell
