#pragma once
// The window "Редактирование маски": the extensions the temporary-file search
// looks for, each of which can be switched off without being deleted
// (tf_mask.txt, "#" before a disabled one), and the optional minimum age in
// days (tf_date.txt, present only while the limit is on). Extensions are kept
// in folded form.
#include "store/data_folder.h"
#include "ui/ui.h"

namespace junk {

class MaskWindow : public ui::Form {
public:
    MaskWindow(ui::Toolkit& toolkit, const store::DataFolder& data);

    ui::CheckList& mask_list() { return mask_list_; }
    ui::Edit& mask_field() { return mask_field_; }
    ui::Button& add_button() { return add_button_; }
    ui::Button& remove_button() { return remove_button_; }
    ui::CheckBox& select_all() { return select_all_; }
    ui::CheckBox& date_limit() { return date_limit_; }
    ui::Label& older_caption() { return older_caption_; }
    ui::NumberField& days() { return days_; }
    ui::Label& days_caption() { return days_caption_; }
    ui::Button& apply_button() { return apply_button_; }

private:
    void opened();
    void show_date_controls();
    void select_all_clicked();
    void add_mask();
    void remove_mask();
    void apply();

    const store::DataFolder& data_;

    ui::CheckList mask_list_{*this, "MaskList"};
    ui::Edit mask_field_{*this, "MaskEdit"};
    ui::Button add_button_{*this, "AddButton"};
    ui::Button remove_button_{*this, "RemoveButton"};
    ui::CheckBox select_all_{*this, "SelectAllBox"};
    ui::CheckBox date_limit_{*this, "DateLimitBox"};
    ui::Label older_caption_{*this, "OlderLabel"};
    ui::NumberField days_{*this, "DaysField"};
    ui::Label days_caption_{*this, "DaysLabel"};
    ui::Button apply_button_{*this, "ApplyButton"};
};

}  // namespace junk
