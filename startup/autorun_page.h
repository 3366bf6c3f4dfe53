#pragma once
// The page "Дополнительные настройки": the boxes that block the four startup
// keys through the system policy, the boxes that watch them, and
// "  Применить".
#include <array>
#include <memory>

#include "platform/platform.h"
#include "startup/notice_window.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace startup {

class AutorunPage {
public:
    AutorunPage(ui::Page& page, platform::Platform& platform, const store::DataFolder& data, AutorunMonitor& monitor);

    // Ticks the boxes from the policy values and the snapshot files.
    void refresh();
    void apply();

    ui::CheckBox& block_box(std::size_t key) { return *block_boxes_[key]; }
    ui::CheckBox& watch_box(std::size_t key) { return *watch_boxes_[key]; }
    ui::Button& apply_button() { return apply_button_; }

private:
    ui::Form& form_;
    platform::Platform& platform_;
    const store::DataFolder& data_;
    AutorunMonitor& monitor_;

    ui::Label block_title_;
    std::array<std::unique_ptr<ui::CheckBox>, 4> block_boxes_;
    ui::Bevel block_line_;
    ui::Label watch_title_;
    std::array<std::unique_ptr<ui::CheckBox>, 4> watch_boxes_;
    ui::Bevel watch_line_;
    ui::Button apply_button_;
};

}  // namespace startup
