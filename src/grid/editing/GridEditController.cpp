#include "grid/editing/GridEditController.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QToolTip>
#include <utility>

#include "grid/core/ExtColumnGrid.h"
#include "grid/editing/InplaceEdit.h"
#include "grid/editing/SpecialEditors.h"
#include "platform/Guard.h"

namespace grid::editing {

namespace {
TGridInputFactory& InputFactory()
{
    static TGridInputFactory factory;
    return factory;
}

constexpr int VK_TAB = 9, VK_RETURN = 13, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40;

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

void SetGridInputFactory(TGridInputFactory factory) { InputFactory() = std::move(factory); }

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

TGridEditController::TGridEditController(TExtStringGrid& grid) : TGridEditLayer(grid)
{
    if (InputFactory())
        FInput = InputFactory()(*this);
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

void RegisterGridEditing()
{
    SetGridEditLayerFactory([](TExtStringGrid& grid) { return std::make_unique<TGridEditController>(grid); });
}

// Can-edit query and editor type

bool TGridEditController::IsEditable(int realCol, int r)
{
    if (!(Grid.Options & goEditing) && !Grid.MouseActions.RangeSelectAndEdit && !FEditDisable)
        return false;
    const TPoint b = Grid.BaseCell(realCol, r);
    bool canEdit = true;
    Grid.IsCellEditable(b.X, b.Y, canEdit);
    bool fixed = false;
    Grid.IsFixedCell(b.X, b.Y, fixed);
    return canEdit && !fixed;
}

void TGridEditController::GetCellEditorType(int realCol, int r, TEditorType& editor)
{
    editor = Grid.DefaultEditor;
    Grid.GetEditorType(realCol, r, editor);
    if (auto* columns = dynamic_cast<TExtColumnGrid*>(&Grid)) {
        ComboItems = columns->EditComboItems;
        DropDownCount = columns->EditDropDownCount;
    }
}

// Editing on and off as the current cell moves

bool TGridEditController::SelectCell(int c, int r, bool& allow)
{
    allow = SelectCellSwitch(c, r);
    return true;
}

bool TGridEditController::SelectCellSwitch(int c, int r)
{
    if (FForceSel)
        return true;
    if (c < 0 || r < 0)
        return false;
    TFlagScope inSwitch(FInSwitch, true);
    TExtStringGrid& g = Grid;
    const int rc = g.DisplToRealCol(c);
    if (!(g.Options & goRowSelect) && g.IsMergedNonBaseCell(rc, r)) {
        const TPoint b = g.BaseCell(rc, r);
        g.MoveColRow(g.RealToDisplCol(b.X), b.Y);
        if (g.MouseActions.DirectEdit || (g.ControlLook.DropDownAlwaysVisible && g.HasComboBox(rc, r)))
            ShowInplaceEdit();
        return false;
    }

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
    const bool textFocus = FNormalEdit && FNormalEdit->hasFocus();
    if (!FEditing || textFocus) {
        bool allow = true;
        CellChanging(c, r, allow);
        if (g.IsFixed(c, r) || !allow)
            answer = (allow && (g.Options & goRowSelect)) || (g.FixedRowAlways && g.RowCount() == g.FixedRows());
        else
            answer = g.DefaultSelectCell(c, r);
    } else {
        // A special editor was open: its value is validated before the move.
        HideCellEdit();
        const bool valid = ValidateCell(g.GetCurrentCell());
        refused = !valid;
        bool allow = true;
        CellChanging(c, r, allow);
        answer = valid && allow && g.DefaultSelectCell(c, r);
    }

    if (!g.Loading && OnRowChanged && r != FOldRowSel && answer) {
        const int old = std::exchange(FOldRowSel, r);
        OnRowChanged(&g, old, r);
    }
    if (!refused && answer)
        FCellCache = g.GetCellEx(rc, r);
    return answer;
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
    ShowEditorNow();
}

void TGridEditController::HideTextEditor()
{
    if (!FNormalEdit || !FNormalEdit->isVisible())
        return;
    TExtInplaceEdit* edit = FNormalEdit.get();
    const bool hadFocus = edit->hasFocus();
    // The text goes into the cell it was opened for, never into a cell that took its place.
    if (edit->ColE() >= 0 && edit->RowE() >= 0 && edit->RowE() < Grid.RowCount())
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
    if (!FInSwitch)
        SelectCellSwitch(Grid.Col(), Grid.Row());
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
            if (const auto& handler = wide ? OnCellValidateWide : OnCellValidate)
                handler(&g, col, row, value, valid);
            if (value != FOldCellText && g.FixedCols() > 0 && (!wide || g.ShowModified.Enabled)) {
                g.SetRowModified(row, true);
                if (g.ShowModified.Enabled)
                    g.RepaintCell(0, row);
            }
            if (valid && !wide)
                CellValueChanged(col, row);
            if (valid && changed && !wide)
                g.CellsChanged({col, row, col, row});
        }
        FNewCellText = value;
        if (valid) {
            g.SetCellEx(col, row, value);
        } else {
            // The edited cell gets the handler's value or its old text back, and its editor
            // opens again there.
            const bool replaced = value != newValue;
            const QString back = replaced ? value : FOldCellText;
            FNewCellText = back;
            const bool textOpen = FNormalEdit && FNormalEdit->isVisible() && FNormalEdit->ColE() == FOldCol &&
                                  FNormalEdit->RowE() == row;
            g.SetCellEx(col, row, back);
            if (textOpen) {
                FNormalEdit->setText(back);
                FEditing = true;
            } else {
                if (FNormalEdit && FNormalEdit->isVisible())
                    HideTextEditor();
                FEditModeOn = false;
                if (g.Col() != FOldCol || g.Row() != row) {
                    TFlagScope force(FForceSel, true);
                    g.MoveColRow(FOldCol, row);
                }
                FValidating = false;
                ShowInplaceEdit();
                FEditing = true;
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

bool TGridEditController::IsLastDataRow() const { return Grid.Row() >= LastDataRow(); }

int TGridEditController::EndCol() const
{
    int hiddenRight = 0;
    return Grid.ColCount() - std::max(0, Grid.FixedRightCols - hiddenRight);
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
    // Each cell is visited once: a table without a tab stop ends where it started.
    const int cells = std::max(1, (lastRow - firstRow + 1) * (endCol - firstCol));
    int c = g.Col(), r = g.Row();
    for (int step = 0; step < cells; ++step) {
        if (backward) {
            if (c > firstCol) {
                --c;
            } else if (r > firstRow) {
                --r;
                c = endCol - 1;
            } else {
                r = lastRow;
                c = endCol - 1;
            }
        } else {
            const int span = g.CellSpan(g.DisplToRealCol(c), r).X;
            if (c + span + 1 < endCol) {
                c += span + 1;
            } else if (r < lastRow) {
                ++r;
                c = firstCol;
            } else {
                // Past the last cell of the table.
                if (!g.Navigation.TabToNextAtEnd && g.Navigation.AdvanceInsert()) {
                    bool canAdd = true;
                    if (OnCanAddRow)
                        OnCanAddRow(&g, canAdd);
                    if (canAdd) {
                        g.AppendRow();
                        r = g.RowCount() - 1 - g.FixedFooters;
                        const int fc = std::max(firstCol, FirstTabStop(r));
                        {
                            TFlagScope force(FForceSel, true);
                            g.MoveColRow(fc, r);
                        }
                        if (OnAutoAddRow)
                            OnAutoAddRow(&g, g.RowCount() - g.FixedFooters - 1);
                        EndOfTable(result);
                        c = fc;
                        break;
                    }
                }
                EndOfTable(result);
                if (!result)
                    return result;
                r = firstRow;
                c = firstCol;
            }
        }
        if (g.IsMergedNonBaseCell(g.DisplToRealCol(c), r))
            continue;
        if (IsTabStop(c, r))
            break;
        if (step == cells - 1) {
            // No tab stop in the whole table: the current cell stays.
            c = g.Col();
            r = g.Row();
        }
    }
    if (c != g.Col() || r != g.Row()) {
        bool allow = true;
        CellChanging(c, r, allow);
        if (allow) {
            TFlagScope force(FForceSel, true);
            TFlagScope noChange(FDisableChange, true);
            g.MoveColRow(c, r);
        }
    }
    if (g.Navigation.AdvanceAutoEdit && !g.IsCheckOrButtonCell(g.RealCol(), g.Row()))
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
    const int endCol = g.ColCount() - g.FixedRightCols;
    // Each cell is tried once: a table of read-only cells stops where it began.
    const int budget = std::max(1, (lastRow - firstRow + 1) * std::max(1, endCol - firstCol));
    if (!recursing) {
        FAECol = c;
        FAERow = r;
    }
    FStartEditChar = QChar();
    const TAdvanceDirection dir = g.Navigation.AdvanceDirection();
    int ac = c, ar = r;
    bool moved = false;
    for (int tries = 0; tries < budget; ++tries) {
        const TPoint span = g.CellSpan(g.DisplToRealCol(ac), ar);
        if (forward && (dir == adLeftRight || dir == adLeftRightInRow)) {
            if (ac + span.X < endCol - 1) {
                ac += span.X + 1;
            } else if (dir == adLeftRightInRow) {
                if (g.Navigation.AdvanceOnEnterLoop)
                    ac = firstCol;
            } else if (ar < lastRow) {
                ++ar;
                ac = firstCol;
            } else if (g.Navigation.AdvanceInsert()) {
                bool canAdd = true;
                if (OnCanAddRow)
                    OnCanAddRow(&g, canAdd);
                ac = firstCol;
                if (canAdd) {
                    g.AppendRow();
                    ++ar;
                    if (OnAutoAddRow)
                        OnAutoAddRow(&g, g.RowCount() - g.FixedFooters - 1);
                    bool any = false;
                    for (int k = g.FixedCols(); k < g.ColCount() && !any; ++k)
                        any = IsEditable(g.DisplToRealCol(k), ar);
                    if (!any)
                        return;
                }
            } else if (g.Navigation.AdvanceOnEnterLoop) {
                ar = firstRow;
                ac = firstCol;
            } else {
                return;
            }
        } else if (forward) {
            if (ar + 1 != g.RowCount() - g.FixedFooters) {
                ++ar;
            } else if (dir == adTopBottomInCol) {
                ar = firstRow;
            } else if (ac + 1 != g.ColCount() - g.FixedRightCols) {
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
            }
        } else if (dir == adLeftRight) {
            if (ac > firstCol) {
                --ac;
            } else {
                ar = ar > firstRow ? ar - 1 : lastRow;
                ac = endCol - 1;
            }
        } else if (dir == adTopBottom) {
            if (ar > firstRow) {
                --ar;
            } else {
                ac = ac > firstCol ? ac - 1 : endCol - 1;
                ar = lastRow;
            }
        } else {
            return;
        }
        bool canEdit = true;
        g.IsCellEditable(g.DisplToRealCol(ac), ar, canEdit);
        if (canEdit || !g.Navigation.AdvanceSkipReadOnlyCells) {
            moved = true;
            break;
        }
        if (ac == FAECol && ar == FAERow)
            break;  // round the whole table without an editable cell
    }
    if (!moved)
        return;
    bool allow = true;
    if (OnAutoAdvance)
        OnAutoAdvance(&g, FAERow, FAECol, ar, ac, allow);
    if (allow && OnCellChanging)
        OnCellChanging(&g, FAERow, FAECol, ar, ac, allow);
    if (!allow)
        return;
    {
        TFlagScope noChange(FDisableChange, true);
        g.MoveColRow(ac, ar);
    }
    if (showEditor && autoEdit && g.Navigation.AdvanceAutoEdit && g.Col() == ac && g.Row() == ar &&
        IsEditable(g.RealCol(), g.Row()))
        ShowInplaceEdit();
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

void TGridEditController::CellsMoving()
{
    if (!FEditModeOn)
        return;
    // Take the value back while the cell is still where the editor was opened for it.
    if (FNormalEdit && FNormalEdit->isVisible()) {
        const QString text = FNormalEdit->text();
        if (!ValidateCell(text))
            return;
    }
    HideInplaceEdit();
    FEditing = false;
}

void TGridEditController::Scrolled()
{
    if (FNormalEdit && FNormalEdit->isVisible())
        FNormalEdit->PlaceOnCell();
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
bool TGridEditController::MouseWheel(platform::TShiftState shift, int delta, int x, int y, bool& used)
{
    return FInput && FInput->MouseWheel(shift, delta, x, y, used);
}
void TGridEditController::DoEnter()
{
    if (FInput)
        FInput->DoEnter();
}
void TGridEditController::DoExit()
{
    if (FInput)
        FInput->DoExit();
}
bool TGridEditController::CellHint(const QPoint& pos, platform::THintInfo& info)
{
    return FInput && FInput->CellHint(pos, info);
}

}  // namespace grid::editing
