#pragma once
#include <QString>
#include <Qt>
#include <functional>

namespace grid::editors {

// The steps of the grid's editing cycle that an editor control calls; the editing layer fills
// them in. Keys are Qt keys. Every step is optional.
struct TGridEditorHost {
    std::function<bool(const QString&)> Validate;  // writes the text into the current cell and validates it
    std::function<QString()> ValidatedText;        // the value the last validation left
    std::function<void(int key, Qt::KeyboardModifiers)> DoneEdit;  // hides the editor, moves on by the key
    std::function<void()> AdvanceShow;  // after a leaving key: the new current cell's editor, when asked for
    std::function<void()> HideEditor;   // hides the editor (its value is taken back), the grid takes the focus
    std::function<bool()> WantsTab;     // the editor claims Tab
    std::function<bool()> GoTabs;       // Tab moves between the grid's cells
    std::function<void(bool backward)> TabStep;  // hides the editor and moves by Tab
    std::function<QString()> CellCache;          // the cell's text when editing began
    std::function<QString()> CurrentCellText;    // the current cell's stored text
    std::function<void(const QString&)> SetCurrentCell;
    std::function<QString(const QString&)> EllipsClick;
    std::function<void(int key, Qt::KeyboardModifiers)> GridKey;  // the grid handles the key itself
    // Left at the start or Right at the end of the text: the editor's text is taken and the
    // neighbouring cell becomes current.
    std::function<void(bool right)> CursorWalk;
};

}  // namespace grid::editors
