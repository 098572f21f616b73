#pragma once
#include <QString>
#include <functional>
#include <vector>

namespace platform {

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

// A new document holding the table; it replaces the file whole.
void WriteDocxTable(const QString& path, const TDocTable& table);
// Adds the table to the document after the paragraph of the bookmark (names compare without
// regard to case), or at the end of the document when the bookmark is empty or not there. The
// rest of the document stays as it was. Throws Exception naming the file on failure.
void AppendDocxTable(const QString& path, const QString& bookmark, const TDocTable& table);

// A document or table may hold at most this many cells.
constexpr qint64 MaxDocCells = 500'000;

}  // namespace platform
