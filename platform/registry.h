#pragma once
// The registry: keys are opened without being created. Key paths are cp1251,
// relative to their root ("Software\Microsoft"; "" is the root itself). Reading
// never asks for write access, so a program without administrator rights
// still reads HKEY_LOCAL_MACHINE. Failures carry the system's message.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace platform {

enum class Root { classes_root, current_user, local_machine };

// Value types, numbered as the registry numbers them.
enum class ValueType : std::uint32_t {
    none = 0, string = 1, expand_string = 2, binary = 3, dword = 4, multi_string = 7, qword = 11
};

enum class KeyAccess { read, write };

// A value's data as the registry holds it: strings (REG_SZ, REG_EXPAND_SZ,
// REG_MULTI_SZ) as UTF-16 LE with their terminators, numbers little-endian,
// everything else as it is. Copying it keeps a value exactly.
struct RawValue {
    ValueType type = ValueType::none;
    std::string bytes;
    friend bool operator==(const RawValue&, const RawValue&) = default;
};

// A REG_SZ or REG_EXPAND_SZ (or, with '\0' between its strings, a
// REG_MULTI_SZ) holding cp1251 `text`, with its terminator(s).
RawValue text_value(ValueType type, std::string_view text);
// A value's data as one line of text: strings as they are, the strings of a
// REG_MULTI_SZ joined by blanks, numbers in decimal, other data as hex bytes.
std::string shown_text(const RawValue& value);

// A subkey or value name as listed. A name with characters that have no
// cp1251 form is marked and shows '?' for each of them: no operation may use
// that text, which could name another value.
struct ListedName {
    std::string text;
    bool unrepresentable = false;
};
// Which of a 64-bit Windows' two views of HKEY_LOCAL_MACHINE\Software (and of
// HKEY_CLASSES_ROOT) a key is opened in: the program's own, the 64-bit one,
// or the 32-bit one that 32-bit programs see (kept under
// "Software\WOW6432Node"). A 32-bit Windows has one view, named by all three.
enum class View { native, bit64, bit32 };

// An open key; closed at destruction. Value names compare without case.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // Names in the platform's order: subkeys sorted without regard to case;
    // values as the registry keeps them (Windows: as they were made; Wine:
    // sorted). Names without a cp1251 form are left out.
    virtual std::vector<std::string> subkey_names() = 0;
    virtual std::vector<std::string> value_names() = 0;
    // "" names the unnamed default value. Nothing when the value is missing.
    // A REG_EXPAND_SZ reports its own type.
    virtual std::optional<ValueType> value_type(const std::string& name) = 0;
    // A REG_SZ (or REG_EXPAND_SZ, unexpanded) value's text; nothing when the
    // value is missing, holds another type, or has characters without a
    // cp1251 form (so that it is never taken for another text).
    virtual std::optional<std::string> read_string(const std::string& name) = 0;
    // A REG_DWORD value; nothing when missing or of another type.
    virtual std::optional<std::uint32_t> read_dword(const std::string& name) = 0;
    // Writing needs a key opened with KeyAccess::write (or made by create()).
    virtual Status write_string(const std::string& name, const std::string& value) = 0;  // REG_SZ
    virtual Status write_dword(const std::string& name, std::uint32_t value) = 0;        // REG_DWORD
    // Fails when the value is missing.
    virtual Status delete_value(const std::string& name) = 0;

    // Every subkey and value name, in the order above, names without a cp1251
    // form included and marked.
    virtual std::vector<ListedName> every_subkey_name() = 0;
    virtual std::vector<ListedName> every_value_name() = 0;
    // A value's exact type and data; nothing when it is missing.
    virtual std::optional<RawValue> read_raw(const std::string& name) = 0;
    // Writes a value of any type with exactly these bytes.
    virtual Status write_raw(const std::string& name, const RawValue& value) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;
    // The key, or a failure when it is missing or access is refused; a missing
    // key is never created. KeyAccess::read asks for reading only (KEY_READ),
    // KeyAccess::write for reading and writing.
    virtual Result<std::unique_ptr<RegistryKey>> open(Root root, const std::string& path, KeyAccess access) = 0;
    // Creates a key (and its missing parents) and opens it for writing.
    virtual Result<std::unique_ptr<RegistryKey>> create(Root root, const std::string& path) = 0;
    // Whether the key opens for reading.
    virtual bool key_exists(Root root, const std::string& path) = 0;
    // Deletes a key with all its subkeys and values, depth first; fails for
    // a missing key and for a root ("").
    virtual Status delete_tree(Root root, const std::string& path) = 0;

    // Whether two value names name one value, by the registry's own rule
    // (Windows: without regard to case over all of Unicode).
    virtual bool same_name(const std::string& a, const std::string& b) = 0;
    // The same in a chosen view. A registry with one view (a test's
    // decorator) answers every view from it.
    virtual Result<std::unique_ptr<RegistryKey>> open(Root root, const std::string& path, KeyAccess access, View) {
        return open(root, path, access);
    }
    virtual bool key_exists(Root root, const std::string& path, View) { return key_exists(root, path); }
    virtual Status delete_tree(Root root, const std::string& path, View) { return delete_tree(root, path); }
};

}  // namespace platform
