#pragma once
// Today's browsers of the current user: the Chromium family (Google Chrome,
// Microsoft Edge, Yandex Browser, Opera, Brave, Vivaldi, Chromium) and
// Firefox's profiles of profiles.ini. Each store is a set of places inside a
// profile, every one made by the one location builder; nothing else of a
// profile (bookmarks, passwords, settings, extensions) is ever touched, and
// a browser that runs is not touched at all.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/pump.h"
#include "privacy/browsers.h"

namespace privacy {

// A place as the builder takes it: a base folder and the names below it.
struct Place {
    std::string base;
    std::vector<std::string> parts;
    Place operator/(const std::string& name) const;
};

struct BrowserProfile {
    Place data;   // history, cookies and the rest of the profile
    Place local;  // where its cache lies
};

enum class Family { chromium, firefox };

struct ModernBrowser {
    std::string name;  // "Google Chrome"
    Family family = Family::chromium;
    std::vector<Place> locks;  // the files it holds open while it runs
    std::vector<BrowserProfile> profiles;
};

// How many browsers can be found at most: the Chromium ones and Firefox.
inline constexpr std::size_t kModernBrowsers = 8;

// The browsers found, in the order of the pages: a Chromium browser whose
// "User Data" (Opera: "Opera Software\Opera Stable" under AppData) holds a
// profile ("Default", "Profile N" with a "Preferences" file); Firefox when a
// [Profile*] section of profiles.ini with Path= and IsRelative= names an
// existing folder.
std::vector<ModernBrowser> find_modern_browsers(platform::Platform& platform);

// The browsers of the extra rows: a Firefox that the slots already show is
// left out here, since its slot cleans its current stores too.
std::vector<ModernBrowser> browsers_of_rows(platform::Platform& platform, const BrowserSlots& slots);

// Firefox's current profiles when it has any; nothing otherwise.
std::optional<ModernBrowser> modern_firefox(platform::Platform& platform);

class ModernTraces {
public:
    ModernTraces(platform::Platform& platform, platform::Pump& pump) : platform_(platform), pump_(pump) {}

    // Whether one of the files the browser holds while it runs is held open.
    bool running(const ModernBrowser& browser);
    std::uint64_t cache_bytes(const ModernBrowser& browser);
    bool cache_holds_files(const ModernBrowser& browser);
    // Why the store is not cleaned: the browser runs, or a place of it must
    // not be cleaned; "" otherwise.
    std::string refusal(const ModernBrowser& browser, Store store);
    // Cleans the store unless the browser runs. "" when done (files that
    // resist stay, silently, as with every browser); otherwise why not: the
    // browser runs, or its history database is unsound.
    std::string clean(const ModernBrowser& browser, Store store);

private:
    platform::Platform& platform_;
    platform::Pump& pump_;
};

}  // namespace privacy
