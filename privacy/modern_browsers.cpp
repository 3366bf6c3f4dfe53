#include "privacy/modern_browsers.h"

#include <optional>

#include "privacy/browser_cleaning.h"
#include "privacy/places_history.h"
#include "search/folders.h"
#include "store/data_folder.h"

namespace privacy {

namespace {

using search::LocationKind;

struct ChromiumBrowser {
    const char* name;
    const char* base;  // the Shell Folders value the browser's folder is in
    std::vector<std::string> user_data;
    // Opera: the folder is its one profile, and its cache is the same folder
    // under Local AppData.
    bool one_profile = false;
};

// In the order of the pages.
const ChromiumBrowser kChromium[] = {
    {"Google Chrome", "Local AppData", {"Google", "Chrome", "User Data"}},
    {"Microsoft Edge", "Local AppData", {"Microsoft", "Edge", "User Data"}},
    {"Яндекс.Браузер", "Local AppData", {"Yandex", "YandexBrowser", "User Data"}},
    {"Opera", "AppData", {"Opera Software", "Opera Stable"}, true},
    {"Brave", "Local AppData", {"BraveSoftware", "Brave-Browser", "User Data"}},
    {"Vivaldi", "Local AppData", {"Vivaldi", "User Data"}},
    {"Chromium", "Local AppData", {"Chromium", "User Data"}},
};

const char kFirefox[] = "Mozilla Firefox";

search::BuiltLocation locate(platform::FileSystem& fs, const Place& place, LocationKind kind = LocationKind::folder,
                             const search::KeptFolders& kept = {}) {
    return search::build_location(fs, place.base, place.parts, kind, kept);
}

// A place that is there, or there but refused (whose stores then say why).
bool present(platform::FileSystem& fs, const Place& place, LocationKind kind) {
    const auto built = locate(fs, place, kind);
    return built || !built.refusal().empty();
}

bool is_profile_name(const std::string& name) {
    if (name == "Default") return true;
    if (name.rfind("Profile ", 0) != 0 || name.size() == 8) return false;
    for (std::size_t i = 8; i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return true;
}

std::optional<ModernBrowser> find_chromium(platform::Platform& platform, const ChromiumBrowser& known) {
    auto& fs = platform.fs;
    const Place user_data{shell_folder(platform.registry, known.base), known.user_data};
    ModernBrowser browser{known.name, Family::chromium, {user_data / "lockfile"}, {}};
    if (known.one_profile) {
        if (!present(fs, user_data, LocationKind::folder)) return std::nullopt;
        browser.profiles.push_back({user_data, {shell_folder(platform.registry, "Local AppData"), known.user_data}});
        return browser;
    }
    const auto folder = locate(fs, user_data);
    if (!folder) return std::nullopt;
    static_cast<void>(fs.enumerate(folder->path(), [&](const platform::DirEntry& entry) {
        if (!entry.is_directory() || entry.is_reparse_point() || !is_profile_name(entry.name)) return true;
        const Place profile = user_data / entry.name;
        const Place preferences = profile / "Preferences";
        const auto file = locate(fs, preferences, LocationKind::file);
        if (file && fs.is_existing_file(file->path())) browser.profiles.push_back({profile, profile});
        return true;
    }));
    if (browser.profiles.empty()) return std::nullopt;
    return browser;
}

std::vector<std::string> split_path(const std::string& path) {
    std::vector<std::string> parts{""};
    for (const char c : path) {
        if (c == '/' || c == '\\') parts.emplace_back();
        else parts.back() += c;
    }
    return parts;
}

}  // namespace

// Firefox's profiles: each [Profile*] section of profiles.ini with Path= and
// IsRelative= (1: below the Firefox folder of AppData, its cache below that
// of Local AppData; otherwise a full path holding the cache too) that names
// a folder.
std::optional<ModernBrowser> modern_firefox(platform::Platform& platform) {
    auto& fs = platform.fs;
    const std::string app_data = shell_folder(platform.registry, "AppData");
    const std::string local = shell_folder(platform.registry, "Local AppData");
    const auto ini = firefox_profiles_ini(platform);
    if (!ini) return std::nullopt;
    const auto bytes = platform::read_whole_file(fs, *ini);
    if (!bytes) return std::nullopt;

    ModernBrowser browser{kFirefox, Family::firefox, {}, {}};
    struct Section {
        bool profile = false;
        std::optional<std::string> path, relative;
    };
    const auto add = [&](const Section& section) {
        if (!section.profile || !section.path || !section.relative || section.path->empty()) return;
        BrowserProfile profile;
        if (*section.relative == "1") {
            std::vector<std::string> parts{"Mozilla", "Firefox"};
            for (const auto& part : split_path(*section.path)) parts.push_back(part);
            profile = {{app_data, parts}, {local, parts}};
        } else {
            profile = {{*section.path, {}}, {*section.path, {}}};
        }
        if (!present(fs, profile.data, LocationKind::folder)) return;
        browser.locks.push_back(profile.data / "parent.lock");
        browser.profiles.push_back(profile);
    };
    Section section;
    for (const auto& line : store::split_lines(*bytes)) {
        if (!line.empty() && line.front() == '[') {
            add(section);
            section = {};
            section.profile = line.rfind("[Profile", 0) == 0;
        } else if (line.rfind("Path=", 0) == 0) {
            section.path = line.substr(5);
        } else if (line.rfind("IsRelative=", 0) == 0) {
            section.relative = line.substr(11);
        }
    }
    add(section);
    if (browser.profiles.empty()) return std::nullopt;
    return browser;
}

namespace {

std::vector<Place> cache_folders(const ModernBrowser& browser) {
    std::vector<Place> places;
    for (const auto& profile : browser.profiles) {
        if (browser.family == Family::firefox) places.push_back(profile.local / "cache2");
        else
            for (const char* name : {"Cache", "Code Cache", "GPUCache"}) places.push_back(profile.local / name);
    }
    return places;
}

// The single files of a history or cookie store (Firefox's history is its
// database, cleared inside).
std::vector<Place> store_files(const ModernBrowser& browser, Store store) {
    std::vector<Place> places;
    for (const auto& profile : browser.profiles) {
        if (browser.family == Family::firefox) {
            if (store == Store::cookies)
                for (const char* name : {"cookies.sqlite", "cookies.sqlite-wal", "cookies.sqlite-shm"})
                    places.push_back(profile.data / name);
        } else if (store == Store::history) {
            for (const char* name : {"History", "History-journal", "Visited Links", "Top Sites", "Top Sites-journal"})
                places.push_back(profile.data / name);
        } else if (store == Store::cookies) {
            for (const char* name : {"Cookies", "Cookies-journal"}) {
                places.push_back(profile.data / "Network" / name);
                places.push_back(profile.data / name);
            }
        }
    }
    return places;
}

Place parent_of(const Place& file) {
    Place parent = file;
    parent.parts.pop_back();
    return parent;
}

std::string running_text(const ModernBrowser& browser) {
    return "Закройте " + browser.name + ": пока он запущен, его файлы не очищаются.";
}

}  // namespace

Place Place::operator/(const std::string& name) const {
    Place place = *this;
    place.parts.push_back(name);
    return place;
}

std::vector<ModernBrowser> find_modern_browsers(platform::Platform& platform) {
    std::vector<ModernBrowser> found;
    for (const auto& known : kChromium)
        if (auto browser = find_chromium(platform, known)) found.push_back(std::move(*browser));
    if (auto firefox = modern_firefox(platform)) found.push_back(std::move(*firefox));
    return found;
}

std::vector<ModernBrowser> browsers_of_rows(platform::Platform& platform, const BrowserSlots& slots) {
    const bool slot_firefox =
        slots.second || (slots.first && browser_of_row(1, *slots.first) == Browser::firefox);
    auto found = find_modern_browsers(platform);
    if (slot_firefox) std::erase_if(found, [](const ModernBrowser& b) { return b.family == Family::firefox; });
    return found;
}

bool ModernTraces::running(const ModernBrowser& browser) {
    auto& fs = platform_.fs;
    for (const auto& lock : browser.locks) {
        const auto file = locate(fs, lock, LocationKind::file);
        if (file && fs.is_existing_file(file->path()) &&
            !fs.open(file->path(), platform::Access::read, platform::Share::none))
            return true;
    }
    return false;
}

std::uint64_t ModernTraces::cache_bytes(const ModernBrowser& browser) {
    const auto kept = search::machine_kept_folders(platform_);
    std::uint64_t total = 0;
    for (const auto& place : cache_folders(browser))
        total += folder_bytes(platform_.fs, pump_,
                              locate(platform_.fs, place, LocationKind::folder, kept));
    return total;
}

bool ModernTraces::cache_holds_files(const ModernBrowser& browser) {
    const auto kept = search::machine_kept_folders(platform_);
    for (const auto& place : cache_folders(browser))
        if (holds_files(platform_.fs, pump_,
                        locate(platform_.fs, place, LocationKind::folder, kept)))
            return true;
    return false;
}

std::string ModernTraces::refusal(const ModernBrowser& browser, Store store) {
    if (running(browser)) return running_text(browser);
    auto& fs = platform_.fs;
    const auto kept = search::machine_kept_folders(platform_);
    std::string text;
    const auto note = [&](const search::BuiltLocation& built) {
        if (text.find(built.refusal()) == std::string::npos) add_line(text, built.refusal());
    };
    if (store == Store::cache)
        for (const auto& place : cache_folders(browser))
            note(locate(fs, place, LocationKind::folder, kept));
    for (const auto& file : store_files(browser, store)) {
        const Place parent = parent_of(file);
        note(locate(fs, parent, LocationKind::folder, kept));
        note(locate(fs, file, LocationKind::file));
    }
    return text;
}

std::string ModernTraces::clean(const ModernBrowser& browser, Store store) {
    if (running(browser)) return running_text(browser);
    auto& fs = platform_.fs;
    const auto kept = search::machine_kept_folders(platform_);
    if (store == Store::cache)
        for (const auto& place : cache_folders(browser))
            if (const auto folder = locate(fs, place, LocationKind::folder, kept))
                search::clean_tree(fs, pump_, *folder);
    for (const auto& file : store_files(browser, store)) {
        pump_.serve();
        const Place parent = parent_of(file);
        const auto folder = locate(fs, parent, LocationKind::folder, kept);
        const auto built = locate(fs, file, LocationKind::file);
        if (folder && built && fs.is_existing_file(built->path()))
            static_cast<void>(search::delete_file_inside(fs, *folder, built->path()));  // a locked file stays
    }
    std::string errors;
    if (store == Store::history && browser.family == Family::firefox)
        for (const auto& profile : browser.profiles) {
            const Place places = profile.data / "places.sqlite";
            const auto built = locate(fs, places, LocationKind::file);
            if (!built || !fs.is_existing_file(built->path())) continue;
            if (const auto cleared = clear_places_history(fs, *built); !cleared) add_line(errors, cleared.message());
        }
    return errors;
}

}  // namespace privacy
