// A machine of its own for one test: drives mapped onto a fresh host folder,
// a recycle bin, a program folder with its Data folder, all removed at the
// end. Paths given to it are Windows paths (cp1251).
#pragma once

#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "posix/posix_platform.h"
#include "store/data_folder.h"

namespace testing_support {

class Sandbox {
public:
    // `configure` may change the configuration (drives, environment, registry)
    // before the platform is made. Drive C: exists from the start.
    explicit Sandbox(const std::function<void(platform::posix::PosixConfig&, const std::string& root)>& configure = {}) {
        char pattern[] = "/tmp/vsc-test-XXXXXX";
        root_ = mkdtemp(pattern);
        std::filesystem::create_directories(root_ + "/c/Program/Data");
        std::filesystem::create_directories(root_ + "/trash");
        platform::posix::PosixConfig config;
        config.drives = {{'C', root_ + "/c", platform::DriveType::fixed}};
        config.trash_folder = root_ + "/trash";
        config.executable_path = "C:\\Program\\Vorlinde System Cleaner.exe";
        config.environment = {{"TEMP", "C:\\Temp"}};
        config.spawn_processes = false;
        config.real_sleep = false;
        config.utc_offset_minutes = 0;
        if (configure) configure(config, root_);
        host_ = std::make_unique<platform::posix::PosixPlatform>(config);
        data_ = std::make_unique<store::DataFolder>(host_->fs(), "C:\\Program\\");
    }
    ~Sandbox() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    platform::posix::PosixPlatform& host() { return *host_; }
    platform::Platform& platform() { return host_->platform(); }
    store::DataFolder& data() { return *data_; }
    const std::string& root() const { return root_; }

    // The host path of a Windows path on drive C: (or another mapped drive
    // whose folder is root()/<letter>).
    std::string host_path(const std::string& windows_path) const {
        std::string tail = windows_path.substr(3);
        for (char& c : tail)
            if (c == '\\') c = '/';
        const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(windows_path[0])));
        return root_ + "/" + letter + "/" + platform::cp1251_to_utf8(tail);
    }

    // Writes a file (and its missing folders); `days_old` sets its time.
    void write(const std::string& windows_path, const std::string& bytes = "x", int days_old = 0) {
        const std::string host = host_path(windows_path);
        std::filesystem::create_directories(std::filesystem::path(host).parent_path());
        std::ofstream(host, std::ios::binary) << bytes;
        if (days_old) {
            const std::time_t when = std::time(nullptr) - static_cast<std::time_t>(days_old) * 86400;
            utimbuf times{when, when};
            utime(host.c_str(), &times);
        }
    }
    void make_folder(const std::string& windows_path) { std::filesystem::create_directories(host_path(windows_path)); }
    bool exists(const std::string& windows_path) const { return std::filesystem::exists(host_path(windows_path)); }
    std::string read(const std::string& windows_path) const {
        std::ifstream in(host_path(windows_path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // The names of the program's undo files in Data\Backups, oldest first.
    std::vector<std::string> undo_files() const {
        std::vector<std::string> names;
        std::error_code none;
        for (const auto& entry : std::filesystem::directory_iterator(root_ + "/c/Program/Data/Backups", none))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Puts back what the newest undo file holds, as the registry editor does.
    bool undo_last() {
        const auto names = undo_files();
        if (names.empty()) return false;
        return host_->registry().import_reg(read("C:\\Program\\Data\\Backups\\" + names.back())).ok();
    }

private:
    std::string root_;
    std::unique_ptr<platform::posix::PosixPlatform> host_;
    std::unique_ptr<store::DataFolder> data_;
};

}  // namespace testing_support
