#pragma once
// The undo file that every registry change of the program leaves behind.
// Before a value or a key is changed or deleted, its exact state is written
// into a .reg file of its own in Data\Backups ("Windows Registry Editor
// Version 5.00", UTF-16 LE with its BOM, as the registry editor writes it,
// every value type kept); a value that does not exist yet is written as its
// deletion ("name"=-). Opening the file with the registry editor (regedit /s)
// puts back exactly what the change touched. The file is read back and
// compared before anything changes; when it cannot be made, nothing may
// change. The newest 100 files are kept.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "store/data_folder.h"

namespace search {

// What a change is about to touch: one value of a key, or (no value) the key
// with everything below it.
struct UndoItem {
    platform::Root root;
    std::string key;
    std::optional<std::string> value;
};

// The caption of every message about a registry change that failed.
inline constexpr char kRegistryErrorCaption[] = "Ошибка";

inline constexpr char kBackupsFolder[] = "Backups";
inline constexpr std::size_t kUndoFilesKept = 100;

// The file's bytes (UTF-16 LE, BOM first) that put the items back as they are
// now. A key that does not exist contributes nothing (no change of the
// program makes a key). Fails when a key to keep holds a name without a
// cp1251 form, which the program cannot name.
platform::Result<std::string> undo_file_bytes(platform::Registry& registry, const std::vector<UndoItem>& items);

// Writes the undo file of the items into Data\Backups (made when missing),
// named by the local date and time and `action` ("2026-12-09 10.15.30
// startup.reg"), reads it back and compares it, then drops the oldest of the
// program's files beyond the newest 100. The file's path, or a failure whose
// message tells the user why nothing was changed.
platform::Result<std::string> save_undo_file(platform::Platform& platform, const store::DataFolder& data,
                                             std::string_view action, const std::vector<UndoItem>& items);

}  // namespace search
