#pragma once
// The page "Очистка истории": the system's recently-used lists with a check
// box each, "Выбрать все" and the button that clears the ticked lists.
#include "platform/platform.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace privacy {

class HistoryListsPage {
public:
    HistoryListsPage(ui::Page& page, platform::Platform& platform, const store::DataFolder& data);

    // Ticks again the lists cleared last time ("History"); ticks the user
    // set in this run stay.
    void refresh();
    void select_all();
    void clear_selected();

    ui::CheckList& lists() { return lists_; }
    ui::CheckBox& all_box() { return all_box_; }
    ui::Button& clear_button() { return clear_button_; }

private:
    ui::Form& form_;
    platform::Platform& platform_;
    const store::DataFolder& data_;
    ui::Label intro_;
    ui::CheckList lists_;
    ui::CheckBox all_box_;
    ui::Button clear_button_;
};

}  // namespace privacy
