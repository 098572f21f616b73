#pragma once
#include <QMimeData>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "grid/core/ExtStringGrid.h"

class QDrag;

namespace grid::editing {

// The kinds of data a drag brings (bit values).
enum TDropFormat : uint8_t { dfText = 1, dfFile = 2, dfCol = 4, dfRTF = 8, dfURL = 0x10, dfGridCells = 0x20 };
using TDropFormats = uint8_t;

// MIME types of the grid's drag data: rich text (8-bit characters), a column number (one 32-bit
// integer) and a block of cells (32-bit length n, 32 reserved bits, n bytes of the cell stream).
inline constexpr char MimeRichText[] = "text/rtf";
inline constexpr char MimeGridColumn[] = "application/x-grid-column";
inline constexpr char MimeGridCells[] = "application/x-extstringgrid-cells";

// Whether rich text is accepted and offered: the last OleDropRTF set, for the whole process.
bool OleRichTextFlag();

// Reads what a drag carries; an absent format reads as empty text, column -1 or no stream.
class TEnumFormats {
public:
    explicit TEnumFormats(const QMimeData* data) : FData(data) {}
    bool HasText() const;
    bool HasFile() const;
    bool HasRTF() const;
    bool HasCol() const;
    bool HasURL() const;
    bool HasGridCells() const;
    TDropFormats Formats() const;
    QString Text() const;
    QString RTF() const;
    int Col() const;
    // The cell stream inside the cells format; none when absent or when its length is false.
    std::optional<std::vector<uint8_t>> Stream() const;
    // Local files dropped.
    QStringList Files() const;
    // The web address dropped (the text when there is one, else the first link).
    QString URL() const;

private:
    const QMimeData* FData;
};

// The data of an outgoing drag: the text and, with the rich-text flag, the rich text; a column
// (-1: none) and a cell stream when given.
std::unique_ptr<QMimeData> MakeSourceData(const QString& text, const QString& rtf, int col,
                                          const std::vector<uint8_t>* cells);

// The grid's cell stream for a display rectangle: the data operations' binary cell format when the
// grid has them, else column and row counts, then each cell's text (real columns behind the
// display ones), row by row.
std::vector<uint8_t> SaveRectToBinStream(TExtStringGrid& grid, const TGridRect& rect);
// Places a cell stream with its top-left at display cell (c, r); cells past the grid and fixed
// cells are left out, as one undo group (with data operations, their reader places it). A stream
// cut short or lying about its counts loads nothing and answers false.
bool LoadAtPointFromBinStream(TExtStringGrid& grid, int c, int r, std::span<const uint8_t> stream);

// How the grid takes part in drag and drop. Everything is off until switched on.
struct TDragDropSettings {
    bool OleDropTarget = false;  // set through TGridDragDrop::SetOleDropTarget
    bool OleDropSource = false;
    bool OleAcceptText = true, OleAcceptFiles = true, OleAcceptURLs = true;
    bool OleDropRTF = false;  // set through TGridDragDrop::SetOleDropRTF
    bool OleEntireRows = false, OleInsertRows = false, OleRemoveRows = false, OleAppendRows = false;
    bool OleCopyAlways = false, OleColumnDragDrop = false, OleColumnsOnly = false, OleColumnReorder = false;
    bool ShowCells = true;
    void Assign(const TDragDropSettings& source) { *this = source; }
};

// The grid as drop target and drag source. Positions are client points in the grid's layout.
class TGridDragDrop : public QObject {
public:
    explicit TGridDragDrop(TExtStringGrid& grid);
    ~TGridDragDrop() override;

    TExtStringGrid& Grid;
    TDragDropSettings Settings;
    void SetOleDropTarget(bool value);
    void SetOleDropRTF(bool value);
    // Copied from the settings when the grid becomes a drop target.
    bool AcceptText = true, AcceptFiles = true, AcceptCols = false, AcceptURLs = true;
    TDropFormats DropFormats() const { return FFormats; }

    template <typename... A>
    using Event = std::function<void(TExtStringGrid*, A...)>;
    Event<int, int, bool&> OnOleDragOver;                   // ARow, ACol, Allow
    Event<int, int, const QString&, bool&> OnOleDrop;       // ARow, ACol, data, Allow
    Event<int, int, const QString&, bool&> OnOleDropURL;    // ARow, ACol, URL, Allow
    Event<int, int, const QString&, bool&> OnOleDropFile;   // ARow, ACol, FileName, Allow
    Event<int, int, int> OnOleDropCol;                      // ARow, ACol, DropCol
    Event<const TGridRect&> OnOleDropped;                   // the cells the drop filled
    Event<int, int, const QString&, bool&> OnOleDrag;       // ARow, ACol real, cell text, Allow
    Event<int, int> OnOleDragStart;                         // ARow, ACol
    Event<Qt::DropAction> OnOleDragStop;                    // the effect

    // Readers of a dropped ".CSV" or ".XLS" file, all rows; without a reader a drop of such a
    // file is refused with a message. The grid's layers give them.
    using TFileLoader = TGridFileLoader;
    TFileLoader CsvLoader, XlsLoader;

    // Runs the platform's drag loop for a prepared drag and answers the effect: the grid's
    // layers' runner, else the platform's own.
    using TDragRunner = TGridDragRunner;
    TDragRunner DragRunner;

    // Outgoing drags; the effect (IgnoreAction when cancelled).
    Qt::DropAction RunTextDragDrop(const QString& text, const QString& rtf, const std::vector<uint8_t>* cells);
    Qt::DropAction RunColumnDragDrop(int col);

    // Starts the drag a press armed (the mouse moved away while the button is held): a column
    // from a header press with OleColumnDragDrop, else the selection's cells. Answers whether a
    // drag ran.
    bool StartDrag(int pressCol, int pressRow);

    // The drop-target protocol; each answers the effect.
    Qt::DropAction DragEnter(const QMimeData* data, QPoint pos, Qt::KeyboardModifiers keys, Qt::DropActions possible);
    Qt::DropAction DragOver(const QMimeData* data, QPoint pos, Qt::KeyboardModifiers keys, Qt::DropActions possible);
    void DragLeave();
    Qt::DropAction Drop(const QMimeData* data, QPoint pos, Qt::KeyboardModifiers keys, Qt::DropActions possible,
                        bool fromThisGrid);

    // The selection a drag from this grid started with.
    TGridRect DropSelection() const { return FDropSelection; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    virtual void DragMouseMove(QPoint pos, bool& allow, TDropFormats formats);
    virtual void DropText(QPoint pos, const QString& text);
    virtual void DropStream(QPoint pos, std::span<const uint8_t> stream);
    virtual void DropCol(QPoint pos, int col, bool fromThisGrid);
    virtual void DropRTF(QPoint pos, const QString& text);
    virtual void DropFiles(QPoint pos, const QStringList& names);
    virtual void DropURL(QPoint pos, const QString& text);
    // Writes a dropped text into the cell under pos when the application's event allows it.
    void DropIntoCell(QPoint pos, const QString& text, const Event<int, int, const QString&, bool&>& ask);

private:
    TDropFormats FFormats = 0;
    bool FAccepted = false;
    bool FColumnDrag = false;  // the drag under way carries a column
    bool FDragging = false;    // this grid is the source of a running drag
    TGridRect FDropSelection{-1, -1, -1, -1};
    bool IsAccepted(const TEnumFormats& formats) const;
    static Qt::DropAction Effect(Qt::KeyboardModifiers keys, Qt::DropActions possible);
    // The drop cell at a point: -1 outside, or the row after the last with appending.
    void DropCell(QPoint pos, int& c, int& r, bool& append) const;
    void HideArrows();
    // The moving button with the header text of a dragged column, at the mouse.
    void ShowDragButton(int col, int realCol);
    void PlaceArrow(int direction, QPoint clientTopLeft);
    void AfterMove(const TGridRect& dragged);
};

}  // namespace grid::editing
