#include "search/guards.h"

#include "platform/paths.h"

namespace search {

bool is_drive_root(std::string_view path) {
    if (path.size() == 3 && path[1] == ':' && path[2] == '\\') return true;
    if (path.substr(0, 2) != "\\\\") return false;
    // "\\server\share" has no backslash after its server's.
    const std::size_t server_end = path.find('\\', 2);
    return server_end != std::string_view::npos && path.find('\\', server_end + 1) == std::string_view::npos;
}

std::optional<CleanableFolder> CleanableFolder::check(platform::FileSystem& fs, const std::string& path) {
    const auto full = platform::full_path(path);
    if (!full || is_drive_root(*full) || !fs.is_existing_folder(*full)) return std::nullopt;
    // A junction or link is judged by where it leads; a place whose end
    // cannot be told is not cleaned.
    const auto target = fs.final_path(*full);
    if (!target) return std::nullopt;
    const auto full_target = platform::full_path(*target);
    if (!full_target || is_drive_root(*full_target)) return std::nullopt;
    return CleanableFolder(*full);
}

std::optional<std::string> deletable_file(const std::string& path) {
    auto full = platform::full_path(path);
    if (!full || is_drive_root(*full)) return std::nullopt;
    return full;
}

bool recycle_bin_takes(platform::FileSystem& fs, const std::string& path) {
    const auto full = platform::full_path(path);
    if (!full || full->size() < 3 || (*full)[1] != ':') return false;
    return fs.drive_type(full->substr(0, 3)) == platform::DriveType::fixed;
}

}  // namespace search
