#pragma once
// The window "Список файлов": the chosen files whose copies the duplicate
// search looks for when it does not search the whole area (cf_files.txt).
// Files are added through the file dialog or by whole folders, with or
// without their subfolders; a path is listed once.
#include "platform/file_system.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace duplicates {

class FilesWindow : public ui::Form {
public:
    FilesWindow(ui::Toolkit& toolkit, const store::DataFolder& data, platform::FileSystem& fs);

    ui::GroupBox& group() { return group_; }
    ui::ListView& file_list() { return file_list_; }
    ui::Button& add_folder_button() { return add_folder_button_; }
    ui::Button& add_files_button() { return add_files_button_; }
    ui::Button& remove_button() { return remove_button_; }
    ui::CheckBox& subfolders() { return subfolders_; }
    ui::ProgressBar& progress() { return progress_; }
    ui::Button& clear_button() { return clear_button_; }
    ui::Button& apply_button() { return apply_button_; }

private:
    void opened();
    void add_files();
    void add_folder();
    // Adds the paths not listed yet, advancing the progress bar; whether
    // some were listed already.
    bool add_new(std::vector<std::string> paths);
    void collect(const std::string& folder, bool deep, std::vector<std::string>& files);
    void apply();

    const store::DataFolder& data_;
    platform::FileSystem& fs_;

    ui::GroupBox group_{*this, "FilesGroup"};
    ui::ListView file_list_{group_, "FileList"};
    ui::Button add_folder_button_{group_, "AddFolderButton"};
    ui::Button add_files_button_{group_, "AddFilesButton"};
    ui::Button remove_button_{group_, "RemoveButton"};
    ui::CheckBox subfolders_{group_, "SubfoldersBox"};
    ui::ProgressBar progress_{group_, "AddProgress"};
    ui::Button clear_button_{group_, "ClearButton"};
    ui::Button apply_button_{*this, "ApplyButton"};
};

}  // namespace duplicates
