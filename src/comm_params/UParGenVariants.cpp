#include "comm_params/UParGenVariants.h"

#include <array>
#include <cstddef>

namespace comm_params {

namespace {
using P = TParGenPanel;

struct TPanelInfo {
    const char* Name;
    int Text;
};

// Indexed by TParGenPanel.
const std::array<TPanelInfo, ParGen_Panel_Count> kPanels = {{
    {"CP_Select_Device", 4247},
    {"CP_Ethernet_Connection", 4250},
    {"CP_Modbus_TCP_Slave", 690},
    {"CP_MQTT", 428},
    {"CP_Ethernet", 455},
    {"CP_TLS", 554},
    {"CP_NTP", 569},
    {"CP_WiFi2", 478},
    {"CP_GSM_GPRS", 4150},
    {"CP_WiFi", 478},
    {"CP_Working_Mode", 619},
    {"CP_MBus", 406},
    {"CP_wMBus", 419},
    {"CP_Serial", 4136},
    {"CP_Modbus_Master", 624},
    {"CP_Modbus_Slave", 679},
    {"CP_Modbus_TCP_Master", 644},
    {"CP_CAN", 1824},
    {"CP_CANopen", 1827},
    {"CP_J1939", 1842},
    {"CP_DeviceNet_Master", 1853},
    {"CP_DeviceNet_Slave", 1859},
    {"CP_EtherNetIP", 1871},
    {"CP_PROFINET", 1914},
    {"CP_PROFIBUS", 1958},
    {"CP_NMEA2000", 1972},
    {"CP_DMX", 1980},
    {"CP_KNX", 1986},
    {"CP_SNMP_Agent", 1992},
    {"CP_SNMP_Manager", 2043},
    {"CP_BACnet_Slave", 2073},
    {"CP_BACnet_Master", 4156},
    {"CP_DALI", 4146},
}};

std::vector<P> standard(std::vector<P> protocol)
{
    std::vector<P> order{P::Select_Device, P::Ethernet_Connection};
    order.insert(order.end(), protocol.begin(), protocol.end());
    for (P p : {P::MQTT, P::Ethernet, P::TLS, P::NTP, P::WiFi2, P::GSM_GPRS})
        order.push_back(p);
    return order;
}

std::vector<P> without_selection(std::vector<P> protocol)
{
    std::vector<P> order{P::Ethernet_Connection};
    order.insert(order.end(), protocol.begin(), protocol.end());
    for (P p : {P::MQTT, P::Ethernet, P::TLS, P::NTP})
        order.push_back(p);
    return order;
}

// Indexed by TParGenVariant.
const std::array<TParGenVariantInfo, ParGen_Variant_Count>& variants()
{
    static const std::array<TParGenVariantInfo, ParGen_Variant_Count> table = {{
        {standard({})},
        {{P::Select_Device, P::Working_Mode, P::MBus, P::wMBus, P::MQTT, P::Ethernet, P::WiFi, P::TLS, P::NTP,
          P::GSM_GPRS}},
        {standard({P::Serial})},
        {standard({P::Working_Mode, P::Modbus_Master})},
        {standard({P::Working_Mode, P::Modbus_Slave})},
        {standard({P::Working_Mode, P::Modbus_TCP_Master})},
        {standard({P::Modbus_TCP_Slave})},
        {standard({P::BACnet_Master})},
        {standard({P::BACnet_Slave})},
        {standard({P::CAN})},
        {standard({P::CANopen})},
        {standard({P::DALI})},
        {standard({P::DeviceNet_Master})},
        {standard({P::DeviceNet_Slave})},
        {standard({P::DMX})},
        {standard({P::EtherNetIP})},
        {standard({P::J1939})},
        {standard({P::KNX})},
        {standard({P::NMEA2000})},
        {standard({P::PROFIBUS})},
        {standard({P::PROFINET})},
        {standard({P::SNMP_Manager})},
        {standard({P::SNMP_Agent})},
        {without_selection({P::J1939}), false, true},
        {without_selection({P::CAN}), false, true},
        // This one leaves the device type alone, unlike the two above.
        {without_selection({P::Working_Mode, P::Modbus_Master}), false, false},
    }};
    return table;
}
}  // namespace

const TParGenVariantInfo& ParGen_Variant(TParGenVariant variant)
{
    return variants()[static_cast<std::size_t>(variant)];
}

const char* ParGen_Panel_Name(TParGenPanel panel) { return kPanels[static_cast<std::size_t>(panel)].Name; }

int ParGen_Panel_Text(TParGenPanel panel) { return kPanels[static_cast<std::size_t>(panel)].Text; }

}  // namespace comm_params
