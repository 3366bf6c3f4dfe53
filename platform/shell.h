#pragma once
// The shell: recycle bin, opening documents, starting programs.
#include <cstdint>
#include <string>

#include "platform/status.h"

namespace platform {

struct RecycleBinInfo {
    std::uint64_t items = 0;
    std::uint64_t bytes = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    // Items and bytes in the recycle bins of all drives.
    virtual Result<RecycleBinInfo> query_recycle_bin() = 0;
    // Empties the bins of all drives without asking.
    virtual Status empty_recycle_bin() = 0;
    // Moves one file (absolute path) to the bin, undoable, without asking
    // (SHFileOperation with FOF_ALLOWUNDO | FOF_NOCONFIRMATION). Fails for a
    // missing file, an empty or relative path and a drive root.
    virtual Status delete_to_recycle_bin(const std::string& path) = 0;
    // Opens a document, folder or address with a verb ("open"; "" for the
    // default verb), shown normally.
    virtual Status open(const std::string& verb, const std::string& target, const std::string& parameters = "") = 0;
    // Starts a command line shown normally (as WinExec does); does not wait.
    // Fails when the program cannot be started.
    virtual Status run_command_line(const std::string& command_line) = 0;
    // Has the registry editor export a key ("HKEY_CURRENT_USER\Software") to
    // a .reg file ("regedit /e file key") and waits for it (at most a
    // minute); fails when it did not end with success and a written file.
    virtual Status export_registry_key(const std::string& key, const std::string& file) = 0;
};

}  // namespace platform
