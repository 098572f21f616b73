#pragma once
#include "platform/IntText.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <string_view>

// Checks and conversions of cell texts shared by the table windows. None of them shows a message:
// each answers a result code that its caller turns into its own message.
namespace shell {

// The program's integer reading (platform/IntText.h), under the names the windows use.
using platform::Parse_Int;
using platform::Parse_Int32;
using platform::Parse_Integer;

// Splits a dotted address at its first three dots (parts trimmed); true when every part is 0..255.
// The parts keep what was split, also when the answer is false.
bool Split_IP_Address(const QString& text, QString& part1, QString& part2, QString& part3, QString& part4);

// True WHEN AN ERROR WAS FOUND. An empty text writes nothing; otherwise every byte is written, 0
// for a part that is not 0..255.
bool IP_Address_To_Bytes(const QString& text, uint8_t& byte1, uint8_t& byte2, uint8_t& byte3, uint8_t& byte4);

// "a.b.c.d:port": 1 when valid with the five values stored, 0 with all of them 0.
int IP_Port_To_Bytes(const QString& text, uint8_t& byte1, uint8_t& byte2, uint8_t& byte3, uint8_t& byte4,
                     uint16_t& port);

// KNX individual (area.line.device) or group (main/sub, main/middle/sub) address: 0 valid, 1 invalid.
int Check_KNX_Address(const QString& text, bool group, bool allow_zero);
bool Is_KNX_Group_Address(const QString& text);

// SNMP object identifier, not trimmed: 0 valid; 1 longer than 61 characters; 2 a character other
// than a digit or "." (also the empty text, which holds no number at all); 3 starts with "."; 4 ends
// with "."; 5 two dots in a row; 6 a component above 4294967295.
int Check_SNMP_OID(const QString& text);

// SNMPv3 user name or password, not trimmed: 0 valid; 1 longer than 15; 2 shorter than 8 (than 1
// with allow_short); 3 a character outside 0-9, A-Z, a-z.
int Check_SNMP_Password(const QString& text, bool allow_short);

// "AUTH NOPRIV" 1, "AUTH PRIV" 3, empty -1, anything else 0 (after upper-casing and trimming).
int8_t Get_SNMP_Security_Level(const QString& text);

// The decimal separator of the user's number format: "," or "." ("," for anything else).
QChar Get_Decimal_Separator(const QLocale& locale = QLocale::system());

// Reads a number typed with either separator: the other separator is replaced by the given one,
// then the text is read in the user's number format (group separators are not accepted, so that
// "1.5" can never read as 15). On failure value := 1.0 and the answer is false.
bool Str_To_Float_Sep(const QString& text, QChar separator, float& value,
                      const QLocale& locale = QLocale::system());

// Serial ports present on this computer, as the numbers n of "COM" + n, ascending. A port counts
// when its device opens for reading and writing or is refused for want of rights (in use or locked).
QStringList List_COM_Ports(const QString& device_folder = QStringLiteral("/dev"));

// The device behind port number n (1..256): 1-64 ttyS0-63, 65-128 ttyUSB0-63, 129-192 ttyACM0-63,
// 193-256 ttyAMA0-63 in the given folder; empty outside 1..256.
QString COM_Port_Device(int n, const QString& device_folder = QStringLiteral("/dev"));

}  // namespace shell
