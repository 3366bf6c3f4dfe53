// The contract suites' side natively: the posix stand-in over a private
// folder in /tmp (drive C: and the recycle bin), removed at the end.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "contract/contract_env.h"
#include "platform/cp1251.h"
#include "posix/posix_platform.h"

namespace contract {

namespace {

namespace fs = std::filesystem;

struct Side {
    std::string root;
    std::unique_ptr<platform::posix::PosixPlatform> host;
    int folders = 0, keys = 0, markers = 0;

    Side() {
        char pattern[] = "/tmp/vct-XXXXXX";
        root = mkdtemp(pattern);
        fs::create_directories(root + "/c");
        platform::posix::PosixConfig config;
        config.drives = {{'C', root + "/c", platform::DriveType::fixed}};
        config.trash_folder = root + "/trash";
        config.environment = {{"PATH", "C:\\Windows"}, {"TEMP", "C:\\Temp"}};
        config.executable_path = "C:\\Program Files\\Vorlinde\\tests.exe";
        config.registry =
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n"
            "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n";
        host = std::make_unique<platform::posix::PosixPlatform>(config);
    }
    ~Side() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

Side& side() {
    static Side instance;
    return instance;
}

std::string host_of(const std::string& windows_path) {
    // The parent exists; the last component may not.
    const std::size_t slash = windows_path.rfind('\\');
    const auto parent = side().host->fs().host_path(windows_path.substr(0, slash));
    return parent ? *parent + "/" + platform::cp1251_to_utf8(windows_path.substr(slash + 1)) : "";
}

}  // namespace

platform::Platform& services() { return side().host->platform(); }

std::string make_temp_folder() {
    const std::string path = "C:\\vct-" + std::to_string(getpid()) + "-" + std::to_string(++side().folders);
    if (!side().host->fs().create_folder(path)) std::abort();
    return path;
}

bool make_folder_link(const std::string& link, const std::string& target) {
    const auto to = side().host->fs().host_path(target);
    const std::string from = host_of(link);
    return to && !from.empty() && symlink(to->c_str(), from.c_str()) == 0;
}

bool make_hard_link(const std::string& link, const std::string& target) {
    const auto to = side().host->fs().host_path(target);
    const std::string from = host_of(link);
    return to && !from.empty() && ::link(to->c_str(), from.c_str()) == 0;
}

bool make_file_without_cp1251_name(const std::string& folder) {
    const auto dir = side().host->fs().host_path(folder);
    if (!dir) return false;
    // A CJK character and an e acute, which has the look-alike "e".
    std::ofstream out(*dir + "/\xE6\x97\xA5\xC3\xA9.txt");
    out << "x";
    return static_cast<bool>(out);
}

bool recycle_bin_is_private() { return true; }

std::string short_path(const std::string& path) {
    const auto s = side().host->fs().short_path_name(path);
    return s ? *s : "";
}

std::string make_registry_test_key() {
    return "Software\\VorlindeTest\\k" + std::to_string(getpid()) + "-" + std::to_string(++side().keys);
}

std::string marker_command(const std::string& marker) {
    const std::string script = "C:\\marker-" + std::to_string(++side().markers) + ".sh";
    const std::string host_script = side().root + "/c/marker-" + std::to_string(side().markers) + ".sh";
    {
        std::ofstream out(host_script);
        out << "#!/bin/sh\n: > '" << host_of(marker) << "'\n";
    }
    chmod(host_script.c_str(), 0755);
    return "\"" + script + "\"";
}

// ---- the loopback server

struct HttpServer::State {
    int listener = -1;
    int port = 0;
    std::string body;
    std::atomic<bool> stop{false};
    std::thread thread;

    void serve(int client) {
        std::string request;
        char buffer[2048];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            pollfd p{client, POLLIN, 0};
            if (poll(&p, 1, 5000) != 1) break;
            const ssize_t n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        const std::size_t start = request.find(' ') + 1, end = request.find(' ', start);
        const std::string path = start && end != std::string::npos ? request.substr(start, end - start) : "";
        const bool missing = path == "/missing";
        const std::string content = missing ? std::string("not here") : body;
        std::string answer = std::string(missing ? "HTTP/1.0 404 Not Found" : "HTTP/1.0 200 OK") +
                             "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(content.size()) +
                             "\r\n\r\n" + content;
        for (std::size_t sent = 0; sent < answer.size();) {
            const ssize_t n = send(client, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) break;
            sent += static_cast<std::size_t>(n);
        }
        close(client);
    }
};

HttpServer::HttpServer(std::string body) : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.body = std::move(body);
    s.listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s.listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(s.listener, 8);
    socklen_t length = sizeof address;
    getsockname(s.listener, reinterpret_cast<sockaddr*>(&address), &length);
    s.port = ntohs(address.sin_port);
    s.thread = std::thread([&s] {
        while (!s.stop) {
            pollfd p{s.listener, POLLIN, 0};
            if (poll(&p, 1, 50) != 1) continue;
            const int client = accept(s.listener, nullptr, nullptr);
            if (client >= 0) s.serve(client);
        }
    });
}

HttpServer::~HttpServer() {
    state_->stop = true;
    state_->thread.join();
    close(state_->listener);
}

int HttpServer::port() const { return state_->port; }

}  // namespace contract
