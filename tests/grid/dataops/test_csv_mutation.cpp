// Seeded mutations of CSV streams: each mutant is either read or refused; a refusal leaves the
// grid exactly as it was, a read leaves the Delimiter as it was and reads alike every time.
#include <gtest/gtest.h>
#include <random>

#include "grid/dataops/GridCsv.h"
#include "grid/dataops/GridTextCoding.h"
#include "TextFormatsSuite.h"
#include "support/QStringPrinter.h"

using namespace grid;
using namespace grid::dataops;

namespace {

void Prepare(TExtStringGrid& g, QChar delimiter, bool java)
{
    g.SetColCount(3);
    g.SetRowCount(3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            g.SetGridCell(c, r, QStringLiteral("old%1%2").arg(c).arg(r));
    g.Delimiter = delimiter;
    g.JavaCSV = java;
}

QByteArray Seed(int i)
{
    static const QByteArray seeds[] = {
        "name,value,note\r\n\"comma, inside\",\"quote \"\"q\"\" here\",semi;colon\r\n\"two\x0blines\",\"\",\" lead\"\r\n",
        "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F" "e;caf\xC3\xA9;\"x\"\"\ny\"\r\na;b;c\r\n",
        "Gr\xFC\xDF" "e\t\x80\tx\r\n1\t2\t3\r\n",
        "^,l1~l2,x\r\na,b,c\r\n",
        "a|b|c\n1|2|3\n\"4|5\"|6\n",
    };
    return seeds[i % std::size(seeds)];
}

QByteArray Mutate(QByteArray bytes, std::mt19937& rng)
{
    static const char specials[] = {'"', ',', ';', '\t', '|', '\r', '\n', '\x0b', '~', '^', ' ', '\0', '\xFF', '\xFE', '\xC3', '\xEF', '\xBB', '\xBF', '\x80'};
    auto pick = [&](int n) { return int(rng() % unsigned(std::max(1, n))); };
    const int steps = 1 + pick(4);
    for (int s = 0; s < steps; ++s) {
        const int at = pick(int(bytes.size()) + 1);
        switch (pick(400)) {
        case 0:  // more columns than a grid takes
            bytes.insert(at, QByteArray(MaxTextCols + 1 + pick(50), ','));
            break;
        case 1:  // an open quote and a field too long
            bytes.insert(at, "\"" + QByteArray(MaxTextFieldChars + 1, 'x'));
            break;
        default:
            switch (pick(6)) {
            case 0:
                if (at < bytes.size())
                    bytes[at] = char(rng());
                break;
            case 1:
                bytes.insert(at, specials[pick(int(sizeof specials))]);
                break;
            case 2:
                bytes.remove(at, pick(8));
                break;
            case 3:
                bytes.insert(at, bytes.mid(pick(int(bytes.size())), pick(16)));
                break;
            case 4:
                bytes.truncate(at);
                break;
            default:
                bytes.insert(at, QByteArray(pick(6), '"'));
                break;
            }
        }
    }
    return bytes;
}

TEST(CsvMutation, EveryMutantIsReadOrRefusedWithTheGridUnchanged)
{
    std::mt19937 rng(20261211);
    int refused = 0, read = 0;
    for (int i = 0; i < 3000; ++i) {
        const QByteArray bytes = Mutate(Seed(i), rng);
        const QChar delimiter = i % 3 == 0 ? QChar(u',') : QChar();
        const bool java = i % 7 == 0;
        const int maxRows = i % 5 == 0 ? 1 + int(rng() % 3) : -1;
        TExtStringGrid g;
        Prepare(g, delimiter, java);
        const QString before = GridState(g);
        TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
        try {
            LoadFromCSVStream(g, stream, maxRows);
        } catch (const platform::Exception&) {
            ++refused;
            ASSERT_EQ(GridState(g), before) << "case " << i;
            continue;
        }
        ++read;
        ASSERT_EQ(g.Delimiter, delimiter) << "case " << i;
        ASSERT_LE(g.ColCount(), MaxTextCols);
        if (maxRows > 0)
            ASSERT_LE(g.RowCount(), maxRows) << "case " << i;
        // The same bytes read into the same grid give the same cells.
        TExtStringGrid again;
        Prepare(again, delimiter, java);
        TMemoryStream copy(std::vector<uint8_t>(bytes.begin(), bytes.end()));
        LoadFromCSVStream(again, copy, maxRows);
        ASSERT_EQ(GridState(again), GridState(g)) << "case " << i;
    }
    EXPECT_GT(refused, 10);
    EXPECT_GT(read, 2500);
}

}  // namespace
