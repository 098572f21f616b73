#pragma once
#include <QPoint>
#include <QRect>
#include <QString>

#include "grid/core/ExtStringGrid.h"

namespace grid::editing {

// Where a large text's hint shows: over its cell or at the cursor.
enum THintPosition : uint8_t { hpCell, hpCursor };

// A cell's hint as prepared for a client point of the grid.
struct TCellHint {
    QString Text;
    QPoint Pos;              // top-left of the hint window, client coordinates
    QRect Area;              // the cell it was made for; it lasts while the mouse stays there
    TColor Color = clInfoBk;  // the grid's HintColor
    int MaxWidth = 0;        // ControlLook.HintMaxWidth; 0: none
    bool Html = false;       // the text is mark-up
};

// The hint text broken into lines no wider than maxWidth pixels in the font (0: unchanged).
QString WrapHint(const QString& text, const QFont& font, int maxWidth);

}  // namespace grid::editing

namespace controls {
class THTMLHintWindow;
}

namespace grid::editing {
// Shows the hint where the grid placed it, in its colour; the platform's own hint request for the
// same text and cell then leaves it there. Mark-up and wide hints (with UseInternalHintClass) go
// to the grid's own hint window, drawn by the mark-up renderer.
void ShowCellHint(TExtStringGrid& grid, const TCellHint& hint);
// The grid's mark-up hint window, made on first use.
controls::THTMLHintWindow* CellHintWindow(TExtStringGrid& grid);
// The text as the hint window shows it (plain text, kept on its lines).
QString HintDisplayText(const QString& text);
}  // namespace grid::editing
