// The contract suites' side under Wine (or Windows): the real platform, with
// temporary folders in the user's temporary folder (inside the private Wine
// prefix) and test keys under HKEY_CURRENT_USER\Software\VorlindeTest.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "automation.h"
#include "contract/contract_env.h"
#include "win32/handles.h"
#include "win32/win32_platform.h"

namespace contract {

namespace {

std::wstring wide(const std::string& cp1251) {
    const int n = MultiByteToWideChar(1251, 0, cp1251.data(), static_cast<int>(cp1251.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(1251, 0, cp1251.data(), static_cast<int>(cp1251.size()), out.data(), n);
    return out;
}

std::string narrow(const std::wstring& text) {
    const int n = WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

using automation::run_on_host;
using automation::unix_name;

// Deletes a tree by its wide names, so that names without a cp1251 form go
// too: links to folders are removed as links, never followed.
void remove_tree(const std::wstring& folder) {
    std::vector<std::wstring> links, folders;
    WIN32_FIND_DATAW found;
    const platform::win32::FindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (search) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            const DWORD a = found.dwFileAttributes;
            if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT)) folders.push_back(path);
            else if (a & FILE_ATTRIBUTE_DIRECTORY) links.push_back(path);
            else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search.get(), &found));
    }
    // Links before the folders they may point to: Wine keeps a link to a
    // folder that is not empty, and hides it once that folder is gone. The
    // host removes it.
    for (const auto& link : links) {
        if (RemoveDirectoryW(link.c_str())) continue;
        const std::string host = unix_name(link);
        if (!host.empty())
            run_on_host("/bin/rm -f " + host, [&] { return GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; });
    }
    for (const auto& sub : folders) remove_tree(sub);
    RemoveDirectoryW(folder.c_str());
}

struct Side {
    std::vector<std::string> folders, keys;
    int markers = 0;

    ~Side() {
        auto& p = platform::win32::instance();
        for (const auto& f : folders) remove_tree(wide(f));
        for (const auto& k : keys) static_cast<void>(p.registry.delete_tree(platform::Root::current_user, k));  // a test may have removed its key itself
        if (p.registry.key_exists(platform::Root::current_user, "Software\\VorlindeTest")) {
            auto key = p.registry.open(platform::Root::current_user, "Software\\VorlindeTest", platform::KeyAccess::read);
            if (key && (*key)->subkey_names().empty() && (*key)->value_names().empty())
                static_cast<void>(p.registry.delete_tree(platform::Root::current_user, "Software\\VorlindeTest"));
        }
    }
};

Side& side() {
    static Side instance;
    return instance;
}

}  // namespace

platform::Platform& services() { return platform::win32::instance(); }

std::string make_temp_folder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    std::string folder = narrow(temp);
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    // Wine reuses process ids: a name taken by a folder that an earlier run
    // left behind is passed over.
    const std::string stem = folder + "\\vct-" + std::to_string(GetCurrentProcessId()) + "-";
    for (int n = static_cast<int>(side().folders.size()) + 1;; ++n) {
        folder = stem + std::to_string(n);
        if (CreateDirectoryW(wide(folder).c_str(), nullptr)) break;
    }
    side().folders.push_back(folder);
    return folder;
}

bool make_folder_link(const std::string& link, const std::string& target) {
    const std::wstring from = wide(link), to = wide(target);
    const auto is_link = [&] {
        const DWORD a = GetFileAttributesW(from.c_str());
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
    };
    if (CreateSymbolicLinkW(from.c_str(), to.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) && is_link()) return true;
    // Wine: a host symbolic link inside the prefix's drive is its reparse point.
    // The link does not exist yet: name it inside its (existing) folder. The
    // temporary folders hold no blanks.
    const std::size_t slash = from.rfind(L'\\');
    const std::string host_target = unix_name(to), host_folder = unix_name(from.substr(0, slash));
    if (host_target.empty() || host_folder.empty()) return false;
    return run_on_host("/bin/ln -s " + host_target + " " + host_folder + "/" + narrow(from.substr(slash + 1)), is_link);
}

bool make_hard_link(const std::string& link, const std::string& target) {
    return CreateHardLinkW(wide(link).c_str(), wide(target).c_str(), nullptr) != FALSE;
}

bool make_file_without_cp1251_name(const std::string& folder) {
    // A CJK character and an e acute, which has the look-alike "e".
    const std::wstring path = wide(folder) + L"\\\x65E5\x00E9.txt";
    const platform::win32::FileHandle h(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!h) return false;
    DWORD written = 0;
    WriteFile(h.get(), "x", 1, &written, nullptr);
    return true;
}

bool recycle_bin_is_private() {
    // Wine keeps its bin in $XDG_DATA_HOME/Trash, which wine-run points
    // beside the prefix; on Windows the bin is the user's.
    if (!GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")) return false;
    wchar_t value[1024] = {};
    const DWORD n = GetEnvironmentVariableW(L"XDG_DATA_HOME", value, 1024);
    return n > 0 && n < 1024 && wcsstr(value, L".state/xdg-data") != nullptr;
}

std::string short_path(const std::string& path) {
    wchar_t buffer[1024] = {};
    const DWORD n = GetShortPathNameW(wide(path).c_str(), buffer, 1024);
    return n > 0 && n < 1024 ? narrow(buffer) : "";
}

std::string make_registry_test_key() {
    const std::string key = "Software\\VorlindeTest\\k" + std::to_string(GetCurrentProcessId()) + "-" +
                            std::to_string(side().keys.size() + 1);
    side().keys.push_back(key);
    return key;
}

std::string marker_command(const std::string& marker) {
    wchar_t system[MAX_PATH + 1] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    ++side().markers;
    return "\"" + narrow(system) + "\\cmd.exe\" /c echo x> \"" + marker + "\"";
}

// ---- the loopback server

struct HttpServer::State {
    SOCKET listener = INVALID_SOCKET;
    int port = 0;
    std::string body;
    std::atomic<bool> stop{false};
    std::thread thread;

    void serve(SOCKET client) {
        std::string request;
        char buffer[2048];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            fd_set read_set;
            FD_ZERO(&read_set);
            FD_SET(client, &read_set);
            timeval wait{5, 0};
            if (select(0, &read_set, nullptr, nullptr, &wait) != 1) break;
            const int n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        const std::size_t start = request.find(' ') + 1, end = request.find(' ', start);
        const std::string path = start && end != std::string::npos ? request.substr(start, end - start) : "";
        const bool missing = path == "/missing";
        const std::string content = missing ? std::string("not here") : body;
        const std::string answer = std::string(missing ? "HTTP/1.0 404 Not Found" : "HTTP/1.0 200 OK") +
                                   "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(content.size()) +
                                   "\r\n\r\n" + content;
        for (std::size_t sent = 0; sent < answer.size();) {
            const int n = send(client, answer.data() + sent, static_cast<int>(answer.size() - sent), 0);
            if (n <= 0) break;
            sent += static_cast<std::size_t>(n);
        }
        shutdown(client, SD_SEND);
        closesocket(client);
    }
};

HttpServer::HttpServer(std::string body) : state_(std::make_unique<State>()) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    State& s = *state_;
    s.body = std::move(body);
    s.listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s.listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(s.listener, 8);
    int length = sizeof address;
    getsockname(s.listener, reinterpret_cast<sockaddr*>(&address), &length);
    s.port = ntohs(address.sin_port);
    s.thread = std::thread([&s] {
        while (!s.stop) {
            fd_set read_set;
            FD_ZERO(&read_set);
            FD_SET(s.listener, &read_set);
            timeval wait{0, 50000};
            if (select(0, &read_set, nullptr, nullptr, &wait) != 1) continue;
            const SOCKET client = accept(s.listener, nullptr, nullptr);
            if (client != INVALID_SOCKET) s.serve(client);
        }
    });
}

HttpServer::~HttpServer() {
    state_->stop = true;
    state_->thread.join();
    closesocket(state_->listener);
    WSACleanup();
}

int HttpServer::port() const { return state_->port; }

}  // namespace contract
