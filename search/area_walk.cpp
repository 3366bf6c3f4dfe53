#include "search/area_walk.h"

#include "search/folded.h"

namespace search {

namespace {

bool enterable(const platform::DirEntry& entry) { return entry.is_directory() && !entry.is_reparse_point(); }

}  // namespace

std::string windows_folder(platform::Registry& registry) {
    auto key = registry.open(platform::Root::local_machine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                             platform::KeyAccess::read);
    if (!key) return {};
    return (*key)->read_string("SystemRoot").value_or("");
}

void AreaWalk::walk_area(const std::vector<char>& drives, const std::vector<std::string>& area_folders,
                         std::vector<Found>& collected, WalkProgress& progress) {
    std::vector<std::string> walk_folders;
    for (char letter : drives) drive_pass(letter, collected, walk_folders);
    walk_folders.insert(walk_folders.end(), area_folders.begin(), area_folders.end());
    progress.walk_started(walk_folders.size(), walk_folders.empty() ? std::string() : walk_folders.front());
    for (std::size_t i = 0; i < walk_folders.size(); ++i) {
        pump_.serve();
        if (stop_.requested()) break;
        progress.walking(i, walk_folders[i]);
        walk(walk_folders[i], collected);
    }
}

bool is_recycle_bin_folder(std::string_view name) { return name == "RECYCLER" || equal_folded(name, "$Recycle.Bin"); }

void AreaWalk::drive_pass(char letter, std::vector<Found>& collected, std::vector<std::string>& walk_folders) {
    const std::string root = std::string(1, letter) + ":\\";
    std::vector<std::string> first_level;
    // A folder that cannot be listed adds nothing to a search.
    static_cast<void>(fs_.enumerate(root, [&](const platform::DirEntry& entry) {
        const std::string path = root + entry.name;
        if (entry.is_directory()) {
            if (enterable(entry) && rules_.folder_passes(path, entry, true)) first_level.push_back(path + '\\');
        } else if (rules_.file_passes(path, entry)) {
            collected.push_back({path, entry});
        }
        return true;
    }));
    for (const auto& folder : first_level) {
        if (stop_.requested()) return;
        static_cast<void>(fs_.enumerate(folder, [&](const platform::DirEntry& entry) {
            pump_.serve();
            if (stop_.requested()) return false;
            const std::string path = folder + entry.name;
            if (entry.is_directory()) {
                if (enterable(entry) && rules_.folder_passes(path, entry, false)) walk_folders.push_back(path);
            } else if (rules_.file_passes(path, entry)) {
                collected.push_back({path, entry});
            }
            return true;
        }));
    }
}

void AreaWalk::walk(const std::string& folder, std::vector<Found>& collected) {
    std::string prefix = folder;
    if (prefix.empty() || prefix.back() != '\\') prefix += '\\';
    const platform::Status listed = fs_.enumerate(prefix, [&](const platform::DirEntry& entry) {
        pump_.serve();
        if (stop_.requested()) return false;
        const std::string path = prefix + entry.name;
        if (rules_.entry_listed) rules_.entry_listed(path, entry);
        if (!entry.is_directory()) {
            if (rules_.file_passes(path, entry)) collected.push_back({path, entry});
        } else if (enterable(entry) && rules_.folder_passes(path, entry, false)) {
            walk(path, collected);
        }
        return true;
    });
    if (rules_.folder_listed && !stop_.requested()) rules_.folder_listed(folder, listed);
}

}  // namespace search
