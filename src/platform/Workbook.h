#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

// Workbooks without a spreadsheet program: ".xlsx" packages read through libzip and pugixml and
// written with libxlsxwriter (or changed in place, keeping every other sheet and part), ".xls"
// files read with freexl. Every failure throws Exception with a message naming the file.

// A value of a sheet; rows and columns count from 0 (row 0 is the sheet's row 1, column 0 its
// column A).
struct TSheetCell {
    int Row = 0, Col = 0;
    QString Text;
};

// The used range (the cells holding a value) and its values in row order. A sheet without any
// value has the range A1:A1 and no cells. Error values are left out.
struct TSheetData {
    int FirstRow = 0, FirstCol = 0, LastRow = 0, LastCol = 0;
    std::vector<TSheetCell> Cells;
    int RowSpan() const { return LastRow - FirstRow + 1; }
    int ColSpan() const { return LastCol - FirstCol + 1; }
};

// What a reader accepts: a used range beyond these is refused before its values are kept.
struct TSheetLimits {
    int MaxRows = 1'000'000;
    int MaxCols = 16384;
    qint64 MaxCells = 16'000'000;
};

// Texts of values: numbers with up to 15 significant digits ("12.5", "1e+20"), booleans as
// "TRUE" / "FALSE", dates and times as "yyyy-MM-dd", "yyyy-MM-dd hh:mm:ss" or "hh:mm:ss".
QString SheetNumberText(double value);
// A text that is the number text of a finite number, so that writing it as a number and reading
// it back gives the same text.
bool IsSheetNumber(const QString& text, double& value);

class TWorkbookReader {
public:
    // Opens a ".xlsx" package or a ".xls" file, told apart by their contents.
    explicit TWorkbookReader(const QString& path);
    ~TWorkbookReader();
    // The worksheets' names in workbook order.
    QStringList SheetNames() const;
    // The sheet the workbook was saved with in front.
    int ActiveSheet() const;
    TSheetData ReadSheet(int index, const TSheetLimits& limits = {}) const;

    struct TImpl;

private:
    std::unique_ptr<TImpl> Impl;
};

// A block of texts to write: Rows × Cols, fetched row by row (Row(r, out) fills out with Cols
// texts). Texts that are number texts (IsSheetNumber) are written as numbers, empty texts as
// empty cells, the others as strings.
struct TSheetBlock {
    int Rows = 0, Cols = 0;
    std::function<void(int row, std::vector<QString>& out)> Row;
};

// Where a block goes.
struct TSheetTarget {
    // Empty: the workbook's active sheet from the row of its active cell, or a new workbook.
    QString SheetName;
    // Without a sheet name: a new workbook even when the file exists.
    bool NewWorkbook = false;
};

// Writes the block from column A. A new workbook holds the one sheet ("Sheet1" without a name);
// a block written into an existing workbook replaces the cells under it and keeps every other
// cell, sheet and part. A ".xls" target is refused with a message naming ".xlsx"; a file that
// exists but is no workbook is left alone with a message.
void WriteWorkbookSheet(const QString& path, const TSheetTarget& target, const TSheetBlock& block);

// Sheets hold at most this many rows, columns and characters per cell.
constexpr int MaxSheetRows = 1'048'576;
constexpr int MaxSheetCols = 16384;
constexpr int MaxSheetCellChars = 32767;

}  // namespace platform
