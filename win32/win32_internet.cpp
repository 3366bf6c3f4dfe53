#include <windows.h>
#include <wininet.h>

#include "win32/handles.h"
#include "win32/win32_services.h"
#include "win32/win32_text.h"

namespace platform::win32 {

namespace {

Status internet_error() {
    const DWORD code = GetLastError();
    return error_status(code, GetModuleHandleW(L"wininet.dll"));
}

// The executable's file name: the agent the program introduces itself with.
std::wstring agent_name() {
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const wchar_t* name = wcsrchr(path, L'\\');
    return name ? name + 1 : path;
}

class Win32Internet : public Internet {
public:
    bool connected() override {
        DWORD flags = 0;
        return InternetGetConnectedState(&flags, 0) != FALSE;
    }

    Status download(const std::string& url, const std::string& file) override {
        const ULONGLONG deadline = GetTickCount64() + kDownloadSeconds * 1000ull;
        InternetHandle session(InternetOpenW(agent_name().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
        if (!session.get()) return internet_error();
        DWORD timeout = kDownloadSeconds * 1000;
        InternetSetOptionW(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
        InternetSetOptionW(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
        // Always from the server: an update check must not see an old copy.
        InternetHandle request(InternetOpenUrlW(session.get(), widen(url).c_str(), nullptr, 0,
                                        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
        if (!request.get()) return internet_error();
        DWORD status = 0, size = sizeof status;
        const bool http = HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                                         nullptr) != FALSE;
        auto out = file_system().create(file);
        if (!out) return out.status();
        std::uint64_t body_size = 0;
        char buffer[1024];
        for (;;) {
            DWORD got = 0;
            if (!InternetReadFile(request.get(), buffer, sizeof buffer, &got) || got == 0) break;
            const bool too_long = body_size + got > kDownloadLimit;
            if (too_long) got = static_cast<DWORD>(kDownloadLimit - body_size);
            body_size += got;
            if (Status s = (*out)->write(buffer, got); !s) return s;
            if (too_long) return Status::failure("Ответ сервера слишком велик.");
            if (GetTickCount64() > deadline) return Status::failure("Время ожидания операции истекло.");
        }
        if (http && (status < 200 || status > 299))
            return Status::failure("Сервер ответил кодом " + std::to_string(status) + ".");
        return Status::success();
    }
};

}  // namespace

Internet& internet() {
    static Win32Internet instance;
    return instance;
}

}  // namespace platform::win32
