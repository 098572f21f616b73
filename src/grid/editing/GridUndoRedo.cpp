#include "grid/editing/GridUndoRedo.h"

namespace grid::editing {

void ReportCellChange(TExtStringGrid& grid, int realCol, int row, const QString& oldValue)
{
    if (TGridUndoRecorder* undo = grid.UndoRedo()) {
        const QString now = grid.Cells(realCol, row);
        if (now != oldValue)
            undo->RegisterChange(realCol, row, now, oldValue);
    }
}

TUndoGroup::TUndoGroup(TExtStringGrid& grid) : FGrid(grid), FRecorder(grid.UndoRedo())
{
    if (FRecorder)
        FRecorder->StartSequence();
}

TUndoGroup::~TUndoGroup()
{
    // A recorder that went away meanwhile gets no stop marker.
    if (FRecorder && FGrid.UndoRedo() == FRecorder)
        FRecorder->StopSequence();
}

TExtGridUndoRedo::~TExtGridUndoRedo() { SetGrid(nullptr); }

void TExtGridUndoRedo::SetGrid(TExtStringGrid* grid)
{
    if (grid == FGrid)
        return;
    if (FGrid && FGrid->UndoRedo() == this)
        FGrid->SetUndoRedo(nullptr);
    FGrid = grid;
    if (FGrid) {
        if (TGridUndoRecorder* other = FGrid->UndoRedo(); other && other != this)
            other->GridDestroyed();
        FGrid->SetUndoRedo(this);
    }
}

void TExtGridUndoRedo::Append(TUndoRedoItem item)
{
    // Undone changes are forgotten once a new one is made.
    FItems.resize(size_t(FLevel));
    if (MaxLevel > 0 && int(FItems.size()) >= MaxLevel)
        FItems.erase(FItems.begin(), FItems.begin() + (int(FItems.size()) - MaxLevel + 1));
    FItems.push_back(std::move(item));
    FLevel = int(FItems.size());
}

void TExtGridUndoRedo::RegisterChange(int ACol, int ARow, const QString& newValue, const QString& oldValue)
{
    Append({ARow, ACol, newValue, oldValue, false, false});
}

void TExtGridUndoRedo::StartSequence() { Append({-1, -1, {}, {}, true, false}); }

void TExtGridUndoRedo::StopSequence() { Append({-1, -1, {}, {}, false, true}); }

void TExtGridUndoRedo::Reset()
{
    FItems.clear();
    FLevel = 0;
}

void TExtGridUndoRedo::Apply(const TUndoRedoItem& item, bool undo)
{
    if (item.Col < 0 || item.Row < 0)
        return;
    TExtStringGrid& g = *FGrid;
    const QString& text = undo ? item.OrigValue : item.Value;
    if (const auto& event = undo ? OnUndo : OnRedo)
        event(this, &g, item.Col, item.Row, g.Cells(item.Col, item.Row), text);
    g.SetCellEx(item.Col, item.Row, text);
    const int c = g.RealToDisplCol(item.Col);
    if (c >= g.FixedCols() && c < g.ColCount() && item.Row >= g.FixedRows() && item.Row < g.RowCount() &&
        !g.IsHiddenColumn(item.Col))
        g.MoveColRow(c, item.Row);
}

void TExtGridUndoRedo::Undo()
{
    if (!FGrid || FLevel <= 0 || int(FItems.size()) < FLevel)
        return;
    if (FItems[size_t(FLevel - 1)].SequenceStop) {
        --FLevel;
        while (FLevel > 0 && !FItems[size_t(FLevel - 1)].SequenceStart) {
            Apply(FItems[size_t(FLevel - 1)], true);
            --FLevel;
        }
        if (FLevel > 0)
            --FLevel;
        FGrid->Invalidate();
        return;
    }
    const TUndoRedoItem& item = FItems[size_t(FLevel - 1)];
    Apply(item, true);
    if (item.Col >= 0 && item.Row >= 0)
        FGrid->RepaintCell(FGrid->RealToDisplCol(item.Col), item.Row);
    --FLevel;
}

void TExtGridUndoRedo::Redo()
{
    if (!FGrid || FLevel >= int(FItems.size()))
        return;
    ++FLevel;
    const TUndoRedoItem& passed = FItems[size_t(FLevel - 1)];
    if (!passed.SequenceStart) {
        Apply(passed, false);
        return;
    }
    // The group's changes up to and past its stop marker; a group never closed ends with the list.
    while (FLevel < int(FItems.size())) {
        ++FLevel;
        const TUndoRedoItem& item = FItems[size_t(FLevel - 1)];
        if (item.SequenceStop)
            break;
        Apply(item, false);
    }
    FGrid->Invalidate();
}

}  // namespace grid::editing
