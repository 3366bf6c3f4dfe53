// The real program under Wine: it starts, shows its main window and ends
// cleanly when that window is closed.
#include <gtest/gtest.h>

#include <string>

#include "automation.h"
#include "win32/handles.h"

using namespace automation;

TEST(Program, StartsShowsItsWindowAndEndsCleanlyWhenClosed) {
    std::wstring command = L"\"" + widen(VORLINDE_PROGRAM) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process))
        << "cannot start " << VORLINDE_PROGRAM;
    const platform::win32::ObjectHandle thread(process.hThread), started(process.hProcess);

    HWND window = wait_for([&] { return top_window(process.dwProcessId, L"Vorlinde System Cleaner 1.5"); });
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
