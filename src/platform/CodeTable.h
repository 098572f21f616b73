#pragma once
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace platform {

// A code-to-name table with a default for unknown codes, in place of long switch ladders.
// Entries are kept sorted by code; a code given twice keeps its first name.
template <typename Name = std::string_view>
class CodeTable {
public:
    struct Entry {
        uint32_t Code;
        Name Text;
    };

    CodeTable(std::initializer_list<Entry> entries, Name fallback) : Entries(entries), Default(fallback)
    {
        std::stable_sort(Entries.begin(), Entries.end(),
                         [](const Entry& a, const Entry& b) { return a.Code < b.Code; });
        Entries.erase(std::unique(Entries.begin(), Entries.end(),
                                  [](const Entry& a, const Entry& b) { return a.Code == b.Code; }),
                      Entries.end());
    }

    const Name& operator[](uint32_t code) const
    {
        const Entry* found = Find(code);
        return found ? found->Text : Default;
    }
    bool Contains(uint32_t code) const { return Find(code) != nullptr; }
    const std::vector<Entry>& All() const { return Entries; }

private:
    const Entry* Find(uint32_t code) const
    {
        auto it = std::lower_bound(Entries.begin(), Entries.end(), code,
                                   [](const Entry& e, uint32_t c) { return e.Code < c; });
        return it != Entries.end() && it->Code == code ? &*it : nullptr;
    }

    std::vector<Entry> Entries;
    Name Default;
};

}  // namespace platform
