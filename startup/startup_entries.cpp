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

bool StartupEntry::is_string() const {
    return type == platform::ValueType::string || type == platform::ValueType::expand_string;
}

namespace {

void read_key_entries(platform::Registry& registry, Hive hive, StartKey which, platform::View view,
                      std::vector<StartupEntry>& entries) {
    const std::size_t earlier = entries.size();
    for (auto& value : search::key_values(registry, root_of(hive), read_key(which), view)) {
        StartupEntry entry;
        entry.key = which;
        entry.type = value.type;
        entry.unrepresentable = value.unrepresentable;
        entry.view = view;
        entry.command = value.data ? platform::shown_text(*value.data) : "";
        entry.name = std::move(value.name);
        const auto twin = [&](const StartupEntry& e) {
            return e.key == entry.key && e.view != entry.view && e.name == entry.name && e.command == entry.command;
        };
        if (std::none_of(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(earlier), twin))
            entries.push_back(std::move(entry));
    }
}

platform::Status refused() { return platform::Status::failure(kUnrepresentableName); }

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
    if (entry.unrepresentable) return refused();
    auto open = open_for_writing(registry, hive, entry.key, entry.view);
    if (!open) return open.status();
    return (*open)->delete_value(entry.name);
}

platform::Status change_startup_entry(platform::Registry& registry, Hive hive, const StartupEntry& old_entry,
                                      StartKey key, const std::string& name, const std::string& command) {
    if (old_entry.unrepresentable) return refused();
    const platform::View view = old_entry.view;
    auto source = open_for_writing(registry, hive, old_entry.key, view);
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
    auto target = open_for_writing(registry, hive, key, view);
    if (!target) return target.status();
    if (auto written = (*target)->write_raw(name, value); !written) return written;
    if (auto deleted = (*source)->delete_value(old_entry.name); !deleted)
        return platform::Status::failure("Новая запись сохранена, но прежнюю \"" + old_entry.name +
                                         "\" удалить не удалось: " + deleted.message());
    return platform::Status::success();
}

std::vector<search::UndoItem> touched_by_change(Hive hive, const StartupEntry& old_entry, StartKey key,
                                                const std::string& name) {
    // A 32-bit entry is saved under the key where the registry keeps it, which
    // the program's own view reaches too.
    const auto in_view = [&](StartKey k) { return search::key_name_in_view(written_key(k), old_entry.view); };
    return {{root_of(hive), in_view(key), name}, {root_of(hive), in_view(old_entry.key), old_entry.name}};
}

}  // namespace startup
