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

bool RecycleBinRules::takes(const std::string& path) {
    const auto full = platform::full_path(path);
    if (!full || full->size() < 3 || (*full)[1] != ':') return false;
    char letter = (*full)[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 32);
    if (letter < 'A' || letter > 'Z') return false;
    const Drive& d = drive(letter);
    if (!d.has_bin) return false;
    if (!d.capacity) return true;
    const auto entry = fs_.entry(*full);
    return !entry || entry->size <= *d.capacity;
}

const RecycleBinRules::Drive& RecycleBinRules::drive(char letter) {
    auto& known = drives_[letter - 'A'];
    if (known) return *known;
    known = Drive{false, std::nullopt};
    const std::string root = {letter, ':', '\\'};
    if (fs_.drive_type(root) != platform::DriveType::fixed) return *known;
    const auto volume = fs_.volume_guid(root);
    if (bin_setting(registry_, volume, "NukeOnDelete").value_or(0) != 0) return *known;
    known->has_bin = true;
    if (const auto megabytes = bin_setting(registry_, volume, "MaxCapacity"))
        known->capacity = std::uint64_t{*megabytes} * 1024 * 1024;
    return *known;
}

}  // namespace search
