#pragma once
#include <QString>
#include <QStringList>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridLayers.h"

namespace grid::dataops {

// A grid's cells exchanged with office files, without an office program: workbooks (".xlsx"
// read and written, ".xls" read), documents (".docx" tables written and appended) and database
// files (SQLite, and Access where the program has mdbtools). Every failure raises EExtGridError
// with a message; a load that fails leaves the grid as it was.

// The names of the workbook's worksheets.
QStringList GetXLSSheets(const QString& fileName);
// The active sheet (LoadFromXLS) or the named one (the last of that name; none: "Excel worksheet "
// + name + " not found") sized to its used range: the range B2:D4 gives 3 × 3 cells, placed after
// the fixed columns and rows unless SaveFixedCells (or SaveFixedCols / SaveFixedRows) counts them
// in. A value that cannot be read raises "Incorrect XLS file".
void LoadFromXLS(TExtStringGrid& g, const QString& fileName);
void LoadFromXLSSheet(TExtStringGrid& g, const QString& fileName, const QString& sheetName);

// The rows from SaveStartRow and the display columns from SaveStartCol to the grid's end, CRs
// removed, from column A. SaveToXLS writes a new workbook with createNewSheet or when the file is
// missing, else into the file's active sheet from the row of its active cell; SaveToXLSSheet
// writes from row 1 into the named sheet, added when the workbook lacks it. Other sheets and cells
// of an existing workbook stay. A ".xls" target is refused with a message naming ".xlsx".
void SaveToXLS(TExtStringGrid& g, const QString& fileName, bool createNewSheet);
void SaveToXLSSheet(TExtStringGrid& g, const QString& fileName, const QString& sheetName);

// All rows and columns as a document table, with the grid's own text (its window title) as a
// caption paragraph in front when it has one; right and centred cells keep their alignment.
// SaveToDOC writes a new document; AppendToDoc adds the table after the bookmark's paragraph, or
// at the end when the document has no such bookmark.
void SaveToDOC(TExtStringGrid& g, const QString& fileName, bool createNewDocument);
void AppendToDoc(TExtStringGrid& g, const QString& fileName, const QString& bookmark);

// The query's fields (into row FixedRows - 1 when there are fixed rows) and records from row
// FixedRows, from column FixedCols; the grid is not cleared first. The whole result is read
// before the grid changes.
void LoadFromMDBTable(TExtStringGrid& g, const QString& fileName, const QString& table);
void LoadFromMDBSQL(TExtStringGrid& g, const QString& fileName, const QString& sql);

// Scales FixedFont and ActiveCellFont by m / d (rounded) when the grid's form is scaled.
void ChangeScale(TExtStringGrid& g, int m, int d);

// The layers' reader of a dropped ".XLS" file.
TGridFileLoader XlsFileLoader();

// What a grid loads from a sheet.
constexpr int MaxSheetLoadRows = 1'000'000;
constexpr int MaxSheetLoadCols = 16384;
constexpr qint64 MaxSheetLoadCells = 16'000'000;

}  // namespace grid::dataops
