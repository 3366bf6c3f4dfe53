#pragma once
// Sizing and cleaning the browsers' caches, histories and cookies. Nothing is
// reported: what cannot be deleted stays, and the next sizing shows it.
//
// A folder is cleaned only when it is an absolute, existing folder that is
// not a drive root (an empty Shell Folders value or Opera folder cleans
// nothing), and folders that are links are never entered. A single file is
// removed only when its absolute path lies inside the browser's own folder.
#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/pump.h"
#include "privacy/browsers.h"

namespace privacy {

// The bytes of the files below a folder location, "index.dat" not counted;
// 0 for kNoCache or any location that may not be cleaned.
std::uint64_t folder_bytes(platform::FileSystem& fs, platform::Pump& pump, const std::string& location);

// Whether a folder location holds at least one file other than "index.dat".
bool holds_files(platform::FileSystem& fs, platform::Pump& pump, const std::string& location);

// Every file below the folder deleted ("index.dat" kept), then the emptied
// folders removed, deepest first. The location itself stays.
void clean_folder(platform::FileSystem& fs, platform::Pump& pump, const std::string& location);

// Every file below the folder deleted, "index.dat" too; no folder removed.
void clean_every_file(platform::FileSystem& fs, platform::Pump& pump, const std::string& location);

// Clears the file's attributes and deletes it, when `file` is an absolute
// path inside `browser_folder` (an existing folder that may be cleaned) and
// reached through no link; fails otherwise.
platform::Status remove_browser_file(platform::FileSystem& fs, const std::string& file,
                                     const std::string& browser_folder);

// One browser's stores, found anew at every call.
class BrowserTraces {
public:
    BrowserTraces(platform::Platform& platform, platform::Pump& pump) : platform_(platform), pump_(pump) {}

    std::uint64_t cache_bytes(Browser browser);
    // Whether the cache has something to clean (the tray enables its entry so).
    bool cache_holds_files(Browser browser);
    // Cache: folder cleaning. History: every file of Internet Explorer's
    // history folder, or Opera's or Firefox's history file. Cookies: folder
    // cleaning of Internet Explorer's cookies, or the cookie file.
    void clean(Browser browser, Store store);

private:
    platform::Platform& platform_;
    platform::Pump& pump_;
};

}  // namespace privacy
