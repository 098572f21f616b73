// The grid's own cell stream: a counts line, one width line per shown column and one line per
// non-empty cell, each line UTF-16LE ended by CR LF.
#include <QStringList>
#include <algorithm>
#include <optional>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridTextUtils.h"
#include "platform/Bytes.h"
#include "platform/IntText.h"

namespace grid {

namespace {

// Limits of what a stream may ask for; beyond them a count is a lie, not a grid.
constexpr int MaxStreamCols = 10000;
constexpr int MaxStreamRows = 1000000;
constexpr int MaxStreamWidth = 32767;

void WriteLine(TMemoryStream& stream, const QString& line)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(size_t(line.size() + 2) * 2);
    auto unit = [&](char16_t u) {
        bytes.push_back(uint8_t(u & 0xFF));
        bytes.push_back(uint8_t(u >> 8));
    };
    for (QChar c : line)
        unit(c.unicode());
    unit(13);
    unit(10);
    stream.Write(bytes);
}

struct TStreamLine {
    QString Text;
    size_t Start = 0;
    bool Terminated = false;
};

// One line from the reader's position: units up to a 13 (the 10 after it is consumed). A line that
// reaches the end of the stream without its CR LF, or an odd byte, is reported as not terminated.
TStreamLine ReadLine(platform::ByteReader& reader)
{
    TStreamLine line;
    line.Start = reader.Position();
    while (reader.Remaining() >= 2) {
        const char16_t u = reader.U16LE();
        if (u == 13) {
            if (reader.Remaining() >= 2 && reader.Peek() == 10 && reader.Peek(1) == 0) {
                reader.Skip(2);
                line.Terminated = true;
            }
            return line;
        }
        line.Text += QChar(u);
    }
    reader.Skip(reader.Remaining());
    return line;
}

std::optional<int> StrictNumber(const QString& text, int limit) { return platform::Parse_Count(text, limit); }

struct TParsedCell {
    int Col, Row;
    QString Text;
};

}  // namespace

int TExtStringGrid::SaveStartCol() const { return SaveFixedCells || SaveFixedCols ? 0 : FixedCols(); }
int TExtStringGrid::SaveEndCol() const
{
    return SaveFixedCells || SaveFixedCols ? ColCount() - 1 : ColCount() - FixedRightCols - 1;
}
int TExtStringGrid::SaveStartRow() const { return SaveFixedCells || SaveFixedRows ? 0 : FixedRows(); }
int TExtStringGrid::SaveEndRow() const
{
    return SaveFixedCells || SaveFixedRows ? RowCount() - 1 : RowCount() - FixedFooters - 1;
}
int TExtStringGrid::SaveColCount() const
{
    return SaveFixedCells || SaveFixedCols ? ColCount() : ColCount() - FixedCols() - FixedRightCols;
}
int TExtStringGrid::SaveRowCount() const
{
    return SaveFixedCells || SaveFixedRows ? RowCount() : RowCount() - FixedRows() - FixedFooters;
}

void TExtStringGrid::SaveToStream(TMemoryStream& stream)
{
    WriteLine(stream, QStringLiteral("%1,%2").arg(SaveColCount()).arg(SaveRowCount()));
    for (int c = 0; c < ColCount(); ++c)
        WriteLine(stream, QStringLiteral("cw %1,%2").arg(c).arg(ColWidths(c)));
    const int c0 = SaveStartCol(), r0 = SaveStartRow();
    // The notification's states: 0 start, 5 the next row, 2 done.
    ExportNotification(0, r0);
    for (int r = r0; r <= SaveEndRow(); ++r) {
        ExportNotification(5, r);
        for (int c = c0; c <= SaveEndCol(); ++c) {
            QString text;
            SaveCell(c, r, text);
            if (!text.isEmpty())
                WriteLine(stream, QStringLiteral("%1,%2,").arg(c - c0).arg(r - r0) + EncodeLineBreaks(text));
        }
    }
    ExportNotification(2, -1);
}

void TExtStringGrid::LoadFromStream(TMemoryStream& stream)
{
    const size_t origin = stream.Position();
    platform::ByteReader reader(stream.Bytes());
    if (origin >= reader.Size() || !reader.Seek(origin))
        return;
    int lineNo = 1;
    auto refuse = [&](const QString& why) -> void {
        stream.SetPosition(origin);
        throw EExtGridError(QStringLiteral("Invalid cell stream, line %1: %2").arg(lineNo).arg(why));
    };

    const TStreamLine counts = ReadLine(reader);
    if (counts.Text.isEmpty() && counts.Terminated)
        return;
    if (!counts.Terminated)
        refuse(QStringLiteral("the stream ends inside a line"));
    const qsizetype comma = counts.Text.indexOf(',');
    const int c0 = SaveStartCol(), r0 = SaveStartRow();
    const auto cols = StrictNumber(counts.Text.left(comma), MaxStreamCols - c0);
    const auto rows = StrictNumber(comma < 0 ? QString() : counts.Text.mid(comma + 1), MaxStreamRows - r0);
    if (comma < 0 || !cols || !rows)
        refuse(QStringLiteral("the column and row counts are not valid"));
    const int newCols = std::max(*cols + c0, 1);
    const int newRows = std::max(*rows + r0, 1);

    std::vector<std::pair<int, int>> widths;
    std::vector<TParsedCell> cells;
    size_t end = reader.Position();
    size_t pos = end;
    while (!reader.AtEnd()) {
        ++lineNo;
        const TStreamLine line = ReadLine(reader);
        pos = reader.Position();
        if (line.Text.startsWith(QStringLiteral("cw"))) {
            if (!line.Terminated)
                refuse(QStringLiteral("the stream ends inside a line"));
            const QString rest = line.Text.mid(3);
            const qsizetype k = rest.indexOf(',');
            const auto index = StrictNumber(rest.left(k), MaxStreamCols);
            const auto width = StrictNumber(k < 0 ? QString() : rest.mid(k + 1), MaxStreamWidth);
            if (k < 0 || !index || !width)
                refuse(QStringLiteral("a column width is not valid"));
            if (*index >= newCols)
                refuse(QStringLiteral("a column width names a column outside the grid"));
            widths.emplace_back(*index, *width);
            end = pos;
            continue;
        }
        const qsizetype k1 = line.Text.indexOf(',');
        const qsizetype k2 = k1 < 0 ? -1 : line.Text.indexOf(',', k1 + 1);
        if (k1 <= 0 || k2 < 0 || k2 == k1 + 1) {
            // Not a cell line: it belongs to whoever wrote after the grid.
            pos = line.Start;
            break;
        }
        if (!line.Terminated)
            refuse(QStringLiteral("the stream ends inside a line"));
        const auto col = StrictNumber(line.Text.left(k1), MaxStreamCols);
        const auto row = StrictNumber(line.Text.mid(k1 + 1, k2 - k1 - 1), MaxStreamRows);
        if (!col || !row)
            refuse(QStringLiteral("a cell position is not valid"));
        if (*col + c0 >= newCols || *row + r0 >= newRows)
            refuse(QStringLiteral("a cell lies outside the grid"));
        cells.push_back({*col + c0, *row + r0, DecodeLineBreaks(line.Text.mid(k2 + 1), Multilinecells)});
        end = pos;
    }
    if (pos >= reader.Size())
        pos = end;

    // Everything was checked: only now does the grid change.
    SetColCount(newCols);
    SetRowCount(newRows);
    for (const auto& [index, width] : widths)
        SetColWidths(index, width);
    for (const TParsedCell& cell : cells)
        LoadCell(cell.Col, cell.Row, cell.Text);
    stream.SetPosition(pos);
    CellsChanged({0, 0, ColCount(), RowCount()});
    CalcAllFooters();
}

void TExtStringGrid::Assign(TExtStringGrid& source)
{
    if (&source == this)
        return;
    FontName = source.FontName;
    FontSize = source.FontSize;
    ActiveCellColor = source.ActiveCellColor;
    ActiveCellColorTo = source.ActiveCellColorTo;
    ActiveRowShow = source.ActiveRowShow;
    MouseActions.Assign(source.MouseActions);
    Navigation.Assign(source.Navigation);
    Bands.Assign(source.Bands);
    CellNode.Assign(source.CellNode);
    SyncGrid.Assign(source.SyncGrid);
    FocusHelper.Assign(source.FocusHelper);
    FixedRowAlways = source.FixedRowAlways;
    FilterDropDown.Assign(source.FilterDropDown);
    Grouping.Assign(source.Grouping);
    PrintSettings.Assign(source.PrintSettings);
    Filter.Assign(source.Filter);
    HTMLSettings.Assign(source.HTMLSettings);
    SortSettings.Assign(source.SortSettings);
    AutoFilterUpdate = source.AutoFilterUpdate;
    SetColCount(source.ColCount());
    SetRowCount(source.RowCount());
    SetFixedRows(source.FixedRows());
    SetFixedCols(source.FixedCols());
    SetDefaultColWidth(source.DefaultColWidth());
    SetDefaultRowHeight(source.DefaultRowHeight());
    Options = source.Options;
    for (int c = 0; c < ColCount(); ++c)
        SetColWidths(c, source.ColWidths(c));
    ColumnHeaders = source.ColumnHeaders;
    for (int r = 0; r < RowCount(); ++r)
        SetRowHeights(r, source.RowHeights(r));
    SetScrollProportional(source.ScrollProportional());
    ScrollSynch = source.ScrollSynch;
    ScrollHints = source.ScrollHints;
    SetScrollBarAlways(source.ScrollBarAlways());
    SetGridScrollBars(source.GridScrollBars());
    SetScrollColor(source.ScrollColor);
    SetScrollType(source.ScrollType());
    SetScrollWidth(source.ScrollWidth());
    AssignCells(source);
}

void TExtStringGrid::AssignCells(TExtStringGrid& source)
{
    TMemoryStream stream;
    source.SaveToStream(stream);
    stream.SetPosition(0);
    LoadFromStream(stream);
}

}  // namespace grid
