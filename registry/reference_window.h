#pragma once
// The window "Поиск неправильных ссылок": runs the registry reference search
// when it opens, lists the broken references, saves a copy of the searched
// keys through the registry editor and empties the data of the checked ones.
#include <optional>

#include "platform/platform.h"
#include "registry/reference_search.h"
#include "search/drives.h"
#include "search/results_window.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace registry {

class ReferenceWindow : public search::ResultsWindow<BrokenReference> {
public:
    // `main` is shown again when this window closes; `drives` is the main
    // window's registry drive selection.
    ReferenceWindow(ui::Toolkit& toolkit, platform::Platform& platform, const store::DataFolder& data,
                    const search::DriveSelection& drives, ui::Form& main);

    ui::Label& step() { return step_; }
    ui::Label& current() { return current_; }
    ui::Label& found_count() { return found_count_; }
    ui::Button& stop_button() { return stop_; }
    ui::ProgressBar& progress() { return progress_; }
    ui::GroupBox& results_group() { return group_; }
    ui::ListView& results() { return results_; }
    ui::CheckBox& check_all() { return check_all_; }
    ui::Button& backup_button() { return backup_; }
    ui::Button& delete_button() { return delete_; }
    // Whether a backup was made since the last search began.
    bool backup_made() const { return backup_made_; }

private:
    class Progress;

    enum class Backup { made, not_asked, failed };

    void search();
    void report(ReferenceSearchResult result);
    Backup back_up();
    void delete_checked();
    void enable_results();

    platform::Platform& platform_;
    const store::DataFolder& data_;
    const search::DriveSelection& drives_;
    // The keys the last search that found rg_keys.txt read: the backup
    // saves them, and a search without the file searches them again.
    std::optional<KeySelection> keys_;
    bool backup_made_ = false;
    // The search runs at the first activation after the window is shown,
    // never again until it is shown anew.
    bool search_due_ = false;

    ui::Label step_{*this, "Label1"};
    ui::Button stop_{*this, "StopButton"};
    ui::Bevel current_frame_{*this, "CurrentFrame"};
    ui::Label current_{*this, "Label2"};
    ui::Label found_count_{*this, "Label3"};
    ui::ProgressBar progress_{*this, "ProgressBar1"};
    ui::GroupBox group_{*this, "ResultsGroup"};
    ui::ListView results_{group_, "ResultsList"};
    ui::CheckBox check_all_{group_, "CheckAllBox"};
    ui::Button backup_{group_, "BackupButton"};
    ui::Button delete_{group_, "DeleteButton"};
};

}  // namespace registry
