#pragma once
// What every destructive walk checks first: a folder about to be cleaned,
// emptied or walked for deletion is an absolute, existing folder that is not
// a drive root, neither as written nor where its links lead; a file about to
// be deleted has an absolute path. Both are judged in the full form the file
// layer will use ("D:\\" and "D:\x/.." are the root of D:), and the action
// then uses exactly that form.
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace search {

// "C:\" and "\\server\share" in full form (see platform::full_path).
bool is_drive_root(std::string_view full_path);

// A folder that may be cleaned. Only check() makes one.
class CleanableFolder {
public:
    static std::optional<CleanableFolder> check(platform::FileSystem& fs, const std::string& path);
    // The full form, which is what the cleaning must use.
    const std::string& path() const { return path_; }

private:
    explicit CleanableFolder(std::string path) : path_(std::move(path)) {}
    std::string path_;
};

// The full form of a file about to be deleted; nothing for an empty,
// relative or root path.
std::optional<std::string> deletable_file(const std::string& path);

// Whether the recycle bin takes a file on this path: fixed drives have a
// bin, removable and network drives do not (the shell would delete there for
// good without a word).
bool recycle_bin_takes(platform::FileSystem& fs, const std::string& path);

}  // namespace search
