#pragma once
// The window "Поиск временных файлов": runs the search when it opens, then
// lets the user delete what it found (to the recycle bin or for good), open
// log files, and turn a found file or its folder into an exclusion.
#include "junk/temp_search.h"
#include "platform/platform.h"
#include "search/drives.h"
#include "search/results_window.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace junk {

class TempSearchWindow : public search::ResultsWindow<FoundFile> {
public:
    // `main` is shown again when this window closes; `drives` is the main
    // window's temporary-file drive selection.
    TempSearchWindow(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data,
                     const search::DriveSelection& drives, ui::Form& main);

    ui::Label& step() { return step_; }
    ui::Label& current() { return current_; }
    ui::Button& stop_button() { return stop_; }
    ui::Edit& found_count() { return found_count_; }
    ui::ProgressBar& progress() { return progress_; }
    ui::GroupBox& results_group() { return group_; }
    ui::Button& delete_all_button() { return delete_all_; }
    ui::Button& delete_checked_button() { return delete_checked_; }
    ui::ListView& results() { return results_; }
    ui::CheckBox& check_all() { return check_all_; }
    ui::CheckBox& to_recycle_bin() { return to_bin_; }
    ui::PopupMenu& menu() { return menu_; }
    ui::MenuItem& delete_file_item() { return delete_file_; }
    ui::MenuItem& delete_folder_item() { return delete_folder_; }
    ui::MenuItem& exclude_file_item() { return exclude_file_; }
    ui::MenuItem& exclude_folder_item() { return exclude_folder_; }

private:

    void search();
    void finish(TempSearchResult result);
    platform::Status delete_one(const FoundFile& file, DeletionPlan& plan);
    void delete_rows(bool only_checked);
    void delete_selected_file();
    void delete_folder_files();
    void exclude_file();
    void exclude_folder();
    void menu_opening();
    void open_log();
    void disable_results();
    void after_removal();
    void show_summary();

    platform::Platform& platform_;
    const store::DataFolder& data_;
    const search::DriveSelection& drives_;

    ui::Label step_{*this, "Label1"};
    ui::Label current_{*this, "Label2"};
    ui::Button stop_{*this, "SpeedButton1"};
    ui::Edit found_count_{*this, "Edit1"};
    ui::ProgressBar progress_{*this, "ProgressBar1"};
    ui::GroupBox group_{*this, "GroupBox1"};
    ui::Button delete_all_{group_, "SpeedButton2"};
    ui::Button delete_checked_{group_, "SpeedButton3"};
    ui::ListView results_{group_, "ListView1"};
    ui::CheckBox check_all_{group_, "CheckBox1"};
    ui::CheckBox to_bin_{group_, "CheckBox2"};
    ui::PopupMenu menu_{*this, "PopupMenu1"};
    ui::MenuItem delete_file_{menu_, "N1", "Удалить файл"};
    ui::MenuItem delete_folder_{menu_, "N2", "Удалить все файлы из этой папки"};
    ui::MenuItem separator_{menu_, "N3", "-"};
    ui::MenuItem exclude_file_{menu_, "N4", "Добавить файл в исключения"};
    ui::MenuItem exclude_folder_{menu_, "N5", "Добавить папку в исключения"};
};

}  // namespace junk
