#pragma once
#include <QChar>
#include <QPoint>
#include <QCursor>
#include <functional>
#include <memory>

#include "controls/common/HTMLHintWindow.h"
#include "platform/Clock.h"
#include "grid/editing/CellFormControls.h"
#include "grid/editing/FixedCellEditors.h"
#include "grid/editing/FloatingCells.h"
#include "grid/editing/GridClipboard.h"
#include "grid/editing/GridDragDrop.h"
#include "grid/editing/GridEditController.h"
#include "grid/editing/GridHints.h"
#include "grid/editing/GridSelection.h"

namespace grid::editing {

// The grid's keyboard and mouse front end: which key or press does what before and after the grid's
// own cursor movement, check boxes toggled by Space and click, editing started by typing, F2,
// Enter, a press on the current cell or a double click, the wheel, cell hints and the selection
// queries. The controller hands the grid's input here first.
class TGridInputHandler : public TGridInput {
public:
    // What a left press does where the mouse rests: the usual, select a column, a row or the whole
    // table from the headers, follow a link, or drag the selection's resize handle.
    enum TMouseSelectMode { msNormal, msColumn, msRow, msAll, msURL, msResize };

    explicit TGridInputHandler(TGridEditController& controller);

    TExtStringGrid& Grid;
    // Lines per wheel notch (the system setting).
    int WheelLines = 3;

    // Events of the input that the grid does not declare (columns as each line says).
    template <typename... A>
    using Event = std::function<void(TExtStringGrid*, A...)>;
    Event<int, int, int> OnRadioClick;                    // ACol, ARow, AIdx
    Event<int, int, int> OnRadioMouseUp;                  // ACol real, ARow, AIdx
    Event<int, int, bool> OnCheckBoxMouseUp;              // ACol real, ARow, State
    Event<int, int, const QString&, bool&> OnAnchorClick;  // ARow, ACol, Anchor, AutoHandle
    Event<int, int, bool&> OnBeforeExpandNode, OnBeforeContractNode;  // ARow, ARowReal, Allow
    Event<int, int> OnExpandNode, OnContractNode;         // ARow, ARowReal
    Event<int, bool&> OnCanSort;                          // ACol, DoSort
    Event<int> OnClickSort;                               // ACol, after the sort
    Event<int, int> OnExpandButtonClick;                  // ACol real, ARow
    Event<int, int, QString&> OnAnchorHint;               // ARow, ACol real, Anchor (the hint)
    Event<const TGridRect&, const TGridRect&> OnSelectionResize, OnSelectionResized;  // original, new
    QString LastAnchorHint() const { return FLastAnchorHint; }
    // Moving a column (row) by its header: asked when the move starts and at every drop place.
    Event<int, bool&> OnColumnMove, OnRowMove, OnColumnMoving, OnRowMoving;  // index, Allow
    // The mouse came onto a link of a mark-up text, or left the links of that text.
    Event<int, int, const QString&> OnAnchorEnter, OnAnchorExit;  // ARow, ACol, Anchor
    // While the user sizes a column (row) by mouse: its display index and the size it takes.
    Event<int, int> OnColumnSizing, OnRowSizing;
    // A hint at the sized cell names the size while the user sizes a column or row.
    bool HintShowSizing = false;
    platform::THintWindow* SizingHint() const { return FSizingHint.get(); }
    // Opens a link after the user agreed; only http, https and mailto links are ever opened.
    std::function<bool(const QString&)> OpenLink;
    THintPosition HintShowLargeTextPos = hpCell;
    // The characters that start a search of the sort column while editing is off.
    QString SearchInc() const { return Grid.IncrementalSearchText; }

    bool KeyDown(int& key, platform::TShiftState shift) override;
    bool KeyUp(int& key, platform::TShiftState shift) override;
    bool KeyPress(QChar& key) override;
    bool MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    bool MouseMove(platform::TShiftState shift, int x, int y) override;
    bool MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    bool DblClick() override;
    void MouseLeave() override;
    bool CursorAt(int x, int y, QCursor& cursor) override;
    void DoEnter() override;
    void DoExit() override;
    bool MouseWheel(platform::TShiftState shift, int delta, int x, int y, bool& used) override;
    bool CellHint(const QPoint& pos, platform::THintInfo& info) override;
    bool IsDisjunctCellSelected(int c, int r) const override { return FDisjunct.Contains(c, r); }

    // Selection queries (display columns).
    int SelectedCellsCount();
    TGridCoord GetSelectedCell(int index);
    bool SelectedCells(int c, int r) const;
    int SelectedRowCount();
    int SelectedColCount();
    int GetSelectedRow(int i);
    void ClearSelectedCells();
    void SetSelectedCells(int c, int r, bool value);
    void ClearModifiedRows();
    // The hint for a client point, with its place, colour and width (Text empty: none).
    TCellHint PrepareCellHint(const QPoint& pos);

    TMouseSelectMode MouseSelectMode() const { return FMouseSelectMode; }
    // Drag and drop of cells and columns with other grids, files and other programs.
    TGridDragDrop& DragDrop() { return *FDragDrop; }
    // The form controls of mark-up cells, operated by mouse and keys.
    TCellFormControls& CellForms() { return *FCellForms; }
    bool FocusNextCellControl(int c, int r, const QString& afterID) override;
    void CellsMoving() override;
    // A row or column move under way (display index; -1 when none) and where it would land.
    int MovingColumn() const override { return FMoving == mkColumn && FMoveShown ? FMoveCell : -1; }
    int MovingRow() const { return FMoving == mkRow && FMoveShown ? FMoveCell : -1; }
    int MoveTarget() const { return FMoveTo; }
    // The floating copy of the moved column or row while it shows (DragDropSettings.ShowCells).
    TFloatingCells* FloatingCopy() const { return FFloating.get(); }
    // A fixed column (row) sized by its border with MouseActions.SizeFixedCol (SizeFixedRow):
    // its display index while the sizing runs, -1 otherwise; the line that marks the new border.
    int SizingFixedCol() const { return FSizingFixedCol; }
    int SizingFixedRow() const { return FSizingFixedRow; }
    QWidget* SizingLine() const { return FSizingLine.get(); }
    // The link of a mark-up text the mouse is on, empty when none.
    QString HoveredAnchor() const { return FAnchor; }
    // Whether a client point lies on the resize handle at the selection's bottom-right corner.
    bool OnResizeHandle(int x, int y);
    // Opens the editor of a header or fixed-column cell (display column) over it; an open one is
    // ended first, and a refusal there keeps it.
    void OpenFixedCellEditor(int c, int r);
    // The open fixed-cell editor, or null.
    TFixedCellEditing* FixedCellEditor() const;

    // Middle-button panning: started by a middle press, ended by any press or key.
    bool Panning() const { return FPanning; }
    // One step of the pan towards the mouse (the pan timer's tick).
    void PanStep();

    // Text exchange with the text editor (display column; the base cell of a merge).
    QString GetEditText(int c, int r);
    void SetEditText(int c, int r, const QString& value);

private:
    std::unique_ptr<TGridDragDrop> FDragDrop;
    std::unique_ptr<TCellFormControls> FCellForms;
    bool FSelectionClick = false;     // the press landed on the selection and may start a drag
    TGridCoord FDragCell{-1, -1};     // the cell that press landed on
    enum TMoveKind { mkNone, mkColumn, mkRow };
    TMoveKind FMoving = mkNone;
    int FMoveCell = -1;               // the row or column being moved
    int FMoveTo = -1;                 // where it would land
    bool FMoveAllowed = false;        // the last moving event allowed that place
    bool FMoveShown = false;          // the mouse left the press and the move shows
    QString FAnchor;                  // the link the mouse is on
    int FSizeCol = -1, FSizeRow = -1;  // the column or row whose border the press took
    std::unique_ptr<controls::THTMLHintWindow> FSizingHint;
    std::unique_ptr<TFloatingCells> FFloating;
    // Fixed column and row sizing: armed by the mouse resting on such a border, run by a press.
    bool FSizeFixed = false, FSizeFixedR = false;
    int FSizingFixedCol = -1, FSizingFixedRow = -1;
    std::unique_ptr<QWidget> FSizingLine;
    int FixedColBorderAt(int x) const;
    int FixedRowBorderAt(int y) const;
    void ArmFixedSizing(int x, int y);
    void TrackFixedSizing(int x, int y);
    void EndFixedSizing(int x, int y);
    // Sizing events and the sizing hint for a column (row) that now has this size.
    void ReportSizing(bool col, int index, int size);
    void TrackSizing(int x, int y);
    bool ArmDrag(int c, int r, int x, platform::TShiftState shift);
    bool StartMove(int c, int r, int x, int y);
    void TrackMove(int x, int y);
    void EndMove();
    void TrackAnchor(int x, int y);
    // The link of cell (c, r) under client (x, y): a URL text with URLShow, or an anchor of mark-up
    // as the renderer lays it out.
    QString AnchorAt(int c, int r, int x, int y, bool& html);
    TMouseSelectMode FMouseSelectMode = msNormal;
    int FMouseSelectStart = -1;  // row or column a header selection drag started from
    bool FMouseResize = false;   // the selection's resize handle is being dragged
    TGridRect FDropSelection{};  // the selection when that drag started
    std::unique_ptr<TGridTransEdit> FTransEdit;
    std::unique_ptr<TGridTransCombo> FTransCombo;
    TMouseSelectMode ModeAt(int x, int y);
    bool ClickSelectionArea(int c, int r, platform::TShiftState shift);
    void DragSelection(int x, int y);
    bool PopupFixedDropDown(int c, int r, int x);
    void FixedEditByMouse(platform::TMouseButton button, int c, int r, int x, int y);
    void DisjunctKeyUp(int key, platform::TShiftState shift);

    TGridRect FMoveSelection{};
    TGridRect FKeyDownSelection{};  // the selection when the last key went down
    std::vector<TGridCoord> FCellList;
    TDisjunctCells FDisjunct;
    QString FLastAnchorHint;
    bool FKeypadDecimal = false;  // the last key down was the keypad's decimal key
    TGridCoord FPushedExpand{-1, -1};
    QPoint FPressPos{-1, -1};
    TGridCoord FPressCell{-1, -1};
    bool FDblClk = false;
    bool ToggleNodeAt(int c, int r, int x, platform::TShiftState shift);
    bool ClickRadioGroup(int c, int r, int x, int y);
    bool ClickAnchor(int c, int r, int x, int y);
    void FollowAnchor(int c, int r, const QString& anchor);
    void IncrementalSearch(QChar key);
    void SyncOtherGrid();
    void ClipboardKey(int which);
    TCellValidator PasteValidator();
    QPoint FLastPress{-1, -1};
    TGridCoord FPushedButton{-1, -1};  // the in-cell button held down
    QPoint FMouse;                      // the mouse's last place over the client area
    bool FPanning = false;
    platform::ClockTimer FPanTimer;  // steps the panning while it runs
    QCursor FPrevCursor;
    void StartPan(int x, int y);
    void StopPan();
    void SchedulePanStep();
    platform::TShiftState FShift = 0;  // shift state of the last key-down, for the character after it

    bool WMKeyDown(int& key, platform::TShiftState shift);
    void BaseKeyDown(int& key, platform::TShiftState shift);
    void GridKeyDown(int& key, platform::TShiftState shift);
    void GenericKeyPress(QChar& key);
    bool HomeEnd(int key, platform::TShiftState shift);
    void MoveSelectedRows(bool down);
    bool SkipFixed(int key, TShiftState shift);
    void InsertRowByKey();
    void DeleteRowByKey();
    void ToggleByKey(int key);
    bool ClickCheckBox(int c, int r, int x, int y, platform::TShiftState shift);
    void ReportSelectionChange();
    void ShowEditor(QChar startChar = QChar());
    bool IsEditable(int realCol, int row);
    // Whether the cell could be edited once editing is switched on.
    bool IsEditableForced(int realCol, int row);
    bool EditingOn() const { return (Grid.Options & goEditing) != 0; }
    void SetEditing(bool on);
    int FirstDataCol() const;
    int LastDataRow() const { return Grid.RowCount() - Grid.FixedFooters - 1; }
    int LastDataCol() const { return Grid.ColCount() - Grid.FixedRightCols - 1; }
    int FirstTabStop(int r);
};

// The grid's keyboard and mouse handling, for EditingLayer.
TGridInputFactory InputHandling();

}  // namespace grid::editing
