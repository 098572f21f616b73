// Decoding speed of wired RSP_UD frames and mode-5 wireless telegrams, in frames per second.
#include "protocols/mbus/ElAES.h"
#include "protocols/mbus/UMBusDecode.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <vector>

// Allocations while decoding, to show that a record costs only the result it adds. Qt's strings
// allocate with malloc, so it is malloc that counts; the sanitizer keeps its own allocator, so
// they are counted only without it.
namespace {
std::atomic<size_t> Allocations{0};
}

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#define COUNT_ALLOCATIONS 1
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* malloc(size_t size)
{
    Allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size)
{
    Allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}
void* realloc(void* p, size_t size)
{
    Allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, size);
}
}
#endif

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Hex(const char* text)
{
    Bytes bytes;
    Hex_To_Bytes(QString::fromLatin1(text), bytes);
    return bytes;
}

void Append(Bytes& to, const Bytes& bytes) { to.insert(to.end(), bytes.begin(), bytes.end()); }

Bytes Long_Frame(uint32_t id, const Bytes& records)
{
    Bytes body{0x08, uint8_t(id), 0x72, uint8_t(id), uint8_t(id >> 8), uint8_t(id >> 16), uint8_t(id >> 24)};
    Append(body, Hex("2440 01 07 55 00 0000"));
    Append(body, records);
    uint8_t sum = 0;
    for (uint8_t b : body)
        sum = uint8_t(sum + b);
    Bytes frame{0x68, uint8_t(body.size()), uint8_t(body.size()), 0x68};
    Append(frame, body);
    frame.push_back(sum);
    frame.push_back(0x16);
    return frame;
}

// A hundred frames: the documented water meter, a heat meter with dates and extension codes, and
// a meter with many records of every kind.
std::vector<Bytes> Wired_Frames()
{
    const Bytes records[] = {
        Hex("03 13 153100  DA 02 3B 1301  8B 60 04 371802"),
        Hex("04 06 2A000000 04 13 10270000 02 5B 4600 02 5F 3C00 02 61 0A00 04 6D 1E0DC12B 02 FD 17 0000"),
        Hex("04 13 2A000000  0C 13 785634F2  0D 22 C4 78563412  06 6D 051E2DC12B00  02 FD 17 0000"
            "01 FB 78 05  02 FD C8 FC 02 E803  94 8F 51 13 00000000  04 7C 03 682F6D 2A000000"
            "0D 22 03 414243  05 22 0000C0BF  0E 07 999999999999  01 A2 A0 3B 05  02 A2 6A C12B"),
    };
    std::vector<Bytes> frames;
    for (uint32_t i = 0; i < 100; ++i)
        frames.push_back(Long_Frame(0x12345600 + i, records[i % 3]));
    return frames;
}

const TAESKey128 Key{0x0F, 0x0E, 0x0D, 0x0C, 0x0B, 0x0A, 0x09, 0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, 0x00};

// A hundred meters, each sending a mode-5 telegram of two blocks.
std::vector<Bytes> Wireless_Telegrams()
{
    const TAESExpandedKeyEnc schedule = AES_Expand_Key_Enc(Key);
    std::vector<Bytes> telegrams;
    for (uint32_t i = 0; i < 100; ++i) {
        Bytes link{0x44, 0x93, 0x15, uint8_t(i), 0x56, 0x34, 0x12, 0x33, 0x03};
        const Bytes plain = Hex("2F2F 0C14 27048502 046D 32371F15 02FD17 0000 2F2F2F2F2F2F2F2F2F2F2F2F2F");
        TAESBlock vector;
        std::copy(link.begin() + 1, link.end(), vector.begin());
        std::fill(vector.begin() + 8, vector.end(), 0x2A);
        Bytes telegram = link;
        Append(telegram, Hex("7A 2A 00 2025"));
        for (size_t at = 0; at < plain.size(); at += 16) {
            TAESBlock block;
            for (size_t k = 0; k < 16; ++k)
                block[k] = plain[at + k] ^ vector[k];
            vector = AES_Encrypt_Block(block, schedule);
            telegram.insert(telegram.end(), vector.begin(), vector.end());
        }
        Bytes datagram{uint8_t(telegram.size())};
        Append(datagram, telegram);
        Append(datagram, {0x00, 0x50});
        telegrams.push_back(std::move(datagram));
    }
    return telegrams;
}

void Report(benchmark::State& state, size_t frames, size_t records, size_t allocations)
{
    state.counters["frames/s"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
#if defined(COUNT_ALLOCATIONS)
    state.counters["allocs/record"] = records ? double(allocations) / double(records) : 0.0;
#else
    (void)records;
    (void)allocations;
#endif
}

void BM_DecodeWired(benchmark::State& state)
{
    const std::vector<Bytes> frames = Wired_Frames();
    TMBusDecoder decoder;
    size_t decoded = 0;
    size_t records = 0;
    size_t allocations = 0;
    for (auto _ : state) {
        TList_Slave_MBus meters;
        meters.reserve(frames.size());
        const size_t before = Allocations.load();
        for (const Bytes& frame : frames) {
            bool complete = false;
            benchmark::DoNotOptimize(decoder.Register_Wired_Meter(frame, -1, complete, meters));
        }
        allocations += Allocations.load() - before;
        for (const auto& meter : meters)
            records += meter->List_Var.size();
        decoded += frames.size();
    }
    Report(state, decoded, records, allocations);
}
BENCHMARK(BM_DecodeWired);

void BM_DecodeWireless(benchmark::State& state)
{
    const std::vector<Bytes> telegrams = Wireless_Telegrams();
    TMBusDecoder decoder;
    TList_Slave_wMBus meters;
    for (const Bytes& telegram : telegrams) {
        const int index = decoder.Decode_Telegram(telegram, TRadioModule::rmTelit, meters);
        meters[size_t(index)]->Key = Key;
        meters[size_t(index)]->Enable_Key = true;
    }
    size_t decoded = 0;
    size_t records = 0;
    size_t allocations = 0;
    for (auto _ : state) {
        const size_t before = Allocations.load();
        for (const Bytes& telegram : telegrams)
            benchmark::DoNotOptimize(decoder.Decode_Telegram(telegram, TRadioModule::rmTelit, meters));
        allocations += Allocations.load() - before;
        for (const auto& meter : meters)
            records += meter->List_Var.size();
        decoded += telegrams.size();
    }
    if (meters.size() != telegrams.size() || meters[0]->Cripted)
        state.SkipWithError("the telegrams did not decrypt");
    Report(state, decoded, records, allocations);
}
BENCHMARK(BM_DecodeWireless);

}  // namespace

BENCHMARK_MAIN();
