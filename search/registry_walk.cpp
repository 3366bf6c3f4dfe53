#include "search/registry_walk.h"

#include <algorithm>

#include "search/folded.h"

namespace search {

RegistryWalk::RegistryWalk(platform::Registry& registry, platform::Pump& pump, const platform::StopRequest& stop,
                           RegistryWalkRules rules)
    : registry_(registry), pump_(pump), stop_(stop), rules_(std::move(rules)) {}

void RegistryWalk::walk(platform::Root root, const std::string& key, std::vector<RegistryValue>& found) {
    walk_key(root, key, found);
}

bool RegistryWalk::go_on() {
    pump_.serve();
    return !stop_.requested();
}

void RegistryWalk::walk_key(platform::Root root, const std::string& key, std::vector<RegistryValue>& found) {
    if (rules_.key_passes && !rules_.key_passes(key)) return;
    auto open = registry_.open(root, key, platform::KeyAccess::read);
    if (!open) return;
    platform::RegistryKey& opened = **open;

    if (!rules_.values_after_subkeys) take_values(opened, key, found);
    for (const auto& name : opened.subkey_names()) {
        if (!go_on()) return;
        walk_key(root, key.empty() ? name : key + "\\" + name, found);
    }
    if (rules_.values_after_subkeys) take_values(opened, key, found);
}

void RegistryWalk::take_values(platform::RegistryKey& open, const std::string& key, std::vector<RegistryValue>& found) {
    for (auto& name : open.value_names()) {
        if (!go_on()) return;
        RegistryValue value{key, std::move(name)};
        if (!rules_.value_passes || rules_.value_passes(open, value)) found.push_back(std::move(value));
    }
}

std::vector<SubkeyStrings> subkey_strings(platform::Registry& registry, platform::Root root, const std::string& key,
                                          const std::vector<std::string>& names, platform::View view,
                                          const std::function<void()>& before_each) {
    std::vector<SubkeyStrings> list;
    auto parent = registry.open(root, key, platform::KeyAccess::read, view);
    if (!parent) return list;
    for (auto& subkey : (*parent)->subkey_names()) {
        if (before_each) before_each();
        SubkeyStrings entry{std::move(subkey), std::vector<std::optional<std::string>>(names.size())};
        auto child = registry.open(root, key.empty() ? entry.subkey : key + "\\" + entry.subkey, platform::KeyAccess::read,
                                   view);
        if (child)
            for (std::size_t i = 0; i < names.size(); ++i) entry.values[i] = (*child)->read_string(names[i]);
        list.push_back(std::move(entry));
    }
    return list;
}

std::vector<KeyValue> key_values(platform::Registry& registry, platform::Root root, const std::string& key,
                                 platform::View view) {
    std::vector<KeyValue> list;
    auto open = registry.open(root, key, platform::KeyAccess::read, view);
    if (!open) return list;
    for (auto& name : (*open)->every_value_name()) {
        KeyValue value;
        value.name = std::move(name.text);
        value.unrepresentable = name.unrepresentable;
        if (!value.unrepresentable) value.data = (*open)->read_raw(value.name);
        if (value.data) value.type = value.data->type;
        list.push_back(std::move(value));
    }
    return list;
}

std::vector<platform::View> views_of(platform::Root root) {
    if (root == platform::Root::local_machine) return {platform::View::bit64, platform::View::bit32};
    return {platform::View::native};
}

std::string key_name_in_view(const std::string& key, platform::View view) {
    if (view != platform::View::bit32) return key;
    for (std::size_t start = 0; start < key.size();) {
        const std::size_t end = std::min(key.find('\\', start), key.size());
        if (search::equal_folded(std::string_view(key).substr(start, end - start), "software"))
            return key.substr(0, end) + "\\WOW6432Node" + key.substr(end);
        start = end + 1;
    }
    return key;
}

}  // namespace search
