#include "MBusFrames.h"

#include <gtest/gtest.h>

using namespace mbus_test;

namespace {

std::vector<const TVariable_MBus*> Real_Records(const TSlave_wMBus& meter)
{
    std::vector<const TVariable_MBus*> real;
    for (const auto& var : meter.List_Var)
        if (var->Real_Wireless_Var)
            real.push_back(var.get());
    return real;
}

// The three records of the annex example's plaintext.
void Expect_Annex_Records(const TSlave_wMBus& meter)
{
    EXPECT_FALSE(meter.Cripted);
    const auto real = Real_Records(meter);
    ASSERT_EQ(real.size(), 3u);
    EXPECT_EQ(real[0]->ValueStr, "28504.27");
    EXPECT_EQ(real[0]->Desc_Type_Data, "Volume m3");
    EXPECT_EQ(real[1]->ValueStr, "31/05/08 23:50");
    EXPECT_EQ(real[2]->Desc_Type_Data, "Error Flag (Binary)");
    EXPECT_EQ(real[2]->ValueStr, "0");
    EXPECT_EQ(meter.List_Var.size(), 3u + 2u + 13u) << "idle fillers are records of their own";
}

class Wireless : public ::testing::Test {
protected:
    // Decodes a telegram with a Telit trailer.
    int Decode(const Bytes& telegram) { return decoder.Decode_Telegram(Telit_Datagram(telegram), TRadioModule::rmTelit, meters); }

    void Give_Key(int index, const TAESKey128& key)
    {
        meters[size_t(index)]->Key = key;
        meters[size_t(index)]->Enable_Key = true;
    }

    Decoder decoder;
    TList_Slave_wMBus meters;
};

TAESKey128 Wrong_Key()
{
    TAESKey128 key = Annex_Key();
    key[15] ^= 0x01;
    return key;
}

// A mode-0 telegram with a short transport header and the given records.
Bytes Plain_Telegram(const char* link, const char* records)
{
    return Join({Hex(link), Hex("7A 01 00 0000"), Hex(records)});
}

}  // namespace

// The annex telegram: unknown meter first (no key yet, shown encrypted), then decrypted once the
// key is given, in the plain CI 0x7A form and in the extended-link-layer form.
TEST_F(Wireless, AnnexModeFiveTelegramDecryptsWithItsKey)
{
    for (const Bytes& telegram : {Annex_Telegram(), Annex_Telegram_ELL()}) {
        meters.clear();
        ASSERT_EQ(Decode(telegram), 0);
        const TSlave_wMBus& meter = *meters[0];
        EXPECT_TRUE(meter.Cripted);
        EXPECT_TRUE(meter.List_Var.empty());
        EXPECT_EQ(meter.Message_Type, 0x44);
        EXPECT_EQ(meter.LLA_Manufacturer, 0x1593);
        EXPECT_EQ(meter.LLA_Manu_str, "ELS");
        EXPECT_EQ(meter.LLA_Address, 0x12345678);
        EXPECT_EQ(meter.LLA_Version, 0x33);
        EXPECT_EQ(meter.LLA_DeviceType, 0x03);
        EXPECT_EQ(meter.ALA_Manufacturer, 0x1593);
        EXPECT_EQ(meter.ALA_Address, 0x12345678);
        EXPECT_EQ(meter.RSSI, -82);
        EXPECT_EQ(meter.RadioCrafts_Ind_Tab_Decript, -1);
        EXPECT_EQ(meter.DateTime, QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30)));

        Give_Key(0, Annex_Key());
        ASSERT_EQ(Decode(telegram), 0);
        ASSERT_EQ(meters.size(), 1u);
        Expect_Annex_Records(*meters[0]);
    }
}

// The long transport header carries the meter's own identity, which gives the IV; the link
// layer here is another device's.
TEST_F(Wireless, ModeFiveBehindTheLongTransportHeader)
{
    const Bytes telegram = Join({Hex("44 2440 44332211 01 07"), Hex("72 78563412 9315 33 03 2A 00 2025"), Annex_Cipher()});
    ASSERT_EQ(Decode(telegram), 0);
    EXPECT_EQ(meters[0]->ALA_Manufacturer, 0x1593);
    EXPECT_EQ(meters[0]->ALA_Address, 0x12345678);
    EXPECT_EQ(meters[0]->LLA_Manu_str, "PAD");
    EXPECT_TRUE(meters[0]->Cripted);
    Give_Key(0, Annex_Key());
    ASSERT_EQ(Decode(telegram), 0);
    Expect_Annex_Records(*meters[0]);

    // The same behind the extended link layer.
    const Bytes extended = Join({Hex("44 9315 78563412 33 03"), Hex("8C 20 2A"), Hex("72 78563412 9315 33 03 2A 00 2025"),
                                 Annex_Cipher()});
    ASSERT_EQ(Decode(extended), 0);
    Expect_Annex_Records(*meters[0]);
}

// A wrong key or a damaged telegram never shows as data: the meter is shown encrypted and keeps
// no records.
TEST_F(Wireless, WrongKeyOrDamagedTelegramIsRefused)
{
    ASSERT_EQ(Decode(Annex_Telegram()), 0);
    Give_Key(0, Annex_Key());
    ASSERT_EQ(Decode(Annex_Telegram()), 0);
    ASSERT_FALSE(meters[0]->Cripted);

    Bytes damaged = Annex_Telegram();
    damaged[16] ^= 0x01;  // the first cipher block
    struct Case {
        const char* Name;
        Bytes Telegram;
        TAESKey128 Key;
    };
    for (const Case& c : {Case{"wrong key", Annex_Telegram(), Wrong_Key()}, Case{"damaged", damaged, Annex_Key()}}) {
        Give_Key(0, c.Key);
        ASSERT_EQ(Decode(c.Telegram), 0) << c.Name;
        EXPECT_TRUE(meters[0]->Cripted) << c.Name;
        EXPECT_TRUE(meters[0]->List_Var.empty()) << c.Name;
    }
}

// Security mode 13 is not mode 5; mode 0 behind either transport header is plain, filler or not.
TEST_F(Wireless, SecurityModeDecidesWhatIsReadable)
{
    struct Case {
        const char* Name;
        Bytes Telegram;
        bool Cripted;
        size_t Records;
    };
    const Case cases[] = {
        {"mode 13 behind the ELL", Join({Annex_Link(), Hex("8C 20 2A 7A 2A 00 200D"), Annex_Cipher()}), true, 0},
        {"mode 0, short header", Plain_Telegram("44 9315 78563412 33 03", "04 13 2A000000"), false, 1},
        {"mode 0, long header, no filler", Join({Annex_Link(), Hex("72 78563412 9315 33 03 01 00 0000 04 13 2A000000")}),
         false, 1},
        {"mode 16 is no plain mode", Join({Annex_Link(), Hex("7A 01 00 0010 04 13 2A000000")}), true, 0},
        {"plain CI 0x78 behind the ELL", Join({Annex_Link(), Hex("8C 20 2A 78 04 13 2A000000")}), false, 1},
        {"unknown CI", Join({Annex_Link(), Hex("A0 78563412 9315 33 03 04 13 2A000000")}), true, 0},
    };
    for (const Case& c : cases) {
        meters.clear();
        ASSERT_EQ(Decode(c.Telegram), 0) << c.Name;
        Give_Key(0, Annex_Key());
        ASSERT_EQ(Decode(c.Telegram), 0) << c.Name;
        EXPECT_EQ(meters[0]->Cripted, c.Cripted) << c.Name;
        EXPECT_EQ(meters[0]->List_Var.size(), c.Records) << c.Name;
        if (c.Records) {
            EXPECT_EQ(meters[0]->List_Var[0]->ValueStr, "0.042") << c.Name;
        }
    }
}

// Fifteen blocks, the most a configuration word can announce, decrypt whole.
TEST_F(Wireless, ModeFiveLongestPayload)
{
    const Bytes telegram = Longest_Mode5_Telegram();
    ASSERT_EQ(Decode(telegram), 0);
    Give_Key(0, Annex_Key());
    ASSERT_EQ(Decode(telegram), 0);
    EXPECT_FALSE(meters[0]->Cripted);
    ASSERT_EQ(Real_Records(*meters[0]).size(), 1u);
    EXPECT_EQ(meters[0]->List_Var.size(), 1u + 2u + 232u);
}

// Every field a CI names lies inside the telegram, or the telegram is dropped: no meter is made,
// a known meter keeps what it had and the window hears nothing.
TEST_F(Wireless, ShortTelegramsAreDropped)
{
    ASSERT_EQ(Decode(Plain_Telegram("44 9315 78563412 33 03", "04 13 2A000000")), 0);
    Give_Key(0, Annex_Key());
    int calls = 0;
    decoder.UpdateListWirelessSlave = [&](int, TSlave_wMBus*) { ++calls; };

    const Bytes link = Annex_Link();
    struct Case {
        const char* Name;
        Bytes Telegram;
    };
    const Case cases[] = {
        {"no CI", Hex("44 9315 78563412 33")},
        {"short header without its configuration word", Join({link, Hex("7A 2A 00")})},
        {"long header cut", Join({link, Hex("72 78563412 9315 33 03 2A 00 20")})},
        {"other CI without the application identity", Join({link, Hex("A0 78563412 9315 33")})},
        {"ELL without its transport CI", Join({link, Hex("8C 20")})},
        {"long ELL cut", Join({link, Hex("8D 20 2A 01020304 0506")})},
        {"AFL longer than the telegram", Join({link, Hex("8C 20 2A 90 40 002C")})},
        {"mode 5 announcing more blocks than sent", Join({link, Hex("7A 2A 00 F005"), Annex_Cipher()})},
        {"mode 5 announcing one block more", Join({link, Hex("8C 20 2A 7A 2A 00 3005"), Annex_Cipher()})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Decode(c.Telegram), -1) << c.Name;
        EXPECT_EQ(decoder.Drop_Text(), "telegram too short for the fields its CI names") << c.Name;
        ASSERT_EQ(meters.size(), 1u) << c.Name;
        ASSERT_EQ(meters[0]->List_Var.size(), 1u) << c.Name;
    }
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(decoder.Decode_Telegram(Bytes{0x0C, 0x44}, TRadioModule::rmTelit, meters), -1);
    EXPECT_EQ(decoder.Decode_Telegram(Bytes(3000, 0x2F), TRadioModule::rmTelit, meters), -1);
    EXPECT_EQ(decoder.Drop_Text(), "telegram too long: 3000 bytes, at most 2049");
    // A telegram that is kept clears the reason of the one before.
    ASSERT_EQ(Decode(Plain_Telegram("44 9315 78563412 33 03", "04 13 2A000000")), 0);
    EXPECT_TRUE(decoder.Drop_Text().isEmpty());
}

TEST_F(Wireless, SignalLevelAndRecordEndByModule)
{
    const Bytes telegram = Plain_Telegram("44 9315 78563412 33 03", "04 13 2A000000");
    struct Case {
        TRadioModule Module;
        uint8_t Signal;
        int Rssi;
    };
    for (const Case& c : {Case{TRadioModule::rmTelit, 0x50, -82}, Case{TRadioModule::rmTelit, 0x00, -2},
                          Case{TRadioModule::rmTelit, 0xFF, -1}, Case{TRadioModule::rmRadioCrafts, 0xB4, -37},
                          Case{TRadioModule::rmRadioCrafts, 0x7F, 64}, Case{TRadioModule::rmRadioCrafts, 0x01, 1}}) {
        meters.clear();
        const Bytes datagram = c.Module == TRadioModule::rmTelit ? Telit_Datagram(telegram, c.Signal)
                                                                  : RadioCrafts_Datagram(telegram, c.Signal);
        ASSERT_EQ(decoder.Decode_Telegram(datagram, c.Module, meters), 0);
        EXPECT_EQ(meters[0]->RSSI, c.Rssi) << int(c.Signal);
        // The trailer is never read as record bytes.
        ASSERT_EQ(meters[0]->List_Var.size(), 1u);
        EXPECT_EQ(meters[0]->List_Var[0]->ValueStr, "0.042");
    }
}

// Meters are told apart by the four application-layer fields; a later telegram replaces the
// records, time and signal level but not the identity.
TEST_F(Wireless, MetersAreIdentifiedByTheirApplicationLayer)
{
    std::vector<int> notified;
    decoder.UpdateListWirelessSlave = [&](int index, TSlave_wMBus* meter) {
        EXPECT_EQ(meter, meters[size_t(index)].get());
        notified.push_back(index);
    };
    EXPECT_EQ(Decode(Plain_Telegram("44 9315 78563412 33 03", "04 13 2A000000")), 0);
    EXPECT_EQ(Decode(Plain_Telegram("44 9315 78563412 33 04", "04 13 2A000000")), 1);
    EXPECT_EQ(Decode(Plain_Telegram("08 9315 78563412 33 03", "04 13 2B000000 04 13 01000000")), 0);
    EXPECT_EQ(notified, (std::vector<int>{0, 1, 0}));
    ASSERT_EQ(meters.size(), 2u);
    EXPECT_EQ(meters[0]->Message_Type, 0x44);
    ASSERT_EQ(meters[0]->List_Var.size(), 2u);
    EXPECT_EQ(meters[0]->List_Var[0]->ValueStr, "0.043");
    EXPECT_EQ(TMBusDecoder::Find_Wireless_Meter(meters, 0x1593, 0x12345678, 0x33, 0x04), 1);
    EXPECT_EQ(TMBusDecoder::Find_Wireless_Meter(meters, 0x1593, 0x12345678, 0x34, 0x04), -1);
}

using ModeSeven = Wireless;

TEST_F(ModeSeven, DecryptsWithTheDerivedKey)
{
    const Bytes telegram = Mode7_Telegram(Annex_Key());
    ASSERT_EQ(Telit_Datagram(telegram)[15 + 23], 0x7A);
    ASSERT_EQ(Decode(telegram), 0);
    EXPECT_TRUE(meters[0]->Cripted);
    Give_Key(0, Annex_Key());
    ASSERT_EQ(Decode(telegram), 0);
    EXPECT_FALSE(meters[0]->Cripted);
    const auto real = Real_Records(*meters[0]);
    ASSERT_EQ(real.size(), 1u);
    EXPECT_EQ(real[0]->ValueStr, "0.042");
}

// Bit 5 of the configuration word's high byte puts the payload four bytes later; the fillers test
// and the records start there too.
TEST_F(ModeSeven, PayloadAfterTheLongerTransportHeader)
{
    const Bytes telegram = Mode7_Telegram(Annex_Key(), Mode7_Afl(), "7A 2A 00 2027 10 01020304");
    ASSERT_EQ(Decode(telegram), 0);
    Give_Key(0, Annex_Key());
    ASSERT_EQ(Decode(telegram), 0);
    EXPECT_FALSE(meters[0]->Cripted);
    const auto real = Real_Records(*meters[0]);
    ASSERT_EQ(real.size(), 1u);
    EXPECT_EQ(real[0]->ValueStr, "0.042");
}

// A telegram that does not decrypt to the fillers leaves the meter as it was, and the window is
// still told about it.
TEST_F(ModeSeven, WrongKeyLeavesTheMeterAsItWas)
{
    ASSERT_EQ(Decode(Mode7_Telegram(Annex_Key())), 0);
    Give_Key(0, Annex_Key());
    ASSERT_EQ(Decode(Mode7_Telegram(Annex_Key())), 0);
    const size_t records = meters[0]->List_Var.size();
    int calls = 0;
    decoder.UpdateListWirelessSlave = [&](int, TSlave_wMBus*) { ++calls; };
    decoder.Clock = [] { return QDateTime(QDate(2025, 1, 1), QTime(0, 0)); };
    ASSERT_EQ(Decode(Mode7_Telegram(Wrong_Key())), 0);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(meters[0]->Cripted);
    EXPECT_EQ(meters[0]->List_Var.size(), records);
    EXPECT_EQ(meters[0]->DateTime.date(), QDate(2024, 3, 5));
}

// Without the message counter there is no key to derive: nothing is decrypted.
TEST_F(ModeSeven, AflWithoutCounterIsNotDecrypted)
{
    const Bytes afl = Join({Hex("90 13 0024 07"), Bytes(16, 0xAA)});
    const Bytes telegram = Mode7_Telegram(Annex_Key(), afl);
    ASSERT_EQ(Decode(telegram), 0);
    Give_Key(0, Annex_Key());
    ASSERT_EQ(Decode(telegram), 0);
    EXPECT_TRUE(meters[0]->Cripted);
    EXPECT_TRUE(meters[0]->List_Var.empty());
}
