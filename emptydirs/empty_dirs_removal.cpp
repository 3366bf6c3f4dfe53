#include "emptydirs/empty_dirs_removal.h"

#include <set>

#include "platform/paths.h"
#include "search/area_walk.h"
#include "search/folders.h"
#include "search/guards.h"

namespace emptydirs {

namespace {

platform::Status refused(const std::string& folder, const char* why) {
    return platform::Status::failure("Папка \"" + folder + "\" не удалена: " + why + ".");
}

}  // namespace

RemovalKind removal_kind(SearchMode mode) {
    return mode == SearchMode::empty_folders ? RemovalKind::folder_alone : RemovalKind::tree;
}

platform::Status remove_found_folder(platform::FileSystem& fs, platform::Pump& pump, const std::string& folder,
                                     RemovalKind kind) {
    const auto full = search::deletable_file(folder);
    if (!full) return refused(folder, "недопустимый путь");
    const std::string& path = *full;
    const auto attributes = fs.attributes(path);
    if (!attributes || !(*attributes & platform::attr::directory)) return refused(folder, "папка не найдена");
    if (*attributes & platform::attr::reparse_point) return refused(folder, "это ссылка");

    // The removal itself refuses a folder that holds anything, hidden and
    // system entries included (a listing first would only cost a second
    // opening of the folder).
    if (kind == RemovalKind::folder_alone) return fs.remove_folder(path);

    // Every folder below, links left alone (never entered, never removed
    // through); a folder that cannot be listed stays, and so do the folders
    // around it.
    std::vector<std::string> below;
    std::set<std::string> unreadable;
    search::WalkRules rules;
    rules.folder_passes = [&](const std::string& sub, const platform::DirEntry& entry, bool) {
        if (entry.unrepresentable) return false;  // its parent stays (entry_listed)
        below.push_back(sub);
        return true;
    };
    rules.file_passes = [](const std::string&, const platform::DirEntry&) { return false; };
    rules.entry_listed = [&](const std::string& sub, const platform::DirEntry& entry) {
        if (entry.unrepresentable) unreadable.insert(sub.substr(0, sub.rfind('\\')));
    };
    rules.folder_listed = [&](const std::string& listed_folder, const platform::Status& listed) {
        if (!listed && !(listed.missing() && !fs.attributes(listed_folder))) unreadable.insert(listed_folder);
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
