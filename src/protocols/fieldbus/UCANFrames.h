#pragma once
#include "shell/USetupWindow.h"

#include <QString>
#include <QStringList>
#include <optional>

// What the CAN receive and transmit frame tables share: the frame formats, the colours of their
// column groups and the checks of a frame's identifier, length and byte positions.
namespace fieldbus {

inline const QString CAN_Type_A = QStringLiteral("2.0A (11 bits)");
inline const QString CAN_Type_B = QStringLiteral("2.0B (29 bits)");
QStringList CAN_Type_Items();

using shell::MQTT_Array_Size;

constexpr uint32_t Light_Orange = 11589887;
constexpr uint32_t Light_Cyan = 16710368;
constexpr uint32_t Light_Green = 11075496;
constexpr uint32_t Light_Pink = 16045820;
constexpr uint32_t White = 0xFFFFFF;

// The text indices of one window's frame checks.
struct CAN_Frame_Texts {
    int CobID_A;      // "!! CobID must be between 0 and 2047"
    int CobID_B;      // "!! CobID must be between 0x00000000 and 0x1FFFFFFF"
    int Dimension;    // "!! Dimension must be between 1 and 8"
    int Byte1;        // "!! Byte1 must be between 0 and "
    int Byte2;        // Byte2 .. Byte8 follow from here
    int Or_None;      // " or None"
};

// The real columns of a frame's identifier, format, length and first byte position.
struct CAN_Frame_Columns {
    int CobID, Type, Dim, Byte1;
};

// The identifier against the row's frame format (11 bits for "2.0A (11 bits)", else 29 bits), then
// the length 1 .. 8.
std::optional<QString> Check_CAN_Frame_Head(const shell::Checked_Row& row, const CAN_Frame_Columns& columns,
                                            const CAN_Frame_Texts& texts);
// The positions of the bytes 1 .. Dimension: empty, "None" or 0 .. maxByte-1.
std::optional<QString> Check_CAN_Frame_Bytes(const shell::Checked_Row& row, const CAN_Frame_Columns& columns,
                                             const CAN_Frame_Texts& texts, int maxByte);

// The eight byte-position columns of a frame table, headers and hints from the first indices on.
std::vector<shell::Table_Column> CAN_Byte_Columns(int firstHeader, int firstHint);

// What tells the two frame windows apart besides their columns.
struct CAN_Window_Data {
    const char* Name;  // the window's object name
    int Client_Width;
    const char* Root;  // the file's root element
    QString shell::TApp_State::*Path;
    const char* Grid;  // the grid's name
    int Block;         // caption, description, then the six button captions
    int First_Button_Hint;
    int Delete_Question;
    int Row_Prefix;
};

// A frame window: 512 frames keyed by their CobID, rows right under the root, an Enable check box
// read in any letter case, a new row enabled, the file format 1.000.
shell::Setup_Window_Description CAN_Frame_Window(const CAN_Window_Data& data, std::vector<shell::Table_Column> columns,
                                                 int cobIdColumn);

}  // namespace fieldbus
