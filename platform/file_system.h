#pragma once
// The file system: enumeration, attributes, deletion, files and drives.
// Paths are cp1251, absolute ("C:\x\y", "\\server\share\x"); an empty or
// relative path, or one holding a wildcard, fails. Paths longer than 260
// characters work. Failures carry the system's message.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/status.h"

namespace platform {

// File attribute bits, as Windows numbers them.
namespace attr {
constexpr std::uint32_t read_only = 0x1;
constexpr std::uint32_t hidden = 0x2;
constexpr std::uint32_t system = 0x4;
constexpr std::uint32_t directory = 0x10;
constexpr std::uint32_t archive = 0x20;
constexpr std::uint32_t normal = 0x80;
constexpr std::uint32_t reparse_point = 0x400;
}  // namespace attr

// Last-write time: 100-nanosecond ticks since 1601-01-01 UTC (a FILETIME).
using FileTime = std::int64_t;

struct DirEntry {
    std::string name;  // as the file system reports it; never "." or ".."
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    FileTime last_write = 0;
    // The name holds characters without a cp1251 form; each is shown as '?',
    // so no path built from it names a file (every operation on it fails).
    bool unrepresentable = false;

    bool is_directory() const { return attributes & attr::directory; }
    bool is_reparse_point() const { return attributes & attr::reparse_point; }
};

// Volume serial and file index: two paths with one identity name one file.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

struct CalendarDate {
    int year = 0, month = 0, day = 0;
    friend auto operator<=>(const CalendarDate&, const CalendarDate&) = default;
};

// Drive types, numbered as GetDriveType numbers them.
enum class DriveType { unknown = 0, no_root = 1, removable = 2, fixed = 3, remote = 4, cdrom = 5, ramdisk = 6 };

struct LogicalDrive {
    std::string root;  // as the platform lists it: "C:\" (letter, colon, backslash)
    DriveType type = DriveType::unknown;
};

enum class Access { read, write, read_write };
enum class Share { none, read_write };

// An open file (a handle). Closing happens at destruction too; after close()
// every operation fails. The FileSystem that opened it must outlive it.
class File {
public:
    virtual ~File() = default;
    // The size in bytes (64-bit), or why it cannot be read.
    virtual Result<std::uint64_t> length() = 0;
    // The size in bytes; 0 when it cannot be read.
    std::uint64_t size() { return length().value_or(0); }
    // Which file this is (see FileSystem::identity), asked of the open handle.
    virtual Result<FileIdentity> identity() = 0;
    // Reads up to `count` bytes at the current position; 0 at the end.
    virtual Result<std::size_t> read(void* buffer, std::size_t count) = 0;
    // Writes all `count` bytes at the current position.
    virtual Status write(const void* data, std::size_t count) = 0;
    virtual Status seek_to_start() = 0;
    // Flushes the written data to the disk (FlushFileBuffers).
    virtual Status flush() = 0;
    virtual void close() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Calls `visit` for every entry of `folder` (pattern "*.*": hidden, system,
    // read-only and folder entries included; "." and ".." left out) in the
    // platform's order, with no second query per entry. `visit` returns false
    // to stop. Fails when the folder cannot be listed.
    using Visitor = std::function<bool(const DirEntry&)>;
    virtual Status enumerate(const std::string& folder, const Visitor& visit) = 0;

    // The attributes of a path; nothing when it does not exist.
    virtual std::optional<std::uint32_t> attributes(const std::string& path) = 0;
    // An existing entry with the folder attribute / without it. A trailing
    // backslash is allowed ("C:\Temp\").
    bool is_existing_folder(const std::string& path);
    bool is_existing_file(const std::string& path);

    // The entry of one path as its folder lists it (name, attributes, size,
    // time); nothing when it does not exist. The default opens the file.
    virtual std::optional<DirEntry> entry(const std::string& path);

    // The volume and file index of a file or folder (links followed).
    virtual Result<FileIdentity> identity(const std::string& path) = 0;
    // The full path of what an existing path finally names, every link and
    // junction on the way followed ("C:\\Temp" that is a junction to "D:\\"
    // gives "D:\\").
    virtual Result<std::string> final_path(const std::string& path) = 0;
    // The last-write time of a file as a local calendar date.
    virtual Result<CalendarDate> last_write_date(const std::string& path) = 0;
    // A file time (a DirEntry's last_write) as a local calendar date, with the
    // precision of a DOS date: fails outside the years 1980 to 2107.
    virtual Result<CalendarDate> local_date(FileTime time) = 0;
    // The name the file system reports for the last component of `path`
    // (its long form, its stored case); nothing when it does not exist.
    virtual std::optional<std::string> reported_name(const std::string& path) = 0;

    // Deletes a file; fails for a read-only file, a folder, or a file that
    // another handle holds open.
    virtual Status delete_file(const std::string& path) = 0;
    // Sets read-only, hidden and system (and archive); 0 clears them all.
    virtual Status set_attributes(const std::string& path, std::uint32_t attributes) = 0;
    // Removes an empty folder; a folder that is a link is removed as a link,
    // never through it.
    virtual Status remove_folder(const std::string& path) = 0;
    // Creates one folder; its parent must exist.
    virtual Status create_folder(const std::string& path) = 0;

    // Opens an existing file. Share::none fails while any other handle holds
    // the file, and keeps every other open out while it is held.
    virtual Result<std::unique_ptr<File>> open(const std::string& path, Access access, Share share) = 0;
    // Creates a file, or empties an existing one, for writing.
    virtual Result<std::unique_ptr<File>> create(const std::string& path) = 0;
    // Opens an existing file for writing at its end.
    virtual Result<std::unique_ptr<File>> open_for_append(const std::string& path) = 0;

    // The logical drives in letter order.
    virtual std::vector<LogicalDrive> logical_drives() = 0;
    // The type of the drive of a root such as "c:" or "C:\".
    virtual DriveType drive_type(const std::string& root) = 0;
    // The volume GUID of the drive of a root such as "C:\", in braces
    // ("{6a3f...}", as the shell names a volume's settings); nothing when the
    // drive is no volume of this machine (a network drive, no drive).
    virtual std::optional<std::string> volume_guid(const std::string& root) = 0;

    // The path of an existing file as the host's own file functions take it,
    // in UTF-8, for a library that opens files itself (SQLite); nothing when
    // it does not exist or has no such form.
    virtual std::optional<std::string> host_path(const std::string& path);
};

// Every component after the first replaced by the name the file system
// reports for it; components that do not exist stay as they are. The first
// component is a drive ("C:") or a network root ("\\server\share").
std::string long_path_name(FileSystem& fs, const std::string& path);

// A whole file's bytes, and a whole file written anew.
Result<std::string> read_whole_file(FileSystem& fs, const std::string& path);
Status write_whole_file(FileSystem& fs, const std::string& path, const std::string& bytes);

}  // namespace platform
