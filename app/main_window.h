#pragma once
// The main window: the category bar on the left, the tool pages on the right,
// and the state the whole program shares: the usable drive list, the drive
// selection of each search, the sound players and the start-up fade-in. What
// each item of the bar does is its tool's business (app/features.h).
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/tray_menu.h"
#include "platform/platform.h"
#include "search/drives.h"
#include "search/sounds.h"
#include "search/tool.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace app {

class MainWindow : public ui::Form {
public:
    MainWindow(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data);
    ~MainWindow() override;

    // Runs a routine by its name ("Temp Dirs"): shows its tool's page and
    // has the tool refresh it. "Список кнопок" fits the category bar.
    void run(std::string_view routine);

    // Pages by name ("TabSheet3_1").
    ui::Page& page(std::string_view name) const;
    void show_page(std::string_view name);
    // The name of the page shown.
    std::string shown_page() const;

    const std::vector<std::string>& usable_drives() const { return usable_drives_; }
    // The drive selection that a flag file keeps ("tf_drives.txt").
    search::DriveSelection& drives(const std::string& flag_file) { return selections_[flag_file]; }

    // The tool of a routine or an item caption.
    template <class T>
    T& tool(std::string_view routine_or_item) {
        return dynamic_cast<T&>(*tools_.at(feature_index(routine_or_item)));
    }

    search::Sounds& sounds() { return sounds_; }
    ui::CategoryBar& categories() { return categories_; }
    ui::Timer& startup_timer() { return startup_timer_; }
    ui::TrayIcon& tray() { return tray_; }
    TrayMenu& tray_menu() { return tray_menu_; }

    // Hides the window into the notification area, and back.
    void hide_to_tray();
    void restore_from_tray();


private:
    void build_pages();
    void build_categories();
    void build_tools();
    std::size_t feature_index(std::string_view routine_or_item) const;
    void run_feature(std::size_t index);
    void shown();
    void activated();
    void startup_tick();
    void bar_mouse_down();
    void bar_changed();
    void item_chosen(int category, int item);
    void fit_category_bar();

    platform::Platform& platform_;
    const store::DataFolder& data_;
    search::Sounds sounds_;
    std::vector<std::string> usable_drives_;
    std::map<std::string, search::DriveSelection> selections_;
    int remembered_category_ = -1;
    // The feature of each category bar item.
    std::vector<std::vector<std::size_t>> items_;

    ui::CategoryBar categories_{*this, "CategoryButtons1"};
    ui::PageSet outer_{*this, "PageControl1"};
    std::vector<std::unique_ptr<ui::Page>> outer_pages_;
    std::vector<std::unique_ptr<ui::PageSet>> inner_sets_;
    std::vector<std::vector<std::unique_ptr<ui::Page>>> inner_pages_;
    ui::Timer startup_timer_{*this, "Timer1"};
    ui::TrayIcon tray_{*this, "TrayIcon1"};
    TrayMenu tray_menu_{*this, platform_};

    std::map<std::string, std::shared_ptr<void>> shared_parts_;
    std::unique_ptr<search::ToolContext> context_;
    std::vector<std::unique_ptr<search::Tool>> tools_;
};

}  // namespace app
