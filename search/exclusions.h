#pragma once
// Exclusion tests of the file searches. Every comparison is between folded
// forms; entries are folded once when the exclusions are built.
#include <string>
#include <string_view>
#include <vector>

namespace search {

// Full folder test of a folder path against one folded entry: the folder
// itself, or a folder below it whose path is at most 50 characters longer;
// never a sibling whose name merely begins with the entry's ("C:\Data"
// excludes "C:\Data\x", not "C:\Database").
bool full_folder_match(std::string_view folded_path, std::string_view folded_entry);

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
