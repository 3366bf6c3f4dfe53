// The real program under Wine: it starts, shows its main window and ends
// cleanly when that window is closed.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/handles.h"
namespace {

std::wstring widen(const char* text) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), n);
    out.resize(n - 1);
    return out;
}

HWND wait_for_window(const wchar_t* title, DWORD process_id, int timeout_ms) {
    for (int waited = 0; waited < timeout_ms; waited += 50) {
        HWND window = FindWindowW(nullptr, title);
        DWORD owner = 0;
        if (window) GetWindowThreadProcessId(window, &owner);
        if (window && owner == process_id && IsWindowVisible(window)) return window;
        Sleep(50);
    }
    return nullptr;
}

}  // namespace

TEST(Program, StartsShowsItsWindowAndEndsCleanlyWhenClosed) {
    std::wstring command = L"\"" + widen(VORLINDE_PROGRAM) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process))
        << "cannot start " << VORLINDE_PROGRAM;
    const platform::win32::ObjectHandle thread(process.hThread), started(process.hProcess);

    HWND window = wait_for_window(L"Vorlinde System Cleaner 1.5", process.dwProcessId, 20000);
    EXPECT_NE(window, nullptr);
    // The task bar shows the program's one button under its own title.
    wchar_t button[64] = {};
    GetWindowTextW(GetWindow(window, GW_OWNER), button, 64);
    EXPECT_STREQ(button, L"System Cleaner");
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    else TerminateProcess(process.hProcess, 99);

    EXPECT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exit_code = 12345;
    GetExitCodeProcess(process.hProcess, &exit_code);
    EXPECT_EQ(exit_code, 0u);
}
