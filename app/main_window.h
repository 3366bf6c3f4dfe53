#pragma once
// The main window: the category bar on the left, the tool pages on the right,
// and the state the whole program shares: the usable drive list, the drive
// selection of each search, the sound players and the start-up fade-in.
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/about_page.h"
#include "app/sounds.h"
#include "platform/platform.h"
#include "search/drives.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace junk {
class MaskWindow;
class TempFindPage;
class TempPage;
}  // namespace junk
namespace search {
class AreaWindow;
class ExclusionsWindow;
}  // namespace search
namespace shortcuts {
class LinksPage;
}
namespace emptydirs {
class EmptyDirsPage;
}
namespace duplicates {
class DuplicatesPage;
}

namespace app {

// The main window's internal routines: each shows a tool's page and refreshes
// what it displays.
enum class Routine {
    button_list,  // "Список кнопок": fits the category bar to its open category
    loc_run, cur_run, temp_dirs, bad_links, cache, jurnal, cookies, temp_find,
    empty_dirs, duplicates, reg_find, history, uninstall, full_delete, run_tools,
};

// The searches that keep a drive selection, with their flag files.
enum class DriveTool { temp_files, broken_links, empty_dirs, duplicates, registry };

class MainWindow : public ui::Form {
public:
    MainWindow(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data);
    ~MainWindow() override;

    void run(Routine routine);
    void show_pages(int outer, int inner);
    ui::Page& page(int outer, int inner) const;
    int outer_page() const { return outer_.active(); }
    int inner_page() const;

    const std::vector<std::string>& usable_drives() const { return usable_drives_; }
    search::DriveSelection& drives(DriveTool tool) { return selections_[static_cast<int>(tool)]; }
    static const char* flag_file(DriveTool tool);

    Sounds& sounds() { return sounds_; }
    ui::CategoryBar& categories() { return categories_; }
    ui::Timer& startup_timer() { return startup_timer_; }
    ui::TrayIcon& tray() { return tray_; }
    junk::TempPage& temp_page() { return *temp_page_; }
    AboutPage& about() { return *about_; }

    // The search area and exclusions editors of the four file searches
    // (temp_files, broken_links, empty_dirs, duplicates), the mask editor,
    // and the launcher pages that open them.
    search::AreaWindow& area_window(DriveTool tool) { return *area_windows_.at(static_cast<std::size_t>(tool)); }
    search::ExclusionsWindow& exclusions_window(DriveTool tool) {
        return *exclusions_windows_.at(static_cast<std::size_t>(tool));
    }
    junk::MaskWindow& mask_window() { return *mask_window_; }
    junk::TempFindPage& temp_find_page() { return *temp_find_page_; }
    shortcuts::LinksPage& links_page() { return *links_page_; }
    emptydirs::EmptyDirsPage& empty_dirs_page() { return *empty_dirs_page_; }
    duplicates::DuplicatesPage& duplicates_page() { return *duplicates_page_; }

    // Hides the window into the notification area, and back.
    void hide_to_tray();
    void restore_from_tray();

    // Runs at the end of the fade-in when update.txt exists.
    std::function<void()> startup_update_check;
    // Runs when "  Начать поиск" of the temporary-file search page is clicked.
    std::function<void()> start_temp_search;

private:
    void build_pages();
    void build_categories();
    void build_editors();
    void shown();
    void activated();
    void startup_tick();
    void bar_mouse_down();
    void bar_changed();
    void item_chosen(int category, int item);
    void fit_category_bar();

    platform::Platform& platform_;
    const store::DataFolder& data_;
    Sounds sounds_;
    std::vector<std::string> usable_drives_;
    std::array<search::DriveSelection, 5> selections_;
    int remembered_category_ = -1;

    ui::CategoryBar categories_{*this, "CategoryButtons1"};
    ui::PageSet outer_{*this, "PageControl1"};
    std::vector<std::unique_ptr<ui::Page>> outer_pages_;
    std::vector<std::unique_ptr<ui::PageSet>> inner_sets_;
    std::vector<std::vector<std::unique_ptr<ui::Page>>> inner_pages_;
    ui::Timer startup_timer_{*this, "Timer1"};
    ui::Timer autorun_timer_{*this, "Timer2"};
    ui::TrayIcon tray_{*this, "TrayIcon1"};

    std::unique_ptr<AboutPage> about_;
    std::unique_ptr<junk::TempPage> temp_page_;
    std::array<std::unique_ptr<search::AreaWindow>, 4> area_windows_;
    std::array<std::unique_ptr<search::ExclusionsWindow>, 4> exclusions_windows_;
    std::unique_ptr<junk::MaskWindow> mask_window_;
    std::unique_ptr<junk::TempFindPage> temp_find_page_;
    std::unique_ptr<shortcuts::LinksPage> links_page_;
    std::unique_ptr<emptydirs::EmptyDirsPage> empty_dirs_page_;
    std::unique_ptr<duplicates::DuplicatesPage> duplicates_page_;
};

}  // namespace app
