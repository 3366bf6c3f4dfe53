#include "platform/file_system.h"

namespace platform {

std::optional<std::string> FileSystem::host_path(const std::string&) { return std::nullopt; }

bool FileSystem::is_existing_folder(const std::string& path) {
    const auto a = attributes(path);
    return a && (*a & attr::directory);
}

bool FileSystem::is_existing_file(const std::string& path) {
    const auto a = attributes(path);
    return a && !(*a & attr::directory);
}

std::optional<DirEntry> FileSystem::entry(const std::string& path) {
    const auto a = attributes(path);
    if (!a) return std::nullopt;
    DirEntry e;
    const std::size_t slash = path.find_last_of('\\');
    e.name = slash == std::string::npos ? path : path.substr(slash + 1);
    e.attributes = *a;
    if (!(*a & attr::directory)) {
        auto file = open(path, Access::read, Share::read_write);
        if (file) e.size = (*file)->size();
    }
    return e;
}

std::string long_path_name(FileSystem& fs, const std::string& path) {
    // The first component: "\\server\share" or the text before the first backslash.
    std::size_t pos;
    if (path.rfind("\\\\", 0) == 0) {
        const std::size_t server_end = path.find('\\', 2);
        pos = server_end == std::string::npos ? path.size() : path.find('\\', server_end + 1);
        if (pos == std::string::npos) pos = path.size();
    } else {
        pos = path.find('\\');
        if (pos == std::string::npos) return path;
    }
    std::string result = path.substr(0, pos);
    while (pos < path.size()) {
        const std::size_t next = path.find('\\', pos + 1);
        const std::size_t end = next == std::string::npos ? path.size() : next;
        const std::string component = path.substr(pos + 1, end - pos - 1);
        pos = end;
        if (component.empty()) {
            // A trailing or doubled backslash is kept as it is.
            result += '\\';
            continue;
        }
        const auto name = fs.reported_name(result + '\\' + component);
        result += '\\';
        result += name ? *name : component;
    }
    return result;
}

Result<std::string> read_whole_file(FileSystem& fs, const std::string& path) {
    auto file = fs.open(path, Access::read, Share::read_write);
    if (!file) return file.status();
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const auto got = (*file)->read(buffer, sizeof buffer);
        if (!got) return got.status();
        if (*got == 0) break;
        bytes.append(buffer, *got);
    }
    return bytes;
}

Status write_whole_file(FileSystem& fs, const std::string& path, const std::string& bytes) {
    auto file = fs.create(path);
    if (!file) return file.status();
    return (*file)->write(bytes.data(), bytes.size());
}

}  // namespace platform
