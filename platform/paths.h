#pragma once
// Windows path rules shared by both implementations: what counts as an
// absolute path, a drive root, and the folded form used to compare paths.
#include <string>

namespace platform {

// "X:\..." (a drive letter, a colon and a separator) or "\\server\share...".
// Either slash counts as a separator, as Windows takes both.
bool is_absolute_path(const std::string& path);

// "C:\" or "C:" (a drive and nothing else).
bool is_drive_root(const std::string& path);

// A path with "A".."Z" and the cp1251 capitals 0xC0..0xDF lowered, "/" turned
// into "\" and a trailing backslash removed (but kept after "C:").
std::string folded_path(const std::string& path);

}  // namespace platform
