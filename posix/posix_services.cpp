#include "posix/posix_services.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <thread>

#include "platform/cp1251.h"
#include "platform/paths.h"
#include "posix/errors.h"
#include "platform/shell_link_format.h"

extern char** environ;

namespace platform::posix {

namespace fs = std::filesystem;

namespace {

// The bytes of the files at and below a host path; links are not followed.
std::uint64_t bytes_below(const fs::path& path) {
    std::error_code ec;
    const auto status = fs::symlink_status(path, ec);
    if (ec) return 0;
    if (fs::is_regular_file(status)) return fs::file_size(path, ec);
    if (!fs::is_directory(status)) return 0;
    std::uint64_t total = 0;
    for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) total += bytes_below(it->path());
    return total;
}

// A folder fit to be emptied: absolute, not the host's root.
bool is_safe_trash(const std::string& folder) {
    return folder.size() > 1 && folder[0] == '/' && fs::path(folder).lexically_normal() != "/";
}

// Splits a command line as Windows programs split theirs: blanks separate,
// quotes group, a backslash before a quote escapes it.
std::vector<std::string> split_command_line(const std::string& line) {
    std::vector<std::string> args;
    std::string current;
    bool quoted = false, any = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\' && i + 1 < line.size() && line[i + 1] == '"') {
            current += '"';
            ++i;
            any = true;
        } else if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (any) args.push_back(current);
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any) args.push_back(current);
    return args;
}

Status internet_failure(const std::string& what) { return Status::failure(what); }

}  // namespace

// ---- shell

PosixShell::PosixShell(PosixFileSystem& fs, PosixRegistry& registry, std::string trash_folder, bool spawn_processes)
    : fs_(fs), registry_(registry), trash_(std::move(trash_folder)), spawn_(spawn_processes) {}

PosixShell::~PosixShell() { reap(); }

void PosixShell::reap() {
    std::vector<int> running;
    for (int pid : children_) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == 0) running.push_back(pid);
    }
    children_ = running;
}

Result<RecycleBinInfo> PosixShell::query_recycle_bin() {
    RecycleBinInfo info;
    if (trash_.empty()) return info;
    std::error_code ec;
    for (fs::directory_iterator it(trash_, ec), end; !ec && it != end; it.increment(ec)) {
        ++info.items;
        info.bytes += bytes_below(it->path());
    }
    return info;
}

Status PosixShell::empty_recycle_bin() {
    if (trash_.empty()) return Status::success();
    if (!is_safe_trash(trash_)) return failure(Error::access_denied);
    std::error_code ec;
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(trash_, ec), end; !ec && it != end; it.increment(ec)) entries.push_back(it->path());
    for (const auto& entry : entries) {
        fs::remove_all(entry, ec);  // links are removed, never followed
        if (ec) return errno_failure(ec.value());
    }
    return Status::success();
}

Status PosixShell::delete_to_recycle_bin(const std::string& path) {
    if (!is_absolute_path(path) || is_drive_root(path)) return failure(Error::invalid_name);
    const auto host = fs_.host_path(path);
    if (!host) return failure(Error::file_not_found);
    if (trash_.empty()) return failure(Error::access_denied);
    if (fs_.is_held_open(path)) return failure(Error::sharing_violation);
    std::error_code ec;
    fs::create_directories(trash_, ec);
    const fs::path from(*host);
    fs::path to = fs::path(trash_) / from.filename();
    for (int n = 2; fs::exists(fs::symlink_status(to, ec)); ++n)
        to = fs::path(trash_) / (from.stem().string() + " (" + std::to_string(n) + ")" + from.extension().string());
    if (std::rename(from.c_str(), to.c_str()) == 0) return Status::success();
    if (errno != EXDEV || !fs::is_regular_file(fs::symlink_status(from, ec))) return errno_failure(errno);
    fs::copy_file(from, to, ec);
    if (ec) return errno_failure(ec.value());
    fs::remove(from, ec);
    return ec ? errno_failure(ec.value()) : Status::success();
}

Status PosixShell::open(const std::string& verb, const std::string& target, const std::string& parameters) {
    opened_.push_back(verb + "|" + target + "|" + parameters);
    if (target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0) return Status::success();
    if (!fs_.attributes(target)) return failure(Error::file_not_found);
    return Status::success();
}

Status PosixShell::run_command_line(const std::string& command_line) {
    reap();
    started_.push_back(command_line);
    const auto args = split_command_line(command_line);
    if (args.empty()) return failure(Error::file_not_found);
    const auto program = fs_.host_path(args[0]);
    if (!program || !fs_.is_existing_file(args[0])) return failure(Error::file_not_found);
    if (!spawn_) return Status::success();
    std::vector<std::string> argv_text{*program};
    for (std::size_t i = 1; i < args.size(); ++i) argv_text.push_back(cp1251_to_utf8(args[i]));
    std::vector<char*> argv;
    for (auto& a : argv_text) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program->c_str(), nullptr, nullptr, argv.data(), environ);
    if (error != 0) return errno_failure(error);
    children_.push_back(pid);
    return Status::success();
}

Status PosixShell::export_registry_key(const std::string& key, const std::string& file) {
    Root root;
    std::string path;
    if (!PosixRegistry::parse_key_name(key, root, path)) return failure(Error::invalid_parameter);
    auto text = registry_.export_reg(root, path);
    if (!text) return text.status();
    return write_whole_file(fs_, file, *text);
}

// ---- shell links

// The header is read first, so that a file that is not a shortcut costs one
// small read however large it is.
std::string PosixShellLinks::read_target(const std::string& link_path) {
    // Opening fails for a missing path and for a folder.
    auto file = fs_.open(link_path, Access::read, Share::read_write);
    if (!file) return "";
    std::string bytes(kShellLinkHeaderSignature, '\0');
    const auto got = (*file)->read(bytes.data(), bytes.size());
    if (!got || !starts_as_shell_link(std::string_view(bytes).substr(0, *got))) return "";
    char chunk[4096];
    for (;;) {
        const auto more = (*file)->read(chunk, sizeof chunk);
        if (!more) return "";
        if (*more == 0) break;
        bytes.append(chunk, *more);
    }
    const auto link = decode_shell_link(bytes);
    return link ? link->target : "";
}

Status PosixShellLinks::write(const std::string& link_path, const std::string& target, const std::string& description,
                              const std::string& arguments) {
    ShellLinkData link;
    link.target = target;
    link.description = description;
    link.arguments = arguments;
    link.target_is_folder = fs_.is_existing_folder(target);
    return write_whole_file(fs_, link_path, encode_shell_link(link));
}

// ---- internet

Status PosixInternet::download(const std::string& url, const std::string& file) {
    std::string lower = url.substr(0, 7);
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (lower != "http://") return internet_failure("Адрес не распознан: " + url);
    const std::string rest = url.substr(7);
    const std::size_t slash = rest.find('/');
    const std::string host_port = rest.substr(0, slash);
    const std::string path = slash == std::string::npos ? "/" : rest.substr(slash);
    std::string host = host_port, port = "80";
    if (const std::size_t colon = host_port.rfind(':'); colon != std::string::npos) {
        host = host_port.substr(0, colon);
        port = host_port.substr(colon + 1);
    }
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0 || !found)
        return internet_failure("Не удается разрешить имя или адрес сервера.");
    int sock = -1;
    for (addrinfo* a = found; a && sock < 0; a = a->ai_next) {
        sock = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
        if (sock < 0) continue;
        if (connect(sock, a->ai_addr, a->ai_addrlen) != 0 && errno != EINPROGRESS) {
            close(sock);
            sock = -1;
            continue;
        }
        pollfd p{sock, POLLOUT, 0};
        int error = 0;
        socklen_t len = sizeof error;
        if (poll(&p, 1, 10000) != 1 || getsockopt(sock, SOL_SOCKET, SO_ERROR, &error, &len) != 0 || error != 0) {
            close(sock);
            sock = -1;
        }
    }
    freeaddrinfo(found);
    if (sock < 0) return internet_failure("Не удается установить соединение с сервером.");

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kDownloadSeconds);
    const auto wait_for = [&](short events) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{sock, events, 0};
        return poll(&p, 1, static_cast<int>(std::min<long long>(10000, left.count()))) == 1;
    };
    const std::string request = "GET " + path + " HTTP/1.0\r\nHost: " + host_port +
                                "\r\nUser-Agent: Vorlinde System Cleaner\r\nConnection: close\r\n\r\n";
    for (std::size_t sent = 0; sent < request.size();) {
        if (!wait_for(POLLOUT)) {
            close(sock);
            return internet_failure("Время ожидания операции истекло.");
        }
        const ssize_t n = send(sock, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            close(sock);
            return internet_failure("Соединение с сервером было сброшено.");
        }
        if (n > 0) sent += static_cast<std::size_t>(n);
    }

    // The answer, read at most 1024 bytes at a time.
    std::string head;
    bool in_body = false;
    int status_code = 0;
    std::uint64_t body_size = 0;
    std::unique_ptr<File> out;
    Status result = Status::success();
    char buffer[1024];
    for (;;) {
        if (!wait_for(POLLIN)) {
            result = internet_failure("Время ожидания операции истекло.");
            break;
        }
        const ssize_t n = recv(sock, buffer, sizeof buffer, 0);
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            result = internet_failure("Соединение с сервером было сброшено.");
            break;
        }
        if (n == 0) break;
        std::string chunk(buffer, static_cast<std::size_t>(n));
        if (!in_body) {
            head += chunk;
            const std::size_t end = head.find("\r\n\r\n");
            if (end == std::string::npos) continue;
            in_body = true;
            if (head.rfind("HTTP/", 0) != 0 || head.find(' ') == std::string::npos) {
                result = internet_failure("Ответ сервера не распознан.");
                break;
            }
            status_code = std::atoi(head.c_str() + head.find(' ') + 1);
            auto created = fs_.create(file);
            if (!created) {
                result = created.status();
                break;
            }
            out = std::move(*created);
            chunk = head.substr(end + 4);
        }
        const bool too_long = body_size + chunk.size() > kDownloadLimit;
        if (too_long) chunk.resize(static_cast<std::size_t>(kDownloadLimit - body_size));
        body_size += chunk.size();
        if (!chunk.empty()) {
            if (Status s = out->write(chunk.data(), chunk.size()); !s) {
                result = s;
                break;
            }
        }
        if (too_long) {
            result = internet_failure("Ответ сервера слишком велик.");
            break;
        }
    }
    close(sock);
    if (!result) return result;
    if (!in_body) return internet_failure("Ответ сервера не распознан.");
    if (status_code < 200 || status_code > 299)
        return internet_failure("Сервер ответил кодом " + std::to_string(status_code) + ".");
    return Status::success();
}

// ---- sound

Status PosixSoundPlayer::load(const std::string& path) {
    bytes_.clear();
    path_.clear();
    auto bytes = read_whole_file(fs_, path);
    if (!bytes) return bytes.status();
    if (bytes->size() < 12 || bytes->compare(0, 4, "RIFF") != 0 || bytes->compare(8, 4, "WAVE") != 0)
        return Status::failure("Файл не является звуковым файлом WAVE.");
    bytes_ = std::move(*bytes);
    path_ = path;
    return Status::success();
}

// ---- system

FileTime PosixSystem::now_utc() const {
    if (s_.clock) return s_.clock();
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return (static_cast<std::int64_t>(ts.tv_sec) + 11644473600LL) * 10000000LL + ts.tv_nsec / 100;
}

LocalDateTime PosixSystem::now() {
    const auto t = fs_.to_local(now_utc());
    return {t.year, t.month, t.day, t.hour, t.minute, t.second};
}

void PosixSystem::sleep_ms(int milliseconds) {
    if (milliseconds <= 0) return;
    slept_ += milliseconds;
    if (s_.real_sleep) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace platform::posix
