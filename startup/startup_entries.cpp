#include "startup/startup_entries.h"

#include "search/folded.h"
#include "search/registry_walk.h"

namespace startup {

platform::Root root_of(Hive hive) {
    return hive == Hive::all_users ? platform::Root::local_machine : platform::Root::current_user;
}

const char* read_key(StartKey key) { return key == StartKey::run ? kRunKey : kRunOnceKey; }
const char* written_key(StartKey key) { return key == StartKey::run ? kRunKeyWritten : kRunOnceKeyWritten; }

std::string value_text(platform::RegistryKey& key, const std::string& name, platform::ValueType type,
                       const std::optional<std::string>& text) {
    if (text) return *text;
    switch (type) {
    case platform::ValueType::dword:
        if (auto number = key.read_dword(name)) return std::to_string(*number);
        return "";
    case platform::ValueType::binary: return "(REG_BINARY)";
    case platform::ValueType::multi_string: return "(REG_MULTI_SZ)";
    case platform::ValueType::qword: return "(REG_QWORD)";
    default: return "";
    }
}

namespace {

void read_key_entries(platform::Registry& registry, Hive hive, StartKey which, std::vector<StartupEntry>& entries) {
    const auto values = search::key_values(registry, root_of(hive), read_key(which));
    if (values.empty()) return;
    auto open = registry.open(root_of(hive), read_key(which), platform::KeyAccess::read);
    for (const auto& value : values) {
        StartupEntry entry;
        entry.key = which;
        entry.name = value.name;
        entry.is_string = value.text.has_value();
        if (open) entry.command = value_text(**open, value.name, value.type, value.text);
        entries.push_back(std::move(entry));
    }
}

}  // namespace

std::vector<StartupEntry> read_startup_entries(platform::Registry& registry, Hive hive) {
    std::vector<StartupEntry> entries;
    read_key_entries(registry, hive, StartKey::run, entries);
    read_key_entries(registry, hive, StartKey::run_once, entries);
    return entries;
}

platform::Status write_startup_entry(platform::Registry& registry, Hive hive, StartKey key, const std::string& name,
                                     const std::string& command) {
    auto open = registry.open(root_of(hive), written_key(key), platform::KeyAccess::write);
    if (!open) return open.status();
    return (*open)->write_string(name, command);
}

platform::Status delete_startup_entry(platform::Registry& registry, Hive hive, StartKey key, const std::string& name) {
    auto open = registry.open(root_of(hive), written_key(key), platform::KeyAccess::write);
    if (!open) return open.status();
    return (*open)->delete_value(name);
}

platform::Status change_startup_entry(platform::Registry& registry, Hive hive, const StartupEntry& old_entry,
                                      StartKey key, const std::string& name, const std::string& command) {
    const bool same_key = old_entry.key == key;
    if (same_key && name == old_entry.name) return write_startup_entry(registry, hive, key, name, command);
    if (same_key && search::equal_folded(name, old_entry.name)) {
        // The registry keeps a value's name as it was made: only a fresh
        // value takes the new spelling.
        auto open = registry.open(root_of(hive), written_key(key), platform::KeyAccess::write);
        if (!open) return open.status();
        const auto old_type = (*open)->value_type(old_entry.name);
        const auto old_text = (*open)->read_string(old_entry.name);
        const auto old_number = (*open)->read_dword(old_entry.name);
        if (auto deleted = (*open)->delete_value(old_entry.name); !deleted) return deleted;
        auto written = (*open)->write_string(name, command);
        if (!written) {
            const auto restored = old_type == platform::ValueType::dword && old_number
                                      ? (*open)->write_dword(old_entry.name, *old_number)
                                      : (*open)->write_string(old_entry.name, old_text.value_or(old_entry.command));
            static_cast<void>(restored);  // the write's failure is what the user is told
        }
        return written;
    }
    if (auto written = write_startup_entry(registry, hive, key, name, command); !written) return written;
    // The new entry is in place; an old value that will not go stays listed.
    static_cast<void>(delete_startup_entry(registry, hive, old_entry.key, old_entry.name));
    return platform::Status::success();
}

}  // namespace startup
