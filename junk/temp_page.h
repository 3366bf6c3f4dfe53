#pragma once
// The page "Очистка Temp папок": what the temporary folder and the recycle
// bin hold, and their cleaning.
#include <memory>

#include "junk/temp_folders.h"
#include "platform/platform.h"
#include "ui/ui.h"

namespace junk {

class TempPage {
public:
    TempPage(ui::Page& page, platform::Platform& platform, platform::Pump& pump,
             std::unique_ptr<platform::SoundPlayer>& clean_sound);

    // Counts and sizes anew ("Temp Dirs").
    void refresh();
    // The page's three buttons.
    void clean_temp();
    void empty_bin();
    void clean_all();
    // The tray menu's quick actions: the same cleaning, the page untouched,
    // the clean sound at the end.
    void quick_clean_temp();
    void quick_empty_bin();

    ui::Label& temp_count() { return temp_count_; }
    ui::Label& temp_size() { return temp_size_; }
    ui::Label& bin_count() { return bin_count_; }
    ui::Label& bin_size() { return bin_size_; }
    ui::Button& temp_button() { return temp_button_; }
    ui::Button& bin_button() { return bin_button_; }
    ui::Button& all_button() { return all_button_; }
    // Why the temporary folder is not cleaned; hidden when it is.
    ui::Label& refusal() { return refusal_; }

private:
    void measure_temp();
    void measure_bin();
    void update_all_button();

    ui::Page& page_;
    platform::Platform& platform_;
    platform::Pump& pump_;
    std::unique_ptr<platform::SoundPlayer>& clean_sound_;
    TempFolders folders_;

    ui::Label title_, intro_;
    ui::Bevel line_;
    ui::Label temp_heading_, temp_count_caption_, temp_count_, temp_size_caption_, temp_size_;
    ui::Button temp_button_;
    ui::Bevel temp_line_;
    ui::Label bin_heading_, bin_count_caption_, bin_count_, bin_size_caption_, bin_size_;
    ui::Button bin_button_;
    ui::Bevel bin_line_;
    ui::Button all_button_;
    ui::Label refusal_;
};

}  // namespace junk
