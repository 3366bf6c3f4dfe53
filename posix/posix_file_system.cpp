#include "posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "platform/cp1251.h"
#include "platform/paths.h"
#include "posix/errors.h"

namespace platform::posix {

namespace {

constexpr std::int64_t kEpochDifference = 11644473600LL;  // seconds from 1601 to 1970

FileTime to_file_time(const struct statx_timestamp& t) {
    return (static_cast<std::int64_t>(t.tv_sec) + kEpochDifference) * 10000000LL + t.tv_nsec / 100;
}

// What one statx call tells about an entry.
struct Info {
    bool dir = false;
    bool link = false;       // the entry itself is a symbolic link
    std::uint32_t mode = 0;
    std::uint64_t size = 0;
    FileTime last_write = 0;
    std::uint64_t dev = 0, ino = 0, nlink = 0;
    std::int64_t birth_ns = 0;
};

void fill(Info& info, const struct statx& st) {
    info.dir = S_ISDIR(st.stx_mode);
    info.mode = st.stx_mode;
    info.size = info.dir ? 0 : st.stx_size;
    info.last_write = to_file_time(st.stx_mtime);
    info.dev = makedev(st.stx_dev_major, st.stx_dev_minor);
    info.ino = st.stx_ino;
    info.nlink = st.stx_nlink;
    info.birth_ns = (st.stx_mask & STATX_BTIME)
                        ? static_cast<std::int64_t>(st.stx_btime.tv_sec) * 1000000000LL + st.stx_btime.tv_nsec
                        : 0;
}

constexpr unsigned kMask = STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_MTIME | STATX_INO | STATX_NLINK | STATX_BTIME;

// The entry `name` of the folder `dir_fd` (or the path `name`): one call for
// an ordinary entry, a second one for a symbolic link. Nothing for a missing
// entry or a dangling link.
std::optional<Info> stat_entry(int dir_fd, const char* name) {
    struct statx st;
    if (statx(dir_fd, name, AT_SYMLINK_NOFOLLOW, kMask, &st) != 0) return std::nullopt;
    Info info;
    if (!S_ISLNK(st.stx_mode)) {
        fill(info, st);
        return info;
    }
    if (statx(dir_fd, name, 0, kMask, &st) != 0) return std::nullopt;
    fill(info, st);
    info.link = true;
    return info;
}

// ---- names

char32_t upper(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c < 0x80) return c;
    if (c >= 0x430 && c <= 0x44F) return c - 32;
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    if (c == 0x491) return 0x490;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    if (c == 0xFF) return 0x178;
    return c;
}

// The upper-case form of a UTF-8 name: the sort key and the lookup key.
std::string upper_key(const std::string& name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) {
        // A byte that is not UTF-8 stands for itself, so that such names stay apart.
        const char32_t c = next_utf8(name, i).value_or(static_cast<unsigned char>(name[i - 1]));
        append_utf8(out, upper(c));
    }
    return out;
}

bool is_invalid_in_names(char32_t c) {
    return c < 0x20 || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
           c == '>' || c == '|';
}

// A host name as cp1251 by the program's one rule: what has no cp1251 form
// becomes '?' and the name is marked; so does a character that no Windows
// name may hold.
std::string host_name_to_cp1251(const std::string& name, bool& lossy) {
    std::string out = utf8_to_cp1251(name, &lossy);
    for (char& c : out) {
        if (is_invalid_in_names(static_cast<unsigned char>(c))) {
            c = '?';
            lossy = true;
        }
    }
    return out;
}

// ---- 8.3 aliases

bool is_short_char(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           std::string_view("!#$%&'()-@^_`{}~").find(c) != std::string_view::npos;
}

bool is_valid_short_name(const std::string& name) {
    const std::size_t dot = name.find('.');
    const std::string base = name.substr(0, dot);
    const std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
    if (dot != std::string::npos && ext.empty()) return false;
    for (char c : base + ext)
        if (!is_short_char(c)) return false;
    return true;
}

std::string short_part(const std::string& text, std::size_t limit) {
    std::string out;
    for (std::size_t i = 0; i < text.size() && out.size() < limit;) {
        const char32_t c = next_utf8(text, i).value_or(U'_');
        if (c == ' ' || c == '.') continue;
        const char a = c < 0x80 ? static_cast<char>(c) : '_';
        out += is_short_char(a) ? static_cast<char>(a >= 'a' && a <= 'z' ? a - 32 : a) : '_';
    }
    return out;
}

// (alias, host name) for every entry of a folder that has a long name, in the
// folder's order: the first six characters, "~", a number, and the first
// three characters of the extension.
std::vector<std::pair<std::string, std::string>> short_aliases(const std::vector<std::string>& sorted_names) {
    std::vector<std::pair<std::string, std::string>> out;
    std::map<std::string, int> used;
    for (const auto& name : sorted_names) {
        if (is_valid_short_name(name)) continue;
        const std::size_t dot = name.rfind('.');
        const bool has_ext = dot != std::string::npos && dot > 0;
        std::string base = short_part(has_ext ? name.substr(0, dot) : name, 6);
        const std::string ext = has_ext ? short_part(name.substr(dot + 1), 3) : "";
        if (base.empty()) base = "_";
        const int n = ++used[base + "." + ext];
        std::string number = std::to_string(n);
        std::string alias = base.substr(0, std::min<std::size_t>(base.size(), 7 - number.size())) + "~" + number;
        if (!ext.empty()) alias += "." + ext;
        out.emplace_back(alias, name);
    }
    return out;
}

bool sorted_before(const std::pair<std::string, std::string>& a, const std::pair<std::string, std::string>& b) {
    return a.first != b.first ? a.first < b.first : a.second < b.second;
}

// The names of a folder in the order Windows lists them.
std::vector<std::string> sorted_names(const std::string& dir) {
    std::vector<std::pair<std::string, std::string>> keyed;
    if (DIR* d = opendir(dir.c_str())) {
        while (const dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            keyed.emplace_back(upper_key(name), name);
        }
        closedir(d);
    }
    std::sort(keyed.begin(), keyed.end(), sorted_before);
    std::vector<std::string> names;
    for (auto& k : keyed) names.push_back(std::move(k.second));
    return names;
}

// The host name of `component` (UTF-8) in `dir`: the exact name, a name equal
// without regard to case, or the long name of a short alias.
std::optional<std::string> find_in_folder(const std::string& dir, const std::string& component) {
    struct stat st;
    if (lstat((dir + "/" + component).c_str(), &st) == 0) return component;
    const std::string key = upper_key(component);
    const auto names = sorted_names(dir);
    for (const auto& name : names)
        if (upper_key(name) == key) return name;
    if (component.find('~') != std::string::npos) {
        for (const auto& [alias, name] : short_aliases(names))
            if (alias == key) return name;
    }
    return std::nullopt;
}

bool is_path_char_valid(unsigned char c) {
    return c >= 0x20 && c != '*' && c != '?' && c != '"' && c != '<' && c != '>' && c != '|' && c != ':';
}

std::uint32_t file_attributes(const Info& info, const std::string& host_name, const std::uint32_t* stored) {
    std::uint32_t a = info.dir ? attr::directory : attr::archive;
    if (info.link) a |= attr::reparse_point;
    if (!(info.mode & 0222)) a |= attr::read_only;
    if (stored) a |= *stored & (attr::hidden | attr::system);
    else if (!host_name.empty() && host_name[0] == '.') a |= attr::hidden;
    return a;
}

}  // namespace

// ---- resolving paths

struct PosixFileSystem::Resolved {
    std::string host;          // the host path; missing components appended as written
    std::string name;          // the host name of the last component ("" for a root)
    std::vector<std::string> names;  // the host names of all components (as far as found)
    bool exists = false;
    bool parent_exists = false;
    bool root = false;
    Info info;                 // when it exists
    int opened = -1;           // a descriptor already open on it (info holds its identity), for open_host
};

namespace {

// A path spelled on the host as written: the drive's folder and the
// components in UTF-8, "." and ".." and the rest folded as Windows folds them.
struct Spelling {
    std::string host;                // the drive's folder, without a trailing "/"
    std::vector<std::string> parts;  // the components after the root
    bool trailing = false;           // the path ends with a separator
    std::string exact() const {
        std::string out = host;
        for (const auto& p : parts) out += "/" + p;
        return out;
    }
};

Result<Spelling> spell(const std::vector<DriveMapping>& drives, const std::string& path) {
    if (path.empty() || !is_absolute_path(path)) return failure(Error::invalid_name);
    if (path[0] == '\\' || path[0] == '/') return failure(Error::path_not_found);  // no network here
    for (std::size_t i = 2; i < path.size(); ++i)
        if (!is_path_char_valid(static_cast<unsigned char>(path[i]))) return failure(Error::invalid_name);
    const char letter = static_cast<char>(path[0] >= 'a' ? path[0] - 32 : path[0]);
    const DriveMapping* drive = nullptr;
    for (const auto& d : drives)
        if (d.letter == letter || d.letter == letter + 32) drive = &d;
    if (!drive) return failure(Error::path_not_found);

    // The same full form the guards judge: "." and "..", doubled separators
    // and trailing dots and blanks folded as Windows folds them.
    const auto full = full_path(path);
    if (!full) return failure(Error::invalid_name);
    Spelling s;
    for (std::size_t start = 3; start < full->size();) {
        const std::size_t end = std::min(full->find('\\', start), full->size());
        s.parts.push_back(cp1251_to_utf8(full->substr(start, end - start)));
        start = end + 1;
    }
    s.trailing = path.size() > 3 && (path.back() == '\\' || path.back() == '/');
    s.host = drive->host_folder;
    while (s.host.size() > 1 && s.host.back() == '/') s.host.pop_back();
    return s;
}

// The host spelling of a path that Windows would use as it stands (ASCII,
// no "/", no empty, dotted or blank-ended component), without the work of
// spell(); nothing for any other path.
std::optional<std::string> plain_spelling(const std::vector<DriveMapping>& drives, const std::string& path) {
    if (path.size() < 4 || !is_absolute_path(path) || path[0] == '\\' || path[0] == '/') return std::nullopt;
    const char letter = static_cast<char>(path[0] >= 'a' ? path[0] - 32 : path[0]);
    const DriveMapping* drive = nullptr;
    for (const auto& d : drives)
        if (d.letter == letter || d.letter == letter + 32) drive = &d;
    if (!drive) return std::nullopt;
    std::string host = drive->host_folder;
    while (host.size() > 1 && host.back() == '/') host.pop_back();
    const std::size_t start = host.size();
    host.append(path, 2, std::string::npos);
    for (std::size_t i = 2; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c >= 0x80 || c == '/' || !is_path_char_valid(c)) return std::nullopt;
        if (c != '\\') continue;
        const char before = path[i - 1], after = i + 1 < path.size() ? path[i + 1] : '\0';
        if (i > 2 && (before == '.' || before == ' ')) return std::nullopt;
        if (after == '\\' || after == '.' || after == '\0') return std::nullopt;
        host[start + i - 2] = '/';
    }
    if (path.back() == '.' || path.back() == ' ') return std::nullopt;
    return host;
}

}  // namespace

Result<PosixFileSystem::Resolved> PosixFileSystem::resolve(const std::string& path) {
    auto spelled = spell(drives_, path);
    if (!spelled) return spelled.status();
    const auto& parts = spelled->parts;
    const bool trailing = spelled->trailing;
    const std::string& host = spelled->host;

    Resolved r;
    r.root = parts.empty();

    // The exact spelling first: one call for the usual case.
    const std::string exact = spelled->exact();
    if (auto info = stat_entry(AT_FDCWD, exact.c_str())) {
        r.host = exact;
        r.names = parts;
        r.exists = r.parent_exists = true;
        r.info = *info;
    } else {
        std::string at = host;
        std::size_t i = 0;
        bool at_is_dir = true;
        for (; i < parts.size(); ++i) {
            struct stat st;
            if (stat(at.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
                at_is_dir = false;
                break;
            }
            const auto name = find_in_folder(at, parts[i]);
            if (!name) break;
            r.names.push_back(*name);
            at += "/" + *name;
        }
        const bool found_all = i == parts.size();
        r.parent_exists = found_all || (at_is_dir && i + 1 == parts.size());
        for (std::size_t k = i; k < parts.size(); ++k) at += "/" + parts[k];
        r.host = at;
        if (found_all) {
            if (auto info = stat_entry(AT_FDCWD, at.c_str())) {
                r.exists = true;
                r.info = *info;
            }
        }
    }
    r.name = parts.empty() ? "" : (r.names.size() == parts.size() ? r.names.back() : parts.back());
    if (trailing && r.exists && !r.info.dir) r.exists = r.parent_exists = false;  // "file.txt\" names nothing
    return r;
}

// ---- construction and drives

PosixFileSystem::PosixFileSystem(std::vector<DriveMapping> drives, std::optional<int> utc_offset_minutes)
    : drives_(std::move(drives)), utc_offset_minutes_(utc_offset_minutes) {
    for (auto& d : drives_)
        if (d.letter >= 'a' && d.letter <= 'z') d.letter = static_cast<char>(d.letter - 32);
    std::sort(drives_.begin(), drives_.end(), [](const auto& a, const auto& b) { return a.letter < b.letter; });
}

PosixFileSystem::~PosixFileSystem() = default;

std::vector<LogicalDrive> PosixFileSystem::logical_drives() {
    std::vector<LogicalDrive> out;
    for (const auto& d : drives_) out.push_back({std::string(1, d.letter) + ":\\", d.type});
    return out;
}

DriveType PosixFileSystem::drive_type(const std::string& root) {
    if (root.size() < 2 || root[1] != ':' || root.size() > 3 || (root.size() == 3 && root[2] != '\\' && root[2] != '/'))
        return DriveType::no_root;
    const char letter = static_cast<char>(root[0] >= 'a' && root[0] <= 'z' ? root[0] - 32 : root[0]);
    for (const auto& d : drives_)
        if (d.letter == letter) return d.type;
    return DriveType::no_root;
}

// Every local drive is a volume of its own, named after its letter
// ("{00000000-0000-0000-0000-0000000000C0}"); a network drive is none.
std::optional<std::string> PosixFileSystem::volume_guid(const std::string& root) {
    const DriveType type = drive_type(root);
    if (type == DriveType::no_root || type == DriveType::remote) return std::nullopt;
    const char letter = static_cast<char>(root[0] >= 'a' && root[0] <= 'z' ? root[0] - 32 : root[0]);
    return std::string("{00000000-0000-0000-0000-0000000000") + letter + "0}";
}

std::optional<std::string> PosixFileSystem::windows_path(const std::string& host_path) const {
    for (const auto& d : drives_) {
        std::string folder = d.host_folder;
        while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        if (host_path != folder && host_path.rfind(folder + "/", 0) != 0) continue;
        std::string out = std::string(1, d.letter) + ":";
        std::string rest = host_path.substr(folder.size());
        if (rest.empty()) return out + "\\";
        for (char& c : rest)
            if (c == '/') c = '\\';
        bool lossy = false;
        const std::string converted = utf8_to_cp1251(rest, &lossy);
        if (lossy) return std::nullopt;
        return out + converted;
    }
    return std::nullopt;
}

std::optional<std::string> PosixFileSystem::host_path(const std::string& path) {
    auto r = resolve(path);
    if (!r || !r->exists) return std::nullopt;
    return r->host;
}

std::optional<std::string> PosixFileSystem::short_path_name(const std::string& path) {
    auto r = resolve(path);
    if (!r || !r->exists) return std::nullopt;
    std::string out = std::string(1, static_cast<char>(path[0] >= 'a' ? path[0] - 32 : path[0])) + ":";
    // Walk the host names from the drive's folder.
    std::string at;
    for (const auto& d : drives_)
        if (d.letter == out[0]) at = d.host_folder;
    while (at.size() > 1 && at.back() == '/') at.pop_back();
    for (const auto& name : r->names) {
        std::string shown = name;
        if (!is_valid_short_name(name)) {
            for (const auto& [alias, long_name] : short_aliases(sorted_names(at)))
                if (long_name == name) shown = alias;
        }
        bool lossy = false;
        const std::string converted = utf8_to_cp1251(shown, &lossy);
        if (lossy) return std::nullopt;
        out += "\\" + converted;
        at += "/" + name;
    }
    if (r->names.empty()) out += "\\";
    return out;
}

bool PosixFileSystem::is_held_open(const std::string& path) {
    auto r = resolve(path);
    return r && r->exists && locks_.count({r->info.dev, r->info.ino});
}

// ---- time

PosixFileSystem::LocalTime PosixFileSystem::to_local(FileTime time) const {
    std::int64_t ticks = time - kEpochDifference * 10000000LL;
    std::int64_t seconds = ticks / 10000000LL;
    if (ticks % 10000000LL < 0) --seconds;
    std::tm tm{};
    if (utc_offset_minutes_) {
        const std::time_t t = static_cast<std::time_t>(seconds + *utc_offset_minutes_ * 60LL);
        gmtime_r(&t, &tm);
    } else {
        const std::time_t t = static_cast<std::time_t>(seconds);
        localtime_r(&t, &tm);
    }
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

Result<CalendarDate> PosixFileSystem::local_date(FileTime time) {
    const LocalTime t = to_local(time);
    if (t.year < 1980 || t.year > 2107) return failure(Error::invalid_parameter);
    return CalendarDate{t.year, t.month, t.day};
}

Result<CalendarDate> PosixFileSystem::last_write_date(const std::string& path) {
    auto r = resolve(path);
    if (!r) return r.status();
    if (!r->exists) return failure(Error::file_not_found);
    return local_date(r->info.last_write);
}

// ---- queries

std::uint32_t PosixFileSystem::stored_attributes(const FileKey& key, std::int64_t birth_ns) const {
    const auto it = stored_.find(key);
    if (it == stored_.end() || it->second.ctime_ns != birth_ns) return 0xFFFFFFFF;
    return it->second.attributes;
}

Status PosixFileSystem::enumerate(const std::string& folder, const Visitor& visit) {
    auto r = resolve(folder);
    if (!r) return r.status();
    if (!r->exists || !r->info.dir) return failure(Error::path_not_found);
    DIR* d = opendir(r->host.c_str());
    if (!d) return errno_failure(errno);
    struct Item {
        std::string key, raw;
        DirEntry entry;
    };
    std::vector<Item> items;
    const int fd = dirfd(d);
    while (const dirent* e = readdir(d)) {
        const char* name = e->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
        const auto info = stat_entry(fd, name);
        if (!info) continue;  // gone, or a dangling link: not listed, as on Wine
        Item item;
        item.raw = name;
        item.key = upper_key(item.raw);
        item.entry.name = host_name_to_cp1251(item.raw, item.entry.unrepresentable);
        const std::uint32_t stored = stored_.empty() ? 0xFFFFFFFF : stored_attributes({info->dev, info->ino}, info->birth_ns);
        item.entry.attributes = file_attributes(*info, item.raw, stored == 0xFFFFFFFF ? nullptr : &stored);
        item.entry.size = info->size;
        item.entry.last_write = info->last_write;
        items.push_back(std::move(item));
    }
    closedir(d);
    std::sort(items.begin(), items.end(),
              [](const Item& a, const Item& b) { return a.key != b.key ? a.key < b.key : a.raw < b.raw; });
    for (const auto& item : items)
        if (!visit(item.entry)) break;
    return Status::success();
}

std::optional<std::uint32_t> PosixFileSystem::attributes(const std::string& path) {
    auto r = resolve(path);
    if (!r || !r->exists) return std::nullopt;
    const std::uint32_t stored = stored_attributes({r->info.dev, r->info.ino}, r->info.birth_ns);
    return file_attributes(r->info, r->name, stored == 0xFFFFFFFF ? nullptr : &stored);
}

std::optional<DirEntry> PosixFileSystem::entry(const std::string& path) {
    auto r = resolve(path);
    if (!r || !r->exists || r->root) return std::nullopt;
    DirEntry e;
    e.name = host_name_to_cp1251(r->name, e.unrepresentable);
    const std::uint32_t stored = stored_attributes({r->info.dev, r->info.ino}, r->info.birth_ns);
    e.attributes = file_attributes(r->info, r->name, stored == 0xFFFFFFFF ? nullptr : &stored);
    e.size = r->info.size;
    e.last_write = r->info.last_write;
    return e;
}

Result<FileIdentity> PosixFileSystem::identity(const std::string& path) {
    if (const auto exact = plain_spelling(drives_, path)) {
        struct stat st;
        if (::stat(exact->c_str(), &st) == 0)
            return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    }
    auto r = resolve(path);
    if (!r) return r.status();
    if (!r->exists) return failure(r->parent_exists ? Error::file_not_found : Error::path_not_found);
    return FileIdentity{r->info.dev, r->info.ino};
}

Result<std::string> PosixFileSystem::final_path(const std::string& path) {
    auto r = resolve(path);
    if (!r) return r.status();
    if (!r->exists) return failure(r->parent_exists ? Error::file_not_found : Error::path_not_found);
    char* real = realpath(r->host.c_str(), nullptr);
    if (!real) return failure(Error::path_not_found);
    const std::string host = real;
    std::free(real);
    // A target outside every drive has no Windows name.
    auto windows = windows_path(host);
    if (!windows) return failure(Error::path_not_found);
    return *windows;
}

std::optional<std::string> PosixFileSystem::reported_name(const std::string& path) {
    auto r = resolve(path);
    if (!r || !r->exists || r->root) return std::nullopt;
    bool lossy = false;
    std::string name = host_name_to_cp1251(r->name, lossy);
    if (lossy) return std::nullopt;
    return name;
}

// ---- changes

Status PosixFileSystem::delete_file(const std::string& path) {
    auto r = resolve(path);
    if (!r) return r.status();
    if (!r->exists) return failure(r->parent_exists ? Error::file_not_found : Error::path_not_found);
    if (r->info.dir) return failure(Error::access_denied);
    if (!r->info.link && !(r->info.mode & 0222)) return failure(Error::access_denied);
    const FileKey key{r->info.dev, r->info.ino};
    if (!r->info.link && locks_.count(key)) return failure(Error::sharing_violation);
    if (unlink(r->host.c_str()) != 0) return errno_failure(errno);
    if (!r->info.link && r->info.nlink <= 1) stored_.erase(key);
    return Status::success();
}

Status PosixFileSystem::set_attributes(const std::string& path, std::uint32_t attributes) {
    auto r = resolve(path);
    if (!r) return r.status();
    if (!r->exists) return failure(r->parent_exists ? Error::file_not_found : Error::path_not_found);
    const bool read_only = !(r->info.mode & 0222);
    if ((attributes & attr::read_only) && !read_only) {
        if (chmod(r->host.c_str(), r->info.mode & 07555) != 0) return errno_failure(errno);
    } else if (!(attributes & attr::read_only) && read_only) {
        if (chmod(r->host.c_str(), (r->info.mode & 07777) | S_IWUSR) != 0) return errno_failure(errno);
    }
    stored_[{r->info.dev, r->info.ino}] = {attributes & (attr::hidden | attr::system), r->info.birth_ns};
    return Status::success();
}

Status PosixFileSystem::remove_folder(const std::string& path) {
    auto r = resolve(path);
    if (!r) return r.status();
    if (!r->exists) return failure(r->parent_exists ? Error::file_not_found : Error::path_not_found);
    if (r->root) return failure(Error::access_denied);
    if (!r->info.dir) return failure(Error::not_a_folder);
    // A link is removed as a link; what it points to stays.
    if (r->info.link) return unlink(r->host.c_str()) == 0 ? Status::success() : errno_failure(errno);
    if (rmdir(r->host.c_str()) != 0) return errno_failure(errno);
    stored_.erase({r->info.dev, r->info.ino});
    return Status::success();
}

Status PosixFileSystem::create_folder(const std::string& path) {
    auto r = resolve(path);
    if (!r) return r.status();
    if (r->exists) return failure(Error::already_exists);
    if (!r->parent_exists) return failure(Error::path_not_found);
    if (mkdir(r->host.c_str(), 0777) != 0) return errno_failure(errno);
    return Status::success();
}

// ---- handles

namespace {

class PosixFile : public File {
public:
    PosixFile(PosixFileSystem& fs, int fd, PosixFileSystem::FileKey key, PosixFileSystem::Lock lock)
        : fs_(fs), fd_(fd), key_(key), lock_(lock) {}
    ~PosixFile() override { close(); }

    const PosixFileSystem::Lock* lock() const { return &lock_; }
    void seek_to_end() { lseek(fd_, 0, SEEK_END); }

    Result<std::uint64_t> length() override {
        if (fd_ < 0) return failure(Error::access_denied);
        struct stat st;
        if (fstat(fd_, &st) != 0) return errno_failure(errno);
        return static_cast<std::uint64_t>(st.st_size);
    }
    Result<FileIdentity> identity() override {
        if (fd_ < 0) return failure(Error::access_denied);
        return FileIdentity{key_.first, key_.second};
    }
    Result<std::size_t> read(void* buffer, std::size_t count) override {
        if (fd_ < 0 || lock_.access == Access::write) return failure(Error::access_denied);
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, count);
            if (got >= 0) return static_cast<std::size_t>(got);
            if (errno != EINTR) return errno_failure(errno);
        }
    }
    Status write(const void* data, std::size_t count) override {
        if (fd_ < 0 || lock_.access == Access::read) return failure(Error::access_denied);
        const char* p = static_cast<const char*>(data);
        while (count > 0) {
            const ssize_t put = ::write(fd_, p, count);
            if (put < 0) {
                if (errno == EINTR) continue;
                return errno_failure(errno);
            }
            p += put;
            count -= static_cast<std::size_t>(put);
        }
        return Status::success();
    }
    Status seek_to_start() override {
        if (fd_ < 0 || lseek(fd_, 0, SEEK_SET) != 0) return failure(Error::invalid_parameter);
        return Status::success();
    }
    Status flush() override {
        if (fd_ < 0) return failure(Error::invalid_parameter);
        return fsync(fd_) == 0 ? Status::success() : errno_failure(errno);
    }
    void close() override {
        if (fd_ < 0) return;
        ::close(fd_);
        fd_ = -1;
        fs_.release(key_, &lock_);
    }

private:
    PosixFileSystem& fs_;
    int fd_;
    PosixFileSystem::FileKey key_;
    PosixFileSystem::Lock lock_;
};

bool has_write(Access a) { return a != Access::read; }

}  // namespace

bool PosixFileSystem::conflicts(const FileKey& key, Access, Share share) const {
    // Both sides share reading and writing, or one of them holds the file alone.
    const auto it = locks_.find(key);
    if (it == locks_.end()) return false;
    if (share == Share::none) return true;
    for (const Lock* held : it->second)
        if (held->share == Share::none) return true;
    return false;
}

void PosixFileSystem::release(const FileKey& key, const Lock* lock) {
    const auto it = locks_.find(key);
    if (it == locks_.end()) return;
    auto& held = it->second;
    held.erase(std::remove(held.begin(), held.end(), lock), held.end());
    if (held.empty()) locks_.erase(it);
}

namespace {

int open_mode(Access access) {
    return access == Access::read ? O_RDONLY : access == Access::write ? O_WRONLY : O_RDWR;
}

}  // namespace

Result<std::unique_ptr<File>> PosixFileSystem::open_host(const Resolved& where, Access access, Share share, int flags) {
    const int fd = where.opened >= 0 ? where.opened : ::open(where.host.c_str(), open_mode(access) | flags | O_CLOEXEC, 0666);
    if (fd < 0) return errno_failure(errno);
    FileKey key{where.info.dev, where.info.ino};
    if (where.opened < 0) {
        struct stat st;
        fstat(fd, &st);
        key = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    }
    if (conflicts(key, access, share)) {
        ::close(fd);
        return failure(Error::sharing_violation);
    }
    auto file = std::make_unique<PosixFile>(*this, fd, key, Lock{access, share});
    locks_[key].push_back(file->lock());
    return std::unique_ptr<File>(std::move(file));
}

Result<std::unique_ptr<File>> PosixFileSystem::open(const std::string& path, Access access, Share share) {
    // A file that exists as written opens with one lookup of its path; any
    // other spelling goes through the case-insensitive search below.
    auto exact = plain_spelling(drives_, path);
    if (!exact)
        if (auto spelled = spell(drives_, path); spelled && !spelled->trailing && !spelled->parts.empty())
            exact = spelled->exact();
    if (exact) {
        const int fd = ::open(exact->c_str(), open_mode(access) | O_CLOEXEC | O_NOCTTY);
        if (fd >= 0) {
            struct stat st;
            const bool usable = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
            if (usable && (!has_write(access) || (st.st_mode & 0222))) {
                Resolved where;
                where.opened = fd;
                where.info.dev = static_cast<std::uint64_t>(st.st_dev);
                where.info.ino = static_cast<std::uint64_t>(st.st_ino);
                return open_host(where, access, share, 0);
            }
            ::close(fd);  // a folder or a read-only file: the search below gives its answer
        }
    }
    auto r = resolve(path);
    if (!r) return r.status();
    if (!r->exists) return failure(r->parent_exists ? Error::file_not_found : Error::path_not_found);
    if (r->info.dir) return failure(Error::access_denied);
    if (has_write(access) && !(r->info.mode & 0222)) return failure(Error::access_denied);
    if (conflicts({r->info.dev, r->info.ino}, access, share)) return failure(Error::sharing_violation);
    return open_host(*r, access, share, 0);
}

Result<std::unique_ptr<File>> PosixFileSystem::create(const std::string& path) {
    auto r = resolve(path);
    if (!r) return r.status();
    if (r->root) return failure(Error::access_denied);
    if (r->exists) {
        if (r->info.dir || !(r->info.mode & 0222)) return failure(Error::access_denied);
        if (conflicts({r->info.dev, r->info.ino}, Access::write, Share::read_write))
            return failure(Error::sharing_violation);
    } else if (!r->parent_exists) {
        return failure(Error::path_not_found);
    }
    return open_host(*r, Access::write, Share::read_write, O_CREAT | O_TRUNC);
}

Result<std::unique_ptr<File>> PosixFileSystem::open_for_append(const std::string& path) {
    auto file = open(path, Access::write, Share::read_write);
    if (!file) return file;
    // Positioned at the end; a later seek_to_start still rewinds.
    static_cast<PosixFile&>(**file).seek_to_end();
    return file;
}

}  // namespace platform::posix
