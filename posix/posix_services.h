#pragma once
// The shell, shell links, internet, sound and system services of the
// stand-in. Each keeps what a test may want to look at afterwards.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/internet.h"
#include "posix/posix_file_system.h"
#include "posix/posix_registry.h"
#include "platform/shell.h"
#include "platform/shell_links.h"
#include "platform/sound.h"
#include "platform/system.h"

namespace platform::posix {

// The recycle bin is a host folder: deleting moves the file into it, the
// query counts its entries and the bytes of the files below them, emptying
// removes everything in it. Command lines start host programs with
// posix_spawn (the program is the first, possibly quoted, word, a Windows
// path of a mapped drive; another program fails). open() starts nothing: it
// succeeds for an address or an existing path. Both are recorded first. The
// registry export writes REGEDIT4 text.
class PosixShell : public Shell {
public:
    PosixShell(PosixFileSystem& fs, PosixRegistry& registry, std::string trash_folder, bool spawn_processes);
    ~PosixShell() override;

    Result<RecycleBinInfo> query_recycle_bin() override;
    Status empty_recycle_bin() override;
    Status delete_to_recycle_bin(const std::string& path) override;
    Status open(const std::string& verb, const std::string& target, const std::string& parameters) override;
    Status run_command_line(const std::string& command_line) override;
    Status export_registry_key(const std::string& key, const std::string& file) override;

    // What was asked of the shell, in order: "verb|target|parameters" per
    // open, and every command line.
    const std::vector<std::string>& opened() const { return opened_; }
    const std::vector<std::string>& started() const { return started_; }

private:
    void reap();
    PosixFileSystem& fs_;
    PosixRegistry& registry_;
    std::string trash_;
    bool spawn_;
    std::vector<std::string> opened_, started_;
    std::vector<int> children_;
};

// Shortcuts read and written with the program's own Shell Link codec.
class PosixShellLinks : public ShellLinks {
public:
    explicit PosixShellLinks(PosixFileSystem& fs) : fs_(fs) {}
    std::string read_target(const std::string& link_path) override;
    Status write(const std::string& link_path, const std::string& target, const std::string& description,
                 const std::string& arguments) override;

private:
    PosixFileSystem& fs_;
};

// A small HTTP/1.0 client for http:// addresses (bounded: 10 s without data
// ends a download, and so do the limits of size and time). The connection test answers what the configuration says.
class PosixInternet : public Internet {
public:
    PosixInternet(PosixFileSystem& fs, bool connected) : fs_(fs), connected_(connected) {}
    bool connected() override { return connected_; }
    Status download(const std::string& url, const std::string& file) override;
    void set_connected(bool connected) { connected_ = connected; }

private:
    PosixFileSystem& fs_;
    bool connected_;
};

// A silent player: loading checks that the file is a RIFF/WAVE file; playing
// only counts.
class PosixSoundPlayer : public SoundPlayer {
public:
    explicit PosixSoundPlayer(PosixFileSystem& fs) : fs_(fs) {}
    Status load(const std::string& path) override;
    bool loaded() const override { return !bytes_.empty(); }
    void play() override {
        if (loaded()) ++plays_;
    }
    int plays() const { return plays_; }
    const std::string& path() const { return path_; }

private:
    PosixFileSystem& fs_;
    std::string bytes_, path_;
    int plays_ = 0;
};

class PosixSound : public Sound {
public:
    explicit PosixSound(PosixFileSystem& fs) : fs_(fs) {}
    std::unique_ptr<SoundPlayer> make_player() override { return std::make_unique<PosixSoundPlayer>(fs_); }

private:
    PosixFileSystem& fs_;
};

class PosixSystem : public System {
public:
    struct Settings {
        std::vector<std::pair<std::string, std::string>> environment;
        std::string executable_path;
        char decimal_separator = ',';
        std::string short_date_format = "dd.MM.yyyy";
        std::function<FileTime()> clock;  // empty: the host clock
        bool real_sleep = true;
    };
    PosixSystem(PosixFileSystem& fs, Settings settings) : fs_(fs), s_(std::move(settings)) {}

    std::vector<std::pair<std::string, std::string>> environment() override { return s_.environment; }
    std::string executable_path() override { return s_.executable_path; }
    LocalDateTime now() override;
    char decimal_separator() override { return s_.decimal_separator; }
    std::string short_date_format() override { return s_.short_date_format; }
    void sleep_ms(int milliseconds) override;

    FileTime now_utc() const;
    Settings& settings() { return s_; }
    long long slept_ms() const { return slept_; }

private:
    PosixFileSystem& fs_;
    Settings s_;
    long long slept_ = 0;
};

}  // namespace platform::posix
