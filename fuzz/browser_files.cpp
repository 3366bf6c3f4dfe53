// Opera's english.lng and Firefox's profiles.ini as another program or a
// user may leave them: the browsers' versions, their profile and every
// location built from them, and the profiles of today's layout.
#include <cstddef>
#include <cstdint>
#include <string>

#include "machine.h"
#include "privacy/browsers.h"
#include "privacy/modern_browsers.h"

namespace {

const char kRegistry[] =
    "REGEDIT4\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\r\n"
    "\"AppData\"=\"C:\\\\User\\\\AppData\"\r\n\"Local AppData\"=\"C:\\\\User\\\\Local\"\r\n"
    "\"Cache\"=\"C:\\\\User\\\\Cache\"\r\n\"History\"=\"C:\\\\User\\\\History\"\r\n"
    "\"Cookies\"=\"C:\\\\User\\\\Cookies\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Opera Software]\r\n\"Last Directory3\"=\"C:\\\\Opera\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Mozilla\\Mozilla Firefox]\r\n\"CurrentVersion\"=\"3.0\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Mozilla\\Mozilla Firefox\\3.0\\Main]\r\n"
    "\"PathToExe\"=\"C:\\\\Firefox\\\\firefox.exe\"\r\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzzing::Machine machine(kRegistry);
    static bool installed = false;
    if (!installed) {
        machine.write("Opera\\Opera.exe", "");
        machine.write("Firefox\\firefox.exe", "");
        installed = true;
    }
    // The first half is english.lng, the rest profiles.ini.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    machine.write("Opera\\english.lng", bytes.substr(0, size / 2));
    machine.write("User\\AppData\\Mozilla\\Firefox\\profiles.ini", bytes.substr(size / 2));

    auto& platform = machine.platform();
    static_cast<void>(privacy::opera_version(platform));
    static_cast<void>(privacy::firefox_profile(platform));
    using privacy::Browser;
    using privacy::Store;
    for (const Browser browser : {Browser::opera, Browser::firefox}) {
        for (const Store store : {Store::cache, Store::history, Store::cookies})
            static_cast<void>(privacy::location(platform, browser, store));
    }
    // Today's profiles of the same profiles.ini, and what would be cleaned there.
    struct NoPump : platform::Pump {
        void serve() override {}
    } pump;
    if (const auto firefox = privacy::modern_firefox(platform))
        for (const Store store : {Store::cache, Store::history, Store::cookies})
            static_cast<void>(privacy::ModernTraces(platform, pump).refusal(*firefox, store));
    return 0;
}
