#include "posix/faults.h"

#include "platform/paths.h"
#include "posix/errors.h"

namespace platform::posix {

namespace {

// The path itself or anything below it.
bool within(const std::set<std::string>& set, const std::string& folded) {
    for (const auto& p : set)
        if (folded == p || (folded.size() > p.size() && folded.compare(0, p.size(), p) == 0 && folded[p.size()] == '\\'))
            return true;
    return false;
}

std::string key_name(Root root, const std::string& path) {
    return std::to_string(static_cast<int>(root)) + "\\" + folded_path(path);
}

}  // namespace

void FaultyFileSystem::lock(const std::string& path) { locked_.insert(folded_path(path)); }
void FaultyFileSystem::deny(const std::string& path) { denied_.insert(folded_path(path)); }
void FaultyFileSystem::vanish(const std::string& path) { vanished_.insert(folded_path(path)); }
void FaultyFileSystem::clear() {
    locked_.clear();
    denied_.clear();
    vanished_.clear();
}

std::optional<Status> FaultyFileSystem::fault(const std::string& path, bool opening_or_deleting) const {
    const std::string folded = folded_path(path);
    if (within(vanished_, folded)) return failure(Error::file_not_found);
    if (within(denied_, folded)) return failure(Error::access_denied);
    if (opening_or_deleting && locked_.count(folded)) return failure(Error::sharing_violation);
    return std::nullopt;
}

Status FaultyFileSystem::enumerate(const std::string& folder, const Visitor& visit) {
    if (auto f = fault(folder, false)) return *f;
    return inner_.enumerate(folder, visit);
}

std::optional<std::uint32_t> FaultyFileSystem::attributes(const std::string& path) {
    const std::string folded = folded_path(path);
    if (within(vanished_, folded)) return std::nullopt;
    return inner_.attributes(path);
}

std::optional<DirEntry> FaultyFileSystem::entry(const std::string& path) {
    if (within(vanished_, folded_path(path))) return std::nullopt;
    return inner_.entry(path);
}

Result<FileIdentity> FaultyFileSystem::identity(const std::string& path) {
    if (auto f = fault(path, false)) return *f;
    return inner_.identity(path);
}

Result<std::string> FaultyFileSystem::final_path(const std::string& path) {
    if (auto f = fault(path, false)) return *f;
    return inner_.final_path(path);
}

std::optional<std::string> FaultyFileSystem::host_path(const std::string& path) {
    if (fault(path, true)) return std::nullopt;
    return inner_.host_path(path);
}

Result<CalendarDate> FaultyFileSystem::last_write_date(const std::string& path) {
    if (auto f = fault(path, false)) return *f;
    return inner_.last_write_date(path);
}

std::optional<std::string> FaultyFileSystem::reported_name(const std::string& path) {
    if (within(vanished_, folded_path(path))) return std::nullopt;
    return inner_.reported_name(path);
}

Status FaultyFileSystem::delete_file(const std::string& path) {
    if (auto f = fault(path, true)) return *f;
    return inner_.delete_file(path);
}

Status FaultyFileSystem::set_attributes(const std::string& path, std::uint32_t attributes) {
    if (auto f = fault(path, false)) return *f;
    return inner_.set_attributes(path, attributes);
}

Status FaultyFileSystem::remove_folder(const std::string& path) {
    if (auto f = fault(path, true)) return *f;
    return inner_.remove_folder(path);
}

Status FaultyFileSystem::create_folder(const std::string& path) {
    if (auto f = fault(path, false)) return *f;
    return inner_.create_folder(path);
}

Result<std::unique_ptr<File>> FaultyFileSystem::open(const std::string& path, Access access, Share share) {
    ++opens_;
    if (auto f = fault(path, true)) return *f;
    return inner_.open(path, access, share);
}

Result<std::unique_ptr<File>> FaultyFileSystem::create(const std::string& path) {
    if (auto f = fault(path, true)) return *f;
    return inner_.create(path);
}

Result<std::unique_ptr<File>> FaultyFileSystem::open_for_append(const std::string& path) {
    if (auto f = fault(path, true)) return *f;
    return inner_.open_for_append(path);
}

void FaultyRegistry::make_unreadable(Root root, const std::string& path) { unreadable_.insert(key_name(root, path)); }

bool FaultyRegistry::unreadable(Root root, const std::string& path) const {
    return within(unreadable_, key_name(root, path));
}

void FaultyRegistry::make_read_only(Root root, const std::string& path) { read_only_.insert(key_name(root, path)); }

bool FaultyRegistry::read_only(Root root, const std::string& path) const { return within(read_only_, key_name(root, path)); }

Result<std::unique_ptr<RegistryKey>> FaultyRegistry::open(Root root, const std::string& path, KeyAccess access) {
    return open(root, path, access, View::native);
}

Result<std::unique_ptr<RegistryKey>> FaultyRegistry::create(Root root, const std::string& path) {
    if (unreadable(root, path) || read_only(root, path)) return failure(Error::access_denied);
    return inner_.create(root, path);
}

bool FaultyRegistry::key_exists(Root root, const std::string& path) { return key_exists(root, path, View::native); }

Status FaultyRegistry::delete_tree(Root root, const std::string& path) { return delete_tree(root, path, View::native); }

Result<std::unique_ptr<RegistryKey>> FaultyRegistry::open(Root root, const std::string& path, KeyAccess access,
                                                          View view) {
    if (unreadable(root, path) && inner_.key_exists(root, path, view)) return failure(Error::access_denied);
    if (access == KeyAccess::write && read_only(root, path) && inner_.key_exists(root, path, view))
        return failure(Error::access_denied);
    return inner_.open(root, path, access, view);
}

bool FaultyRegistry::key_exists(Root root, const std::string& path, View view) {
    // Existence is tested by opening for reading, which fails here.
    return !unreadable(root, path) && inner_.key_exists(root, path, view);
}

Status FaultyRegistry::delete_tree(Root root, const std::string& path, View view) {
    if ((unreadable(root, path) || read_only(root, path)) && inner_.key_exists(root, path, view))
        return failure(Error::access_denied);
    return inner_.delete_tree(root, path, view);
}

}  // namespace platform::posix
