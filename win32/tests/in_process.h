// Helpers of the tests that make the program's windows in their own process:
// cp1251 texts to and from the wide ones, serving messages while waiting, and
// the dialog box a window opened.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "win32/ui_toolkit.h"
#include "win32/win32_text.h"
#include "shots.h"
#include "ui/form.h"

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

// Takes a form's picture (save_shot) once it shows and has painted: shown
// and active first when `show`, else as it stands once visible. This
// thread, the form's, serves its messages while the picture is taken.
inline void picture(platform::win32::UiToolkit& toolkit, ui::Form& form, const char* name, bool show = true) {
    if (show) form.show();
    ASSERT_TRUE(serve_until(toolkit, [&] { return show ? form.active() : form.visible(); }));
    serve_for(toolkit, 300);
    std::atomic<bool> saved{false};
    std::thread shot([&] {
        automation::save_shot(static_cast<HWND>(toolkit.window(form)), name);
        saved = true;
    });
    EXPECT_TRUE(serve_until(toolkit, [&] { return saved.load(); }));
    shot.join();
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

// A folder and everything in it, removed.
inline void remove_tree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                remove_tree(folder + "\\" + name);
            else
                DeleteFileA((folder + "\\" + name).c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

// A program folder with its Data folder in the user's temporary folder,
// removed with everything in it at the end.
struct TempProgramFolder {
    std::string folder;
    explicit TempProgramFolder(const std::string& tag) {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "vsc-" + tag + "-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        CreateDirectoryA((folder + "Data").c_str(), nullptr);
    }
    ~TempProgramFolder() { remove_tree(folder.substr(0, folder.size() - 1)); }
};

}  // namespace in_process
