#include "privacy/browsers.h"

#include <vector>

#include "store/data_folder.h"

namespace privacy {

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kOperaKey[] = "Software\\Opera Software";
const char kFirefoxKey[] = "Software\\Mozilla\\Mozilla Firefox";
const char kProfiles[] = "\\Mozilla\\Firefox\\Profiles\\";

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

std::string folder_or_no_cache(platform::FileSystem& fs, const std::string& folder) {
    return fs.is_existing_folder(folder) ? folder : kNoCache;
}

}  // namespace

std::string shell_folder(platform::Registry& registry, const std::string& name) {
    return user_value(registry, kShellFolders, name);
}

std::optional<std::string> opera_version(platform::Platform& platform) {
    if (!platform.registry.key_exists(platform::Root::current_user, kOperaKey)) return std::nullopt;
    const std::string folder = opera_folder(platform.registry);
    auto& fs = platform.fs;
    const std::string language = folder + "\\english.lng";
    if (!fs.is_existing_folder(folder) || !fs.is_existing_file(folder + "\\Opera.exe") || !fs.is_existing_file(language))
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

std::optional<std::string> firefox_profile(platform::Platform& platform) {
    const std::string ini = shell_folder(platform.registry, "AppData") + "\\Mozilla\\Firefox\\profiles.ini";
    if (!platform.fs.is_existing_file(ini)) return std::nullopt;
    return first_line_after(platform.fs, ini, "Pat", 14);
}

std::optional<std::string> browser_folder(platform::Platform& platform, Browser browser) {
    switch (browser) {
        case Browser::internet_explorer: return std::nullopt;
        case Browser::opera: return opera_folder(platform.registry);
        case Browser::firefox: {
            const auto profile = firefox_profile(platform);
            if (!profile) return std::nullopt;
            return shell_folder(platform.registry, "AppData") + kProfiles + *profile;
        }
    }
    return std::nullopt;
}

std::optional<std::string> location(platform::Platform& platform, Browser browser, Store store) {
    auto& registry = platform.registry;
    switch (browser) {
        case Browser::internet_explorer:
            return shell_folder(registry, store == Store::cache ? "Cache" : store == Store::history ? "History" : "Cookies");
        case Browser::opera: {
            const std::string folder = opera_folder(registry);
            if (store == Store::cache) return folder_or_no_cache(platform.fs, folder + "\\profile\\cache4");
            return folder + (store == Store::history ? "\\profile\\global.dat" : "\\profile\\cookies4.dat");
        }
        case Browser::firefox: {
            const auto profile = firefox_profile(platform);
            if (store == Store::cache) {
                if (!profile) return kNoCache;
                return folder_or_no_cache(platform.fs,
                                          shell_folder(registry, "Local AppData") + kProfiles + *profile + "\\Cache");
            }
            if (!profile) return std::nullopt;
            return shell_folder(registry, "AppData") + kProfiles + *profile +
                   (store == Store::history ? "\\history.dat" : "\\cookies.txt");
        }
    }
    return std::nullopt;
}

}  // namespace privacy
