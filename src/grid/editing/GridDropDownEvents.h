#pragma once

namespace grid::editing {

// The grid drop-down passes on the events that the editing layer raises for its inner grid
// (links, sorting by click, sizing and moving by mouse, rows and columns added while editing,
// editor properties). RegisterGridEditing calls it.
void RegisterGridDropDownEvents();

}  // namespace grid::editing
