#include "MBusFrames.h"

#include <gtest/gtest.h>

#include <random>

using namespace mbus_test;

// Every valid frame and telegram of the tests, each mutated a thousand times with a fixed seed:
// bit flips, cut ends and lying length and count bytes. Each mutant lives in a buffer of exactly
// its size, so that the sanitizer reports any read outside it; the walk must end and never keep
// more records than it had bytes.
namespace {

constexpr int Mutations = 1000;

enum class Kind { Wired, Wireless };

struct Seed {
    const char* Name;
    Kind Type;
    Bytes Data;
    std::vector<size_t> Counts;  // positions of length and count bytes
};

std::vector<Seed> Seeds()
{
    const auto wired = [](const Bytes& records) { return Long_Frame(0x08, 0x02, 0x72, Water_Meter_Header(), records); };
    // Wired: both L bytes; wireless: the L field, the AFL length, the configuration word.
    const std::vector<size_t> wired_counts{1, 2, 19, 20, 21};
    return {
        {"water meter", Kind::Wired, Water_Meter_Frame(), wired_counts},
        {"many records", Kind::Wired, wired(Rich_Records()), wired_counts},
        {"annex 7A", Kind::Wireless, Telit_Datagram(Annex_Telegram()), {0, 13, 14}},
        {"annex ELL", Kind::Wireless, Telit_Datagram(Annex_Telegram_ELL()), {0, 13, 16, 17}},
        {"annex 72", Kind::Wireless,
         Telit_Datagram(Join({Hex("44 2440 44332211 01 07"), Hex("72 78563412 9315 33 03 2A 00 2025"), Annex_Cipher()})),
         {0, 21, 22}},
        {"mode 7", Kind::Wireless, Telit_Datagram(Mode7_Telegram(Annex_Key())), {0, 14, 15, 16, 17, 41, 42}},
        {"longest mode 5", Kind::Wireless, Telit_Datagram(Longest_Mode5_Telegram()), {0, 13, 14}},
        {"plain records", Kind::Wireless, Telit_Datagram(Join({Annex_Link(), Hex("7A 01 00 0000"), Rich_Records()})),
         {0, 13, 14}},
    };
}

Bytes Mutate(const Seed& seed, std::mt19937& random)
{
    Bytes bytes = seed.Data;
    const auto pick = [&](size_t below) { return std::uniform_int_distribution<size_t>(0, below - 1)(random); };
    switch (pick(4)) {
    case 0:  // bit flips
        for (size_t n = 1 + pick(4); n > 0; --n)
            bytes[pick(bytes.size())] ^= uint8_t(1u << pick(8));
        break;
    case 1:  // cut end
        bytes.resize(pick(bytes.size()));
        break;
    case 2: {  // a lying length or count byte
        static constexpr uint8_t lies[] = {0x00, 0x01, 0x0D, 0x7F, 0x80, 0xBF, 0xC9, 0xF0, 0xFA, 0xFF};
        const size_t at = seed.Counts[pick(seed.Counts.size())];
        if (at < bytes.size())
            bytes[at] = pick(2) ? lies[pick(std::size(lies))] : uint8_t(pick(256));
        break;
    }
    default:  // a lying byte anywhere, then a cut end
        bytes[pick(bytes.size())] = uint8_t(pick(256));
        bytes.resize(bytes.size() - pick(std::min<size_t>(bytes.size(), 8)));
        break;
    }
    return bytes;
}

size_t Records(const TList_Slave_MBus& meters)
{
    size_t count = 0;
    for (const auto& meter : meters)
        count += meter->List_Var.size();
    return count;
}

}  // namespace

TEST(MBusMutation, MutatedFramesAndTelegramsDecodeSafely)
{
    std::mt19937 random(20240305);
    Decoder decoder;
    for (const Seed& seed : Seeds()) {
        // The seed itself decodes.
        if (seed.Type == Kind::Wired) {
            TList_Slave_MBus meters;
            bool complete = false;
            ASSERT_TRUE(Is_Valid_RSP_UD(seed.Data)) << seed.Name;
            ASSERT_EQ(decoder.Register_Wired_Meter(seed.Data, -1, complete, meters), 0) << seed.Name;
            ASSERT_FALSE(meters[0]->List_Var.empty()) << seed.Name;
        } else {
            TList_Slave_wMBus meters;
            ASSERT_EQ(decoder.Decode_Telegram(seed.Data, TRadioModule::rmTelit, meters), 0) << seed.Name;
            meters[0]->Key = Annex_Key();
            meters[0]->Enable_Key = true;
            ASSERT_EQ(decoder.Decode_Telegram(seed.Data, TRadioModule::rmTelit, meters), 0) << seed.Name;
            ASSERT_FALSE(meters[0]->Cripted) << seed.Name;
        }

        for (int i = 0; i < Mutations; ++i) {
            const Bytes mutant = Mutate(seed, random);
            SCOPED_TRACE(testing::Message() << seed.Name << " mutation " << i);
            if (seed.Type == Kind::Wired) {
                TList_Slave_MBus meters;
                bool complete = false;
                decoder.Register_Wired_Meter(mutant, -1, complete, meters);
                TList_Var vars;
                decoder.Decode_Records(vars, mutant, false);
                ASSERT_LE(Records(meters) + vars.size(), 2 * mutant.size());
            } else {
                // A meter that holds the key, so that the decryptions run on the mutants too.
                TList_Slave_wMBus meters;
                decoder.Decode_Telegram(seed.Data, TRadioModule::rmTelit, meters);
                meters[0]->Key = Annex_Key();
                meters[0]->Enable_Key = true;
                for (TRadioModule module : {TRadioModule::rmTelit, TRadioModule::rmRadioCrafts}) {
                    const int index = decoder.Decode_Telegram(mutant, module, meters);
                    ASSERT_LT(index, int(meters.size()));
                    if (index >= 0) {
                        ASSERT_LE(meters[size_t(index)]->List_Var.size(), mutant.size());
                    }
                }
            }
        }
    }
}
