#pragma once
#include "platform/TForm.h"
#include "comm_params/UCategoryPanels.h"
#include "comm_params/UParGenVariants.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <array>
#include <map>
#include <vector>

namespace controls {
class TPicButton;
}
namespace comm_params {
struct TParGen_Check_Input;
}

// Row of four address byte boxes with the dots between them, headed by a label or, for a
// gateway, by the check box that enables it.
struct TByteRow {
    QLabel* Label = nullptr;
    QCheckBox* Check = nullptr;
    std::array<QLineEdit*, 4> Boxes{};
    std::array<QLabel*, 3> Dots{};

    // Puts the row at the given top: the head there, the boxes just above it.
    void Place(int top) const;
    void SetShown(bool shown) const;
    // Enables the boxes and, for a gateway, its check box.
    void SetInputsEnabled(bool enabled) const;
    std::array<QString, 4> Texts() const;
    QWidget* Head() const;
};

// The "Set Communication" window: the gateway's general parameters, kept in ParGen.xml.
class TFParGen : public platform::TForm {
    Q_OBJECT
public:
    explicit TFParGen(QWidget* parent = nullptr,
                      comm_params::TParGenVariant variant = comm_params::ParGen_Product_Variant);

    void Set_Lang() override;

    // Shows the panels of the variant in its order, with numbered captions and tab order.
    void Order_TAB_Panels();
    // Lays out every panel of the variant and applies the device type rule.
    void Move_GroupBoxs();
    void RePosition_Object_Select_Device();
    void RePosition_Object_Ethernet_Connection();
    void RePosition_Object_Modbus_TCP_Slave();
    void RePosition_Object_MQTT();
    void RePosition_Object_Ethernet();
    void RePosition_Object_TLS();
    void RePosition_Object_NTP();
    void RePosition_Object_WiFi2();
    void RePosition_Object_GSM_GPRS();

    // Checks the fields in their fixed order; shows the first failure and answers false.
    bool Controllo_Dati();
    // What the checks look at: the values as they would be written and what the window shows.
    comm_params::TParGen_Check_Input Check_Input() const;
    int Check_Device_Name(const QString& text) const;
    void Btn_OKClick();

    // Reads ParGen.xml into the controls (defaults where it holds nothing usable).
    void Load_ParGen();
    // The 117 values as they are written, in element order.
    std::vector<QString> ParGen_Values() const;
    void Save_ParGen() const;

    // Dot key in an address byte box: moves to the next box of its chain; the dot is never typed.
    // key becomes the null character when it is consumed.
    void KeyPress(QWidget* sender, QChar& key);
    // Scrolls the panels; answers whether the event was theirs (the point lies over the panels).
    bool FormMouseWheel(int wheelDelta, const QPoint& globalPos);
    void FormResize();

    // Number of addresses the Wi-Fi interface carries in this product and who uses them.
    int Check_Device_IP_Address_WiFi(QString& first, QString& second) const;

    comm_params::TParGenVariant Variant() const { return FVariant; }
    comm_params::TCategoryPanel* Panel(comm_params::TParGenPanel panel) const
    {
        return FPanels[static_cast<size_t>(panel)];
    }

    // Frame
    QWidget* P_Title;
    QLabel* L_SW_Code;
    QLabel* L_SW_Desc;
    QWidget* P_Buttons;
    controls::TPicButton* Btn_OK;
    controls::TPicButton* Btn_Cancel;
    comm_params::TCategoryPanelGroup* CPG;

    comm_params::TCategoryPanel* CP_Select_Device;
    comm_params::TCategoryPanel* CP_Ethernet_Connection;
    comm_params::TCategoryPanel* CP_Modbus_TCP_Slave;
    comm_params::TCategoryPanel* CP_MQTT;
    comm_params::TCategoryPanel* CP_Ethernet;
    comm_params::TCategoryPanel* CP_TLS;
    comm_params::TCategoryPanel* CP_NTP;
    comm_params::TCategoryPanel* CP_WiFi2;
    comm_params::TCategoryPanel* CP_GSM_GPRS;

    // Select Device
    QLabel* L_Select_Device_Device;
    QComboBox* CB_Select_Device_Device;

    // Ethernet Connection
    QLabel* L_EthConn_Device_Name;
    QLineEdit* E_EthConn_Device_Name;
    QCheckBox* CB_EthConn_En_DHCP_Cable;
    QCheckBox* CB_EthConn_En_DHCP_WiFi;
    QCheckBox* CB_EthConn_Enable_DNS;
    TByteRow EthConn_Primary_DNS;    // L_EthConn_Primary_DNS, E_EthConn_Pri_DNS_IP1..4
    TByteRow EthConn_Secondary_DNS;  // L_EthConn_Secondary_DNS, E_EthConn_Sec_DNS_IP1..4

    // Modbus TCP Slave
    TByteRow ModbusTCPSlave_IP;   // L_ModbusTCPSlave_IP, E_ModbusTCPSlave_IP1..4
    TByteRow ModbusTCPSlave_SM;   // L_ModbusTCPSlave_SM, E_ModbusTCPSlave_SM1..4
    TByteRow ModbusTCPSlave_GAT;  // CB_ModbusTCPSlave_En_GAT, E_ModbusTCPSlave_GAT1..4
    QLabel* L_ModbusTCPSlave_Port;
    QLineEdit* E_ModbusTCPSlave_Port;

    // MQTT
    QLabel* L_MQTT_Server;
    QLineEdit* E_MQTT_Server;
    QLabel* L_MQTT_Server_Port;
    QLineEdit* E_MQTT_Server_Port;
    QLabel* L_MQTT_Client_ID;
    QLineEdit* E_MQTT_Client_ID;
    QLabel* L_MQTT_Keep_Alive;
    QLineEdit* E_MQTT_Keep_Alive;
    QCheckBox* CB_MQTT_Clean_Session;
    QCheckBox* CB_MQTT_WillFlag;
    QLabel* L_MQTT_Will_TopicName;
    QLineEdit* E_MQTT_Will_TopicName;
    QLabel* L_MQTT_Will_Message;
    QLineEdit* E_MQTT_Will_Message;
    QCheckBox* CB_MQTT_Will_Retained;
    QLabel* L_MQTT_Will_QoS;
    QComboBox* CB_MQTT_Will_QoS;
    QCheckBox* CB_MQTT_PublishTopicConnection;
    QLabel* L_MQTT_Connection_TopicName;
    QLineEdit* E_MQTT_Connection_TopicName;
    QLabel* L_MQTT_Connection_Message;
    QLineEdit* E_MQTT_Connection_Message;
    QCheckBox* CB_MQTT_Connection_Retained;
    QLabel* L_MQTT_Username;
    QLineEdit* E_MQTT_Username;
    QLabel* L_MQTT_Password;
    QPlainTextEdit* E_MQTT_Password;
    QLabel* L_MQTT_ASync_Send_Time;
    QLineEdit* E_MQTT_ASync_Send_Time;
    QLabel* L_MQTT_TopicDALIAns;
    QLineEdit* E_MQTT_TopicDALIAns;
    QCheckBox* CB_MQTT_Enable_ReProgram;
    QLabel* L_MQTT_Reprogram_Topic;
    QLineEdit* E_MQTT_Reprogram_Topic;
    QLabel* L_MQTT_Reproram_Value;
    QLineEdit* E_MQTT_Reproram_Value;

    // Ethernet
    TByteRow Ethernet_IP;   // L_Ethernet_IP, E_Ethernet_IP1..4
    TByteRow Ethernet_SM;   // L_Ethernet_SM, E_Ethernet_SM1..4
    TByteRow Ethernet_GAT;  // CB_Ethernet_En_GAT, E_Ethernet_GAT1..4
    QLabel* L_Ethernet_TCP_Port;
    QLineEdit* E_Ethernet_TCP_Port;
    QLabel* L_Ethernet_UDP_Port;
    QLineEdit* E_Ethernet_UDP_Port;
    QCheckBox* CB_Ethernet_Reset_24h;
    TByteRow Ethernet_DNS;  // CB_Ethernet_En_DNS, E_Ethernet_DNS1..4

    // TLS
    QCheckBox* CB_TLS_Enable;
    QCheckBox* CB_TLS_En_Server_Auth;
    QLabel* L_TLS_Server_Cert;
    QPlainTextEdit* E_TLS_Server_Cert;
    QCheckBox* CB_TLS_En_Client_Auth;
    QLabel* L_TLS_Client_Cert;
    QPlainTextEdit* E_TLS_Client_Cert;
    QLabel* L_TLS_Client_Cert_Key;
    QPlainTextEdit* E_TLS_Client_Cert_Key;
    QLabel* L_TLS_Client_Cert_Key_Pass;
    QLineEdit* E_TLS_Client_Cert_Key_Pass;

    // NTP
    QLabel* L_NTP_Server_URL;
    QLineEdit* E_NTP_Server_URL;
    QLabel* L_NTP_Poll_Time;
    QLineEdit* E_NTP_Poll_Time;

    // Wi-Fi
    QLabel* L_WiFi2_Type;
    QComboBox* CB_WiFi2_Type;
    QLabel* L_WiFi2_IP1;        // header of the first address in station mode
    TByteRow WiFi2_IP1_IP;      // L_WiFi2_IP1_IP, E_WiFi2_IP1_IP1..4
    TByteRow WiFi2_IP1_SM;      // L_WiFi2_IP1_SM, E_WiFi2_IP1_SM1..4
    TByteRow WiFi2_IP1_GAT;     // CB_WiFi2_IP1_En_GAT, E_WiFi2_IP1_GAT1..4
    QLabel* L_WiFi2_IP2;        // header of the second address
    TByteRow WiFi2_IP2_IP;      // L_WiFi2_IP2_IP, E_WiFi2_IP2_IP1..4
    TByteRow WiFi2_IP2_SM;      // L_WiFi2_IP2_SM, E_WiFi2_IP2_SM1..4
    TByteRow WiFi2_IP2_GAT;     // CB_WiFi2_IP2_En_GAT, E_WiFi2_IP2_GAT1..4
    QLabel* L_WiFi2_SSID;
    QLineEdit* E_WiFi2_SSID;
    QLabel* L_WiFi2_Password;
    QLineEdit* E_WiFi2_Password;
    QLabel* L_WiFi2_Secure_Type;
    QComboBox* CB_WiFi2_Secure_Type;
    QCheckBox* CB_WiFi2_En_DHCP;
    TByteRow WiFi2_DHCP_First;  // L_WiFi2_DHCP_First_IP, E_WiFi2_DHCP_First_IP1..4
    TByteRow WiFi2_DHCP_SM;     // L_WiFi2_DHCP_SM, E_WiFi2_DHCP_SM1..4
    QLabel* L_WiFi2_Lease_Time;
    QLineEdit* E_WiFi2_Lease_Time;
    QLabel* L_WiFi2_Max_Client;
    QComboBox* CB_WiFi2_Max_Client;
    QLabel* L_WiFi2_Channel;
    QComboBox* CB_WiFi2_Channel;

    // GSM / GPRS / LTE
    QLabel* L_GSM_GPRS_PIN;
    QLineEdit* E_GSM_GPRS_PIN;
    QLabel* L_GSM_GPRS_APN;
    QLineEdit* E_GSM_GPRS_APN;
    QLabel* L_GSM_GPRS_AuthType;
    QComboBox* CB_GSM_GPRS_AuthType;
    QLabel* L_GSM_GPRS_UserName;
    QLineEdit* E_GSM_GPRS_UserName;
    QLabel* L_GSM_GPRS_Password;
    QLineEdit* E_GSM_GPRS_Password;

protected:
    void FormShow() override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void Create_Frame();
    void Create_Panels();
    // The fields of the window's field table: created in its order, bound to their elements,
    // given their texts.
    void Create_Fields();
    void Bind_Fields();
    void Field_Texts();
    void Bind_Elements();
    void Build_Dot_Chains();
    void Connect_Triggers();

    void On_Change(QObject* sender);
    void On_Click(QObject* sender);
    void CP_Expand();
    void Apply_Device_Type_Rule();
    // Height rule: the panel ends 12 pixels below its last visible control.
    void Fit_Panel(comm_params::TCategoryPanel* panel, const QWidget* last) const;
    void Fit_To_Contents(comm_params::TCategoryPanel* panel) const;
    void Panel_Relayout(comm_params::TParGenPanel panel);
    // Lays a panel out from the field table: its shown rows one under the other from the first
    // row, the others hidden, locked byte rows disabled; then fits the panel to its last row.
    void Flow_Panel(comm_params::TParGenPanel panel);
    void Set_Defaults(bool fileMissing);
    void Set_Element(int element, const QString& text);
    QString Element_Value(int element) const;

    comm_params::TParGenVariant FVariant;
    std::array<comm_params::TCategoryPanel*, comm_params::ParGen_Panel_Count> FPanels{};
    std::vector<QWidget*> FBound;  // the control of each element, in element order
    std::vector<QLineEdit*> FByteBoxes;
    std::map<QLineEdit*, QLineEdit*> FNextBox;
    // Text each multi-line box was loaded with and the text it showed then: such a box turns a
    // carriage return into a line feed, so an unedited box gives back what was read.
    std::map<const QPlainTextEdit*, std::pair<QString, QString>> FMemoLoaded;
    bool FUpdating = false;
    bool FInRelayout = false;
};

TFParGen* FParGen();
