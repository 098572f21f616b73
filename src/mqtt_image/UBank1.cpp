#include "mqtt_image/UBank1.h"

#include "mqtt_image/UBankInput.h"
#include "mqtt_image/UBankWriter.h"
#include "shell/UComon.h"

#include <algorithm>
#include <span>

namespace mqtt_image {

namespace {

// Field offsets of the block.
enum : size_t {
    Off_Ethernet_IP = 40,
    Off_Ethernet_SM = 44,
    Off_Ethernet_GAT = 48,
    Off_Fixed_52 = 52,
    Off_Modbus_Port = 54,
    Off_Modbus_Port_Copy = 56,
    Off_Modbus_IP = 388,
    Off_Modbus_SM = 392,
    Off_Modbus_GAT = 396,
    Off_Fixed_436 = 436,
    Off_Modem_Text = 532,
    Off_WiFi_SSID = 1148,
    Off_WiFi_PWD = 1180,
    Off_DHCP_Flags = 1256,
    Off_WiFi_EN_DHCP = 1258,
    Off_WiFi_Secure_Type = 1259,
    Off_WiFi_DHCP_First = 1260,
    Off_WiFi_DHCP_SM = 1264,
    Off_WiFi_Lease_Time = 1268,
    Off_WiFi_Max_Client = 1272,
    Off_WiFi_Type = 1273,
    Off_WiFi_Channel = 1274,
    Off_WiFi_Auto_Channel = 1275,
    Off_WiFi_IP = 1276,
    Off_WiFi_SM = 1280,
    Off_WiFi_GAT = 1284,
    Off_WiFi_IP2_IP = 1288,
    Off_WiFi_IP2_SM = 1292,
    Off_WiFi_IP2_GAT = 1296,
    Off_Device_Name = 1300,
    Off_Secondary_DNS = 1340,
    Off_Primary_DNS = 1420,
    Off_Bank2_Address = 1424,
};

constexpr size_t Width_Modem_Text = shell::Modem_Field_Bytes;
constexpr size_t Width_WiFi_SSID = 32;
constexpr size_t Width_WiFi_PWD = 64;
constexpr size_t Width_Device_Name = 32;
// The device name keeps a terminating zero inside its field.
constexpr size_t Max_Device_Name = 31;

using TIP = std::array<int32_t, 4>;
constexpr TIP IP_None{0, 0, 0, 0};
constexpr TIP IP_All{255, 255, 255, 255};

// Field access confined to the payload: no field write can reach the checksum or past the block.
class TBank1_Fields {
public:
    explicit TBank1_Fields(TBank1_Parameter_Block& block)
        : W(std::span<uint8_t>(block.Bytes.data(), Bank1_Checksum_Offset))
    {
    }

    // Numbers are stored in the field's width: the low bits are kept.
    void U8(size_t offset, int64_t value)
    {
        W.Seek(offset);
        W.Put_U8(uint8_t(value));
    }
    void U16(size_t offset, int64_t value)
    {
        W.Seek(offset);
        W.Put_U16(uint16_t(value));
    }
    void U32(size_t offset, int64_t value)
    {
        W.Seek(offset);
        W.Put_U32(uint32_t(value));
    }
    void IP(size_t offset, const TIP& bytes)
    {
        W.Seek(offset);
        for (const int32_t b : bytes)
            W.Put_U8(uint8_t(b));
    }
    // One byte per UTF-16 code unit (its low byte), at most maxUnits of them and never more than
    // the field holds; the rest of the field is zero.
    void Text(size_t offset, size_t width, const QString& text, size_t maxUnits)
    {
        const size_t count = std::min({size_t(text.size()), maxUnits, width});
        W.Seek(offset);
        for (size_t i = 0; i < count; ++i)
            W.Put_U8(uint8_t(text.at(qsizetype(i)).unicode()));
        W.Put_Zeros(width - count);
    }

private:
    TBank_Writer W;
};

// The four elements of an address from its first byte on, each with its own fallback.
TIP Read_IP(const TParGen_Reader& parGen, shell::TParGen_Id first, const TIP& fallback)
{
    TIP result{};
    for (int i = 0; i < 4; ++i)
        result[size_t(i)] = parGen.Int(first + i, fallback[size_t(i)]);
    return result;
}

// The DHCP server's addresses are stored as one number, IP1 + IP2 x 256 + IP3 x 65536 + IP4 x 16777216:
// the four bytes in order while each is 0..255; a value beyond a byte carries into the next one.
int64_t IP_As_Number(const TIP& bytes)
{
    return int64_t(bytes[0]) + int64_t(bytes[1]) * 256 + int64_t(bytes[2]) * 65536 + int64_t(bytes[3]) * 16777216;
}

}  // namespace

void Init_Bank1_Defaults(TBank1_Parameter_Block& block)
{
    block.Bytes.fill(0);
    TBank1_Fields f(block);
    f.U32(0, 250000);
    f.U32(4, 250000);
    f.U16(8, 0);
    f.U16(10, 0);
    f.U32(12, 9600);
    f.IP(Off_Ethernet_IP, {192, 168, 2, 205});
    f.IP(Off_Ethernet_SM, {255, 255, 255, 0});
    f.IP(Off_Ethernet_GAT, IP_All);
    f.U16(Off_Fixed_52, 10000);
    f.U16(Off_Modbus_Port, 10001);
    f.U16(Off_Modbus_Port_Copy, 10001);
    f.IP(Off_Fixed_436, {8, 8, 8, 8});
    f.IP(Off_Fixed_436 + 4, {8, 8, 8, 8});
    f.U32(Off_Bank2_Address, Bank2_Base_Address);
}

QString Modem_Text(const TParGen_Reader& p)
{
    using enum shell::TParGen_Id;
    return shell::Modem_Text(p.Text_UTF16(GSM_GPRS_PIN), p.Text_UTF16(GSM_GPRS_APN), p.Text_UTF16(GSM_GPRS_AUTHTYPE),
                             p.Text_UTF16(GSM_GPRS_USERNAME), p.Text_UTF16(GSM_GPRS_PASSWORD));
}

void Load_ParGen_For_Bank1(TBank1_Parameter_Block& block, const TParGen_Reader& p)
{
    using enum shell::TParGen_Id;
    TBank1_Fields f(block);

    f.Text(Off_Device_Name, Width_Device_Name, p.Text_UTF16(Eth_Conn_Device_Name), Max_Device_Name);

    int flags = 0;
    if (p.Is_One(Eth_Conn_DHCP_Cable))
        flags |= 1;
    if (p.Is_One(Eth_Conn_DHCP_WiFi))
        flags |= 2;
    f.U16(Off_DHCP_Flags, flags);

    if (p.Is_One(Eth_Conn_Enable_DNS)) {
        f.IP(Off_Primary_DNS, Read_IP(p, Eth_Conn_Primary_DNS1, {8, 8, 8, 8}));
        f.IP(Off_Secondary_DNS, Read_IP(p, Eth_Conn_Secondary_DNS1, {8, 8, 4, 4}));
    } else {
        f.IP(Off_Primary_DNS, IP_None);
        f.IP(Off_Secondary_DNS, IP_None);
    }

    f.IP(Off_Modbus_IP, Read_IP(p, Modbus_TCP_Slave_IP1, {192, 168, 0, 5}));
    f.IP(Off_Modbus_SM, Read_IP(p, Modbus_TCP_Slave_SM1, {255, 255, 255, 0}));
    f.IP(Off_Modbus_GAT, p.Is_One(Modbus_TCP_Slave_EN_GAT) ? Read_IP(p, Modbus_TCP_Slave_GAT1, {192, 168, 0, 1})
                                                              : IP_All);
    const int32_t port = p.Int(Modbus_TCP_Slave_Port, 502);
    f.U16(Off_Modbus_Port, port);
    f.U16(Off_Modbus_Port_Copy, port);

    // The device reads the text up to its zero, so the zero always stays inside the field.
    f.Text(Off_Modem_Text, Width_Modem_Text, Modem_Text(p), Width_Modem_Text - 1);

    f.IP(Off_Ethernet_IP, Read_IP(p, Ethernet_IP1, {192, 168, 0, 10}));
    f.IP(Off_Ethernet_SM, Read_IP(p, Ethernet_SM1, {255, 255, 255, 0}));
    f.IP(Off_Ethernet_GAT, p.Is_One(Ethernet_EN_GAT) ? Read_IP(p, Ethernet_GAT1, {192, 168, 0, 1}) : IP_All);

    const int32_t wifiType = p.Int(WiFi_Type, 0);
    const bool accessPoint = wifiType == 0;
    const bool stationWithSecondAddress = wifiType == 1 && shell::Check_Device_IP_Address().Count == 2;
    f.U8(Off_WiFi_Type, wifiType);
    f.IP(Off_WiFi_IP, Read_IP(p, WiFi_IP1, {192, 168, 0, 100}));
    f.IP(Off_WiFi_SM, Read_IP(p, WiFi_SM1, {255, 255, 255, 0}));
    if (stationWithSecondAddress) {
        f.IP(Off_WiFi_GAT, p.Is_One(WiFi_EN_Gateway) ? Read_IP(p, WiFi_GAT1, {192, 168, 0, 1}) : IP_All);
        f.IP(Off_WiFi_IP2_IP, Read_IP(p, WiFi_IP2_IP1, {192, 168, 0, 110}));
        f.IP(Off_WiFi_IP2_SM, Read_IP(p, WiFi_IP2_SM1, {255, 255, 255, 0}));
        f.IP(Off_WiFi_IP2_GAT,
             p.Is_One(WiFi_IP2_EN_Gateway) ? Read_IP(p, WiFi_IP2_GAT1, {192, 168, 0, 1}) : IP_All);
    } else {
        f.IP(Off_WiFi_GAT, IP_None);
        f.IP(Off_WiFi_IP2_IP, IP_None);
        f.IP(Off_WiFi_IP2_SM, IP_None);
        f.IP(Off_WiFi_IP2_GAT, IP_None);
    }

    // A name or password longer than its field is cut at the field's end; the window refuses
    // such texts, so only a hand-edited file gets here.
    f.Text(Off_WiFi_SSID, Width_WiFi_SSID, p.Text_UTF16(WiFi_SSID), Width_WiFi_SSID);
    f.Text(Off_WiFi_PWD, Width_WiFi_PWD, p.Text_UTF16(WiFi_PWD), Width_WiFi_PWD);

    if (accessPoint) {
        f.U8(Off_WiFi_Secure_Type, p.Int(WiFi_Secure_Type, 0));
        f.U8(Off_WiFi_EN_DHCP, p.Int(WiFi_EN_DHCP, 0));
        f.U32(Off_WiFi_DHCP_First, IP_As_Number(Read_IP(p, WiFi_DHCP_First_IP1, {192, 168, 0, 200})));
        f.U32(Off_WiFi_DHCP_SM, IP_As_Number(Read_IP(p, WiFi_DHCP_SM1, {255, 255, 255, 0})));
        f.U32(Off_WiFi_Lease_Time, p.Int(WiFi_Lease_Time, 86400));
        f.U8(Off_WiFi_Max_Client, p.Int(WiFi_Max_Client, 10, 9));
        const uint8_t channel = uint8_t(p.Int(WiFi_Channel, 1));
        f.U8(Off_WiFi_Channel, channel);
        f.U8(Off_WiFi_Auto_Channel, channel == 0 ? 1 : 0);
    }

    f.U32(Off_Bank2_Address, Bank2_Base_Address);
}

uint32_t Seal_Bank1(TBank1_Parameter_Block& block)
{
    uint32_t sum = 0;
    for (size_t i = 0; i < Bank1_Checksum_Offset; ++i)
        sum += block.Bytes[i];
    TBank_Writer w(block.Bytes, Bank1_Checksum_Offset);
    w.Put_U32(sum);
    return sum;
}

}  // namespace mqtt_image
