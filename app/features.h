#pragma once
// The program's tools, one entry each, in the order of the category bar.
// Adding a tool is one entry here and a folder of its own.
#include <memory>
#include <vector>

#include "search/tool.h"

namespace app {

struct Feature {
    const char* category;  // the category bar's group
    const char* item;      // the item's caption
    const char* routine;   // the main window's routine it runs ("Temp Dirs"), "" for none
    const char* page;      // the page it shows, by name; nullptr for none
    // Makes the tool over its page (nullptr when it has none), once, at
    // start-up, with every window it opens.
    std::unique_ptr<search::Tool> (*make)(search::ToolContext& context, ui::Page* page);
};

const std::vector<Feature>& features();

}  // namespace app
