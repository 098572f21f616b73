#pragma once
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <memory>

#include "grid/core/ExtStringGrid.h"
#include "grid/core/GridEditLayer.h"

namespace grid::editing {

class TExtInplaceEdit;
class TSpecialEditors;
class TGridEditController;

// The grid's keyboard, mouse, wheel, focus and hint handling; the controller hands the grid's
// input to it first. Each answers true when it took the input.
class TGridInput {
public:
    explicit TGridInput(TGridEditController& controller) : Controller(controller) {}
    virtual ~TGridInput() = default;
    TGridEditController& Controller;
    virtual bool KeyDown(int& /*key*/, platform::TShiftState) { return false; }
    virtual bool KeyUp(int& /*key*/, platform::TShiftState) { return false; }
    virtual bool KeyPress(QChar& /*key*/) { return false; }
    virtual bool MouseDown(platform::TMouseButton, platform::TShiftState, int, int) { return false; }
    virtual bool MouseMove(platform::TShiftState, int, int) { return false; }
    virtual bool MouseUp(platform::TMouseButton, platform::TShiftState, int, int) { return false; }
    virtual bool DblClick() { return false; }
    virtual void MouseLeave() {}
    virtual bool CursorAt(int, int, QCursor&) { return false; }
    virtual bool MouseWheel(platform::TShiftState, int, int, int, bool& /*used*/) { return false; }
    virtual void DoEnter() {}
    virtual void DoExit() {}
    virtual bool CellHint(const QPoint&, platform::THintInfo&) { return false; }
    // Whether a cell is among those picked one by one (display coordinates).
    virtual bool IsDisjunctCellSelected(int /*c*/, int /*r*/) const { return false; }
    // The display column being moved by its header, -1 when none.
    virtual int MovingColumn() const { return -1; }
    // A cell form's next control after the one named gets its box; false when there is none.
    virtual bool FocusNextCellControl(int /*c*/, int /*r*/, const QString& /*afterID*/) { return false; }
    // Cells are about to move or the grid scrolled: an open form control box is finished.
    virtual void CellsMoving() {}
};
// Makes the input handling of one controller (GridInput.h: InputHandling()).
using TGridInputFactory = std::function<std::unique_ptr<TGridInput>(TGridEditController&)>;

// Which editor types the text editor serves.
bool IsTextLikeEditor(TEditorType type);

// Whether the cell (through its merge base) takes a new value: editable and not fixed.
bool CellAcceptsValue(TExtStringGrid& grid, int realCol, int r);

// Where an editor covers a display cell: the mirrored cell less its right and bottom grid line,
// never empty.
QRect EditorRect(TExtStringGrid& grid, int c, int r);

enum TInvalidEntryIcon : uint8_t { ieNone, ieInfo, ieWarning, ieError };

// The editing cycle of one grid, headless: whether a cell may be edited, editing switched on and
// off as the current cell moves, opening the editor for the cell's editor type, taking the value
// back, validation with its events, Escape, and Tab and Enter traversal. Column indexes are
// display columns unless a name says real.
class TGridEditController : public TGridEditLayer {
public:
    template <typename... A>
    using Event = std::function<void(TExtStringGrid*, A...)>;

    // With the input handling input makes; none: the controller alone, without keys and mouse.
    explicit TGridEditController(TExtStringGrid& grid, const TGridInputFactory& input = {});
    ~TGridEditController() override;

    // Settings.
    bool AlwaysValidate = false;
    QString InvalidEntryTitle, InvalidEntryText;
    TInvalidEntryIcon InvalidEntryIcon = ieWarning;
    // The text editor: the keypad's "." types the locale's decimal separator; the characters
    // edValidChars accepts.
    bool ExcelStyleDecimalSeparator = false;
    QString ValidChars;
    // The last refusal's balloon, as shown.
    QString LastBalloonTitle, LastBalloonText;
    // A validated value changed a cell since the flag was last cleared.
    bool GridModified = false;
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }
    // Told the current column and the new row after every selection request.

    // Events (parameters in the order named).
    Event<int, int, QString&, bool&> OnCellValidate;      // ACol real, ARow, Value, Valid
    Event<int, int, QString&, bool&> OnCellValidateWide;  // ACol real, ARow, Value, Valid
    Event<int, int, bool&> OnRowChanging;                 // OldRow, NewRow, Allow
    Event<int, int, bool&> OnColChanging;                 // OldCol, NewCol, Allow
    Event<int, int, int, int, bool&> OnCellChanging;      // OldRow, OldCol, NewRow, NewCol, Allow
    Event<int, int> OnRowChanged;                         // OldRow, NewRow
    std::function<void(TExtStringGrid*)> OnEditingDone;
    Event<int, int> OnEditCellDone;                       // ACol real, ARow
    Event<int, int, QObject*> OnGetEditorProp;            // ACol real, ARow, edit link
    Event<const QString&, QDateTime&> OnCustomStrToDate;  // Value, ADate: reads a date editor's cell text
    Event<int, int, bool&> OnSelectCell;                  // ACol, ARow, CanSelect
    Event<int, int, int&, int&, bool&> OnAutoAdvance;     // OldRow, OldCol, NewRow, NewCol, Allow
    Event<bool&> OnCanAddRow;
    Event<int> OnAutoAddRow;
    Event<int> OnAutoInsertCol;
    Event<int, int, int, const QString&> OnComboChange;   // ACol real, ARow, item index, item text
    Event<int, int> OnGetEditorPropInt;                   // real column, row (in this order)
    Event<int, int, int, int, int> OnScrollCell;          // ACol, ARow, position, min, max
    std::function<void(TExtStringGrid*)> OnStartBlockFocus, OnEndBlockFocus;

    // State.
    bool EditMode() const override { return FEditModeOn; }
    TEditorType EditControl() const { return FEditControl; }
    QWidget* EditCtrl() const { return FEditCtrl; }
    bool Editing() const { return FEditing; }
    bool Validating() const { return FValidating; }
    bool EditDisable() const { return FEditDisable; }
    bool SpecialEditorOpen() const { return FSpecialEditor; }
    const QString& CellCache() const { return FCellCache; }
    const QString& OldCellText() const { return FOldCellText; }
    void SetOldCellText(const QString& value) { FOldCellText = value; }
    const QString& NewCellText() const { return FNewCellText; }
    int OldCol() const { return FOldCol; }
    int OldRow() const { return FOldRow; }
    QChar StartEditChar() const { return FStartEditChar; }
    void SetStartEditChar(QChar value) { FStartEditChar = value; }
    bool NoEditChange() const { return FNoEditChange; }
    void SetNoEditChange(bool value) { FNoEditChange = value; }
    bool ForceSel() const { return FForceSel; }
    bool DisableChange() const { return FDisableChange; }
    bool BlockFocus() const { return FBlockFocus; }
    bool BlockKill() const { return FBlockKill; }
    TExtInplaceEdit* NormalEdit();
    TSpecialEditors& Specials();
    TGridInput* Input() const { return FInput.get(); }

    // The editing cycle.
    bool IsEditable(int realCol, int r);
    void GetCellEditorType(int realCol, int r, TEditorType& editor);
    bool SelectCellSwitch(int c, int r);
    void Select();
    bool CanEditShow();
    void ShowInplaceEdit() override;
    void HideInplaceEdit() override;
    bool InplaceEditorShown() const override;
    void HideCellEdit();
    void ShowCellEdit();
    void DoneInplaceEdit(int key, platform::TShiftState shift);
    bool ValidateCell(const QString& newValue);
    bool ValidateCellWide(const QString& newValue);
    void StoreOldCell(int c, int r);
    void RestoreCellCache();
    void SetEditCell(int realCol, int r, const QString& value);
    void CellValueChanged(int realCol, int r);
    void CellChanging(int newCol, int newRow, bool& allow);
    void DisableEditing();
    void NotifyEditingDone(int realCol, int r);
    bool WantsTabInEditor() const;
    void SimulateCellClick(int c, int r);
    // Fires OnGetEditorProp, then OnGetEditorPropInt, for a real column.
    void GetEditorProp(int realCol, int r, QObject* editLink);

    // What the combo editor reports while it is open on the current cell: its selection or text
    // changed (index -1: text is the typed text), its list closed, its list dropped down. With
    // MouseActions.DirectComboClose a closing list writes the value back and ends the edit.
    void ComboChange(int index, const QString& text, const QVariant& object = {});
    void ComboCloseUp(int index, const QString& text, const QVariant& object = {});
    void ComboDropDown();

    // Cell services.
    static TCheckBoxState BoolToCheckBoxState(bool checked) { return checked ? cbChecked : cbUnchecked; }
    // A tri-state check box on every data row of a real column (from row 0 with CheckAllCheck).
    void AddTriStateCheckBoxColumn(int realCol, TCheckBoxState state);
    // Repaints the header cells of two positions (display columns).
    void RepaintActiveHeaders(int oldCol, int oldRow, int newCol, int newRow);
    void ScrollCell(int c, int r, int position, int min, int max);
    void StartBlockFocus();
    void EndBlockFocus();
    // Ends the edit at once: the value goes through validation into its cell, and a refused
    // value is dropped (the cell keeps the text validation left); no editor stays open.
    void EndEditNow();

    // Tab and Enter traversal.
    bool TabToNextCell(bool backward);
    void AdvanceEdit(int c, int r, bool force, bool autoEdit, bool forward, bool recursing, bool showEditor);
    void GotoFirstRow();
    bool IsLastDataRow() const;
    int FirstDataCol() const;
    int LastDataRow() const;
    // One empty row at the table's end (above a footer row) unless OnCanAddRow refuses;
    // OnAutoAddRow reports it. Whether a row was added.
    bool AddRowAtEnd();
    int EndCol() const;

    // The layer.
    bool KeyDown(int& key, platform::TShiftState shift) override;
    bool KeyUp(int& key, platform::TShiftState shift) override;
    bool KeyPress(QChar& key) override;
    bool MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    bool MouseMove(platform::TShiftState shift, int x, int y) override;
    bool MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
    bool DblClick() override;
    void MouseLeave() override;
    bool CursorAt(int x, int y, QCursor& cursor) override;
    bool MouseWheel(platform::TShiftState shift, int delta, int x, int y, bool& used) override;
    void DoEnter() override;
    void DoExit() override;
    bool CellHint(const QPoint& pos, platform::THintInfo& info) override;
    bool SelectCell(int c, int r, bool& allow) override;
    bool AdvanceEdit(int c, int r) override;
    bool FocusNextCellControl(int c, int r, const QString& afterID) override;
    void CellsMoving() override;
    void Scrolled() override;
    void EditorSettingsChanged() override;
    bool RichToPlain(const QString& rtf, QString& plain) override;
    bool IsDisjunctCellSelected(int c, int r) const override;
    int MovingColumn() const override;
    void PassEventsTo(QObject* holder) override;
    // Fires OnGetEditorProp for the cell (ACol real) without an edit link, then OnGetEditorPropInt.
    void GetEditorProp(int realCol, int r) override { GetEditorProp(realCol, r, nullptr); }

private:
    friend class TExtInplaceEdit;
    friend class TSpecialEditors;
    bool Validate(const QString& newValue, bool wide);
    bool IsTabStop(int c, int r);
    int FirstTabStop(int r);
    int LastTabStop(int r);
    void EndOfTable(bool& result);
    void ShowEditorNow();
    void HideTextEditor(bool writeBack = true);
    // Whether the keys go to the editor: it or a child holds the application's or its window's focus.
    static bool HoldsFocus(const QWidget* editor);
    void AfterSelect(int c, int r, int oldCol, int oldRow, const TGridRect& oldSel);
    void ShowBalloon();

    std::unique_ptr<TGridInput> FInput;
    std::unique_ptr<TExtInplaceEdit> FNormalEdit;
    std::unique_ptr<TSpecialEditors> FSpecials;
    bool FEditModeOn = false;
    TEditorType FEditControl = edNormal;
    QPointer<QWidget> FEditCtrl;
    bool FEditing = false, FEditActive = false, FSpecialEditor = false, FValidating = false;
    bool FEditDisable = false, FEditChange = false, FNoEditChange = false;
    QString FCellCache, FOldCellText, FNewCellText;
    int FOldCol = -1, FOldRow = -1;
    bool FOldModifiedValue = false;
    QChar FStartEditChar;
    bool FBlockKill = false, FBlockFocus = false, FShowEditProcess = false;
    int FOldRowSel = -1;
    bool FForceSel = false, FDisableChange = false, FInSwitch = false;
    int FAECol = -1, FAERow = -1, FLastTabCol = -1, FLastTabRow = -1;
    bool FModified = false;
    bool FDropRefused = false, FEnding = false;
    TGridRect FEnterSelection{-1, -1, -1, -1};
};

// The controller of a grid (made on first use); null when the editing layer is not registered.
TGridEditController* EditController(TExtStringGrid& grid);

// The editing part of a grid's layers: the controller with the input handling input makes (none:
// the controller alone).
TGridEditLayerFactory EditingLayer(TGridInputFactory input = {});

}  // namespace grid::editing
