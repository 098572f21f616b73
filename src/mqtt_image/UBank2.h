#pragma once
#include <QString>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mqtt_image {

class TXml_Source;

// The gateway's MQTT client configuration as its firmware holds it at Bank2_Base_Address. All
// texts are UTF-8 views into the documents they were read from or into texts the record owns;
// every address is an offset in the image until the image is written.
constexpr size_t Bank2_Max_Size = 524288;
// The zero byte that every empty plain text points at.
constexpr uint32_t Empty_String_Offset = 212;
constexpr uint32_t Bank2_Header_Size = 213;
constexpr size_t MQTTString_Size = 12;
constexpr size_t Subscribe_Entry_Size = 27;
constexpr size_t Publish_Entry_Size = 49;

// A string written as address, length, address; address 0 when empty.
struct TMQTTString {
    std::string_view CString;
    uint32_t Address = 0;
    int32_t Len = 0;
};

// A zero-terminated text with its address; an empty one points at Empty_String_Offset.
struct TMQTTText {
    std::string_view Text;
    uint32_t Address = 0;
};

struct TMQTTPacket_WillOption {
    TMQTTString TopicName;
    TMQTTString WillMessage;
    uint8_t Retained = 0;
    uint8_t QoS = 0;
};

struct TMQTTPacket_ConnectData {
    uint8_t MQTTVersion = 4;
    TMQTTString ClientID;
    uint16_t KeepAliveInterval = 0;
    uint8_t CleanSession = 0;
    uint8_t WillFlag = 0;
    TMQTTPacket_WillOption Will;
    TMQTTString Username;
    TMQTTString Password;
};

struct TMQTTPacket_OnConnectOptions {
    TMQTTString topicName;
    TMQTTString conn_message;
    uint8_t reteined = 0;
    uint8_t qos = 0;
};

struct TMQTT_Publish_Data {
    TMQTTText Description;
    TMQTTString Publish_Topic;
    uint8_t Retained = 0;
    int32_t QoS = 0;
    TMQTTText Input_Template;
    TMQTTText Output_Template;
    uint32_t Source_IP_Address = 0;
    uint32_t Position = 0;
    uint16_t Length = 0;
    uint16_t Type_Data = 0;
    uint32_t Timer = 0;
    uint32_t Options = 0;
};

struct TMQTT_Subscribe_Data {
    uint32_t Position = 0;
    uint32_t Length = 0;
    uint32_t Type_SubData = 0;
    TMQTTText Input_Template;
    TMQTTText Output_Template;
    uint32_t IP_Address = 0;
    uint16_t Port = 0;
    uint8_t Proto = 0;
};

// Entry i of Topic_Filters, Topic_Filter_QoS and Subscribe_Data belongs to subscribe row i.
// Not copyable: its texts point into what it keeps.
struct TMQTT {
    TMQTT() = default;
    TMQTT(const TMQTT&) = delete;
    TMQTT& operator=(const TMQTT&) = delete;
    TMQTT(TMQTT&&) = default;
    TMQTT& operator=(TMQTT&&) = default;

    uint32_t Mode = 0;
    uint32_t Time_Poll = 0;
    TMQTTText Server_Address;
    uint16_t Server_Port = 0;
    TMQTTPacket_ConnectData Connect_Data;
    std::vector<TMQTTString> Topic_Filters;
    uint32_t Topic_Filters_Add = 0;
    std::vector<int32_t> Topic_Filter_QoS;
    uint32_t Topic_Filter_QoS_Add = 0;
    std::vector<TMQTT_Subscribe_Data> Subscribe_Data;
    uint32_t Subscribe_Data_Add = 0;
    std::vector<TMQTT_Publish_Data> Publish_Data;
    uint32_t Publish_Data_Add = 0;
    uint32_t TLS_Flag = 0;
    uint32_t TLS_Server_Authentication = 0;
    TMQTTText TLS_Server_Cert;
    uint32_t TLS_Server_Cert_Len = 0;
    uint32_t TLS_Client_Authentication = 0;
    TMQTTText TLS_Client_Cert;
    uint32_t TLS_Client_Cert_Len = 0;
    TMQTTText TLS_Client_Key;
    uint32_t TLS_Client_Key_Len = 0;
    uint32_t TLS_Client_Key_Password = 0;
    TMQTTText TLS_Client_Key_Pass;
    TMQTTText NTP_Server_Address;
    uint32_t NTP_Server_Poll = 0;
    uint8_t onconnectFlag = 0;
    TMQTTPacket_OnConnectOptions onconnect;
    TMQTTString topic_answer_dali;

    size_t Topic_Filter_Count() const { return Topic_Filters.size(); }
    size_t Publish_Topic_Count() const { return Publish_Data.size(); }

    // A text that is not in a source document as it must be stored.
    std::string_view Own(std::string text) { return Owned_Texts.emplace_back(std::move(text)); }
    // Keeps a document whose texts the record points into.
    void Keep(std::shared_ptr<const TXml_Source> source) { Sources.push_back(std::move(source)); }

private:
    std::vector<std::shared_ptr<const TXml_Source>> Sources;
    std::deque<std::string> Owned_Texts;  // a deque never moves its elements
};

// The record as it is when the project has no ParGen.xml and no topics.
void Init_MQTT_Defaults(TMQTT& mqtt);

// Broker, client, TLS and NTP settings from the loaded ParGen.xml; also sets Mode to 2.
void Load_ParGen_For_MQTT(TMQTT& mqtt, std::shared_ptr<const TXml_Source> parGen);

// The publish and subscribe tables from MQTT_Set_Topic.xml when the file exists. Throws Exception
// naming the file, the row and the attribute when a row cannot be converted, and for a file that
// is not well formed or lacks one of the two containers.
void Load_Topics_For_Bank2(TMQTT& mqtt, const QString& topicPath);

// The data type code of a trimmed, upper-cased text: 0 STRING (and any unknown text), 1 INT,
// 2 FLOAT, 3 BASE64, 4 SINT.
uint16_t Type_Data_Code(std::string_view text);

// Gives every string and table its offset in the image; returns the image length.
size_t Assign_Bank2_Offsets(TMQTT& mqtt);

// The image bytes, addresses based at base. Throws Exception when the image would exceed
// Bank2_Max_Size; nothing is written past it.
std::vector<uint8_t> Put_Bank2_Image(TMQTT& mqtt, uint32_t base);

}  // namespace mqtt_image
