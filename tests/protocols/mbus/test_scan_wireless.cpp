// Wireless scans with either radio module through the real engine thread and socket.
#include "ScanFixture.h"

using namespace mbus_test;

namespace {

// The RadioCrafts module's length byte counts every byte after it, its signal byte included.
Bytes Rc_Datagram(const Bytes& telegram)
{
    Bytes datagram = RadioCrafts_Datagram(telegram);
    datagram[0] = uint8_t(datagram.size() - 1);
    return datagram;
}

class WirelessScan : public ScanTest {
protected:
    bool Start(int mode = 5, int channel = 2)
    {
        return engine->Start_Scan_Wireless(TSelectHard::shEthernet, "127.0.0.1", gateway.Port(), mode, channel, false,
                                           [this](int index, const TSlave_wMBus* meter) {
                                               heard.emplace_back(index, meter ? Copy_Wireless_Meter(*meter) : nullptr);
                                           },
                                           false);
    }
    void Wait_Listening(int step)
    {
        ASSERT_TRUE(Wait_For([&] { return engine->Step_Scan() == step || !engine->FInScan(); }));
        ASSERT_EQ(engine->Step_Scan(), step);
    }
    // Sends a datagram as the radio module and waits until the engine has handled it.
    void Inject(const Bytes& datagram)
    {
        const uint64_t before = engine->UDP_Server().DeliveredCount();
        gateway.Inject(datagram);
        ASSERT_TRUE(Wait_For([&] { return engine->UDP_Server().DeliveredCount() > before; }));
    }
    std::vector<QByteArray> Texts_From(const QByteArray& first) const
    {
        const auto all = gateway.Received_Texts();
        const auto at = std::find(all.begin(), all.end(), first);
        return std::vector<QByteArray>(at, all.end());
    }

    std::vector<std::pair<int, std::unique_ptr<TSlave_wMBus>>> heard;
};

TEST_F(WirelessScan, TelitSetUpKeyDownloadAndDecoding)
{
    ASSERT_TRUE(Start(5, 2));
    Wait_Listening(134);
    EXPECT_EQ(engine->RadioModule(), TRadioModule::rmTelit);
    const std::vector<QByteArray> set_up = {
        "Kelvor_Enable_Configuration_Mode", "Kelvor_Type_Radio_Module", "+++", "ATR\r", "ATS400=5\r", "ATS401=0\r",
        "ATS402=191\r", "ATS420=2\r", "ATS421=0\r", "ATS422=3\r", "ATS430=5\r", "ATS431=5\r", "ATS440=0\r",
        "ATS441=0\r", "ATS442=0\r", "ATS452=0\r", "ATS453=0\r", "ATS454=0\r", "ATO\r"};
    EXPECT_EQ(gateway.Received_Texts(), set_up);

    // An encrypted telegram: the meter is heard but cannot be read yet.
    Inject(Telit_Datagram(Annex_Telegram()));
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].first, 0);
    ASSERT_TRUE(heard[0].second);
    EXPECT_TRUE(heard[0].second->Cripted);
    EXPECT_EQ(heard[0].second->ALA_Address, 0x12345678);

    ASSERT_TRUE(engine->Insert_Wireless_Key(0, Annex_Key()));
    Wait_Listening(134);
    std::vector<QByteArray> download = {"+++", "ATS461=147\r", "ATS462=21\r", "ATS463=120\r", "ATS464=86\r",
                                        "ATS465=52\r", "ATS466=18\r", "ATS467=51\r", "ATS468=3\r"};
    for (int i = 0; i < 16; ++i)
        download.push_back("ATS" + QByteArray::number(470 + i) + "=" + QByteArray::number(Annex_Key()[size_t(i)]) + "\r");
    download.push_back("ATS460=5\r");
    download.push_back("ATO\r");
    EXPECT_EQ(Texts_From("ATS461=147\r").size(), download.size() - 1);
    const auto after = gateway.Received_Texts();
    EXPECT_EQ(std::vector<QByteArray>(after.end() - qsizetype(download.size()), after.end()), download);

    // Now the meter's telegrams are read with its key.
    Inject(Telit_Datagram(Annex_Telegram()));
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_FALSE(heard[1].second->Cripted);
    EXPECT_EQ(heard[1].second->List_Var[2]->ValueStr.isEmpty(), false);
    {
        std::lock_guard lock(engine->List_Mutex);
        ASSERT_EQ(engine->List_Slave_wMBus.size(), 1u);
        EXPECT_TRUE(engine->List_Slave_wMBus[0]->Enable_Key);
    }

    engine->Stop_Scan();
    Run_To_End();
    EXPECT_EQ(gateway.Received_Texts().back(), "Kelvor_Disable_Configuration_Mode");
    EXPECT_EQ(gateway.Current_Mode(), FakeGateway::Mode::Normal);
    EXPECT_EQ(engine->FResult(), 1);
}

TEST_F(WirelessScan, NModesLeaveOutThreeRegisters)
{
    for (const int mode : {15, 17}) {
        ASSERT_TRUE(Start(mode, 0));
        Wait_Listening(134);
        const auto sent = gateway.Received_Texts();
        for (const char* left_out : {"ATS421=0\r", "ATS442=0\r", "ATS454=0\r"})
            EXPECT_EQ(std::count(sent.begin(), sent.end(), left_out), 0) << mode;
        EXPECT_EQ(std::count(sent.begin(), sent.end(), "ATS400=" + QByteArray::number(mode) + "\r"), 1);
        engine->Abort_Scan();
        Run_To_End();
    }
}

TEST_F(WirelessScan, ListeningDropsTelegramsWhoseLengthByteDisagrees)
{
    ASSERT_TRUE(Start());
    Wait_Listening(134);
    Bytes shorter = Telit_Datagram(Annex_Telegram());
    shorter.resize(20);
    Inject(shorter);
    Bytes oversize(2100, 0x2F);
    oversize[0] = 0xFF;
    Inject(oversize);
    EXPECT_EQ(engine->Length_Dropped(), 1u);
    EXPECT_EQ(engine->Oversize_Dropped(), 1u);
    EXPECT_TRUE(heard.empty());
    EXPECT_FALSE(engine->Insert_Wireless_Key(0, Annex_Key())) << "no meter at that index";
    engine->Stop_Scan();
    Run_To_End();
}

TEST_F(WirelessScan, RadioCraftsSetUpClearsTheKeyTableAndDownloadsKeys)
{
    gateway.Set_Module(FakeGateway::Module::RadioCrafts);
    ASSERT_TRUE(Start(11));
    Wait_Listening(320);
    const auto hex = Sent_Hex();
    ASSERT_GE(hex.size(), 8u);
    EXPECT_EQ(hex[2], "00");
    EXPECT_EQ(hex[3], "30");
    EXPECT_EQ(hex[4], "4D");
    EXPECT_EQ(hex[5], "03 0A 04 00 05 01 12 01 16 17 3A 01 3D 02 37 01");
    EXPECT_EQ(hex[6], "FF");
    // 63 erase sequences: "B", the position, eight zero bytes; then "X".
    for (int p = 1; p <= 63; ++p) {
        const size_t at = 7 + size_t(p - 1) * 3;
        ASSERT_LT(at + 2, hex.size());
        EXPECT_EQ(hex[at], "42");
        EXPECT_EQ(hex[at + 1], QByteArray(1, char(p)).toHex().toUpper());
        EXPECT_EQ(hex[at + 2], "00 00 00 00 00 00 00 00");
    }
    EXPECT_EQ(hex.back(), "58");

    Inject(Rc_Datagram(Annex_Telegram()));
    ASSERT_EQ(heard.size(), 1u);
    ASSERT_TRUE(engine->Insert_Wireless_Key(0, Annex_Key()));
    Wait_Listening(320);
    ASSERT_EQ(gateway.RadioCrafts_Addresses().count(1), 1u);
    EXPECT_EQ(gateway.RadioCrafts_Addresses().at(1), Hex("78563412 9315 33 03"));
    const TAESKey128 key = Annex_Key();
    EXPECT_EQ(gateway.RadioCrafts_Keys().at(1), Bytes(key.begin(), key.end()));
    Inject(Rc_Datagram(Annex_Telegram()));
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_FALSE(heard[1].second->Cripted);
    engine->Stop_Scan();
    Run_To_End();
    EXPECT_EQ(gateway.Received_Texts().back(), "Kelvor_Disable_Configuration_Mode");
}

TEST_F(WirelessScan, RadioCraftsPositionsAreTakenOnlyForAcceptedKeysUpToTheLastCleared)
{
    gateway.Set_Module(FakeGateway::Module::RadioCrafts);
    ASSERT_TRUE(Start());
    Wait_Listening(320);
    // 64 meters, each with its own address.
    for (int m = 0; m < 64; ++m) {
        Bytes telegram = Join({Hex("44 9315"), {uint8_t(m), 0, 0, 0}, Hex("33 03 7A 01 00 0000 04 13 2A000000")});
        Inject(Rc_Datagram(telegram));
    }
    ASSERT_EQ(heard.size(), 64u);
    for (int m = 0; m < 63; ++m) {
        ASSERT_TRUE(engine->Insert_Wireless_Key(m, Annex_Key())) << m;
        Wait_Listening(320);
    }
    EXPECT_FALSE(engine->Insert_Wireless_Key(63, Annex_Key())) << "position 64 is never cleared";
    {
        std::lock_guard lock(engine->List_Mutex);
        EXPECT_EQ(engine->List_Slave_wMBus[62]->RadioCrafts_Ind_Tab_Decript, 63);
        EXPECT_EQ(engine->List_Slave_wMBus[63]->RadioCrafts_Ind_Tab_Decript, -1);
        EXPECT_FALSE(engine->List_Slave_wMBus[63]->Enable_Key);
    }
    // A meter that has a position keeps it.
    ASSERT_TRUE(engine->Insert_Wireless_Key(3, Annex_Key()));
    Wait_Listening(320);
    engine->Stop_Scan();
    Run_To_End();
    // Refused while not listening: no position is used up.
    std::lock_guard lock(engine->List_Mutex);
    EXPECT_EQ(engine->List_Slave_wMBus[3]->RadioCrafts_Ind_Tab_Decript, 4);
}

TEST_F(WirelessScan, KeyNotListeningOrRefusedByTheModule)
{
    ASSERT_TRUE(Start());
    Wait_Listening(134);
    Inject(Telit_Datagram(Annex_Telegram()));
    gateway.Refuse_Keys(true);
    ASSERT_TRUE(engine->Insert_Wireless_Key(0, Annex_Key()));
    Run_To_End();
    EXPECT_EQ(engine->FResult(), 2);
    EXPECT_EQ(gateway.Current_Mode(), FakeGateway::Mode::Normal);
    std::array<uint8_t, 16> other{};
    other[0] = 9;
    EXPECT_FALSE(engine->Insert_Wireless_Key(0, other));
    std::lock_guard lock(engine->List_Mutex);
    EXPECT_EQ(engine->List_Slave_wMBus[0]->Key, Annex_Key()) << "a refused key leaves the meter's key";
}

TEST_F(WirelessScan, RestartKeepsOrReplacesTheBinding)
{
    engine->Local_Port = -1;  // the wireless port is also the local port
    FakeGateway other(QStringLiteral("127.0.0.2"));
    ASSERT_TRUE(other.Ok());
    const Use_Gateway use(*this, other);
    ASSERT_TRUE(engine->Start_Scan_Wireless(TSelectHard::shEthernet, "127.0.0.2", other.Port(), 5, 0, false, {}, false));
    ASSERT_TRUE(Wait_For([&] { return engine->Step_Scan() == 134; }));
    EXPECT_EQ(engine->UDP_Server().LocalPort(), other.Port());
    engine->Stop_Scan();
    Run_To_End();
    EXPECT_FALSE(engine->UDP_Server().Active());
}

}  // namespace

// A telegram heard just before the module left listening arrives ahead of the answers: the key
// download goes on and the closing command is sent once.
TEST_F(WirelessScan, TelegramsAheadOfAnswersArePassedOver)
{
    ASSERT_TRUE(Start());
    Wait_Listening(134);
    Inject(Telit_Datagram(Annex_Telegram()));
    ASSERT_EQ(heard.size(), 1u);
    gateway.Before_Answer("ATS461=", Telit_Datagram(Annex_Telegram()));
    gateway.Before_Answer("Kelvor_Disable_Configuration_Mode", Telit_Datagram(Annex_Telegram()));
    ASSERT_TRUE(engine->Insert_Wireless_Key(0, Annex_Key()));
    Wait_Listening(134);
    EXPECT_EQ(gateway.Received_Texts().back(), "ATO\r") << "the key download ran to its end";
    engine->Stop_Scan();
    Run_To_End();
    const auto sent = gateway.Received_Texts();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "Kelvor_Disable_Configuration_Mode"), 1);
    EXPECT_EQ(gateway.Current_Mode(), FakeGateway::Mode::Normal);
    EXPECT_EQ(engine->FResult(), 1);
}
