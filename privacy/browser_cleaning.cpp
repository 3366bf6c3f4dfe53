#include "privacy/browser_cleaning.h"

#include "platform/paths.h"
#include "search/folders.h"
#include "search/guards.h"

namespace privacy {

namespace {

// A component that Windows would fold into its parent or beyond: "", ".",
// "..", or dots and blanks alone.
bool is_dot_like(const std::string& component) {
    return component.find_first_not_of(". ") == std::string::npos;
}

}  // namespace

std::uint64_t folder_bytes(platform::FileSystem& fs, platform::Pump& pump, const std::string& location) {
    const auto folder = search::CleanableFolder::check(fs, location);
    if (!folder) return 0;
    return search::SumFileSizes(fs, search::ListFilesInTree(fs, pump, folder->path(), true, false));
}

bool holds_files(platform::FileSystem& fs, platform::Pump& pump, const std::string& location) {
    const auto folder = search::CleanableFolder::check(fs, location);
    return folder && !search::ListFilesInTree(fs, pump, folder->path(), false, false).empty();
}

void clean_folder(platform::FileSystem& fs, platform::Pump& pump, const std::string& location) {
    if (const auto folder = search::CleanableFolder::check(fs, location)) search::clean_tree(fs, pump, *folder);
}

void clean_every_file(platform::FileSystem& fs, platform::Pump& pump, const std::string& location) {
    const auto folder = search::CleanableFolder::check(fs, location);
    if (!folder) return;
    for (const auto& file : search::ListAllFilesInTree(fs, pump, folder->path())) {
        pump.serve();
        static_cast<void>(search::delete_file_retrying(fs, file));  // a locked file stays
    }
}

platform::Status remove_browser_file(platform::FileSystem& fs, const std::string& file,
                                     const std::string& browser_folder) {
    const auto refused = [&] { return platform::Status::failure(file + ": не в папке браузера"); };
    const auto folder = search::CleanableFolder::check(fs, browser_folder);
    if (!folder || !platform::is_absolute_path(file)) return refused();
    const std::string base = platform::folded_path(folder->path()) + '\\';
    const std::string folded = platform::folded_path(file);
    if (folded.size() <= base.size() || folded.compare(0, base.size(), base) != 0) return refused();

    // Every component below the browser folder: no dot games, and the
    // folders on the way are no links.
    std::string reached = folder->path();
    if (reached.back() == '\\') reached.pop_back();
    std::size_t start = base.size();
    for (;;) {
        const std::size_t end = folded.find('\\', start);
        const std::string component = file.substr(start, (end == std::string::npos ? folded.size() : end) - start);
        if (is_dot_like(component)) return refused();
        reached += '\\' + component;
        if (end == std::string::npos) break;
        const auto attributes = fs.attributes(reached);
        if (attributes && (*attributes & platform::attr::reparse_point)) return refused();
        start = end + 1;
    }
    if (fs.is_existing_folder(file)) return refused();
    static_cast<void>(fs.set_attributes(file, 0));  // the delete tells
    return fs.delete_file(file);
}

std::uint64_t BrowserTraces::cache_bytes(Browser browser) {
    return folder_bytes(platform_.fs, pump_, location(platform_, browser, Store::cache).value_or(""));
}

bool BrowserTraces::cache_holds_files(Browser browser) {
    return holds_files(platform_.fs, pump_, location(platform_, browser, Store::cache).value_or(""));
}

void BrowserTraces::clean(Browser browser, Store store) {
    const auto where = location(platform_, browser, store);
    if (!where) return;
    auto& fs = platform_.fs;
    if (browser == Browser::internet_explorer) {
        if (store == Store::history) clean_every_file(fs, pump_, *where);
        else clean_folder(fs, pump_, *where);
        return;
    }
    if (store == Store::cache) {
        clean_folder(fs, pump_, *where);
        return;
    }
    // A history or cookie file that is not there, or lies outside the
    // browser's folder, stays as it is: nothing is reported.
    if (const auto folder = browser_folder(platform_, browser))
        static_cast<void>(remove_browser_file(fs, *where, *folder));
}

}  // namespace privacy
