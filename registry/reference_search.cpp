#include "registry/reference_search.h"

#include <array>
#include <memory>

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

bool names_missing_path(std::string_view data, const std::vector<char>& drives, platform::FileSystem& fs,
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
    if (!chosen || !fs.is_existing_folder(std::string(data.substr(0, 3)))) return false;
    if (data.find_first_of(kNotInPlainPath, 3) != std::string_view::npos) return false;
    const std::string path(data);
    return !fs.is_existing_folder(path) && !fs.is_existing_file(path);
}

bool is_skipped_value(std::string_view key, std::string_view value, platform::Pump& pump) {
    for (std::string_view entry : kSkippedValues) {
        pump.serve();
        if (entry.size() == key.size() + value.size() && entry.starts_with(key) && entry.ends_with(value)) return true;
    }
    return false;
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
            if (!names_missing_path(data, settings.drives, platform.fs, pump)) continue;
            if (is_skipped_value(key, name, pump)) continue;
            result.rows.push_back({root_prefix(root) + key, name, std::move(data)});
        }
    }
    result.stopped = stop.requested();
    return result;
}

}  // namespace registry
