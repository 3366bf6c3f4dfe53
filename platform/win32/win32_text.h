#pragma once
// Conversions between the program's cp1251 and the UTF-16 of the W
// functions, paths in the form the W functions take, and system messages.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/status.h"

namespace platform::win32 {

// Every cp1251 byte has a UTF-16 form.
std::wstring widen(const std::string& cp1251);
// Nothing when a character has no cp1251 form (no best-fit replacement).
std::optional<std::string> narrow(const wchar_t* text, int length = -1);
inline std::optional<std::string> narrow(const std::wstring& text) {
    return narrow(text.c_str(), static_cast<int>(text.size()));
}
// Characters without a cp1251 form become '?'; `lossy` tells whether any did.
std::string narrow_lossy(const wchar_t* text, bool* lossy = nullptr);

// The full path for the W functions: absolute and without wildcards (else a
// failure), normalised by GetFullPathNameW, in the "\\?\" form when it is
// long enough to need it.
Result<std::wstring> wide_path(const std::string& path);

// A failure with the system's message for `code` (from `module` for the
// messages of a library such as wininet).
Status error_status(DWORD code, HMODULE module = nullptr);
Status last_error();

}  // namespace platform::win32
