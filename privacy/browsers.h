#pragma once
// Where the browsers keep their traces. Internet Explorer is always there;
// Opera and Firefox are offered only when installed for the current user.
// Nothing is remembered: every call reads the registry and the disk anew.
#include <optional>
#include <string>

#include "platform/platform.h"
#include "search/locations.h"

namespace privacy {

enum class Browser { internet_explorer, opera, firefox };
enum class Store { cache, history, cookies };

// A value of the current user's "Shell Folders" key ("Cache", "AppData"...);
// "" when it is missing.
std::string shell_folder(platform::Registry& registry, const std::string& name);

// The version text of an installed browser; nothing when it is not installed.
// Opera: "Last Directory3" names a folder holding Opera.exe and english.lng;
// the version is the first "Ver" line of english.lng without its first 12
// characters ("" when the file has no such line). Firefox: "CurrentVersion"
// names a "Main" key whose PathToExe is an existing file.
// Throw store::FileError when english.lng exists but cannot be read.
std::optional<std::string> opera_version(platform::Platform& platform);
std::optional<std::string> firefox_version(platform::Platform& platform);

// The display names of the two browser slots of the Internet pages and the
// tray menu: Opera in slot 1 when present, Firefox in slot 1 or, with Opera,
// in slot 2. An empty slot is nothing.
struct BrowserSlots {
    std::optional<std::string> first, second;
    int filled() const { return (first ? 1 : 0) + (second ? 1 : 0); }
};
BrowserSlots fill_slots(platform::Platform& platform);

// The browser of a row: row 0 is Internet Explorer; slot 1 is Opera when its
// caption begins with "O" and Firefox otherwise; slot 2 is always Firefox.
Browser browser_of_row(int row, const std::string& caption);

// Adds `line` below the lines of a message shown in one label (an empty
// line adds nothing).
inline void add_line(std::string& text, const std::string& line) {
    if (!line.empty()) text += (text.empty() ? "" : "\r") + line;
}

// AppData's "Mozilla\Firefox\profiles.ini", built by the one location
// builder; nothing when it is not an existing file there.
std::optional<std::string> firefox_profiles_ini(platform::Platform& platform);

// The Firefox profile folder name: the first line of AppData's
// "Mozilla\Firefox\profiles.ini" that begins with "Pat", without its first
// 14 characters. Nothing without the file or such a line, and nothing when
// the rest is not one plain folder name ("../../x", "a\b", ".." name no
// profile).
// Throws store::FileError when the file exists but cannot be read.
std::optional<std::string> firefox_profile(platform::Platform& platform);

// Where a browser keeps a store: a folder for the caches and the Internet
// Explorer history and cookies, a single file in the Opera folder or the
// Firefox profile otherwise. Each is built from its base folder (a Shell
// Folders value, the Opera folder) and its names by the one location
// builder, and a folder never is nor holds a folder the user keeps things
// in. A missing cache folder, a missing profile or a refused base make no
// location: it holds nothing and its cleaning deletes nothing.
search::BuiltLocation location(platform::Platform& platform, Browser browser, Store store);

}  // namespace privacy
