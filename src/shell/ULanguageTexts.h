#pragma once
#include <cstddef>
#include <string_view>

namespace shell {

// One built-in English text of the text table, in UTF-16 so that the table can use it in place.
struct BuiltinText {
    int Index;
    std::u16string_view Text;
};

// Sorted by index; indices without a built-in text are absent (they hold a single blank).
extern const BuiltinText Builtin_Text_Entries[];
extern const std::size_t Builtin_Text_Count;

}  // namespace shell
