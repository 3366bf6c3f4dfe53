#pragma once
// What every file search's page holds: the search area and exclusions
// editors over the search's drive selection, and the start that hides the
// main window behind the result window.
#include "search/area_window.h"
#include "search/exclusions_window.h"
#include "search/tool.h"

namespace search {

struct SearchEditors {
    SearchEditors(ToolContext& context, const AreaVariant& area_variant, const ExclusionsVariant& exclusions_variant);

    DriveSelection& drives;
    AreaWindow area;
    ExclusionsWindow exclusions;
};

// "  Начать поиск": the main window hides and the result window opens
// modally; the result window shows the main window again when it closes.
void start_search(ToolContext& context, ui::Form& result_window);

}  // namespace search
