// The grid's own text file, fixed-width files, the aligned listing and the cell-to-number
// conversion: round trips, golden files, refusals that leave the grid as it was, and the settings
// the writers put back.
#include <QFile>
#include <gtest/gtest.h>

#include "grid/dataops/GridTextCoding.h"
#include "grid/dataops/GridTextFormats.h"
#include "TextFormatsSuite.h"
#include "support/QStringPrinter.h"
#include "support/TempDir.h"
#include "support/TestData.h"

using namespace grid;
using namespace grid::dataops;

namespace {

// Compares a written file with its golden file (CONF_UPDATE_GOLDEN=1 rewrites the golden file).
void ExpectGolden(const TempDir& dir, const QString& written, const char* golden)
{
    if (qEnvironmentVariableIntValue("CONF_UPDATE_GOLDEN") == 1) {
        const QString path = QStringLiteral(TEST_DATA_DIR "/") + QLatin1String(golden);
        QFile::remove(path);
        QFile::copy(dir.File(written), path);
    }
    EXPECT_EQ(dir.Read(written), ReadTestData(golden)) << golden;
}

std::vector<QStringList> Table()
{
    return {
        {"", "Name", "Value"},
        {"1", "two\r\nlines", "12.5"},
        {"2", "Grüße", ""},
        {"3", "a,b", "-7"},
    };
}

TEST(OwnFile, RoundTripsInBothCodingsWithLinesWidthsAndHiddenColumns)
{
    TempDir dir;
    for (bool unicode : {true, false}) {
        SCOPED_TRACE(unicode ? "UTF-16" : "Windows-1252");
        TExtStringGrid g;
        FillRows(g, Table());
        g.SetColWidths(1, 140);
        g.SetGridCell(0, 1, QStringLiteral("zero") + QChar(0) + QStringLiteral("byte and LF\nonly"));
        const QString file = dir.File(QStringLiteral("own.txt"));
        SaveToFile(g, file, unicode);
        EXPECT_EQ(dir.Read(QStringLiteral("own.txt")).startsWith("\xFF\xFE"), unicode);

        TExtStringGrid back;
        back.Multilinecells = true;
        LoadFromFile(back, file);
        EXPECT_EQ(GridState(back), GridState(g));

        TExtStringGrid firstLines;
        LoadFromFile(firstLines, file);
        EXPECT_EQ(firstLines.GetGridCell(1, 1), "two") << "without Multilinecells the first line";
    }
}

TEST(OwnFile, GoldenFile)
{
    TempDir dir;
    TExtStringGrid g;
    FillRows(g, Table());
    SaveToFile(g, dir.File(QStringLiteral("own.txt")), false);
    ExpectGolden(dir, QStringLiteral("own.txt"), "text_formats/own_1252.txt");
}

// The counts line decides; a file that would give an empty or giant grid is refused, the grid
// unchanged. Other lines that do not fit are skipped.
TEST(OwnFile, RefusesCorruptCountsAndSkipsLinesOutsideTheGrid)
{
    TempDir dir;
    const struct {
        const char* Name;
        QByteArray File;
        bool Refused;
    } cases[] = {
        {"no columns", "0,3\r\n1,1,x\r\n", true},
        {"garbage counts", "x,y\r\n", true},
        {"too many columns", "99999999,2\r\n", true},
        {"too many rows", "2,2147483647\r\n", true},
        {"cells and widths outside are skipped", "2,2\r\ncw 9,50\r\ncw 1,99999\r\n5,0,out\r\n-1,0,neg\r\n1,1,in\r\nnonsense\r\n", false},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        dir.Write(QStringLiteral("c.txt"), k.File);
        TExtStringGrid g;
        FillRows(g, {{"keep", "me", "x"}});
        const QString before = GridState(g);
        if (k.Refused) {
            try {
                LoadFromFile(g, dir.File(QStringLiteral("c.txt")));
                ADD_FAILURE() << "no exception";
            } catch (const EExtGridError& e) {
                EXPECT_EQ(e.message(), "File contains no data or corrupt file " + dir.File(QStringLiteral("c.txt")));
            }
            EXPECT_EQ(GridState(g), before);
        } else {
            LoadFromFile(g, dir.File(QStringLiteral("c.txt")));
            EXPECT_EQ(g.ColCount(), 2);
            EXPECT_EQ(g.RowCount(), 2);
            EXPECT_EQ(g.GetGridCell(1, 1), "in");
            EXPECT_EQ(g.GetGridCell(0, 0), "keep") << "the reader does not clear";
        }
    }
}

// A long load tells its progress; it processes no events of the program on the way, so that
// nothing can reach the grid half-loaded.
TEST(OwnFile, LoadingReportsProgressAndRunsNoEvents)
{
    TempDir dir;
    TExtStringGrid g;
    g.SetColCount(3);
    g.SetRowCount(201);
    for (int r = 1; r <= 200; ++r)
        g.SetGridCell(1, r, QString::number(r));
    SaveToFile(g, dir.File(QStringLiteral("p.txt")), true);

    TExtStringGrid back;
    std::vector<short> seen;
    bool eventRan = false;
    QMetaObject::invokeMethod(&back, [&] { eventRan = true; }, Qt::QueuedConnection);
    back.OnFileProgress = [&](TExtStringGrid*, short p) {
        EXPECT_FALSE(eventRan);
        seen.push_back(p);
    };
    LoadFromFile(back, dir.File(QStringLiteral("p.txt")));
    EXPECT_FALSE(eventRan);
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end()) << "each percentage once";
    EXPECT_EQ(seen.back(), 100);
    EXPECT_EQ(back.GetGridCell(1, 200), "200");
    QCoreApplication::processEvents();
    EXPECT_TRUE(eventRan);
}

TEST(FixedWidth, WritingFillsMissingWidthsAndReadingCutsAtTheBoundaries)
{
    TempDir dir;
    TExtStringGrid g;
    FillRows(g, Table());
    TIntList positions;
    positions.Add(2);  // the first column's width is given
    SaveToFixed(g, dir.File(QStringLiteral("f.txt")), positions);
    EXPECT_EQ(positions.Values(), (std::vector<int>{2, 6, 6})) << "longest first line + 1";
    ExpectGolden(dir, QStringLiteral("f.txt"), "text_formats/fixed_1252.txt");

    TExtStringGrid back;
    back.SetFixedCols(0);
    back.SetRowCount(2);
    TIntList bounds;
    for (int p : {3, 1, 15, 9})  // sorted in place
        bounds.Add(p);
    LoadFromFixed(back, dir.File(QStringLiteral("f.txt")), bounds, true);
    EXPECT_EQ(bounds.Values(), (std::vector<int>{1, 3, 9, 15}));
    EXPECT_EQ(back.ColCount(), 3);
    EXPECT_EQ(back.RowCount(), 4);
    EXPECT_EQ(back.GetGridCell(1, 1), "two");
    EXPECT_EQ(back.GetGridCell(1, 2), "Grüße");
    EXPECT_EQ(back.GetGridCell(2, 1), "12.5");
}

TEST(FixedWidth, TrimOrNotAndMaxRows)
{
    TempDir dir;
    dir.Write(QStringLiteral("r.txt"), "ab  cdef\r\nxy  zzzz\r\nlast\r\n");
    for (bool trim : {true, false}) {
        TExtStringGrid g;
        g.SetFixedCols(0);
        g.SetFixedRows(0);
        g.SetRowCount(1);
        TIntList bounds;
        for (int p : {1, 5, 9})
            bounds.Add(p);
        LoadFromFixed(g, dir.File(QStringLiteral("r.txt")), bounds, trim, 2);
        EXPECT_EQ(g.GetGridCell(0, 0), trim ? "ab" : "ab  ");
        EXPECT_EQ(g.GetGridCell(1, 0), "cdef");
        EXPECT_EQ(g.RowCount(), 2) << "two lines read";
    }
}

// The writer reads hidden columns without widening ColCount, so nothing is left widened when it
// fails; the reader refuses boundaries it cannot use.
TEST(FixedWidth, ErrorsLeaveTheGridAsItWas)
{
    TempDir dir;
    TExtStringGrid g;
    FillRows(g, Table());
    g.HideColumn(2);
    g.SaveHiddenCells = true;
    const QString before = GridState(g);
    TIntList positions;
    try {
        SaveToFixed(g, dir.File(QStringLiteral("no/such/folder/f.txt")), positions);
        ADD_FAILURE() << "no exception";
    } catch (const EExtGridError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot Create file ")));
    }
    EXPECT_EQ(g.ColCount(), 2);
    EXPECT_EQ(GridState(g), before);
    EXPECT_EQ(positions.Count(), 3) << "the hidden column has its width too";

    EXPECT_THROW(LoadFromFixed(g, dir.File(QStringLiteral("missing.txt")), positions, true), EExtGridError);
    dir.Write(QStringLiteral("x.txt"), "abc\r\n");
    TIntList one;
    one.Add(1);
    EXPECT_THROW(LoadFromFixed(g, dir.File(QStringLiteral("x.txt")), one, true), EExtGridError);
    EXPECT_EQ(GridState(g), before);
}

TEST(AlignedListing, GoldenFileWithAlignmentAndExtraLines)
{
    TempDir dir;
    TExtStringGrid g;
    FillRows(g, Table());
    g.Multilinecells = true;
    g.SetGridCell(2, 0, QStringLiteral("Value"));
    g.OnGetAlignment = [](TExtStringGrid*, int, int c, TAlignment& h, TVAlignment&) {
        if (c == 2)
            h = taRightJustify;
        else if (c == 0)
            h = taCenter;
    };
    SaveToASCII(g, dir.File(QStringLiteral("a.txt")), true);
    ExpectGolden(dir, QStringLiteral("a.txt"), "text_formats/aligned_utf16.txt");
    const QByteArray bytes = dir.Read(QStringLiteral("a.txt"));
    const QStringList lines =
        ReadTextLines(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())), TTextCoding::Ansi);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "  Name  Value ") << "centred: the odd blank after the text";
    EXPECT_EQ(lines[1], "1 two    12.5 ");
    EXPECT_EQ(lines[2], "  lines") << "the extra line starts at its column";

    AppendToASCII(g, dir.File(QStringLiteral("a.txt")), true);
    const QByteArray twice = dir.Read(QStringLiteral("a.txt"));
    EXPECT_EQ(twice.count(QByteArray("t\0w\0o\0", 6)), 2);
}

// Widths are ints: a column wider than 255 characters pushes the next one past it.
TEST(AlignedListing, ColumnsWiderThan255Characters)
{
    TExtStringGrid g;
    FillRows(g, {{QString(300, u'x'), "next"}, {"a", "b"}});
    const QStringList lines = AsciiLines(g);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1].indexOf(u'b'), 301);
    EXPECT_EQ(lines[0].indexOf(QLatin1String("next")), 301);
}

TEST(CellToReal, NumbersAndTheFirstBadPosition)
{
    TExtStringGrid g;
    FillRows(g, {{"", "12.5", " -3 ", "1.2.3", "$ 1e3"}});
    EXPECT_EQ(CellToReal(g, 0, 0), 0);
    EXPECT_EQ(CellToReal(g, 1, 0), 12.5);
    EXPECT_EQ(CellToReal(g, 2, 0), -3);
    EXPECT_EQ(CellToReal(g, 4, 0), 1000);
    try {
        CellToReal(g, 3, 0);
        ADD_FAILURE() << "no exception";
    } catch (const EExtGridError& e) {
        EXPECT_EQ(e.message(), "Error at position: 4 in Cell [3, 0].");
    }
}

}  // namespace

namespace {

// A descendant that records the writers' export notifications.
struct TNotifiedGrid : TExtStringGrid {
    QStringList Seen;
    void ExportNotification(int state, int row) override { Seen << QStringLiteral("%1:%2").arg(state).arg(row); }
};

TEST(ExportNotification, EveryWriterTellsStartEachRowAndDone)
{
    TempDir dir;
    TNotifiedGrid g;
    FillRows(g, {{"a", "b"}, {"c", "d"}});
    const QStringList expected{"0:0", "5:0", "5:1", "2:-1"};
    TMemoryStream stream;
    g.SaveToStream(stream);
    EXPECT_EQ(g.Seen, expected) << "own stream";
    g.Seen.clear();
    SaveToFile(g, dir.File(QStringLiteral("o.txt")), true);
    EXPECT_EQ(g.Seen, expected) << "own file";
    g.Seen.clear();
    TIntList positions;
    SaveToFixed(g, dir.File(QStringLiteral("f.txt")), positions);
    EXPECT_EQ(g.Seen, expected) << "fixed width";
}

}  // namespace
