#pragma once
// The file system of the stand-in: drive letters mapped onto host folders,
// with Windows path rules on top of them.
//
// - Paths are cp1251 with backslashes (slashes are taken too); each component
//   is looked up without regard to case (exact spelling first, then a
//   case-insensitive match, then a "LONGNA~1.TXT" short alias); names on the
//   disk are UTF-8. "." and ".." are resolved, trailing dots and blanks of a
//   component dropped, as Windows does.
// - Enumeration lists entries sorted as NTFS (and Wine) list them: by the
//   upper-case form, ties by the exact bytes; one stat per entry. A host
//   symbolic link is a reparse point, as a Windows symbolic link is (to a
//   folder: directory | reparse_point); a dangling link is not listed.
//   Names without a cp1251 form are listed with '?' and marked
//   unrepresentable.
// - Attributes: read-only is a file without write permission; hidden and
//   system are kept by this object (a name starting with "." is hidden, as
//   Wine shows it); files carry archive.
// - Handles follow Windows sharing: an open without sharing excludes every
//   other open of the file in this process, and an open file cannot be
//   deleted. A read-only file cannot be deleted nor opened for writing, even
//   by root.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace platform::posix {

struct DriveMapping {
    char letter = 'C';
    std::string host_folder;  // an absolute host folder (UTF-8)
    DriveType type = DriveType::fixed;
};

class PosixFileSystem : public FileSystem {
public:
    // Local time is UTC + `utc_offset_minutes`, or the host's zone when nothing.
    PosixFileSystem(std::vector<DriveMapping> drives, std::optional<int> utc_offset_minutes);
    ~PosixFileSystem() override;

    Status enumerate(const std::string& folder, const Visitor& visit) override;
    std::optional<std::uint32_t> attributes(const std::string& path) override;
    std::optional<DirEntry> entry(const std::string& path) override;
    Result<FileIdentity> identity(const std::string& path) override;
    Result<std::string> final_path(const std::string& path) override;
    Result<CalendarDate> last_write_date(const std::string& path) override;
    Result<CalendarDate> local_date(FileTime time) override;
    std::optional<std::string> reported_name(const std::string& path) override;
    Status delete_file(const std::string& path) override;
    Status set_attributes(const std::string& path, std::uint32_t attributes) override;
    Status remove_folder(const std::string& path) override;
    Status create_folder(const std::string& path) override;
    Result<std::unique_ptr<File>> open(const std::string& path, Access access, Share share) override;
    Result<std::unique_ptr<File>> create(const std::string& path) override;
    Result<std::unique_ptr<File>> open_for_append(const std::string& path) override;
    std::vector<LogicalDrive> logical_drives() override;
    DriveType drive_type(const std::string& root) override;
    std::optional<std::string> volume_guid(const std::string& root) override;

    // The host path of an existing Windows path; nothing when it is missing.
    std::optional<std::string> host_path(const std::string& path) override;
    // The Windows path (cp1251) of a host path inside a mapped drive.
    std::optional<std::string> windows_path(const std::string& host_path) const;
    // The short (8.3) form of an existing path, each long component replaced
    // by its alias; nothing when it is missing.
    std::optional<std::string> short_path_name(const std::string& path);
    // Whether a handle of this object holds the file of an existing path.
    bool is_held_open(const std::string& path);
    // Local date and time of a file time, as the local clock shows it.
    struct LocalTime {
        int year, month, day, hour, minute, second;
    };
    LocalTime to_local(FileTime time) const;

    // Open handles (for the files that this object opened).
    struct Lock {
        Access access;
        Share share;
    };
    using FileKey = std::pair<std::uint64_t, std::uint64_t>;  // device, inode
    void release(const FileKey& key, const Lock* lock);

private:
    struct Resolved;
    Result<Resolved> resolve(const std::string& path);
    Result<std::unique_ptr<File>> open_host(const Resolved& where, Access access, Share share, int flags);
    bool conflicts(const FileKey& key, Access access, Share share) const;
    std::uint32_t stored_attributes(const FileKey& key, std::int64_t ctime_ns) const;

    std::vector<DriveMapping> drives_;
    std::optional<int> utc_offset_minutes_;
    std::map<FileKey, std::vector<const Lock*>> locks_;
    struct Stored {
        std::uint32_t attributes;
        std::int64_t ctime_ns;  // the entry holds while the file's change time is this
    };
    std::map<FileKey, Stored> stored_;
};

}  // namespace platform::posix
