#include "platform/paths.h"

namespace platform {

namespace {

bool is_separator(char c) { return c == '\\' || c == '/'; }

bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

bool is_absolute_path(const std::string& path) {
    if (path.size() >= 3 && is_letter(path[0]) && path[1] == ':' && is_separator(path[2])) return true;
    // A network path needs a server name after the two separators.
    return path.size() >= 3 && is_separator(path[0]) && is_separator(path[1]) && !is_separator(path[2]);
}

bool is_drive_root(const std::string& path) {
    if (path.size() < 2 || path.size() > 3 || !is_letter(path[0]) || path[1] != ':') return false;
    return path.size() == 2 || is_separator(path[2]);
}

std::string folded_path(const std::string& path) {
    std::string out = folded(path);
    for (char& c : out)
        if (c == '/') c = '\\';
    if (out.size() > 3 && out.back() == '\\') out.pop_back();
    return out;
}

}  // namespace platform
