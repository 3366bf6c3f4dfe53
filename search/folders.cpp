#include "search/folders.h"

#include <algorithm>

#include "platform/paths.h"
#include "search/area_walk.h"
#include "search/guards.h"

namespace search {

namespace {

const char kIndexDat[] = "index.dat";

// The folder that lists `path`, with its backslash.
std::string listing_folder(const std::string& path, const platform::DirEntry& entry) {
    return path.substr(0, path.size() - entry.name.size());
}

}  // namespace

void walk_tree(platform::FileSystem& fs, platform::Pump& pump, const std::string& folder, const TreeVisitor& visit,
               const platform::StopRequest& stop) {
    // The one walker of the program, with the visitor as its rules.
    WalkRules rules;
    rules.folder_passes = [&](const std::string& path, const platform::DirEntry& entry, bool) {
        return visit(listing_folder(path, entry), entry);
    };
    rules.file_passes = [&](const std::string& path, const platform::DirEntry& entry) {
        visit(listing_folder(path, entry), entry);
        return false;
    };
    std::vector<Found> unused;
    AreaWalk(fs, pump, stop, std::move(rules)).walk(folder, unused);
}

BuiltLocation TempFolderPath(platform::System& system, platform::FileSystem& fs, const KeptFolders& kept) {
    std::string value;
    for (const auto& [name, text] : system.environment())
        if (name == "TEMP") value = text;
    const auto full = platform::full_path(value);
    return build_location(fs, full ? LongPathName(fs, *full) : value, {}, LocationKind::folder, kept);
}

std::string LongPathName(platform::FileSystem& fs, const std::string& path) {
    return platform::long_path_name(fs, path);
}

std::uint64_t FolderSize(platform::FileSystem& fs, platform::Pump& pump, const std::string& folder) {
    std::uint64_t total = 0;
    walk_tree(fs, pump, folder, [&](const std::string&, const platform::DirEntry& entry) {
        if (entry.name == kIndexDat) return false;
        if (!entry.is_directory()) total += entry.size;
        return true;
    });
    return total;
}

std::vector<std::string> ListFilesInTree(platform::FileSystem& fs, platform::Pump& pump, const std::string& folder,
                                         bool with_path, bool with_folders) {
    std::vector<std::string> files;
    walk_tree(fs, pump, folder, [&](const std::string& listed, const platform::DirEntry& entry) {
        if (entry.name == kIndexDat) return false;
        if (!entry.is_directory() || with_folders) files.push_back(with_path ? listed + entry.name : entry.name);
        return true;
    });
    return files;
}

std::vector<std::string> ListAllFilesInTree(platform::FileSystem& fs, platform::Pump& pump, const std::string& folder) {
    std::vector<std::string> files;
    walk_tree(fs, pump, folder, [&](const std::string& listed, const platform::DirEntry& entry) {
        if (!entry.is_directory()) files.push_back(listed + entry.name);
        return true;
    });
    return files;
}

std::vector<std::string> ListSubfoldersInTree(platform::FileSystem& fs, platform::Pump& pump, const std::string& folder,
                                              bool with_path) {
    std::vector<std::string> folders;
    walk_tree(fs, pump, folder, [&](const std::string& listed, const platform::DirEntry& entry) {
        if (entry.is_directory()) folders.push_back(with_path ? listed + entry.name : entry.name);
        return true;
    });
    return folders;
}

void SortByLengthDescending(std::vector<std::string>& list) {
    std::stable_sort(list.begin(), list.end(),
                     [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
}

std::uint64_t FileSizeOf(platform::FileSystem& fs, const std::string& path) {
    const auto found = fs.entry(path);
    return found && !found->is_directory() ? found->size : 0;
}

std::uint64_t SumFileSizes(platform::FileSystem& fs, const std::vector<std::string>& files) {
    std::uint64_t total = 0;
    for (const auto& file : files) total += FileSizeOf(fs, file);
    return total;
}

platform::Status delete_file_retrying(platform::FileSystem& fs, const std::string& path) {
    if (fs.delete_file(path)) return platform::Status::success();
    static_cast<void>(fs.set_attributes(path, 0));  // the second delete tells
    return fs.delete_file(path);
}

platform::Status delete_file_inside(platform::FileSystem& fs, const Location& location, const std::string& file) {
    const auto full = platform::full_path(file);
    if (!full || !location.holds(*full)) return platform::Status::failure(file + ": вне очищаемой папки");
    return delete_file_retrying(fs, *full);
}

void clean_tree(platform::FileSystem& fs, platform::Pump& pump, const Location& location) {
    if (location.kind() != LocationKind::folder) return;
    auto folders = ListSubfoldersInTree(fs, pump, location.path(), true);
    SortByLengthDescending(folders);
    for (const auto& file : ListFilesInTree(fs, pump, location.path(), true, false)) {
        pump.serve();
        static_cast<void>(delete_file_inside(fs, location, file));  // what resists stays
    }
    for (const auto& sub : folders) {
        pump.serve();
        const auto full = platform::full_path(sub);
        // A folder still holding a file stays; a link is removed as a link.
        if (full && location.holds(*full)) static_cast<void>(fs.remove_folder(*full));
    }
}

}  // namespace search
