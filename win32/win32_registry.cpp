#include <windows.h>

#include <vector>

#include "win32/handles.h"
#include "win32/win32_services.h"
#include "win32/win32_text.h"

namespace platform::win32 {

namespace {

HKEY root_key(Root root) {
    switch (root) {
        case Root::classes_root: return HKEY_CLASSES_ROOT;
        case Root::current_user: return HKEY_CURRENT_USER;
        case Root::local_machine: return HKEY_LOCAL_MACHINE;
    }
    return HKEY_CURRENT_USER;
}

// The flag that opens a key in a view; none for the program's own.
REGSAM view_flag(View view) {
    switch (view) {
        case View::native: return 0;
        case View::bit64: return KEY_WOW64_64KEY;
        case View::bit32: return KEY_WOW64_32KEY;
    }
    return 0;
}

// The names (UTF-16) that `enumerate` (RegEnumKeyExW or RegEnumValueW)
// gives one by one, with a buffer of `longest` characters to start with.
template <class Enumerate>
std::vector<std::wstring> wide_names(DWORD longest, Enumerate enumerate) {
    std::vector<std::wstring> names;
    std::wstring buffer(longest + 2, L'\0');
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(buffer.size());
        const LSTATUS r = enumerate(i, buffer.data(), &length);
        if (r == ERROR_MORE_DATA) {
            buffer.resize(buffer.size() * 2);
            --i;
            continue;
        }
        if (r != ERROR_SUCCESS) break;
        names.emplace_back(buffer.data(), length);
    }
    return names;
}

// Subkey names (UTF-16) of an open key.
std::vector<std::wstring> wide_subkeys(HKEY key) {
    DWORD longest = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr) != ERROR_SUCCESS)
        return {};
    return wide_names(longest, [key](DWORD i, wchar_t* name, DWORD* length) {
        return RegEnumKeyExW(key, i, name, length, nullptr, nullptr, nullptr, nullptr);
    });
}

// Value names (UTF-16) of an open key.
std::vector<std::wstring> wide_values(HKEY key) {
    DWORD longest = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr,
                         nullptr) != ERROR_SUCCESS)
        return {};
    return wide_names(longest, [key](DWORD i, wchar_t* name, DWORD* length) {
        return RegEnumValueW(key, i, name, length, nullptr, nullptr, nullptr, nullptr);
    });
}

std::vector<ListedName> listed(const std::vector<std::wstring>& wide) {
    std::vector<ListedName> names;
    for (const auto& w : wide) {
        bool lossy = false;
        std::string text = narrow_lossy(w, &lossy);
        names.push_back({std::move(text), lossy});
    }
    return names;
}

class Win32Key : public RegistryKey {
public:
    explicit Win32Key(KeyHandle key) : key_(std::move(key)) {}

    // Names without a cp1251 form are left out: no name can stand for them.
    std::vector<std::string> subkey_names() override {
        std::vector<std::string> names;
        for (const auto& w : wide_subkeys(key_.get()))
            if (auto n = narrow(w)) names.push_back(*n);
        return names;
    }

    std::vector<std::string> value_names() override {
        std::vector<std::string> names;
        for (const auto& w : wide_values(key_.get()))
            if (auto n = narrow(w)) names.push_back(*n);
        return names;
    }

    std::vector<ListedName> every_subkey_name() override { return listed(wide_subkeys(key_.get())); }
    std::vector<ListedName> every_value_name() override { return listed(wide_values(key_.get())); }

    std::optional<RawValue> read_raw(const std::string& name) override {
        const std::wstring wide_name = widen(name);
        for (int attempt = 0; attempt < 3; ++attempt) {
            DWORD type = 0, size = 0;
            if (RegQueryValueExW(key_.get(), wide_name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
                return std::nullopt;
            std::string data(size, '\0');
            DWORD got = size;
            const LSTATUS r = RegQueryValueExW(key_.get(), wide_name.c_str(), nullptr, &type,
                                               reinterpret_cast<BYTE*>(data.data()), &got);
            if (r == ERROR_MORE_DATA) continue;  // changed in between
            if (r != ERROR_SUCCESS) return std::nullopt;
            data.resize(got);
            return RawValue{static_cast<ValueType>(type), std::move(data)};
        }
        return std::nullopt;
    }

    Status write_raw(const std::string& name, const RawValue& value) override {
        const LSTATUS r = RegSetValueExW(key_.get(), widen(name).c_str(), 0, static_cast<DWORD>(value.type),
                                         reinterpret_cast<const BYTE*>(value.bytes.data()),
                                         static_cast<DWORD>(value.bytes.size()));
        return r == ERROR_SUCCESS ? Status::success() : error_status(r);
    }

    std::optional<ValueType> value_type(const std::string& name) override {
        DWORD type = 0;
        if (RegQueryValueExW(key_.get(), widen(name).c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
            return std::nullopt;
        return static_cast<ValueType>(type);
    }

    // A text with characters that have no cp1251 form reads as nothing, so
    // that it is never taken for another text.
    std::optional<std::string> read_string(const std::string& name) override {
        const std::wstring wide_name = widen(name);
        for (int attempt = 0; attempt < 3; ++attempt) {
            DWORD type = 0, size = 0;
            if (RegQueryValueExW(key_.get(), wide_name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
                return std::nullopt;
            if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
            std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
            DWORD got = size;
            const LSTATUS r = RegQueryValueExW(key_.get(), wide_name.c_str(), nullptr, &type,
                                               reinterpret_cast<BYTE*>(data.data()), &got);
            if (r == ERROR_MORE_DATA) continue;  // changed in between
            if (r != ERROR_SUCCESS) return std::nullopt;
            data.resize(got / sizeof(wchar_t));
            while (!data.empty() && data.back() == L'\0') data.pop_back();
            // Text after an embedded terminator is not part of the string.
            const std::size_t nul = data.find(L'\0');
            if (nul != std::wstring::npos) data.resize(nul);
            return narrow(data);
        }
        return std::nullopt;
    }

    std::optional<std::uint32_t> read_dword(const std::string& name) override {
        DWORD type = 0, value = 0, size = sizeof value;
        if (RegQueryValueExW(key_.get(), widen(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                ERROR_SUCCESS ||
            type != REG_DWORD || size != sizeof value)
            return std::nullopt;
        return value;
    }

    Status write_string(const std::string& name, const std::string& value) override {
        const std::wstring data = widen(value);
        const LSTATUS r = RegSetValueExW(key_.get(), widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                         static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
        return r == ERROR_SUCCESS ? Status::success() : error_status(r);
    }

    Status write_dword(const std::string& name, std::uint32_t value) override {
        const DWORD data = value;
        const LSTATUS r = RegSetValueExW(key_.get(), widen(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                         sizeof data);
        return r == ERROR_SUCCESS ? Status::success() : error_status(r);
    }

    Status delete_value(const std::string& name) override {
        const LSTATUS r = RegDeleteValueW(key_.get(), widen(name).c_str());
        return r == ERROR_SUCCESS ? Status::success() : error_status(r);
    }

private:
    KeyHandle key_;
};

LSTATUS delete_tree_wide(HKEY root, const std::wstring& path, REGSAM view) {
    std::vector<std::wstring> subkeys;
    {
        KeyHandle key;
        const LSTATUS r = RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, key.out());
        if (r != ERROR_SUCCESS) return r;
        subkeys = wide_subkeys(key.get());
    }
    for (const auto& sub : subkeys) {
        const LSTATUS r = delete_tree_wide(root, path + L"\\" + sub, view);
        if (r != ERROR_SUCCESS) return r;
    }
    return RegDeleteKeyExW(root, path.c_str(), view, 0);
}

class Win32Registry : public Registry {
public:
    Result<std::unique_ptr<RegistryKey>> open(Root root, const std::string& path, KeyAccess access) override {
        return open(root, path, access, View::native);
    }

    Result<std::unique_ptr<RegistryKey>> create(Root root, const std::string& path) override {
        KeyHandle key;
        const LSTATUS r = RegCreateKeyExW(root_key(root), widen(path).c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                          nullptr, key.out(), nullptr);
        if (r != ERROR_SUCCESS) return error_status(r);
        return std::unique_ptr<RegistryKey>(std::make_unique<Win32Key>(std::move(key)));
    }

    bool key_exists(Root root, const std::string& path) override { return key_exists(root, path, View::native); }

    Status delete_tree(Root root, const std::string& path) override { return delete_tree(root, path, View::native); }

    Result<std::unique_ptr<RegistryKey>> open(Root root, const std::string& path, KeyAccess access, View view) override {
        KeyHandle key;
        const REGSAM rights = (access == KeyAccess::read ? KEY_READ : KEY_READ | KEY_WRITE) | view_flag(view);
        const LSTATUS r = RegOpenKeyExW(root_key(root), widen(path).c_str(), 0, rights, key.out());
        if (r != ERROR_SUCCESS) return error_status(r);
        return std::unique_ptr<RegistryKey>(std::make_unique<Win32Key>(std::move(key)));
    }

    bool key_exists(Root root, const std::string& path, View view) override {
        KeyHandle key;
        return RegOpenKeyExW(root_key(root), widen(path).c_str(), 0, KEY_READ | view_flag(view), key.out()) ==
               ERROR_SUCCESS;
    }

    Status delete_tree(Root root, const std::string& path, View view) override {
        std::wstring wide = widen(path);
        while (!wide.empty() && wide.back() == L'\\') wide.pop_back();
        while (!wide.empty() && wide.front() == L'\\') wide.erase(0, 1);
        if (wide.empty()) return error_status(ERROR_ACCESS_DENIED);  // never a root
        const LSTATUS r = delete_tree_wide(root_key(root), wide, view_flag(view));
        return r == ERROR_SUCCESS ? Status::success() : error_status(r);
    }

    // The registry finds a value by its name compared without case, as this
    // ordinal comparison does (one upper-case table for every letter).
    bool same_name(const std::string& a, const std::string& b) override {
        const std::wstring wa = widen(a), wb = widen(b);
        return CompareStringOrdinal(wa.c_str(), static_cast<int>(wa.size()), wb.c_str(), static_cast<int>(wb.size()), TRUE) ==
               CSTR_EQUAL;
    }
};

}  // namespace

Registry& registry() {
    static Win32Registry instance;
    return instance;
}

}  // namespace platform::win32
