#include "removal/uninstall_entries.h"

#include <utility>

#include "search/folded.h"
#include "search/registry_walk.h"

namespace removal {

std::vector<UninstallEntry> read_uninstall_entries(platform::Registry& registry, platform::Pump& pump) {
    std::vector<UninstallEntry> entries;
    for (auto& subkey : search::subkey_strings(registry, platform::Root::local_machine, kUninstallKey,
                                               {"DisplayName", "UninstallString"}, [&] { pump.serve(); })) {
        auto& name = subkey.values[0];
        auto& command = subkey.values[1];
        if (!name || !command) continue;
        entries.push_back({std::string(kUninstallKey) + "\\" + subkey.subkey, std::move(*name), std::move(*command)});
    }
    return entries;
}

bool name_key_less(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return a.empty() && !b.empty();
    const auto key = [](const std::string& name, std::size_t i) {
        return static_cast<unsigned char>(search::upper_char(name[i]));
    };
    if (key(a, 0) != key(b, 0)) return key(a, 0) < key(b, 0);
    if (a.size() >= 2 && b.size() >= 2) return key(a, 1) < key(b, 1);
    return false;
}

std::vector<std::size_t> list_order(const std::vector<UninstallEntry>& entries) {
    std::vector<std::size_t> order(entries.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    for (std::size_t place = 0; place + 1 < order.size(); ++place) {
        std::size_t smallest = place;
        for (std::size_t i = place + 1; i < order.size(); ++i)
            if (name_key_less(entries[order[i]].display_name, entries[order[smallest]].display_name)) smallest = i;
        std::swap(order[place], order[smallest]);
    }
    return order;
}

platform::Status remove_uninstall_entry(platform::Registry& registry, const UninstallEntry& entry) {
    auto removed = registry.delete_tree(platform::Root::local_machine, entry.key_path);
    if (!removed && !registry.key_exists(platform::Root::local_machine, entry.key_path))
        return platform::Status::success();
    return removed;
}

}  // namespace removal
