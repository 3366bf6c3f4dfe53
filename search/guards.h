#pragma once
// What every destructive walk checks first: a folder about to be cleaned,
// emptied or walked for deletion is an absolute, existing folder that is not
// a drive root; a file about to be deleted has an absolute path.
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace search {

// "C:", "C:\", "\\server\share" and "\\server\share\".
bool is_drive_root(std::string_view path);

// A folder that may be cleaned: absolute, existing, not a root. Only check()
// makes one.
class CleanableFolder {
public:
    static std::optional<CleanableFolder> check(platform::FileSystem& fs, const std::string& path);
    const std::string& path() const { return path_; }

private:
    explicit CleanableFolder(std::string path) : path_(std::move(path)) {}
    std::string path_;
};

}  // namespace search
