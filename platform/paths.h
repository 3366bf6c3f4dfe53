#pragma once
// Windows path rules shared by both implementations: what counts as an
// absolute path, a drive root, and the folded form used to compare paths.
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// "X:\..." (a drive letter, a colon and a separator) or "\\server\share...".
// Either slash counts as a separator, as Windows takes both.
bool is_absolute_path(const std::string& path);

// "C:\" or "C:" (a drive and nothing else).
bool is_drive_root(const std::string& path);

// The full path Windows makes of an absolute path before it uses it, as
// GetFullPathName does: "/" read as "\", doubled separators folded, "." and
// ".." components resolved (never above the drive or the share), trailing
// dots and blanks of the last component removed, a trailing separator
// dropped (kept after "C:"), a "\\?\" prefix taken off. Every guard judges
// this form and every destructive action then uses it. Nothing for an
// empty, relative or device ("\\.\") path, or a share without a name.
std::optional<std::string> full_path(const std::string& path);

// The folded form, the program's one case folding: "A".."Z" and the cp1251
// capitals 0xC0..0xDF are lowered by adding 32, nothing else changes.
inline char fold_char(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDF) ? static_cast<char>(u + 32) : c;
}
inline std::string folded(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = fold_char(c);
    return out;
}

// The folded form of a path, with "/" turned into "\" and a trailing
// backslash removed (but kept after "C:").
std::string folded_path(const std::string& path);

}  // namespace platform
