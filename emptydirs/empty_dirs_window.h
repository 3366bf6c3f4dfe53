#pragma once
// The empty folder search window: runs the search when it opens, lists the
// folders it found, opens one in Explorer and removes the checked ones for
// good (each alone, or as a whole tree, by the mode stored at that moment).
#include "emptydirs/empty_dirs_search.h"
#include "platform/platform.h"
#include "search/drives.h"
#include "search/results_window.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace emptydirs {

class EmptyDirsWindow : public search::ResultsWindow<FoundFolder> {
public:
    // `main` is shown again when this window closes; `drives` is the main
    // window's empty-folder drive selection.
    EmptyDirsWindow(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data,
                    const search::DriveSelection& drives, ui::Form& main);

    ui::Label& step() { return step_; }
    ui::Label& current() { return current_; }
    ui::Label& found_count() { return found_count_; }
    ui::Button& stop_button() { return stop_; }
    ui::ProgressBar& progress() { return progress_; }
    ui::GroupBox& results_group() { return group_; }
    ui::ListView& results() { return results_; }
    ui::CheckBox& check_all() { return check_all_; }
    ui::Button& open_button() { return open_; }
    ui::Button& delete_button() { return delete_; }

private:

    void search();
    void finish(const EmptyDirsResult& result);
    void open_selected();
    void delete_checked();
    void disable_results();

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
    ui::CheckBox check_all_{group_, "CheckBox1"};
    ui::Button open_{group_, "SpeedButton2"};
    ui::Button delete_{group_, "SpeedButton3"};
};

}  // namespace emptydirs
