#pragma once
// The duplicate search: files whose contents are byte for byte identical,
// either among all files of the search area, or between the chosen files and
// the files of the area.
//
// The result is a table of copy groups. A group's found file is the first
// file, in source order, that has a copy; its copies follow in descending
// order of the target list; every file is reported in at most one group.
// Two paths that name one file (the same path, a hard link, a path through a
// link) are one file and never a copy of each other.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/pump.h"
#include "search/exclusions.h"
#include "search/walk_progress.h"
#include "store/data_folder.h"

namespace duplicates {

struct DuplicateSettings {
    // The list files that the editors write and the search reads.
    static constexpr char kWholeAreaMarker[] = "cf_all.txt";
    static constexpr char kChosenFilesList[] = "cf_files.txt";
    static constexpr char kTypeFilterMarker[] = "cf_usetypes.txt";
    static constexpr char kTypesList[] = "cf_types.txt";

    bool whole_area = false;                  // cf_all.txt: every file of the area against every other
    std::vector<std::string> chosen_files;    // cf_files.txt, read without the whole-area mode only
    std::vector<char> drives;                 // letters of the checked drives, in row order
    std::vector<std::string> area_folders;    // cf_dirs.txt
    search::Exclusions exclusions;
    bool filter_types = false;                // cf_usetypes.txt
    std::vector<std::string> types;           // cf_types.txt, as stored

    static DuplicateSettings load(const store::DataFolder& data, platform::Registry& registry,
                                  std::vector<char> drives);
};

struct CopyGroup {
    std::string found;                // the file whose copies were found
    std::vector<std::string> copies;  // full paths, in the order listed
    std::uint64_t size = 0;           // of each file of the group
};

struct DuplicateResult {
    std::vector<CopyGroup> groups;
    std::uint64_t bytes_read = 0;  // file contents read to tell the files apart
};

// What the search window shows while the search runs: the step caption, and
// through WalkProgress the walk folders, then the source files compared.
class DuplicateProgress : public search::WalkProgress {
public:
    virtual void step_started(const std::string& caption) = 0;
};

// Runs one search. A stop request ends the step in which it is seen; the
// search goes on with what was collected so far, and a stop during the
// comparison keeps the groups found up to then.
DuplicateResult run_duplicate_search(const DuplicateSettings& settings, platform::Platform& platform,
                                     platform::Pump& pump, platform::StopRequest& stop, DuplicateProgress& progress);

// The type test: the extension (the text after the last dot of the whole
// path, or the whole path without a dot) passes when it begins with "~" or
// its folded form equals a type as stored.
bool type_passes(std::string_view path, const std::vector<std::string>& types);

// Whether the search may collect the file: it opens for reading and writing
// with no sharing (nobody else holds it, it is not read-only).
bool opens_exclusively(platform::FileSystem& fs, const std::string& path);

}  // namespace duplicates
