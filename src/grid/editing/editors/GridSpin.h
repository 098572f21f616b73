#pragma once
#include <functional>

#include "grid/editing/editors/EsgSpin.h"
#include "grid/editing/editors/GridEditorHost.h"

namespace grid {
class TExtStringGrid;
}

namespace grid::editors {

// The grid's in-place editor of spin cells (whole, decimal, time and date values). Enter and Tab
// validate and leave, Esc puts the cell's saved text back and leaves, Home and End set the maximum
// and the minimum, and the arrow buttons report their steps.
class TGridSpin : public TEsgSpinEdit {
public:
    explicit TGridSpin(TExtStringGrid& grid, QWidget* parent = nullptr);

    TExtStringGrid& Grid() const { return FGrid; }
    TGridEditorHost Host;
    // A blank text goes into the cell as an empty text instead of a value.
    bool AllowEmptyValue = false;

    // Steps by the arrow buttons, with the new value; up tells the direction.
    std::function<void(int value, bool up)> OnSpinClick;
    std::function<void(double value, bool up)> OnFloatSpinClick;
    std::function<void(double value, bool up)> OnDateSpinClick;  // day numbers
    std::function<void(double value, bool up)> OnTimeSpinClick;

protected:
    void UpClick() override;
    void DownClick() override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Clicked(bool up);
    void Leave(QKeyEvent* event);

    TExtStringGrid& FGrid;
};

}  // namespace grid::editors
