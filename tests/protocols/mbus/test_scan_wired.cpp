// Wired scans through the real engine thread and a real socket against the fake gateway.
#include "ScanFixture.h"

using namespace mbus_test;

namespace {

using WiredScan = ScanTest;

// Records ending with the mark that more follow in the next frame.
Bytes More_Records() { return Hex("03 13 153100  1F"); }

TEST_F(WiredScan, PrimaryScanFindsScriptedMetersAndRestoresTheGateway)
{
    gateway.Add_Meter({.Primary = 1, .Id = 0x11111111, .Frames = {Meter_Frame(1, 0x11111111)}});
    gateway.Add_Meter({.Primary = 77, .Id = 0x12345678, .Frames = {Meter_Frame(77, 0x12345678)}});
    gateway.Add_Meter({.Primary = 250, .Id = 0x250, .Frames = {Meter_Frame(250, 0x250)}});
    QElapsedTimer wall;
    wall.start();
    ASSERT_TRUE(Start_Primary());
    Run_To_End();
    EXPECT_LT(wall.elapsed(), 1000) << "251 addresses at 2400 baud run on the fake clock";

    EXPECT_EQ(engine->FResult(), 1);
    ASSERT_EQ(notes.size(), 253u);
    EXPECT_EQ(notes.front(), (Notification{1, 0, 0, 1}));
    for (int a = 0; a <= 250; ++a)
        EXPECT_EQ(notes[size_t(a + 1)], (Notification{2, a, a == 1 || a == 77 || a == 250 ? 1 : 0, 1})) << a;
    EXPECT_EQ(notes.back(), (Notification{3, 0, 0, 1}));

    std::lock_guard lock(engine->List_Mutex);
    ASSERT_EQ(engine->List_Slave_MBus.size(), 3u);
    const TSlave_MBus& m = *engine->List_Slave_MBus[1];
    EXPECT_EQ(m.Primary_Addresss, 77);
    EXPECT_EQ(m.Secondary_Addresss, "12345678");
    EXPECT_EQ(m.descManufacture, "PAD");
    ASSERT_EQ(m.List_Var.size(), 3u);
    EXPECT_EQ(m.List_Var[0]->ValueStr.size() > 0, true);
    EXPECT_EQ(engine->List_Slave_MBus[2]->Secondary_Addresss, "250");

    const auto sent = gateway.Received_Texts();
    ASSERT_GE(sent.size(), 4u);
    EXPECT_EQ(sent[0], "Kelvor_Enable_Analyzer_Mode");
    EXPECT_EQ(sent[1], QByteArray("Kelvor_S_M:") + QByteArray::fromHex("00000960") + ",\x02");
    EXPECT_EQ(sent[2].toHex(), "1040ff3f16");
    EXPECT_EQ(sent[3].toHex(), "107b007b16");
    EXPECT_EQ(sent.back(), "Kelvor_Disable_Analyzer_Mode");
    EXPECT_EQ(gateway.Current_Mode(), FakeGateway::Mode::Normal);
    EXPECT_EQ(gateway.Baudrate(), 2400u);
    EXPECT_EQ(gateway.Parity_Code(), 2);
    EXPECT_FALSE(engine->UDP_Server().Active()) << "the final state releases the port";
}

TEST_F(WiredScan, OptionsChangeTheFramesSent)
{
    struct Case {
        bool app_reset, snd_nke, fix_c;
        uint8_t fix_value;
        std::vector<const char*> frames;  // what address 3 receives, in order
    };
    const Case cases[] = {
        {false, false, false, 0, {"10 7B 03 7E 16"}},
        {true, false, false, 0, {"68 03 03 68 73 03 50 C6 16", "10 7B 03 7E 16"}},
        {false, true, false, 0, {"10 40 03 43 16", "10 7B 03 7E 16"}},
        {true, true, true, 0, {"68 03 03 68 53 03 50 A6 16", "10 40 03 43 16", "10 5B 03 5E 16"}},
        {false, false, true, 1, {"10 7B 03 7E 16"}},
    };
    for (const Case& c : cases) {
        FakeGateway gw;
        gw.Add_Meter({.Primary = 3, .Id = 0x3, .Frames = {Meter_Frame(3, 0x3)}});
        const Use_Gateway use(*this, gw);
        ASSERT_TRUE(engine->Start_Scan(TScanType::saPrimaryAddress, TSelectHard::shEthernet, "127.0.0.1", 2400, 1,
                                       c.app_reset, c.snd_nke, 1, c.fix_c, c.fix_value, false, Recorder()));
        Run_To_End();
        std::vector<QString> to_three;
        for (const Bytes& b : gw.Received()) {
            const bool short_to_3 = b.size() == 5 && b[2] == 3;
            const bool long_to_3 = b.size() == 9 && b[5] == 3;
            if (short_to_3 || long_to_3)
                to_three.push_back(QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size())).toHex(' ').toUpper());
        }
        ASSERT_EQ(to_three.size(), c.frames.size()) << c.app_reset << c.snd_nke << c.fix_c;
        for (size_t i = 0; i < to_three.size(); ++i)
            EXPECT_EQ(to_three[i], c.frames[i]);
        engine->List_Slave_MBus.clear();
        notes.clear();
    }
}

TEST_F(WiredScan, CutAfterLimitsTheFramesReadFromAMeter)
{
    for (const int cut : {0, 1, 3}) {
        FakeGateway gw;
        gw.Add_Meter({.Primary = 0, .Id = 0x42, .Frames = {Meter_Frame(0, 0x42, More_Records())}});
        const Use_Gateway use(*this, gw);
        ASSERT_TRUE(Start_Primary(cut));
        Run_To_End();
        std::vector<uint8_t> c_fields;
        for (const Bytes& b : gw.Received())
            if (b.size() == 5 && b[0] == 0x10 && b[2] == 0)
                c_fields.push_back(b[1]);
        const std::vector<uint8_t> expected = cut == 3 ? std::vector<uint8_t>{0x7B, 0x5B, 0x7B} : std::vector<uint8_t>{0x7B};
        EXPECT_EQ(c_fields, expected) << cut;
        std::lock_guard lock(engine->List_Mutex);
        ASSERT_EQ(engine->List_Slave_MBus.size(), 1u);
        EXPECT_EQ(engine->List_Slave_MBus[0]->List_Var.size(), size_t(std::max(cut, 1))) << "one record per frame";
        engine->List_Slave_MBus.clear();
        notes.clear();
    }
}

TEST_F(WiredScan, HazardsOfTheLineGiveSoundResults)
{
    // 5 answers far too late: its frame comes while 6 is being asked, and 6 is slow too.
    gateway.Add_Meter({.Primary = 5, .Id = 0x5, .Frames = {Meter_Frame(5, 0x5)}, .Reply_Delay_Ms = 3000});
    gateway.Add_Meter({.Primary = 6, .Id = 0x6, .Frames = {Meter_Frame(6, 0x6)}, .Reply_Delay_Ms = 1000});
    // 7 acknowledges the reset after its time limit: the stray E5 lands in the REQ_UD2 wait.
    gateway.Add_Meter({.Primary = 7, .Id = 0x7, .Frames = {Meter_Frame(7, 0x7)}, .Reply_Delay_Ms = 500, .Ack_Delay_Ms = 1300});
    // 8 sends a datagram larger than the answer buffer.
    Bytes huge = Meter_Frame(8, 0x8);
    huge.resize(3000, 0x2F);
    gateway.Add_Meter({.Primary = 8, .Id = 0x8, .Frames = {huge}});
    // 9 answers with its header and no records: 21 bytes whose length fields agree.
    gateway.Add_Meter({.Primary = 9, .Id = 0x9, .Frames = {Meter_Frame(9, 0x9, {})}});
    // A stray E5 comes just ahead of the answer to the closing command: passed over, not asked again.
    gateway.Before_Answer("Kelvor_Disable_Analyzer_Mode", {0xE5});
    ASSERT_TRUE(engine->Start_Scan(TScanType::saPrimaryAddress, TSelectHard::shEthernet, "127.0.0.1", 2400, 1, true,
                                   false, 1, false, 0, false, Recorder()));
    Run_To_End();
    const auto sent = gateway.Received_Texts();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "Kelvor_Disable_Analyzer_Mode"), 1);
    EXPECT_EQ(gateway.Current_Mode(), FakeGateway::Mode::Normal);
    const auto found = [&](int a) {
        for (const Notification& n : notes)
            if (n.Event == 2 && n.Value == a)
                return n.Found;
        return -1;
    };
    EXPECT_EQ(found(5), 0);
    EXPECT_EQ(found(6), 1);
    EXPECT_EQ(found(7), 1);
    EXPECT_EQ(found(8), 0);
    EXPECT_EQ(found(9), 1);
    EXPECT_EQ(engine->Oversize_Dropped(), 1u);
    std::lock_guard lock(engine->List_Mutex);
    ASSERT_EQ(engine->List_Slave_MBus.size(), 3u);
    EXPECT_EQ(engine->List_Slave_MBus[0]->Primary_Addresss, 6);
    EXPECT_EQ(engine->List_Slave_MBus[0]->Secondary_Addresss, "06") << "meter 5's late frame is not taken for 6";
    EXPECT_EQ(engine->List_Slave_MBus[1]->Primary_Addresss, 7);
    EXPECT_EQ(engine->List_Slave_MBus[2]->Primary_Addresss, 9);
    EXPECT_TRUE(engine->List_Slave_MBus[2]->List_Var.empty());
}

TEST_F(WiredScan, SecondarySearchSeparatesSharedDigitsAndReportsCollisions)
{
    gateway.Add_Meter({.Id = 0x12345678, .Frames = {Meter_Frame(0, 0x12345678)}});
    gateway.Add_Meter({.Id = 0x12345679, .Frames = {Meter_Frame(0, 0x12345679)}});
    gateway.Add_Meter({.Id = 0x87654321, .Frames = {Meter_Frame(0, 0x87654321)}});
    // Two meters with the same number: no digit can tell them apart.
    gateway.Add_Meter({.Id = 0x55555555, .Frames = {Meter_Frame(0, 0x55555555)}});
    gateway.Add_Meter({.Id = 0x55555555, .Frames = {Meter_Frame(0, 0x55555555)}});
    ASSERT_TRUE(engine->Start_Scan(TScanType::saSecondaryAddress, TSelectHard::shEthernet, "127.0.0.1", 2400, 1, false,
                                   false, 1, false, 0, false, Recorder()));
    Run_To_End();
    std::vector<Notification> expected = {{1, 0, 0, 2},
                                          {2, 0x12345678, 1, 2},
                                          {2, 0x12345679, 1, 2},
                                          {4, 0x55555555, 0, 2},
                                          {2, int(0x87654321u), 1, 2},
                                          {3, 0, 0, 2}};
    EXPECT_EQ(notes, expected);
    std::lock_guard lock(engine->List_Mutex);
    EXPECT_EQ(engine->Secondary_Collisions, QStringList{"55555555"});
    ASSERT_EQ(engine->List_Slave_MBus.size(), 3u);
    EXPECT_EQ(engine->List_Slave_MBus[2]->Secondary_Addresss, "87654321");
    // The first selection names digit A alone.
    const auto hex = Sent_Hex();
    EXPECT_TRUE(std::find(hex.begin(), hex.end(), "68 0B 0B 68 73 FD 52 FF FF FF 0F FF FF FF FF CA 16") != hex.end());
}

TEST_F(WiredScan, SecondarySearchWithNoMeterSendsTenSelections)
{
    ASSERT_TRUE(engine->Start_Scan(TScanType::saSecondaryAddress, TSelectHard::shEthernet, "127.0.0.1", 300, 0, false,
                                   false, 1, false, 0, false, Recorder()));
    Run_To_End();
    int selections = 0;
    for (const Bytes& b : gateway.Received())
        selections += b.size() == 17 && b[0] == 0x68 && b[6] == 0x52;
    EXPECT_EQ(selections, 10);
    EXPECT_EQ(gateway.Parity_Code(), 0);
    EXPECT_EQ(notes.back(), (Notification{3, 0, 0, 2}));
}

TEST_F(WiredScan, GatewayFailuresEndTheScanWithResultTwo)
{
    gateway.Ignore_Command("Kelvor_Enable_Analyzer_Mode");
    gateway.Ignore_Command("Kelvor_Disable_Analyzer_Mode", 3);
    ASSERT_TRUE(Start_Primary());
    Run_To_End();
    EXPECT_EQ(engine->FResult(), 2);
    const auto sent = gateway.Received_Texts();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "Kelvor_Disable_Analyzer_Mode"), 3) << "asked three times at most";
    EXPECT_TRUE(notes.empty());

    gateway.Answer_Command("Kelvor_S_M:", {'N', 'O'});
    ASSERT_TRUE(Start_Primary());
    Run_To_End();
    EXPECT_EQ(engine->FResult(), 2);
    EXPECT_EQ(gateway.Current_Mode(), FakeGateway::Mode::Normal);
}

TEST_F(WiredScan, ControlOperationsRefuseWhatCannotRun)
{
    EXPECT_FALSE(engine->Start_Scan(TScanType::saPrimaryAddress, TSelectHard::shEthernet, "127.0.0.1", 0, 1, false,
                                    false, 1, false, 0, false, {}))
        << "a baud rate of 0 would divide by zero";
    EXPECT_FALSE(engine->Start_Scan_Wireless(TSelectHard::shEthernet, "127.0.0.1", 0, 1, 0, false, {}, false));
    gateway.Add_Meter({.Primary = 2, .Id = 0x2, .Frames = {Meter_Frame(2, 0x2)}});
    Hold_At_Sleep(30);
    ASSERT_TRUE(Start_Primary());
    ASSERT_TRUE(Wait_Held());
    EXPECT_FALSE(Start_Primary()) << "another scan is running";
    EXPECT_FALSE(engine->Start_Scan_Wireless(TSelectHard::shEthernet, "127.0.0.1", 9, 1, 0, false, {}, false));
    // Closing the window: the closing states run and the gateway leaves analyzer mode.
    engine->Abort_Scan();
    Release();
    EXPECT_TRUE(engine->Finish_Scan());
    EXPECT_FALSE(engine->FInScan());
    EXPECT_EQ(gateway.Received_Texts().back(), "Kelvor_Disable_Analyzer_Mode");
    EXPECT_EQ(gateway.Current_Mode(), FakeGateway::Mode::Normal);
    QCoreApplication::sendPostedEvents();
    EXPECT_NE(notes.back().Event, 3) << "an abort sends no scan-ended event";
    EXPECT_LT(notes.size(), 30u);

    // A stop ends after the current address, with the scan-ended event.
    notes.clear();
    Hold_At_Sleep(30);
    ASSERT_TRUE(Start_Primary());
    ASSERT_TRUE(Wait_Held());
    engine->Stop_Scan();
    Release();
    Run_To_End();
    ASSERT_GE(notes.size(), 2u);
    EXPECT_LT(notes.size(), 30u);
    EXPECT_EQ(notes.back(), (Notification{3, 0, 0, 1}));
}

TEST_F(WiredScan, CallbackErrorsAreSwallowedAndCallsArriveInOrderOnTheCallerThread)
{
    const auto caller = std::this_thread::get_id();
    std::vector<int> events;
    bool wrong_thread = false;
    gateway.Add_Meter({.Primary = 0, .Id = 0x1, .Frames = {Meter_Frame(0, 0x1)}});
    ASSERT_TRUE(engine->Start_Scan(TScanType::saPrimaryAddress, TSelectHard::shEthernet, "127.0.0.1", 2400, 1, false,
                                   false, 1, false, 0, false, [&](int e, int, int, int) {
                                       wrong_thread |= std::this_thread::get_id() != caller;
                                       events.push_back(e);
                                       throw std::runtime_error("window fault");
                                   }));
    Run_To_End();
    EXPECT_FALSE(wrong_thread);
    ASSERT_EQ(events.size(), 253u);
    EXPECT_EQ(events.front(), 1);
    EXPECT_EQ(events.back(), 3);
}

}  // namespace
