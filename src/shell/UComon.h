#pragma once
#include <QString>
#include <QStringList>
#include <vector>

// Process-wide state shared by the windows: folders, the open configuration and its file paths,
// language, device address, option flags and the copied-row buffer. Only the GUI thread writes it.
namespace shell {

inline const QString SW_Version = QStringLiteral("1.006");
inline const QString SW_Code_Value = QStringLiteral("MQ00718");
inline const QString SW_Desc_Value = QStringLiteral("Rodudi RAZ Adezo / VEZE - Revazorov");
inline const QString Default_Device_IP = QStringLiteral("192.168.2.205");

extern QString Exe_Folder;
extern QString Master_Folder;
extern QString Projects_Folder;
extern QString Language_Folder;
extern QString Active_Conf_Name;
extern QString Project_Folder;
extern QString Main_Title;
extern QString SW_Code;
extern QString SW_Desc;
extern QString Device_IP_Address;
extern int Update_Option;
extern bool Update_Read_Back;
extern QString Language_Name;
extern bool Opt_Enable_Internet;
extern bool Opt_Enable_Update;
extern bool Opt_Jump_Field_Tables;
extern bool Opt_Double_Click_Auto_Size;
extern QString EDE_Import_Folder;

extern QString File_ParGen;
extern QString File_MQTT_Set_Topic;
extern QString File_M_Bus;
extern QString File_ModbusM_SetAccess;
extern QString File_ModbusTCPM_SetAccess;
extern QString File_MQTT_Set_Access;
extern QString File_CAN_Rec_Frames;
extern QString File_CAN_Send_Frames;
extern QString File_SDO_Server_CANopen;
extern QString File_SDO_Client_CANopen;
extern QString File_PDO_CANopen;
extern QString File_DNETM_Net;
extern QString File_DNETM_DefOff;
extern QString File_J1939_Rec_Frames;
extern QString File_J1939_Send_Frames;
extern QString File_NMEA_Rec_Frames;
extern QString File_NMEA_Send_Frames;
extern QString File_DMX_Default_Values;
extern QString File_KNX_SetAccess;
extern QString File_SNMP_Trap;
extern QString File_SNMP_Manager;
extern QString File_BACnet_Slave_SetAccess;
extern QString File_DALI_Access;
extern QString File_DALI2_Access;
extern QString File_BACnet_Master_Access;

extern QStringList Copy_Row_Buffer;
extern std::vector<bool> Copy_Row_Is_Check;
extern QStringList MIB_Read_Objects;
extern QStringList MIB_Write_Objects;

// The folder of the program file, without a trailing separator. Tests point it elsewhere.
QString Program_Folder();
void Set_Program_Folder(const QString& folder);

// Sets the 25 project file paths from Project_Folder (bare names behind "/" when none is open).
void Set_Files();

// The folder of a configuration under PROJECTS.
QString Configuration_Folder(const QString& name);

// Build constants of this product.
struct Device_IP_Names {
    QStringList Names;
    int Count = 0;
};
Device_IP_Names Check_Device_IP_Address();
int Get_XML_Code_Dev();
int Get_Scan_Form_Type();
int Default_BACnet_Eng_Unit();

}  // namespace shell
