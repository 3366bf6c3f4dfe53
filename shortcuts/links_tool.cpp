#include "shortcuts/links_tool.h"

namespace shortcuts {

LinksTool::LinksTool(search::ToolContext& context, ui::Page& page)
    : data_(context.data),
      editors_(context, search::kBrokenLinksArea, search::kBrokenLinksExclusions),
      page_(page, editors_.area, editors_.exclusions) {
    // The result window comes with its own change.
    page_.start_button().set_enabled(false);
}

}  // namespace shortcuts
