#include "platform/win32/win32_text.h"

#include "platform/paths.h"

namespace platform::win32 {

std::wstring widen(const std::string& cp1251) {
    if (cp1251.empty()) return {};
    const int n = MultiByteToWideChar(1251, 0, cp1251.data(), static_cast<int>(cp1251.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(1251, 0, cp1251.data(), static_cast<int>(cp1251.size()), out.data(), n);
    return out;
}

std::optional<std::string> narrow(const wchar_t* text, int length) {
    if (length < 0) length = static_cast<int>(wcslen(text));
    if (length == 0) return std::string();
    BOOL used_default = FALSE;
    const int n = WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, text, length, nullptr, 0, nullptr, &used_default);
    if (n <= 0 || used_default) return std::nullopt;
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, text, length, out.data(), n, nullptr, &used_default);
    if (used_default) return std::nullopt;
    return out;
}

std::string narrow_lossy(const wchar_t* text, bool* lossy) {
    const int length = static_cast<int>(wcslen(text));
    if (lossy) *lossy = false;
    if (length == 0) return {};
    BOOL used_default = FALSE;
    const int n = WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, text, length, nullptr, 0, "?", &used_default);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, text, length, out.data(), n, "?", &used_default);
    if (lossy) *lossy = used_default != FALSE;
    return out;
}

Result<std::wstring> wide_path(const std::string& path) {
    if (path.empty() || !is_absolute_path(path)) return error_status(ERROR_INVALID_NAME);
    for (std::size_t i = 2; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|' || static_cast<unsigned char>(c) < 0x20 ||
            c == ':')
            return error_status(ERROR_INVALID_NAME);
    }
    const std::wstring wide = widen(path);
    DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0) return last_error();
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
    if (n == 0) return last_error();
    full.resize(n);
    // Beyond the classic limit only the "\\?\" form works (CreateDirectory
    // stops 12 characters earlier than the rest).
    if (full.size() < MAX_PATH - 12) return full;
    if (full.size() > 2 && full[0] == L'\\' && full[1] == L'\\') return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

Status error_status(DWORD code, HMODULE module) {
    wchar_t* text = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                        (module ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM);
    const DWORD n = FormatMessageW(flags, module, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message;
    if (n && text) {
        message = narrow_lossy(text);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
            message.pop_back();
    }
    if (text) LocalFree(text);
    if (message.empty()) message = "Ошибка " + std::to_string(code) + ".";
    return Status::failure(message);
}

Status last_error() { return error_status(GetLastError()); }

}  // namespace platform::win32
