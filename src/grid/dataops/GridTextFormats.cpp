#include "grid/dataops/GridTextFormats.h"

#include <QApplication>
#include <QCursor>
#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <vector>

#include "grid/core/GridTextUtils.h"
#include "grid/dataops/GridTextCoding.h"
#include "grid/dataops/GridTextMeasure.h"
#include "platform/FileUtil.h"
#include "platform/IntText.h"

namespace grid::dataops {

TBusyCursor::TBusyCursor()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::setOverrideCursor(Qt::WaitCursor), FSet = true;
}

TBusyCursor::~TBusyCursor()
{
    if (FSet)
        QApplication::restoreOverrideCursor();
}

namespace {

constexpr int MaxFileColWidth = 32767;

std::span<const uint8_t> AsBytes(const QByteArray& bytes)
{
    return {reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())};
}

// The text before the first line break.
QString FirstLine(const QString& text)
{
    qsizetype end = 0;
    while (end < text.size() && text.at(end) != QChar(13) && text.at(end) != QChar(10))
        ++end;
    return end == text.size() ? text : text.left(end);
}

// The lines of a cell text: split at CR LF (or a lone CR or LF).
QStringList CellLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QChar(13) && c != QChar(10))
            continue;
        lines << text.mid(start, i - start);
        if (c == QChar(13) && i + 1 < text.size() && text.at(i + 1) == QChar(10))
            ++i;
        start = i + 1;
    }
    lines << text.mid(start);
    return lines;
}

// A cell text for one line of the own file: a LF without a CR would end the line there, so it is
// coded as a line break is (LF as #8, #0 as #1), which the reader decodes alike.
QString FileLineBreaks(const QString& text)
{
    if (text.contains(QChar(13)) || !text.contains(QChar(10)))
        return EncodeLineBreaks(text);
    QString coded = text;
    coded.replace(QChar(10), QChar(8)).replace(QChar(0), QChar(1));
    return coded;
}


QByteArray ReadExisting(const QString& fileName) { return platform::ReadWholeFile(fileName, MaxTextFileBytes); }

}  // namespace

QString SaveText(TExtStringGrid& g, int realCol, int row)
{
    QString text;
    g.SaveCell(realCol, row, text);
    return text;
}

void TFileProgress::Report(qint64 done, qint64 total)
{
    if (!G.OnFileProgress)
        return;
    const int percent = total <= 0 ? 100 : int(std::clamp<qint64>((done * 100 + total / 2) / total, 0, 100));
    if (percent == Last)
        return;
    Last = percent;
    G.OnFileProgress(&G, short(percent));
}

// Own text file

namespace {
void WriteOwnFile(TExtStringGrid& g, TTextLineWriter& writer)
{
    const int hidden = SaveHiddenExtra(g);
    const int c0 = g.SaveStartCol(), c1 = g.SaveEndCol() + hidden;
    const int r0 = g.SaveStartRow(), r1 = g.SaveEndRow();
    writer.Line(QStringLiteral("%1,%2").arg(hidden + g.SaveColCount()).arg(g.SaveRowCount()));
    for (int c = c0; c <= c1; ++c)
        writer.Line(QStringLiteral("cw %1,%2").arg(c).arg(c < g.ColCount() ? g.ColWidths(c) : g.DefaultColWidth()));
    TFileProgress progress(g);
    g.ExportNotification(esExportStart, r0);
    for (int r = r0; r <= r1; ++r) {
        g.ExportNotification(esExportNextRow, r);
        for (int c = c0; c <= c1; ++c) {
            const QString text = SaveText(g, SaveColumn(g, c), r);
            if (!text.isEmpty())
                writer.Line(QStringLiteral("%1,%2,").arg(c).arg(r) + FileLineBreaks(text));
        }
        progress.Report(r - r0, std::max(1, g.SaveRowCount() - 1));
    }
    g.ExportNotification(esExportDone, -1);
}
}  // namespace

void SaveToFile(TExtStringGrid& g, const QString& fileName, bool unicode)
{
    WriteTextFile(fileName, unicode ? TTextCoding::Utf16LeBom : TTextCoding::Ansi,
                  [&](TTextLineWriter& writer) { WriteOwnFile(g, writer); });
}

void LoadFromFile(TExtStringGrid& g, const QString& fileName)
{
    const QByteArray bytes = ReadExisting(fileName);
    TTextLineReader reader(AsBytes(bytes), TTextCoding::Ansi);
    auto corrupt = [&] { return EExtGridError(QStringLiteral("File contains no data or corrupt file ") + fileName); };

    const int a = g.SaveFixedCells || g.SaveFixedCols ? 0 : g.FixedCols();
    const int b = g.SaveFixedCells || g.SaveFixedRows ? 0 : g.FixedRows();
    qint64 cols = g.ColCount(), rows = g.RowCount();
    QString line;
    if (reader.Next(line) && !line.isEmpty()) {
        const qsizetype comma = line.indexOf(u',');
        cols = qint64(a) + platform::Read_Int_Prefix(QStringView(line).left(comma < 0 ? line.size() : comma));
        rows = qint64(b) + (comma < 0 ? 0 : platform::Read_Int_Prefix(QStringView(line).mid(comma + 1)));
    }
    if (cols <= 0 || rows <= 0 || cols > MaxTextCols || rows > MaxTextRows)
        throw corrupt();

    // Read whole before the grid changes, so that a file refused leaves it as it was.
    struct TCell {
        int Col, Row;
        QString Text;
    };
    std::vector<std::pair<int, int>> widths;
    std::vector<TCell> cells;
    while (reader.Next(line)) {
        if (line.startsWith(QLatin1String("cw"))) {
            const QStringView rest = QStringView(line).mid(3);
            const qsizetype comma = rest.indexOf(u',');
            const int index = platform::Read_Int_Prefix(rest.left(comma < 0 ? rest.size() : comma));
            const int width = comma < 0 ? 0 : platform::Read_Int_Prefix(rest.mid(comma + 1).left(255));
            if (index >= 0 && index < cols && width >= 0 && width <= MaxFileColWidth)
                widths.emplace_back(index, width);
            continue;
        }
        const qsizetype k1 = line.indexOf(u',');
        const qsizetype k2 = k1 < 0 ? -1 : line.indexOf(u',', k1 + 1);
        if (k2 < 0)
            continue;
        const int c = platform::Read_Int_Prefix(QStringView(line).left(k1));
        const int r = platform::Read_Int_Prefix(QStringView(line).mid(k1 + 1, k2 - k1 - 1));
        if (c >= 0 && r >= 0 && c < cols && r < rows)
            cells.push_back({c, r, DecodeLineBreaks(line.mid(k2 + 1), g.Multilinecells)});
    }

    g.SetColCount(int(cols));
    g.SetRowCount(int(rows));
    for (const auto& [index, width] : widths)
        g.SetColWidths(index, width);
    // Progress in place of processing events on the way: a handler cannot reach the grid
    // half-loaded through a nested event.
    TFileProgress progress(g);
    for (const TCell& cell : cells) {
        g.LoadCell(cell.Col, cell.Row, cell.Text);
        progress.Report(cell.Row, std::max(1, g.RowCount() - 1));
    }
    g.CellsChanged({0, 0, g.ColCount(), g.RowCount()});
    g.CalcAllFooters();
}

// Fixed width

void SaveToFixed(TExtStringGrid& g, const QString& fileName, TIntList& positions)
{
    const int c0 = g.SaveStartCol(), c1 = g.SaveEndCol() + SaveHiddenExtra(g);
    for (int c = c0; c <= c1; ++c)
        if (c - c0 >= positions.Count())
            positions.Add(MaxColumnChars(g, SaveColumn(g, c)) + 1);
    TTextLineWriter writer(TTextCoding::Ansi);
    QString line;
    g.ExportNotification(esExportStart, g.SaveStartRow());
    for (int r = g.SaveStartRow(); r <= g.SaveEndRow(); ++r) {
        g.ExportNotification(esExportNextRow, r);
        line.clear();
        for (int c = c0; c <= c1; ++c) {
            const int width = std::max(0, positions.GetInteger(c - c0));
            // One line per row: a multi-line cell gives its first line.
            const QString text = FirstLine(SaveText(g, SaveColumn(g, c), r));
            line += text.size() >= width ? text.left(width) : text.leftJustified(width, u' ');
        }
        writer.Line(line);
    }
    g.ExportNotification(esExportDone, -1);
    try {
        platform::WriteFileAtomic(fileName, writer.Bytes());
    } catch (const platform::Exception&) {
        throw EExtGridError(QStringLiteral("Cannot Create file ") + fileName);
    }
}

void LoadFromFixed(TExtStringGrid& g, const QString& fileName, TIntList& positions, bool doTrim, int maxRows)
{
    QByteArray bytes;
    try {
        bytes = ReadExisting(fileName);
    } catch (const platform::Exception&) {
        throw EExtGridError(QStringLiteral("File ") + fileName + QStringLiteral(" not found"));
    }
    std::vector<int> bounds = positions.Values();
    std::sort(bounds.begin(), bounds.end());
    positions.Clear();
    for (int p : bounds)
        positions.Add(p);
    if (bounds.size() < 2 || bounds.front() < 1 || g.FixedCols() + int(bounds.size()) - 1 > MaxTextCols)
        throw EExtGridError(QStringLiteral("The column boundaries of a fixed-width file must be at least two positions from 1 on"));

    const int c0 = g.SaveStartCol(), r0 = g.SaveStartRow();
    std::vector<QStringList> records;
    TTextLineReader reader(AsBytes(bytes), TTextCoding::Ansi);
    QString line;
    while (reader.Next(line)) {
        if (int(records.size()) + r0 >= MaxTextRows)
            throw EExtGridError(QStringLiteral("The fixed-width file has more than %1 rows").arg(MaxTextRows));
        QStringList fields;
        for (size_t i = 0; i + 1 < bounds.size(); ++i) {
            const QString field = line.mid(bounds[i] - 1, bounds[i + 1] - bounds[i]);
            fields << (doTrim ? field.trimmed() : field);
        }
        records.push_back(std::move(fields));
        if (maxRows != -1 && int(records.size()) >= maxRows)
            break;
    }

    g.SetColCount(g.FixedCols() + int(bounds.size()) - 1);
    if (r0 + int(records.size()) > g.RowCount())
        g.SetRowCount(r0 + int(records.size()));
    for (size_t i = 0; i < records.size(); ++i)
        for (int f = 0; f < records[i].size(); ++f)
            g.LoadCell(c0 + f, r0 + int(i), records[i][f]);
    g.CellsChanged({0, 0, g.ColCount(), g.RowCount()});
    g.CalcAllFooters();
}

// Aligned listing

QStringList AsciiLines(TExtStringGrid& g)
{
    const int c0 = g.SaveFixedCells || g.SaveFixedCols ? 0 : g.FixedCols();
    const int c1 = g.ColCount() - 1 + SaveHiddenExtra(g);
    const int r0 = g.SaveFixedCells || g.SaveFixedRows ? 0 : g.FixedRows();
    const int r1 = g.RowCount() - 1;
    const int n = std::max(0, c1 - c0 + 1);

    // Widths as ints: a column of any width keeps it.
    std::vector<int> widths(size_t(n), 0);
    for (int r = r0; r <= r1; ++r)
        for (int i = 0; i < n; ++i) {
            const QString text = SaveText(g, SaveColumn(g, c0 + i), r);
            for (const QString& l : g.Multilinecells ? CellLines(text) : QStringList{FirstLine(text)})
                widths[size_t(i)] = std::max(widths[size_t(i)], int(l.size()));
        }

    // Centred text gets the odd blank after it, so that it never grows past its column.
    auto align = [](const QString& text, int width, TAlignment a) {
        const int room = std::max(0, width - int(text.size()));
        if (a == taRightJustify)
            return QString(room, u' ') + text;
        if (a == taCenter)
            return QString(room / 2, u' ') + text + QString(room - room / 2, u' ');
        return text;
    };

    QStringList out;
    for (int r = r0; r <= r1; ++r) {
        QString line;
        std::vector<QString> extra;
        int start = 0;
        for (int i = 0; i < n; ++i) {
            const int col = SaveColumn(g, c0 + i);
            const int width = widths[size_t(i)];
            TAlignment h = taLeftJustify;
            TVAlignment v = vtaTop;
            g.GetCellAlignment(col, r, h, v);
            const QStringList lines = CellLines(SaveText(g, col, r));
            QString first = align(lines.front(), width, h);
            if (first.size() <= width)
                first += QString(width - first.size() + 1, u' ');
            line += first;
            if (g.Multilinecells)
                for (qsizetype k = 1; k < lines.size(); ++k) {
                    if (extra.size() < size_t(k))
                        extra.resize(size_t(k));
                    QString& e = extra[size_t(k - 1)];
                    if (e.size() < start)
                        e += QString(start - e.size(), u' ');
                    e += align(lines[k], width, h);
                }
            start += width + 1;
        }
        out << line;
        for (const QString& e : extra)
            out << e;
    }
    return out;
}

namespace {
void WriteAscii(TExtStringGrid& g, const QString& fileName, bool unicode, bool append)
{
    TBusyCursor wait;
    const TTextCoding coding = unicode ? TTextCoding::Utf16LeBom : TTextCoding::Ansi;
    QStringList lines;
    if (append && QFileInfo::exists(fileName))
        lines = ReadTextLines(AsBytes(ReadExisting(fileName)), TTextCoding::Ansi);
    lines += AsciiLines(g);
    platform::WriteFileAtomic(fileName, EncodeLines(lines, coding));
}
}  // namespace

void SaveToASCII(TExtStringGrid& g, const QString& fileName, bool unicode) { WriteAscii(g, fileName, unicode, false); }
void AppendToASCII(TExtStringGrid& g, const QString& fileName, bool unicode) { WriteAscii(g, fileName, unicode, true); }

double CellToReal(TExtStringGrid& g, int col, int row)
{
    const QString text = g.Cells(col, row);
    if (text.isEmpty())
        return 0;
    const QByteArray number = CleanNumberText(text).toLatin1();
    const char* begin = number.constData();
    const char* last = begin + number.size();
    // from_chars: "." whatever the process locale says.
    double value = 0;
    const auto [end, error] = std::from_chars(begin, last, value);
    if (number.isEmpty() || error != std::errc() || end != last)
        throw EExtGridError(QStringLiteral("Error at position: %1 in Cell [%2, %3].")
                                .arg(number.isEmpty() ? 1 : int(end - begin) + 1)
                                .arg(col)
                                .arg(row));
    return value;
}

}  // namespace grid::dataops
