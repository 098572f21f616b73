#pragma once
#include <QString>
#include <functional>

#include "grid/core/ExtStringGrid.h"

class QMimeData;

namespace grid::dataops {

// The clipboard formats by name: the grid's own cells (the binary cell format) and one cell's rich
// text as UTF-16LE units ended by a 0 unit. Plain text and HTML use the clipboard's standard ones.
inline constexpr char MimeGridCellsFormat[] = "application/x-qt-windows-mime;value=\"TExtStringGrid Cells\"";
inline constexpr char MimeRichTextFormat[] = "application/x-qt-windows-mime;value=\"Rich Text Format\"";

enum TClipOperation : uint8_t { coCut = 0, coCopy = 1 };

// The clipboard of one grid: copy, cut and paste with the formats' order of preference (own
// cells, rich text, plain text), the smart fill of a larger selection, and the text-block
// routines of the drop target. The clipboard is reached through QClipboard.
class TGridClipboard {
public:
    explicit TGridClipboard(TExtStringGrid& grid) : Grid(grid) {}

    // Checks a value on its way into a cell (real column); false refuses that cell.
    std::function<bool(int realCol, int row, QString& value)> Validate;

    // The clipboard text of a display rectangle: TAB between cells, CR LF after each row when the
    // rectangle has more than one; a multi-line cell is quoted with its CRs turned into LFs.
    QString RectToClipboardText(const TGridRect& rect, bool disjunct);
    // The data a copy of the rectangle puts on the clipboard.
    std::unique_ptr<QMimeData> RectMimeData(const TGridRect& rect, bool disjunct);
    void CopyRectToClipboard(const TGridRect& rect, bool disjunct);
    void CopySelectionToClipboard();
    void CopyToClipBoard();
    // The HTML export (pictures left out) as the clipboard's HTML and text.
    void CopyToClipBoardAsHTML();
    void CutToClipboard();
    void CutSelectionToClipboard();
    void PasteSelectionFromClipboard();
    void PasteFromClipboard();
    QString GetSelectionAsText();
    void SetSelectionAsText(const QString& value);

    // The paste worker over given clipboard data; rows and cols are out values (see the paste
    // of the own format and of text); answers the cells pasted.
    int PasteDataAt(const QMimeData* data, int c, int r, int& rows, int& cols);
    int PasteClipboardAt(int c, int r, int& rows, int& cols);
    // A TAB / CR LF text block into the grid at display cell (c, r); lines and fields (of the last
    // line) are out values; answers the fields handled.
    int PasteTextBlock(int c, int r, const QString& text, int& lines, int& fields);
    // Columns: the most fields of a line; rows: the non-empty lines less one.
    static void MeasureTextBlock(const QString& text, int& cols, int& rows);
    void ExpandMergedSelection();

    TPoint ClipTopLeft() const { return FClipTopLeft; }
    TClipOperation ClipLastOp() const { return FClipLastOp; }

private:
    // How a paste writes one cell (display column); false when the validator refused it.
    bool SetCellValue(int c, int r, const QString& value);
    void SetRangeModified(const TGridRect& rect);
    bool Editable(int c, int r);
    TGridRect SaveRange() const;
    // Empties the rectangle's editable cells as one undo step.
    void EmptyEditable(const TGridRect& rect);
    bool SmartFill(const TGridRect& sel, int n);

    TExtStringGrid& Grid;
    TPoint FClipTopLeft{-1, -1};
    TClipOperation FClipLastOp = coCopy;
    bool FPasteAll = false;
};

}  // namespace grid::dataops
