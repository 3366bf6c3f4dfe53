#pragma once
// Sizing and cleaning the browsers' caches, histories and cookies. Nothing is
// reported: what cannot be deleted stays, and the next sizing shows it.
//
// Every store is a location of the one builder (see privacy::location): a
// folder that may be cleaned, or a single file in the browser's folder
// reached through no link. Folders that are links are never entered, and
// nothing is deleted that does not lie inside the location.
#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/pump.h"
#include "privacy/browsers.h"

namespace privacy {

// The bytes of the files below a folder location, "index.dat" not counted;
// 0 without a location.
std::uint64_t folder_bytes(platform::FileSystem& fs, platform::Pump& pump, const search::BuiltLocation& location);

// Whether a folder location holds at least one file other than "index.dat".
bool holds_files(platform::FileSystem& fs, platform::Pump& pump, const search::BuiltLocation& location);

// Every file below the folder deleted, "index.dat" too; no folder removed.
void clean_every_file(platform::FileSystem& fs, platform::Pump& pump, const search::Location& location);

// Clears a file location's attributes and deletes it.
platform::Status remove_browser_file(platform::FileSystem& fs, const search::Location& file);

// One browser's stores, found anew at every call.
class BrowserTraces {
public:
    BrowserTraces(platform::Platform& platform, platform::Pump& pump) : platform_(platform), pump_(pump) {}

    std::uint64_t cache_bytes(Browser browser);
    // Why a browser's store is not cleaned ("" when it is, or when it is
    // simply not there).
    std::string refusal(Browser browser, Store store);
    // Whether the cache has something to clean (the tray enables its entry so).
    bool cache_holds_files(Browser browser);
    // Cache: folder cleaning. History: every file of Internet Explorer's
    // history folder, or Opera's or Firefox's history file. Cookies: folder
    // cleaning of Internet Explorer's cookies, or the cookie file. Firefox's
    // profiles of today's layout are cleaned with it (see ModernTraces).
    // Returns why a part was not cleaned ("" when all was).
    std::string clean(Browser browser, Store store);

private:
    platform::Platform& platform_;
    platform::Pump& pump_;
};

}  // namespace privacy
