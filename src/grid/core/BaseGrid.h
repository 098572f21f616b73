#pragma once
#include <QString>
#include <QTransform>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "grid/core/CellGraphic.h"
#include "grid/core/CellTexts.h"
#include "grid/core/GridTypes.h"
#include "grid/core/SizeIndex.h"
#include "platform/Clock.h"
#include "platform/TCanvas.h"
#include "platform/TCustomControl.h"

namespace grid {

class TBaseGrid;

// The per-cell record of the cell store, created on first use.
class TCellProperties : public TObject {
public:
    TCellProperties(TBaseGrid* grid, int col, int row) : Grid(grid), OwnerCol(col), OwnerRow(row) {}

    bool IsBaseCell = true;
    int CellSpanX = -1;
    int CellSpanY = -1;
    TBaseGrid* Grid;
    int OwnerCol;
    int OwnerRow;
    TAlignment Alignment = taLeftJustify;
    TBrushStyle BrushStyle = bsSolid;
    TCellGradientDirection GradientDirection = GradientVertical;
    QString FontName;
    int FontSize = 0;
    uint8_t FontStyle = 0;
    TColor FontColor = clNone;
    TColor BorderColor = 0;
    int BorderWidth = 0;
    TEditorType Editor = edNormal;
    bool ReadOnly = false;
    int NodeLevel = 0;
    TObject* CellObject = nullptr;  // never freed by the grid
    TObject* Control = nullptr;     // never freed by the grid
    TColumnCalcType CalcType = acNONE;
    TObject* CalcObject = nullptr;
    int PaintID = 0;
    std::unique_ptr<TCellGraphic> Graphic;

    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor value);
    TColor BrushColorTo() const { return FBrushColorTo; }
    void SetBrushColorTo(TColor value);
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    // Initial values, without the setters' repaints.
    void Init(TColor brush, TColor brushTo, TVAlignment va, bool wordWrap)
    {
        FBrushColor = brush;
        FBrushColorTo = brushTo;
        FVAlignment = va;
        FWordWrap = wordWrap;
    }

    TPoint GetBaseCell(int c, int r) const;
    void Assign(const TCellProperties& source);

private:
    void Repaint();
    TColor FBrushColor = clNone;
    TColor FBrushColorTo = clNone;
    TVAlignment FVAlignment = vtaTop;
    bool FWordWrap = true;
};

// One row of the cell store: texts and cell records, grown on demand, so that a row of short texts
// costs one block for its texts and nothing for the records it does not use.
struct TGridRowData {
    TCellTexts Texts;
    std::vector<std::unique_ptr<TCellProperties>> Props;

    QString Text(int c) const { return Texts.At(c); }
    // `columns` is the width the row will likely reach: the row grows to it at once.
    void SetText(int c, const QString& value, int columns = 0);
    TCellProperties* PropsAt(int c) const { return size_t(c) < Props.size() ? Props[size_t(c)].get() : nullptr; }
    std::unique_ptr<TCellProperties> TakeProps(int c);
    void SetProps(int c, std::unique_ptr<TCellProperties> value);
    bool Empty() const { return Texts.Empty() && Props.empty(); }
    void InsertColumns(int at, int count);
    void EraseColumns(int at, int count);
    void MoveColumn(int from, int to);
};

struct TGridCoord {
    int X = -1;
    int Y = -1;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// The platform string grid the cell store stands on: cells and their records, counts, fixed rows
// and columns, widths and heights, options, current cell, selection, scrolling by whole rows and
// columns, cell rectangles and mouse-to-cell, a paint loop over the visible cells and column and
// row sizing by mouse.
class TObjStringGrid : public platform::TCustomControl, public TObject {
public:
    explicit TObjStringGrid(QWidget* parent = nullptr);
    ~TObjStringGrid() override;
    TObjStringGrid(const TObjStringGrid&) = delete;
    TObjStringGrid& operator=(const TObjStringGrid&) = delete;

    // Raw store, addressed by store column and store row. Indexes outside the store read empty
    // and are ignored on write.
    QString GetGridCell(int c, int r) const;
    void SetGridCell(int c, int r, const QString& value);
    TCellProperties* GetGridObject(int c, int r) const;
    void SetGridObject(int c, int r, std::unique_ptr<TCellProperties> value);
    std::unique_ptr<TCellProperties> TakeGridObject(int c, int r);
    bool InStore(int c, int r) const { return r >= 0 && r < FRowCount && c >= 0 && c < StoreColCount(); }

    int ColCount() const { return FColCount; }
    int RowCount() const { return FRowCount; }
    int FixedCols() const { return FFixedCols; }
    int FixedRows() const { return FFixedRows; }
    int DefaultColWidth() const { return FDefaultColWidth; }
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetPlatformColCount(int value);
    void SetPlatformRowCount(int value);
    void SetPlatformFixedCols(int value);
    void SetPlatformFixedRows(int value);
    void SetDefaultColWidth(int value);
    void SetPlatformDefaultRowHeight(int value);

    int ColWidths(int i) const;
    void SetColWidths(int i, int value);
    int RowHeights(int i) const;
    void SetRowHeights(int i, int value);

    TGridOptions Options = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;

    int Col() const { return FCol; }
    int Row() const { return FRow; }
    void SetCol(int value);
    void SetRow(int value);
    // Moves the current cell and the selection anchor.
    void MoveColRow(int c, int r);
    // Range selection: the anchor stays where the selection started and the current cell is its
    // moving end. With goRangeSelect the current cell moves to (c, r) (through the can-select
    // test) and the selection spans from the anchor to it, whole rows in a row-select grid;
    // without goRangeSelect this is MoveColRow. Only the changed cells are repainted.
    void ExtendSelection(int c, int r);
    // ExtendSelection when extend is set, else MoveColRow.
    void MoveCurrent(int c, int r, bool extend) { extend ? ExtendSelection(c, r) : MoveColRow(c, r); }
    TGridCoord SelectionAnchor() const { return FAnchor; }
    // Selecting by mouse: while the left button stays down after a press that made a cell
    // current, mouse moves extend the selection to the cell under the mouse, and outside the
    // scrolling cells the grid scrolls one row or column per move and per timer tick.
    void BeginRangeSelect();
    void EndRangeSelect();
    bool RangeSelecting() const { return FRangeSelecting; }
    static constexpr int RangeScrollInterval = 60;  // ms between scroll steps outside the cells
    const TGridRect& Selection() const { return FSelection; }
    // The selection as painted: with whole-row selection it spans the normal columns of its rows.
    TGridRect PaintedSelection() const
    {
        if (!(Options & goRowSelect))
            return FSelection;
        return {FFixedCols, FSelection.Top, std::max(FFixedCols, FColCount - 1), FSelection.Bottom};
    }
    // The anchor becomes the corner opposite the current cell.
    void SetSelection(const TGridRect& value);
    int TopRow() const { return FTopRow; }
    void SetTopRow(int value);
    int LeftCol() const { return FLeftCol; }
    void SetLeftCol(int value);
    int VisibleColCount() const;
    int VisibleRowCount() const;

    // Client rectangle of a shown cell; empty when scrolled out of view.
    TRect PlatformCellRect(int c, int r) const;
    TGridCoord MouseToCell(int x, int y) const;
    // Offset of a cell from the grid's origin, as if nothing were scrolled.
    int64_t ColOffset(int c) const { return ColSizes.Offset(c); }
    int64_t RowOffset(int r) const { return RowSizes.Offset(r); }

    using platform::TCustomControl::InvalidateRect;
    void InvalidateRect(const TRect& r);

    // Right-to-left display: the cells keep their left-to-right layout, and the client area shows
    // it mirrored, for painting, invalidation and the mouse alike (column 0 at the right edge).
    bool UseRightToLeftAlignment() const { return layoutDirection() == Qt::RightToLeft; }
    // A client pixel column and its place in the layout; the same mapping both ways.
    int MirrorX(int x) const { return UseRightToLeftAlignment() ? ClientWidth() - 1 - x : x; }
    TRect MirrorRect(const TRect& r) const;
    // A point of the client area (a mouse or cursor position) in layout coordinates.
    QPoint ClientToGrid(const QPoint& p) const { return {MirrorX(p.x()), p.y()}; }
    // The painter a right-to-left paint is mirroring right now, or none.
    QPainter* MirroredPainter() const { return FMirroredPainter; }

    // Platform grid: painting, scrolling and sizing by mouse
    // The cells painted as one area with the cell: itself here, a whole merged area in the store.
    virtual TGridRect PaintArea(int c, int r) const { return {c, r, c, r}; }
    // Client rectangle of a range of cells, also of cells scrolled out of view (then partly or
    // wholly outside the client area); each cell counts in the part (fixed or scrolling) it is in.
    TRect RangeRect(const TGridRect& cells) const;
    // Which lines the grid draws after each cell, and in what width and colour.
    virtual int LineWidth() const { return 1; }
    virtual TColor LineColor(bool fixed) const { return fixed ? TColor(clBlack) : TColor(clSilver); }
    // The colour of the area past the last cell.
    virtual TColor BackgroundColor() const { return clWindow; }
    // The highest top row: the last rows just fill the room below the fixed rows.
    int MaxTopRow() const;
    int MaxLeftCol() const;
    // Scroll bars the grid may show; each shows only when something is out of view.
    void SetGridScrollBars(platform::TScrollStyle style);
    platform::TScrollStyle GridScrollBars() const { return FGridScrollBars; }
    // Brings range and position of both scroll bars up to date with the layout.
    void UpdateScrollRange();
    // The column (or row) whose right (bottom) edge lies under x (y), within the sizing distance,
    // in the fixed rows (columns); -1 when none.
    int ColumnSizingEdgeAt(int x, int y) const { return SizingEdgeAt(true, x, y); }
    int RowSizingEdgeAt(int x, int y) const { return SizingEdgeAt(false, y, x); }
    bool SizingColumn() const { return FSizingCol >= 0; }
    bool SizingRow() const { return FSizingRow >= 0; }
    static constexpr int SizingDistance = 3;
    int MinSizingWidth = 1;
    bool Destroying = false;
    bool Loading = false;

protected:
    // Columns the store keeps: shown ones and those past ColCount (hidden columns live there).
    virtual int StoreColCount() const { return FColCount; }
    virtual bool SelectCell(int, int) { return true; }
    virtual void TopLeftChanged() {}
    virtual void ColWidthsChanged() {}
    virtual void RowHeightsChanged() {}
    virtual void SizeChanged(int, int) {}
    // Draws one cell (or one merged area) in ARect, which leaves out the grid lines drawn after it.
    virtual void DrawCell(int, int, TRect, TGridDrawState) {}
    // Mirrors the canvas of a right-to-left paint while it lives; a nested one leaves it as it is.
    class TMirrorPaint {
    public:
        explicit TMirrorPaint(TObjStringGrid& grid);
        ~TMirrorPaint();
        TMirrorPaint(const TMirrorPaint&) = delete;
        TMirrorPaint& operator=(const TMirrorPaint&) = delete;

    private:
        TObjStringGrid& FGrid;
        QTransform FSaved;
        bool FStarted = false;
    };
    // Mouse positions reach the handlers in layout coordinates.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Losing the focus (a window that takes the mouse too) ends selecting by mouse.
    void focusOutEvent(QFocusEvent* event) override;
    // Paints the visible cells, each area once, then the grid lines and the area past the last
    // cell; only what the update region reaches.
    void Paint() override;
    // A column or row sized by the user's mouse, when the drag ends, with its size before.
    virtual void ColumnSized(int, int) {}
    virtual void RowSized(int, int) {}
    // Where the last mouse button went down, in client coordinates.
    QPoint LastMouseDown() const { return FLastMouseDown; }
    // Whether the user may start sizing this column (row) by mouse; the options decide here.
    virtual bool CanSizeColumn(int) { return (Options & goColSizing) != 0; }
    virtual bool CanSizeRow(int) { return (Options & goRowSizing) != 0; }
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    bool MouseWheel(platform::TShiftState shift, int wheelDelta, int x, int y) override;
    QCursor CursorAt(int x, int y) override;
    void Scroll(platform::TScrollBarKind bar, int code, int pos) override;
    void Resize() override;
    // Layout changed: scroll bars follow and the client area is repainted.
    void LayoutChanged();
    // Column widths or the column count changed (not by scrolling).
    virtual void ColumnLayoutChanged() {}
    // Range and position of the scroll bars were brought up to date with the layout.
    virtual void ScrollRangeUpdated() {}

    // Row and column moves of the platform grid: whole rows and columns travel.
    void PlatformMoveRow(int from, int to);
    void PlatformMoveColumn(int from, int to);
    void PlatformInsertRows(int at, int count);
    void PlatformDeleteRows(int at, int count);
    // Rows from .. from + order.size() - 1 become the rows that stood at order[k] (each index of
    // that range once), texts, records and heights moving in one pass.
    void PlatformPermuteRows(int from, const std::vector<int>& order);
    // One empty row (default height) before each listed row (ascending; RowCount appends), and
    // the listed rows (ascending, each once) removed: every row moves once.
    void PlatformInsertRowsBefore(const std::vector<int>& before);
    void PlatformDeleteRowList(const std::vector<int>& rows);
    // Replaces every row at once (texts, records and heights), for filter levels.
    void PlatformSetRows(std::vector<TGridRowData> rows, const std::vector<int>& heights);
    // Moves a column of cells in every row, store columns (not display widths).
    void PlatformMoveStoreColumn(int from, int to);
    TSizeIndex& ColSizeIndex() { return ColSizes; }
    std::vector<TGridRowData>& StoreRows() { return Rows; }
    const std::vector<TGridRowData>& StoreRows() const { return Rows; }
    TSizeIndex& RowSizeIndex() { return RowSizes; }

private:
    void ClampCurrent();
    // Scrolls so that the cell shows whole (as far as it fits).
    void ScrollInView(int c, int r);
    // Repaints the cells whose look follows the selection or the current cell: both selections
    // and the rows and columns of both current cells (row and header highlights).
    void InvalidateSelectionChange(const TGridRect& oldSelection, TGridCoord oldCurrent);
    // One step of mouse selecting towards FSelectMouse; answers whether the mouse is outside the
    // scrolling cells (the timer goes on stepping then).
    bool RangeSelectStep();
    void ScheduleRangeScroll();
    std::vector<TGridRowData> Rows;
    TSizeIndex ColSizes;
    TSizeIndex RowSizes;
    int FColCount = 5;
    int FRowCount = 5;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    int FCol = 1;
    int FRow = 1;
    TGridRect FSelection{1, 1, 1, 1};
    TGridCoord FAnchor{1, 1};
    bool FRangeSelecting = false;
    QPoint FSelectMouse;
    platform::ClockTimer FRangeScroll;
    int FTopRow = 1;
    int FLeftCol = 1;
    platform::TScrollStyle FGridScrollBars = platform::ssBoth;
    int FSizingCol = -1;
    int FSizingRow = -1;
    int FSizingStart = 0;  // the sized cell's left (top) edge
    int FSizingOld = 0;    // its size before
    QPoint FLastMouseDown;
    bool FInLayout = false;
    QPainter* FMirroredPainter = nullptr;
    void PaintPart(const QRect& part, int colFrom, int colTo, int rowFrom, int rowTo);
    int SizingEdgeAt(bool columns, int along, int across) const;
    int CellLeft(int c) const;
    int CellTop(int r) const;
};

// The grid's colour: reads as a TColor; assigning a different one tells the grid (ColorChanged).
class TGridColor {
public:
    TGridColor(TBaseGrid* grid, TColor value) : FGrid(grid), FValue(value) {}
    TGridColor(const TGridColor&) = delete;
    TGridColor& operator=(const TGridColor& other) { return *this = TColor(other); }
    TGridColor& operator=(TColor value);
    operator TColor() const { return FValue; }

private:
    TBaseGrid* FGrid;
    TColor FValue;
};

// Colours and alignment that a new cell record starts with.
struct TCellPropDefaults {
    QString FontName;
    int FontSize = 0;
    uint8_t FontStyle = 0;
    TColor FontColor = clNone;
    TColor BrushColor = clNone;
    TColor ColorTo = clNone;
    TColor MirrorColor = clNone;
    TColor MirrorColorTo = clNone;
    TAlignment HAlign = taLeftJustify;
    TVAlignment VAlign = vtaTop;
    bool WordWrap = true;
    TCellGradientDirection GradientDirection = GradientVertical;
};

// The cell store: per-cell records, merged cells and the display-text path of cell reads.
class TBaseGrid : public TObjStringGrid {
public:
    using TGetDisplTextEvent = std::function<void(TBaseGrid*, int col, int row, QString& value)>;

    TBaseGrid();
    ~TBaseGrid() override;

    int GridLineWidth = 1;
    TColor GridLineColor = clSilver;
    TColor GridFixedLineColor = clGray;
    bool ActiveRowShow = false;
    TColor ActiveRowColor = clInfoBk;
    bool HoverRow = false;
    TColor HoverRowColor = clInfoBk;
    TColor HoverRowColorTo = clNone;
    bool WordWrap = true;
    TGridColor Color{this, clWindow};
    // After Color changed: repaints the grid.
    virtual void ColorChanged();
    QString FontName = QStringLiteral("Tahoma");
    int FontSize = 8;
    TColor FontColor = clBlack;  // text of cells without a colour of their own
    TGetDisplTextEvent OnGetDisplText;
    TGetDisplTextEvent OnGetDisplWideText;

    // Cells (c, r): the base cell's text through the display-text hooks.
    QString GetCellEx(int c, int r);
    void SetCellEx(int c, int r, const QString& value);
    QString Cells(int c, int r) { return GetCellEx(c, r); }
    void SetCells(int c, int r, const QString& value) { SetCellEx(c, r, value); }

    // The cell's record, created with the defaults; null outside the store.
    TCellProperties* GetCellProperties(int c, int r);
    void SetCellProperties(int c, int r, std::unique_ptr<TCellProperties> value);
    bool HasCellProperties(int c, int r) const;
    TCellProperties* CellProps(int c, int r) const { return HasCellProperties(c, r) ? GetGridObject(c, r) : nullptr; }
    void FreeCellProps(int c, int r);
    void FreeCellPropsRect(int fromCol, int fromRow, int toCol, int toRow);
    TObject* GetObjectEx(int c, int r) const;
    void SetObjectEx(int c, int r, TObject* value);
    TCellGraphic* GetGraphicObjectEx(int c, int r) const;
    void SetGraphicObjectEx(int c, int r, std::unique_ptr<TCellGraphic> value);

    // Merged cells. A merge must lie inside the store and must not overlap another merge; a
    // request that breaks either is refused and changes nothing.
    virtual bool MergeCells(int c, int r, int spanX, int spanY);
    virtual void SplitCells(int c, int r);
    int MergeCount() const { return FMergeCount; }
    TPoint BaseCell(int c, int r) const;
    bool IsBaseCell(int c, int r) const;
    bool IsMergedCell(int c, int r) const;
    bool IsMergedNonBaseCell(int c, int r) const;
    bool IsXMergedCell(int c, int r) const;
    bool IsYMergedCell(int c, int r) const;
    TPoint CellSpan(int c, int r) const;
    TPoint CellExt(int c, int r) const;
    TGridRect FullCell(int c, int r) const;
    bool FindBaseCell(int c, int r, int& baseCol, int& baseRow) const;
    int MinRowSpan(int r) const;
    int MaxRowSpan(int r) const;
    bool RowSpanIdentical(int r1, int r2) const;
    bool ColSpanIdentical(int c1, int c2) const;
    void MoveToBaseCell();
    // Arrow keys over merged cells: the current cell leaves an area by the edge it moves to and
    // always lands on a base cell. Virtual key codes: 33 Page Up, 34 Page Down, 37 to 40 arrows.
    virtual void KeyDown(int& key) { KeyMove(key, false); }
    // The same moves; with extend (Shift in a range-select grid) they extend the selection from
    // its anchor.
    void KeyMove(int& key, bool extend);

    // Geometry of display cells.
    TRect CellRect(int c, int r) const;
    TRect AbsCellRect(int c, int r) const;
    TPoint CellSize(int c, int r) const;
    virtual void RepaintCell(int c, int r);

    virtual int TotalColCount() const { return ColCount(); }
    virtual int DisplColIndex(int c) const { return c; }
    virtual bool IsFixed(int, int) { return false; }
    virtual int GetNodeIndent(int) { return 0; }
    virtual bool HasNodes() const { return false; }
    virtual void LastRowChanged() {}
    virtual void GetDisplText(int c, int r, QString& value);
    virtual void GetDisplWideText(int c, int r, QString& value);
    virtual void GetCellPropDefaults(int c, int r, TCellPropDefaults& d);
    virtual void CellTextChanged(int, int) {}

    int NormalRowCount = 0;
    bool HideLastRow = false;
    bool HasCellPropsEver() const { return FHasCellProps; }
    // After the whole store was cleared of records: no cell holds one.
    void ForgetCellProps() { FHasCellProps = false; }

    // Painting: the frame around every cell (merged areas once per pass, clipping under the
    // fixed cells, hover and active row, selection styles, background, grid lines).
    TColor ActiveRowColorTo = clNone, ActiveRowMirrorColor = clNone, ActiveRowMirrorColorTo = clNone;
    THoverRowCells HoverRowCells = hcNormal | hcSelected;
    // The button look of selected cells; the string grid keeps the setting.
    virtual TSelectionStyle CellSelectionStyle() const { return ssDefault; }
    bool UsePlatformStyles = false;
    bool ShowSel = true;       // the selection is shown (the string grid's ShowSelection)
    int HoverRowIdx = -1;      // row under the mouse, -1 for none
    int PaintID() const { return FPaintID; }
    // The end of a paint pass: every merged area may be painted again.
    void PaintPassDone() { ++FPaintID; }
    // A cell of the pass on the grid's own canvas.
    void PaintGridCell(platform::TCanvas& canvas, int c, int r, const TRect& rect, TGridDrawState state);
    void PaintCell(platform::TCanvas& canvas, int c, int r, const TRect& rect, TGridDrawState state);
    // Background, selection and lines in exactly the given rectangle, no content.
    void PaintCellExt(platform::TCanvas& canvas, int c, int r, const TRect& rect, TGridDrawState state);
    virtual void GetVisualProperties(int c, int r, TGridDrawState& state, bool print, bool select, bool remap,
                                     TColor& brush, TColor& colorTo, TColor& mirrorColor, TColor& mirrorColorTo,
                                     TFontDesc& font, TAlignment& hAlign, TVAlignment& vAlign, bool& wordWrap,
                                     TCellGradientDirection& gradient);
    virtual void DrawCellContent(platform::TCanvas& canvas, int c, int r, const TRect& rect, TGridDrawState state);
    // Whether painting shows the grid as focused.
    virtual bool PaintFocused() const { return Focused(); }
    virtual bool RightToLeftPaint() const { return false; }

    // The platform grid paints merged areas once, with the grid's line and background colours.
    TGridRect PaintArea(int c, int r) const override { return FullCell(c, r); }
    // The cell frame draws the grid lines itself.
    int LineWidth() const override { return 0; }
    TColor LineColor(bool fixed) const override { return fixed ? GridFixedLineColor : GridLineColor; }
    TColor BackgroundColor() const override { return Color; }

protected:
    int StoreColCount() const override { return TotalColCount(); }
    std::unique_ptr<TCellProperties> NewCellProperties(int c, int r, bool setCalcType);

    void DoPaintCell(platform::TCanvas& canvas, int c, int r, TRect rect, TGridDrawState state, bool full,
                     bool pass);
    void DrawCell(int c, int r, TRect rect, TGridDrawState state) override;
    void Paint() override;

private:
    bool FHasCellProps = false;
    int FMergeCount = 0;
    int FPaintID = 1;
};

}  // namespace grid
