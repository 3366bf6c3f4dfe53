#pragma once
// The broken shortcut search: shortcut files whose target is a local path
// that no longer exists. Optimal mode checks every file of the shell folders
// where shortcuts usually live; own-settings mode walks the chosen drives and
// area folders, minus the exclusions.
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/pump.h"
#include "search/exclusions.h"
#include "search/walk_progress.h"
#include "store/data_folder.h"

namespace shortcuts {

struct BrokenLinkSettings {
    bool optimal = false;                    // bl_optimal.txt is present
    std::vector<std::string> locations;      // optimal mode: the shell folders, in order, unusable ones left out
    std::vector<char> drives;                // own settings: letters of the checked drives, in row order
    std::vector<std::string> area_folders;   // own settings: bl_dirs.txt
    search::Exclusions exclusions;           // own settings: the user's and the built-in ones

    // Reads every setting anew; in optimal mode the area and exclusion files
    // are not read. Throws store::FileError when a file cannot be read.
    static BrokenLinkSettings load(const store::DataFolder& data, platform::Registry& registry,
                                   std::vector<char> drives);
};

struct BrokenLink {
    std::string path;    // the shortcut file
    std::string target;  // what it points to, as read
};

struct BrokenLinkResult {
    std::vector<BrokenLink> rows;  // each shortcut once, in the order found
    bool stopped = false;          // the stop request ended the checking
};

// Runs one search. The stop request ends the checking; the rows found so far
// are the result.
BrokenLinkResult run_broken_link_search(const BrokenLinkSettings& settings, platform::Platform& platform,
                                        platform::Pump& pump, const platform::StopRequest& stop,
                                        search::WalkProgress& progress);

// Whether a shortcut target names a missing local path. Quoted parts and
// "/" switches are cut first (25 characters from the last quote and from the
// first "/"), then the remaining quotes; a target on drive A:, one that is
// not of the form "X:\...", and one left empty are never broken.
bool target_is_broken(std::string target, platform::FileSystem& fs);

}  // namespace shortcuts
