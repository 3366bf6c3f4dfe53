// The real program in Wine's notification area: started into the tray, its
// icon brings the window back, "Свернуть в трэй" hides it again, and the
// icon's menu ends the program.
#include <gtest/gtest.h>

#include <string>

#include "automation.h"
#include "installation.h"
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

// The program set to start in the tray.
struct TrayInstallation : Installation {
    TrayInstallation() : Installation(L"tray") { write_data(L"tray.txt", ""); }
};

}  // namespace

TEST(TrayEndToEnd, StartsInTheTrayComesBackOnAClickAndItsMenuEndsTheProgram) {
    TrayInstallation program;
    const auto main_window = [&] { return top_window(program.id(), L"Vorlinde System Cleaner 1.5"); };
    ASSERT_TRUE(program.start());
    HWND icon = wait_for(tray_icon);
    ASSERT_TRUE(icon);
    Sleep(800);  // the fade-in's ticks, each of which hides the window again
    EXPECT_FALSE(main_window());
    save_shot(GetParent(icon), "tray-icon");

    click_icon(icon, WM_LBUTTONDOWN, WM_LBUTTONUP);
    HWND main = wait_for(main_window, 10000);
    ASSERT_TRUE(main);
    EXPECT_TRUE(IsWindowVisible(component(main, L"TabSheet2_2")));  // About
    EXPECT_TRUE(wait_for([] { return tray_icon() ? nullptr : HWND(1); }, 10000));

    // "Дополнительно" -> "Свернуть в трэй".
    open_item(main, 7, 2);
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
    ASSERT_TRUE(program.ends_cleanly());
    EXPECT_TRUE(wait_for([] { return tray_icon() ? nullptr : HWND(1); }, 10000));
}
