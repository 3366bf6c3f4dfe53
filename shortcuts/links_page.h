#pragma once
// The page "Поиск неправильных ярлыков": the search area and exclusions
// editors of the broken shortcut search, and its start.
#include "search/launcher_page.h"

namespace shortcuts {

class LinksPage : public search::LauncherPage {
public:
    LinksPage(ui::Page& page, ui::Form& area, ui::Form& exclusions);

    ui::Button& area_button() { return line_button(0); }
    ui::Button& exclusions_button() { return line_button(1); }
};

}  // namespace shortcuts
