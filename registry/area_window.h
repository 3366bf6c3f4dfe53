#pragma once
// The window "Область поиска" of the registry reference search: the drives
// on which a path must lie to count and the keys searched. Its checks stay
// in memory between openings; an opening only adds the checks of the files.
// "  Применить" writes rg_keys.txt and rg_drives.txt (with the main window's
// drive selection of the search), each only when something of it is chosen.
#include <string>
#include <vector>

#include "search/drives.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace registry {

class RegistryAreaWindow : public ui::Form {
public:
    // `drives` is the usable drive list; `selection` is the main window's
    // drive selection of the registry search, which "  Применить" sets.
    RegistryAreaWindow(ui::Toolkit& toolkit, const store::DataFolder& data, const std::vector<std::string>& drives,
                       search::DriveSelection& selection);

    ui::CheckList& drive_list() { return drive_list_; }
    ui::CheckBox& current_user_box() { return current_user_box_; }
    ui::CheckBox& local_machine_box() { return local_machine_box_; }
    ui::Button& apply_button() { return apply_button_; }

private:
    void opened();
    void apply();

    const store::DataFolder& data_;
    search::DriveSelection& selection_;

    ui::GroupBox drive_group_{*this, "DrivesGroup"};
    ui::CheckList drive_list_{drive_group_, "DriveList"};
    ui::GroupBox key_group_{*this, "KeysGroup"};
    ui::CheckBox current_user_box_{key_group_, "CurrentUserBox"};
    ui::CheckBox local_machine_box_{key_group_, "LocalMachineBox"};
    ui::Button apply_button_{*this, "ApplyButton"};
};

}  // namespace registry
