#pragma once
#include "protocols/fieldbus/UCANFrames.h"
#include "shell/USetupWindow.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

// The DeviceNet master's two files: the slave list (DNETM_Net.xml) and the exchange-area position
// of every slave byte (DNETM_DefOff.xml), joined to the slaves by order. The windows and their
// tests share these.
namespace fieldbus {

constexpr int DNet_Area_Size = MQTT_Array_Size;

// Real columns of the network table.
namespace dnet {
enum : int { N, ID, NB_IN, NB_OUT, Mnemonic, Count };
}

// The network window as data: its file, texts and table.
const shell::Setup_Window_Description& DNet_Window_Description();
inline const shell::Project_File_Description& DNETM_Net_Description() { return DNet_Window_Description().File; }

// The first fault of the network table's content, as "Error in row " + row + message.
std::optional<QString> Check_DNet_Table(const shell::Table_Check_Input& input);

// One slave of the network file and the positions of its bytes.
struct TSlave_DN {
    uint8_t ID = 0;
    uint16_t ByteIN = 0;
    uint16_t ByteOUT = 0;
    QStringList Row;  // ID, NB_IN, NB_OUT and Mnemonic as the network file holds them
    // Entry i: input (output) byte i's position ("None" or "0" .. "1439") and its mnemonic.
    QStringList SL_ByteIN, SL_ByteIN_M, SL_ByteOUT, SL_ByteOUT_M;
};

// The slaves of the network file in file order, every byte at "None". Reading stops at the
// first row that the network window would refuse (its message is in problems) and at the table's
// capacity; a file that is not XML, or is cut short, is kept aside and named in problems, and the
// rows before the fault are read.
std::vector<TSlave_DN> Load_Slave_DN(const QString& path, QStringList& problems);

// Puts the positions of the offsets file into the slaves, entry k to slave k. Entries and rows
// that have no slave or byte, and entries whose byte counts differ from their slave's (the join
// by order may then be stale), are described in problems; a row lacking an attribute ends the
// reading there. A damaged file is kept aside and named as in Load_Slave_DN.
void Load_Offset_Slave_DN(const QString& path, std::vector<TSlave_DN>& slaves, QStringList& problems);

// The positions are checked before a write: an output position used twice (the message names
// both bytes), or any position outside the exchange area. Nothing when the file may be written.
std::optional<QString> Check_Offsets(const std::vector<TSlave_DN>& slaves, int max_byte_in = DNet_Area_Size,
                                     int max_byte_out = DNet_Area_Size);

// Writes the offsets file for every slave with all its bytes; throws Exception on failure.
void Save_Offset_Slave_DN(const QString& path, const std::vector<TSlave_DN>& slaves);

}  // namespace fieldbus
