// CSV files and streams of the grid: the writer's coding of each cell, the reader's fields, the
// separator guess, round trips in UTF-8, Windows-1252 and code page 850, Python's csv module
// reading what is written here, and refusals that leave the grid as it was.
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "grid/dataops/GridCsv.h"
#include "grid/dataops/GridTextCoding.h"
#include "TextFormatsSuite.h"
#include "support/QStringPrinter.h"
#include "support/TempDir.h"
#include "support/TestData.h"

using namespace grid;
using namespace grid::dataops;

namespace {

TMemoryStream StreamOf(const QByteArray& bytes) { return TMemoryStream(std::vector<uint8_t>(bytes.begin(), bytes.end())); }

// The cells of rows 0.. as "a,b;c,d" (the grid's columns from 0).
QString Cells(TExtStringGrid& g, int cols = -1)
{
    QStringList rows;
    for (int r = 0; r < g.RowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < (cols < 0 ? g.ColCount() : cols); ++c)
            cells << g.GetGridCell(c, r);
        rows << cells.join(u',');
    }
    return rows.join(u';');
}

void Load(TExtStringGrid& g, const QByteArray& bytes, int maxRows = -1)
{
    TMemoryStream s = StreamOf(bytes);
    LoadFromCSVStream(g, s, maxRows);
}

TEST(CsvWriter, CodesEachCellAsTheReaderAndOtherReadersExpect)
{
    const struct {
        const char* Name;
        QString Text;
        bool Java;
        QString Field;
    } cases[] = {
        {"a quote, no separator: doubled and enclosed", "say \"hi\"", false, "\"say \"\"hi\"\"\""},
        {"a separator, no quote: enclosed", "a,b", false, "\"a,b\""},
        {"both: doubled and enclosed", "a\"b,c", false, "\"a\"\"b,c\""},
        {"two lines: joined by #11 and enclosed", "l1\r\nl2", false, "\"l1\x0bl2\""},
        {"two lines and a quote: a real line break in the quotes", "l1\"\r\nl2", false, "\"l1\"\"\nl2\""},
        {"empty: two quotes", "", false, "\"\""},
        {"a leading blank survives in quotes", " x", false, "\" x\""},
        {"plain", "plain", false, "plain"},
        {"Java: empty is ^", "", true, "^"},
        {"Java: lines joined by ~", "l1\r\nl2", true, "l1~l2"},
        {"Java: a separator is enclosed, not left to split the cell", "a,b", true, "\"a,b\""},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        TExtStringGrid g;
        FillRows(g, {{"first", k.Text}});
        g.JavaCSV = k.Java;
        EXPECT_EQ(CsvText(g), "first," + k.Field + "\r\n");
    }
}

TEST(CsvWriter, TheSeparatorAndAlwaysQuotesAndEmptyCellsFollowTheSettings)
{
    TExtStringGrid g;
    FillRows(g, {{"a", "", "b;c"}});
    g.Delimiter = u';';
    EXPECT_EQ(CsvText(g), "a;\"\";\"b;c\"\r\n");
    g.QuoteEmptyCells = false;
    EXPECT_EQ(CsvText(g), "a;;\"b;c\"\r\n");
    g.AlwaysQuotes = true;
    EXPECT_EQ(CsvText(g), "\"a\";\"\";\"b;c\"\r\n");
}

TEST(CsvReader, SplitsFieldsAsTheFormatSays)
{
    const struct {
        const char* Name;
        QByteArray Csv;
        QString Cells;
    } cases[] = {
        {"an enclosed comma, then a second field", "\"a,b\",c\r\nd,e\r\n", "a,b,c;d,e"},
        {"a trailing separator gives no empty field", "a,b,\r\nc,d,e\r\n", "a,b,;c,d,e"},
        {"blanks in front of a field go", "a,  b, \"c\"\r\nd,e,f", "a,b,c;d,e,f"},
        {"doubled quotes made single", "\"x\"\"y\",2\r\n", "x\"y,2"},
        {"text after the closing quote is lost", "\"ab\"cd,2\r\n", "ab,2"},
        {"#11 is a line break", "\"l1\x0bl2\",2\r\n", "l1\r\nl2,2"},
        {"a quoted field runs over a line break", "\"l1\nl2\",2\r\nx,y\r\n", "l1\r\nl2,2;x,y"},
        {"a lone CR ends a line", "a,b\rc,d", "a,b;c,d"},
        {"an empty line is an empty row", "a,b\r\n\r\nc,d\r\n", "a,b;,;c,d"},
        {"a quote left open runs to the end", "a,\"b\r\nc", "a,b\r\nc"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        TExtStringGrid g;
        g.SetColCount(1);
        g.SetRowCount(1);
        g.SetFixedRows(0);
        g.SetFixedCols(0);
        Load(g, k.Csv);
        EXPECT_EQ(Cells(g), k.Cells);
        EXPECT_TRUE(g.Delimiter.isNull()) << "the guess is not kept";
    }
}

TEST(CsvReader, JavaCodingReadsBackTildesAndCarets)
{
    TExtStringGrid g;
    FillRows(g, {{"", "l1\r\nl2", "x"}});
    g.JavaCSV = true;
    const QString text = CsvText(g);
    EXPECT_EQ(text, "^,l1~l2,x\r\n");
    TExtStringGrid back;
    back.JavaCSV = true;
    back.SetFixedRows(0);
    Load(back, text.toUtf8());
    EXPECT_EQ(Cells(back, g.ColCount()), Cells(g));
}

TEST(CsvDelimiterGuess, FollowsThePassesAndTheCandidatesOrder)
{
    const struct {
        const char* Name;
        QString L1, L2;
        QChar Guess;
    } cases[] = {
        {"three fields by semicolons on both lines", "a;b;c", "d;e;f", u';'},
        {"one line, one bar and one comma: the comma comes first", "a|b,c", "", u','},
        {"commas paired in a run do not count", "a,,b;c", "d;e", u';'},
        {"equal plain counts when the unpaired differ", "a##b#c", "d#e#f#g", u'#'},
        {"tabs", "a\tb", "c\td", u'\t'},
        {"the larger count of one line in pass 3", "a+b+c", "d&e", u'+'},
        {"nothing to guess", "abc", "def", QChar()},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        EXPECT_EQ(GuessDelimiter(k.L1, k.L2), k.Guess);
    }
}

// A table of awkward cells that every round trip carries.
std::vector<QStringList> AwkwardRows()
{
    return {
        {"name", "value", "note"},
        {"comma, inside", "quote \"q\" here", "semi;colon"},
        {"two\r\nlines", "", " leading blank"},
        {"Grüße €", "café", "x\"\r\ny"},
        {"#hash", "a|b", "tail"},
    };
}

TEST(CsvRoundTrip, EveryCodingAndSeparatorGivesTheSameCellsBack)
{
    TempDir dir;
    const struct {
        const char* Name;
        bool Unicode;
        bool Oem;
        QChar Delimiter;
    } cases[] = {
        {"UTF-8, comma", true, false, QChar()},
        {"Windows-1252, semicolon guessed", false, false, u';'},
        {"code page 850, tab guessed", false, true, u'\t'},
        {"UTF-8, bar guessed", true, false, u'|'},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        TExtStringGrid g;
        FillRows(g, AwkwardRows());
        if (k.Oem)  // the DOS code page has no euro sign
            g.SetGridCell(0, 3, QStringLiteral("Grüße"));
        g.Delimiter = k.Delimiter;
        g.OemConvert = k.Oem;
        const QString file = dir.File(QStringLiteral("t.csv"));
        SaveToCSV(g, file, k.Unicode);
        const QByteArray bytes = dir.Read(QStringLiteral("t.csv"));
        EXPECT_EQ(bytes.startsWith("\xEF\xBB\xBF"), k.Unicode);
        if (!k.Unicode)  // one byte per character: "ü" in its code page
            EXPECT_TRUE(bytes.contains(k.Oem ? "Gr\x81\xE1" : "Gr\xFC\xDF"));

        TExtStringGrid back;
        back.SetFixedRows(0);
        back.Multilinecells = true;
        back.OemConvert = k.Oem;
        LoadFromCSV(back, file);
        EXPECT_EQ(Cells(back, g.ColCount()), Cells(g));
        EXPECT_TRUE(back.Delimiter.isNull());
    }
}

TEST(CsvRoundTrip, AppendAddsRowsAfterTheFileAndInsertAddsThemAfterTheGrid)
{
    TempDir dir;
    const QString file = dir.File(QStringLiteral("a.csv"));
    TExtStringGrid g;
    FillRows(g, {{"a", "b"}, {"c", "d"}});
    EXPECT_THROW(AppendToCSV(g, file, true), platform::Exception) << "no file to append to";
    SaveToCSV(g, file, true);
    AppendToCSV(g, file, true);
    EXPECT_EQ(dir.Read(QStringLiteral("a.csv")), "\xEF\xBB\xBF" "a,b\r\nc,d\r\na,b\r\nc,d\r\n");

    TExtStringGrid back;
    FillRows(back, {{"x", "y"}});
    InsertFromCSV(back, file);
    EXPECT_EQ(Cells(back), "x,y;a,b;c,d;a,b;c,d");
    LoadFromCSV(back, file, 2);
    EXPECT_EQ(Cells(back), "a,b;c,d") << "the load starts at SaveStartRow (0), reads two and ends the grid there";
    back.LoadFirstRow = false;
    LoadFromCSV(back, file, 1);
    EXPECT_EQ(Cells(back), "c,d") << "the first line skipped";
}

TEST(CsvReader, AnEmptyFileChangesNothingAndAnEmptyStreamIsAnError)
{
    TempDir dir;
    dir.Write(QStringLiteral("e.csv"), {});
    TExtStringGrid g;
    FillRows(g, {{"a", "b"}});
    const QString before = GridState(g);
    LoadFromCSV(g, dir.File(QStringLiteral("e.csv")));
    EXPECT_EQ(GridState(g), before);
    try {
        Load(g, "\xEF\xBB\xBF");
        FAIL() << "no exception";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.message(), "File is empty");
    }
    EXPECT_EQ(GridState(g), before);
}

// A stream beyond the limits is refused: the guessed separator goes back, the grid keeps its cells.
TEST(CsvReader, AHostileStreamIsRefusedWithTheGridAndItsDelimiterAsTheyWere)
{
    const struct {
        const char* Name;
        QByteArray Csv;
    } cases[] = {
        {"too many columns", "a,b\r\n" + QByteArray(MaxTextCols + 5, ',') + "x\r\n"},
        {"a field too long", "a,\"" + QByteArray(MaxTextFieldChars + 10, 'x') + "\"\r\n"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        for (QChar delimiter : {QChar(), QChar(u',')}) {
            TExtStringGrid g;
            FillRows(g, {{"keep", "me"}, {"and", "me"}});
            g.Delimiter = delimiter;
            const QString before = GridState(g);
            EXPECT_THROW(Load(g, k.Csv), EExtGridError);
            EXPECT_EQ(GridState(g), before);
        }
    }
}

// The guess stands in Delimiter while cells are stored, and goes also when a cell hook fails.
TEST(CsvReader, TheGuessedDelimiterGoesOnEveryPath)
{
    TExtStringGrid g;
    QChar seen;
    g.OnLoadCell = [&](TExtStringGrid* grid, int, int, QString& value) {
        seen = grid->Delimiter;
        if (value == "bad")
            throw platform::Exception(QStringLiteral("hook refuses"));
    };
    Load(g, "a;b\r\nc;d\r\n");
    EXPECT_EQ(seen, u';');
    EXPECT_TRUE(g.Delimiter.isNull());
    EXPECT_THROW(Load(g, "a;b\r\nc;bad\r\n"), platform::Exception);
    EXPECT_TRUE(g.Delimiter.isNull());
}

TEST(CsvReader, ProgressRisesToOneHundredAndTheFloatingFooterStaysLast)
{
    TExtStringGrid g;
    FillRows(g, {{"h1", "h2"}, {"sum", "9"}});
    g.FloatingFooter.SetVisible(true);
    std::vector<short> seen;
    g.OnFileProgress = [&](TExtStringGrid*, short p) { seen.push_back(p); };
    QByteArray csv;
    for (int i = 0; i < 50; ++i)
        csv += QByteArray::number(i) + ",x\r\n";
    TempDir dir;
    dir.Write(QStringLiteral("p.csv"), csv);
    InsertFromCSV(g, dir.File(QStringLiteral("p.csv")));
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 100);
    EXPECT_EQ(g.RowCount(), 52);
    EXPECT_EQ(g.GetGridCell(0, 1), "0");
    EXPECT_EQ(g.GetGridCell(0, 50), "49");
    EXPECT_EQ(g.GetGridCell(0, 51), "sum");
    EXPECT_EQ(g.GetGridCell(1, 51), "9");
}

// What this writer writes, Python's csv module reads cell for cell (a multi-line cell keeps its
// line break coded as #11 unless it also holds a quote).
TEST(CsvInterchange, PythonsCsvModuleReadsTheSameCells)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is not installed";
    TempDir dir;
    for (bool unicode : {true, false}) {
        SCOPED_TRACE(unicode ? "UTF-8" : "Windows-1252");
        TExtStringGrid g;
        FillRows(g, AwkwardRows());
        const QString file = dir.File(QStringLiteral("p.csv"));
        SaveToCSV(g, file, unicode);
        QProcess p;
        p.start(python, {QStringLiteral("-c"),
                         QStringLiteral("import csv,json,sys\n"
                                        "with open(sys.argv[1], newline='', encoding=sys.argv[2]) as f:\n"
                                        "    print(json.dumps(list(csv.reader(f))))\n"),
                         file, unicode ? QStringLiteral("utf-8-sig") : QStringLiteral("cp1252")});
        ASSERT_TRUE(p.waitForFinished(30000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        QStringList expected;
        for (const QStringList& row : AwkwardRows()) {
            QStringList cells;
            for (QString cell : row) {
                // The writer's codings of a line break: LF inside quotes with a quote, else #11.
                cell.replace(QStringLiteral("\r\n"), cell.contains(u'"') ? QStringLiteral("\n") : QStringLiteral("\x0b"));
                cells << cell;
            }
            expected << cells.join(QChar(0x1F));
        }
        QStringList actual;
        const QJsonDocument doc = QJsonDocument::fromJson(p.readAllStandardOutput());
        for (const QJsonValue& row : doc.array()) {
            QStringList cells;
            for (const QJsonValue& cell : row.toArray())
                cells << cell.toString();
            actual << cells.join(QChar(0x1F));
        }
        EXPECT_EQ(actual, expected);
    }
}

TEST(CsvWriter, GoldenFilesOfBothCodings)
{
    TempDir dir;
    for (bool unicode : {true, false}) {
        TExtStringGrid g;
        FillRows(g, AwkwardRows());
        SaveToCSV(g, dir.File(QStringLiteral("g.csv")), unicode);
        const char* name = unicode ? "text_formats/awkward_utf8.csv" : "text_formats/awkward_1252.csv";
        if (qEnvironmentVariableIntValue("CONF_UPDATE_GOLDEN") == 1) {
            QFile::remove(QStringLiteral(TEST_DATA_DIR "/") + QLatin1String(name));
            QFile::copy(dir.File(QStringLiteral("g.csv")), QStringLiteral(TEST_DATA_DIR "/") + QLatin1String(name));
        }
        EXPECT_EQ(dir.Read(QStringLiteral("g.csv")), ReadTestData(name)) << name;
    }
}

}  // namespace
