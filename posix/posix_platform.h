#pragma once
// The stand-in platform for native builds (tests and benchmarks): every
// service of platform/ over the host, made from one configuration.
//
//   platform::posix::PosixConfig config;
//   config.drives = {{'C', "/tmp/drive-c", DriveType::fixed}};
//   config.environment = {{"TEMP", "C:\\Temp"}};
//   platform::posix::PosixPlatform host(config);
//   engine.run(host.platform());
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "posix/posix_file_system.h"
#include "posix/posix_registry.h"
#include "posix/posix_services.h"

namespace platform::posix {

struct PosixConfig {
    std::vector<DriveMapping> drives;                                // "C:\" onto a host folder, with a type
    std::vector<std::pair<std::string, std::string>> environment;    // cp1251 name/value pairs, in block order
    std::string executable_path = "C:\\Program Files\\Vorlinde System Cleaner\\Vorlinde System Cleaner.exe";
    char decimal_separator = ',';
    std::string short_date_format = "dd.MM.yyyy";
    std::string trash_folder;    // the host folder that serves as the recycle bin ("" for none)
    std::string registry;        // .reg text imported at the start
    bool connected = true;       // the internet connection test's answer
    bool spawn_processes = true;  // command lines start host programs
    bool real_sleep = true;       // sleep_ms() really waits
    std::optional<int> utc_offset_minutes;  // local time = UTC + offset; nothing: the host's zone
    std::function<FileTime()> clock;        // the current UTC time; empty: the host clock
};

class PosixPlatform {
public:
    // Fails (throws std::invalid_argument) only on a .reg text that cannot be read.
    explicit PosixPlatform(PosixConfig config);
    PosixPlatform(const PosixPlatform&) = delete;
    PosixPlatform& operator=(const PosixPlatform&) = delete;

    Platform& platform() { return bundle_; }
    PosixFileSystem& fs() { return fs_; }
    PosixRegistry& registry() { return registry_; }
    PosixShell& shell() { return shell_; }
    PosixShellLinks& links() { return links_; }
    PosixInternet& internet() { return internet_; }
    PosixSound& sound() { return sound_; }
    PosixSystem& system() { return system_; }

private:
    PosixFileSystem fs_;
    PosixRegistry registry_;
    PosixShell shell_;
    PosixShellLinks links_;
    PosixInternet internet_;
    PosixSound sound_;
    PosixSystem system_;
    Platform bundle_;
};

}  // namespace platform::posix
