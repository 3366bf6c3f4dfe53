#include "privacy/browser_cleaning.h"

#include "privacy/modern_browsers.h"
#include "search/folders.h"

namespace privacy {

std::uint64_t folder_bytes(platform::FileSystem& fs, platform::Pump& pump, const search::BuiltLocation& location) {
    if (!location || location->kind() != search::LocationKind::folder) return 0;
    return search::SumFileSizes(fs, search::ListFilesInTree(fs, pump, location->path(), true, false));
}

bool holds_files(platform::FileSystem& fs, platform::Pump& pump, const search::BuiltLocation& location) {
    if (!location || location->kind() != search::LocationKind::folder) return false;
    return !search::ListFilesInTree(fs, pump, location->path(), false, false).empty();
}

void clean_every_file(platform::FileSystem& fs, platform::Pump& pump, const search::Location& location) {
    if (location.kind() != search::LocationKind::folder) return;
    for (const auto& file : search::ListAllFilesInTree(fs, pump, location.path())) {
        pump.serve();
        static_cast<void>(search::delete_file_inside(fs, location, file));  // a locked file stays
    }
}

platform::Status remove_browser_file(platform::FileSystem& fs, const search::Location& file) {
    if (file.kind() != search::LocationKind::file) return platform::Status::failure(file.path() + ": не файл");
    static_cast<void>(fs.set_attributes(file.path(), 0));  // the delete tells
    return fs.delete_file(file.path());
}

namespace {

// The Firefox of a slot is also the one of today's profile layout: its row
// sizes and cleans both.
std::optional<ModernBrowser> current_layout(platform::Platform& platform, Browser browser) {
    if (browser != Browser::firefox) return std::nullopt;
    return modern_firefox(platform);
}

}  // namespace

std::uint64_t BrowserTraces::cache_bytes(Browser browser) {
    std::uint64_t bytes = folder_bytes(platform_.fs, pump_, location(platform_, browser, Store::cache));
    if (const auto current = current_layout(platform_, browser)) bytes += ModernTraces(platform_, pump_).cache_bytes(*current);
    return bytes;
}

std::string BrowserTraces::refusal(Browser browser, Store store) {
    std::string text = location(platform_, browser, store).refusal();
    if (const auto current = current_layout(platform_, browser))
        add_line(text, ModernTraces(platform_, pump_).refusal(*current, store));
    return text;
}

bool BrowserTraces::cache_holds_files(Browser browser) {
    if (holds_files(platform_.fs, pump_, location(platform_, browser, Store::cache))) return true;
    const auto current = current_layout(platform_, browser);
    return current && ModernTraces(platform_, pump_).cache_holds_files(*current);
}

std::string BrowserTraces::clean(Browser browser, Store store) {
    const auto where = location(platform_, browser, store);
    auto& fs = platform_.fs;
    if (!where) {
        // nothing there, or a place that must not be cleaned
    } else if (where->kind() == search::LocationKind::file)
        static_cast<void>(remove_browser_file(fs, *where));  // a file that is not there stays so
    else if (browser == Browser::internet_explorer && store == Store::history)
        clean_every_file(fs, pump_, *where);
    else
        search::clean_tree(fs, pump_, *where);
    const auto current = current_layout(platform_, browser);
    return current ? ModernTraces(platform_, pump_).clean(*current, store) : std::string();
}

}  // namespace privacy
