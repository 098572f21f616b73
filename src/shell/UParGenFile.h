#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace platform {
class XmlNode;
}

// ParGen.xml: the communication parameters of a configuration, one flat element per value under
// the root "Par_Gen", followed by the comment "SW_VERSION = 1.006". The window writes it; the
// window and the device image builder read it. Both know its elements only from this unit.
namespace shell {

enum class TParGenEncoding {
    Text,         // the control's text as typed
    Check,        // "1" checked, "0" not; reads only "1" as checked
    CheckNumber,  // written like Check; read as an integer, 1 checks
    Index,        // position of the selected list item
    ItemText,     // text of the selected list item, matched without letter case
};

// Every element in the order the writer emits it: name, encoding, the value its control takes
// when the element is missing. An address is four consecutive elements, first byte first.
#define SHELL_PARGEN_ELEMENTS(X) \
    X(Select_Device, Index, "0") \
    X(Eth_Conn_Device_Name, Text, "") \
    X(Eth_Conn_DHCP_Cable, Check, "0") \
    X(Eth_Conn_DHCP_WiFi, Check, "0") \
    X(Eth_Conn_Enable_DNS, Check, "0") \
    X(Eth_Conn_Primary_DNS1, Text, "8") \
    X(Eth_Conn_Primary_DNS2, Text, "8") \
    X(Eth_Conn_Primary_DNS3, Text, "8") \
    X(Eth_Conn_Primary_DNS4, Text, "8") \
    X(Eth_Conn_Secondary_DNS1, Text, "8") \
    X(Eth_Conn_Secondary_DNS2, Text, "8") \
    X(Eth_Conn_Secondary_DNS3, Text, "8") \
    X(Eth_Conn_Secondary_DNS4, Text, "8") \
    X(MQTT_Server_URL, Text, "") \
    X(MQTT_Server_Port, Text, "1883") \
    X(MQTT_Client_ID, Text, "") \
    X(MQTT_Keep_Alive, Text, "") \
    X(MQTT_Clean_Session, Check, "0") \
    X(MQTT_WillFlag, Check, "0") \
    X(MQTT_Will_Topic_Name, Text, "") \
    X(MQTT_Will_Message, Text, "") \
    X(MQTT_Will_Retained, Check, "0") \
    X(MQTT_Will_QoS, Index, "0") \
    X(MQTT_PublishTopicConnection, Check, "0") \
    X(MQTT_Connection_Topic_Name, Text, "") \
    X(MQTT_Connection_Message, Text, "") \
    X(MQTT_Connection_Retained, Check, "0") \
    X(MQTT_Username, Text, "") \
    X(MQTT_Password, Text, "") \
    X(MQTT_ASync_Send_Time, Text, "") \
    X(MQTT_Topic_DALI_Answer, Text, "") \
    X(MQTT_Enable_Reprogram, Check, "0") \
    X(MQTT_Reprogram_Topic, Text, "") \
    X(MQTT_Reprogram_Value, Text, "") \
    X(Ethernet_IP1, Text, "192") \
    X(Ethernet_IP2, Text, "168") \
    X(Ethernet_IP3, Text, "0") \
    X(Ethernet_IP4, Text, "10") \
    X(Ethernet_SM1, Text, "255") \
    X(Ethernet_SM2, Text, "255") \
    X(Ethernet_SM3, Text, "255") \
    X(Ethernet_SM4, Text, "0") \
    X(Ethernet_GAT1, Text, "192") \
    X(Ethernet_GAT2, Text, "168") \
    X(Ethernet_GAT3, Text, "0") \
    X(Ethernet_GAT4, Text, "1") \
    X(Ethernet_EN_GAT, Check, "0") \
    X(WiFi_Type, Index, "0") \
    X(WiFi_IP1, Text, "192") \
    X(WiFi_IP2, Text, "168") \
    X(WiFi_IP3, Text, "0") \
    X(WiFi_IP4, Text, "100") \
    X(WiFi_SM1, Text, "255") \
    X(WiFi_SM2, Text, "255") \
    X(WiFi_SM3, Text, "255") \
    X(WiFi_SM4, Text, "0") \
    X(WiFi_EN_Gateway, CheckNumber, "0") \
    X(WiFi_GAT1, Text, "192") \
    X(WiFi_GAT2, Text, "168") \
    X(WiFi_GAT3, Text, "0") \
    X(WiFi_GAT4, Text, "1") \
    X(WiFi_IP2_IP1, Text, "192") \
    X(WiFi_IP2_IP2, Text, "168") \
    X(WiFi_IP2_IP3, Text, "0") \
    X(WiFi_IP2_IP4, Text, "110") \
    X(WiFi_IP2_SM1, Text, "255") \
    X(WiFi_IP2_SM2, Text, "255") \
    X(WiFi_IP2_SM3, Text, "255") \
    X(WiFi_IP2_SM4, Text, "0") \
    X(WiFi_IP2_EN_Gateway, CheckNumber, "0") \
    X(WiFi_IP2_GAT1, Text, "192") \
    X(WiFi_IP2_GAT2, Text, "168") \
    X(WiFi_IP2_GAT3, Text, "0") \
    X(WiFi_IP2_GAT4, Text, "1") \
    X(WiFi_SSID, Text, "") \
    X(WiFi_PWD, Text, "") \
    X(WiFi_Secure_Type, Index, "0") \
    X(WiFi_EN_DHCP, CheckNumber, "0") \
    X(WiFi_DHCP_First_IP1, Text, "192") \
    X(WiFi_DHCP_First_IP2, Text, "168") \
    X(WiFi_DHCP_First_IP3, Text, "0") \
    X(WiFi_DHCP_First_IP4, Text, "200") \
    X(WiFi_DHCP_SM1, Text, "255") \
    X(WiFi_DHCP_SM2, Text, "255") \
    X(WiFi_DHCP_SM3, Text, "255") \
    X(WiFi_DHCP_SM4, Text, "0") \
    X(WiFi_Lease_Time, Text, "86400") \
    X(WiFi_Max_Client, Index, "0") \
    X(WiFi_Channel, Index, "1") \
    X(TLS_Enable, CheckNumber, "0") \
    X(TLS_En_Server_Auth, CheckNumber, "0") \
    X(TLS_Server_Auth_Certificate, Text, "") \
    X(TLS_En_Client_Auth, CheckNumber, "0") \
    X(TLS_Client_Auth_Certificate, Text, "") \
    X(TLS_Client_Auth_Key, Text, "") \
    X(TLS_Client_Auth_Key_Password, Text, "") \
    X(NTP_Server_URL, Text, "") \
    X(NTP_Poll_Time, Text, "") \
    X(Modbus_TCP_Slave_IP1, Text, "192") \
    X(Modbus_TCP_Slave_IP2, Text, "168") \
    X(Modbus_TCP_Slave_IP3, Text, "0") \
    X(Modbus_TCP_Slave_IP4, Text, "5") \
    X(Modbus_TCP_Slave_SM1, Text, "255") \
    X(Modbus_TCP_Slave_SM2, Text, "255") \
    X(Modbus_TCP_Slave_SM3, Text, "255") \
    X(Modbus_TCP_Slave_SM4, Text, "0") \
    X(Modbus_TCP_Slave_GAT1, Text, "192") \
    X(Modbus_TCP_Slave_GAT2, Text, "168") \
    X(Modbus_TCP_Slave_GAT3, Text, "0") \
    X(Modbus_TCP_Slave_GAT4, Text, "1") \
    X(Modbus_TCP_Slave_EN_GAT, Check, "0") \
    X(Modbus_TCP_Slave_Port, Text, "502") \
    X(GSM_GPRS_PIN, Text, "") \
    X(GSM_GPRS_APN, Text, "") \
    X(GSM_GPRS_AUTHTYPE, ItemText, "None") \
    X(GSM_GPRS_USERNAME, Text, "") \
    X(GSM_GPRS_PASSWORD, Text, "")

enum class TParGen_Id : int {
#define SHELL_PARGEN_ID(name, encoding, def) name,
    SHELL_PARGEN_ELEMENTS(SHELL_PARGEN_ID)
#undef SHELL_PARGEN_ID
};

constexpr int ParGen_Element_Count = 117;
inline const QString ParGen_Root = QStringLiteral("Par_Gen");

// The element k places after id: the byte k of an address whose first byte is id.
constexpr TParGen_Id operator+(TParGen_Id id, int k) { return TParGen_Id(int(id) + k); }
constexpr size_t Index_Of(TParGen_Id id) { return size_t(id); }

struct TParGenElement {
    const char* Name;
    TParGenEncoding Encoding;
    const char* Default;  // text, "0"/"1" for check boxes, the position for lists
};

// The elements in the order the writer emits them.
const std::array<TParGenElement, ParGen_Element_Count>& ParGen_Elements();
inline const TParGenElement& ParGen_Element(TParGen_Id id) { return ParGen_Elements()[Index_Of(id)]; }
// Position of an element in ParGen_Elements(), or -1.
int ParGen_Element_Index(QStringView name);
int ParGen_Element_Index(std::string_view name);

// The value a control takes when its element is missing; with fileMissing, the value it takes when
// the configuration has no ParGen.xml at all (only the send time differs).
QString ParGen_Default(int element, bool fileMissing);

// Read-back rules of the encodings.
bool Decode_Check(const QString& text);
bool Decode_Check_Number(const QString& text);
// Position stored for a list of itemCount items; a text that is not a number, or a position outside
// the list, gives def.
int Decode_Index(const QString& text, int itemCount, int def);
// Position of the item whose text equals text without regard to letter case, else 0.
int Decode_Item_Text(const QString& text, const QStringList& items);

// The document for the 117 encoded values, in element order, as it is saved.
QByteArray ParGen_Build(const std::vector<QString>& values);

// The text of each element under a loaded document's root, by element position; nothing for a
// missing element. The root may have any name; of two elements with the same name the first
// counts. The views point into the document and live as long as it does.
using TParGenViews = std::array<std::optional<std::string_view>, ParGen_Element_Count>;
TParGenViews ParGen_Find(const platform::XmlNode& root);

// The same texts as copies, nullopt for a missing element.
using TParGenTexts = std::vector<std::optional<QString>>;
TParGenTexts ParGen_Parse(const QByteArray& bytes, const QString& nameForMessages);
// Reads the file; throws platform::Exception naming the file when it cannot be read or parsed.
TParGenTexts ParGen_Read_File(const QString& path);
// Writes the file whole (temporary file and rename); throws platform::Exception on failure.
void ParGen_Write_File(const QString& path, const std::vector<QString>& values);

// The modem's settings text, as the device's modem field receives it without its terminating
// zero: "PIN=", "APN=", "AUTHTYPE=" (the code below), "USERNAME=" and "PASSWORD=" lines, each
// closed by CR LF. The window's length check and the image builder both measure this text.
QString Modem_Text(const QString& pin, const QString& apn, const QString& authType, const QString& userName,
                   const QString& password);
// "1" PAP, "2" CHAP, "3" PAP or CHAP, "0" for "None" and any other text; letter case is ignored.
QString GSM_Auth_Type_Code(const QString& authType);

// The device's modem field; the text keeps its terminating zero inside it.
constexpr int Modem_Field_Bytes = 512;
constexpr int Modem_Text_Max_Chars = Modem_Field_Bytes - 1;

}  // namespace shell
