#include "emptydirs/empty_dirs_removal.h"

#include <set>

#include "platform/paths.h"
#include "search/area_walk.h"
#include "search/folders.h"
#include "search/guards.h"

namespace emptydirs {

namespace {

// The length of the root part: "C:" or "\\server\share".
std::size_t root_length(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return 2;
    const std::size_t server_end = path.find('\\', 2);
    if (server_end == std::string::npos) return path.size();
    const std::size_t share_end = path.find('\\', server_end + 1);
    return share_end == std::string::npos ? path.size() : share_end;
}

platform::Status refused(const std::string& folder, const char* why) {
    return platform::Status::failure("Папка \"" + folder + "\" не удалена: " + why + ".");
}

}  // namespace

RemovalKind removal_kind(SearchMode mode) {
    return mode == SearchMode::empty_folders ? RemovalKind::folder_alone : RemovalKind::tree;
}

std::string normalised_path(const std::string& path) {
    std::string text = path;
    for (char& c : text)
        if (c == '/') c = '\\';
    if (!platform::is_absolute_path(text)) return path;
    const std::size_t root_end = root_length(text);
    std::vector<std::string> parts;
    std::size_t start = root_end;
    while (start < text.size()) {
        std::size_t end = text.find('\\', start);
        if (end == std::string::npos) end = text.size();
        std::string part = text.substr(start, end - start);
        start = end + 1;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
        if (!part.empty()) parts.push_back(std::move(part));
    }
    std::string out = text.substr(0, root_end);
    for (const auto& part : parts) out += '\\' + part;
    if (parts.empty()) out += '\\';
    return out;
}

platform::Status remove_found_folder(platform::FileSystem& fs, platform::Pump& pump, const std::string& folder,
                                     RemovalKind kind) {
    const std::string path = normalised_path(folder);
    if (!platform::is_absolute_path(path) || search::is_drive_root(path)) return refused(folder, "недопустимый путь");
    const auto attributes = fs.attributes(path);
    if (!attributes || !(*attributes & platform::attr::directory)) return refused(folder, "папка не найдена");
    if (*attributes & platform::attr::reparse_point) return refused(folder, "это ссылка");

    if (kind == RemovalKind::folder_alone) {
        bool any = false;
        const platform::Status listed = fs.enumerate(path, [&](const platform::DirEntry&) {
            any = true;
            return false;
        });
        if (!listed) return listed;
        if (any) return refused(folder, "папка не пуста");
        return fs.remove_folder(path);
    }

    // Every folder below, links left alone (never entered, never removed
    // through); a folder that cannot be listed stays, and so do the folders
    // around it.
    std::vector<std::string> below;
    std::set<std::string> unreadable;
    search::WalkRules rules;
    rules.folder_passes = [&](const std::string& sub, const platform::DirEntry&, bool) {
        below.push_back(sub);
        return true;
    };
    rules.file_passes = [](const std::string&, const platform::DirEntry&) { return false; };
    rules.folder_listed = [&](const std::string& listed_folder, const platform::Status& listed) {
        if (!listed && fs.attributes(listed_folder)) unreadable.insert(listed_folder);
    };
    const platform::StopRequest never;
    std::vector<search::Found> unused;
    search::AreaWalk(fs, pump, never, rules).walk(path, unused);
    if (unreadable.count(path)) return refused(folder, "папку не удалось прочитать");

    search::SortByLengthDescending(below);
    for (const auto& sub : below) {
        pump.serve();
        if (unreadable.count(sub)) continue;
        // A folder that did not go keeps its parents, and the failure shows
        // when the folder itself stays.
        static_cast<void>(fs.remove_folder(sub));
    }
    return fs.remove_folder(path);
}

}  // namespace emptydirs
