#include "comm_params/UParGenFile.h"

#include "platform/FileUtil.h"
#include "platform/XmlDoc.h"

namespace comm_params {

namespace {
using E = TParGenEncoding;

// The format version of the file; it is written, never read back.
const QString kVersionComment = QStringLiteral("SW_VERSION = 1.006");
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

const std::array<TParGenElement, ParGen_Element_Count> kElements = {{
    {"Select_Device", E::Index, "0"},
    {"Eth_Conn_Device_Name", E::Text, ""},
    {"Eth_Conn_DHCP_Cable", E::Check, "0"},
    {"Eth_Conn_DHCP_WiFi", E::Check, "0"},
    {"Eth_Conn_Enable_DNS", E::Check, "0"},
    {"Eth_Conn_Primary_DNS1", E::Text, "8"},
    {"Eth_Conn_Primary_DNS2", E::Text, "8"},
    {"Eth_Conn_Primary_DNS3", E::Text, "8"},
    {"Eth_Conn_Primary_DNS4", E::Text, "8"},
    {"Eth_Conn_Secondary_DNS1", E::Text, "8"},
    {"Eth_Conn_Secondary_DNS2", E::Text, "8"},
    {"Eth_Conn_Secondary_DNS3", E::Text, "8"},
    {"Eth_Conn_Secondary_DNS4", E::Text, "8"},
    {"MQTT_Server_URL", E::Text, ""},
    {"MQTT_Server_Port", E::Text, "1883"},
    {"MQTT_Client_ID", E::Text, ""},
    {"MQTT_Keep_Alive", E::Text, ""},
    {"MQTT_Clean_Session", E::Check, "0"},
    {"MQTT_WillFlag", E::Check, "0"},
    {"MQTT_Will_Topic_Name", E::Text, ""},
    {"MQTT_Will_Message", E::Text, ""},
    {"MQTT_Will_Retained", E::Check, "0"},
    {"MQTT_Will_QoS", E::Index, "0"},
    {"MQTT_PublishTopicConnection", E::Check, "0"},
    {"MQTT_Connection_Topic_Name", E::Text, ""},
    {"MQTT_Connection_Message", E::Text, ""},
    {"MQTT_Connection_Retained", E::Check, "0"},
    {"MQTT_Username", E::Text, ""},
    {"MQTT_Password", E::Text, ""},
    {"MQTT_ASync_Send_Time", E::Text, ""},
    {"MQTT_Topic_DALI_Answer", E::Text, ""},
    {"MQTT_Enable_Reprogram", E::Check, "0"},
    {"MQTT_Reprogram_Topic", E::Text, ""},
    {"MQTT_Reprogram_Value", E::Text, ""},
    {"Ethernet_IP1", E::Text, "192"},
    {"Ethernet_IP2", E::Text, "168"},
    {"Ethernet_IP3", E::Text, "0"},
    {"Ethernet_IP4", E::Text, "10"},
    {"Ethernet_SM1", E::Text, "255"},
    {"Ethernet_SM2", E::Text, "255"},
    {"Ethernet_SM3", E::Text, "255"},
    {"Ethernet_SM4", E::Text, "0"},
    {"Ethernet_GAT1", E::Text, "192"},
    {"Ethernet_GAT2", E::Text, "168"},
    {"Ethernet_GAT3", E::Text, "0"},
    {"Ethernet_GAT4", E::Text, "1"},
    {"Ethernet_EN_GAT", E::Check, "0"},
    {"WiFi_Type", E::Index, "0"},
    {"WiFi_IP1", E::Text, "192"},
    {"WiFi_IP2", E::Text, "168"},
    {"WiFi_IP3", E::Text, "0"},
    {"WiFi_IP4", E::Text, "100"},
    {"WiFi_SM1", E::Text, "255"},
    {"WiFi_SM2", E::Text, "255"},
    {"WiFi_SM3", E::Text, "255"},
    {"WiFi_SM4", E::Text, "0"},
    {"WiFi_EN_Gateway", E::CheckNumber, "0"},
    {"WiFi_GAT1", E::Text, "192"},
    {"WiFi_GAT2", E::Text, "168"},
    {"WiFi_GAT3", E::Text, "0"},
    {"WiFi_GAT4", E::Text, "1"},
    {"WiFi_IP2_IP1", E::Text, "192"},
    {"WiFi_IP2_IP2", E::Text, "168"},
    {"WiFi_IP2_IP3", E::Text, "0"},
    {"WiFi_IP2_IP4", E::Text, "110"},
    {"WiFi_IP2_SM1", E::Text, "255"},
    {"WiFi_IP2_SM2", E::Text, "255"},
    {"WiFi_IP2_SM3", E::Text, "255"},
    {"WiFi_IP2_SM4", E::Text, "0"},
    {"WiFi_IP2_EN_Gateway", E::CheckNumber, "0"},
    {"WiFi_IP2_GAT1", E::Text, "192"},
    {"WiFi_IP2_GAT2", E::Text, "168"},
    {"WiFi_IP2_GAT3", E::Text, "0"},
    {"WiFi_IP2_GAT4", E::Text, "1"},
    {"WiFi_SSID", E::Text, ""},
    {"WiFi_PWD", E::Text, ""},
    {"WiFi_Secure_Type", E::Index, "0"},
    {"WiFi_EN_DHCP", E::CheckNumber, "0"},
    {"WiFi_DHCP_First_IP1", E::Text, "192"},
    {"WiFi_DHCP_First_IP2", E::Text, "168"},
    {"WiFi_DHCP_First_IP3", E::Text, "0"},
    {"WiFi_DHCP_First_IP4", E::Text, "200"},
    {"WiFi_DHCP_SM1", E::Text, "255"},
    {"WiFi_DHCP_SM2", E::Text, "255"},
    {"WiFi_DHCP_SM3", E::Text, "255"},
    {"WiFi_DHCP_SM4", E::Text, "0"},
    {"WiFi_Lease_Time", E::Text, "86400"},
    {"WiFi_Max_Client", E::Index, "0"},
    {"WiFi_Channel", E::Index, "1"},
    {"TLS_Enable", E::CheckNumber, "0"},
    {"TLS_En_Server_Auth", E::CheckNumber, "0"},
    {"TLS_Server_Auth_Certificate", E::Text, ""},
    {"TLS_En_Client_Auth", E::CheckNumber, "0"},
    {"TLS_Client_Auth_Certificate", E::Text, ""},
    {"TLS_Client_Auth_Key", E::Text, ""},
    {"TLS_Client_Auth_Key_Password", E::Text, ""},
    {"NTP_Server_URL", E::Text, ""},
    {"NTP_Poll_Time", E::Text, ""},
    {"Modbus_TCP_Slave_IP1", E::Text, "192"},
    {"Modbus_TCP_Slave_IP2", E::Text, "168"},
    {"Modbus_TCP_Slave_IP3", E::Text, "0"},
    {"Modbus_TCP_Slave_IP4", E::Text, "5"},
    {"Modbus_TCP_Slave_SM1", E::Text, "255"},
    {"Modbus_TCP_Slave_SM2", E::Text, "255"},
    {"Modbus_TCP_Slave_SM3", E::Text, "255"},
    {"Modbus_TCP_Slave_SM4", E::Text, "0"},
    {"Modbus_TCP_Slave_GAT1", E::Text, "192"},
    {"Modbus_TCP_Slave_GAT2", E::Text, "168"},
    {"Modbus_TCP_Slave_GAT3", E::Text, "0"},
    {"Modbus_TCP_Slave_GAT4", E::Text, "1"},
    {"Modbus_TCP_Slave_EN_GAT", E::Check, "0"},
    {"Modbus_TCP_Slave_Port", E::Text, "502"},
    {"GSM_GPRS_PIN", E::Text, ""},
    {"GSM_GPRS_APN", E::Text, ""},
    {"GSM_GPRS_AUTHTYPE", E::ItemText, "None"},
    {"GSM_GPRS_USERNAME", E::Text, ""},
    {"GSM_GPRS_PASSWORD", E::Text, ""},
}};
}  // namespace

const std::array<TParGenElement, ParGen_Element_Count>& ParGen_Elements() { return kElements; }

int ParGen_Element_Index(const QString& name)
{
    for (int i = 0; i < ParGen_Element_Count; ++i)
        if (name == QLatin1String(kElements[static_cast<size_t>(i)].Name))
            return i;
    return -1;
}

QString ParGen_Default(int element, bool fileMissing)
{
    if (element < 0 || element >= ParGen_Element_Count)
        return {};
    const TParGenElement& e = kElements[static_cast<size_t>(element)];
    if (fileMissing && qstrcmp(e.Name, "MQTT_ASync_Send_Time") == 0)
        return QStringLiteral("10");
    return QString::fromLatin1(e.Default);
}

int Str_To_Int_Def(const QString& text, int def)
{
    const std::optional<qint64> v = Parse_Integer(text);
    if (!v || *v < INT32_MIN || *v > INT32_MAX)
        return def;
    return static_cast<int>(*v);
}

bool Decode_Check(const QString& text) { return text == QLatin1String("1"); }

bool Decode_Check_Number(const QString& text) { return Str_To_Int_Def(text, 0) == 1; }

int Decode_Index(const QString& text, int itemCount, int def)
{
    const int v = Str_To_Int_Def(text, -1);
    return v >= 0 && v < itemCount ? v : def;
}

int Decode_Item_Text(const QString& text, const QStringList& items)
{
    for (int i = 0; i < items.size(); ++i)
        if (items[i].compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return 0;
}

QByteArray ParGen_Build(const std::vector<QString>& values)
{
    platform::XmlDocument doc;
    platform::XmlNode root = doc.AddRoot(ParGen_Root);
    doc.AddComment(kVersionComment);
    for (int i = 0; i < ParGen_Element_Count; ++i) {
        const auto u = static_cast<size_t>(i);
        root.AddChild(QLatin1String(kElements[u].Name)).SetText(u < values.size() ? values[u] : QString());
    }
    // A reader turns a bare carriage return into a line feed: write it as a reference so that
    // every text reads back as it was typed. The layout itself holds no carriage return.
    QByteArray bytes = doc.SaveToBytes();
    bytes.replace('\r', "&#13;");
    return bytes;
}

TParGenTexts ParGen_Parse(const QByteArray& bytes, const QString& nameForMessages)
{
    platform::XmlDocument doc;
    doc.LoadFromBytes(bytes, nameForMessages);
    const platform::XmlNode root = doc.DocumentElement();
    TParGenTexts texts(ParGen_Element_Count);
    for (int i = 0; i < ParGen_Element_Count; ++i) {
        const platform::XmlNode node = root.ChildByName(QLatin1String(kElements[static_cast<size_t>(i)].Name));
        if (node)
            texts[static_cast<size_t>(i)] = node.Text();
    }
    return texts;
}

TParGenTexts ParGen_Read_File(const QString& path)
{
    return ParGen_Parse(platform::ReadWholeFile(path, kMaxFileBytes), path);
}

void ParGen_Write_File(const QString& path, const std::vector<QString>& values)
{
    platform::WriteFileAtomic(path, ParGen_Build(values));
}

}  // namespace comm_params
