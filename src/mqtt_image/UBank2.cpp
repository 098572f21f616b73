#include "mqtt_image/UBank2.h"

#include "platform/Exception.h"
#include "platform/FileUtil.h"
#include "mqtt_image/UBankInput.h"
#include "mqtt_image/UBankWriter.h"
#include "mqtt_image/UMQTT_Topic_File.h"
#include "shell/UProjectTable.h"
#include "shell/UTextChecks.h"

#include <QtGlobal>

#include <cstring>

namespace mqtt_image {

namespace {

constexpr std::string_view Connect_Struct_ID = "MQTC";
constexpr std::string_view Will_Struct_ID = "MQTW";
constexpr std::string_view Default_Template = "$VALUE$";

enum : uint32_t { Option_OnChange = 1, Option_OnCMD = 2, Option_OnTimer = 4 };

std::string_view Text_Or_Empty(const TParGen_Reader& p, shell::TParGen_Id element) { return p.Text(element).value_or(""); }

// The text without line breaks; a copy only when it had any.
std::string_view Without_CR_LF(TMQTT& mqtt, std::string_view text)
{
    if (!std::memchr(text.data(), '\r', text.size()) && !std::memchr(text.data(), '\n', text.size()))
        return text;
    return mqtt.Own(Remove_CR_LF(text));
}

bool Is_Y(const shell::Table_Row_View& row, int column)
{
    const auto text = row.Optional(column);
    return text && Same_Text_No_Case(*text, "Y");
}

// Parsed after trimming, or fallback when missing or not a number.
int32_t Trimmed_Int(const shell::Table_Row_View& row, int column, int32_t fallback)
{
    const auto text = row.Optional(column);
    return text ? shell::Parse_Int32(Trim_Bank_Text(*text)).value_or(fallback) : fallback;
}

uint16_t Data_Type(const shell::Table_Row_View& row, int column)
{
    const auto text = row.Optional(column);
    return text ? Type_Data_Code(Trim_Bank_Text(*text)) : 0;
}

void Load_Publish(TMQTT& mqtt, const shell::Table_File_View& file)
{
    const bool noLayout = mqtt.Mode == 0 || mqtt.Mode == 3;
    mqtt.Publish_Data.resize(file.Row_Count(Topic_Publish));
    for (size_t i = 0; i < mqtt.Publish_Data.size(); ++i) {
        const shell::Table_Row_View row = file.Row(Topic_Publish, i);
        TMQTT_Publish_Data& e = mqtt.Publish_Data[i];
        e.Publish_Topic.CString = Without_CR_LF(mqtt, row.Required(pub::Topic));
        e.Retained = Same_Text_No_Case(row.Required(pub::Retained), "Y") ? 1 : 0;
        e.QoS = row.Required_Int(pub::QoS);
        e.Options = 0;
        if (Is_Y(row, pub::OnChange))
            e.Options += Option_OnChange;
        if (Is_Y(row, pub::OnCMD))
            e.Options += Option_OnCMD;
        if (Is_Y(row, pub::OnTimer))
            e.Options += Option_OnTimer;
        e.Timer = (e.Options & Option_OnTimer) ? uint32_t(Trimmed_Int(row, pub::Time, 0)) : 0;
        if (!noLayout) {
            e.Type_Data = Data_Type(row, pub::DataType);
            e.Length = uint16_t(row.Int(pub::Dimension, 4));
            e.Position = uint32_t(row.Int(pub::Position, 0));
        }
        const auto tmpl = row.Optional(pub::Template);
        e.Output_Template.Text = Without_CR_LF(mqtt, tmpl.value_or(Default_Template));
        e.Description.Text = row.Required(pub::Mnemonic);
    }
}

void Load_Subscribe(TMQTT& mqtt, const shell::Table_File_View& file)
{
    size_t n = file.Row_Count(Topic_Subscribe);
    if (mqtt.Mode == 0)
        n = std::min<size_t>(n, 1);
    mqtt.Topic_Filters.resize(n);
    mqtt.Topic_Filter_QoS.resize(n);
    mqtt.Subscribe_Data.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const shell::Table_Row_View row = file.Row(Topic_Subscribe, i);
        mqtt.Topic_Filters[i].CString = Without_CR_LF(mqtt, row.Required(sub::Topic));
        mqtt.Topic_Filter_QoS[i] = row.Required_Int(sub::QoS);
        TMQTT_Subscribe_Data& e = mqtt.Subscribe_Data[i];
        if (mqtt.Mode != 0) {
            e.Type_SubData = Data_Type(row, sub::DataType);
            e.Length = uint32_t(row.Int(sub::Dimension, 4));
            e.Position = uint32_t(row.Int(sub::Position, 0));
        }
        // The subscribe template keeps its line breaks: the device matches received payloads with it.
        const auto tmpl = row.Optional(sub::Template);
        e.Input_Template.Text = tmpl.value_or(Default_Template);
    }
}

// Walks the image in the order it is written, giving each item its offset.
class TOffset_Walker {
public:
    size_t C = Bank2_Header_Size;

    void Plain(TMQTTText& t)
    {
        if (t.Text.empty()) {
            t.Address = Empty_String_Offset;
        } else {
            t.Address = uint32_t(C);
            C += t.Text.size() + 1;
        }
    }
    // Plain text with a separate length field.
    void Plain(TMQTTText& t, uint32_t& len)
    {
        Plain(t);
        len = uint32_t(t.Text.size());
    }
    void String(TMQTTString& s)
    {
        if (s.CString.empty()) {
            s.Address = 0;
            s.Len = 0;
        } else {
            s.Address = uint32_t(C);
            s.Len = int32_t(s.CString.size());
            C += s.CString.size() + 1;
        }
    }
};

class TImage_Writer {
public:
    TImage_Writer(std::span<uint8_t> buffer, uint32_t base) : W(buffer), Base(base) {}

    void U8(uint8_t v) { W.Put_U8(v); }
    void U16(uint16_t v) { W.Put_U16(v); }
    void U32(uint32_t v) { W.Put_U32(v); }
    void Id(std::string_view fourLetters) { W.Put_Bytes(fourLetters); }
    void Address(uint32_t offset) { W.Put_U32(Base + offset); }
    void MQTTString(const TMQTTString& s)
    {
        const uint32_t address = s.Address == 0 ? 0 : Base + s.Address;
        W.Put_U32(address);
        W.Put_U32(uint32_t(s.Len));
        W.Put_U32(address);
    }
    // Text and zero byte; an empty text writes nothing (its address is the shared empty string).
    void CString(std::string_view text, uint32_t address)
    {
        if (text.empty())
            return;
        Q_ASSERT(W.Position() == address);
        (void)address;
        W.Put_Bytes(text);
        W.Put_U8(0);
    }
    void CString(const TMQTTText& t) { CString(t.Text, t.Address); }
    void CString(const TMQTTString& s) { CString(s.CString, s.Address); }
    size_t Position() const { return W.Position(); }

private:
    TBank_Writer W;
    uint32_t Base;
};

QString Too_Large_Message(size_t length)
{
    return QStringLiteral("The MQTT configuration makes a device image of %1 bytes, but the gateway holds at "
                          "most %2 bytes. Remove rows, or shorten topics, templates, mnemonics or certificates.")
        .arg(length)
        .arg(Bank2_Max_Size);
}

}  // namespace

void Init_MQTT_Defaults(TMQTT& mqtt) { mqtt = TMQTT(); }

void Load_ParGen_For_MQTT(TMQTT& m, std::shared_ptr<const TXml_Source> parGen)
{
    using enum shell::TParGen_Id;
    const TParGen_Reader p(parGen->Root());
    m.Keep(std::move(parGen));
    // Mode follows from the file's presence; an element Working_Mode does not change it.
    m.Mode = 2;
    m.Time_Poll = uint32_t(p.Int(MQTT_ASync_Send_Time, 10));
    m.Server_Address.Text = Text_Or_Empty(p, MQTT_Server_URL);
    m.Server_Port = uint16_t(p.Int(MQTT_Server_Port, 1883));
    TMQTTPacket_ConnectData& c = m.Connect_Data;
    c.ClientID.CString = Text_Or_Empty(p, MQTT_Client_ID);
    c.KeepAliveInterval = uint16_t(p.Int(MQTT_Keep_Alive, 0));
    c.CleanSession = uint8_t(p.Int(MQTT_Clean_Session, 0));
    c.WillFlag = uint8_t(p.Int(MQTT_WillFlag, 0));
    c.Will.TopicName.CString = Text_Or_Empty(p, MQTT_Will_Topic_Name);
    c.Will.WillMessage.CString = Text_Or_Empty(p, MQTT_Will_Message);
    c.Will.Retained = uint8_t(p.Int(MQTT_Will_Retained, 0));
    c.Will.QoS = uint8_t(p.Int(MQTT_Will_QoS, 0));
    m.onconnectFlag = uint8_t(p.Int(MQTT_PublishTopicConnection, 0));
    m.onconnect.topicName.CString = Text_Or_Empty(p, MQTT_Connection_Topic_Name);
    m.onconnect.conn_message.CString = Text_Or_Empty(p, MQTT_Connection_Message);
    m.onconnect.reteined = uint8_t(p.Int(MQTT_Connection_Retained, 0));
    c.Username.CString = Text_Or_Empty(p, MQTT_Username);
    c.Password.CString = Text_Or_Empty(p, MQTT_Password);
    m.TLS_Flag = uint32_t(p.Int(TLS_Enable, 0));
    m.TLS_Server_Authentication = uint32_t(p.Int(TLS_En_Server_Auth, 0));
    m.TLS_Server_Cert.Text = Text_Or_Empty(p, TLS_Server_Auth_Certificate);
    m.TLS_Client_Authentication = uint32_t(p.Int(TLS_En_Client_Auth, 0));
    m.TLS_Client_Cert.Text = Text_Or_Empty(p, TLS_Client_Auth_Certificate);
    m.TLS_Client_Key.Text = Text_Or_Empty(p, TLS_Client_Auth_Key);
    m.TLS_Client_Key_Pass.Text = Text_Or_Empty(p, TLS_Client_Auth_Key_Password);
    m.NTP_Server_Address.Text = Text_Or_Empty(p, NTP_Server_URL);
    m.NTP_Server_Poll = uint32_t(p.Int(NTP_Poll_Time, 1000));
}

uint16_t Type_Data_Code(std::string_view text)
{
    static constexpr std::pair<std::string_view, uint16_t> Codes[] = {
        {"STRING", 0}, {"INT", 1}, {"FLOAT", 2}, {"BASE64", 3}, {"SINT", 4}};
    for (const auto& [name, code] : Codes)
        if (Same_Text_No_Case(text, name))
            return code;
    return 0;
}

void Load_Topics_For_Bank2(TMQTT& mqtt, const QString& topicPath)
{
    if (!platform::FileExists(topicPath))
        return;
    auto source = TXml_Source::Load(topicPath);
    mqtt.Keep(source);
    const shell::Table_File_View file(source->Root(), MQTT_Set_Topic_Description(), topicPath,
                                      QStringLiteral("the device image"));
    Load_Publish(mqtt, file);
    Load_Subscribe(mqtt, file);
}

size_t Assign_Bank2_Offsets(TMQTT& m)
{
    TOffset_Walker w;
    TMQTTPacket_ConnectData& c = m.Connect_Data;
    w.Plain(m.Server_Address);
    w.String(c.ClientID);
    w.String(c.Will.TopicName);
    w.String(c.Will.WillMessage);
    w.String(c.Username);
    w.String(c.Password);
    w.Plain(m.TLS_Server_Cert, m.TLS_Server_Cert_Len);
    w.Plain(m.TLS_Client_Cert, m.TLS_Client_Cert_Len);
    w.Plain(m.TLS_Client_Key, m.TLS_Client_Key_Len);
    w.Plain(m.TLS_Client_Key_Pass);
    w.Plain(m.NTP_Server_Address);
    w.String(m.onconnect.topicName);
    w.String(m.onconnect.conn_message);
    w.String(m.topic_answer_dali);

    const size_t n = m.Topic_Filter_Count();
    if (n == 0) {
        m.Topic_Filters_Add = m.Topic_Filter_QoS_Add = m.Subscribe_Data_Add = 0;
    } else {
        m.Topic_Filters_Add = uint32_t(w.C);
        w.C += MQTTString_Size * n;
        for (TMQTTString& filter : m.Topic_Filters)
            w.String(filter);
        m.Topic_Filter_QoS_Add = uint32_t(w.C);
        m.Subscribe_Data_Add = uint32_t(w.C + 4 * n);
        w.C += (4 + Subscribe_Entry_Size) * n;
        for (TMQTT_Subscribe_Data& e : m.Subscribe_Data) {
            w.Plain(e.Input_Template);
            w.Plain(e.Output_Template);
        }
    }

    if (m.Publish_Data.empty()) {
        m.Publish_Data_Add = 0;
    } else {
        m.Publish_Data_Add = uint32_t(w.C);
        w.C += Publish_Entry_Size * m.Publish_Data.size();
        for (TMQTT_Publish_Data& e : m.Publish_Data) {
            w.Plain(e.Description);
            w.String(e.Publish_Topic);
            w.Plain(e.Input_Template);
            w.Plain(e.Output_Template);
        }
    }
    return w.C;
}

std::vector<uint8_t> Put_Bank2_Image(TMQTT& m, uint32_t base)
{
    const size_t length = Assign_Bank2_Offsets(m);
    if (length > Bank2_Max_Size)
        throw platform::Exception(Too_Large_Message(length));

    std::vector<uint8_t> image(length);
    TImage_Writer w(image, base);
    const TMQTTPacket_ConnectData& c = m.Connect_Data;

    w.U32(m.Mode);
    w.U32(m.Time_Poll);
    w.Address(m.Server_Address.Address);
    w.U16(m.Server_Port);
    w.Id(Connect_Struct_ID);
    w.U32(0);
    w.U8(c.MQTTVersion);
    w.MQTTString(c.ClientID);
    w.U16(c.KeepAliveInterval);
    w.U8(c.CleanSession);
    w.U8(c.WillFlag);
    w.Id(Will_Struct_ID);
    w.U32(0);
    w.MQTTString(c.Will.TopicName);
    w.MQTTString(c.Will.WillMessage);
    w.U8(c.Will.Retained);
    w.U8(c.Will.QoS);
    w.MQTTString(c.Username);
    w.MQTTString(c.Password);
    w.U32(uint32_t(m.Topic_Filter_Count()));
    w.Address(m.Topic_Filters_Add);
    w.Address(m.Topic_Filter_QoS_Add);
    w.Address(m.Subscribe_Data_Add);
    w.U32(uint32_t(m.Publish_Topic_Count()));
    w.Address(m.Publish_Data_Add);
    w.U32(m.TLS_Flag);
    w.U32(m.TLS_Server_Authentication);
    w.Address(m.TLS_Server_Cert.Address);
    w.U32(m.TLS_Server_Cert_Len);
    w.U32(m.TLS_Client_Authentication);
    w.Address(m.TLS_Client_Cert.Address);
    w.U32(m.TLS_Client_Cert_Len);
    w.Address(m.TLS_Client_Key.Address);
    w.U32(m.TLS_Client_Key_Len);
    w.U32(m.TLS_Client_Key_Password);
    w.Address(m.TLS_Client_Key_Pass.Address);
    w.Address(m.NTP_Server_Address.Address);
    w.U32(m.NTP_Server_Poll);
    w.U8(m.onconnectFlag);
    w.MQTTString(m.onconnect.topicName);
    w.MQTTString(m.onconnect.conn_message);
    w.U8(m.onconnect.reteined);
    w.U8(m.onconnect.qos);
    w.MQTTString(m.topic_answer_dali);
    Q_ASSERT(w.Position() == Empty_String_Offset);
    w.U8(0);

    w.CString(m.Server_Address);
    w.CString(c.ClientID);
    w.CString(c.Will.TopicName);
    w.CString(c.Will.WillMessage);
    w.CString(c.Username);
    w.CString(c.Password);
    w.CString(m.TLS_Server_Cert);
    w.CString(m.TLS_Client_Cert);
    w.CString(m.TLS_Client_Key);
    w.CString(m.TLS_Client_Key_Pass);
    w.CString(m.NTP_Server_Address);
    w.CString(m.onconnect.topicName);
    w.CString(m.onconnect.conn_message);
    w.CString(m.topic_answer_dali);

    if (m.Topic_Filter_Count() > 0) {
        Q_ASSERT(w.Position() == m.Topic_Filters_Add);
        for (const TMQTTString& filter : m.Topic_Filters)
            w.MQTTString(filter);
        for (const TMQTTString& filter : m.Topic_Filters)
            w.CString(filter);
        Q_ASSERT(w.Position() == m.Topic_Filter_QoS_Add);
        for (const int32_t qos : m.Topic_Filter_QoS)
            w.U32(uint32_t(qos));
        Q_ASSERT(w.Position() == m.Subscribe_Data_Add);
        for (const TMQTT_Subscribe_Data& e : m.Subscribe_Data) {
            w.U32(e.Position);
            w.U32(e.Length);
            w.U32(e.Type_SubData);
            w.Address(e.Input_Template.Address);
            w.Address(e.Output_Template.Address);
            w.U32(e.IP_Address);
            w.U16(e.Port);
            w.U8(e.Proto);
        }
        for (const TMQTT_Subscribe_Data& e : m.Subscribe_Data) {
            w.CString(e.Input_Template);
            w.CString(e.Output_Template);
        }
    }

    if (!m.Publish_Data.empty()) {
        Q_ASSERT(w.Position() == m.Publish_Data_Add);
        for (const TMQTT_Publish_Data& e : m.Publish_Data) {
            w.Address(e.Description.Address);
            w.MQTTString(e.Publish_Topic);
            w.U8(e.Retained);
            w.U32(uint32_t(e.QoS));
            w.Address(e.Input_Template.Address);
            w.Address(e.Output_Template.Address);
            w.U32(e.Source_IP_Address);
            w.U32(e.Position);
            w.U16(e.Length);
            w.U16(e.Type_Data);
            w.U32(e.Timer);
            w.U32(e.Options);
        }
        for (const TMQTT_Publish_Data& e : m.Publish_Data) {
            w.CString(e.Description);
            w.CString(e.Publish_Topic);
            w.CString(e.Input_Template);
            w.CString(e.Output_Template);
        }
    }
    Q_ASSERT(w.Position() == length);
    return image;
}

}  // namespace mqtt_image
