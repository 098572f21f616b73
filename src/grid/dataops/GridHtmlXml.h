#pragma once
#include <QImage>
#include <QString>
#include <QStringList>

#include "grid/core/ExtStringGrid.h"

namespace grid::dataops {

// The grid as an HTML table: one CSS class per distinct cell look ("c0", "c1" ... in order of first
// use), links when URLShow, the cell pictures as JPEG files dir + "images/img<n>.jpg" when
// HTMLSettings.ExportImages (a folder that cannot be made raises EExtGridError "Cannot create ...").
QString SaveToHTMLString(TExtStringGrid& grid, const QString& dir);
// The page in a file: UTF-16LE with a byte-order mark when `unicode`, else UTF-8 with one, so that
// no character is lost either way; HeaderFile and FooterFile around the table. The pictures go
// beside the file. With `show` or HTMLSettings.AutoPreview the page is opened afterwards.
void SaveToHTML(TExtStringGrid& grid, const QString& fileName, bool show, bool unicode);
// The same after the lines of the existing file (missing or unreadable counts as empty).
void AppendToHTML(TExtStringGrid& grid, const QString& fileName, bool show, bool unicode);

// The save range as a record-oriented XML file in UTF-8: one element `recordDescr` per row inside
// one `listDescr`, one element per cell named by fieldDescr (or "FIELD" + its offset). Texts are
// escaped as XML wants them. Raises EExtGridError "Cannot Create file ..." when it cannot be written.
void SaveToXML(TExtStringGrid& grid, const QString& fileName, const QString& listDescr, const QString& recordDescr,
               const QStringList* fieldDescr, bool exportEmptyCells);
// Reads such a file (or one of older writers: a declared 8-bit encoding is read as Windows-1252
// and their "$amp;" as "&"). The file is parsed whole before the grid changes; a missing file
// raises "XML file not found", a malformed one "XMLDOM Parsing error ...". Sizes are capped.
void LoadFromXML(TExtStringGrid& grid, const QString& fileName, bool levelToRow, bool loadFieldDescr);

// Caps of an XML load.
constexpr int MaxXmlCols = 512;
constexpr int MaxXmlRows = 1000000;

}  // namespace grid::dataops
