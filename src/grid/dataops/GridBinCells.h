#pragma once
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "grid/core/ExtStringGrid.h"
#include "grid/dataops/GridTextFormats.h"

namespace grid::dataops {

// The binary cell format: a header record, then one record per cell of a rectangle (row by row),
// each optionally followed by its cell properties, its graphic and the graphic's payload. Every
// record is a component record ("TPF0", class name, empty object name, named property values, two
// 0 bytes). It is the payload of the grid's own clipboard format, of drag and drop between grids
// and of the binary grid files.

// The most a stream may describe: column and row indexes of a record are 16 bits wide.
constexpr int MaxBinCols = 512;
constexpr int MaxBinRows = 65535;

struct TBinHeader {
    int ColCount = 0, RowCount = 0;
    QString ColWidths, RowHeights;
    bool FullGrid = false;
    int ID = 0;
};

// 80-bit extended precision (sign, 15-bit exponent, 64-bit significand with its integer bit),
// little-endian, converted arithmetically so that no x87 unit is assumed.
std::array<uint8_t, 10> DoubleToExtended(double value);
double ExtendedToDouble(std::span<const uint8_t, 10> bytes);

// The number by which a stream names the grid that wrote it; a paste compares it with its own.
int GridStreamID(const TExtStringGrid& grid);

// The records of the display rectangle (inclusive corners), cut to the grid and to the format's
// limits.
std::vector<uint8_t> SaveRectToBinStream(TExtStringGrid& grid, const TGridRect& rect);
// The save range's records.
std::vector<uint8_t> SaveToBinStream(TExtStringGrid& grid);
// Written whole beside the file and renamed over it; a failure raises EExtGridError.
void SaveToBinFile(TExtStringGrid& grid, const QString& fileName);

// The header record at the start of a stream; false (header untouched) when it is not one.
bool ReadBinHeader(std::span<const uint8_t> stream, TBinHeader& header);
// Reads every record of the stream and places the cells so that the first lands on display cell
// (col, row) (a full grid keeps its own positions, offset by that cell). The whole stream is read
// and checked before the grid changes: a stream that is cut short, names a property its record
// does not have, lies about its sizes or places a cell outside its own rectangle raises
// EExtGridError with the grid unchanged. Reading stops at the first record that does not start
// with "TPF0" (a clipboard block may be longer than its stream). Cells that fall outside the grid
// are left out. `beforePlacing` runs once the stream is found sound, before the first cell is
// placed (a paste grows the grid there); `accept` (display column, row, text it may change) may
// leave a cell out, with its properties. Answers the header read.
using TBinCellFilter = std::function<bool(int col, int row, QString& text)>;
TBinHeader LoadAtPointFromBinStream(TExtStringGrid& grid, int col, int row, std::span<const uint8_t> stream,
                                    const std::function<void(const TBinHeader&)>& beforePlacing = {},
                                    const TBinCellFilter& accept = {});
// At (0, 0), then the node rows are counted again.
void LoadFromBinStream(TExtStringGrid& grid, std::span<const uint8_t> stream);
// Files larger than the format could describe are refused unread.
void LoadFromBinFile(TExtStringGrid& grid, const QString& fileName);

}  // namespace grid::dataops
