#include "comm_params/UParGenCheck.h"
#include "shell/ULanguage.h"
#include "shell/UParGenFile.h"

#include <functional>
#include <gtest/gtest.h>

using namespace comm_params;
using shell::Lang;
using enum shell::TParGen_Id;

namespace {

// A new configuration as the window holds it once the poll time, which no default fills, is typed.
TParGen_Check_Input Valid_Input()
{
    TParGen_Check_Input in;
    for (int i = 0; i < shell::ParGen_Element_Count; ++i)
        in.Values[size_t(i)] = shell::ParGen_Default(i, true);
    in[NTP_Poll_Time] = QStringLiteral("0");
    return in;
}

class ParGenCheck : public ::testing::Test {
protected:
    void SetUp() override { shell::Load_Default_Language(); }
};

}  // namespace

TEST_F(ParGenCheck, RangesCountNonNumbersAsMinusOne)
{
    EXPECT_TRUE(In_Range(QStringLiteral("0"), 0, 255));
    EXPECT_TRUE(In_Range(QStringLiteral("$FF"), 0, 255));
    EXPECT_FALSE(In_Range(QStringLiteral("256"), 0, 255));
    EXPECT_FALSE(In_Range(QString(), 0, 255));
    EXPECT_TRUE(In_Range(QString(), -1, 0));  // an empty text reads as -1
    EXPECT_TRUE(In_Range(QStringLiteral("4294967295"), 0, 4294967295LL));
    EXPECT_FALSE(In_Range(QStringLiteral("4294967296"), 0, 4294967295LL));

    EXPECT_EQ(First_Bad_Byte({QStringLiteral("192"), QStringLiteral("168"), QStringLiteral("0"), QStringLiteral("1")}),
              -1);
    EXPECT_EQ(First_Bad_Byte({QStringLiteral("192"), QStringLiteral("x"), QStringLiteral("300"), QStringLiteral("1")}),
              1);
    EXPECT_EQ(First_Bad_Byte({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QString()}), 3);
}

TEST_F(ParGenCheck, DeviceNameAllowsOnlyAsciiLettersAndDigits)
{
    EXPECT_EQ(Check_Device_Name(QString()), 0);
    EXPECT_EQ(Check_Device_Name(QStringLiteral("Gateway01")), 0);
    for (const char* bad : {"gate-way", "gate way", "gate_way", "caf\xC3\xA9"})
        EXPECT_EQ(Check_Device_Name(QString::fromUtf8(bad)), 1) << bad;
}

TEST_F(ParGenCheck, ModemTextCarriesAllFiveFields)
{
    EXPECT_EQ(shell::Modem_Text(QStringLiteral("1234"), QStringLiteral("web"), QStringLiteral("PAP or CHAP"),
                                QStringLiteral("u"), QStringLiteral("p")),
              QStringLiteral("PIN=1234\r\nAPN=web\r\nAUTHTYPE=3\r\nUSERNAME=u\r\nPASSWORD=p\r\n"));
    const std::vector<std::pair<const char*, const char*>> codes = {
        {"None", "0"}, {"pap", "1"}, {"CHAP", "2"}, {"Pap Or Chap", "3"}, {"other", "0"}, {"", "0"}, {"PAP ", "0"}};
    for (const auto& [item, code] : codes)
        EXPECT_EQ(shell::GSM_Auth_Type_Code(QLatin1String(item)), QLatin1String(code)) << item;
}

TEST_F(ParGenCheck, EveryListElementBelongsToThePanelItsNameNames)
{
    const std::vector<std::pair<shell::TParGen_Id, TParGenPanel>> cases = {
        {Select_Device, TParGenPanel::Select_Device},   {Eth_Conn_Device_Name, TParGenPanel::Ethernet_Connection},
        {MQTT_Will_QoS, TParGenPanel::MQTT},            {Ethernet_EN_GAT, TParGenPanel::Ethernet},
        {WiFi_Channel, TParGenPanel::WiFi2},            {TLS_Enable, TParGenPanel::TLS},
        {NTP_Poll_Time, TParGenPanel::NTP},             {Modbus_TCP_Slave_Port, TParGenPanel::Modbus_TCP_Slave},
        {GSM_GPRS_AUTHTYPE, TParGenPanel::GSM_GPRS}};
    for (const auto& [element, panel] : cases)
        EXPECT_EQ(ParGen_Element_Panel(element), panel) << shell::ParGen_Element(element).Name;
    for (int i = 0; i < shell::ParGen_Element_Count; ++i)
        EXPECT_NE(ParGen_Element_Panel(shell::TParGen_Id(i)), TParGenPanel::Count) << i;
}

// The checks on values alone, as the window hands them over.
TEST_F(ParGenCheck, FirstFailingCheckGivesTheMessage)
{
    struct Case {
        const char* Name;
        std::function<void(TParGen_Check_Input&)> Edit;
        std::function<QString()> Expected;  // null: every check passes
    };
    auto text = [](int index) { return [index] { return Lang(index); }; };
    const std::vector<Case> cases = {
        {"defaults", [](auto&) {}, nullptr},
        {"no poll time", [](auto& in) { in[NTP_Poll_Time].clear(); }, text(618)},
        {"address before DNS while DNS is off",
         [](auto& in) {
             in[Ethernet_IP1] = "256";
             in[Eth_Conn_Primary_DNS1] = "300";
         },
         text(576)},
        {"DNS first once it is on",
         [](auto& in) {
             in[Ethernet_IP1] = "256";
             in[Eth_Conn_Primary_DNS1] = "300";
             in[Eth_Conn_Enable_DNS] = "1";
         },
         text(5179)},
        {"secondary DNS byte 4",
         [](auto& in) {
             in[Eth_Conn_Enable_DNS] = "1";
             in[Eth_Conn_Secondary_DNS4] = "x";
         },
         text(5186)},
        {"hidden reprogramming value is not checked", [](auto& in) { in[MQTT_Reprogram_Value] = "999"; }, nullptr},
        {"shown reprogramming value",
         [](auto& in) {
             in.Reprogram_Value_Shown = true;
             in[MQTT_Reprogram_Value] = "256";
         },
         text(4242)},
        {"Ethernet DNS row of other variants only when shown and on",
         [](auto& in) {
             in.Ethernet_DNS = {"1", "2", "3", "256"};
             in.Ethernet_DNS_Checked = true;
         },
         nullptr},
        {"Ethernet DNS row shown and on",
         [](auto& in) {
             in.Ethernet_DNS = {"1", "2", "3", "256"};
             in.Ethernet_DNS_Checked = true;
             in.Ethernet_DNS_Shown = true;
         },
         text(591)},
        {"access point address checked whatever is shown", [](auto& in) { in[WiFi_SM3] = "-1"; }, text(5193)},
        {"station address not editable", [](auto& in) {
             in[WiFi_Type] = "1";
             in[WiFi_IP1] = "300";
             in[WiFi_IP2_IP1] = "300";
         },
         nullptr},
        {"station second address editable",
         [](auto& in) {
             in[WiFi_Type] = "1";
             in[WiFi_IP1] = "300";
             in[WiFi_IP2_GAT2] = "300";
             in[WiFi_IP2_EN_Gateway] = "1";
             in.WiFi_IP2_Editable = true;
         },
         text(5229)},
        {"lease time 0 with the DHCP server",
         [](auto& in) {
             in[WiFi_EN_DHCP] = "1";
             in[WiFi_Lease_Time] = "0";
         },
         text(5207)},
        {"port 10000", [](auto& in) { in[Modbus_TCP_Slave_Port] = "10000"; }, text(1823)},
        {"port 10000 in hexadecimal", [](auto& in) { in[Modbus_TCP_Slave_Port] = "$2710"; }, text(1823)},
        {"whole modem text one below the field's size",
         [](auto& in) {
             in[GSM_GPRS_PIN] = "12345678";
             in[GSM_GPRS_APN] = QString(457, 'a');
         },
         nullptr},
        {"PIN and APN beyond 512",
         [](auto& in) {
             in[GSM_GPRS_PIN] = "12345678";
             in[GSM_GPRS_APN] = QString(493, 'a');
         },
         text(4155)},
        {"whole modem text at the field's size",
         [](auto& in) {
             in[GSM_GPRS_PIN] = "12345678";
             in[GSM_GPRS_APN] = QString(458, 'a');
         },
         Msg_Modem_Text_Length},
        {"list without selection", [](auto& in) { in[WiFi_Secure_Type] = "-1"; },
         [] { return Msg_No_Item_Selected(Lang(478), QStringLiteral("Security")); }},
        {"authentication type without selection", [](auto& in) { in[GSM_GPRS_AUTHTYPE].clear(); },
         [] { return Msg_No_Item_Selected(Lang(ParGen_Panel_Text(TParGenPanel::GSM_GPRS)), QString()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TParGen_Check_Input in = Valid_Input();
        in.List_Captions[WiFi_Secure_Type] = QStringLiteral("Security");
        c.Edit(in);
        const std::optional<QString> fault = Check_ParGen(in);
        if (!c.Expected) {
            EXPECT_EQ(fault, std::nullopt) << fault->toStdString();
        } else {
            const QString expected = c.Expected();
            // A text missing from the table would make every message empty and alike.
            ASSERT_FALSE(expected.isEmpty());
            EXPECT_EQ(fault, expected);
        }
    }
}
