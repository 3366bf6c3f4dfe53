#include "startup/autorun_watch.h"

#include <algorithm>

#include "search/registry_walk.h"

namespace startup {

AutorunSettings AutorunSettings::load(const store::DataFolder& data, platform::Registry& registry) {
    AutorunSettings settings;
    auto policy = registry.open(platform::Root::local_machine, kPolicyKey, platform::KeyAccess::read);
    for (std::size_t i = 0; i < kWatchedKeys.size(); ++i) {
        settings.blocked[i] = policy && (*policy)->read_dword(kWatchedKeys[i].policy_value) == 1u;
        settings.watched[i] = data.exists(kWatchedKeys[i].snapshot);
    }
    return settings;
}

namespace {

std::vector<std::string> names_of(const std::vector<WatchedValue>& values) {
    std::vector<std::string> names;
    for (const auto& value : values) names.push_back(value.name);
    return names;
}

}  // namespace

bool monitor_on(const store::DataFolder& data) { return data.exists(kMonitorMarker); }

std::vector<WatchedValue> current_values(platform::Registry& registry, const WatchedKey& key) {
    std::vector<WatchedValue> values;
    for (const platform::View view : search::views_of(key.root))
        for (auto& value : search::key_values(registry, key.root, key.key, view))
            values.push_back({std::move(value.name), view, value.unrepresentable, std::move(value.data)});
    return values;
}

bool apply_watch(const store::DataFolder& data, platform::Registry& registry, const std::array<bool, 4>& watched) {
    const bool any = std::find(watched.begin(), watched.end(), true) != watched.end();
    if (!any) {
        data.remove(kMonitorMarker);
        for (const auto& key : kWatchedKeys) data.remove(key.snapshot);
        return false;
    }
    data.set_marker(kMonitorMarker, true);
    for (std::size_t i = 0; i < kWatchedKeys.size(); ++i) {
        if (watched[i])
            data.rewrite(kWatchedKeys[i].snapshot, names_of(current_values(registry, kWatchedKeys[i])));
        else
            data.remove(kWatchedKeys[i].snapshot);
    }
    return true;
}

platform::Status write_block_policy(platform::Registry& registry, const std::array<bool, 4>& blocked) {
    auto policy = registry.open(platform::Root::local_machine, kPolicyKey, platform::KeyAccess::write);
    if (!policy) return policy.status();
    platform::Status result = platform::Status::success();
    for (std::size_t i = 0; i < kWatchedKeys.size(); ++i) {
        auto written = (*policy)->write_dword(kWatchedKeys[i].policy_value, blocked[i] ? 1u : 0u);
        if (!written && result) result = std::move(written);
    }
    return result;
}

std::optional<WatchedValue> new_value(const std::vector<std::string>& snapshot, const std::vector<WatchedValue>& current) {
    for (const auto& value : current)
        if (value.name != "###" && std::find(snapshot.begin(), snapshot.end(), value.name) == snapshot.end()) return value;
    return std::nullopt;
}

}  // namespace startup
