#pragma once
// The page "Поиск пустых папок": the search area and exclusions editors of
// the empty folder search, and its start.
#include "search/launcher_page.h"

namespace emptydirs {

class EmptyDirsPage : public search::LauncherPage {
public:
    EmptyDirsPage(ui::Page& page, ui::Form& area, ui::Form& exclusions);

    ui::Button& area_button() { return line_button(0); }
    ui::Button& exclusions_button() { return line_button(1); }
};

}  // namespace emptydirs
