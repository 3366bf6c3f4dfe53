#pragma once
// Guards over the four startup keys: the policy values that make Windows
// skip a key at boot, and the snapshots of value names that the monitor
// compares each key with. This is the only code that names the al_ files.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "store/data_folder.h"

namespace startup {

// One of the four startup keys, in the order the pages and the monitor use.
struct WatchedKey {
    const char* caption;       // the boxes' caption, also the key text a notification shows
    platform::Root root;
    const char* key;           // relative to its root
    const char* snapshot;      // the snapshot file in the Data folder
    const char* policy_value;  // the policy value that blocks the key
};

inline constexpr std::array<WatchedKey, 4> kWatchedKeys{{
    {"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", platform::Root::local_machine,
     "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "al_hklm.txt", "DisableLocalMachineRun"},
    {"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", platform::Root::local_machine,
     "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", "al_hklm_once.txt", "DisableLocalMachineRunOnce"},
    {"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", platform::Root::current_user,
     "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "al_hkcu.txt", "DisableCurrentUserRun"},
    {"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", platform::Root::current_user,
     "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", "al_hkcu_once.txt", "DisableCurrentUserRunOnce"},
}};

inline constexpr char kPolicyKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer";
inline constexpr char kMonitorMarker[] = "al_detect.txt";

// What the extra-settings page shows: blocked keys (policy value 1) and
// watched keys (snapshot file present).
struct AutorunSettings {
    std::array<bool, 4> blocked{};
    std::array<bool, 4> watched{};

    static AutorunSettings load(const store::DataFolder& data, platform::Registry& registry);
};

// Whether the monitor is on.
bool monitor_on(const store::DataFolder& data);

// Takes the snapshots of the ticked keys and drops the others; with none
// ticked, drops every file and the monitor's marker too. True when the
// monitor is on afterwards.
bool apply_watch(const store::DataFolder& data, platform::Registry& registry, const std::array<bool, 4>& watched);

// Writes the four policy values (1 blocked, 0 allowed) into the policy key,
// which is never created.
platform::Status write_block_policy(platform::Registry& registry, const std::array<bool, 4>& blocked);

// A value of a watched key as found: its name (marked when it has no cp1251
// form), the view it lies in and its data.
struct WatchedValue {
    std::string name;
    platform::View view = platform::View::native;
    bool unrepresentable = false;
    std::optional<platform::RawValue> data;
};

// The values of a key now, view by view (HKLM's keys in both: a 32-bit
// program's entry lies in the 32-bit one), each in the registry's order; none
// from a view whose key does not open. The snapshot holds their names.
std::vector<WatchedValue> current_values(platform::Registry& registry, const WatchedKey& key);

// The first current value whose name is in no snapshot line (exact
// comparison), or nothing. A name "###" is never new: lists of this program
// use it as a mark, so such a value is passed over and the names after it
// still count.
std::optional<WatchedValue> new_value(const std::vector<std::string>& snapshot, const std::vector<WatchedValue>& current);

}  // namespace startup
