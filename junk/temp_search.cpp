#include "junk/temp_search.h"

#include <algorithm>
#include <unordered_set>

#include "search/area_walk.h"
#include "search/folded.h"
#include "search/guards.h"
#include "store/size_text.h"

namespace junk {

namespace {

// Days since 1970-01-01 of a calendar date (proleptic Gregorian).
long long days_from_civil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// The decimal integer at the start of the text, after any blanks; what
// follows it does not count ("7 дней" is 7).
std::optional<int> leading_integer(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    const std::size_t digits = i;
    long long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && value < 100000000) value = value * 10 + (text[i++] - '0');
    if (i == digits) return std::nullopt;
    return static_cast<int>(text[start] == '-' ? -value : value);
}


}  // namespace

TempSearchSettings TempSearchSettings::load(const store::DataFolder& data, platform::Registry& registry,
                                            std::vector<char> drives) {
    TempSearchSettings s;
    s.drives = std::move(drives);
    s.area_folders = data.read_lines("tf_dirs.txt");

    const std::string root = search::windows_folder(registry);
    auto full_folders = data.read_lines("tf_dirs_ex.txt");
    for (const char* sub : {"\\Debug", "\\system32\\CatRoot2", "\\system32\\config"}) full_folders.push_back(root + sub);
    auto full_files = data.read_lines("tf_files_ex.txt");
    for (const char* file : {"\\SoftwareDistribution\\ReportingEvents.log", "\\WindowsUpdate.log", "\\wiaservc.log",
                             "\\wiadebug.log", "\\Sti_Trace.log"})
        full_files.push_back(root + file);
    s.exclusions = search::Exclusions(full_folders, data.read_lines("tf_shortdirs_ex.txt"), full_files,
                                      data.read_lines("tf_shortfiles_ex.txt"));

    if (data.exists("tf_date.txt")) {
        const auto days = leading_integer(data.read_first_line("tf_date.txt"));
        if (!days)
            throw store::FileError("Файл " + data.path("tf_date.txt") +
                                   " не содержит числа дней. Исправьте ограничение по дате в настройках маски.");
        s.min_age_days = *days;
    }
    for (const auto& line : data.read_lines("tf_mask.txt"))
        if (!line.empty() && line.front() != '#') s.masks.push_back(search::folded(line));
    return s;
}

platform::Status delete_temp_file(platform::Platform& platform, const std::string& path, bool to_recycle_bin) {
    const auto file = search::deletable_file(path);
    if (!file) return platform::Status::failure("Недопустимый путь: " + path);
    if (to_recycle_bin) return platform.shell.delete_to_recycle_bin(*file);
    // A read-only file is deleted once its attributes are cleared; whether
    // that worked shows in the deletion's own result.
    static_cast<void>(platform.fs.set_attributes(*file, 0));
    return platform.fs.delete_file(*file);
}

bool extension_matches(std::string_view path, const std::vector<std::string>& masks) {
    const std::size_t dot = path.rfind('.');
    const std::string ext = search::folded(dot == std::string_view::npos ? path : path.substr(dot + 1));
    return std::find(masks.begin(), masks.end(), ext) != masks.end();
}

bool old_enough(const platform::CalendarDate& written, const platform::CalendarDate& today, int days) {
    return days_from_civil(today.year, today.month, today.day) - days >=
           days_from_civil(written.year, written.month, written.day);
}

TempSearchResult run_temp_search(const TempSearchSettings& settings, platform::Platform& platform, platform::Pump& pump,
                                 const platform::StopRequest& stop, search::WalkProgress& progress) {
    const auto now = platform.system.now();
    const platform::CalendarDate today{now.year, now.month, now.day};
    auto& fs = platform.fs;

    search::WalkRules rules;
    rules.folder_passes = [&](const std::string& path, const platform::DirEntry& entry, bool in_drive_root) {
        if (in_drive_root && search::is_recycle_bin_folder(entry.name)) return false;
        if (search::folded(entry.name).starts_with("microsoft")) return false;
        return !settings.exclusions.folder_excluded(path, entry.name);
    };
    // Only files with a wanted extension are kept.
    rules.file_passes = [&](const std::string& path, const platform::DirEntry& entry) {
        if (!extension_matches(path, settings.masks)) return false;
        if (search::folded(entry.name).ends_with("install.log")) return false;
        if (settings.exclusions.file_excluded(path, entry.name)) return false;
        const auto written = fs.local_date(entry.last_write);
        return !written || old_enough(*written, today, settings.min_age_days);
    };
    search::AreaWalk walk(fs, pump, stop, rules);

    std::vector<search::Found> found;
    walk.walk_area(settings.drives, settings.area_folders, found, progress);

    // The first occurrence of each path stays, in place.
    TempSearchResult result;
    std::unordered_set<std::string> seen;
    seen.reserve(found.size());
    for (auto& f : found) {
        if (!seen.insert(f.path).second) continue;
        result.total += f.entry.size;
        result.rows.push_back({std::move(f.path), f.entry.size});
    }
    return result;
}

std::string SearchSizeText(std::uint64_t bytes, char decimal_separator) {
    return store::SizeToTextKeepingZeros(static_cast<double>(bytes), decimal_separator);
}

}  // namespace junk
