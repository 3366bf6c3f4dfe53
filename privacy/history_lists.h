#pragma once
// The system's recently-used lists in the current user's registry hive:
// which are chosen (rg_history.txt) and their clearing.
#include <array>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "search/locations.h"
#include "store/data_folder.h"

namespace privacy {

struct HistoryList {
    const char* caption;
    const char* key;  // under HKEY_CURRENT_USER
};

// In the order of the page's list and of the lines of rg_history.txt.
// List 2 (recent documents) also empties the Recent folder.
extern const std::array<HistoryList, 9> kHistoryLists;
inline constexpr std::size_t kRecentDocuments = 2;

struct HistoryListSettings {
    std::vector<bool> ticked;  // one per list

    // The lists ticked at the last clearing: lines equal to "1"; lines past
    // the ninth are ignored. A missing file ticks nothing.
    static HistoryListSettings load(const store::DataFolder& data);
    // Nine lines "1" or "0". Throws store::FileError when it cannot write.
    void save(const store::DataFolder& data) const;
};

// Deletes the key of every ticked list that exists, with all it holds; for
// the recent documents also every file directly in the Recent folder (its
// subfolders stay). Failures are passed over; the result is why the Recent
// folder was refused ("" when it was emptied or is not there).
std::string clear_history_lists(platform::Platform& platform, const std::vector<bool>& ticked);

// The Recent folder as a location: none when it is a drive root or is or
// holds a folder the user keeps things in.
search::BuiltLocation recent_folder(platform::Platform& platform);

// Deletes the files directly in a folder location (a file that resists is
// tried once more with its attributes cleared); folders stay.
void delete_files_in(platform::FileSystem& fs, const search::Location& folder);

}  // namespace privacy
