#pragma once
// Case-insensitive comparison of paths, names and extensions by the folded
// form of platform/paths.h. The upper form is the reverse mapping for
// "a"-"z" and 0xE0-0xFF.
#include <string>
#include <string_view>

#include "platform/paths.h"

namespace search {

using platform::fold_char;
using platform::folded;

inline char upper_char(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return ((u >= 'a' && u <= 'z') || u >= 0xE0) ? static_cast<char>(u - 32) : c;
}

inline std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = upper_char(c);
    return out;
}

inline bool equal_folded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold_char(a[i]) != fold_char(b[i])) return false;
    return true;
}

}  // namespace search
