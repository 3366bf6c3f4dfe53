#pragma once
// The page "Поиск временных файлов": the search area, exclusions and mask
// editors of the temporary-file search, and its start.
#include "search/launcher_page.h"

namespace junk {

class TempFindPage : public search::LauncherPage {
public:
    TempFindPage(ui::Page& page, ui::Form& area, ui::Form& exclusions, ui::Form& mask);

    ui::Button& area_button() { return line_button(0); }
    ui::Button& exclusions_button() { return line_button(1); }
    ui::Button& mask_button() { return line_button(2); }
};

}  // namespace junk
