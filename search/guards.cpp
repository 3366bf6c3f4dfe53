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

namespace {

// A value of the volume's key, else of BitBucket itself.
std::optional<std::uint32_t> bin_setting(platform::Registry& registry, const std::optional<std::string>& volume,
                                         const char* name) {
    const std::string global = kBitBucketKey;
    if (volume) {
        if (auto key = registry.open(platform::Root::current_user, global + "\\Volume\\" + *volume,
                                     platform::KeyAccess::read)) {
            if (auto value = (*key)->read_dword(name)) return value;
        }
    }
    auto key = registry.open(platform::Root::current_user, global, platform::KeyAccess::read);
    if (!key) return std::nullopt;
    return (*key)->read_dword(name);
}

}  // namespace

bool recycle_bin_takes(platform::FileSystem& fs, platform::Registry& registry, const std::string& path) {
    const auto full = platform::full_path(path);
    if (!full || full->size() < 3 || (*full)[1] != ':') return false;
    const std::string root = full->substr(0, 3);
    if (fs.drive_type(root) != platform::DriveType::fixed) return false;
    const auto volume = fs.volume_guid(root);
    if (bin_setting(registry, volume, "NukeOnDelete").value_or(0) != 0) return false;
    const auto capacity = bin_setting(registry, volume, "MaxCapacity");
    if (!capacity) return true;
    const auto entry = fs.entry(*full);
    return !entry || entry->size <= std::uint64_t{*capacity} * 1024 * 1024;
}

}  // namespace search
