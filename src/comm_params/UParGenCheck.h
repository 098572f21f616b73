#pragma once
#include <QString>
#include <array>

// Checks of the communication parameters that do not need the window: number ranges, address
// bytes, the device name, the modem text and the limits of the device's fixed-size fields.
namespace comm_params {

// True when the text is a number of the program's integer parser within lo..hi. Texts that are not
// numbers (the empty text included) count as -1.
bool In_Range(const QString& text, qint64 lo, qint64 hi);

// Position (0 to 3) of the first byte that is not a number from 0 to 255, or -1 when all four are.
int First_Bad_Byte(const std::array<QString, 4>& bytes);

// 0 when every character is an ASCII digit or letter (the empty text included), 1 otherwise.
int Check_Device_Name(const QString& text);

// Authentication code of the modem text for the list's item text: "0" to "3".
QString GSM_Auth_Type_Code(const QString& itemText);
// The text the device's modem field receives, without its terminating zero.
QString Modem_Text(const QString& pin, const QString& apn, const QString& authType, const QString& userName,
                   const QString& password);

// The device stores one byte per UTF-16 code unit in fixed fields and reads them up to a zero
// byte, so each limit leaves room for the terminating zero.
constexpr int Modem_Field_Bytes = 512;
constexpr int Modem_Text_Max_Chars = Modem_Field_Bytes - 1;
constexpr int WiFi_SSID_Field_Bytes = 32;
constexpr int WiFi_SSID_Max_Chars = WiFi_SSID_Field_Bytes - 1;
constexpr int WiFi_PWD_Field_Bytes = 64;
constexpr int WiFi_PWD_Max_Chars = WiFi_PWD_Field_Bytes - 1;

// Ranges of the MQTT numbers as the device stores them. The send time field holds 32 bits, but
// the image builder reads numbers as signed 32-bit integers and replaces a larger decimal text by
// its default, so the window accepts only what reaches the device as typed.
constexpr qint64 MQTT_Port_Min = 1;
constexpr qint64 MQTT_Port_Max = 65535;
constexpr qint64 MQTT_Keep_Alive_Max = 65535;
constexpr qint64 MQTT_Send_Time_Max = 2147483647LL;

// Messages of the checks that have no entry in the text table.
QString Msg_MQTT_Server_Port();
QString Msg_MQTT_Keep_Alive();
QString Msg_MQTT_Send_Time();
QString Msg_WiFi_SSID_Length();
QString Msg_WiFi_PWD_Length();
QString Msg_Modem_Text_Length();
QString Msg_No_Item_Selected(const QString& panel, const QString& field);

}  // namespace comm_params
