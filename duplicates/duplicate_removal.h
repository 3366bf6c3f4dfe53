#pragma once
// Deleting one copy that the duplicate search found.
#include <string>

#include "platform/file_system.h"

namespace duplicates {

// Deletes the file permanently. Refuses an empty or relative path, a drive
// root, a path with a "." or ".." component, a folder and a link (a copy is
// never deleted through one); a read-only file or one held open elsewhere
// fails as the file system says.
[[nodiscard]] platform::Status delete_copy(platform::FileSystem& fs, const std::string& path);

}  // namespace duplicates
