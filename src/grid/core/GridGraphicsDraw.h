#pragma once
#include <QStringList>

#include "grid/core/CellGraphic.h"
#include "grid/core/GridSettings.h"
#include "grid/core/GridTypes.h"
#include "platform/TCanvas.h"

class QWidget;

// Drawing the graphic a cell carries: check boxes in every control style, radio buttons and
// groups, images, progress bars, pies, range indicators, comments, buttons, shapes, ratings,
// nodes, rotated text and interfaced objects. The cell painter asks CellGraphicLayout for the
// graphic's size and placement before it draws the text, and calls DrawCellGraphic after it.
namespace grid {

class TExtStringGrid;

// The cell a graphic is drawn for, as the cell painter knows it.
struct TGraphicPaintCell {
    int Col = 0;   // real column
    int DCol = 0;  // display column
    int Row = 0;
    TGridDrawState State = 0;
    TAlignment HAlign = taLeftJustify;  // of the cell text
    TVAlignment VAlign = vtaTop;
    int TextWidth = 0;  // measured width of the drawn text, 0 when none
    QWidget* Window = nullptr;  // the window themed parts are drawn for
    bool HotButton = false;     // the mouse is over this cell's button
    TColor Brush = clNone;      // the cell's fill, behind node glyphs
    TRect GraphicRect;          // out: where the graphic went
};

// The cell's graphic (null when none) with its size, placement and whether the text is drawn.
TCellGraphic* CellGraphicLayout(TExtStringGrid& grid, int ACol, int ARow, TCellVAlign& VAlign, TCellHAlign& HAlign,
                                bool& DrawText, int& Height, int& Width);
// Where the cell's check box or radio button is drawn, in grid client coordinates (empty when the
// cell has none): the painting's own placement, so that a click hits what is seen.
TRect CheckBoxPlace(TExtStringGrid& grid, int col, int row);
// Draws the graphic in rect (inside the grid lines). Never raises: a missing image, list or
// object, or a text that is no number, only changes what is drawn.
void DrawCellGraphic(TExtStringGrid& grid, platform::TCanvas& canvas, TGraphicPaintCell& cell, TRect rect,
                     TCellGraphic* graphic);
// One check box at r's top-left (classic looks centred in r).
void DrawCheck(TExtStringGrid& grid, platform::TCanvas& canvas, TRect r, bool Checked, bool Enabled, bool Grayed,
               TControlStyle Style, bool TriState = false, TCheckBoxState TriStateValue = cbUnchecked);
// Count radio buttons; Index -1 checks the item whose caption equals the cell text of (ACol, ARow).
void DrawRadioGroup(TExtStringGrid& grid, platform::TCanvas& canvas, TRect r, int Count, int Index, bool Horizontal,
                    bool Disabled, const QStringList* Items, bool Selected, int ACol, int ARow, TControlStyle Style,
                    double Scale = 1.0, bool Upward = false);
int ClampPercent(double x);

}  // namespace grid
