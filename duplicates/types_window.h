#pragma once
// The window "Типы файлов": the file extensions registered with an "open"
// command, with their descriptions; the checked ones restrict the duplicate
// search to files of those types (cf_types.txt, on while cf_usetypes.txt
// exists). The registry is only read.
#include "platform/registry.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace duplicates {

class TypesWindow : public ui::Form {
public:
    TypesWindow(ui::Toolkit& toolkit, const store::DataFolder& data, platform::Registry& registry);

    ui::ListView& type_list() { return type_list_; }
    ui::CheckBox& select_all() { return select_all_; }
    ui::CheckBox& no_mask() { return no_mask_; }
    ui::Button& apply_button() { return apply_button_; }

private:
    void opened();
    void select_all_clicked();
    void apply();

    const store::DataFolder& data_;
    platform::Registry& registry_;

    ui::GroupBox group_{*this, "TypesGroup"};
    ui::ListView type_list_{group_, "TypeList"};
    ui::CheckBox select_all_{*this, "SelectAllBox"};
    ui::CheckBox no_mask_{*this, "NoMaskBox"};
    ui::Button apply_button_{*this, "ApplyButton"};
};

}  // namespace duplicates
