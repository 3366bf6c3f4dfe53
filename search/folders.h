#pragma once
// Folder routines shared by the temporary-folder cleaning and the browser
// cleaning: the temporary folder, sizes and file lists of whole trees.
//
// Every entry of a folder is visited in the order the file system lists it,
// and the message queue is served once per entry, so the window repaints
// during long walks. Folders that are reparse points (junctions, symbolic
// links, mount points) are never entered, counted or listed.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/system.h"
#include "platform/pump.h"
#include "search/guards.h"
#include "search/locations.h"

namespace search {

// Visits the entries below `folder` depth first, a folder's entry before its
// contents. `visit` gets the listed folder (ending with a backslash) and the
// entry, and returns whether a folder entry is entered.
using TreeVisitor = std::function<bool(const std::string& folder, const platform::DirEntry& entry)>;
// It is the area walk's recursive walk, so it never enters a link and ends
// early when `stop` is set.
void walk_tree(platform::FileSystem& fs, platform::Pump& pump, const std::string& folder, const TreeVisitor& visit,
               const platform::StopRequest& stop = platform::StopRequest::never());

// The value of the environment variable TEMP (exact name, the last one wins)
// in its long form, built as a location that is neither a drive root nor is
// or holds a folder the user keeps things in (`kept`); no location when it
// is missing or not an existing folder, so that no other folder ever becomes
// a target.
BuiltLocation TempFolderPath(platform::System& system, platform::FileSystem& fs, const KeptFolders& kept);

std::string LongPathName(platform::FileSystem& fs, const std::string& path);

// The bytes of all files below the folder, "index.dat" files and folders
// skipped.
std::uint64_t FolderSize(platform::FileSystem& fs, platform::Pump& pump, const std::string& folder);

// The files below the folder ("index.dat" skipped, in files and folders),
// with the folder's path or as bare names, and with each folder listed before
// its contents when `with_folders` is set.
std::vector<std::string> ListFilesInTree(platform::FileSystem& fs, platform::Pump& pump, const std::string& folder,
                                         bool with_path, bool with_folders);

// Full paths of all files below the folder, nothing skipped.
std::vector<std::string> ListAllFilesInTree(platform::FileSystem& fs, platform::Pump& pump, const std::string& folder);

// All folders below the folder, each before the folders inside it.
std::vector<std::string> ListSubfoldersInTree(platform::FileSystem& fs, platform::Pump& pump, const std::string& folder,
                                              bool with_path);

// Longest entry first, so that a folder comes before its parent.
void SortByLengthDescending(std::vector<std::string>& list);

// A file's size; 0 when it is not found.
std::uint64_t FileSizeOf(platform::FileSystem& fs, const std::string& path);
std::uint64_t SumFileSizes(platform::FileSystem& fs, const std::vector<std::string>& files);

// Deletes a file for good; a file that resists is tried once more with its
// attributes cleared. The second attempt's outcome is the result.
platform::Status delete_file_retrying(platform::FileSystem& fs, const std::string& path);

// Deletes a file found below a folder location (as delete_file_retrying),
// only when its full form lies strictly inside the location; fails otherwise.
platform::Status delete_file_inside(platform::FileSystem& fs, const Location& location, const std::string& file);

// Deletes every file below the location for good ("index.dat" kept), then
// removes the emptied folders, deepest first; what resists stays, silently.
// The location itself stays, and nothing outside it is touched.
void clean_tree(platform::FileSystem& fs, platform::Pump& pump, const Location& location);

// The attributes of each of `paths` (full paths) as its folder lists it;
// nothing for a path that is gone. Each folder is listed once, which costs
// about what one query of a path does, so that checking the rows left after
// a deletion grows with the folders, not with the rows; a path whose folder
// cannot be listed is asked after alone.
// A path whose folder cannot be listed (for any reason but its absence) and
// that cannot be asked about either reads as this: not known to be gone.
inline constexpr std::uint32_t kUnknownAttributes = 0xFFFFFFFF;
std::vector<std::optional<std::uint32_t>> listed_attributes(platform::FileSystem& fs,
                                                            const std::vector<std::string>& paths);

}  // namespace search
