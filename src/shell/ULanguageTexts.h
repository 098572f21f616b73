#pragma once
#include <cstddef>

namespace shell {

// One built-in English text of the text table; Text is UTF-8.
struct BuiltinText {
    int Index;
    const char* Text;
};

// Sorted by index; indices without a built-in text are absent (they hold a single blank).
extern const BuiltinText Builtin_Text_Entries[];
extern const std::size_t Builtin_Text_Count;

}  // namespace shell
