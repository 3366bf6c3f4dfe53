#pragma once
// Removing the folders that the empty folder search found. Folders are
// removed permanently and only while empty: no file is ever deleted, and no
// link is ever followed.
#include <cstddef>
#include <string>
#include <vector>

#include "emptydirs/empty_dirs_search.h"
#include "platform/file_system.h"
#include "platform/pump.h"

namespace emptydirs {

enum class RemovalKind {
    folder_alone,  // the folder itself, which must be empty
    tree,          // every folder below it, longest path first, then the folder
};

// The kind follows the mode stored when the deletion starts, whatever mode
// the search ran in.
RemovalKind removal_kind(SearchMode mode);

// Removes one found folder. The path must be absolute, an existing folder,
// not a drive root and not a link. A folder alone goes only while empty (the
// file system's removal refuses any other). In a tree, a folder that exists
// but cannot be listed is never removed, nor are the folders around it; a
// tree succeeds when the folder itself is gone; a tree that received a file
// loses its empty parts and fails.
[[nodiscard]] platform::Status remove_found_folder(platform::FileSystem& fs, platform::Pump& pump,
                                                   const std::string& folder, RemovalKind kind);


}  // namespace emptydirs
