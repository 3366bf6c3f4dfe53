#include "platform/paths.h"

#include <algorithm>
#include <vector>

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

std::optional<std::string> full_path(const std::string& input) {
    std::string path = input;
    for (char& c : path)
        if (c == '/') c = '\\';
    // The "\\?\" form names the same place without the rules below.
    if (path.rfind("\\\\?\\UNC\\", 0) == 0) path = "\\\\" + path.substr(8);
    else if (path.rfind("\\\\?\\", 0) == 0) path = path.substr(4);
    if (path.rfind("\\\\.\\", 0) == 0) return std::nullopt;

    std::string root;
    std::size_t pos;
    if (path.size() >= 3 && is_letter(path[0]) && path[1] == ':' && path[2] == '\\') {
        root = path.substr(0, 2);
        root[0] = path[0];
        pos = 3;
    } else if (path.size() >= 3 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\') {
        // "\\server\share": both names needed; the share is part of the root.
        const std::size_t server_end = path.find('\\', 2);
        if (server_end == std::string::npos) return std::nullopt;
        std::size_t share_start = server_end;
        while (share_start < path.size() && path[share_start] == '\\') ++share_start;
        std::size_t share_end = path.find('\\', share_start);
        if (share_end == std::string::npos) share_end = path.size();
        if (share_start == share_end) return std::nullopt;
        root = path.substr(0, server_end) + '\\' + path.substr(share_start, share_end - share_start);
        pos = share_end;
    } else {
        return std::nullopt;
    }

    std::vector<std::string> parts;
    while (pos < path.size()) {
        while (pos < path.size() && path[pos] == '\\') ++pos;
        const std::size_t end = std::min(path.find('\\', pos), path.size());
        std::string part = path.substr(pos, end - pos);
        pos = end;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(std::move(part));
    }
    // Windows ignores trailing dots and blanks of the last name ("x.", "...").
    while (!parts.empty()) {
        std::string& last = parts.back();
        while (!last.empty() && (last.back() == '.' || last.back() == ' ')) last.pop_back();
        if (!last.empty()) break;
        parts.pop_back();
    }

    std::string out = root;
    for (const auto& part : parts) out += '\\' + part;
    if (parts.empty() && root.size() == 2) out += '\\';
    return out;
}

std::string folded_path(const std::string& path) {
    std::string out = folded(path);
    for (char& c : out)
        if (c == '/') c = '\\';
    if (out.size() > 3 && out.back() == '\\') out.pop_back();
    return out;
}

}  // namespace platform
