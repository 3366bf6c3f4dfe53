#include "privacy/browsers.h"

#include <vector>

#include "store/data_folder.h"

namespace privacy {

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kOperaKey[] = "Software\\Opera Software";
const char kFirefoxKey[] = "Software\\Mozilla\\Mozilla Firefox";

// A string value of a current-user key; "" when the key or value is missing.
std::string user_value(platform::Registry& registry, const std::string& key, const std::string& name) {
    auto opened = registry.open(platform::Root::current_user, key, platform::KeyAccess::read);
    if (!opened) return {};
    return (*opened)->read_string(name).value_or("");
}

// The rest of the first line of at least three characters that begins with
// `start`, after its first `cut` characters; nothing when no line does.
std::optional<std::string> first_line_after(platform::FileSystem& fs, const std::string& path, const char* start,
                                            std::size_t cut) {
    const auto bytes = platform::read_whole_file(fs, path);
    if (!bytes) throw store::FileError(path + ": " + bytes.message());
    for (const auto& line : store::split_lines(*bytes)) {
        if (line.size() < 3) continue;
        if (line.compare(0, 3, start) == 0) return line.size() > cut ? line.substr(cut) : std::string();
    }
    return std::nullopt;
}

std::string opera_folder(platform::Registry& registry) {
    return user_value(registry, kOperaKey, "Last Directory3");
}

// A file directly in a folder that may be a drive root (Opera may be
// installed anywhere), without a doubled separator.
std::string file_in(const std::string& folder, const char* name) {
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder + name;
    return folder + "\\" + name;
}

std::vector<std::string> firefox_parts(const std::string& profile, const char* last) {
    return {"Mozilla", "Firefox", "Profiles", profile, last};
}

}  // namespace

std::string shell_folder(platform::Registry& registry, const std::string& name) {
    return user_value(registry, kShellFolders, name);
}

std::optional<std::string> opera_version(platform::Platform& platform) {
    if (!platform.registry.key_exists(platform::Root::current_user, kOperaKey)) return std::nullopt;
    const std::string folder = opera_folder(platform.registry);
    auto& fs = platform.fs;
    const std::string language = file_in(folder, "english.lng");
    if (!fs.is_existing_folder(folder) || !fs.is_existing_file(file_in(folder, "Opera.exe")) ||
        !fs.is_existing_file(language))
        return std::nullopt;
    return first_line_after(fs, language, "Ver", 12).value_or("");
}

std::optional<std::string> firefox_version(platform::Platform& platform) {
    auto& registry = platform.registry;
    if (!registry.key_exists(platform::Root::current_user, kFirefoxKey)) return std::nullopt;
    const std::string version = user_value(registry, kFirefoxKey, "CurrentVersion");
    const std::string main = std::string(kFirefoxKey) + "\\" + version + "\\Main";
    if (!registry.key_exists(platform::Root::current_user, main)) return std::nullopt;
    if (!platform.fs.is_existing_file(user_value(registry, main, "PathToExe"))) return std::nullopt;
    return version;
}

BrowserSlots fill_slots(platform::Platform& platform) {
    BrowserSlots slots;
    if (const auto opera = opera_version(platform)) slots.first = "Opera " + *opera;
    if (const auto firefox = firefox_version(platform)) (slots.first ? slots.second : slots.first) = "Firefox " + *firefox;
    return slots;
}

Browser browser_of_row(int row, const std::string& caption) {
    if (row == 0) return Browser::internet_explorer;
    if (row == 1 && !caption.empty() && caption[0] == 'O') return Browser::opera;
    return Browser::firefox;
}

std::optional<std::string> firefox_profiles_ini(platform::Platform& platform) {
    const auto ini = search::build_location(platform.fs, shell_folder(platform.registry, "AppData"),
                                            {"Mozilla", "Firefox", "profiles.ini"}, search::LocationKind::file);
    if (!ini || !platform.fs.is_existing_file(ini->path())) return std::nullopt;
    return ini->path();
}

std::optional<std::string> firefox_profile(platform::Platform& platform) {
    const auto ini = firefox_profiles_ini(platform);
    if (!ini) return std::nullopt;
    auto profile = first_line_after(platform.fs, *ini, "Pat", 14);
    if (!profile || !search::is_plain_name(*profile)) return std::nullopt;
    return profile;
}

search::BuiltLocation location(platform::Platform& platform, Browser browser, Store store) {
    using search::LocationKind;
    auto& registry = platform.registry;
    auto& fs = platform.fs;
    const auto kept = search::machine_kept_folders(platform);
    switch (browser) {
        case Browser::internet_explorer: {
            const char* value = store == Store::cache ? "Cache" : store == Store::history ? "History" : "Cookies";
            return search::build_location(fs, shell_folder(registry, value), {}, LocationKind::folder, kept);
        }
        case Browser::opera: {
            const std::string folder = opera_folder(registry);
            if (store == Store::cache)
                return search::build_location(fs, folder, {"profile", "cache4"}, LocationKind::folder, kept);
            return search::build_location(fs, folder,
                                          {"profile", store == Store::history ? "global.dat" : "cookies4.dat"},
                                          LocationKind::file);
        }
        case Browser::firefox: {
            const auto profile = firefox_profile(platform);
            if (!profile) return search::BuiltLocation::absent();
            if (store == Store::cache)
                return search::build_location(fs, shell_folder(registry, "Local AppData"),
                                              firefox_parts(*profile, "Cache"), LocationKind::folder, kept);
            return search::build_location(fs, shell_folder(registry, "AppData"),
                                          firefox_parts(*profile, store == Store::history ? "history.dat" : "cookies.txt"),
                                          LocationKind::file);
        }
    }
    return search::BuiltLocation::absent();
}

}  // namespace privacy
