#include "privacy/browser_cleaning.h"

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

std::uint64_t BrowserTraces::cache_bytes(Browser browser) {
    return folder_bytes(platform_.fs, pump_, location(platform_, browser, Store::cache));
}

std::string BrowserTraces::refusal(Browser browser, Store store) {
    return location(platform_, browser, store).refusal();
}

bool BrowserTraces::cache_holds_files(Browser browser) {
    return holds_files(platform_.fs, pump_, location(platform_, browser, Store::cache));
}

void BrowserTraces::clean(Browser browser, Store store) {
    const auto where = location(platform_, browser, store);
    if (!where) return;  // nothing there, or a place that must not be cleaned
    auto& fs = platform_.fs;
    if (where->kind() == search::LocationKind::file)
        static_cast<void>(remove_browser_file(fs, *where));  // a file that is not there stays so
    else if (browser == Browser::internet_explorer && store == Store::history)
        clean_every_file(fs, pump_, *where);
    else
        search::clean_tree(fs, pump_, *where);
}

}  // namespace privacy
