#pragma once

namespace grid::editors {
class TCustomExtGridDropDown;
}

namespace grid::editing {

class TGridEditController;

// The grid drop-down dd passes on the events that the editing layer raises for its inner grid
// (links, sorting by click, sizing and moving by mouse, rows and columns added while editing,
// editor properties); a null dd clears them.
void PassDropDownEvents(TGridEditController& ctl, editors::TCustomExtGridDropDown* dd);

}  // namespace grid::editing
