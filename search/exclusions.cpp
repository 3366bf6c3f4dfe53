#include "search/exclusions.h"

#include <algorithm>

#include "search/folded.h"

namespace search {

namespace {

std::vector<std::string> fold_all(const std::vector<std::string>& entries) {
    std::vector<std::string> out;
    out.reserve(entries.size());
    for (const auto& e : entries) out.push_back(folded(e));
    return out;
}

bool contains(const std::vector<std::string>& folded_entries, const std::string& folded_text) {
    return std::find(folded_entries.begin(), folded_entries.end(), folded_text) != folded_entries.end();
}

}  // namespace

bool full_folder_match(std::string_view folded_path, std::string_view folded_entry) {
    if (folded_path == folded_entry) return true;
    if (folded_entry.empty() || folded_entry.size() >= folded_path.size()) return false;
    if (folded_path.size() - folded_entry.size() > 50) return false;
    if (folded_path.substr(0, folded_entry.size()) != folded_entry) return false;
    // "C:\Data" holds "C:\Data\x", never "C:\Database".
    return folded_entry.back() == '\\' || folded_path[folded_entry.size()] == '\\';
}

Exclusions::Exclusions(const std::vector<std::string>& full_folders, const std::vector<std::string>& short_folders,
                       const std::vector<std::string>& full_files, const std::vector<std::string>& short_files)
    : full_folders_(fold_all(full_folders)),
      short_folders_(fold_all(short_folders)),
      full_files_(fold_all(full_files)),
      short_files_(fold_all(short_files)) {}

bool Exclusions::folder_excluded(std::string_view path, std::string_view name) const {
    if (!short_folders_.empty() && contains(short_folders_, folded(name))) return true;
    if (full_folders_.empty()) return false;
    const std::string p = folded(path);
    return std::any_of(full_folders_.begin(), full_folders_.end(),
                       [&](const std::string& e) { return full_folder_match(p, e); });
}

bool Exclusions::file_excluded(std::string_view path, std::string_view name) const {
    if (!short_files_.empty() && contains(short_files_, folded(name))) return true;
    return !full_files_.empty() && contains(full_files_, folded(path));
}

std::string parent_folder(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash));
}

std::string_view file_name(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace search
