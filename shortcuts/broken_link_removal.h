#pragma once
// What the broken shortcut window does to a shortcut file: deletes it, or
// points it at a new target.
#include <string>

#include "platform/platform.h"

namespace shortcuts {

// Deletes a shortcut file: to the recycle bin, or permanently with its
// attributes cleared first (so that a read-only shortcut goes too). Refuses
// a path that is not an absolute path of an existing file.
[[nodiscard]] platform::Status delete_link(platform::Platform& platform, const std::string& path, bool to_recycle_bin);

// Writes a shortcut to `new_target` (no description, no arguments) over the
// existing shortcut file at `path`. The old file is never deleted first: when
// the writing fails it stays as it was, and the failure says why.
[[nodiscard]] platform::Status repair_link(platform::Platform& platform, const std::string& path,
                                           const std::string& new_target);

}  // namespace shortcuts
