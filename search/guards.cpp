#include "search/guards.h"

#include "platform/paths.h"

namespace search {

namespace {

// The length of "\\server\share" at the start of a network path, 0 otherwise.
std::size_t network_root_length(std::string_view path) {
    if (path.substr(0, 2) != "\\\\") return 0;
    const std::size_t server_end = path.find('\\', 2);
    if (server_end == std::string_view::npos || server_end == 2) return 0;
    const std::size_t share_end = path.find('\\', server_end + 1);
    if (share_end == server_end + 1) return 0;
    return share_end == std::string_view::npos ? path.size() : share_end;
}

// A "." or ".." component could make a root of anything.
bool has_dot_component(std::string_view path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        const auto part = path.substr(start, end - start);
        if (part == "." || part == "..") return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

bool is_drive_root(std::string_view path) {
    if (platform::is_drive_root(std::string(path))) return true;
    const std::size_t root = network_root_length(path);
    return root > 0 && (path.size() == root || (path.size() == root + 1 && path[root] == '\\'));
}

std::optional<CleanableFolder> CleanableFolder::check(platform::FileSystem& fs, const std::string& path) {
    if (!platform::is_absolute_path(path) || is_drive_root(path) || has_dot_component(path) || !fs.is_existing_folder(path))
        return std::nullopt;
    return CleanableFolder(path);
}

}  // namespace search
