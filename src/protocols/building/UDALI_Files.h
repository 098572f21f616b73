#pragma once
#include "shell/UProjectTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// The DALI gateway's two project files: DALI_Access.xml, the 64 short addresses with their
// options, one element per value; DALI2_Access.xml, the functions and the access rules in the
// table layout.
namespace building::dali {

// Real columns of the device table; row r is short address r - 1.
namespace dev {
enum : int { Name, Enable, Address, Dimming_Mode, Min_Max, Recall_Level, Count };
}
// Real columns of the Functions table; column 0 holds the function's number.
namespace fun {
enum : int { N, Function, Condition, Value, Channel, Val, Next_Function, Mnemonic, Count };
}
// Real columns of the Set Access table.
namespace acc {
enum : int {
    N, Enable, DeviceSensor, Type, ChannelNumber, Instance, Command, TimeSend, TimeOut, Function, Position, NumBytes,
    Mnemonic, Count
};
}
// The rule tables in the order of the file.
enum : int { Functions_Table, Access_Table };

constexpr int Device_Count = 64;
constexpr int Function_Rows = 250;
constexpr int Access_Rows = 256;

QStringList Recall_Level_Items();
QStringList DevSen_Items();
QStringList SenType_Items();
QStringList DevType_Items();
QStringList NumBytes_Items();
QStringList Function_Items();
QStringList Condition_Items();
// The Value column's input events: push-button events, then presence events.
QStringList Value_Event_Items();
QStringList Channel_Items();

// The device table's grid: names, Enable, the hidden Address and Dimming Mode, Min-Max Value,
// Recall Level; cleared to disabled, "N" and "None".
const shell::Table_Description& Device_Table();
// DALI2_Access.xml: the Functions table, then the Set Access table.
const shell::Project_File_Description& Rules_File();

// DALI_Access.xml for 64 device rows (full rows by real column).
QByteArray Device_File_Bytes(const shell::Table_Rows& devices);
// Reads DALI_Access.xml into device rows as a show clears them. A missing file changes nothing; a
// file that is not well formed is kept aside and throws Exception after the values read before
// the fault are in.
void Read_Device_File(const QString& path, shell::Table_Rows* devices);

// DALI2_Access.xml: each table up to its first row whose key is empty; Enable is "Y" or "N".
QByteArray Rules_File_Bytes(const std::vector<shell::Table_Rows>& tables);
// Reads DALI2_Access.xml as full rows; an access rule's Enable other than "N" (or missing) is "Y".
// Problems and failures as shell::Read_Project_Tables.
void Read_Rules_File(const QString& path, std::vector<shell::Table_Rows>* tables, QStringList* problems);

// Writes both files: either both are replaced or neither. Throws Exception on failure.
void Write_DALI_Files(const QString& devicePath, const QString& rulesPath, const shell::Table_Rows& devices,
                      const std::vector<shell::Table_Rows>& tables);

}  // namespace building::dali
