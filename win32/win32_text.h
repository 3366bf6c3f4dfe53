#pragma once
// Conversions between the program's cp1251 and the UTF-16 of the W
// functions, paths in the form the W functions take, and system messages.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace platform::win32 {

// The program's cp1251 and the UTF-16 of the W functions, by the one rule of
// platform/cp1251.h: a character without a cp1251 form becomes '?'.
std::wstring widen(std::string_view cp1251);
// `lossy` tells whether any character had no form.
std::string narrow_lossy(std::wstring_view text, bool* lossy = nullptr);
// Nothing when a character has no cp1251 form: for a text that must be exact.
std::optional<std::string> narrow(std::wstring_view text);

// The full path for the W functions: absolute and without wildcards (else a
// failure), normalised by GetFullPathNameW, in the "\\?\" form when it is
// long enough to need it.
Result<std::wstring> wide_path(const std::string& path);

// A failure with the system's message for `code` (from `module` for the
// messages of a library such as wininet).
Status error_status(DWORD code, HMODULE module = nullptr);
Status last_error();

}  // namespace platform::win32
