// The text files' line reader: a file read in small blocks gives the lines that its bytes give
// whole, whatever falls on a block's edge (a CR LF, a UTF-8 character), and the coding is chosen
// by the byte-order mark, else UTF-8 when valid, else the code page.
#include <QBuffer>
#include <gtest/gtest.h>
#include <random>

#include "grid/dataops/GridTextCoding.h"
#include "support/QStringPrinter.h"

using namespace grid::dataops;

namespace {

QStringList FromBlocks(const QByteArray& bytes, qint64 blockSize)
{
    QByteArray copy = bytes;
    QBuffer file(&copy);
    file.open(QIODevice::ReadOnly);
    TTextLineReader reader(file, TTextCoding::Ansi, blockSize);
    QStringList lines;
    QString line;
    while (reader.Next(line))
        lines << line;
    EXPECT_EQ(reader.Position(), size_t(bytes.size()));
    return lines;
}

QStringList Whole(const QByteArray& bytes)
{
    return ReadTextLines(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())),
                         TTextCoding::Ansi);
}

TEST(TextLineReader, LineEndsAndCodings)
{
    const struct {
        const char* Name;
        QByteArray Bytes;
        QStringList Lines;
    } cases[] = {
        {"CR LF, LF and a lone CR", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"an empty line and no end at the end", "a\r\n\r\nb", {"a", "", "b"}},
        {"UTF-8 without a mark", "Gr\xC3\xBC\xC3\x9F" "e\n", {"Grüße"}},
        {"not UTF-8: Windows-1252", "Gr\xFC\xDF" "e \x80\n", {"Grüße €"}},
        {"UTF-8 with its mark", "\xEF\xBB\xBF\xE2\x82\xAC\r\n", {"€"}},
        {"UTF-16LE with its mark", QByteArray("\xFF\xFE" "a\0\r\0\n\0b\0", 10), {"a", "b"}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        EXPECT_EQ(Whole(k.Bytes), k.Lines);
        EXPECT_EQ(FromBlocks(k.Bytes, 16), k.Lines);
    }
}

TEST(TextLineReader, SmallBlocksReadAsTheWholeText)
{
    std::mt19937 rng(7);
    const char* pieces[] = {"\r\n", "\n", "\r", "ab", "\xC3\xBC", "\xE2\x82\xAC", ",", "\"", "xyzxyzxyz"};
    for (int i = 0; i < 300; ++i) {
        QByteArray bytes;
        const int n = int(rng() % 60);
        for (int k = 0; k < n; ++k)
            bytes += pieces[rng() % std::size(pieces)];
        if (i % 10 == 0)
            bytes += "\xFF";  // no longer UTF-8
        SCOPED_TRACE(bytes.toHex().toStdString());
        EXPECT_EQ(FromBlocks(bytes, 16 + qint64(rng() % 8)), Whole(bytes));
    }
}

}  // namespace
