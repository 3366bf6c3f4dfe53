#include "shortcuts/broken_link_removal.h"

#include "platform/paths.h"
#include "search/guards.h"

namespace shortcuts {

namespace {

// An absolute path of an existing file that no "." or ".." can turn into
// something else.
platform::Status check_link_file(platform::FileSystem& fs, const std::string& path) {
    bool dot_part = false;
    for (std::size_t start = 0; start <= path.size();) {
        std::size_t end = path.find_first_of("\\/", start);
        if (end == std::string::npos) end = path.size();
        const auto part = std::string_view(path).substr(start, end - start);
        dot_part = dot_part || part == "." || part == "..";
        start = end + 1;
    }
    if (!platform::is_absolute_path(path) || search::is_drive_root(path) || dot_part)
        return platform::Status::failure("Путь к ярлыку должен быть полным: " + path);
    const auto attributes = fs.attributes(path);
    if (!attributes || (*attributes & platform::attr::directory))
        return platform::Status::failure("Ярлык не найден: " + path);
    return platform::Status::success();
}

}  // namespace

platform::Status delete_link(platform::Platform& platform, const std::string& path, bool to_recycle_bin) {
    if (auto checked = check_link_file(platform.fs, path); !checked) return checked;
    if (to_recycle_bin) return platform.shell.delete_to_recycle_bin(path);
    if (auto cleared = platform.fs.set_attributes(path, 0); !cleared) return cleared;
    return platform.fs.delete_file(path);
}

platform::Status repair_link(platform::Platform& platform, const std::string& path, const std::string& new_target) {
    if (auto checked = check_link_file(platform.fs, path); !checked) return checked;
    if (new_target.empty()) return platform::Status::failure("Новое значение ссылки не задано.");
    return platform.links.write(path, new_target, "", "");
}

}  // namespace shortcuts
