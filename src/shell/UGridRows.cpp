#include "shell/UGridRows.h"

#include "grid/core/ExtColumnGrid.h"
#include "platform/Dialogs.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"

using grid::TExtColumnGrid;
using grid::TExtStringGrid;
using platform::MessageDlg;
using platform::TMsgDlgButtons;
using platform::TMsgDlgType;

namespace shell {

namespace {

// The columns after the row-number column, hidden ones included.
int DataColumnCount(TExtStringGrid& grid) { return grid.TotalColCount() - 1; }

bool IsDataRow(TExtStringGrid& grid, int row) { return row >= 1 && row < grid.RowCount(); }

// Moving rows under an open editor would leave it over another row's cell: the edit ends first,
// its value validated into its cell (a refused value is dropped), and no editor stays open.
void CloseEditor(TExtStringGrid& grid) { grid.CellsMoving(); }

bool IsDataCheckColumn(TExtColumnGrid& grid, int c)
{
    const grid::TGridColumnItem* item = grid.Columns()[c];
    return item && item->Editor() == grid::edDataCheckBox;
}

// Whether a row holds data as the column-grid paste judges it: check-box columns never count and
// a cell of blanks is empty.
bool ColumnRowHoldsData(TExtColumnGrid& grid, int row)
{
    for (int c = 1; c <= DataColumnCount(grid); ++c)
        if (!IsDataCheckColumn(grid, c) && !Trim_Blanks(grid.Cells(c, row)).isEmpty())
            return true;
    return false;
}

// The check-box twin's judgement: check-box cells never count, any other text does as it stands.
bool CheckRowHoldsData(TExtStringGrid& grid, int row)
{
    for (int c = 1; c <= DataColumnCount(grid); ++c)
        if (!grid.HasCheckBox(c, row) && !grid.Cells(c, row).isEmpty())
            return true;
    return false;
}

// Inserting pushes the last row out of the table; its data goes only when the user agrees.
bool MayDropLastRow(bool lastRowHoldsData)
{
    if (!lastRowHoldsData)
        return true;
    return MessageDlg(QStringLiteral("The last row of the table holds data that inserting a row would lose. "
                                     "Insert the row anyway?"),
                      TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo) == platform::mrYes;
}

// The paste refusals shared by both families; true when pasting may go on.
bool MayPaste(int dataColumns, bool copied, bool rowHoldsData)
{
    if (!copied) {
        MessageDlg(Lang(1102), TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
        return false;
    }
    if (dataColumns != App_State.Copy_Row_Buffer.size()) {
        MessageDlg(Lang(1101), TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
        return false;
    }
    if (rowHoldsData)
        return MessageDlg(Lang(1100), TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo) == platform::mrYes;
    return true;
}

// Cell (c, to) takes the check state or text and the read-only flag of cell (c, from).
void MoveCheckCell(TExtStringGrid& grid, int c, int from, int to)
{
    if (grid.HasCheckBox(c, from))
        grid.SetCheckBoxState(c, to, grid.IsChecked(c, from));
    else
        grid.SetCells(c, to, grid.Cells(c, from));
    grid.SetReadOnly(c, to, grid.GetReadOnly(c, from));
}

// The emptied row of the check-box twins: texts cleared, check boxes set to `enable` in column 1.
void ClearCheckRow(TExtStringGrid& grid, int row, bool enable, bool readOnly)
{
    for (int c = 1; c <= DataColumnCount(grid); ++c) {
        if (grid.HasCheckBox(c, row))
            grid.SetCheckBoxState(c, row, enable && c == 1);
        else
            grid.SetCells(c, row, QString());
        grid.SetReadOnly(c, row, readOnly);
    }
}

}  // namespace

bool Ask_Delete_Row(int row)
{
    return MessageDlg(Lang(1388) + QString::number(row), TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo)
           == platform::mrYes;
}

void Grid_Delete_Row(int row, TExtColumnGrid& grid)
{
    if (!IsDataRow(grid, row))
        return;
    CloseEditor(grid);
    const int columns = DataColumnCount(grid);
    const int last = grid.RowCount() - 1;
    for (int r = row; r < last; ++r)
        for (int c = 1; c <= columns; ++c)
            grid.SetCells(c, r, grid.Cells(c, r + 1));
    for (int c = 1; c <= columns; ++c)
        grid.SetCells(c, last, QString());
}

bool Grid_Insert_Row(int row, TExtColumnGrid& grid, bool enable)
{
    if (!IsDataRow(grid, row))
        return false;
    const int last = grid.RowCount() - 1;
    if (!MayDropLastRow(ColumnRowHoldsData(grid, last)))
        return false;
    CloseEditor(grid);
    const int columns = DataColumnCount(grid);
    for (int r = last - 1; r >= row; --r)
        for (int c = 1; c <= columns; ++c)
            grid.SetCells(c, r + 1, grid.Cells(c, r));
    for (int c = 1; c <= columns; ++c)
        grid.SetCells(c, row, enable && c == 1 ? QStringLiteral("Y") : QString());
    return true;
}

void Grid_Copy_Row(TExtColumnGrid& grid, int row)
{
    if (!IsDataRow(grid, row))
        return;
    CloseEditor(grid);
    App_State.Copy_Row_Buffer.clear();
    // Flags left by an earlier check-box copy would turn these texts into check states.
    App_State.Copy_Row_Is_Check.clear();
    for (int c = 1; c <= DataColumnCount(grid); ++c)
        App_State.Copy_Row_Buffer.append(grid.Cells(c, row));
}

void Grid_Paste_Row(TExtColumnGrid& grid, int row, bool copied)
{
    if (!IsDataRow(grid, row))
        return;
    CloseEditor(grid);
    const int columns = DataColumnCount(grid);
    if (!MayPaste(columns, copied, copied && ColumnRowHoldsData(grid, row)))
        return;
    for (int c = 1; c <= columns; ++c)
        grid.SetCells(c, row, App_State.Copy_Row_Buffer.at(c - 1));
}

void Grid_Delete_Row_Checks(int row, TExtStringGrid& grid, bool enable)
{
    if (!IsDataRow(grid, row))
        return;
    CloseEditor(grid);
    const int last = grid.RowCount() - 1;
    for (int r = row; r < last; ++r)
        for (int c = 1; c <= DataColumnCount(grid); ++c)
            MoveCheckCell(grid, c, r + 1, r);
    ClearCheckRow(grid, last, enable, true);
}

bool Grid_Insert_Row_Checks(int row, TExtStringGrid& grid, bool enable)
{
    if (!IsDataRow(grid, row))
        return false;
    const int last = grid.RowCount() - 1;
    if (!MayDropLastRow(CheckRowHoldsData(grid, last)))
        return false;
    CloseEditor(grid);
    for (int r = last - 1; r >= row; --r)
        for (int c = 1; c <= DataColumnCount(grid); ++c)
            MoveCheckCell(grid, c, r, r + 1);
    ClearCheckRow(grid, row, enable, false);
    return true;
}

void Grid_Copy_Row_Checks(TExtStringGrid& grid, int row)
{
    if (!IsDataRow(grid, row))
        return;
    CloseEditor(grid);
    const int columns = DataColumnCount(grid);
    App_State.Copy_Row_Buffer.clear();
    App_State.Copy_Row_Is_Check.assign(size_t(columns), false);
    for (int c = 1; c <= columns; ++c) {
        if (grid.HasCheckBox(c, row)) {
            App_State.Copy_Row_Is_Check[size_t(c - 1)] = true;
            App_State.Copy_Row_Buffer.append(grid.IsChecked(c, row) ? QStringLiteral("Y") : QStringLiteral("N"));
        } else {
            App_State.Copy_Row_Buffer.append(grid.Cells(c, row));
        }
    }
}

void Grid_Paste_Row_Checks(TExtStringGrid& grid, int row, bool copied)
{
    if (!IsDataRow(grid, row))
        return;
    CloseEditor(grid);
    const int columns = DataColumnCount(grid);
    if (!MayPaste(columns, copied, copied && CheckRowHoldsData(grid, row)))
        return;
    const std::vector<bool>& isCheck = App_State.Copy_Row_Is_Check;
    for (int c = 1; c <= columns; ++c) {
        const QString& value = App_State.Copy_Row_Buffer.at(c - 1);
        if (size_t(c - 1) < isCheck.size() && isCheck[size_t(c - 1)])
            grid.SetCheckBoxState(c, row, value == QStringLiteral("Y"));
        else
            grid.SetCells(c, row, value);
    }
}

void Grid_DblClick_AutoSize(TExtStringGrid& grid, int row, int column)
{
    if (App_State.Opt_Double_Click_Auto_Size && row == 0)
        grid.AutoSizeCol(column, 0);
}

void Grid_Enter_Next_Cell(TExtStringGrid& grid, QChar& key)
{
    if (!App_State.Opt_Jump_Field_Tables || key != QChar(13))
        return;
    const int col = grid.Col();
    const int row = grid.Row();
    if (col >= 1 && row >= 1) {
        if (col < grid.ColCount() - 1)
            grid.GotoCell(col + 1, row);
        else
            grid.GotoCell(1, row < grid.RowCount() - 1 ? row + 1 : 1);
    }
    key = QChar(0);
}

}  // namespace shell
