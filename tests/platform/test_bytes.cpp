#include "platform/Bytes.h"
#include "platform/CodeTable.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

using platform::ByteReader;
using platform::ByteWriter;

namespace {
const std::array<uint8_t, 6> Six{0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
}

TEST(ByteReader, ReadsLittleAndBigEndianInOrder)
{
    ByteReader r(Six);
    EXPECT_EQ(r.U16LE(), 0x0201);
    EXPECT_EQ(r.U16BE(), 0x0304);
    EXPECT_EQ(r.U8(), 0x05);
    EXPECT_EQ(r.Remaining(), 1u);
    EXPECT_EQ(r.Peek(), 0x06);
    EXPECT_EQ(r.Peek(1), 0);
    EXPECT_TRUE(r.Ok());
    ByteReader w(Six);
    EXPECT_EQ(w.U24LE(), 0x030201u);
    EXPECT_EQ(w.UIntBE(3), 0x040506u);
    EXPECT_TRUE(w.AtEnd());
}

// Every read that does not fit fails, answers zero, and leaves the position and the error where
// the first failure put them; nothing is read from outside the span.
TEST(ByteReader, ReadsPastTheEndFailAndStick)
{
    struct Case {
        const char* Name;
        size_t Before;
        std::function<uint64_t(ByteReader&)> Read;
    };
    const Case cases[] = {
        {"u8 at end", 6, [](ByteReader& r) { return r.U8(); }},
        {"u16 with one left", 5, [](ByteReader& r) { return r.U16LE(); }},
        {"u32 with three left", 3, [](ByteReader& r) { return r.U32BE(); }},
        {"u64 from a short span", 0, [](ByteReader& r) { return r.U64LE(); }},
        {"nine-byte integer", 0, [](ByteReader& r) { return r.UIntLE(9); }},
        {"bytes beyond", 2, [](ByteReader& r) { return r.Bytes(5).size(); }},
        {"huge count", 1, [](ByteReader& r) { return r.Bytes(SIZE_MAX).size(); }},
        {"seek past end", 0, [](ByteReader& r) { return uint64_t(r.Seek(7)); }},
        {"sub past end", 4, [](ByteReader& r) { return r.Sub(3).Size(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ByteReader r(Six);
        r.Skip(c.Before);
        EXPECT_EQ(c.Read(r), 0u);
        EXPECT_FALSE(r.Ok());
        const size_t at = r.Position();
        EXPECT_EQ(r.U8(), 0);
        EXPECT_TRUE(r.Bytes(0).empty());
        EXPECT_EQ(r.Position(), at);
        EXPECT_FALSE(r.Ok());
    }
}

TEST(ByteReader, SubReaderIsBoundedToItsBytes)
{
    ByteReader r(Six);
    r.U8();
    ByteReader sub = r.Sub(2);
    EXPECT_EQ(r.Position(), 3u);
    EXPECT_EQ(sub.U16LE(), 0x0302);
    EXPECT_EQ(sub.U8(), 0);
    EXPECT_FALSE(sub.Ok());
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(r.U8(), 0x04);
}

TEST(ByteWriter, FixedBufferRefusesWholeWritesThatDoNotFit)
{
    std::array<uint8_t, 5> buffer{};
    ByteWriter w(buffer);
    EXPECT_TRUE(w.U16LE(0x1234));
    EXPECT_TRUE(w.U8(0xAB));
    EXPECT_FALSE(w.U32BE(0xDEADBEEF));
    EXPECT_FALSE(w.Ok());
    EXPECT_EQ(w.FailedAt(), 3u);
    EXPECT_EQ(w.FailedCount(), 4u);
    EXPECT_FALSE(w.U8(0xFF));  // sticky
    EXPECT_EQ(buffer, (std::array<uint8_t, 5>{0x34, 0x12, 0xAB, 0, 0}));
}

TEST(ByteWriter, GrowingBufferAppendsUpToItsLimit)
{
    ByteWriter w(6);
    EXPECT_TRUE(w.U32BE(0x01020304));
    EXPECT_TRUE(w.Bytes(std::string_view("\x05")));
    EXPECT_FALSE(w.Fill(2, 0xEE));
    EXPECT_EQ(w.Buffer(), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    ByteWriter v;
    v.Fill(3, 7);
    EXPECT_TRUE(v.Seek(1));
    v.U16LE(0x0908);
    EXPECT_EQ(v.Take(), (std::vector<uint8_t>{7, 8, 9}));
}

TEST(CodeTable, NamesKnownCodesAndDefaultsTheRest)
{
    const platform::CodeTable<> table({{0x7A, "short header"}, {0x72, "long header"}, {0x7A, "duplicate"}},
                                      "unknown");
    EXPECT_EQ(table[0x72], "long header");
    EXPECT_EQ(table[0x7A], "short header");
    EXPECT_EQ(table[0x00], "unknown");
    EXPECT_FALSE(table.Contains(0x73));
    EXPECT_EQ(table.All().size(), 2u);
}
