#include "removal/uninstall_entries.h"

#include <algorithm>
#include <utility>

#include "search/folded.h"
#include "search/registry_walk.h"

namespace removal {

namespace {

bool same_entry(const UninstallEntry& a, const UninstallEntry& b) {
    return a.root == b.root && search::equal_folded(a.key_path, b.key_path) && a.display_name == b.display_name &&
           a.command == b.command;
}

void read_entries(platform::Registry& registry, platform::Pump& pump, platform::Root root, platform::View view,
                  std::vector<UninstallEntry>& entries) {
    const std::size_t earlier = entries.size();
    for (auto& subkey : search::subkey_strings(registry, root, kUninstallKey, {"DisplayName", "UninstallString"}, view,
                                               [&] { pump.serve(); })) {
        auto& name = subkey.values[0];
        auto& command = subkey.values[1];
        if (!name || !command) continue;
        UninstallEntry entry{std::string(kUninstallKey) + "\\" + subkey.subkey, std::move(*name), std::move(*command),
                             root, view};
        const auto end = entries.begin() + static_cast<std::ptrdiff_t>(earlier);
        if (std::none_of(entries.begin(), end, [&](const UninstallEntry& e) { return same_entry(e, entry); }))
            entries.push_back(std::move(entry));
    }
}

}  // namespace

std::vector<UninstallEntry> read_uninstall_entries(platform::Registry& registry, platform::Pump& pump) {
    std::vector<UninstallEntry> entries;
    for (const platform::Root root : {platform::Root::local_machine, platform::Root::current_user})
        for (const platform::View view : search::views_of(root)) read_entries(registry, pump, root, view, entries);
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
    auto removed = registry.delete_tree(entry.root, entry.key_path, entry.view);
    if (!removed && !registry.key_exists(entry.root, entry.key_path, entry.view))
        return platform::Status::success();
    return removed;
}

}  // namespace removal
