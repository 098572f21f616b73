#pragma once
#include <QString>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridLayers.h"
#include "grid/core/GridStream.h"

namespace grid::dataops {

// CSV files and streams of a grid. The separator is the grid's Delimiter ("," when none is set
// for writing; guessed from the first two lines for reading). Written with `unicode` as UTF-8 with
// a byte-order mark, else in Windows-1252 (code page 850 with OemConvert); read by byte-order
// mark, else as UTF-8 when the bytes are valid UTF-8, else in the code page.

// The CSV text of the grid's save range, one line per row, each ended by CR LF.
QString CsvText(TExtStringGrid& g);
void SaveToCSV(TExtStringGrid& g, const QString& fileName, bool unicode);
// Adds the rows after the lines of the existing file, which must exist.
void AppendToCSV(TExtStringGrid& g, const QString& fileName, bool unicode);

// Every record goes to one row from SaveStartRow on (InsertFromCSV: after the last row, before a
// shown floating footer). A quoted field may hold line breaks. At most maxRows records when
// maxRows > 0. A stream that is too large, has too many rows or columns or a field too long is
// refused with EExtGridError and the grid keeps every cell, size and setting it had. An empty file
// changes nothing; a stream without a line raises "File is empty".
void LoadFromCSV(TExtStringGrid& g, const QString& fileName, int maxRows = -1);
void InsertFromCSV(TExtStringGrid& g, const QString& fileName, int maxRows = -1);
// Reads from the stream's position to its end.
void LoadFromCSVStream(TExtStringGrid& g, TMemoryStream& stream, int maxRows = -1);

// The separator a reader with no Delimiter takes for these first two lines; none: null.
QChar GuessDelimiter(const QString& line1, const QString& line2);

// The layers' reader of a dropped ".CSV" file: all its rows.
TGridFileLoader CsvFileLoader();

}  // namespace grid::dataops
