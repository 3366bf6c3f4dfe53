// Helpers of the tests that make the program's windows in their own process:
// cp1251 texts to and from the wide ones, serving messages while waiting, and
// the dialog box a window opened.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/ui_toolkit.h"
#include "platform/win32/win32_text.h"

namespace in_process {

inline std::wstring from_cp1251(const std::string& text) { return platform::win32::widen(text); }
inline std::string to_cp1251(const std::wstring& text) { return platform::win32::narrow_lossy(text); }

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
