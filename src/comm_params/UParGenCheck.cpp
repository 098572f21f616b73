#include "comm_params/UParGenCheck.h"

#include "shell/ULanguage.h"
#include "shell/UTextChecks.h"

#include <string_view>
#include <utility>

namespace comm_params {

bool In_Range(const QString& text, qint64 lo, qint64 hi)
{
    const qint64 v = shell::Parse_Integer(text).value_or(-1);
    return v >= lo && v <= hi;
}

int First_Bad_Byte(const std::array<QString, 4>& bytes)
{
    for (int i = 0; i < 4; ++i)
        if (!In_Range(bytes[static_cast<size_t>(i)], 0, 255))
            return i;
    return -1;
}

int Check_Device_Name(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool ok = (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
        if (!ok)
            return 1;
    }
    return 0;
}

TParGenPanel ParGen_Element_Panel(shell::TParGen_Id element)
{
    static const std::pair<const char*, TParGenPanel> prefixes[] = {
        {"Select_Device", TParGenPanel::Select_Device},
        {"Eth_Conn", TParGenPanel::Ethernet_Connection},
        {"MQTT", TParGenPanel::MQTT},
        {"Ethernet", TParGenPanel::Ethernet},
        {"WiFi", TParGenPanel::WiFi2},
        {"TLS", TParGenPanel::TLS},
        {"NTP", TParGenPanel::NTP},
        {"Modbus_TCP_Slave", TParGenPanel::Modbus_TCP_Slave},
        {"GSM_GPRS", TParGenPanel::GSM_GPRS},
    };
    const std::string_view name = shell::ParGen_Element(element).Name;
    for (const auto& [prefix, panel] : prefixes)
        if (name.starts_with(prefix))
            return panel;
    return TParGenPanel::Count;
}

std::optional<QString> Check_ParGen(const TParGen_Check_Input& in)
{
    using enum shell::TParGen_Id;
    // The first failing check gives the message; the checks after it change nothing.
    std::optional<QString> fault;
    auto fail_if = [&](bool bad, const QString& message) {
        if (!fault && bad)
            fault = message;
    };
    // The four texts of a group follow one another in the text table.
    auto check_bytes = [&](const std::array<QString, 4>& texts, int firstText) {
        const int bad = fault ? -1 : First_Bad_Byte(texts);
        fail_if(bad >= 0, shell::Lang(firstText + bad));
    };
    auto check_address = [&](shell::TParGen_Id first, int firstText) {
        check_bytes({in[first], in[first + 1], in[first + 2], in[first + 3]}, firstText);
    };
    auto checked = [&](shell::TParGen_Id e) { return shell::Decode_Check(in[e]); };
    auto empty_or = [](const QString& text, qint64 lo, qint64 hi) { return text.isEmpty() || In_Range(text, lo, hi); };

    // 1. DNS of the connection
    if (checked(Eth_Conn_Enable_DNS)) {
        check_address(Eth_Conn_Primary_DNS1, 5179);
        check_address(Eth_Conn_Secondary_DNS1, 5183);
    }
    // 2. MQTT: the reprogramming value where it is shown, then the numbers the device stores
    //    in 16 and 32 bits (empty keep-alive and send time take the device's defaults).
    fail_if(in.Reprogram_Value_Shown && !In_Range(in[MQTT_Reprogram_Value], 0, 255), shell::Lang(4242));
    fail_if(!In_Range(in[MQTT_Server_Port], MQTT_Port_Min, MQTT_Port_Max), Msg_MQTT_Server_Port());
    fail_if(!empty_or(in[MQTT_Keep_Alive], 0, MQTT_Keep_Alive_Max), Msg_MQTT_Keep_Alive());
    fail_if(!empty_or(in[MQTT_ASync_Send_Time], 0, MQTT_Send_Time_Max), Msg_MQTT_Send_Time());
    // 3. Ethernet address and mask; 4. its gateway; 5. its DNS where shown
    check_address(Ethernet_IP1, 576);
    check_address(Ethernet_SM1, 580);
    if (checked(Ethernet_EN_GAT))
        check_address(Ethernet_GAT1, 584);
    if (in.Ethernet_DNS_Shown && in.Ethernet_DNS_Checked)
        check_bytes(in.Ethernet_DNS, 588);
    // 6. Wi-Fi: an access point's first address always; a station's addresses where editable
    if (in[WiFi_Type] == QLatin1String("0")) {
        check_address(WiFi_IP1, 5187);
        check_address(WiFi_SM1, 5191);
        if (checked(WiFi_EN_Gateway))
            check_address(WiFi_GAT1, 5195);
        if (checked(WiFi_EN_DHCP)) {
            check_address(WiFi_DHCP_First_IP1, 5199);
            check_address(WiFi_DHCP_SM1, 5203);
            fail_if(!In_Range(in[WiFi_Lease_Time], 1, 99999999), shell::Lang(5207));
        }
    } else {
        if (in.WiFi_IP1_Editable) {
            check_address(WiFi_IP1, 5208);
            check_address(WiFi_SM1, 5212);
            if (checked(WiFi_EN_Gateway))
                check_address(WiFi_GAT1, 5216);
        }
        if (in.WiFi_IP2_Editable) {
            check_address(WiFi_IP2_IP1, 5220);
            check_address(WiFi_IP2_SM1, 5224);
            if (checked(WiFi_IP2_EN_Gateway))
                check_address(WiFi_IP2_GAT1, 5228);
        }
    }
    // The device copies the network name and password into fixed fields with their zero.
    fail_if(in[WiFi_SSID].size() > WiFi_SSID_Max_Chars, Msg_WiFi_SSID_Length());
    fail_if(in[WiFi_PWD].size() > WiFi_PWD_Max_Chars, Msg_WiFi_PWD_Length());
    // 7. NTP
    fail_if(!In_Range(in[NTP_Poll_Time], 0, 10000000), shell::Lang(618));
    // 8. Modbus TCP slave
    check_address(Modbus_TCP_Slave_IP1, 1811);
    check_address(Modbus_TCP_Slave_SM1, 1815);
    if (checked(Modbus_TCP_Slave_EN_GAT))
        check_address(Modbus_TCP_Slave_GAT1, 1819);
    fail_if(!In_Range(in[Modbus_TCP_Slave_Port], 0, 65535) || shell::Parse_Int32(in[Modbus_TCP_Slave_Port]) == 10000,
            shell::Lang(1823));
    // 9. Modem: PIN and APN, then the whole text with its zero in the device's field.
    const QString pinApn = QStringLiteral("PIN=") + in[GSM_GPRS_PIN] + QStringLiteral("\r\nAPN=") + in[GSM_GPRS_APN] +
                           QStringLiteral("\r\n");
    fail_if(pinApn.size() > Modem_Field_Bytes, shell::Lang(4155));
    const QString modem = shell::Modem_Text(in[GSM_GPRS_PIN], in[GSM_GPRS_APN], in[GSM_GPRS_AUTHTYPE],
                                            in[GSM_GPRS_USERNAME], in[GSM_GPRS_PASSWORD]);
    fail_if(modem.size() > Modem_Text_Max_Chars, Msg_Modem_Text_Length());
    // 10. Every list needs a selection: none would be stored as "-1" (the item-text list as an
    //     empty text).
    for (int i = 0; i < shell::ParGen_Element_Count && !fault; ++i) {
        const shell::TParGen_Id e = shell::TParGen_Id(i);
        const shell::TParGenEncoding encoding = shell::ParGen_Element(e).Encoding;
        const bool none = encoding == shell::TParGenEncoding::Index ? shell::Parse_Int32(in[e]).value_or(-1) < 0
                                                                    : encoding == shell::TParGenEncoding::ItemText &&
                                                                          in[e].isEmpty();
        if (none) {
            const auto caption = in.List_Captions.find(e);
            fail_if(true, Msg_No_Item_Selected(shell::Lang(ParGen_Panel_Text(ParGen_Element_Panel(e))),
                                               caption != in.List_Captions.end() ? caption->second : QString()));
        }
    }
    return fault;
}

QString Msg_MQTT_Server_Port() { return QStringLiteral("Error MQTT!! Server Port must be between 1 and 65535"); }

QString Msg_MQTT_Keep_Alive()
{
    return QStringLiteral("Error MQTT!! Keep Alive must be empty or between 0 and 65535 seconds");
}

QString Msg_MQTT_Send_Time()
{
    return QStringLiteral("Error MQTT!! Send Time must be empty or between 0 and %1").arg(MQTT_Send_Time_Max);
}

QString Msg_WiFi_SSID_Length()
{
    return QStringLiteral("Error WiFi!! SSID must be at most %1 characters long").arg(WiFi_SSID_Max_Chars);
}

QString Msg_WiFi_PWD_Length()
{
    return QStringLiteral("Error WiFi!! Password must be at most %1 characters long").arg(WiFi_PWD_Max_Chars);
}

QString Msg_Modem_Text_Length()
{
    return QStringLiteral("Error GSM / GPRS!! PIN, APN, User Name and Password together are too long "
                          "for the modem (at most %1 characters with their keywords)")
        .arg(Modem_Text_Max_Chars);
}

QString Msg_No_Item_Selected(const QString& panel, const QString& field)
{
    return QStringLiteral("Error %1!! Select an item in \"%2\"").arg(panel, field);
}

}  // namespace comm_params
