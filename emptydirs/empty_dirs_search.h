#pragma once
// The empty folder search: folders with no entry at all, or whole subtrees
// without a file, in the chosen drives and folders, minus the exclusions.
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/pump.h"
#include "search/exclusions.h"
#include "search/walk_progress.h"
#include "store/data_folder.h"

namespace emptydirs {

enum class SearchMode {
    empty_folders,  // "Искать пустые папки": folders without any entry
    empty_trees,    // "Искать пустые папки с пустыми подпапками": subtrees without a file, topmost only
};

struct EmptyDirsSettings {
    SearchMode mode = SearchMode::empty_trees;
    std::vector<char> drives;               // letters of the checked drives, in row order
    std::vector<std::string> area_folders;  // ed_dirs.txt
    search::Exclusions exclusions;          // the user's and the built-in ones

    // Reads every setting anew. Throws store::FileError when a file cannot be read.
    static EmptyDirsSettings load(const store::DataFolder& data, platform::Registry& registry,
                                  std::vector<char> drives);

    // The mode the page shows and the deletion uses, kept as a marker file.
    static SearchMode stored_mode(const store::DataFolder& data);
    static void store_mode(const store::DataFolder& data, SearchMode mode);
};

struct FoundFolder {
    std::string path;  // full path without a trailing backslash
};

struct EmptyDirsResult {
    std::vector<FoundFolder> rows;  // each path once, at its first place
    bool stopped = false;           // the stop request ended the testing
};

// Runs one search. After a stop the rows found so far are the result.
EmptyDirsResult run_empty_dirs_search(const EmptyDirsSettings& settings, platform::Platform& platform,
                                      platform::Pump& pump, const platform::StopRequest& stop,
                                      search::WalkProgress& progress);

// Whether a folder has no entry at all (hidden and system ones count). A
// missing folder is empty; one that cannot be listed for any other reason
// is not.
bool is_empty_folder(platform::FileSystem& fs, const std::string& folder);

}  // namespace emptydirs
