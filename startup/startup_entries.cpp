#include "startup/startup_entries.h"

#include "search/registry_walk.h"

namespace startup {

platform::Root root_of(Hive hive) {
    return hive == Hive::all_users ? platform::Root::local_machine : platform::Root::current_user;
}

const char* read_key(StartKey key) { return key == StartKey::run ? kRunKey : kRunOnceKey; }
const char* written_key(StartKey key) { return key == StartKey::run ? kRunKeyWritten : kRunOnceKeyWritten; }

bool StartupEntry::is_string() const {
    return type == platform::ValueType::string || type == platform::ValueType::expand_string;
}

namespace {

void read_key_entries(platform::Registry& registry, Hive hive, StartKey which, std::vector<StartupEntry>& entries) {
    for (auto& value : search::key_values(registry, root_of(hive), read_key(which))) {
        StartupEntry entry;
        entry.key = which;
        entry.type = value.type;
        entry.unrepresentable = value.unrepresentable;
        entry.command = value.data ? platform::shown_text(*value.data) : "";
        entry.name = std::move(value.name);
        entries.push_back(std::move(entry));
    }
}

platform::Status refused() { return platform::Status::failure(kUnrepresentableName); }

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

platform::Status delete_startup_entry(platform::Registry& registry, Hive hive, const StartupEntry& entry) {
    if (entry.unrepresentable) return refused();
    auto open = registry.open(root_of(hive), written_key(entry.key), platform::KeyAccess::write);
    if (!open) return open.status();
    return (*open)->delete_value(entry.name);
}

platform::Status change_startup_entry(platform::Registry& registry, Hive hive, const StartupEntry& old_entry,
                                      StartKey key, const std::string& name, const std::string& command) {
    if (old_entry.unrepresentable) return refused();
    auto source = registry.open(root_of(hive), written_key(old_entry.key), platform::KeyAccess::write);
    if (!source) return source.status();
    const auto old_value = (*source)->read_raw(old_entry.name);
    if (!old_value)
        return platform::Status::failure("Запись \"" + old_entry.name + "\" не найдена: её уже удалили.");
    const bool text = old_value->type == platform::ValueType::string || old_value->type == platform::ValueType::expand_string;
    const platform::RawValue value = text ? platform::text_value(old_value->type, command) : *old_value;

    if (old_entry.key == key && registry.same_name(name, old_entry.name)) {
        if (name == old_entry.name) return (*source)->write_raw(name, value);
        // The registry keeps a value's name as it was made: only a fresh
        // value takes the new spelling.
        if (auto deleted = (*source)->delete_value(old_entry.name); !deleted) return deleted;
        auto written = (*source)->write_raw(name, value);
        if (!written) static_cast<void>((*source)->write_raw(old_entry.name, *old_value));  // the write's failure is told
        return written;
    }
    auto target = registry.open(root_of(hive), written_key(key), platform::KeyAccess::write);
    if (!target) return target.status();
    if (auto written = (*target)->write_raw(name, value); !written) return written;
    if (auto deleted = (*source)->delete_value(old_entry.name); !deleted)
        return platform::Status::failure("Новая запись сохранена, но прежнюю \"" + old_entry.name +
                                         "\" удалить не удалось: " + deleted.message());
    return platform::Status::success();
}

std::vector<search::UndoItem> touched_by_change(Hive hive, const StartupEntry& old_entry, StartKey key,
                                                const std::string& name) {
    return {{root_of(hive), written_key(key), name}, {root_of(hive), written_key(old_entry.key), old_entry.name}};
}

}  // namespace startup
