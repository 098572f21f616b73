#include "grid/editing/GridInput.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QLocale>
#include <QRegularExpression>
#include <QUrl>
#include <algorithm>
#include <array>

#include "grid/core/GridHelperControls.h"
#include "grid/core/GridTextUtils.h"
#include "grid/editing/GridClipboard.h"
#include "grid/editing/GridUndoRedo.h"
#include "grid/editing/InplaceEdit.h"
#include "grid/editing/SpecialEditors.h"
#include "platform/Dialogs.h"
#include "platform/Process.h"

namespace grid::editing {

using platform::ssAlt;
using platform::ssCtrl;
using platform::ssShift;
using platform::TMouseButton;
using platform::TShiftState;

namespace {

using platform::VK_BACK;
using platform::VK_TAB;
using platform::VK_RETURN;
using platform::VK_ESCAPE;
using platform::VK_SPACE;
using platform::VK_PRIOR;
using platform::VK_NEXT;
using platform::VK_END;
using platform::VK_HOME;
using platform::VK_LEFT;
using platform::VK_UP;
using platform::VK_RIGHT;
using platform::VK_DOWN;
using platform::VK_INSERT;
using platform::VK_DELETE;
using platform::VK_F2;

bool IsNavigationKey(int key)
{
    return key >= VK_PRIOR && key <= VK_DOWN;
}

// Keys whose key-down is followed by a typed character (letters, digits, punctuation, the keypad).
bool TypesCharacter(int key)
{
    return key == VK_BACK || key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_SPACE ||
           (key >= 0x30 && key <= 0x5A) || (key >= 0x60 && key <= 0x6F) || (key >= 0xBA && key <= 0xE2);
}

bool HasFormControl(const QString& s)
{
    return IsCellHtml(s) && s.toUpper().contains(QStringLiteral("<CONTROL"));
}

// The check box kinds but the row check box.
bool IsCheckKindButRow(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctTriStateCheckBox;
}

// A character that reaches the grid while its text editor is open goes into the editor, as the
// character that starts an edit does, instead of being lost.
void TypeIntoTextEditor(TGridEditController& controller, QChar key)
{
    if (key.isNull() || controller.SpecialEditorOpen())
        return;
    TExtInplaceEdit* edit = controller.NormalEdit();
    if (!edit || !edit->isVisible())
        return;
    edit->setFocus(Qt::OtherFocusReason);
    const bool back = key.unicode() == VK_BACK;
    QKeyEvent typed(QEvent::KeyPress, back ? Qt::Key_Backspace : 0, Qt::NoModifier, back ? QString() : QString(key));
    QCoreApplication::sendEvent(edit, &typed);
}

// The grid answers for a real column; the input handler works with the display column under
// the mouse or the cursor, which differs from it once columns are hidden.
bool CheckOrButtonAt(TExtStringGrid& grid, int displayCol, int row)
{
    return displayCol >= 0 && grid.IsCheckOrButtonCell(grid.DisplToRealCol(displayCol), row);
}

}  // namespace

TGridInputHandler::TGridInputHandler(TGridEditController& controller)
    : TGridInput(controller),
      Grid(controller.Grid),
      OpenLink([](const QString& url) { return platform::OpenLink(url); }),
      FDragDrop(std::make_unique<TGridDragDrop>(Grid)),
      FCellForms(std::make_unique<TCellFormControls>(Grid))
{
}

bool TGridInputHandler::FocusNextCellControl(int c, int r, const QString& afterID)
{
    return FCellForms->FocusNextCellControl(c, r, afterID);
}

void TGridInputHandler::CellsMoving() { FCellForms->CellControlExit(); }

TGridInputFactory InputHandling()
{
    return [](TGridEditController& c) { return std::make_unique<TGridInputHandler>(c); };
}

void TGridInputHandler::ShowEditor(QChar startChar)
{
    if (!startChar.isNull())
        Controller.SetStartEditChar(startChar);
    // A press that opens the editor selects no range when the mouse moves on.
    Grid.EndRangeSelect();
    Controller.ShowInplaceEdit();
}

int TGridInputHandler::FirstDataCol() const
{
    return Grid.FixedCols() == 0 && Grid.HasNodes() ? 1 : Grid.FixedCols();
}

void TGridInputHandler::SetEditing(bool on)
{
    if (on)
        Grid.Options |= goEditing;
    else
        Grid.Options &= ~goEditing;
}

bool TGridInputHandler::IsEditable(int realCol, int row)
{
    return realCol >= 0 && row >= 0 && Controller.IsEditable(realCol, row);
}

bool TGridInputHandler::IsEditableForced(int realCol, int row)
{
    return realCol >= 0 && row >= 0 && CellAcceptsValue(Grid, realCol, row);
}

int TGridInputHandler::FirstTabStop(int r)
{
    for (int c = 0; c < Grid.ColCount(); ++c) {
        if (c < Grid.FixedCols())
            continue;
        const bool stop = EditingOn() ? IsEditable(Grid.DisplToRealCol(c), r) : !Grid.IsFixed(c, r);
        if (stop)
            return c;
    }
    return -1;
}

// Keyboard

bool TGridInputHandler::KeyDown(int& key, TShiftState shift)
{
    FShift = shift;
    FKeyDownSelection = Grid.Selection();
    FKeypadDecimal = key == platform::VK_DECIMAL;
    if (FPanning)
        StopPan();
    const int original = key;
    WMKeyDown(key, shift);
    // The character a key types still follows its key-down, as on the platform the grid copies.
    // A key used up here types nothing, except Enter, whose character always comes.
    key = TypesCharacter(original) && (key != 0 || original == VK_RETURN) ? original : 0;
    return true;
}

// Answers whether the key went through; key 0 means it was consumed.
bool TGridInputHandler::WMKeyDown(int& key, TShiftState shift)
{
    auto fireKeyDown = [&] {
        if (Grid.OnKeyDown) {
            int k = key;
            Grid.OnKeyDown(k, shift);
        }
    };
    auto consume = [&] {
        fireKeyDown();
        key = 0;
        return false;
    };
    FMoveSelection = Grid.Selection();
    const int realCol = Grid.RealCol();
    const int col = Grid.Col(), row = Grid.Row();

    if (Grid.Navigation.MoveScrollOnly && (IsNavigationKey(key) && key != VK_LEFT && key != VK_RIGHT)) {
        const int first = Grid.FixedRows();
        const int last = std::max(first, Grid.MaxTopRow());
        const int page = std::max(1, Grid.VisibleRowCount());
        int top = Grid.TopRow();
        switch (key) {
        case VK_PRIOR: top = top > page + first ? top - page : first; break;
        case VK_NEXT: top = std::min(last, top + page); break;
        case VK_END: top = last; break;
        case VK_HOME: top = first; break;
        case VK_UP: top = std::max(first, top - 1); break;
        case VK_DOWN: top = std::min(last, top + 1); break;
        default: break;
        }
        Grid.SetTopRow(top);
        key = 0;
        return false;
    }

    const bool enterOrF2 = key == VK_RETURN || key == VK_F2;
    if (Grid.MouseActions.EditOnDblClickOnly() && enterOrF2 && !EditingOn() && IsEditableForced(realCol, row))
        SetEditing(true);
    if (Grid.MouseActions.RangeSelectAndEdit && !EditingOn() && enterOrF2) {
        if (!IsEditableForced(realCol, row))
            return consume();
        SetEditing(true);
        ShowEditor();
    }
    if ((shift & ssCtrl) && key == 'F' && Grid.SearchFooter.Visible)
        if (TGridDataOps* ops = Grid.DataOps())
            ops->FocusSearchEdit();
    if (enterOrF2) {
        if (EditingOn() && !IsEditable(realCol, row))
            return consume();
        if (HasFormControl(Grid.Cells(realCol, row))) {
            // The cell's first control that takes text gets the focus.
            if (FCellForms->CanEdit(realCol, row)) {
                Controller.StoreOldCell(col, row);
                FocusNextCellControl(col, row, QString());
            }
            key = 0;
            return false;
        }
    }
    if (key == VK_RETURN && !IsEditable(realCol, row)) {
        // Enter on a cell that is not editable reaches the window's key press only.
        fireKeyDown();
        return false;
    }
    if ((key == VK_RETURN || key == VK_SPACE) && CheckOrButtonAt(Grid, col, row))
        ToggleByKey(key);
    if (HomeEnd(key, shift)) {
        fireKeyDown();
        key = 0;
        ReportSelectionChange();
        return false;
    }
    // Right and Left open and close a node whose row is merged.
    if ((key == VK_RIGHT || key == VK_LEFT) && Grid.IsNode(row) && Grid.IsMergedCell(realCol, row)) {
        if (key == VK_RIGHT)
            Grid.ExpandNode(Grid.DisplToRealRow(row));
        else
            Grid.ContractNode(Grid.DisplToRealRow(row));
    }
    // In row-select grids the columns scroll by Ctrl+Left/Right, or by the plain keys without
    // LeftRightRowSelect.
    if ((key == VK_LEFT || key == VK_RIGHT) && (Grid.Options & goRowSelect) && !Grid.IsNode(row)) {
        const bool lrSelect = Grid.Navigation.LeftRightRowSelect;
        const bool ctrlKey = shift & ssCtrl;
        if (lrSelect == ctrlKey) {
            const int first = Grid.FixedCols();
            const int maxLeft = std::max(first, Grid.MaxLeftCol());
            Grid.SetLeftCol(std::clamp(Grid.LeftCol() + (key == VK_RIGHT ? 1 : -1), first, maxLeft));
            if (!lrSelect) {
                fireKeyDown();
                key = 0;
                return false;
            }
        }
    }
    if (key == VK_TAB && (Grid.Options & goTabs)) {
        Controller.TabToNextCell((shift & ssShift) != 0);
        ReportSelectionChange();
        key = 0;
        return false;
    }
    if (Grid.Navigation.SkipFixedCells && SkipFixed(key, shift)) {
        fireKeyDown();
        key = 0;
        ReportSelectionChange();
        return false;
    }
    // With the search footer shown, the table's last row stays above it and the keys stop there.
    if (Grid.SearchFooter.Visible && row == Grid.RowCount() - 1 &&
        Grid.TopRow() + Grid.VisibleRowCount() >= Grid.RowCount() - 1) {
        if (key == VK_DOWN && !Grid.LastRowAboveSearchFooter()) {
            Grid.ScrollLastRowAboveSearchFooter();
            return consume();
        }
        if ((key == VK_RIGHT && col == Grid.ColCount() - 1) || (key == VK_LEFT && col == Grid.FixedCols()))
            return consume();
    }
    if (Grid.Navigation.AppendOnArrowDown && key == VK_DOWN && row == LastDataRow())
        Controller.AddRowAtEnd();

    BaseKeyDown(key, shift);
    if (key == 0) {
        ReportSelectionChange();
        return false;
    }

    const bool ctrl = shift & ssCtrl, sh = shift & ssShift, alt = shift & ssAlt;
    if (Grid.Navigation.AllowClipboardShortCuts) {
        const int which = (ctrl && key == 'X') || (sh && key == VK_DELETE)   ? 1
                          : (ctrl && key == 'V') || (sh && key == VK_INSERT) ? 2
                          : ctrl && (key == 'C' || key == VK_INSERT)         ? 3
                                                                             : 0;
        if (which != 0) {
            ClipboardKey(which);
            key = 0;
            return false;
        }
    }
    if (key == VK_INSERT && !ctrl && !sh && !alt && Grid.Navigation.AllowInsertRow) {
        InsertRowByKey();
    } else if (ctrl && key == 'A' && (Grid.Options & (goRowSelect | goRangeSelect))) {
        Grid.SetSelection({FirstDataCol(), Grid.FixedRows(), LastDataCol(), LastDataRow()});
        if (Grid.MouseActions.DisjunctRowSelect())
            for (int r = Grid.FixedRows(); r <= LastDataRow(); ++r)
                Grid.SetRowSelect(r, true);
    } else if (key == VK_DELETE && !alt && Grid.Navigation.AllowDeleteRow && LastDataRow() >= Grid.FixedRows()) {
        DeleteRowByKey();
    } else if (enterOrF2) {
        Controller.StoreOldCell(Grid.Col(), Grid.Row());
    }
    ReportSelectionChange();
    return true;
}

// Pasted and emptied values pass the application's validation as typed ones do.
TCellValidator TGridInputHandler::PasteValidator()
{
    if (!Controller.OnCellValidate)
        return {};
    return [this](int realCol, int row, QString& value) {
        bool valid = true;
        Controller.OnCellValidate(&Grid, realCol, row, value, valid);
        return valid;
    };
}

// The clipboard keys: 1 cut, 2 paste, 3 copy; each event may refuse.
void TGridInputHandler::ClipboardKey(int which)
{
    bool allow = true;
    const auto& handler = which == 1 ? Grid.OnClipboardCut : which == 2 ? Grid.OnClipboardPaste : Grid.OnClipboardCopy;
    if (handler)
        handler(&Grid, allow);
    if (!allow)
        return;
    const TCellValidator validate = PasteValidator();
    if (which == 2)
        Controller.HideInplaceEdit();
    // The data operations carry the grid's full clipboard; without them plain text only.
    if (TGridDataOps* ops = Grid.DataOps(); ops && ops->ClipboardKey(which, validate))
        return;
    if (which == 2) {
        const int c = std::max(Grid.Col(), FirstDataCol());
        PasteClipboardAt(Grid, c, std::max(Grid.Row(), Grid.FixedRows()), validate);
        return;
    }
    CopySelectionToClipboard(Grid, which == 1, validate);
}

void TGridInputHandler::SyncOtherGrid()
{
    TObjStringGrid* other = Grid.SyncGrid.Grid();
    if (!other || other == &Grid)
        return;
    const int c = Grid.SyncGrid.SelectionColumn ? Grid.Col() : other->Col();
    const int r = Grid.SyncGrid.SelectionRow ? Grid.Row() : other->Row();
    if ((c != other->Col() || r != other->Row()) && c < other->ColCount() && r < other->RowCount())
        other->MoveColRow(c, r);
}

void TGridInputHandler::ReportSelectionChange()
{
    const TGridRect s = Grid.Selection();
    if (s.Left == FMoveSelection.Left && s.Top == FMoveSelection.Top && s.Right == FMoveSelection.Right &&
        s.Bottom == FMoveSelection.Bottom)
        return;
    Grid.SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
    FMoveSelection = s;
}

// The application's key-down, then the grid's own key step.
void TGridInputHandler::BaseKeyDown(int& key, TShiftState shift)
{
    if (Grid.OnKeyDown)
        Grid.OnKeyDown(key, shift);
    if (key != 0) {
        GridKeyDown(key, shift);
        SyncOtherGrid();
    }
}

void TGridInputHandler::GridKeyDown(int& key, TShiftState shift)
{
    const int oldCol = Grid.Col(), oldRow = Grid.Row();
    const bool ctrl = shift & ssCtrl;
    // Shift extends the selection from its anchor (in a range-select grid).
    const bool extend = shift & ssShift;
    if (key == VK_F2) {
        if (EditingOn() && !CheckOrButtonAt(Grid, oldCol, oldRow) && !Controller.EditMode())
            ShowEditor();
        return;
    }
    if (ctrl && (key == VK_UP || key == VK_DOWN)) {
        // Ctrl+Up and Ctrl+Down scroll one row and leave the current cell.
        const int first = Grid.FixedRows();
        Grid.SetTopRow(std::clamp(Grid.TopRow() + (key == VK_DOWN ? 1 : -1), first, std::max(first, Grid.MaxTopRow())));
        if (Grid.Navigation.CursorMoveRows)
            MoveSelectedRows(key == VK_DOWN);
        return;
    }
    if (ctrl && key == VK_HOME) {
        Grid.MoveCurrent(Grid.FixedCols(), Grid.FixedRows(), extend);
        return;
    }
    if (ctrl && key == VK_END) {
        Grid.MoveCurrent(Grid.ColCount() - 1, Grid.RowCount() - 1, extend);
        return;
    }
    int k = key;
    if (Grid.UseRightToLeftAlignment() && (k == VK_LEFT || k == VK_RIGHT))
        k = k == VK_LEFT ? VK_RIGHT : VK_LEFT;
    if (!IsNavigationKey(k))
        return;
    Grid.KeyMove(k, extend);

    // Wrapping at the edges.
    const TCursorAdvance advance = Grid.Navigation.CursorAdvance;
    if (advance != caDefault) {
        const bool snake = advance == caSnake;
        const int firstCol = Grid.FixedCols(), firstRow = Grid.FixedRows();
        if (k == VK_LEFT && oldCol == firstCol) {
            Grid.MoveColRow(LastDataCol(), snake && oldRow > firstRow ? oldRow - 1 : oldRow);
        } else if (k == VK_RIGHT && oldCol == Grid.ColCount() - 1) {
            Grid.MoveColRow(firstCol, snake && oldRow < LastDataRow() ? oldRow + 1 : oldRow);
        } else if (k == VK_UP && oldRow == firstRow) {
            Grid.MoveColRow(snake && oldCol > firstCol ? oldCol - 1 : oldCol, LastDataRow());
        } else if (k == VK_DOWN && oldRow == Grid.RowCount() - 1) {
            Grid.MoveColRow(snake && oldCol < LastDataCol() ? oldCol + 1 : oldCol, firstRow);
        }
    }
    // Disabled rows are jumped over.
    if (Grid.Navigation.SkipDisabledRows && (k == VK_UP || k == VK_DOWN) && Grid.Row() == oldRow) {
        const int step = k == VK_UP ? -1 : 1;
        for (int r = oldRow + step; r >= Grid.FixedRows() && r < Grid.RowCount(); r += step) {
            if (Grid.GetRowEnabled(r)) {
                Grid.MoveCurrent(Grid.Col(), r, extend);
                break;
            }
        }
    }
}

// Ctrl+Up and Ctrl+Down carry the selected rows one row up or down, the selection with them.
void TGridInputHandler::MoveSelectedRows(bool down)
{
    const TGridRect s = Grid.Selection();
    const int top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
    const int step = down ? 1 : -1;
    if (down ? bottom >= Grid.RowCount() - 1 : top <= Grid.FixedRows())
        return;
    if (top == bottom) {
        Grid.MoveRow(top, top + step);
        Grid.MoveColRow(Grid.Col(), top + step);
        return;
    }
    Grid.MoveRows(top, top + step, bottom - top + 1);
    Grid.SetSelection({Grid.FixedCols(), top + step, Grid.ColCount() - 1, bottom + step});
}

bool TGridInputHandler::HomeEnd(int key, TShiftState shift)
{
    if (key != VK_HOME && key != VK_END)
        return false;
    if (Grid.FixedRowAlways && Grid.RowCount() == Grid.FixedRows())
        return false;
    const bool ctrl = shift & ssCtrl, sh = shift & ssShift;
    const bool rowSelect = Grid.Options & goRowSelect;
    switch (Grid.Navigation.HomeEndKey) {
    case heFirstLastCell:
        if (ctrl)
            return false;
        if (key == VK_HOME)
            Grid.MoveCurrent(Grid.FixedCols(), Grid.FixedRows(), sh);
        else
            Grid.MoveCurrent(Grid.ColCount() - 1, Grid.RowCount() - 1, sh);
        return true;
    case heFirstLastRow: {
        if (ctrl)
            return false;
        const int oldRow = Grid.Row();
        int target = Grid.FixedRows();
        if (key == VK_END)
            target = Grid.FloatingFooter.Visible() && Grid.RowCount() > 2 ? Grid.RowCount() - 2 : LastDataRow();
        if (sh) {
            Grid.SetSelection(
                {Grid.FixedCols(), std::min(oldRow, target), Grid.ColCount() - 1, std::max(oldRow, target)});
        } else {
            Grid.MoveColRow(Grid.Col(), target);
        }
        return true;
    }
    case heFirstLastColumn:
        if (ctrl) {
            if (key != VK_HOME)
                return false;
            const int first = Grid.FixedRows();
            const int c = FirstTabStop(first);
            Grid.MoveCurrent(c >= 0 ? c : Grid.FixedCols(), first, sh);
            Grid.SetLeftCol(FirstDataCol());
            return true;
        }
        if (rowSelect)
            return false;
        if (key == VK_HOME) {
            if (sh) {
                Grid.SetSelection({Grid.FixedCols(), Grid.Row(), Grid.Col(), Grid.Row()});
            } else {
                const int c = FirstTabStop(Grid.Row());
                Grid.MoveColRow(c >= 0 ? c : Grid.FixedCols(), Grid.Row());
                Grid.SetLeftCol(FirstDataCol());
            }
        } else if (sh) {
            Grid.SetSelection({Grid.Col(), Grid.Row(), LastDataCol(), Grid.Row()});
        } else {
            Grid.MoveColRow(Grid.ColCount() - 1, Grid.Row());
        }
        return true;
    }
    return false;
}

bool TGridInputHandler::SkipFixed(int key, TShiftState shift)
{
    int dc = 0, dr = 0;
    switch (key) {
    case VK_LEFT: dc = Grid.UseRightToLeftAlignment() ? 1 : -1; break;
    case VK_RIGHT: dc = Grid.UseRightToLeftAlignment() ? -1 : 1; break;
    case VK_UP: dr = -1; break;
    case VK_DOWN: dr = 1; break;
    default: return false;
    }
    const int c0 = Grid.Col(), r0 = Grid.Row();
    int c = c0 + dc, r = r0 + dr;
    const int lastCol = LastDataCol(), lastRow = LastDataRow();
    if (c < Grid.FixedCols() || c > lastCol || r < Grid.FixedRows() || r > lastRow)
        return false;
    if (!Grid.IsFixed(c, r))
        return false;
    while (c >= Grid.FixedCols() && c <= lastCol && r >= Grid.FixedRows() && r <= lastRow && Grid.IsFixed(c, r)) {
        c += dc;
        r += dr;
    }
    if (c >= Grid.FixedCols() && c <= lastCol && r >= Grid.FixedRows() && r <= lastRow)
        Grid.MoveCurrent(c, r, (shift & ssShift) != 0);
    return true;
}

void TGridInputHandler::InsertRowByKey()
{
    const int row = Grid.Row();
    bool canInsert = true;
    if (Grid.OnCanInsertRow)
        Grid.OnCanInsertRow(&Grid, row, canInsert);
    if (!canInsert)
        return;
    // The row goes in among all rows: the filter is off for the insertion and back on after.
    TGridDataOps* ops = Grid.DataOps();
    const bool filtered = ops && ops->FilterActive();
    const int realRow = Grid.DisplToRealRow(row);
    if (filtered)
        ops->SetFilterActive(false);
    const int shown = Grid.RealToDisplRow(realRow);
    int at = shown;
    if (Grid.Navigation.InsertPosition == pInsertAfter)
        at = std::min(shown + 1, Grid.RowCount());
    Grid.InsertRows(at, 1);
    if (Grid.OnAutoInsertRow)
        Grid.OnAutoInsertRow(&Grid, at);
    const int realAt = Grid.DisplToRealRow(at);
    if (filtered)
        ops->SetFilterActive(true);
    Grid.MoveColRow(Grid.Col(), std::max(Grid.FixedRows(), std::min(Grid.RealToDisplRow(realAt), Grid.RowCount() - 1)));
    Grid.CalcAllFooters();
}

void TGridInputHandler::DeleteRowByKey()
{
    const int row = Grid.Row();
    bool canDelete = true;
    if (Grid.OnCanDeleteRow)
        Grid.OnCanDeleteRow(&Grid, row, canDelete);
    if (!canDelete)
        return;
    // An editor over the row must not stay over the row that moves up into its place.
    Controller.HideInplaceEdit();
    if (LastDataRow() == Grid.FixedRows() && !Grid.FixedRowAlways) {
        for (int c = 0; c < Grid.ColCount() + Grid.NumHiddenColumns(); ++c)
            Grid.SetCells(c, row, QString());
    } else {
        Grid.RemoveRows(row, 1);
    }
    if (Grid.OnAutoDeleteRow)
        Grid.OnAutoDeleteRow(&Grid, row);
    Controller.StoreOldCell(Grid.Col(), Grid.Row());
    Grid.CalcAllFooters();
}

void TGridInputHandler::ToggleByKey(int key)
{
    const int c = Grid.Col(), r = Grid.Row();
    const int realCol = Grid.RealCol();
    bool canAct = EditingOn() || Grid.MouseActions.RangeSelectAndEdit;
    Grid.IsCellEditable(realCol, r, canAct);
    TCellGraphic* g = Grid.GetCellGraphic(realCol, r);
    if (!g)
        return;
    if (key == VK_SPACE && IsCheckKindButRow(g->CellType) && (canAct || Grid.ControlLook.CheckAlwaysActive)) {
        const QString before = Grid.Cells(realCol, r);
        if (Grid.DoToggleCheck(realCol, r, false)) {
            ReportCellChange(Grid, realCol, r, before);
            if (Grid.ShowModified.Enabled)
                Grid.SetRowModified(r, true);
            bool state = false;
            Grid.GetCheckBoxState(realCol, Grid.DisplToRealRow(r), state);
            Grid.CheckBoxClick(realCol, r, state);
        }
    } else if (key == VK_SPACE && g->CellType == ctRadio && (canAct || Grid.ControlLook.RadioAlwaysActive)) {
        Grid.SelectNextRadio(realCol, r, false);
        int idx = -1;
        Grid.GetRadioIdx(realCol, r, idx);
        if (OnRadioClick)
            OnRadioClick(&Grid, realCol, r, idx);
    } else if (key == VK_SPACE && g->CellType == ctRadioButton && (canAct || Grid.ControlLook.RadioAlwaysActive)) {
        Grid.SetRadioButtonColumnIndex(realCol, r);
        if (Grid.OnRadioButtonClick)
            Grid.OnRadioButtonClick(&Grid, realCol, r, 0);
    } else if (g->CellType == ctButton && canAct) {
        Grid.ButtonClick(realCol, r);
    }
    Grid.RepaintCell(c, r);
}

bool TGridInputHandler::KeyPress(QChar& key)
{
    const TShiftState shift = FShift;
    // Ctrl with a letter types its control character.
    if ((shift & ssCtrl) && !(shift & ssAlt) && key.unicode() < 128 && key.isLetter())
        key = QChar(key.toUpper().unicode() & 0x1F);
    const int row = Grid.Row(), col = Grid.Col(), realCol = Grid.RealCol();
    const ushort ch = key.unicode();
    if (HasFormControl(Grid.Cells(realCol, row))) {
        key = QChar();
        return true;
    }
    // The keypad's decimal key types the locale's separator when asked to.
    if (key == QLatin1Char('.') && std::exchange(FKeypadDecimal, false) && Controller.ExcelStyleDecimalSeparator)
        key = QLocale().decimalPoint().at(0);
    if (Grid.MouseActions.EditOnDblClickOnly() && IsEditableForced(realCol, row))
        SetEditing(true);
    if (Grid.Navigation.AllowClipboardShortCuts && (shift & ssCtrl) && (ch == 3 || ch == 22 || ch == 24)) {
        key = QChar();
        return true;
    }
    // With range selection and editing, any character but Tab and Escape starts editing the cell.
    if (Grid.MouseActions.RangeSelectAndEdit && !(shift & ssCtrl) && ch != VK_TAB && ch != VK_ESCAPE &&
        !CheckOrButtonAt(Grid, col, row) && !Controller.EditMode() && IsEditableForced(realCol, row)) {
        QChar k = key;
        if (Grid.OnKeyPress)
            Grid.OnKeyPress(k);
        key = QChar();
        // A key the application vetoed opens nothing here either.
        if (k.isNull())
            return true;
        SetEditing(true);
        ShowEditor(k);
        return true;
    }
    if (EditingOn() && (ch == VK_BACK || ch >= 32) && ch != VK_TAB) {
        if (ch <= 255) {
            QChar k = key;
            if (Grid.OnKeyPress)
                Grid.OnKeyPress(k);
            // A key the application vetoed opens nothing.
            if (k.isNull()) {
                key = QChar();
                return true;
            }
            key = k;
        }
        if (!CheckOrButtonAt(Grid, col, row) && IsEditable(realCol, row)) {
            if (!Controller.EditMode())
                ShowEditor(key);
            else
                TypeIntoTextEditor(Controller, key);
        }
        key = QChar();
        return true;
    }
    GenericKeyPress(key);
    return true;
}

void TGridInputHandler::GenericKeyPress(QChar& key)
{
    const int row = Grid.Row(), col = Grid.Col(), realCol = Grid.RealCol();
    auto fire = [&] {
        if (Grid.OnKeyPress)
            Grid.OnKeyPress(key);
    };
    const ushort ch = key.unicode();
    if (ch == VK_ESCAPE) {
        if (EditingOn() && Controller.EditMode())
            Controller.RestoreCellCache();
        fire();
        return;
    }
    if (ch == VK_RETURN) {
        const bool editable = IsEditable(realCol, row);
        if (!editable && !Grid.Navigation.AdvanceOnEnter) {
            fire();
            key = QChar();
            return;
        }
        const bool checkCell = CheckOrButtonAt(Grid, col, row);
        if (!Grid.Focused() || checkCell) {
            Controller.AdvanceEdit(col, row, false, false, true, false, Controller.EditMode());
            if (!Grid.Navigation.AdvanceAutoEdit || checkCell) {
                fire();
                if (checkCell && Grid.Navigation.AdvanceOnEnter)
                    ShowEditor();
                key = QChar();
                return;
            }
        }
    }
    if (!EditingOn() && Grid.Navigation.AutoGotoWhenSorted && (ch == VK_BACK || ch >= 32))
        IncrementalSearch(key);
    fire();
    if (key.unicode() == VK_RETURN && !(Grid.Options & goAlwaysShowEditor)) {
        if (Controller.EditMode())
            Controller.HideInplaceEdit();
        else if (EditingOn() && IsEditable(realCol, row) && !CheckOrButtonAt(Grid, col, row))
            ShowEditor();
        key = QChar();
    }
}

// Typing with editing off goes to the first row whose text in the sort column starts with what
// was typed.
void TGridInputHandler::IncrementalSearch(QChar key)
{
    // The grid's timer empties the buffer after a pause.
    QString& buffer = Grid.IncrementalSearchText;
    if (Grid.Navigation.AutoGotoIncremental) {
        if (key.unicode() == VK_BACK)
            buffer.chop(1);
        else
            buffer += key;
        Grid.IncrementalSearchAge = 0;
    } else {
        buffer = QString(key);
    }
    const QString wanted = QLocale().toUpper(buffer);
    TGridDataOps* ops = Grid.DataOps();
    const int found = ops ? ops->Search(wanted) : -1;
    if (found < 0) {
        buffer.clear();
        return;
    }
    Grid.MoveColRow(Grid.Col(), found);
}

bool TGridInputHandler::KeyUp(int& key, TShiftState shift)
{
    FShift = shift;
    const bool arrow = key >= VK_LEFT && key <= VK_DOWN;
    if (arrow || key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_INSERT || key == VK_DELETE)
        Grid.IncrementalSearchText.clear();
    if (Grid.Navigation.AlwaysEdit && (arrow || (key == VK_TAB && (Grid.Options & goTabs))) &&
        !CheckOrButtonAt(Grid, Grid.Col(), Grid.Row()) && !Controller.EditMode() &&
        IsEditable(Grid.RealCol(), Grid.Row()))
        ShowEditor();
    // A move by Tab or an arrow that the key-down did not report yet is reported now.
    if ((arrow || key == VK_TAB) && !(Grid.Selection() == FKeyDownSelection))
        ReportSelectionChange();
    if (Grid.MouseActions.DisjunctCellSelect() && !EditingOn())
        DisjunctKeyUp(key, shift);
    return false;
}

// Cells picked one by one from the keyboard: Shift with a move swaps the cells of the old range
// for those of the new one, Space picks the current cell (Ctrl toggles it) and the rest of a range.
void TGridInputHandler::DisjunctKeyUp(int key, TShiftState shift)
{
    auto ordered = [](const TGridRect& s) {
        return TGridRect{std::min(s.Left, s.Right), std::min(s.Top, s.Bottom), std::max(s.Left, s.Right),
                         std::max(s.Top, s.Bottom)};
    };
    const TGridRect before = ordered(FKeyDownSelection), now = ordered(Grid.Selection());
    const int col = Grid.Col(), row = Grid.Row();
    auto addRange = [&](const TGridRect& s) {
        for (int r = s.Top; r <= s.Bottom; ++r)
            for (int c = s.Left; c <= s.Right; ++c)
                if (c != col || r != row)
                    FDisjunct.Add(c, r);
    };
    if (shift & ssShift) {
        // Shift pressed or released alone moves nothing: the picked cells stay as they are.
        const bool moved = before.Left != now.Left || before.Top != now.Top || before.Right != now.Right ||
                           before.Bottom != now.Bottom;
        if (!moved)
            return;
        for (int r = before.Top; r <= before.Bottom; ++r)
            for (int c = before.Left; c <= before.Right; ++c)
                FDisjunct.Remove(c, r);
        addRange(now);
        Grid.Invalidate();
        return;
    }
    if (key != VK_SPACE || col < Grid.FixedCols() || row < Grid.FixedRows() || Grid.IsFixed(col, row))
        return;
    bool canSelect = true;
    if (Controller.OnSelectCell)
        Controller.OnSelectCell(&Grid, col, row, canSelect);
    if (!canSelect)
        return;
    if (shift & ssCtrl) {
        if (!FDisjunct.Remove(col, row))
            FDisjunct.Add(col, row);
    } else {
        FDisjunct.Clear();
        FDisjunct.Add(col, row);
    }
    addRange(now);
    Grid.Invalidate();
}

// Mouse

bool TGridInputHandler::ClickCheckBox(int c, int r, int x, int y, TShiftState shift)
{
    const int realCol = Grid.DisplToRealCol(c);
    TCellGraphic* g = Grid.GetCellGraphic(realCol, r);
    if (!g || !(IsCheckKindButRow(g->CellType) || g->CellType == ctRadioButton))
        return false;
    bool canAct = EditingOn() || Grid.MouseActions.RangeSelectAndEdit;
    Grid.IsCellEditable(realCol, r, canAct);
    if (!canAct && !Grid.ControlLook.CheckAlwaysActive)
        return false;
    if (!Grid.IsInCheckBox(realCol, r, x, y))
        return false;
    Controller.HideInplaceEdit();
    Grid.SetFocus();
    bool state = false;
    if (g->CellType == ctRadioButton) {
        Grid.SetRadioButtonColumnIndex(realCol, r);
        if (Grid.OnRadioButtonClick)
            Grid.OnRadioButtonClick(&Grid, realCol, r, 0);
        state = true;
    } else {
        const QString before = Grid.Cells(realCol, r);
        if (!Grid.DoToggleCheck(realCol, r, false))
            return true;
        ReportCellChange(Grid, realCol, r, before);
        Grid.GetCheckBoxState(realCol, Grid.DisplToRealRow(r), state);
    }
    if (Grid.ShowModified.Enabled)
        Grid.SetRowModified(r, true);
    if (!Grid.Navigation.AlwaysEdit && c >= Grid.FixedCols() && r >= Grid.FixedRows())
        Grid.MoveColRow(c, r);
    if (g->CellType != ctRadioButton)
        Grid.CheckBoxClick(c, r, state);
    if (Grid.OnMouseDown)
        Grid.OnMouseDown(platform::mbLeft, shift, x, y);
    if (Grid.OnClick)
        Grid.OnClick(&Grid);
    return true;
}

bool TGridInputHandler::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    auto base = [&] { Grid.DefaultMouseDown(button, shift, x, y); };
    FLastPress = QPoint(x, y);
    if (FPanning) {
        StopPan();
        if (button == platform::mbMiddle)
            return true;
    } else if (button == platform::mbMiddle && Grid.IntelliPan != ipNone && LastDataRow() >= Grid.FixedRows()) {
        StartPan(x, y);
        return true;
    }
    // The second press of a double click is the double click itself.
    if (shift & platform::ssDouble) {
        base();
        // It lands on a cell as a press does, whether or not a plain press came before it.
        const TGridCoord at = Grid.MouseToCell(x, y);
        if (button == platform::mbLeft && at.X >= Grid.FixedCols() && at.Y >= Grid.FixedRows() &&
            (at.X != Grid.Col() || at.Y != Grid.Row()) && !Grid.IsFixed(at.X, at.Y))
            Grid.MoveColRow(at.X, at.Y);
        return true;
    }
    const TGridCoord cell = Grid.MouseToCell(x, y);
    int c = cell.X, r = cell.Y;
    if (button == platform::mbRight) {
        base();
        if (Grid.MouseActions.SelectOnRightClick && c >= Grid.FixedCols() && r >= Grid.FixedRows() &&
            !Grid.IsFixed(c, r) && !CheckOrButtonAt(Grid, c, r) && !SelectedCells(c, r)) {
            const TPoint b = Grid.BaseCell(c, r);
            Grid.MoveColRow(b.X, b.Y);
        }
        if (c >= 0 && r >= 0 && Grid.OnRightClickCell)
            Grid.OnRightClickCell(&Grid, r, c);
        if (c >= 0 && r >= 0)
            FixedEditByMouse(button, c, r, x, y);
        return true;
    }
    if (button != platform::mbLeft) {
        base();
        return true;
    }
    // The resize handle at the selection's corner: the selection is copied, and pasted again over
    // what the drag makes of it.
    FMouseSelectMode = ModeAt(x, y);
    FSizeCol = (Grid.Options & goColSizing) ? Grid.ColumnSizingEdgeAt(x, y) : -1;
    FSizeRow = FSizeCol < 0 && (Grid.Options & goRowSizing) ? Grid.RowSizingEdgeAt(x, y) : -1;
    if (FMouseSelectMode == msResize) {
        FDropSelection = Grid.Selection();
        CopySelectionToClipboard(Grid, false);
        FMouseResize = true;
        Grid.SetFocus();
        return true;
    }
    if (Grid.OnCanClickCell && c >= 0 && r >= 0) {
        bool allow = true;
        Grid.OnCanClickCell(&Grid, r, c, allow);
        if (!allow)
            return true;
    }
    FPressPos = QPoint(x, y);
    FPressCell = {c, r};
    Controller.Specials().SetSpinClick(false, false);
    if (c >= 0 && r >= 0 && Grid.MouseActions.DisjunctCellSelect() && !(shift & ssCtrl) && c >= Grid.FixedCols() &&
        r >= Grid.FixedRows() && FDisjunct.Count() > 0) {
        FDisjunct.Clear();
        Grid.Invalidate();
    }
    Grid.IncrementalSearchText.clear();
    FPushedExpand = {-1, -1};
    if (c < 0 || r < 0) {
        Controller.HideInplaceEdit();
        if (!Grid.FixedRowAlways)
            base();
        return true;
    }
    // A press on the border of a fixed column (row) that the mouse armed sizes it.
    ArmFixedSizing(x, y);
    if (FSizeFixed || FSizeFixedR) {
        Controller.HideInplaceEdit();
        if (FSizeFixed)
            FSizingFixedCol = FixedColBorderAt(x);
        else
            FSizingFixedRow = FixedRowBorderAt(y);
        if (!FSizingLine) {
            FSizingLine = std::make_unique<QWidget>(Grid.Client());
            FSizingLine->setAttribute(Qt::WA_TransparentForMouseEvents);
            FSizingLine->setAutoFillBackground(true);
            QPalette palette = FSizingLine->palette();
            palette.setColor(QPalette::Window, Qt::black);
            FSizingLine->setPalette(palette);
        }
        Grid.SetMouseCapture(true);
        TrackFixedSizing(x, y);
        FSizingLine->show();
        FSizingLine->raise();
        return true;
    }
    const TPoint b = Grid.BaseCell(c, r);
    c = b.X;
    r = b.Y;
    const bool fixedArea = c < Grid.FixedCols() || r < Grid.FixedRows();
    const bool fixedCell = fixedArea || Grid.IsFixed(c, r);
    if (fixedCell)
        Controller.HideInplaceEdit();
    // A press on the spin indicator drawn at a spin cell's right edge: the editor this press opens
    // starts one step up or down.
    if (!fixedCell && Grid.ControlLook.SpinButtonsAlwaysVisible && Grid.HasSpinEdit(Grid.DisplToRealCol(c), r)) {
        const TRect cr = Grid.CellRect(c, r);
        if (x >= cr.Right - 18 && x < cr.Right) {
            const bool up = y < cr.Top + (cr.Bottom - cr.Top) / 2;
            Controller.Specials().SetSpinClick(up, !up);
        }
    }
    if (c == 0 && ToggleNodeAt(c, r, x, shift))
        return true;
    if (!fixedArea && ClickRadioGroup(c, r, x, y))
        return true;
    if (!fixedArea && Grid.HasExpand(Grid.DisplToRealCol(c), r)) {
        const TRect er = Grid.GetExpandRect(Grid.DisplToRealCol(c), r);
        if (x >= er.Left && x < er.Right && y >= er.Top && y < er.Bottom) {
            Controller.HideInplaceEdit();
            if (!fixedCell)
                Grid.MoveColRow(c, r);
            FPushedExpand = {c, r};
            if (Grid.OnClickCell)
                Grid.OnClickCell(&Grid, r, c);
            return true;
        }
    }
    if (!fixedArea && ClickAnchor(c, r, x, y))
        return true;
    if (!fixedArea && ClickCheckBox(c, r, x, y, shift))
        return true;
    if (CheckOrButtonAt(Grid, c, r) && Grid.GetCellType(Grid.DisplToRealCol(c), r) == ctButton) {
        Controller.HideInplaceEdit();
        if (!fixedCell)
            Grid.MoveColRow(c, r);
        FPushedButton = {c, r};
        if (Grid.OnClickCell)
            Grid.OnClickCell(&Grid, r, c);
        return true;
    }
    if (ArmDrag(c, r, x, shift))
        return true;
    if (!fixedArea && fixedCell) {
        // A fixed cell inside the data area: reported, never selected.
        if (Grid.OnClickCell)
            Grid.OnClickCell(&Grid, r, c);
        return true;
    }
    if (fixedArea && (ClickSelectionArea(c, r, shift) || PopupFixedDropDown(c, r, x) || StartMove(c, r, x, y)))
        return true;
    const bool onCurrent = !fixedArea && c == Grid.Col() && r == Grid.Row() && Grid.Selection().Left == c &&
                           Grid.Selection().Right == c && Grid.Selection().Top == r && Grid.Selection().Bottom == r;
    const bool editable = !fixedArea && IsEditable(Grid.DisplToRealCol(c), r);
    if (!fixedArea && editable && Grid.MouseActions.DirectEdit)
        Controller.HideInplaceEdit();
    const bool alwaysEdit = std::exchange(Grid.Navigation.AlwaysEdit, false);
    base();
    Grid.Navigation.AlwaysEdit = alwaysEdit;
    // The grid shows the editor on a press on the cell that was already current.
    if (onCurrent && EditingOn() && IsEditable(Grid.DisplToRealCol(c), r) && !Controller.EditMode() &&
        !Grid.MouseActions.EditOnDblClickOnly()) {
        // The caret goes where the press was.
        Controller.NormalEdit()->SetLButPress(QPoint(x, y));
        ShowEditor();
    }
    const bool onBorder = r == 0 && (Grid.Options & goColSizing) && Grid.ColumnSizingEdgeAt(x, y) >= 0;
    if (!onBorder && Grid.OnClickCell)
        Grid.OnClickCell(&Grid, r, c);
    // Escape and validation compare with the text the cell had when it was pressed.
    if (Controller.OnCellValidate && !Controller.EditMode())
        Controller.StoreOldCell(Grid.Col(), Grid.Row());
    SyncOtherGrid();
    if (!fixedArea && Grid.MouseActions.DirectEdit && IsEditable(Grid.DisplToRealCol(c), r) && Grid.Col() == c &&
        Grid.Row() == r && !Controller.EditMode()) {
        Controller.StoreOldCell(c, r);
        ShowEditor();
    }
    if (fixedArea)
        FixedEditByMouse(button, c, r, x, y);
    return true;
}

// A press on a node's glyph in column 0 opens or closes the node; on the header it opens or closes
// them all, by turns.
bool TGridInputHandler::ToggleNodeAt(int c, int r, int x, TShiftState shift)
{
    if (!Grid.HasNodes())
        return false;
    if (r < Grid.FixedRows()) {
        if (!Grid.MouseActions.NodeAllExpandContract || r != 0)
            return false;
        bool anyOpen = false;
        for (int row = Grid.FixedRows(); row < Grid.RowCount() && !anyOpen; ++row)
            anyOpen = Grid.IsNode(row) && !Grid.GetNodeState(row);
        if (anyOpen)
            Grid.ContractAll();
        else
            Grid.ExpandAll();
        return true;
    }
    if (!Grid.IsNode(r) || !Grid.InNodeGlyph(r, x))
        return false;
    if (Grid.OnMouseDown)
        Grid.OnMouseDown(platform::mbLeft, shift, x, 0);
    if (Grid.OnClickCell)
        Grid.OnClickCell(&Grid, r, c);
    const int realRow = Grid.DisplToRealRow(r);
    const bool contracted = Grid.GetNodeState(r);
    bool allow = true;
    if (const auto& before = contracted ? OnBeforeExpandNode : OnBeforeContractNode)
        before(&Grid, r, realRow, allow);
    if (allow) {
        Controller.HideInplaceEdit();
        if (contracted)
            Grid.ExpandNode(realRow);
        else
            Grid.ContractNode(realRow);
        if (const auto& after = contracted ? OnExpandNode : OnContractNode)
            after(&Grid, r, realRow);
    }
    if (Grid.MouseActions.MoveRowOnNodeClick && r < Grid.RowCount())
        Grid.MoveColRow(std::max(Grid.Col(), FirstDataCol()), r);
    return true;
}

// A press on a radio group picks the item under it.
bool TGridInputHandler::ClickRadioGroup(int c, int r, int x, int y)
{
    const int realCol = Grid.DisplToRealCol(c);
    if (!Grid.IsRadio(realCol, r))
        return false;
    // As for check boxes: the grid switches editing off on control cells, so the cell's own
    // can-edit answer decides.
    bool canAct = EditingOn() || Grid.MouseActions.RangeSelectAndEdit;
    Grid.IsCellEditable(realCol, r, canAct);
    if (!canAct && !Grid.ControlLook.RadioAlwaysActive)
        return false;
    Controller.HideInplaceEdit();
    TCellGraphic* g = Grid.GetCellGraphic(realCol, r);
    const TRect rc = Grid.CellRect(c, r);
    const int dx = x - rc.Left, dy = y - rc.Top;
    const int glyph = Grid.ControlLook.ControlStyle >= 2 ? 16 : Grid.ControlLook.RadioSize;
    const QStringList items = g && g->RadioItems ? *g->RadioItems : QStringList();
    const int count = std::max<int>(int(items.size()), g ? g->CellAngle : 0);
    const QFontMetrics fm(Grid.font());
    int end = 2, chosen = -1;
    for (int i = 0; i < count; ++i) {
        const QString caption = i < items.size() ? items[i] : QString();
        const int start = end;
        end += g && g->CellBoolean ? fm.horizontalAdvance(caption) + glyph : std::max(glyph, fm.height());
        const int at = g && g->CellBoolean ? dx : dy;
        if (at > start && at < end) {
            chosen = i;
            break;
        }
    }
    if (chosen < 0)
        return true;
    if (!Grid.IsFixed(c, r))
        Grid.MoveColRow(c, r);
    if (g->CellIndex == -1 && chosen < items.size())
        Grid.SetCellEx(realCol, r, items[chosen]);
    Grid.SetRadioIdx(realCol, r, chosen);
    if (OnRadioClick)
        OnRadioClick(&Grid, c, r, chosen);
    Grid.SetFocus();
    return true;
}

QString TGridInputHandler::AnchorAt(int c, int r, int x, int y, bool& html)
{
    const int realCol = Grid.DisplToRealCol(c);
    const QString text = Grid.Cells(realCol, r);
    html = Grid.EnableHTML && IsCellHtml(text);
    if (!html)
        return Grid.URLShow && IsURL(text) ? text.trimmed() : QString();
    // The anchor under the point as the renderer lays the cell out.
    QString anchor, title;
    Grid.HTMLAnchorAt(c, r, x, y, anchor, title);
    return anchor;
}

// Links: a cell whose text is a URL (with URLShow), or an anchor of a mark-up text under the press.
bool TGridInputHandler::ClickAnchor(int c, int r, int x, int y)
{
    bool html = false;
    const QString anchor = AnchorAt(c, r, x, y, html);
    if (anchor.isEmpty()) {
        if (!html || !HasFormControl(Grid.Cells(Grid.DisplToRealCol(c), r)))
            return false;
        if (FCellForms->MouseDown(c, r, x, y))
            return true;
        if (Grid.OnClickCell)
            Grid.OnClickCell(&Grid, r, c);
        Controller.HideInplaceEdit();
        Grid.MoveColRow(c, r);
        return true;
    }
    bool autoHandle = true;
    if (OnAnchorClick)
        OnAnchorClick(&Grid, r, c, anchor, autoHandle);
    if (autoHandle)
        FollowAnchor(c, r, anchor);
    return true;
}

void TGridInputHandler::FollowAnchor(int, int, const QString& anchor)
{
    if (anchor.toUpper().startsWith(QStringLiteral("CELL://"))) {
        int col = -1, row = -1;
        if (ParseRCCellRef(anchor.mid(7), col, row) && col >= Grid.FixedCols() && col < Grid.ColCount() &&
            row >= Grid.FixedRows() && row < Grid.RowCount()) {
            Grid.MoveColRow(col, row);
        }
        return;
    }
    // Only web and mail links are opened, and only after the user agreed.
    QString target = anchor.trimmed();
    if (target.startsWith(QStringLiteral("www."), Qt::CaseInsensitive))
        target.prepend(QStringLiteral("http://"));
    const QUrl url(target, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https") &&
                           scheme != QLatin1String("mailto")))
        return;
    const int answer = platform::MessageDlg(QStringLiteral("Open the link %1?").arg(target),
                                            platform::TMsgDlgType::mtConfirmation, platform::TMsgDlgButtons::mbYesNo);
    if (answer == platform::mrYes && OpenLink)
        OpenLink(target);
}

bool TGridInputHandler::MouseMove(TShiftState shift, int x, int y)
{
    FMouse = QPoint(x, y);
    if (FSizingFixedCol >= 0 || FSizingFixedRow >= 0) {
        if (shift & platform::ssLeft) {
            TrackFixedSizing(x, y);
            return true;
        }
        EndFixedSizing(x, y);
    }
    if (!(shift & platform::ssLeft))
        ArmFixedSizing(x, y);
    if (FMoving != mkNone) {
        if (shift & platform::ssLeft) {
            TrackMove(x, y);
            return true;
        }
        EndMove();
    }
    if (FSelectionClick && (shift & platform::ssLeft)) {
        if (std::abs(x - FPressPos.x()) <= 3 && std::abs(y - FPressPos.y()) <= 3)
            return true;
        FSelectionClick = false;
        const TGridCoord cell = std::exchange(FDragCell, TGridCoord{-1, -1});
        FPressCell = {-1, -1};
        if (!Grid.SizingColumn() && !OnResizeHandle(FPressPos.x(), FPressPos.y()) &&
            FDragDrop->StartDrag(cell.X, cell.Y))
            return true;
        // A refused drag selects a range from the pressed cell instead.
        if (cell.X >= 0 && cell.Y >= Grid.FixedRows()) {
            Grid.MoveColRow(cell.X, cell.Y);
            Grid.BeginRangeSelect();
        }
        return true;
    }
    if ((shift & platform::ssLeft) && (FMouseResize || FMouseSelectStart >= 0))
        DragSelection(x, y);
    else if (!(shift & platform::ssLeft))
        FMouseSelectMode = ModeAt(x, y);
    TrackAnchor(x, y);
    if (Grid.SizingColumn() || Grid.SizingRow()) {
        // The grid sizes first, so the events and the hint tell the size the cell now has.
        Grid.DefaultMouseMove(shift, x, y);
        TrackSizing(x, y);
        return true;
    }
    return false;
}

void TGridInputHandler::TrackSizing(int, int)
{
    const bool col = Grid.SizingColumn();
    const int index = col ? FSizeCol : FSizeRow;
    if (index < 0 || index >= (col ? Grid.ColCount() : Grid.RowCount()))
        return;
    ReportSizing(col, index, col ? Grid.ColWidths(index) : Grid.RowHeights(index));
}

void TGridInputHandler::ReportSizing(bool col, int index, int size)
{
    if (const auto& event = col ? OnColumnSizing : OnRowSizing)
        event(&Grid, index, size);
    if (!HintShowSizing)
        return;
    if (!FSizingHint)
        FSizingHint = std::make_unique<controls::THTMLHintWindow>(&Grid);
    FSizingHint->Color = Grid.HintColor;
    // The size in bold mark-up, drawn by the mark-up hint window.
    const QString text = (col ? QStringLiteral("cw=<b>%1</b>") : QStringLiteral("rh=<b>%1</b>")).arg(size);
    const TRect cell = col ? Grid.CellRect(index, 0) : Grid.CellRect(0, index);
    const QPoint at = Grid.Client()->mapToGlobal(QPoint(Grid.MirrorX(cell.Left), cell.Top));
    const QRect room = FSizingHint->CalcHintRect(200, text);
    FSizingHint->ActivateHint(room.translated(at), text);
}

// The fixed column whose right border lies less than 3 pixels from x (grid coordinates), or -1.
int TGridInputHandler::FixedColBorderAt(int x) const
{
    for (int c = 0; c < Grid.FixedCols() && c < Grid.ColCount(); ++c)
        if (std::abs(x - Grid.CellRect(c, 0).Right) < 3)
            return c;
    return -1;
}

int TGridInputHandler::FixedRowBorderAt(int y) const
{
    for (int r = 0; r < Grid.FixedRows() && r < Grid.RowCount(); ++r)
        if (std::abs(y - Grid.CellRect(0, r).Bottom) < 3)
            return r;
    return -1;
}

void TGridInputHandler::ArmFixedSizing(int x, int y)
{
    FSizeFixed = Grid.MouseActions.SizeFixedCol && FixedColBorderAt(x) >= 0;
    FSizeFixedR = !FSizeFixed && Grid.MouseActions.SizeFixedRow && FixedRowBorderAt(y) >= 0;
}

// The line follows the mouse; the column (row) is told the size it would take.
void TGridInputHandler::TrackFixedSizing(int x, int y)
{
    const bool col = FSizingFixedCol >= 0;
    const int index = col ? FSizingFixedCol : FSizingFixedRow;
    if (index < 0)
        return;
    QWidget* client = Grid.Client();
    if (col) {
        const int lineX = std::clamp(Grid.MirrorX(x), 0, std::max(0, client->width() - 1));
        FSizingLine->setGeometry(lineX, 0, 1, client->height());
        ReportSizing(true, index, std::max(0, x - Grid.CellRect(index, 0).Left));
    } else {
        const int lineY = std::clamp(y, 0, std::max(0, client->height() - 1));
        FSizingLine->setGeometry(0, lineY, client->width(), 1);
        ReportSizing(false, index, std::max(0, y - Grid.CellRect(0, index).Top));
    }
}

// The release gives the column (row) the size up to the mouse; OnUpdateColumnSize may change a
// column's width once more.
void TGridInputHandler::EndFixedSizing(int x, int y)
{
    const int col = std::exchange(FSizingFixedCol, -1), row = std::exchange(FSizingFixedRow, -1);
    Grid.SetMouseCapture(false);
    if (FSizingLine)
        FSizingLine->hide();
    if (FSizingHint)
        FSizingHint->ReleaseHint();
    if (col >= 0 && col < Grid.ColCount()) {
        const int width = std::max(0, x - Grid.CellRect(col, 0).Left);
        Grid.SetColWidths(col, width);
        if (Grid.OnEndColumnSize)
            Grid.OnEndColumnSize(&Grid, col);
        int update = width;
        if (Grid.OnUpdateColumnSize)
            Grid.OnUpdateColumnSize(&Grid, col, update);
        if (update != width)
            Grid.SetColWidths(col, std::max(0, update));
    } else if (row >= 0 && row < Grid.RowCount()) {
        Grid.SetRowHeights(row, std::max(0, y - Grid.CellRect(0, row).Top));
        if (Grid.OnEndRowSize)
            Grid.OnEndRowSize(&Grid, row);
    }
    Grid.Invalidate();
}

// Links under the mouse: entering one is told, and leaving the links of a mark-up text for its
// plain part; a cell without mark-up changes nothing.
void TGridInputHandler::TrackAnchor(int x, int y)
{
    if (!OnAnchorEnter && !OnAnchorExit && FAnchor.isEmpty())
        return;
    const TGridCoord cell = Grid.MouseToCell(x, y);
    if (cell.X < 0 || cell.Y < 0)
        return;
    bool html = false;
    const QString anchor = AnchorAt(cell.X, cell.Y, x, y, html);
    if (!html)
        return;
    if (!anchor.isEmpty()) {
        if (anchor != FAnchor) {
            FAnchor = anchor;
            if (OnAnchorEnter)
                OnAnchorEnter(&Grid, cell.Y, cell.X, anchor);
        }
    } else if (!FAnchor.isEmpty()) {
        const QString left = std::exchange(FAnchor, QString());
        if (OnAnchorExit)
            OnAnchorExit(&Grid, cell.Y, cell.X, left);
    }
}

// A press on the selection (or on a header with column dragging) arms a drag; the mouse moving
// starts it, and the press itself leaves the selection as it is.
bool TGridInputHandler::ArmDrag(int c, int r, int x, TShiftState shift)
{
    const TDragDropSettings& dd = FDragDrop->Settings;
    if (!dd.OleDropSource || Controller.EditMode() || c < Grid.FixedCols())
        return false;
    const bool header = r < Grid.FixedRows();
    if (header && (Grid.MouseActions.ColSelect || Grid.MouseActions.AllSelect || !dd.OleColumnDragDrop))
        return false;
    const TGridRect sel = Grid.Selection();
    const bool selected = c >= std::min(sel.Left, sel.Right) && c <= std::max(sel.Left, sel.Right) &&
                          r >= std::min(sel.Top, sel.Bottom) && r <= std::max(sel.Top, sel.Bottom);
    if (!header && !selected)
        return false;
    const int realCol = Grid.DisplToRealCol(c);
    if (Grid.HasButton(realCol, r) || Grid.HasCheckBox(realCol, r))
        return false;
    if (Grid.Options & goColSizing) {
        const TRect cr = Grid.CellRect(c, r);
        if (x <= cr.Left + 3 || x >= cr.Right - 3)
            return false;
    }
    Grid.SetFocus();
    if (Grid.OnMouseDown)
        Grid.OnMouseDown(platform::mbLeft, shift, x, FPressPos.y());
    FSelectionClick = true;
    FDragCell = {c, r};
    if (Grid.OnClickCell)
        Grid.OnClickCell(&Grid, r, c);
    return true;
}

// Row and column moving: a press on a header (fixed column) cell with the moving option.
bool TGridInputHandler::StartMove(int c, int r, int x, int y)
{
    const bool colMove = (Grid.Options & goColMoving) && r < Grid.FixedRows() && c >= Grid.FixedCols() &&
                         !(Grid.ColumnSizingEdgeAt(x, y) >= 0 && (Grid.Options & goColSizing));
    const bool rowMove = !colMove && (Grid.Options & goRowMoving) && c < Grid.FixedCols() && r >= Grid.FixedRows() &&
                         r <= LastDataRow() && !(Grid.RowSizingEdgeAt(x, y) >= 0 && (Grid.Options & goRowSizing));
    if (!colMove && !rowMove)
        return false;
    Controller.HideInplaceEdit();
    bool allow = true;
    if (const auto& ask = colMove ? OnColumnMove : OnRowMove)
        ask(&Grid, colMove ? c : r, allow);
    if (!allow)
        return true;
    FMoving = colMove ? mkColumn : mkRow;
    FMoveCell = FMoveTo = colMove ? c : r;
    FMoveAllowed = false;
    FMoveShown = false;
    Grid.SetMouseCapture(true);
    return true;
}

void TGridInputHandler::TrackMove(int x, int y)
{
    if (!Grid.EnhRowColMove)
        return;
    if (!FMoveShown && std::abs(x - FPressPos.x()) <= 3 && std::abs(y - FPressPos.y()) <= 3)
        return;
    const bool col = FMoving == mkColumn;
    const bool showCells = FDragDrop->Settings.ShowCells;
    if (!FMoveShown) {
        // The copy is taken once, of the cells as they look before the move marks them.
        if (showCells) {
            FFloating = std::make_unique<TFloatingCells>(&Grid);
            const TGridRect cells = col ? TGridRect{FMoveCell, 0, FMoveCell, Grid.RowCount() - 1}
                                        : TGridRect{0, FMoveCell, Grid.ColCount() - 1, FMoveCell};
            if (!FFloating->TakeCells(Grid, cells))
                FFloating.reset();
        }
        FMoveShown = true;
        THeaderDragButton& button = *Grid.HeaderDragButton;
        const int realCol = Grid.DisplToRealCol(col ? FMoveCell : 0);
        button.SetCaption(Grid.Cells(realCol, col ? 0 : FMoveCell));
        button.setEnabled(true);
        FPrevCursor = Grid.Cursor();
        Grid.RepaintCell(col ? FMoveCell : 0, col ? 0 : FMoveCell);
    }
    // Auto-scroll over the fixed part and past the far edge.
    if (col) {
        if (x < Grid.RangeRect({0, 0, std::max(0, Grid.FixedCols() - 1), 0}).Right && Grid.FixedCols() > 0 &&
            Grid.LeftCol() > Grid.FixedCols())
            Grid.SetLeftCol(Grid.LeftCol() - 1);
        else if (x >= Grid.ClientWidth() && Grid.LeftCol() < Grid.MaxLeftCol())
            Grid.SetLeftCol(Grid.LeftCol() + 1);
    } else {
        if (y < Grid.RangeRect({0, 0, 0, std::max(0, Grid.FixedRows() - 1)}).Bottom && Grid.FixedRows() > 0 &&
            Grid.TopRow() > Grid.FixedRows())
            Grid.SetTopRow(Grid.TopRow() - 1);
        else if (y >= Grid.ClientHeight() && Grid.TopRow() < Grid.MaxTopRow())
            Grid.SetTopRow(Grid.TopRow() + 1);
    }
    const TGridCoord cell = Grid.MouseToCell(std::clamp(x, 0, Grid.ClientWidth() - 1), std::clamp(y, 0, Grid.ClientHeight() - 1));
    const int target = col ? cell.X : cell.Y;
    std::array<bool, 4> placed{};  // arrows staying up are moved, not hidden and shown again
    const bool valid = col ? target >= Grid.FixedCols() && target < Grid.ColCount()
                           : target >= Grid.FixedRows() && target <= LastDataRow();
    FMoveAllowed = valid;
    if (valid) {
        FMoveTo = target;
        bool allow = true;
        if (const auto& moving = col ? OnColumnMoving : OnRowMoving)
            moving(&Grid, target, allow);
        FMoveAllowed = allow;
        // The markers stand at the edge the moved row or column would take.
        const TRect cr = col ? Grid.CellRect(target, 0) : Grid.CellRect(0, target);
        const bool before = target < FMoveCell;
        QWidget* client = Grid.Client();
        auto place = [&](int direction, int px, int py) {
            Grid.ArrowWindows[size_t(direction)]->ShowAt(client->mapToGlobal(QPoint(Grid.MirrorX(px), py)));
            placed[size_t(direction)] = true;
        };
        if (col) {
            const int edge = before ? cr.Left : cr.Right;
            place(1, edge - 4, cr.Top - 9);
            place(0, edge - 4, cr.Bottom);
        } else {
            const int edge = before ? cr.Top : cr.Bottom;
            place(3, cr.Left - 9, edge - 4);
            place(2, Grid.RangeRect({Grid.ColCount() - 1, 0, Grid.ColCount() - 1, 0}).Right, edge - 4);
        }
    }
    for (size_t d = 0; d < placed.size(); ++d)
        if (!placed[d])
            Grid.ArrowWindows[d]->hide();
    // The button takes the moved column's width and the height of the row under the mouse (a row
    // move: the row's height and the width of the column under the mouse), and keeps the press
    // point's offset within the pressed cell.
    const TRect from = col ? Grid.CellRect(FMoveCell, 0) : Grid.CellRect(0, FMoveCell);
    const TRect under = Grid.CellRect(std::max(0, cell.X), std::max(0, cell.Y));
    const QSize size(std::max(1, int(col ? from.Right - from.Left : under.Right - under.Left)),
                     std::max(1, int(col ? under.Bottom - under.Top : from.Bottom - from.Top)));
    const QPoint at = Grid.Client()->mapToGlobal(QPoint(Grid.MirrorX(x), y));
    if (showCells)
        Grid.HeaderDragButton->hide();
    else
    {
        const int fromLeft = std::min(Grid.MirrorX(from.Left), Grid.MirrorX(from.Right));
        const QPoint offset(Grid.MirrorX(FPressPos.x()) - fromLeft, FPressPos.y() - from.Top);
        Grid.HeaderDragButton->ShowAt(QRect(at - offset, size));
    }
    if (FFloating) {
        // The copy keeps the press point under the mouse.
        FFloating->Follow(at, QPoint(Grid.MirrorX(FPressPos.x()), FPressPos.y()) - FFloating->Origin());
        if (!FFloating->isVisible())
            FFloating->show();
        FFloating->raise();
    }
    Grid.SetCursor(FMoveAllowed ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
}

void TGridInputHandler::EndMove()
{
    const TMoveKind kind = std::exchange(FMoving, mkNone);
    const bool shown = std::exchange(FMoveShown, false);
    const int from = std::exchange(FMoveCell, -1), to = std::exchange(FMoveTo, -1);
    Grid.SetMouseCapture(false);
    FFloating.reset();
    Grid.HeaderDragButton->hide();
    Grid.HeaderDragButton->setEnabled(false);
    for (auto& arrow : Grid.ArrowWindows)
        arrow->hide();
    if (!shown)
        return;
    Grid.SetCursor(FPrevCursor);
    if (!FMoveAllowed || to == from) {
        Grid.Invalidate();
        return;
    }
    if (kind == mkColumn && to >= Grid.FixedCols())
        Grid.MoveColumn(from, to);
    else if (kind == mkRow && to >= Grid.FixedRows() && to <= LastDataRow())
        Grid.MoveRow(from, to);
    Grid.Invalidate();
}

void TGridInputHandler::StartPan(int x, int y)
{
    FPanning = true;
    FMouse = Grid.WheelPanPos = QPoint(x, y);
    FPrevCursor = Grid.Cursor();
    Grid.SetCursor(Qt::SizeAllCursor);
    Grid.SetMouseCapture(true);
    Grid.DrawIntelliPanGlyph();
    SchedulePanStep();
}

void TGridInputHandler::SchedulePanStep()
{
    FPanTimer.Start(10, Grid.Client(), [this] {
        PanStep();
        if (FPanning)
            SchedulePanStep();
    });
}

void TGridInputHandler::StopPan()
{
    FPanning = false;
    FPanTimer.Stop();
    Grid.SetMouseCapture(false);
    Grid.SetCursor(FPrevCursor);
    Grid.InvalidateIntelliPanGlyph();
}

void TGridInputHandler::PanStep()
{
    if (!FPanning || Grid.IntelliPan == ipNone)
        return;
    const QPoint d = FMouse - Grid.WheelPanPos;
    const int v = Grid.IntelliPan == ipHorizontal ? 0 : d.y() < -5 ? -1 : d.y() > 5 ? 1 : 0;
    const int h = Grid.IntelliPan == ipVertical ? 0 : d.x() > 5 ? 1 : d.x() < -5 ? -1 : 0;
    Qt::CursorShape shape = Qt::SizeAllCursor;
    if (h != 0 && v != 0)
        shape = h == v ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    else if (h != 0)
        shape = Qt::SizeHorCursor;
    else if (v != 0)
        shape = Qt::SizeVerCursor;
    Grid.SetCursor(shape);
    FMoveSelection = Grid.Selection();
    if (Grid.MouseActions.WheelAction() == waScroll) {
        const int firstCol = Grid.FixedCols(), firstRow = Grid.FixedRows();
        Grid.SetLeftCol(std::clamp(Grid.LeftCol() + h, firstCol, std::max(firstCol, Grid.MaxLeftCol())));
        Grid.SetTopRow(std::clamp(Grid.TopRow() + v, firstRow, std::max(firstRow, Grid.MaxTopRow())));
    } else {
        const int c = std::clamp(Grid.Col() + h, Grid.FixedCols(), std::max(Grid.FixedCols(), LastDataCol()));
        const int r = std::clamp(Grid.Row() + v, Grid.FixedRows(), std::max(Grid.FixedRows(), LastDataRow()));
        if (c != Grid.Col() || r != Grid.Row())
            Grid.MoveColRow(c, r);
    }
    Grid.DrawIntelliPanGlyph();
    ReportSelectionChange();
}

bool TGridInputHandler::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (FSizingHint && button == platform::mbLeft)
        FSizingHint->ReleaseHint();
    if (button == platform::mbLeft)
        FCellForms->MouseUp();
    if (FSizingFixedCol >= 0 || FSizingFixedRow >= 0) {
        if (button == platform::mbLeft)
            EndFixedSizing(x, y);
        return true;
    }
    if (FMoving != mkNone) {
        if (button == platform::mbLeft)
            EndMove();
        return true;
    }
    // A press that armed a drag and never moved selects the pressed cell after all.
    if (button == platform::mbLeft && std::exchange(FSelectionClick, false)) {
        const TGridCoord cell = std::exchange(FDragCell, TGridCoord{-1, -1});
        FPressCell = {-1, -1};
        if (cell.Y >= Grid.FixedRows() && cell.X >= Grid.FixedCols())
            Grid.MoveColRow(cell.X, cell.Y);
        return true;
    }
    if (button == platform::mbLeft) {
        FMouseSelectStart = -1;
        FMouseSelectMode = msNormal;
        if (std::exchange(FMouseResize, false)) {
            FPressCell = {-1, -1};
            const TGridRect now = Grid.Selection();
            if (OnSelectionResize)
                OnSelectionResize(&Grid, FDropSelection, now);
            Controller.HideInplaceEdit();
            PasteClipboardAt(Grid, std::min(now.Left, now.Right), std::min(now.Top, now.Bottom), PasteValidator());
            if (OnSelectionResized)
                OnSelectionResized(&Grid, FDropSelection, now);
            ReportSelectionChange();
            return true;
        }
    }
    if (button == platform::mbLeft)
        if (TGridDataOps* ops = Grid.DataOps(); ops && ops->FilterButtonClick(x, y)) {
            FPressCell = {-1, -1};
            return true;
        }
    const TGridCoord pressCell = std::exchange(FPressCell, TGridCoord{-1, -1});
    if (button == platform::mbLeft && FPushedExpand.X >= 0) {
        const TGridCoord pushed = std::exchange(FPushedExpand, TGridCoord{-1, -1});
        const int realCol = Grid.DisplToRealCol(pushed.X);
        const TRect er = Grid.GetExpandRect(realCol, pushed.Y);
        if (x >= er.Left && x < er.Right && y >= er.Top && y < er.Bottom) {
            const bool expanded = Grid.ToggleExpand(realCol, pushed.Y);
            Grid.ExpandClick(realCol, pushed.Y, expanded);
            if (OnExpandButtonClick)
                OnExpandButtonClick(&Grid, realCol, pushed.Y);
        }
        return true;
    }
    const TGridCoord at = Grid.MouseToCell(x, y);
    if (button == platform::mbLeft && at.X >= 0 && at.Y >= 0 && pressCell.X >= 0) {
        const TPoint b = Grid.BaseCell(at.X, at.Y);
        const int realCol = Grid.DisplToRealCol(b.X);
        const bool dataCol = b.X >= Grid.FixedCols() || Grid.SortSettings.FixedCols;
        if (dataCol && FPushedButton.X < 0) {
            if (TCellGraphic* g = Grid.GetCellGraphic(realCol, b.Y)) {
                if (IsCheckKindButRow(g->CellType) && OnCheckBoxMouseUp) {
                    bool state = false;
                    Grid.GetCheckBoxState(realCol, Grid.DisplToRealRow(b.Y), state);
                    OnCheckBoxMouseUp(&Grid, realCol, b.Y, state);
                } else if (g->CellType == ctRadio && OnRadioMouseUp) {
                    int idx = -1;
                    Grid.GetRadioIdx(realCol, b.Y, idx);
                    OnRadioMouseUp(&Grid, realCol, b.Y, idx);
                }
            }
            // Click-to-sort on the sort row: the application may refuse; the data operations sort.
            const bool nearBorder = at.Y == 0 && (Grid.Options & goColSizing) && Grid.ColumnSizingEdgeAt(x, y) >= 0;
            const bool onCheck = Grid.GetCellGraphic(realCol, b.Y) &&
                                 IsCheckKindButRow(Grid.GetCellGraphic(realCol, b.Y)->CellType);
            if (std::exchange(FDblClk, false)) {
                // an auto-sizing double click sorts nothing
            } else if (!nearBorder && at.Y == Grid.SortSettings.Row && pressCell.Y == Grid.SortSettings.Row &&
                       Grid.FixedRows() > 0 && !onCheck && Grid.SortSettings.Show && Grid.RowCount() > 2) {
                bool doSort = true;
                if (OnCanSort)
                    OnCanSort(&Grid, b.X, doSort);
                if (doSort) {
                    Controller.HideInplaceEdit();
                    if (TGridDataOps* ops = Grid.DataOps())
                        ops->ClickSort(b.X, shift);
                    if (OnClickSort)
                        OnClickSort(&Grid, b.X);
                } else {
                    Grid.RepaintCell(b.X, at.Y);
                }
            }
        }
        // Cells picked one by one: Shift adds, Ctrl toggles, a plain press starts again.
        if (Grid.MouseActions.DisjunctCellSelect() && b.X >= Grid.FixedCols() && b.Y >= Grid.FixedRows() &&
            !Grid.IsFixed(b.X, b.Y)) {
            bool canSelect = true;
            if (Controller.OnSelectCell)
                Controller.OnSelectCell(&Grid, b.X, b.Y, canSelect);
            if (canSelect) {
                if (shift & ssCtrl) {
                    if (!FDisjunct.Remove(b.X, b.Y))
                        FDisjunct.Add(b.X, b.Y);
                } else {
                    if (!(shift & ssShift))
                        FDisjunct.Clear();
                    const TGridRect s = Grid.Selection();
                    for (int rr = std::min(s.Top, s.Bottom); rr <= std::max(s.Top, s.Bottom); ++rr)
                        for (int cc = std::min(s.Left, s.Right); cc <= std::max(s.Left, s.Right); ++cc)
                            FDisjunct.Add(cc, rr);
                    FDisjunct.Add(b.X, b.Y);
                }
                Grid.Invalidate();
            }
        }
    }
    // The in-cell button clicks when released over the cell it was pressed on.
    if (button == platform::mbLeft && FPushedButton.X >= 0) {
        const TGridCoord pushed = std::exchange(FPushedButton, TGridCoord{-1, -1});
        const TGridCoord cell = Grid.MouseToCell(x, y);
        if (cell.X >= 0 && cell.Y >= 0) {
            const TPoint b = Grid.BaseCell(cell.X, cell.Y);
            if (b.X == pushed.X && b.Y == pushed.Y)
                Grid.ButtonClick(Grid.DisplToRealCol(b.X), b.Y);
        }
    }
    // An indicator press that opened no editor does not step a later one opened by a key.
    if (button == platform::mbLeft)
        Controller.Specials().SetSpinClick(false, false);
    return false;
}

void TGridInputHandler::DoEnter()
{
    if (Controller.BlockFocus())
        return;
    const int c = Grid.Col(), r = Grid.Row();
    if (EditingOn() || Grid.MouseActions.RangeSelectAndEdit)
        Controller.SelectCellSwitch(c, r);
    Controller.StoreOldCell(c, r);
    if (Grid.Navigation.AlwaysEdit && !Controller.EditMode() && !CheckOrButtonAt(Grid, c, r) &&
        IsEditable(Grid.RealCol(), r))
        ShowEditor();
}

void TGridInputHandler::DoExit()
{
    if (Controller.BlockKill())
        return;
    FPushedButton = {-1, -1};
}

bool TGridInputHandler::DblClick()
{
    const int x = FLastPress.x(), y = FLastPress.y();
    const TGridCoord cell = Grid.MouseToCell(x, y);
    const bool onBorder = cell.Y == 0 && (Grid.Options & goColSizing) && Grid.MouseActions.AutoSizeColOnDblClick &&
                          Grid.ColumnSizingEdgeAt(x, y) >= 0;
    Grid.DefaultDblClick();
    FDblClk = onBorder;
    if (onBorder || cell.X < 0 || cell.Y < 0 || CheckOrButtonAt(Grid, cell.X, cell.Y))
        return true;
    if (Grid.OnDblClickCell)
        Grid.OnDblClickCell(&Grid, cell.Y, cell.X);
    const TPoint b = Grid.BaseCell(cell.X, cell.Y);
    if (b.X < Grid.FixedCols() || b.Y < Grid.FixedRows()) {
        const TGridFixedCellEdit how =
            b.Y < Grid.FixedRows() ? Grid.MouseActions.FixedRowsEdit : Grid.MouseActions.FixedColsEdit;
        if (how == fceDblClick)
            OpenFixedCellEditor(b.X, b.Y);
        return true;
    }
    const int realCol = Grid.DisplToRealCol(b.X);
    if (Grid.MouseActions.EditOnDblClickOnly() && IsEditableForced(realCol, b.Y)) {
        SetEditing(true);
        Controller.StoreOldCell(b.X, b.Y);
        ShowEditor();
        return true;
    }
    // The second press of a double click lands on the current cell: it starts editing there.
    if (EditingOn() && b.X == Grid.Col() && b.Y == Grid.Row() && IsEditable(realCol, b.Y) && !Controller.EditMode())
        ShowEditor();
    return true;
}

bool TGridInputHandler::MouseWheel(TShiftState shift, int delta, int, int, bool& used)
{
    used = true;
    if (!Grid.EnableWheel || (Grid.FixedRowAlways && Grid.RowCount() == Grid.FixedRows()))
        return true;
    const int notches = delta / 120;
    if (notches == 0)
        return true;
    if ((shift & ssCtrl) && Grid.IntelliZoom) {
        used = false;
        return false;
    }
    const int step = Grid.MouseActions.WheelIncrement >= 1 ? Grid.MouseActions.WheelIncrement : WheelLines;
    const int firstRow = Grid.FixedRows();
    const int lastRow = LastDataRow();
    if (lastRow < firstRow)
        return true;
    // Towards the user (negative delta) goes down the table.
    const int towards = notches < 0 ? 1 : -1;
    const int count = std::abs(notches) * step;
    if (Grid.MouseActions.WheelAction() == waScroll) {
        const int maxTop = std::max(firstRow, Grid.MaxTopRow());
        Grid.SetTopRow(std::clamp(Grid.TopRow() + towards * count, firstRow, maxTop));
        return true;
    }
    Controller.HideInplaceEdit();
    const int target = std::clamp(Grid.Row() + towards * count, firstRow, lastRow);
    int col = Grid.Col();
    if (col >= Grid.ColCount())
        col = Grid.ColCount() - 1;
    if (col < Grid.FixedCols())
        col = FirstDataCol();
    if (Grid.MouseActions.DisjunctRowSelect())
        Grid.ClearRowSelect();
    const TGridRect before = Grid.Selection();
    Grid.MoveColRow(col, target);
    if (Grid.Row() != target && Grid.Row() == before.Top) {
        // Refused: half-way there.
        const int half = Grid.Row() + (target - Grid.Row()) / 2;
        if (half != Grid.Row())
            Grid.MoveColRow(col, half);
    }
    FMoveSelection = before;
    ReportSelectionChange();
    return true;
}

// Hints

TCellHint TGridInputHandler::PrepareCellHint(const QPoint& pos)
{
    TCellHint out;
    out.Color = Grid.HintColor;
    out.MaxWidth = std::max(0, Grid.ControlLook.HintMaxWidth);
    const TGridCoord cell = Grid.MouseToCell(pos.x(), pos.y());
    if (cell.X < 0 || cell.Y < 0)
        return out;
    const TPoint b = Grid.BaseCell(cell.X, cell.Y);
    const int c = b.X, r = b.Y;
    const int realCol = Grid.DisplToRealCol(c);
    const TRect rc = Grid.CellRect(c, r);
    const TRect shown = Grid.MirrorRect(rc);
    out.Area = QRect(shown.Left, shown.Top, shown.Width(), shown.Height());
    // A comment shows at the cell's top-right corner, anything else under the cell at the cursor.
    QString hint;
    if (Grid.IsComment(realCol, r, hint))
        out.Pos = QPoint(shown.Right, shown.Top);
    else
        out.Pos = QPoint(pos.x(), shown.Bottom + 6);
    const QString text = Grid.Cells(realCol, r);
    if (Grid.AnchorHint && Grid.EnableHTML && IsCellHtml(text)) {
        // The anchor as the renderer lays the cell out: its title, or the anchor itself.
        QString anchor, title;
        if (Grid.HTMLAnchorAt(c, r, pos.x(), pos.y(), anchor, title)) {
            hint = title.isEmpty() ? anchor : title;
            if (OnAnchorHint)
                OnAnchorHint(&Grid, r, realCol, hint);
            FLastAnchorHint = hint;
            out.Pos = pos + QPoint(8, -16);
        }
    }
    const bool dataCell = c >= Grid.FixedCols() && r >= Grid.FixedRows() && c < Grid.ColCount() - Grid.FixedRightCols &&
                          r < Grid.RowCount() - Grid.FixedFooters;
    if (Grid.HintShowCells && dataCell) {
        out.Pos.setY(shown.Top);
        hint = Grid.HTMLHint ? text : StripCellHtml(text);
    }
    if (Grid.HintShowLargeText) {
        const QFontMetrics fm(Grid.font());
        const QSize size = fm.size(0, StripCellHtml(text));
        if (size.width() > rc.Width() || size.height() > rc.Height()) {
            if (HintShowLargeTextPos == hpCell)
                out.Pos = QPoint(shown.Left, shown.Top);
            hint = Grid.HTMLHint || !IsCellHtml(text) ? text : StripCellHtml(text);
        }
    }
    const bool footerRow = Grid.FloatingFooter.Visible() && r == Grid.RowCount() - 1;
    if (!footerRow) {
        if (Grid.OnGridHint)
            Grid.OnGridHint(&Grid, r, c, hint);
        if (Grid.OnGridWideHint) {
            QString wide;
            Grid.OnGridWideHint(&Grid, r, c, wide);
            if (!wide.isEmpty())
                hint = wide;
        }
    }
    out.Html = IsCellHtml(hint);
    out.Text = WrapHint(hint, Grid.font(), out.MaxWidth);
    return out;
}

bool TGridInputHandler::CellHint(const QPoint& pos, platform::THintInfo& info)
{
    const TCellHint hint = PrepareCellHint(pos);
    if (hint.Text.isEmpty())
        return false;
    info.Text = hint.Text;
    // The hint lasts while the mouse stays over the cell it was made for.
    info.Rect = hint.Area;
    ShowCellHint(Grid, hint);
    return true;
}

// Selection queries

int TGridInputHandler::SelectedCellsCount()
{
    if (Grid.MouseActions.DisjunctCellSelect())
        return FDisjunct.Count();
    FCellList.clear();
    const TGridRect s = Grid.Selection();
    if (s.Left == s.Right && s.Top == s.Bottom) {
        FCellList.push_back({Grid.Col(), Grid.Row()});
    } else {
        for (int c = s.Left; c <= s.Right; ++c)
            for (int r = s.Top; r <= s.Bottom; ++r)
                FCellList.push_back({c, r});
    }
    return int(FCellList.size());
}

TGridCoord TGridInputHandler::GetSelectedCell(int index)
{
    if (Grid.MouseActions.DisjunctCellSelect())
        return FDisjunct.At(index);
    if (FCellList.empty())
        SelectedCellsCount();
    if (index < 0 || index >= int(FCellList.size()))
        throw EExtGridError(QStringLiteral("Invalid cell"));
    return FCellList[size_t(index)];
}

bool TGridInputHandler::SelectedCells(int c, int r) const
{
    if (Grid.MouseActions.DisjunctCellSelect())
        return FDisjunct.Contains(c, r);
    const TGridRect s = Grid.Selection();
    return c >= std::min(s.Left, s.Right) && c <= std::max(s.Left, s.Right) && r >= std::min(s.Top, s.Bottom) &&
           r <= std::max(s.Top, s.Bottom);
}

void TGridInputHandler::SetSelectedCells(int c, int r, bool value)
{
    if (value ? FDisjunct.Add(c, r) : FDisjunct.Remove(c, r))
        Grid.RepaintCell(c, r);
}

int TGridInputHandler::SelectedRowCount()
{
    if (Grid.MouseActions.DisjunctRowSelect())
        return Grid.RowSelectCount();
    const TGridRect s = Grid.Selection();
    const int bottom = std::min(s.Bottom, LastDataRow());
    const TPoint topLeft = Grid.CellSpan(Grid.DisplToRealCol(s.Left), s.Top);
    if (topLeft.Y > 0 && s.Top + topLeft.Y > bottom)
        return topLeft.Y + 1;
    const TPoint atBottom = Grid.CellSpan(Grid.DisplToRealCol(s.Left), bottom);
    return std::abs(bottom - s.Top) + 1 + atBottom.Y;
}

int TGridInputHandler::SelectedColCount()
{
    if (Grid.MouseActions.DisjunctColSelect()) {
        int n = 0;
        for (int c = 0; c < Grid.ColCount(); ++c)
            n += Grid.GetColSelect(c) ? 1 : 0;
        return n;
    }
    const TGridRect s = Grid.Selection();
    const TPoint topLeft = Grid.CellSpan(Grid.DisplToRealCol(s.Left), s.Top);
    if (topLeft.X > 0 && s.Left + topLeft.X > s.Right)
        return topLeft.X + 1;
    const TPoint atRight = Grid.CellSpan(Grid.DisplToRealCol(s.Right), s.Top);
    return std::abs(s.Right - s.Left) + 1 + atRight.X;
}

int TGridInputHandler::GetSelectedRow(int i)
{
    if (Grid.MouseActions.DisjunctRowSelect()) {
        int seen = 0;
        for (int r = 0; r < Grid.RowCount(); ++r)
            if (Grid.GetRowSelect(r) && seen++ == i)
                return r;
        return -1;
    }
    const TGridRect s = Grid.Selection();
    const int row = std::min(s.Top, s.Bottom) + i;
    return i >= 0 && row <= std::max(s.Top, s.Bottom) ? row : -1;
}

void TGridInputHandler::ClearSelectedCells()
{
    Grid.SetSelection({Grid.FixedCols(), Grid.FixedRows(), Grid.FixedCols(), Grid.FixedRows()});
    FCellList.clear();
    FDisjunct.Clear();
    Grid.Invalidate();
}

void TGridInputHandler::ClearModifiedRows()
{
    for (int r = 0; r < Grid.RowCount(); ++r)
        if (Grid.GetRowModified(r))
            Grid.SetRowModified(r, false);
    Grid.Invalidate();
}

QString TGridInputHandler::GetEditText(int c, int r)
{
    const TPoint b = Grid.BaseCell(c, r);
    const QString text = Grid.Cells(Grid.DisplToRealCol(b.X), b.Y);
    return Controller.NormalEdit()->EditWithTags ? text : StripCellHtml(text);
}

void TGridInputHandler::SetEditText(int c, int r, const QString& value)
{
    const TPoint b = Grid.BaseCell(c, r);
    Grid.SetCells(Grid.DisplToRealCol(b.X), b.Y, value);
}

// Selection areas of the headers, the selection's resize handle, and the cursors they show

namespace {

// The cursors of the selection modes: an arrow pointing along the row (0), down the column (1),
// or into the table's corner (2).
QCursor SelectionCursor(int kind)
{
    static QCursor cursors[3];
    static bool made[3] = {};
    if (!made[kind]) {
        QPixmap pm(16, 16);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        QPolygonF arrow;
        arrow << QPointF(1, 5) << QPointF(8, 5) << QPointF(8, 1) << QPointF(15, 8) << QPointF(8, 15)
              << QPointF(8, 11) << QPointF(1, 11);
        QTransform t;
        if (kind == 1)
            t.translate(16, 0).rotate(90);
        else if (kind == 2)
            t.translate(8, -3.3).rotate(45);
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(Qt::black);
        p.drawPolygon(t.map(arrow));
        p.end();
        const QPoint hot = kind == 0 ? QPoint(15, 8) : kind == 1 ? QPoint(8, 15) : QPoint(13, 13);
        cursors[kind] = QCursor(pm, hot.x(), hot.y());
        made[kind] = true;
    }
    return cursors[kind];
}

}  // namespace

bool TGridInputHandler::OnResizeHandle(int x, int y)
{
    if (!Grid.SelectionResizer || !Grid.SelectionRectangle)
        return false;
    const TGridRect s = Grid.Selection();
    const TRect cr = Grid.CellRect(std::max(s.Left, s.Right), std::max(s.Top, s.Bottom));
    if (cr.IsEmpty())
        return false;
    // The square painted at the corner, with the grid line under it.
    return x >= cr.Right - 6 && x < cr.Right && y >= cr.Bottom - 5 && y <= cr.Bottom;
}

TGridInputHandler::TMouseSelectMode TGridInputHandler::ModeAt(int x, int y)
{
    if (OnResizeHandle(x, y))
        return msResize;
    const TGridCoord cell = Grid.MouseToCell(x, y);
    if (cell.X < 0 || cell.Y < 0)
        return msNormal;
    const bool onBorder = ((Grid.Options & goColSizing) && Grid.ColumnSizingEdgeAt(x, y) >= 0) ||
                          ((Grid.Options & goRowSizing) && Grid.RowSizingEdgeAt(x, y) >= 0);
    const bool fixedCol = cell.X < Grid.FixedCols(), fixedRow = cell.Y < Grid.FixedRows();
    const TMouseActions& ma = Grid.MouseActions;
    if (fixedCol && fixedRow)
        return ma.AllSelect ? msAll : msNormal;
    if (fixedRow && ma.ColSelect && !onBorder)
        return msColumn;
    if (fixedCol && cell.Y <= LastDataRow() && ma.RowSelect && !onBorder &&
        !(cell.X == 0 && Grid.IsNode(cell.Y) && Grid.InNodeGlyph(cell.Y, x)))
        return msRow;
    return msNormal;
}

bool TGridInputHandler::CursorAt(int x, int y, QCursor& cursor)
{
    if (FMoving != mkNone && FMoveShown) {
        cursor = FMoveAllowed ? Qt::DragMoveCursor : Qt::ForbiddenCursor;
        return true;
    }
    // The cursor may be asked before the move that arms a fixed sizing is handled.
    if (FSizingFixedCol < 0 && FSizingFixedRow < 0 && FMoving == mkNone && !Grid.SizingColumn() && !Grid.SizingRow())
        ArmFixedSizing(x, y);
    if (FSizingFixedCol >= 0 || (FSizeFixed && FSizingFixedRow < 0)) {
        cursor = Qt::SplitHCursor;
        return true;
    }
    if (FSizingFixedRow >= 0 || FSizeFixedR) {
        cursor = Qt::SplitVCursor;
        return true;
    }
    if (Grid.SizingColumn() || Grid.SizingRow())
        return false;
    switch (FMouseResize ? msResize : ModeAt(x, y)) {
    case msRow: cursor = SelectionCursor(0); return true;
    case msColumn: cursor = SelectionCursor(1); return true;
    case msAll:
    case msResize: cursor = SelectionCursor(2); return true;
    default: break;
    }
    // A link under the mouse shows the hand.
    const TGridCoord cell = Grid.MouseToCell(x, y);
    bool html = false;
    if (cell.X >= 0 && cell.Y >= 0 && !AnchorAt(cell.X, cell.Y, x, y, html).isEmpty()) {
        cursor = Qt::PointingHandCursor;
        return true;
    }
    return false;
}

void TGridInputHandler::MouseLeave()
{
    FSizeFixed = FSizeFixedR = false;
    if (!FMouseResize && FMouseSelectStart < 0)
        FMouseSelectMode = msNormal;
}

// A press on the top-left cell selects the table, on a fixed-column cell its row, on a header cell
// its column; Shift extends from the previous selection. Answers whether the press was taken.
bool TGridInputHandler::ClickSelectionArea(int c, int r, TShiftState shift)
{
    const TGridRect before = Grid.Selection();
    FMoveSelection = before;
    const bool range = Grid.Options & goRangeSelect;
    const int firstCol = Grid.FixedCols(), firstRow = Grid.FixedRows();
    if (LastDataRow() < firstRow || LastDataCol() < firstCol)
        return false;
    switch (FMouseSelectMode) {
    case msAll:
        if (!range || c >= firstCol || r >= firstRow)
            return false;
        Controller.HideInplaceEdit();
        FDisjunct.Clear();
        Grid.SetSelection({firstCol, firstRow, LastDataCol(), LastDataRow()});
        break;
    case msRow: {
        if (c >= firstCol || r < firstRow || r > LastDataRow())
            return false;
        const int from = (shift & ssShift) ? std::min(before.Top, before.Bottom) : r;
        Controller.HideInplaceEdit();
        Grid.MoveColRow(std::max(Grid.Col(), firstCol), r);
        Grid.SetSelection({firstCol, std::min(from, r), LastDataCol(), std::max(from, r)});
        FMouseSelectStart = from;
        break;
    }
    case msColumn: {
        if (!range || r >= firstRow || c < firstCol || c > LastDataCol())
            return false;
        const int from = (shift & ssShift) ? std::min(before.Left, before.Right) : c;
        Controller.HideInplaceEdit();
        Grid.MoveColRow(c, std::max(Grid.Row(), firstRow));
        Grid.SetSelection({std::min(from, c), firstRow, std::max(from, c), LastDataRow()});
        FMouseSelectStart = from;
        break;
    }
    default: return false;
    }
    Grid.Invalidate();
    ReportSelectionChange();
    return true;
}

// While the button is held: a header selection follows the mouse over rows or columns, a dragged
// resize handle stretches the selection from its top-left corner.
void TGridInputHandler::DragSelection(int x, int y)
{
    const TGridCoord cell = Grid.MouseToCell(x, y);
    const int firstCol = Grid.FixedCols(), firstRow = Grid.FixedRows();
    if (FMouseResize) {
        if (cell.X < 0 || cell.Y < 0)
            return;
        const int right = std::clamp(cell.X, FDropSelection.Left, LastDataCol());
        const int bottom = std::clamp(cell.Y, FDropSelection.Top, LastDataRow());
        Grid.SetSelection({FDropSelection.Left, FDropSelection.Top, right, bottom});
        return;
    }
    if (FMouseSelectMode == msRow && Grid.MouseActions.RowSelect) {
        // Near the bottom edge and over the header the table scrolls a row at a time.
        if (y >= Grid.ClientHeight() - 4 && Grid.TopRow() < Grid.MaxTopRow())
            Grid.SetTopRow(Grid.TopRow() + 1);
        else if (cell.Y >= 0 && cell.Y < firstRow && Grid.TopRow() > firstRow)
            Grid.SetTopRow(Grid.TopRow() - 1);
        const TGridCoord at = Grid.MouseToCell(x, y);
        const int r = std::clamp(at.Y < 0 ? Grid.TopRow() : at.Y, firstRow, LastDataRow());
        Grid.SetSelection({firstCol, std::min(FMouseSelectStart, r), LastDataCol(), std::max(FMouseSelectStart, r)});
    } else if (FMouseSelectMode == msColumn && Grid.MouseActions.ColSelect && cell.X >= 0) {
        const int c = std::clamp(cell.X, firstCol, LastDataCol());
        Grid.SetSelection({std::min(FMouseSelectStart, c), firstRow, std::max(FMouseSelectStart, c), LastDataRow()});
    }
}

// A press on the drop-down button at the right of a lit header pops up the header's menu.
bool TGridInputHandler::PopupFixedDropDown(int c, int r, int x)
{
    if (!Grid.ControlLook.FixedDropDownButton || !Grid.IsHoverFixedCell(c, r))
        return false;
    const TRect cr = Grid.CellRect(c, r);
    const int lineRoom = (Grid.Options & goFixedVertLine) ? 2 : 0;
    if (x < cr.Right - 16 || x >= cr.Right - lineRoom)
        return false;
    if (!Grid.FixedDropDownMenu && !Grid.OnFixedDropDownClick)
        return false;
    QMenu* menu = Grid.FixedDropDownMenu;
    if (menu)
        menu->setProperty("Tag", c);
    bool keepLit = false;
    if (Grid.OnFixedDropDownClick)
        Grid.OnFixedDropDownClick(&Grid, c, r, menu, keepLit);
    if (!menu)
        return true;
    Grid.HoldHoverFixedCell = keepLit;
    QObject::connect(menu, &QMenu::aboutToHide, &Grid, [grid = &Grid] {
        if (grid->HoldHoverFixedCell) {
            grid->HoldHoverFixedCell = false;
            grid->ResetFixedCellHighlight();
        }
    }, Qt::SingleShotConnection);
    const TRect button = Grid.MirrorRect(TRect{cr.Right - 16, cr.Top, cr.Right, cr.Bottom});
    menu->popup(Grid.Client()->mapToGlobal(QPoint(button.Left, button.Bottom)));
    return true;
}

// Fixed-cell editing

TFixedCellEditing* TGridInputHandler::FixedCellEditor() const
{
    if (FTransEdit && FTransEdit->isVisible())
        return FTransEdit.get();
    if (FTransCombo && FTransCombo->isVisible())
        return FTransCombo.get();
    return nullptr;
}

void TGridInputHandler::OpenFixedCellEditor(int c, int r)
{
    if (TFixedCellEditing* open = FixedCellEditor(); open && !open->StopEdit())
        return;
    const int realCol = Grid.DisplToRealCol(c);
    bool canEdit = true;
    if (Grid.OnCanEditCell)
        Grid.OnCanEditCell(&Grid, r, c, canEdit);
    if (!canEdit)
        return;
    TGridFixedCellEditor kind = c == 0 ? Grid.MouseActions.FixedColsEditor : Grid.MouseActions.FixedRowsEditor;
    QStringList values = Grid.MouseActions.FixedComboValues;
    Grid.FixedEdit(c, r, kind, values);
    Controller.HideInplaceEdit();
    QRect rect = EditorRect(Grid, c, r).adjusted(1, 1, -1, -1);
    TFixedCellEditing* editor = nullptr;
    if (kind == fceEdit) {
        if (!FTransEdit)
            FTransEdit = std::make_unique<TGridTransEdit>(Controller, Grid.Client());
        FTransEdit->setText(Grid.Cells(realCol, r));
        editor = FTransEdit.get();
    } else {
        if (!FTransCombo)
            FTransCombo = std::make_unique<TGridTransCombo>(Controller, Grid.Client());
        TGridTransCombo& combo = *FTransCombo;
        const QSignalBlocker quiet(&combo);
        combo.clear();
        combo.setEditable(kind == fceComboEdit);
        combo.addItems(values);
        const QString text = Grid.Cells(realCol, r);
        const int index = combo.findText(text);
        combo.setCurrentIndex(index);
        if (kind == fceComboEdit)
            combo.setEditText(text);
        rect.adjust(-1, -1, 0, 0);
        editor = &combo;
    }
    editor->Col = realCol;
    editor->Row = r;
    editor->Box().setGeometry(rect);
    editor->Box().show();
    editor->Box().raise();
    editor->Box().setFocus();
}

// Header and fixed-column cells open their editor by the press the settings name.
void TGridInputHandler::FixedEditByMouse(TMouseButton button, int c, int r, int x, int y)
{
    const TMouseActions& ma = Grid.MouseActions;
    const bool header = r < Grid.FixedRows();
    const bool fixedCol = !header && c < Grid.FixedCols();
    if (!header && !fixedCol)
        return;
    const TGridFixedCellEdit how = header ? ma.FixedRowsEdit : ma.FixedColsEdit;
    if (button == platform::mbRight) {
        if (how == fceRightClick)
            OpenFixedCellEditor(c, r);
        return;
    }
    if (how != fceLeftClick)
        return;
    // Near a border the press sizes the column or row instead.
    if ((header && (Grid.Options & goColSizing)) || (fixedCol && (Grid.Options & goRowSizing))) {
        const TRect cr = Grid.CellRect(c, r);
        if (x <= cr.Left + 4 || x >= cr.Right - 4 || (fixedCol && (y <= cr.Top + 4 || y >= cr.Bottom - 4)))
            return;
    }
    OpenFixedCellEditor(c, r);
}

}  // namespace grid::editing
