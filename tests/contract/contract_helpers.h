#pragma once
// Small helpers shared by the contract suites.
#include <algorithm>
#include <string>
#include <vector>

#include "contract/contract_env.h"
#include "platform/cp1251.h"
#include "platform/file_system.h"

namespace contract {

// Readable cp1251 in failure messages.
inline std::string shown(const std::string& cp1251) { return platform::cp1251_to_utf8(cp1251); }

inline std::vector<platform::DirEntry> list(const std::string& folder) {
    std::vector<platform::DirEntry> entries;
    EXPECT_TRUE(services().fs.enumerate(folder, [&](const platform::DirEntry& e) {
        entries.push_back(e);
        return true;
    }));
    return entries;
}

inline const platform::DirEntry* find_entry(const std::vector<platform::DirEntry>& entries, const std::string& name) {
    const auto it = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.name == name; });
    return it == entries.end() ? nullptr : &*it;
}

inline bool write_file(const std::string& path, const std::string& bytes) {
    return platform::write_whole_file(services().fs, path, bytes).ok();
}

inline std::string read_file(const std::string& path) {
    auto bytes = platform::read_whole_file(services().fs, path);
    return bytes ? *bytes : std::string("<unreadable>");
}

}  // namespace contract
