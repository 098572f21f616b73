#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QImage;

namespace platform {

// Office documents, database files and JPEG pictures are read and written by a module of their
// own (platform/formats), loaded the first time one is used: the libraries behind them (libzip,
// libxlsxwriter, freexl, SQLite, mdbtools, libjpeg, with their own chains) then cost a program
// start nothing. The values below cross between the program and that module.

// Workbooks: ".xlsx" packages read through libzip and pugixml and written with libxlsxwriter (or
// changed in place, keeping every other sheet and part), ".xls" files read with freexl.

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

// A block of texts to write: Rows × Cols, fetched row by row (Row(r, out) fills out with Cols
// texts). Texts that are number texts are written as numbers, empty texts as empty cells, the
// others as strings.
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

// Sheets hold at most this many rows, columns and characters per cell.
constexpr int MaxSheetRows = 1'048'576;
constexpr int MaxSheetCols = 16384;
constexpr int MaxSheetCellChars = 32767;

// Database files without a database server: SQLite files through SQLite, Access files (".mdb",
// ".accdb") through mdbtools where the program was built with it.

struct TQueryResult {
    QStringList Fields;
    // The records' values as texts; NULL is an empty text.
    std::vector<QStringList> Records;
};

struct TQueryLimits {
    int MaxRecords = 1'000'000;
    int MaxFields = 16384;
};

// ".docx" documents without a word processor, through libzip and pugixml.

enum class TDocAlign { Left, Centre, Right };

struct TDocCell {
    QString Text;  // line breaks start new paragraphs in the cell
    TDocAlign Align = TDocAlign::Left;
};

// A table of Rows × Cols cells, fetched row by row (Row(r, out) fills out with Cols cells), with
// an optional caption paragraph in front of it.
struct TDocTable {
    int Rows = 0, Cols = 0;
    std::function<void(int row, std::vector<TDocCell>& out)> Row;
    QString Caption;
};

// A document or table may hold at most this many cells.
constexpr qint64 MaxDocCells = 500'000;

// An open workbook.
class TWorkbook {
public:
    virtual ~TWorkbook() = default;
    // The worksheets' names in workbook order.
    virtual QStringList SheetNames() const = 0;
    // The sheet the workbook was saved with in front.
    virtual int ActiveSheet() const = 0;
    virtual TSheetData ReadSheet(int index, const TSheetLimits& limits) const = 0;
};

// What the module does. Every failure throws Exception with a message naming the file.
class TFileFormats {
public:
    virtual ~TFileFormats() = default;
    // Opens a ".xlsx" package or a ".xls" file, told apart by their contents.
    virtual std::unique_ptr<TWorkbook> OpenWorkbook(const QString& path) const = 0;
    // Writes the block from column A. A new workbook holds the one sheet ("Sheet1" without a
    // name); a block written into an existing workbook replaces the cells under it and keeps every
    // other cell, sheet and part. A ".xls" target is refused with a message naming ".xlsx".
    virtual void WriteWorkbookSheet(const QString& path, const TSheetTarget& target, const TSheetBlock& block) const = 0;
    // Runs one statement on the file opened read-only and keeps the whole result.
    virtual TQueryResult RunDatabaseQuery(const QString& path, const QString& sql, const TQueryLimits& limits) const = 0;
    // A new document holding the table; it replaces the file whole.
    virtual void WriteDocxTable(const QString& path, const TDocTable& table) const = 0;
    // Adds the table after the paragraph of the bookmark, or at the end of the document.
    virtual void AppendDocxTable(const QString& path, const QString& bookmark, const TDocTable& table) const = 0;
    // The picture as a baseline JPEG; false for an empty picture or one the encoder refuses.
    virtual bool EncodeJpeg(const QImage& image, QByteArray& out) const = 0;
};

// The module's one exported function answers its TFileFormats for the interface version the
// program was built with, or null for another version.
constexpr const char* FileFormatsEntry = "ConfFileFormats";
constexpr int FileFormatsVersion = 1;
using TFileFormatsEntry = const TFileFormats* (*)(int version);

// The module, loaded on the first call from beside the program or from the build folder; throws
// Exception naming the module when it cannot be loaded.
const TFileFormats& FileFormats();

}  // namespace platform
