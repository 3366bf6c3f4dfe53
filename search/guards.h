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
#include "platform/registry.h"

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

// The current user's recycle bin settings, as the shell keeps them: one key
// per volume under BitBucket\Volume, named by the volume's GUID, and the
// key BitBucket itself, whose values hold where a volume has none.
inline constexpr char kBitBucketKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket";

// Whether the recycle bin keeps a file, or the shell would delete it for
// good without a word: only fixed drives have a bin; the bin of a volume can
// be switched off ("NukeOnDelete" 1) and takes no file larger than its size
// ("MaxCapacity", in megabytes). A drive's type, volume and settings are read
// when a file on it is first judged and kept for the life of the rules (one
// deletion): asking the volume for each file costs more than the shell's own
// move to the bin.
class RecycleBinRules {
public:
    RecycleBinRules(platform::FileSystem& fs, platform::Registry& registry) : fs_(fs), registry_(registry) {}
    bool takes(const std::string& path);

private:
    struct Drive {
        bool has_bin;
        std::optional<std::uint64_t> capacity;  // bytes; none: no limit
    };
    const Drive& drive(char letter);

    platform::FileSystem& fs_;
    platform::Registry& registry_;
    std::optional<Drive> drives_[26];
};

}  // namespace search
