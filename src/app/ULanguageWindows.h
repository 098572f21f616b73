#pragma once
#include <typeindex>
#include <vector>

// The windows, other than the main one, whose texts follow a language change, in the order they
// re-apply them. Those that do not exist yet take the new texts when they are created.
const std::vector<std::type_index>& Language_Windows();
