// Times the registry reference search natively: a registry of VALUES values
// under "Software" of both roots (imported from .reg text made here), about
// one in four a missing path (in FOLDERS folders of removed programs: a
// removed program leaves many), the rest existing paths, texts with arguments,
// numbers and expandable strings, twenty values a key, three levels deep.
//
//   registry_bench [VALUES [FOLDERS]]   (default 200000 values, 1000 folders of removed programs)
//
// Prints the import time and one line for the search: seconds, rows found,
// pump calls, peak memory.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "posix/posix_platform.h"
#include "registry/reference_search.h"
#include "store/data_folder.h"

namespace {

struct CountingPump : platform::Pump {
    void serve() override { ++served; }
    long long served = 0;
};

struct Silent : registry::ReferenceProgress {
    void root_started(platform::Root) override {}
    void walk_started(std::size_t, const std::string&) override {}
    void walking(std::size_t, const std::string&) override {}
};

double peak_mib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// One value line of the generated registry.
std::string value_line(long n, long gone_folders) {
    const std::string name = "\"Value" + std::to_string(n) + "\"=";
    switch (n % 8) {
        case 0:
        case 1:
            return name + "\"C:\\\\Program Files\\\\Gone App " + std::to_string(n % gone_folders) + "\\\\file" +
                   std::to_string(n) + ".dll\"";
        case 2: return name + "\"C:\\\\Present\\\\app.exe\"";
        case 3: return name + "\"C:\\\\Present\\\\app.exe -min\"";
        case 4: return name + "dword:" + std::to_string(10000000 + n);
        case 5: return name + "hex(2):25,00";
        case 6: return name + "\"Some text of the program, not a path\"";
        default: return name + "\"C:\\\\Present\"";
    }
}

}  // namespace

int main(int argc, char** argv) {
    const long values = argc > 1 ? std::atol(argv[1]) : 200000;
    const long gone_folders = argc > 2 ? std::max(1L, std::atol(argv[2])) : 1000;
    const auto folder = std::filesystem::temp_directory_path() / ("vsc-registry-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "c/Present");
    std::filesystem::create_directories(folder / "c/Program/Data");
    std::filesystem::create_directories(folder / "c/Program Files/App");
    std::fclose(std::fopen((folder / "c/Present/app.exe").c_str(), "wb"));

    std::string text = "REGEDIT4\r\n";
    long made = 0;
    for (const char* root : {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"}) {
        const long half = made + values / 2 + (made == 0 ? values % 2 : 0);
        for (long key = 0; made < half; ++key) {
            text += "\r\n[" + std::string(root) + "\\Software\\Vendor" + std::to_string(key / 100) + "\\Product" +
                    std::to_string(key / 10 % 10) + "\\Part" + std::to_string(key % 10) + "]\r\n";
            for (int i = 0; i < 20 && made < half; ++i) text += value_line(made++, gone_folders) + "\r\n";
        }
    }

    platform::posix::PosixConfig config;
    config.drives = {{'C', (folder / "c").string(), platform::DriveType::fixed}};
    config.executable_path = "C:\\Program\\cleaner.exe";
    config.spawn_processes = false;
    auto start = std::chrono::steady_clock::now();
    platform::posix::PosixPlatform host(config);
    const auto imported = host.registry().import_reg(text);
    if (!imported) {
        std::fprintf(stderr, "import: %s\n", imported.message().c_str());
        return 1;
    }
    const double import_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    store::DataFolder data(host.fs(), "C:\\Program\\");
    registry::save_key_selection(data, {true, true});
    CountingPump pump;
    platform::StopRequest stop;
    Silent progress;
    start = std::chrono::steady_clock::now();
    const auto settings = registry::ReferenceSearchSettings::load(data, host.registry(), {'C'});
    const auto result = registry::run_reference_search(settings, host.platform(), pump, stop, progress);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("import of %ld values: %.3f s\n", values, import_seconds);
    std::printf("registry-search: %.3f s, %zu rows, %lld pump calls, peak %.1f MiB\n", seconds, result.rows.size(),
                pump.served, peak_mib());
    std::filesystem::remove_all(folder);
    return 0;
}
