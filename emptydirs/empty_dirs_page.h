#pragma once
// The page "Поиск пустых папок": the search mode, the search area and
// exclusions editors of the empty folder search, and its start.
#include "search/launcher_page.h"
#include "store/data_folder.h"

namespace emptydirs {

class EmptyDirsPage : public search::LauncherPage {
public:
    // The mode buttons write the mode to the Data folder at once.
    EmptyDirsPage(ui::Page& page, ui::Form& area, ui::Form& exclusions, const store::DataFolder& data);
    // Without a Data folder the mode buttons are disabled.
    EmptyDirsPage(ui::Page& page, ui::Form& area, ui::Form& exclusions);

    // The page is shown: the button of the stored mode is set, and setting
    // it writes the mode anew.
    void opened();

    ui::RadioButton& folders_button() { return folders_; }
    ui::RadioButton& trees_button() { return trees_; }
    ui::Button& area_button() { return line_button(0); }
    ui::Button& exclusions_button() { return line_button(1); }

private:
    const store::DataFolder* data_;
    ui::RadioButton folders_, trees_;
};

}  // namespace emptydirs
