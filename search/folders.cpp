#include "search/folders.h"

#include <algorithm>
#include <unordered_map>

#include "platform/paths.h"
#include "search/area_walk.h"
#include "search/folded.h"
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

std::vector<std::optional<std::uint32_t>> listed_attributes(platform::FileSystem& fs,
                                                            const std::vector<std::string>& paths) {
    std::vector<std::optional<std::uint32_t>> attributes(paths.size());
    // The paths by folder, in folded form: folder -> (name, position).
    std::unordered_map<std::string, std::vector<std::pair<std::string, std::size_t>>> by_folder;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        std::string path = paths[i];
        if (path.size() > 3 && path.back() == '\\') path.pop_back();
        const std::size_t cut = path.rfind('\\');
        if (cut == std::string::npos || cut + 1 == path.size()) {
            attributes[i] = fs.attributes(paths[i]);
            continue;
        }
        by_folder[folded(path.substr(0, cut + 1))].emplace_back(folded(path.substr(cut + 1)), i);
    }
    for (const auto& [folder, names] : by_folder) {
        std::unordered_map<std::string, std::uint32_t> listed;
        const std::string& first = paths[names.front().second];
        const std::size_t length = folder.size() > 3 ? folder.size() - 1 : folder.size();  // "C:\" keeps its backslash
        const auto listing = fs.enumerate(first.substr(0, length), [&](const platform::DirEntry& e) {
            if (!e.unrepresentable) listed.emplace(folded(e.name), e.attributes);
            return true;
        });
        for (const auto& [name, i] : names) {
            if (!listing) {
                attributes[i] = fs.attributes(paths[i]);
                // A folder that cannot be listed but is there: what lies in
                // it is not known to be gone.
                if (!attributes[i] && !listing.missing()) attributes[i] = kUnknownAttributes;
            } else if (const auto it = listed.find(name); it != listed.end()) {
                attributes[i] = it->second;
            }
        }
    }
    return attributes;
}

}  // namespace search
