#include "platform/Dialogs.h"
#include "platform/PlainText.h"
#include "controls/buttons_pages/PicButton.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "comm_params/UParGen.h"
#include "comm_params/UParGenCheck.h"
#include "shell/UParGenFile.h"

#include "support/TestData.h"

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <array>
#include <functional>
#include <map>
#include <gtest/gtest.h>
#include <memory>

using namespace comm_params;
using namespace shell;
using shell::Lang;

namespace {

// Own visibility of a control, whatever its panel shows.
bool shown(const QWidget* w) { return w->isVisibleTo(w->parentWidget()); }

class ParGenWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        shell::Load_Default_Language();
        shell::App_State.File_ParGen = Dir.File(QStringLiteral("ParGen.xml"));
        Form = std::make_unique<TFParGen>();
    }
    void TearDown() override { shell::App_State = {}; }

    bool FileWritten() const { return QFile::exists(shell::App_State.File_ParGen); }
    QByteArray FileBytes() const { return Dir.Read(QStringLiteral("ParGen.xml")); }

    // A file holding the defaults with some elements replaced or left out.
    void WriteFile(const std::map<QString, std::optional<QString>>& changes)
    {
        QByteArray xml = "<Par_Gen>";
        for (int i = 0; i < ParGen_Element_Count; ++i) {
            const QString name = QLatin1String(ParGen_Elements()[static_cast<size_t>(i)].Name);
            std::optional<QString> value = ParGen_Default(i, false);
            if (auto it = changes.find(name); it != changes.end())
                value = it->second;
            if (value)
                xml += "<" + name.toUtf8() + ">" + value->toHtmlEscaped().toUtf8() + "</" + name.toUtf8() + ">";
        }
        xml += "</Par_Gen>";
        Dir.Write(QStringLiteral("ParGen.xml"), xml);
    }

    // Defaults loaded and the one field that no new configuration fills.
    void LoadValidDefaults()
    {
        Form->Load_ParGen();
        Form->E_NTP_Poll_Time->setText(QStringLiteral("0"));
    }

    TempDir Dir;
    ScriptedMessages Msgs;
    std::unique_ptr<TFParGen> Form;
};

// ---------------------------------------------------------------------------------------------
// File

TEST_F(ParGenWindow, NewConfigurationShowsDefaultsAndOkWritesTheWholeFile)
{
    Form->Load_ParGen();
    EXPECT_EQ(Form->E_MQTT_ASync_Send_Time->text(), QStringLiteral("10"));
    EXPECT_EQ(Form->CB_WiFi2_Channel->currentText(), QStringLiteral("1"));
    EXPECT_EQ(Form->Ethernet_IP.Boxes[3]->text(), QStringLiteral("10"));
    EXPECT_EQ(Form->CB_GSM_GPRS_AuthType->currentText(), QStringLiteral("None"));
    EXPECT_EQ(Form->E_MQTT_Server_Port->text(), QStringLiteral("1883"));

    // The empty poll time is refused.
    Form->Btn_OKClick();
    EXPECT_EQ(Msgs.LastText(), Lang(618));
    EXPECT_EQ(Msgs.Shown().back().Type, platform::TMsgDlgType::mtError);
    EXPECT_FALSE(FileWritten());
    EXPECT_EQ(Form->ModalResult(), platform::mrNone);

    Form->E_NTP_Poll_Time->setText(QStringLiteral("0"));
    Form->Btn_OKClick();
    EXPECT_EQ(Form->ModalResult(), platform::mrOk);
    const QByteArray expected = ReadTestData("ParGen_new.xml");
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(FileBytes(), expected);
}

TEST_F(ParGenWindow, ReadBackFollowsEachEncoding)
{
    WriteFile({{QStringLiteral("MQTT_ASync_Send_Time"), std::nullopt},
               {QStringLiteral("Ethernet_EN_GAT"), QStringLiteral("01")},
               {QStringLiteral("Modbus_TCP_Slave_EN_GAT"), QStringLiteral("1")},
               {QStringLiteral("WiFi_EN_Gateway"), QStringLiteral("01")},
               {QStringLiteral("TLS_Enable"), QStringLiteral("word")},
               {QStringLiteral("WiFi_IP2_EN_Gateway"), QStringLiteral("$1")},
               {QStringLiteral("GSM_GPRS_AUTHTYPE"), QStringLiteral("pap")},
               {QStringLiteral("MQTT_Will_QoS"), QStringLiteral("2")},
               {QStringLiteral("WiFi_Channel"), QStringLiteral("x")},
               {QStringLiteral("Select_Device"), QStringLiteral("1")},
               {QStringLiteral("Eth_Conn_Device_Name"), QStringLiteral("a name longer than the thirty-one typed")}});
    Form->Load_ParGen();
    EXPECT_EQ(Form->E_MQTT_ASync_Send_Time->text(), QString());  // missing element: empty, not "10"
    EXPECT_FALSE(Form->Ethernet_GAT.Check->isChecked());
    EXPECT_TRUE(Form->ModbusTCPSlave_GAT.Check->isChecked());
    EXPECT_TRUE(Form->WiFi2_IP1_GAT.Check->isChecked());
    EXPECT_TRUE(Form->WiFi2_IP2_GAT.Check->isChecked());
    EXPECT_FALSE(Form->CB_TLS_Enable->isChecked());
    EXPECT_EQ(Form->CB_GSM_GPRS_AuthType->currentText(), QStringLiteral("PAP"));
    EXPECT_EQ(Form->CB_MQTT_Will_QoS->currentIndex(), 2);
    EXPECT_EQ(Form->CB_WiFi2_Channel->currentIndex(), 1);
    EXPECT_EQ(Form->CB_Select_Device_Device->currentIndex(), 1);
    // The box limits typing only: a longer stored name is kept whole.
    EXPECT_EQ(Form->E_EthConn_Device_Name->text(), QStringLiteral("a name longer than the thirty-one typed"));

    WriteFile({{QStringLiteral("GSM_GPRS_AUTHTYPE"), QStringLiteral("PAP/CHAP")}});
    Form->Load_ParGen();
    EXPECT_EQ(Form->CB_GSM_GPRS_AuthType->currentText(), QStringLiteral("None"));
}

TEST_F(ParGenWindow, ListPositionOutsideTheListTakesTheDefaultAndIsNeverWrittenAsMinusOne)
{
    WriteFile({{QStringLiteral("WiFi_Type"), QStringLiteral("7")},
               {QStringLiteral("WiFi_Channel"), QStringLiteral("12")},
               {QStringLiteral("WiFi_Max_Client"), QStringLiteral("-1")},
               {QStringLiteral("Select_Device"), QStringLiteral("3")},
               {QStringLiteral("NTP_Poll_Time"), QStringLiteral("60")}});
    Form->Load_ParGen();
    EXPECT_EQ(Form->CB_WiFi2_Type->currentIndex(), 0);
    EXPECT_EQ(Form->CB_WiFi2_Channel->currentIndex(), 1);
    EXPECT_EQ(Form->CB_WiFi2_Max_Client->currentIndex(), 0);
    EXPECT_EQ(Form->CB_Select_Device_Device->currentIndex(), 0);

    Form->Btn_OKClick();
    ASSERT_EQ(Form->ModalResult(), platform::mrOk) << Msgs.LastText().toStdString();
    const TParGenTexts back = ParGen_Read_File(shell::App_State.File_ParGen);
    for (const char* name : {"WiFi_Type", "WiFi_Channel", "WiFi_Max_Client", "Select_Device"})
        EXPECT_NE(*back[static_cast<size_t>(ParGen_Element_Index(name))], QStringLiteral("-1"))
            << name;
}

TEST_F(ParGenWindow, MalformedFileShowsAMessageAndStartsFromTheDefaults)
{
    WriteFile({{QStringLiteral("Ethernet_IP1"), QStringLiteral("10")},
               {QStringLiteral("WiFi_SSID"), QStringLiteral("home")},
               {QStringLiteral("TLS_Enable"), QStringLiteral("1")}});
    Form->Load_ParGen();
    ASSERT_EQ(Form->Ethernet_IP.Boxes[0]->text(), QStringLiteral("10"));
    ASSERT_TRUE(Msgs.Shown().empty());

    Dir.Write(QStringLiteral("ParGen.xml"), "<Par_Gen><Ethernet_IP1>77</Ethernet_IP1>");
    Form->Load_ParGen();
    ASSERT_EQ(Msgs.Shown().size(), 1u);
    EXPECT_TRUE(Msgs.LastText().contains(QStringLiteral("ParGen.xml")));
    EXPECT_TRUE(Msgs.LastText().contains(QStringLiteral("\"ParGen.xml.damaged\""))) << Msgs.LastText().toStdString();
    EXPECT_EQ(Form->Ethernet_IP.Boxes[0]->text(), QStringLiteral("192"));
    EXPECT_EQ(Form->E_WiFi2_SSID->text(), QString());
    EXPECT_FALSE(Form->CB_TLS_Enable->isChecked());
    EXPECT_EQ(Form->E_MQTT_ASync_Send_Time->text(), QStringLiteral("10"));
    // The window still works: OK replaces the broken file.
    Form->E_NTP_Poll_Time->setText(QStringLiteral("1"));
    Form->Btn_OKClick();
    EXPECT_EQ(Form->ModalResult(), platform::mrOk);
    EXPECT_NO_THROW(ParGen_Read_File(shell::App_State.File_ParGen));
    EXPECT_EQ(Dir.Read(QStringLiteral("ParGen.xml.damaged")), QByteArray("<Par_Gen><Ethernet_IP1>77</Ethernet_IP1>"));
}

TEST_F(ParGenWindow, AnotherConfigurationWithoutFileKeepsNothingOfTheFirst)
{
    WriteFile({{QStringLiteral("MQTT_Server_URL"), QStringLiteral("broker.example")},
               {QStringLiteral("WiFi_Type"), QStringLiteral("1")},
               {QStringLiteral("MQTT_WillFlag"), QStringLiteral("1")}});
    Form->Load_ParGen();
    ASSERT_EQ(Form->E_MQTT_Server->text(), QStringLiteral("broker.example"));

    TempDir other;
    shell::App_State.File_ParGen = other.File(QStringLiteral("ParGen.xml"));
    Form->Load_ParGen();
    EXPECT_EQ(Form->E_MQTT_Server->text(), QString());
    EXPECT_EQ(Form->CB_WiFi2_Type->currentIndex(), 0);
    EXPECT_FALSE(Form->CB_MQTT_WillFlag->isChecked());
    EXPECT_TRUE(Msgs.Shown().empty());
}

TEST_F(ParGenWindow, EveryElementReadAndWrittenAgainGivesTheSameBytes)
{
    // Values away from every default, each valid for its control.
    std::vector<QString> values;
    for (int i = 0; i < ParGen_Element_Count; ++i) {
        const TParGenElement& e = ParGen_Elements()[static_cast<size_t>(i)];
        switch (e.Encoding) {
        case TParGenEncoding::Text:
            values.push_back(QStringLiteral("v%1 <&> \"ü\" ").arg(i));
            break;
        case TParGenEncoding::Check:
        case TParGenEncoding::CheckNumber: values.push_back(QStringLiteral("1")); break;
        case TParGenEncoding::Index: values.push_back(QString::number(i % 2 ? 1 : 2)); break;
        case TParGenEncoding::ItemText: values.push_back(QStringLiteral("CHAP")); break;
        }
    }
    for (const char* multiLine : {"MQTT_Password", "TLS_Server_Auth_Certificate", "TLS_Client_Auth_Certificate",
                                  "TLS_Client_Auth_Key"})
        values[static_cast<size_t>(ParGen_Element_Index(multiLine))] =
            QStringLiteral("-----BEGIN-----\nAbC=\n\n-----END-----\n");
    values[static_cast<size_t>(ParGen_Element_Index(QStringLiteral("WiFi_Type")))] = QStringLiteral("1");

    ParGen_Write_File(shell::App_State.File_ParGen, values);
    const QByteArray original = FileBytes();
    Form->Load_ParGen();
    const std::vector<QString> read = Form->ParGen_Values();
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(read[i], values[i]) << ParGen_Elements()[i].Name;
    Form->Save_ParGen();
    EXPECT_EQ(FileBytes(), original);

    // And a second show of the same file changes nothing either.
    Form->Load_ParGen();
    Form->Save_ParGen();
    EXPECT_EQ(FileBytes(), original);
}

TEST_F(ParGenWindow, MultiLineBoxesGiveBackTheirTextUnlessEdited)
{
    // A multi-line box shows a carriage return or a line separator as a line feed.
    const QString cert = QStringLiteral("-----BEGIN-----\r\nAbC=\r\n-----END-----\r\n");
    const QString password = QStringLiteral("one") + QChar(0x2028) + QStringLiteral("two\rthree");
    std::vector<QString> values;
    for (int i = 0; i < ParGen_Element_Count; ++i)
        values.push_back(ParGen_Default(i, false));
    const auto at = [](const char* name) { return static_cast<size_t>(ParGen_Element_Index(name)); };
    values[at("TLS_Server_Auth_Certificate")] = cert;
    values[at("TLS_Client_Auth_Key")] = cert;
    values[at("MQTT_Password")] = password;
    ParGen_Write_File(shell::App_State.File_ParGen, values);
    const QByteArray original = FileBytes();

    Form->Load_ParGen();
    EXPECT_EQ(Form->ParGen_Values(), values);
    Form->Save_ParGen();
    EXPECT_EQ(FileBytes(), original);

    // An edited box gives what it shows.
    Form->E_TLS_Client_Cert_Key->setPlainText(QStringLiteral("new\nkey"));
    EXPECT_EQ(Form->ParGen_Values()[at("TLS_Client_Auth_Key")], QStringLiteral("new\nkey"));
    EXPECT_EQ(Form->ParGen_Values()[at("TLS_Server_Auth_Certificate")], cert);

    // Nothing of this file is given back once another configuration is shown.
    TempDir other;
    shell::App_State.File_ParGen = other.File(QStringLiteral("ParGen.xml"));
    Form->Load_ParGen();
    EXPECT_EQ(Form->ParGen_Values()[at("TLS_Server_Auth_Certificate")], QString());
    EXPECT_EQ(Form->ParGen_Values()[at("MQTT_Password")], QString());
}

TEST_F(ParGenWindow, LongSingleLineValuesAreKeptWhole)
{
    const QString longUrl = QString(40000, QLatin1Char('u'));
    std::vector<QString> values;
    for (int i = 0; i < ParGen_Element_Count; ++i)
        values.push_back(ParGen_Default(i, false));
    values[static_cast<size_t>(ParGen_Element_Index("MQTT_Server_URL"))] = longUrl;
    ParGen_Write_File(shell::App_State.File_ParGen, values);
    const QByteArray original = FileBytes();
    Form->Load_ParGen();
    EXPECT_EQ(Form->E_MQTT_Server->text(), longUrl);
    Form->Save_ParGen();
    EXPECT_EQ(FileBytes(), original);
}

TEST_F(ParGenWindow, CancelWritesNothing)
{
    WriteFile({{QStringLiteral("MQTT_Server_URL"), QStringLiteral("kept")}});
    const QByteArray before = FileBytes();
    QTimer::singleShot(0, Form.get(), [this] {
        Form->E_MQTT_Server->setText(QStringLiteral("changed"));
        Form->E_NTP_Poll_Time->setText(QStringLiteral("5"));
        Form->Btn_Cancel->Click();
    });
    EXPECT_EQ(Form->ShowModal(), platform::mrCancel);
    EXPECT_EQ(FileBytes(), before);

    // The next show reads the file again.
    QTimer::singleShot(0, Form.get(), [this] {
        EXPECT_EQ(Form->E_MQTT_Server->text(), QStringLiteral("kept"));
        Form->E_NTP_Poll_Time->setText(QStringLiteral("5"));
        Form->Btn_OK->Click();
    });
    EXPECT_EQ(Form->ShowModal(), platform::mrOk);
    EXPECT_EQ(ParGen_Read_File(shell::App_State.File_ParGen)[97], QStringLiteral("5"));
}

// Escape in a field does not close the window: what was typed stays until OK or Cancel.
TEST_F(ParGenWindow, EscapeKeepsTheWindowAndItsEdits)
{
    bool stillOpen = false;
    QString typed;
    QTimer::singleShot(0, Form.get(), [&] {
        QApplication::setActiveWindow(Form.get());
        QTest::mouseClick(Form->E_MQTT_Server, Qt::LeftButton);
        QTest::keyClick(Form->E_MQTT_Server, Qt::Key_End);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("-typed"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        stillOpen = Form->isVisible();
        typed = Form->E_MQTT_Server->text();
        Form->Btn_Cancel->Click();
    });
    EXPECT_EQ(Form->ShowModal(), platform::mrCancel);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(typed.endsWith(QStringLiteral("-typed"))) << typed.toStdString();
    EXPECT_FALSE(FileWritten());
}

TEST_F(ParGenWindow, FailedSaveIsReportedAndTheWindowStaysOpen)
{
    shell::App_State.File_ParGen = Dir.File(QStringLiteral("missing-folder/ParGen.xml"));
    LoadValidDefaults();
    Form->Btn_OK->Click();
    ASSERT_EQ(Msgs.Shown().size(), 1u);
    EXPECT_TRUE(Msgs.LastText().contains(QStringLiteral("ParGen.xml")));
    EXPECT_EQ(Form->ModalResult(), platform::mrNone);
}

// ---------------------------------------------------------------------------------------------
// Validation

struct ValidationCase {
    const char* Name;
    std::function<void(TFParGen&)> Edit;
    std::function<QString()> Expected;  // null: OK passes
};

const std::function<QString()> none;
std::function<QString()> text(int index) { return [index] { return Lang(index); }; }

TEST_F(ParGenWindow, ValidationStopsAtTheFirstFailureWithItsText)
{
    const std::vector<ValidationCase> cases = {
        {"defaults pass", [](TFParGen&) {}, none},
        {"port 10000", [](TFParGen& f) { f.E_ModbusTCPSlave_Port->setText("10000"); }, text(1823)},
        {"port 9999", [](TFParGen& f) { f.E_ModbusTCPSlave_Port->setText("9999"); }, none},
        {"port 0", [](TFParGen& f) { f.E_ModbusTCPSlave_Port->setText("0"); }, none},
        {"port 65536", [](TFParGen& f) { f.E_ModbusTCPSlave_Port->setText("65536"); }, text(1823)},
        {"port empty", [](TFParGen& f) { f.E_ModbusTCPSlave_Port->setText(""); }, text(1823)},
        {"lease 0 with DHCP server",
         [](TFParGen& f) {
             f.CB_WiFi2_En_DHCP->setChecked(true);
             f.E_WiFi2_Lease_Time->setText("0");
         },
         text(5207)},
        {"lease 0 without DHCP server", [](TFParGen& f) { f.E_WiFi2_Lease_Time->setText("0"); }, none},
        {"lease 99999999",
         [](TFParGen& f) {
             f.CB_WiFi2_En_DHCP->setChecked(true);
             f.E_WiFi2_Lease_Time->setText("99999999");
         },
         none},
        {"lease 100000000",
         [](TFParGen& f) {
             f.CB_WiFi2_En_DHCP->setChecked(true);
             f.E_WiFi2_Lease_Time->setText("100000000");
         },
         text(5207)},
        {"DHCP mask byte 2",
         [](TFParGen& f) {
             f.CB_WiFi2_En_DHCP->setChecked(true);
             f.WiFi2_DHCP_SM.Boxes[1]->setText("256");
         },
         text(5204)},
        {"poll 10000000", [](TFParGen& f) { f.E_NTP_Poll_Time->setText("10000000"); }, none},
        {"poll 10000001", [](TFParGen& f) { f.E_NTP_Poll_Time->setText("10000001"); }, text(618)},
        {"poll negative", [](TFParGen& f) { f.E_NTP_Poll_Time->setText("-1"); }, text(618)},
        {"access point checks its address on a cable-only device",
         [](TFParGen& f) {
             f.CB_Select_Device_Device->setCurrentIndex(0);
             f.WiFi2_IP1_IP.Boxes[0]->setText("256");
         },
         text(5187)},
        {"access point gateway only when enabled",
         [](TFParGen& f) { f.WiFi2_IP1_GAT.Boxes[3]->setText("x"); }, none},
        {"access point gateway byte 4",
         [](TFParGen& f) {
             f.WiFi2_IP1_GAT.Check->setChecked(true);
             f.WiFi2_IP1_GAT.Boxes[3]->setText("x");
         },
         text(5198)},
        {"station with Wi-Fi DHCP skips both addresses",
         [](TFParGen& f) {
             f.CB_Select_Device_Device->setCurrentIndex(1);
             f.CB_WiFi2_Type->setCurrentIndex(1);
             f.CB_EthConn_En_DHCP_WiFi->setChecked(true);
             f.WiFi2_IP1_IP.Boxes[0]->setText("300");
             f.WiFi2_IP2_SM.Boxes[2]->setText("300");
         },
         none},
        {"station second mask byte 3",
         [](TFParGen& f) {
             f.CB_WiFi2_Type->setCurrentIndex(1);
             f.WiFi2_IP2_SM.Boxes[2]->setText("300");
         },
         text(5226)},
        {"DNS unchecked is not checked", [](TFParGen& f) { f.EthConn_Primary_DNS.Boxes[0]->setText("300"); }, none},
        {"Ethernet before DNS when DNS is off",
         [](TFParGen& f) {
             f.Ethernet_IP.Boxes[0]->setText("256");
             f.EthConn_Primary_DNS.Boxes[0]->setText("300");
         },
         text(576)},
        {"DNS first when it is on",
         [](TFParGen& f) {
             f.CB_EthConn_Enable_DNS->setChecked(true);
             f.Ethernet_IP.Boxes[0]->setText("256");
             f.EthConn_Primary_DNS.Boxes[0]->setText("300");
         },
         text(5179)},
        {"secondary DNS byte 4",
         [](TFParGen& f) {
             f.CB_EthConn_Enable_DNS->setChecked(true);
             f.EthConn_Secondary_DNS.Boxes[3]->setText("");
         },
         text(5186)},
        {"Ethernet gateway byte 2",
         [](TFParGen& f) {
             f.Ethernet_GAT.Check->setChecked(true);
             f.Ethernet_GAT.Boxes[1]->setText("-1");
         },
         text(585)},
        {"Modbus slave gateway only when enabled",
         [](TFParGen& f) { f.ModbusTCPSlave_GAT.Boxes[0]->setText("999"); }, none},
        {"Modbus slave gateway byte 1",
         [](TFParGen& f) {
             f.ModbusTCPSlave_GAT.Check->setChecked(true);
             f.ModbusTCPSlave_GAT.Boxes[0]->setText("999");
         },
         text(1819)},
        {"Modbus slave mask byte 4", [](TFParGen& f) { f.ModbusTCPSlave_SM.Boxes[3]->setText("$100"); }, text(1818)},
        {"hidden reprogramming value", [](TFParGen& f) { f.E_MQTT_Reproram_Value->setText("999"); }, none},
        // Numbers the device keeps in 16 and 32 bits.
        {"MQTT port empty", [](TFParGen& f) { f.E_MQTT_Server_Port->setText(""); }, Msg_MQTT_Server_Port},
        {"MQTT port 0", [](TFParGen& f) { f.E_MQTT_Server_Port->setText("0"); }, Msg_MQTT_Server_Port},
        {"MQTT port 65535", [](TFParGen& f) { f.E_MQTT_Server_Port->setText("65535"); }, none},
        {"MQTT port 65536", [](TFParGen& f) { f.E_MQTT_Server_Port->setText("65536"); }, Msg_MQTT_Server_Port},
        {"keep alive 65535", [](TFParGen& f) { f.E_MQTT_Keep_Alive->setText("65535"); }, none},
        {"keep alive 65536", [](TFParGen& f) { f.E_MQTT_Keep_Alive->setText("65536"); }, Msg_MQTT_Keep_Alive},
        {"keep alive -1", [](TFParGen& f) { f.E_MQTT_Keep_Alive->setText("-1"); }, Msg_MQTT_Keep_Alive},
        {"send time empty", [](TFParGen& f) { f.E_MQTT_ASync_Send_Time->setText(""); }, none},
        // The image builder reads numbers as signed 32-bit integers: a larger text would reach the
        // device as the default 10.
        {"send time 2147483647", [](TFParGen& f) { f.E_MQTT_ASync_Send_Time->setText("2147483647"); }, none},
        {"send time 2147483648",
         [](TFParGen& f) { f.E_MQTT_ASync_Send_Time->setText("2147483648"); }, Msg_MQTT_Send_Time},
        {"send time 4294967295",
         [](TFParGen& f) { f.E_MQTT_ASync_Send_Time->setText("4294967295"); }, Msg_MQTT_Send_Time},
        {"send time negative", [](TFParGen& f) { f.E_MQTT_ASync_Send_Time->setText("-1"); }, Msg_MQTT_Send_Time},
        {"send time word", [](TFParGen& f) { f.E_MQTT_ASync_Send_Time->setText("ten"); }, Msg_MQTT_Send_Time},
        // Fixed fields of the device.
        {"SSID 31", [](TFParGen& f) { f.E_WiFi2_SSID->setText(QString(31, 'S')); }, none},
        {"SSID 32", [](TFParGen& f) { f.E_WiFi2_SSID->setText(QString(32, 'S')); }, Msg_WiFi_SSID_Length},
        {"Wi-Fi password 63", [](TFParGen& f) { f.E_WiFi2_Password->setText(QString(63, 'p')); }, none},
        {"Wi-Fi password 64",
         [](TFParGen& f) { f.E_WiFi2_Password->setText(QString(64, 'p')); }, Msg_WiFi_PWD_Length},
        {"PIN and APN over 512",
         [](TFParGen& f) {
             f.E_GSM_GPRS_PIN->setText("12345678");
             f.E_GSM_GPRS_APN->setText(QString(493, 'a'));
         },
         text(4155)},
        {"PIN and APN at 512 still overflow the modem text",
         [](TFParGen& f) {
             f.E_GSM_GPRS_PIN->setText("12345678");
             f.E_GSM_GPRS_APN->setText(QString(492, 'a'));
         },
         Msg_Modem_Text_Length},
        {"modem text at 511 with its keywords",
         [](TFParGen& f) {
             f.E_GSM_GPRS_PIN->setText("12345678");
             f.E_GSM_GPRS_APN->setText(QString(457, 'a'));
         },
         none},
        {"modem text at 512",
         [](TFParGen& f) {
             f.E_GSM_GPRS_PIN->setText("12345678");
             f.E_GSM_GPRS_APN->setText(QString(458, 'a'));
         },
         Msg_Modem_Text_Length},
        {"user name and password count",
         [](TFParGen& f) {
             f.E_GSM_GPRS_APN->setText(QString(402, 'a'));
             f.E_GSM_GPRS_UserName->setText(QString(32, 'u'));
             f.E_GSM_GPRS_Password->setText(QString(32, 'p'));
         },
         Msg_Modem_Text_Length},
        {"list without selection",
         [](TFParGen& f) { f.CB_WiFi2_Secure_Type->setCurrentIndex(-1); },
         [] { return Msg_No_Item_Selected(Lang(478), Lang(5143)); }},
    };

    for (const ValidationCase& c : cases) {
        SCOPED_TRACE(c.Name);
        QFile::remove(shell::App_State.File_ParGen);
        Msgs.Clear();
        LoadValidDefaults();
        c.Edit(*Form);
        Form->SetModalResult(platform::mrNone);
        Form->Btn_OKClick();
        if (!c.Expected) {
            EXPECT_TRUE(Msgs.Shown().empty()) << Msgs.LastText().toStdString();
            EXPECT_EQ(Form->ModalResult(), platform::mrOk);
            EXPECT_TRUE(FileWritten());
        } else {
            // A text missing from the table would make the expected and the shown message both empty.
            const QString expected = c.Expected();
            ASSERT_FALSE(expected.isEmpty());
            ASSERT_EQ(Msgs.Shown().size(), 1u);
            EXPECT_EQ(Msgs.LastText(), expected);
            EXPECT_EQ(Form->ModalResult(), platform::mrNone);
            EXPECT_FALSE(FileWritten());
        }
    }
}

// Every check fails at once; each OK shows the next one in the fixed order once the last is mended.
TEST_F(ParGenWindow, ValidationRunsItsChecksInTheirOrder)
{
    struct Step {
        std::function<QString()> Expected;
        std::function<void(TFParGen&)> Mend;
    };
    auto run_steps = [this](const std::vector<Step>& steps) {
        for (size_t i = 0; i < steps.size(); ++i) {
            SCOPED_TRACE(i);
            Msgs.Clear();
            Form->Btn_OKClick();
            ASSERT_EQ(Msgs.Shown().size(), 1u);
            EXPECT_EQ(Msgs.LastText(), steps[i].Expected());
            EXPECT_FALSE(FileWritten());
            steps[i].Mend(*Form);
        }
        Msgs.Clear();
        Form->Btn_OKClick();
        EXPECT_TRUE(Msgs.Shown().empty()) << Msgs.LastText().toStdString();
        EXPECT_TRUE(FileWritten());
    };
    auto box = [](std::function<QLineEdit*(TFParGen&)> which, const char* value) {
        return [which, value](TFParGen& f) { which(f)->setText(QLatin1String(value)); };
    };

    // Access point, every switch on.
    LoadValidDefaults();
    TFParGen& f = *Form;
    f.CB_EthConn_Enable_DNS->setChecked(true);
    f.Ethernet_GAT.Check->setChecked(true);
    f.WiFi2_IP1_GAT.Check->setChecked(true);
    f.CB_WiFi2_En_DHCP->setChecked(true);
    f.ModbusTCPSlave_GAT.Check->setChecked(true);
    for (const TByteRow* r : {&f.EthConn_Primary_DNS, &f.EthConn_Secondary_DNS, &f.Ethernet_IP, &f.Ethernet_SM,
                              &f.Ethernet_GAT, &f.WiFi2_IP1_IP, &f.WiFi2_IP1_SM, &f.WiFi2_IP1_GAT, &f.WiFi2_DHCP_First,
                              &f.WiFi2_DHCP_SM, &f.ModbusTCPSlave_IP, &f.ModbusTCPSlave_SM, &f.ModbusTCPSlave_GAT})
        r->Boxes[0]->setText(QStringLiteral("256"));
    f.E_MQTT_Server_Port->setText(QStringLiteral("0"));
    f.E_MQTT_Keep_Alive->setText(QStringLiteral("x"));
    f.E_MQTT_ASync_Send_Time->setText(QStringLiteral("x"));
    f.E_WiFi2_Lease_Time->setText(QStringLiteral("0"));
    f.E_WiFi2_SSID->setText(QString(32, 's'));
    f.E_WiFi2_Password->setText(QString(64, 'p'));
    f.E_NTP_Poll_Time->clear();
    f.E_ModbusTCPSlave_Port->setText(QStringLiteral("10000"));
    f.E_GSM_GPRS_PIN->setText(QStringLiteral("12345678"));
    f.E_GSM_GPRS_APN->setText(QString(493, 'a'));
    f.CB_MQTT_Will_QoS->setCurrentIndex(-1);
    f.E_MQTT_Reproram_Value->show();  // a product that shows it checks it
    f.E_MQTT_Reproram_Value->setText(QStringLiteral("256"));

    const auto byte0 = [](TByteRow TFParGen::*row) {
        return [row](TFParGen& g) { (g.*row).Boxes[0]->setText(QStringLiteral("1")); };
    };
    run_steps({
        {text(5179), byte0(&TFParGen::EthConn_Primary_DNS)},
        {text(5183), byte0(&TFParGen::EthConn_Secondary_DNS)},
        {text(4242), box([](TFParGen& g) { return g.E_MQTT_Reproram_Value; }, "1")},
        {Msg_MQTT_Server_Port, box([](TFParGen& g) { return g.E_MQTT_Server_Port; }, "1883")},
        {Msg_MQTT_Keep_Alive, box([](TFParGen& g) { return g.E_MQTT_Keep_Alive; }, "")},
        {Msg_MQTT_Send_Time, box([](TFParGen& g) { return g.E_MQTT_ASync_Send_Time; }, "10")},
        {text(576), byte0(&TFParGen::Ethernet_IP)},
        {text(580), byte0(&TFParGen::Ethernet_SM)},
        {text(584), byte0(&TFParGen::Ethernet_GAT)},
        {text(5187), byte0(&TFParGen::WiFi2_IP1_IP)},
        {text(5191), byte0(&TFParGen::WiFi2_IP1_SM)},
        {text(5195), byte0(&TFParGen::WiFi2_IP1_GAT)},
        {text(5199), byte0(&TFParGen::WiFi2_DHCP_First)},
        {text(5203), byte0(&TFParGen::WiFi2_DHCP_SM)},
        {text(5207), box([](TFParGen& g) { return g.E_WiFi2_Lease_Time; }, "86400")},
        {Msg_WiFi_SSID_Length, box([](TFParGen& g) { return g.E_WiFi2_SSID; }, "net")},
        {Msg_WiFi_PWD_Length, box([](TFParGen& g) { return g.E_WiFi2_Password; }, "secret")},
        {text(618), box([](TFParGen& g) { return g.E_NTP_Poll_Time; }, "0")},
        {text(1811), byte0(&TFParGen::ModbusTCPSlave_IP)},
        {text(1815), byte0(&TFParGen::ModbusTCPSlave_SM)},
        {text(1819), byte0(&TFParGen::ModbusTCPSlave_GAT)},
        {text(1823), box([](TFParGen& g) { return g.E_ModbusTCPSlave_Port; }, "502")},
        {text(4155), [](TFParGen& g) { g.E_GSM_GPRS_APN->setText(QString(492, 'a')); }},
        {Msg_Modem_Text_Length, box([](TFParGen& g) { return g.E_GSM_GPRS_APN; }, "web")},
        {[] { return Msg_No_Item_Selected(Lang(428), Lang(447)); },
         [](TFParGen& g) { g.CB_MQTT_Will_QoS->setCurrentIndex(0); }},
    });

    // Station: both addresses, with their gateways.
    QFile::remove(shell::App_State.File_ParGen);
    LoadValidDefaults();
    f.CB_WiFi2_Type->setCurrentIndex(1);
    f.WiFi2_IP1_GAT.Check->setChecked(true);
    f.WiFi2_IP2_GAT.Check->setChecked(true);
    for (const TByteRow* r :
         {&f.WiFi2_IP1_IP, &f.WiFi2_IP1_SM, &f.WiFi2_IP1_GAT, &f.WiFi2_IP2_IP, &f.WiFi2_IP2_SM, &f.WiFi2_IP2_GAT})
        r->Boxes[0]->setText(QStringLiteral("-1"));
    run_steps({
        {text(5208), byte0(&TFParGen::WiFi2_IP1_IP)},
        {text(5212), byte0(&TFParGen::WiFi2_IP1_SM)},
        {text(5216), byte0(&TFParGen::WiFi2_IP1_GAT)},
        {text(5220), byte0(&TFParGen::WiFi2_IP2_IP)},
        {text(5224), byte0(&TFParGen::WiFi2_IP2_SM)},
        {text(5228), byte0(&TFParGen::WiFi2_IP2_GAT)},
    });
}

TEST_F(ParGenWindow, DeviceNameCheck)
{
    EXPECT_EQ(Form->Check_Device_Name(QStringLiteral("GW01")), 0);
    EXPECT_EQ(Form->Check_Device_Name(QStringLiteral("GW-01")), 1);
}

// ---------------------------------------------------------------------------------------------
// Layout

TEST_F(ParGenWindow, NinePanelsInTheProductOrderStackedWithNumberedCaptions)
{
    Form->Load_ParGen();
    const std::vector<TCategoryPanel*> stacked = Form->CPG->Stacked();
    const std::vector<std::pair<const char*, int>> expected = {
        {"CP_Select_Device", 4247}, {"CP_Ethernet_Connection", 4250}, {"CP_Modbus_TCP_Slave", 690},
        {"CP_MQTT", 428},           {"CP_Ethernet", 455},            {"CP_TLS", 554},
        {"CP_NTP", 569},            {"CP_WiFi2", 478},               {"CP_GSM_GPRS", 4150}};
    ASSERT_EQ(stacked.size(), expected.size());
    int top = 0;
    for (size_t i = 0; i < stacked.size(); ++i) {
        EXPECT_EQ(stacked[i]->objectName(), QLatin1String(expected[i].first));
        EXPECT_EQ(stacked[i]->Caption(), QStringLiteral("%1. %2").arg(i + 1).arg(Lang(expected[i].second)));
        EXPECT_EQ(stacked[i]->y(), top);
        top += stacked[i]->height();
    }
    EXPECT_EQ(Form->CPG->Panels().size(), 33u);
    EXPECT_EQ(stacked[0]->Caption(), QStringLiteral("1. Select Device"));
    // Tab order follows the panels: the last box of one panel leads to the first of the next.
    auto nextTabStop = [](QWidget* w) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        return w;
    };
    EXPECT_EQ(nextTabStop(Form->EthConn_Secondary_DNS.Boxes[3]), Form->ModbusTCPSlave_IP.Boxes[0]);
    EXPECT_EQ(nextTabStop(Form->E_ModbusTCPSlave_Port), Form->E_MQTT_Server);
}

TEST_F(ParGenWindow, DeviceTypeDecidesWhichOfWiFiAndModemOpens)
{
    Form->Load_ParGen();
    TCategoryPanel* wifi = Form->CP_WiFi2;
    TCategoryPanel* gsm = Form->CP_GSM_GPRS;
    ASSERT_EQ(Form->CB_Select_Device_Device->currentIndex(), 0);
    EXPECT_FALSE(wifi->Expanded());
    EXPECT_FALSE(wifi->PanelEnabled());
    EXPECT_FALSE(gsm->Expanded());
    EXPECT_EQ(wifi->height(), wifi->HeaderHeight());
    wifi->ClickHeader();
    EXPECT_FALSE(wifi->Expanded());
    EXPECT_FALSE(Form->CB_EthConn_En_DHCP_WiFi->isEnabled());

    Form->CB_Select_Device_Device->setCurrentIndex(1);
    EXPECT_TRUE(wifi->Expanded());
    EXPECT_TRUE(wifi->PanelEnabled());
    EXPECT_FALSE(gsm->Expanded());
    EXPECT_FALSE(gsm->PanelEnabled());
    EXPECT_TRUE(Form->CB_EthConn_En_DHCP_WiFi->isEnabled());

    // A panel the user closed opens again on the next relayout.
    wifi->ClickHeader();
    EXPECT_FALSE(wifi->Expanded());
    Form->CB_WiFi2_Secure_Type->setCurrentIndex(1);
    EXPECT_TRUE(wifi->Expanded());

    Form->CB_Select_Device_Device->setCurrentIndex(2);
    EXPECT_FALSE(wifi->Expanded());
    EXPECT_TRUE(gsm->Expanded());
    EXPECT_FALSE(Form->CB_EthConn_En_DHCP_WiFi->isEnabled());

    // Other panels open and close from their header without a relayout.
    Form->CP_NTP->ClickHeader();
    EXPECT_FALSE(Form->CP_NTP->Expanded());
    Form->CP_NTP->ClickHeader();
    EXPECT_TRUE(Form->CP_NTP->Expanded());
}

TEST_F(ParGenWindow, WiFiStationAndAccessPointLayouts)
{
    Form->Load_ParGen();
    Form->CB_Select_Device_Device->setCurrentIndex(1);
    const int t = Form->L_WiFi2_Type->y();

    // Access point, unsecured: one address, no password row.
    EXPECT_FALSE(shown(Form->L_WiFi2_IP1));
    EXPECT_FALSE(shown(Form->WiFi2_IP2_IP.Boxes[0]));
    EXPECT_EQ(Form->L_WiFi2_SSID->y(), t + 112);
    EXPECT_EQ(Form->L_WiFi2_Secure_Type->y(), t + 140);
    EXPECT_FALSE(shown(Form->E_WiFi2_Password));
    EXPECT_EQ(Form->CB_WiFi2_En_DHCP->y(), t + 168);
    EXPECT_FALSE(shown(Form->E_WiFi2_Lease_Time));
    EXPECT_EQ(Form->L_WiFi2_Max_Client->y(), t + 196);
    const int unsecuredHeight = Form->CP_WiFi2->PanelHeight();
    EXPECT_EQ(unsecuredHeight, Form->CB_WiFi2_Channel->y() + Form->CB_WiFi2_Channel->height() +
                                   Form->CP_WiFi2->HeaderHeight() + 12);

    // WPA shows the password and moves everything below it down one row.
    Form->CB_WiFi2_Secure_Type->setCurrentIndex(1);
    EXPECT_TRUE(shown(Form->E_WiFi2_Password));
    EXPECT_EQ(Form->L_WiFi2_Password->y(), t + 168);
    EXPECT_EQ(Form->CB_WiFi2_En_DHCP->y(), t + 196);
    EXPECT_EQ(Form->CP_WiFi2->PanelHeight(), unsecuredHeight + 28);
    Form->CB_WiFi2_En_DHCP->setChecked(true);
    EXPECT_EQ(Form->WiFi2_DHCP_First.Label->y(), t + 224);
    EXPECT_EQ(Form->L_WiFi2_Lease_Time->y(), t + 280);
    EXPECT_EQ(Form->L_WiFi2_Max_Client->y(), t + 308);

    // Station: two headed address groups, then SSID and password.
    Form->CB_WiFi2_Type->setCurrentIndex(1);
    EXPECT_TRUE(shown(Form->L_WiFi2_IP1));
    EXPECT_EQ(Form->L_WiFi2_IP1->text(), QStringLiteral("IP Address 1 - Modbus TCP Slave"));
    EXPECT_EQ(Form->L_WiFi2_IP2->text(), QStringLiteral("IP Address 2 - MQTT"));
    EXPECT_EQ(Form->WiFi2_IP1_IP.Label->y(), t + 56);
    EXPECT_EQ(Form->L_WiFi2_IP2->y(), t + 140);
    EXPECT_EQ(Form->L_WiFi2_Password->y(), t + 280);
    EXPECT_FALSE(shown(Form->CB_WiFi2_Secure_Type));
    EXPECT_FALSE(shown(Form->CB_WiFi2_En_DHCP));
    EXPECT_FALSE(shown(Form->CB_WiFi2_Channel));
    EXPECT_TRUE(Form->WiFi2_IP2_GAT.Check->isEnabled());

    // Wi-Fi DHCP of the connection greys out both groups.
    Form->CB_EthConn_En_DHCP_WiFi->setChecked(true);
    for (const TByteRow* r : {&Form->WiFi2_IP1_IP, &Form->WiFi2_IP1_GAT, &Form->WiFi2_IP2_SM, &Form->WiFi2_IP2_GAT})
        EXPECT_FALSE(r->Boxes[0]->isEnabled());
    EXPECT_FALSE(Form->WiFi2_IP1_GAT.Check->isEnabled());

    // Back to access point: one editable group, security and DHCP server again.
    Form->CB_WiFi2_Type->setCurrentIndex(0);
    EXPECT_TRUE(Form->WiFi2_IP1_IP.Boxes[0]->isEnabled());
    EXPECT_FALSE(shown(Form->WiFi2_IP2_IP.Boxes[0]));
    EXPECT_TRUE(shown(Form->CB_WiFi2_Secure_Type));
    EXPECT_TRUE(shown(Form->CB_WiFi2_En_DHCP));
}

// Every row of the Wi-Fi panel in each mode, by pixels: rows 28 apart from the "Type" label at 12,
// labels and check boxes at x 14, a single box 238 wide at x 191 three pixels above its label, byte
// boxes 55 wide at x 191, 252, 313 and 374 (two above a gateway check box), the panel ending 12
// below its last control.
TEST_F(ParGenWindow, WiFiRowsStandWhereEachModePutsThem)
{
    enum Row { Type, Head1, IP1, SM1, GAT1, Head2, IP2, SM2, GAT2, SSID, Secure, Password, DHCP_Server,
               DHCP_First, DHCP_SM, Lease, Max_Client, Channel, Row_Count };
    struct Case {
        const char* Name;
        int Type;            // 0 access point, 1 station
        int Secure;          // 0 unsecured
        bool Dhcp_Server;    // the access point's "Enable DHCP"
        bool Wifi_Dhcp;      // the connection's DHCP for Wi-Fi
        std::map<Row, int> Rows;  // shown rows and their row number below "Type"; others hidden
        Row Last;
        bool Addresses_Editable;
    };
    const std::vector<Case> cases = {
        {"access point, unsecured", 0, 0, false, false,
         {{Type, 0}, {IP1, 1}, {SM1, 2}, {GAT1, 3}, {SSID, 4}, {Secure, 5}, {DHCP_Server, 6}, {Max_Client, 7},
          {Channel, 8}},
         Channel, true},
        {"access point, unsecured, DHCP server", 0, 0, true, false,
         {{Type, 0}, {IP1, 1}, {SM1, 2}, {GAT1, 3}, {SSID, 4}, {Secure, 5}, {DHCP_Server, 6}, {DHCP_First, 7},
          {DHCP_SM, 8}, {Lease, 9}, {Max_Client, 10}, {Channel, 11}},
         Channel, true},
        {"access point, WPA, DHCP server, Wi-Fi DHCP", 0, 1, true, true,
         {{Type, 0}, {IP1, 1}, {SM1, 2}, {GAT1, 3}, {SSID, 4}, {Secure, 5}, {Password, 6}, {DHCP_Server, 7},
          {DHCP_First, 8}, {DHCP_SM, 9}, {Lease, 10}, {Max_Client, 11}, {Channel, 12}},
         Channel, true},
        {"station", 1, 1, true, false,
         {{Type, 0}, {Head1, 1}, {IP1, 2}, {SM1, 3}, {GAT1, 4}, {Head2, 5}, {IP2, 6}, {SM2, 7}, {GAT2, 8},
          {SSID, 9}, {Password, 10}},
         Password, true},
        {"station, unsecured, Wi-Fi DHCP", 1, 0, false, true,
         {{Type, 0}, {Head1, 1}, {IP1, 2}, {SM1, 3}, {GAT1, 4}, {Head2, 5}, {IP2, 6}, {SM2, 7}, {GAT2, 8},
          {SSID, 9}, {Password, 10}},
         Password, false},
    };

    struct Parts {
        QWidget* Head;
        QWidget* Box = nullptr;         // a single box, list or memo
        const TByteRow* Bytes = nullptr;
    };
    TFParGen& f = *Form;
    const std::array<Parts, Row_Count> parts = {{
        {f.L_WiFi2_Type, f.CB_WiFi2_Type},
        {f.L_WiFi2_IP1},
        {f.WiFi2_IP1_IP.Label, nullptr, &f.WiFi2_IP1_IP},
        {f.WiFi2_IP1_SM.Label, nullptr, &f.WiFi2_IP1_SM},
        {f.WiFi2_IP1_GAT.Check, nullptr, &f.WiFi2_IP1_GAT},
        {f.L_WiFi2_IP2},
        {f.WiFi2_IP2_IP.Label, nullptr, &f.WiFi2_IP2_IP},
        {f.WiFi2_IP2_SM.Label, nullptr, &f.WiFi2_IP2_SM},
        {f.WiFi2_IP2_GAT.Check, nullptr, &f.WiFi2_IP2_GAT},
        {f.L_WiFi2_SSID, f.E_WiFi2_SSID},
        {f.L_WiFi2_Secure_Type, f.CB_WiFi2_Secure_Type},
        {f.L_WiFi2_Password, f.E_WiFi2_Password},
        {f.CB_WiFi2_En_DHCP},
        {f.WiFi2_DHCP_First.Label, nullptr, &f.WiFi2_DHCP_First},
        {f.WiFi2_DHCP_SM.Label, nullptr, &f.WiFi2_DHCP_SM},
        {f.L_WiFi2_Lease_Time, f.E_WiFi2_Lease_Time},
        {f.L_WiFi2_Max_Client, f.CB_WiFi2_Max_Client},
        {f.L_WiFi2_Channel, f.CB_WiFi2_Channel},
    }};
    const auto bottom = [](const Parts& p) {
        const QWidget* w = p.Bytes ? p.Bytes->Boxes[3] : p.Box ? p.Box : p.Head;
        return w->y() + w->height();
    };
    const auto tick = [](QCheckBox* box, bool on) {
        if (box->isChecked() != on)
            box->click();
    };

    Form->Load_ParGen();
    Form->CB_Select_Device_Device->setCurrentIndex(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        // The mode last, as a user who set the access point's options before switching to a station.
        f.CB_WiFi2_Type->setCurrentIndex(0);
        tick(f.CB_EthConn_En_DHCP_WiFi, c.Wifi_Dhcp);
        f.CB_WiFi2_Secure_Type->setCurrentIndex(c.Secure);
        tick(f.CB_WiFi2_En_DHCP, c.Dhcp_Server);
        f.CB_WiFi2_Type->setCurrentIndex(c.Type);
        ASSERT_TRUE(f.CP_WiFi2->Expanded());

        for (int r = 0; r < Row_Count; ++r) {
            SCOPED_TRACE(r);
            const Parts& p = parts[size_t(r)];
            const auto it = c.Rows.find(Row(r));
            std::vector<QWidget*> all{p.Head};
            if (p.Box)
                all.push_back(p.Box);
            if (p.Bytes)
                all.insert(all.end(), p.Bytes->Boxes.begin(), p.Bytes->Boxes.end());
            for (QWidget* w : all)
                EXPECT_EQ(shown(w), it != c.Rows.end()) << w->objectName().toStdString();
            if (it == c.Rows.end())
                continue;
            const int top = 12 + 28 * it->second;
            EXPECT_EQ(p.Head->pos(), QPoint(14, top));
            if (p.Box)
                EXPECT_EQ(p.Box->geometry(), QRect(191, top - 3, 238, 21));
            if (p.Bytes) {
                const int boxTop = top - (p.Bytes->Check ? 2 : 3);
                const std::array<int, 4> left = {191, 252, 313, 374};
                for (size_t i = 0; i < 4; ++i) {
                    EXPECT_EQ(p.Bytes->Boxes[i]->pos(), QPoint(left[i], boxTop));
                    EXPECT_EQ(p.Bytes->Boxes[i]->width(), 55);
                }
            }
        }
        EXPECT_EQ(f.CP_WiFi2->PanelHeight(), bottom(parts[c.Last]) + f.CP_WiFi2->HeaderHeight() + 12);

        for (const TByteRow* r : {&f.WiFi2_IP1_IP, &f.WiFi2_IP1_SM, &f.WiFi2_IP1_GAT})
            EXPECT_EQ(r->Boxes[0]->isEnabled(), c.Addresses_Editable);
        EXPECT_EQ(f.WiFi2_IP1_GAT.Check->isEnabled(), c.Addresses_Editable);
        if (c.Type != 0)
            for (const TByteRow* r : {&f.WiFi2_IP2_IP, &f.WiFi2_IP2_SM, &f.WiFi2_IP2_GAT})
                EXPECT_EQ(r->Boxes[3]->isEnabled(), c.Addresses_Editable);
    }
}

TEST_F(ParGenWindow, MqttAndTlsPanelsFollowTheirSwitches)
{
    Form->Load_ParGen();
    Form->CB_MQTT_WillFlag->setChecked(true);
    const int publishWithWill = Form->CB_MQTT_PublishTopicConnection->y();
    const int heightWithWill = Form->CP_MQTT->PanelHeight();
    EXPECT_TRUE(shown(Form->CB_MQTT_Will_QoS));
    EXPECT_EQ(publishWithWill, Form->L_MQTT_Will_QoS->y() + 28);

    Form->CB_MQTT_WillFlag->setChecked(false);
    EXPECT_FALSE(shown(Form->E_MQTT_Will_TopicName));
    EXPECT_FALSE(shown(Form->CB_MQTT_Will_QoS));
    EXPECT_EQ(Form->CB_MQTT_PublishTopicConnection->y(), publishWithWill - 112);
    EXPECT_EQ(Form->CP_MQTT->PanelHeight(), heightWithWill - 112);

    Form->CB_MQTT_PublishTopicConnection->setChecked(true);
    const int v = Form->CB_MQTT_PublishTopicConnection->y();
    EXPECT_EQ(Form->L_MQTT_Connection_TopicName->y(), v + 28);
    EXPECT_EQ(Form->E_MQTT_Connection_TopicName->y(), v + 25);
    EXPECT_EQ(Form->L_MQTT_Username->y(), v + 112);
    EXPECT_EQ(Form->L_MQTT_ASync_Send_Time->y(), v + 168);
    EXPECT_FALSE(shown(Form->E_MQTT_Reproram_Value));
    EXPECT_FALSE(shown(Form->E_MQTT_TopicDALIAns));

    // TLS off: one row high.
    EXPECT_FALSE(Form->CB_TLS_Enable->isChecked());
    EXPECT_EQ(Form->CP_TLS->PanelHeight(),
              Form->CB_TLS_Enable->y() + Form->CB_TLS_Enable->height() + Form->CP_TLS->HeaderHeight() + 12);
    Form->CB_TLS_Enable->setChecked(true);
    Form->CB_TLS_En_Client_Auth->setChecked(true);
    EXPECT_EQ(Form->CB_TLS_En_Client_Auth->y(), Form->CB_TLS_En_Server_Auth->y() + 28);
    Form->CB_TLS_En_Server_Auth->setChecked(true);
    EXPECT_EQ(Form->CB_TLS_En_Client_Auth->y(), Form->E_TLS_Server_Cert->y() + 28);
    EXPECT_EQ(Form->L_TLS_Client_Cert_Key_Pass->y(), Form->CB_TLS_En_Client_Auth->y() + 84);

    // Cable DHCP greys out the fixed addresses.
    Form->CB_EthConn_En_DHCP_Cable->setChecked(true);
    EXPECT_FALSE(Form->ModbusTCPSlave_IP.Boxes[0]->isEnabled());
    EXPECT_FALSE(Form->ModbusTCPSlave_GAT.Check->isEnabled());
    EXPECT_FALSE(Form->Ethernet_SM.Boxes[2]->isEnabled());
    EXPECT_TRUE(Form->E_ModbusTCPSlave_Port->isEnabled());
}

TEST_F(ParGenWindow, WidthStaysAndWheelScrollsOnlyOverThePanels)
{
    Form->Load_ParGen();
    Form->CB_Select_Device_Device->setCurrentIndex(1);
    Form->CB_MQTT_WillFlag->setChecked(true);
    Form->show();
    Form->resize(640, 800);
    EXPECT_EQ(Form->width(), 460);
    EXPECT_EQ(Form->height(), 800);
    // A window manager may resize the window whatever its limits: the width comes back.
    Form->windowHandle()->resize(700, 800);
    QCoreApplication::processEvents();
    EXPECT_EQ(Form->width(), 460);
    EXPECT_EQ(Form->P_Buttons->width(), 460);
    Form->resize(460, 500);
    QScrollBar* bar = Form->CPG->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), 0);

    const QPoint overTitle = Form->P_Title->mapToGlobal(QPoint(20, 20));
    EXPECT_FALSE(Form->FormMouseWheel(-120, overTitle));
    const QPoint overButtons = Form->P_Buttons->mapToGlobal(QPoint(20, 20));
    EXPECT_FALSE(Form->FormMouseWheel(-120, overButtons));
    EXPECT_EQ(bar->value(), 0);

    const QPoint overPanels = Form->CPG->viewport()->mapToGlobal(QPoint(100, 100));
    EXPECT_TRUE(Form->FormMouseWheel(-120, overPanels));
    const int down = bar->value();
    EXPECT_EQ(down, std::min(bar->maximum(), bar->singleStep() * QApplication::wheelScrollLines()));
    EXPECT_TRUE(Form->FormMouseWheel(120, overPanels));
    EXPECT_EQ(bar->value(), 0);

    // A wheel turned over a list inside the panels scrolls the panels, not the list.
    QComboBox* list = Form->CB_Select_Device_Device;
    const QPoint local(10, 5);
    QWheelEvent wheel(QPointF(local), QPointF(list->mapToGlobal(local)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &wheel);
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(bar->value(), down);
    Form->hide();
}

TEST_F(ParGenWindow, DotKeyMovesAlongTheAddressBoxes)
{
    Form->Load_ParGen();
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    Form->Ethernet_IP.Boxes[0]->setFocus(Qt::TabFocusReason);
    Form->Ethernet_IP.Boxes[0]->clear();
    for (const QChar c : QStringLiteral("192.168.0.1.255.255.0.0")) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, c.toLatin1());
    }
    EXPECT_EQ(Form->Ethernet_IP.Texts(),
              (std::array<QString, 4>{"192", "168", "0", "1"}));
    EXPECT_EQ(Form->Ethernet_SM.Texts(), (std::array<QString, 4>{"255", "255", "0", "0"}));

    // The last box of a chain keeps the focus and never takes the dot.
    Form->ModbusTCPSlave_GAT.Boxes[3]->setFocus(Qt::TabFocusReason);
    Form->ModbusTCPSlave_GAT.Boxes[3]->setText("1");
    Form->ModbusTCPSlave_GAT.Boxes[3]->end(false);
    QTest::keyClick(Form->ModbusTCPSlave_GAT.Boxes[3], '.');
    EXPECT_EQ(QApplication::focusWidget(), Form->ModbusTCPSlave_GAT.Boxes[3]);
    EXPECT_EQ(Form->ModbusTCPSlave_GAT.Boxes[3]->text(), QStringLiteral("1"));

    // A box of a collapsed panel cannot take the focus: the dot is only dropped.
    Form->E_MQTT_Server->setFocus(Qt::TabFocusReason);
    Form->CP_Ethernet->Collapse();
    QChar key('.');
    Form->KeyPress(Form->Ethernet_IP.Boxes[0], key);
    EXPECT_TRUE(key.isNull());
    EXPECT_EQ(QApplication::focusWidget(), Form->E_MQTT_Server);
    // Address boxes outside every chain drop it as well.
    key = QLatin1Char('.');
    Form->KeyPress(Form->Ethernet_DNS.Boxes[0], key);
    EXPECT_TRUE(key.isNull());
    EXPECT_EQ(QApplication::focusWidget(), Form->E_MQTT_Server);
    QChar other('7');
    Form->KeyPress(Form->ModbusTCPSlave_SM.Boxes[3], other);
    EXPECT_EQ(other, QLatin1Char('7'));
    Form->hide();
}

// ---------------------------------------------------------------------------------------------
// Texts

TEST_F(ParGenWindow, TextsFollowTheTableAndTranslatedListsRestart)
{
    EXPECT_EQ(Form->Caption(), QStringLiteral("Set Communication"));
    EXPECT_EQ(Form->L_SW_Desc->text(), QStringLiteral("Set Communication Setting"));
    EXPECT_EQ(Form->Btn_OK->Caption(), QStringLiteral("OK"));
    EXPECT_EQ(Form->Btn_OK->Hint(), Lang(404));
    EXPECT_EQ(Form->Btn_Cancel->Caption(), Lang(403));
    EXPECT_EQ(Form->Btn_OK->size(), QSize(110, 28));
    EXPECT_EQ(Form->Btn_Cancel->geometry().right(), 460 - 10 - 1);
    EXPECT_EQ(Form->CB_WiFi2_Type->itemText(0), QStringLiteral("Access Point"));
    EXPECT_EQ(Form->CB_WiFi2_Type->itemText(1), QStringLiteral("Station"));
    EXPECT_EQ(Form->CB_WiFi2_Secure_Type->count(), 4);
    EXPECT_EQ(Form->CB_WiFi2_Channel->count(), 12);
    EXPECT_EQ(Form->CB_WiFi2_Channel->itemText(0), QStringLiteral("Auto Search"));
    EXPECT_EQ(Form->CB_WiFi2_Channel->itemText(11), QStringLiteral("11"));
    EXPECT_EQ(Form->WiFi2_IP1_IP.Boxes[2]->toolTip(), platform::PlainHint(Lang(5109)));
    EXPECT_EQ(Form->ModbusTCPSlave_SM.Boxes[3]->toolTip(), platform::PlainHint(Lang(1800)));

    // A language change: new texts, lists back at their first item until the next show.
    WriteFile({{QStringLiteral("WiFi_Type"), QStringLiteral("1")}});
    Form->Load_ParGen();
    ASSERT_EQ(Form->CB_WiFi2_Type->currentIndex(), 1);
    shell::List_Lang[5104] = QStringLiteral("Client");
    shell::List_Lang[5139] = QStringLiteral("Network name");
    shell::List_Lang[4250] = QStringLiteral("Connection");
    Form->Set_Lang();
    EXPECT_EQ(Form->CB_WiFi2_Type->itemText(1), QStringLiteral("Client"));
    EXPECT_EQ(Form->CB_WiFi2_Type->currentIndex(), 0);
    EXPECT_TRUE(shown(Form->CB_WiFi2_Secure_Type));  // laid out for the access point shown
    EXPECT_EQ(Form->L_WiFi2_SSID->text(), QStringLiteral("Network name"));
    EXPECT_EQ(Form->CP_Ethernet_Connection->Caption(), QStringLiteral("2. Connection"));
    Form->Load_ParGen();
    EXPECT_EQ(Form->CB_WiFi2_Type->currentIndex(), 1);
}

// Each caption, hint and list item takes its own entry of the text table.
TEST_F(ParGenWindow, EveryFieldTextComesFromItsIndex)
{
    for (int i = 0; i < shell::List_Lang.size(); ++i)
        shell::List_Lang[i] = QStringLiteral("#%1").arg(i);
    Form->Set_Lang();
    TFParGen& f = *Form;
    const auto tag = [](int index) { return QStringLiteral("#%1").arg(index); };
    const auto caption = [](const QWidget* w) {
        if (auto* l = qobject_cast<const QLabel*>(w))
            return l->text();
        if (auto* c = qobject_cast<const QCheckBox*>(w))
            return c->text();
        return QStringLiteral("(no caption)");
    };

    // A row: the caption of its head, then the hint of its input; a check box carries both.
    struct Field {
        QWidget* Head;
        QWidget* Input;
        int First;
    };
    const std::vector<Field> fields = {
        {f.L_Select_Device_Device, f.CB_Select_Device_Device, 4248},
        {f.L_EthConn_Device_Name, f.E_EthConn_Device_Name, 4251},
        {f.CB_EthConn_En_DHCP_Cable, f.CB_EthConn_En_DHCP_Cable, 4253},
        {f.CB_EthConn_En_DHCP_WiFi, f.CB_EthConn_En_DHCP_WiFi, 4255},
        {f.CB_EthConn_Enable_DNS, f.CB_EthConn_Enable_DNS, 4257},
        {f.L_ModbusTCPSlave_Port, f.E_ModbusTCPSlave_Port, 1807},
        {f.L_MQTT_Server, f.E_MQTT_Server, 429},
        {f.L_MQTT_Server_Port, f.E_MQTT_Server_Port, 431},
        {f.L_MQTT_Client_ID, f.E_MQTT_Client_ID, 433},
        {f.L_MQTT_Keep_Alive, f.E_MQTT_Keep_Alive, 435},
        {f.CB_MQTT_Clean_Session, f.CB_MQTT_Clean_Session, 437},
        {f.CB_MQTT_WillFlag, f.CB_MQTT_WillFlag, 439},
        {f.L_MQTT_Will_TopicName, f.E_MQTT_Will_TopicName, 441},
        {f.L_MQTT_Will_Message, f.E_MQTT_Will_Message, 443},
        {f.CB_MQTT_Will_Retained, f.CB_MQTT_Will_Retained, 445},
        {f.L_MQTT_Will_QoS, f.CB_MQTT_Will_QoS, 447},
        {f.CB_MQTT_PublishTopicConnection, f.CB_MQTT_PublishTopicConnection, 4226},
        {f.L_MQTT_Connection_TopicName, f.E_MQTT_Connection_TopicName, 4228},
        {f.L_MQTT_Connection_Message, f.E_MQTT_Connection_Message, 4230},
        {f.CB_MQTT_Connection_Retained, f.CB_MQTT_Connection_Retained, 4232},
        {f.L_MQTT_Username, f.E_MQTT_Username, 449},
        {f.L_MQTT_Password, f.E_MQTT_Password, 451},
        {f.L_MQTT_ASync_Send_Time, f.E_MQTT_ASync_Send_Time, 453},
        {f.L_MQTT_TopicDALIAns, f.E_MQTT_TopicDALIAns, 4234},
        {f.CB_MQTT_Enable_ReProgram, f.CB_MQTT_Enable_ReProgram, 4236},
        {f.L_MQTT_Reprogram_Topic, f.E_MQTT_Reprogram_Topic, 4238},
        {f.L_MQTT_Reproram_Value, f.E_MQTT_Reproram_Value, 4240},
        {f.CB_Ethernet_Reset_24h, f.CB_Ethernet_Reset_24h, 4243},
        {f.CB_TLS_Enable, f.CB_TLS_Enable, 555},
        {f.CB_TLS_En_Server_Auth, f.CB_TLS_En_Server_Auth, 557},
        {f.L_TLS_Server_Cert, f.E_TLS_Server_Cert, 559},
        {f.CB_TLS_En_Client_Auth, f.CB_TLS_En_Client_Auth, 561},
        {f.L_TLS_Client_Cert, f.E_TLS_Client_Cert, 563},
        {f.L_TLS_Client_Cert_Key, f.E_TLS_Client_Cert_Key, 565},
        {f.L_TLS_Client_Cert_Key_Pass, f.E_TLS_Client_Cert_Key_Pass, 567},
        {f.L_NTP_Server_URL, f.E_NTP_Server_URL, 570},
        {f.L_NTP_Poll_Time, f.E_NTP_Poll_Time, 572},
        {f.L_WiFi2_Type, f.CB_WiFi2_Type, 5101},
        {f.L_WiFi2_SSID, f.E_WiFi2_SSID, 5139},
        {f.L_WiFi2_Password, f.E_WiFi2_Password, 5141},
        {f.L_WiFi2_Secure_Type, f.CB_WiFi2_Secure_Type, 5143},
        {f.CB_WiFi2_En_DHCP, f.CB_WiFi2_En_DHCP, 5149},
        {f.L_WiFi2_Lease_Time, f.E_WiFi2_Lease_Time, 5161},
        {f.L_WiFi2_Max_Client, f.CB_WiFi2_Max_Client, 5163},
        {f.L_WiFi2_Channel, f.CB_WiFi2_Channel, 5165},
        {f.L_GSM_GPRS_PIN, f.E_GSM_GPRS_PIN, 4151},
        {f.L_GSM_GPRS_APN, f.E_GSM_GPRS_APN, 4153},
        {f.L_GSM_GPRS_AuthType, f.CB_GSM_GPRS_AuthType, 4220},
        {f.L_GSM_GPRS_UserName, f.E_GSM_GPRS_UserName, 4222},
        {f.L_GSM_GPRS_Password, f.E_GSM_GPRS_Password, 4224},
    };
    for (const Field& x : fields) {
        EXPECT_EQ(caption(x.Head), tag(x.First)) << x.Head->objectName().toStdString();
        EXPECT_EQ(x.Input->toolTip(), platform::PlainHint(tag(x.First + 1))) << x.Input->objectName().toStdString();
    }

    // Address rows: the head's caption (and hint, for a gateway switch), then the four byte hints.
    struct Row {
        const TByteRow* Bytes;
        int Caption;
        std::array<int, 4> Hints;
        int HeadHint;
    };
    const std::vector<Row> rows = {
        {&f.EthConn_Primary_DNS, 4263, {4259, 4260, 4261, 4262}, -1},
        {&f.EthConn_Secondary_DNS, 4264, {4265, 4266, 4267, 4268}, -1},
        {&f.ModbusTCPSlave_IP, 691, {692, 693, 694, 695}, -1},
        {&f.ModbusTCPSlave_SM, 696, {697, 698, 699, 1800}, -1},
        {&f.ModbusTCPSlave_GAT, 1801, {1803, 1804, 1805, 1806}, 1802},
        {&f.Ethernet_IP, 456, {457, 458, 459, 460}, -1},
        {&f.Ethernet_SM, 461, {462, 463, 464, 465}, -1},
        {&f.Ethernet_GAT, 466, {468, 469, 470, 471}, 467},
        {&f.WiFi2_IP1_IP, 5106, {5107, 5108, 5109, 5110}, -1},
        {&f.WiFi2_IP1_SM, 5111, {5112, 5113, 5114, 5115}, -1},
        {&f.WiFi2_IP1_GAT, 5116, {5118, 5119, 5120, 5121}, 5117},
        {&f.WiFi2_IP2_IP, 5123, {5124, 5125, 5126, 5127}, -1},
        {&f.WiFi2_IP2_SM, 5128, {5129, 5130, 5131, 5132}, -1},
        {&f.WiFi2_IP2_GAT, 5133, {5135, 5136, 5137, 5138}, 5134},
        {&f.WiFi2_DHCP_First, 5151, {5152, 5153, 5154, 5155}, -1},
        {&f.WiFi2_DHCP_SM, 5156, {5157, 5158, 5159, 5160}, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Caption);
        EXPECT_EQ(caption(r.Bytes->Head()), tag(r.Caption));
        if (r.HeadHint >= 0) {
            EXPECT_EQ(r.Bytes->Head()->toolTip(), platform::PlainHint(tag(r.HeadHint)));
        }
        for (size_t i = 0; i < 4; ++i)
            EXPECT_EQ(r.Bytes->Boxes[i]->toolTip(), platform::PlainHint(tag(r.Hints[i])));
    }
    EXPECT_EQ(f.L_WiFi2_IP1->text(), tag(5105));
    EXPECT_EQ(f.L_WiFi2_IP2->text(), tag(5122));

    // Translated lists; the fixed ones keep their items.
    const auto items = [](const QComboBox* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->itemText(i);
        return texts;
    };
    const auto tags = [&](int first, int last) {
        QStringList texts;
        for (int i = first; i <= last; ++i)
            texts << tag(i);
        return texts;
    };
    EXPECT_EQ(items(f.CB_WiFi2_Type), tags(5103, 5104));
    EXPECT_EQ(items(f.CB_WiFi2_Secure_Type), tags(5145, 5148));
    EXPECT_EQ(items(f.CB_WiFi2_Channel), tags(5167, 5178));
    EXPECT_EQ(items(f.CB_GSM_GPRS_AuthType),
              (QStringList{QStringLiteral("None"), QStringLiteral("PAP"), QStringLiteral("CHAP"),
                           QStringLiteral("PAP or CHAP")}));
    EXPECT_EQ(items(f.CB_Select_Device_Device).first(), QStringLiteral("Only Ethernet Cable "));

    EXPECT_EQ(f.Caption(), tag(400));
    EXPECT_EQ(f.L_SW_Desc->text(), tag(401));
    EXPECT_EQ(f.Btn_OK->Caption(), tag(402));
    EXPECT_EQ(f.Btn_Cancel->Caption(), tag(403));
    EXPECT_EQ(f.Btn_OK->Hint(), tag(404));
    EXPECT_EQ(f.Btn_Cancel->Hint(), tag(405));
}

// ---------------------------------------------------------------------------------------------
// Other gateways of the family

TEST(ParGenVariants, EachVariantShowsItsPanelsInItsOrder)
{
    shell::Load_Default_Language();
    TFParGen mbus(nullptr, TParGenVariant::MBus);
    std::vector<QString> names;
    for (TCategoryPanel* p : mbus.CPG->Stacked())
        names.push_back(p->objectName());
    const std::vector<QString> expected = {"CP_Select_Device", "CP_Working_Mode", "CP_MBus",   "CP_wMBus",
                                           "CP_MQTT",          "CP_Ethernet",     "CP_WiFi",   "CP_TLS",
                                           "CP_NTP",           "CP_GSM_GPRS"};
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(mbus.CPG->Stacked().back()->Caption().startsWith(QStringLiteral("10. ")));
    EXPECT_FALSE(mbus.CP_WiFi2->Shown());
    EXPECT_FALSE(mbus.CP_Ethernet_Connection->Shown());

    TFParGen serial(nullptr, TParGenVariant::Serial);
    EXPECT_EQ(serial.CPG->Stacked()[2]->objectName(), QStringLiteral("CP_Serial"));
    EXPECT_EQ(serial.CPG->Stacked().size(), 9u);

    // Every variant shows at least the MQTT, Ethernet, TLS and NTP panels, once each.
    for (int v = 0; v < ParGen_Variant_Count; ++v) {
        const std::vector<TParGenPanel>& panels = ParGen_Variant(static_cast<TParGenVariant>(v)).Panels;
        for (TParGenPanel p : {TParGenPanel::MQTT, TParGenPanel::Ethernet, TParGenPanel::TLS, TParGenPanel::NTP})
            EXPECT_EQ(std::count(panels.begin(), panels.end(), p), 1) << v;
        EXPECT_LE(panels.size(), 10u) << v;
    }
}

TEST(ParGenVariants, WithoutDeviceSelectionTheDeviceTypeRuleDoesNotApply)
{
    shell::Load_Default_Language();
    TFParGen j1939(nullptr, TParGenVariant::J1939_No_Device_Selection);
    EXPECT_FALSE(j1939.CP_Select_Device->Shown());
    EXPECT_EQ(j1939.CPG->Stacked().front()->Caption().left(3), QStringLiteral("1. "));
    j1939.CB_Select_Device_Device->setCurrentIndex(2);
    j1939.Move_GroupBoxs();
    EXPECT_EQ(j1939.CB_Select_Device_Device->currentIndex(), 0);

    TFParGen master(nullptr, TParGenVariant::Modbus_Master_No_Device_Selection);
    master.CB_Select_Device_Device->setCurrentIndex(2);
    master.Move_GroupBoxs();
    EXPECT_EQ(master.CB_Select_Device_Device->currentIndex(), 2);
    EXPECT_EQ(master.CPG->Stacked().size(), 7u);
}

}  // namespace
