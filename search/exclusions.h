#pragma once
// Exclusion tests of the file searches. Every comparison is between folded
// forms; entries are folded once when the exclusions are built.
#include <string>
#include <string_view>
#include <vector>

namespace search {

// Full folder test of a folder path against one folded entry: equal, or the
// path cut after the entry's length equals it, when the cut removes at most
// 50 characters. No backslash is needed at the cut: "C:\Win" excludes
// "C:\Windows" too.
bool full_folder_match(std::string_view folded_path, std::string_view folded_entry);

// The same test with a backslash boundary at the cut: the folder itself or a
// folder below it, never a sibling whose name merely begins with it.
bool folder_within(std::string_view folded_path, std::string_view folded_folder);

class Exclusions {
public:
    Exclusions() = default;
    Exclusions(const std::vector<std::string>& full_folders, const std::vector<std::string>& short_folders,
               const std::vector<std::string>& full_files, const std::vector<std::string>& short_files);

    // `path` without a trailing backslash, `name` its last component.
    bool folder_excluded(std::string_view path, std::string_view name) const;
    bool file_excluded(std::string_view path, std::string_view name) const;

private:
    std::vector<std::string> full_folders_, short_folders_, full_files_, short_files_;
};

// The parent folder of a path: up to, not including, the last backslash.
std::string parent_folder(std::string_view path);
// The last component of a path.
std::string_view file_name(std::string_view path);

}  // namespace search
