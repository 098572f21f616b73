#pragma once
#include <QChar>
#include <QCursor>
#include <QPoint>
#include <QString>
#include <functional>
#include <memory>

#include "platform/TCustomControl.h"

class QObject;

namespace grid {

class TExtStringGrid;

// Editing, keyboard and mouse input of a grid live in a library above the core. The grid owns one
// layer, made on first use by the Editing part of the layers its owner gave it (GridLayers.h);
// without one the grid keeps its plain behaviour. The input handlers ask the layer first: an answer of true means the layer
// took the input (it may have run the grid's own handling itself through the grid's Default...
// steps), false lets the grid's own handling run.
class TGridEditLayer {
public:
    explicit TGridEditLayer(TExtStringGrid& grid) : Grid(grid) {}
    virtual ~TGridEditLayer() = default;
    TGridEditLayer(const TGridEditLayer&) = delete;
    TGridEditLayer& operator=(const TGridEditLayer&) = delete;

    TExtStringGrid& Grid;

    // Input of the grid's window (client coordinates, virtual key codes).
    virtual bool KeyDown(int& /*key*/, platform::TShiftState /*shift*/) { return false; }
    virtual bool KeyUp(int& /*key*/, platform::TShiftState /*shift*/) { return false; }
    virtual bool KeyPress(QChar& /*key*/) { return false; }
    virtual bool MouseDown(platform::TMouseButton, platform::TShiftState, int /*x*/, int /*y*/) { return false; }
    virtual bool MouseMove(platform::TShiftState, int /*x*/, int /*y*/) { return false; }
    virtual bool MouseUp(platform::TMouseButton, platform::TShiftState, int /*x*/, int /*y*/) { return false; }
    virtual bool DblClick() { return false; }
    // The mouse left the grid's window; the grid's own handling runs after.
    virtual void MouseLeave() {}
    // The cursor over a client point; false leaves it to the grid.
    virtual bool CursorAt(int /*x*/, int /*y*/, QCursor& /*cursor*/) { return false; }
    // used: whether the wheel turn was used (when the layer took it).
    virtual bool MouseWheel(platform::TShiftState, int /*delta*/, int /*x*/, int /*y*/, bool& /*used*/)
    {
        return false;
    }
    // The grid gets or loses the keyboard focus; the grid's own handling runs after.
    virtual void DoEnter() {}
    virtual void DoExit() {}
    // The hint of the cell under a client point; false leaves the grid's default hint.
    virtual bool CellHint(const QPoint& /*pos*/, platform::THintInfo& /*info*/) { return false; }

    // Whether the display cell may become current; false leaves the answer to the grid.
    virtual bool SelectCell(int /*c*/, int /*r*/, bool& /*allow*/) { return false; }

    // The editing cycle on the current cell.
    virtual void ShowInplaceEdit() {}
    virtual void HideInplaceEdit() {}
    virtual bool InplaceEditorShown() const { return false; }
    virtual bool EditMode() const { return false; }
    // One advance from a cell as Enter does; false lets the grid's plain step run.
    virtual bool AdvanceEdit(int /*c*/, int /*r*/) { return false; }
    // The application's chance to configure the editor of a cell (ACol real), e.g. fill its list.
    virtual void GetEditorProp(int /*realCol*/, int /*r*/) {}
    // Opens the box of the next form control of cell (c display, r) after the one named (the first
    // when empty); false lets the grid take the focus.
    virtual bool FocusNextCellControl(int /*c*/, int /*r*/, const QString& /*afterID*/) { return false; }

    // Rows or columns are about to be inserted, removed or hidden, or the grid scrolled: an open
    // editor must not stay over a cell that moves away.
    virtual void CellsMoving() {}
    virtual void Scrolled() {}
    // The grid's MaxEditLength or EditorLooks changed: an open editor takes them at once.
    virtual void EditorSettingsChanged() {}
    // The plain text of RTF cell text (balloons, saving); false when the layer reads no RTF.
    virtual bool RichToPlain(const QString& /*rtf*/, QString& /*plain*/) { return false; }
    // Whether display cell (c, r) is in the disjunct cell selection the layer keeps.
    virtual bool IsDisjunctCellSelected(int /*c*/, int /*r*/) const { return false; }
    // The display column the user is dragging to a new place, -1 when none; its header shows pressed.
    virtual int MovingColumn() const { return -1; }
    // The grid is the inner grid of a control (a drop-down) whose events of the same meaning take
    // the events this layer raises; null: the control is going and those events are cleared.
    virtual void PassEventsTo(QObject* /*holder*/) {}
};

// Records changes of cell texts for undo (the editing layer's undo component). The grid reports
// its changes there while one is linked; the recorder hears when the grid goes.
class TGridUndoRecorder {
public:
    virtual ~TGridUndoRecorder() = default;
    // ACol real.
    virtual void RegisterChange(int /*ACol*/, int /*ARow*/, const QString& /*newValue*/, const QString& /*oldValue*/) {}
    // Bracket a group of changes that is undone and redone as one.
    virtual void StartSequence() {}
    virtual void StopSequence() {}
    virtual void GridDestroyed() {}
};

}  // namespace grid
