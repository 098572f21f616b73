#include "grid/editing/GridEditController.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QTextDocument>
#include <QToolTip>
#include <utility>

#include "grid/core/GridPaint.h"
#include "grid/editing/GridDropDownEvents.h"
#include "grid/editing/GridRichText.h"
#include "grid/editing/GridUndoRedo.h"
#include "grid/editing/InplaceEdit.h"
#include "grid/editing/SpecialEditors.h"
#include "grid/editing/editors/ExtCustomGridDropDown.h"
#include "platform/Guard.h"

namespace grid::editing {

namespace {
using platform::VK_DOWN;
using platform::VK_LEFT;
using platform::VK_RETURN;
using platform::VK_RIGHT;
using platform::VK_TAB;
using platform::VK_UP;

// Sets a flag for the lifetime of the object and puts the previous value back.
class TFlagScope {
public:
    TFlagScope(bool& flag, bool value) : FFlag(flag), FOld(std::exchange(flag, value)) {}
    ~TFlagScope() { FFlag = FOld; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
    bool FOld;
};
}  // namespace

bool IsTextLikeEditor(TEditorType type)
{
    switch (type) {
    case edNormal: case edNumeric: case edPositiveNumeric: case edFloat: case edCapital: case edMixedCase:
    case edPassword: case edLowerCase: case edUpperCase: case edValidChars: case edPositiveFloat:
        return true;
    default:
        return false;
    }
}

bool CellAcceptsValue(TExtStringGrid& grid, int realCol, int r)
{
    const TPoint b = grid.BaseCell(realCol, r);
    bool canEdit = true;
    grid.IsCellEditable(b.X, b.Y, canEdit);
    bool fixed = false;
    grid.IsFixedCell(b.X, b.Y, fixed);
    return canEdit && !fixed;
}

QRect EditorRect(TExtStringGrid& grid, int c, int r)
{
    const QRect cell = ToQRect(grid.MirrorRect(grid.CellRect(c, r)));
    return {cell.left(), cell.top(), std::max(1, cell.width() - 1), std::max(1, cell.height() - 1)};
}

TGridEditController::TGridEditController(TExtStringGrid& grid, const TGridInputFactory& input) : TGridEditLayer(grid)
{
    if (input)
        FInput = input(*this);
}

TGridEditController::~TGridEditController() = default;

TExtInplaceEdit* TGridEditController::NormalEdit()
{
    if (!FNormalEdit)
        FNormalEdit = std::make_unique<TExtInplaceEdit>(*this);
    return FNormalEdit.get();
}

TSpecialEditors& TGridEditController::Specials()
{
    if (!FSpecials)
        FSpecials = std::make_unique<TSpecialEditors>(*this);
    return *FSpecials;
}

TGridEditController* EditController(TExtStringGrid& grid)
{
    return dynamic_cast<TGridEditController*>(grid.EditLayer());
}

TGridEditLayerFactory EditingLayer(TGridInputFactory input)
{
    return [input = std::move(input)](TExtStringGrid& grid) { return std::make_unique<TGridEditController>(grid, input); };
}

void TGridEditController::PassEventsTo(QObject* holder)
{
    PassDropDownEvents(*this, qobject_cast<editors::TCustomExtGridDropDown*>(holder));
}

// Can-edit query and editor type

bool TGridEditController::IsEditable(int realCol, int r)
{
    if (!(Grid.Options & goEditing) && !Grid.MouseActions.RangeSelectAndEdit && !FEditDisable)
        return false;
    return CellAcceptsValue(Grid, realCol, r);
}

void TGridEditController::GetCellEditorType(int realCol, int r, TEditorType& editor)
{
    editor = Grid.DefaultEditor;
    Grid.GetEditorType(realCol, r, editor);
}

// Editing on and off as the current cell moves

bool TGridEditController::SelectCell(int c, int r, bool& allow)
{
    allow = SelectCellSwitch(c, r);
    return true;
}

bool TGridEditController::SelectCellSwitch(int c, int r)
{
    TExtStringGrid& g = Grid;
    if (FForceSel) {
        if (g.FixedCols() > 0 && !g.RowIndicator.isNull()) {
            g.RepaintCell(0, g.Row());
            g.RepaintCell(0, r);
        }
        return true;
    }
    // The footer row at the grid's foot never becomes current.
    if (g.FloatingFooter.Visible() && g.FloatingFooter.FooterStyle() == fsFixedLastRow && r == g.RowCount() - 1 &&
        r >= g.FixedRows())
        return false;
    if (c < 0 || r < 0)
        return false;
    TFlagScope inSwitch(FInSwitch, true);
    const int oldCol = g.Col(), oldRow = g.Row();
    const TGridRect oldSel = g.Selection();
    const int rc = g.DisplToRealCol(c);
    if (!(g.Options & goRowSelect) && g.IsMergedNonBaseCell(rc, r)) {
        const TPoint b = g.BaseCell(rc, r);
        g.MoveColRow(g.RealToDisplCol(b.X), b.Y);
        g.RepaintCell(g.RealToDisplCol(b.X), b.Y);
        if (g.MouseActions.DirectEdit || (g.ControlLook.DropDownAlwaysVisible && g.HasComboBox(rc, r)))
            ShowInplaceEdit();
        return false;
    }
    // The node column of a grid with nodes, and disabled rows, are not cells to stand on.
    if (c == 0 && g.HasNodes() && !(g.Options & goRowSelect))
        return false;
    if (g.Navigation.SkipDisabledRows && !g.GetRowEnabled(r))
        return false;

    // The editing switch.
    const bool rangeEdit = g.MouseActions.RangeSelectAndEdit;
    if (g.IsCheckOrButtonCell(rc, r)) {
        bool canEdit = true;
        g.IsCellEditable(rc, r, canEdit);
        if (!FEditDisable)
            canEdit = !canEdit && ((g.Options & goEditing) || rangeEdit);
        if (!(g.Options & goEditing) && !(g.Options & goRowSelect) && canEdit) {
            FEditChange = true;
            g.Options |= goEditing;
        }
    } else {
        bool canEdit = (g.Options & goEditing) || FEditDisable;
        g.IsCellEditable(rc, r, canEdit);
        if (g.MouseActions.DirectEdit && canEdit && g.IsCellEditorNone(rc, r))
            canEdit = false;
        if (g.MouseActions.EditOnDblClickOnly())
            canEdit = false;
        if (canEdit) {
            FEditDisable = false;
            if (!(g.Options & goEditing)) {
                FEditChange = true;
                if (!FEditing)
                    StoreOldCell(c, r);
                if ((g.Options & goRowSelect) && rangeEdit)
                    g.Options &= ~goRowSelect;
                g.Options |= goEditing;
            }
            if (FEditing)
                HideInplaceEdit();
        } else {
            if (FEditing)
                HideInplaceEdit();
        }
        if (!canEdit && (g.Options & goEditing)) {
            FEditModeOn = false;
            FEditDisable = true;
            FEditChange = true;
            g.Options &= ~goEditing;
        }
    }
    g.EditDisabled = FEditDisable;

    // The decision.
    bool answer = false;
    bool refused = false;
    const bool textFocus = FNormalEdit && FNormalEdit->isVisible() && FNormalEdit->hasFocus();
    if (!FEditing || textFocus) {
        bool allow = true;
        CellChanging(c, r, allow);
        if (g.IsFixed(c, r) || !allow)
            answer = (allow && (g.Options & goRowSelect)) || (g.FixedRowAlways && g.RowCount() == g.FixedRows());
        else
            answer = g.DefaultSelectCell(c, r);
    } else {
        // A value is pending (a special editor was open): it is validated before the move, as
        // the edited cell holds it now.
        HideCellEdit();
        const int editedRow = FOldRow >= 0 && FOldRow < g.RowCount() ? FOldRow : g.Row();
        const int editedCol = FOldCol >= 0 ? g.DisplToRealCol(FOldCol) : g.RealCol();
        const TPoint b = g.BaseCell(editedCol, editedRow);
        const bool valid = ValidateCell(g.GetGridCell(b.X, b.Y));
        refused = !valid;
        bool allow = true;
        CellChanging(c, r, allow);
        answer = valid && allow && g.DefaultSelectCell(c, r);
    }

    AfterSelect(c, r, oldCol, oldRow, oldSel);
    if (!refused && answer)
        FCellCache = g.GetCellEx(rc, r);
    return answer;
}

void TGridEditController::AfterSelect(int c, int r, int oldCol, int oldRow, const TGridRect& oldSel)
{
    TExtStringGrid& g = Grid;
    if (g.FixedCols() > 0 && !g.RowIndicator.isNull()) {
        g.RepaintCell(0, oldRow);
        g.RepaintCell(0, r);
    }
    g.NotifySelListener(g.Col(), r);
    if (g.ActiveCellShow) {
        RepaintActiveHeaders(oldCol, oldRow, c, r);
        if (oldSel.Left != oldCol && oldSel.Top != oldRow)
            RepaintActiveHeaders(oldSel.Left, oldSel.Top, oldSel.Left, oldSel.Top);
    }
    // The active row and the selection rectangle span rows: the grid repaints.
    if (g.ActiveRowShow || g.SelectionRectangle)
        g.Invalidate();
    // Told whether or not the move was allowed.
    if (!g.Loading && OnRowChanged && r != FOldRowSel) {
        const int old = std::exchange(FOldRowSel, r);
        OnRowChanged(&g, old, r);
    }
}

void TGridEditController::RepaintActiveHeaders(int oldCol, int oldRow, int newCol, int newRow)
{
    TExtStringGrid& g = Grid;
    for (const auto& [c, r] : {std::pair{oldCol, oldRow}, std::pair{newCol, newRow}}) {
        if (g.FixedRows() > 0 && c >= 0 && c < g.ColCount())
            g.RepaintCell(c, g.FixedRows() - 1);
        if (g.FixedCols() > 0 && r >= 0 && r < g.RowCount())
            g.RepaintCell(g.FixedCols() - 1, r);
    }
}

void TGridEditController::Select() { SelectCellSwitch(Grid.Col(), Grid.Row()); }

void TGridEditController::CellChanging(int newCol, int newRow, bool& allow)
{
    TExtStringGrid& g = Grid;
    if (newRow != g.Row() && OnRowChanging)
        OnRowChanging(&g, g.Row(), newRow, allow);
    if (newCol != g.Col() && OnColChanging)
        OnColChanging(&g, g.Col(), newCol, allow);
    if ((newRow != g.Row() || newCol != g.Col()) && OnCellChanging && !FDisableChange)
        OnCellChanging(&g, g.Row(), g.Col(), newRow, newCol, allow);
}

// Opening and closing

bool TGridEditController::CanEditShow()
{
    if (FValidating)
        return false;
    TExtStringGrid& g = Grid;
    const bool base = (g.Options & goEditing) && !(g.Options & goRowSelect) && !g.Destroying;
    if (!base)
        return false;
    const TPoint b = g.BaseCell(g.RealCol(), g.Row());
    if (FEditModeOn)
        return !FSpecialEditor && IsTextLikeEditor(FEditControl);
    if (g.IsCheckOrButtonCell(b.X, b.Y))
        return false;
    if (!IsEditable(b.X, b.Y))
        return false;
    FNoEditChange = true;
    FCellCache = g.GetCurrentCell();
    GetCellEditorType(b.X, b.Y, FEditControl);
    if (FEditControl == edNone) {
        FNoEditChange = false;
        return false;
    }
    if (!FEditing)
        StoreOldCell(g.RealToDisplCol(b.X), b.Y);
    if (IsTextLikeEditor(FEditControl)) {
        FEditModeOn = true;
        FShowEditProcess = true;
        FEditing = true;
        return true;
    }
    if (!TSpecialEditors::Serves(FEditControl)) {
        // Types without an editor here (data check boxes among them) open nothing.
        FNoEditChange = false;
        return false;
    }
    FEditModeOn = true;
    Specials().ShowSpecialEditor(g.RealToDisplCol(b.X), b.Y);
    if (g.FocusHelper.Enabled)
        g.ShowFocusWindow(g.CellRect(g.Col(), g.Row()));
    return false;
}

void TGridEditController::ShowEditorNow()
{
    if (!CanEditShow())
        return;
    TExtInplaceEdit* edit = NormalEdit();
    edit->UpdateContents();
    edit->PlaceOnCell();
    edit->show();
    edit->setFocus(Qt::OtherFocusReason);
    FNoEditChange = false;
    if (Grid.FocusHelper.Enabled)
        Grid.ShowFocusWindow(Grid.CellRect(Grid.Col(), Grid.Row()));
}

void TGridEditController::ShowInplaceEdit()
{
    TExtStringGrid& g = Grid;
    if (g.IsCheckOrButtonCell(g.RealCol(), g.Row()))
        return;
    if (g.Row() < g.TopRow() && g.Row() >= g.FixedRows())
        g.SetTopRow(g.Row());
    if (g.Col() < g.LeftCol() && g.Col() >= g.FixedCols())
        g.SetLeftCol(g.Col());
    // An editor opens only over a cell in view, never over a stand-in rectangle.
    const TRect cell = g.CellRect(g.Col(), g.Row());
    if (cell.Width() <= 0 || cell.Height() <= 0)
        g.ScrollInView(g.Col(), g.Row());
    ShowEditorNow();
}

bool TGridEditController::HoldsFocus(const QWidget* editor)
{
    // The window's own focus widget counts too: after a dialog the window may show as active
    // before the application's focus widget is set again, and the keys still go to it.
    const QWidget* windowFocus = editor->window()->focusWidget();
    return editor->hasFocus() || editor->isAncestorOf(QApplication::focusWidget()) || windowFocus == editor ||
           editor->isAncestorOf(windowFocus);
}

void TGridEditController::HideTextEditor(bool writeBack)
{
    if (!FNormalEdit || !FNormalEdit->isVisible())
        return;
    TExtInplaceEdit* edit = FNormalEdit.get();
    const bool hadFocus = HoldsFocus(edit);
    // The text goes into the cell it was opened for, never into a cell that took its place.
    if (writeBack && edit->ColE() >= 0 && edit->RowE() >= 0 && edit->RowE() < Grid.RowCount())
        Grid.SetCellEx(Grid.DisplToRealCol(edit->ColE()), edit->RowE(), edit->text());
    {
        TFlagScope hiding(FBlockKill, true);
        edit->hide();
    }
    if (hadFocus && !Grid.Destroying)
        Grid.SetFocus();
    Grid.HideFocusWindow();
}

void TGridEditController::HideInplaceEdit()
{
    if (!FEditModeOn)
        return;
    HideTextEditor();
    if (FSpecialEditor)
        Specials().HideSpecialEditor(Grid.Col(), Grid.Row());
    FEditModeOn = false;
    if (FInSwitch)
        return;
    SelectCellSwitch(Grid.Col(), Grid.Row());
    // The switch may stop before validating (a cell it refuses): the pending value is validated
    // here, and an edit that did not open again is over.
    if (FEditing && !FEditModeOn) {
        const int row = FOldRow >= 0 && FOldRow < Grid.RowCount() ? FOldRow : Grid.Row();
        const TPoint b = Grid.BaseCell(Grid.DisplToRealCol(FOldCol >= 0 ? FOldCol : Grid.Col()), row);
        ValidateCell(Grid.GetGridCell(b.X, b.Y));
        if (!FEditModeOn)
            FEditing = false;
    }
}

void TGridEditController::EndEditNow()
{
    if (FEnding || (!FEditModeOn && !FEditing))
        return;
    if (Grid.Destroying) {
        // No validation handler runs for a grid that is going.
        FEditModeOn = FEditing = FSpecialEditor = FEditActive = false;
        return;
    }
    TFlagScope ending(FEnding, true);
    const bool textOpen = FNormalEdit && FNormalEdit->isVisible();
    if (FValidating) {
        // A validation handler moves the cells: the editors close and nothing more is written.
        if (textOpen)
            HideTextEditor(false);
    } else {
        TFlagScope drop(FDropRefused, true);
        if (textOpen) {
            // A pending value is written by its validation (or dropped when refused); an edit
            // already validated writes the editor's text back.
            const bool pending = FEditing;
            if (pending)
                ValidateCell(FNormalEdit->text());
            HideTextEditor(!pending);
        }
        if (FSpecialEditor) {
            Specials().HideSpecialEditor(Grid.Col(), Grid.Row());
            if (FEditing) {
                const int row = FOldRow >= 0 && FOldRow < Grid.RowCount() ? FOldRow : Grid.Row();
                const TPoint b = Grid.BaseCell(Grid.DisplToRealCol(FOldCol >= 0 ? FOldCol : Grid.Col()), row);
                ValidateCell(Grid.GetGridCell(b.X, b.Y));
            }
        }
    }
    if (FSpecialEditor)
        Specials().HideSpecialEditor(Grid.Col(), Grid.Row());
    FEditModeOn = false;
    FEditing = false;
    FSpecialEditor = false;
    FEditActive = false;
    Grid.HideFocusWindow();
}

bool TGridEditController::InplaceEditorShown() const
{
    return FEditModeOn && ((FNormalEdit && FNormalEdit->isVisible()) || FSpecialEditor);
}

void TGridEditController::HideCellEdit()
{
    if (FSpecialEditor)
        Specials().HideSpecialEditor(Grid.Col(), Grid.Row());
}

void TGridEditController::ShowCellEdit() { ShowInplaceEdit(); }

void TGridEditController::DoneInplaceEdit(int key, platform::TShiftState shift)
{
    TFlagScope blockFocus(FBlockFocus, true);
    FEditing = false;
    HideInplaceEdit();
    if (key == VK_TAB || (key >= VK_LEFT && key <= VK_DOWN)) {
        int k = key;
        if (!KeyDown(k, shift))
            Grid.DefaultKeyDown(k, shift);
    }
    TFlagScope alwaysEdit(Grid.Navigation.AlwaysEdit, false);
    Grid.SetFocus();
    if (key == VK_RETURN)
        AdvanceEdit(Grid.Col(), Grid.Row(), false, true, true, false, false);
}

void TGridEditController::NotifyEditingDone(int realCol, int r)
{
    if (OnEditingDone)
        OnEditingDone(&Grid);
    FEditModeOn = false;
    QPointer<TExtStringGrid> grid(&Grid);
    QMetaObject::invokeMethod(
        &Grid,
        [this, grid, realCol, r] {
            if (!grid || grid->Destroying)
                return;
            platform::Guarded([&] {
                if (OnEditCellDone)
                    OnEditCellDone(grid, realCol, r);
                if (grid->MouseActions.EditOnDblClickOnly()) {
                    HideInplaceEdit();
                    FEditModeOn = false;
                    grid->Options &= ~goEditing;
                }
            });
        },
        Qt::QueuedConnection);
}

void TGridEditController::DisableEditing() { Grid.Options &= ~goEditing; }

bool TGridEditController::WantsTabInEditor() const
{
    return (Grid.Options & goTabs) || OnCellValidate || OnCellValidateWide;
}

// Escape, validation and the write path

void TGridEditController::RestoreCellCache() { Grid.SetCellEx(Grid.RealCol(), Grid.Row(), FCellCache); }

void TGridEditController::StoreOldCell(int c, int r)
{
    FOldCol = c;
    FOldRow = r;
    FOldCellText = Grid.GetGridCell(Grid.DisplToRealCol(c), r);
    FOldModifiedValue = FModified;
}

void TGridEditController::GetEditorProp(int realCol, int r, QObject* editLink)
{
    if (OnGetEditorProp)
        OnGetEditorProp(&Grid, realCol, r, editLink);
    if (OnGetEditorPropInt)
        OnGetEditorPropInt(&Grid, realCol, r);
}

void TGridEditController::SetEditCell(int realCol, int r, const QString& value)
{
    Grid.EditTextHook(value, Grid.RealToDisplCol(realCol), r);
    Grid.SetCellEx(realCol, r, value);
}

void TGridEditController::CellValueChanged(int realCol, int) { Grid.CalcFooter(realCol); }

bool TGridEditController::ValidateCell(const QString& newValue) { return Validate(newValue, false); }

bool TGridEditController::ValidateCellWide(const QString& newValue) { return Validate(newValue, true); }

bool TGridEditController::Validate(const QString& newValue, bool wide)
{
    if (!FEditing || FValidating)
        return true;
    TExtStringGrid& g = Grid;
    FEditing = false;
    FValidating = true;
    bool valid = true;
    const int col = g.DisplToRealCol(FOldCol);
    const int row = FOldRow;
    FNewCellText = newValue;
    struct TEnd {
        TGridEditController& C;
        ~TEnd()
        {
            C.StoreOldCell(C.Grid.Col(), C.Grid.Row());
            C.FValidating = false;
        }
    } end{*this};
    if (newValue != FOldCellText || AlwaysValidate) {
        const bool changed = newValue != FOldCellText;
        QString value = newValue;
        {
            TFlagScope noAdvance(g.Navigation.AdvanceOnEnter, false);
            if (wide && (changed || AlwaysValidate))
                CellValueChanged(col, row);
            TExtStringGridCheck* checker = g.CellChecker;
            if (checker && checker->AutoCorrect)
                value = checker->Correct(col, row, value);
            if (const auto& handler = wide ? OnCellValidateWide : OnCellValidate)
                handler(&g, col, row, value, valid);
            if (value != FOldCellText) {
                GridModified = true;
                if (g.FixedCols() > 0 && (!wide || g.ShowModified.Enabled)) {
                    g.SetRowModified(row, true);
                    if (g.ShowModified.Enabled)
                        g.RepaintCell(0, row);
                }
            }
            if (valid && !wide)
                CellValueChanged(col, row);
            if (checker && checker->AutoMarkError)
                value = checker->MarkError(col, row, value);
            if (valid && changed && !wide)
                g.CellsChanged({col, row, col, row});
        }
        // What the user typed stays in the editor when the handler refused it without a value
        // of its own.
        FNewCellText = value;
        if (valid) {
            g.SetCellEx(col, row, value);
            ReportCellChange(g, col, row, FOldCellText);
            if (!g.IsBaseCell(col, row)) {
                const TPoint b = g.BaseCell(col, row);
                g.SetCellEx(b.X, b.Y, value);
            }
        } else {
            // The edited cell gets the handler's value or its old text back, and its editor
            // opens again there.
            const bool replaced = value != newValue;
            g.SetCellEx(col, row, replaced ? value : FOldCellText);
            FModified = FOldModifiedValue;
            if (FDropRefused) {
                // The cell leaves the view or moves: the refused value is dropped.
                FOldCellText = g.GetGridCell(col, row);
                return false;
            }
            const bool textOpen = FNormalEdit && FNormalEdit->isVisible() && FNormalEdit->ColE() == FOldCol &&
                                  FNormalEdit->RowE() == row;
            if (textOpen) {
                TFlagScope noChange(FNoEditChange, true);
                FNormalEdit->setText(value);
                FEditing = true;
            } else {
                if (FNormalEdit && FNormalEdit->isVisible())
                    HideTextEditor(false);
                FEditModeOn = false;
                if (g.Col() != FOldCol || g.Row() != row) {
                    TFlagScope force(FForceSel, true);
                    g.MoveColRow(FOldCol, row);
                }
                FValidating = false;
                FEditing = true;
                ShowInplaceEdit();
                FEditing = true;
                // A text editor opened again shows the value validation left, as typed.
                if (FNormalEdit && FNormalEdit->isVisible()) {
                    TFlagScope noChange(FNoEditChange, true);
                    FNormalEdit->setText(value);
                }
            }
            if (!InvalidEntryTitle.isEmpty() || !InvalidEntryText.isEmpty())
                ShowBalloon();
            FOldCellText = g.GetGridCell(col, row);
            return false;
        }
        FOldCellText = g.GetGridCell(col, row);
    }
    if (valid && !wide)
        g.HideFocusWindow();
    return valid;
}

void TGridEditController::ShowBalloon()
{
    QWidget* on = (FNormalEdit && FNormalEdit->isVisible()) ? static_cast<QWidget*>(FNormalEdit.get())
                                                              : static_cast<QWidget*>(FEditCtrl);
    if (!on)
        return;
    LastBalloonTitle = InvalidEntryTitle;
    LastBalloonText = InvalidEntryText;
    // Plain text: the title and the message are the application's, never mark-up.
    QString text = InvalidEntryTitle.toHtmlEscaped();
    if (!InvalidEntryText.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral("<br>")) + InvalidEntryText.toHtmlEscaped();
    QToolTip::showText(on->mapToGlobal(QPoint(0, on->height())), text, on);
}

// Traversal

int TGridEditController::FirstDataCol() const { return Grid.FixedCols(); }

int TGridEditController::LastDataRow() const { return Grid.RowCount() - 1 - Grid.FixedFooters; }

bool TGridEditController::AddRowAtEnd()
{
    bool canAdd = true;
    if (OnCanAddRow)
        OnCanAddRow(&Grid, canAdd);
    if (!canAdd)
        return false;
    // The footer row stays last and keeps its values; its sums then count the new row.
    Grid.AddRow();
    if (Grid.FloatingFooter.Visible())
        Grid.CalcFooter(-1);
    if (OnAutoAddRow)
        OnAutoAddRow(&Grid, Grid.RowCount() - Grid.FixedFooters - 1);
    return true;
}

bool TGridEditController::IsLastDataRow() const { return Grid.Row() >= LastDataRow(); }

int TGridEditController::EndCol() const
{
    // Only the fixed right columns in view count.
    const int total = Grid.TotalColCount();
    int hidden = 0;
    for (int c = std::max(0, total - Grid.FixedRightCols); c < total; ++c)
        hidden += Grid.IsHiddenColumn(c);
    return Grid.ColCount() - std::max(0, Grid.FixedRightCols - hidden);
}

bool TGridEditController::IsTabStop(int c, int r)
{
    bool stop = (Grid.Options & goEditing) ? IsEditable(Grid.DisplToRealCol(c), r) : !Grid.IsFixed(c, r);
    if (OnSelectCell)
        OnSelectCell(&Grid, c, r, stop);
    return stop;
}

int TGridEditController::FirstTabStop(int r)
{
    for (int c = 0; c < Grid.ColCount(); ++c)
        if (c >= Grid.FixedCols() && IsTabStop(c, r))
            return c;
    return -1;
}

int TGridEditController::LastTabStop(int r)
{
    for (int c = Grid.ColCount() - 1; c >= Grid.FixedCols(); --c)
        if (IsTabStop(c, r))
            return c;
    return -1;
}

void TGridEditController::GotoFirstRow()
{
    TFlagScope force(FForceSel, true);
    Grid.MoveColRow(Grid.Col(), Grid.FixedRows());
}

void TGridEditController::EndOfTable(bool& result)
{
    if (Grid.parentWidget() && Grid.Navigation.TabToNextAtEnd) {
        // The parent window gets the Tab and moves the focus on.
        QCoreApplication::postEvent(Grid.parentWidget(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
        result = false;
    }
}

bool TGridEditController::TabToNextCell(bool backward)
{
    TExtStringGrid& g = Grid;
    bool result = true;
    if (g.OnKeyDown) {
        int key = VK_TAB;
        g.OnKeyDown(key, backward ? platform::ssShift : platform::TShiftState(0));
        if (key != VK_TAB)
            return result;
    }
    if (g.Col() == FLastTabCol && g.Row() == FLastTabRow)
        return result;
    FLastTabCol = g.Col();
    FLastTabRow = g.Row();
    struct TEnd {
        TGridEditController& C;
        ~TEnd() { C.FLastTabCol = C.FLastTabRow = -1; }
    } end{*this};

    const int firstRow = g.FixedRows();
    const int lastRow = LastDataRow();
    const int firstCol = FirstDataCol();
    const int endCol = EndCol();
    const bool down = g.Navigation.TabAdvanceDirection != adLeftRight;
    auto moveTo = [&](int c, int r) {
        if (c == g.Col() && r == g.Row())
            return;
        bool allow = true;
        CellChanging(c, r, allow);
        if (allow) {
            TFlagScope force(FForceSel, true);
            TFlagScope noChange(FDisableChange, true);
            g.MoveColRow(c, r);
        }
    };
    // Each cell is visited once: a table without a tab stop ends on its last cell.
    const int cells = std::max(1, (lastRow - firstRow + 1) * (endCol - firstCol));
    int c = g.Col(), r = g.Row();
    bool found = false;
    for (int step = 0; step < cells && !found; ++step) {
        bool atEnd = false;
        if (backward) {
            if (down) {
                if (r > firstRow) {
                    --r;
                } else {
                    r = lastRow;
                    c = c > firstCol ? c - 1 : endCol - 1;
                }
            } else if (c > firstCol) {
                --c;
            } else {
                c = endCol - 1;
                r = r > firstRow ? r - 1 : lastRow;
            }
        } else if (down) {
            const int span = g.CellSpan(g.DisplToRealCol(c), r).Y;
            if (r + span + 1 < g.RowCount() - g.FixedFooters) {
                r += span + 1;
            } else {
                r = firstRow;
                if (c < endCol - 1) {
                    ++c;
                } else {
                    c = firstCol;
                    atEnd = true;
                }
            }
        } else {
            const int span = g.CellSpan(g.DisplToRealCol(c), r).X;
            if (c + span + 1 < endCol) {
                c += span + 1;
            } else if (r < lastRow) {
                ++r;
                c = firstCol;
            } else {
                atEnd = true;
                if (!g.Navigation.TabToNextAtEnd && g.Navigation.AdvanceInsert()) {
                    if (AddRowAtEnd()) {
                        r = g.RowCount() - 1 - g.FixedFooters;
                        c = std::max(firstCol, FirstTabStop(r));
                        {
                            TFlagScope force(FForceSel, true);
                            g.MoveColRow(c, r);
                        }
                        found = true;
                        break;
                    }
                }
                // The first-row step; the search goes on to the first tab stop of that row.
                r = firstRow;
                c = g.Navigation.TabToNextAtEnd ? std::max(firstCol, FirstTabStop(r)) : firstCol;
            }
        }
        if (atEnd && g.Navigation.TabToNextAtEnd) {
            // The first cell of the table, and the Tab goes on to the parent window.
            moveTo(c, r);
            EndOfTable(result);
            if (!result)
                return result;
        }
        if (g.IsMergedNonBaseCell(g.DisplToRealCol(c), r))
            continue;
        found = IsTabStop(c, r);
    }
    if (!found && !backward) {
        // No tab stop in the whole table.
        c = endCol - 1;
        r = lastRow;
    } else if (!found) {
        c = g.Col();
        r = g.Row();
    }
    moveTo(c, r);
    if (g.Navigation.AdvanceAutoEdit && !g.IsCheckOrButtonCell(g.RealCol(), g.Row()) && found)
        SimulateCellClick(g.Col(), g.Row());
    if (g.Navigation.AlwaysEdit)
        g.SetFocus();
    return result;
}

void TGridEditController::AdvanceEdit(int c, int r, bool force, bool autoEdit, bool forward, bool recursing,
                                      bool showEditor)
{
    TExtStringGrid& g = Grid;
    if (!g.Navigation.AdvanceOnEnter && !force)
        return;
    if (g.MouseActions.RangeSelectAndEdit)
        g.Options |= goEditing;
    const int firstRow = g.FixedRows();
    const int lastRow = LastDataRow();
    const int firstCol = FirstDataCol();
    const int endCol = EndCol();
    // Each cell is tried once, and skipping read-only cells never passes the table's end.
    const int budget = std::max(1, (lastRow - firstRow + 1) * std::max(1, endCol - firstCol));
    if (!recursing) {
        FAECol = c;
        FAERow = r;
    }
    FStartEditChar = QChar();
    const TAdvanceDirection dir = g.Navigation.AdvanceDirection();
    int ac = c, ar = r;
    bool editable = false;
    for (int tries = 0; tries < budget; ++tries) {
        const TPoint span = g.CellSpan(g.DisplToRealCol(ac), ar);
        bool wrapped = false;
        if (forward && (dir == adLeftRight || dir == adLeftRightInRow)) {
            if (ac + span.X < endCol - 1) {
                ac += span.X + 1;
            } else if (dir == adLeftRightInRow) {
                if (!g.Navigation.AdvanceOnEnterLoop)
                    return;
                ac = firstCol;
                wrapped = true;
            } else if (ar < lastRow) {
                ++ar;
                ac = firstCol;
            } else if (g.Navigation.AdvanceInsert()) {
                ac = firstCol;
                if (AddRowAtEnd()) {
                    ++ar;
                    bool any = false;
                    for (int k = g.FixedCols(); k < g.ColCount() && !any; ++k)
                        any = IsEditable(g.DisplToRealCol(k), ar);
                    if (!any)
                        return;
                }
            } else if (g.Navigation.AdvanceOnEnterLoop) {
                ar = firstRow;
                ac = firstCol;
                wrapped = true;
            } else {
                return;
            }
        } else if (forward) {
            if (ar + 1 < g.RowCount() - g.FixedFooters) {
                ++ar;
            } else if (dir == adTopBottomInCol) {
                ar = firstRow;
                wrapped = true;
            } else if (ac + 1 < endCol) {
                ar = firstRow;
                ++ac;
            } else if (g.Navigation.AdvanceInsert()) {
                g.SetColCount(g.ColCount() + 1);
                ac += span.X + 1;
                ar = firstRow;
                if (OnAutoInsertCol)
                    OnAutoInsertCol(&g, g.ColCount() - g.FixedRightCols - 1);
            } else {
                ar = firstRow;
                ac = firstCol;
                wrapped = true;
            }
            g.Invalidate();
        } else if (dir == adLeftRight) {
            if (ac > firstCol) {
                --ac;
            } else {
                wrapped = ar <= firstRow;
                ar = ar > firstRow ? ar - 1 : lastRow;
                ac = endCol - 1;
            }
        } else if (dir == adTopBottom) {
            if (ar > firstRow) {
                --ar;
            } else {
                wrapped = ac <= firstCol;
                ac = ac > firstCol ? ac - 1 : endCol - 1;
                ar = lastRow;
            }
        } else {
            return;
        }
        // Skipping read-only cells stops at the table's end.
        if (wrapped && tries > 0)
            return;
        bool canEdit = true;
        g.IsCellEditable(g.DisplToRealCol(ac), ar, canEdit);
        if (canEdit) {
            editable = true;
            break;
        }
        if (!g.Navigation.AdvanceSkipReadOnlyCells)
            break;
        if (ac == FAECol && ar == FAERow)
            return;  // round the whole table without an editable cell
        if (tries == budget - 1)
            return;
    }
    if (editable) {
        bool allow = true;
        if (OnAutoAdvance)
            OnAutoAdvance(&g, FAERow, FAECol, ar, ac, allow);
        if (allow && OnCellChanging)
            OnCellChanging(&g, FAERow, FAECol, ar, ac, allow);
        if (!allow)
            return;
    }
    {
        TFlagScope noChange(FDisableChange, true);
        g.MoveColRow(ac, ar);
    }
    const bool arrived = g.Col() == ac && g.Row() == ar;
    const bool checkOrButton = g.IsCheckOrButtonCell(g.DisplToRealCol(ac), ar);
    if (arrived && showEditor && ((autoEdit && g.Navigation.AdvanceAutoEdit) || checkOrButton)) {
        if (!editable || !IsEditable(g.RealCol(), g.Row()))
            return;
        if (!checkOrButton) {
            ShowInplaceEdit();
        } else {
            // A check box or button cell takes the focus like a click; an editor the start cell's
            // type does not keep open is hidden again.
            if (!g.IsCheckOrButtonCell(g.DisplToRealCol(FAECol), FAERow))
                SimulateCellClick(ac, ar);
            if (g.Navigation.AdvanceDirection() != adLeftRight)
                HideInplaceEdit();
            if (OnCellChanging) {
                bool ignored = true;
                OnCellChanging(&g, FAERow, FAECol, g.Row(), g.Col(), ignored);
            }
            TEditorType startType = edNormal;
            GetCellEditorType(g.DisplToRealCol(FAECol), FAERow, startType);
            if (!IsTextLikeEditor(startType) || startType == edValidChars)
                HideInplaceEdit();
        }
    }
    if (g.MouseActions.DisjunctRowSelect()) {
        g.ClearRowSelect();
        g.SetRowSelect(g.Row(), true);
    }
}

bool TGridEditController::AdvanceEdit(int c, int r)
{
    AdvanceEdit(c, r, true, true, true, false, true);
    return true;
}

void TGridEditController::SimulateCellClick(int c, int r)
{
    TExtStringGrid& g = Grid;
    {
        TFlagScope force(FForceSel, true);
        g.MoveColRow(c, r);
    }
    Select();
    if ((g.Options & goEditing) && g.Col() == c && g.Row() == r)
        ShowInplaceEdit();
}

// The editor never outlives its cell

bool TGridEditController::FocusNextCellControl(int c, int r, const QString& afterID)
{
    return FInput && FInput->FocusNextCellControl(c, r, afterID);
}

void TGridEditController::CellsMoving()
{
    if (FInput)
        FInput->CellsMoving();
    EndEditNow();
}

void TGridEditController::Scrolled()
{
    if (FInput)
        FInput->CellsMoving();
    if (FEnding)
        return;
    // A special editor closes when the grid scrolls; the text editor follows its cell while the
    // cell stays in view.
    if (FEditModeOn && FSpecialEditor) {
        EndEditNow();
        return;
    }
    if (FNormalEdit && FNormalEdit->isVisible()) {
        const TRect cell = Grid.CellRect(FNormalEdit->ColE(), FNormalEdit->RowE());
        if (cell.Width() <= 0 || cell.Height() <= 0)
            EndEditNow();
        else
            FNormalEdit->PlaceOnCell();
    }
}

// The grid's queries and settings

void TGridEditController::EditorSettingsChanged()
{
    if (FNormalEdit && FNormalEdit->isVisible())
        FNormalEdit->ApplyLengthLimit();
    if (FSpecials)
        FSpecials->ApplyLooks();
}

bool TGridEditController::RichToPlain(const QString& rtf, QString& plain)
{
    QTextDocument document;
    RtfToDocument(rtf, document);
    plain = document.toPlainText();
    return true;
}

int TGridEditController::MovingColumn() const { return FInput ? FInput->MovingColumn() : -1; }

bool TGridEditController::IsDisjunctCellSelected(int c, int r) const
{
    return FInput && FInput->IsDisjunctCellSelected(c, r);
}

// Combo notifications

void TGridEditController::ComboChange(int index, const QString& text, const QVariant& object)
{
    if (!FEditModeOn)
        return;
    const int rc = Grid.RealCol(), r = Grid.Row();
    if (OnComboChange)
        OnComboChange(&Grid, rc, r, index, text);
    if (Grid.OnComboObjectChange)
        Grid.OnComboObjectChange(&Grid, rc, r, index, text, index < 0 ? QVariant() : object);
}

void TGridEditController::ComboCloseUp(int index, const QString& text, const QVariant& object)
{
    const int rc = Grid.RealCol(), r = Grid.Row();
    if (Grid.MouseActions.DirectComboClose && FEditModeOn) {
        ComboChange(index, text, object);
        // The picked value is written like an editable list's text, and the edit ends.
        FEditControl = edComboEdit;
        FEditModeOn = true;
        {
            TFlagScope noDirect(Grid.MouseActions.DirectEdit, false);
            HideInplaceEdit();
        }
        Grid.SetFocus();
    }
    Grid.ComboCloseUp(r, rc);
}

void TGridEditController::ComboDropDown() { Grid.ComboDropDown(Grid.Row(), Grid.RealCol()); }

// Cell services

void TGridEditController::AddTriStateCheckBoxColumn(int realCol, TCheckBoxState state)
{
    for (int r = Grid.MouseActions.CheckAllCheck ? 0 : Grid.FixedRows(); r < Grid.RowCount(); ++r)
        Grid.AddCheckBox(realCol, r, state);
}

void TGridEditController::ScrollCell(int c, int r, int position, int min, int max)
{
    if (OnScrollCell)
        OnScrollCell(&Grid, c, r, position, min, max);
}

void TGridEditController::StartBlockFocus()
{
    if (OnStartBlockFocus)
        OnStartBlockFocus(&Grid);
}

void TGridEditController::EndBlockFocus()
{
    if (OnEndBlockFocus)
        OnEndBlockFocus(&Grid);
}

// The layer's input goes to the input handling first.

bool TGridEditController::KeyDown(int& key, platform::TShiftState shift) { return FInput && FInput->KeyDown(key, shift); }
bool TGridEditController::KeyUp(int& key, platform::TShiftState shift) { return FInput && FInput->KeyUp(key, shift); }
bool TGridEditController::KeyPress(QChar& key) { return FInput && FInput->KeyPress(key); }
bool TGridEditController::MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y)
{
    return FInput && FInput->MouseDown(button, shift, x, y);
}
bool TGridEditController::MouseMove(platform::TShiftState shift, int x, int y)
{
    return FInput && FInput->MouseMove(shift, x, y);
}
bool TGridEditController::MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y)
{
    return FInput && FInput->MouseUp(button, shift, x, y);
}
bool TGridEditController::DblClick() { return FInput && FInput->DblClick(); }
void TGridEditController::MouseLeave()
{
    if (FInput)
        FInput->MouseLeave();
}
bool TGridEditController::CursorAt(int x, int y, QCursor& cursor) { return FInput && FInput->CursorAt(x, y, cursor); }
bool TGridEditController::MouseWheel(platform::TShiftState shift, int delta, int x, int y, bool& used)
{
    // Ctrl with the wheel zooms: towards the user larger, away smaller.
    if ((shift & platform::ssCtrl) && Grid.IntelliZoom && delta != 0) {
        const int lines = std::max(1, QApplication::wheelScrollLines());
        Grid.Zoom(delta < 0 ? lines : -lines);
        Grid.AutoSizeCells(true, 4, 4);
        used = true;
        return true;
    }
    return FInput && FInput->MouseWheel(shift, delta, x, y, used);
}
void TGridEditController::DoEnter()
{
    if (!FBlockFocus)
        FEnterSelection = Grid.Selection();
    if (FInput)
        FInput->DoEnter();
}
void TGridEditController::DoExit()
{
    if (FBlockKill)
        return;
    // With disjunct row selection the selection made since the grid was entered becomes
    // selected rows.
    if (Grid.MouseActions.DisjunctRowSelect() && !(Grid.Selection() == FEnterSelection))
        Grid.SelectionToRowSelect();
    FEnterSelection = Grid.Selection();
    if (FInput)
        FInput->DoExit();
}
bool TGridEditController::CellHint(const QPoint& pos, platform::THintInfo& info)
{
    return FInput && FInput->CellHint(pos, info);
}

}  // namespace grid::editing
