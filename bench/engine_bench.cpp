// Times the engines natively over a host folder, the way the program runs
// them: the walk serves a message pump at every entry (here one that only
// checks the stop request) and the folder is reached through drive letters.
//
//   engine_bench temp-search DIR   the temporary-file search with DIR as its one area folder
//   engine_bench temp-refresh DIR  the temporary folder page's count and size of DIR
//   engine_bench empty-folders DIR the empty folder search, folders without entries, DIR as drive D:
//   engine_bench empty-trees DIR   the same, topmost subtrees without a file
//   engine_bench cache-size DIR    the cache page's size of DIR as Internet Explorer's cache
//   engine_bench shred FILE        the shredder's three flushed passes over FILE, then its deletion
//
// The empty folder searches run without exclusions, so that what they find
// can be compared with find's count.
//   engine_bench place-links DIR   writes 2,000 shortcuts into DIR's folders, every other one broken
//   engine_bench link-search DIR   the broken shortcut search (own settings) with DIR as its one area folder
//   engine_bench duplicates DIR [GROUPS]
//                                  the duplicate search over the whole of DIR as its area
//                                  folder; GROUPS receives the groups as host paths, one a
//                                  line, a blank line after each group
//
// Prints one line: seconds, what was found, peak memory.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "emptydirs/empty_dirs_search.h"
#include "duplicates/duplicate_search.h"
#include "junk/temp_folders.h"
#include "junk/temp_search.h"
#include "posix/posix_platform.h"
#include "privacy/browser_cleaning.h"
#include <algorithm>
#include <vector>

#include "shortcuts/broken_link_search.h"
#include "removal/shredder.h"
#include "store/data_folder.h"

namespace {

// Serves nothing; like the program's pump between its 15 ms dispatches it
// only costs a call, and the engine checks its stop request after it.
struct CheckingPump : platform::Pump {
    void serve() override { ++served; }
    long long served = 0;
};

double peak_mib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

struct NoProgress : search::WalkProgress {
    void walk_started(std::size_t, const std::string&) override {}
    void walking(std::size_t, const std::string&) override {}
};

// The Windows path of a host path below the folder of a drive.
std::string windows_path(char drive, const std::filesystem::path& drive_folder, const std::filesystem::path& host) {
    std::string path = std::string(1, drive) + ":\\" + host.lexically_relative(drive_folder).string();
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// Spreads 2,000 shortcuts evenly over the folders with plain ASCII paths:
// even ones point to a file of the tree, odd ones to a missing file. Targets
// are spelt on drive Z:, the host's root here as under Wine.
std::string place_links(platform::posix::PosixPlatform& host, const std::filesystem::path& dir) {
    std::vector<std::filesystem::path> folders{dir}, files;
    const auto plain = [](const std::filesystem::path& p) {
        const std::string s = p.string();
        return std::all_of(s.begin(), s.end(), [](char c) { return c > 32 && c < 127; });
    };
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) {
        if (!plain(e.path())) continue;
        if (e.is_directory()) folders.push_back(e.path());
        else if (e.is_regular_file()) files.push_back(e.path());
    }
    std::sort(folders.begin(), folders.end());
    std::sort(files.begin(), files.end());
    constexpr int kLinks = 2000;
    int written = 0;
    for (int i = 0; i < kLinks; ++i) {
        const auto& folder = folders[static_cast<std::size_t>(i) * folders.size() / kLinks];
        char name[32];
        std::snprintf(name, sizeof name, "shortcut%04d.lnk", i);
        const std::string target = i % 2 == 0
                                       ? windows_path('Z', "/", files[static_cast<std::size_t>(i) * files.size() / kLinks])
                                       : "Z:\\Gone\\app" + std::to_string(i) + ".exe";
        if (host.links().write(windows_path('C', dir.parent_path(), folder / name), target, "", "")) ++written;
    }
    return std::to_string(written) + " shortcuts written";
}

struct Machine {
    std::filesystem::path program;
    std::unique_ptr<platform::posix::PosixPlatform> host;
    std::unique_ptr<store::DataFolder> data;

    explicit Machine(const std::filesystem::path& dir) {
        program = std::filesystem::temp_directory_path() / ("vsc-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(program / "Data");
        platform::posix::PosixConfig config;
        config.drives = {{'C', dir.parent_path().string(), platform::DriveType::fixed},
                         {'D', dir.string(), platform::DriveType::fixed},
                         {'P', program.string(), platform::DriveType::fixed},
                         {'Z', "/", platform::DriveType::fixed}};
        config.environment = {{"TEMP", "C:\\" + dir.filename().string()}};
        config.executable_path = "P:\\cleaner.exe";
        config.registry = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                          "Explorer\\Shell Folders]\r\n\"Cache\"=\"C:\\\\" + dir.filename().string() + "\"\r\n";
        host = std::make_unique<platform::posix::PosixPlatform>(config);
        data = std::make_unique<store::DataFolder>(host->fs(), "P:\\");
    }
    ~Machine() { std::filesystem::remove_all(program); }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr,
                     "usage: engine_bench temp-search|temp-refresh|empty-folders|empty-trees|cache-size|place-links|"
                     "link-search|duplicates DIR [GROUPS] | shred FILE\n");
        return 2;
    }
    const std::string mode = argv[1];
    const std::filesystem::path given = std::filesystem::absolute(argv[2]).lexically_normal();
    const std::filesystem::path dir = mode == "shred" ? given.parent_path() : given;
    Machine machine(dir);
    CheckingPump pump;
    struct : search::WalkProgress {
        void walk_started(std::size_t, const std::string&) override {}
        void walking(std::size_t, const std::string&) override {}
    } progress;
    const auto start = std::chrono::steady_clock::now();
    std::string found;

    if (mode == "temp-search") {
        machine.data->rewrite("tf_mask.txt", {"tmp", "bak", "log", "old", "chk"});
        machine.data->rewrite("tf_dirs.txt", {"C:\\" + dir.filename().string()});
        platform::StopRequest stop;
        const auto settings = junk::TempSearchSettings::load(*machine.data, machine.host->registry(), {});
        const auto result = junk::run_temp_search(settings, machine.host->platform(), pump, stop, progress);
        found = std::to_string(result.rows.size()) + " files, " + std::to_string(result.total) + " bytes";
    } else if (mode == "temp-refresh") {
        junk::TempFolders temp(machine.host->platform(), pump);
        const auto figures = temp.measure_temp();
        found = std::to_string(figures.files) + " files, " + std::to_string(figures.bytes) + " bytes";
    } else if (mode == "empty-folders" || mode == "empty-trees") {
        emptydirs::EmptyDirsSettings settings;
        settings.mode = mode == "empty-folders" ? emptydirs::SearchMode::empty_folders : emptydirs::SearchMode::empty_trees;
        settings.drives = {'D'};
        platform::StopRequest stop;
        const auto result = emptydirs::run_empty_dirs_search(settings, machine.host->platform(), pump, stop, progress);
        found = std::to_string(result.rows.size()) + " folders";
    } else if (mode == "cache-size") {
        privacy::BrowserTraces traces(machine.host->platform(), pump);
        found = std::to_string(traces.cache_bytes(privacy::Browser::internet_explorer)) + " bytes";
    } else if (mode == "place-links") {
        found = place_links(*machine.host, dir);
    } else if (mode == "link-search") {
        machine.data->rewrite("bl_dirs.txt", {"C:\\" + dir.filename().string()});
        platform::StopRequest stop;
        const auto settings = shortcuts::BrokenLinkSettings::load(*machine.data, machine.host->registry(), {});
        const auto result = shortcuts::run_broken_link_search(settings, machine.host->platform(), pump, stop, progress);
        found = std::to_string(result.rows.size()) + " broken shortcuts";
    } else if (mode == "duplicates") {
        machine.data->rewrite("cf_all.txt", {});
        machine.data->rewrite("cf_dirs.txt", {"C:\\" + dir.filename().string()});
        struct : duplicates::DuplicateProgress {
            void step_started(const std::string&) override {}
            void walk_started(std::size_t, const std::string&) override {}
            void walking(std::size_t, const std::string&) override {}
        } progress;
        platform::StopRequest stop;
        const auto settings = duplicates::DuplicateSettings::load(*machine.data, machine.host->registry(), {});
        const auto result = duplicates::run_duplicate_search(settings, machine.host->platform(), pump, stop, progress);
        std::size_t copies = 0;
        for (const auto& group : result.groups) copies += group.copies.size();
        found = std::to_string(result.groups.size()) + " groups, " + std::to_string(copies) + " copies, " +
                std::to_string(result.bytes_read >> 20) + " MiB read";
        if (argc == 4) {
            std::FILE* out = std::fopen(argv[3], "w");
            auto host = [&](const std::string& path) { return *machine.host->fs().host_path(path); };
            for (const auto& group : result.groups) {
                std::fprintf(out, "%s\n", host(group.found).c_str());
                for (const auto& copy : group.copies) std::fprintf(out, "%s\n", host(copy).c_str());
                std::fprintf(out, "\n");
            }
            std::fclose(out);
        }
    } else if (mode == "shred") {
        const auto bytes = std::filesystem::file_size(given);
        removal::ByteSource source;
        const auto deleted = removal::shred_file(machine.host->fs(), "D:\\" + given.filename().string(), source);
        if (!deleted || !*deleted) {
            std::fprintf(stderr, "not shredded: %s\n", deleted.message().c_str());
            return 1;
        }
        found = std::to_string(bytes) + " bytes";
    } else {
        std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
        return 2;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %.3f s, %s, %lld pump calls, peak %.1f MiB\n", mode.c_str(), seconds, found.c_str(),
                pump.served, peak_mib());
    return 0;
}
