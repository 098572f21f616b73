#include "grid/dataops/GridOffice.h"

#include <cmath>

#include "grid/dataops/GridTextFormats.h"
#include "platform/FileFormats.h"

namespace grid::dataops {

namespace office_detail {

// Runs a platform call and hands its failure on as the grid's error.
template <typename F>
auto AsGridError(F&& f)
{
    try {
        return f();
    } catch (const EExtGridError&) {
        throw;
    } catch (const platform::Exception& e) {
        throw EExtGridError(e.message());
    }
}

void LoadSheet(TExtStringGrid& g, const QString& fileName, const QString* sheetName)
{
    TBusyCursor wait;
    const platform::TSheetLimits limits{MaxSheetLoadRows, MaxSheetLoadCols, MaxSheetLoadCells};
    const platform::TSheetData data = AsGridError([&] {
        const auto book = platform::FileFormats().OpenWorkbook(fileName);
        int index = book->ActiveSheet();
        if (sheetName) {
            index = -1;
            const QStringList names = book->SheetNames();
            for (int i = 0; i < names.size(); ++i)
                if (names[i].compare(*sheetName, Qt::CaseInsensitive) == 0)
                    index = i;
            if (index < 0)
                throw EExtGridError(QStringLiteral("Excel worksheet ") + *sheetName + QStringLiteral(" not found"));
        }
        return book->ReadSheet(index, limits);
    });
    // The whole sheet was read: now the grid changes.
    const int colOff = g.SaveFixedCells || g.SaveFixedCols ? 0 : g.FixedCols();
    const int rowOff = g.SaveFixedCells || g.SaveFixedRows ? 0 : g.FixedRows();
    const int fixedCols = g.FixedCols(), fixedRows = g.FixedRows();
    g.SetColCount(colOff + data.ColSpan());
    g.SetRowCount(rowOff + data.RowSpan());
    if (fixedCols < g.ColCount() && g.FixedCols() != fixedCols)
        g.SetFixedCols(fixedCols);
    if (fixedRows < g.RowCount() && g.FixedRows() != fixedRows)
        g.SetFixedRows(fixedRows);
    // Every position of the range is written; the empty ones get an empty text.
    auto cell = data.Cells.begin();
    const QString empty;
    for (int r = data.FirstRow; r <= data.LastRow; ++r)
        for (int c = data.FirstCol; c <= data.LastCol; ++c) {
            const bool has = cell != data.Cells.end() && cell->Row == r && cell->Col == c;
            g.LoadCell(c - data.FirstCol + colOff, r - data.FirstRow + rowOff, has ? cell->Text : empty);
            if (has)
                ++cell;
        }
    g.CellsChanged(TGridRect{0, 0, g.ColCount(), g.RowCount()});
    g.CalcAllFooters();
}

void SaveSheet(TExtStringGrid& g, const QString& fileName, const platform::TSheetTarget& target)
{
    TBusyCursor wait;
    const int r0 = g.SaveStartRow(), c0 = g.SaveStartCol();
    platform::TSheetBlock block;
    block.Rows = std::max(0, g.RowCount() - r0);
    block.Cols = std::max(0, g.ColCount() - c0);
    block.Row = [&](int i, std::vector<QString>& out) {
        g.ExportNotification(esExportNextRow, r0 + i);
        for (int c = 0; c < block.Cols; ++c)
            out[size_t(c)] = SaveText(g, g.DisplToRealCol(c0 + c), r0 + i).remove(QChar(13));
    };
    g.ExportNotification(esExportStart, r0);
    AsGridError([&] { platform::FileFormats().WriteWorkbookSheet(fileName, target, block); });
    g.ExportNotification(esExportDone, -1);
}

void SaveTable(TExtStringGrid& g, const QString& fileName, const QString* bookmark)
{
    TBusyCursor wait;
    platform::TDocTable table;
    table.Rows = g.RowCount();
    table.Cols = g.ColCount();
    table.Caption = g.windowTitle();
    table.Row = [&](int r, std::vector<platform::TDocCell>& out) {
        g.ExportNotification(esExportNextRow, r);
        for (int c = 0; c < table.Cols; ++c) {
            TAlignment h = taLeftJustify;
            TVAlignment v{};
            g.GetCellAlignment(c, r, h, v);
            out[size_t(c)].Text = SaveText(g, g.DisplToRealCol(c), r);
            out[size_t(c)].Align = h == taRightJustify ? platform::TDocAlign::Right
                                   : h == taCenter     ? platform::TDocAlign::Centre
                                                       : platform::TDocAlign::Left;
        }
    };
    g.ExportNotification(esExportStart, 0);
    AsGridError([&] {
        if (bookmark)
            platform::FileFormats().AppendDocxTable(fileName, *bookmark, table);
        else
            platform::FileFormats().WriteDocxTable(fileName, table);
    });
    g.ExportNotification(esExportDone, -1);
}

}  // namespace office_detail

using namespace office_detail;

QStringList GetXLSSheets(const QString& fileName)
{
    return AsGridError([&] { return platform::FileFormats().OpenWorkbook(fileName)->SheetNames(); });
}

void LoadFromXLS(TExtStringGrid& g, const QString& fileName) { LoadSheet(g, fileName, nullptr); }

void LoadFromXLSSheet(TExtStringGrid& g, const QString& fileName, const QString& sheetName)
{
    LoadSheet(g, fileName, &sheetName);
}

void SaveToXLS(TExtStringGrid& g, const QString& fileName, bool createNewSheet)
{
    SaveSheet(g, fileName, {QString(), createNewSheet});
}

void SaveToXLSSheet(TExtStringGrid& g, const QString& fileName, const QString& sheetName)
{
    SaveSheet(g, fileName, {sheetName, false});
}

// A new document either way: no document stands open in a word processor here.
void SaveToDOC(TExtStringGrid& g, const QString& fileName, bool /*createNewDocument*/)
{
    SaveTable(g, fileName, nullptr);
}

void AppendToDoc(TExtStringGrid& g, const QString& fileName, const QString& bookmark)
{
    SaveTable(g, fileName, &bookmark);
}

void LoadFromMDBTable(TExtStringGrid& g, const QString& fileName, const QString& table)
{
    LoadFromMDBSQL(g, fileName, QStringLiteral("SELECT * FROM ") + table);
}

void LoadFromMDBSQL(TExtStringGrid& g, const QString& fileName, const QString& sql)
{
    const platform::TQueryResult result = AsGridError([&] {
        return platform::FileFormats().RunDatabaseQuery(fileName, sql, {MaxSheetLoadRows, MaxSheetLoadCols});
    });
    const int fixedCols = g.FixedCols(), fixedRows = g.FixedRows();
    const int fields = int(result.Fields.size());
    if (fields > 0)
        g.SetColCount(fields + fixedCols);
    if (fixedRows > 0)
        for (int i = 0; i < fields; ++i)
            g.LoadCell(i + fixedCols, fixedRows - 1, result.Fields[i]);
    if (!result.Records.empty())
        g.SetRowCount(fixedRows + int(result.Records.size()));
    int row = fixedRows;
    for (const QStringList& record : result.Records) {
        for (int i = 0; i < fields; ++i)
            g.LoadCell(i + fixedCols, row, record[i]);
        ++row;
    }
}

void ChangeScale(TExtStringGrid& g, int m, int d)
{
    if (m == d || d == 0)
        return;
    auto scale = [&](TFontDesc& font) { font.Size = int(std::lround(double(font.Size) * m / d)); };
    scale(g.FixedFont);
    scale(g.ActiveCellFont);
}

TGridFileLoader XlsFileLoader()
{
    return [](TExtStringGrid& g, const QString& fileName) { LoadFromXLS(g, fileName); };
}

}  // namespace grid::dataops
