#pragma once
// The registry reference search: string values under "Software" of the
// current user and of the machine whose text is a plain path on a chosen
// drive that no longer exists. A value of a 32-bit program (under a
// "WOW6432Node" key) that names the system folder counts as present when
// SysWOW64 holds the path, where such a program finds it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/pump.h"
#include "search/walk_progress.h"
#include "store/data_folder.h"

namespace registry {

// Which of the two "Software" keys are searched.
struct KeySelection {
    bool current_user = false;
    bool local_machine = false;
    friend bool operator==(const KeySelection&, const KeySelection&) = default;
};

inline constexpr char kKeysFile[] = "rg_keys.txt";
inline constexpr char kDrivesFile[] = "rg_drives.txt";

// rg_keys.txt: its first line, "1" in the first place for HKEY_CURRENT_USER
// and in the second for HKEY_LOCAL_MACHINE. Nothing without the file.
std::optional<KeySelection> read_key_selection(const store::DataFolder& data);
// Writes the two characters without a line break. Throws store::FileError.
void save_key_selection(const store::DataFolder& data, KeySelection keys);

struct ReferenceSearchSettings {
    std::vector<char> drives;         // letters of the checked drives, in row order
    std::optional<KeySelection> keys;  // nothing without rg_keys.txt: the window keeps the last one and closes

    static ReferenceSearchSettings load(const store::DataFolder& data, platform::Registry& registry,
                                        std::vector<char> drives);
};

struct BrokenReference {
    std::string key;    // "HKCU\" or "HKLM\" followed by the key path
    std::string value;  // the value name, "" for the default value
    std::string data;   // the path it names
};

struct ReferenceSearchResult {
    std::vector<BrokenReference> rows;
    KeySelection keys;  // the selection searched, kept for the backup
    bool stopped = false;
};

// What the search window shows: walk_started(values, first key) when a
// root's values are collected and walking(j, key) before value j is tested.
class ReferenceProgress : public search::WalkProgress {
public:
    // A root's search begins (its caption, "Считывается ключ...", the bar at 0).
    virtual void root_started(platform::Root root) = 0;
};

// Searches the selected roots (settings.keys, nothing when absent), first
// HKEY_CURRENT_USER, then HKEY_LOCAL_MACHINE. A stop ends the current root
// and skips the next; the rows found so far are the result.
ReferenceSearchResult run_reference_search(const ReferenceSearchSettings& settings, platform::Platform& platform,
                                           platform::Pump& pump, const platform::StopRequest& stop,
                                           ReferenceProgress& progress);

// "HKCU\" or "HKLM\".
std::string root_prefix(platform::Root root);

}  // namespace registry
