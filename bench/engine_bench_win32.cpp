// Times the engines under Windows (Wine) over a folder, once with the
// program's message pump and once with a pump that does nothing, to show
// what serving the window message queue costs the walks.
//
//   engine_bench_win32 temp-search|temp-refresh|link-search FOLDER
//
// FOLDER is a Windows path (under Wine, Z:\... reaches the host's files).
#include <chrono>
#include <cstdio>
#include <string>

#include "junk/temp_folders.h"
#include "junk/temp_search.h"
#include "win32/ui_toolkit.h"
#include "shortcuts/broken_link_search.h"
#include "win32/win32_platform.h"
#include "store/data_folder.h"

namespace {

struct IdlePump : platform::Pump {
    void serve() override {}
};

// A platform whose TEMP is the folder measured.
struct TempIsFolder : platform::System {
    TempIsFolder(platform::System& inner, std::string folder) : inner(inner), folder(std::move(folder)) {}
    std::vector<std::pair<std::string, std::string>> environment() override { return {{"TEMP", folder}}; }
    std::string executable_path() override { return inner.executable_path(); }
    platform::LocalDateTime now() override { return inner.now(); }
    char decimal_separator() override { return inner.decimal_separator(); }
    std::string short_date_format() override { return inner.short_date_format(); }
    void sleep_ms(int ms) override { inner.sleep_ms(ms); }
    platform::System& inner;
    std::string folder;
};

double run(const std::string& mode, const std::string& folder, platform::Pump& pump, std::string& found) {
    auto& real = platform::win32::instance();
    TempIsFolder system(real.system, folder);
    platform::Platform services{real.fs, real.registry, real.shell, real.links, real.internet, real.sound, system};
    const std::string program = store::DataFolder::folder_of(real.system.executable_path());
    const store::DataFolder data(real.fs, program);
    static_cast<void>(real.fs.create_folder(program + "Data"));  // it may be there already
    const auto start = std::chrono::steady_clock::now();
    if (mode == "link-search") {
        data.remove("bl_optimal.txt");
        data.rewrite("bl_dirs.txt", {folder});
        struct : search::WalkProgress {
            void walk_started(std::size_t, const std::string&) override {}
            void walking(std::size_t, const std::string&) override {}
        } progress;
        platform::StopRequest stop;
        const auto settings = shortcuts::BrokenLinkSettings::load(data, real.registry, {});
        const auto result = shortcuts::run_broken_link_search(settings, services, pump, stop, progress);
        found = std::to_string(result.rows.size()) + " broken shortcuts";
    } else if (mode == "temp-search") {
        data.rewrite("tf_mask.txt", {"tmp", "bak", "log", "old", "chk"});
        data.rewrite("tf_dirs.txt", {folder});
        struct : search::WalkProgress {
            void walk_started(std::size_t, const std::string&) override {}
            void walking(std::size_t, const std::string&) override {}
        } progress;
        platform::StopRequest stop;
        const auto settings = junk::TempSearchSettings::load(data, real.registry, {});
        const auto result = junk::run_temp_search(settings, services, pump, stop, progress);
        found = std::to_string(result.rows.size()) + " files";
    } else {
        junk::TempFolders temp(services, pump);
        const auto figures = temp.measure_temp();
        found = std::to_string(figures.files) + " files, " + std::to_string(figures.bytes) + " bytes";
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: engine_bench_win32 temp-search|temp-refresh|link-search FOLDER\n");
        return 2;
    }
    platform::win32::UiToolkit toolkit;
    IdlePump idle;
    std::string found;
    run(argv[1], argv[2], idle, found);  // warm the caches
    const double without = run(argv[1], argv[2], idle, found);
    const double with = run(argv[1], argv[2], toolkit.pump(), found);
    std::printf("%s under Wine: %.3f s with the program's pump, %.3f s without (x%.2f), %s\n", argv[1], with,
                without, with / without, found.c_str());
    return 0;
}
