#pragma once
// The temporary-file search: files outside the temporary folder recognised by
// their extension (and, optionally, their age), in the chosen drives and
// folders, minus the exclusions.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "search/exclusions.h"
#include "search/walk_progress.h"
#include "store/data_folder.h"
#include "platform/pump.h"

namespace junk {

struct TempSearchSettings {
    std::vector<char> drives;                // letters of the checked drives, in row order
    std::vector<std::string> area_folders;   // tf_dirs.txt
    search::Exclusions exclusions;           // the user's and the built-in ones
    int min_age_days = 0;                    // tf_date.txt; 0 without it
    std::vector<std::string> masks;          // enabled extensions, folded, without a dot

    // Reads every setting anew. Throws store::FileError when a file cannot be
    // read or tf_date.txt holds no number.
    static TempSearchSettings load(const store::DataFolder& data, platform::Registry& registry,
                                   std::vector<char> drives);
};

struct FoundFile {
    std::string path;
    std::uint64_t size = 0;
};

struct TempSearchResult {
    std::vector<FoundFile> rows;  // each path once, in the order found
    std::uint64_t total = 0;
};

// Runs one search. The stop request ends the walk early; the rows found so
// far are the result.
TempSearchResult run_temp_search(const TempSearchSettings& settings, platform::Platform& platform, platform::Pump& pump,
                                 const platform::StopRequest& stop, search::WalkProgress& progress);

// Deletes one found file, to the recycle bin or for good (a read-only file
// loses its attributes first). The path is judged and used in full form.
platform::Status delete_temp_file(platform::Platform& platform, const std::string& path, bool to_recycle_bin);

// Whether the extension of a path (the text after its last dot) is one of
// the folded masks.
bool extension_matches(std::string_view path, const std::vector<std::string>& masks);

// Whether a file last written on `written` is at least `days` days old on `today`.
bool old_enough(const platform::CalendarDate& written, const platform::CalendarDate& today, int days);

// The search window's size text: KB below 1 MiB, else MB; cut two digits
// after the decimal separator; "0,00 KB" is kept as it is.
std::string SearchSizeText(std::uint64_t bytes, char decimal_separator);

}  // namespace junk
