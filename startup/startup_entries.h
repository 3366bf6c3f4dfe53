#pragma once
// The programs Windows starts from the Run and RunOnce keys of one hive:
// reading them as a list of entries, writing and deleting one entry.
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "search/registry_undo.h"

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
// text (numbers in decimal, other data as hex bytes) and is never written
// back as text. A name without a cp1251 form shows '?' for each character
// that has none; nothing is ever done by that name.
struct StartupEntry {
    StartKey key = StartKey::run;
    std::string name;
    std::string command;
    platform::ValueType type = platform::ValueType::string;
    bool unrepresentable = false;
    platform::View view = platform::View::native;

    // The key as the page shows it; a 32-bit program's key is named where
    // the registry keeps it ("SOFTWARE\WOW6432Node\...").
    std::string key_text() const;
    // REG_SZ or REG_EXPAND_SZ: the only entries whose command can be changed.
    bool is_string() const;
};

// Refused before anything is done: an entry whose name cannot be written.
inline constexpr char kUnrepresentableName[] =
    "Имя записи содержит символы, которые программа не может передать системе. Запись не изменена.";

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

// Changes an entry, in the view it came from, without ever losing it. A
// string entry takes the new command and keeps its type; any other entry
// keeps its type and data exactly. A move or rename writes the new value
// first and deletes the old one afterwards; a rename that the registry sees
// as the same name (only letter case differs) deletes first and puts the old
// value back if the write fails.
platform::Status change_startup_entry(platform::Registry& registry, Hive hive, const StartupEntry& old_entry,
                                      StartKey key, const std::string& name, const std::string& command);

// What a change or a deletion touches, for its undo file: the new value
// first, then the entry as it is.
std::vector<search::UndoItem> touched_by_change(Hive hive, const StartupEntry& old_entry, StartKey key,
                                                const std::string& name);

}  // namespace startup
