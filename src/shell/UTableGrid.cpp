#include "shell/UTableGrid.h"

#include "grid/core/ExtColumnGrid.h"
#include "shell/ULanguage.h"

namespace shell {

namespace {

grid::TEditorType Editor_Of(Cell_Editor kind)
{
    switch (kind) {
    case Cell_Editor::Check: return grid::edDataCheckBox;
    case Cell_Editor::List: return grid::edComboList;
    case Cell_Editor::Editable_List: return grid::edComboEdit;
    default: return grid::edNormal;
    }
}

}  // namespace

void Build_Table_Grid(grid::TExtColumnGrid& grid, const Table_Description& table)
{
    const int columns = int(table.Columns.size());
    // Cells hold what the user typed, never mark-up.
    grid.EnableHTML = false;
    grid.SetColCount(columns);
    grid.SetRowCount(table.Capacity + 1);
    grid.SetFixedRows(1);
    grid.SetFixedCols(1);
    grid.SetRowHeights(0, 22);
    grid.Options |= grid::goEditing | grid::goColSizing;
    grid.SetShowHint(true);
    for (int c = 0; c < columns; ++c) {
        const Table_Column& column = table.Columns[size_t(c)];
        grid::TGridColumnItem* item = grid.Columns()[c];
        item->SetEditor(Editor_Of(column.Kind));
        item->ComboItems = column.Items;
        item->DropDownCount = 8;
        if (c == 0)
            item->SetFixed(true);
        if (column.Centred)
            item->SetAlignment(grid::taCenter);
        if (column.Color != platform::clNone)
            item->SetColor(column.Color);
        grid.SetColWidths(c, column.Width);
    }
}

void Apply_Table_Texts(grid::TExtColumnGrid& grid, const Table_Description& table, QStringList& hints)
{
    hints.clear();
    for (int c = 0; c < int(table.Columns.size()); ++c) {
        const Table_Column& column = table.Columns[size_t(c)];
        grid.Columns()[c]->SetHeaderField(Lang(column.Header));
        grid.SetCells(c, 0, Lang(column.Header));
        if (c > 0)
            hints.append(column.Hint ? Lang(column.Hint) : QString());
    }
}

void Clear_Table_Grid(grid::TExtColumnGrid& grid, const Table_Description& table)
{
    // An editor left open by the last show ends before its cell is cleared, not after.
    grid.CellsMoving();
    for (int c = 0; c < int(table.Columns.size()); ++c)
        if (!table.Columns[size_t(c)].Shown)
            grid.HideColumn(c);
    grid.SetRowCount(table.Capacity + 1);
    for (int r = 1; r <= table.Capacity; ++r) {
        const QStringList row = table.Cleared_Row(r);
        for (int c = 0; c < row.size(); ++c)
            grid.SetCells(c, r, row.at(c));
    }
    // The table is new on every show, so the view is too: first row, first column.
    grid.MoveColRow(grid.FixedCols(), grid.FixedRows());
    grid.SetTopRow(grid.FixedRows());
    grid.SetLeftCol(grid.FixedCols());
}

Table_Rows Table_Grid_Rows(grid::TExtColumnGrid& grid, const Table_Description& table)
{
    const int columns = int(table.Columns.size());
    Table_Rows rows;
    rows.reserve(size_t(std::max(0, grid.RowCount() - 1)));
    for (int r = 1; r < grid.RowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < columns; ++c)
            row.append(grid.Cells(c, r));
        rows.push_back(row);
    }
    return rows;
}

void Fill_Table_Grid(grid::TExtColumnGrid& grid, const Table_Rows& rows)
{
    for (int r = 1; r <= int(rows.size()) && r < grid.RowCount(); ++r)
        for (int c = 1; c < rows[size_t(r - 1)].size(); ++c)
            grid.SetCells(c, r, rows[size_t(r - 1)].at(c));
    grid.Invalidate();
}

std::vector<bool> Shown_Table_Columns(grid::TExtColumnGrid& grid, const Table_Description& table)
{
    std::vector<bool> shown;
    for (int c = 0; c < int(table.Columns.size()); ++c)
        shown.push_back(!grid.IsHiddenColumn(c));
    return shown;
}

}  // namespace shell
