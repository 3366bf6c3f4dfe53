#pragma once
// The window "Поиск копий": runs the duplicate search when it opens, shows
// the copy groups (the upper list: each group's found file; the lower list:
// the copies of the group clicked last) and lets the user open a file or its
// folder and delete a copy.
#include "duplicates/duplicate_search.h"
#include "platform/platform.h"
#include "search/drives.h"
#include "search/results_window.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace duplicates {

class CopiesWindow : public search::ResultsWindow<CopyGroup> {
public:
    // `main` is shown again when this window closes; `drives` is the main
    // window's drive selection of the duplicate search.
    CopiesWindow(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data,
                 const search::DriveSelection& drives, ui::Form& main);

    ui::Label& step() { return step_; }
    ui::Label& current() { return current_; }
    ui::Button& stop_button() { return stop_; }
    ui::ProgressBar& progress() { return progress_; }
    ui::GroupBox& results_group() { return group_; }
    ui::ListView& groups() { return groups_; }
    ui::ListView& copies() { return copies_; }
    ui::Button& open_folder_button() { return open_folder_; }
    ui::Button& open_file_button() { return open_file_; }
    ui::Button& delete_button() { return delete_; }

private:
    class Progress;

    void search();
    void finish();
    void groups_clicked();
    void copies_clicked();
    void open_selected(const ui::ListView& list);
    void open_file();
    void open_folder();
    void delete_copy_clicked();
    // The path of the selected row of the list clicked last, or "".
    std::string current_path() const;

    platform::Platform& platform_;
    const store::DataFolder& data_;
    const search::DriveSelection& drives_;
    // The list clicked last, and the group whose copies the lower list shows.
    const ui::ListView* current_list_ = nullptr;
    std::size_t shown_group_ = 0;

    ui::Label step_{*this, "Label1"};
    ui::Button stop_{*this, "SpeedButton1"};
    ui::Bevel frame_{*this, "Bevel1"};
    ui::Label current_{*this, "Label2"};
    ui::ProgressBar progress_{*this, "ProgressBar1"};
    ui::GroupBox group_{*this, "GroupBox1"};
    ui::ListView groups_{group_, "ListView1"};
    ui::Label copies_label_{group_, "Label3"};
    ui::ListView copies_{group_, "ListView2"};
    ui::Button open_folder_{group_, "SpeedButton2"};
    ui::Button open_file_{group_, "SpeedButton3"};
    ui::Button delete_{group_, "SpeedButton4"};
};

}  // namespace duplicates
