#pragma once
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>

#include "grid/core/GridTypes.h"

namespace grid {
class TExtStringGrid;
}

namespace grid::editing {

class TGridEditController;

// The editors of the types the text editor does not serve: opening over a cell with the cell's
// value, and taking the value back when they close. The widgets are made on first use by the
// registered maker of their type (plain Qt controls when none is registered) and live as long
// as the grid; the combo editors are QComboBox, the check box QAbstractButton with a check,
// the spin editors QAbstractSpinBox (QSpinBox for whole numbers), the button QAbstractButton.
class TSpecialEditors {
public:
    using TMaker = std::function<QWidget*(TExtStringGrid& grid, QWidget* parent)>;
    // The maker of an editor type's widget for every grid from now on.
    static void RegisterEditor(TEditorType type, TMaker maker);

    explicit TSpecialEditors(TGridEditController& controller);
    ~TSpecialEditors();

    // The widget of an editor type, made on first use; null for types without one here.
    QWidget* Editor(TEditorType type);
    // Opens the editor of the controller's edit type over the base cell of the display cell.
    void ShowSpecialEditor(int c, int r);
    // Takes the value back for the display cell and hides the editor.
    void HideSpecialEditor(int c, int r);
    // Whether this layer has an editor for the type; other types open nothing.
    static bool Serves(TEditorType type);

private:
    TGridEditController& FController;
    TExtStringGrid& FGrid;
    std::map<int, QPointer<QWidget>> FEditors;
    bool FComboTouched = false;  // the user picked an item of the open list
};

}  // namespace grid::editing
