#include "duplicates/duplicate_removal.h"

#include "platform/paths.h"
#include "search/guards.h"

namespace duplicates {

namespace {

bool has_dot_component(const std::string& path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("\\/", start);
        if (end == std::string::npos) end = path.size();
        const auto part = std::string_view(path).substr(start, end - start);
        if (part == "." || part == "..") return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

platform::Status delete_copy(platform::FileSystem& fs, const std::string& path) {
    if (!platform::is_absolute_path(path) || search::is_drive_root(path) || has_dot_component(path))
        return platform::Status::failure("Недопустимый путь к файлу: \"" + path + "\"");
    const auto entry = fs.entry(path);
    if (!entry) return platform::Status::failure("Файл не найден: \"" + path + "\"");
    if (entry->is_directory() || entry->is_reparse_point())
        return platform::Status::failure("Это не файл: \"" + path + "\"");
    return fs.delete_file(path);
}

}  // namespace duplicates
