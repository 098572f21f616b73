#pragma once
#include "comm_params/UParGenVariants.h"
#include "shell/UParGenFile.h"

#include <QString>
#include <array>
#include <map>
#include <optional>
#include <vector>

// Checks of the communication parameters. They work on values, not on the window: the window
// fills a TParGen_Check_Input and shows the message that Check_ParGen answers.
namespace comm_params {

// True when the text is a number of the program's integer parser within lo..hi. Texts that are not
// numbers (the empty text included) count as -1.
bool In_Range(const QString& text, qint64 lo, qint64 hi);

// Position (0 to 3) of the first byte that is not a number from 0 to 255, or -1 when all four are.
int First_Bad_Byte(const std::array<QString, 4>& bytes);

// 0 when every character is an ASCII digit or letter (the empty text included), 1 otherwise.
int Check_Device_Name(const QString& text);

// The panel that holds an element's control, from the element's name.
TParGenPanel ParGen_Element_Panel(shell::TParGen_Id element);

// What the checks look at: the values as the window would write them, and what the window shows
// of the few fields whose checks depend on it.
struct TParGen_Check_Input {
    std::vector<QString> Values = std::vector<QString>(shell::ParGen_Element_Count);
    bool Reprogram_Value_Shown = false;
    // The Ethernet DNS row of the family's other variants; it has no element of its own.
    bool Ethernet_DNS_Shown = false;
    bool Ethernet_DNS_Checked = false;
    std::array<QString, 4> Ethernet_DNS;
    // A station's addresses are checked only where the user can edit them.
    bool WiFi_IP1_Editable = false;
    bool WiFi_IP2_Editable = false;
    // The caption of each list's label, for the message of a list without a selection.
    std::map<shell::TParGen_Id, QString> List_Captions;

    QString& operator[](shell::TParGen_Id element) { return Values[shell::Index_Of(element)]; }
    const QString& operator[](shell::TParGen_Id element) const { return Values[shell::Index_Of(element)]; }
};

// Runs the checks in their fixed order; the message of the first that fails, nothing when all pass.
std::optional<QString> Check_ParGen(const TParGen_Check_Input& input);

// The device stores one byte per UTF-16 code unit in fixed fields and reads them up to a zero
// byte, so each limit leaves room for the terminating zero.
using shell::Modem_Field_Bytes;
using shell::Modem_Text_Max_Chars;
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
