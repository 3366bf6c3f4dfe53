// Helpers of the tests that make the program's windows in their own process:
// cp1251 texts to and from the wide ones, serving messages while waiting, and
// the dialog box a window opened.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/ui_toolkit.h"

namespace in_process {

inline std::wstring from_cp1251(const std::string& text) {
    std::wstring out(text.size(), L'\0');
    const int n = MultiByteToWideChar(1251, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                      static_cast<int>(out.size()));
    out.resize(static_cast<std::size_t>(n));
    return out;
}

inline std::string to_cp1251(const std::wstring& text) {
    std::string out(text.size() * 2, '\0');
    const int n = WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                      static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(static_cast<std::size_t>(n));
    return out;
}

// Serves messages until the condition holds or five seconds passed.
template <class Condition>
bool serve_until(platform::win32::UiToolkit& toolkit, Condition done) {
    const ULONGLONG end = GetTickCount64() + 5000;
    while (!done()) {
        if (GetTickCount64() > end) return false;
        toolkit.process_messages();
        Sleep(1);
    }
    return true;
}

inline void serve_for(platform::win32::UiToolkit& toolkit, int milliseconds) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    while (GetTickCount64() < end) {
        toolkit.process_messages();
        Sleep(5);
    }
}

// The visible dialog box (a message box, the folder chooser) of this
// thread, or null.
inline HWND visible_dialog() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM out) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(out) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace in_process
