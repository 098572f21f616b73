#include "grid/editing/GridClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "grid/editing/GridEditController.h"
#include "grid/editing/GridUndoRedo.h"
#include "platform/Dialogs.h"

namespace grid::editing {

namespace {

QString QuoteField(const QString& field)
{
    if (!field.contains(QLatin1Char('\t')) && !field.contains(QLatin1Char('\n')) &&
        !field.contains(QLatin1Char('\r')) && !field.startsWith(QLatin1Char('"')))
        return field;
    QString out = field;
    out.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

void Refuse(const QString& text) { platform::MessageDlg(text, platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK); }

}  // namespace

std::vector<QStringList> ParseTextBlock(const QString& text)
{
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false, fieldStart = true, any = false;
    const int n = int(text.size());
    for (int i = 0; i < n; ++i) {
        const QChar ch = text.at(i);
        if (quoted) {
            if (ch == QLatin1Char('"')) {
                if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                    field += ch;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += ch;
            }
            continue;
        }
        if (fieldStart && ch == QLatin1Char('"')) {
            quoted = true;
            fieldStart = false;
            any = true;
            continue;
        }
        if (ch == QLatin1Char('\t')) {
            row << field;
            field.clear();
            fieldStart = true;
            any = true;
            continue;
        }
        if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
            if (ch == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            row << field;
            rows.push_back(row);
            row.clear();
            field.clear();
            fieldStart = true;
            any = false;
            continue;
        }
        field += ch;
        fieldStart = false;
        any = true;
    }
    if (any || !field.isEmpty()) {
        row << field;
        rows.push_back(row);
    }
    return rows;
}

QString CellsAsText(TExtStringGrid& grid, const TGridRect& rect)
{
    const int left = std::min(rect.Left, rect.Right), right = std::max(rect.Left, rect.Right);
    const int top = std::min(rect.Top, rect.Bottom), bottom = std::max(rect.Top, rect.Bottom);
    QString out;
    for (int r = top; r <= bottom && r < grid.RowCount(); ++r) {
        for (int c = left; c <= right && c < grid.ColCount(); ++c) {
            if (c > left)
                out += QLatin1Char('\t');
            out += QuoteField(grid.Cells(grid.DisplToRealCol(c), r));
        }
        out += QStringLiteral("\r\n");
    }
    return out;
}

void CopySelectionToClipboard(TExtStringGrid& grid, bool cut, const TCellValidator& validate)
{
    const TGridRect s = grid.Selection();
    QGuiApplication::clipboard()->setText(CellsAsText(grid, s));
    if (!cut)
        return;
    std::vector<std::pair<int, int>> cleared;
    for (int r = std::min(s.Top, s.Bottom); r <= std::max(s.Top, s.Bottom) && r < grid.RowCount(); ++r) {
        for (int c = std::min(s.Left, s.Right); c <= std::max(s.Left, s.Right) && c < grid.ColCount(); ++c) {
            const int realCol = grid.DisplToRealCol(c);
            if (c < grid.FixedCols() || r < grid.FixedRows() || !CellAcceptsValue(grid, realCol, r) ||
                grid.Cells(realCol, r).isEmpty())
                continue;
            QString empty;
            if (validate && !validate(realCol, r, empty))
                return;
            cleared.emplace_back(realCol, r);
        }
    }
    if (cleared.empty())
        return;
    TUndoGroup group(grid);
    for (const auto& [realCol, r] : cleared) {
        const QString old = grid.Cells(realCol, r);
        grid.SetCellEx(realCol, r, QString());
        ReportCellChange(grid, realCol, r, old);
    }
}

TPasteResult PasteTextAt(TExtStringGrid& grid, int c, int r, const QString& text, const TCellValidator& validate)
{
    const std::vector<QStringList> rows = ParseTextBlock(text);
    if (rows.empty())
        return TPasteResult::NoText;
    int width = 0;
    for (const QStringList& row : rows)
        width = std::max(width, int(row.size()));
    const int height = int(rows.size());
    const int lastCol = grid.ColCount() - grid.FixedRightCols - 1;
    const int lastRow = grid.RowCount() - grid.FixedFooters - 1;
    const int roomCols = lastCol - c + 1, roomRows = lastRow - r + 1;
    if (width > roomCols) {
        Refuse(QStringLiteral("The copied cells have %1 columns, but the table has only %2 from the current cell. "
                              "Nothing was pasted.")
                   .arg(width)
                   .arg(std::max(0, roomCols)));
        return TPasteResult::TooManyColumns;
    }
    if (height > roomRows) {
        Refuse(QStringLiteral("The copied cells have %1 rows, but the table has only %2 from the current cell. "
                              "Nothing was pasted.")
                   .arg(height)
                   .arg(std::max(0, roomRows)));
        return TPasteResult::TooManyRows;
    }
    // Every change is checked before the first is written.
    struct TWrite {
        int Col, Row;
        QString Value;
    };
    std::vector<TWrite> writes;
    for (int i = 0; i < height; ++i) {
        const QStringList& row = rows[size_t(i)];
        for (int j = 0; j < int(row.size()); ++j) {
            const int realCol = grid.DisplToRealCol(c + j);
            if (!CellAcceptsValue(grid, realCol, r + i) || grid.Cells(realCol, r + i) == row[j])
                continue;
            QString value = row[j];
            if (validate && !validate(realCol, r + i, value))
                return TPasteResult::Refused;
            writes.push_back({realCol, r + i, value});
        }
    }
    if (writes.empty())
        return TPasteResult::Pasted;
    TUndoGroup group(grid);
    for (const TWrite& w : writes) {
        const QString old = grid.Cells(w.Col, w.Row);
        grid.SetCellEx(w.Col, w.Row, w.Value);
        ReportCellChange(grid, w.Col, w.Row, old);
    }
    return TPasteResult::Pasted;
}

TPasteResult PasteClipboardAt(TExtStringGrid& grid, int c, int r, const TCellValidator& validate)
{
    // Plain text only: pictures, mark-up and other formats are left alone.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return TPasteResult::NoText;
    return PasteTextAt(grid, c, r, data->text(), validate);
}

}  // namespace grid::editing
