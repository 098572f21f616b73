#include "grid/dataops/GridCsv.h"

#include <QFile>
#include <array>
#include <vector>

#include "grid/core/GridTextUtils.h"
#include "grid/dataops/GridTextCoding.h"
#include "grid/dataops/GridTextFormats.h"
#include "platform/FileUtil.h"

namespace grid::dataops {

namespace {

const QChar Quote(u'"');

TTextCoding WriteCoding(const TExtStringGrid& g, bool unicode)
{
    if (unicode)
        return TTextCoding::Utf8Bom;
    return g.OemConvert ? TTextCoding::Oem : TTextCoding::Ansi;
}

QChar WriteSeparator(const TExtStringGrid& g) { return g.Delimiter.isNull() ? QChar(u',') : g.Delimiter; }

// One cell as the CSV writer codes it.
QString CsvField(const TExtStringGrid& g, QString text, QChar sep)
{
    text.replace(Quote, QStringLiteral("\"\""));
    // A leading blank would be dropped by a reader; quotes keep it.
    bool enclosed = g.AlwaysQuotes || (!text.contains(sep) && text.contains(Quote)) ||
                    (!text.isEmpty() && text.at(0) == u' ' && !g.JavaCSV);
    if (enclosed)
        text = Quote + text + Quote;
    if (text.isEmpty()) {
        if (g.JavaCSV)
            return QStringLiteral("^");
        return g.QuoteEmptyCells ? QStringLiteral("\"\"") : text;
    }
    const bool lines = text.contains(QChar(13)) || text.contains(QChar(10));
    if (!text.contains(sep) && !lines)
        return text;
    if (g.JavaCSV) {
        CRLFToTilde(text);
        // The separator inside the text is protected too, or the reader would split the cell.
        if (text.contains(sep) && !enclosed)
            text = Quote + text + Quote;
    } else if (enclosed) {
        CRLFToLF(text);
    } else {
        CSVQuoteLines(text);
    }
    return text;
}

template <class Sink>
void WriteCsvRows(TExtStringGrid& g, Sink&& sink)
{
    const QChar sep = WriteSeparator(g);
    const int c0 = g.SaveStartCol(), c1 = g.SaveEndCol() + SaveHiddenExtra(g);
    const int r0 = g.SaveStartRow(), r1 = g.SaveEndRow();
    TFileProgress progress(g);
    QString line;
    g.ExportNotification(esExportStart, r0);
    for (int r = r0; r <= r1; ++r) {
        g.ExportNotification(esExportNextRow, r);
        line.truncate(0);  // keeps its room for the next row
        for (int c = c0; c <= c1; ++c) {
            if (c > c0)
                line += sep;
            line += CsvField(g, SaveText(g, SaveColumn(g, c), r), sep);
        }
        sink(line);
        progress.Report(r, std::max(1, g.RowCount() - 1));
    }
    g.ExportNotification(esExportDone, -1);
}

void WriteCsv(TExtStringGrid& g, const QString& fileName, bool unicode, bool append)
{
    const TTextCoding coding = WriteCoding(g, unicode);
    QByteArray old;
    if (append)
        old = platform::ReadWholeFile(fileName, MaxTextFileBytes);
    WriteTextFile(fileName, coding, [&](TTextLineWriter& writer) {
        if (append) {
            TTextLineReader reader(std::span(reinterpret_cast<const uint8_t*>(old.data()), size_t(old.size())),
                                   coding == TTextCoding::Oem ? TTextCoding::Oem : TTextCoding::Ansi);
            QString line;
            while (reader.Next(line))
                writer.Line(line);
        }
        WriteCsvRows(g, [&](const QString& line) { writer.Line(line); });
    });
}

// Unpaired occurrences: a run of the character counts once when its length is odd.
int UnpairedCount(const QString& line, QChar c)
{
    int count = 0;
    for (qsizetype i = 0; i < line.size();) {
        if (line.at(i) != c) {
            ++i;
            continue;
        }
        qsizetype run = 0;
        while (i < line.size() && line.at(i) == c) {
            ++run;
            ++i;
        }
        count += int(run % 2);
    }
    return count;
}

// The parsed records of a CSV text, checked against the limits before the grid is touched.
class TCsvParser {
public:
    TCsvParser(QChar sep, bool java, int maxRecords) : Sep(sep), Java(java), MaxRecords(maxRecords) {}

    // Each record's fields in one block: a large file is held at little more than its size.
    std::vector<TCellTexts> Records;
    int MaxFields = 0;

    bool Full() const { return MaxRecords > 0 && int(Records.size()) >= MaxRecords && !InQuote; }

    // One physical line; a quoted field left open continues on the next line.
    void Line(QStringView s)
    {
        qsizetype i = 0;
        const qsizetype n = s.size();
        if (InQuote) {
            Quoted += QLatin1String("\r\n");
            if (!ScanQuoted(s, i))
                return;
        }
        if (Sep.isNull()) {
            if (!s.isEmpty())
                Push(s.toString());
            EndRecord();
            return;
        }
        for (;;) {
            if (i >= n) {
                EndRecord();
                return;
            }
            // Leading blanks go, as long as at least two characters remain.
            if (Sep != u' ')
                while (n - i >= 2 && s[i] == u' ')
                    ++i;
            if (s[i] == Quote) {
                InQuote = true;
                Quoted.truncate(0);  // keeps its room: the field takes a copy
                ++i;
                if (!ScanQuoted(s, i))
                    return;
                continue;
            }
            const qsizetype j = s.indexOf(Sep, i);
            if (j < 0) {
                Push(s.mid(i).toString());
                EndRecord();
                return;
            }
            Push(s.mid(i, j - i).toString());
            i = j + 1;
        }
    }

    // The end of the text: a quoted field still open ends here.
    void Finish()
    {
        if (InQuote) {
            InQuote = false;
            Push(QString(Quoted.constData(), Quoted.size()));
            EndRecord();
        }
    }

private:
    // Reads quoted text from i: false when the line ended inside it. When it closes, the text up
    // to the next separator is dropped and i stands after that separator (or at the line's end,
    // where the record ends).
    bool ScanQuoted(QStringView s, qsizetype& i)
    {
        for (;;) {
            const qsizetype k = s.indexOf(Quote, i);
            if (k < 0) {
                Quoted += s.mid(i);
                CheckLength(Quoted.size());
                i = s.size();
                return false;
            }
            qsizetype run = 0;
            while (k + run < s.size() && s[k + run] == Quote)
                ++run;
            Quoted += s.mid(i, k - i);
            Quoted += QString(run / 2, Quote);
            CheckLength(Quoted.size());
            i = k + run;
            if (run % 2 == 1)
                break;
        }
        InQuote = false;
        Push(QString(Quoted.constData(), Quoted.size()));
        const qsizetype j = s.indexOf(Sep, i);
        if (j < 0) {
            EndRecord();
            i = -1;
            return false;
        }
        i = j + 1;
        if (i >= s.size()) {
            EndRecord();
            return false;
        }
        return true;
    }

    void CheckLength(qsizetype size) const
    {
        if (size > MaxTextFieldChars)
            throw EExtGridError(QStringLiteral("The CSV data holds a field longer than %1 characters").arg(MaxTextFieldChars));
    }

    void Push(QString field)
    {
        CheckLength(field.size());
        if (int(Current.size()) >= MaxTextCols)
            throw EExtGridError(QStringLiteral("The CSV data has more than %1 columns").arg(MaxTextCols));
        if (Java)
            TildeToCRLF(field);
        else
            TVToCRLF(field);
        Current.push_back(std::move(field));
    }

    void EndRecord()
    {
        if (int(Records.size()) >= MaxTextRows)
            throw EExtGridError(QStringLiteral("The CSV data has more than %1 rows").arg(MaxTextRows));
        MaxFields = std::max(MaxFields, int(Current.size()));
        Records.emplace_back(Current);
        Current.clear();
    }

    QChar Sep;
    bool Java;
    int MaxRecords;
    std::vector<QString> Current;
    QString Quoted;
    bool InQuote = false;
};

// Sets the grid's Delimiter for the duration of a read and puts the old one back on every path.
class TDelimiterScope {
public:
    TDelimiterScope(TExtStringGrid& g, QChar value) : G(g), Old(g.Delimiter) { g.Delimiter = value; }
    ~TDelimiterScope() { G.Delimiter = Old; }
    TDelimiterScope(const TDelimiterScope&) = delete;
    TDelimiterScope& operator=(const TDelimiterScope&) = delete;

private:
    TExtStringGrid& G;
    QChar Old;
};

TTextCoding ReadFallback(const TExtStringGrid& g) { return g.OemConvert ? TTextCoding::Oem : TTextCoding::Ansi; }

void ReadCsv(TExtStringGrid& g, TTextLineReader& reader, int maxRows, bool insert)
{
    QString line1, line2;
    if (!reader.Next(line1))
        throw platform::Exception(QStringLiteral("File is empty"));
    reader.Next(line2);
    reader.Rewind();
    const QChar sep = g.Delimiter.isNull() ? GuessDelimiter(line1, line2) : g.Delimiter;
    TDelimiterScope delimiter(g, sep);

    // Everything is read and checked before the grid changes.
    TCsvParser parser(sep, g.JavaCSV, maxRows);
    TFileProgress progress(g);
    QString line;
    if (!g.LoadFirstRow)
        reader.Next(line);
    while (!parser.Full() && reader.Next(line)) {
        parser.Line(line);
        progress.Report(qint64(reader.Position()), qint64(reader.Size()));
    }
    parser.Finish();
    if (maxRows > 0 && int(parser.Records.size()) > maxRows)
        parser.Records.resize(size_t(maxRows));

    const int count = int(parser.Records.size());
    int start = insert ? g.RowCount() : g.SaveStartRow();
    QStringList footer;
    const bool keepFooter = insert && g.FloatingFooter.Visible() && g.RowCount() > 0;
    if (keepFooter)
        --start;
    const qint64 rows = qint64(start) + count + g.FixedFooters;
    const int hidden = g.SaveHiddenCells ? g.NumHiddenColumns() : 0;
    const int c0 = g.SaveStartCol();
    if (rows > MaxTextRows || qint64(c0) + parser.MaxFields > MaxTextCols)
        throw EExtGridError(QStringLiteral("The CSV data does not fit in a grid"));

    if (keepFooter) {
        const int last = g.RowCount() - 1;
        for (int c = 0; c < g.ColCount() + g.NumHiddenColumns(); ++c) {
            footer << g.GetGridCell(c, last);
            g.SetGridCell(c, last, QString());
        }
    }
    const int cols = c0 + parser.MaxFields - hidden;
    if (cols > g.ColCount())
        g.SetColCount(cols);
    g.SetRowCount(int(rows));
    for (int i = 0; i < count; ++i) {
        // Each record goes as soon as its row holds its texts.
        g.LoadRow(c0, start + i, std::move(parser.Records[size_t(i)]));
    }
    if (keepFooter)
        for (int c = 0; c < footer.size(); ++c)
            g.SetGridCell(c, g.RowCount() - 1, footer[c]);
    g.CellsChanged({0, 0, g.ColCount(), g.RowCount()});
    g.CalcAllFooters();
}

void ReadCsvFile(TExtStringGrid& g, const QString& fileName, int maxRows, bool insert)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw platform::Exception(QStringLiteral("Cannot read \"%1\": %2").arg(fileName, file.errorString()));
    if (file.size() == 0)
        return;
    if (file.size() > MaxTextFileBytes)
        throw EExtGridError(QStringLiteral("The file \"%1\" is larger than %2 bytes").arg(fileName).arg(MaxTextFileBytes));
    TTextLineReader reader(file, ReadFallback(g));
    ReadCsv(g, reader, maxRows, insert);
}

}  // namespace

QChar GuessDelimiter(const QString& line1, const QString& line2)
{
    static const std::array<QChar, 10> candidates{u',', u';', u'#', u'\t', u'|', u'@', u'*', u'-', u'+', u'&'};
    QChar guess;
    for (const bool unpaired : {true, false}) {
        int best = 0;
        for (QChar c : candidates) {
            const int a = unpaired ? UnpairedCount(line1, c) : int(line1.count(c));
            const int b = unpaired ? UnpairedCount(line2, c) : int(line2.count(c));
            if (a == b && a > best) {
                guess = c;
                best = a;
            }
        }
        if (!guess.isNull())
            return guess;
    }
    int best = 0;
    for (QChar c : candidates) {
        const int a = int(line1.count(c)), b = int(line2.count(c));
        if (a > best || b > best) {
            guess = c;
            best = std::max(a, b);
        }
    }
    return guess;
}

QString CsvText(TExtStringGrid& g)
{
    QString text;
    WriteCsvRows(g, [&](const QString& line) {
        text += line;
        text += QLatin1String("\r\n");
    });
    return text;
}

void SaveToCSV(TExtStringGrid& g, const QString& fileName, bool unicode) { WriteCsv(g, fileName, unicode, false); }
void AppendToCSV(TExtStringGrid& g, const QString& fileName, bool unicode) { WriteCsv(g, fileName, unicode, true); }

void LoadFromCSV(TExtStringGrid& g, const QString& fileName, int maxRows) { ReadCsvFile(g, fileName, maxRows, false); }
void InsertFromCSV(TExtStringGrid& g, const QString& fileName, int maxRows) { ReadCsvFile(g, fileName, maxRows, true); }

void LoadFromCSVStream(TExtStringGrid& g, TMemoryStream& stream, int maxRows)
{
    const std::span<const uint8_t> rest = stream.Remaining();
    if (rest.size() > size_t(MaxTextFileBytes))
        throw EExtGridError(QStringLiteral("The CSV stream is larger than %1 bytes").arg(MaxTextFileBytes));
    TTextLineReader reader(rest, ReadFallback(g));
    ReadCsv(g, reader, maxRows, false);
    stream.SetPosition(stream.Size());
}

TGridFileLoader CsvFileLoader()
{
    return [](TExtStringGrid& g, const QString& fileName) { LoadFromCSV(g, fileName, -1); };
}

}  // namespace grid::dataops
