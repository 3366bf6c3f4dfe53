// The real program in Wine's notification area: started into the tray, its
// icon brings the window back, "Свернуть в трэй" hides it again, and the
// icon's menu ends the program.
#include <gtest/gtest.h>

#include <string>

#include "automation.h"
#include "platform/win32/handles.h"
#include "shots.h"

using namespace automation;

namespace {

// Wine's own tray window, used when the X display has no system tray.
HWND tray_icon() {
    HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
    if (!tray || !IsWindowVisible(tray)) return nullptr;
    return FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr);
}

void click_icon(HWND icon, UINT down, UINT up) {
    PostMessageW(icon, down, 0, MAKELPARAM(8, 8));
    PostMessageW(icon, up, 0, MAKELPARAM(8, 8));
}

struct Program {
    wchar_t temp[MAX_PATH] = {};
    std::wstring folder;
    PROCESS_INFORMATION process{};

    // The program in a folder of its own, set to start in the tray.
    Program() {
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"vsc-tray-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder.c_str(), nullptr);
        CreateDirectoryW((folder + L"\\Data").c_str(), nullptr);
        CopyFileW(widen(VORLINDE_PROGRAM).c_str(), (folder + L"\\program.exe").c_str(), FALSE);
        for (const char* name : {"link.wav", "clean.wav", "radar.wav", "banner.jpg"})
            CopyFileW(widen(std::string(VORLINDE_TEST_DATA "/../../data/") + name).c_str(),
                      (folder + L"\\Data\\" + widen(name)).c_str(), FALSE);
        const platform::win32::FileHandle marker(CreateFileW((folder + L"\\Data\\tray.txt").c_str(), GENERIC_WRITE, 0,
                                                             nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    ~Program() {
        if (process.hProcess) {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, 5000);
            const platform::win32::ObjectHandle thread(process.hThread), started(process.hProcess);
        }
        SHFILEOPSTRUCTW op{};
        const std::wstring from = folder + L'\0';
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        SHFileOperationW(&op);
    }
    bool start() {
        std::wstring command = L"\"" + folder + L"\\program.exe\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                              &process);
    }
    HWND main_window() { return top_window(process.dwProcessId, L"Vorlinde System Cleaner 1.5"); }
};

}  // namespace

TEST(TrayEndToEnd, StartsInTheTrayComesBackOnAClickAndItsMenuEndsTheProgram) {
    Program program;
    ASSERT_TRUE(program.start());
    HWND icon = wait_for(tray_icon);
    ASSERT_TRUE(icon);
    Sleep(800);  // the fade-in's ticks, each of which hides the window again
    EXPECT_FALSE(program.main_window());
    save_shot(GetParent(icon), "tray-icon");

    click_icon(icon, WM_LBUTTONDOWN, WM_LBUTTONUP);
    HWND main = wait_for([&] { return program.main_window(); }, 10000);
    ASSERT_TRUE(main);
    EXPECT_TRUE(IsWindowVisible(component(main, L"TabSheet2_2")));  // About
    EXPECT_TRUE(wait_for([] { return tray_icon() ? nullptr : HWND(1); }, 10000));

    // "Дополнительно" -> "Свернуть в трэй".
    press(wait_for([&] { return component(main, L"CategoryButtons1_Category7"); }));
    press(wait_for([&] { return component(main, L"CategoryButtons1_Item7_2"); }));
    icon = wait_for(tray_icon, 10000);
    ASSERT_TRUE(icon);
    EXPECT_FALSE(IsWindowVisible(main));

    // The menu opens upwards over the icon; its last entry is "Выход".
    click_icon(icon, WM_RBUTTONDOWN, WM_RBUTTONUP);
    HWND menu = wait_for([] {
        HWND found = FindWindowW(L"#32768", nullptr);
        return found && IsWindowVisible(found) ? found : nullptr;
    });
    ASSERT_TRUE(menu);
    save_shot(menu, "tray-menu");
    PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(WaitForSingleObject(program.process.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(program.process.hProcess, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(wait_for([] { return tray_icon() ? nullptr : HWND(1); }, 10000));
}
