#include "emptydirs/empty_dirs_search.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "platform/paths.h"
#include "search/area_walk.h"

namespace emptydirs {

namespace {

const char kModeFile[] = "ed_empty.txt";
constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();


// A folder path without its trailing backslashes, a drive root kept whole.
std::string without_trailing_backslash(std::string path) {
    while (path.size() > 1 && path.back() == '\\' && !platform::is_drive_root(path)) path.pop_back();
    return path;
}

bool is_link(platform::FileSystem& fs, const std::string& path) {
    const auto attributes = fs.attributes(path);
    return attributes && (*attributes & platform::attr::reparse_point);
}

// One recursive walk of a walk folder, kept as its folders in walk order
// (each folder before the folders inside it), with what each one holds.
// Every folder is listed once: whether a subtree holds a file is gathered
// on the way back up, never by walking the subtree again.
class FolderTree {
public:
    FolderTree(const EmptyDirsSettings& settings, platform::FileSystem& fs, platform::Pump& pump,
               const platform::StopRequest& stop)
        : settings_(settings), fs_(fs), walk_(fs, pump, stop, rules()) {}

    void walk(const std::string& folder) {
        nodes_.clear();
        open_.clear();
        add(folder, kNone, false);
        walk_.walk(folder, unused_);
    }

    std::size_t size() const { return nodes_.size(); }
    const std::string& path(std::size_t node) const { return nodes_[node].path; }

    // What the search reports below a folder of the tree, in walk order.
    // Folders whose listing was cut short by a stop are never reported.
    void rows_below(std::size_t top, std::vector<std::string>& rows) const {
        const std::size_t end = std::min(nodes_[top].end, nodes_.size());
        if (settings_.mode == SearchMode::empty_folders) {
            for (std::size_t i = top + 1; i < end; ++i)
                if (nodes_[i].done && !nodes_[i].has_entry) rows.push_back(nodes_[i].path);
            return;
        }
        // Topmost empty trees: a folder is looked at when its parent is the
        // top, or was looked at and holds a file and is not excluded.
        std::vector<char> looked_at(end - top, 0);
        looked_at[0] = 1;
        for (std::size_t i = top + 1; i < end; ++i) {
            const Node& node = nodes_[i];
            const Node& parent = nodes_[node.parent];
            const bool looked = node.parent == top || (looked_at[node.parent - top] && !parent.excluded &&
                                                       holds_file(parent));
            if (!looked) continue;
            looked_at[i - top] = 1;
            if (!node.excluded && !holds_file(node)) rows.push_back(node.path);
        }
    }

private:
    struct Node {
        std::string path;
        std::size_t parent;
        std::size_t end = kNone;  // one past its last descendant, once listed
        bool excluded = false;
        bool done = false;       // listed to the end
        bool has_entry = false;  // any entry at all
        bool holds = false;      // a file (or a link, or an unreadable folder) somewhere below
    };

    // A folder whose listing did not end is taken to hold something.
    static bool holds_file(const Node& node) { return node.holds || !node.done; }

    void add(std::string path, std::size_t parent, bool excluded) {
        open_.push_back(nodes_.size());
        nodes_.push_back({std::move(path), parent});
        nodes_.back().excluded = excluded;
    }

    search::WalkRules rules() {
        search::WalkRules r;
        r.folder_passes = [this](const std::string& path, const platform::DirEntry& entry, bool) {
            // A name without a cp1251 spelling names nothing that can be
            // listed: its parent holds it (entry_listed), and it is not entered.
            if (entry.unrepresentable) return false;
            const bool excluded = settings_.exclusions.folder_excluded(path, entry.name);
            // Below a walk folder excluded folders are never entered in
            // empty-folder mode; in empty-tree mode deeper ones are, since
            // their files keep the folders around them from being empty.
            if (excluded && (settings_.mode == SearchMode::empty_folders || open_.size() == 1)) return false;
            add(path, open_.back(), excluded);
            return true;
        };
        r.file_passes = [](const std::string&, const platform::DirEntry&) { return false; };
        r.entry_listed = [this](const std::string&, const platform::DirEntry& entry) {
            Node& node = nodes_[open_.back()];
            node.has_entry = true;
            // A link is never entered, so what it leads to is unknown; nor is
            // a folder whose name has no cp1251 spelling.
            if (!entry.is_directory() || entry.is_reparse_point() || entry.unrepresentable) node.holds = true;
        };
        r.folder_listed = [this](const std::string&, const platform::Status& listed) {
            const std::size_t index = open_.back();
            open_.pop_back();
            Node& node = nodes_[index];
            node.done = true;
            node.end = nodes_.size();
            // A folder that cannot be read is neither empty nor an empty
            // tree: what it holds is unknown. Only one that is not there (it
            // went since its parent was listed) holds nothing.
            if (!listed.ok() && !(listed.missing() && !fs_.attributes(node.path))) node.has_entry = node.holds = true;
            if (!open_.empty() && node.holds) nodes_[open_.back()].holds = true;
        };
        return r;
    }

    const EmptyDirsSettings& settings_;
    platform::FileSystem& fs_;
    search::AreaWalk walk_;
    std::vector<Node> nodes_;
    std::vector<std::size_t> open_;  // the folders being listed, innermost last
    std::vector<search::Found> unused_;
};

}  // namespace

EmptyDirsSettings EmptyDirsSettings::load(const store::DataFolder& data, platform::Registry& registry,
                                          std::vector<char> drives) {
    EmptyDirsSettings s;
    s.mode = stored_mode(data);
    s.drives = std::move(drives);
    s.area_folders = data.read_lines("ed_dirs.txt");

    auto full_folders = data.read_lines("ed_dirs_ex.txt");
    const std::string windows = without_trailing_backslash(search::windows_folder(registry));
    // An empty entry would exclude every folder by the prefix rule.
    if (!windows.empty()) full_folders.push_back(windows);
    auto names = data.read_lines("ed_shortdirs_ex.txt");
    for (const char* name : {"System Volume Information", "Temp", "Temporary Internet Files", "Cache", "Default User",
                             "Recent", "Cookies", "NetHood", "PrintHood", "MSOCache", "Microsoft", "Microsoft Office",
                             "Microsoft Shared"})
        names.emplace_back(name);
    s.exclusions = search::Exclusions(full_folders, names, {}, {});
    return s;
}

SearchMode EmptyDirsSettings::stored_mode(const store::DataFolder& data) {
    return data.marker(kModeFile) ? SearchMode::empty_folders : SearchMode::empty_trees;
}

void EmptyDirsSettings::store_mode(const store::DataFolder& data, SearchMode mode) {
    if (mode == SearchMode::empty_folders) data.rewrite(kModeFile, {});
    else data.remove(kModeFile);
}

bool is_empty_folder(platform::FileSystem& fs, const std::string& folder) {
    bool any = false;
    const platform::Status listed = fs.enumerate(folder, [&](const platform::DirEntry&) {
        any = true;
        return false;
    });
    if (listed) return !any;
    return listed.missing() && !fs.attributes(folder);
}

EmptyDirsResult run_empty_dirs_search(const EmptyDirsSettings& settings, platform::Platform& platform,
                                      platform::Pump& pump, const platform::StopRequest& stop,
                                      search::WalkProgress& progress) {
    auto& fs = platform.fs;

    // The top walks: each drive's first-level folders, then their
    // second-level folders; the drive root's recycle bin is skipped.
    std::vector<std::string> walk_folders;
    {
        std::vector<std::string> first_level;
        search::WalkRules top;
        top.folder_passes = [&](const std::string& path, const platform::DirEntry& entry, bool in_drive_root) {
            if (in_drive_root && search::is_recycle_bin_folder(entry.name)) return false;
            // Its parent holds it; the folder itself cannot be listed.
            if (entry.unrepresentable) return false;
            if (settings.exclusions.folder_excluded(path, entry.name)) return false;
            if (in_drive_root) first_level.push_back(path);
            return true;
        };
        top.file_passes = [](const std::string&, const platform::DirEntry&) { return false; };
        search::AreaWalk drives(fs, pump, stop, top);
        std::vector<search::Found> unused;
        for (char letter : settings.drives) {
            first_level.clear();
            std::vector<std::string> second_level;
            drives.drive_pass(letter, unused, second_level);
            walk_folders.insert(walk_folders.end(), first_level.begin(), first_level.end());
            walk_folders.insert(walk_folders.end(), second_level.begin(), second_level.end());
        }
    }
    for (const auto& folder : settings.area_folders) walk_folders.push_back(without_trailing_backslash(folder));
    progress.walk_started(walk_folders.size(), walk_folders.empty() ? std::string() : walk_folders.front());

    EmptyDirsResult result;
    std::vector<std::string> rows;

    // A folder that has no entry is reported itself in empty-folder mode.
    if (settings.mode == SearchMode::empty_folders) {
        for (const auto& folder : walk_folders) {
            pump.serve();
            if (!is_link(fs, folder) && is_empty_folder(fs, folder)) rows.push_back(folder);
        }
    }

    // The second-level folders lie inside the first-level ones, and area
    // folders may lie inside anything: what is found below a walk folder
    // that is walked later is kept from the first walk that met it.
    std::unordered_map<std::string, std::size_t> last_walked;
    for (std::size_t i = 0; i < walk_folders.size(); ++i) last_walked[walk_folders[i]] = i;
    std::unordered_map<std::string, std::vector<std::string>> found_below;

    FolderTree tree(settings, fs, pump, stop);
    for (std::size_t i = 0; i < walk_folders.size() && !result.stopped; ++i) {
        pump.serve();
        if (stop.requested()) {
            result.stopped = true;
            break;
        }
        const std::string& folder = walk_folders[i];
        progress.walking(i, folder);
        std::vector<std::string> below;
        if (auto kept = found_below.find(folder); kept != found_below.end()) {
            below = kept->second;
            if (last_walked[folder] == i) found_below.erase(kept);
        } else if (!is_link(fs, folder)) {
            tree.walk(folder);
            tree.rows_below(0, below);
            for (std::size_t node = 0; node < tree.size(); ++node) {
                const auto later = last_walked.find(tree.path(node));
                if (later != last_walked.end() && later->second > i && !found_below.count(tree.path(node)))
                    tree.rows_below(node, found_below[tree.path(node)]);
            }
        }
        if (settings.mode == SearchMode::empty_trees) {
            rows.insert(rows.end(), below.begin(), below.end());
            result.stopped = stop.requested();
            continue;
        }
        for (auto& row : below) {
            pump.serve();
            if (stop.requested()) {
                result.stopped = true;
                break;
            }
            rows.push_back(std::move(row));
        }
    }

    // Each folder once, at its first place.
    std::unordered_set<std::string> seen;
    seen.reserve(rows.size());
    for (auto& row : rows)
        if (seen.insert(row).second) result.rows.push_back({std::move(row)});
    return result;
}

}  // namespace emptydirs
