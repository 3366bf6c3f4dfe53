#pragma once
// The page "Поиск копий файлов": the mode (all files of the area, or the
// chosen files), the editors of the duplicate search (chosen files, search
// area, exclusions, file types) and its start.
#include "search/launcher_page.h"
#include "store/data_folder.h"

namespace duplicates {

class DuplicatesPage : public search::LauncherPage {
public:
    DuplicatesPage(ui::Page& page, ui::Form& files, ui::Form& area, ui::Form& exclusions, ui::Form& types,
                   const store::DataFolder& data);

    // The page is shown: the mode that cf_all.txt keeps is selected, and the
    // chosen-files button is usable in chosen-files mode only.
    void opened();

    ui::RadioButton& area_mode_button() { return area_mode_; }
    ui::RadioButton& files_mode_button() { return files_mode_; }
    ui::Button& files_button() { return line_button(0); }
    ui::Button& area_button() { return line_button(1); }
    ui::Button& exclusions_button() { return line_button(2); }
    ui::Button& types_button() { return line_button(3); }

private:
    void area_mode_chosen();
    void files_mode_chosen();

    const store::DataFolder& data_;
    ui::RadioButton area_mode_;
    ui::RadioButton files_mode_;
};

}  // namespace duplicates
