#pragma once
#include "protocols/fieldbus/UCANFrames.h"
#include "shell/USetupWindow.h"

#include <QString>
#include <optional>
#include <vector>

// The CANopen gateway's PDO and SDO tables: their columns, their files and the checks run before a
// write. The windows, their tests and the EDS generator share these.
namespace fieldbus {

// Positions of the exchange area that the tables' byte cells may address.
constexpr int CANopen_Area_Size = MQTT_Array_Size;

// Real columns of the PDO tables.
namespace pdo_rx {
enum : int { N, COB_ID, Dimension, Add_B1, Add_B8 = Add_B1 + 7, TimeOut, Mnemonic, Count };
}
namespace pdo_tx {
enum : int { N, COB_ID, Dimension, Add_B1, Add_B8 = Add_B1 + 7, Send_Time, On_Change, Mnemonic, Count };
}
// Real columns of the SDO client tables.
namespace sdo_rd {
enum : int { N, Device_ID, Index, SubIndex, NByte, Poll_Time, Add_B1, Add_B4 = Add_B1 + 3, Mnemonic, Count };
}
namespace sdo_wr {
enum : int { N, Device_ID, Index, SubIndex, NByte, Poll_Time, On_Change, Add_B1, Add_B4 = Add_B1 + 3, Mnemonic, Count };
}
// Real columns of both SDO server tables.
namespace sdo_srv {
enum : int { N, Index, SubIndex, NByte, Add_B1, Add_B4 = Add_B1 + 3, Mnemonic, Count };
}

// The windows as data: their files, texts and tables. Table 0 is the receive (read) table, table 1
// the transmit (write) table.
const shell::Setup_Window_Description& PDO_Window_Description();
const shell::Setup_Window_Description& SDO_Client_Window_Description();
const shell::Setup_Window_Description& SDO_Server_Window_Description();
inline const shell::Project_File_Description& PDO_CANopen_Description() { return PDO_Window_Description().File; }
inline const shell::Project_File_Description& SDO_Client_CANopen_Description()
{
    return SDO_Client_Window_Description().File;
}
inline const shell::Project_File_Description& SDO_Server_CANopen_Description()
{
    return SDO_Server_Window_Description().File;
}

// What a window's checks see: per table its rows 1 .. n (full rows, column 0 the row number) and
// the number of exchange-area positions its byte cells may address.
struct CANopen_Check_Input {
    std::vector<shell::Table_Check_Input> Tables;  // two
    int NByte_IN = CANopen_Area_Size;
    int NByte_OUT = CANopen_Area_Size;
};

// The first fault, as "Error row " + row + message; nothing when the file may be written.
std::optional<QString> Check_PDO_Tables(const CANopen_Check_Input& input);
std::optional<QString> Check_SDO_Client_Tables(const CANopen_Check_Input& input);
// Besides the column rules, an object (Index and SubIndex by value) offered twice, in one table
// or across both, is refused naming both rows.
std::optional<QString> Check_SDO_Server_Tables(const CANopen_Check_Input& input);

}  // namespace fieldbus
