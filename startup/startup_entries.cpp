#include "startup/startup_entries.h"

#include <algorithm>

#include "search/folded.h"
#include "search/registry_walk.h"

namespace startup {

platform::Root root_of(Hive hive) {
    return hive == Hive::all_users ? platform::Root::local_machine : platform::Root::current_user;
}

platform::View added_view(Hive hive) {
    return hive == Hive::all_users ? platform::View::bit64 : platform::View::native;
}

std::string StartupEntry::key_text() const { return search::key_name_in_view(read_key(key), view); }

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

void read_key_entries(platform::Registry& registry, Hive hive, StartKey which, platform::View view,
                      std::vector<StartupEntry>& entries) {
    const auto values = search::key_values(registry, root_of(hive), read_key(which), view);
    if (values.empty()) return;
    const std::size_t earlier = entries.size();
    auto open = registry.open(root_of(hive), read_key(which), platform::KeyAccess::read, view);
    for (const auto& value : values) {
        StartupEntry entry;
        entry.key = which;
        entry.name = value.name;
        entry.is_string = value.text.has_value();
        entry.view = view;
        if (open) entry.command = value_text(**open, value.name, value.type, value.text);
        const auto twin = [&](const StartupEntry& e) {
            return e.key == entry.key && e.view != entry.view && e.name == entry.name && e.command == entry.command;
        };
        if (std::none_of(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(earlier), twin))
            entries.push_back(std::move(entry));
    }
}

platform::Result<std::unique_ptr<platform::RegistryKey>> open_for_writing(platform::Registry& registry, Hive hive,
                                                                          StartKey key, platform::View view) {
    return registry.open(root_of(hive), written_key(key), platform::KeyAccess::write, view);
}

}  // namespace

std::vector<StartupEntry> read_startup_entries(platform::Registry& registry, Hive hive) {
    std::vector<StartupEntry> entries;
    for (const StartKey which : {StartKey::run, StartKey::run_once})
        for (const platform::View view : search::views_of(root_of(hive)))
            read_key_entries(registry, hive, which, view, entries);
    return entries;
}

platform::Status write_startup_entry(platform::Registry& registry, Hive hive, StartKey key, const std::string& name,
                                     const std::string& command, platform::View view) {
    auto open = open_for_writing(registry, hive, key, view);
    if (!open) return open.status();
    return (*open)->write_string(name, command);
}

platform::Status delete_startup_entry(platform::Registry& registry, Hive hive, const StartupEntry& entry) {
    auto open = open_for_writing(registry, hive, entry.key, entry.view);
    if (!open) return open.status();
    return (*open)->delete_value(entry.name);
}

platform::Status change_startup_entry(platform::Registry& registry, Hive hive, const StartupEntry& old_entry,
                                      StartKey key, const std::string& name, const std::string& command) {
    const bool same_key = old_entry.key == key;
    const platform::View view = old_entry.view;
    if (same_key && name == old_entry.name) return write_startup_entry(registry, hive, key, name, command, view);
    if (same_key && search::equal_folded(name, old_entry.name)) {
        // The registry keeps a value's name as it was made: only a fresh
        // value takes the new spelling.
        auto open = open_for_writing(registry, hive, key, view);
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
    if (auto written = write_startup_entry(registry, hive, key, name, command, view); !written) return written;
    // The new entry is in place; an old value that will not go stays listed.
    static_cast<void>(delete_startup_entry(registry, hive, old_entry));
    return platform::Status::success();
}

}  // namespace startup
