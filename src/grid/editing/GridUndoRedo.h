#pragma once
#include <QString>
#include <functional>
#include <vector>

#include "grid/core/ExtStringGrid.h"

namespace grid::editing {

// One recorded change of a cell text, or a marker that starts or ends a group of changes
// (column and row -1, empty texts).
struct TUndoRedoItem {
    int Row = -1;
    int Col = -1;  // real column
    QString Value;      // the text after the change
    QString OrigValue;  // the text before it
    bool SequenceStart = false;
    bool SequenceStop = false;
};

using TUndoRedoCollection = std::vector<TUndoRedoItem>;

// Records the cell changes a grid reports and undoes or redoes them, singly or by group. Items
// before Level are in effect; a new change after undoing drops the undone items, so a redo never
// brings back a change the user has since replaced.
class TExtGridUndoRedo : public TGridUndoRecorder {
public:
    TExtGridUndoRedo() = default;
    ~TExtGridUndoRedo() override;
    TExtGridUndoRedo(const TExtGridUndoRedo&) = delete;
    TExtGridUndoRedo& operator=(const TExtGridUndoRedo&) = delete;

    // Links the component with a grid (none: unlinks); the grid then reports its changes here.
    void SetGrid(TExtStringGrid* grid);
    TExtStringGrid* Grid() const { return FGrid; }

    const TUndoRedoCollection& Items() const { return FItems; }
    int Level() const { return FLevel; }
    // The most items kept; 0 or less: no limit.
    int MaxLevel = 0;

    // Sender, Grid, Col (real), Row, OrigValue (the cell's text now), NewValue (the text written).
    using TExtGridUndoRedoEvent =
        std::function<void(TExtGridUndoRedo*, TExtStringGrid*, int, int, const QString&, const QString&)>;
    TExtGridUndoRedoEvent OnUndo, OnRedo;

    void RegisterChange(int ACol, int ARow, const QString& newValue, const QString& oldValue) override;
    void StartSequence() override;
    void StopSequence() override;
    void GridDestroyed() override { FGrid = nullptr; }

    bool CanUndo() const { return FLevel > 0; }
    bool CanRedo() const { return FLevel < int(FItems.size()); }
    void Undo();
    void Redo();
    void Reset();

private:
    TExtStringGrid* FGrid = nullptr;
    TUndoRedoCollection FItems;
    int FLevel = 0;
    void Append(TUndoRedoItem item);
    void Apply(const TUndoRedoItem& item, bool undo);
};

// Tells the grid's undo recorder, if one is linked, that a cell (real column) changed from oldValue
// to its present text; nothing is recorded when the text stayed the same.
void ReportCellChange(TExtStringGrid& grid, int realCol, int row, const QString& oldValue);

// Brackets the changes made while it lives as one undo group (when a recorder is linked).
class TUndoGroup {
public:
    explicit TUndoGroup(TExtStringGrid& grid);
    ~TUndoGroup();
    TUndoGroup(const TUndoGroup&) = delete;
    TUndoGroup& operator=(const TUndoGroup&) = delete;

private:
    TExtStringGrid& FGrid;
    TGridUndoRecorder* FRecorder;
};

}  // namespace grid::editing
