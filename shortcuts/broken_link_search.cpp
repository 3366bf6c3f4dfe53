#include "shortcuts/broken_link_search.h"

#include <algorithm>
#include <unordered_set>

#include "platform/paths.h"
#include "platform/shell_link_format.h"
#include "search/area_walk.h"
#include "search/folded.h"

namespace shortcuts {

namespace {

// The shell folders where shortcuts usually live: per user, then common.
struct Location {
    platform::Root root;
    const char* key;
    const char* value;
};
constexpr const char* kUserFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kCommonFolders = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr Location kLocations[] = {
    {platform::Root::current_user, kUserFolders, "SendTo"},
    {platform::Root::current_user, kUserFolders, "Recent"},
    {platform::Root::current_user, kUserFolders, "Programs"},
    {platform::Root::current_user, kUserFolders, "Personal"},
    {platform::Root::current_user, kUserFolders, "Desktop"},
    {platform::Root::local_machine, kCommonFolders, "Common Programs"},
    {platform::Root::local_machine, kCommonFolders, "Common Documents"},
    {platform::Root::local_machine, kCommonFolders, "Common Desktop"},
};

std::string read_value(platform::Registry& registry, platform::Root root, const char* key, const char* value) {
    auto opened = registry.open(root, key, platform::KeyAccess::read);
    if (!opened) return {};
    return (*opened)->read_string(value).value_or("");
}

// Rows in the order found, each path once (exact comparison).
class Rows {
public:
    void add(std::string path, std::string target) {
        if (seen_.insert(path).second) rows_.push_back({std::move(path), std::move(target)});
    }
    std::vector<BrokenLink> take() { return std::move(rows_); }

private:
    std::unordered_set<std::string> seen_;
    std::vector<BrokenLink> rows_;
};

// A file too short to hold a shortcut's header is passed over unopened.
bool may_be_shortcut(const platform::DirEntry& entry) { return entry.size >= platform::kShellLinkHeaderSize; }

void check(const search::Found& file, platform::Platform& platform, Rows& rows) {
    if (!may_be_shortcut(file.entry)) return;
    std::string target = platform.links.read_target(file.path);
    if (!target.empty() && target_is_broken(target, platform.fs)) rows.add(file.path, std::move(target));
}

bool run_own_settings(const BrokenLinkSettings& settings, platform::Platform& platform, platform::Pump& pump,
                      const platform::StopRequest& stop, search::WalkProgress& progress, Rows& rows) {
    search::WalkRules walk_rules;
    walk_rules.folder_passes = [&](const std::string& path, const platform::DirEntry& entry, bool in_drive_root) {
        if (in_drive_root && search::is_recycle_bin_folder(entry.name)) return false;
        return !settings.exclusions.folder_excluded(path, entry.name);
    };
    // Every file is offered to the shortcut reader, whatever its name.
    walk_rules.file_passes = [&](const std::string& path, const platform::DirEntry& entry) {
        return may_be_shortcut(entry) && !platform.links.read_target(path).empty();
    };
    search::AreaWalk walk(platform.fs, pump, stop, walk_rules);

    std::vector<search::Found> candidates;
    std::vector<std::string> walk_folders;
    for (char letter : settings.drives) walk.drive_pass(letter, candidates, walk_folders);
    walk_folders.insert(walk_folders.end(), settings.area_folders.begin(), settings.area_folders.end());
    progress.walk_started(walk_folders.size(), walk_folders.empty() ? std::string() : walk_folders.front());

    for (const auto& candidate : candidates) {
        pump.serve();
        check(candidate, platform, rows);
    }
    for (std::size_t i = 0; i < walk_folders.size(); ++i) {
        pump.serve();
        if (stop.requested()) return true;
        progress.walking(i, walk_folders[i]);
        candidates.clear();
        walk.walk(walk_folders[i], candidates);
        for (const auto& candidate : candidates) {
            pump.serve();
            if (stop.requested()) return true;
            check(candidate, platform, rows);
        }
    }
    return false;
}

bool run_optimal(const BrokenLinkSettings& settings, platform::Platform& platform, platform::Pump& pump,
                 const platform::StopRequest& stop, search::WalkProgress& progress, Rows& rows) {
    search::WalkRules walk_rules;
    walk_rules.folder_passes = [](const std::string&, const platform::DirEntry&, bool) { return true; };
    walk_rules.file_passes = [](const std::string&, const platform::DirEntry&) { return true; };
    search::AreaWalk walk(platform.fs, pump, stop, walk_rules);

    std::vector<search::Found> files;
    for (const auto& location : settings.locations) walk.walk(location, files);
    progress.walk_started(files.size(), files.empty() ? std::string() : files.front().path);

    for (std::size_t i = 0; i < files.size(); ++i) {
        pump.serve();
        if (stop.requested()) return true;
        progress.walking(i, files[i].path);
        check(files[i], platform, rows);
    }
    return false;
}

}  // namespace

BrokenLinkSettings BrokenLinkSettings::load(const store::DataFolder& data, platform::Registry& registry,
                                            std::vector<char> drives) {
    BrokenLinkSettings s;
    s.optimal = data.exists("bl_optimal.txt");
    if (s.optimal) {
        // A missing, empty or relative location would walk nothing sensible.
        for (const auto& location : kLocations) {
            std::string folder = read_value(registry, location.root, location.key, location.value);
            if (platform::is_absolute_path(folder)) s.locations.push_back(std::move(folder));
        }
        return s;
    }
    s.drives = std::move(drives);
    s.area_folders = data.read_lines("bl_dirs.txt");
    const std::string windows =
        read_value(registry, platform::Root::local_machine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot");
    auto full_folders = data.read_lines("bl_dirs_ex.txt");
    for (const char* sub : {"\\Debug", "\\system32\\CatRoot2", "\\system32\\config"}) full_folders.push_back(windows + sub);
    auto short_folders = data.read_lines("bl_shortdirs_ex.txt");
    short_folders.push_back("Quick Launch");
    s.exclusions = search::Exclusions(full_folders, short_folders, {}, {});
    return s;
}

BrokenLinkResult run_broken_link_search(const BrokenLinkSettings& settings, platform::Platform& platform,
                                        platform::Pump& pump, const platform::StopRequest& stop,
                                        search::WalkProgress& progress) {
    Rows rows;
    BrokenLinkResult result;
    result.stopped = settings.optimal ? run_optimal(settings, platform, pump, stop, progress, rows)
                                      : run_own_settings(settings, platform, pump, stop, progress, rows);
    result.rows = rows.take();
    return result;
}

bool target_is_broken(std::string target, platform::FileSystem& fs) {
    if (const auto quote = target.rfind('"'); quote != std::string::npos) target.erase(quote, 25);
    std::erase(target, '"');
    if (const auto slash = target.find('/'); slash != std::string::npos) target.erase(slash, 25);
    if (target.empty() || search::fold_char(target[0]) == 'a') return false;
    if (target.size() < 3 || target.compare(1, 2, ":\\") != 0) return false;
    return !fs.attributes(target).has_value();
}

}  // namespace shortcuts
