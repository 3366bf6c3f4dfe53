#pragma once
// Walks of the registry, shared by every tool that reads keys: a depth-first
// walk of a whole subtree with hooks, and one-level readers for lists of
// subkeys and of values. Keys are opened for reading only; keys and values
// that cannot be opened or read are skipped.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/pump.h"
#include "platform/registry.h"

namespace search {

// A value met by a walk: its key's path relative to the root and its name
// ("" for the unnamed default value).
struct RegistryValue {
    std::string key;
    std::string name;
};

struct RegistryWalkRules {
    // Whether a key (its path relative to the root) is entered; a key that
    // does not pass is skipped with everything below it. Empty: every key.
    std::function<bool(const std::string& key)> key_passes;
    // Whether a value is kept; `key` is open for reading. Empty: every value.
    std::function<bool(platform::RegistryKey& key, const RegistryValue& value)> value_passes;
    // A key's own values come after those of all its subkeys (otherwise
    // before them).
    bool values_after_subkeys = false;
};

class RegistryWalk {
public:
    // The pump is served before each subkey and each value, and the stop
    // request checked right after: a stop ends the walk.
    RegistryWalk(platform::Registry& registry, platform::Pump& pump, const platform::StopRequest& stop,
                 RegistryWalkRules rules);

    // Appends the values of `key` and of its whole subtree that pass, depth
    // first, subkeys and values in the platform's order.
    void walk(platform::Root root, const std::string& key, std::vector<RegistryValue>& found);

private:
    bool go_on();
    void walk_key(platform::Root root, const std::string& key, std::vector<RegistryValue>& found);
    void take_values(platform::RegistryKey& open, const std::string& key, std::vector<RegistryValue>& found);

    platform::Registry& registry_;
    platform::Pump& pump_;
    const platform::StopRequest& stop_;
    RegistryWalkRules rules_;
};

// The named string values of one subkey.
struct SubkeyStrings {
    std::string subkey;
    std::vector<std::optional<std::string>> values;  // one per asked name; nothing when missing or not a string
};

// For each subkey of `key`, in the platform's order, the string values
// `names` (REG_SZ or REG_EXPAND_SZ, unexpanded). Nothing for a missing key;
// a subkey that does not open is listed with every value missing.
// `before_each` runs before each subkey is opened.
std::vector<SubkeyStrings> subkey_strings(platform::Registry& registry, platform::Root root, const std::string& key,
                                          const std::vector<std::string>& names,
                                          platform::View view = platform::View::native,
                                          const std::function<void()>& before_each = {});

// A value of one key with its type and exact data. A name without a cp1251
// form is listed too, marked and with '?' for each character that has none;
// its data is not read (no name reaches it).
struct KeyValue {
    std::string name;
    platform::ValueType type = platform::ValueType::none;
    std::optional<platform::RawValue> data;
    bool unrepresentable = false;
};

// The values of `key` in the platform's order; nothing for a missing key.
std::vector<KeyValue> key_values(platform::Registry& registry, platform::Root root, const std::string& key,
                                 platform::View view = platform::View::native);

// The views a list of one root's programs reads: HKEY_LOCAL_MACHINE's two,
// 64-bit first (32-bit programs register in the other); the program's own
// for the other roots, whose keys the views share.
std::vector<platform::View> views_of(platform::Root root);

// A key's name ("SOFTWARE\Microsoft\..." or "HKLM\Software\...") as the
// registry keeps it in `view`: the 32-bit view's keys lie under
// "Software\WOW6432Node".
std::string key_name_in_view(const std::string& key, platform::View view);

}  // namespace search
