#pragma once
// The page "Поиск копий файлов": the editors of the duplicate search (chosen
// files, search area, exclusions, file types) and its start.
#include "search/launcher_page.h"

namespace duplicates {

class DuplicatesPage : public search::LauncherPage {
public:
    DuplicatesPage(ui::Page& page, ui::Form& area, ui::Form& exclusions);

    ui::Button& files_button() { return line_button(0); }
    ui::Button& area_button() { return line_button(1); }
    ui::Button& exclusions_button() { return line_button(2); }
    ui::Button& types_button() { return line_button(3); }
};

}  // namespace duplicates
