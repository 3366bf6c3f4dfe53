#pragma once
// The registry of the stand-in: a tree in memory under the three roots.
// Keys compare without regard to case (ASCII and cp1251 letters) and
// enumerate sorted by their upper-case names; values keep their insertion
// order, as the registry does. The tree imports and exports .reg text
// (REGEDIT4: "[key]", "name"="text", dword:, hex(n):, "[-key]", "name"=-;
// the version 5 header and a UTF-16 file with its BOM are read as well).
// Keys are named as they are stored: the 32-bit view's keys are the
// "WOW6432Node" keys of a 64-bit Windows.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace platform::posix {

class PosixRegistry : public Registry {
public:
    PosixRegistry();
    ~PosixRegistry() override;

    Result<std::unique_ptr<RegistryKey>> open(Root root, const std::string& path, KeyAccess access) override;
    Result<std::unique_ptr<RegistryKey>> create(Root root, const std::string& path) override;
    bool key_exists(Root root, const std::string& path) override;
    Status delete_tree(Root root, const std::string& path) override;
    // The same upper-casing as every lookup of the stand-in.
    bool same_name(const std::string& a, const std::string& b) override;
    // A 64-bit Windows: the program's view is the 64-bit one, and the 32-bit
    // view of HKLM\Software and of HKCR lies under their "WOW6432Node" key.
    Result<std::unique_ptr<RegistryKey>> open(Root root, const std::string& path, KeyAccess access, View view) override;
    bool key_exists(Root root, const std::string& path, View view) override;
    Status delete_tree(Root root, const std::string& path, View view) override;

    // Applies .reg text (cp1251, or UTF-16 with its BOM).
    Status import_reg(const std::string& text);
    // The .reg text (REGEDIT4, cp1251, CRLF) of a key and its whole subtree;
    // a failure when the key is missing.
    Result<std::string> export_reg(Root root, const std::string& path);
    // "HKEY_CURRENT_USER\Software" (or HKCU\...) split into a root and a path.
    static bool parse_key_name(const std::string& full, Root& root, std::string& path);

    struct Value {
        std::string name;
        ValueType type = ValueType::string;
        // REG_SZ and REG_EXPAND_SZ as cp1251 text without a terminator,
        // REG_MULTI_SZ as cp1251 with its '\0's; others as raw bytes
        std::string data;
    };
    struct Key {
        std::string name;
        std::vector<Value> values;
        std::map<std::string, std::shared_ptr<Key>> subkeys;  // by upper-case name
        bool deleted = false;
    };

private:
    std::shared_ptr<Key> find(Root root, const std::string& path) const;
    std::shared_ptr<Key> roots_[3];
};

}  // namespace platform::posix
