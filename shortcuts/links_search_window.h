#pragma once
// The window "Поиск неправильных ярлыков": runs the broken shortcut search
// when it opens, lists the shortcuts whose targets are gone, points a
// selected shortcut at a new target, and deletes the checked ones (to the
// recycle bin or for good).
#include <functional>

#include "platform/platform.h"
#include "search/drives.h"
#include "search/results_window.h"
#include "shortcuts/broken_link_search.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace shortcuts {

class LinksSearchWindow : public search::ResultsWindow<BrokenLink> {
public:
    // `main` is shown again when this window closes; `drives` is the main
    // window's drive selection of this tool.
    LinksSearchWindow(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data,
                      const search::DriveSelection& drives, ui::Form& main);

    ui::Label& step() { return step_; }
    ui::Label& current() { return current_; }
    ui::Label& found_count() { return found_count_; }
    ui::Button& stop_button() { return stop_; }
    ui::ProgressBar& progress() { return progress_; }
    ui::GroupBox& results_group() { return group_; }
    ui::ListView& results() { return results_; }
    ui::Edit& link() { return link_; }
    ui::CheckBox& check_all() { return check_all_; }
    ui::CheckBox& to_recycle_bin() { return to_bin_; }
    ui::Button& edit_button() { return edit_; }
    ui::Button& delete_button() { return delete_; }

private:

    void search();
    void finish(BrokenLinkResult result);
    void row_selected();
    void choose_target();
    void repair_selected();
    void delete_checked();
    void enable_results(bool enabled);

    platform::Platform& platform_;
    const store::DataFolder& data_;
    const search::DriveSelection& drives_;

    ui::Label step_{*this, "Label1"};
    ui::Button stop_{*this, "SpeedButton1"};
    ui::Bevel frame_{*this, "Bevel1"};
    ui::Label current_{*this, "Label2"};
    ui::Label found_count_{*this, "Label3"};
    ui::ProgressBar progress_{*this, "ProgressBar1"};
    ui::GroupBox group_{*this, "GroupBox1"};
    ui::ListView results_{group_, "ListView1"};
    ui::Label link_caption_{group_, "Label4"};
    ui::Edit link_{group_, "Edit1"};
    ui::CheckBox check_all_{group_, "CheckBox1"};
    ui::CheckBox to_bin_{group_, "CheckBox2"};
    ui::Button edit_{group_, "SpeedButton2"};
    ui::Button delete_{group_, "SpeedButton3"};
};

}  // namespace shortcuts
