#include <gtest/gtest.h>

#include "grid/core/ExtStringGrid.h"

using namespace grid;

namespace {

std::vector<uint8_t> Utf16Lines(const QStringList& lines)
{
    std::vector<uint8_t> out;
    for (const QString& line : lines) {
        for (QChar c : line + QStringLiteral("\r\n")) {
            out.push_back(uint8_t(c.unicode() & 0xFF));
            out.push_back(uint8_t(c.unicode() >> 8));
        }
    }
    return out;
}

// Everything a refused load must leave alone.
struct TSnapshot {
    int Cols, Rows, Hidden;
    std::vector<int> Widths;
    QStringList Texts;
    explicit TSnapshot(TExtStringGrid& g) : Cols(g.ColCount()), Rows(g.RowCount()), Hidden(g.NumHiddenColumns())
    {
        for (int c = 0; c < g.ColCount(); ++c)
            Widths.push_back(g.ColWidths(c));
        for (int r = 0; r < g.RowCount(); ++r)
            for (int c = 0; c < g.TotalColCount(); ++c)
                Texts << g.GetGridCell(c, r);
    }
    bool operator==(const TSnapshot&) const = default;
};

void Fill(TExtStringGrid& g)
{
    g.SetColCount(4);
    g.SetRowCount(5);
    g.SetColWidths(2, 90);
    g.SetCells(0, 0, QStringLiteral("head"));
    g.SetCells(1, 1, QStringLiteral("a,b,c"));
    g.SetCells(2, 2, QStringLiteral("line one\r\nline two"));
    g.SetCells(3, 4, QString::fromUtf16(u"\u20AC uro"));
}

TEST(CellStream, RoundTripThroughAssignCells)
{
    TExtStringGrid source, target;
    Fill(source);
    target.Multilinecells = true;
    target.AssignCells(source);
    EXPECT_EQ(target.ColCount(), 4);
    EXPECT_EQ(target.RowCount(), 5);
    EXPECT_EQ(target.ColWidths(2), 90);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(target.Cells(c, r), source.Cells(c, r)) << c << "," << r;

    TExtStringGrid single;
    single.AssignCells(source);
    EXPECT_EQ(single.Cells(2, 2), QStringLiteral("line one"));
}

TEST(CellStream, AssignCopiesLayoutAndCells)
{
    TExtStringGrid source, target;
    Fill(source);
    source.SetRowHeights(3, 40);
    source.Bands.SetActive(true);
    source.Options |= goEditing;
    target.Assign(source);
    EXPECT_EQ(target.RowHeights(3), 40);
    EXPECT_TRUE(target.Bands.Active());
    EXPECT_TRUE(target.Options & goEditing);
    EXPECT_EQ(target.Cells(1, 1), QStringLiteral("a,b,c"));
}

TEST(CellStream, WritesTheDocumentedLines)
{
    TExtStringGrid g;
    g.SetColCount(2);
    g.SetRowCount(2);
    g.SetCells(1, 1, QStringLiteral("x"));
    TMemoryStream s;
    g.SaveToStream(s);
    EXPECT_EQ(s.Bytes(), Utf16Lines({"2,2", "cw 0,64", "cw 1,64", "1,1,x"}));
}

TEST(CellStream, StopsAtAForeignLineAndLeavesItUnread)
{
    TExtStringGrid g;
    const auto grid = Utf16Lines({"2,2", "1,1,x"});
    auto bytes = grid;
    const auto tail = Utf16Lines({"not a cell", "more"});
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    TMemoryStream s(bytes);
    g.LoadFromStream(s);
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("x"));
    EXPECT_EQ(s.Position(), grid.size());
}

TEST(CellStream, RefusedStreamsLeaveTheGridAsItWas)
{
    const struct {
        const char* Why;
        QStringList Lines;
    } cases[] = {
        {"count is not a number", {"x,2", "1,1,a"}},
        {"counts without comma", {"22"}},
        {"negative count", {"-1,2"}},
        {"count beyond any grid", {"2,99999999"}},
        {"cell column outside the counts", {"2,2", "5,1,a"}},
        {"cell row outside the counts", {"2,2", "1,2,a"}},
        {"width of a column outside", {"2,2", "cw 7,50"}},
        {"width not a number", {"2,2", "cw 1,wide"}},
        {"negative width", {"2,2", "cw 1,-5"}},
        {"cell position not a number", {"2,2", "1x,1,a"}},
    };
    for (const auto& c : cases) {
        TExtStringGrid g;
        Fill(g);
        g.HideColumn(1);
        const TSnapshot before(g);
        TMemoryStream s(Utf16Lines(c.Lines));
        s.SetPosition(0);
        EXPECT_THROW(g.LoadFromStream(s), EExtGridError) << c.Why;
        EXPECT_TRUE(TSnapshot(g) == before) << c.Why;
        EXPECT_EQ(s.Position(), 0u) << c.Why;
    }
}

TEST(CellStream, ShortStreamIsRefused)
{
    TExtStringGrid source;
    Fill(source);
    TMemoryStream full;
    source.SaveToStream(full);
    for (size_t cut : {size_t(3), full.Size() - 1, full.Size() - 3, full.Size() - 6}) {
        TExtStringGrid g;
        const TSnapshot before(g);
        std::vector<uint8_t> bytes(full.Bytes().begin(), full.Bytes().begin() + long(cut));
        TMemoryStream s(bytes);
        EXPECT_THROW(g.LoadFromStream(s), EExtGridError) << cut;
        EXPECT_TRUE(TSnapshot(g) == before) << cut;
    }
}

// A thousand deterministic mutations of a valid stream: each either loads or is refused with the
// grid unchanged; none may crash, hang or read outside the stream.
TEST(CellStream, MutatedStreamsLoadOrAreRefusedCleanly)
{
    TExtStringGrid source;
    Fill(source);
    TMemoryStream valid;
    source.SaveToStream(valid);
    const std::vector<uint8_t>& base = valid.Bytes();

    uint32_t seed = 20261210;
    auto next = [&] {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        return seed;
    };
    const uint8_t interesting[] = {'0', '9', ',', '-', 'c', 'w', ' ', 13, 10, 0, 0xFF};
    int loaded = 0, refused = 0;
    for (int round = 0; round < 1000; ++round) {
        std::vector<uint8_t> bytes = base;
        const int edits = 1 + int(next() % 4);
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            const size_t at = next() % bytes.size();
            switch (next() % 5) {
            case 0:
                bytes[at] ^= uint8_t(1u << (next() % 8));
                break;
            case 1:
                bytes[at] = interesting[next() % sizeof(interesting)];
                break;
            case 2:
                bytes.insert(bytes.begin() + long(at), interesting[next() % sizeof(interesting)]);
                break;
            case 3:
                bytes.erase(bytes.begin() + long(at));
                break;
            default:
                bytes.resize(at);
                break;
            }
        }
        TExtStringGrid g;
        g.SetCells(1, 1, QStringLiteral("before"));
        const TSnapshot before(g);
        TMemoryStream s(bytes);
        try {
            g.LoadFromStream(s);
            ++loaded;
            ASSERT_LE(g.RowCount(), 1000000);
            ASSERT_LE(s.Position(), bytes.size());
        } catch (const EExtGridError&) {
            ++refused;
            ASSERT_TRUE(TSnapshot(g) == before) << "round " << round;
            ASSERT_EQ(s.Position(), 0u);
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}

}  // namespace
