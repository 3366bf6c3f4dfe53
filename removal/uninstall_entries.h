#pragma once
// Installed programs: the entries of the Uninstall keys (HKEY_LOCAL_MACHINE's
// in both views, for the programs of all users, and HKEY_CURRENT_USER's, for
// those installed for one user) that carry both a display name and an
// uninstall command, their order by name, and the removal of an entry's key.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/pump.h"
#include "platform/registry.h"
#include "platform/status.h"

namespace removal {

inline constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

struct UninstallEntry {
    std::string key_path;  // under `root`, in `view`
    std::string display_name;
    std::string command;
    platform::Root root = platform::Root::local_machine;
    platform::View view = platform::View::bit64;
};

// The subkeys of the Uninstall keys that hold both a "DisplayName" and an
// "UninstallString" string (empty ones count): HKEY_LOCAL_MACHINE's 64-bit
// view, its 32-bit view, then HKEY_CURRENT_USER, each in the registry's order.
// A 32-bit entry that repeats a 64-bit one (same subkey, name and command:
// one key seen through both views of a 32-bit Windows) is left out. The pump
// is served once per subkey. Nothing from a missing key.
std::vector<UninstallEntry> read_uninstall_entries(platform::Registry& registry, platform::Pump& pump);

// Whether `a` goes before `b` in the list: only the upper forms of the first
// two characters count (the second only when both names have one); an empty
// name goes before every other.
bool name_key_less(const std::string& a, const std::string& b);

// The entries' positions in list order: a selection sort by name_key_less
// that swaps the first smallest name into each place in turn, so that names
// with equal keys end where the swaps leave them.
std::vector<std::size_t> list_order(const std::vector<UninstallEntry>& entries);

// Deletes the entry's key with everything below it. A key that is already
// gone counts as deleted.
platform::Status remove_uninstall_entry(platform::Registry& registry, const UninstallEntry& entry);

}  // namespace removal
