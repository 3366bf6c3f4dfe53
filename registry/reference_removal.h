#pragma once
// What the registry reference window changes: it empties the data of the
// values the user checked, after a backup of the searched keys made by the
// registry editor.
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "registry/reference_search.h"
#include "search/registry_undo.h"

namespace registry {

// Empties the data of one value named by a result row: `key` is "HKCU\..."
// or "HKLM\..." as the search lists it. The value stays, as a string with
// empty data; a value that is gone meanwhile is left gone. Only this opens a
// key for writing. The failure names the key and the value.
[[nodiscard]] platform::Status clear_reference(platform::Registry& registry, const std::string& key,
                                               const std::string& value);

// The value a result row names, for the undo file; nothing for a key text
// that names no root.
std::optional<search::UndoItem> undo_item(const std::string& key, const std::string& value);

// The date of the backup file names: the date in the user's short date
// format (d, dd, M, MM, y, yy, yyyy and quoted text; month and day names are
// written as numbers), characters not allowed in file names turned to ".".
std::string backup_date(const platform::LocalDateTime& now, const std::string& short_date_format);

struct BackupFile {
    std::string key;   // "HKEY_CURRENT_USER\Software"
    std::string file;  // folder + "HKCU(" + date + ").reg"
};

// The files of a backup into `folder` for the selected keys, current user first.
std::vector<BackupFile> backup_files(const std::string& folder, KeySelection keys, const std::string& date);

// Has the registry editor export each selected "Software" key into the
// folder (an existing, absolute one). Made only when every export succeeded
// and every file exists and is not empty; otherwise a failure to show.
[[nodiscard]] platform::Status make_backup(platform::Platform& platform, const std::string& folder, KeySelection keys);

}  // namespace registry
