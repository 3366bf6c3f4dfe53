// A machine of the posix stand-in for the fuzz targets that read files from
// disk: drive C: on a fresh host folder, removed when the target ends.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "posix/posix_platform.h"

namespace fuzzing {

class Machine {
public:
    explicit Machine(const std::string& registry = "") {
        char pattern[] = "/tmp/vsc-fuzz-XXXXXX";
        root_ = mkdtemp(pattern);
        std::filesystem::create_directories(root_ + "/c");
        platform::posix::PosixConfig config;
        config.drives = {{'C', root_ + "/c", platform::DriveType::fixed}};
        config.registry = registry;
        config.spawn_processes = false;
        config.real_sleep = false;
        config.utc_offset_minutes = 0;
        host_ = std::make_unique<platform::posix::PosixPlatform>(config);
    }
    ~Machine() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    platform::Platform& platform() { return host_->platform(); }

    // Writes a file of drive C: ("Opera\\english.lng" is C:\Opera\english.lng).
    void write(const std::string& relative, const std::string& bytes) {
        std::string host = root_ + "/c/" + relative;
        for (char& c : host)
            if (c == '\\') c = '/';
        std::filesystem::create_directories(std::filesystem::path(host).parent_path());
        std::ofstream(host, std::ios::binary | std::ios::trunc) << bytes;
    }

private:
    std::string root_;
    std::unique_ptr<platform::posix::PosixPlatform> host_;
};

}  // namespace fuzzing
