#pragma once
#include <vector>

// The gateways of the family share one "Set Communication" window; each product shows its own
// panels in its own order. This product is the Modbus TCP slave gateway.
namespace comm_params {

enum class TParGenPanel {
    Select_Device,
    Ethernet_Connection,
    Modbus_TCP_Slave,
    MQTT,
    Ethernet,
    TLS,
    NTP,
    WiFi2,
    GSM_GPRS,
    WiFi,  // the older Wi-Fi panel of the M-Bus gateway
    Working_Mode,
    MBus,
    wMBus,
    Serial,
    Modbus_Master,
    Modbus_Slave,
    Modbus_TCP_Master,
    CAN,
    CANopen,
    J1939,
    DeviceNet_Master,
    DeviceNet_Slave,
    EtherNetIP,
    PROFINET,
    PROFIBUS,
    NMEA2000,
    DMX,
    KNX,
    SNMP_Agent,
    SNMP_Manager,
    BACnet_Slave,
    BACnet_Master,
    DALI,
    Count
};
constexpr int ParGen_Panel_Count = static_cast<int>(TParGenPanel::Count);

enum class TParGenVariant {
    MQTT_Only,
    MBus,
    Serial,
    Modbus_Master,
    Modbus_Slave,
    Modbus_TCP_Master,
    Modbus_TCP_Slave,
    BACnet_Master,
    BACnet_Slave,
    CAN,
    CANopen,
    DALI,
    DeviceNet_Master,
    DeviceNet_Slave,
    DMX,
    EtherNetIP,
    J1939,
    KNX,
    NMEA2000,
    PROFIBUS,
    PROFINET,
    SNMP_Manager,
    SNMP_Agent,
    J1939_No_Device_Selection,
    CAN_No_Device_Selection,
    Modbus_Master_No_Device_Selection,
    Count
};
constexpr int ParGen_Variant_Count = static_cast<int>(TParGenVariant::Count);

// The variant this program is built for.
constexpr TParGenVariant ParGen_Product_Variant = TParGenVariant::Modbus_TCP_Slave;

struct TParGenVariantInfo {
    std::vector<TParGenPanel> Panels;  // in their order in the window
    bool Device_Selection = true;      // the device type rule applies to the Wi-Fi and modem panels
    bool Reset_Device_Type = false;    // the relayout first sets the device type to its first item
};

const TParGenVariantInfo& ParGen_Variant(TParGenVariant variant);

// Component name of a panel ("CP_MQTT") and the text index of its group caption ("MQTT").
const char* ParGen_Panel_Name(TParGenPanel panel);
int ParGen_Panel_Text(TParGenPanel panel);

}  // namespace comm_params
