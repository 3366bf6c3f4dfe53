#pragma once
// The window "Область поиска": the drives and single folders that one file
// search walks. The four searches that walk an area (temporary files, broken
// shortcuts, empty folders, duplicates) each have one, alike but for a few
// details given by an AreaVariant.
//
// Its drive checks stay in memory between openings (an opening only adds the
// checks of the flag file); its folder list is read from the file at every
// opening. "  Применить" writes both files and the main window's drive
// selection of the search, then closes the window.
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "search/drives.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace search {

struct AreaVariant {
    const char* prefix;         // file prefix: <prefix>_drives.txt, <prefix>_dirs.txt
    bool hint;                  // the advice under the drive list
    const char* area_sentence;  // second sentence of the empty-area message
};

inline constexpr AreaVariant kTempFilesArea{"tf", true, "Для поиска временных файлов необходимо задать область поиска."};
inline constexpr AreaVariant kBrokenLinksArea{"bl", true,
                                              "Для поиска неправильных ярлыков необходимо задать область поиска."};
inline constexpr AreaVariant kEmptyDirsArea{"ed", false, "Для поиска пустых папок необходимо задать область поиска."};
inline constexpr AreaVariant kDuplicatesArea{"cf", false, "Для поиска копий файлов необходимо задать область поиска."};

// The title of the folder chooser of the editors.
inline constexpr char kChooseFolderTitle[] = "Выберите папку...";

class AreaWindow : public ui::Form {
public:
    // `drives` is the usable drive list; `selection` is the main window's
    // drive selection of this search, which "  Применить" sets.
    AreaWindow(ui::Toolkit& toolkit, const AreaVariant& variant, const store::DataFolder& data,
               platform::FileSystem& fs, const std::vector<std::string>& drives, DriveSelection& selection);

    const AreaVariant& variant() const { return variant_; }
    std::string drives_file() const { return std::string(variant_.prefix) + "_drives.txt"; }
    std::string folders_file() const { return std::string(variant_.prefix) + "_dirs.txt"; }

    ui::CheckList& drive_list() { return drive_list_; }
    ui::Label& hint() { return hint_; }
    ui::ListView& folder_list() { return folder_list_; }
    ui::Button& add_button() { return add_button_; }
    ui::Button& remove_button() { return remove_button_; }
    ui::Button& apply_button() { return apply_button_; }

private:
    void opened();
    void drive_toggled(int row);
    void add_folder();
    void remove_folder();
    void apply();

    const AreaVariant variant_;
    const store::DataFolder& data_;
    platform::FileSystem& fs_;
    DriveSelection& selection_;

    ui::GroupBox drive_group_{*this, "DrivesGroup"};
    ui::CheckList drive_list_{drive_group_, "DriveList"};
    ui::Label hint_{*this, "HintLabel"};
    ui::GroupBox folder_group_{*this, "FoldersGroup"};
    ui::ListView folder_list_{folder_group_, "FolderList"};
    ui::Button add_button_{folder_group_, "AddButton"};
    ui::Button remove_button_{folder_group_, "RemoveButton"};
    ui::Button apply_button_{*this, "ApplyButton"};
};

// What the editors' "  Удалить" does to a list: removes the selected row and
// selects the row now at its place, or the last row; nothing without a
// selection.
void remove_selected_row(ui::ListControl& list);

}  // namespace search
