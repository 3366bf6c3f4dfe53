#pragma once
// The notification-area icon's menu of quick actions: cleaning the temporary
// folder, the recycle bin and the browsers' caches, histories and cookies
// without showing the main window; bringing the window back, the uninstall
// list, and leaving the program. The menu is prepared anew each time it
// opens: what has nothing to clean is greyed, the extra browsers found on the
// machine get their entries.
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "privacy/browser_cleaning.h"
#include "privacy/modern_browsers.h"
#include "ui/ui.h"

namespace app {

class MainWindow;

class TrayMenu {
public:
    TrayMenu(MainWindow& main, platform::Platform& platform);
    TrayMenu(const TrayMenu&) = delete;
    TrayMenu& operator=(const TrayMenu&) = delete;

    // One submenu of browser entries: "Все", a separator, Internet Explorer
    // and the two browser slots.
    struct BrowserMenu {
        BrowserMenu(ui::PopupMenu& menu, const char* name, const char* caption, const char* all_name,
                    const char* ie_name, const char* slot1_name, const char* slot2_name);
        ui::MenuItem submenu, all, line, ie;
        std::array<ui::MenuItem, 2> slots;
        // Internet Explorer's entry (row 0) or a slot's (rows 1 and 2).
        ui::MenuItem& row(int row) { return row == 0 ? ie : slots.at(static_cast<std::size_t>(row - 1)); }
        // Today's browsers after them, one entry each as found.
        std::vector<std::unique_ptr<ui::MenuItem>> modern;
    };

    ui::PopupMenu& menu() { return menu_; }
    ui::MenuItem& restore_item() { return restore_; }
    ui::MenuItem& clean_temp_item() { return clean_temp_; }
    ui::MenuItem& empty_bin_item() { return empty_bin_; }
    BrowserMenu& browsers(privacy::Store store) { return browsers_.at(static_cast<std::size_t>(store)); }
    ui::MenuItem& uninstall_item() { return uninstall_; }
    ui::MenuItem& exit_item() { return exit_; }
    // A quick action runs: the icon and the menu are ignored meanwhile.
    bool busy() const { return busy_; }

private:
    // Before the menu opens.
    void prepare();
    // The entries.
    void restore();
    void clean_temp();
    void empty_bin();
    void clean_browser(privacy::Store store, int row);
    void clean_every_browser(privacy::Store store);
    void clean_modern(privacy::Store store, std::size_t index);
    void uninstall();
    void exit();

    // A quick action; the menu offers nothing while one runs (the cleaning
    // serves the message queue, so the icon can be clicked meanwhile).
    template <class F>
    std::function<void()> action(F run);

    MainWindow& main_;
    platform::Platform& platform_;
    privacy::BrowserTraces traces_;
    privacy::ModernTraces modern_traces_;
    std::vector<privacy::ModernBrowser> modern_;  // as the menu last found them
    bool busy_ = false;

    ui::PopupMenu menu_;
    ui::MenuItem restore_, line1_, clean_temp_, empty_bin_, line2_;
    std::array<BrowserMenu, 3> browsers_;  // by privacy::Store
    ui::MenuItem line3_, uninstall_, line4_, exit_;
};

}  // namespace app
