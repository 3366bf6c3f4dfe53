#pragma once
// Decorators that add faults to a file system or a registry, for tests of
// the engines: a file that another program holds, a path whose access is
// denied, a file that vanishes between its folder's listing and its use, a
// registry key that cannot be read. Paths compare in folded form.
#include <set>
#include <string>

#include "platform/file_system.h"
#include "platform/registry.h"

namespace platform::posix {

class FaultyFileSystem : public FileSystem {
public:
    explicit FaultyFileSystem(FileSystem& inner) : inner_(inner) {}

    // Opening and deleting the file fail as for a file held open elsewhere.
    void lock(const std::string& path);
    // Every operation on the path and on everything below it fails with
    // "access denied"; its folder still lists it.
    void deny(const std::string& path);
    // Its folder lists it; every other operation finds nothing there.
    void vanish(const std::string& path);
    void clear();
    // How many times a file was opened (or an open was tried).
    std::size_t opens() const { return opens_; }

    Status enumerate(const std::string& folder, const Visitor& visit) override;
    std::optional<std::uint32_t> attributes(const std::string& path) override;
    std::optional<DirEntry> entry(const std::string& path) override;
    Result<FileIdentity> identity(const std::string& path) override;
    Result<std::string> final_path(const std::string& path) override;
    Result<CalendarDate> last_write_date(const std::string& path) override;
    Result<CalendarDate> local_date(FileTime time) override { return inner_.local_date(time); }
    std::optional<std::string> reported_name(const std::string& path) override;
    Status delete_file(const std::string& path) override;
    Status set_attributes(const std::string& path, std::uint32_t attributes) override;
    Status remove_folder(const std::string& path) override;
    Status create_folder(const std::string& path) override;
    Result<std::unique_ptr<File>> open(const std::string& path, Access access, Share share) override;
    Result<std::unique_ptr<File>> create(const std::string& path) override;
    Result<std::unique_ptr<File>> open_for_append(const std::string& path) override;
    std::vector<LogicalDrive> logical_drives() override { return inner_.logical_drives(); }
    DriveType drive_type(const std::string& root) override { return inner_.drive_type(root); }
    std::optional<std::string> volume_guid(const std::string& root) override { return inner_.volume_guid(root); }
    std::optional<std::string> host_path(const std::string& path) override;

private:
    // The failure the path meets, if any.
    std::optional<Status> fault(const std::string& path, bool opening_or_deleting) const;
    FileSystem& inner_;
    std::set<std::string> locked_, denied_, vanished_;
    std::size_t opens_ = 0;
};

class FaultyRegistry : public Registry {
public:
    explicit FaultyRegistry(Registry& inner) : inner_(inner) {}

    // Opening the key (or a key below it) fails with "access denied", and
    // so does deleting it.
    void make_unreadable(Root root, const std::string& path);
    // The key (or a key below it) opens for reading only, as for a user
    // without administrator rights; creating and deleting it fail.
    void make_read_only(Root root, const std::string& path);
    void clear() {
        unreadable_.clear();
        read_only_.clear();
    }

    Result<std::unique_ptr<RegistryKey>> open(Root root, const std::string& path, KeyAccess access) override;
    Result<std::unique_ptr<RegistryKey>> create(Root root, const std::string& path) override;
    bool key_exists(Root root, const std::string& path) override;
    Status delete_tree(Root root, const std::string& path) override;
    bool same_name(const std::string& a, const std::string& b) override { return inner_.same_name(a, b); }
    // A key made unreadable is unreadable in every view.
    Result<std::unique_ptr<RegistryKey>> open(Root root, const std::string& path, KeyAccess access, View view) override;
    bool key_exists(Root root, const std::string& path, View view) override;
    Status delete_tree(Root root, const std::string& path, View view) override;

private:
    bool unreadable(Root root, const std::string& path) const;
    bool read_only(Root root, const std::string& path) const;
    Registry& inner_;
    std::set<std::string> unreadable_, read_only_;
};

}  // namespace platform::posix
