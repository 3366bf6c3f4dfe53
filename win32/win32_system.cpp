#include <windows.h>

#include "win32/handles.h"
#include "win32/win32_platform.h"
#include "win32/win32_services.h"
#include "win32/win32_text.h"

namespace platform::win32 {

namespace {

std::wstring locale_text(LCTYPE what) {
    wchar_t buffer[128] = {};
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, what, buffer, 128);
    return n > 0 ? std::wstring(buffer) : std::wstring();
}

class Win32System : public System {
public:
    // Texts without a cp1251 form keep '?' in their place: as a path such a
    // value names nothing, since '?' is never part of a file name.
    std::vector<std::pair<std::string, std::string>> environment() override {
        std::vector<std::pair<std::string, std::string>> pairs;
        const EnvironmentBlock block(GetEnvironmentStringsW());
        if (!block) return pairs;
        for (const wchar_t* p = block.get(); *p; p += wcslen(p) + 1) {
            const std::string entry = narrow_lossy(p);
            // Names may begin with "=" ("=C:"): the separator is the next one.
            const std::size_t eq = entry.find('=', 1);
            if (eq == std::string::npos) pairs.emplace_back(entry, "");
            else pairs.emplace_back(entry.substr(0, eq), entry.substr(eq + 1));
        }
        return pairs;
    }

    std::string executable_path() override {
        std::wstring path(MAX_PATH, L'\0');
        for (;;) {
            const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
            if (n == 0) return "";
            if (n < path.size()) {
                path.resize(n);
                break;
            }
            path.resize(path.size() * 2);
        }
        return narrow_lossy(path);
    }

    LocalDateTime now() override {
        SYSTEMTIME t{};
        GetLocalTime(&t);
        return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    }

    char decimal_separator() override {
        const std::string text = narrow_lossy(locale_text(LOCALE_SDECIMAL));
        return text.empty() ? '.' : text[0];
    }

    std::string short_date_format() override { return narrow_lossy(locale_text(LOCALE_SSHORTDATE)); }

    void sleep_ms(int milliseconds) override { Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0); }
};

}  // namespace

System& system() {
    static Win32System instance;
    return instance;
}

Platform& instance() {
    static Platform bundle{file_system(), registry(), shell(), shell_links(), internet(), sound(), system()};
    return bundle;
}

}  // namespace platform::win32
