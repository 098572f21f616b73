#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <cstdint>
#include <vector>

// The CANopen EDS (electronic data sheet) of the CANopen gateway, built from its PDO tables
// (PDO_CANopen.xml) and the objects it serves as SDO server (SDO_Server_CANopen.xml).
namespace fieldbus::eds {

inline const QString EDS_File_Name = QStringLiteral("CANopen_MQTT.eds");
inline const QString EDS_Product_Name = QStringLiteral("Converter CANopen / MQTT");
inline const QString EDS_Product_Number = QStringLiteral("718");
inline const QString EDS_Order_Code = QStringLiteral("KV-COMQ");

// PDOs per direction, the capacity of the PDO tables.
constexpr int Max_PDO = 30;

struct PDO_Entry {
    int32_t COB_ID = 0;
    int32_t Dimension = 8;  // bytes, 1 .. 8
};

struct SDO_Sub_Type {
    uint8_t Sub = 0;
    uint8_t Quantity = 0;  // bytes: 1, 2 or 4
    bool Readonly = false;
    QString Mnemonic;  // kept empty
};

struct SDO_Index {
    uint16_t Index = 0;
    std::vector<SDO_Sub_Type> Sub_Indexs;
};

// Everything the file is built from.
struct EDS_Data {
    std::vector<PDO_Entry> RX;  // receive PDOs, in file order
    std::vector<PDO_Entry> TX;  // transmit PDOs
    std::vector<SDO_Index> SDO_List;  // in order of first appearance
};

// Fills data.RX and data.TX from the PDO file; a missing file leaves them empty. A number that is
// not one takes its default (COB-ID 0, Dimension 8). Throws Exception naming the row for a
// Dimension outside 1 .. 8 or more than Max_PDO rows in a table, and naming the file when it
// cannot be read or lacks a table.
void Load_PDO_List(const QString& path, EDS_Data& data);
// Fills data.SDO_List from the SDO server file; a missing file leaves it empty. Throws Exception
// naming the row for a value that is not a number or out of range (Index 0x2000 .. 0x5FFF,
// SubIndex 0 .. 255, NByte 1, 2 or 4), an object offered twice, and a sub-index 0 beside other
// sub-indexes of its object (sub-index 0 of a record counts its entries).
void Load_SDO_Server_List(const QString& path, EDS_Data& data);
// Position of the object with that index, or -1.
int Find_SDO_Index(const std::vector<SDO_Index>& list, uint16_t index);
// Sorts each object's entries by sub-index.
void Sort_SDO_Sub_Indexs(std::vector<SDO_Index>& list);

// "MM-DD-YYYY" and "hh:mmAM" / "hh:mmPM" on the 12-hour clock (00:05 is 12:05AM, 12:30 is 12:30PM).
QString EDS_Date_Text(const QDate& date);
QString EDS_Time_Text(const QTime& time);

// The file's lines (without line ends), made at the given moment.
QStringList EDS_Lines(const EDS_Data& data, const QDateTime& now);

// Reads both project files of the open configuration and writes the EDS to path, whole or not at
// all; throws Exception on any fault.
void Write_EDS_File(const QString& path);

// The EDS command: asks for the file in the configuration's folder, asks before an existing file
// is replaced, writes it.
void Save_EDS_File();

}  // namespace fieldbus::eds

using fieldbus::eds::Save_EDS_File;
using fieldbus::eds::Write_EDS_File;
