#include "registry/reference_search.h"

#include <array>
#include <memory>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "search/area_walk.h"
#include "search/folded.h"
#include "search/registry_walk.h"

namespace registry {

namespace {

// Key path and value name run together, as the skip list compares them.
constexpr std::array<std::string_view, 11> kSkippedValues{
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache\\Paths\\path1CachePath",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache\\Paths\\path2CachePath",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache\\Paths\\path3CachePath",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache\\Paths\\path4CachePath",
    "Software\\RIT\\The Bat!MslOrder",
    "Software\\Harlenk\\vsfilter\\DefTextPathesPath1",
    "Software\\KasperskyLab\\avp6\\profiles\\Anti_Spam\\settingsWhiteListFileName",
    "Software\\Microsoft\\Advanced INF Setup\\IEHomePageInfoBackupFileName",
    "Software\\Microsoft\\Advanced INF Setup\\IEHomePageInfoBackupPath",
    "Software\\Microsoft\\Office\\11.0\\Outlook\\JournalOutlook Item Log File",
    "Software\\Microsoft\\Office\\11.0\\Outlook\\JournalItem Log File",
};

// Characters a plain path never holds after its drive: arguments, quotes,
// environment variables, short names, lists.
constexpr char kNotInPlainPath[] = ":*?\"<>|/~%-;,";

// The class registrations of both roots are never searched.
constexpr char kClassesKey[] = "Software\\Classes";

// Whether paths exist, for one search: drive roots are asked once, and once
// two missing paths lie in one folder, the outermost missing folder above
// them answers for every path below it (the broken references of a removed
// program lie in its folders); folders known to exist end that search.
class PathProbe {
public:
    explicit PathProbe(platform::FileSystem& fs) : fs_(fs) {}

    bool root_exists(std::string_view root) {
        const auto [known, added] = roots_.try_emplace(search::folded(root), false);
        if (added) known->second = fs_.is_existing_folder(std::string(root));
        return known->second;
    }

    bool exists(const std::string& path) {
        // A ".." may lead out of a missing folder.
        const bool plain = path.find("..") == std::string::npos;
        const std::string folded = search::folded(path);
        if (plain && !missing_.empty())
            for (std::size_t cut = folded.find('\\', 3); cut != std::string::npos; cut = folded.find('\\', cut + 1))
                if (missing_.contains(std::string_view(folded).substr(0, cut))) return false;
        const std::size_t parent = path.rfind('\\');
        if (fs_.attributes(path)) {
            if (plain && parent > 2) present_.insert(folded.substr(0, parent));
            return true;
        }
        if (!plain || parent <= 2) return false;
        // A second missing path in one folder: look for the outermost
        // missing folder above them and remember it.
        if (suspects_.insert(folded.substr(0, parent)).second) return false;
        std::size_t outermost = 0;
        for (std::size_t cut = parent; cut != std::string::npos && cut > 2; cut = path.rfind('\\', cut - 1)) {
            const std::string folder = folded.substr(0, cut);
            if (present_.contains(folder)) break;
            if (fs_.attributes(path.substr(0, cut))) {
                present_.insert(folder);
                break;
            }
            outermost = cut;
        }
        if (outermost) missing_.insert(folded.substr(0, outermost));
        return false;
    }

private:
    platform::FileSystem& fs_;
    std::unordered_map<std::string, bool> roots_;
    std::set<std::string, std::less<>> missing_;
    std::unordered_set<std::string> present_;
    std::unordered_set<std::string> suspects_;  // folders that held a missing path
};

// Whether a value's text names a missing path on one of the chosen drives:
// longer than four characters, a chosen drive letter (in upper form) whose
// root exists, none of the characters of arguments, quotes, variables, short
// names or lists after the drive, and neither a folder nor a file.
bool names_missing_path(std::string_view data, const std::vector<char>& drives, PathProbe& probe,
                        platform::Pump& pump) {
    if (data.size() <= 4) return false;
    const char letter = search::upper_char(data[0]);
    bool chosen = false;
    for (char drive : drives) {
        pump.serve();
        if (drive == letter) {
            chosen = true;
            break;
        }
    }
    if (!chosen || !probe.root_exists(data.substr(0, 3))) return false;
    if (data.find_first_of(kNotInPlainPath, 3) != std::string_view::npos) return false;
    return !probe.exists(std::string(data));
}

// Values whose text is a path the system keeps recreating or never needs;
// the key path and the value name run together are compared exactly.
bool is_skipped_value(std::string_view key, std::string_view value, platform::Pump& pump) {
    for (std::string_view entry : kSkippedValues) {
        pump.serve();
        if (entry.size() == key.size() + value.size() && entry.starts_with(key) && entry.ends_with(value)) return true;
    }
    return false;
}

// Whether a key lies in the 32-bit view: "...\\WOW6432Node\\..." or at its end.
bool in_32bit_view(std::string_view key) {
    const std::string folded = search::folded(key) + "\\";
    return folded.starts_with("wow6432node\\") || folded.find("\\wow6432node\\") != std::string::npos;
}

// Where a 32-bit program finds a path in the system folder: the same path in
// SysWOW64; nothing for any other path.
std::optional<std::string> path_for_32bit_programs(const std::string& path, const std::string& windows) {
    std::string_view folder = windows;
    while (folder.ends_with('\\')) folder.remove_suffix(1);
    if (folder.empty()) return std::nullopt;
    const std::string system = std::string(folder) + "\\System32\\";
    if (path.size() <= system.size() || search::folded(path.substr(0, system.size())) != search::folded(system))
        return std::nullopt;
    return std::string(folder) + "\\SysWOW64\\" + path.substr(system.size());
}

}  // namespace

std::optional<KeySelection> read_key_selection(const store::DataFolder& data) {
    if (!data.exists(kKeysFile)) return std::nullopt;
    const std::string line = data.read_first_line(kKeysFile);
    return KeySelection{!line.empty() && line[0] == '1', line.size() > 1 && line[1] == '1'};
}

void save_key_selection(const store::DataFolder& data, KeySelection keys) {
    const std::string file = data.path(kKeysFile);
    const std::string text{keys.current_user ? '1' : '0', keys.local_machine ? '1' : '0'};
    const auto written = platform::write_whole_file(data.fs(), file, text);
    if (!written) throw store::FileError("Ошибка записи файла " + file + ": " + written.message());
}

ReferenceSearchSettings ReferenceSearchSettings::load(const store::DataFolder& data, platform::Registry&,
                                                      std::vector<char> drives) {
    return {std::move(drives), read_key_selection(data)};
}

std::string root_prefix(platform::Root root) {
    return root == platform::Root::current_user ? "HKCU\\" : "HKLM\\";
}

ReferenceSearchResult run_reference_search(const ReferenceSearchSettings& settings, platform::Platform& platform,
                                           platform::Pump& pump, const platform::StopRequest& stop,
                                           ReferenceProgress& progress) {
    ReferenceSearchResult result;
    result.keys = settings.keys.value_or(KeySelection{});

    search::RegistryWalkRules rules;
    rules.key_passes = [](const std::string& key) { return key != kClassesKey; };
    rules.value_passes = [](platform::RegistryKey& key, const search::RegistryValue& value) {
        return key.value_type(value.name) == platform::ValueType::string;
    };
    rules.values_after_subkeys = true;
    search::RegistryWalk walk(platform.registry, pump, stop, std::move(rules));
    PathProbe probe(platform.fs);
    const std::string windows = search::windows_folder(platform.registry);

    const std::pair<platform::Root, bool> roots[] = {{platform::Root::current_user, result.keys.current_user},
                                                      {platform::Root::local_machine, result.keys.local_machine}};
    for (const auto& [root, chosen] : roots) {
        if (!chosen) continue;
        if (stop.requested()) break;
        progress.root_started(root);
        std::vector<search::RegistryValue> values;
        walk.walk(root, "Software", values);
        progress.walk_started(values.size(), values.empty() ? std::string() : values.front().key);

        // Values of one key follow each other: their key stays open.
        std::string open_path;
        std::unique_ptr<platform::RegistryKey> open_key;
        for (std::size_t j = 0; j < values.size(); ++j) {
            pump.serve();
            if (stop.requested()) break;
            const auto& [key, name] = values[j];
            progress.walking(j, key);
            if (!open_key || key != open_path) {
                auto opened = platform.registry.open(root, key, platform::KeyAccess::read);
                open_key = opened ? std::move(*opened) : nullptr;
                open_path = key;
            }
            if (!open_key) continue;
            std::string data = open_key->read_string(name).value_or("");
            if (!names_missing_path(data, settings.drives, probe, pump)) continue;
            if (in_32bit_view(key))
                if (const auto redirected = path_for_32bit_programs(data, windows); redirected && probe.exists(*redirected))
                    continue;
            if (is_skipped_value(key, name, pump)) continue;
            result.rows.push_back({root_prefix(root) + key, name, std::move(data)});
        }
    }
    result.stopped = stop.requested();
    return result;
}

}  // namespace registry
