#pragma once
// The registry: keys are opened without being created. Key paths are cp1251,
// relative to their root ("Software\Microsoft"). Reading never asks for write
// access, so a program without administrator rights still reads
// HKEY_LOCAL_MACHINE.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/status.h"

namespace platform {

enum class Root { classes_root, current_user, local_machine };

// Value types, numbered as the registry numbers them.
enum class ValueType : std::uint32_t {
    none = 0, string = 1, expand_string = 2, binary = 3, dword = 4, multi_string = 7, qword = 11
};

enum class KeyAccess { read, write };

class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // Names in the platform's order.
    virtual std::vector<std::string> subkey_names() = 0;
    virtual std::vector<std::string> value_names() = 0;
    // "" names the unnamed default value. Nothing when the value is missing.
    virtual std::optional<ValueType> value_type(const std::string& name) = 0;
    // A REG_SZ (or REG_EXPAND_SZ, unexpanded) value's text; nothing when the
    // value is missing or holds another type.
    virtual std::optional<std::string> read_string(const std::string& name) = 0;
    virtual std::optional<std::uint32_t> read_dword(const std::string& name) = 0;
    virtual Status write_string(const std::string& name, const std::string& value) = 0;
    virtual Status write_dword(const std::string& name, std::uint32_t value) = 0;
    virtual Status delete_value(const std::string& name) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;
    // The key, or a failure when it is missing or access is refused; a missing
    // key is never created.
    virtual Result<std::unique_ptr<RegistryKey>> open(Root root, const std::string& path, KeyAccess access) = 0;
    // Creates a key (and its missing parents) and opens it for writing.
    virtual Result<std::unique_ptr<RegistryKey>> create(Root root, const std::string& path) = 0;
    virtual bool key_exists(Root root, const std::string& path) = 0;
    // Deletes a key with all its subkeys and values, depth first.
    virtual Status delete_tree(Root root, const std::string& path) = 0;
};

}  // namespace platform
