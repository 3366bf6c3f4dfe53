#pragma once
// The programs Windows starts from the Run and RunOnce keys of one hive:
// reading them as a list of entries, writing and deleting one entry.
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace startup {

enum class Hive { all_users, current_user };
enum class StartKey { run, run_once };

platform::Root root_of(Hive hive);
// The view an added entry goes to: the machine's 64-bit one.
platform::View added_view(Hive hive);

// The key texts: as the lists read them and as the editor writes them
// (key names compare without regard to case).
inline constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunOnceKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr char kRunKeyWritten[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunOnceKeyWritten[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

const char* read_key(StartKey key);
const char* written_key(StartKey key);

// One value of a startup key. A value that is not a string shows its data as
// text of its type (a number in decimal) and is never written back as text.
struct StartupEntry {
    StartKey key = StartKey::run;
    std::string name;
    std::string command;
    bool is_string = true;
    platform::View view = platform::View::native;

    // The key as the page shows it; a 32-bit program's key is named where
    // the registry keeps it ("SOFTWARE\WOW6432Node\...").
    std::string key_text() const;
};

// The text a value of any type shows.
std::string value_text(platform::RegistryKey& key, const std::string& name, platform::ValueType type,
                       const std::optional<std::string>& text);

// The Run entries, then the RunOnce entries, each key in the hive's views
// and each view in the registry's order; a missing key gives none. A 32-bit
// entry that repeats a 64-bit one of the same key (name and command: one key
// seen through both views of a 32-bit Windows) is left out.
std::vector<StartupEntry> read_startup_entries(platform::Registry& registry, Hive hive);

// Writes a string value into the Run or RunOnce key of a view, which is
// never created.
platform::Status write_startup_entry(platform::Registry& registry, Hive hive, StartKey key, const std::string& name,
                                     const std::string& command, platform::View view);
platform::Status delete_startup_entry(platform::Registry& registry, Hive hive, const StartupEntry& entry);

// Changes an entry, in the view it came from, without ever losing it: the new
// value is written first and the old one deleted afterwards, only when it
// lies elsewhere (another key or another name). A rename that only changes
// letter case deletes first and puts the old value back if the write fails.
platform::Status change_startup_entry(platform::Registry& registry, Hive hive, const StartupEntry& old_entry,
                                      StartKey key, const std::string& name, const std::string& command);

}  // namespace startup
