#include "win32/win32_text.h"

#include "platform/cp1251.h"
#include "platform/paths.h"
#include "win32/handles.h"

namespace platform::win32 {

std::wstring widen(std::string_view cp1251) {
    const std::u16string wide = cp1251_to_utf16(cp1251);
    return std::wstring(wide.begin(), wide.end());
}

std::string narrow_lossy(std::wstring_view text, bool* lossy) {
    return utf16_to_cp1251(std::u16string(text.begin(), text.end()), lossy);
}

std::optional<std::string> narrow(std::wstring_view text) {
    bool lossy = false;
    std::string out = narrow_lossy(text, &lossy);
    if (lossy) return std::nullopt;
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
    LocalMemory buffer;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                        (module ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM);
    const DWORD n = FormatMessageW(flags, module, code, 0, reinterpret_cast<wchar_t*>(buffer.out()), 0, nullptr);
    const auto* text = static_cast<const wchar_t*>(buffer.get());
    std::string message;
    if (n && text) {
        message = narrow_lossy(text);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
            message.pop_back();
    }
    if (message.empty()) message = "Ошибка " + std::to_string(code) + ".";
    if (!module && (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)) return Status::not_found(message);
    return Status::failure(message);
}

Status last_error() { return error_status(GetLastError()); }

}  // namespace platform::win32
