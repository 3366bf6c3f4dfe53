#pragma once
// The walk shared by the file searches. For each chosen drive the drive pass
// lists the root and its first-level folders itself, collecting the files it
// meets there and returning the second-level folders; those and the area
// folders are then walked depth first. What passes and what is collected is
// the search's own: its rules decide.
//
// Folders that are reparse points are never entered. The message queue is
// served once per entry of a first-level folder and of every walked folder;
// the walk of a folder ends early when the stop request is set.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/registry.h"
#include "search/walk_progress.h"
#include "platform/pump.h"

namespace search {

// The Windows folder: the value "SystemRoot" of the machine's key of the
// running Windows version (read only, never created); "" when unreadable.
std::string windows_folder(platform::Registry& registry);

// A drive root's recycle bin: "RECYCLER", or "$Recycle.Bin" in any case (the
// bin of newer Windows). A walk that skips one at a drive root skips both, so
// that the bin's files and records are never listed or deleted by a search.
bool is_recycle_bin_folder(std::string_view name);

struct Found {
    std::string path;  // full path
    platform::DirEntry entry;
};

struct WalkRules {
    // Whether a folder met during the walk is entered; `path` has no trailing
    // backslash; `in_drive_root` is true for the folders of a drive's root.
    std::function<bool(const std::string& path, const platform::DirEntry& entry, bool in_drive_root)> folder_passes;
    // Whether a file is collected.
    std::function<bool(const std::string& path, const platform::DirEntry& entry)> file_passes;
    // Optional, recursive walks only: every entry of a walked folder as it is
    // listed, links and skipped folders included, before the other rules.
    std::function<void(const std::string& path, const platform::DirEntry& entry)> entry_listed;
    // Optional, recursive walks only: a walked folder's listing ended, with
    // its outcome (a failure when the folder could not be listed). Not called
    // for a listing that the stop request cut short.
    std::function<void(const std::string& folder, const platform::Status& listed)> folder_listed;
};

class AreaWalk {
public:
    AreaWalk(platform::FileSystem& fs, platform::Pump& pump, const platform::StopRequest& stop, WalkRules rules)
        : fs_(fs), pump_(pump), stop_(stop), rules_(std::move(rules)) {}

    // The drive pass of drive `letter`: files of its root and of its passing
    // first-level folders go to `collected`, the passing second-level folders
    // (as "C:\first\second") to `walk_folders`.
    void drive_pass(char letter, std::vector<Found>& collected, std::vector<std::string>& walk_folders);

    // The recursive walk of `folder`: what passes inside it, depth first, a
    // subfolder's files inserted where the subfolder was met. The folder
    // itself is not tested.
    void walk(const std::string& folder, std::vector<Found>& collected);

    // The whole area of a file search: the drive pass of every drive, then
    // each walk folder in turn (the drives' second-level folders, then the
    // area folders), the progress told of each; a stop ends it.
    void walk_area(const std::vector<char>& drives, const std::vector<std::string>& area_folders,
                   std::vector<Found>& collected, WalkProgress& progress);

private:
    platform::FileSystem& fs_;
    platform::Pump& pump_;
    const platform::StopRequest& stop_;
    WalkRules rules_;
};

}  // namespace search
