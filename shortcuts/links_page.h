#pragma once
// The page "Поиск неправильных ярлыков": the choice between the optimal
// settings and the user's own (kept as the marker bl_optimal.txt), the search
// area and exclusions editors, which only the own settings use, and the
// search's start.
#include "search/launcher_page.h"
#include "store/data_folder.h"

namespace shortcuts {

class LinksPage : public search::LauncherPage {
public:
    LinksPage(ui::Page& page, ui::Form& area, ui::Form& exclusions);

    // The page is shown: the radio button of the mode that bl_optimal.txt
    // names is set, which runs its click behaviour when it was not set. The
    // buttons keep writing the marker of this Data folder.
    void opened(const store::DataFolder& data);

    ui::Button& area_button() { return line_button(0); }
    ui::Button& exclusions_button() { return line_button(1); }
    ui::RadioButton& optimal_button() { return optimal_; }
    ui::RadioButton& own_button() { return own_; }

private:
    void optimal_clicked();
    void own_clicked();
    void enable_editors(bool enabled);

    ui::Page& page_;
    const store::DataFolder* data_ = nullptr;
    ui::RadioButton optimal_;
    ui::Label optimal_text_;
    ui::RadioButton own_;
};

}  // namespace shortcuts
