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
// The gateway's exchange area that the mapping tables address by byte position.
constexpr int MQTT_Array_Size = 1440;

// All of it lives in one object, so that a test resets it in one statement (`App_State = {};`).
struct TApp_State {
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

    // Where Program_Folder() points instead of the program file's folder; tests set it.
    QString Program_Folder_Override;
};
extern TApp_State App_State;

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
